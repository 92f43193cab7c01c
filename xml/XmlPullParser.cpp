#include "xml/XmlPullParser.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kSourceSize = 8192;
constexpr std::size_t kInitialTextSize = 256;

// Character classes for the scanners that take whole runs of bytes straight
// from the source buffer. A run always stops at CR and LF so that line
// counting and CR/LF folding stay in the one-character path.
enum : std::uint16_t {
    kTextStop = 1 << 0,     // content text
    kDQuoteStop = 1 << 1,   // attribute value in double quotes
    kSQuoteStop = 1 << 2,   // attribute value in single quotes
    kNameChar = 1 << 3,
    kNameStart = 1 << 4,
    kCommentStop = 1 << 5,
    kCDataStop = 1 << 6,
    kPIStop = 1 << 7,
    kDoctypeStop = 1 << 8,
    kNameStop = 1 << 9,     // anything but a name character
    kBlankStop = 1 << 10,   // anything skip() stops at, and CR and LF
    kEntityStop = 1 << 11,  // the end of an entity name, or a reason to look closer
};

constexpr bool isForbiddenControl(int c)
{
    return c >= 0 && c < ' ' && c != '\t' && c != '\n' && c != '\r';
}

constexpr std::array<std::uint16_t, 256> makeClasses()
{
    std::array<std::uint16_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        std::uint16_t bits = 0;
        bool lineBreak = c == '\r' || c == '\n';
        bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (lineBreak || c == '&' || c == 0) {
            bits |= kTextStop | kDQuoteStop | kSQuoteStop;
        }
        // "]]>" may not appear in text; a tab in a value reads as a space.
        if (c == ']' || c == '>') {
            bits |= kTextStop;
        }
        if (c == '\t') {
            bits |= kDQuoteStop | kSQuoteStop;
        }
        if (c == '<') {
            bits |= kTextStop | kDoctypeStop | kDQuoteStop | kSQuoteStop;
        }
        if (c == '"') {
            bits |= kDQuoteStop | kDoctypeStop;
        }
        if (c == '\'') {
            bits |= kSQuoteStop | kDoctypeStop;
        }
        if (c == '-' || c == '?') {
            bits |= kDoctypeStop;
        }
        if (alpha || c == '_' || c == ':' || c >= 192) {
            bits |= kNameStart;
        }
        // Every byte of a multi-byte UTF-8 character may continue a name; its
        // trailing bytes lie in 0x80-0xBF.
        if (alpha || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == ':' || c == '.' || c >= 0x80) {
            bits |= kNameChar;
        }
        if (c > ' ' || lineBreak) {
            bits |= kBlankStop;
        }
        if (!(bits & kNameChar)) {
            bits |= kNameStop;
        }
        if (lineBreak) {
            bits |= kCommentStop | kCDataStop | kPIStop | kDoctypeStop;
        }
        if (c == '-') {
            bits |= kCommentStop;
        }
        if (c == ']' || c == 0) {
            bits |= kCDataStop;
        }
        if (c == '?') {
            bits |= kPIStop;
        }
        if (c == '>') {
            bits |= kDoctypeStop;
        }
        if (c == ';' || c == '&' || c == '<' || c <= ' ') {
            bits |= kEntityStop;
        }
        // Control characters XML forbids stop every run; read() refuses them.
        if (isForbiddenControl(c)) {
            bits = static_cast<std::uint16_t>(bits | kTextStop | kDQuoteStop | kSQuoteStop | kCommentStop |
                                              kCDataStop | kPIStop | kDoctypeStop | kBlankStop | kEntityStop);
        }
        t[c] = bits;
    }
    return t;
}

constexpr std::array<std::uint16_t, 256> kClass = makeClasses();

bool hasClass(int c, std::uint16_t mask)
{
    return c >= 0 && (kClass[c] & mask) != 0;
}

bool isName(const char* s, std::size_t length)
{
    if (length == 0 || !hasClass(static_cast<unsigned char>(s[0]), kNameStart)) {
        return false;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!hasClass(static_cast<unsigned char>(s[i]), kNameChar)) {
            return false;
        }
    }
    return true;
}

// With its first colon at cut, a name is prefix:local with neither part empty
// and no second colon.
bool isQualifiedName(const std::string& name, std::size_t cut)
{
    return cut == std::string::npos || (cut + 1 < name.size() && name.find(':', cut + 1) == std::string::npos);
}

// "1." followed by digits.
bool isVersionNumber(const std::string& s)
{
    return s.size() > 2 && s[0] == '1' && s[1] == '.' &&
           s.find_first_not_of("0123456789", 2) == std::string::npos;
}

// A letter, then letters, digits, '.', '_' and '-'.
bool isEncodingName(const std::string& s)
{
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (s.empty() || !letter(s[0])) {
        return false;
    }
    return std::all_of(s.begin() + 1, s.end(), [&](char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    });
}

bool hasPrefix(const std::string& s, const char* literal, std::size_t length)
{
    return s.size() >= length && std::memcmp(s.data(), literal, length) == 0;
}

// Replaces the contents of s, reusing its storage; cheaper than assign(),
// which must allow for the source lying inside s.
inline void setBytes(std::string& s, const char* bytes, std::size_t count)
{
    s.clear();
    s.append(bytes, count);
}

// Up to these many, the attributes of one tag are compared pairwise and the
// namespace declarations in scope scanned; beyond, both are hashed.
constexpr int kPairwiseAttributes = 16;
constexpr int kScannedNamespaces = 16;

std::string charText(int c)
{
    return std::string(1, static_cast<char>(c));
}

// Replacement of the five predefined entities; 0 for any other name.
char predefinedEntity(const char* name, std::size_t length)
{
    static const struct {
        const char* name;
        std::size_t length;
        char text;
    } kEntities[] = {{"apos", 4, '\''}, {"gt", 2, '>'}, {"lt", 2, '<'}, {"quot", 4, '"'}, {"amp", 3, '&'}};
    for (const auto& entity : kEntities) {
        if (entity.length == length && std::memcmp(entity.name, name, length) == 0) {
            return entity.text;
        }
    }
    return 0;
}

int digitValue(char c, int radix)
{
    int d = 36;
    if (c >= '0' && c <= '9') {
        d = c - '0';
    } else if (c >= 'a' && c <= 'z') {
        d = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'Z') {
        d = c - 'A' + 10;
    }
    return d < radix ? d : -1;
}

[[noreturn]] void numberError(const std::string& what, const std::string& text)
{
    throw XmlPullParserException(what + text, "", 0, 0);
}

} // namespace

// Out of range is an error rather than a silently wrong number.
int parseInt(const std::string& text, int radix)
{
    if (text.empty()) {
        return -1;
    }
    std::size_t i = 0;
    bool negative = false;
    if (text[0] == '-' || text[0] == '+') {
        negative = text[0] == '-';
        i = 1;
    }
    long long value = 0;
    bool anyDigit = false;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < text.size(); ++i) {
        int d = digitValue(text[i], radix);
        if (d < 0) {
            if (radix == 16) {
                continue;
            }
            numberError("invalid number: ", text);
        }
        value = value * radix + d;
        anyDigit = true;
        if (value > limit) {
            numberError("number out of range: ", text);
        }
    }
    if (!anyDigit && radix != 16) {
        numberError("invalid number: ", text);
    }
    return static_cast<int>(negative ? -value : value);
}

XmlPullParser::XmlPullParser(std::istream& input)
    : input_(input), srcBuf_(std::make_unique<unsigned char[]>(kSourceSize)),
      txtBuf_(std::make_unique<char[]>(kInitialTextSize)), txtCap_(kInitialTextSize), elementStack_(16),
      nspCounts_(8, 0), nspStack_(16), attributes_(16)
{
}

XmlPullParser::~XmlPullParser() = default;

std::string XmlPullParser::getEventName(int type)
{
    static const char* const kNames[] = {"START_DOCUMENT", "END_DOCUMENT", "START_TAG", "END_TAG",
                                         "TEXT", "CDSECT", "ENTITY_REF", "IGNORABLE_WHITESPACE",
                                         "PROCESSING_INSTRUCTION", "COMMENT", "DOCDECL"};
    if (type < START_DOCUMENT || type > DOCDECL) {
        return "Illegal state";
    }
    return kNames[type];
}

void XmlPullParser::fail(const std::string& message) const
{
    throw XmlPullParserException(message, getEventName(type_), line_, column_);
}

void XmlPullParser::setFeature(const std::string& feature, bool value)
{
    const std::string processNamespaces = FEATURE_PROCESS_NAMESPACES;
    if (feature == processNamespaces) {
        processNsp_ = value;
    } else if (feature.size() >= 40 && feature.compare(0, 26, processNamespaces, 0, 26) == 0 &&
               feature.compare(40, std::string::npos, "relaxed") == 0) {
        relaxed_ = value;
    } else {
        fail("unsupported feature: " + feature);
    }
}

// ---------------------------------------------------------------------------
// Character input

// One read of whatever the stream buffer delivers, up to a block; a short read
// is not the end of input, an empty one is.
bool XmlPullParser::refill()
{
    if (!started_) {
        checkDocumentStart();
        if (srcPos_ < srcCount_) {
            return true;
        }
    }
    srcPos_ = 0;
    srcCount_ = 0;
    if (inputEnded_) {
        return false;
    }
    std::streambuf* source = input_ ? input_.rdbuf() : nullptr;
    std::streamsize n = source ? source->sgetn(reinterpret_cast<char*>(srcBuf_.get()), kSourceSize) : 0;
    if (n <= 0) {
        inputEnded_ = true;
        return false;
    }
    srcCount_ = static_cast<int>(n);
    return true;
}

// A UTF-8 byte-order mark is skipped; a UTF-16 one is refused, because reading
// such a document byte by byte would only produce misleading errors.
void XmlPullParser::checkDocumentStart()
{
    started_ = true;
    std::streambuf* source = input_ ? input_.rdbuf() : nullptr;
    while (srcCount_ < 3 && !inputEnded_) {
        std::streamsize n =
            source ? source->sgetn(reinterpret_cast<char*>(srcBuf_.get()) + srcCount_, kSourceSize - srcCount_) : 0;
        if (n <= 0) {
            inputEnded_ = true;
        } else {
            srcCount_ += static_cast<int>(n);
        }
    }
    const unsigned char* b = srcBuf_.get();
    if (srcCount_ >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        srcPos_ = 3;
    } else if (srcCount_ >= 2 && ((b[0] == 0xFE && b[1] == 0xFF) || (b[0] == 0xFF && b[1] == 0xFE))) {
        fail("UTF-16 input is not supported");
    }
}

inline int XmlPullParser::fetch()
{
    if (srcPos_ < srcCount_ || refill()) {
        return srcBuf_[srcPos_++];
    }
    return -1;
}

inline int XmlPullParser::peek(int pos)
{
    return pos < peekCount_ ? peek_[pos] : fillPeek(pos);
}

// Same as peek(0), but leaves a plain character in the source buffer where
// the run scanners can still take it.
inline int XmlPullParser::peekFirst()
{
    if (peekCount_ == 0 && srcPos_ < srcCount_) {
        int b = srcBuf_[srcPos_];
        if (b != '\r' && (b != '\n' || !wasCR_)) {
            return b;
        }
    }
    return peek(0);
}

// Fills the look-ahead up to pos + 1 characters. CR is delivered as LF and an
// LF right after a CR is dropped.
int XmlPullParser::fillPeek(int pos)
{
    while (pos >= peekCount_) {
        int nw = fetch();
        if (nw == '\r') {
            wasCR_ = true;
            peek_[peekCount_++] = '\n';
        } else {
            if (nw != '\n' || !wasCR_) {
                peek_[peekCount_++] = nw;
            }
            wasCR_ = false;
        }
    }
    return peek_[pos];
}

// Gives a single plain look-ahead character back to the source buffer, so
// that the run scanners can take it along with what follows. It is always the
// byte just before the read position: the last one fetched.
inline void XmlPullParser::unpeek()
{
    if (peekCount_ == 1 && peek_[0] > 0 && peek_[0] != '\n' && srcPos_ > 0) {
        --srcPos_;
        peekCount_ = 0;
    }
}

inline int XmlPullParser::read()
{
    int r;
    if (peekCount_ > 0) {
        r = peek_[0];
        peek_[0] = peek_[1];
        --peekCount_;
    } else if (srcPos_ < srcCount_ && srcBuf_[srcPos_] != '\r' && (srcBuf_[srcPos_] != '\n' || !wasCR_)) {
        r = srcBuf_[srcPos_++];
        wasCR_ = false;
    } else {
        r = peek(0);
        peekCount_ = 0;
    }
    if (r == '\n') {
        ++line_;
        column_ = 1;
    } else {
        ++column_;
        if (isForbiddenControl(r)) {
            failControl(r);
        }
    }
    return r;
}

void XmlPullParser::failControl(int c) const
{
    static const char kHex[] = "0123456789ABCDEF";
    if (c == 0) {
        fail("illegal NUL character");
    }
    fail(std::string("illegal control character: #x") + kHex[c >> 4] + kHex[c & 15]);
}

inline void XmlPullParser::read(int expected)
{
    int actual = read();
    if (actual != expected) {
        failMismatch(expected, actual);
    }
}

void XmlPullParser::failMismatch(int expected, int actual) const
{
    if (actual == -1) {
        fail("Unexpected EOF");
    }
    fail("expected: '" + charText(expected) + "' actual: '" + charText(actual) + "'");
}

// Consumes the longest run of bytes at the read position of the source buffer
// that holds none of the stop classes. Only valid with an empty look-ahead.
inline const char* XmlPullParser::takeRun(std::uint16_t stopMask, std::size_t& count)
{
    const unsigned char* start = srcBuf_.get() + srcPos_;
    const unsigned char* end = srcBuf_.get() + srcCount_;
    const unsigned char* p = start;
    while (end - p >= 4) {
        if (kClass[p[0]] & stopMask) {
            break;
        }
        if (kClass[p[1]] & stopMask) {
            p += 1;
            break;
        }
        if (kClass[p[2]] & stopMask) {
            p += 2;
            break;
        }
        if (kClass[p[3]] & stopMask) {
            p += 3;
            break;
        }
        p += 4;
    }
    if (end - p < 4) {
        while (p < end && !(kClass[*p] & stopMask)) {
            ++p;
        }
    }
    count = static_cast<std::size_t>(p - start);
    if (count > 0) {
        srcPos_ += static_cast<int>(count);
        column_ += static_cast<int>(count);
        wasCR_ = false;
    }
    return reinterpret_cast<const char*>(start);
}

inline void XmlPullParser::skip()
{
    // Usually there is nothing, or a single space, to skip.
    if (peekCount_ == 0 && srcPos_ < srcCount_) {
        int b = srcBuf_[srcPos_];
        if (b > ' ') {
            return;
        }
        if (b == ' ' && srcPos_ + 1 < srcCount_ && srcBuf_[srcPos_ + 1] > ' ') {
            ++srcPos_;
            ++column_;
            wasCR_ = false;
            return;
        }
    }
    skipBlanks();
}

void XmlPullParser::skipBlanks()
{
    for (;;) {
        if (peekCount_ == 0) {
            std::size_t n;
            takeRun(kBlankStop, n);
        }
        int c = peekFirst();
        if (c == -1 || c > ' ') {
            return;
        }
        read();
    }
}

// ---------------------------------------------------------------------------
// Text buffer

// Grows as if byte by byte: whenever the length reaches capacity - 1 the
// capacity becomes length * 4 / 3 + 4.
void XmlPullParser::growText(std::size_t extra)
{
    if (txtPos_ + extra > MAX_TEXT_LENGTH) {
        fail("text longer than " + std::to_string(MAX_TEXT_LENGTH) + " bytes");
    }
    std::size_t cap = txtCap_;
    while (txtPos_ + extra >= cap) {
        cap = (cap - 1) * 4 / 3 + 4;
    }
    cap = std::min(cap, MAX_TEXT_LENGTH + 1);
    auto bigger = std::make_unique<char[]>(cap);
    std::memcpy(bigger.get(), txtBuf_.get(), txtPos_);
    txtBuf_ = std::move(bigger);
    txtCap_ = cap;
}

inline void XmlPullParser::push(int c)
{
    if (txtPos_ + 1 >= txtCap_) {
        growText(1);
    }
    txtBuf_[txtPos_++] = static_cast<char>(c);
    txtBuf_[txtPos_] = 0;
    if (c > ' ') {
        isWhitespace_ = false;
    }
}

inline void XmlPullParser::pushBytes(const char* bytes, std::size_t count)
{
    if (txtPos_ + count >= txtCap_) {
        growText(count);
    }
    std::memcpy(txtBuf_.get() + txtPos_, bytes, count);
    txtPos_ += count;
    txtBuf_[txtPos_] = 0;
    if (isWhitespace_) {
        for (std::size_t i = 0; i < count; ++i) {
            if (static_cast<unsigned char>(bytes[i]) > ' ') {
                isWhitespace_ = false;
                break;
            }
        }
    }
}

void XmlPullParser::pushCodePoint(unsigned long code)
{
    char utf8[4];
    std::size_t n;
    if (code < 0x80) {
        utf8[0] = static_cast<char>(code);
        n = 1;
    } else if (code < 0x800) {
        utf8[0] = static_cast<char>(0xC0 | (code >> 6));
        utf8[1] = static_cast<char>(0x80 | (code & 0x3F));
        n = 2;
    } else if (code < 0x10000) {
        utf8[0] = static_cast<char>(0xE0 | (code >> 12));
        utf8[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        utf8[2] = static_cast<char>(0x80 | (code & 0x3F));
        n = 3;
    } else {
        utf8[0] = static_cast<char>(0xF0 | (code >> 18));
        utf8[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        utf8[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        utf8[3] = static_cast<char>(0x80 | (code & 0x3F));
        n = 4;
    }
    pushBytes(utf8, n);
}

const std::string& XmlPullParser::getText() const
{
    if (type_ < TEXT || (type_ == ENTITY_REF && unresolved_)) {
        return none_;
    }
    if (!textReady_) {
        text_.assign(txtBuf_.get(), txtPos_);
        textReady_ = true;
    }
    return text_;
}

// ---------------------------------------------------------------------------
// Advancing

int XmlPullParser::next()
{
    textReady_ = false;
    txtPos_ = 0;
    isWhitespace_ = true;
    token_ = false;
    int minType = INT_MAX;
    do {
        nextImpl();
        minType = std::min(minType, type_);
    } while (minType > ENTITY_REF || (minType >= TEXT && peekType() >= TEXT));
    type_ = std::min(minType, static_cast<int>(TEXT));
    return type_;
}

int XmlPullParser::nextToken()
{
    textReady_ = false;
    isWhitespace_ = true;
    txtPos_ = 0;
    token_ = true;
    nextImpl();
    return type_;
}

int XmlPullParser::nextTag()
{
    if (pushedBack_) {
        pushedBack_ = false;
        return type_;
    }
    next();
    if (type_ == TEXT && isWhitespace_) {
        next();
    }
    if (type_ != END_TAG && type_ != START_TAG && type_ != END_DOCUMENT) {
        fail("unexpected type");
    }
    return type_;
}

void XmlPullParser::pushBackTag()
{
    pushedBack_ = true;
}

int XmlPullParser::skipSubTree()
{
    require(START_TAG, "", "");
    int level = 1;
    while (level > 0 && type_ != END_DOCUMENT) {
        int event = next();
        if (event == END_TAG) {
            --level;
        } else if (event == START_TAG) {
            ++level;
        }
    }
    return type_;
}

void XmlPullParser::require(int type, const std::string& nameSpace, const std::string& name)
{
    if (type != type_ || (!nameSpace.empty() && nameSpace != *eventNamespace_) ||
        (!name.empty() && name != *eventName_)) {
        fail("expected: " + getEventName(type) + " {" + nameSpace + "}" + name);
    }
}

int XmlPullParser::peekType()
{
    switch (peekFirst()) {
    case -1:
        return END_DOCUMENT;
    case '&':
        return ENTITY_REF;
    case '<':
        // Behind a '<' in the source buffer, CR and LF are plain line breaks.
        switch (peekCount_ == 0 && srcPos_ + 1 < srcCount_ ? srcBuf_[srcPos_ + 1] : peek(1)) {
        case '/':
            return END_TAG;
        case '?':
        case '!':
            return LEGACY;
        default:
            return START_TAG;
        }
    default:
        return TEXT;
    }
}

void XmlPullParser::nextImpl()
{
    // Relaxed mode may report an end tag at depth 0; the depth never goes below it.
    if (type_ == END_TAG && depth_ > 0) {
        --depth_;
        closeNamespaceScope();
    }
    for (;;) {
        attributeCount_ = -1;
        if (degenerated_) {
            degenerated_ = false;
            type_ = END_TAG;
            return;
        }
        clearEventName();
        type_ = peekType();
        switch (type_) {
        case END_DOCUMENT:
            // A cut-off document must not pass for a complete one.
            if (depth_ > 0 && !relaxed_) {
                fail("Unexpected EOF");
            }
            if (!rootSeen_ && !relaxed_) {
                fail("no root element");
            }
            return;
        case START_TAG:
            if (depth_ == 0) {
                if (rootSeen_ && !relaxed_) {
                    fail("only one root element allowed");
                }
                rootSeen_ = true;
            }
            parseStartTag(false);
            return;
        case END_TAG:
            parseEndTag();
            return;
        case ENTITY_REF:
            pushEntity();
            checkInsideRoot();
            return;
        case TEXT:
            pushText('<', !token_);
            if (depth_ == 0) {
                if (isWhitespace_) {
                    type_ = IGNORABLE_WHITESPACE;
                } else {
                    checkInsideRoot();
                }
            }
            return;
        default:
            type_ = parseLegacy(token_);
            if (type_ == CDSECT) {
                checkInsideRoot();
            }
            if (type_ != XML_DECL) {
                return;
            }
        }
    }
}

void XmlPullParser::clearEventName()
{
    name_.clear();
    eventName_ = &name_;
    eventNamespace_ = &none_;
    eventPrefix_ = &none_;
}

// Content outside the root element means the input is not an XML document.
void XmlPullParser::checkInsideRoot() const
{
    if (depth_ == 0 && !relaxed_) {
        fail("text not allowed outside root element");
    }
}

// ---------------------------------------------------------------------------
// Names, text and entities

void XmlPullParser::readName(std::string& out)
{
    unpeek();
    std::size_t pos = txtPos_;
    if (peekCount_ == 0 && srcPos_ < srcCount_ && hasClass(srcBuf_[srcPos_], kNameStart)) {
        std::size_t n;
        const char* run = takeRun(kNameStop, n);
        isWhitespace_ = false;
        if (srcPos_ < srcCount_) {
            // The whole name lay in the source buffer.
            setBytes(out, run, n);
            return;
        }
        pushBytes(run, n);
    } else {
        int c = peek(0);
        if (c == -1) {
            fail("Unexpected EOF");
        }
        if (!hasClass(c, kNameStart)) {
            fail("name expected");
        }
    }
    for (;;) {
        if (peekCount_ == 0) {
            std::size_t n;
            const char* run = takeRun(kNameStop, n);
            pushBytes(run, n);
        }
        if (!hasClass(peekFirst(), kNameChar)) {
            break;
        }
        push(read());
    }
    setBytes(out, txtBuf_.get() + pos, txtPos_ - pos);
    txtPos_ = pos;
}

// Appends characters up to the delimiter (a space also stops at any control
// character and at '>'); returns the character ahead.
int XmlPullParser::pushText(int delimiter, bool resolveEntities)
{
    std::uint16_t stop = delimiter == '<' ? kTextStop : delimiter == '"' ? kDQuoteStop
                                                    : delimiter == '\'' ? kSQuoteStop : 0;
    if (stop != 0) {
        unpeek();
    }
    const bool quoted = delimiter == '"' || delimiter == '\'';
    int brackets = 0; // ']' just read in a row, for spotting "]]>" in text
    for (;;) {
        if (peekCount_ == 0 && stop != 0) {
            std::size_t n;
            const char* run = takeRun(stop, n);
            if (n > 0) {
                pushBytes(run, n);
                brackets = 0;
            }
        }
        int next = peekFirst();
        if (next == -1 || next == delimiter || (delimiter == ' ' && (next <= ' ' || next == '>'))) {
            return next;
        }
        if (next == '&') {
            if (!resolveEntities) {
                return next;
            }
            pushEntity();
        } else if ((next == '\n' || next == '\t') && type_ == START_TAG) {
            read(); // attribute values read line breaks and tabs as spaces
            push(' ');
        } else if (isForbiddenControl(next)) {
            failControl(next);
        } else if (next == '<' && quoted) {
            fail("'<' not allowed in attribute value");
        } else if (next == '>' && brackets >= 2 && delimiter == '<') {
            fail("']]>' not allowed in text");
        } else {
            push(read());
            brackets = next == ']' ? brackets + 1 : 0;
            continue;
        }
        brackets = 0;
    }
}

void XmlPullParser::pushEntity()
{
    read(); // '&'
    std::size_t pos = txtPos_;
    if (peekCount_ == 0) {
        std::size_t n;
        const char* run = takeRun(kEntityStop, n);
        pushBytes(run, n);
    }
    const bool named = txtPos_ == pos ? peekFirst() != '#' : txtBuf_[pos] != '#';
    for (;;) {
        int c = read();
        if (c == ';') {
            break;
        }
        if (relaxed_ && (c == '<' || c == '&' || c <= ' ')) {
            if (c != -1) {
                push(c);
            }
            return;
        }
        if (c == -1) {
            fail("Unexpected EOF");
        }
        if (named && (c == '<' || c == '&' || c <= ' ')) {
            fail("unterminated entity reference: &" + std::string(txtBuf_.get() + pos, txtPos_ - pos));
        }
        push(c);
    }
    const char* code = txtBuf_.get() + pos;
    std::size_t length = txtPos_ - pos;
    txtPos_ = pos;
    if (token_ && type_ == ENTITY_REF) {
        name_.assign(code, length);
    }
    if (!named) {
        pushCharacterReference(std::string(code, length));
        unresolved_ = false;
        return;
    }
    if (!relaxed_ && !isName(code, length)) {
        fail("illegal entity name: &" + std::string(code, length) + ";");
    }
    char replacement = predefinedEntity(code, length);
    unresolved_ = replacement == 0;
    if (!unresolved_) {
        push(replacement);
    } else if (!token_ || type_ != ENTITY_REF) {
        // Only an entity reference event can carry a reference unexpanded;
        // in an attribute value it would be lost.
        fail("unresolved: &" + std::string(code, length) + ";");
    }
}

// "#x" + hexadecimal or "#" + decimal digits, nothing else; the character is
// written as UTF-8. Characters XML forbids (controls but tab and line ends,
// surrogates, U+FFFE, U+FFFF) and values beyond Unicode are refused.
void XmlPullParser::pushCharacterReference(const std::string& code)
{
    bool hex = code.size() > 1 && code[1] == 'x';
    int radix = hex ? 16 : 10;
    std::size_t start = hex ? 2 : 1;
    unsigned long value = 0;
    bool valid = code.size() > start;
    for (std::size_t i = start; valid && i < code.size(); ++i) {
        int d = digitValue(code[i], radix);
        valid = d >= 0;
        value = value * radix + static_cast<unsigned long>(std::max(d, 0));
        valid = valid && value <= 0x10FFFF;
    }
    const bool control = value < 0x20 && value != '\t' && value != '\n' && value != '\r';
    if (!valid || control || (value >= 0xD800 && value <= 0xDFFF) || value == 0xFFFE || value == 0xFFFF) {
        fail("invalid character reference: &" + code + ";");
    }
    pushCodePoint(value);
}

// ---------------------------------------------------------------------------
// Tags

// The names of a start tag go straight into the element-stack entry it opens.
void XmlPullParser::parseStartTag(bool xmlDeclaration)
{
    std::size_t sp = static_cast<std::size_t>(depth_) * 4;
    if (!xmlDeclaration) {
        read(); // '<'
        if (elementStack_.size() <= sp + 4) {
            elementStack_.resize(sp + 20);
        }
    }
    std::string& rawName = xmlDeclaration ? name_ : elementStack_[sp + 3];
    readName(rawName);
    eventName_ = &rawName;
    attributeCount_ = 0;
    for (;;) {
        int c = peekFirst();
        const bool separated = c >= 0 && c <= ' ';
        skip();
        c = peekFirst();
        if (xmlDeclaration) {
            if (c == '?') {
                read();
                read('>');
                return;
            }
        } else if (c == '/') {
            degenerated_ = true;
            read();
            read('>');
            break;
        } else if (c == '>') {
            read();
            break;
        }
        if (c == -1) {
            fail("Unexpected EOF");
        }
        if (!separated && attributeCount_ > 0) {
            fail("whitespace expected between attributes");
        }
        parseAttribute(rawName);
    }
    openElement();
    checkDuplicateNames();
    std::string& nameSpace = elementStack_[sp];
    std::string& prefix = elementStack_[sp + 1];
    std::string& localName = elementStack_[sp + 2];
    if (processNsp_) {
        processNamespaces(rawName, nameSpace, prefix, localName);
    } else {
        nameSpace.clear();
        prefix.clear();
        localName = rawName;
    }
    eventNamespace_ = &nameSpace;
    eventPrefix_ = &prefix;
    eventName_ = &localName;
}

void XmlPullParser::parseAttribute(const std::string& tagName)
{
    if (attributeCount_ >= MAX_ATTRIBUTES) {
        fail("more than " + std::to_string(MAX_ATTRIBUTES) + " attributes");
    }
    std::size_t i = static_cast<std::size_t>(attributeCount_) * 4;
    if (attributes_.size() <= i + 4) {
        attributes_.resize(i + 20);
    }
    readName(attributes_[i + 2]);
    attributes_[i].clear();
    attributes_[i + 1].clear();
    skip();
    read('=');
    skip();
    int delimiter = peekFirst();
    if (delimiter == -1) {
        fail("Unexpected EOF");
    }
    if (delimiter != '\'' && delimiter != '"') {
        if (!relaxed_) {
            fail("<" + tagName + ">: invalid delimiter: " + charText(delimiter));
        }
        delimiter = ' ';
    } else {
        read();
    }
    ++attributeCount_;
    std::size_t pos = txtPos_;
    pushText(delimiter, true);
    setBytes(attributes_[i + 3], txtBuf_.get() + pos, txtPos_ - pos);
    txtPos_ = pos;
    if (delimiter != ' ') {
        read(delimiter);
    }
}

// Raises the depth; the entry's strings were filled while the tag was read.
void XmlPullParser::openElement()
{
    if (depth_ >= MAX_DEPTH) {
        fail("elements nested deeper than " + std::to_string(MAX_DEPTH));
    }
    ++depth_;
    if (nspCounts_.size() <= static_cast<std::size_t>(depth_)) {
        nspCounts_.resize(nspCounts_.size() + 4, 0);
    }
    nspCounts_[depth_] = nspCounts_[depth_ - 1];
}

// Reports the last attribute that repeats an earlier name as written (no
// namespace is known yet).
void XmlPullParser::checkDuplicateNames() const
{
    int duplicate = -1;
    if (attributeCount_ <= kPairwiseAttributes) {
        for (int i = attributeCount_ - 1; i > 0 && duplicate < 0; --i) {
            for (int j = 0; j < i && duplicate < 0; ++j) {
                if (sameAttribute(i, j)) {
                    duplicate = i;
                }
            }
        }
    } else {
        attributeKeys_.clear();
        for (int i = 0; i < attributeCount_; ++i) {
            if (!attributeKeys_.insert(attributeKey(i)).second) {
                duplicate = i;
            }
        }
    }
    if (duplicate >= 0) {
        fail("Duplicate Attribute: " + attributes_[static_cast<std::size_t>(duplicate) * 4 + 2]);
    }
}

std::size_t XmlPullParser::AttributeKeyHash::operator()(const AttributeKey& key) const
{
    const std::size_t first = std::hash<std::string_view>()(key.first);
    return first ^ (std::hash<std::string_view>()(key.second) + 0x9e3779b9 + (first << 6) + (first >> 2));
}

XmlPullParser::AttributeKey XmlPullParser::attributeKey(int index) const
{
    const std::size_t at = static_cast<std::size_t>(index) * 4;
    return AttributeKey(attributes_[at], attributes_[at + 2]);
}

bool XmlPullParser::sameAttribute(int i, int j) const
{
    const std::size_t a = static_cast<std::size_t>(i) * 4;
    const std::size_t b = static_cast<std::size_t>(j) * 4;
    return attributes_[a + 2] == attributes_[b + 2] && attributes_[a] == attributes_[b];
}

bool XmlPullParser::repeatsLater(int index) const
{
    for (int j = attributeCount_ - 1; j > index; --j) {
        if (sameAttribute(index, j)) {
            return true;
        }
    }
    return false;
}

void XmlPullParser::processNamespaces(const std::string& rawName, std::string& nameSpace, std::string& prefix,
                                      std::string& localName)
{
    bool prefixedAttributes = false;
    declareNamespaces(prefixedAttributes);
    if (prefixedAttributes) {
        resolveAttributePrefixes();
    }
    resolveTagPrefix(rawName, nameSpace, prefix, localName);
}

// Moves the xmlns attributes of the start tag onto the namespace stack; the
// others close up in one pass, keeping their order.
void XmlPullParser::declareNamespaces(bool& prefixedAttributes)
{
    int kept = 0;
    for (int i = 0; i < attributeCount_; ++i) {
        const auto attribute = attributes_.begin() + static_cast<std::ptrdiff_t>(i) * 4;
        const std::string& attrName = attribute[2];
        std::size_t cut = attrName.find(':');
        bool declaresDefault = cut == std::string::npos && attrName.size() == 5 && hasPrefix(attrName, "xmlns", 5);
        bool declaresPrefix = cut == 5 && hasPrefix(attrName, "xmlns", 5);
        if (!declaresDefault && !declaresPrefix) {
            prefixedAttributes = prefixedAttributes || cut != std::string::npos;
            if (kept != i) {
                std::swap_ranges(attribute, attribute + 4, attributes_.begin() + static_cast<std::ptrdiff_t>(kept) * 4);
            }
            ++kept;
            continue;
        }
        if (declaresPrefix && attribute[3].empty()) {
            fail("illegal empty namespace");
        }
        checkDeclaration(attrName, declaresDefault ? std::string::npos : cut + 1, attribute[3]);
        const int pos = nspCounts_[depth_];
        if (pos >= MAX_NAMESPACES) {
            fail("more than " + std::to_string(MAX_NAMESPACES) + " namespace declarations in scope");
        }
        std::size_t k = static_cast<std::size_t>(pos) * 2;
        if (nspStack_.size() <= k + 2) {
            nspStack_.resize(k + 18);
        }
        if (declaresDefault) {
            nspStack_[k].clear();
        } else {
            nspStack_[k].assign(attrName, cut + 1, std::string::npos);
        }
        nspStack_[k + 1] = attribute[3];
        bindNamespace(pos);
        ++nspCounts_[depth_];
    }
    attributeCount_ = kept;
}

// The prefix (from index start of the attribute's name; npos for the default
// namespace) must be a name without a colon, and the xml and xmlns prefixes
// and namespaces keep their fixed binding.
void XmlPullParser::checkDeclaration(const std::string& attrName, std::size_t start, const std::string& uri) const
{
    const bool prefixed = start != std::string::npos;
    const std::size_t length = prefixed ? attrName.size() - start : 0;
    const bool xmlPrefix = length == 3 && attrName.compare(start, 3, "xml") == 0;
    const bool xmlnsPrefix = length == 5 && attrName.compare(start, 5, "xmlns") == 0;
    const bool badPrefix = prefixed && (length == 0 || attrName.find(':', start) != std::string::npos);
    const bool xmlUri = uri == XML_NAMESPACE;
    if (badPrefix || xmlnsPrefix || xmlPrefix != xmlUri || uri == XMLNS_NAMESPACE) {
        fail("illegal namespace declaration: " + attrName + "=\"" + uri + "\"");
    }
}

void XmlPullParser::bindNamespace(int pos)
{
    if (nspHidden_.size() <= static_cast<std::size_t>(pos)) {
        nspHidden_.resize(static_cast<std::size_t>(pos) + 16);
    }
    const auto bound = nspIndex_.try_emplace(nspStack_[static_cast<std::size_t>(pos) * 2], pos);
    nspHidden_[pos] = bound.second ? -1 : bound.first->second;
    bound.first->second = pos;
}

// Called once the depth has dropped: the declarations of the closed element
// leave scope, newest first, and uncover the ones they hid.
void XmlPullParser::closeNamespaceScope()
{
    for (int pos = nspCounts_[depth_ + 1] - 1; pos >= nspCounts_[depth_]; --pos) {
        const auto bound = nspIndex_.find(nspStack_[static_cast<std::size_t>(pos) * 2]);
        if (nspHidden_[pos] < 0) {
            nspIndex_.erase(bound);
        } else {
            bound->second = nspHidden_[pos];
        }
    }
}

void XmlPullParser::resolveAttributePrefixes()
{
    // Each attribute is checked against the ones after it: pairwise when they
    // are few, through the keys gathered so far when they are many.
    const bool hashed = attributeCount_ > kPairwiseAttributes;
    if (hashed) {
        attributeKeys_.clear();
    }
    for (int i = attributeCount_ * 4 - 4; i >= 0; i -= 4) {
        std::string& attrName = attributes_[i + 2];
        std::size_t cut = attrName.find(':');
        if (cut == 0 && !relaxed_) {
            fail("illegal attribute name: " + attrName);
        }
        if (cut == std::string::npos) {
            continue;
        }
        if (!relaxed_ && !isQualifiedName(attrName, cut)) {
            fail("illegal attribute name: " + attrName);
        }
        std::string& attrPrefix = attributes_[i + 1];
        setBytes(attrPrefix, attrName.data(), cut);
        attrName.erase(0, cut + 1);
        const std::string* uri = findNamespace(attrPrefix);
        if (!uri && !relaxed_) {
            fail("Undefined Prefix: " + attrPrefix + " in ");
        }
        std::string& attrNamespace = attributes_[i];
        if (uri) {
            attrNamespace = *uri;
        }
        if (relaxed_) {
            continue;
        }
        const bool repeated = hashed ? !attributeKeys_.insert(attributeKey(i / 4)).second : repeatsLater(i / 4);
        if (repeated) {
            fail("Duplicate Attribute: {" + attrNamespace + "}" + attrName);
        }
    }
}

void XmlPullParser::resolveTagPrefix(const std::string& rawName, std::string& nameSpace, std::string& prefix,
                                     std::string& localName)
{
    std::size_t cut = rawName.find(':');
    if ((cut == 0 || !isQualifiedName(rawName, cut)) && !relaxed_) {
        fail("illegal tag name: " + rawName);
    }
    if (cut == std::string::npos) {
        prefix.clear();
        setBytes(localName, rawName.data(), rawName.size());
    } else {
        setBytes(prefix, rawName.data(), cut);
        setBytes(localName, rawName.data() + cut + 1, rawName.size() - cut - 1);
    }
    const std::string* uri = findNamespace(prefix);
    if (uri) {
        nameSpace = *uri;
        return;
    }
    if (!prefix.empty() && !relaxed_) {
        fail("undefined prefix: " + prefix);
    }
    nameSpace.clear();
}

void XmlPullParser::parseEndTag()
{
    read(); // '<'
    read(); // '/'
    if (skipOpenElementName()) {
        skip();
        read('>');
    } else {
        readName(name_);
        skip();
        read('>');
        if (depth_ == 0) {
            if (!relaxed_) {
                fail("element stack empty");
            }
            return;
        }
        const std::string& openName = elementStack_[(depth_ - 1) * 4 + 3];
        if (name_ != openName) {
            if (!relaxed_) {
                fail("expected: " + openName);
            }
            return;
        }
    }
    int sp = (depth_ - 1) * 4;
    eventNamespace_ = &elementStack_[sp];
    eventPrefix_ = &elementStack_[sp + 1];
    eventName_ = &elementStack_[sp + 2];
}

// Passes over the name of an end tag without copying it when it is plainly
// the raw name of the open element, whole in the source buffer.
bool XmlPullParser::skipOpenElementName()
{
    if (depth_ == 0 || peekCount_ != 0) {
        return false;
    }
    const std::string& openName = elementStack_[(depth_ - 1) * 4 + 3];
    const std::size_t n = openName.size();
    if (static_cast<std::size_t>(srcCount_ - srcPos_) <= n) {
        return false;
    }
    const unsigned char* p = srcBuf_.get() + srcPos_;
    if (std::memcmp(p, openName.data(), n) != 0 || hasClass(p[n], kNameChar)) {
        return false;
    }
    srcPos_ += static_cast<int>(n);
    column_ += static_cast<int>(n);
    wasCR_ = false;
    return true;
}

// ---------------------------------------------------------------------------
// Constructs after "<!" and "<?"

int XmlPullParser::parseLegacy(bool collect)
{
    read(); // '<'
    int c = read();
    int term = '?';
    int result = PROCESSING_INSTRUCTION;
    std::uint16_t stop = kPIStop;
    const char* required = "";
    if (c == '?') {
        if (parseTarget(collect) == XML_DECL) {
            return parseXmlDeclaration();
        }
    } else if (peek(0) == '-') {
        result = COMMENT;
        required = "--";
        term = '-';
        stop = kCommentStop;
    } else if (peek(0) == '[') {
        result = CDSECT;
        required = "[CDATA[";
        term = ']';
        stop = kCDataStop;
        collect = true;
    } else {
        result = DOCDECL;
        required = "DOCTYPE";
    }
    for (const char* p = required; *p; ++p) {
        read(*p);
    }
    if (result == DOCDECL) {
        // One document type declaration, before the root element.
        if (doctypeSeen_ || rootSeen_) {
            fail("misplaced DOCTYPE");
        }
        doctypeSeen_ = true;
        parseDoctype(collect);
        return result;
    }

    // Reads up to the terminator ("-->", "]]>" or "?>"); c is the character just read.
    auto atTerminator = [&](int ch) { return (term == '?' || ch == term) && peek(0) == term && peek(1) == '>'; };
    int prev = 0;
    for (;;) {
        if (peekCount_ == 0) {
            std::size_t n;
            const char* run = takeRun(stop, n);
            if (n > 0) {
                if (collect) {
                    pushBytes(run, n);
                }
                prev = static_cast<unsigned char>(run[n - 1]);
                if (atTerminator(prev)) {
                    break;
                }
            }
        }
        c = read();
        if (c == -1) {
            fail("Unexpected EOF");
        }
        if (collect) {
            push(c);
        }
        if (atTerminator(c)) {
            break;
        }
        // "--" may only close a comment; "---" is left to the check below.
        if (term == '-' && c == '-' && peek(0) == '-' && peek(1) != '-' && !relaxed_) {
            fail("'--' not allowed in comment");
        }
        prev = c;
    }
    if (term == '-' && prev == '-' && !relaxed_) {
        fail("illegal comment delimiter: --->");
    }
    read();
    read();
    if (collect && term != '?') {
        --txtPos_;
        txtBuf_[txtPos_] = 0;
    }
    return result;
}

// Reads the target of a processing instruction after "<?" (collected with its
// text); XML_DECL when it is the XML declaration. Targets that are "xml" in any
// case are reserved for the declaration, which may only open the document.
int XmlPullParser::parseTarget(bool collect)
{
    const bool atStart = line_ == 1 && column_ == 2;
    std::string& target = name_;
    if ((peek(0) | 0x20) == 'x' && (peek(1) | 0x20) == 'm') {
        target += static_cast<char>(read());
        target += static_cast<char>(read());
        if ((peek(0) | 0x20) == 'l' && !hasClass(peek(1), kNameChar)) {
            if (!atStart || target != "xm" || peek(0) != 'l') {
                fail("PI must not start with xml");
            }
            return XML_DECL;
        }
    } else if (!hasClass(peek(0), kNameStart)) {
        fail("PI target expected");
    }
    while (hasClass(peek(0), kNameChar)) {
        target += static_cast<char>(read());
    }
    if (processNsp_ && target.find(':') != std::string::npos) {
        fail("illegal PI target: " + target);
    }
    const int next = peek(0);
    if (next > ' ' && !(next == '?' && peek(1) == '>')) {
        fail("whitespace expected after PI target: " + target);
    }
    if (collect) {
        pushBytes(target.data(), target.size());
    }
    target.clear();
    return PROCESSING_INSTRUCTION;
}

// The pseudo-attributes of "<?xml ... ?>", which may only open the document.
int XmlPullParser::parseXmlDeclaration()
{
    parseStartTag(true);
    if (attributeCount_ < 1 || attributes_[2] != "version") {
        fail("version expected");
    }
    version_ = attributes_[3];
    if (!isVersionNumber(version_)) {
        fail("illegal version: " + version_);
    }
    int pos = 1;
    if (pos < attributeCount_ && attributes_[4 * pos + 2] == "encoding") {
        encoding_ = attributes_[4 * pos + 3];
        if (!isEncodingName(encoding_)) {
            fail("illegal encoding: " + encoding_);
        }
        ++pos;
    }
    if (pos < attributeCount_ && attributes_[4 * pos + 2] == "standalone") {
        const std::string& value = attributes_[4 * pos + 3];
        if (value != "yes" && value != "no") {
            fail("illegal standalone value: " + value);
        }
        standalone_ = value == "yes";
        ++pos;
    }
    if (pos != attributeCount_) {
        fail("illegal xmldecl");
    }
    isWhitespace_ = true;
    txtPos_ = 0;
    return XML_DECL;
}

// Skips (or collects) a document type declaration up to the '>' that balances
// its '<'. Nothing in it is interpreted, so nothing is ever fetched; but its
// quoted literals, comments and processing instructions are passed over
// whole, since they may hold any of '<', '>' and quotes.
void XmlPullParser::parseDoctype(bool collect)
{
    auto take = [&](int expected) {
        read(expected);
        if (collect) {
            push(expected);
        }
    };
    int nesting = 1;
    int inside = 0; // the quote of a literal, '-' in a comment, '?' in a processing instruction
    for (;;) {
        if (peekCount_ == 0) {
            std::size_t n;
            const char* run = takeRun(kDoctypeStop, n);
            if (collect && n > 0) {
                pushBytes(run, n);
            }
        }
        int c = read();
        if (c == -1) {
            fail("Unexpected EOF");
        }
        if (inside == 0 && c == '>' && --nesting == 0) {
            return;
        }
        if (collect) {
            push(c);
        }
        if (inside == 0) {
            if (c == '"' || c == '\'') {
                inside = c;
            } else if (c == '<' && peek(0) == '!' && peek(1) == '-') {
                take('!');
                take('-');
                take('-');
                inside = '-';
            } else if (c == '<' && peek(0) == '?') {
                take('?');
                inside = '?';
            } else if (c == '<') {
                ++nesting;
            }
        } else if (inside == '-') {
            if (c == '-' && peek(0) == '-' && peek(1) == '>') {
                take('-');
                take('>');
                inside = 0;
            }
        } else if (inside == '?') {
            if (c == '?' && peek(0) == '>') {
                take('>');
                inside = 0;
            }
        } else if (c == inside) {
            inside = 0;
        }
    }
}

// ---------------------------------------------------------------------------
// Namespace and attribute accessors

const std::string* XmlPullParser::findNamespace(const std::string& prefix) const
{
    static const std::string xmlUri = XML_NAMESPACE;
    static const std::string xmlnsUri = XMLNS_NAMESPACE;
    if (prefix.size() == 3 && hasPrefix(prefix, "xml", 3)) {
        return &xmlUri;
    }
    if (prefix.size() == 5 && hasPrefix(prefix, "xmlns", 5)) {
        return &xmlnsUri;
    }
    // The few declarations of ordinary documents are scanned faster than hashed.
    const int count = nspCounts_[depth_];
    int pos = count - 1;
    if (count <= kScannedNamespaces) {
        while (pos >= 0 && nspStack_[static_cast<std::size_t>(pos) * 2] != prefix) {
            --pos;
        }
    } else {
        const auto bound = nspIndex_.find(prefix);
        pos = bound == nspIndex_.end() ? -1 : bound->second;
    }
    if (pos < 0) {
        return nullptr;
    }
    const std::string& uri = nspStack_[static_cast<std::size_t>(pos) * 2 + 1];
    return uri.empty() ? nullptr : &uri;
}

const std::string& XmlPullParser::getNamespace(const std::string& prefix) const
{
    const std::string* uri = findNamespace(prefix);
    return uri ? *uri : none_;
}

int XmlPullParser::getNamespaceCount(int depth) const
{
    if (depth < 0 || depth > depth_) {
        fail("IndexOutOfBoundsException");
    }
    return nspCounts_[depth];
}

void XmlPullParser::checkNamespacePosition(int pos) const
{
    if (pos < 0 || pos >= nspCounts_[depth_]) {
        fail("IndexOutOfBoundsException");
    }
}

const std::string& XmlPullParser::getNamespacePrefix(int pos) const
{
    checkNamespacePosition(pos);
    return nspStack_[pos * 2];
}

const std::string& XmlPullParser::getNamespaceUri(int pos) const
{
    checkNamespacePosition(pos);
    return nspStack_[pos * 2 + 1];
}

void XmlPullParser::checkAttributeIndex(int index) const
{
    if (index < 0 || index >= attributeCount_) {
        fail("IndexOutOfBoundsException()");
    }
}

const std::string& XmlPullParser::getAttributeNamespace(int index) const
{
    checkAttributeIndex(index);
    return attributes_[index * 4];
}

const std::string& XmlPullParser::getAttributePrefix(int index) const
{
    checkAttributeIndex(index);
    return attributes_[index * 4 + 1];
}

const std::string& XmlPullParser::getAttributeName(int index) const
{
    checkAttributeIndex(index);
    return attributes_[index * 4 + 2];
}

const std::string& XmlPullParser::getAttributeValue(int index) const
{
    checkAttributeIndex(index);
    return attributes_[index * 4 + 3];
}

const std::string& XmlPullParser::getAttributeValue(const std::string& nameSpace, const std::string& name) const
{
    for (int i = attributeCount_ * 4 - 4; i >= 0; i -= 4) {
        if (attributes_[i + 2] == name && (nameSpace.empty() || attributes_[i] == nameSpace)) {
            return attributes_[i + 3];
        }
    }
    return none_;
}
