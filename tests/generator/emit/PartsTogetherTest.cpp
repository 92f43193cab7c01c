#include "generator/emit/PartsTogether.h"

#include "generator/emit/TextBuffer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A part of about the given number of bytes, each line in a block it opens
// and closes, so that its tabs show the depth it started at.
CTextPart linesPart(int part, std::size_t bytes)
{
    return [part, bytes](CTextBuffer& out) {
        for (std::size_t line = 0; line * 24 < bytes; ++line) {
            out.open("part ", std::to_string(part), " {");
            out.line("line ", std::to_string(line));
            out.close();
        }
    };
}

std::string oneAfterTheOther(const std::vector<CTextPart>& parts)
{
    CTextBuffer out;
    for (const CTextPart& part : parts)
        part(out);
    return out.text();
}

// The parts come out in order and whole, as written one after the other,
// whatever their sizes (none, less than a block, blocks and more) and
// whether the text stays in memory or goes on to a sink.
TEST(PartsTogetherTest, PartsComeOutInOrderAsWrittenOneAfterTheOther)
{
    const std::size_t block = 64 * 1024;
    const struct {
        const char* name;
        std::vector<std::size_t> sizes;
    } cases[] = {
        {"one part", {3 * block}},
        {"small parts", {10, 200, 30}},
        {"empty parts between", {0, 5 * block + 7, 0, 100}},
        {"parts of several blocks", {2 * block, 3 * block + 1, block - 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CTextPart> parts;
        for (std::size_t i = 0; i < c.sizes.size(); ++i)
            parts.push_back(linesPart(static_cast<int>(i), c.sizes[i]));
        const std::string expected = oneAfterTheOther(parts);

        CTextBuffer held;
        held.line("before");
        writePartsTogether(held, parts);
        EXPECT_TRUE(held.text() == "before\r\n" + expected);

        std::ostringstream sink;
        {
            CTextBuffer passed(sink);
            writePartsTogether(passed, parts);
        }
        EXPECT_TRUE(sink.str() == expected);
    }
}

// When parts throw, the first one's exception in order reaches the caller,
// after every part ended.
TEST(PartsTogetherTest, TheFirstPartThatThrowsInOrderIsTheOneThatReachesTheCaller)
{
    const struct {
        const char* name;
        std::vector<bool> throws;
        std::string thrown;
    } cases[] = {
        {"the first", {true, false, true}, "part 0"},
        {"a later one", {false, false, true}, "part 2"},
        {"two later ones", {false, true, true}, "part 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> ended(c.throws.size(), 0);
        std::vector<CTextPart> parts;
        for (std::size_t i = 0; i < c.throws.size(); ++i) {
            parts.push_back([&, i](CTextBuffer& out) {
                linesPart(static_cast<int>(i), 1000)(out);
                ended[i] = 1;
                if (c.throws[i])
                    throw std::runtime_error("part " + std::to_string(i));
            });
        }
        CTextBuffer out;
        try {
            writePartsTogether(out, parts);
            ADD_FAILURE() << "nothing thrown";
        } catch (const std::runtime_error& thrown) {
            EXPECT_EQ(thrown.what(), c.thrown);
        }
        EXPECT_EQ(ended, std::vector<char>(c.throws.size(), 1));
    }
}

} // namespace
