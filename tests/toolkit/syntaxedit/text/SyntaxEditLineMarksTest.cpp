// Line marks: sorted per kind, found forwards and backwards, walked, moved with inserted and
// deleted lines, and values that share their object.
#include "toolkit/syntaxedit/text/SyntaxEditLineMarksManager.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Lines(const CKLVSyntaxEditLineMarksManager& marks, LPCSTR lpszKind) {
    std::string lines;
    for (int nPos = -1; nPos != 0;) {
        const KLV_SYNTAXEDIT_LINE_MARK* pMark = marks.GetNextMark(nPos, lpszKind);
        if (!pMark) break;
        lines += std::to_string(pMark->nLine) + " ";
    }
    return lines;
}

}  // namespace

TEST(SyntaxEditLineMarks, SortedFoundAndWalked) {
    CKLVSyntaxEditLineMarksManager marks;
    for (int nLine : {5, 2, 9}) marks.SetMark(nLine, "Bookmark");
    EXPECT_EQ(Lines(marks, "Bookmark"), "2 5 9 ");
    struct Case {
        int nFrom;
        bool bNext;
        int nLine, nIndex;
    } const cases[] = {{6, true, 9, 3}, {6, false, 5, 2}, {1, false, -1, 0}, {5, true, 5, 2}, {10, true, -1, 0},
                       {99, false, 9, 3}};
    for (const Case& c : cases) {
        int nLine = c.nFrom;
        int nIndex = c.bNext ? marks.FindNextMark(nLine, "Bookmark") : marks.FindPrevMark(nLine, "Bookmark");
        EXPECT_EQ(nLine, c.nLine) << c.nFrom << c.bNext;
        EXPECT_EQ(nIndex, c.nIndex) << c.nFrom << c.bNext;
    }
    EXPECT_EQ(marks.GetLastMark("Bookmark"), 3);
    EXPECT_EQ(marks.GetMarkAt(2, "Bookmark")->nLine, 5);
    EXPECT_EQ(marks.GetMarkAt(4, "Bookmark"), nullptr);

    marks.ToggleMark(7, "Bookmark");
    marks.ToggleMark(7, "Bookmark");
    EXPECT_EQ(marks.GetCount("Bookmark"), 3) << "toggled twice: no mark";

    int nLine = 3;
    EXPECT_EQ(marks.FindNextMark(nLine, "Breakpoint"), 0);
    EXPECT_FALSE(marks.HasMarksType("Breakpoint")) << "looking creates no list";
    marks.RemoveAll("Bookmark");
    EXPECT_TRUE(marks.HasMarksType("Bookmark"));
    EXPECT_EQ(Lines(marks, "Bookmark"), "");
}

TEST(SyntaxEditLineMarks, MoveWithInsertedAndDeletedLines) {
    struct Case {
        int nLine1, nLine2, eAction;
        const char* expected;
        const char* breakpoints;
    } const cases[] = {
        {5, 7, CKLVSyntaxEditLineMarksManager::actionInsert, "4 7 8 10 ", "7 "},
        {7, 5, CKLVSyntaxEditLineMarksManager::actionInsert, "4 7 8 10 ", "7 "},
        {5, 7, CKLVSyntaxEditLineMarksManager::actionDelete, "4 6 ", ""},
        {1, 9, CKLVSyntaxEditLineMarksManager::actionDelete, "", ""},
        {9, 9, CKLVSyntaxEditLineMarksManager::actionDelete, "4 5 6 8 ", "5 "},
    };
    for (const Case& c : cases) {
        CKLVSyntaxEditLineMarksManager marks;
        for (int nLine : {4, 5, 6, 8}) marks.SetMark(nLine, "Bookmark");
        marks.SetMark(5, "Breakpoint");
        marks.RefreshLineMarks(c.nLine1, c.nLine2, c.eAction);
        EXPECT_EQ(Lines(marks, "Bookmark"), c.expected) << c.nLine1 << " " << c.nLine2 << " " << c.eAction;
        EXPECT_EQ(Lines(marks, "Breakpoint"), c.breakpoints) << "every kind moves";
    }
}

TEST(SyntaxEditLineMarks, ValuesShareTheirObjectUntilTheLastGoes) {
    static int nLive = 0;
    struct Block {
        Block() { ++nLive; }
        ~Block() { --nLive; }
    };
    CKLVSyntaxEditLineMarksManager marks;
    {
        CKLVSyntaxEditLineMarkValue value;
        auto* pBlock = new Block;
        value.SetPtr(pBlock);
        marks.SetMark(3, "Collapsed", &value);
        CKLVSyntaxEditLineMarkValue found;
        ASSERT_TRUE(marks.HasMark(3, "Collapsed", &found));
        EXPECT_EQ(found.GetPtr(), pBlock);
        value.SetLong(7);
        EXPECT_EQ(value.GetPtr(), nullptr);
        EXPECT_EQ(value.GetLong(), 7);
    }
    EXPECT_EQ(nLive, 1) << "the mark still holds it";
    marks.SetMark(3, "Collapsed");
    EXPECT_EQ(nLive, 0) << "replaced by no value";

    static int nDeleted = 0;
    CKLVSyntaxEditLineMarkValue custom;
    custom.SetPtr(&nDeleted, [](void* p) { ++*static_cast<int*>(p); });
    marks.SetMark(4, "Collapsed", &custom);
    custom.SetNone();
    marks.DeleteMark(4, "Collapsed");
    EXPECT_EQ(nDeleted, 1) << "the deleter that came with it";
}
