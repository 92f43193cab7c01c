// Content models, wildcards, groups, identity constraints and simple types.

#include "SchemaParserTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Schema;
using namespace schematest;

namespace {

std::string elementWithSequence(const std::string& sequenceAttributes, const std::string& particles)
{
    return schema("<xs:element name=\"E\"><xs:complexType><xs:sequence " + sequenceAttributes + ">" + particles +
                  "</xs:sequence></xs:complexType></xs:element>");
}

TEST(SchemaParserContent, OccurrenceBoundsOfModelsAndParticles)
{
    const struct {
        const char* sequence;
        const char* element;
        int modelMin, modelMax, elementMin, elementMax;
    } cases[] = {
        {"", "", 1, 1, 1, 1},
        {"minOccurs=\"0\" maxOccurs=\"unbounded\"", "minOccurs=\"0\" maxOccurs=\"unbounded\"", 0, UNBOUNDED, 0,
         UNBOUNDED},
        {"maxOccurs=\"5\"", "minOccurs=\"2\" maxOccurs=\"7\"", 1, 5, 2, 7},
        {"minOccurs=\"3\"", "maxOccurs=\"\"", 3, 1, 1, 1}, // an empty maxOccurs of an element reads as 1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.sequence) + " / " + c.element);
        ParsedSchema s(elementWithSequence(c.sequence, std::string("<xs:element name=\"a\" type=\"xs:int\" ") +
                                                           c.element + "/>"));
        ASSERT_TRUE(s.ok) << s.text();
        const ContentModel* model = s.modelOf("E");
        ASSERT_NE(nullptr, model);
        EXPECT_EQ(ContentModel::Sequence, model->getCompositor());
        EXPECT_EQ(c.modelMin, model->getMin());
        EXPECT_EQ(c.modelMax, model->getMax());
        ASSERT_NE(nullptr, particle(model, 0));
        EXPECT_EQ(c.elementMin, particle(model, 0)->getMin());
        EXPECT_EQ(c.elementMax, particle(model, 0)->getMax());
        EXPECT_EQ(XSD_INT, particle(model, 0)->getType());
    }
}

TEST(SchemaParserContent, AnyIsAnElementOfTypeAny)
{
    ParsedSchema s(elementWithSequence("", "<xs:any namespace=\"##other\" processContents=\"lax\" minOccurs=\"0\""
                                           " maxOccurs=\"unbounded\"><xs:annotation/></xs:any>"
                                           "<xs:element name=\"after\"/>"),
                   2);
    ASSERT_TRUE(s.ok) << s.text();
    const ContentModel* model = s.modelOf("E");
    const Element* any = particle(model, 0);
    ASSERT_NE(nullptr, any);
    EXPECT_EQ("##other", any->getName());
    EXPECT_EQ("##other", any->getTypeNamespace());
    EXPECT_EQ(XSD_ANY, any->getType());
    EXPECT_EQ(0, any->getMin());
    EXPECT_EQ(UNBOUNDED, any->getMax());
    EXPECT_TRUE(model->anyContents());
    EXPECT_EQ("after", particle(model, 1)->getName());
    EXPECT_EQ("", s.text());

    ParsedSchema odd(elementWithSequence("", "<xs:any foo=\"1\"/>"), 2);
    EXPECT_TRUE(odd.logged(": Alert: ")) << odd.text();
    EXPECT_TRUE(odd.logged("<any>:Unsupported Attribute foo")) << odd.text();
}

TEST(SchemaParserContent, GroupUsedTwiceSharesOneModel)
{
    ParsedSchema s(schema(R"(
  <xs:group name="G"><xs:annotation/><xs:sequence><xs:element name="g1" type="xs:int"/></xs:sequence></xs:group>
  <xs:complexType name="A"><xs:sequence><xs:group ref="tns:G" minOccurs="0" maxOccurs="unbounded"/></xs:sequence></xs:complexType>
  <xs:complexType name="B"><xs:group ref="other:G"/></xs:complexType>
  <xs:complexType name="C"><xs:sequence><xs:group ref="tns:Later"/></xs:sequence></xs:complexType>
  <xs:group name="Later"><xs:choice><xs:element name="l"/></xs:choice></xs:group>
  <xs:group name="Empty"/>)"));
    ASSERT_TRUE(s.ok) << s.text();
    ASSERT_EQ(3u, s.parser.getGroups().size());
    const Group& definition = s.parser.getGroups().front();
    ASSERT_NE(nullptr, definition.getContentModel());
    EXPECT_FALSE(definition.isReference());

    const Group* inA = s.complex("A")->getContentModel()->getContents()[0].getGroup();
    ASSERT_NE(nullptr, inA);
    EXPECT_TRUE(inA->isReference());
    EXPECT_EQ(definition.getContentModel(), inA->getContentModel());
    // The occurrence is the reference's own.
    EXPECT_EQ(0, inA->getMin());
    EXPECT_EQ(UNBOUNDED, inA->getMax());

    // Any prefix: a reference is looked up by local name in this schema.
    const Group* inB = s.complex("B")->getContentModel()->getContents()[0].getGroup();
    EXPECT_EQ(definition.getContentModel(), inB->getContentModel());

    // A group defined later is not there yet, and that is no error.
    const Group* inC = s.complex("C")->getContentModel()->getContents()[0].getGroup();
    EXPECT_EQ("Later", inC->getName());
    EXPECT_EQ(nullptr, inC->getContentModel());
    EXPECT_EQ(nullptr, s.parser.getGroups().back().getContentModel());
    EXPECT_EQ("", s.text());
}

TEST(SchemaParserContent, UnionAndListMembers)
{
    ParsedSchema s(schema(R"(
  <xs:simpleType name="Code"><xs:restriction base="xs:string"/></xs:simpleType>
  <xs:simpleType name="U"><xs:union memberTypes="xs:int  tns:Code	
      xs:date"/></xs:simpleType>
  <xs:simpleType name="Anon"><xs:union memberTypes="xs:boolean">
      <xs:simpleType><xs:restriction base="xs:int"><xs:minInclusive value="1"/></xs:restriction></xs:simpleType>
    </xs:union></xs:simpleType>
  <xs:simpleType name="L"><xs:list itemType="tns:Code"/></xs:simpleType>
  <xs:simpleType name="AnonList"><xs:list><xs:simpleType><xs:restriction base="xs:date"/></xs:simpleType></xs:list></xs:simpleType>)"));
    ASSERT_TRUE(s.ok) << s.text();
    const int code = s.parser.getTypeId(qname(Tns, "Code"));
    EXPECT_TRUE(s.simple("U")->isUnion());
    // A run of blanks, tabs and line ends is one separator.
    EXPECT_EQ((std::vector<int>{XSD_INT, code, XSD_DATE}), s.simple("U")->getMemberTypes());

    const std::vector<int>& anon = s.simple("Anon")->getMemberTypes();
    ASSERT_EQ(2u, anon.size());
    EXPECT_EQ(XSD_BOOLEAN, anon[0]);
    const auto* member = dynamic_cast<const SimpleType*>(s.parser.getType(anon[1]));
    ASSERT_NE(nullptr, member);
    EXPECT_TRUE(member->isAnonymous());
    EXPECT_EQ(XSD_INT, member->getBaseTypeId());

    EXPECT_TRUE(s.simple("L")->isList());
    EXPECT_EQ(code, s.simple("L")->getBaseTypeId());
    EXPECT_EQ(XsdType::Restriction, s.simple("L")->getBaseDerivation());
    const XsdType* item = s.parser.getType(s.simple("AnonList")->getBaseTypeId());
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(XSD_DATE, item->getBaseTypeId());
}

// Member and item types named before their definition get forward ids like
// any other type name: the definition settles them, and one that never comes
// is reported with the other undefined types.
TEST(SchemaParserContent, MemberAndItemTypesDefinedLater)
{
    const std::string later = R"(<xs:simpleType name="Later"><xs:restriction base="xs:int"/></xs:simpleType>)";
    const std::string noNamespace = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">)";
    const int Later = -1; // stands for the id of "Later"
    const struct {
        std::string text;
        bool list;
        std::vector<int> members; // of the union, or the list's item type
    } cases[] = {
        {schema(R"(<xs:simpleType name="S"><xs:union memberTypes="tns:Later xs:int"/></xs:simpleType>)" + later),
         false, {Later, XSD_INT}},
        {schema(R"(<xs:simpleType name="S"><xs:union memberTypes="xs:date tns:Later"/></xs:simpleType>)" + later),
         false, {XSD_DATE, Later}},
        {schema(R"(<xs:simpleType name="S"><xs:list itemType="tns:Later"/></xs:simpleType>)" + later), true, {Later}},
        {noNamespace + R"(<xs:simpleType name="S"><xs:union memberTypes="Later"/></xs:simpleType>)" + later +
             "</xs:schema>",
         false, {Later}},
        {noNamespace + R"(<xs:simpleType name="S"><xs:list itemType="Later"/></xs:simpleType>)" + later +
             "</xs:schema>",
         true, {Later}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ParsedSchema s(c.text);
        ASSERT_TRUE(s.ok) << s.text();
        const int laterId = s.parser.getTypeId(qname(s.parser.getNamespace(), "Later"));
        ASSERT_NE(nullptr, s.parser.getType(laterId));
        std::vector<int> expected = c.members;
        std::replace(expected.begin(), expected.end(), Later, laterId);
        const SimpleType* type = s.simple("S");
        EXPECT_EQ(expected, c.list ? std::vector<int>{type->getBaseTypeId()} : type->getMemberTypes());
        EXPECT_EQ(c.list, type->isList());
        EXPECT_EQ(XSD_INT, s.parser.getBasicContentType(laterId));
    }

    for (const char* body : {R"(<xs:simpleType name="S"><xs:union memberTypes="xs:int tns:Missing"/></xs:simpleType>)",
                             R"(<xs:simpleType name="S"><xs:list itemType="tns:Missing"/></xs:simpleType>)"}) {
        ParsedSchema s(schema(body));
        EXPECT_FALSE(s.ok) << body;
        EXPECT_TRUE(s.logged("Could not find {urn:t}:Missing\n")) << s.text();
        EXPECT_TRUE(s.logged("Undefined Types in namespace urn:t")) << s.text();
    }

    // A member of another namespace waits for that schema, as a borrowed type does.
    ParsedSchema s(schema(R"(<xs:import namespace="urn:other"/>
  <xs:simpleType name="S"><xs:union memberTypes="o:Code"/></xs:simpleType>)",
                          "xmlns:o=\"urn:other\""));
    ASSERT_TRUE(s.ok) << s.text();
    const int borrowed = s.simple("S")->getMemberTypes().at(0);
    EXPECT_NE(XSD_INVALID, borrowed);
    ParsedSchema other(R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:other">
  <xs:simpleType name="Code"><xs:restriction base="xs:int"/></xs:simpleType></xs:schema>)");
    s.parser.addImport(&other.parser);
    EXPECT_TRUE(s.parser.finalize()) << s.text();
    EXPECT_EQ(other.type("Code"), s.parser.getType(borrowed));
}

TEST(SchemaParserContent, NoNamespaceSchemaFindsBuiltInMembers)
{
    ParsedSchema s(R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:simpleType name="U"><xs:union memberTypes="xs:int xs:string"/></xs:simpleType>
  <xs:simpleType name="L"><xs:list itemType="xs:date"/></xs:simpleType></xs:schema>)");
    ASSERT_TRUE(s.ok) << s.text();
    EXPECT_EQ((std::vector<int>{XSD_INT, XSD_STRING}), s.simple("U")->getMemberTypes());
    EXPECT_EQ(XSD_DATE, s.simple("L")->getBaseTypeId());
}

TEST(SchemaParserContent, RestrictionFacets)
{
    ParsedSchema s(schema(R"(
  <xs:simpleType name="Size"><xs:restriction base="xs:string">
    <xs:enumeration value="S"><xs:annotation><xs:documentation>small</xs:documentation></xs:annotation></xs:enumeration>
    <xs:enumeration value="M"/><xs:maxLength value="3"/><xs:totalDigits value="2"/>
  </xs:restriction></xs:simpleType>
  <xs:simpleType name="Derived"><xs:restriction base="tns:Size"><xs:length value="1"/></xs:restriction></xs:simpleType>
  <xs:simpleType name="Inline"><xs:restriction>
    <xs:simpleType><xs:restriction base="xs:int"/></xs:simpleType><xs:maxInclusive value="9"/>
  </xs:restriction></xs:simpleType>
  <xs:element name="after" type="tns:Size"/>)"));
    ASSERT_TRUE(s.ok) << s.text();
    const SimpleType* size = s.simple("Size");
    EXPECT_EQ(XSD_STRING, size->getBaseTypeId());
    EXPECT_EQ((std::vector<std::string>{"S", "M"}), size->getEnumerations());
    EXPECT_TRUE(size->isValidString("M"));
    EXPECT_FALSE(size->isValidString("XL"));
    EXPECT_TRUE(s.logged("<restriction>:totalDigits is not a valid facet /attribute for the type")) << s.text();
    EXPECT_TRUE(s.simple("Derived")->hasFacet(SimpleType::LENGTH));
    const SimpleType* inline_ = s.simple("Inline");
    EXPECT_TRUE(inline_->hasFacet(SimpleType::MAXINC));
    EXPECT_EQ(XSD_INT, s.parser.getBasicContentType(inline_->getTypeId()));
    ASSERT_NE(nullptr, s.element("after"));
}

// Each built-in base admits the facets its datatype defines, also the types
// without a type id of their own; a derived type admits what its base does.
TEST(SchemaParserContent, FacetsAreCheckedAgainstTheBaseDatatype)
{
    const struct {
        const char* base;
        const char* facet;
        bool admitted;
    } cases[] = {
        {"xs:unsignedByte", "maxInclusive", true},    {"xs:nonNegativeInteger", "minInclusive", true},
        {"xs:duration", "minInclusive", true},        {"xs:duration", "length", false},
        {"xs:gYear", "maxExclusive", true},           {"xs:unsignedByte", "totalDigits", true},
        {"xs:negativeInteger", "fractionDigits", true}, {"xs:boolean", "length", false},
        {"xs:boolean", "enumeration", false},         {"xs:boolean", "pattern", true},
        {"xs:string", "maxInclusive", false},         {"xs:normalizedString", "maxLength", true},
        {"xs:language", "minInclusive", false},       {"xs:float", "totalDigits", false},
        {"xs:hexBinary", "length", true},             {"xs:dateTime", "whiteSpace", true},
        {"tns:Byte", "maxInclusive", true},           {"tns:Byte", "length", false},
        {"tns:Flag", "pattern", true},                {"tns:Flag", "minInclusive", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.base) + " " + c.facet);
        const std::string value = std::string(c.facet) == "whiteSpace" ? "collapse" : "1";
        ParsedSchema s(schema("<xs:simpleType name=\"Byte\"><xs:restriction base=\"xs:unsignedByte\"/></xs:simpleType>"
                              "<xs:simpleType name=\"Flag\"><xs:restriction base=\"xs:boolean\"/></xs:simpleType>"
                              "<xs:simpleType name=\"S\"><xs:restriction base=\"" + std::string(c.base) +
                              "\"><xs:" + c.facet + " value=\"" + value + "\"/></xs:restriction></xs:simpleType>"));
        ASSERT_TRUE(s.ok) << s.text();
        EXPECT_EQ(!c.admitted, s.logged(std::string("<restriction>:") + c.facet + " is not a valid facet")) << s.text();
        EXPECT_EQ(c.admitted, s.simple("S")->hasFacet(SimpleType::getFacetId(c.facet)));
    }
}

TEST(SchemaParserContent, UnknownBaseTypeInAnImportedSchema)
{
    ParsedSchema other("<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"urn:other\"/>");
    ASSERT_TRUE(other.ok);
    ParsedSchema s(schema("<xs:simpleType name=\"S\"><xs:restriction base=\"o:Missing\" xmlns:o=\"urn:other\">"
                          "<xs:length value=\"1\"/></xs:restriction></xs:simpleType>"),
                   1, {&other.parser});
    EXPECT_FALSE(s.ok);
    EXPECT_TRUE(s.logged("<simpleType>:o:Missing:Unknown base type \n")) << s.text();
    EXPECT_TRUE(s.logged("<restriction>:unkown BaseType\n")) << s.text();
    EXPECT_TRUE(s.logged("isValidFacet:Unknown base type")) << s.text();
}

} // namespace
