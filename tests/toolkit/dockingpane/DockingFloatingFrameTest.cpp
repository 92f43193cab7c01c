// Floating frames on the manager of a hidden frame whose owner answers like the application:
// floating and docking back, placement on the work area, closing and translucency.
#include "DockingInstalledHost.h"

#include "classlib/WindowTestSupport.h"
#include "toolkit/common/MultiMonitor.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

#include <cstdlib>
#include <functional>
#include <utility>

namespace {

class FloatingFrameTest : public OutputPaneTest {
protected:
    CKLVDockingPaneMiniWnd* Float(CKLVDockingNode* pNode, CRect rect = CRect(100, 100, 300, 250)) {
        auto* pFrame = static_cast<CKLVDockingPaneMiniWnd*>(manager->FloatPane(pNode, rect));
        classlib_test::PumpPending();
        return pFrame;
    }
    std::vector<std::pair<INT_PTR, UINT>> Actions() const { return site->PaneActions(); }
    static CRect WindowRect(CWnd* pWnd) {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }
};

TEST_F(FloatingFrameTest, FloatedPaneSitsInItsOwnFrameAndTogglesBackToItsHolder) {
    CKLVDockingPaneMiniWnd* pFrame = Float(pOutput);
    ASSERT_NE(pFrame, nullptr);
    ASSERT_NE(pFrame->GetSafeHwnd(), nullptr);
    char szClass[64] = "";
    ::GetClassNameA(pFrame->m_hWnd, szClass, sizeof(szClass));
    EXPECT_STREQ(szClass, "KLVDockingPaneMiniWnd");
    EXPECT_EQ(::GetWindow(pFrame->m_hWnd, GW_OWNER), site->m_hWnd);
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_TRUE(manager->IsFloatingSite(pOutput->GetDockingSite()));
    EXPECT_EQ(manager->GetNodeSide(pOutput), 4);
    CKLVDockingNode* pFloatingHolder = pOutput->GetContainer();
    EXPECT_EQ(::GetParent(pFloatingHolder->GetPaneHwnd()), pFrame->m_hWnd);
    EXPECT_EQ(manager->GetHolder(pOutput, TRUE), pFloatingHolder);
    EXPECT_EQ(manager->GetHolder(pOutput, FALSE), pDockedHolder);
    CString strTitle;
    pFrame->GetWindowText(strTitle);
    EXPECT_EQ(strTitle, pOutput->GetTitle());
    // The pane fills the frame's client area.
    CRect rcClient;
    pFrame->GetClientRect(&rcClient);
    EXPECT_EQ(pFloatingHolder->m_rcWindow, rcClient);

    site->m_notes.clear();
    manager->ToggleDocking(pOutput);
    EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionDocking, 703}, {klvActionDocked, 703}}));
    EXPECT_EQ(pOutput->GetContainer(), pDockedHolder);
    EXPECT_FALSE(manager->IsFloatingSite(pOutput->GetDockingSite()));
    classlib_test::PumpPending();
    EXPECT_FALSE(pFrame->IsWindowVisible());

    // And out again to the same frame, the floating holder kept.
    site->m_notes.clear();
    manager->ToggleDocking(pOutput);
    EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionFloating, 703}, {klvActionFloated, 703}}));
    EXPECT_EQ(pOutput->GetContainer(), pFloatingHolder);
    classlib_test::PumpPending();
    EXPECT_TRUE(pFrame->IsWindowVisible());
    // One reference of the layout, one of the manager while the pane is the active one.
    EXPECT_EQ(pOutput->GetRefCount(), manager->GetActivePane() == pOutput ? 2 : 1);
}

TEST_F(FloatingFrameTest, FirstToggleFloatsUnlessThePaneRefuses) {
    const struct { DWORD dwOptions; BOOL bFloats; std::vector<INT_PTR> actions; } cases[] = {
        {0, TRUE, {klvActionFloating, klvActionFloated}},
        {CKLVDockingPane::optionNoFloat, FALSE, {}},
    };
    for (const auto& c : cases) {
        CKLVDockingPane* pPane = manager->CreatePane(800 + c.dwOptions, CRect(0, 0, 100, 100), klvDockLeft);
        pPane->SetOptions(c.dwOptions);
        site->RecalcLayout();
        site->m_notes.clear();
        EXPECT_EQ(manager->TogglePaneDocking(pPane, nullptr), c.bFloats);
        std::vector<INT_PTR> actions;
        for (const auto& action : Actions()) actions.push_back(action.first);
        EXPECT_EQ(actions, c.actions) << c.dwOptions;
        EXPECT_EQ(manager->IsFloatingSite(pPane->GetDockingSite()), c.bFloats) << c.dwOptions;
    }
}

TEST_F(FloatingFrameTest, FloatedContainerMovesWithAllItsPanes) {
    CKLVDockingPane* pSecond = manager->CreatePane(704, CRect(0, 0, 150, 120), klvDockBottom);
    manager->AttachPane(pSecond, pOutput);
    site->RecalcLayout();
    CKLVDockingPaneMiniWnd* pFrame = Float(pDockedHolder);
    ASSERT_NE(pFrame, nullptr);
    CKLVDockingNodeList lstPanes;
    pFrame->FindPane(CKLVDockingNode::typePane, &lstPanes);
    EXPECT_EQ(DockingTreeBuilder::Nodes(lstPanes), (std::vector<CKLVDockingNode*>{pOutput, pSecond}));
    EXPECT_EQ(::GetParent(pOutput->GetContainer()->GetPaneHwnd()), pFrame->m_hWnd);
    CKLVDockingNodeList lstFrames;
    pFrame->FindPane(CKLVDockingNode::typeMiniWnd, &lstFrames);
    EXPECT_EQ(DockingTreeBuilder::Nodes(lstFrames), (std::vector<CKLVDockingNode*>{pFrame}));
}

TEST_F(FloatingFrameTest, FrameKeepsTenPixelsInsideTheWorkArea) {
    CKLVMultiMonitor monitors;
    const CRect rcWork = monitors.GetWorkRect(CPoint(0, 0));
    const struct { CRect rect; CPoint ptExpected; } cases[] = {
        {CRect(rcWork.right + 50, 100, rcWork.right + 250, 250), CPoint(rcWork.right - 10, 100)},
        {CRect(rcWork.left - 400, 100, rcWork.left - 200, 250), CPoint(rcWork.left - 190, 100)},
        {CRect(100, rcWork.bottom - 5, 300, rcWork.bottom + 145), CPoint(100, rcWork.bottom - 10)},
        {CRect(100, rcWork.top - 300, 300, rcWork.top - 150), CPoint(100, rcWork.top - 140)},
        {CRect(100, 100, 300, 250), CPoint(100, 100)},
    };
    for (const auto& c : cases) {
        CKLVDockingPaneMiniWnd* pFrame = Float(pOutput, c.rect);
        ASSERT_NE(pFrame, nullptr);
        const CRect rc = WindowRect(pFrame);
        EXPECT_EQ(rc.TopLeft(), c.ptExpected) << c.rect.left << "," << c.rect.top;
        EXPECT_EQ(rc.Size(), c.rect.Size());
        manager->ToggleDocking(pOutput);
    }
}

TEST_F(FloatingFrameTest, CloseFollowsTheClosablePanes) {
    const struct { DWORD dwFirst, dwSecond; UINT nMenuState; BOOL bButton; } cases[] = {
        {CKLVDockingPane::optionNoClose, CKLVDockingPane::optionNoClose, MF_GRAYED, FALSE},
        {CKLVDockingPane::optionNoClose, 0, MF_ENABLED, TRUE},
        {0, 0, MF_ENABLED, TRUE},
    };
    CKLVDockingPane* pSecond = manager->CreatePane(704, CRect(0, 0, 150, 120), klvDockBottom);
    manager->AttachPane(pSecond, pOutput);
    site->RecalcLayout();
    CKLVDockingPaneMiniWnd* pFrame = Float(pDockedHolder);
    ASSERT_NE(pFrame, nullptr);
    for (const auto& c : cases) {
        pOutput->SetOptions(c.dwFirst);
        pSecond->SetOptions(c.dwSecond);
        pFrame->UpdateCaption();
        HMENU hSysMenu = ::GetSystemMenu(pFrame->m_hWnd, FALSE);
        EXPECT_EQ(::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED, c.nMenuState) << c.dwFirst;
        EXPECT_EQ(pFrame->IsCaptionButtonVisible(pFrame->FindCaptionButton(klvCaptionButtonClose)), c.bButton);
    }
    // No minimise, maximise or restore on the frame's menu.
    HMENU hSysMenu = ::GetSystemMenu(pFrame->m_hWnd, FALSE);
    for (UINT nCommand : {SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE})
        EXPECT_EQ(::GetMenuState(hSysMenu, nCommand, MF_BYCOMMAND), UINT(-1)) << nCommand;
}

TEST_F(FloatingFrameTest, WmCloseClosesEachClosablePaneWithItsActions) {
    CKLVDockingPane* pSecond = manager->CreatePane(704, CRect(0, 0, 150, 120), klvDockBottom);
    CKLVDockingPane* pThird = manager->CreatePane(705, CRect(0, 0, 150, 120), klvDockBottom);
    manager->AttachPane(pSecond, pOutput);
    manager->AttachPane(pThird, pOutput);
    pSecond->SetOptions(CKLVDockingPane::optionNoClose);
    site->RecalcLayout();
    CKLVDockingPaneMiniWnd* pFrame = Float(pDockedHolder);
    ASSERT_NE(pFrame, nullptr);
    site->m_bAnswerLikeApp = FALSE;   // the owner lets panes close
    site->m_nCancelActions = klvActionClosing;
    site->m_notes.clear();
    pFrame->SendMessage(WM_CLOSE);
    // Every closable pane asked in list order; the owner cancelled each, so all stay.
    EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionClosing, 703}, {klvActionClosing, 705}}));
    EXPECT_FALSE(pOutput->IsClosed());

    site->m_nCancelActions = -1;
    site->m_notes.clear();
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionClosing, 703},
                                                               {klvActionClosed, 703},
                                                               {klvActionClosing, 705},
                                                               {klvActionClosed, 705}}));
    EXPECT_TRUE(pOutput->IsClosed());
    EXPECT_TRUE(pThird->IsClosed());
    EXPECT_FALSE(pSecond->IsClosed());
    EXPECT_TRUE(::IsWindow(pFrame->m_hWnd));
    for (CKLVDockingPane* pPane : {pOutput, pSecond, pThird}) EXPECT_EQ(pPane->GetRefCount(), 1) << pPane->GetID();
    EXPECT_EQ(pFrame->GetRefCount(), 1);
}

TEST_F(FloatingFrameTest, InactiveFramesAreLayeredOnlyBelowFullAlpha) {
    if (!manager->GetLayeredWindowAttributes()) GTEST_SKIP() << "no layered windows on this system";
    const struct { int nAlpha; BOOL bFocusInside; BOOL bLayered; BYTE nExpected; } cases[] = {
        {255, FALSE, FALSE, 0}, {255, TRUE, FALSE, 0}, {200, FALSE, TRUE, 200}, {200, TRUE, TRUE, 255}};
    for (const auto& c : cases) {
        manager->m_nFloatingFramesOpacity = c.nAlpha;
        CKLVDockingPaneMiniWnd* pFrame = Float(pOutput);
        ASSERT_NE(pFrame, nullptr);
        ::SetFocus(c.bFocusInside ? pOutput->GetContainer()->GetPaneHwnd() : site->m_hWnd);
        pFrame->UpdateActiveState();
        ASSERT_EQ(pFrame->IsActive(), c.bFocusInside) << c.nAlpha;
        EXPECT_EQ((pFrame->GetExStyle() & WS_EX_LAYERED) != 0, c.bLayered) << c.nAlpha;
        BYTE nAlpha = 0;
        DWORD dwFlags = 0;
        if (c.bLayered && ::GetLayeredWindowAttributes(pFrame->m_hWnd, nullptr, &nAlpha, &dwFlags)) {
            EXPECT_EQ(nAlpha, c.nExpected) << c.nAlpha << " " << c.bFocusInside;
        }
        manager->ToggleDocking(pOutput);
    }
}

TEST_F(FloatingFrameTest, TidyReleasesAFrameThatLostItsContentAndDestroyKeepsItsRectangle) {
    CKLVDockingPaneMiniWnd* pFirst = Float(pOutput);
    CKLVDockingPaneMiniWnd* pSecond = Float(pOutput, CRect(120, 110, 320, 260));
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    CKLVDockingNodeList& lstNodes = manager->GetLayout()->GetNodeList();
    EXPECT_TRUE(lstNodes.Find(pFirst));
    // The first frame's container is nobody's holder any more: it goes, then the frame.
    manager->GetLayout()->Tidy();
    EXPECT_FALSE(lstNodes.Find(pFirst));
    EXPECT_TRUE(lstNodes.Find(pSecond));
    EXPECT_EQ(pSecond->GetRefCount(), 1);

    pSecond->DestroyWindow();
    EXPECT_EQ(pSecond->m_rcWindow, CRect(120, 110, 320, 260));
}

// A themed frame of height 200 in collapse mode, the cursor and the focus away from it.
class CollapseTest : public FloatingFrameTest {
protected:
    CollapseTest() {
        manager->m_bThemedFloatingFrames = TRUE;
        pFrame = Float(pOutput, CRect(200, 150, 400, 350));
        ::SetFocus(site->m_hWnd);
        ::SetCursorPos(5, 5);
        nFloor = manager->GetPaintManager()->GetCaptionHeight() + 8;
    }
    void Tick(UINT nTimer, int nCount = 1) {
        for (int i = 0; i < nCount; i++) pFrame->SendMessage(WM_TIMER, nTimer);
    }
    int Height() const { return WindowRect(pFrame).Height(); }
    std::vector<INT_PTR> Codes() const {
        std::vector<INT_PTR> codes;
        for (const auto& action : Actions()) codes.push_back(action.first);
        return codes;
    }
    void RollUp() {
        Tick(CKLVDockingPaneMiniWnd::timerCollapse, 6);
        Tick(CKLVDockingPaneMiniWnd::timerAnimate, 9);
    }

    CKLVDockingPaneMiniWnd* pFrame = nullptr;
    int nFloor = 0;
};

TEST_F(CollapseTest, RollsUpInEightStepsDownToTheCaptionAfterSixTicks) {
    ASSERT_NE(pFrame, nullptr);
    ASSERT_EQ(Height(), 200);
    site->m_notes.clear();
    pFrame->ToggleCollapseMode();
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionHiding, klvActionHidden}));
    EXPECT_TRUE(pFrame->IsCollapseMode());

    site->m_notes.clear();
    Tick(CKLVDockingPaneMiniWnd::timerCollapse, 5);
    EXPECT_TRUE(Codes().empty());
    EXPECT_FALSE(pFrame->IsAnimating());
    Tick(CKLVDockingPaneMiniWnd::timerCollapse);
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionSlidingOut}));
    EXPECT_TRUE(pFrame->IsAnimating());

    const int expected[] = {175, 150, 125, 100, 75, 50, std::max(25, nFloor), std::max(0, nFloor)};
    for (int nExpected : expected) {
        Tick(CKLVDockingPaneMiniWnd::timerAnimate);
        EXPECT_EQ(Height(), nExpected) << pFrame->GetCurrentStep();
    }
    site->m_notes.clear();
    Tick(CKLVDockingPaneMiniWnd::timerAnimate);
    EXPECT_EQ(pFrame->GetCurrentStep(), -1);
    EXPECT_FALSE(pFrame->IsAnimating());
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionSlidingIn}));
}

TEST_F(CollapseTest, MouseOverTheCaptionRollsOutOnlyWhenFullyRolledUp) {
    ASSERT_NE(pFrame, nullptr);
    pFrame->ToggleCollapseMode();
    Tick(CKLVDockingPaneMiniWnd::timerCollapse, 6);
    Tick(CKLVDockingPaneMiniWnd::timerAnimate, 3);
    const CPoint ptCaption = WindowRect(pFrame).TopLeft() + CSize(20, 5);
    site->m_notes.clear();
    pFrame->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    EXPECT_TRUE(Codes().empty());
    EXPECT_TRUE(pFrame->IsAnimating());
    EXPECT_EQ(Height(), 125);

    Tick(CKLVDockingPaneMiniWnd::timerAnimate, 6);
    ASSERT_EQ(pFrame->GetCurrentStep(), -1);
    site->m_notes.clear();
    pFrame->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionRollingUp, klvActionRollingOut}));
    EXPECT_EQ(Height(), 200);

    // Rolled out by the mouse, it waits eight ticks before rolling up again.
    site->m_notes.clear();
    Tick(CKLVDockingPaneMiniWnd::timerCollapse, 7);
    EXPECT_TRUE(Codes().empty());
    Tick(CKLVDockingPaneMiniWnd::timerCollapse);
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionSlidingOut}));
}

TEST_F(CollapseTest, NoRollUpWhileTheFocusOrTheCursorIsInsideOrTheOwnerCancels) {
    ASSERT_NE(pFrame, nullptr);
    pFrame->ToggleCollapseMode();
    const struct { const char* pszCase; std::function<void()> arrange; } cases[] = {
        {"focus inside", [&] { ::SetFocus(pOutput->GetContainer()->GetPaneHwnd()); }},
        {"cursor inside", [&] { ::SetCursorPos(WindowRect(pFrame).CenterPoint().x, WindowRect(pFrame).CenterPoint().y); }},
        {"cancelled", [&] { site->m_nCancelActions = klvActionSlidingOut; }},
    };
    for (const auto& c : cases) {
        c.arrange();
        Tick(CKLVDockingPaneMiniWnd::timerCollapse, 12);
        EXPECT_FALSE(pFrame->IsAnimating()) << c.pszCase;
        EXPECT_EQ(Height(), 200) << c.pszCase;
        ::SetFocus(site->m_hWnd);
        ::SetCursorPos(5, 5);
        site->m_nCancelActions = -1;
    }
    // Switched off when rolled up, the frame gets its full height back.
    RollUp();
    ASSERT_EQ(Height(), nFloor);
    site->m_notes.clear();
    pFrame->ToggleCollapseMode();
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionUnhiding, klvActionUnhidden}));
    EXPECT_EQ(Height(), 200);
    EXPECT_FALSE(pFrame->IsCollapseMode());
}

TEST_F(FloatingFrameTest, CollapseModeNeedsTheThemedFrame) {
    CKLVDockingPaneMiniWnd* pFrame = Float(pOutput);
    ASSERT_NE(pFrame, nullptr);
    pFrame->ToggleCollapseMode();
    EXPECT_FALSE(pFrame->IsCollapseMode());
    manager->m_bThemedFloatingFrames = TRUE;
    pFrame->UpdateFrameStyle();
    EXPECT_FALSE(pFrame->GetStyle() & WS_THICKFRAME);
    pFrame->ToggleCollapseMode();
    EXPECT_TRUE(pFrame->IsCollapseMode());
    manager->m_bThemedFloatingFrames = FALSE;
    pFrame->UpdateFrameStyle();
    EXPECT_FALSE(pFrame->IsCollapseMode());
    EXPECT_TRUE(pFrame->GetStyle() & WS_THICKFRAME);
}

TEST_F(FloatingFrameTest, AThemeChangeRestylesFloatingFrames) {
    CKLVDockingPaneMiniWnd* pFrame = Float(pOutput);
    ASSERT_NE(pFrame, nullptr);
    ASSERT_TRUE(pFrame->GetStyle() & WS_THICKFRAME);
    for (BOOL bThemed : {TRUE, FALSE}) {
        manager->m_bThemedFloatingFrames = bThemed;
        manager->SetTheme(9);
        EXPECT_EQ((pFrame->GetStyle() & WS_THICKFRAME) != 0, !bThemed) << bThemed;
        EXPECT_EQ((pFrame->GetStyle() & WS_BORDER) != 0, !bThemed) << bThemed;
    }
}

TEST_F(FloatingFrameTest, TheInitialUpdateReachesTheWindowsOfFloatingPanes) {
    CKLVDockingPaneMiniWnd* pFrame = Float(pOutput);
    ASSERT_NE(pFrame, nullptr);
    CWnd host;
    CInitialUpdateCounter child;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD, CRect(0, 0, 50, 50), site, 0));
    ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD, CRect(0, 0, 10, 10), &host, 0));
    pOutput->Attach(&host);
    ASSERT_EQ(::GetAncestor(host.m_hWnd, GA_ROOT), pFrame->m_hWnd);
    EXPECT_EQ(child.m_nCount, 0);
    manager->SendMessage(WM_INITIALUPDATE, 0, 0);
    EXPECT_EQ(child.m_nCount, 1);
    pOutput->Attach(nullptr);
}

}  // namespace

namespace {

// A themed frame of one pane with a Menu button, its caption buttons laid out by painting.
class ThemedFrameTest : public FloatingFrameTest {
protected:
    ThemedFrameTest() {
        manager->m_bThemedFloatingFrames = TRUE;
        pOutput->SetOptions(CKLVDockingPane::optionMenuButton);
        pFrame = Float(pOutput, CRect(200, 150, 400, 350));
        if (pFrame) pFrame->SendMessage(WM_NCPAINT);
        // Answered, the caption menu leaves the system's own alone.
        site->m_lMenuAnswer = 1;
        site->m_notes.clear();
    }
    CPoint ScreenCenterOf(UINT nID) const {
        return pFrame->FindCaptionButton(nID)->GetRect().CenterPoint() + WindowRect(pFrame).TopLeft();
    }
    // A press released where it began.
    void Press(UINT nID) {
        const CPoint pt = ScreenCenterOf(nID);
        pFrame->PostMessage(WM_LBUTTONUP, 0, 0);
        pFrame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
        classlib_test::PumpPending();
    }
    std::vector<INT_PTR> Codes() const {
        std::vector<INT_PTR> codes;
        for (const auto& action : Actions()) codes.push_back(action.first);
        return codes;
    }

    CKLVDockingPaneMiniWnd* pFrame = nullptr;
};

TEST_F(ThemedFrameTest, CaptionButtonPressesActOnTheFrame) {
    ASSERT_NE(pFrame, nullptr);
    for (UINT nID : {klvCaptionButtonClose, klvCaptionButtonAutoHide, klvCaptionButtonMenu})
        ASSERT_FALSE(pFrame->FindCaptionButton(nID)->GetRect().IsRectEmpty()) << nID;
    const struct { const char* pszCase; UINT nID; int nEnabled; std::vector<INT_PTR> codes; size_t nMenus; BOOL bCollapsed; } cases[] = {
        {"menu", klvCaptionButtonMenu, 3, {}, 1, FALSE},
        {"disabled pane", klvCaptionButtonAutoHide, 1, {}, 0, FALSE},
        {"auto hide on", klvCaptionButtonAutoHide, 3, {klvActionHiding, klvActionHidden}, 0, TRUE},
        {"auto hide off", klvCaptionButtonAutoHide, 3, {klvActionUnhiding, klvActionUnhidden}, 0, FALSE},
        {"close", klvCaptionButtonClose, 3, {klvActionClosing, klvActionClosed}, 0, FALSE},
    };
    for (const auto& c : cases) {
        pOutput->SetEnabled(c.nEnabled);
        site->m_notes.clear();
        Press(c.nID);
        EXPECT_EQ(Codes(), c.codes) << c.pszCase;
        EXPECT_EQ(site->Notes(klvDockingPaneMenu).size(), c.nMenus) << c.pszCase;
        EXPECT_EQ(pFrame->IsCollapseMode(), c.bCollapsed) << c.pszCase;
        EXPECT_FALSE(pFrame->FindCaptionButton(c.nID)->IsPressed()) << c.pszCase;
        EXPECT_EQ(::GetCapture(), nullptr) << c.pszCase;
    }
    // The application hid the closed pane: the frame holds nothing now.
    EXPECT_TRUE(pOutput->IsHidden());
    EXPECT_EQ(pOutput->GetRefCount(), manager->GetActivePane() == pOutput ? 2 : 1);
    EXPECT_EQ(pFrame->GetRefCount(), 1);
}

TEST_F(ThemedFrameTest, MenuButtonReportsItsCornerAndRightClickTheCursor) {
    ASSERT_NE(pFrame, nullptr);
    const CRect rcButton = pFrame->FindCaptionButton(klvCaptionButtonMenu)->GetRect() + WindowRect(pFrame).TopLeft();
    std::vector<CKLVDockingPaneMenuRecord> records;
    site->m_onNotify = [&](WPARAM nCode, LPARAM lParam) {
        if (nCode == klvDockingPaneMenu) records.push_back(*reinterpret_cast<CKLVDockingPaneMenuRecord*>(lParam));
    };
    Press(klvCaptionButtonMenu);
    const CPoint ptCaption = WindowRect(pFrame).TopLeft() + CSize(20, 5);
    pFrame->SendMessage(WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    site->m_onNotify = nullptr;
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].pPane, pOutput);
    EXPECT_EQ(CRect(records[0].rcButton), rcButton);
    EXPECT_EQ(CPoint(records[0].pt), CPoint(rcButton.left, rcButton.bottom));
    EXPECT_EQ(records[1].pPane, pOutput);
    EXPECT_EQ(CPoint(records[1].pt), ptCaption);
    EXPECT_TRUE(CRect(records[1].rcButton).IsRectEmpty());
    // A press on the caption away from the buttons moves nothing until dragging comes.
    const CRect rcBefore = WindowRect(pFrame);
    pFrame->PostMessage(WM_LBUTTONUP, 0, 0);
    pFrame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    classlib_test::PumpPending();
    EXPECT_EQ(WindowRect(pFrame), rcBefore);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ThemedFrameTest, ButtonTipsNameTheButtons) {
    ASSERT_NE(pFrame, nullptr);
    const struct { UINT nID; const char* pszTip; } cases[] = {
        {klvCaptionButtonClose, "Close"}, {klvCaptionButtonAutoHide, "Auto Hide"}, {klvCaptionButtonMenu, "Menu"}};
    for (const auto& c : cases) {
        CPoint pt = ScreenCenterOf(c.nID);
        pFrame->ScreenToClient(&pt);
        TOOLINFO ti = {};
        EXPECT_EQ(pFrame->OnToolHitTest(pt, &ti), static_cast<INT_PTR>(c.nID)) << c.pszTip;
        ASSERT_NE(ti.lpszText, nullptr);
        EXPECT_STREQ(ti.lpszText, c.pszTip);
        EXPECT_TRUE(CRect(ti.rect).PtInRect(pt)) << c.pszTip;
        std::free(ti.lpszText);
    }
    CRect rcClient;
    pFrame->GetClientRect(&rcClient);
    EXPECT_EQ(pFrame->OnToolHitTest(rcClient.CenterPoint(), nullptr), -1);
}

TEST_F(FloatingFrameTest, CloneCopiesAFrameIntoADetachedLayoutOrMovesItsPanesInTheLiveOne) {
    CKLVDockingPaneMiniWnd* pFrame = Float(pOutput, CRect(200, 150, 400, 350));
    ASSERT_NE(pFrame, nullptr);
    pFrame->DestroyWindow();   // keeps the rectangle
    pFrame->Create(pFrame->m_rcWindow);

    CKLVDockingLayout* pCopy = manager->CreateLayout();
    CKLVDockingNodeMap map;
    CKLVDockingNode* pClone = pFrame->Clone(pCopy, &map);
    ASSERT_NE(pClone, nullptr);
    auto* pCopied = static_cast<CKLVDockingPaneMiniWnd*>(pClone);
    EXPECT_EQ(pCopied->GetSafeHwnd(), nullptr);
    EXPECT_EQ(pCopied->m_rcWindow, CRect(200, 150, 400, 350));
    CKLVDockingNode* pMapped = nullptr;
    EXPECT_TRUE(map.Lookup(pFrame, pMapped));
    EXPECT_EQ(pMapped, pClone);
    CKLVDockingNodeList lstPanes;
    pCopied->FindPane(CKLVDockingNode::typePane, &lstPanes);
    ASSERT_EQ(lstPanes.GetCount(), 1);
    EXPECT_NE(lstPanes.GetHead(), pOutput);
    EXPECT_EQ(static_cast<CKLVDockingPane*>(lstPanes.GetHead())->GetID(), 703u);
    EXPECT_EQ(pOutput->GetDockingSite(), pFrame);
    pCopy->InternalRelease();

    // Into the live layout without a map the panes move over to the new frame's window.
    auto* pMoved = static_cast<CKLVDockingPaneMiniWnd*>(pFrame->Clone(manager->GetLayout(), nullptr));
    ASSERT_NE(pMoved, nullptr);
    ASSERT_NE(pMoved->GetSafeHwnd(), nullptr);
    classlib_test::PumpPending();
    EXPECT_EQ(WindowRect(pMoved).TopLeft(), CPoint(200, 150));
    EXPECT_EQ(pOutput->GetDockingSite(), pMoved);
    EXPECT_EQ(::GetParent(pOutput->GetContainer()->GetPaneHwnd()), pMoved->m_hWnd);
    EXPECT_TRUE(pMoved->IsWindowVisible());
    EXPECT_EQ(manager->GetNodeSide(pOutput), 4);
}

}  // namespace
