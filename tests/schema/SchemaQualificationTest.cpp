// Where element and attribute names stand in documents: global
// declarations and references in their schema's namespace, local ones as
// form or the schema's form defaults say, settled references like their
// declarations, also those of an imported schema.

#include "SchemaParserTestSupport.h"

#include <gtest/gtest.h>

using namespace Schema;
using namespace schematest;

namespace {

const char* const Declarations = R"(
  <xs:element name="Global" type="xs:string"/>
  <xs:attribute name="shared" type="xs:string"/>
  <xs:complexType name="T"><xs:sequence>
    <xs:element name="local" type="xs:string"/>
    <xs:element name="forced" type="xs:string" form="qualified"/>
    <xs:element name="plain" type="xs:string" form="unqualified"/>
    <xs:element ref="tns:Global"/>
    <xs:element ref="tns:Later"/>
    <xs:element ref="o:Far"/>
  </xs:sequence>
  <xs:attribute name="a" type="xs:string"/>
  <xs:attribute name="b" type="xs:string" form="qualified"/>
  <xs:attribute ref="tns:shared"/>
  <xs:attribute ref="o:farAttribute"/>
  </xs:complexType>
  <xs:element name="Later" type="xs:int"/>)";

struct Expected {
    const char* name;
    bool qualified;
    const char* ns; // where qualified
};

TEST(SchemaQualification, FormsDefaultsAndReferencesGiveEachNameItsNamespace)
{
    ParsedSchema other(R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:other">
  <xs:element name="Far" type="xs:string"/><xs:attribute name="farAttribute" type="xs:string"/></xs:schema>)");
    ASSERT_TRUE(other.ok) << other.text();
    struct Case {
        const char* defaults;
        std::vector<Expected> elements;   // the particles of T in order
        std::vector<Expected> attributes; // the attributes of T in order
    };
    const std::vector<Case> cases = {
        {"",
         {{"local", false, ""}, {"forced", true, Tns}, {"plain", false, ""}, {"Global", true, Tns},
          {"Later", true, Tns}, {"Far", true, OtherNs}},
         {{"a", false, ""}, {"b", true, Tns}, {"shared", true, Tns}, {"farAttribute", true, OtherNs}}},
        {"elementFormDefault=\"qualified\" attributeFormDefault=\"qualified\"",
         {{"local", true, Tns}, {"forced", true, Tns}, {"plain", false, ""}, {"Global", true, Tns},
          {"Later", true, Tns}, {"Far", true, OtherNs}},
         {{"a", true, Tns}, {"b", true, Tns}, {"shared", true, Tns}, {"farAttribute", true, OtherNs}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.defaults);
        ParsedSchema s(schema(std::string("<xs:import namespace=\"urn:other\"/>") + Declarations,
                              std::string("xmlns:o=\"urn:other\" ") + c.defaults),
                       1, {&other.parser});
        ASSERT_TRUE(s.ok) << s.text();
        ASSERT_TRUE(s.parser.finalize()) << s.text();
        const ComplexType* type = s.complex("T");
        ASSERT_NE(nullptr, type);
        for (std::size_t i = 0; i < c.elements.size(); ++i) {
            const Element* element = particle(type->getContentModel(), i);
            ASSERT_NE(nullptr, element);
            EXPECT_EQ(c.elements[i].name, element->getName());
            EXPECT_EQ(c.elements[i].qualified, element->isQualified()) << element->getName();
            if (c.elements[i].qualified) {
                EXPECT_EQ(c.elements[i].ns, element->getNamespace()) << element->getName();
            }
        }
        ASSERT_EQ(c.attributes.size(), type->getAttributes().size());
        for (std::size_t i = 0; i < c.attributes.size(); ++i) {
            const Attribute& attribute = type->getAttributes()[i];
            EXPECT_EQ(c.attributes[i].name, attribute.getName());
            EXPECT_EQ(c.attributes[i].qualified, attribute.isQualified()) << attribute.getName();
            if (c.attributes[i].qualified) {
                EXPECT_EQ(c.attributes[i].ns, attribute.getNamespace()) << attribute.getName();
            }
        }
        EXPECT_TRUE(s.element("Global")->isQualified());
        EXPECT_EQ(Tns, s.element("Global")->getNamespace());
    }
}

} // namespace
