// Text put aside and written later gives back exactly what went in, in
// order, whether it waited in a temporary file or in memory, across the
// blocks a buffer passes on.

#include "generator/emit/TextSpool.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Lines of a letter each, so that blocks given back out of order show.
void fill(CTextBuffer& buffer, std::size_t lineSize, int count)
{
    for (int i = 0; i < count; ++i)
        buffer.line(std::string(lineSize, static_cast<char>('a' + i % 26)));
}

TEST(TextSpoolTest, GivesBackWhatWentInWhereverItWaited)
{
    const struct {
        std::size_t lineSize;
        int count;
    } cases[] = {{0, 0}, {5, 1}, {1000, 300}, {64 * 1024, 3}, {200000, 2}};
    for (CTextSpool::Store store : {CTextSpool::TemporaryFile, CTextSpool::Memory}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(store) + ": " + std::to_string(c.lineSize) + " x " + std::to_string(c.count));
            CTextBuffer expected;
            expected.line("before");
            fill(expected, c.lineSize, c.count);
            expected.append("!");

            CTextSpool spool(store);
            {
                CTextBuffer spooled(spool.sink());
                fill(spooled, c.lineSize, c.count);
            }
            spool.sink().put('!'); // a single character takes the stream's other road
            CTextBuffer out;
            out.line("before");
            spool.writeTo(out);
            EXPECT_EQ(out.text(), expected.text());
        }
    }
}

} // namespace
