// Whole schema documents: the schema element, includes, redefines, imports
// and the type look-ups across schemas.

#include "SchemaParserTestSupport.h"
#include "support/LoopbackHttpServer.h"
#include "net/FetchUri.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace Schema;
using namespace schematest;
using testsupport::writeBytes;

namespace {

const char* const XsOpen = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" )";

// A schema file of namespace ns (prefix tns) in the private folder.
void writeSchema(const std::string& name, const std::string& ns, const std::string& body,
                 const std::string& extraAttributes = std::string())
{
    const std::filesystem::path path(name);
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    writeBytes(path, std::string(XsOpen) + "xmlns:tns=\"" + ns + "\" targetNamespace=\"" + ns + "\" " +
                         extraAttributes + ">\n" + body + "\n</xs:schema>\n");
}

const SchemaParser* importedParser(const SchemaParser& parser, const std::string& ns)
{
    const int index = parser.getImportIndex(ns);
    return index < 0 ? nullptr : parser.getImports()[static_cast<std::size_t>(index)].sParser;
}

// A type this parser defines (or borrows), found by its name.
const XsdType* typeNamed(const SchemaParser& parser, const std::string& name)
{
    for (int id = FIRST_USER_TYPE; id < FIRST_USER_TYPE + parser.getNumTypes(); ++id) {
        const XsdType* type = parser.getType(id);
        if (type != nullptr && type->getName() == name)
            return type;
    }
    return nullptr;
}

struct SchemaFiles : ::testing::Test {
    void TearDown() override { removeFetchedFiles(); }
    testsupport::ScopedWorkingFolder folder;
};

TEST(SchemaParserDocument, FirstTagMustBeASchema)
{
    std::istringstream input("<xs:element xmlns:xs=\"http://www.w3.org/2001/XMLSchema\"/>");
    XmlPullParser reader(input);
    reader.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    std::ostringstream log;
    SchemaParser parser(&reader, Tns, log);
    EXPECT_THROW(parser.parseSchemaTag(), XmlPullParserException);

    SchemaParser withoutDocument(nullptr, Tns, log);
    EXPECT_FALSE(withoutDocument.parseSchemaTag());
}

TEST(SchemaParserDocument, UndefinedTypesWithoutImportsAreFatal)
{
    ParsedSchema s(schema(R"(<xs:element name="E" type="tns:Missing"/>)"));
    EXPECT_FALSE(s.ok);
    EXPECT_TRUE(s.logged("Could not find {urn:t}:Missing\n")) << s.text();
    EXPECT_TRUE(s.logged("Schema Parser Exception : Undefined Types in namespace urn:t\n")) << s.text();
    // What was read stays.
    EXPECT_NE(nullptr, s.element("E"));
}

// An undefined name is reported where it was first referenced, each name on its own line,
// however often it is referenced again.
TEST(SchemaParserDocument, UndefinedNamesAreReportedAtTheirFirstReference)
{
    ParsedSchema s("<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\">\n"
                   "<xs:element name=\"A1\" type=\"tns:MissingA\"/>\n"
                   "<xs:element name=\"B1\" type=\"tns:MissingB\"/>\n"
                   "<xs:element name=\"A2\" type=\"tns:MissingA\"/>\n"
                   "<xs:element name=\"B2\" type=\"tns:MissingB\"/>\n"
                   "</xs:schema>\n");
    EXPECT_FALSE(s.ok);
    const struct {
        const char* name;
        const char* line;
    } cases[] = {{"MissingA", "2:"}, {"MissingB", "3:"}};
    for (const auto& c : cases) {
        const std::string text = s.text();
        const std::string message = std::string("Could not find {urn:t}:") + c.name + "\n";
        const std::string::size_type at = text.find(message);
        ASSERT_NE(std::string::npos, at) << text;
        EXPECT_EQ(std::string::npos, text.find(message, at + 1)) << text;
        const std::string::size_type lineStart = text.rfind('\n', at);
        const std::string logged = text.substr(lineStart == std::string::npos ? 0 : lineStart + 1);
        EXPECT_EQ(0u, logged.find(c.line)) << logged;
    }
}

// Every routine's loop ends at the end of the document: every prefix of a
// schema that uses them all ends, in a strict reader with an error of the
// XML and in a relaxed one (which reports the end of an unfinished
// document) with a failed parse.
TEST(SchemaParserDocument, TruncatedSchemasEndCleanly)
{
    const std::string text = schema(R"(<xs:annotation><xs:documentation>d</xs:documentation></xs:annotation>
  <xs:attributeGroup name="AG"><xs:attribute name="g"/><xs:anyAttribute/></xs:attributeGroup>
  <xs:group name="G"><xs:choice><xs:element name="c"/><xs:any/></xs:choice></xs:group>
  <xs:simpleType name="S"><xs:restriction base="xs:string"><xs:maxLength value="3"/></xs:restriction></xs:simpleType>
  <xs:simpleType name="U"><xs:union memberTypes="xs:int"><xs:simpleType><xs:list itemType="xs:int"/></xs:simpleType></xs:union></xs:simpleType>
  <xs:complexType name="C" mixed="true"><xs:sequence><xs:element name="a" type="tns:S" maxOccurs="unbounded"/>
    <xs:group ref="tns:G"/></xs:sequence><xs:attributeGroup ref="tns:AG"/></xs:complexType>
  <xs:complexType name="D"><xs:complexContent><xs:extension base="tns:C"><xs:attribute name="x"/></xs:extension></xs:complexContent></xs:complexType>
  <xs:complexType name="V"><xs:simpleContent><xs:extension base="xs:int"><xs:attribute name="u"/></xs:extension></xs:simpleContent></xs:complexType>
  <xs:element name="E" type="tns:D"><xs:key name="k"><xs:selector xpath="a"/><xs:field xpath="@x"/></xs:key></xs:element>)");
    ParsedSchema whole(text);
    ASSERT_TRUE(whole.ok) << whole.text();
    bool endReported = false;
    for (std::size_t length = 0; length < text.size() - 1; ++length) {
        for (bool relaxed : {false, true}) {
            SCOPED_TRACE(text.substr(0, length));
            std::istringstream input(text.substr(0, length));
            XmlPullParser reader(input);
            reader.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
            reader.setFeature(XmlPullParser::FEATURE_RELAXED, relaxed);
            std::ostringstream log;
            SchemaParser parser(&reader, "", log);
            try {
                EXPECT_FALSE(parser.parseSchemaTag());
                endReported = endReported || log.str().find("Unexpected end of document") != std::string::npos;
            } catch (const XmlPullParserException&) {
            }
        }
    }
    EXPECT_TRUE(endReported);
}

TEST_F(SchemaFiles, LocationConstructorFindsTheFirstSchema)
{
    writeBytes("service.wsdl", R"(<?xml version="1.0"?>
<definitions xmlns="http://schemas.xmlsoap.org/wsdl/" targetNamespace="urn:w">
  <documentation>Text before the types &amp; <b>markup</b></documentation>
  <types><xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:first">
    <xs:complexType name="T"/></xs:schema>
  <xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:second"/></types>
</definitions>)");
    writeBytes("plain.xml", "<root><child>text</child></root>");
    std::filesystem::create_directory("dir");
    writeSchema("dir/s.xsd", Tns, "<xs:complexType name=\"T\"/>");

    FileSchema wsdl("service.wsdl", "urn:given");
    EXPECT_TRUE(wsdl.ok) << wsdl.log.str();
    EXPECT_EQ("urn:first", wsdl.parser.getNamespace());
    EXPECT_EQ(1, wsdl.parser.getNumTypes());
    EXPECT_EQ("", wsdl.parser.getUri());

    for (const char* location : {"plain.xml", "missing.xsd"}) {
        FileSchema none(location, "urn:given");
        EXPECT_FALSE(none.ok);
        // Each says why it gives no schema.
        EXPECT_EQ(location == std::string("plain.xml") ? "plain.xml:1:32: no schema element in the document\n"
                                                       : "missing.xsd: could not be opened: file not found\n",
                  none.log.str());
        EXPECT_EQ("urn:given", none.parser.getNamespace());
        EXPECT_EQ(1, none.parser.getNumElements());
    }

    FileSchema nested("dir/s.xsd");
    EXPECT_TRUE(nested.ok);
    EXPECT_EQ("dir/", nested.parser.getUri());

    const std::string uri = "file://" + (folder.path() / "dir" / "s.xsd").generic_string();
    FileSchema byUri(uri[7] == '/' ? uri : "file:///" + uri.substr(7));
    EXPECT_TRUE(byUri.ok);
    EXPECT_EQ(1, byUri.parser.getNumTypes());
}

TEST_F(SchemaFiles, IncludesResolveAgainstTheirOwnFolderAndEndWhenTheyGoRound)
{
    writeSchema("main.xsd", Tns, R"(<xs:include schemaLocation="sub/a.xsd"/>
  <xs:element name="E" type="tns:A"/>
  <xs:complexType name="Main"><xs:sequence><xs:element name="b" type="tns:B"/></xs:sequence></xs:complexType>)");
    // a.xsd names a type that the including schema defines after the include.
    writeSchema("sub/a.xsd", Tns, R"(<xs:include schemaLocation="b.xsd"/>
  <xs:complexType name="A"><xs:sequence><xs:element name="m" type="tns:Main"/></xs:sequence></xs:complexType>)");
    writeSchema("sub/b.xsd", Tns, R"(<xs:include schemaLocation="../main.xsd"/><xs:include schemaLocation="./a.xsd"/>
  <xs:simpleType name="B"><xs:restriction base="xs:int"/></xs:simpleType>)");

    FileSchema s("main.xsd");
    ASSERT_TRUE(s.ok) << s.log.str();
    EXPECT_EQ("", s.log.str());
    EXPECT_EQ(3, s.parser.getNumTypes());
    for (const char* name : {"A", "B", "Main"})
        EXPECT_NE(nullptr, s.parser.getType(s.parser.getTypeId(qname(Tns, name)))) << name;
    EXPECT_EQ(2, s.parser.getNumElements()); // main.xsd read once
}

// What describes a schema comes from its own document: an included document
// reads its own namespace prefix and form defaults without keeping them, one
// without a namespace takes the including one's, and one of another
// namespace cannot be included.
TEST_F(SchemaFiles, IncludedDocumentsLeaveTheNamespaceAndFormsAlone)
{
    writeBytes("same.xsd", std::string(XsOpen) + R"(xmlns:s="urn:a" targetNamespace="urn:a" version="9"
  elementFormDefault="unqualified" attributeFormDefault="qualified"><xs:complexType name="Same"/></xs:schema>)");
    writeBytes("chameleon.xsd", std::string(XsOpen) + R"(version="9" elementFormDefault="unqualified">
  <xs:complexType name="Chameleon"/><xs:element name="ce" type="Chameleon"/></xs:schema>)");
    writeSchema("other.xsd", "urn:b", "<xs:complexType name=\"Other\"/>", "elementFormDefault=\"unqualified\"");
    const std::string refused = "The included schema other.xsd has the targetNamespace urn:b, not urn:a\n";
    const struct {
        const char* link;
        const char* defined; // a type the linked document defines, when it is read
        std::string message;
    } cases[] = {
        {R"(<xs:include schemaLocation="same.xsd"/>)", "Same", ""},
        {R"(<xs:include schemaLocation="chameleon.xsd"/>)", "Chameleon", ""},
        {R"(<xs:redefine schemaLocation="chameleon.xsd"/>)", "Chameleon", ""},
        {R"(<xs:import namespace="urn:a" schemaLocation="same.xsd"/>)", "Same", ""},
        {R"(<xs:include schemaLocation="other.xsd"/>)", nullptr, refused},
        {R"(<xs:redefine schemaLocation="other.xsd"/>)", nullptr, refused},
        {R"(<xs:import namespace="urn:a" schemaLocation="other.xsd"/>)", nullptr, refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        writeSchema("main.xsd", "urn:a", std::string(c.link) + "\n<xs:complexType name=\"After\"/>",
                    "version=\"1\" elementFormDefault=\"qualified\"");
        FileSchema s("main.xsd");
        EXPECT_EQ(c.defined != nullptr, s.ok) << s.log.str();
        EXPECT_EQ("urn:a", s.parser.getNamespace());
        EXPECT_EQ("tns", s.parser.getNamespacePrefix());
        EXPECT_EQ("1", s.parser.getVersion());
        EXPECT_TRUE(s.parser.isElementFormQualified());
        EXPECT_FALSE(s.parser.isAttributeFormQualified());
        if (c.defined == nullptr) {
            // At the fault: the included document's schema tag.
            EXPECT_TRUE(s.logged("other.xsd:1:130: Schema Parser Exception : " + c.message)) << s.log.str();
            EXPECT_EQ(nullptr, typeNamed(s.parser, "Other"));
            continue;
        }
        EXPECT_EQ("", s.log.str());
        for (const char* name : {c.defined, "After"}) {
            const XsdType* type = s.parser.getType(s.parser.getTypeId(qname("urn:a", name)));
            ASSERT_NE(nullptr, type) << name;
            EXPECT_EQ("urn:a", type->getNamespace()) << name;
        }
    }
    writeSchema("main.xsd", "urn:a", R"(<xs:include schemaLocation="chameleon.xsd"/>)");
    // The chameleon's own names are the including namespace's.
    FileSchema withElement("main.xsd");
    ASSERT_TRUE(withElement.ok) << withElement.log.str();
    const Element* ce = withElement.parser.getElement(qname("urn:a", "ce"));
    ASSERT_NE(nullptr, ce);
    EXPECT_EQ(typeNamed(withElement.parser, "Chameleon"), withElement.parser.getType(ce->getType()));
}

// A link to a document that cannot be read fails the parse, saying why and
// where: in the document that could not be read, and at the link.
TEST_F(SchemaFiles, LinksThatCannotBeReadFailTheParse)
{
    testsupport::LoopbackHttpServer server;
    const std::string closed = "http://127.0.0.1:" + std::to_string(server.closedPort()) + "/x.xsd";
    writeSchema("bad.xsd", Tns, "\n\n\n<xs:complexType name=\"T\"><xs:foo/></xs:complexType>");
    writeSchema("broken.xsd", OtherNs, "<xs:complexType name=\"T\"><xs:foo/></xs:complexType>");
    const std::string fatal = ": Schema Parser Exception : ";
    const struct {
        std::string link;
        std::string messages[2];
    } cases[] = {
        {"<xs:include/>", {"3:14" + fatal + "schemaLocation is a required attribute for <include>\n", ""}},
        {"<xs:include schemaLocation=\"nowhere/x.xsd\"/>",
         {"3:45" + fatal + "Error while opening the included schema nowhere/x.xsd: file not found\n", ""}},
        {"<xs:include schemaLocation=\"bad.xsd\"/>",
         {"bad.xsd:5:35" + fatal + "Unexpected tag: 'foo' in T\n",
          "3:39" + fatal + "Error while parsing the included schema bad.xsd\n"}},
        {"<xs:import namespace=\"urn:other\" schemaLocation=\"missing.xsd\"/>",
         {"3:64" + fatal + "could not import namespace from location missing.xsd: file not found\n", ""}},
        {"<xs:import namespace=\"urn:other\" schemaLocation=\"" + closed + "\"/>",
         {fatal + "could not import namespace from location " + closed + ": connection refused\n", ""}},
        {"<xs:import namespace=\"urn:other\" schemaLocation=\"broken.xsd\"/>",
         {"broken.xsd:2:35" + fatal + "Unexpected tag: 'foo' in T\n",
          "3:63" + fatal + "Error while parsing imported namespace urn:other\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        ParsedSchema s(schema(c.link));
        EXPECT_FALSE(s.ok);
        for (const std::string& message : c.messages)
            EXPECT_TRUE(s.logged(message)) << s.text();
    }
}

TEST_F(SchemaFiles, BrokenIncludedDocumentGivesTheReaderBack)
{
    writeBytes("broken.xsd", std::string(XsOpen) + "targetNamespace=\"urn:t\"><xs:element name=\"x\"></xs:schema>");
    std::istringstream input(schema("<xs:complexType name=\"Before\"/>\n<xs:include schemaLocation=\"broken.xsd\"/>"));
    XmlPullParser reader(input);
    reader.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    std::ostringstream log;
    SchemaParser parser(&reader, "", log);
    // Reported in the included document, and at the include.
    EXPECT_FALSE(parser.parseSchemaTag());
    EXPECT_NE(std::string::npos, log.str().find("broken.xsd:1:")) << log.str();
    EXPECT_NE(std::string::npos, log.str().find("Xml Parser Exception : ")) << log.str();
    EXPECT_NE(std::string::npos, log.str().find("\n4:")) << log.str();
    // The parser reads its own document again, standing on the include.
    try {
        parser.parseSchemaTag();
        ADD_FAILURE() << "the include tag is no schema";
    } catch (const XmlPullParserException& failure) {
        EXPECT_EQ(4, failure.line);
    }
    EXPECT_EQ(1, parser.getNumTypes());
}

TEST_F(SchemaFiles, RedefinedTypeReplacesTheIncludedOne)
{
    writeSchema("base.xsd", Tns, R"(<xs:complexType name="T"><xs:sequence><xs:element name="a"/></xs:sequence></xs:complexType>
  <xs:simpleType name="S"><xs:restriction base="xs:string"/></xs:simpleType>)");
    ParsedSchema s(schema(R"(<xs:redefine schemaLocation="base.xsd">
    <xs:complexType name="T"><xs:complexContent><xs:extension base="tns:T">
      <xs:sequence><xs:element name="b"/></xs:sequence></xs:extension></xs:complexContent></xs:complexType>
  </xs:redefine>
  <xs:element name="E" type="tns:S"/>)"));
    ASSERT_TRUE(s.ok) << s.text();
    EXPECT_EQ(2, s.parser.getNumTypes());
    EXPECT_EQ("b", particle(s.complex("T")->getContentModel(), 0)->getName());
    EXPECT_NE(nullptr, s.simple("S"));
}

TEST_F(SchemaFiles, ImportsAcrossFoldersGiveBorrowedIds)
{
    writeSchema("main.xsd", Tns, R"(<xs:import namespace="urn:other" schemaLocation="lib/other.xsd"/>
  <xs:element name="E" type="o:O"/>
  <xs:complexType name="W"><xs:sequence><xs:element ref="o:G"/></xs:sequence></xs:complexType>)",
                "xmlns:o=\"urn:other\"");
    // other.xsd names third.xsd relative to its own folder.
    writeSchema("lib/other.xsd", OtherNs, R"(<xs:import namespace="urn:third" schemaLocation="third.xsd"/>
  <xs:complexType name="O"><xs:sequence><xs:element name="t" type="th:Third"/></xs:sequence></xs:complexType>
  <xs:element name="G" type="xs:int"/>)",
                "xmlns:th=\"urn:third\"");
    writeSchema("lib/third.xsd", "urn:third", R"(<xs:simpleType name="Third"><xs:restriction base="xs:int"/></xs:simpleType>)");

    FileSchema s("main.xsd", "urn:ignored");
    ASSERT_TRUE(s.ok) << s.log.str();
    EXPECT_EQ(Tns, s.parser.getNamespace());
    const SchemaParser* other = importedParser(s.parser, OtherNs);
    ASSERT_NE(nullptr, other);
    const int borrowed = s.parser.getElement(qname(Tns, "E"))->getType();
    EXPECT_GE(borrowed, FIRST_USER_TYPE);
    const XsdType* type = s.parser.getType(borrowed);
    ASSERT_NE(nullptr, type);
    EXPECT_EQ(typeNamed(*other, "O"), type);
    // A reference to the imported schema's element takes its declaration.
    const auto* wrapper = dynamic_cast<const ComplexType*>(typeNamed(s.parser, "W"));
    ASSERT_NE(nullptr, wrapper);
    EXPECT_EQ("G", particle(wrapper->getContentModel(), 0)->getName());
    EXPECT_EQ(XSD_INT, particle(wrapper->getContentModel(), 0)->getType());
    EXPECT_EQ(XSD_INT, s.parser.getElement(qname(OtherNs, "G"))->getType()); // looked up in the import
    EXPECT_TRUE(s.parser.finalize());

    // The alerts of imports show at report level 2.
    std::ostringstream log;
    SchemaParser loud("main.xsd", "", log);
    loud.setReportLevel(2);
    ASSERT_TRUE(loud.parseSchemaTag());
    EXPECT_NE(std::string::npos, log.str().find("main.xsd:2:66: Alert: Imported namespace urn:other  from lib/other.xsd\n"))
        << log.str();
}

TEST_F(SchemaFiles, ImportOfTheOwnNamespaceIsAnInclude)
{
    writeSchema("same.xsd", Tns, "<xs:complexType name=\"Same\"/>");
    writeSchema("also.xsd", Tns, "<xs:complexType name=\"Also\"/>");
    const std::string note = "<xs:annotation><xs:documentation>note</xs:documentation></xs:annotation>";
    ParsedSchema s(schema("<xs:import namespace=\"urn:t\" schemaLocation=\"same.xsd\">" + note + "</xs:import>" +
                          "<xs:include schemaLocation=\"also.xsd\">" + note + "</xs:include>" +
                          "<xs:import namespace=\"urn:x\">" + note + "</xs:import>" +
                          R"(<xs:element name="E" type="tns:Same"/>)"));
    ASSERT_TRUE(s.ok) << s.text();
    EXPECT_EQ("", s.text());
    EXPECT_NE(nullptr, s.complex("Same"));
    EXPECT_NE(nullptr, s.complex("Also"));
    EXPECT_EQ(-1, s.parser.getImportIndex(Tns));
}

TEST_F(SchemaFiles, ImportWithoutLocationWaitsForFinalize)
{
    ParsedSchema s(schema(R"(<xs:import namespace="urn:later"/><xs:element name="E" type="l:T"/>)",
                          "xmlns:l=\"urn:later\""),
                   2);
    ASSERT_TRUE(s.ok) << s.text();
    EXPECT_TRUE(s.logged("3:35: Alert: Imported namespace urn:later  from \n")) << s.text();
    EXPECT_TRUE(s.logged("3:35: Alert: No location supplied for the import\n")) << s.text();
    ASSERT_EQ(0, s.parser.getImportIndex("urn:later"));
    EXPECT_EQ(nullptr, s.parser.getImports()[0].sParser);
    const int id = s.element("E")->getType();
    EXPECT_EQ(nullptr, s.parser.getType(id));

    EXPECT_FALSE(s.parser.finalize());
    EXPECT_TRUE(s.logged("Undefined type l{urn:later}:T\n")) << s.text();
    EXPECT_TRUE(s.logged("Unresolved types in namespace urn:t\n")) << s.text();

    ParsedSchema later(std::string(XsOpen) + "targetNamespace=\"urn:later\"><xs:complexType name=\"T\"/></xs:schema>");
    ASSERT_TRUE(later.ok);
    s.parser.addImport(&later.parser);
    EXPECT_TRUE(s.parser.finalize());
    EXPECT_EQ(later.type("T"), s.parser.getType(id));
}

TEST_F(SchemaFiles, ImportCyclesEndWithOneParserPerLocation)
{
    writeSchema("a.xsd", "urn:a", R"(<xs:import namespace="urn:b" schemaLocation="b.xsd"/>
  <xs:complexType name="TA"><xs:sequence><xs:element name="b" type="b:TB"/></xs:sequence></xs:complexType>
  <xs:element name="GA" type="xs:date"/><xs:attribute name="at" type="xs:int"/>)",
                "xmlns:b=\"urn:b\"");
    writeSchema("b.xsd", "urn:b", R"(<xs:import namespace="urn:a" schemaLocation="a.xsd"/>
  <xs:import namespace="urn:c" schemaLocation="./c.xsd"/>
  <xs:complexType name="TB"><xs:sequence><xs:element name="a" type="a:TA"/><xs:element ref="a:GA"/>
    </xs:sequence><xs:attribute ref="a:at"/></xs:complexType>)",
                "xmlns:a=\"urn:a\"");
    writeSchema("c.xsd", "urn:c", R"(<xs:import namespace="urn:a" schemaLocation="a.xsd"/>
  <xs:import namespace="urn:b" schemaLocation="b.xsd"/><xs:complexType name="TC"/>)");

    FileSchema a("a.xsd");
    ASSERT_TRUE(a.ok) << a.log.str();
    const SchemaParser* b = importedParser(a.parser, "urn:b");
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(&a.parser, importedParser(*b, "urn:a"));
    const SchemaParser* c = importedParser(*b, "urn:c");
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(&a.parser, importedParser(*c, "urn:a"));
    EXPECT_EQ(b, importedParser(*c, "urn:b"));

    ASSERT_TRUE(a.parser.finalize()) << a.log.str();
    const auto* tb = dynamic_cast<const ComplexType*>(typeNamed(*b, "TB"));
    ASSERT_NE(nullptr, tb);
    EXPECT_EQ(typeNamed(a.parser, "TA"), b->getType(particle(tb->getContentModel(), 0)->getType()));
    EXPECT_EQ(XSD_DATE, particle(tb->getContentModel(), 1)->getType());
    EXPECT_EQ(XSD_INT, tb->getAttribute("at")->getType());
}

TEST_F(SchemaFiles, ImportByAddressResolvesRelativeLocationsThere)
{
    testsupport::LoopbackHttpServer server;
    server.serve("/lib/other.xsd",
                 testsupport::LoopbackHttpServer::Reply{
                     200, std::string(XsOpen) + R"(xmlns:th="urn:third" targetNamespace="urn:other">
  <xs:import namespace="urn:third" schemaLocation="third.xsd"/>
  <xs:element name="O" type="th:Third"/></xs:schema>)"});
    server.serve("/lib/third.xsd",
                 testsupport::LoopbackHttpServer::Reply{
                     200, std::string(XsOpen) + R"(targetNamespace="urn:third"><xs:simpleType name="Third">
  <xs:restriction base="xs:int"/></xs:simpleType></xs:schema>)"});
    ParsedSchema s(schema("<xs:import namespace=\"urn:other\" schemaLocation=\"" + server.url("/lib/other.xsd") +
                          "\"/>"));
    ASSERT_TRUE(s.ok) << s.text();
    const SchemaParser* other = importedParser(s.parser, OtherNs);
    ASSERT_NE(nullptr, other);
    EXPECT_EQ(XSD_INT, other->getBasicContentType(other->getElement(qname(OtherNs, "O"))->getType()));
    EXPECT_EQ(1, server.requestCount("/lib/third.xsd"));
}

TEST(SchemaParserImports, RegisteringANamespaceTwiceReplacesItsParser)
{
    ParsedSchema first(std::string(XsOpen) + "targetNamespace=\"urn:other\"/>");
    ParsedSchema second(std::string(XsOpen) + "targetNamespace=\"urn:other\"/>");
    std::ostringstream log;
    SchemaParser parser(nullptr, Tns, log);
    EXPECT_TRUE(parser.addImport(&first.parser));
    EXPECT_TRUE(parser.addImport(&second.parser));
    ASSERT_EQ(1u, parser.getImports().size());
    EXPECT_EQ(&second.parser, parser.getImports()[0].sParser);
    EXPECT_TRUE(parser.addImport(OtherNs, "never-read.xsd")); // known: nothing is loaded
    EXPECT_EQ(1u, parser.getImports().size());
    EXPECT_FALSE(parser.addImport(nullptr));
}

TEST(SchemaParserImports, TypeIdsAcrossSchemas)
{
    std::ostringstream log;
    SchemaParser alone(nullptr, Tns, log);
    EXPECT_EQ(XSD_INVALID, alone.getTypeId(qname(OtherNs, "T")));
    const int external = alone.getTypeId(qname(OtherNs, "T"), true);
    EXPECT_EQ(FIRST_USER_TYPE, external);
    EXPECT_EQ(external, alone.getTypeId(qname(OtherNs, "T"), true));
    EXPECT_TRUE(alone.getImports().empty()); // without imports, none is registered
    EXPECT_EQ(nullptr, alone.getType(external));

    ParsedSchema other(std::string(XsOpen) + "targetNamespace=\"urn:other\"/>");
    SchemaParser importing(nullptr, Tns, log);
    importing.addImport(&other.parser);
    EXPECT_EQ(XSD_STRING, importing.getTypeId(qname(SchemaUri, "string")));
    EXPECT_EQ(XSD_STRING, importing.getTypeId(qname(SchemaUri, "unsignedByte"), true));
    EXPECT_EQ(XSD_INVALID, importing.getTypeId(qname(OtherNs, "Missing"), true));
    EXPECT_NE(XSD_INVALID, importing.getTypeId(qname("urn:third", "T"), true));
    ASSERT_EQ(1, importing.getImportIndex("urn:third"));
    EXPECT_EQ(nullptr, importing.getImports()[1].sParser);
    EXPECT_EQ(1, importing.getNumTypes());
}

} // namespace
