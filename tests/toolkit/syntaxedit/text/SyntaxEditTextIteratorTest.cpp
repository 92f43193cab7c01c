// The text iterator: the stream with its line ends, look-back across compaction, seeking, the
// position arithmetic, and breaking off.
#include "SyntaxEditTestSupport.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextIterator.h"

#include <gtest/gtest.h>

namespace {

using IteratorPtr = std::unique_ptr<CKLVSyntaxEditTextIterator, CmdTargetReleaser>;

IteratorPtr MakeIterator(CKLVSyntaxEditBufferManager* pBuffer) {
    return IteratorPtr(new CKLVSyntaxEditTextIterator(pBuffer));
}

// The stream as the rows and line ends make it, with the closing "\r\n".
std::string ExpectedStream(const std::vector<std::string>& rows, const char* pszLineEnd) {
    std::string text;
    for (const std::string& row : rows) text += row + pszLineEnd;
    return text + "\r\n";
}

}  // namespace

TEST(SyntaxEditTextIterator, PositionsPackAndCompare) {
    using Pos = CKLVSyntaxEditPosition;
    EXPECT_EQ(Pos(3, 5).GetPackedKey(), 12293u);
    EXPECT_EQ(Pos(1, 4096).GetPackedKey(), 4096u);
    EXPECT_EQ(Pos(1, 0).GetPackedKey(), 4096u);
    EXPECT_TRUE(Pos(1, 9) < Pos(2, 0));
    EXPECT_TRUE(Pos(2, 1) > Pos(2, 0));
    EXPECT_TRUE(Pos(2, 1) <= Pos(2, 1));
    EXPECT_FALSE(Pos(0, 3).IsValid());
    Pos pos(4, 4);
    pos.Clear();
    EXPECT_EQ(pos, Pos());
}

TEST(SyntaxEditTextIterator, ReadsRowsWithLineEndsAndAClosingLineEnd) {
    BufferPtr buffer = MakeBuffer("ab");
    buffer->SetCRLFStyle(klvLF);
    IteratorPtr it = MakeIterator(buffer.get());
    EXPECT_FALSE(it->IsEOF());
    EXPECT_STREQ(it->PeekText(10), "ab\n\r\n");
    EXPECT_EQ(it->GetLineLength(1, TRUE), 3);
    EXPECT_EQ(it->GetLineByteCount(1, FALSE), 2);
    EXPECT_EQ(it->GetLineLength(2, TRUE), 0);
    it->MoveOffset(-2);
    EXPECT_STREQ(it->PeekText(1), "\r\nab\n\r\n") << "a line end stands before line 1";
    LPCSTR pFront = it->PeekText(1);
    it->MoveOffset(-50);
    EXPECT_EQ(it->PeekText(1), pFront - 10) << "no further back than the array's first byte";
    it->MoveOffset(0);
    EXPECT_STREQ(it->Advance(2, 0), "\n\r\n");
    EXPECT_EQ(it->GetPosition(), CKLVSyntaxEditPosition(1, 2));
    EXPECT_STREQ(it->Advance(1, 0), "\r\n");
    EXPECT_EQ(it->GetPosition(), CKLVSyntaxEditPosition(2, 0));
    EXPECT_EQ(it->Advance(5, 0), std::string());
    EXPECT_TRUE(it->IsEOF());
    it->Rewind();
    EXPECT_FALSE(it->IsEOF());
    EXPECT_EQ(it->GetPosition(), CKLVSyntaxEditPosition(1, 0));
}

TEST(SyntaxEditTextIterator, EmptyBufferAndMissingBuffer) {
    BufferPtr buffer = MakeBuffer("");
    IteratorPtr it = MakeIterator(buffer.get());
    EXPECT_TRUE(it->IsEOF());
    EXPECT_FALSE(it->SeekToLine(CKLVSyntaxEditPosition(1, 0), nullptr));
    IteratorPtr none = MakeIterator(nullptr);
    EXPECT_EQ(none->PeekText(1), nullptr);
    EXPECT_EQ(none->GetLineEnd(), "\r\n");
    EXPECT_EQ(none->GetFileName(), "");
    EXPECT_EQ(none->GetLineLength(1, TRUE), 0);
    EXPECT_EQ(none->GetMaxBackOffset(), 100);
}

// A parser whose options give the look-back size under test.
class CLookBackParser : public IKLVSyntaxEditLexParser {
public:
    void Close() override {}
    void BreakParse() override {}
    IKLVSyntaxEditTextSchema* GetTextSchema() override { return nullptr; }
    void SetTextSchema(IKLVSyntaxEditTextSchema*) override {}
    CKLVSyntaxEditParseOptions GetOptions(LPCSTR) override {
        CKLVSyntaxEditParseOptions options;
        options.nMaxBackParseOffset = s_nLookBack;
        return options;
    }
    void StartParseInThread(IKLVSyntaxEditTextSource*, const CKLVSyntaxEditPosition*, const CKLVSyntaxEditPosition*,
                            int, BOOL) override {}
    void OnTextChanged(const CKLVSyntaxEditPosition&, const CKLVSyntaxEditPosition&, int,
                       IKLVSyntaxEditTextSource*) override {}
    static int s_nLookBack;
};
int CLookBackParser::s_nLookBack = 100;

class SyntaxEditTextIteratorLookBack : public testing::TestWithParam<int> {};

TEST_P(SyntaxEditTextIteratorLookBack, StreamAndLookBackSurviveCompaction) {
    static const KLV_SYNTAXEDIT_LEXER_FACTORY factory = {
        [] { return static_cast<IKLVSyntaxEditLexParser*>(new CLookBackParser); }, nullptr};
    CLookBackParser::s_nLookBack = GetParam();
    KLVSetSyntaxEditLexerFactory(&factory);
    std::vector<std::string> rows;
    std::string text;
    for (int i = 0; i < 300; ++i) {
        rows.push_back("row " + std::to_string(i) + std::string(i % 37, '-'));
        text += rows.back() + (i + 1 < 300 ? "\r\n" : "");
    }
    BufferPtr buffer = MakeBuffer(text);
    KLVSetSyntaxEditLexerFactory(nullptr);
    const std::string stream = ExpectedStream(rows, "\r\n");
    IteratorPtr it = MakeIterator(buffer.get());
    const int nBack = it->GetMaxBackOffset();
    EXPECT_EQ(nBack, std::max(GetParam(), 20));
    std::string read;
    // Steps of varying size; at each stop the look-back and the text ahead match the stream.
    for (int nStep = 1; !it->IsEOF(); nStep = nStep % 13 + 1) {
        const size_t nAt = read.size();
        LPCSTR pText = it->PeekText(1);
        ASSERT_EQ(pText[0], stream[nAt]) << nAt;
        const int nLook = static_cast<int>(std::min<size_t>(nBack, nAt));
        it->MoveOffset(-nLook);
        ASSERT_EQ(std::string(it->PeekText(1), nLook), stream.substr(nAt - nLook, nLook)) << nAt;
        it->MoveOffset(0);
        const size_t nTake = std::min<size_t>(nStep, stream.size() - nAt);
        read += std::string(pText, nTake);
        it->Advance(nStep, 16);
    }
    EXPECT_EQ(read, stream);
}

// The default, below the least look-back, and more than the compaction threshold.
INSTANTIATE_TEST_SUITE_P(Sizes, SyntaxEditTextIteratorLookBack, testing::Values(100, 5, 2000));

TEST(SyntaxEditTextIterator, SeeksToAPositionAndStopsWhenBroken) {
    std::string text;
    for (int i = 1; i <= 200; ++i) text += "line" + std::to_string(i) + "\n";
    BufferPtr buffer = MakeBuffer(text);
    IteratorPtr it = MakeIterator(buffer.get());
    EXPECT_TRUE(it->SeekToLine(CKLVSyntaxEditPosition(150, 3), nullptr));
    EXPECT_EQ(std::string(it->PeekText(8), 8), "e150\nlin");
    EXPECT_TRUE(it->SeekToLine(CKLVSyntaxEditPosition(2, 0), nullptr));
    EXPECT_EQ(std::string(it->PeekText(5), 5), "line2");
    EXPECT_FALSE(it->SeekToLine(CKLVSyntaxEditPosition(3, 40), nullptr)) << "past the row's end";

    HANDLE hEvent = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);
    EXPECT_FALSE(it->SeekToLine(CKLVSyntaxEditPosition(150, 3), hEvent));
    ::CloseHandle(hEvent);
}

TEST(SyntaxEditTextIterator, StepsPositionsOverCachedLines) {
    BufferPtr buffer = MakeBuffer("abc\r\nde\r\nf");
    IteratorPtr it = MakeIterator(buffer.get());
    using Pos = CKLVSyntaxEditPosition;
    Pos pos(1, 0);
    it->StepBack(pos);
    EXPECT_EQ(pos, Pos(1, 0));
    pos = Pos(2, 0);
    it->StepBack(pos);
    EXPECT_EQ(pos, Pos(2, 0)) << "line 1 is not cached yet";
    it->PeekText(100);
    it->StepBack(pos);
    EXPECT_EQ(pos, Pos(1, 4)) << "the last character of line 1's line end";
    struct Case {
        Pos from;
        int n;
        Pos to;
    } const cases[] = {
        {{1, 0}, 2, {1, 2}}, {{1, 0}, 5, {2, 0}}, {{1, 3}, 6, {3, 0}}, {{2, 1}, 1, {2, 2}}, {{3, 0}, 1, {3, 1}},
        {{3, 0}, 9, {4, 0}}, {{7, 0}, 3, {7, 0}},
    };
    for (const Case& c : cases) {
        Pos p = c.from;
        it->StepForward(p, c.n);
        EXPECT_EQ(p, c.to) << c.from.nLine << "," << c.from.nCol << " + " << c.n;
    }
}
