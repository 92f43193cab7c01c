// Values of the schema validator: texts read as the built-in type their type
// derives from, the facets of every simple type on the way, lists, unions,
// and types that name themselves.

#include "SchemaValidatorTestSupport.h"

#include <gtest/gtest.h>

using namespace Schema;
using namespace schematest;
using namespace validatortest;

namespace {

const char* const ValueTypes = R"(
  <xs:simpleType name="small"><xs:restriction base="xs:int"><xs:minInclusive value="1"/>
    <xs:maxInclusive value="10"/></xs:restriction></xs:simpleType>
  <xs:simpleType name="smaller"><xs:restriction base="tns:small"><xs:maxInclusive value="5"/></xs:restriction>
  </xs:simpleType>
  <xs:simpleType name="color"><xs:restriction base="xs:string"><xs:enumeration value="red"/>
    <xs:enumeration value="blue"/></xs:restriction></xs:simpleType>
  <xs:simpleType name="ints"><xs:list itemType="xs:int"/></xs:simpleType>
  <xs:simpleType name="intOrColor"><xs:union memberTypes="xs:int tns:color"/></xs:simpleType>
  <!-- Elements that name a type before its definition give it an id, so
       that the unions and the list below can refer to each other. -->
  <xs:element name="reserveLoopB" type="tns:loopB"/>
  <xs:element name="reserveSelfUnion" type="tns:selfUnion"/>
  <xs:simpleType name="loopA"><xs:union memberTypes="tns:loopB"/></xs:simpleType>
  <xs:simpleType name="loopB"><xs:union memberTypes="tns:loopA xs:int"/></xs:simpleType>
  <xs:simpleType name="selfList"><xs:list itemType="tns:selfUnion"/></xs:simpleType>
  <xs:simpleType name="selfUnion"><xs:union memberTypes="tns:selfList"/></xs:simpleType>
  <xs:complexType name="price"><xs:simpleContent><xs:extension base="xs:double">
    <xs:attribute name="currency" type="xs:string"/></xs:extension></xs:simpleContent></xs:complexType>
  <xs:complexType name="pair"><xs:sequence><xs:element name="a" type="xs:int"/></xs:sequence></xs:complexType>
)";

class SchemaValidatorValueTest : public ::testing::Test {
protected:
    SchemaValidatorValueTest() : schema_(schema(ValueTypes)) {}

    int typeOf(const std::string& name) { return schema_.parser.getTypeId(qname(Tns, name)); }

    ParsedSchema schema_;
};

TEST_F(SchemaValidatorValueTest, TextsAreStoredAsTheirBasicType)
{
    struct Case {
        int builtIn;          // a built-in type id, or 0 to take the named type
        const char* typeName;
        const char* text;
        const char* expected; // render() of the container
    };
    const Case cases[] = {
        {XSD_INT, "", "42", "int:42"},
        {XSD_INT, "", " +7 ", "int:7"},
        {XSD_INT, "", "4x", "int:0 (invalid)"},
        {XSD_INT, "", "2147483648", "int:0 (invalid)"},
        {XSD_INTEGER, "", "-3", "int:-3"},
        // long and unsignedLong keep all 64 bits
        {XSD_LONG, "", "9223372036854775807", "long:9223372036854775807"},
        {XSD_LONG, "", "-5000000000", "long:-5000000000"},
        {XSD_LONG, "", "9223372036854775808", "long:0 (invalid)"},
        {XSD_ULONG, "", "18446744073709551615", "ulong:18446744073709551615"},
        {XSD_ULONG, "", "-1", "ulong:0 (invalid)"},
        {XSD_POSINT, "", "3000000000", "ulong:3000000000"},
        {XSD_FLOAT, "", "1.5", "float:1.5"},
        {XSD_DOUBLE, "", "2.5e3", "double:2500"},
        {XSD_DECIMAL, "", "abc", "double:0 (invalid)"},
        {XSD_BYTE, "", "  x", "char:x"},
        {XSD_BYTE, "", "   ", "char: (invalid)"},
        {XSD_BOOLEAN, "", "yes", "bool:true"},
        {XSD_BOOLEAN, "", "no", "bool:false"},
        {XSD_BOOLEAN, "", "1", "bool:true"},
        {XSD_BOOLEAN, "", "TRUE", "bool:false"},
        {XSD_STRING, "", "hello", "string:hello"},
        {XSD_ANYURI, "", "urn:x", "string:urn:x"},
        // facets of the type and of every user type it restricts
        {0, "small", "5", "int:5"},
        {0, "small", "11", "int:11 (invalid)"},
        {0, "small", "0", "int:0 (invalid)"},
        {0, "smaller", "3", "int:3"},
        {0, "smaller", "7", "int:7 (invalid)"},
        {0, "smaller", "11", "int:11 (invalid)"},
        {0, "color", "red", "string:red"},
        {0, "color", "green", "string:green (invalid)"},
        // lists and unions keep the text; each item or one member must fit
        {0, "ints", "1 2  3", "string:1 2  3"},
        {0, "ints", "1 x", "string:1 x (invalid)"},
        {0, "intOrColor", "5", "string:5"},
        {0, "intOrColor", "blue", "string:blue"},
        {0, "intOrColor", "green", "string:green (invalid)"},
        // unions and lists that name themselves end
        {0, "loopA", "5", "string:5"},
        {0, "loopA", "x", "string:x (invalid)"},
        {0, "selfList", "a b", "string:a b (invalid)"},
        // a complex type with simple content gives the value of its content
        {0, "price", "9.5", "double:9.5"},
    };
    ASSERT_TRUE(schema_.ok) << schema_.text();
    SchemaValidator validator(schema_.parser, schema_.log);
    for (const Case& c : cases) {
        const int typeId = c.builtIn != 0 ? c.builtIn : typeOf(c.typeName);
        SCOPED_TRACE(std::string(c.typeName) + " " + std::to_string(typeId) + " \"" + c.text + "\"");
        ASSERT_NE(typeId, 0);
        const std::unique_ptr<ValueContainer> value = validator.validateValue(c.text, typeId);
        EXPECT_EQ(render(value.get()), c.expected);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->getText(), c.text);
        EXPECT_EQ(value->getTypeId(), typeId);
    }
}

TEST_F(SchemaValidatorValueTest, TypesWithoutValueGiveNoContainer)
{
    ASSERT_TRUE(schema_.ok) << schema_.text();
    SchemaValidator validator(schema_.parser, schema_.log);
    for (const int typeId : {typeOf("pair"), 0, FIRST_USER_TYPE + 500}) {
        SCOPED_TRACE(typeId);
        EXPECT_EQ(validator.validateValue("1", typeId), nullptr);
        ValueContainer container(typeId, &schema_.parser);
        EXPECT_EQ(validator.validateValue("1", typeId, container), nullptr);
        EXPECT_FALSE(container.hasValue());
    }
}

TEST_F(SchemaValidatorValueTest, QualifiedNamesTakeTheNamespaceOfTheirPrefix)
{
    struct Case {
        const char* text;
        bool withParser;
        const char* expected;
    };
    const Case cases[] = {
        {"m:Order", true, "qname:m{urn:messages}Order"},
        {"Order", true, "qname:{urn:default}Order"},
        {"u:Order", true, "qname:u{}Order"},
        {"m:Order", false, "qname:m{}Order"},
    };
    SchemaValidator validator(schema_.parser, schema_.log);
    const Instance instance(R"(<root xmlns="urn:default" xmlns:m="urn:messages"/>)");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto value = validator.validateValue(c.text, XSD_QNAME, c.withParser ? &instance.xpp : nullptr);
        EXPECT_EQ(render(value.get()), c.expected);
    }
}

} // namespace
