#include "generator/model/NameForms.h"

#include <gtest/gtest.h>

namespace {

// Escapes at the start, in the middle and at the end of a text, and runs of
// them, since plain runs are copied whole between escapes.
TEST(NameFormsTest, StringLiteralsEscapeQuotesBackslashesAndControlBytes)
{
    const struct {
        std::string text;
        const char* body;
    } cases[] = {
        {"", ""},
        {"plain text", "plain text"},
        {"\"", "\\\""},
        {"a\"b", "a\\\"b"},
        {"\\end\\", "\\\\end\\\\"},
        {"tab\there", "tab\\011here"},
        {"\r\n", "\\015\\012"},
        {std::string("nul\0x", 5), "nul\\000x"},
        {"del\x7f", "del\\177"},
        {"caf\xc3\xa9 <a href=\"x\">", "caf\xc3\xa9 <a href=\\\"x\\\">"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cStringBody(c.text), c.body) << c.text;
        EXPECT_EQ(cStringLiteral(c.text), std::string("\"") + c.body + "\"") << c.text;
    }
}

} // namespace
