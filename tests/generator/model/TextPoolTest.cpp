#include "generator/model/TextPool.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Equal texts share one copy, different ones keep their own, and every
// view handed out still reads its text after many more texts (short ones
// held inside the string object too) and after the pool itself moved.
TEST(TextPoolTest, EqualTextsShareOneCopyThatOutlivesGrowthAndMoves)
{
    CTextPool pool;
    const std::string longText = "http://example.com/a/namespace/long/enough/to/leave/the/string";
    const struct {
        std::string text;
        std::size_t sameAs; // index of an earlier case holding the same text; itself when new
    } cases[] = {
        {"urn:a", 0}, {longText, 1}, {"urn:b", 2}, {"urn:a", 0}, {longText, 1}, {"urn:a ", 5},
    };
    std::vector<std::string_view> views;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::string caller = cases[i].text; // the pool keeps no view of its caller's text
        views.push_back(pool.intern(caller));
        caller.assign(caller.size(), '#');
        EXPECT_EQ(views[i], cases[i].text) << i;
        EXPECT_EQ(views[i].data(), views[cases[i].sameAs].data()) << i;
    }
    EXPECT_NE(views[0].data(), views[2].data());
    for (int i = 0; i < 5000; ++i)
        pool.intern("urn:" + std::to_string(i));
    CTextPool moved = std::move(pool);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(views[i], cases[i].text) << i;
        EXPECT_EQ(moved.intern(cases[i].text).data(), views[cases[i].sameAs].data()) << i;
    }
    EXPECT_TRUE(moved.intern("").empty());
}

} // namespace
