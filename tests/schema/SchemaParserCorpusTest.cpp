// Real schema documents: each parses, or fails with a message that says
// where; none crashes, hangs or leaks (the sanitizers watch the last two).
// The built-in schema files of the program are read the same way.

#include "SchemaParserTestSupport.h"
#include "support/LocatedMessage.h"
#include "support/LoopbackHttpServer.h"
#include "support/ProxyEnvironment.h"
#include "net/FetchUri.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

using namespace Schema;
using namespace schematest;

namespace {

// Every download goes to a loopback port that refuses connections, so that
// the corpus's absolute imports fail at once and never reach the network.
using NoNetwork = testsupport::ProxyEnvironment;

std::vector<std::filesystem::path> corpusSchemas()
{
    std::vector<std::filesystem::path> schemas;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KELVANE_CORPUS_DIR "/wsdl/")) {
        if (entry.is_regular_file() && entry.path().extension() == ".xsd")
            schemas.push_back(entry.path());
    }
    std::sort(schemas.begin(), schemas.end());
    return schemas;
}

// Every line of the log has the form "document:line:column: message", with
// a line of 1 or more.
bool tellsPosition(const std::string& text)
{
    std::istringstream lines(text);
    std::string line;
    bool any = false;
    while (std::getline(lines, line)) {
        if (!testsupport::isLocatedLine(line))
            return false;
        any = true;
    }
    return any;
}

struct Outcome {
    bool parsed = false;
    std::string failure; // the message that says what went wrong where
};

Outcome readSchema(const std::string& location)
{
    Outcome outcome;
    std::ostringstream log;
    try {
        SchemaParser parser(location, "", log);
        outcome.parsed = parser.parseSchemaTag() && parser.finalize();
        outcome.failure = log.str();
    } catch (const XmlPullParserException& failure) {
        outcome.failure = location + ":" + std::to_string(failure.line) + ":" + std::to_string(failure.column) + ": " +
            failure.description;
    }
    return outcome;
}

TEST(SchemaParserCorpus, EverySchemaParsesOrSaysWhereItFails)
{
    testsupport::ScopedWorkingFolder folder; // where downloads would land
    testsupport::LoopbackHttpServer server;
    const NoNetwork offline(server.closedPort());

    const std::vector<std::filesystem::path> schemas = corpusSchemas();
    ASSERT_FALSE(schemas.empty());
    int parsed = 0;
    for (const std::filesystem::path& path : schemas) {
        SCOPED_TRACE(path.string());
        const Outcome outcome = readSchema(path.string());
        if (outcome.parsed) {
            ++parsed;
        } else {
            EXPECT_TRUE(tellsPosition(outcome.failure) ||
                        outcome.failure.find("Unresolved types") != std::string::npos)
                << outcome.failure;
        }
    }
    removeFetchedFiles();
    std::cout << parsed << " of " << schemas.size() << " corpus schemas parsed\n";
}

TEST(SchemaParserCorpus, SchemasThatMustParse)
{
    testsupport::ScopedWorkingFolder folder;
    testsupport::LoopbackHttpServer server;
    const NoNetwork offline(server.closedPort());
    // Includes across folders, imports that go round, and plain schemas.
    for (const char* name : {"axis1/test/import3/MultiImpIncl/tbl1/aritem.xsd",
                             "axis1/test/import3/MultiImpIncl/cmp/comp.xsd", "zeep/integration/recursive_schema_a.xsd",
                             "axis1/integration/_import/Import.xsd", "nfe-br/schemes/PL_008i2/enviNFe_v3.10.xsd",
                             "amadeus-ota/OTA/2011A/OTA_Proxy.xsd"}) {
        SCOPED_TRACE(name);
        const Outcome outcome = readSchema(std::string(KELVANE_CORPUS_DIR "/wsdl/") + name);
        EXPECT_TRUE(outcome.parsed) << outcome.failure;
    }
}

// The program's own schema files, read as the WSDL parser reads them: never
// finalized against anything else, so every name must resolve in the file.
struct BuiltInSchemas : ::testing::Test {
    static std::string path(const char* file) { return std::string(KELVANE_SOURCE_DIR "/runtime/soap-schemas/") + file; }
    std::ostringstream log;
};

TEST_F(BuiltInSchemas, EachReadsWholeIntoItsNamespace)
{
    const struct {
        const char* file;
        const char* ns;
        std::vector<const char*> types;
        std::vector<const char*> attributes;
    } cases[] = {
        {"wsdl10.xsd", WsdlNs, {}, {"arrayType", "required"}},
        {"soap.xsd", "http://schemas.xmlsoap.org/wsdl/soap/", {}, {}},
        {"soap-encoding.xsd", SoapEncodingNs, {"Array", "string", "int", "boolean"}, {"arrayType", "offset"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        SchemaParser parser(path(c.file), c.ns, log);
        ASSERT_TRUE(parser.parseSchemaTag()) << log.str();
        EXPECT_TRUE(parser.getImports().empty());
        EXPECT_TRUE(parser.finalize()) << log.str();
        EXPECT_EQ(c.ns, parser.getNamespace());
        for (int id = FIRST_USER_TYPE; id < FIRST_USER_TYPE + parser.getNumTypes(); ++id)
            EXPECT_NE(nullptr, parser.getType(id)) << id;
        for (const char* type : c.types)
            EXPECT_NE(XSD_INVALID, parser.getTypeId(qname(c.ns, type))) << type;
        for (const char* attribute : c.attributes)
            EXPECT_NE(nullptr, parser.getAttribute(qname(c.ns, attribute))) << attribute;
    }
    EXPECT_EQ("", log.str());
}

// Each binding element admits what the SOAP extension reads from it: an
// undeclared attribute would end validation with "Unknown attribute", a
// needless required one would report an error. The validator tells the
// elements apart by their types, so no two share one.
TEST_F(BuiltInSchemas, SoapBindingElementsAdmitWhatTheExtensionReads)
{
    SchemaParser soap(path("soap.xsd"), "http://schemas.xmlsoap.org/wsdl/soap/", log);
    ASSERT_TRUE(soap.parseSchemaTag()) << log.str();
    const struct {
        const char* element;
        std::vector<const char*> optional;
        const char* required;
    } cases[] = {
        {"binding", {"transport", "style"}, nullptr},
        {"operation", {"soapAction", "style"}, nullptr},
        {"body", {"parts", "use", "namespace", "encodingStyle"}, nullptr},
        {"header", {"part", "parts", "use", "namespace", "encodingStyle"}, "message"},
        {"fault", {"name", "use", "namespace", "encodingStyle"}, nullptr},
        {"address", {}, "location"},
    };
    std::set<int> types;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.element);
        const Element* element = soap.getElement(qname(soap.getNamespace(), c.element));
        ASSERT_NE(nullptr, element);
        EXPECT_TRUE(types.insert(element->getType()).second) << "shares its type";
        const auto* type = dynamic_cast<const ComplexType*>(soap.getType(element->getType()));
        ASSERT_NE(nullptr, type);
        for (const char* name : c.optional) {
            const Attribute* attribute = type->getAttribute(name);
            ASSERT_NE(nullptr, attribute) << name;
            EXPECT_FALSE(attribute->isRequired()) << name;
        }
        if (c.required != nullptr) {
            ASSERT_NE(nullptr, type->getAttribute(c.required)) << c.required;
            EXPECT_TRUE(type->getAttribute(c.required)->isRequired()) << c.required;
        }
    }
}

TEST_F(BuiltInSchemas, EncodedArraysDeriveFromTheEncodingArray)
{
    SchemaParser wsdl(path("wsdl10.xsd"), WsdlNs, log);
    SchemaParser encoding(path("soap-encoding.xsd"), SoapEncodingNs, log);
    ASSERT_TRUE(wsdl.parseSchemaTag() && encoding.parseSchemaTag()) << log.str();
    ParsedSchema s(schema(R"(<xs:complexType name="ArrayOfItem"><xs:complexContent>
    <xs:restriction base="soapenc:Array"><xs:sequence/>
      <xs:attribute ref="soapenc:arrayType" wsdl:arrayType="tns:Item[]"/>
    </xs:restriction></xs:complexContent></xs:complexType>
  <xs:complexType name="Item"><xs:sequence><xs:element name="v" type="soapenc:int"/></xs:sequence></xs:complexType>)",
                          std::string("xmlns:soapenc=\"") + SoapEncodingNs + "\" xmlns:wsdl=\"" + WsdlNs + "\""),
                   1, {&wsdl, &encoding});
    ASSERT_TRUE(s.ok) << s.text();
    ASSERT_TRUE(s.parser.finalize()) << s.text();
    const auto* array = dynamic_cast<const ComplexType*>(encoding.getType(encoding.getTypeId(qname(SoapEncodingNs, "Array"))));
    ASSERT_NE(nullptr, array);
    EXPECT_NE(nullptr, array->getAttribute("arrayType"));
    EXPECT_NE(nullptr, array->getAttribute("offset"));
    const ContentModel* model = s.complex("ArrayOfItem")->getContentModel();
    ASSERT_EQ(1u, model->getContents().size());
    EXPECT_EQ("*", particle(model, 0)->getName());
    EXPECT_EQ(s.complex("Item")->getTypeId(), particle(model, 0)->getType());
    EXPECT_EQ(XSD_INT, s.parser.getBasicContentType(particle(s.complex("Item")->getContentModel(), 0)->getType()));
}

} // namespace
