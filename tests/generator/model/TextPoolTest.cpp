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

// add() reports whether the text was new, contains() agrees with it, and
// both hold across the table's growth, a reserve() and a clear(), after
// which every text counts as new again (texts of the old table, which the
// cleared pool reuses the room of, are not found by accident).
TEST(TextPoolTest, AddTellsNewTextsFromHeldOnesAcrossGrowthAndClear)
{
    const struct {
        const char* what;
        std::size_t before; // texts added first, "t0" .. "t<before-1>"
        bool reserveFirst;
        bool clearBetween;
    } cases[] = {
        {"a small table", 3, false, false},
        {"a table grown many times", 3000, false, false},
        {"a reserved table", 3000, true, false},
        {"a table cleared after growing", 3000, false, true},
        {"a small table cleared", 5, false, true},
    };
    for (const auto& c : cases) {
        CTextPool pool;
        if (c.reserveFirst)
            pool.reserve(c.before);
        for (std::size_t i = 0; i < c.before; ++i)
            EXPECT_TRUE(pool.add("t" + std::to_string(i))) << c.what << " " << i;
        if (c.clearBetween) {
            pool.clear();
            EXPECT_EQ(pool.size(), 0u) << c.what;
        }
        const bool held = !c.clearBetween;
        for (std::size_t i = 0; i < c.before; ++i) {
            const std::string text = "t" + std::to_string(i);
            EXPECT_EQ(pool.contains(text), held) << c.what << " " << text;
            EXPECT_EQ(pool.add(text), !held) << c.what << " " << text;
            EXPECT_FALSE(pool.add(text)) << c.what << " " << text;
        }
        EXPECT_EQ(pool.size(), c.before) << c.what;
        // Texts that differ only in length or in their last byte stay apart.
        EXPECT_FALSE(pool.contains("t")) << c.what;
        EXPECT_TRUE(pool.add("t")) << c.what;
        EXPECT_TRUE(pool.add("")) << c.what;
        EXPECT_TRUE(pool.contains("")) << c.what;
        EXPECT_FALSE(pool.add("")) << c.what;
        EXPECT_FALSE(pool.contains("t0 ")) << c.what;
    }
}

// A cleared pool makes its copies anew, also of the text it interned last,
// so that a copy handed out after the clear is not overwritten by the next.
TEST(TextPoolTest, InterningAfterAClearCopiesTheTextAgain)
{
    const struct {
        const char* before;
        const char* again;
        const char* next;
    } cases[] = {
        {"urn:same", "urn:same", "urn:next"},
        {"urn:a", "urn:b", "urn:c"},
    };
    for (const auto& c : cases) {
        CTextPool pool;
        pool.intern(c.before);
        pool.clear();
        const std::string_view again = pool.intern(c.again);
        EXPECT_TRUE(pool.contains(c.again)) << c.again;
        pool.add(c.next);
        EXPECT_EQ(again, c.again) << c.before;
        EXPECT_EQ(pool.intern(c.again).data(), again.data()) << c.again;
    }
}

// A text longer than a block gets one of its own; the texts around it
// keep theirs intact.
TEST(TextPoolTest, TextsLongerThanABlockAreKeptWhole)
{
    CTextPool pool;
    const std::string sizes[] = {std::string(10, 'a'), std::string(5000, 'b'), std::string(4090, 'c'),
                                 std::string(20000, 'd'), std::string(7, 'e')};
    std::vector<std::string_view> views;
    for (const std::string& text : sizes)
        views.push_back(pool.intern(text));
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        EXPECT_EQ(views[i], sizes[i]) << i;
        EXPECT_EQ(pool.intern(sizes[i]).data(), views[i].data()) << i;
    }
}

// A hash worked out before (with the look-up started ahead) finds and adds
// the same texts as the pool's own: texts added either way are held for
// both, in a small table and in one grown many times.
TEST(TextPoolTest, HashesWorkedOutBeforeFindWhatThePoolFinds)
{
    for (const std::size_t count : {std::size_t(5), std::size_t(3000)}) {
        CTextPool pool;
        for (std::size_t i = 0; i < count; ++i) {
            const std::string text = "n" + std::to_string(i);
            const std::size_t hash = CTextPool::hashOf(text);
            pool.prefetch(hash);
            EXPECT_TRUE(i % 2 == 0 ? pool.add(text) : pool.add(text, hash)) << text;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const std::string text = "n" + std::to_string(i);
            const std::size_t hash = CTextPool::hashOf(text);
            EXPECT_TRUE(pool.contains(text, hash)) << text;
            EXPECT_FALSE(pool.add(text, hash)) << text;
            EXPECT_FALSE(pool.add(text)) << text;
            EXPECT_FALSE(pool.contains(text + "x", CTextPool::hashOf(text + "x"))) << text;
        }
        EXPECT_EQ(pool.size(), count);
    }
}

} // namespace
