#include "schema/NameKey.h"
#include "schema/NameKeyMap.h"

#include <gtest/gtest.h>

#include <unordered_map>
#include <string>
#include <vector>

using namespace Schema;

namespace {

// Keys that share namespaces, local names and prefixes of either.
const std::vector<NameKey> Keys = {
    {"urn:a", "Order"}, {"urn:a", "OrderLine"}, {"urn:a", "Ord"}, {"urn:ab", "Order"},
    {"", "Order"},      {"urn:b", "Item"},      {"urn:a", ""},
};

// A view of a key's parts.
NameKeyView viewOf(const NameKey& key)
{
    return NameKeyView(key.first, key.second);
}

TEST(SchemaNameKey, ViewsFindTheKeysTheirPartsSpell)
{
    NameKeyMap<int> map;
    for (std::size_t i = 0; i < Keys.size(); ++i)
        map.emplace(viewOf(Keys[i]), static_cast<int>(i));
    const struct {
        const char* ns;
        const char* local;
        int expected; // -1: not there
    } cases[] = {
        {"urn:a", "Order", 0},  {"urn:a", "OrderLine", 1}, {"urn:a", "Ord", 2},  {"urn:ab", "Order", 3},
        {"", "Order", 4},       {"urn:b", "Item", 5},      {"urn:a", "", 6},     {"urn:a", "Orde", -1},
        {"urn:b", "Order", -1}, {"urn:", "Order", -1},     {"", "Item", -1},     {"urn:a", "order", -1},
    };
    for (const auto& c : cases) {
        const int* found = map.find(NameKeyView(c.ns, c.local));
        const int actual = found == nullptr ? -1 : *found;
        EXPECT_EQ(c.expected, actual) << "{" << c.ns << "}" << c.local;
    }
}

// A hashed map keyed by views of stored names finds what the ordered map finds,
// searched with views of other strings that spell the same parts.
TEST(SchemaNameKey, HashedViewsFindTheKeysTheirPartsSpell)
{
    std::unordered_map<NameKeyView, int, NameKeyHash> map;
    for (std::size_t i = 0; i < Keys.size(); ++i)
        map.emplace(viewOf(Keys[i]), static_cast<int>(i));
    ASSERT_EQ(Keys.size(), map.size());
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        const std::string ns = Keys[i].first;
        const std::string local = Keys[i].second;
        const auto found = map.find(NameKeyView(ns, local));
        ASSERT_NE(map.end(), found) << "{" << ns << "}" << local;
        EXPECT_EQ(static_cast<int>(i), found->second);
    }
    // The parts are not run together: moving text from one to the other is another name.
    for (const auto& [ns, local] : {NameKey{"urn:aOrder", ""}, NameKey{"urn:", "aOrder"}, NameKey{"Order", ""},
                                    NameKey{"urn:b", "Order"}})
        EXPECT_EQ(map.end(), map.find(NameKeyView(ns, local))) << "{" << ns << "}" << local;
}

// The map keeps the first value of each name, finds it by views of any strings that spell the
// name (the strings filed from may be gone), and keeps each value where it is while it grows.
TEST(SchemaNameKey, NameKeyMapKeepsFirstValuesWhereTheyAre)
{
    NameKeyMap<int> map;
    std::vector<const int*> filed;
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        std::string ns = Keys[i].first;
        std::string local = Keys[i].second;
        const auto [value, fresh] = map.emplace(NameKeyView(ns, local), static_cast<int>(i));
        EXPECT_TRUE(fresh);
        filed.push_back(value);
        ns.assign(40, 'x'); // the map holds copies
        local.assign(40, 'y');
    }
    const auto [again, fresh] = map.emplace(NameKeyView("urn:a", "Order"), 99);
    EXPECT_FALSE(fresh);
    EXPECT_EQ(filed[0], again);
    for (int i = 0; i < 5000; ++i) // many rehashes
        map.emplace(NameKeyView("urn:grow", "n" + std::to_string(i)), i);
    ASSERT_EQ(Keys.size() + 5000, map.size());
    const struct {
        const char* ns;
        const char* local;
        int expected; // -1: not there
    } cases[] = {
        {"urn:a", "Order", 0}, {"urn:a", "OrderLine", 1}, {"urn:ab", "Order", 3}, {"", "Order", 4},
        {"urn:a", "", 6},      {"urn:grow", "n4999", 4999}, {"urn:a", "Orde", -1}, {"urn:aOrder", "", -1},
        {"urn:grow", "n5000", -1},
    };
    for (const auto& c : cases) {
        const std::string ns = c.ns, local = c.local;
        const int* found = map.find(NameKeyView(ns, local));
        EXPECT_EQ(c.expected, found != nullptr ? *found : -1) << "{" << c.ns << "}" << c.local;
    }
    for (std::size_t i = 0; i < Keys.size(); ++i)
        EXPECT_EQ(filed[i], map.find(viewOf(Keys[i])));
    map.clear();
    EXPECT_EQ(nullptr, map.find(NameKeyView("urn:a", "Order")));
}

} // namespace
