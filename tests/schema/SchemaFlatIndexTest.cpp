#include "schema/FlatIndex.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

using Schema::FlatIndex;

namespace {

// Hashes a key to its length plus 14: names of one length collide, a run of
// one-letter names starts in the last of the first 16 slots and wraps past
// it, and the empty name hashes to the value that marks an empty slot.
struct LengthHash {
    std::size_t operator()(std::string_view key) const { return key.size() == 0 ? 0 : key.size() + 14; }
};

template <class Hash>
struct Names {
    std::vector<std::string> names; // position = entry
    FlatIndex<int, std::string_view, Hash> index;

    std::string_view nameOf(int entry) const { return names[static_cast<std::size_t>(entry)]; }

    bool add(const std::string& name)
    {
        names.push_back(name);
        const int entry = static_cast<int>(names.size()) - 1;
        const auto filed = index.emplace(name, entry, [this](int e) { return nameOf(e); });
        if (!filed.second)
            names.pop_back();
        return filed.second;
    }

    int find(const std::string& name) const
    {
        const int* found = index.find(name, [this](int e) { return nameOf(e); });
        return found != nullptr ? *found : -1;
    }
};

template <class Hash>
void checkFilesAndFinds(const char* hashName)
{
    const struct {
        std::vector<std::string> filed;
        std::vector<std::pair<std::string, int>> looked; // name, entry (-1: none)
        std::size_t size;
    } cases[] = {
        {{}, {{"a", -1}, {"", -1}}, 0},
        {{"a", "b", "a"}, {{"a", 0}, {"b", 1}, {"c", -1}}, 2}, // the first namesake stays
        {{"", "x"}, {{"", 0}, {"x", 1}, {"y", -1}}, 2},
        // One length: every name collides, and the run wraps past the array's end.
        {{"p", "q", "r", "s", "tu"}, {{"p", 0}, {"q", 1}, {"r", 2}, {"s", 3}, {"tu", 4}, {"t", -1}, {"pq", -1}}, 5},
        {{"Order", "OrderLine", "Ord"}, {{"Order", 0}, {"Ord", 2}, {"Orde", -1}, {"order", -1}}, 3},
    };
    for (const auto& c : cases) {
        Names<Hash> names;
        for (const std::string& name : c.filed)
            names.add(name);
        EXPECT_EQ(c.size, names.index.size()) << hashName;
        for (const auto& [name, entry] : c.looked)
            EXPECT_EQ(entry, names.find(name)) << hashName << " '" << name << "' among " << c.filed.size();
    }
}

TEST(SchemaFlatIndex, FindsTheFirstEntryOfEachKey)
{
    checkFilesAndFinds<std::hash<std::string_view>>("std::hash");
    checkFilesAndFinds<LengthHash>("length hash");
}

// Growing places every entry again by its kept hash: all stay found, also
// runs of colliding keys, and keys the index never held stay absent.
TEST(SchemaFlatIndex, GrowingKeepsEveryEntryFound)
{
    Names<std::hash<std::string_view>> spread;
    Names<LengthHash> colliding;
    for (int i = 0; i < 3000; ++i) {
        EXPECT_TRUE(spread.add("n" + std::to_string(i)));
        if (i < 300) {
            EXPECT_TRUE(colliding.add(std::string(static_cast<std::size_t>(i % 7), 'a') + std::to_string(i)));
        }
    }
    EXPECT_TRUE(colliding.add(""));
    EXPECT_FALSE(spread.add("n0"));
    EXPECT_EQ(3000u, spread.index.size());
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(i, spread.find("n" + std::to_string(i))) << i;
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(i, colliding.find(std::string(static_cast<std::size_t>(i % 7), 'a') + std::to_string(i))) << i;
    EXPECT_EQ(300, colliding.find(""));
    EXPECT_EQ(-1, spread.find("n3000"));
    EXPECT_EQ(-1, colliding.find("aaaaaaa7"));
    spread.index.clear();
    EXPECT_EQ(-1, spread.find("n0"));
    EXPECT_EQ(0u, spread.index.size());
}

} // namespace
