// The struct section of the header: each case a small document, the lines
// its structs must hold (CR LF ends), and the whole section compiled.

#include "GeneratorTestSupport.h"
#include "support/CaseFile.h"

using namespace gentest;

namespace {

std::string lines(const std::vector<std::string>& text)
{
    std::string joined;
    for (const std::string& line : text)
        joined += line + "\r\n";
    return joined;
}

class HeaderStructsTest : public FixedTextsTest {};

// Rows of data/header.cases: a document of data/header/, what it shows, then
// texts the struct section must hold (+, consecutive lines) or must not (-).
TEST_F(HeaderStructsTest, StructsOfTypesElementsAndMessages)
{
    for (const auto& c : testsupport::caseTable("generator/emit/data/header.cases", "structs")) {
        SCOPED_TRACE(c[1]);
        const std::string text = structs(testsupport::fixture("generator/emit/data/header/" + c[0] + ".wsdl"));
        for (std::size_t i = 2; i < c.fields.size(); ++i)
            EXPECT_EQ(text.find(c[i].substr(1)) != std::string::npos, c[i][0] == '+') << c[i] << "\n----\n" << text;
        if (canCompileC()) {
            const CompileResult compiled = compileHeader();
            EXPECT_EQ(compiled.status, 0) << compiled.output;
        }
    }
}

TEST_F(HeaderStructsTest, TypesThatHoldEachOtherCompile)
{
    const std::string text = structs(schemaDocument(
        "<xsd:complexType name=\"Node\"><xsd:sequence><xsd:element name=\"next\" type=\"tns:Node\"/>"
        "<xsd:element name=\"owner\" type=\"tns:Tree\"/></xsd:sequence></xsd:complexType>"
        "<xsd:complexType name=\"Tree\"><xsd:sequence><xsd:element name=\"root\" type=\"tns:Node\"/>"
        "</xsd:sequence></xsd:complexType>"));
    // The self reference and one edge of the Node-Tree cycle become pointers.
    EXPECT_NE(text.find("\tstruct shop_Node_t\t*next;"), std::string::npos) << text;
    EXPECT_NE(text.find("\tstruct shop_Tree_t\t*owner;"), std::string::npos) << text;
    EXPECT_NE(text.find("\tshop_Node_t\troot;"), std::string::npos) << text;
    if (canCompileC()) {
        const CompileResult compiled = compileHeader();
        EXPECT_EQ(compiled.status, 0) << compiled.output;
    }
}

TEST_F(HeaderStructsTest, TypeSeenByTwoSchemasIsDefinedOnce)
{
    const std::string text = structs(wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:a\" xmlns:a=\"urn:a\"><xsd:complexType name=\"Money\"><xsd:sequence>"
        "<xsd:element name=\"cents\" type=\"xsd:long\"/></xsd:sequence></xsd:complexType></xsd:schema>"
        "<xsd:schema targetNamespace=\"urn:t\" xmlns:a=\"urn:a\"><xsd:import namespace=\"urn:a\"/>"
        "<xsd:complexType name=\"Price\"><xsd:sequence><xsd:element name=\"amount\" type=\"a:Money\"/>"
        "<xsd:element name=\"tax\" type=\"a:Money\"/></xsd:sequence></xsd:complexType></xsd:schema></types>\n"));
    std::string::size_type count = 0;
    for (std::string::size_type at = text.find("typedef struct shop_Money_t{"); at != std::string::npos;
         at = text.find("typedef struct shop_Money_t{", at + 1))
        ++count;
    EXPECT_EQ(count, 1u) << text;
    EXPECT_NE(text.find(lines({"typedef struct shop_Price_t{", "\tshop_Money_t\tamount;", "\tshop_Money_t\ttax;"})),
              std::string::npos)
        << text;
    EXPECT_LT(text.find("shop_Money_t{"), text.find("shop_Price_t{"));
}

} // namespace
