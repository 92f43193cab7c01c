#include "xml/XmlPullParser.h"
#include "xml/XmlPullParserInput.h"

#include <algorithm>
#include <climits>
#include <cstring>

// Input, text, advancing, entities and tags; markup after "<!" and "<?" is in
// XmlPullParserMarkup.cpp, attributes and namespaces in XmlPullParserNamespaces.cpp.

using namespace XmlChars;

namespace {

constexpr int kSourceSize = 8192;
constexpr std::size_t kInitialTextSize = 256;

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

// The class at which a run of text up to the delimiter stops; 0 when it is
// read character by character (an unquoted value in relaxed mode).
std::uint16_t runStop(int delimiter)
{
    return delimiter == '<' ? kTextStop : delimiter == '"' ? kDQuoteStop : delimiter == '\'' ? kSQuoteStop : 0;
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
      txtBuf_(std::make_unique<char[]>(kInitialTextSize)), txtCap_(kInitialTextSize), elements_(16),
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

void XmlPullParser::releaseInput()
{
    srcBuf_.reset();
    srcPos_ = 0;
    srcCount_ = 0;
    started_ = true;
    inputEnded_ = true;
}

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

void XmlPullParser::failControl(int c) const
{
    static const char kHex[] = "0123456789ABCDEF";
    if (c == 0) {
        fail("illegal NUL character");
    }
    fail(std::string("illegal control character: #x") + kHex[c >> 4] + kHex[c & 15]);
}

void XmlPullParser::failMismatch(int expected, int actual) const
{
    if (actual == -1) {
        fail("Unexpected EOF");
    }
    fail("expected: '" + charText(expected) + "' actual: '" + charText(actual) + "'");
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

// Tags and the document's ends carry no text, nor does an entity reference
// that was not expanded.
bool XmlPullParser::hasText() const
{
    return type_ >= TEXT && !(type_ == ENTITY_REF && unresolved_);
}

const std::string& XmlPullParser::getText() const
{
    if (!hasText()) {
        return none_;
    }
    if (!textReady_) {
        text_.assign(txtBuf_.get(), txtPos_);
        textReady_ = true;
    }
    return text_;
}

std::string_view XmlPullParser::getTextView() const
{
    return hasText() ? std::string_view(txtBuf_.get(), txtPos_) : std::string_view();
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
    // The blank text before a tag would only be read to be skipped.
    if (!degenerated_) {
        skipBlanksBeforeTag();
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
        if (nspCounts_[depth_ + 1] > nspCounts_[depth_]) {
            closeNamespaceScope();
        }
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
            if (!takeBlankText()) {
                pushText('<', !token_);
            }
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

// The name is seen in the source buffer when it lies whole in it, else in the
// text buffer past its end: either way only until the parser reads on.
std::string_view XmlPullParser::readName()
{
    unpeek();
    std::size_t pos = txtPos_;
    if (peekCount_ == 0 && srcPos_ < srcCount_ && hasClass(srcBuf_[srcPos_], kNameStart)) {
        std::size_t n;
        const char* run = takeRun(kNameStop, n);
        isWhitespace_ = false;
        if (srcPos_ < srcCount_) {
            return std::string_view(run, n);
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
    const std::string_view name(txtBuf_.get() + pos, txtPos_ - pos);
    txtPos_ = pos;
    return name;
}

// Finds the commonest text of all, the blanks and line breaks between two
// tags, when it lies in the source buffer up to the next '<'; false for any
// other text. A CR already looked at (peekType() takes one into the
// look-ahead) opens the text. Line breaks are counted as read() and
// fillPeek() count them.
bool XmlPullParser::findBlankRun(BlankRun& run) const
{
    run.peekedCR = peekCount_ == 1 && peek_[0] == '\n' && wasCR_;
    if (peekCount_ != 0 && !run.peekedCR) {
        return false;
    }
    const unsigned char* const start = srcBuf_.get() + srcPos_;
    const unsigned char* const end = srcBuf_.get() + srcCount_;
    const unsigned char* p = start;
    run.lineStart = run.peekedCR ? start : nullptr;
    run.lines = run.peekedCR ? 1 : 0;
    run.folded = wasCR_;
    while (p < end) {
        const unsigned char c = *p;
        if (c == ' ') {
            p = skipSpaces(p, end);
            continue;
        }
        if (c == '\n') {
            run.lines += (p == start ? wasCR_ : p[-1] == '\r') ? 0 : 1;
            run.lineStart = p + 1;
        } else if (c == '\r') {
            ++run.lines;
            run.folded = true;
            run.lineStart = p + 1;
        } else if (c != '\t') {
            break;
        }
        ++p;
    }
    if ((p == start && !run.peekedCR) || p == end || *p != '<') {
        return false;
    }
    run.start = start;
    run.stop = p;
    return true;
}

// Moves the read position past the run as reading it character by character would.
void XmlPullParser::passBlankRun(const BlankRun& run)
{
    const std::size_t count = static_cast<std::size_t>(run.stop - run.start);
    if (run.peekedCR) {
        peekCount_ = 0;
    }
    wasCR_ = run.stop == run.start ? wasCR_ : run.stop[-1] == '\r';
    srcPos_ += static_cast<int>(count);
    line_ += run.lines;
    column_ = run.lineStart != nullptr ? 1 + static_cast<int>(run.stop - run.lineStart)
                                       : column_ + static_cast<int>(count);
}

// Takes the blank text between two tags in one go, folding each CR, or CR LF,
// to one LF as fillPeek() does; false, having taken nothing, for any other text.
bool XmlPullParser::takeBlankText()
{
    BlankRun run;
    if (!findBlankRun(run)) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(run.stop - run.start);
    if (run.peekedCR) {
        appendText("\n", 1);
    }
    if (run.folded) {
        appendFolded(run.start, count, wasCR_);
    } else {
        appendText(reinterpret_cast<const char*>(run.start), count);
    }
    passBlankRun(run);
    return true;
}

// Passes over blank text that a tag follows, which next() would report as a
// text of its own; not before "<!" or "<?", whose text next() would join to it.
void XmlPullParser::skipBlanksBeforeTag()
{
    BlankRun run;
    if (findBlankRun(run) && run.stop + 1 < srcBuf_.get() + srcCount_ && run.stop[1] != '!' && run.stop[1] != '?') {
        passBlankRun(run);
    }
}

// Appends blanks and line breaks with each CR, or CR LF, as one LF; afterCR
// tells that the byte before them was a CR.
void XmlPullParser::appendFolded(const unsigned char* bytes, std::size_t count, bool afterCR)
{
    if (txtPos_ + count >= txtCap_) {
        growText(count);
    }
    char* out = txtBuf_.get() + txtPos_;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char c = bytes[i];
        if (c != '\n' || !afterCR) {
            *out++ = static_cast<char>(c == '\r' ? '\n' : c);
        }
        afterCR = c == '\r';
    }
    txtPos_ = static_cast<std::size_t>(out - txtBuf_.get());
    txtBuf_[txtPos_] = 0;
}

// Appends characters up to the delimiter (a space also stops at any control
// character and at '>'); returns the character ahead.
int XmlPullParser::pushText(int delimiter, bool resolveEntities)
{
    const std::uint16_t stop = runStop(delimiter);
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

// The name of a start tag goes straight into the element-stack entry it opens.
void XmlPullParser::parseStartTag(bool xmlDeclaration)
{
    const std::size_t sp = static_cast<std::size_t>(depth_);
    const std::string* tagName = &name_;
    if (xmlDeclaration) {
        setBytes(name_, readName());
    } else {
        read(); // '<'
        if (elements_.size() <= sp) {
            elements_.resize(sp + 16);
        }
        tagName = &takeName(elements_[sp]).raw;
    }
    const std::string& rawName = *tagName;
    eventName_ = &rawName;
    attributeCount_ = 0;
    for (;;) {
        const TagStep step = xmlDeclaration ? TagStep::None : takeCommonTagStep();
        if (step == TagStep::Closed) {
            break;
        }
        if (step == TagStep::Attribute) {
            parseAttribute(rawName);
            continue;
        }
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
    if (attributeCount_ > 1) {
        checkDuplicateNames();
    }
    OpenElement& element = elements_[sp];
    element.split = processNsp_;
    element.namespacePos = kNoNamespace;
    if (processNsp_) {
        processNamespaces(element);
    }
    setEventName(element);
}

// Tags and attributes in the same place mostly repeat the name the holder
// already holds: then it is passed over instead of read and looked up again.
XmlName& XmlPullParser::takeName(NameHolder& holder)
{
    unpeek();
    if (skipName(holder.name().raw)) {
        isWhitespace_ = false;
        return holder.name();
    }
    return holdName(holder, readName());
}

XmlName& XmlPullParser::holdName(NameHolder& holder, std::string_view written)
{
    holder.interned = names_.intern(written);
    if (holder.interned == nullptr) {
        holder.own.assign(written);
    }
    return holder.name();
}

void XmlPullParser::setEventName(const OpenElement& element)
{
    const XmlName& name = element.name();
    eventNamespace_ = &namespaceAt(element.namespacePos);
    eventPrefix_ = element.split ? &name.prefix : &none_;
    eventName_ = &element.reportedName();
}

void XmlPullParser::parseAttribute(const std::string& tagName)
{
    if (attributeCount_ >= MAX_ATTRIBUTES) {
        fail("more than " + std::to_string(MAX_ATTRIBUTES) + " attributes");
    }
    const std::size_t i = static_cast<std::size_t>(attributeCount_);
    if (attributes_.size() <= i) {
        attributes_.resize(i + 16);
    }
    TagAttribute& attribute = attributes_[i];
    takeName(attribute);
    attribute.split = false;
    attribute.namespacePos = kNoNamespace;
    int delimiter = takeEqualsAndQuote();
    if (delimiter == 0) {
        skip();
        read('=');
        skip();
        delimiter = peekFirst();
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
    }
    ++attributeCount_;
    readAttributeValue(delimiter, attribute.value);
}

// Attributes are mostly written name="value": the '=' and the opening quote
// right after the name are passed over together. Returns the quote, or 0
// having taken nothing for any other spelling.
int XmlPullParser::takeEqualsAndQuote()
{
    if (peekCount_ != 0 || srcCount_ - srcPos_ < 2 || srcBuf_[srcPos_] != '=') {
        return 0;
    }
    const int quote = srcBuf_[srcPos_ + 1];
    if (quote != '"' && quote != '\'') {
        return 0;
    }
    srcPos_ += 2;
    column_ += 2;
    wasCR_ = false;
    return quote;
}

// Reads the value after its opening delimiter, and the closing one.
void XmlPullParser::readAttributeValue(int delimiter, std::string& value)
{
    const std::size_t pos = txtPos_;
    if (delimiter != ' ' && peekCount_ == 0) {
        std::size_t n;
        const char* run = takeValueRun(delimiter, n);
        if (srcPos_ < srcCount_ && srcBuf_[srcPos_] == delimiter) {
            // The whole value lay in the source buffer, with nothing to expand or fold.
            setBytes(value, run, n);
            ++srcPos_;
            ++column_;
            wasCR_ = false;
            return;
        }
        pushBytes(run, n);
    }
    pushText(delimiter, true);
    setBytes(value, txtBuf_.get() + pos, txtPos_ - pos);
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

void XmlPullParser::parseEndTag()
{
    read(); // '<'
    read(); // '/'
    if (skipOpenElementName()) {
        skip();
        read('>');
    } else {
        setBytes(name_, readName());
        skip();
        read('>');
        if (depth_ == 0) {
            if (!relaxed_) {
                fail("element stack empty");
            }
            return;
        }
        const std::string& openName = elements_[static_cast<std::size_t>(depth_ - 1)].name().raw;
        if (name_ != openName) {
            if (!relaxed_) {
                fail("expected: " + openName);
            }
            return;
        }
    }
    setEventName(elements_[static_cast<std::size_t>(depth_ - 1)]);
}

// Passes over the name of an end tag without copying it when it is plainly
// the raw name of the open element, whole in the source buffer.
bool XmlPullParser::skipOpenElementName()
{
    return depth_ > 0 && skipName(elements_[static_cast<std::size_t>(depth_ - 1)].name().raw);
}

// Passes over the name at the read position when it is the given one (a name
// read before) and lies whole in the source buffer, with the byte after it.
bool XmlPullParser::skipName(const std::string& name)
{
    const std::size_t n = name.size();
    if (peekCount_ != 0 || n == 0 || static_cast<std::size_t>(srcCount_ - srcPos_) <= n) {
        return false;
    }
    const unsigned char* p = srcBuf_.get() + srcPos_;
    if (!sameBytes(reinterpret_cast<const char*>(p), name.data(), n) || hasClass(p[n], kNameChar)) {
        return false;
    }
    srcPos_ += static_cast<int>(n);
    column_ += static_cast<int>(n);
    wasCR_ = false;
    return true;
}
