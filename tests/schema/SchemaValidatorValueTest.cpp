// Values of the schema validator: texts read as the built-in type their type
// derives from, the facets of every simple type on the way, lists, unions,
// and types that name themselves.

#include "SchemaValidatorTestSupport.h"
#include "support/CaseFile.h"

#include <gtest/gtest.h>

using namespace Schema;
using namespace schematest;
using namespace validatortest;

namespace {

class SchemaValidatorValueTest : public ::testing::Test {
protected:
    SchemaValidatorValueTest() : schema_(testsupport::fixture("schema/data/value-types.xsd")) {}

    ParsedSchema schema_;
};

TEST_F(SchemaValidatorValueTest, TextsAreStoredAsTheirBasicType)
{
    ASSERT_TRUE(schema_.ok) << schema_.text();
    SchemaValidator validator(schema_.parser, schema_.log);
    // Rows: the type, a text, what the container holds. long and unsignedLong
    // keep all 64 bits; the facets of every user type on the way apply; lists
    // and unions keep the text, and those that name themselves end.
    for (const auto& c : testsupport::caseTable("schema/data/validator.cases", "values")) {
        const bool builtIn = c[0].compare(0, 3, "xs:") == 0;
        const int typeId = schema_.parser.getTypeId(qname(builtIn ? SchemaUri : Tns, c[0].substr(builtIn ? 3 : 4)));
        SCOPED_TRACE(c[0] + " \"" + c[1] + "\"");
        ASSERT_GT(typeId, 0);
        const std::unique_ptr<ValueContainer> value = validator.validateValue(c[1], typeId);
        EXPECT_EQ(render(value.get()), c[2]);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->getText(), c[1]);
        EXPECT_EQ(value->getTypeId(), typeId);
    }
}

TEST_F(SchemaValidatorValueTest, TypesWithoutValueGiveNoContainer)
{
    ASSERT_TRUE(schema_.ok) << schema_.text();
    SchemaValidator validator(schema_.parser, schema_.log);
    for (const int typeId : {schema_.parser.getTypeId(qname(Tns, "pair")), 0, FIRST_USER_TYPE + 500}) {
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
