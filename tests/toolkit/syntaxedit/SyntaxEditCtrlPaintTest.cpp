// The edit control's pixels, painted through its double-buffered Draw into a memory DC.
#include "SyntaxEditCtrlTestSupport.h"

namespace {

std::vector<COLORREF> PixelsOf(const CDC& dc, const CRect& rc) {
    std::vector<COLORREF> pixels;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) pixels.push_back(dc.GetPixel(x, y));
    return pixels;
}

// The rows a paint asked the parent to draw marks for, in order.
std::vector<int> MarkedRows() {
    std::vector<int> arRows;
    for (const RecordedNotify& n : NotifyRecorder::Log())
        if (n.nCode == KLVSEN_DRAWMARKS) arRows.push_back(n.nValue1);
    return arRows;
}

int CountColor(const CDC& dc, const CRect& rc, COLORREF clr) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) n += dc.GetPixel(x, y) == clr;
    return n;
}

}  // namespace

TEST_F(EditCtrlTest, DefaultTextAndLineNumberColours) {
    Open("MMMM\n");
    Paint();
    const CKLVSyntaxEditTextColors& clr = GetPaintManager()->GetColors();
    EXPECT_EQ(static_cast<COLORREF>(clr.crLineNumberText), RGB(0, 130, 132));
    const CRect rcNumber(20, RowY(0), 20 + m_ctrl.GetLineNumberWidth() - 1, RowY(1));
    EXPECT_GT(CountColor(m_dc, rcNumber, RGB(0, 130, 132)), 0);
    EXPECT_GT(CountColor(m_dc, CRect(CellX(0), RowY(0), CellX(4), RowY(1)), clr.crText), 0);
    EXPECT_EQ(CellBack(0, 0), static_cast<COLORREF>(clr.crBack));
    LOGFONT lf{};
    GetPaintManager()->GetTextFont()->GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -13);
    EXPECT_STREQ(lf.lfFaceName, "Courier");
}

TEST_F(EditCtrlTest, SelectionSplitsASegmentIntoThreeParts) {
    Open("0123456789\nnext\n");
    m_ctrl.SetActive(TRUE);
    ASSERT_TRUE(m_ctrl.SetSelection(1, 3, 1, 5, FALSE));
    Paint();
    const CKLVSyntaxEditTextColors& clr = GetPaintManager()->GetColors();
    const COLORREF expected[] = {clr.crBack, clr.crBack, clr.crSelBack, clr.crSelBack, clr.crBack, clr.crBack};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(CellBack(i, 0), expected[i]) << "cell " << i;
    EXPECT_GT(CountColor(m_dc, CRect(CellX(2), RowY(0), CellX(4), RowY(1)), clr.crSelText), 0);
}

TEST_F(EditCtrlTest, BreakpointRowIsWhiteOnDarkRedForThatRowOnly) {
    Open("one\ntwo\nthree\n");
    m_ctrl.ToggleBreakpoint(2);
    Paint();
    EXPECT_EQ(CellBack(0, 1), RGB(128, 0, 0));
    EXPECT_EQ(CellBack(10, 1), RGB(128, 0, 0));
    EXPECT_GT(CountColor(m_dc, CRect(CellX(0), RowY(1), CellX(3), RowY(2)), RGB(255, 255, 255)), 0);
    const COLORREF clrBack = GetPaintManager()->GetColors().crBack;
    EXPECT_EQ(CellBack(0, 0), clrBack);
    EXPECT_EQ(CellBack(0, 2), clrBack);
    COLORREF clr = 0;
    EXPECT_FALSE(m_ctrl.GetRowBkColor(2, clr));   // the colours hold only while the row is drawn
    EXPECT_FALSE(m_ctrl.GetRowColor(2, clr));
    EXPECT_TRUE(std::any_of(NotifyRecorder::Log().begin(), NotifyRecorder::Log().end(), [](const RecordedNotify& n) {
        return n.nCode == KLVSEN_DRAWMARKS && n.nValue1 == 2 && n.bValidDC;
    }));
}

TEST_F(EditCtrlTest, TextScrolledByFiveColumns) {
    std::string row;
    for (int i = 0; i < 200; ++i) row += static_cast<char>('A' + i % 26);
    Open(row + "\n" + row + "\n");
    Paint();
    const int cw = m_ctrl.GetCharWidth(), nWidth = 10 * cw, nHeight = m_ctrl.GetRowHeight();
    std::vector<COLORREF> before;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) before.push_back(m_dc.GetPixel(CellX(5) + x, y));
    m_ctrl.ScrollBy(5, 0);
    EXPECT_EQ(m_ctrl.GetHScrollPos(), 5);
    Paint();
    int nDiffer = 0;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) nDiffer += m_dc.GetPixel(CellX(0) + x, y) != before[y * nWidth + x];
    EXPECT_EQ(nDiffer, 0);
}

TEST_F(EditCtrlTest, PrintingLeavesCaretMarginsAndTopRowAlone) {
    std::string text;
    for (int i = 1; i <= 120; ++i) text += "line " + std::to_string(i) + "\n";
    Open(text);
    m_ctrl.SetCurPos(40, 3);
    ASSERT_TRUE(m_ctrl.SetTopRow(30));
    const int nTop = m_ctrl.GetTopRow(), nRow = m_ctrl.GetCurRow(), nCol = m_ctrl.GetCurCol();
    const int nOffset = m_ctrl.GetTextLeftOffset(), nRowHeight = m_ctrl.GetRowHeight();
    m_dc.m_bPrinting = TRUE;
    m_ctrl.SetPrintPage(2);
    Paint();
    m_dc.m_bPrinting = FALSE;
    EXPECT_EQ(m_ctrl.GetTopRow(), nTop);
    EXPECT_EQ(m_ctrl.GetCurRow(), nRow);
    EXPECT_EQ(m_ctrl.GetCurCol(), nCol);
    EXPECT_EQ(m_ctrl.GetTextLeftOffset(), nOffset);
    EXPECT_EQ(m_ctrl.GetRowHeight(), nRowHeight);
    EXPECT_TRUE(m_ctrl.GetSelMargin());
    EXPECT_GT(CountColor(m_dc, CRect(0, 0, m_cx, nRowHeight), GetPaintManager()->GetColors().crText), 0);
}

// The control times its own paints to space the redraws a background parse asks for; a paint
// of a few rows takes less than a tick of the system clock and must not read as nothing.
TEST_F(EditCtrlTest, APaintShorterThanAClockTickIsTimed) {
    Open("int a;\r\n");
    m_ctrl.m_arPaintTimes.clear();
    m_ctrl.SendMessage(WM_PAINT);
    ASSERT_EQ(m_ctrl.m_arPaintTimes.size(), 1u);
    EXPECT_GT(m_ctrl.GetAveragePaintTime(), 0.0);
}

// A paint draws only the rows its clip box touches (and the one below, as a full paint draws a
// row more than fits), into back images it keeps; what other rows show stays as it was until a
// paint reaches them.
TEST_F(EditCtrlTest, APaintDrawsOnlyTheRowsItsClipBoxTouches) {
    Open("aaaa\nbbbb\ncccc\ndddd\neeee\n");
    Paint();
    const int nBuilds = m_ctrl.m_backImages.GetBuildCount();
    const CRect rcRow1(0, RowY(0), 40, RowY(1)), rcRow3(0, RowY(2), 40, RowY(3));
    CDC& dcText = m_ctrl.m_backImages.Text();
    const std::vector<COLORREF> row1 = PixelsOf(dcText, rcRow1), row3 = PixelsOf(dcText, rcRow3);
    // Both rows change behind the control's back; the paint is clipped to the third.
    m_ctrl.GetBuffer()->InsertText("MM", 1, 1);
    m_ctrl.GetBuffer()->InsertText("MM", 3, 1);
    NotifyRecorder::Log().clear();
    ::IntersectClipRect(m_dc.m_hDC, 0, RowY(2), m_cx, RowY(3));
    Paint();
    ::SelectClipRgn(m_dc.m_hDC, nullptr);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{3, 4}));
    EXPECT_EQ(PixelsOf(dcText, rcRow1), row1) << "the first row was not drawn";
    EXPECT_NE(PixelsOf(dcText, rcRow3), row3);

    NotifyRecorder::Log().clear();
    Paint();
    std::vector<int> arAll;
    for (int nRow = 1; nRow <= 200 / m_ctrl.GetRowHeight() + 1; ++nRow) arAll.push_back(nRow);
    EXPECT_EQ(MarkedRows(), arAll);
    EXPECT_NE(PixelsOf(dcText, rcRow1), row1) << "a full paint shows the first row's change";
    EXPECT_EQ(m_ctrl.m_backImages.GetBuildCount(), nBuilds) << "the images are kept between paints";
    m_ctrl.MoveWindow(0, 0, 300, 120);
    Paint();
    EXPECT_EQ(m_ctrl.m_backImages.GetBuildCount(), nBuilds + 1) << "and made again for a new size";
}

// A typed character shows at once, even with no parse to repaint the rows after it: the control
// repaints the typed row (and the row below it), not the rows the key left alone.
TEST_F(EditCtrlTest, ATypedCharacterRepaintsItsRowAtOnce) {
    Open("aaaa\nbbbb\ncccc\ndddd\n");
    m_parent.ShowWindow(SW_SHOWNA);
    m_ctrl.UpdateWindow();
    ASSERT_FALSE(::GetUpdateRect(m_ctrl.GetSafeHwnd(), nullptr, FALSE));
    struct Case {
        const char* what;
        int nRow;
        std::vector<int> arPainted;
    } const cases[] = {
        {"on the first row", 1, {1, 2}},
        {"on the third row", 3, {3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_ctrl.SetCurPos(c.nRow, 1);
        const size_t nPaints = m_ctrl.m_arPaintTimes.size();
        NotifyRecorder::Log().clear();
        m_ctrl.SendMessage(WM_CHAR, 'x', 1);
        EXPECT_EQ(m_ctrl.m_arPaintTimes.size(), nPaints + 1);
        EXPECT_EQ(MarkedRows(), c.arPainted);
        EXPECT_FALSE(::GetUpdateRect(m_ctrl.GetSafeHwnd(), nullptr, FALSE));
    }
}
