#include "generator/model/StableList.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Counts the elements alive, so that a list that destroys an element twice,
// or one it never made, or leaves one behind, shows.
struct CCounted {
    explicit CCounted(int value, int& alive) : value(value), alive(&alive) { ++alive; }
    CCounted(const CCounted&) = delete;
    CCounted& operator=(const CCounted&) = delete;
    ~CCounted() { --*alive; }
    int value;
    std::string text = "a text long enough to live outside the string object";
    int* alive;
};

// Elements keep their addresses and their order while the list grows past
// its blocks and when the list itself is moved, and each is destroyed once.
TEST(StableListTest, ElementsStayWhereTheyWereAddedThroughGrowthAndMoves)
{
    const std::size_t counts[] = {0, 1, 31, 32, 33, 64, 100};
    for (std::size_t count : counts) {
        int alive = 0;
        {
            CStableList<CCounted> list;
            std::vector<const CCounted*> addresses;
            for (std::size_t i = 0; i < count; ++i)
                addresses.push_back(&list.emplace_back(static_cast<int>(i), alive));
            ASSERT_EQ(list.size(), count);
            EXPECT_EQ(list.empty(), count == 0);
            EXPECT_EQ(alive, static_cast<int>(count));

            CStableList<CCounted> moved(std::move(list));
            EXPECT_EQ(list.size(), 0u) << count;
            EXPECT_TRUE(list.begin() == list.end()) << count;
            std::size_t seen = 0;
            for (const CCounted& element : moved) {
                EXPECT_EQ(&element, addresses[seen]) << count;
                EXPECT_EQ(element.value, static_cast<int>(seen)) << count;
                ++seen;
            }
            EXPECT_EQ(seen, count);
            if (count > 0) {
                EXPECT_EQ(&moved.back(), addresses.back());
                EXPECT_EQ(&moved.front(), addresses.front());
                EXPECT_EQ(&moved[count / 2], addresses[count / 2]);
            }

            // Assigning over a list destroys what it held.
            CStableList<CCounted> other;
            other.emplace_back(-1, alive);
            other = std::move(moved);
            EXPECT_EQ(alive, static_cast<int>(count)) << count;
            EXPECT_EQ(other.size(), count);
        }
        EXPECT_EQ(alive, 0) << count;
    }
}

} // namespace
