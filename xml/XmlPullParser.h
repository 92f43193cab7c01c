#ifndef KELVANE_XML_XMLPULLPARSER_H
#define KELVANE_XML_XMLPULLPARSER_H

#include "xml/XmlNameTable.h"
#include "xml/XmlPullParserException.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// Non-validating, byte-oriented XML reader that hands a document to its caller
// one event at a time (XmlPull event model). Bytes are characters; the five
// predefined entities and character references are expanded; a document type
// declaration is skipped and nothing is ever fetched. A UTF-8 byte-order mark
// is skipped and UTF-16 input refused. Within the byte-oriented design the
// document body must be well-formed XML (one root element, no forbidden
// characters or delimiters, names and namespaces as XML requires; non-ASCII
// bytes are not checked). Every error throws XmlPullParserException with the
// line and column reached.
class XmlPullParser {
public:
    // Event types.
    static constexpr int START_DOCUMENT = 0;
    static constexpr int END_DOCUMENT = 1;
    static constexpr int START_TAG = 2;
    static constexpr int END_TAG = 3;
    static constexpr int TEXT = 4;
    static constexpr int CDSECT = 5;
    static constexpr int ENTITY_REF = 6;
    static constexpr int IGNORABLE_WHITESPACE = 7;
    static constexpr int PROCESSING_INSTRUCTION = 8;
    static constexpr int COMMENT = 9;
    static constexpr int DOCDECL = 10;

    static constexpr const char* FEATURE_PROCESS_NAMESPACES =
        "http://xmlpull.org/v1/doc/features.html#process-namespaces";
    static constexpr const char* FEATURE_RELAXED = "http://xmlpull.org/v1/doc/features.html#relaxed";

    static constexpr const char* XML_NAMESPACE = "http://www.w3.org/XML/1998/namespace";
    static constexpr const char* XMLNS_NAMESPACE = "http://www.w3.org/2000/xmlns/";

    // Limits that keep hostile input from exhausting memory or time.
    static constexpr int MAX_DEPTH = 1024;                     // open elements
    static constexpr std::size_t MAX_TEXT_LENGTH = 32u << 20;  // bytes of one text, name or value
    static constexpr int MAX_ATTRIBUTES = 1024;                // attributes of one start tag
    static constexpr int MAX_NAMESPACES = 1024;                // namespace declarations in scope at once

    explicit XmlPullParser(std::istream& input);
    ~XmlPullParser();
    XmlPullParser(const XmlPullParser&) = delete;
    XmlPullParser& operator=(const XmlPullParser&) = delete;

    void setFeature(const std::string& feature, bool value);

    // Advancing; each returns the new event type.
    int next();
    int nextToken();
    int nextTag();
    void pushBackTag();
    int skipSubTree();
    void require(int type, const std::string& nameSpace, const std::string& name);
    // The document is read as far as it will be: the reader keeps its
    // position and its event for whoever reports against them, and lets its
    // input block go (a description that imports hundreds of documents keeps
    // a reader per document). Reading on finds the end of the input.
    void releaseInput();

    // Accessors; none advances the parser. The strings they return by
    // reference hold the current event's data and stay valid until the next event.
    int getEventType() const { return type_; }
    const std::string& getName() const { return *eventName_; }
    const std::string& getNamespace() const { return *eventNamespace_; }
    const std::string& getPrefix() const { return *eventPrefix_; }
    int getLineNumber() const { return line_; }
    int getColumnNumber() const { return column_; }
    int getDepth() const { return depth_; }
    // True on the start tag of an element written as one tag ("<a/>"): the
    // next event is its end tag.
    bool isEmptyElementTag() const { return type_ == START_TAG && degenerated_; }
    const std::string& getText() const;
    // The same text without a copy, for a caller that copies it once
    // itself; valid until the parser moves on.
    std::string_view getTextView() const;

    const std::string& getNamespace(const std::string& prefix) const;
    int getNamespaceCount(int depth) const;
    const std::string& getNamespacePrefix(int pos) const;
    const std::string& getNamespaceUri(int pos) const;

    int getAttributeCount() const { return attributeCount_; }
    const std::string& getAttributeNamespace(int index) const;
    const std::string& getAttributePrefix(int index) const;
    const std::string& getAttributeName(int index) const;
    const std::string& getAttributeValue(int index) const;
    const std::string& getAttributeValue(std::string_view nameSpace, std::string_view name) const;

    // "START_TAG" etc.; "Illegal state" for any other value.
    static std::string getEventName(int type);

private:
    // Internal event types: a construct after "<!" or "<?" not yet classified,
    // and the XML declaration (consumed, never reported).
    static constexpr int LEGACY = 999;
    static constexpr int XML_DECL = 998;

    bool hasText() const;
    [[noreturn]] void fail(const std::string& message) const;
    [[noreturn]] void failMismatch(int expected, int actual) const;
    [[noreturn]] void failControl(int c) const;

    // Character input.
    bool refill();
    void checkDocumentStart();
    int fetch();
    int peek(int pos);
    int fillPeek(int pos);
    int peekFirst();
    void unpeek();
    int read();
    void read(int expected);
    void skip();
    void skipBlanks();
    const char* takeRun(std::uint16_t stopMask, std::size_t& count);
    const char* takeValueRun(int quote, std::size_t& count);
    const char* passRun(const unsigned char* start, const unsigned char* stop, std::size_t& count);

    // Text buffer.
    void growText(std::size_t extra);
    void push(int c);
    void appendText(const char* bytes, std::size_t count);
    void appendFolded(const unsigned char* bytes, std::size_t count, bool afterCR);
    void pushBytes(const char* bytes, std::size_t count);
    void pushCodePoint(unsigned long code);

    // Grammar.
    void nextImpl();
    int peekType();
    void checkInsideRoot() const;
    std::string_view readName();
    // Blanks and line breaks from the read position, where they lie whole in
    // the source buffer up to a '<'.
    struct BlankRun {
        const unsigned char* start;
        const unsigned char* stop;       // the '<'
        const unsigned char* lineStart;  // after the last line break; nullptr for none
        int lines;
        bool peekedCR;  // a CR taken into the look-ahead opens the run
        bool folded;    // holds a CR, or begins with an LF that may follow one
    };
    bool findBlankRun(BlankRun& run) const;
    void passBlankRun(const BlankRun& run);
    bool takeBlankText();
    void skipBlanksBeforeTag();
    int pushText(int delimiter, bool resolveEntities);
    void pushEntity();
    void pushCharacterReference(const std::string& code);
    void parseStartTag(bool xmlDeclaration);
    enum class TagStep { None, Attribute, Closed };
    TagStep takeCommonTagStep();
    void parseAttribute(const std::string& tagName);
    int takeEqualsAndQuote();
    void readAttributeValue(int delimiter, std::string& value);
    void openElement();

    // Where a name's namespace is: a position on the namespace stack, or one of these.
    static constexpr int kNoNamespace = -1;
    static constexpr int kXmlNamespace = -2;
    static constexpr int kXmlnsNamespace = -3;

    // A name read from a tag: the table's shared entry, or while the table is
    // full one of the holder's own; and where its namespace stands.
    struct NameHolder {
        XmlName* interned = nullptr;
        XmlName own;
        bool split = false;  // namespaces were processed: reported by prefix and local name
        int namespacePos = kNoNamespace;
        XmlName& name() { return interned ? *interned : own; }
        const XmlName& name() const { return interned ? *interned : own; }
        const std::string& reportedName() const { return split ? name().local : name().raw; }
    };
    struct OpenElement : NameHolder {};
    struct TagAttribute : NameHolder {
        std::string value;
    };
    XmlName& takeName(NameHolder& holder);
    XmlName& holdName(NameHolder& holder, std::string_view written);
    void setEventName(const OpenElement& element);
    const std::string& namespaceAt(int pos) const
    {
        return pos >= 0 ? nspStack_[static_cast<std::size_t>(pos) * 2 + 1] : fixedNamespace(pos);
    }
    const std::string& fixedNamespace(int pos) const;
    int resolvePrefix(XmlName& name);
    int namespacePosition(const std::string& prefix) const;
    // An attribute's namespace and name, for the duplicate checks of tags with many attributes.
    using AttributeKey = std::pair<std::string_view, std::string_view>;
    struct AttributeKeyHash {
        std::size_t operator()(const AttributeKey& key) const;
    };
    using AttributeKeySet = std::unordered_set<AttributeKey, AttributeKeyHash>;

    void checkDuplicateNames() const;
    AttributeKey attributeKey(int index) const;
    bool sameAttribute(int i, int j) const;
    bool repeatsLater(int index) const;
    void processNamespaces(OpenElement& element);
    void declareNamespaces(bool& prefixedAttributes);
    void checkDeclaration(const std::string& attrName, std::size_t start, const std::string& uri) const;
    void bindNamespace(int pos);
    void closeNamespaceScope();
    void resolveAttributePrefixes(const std::string& tagName);
    void resolveTagPrefix(OpenElement& element);
    void clearEventName();
    void parseEndTag();
    bool skipOpenElementName();
    bool skipName(const std::string& name);
    int parseLegacy(bool collect);
    int parseTarget(bool collect);
    int parseXmlDeclaration();
    void parseDoctype(bool collect);
    void checkAttributeIndex(int index) const;
    void checkNamespacePosition(int pos) const;

    std::istream& input_;

    std::unique_ptr<unsigned char[]> srcBuf_;
    int srcPos_ = 0;
    int srcCount_ = 0;
    bool started_ = false;
    bool inputEnded_ = false;

    int peek_[2] = {0, 0};
    int peekCount_ = 0;
    bool wasCR_ = false;

    int line_ = 1;
    int column_ = 0;
    int type_ = START_DOCUMENT;

    std::unique_ptr<char[]> txtBuf_;
    std::size_t txtCap_ = 0;
    std::size_t txtPos_ = 0;
    bool isWhitespace_ = true;
    // The text buffer as a string, made on the first getText of an event.
    mutable std::string text_;
    mutable bool textReady_ = false;

    // Name, namespace and prefix of the current event: the strings of its
    // element-stack entry for tags, else the name as written (an end tag in
    // relaxed mode, an entity reference) and no namespace or prefix.
    const std::string* eventName_ = &name_;
    const std::string* eventNamespace_ = &none_;
    const std::string* eventPrefix_ = &none_;
    std::string name_;
    const std::string none_;

    int depth_ = 0;
    XmlNameTable names_;
    std::vector<OpenElement> elements_;
    std::vector<int> nspCounts_;
    std::vector<std::string> nspStack_;
    // The innermost declaration in scope of each prefix, and for each
    // declaration the one of the same prefix it hides (-1 for none), so that a
    // look-up costs the same however many declarations are in scope.
    std::unordered_map<std::string, int> nspIndex_;
    std::vector<int> nspHidden_;
    // Numbers the declarations in scope: changes whenever one enters or leaves
    // it, so that a name's resolved namespace is kept while it stays the same.
    std::uint64_t scopeVersion_ = 1;
    std::vector<TagAttribute> attributes_;
    mutable AttributeKeySet attributeKeys_;  // of the current tag, while its duplicates are sought
    int attributeCount_ = -1;

    bool processNsp_ = false;
    bool relaxed_ = false;
    bool degenerated_ = false;
    bool token_ = false;
    bool unresolved_ = false;
    bool pushedBack_ = false;
    bool rootSeen_ = false;
    bool doctypeSeen_ = false;

    std::string version_;
    std::string encoding_;
    bool standalone_ = false;
};

// Folds the digits of text (radix 10 or 16) into an int. An empty text gives
// -1. A leading '+' or '-' is honoured. In radix 16 every character that is
// not a hexadecimal digit is skipped ("x1" gives 1, "1F" 31); in radix 10 any
// other non-digit, a text without digits, and in both radixes a value outside
// the range of int throw XmlPullParserException (state empty, line and column 0).
int parseInt(const std::string& text, int radix = 10);

#endif
