// Bookmarks and collapsed blocks at the control: the row mapping hidden rows make, moving
// between bookmarks round the ends and past hidden ones, placeholders, their text and pixels.
#include "SyntaxEditCtrlTestSupport.h"

namespace {

std::string NumberedRows(int nRows) {
    std::string text;
    for (int i = 1; i <= nRows; ++i) text += "row " + std::to_string(i) + " {\r\n";
    return text;
}

class FoldingTest : public EditCtrlTest {
protected:
    int ScrollMax() {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE;
        ::GetScrollInfo(m_ctrl.GetSafeHwnd(), SB_VERT, &si);
        return si.nMax;
    }
    ListedFoldSchema m_schema;
};

}  // namespace

TEST_F(FoldingTest, CollapsedBlockHidesItsRowsFromScreenAndScrollRange) {
    m_schema.Add(5, 6, 9, 0);
    OpenWithSchema(NumberedRows(40), &m_schema, TRUE);
    EXPECT_EQ(ScrollMax(), 41) << "40 rows and the empty one after the last break";
    m_ctrl.ToggleCollapse(5);
    int nCount = 0;
    EXPECT_TRUE(m_ctrl.GetCollapsedRowCount(5, nCount));
    EXPECT_EQ(nCount, 4);
    EXPECT_EQ(m_ctrl.GetDocRow(1, 6), 10);
    EXPECT_EQ(m_ctrl.GetDocRow(1, 5), 5);
    EXPECT_EQ(m_ctrl.GetScreenRow(1, 10), 6);
    EXPECT_EQ(m_ctrl.GetScreenRow(1, 7), 5) << "a hidden row stands on its block's row";
    EXPECT_EQ(m_ctrl.GetVisibleRowNumber(-1), 37);
    EXPECT_EQ(ScrollMax(), 37);
    EXPECT_EQ(m_ctrl.GetRowText(5), "row 5 ") << "the row ends where the block starts";
    m_ctrl.ExpandAll();
    EXPECT_EQ(m_ctrl.GetDocRow(1, 6), 6);
    EXPECT_EQ(ScrollMax(), 41);
    m_ctrl.CollapseAll();
    EXPECT_EQ(m_ctrl.GetDocRow(1, 6), 10);
    m_ctrl.ToggleCollapse(5);
    EXPECT_FALSE(m_ctrl.GetCollapsedRowCount(5, nCount));
    EXPECT_EQ(m_ctrl.GetDocRow(1, 6), 6);
}

TEST_F(FoldingTest, CollapseAllMovesACaretOffHiddenRowsAndAlwaysReportsLayout) {
    OpenWithSchema(NumberedRows(12), &m_schema);
    m_ctrl.CollapseAll();   // the schema reports no blocks
    EXPECT_EQ(NotifyRecorder::Codes().back(), KLVSEN_LAYOUT);
    EXPECT_EQ(NotifyRecorder::Log().back().nValue1, 7);
    m_schema.Add(2, 6, 4, 0);
    m_schema.Add(6, 6, 10, 0);
    m_ctrl.SetCurPos(8, 3);
    m_ctrl.CollapseAll();
    EXPECT_EQ(m_ctrl.GetCurRow(), 6);
    EXPECT_EQ(m_ctrl.GetDocRow(1, 3), 5);
    EXPECT_EQ(m_ctrl.GetDocRow(1, 5), 11);
    EXPECT_EQ(m_ctrl.GetVisibleRowNumber(-1), 13 - 2 - 4);
}

TEST_F(FoldingTest, BlocksInsideACollapsedOneAreMappedWithIt) {
    m_schema.Add(3, 6, 10, 0);
    m_schema.Add(5, 6, 7, 0);
    m_schema.Add(12, 6, 14, 0);
    OpenWithSchema(NumberedRows(20), &m_schema);
    m_ctrl.CollapseAll();   // rows 4-10 and 13-14 hidden; the inner block's rows with the outer
    const struct {
        int nTop, nScreenRow, nDocRow;
    } shown[] = {{1, 3, 3}, {1, 4, 11}, {1, 5, 12}, {1, 6, 15}, {11, 2, 12}, {11, 3, 15}, {12, 2, 15}};
    for (const auto& c : shown) {
        EXPECT_EQ(m_ctrl.GetDocRow(c.nTop, c.nScreenRow), c.nDocRow) << c.nTop << " " << c.nScreenRow;
        EXPECT_EQ(m_ctrl.GetScreenRow(c.nTop, c.nDocRow), c.nScreenRow) << c.nTop << " " << c.nDocRow;
    }
    const struct {
        int nDocRow, nScreenRow;
    } hidden[] = {{4, 3}, {6, 3}, {10, 3}, {13, 5}, {14, 5}};
    for (const auto& c : hidden) EXPECT_EQ(m_ctrl.GetScreenRow(1, c.nDocRow), c.nScreenRow) << c.nDocRow;
    EXPECT_EQ(m_ctrl.GetVisibleRowNumber(11), 4);
    EXPECT_EQ(m_ctrl.GetVisibleRowNumber(-1), 21 - 7 - 2);
}

TEST_F(FoldingTest, BookmarksRoundTheEndsAndPassHiddenOnes) {
    m_schema.Add(5, 6, 9, 0);
    struct Case {
        const char* name;
        std::vector<int> bookmarks;
        int nCaret;
        BOOL bCollapse;
        int nNext, nPrev;   // the caret row after each move from nCaret
    };
    const Case cases[] = {
        {"wrap forwards, back to the nearest", {3, 10}, 12, FALSE, 3, 10},
        {"only on the caret row: no move", {12}, 12, FALSE, 12, 12},
        {"hidden with the caret row", {7, 12}, 5, TRUE, 12, 12},
        {"hidden, the other side", {3, 7}, 5, TRUE, 3, 3},
        {"none", {}, 4, FALSE, 4, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_ctrl.DestroyWindow();
        OpenWithSchema(NumberedRows(15), &m_schema);
        for (int nRow : c.bookmarks) m_ctrl.ToggleBookmark(nRow);
        EXPECT_EQ(m_ctrl.HasBookmarks(), !c.bookmarks.empty());
        if (c.bCollapse) m_ctrl.ToggleCollapse(5);
        m_ctrl.SetCurPos(c.nCaret, 1);
        m_ctrl.NextBookmark();
        EXPECT_EQ(m_ctrl.GetCurRow(), c.nNext);
        m_ctrl.SetCurPos(c.nCaret, 1);
        m_ctrl.PrevBookmark();
        EXPECT_EQ(m_ctrl.GetCurRow(), c.nPrev);
    }
}

TEST_F(FoldingTest, PlaceholderRectangleAndHitTest) {
    OpenWithSchema(NumberedRows(3), &m_schema);
    CKLVSyntaxEditCollapsedData data;
    data.block.strCollapsedText = "[..]";
    m_ctrl.m_tm.tmAveCharWidth = 8;
    m_ctrl.m_tm.tmHeight = 16;
    m_ctrl.SetCollapsedBlockRect(&m_dc, &data, 32, 12);
    EXPECT_EQ(data.rcPlaceholder, CRect(96, 32, 131, 48));
    m_ctrl.m_siHorz.nPos = 2;
    m_ctrl.SetCollapsedBlockRect(&m_dc, &data, 32, 12);
    EXPECT_EQ(data.rcPlaceholder.left, 80);
}

TEST_F(FoldingTest, CollapsedTextStopsAtTheBlockEndsAndAtTheRowLimit) {
    std::string text = "ab{cd\r\nx\r\n}z\r\n";
    for (int i = 4; i <= 200; ++i) text += "r" + std::to_string(i) + "\r\n";
    OpenWithSchema(text, &m_schema);
    CKLVSyntaxEditCollapsedData data;
    data.block.lcStart = CKLVSyntaxEditPosition(1, 2);
    data.block.lcEnd = CKLVSyntaxEditPosition(3, 0);
    EXPECT_EQ(m_ctrl.GetCollapsedText(&data, 150), "{cd\r\nx\r\n}");
    EXPECT_EQ(m_ctrl.GetCollapsedText(&data, 2), "{cd\r\nx");
    EXPECT_EQ(m_ctrl.GetCollapsedText(nullptr, 150), "");
    data.block.lcStart = CKLVSyntaxEditPosition(4, 0);
    data.block.lcEnd = CKLVSyntaxEditPosition(200, 99);   // end column beyond the row: the whole row
    const CString strLong = m_ctrl.GetCollapsedText(&data, 150);
    int nBreaks = 0;
    for (int i = 0; i < strLong.GetLength(); ++i) nBreaks += strLong[i] == '\n';
    EXPECT_EQ(nBreaks, 149);
    EXPECT_EQ(strLong.Right(6), "\r\nr153");
}

TEST_F(FoldingTest, FoldNodesPlaceholderAndTipOnScreen) {
    m_schema.Add(2, 6, 5, 0, "{...}");
    m_schema.Add(6, 6, 8, 0);
    OpenWithSchema("a\r\nrow 2 {\r\n  b\r\n  c\r\n}\r\nrow 6 {\r\n  x\r\n}\r\nz\r\n", &m_schema);
    m_ctrl.ToggleCollapse(2);
    m_ctrl.SetActive(TRUE);
    Paint();
    // Screen rows: "a", "row 2 " with the placeholder, then row 6 (rows 3 to 5 are hidden).
    EXPECT_EQ(m_ctrl.GetDocRow(1, 3), 6);
    const COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    const int nRowHeight = m_ctrl.GetRowHeight();
    CRect rcCollapsed, rcOpen;
    m_ctrl.GetNodeRect(1, rcCollapsed);
    m_ctrl.GetNodeRect(2, rcOpen);
    EXPECT_EQ(rcOpen.top - rcCollapsed.top, nRowHeight);
    EXPECT_EQ(rcCollapsed.Width(), 9);
    for (const CRect& rc : {rcCollapsed, rcOpen}) {
        EXPECT_EQ(m_dc.GetPixel(rc.left, rc.top + 1), clrShadow) << "a node's box";
        EXPECT_EQ(m_dc.GetPixel(rc.CenterPoint().x - 1, rc.top + 1 + 4), clrShadow) << "its minus stroke";
    }
    // The plus sign's vertical stroke tells a collapsed node from an open one.
    const int cx = rcCollapsed.CenterPoint().x, dy = nRowHeight / 2 - 2;
    EXPECT_EQ(m_dc.GetPixel(cx, nRowHeight + dy), clrShadow);
    EXPECT_NE(m_dc.GetPixel(cx, 2 * nRowHeight + dy), clrShadow);
    // The open block's line runs down the margin to the next row.
    EXPECT_EQ(m_dc.GetPixel(cx, 3 * nRowHeight + 1), clrShadow);
    EXPECT_NE(m_dc.GetPixel(cx, 1), clrShadow) << "no line above the first block";

    CKLVSyntaxEditCollapsedData* pData = m_ctrl.HitTestCollapsedBlock(CPoint(0, 0));
    EXPECT_EQ(pData, nullptr);
    CKLVSyntaxEditLineMarkValue value;
    ASSERT_TRUE(m_ctrl.HasRowMark(2, "Collapsed", &value));
    auto* pCollapsed = static_cast<CKLVSyntaxEditCollapsedData*>(value.GetPtr());
    const CRect rcBox = pCollapsed->rcPlaceholder + CPoint(m_ctrl.GetTextLeftOffset(), 0);
    EXPECT_EQ(rcBox.left, CellX(6));
    EXPECT_EQ(rcBox.Width(), 5 * m_ctrl.GetCharWidth() + 3);
    EXPECT_EQ(m_dc.GetPixel(rcBox.left, rcBox.top + 2), clrShadow) << "the placeholder's frame";
    EXPECT_EQ(m_ctrl.HitTestCollapsedBlock(rcBox.CenterPoint()), pCollapsed);

    m_ctrl.ShowCollapsedTip(rcBox.CenterPoint());
    EXPECT_TRUE(m_ctrl.GetToolTip().IsWindowVisible());
    EXPECT_EQ(m_ctrl.GetToolTip().GetText(), "{\r\nb\r\nc\r\n}") << "the second row's indentation comes off";
    m_ctrl.ShowCollapsedTip(CPoint(rcBox.right + 20, rcBox.top));
    EXPECT_FALSE(m_ctrl.GetToolTip().IsWindowVisible());
}
