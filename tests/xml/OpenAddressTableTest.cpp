#include "xml/OpenAddressTable.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>

namespace {

// Keys are their own hashes, so that a test chooses where each one lands; 0 is free.
struct KeyTraits {
    static bool isFree(std::size_t key) { return key == 0; }
    static std::size_t hashOf(std::size_t key) { return key; }
};
using Table = OpenAddressTable<std::size_t, KeyTraits>;

bool add(Table& table, std::size_t key)
{
    table.makeRoomForOneMore(8);
    const std::size_t index = table.probe(key, [key](std::size_t held) { return held == key; });
    if (table[index] == key)
        return false;
    table.fill(index, key);
    return true;
}

std::set<std::size_t> held(const Table& table)
{
    std::set<std::size_t> keys;
    for (std::size_t i = 0; i < table.slotCount(); ++i) {
        if (!KeyTraits::isFree(table[i]))
            keys.insert(table[i]);
    }
    return keys;
}

TEST(OpenAddressTableTest, StaysAtMostHalfFullAndKeepsEveryEntryAcrossGrowth)
{
    // Rows: entries added, slots the table then has.
    struct Row {
        std::size_t entries;
        std::size_t slots;
    };
    const Row rows[] = {{1, 8}, {4, 8}, {5, 16}, {8, 16}, {9, 32}, {100, 256}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entries);
        Table table;
        std::set<std::size_t> added;
        // Every key hashes to a multiple of 8: they all collide and must probe past each other.
        for (std::size_t k = 1; k <= row.entries; ++k) {
            ASSERT_TRUE(add(table, 8 * k));
            added.insert(8 * k);
        }
        EXPECT_EQ(row.entries, table.size());
        EXPECT_EQ(row.slots, table.slotCount());
        EXPECT_EQ(added, held(table));
        EXPECT_FALSE(add(table, 8));
        EXPECT_EQ(row.entries, table.size());
    }
}

TEST(OpenAddressTableTest, ProbingGivesUpAfterItsBound)
{
    Table table;
    table.rehash(16);
    for (std::size_t key : {16u, 32u, 48u})
        table.fill(table.probe(key, [](std::size_t) { return false; }), key);
    const auto never = [](std::size_t) { return false; };
    EXPECT_EQ(Table::npos, table.probe(0, never, 3));
    EXPECT_EQ(Table::npos, table.probe(0, never, 1));
    EXPECT_EQ(3u, table.probe(0, never, 4));
    EXPECT_EQ(3u, table.probe(0, never));
    // A probe that starts past the crowd finds its own slot at once.
    EXPECT_EQ(5u, table.probe(5, never, 1));
}

TEST(OpenAddressTableTest, ClearFreesEverySlotAndKeepsAtMostWhatItIsTold)
{
    // Rows: entries before clearing, slots kept at most, slots after.
    struct Row {
        std::size_t entries;
        std::size_t keep;
        std::size_t slots;
    };
    const Row rows[] = {{3, 16, 8}, {20, 16, 16}, {20, 64, 64}};
    for (const Row& row : rows) {
        Table table;
        for (std::size_t k = 1; k <= row.entries; ++k)
            add(table, k);
        table.clear(row.keep);
        EXPECT_EQ(0u, table.size());
        EXPECT_EQ(row.slots, table.slotCount());
        EXPECT_TRUE(held(table).empty());
        EXPECT_TRUE(add(table, 7));
    }
}

} // namespace
