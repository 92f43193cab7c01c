#include "xml/XmlCharClasses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace XmlChars;

// Where a run of a quoted value ends, read one byte at a time from the class table.
std::size_t valueStopByTable(const std::vector<unsigned char>& bytes, unsigned char quote)
{
    const std::uint16_t stop = quote == '"' ? kDQuoteStop : kSQuoteStop;
    std::size_t i = 0;
    while (i < bytes.size() && !(kClass[bytes[i]] & stop)) {
        ++i;
    }
    return i;
}

// Every byte value, at every place of runs long and short enough to reach
// both the wide comparison and the byte-wise tail, must stop the value scan
// exactly where the class table says.
TEST(XmlCharClassesTest, ValueScanStopsWhereTheClassTableDoes)
{
    const unsigned char quotes[] = {'"', '\''};
    for (const unsigned char quote : quotes) {
        for (const std::size_t length : {0u, 1u, 15u, 16u, 17u, 33u, 40u}) {
            for (int byte = 0; byte < 256; ++byte) {
                for (std::size_t at = 0; at < length; ++at) {
                    std::vector<unsigned char> bytes(length, 'a');
                    bytes[at] = static_cast<unsigned char>(byte);
                    const unsigned char* begin = bytes.data();
                    const std::size_t found = static_cast<std::size_t>(
                        findValueStop(begin, begin + bytes.size(), quote) - begin);
                    ASSERT_EQ(valueStopByTable(bytes, quote), found)
                        << "quote " << quote << " byte " << byte << " at " << at << " of " << length;
                }
            }
            std::vector<unsigned char> plain(length, 0xE9);
            EXPECT_EQ(length, static_cast<std::size_t>(findValueStop(plain.data(), plain.data() + length, quote) -
                                                       plain.data()));
        }
    }
}

// The earliest of several stops in one stretch of sixteen bytes is the one found.
TEST(XmlCharClassesTest, ValueScanFindsTheFirstOfSeveralStops)
{
    struct Case {
        std::string text;
        unsigned char quote;
        std::size_t stop;
    };
    const Case cases[] = {
        {"http://host/path?a=1&b=2\"", '"', 20},
        {"abcdefghijklmnopqrstuv<\"&", '"', 22},
        {"it's \"quoted\" text here", '\'', 2},
        {"it's \"quoted\" text here", '"', 5},
        {"tab\there and \"", '"', 3},
        {"line one\r\nline two \"", '"', 8},
        {"\x7F\x80\xFF plain bytes go on to the end'", '\'', 32},
    };
    for (const Case& c : cases) {
        const auto* begin = reinterpret_cast<const unsigned char*>(c.text.data());
        EXPECT_EQ(c.stop, static_cast<std::size_t>(findValueStop(begin, begin + c.text.size(), c.quote) - begin))
            << c.text;
    }
}

// Runs of spaces of every length up to past two wide comparisons, ended by
// every other byte value or by the end, are passed over exactly.
TEST(XmlCharClassesTest, SpaceSkippingStopsAtTheFirstOtherByte)
{
    for (std::size_t spaces = 0; spaces <= 40; ++spaces) {
        for (int byte = 0; byte <= 256; ++byte) {
            if (byte == ' ') {
                continue;
            }
            std::vector<unsigned char> bytes(spaces, ' ');
            if (byte < 256) { // 256: the spaces run to the end
                bytes.push_back(static_cast<unsigned char>(byte));
                bytes.push_back(' ');
            }
            const unsigned char* begin = bytes.data();
            ASSERT_EQ(spaces, static_cast<std::size_t>(skipSpaces(begin, begin + bytes.size()) - begin))
                << spaces << " spaces then byte " << byte;
        }
    }
}

} // namespace
