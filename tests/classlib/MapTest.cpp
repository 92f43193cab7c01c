// CMap: the iteration order that saved data depends on, look-up, removal and re-hashing.
#include "classlib/ClassLib.h"

#include "ThrownException.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

template <class MAP, class KEY, class VALUE>
std::vector<KEY> KeysInOrder(const MAP& map) {
    std::vector<KEY> keys;
    KEY key;
    VALUE value;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key);
    }
    return keys;
}

std::vector<UINT> IntKeys(const CMap<UINT, UINT, int, int>& map) { return KeysInOrder<CMap<UINT, UINT, int, int>, UINT, int>(map); }

TEST(Map, IteratesBucketsAscendingNewestFirstWithinABucket) {
    // An integer key goes to bucket (key / 16) % size.
    struct Row {
        const char* what;
        UINT hashSize;
        std::vector<UINT> inserted;
        std::vector<UINT> expected;
    };
    const Row rows[] = {
        {"icon widths", 17, {16, 32}, {16, 32}},
        {"same bucket newest first", 17, {16, 24, 31}, {31, 24, 16}},
        {"mixed", 17, {48, 16, 0, 24, 272}, {272, 0, 24, 16, 48}},  // 272 / 16 = 17 -> bucket 0
        {"wraps modulo size", 17, {17 * 16 + 32, 32}, {32, 17 * 16 + 32}},
        {"command ids, 127 buckets", 127, {100, 5000, 1600, 2032}, {2032, 100, 5000, 1600}},
        {"bucket count 1", 1, {1, 2, 3}, {3, 2, 1}},
    };
    for (const Row& row : rows) {
        CMap<UINT, UINT, int, int> map;
        map.InitHashTable(row.hashSize);
        for (UINT key : row.inserted) map[key] = static_cast<int>(key);
        EXPECT_EQ(IntKeys(map), row.expected) << row.what;
        EXPECT_EQ(map.GetCount(), static_cast<INT_PTR>(row.inserted.size()));
    }
}

TEST(Map, StringKeysHashByCharacters) {
    // h = h * 33 + c: "ab" = 3299 -> bucket 1, "a" = 97 -> 12, "b" = 98 -> 13 (of 17).
    CMapStringToPtr map;
    int a = 1, b = 2, ab = 3;
    map.SetAt("b", &b);
    map.SetAt("a", &a);
    map.SetAt("ab", &ab);
    using Keys = std::vector<CString>;
    const Keys keys = KeysInOrder<CMapStringToPtr, CString, void*>(map);
    EXPECT_EQ(keys, (Keys{"ab", "a", "b"}));
    void* p = nullptr;
    EXPECT_TRUE(map.Lookup("ab", p));
    EXPECT_EQ(p, &ab);
    EXPECT_FALSE(map.Lookup("AB", p));
    EXPECT_EQ(HashString("ab"), 3299u);
}

TEST(Map, RemovingTheReturnedKeyWhileIterating) {
    CMap<UINT, UINT, int, int> map;
    for (UINT key = 0; key < 200; ++key) map[key] = static_cast<int>(key);
    UINT key;
    int value;
    int visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, value);
        ++visited;
        if (key % 3 != 0) map.RemoveKey(key);
    }
    EXPECT_EQ(visited, 200);
    EXPECT_EQ(map.GetCount(), 67);
    EXPECT_TRUE(map.Lookup(198, value));
    EXPECT_FALSE(map.Lookup(199, value));
}

TEST(Map, InitHashTableKeepsWhatTheMapHolds) {
    CMap<UINT, UINT, int, int> map;
    for (UINT key : {0u, 16u, 32u}) map[key] = static_cast<int>(key);
    map.InitHashTable(2);  // buckets 0: 0, 32; 1: 16
    EXPECT_EQ(map.GetHashTableSize(), 2u);
    const std::vector<UINT> keys = IntKeys(map);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[2], 16u);
    int value;
    for (UINT key : {0u, 16u, 32u}) EXPECT_TRUE(map.Lookup(key, value) && value == static_cast<int>(key));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { map.InitHashTable(0); }));
}

}  // namespace
