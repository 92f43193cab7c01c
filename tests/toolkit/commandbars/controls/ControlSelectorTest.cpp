// The grid selector on a tool bar of a hidden frame, with the pointer and the button given by the
// test: the selection follows the pointer, the grid grows while the button is held beyond it (up
// to its maximum), the release executes with the chosen size, and a layout starts afresh.
#include "MenuFrameTestSupport.h"
#include "toolkit/commandbars/controls/ControlSelector.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace commandbars_test;

namespace {

class CHandSelector : public CKLVControlSelector {
public:
    CPoint GetCursorPoint() const override { return m_ptCursor; }
    BOOL IsLeftButtonHeld() const override { return m_bButton; }
    CPoint m_ptCursor = CPoint(0, 0);
    BOOL m_bButton = FALSE;
};

class ControlSelector : public ::testing::Test {
protected:
    ControlSelector() {
        m_pSelector = m_frame.AddOnNewBar("Table", new CHandSelector, 700);
        m_pBar = m_frame.m_pLastBar;
        m_pSelector->PrepareDynamicLayout(0);
        m_pSelector->SetRect(CRect(CPoint(10, 2), m_pSelector->GetSize(nullptr)));
    }
    // A point inside a cell.
    CPoint Cell(int nColumn, int nRow) const { return m_pSelector->GetCellRect(nColumn, nRow).CenterPoint(); }
    int Changes() const {
        const auto& codes = m_frame.m_pFrame->m_notifications;
        return static_cast<int>(std::count(codes.begin(), codes.end(), UINT(CKLVControlSelector::notifySelectionChanged)));
    }
    void LeaveWithButton(CPoint pt) const {
        m_pSelector->m_ptCursor = pt;
        m_pSelector->m_bButton = TRUE;
        m_pSelector->SetSelected(TRUE);
        m_pSelector->SetSelected(FALSE);
        m_pSelector->m_bButton = FALSE;
    }

    CMenuFrameFixture m_frame;
    CKLVCommandBar* m_pBar = nullptr;
    CHandSelector* m_pSelector = nullptr;
};

TEST_F(ControlSelector, TheSelectionCoversTheCellsLeftOfAndAboveThePointer) {
    EXPECT_EQ(m_pSelector->GetSize(nullptr), CSize(5 * 28, 4 * 28));
    struct Case {
        int nColumn, nRow;
        CSize szSelection;
    };
    for (const Case& c : {Case{0, 0, CSize(1, 1)}, Case{2, 1, CSize(3, 2)}, Case{4, 3, CSize(5, 4)}}) {
        m_pSelector->OnMouseMove(Cell(c.nColumn, c.nRow));
        EXPECT_EQ(m_pSelector->GetSelection(), c.szSelection) << c.nColumn << "," << c.nRow;
    }
    const int nChanges = Changes();
    m_pSelector->OnMouseMove(Cell(4, 3));
    EXPECT_EQ(Changes(), nChanges) << "no change, no notification";
    m_pSelector->OnMouseMove(CPoint(0, 0));
    EXPECT_EQ(m_pSelector->GetSelection(), CSize(0, 0));
}

TEST_F(ControlSelector, TheGridGrowsWithThePointerWhileTheButtonIsHeldUpToItsMaximum) {
    const CRect rc = m_pSelector->GetRect();
    // Right of the grid by three cells: eight columns, the rows as they were.
    LeaveWithButton(CPoint(rc.left + 7 * 28 + 3, rc.top + 28 + 3));
    EXPECT_EQ(m_pSelector->GetShownGrid(), CSize(8, 4));
    EXPECT_EQ(m_pSelector->GetSize(nullptr), CSize(8 * 28, 4 * 28));
    EXPECT_EQ(m_pSelector->GetSelection(), CSize(8, 2));
    // Far beyond both edges: twelve by twelve at most.
    LeaveWithButton(CPoint(rc.left + 40 * 28, rc.top + 40 * 28));
    EXPECT_EQ(m_pSelector->GetShownGrid(), CSize(12, 12));
    // Inside the grid, or without the button: nothing grows and a left grid clears the selection.
    LeaveWithButton(Cell(1, 1));
    EXPECT_EQ(m_pSelector->GetShownGrid(), CSize(12, 12));
    EXPECT_EQ(m_pSelector->GetSelection(), CSize(0, 0));
    // The next layout starts from the first grid again.
    m_pSelector->PrepareDynamicLayout(0);
    EXPECT_EQ(m_pSelector->GetShownGrid(), CSize(5, 4));
}

TEST_F(ControlSelector, TheReleaseExecutesWithTheSelectionAndAnEmptyOneDoesNothing) {
    m_pSelector->OnMouseRelease(CPoint(0, 0));
    EXPECT_TRUE(m_frame.m_pFrame->m_commands.empty());
    m_pSelector->OnMouseMove(Cell(2, 3));
    m_pSelector->OnMouseRelease(Cell(2, 3));
    EXPECT_EQ(m_pSelector->GetResult(), CSize(3, 4));
    EXPECT_EQ(m_frame.m_pFrame->m_commands, (std::vector<UINT>{700}));
}

}  // namespace
