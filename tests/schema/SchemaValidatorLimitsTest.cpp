// Limits of the schema validator: instances nested deeply inside deeply
// nested content models end with an error instead of exhausting the stack,
// container trees of any depth go without recursion, and unions whose
// members fan out or chain on are checked in linear time and bounded depth.

#include "SchemaValidatorTestSupport.h"

#include <gtest/gtest.h>

using namespace Schema;
using namespace schematest;
using namespace validatortest;

namespace {

std::string repeat(const std::string& text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

// Type T: sequences nested `sequences` deep around an optional element e of type T.
std::string nestedType(int sequences)
{
    return "<xs:complexType name=\"T\">" + repeat("<xs:sequence>", sequences) +
        "<xs:element name=\"e\" type=\"tns:T\" minOccurs=\"0\"/>" + repeat("</xs:sequence>", sequences) +
        "</xs:complexType>\n<xs:element name=\"e\" type=\"tns:T\"/>";
}

TEST(SchemaValidatorLimitsTest, NestingPastTheBudgetEndsWithAnError)
{
    struct Case {
        int sequences;
        int depth;
        bool tooDeep;
    };
    // An element and the sequence of its type take a level each.
    const int limit = SchemaValidator::MaxNesting;
    const Case cases[] = {
        {1, 10, false},
        {10, 10, false},
        {1, limit / 2, false},
        {1, limit / 2 + 1, true},
        {150, 150, true},
        {400, 3, false},
        {600, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sequences) + " sequences, depth " + std::to_string(c.depth));
        ParsedSchema schema(schematest::schema(nestedType(c.sequences)));
        ASSERT_TRUE(schema.ok) << schema.text();
        const Outcome outcome = validateElement(schema, repeat("<e>", c.depth) + repeat("</e>", c.depth));
        if (c.tooDeep) {
            EXPECT_EQ(outcome.error, failure("Content nested too deeply in e"));
        } else {
            EXPECT_EQ(outcome.error, "");
            EXPECT_EQ(outcome.endEvent, XmlPullParser::END_TAG);
        }
    }
}

TEST(SchemaValidatorLimitsTest, DeepContainerTreesAreSearchedAndDestroyedWithoutRecursion)
{
    ParsedSchema schema(schematest::schema(nestedType(1)));
    ASSERT_TRUE(schema.ok) << schema.text();
    const ContentModel* model = schema.complex("T")->getContentModel();
    ASSERT_NE(model, nullptr);

    // Far deeper than a stack can recurse.
    const int depth = 100000;
    auto root = std::make_unique<ValueContainer>(model, &schema.parser);
    ValueContainer* deepest = root.get();
    for (int i = 0; i < depth; ++i)
        deepest = deepest->getContentContainer(nullptr, true);
    ValueContainer* leaf = deepest->getContentContainer(model, true)->getElementContainer("e", true);
    ASSERT_NE(leaf, nullptr);

    EXPECT_EQ(root->getElementContainer("e", false), leaf);
    EXPECT_EQ(root->getElementContainer("e", false), nullptr);
    EXPECT_EQ(root->getContentContainer(model, false), deepest->getContentContainer(model, false));
    EXPECT_EQ(root->getElementContainer("nothing", false), nullptr);
    root.reset();
}

// Union types u0 .. u<levels>, the last a restriction of int. Members "uu":
// each union names the next one twice; "ab": two unions a and b of the next
// one, so that every level has two ways down; "u": the next one once.
std::string unionChain(int levels, const std::string& members)
{
    std::string body = "<xs:simpleType name=\"u" + std::to_string(levels) +
        "\"><xs:restriction base=\"xs:int\"/></xs:simpleType>\n";
    const auto unionOf = [](const std::string& name, const std::string& memberTypes) {
        return "<xs:simpleType name=\"" + name + "\"><xs:union memberTypes=\"" + memberTypes +
            "\"/></xs:simpleType>\n";
    };
    for (int i = levels - 1; i >= 0; --i) {
        const std::string next = std::to_string(i + 1);
        const std::string name = "u" + std::to_string(i);
        if (members == "ab") {
            body += unionOf("a" + next, "tns:u" + next) + unionOf("b" + next, "tns:u" + next);
            body += unionOf(name, "tns:a" + next + " tns:b" + next);
        } else {
            body += unionOf(name, members == "uu" ? "tns:u" + next + " tns:u" + next : "tns:u" + next);
        }
    }
    return body;
}

TEST(SchemaValidatorLimitsTest, UnionsAreCheckedInLinearTimeAndBoundedDepth)
{
    struct Case {
        const char* members; // "uu": the next union twice; "ab": two unions of the next
        int levels;
        const char* text;
        bool valid;
    };
    const int limit = static_cast<int>(SchemaValidator::MaxValueNesting);
    const Case cases[] = {
        {"uu", 30, "x", false},
        {"uu", 30, "7", true},
        {"ab", 30, "x", false},
        {"ab", 30, "7", true},
        {"u", limit, "7", true},
        // a chain past the limit is an invalid value, not followed to its end
        {"u", limit + 1, "7", false},
        {"u", 50000, "7", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.members) + " " + std::to_string(c.levels) + " " + c.text);
        ParsedSchema schema(schematest::schema(unionChain(c.levels, c.members)));
        ASSERT_TRUE(schema.ok) << schema.text();
        SchemaValidator validator(schema.parser, schema.log);
        const int top = schema.parser.getTypeId(qname(Tns, "u0"));
        const std::unique_ptr<ValueContainer> value = validator.validateValue(c.text, top);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->isValid(), c.valid);
        EXPECT_EQ(value->getText(), c.text);
    }
}

} // namespace
