// Element and attribute declarations, references and their settling.

#include "SchemaParserTestSupport.h"
#include "support/CaseFile.h"

#include <gtest/gtest.h>

using namespace Schema;
using namespace schematest;

namespace {

TEST(SchemaParserDeclarations, ElementReferenceBeforeAndAfterItsDeclaration)
{
    ParsedSchema s(schema(R"(
  <xs:element name="Early" type="xs:int"/>
  <xs:complexType name="T"><xs:sequence>
    <xs:element ref="tns:Early" minOccurs="0"/>
    <xs:element ref="tns:Late" minOccurs="0" maxOccurs="unbounded"/>
  </xs:sequence></xs:complexType>
  <xs:element name="Late" type="tns:LateType" nillable="true"/>
  <xs:simpleType name="LateType"><xs:restriction base="xs:date"/></xs:simpleType>)"));
    ASSERT_TRUE(s.ok) << s.text();
    const ContentModel* model = s.complex("T")->getContentModel();
    const Element* early = particle(model, 0);
    EXPECT_EQ("Early", early->getName());
    EXPECT_EQ(XSD_INT, early->getType());
    EXPECT_EQ(0, early->getMin());
    // Settled at the end of the schema, keeping the particle's bounds.
    const Element* late = particle(model, 1);
    EXPECT_EQ(s.parser.getTypeId(qname(Tns, "LateType")), late->getType());
    EXPECT_EQ(0, late->getMin());
    EXPECT_EQ(UNBOUNDED, late->getMax());
    EXPECT_EQ("", s.text());
}

// The particle at path: each index but the last steps into a nested model or
// a group's model; the last one names the particle.
const Element* particleAt(const ContentModel* model, const std::vector<std::size_t>& path)
{
    for (std::size_t step = 0; model != nullptr && step + 1 < path.size(); ++step) {
        if (path[step] >= model->getContents().size())
            return nullptr;
        const ContentModel::Entry& entry = model->getContents()[path[step]];
        model = entry.getGroup() != nullptr ? entry.getGroup()->getContentModel() : entry.getContentModel();
    }
    return particle(model, path.back());
}

// A reference to a global element declared later is settled wherever its
// particle stands; a local declaration that shares the global's name is no
// reference and keeps its own type.
TEST(SchemaParserDeclarations, ElementReferencesAreSettledWhereverTheyStand)
{
    const struct {
        const char* what;
        const char* body; // declares "T"; the global "Item" (an int) follows it
        std::vector<std::size_t> path;
        int type;
    } cases[] = {
        {"choice in a sequence", R"(<xs:complexType name="T"><xs:sequence><xs:element name="a"/>
           <xs:choice><xs:element name="b"/><xs:element ref="tns:Item"/></xs:choice></xs:sequence></xs:complexType>)",
         {1, 1}, XSD_INT},
        {"sequence in a choice in a sequence", R"(<xs:complexType name="T"><xs:sequence><xs:choice>
           <xs:sequence><xs:element ref="tns:Item"/></xs:sequence></xs:choice></xs:sequence></xs:complexType>)",
         {0, 0, 0}, XSD_INT},
        {"extension content", R"(<xs:complexType name="Base"/><xs:complexType name="T"><xs:complexContent>
           <xs:extension base="tns:Base"><xs:sequence><xs:choice><xs:element ref="tns:Item"/></xs:choice>
           </xs:sequence></xs:extension></xs:complexContent></xs:complexType>)",
         {0, 0}, XSD_INT},
        {"model of a group definition", R"(<xs:group name="G"><xs:sequence><xs:choice>
           <xs:element ref="tns:Item"/></xs:choice></xs:sequence></xs:group>
           <xs:complexType name="T"><xs:sequence><xs:group ref="tns:G"/></xs:sequence></xs:complexType>)",
         {0, 0, 0}, XSD_INT},
        {"local declaration beside the reference", R"(<xs:complexType name="T"><xs:sequence>
           <xs:element name="Item" type="xs:string"/><xs:element ref="tns:Item"/></xs:sequence></xs:complexType>)",
         {0}, XSD_STRING},
        {"the reference beside a local declaration", R"(<xs:complexType name="T"><xs:sequence>
           <xs:element name="Item" type="xs:string"/><xs:element ref="tns:Item"/></xs:sequence></xs:complexType>)",
         {1}, XSD_INT},
        {"local declaration in a nested model", R"(<xs:complexType name="T"><xs:sequence><xs:choice>
           <xs:element name="Item" type="xs:date"/></xs:choice><xs:element ref="tns:Item"/></xs:sequence>
           </xs:complexType>)",
         {0, 0}, XSD_DATE},
        {"local declaration in another type", R"(<xs:complexType name="T"><xs:sequence>
           <xs:element name="Item" type="xs:boolean"/></xs:sequence></xs:complexType>
           <xs:complexType name="U"><xs:sequence><xs:element ref="tns:Item"/></xs:sequence></xs:complexType>)",
         {0}, XSD_BOOLEAN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ParsedSchema s(schema(std::string(c.body) + R"(<xs:element name="Item" type="xs:int"/>)"));
        ASSERT_TRUE(s.ok) << s.text();
        EXPECT_EQ("", s.text());
        const Element* found = particleAt(s.complex("T")->getContentModel(), c.path);
        ASSERT_NE(nullptr, found);
        EXPECT_EQ("Item", found->getName());
        EXPECT_EQ(c.type, found->getType());
        EXPECT_FALSE(found->isForwardRef());
    }
}

TEST(SchemaParserDeclarations, ReferencesNeverDeclared)
{
    ParsedSchema elements(schema(R"(<xs:complexType name="T"><xs:sequence>
    <xs:element ref="tns:Nowhere"/></xs:sequence></xs:complexType>)"));
    EXPECT_TRUE(elements.ok);
    // Each reference is reported where it is written, the summary where the schema ends.
    EXPECT_TRUE(elements.logged("4:36: Error: Could not resolve element reference Nowhere\n")) << elements.text();
    EXPECT_TRUE(elements.logged("5:13: Error: Unresolved element references\n")) << elements.text();
    EXPECT_EQ("Nowhere", particle(elements.complex("T")->getContentModel(), 0)->getName());

    ParsedSchema attributes(schema(R"(<xs:complexType name="T">
    <xs:attribute ref="tns:nowhere"/></xs:complexType>)"));
    EXPECT_FALSE(attributes.ok);
    EXPECT_TRUE(attributes.logged("4:38: Error: Could not resolve attribute reference  {urn:t}nowhere\n"))
        << attributes.text();
    EXPECT_TRUE(attributes.logged(": Schema Parser Exception : Unresolved attributes references\n")) << attributes.text();
}

TEST(SchemaParserDeclarations, AttributeReferenceKeepsItsOwnUse)
{
    ParsedSchema s(schema(R"(
  <xs:complexType name="T">
    <xs:attribute ref="tns:late" use="required"/>
    <xs:attribute ref="tns:early" use="required" default="x"/>
    <xs:attribute name="plain" type="xs:int"/>
  </xs:complexType>
  <xs:attribute name="early" type="xs:int" default="0"/>
  <xs:attribute name="late" type="xs:boolean" fixed="true"/>)"));
    ASSERT_TRUE(s.ok) << s.text();
    const ComplexType* type = s.complex("T");
    const Attribute* late = type->getAttribute("late");
    ASSERT_NE(nullptr, late);
    EXPECT_EQ(XSD_BOOLEAN, late->getType());
    EXPECT_TRUE(late->isRequired());
    EXPECT_EQ("true", late->getFixedValue());
    const Attribute* early = type->getAttribute("early");
    EXPECT_EQ(XSD_INT, early->getType());
    EXPECT_EQ("x", early->getDefaultValue());
    EXPECT_TRUE(early->isRequired());
    EXPECT_EQ(3, type->getNumAttributes());
}

TEST(SchemaParserDeclarations, AttributeReferenceToAnEarlierDeclaration)
{
    ParsedSchema s(schema(R"(
  <xs:attribute name="early" type="xs:int" default="0"/>
  <xs:complexType name="T"><xs:attribute ref="tns:early" use="required"/>
    <xs:attribute ref="tns:early" default="5"/></xs:complexType>)"));
    ASSERT_TRUE(s.ok) << s.text();
    const Attribute* early = s.complex("T")->getAttribute("early");
    EXPECT_EQ(XSD_INT, early->getType());
    EXPECT_EQ("5", early->getDefaultValue());
    EXPECT_FALSE(early->isRequired());
}

// Each problem is reported with its position; only the fatal ones fail the
// parse, and then nothing after them is read.
TEST(SchemaParserDeclarations, ProblemsAreReportedAndOnlyFatalOnesFail)
{
    for (const auto& c : testsupport::caseTable("schema/data/parser.cases", "problems")) {
        SCOPED_TRACE(c[0]);
        ParsedSchema s(schema("\n" + c[0] + "\n<xs:element name=\"After\"/>"), 2);
        EXPECT_EQ(c.flag(1), s.ok);
        EXPECT_EQ(c.flag(1), s.element("After") != nullptr);
        EXPECT_TRUE(s.logged(c[2])) << s.text();
        // On the line of the problem, as an error or as the fatal one.
        EXPECT_TRUE(("\n" + s.text()).find("\n4:") != std::string::npos) << s.text();
    }
}

TEST(SchemaParserDeclarations, TypeMissingFromAnImportedSchema)
{
    ParsedSchema other(R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:other">
  <xs:complexType name="Known"/></xs:schema>)");
    ASSERT_TRUE(other.ok);
    const std::string prefix = "xmlns:o=\"urn:other\"";
    ParsedSchema element(schema(R"(<xs:element name="E" type="o:Missing"/>)", prefix), 1, {&other.parser});
    EXPECT_FALSE(element.ok);
    EXPECT_TRUE(element.logged("<element>:Could not resolve type urn:other:Missing\n")) << element.text();

    ParsedSchema attribute(schema(R"(<xs:attribute name="a" type="o:Missing"/><xs:element name="K" type="o:Known"/>)",
                                  prefix),
                           1, {&other.parser});
    EXPECT_TRUE(attribute.ok) << attribute.text();
    EXPECT_TRUE(attribute.logged(": Error: ")) << attribute.text();
    EXPECT_TRUE(attribute.logged("<attribute>:Could not resolve type urn:other:Missing\n")) << attribute.text();
    EXPECT_EQ(XSD_INVALID, attribute.parser.getAttributes().front().getType());
    // The type that is there is borrowed: an id of this table, the other's object.
    const int known = attribute.element("K")->getType();
    EXPECT_GE(known, FIRST_USER_TYPE);
    EXPECT_EQ(other.type("Known"), attribute.parser.getType(known));
}

TEST(SchemaParserDeclarations, AttributeFromARegisteredNamespaceIsKept)
{
    const std::string body = R"(<xs:complexType name="T">
    <xs:attribute name="arrayType" wsdl:arrayType="xs:string[]"/></xs:complexType>)";
    const std::string prefix = std::string("xmlns:wsdl=\"") + WsdlNs + "\"";

    ParsedSchema registered(R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace=")" +
                            std::string(WsdlNs) + "\"/>");
    ASSERT_TRUE(registered.ok);
    ParsedSchema known(schema(body, prefix), 2, {&registered.parser});
    ASSERT_TRUE(known.ok) << known.text();
    const Attribute* kept = known.complex("T")->getAttribute("arrayType");
    EXPECT_EQ("xs:string[]", kept->getDefaultValue());
    EXPECT_EQ(WsdlNs, kept->getFixedValue());

    ParsedSchema unknown(schema(body, prefix), 2);
    ASSERT_TRUE(unknown.ok);
    EXPECT_TRUE(unknown.logged(std::string("<attribute>:Unsupported attribute {") + WsdlNs + "}:arrayType\n"))
        << unknown.text();
    EXPECT_EQ("", unknown.complex("T")->getAttribute("arrayType")->getDefaultValue());
}

TEST(SchemaParserDeclarations, DeclaredTypeNamedLikeAnAnonymousOne)
{
    // The anonymous type is named type0 first; the later mention of the
    // declared type0 must reach the declared type, not the anonymous one.
    ParsedSchema s(schema(R"(
  <xs:element name="Anon"><xs:complexType><xs:sequence><xs:element name="inner"/></xs:sequence></xs:complexType></xs:element>
  <xs:element name="Declared" type="tns:type0"/>
  <xs:simpleType name="type0"><xs:restriction base="xs:int"/></xs:simpleType>)"));
    ASSERT_TRUE(s.ok) << s.text();
    const XsdType* declared = s.parser.getType(s.element("Declared")->getType());
    ASSERT_NE(nullptr, declared);
    EXPECT_TRUE(declared->isSimple());
    EXPECT_FALSE(declared->isAnonymous());
    const XsdType* anonymous = s.parser.getType(s.element("Anon")->getType());
    ASSERT_NE(nullptr, anonymous);
    EXPECT_FALSE(anonymous->isSimple());
    EXPECT_NE("type0", anonymous->getName());
}

} // namespace

namespace {

// An unprefixed reference, with no default namespace, names a declaration of
// the imported schema that has no target namespace, even when this schema
// declares one of the same local name.
TEST(SchemaParserDeclarations, UnprefixedReferencesReachTheNoNamespaceImport)
{
    const struct {
        const char* label;
        const char* ownDeclarations;
    } cases[] = {
        {"nothing of that name here", ""},
        {"a declaration of that name here too",
         R"(<xs:element name="foo" type="xs:string"/><xs:attribute name="bar" type="xs:string"/>)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ParsedSchema other(R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="foo" type="xs:int"/>
  <xs:attribute name="bar" type="xs:boolean"/>
</xs:schema>)");
        ASSERT_TRUE(other.ok) << other.text();
        ParsedSchema importing(schema(std::string(R"(<xs:import/>)") + c.ownDeclarations + R"(
  <xs:element name="root"><xs:complexType>
    <xs:sequence><xs:element ref="foo"/></xs:sequence>
    <xs:attribute ref="bar"/>
  </xs:complexType></xs:element>)"),
                               1, {&other.parser});
        ASSERT_TRUE(importing.ok) << importing.text();
        EXPECT_FALSE(importing.logged("Could not resolve")) << importing.text();
        const ContentModel* model = importing.modelOf("root");
        ASSERT_NE(nullptr, model);
        ASSERT_EQ(1u, model->getContents().size());
        const Element* particle = model->getContents()[0].getElement();
        ASSERT_NE(nullptr, particle);
        EXPECT_EQ(XSD_INT, particle->getType());
        const Element* root = importing.element("root");
        const auto* rootType = dynamic_cast<const ComplexType*>(importing.parser.getType(root->getType()));
        ASSERT_NE(nullptr, rootType);
        const Attribute* attribute = rootType->getAttribute("bar");
        ASSERT_NE(nullptr, attribute);
        EXPECT_EQ(XSD_BOOLEAN, attribute->getType());
    }
}

} // namespace
