// Auto-hide panels and the sliding window on the manager of a hidden frame whose owner answers
// like the application. Timers are stepped by WM_TIMER sent directly; the queue is never pumped
// while a sliding window is open, so the real timers cannot interfere.
#include "DockingInstalledHost.h"

#include "classlib/WindowTestSupport.h"
#include "toolkit/dockingpane/DockingPaneAutoHidePanel.h"
#include "toolkit/dockingpane/DockingPaneAutoHideWnd.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"
#include "toolkit/tabs/TabStyle.h"

#include <utility>
#include <vector>

namespace {

using Wnd = CKLVDockingPaneAutoHideWnd;

class AutoHideTest : public OutputPaneTest {
protected:
    AutoHideTest() {
        CursorAway();
        site->m_notes.clear();
    }

    static void CursorAway() {
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 2, ::GetSystemMetrics(SM_CYSCREEN) - 2);
    }
    // Hides the pane as the application's Close does, and lays the site out.
    void HideByClose(CKLVDockingPane* pPane) {
        manager->ClosePane(pPane);
        classlib_test::PumpPending();
        site->RecalcLayout();
    }
    CKLVDockingPaneAutoHidePanel* Panel(int nSide) const { return manager->GetLayout()->GetPanel(nSide); }
    Wnd* Open(CKLVDockingPane* pPane, BOOL bFocus = FALSE) {
        manager->ShowPane(pPane, bFocus);
        CKLVDockingNode* pGroup = pPane->GetContainer();
        auto* pPanel = static_cast<CKLVDockingPaneAutoHidePanel*>(pGroup ? pGroup->GetContainer() : nullptr);
        return pPanel && pPanel->GetType() == CKLVDockingNode::typeAutoHidePanel ? pPanel->GetActiveWindow() : nullptr;
    }
    static void Tick(Wnd* pWnd, UINT nTimer, int nCount = 1) {
        for (int i = 0; i < nCount; i++) pWnd->SendMessage(WM_TIMER, nTimer);
    }
    // Runs the window's posted close, the only message it waits for.
    static void RunPostedClose(HWND hWnd) {
        MSG msg;
        while (::PeekMessageA(&msg, hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    std::vector<INT_PTR> Codes() const {
        std::vector<INT_PTR> codes;
        for (const auto& action : site->PaneActions()) codes.push_back(action.first);
        return codes;
    }
    static CRect ClientRectIn(CWnd* pWnd, CWnd* pParent) {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        ::MapWindowPoints(nullptr, pParent->m_hWnd, reinterpret_cast<LPPOINT>(&rc), 2);
        rc.NormalizeRect();
        return rc;
    }
    int ActiveRefs(CKLVDockingPane* pPane) const { return manager->GetActivePane() == pPane ? 2 : 1; }
};

TEST_F(AutoHideTest, CloseAnsweredByHidingPutsThePaneAsOneTabInTheBottomPanel) {
    HideByClose(pOutput);
    EXPECT_EQ(site->Notes(klvDockingPaneClosing).size(), 1u);
    EXPECT_FALSE(pOutput->IsClosed());
    EXPECT_TRUE(pOutput->IsHidden());
    EXPECT_EQ(manager->GetNodeSide(pOutput), klvDockBottom);
    CKLVDockingPaneAutoHidePanel* pPanel = Panel(klvDockBottom);
    ASSERT_NE(pPanel, nullptr);
    ASSERT_NE(pPanel->GetSafeHwnd(), nullptr);
    ASSERT_EQ(pPanel->GetRowCount(), 1);
    CKLVDockingPaneAutoHideRow* pRow = pPanel->GetRow(0);
    ASSERT_EQ(pRow->GetItemCount(), 1);
    EXPECT_EQ(pRow->GetItemPane(pRow->GetItem(0)), pOutput);
    EXPECT_EQ(pRow->GetPosition(), CKLVTabPainter::positionTop);
    // The docked holder stays, empty, for the way back.
    EXPECT_EQ(manager->GetHolder(pOutput, FALSE), pDockedHolder);
    EXPECT_TRUE(pDockedHolder->IsEmpty());

    // The strip: the auto-hide row height and its margins, along the bottom of the client area.
    CKLVTabStyle* pStyle = manager->GetPaintManager()->GetAutoHidePaintManager()->GetAppearanceSet();
    const CRect rcMargins = pStyle->GetMargins();
    const int nThickness = pStyle->GetRowHeight(pRow) + rcMargins.top + rcMargins.bottom;
    CRect rcClient;
    site->GetClientRect(&rcClient);
    const CRect rcPanel = ClientRectIn(pPanel, site);
    EXPECT_EQ(rcPanel, CRect(rcClient.left, rcClient.bottom - nThickness, rcClient.right, rcClient.bottom));
    EXPECT_EQ(manager->GetLayout()->GetRootArea().bottom, rcPanel.top);
    EXPECT_EQ(manager->GetClientNode()->m_rcWindow.bottom, rcPanel.top);
    EXPECT_EQ(pOutput->GetRefCount(), ActiveRefs(pOutput));
}

TEST_F(AutoHideTest, APaneOfTheSameDockingHolderJoinsTheGroup) {
    HideByClose(pOutput);
    CKLVDockingPane* pSecond = manager->CreatePane(704, CRect(0, 0, 150, 120), klvDockBottom);
    manager->AttachPane(pSecond, pDockedHolder);
    site->RecalcLayout();
    ASSERT_EQ(manager->GetHolder(pSecond, FALSE), pDockedHolder);
    CKLVDockingPane* pOther = manager->CreatePane(705, CRect(0, 0, 150, 120), klvDockBottom);
    site->RecalcLayout();

    HideByClose(pSecond);
    HideByClose(pOther);
    CKLVDockingPaneAutoHidePanel* pPanel = Panel(klvDockBottom);
    ASSERT_NE(pPanel, nullptr);
    EXPECT_EQ(pSecond->GetContainer(), pOutput->GetContainer());
    EXPECT_NE(pOther->GetContainer(), pOutput->GetContainer());
    ASSERT_EQ(pPanel->GetRowCount(), 2);
    EXPECT_EQ(pPanel->GetRow(0)->GetItemCount(), 2);
    EXPECT_EQ(pPanel->GetRow(1)->GetItemCount(), 1);
    // The second row starts after the first, past the gap.
    EXPECT_GE(pPanel->GetRow(1)->m_rcRow.left, pPanel->GetRow(0)->m_rcRow.right + CKLVDockingPaneAutoHidePanel::nRowGap);
}

TEST_F(AutoHideTest, PanelTabsOpenTheirPanesOnClickAndReportTheRightButton) {
    CKLVDockingPane* pSecond = manager->CreatePane(704, CRect(0, 0, 150, 120), klvDockBottom);
    manager->AttachPane(pSecond, pOutput);
    site->RecalcLayout();
    HideByClose(pOutput);   // the whole group goes
    CKLVDockingPaneAutoHidePanel* pPanel = Panel(klvDockBottom);
    ASSERT_NE(pPanel, nullptr);
    ASSERT_EQ(pPanel->GetRowCount(), 1);
    CKLVDockingPaneAutoHideRow* pRow = pPanel->GetRow(0);
    ASSERT_EQ(pRow->GetItemCount(), 2);
    const CPoint ptFirst = pRow->GetItem(0)->GetRect().CenterPoint();
    const CPoint ptSecond = pRow->GetItem(1)->GetRect().CenterPoint();
    ASSERT_EQ(pPanel->HitTest(ptFirst), pOutput);
    ASSERT_EQ(pPanel->HitTest(ptSecond), pSecond);
    EXPECT_EQ(pPanel->HitTest(CPoint(-5, -5)), nullptr);

    std::vector<LPARAM> rightClicks;
    site->m_onNotify = [&](WPARAM nCode, LPARAM lParam) {
        if (nCode == klvDockingPaneRClick) rightClicks.push_back(lParam);
    };
    site->m_notes.clear();
    pPanel->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(ptSecond.x, ptSecond.y));
    site->m_onNotify = nullptr;
    EXPECT_EQ(rightClicks, (std::vector<LPARAM>{reinterpret_cast<LPARAM>(static_cast<CKLVDockingNode*>(pSecond))}));
    // Resting on a tab opens nothing while the site's window is not the active one.
    pPanel->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(ptFirst.x, ptFirst.y));
    EXPECT_EQ(pPanel->GetActiveWindow(), nullptr);
    EXPECT_TRUE(Codes().empty());

    pPanel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFirst.x, ptFirst.y));
    Wnd* pFirstWnd = pPanel->GetActiveWindow();
    ASSERT_NE(pFirstWnd, nullptr);
    EXPECT_EQ(pPanel->GetShownPane(), pOutput);
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionRollingUp}));
    const HWND hWndFirst = pFirstWnd->m_hWnd;

    // Another tab: the open window closes at once, the other pane opens.
    site->m_notes.clear();
    pPanel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptSecond.x, ptSecond.y));
    EXPECT_EQ(site->PaneActions(), (std::vector<std::pair<INT_PTR, UINT>>{
                                       {klvActionSlidingOut, 703}, {klvActionSlidingIn, 703}, {klvActionRollingUp, 704}}));
    EXPECT_EQ(pPanel->GetShownPane(), pSecond);
    EXPECT_FALSE(::IsWindowVisible(hWndFirst));
    RunPostedClose(hWndFirst);
    EXPECT_FALSE(::IsWindow(hWndFirst));
    HWND hWndFocus = ::GetFocus();
    EXPECT_TRUE(hWndFocus && (hWndFocus == pSecond->GetChild() || ::IsChild(pSecond->GetChild(), hWndFocus)));

    // The tab of the pane already out only gives it the focus.
    Wnd* pSecondWnd = pPanel->GetActiveWindow();
    ::SetFocus(nullptr);
    site->m_notes.clear();
    pPanel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptSecond.x, ptSecond.y));
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(pPanel->GetActiveWindow(), pSecondWnd);
    EXPECT_EQ(::GetFocus(), pSecond->GetChild());
}

TEST_F(AutoHideTest, PanelTabsShowTheirPanesTitlesAsTips) {
    CKLVDockingPane* pSecond = manager->CreatePane(704, CRect(0, 0, 150, 120), klvDockBottom);
    pSecond->SetTitle("Second");
    manager->AttachPane(pSecond, pOutput);
    site->RecalcLayout();
    HideByClose(pOutput);
    CKLVDockingPaneAutoHidePanel* pPanel = Panel(klvDockBottom);
    ASSERT_NE(pPanel, nullptr);
    CKLVDockingPaneAutoHideRow* pRow = pPanel->GetRow(0);
    ASSERT_EQ(pRow->GetItemCount(), 2);
    pRow->GetPaintManager()->m_nToolTipMode = 1;   // every tab, truncated or not
    EXPECT_EQ(ToolTipAfterMouseMove(pPanel, pRow->GetItem(1)->GetRect().CenterPoint()), "Second");
    EXPECT_EQ(ToolTipAfterMouseMove(pPanel, pRow->GetItem(0)->GetRect().CenterPoint()),
              std::string(pOutput->GetTitle()));
}

TEST_F(AutoHideTest, ShowPaneSlidesOutInEightStepsThenSlidesBackAfterSixTicksAway) {
    HideByClose(pOutput);
    site->m_notes.clear();
    Wnd* pWnd = Open(pOutput);
    ASSERT_NE(pWnd, nullptr);
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionRollingUp}));
    const CRect rcArea = manager->GetLayout()->GetRootArea();
    EXPECT_EQ(pWnd->GetFullRect(), CRect(rcArea.left, rcArea.bottom - 124, rcArea.right, rcArea.bottom));
    // The first eighth at once, the rest one per tick of timer 2, against the panel's edge.
    for (int nStep = 1; nStep <= 8; nStep++) {
        const CRect rc = ClientRectIn(pWnd, site);
        EXPECT_EQ(rc.Height(), 124 * nStep / 8) << nStep;
        EXPECT_EQ(rc.bottom, rcArea.bottom) << nStep;
        EXPECT_EQ(rc.Width(), rcArea.Width()) << nStep;
        if (nStep < 8) Tick(pWnd, Wnd::timerSlideOut);
    }
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionRollingUp}));
    Tick(pWnd, Wnd::timerSlideOut);
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionRollingUp, klvActionRollingOut}));
    EXPECT_EQ(ClientRectIn(pWnd, site).Height(), 124);
    // The group fills the window less its border, without a tab row.
    EXPECT_EQ(::GetParent(pOutput->GetContainer()->GetPaneHwnd()), pWnd->m_hWnd);
    EXPECT_FALSE(static_cast<CKLVDockingPaneTabbedContainer*>(pOutput->GetContainer())->IsTabsVisible());

    site->m_notes.clear();
    Tick(pWnd, Wnd::timerCheck, 5);
    EXPECT_TRUE(Codes().empty());
    EXPECT_FALSE(pWnd->IsClosing());
    Tick(pWnd, Wnd::timerCheck);
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionSlidingOut}));
    EXPECT_TRUE(pWnd->IsClosing());
    Tick(pWnd, Wnd::timerSlideBack, 7);
    EXPECT_EQ(ClientRectIn(pWnd, site).Height(), 124 / 8);
    const HWND hWnd = pWnd->m_hWnd;
    Tick(pWnd, Wnd::timerSlideBack);
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionSlidingOut, klvActionSlidingIn}));
    EXPECT_EQ(Panel(klvDockBottom)->GetActiveWindow(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(pOutput->GetContainer()->GetPaneHwnd()));
    EXPECT_EQ(::GetParent(pOutput->GetContainer()->GetPaneHwnd()), Panel(klvDockBottom)->m_hWnd);
    RunPostedClose(hWnd);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(pOutput->GetRefCount(), ActiveRefs(pOutput));
}

TEST_F(AutoHideTest, MouseBackDuringTheSlideBackReversesItWithoutANewOpening) {
    HideByClose(pOutput);
    Wnd* pWnd = Open(pOutput);
    ASSERT_NE(pWnd, nullptr);
    Tick(pWnd, Wnd::timerSlideOut, 8);
    Tick(pWnd, Wnd::timerCheck, 6);
    Tick(pWnd, Wnd::timerSlideBack, 2);
    ASSERT_TRUE(pWnd->IsClosing());
    ASSERT_EQ(pWnd->GetCurrentStep(), 5);
    site->m_notes.clear();
    CRect rcWindow;
    pWnd->GetWindowRect(&rcWindow);
    ::SetCursorPos(rcWindow.CenterPoint().x, rcWindow.CenterPoint().y);
    pWnd->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(pWnd->IsClosing());
    Tick(pWnd, Wnd::timerSlideBack, 3);   // stopped: no effect
    EXPECT_EQ(pWnd->GetCurrentStep(), 5);
    Tick(pWnd, Wnd::timerSlideOut, 3);
    EXPECT_EQ(ClientRectIn(pWnd, site).Height(), 124);
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionRollingOut}));
    // Still over it, the countdown never runs out.
    Tick(pWnd, Wnd::timerCheck, 12);
    EXPECT_FALSE(pWnd->IsClosing());
    CursorAway();
}

TEST_F(AutoHideTest, NoSlideBackWhileThePaneHasTheFocusOrTheOwnerCancels) {
    HideByClose(pOutput);
    Wnd* pWnd = Open(pOutput, TRUE);
    ASSERT_NE(pWnd, nullptr);
    HWND hWndGroup = pOutput->GetContainer()->GetPaneHwnd();
    HWND hWndFocus = ::GetFocus();
    ASSERT_TRUE(hWndFocus && (hWndFocus == hWndGroup || ::IsChild(hWndGroup, hWndFocus)));
    site->m_notes.clear();
    Tick(pWnd, Wnd::timerCheck, 12);
    EXPECT_FALSE(pWnd->IsClosing());
    EXPECT_TRUE(Codes().empty());

    ::SetFocus(nullptr);
    site->m_nCancelActions = klvActionSlidingOut;
    Tick(pWnd, Wnd::timerCheck, 6);
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionSlidingOut}));
    EXPECT_FALSE(pWnd->IsClosing());
    // A cancelled slide-back waits six more ticks.
    Tick(pWnd, Wnd::timerCheck, 5);
    EXPECT_EQ(Codes().size(), 1u);
    site->m_nCancelActions = -1;
    Tick(pWnd, Wnd::timerCheck);
    EXPECT_TRUE(pWnd->IsClosing());
}

TEST_F(AutoHideTest, TheSlidingExtentIsTheDockingSizeAndTheBorderOnTheSidesPlacement) {
    const struct { const char* pszCase; int nDirection; CSize szDocking; LONG nMaxWidth; BOOL bRTL; int nPlaced; int nExtent; } cases[] = {
        {"left", klvDockLeft, CSize(200, 100), CKLVDockingNode::nMaxTrackSize, FALSE, klvDockLeft, 204},
        {"left, narrower maximum", klvDockLeft, CSize(200, 100), 150, FALSE, klvDockLeft, 154},
        {"bottom", klvDockBottom, CSize(100, 120), CKLVDockingNode::nMaxTrackSize, FALSE, klvDockBottom, 124},
        {"left in a right-to-left site", klvDockLeft, CSize(200, 100), CKLVDockingNode::nMaxTrackSize, TRUE, klvDockRight, 204},
    };
    for (const auto& c : cases) {
        if (c.bRTL) site->ModifyStyleEx(0, WS_EX_LAYOUTRTL);
        CKLVDockingPane* pPane = manager->CreatePane(800, CRect(CPoint(0, 0), c.szDocking), c.nDirection);
        pPane->m_ptMaxTrackSize.x = c.nMaxWidth;
        site->RecalcLayout();
        HideByClose(pPane);
        CKLVDockingPaneAutoHidePanel* pPanel = Panel(c.nDirection);
        ASSERT_NE(pPanel, nullptr) << c.pszCase;
        EXPECT_EQ(pPanel->GetPlacedSide(), c.nPlaced) << c.pszCase;
        Wnd* pWnd = Open(pPane);
        ASSERT_NE(pWnd, nullptr) << c.pszCase;
        Tick(pWnd, Wnd::timerSlideOut, 8);
        const CRect rcArea = manager->GetLayout()->GetRootArea();
        const CRect rc = ClientRectIn(pWnd, site);
        const BOOL bVertical = c.nPlaced == klvDockTop || c.nPlaced == klvDockBottom;
        EXPECT_EQ(bVertical ? rc.Height() : rc.Width(), c.nExtent) << c.pszCase;
        EXPECT_EQ(pWnd->GetFullRect().Size(), rc.Size()) << c.pszCase;
        const CRect& rcFull = pWnd->GetFullRect();
        switch (c.nPlaced) {
        case klvDockLeft: EXPECT_EQ(rcFull.left, rcArea.left) << c.pszCase; break;
        case klvDockRight: EXPECT_EQ(rcFull.right, rcArea.right) << c.pszCase; break;
        default: EXPECT_EQ(rcFull.bottom, rcArea.bottom) << c.pszCase; break;
        }
        // The panel stands on the placed side of the client area.
        CRect rcClient;
        site->GetClientRect(&rcClient);
        if (c.nPlaced == klvDockRight) {
            EXPECT_EQ(rcArea.right, rcClient.right - pPanel->GetThickness()) << c.pszCase;
        }
        if (c.nPlaced == klvDockLeft) {
            EXPECT_EQ(rcArea.left, rcClient.left + pPanel->GetThickness()) << c.pszCase;
        }
        // Back to its docked place, the panel's window closes with a delay.
        const HWND hWnd = pWnd->m_hWnd;
        manager->ToggleDocking(pPane);
        EXPECT_FALSE(pPane->IsHidden()) << c.pszCase;
        Tick(pWnd, Wnd::timerClose);
        RunPostedClose(hWnd);
        EXPECT_FALSE(::IsWindow(hWnd)) << c.pszCase;
        site->m_bAnswerLikeApp = FALSE;
        manager->ClosePane(pPane);
        site->m_bAnswerLikeApp = TRUE;
        if (c.bRTL) site->ModifyStyleEx(WS_EX_LAYOUTRTL, 0);
        site->RecalcLayout();
    }
}

TEST_F(AutoHideTest, UnhidingReportsEightAndNineAndEmptiesThePanel) {
    HideByClose(pOutput);
    site->m_notes.clear();
    manager->ToggleDocking(pOutput);
    EXPECT_EQ(site->PaneActions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionUnhiding, 703}, {klvActionUnhidden, 703}}));
    EXPECT_EQ(pOutput->GetContainer(), pDockedHolder);
    classlib_test::PumpPending();
    site->RecalcLayout();
    CKLVDockingPaneAutoHidePanel* pPanel = Panel(klvDockBottom);
    ASSERT_NE(pPanel, nullptr);
    EXPECT_TRUE(pPanel->IsEmpty());
    EXPECT_EQ(pPanel->GetSafeHwnd(), nullptr);
    CRect rcClient;
    site->GetClientRect(&rcClient);
    EXPECT_EQ(manager->GetLayout()->GetRootArea(), rcClient);
}

TEST_F(AutoHideTest, HidingAHiddenPaneClosesItsSlidingWindow) {
    HideByClose(pOutput);
    Wnd* pWnd = Open(pOutput);
    ASSERT_NE(pWnd, nullptr);
    const HWND hWnd = pWnd->m_hWnd;
    site->m_notes.clear();
    pOutput->Hide();
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionSlidingOut, klvActionSlidingIn}));
    EXPECT_EQ(Panel(klvDockBottom)->GetActiveWindow(), nullptr);
    EXPECT_TRUE(pOutput->IsHidden());
    RunPostedClose(hWnd);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST_F(AutoHideTest, ThePanelDetachesItsWindowBeforeItGoes) {
    HideByClose(pOutput);
    Wnd* pWnd = Open(pOutput);
    ASSERT_NE(pWnd, nullptr);
    pWnd->InternalAddRef();
    const HWND hWnd = pWnd->m_hWnd;
    manager.reset();
    EXPECT_EQ(pWnd->GetContainer(), nullptr);
    // Its timers no longer reach the panel or the group.
    for (UINT nTimer : {Wnd::timerCheck, Wnd::timerSlideOut, Wnd::timerSlideBack}) Tick(pWnd, nTimer, 2);
    EXPECT_FALSE(::IsWindowVisible(hWnd));
    RunPostedClose(hWnd);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(pWnd->GetRefCount(), 1);
    pWnd->InternalRelease();
}

// The border drag of a bottom window, live (no tracker).
class AutoHideResizeTest : public AutoHideTest {
protected:
    AutoHideResizeTest() {
        manager->m_bSplitterTracker = FALSE;
        HideByClose(pOutput);
        pWnd = Open(pOutput);
        if (pWnd) Tick(pWnd, Wnd::timerSlideOut, 8);
    }
    void PressBorder() { pWnd->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1)); }

    Wnd* pWnd = nullptr;
};

TEST_F(AutoHideResizeTest, TheLiveBorderFollowsTheMouseAndThePaneKeepsTheSize) {
    ASSERT_NE(pWnd, nullptr);
    CRect rcLimit, rcStrip;
    ASSERT_TRUE(pWnd->GetSplitterLimits(rcLimit, rcStrip));
    const CRect rcArea = manager->GetLayout()->GetRootArea();
    EXPECT_EQ(rcStrip.Height(), Wnd::nBorder);
    EXPECT_EQ(rcStrip.top, rcArea.bottom - 124);
    EXPECT_EQ(rcLimit.top, rcArea.top + manager->m_nSplitterGap + Wnd::nBorder);

    const struct { int nFromBottom; int nExpected; } cases[] = {
        {100, 100}, {5000, rcArea.bottom - rcLimit.top}, {1, rcArea.bottom - rcLimit.bottom}};
    for (const auto& c : cases) {
        CPoint pt(rcArea.CenterPoint().x, rcArea.bottom - c.nFromBottom);
        site->ClientToScreen(&pt);
        ::SetCursorPos(pt.x, pt.y);
        pWnd->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
        pWnd->PostMessage(WM_LBUTTONUP, 0, 0);
        PressBorder();
        EXPECT_EQ(ClientRectIn(pWnd, site).Height(), c.nExpected) << c.nFromBottom;
        EXPECT_EQ(pOutput->m_szDocking.cy, c.nExpected) << c.nFromBottom;
        EXPECT_FALSE(pWnd->IsResizing());
        EXPECT_EQ(::GetCapture(), nullptr);
    }
    CursorAway();
}

TEST_F(AutoHideResizeTest, TheLiveLoopEndsOnAQuitRequestAndOnCaptureLoss) {
    ASSERT_NE(pWnd, nullptr);
    const struct { const char* pszCase; BOOL bQuit; } cases[] = {{"quit request", TRUE}, {"capture lost", FALSE}};
    for (const auto& c : cases) {
        if (c.bQuit) ::PostQuitMessage(7);
        else pWnd->PostMessage(WM_CANCELMODE);
        PressBorder();
        EXPECT_FALSE(pWnd->IsResizing()) << c.pszCase;
        EXPECT_EQ(::GetCapture(), nullptr) << c.pszCase;
        MSG msg;
        const BOOL bQuit = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_EQ(bQuit, c.bQuit) << c.pszCase;
        if (bQuit) {
            EXPECT_EQ(msg.wParam, 7u);
        }
    }
    EXPECT_EQ(pOutput->GetRefCount(), ActiveRefs(pOutput));
    EXPECT_EQ(pWnd->GetRefCount(), 1);
}

}  // namespace
