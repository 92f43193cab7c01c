#include "xml/XmlPullParser.h"

#include "support/OneByteStreamBuf.h"
#include "support/PullParserTrace.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace std::string_literals;

// What XML requires of a document body beyond what the pull parser first
// checked, and well-formed input it used to refuse or read wrongly.
namespace {

// Every event with its position; the same whether the stream hands the
// document over whole or one byte per read.
std::string traced(const std::string& xml, bool tokens)
{
    std::istringstream whole(xml);
    const std::string trace = PullParserTrace::trace(whole, tokens, true);
    OneByteStreamBuf buffer(xml);
    std::istream oneByte(&buffer);
    EXPECT_EQ(trace, PullParserTrace::trace(oneByte, tokens, true)) << xml;
    return trace;
}

struct Malformed {
    std::string xml;
    std::string message;
    int line;
    int column;
    bool tokens = false;
};

std::string errorOf(const Malformed& c)
{
    const std::string trace = traced(c.xml, c.tokens);
    const std::size_t error = trace.rfind("ERROR:");
    if (error == std::string::npos) {
        return "accepted: " + trace;
    }
    // "ERROR:<description>@line:column STATE"
    return trace.substr(error, trace.find(' ', trace.rfind('@')) - error);
}

void expectErrors(const std::vector<Malformed>& cases)
{
    for (const auto& c : cases) {
        EXPECT_EQ("ERROR:Xml Parser Exception : " + c.message + "@" + std::to_string(c.line) + ":" +
                      std::to_string(c.column),
                  errorOf(c))
            << c.xml;
    }
}

TEST(XmlWellFormednessTest, ADocumentHasOneRootAndAtMostOneDoctypeBeforeIt)
{
    expectErrors({
        {"", "no root element", 1, 0},
        {"<?xml version='1.0'?>\n<!-- c -->\n<?pi x?> ", "no root element", 3, 10},
        {"<!DOCTYPE a>", "no root element", 1, 12},
        {"<a/><b/>", "only one root element allowed", 1, 4},
        {"<a></a>\n<a></a>", "only one root element allowed", 2, 1},
        {"<a/><!DOCTYPE a>", "misplaced DOCTYPE", 1, 13},
        {"<a><!DOCTYPE a></a>", "misplaced DOCTYPE", 1, 12},
        {"<!DOCTYPE a><!DOCTYPE a><a/>", "misplaced DOCTYPE", 1, 21},
        {"<!DOCTYPE a><a/><!DOCTYPE a>", "misplaced DOCTYPE", 1, 25, true},
    });
}

TEST(XmlWellFormednessTest, ControlCharactersAreRefusedWhereverTheyStand)
{
    expectErrors({
        {"<a>x\x01y</a>", "illegal control character: #x01", 1, 4},
        {"<a b='\x02'/>", "illegal control character: #x02", 1, 6},
        {"<a b='x' \x0C/>", "illegal control character: #x0C", 1, 10},
        {"<a\x0B/>", "illegal control character: #x0B", 1, 3},
        {"<a><!-- \x1F --></a>", "illegal control character: #x1F", 1, 9},
        {"<a><!-- \0 --></a>"s, "illegal NUL character", 1, 9},
        {"<a><?pi \x10?></a>", "illegal control character: #x10", 1, 9},
        {"<a><![CDATA[\x7F\x1B]]></a>", "illegal control character: #x1B", 1, 14},
        {"\x01<a/>", "illegal control character: #x01", 1, 0},
        {"<a/>\x08", "illegal control character: #x08", 1, 4},
        {"<!DOCTYPE a [\x0E]><a/>", "illegal control character: #x0E", 1, 14},
        {"<a>&#x1F;</a>", "invalid character reference: &#x1F;", 1, 9},
        {"<a>&#8;</a>", "invalid character reference: &#8;", 1, 7},
        {"<a>&#xFFFE;</a>", "invalid character reference: &#xFFFE;", 1, 11},
        {"<a b='&#xFFFF;'/>", "invalid character reference: &#xFFFF;", 1, 14},
    });
}

TEST(XmlWellFormednessTest, DelimitersMayNotAppearWhereXmlForbidsThem)
{
    expectErrors({
        {"<a><!-- x -- y --></a>", "'--' not allowed in comment", 1, 11},
        {"<a><!-- x --- y --></a>", "'--' not allowed in comment", 1, 12},
        {"<a>x]]>y</a>", "']]>' not allowed in text", 1, 6},
        {"<a>]]]]></a>", "']]>' not allowed in text", 1, 7},
        {"<a b='x<y'/>", "'<' not allowed in attribute value", 1, 7},
        {"<a b=\"<\"/>", "'<' not allowed in attribute value", 1, 6},
        {"<a b='1'c='2'/>", "whitespace expected between attributes", 1, 8},
        {"<a b=\"1\"b:c='2'/>", "whitespace expected between attributes", 1, 8},
        {"<?xml version='1.0'encoding='UTF-8'?><a/>", "whitespace expected between attributes", 1, 19},
        {"<a / >", "expected: '>' actual: ' '", 1, 5},
        {"<a/ >", "expected: '>' actual: ' '", 1, 4},
    });
}

TEST(XmlWellFormednessTest, ProcessingInstructionTargetsAndTheXmlDeclarationAreChecked)
{
    expectErrors({
        {"<a><? x?></a>", "PI target expected", 1, 5},
        {"<a><?\?></a>", "PI target expected", 1, 5},
        {"<a><?XML x?></a>", "PI must not start with xml", 1, 7},
        {"<a><?xMl?></a>", "PI must not start with xml", 1, 7},
        {"<?XML version='1.0'?><a/>", "PI must not start with xml", 1, 4},
        {"<a/><?xml version='1.0'?>", "PI must not start with xml", 1, 8},
        {"<a><?pi\"x\"?></a>", "whitespace expected after PI target: pi", 1, 7},
        {"<a><?pi/?></a>", "whitespace expected after PI target: pi", 1, 7},
        {"<a><?p:i x?></a>", "illegal PI target: p:i", 1, 8},
        {"<?xml version='1.0 '?><a/>", "illegal version: 1.0 ", 1, 22},
        {"<?xml version='2.0'?><a/>", "illegal version: 2.0", 1, 21},
        {"<?xml version='a b'?><a/>", "illegal version: a b", 1, 21},
        {"<?xml version='1.'?><a/>", "illegal version: 1.", 1, 20},
        {"<?xml version='1.0' encoding='UTF#8'?><a/>", "illegal encoding: UTF#8", 1, 38},
        {"<?xml version='1.0' encoding=' utf-8'?><a/>", "illegal encoding:  utf-8", 1, 39},
        {"<?xml version='1.0' encoding=''?><a/>", "illegal encoding: ", 1, 33},
    });
}

TEST(XmlWellFormednessTest, NamespaceConstraintsAreErrors)
{
    const std::string xmlUri = XmlPullParser::XML_NAMESPACE;
    const std::string xmlnsUri = XmlPullParser::XMLNS_NAMESPACE;
    expectErrors({
        {"<a xmlns:='urn:x'/>", "illegal namespace declaration: xmlns:=\"urn:x\"", 1, 19},
        {"<a xmlns:xml='urn:x'/>", "illegal namespace declaration: xmlns:xml=\"urn:x\"", 1, 22},
        {"<a xmlns:xmlns='urn:x'/>", "illegal namespace declaration: xmlns:xmlns=\"urn:x\"", 1, 24},
        {"<a xmlns:p='" + xmlUri + "'/>", "illegal namespace declaration: xmlns:p=\"" + xmlUri + "\"", 1, 51},
        {"<a xmlns:p='" + xmlnsUri + "'/>", "illegal namespace declaration: xmlns:p=\"" + xmlnsUri + "\"", 1, 44},
        {"<a xmlns='" + xmlUri + "'/>", "illegal namespace declaration: xmlns=\"" + xmlUri + "\"", 1, 49},
        {"<a xmlns:p:q='urn:x'/>", "illegal namespace declaration: xmlns:p:q=\"urn:x\"", 1, 22},
        {"<a:b:c xmlns:a='urn:a'/>", "illegal tag name: a:b:c", 1, 24},
        {"<a: xmlns:a='urn:a'/>", "illegal tag name: a:", 1, 21},
        {"<x xmlns:a='urn:a' a:b:c='1'/>", "illegal attribute name: a:b:c", 1, 30},
        {"<x xmlns:a='urn:a' a:='1'/>", "illegal attribute name: a:", 1, 27},
    });
}

// The reference must be a name closed by ';', and under nextToken a reference
// in an attribute value is refused like under next rather than dropped.
TEST(XmlWellFormednessTest, EntityReferencesAreNamesAndNeverDropped)
{
    expectErrors({
        {"<a>&1;</a>", "illegal entity name: &1;", 1, 6},
        {"<a>&;</a>", "illegal entity name: &;", 1, 5},
        {"<a>&a.b/c;</a>", "illegal entity name: &a.b/c;", 1, 10},
        {"<a>&1;</a>", "illegal entity name: &1;", 1, 6, true},
        {"<a>a & b;</a>", "unterminated entity reference: &", 1, 7},
        {"<a>&lt b;</a>", "unterminated entity reference: &lt", 1, 7, true},
        {"<a>&amp<b/></a>", "unterminated entity reference: &amp", 1, 8},
        {"<a b='x&foo;y'/>", "unresolved: &foo;", 1, 12, true},
        {"<a b='x&foo;y'/>", "unresolved: &foo;", 1, 12},
    });
}

struct WellFormed {
    std::string xml;
    const char* events;
    bool tokens = false;
};

void expectEvents(const std::vector<WellFormed>& cases)
{
    for (const auto& c : cases) {
        std::istringstream in(c.xml);
        EXPECT_EQ(c.events, PullParserTrace::trace(in, c.tokens, false)) << c.xml;
        traced(c.xml, c.tokens);
    }
}

TEST(XmlWellFormednessTest, TheInternalSubsetIsSkippedAsXmlDefinesIt)
{
    expectEvents({
        {"<!DOCTYPE a [<!-- it's -->]><a/>", "<a>|</a>|END"},
        {"<!DOCTYPE a [<!ENTITY e \"it's\">]><a/>", "<a>|</a>|END"},
        {"<!DOCTYPE a [<!ENTITY e 'say \"<x>\"'>]><a/>", "<a>|</a>|END"},
        {"<!DOCTYPE a [<!ATTLIST a b CDATA \"'>\">]><a/>", "<a>|</a>|END"},
        {"<!DOCTYPE a [<?pi it's <a> ?><!-- \"> -->]><a/>", "<a>|</a>|END"},
        {"<!DOCTYPE a SYSTEM \"a>b'.dtd\"><a/>", "<a>|</a>|END"},
        {"<!DOCTYPE a [<!---->]>\n<a/>", "DOCDECL: a [<!---->]|WS:\n|<a>|</a>|END", true},
        {"<!DOCTYPE a [<!ENTITY e \"'\">]><a/>", "DOCDECL: a [<!ENTITY e \"'\">]|<a>|</a>|END", true},
    });
    expectErrors({
        {"<!DOCTYPE a [<!-- x ]><a/>", "Unexpected EOF", 1, 27},
        {"<!DOCTYPE a [<!ENTITY e \"x>]><a/>", "Unexpected EOF", 1, 34},
    });
}

TEST(XmlWellFormednessTest, ValuesReadAsXmlDefinesThem)
{
    expectEvents({
        // Literal tabs and line breaks in a value read as spaces, written as references they stay.
        {"<a b='x\ty\r\nz\rw\n'/>", "<a b=\"x y z w \">|</a>|END"},
        {"<a b=\"&#9;&#10;&#13;\t\"/>", "<a b=\"\t\n\r \">|</a>|END"},
        {"<a b='\t' c='\t\t'/>", "<a b=\" \" c=\"  \">|</a>|END"},
        // Markup-like text that is allowed.
        {"<a>]]&gt;]]x]>]</a>", "<a>|T:]]>]]x]>]|</a>|END"},
        {"<a>]]<!---->></a>", "<a>|T:]]>|</a>|END"},
        {"<a b='a]]>b'>x->y</a>", "<a b=\"a]]>b\">|T:x->y|</a>|END"},
        {"<a><!-- - x - --></a>", "<a>|</a>|END"},
        {"<a><!---x--></a>", "<a>|COMMENT:-x|</a>|END", true},
        {"<a b='1'\tc='2'\nd='3' /><!-- c -->", "<a b=\"1\" c=\"2\" d=\"3\">|</a>|END"},
        {"<?xml version='1.1' encoding='ISO-8859-1' ?><a/>", "<a>|</a>|END"},
        {"<a><?xml-stylesheet href='x'?><?pi?><?xm?><?_p\ty?></a>", "<a>|</a>|END"},
        {"<a xmlns:xml='http://www.w3.org/XML/1998/namespace' xml:lang='en'/>",
         "<a {http://www.w3.org/XML/1998/namespace}lang=\"en\">|</a>|END"},
        {"<a>&#x9;&#xA;&#xD;&#xFFFD;&#x10000;</a>", "<a>|T:\t\n\r\xEF\xBF\xBD\xF0\x90\x80\x80|</a>|END"},
        {"<a>&foo;&a.b-c;</a>", "<a>|ENTITY_REF:foo=|ENTITY_REF:a.b-c=|</a>|END", true},
    });
}

TEST(XmlWellFormednessTest, NamespaceChecksWaitForNamespaceProcessing)
{
    std::istringstream in("<a:b:c a:='1'><?p:i x?></a:b:c>");
    EXPECT_EQ("<a:b:c a:=\"1\">|</a:b:c>|END", PullParserTrace::trace(in, false, false, false));
}

} // namespace
