// Elements of the schema validator: attributes, text content, wildcards and
// the all, choice and sequence walks with their messages, the container tree
// they fill, embedded schemas and types that contain themselves.

#include "SchemaValidatorTestSupport.h"
#include "support/CaseFile.h"

#include <gtest/gtest.h>

using namespace Schema;
using namespace schematest;
using namespace validatortest;

namespace {

class SchemaValidatorElementTest : public ::testing::Test {
protected:
    SchemaValidatorElementTest() : schema_(testsupport::fixture("schema/data/element-types.xsd")) {}

    ParsedSchema schema_;
};

TEST_F(SchemaValidatorElementTest, InstancesAreCheckedAgainstTheirType)
{
    ASSERT_TRUE(schema_.ok) << schema_.text();
    // Rows: an instance, the error it gives (empty: valid).
    for (const auto& c : testsupport::caseTable("schema/data/validator.cases", "instances")) {
        SCOPED_TRACE(c[0]);
        const Outcome outcome = validateElement(schema_, c[0]);
        if (c[1].empty()) {
            EXPECT_EQ(outcome.error, "");
            EXPECT_EQ(outcome.result, outcome.root.get());
            EXPECT_EQ(outcome.endEvent, XmlPullParser::END_TAG);
            EXPECT_EQ(outcome.endName, Instance(c[0]).xpp.getName());
        } else {
            EXPECT_EQ(outcome.error, failure(c[1]));
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
