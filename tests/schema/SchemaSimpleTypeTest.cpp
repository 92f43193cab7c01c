#include "schema/SchemaConstants.h"
#include "schema/SchemaParserException.h"
#include "schema/SimpleType.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Schema;

namespace {

using Facets = std::vector<std::pair<const char*, const char*>>;

std::unique_ptr<SimpleType> restriction(int baseTypeId, const Facets& facets = {})
{
    auto type = std::make_unique<SimpleType>("urn:shop");
    type->setBaseType(baseTypeId);
    for (const auto& facet : facets)
        type->setFacets(facet.first, facet.second);
    return type;
}


// A bad whiteSpace value is refused and leaves the type as it was.
TEST(SchemaSimpleType, BadWhiteSpaceChangesNothing)
{
    const auto type = restriction(XSD_STRING, {{"length", "4"}});
    for (const char* bad : {"trim", "Collapse", ""})
        EXPECT_THROW(type->setFacets("whiteSpace", bad), SchemaParserException) << bad;
    EXPECT_EQ(std::vector<int>{SimpleType::LENGTH}, type->getFacets());
    EXPECT_TRUE(type->isValidString("abcd"));
    EXPECT_FALSE(type->isValidString("abc"));
}

TEST(SchemaSimpleType, BoundsThatAreNoIntAreNotKept)
{
    // Real schemas bound decimals with fractions and integers beyond int.
    const auto price = restriction(XSD_DECIMAL, {{"minInclusive", "0.00"}, {"maxInclusive", "100.00"}});
    EXPECT_TRUE(price->getFacets().empty());
    const auto big = restriction(XSD_INTEGER, {{"maxInclusive", "99999999999"}, {"minInclusive", "1"}});
    EXPECT_EQ(std::vector<int>{SimpleType::MININC}, big->getFacets());
    EXPECT_TRUE(big->isValidInt(INT_MAX));
    EXPECT_FALSE(big->isValidInt(0));
}

TEST(SchemaSimpleType, IntValuesAgainstFacets)
{
    const struct {
        int base;
        Facets facets;
        int value;
        bool valid;
    } cases[] = {
        {XSD_INT, {{"minInclusive", "1"}, {"maxInclusive", "10"}}, 10, true},
        {XSD_INT, {{"minInclusive", "1"}, {"maxInclusive", "10"}}, 1, true},
        {XSD_INT, {{"minInclusive", "1"}, {"maxInclusive", "10"}}, 11, false},
        {XSD_INT, {{"minInclusive", "1"}, {"maxInclusive", "10"}}, 0, false},
        {XSD_INTEGER, {{"maxExclusive", "10"}}, 9, true},
        {XSD_INTEGER, {{"maxExclusive", "10"}}, 10, false},
        {XSD_INT, {{"minExclusive", "-5"}}, -4, true},
        {XSD_INT, {{"minExclusive", "-5"}}, -5, false},
        {XSD_INT, {}, INT_MIN, true},
        {XSD_STRING, {}, 5, false},
        {XSD_STRING, {{"maxLength", "3"}}, 5, false},
        {XSD_LONG, {}, 5, false},
        // totalDigits must not replace maxInclusive, which shares its slot.
        {XSD_INT, {{"maxInclusive", "100"}, {"totalDigits", "2"}}, 99, true},
        {XSD_INT, {{"maxInclusive", "100"}, {"totalDigits", "2"}}, 100, false},
        {XSD_INT, {{"totalDigits", "10"}}, INT_MIN, true},
        {XSD_INT, {{"enumeration", "1"}, {"enumeration", "2"}, {"enumeration", "30"}}, 30, true},
        {XSD_INT, {{"enumeration", "1"}, {"enumeration", "2"}, {"enumeration", "30"}}, 3, false},
        {XSD_INT, {{"fractionDigits", "0"}, {"whiteSpace", "collapse"}, {"pattern", "[0-9]+"}}, 42, true},
        {XSD_INT, {{"unknownFacet", "3"}}, 1, false},
        // A restriction of a user type: the validator asks only when it is integral.
        {FIRST_USER_TYPE, {{"minInclusive", "5"}}, 6, true},
        {FIRST_USER_TYPE, {{"minInclusive", "5"}}, 4, false},
    };
    for (const auto& c : cases) {
        const auto type = restriction(c.base, c.facets);
        EXPECT_EQ(c.valid, type->isValidInt(c.value)) << "base " << c.base << " value " << c.value
                                                     << " facets " << c.facets.size();
    }
}

TEST(SchemaSimpleType, StringValuesAgainstFacets)
{
    const Facets shortEnum = {{"maxLength", "3"}, {"enumeration", "ab"}, {"enumeration", "abcd"}};
    const struct {
        Facets facets;
        const char* value;
        bool valid;
    } cases[] = {
        {shortEnum, "ab", true},
        {shortEnum, "abcd", false},
        {shortEnum, "xy", false},
        // a facet between enumerations does not end the list
        {{{"enumeration", "ab"}, {"maxLength", "3"}, {"enumeration", "xy"}}, "xy", true},
        {{}, "anything", true},
        {{{"length", "2"}}, "ab", true},
        {{{"length", "2"}}, "abc", false},
        {{{"minLength", "2"}}, "a", false},
        {{{"enumeration", "ab"}}, "AB", false},
        {{{"enumeration", "ab"}}, "ab ", false},
        {{{"pattern", "[0-9]"}, {"whiteSpace", "preserve"}}, "letters", true},
        // Facets sharing a slot keep their own limits.
        {{{"minLength", "3"}, {"whiteSpace", "collapse"}}, "ab", false},
        {{{"minLength", "3"}, {"whiteSpace", "collapse"}}, "abc", true},
        {{{"minLength", "5"}, {"enumeration", "abcdef"}, {"enumeration", "ab"}}, "abcdef", true},
        {{{"minLength", "5"}, {"enumeration", "abcdef"}, {"enumeration", "ab"}}, "ab", false},
    };
    for (const auto& c : cases) {
        const auto type = restriction(XSD_STRING, c.facets);
        EXPECT_EQ(c.valid, type->isValidString(c.value)) << '"' << c.value << "\" facets " << c.facets.size();
    }
}

} // namespace
