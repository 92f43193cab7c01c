// Undo and redo: every command kind restores the exact text, grouping and chaining, the flags
// and positions they return, the modified state against the save point, and random
// edit/undo/redo sequences checked against a plain string model.
#include "SyntaxEditTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <random>

namespace {

using Pos = CKLVSyntaxEditPosition;

struct CaretLog : IKLVSyntaxEditCaret {
    void SetCaretPos(int nRow, int nCol) override { pos = Pos(nRow, nCol); }
    Pos pos;
};

DWORD Undo(CKLVSyntaxEditBufferManager& buffer, Pos* pStart = nullptr, Pos* pEnd = nullptr) {
    Pos start, end;
    DWORD dwFlags = buffer.GetUndoManager()->Undo(start, end, nullptr);
    if (pStart) *pStart = start;
    if (pEnd) *pEnd = end;
    return dwFlags;
}

DWORD Redo(CKLVSyntaxEditBufferManager& buffer) {
    Pos start, end;
    return buffer.GetUndoManager()->Redo(start, end, nullptr);
}

}  // namespace

TEST(SyntaxEditUndo, EveryKindOfEditIsUndoneAndRedoneExactly) {
    struct Case {
        const char* name;
        std::function<void(CKLVSyntaxEditBufferManager&)> edit;
        const char* after;
        DWORD dwUndoFlags;
    } const cases[] = {
        {"insert line end", [](auto& b) { b.InsertText("\n", 1, 3); }, "ab|cd|ef", 0x206},
        {"insert on a row", [](auto& b) { b.InsertText("xy", 2, 2); }, "abcd|exyf", 0x204},
        {"insert past the end", [](auto& b) { b.InsertText("x", 2, 5); }, "abcd|ef  x", 0x204},
        {"delete across rows", [](auto& b) { b.DeleteText(1, 2, 2, 2); }, "af", 0x105},
        {"overwrite", [](auto& b) { b.SetOverwriteFlag(TRUE); b.InsertText("XY", 1, 2); }, "aXYd|ef", 0x304},
        {"overwrite past the end", [](auto& b) { b.SetOverwriteFlag(TRUE); b.InsertText("XYZ", 2, 2); },
         "abcd|eXYZ", 0x304},
        {"overwrite with a line end", [](auto& b) { b.SetOverwriteFlag(TRUE); b.InsertText("X\nY", 1, 2); },
         "aX|Ycd|ef", 0x307},
        {"change case", [](auto& b) { b.ChangeCase(1, 2, 4, TRUE); }, "aBCd|ef", 0x304},
        {"block", [](auto& b) { b.InsertTextBlock("1\n2\n3", 1, 4); }, "abc1d|ef 2|   3", 0x206},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BufferPtr buffer = MakeBuffer("abcd\nef");
        c.edit(*buffer);
        buffer->SetOverwriteFlag(FALSE);
        EXPECT_EQ(Rows(*buffer), c.after);
        EXPECT_EQ(Undo(*buffer), c.dwUndoFlags);
        EXPECT_EQ(Rows(*buffer), "abcd|ef");
        EXPECT_FALSE(buffer->GetOverwriteFlag()) << "restored after the command";
        Redo(*buffer);
        EXPECT_EQ(Rows(*buffer), c.after);
    }
}

TEST(SyntaxEditUndo, BatchesRunInOrderAndReportTheirWholeRange) {
    BufferPtr buffer = MakeBuffer("");
    CKLVSyntaxEditUndoManager* pUndo = buffer->GetUndoManager();
    for (const char* pszText : {"a", "b", "c"}) buffer->InsertText(pszText, 1, buffer->GetMaxLineLength() + 1);
    Undo(*buffer);
    EXPECT_EQ(Rows(*buffer), "ab") << "one undo takes only c";
    Redo(*buffer);
    pUndo->ChainLastCommand();
    pUndo->ChainLastCommand();
    EXPECT_EQ(pUndo->GetCount(), 1);
    Pos start, end;
    CaretLog caret;
    EXPECT_EQ(pUndo->Undo(start, end, &caret), 0x204u);
    EXPECT_EQ(Rows(*buffer), "");
    EXPECT_EQ(start, Pos(1, 1));
    EXPECT_EQ(end, Pos(1, 4));
    EXPECT_EQ(caret.pos, Pos(1, 1)) << "the caret ends where the first insert started";
    pUndo->Redo(start, end, &caret);
    EXPECT_EQ(Rows(*buffer), "abc");
    EXPECT_EQ(caret.pos, Pos(1, 4));

    // Grouping without a command leaves no batch; with commands one undo takes the group.
    pUndo->SetGroupInsertMode(TRUE);
    pUndo->SetGroupInsertMode(FALSE);
    EXPECT_EQ(pUndo->GetCount(), 1);
    EXPECT_FALSE(pUndo->CanRedo());
    pUndo->SetGroupInsertMode(TRUE);
    buffer->InsertText("1", 1, 4);
    buffer->InsertText("2", 1, 5);
    pUndo->SetGroupInsertMode(FALSE);
    Undo(*buffer);
    EXPECT_EQ(Rows(*buffer), "abc");

    // A new command after an undo drops what was undone.
    buffer->InsertText("z", 1, 1);
    EXPECT_FALSE(pUndo->CanRedo());
    EXPECT_EQ(Undo(*buffer, &start, &end), 0x204u);
    EXPECT_EQ(Undo(*buffer), 0x204u);
    EXPECT_EQ(Undo(*buffer), 0u) << "nothing left";
}

TEST(SyntaxEditUndo, ModifiedAgainstTheSavePoint) {
    BufferPtr buffer = MakeBuffer("abc");
    CKLVSyntaxEditUndoManager* pUndo = buffer->GetUndoManager();
    EXPECT_FALSE(buffer->IsModified());
    buffer->InsertText("x", 1, 1);
    EXPECT_TRUE(buffer->IsModified());
    pUndo->MarkSaved();
    buffer->InsertText("y", 1, 1);
    Undo(*buffer);
    EXPECT_FALSE(buffer->IsModified()) << "back at the save point";
    Undo(*buffer);
    EXPECT_TRUE(buffer->IsModified()) << "undone past it";
    Redo(*buffer);
    EXPECT_FALSE(buffer->IsModified());
    // The saved command is undone and replaced: the save point is gone for good, even though a
    // new command takes its place in the list.
    Undo(*buffer);
    buffer->InsertText("x", 1, 1);
    EXPECT_EQ(Rows(*buffer), "xabc");
    EXPECT_TRUE(buffer->IsModified());
    // A group started at the save point changes nothing until a command joins it.
    Undo(*buffer);
    Redo(*buffer);
    pUndo->MarkSaved();
    pUndo->SetGroupInsertMode(TRUE);
    EXPECT_FALSE(buffer->IsModified());
    buffer->InsertText("q", 1, 1);
    EXPECT_TRUE(buffer->IsModified());
    pUndo->SetGroupInsertMode(FALSE);
    pUndo->Clear();
    EXPECT_FALSE(buffer->IsModified()) << "Clear makes the text as it stands the unmodified state";
    EXPECT_FALSE(pUndo->CanUndo());
}

// Random edits, undos, redos and saves on a buffer and on a string model with its own history.
TEST(SyntaxEditUndo, RandomEditsUndosAndRedosAgreeWithAStringModel) {
    std::mt19937 random(20261207);
    auto pick = [&](int nLow, int nHigh) { return std::uniform_int_distribution<int>(nLow, nHigh)(random); };
    auto randomText = [&] {
        std::string text;
        for (int n = pick(1, 5); n > 0; --n) text += "ab \nC"[pick(0, 4)];
        return text;
    };
    BufferPtr buffer = MakeBuffer("first row\nsecond\n\nlast");
    CKLVSyntaxEditUndoManager* pUndo = buffer->GetUndoManager();
    std::vector<std::string> history{"first row\nsecond\n\nlast"};
    std::vector<int> states{0};
    size_t nIndex = 0;
    int nSaved = 0, nNextState = 1;

    auto rowStart = [](const std::string& text, int nRow) {
        size_t nAt = 0;
        for (int r = 1; r < nRow; ++r) nAt = text.find('\n', nAt) + 1;
        return nAt;
    };
    auto rowLength = [&](const std::string& text, int nRow) {
        size_t nAt = rowStart(text, nRow);
        return static_cast<int>(std::min(text.find('\n', nAt), text.size()) - nAt);
    };
    auto offset = [&](const std::string& text, int nRow, int nCol) { return rowStart(text, nRow) + nCol - 1; };
    auto record = [&](std::string text) {
        history.resize(++nIndex);
        states.resize(nIndex);
        history.push_back(std::move(text));
        states.push_back(nNextState++);
    };

    for (int nStep = 0; nStep < 3000; ++nStep) {
        std::string text = history[nIndex];
        const int nRows = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        const int nRow = pick(1, nRows), nLength = rowLength(text, nRow);
        const int nOp = text.size() > 300 ? pick(2, 3) : pick(0, 9);
        SCOPED_TRACE("step " + std::to_string(nStep) + " op " + std::to_string(nOp));
        if (nOp <= 1) {   // insert, sometimes in overwrite mode, sometimes past the row's end
            const int nCol = pick(1, nLength + 3);
            const std::string insert = randomText();
            const bool bOverwrite = nOp == 1;
            if (nCol - 1 > nLength) text.insert(offset(text, nRow, nLength + 1), nCol - 1 - nLength, ' ');
            if (bOverwrite && nCol - 1 < nLength) {
                const int nCovered = std::min<int>(insert.find('\n') == std::string::npos ? insert.size()
                                                                                          : insert.find('\n'),
                                                   nLength - (nCol - 1));
                text.erase(offset(text, nRow, nCol), nCovered);
            }
            text.insert(offset(text, nRow, nCol), insert);
            buffer->SetOverwriteFlag(bOverwrite);
            buffer->InsertText(insert.c_str(), nRow, nCol);
            buffer->SetOverwriteFlag(FALSE);
            record(text);
        } else if (nOp <= 3) {   // delete a range within the text
            const int nRow2 = pick(nRow, std::min(nRows, nRow + 2));
            const int nCol1 = pick(1, nLength + 1), nCol2 = pick(1, rowLength(text, nRow2) + 1);
            if (nRow == nRow2 && nCol1 == nCol2) continue;
            const size_t nFrom = offset(text, nRow, nCol1), nTo = offset(text, nRow2, nCol2);
            text.erase(std::min(nFrom, nTo), std::max(nFrom, nTo) - std::min(nFrom, nTo));
            ASSERT_TRUE(buffer->DeleteText(nRow, nCol1, nRow2, nCol2));
            record(text);
        } else if (nOp == 4 && nLength > 0) {   // change case
            const int nFrom = pick(1, nLength), nTo = pick(nFrom + 1, nLength + 1);
            const bool bUpper = pick(0, 1) == 1;
            for (size_t i = offset(text, nRow, nFrom); i < offset(text, nRow, nTo); ++i)
                text[i] = bUpper ? toupper(text[i]) : tolower(text[i]);
            ASSERT_TRUE(buffer->ChangeCase(nRow, nFrom, nTo, bUpper));
            record(text);
        } else if (nOp == 5 || nOp == 6) {
            EXPECT_EQ(pUndo->CanUndo(), nIndex > 0);
            if (nIndex == 0) continue;
            Undo(*buffer);
            --nIndex;
        } else if (nOp == 7 || nOp == 8) {
            EXPECT_EQ(pUndo->CanRedo(), nIndex + 1 < history.size());
            if (nIndex + 1 == history.size()) continue;
            Redo(*buffer);
            ++nIndex;
        } else if (nOp == 9) {
            pUndo->MarkSaved();
            nSaved = states[nIndex];
        }
        std::string rows = Rows(*buffer);
        std::replace(rows.begin(), rows.end(), '|', '\n');
        ASSERT_EQ(rows == "<empty>" ? std::string() : rows, history[nIndex]);
        ASSERT_EQ(buffer->IsModified(), states[nIndex] != nSaved);
    }
}
