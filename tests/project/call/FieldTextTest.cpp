// The "name value" lines of the call window's files: escapes of either case
// read back, a bad one is named where it stands, and a name finds its member.
#include "project/call/FieldText.h"

#include <gtest/gtest.h>

namespace {

TEST(FieldTextTest, EscapesOfEitherCaseReadAndABadOneIsNamed)
{
    const struct {
        const char* line;
        const char* value;  // null: the line does not read
        int column;         // where it stops when it does not
    } cases[] = {
        {"v a%0Ab%0ac", "a\nb\nc", 0},
        {"v %25%7f%7F", "%\x7f\x7f", 0},
        {"v %Ff", "\xff", 0},
        {"v ok%4", nullptr, 5},
        {"v %g1", nullptr, 3},
        {"v %1g", nullptr, 3},
        {"v 100%", nullptr, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string text = c.line;
        FieldText fields(text);
        std::string name;
        std::string value;
        const bool read = fields.next(name, value);
        ASSERT_EQ(read, c.value != nullptr) << fields.error();
        if (read)
            EXPECT_EQ(value, c.value);
        else
            EXPECT_EQ(fields.column(), c.column);
    }
}

struct Pair {
    std::string first, second;
};

TEST(FieldTextTest, ANameFindsItsMemberAndNoOther)
{
    const TextFieldName<Pair> names[] = {{"first", &Pair::first}, {"second", &Pair::second}};
    Pair pair;
    EXPECT_EQ(textField(pair, names, "first"), &pair.first);
    EXPECT_EQ(textField(pair, names, "second"), &pair.second);
    EXPECT_EQ(textField(pair, names, "First"), nullptr);
    EXPECT_EQ(textField(pair, names, "third"), nullptr);
    EXPECT_EQ(textField(pair, names, ""), nullptr);
}

}  // namespace
