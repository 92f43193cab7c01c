// The text buffer of a generated file: a buffer that passes its text on to
// a sink gives the sink exactly the text a plain buffer holds, across block
// boundaries and moves, and counts everything it was given.

#include "generator/emit/TextBuffer.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Appends count pieces of the given size, in every way a buffer is written;
// each piece of its own letter, so that text passed on out of order shows.
void fill(CTextBuffer& buffer, std::size_t pieceSize, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::string piece(pieceSize, static_cast<char>('a' + i % 26));
        switch (i % 4) {
        case 0: buffer.append(piece); break;
        case 1: buffer.line(piece); break;
        case 2: buffer.append(piece.c_str()); break;
        default: buffer.emptyLine(); break;
        }
    }
}

TEST(TextBufferTest, ASinkGetsWhatAPlainBufferHolds)
{
    const struct {
        std::size_t pieceSize;
        int count;
    } cases[] = {{0, 1}, {10, 3}, {1000, 200}, {64 * 1024, 3}, {64 * 1024 - 1, 9}, {200000, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pieceSize) + " x " + std::to_string(c.count));
        CTextBuffer plain;
        fill(plain, c.pieceSize, c.count);
        std::ostringstream sink;
        {
            CTextBuffer passing(sink);
            fill(passing, c.pieceSize, c.count);
            EXPECT_EQ(passing.size(), plain.size());
            EXPECT_EQ(passing.empty(), plain.empty());
            // What it holds is never more than a block and what it was last given.
            EXPECT_LE(passing.text().size(), 64 * 1024 + c.pieceSize + 2);
        } // the rest is passed on when the buffer ends
        EXPECT_EQ(sink.str(), plain.text());
    }
}

TEST(TextBufferTest, MovesNeitherLoseNorRepeatText)
{
    std::ostringstream first, second;
    {
        CTextBuffer a(first);
        a.line("one");
        CTextBuffer b(std::move(a));
        b.line("two");
        CTextBuffer c(second);
        c.line("three");
        c = std::move(b); // c's own text goes to its sink first
        c.line("four");
    }
    EXPECT_EQ(first.str(), "one\r\ntwo\r\nfour\r\n");
    EXPECT_EQ(second.str(), "three\r\n");

    CTextBuffer plain;
    plain.append("kept");
    CTextBuffer moved = std::move(plain);
    EXPECT_EQ(moved.text(), "kept");
    EXPECT_TRUE(plain.empty());
    moved.clear();
    EXPECT_TRUE(moved.empty());
}

TEST(TextBufferTest, BlocksIndentTheirLines)
{
    // Each step: 'o' opens with its text, 'c' closes, 'i'/'u' indent and
    // outdent, 'l' writes a line, 'e' an empty line.
    const struct {
        const char* steps;
        std::vector<std::string> texts;
        std::string expected;
    } cases[] = {
        {"lolc", {"a", "{", "b", "}"}, "a\r\n{\r\n\tb\r\n}\r\n"},
        {"oolcc", {"{", "for(;;){", "x;", "}", "}"}, "{\r\n\tfor(;;){\r\n\t\tx;\r\n\t}\r\n}\r\n"},
        {"oelc", {"{", "", "y;", "}"}, "{\r\n\r\n\ty;\r\n}\r\n"},
        {"liluc", {"if(p)", "q;", "}"}, "if(p)\r\n\tq;\r\n}\r\n"},
        // A close without an open block stays at the margin.
        {"cl", {"}", "z"}, "}\r\nz\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        CTextBuffer out;
        std::size_t next = 0;
        for (const char* step = c.steps; *step != '\0'; ++step) {
            switch (*step) {
            case 'o': out.open(c.texts.at(next++)); break;
            case 'c': out.close(c.texts.at(next++)); break;
            case 'i': out.indent(); break;
            case 'u': out.outdent(); break;
            case 'e': out.emptyLine(); ++next; break;
            default: out.line(c.texts.at(next++)); break;
            }
        }
        EXPECT_EQ(out.text(), c.expected);
        EXPECT_EQ(out.depth(), 0u);
    }
    CTextBuffer left;
    left.open("{");
    left.clear();
    left.line("x");
    EXPECT_EQ(left.text(), "x\r\n");
}


// Lines at any depth carry exactly one tab per open block, also past the
// runs of tabs the buffer puts at a time; an empty line carries none.
TEST(TextBufferTest, DeepBlocksIndentByTheirDepth)
{
    for (std::size_t depth : {0u, 1u, 7u, 8u, 9u, 16u, 17u, 40u}) {
        SCOPED_TRACE(depth);
        CTextBuffer out;
        for (std::size_t i = 0; i < depth; ++i)
            out.indent();
        out.line("x", "y");
        out.emptyLine();
        out.line("z");
        const std::string tabs(depth, '\t');
        EXPECT_EQ(out.text(), tabs + "xy\r\n\r\n" + tabs + "z\r\n");
    }
}

// The text read between appends, after a clear, or after the buffer held
// far more is exactly what was appended since: room kept from before
// never shows.
TEST(TextBufferTest, TextReadBetweenAppendsIsExactlyWhatWasAppended)
{
    // Steps: a size appends that many characters, 0 reads the text, -1 clears.
    const struct {
        const char* what;
        std::vector<int> steps;
    } cases[] = {
        {"read between small appends", {3, 0, 5, 0, 1, 0}},
        {"read then grow past the room", {10, 0, 5000, 0, 70000, 0}},
        {"cleared after a large text", {70000, 0, -1, 4, 0, 7, 0}},
        {"cleared without a read", {300, -1, 2, 0}},
        {"read twice", {6, 0, 0, 9, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CTextBuffer buffer;
        std::string expected;
        char next = 'a';
        for (int step : c.steps) {
            if (step > 0) {
                const std::string piece(static_cast<std::size_t>(step), next);
                next = next == 'z' ? 'a' : static_cast<char>(next + 1);
                buffer.append(piece, "");
                expected += piece;
            } else if (step == 0) {
                ASSERT_EQ(buffer.text(), expected);
            } else {
                buffer.clear();
                expected.clear();
            }
            EXPECT_EQ(buffer.size(), expected.size());
        }
    }
}


// A line or text given in pieces is exactly the joined text given whole:
// the same indentation (none when every piece is empty), the same line
// end, the same passing on to a sink.
TEST(TextBufferTest, PiecesGiveWhatTheJoinedTextGives)
{
    const std::string name = "member";
    const std::string empty;
    const char semicolon = ';';
    const std::string long64k(64 * 1024, 'x');
    // Lines larger than the room a new buffer makes at first.
    const std::string fills252(252, 'f');
    const std::string fills300(300, 'g');
    const struct {
        const char* what;
        std::size_t depth;
        std::function<void(CTextBuffer&)> pieces;
        std::string whole;
        bool asLine;
    } cases[] = {
        {"strings, C strings, a character", 1, [&](CTextBuffer& b) { b.line("\tint\t", name, semicolon); },
         "\tint\tmember;", true},
        {"empty pieces at depth take no tabs", 2, [&](CTextBuffer& b) { b.line(empty, "", empty); }, "", true},
        {"an empty first piece still indents", 2, [&](CTextBuffer& b) { b.line(empty, "x"); }, "x", true},
        {"a string view", 0, [&](CTextBuffer& b) { b.line(std::string_view("ab"), name); }, "abmember", true},
        {"appended pieces", 3, [&](CTextBuffer& b) { b.append("a", name, semicolon); }, "amember;", false},
        {"past a block", 0, [&](CTextBuffer& b) { b.line(long64k, name); }, long64k + name, true},
        {"tabs and line end just fit", 1, [&](CTextBuffer& b) { b.line(fills252, "z"); }, fills252 + "z", true},
        {"the tabs push a line past", 2, [&](CTextBuffer& b) { b.line(fills252, "z"); }, fills252 + "z", true},
        {"many pieces past", 3, [&](CTextBuffer& b) { b.line(name, fills300, semicolon, name); },
         name + fills300 + ";" + name, true},
        {"appended pieces past", 0, [&](CTextBuffer& b) { b.append(fills300, name); }, fills300 + name, false},
        {"an appended block in pieces", 0, [&](CTextBuffer& b) { b.append(long64k, ""); }, long64k, false},
        // An opened block: the next line one tab deeper, as after open(text).
        {"a block opened in pieces", 1, [&](CTextBuffer& b) { b.open("if(", name, "){"); b.line("x"); },
         "if(member){\r\n\t\tx", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ostringstream joinedSink, piecesSink;
        CTextBuffer joined(joinedSink), pieces(piecesSink);
        for (std::size_t i = 0; i < c.depth; ++i) {
            joined.indent();
            pieces.indent();
        }
        if (c.asLine)
            joined.line(c.whole);
        else
            joined.append(c.whole);
        c.pieces(pieces);
        EXPECT_EQ(pieces.size(), joined.size());
        pieces.flush();
        joined.flush();
        EXPECT_EQ(piecesSink.str(), joinedSink.str());
    }
}

} // namespace
