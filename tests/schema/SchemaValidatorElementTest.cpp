// Elements of the schema validator: attributes, text content, wildcards and
// the all, choice and sequence walks with their messages, the container tree
// they fill, embedded schemas and types that contain themselves.

#include "SchemaValidatorTestSupport.h"

#include <gtest/gtest.h>

using namespace Schema;
using namespace schematest;
using namespace validatortest;

namespace {

const char* const ElementTypes = R"(
  <xs:complexType name="base"><xs:attribute name="id" type="xs:int" use="required"/></xs:complexType>
  <xs:complexType name="derived"><xs:complexContent><xs:extension base="tns:base">
    <xs:sequence><xs:element name="a" type="xs:string"/><xs:element name="b" type="xs:int" minOccurs="0" maxOccurs="2"/>
    </xs:sequence><xs:attribute name="flag" type="xs:boolean"/></xs:extension></xs:complexContent></xs:complexType>
  <xs:element name="seq" type="tns:derived"/>
  <xs:element name="ch"><xs:complexType><xs:choice><xs:element name="x" type="xs:int" maxOccurs="unbounded"/>
    <xs:element name="y" type="xs:string"/></xs:choice></xs:complexType></xs:element>
  <xs:element name="every"><xs:complexType><xs:all><xs:element name="p" type="xs:int"/>
    <xs:element name="q" type="xs:int" minOccurs="0"/></xs:all></xs:complexType></xs:element>
  <xs:element name="nested"><xs:complexType><xs:sequence><xs:element name="head" type="xs:string"/>
    <xs:sequence minOccurs="0" maxOccurs="unbounded"><xs:element name="k" type="xs:string"/>
      <xs:element name="v" type="xs:int"/></xs:sequence>
    <xs:element name="tail" type="xs:string" minOccurs="0"/></xs:sequence></xs:complexType></xs:element>
  <xs:element name="wild"><xs:complexType><xs:sequence><xs:element name="first" type="xs:int"/>
    <xs:any maxOccurs="unbounded"/></xs:sequence></xs:complexType></xs:element>
  <xs:element name="open"><xs:complexType><xs:attribute name="known" type="xs:int"/><xs:anyAttribute/>
    </xs:complexType></xs:element>
  <xs:element name="empty"><xs:complexType><xs:attribute name="n" type="xs:int"/></xs:complexType></xs:element>
  <xs:complexType name="node"><xs:sequence><xs:element name="node" type="tns:node" minOccurs="0"/>
    <xs:element name="v" type="xs:int"/></xs:sequence></xs:complexType>
  <xs:element name="node" type="tns:node"/>
  <xs:element name="text" type="xs:string"/>
  <xs:element name="amount"><xs:complexType><xs:simpleContent><xs:extension base="xs:double">
    <xs:attribute name="unit" type="xs:string"/></xs:extension></xs:simpleContent></xs:complexType></xs:element>
)";

class SchemaValidatorElementTest : public ::testing::Test {
protected:
    SchemaValidatorElementTest() : schema_(schema(ElementTypes)) {}

    ParsedSchema schema_;
};

TEST_F(SchemaValidatorElementTest, InstancesAreCheckedAgainstTheirType)
{
    struct Case {
        const char* xml;
        const char* error; // empty: valid
    };
    const Case cases[] = {
        {R"(<seq id="1"><a>t</a><b>1</b><b>2</b></seq>)", ""},
        {R"(<seq id="1"><a>t</a></seq>)", ""},
        {R"(<seq id="1"><b>1</b></seq>)", "a did not meet occurrence constraints"},
        {R"(<seq id="1"/>)", "a did not meet occurrence constraints"},
        {R"(<seq id="1"><a>t</a><b>1</b><b>2</b><b>3</b></seq>)", "b did not meet occurrence constraints"},
        {R"(<seq id="1"><a>t</a><c/></seq>)", "Could not find element c in seq"},
        {R"(<seq id="1"><b>1</b><a>t</a></seq>)", "Could not find element a in seq"},
        // attributes: the base type's too; other namespaces are not ours
        {R"(<seq><a>t</a></seq>)", R"(Required attribute "id" missing or empty)"},
        {R"(<seq id=""><a>t</a></seq>)", R"(Required attribute "id" missing or empty)"},
        {R"(<seq id="1" other="2"><a>t</a></seq>)", R"(Unknown attribute "other")"},
        {R"(<seq xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:type="x" id="1"><a>t</a></seq>)", ""},
        {R"(<seq xmlns:o="urn:o" o:id="" id="1"><a>t</a></seq>)", ""},
        {R"(<seq xmlns:o="urn:o" o:id="1"><a>t</a></seq>)", R"(Required attribute "id" missing or empty)"},
        {R"(<seq xmlns:t="urn:t" t:id="1"><a>t</a></seq>)", ""},
        {R"(<open known="1" anything="2"/>)", ""},
        // choice: one branch, repeated while the same element comes
        {R"(<ch><x>1</x><x>2</x></ch>)", ""},
        {R"(<ch><y>s</y></ch>)", ""},
        {R"(<ch><z/></ch>)", "Could not find element z in ch"},
        {R"(<ch><x>1</x><y>s</y></ch>)", "Could not find element y in ch"},
        {R"(<ch><y>s</y><y>t</y></ch>)", "Could not find element y in ch"},
        // all: any order, each within its bounds
        {R"(<every><q>1</q><p>2</p></every>)", ""},
        {R"(<every><q>1</q></every>)", "p did not meet occurrence constraints"},
        {R"(<every><p>1</p><p>2</p></every>)", "p did not meet occurrence constraints"},
        {R"(<every><p>1</p><r/></every>)", "Could not find element r in every"},
        // a nested model repeats, and counts as absent when nothing of it comes
        {R"(<nested><head>h</head></nested>)", ""},
        {R"(<nested><head>h</head><k>a</k><v>1</v><k>b</k><v>2</v><tail>t</tail></nested>)", ""},
        {R"(<nested><head>h</head><k>a</k><tail>t</tail></nested>)", "v did not meet occurrence constraints"},
        // wildcards take any element with all its content
        {R"(<wild><first>1</first><foo><bar>deep<x/></bar></foo><baz/></wild>)", ""},
        {R"(<wild><first>1</first></wild>)", " did not meet occurrence constraints"},
        // no content model: the element must end
        {R"(<empty n="1"/>)", ""},
        {R"(<empty n="1"><child/></empty>)", "Expected a closing tag for empty"},
        // a type that contains itself: the counts of the inner walk are its own
        {R"(<node><node><node><v>1</v></node><v>2</v></node><v>3</v></node>)", ""},
        {R"(<node><node><v>1</v></node></node>)", "v did not meet occurrence constraints"},
        // element-only content: blanks, comments and processing instructions
        // may stand between the tags, text may not
        {"<seq id=\"1\">\n <!-- c --> <?pi x?>\t<a>t</a>\r\n <b>1</b> </seq>", ""},
        {R"(<seq id="1">stray<a>t</a></seq>)", "Unexpected text in seq"},
        {R"(<seq id="1"><a>t</a>stray<b>1</b></seq>)", "Unexpected text in seq"},
        {R"(<seq id="1"><a>t</a> &amp; </seq>)", "Unexpected text in seq"},
        {R"(<seq id="1"><a>t</a><![CDATA[x]]></seq>)", "Unexpected text in seq"},
        {R"(<every><p>1</p>x</every>)", "Unexpected text in every"},
        {R"(<ch><x>1</x>x<x>2</x></ch>)", "Unexpected text in ch"},
        {R"(<empty n="1">see docs</empty>)", "Unexpected text in empty"},
        {R"(<empty n="1"> <!-- c --> </empty>)", ""},
        // text content
        {R"(<text>a &amp; b</text>)", ""},
        {R"(<text>a<b/></text>)", "Expected a closing tag for text"},
        {R"(<amount unit="kg">2.5</amount>)", ""},
        {R"(<amount>2.5<b/></amount>)", "Expected a closing tag for amount"},
    };
    ASSERT_TRUE(schema_.ok) << schema_.text();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        const Outcome outcome = validateElement(schema_, c.xml);
        if (*c.error == '\0') {
            EXPECT_EQ(outcome.error, "");
            EXPECT_EQ(outcome.result, outcome.root.get());
            EXPECT_EQ(outcome.endEvent, XmlPullParser::END_TAG);
            EXPECT_EQ(outcome.endName, Instance(c.xml).xpp.getName());
        } else {
            EXPECT_EQ(outcome.error, failure(c.error));
        }
    }
}

TEST_F(SchemaValidatorElementTest, ErrorsCarryThePosition)
{
    ASSERT_TRUE(schema_.ok) << schema_.text();
    SchemaValidator validator(schema_.parser, schema_.log);
    Instance instance("<seq id=\"1\">\n  <a>t</a>\n  <zz/></seq>");
    try {
        validator.validate(instance.xpp, schema_.element("seq")->getType());
        FAIL() << "no error";
    } catch (const SchemaParserException& error) {
        EXPECT_EQ(error.getDescription(), failure("Could not find element zz in seq"));
        EXPECT_EQ(error.getLine(), 3);
        EXPECT_EQ(error.getColumn(), instance.xpp.getColumnNumber());
    }
}

TEST_F(SchemaValidatorElementTest, ValuesAreFoundInTheContainerTree)
{
    ASSERT_TRUE(schema_.ok) << schema_.text();
    const Outcome outcome = validateElement(schema_, R"(<seq id="7" flag="yes"><a>t</a><b>1</b><b>2</b></seq>)");
    ASSERT_EQ(outcome.error, "");
    ValueContainer& root = *outcome.root;

    EXPECT_EQ(render(root.getAttributeContainer("flag", false)), "bool:true");
    // An attribute of the base type lives in the base-type container.
    EXPECT_EQ(root.getAttributeContainer("id", false), nullptr);
    ASSERT_NE(root.getBaseContainer(false), nullptr);
    EXPECT_EQ(render(root.getBaseContainer(false)->getAttributeContainer("id", false)), "int:7");

    // Occurrences come one per call, then null once, then from the first again.
    const char* const expected[] = {"int:1", "int:2", "no container", "int:1"};
    for (const char* value : expected)
        EXPECT_EQ(render(root.getElementContainer("b", false)), value);
    EXPECT_EQ(render(root.getElementContainer("a", false)), "string:t");
    EXPECT_EQ(root.getElementContainer("zz", false), nullptr);

    const ContentModel* model = schema_.complex("derived")->getContentModel();
    ValueContainer* content = root.getContentContainer(model, false);
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->getContentModel(), model);
    EXPECT_EQ(content->getElementContainer("zz", true), nullptr);
}

TEST_F(SchemaValidatorElementTest, ContainersAreMadeOnlyForWhatTheTypeDeclares)
{
    ASSERT_TRUE(schema_.ok) << schema_.text();
    ValueContainer derived(schema_.element("seq")->getType(), &schema_.parser);
    EXPECT_EQ(derived.getAttributeContainer("flag", false), nullptr);
    ASSERT_NE(derived.getAttributeContainer("flag", true), nullptr);
    EXPECT_EQ(derived.getAttributeContainer("flag", true)->getTypeId(), XSD_BOOLEAN);
    EXPECT_EQ(derived.getAttributeContainer("nope", true), nullptr);
    ASSERT_NE(derived.getBaseContainer(true), nullptr);
    EXPECT_EQ(derived.getBaseContainer(true), derived.getBaseContainer(false));

    // Derived from anyType: no base container.
    ValueContainer every(schema_.element("every")->getType(), &schema_.parser);
    EXPECT_EQ(every.getBaseContainer(true), nullptr);
    ValueContainer text(XSD_STRING, &schema_.parser);
    EXPECT_EQ(text.getBaseContainer(true), nullptr);
    EXPECT_EQ(text.getAttributeContainer("id", true), nullptr);
}

TEST_F(SchemaValidatorElementTest, AContainerOfAnotherTypeIsRefused)
{
    ASSERT_TRUE(schema_.ok) << schema_.text();
    const Outcome outcome = validate(schema_.parser, XSD_STRING, "<text>x</text>");
    EXPECT_EQ(outcome.error, "");
    std::ostringstream log;
    SchemaValidator validator(schema_.parser, log);
    Instance instance("<text>x</text>");
    ValueContainer wrong(XSD_INT, &schema_.parser);
    try {
        validator.validate(instance.xpp, XSD_STRING, wrong);
        FAIL() << "no error";
    } catch (const SchemaParserException& error) {
        EXPECT_EQ(error.getDescription(), failure("Fatal error ,container's type is not same as the validated type"));
    }
}

TEST_F(SchemaValidatorElementTest, EmbeddedSchemasBelongToTheirContainer)
{
    const std::string good = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:n">
        <xs:element name="e" type="xs:int"/></xs:schema>)";
    const std::string bad = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:n">
        <xs:complexType name="t"><xs:foo/></xs:complexType></xs:schema>)";
    ASSERT_TRUE(schema_.ok) << schema_.text();
    std::ostringstream log;
    SchemaValidator validator(schema_.parser, log);

    Instance read(good);
    const std::unique_ptr<ValueContainer> container = validator.validate(read.xpp, XSD_SCHEMA);
    ASSERT_NE(container, nullptr);
    ASSERT_NE(container->getSchema(), nullptr);
    EXPECT_EQ(container->getSchema()->getNamespace(), "urn:n");
    EXPECT_NE(container->getSchema()->getElement(qname("urn:n", "e")), nullptr);

    // A schema that fails leaves nothing behind (the sanitizers see to leaks).
    Instance failed(bad);
    EXPECT_EQ(validator.validate(failed.xpp, XSD_SCHEMA), nullptr);
    Instance failedInto(bad);
    ValueContainer kept(XSD_SCHEMA, &schema_.parser);
    EXPECT_EQ(validator.validate(failedInto.xpp, XSD_SCHEMA, kept), nullptr);
    EXPECT_EQ(kept.getSchema(), nullptr);
}

TEST(SchemaValidatorGroupTest, AGroupThatContainsItselfEnds)
{
    ParsedSchema schema(schematest::schema(R"(
      <xs:group name="g">
        <xs:sequence>
          <xs:element name="e" type="xs:int"/>
          <xs:group ref="tns:g" minOccurs="0"/>
        </xs:sequence>
      </xs:group>
      <xs:element name="top"><xs:complexType><xs:group ref="tns:g"/></xs:complexType></xs:element>)"));
    ASSERT_TRUE(schema.ok) << schema.text();
    ASSERT_NE(nullptr, schema.element("top"));
    struct Case {
        const char* xml;
        const char* error;
    };
    const Case cases[] = {
        {"<top><e>1</e></top>", ""},
        {"<top><e>1</e><e>2</e></top>", "e did not meet occurrence constraints"},
        {"<top><f/></top>", "Could not find element f in top"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        const Outcome outcome = validateElement(schema, c.xml);
        EXPECT_EQ(outcome.error, *c.error ? failure(c.error) : "");
    }
}

} // namespace
