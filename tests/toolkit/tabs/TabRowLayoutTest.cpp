// Row layout without a window: size to fit, several rows, the header band, scrolling, rotated
// tabs.
#include "TabTestHost.h"

using tabs_test::TestTabRow;

namespace {

class RowLayout : public ::testing::Test {
protected:
    tabs_test::ClassicColors m_colors;
};

TEST_F(RowLayout, SizeToFitTakesFromTheLongestFirstAndLosesTheRemainder) {
    struct Case {
        std::vector<int> lengths;
        int nRoom;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{100, 60, 60}, 180, {60, 60, 60}},
        {{100, 60, 60}, 150, {50, 50, 50}},
        {{50, 50, 50}, 100, {33, 33, 33}},
        {{90, 70, 40}, 170, {65, 65, 40}},
        {{100, 60, 60}, 220, {100, 60, 60}},
        {{80}, 30, {30}},
    };
    for (const Case& c : cases) {
        TestTabRow row;
        for (size_t i = 0; i < c.lengths.size(); ++i) row.InsertItem(-1);
        for (size_t i = 0; i < c.lengths.size(); ++i) row.Item(static_cast<int>(i))->m_nLength = c.lengths[i];
        row.m_pPainter->FitItems(&row, c.nRoom);
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(row.Item(static_cast<int>(i))->m_nLength, c.expected[i]) << c.nRoom << " item " << i;
    }
}

TEST_F(RowLayout, EvenRowsFillFromTheClientSideAndTheSelectedRowMovesNextToIt) {
    // Appearance 0's margins take 8 pixels off the row and the header loses one at its end.
    TestTabRow row(nullptr, CRect(0, 0, 129, 200));
    row.m_pPainter->SetLayout(CKLVTabPainter::layoutMultiRow);
    row.AddFixedTabs(5, 50);
    ASSERT_EQ(row.GetRows()->GetRowCount(), 3);
    const int kRows[] = {0, 1, 1, 2, 2};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(row.Item(i)->m_nItemRow, kRows[i]) << i;
    EXPECT_EQ(row.Item(0)->GetRect().Width(), 120);   // stretched to the room
    EXPECT_EQ(row.Item(3)->GetRect().Width(), 60);
    // Row 0 lies next to the client area (lowest on a top row); rows overlap by 2 pixels.
    const int nHeight = row.Item(0)->GetRect().Height();
    EXPECT_EQ(row.Item(0)->GetRect().top - row.Item(1)->GetRect().top, nHeight - 2);

    row.SetCurSel(3);
    EXPECT_EQ(row.Item(3)->m_nItemRow, 0);
    EXPECT_EQ(row.Item(3)->GetRect().top, row.Item(1)->GetRect().top + nHeight - 2);
    EXPECT_EQ(row.Item(0)->m_nItemRow, 2);

    row.m_pPainter->m_bKeepSelectedRow = TRUE;
    row.Reposition();
    EXPECT_EQ(row.Item(3)->m_nItemRow, 2);
    EXPECT_EQ(row.Item(0)->m_nItemRow, 0);
}

TEST_F(RowLayout, AnEmptyRowKeepsTheAppearancesHeaderBand) {
    TestTabRow row(nullptr, CRect(10, 20, 210, 220));
    row.Reposition();
    const int nHeight = row.m_pPainter->GetAppearanceSet()->GetRowHeight(&row);
    EXPECT_EQ(row.GetHeaderRect(), CRect(10, 20, 210, 20 + 3 + nHeight));
    // With no items only the static frame narrows the client area.
    EXPECT_EQ(row.GetClientRect(), CRect(10, 20, 210, 220));
}

TEST_F(RowLayout, TheScrollOffsetShrinksToWhatShowsTheRowsEnd) {
    TestTabRow row(nullptr, CRect(0, 0, 200, 100));
    row.AddFixedTabs(5, 70);
    row.SetScrollOffset(-150);
    EXPECT_EQ(row.GetScrollOffset(), -150);

    row.DeleteItem(4);   // 280 long: the end stays at the header's end less the right margin
    EXPECT_LT(row.GetScrollOffset(), 0);
    EXPECT_GT(row.GetScrollOffset(), -150);
    EXPECT_EQ(row.Item(3)->GetRect().right, row.GetHeaderRect().right - 6);

    row.DeleteItem(3);
    row.DeleteItem(2);   // 140 fits
    EXPECT_EQ(row.GetScrollOffset(), 0);
    EXPECT_EQ(row.Item(0)->GetRect().left, 2);
}

TEST_F(RowLayout, SelectingScrollsIntoViewExceptWhenSizedToFit) {
    TestTabRow row(nullptr, CRect(0, 0, 200, 100));
    row.AddFixedTabs(5, 70);
    row.SetCurSel(4);
    EXPECT_LT(row.GetScrollOffset(), 0);
    EXPECT_LE(row.Item(4)->GetRect().right, row.GetHeaderRect().right);

    TestTabRow fit(nullptr, CRect(0, 0, 200, 100));
    fit.m_pPainter->SetLayout(CKLVTabPainter::layoutSizeToFit);
    for (int i = 0; i < 5; ++i) fit.InsertItem(i)->m_strCaption = "A fairly long caption";
    fit.SetCurSel(4);
    EXPECT_EQ(fit.GetScrollOffset(), 0);
    EXPECT_LE(fit.Item(4)->GetRect().right, fit.GetHeaderRect().right);
    EXPECT_LT(fit.Item(0)->m_nLength, fit.Item(0)->m_nContentLength);
}

TEST_F(RowLayout, RotatedTabsStandOnTheClientSideOfATopRow) {
    TestTabRow row(nullptr, CRect(0, 0, 300, 200));
    row.m_pPainter->SetLayout(CKLVTabPainter::layoutRotated);
    row.AddFixedTabs(3, 40);
    const int nHeight = row.m_pPainter->GetAppearanceSet()->GetRowHeight(&row);
    EXPECT_EQ(row.GetHeaderRect().Height(), 3 + 40);
    for (int i = 0; i < 3; ++i) {
        const CRect rc = row.Item(i)->GetRect();
        EXPECT_EQ(rc.Width(), nHeight) << i;
        EXPECT_EQ(rc.Height(), 40) << i;
        EXPECT_EQ(rc.bottom, row.GetHeaderRect().bottom) << i;
        EXPECT_EQ(rc.left, 2 + i * nHeight) << i;
    }
    EXPECT_EQ(row.GetItemsLength(), 3 * nHeight);
}

}  // namespace
