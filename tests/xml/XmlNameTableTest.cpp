#include "xml/XmlNameTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Rows: name as written, prefix, local name, has a colon, qualified, "xmlns", "xmlns:..."
TEST(XmlNameTableTest, NamesSplitAtTheirFirstColon)
{
    struct Row {
        std::string written;
        std::string prefix;
        std::string local;
        bool hasColon;
        bool qualified;
        bool isXmlns;
        bool xmlnsPrefixed;
    };
    const Row rows[] = {
        {"element", "", "element", false, true, false, false},
        {"s:element", "s", "element", true, true, false, false},
        {":x", "", "x", true, true, false, false},
        {"p:", "p", "", true, false, false, false},
        {"a:b:c", "a", "b:c", true, false, false, false},
        {"xmlns", "", "xmlns", false, true, true, false},
        {"xmlns:tns", "xmlns", "tns", true, true, false, true},
        {"xmlnsx:a", "xmlnsx", "a", true, true, false, false},
        {"xmlns2", "", "xmlns2", false, true, false, false},
        {"a-very-long-element-name:with.a.long.local-part", "a-very-long-element-name", "with.a.long.local-part",
         true, true, false, false},
    };
    XmlNameTable table;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.written);
        const XmlName* name = table.intern(row.written);
        ASSERT_NE(nullptr, name);
        EXPECT_EQ(row.written, name->raw);
        EXPECT_EQ(row.prefix, name->prefix);
        EXPECT_EQ(row.local, name->local);
        EXPECT_EQ(row.hasColon, name->hasColon);
        EXPECT_EQ(row.qualified, name->qualified);
        EXPECT_EQ(row.isXmlns, name->isXmlns);
        EXPECT_EQ(row.xmlnsPrefixed, name->xmlnsPrefixed);
        EXPECT_EQ(0u, name->resolvedIn);
    }
}

// Names of every length up to past two words, and names that differ in one
// byte only, each keep an entry of their own through the table's growth.
TEST(XmlNameTableTest, EachSpellingHasOneEntryThatNeverMoves)
{
    std::vector<std::string> spellings;
    for (std::size_t length = 1; length <= 20; ++length) {
        for (char differing = 'a'; differing <= 'z'; ++differing) {
            for (std::size_t at : {std::size_t{0}, length / 2, length - 1}) {
                std::string s(length, 'n');
                s[at] = differing;
                spellings.push_back(s);
            }
        }
    }
    XmlNameTable table;
    std::vector<const XmlName*> first;
    for (const std::string& s : spellings) {
        first.push_back(table.intern(s));
    }
    for (std::size_t i = 0; i < spellings.size(); ++i) {
        ASSERT_NE(nullptr, first[i]);
        EXPECT_EQ(spellings[i], first[i]->raw);
        EXPECT_EQ(first[i], table.intern(spellings[i])) << spellings[i];
        EXPECT_EQ(first[i], table.intern(std::string(spellings[i]))) << "found by content, not address";
    }
    EXPECT_LT(table.size(), spellings.size()) << "repeated spellings share their entry";
}

TEST(XmlNameTableTest, AFullTableStillFindsItsNamesButTakesNoMore)
{
    XmlNameTable table;
    std::vector<const XmlName*> held;
    for (std::size_t i = 0; i < XmlNameTable::kMaxNames; ++i) {
        held.push_back(table.intern("n" + std::to_string(i)));
        ASSERT_NE(nullptr, held.back()) << i;
    }
    EXPECT_EQ(nullptr, table.intern("one-more"));
    EXPECT_EQ(nullptr, table.intern("n-1"));
    EXPECT_EQ(XmlNameTable::kMaxNames, table.size());
    for (std::size_t i = 0; i < XmlNameTable::kMaxNames; i += 97) {
        EXPECT_EQ(held[i], table.intern("n" + std::to_string(i)));
    }
}

// Names chosen to share their slot bits, as a hostile document could choose
// them, fill at most one run of kMaxProbes slots; those past it are turned
// away rather than making every later tag search the whole run. The names
// taken keep their entries.
TEST(XmlNameTableTest, NamesThatHashAlikeCannotCrowdOneRunOfSlots)
{
    constexpr std::uint64_t kSlotBits = 0x1FF;  // a table of 512 slots, as for 200 names
    std::vector<std::string> alike;
    for (std::size_t k = 0; alike.size() < 200; ++k) {
        std::string name = "n" + std::to_string(k);
        if ((XmlNameTable::hashOf(name) & kSlotBits) == 0) {
            alike.push_back(std::move(name));
        }
    }
    XmlNameTable table;
    std::vector<const XmlName*> first;
    for (const std::string& name : alike) {
        first.push_back(table.intern(name));
    }
    EXPECT_LE(table.size(), XmlNameTable::kMaxProbes);
    std::size_t taken = 0;
    for (std::size_t i = 0; i < alike.size(); ++i) {
        EXPECT_EQ(first[i], table.intern(alike[i])) << alike[i];
        if (first[i] != nullptr) {
            EXPECT_EQ(alike[i], first[i]->raw);
            ++taken;
        }
    }
    EXPECT_EQ(table.size(), taken);
    EXPECT_NE(nullptr, table.intern("element")) << "a name elsewhere is still taken";
}

// Short names alike but for a digit or two, as schemas write them, spread
// over the slots: none is turned away for want of room nearby.
TEST(XmlNameTableTest, OrdinaryNamesAreAllTakenUpToTheCap)
{
    for (const char* stem : {"n", "item", "ns1:element", "xs:complexType"}) {
        XmlNameTable table;
        for (std::size_t i = 0; i < XmlNameTable::kMaxNames; ++i) {
            ASSERT_NE(nullptr, table.intern(stem + std::to_string(i))) << stem << i;
        }
    }
}

} // namespace
