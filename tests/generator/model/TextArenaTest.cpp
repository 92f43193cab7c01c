#include "generator/model/TextArena.h"

#include "generator/model/ShortText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Every copy reads its own text after the texts kept behind it, across
// block ends (a text that just fills a block, one that no longer fits the
// block's rest, one larger than a block), after the arena moved, and after
// a clear for the copies made since; equal texts keep copies of their own.
TEST(TextArenaTest, CopiesKeepTheirTextsAcrossBlocksMovesAndClears)
{
    const struct {
        const char* what;
        std::vector<std::size_t> sizes; // texts of these lengths, each of a letter of its own
        bool clearFirst;
    } cases[] = {
        {"short texts in one block", {1, 5, 16, 40}, false},
        {"a text filling the block, then more", {4096, 1, 3}, false},
        {"a text that does not fit the block's rest", {4000, 200, 7}, false},
        {"texts larger than a block around short ones", {3, 10000, 2, 5000, 1}, false},
        {"the same after a clear", {4000, 200, 10000, 3}, true},
    };
    for (const auto& c : cases) {
        CTextArena arena;
        if (c.clearFirst) {
            for (int i = 0; i < 3; ++i)
                arena.keep(std::string(3000, 'z'));
            arena.clear();
        }
        std::vector<std::string> texts;
        std::vector<std::string_view> copies;
        for (std::size_t i = 0; i < c.sizes.size(); ++i) {
            std::string text(c.sizes[i], static_cast<char>('a' + i));
            copies.push_back(arena.keep(text));
            text.assign(text.size(), '#'); // the arena keeps no view of its caller's text
            texts.push_back(std::string(c.sizes[i], static_cast<char>('a' + i)));
        }
        const CTextArena moved = std::move(arena);
        for (std::size_t i = 0; i < copies.size(); ++i)
            EXPECT_EQ(copies[i], texts[i]) << c.what << " " << i;
    }
}

TEST(TextArenaTest, EqualTextsGetCopiesOfTheirOwnAndEmptyTextsNone)
{
    CTextArena arena;
    const std::string_view first = arena.keep("urn:same");
    const std::string_view second = arena.keep("urn:same");
    EXPECT_EQ(first, second);
    EXPECT_NE(first.data(), second.data());
    EXPECT_TRUE(arena.keep("").empty());
    EXPECT_EQ(first, "urn:same");
}

} // namespace

// Copies made with their NUL, mixed with plain ones across block ends, each
// read back whole up to the NUL as a short text; an empty text is null.
TEST(TextArenaTest, TerminatedCopiesEndInTheirNulAmongPlainOnes)
{
    CTextArena arena;
    EXPECT_EQ(arena.keepTerminated(""), nullptr);
    const std::size_t sizes[] = {1, 4095, 5, 4094, 4096, 9000, 2};
    std::vector<std::string> texts;
    std::vector<const char*> copies;
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        texts.emplace_back(sizes[i], static_cast<char>('a' + i));
        copies.push_back(arena.keepTerminated(texts.back()));
        arena.keep(std::string(i + 1, '#')); // a plain copy right behind must not overwrite the NUL
    }
    for (std::size_t i = 0; i < copies.size(); ++i) {
        ASSERT_NE(copies[i], nullptr) << i;
        EXPECT_EQ(CShortText(copies[i]), texts[i]) << i;
        EXPECT_EQ(copies[i][texts[i].size()], '\0') << i;
    }
}
