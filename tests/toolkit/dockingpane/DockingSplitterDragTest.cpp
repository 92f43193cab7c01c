// Dragging a splitter bar: the live drag and the outline drag, how they end, and how a bar's
// position becomes its neighbours' sizes.
#include "DockingInstalledHost.h"

#include "classlib/WindowTestSupport.h"
#include "toolkit/dockingpane/DockingPaneSplitter.h"

namespace {

class SplitterDragTest : public InstalledManagerTest {
protected:
    SplitterDragTest() {
        pPane = manager->CreatePane(703, CRect(0, 0, 150, 120), klvDockBottom);
        site->RecalcLayout();
        pBar = manager->GetTopContainer()->GetSplitter(0);
    }
    int PaneHeight() const { return pPane->GetContainer()->GetPaneWindowRect().Height(); }
    // Posts a move of the bar's leading edge by dy (the press is at the bar's top left).
    void PostMove(int dy) { pBar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, dy)); }
    void Press() { pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0)); }

    CKLVDockingPane* pPane = nullptr;
    CKLVDockingPaneSplitter* pBar = nullptr;
};

}  // namespace

TEST_F(SplitterDragTest, LiveDragKeepsWhatItReachedHowEverItEnds) {
    manager->m_bSplitterTracker = FALSE;
    const UINT nStealCapture = WM_APP + 2;
    site->m_onMessage = [&](UINT nMsg) {
        if (nMsg == nStealCapture) ::ReleaseCapture();
    };
    // A quit request ends the drag before anything else is looked at.
    struct Case { const char* pszCase; std::function<void()> end; BOOL bQuit; int nGrowth; };
    const Case cases[] = {
        {"button up", [&] { pBar->PostMessage(WM_LBUTTONUP, 0, 0); }, FALSE, 20},
        {"Escape", [&] { pBar->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0); }, FALSE, 20},
        {"quit request", [&] { ::PostQuitMessage(3); }, TRUE, 0},
        {"capture lost", [&] { site->PostMessage(nStealCapture, 0, 0); }, FALSE, 20},
    };
    for (const Case& c : cases) {
        const int nBefore = PaneHeight();
        PostMove(-20);
        c.end();
        Press();
        EXPECT_NEAR(PaneHeight(), nBefore + c.nGrowth, 1) << c.pszCase;
        EXPECT_NE(::GetCapture(), pBar->m_hWnd) << c.pszCase;
        MSG msg;
        const BOOL bQuit = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_EQ(bQuit != 0, c.bQuit) << c.pszCase;
        classlib_test::PumpPending();
    }
    site->m_onMessage = nullptr;
}

TEST_F(SplitterDragTest, LiveDragStopsAtTheLimits) {
    manager->m_bSplitterTracker = FALSE;
    CRect rcBounds, rcUnion;
    ASSERT_TRUE(pBar->GetTrackLimits(rcBounds, rcUnion));
    PostMove(-5000);
    pBar->PostMessage(WM_LBUTTONUP, 0, 0);
    Press();
    CRect rcBar;
    pBar->GetWindowRect(&rcBar);
    EXPECT_NEAR(rcBar.top, rcBounds.top, 1);
    // The client keeps its minimum.
    EXPECT_GE(manager->GetClientNode()->GetPaneWindowRect().Height(), 60);
}

TEST_F(SplitterDragTest, OutlineDragEndedWithEscapeChangesNothing) {
    const int nBefore = PaneHeight();
    PostMove(-20);
    pBar->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    Press();
    classlib_test::PumpPending();
    site->RecalcLayout();
    EXPECT_EQ(PaneHeight(), nBefore);
    // Accepted, the sizes change once the delayed layout runs.
    PostMove(-20);
    pBar->PostMessage(WM_LBUTTONUP, 0, 0);
    Press();
    site->RecalcLayout();
    EXPECT_NEAR(PaneHeight(), nBefore + 20, 1);
}

TEST_F(SplitterDragTest, BarPositionBecomesNeighbourSizes) {
    // Two panes side by side in a horizontal row: the bar between them.
    CKLVDockingPane* pRight = manager->CreatePane(704, CRect(0, 0, 100, 120), klvDockRight, pPane);
    site->RecalcLayout();
    CKLVDockingSplitterContainer* pRow = static_cast<CKLVDockingSplitterContainer*>(pPane->GetContainer()->GetContainer());
    ASSERT_EQ(pRow->GetSplitterCount(), 1);
    CKLVDockingPaneSplitter* pRowBar = pRow->GetSplitter(0);
    CKLVDockingNode* pLeftNode = pPane->GetContainer();
    CKLVDockingNode* pRightNode = pRight->GetContainer();
    const struct { const char* pszCase; CRect rcUnion; int nBarLeft; BOOL bRTL; LONG nLeft, nRight; } cases[] = {
        {"a quarter in", {0, 0, 404, 10}, 100, FALSE, 100, 300},
        {"right to left: measured from the right", {0, 0, 404, 10}, 100, TRUE, 300, 100},
        {"no extent leaves the sizes", {50, 0, 50, 10}, 50, FALSE, 7, 9},
    };
    for (const auto& c : cases) {
        pLeftNode->m_szDocking.cx = 7;
        pRightNode->m_szDocking.cx = 9;
        if (c.rcUnion.Width() > 0) {
            pLeftNode->m_szDocking.cx = 200;
            pRightNode->m_szDocking.cx = 200;
        }
        pRowBar->ModifyStyleEx(c.bRTL ? 0 : WS_EX_LAYOUTRTL, c.bRTL ? WS_EX_LAYOUTRTL : 0);
        pRowBar->ApplyTrackRect(CRect(c.nBarLeft, 0, c.nBarLeft + 4, 10), c.rcUnion);
        EXPECT_EQ(pLeftNode->m_szDocking.cx, c.nLeft) << c.pszCase;
        EXPECT_EQ(pRightNode->m_szDocking.cx, c.nRight) << c.pszCase;
    }
}
