#include "xml/XmlPullParser.h"

#include "support/CaseFile.h"
#include "support/OneByteStreamBuf.h"
#include "support/PullParserTrace.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

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

// Rows of data/wellformedness.cases: document, message, line, column, and 1
// to read by nextToken.
void expectErrors(const std::string& section)
{
    for (const auto& c : testsupport::caseTable("xml/data/wellformedness.cases", section)) {
        const std::string trace = traced(c[0], c.flag(4));
        const std::size_t error = trace.rfind("ERROR:");
        // "ERROR:<description>@line:column STATE"
        const std::string found = error == std::string::npos
            ? "accepted: " + trace
            : trace.substr(error, trace.find(' ', trace.rfind('@')) - error);
        EXPECT_EQ("ERROR:Xml Parser Exception : " + c[1] + "@" + c[2] + ":" + c[3], found)
            << c[0] << " (line " << c.line << ")";
    }
}

// Rows: document, events, and 1 to read by nextToken.
void expectEvents(const std::string& section)
{
    for (const auto& c : testsupport::caseTable("xml/data/wellformedness.cases", section)) {
        std::istringstream in(c[0]);
        EXPECT_EQ(c[1], PullParserTrace::trace(in, c.flag(2), false)) << c[0];
        traced(c[0], c.flag(2));
    }
}

TEST(XmlWellFormednessTest, ADocumentHasOneRootAndAtMostOneDoctypeBeforeIt) { expectErrors("one-root"); }
TEST(XmlWellFormednessTest, ControlCharactersAreRefusedWhereverTheyStand) { expectErrors("control-characters"); }
TEST(XmlWellFormednessTest, DelimitersMayNotAppearWhereXmlForbidsThem) { expectErrors("delimiters"); }

TEST(XmlWellFormednessTest, ProcessingInstructionTargetsAndTheXmlDeclarationAreChecked)
{
    expectErrors("pi-and-declaration");
}

TEST(XmlWellFormednessTest, NamespaceConstraintsAreErrors) { expectErrors("namespace-constraints"); }

// The reference must be a name closed by ';', and under nextToken a reference
// in an attribute value is refused like under next rather than dropped.
TEST(XmlWellFormednessTest, EntityReferencesAreNamesAndNeverDropped) { expectErrors("entity-references"); }

TEST(XmlWellFormednessTest, TheInternalSubsetIsSkippedAsXmlDefinesIt)
{
    expectEvents("internal-subset");
    expectErrors("internal-subset-errors");
}

// Literal tabs and line breaks in a value read as spaces, written as
// references they stay; markup-like text that XML allows is text.
TEST(XmlWellFormednessTest, ValuesReadAsXmlDefinesThem) { expectEvents("values"); }

TEST(XmlWellFormednessTest, NamespaceChecksWaitForNamespaceProcessing)
{
    std::istringstream in("<a:b:c a:='1'><?p:i x?></a:b:c>");
    EXPECT_EQ("<a:b:c a:=\"1\">|</a:b:c>|END", PullParserTrace::trace(in, false, false, false));
}

} // namespace
