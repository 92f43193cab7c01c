// The text schema: full parses against golden runs and folds, resumed parses after edits
// against full ones, and run layering.
#include "LexTestSupport.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextSchema.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string GoldenPath(const char* name) {
    return std::string(KELVANE_SOURCE_DIR "/tests/toolkit/syntaxedit/lexer/golden/") + name;
}

CKLVSmartPtr<CKLVSyntaxEditLexTextSchema> MakeSchema(const char* lexFile) {
    auto pSchema = KLVMakeCounted<CKLVSyntaxEditLexTextSchema>(lexFile);
    auto pTree = MakeTreeFromFile(lexFile);
    pTree->CopyTo(pSchema->GetClassTree());
    return pSchema;
}

struct Parsed {
    CStringText text;
    CKLVSmartPtr<CKLVSyntaxEditLexTextSchema> schema;
    Parsed(const char* lexFile, const std::string& content, const char* ext)
        : text(content, ext), schema(MakeSchema(lexFile)) {
        Reparse(nullptr);
    }
    int Reparse(const CKLVSyntaxEditPosition* pStart, const CKLVSyntaxEditPosition* pEnd = nullptr) {
        const CKLVSyntaxEditPosition top(1, 0);
        return schema->Parse(TRUE, Iter().get(), pStart ? pStart : &top, pEnd, FALSE);
    }
    std::unique_ptr<IKLVSyntaxEditTextIterator> Iter() { return text.CreateTextIterator(); }
    int Lines() { return text.GetRowCount(); }
    std::string Runs(int nFirst = 1, int nLast = -1, CKLVSyntaxEditLexTextBlock* pHead = nullptr) {
        return RunsOf(&text, schema.Get(), nFirst, nLast, pHead);
    }
    std::string Chain() {
        std::string out;
        for (CKLVSyntaxEditLexTextBlock* p = schema->GetFirstBlock().Get(); p; p = p->m_pNext.Get()) {
            char sz[120];
            std::snprintf(sz, sizeof sz, "%s %d:%d-%d:%d\n", p->m_pClass ? p->m_pClass->GetName().GetString() : "?",
                          p->m_posStart.nLine, p->m_posStart.nCol, p->m_posEnd.nLine, p->m_posEnd.nCol);
            out += sz;
        }
        return out;
    }
    std::string Folds() { return FoldsOf(schema.Get()); }
};

// KELVANE_UPDATE_GOLDEN=1 rewrites the golden file (to be reviewed before committing).
void ExpectGolden(const std::string& actual, const char* goldenName) {
    if (std::getenv("KELVANE_UPDATE_GOLDEN")) std::ofstream(GoldenPath(goldenName), std::ios::binary) << actual;
    const std::string expected = ReadFile(GoldenPath(goldenName));
    EXPECT_EQ(expected, actual) << "golden " << goldenName << "; actual:\n" << actual;
}

TEST(LexTextSchema, GoldenRunsAndFoldsOfCAndWsdl) {
    const struct {
        const char* lex;
        const char* sample;
        const char* ext;
    } cases[] = {{"C.lex", "sample.c", ".c"}, {"XML.lex", "sample.wsdl", ".wsdl"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sample);
        Parsed parsed(c.lex, ReadFile(GoldenPath(c.sample)), c.ext);
        ExpectGolden(parsed.Runs() + "folds:\n" + parsed.Folds(), (std::string(c.sample) + ".runs").c_str());
    }
}

TEST(LexTextSchema, FileMatchTakesTheExtensionWhole) {
    auto pSchema = MakeSchema("C.lex");
    EXPECT_TRUE(pSchema->FindClassForFile(".c"));
    EXPECT_TRUE(pSchema->FindClassForFile(".H"));
    EXPECT_FALSE(pSchema->FindClassForFile(".cpp"));
    EXPECT_FALSE(pSchema->FindClassForFile(".txt"));
}

TEST(LexTextSchema, EmptyLinesAndAChainWithoutBlocks) {
    Parsed parsed("C.lex", "a\r\n\r\nbc\r\n", ".txt");   // no class takes a .txt file
    EXPECT_EQ("1: 0-1:010203\n2:\n3: 0-2:010203\n", parsed.Runs(1, 3));
}

TEST(LexTextSchema, ResumedParseAfterRandomEditsEqualsAFullParse) {
    const std::string base = ReadFile(GoldenPath("sample.c"));
    const char* snippets[] = {"/*", "*/", "{", "}", "\"", "'", "//", "\r\n", "x", "#if 1\r\n", " 7 "};
    std::mt19937 rng(98765);
    for (int nRun = 0; nRun < 60; ++nRun) {
        Parsed edited("C.lex", base, ".c");
        for (int nEdit = 0; nEdit < 4; ++nEdit) {
            const int nRow = 1 + static_cast<int>(rng() % edited.Lines());
            const int nLen = edited.Iter()->GetLineLength(nRow, FALSE);
            const int nCol = nLen ? static_cast<int>(rng() % (nLen + 1)) : 0;
            CKLVSyntaxEditPosition posStart(nRow, nCol), posEnd;
            const bool bInsert = rng() % 3 != 0 || nCol == nLen;
            const char* snippet = snippets[rng() % std::size(snippets)];
            SCOPED_TRACE("run " + std::to_string(nRun) + " edit " + std::to_string(nEdit) + " at " +
                         std::to_string(nRow) + ":" + std::to_string(nCol) + (bInsert ? " inserts " : " deletes") +
                         (bInsert ? snippet : ""));
            if (bInsert) {
                posEnd = edited.text.InsertText(snippet, nRow, nCol);
            } else {
                posEnd = CKLVSyntaxEditPosition(nRow, nCol + 1);
                edited.text.DeleteText(nRow, nCol, nRow, nCol + 1);
            }
            CKLVSyntaxEditLexBlockChain::UpdateBlocksOnEdit(edited.schema->GetFirstBlock().Get(), posStart, posEnd,
                                                            bInsert ? 1 : 2, edited.schema->GetBlockLock());
            const CKLVSyntaxEditPosition posRangeEnd(posEnd.nLine + 1, 0);
            const std::string before = edited.Chain();
            const int nFlags = edited.Reparse(&posStart, &posRangeEnd);
            Parsed full("C.lex", edited.text.GetText(), ".c");
            ASSERT_EQ(full.Runs() + full.Folds(), edited.Runs() + edited.Folds())
                << "flags " << nFlags << "\n" << edited.text.GetText() << before << "after:\n" << edited.Chain();
        }
    }
}

// The edit's own pass, complete, must reach every block whose end or start the edit took,
// including a block that ends where a block moved up by a deletion now begins.
TEST(LexTextSchema, AnEditAtABlocksEndIsParsedFromInsideThatBlock) {
    const struct {
        const char* text;
        int nRow, nCol;
        const char* inserted;   // none: one character is deleted
    } cases[] = {
        {"int main(void) {\r\n    return 0;\r\n}/* c */\r\nint f(void) {\r\n}\r\n", 3, 0, nullptr},
        {"void f(void) {\r\n    if (x) {\r\n    }\"s\";\r\n}\r\n", 3, 4, nullptr},
        {"int main(void) {\r\n    return 0;\r\n}/* c */\r\n", 3, 0, "x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.nRow) + ":" + std::to_string(c.nCol));
        Parsed edited("C.lex", c.text, ".c");
        const CKLVSyntaxEditPosition posStart(c.nRow, c.nCol);
        CKLVSyntaxEditPosition posEnd(c.nRow, c.nCol + 1);
        if (c.inserted)
            posEnd = edited.text.InsertText(c.inserted, c.nRow, c.nCol);
        else
            edited.text.DeleteText(c.nRow, c.nCol, c.nRow, c.nCol + 1);
        const int nEdit =
            c.inserted ? CKLVSyntaxEditLexBlockChain::klvEditInsert : CKLVSyntaxEditLexBlockChain::klvEditDelete;
        edited.schema->UpdateBlocksOnEdit(posStart, posEnd, nEdit);
        const CKLVSyntaxEditPosition posRangeEnd(posEnd.nLine + 1, 0);
        edited.Reparse(&posStart, &posRangeEnd);
        Parsed full("C.lex", edited.text.GetText(), ".c");
        EXPECT_EQ(full.Folds(), edited.Folds()) << edited.Chain();
        EXPECT_EQ(full.Runs(), edited.Runs());
    }
}

// Rows deleted from the middle of a function: the blocks whose start went with them keep
// their old rows, out of text order, and must neither be joined nor kept.
TEST(LexTextSchema, ADeletionOfRowsLeavesNoBlockOfTheDeletedText) {
    const struct {
        const char* text;
        int nRow, nCol, nEndRow, nEndCol;
    } cases[] = {
        // "if (count)" moves up and its brace lies where main's lay.
        {"int x;\r\n\r\nint main(void) {\r\n    int y;\r\n    if (count) {\r\n    }\r\n}\r\nint z;\r\n", 2, 0, 4,
         10},
        // The rest of a row joins a line comment: the character block in it goes.
        {"int main(void) {\r\n  //  if (count) {\r\n        char c = '}';\r\n    }\r\n}\r\n", 2, 10, 3, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Parsed edited("C.lex", c.text, ".c");
        const CKLVSyntaxEditPosition posStart(c.nRow, c.nCol), posEnd(c.nEndRow, c.nEndCol);
        edited.text.DeleteText(posStart.nLine, posStart.nCol, posEnd.nLine, posEnd.nCol);
        edited.schema->UpdateBlocksOnEdit(posStart, posEnd, CKLVSyntaxEditLexBlockChain::klvEditDelete);
        const CKLVSyntaxEditPosition posRangeEnd(c.nRow + 1, 0);
        edited.Reparse(&posStart, &posRangeEnd);
        Parsed full("C.lex", edited.text.GetText(), ".c");
        EXPECT_EQ(full.Chain(), edited.Chain());
        EXPECT_EQ(full.Runs() + full.Folds(), edited.Runs() + edited.Folds());
    }
}

TEST(LexTextSchema, ScreenParseOfAWindowEqualsThoseRowsOfAFullParse) {
    Parsed parsed("C.lex", ReadFile(GoldenPath("sample.c")), ".c");
    const struct {
        int first, last;
    } windows[] = {{1, 4}, {3, 7}, {7, 9}, {9, 12}, {12, 13}, {1, 13}};
    for (const auto& w : windows) {
        SCOPED_TRACE(std::to_string(w.first) + "-" + std::to_string(w.last));
        CKLVLexBlockPtr pHead;
        ASSERT_TRUE(parsed.schema->ParseScreenLines(parsed.Iter().get(), w.first, w.last, pHead));
        ASSERT_TRUE(pHead);
        EXPECT_EQ(parsed.Runs(w.first, w.last), parsed.Runs(w.first, w.last, pHead.Get()));
        CKLVSyntaxEditLexBlockChain::CloseChain(pHead.Get());
    }
    CKLVLexBlockPtr pHead;
    EXPECT_FALSE(parsed.schema->ParseScreenLines(parsed.Iter().get(), 0, 3, pHead));
}

TEST(LexTextSchema, ScreenParseBeforeAnyParseStartsAtTheFirstRootThatMatches) {
    CStringText text(ReadFile(GoldenPath("sample.c")), ".c");
    auto pSchema = MakeSchema("C.lex");
    CKLVLexBlockPtr pHead;
    ASSERT_TRUE(pSchema->ParseScreenLines(text.CreateTextIterator().get(), 1, 4, pHead));
    EXPECT_EQ("c_file", std::string(pHead->m_pClass->GetName().GetString()));
    ASSERT_TRUE(pHead->m_pNext);
    EXPECT_EQ("c_preprocessor", std::string(pHead->m_pNext->m_pClass->GetName().GetString()));
    CKLVSyntaxEditLexBlockChain::CloseChain(pHead.Get());
}

// While another thread holds the chain, painting gets default colours and no folds at once.
TEST(LexTextSchema, PaintingQueriesGiveUpOnABusyChain) {
    Parsed parsed("C.lex", ReadFile(GoldenPath("sample.c")), ".c");
    std::atomic<bool> bHeld{false}, bDone{false};
    std::thread holder([&] {
        parsed.schema->GetBlockLock()->Lock();
        bHeld = true;
        while (!bDone) ::Sleep(1);
        parsed.schema->GetBlockLock()->Unlock();
    });
    while (!bHeld) ::Sleep(1);
    const std::string runs = parsed.Runs(4, 4);
    std::vector<CKLVSyntaxEditCollapsedBlock> regions;
    parsed.schema->GetFoldRegions(nullptr, -1, regions);
    CKLVLexBlockPtr pHead;
    const BOOL bScreen = parsed.schema->ParseScreenLines(parsed.Iter().get(), 1, 5, pHead);
    bDone = true;
    holder.join();
    EXPECT_EQ("4: 0-30:010203\n", runs);
    EXPECT_TRUE(regions.empty());
    EXPECT_FALSE(bScreen);
}

// A pass walks the chain to the block it starts in; on a long chain that walk stops for a break
// and lets a waiting painter have the chain between its steps, and gives the block a walk from
// the start gives.
TEST(LexTextSchema, TheWalkToAPassStartStopsForABreakAndLetsAPainterIn) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "int a" + std::to_string(i) + " = " + std::to_string(i) + "; /* c */\r\n";
    Parsed parsed("C.lex", text, ".c");
    CKLVSyntaxEditLexTextSchema& schema = *parsed.schema;
    const std::string chainBefore = parsed.Chain();
    const auto Walked = [&](const CKLVSyntaxEditPosition& pos) {
        CKLVSyntaxEditLexBlockLock lock(schema.GetBlockLock());
        return CKLVSyntaxEditLexBlockChain::FindBlock(schema.GetFirstBlock().Get(), pos, nullptr);
    };
    const struct {
        const char* lpszCase;
        bool bBreak;
        bool bPainter;   // another thread keeps taking the chain with a time-out meanwhile
        bool bFound;
    } cases[] = {
        {"a plain walk", false, false, true},
        {"a painter waiting", false, true, true},
        {"a break", true, false, false},
    };
    const CKLVSyntaxEditPosition positions[] = {{1, 0}, {2, 3}, {1000, 4}, {2000, 10}, {5000, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszCase);
        std::atomic<bool> bDone{false};
        std::atomic<int> nPaints{0};
        std::thread painter;
        if (c.bPainter)
            painter = std::thread([&] {
                while (!bDone) {
                    CKLVSyntaxEditLexBlockLock lock(schema.GetBlockLock(), 5000);
                    if (lock.IsLocked()) ++nPaints;
                }
            });
        if (c.bPainter) {
            ASSERT_TRUE(WaitUntil([&] { return nPaints > 0; })) << "the painter runs";
        }
        schema.SetBreak(c.bBreak);
        for (const CKLVSyntaxEditPosition& pos : positions) {
            const CKLVLexBlockPtr pFound = schema.FindBlock(pos);
            if (pos.nLine < 1000) continue;   // a walk too short to stop
            EXPECT_EQ(static_cast<bool>(pFound), c.bFound) << pos.nLine;
            if (c.bFound) {
                EXPECT_EQ(pFound.Get(), Walked(pos).Get()) << pos.nLine;
            }
        }
        const CKLVSyntaxEditPosition posLate(1900, 0);
        const int nFlags = schema.Parse(TRUE, parsed.Iter().get(), &posLate, nullptr, FALSE);
        schema.SetBreak(FALSE);
        bDone = true;
        if (painter.joinable()) painter.join();
        EXPECT_EQ((nFlags & klvParseBroken) != 0, c.bBreak);
        EXPECT_EQ(parsed.Chain(), chainBefore) << "the chain is as the full parse left it";
    }
}

std::string RegionsText(const std::vector<CKLVSyntaxEditCollapsedBlock>& regions) {
    std::string out;
    for (const auto& r : regions) out += std::to_string(r.lcStart.nLine) + "-" + std::to_string(r.lcEnd.nLine) + " ";
    return out;
}

// Fold look-ups that keep an anchor from line to line give what a look-up from the chain's
// start gives, whichever way the lines go and whether or not each look-up moves the anchor.
TEST(LexTextSchema, AnchoredFoldLookUpsMatchLookUpsFromTheStart) {
    Parsed parsed("C.lex", ReadFile(GoldenPath("sample.c")), ".c");
    const struct {
        const char* name;
        std::vector<int> lines;
    } cases[] = {
        {"down", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {"up", {13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {"jumps", {9, 2, 12, 7, 3, 10, 1, 8}},
    };
    for (const auto& c : cases) {
        for (const bool bMove : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (bMove ? ", moving" : ", keeping"));
            CKLVLexBlockPtr pAnchor;
            for (int nLine : c.lines) {
                std::vector<CKLVSyntaxEditCollapsedBlock> anchored, fresh;
                parsed.schema->GetFoldRegions(&pAnchor, nLine, anchored, bMove);
                parsed.schema->GetFoldRegions(nullptr, nLine, fresh);
                EXPECT_EQ(RegionsText(fresh), RegionsText(anchored)) << "line " << nLine;
            }
        }
    }
}

// An anchor on the comment of lines 2-3, which ends above line 9: the first look-up of a screen
// moves it to the block of lines 6-13 around line 9, so that the lines below start there rather
// than at a block ended far above; the other look-ups leave it.
TEST(LexTextSchema, TheFirstFoldLookUpOfAScreenMovesAnAnchorEndedAbove) {
    Parsed parsed("C.lex", ReadFile(GoldenPath("sample.c")), ".c");
    for (const bool bMove : {false, true}) {
        CKLVLexBlockPtr pAnchor;
        for (CKLVSyntaxEditLexTextBlock* p = parsed.schema->GetFirstBlock().Get(); p && !pAnchor; p = p->m_pNext.Get())
            if (p->m_pParent && p->m_posStart.nLine == 2) pAnchor.AssignRaw(p);
        ASSERT_TRUE(pAnchor);
        std::vector<CKLVSyntaxEditCollapsedBlock> regions;
        parsed.schema->GetFoldRegions(&pAnchor, 9, regions, bMove);
        EXPECT_EQ("6-13 8-10 ", RegionsText(regions)) << bMove;
        ASSERT_TRUE(pAnchor);
        EXPECT_EQ(bMove ? 6 : 2, pAnchor->m_posStart.nLine);
    }
}

TEST(LexTextSchema, RunLayeringLetsTheLastRunWin) {
    auto run = [](int a, int b, int id) {
        CKLVSyntaxEditTextSegment s;
        s.nFirstCol = a;
        s.nLastCol = b;
        s.clrColors.crText = RGB(id, 0, 0);
        return s;
    };
    const struct {
        int ns, ne;
        const char* expected;
    } cases[] = {
        {0, 10, "0-10:9 10-20:2"},                 // exactly the span of a run
        {0, 4, "0-4:9 4-10:1 10-20:2"},            // shares the start
        {6, 10, "0-6:1 6-10:9 10-20:2"},           // shares the end
        {2, 5, "0-2:1 2-5:9 5-10:1 10-20:2"},      // inside: the base splits
        {5, 15, "0-5:1 5-15:9 15-20:2"},           // across two runs
        {0, 25, "0-25:9"},                         // covers all
        {20, 30, "0-10:1 10-20:2 20-30:9"},        // beyond the end: appended
    };
    for (const auto& c : cases) {
        std::vector<CKLVSyntaxEditTextSegment> runs{run(0, 10, 1), run(10, 20, 2)};
        CKLVSyntaxEditLexTextSchema::LayRun(runs, run(c.ns, c.ne, 9));
        std::string text;
        for (const auto& r : runs)
            text += (text.empty() ? "" : " ") + std::to_string(r.nFirstCol) + "-" + std::to_string(r.nLastCol) + ":" +
                    std::to_string(GetRValue(r.clrColors.crText));
        EXPECT_EQ(c.expected, text) << c.ns << "-" << c.ne;
    }
}

}  // namespace

namespace {

// Reads through another iterator and raises the schema's break after a set number of
// advances, so a test chooses where a pass is interrupted, as a keystroke would.
class BreakingIterator : public IKLVSyntaxEditTextIterator {
public:
    BreakingIterator(std::unique_ptr<IKLVSyntaxEditTextIterator> pInner, CKLVSyntaxEditLexTextSchema* pSchema,
                     int nAdvancesBeforeBreak)
        : m_pInner(std::move(pInner)), m_pSchema(pSchema), m_nLeft(nAdvancesBeforeBreak) {}
    void Rewind() override { m_pInner->Rewind(); }
    BOOL SeekToLine(const CKLVSyntaxEditPosition& pos, HANDLE hBreak) override { return m_pInner->SeekToLine(pos, hBreak); }
    LPCSTR PeekText(int nCount) override { return m_pInner->PeekText(nCount); }
    LPCSTR Advance(int nCount, int nReadAhead) override {
        if (m_nLeft >= 0 && --m_nLeft < 0) m_pSchema->SetBreak(TRUE);
        return m_pInner->Advance(nCount, nReadAhead);
    }
    BOOL IsEOF() const override { return m_pInner->IsEOF(); }
    CKLVSyntaxEditPosition GetPosition() const override { return m_pInner->GetPosition(); }
    void StepBack(CKLVSyntaxEditPosition& pos) override { m_pInner->StepBack(pos); }
    void StepForward(CKLVSyntaxEditPosition& pos, int nCount) override { m_pInner->StepForward(pos, nCount); }
    int GetLineLength(int nRow, BOOL bWithLineEnd) override { return m_pInner->GetLineLength(nRow, bWithLineEnd); }
    void MoveOffset(int nCharOffset) override { m_pInner->MoveOffset(nCharOffset); }
    CString GetFileName() override { return m_pInner->GetFileName(); }
    int GetMaxBackOffset() const override { return m_pInner->GetMaxBackOffset(); }

private:
    std::unique_ptr<IKLVSyntaxEditTextIterator> m_pInner;
    CKLVSyntaxEditLexTextSchema* m_pSchema;
    int m_nLeft;
};

}  // namespace

// Each keystroke stops the running pass at a chosen point; the last one's pass runs to its
// end, then the ranges left over, newest first. The chain must then equal a fresh parse of the
// text: a stopped pass may keep only what it finished (no block takes an end it did not read,
// an enclosing block's included) and the next pass must read on past it.
TEST(LexTextSchema, PassesStoppedByABurstOfTypingLeaveTheChainOfAFreshParse) {
    const std::string unit = ReadFile(GoldenPath("sample.c"));
    std::string base;
    for (int i = 0; i < 8; ++i) base += unit;
    const struct {
        int nRowDivisor;   // typed at the start of row Lines() / divisor
        const char* typed;
    } bursts[] = {
        {3, "int a = 1; /* x \"y\" */ char* s = \"t\"; // z\r\n{\r\n}\r\n"},
        // Stops inside a comment and a string that span rows, and inside unbalanced braces.
        {5, "} /* {\r\n x */ \"a\r\n{ // }\r\n"},
    };
    const int nBreaks[] = {0, 1, 3, 10, 40, 150, 600, 2500, 10000, 40000};
    for (const auto& burst : bursts) {
        const std::string typed = burst.typed;
        for (int nAdvances : nBreaks) {
            SCOPED_TRACE("typed " + typed + " stopped after " + std::to_string(nAdvances) + " advances");
            Parsed edited("C.lex", base, ".c");
            CKLVSyntaxEditPosition posCursor(edited.Lines() / burst.nRowDivisor, 0);
            // Each keystroke's range stays queued until a pass over it ends; newest first.
            std::vector<std::pair<CKLVSyntaxEditPosition, CKLVSyntaxEditPosition>> pending;
            for (size_t nKey = 0; nKey < typed.size(); ++nKey) {
                const bool bLineEnd = typed[nKey] == '\r';
                const CKLVSyntaxEditPosition posStart = posCursor;
                posCursor = edited.text.InsertText(bLineEnd ? "\r\n" : typed.substr(nKey, 1).c_str(), posStart.nLine,
                                                   posStart.nCol);
                if (bLineEnd) ++nKey;
                edited.schema->UpdateBlocksOnEdit(posStart, posCursor, 1);
                pending.emplace_back(posStart, posCursor);
                if (nKey + 1 == typed.size()) break;
                BreakingIterator iter(edited.text.CreateTextIterator(), edited.schema.Get(), nAdvances);
                const int nFlags =
                    edited.schema->Parse(TRUE, &iter, &pending.back().first, &pending.back().second, FALSE);
                edited.schema->SetBreak(FALSE);
                if ((nFlags & klvParseDone) && !(nFlags & klvParseBroken)) pending.pop_back();
            }
            for (; !pending.empty(); pending.pop_back()) {
                auto pIter = edited.text.CreateTextIterator();
                edited.schema->Parse(TRUE, pIter.get(), &pending.back().first, &pending.back().second, FALSE);
            }
            bool bResumeOnChain = !edited.schema->GetResumeBlock();
            for (CKLVSyntaxEditLexTextBlock* p = edited.schema->GetFirstBlock().Get(); p; p = p->m_pNext.Get())
                bResumeOnChain = bResumeOnChain || p == edited.schema->GetResumeBlock().Get();
            EXPECT_TRUE(bResumeOnChain);
            EXPECT_FALSE(edited.schema->IsChainCut());
            Parsed full("C.lex", edited.text.GetText(), ".c");
            EXPECT_EQ(full.Folds(), edited.Folds());
            EXPECT_EQ(full.Runs(), edited.Runs());
        }
    }
}

// A deleted brace leaves its block open to the end of the text; the pass that reads there may be
// stopped anywhere, the end of the text included, and the range then parsed again must end it.
TEST(LexTextSchema, APassStoppedAnywhereLeavesNoBlockOpenOnceItsRangeIsParsedAgain) {
    const char* text = "int main(void) {\r\n    return 0;\r\n}\r\nint f(void) {\r\n    x = 1; /* c */\r\n}\r\n";
    const CKLVSyntaxEditPosition posStart(3, 0), posEnd(3, 1), posRangeEnd(4, 0);
    for (int nAdvances = 0; nAdvances < 50; ++nAdvances) {
        SCOPED_TRACE("stopped after " + std::to_string(nAdvances) + " advances");
        Parsed edited("C.lex", text, ".c");
        edited.text.DeleteText(posStart.nLine, posStart.nCol, posEnd.nLine, posEnd.nCol);
        edited.schema->UpdateBlocksOnEdit(posStart, posEnd, CKLVSyntaxEditLexBlockChain::klvEditDelete);
        BreakingIterator iter(edited.text.CreateTextIterator(), edited.schema.Get(), nAdvances);
        const int nFlags = edited.schema->Parse(TRUE, &iter, &posStart, &posRangeEnd, FALSE);
        edited.schema->SetBreak(FALSE);
        if (!(nFlags & klvParseDone) || (nFlags & klvParseBroken)) edited.Reparse(&posStart, &posRangeEnd);
        Parsed full("C.lex", edited.text.GetText(), ".c");
        ASSERT_EQ(full.Chain(), edited.Chain());
    }
}
