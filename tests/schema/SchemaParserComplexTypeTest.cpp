// Complex types: simple and complex content, attribute groups, mixed
// content and SOAP-encoded arrays.

#include "SchemaParserTestSupport.h"

#include <gtest/gtest.h>

using namespace Schema;
using namespace schematest;

namespace {

TEST(SchemaParserComplexType, ContentKind)
{
    const struct {
        const char* body;
        int kind;
    } cases[] = {
        {R"(<xs:complexType name="T"><xs:sequence/></xs:complexType>)", XsdType::Complex},
        {R"(<xs:complexType name="T" abstract="true" mixed="true"><xs:sequence/></xs:complexType>)", XsdType::Mixed},
        {R"(<xs:complexType name="T" mixed="false"/>)", XsdType::Complex},
        {R"(<xs:complexType name="T" mixed="true"><xs:complexContent><xs:extension base="xs:anyType"/>
            </xs:complexContent></xs:complexType>)",
         XsdType::Complex},
        {R"(<xs:complexType name="T" mixed="true"><xs:simpleContent><xs:extension base="xs:int"/>
            </xs:simpleContent></xs:complexType>)",
         XsdType::Simple},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        ParsedSchema s(schema(c.body));
        ASSERT_TRUE(s.ok) << s.text();
        EXPECT_EQ(c.kind, s.complex("T")->getContentType());
    }
}

TEST(SchemaParserComplexType, LaterContentModelReplacesTheEarlierOne)
{
    // The sanitizers' leak check sees that the replaced model is freed.
    ParsedSchema s(schema(R"(<xs:complexType name="T"><xs:sequence><xs:element name="a"/></xs:sequence>
    <xs:choice><xs:element name="b"/></xs:choice><xs:group ref="tns:Nope"/><xs:all><xs:element name="c"/></xs:all>
    </xs:complexType>)"));
    ASSERT_TRUE(s.ok) << s.text();
    const ContentModel* model = s.complex("T")->getContentModel();
    EXPECT_EQ(ContentModel::All, model->getCompositor());
    EXPECT_EQ("c", particle(model, 0)->getName());
    EXPECT_EQ(1u, model->getContents().size());
}

TEST(SchemaParserComplexType, SimpleContentExtension)
{
    ParsedSchema s(schema(R"(
  <xs:attributeGroup name="AG"><xs:attribute name="g" type="xs:int"/></xs:attributeGroup>
  <xs:complexType name="Price"><xs:simpleContent><xs:annotation/>
    <xs:extension base="xs:decimal"><xs:annotation/>
      <xs:attribute name="currency" type="xs:string" use="required"/>
      <xs:attributeGroup ref="tns:AG"/><xs:anyAttribute namespace="##other"/>
    </xs:extension></xs:simpleContent></xs:complexType>)"));
    ASSERT_TRUE(s.ok) << s.text();
    const ComplexType* price = s.complex("Price");
    EXPECT_EQ(XsdType::Simple, price->getContentType());
    EXPECT_EQ(XSD_DECIMAL, price->getSimpleContentType());
    EXPECT_EQ(XSD_DECIMAL, s.parser.getBasicContentType(price->getTypeId()));
    ASSERT_EQ(3, price->getNumAttributes());
    EXPECT_TRUE(price->getAttribute("currency")->isRequired());
    EXPECT_EQ(XSD_INT, price->getAttribute("g")->getType());
    EXPECT_EQ(XSD_ANY, price->getAttribute("##other")->getType());
}

TEST(SchemaParserComplexType, SimpleContentRestriction)
{
    ParsedSchema s(schema(R"(
  <xs:complexType name="Price"><xs:simpleContent><xs:extension base="xs:int"/></xs:simpleContent></xs:complexType>
  <xs:complexType name="Small"><xs:simpleContent><xs:restriction base="tns:Price" id="r">
    <xs:maxInclusive value="9"/><xs:attribute name="unit" use="required"/>
  </xs:restriction></xs:simpleContent></xs:complexType>)"),
                   2);
    ASSERT_TRUE(s.ok) << s.text();
    EXPECT_TRUE(s.logged(": Alert: ")) << s.text();
    EXPECT_TRUE(s.logged("<simpleContent> :id:Unknown/Unsupported  attribute \n")) << s.text();
    const ComplexType* small = s.complex("Small");
    const auto* content = dynamic_cast<const SimpleType*>(s.parser.getType(small->getSimpleContentType()));
    ASSERT_NE(nullptr, content);
    EXPECT_TRUE(content->isAnonymous());
    EXPECT_EQ(s.complex("Price")->getTypeId(), content->getBaseTypeId());
    EXPECT_TRUE(content->hasFacet(SimpleType::MAXINC));
    EXPECT_TRUE(small->getAttribute("unit")->isRequired());
    EXPECT_EQ(XSD_INT, s.parser.getBasicContentType(small->getTypeId()));
}

TEST(SchemaParserComplexType, ComplexContentDerivations)
{
    ParsedSchema s(schema(R"(
  <xs:attributeGroup name="AG"><xs:attribute name="g"/></xs:attributeGroup>
  <xs:complexType name="Base"><xs:sequence><xs:element name="b"/></xs:sequence></xs:complexType>
  <xs:complexType name="Ext"><xs:complexContent><xs:annotation/>
    <xs:extension base="tns:Base"><xs:annotation/>
      <xs:sequence><xs:element name="d" type="xs:int"/></xs:sequence>
      <xs:attribute name="x"/><xs:attributeGroup ref="tns:AG"/><xs:anyAttribute/>
    </xs:extension></xs:complexContent></xs:complexType>
  <xs:complexType name="Res"><xs:complexContent>
    <xs:restriction base="tns:Base"><xs:choice><xs:element name="c"/></xs:choice></xs:restriction>
  </xs:complexContent></xs:complexType>
  <xs:complexType name="Forward"><xs:complexContent><xs:extension base="tns:Later"/></xs:complexContent></xs:complexType>
  <xs:complexType name="Later"/>)"));
    ASSERT_TRUE(s.ok) << s.text();
    const int base = s.parser.getTypeId(qname(Tns, "Base"));
    const ComplexType* ext = s.complex("Ext");
    EXPECT_EQ(XsdType::Complex, ext->getContentType());
    EXPECT_EQ(base, ext->getBaseTypeId());
    EXPECT_EQ(XsdType::Extension, ext->getBaseDerivation());
    EXPECT_EQ("d", particle(ext->getContentModel(), 0)->getName());
    EXPECT_EQ(3, ext->getNumAttributes());
    const ComplexType* res = s.complex("Res");
    EXPECT_EQ(XsdType::Restriction, res->getBaseDerivation());
    EXPECT_EQ(ContentModel::Choice, res->getContentModel()->getCompositor());
    EXPECT_EQ(s.parser.getTypeId(qname(Tns, "Later")), s.complex("Forward")->getBaseTypeId());
    EXPECT_EQ(XSD_INVALID, s.parser.getBasicContentType(ext->getTypeId()));
}

TEST(SchemaParserComplexType, AttributeGroups)
{
    ParsedSchema s(schema(R"(
  <xs:attributeGroup name="Inner"><xs:attribute name="i" type="xs:int"/></xs:attributeGroup>
  <xs:attributeGroup name="AG"><xs:annotation/>
    <xs:attribute name="a" use="required"/><xs:attributeGroup ref="tns:Inner"/><xs:anyAttribute/>
    <xs:attributeGroup name="Nested"><xs:attribute name="n"/></xs:attributeGroup>
  </xs:attributeGroup>
  <xs:attributeGroup ref="tns:AG"/>
  <xs:complexType name="T"><xs:attributeGroup ref="tns:AG"/><xs:attributeGroup ref="tns:Later"/></xs:complexType>
  <xs:element name="E"><xs:complexType><xs:simpleContent><xs:extension base="xs:string">
    <xs:attribute name="code" type="xs:int"/><xs:attributeGroup ref="tns:Later"/>
  </xs:extension></xs:simpleContent></xs:complexType></xs:element>
  <xs:attributeGroup name="Later"><xs:attribute name="late"/></xs:attributeGroup>)"));
    ASSERT_TRUE(s.ok) << s.text();
    const AttributeGroup* group = s.parser.getAttributeGroup(qname(Tns, "AG"));
    ASSERT_NE(nullptr, group);
    ASSERT_EQ(4u, group->getAttributes().size());
    EXPECT_EQ("a", group->getAttributes()[0].getName());
    EXPECT_EQ("i", group->getAttributes()[1].getName());
    EXPECT_EQ("", group->getAttributes()[2].getName());
    EXPECT_EQ("n", group->getAttributes()[3].getName());
    // The nested definition is not kept; the top-level reference adds no entry.
    EXPECT_EQ(nullptr, s.parser.getAttributeGroup(qname(Tns, "Nested")));
    EXPECT_NE(nullptr, s.parser.getAttributeGroup(qname(Tns, "Later")));

    // A group defined after the types that name it still gives them its attributes.
    const ComplexType* type = s.complex("T");
    EXPECT_EQ(5, type->getNumAttributes());
    EXPECT_TRUE(type->getAttribute("a")->isRequired());
    EXPECT_NE(nullptr, type->getAttribute("late"));
    const Element* element = s.parser.getElement(qname(Tns, "E"));
    ASSERT_NE(nullptr, element);
    const auto* anonymous = dynamic_cast<const ComplexType*>(s.parser.getType(element->getType()));
    ASSERT_NE(nullptr, anonymous);
    ASSERT_EQ(2, anonymous->getNumAttributes());
    EXPECT_EQ("late", anonymous->getAttributes()[1].getName());
}

// An attribute group holding a reference to a global attribute declared
// later hands out copies that wait for it; each copy, and the group itself,
// is settled at the end. A local attribute that shares the name stays.
TEST(SchemaParserComplexType, AttributesFromGroupsAreSettled)
{
    const char* const group = R"(<xs:attributeGroup name="AG">
    <xs:attribute ref="tns:lang" use="required"/></xs:attributeGroup>)";
    const char* const global = R"(<xs:attribute name="lang" type="xs:token" default="en"/>)";
    const struct {
        const char* what;
        std::string body; // declares "T"
        int type;         // of T's attribute "lang"
        bool required;
    } cases[] = {
        {"group, type, declaration", std::string(group) + R"(<xs:complexType name="T">
           <xs:attributeGroup ref="tns:AG"/></xs:complexType>)" + global,
         XSD_TOKEN, true},
        {"group, declaration, type", std::string(group) + global + R"(<xs:complexType name="T">
           <xs:attributeGroup ref="tns:AG"/></xs:complexType>)",
         XSD_TOKEN, true},
        {"group in a group", std::string(group) + R"(<xs:attributeGroup name="Outer">
           <xs:attributeGroup ref="tns:AG"/></xs:attributeGroup>
           <xs:complexType name="T"><xs:attributeGroup ref="tns:Outer"/></xs:complexType>)" + global,
         XSD_TOKEN, true},
        {"simple content extension", std::string(group) + R"(<xs:complexType name="T"><xs:simpleContent>
           <xs:extension base="xs:string"><xs:attributeGroup ref="tns:AG"/></xs:extension>
           </xs:simpleContent></xs:complexType>)" + global,
         XSD_TOKEN, true},
        {"complex content extension", std::string(group) + R"(<xs:complexType name="T"><xs:complexContent>
           <xs:extension base="xs:anyType"><xs:attributeGroup ref="tns:AG"/></xs:extension>
           </xs:complexContent></xs:complexType>)" + global,
         XSD_TOKEN, true},
        {"local attribute of the name, beside another reference", std::string(R"(<xs:complexType name="T">
           <xs:attribute ref="tns:code"/><xs:attribute name="lang" type="xs:date"/></xs:complexType>
           <xs:complexType name="U"><xs:attribute ref="tns:lang"/></xs:complexType>
           <xs:attribute name="code" type="xs:int"/>)") + global,
         XSD_DATE, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ParsedSchema s(schema(c.body));
        ASSERT_TRUE(s.ok) << s.text();
        const Attribute* lang = s.complex("T")->getAttribute("lang");
        ASSERT_NE(nullptr, lang);
        EXPECT_EQ(c.type, lang->getType());
        EXPECT_EQ(c.required, lang->isRequired());
        EXPECT_FALSE(lang->isForwardRef());
        if (const AttributeGroup* defined = s.parser.getAttributeGroup(qname(Tns, "AG"))) {
            ASSERT_EQ(1u, defined->getAttributes().size());
            EXPECT_EQ(XSD_TOKEN, defined->getAttributes()[0].getType());
            EXPECT_EQ("en", defined->getAttributes()[0].getDefaultValue());
        }
    }
}

TEST(SchemaParserComplexType, TopLevelAttributeGroupReferenceIsNotAppendedTwice)
{
    ParsedSchema s(schema(R"(<xs:attributeGroup name="AG"><xs:attribute name="a"/></xs:attributeGroup>
  <xs:attributeGroup ref="tns:AG"/><xs:attributeGroup ref="tns:AG"/>
  <xs:attributeGroup name="Second"/>)"));
    ASSERT_TRUE(s.ok) << s.text();
    // Each group once: a second entry would also be freed twice.
    EXPECT_NE(nullptr, s.parser.getAttributeGroup(qname(Tns, "Second")));
    EXPECT_EQ(1u, s.parser.getAttributeGroup(qname(Tns, "AG"))->getAttributes().size());
}

struct SoapArrays : ::testing::Test {
    SoapArrays()
        : wsdl(R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace=")" + std::string(WsdlNs) +
               "\"/>"),
          encoding(R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:tns=")" +
                   std::string(SoapEncodingNs) + R"(" targetNamespace=")" + SoapEncodingNs + R"(">
  <xs:attribute name="arrayType" type="xs:string"/>
  <xs:complexType name="Array"><xs:sequence><xs:any minOccurs="0" maxOccurs="unbounded"/></xs:sequence>
    <xs:attribute ref="tns:arrayType"/></xs:complexType></xs:schema>)")
    {
    }

    std::string arrayType(const std::string& name, const std::string& value, const std::string& content = "")
    {
        return "<xs:complexType name=\"" + name + "\"><xs:complexContent><xs:restriction base=\"soapenc:Array\">" +
            content + "<xs:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"" + value +
            "\"/></xs:restriction></xs:complexContent></xs:complexType>";
    }

    std::string prefixes() const
    {
        return std::string("xmlns:soapenc=\"") + SoapEncodingNs + "\" xmlns:wsdl=\"" + WsdlNs + "\"";
    }

    ParsedSchema wsdl;
    ParsedSchema encoding;
};

TEST_F(SoapArrays, ItemTypeIsStrippedOfItsBrackets)
{
    ASSERT_TRUE(wsdl.ok && encoding.ok) << encoding.text();
    ParsedSchema s(schema(arrayType("Strings", "xs:string[]") + arrayType("Items", "tns:Item[][]") +
                              arrayType("Sized", "xs:int[3]") +
                              arrayType("Given", "xs:int[]",
                                        "<xs:sequence><xs:element name=\"item\" type=\"xs:int\"/></xs:sequence>") +
                              "<xs:complexType name=\"Item\"/>",
                          prefixes()),
                   1, {&wsdl.parser, &encoding.parser});
    ASSERT_TRUE(s.ok) << s.text();

    const ContentModel* strings = s.complex("Strings")->getContentModel();
    ASSERT_NE(nullptr, strings);
    EXPECT_EQ(ContentModel::Sequence, strings->getCompositor());
    ASSERT_EQ(1u, strings->getContents().size());
    const Element* star = particle(strings, 0);
    EXPECT_EQ("*", star->getName());
    EXPECT_EQ(XSD_STRING, star->getType());
    EXPECT_EQ(0, star->getMin());
    EXPECT_EQ(UNBOUNDED, star->getMax());
    EXPECT_EQ(Tns, star->getTypeNamespace());
    EXPECT_FALSE(star->isQualified());

    EXPECT_EQ(s.parser.getTypeId(qname(Tns, "Item")), particle(s.complex("Items")->getContentModel(), 0)->getType());
    // A pair holding a size stays part of the name: no built-in type of that name.
    EXPECT_EQ(XSD_STRING, particle(s.complex("Sized")->getContentModel(), 0)->getType());
    // A model of its own gets the element at its end.
    const ContentModel* given = s.complex("Given")->getContentModel();
    ASSERT_EQ(2u, given->getContents().size());
    EXPECT_EQ("*", particle(given, 1)->getName());
}

TEST_F(SoapArrays, OnlyArraysOfTheEncodingGetAnElement)
{
    ParsedSchema s(schema(R"(<xs:complexType name="Array"/>
  <xs:complexType name="NotEncoded"><xs:complexContent><xs:restriction base="tns:Array">
    <xs:attribute name="arrayType" wsdl:arrayType="xs:string[]"/></xs:restriction></xs:complexContent></xs:complexType>
  <xs:complexType name="NoArrayType"><xs:complexContent><xs:restriction base="soapenc:Array"/>
  </xs:complexContent></xs:complexType>)",
                          prefixes()),
                   1, {&wsdl.parser, &encoding.parser});
    ASSERT_TRUE(s.ok) << s.text();
    EXPECT_EQ(nullptr, s.complex("NotEncoded")->getContentModel());
    EXPECT_EQ(nullptr, s.complex("NoArrayType")->getContentModel());
}

TEST(SchemaParserComplexType, BasicContentOfABorrowedTypeFollowsItsOwnSchema)
{
    ParsedSchema other(R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:o="urn:other"
      targetNamespace="urn:other">
  <xs:simpleType name="Base"><xs:restriction base="xs:int"/></xs:simpleType>
  <xs:simpleType name="Code"><xs:restriction base="o:Base"/></xs:simpleType></xs:schema>)");
    ASSERT_TRUE(other.ok) << other.text();
    // Id 29 here is a complex type: a walk in the wrong table would answer 0.
    ParsedSchema s(schema(R"(<xs:complexType name="Mine"/><xs:element name="E" type="o:Code"/>
  <xs:simpleType name="Local"><xs:restriction base="o:Code"/></xs:simpleType>)",
                          "xmlns:o=\"urn:other\""),
                   1, {&other.parser});
    ASSERT_TRUE(s.ok) << s.text();
    EXPECT_EQ(XSD_INT, s.parser.getBasicContentType(s.element("E")->getType()));
    EXPECT_EQ(XSD_INT, s.parser.getBasicContentType(s.simple("Local")->getTypeId()));
    EXPECT_EQ(XSD_INVALID, s.parser.getBasicContentType(s.complex("Mine")->getTypeId()));
    EXPECT_EQ(XSD_INVALID, s.parser.getBasicContentType(XSD_INVALID));
    EXPECT_EQ(XSD_DATE, s.parser.getBasicContentType(XSD_DATE));
}

// The walk follows simple bases and simple content to a built-in type, and
// ends on bases that go round.
TEST(SchemaParserComplexType, BasicContentFollowsBasesAndEndsOnCycles)
{
    // With an import registered, the type that stays undefined is left to finalize.
    ParsedSchema other(R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:other"/>)");
    ParsedSchema s(schema(R"(<xs:simpleType name="Level1"><xs:restriction base="xs:int"/></xs:simpleType>
  <xs:simpleType name="Level2"><xs:restriction base="tns:Level1"/></xs:simpleType>
  <xs:simpleType name="Level3"><xs:restriction base="tns:Level2"/></xs:simpleType>
  <xs:complexType name="Complex"><xs:sequence/></xs:complexType>
  <xs:complexType name="Priced"><xs:simpleContent><xs:extension base="tns:Level2"/></xs:simpleContent></xs:complexType>
  <xs:complexType name="Capped"><xs:simpleContent><xs:restriction base="tns:Level3"/></xs:simpleContent></xs:complexType>
  <xs:simpleType name="CycleA"><xs:restriction base="tns:CycleB"/></xs:simpleType>
  <xs:simpleType name="CycleB"><xs:restriction base="tns:CycleA"/></xs:simpleType>
  <xs:simpleType name="Self"><xs:restriction base="tns:Self"/></xs:simpleType>
  <xs:simpleType name="OnCycle"><xs:restriction base="tns:CycleA"/></xs:simpleType>
  <xs:element name="E" type="tns:Later"/>)"),
                   1, {&other.parser});
    ASSERT_TRUE(s.ok) << s.text();
    const int later = s.element("E")->getType();
    ASSERT_EQ(nullptr, s.parser.getType(later));
    const struct {
        const char* type;
        int basic;
    } cases[] = {
        {"Level1", XSD_INT}, {"Level3", XSD_INT}, {"Complex", XSD_INVALID}, {"Priced", XSD_INT},
        {"Capped", XSD_INT}, {"CycleA", XSD_INVALID}, {"CycleB", XSD_INVALID}, {"Self", XSD_INVALID},
        {"OnCycle", XSD_INVALID},
    };
    for (const auto& c : cases) {
        const XsdType* type = s.type(c.type);
        ASSERT_NE(nullptr, type) << c.type;
        EXPECT_EQ(c.basic, s.parser.getBasicContentType(type->getTypeId())) << c.type;
    }
    EXPECT_EQ(later, s.parser.getBasicContentType(later)); // undefined: the walk stops at its id
    EXPECT_EQ(XSD_BOOLEAN, s.parser.getBasicContentType(XSD_BOOLEAN));
}

} // namespace
