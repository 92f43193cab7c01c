#include "xml/XmlPullParser.h"
#include "xml/XmlPullParserInput.h"

#include <algorithm>

// Constructs after "<!" and "<?": comments, CDATA sections, processing
// instructions, the XML declaration and the document type declaration.

using namespace XmlChars;

namespace {

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

} // namespace

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
        // A target with no data: the terminator follows at once, and the
        // loop below would only find one after a further character.
        if (peek(0) == '?' && peek(1) == '>') {
            read();
            read();
            return result;
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
    if (attributeCount_ < 1 || attributes_[0].name().raw != "version") {
        fail("version expected");
    }
    version_ = attributes_[0].value;
    if (!isVersionNumber(version_)) {
        fail("illegal version: " + version_);
    }
    int pos = 1;
    if (pos < attributeCount_ && attributes_[pos].name().raw == "encoding") {
        encoding_ = attributes_[pos].value;
        if (!isEncodingName(encoding_)) {
            fail("illegal encoding: " + encoding_);
        }
        ++pos;
    }
    if (pos < attributeCount_ && attributes_[pos].name().raw == "standalone") {
        const std::string& value = attributes_[pos].value;
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
