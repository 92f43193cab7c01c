// The emitters' record of the numbered objects met so far.

#include "generator/emit/MetIndexes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(MetIndexesTest, AnIndexIsNewOnlyTheFirstTime)
{
    // Indexes given in turn, and whether each was new: growth past the
    // flags held so far must keep the ones set before it.
    const struct {
        const char* name;
        std::vector<std::size_t> given;
        std::vector<bool> firstTime;
    } cases[] = {
        {"one index twice", {0, 0}, {true, false}},
        {"far index first", {1000, 0, 1000, 999, 1001}, {true, true, false, true, true}},
        {"growing one at a time", {0, 1, 2, 3, 0, 1, 2, 3}, {true, true, true, true, false, false, false, false}},
        {"word boundaries", {63, 64, 127, 128, 64, 63}, {true, true, true, true, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMetIndexes met;
        std::vector<bool> answers;
        for (std::size_t index : c.given)
            answers.push_back(met.firstTime(index));
        EXPECT_EQ(answers, c.firstTime);
        for (std::size_t index : c.given)
            EXPECT_TRUE(met.met(index));
    }
}

TEST(MetIndexesTest, IndexesNeverGivenAreNotMet)
{
    CMetIndexes met;
    EXPECT_FALSE(met.met(0));
    met.firstTime(5);
    for (std::size_t index : {0u, 4u, 6u, 11u, 100000u})
        EXPECT_FALSE(met.met(index)) << index;
}

// An index past any list must not wrap to a small size and write beyond
// the flags: it throws, and the indexes met before stay met.
TEST(MetIndexesTest, AnIndexNoListReachesThrows)
{
    const struct {
        const char* name;
        std::vector<std::size_t> before;
        std::size_t unreachable;
    } cases[] = {
        {"first index given", {}, SIZE_MAX},
        {"after some indexes", {0, 3, 64}, SIZE_MAX},
        {"just past the largest", {7}, std::vector<bool>().max_size()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMetIndexes met;
        for (std::size_t index : c.before)
            met.firstTime(index);
        EXPECT_THROW(met.firstTime(c.unreachable), std::length_error);
        EXPECT_FALSE(met.met(c.unreachable));
        for (std::size_t index : c.before)
            EXPECT_FALSE(met.firstTime(index)) << index;
        EXPECT_TRUE(met.firstTime(5));
    }
}

} // namespace
