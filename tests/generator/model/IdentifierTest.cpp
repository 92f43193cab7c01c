#include "generator/model/Identifier.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(IdentifierTest, SanitisedNamesAreIdentifiers)
{
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"Order", "Order"},       {"first-name", "first_name"}, {"tns.Get", "tns_Get"},
        {"1st", "_1st"},          {"", "_"},                    {"int", "_int"},
        {"return", "return_msg"}, {"typeof", "_typeof"},        {"caf\xc3\xa9", "caf__"},
        {"a b", "a_b"},           {"_Bool", "_Bool_"},          {"Return", "Return"},
        // Macros of the platforms' headers, and gcc's own names.
        {"inline", "inline_"},    {"_inline", "_inline_"},      {"near", "near_"},
        {"far", "far_"},          {"small", "_small"},          {"interface", "_interface"},
        {"cdecl", "cdecl_"},      {"hyper", "_hyper"},          {"ERROR", "_ERROR"},
        {"DELETE", "_DELETE"},    {"IN", "_IN"},                {"ABSOLUTE", "_ABSOLUTE"},
        {"unix", "_unix"},        {"linux", "_linux"},          {"edt1", "_edt1"},
        {"edt0", "edt0"},         {"errno", "_errno"},          {"s_addr", "_s_addr"},
        // The longest words of each list, and a longer name beside them.
        {"_Static_assert", "_Static_assert_"}, {"GETEXTENDEDTEXTMETRICS", "_GETEXTENDEDTEXTMETRICS"},
        {"WSAEPROVIDERFAILEDINIT", "_WSAEPROVIDERFAILEDINIT"}, {"WSAEPROVIDERFAILEDINITS", "WSAEPROVIDERFAILEDINITS"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sanitiseIdentifier(c.name), c.expected) << c.name;
        EXPECT_TRUE(isCIdentifier(sanitiseIdentifier(c.name))) << c.name;
    }
}

// sanitisesTo answers what comparing with sanitiseIdentifier would, also
// for names that look like identifiers and are not (keywords, macros, a
// leading digit) and for identifiers that differ only by a suffix.
TEST(IdentifierTest, SanitisesToAgreesWithTheSanitisedForm)
{
    const struct {
        const char* name;
        const char* identifier;
    } cases[] = {
        {"Order", "Order"},  {"Order", "Order_2"}, {"Order_2", "Order"}, {"first-name", "first_name"},
        {"first-name", "first-name"}, {"int", "int"}, {"int", "_int"},   {"return", "return"},
        {"return", "return_msg"},     {"inline", "inline_"}, {"1st", "1st"}, {"1st", "_1st"},
        {"", ""},            {"", "_"},            {"near", "near"},     {"edt1", "_edt1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sanitisesTo(c.name, c.identifier), sanitiseIdentifier(c.name) == c.identifier)
            << c.name << " " << c.identifier;
}

TEST(IdentifierTest, ScopeNeverGivesTwoNamesOneIdentifier)
{
    const struct {
        std::vector<std::string> names;
        std::vector<std::string> expected;
    } cases[] = {
        // An identifier as written keeps it, whatever stands before it.
        {{"a-b", "a_b", "a.b"}, {"a_b_2", "a_b", "a_b_3"}},
        {{"x", "x", "x_2"}, {"x", "x_3", "x_2"}},
        {{"int", "_int"}, {"_int_2", "_int"}},
        {{"return", "return_msg"}, {"return_msg_2", "return_msg"}},
    };
    for (const auto& c : cases) {
        CNameScope scope;
        EXPECT_EQ(scope.assign(c.names), c.expected);
    }
    // A scope cleared between batches hands out what a fresh one would.
    CNameScope reused;
    for (const auto& c : cases) {
        reused.assign(std::vector<std::string>{"x", "a_b", "_int", "return_msg"});
        reused.clear();
        EXPECT_EQ(reused.assign(c.names), c.expected);
        reused.clear();
    }
}

TEST(IdentifierTest, ReservedNamesAndLaterClaimsStayDistinct)
{
    CNameScope scope;
    scope.reserve("http_msg");
    std::set<std::string> seen;
    for (const char* name : {"http_msg", "http-msg", "http.msg", "http_msg_2", "a", "a"}) {
        const std::string identifier = scope.claim(name);
        EXPECT_TRUE(isCIdentifier(identifier)) << identifier;
        EXPECT_TRUE(seen.insert(identifier).second) << name << " -> " << identifier;
    }
    EXPECT_EQ(seen.count("http_msg"), 0u);
}

// A name that stands many times gets "_2", "_3" ... in turn; a variant
// another name took meanwhile is passed over; a cleared scope starts again.
TEST(IdentifierTest, RepeatedNamesTakeTheNextFreeVariant)
{
    const struct {
        const char* name; // null: clear the scope
        const char* expected;
    } steps[] = {
        {"T", "T"},     {"T", "T_2"},     {"T_3", "T_3"}, {"T", "T_4"},   {"T_2", "T_2_2"},
        {"T", "T_5"},   {nullptr, ""},    {"T", "T"},     {"T", "T_2"},   {"T_2", "T_2_2"},
    };
    CNameScope scope;
    for (const auto& step : steps) {
        if (step.name == nullptr)
            scope.clear();
        else
            EXPECT_EQ(scope.claim(step.name), step.expected) << step.name;
    }
    std::vector<std::string> expected = {"U"};
    for (int n = 2; n <= 300; ++n)
        expected.push_back("U_" + std::to_string(n));
    EXPECT_EQ(scope.assign(std::vector<std::string>(300, "U")), expected);
}

} // namespace
