#include "generator/model/WordSet.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

// The length and end-byte filters must never turn away a word of the set,
// whatever its neighbours of the same length begin or end with.
TEST(WordSetTest, FindsItsWordsAndOnlyThem)
{
    const char* const words[] = {"int", "far", "EOF", "near", "_Bool", "ENABLERELATIVEWIDTHS", "a"};
    const CWordSet set(std::begin(words), std::end(words));
    const struct {
        const char* word;
        bool expected;
    } cases[] = {
        {"int", true},    {"far", true},    {"EOF", true},   {"near", true}, {"_Bool", true},
        {"a", true},      {"ENABLERELATIVEWIDTHS", true},
        {"inF", false},   // first byte of one word, last byte of another
        {"fat", false},   {"EOt", false},   {"nea", false},  {"nearr", false}, {"", false},
        {"b", false},     {"ENABLERELATIVEWIDTHSX", false}, {"ENABLERELATIVEWIDTHZ", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(set.contains(c.word), c.expected) << c.word;
}

} // namespace
