#include "xml/XmlPullParser.h"

#include "support/CaseFile.h"
#include "support/OneByteStreamBuf.h"
#include "support/PullParserTrace.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace std::string_literals;

namespace {

const std::string kPrefix = "Xml Parser Exception : ";

std::string traceWhole(const std::string& xml, bool tokens, bool withPosition, bool namespaces = true)
{
    std::istringstream in(xml);
    return PullParserTrace::trace(in, tokens, withPosition, namespaces);
}

std::string traceOneByte(const std::string& xml, bool tokens, bool withPosition, bool namespaces = true)
{
    OneByteStreamBuf buffer(xml);
    std::istream in(&buffer);
    return PullParserTrace::trace(in, tokens, withPosition, namespaces);
}

// The events of a document; also checks that reading it one byte per stream
// read gives the very same events, positions and errors.
std::string events(const std::string& xml, bool tokens = false)
{
    EXPECT_EQ(traceWhole(xml, tokens, true), traceOneByte(xml, tokens, true)) << xml;
    return traceWhole(xml, tokens, false);
}

struct Failure {
    std::string message;
    std::string state;
    int line = 0;
    int column = 0;
};

Failure failureOf(const std::string& xml)
{
    std::istringstream in(xml);
    XmlPullParser parser(in);
    parser.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    try {
        while (parser.next() != XmlPullParser::END_DOCUMENT) {
        }
    } catch (const XmlPullParserException& e) {
        EXPECT_EQ(0u, e.description.find(kPrefix));
        return {e.description.substr(kPrefix.size()), e.state, e.line, e.column};
    }
    ADD_FAILURE() << "no error for: " << xml;
    return {};
}

std::string repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) {
        out += s;
    }
    return out;
}

// Rows: document, events (by next, or by nextToken when tokens is set).
void expectEvents(const std::string& section, bool tokens = false)
{
    for (const auto& c : testsupport::caseTable("xml/data/pullparser.cases", section))
        EXPECT_EQ(c[1], events(c[0], tokens)) << c[0];
}

// A UTF-8 byte-order mark is skipped at the start only; character references
// are written as UTF-8; names may hold bytes below 0xB7 after their lead byte.
TEST(XmlPullParserTest, NextMergesTextAndSkipsMarkup) { expectEvents("next"); }
TEST(XmlPullParserTest, NextTokenReportsEveryConstruct) { expectEvents("next-token", true); }

TEST(XmlPullParserTest, ProcessNamespacesOffKeepsNamesAsWritten)
{
    std::string xml = "<p:a xmlns:p='urn:p' p:b='1'/>";
    EXPECT_EQ("<p:a xmlns:p=\"urn:p\" p:b=\"1\">|</p:a>|END", traceWhole(xml, false, false, false));
}

TEST(XmlPullParserTest, DepthAndEmptyElements)
{
    std::istringstream in("<a><b/><c></c><d /></a>");
    XmlPullParser p(in);
    // event, depth, and whether it is the start tag of an element written as one tag
    std::vector<std::tuple<int, int, bool>> seen;
    for (int e = p.next(); e != XmlPullParser::END_DOCUMENT; e = p.next()) {
        seen.emplace_back(e, p.getDepth(), p.isEmptyElementTag());
        EXPECT_EQ(e == XmlPullParser::START_TAG ? 0 : -1, p.getAttributeCount());
        EXPECT_EQ("", p.getText());
    }
    const std::vector<std::tuple<int, int, bool>> expected = {
        {XmlPullParser::START_TAG, 1, false}, {XmlPullParser::START_TAG, 2, true}, {XmlPullParser::END_TAG, 2, false},
        {XmlPullParser::START_TAG, 2, false}, {XmlPullParser::END_TAG, 2, false},  {XmlPullParser::START_TAG, 2, true},
        {XmlPullParser::END_TAG, 2, false},   {XmlPullParser::END_TAG, 1, false}};
    EXPECT_EQ(expected, seen);
    EXPECT_FALSE(p.isEmptyElementTag());
    EXPECT_EQ(0, p.getDepth());
    EXPECT_EQ(XmlPullParser::END_DOCUMENT, p.next());
    EXPECT_EQ(XmlPullParser::END_DOCUMENT, p.nextToken());
}

TEST(XmlPullParserTest, NamespacesAreScopedToTheirElement)
{
    std::istringstream in("<r xmlns='urn:d' xmlns:p='urn:p'><p:e xmlns:q='urn:q' q:a='1' b='2'/><f/></r>");
    XmlPullParser p(in);
    p.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);

    ASSERT_EQ(XmlPullParser::START_TAG, p.next());
    EXPECT_EQ(0, p.getAttributeCount()); // the declarations are not attributes
    EXPECT_EQ(0, p.getNamespaceCount(0));
    EXPECT_EQ(2, p.getNamespaceCount(1));
    EXPECT_EQ("", p.getNamespacePrefix(0));
    EXPECT_EQ("urn:d", p.getNamespaceUri(0));
    EXPECT_EQ("p", p.getNamespacePrefix(1));
    EXPECT_EQ("urn:p", p.getNamespaceUri(1));
    EXPECT_EQ("", p.getNamespace("q"));

    ASSERT_EQ(XmlPullParser::START_TAG, p.next());
    EXPECT_EQ("e", p.getName());
    EXPECT_EQ("p", p.getPrefix());
    EXPECT_EQ("urn:p", p.getNamespace());
    EXPECT_EQ(3, p.getNamespaceCount(2));
    EXPECT_EQ("urn:q", p.getNamespace("q"));
    EXPECT_EQ("urn:d", p.getNamespace(""));
    EXPECT_EQ("http://www.w3.org/XML/1998/namespace", p.getNamespace("xml"));
    EXPECT_EQ("http://www.w3.org/2000/xmlns/", p.getNamespace("xmlns"));
    ASSERT_EQ(2, p.getAttributeCount());
    EXPECT_EQ("urn:q", p.getAttributeNamespace(0));
    EXPECT_EQ("q", p.getAttributePrefix(0));
    EXPECT_EQ("a", p.getAttributeName(0));
    EXPECT_EQ("", p.getAttributeNamespace(1)); // no default namespace for attributes
    EXPECT_EQ("1", p.getAttributeValue("urn:q", "a"));
    EXPECT_EQ("1", p.getAttributeValue("", "a"));
    EXPECT_EQ("", p.getAttributeValue("urn:other", "a"));
    EXPECT_EQ("2", p.getAttributeValue("", "b"));

    ASSERT_EQ(XmlPullParser::END_TAG, p.next());
    EXPECT_EQ("urn:q", p.getNamespace("q")); // still in scope on its own end tag
    ASSERT_EQ(XmlPullParser::START_TAG, p.next());
    EXPECT_EQ("f", p.getName());
    EXPECT_EQ("urn:d", p.getNamespace());
    EXPECT_EQ("", p.getNamespace("q"));
    EXPECT_EQ(2, p.getNamespaceCount(2));
}

TEST(XmlPullParserTest, CollectionsGrowWithoutLosingEntries)
{
    std::string xml;
    std::string expected;
    for (int d = 0; d < 40; ++d) {
        std::string n = std::to_string(d);
        xml += "<p" + n + ":e xmlns:p" + n + "='urn:" + n + "'>";
        expected += "<{urn:" + n + "}e>|";
    }
    xml += "<x";
    expected += "<x";
    for (int i = 0; i < 30; ++i) {
        std::string n = std::to_string(i);
        xml += " p" + n + ":a" + n + "='" + std::string(300, 'v') + n + "'";
        expected += " {urn:" + n + "}a" + n + "=\"" + std::string(300, 'v') + n + "\"";
    }
    xml += ">" + std::string(100000, 't') + "</x>";
    expected += ">|T:" + std::string(100000, 't') + "|</x>|";
    for (int d = 39; d >= 0; --d) {
        xml += "</p" + std::to_string(d) + ":e>";
        expected += "</{urn:" + std::to_string(d) + "}e>|";
    }
    EXPECT_EQ(expected + "END", events(xml));
}

// Rows: document, message, parser state, line, column; cut-off input and input
// that is not a document among them.
TEST(XmlPullParserTest, ErrorsCarryMessageStateAndPosition)
{
    for (const auto& c : testsupport::caseTable("xml/data/pullparser.cases", "errors")) {
        const Failure f = failureOf(c[0]);
        EXPECT_EQ(c[1], f.message) << c[0];
        EXPECT_EQ(c[2], f.state) << c[0];
        EXPECT_EQ(c.number(3), f.line) << c[0];
        EXPECT_EQ(c.number(4), f.column) << c[0];
        EXPECT_EQ(traceWhole(c[0], false, true), traceOneByte(c[0], false, true)) << c[0];
    }
}

TEST(XmlPullParserTest, LineBreaksCountOnceWhateverTheirForm)
{
    const std::string doc = "<a>\n  <b x='1'\n     y='2'>\n\n</c>";
    const std::string endings[] = {"\n", "\r\n", "\r"};
    for (const auto& ending : endings) {
        std::string xml;
        for (char ch : doc) {
            xml += ch == '\n' ? ending : std::string(1, ch);
        }
        Failure f = failureOf(xml);
        EXPECT_EQ("expected: b", f.message);
        EXPECT_EQ(5, f.line);
        EXPECT_EQ(5, f.column); // a line feed sets the column to 1
        EXPECT_EQ("<a>@1:3/1|T:\n  @2:3/1|<b x=\"1\" y=\"2\">@3:12/2|T:\n\n@5:1/2|"
                  "ERROR:Xml Parser Exception : expected: b@5:5 END_TAG",
                  traceWhole(xml, true, true));
        EXPECT_EQ(traceWhole(xml, true, true), traceOneByte(xml, true, true));
    }
}

// Blanks and line breaks between tags are taken in one go from a whole
// block; read a byte at a time they go character by character. Both must
// give the same texts, lines and columns.
TEST(XmlPullParserTest, BlankTextBetweenTagsReadsAsCharacterByCharacter)
{
    const std::string blanks[] = {"\n",   "\r\n",  "\r",      "\n\r",     "\r\r\n",  " \t \n  ",
                                  "\r \n", "\r\n\r\n \t", "  ",     "\t\r\n\t", "\n\n\n", "\r\n  \r"};
    const std::string after[] = {"<b/>", "</r>", "<!-- c -->", "x<b/>", "&amp;<b/>", "<![CDATA[c]]>"};
    for (const auto& blank : blanks) {
        for (const auto& next : after) {
            const std::string xml = "<r>" + blank + "<a/>" + blank + next + blank + "</r>" + blank;
            for (bool tokens : {false, true}) {
                EXPECT_EQ(traceWhole(xml, tokens, true), traceOneByte(xml, tokens, true)) << xml;
            }
        }
    }
    EXPECT_EQ("<r>@1:3/1|T:\n \n\t@3:2/1|<a>@3:6/2|</a>@3:6/2|T:\n@4:1/1|</r>@4:5/1|WS:\n@5:1/0|END@5:1/0",
              traceWhole("<r>\r\n \r\t<a/>\n</r>\r\n", true, true));
}

TEST(XmlPullParserTest, DocumentsAgreeWhatEverTheBlockBoundaries)
{
    // Every construct of the body is moved across the 8192-byte block boundary
    // of the whole-stream read in turn, and compared with one-byte reads.
    const std::string body =
        "<p:e xmlns:p='urn:p' a=\"v&amp;&#x41;\r\nw\" p:b='&lt;'>t&gt;x&#233;y<![CDATA[c]d]]>"
        "<!-- c - c --><?pi d?>z\r\n</p:e>\r<e2/>&quot;";
    for (std::size_t pad = 8192 - 180; pad <= 8192; ++pad) {
        std::string xml = "<r>" + std::string(pad - 3, ' ') + body + "</r>";
        std::string whole = traceWhole(xml, true, true);
        ASSERT_EQ(whole, traceOneByte(xml, true, true)) << pad;
        ASSERT_EQ(traceWhole(xml, false, true), traceOneByte(xml, false, true)) << pad;
        ASSERT_NE(std::string::npos, whole.find("|END@")) << whole;
    }
}

// A tag or attribute name like the last one in its place (depth, or position
// in the tag) is passed over in one go when it lies whole in a block; a name
// it only begins, one that begins it, or one cut by the block's end is read.
TEST(XmlPullParserTest, NamesLikeTheLastInTheirPlaceReadAsAnyOther)
{
    const std::string bodies[] = {
        "<ab x='1' xy='2'/><abc x='1' xyz='2'/><ab xy='3' x='4'/><a x='5'/><ab x='6' xy='7'/>",
        "<p:e xmlns:p='urn:p' p:a='1'/><p:e xmlns:p='urn:q' p:a='2'/><p:ee xmlns:p='urn:r' p:aa='3'/>",
        "<long-element-name-one v='1'/><long-element-name-one v='2'/><long-element-name-two v='3'/>",
        "<e a='1'><e a='2'><e b='3'/></e></e><e a='4'/>",
    };
    for (const auto& body : bodies) {
        for (std::size_t pad = 8192 - 100; pad <= 8192; ++pad) {
            const std::string xml = "<r>" + std::string(pad - 3, ' ') + body + "</r>";
            ASSERT_EQ(traceWhole(xml, false, true), traceOneByte(xml, false, true)) << pad << body;
        }
    }
    EXPECT_EQ("<r>|<ab x=\"1\" xy=\"2\">|</ab>|<abc x=\"1\" xyz=\"2\">|</abc>|<ab xy=\"3\" x=\"4\">|</ab>|"
              "<a x=\"5\">|</a>|<ab x=\"6\" xy=\"7\">|</ab>|</r>|END",
              events("<r>" + bodies[0] + "</r>"));
    EXPECT_EQ("<r>|<{urn:p}e {urn:p}a=\"1\">|</{urn:p}e>|<{urn:q}e {urn:q}a=\"2\">|</{urn:q}e>|"
              "<{urn:r}ee {urn:r}aa=\"3\">|</{urn:r}ee>|</r>|END",
              events("<r>" + bodies[1] + "</r>"));
}

TEST(XmlPullParserTest, AStreamThatFailedToOpenIsAnEmptyDocument)
{
    std::ifstream missing(KELVANE_SOURCE_DIR "/no/such/file.xml");
    EXPECT_EQ("ERROR:Xml Parser Exception : no root element", PullParserTrace::trace(missing, false, false));
}

struct CallCase {
    const char* what;
    void (*call)(XmlPullParser&);
};

TEST(XmlPullParserTest, MisuseThrows)
{
    const CallCase cases[] = {
        {"require type", [](XmlPullParser& p) { p.require(XmlPullParser::END_TAG, "", ""); }},
        {"require name", [](XmlPullParser& p) { p.require(XmlPullParser::START_TAG, "urn:x", "b"); }},
        {"require bad type", [](XmlPullParser& p) { p.require(42, "", "a"); }},
        {"feature", [](XmlPullParser& p) { p.setFeature("http://example.org/feature", true); }},
        {"short feature", [](XmlPullParser& p) { p.setFeature("http://xmlpull.org/v1/doc/", true); }},
        {"namespace count", [](XmlPullParser& p) { p.getNamespaceCount(2); }},
        {"negative namespace count", [](XmlPullParser& p) { p.getNamespaceCount(-1); }},
        {"namespace prefix", [](XmlPullParser& p) { p.getNamespacePrefix(1); }},
        {"namespace uri", [](XmlPullParser& p) { p.getNamespaceUri(-1); }},
        {"attribute", [](XmlPullParser& p) { p.getAttributeValue(1); }},
        {"attribute name", [](XmlPullParser& p) { p.getAttributeName(-1); }},
        {"attribute prefix", [](XmlPullParser& p) { p.getAttributePrefix(5); }},
        {"attribute namespace", [](XmlPullParser& p) { p.getAttributeNamespace(1); }},
        {"next tag on text", [](XmlPullParser& p) { p.nextTag(); }},
    };
    for (const auto& c : cases) {
        std::istringstream in("<a xmlns='urn:a' x='1'>text<b/></a>");
        XmlPullParser p(in);
        p.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        ASSERT_EQ(XmlPullParser::START_TAG, p.next());
        EXPECT_THROW(c.call(p), XmlPullParserException) << c.what;
    }
}

// The text handed as a view is the text getText() gives, for every event of
// every document read event by event and token by token, entity references
// left unexpanded and tags included.
TEST(XmlPullParserTest, TextViewsHoldWhatGetTextGives)
{
    // The token documents hold an unknown entity, which only token reading passes.
    const struct {
        const char* section;
        std::vector<bool> tokenReading;
    } sections[] = {{"next", {false, true}}, {"next-token", {true}}};
    for (const auto& section : sections) {
        for (const auto& c : testsupport::caseTable("xml/data/pullparser.cases", section.section)) {
            for (const bool tokens : section.tokenReading) {
                std::istringstream in(c[0]);
                XmlPullParser p(in);
                p.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
                int events = 0;
                for (int e = tokens ? p.nextToken() : p.next(); e != XmlPullParser::END_DOCUMENT;
                     e = tokens ? p.nextToken() : p.next()) {
                    ASSERT_EQ(p.getText(), p.getTextView()) << c[0] << " event " << events;
                    ++events;
                }
                EXPECT_EQ("", p.getTextView()) << c[0];
                EXPECT_GT(events, 0) << c[0];
            }
        }
    }
}

TEST(XmlPullParserTest, AttributeAccessorsRefuseAnyIndexOffAStartTag)
{
    std::istringstream in("<a x='1'>t</a>");
    XmlPullParser p(in);
    EXPECT_EQ(-1, p.getAttributeCount());
    EXPECT_THROW(p.getAttributeValue(0), XmlPullParserException);
    p.next();
    EXPECT_EQ("1", p.getAttributeValue(0));
    p.next();
    EXPECT_EQ(-1, p.getAttributeCount());
    EXPECT_THROW(p.getAttributeValue(0), XmlPullParserException);
    EXPECT_EQ("", p.getAttributeValue("", "x"));
}

// The events nextTag() gives, with positions and depths, up to the end or an error.
std::string tagTrace(std::istream& in)
{
    XmlPullParser parser(in);
    parser.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    std::string out;
    try {
        while (parser.nextTag() != XmlPullParser::END_DOCUMENT) {
            out += PullParserTrace::describe(parser, true) + "|";
        }
        out += PullParserTrace::describe(parser, true);
    } catch (const XmlPullParserException& e) {
        out += PullParserTrace::describe(e, true);
    }
    return out;
}

// Read a byte at a time, the blanks before a tag go character by character as
// a text of their own; nextTag() passes over them in one go when they lie in
// a whole block. Events, lines, columns, depths and errors must agree.
TEST(XmlPullParserTest, NextTagPassesBlankTextAsReadingItWould)
{
    const std::string blanks[] = {"\n", "\r\n", "\r", " \t ", "\r\n    ", "\n\r", "\r\r\n", "\r\n\r\n\t"};
    const std::string after[] = {"<b/>",          "<b x='1'>\n</b>", "</r>", "<!-- c --><b/>",
                                 "<?pi d?><b/>", "x<b/>",           "<![CDATA[ ]]><b/>"};
    std::vector<std::string> documents;
    for (const auto& blank : blanks) {
        for (const auto& next : after) {
            documents.push_back("<r>" + blank + "<a/>" + blank + next + blank + "</r>" + blank);
        }
    }
    // The '<' after the blanks, and the character after it, on either side of a block boundary.
    for (std::size_t pad = 8192 - 12; pad <= 8192; ++pad) {
        documents.push_back("<r>" + std::string(pad - 3, ' ') + "<a/>\r\n  <b/>\r\n</r>");
    }
    for (const auto& xml : documents) {
        std::istringstream whole(xml);
        OneByteStreamBuf buffer(xml);
        std::istream oneByte(&buffer);
        const std::string trace = tagTrace(whole);
        EXPECT_EQ(tagTrace(oneByte), trace) << xml;
        EXPECT_NE(std::string::npos, trace.find("<a>")) << trace;
    }
}

TEST(XmlPullParserTest, NextTagSkipsWhitespaceAndHonoursPushBack)
{
    std::istringstream in("<?xml version='1.0'?>\n<a>\n  <b><c>x</c><d/></b>\n  <e/>\n</a>\n");
    XmlPullParser p(in);
    p.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    p.require(XmlPullParser::START_DOCUMENT, "", "");
    ASSERT_EQ(XmlPullParser::START_TAG, p.nextTag());
    p.require(XmlPullParser::START_TAG, "", "a");
    ASSERT_EQ(XmlPullParser::START_TAG, p.nextTag());
    EXPECT_EQ("b", p.getName());
    p.pushBackTag();
    ASSERT_EQ(XmlPullParser::START_TAG, p.nextTag());
    EXPECT_EQ("b", p.getName());
    EXPECT_EQ(XmlPullParser::END_TAG, p.skipSubTree());
    EXPECT_EQ("b", p.getName());
    EXPECT_EQ(2, p.getDepth());
    ASSERT_EQ(XmlPullParser::START_TAG, p.nextTag());
    EXPECT_EQ("e", p.getName());
    ASSERT_EQ(XmlPullParser::END_TAG, p.nextTag());
    ASSERT_EQ(XmlPullParser::END_TAG, p.nextTag());
    EXPECT_EQ("a", p.getName());
    EXPECT_EQ(XmlPullParser::END_DOCUMENT, p.nextTag());
}

TEST(XmlPullParserTest, RelaxedModeAcceptsWhatStrictModeRefuses)
{
    std::istringstream in("<a b=c d='1'></x></a></y>&amp;");
    XmlPullParser p(in);
    p.setFeature("http://xmlpull.org/v1/doc/features.html#relaxed", true);
    std::string seen;
    for (int e = p.nextToken(); e != XmlPullParser::END_DOCUMENT; e = p.nextToken()) {
        seen += PullParserTrace::describe(p, false) + "/" + std::to_string(p.getDepth()) + "|";
    }
    EXPECT_EQ("<a b=\"c\" d=\"1\">/1|</x>/1|</a>/0|</y>/0|ENTITY_REF:amp=&/0|", seen);
}

// --- Input the reader used to get wrong ---

TEST(XmlPullParserTest, InvalidCharacterReferencesAreErrors)
{
    const char* const references[] = {"#",          "#x",   "#12a",     "#xZZ", "#-1",  "#x110000",
                                      "#1114112",   "#xD800", "#xDFFF", "#0",   "#x0",  "#X41",
                                      "#99999999999999999999", "#x+41", "# 65"};
    for (const char* ref : references) {
        std::string xml = std::string("<a>&") + ref + ";</a>";
        Failure f = failureOf(xml);
        EXPECT_EQ(std::string("invalid character reference: &") + ref + ";", f.message) << xml;
        EXPECT_EQ(1, f.line);
        EXPECT_EQ(static_cast<int>(xml.size()) - 4, f.column) << xml;
    }
}

TEST(XmlPullParserTest, DoctypeIsSkippedAndItsEntitiesNeverExpanded)
{
    const std::string doctype =
        "<!DOCTYPE a SYSTEM \"http://127.0.0.1:9/a.dtd\" [<!ENTITY e SYSTEM \"file:///etc/passwd\">"
        "<!ENTITY f 'x'> <!ATTLIST a b CDATA 'q>'>]>";
    EXPECT_EQ("<a>|T:t|</a>|END", events(doctype + "<a>t</a>"));
    EXPECT_EQ("unresolved: &e;", failureOf(doctype + "<a>&e;</a>").message);
    EXPECT_EQ("unresolved: &f;", failureOf(doctype + "<a>&f;</a>").message);
    EXPECT_EQ("DOCDECL:" + doctype.substr(9, doctype.size() - 10) + "|<a>|ENTITY_REF:e=|</a>|END",
              events(doctype + "<a>&e;</a>", true));
}

// Each bound admits input up to it and refuses one more.
TEST(XmlPullParserTest, DepthTextAndAttributesAreBounded)
{
    const auto tag = [](int attributes) {
        std::string xml = "<a";
        for (int i = 0; i < attributes; ++i)
            xml += " a" + std::to_string(i) + "=''";
        return xml + "/>";
    };
    const int depth = XmlPullParser::MAX_DEPTH;
    const std::size_t text = XmlPullParser::MAX_TEXT_LENGTH;
    const int attributes = XmlPullParser::MAX_ATTRIBUTES;
    const struct {
        std::string atLimit;
        std::string overLimit;
        std::string message;
    } cases[] = {
        {repeat("<a>", depth) + repeat("</a>", depth), repeat("<a>", depth + 1),
         "elements nested deeper than " + std::to_string(depth)},
        {"<a>" + std::string(text, 'x') + "</a>", "<a>" + std::string(text + 1, 'x') + "</a>",
         "text longer than " + std::to_string(text) + " bytes"},
        {"<a b='" + std::string(text, 'x') + "'/>", "<a b='" + std::string(text + 1, 'x') + "'/>",
         "text longer than " + std::to_string(text) + " bytes"},
        {tag(attributes), tag(attributes + 1), "more than " + std::to_string(attributes) + " attributes"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string::npos, traceWhole(c.atLimit, false, false).find("ERROR")) << c.message;
        EXPECT_EQ(c.message, failureOf(c.overLimit).message);
    }
    EXPECT_EQ(3 * (depth + 1), failureOf(repeat("<a>", depth + 1)).column);
}

// count declarations xmlns:<name>N='urn:N' from N = first, for a start tag.
std::string declarations(const std::string& name, int first, int count)
{
    std::string xml;
    for (int i = first; i < first + count; ++i) {
        xml += " xmlns:" + name + std::to_string(i) + "='urn:" + std::to_string(i) + "'";
    }
    return xml;
}

// Every look-up of a prefix would otherwise scan all declarations in scope.
TEST(XmlPullParserTest, NamespaceDeclarationsInScopeAreBounded)
{
    const int limit = XmlPullParser::MAX_NAMESPACES;
    const int quarter = limit / 4;
    std::string nested;
    for (int level = 0; level < 4; ++level) {
        nested += "<e" + declarations("p", level * quarter, quarter) + ">";
    }
    const std::string closing = "</e></e></e></e>";
    // Declarations that went out of scope with their element count no more.
    const std::string siblings = "<r>" + repeat("<e" + declarations("p", 0, limit / 2 + 1) + "/>", 3) + "</r>";
    const std::string oneLeaf = "<p0:x p" + std::to_string(limit - 1) + ":a='1'/>";
    struct Case {
        std::string xml;
        bool accepted;
    };
    const Case cases[] = {
        {nested + oneLeaf + closing, true},
        {siblings, true},
        {nested + "<x xmlns:extra='urn:x'/>" + closing, false},
        {nested + "<x xmlns='urn:x'/>" + closing, false},
        {"<r" + declarations("p", 0, limit) + "><x" + declarations("q", 0, 1) + "/></r>", false},
    };
    for (const Case& c : cases) {
        const std::string trace = traceWhole(c.xml, false, false);
        if (c.accepted) {
            EXPECT_EQ(std::string::npos, trace.find("ERROR")) << trace.substr(trace.rfind('|'));
        } else {
            EXPECT_EQ("more than " + std::to_string(limit) + " namespace declarations in scope",
                      failureOf(c.xml).message);
        }
    }
    const std::string leafTrace = traceWhole(nested + oneLeaf + closing, false, false);
    EXPECT_NE(std::string::npos, leafTrace.find("<{urn:0}x {urn:" + std::to_string(limit - 1) + "}a=\"1\">"))
        << "inner and outer prefixes resolve";
}

// Prefixes resolve to their innermost declaration and come back into view when
// the element that hid them ends, whether a few declarations are in scope or
// so many that they are looked up by hash.
TEST(XmlPullParserTest, InnerDeclarationsHideOuterOnesUntilTheirElementEnds)
{
    for (const int filler : {0, 3, 40, 200}) {
        SCOPED_TRACE(filler);
        const std::string xml = "<p:a xmlns:p='urn:1' xmlns='urn:d'" + declarations("f", 0, filler) + ">"
                                "<p:b xmlns:p='urn:2' p:x='1'><c xmlns=''/><p:c/></p:b>"
                                "<p:d p:x='2'/><e" + declarations("f", 0, filler) + " xmlns:p='urn:3'><p:g/></e>"
                                "<p:h/></p:a>";
        EXPECT_EQ("<{urn:1}a>|<{urn:2}b {urn:2}x=\"1\">|<c>|</c>|<{urn:2}c>|</{urn:2}c>|</{urn:2}b>|"
                  "<{urn:1}d {urn:1}x=\"2\">|</{urn:1}d>|<{urn:d}e>|<{urn:3}g>|</{urn:3}g>|</{urn:d}e>|"
                  "<{urn:1}h>|</{urn:1}h>|</{urn:1}a>|END",
                  events(xml));
    }
}

// Past the names the parser shares between tags, tags keep names of their
// own: nested deep, prefixed and with attributes, they read as the shared ones do.
TEST(XmlPullParserTest, NamesBeyondTheSharedOnesReadAlike)
{
    std::string xml = "<r xmlns:p='urn:p'>";
    std::string expected = "<r>|";
    for (int i = 0; i < 4200; ++i) {
        const std::string n = std::to_string(i);
        xml += "<p:n" + n + " a" + n + "='" + n + "'/>";
        expected += "<{urn:p}n" + n + " a" + n + "=\"" + n + "\">|</{urn:p}n" + n + ">|";
    }
    for (int d = 0; d < 40; ++d) {
        const std::string n = std::to_string(d);
        xml += "<q" + n + ":deep" + n + " xmlns:q" + n + "='urn:" + n + "' q" + n + ":at" + n + "='v' plain" + n +
               "='w'>";
        expected += "<{urn:" + n + "}deep" + n + " {urn:" + n + "}at" + n + "=\"v\" plain" + n + "=\"w\">|";
    }
    for (int d = 39; d >= 0; --d) {
        const std::string n = std::to_string(d);
        xml += "</q" + n + ":deep" + n + ">";
        expected += "</{urn:" + n + "}deep" + n + ">|";
    }
    xml += "<p:n0/></r>";
    expected += "<{urn:p}n0>|</{urn:p}n0>|</r>|END";
    EXPECT_EQ(expected, events(xml));
    EXPECT_EQ("Duplicate Attribute: dup9999", failureOf(xml.substr(0, xml.size() - 4) + "<x dup9999='1' dup9999='2'/>").message);
    EXPECT_EQ("expected: q1:deep1", failureOf(xml.substr(0, xml.find("</q1:deep1>")) + "</q0:deep0>").message);
}

// Tags with many attributes are checked for duplicates by hash; the result is
// the same as pairwise, and the declarations leave the others in their order.
TEST(XmlPullParserTest, ManyAttributesAreCheckedLikeFew)
{
    for (const int count : {3, 40, 500}) {
        SCOPED_TRACE(count);
        std::string names;
        std::string prefixed;
        std::string interleaved;
        std::string expected;
        for (int i = 0; i < count; ++i) {
            const std::string n = std::to_string(i);
            const std::string attribute = " p" + n + ":a='" + n + "'";
            names += " a" + n + "='" + n + "'";
            prefixed += attribute;
            interleaved += (i % 2 == 0 ? attribute + declarations("p", i, 1) : declarations("p", i, 1) + attribute);
            expected += " {urn:" + n + "}a=\"" + n + "\"";
        }
        EXPECT_EQ("Duplicate Attribute: a0", failureOf("<x" + names + " a0='again'/>").message);
        EXPECT_EQ("Duplicate Attribute: {urn:0}a",
                  failureOf("<x" + declarations("p", 0, count) + " xmlns:q='urn:0'" + prefixed + " q:a='again'/>")
                      .message);
        // One local name in as many namespaces is no duplicate.
        EXPECT_EQ("<x" + expected + ">|</x>|END", events("<x" + interleaved + "/>"));
    }
}

// parseInt folds digits of the radix; -1 stands for an empty text, and
// anything else that is no number in int's range is refused (refused).
TEST(XmlPullParserTest, ParseInt)
{
    // Rows: text, radix, value, 1 when refused.
    for (const auto& c : testsupport::caseTable("xml/data/pullparser.cases", "parse-int")) {
        if (c.flag(3))
            EXPECT_THROW(parseInt(c[0], c.number(1)), XmlPullParserException) << c[0];
        else
            EXPECT_EQ(c.number(2), parseInt(c[0], c.number(1))) << c[0];
    }
}

} // namespace

// A reader whose input is let go keeps the event and position it stood at,
// inside the document or at its end; reading on finds the input's end as an
// unfinished document does (what was read ahead is gone), and never reads
// the block the reader let go (the sanitizers' build would see it).
TEST(XmlPullParserTest, ReleasedInputKeepsTheEventAndPositionAndEndsTheInput)
{
    const struct {
        const char* xml;
        int starts; // start tags read before the input is let go; -1: to the document's end
        int event;
        const char* name;
        int line;
        const char* readOn; // the events that follow, "END" for the document's end, "!" for a failure
    } cases[] = {
        {"<a>\n  <b x='1'>text</b>\n</a>\n", 2, XmlPullParser::START_TAG, "b", 2, "!"},
        {"<a/>\n", 1, XmlPullParser::START_TAG, "a", 1, "/a END"},
        {"<a>\n</a>\n", -1, XmlPullParser::END_DOCUMENT, "", 3, "END"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.xml);
        XmlPullParser p(in);
        for (int seen = 0; c.starts < 0 ? p.getEventType() != XmlPullParser::END_DOCUMENT : seen < c.starts;) {
            if (p.next() == XmlPullParser::START_TAG)
                ++seen;
        }
        const int column = p.getColumnNumber();
        p.releaseInput();
        EXPECT_EQ(c.event, p.getEventType()) << c.xml;
        EXPECT_EQ(c.name, p.getName()) << c.xml;
        EXPECT_EQ(c.line, p.getLineNumber()) << c.xml;
        EXPECT_EQ(column, p.getColumnNumber()) << c.xml;
        std::string readOn;
        try {
            for (int e = p.next(); e != XmlPullParser::END_DOCUMENT; e = p.next())
                readOn += (e == XmlPullParser::END_TAG ? "/" : "?") + p.getName() + " ";
            readOn += "END";
        } catch (const XmlPullParserException&) {
            readOn += "!";
        }
        EXPECT_EQ(c.readOn, readOn) << c.xml;
    }
}
