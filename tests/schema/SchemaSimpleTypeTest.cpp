#include "schema/SchemaConstants.h"
#include "schema/SchemaParserException.h"
#include "schema/SimpleType.h"

#include <gtest/gtest.h>

#include "support/CaseFile.h"

#include <climits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace Schema;

namespace {

using Facets = std::vector<std::pair<const char*, const char*>>;

std::unique_ptr<SimpleType> restriction(int baseTypeId, const Facets& facets = {})
{
    auto type = std::make_unique<SimpleType>(SharedText("urn:shop"));
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

// Facets written "name=value name=value" in a case file.
std::unique_ptr<SimpleType> restriction(int baseTypeId, const std::string& facets)
{
    auto type = restriction(baseTypeId);
    std::istringstream in(facets);
    for (std::string facet; in >> facet;)
        type->setFacets(facet.substr(0, facet.find('=')), facet.substr(facet.find('=') + 1));
    return type;
}

TEST(SchemaSimpleType, IntValuesAgainstFacets)
{
    const std::map<std::string, int> bases = {
        {"int", XSD_INT}, {"integer", XSD_INTEGER}, {"string", XSD_STRING}, {"long", XSD_LONG}, {"user", FIRST_USER_TYPE}};
    for (const auto& c : testsupport::caseTable("schema/data/validator.cases", "int-facets")) {
        const auto type = restriction(bases.at(c[0]), c[1]);
        EXPECT_EQ(c.flag(3), type->isValidInt(c.number(2))) << "line " << c.line;
    }
}

TEST(SchemaSimpleType, StringValuesAgainstFacets)
{
    for (const auto& c : testsupport::caseTable("schema/data/validator.cases", "string-facets")) {
        const auto type = restriction(XSD_STRING, c[0]);
        EXPECT_EQ(c.flag(2), type->isValidString(c[1])) << "line " << c.line;
    }
}

} // namespace
