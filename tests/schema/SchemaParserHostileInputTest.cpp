// Schema documents written to hurt the parser: includes, imports and
// redefines that name themselves under ever new spellings, chains that never
// end (also made up by a server), and floods of references.

#include "SchemaParserTestSupport.h"
#include "support/LoopbackHttpServer.h"
#include "net/FetchUri.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace Schema;
using namespace schematest;
using testsupport::writeBytes;

namespace {

const char* const XsOpen = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" )";
const char* const NestingMessage = "Schema documents nested more than 32 deep at ";

struct HostileSchemas : ::testing::Test {
    void TearDown() override { removeFetchedFiles(); }
    testsupport::ScopedWorkingFolder folder;
};

// A document that names itself through a spelling that changes the location
// (an empty or "." segment) ends as a cycle: it is read once.
TEST_F(HostileSchemas, DocumentsThatNameThemselvesAreReadOnce)
{
    const struct {
        const char* name;
        const char* ns;
        const char* link;
    } cases[] = {
        {"include", "urn:a", R"(<xs:include schemaLocation=".//a.xsd"/>)"},
        {"include, three slashes", "urn:a", R"(<xs:include schemaLocation=".///.//a.xsd"/>)"},
        {"include through a folder", "urn:a", R"(<xs:include schemaLocation="sub/..//a.xsd"/>)"},
        {"redefine", "urn:a", R"(<xs:redefine schemaLocation=".//a.xsd"/>)"},
        {"import", "urn:a", R"(<xs:import namespace="urn:b" schemaLocation=".//a.xsd"/>)"},
        {"chameleon include", "", R"(<xs:include schemaLocation=".//a.xsd"/>)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string ns = c.ns;
        std::filesystem::create_directories("dir");
        writeBytes("dir/a.xsd", std::string(XsOpen) + (ns.empty() ? "" : "targetNamespace=\"" + ns + "\"") + ">\n" +
                                c.link + "\n<xs:complexType name=\"T\"/></xs:schema>\n");
        FileSchema s("dir/a.xsd");
        EXPECT_TRUE(s.ok) << s.log.str();
        EXPECT_EQ("", s.log.str());
        EXPECT_EQ(ns, s.parser.getNamespace());
        EXPECT_EQ(1, s.parser.getNumTypes());
    }
}

// Each link names the next document: "include", "import" or "redefine".
// Include and redefine keep the namespace; an import goes to a new one.
void writeChain(const std::vector<std::string>& links)
{
    std::string ns = "urn:c0";
    for (std::size_t k = 0; k <= links.size(); ++k) {
        const std::string next = "c" + std::to_string(k + 1);
        std::string link;
        std::string nextNs = ns;
        if (k < links.size() && links[k] == "import") {
            nextNs = "urn:" + next;
            link = "<xs:import namespace=\"" + nextNs + "\" schemaLocation=\"" + next + ".xsd\"/>";
        } else if (k < links.size()) {
            link = "<xs:" + links[k] + " schemaLocation=\"" + next + ".xsd\"/>";
        }
        writeBytes("c" + std::to_string(k) + ".xsd", std::string(XsOpen) + "targetNamespace=\"" + ns + "\">\n" +
                                                         link + "\n<xs:complexType name=\"T" + std::to_string(k) +
                                                         "\"/></xs:schema>\n");
        ns = nextNs;
    }
}

std::vector<std::string> chainOf(const std::vector<std::string>& pattern, std::size_t length)
{
    std::vector<std::string> links;
    for (std::size_t k = 0; k < length; ++k)
        links.push_back(pattern[k % pattern.size()]);
    return links;
}

// One bound counts every kind of nesting of one parse: 32 documents inside
// one another are read, the 33rd is refused where it is named, and every
// document around it fails with the reason.
TEST_F(HostileSchemas, NestingIsBoundedAcrossIncludesImportsAndRedefines)
{
    const std::vector<std::vector<std::string>> patterns = {
        {"include"}, {"import"}, {"redefine"}, {"include", "import", "redefine"}, {"import", "include"}};
    for (const auto& pattern : patterns) {
        for (const std::size_t length : {32u, 33u, 200u}) {
            SCOPED_TRACE(pattern.front() + " x" + std::to_string(pattern.size()) + ", " + std::to_string(length));
            writeChain(chainOf(pattern, length));
            FileSchema s("c0.xsd");
            const bool readable = length <= 32;
            EXPECT_EQ(readable, s.ok) << s.log.str();
            if (readable) {
                EXPECT_EQ("", s.log.str());
                continue;
            }
            // At the link that goes too deep, in the document that holds it.
            EXPECT_TRUE(s.logged("c32.xsd:2:")) << s.log.str();
            EXPECT_TRUE(s.logged(": Schema Parser Exception : " + std::string(NestingMessage) + "c33.xsd\n"))
                << s.log.str();
            EXPECT_EQ("urn:c0", s.parser.getNamespace());
            removeFetchedFiles();
        }
    }
}

// A server that answers every location with a document naming a new one
// is asked no more than the bound allows.
TEST_F(HostileSchemas, MadeUpLocationsOfAServerEndAtTheBound)
{
    const int served = 80;
    for (const std::string kind : {"include", "import", "redefine"}) {
        SCOPED_TRACE(kind);
        testsupport::LoopbackHttpServer server;
        for (int n = 1; n <= served; ++n) {
            const std::string next = "s.xsd?n=" + std::to_string(n + 1);
            const std::string ns = kind == "import" ? "urn:n" + std::to_string(n) : "urn:t";
            const std::string link = kind == "import"
                ? "<xs:import namespace=\"urn:n" + std::to_string(n + 1) + "\" schemaLocation=\"" + next + "\"/>"
                : "<xs:" + kind + " schemaLocation=\"" + next + "\"/>";
            server.serve("/s.xsd?n=" + std::to_string(n),
                         testsupport::LoopbackHttpServer::Reply{
                             200, std::string(XsOpen) + "targetNamespace=\"" + ns + "\">" + link + "</xs:schema>"});
        }
        const std::string first = kind == "import"
            ? "<xs:import namespace=\"urn:n1\" schemaLocation=\"" + server.url("/s.xsd?n=1") + "\"/>"
            : "<xs:" + kind + " schemaLocation=\"" + server.url("/s.xsd?n=1") + "\"/>";
        ParsedSchema s(schema(first));
        EXPECT_FALSE(s.ok);
        EXPECT_TRUE(s.logged(NestingMessage + server.url("/s.xsd?n=33") + "\n")) << s.text();
        EXPECT_EQ(1, server.requestCount("/s.xsd?n=32"));
        EXPECT_EQ(0, server.requestCount("/s.xsd?n=33"));
        removeFetchedFiles();
    }
}

// Many references to declarations that come later are all settled, each
// where it waits, and every one without a declaration is reported.
TEST(HostileSchemaReferences, ManyForwardReferencesAreAllSettled)
{
    const int count = 3000;
    std::string body = "<xs:complexType name=\"Many\"><xs:sequence>";
    for (int i = 0; i < count; ++i)
        body += "<xs:element ref=\"tns:e" + std::to_string(i) + "\" minOccurs=\"0\"/>";
    body += "<xs:element ref=\"tns:e7\" maxOccurs=\"3\"/><xs:element ref=\"tns:missing\"/>";
    body += "<xs:element ref=\"tns:missing\"/></xs:sequence></xs:complexType>\n";
    body += "<xs:group name=\"G\"><xs:sequence><xs:element ref=\"tns:e1\"/></xs:sequence></xs:group>\n";
    body += "<xs:attributeGroup name=\"AG\"><xs:attribute ref=\"tns:a\"/></xs:attributeGroup>\n";
    body += "<xs:complexType name=\"WithGroups\"><xs:group ref=\"tns:G\"/><xs:attributeGroup ref=\"tns:AG\"/>"
            "</xs:complexType>\n";
    for (int i = 0; i < count; ++i)
        body += "<xs:element name=\"e" + std::to_string(i) + "\" type=\"xs:" + (i % 2 == 0 ? "int" : "date") +
            "\"/>\n";
    body += "<xs:attribute name=\"a\" type=\"xs:boolean\"/>";
    ParsedSchema s(schema(body));
    ASSERT_TRUE(s.ok) << s.text().substr(0, 500);

    const ContentModel* model = s.complex("Many")->getContentModel();
    ASSERT_EQ(static_cast<std::size_t>(count + 3), model->getContents().size());
    int wrong = 0;
    for (int i = 0; i < count; ++i) {
        const Element* settled = particle(model, static_cast<std::size_t>(i));
        if (settled->isForwardRef() || settled->getType() != (i % 2 == 0 ? XSD_INT : XSD_DATE) ||
            settled->getName() != "e" + std::to_string(i) || settled->getMin() != 0)
            ++wrong;
    }
    EXPECT_EQ(0, wrong);
    EXPECT_EQ(XSD_DATE, particle(model, count)->getType());
    EXPECT_EQ(3, particle(model, count)->getMax());
    EXPECT_TRUE(particle(model, count + 1)->isForwardRef());
    const std::string miss = "Could not resolve element reference missing\n";
    const std::string log = s.text();
    EXPECT_NE(log.find(miss), log.rfind(miss)) << log; // once per mention
    EXPECT_EQ(XSD_DATE, particle(s.parser.getGroup(qname(Tns, "G"))->getContentModel(), 0)->getType());
    EXPECT_EQ(XSD_BOOLEAN, s.parser.getAttributeGroup(qname(Tns, "AG"))->getAttributes().front().getType());
}

// A name declared twice: look-ups answer the first declaration, as they did
// when they walked the lists.
TEST(HostileSchemaReferences, TheFirstOfTwoDeclarationsCounts)
{
    ParsedSchema s(schema(R"(<xs:element name="E" type="xs:int"/><xs:element name="E" type="xs:date"/>
  <xs:attribute name="A" type="xs:int"/><xs:attribute name="A" type="xs:date"/>
  <xs:group name="G"><xs:sequence><xs:element name="first"/></xs:sequence></xs:group>
  <xs:group name="G"><xs:sequence><xs:element name="second"/></xs:sequence></xs:group>
  <xs:attributeGroup name="AG"><xs:attribute name="first"/></xs:attributeGroup>
  <xs:attributeGroup name="AG"><xs:attribute name="second"/></xs:attributeGroup>)"));
    ASSERT_TRUE(s.ok) << s.text();
    EXPECT_EQ(XSD_INT, s.parser.getElement(qname(Tns, "E"))->getType());
    EXPECT_EQ(XSD_INT, s.parser.getAttribute(qname(Tns, "A"))->getType());
    EXPECT_EQ("first", particle(s.parser.getGroup(qname(Tns, "G"))->getContentModel(), 0)->getName());
    EXPECT_EQ("first", s.parser.getAttributeGroup(qname(Tns, "AG"))->getAttributes().front().getName());
    // A name without namespace is this schema's; the schema element is XML Schema's.
    EXPECT_EQ(s.parser.getElement(qname(Tns, "E")), s.parser.getElement(qname("", "E")));
    EXPECT_EQ(XSD_SCHEMA, s.parser.getElement(qname(SchemaUri, "schema"))->getType());
    EXPECT_EQ(nullptr, s.parser.getElement(qname(OtherNs, "E")));
}

} // namespace
