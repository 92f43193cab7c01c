#include "generator/model/ShortText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>

namespace {

// A short text reads, compares and prints as the view of its characters
// whichever side and form the other text takes; null and "" are the same
// empty text.
TEST(ShortTextTest, ReadsComparesAndPrintsAsItsView)
{
    const struct {
        const char* text;
        const char* other;
        bool equal;
        bool less;
    } cases[] = {
        {nullptr, nullptr, true, false}, {nullptr, "", true, false},  {"", "a", false, true},
        {"ab", "ab", true, false},       {"ab", "abc", false, true}, {"b", "ab", false, false},
    };
    for (const auto& c : cases) {
        const CShortText text(c.text);
        const std::string_view view = c.text == nullptr ? std::string_view() : std::string_view(c.text);
        const std::string other = c.other == nullptr ? std::string() : std::string(c.other);
        SCOPED_TRACE(std::string(view) + " / " + other);
        EXPECT_EQ(text.view(), view);
        EXPECT_EQ(text.size(), view.size());
        EXPECT_EQ(text.empty(), view.empty());
        EXPECT_NE(text.data(), nullptr);
        EXPECT_EQ(text == CShortText(c.other), c.equal);
        EXPECT_EQ(text == std::string_view(other), c.equal);
        EXPECT_EQ(std::string_view(other) == text, c.equal);
        EXPECT_EQ(text == other.c_str(), c.equal);
        EXPECT_EQ(other.c_str() != text, !c.equal);
        EXPECT_EQ(text == other, c.equal);
        EXPECT_EQ(text < CShortText(other.c_str()), c.less);
        std::ostringstream printed;
        printed << text;
        EXPECT_EQ(printed.str(), view);
        EXPECT_EQ(std::string(text), view);
    }
    EXPECT_EQ(CShortText("prefix_rest").substr(7), "rest");
}

}  // namespace
