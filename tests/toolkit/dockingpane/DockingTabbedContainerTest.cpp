// A tabbed container driven by the messages its window receives: closing, tabs, captions,
// help, and the caption buttons' press loop.
#include "DockingInstalledHost.h"

#include "classlib/WindowTestSupport.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneThemes.h"
#include "toolkit/tabs/TabTestHost.h"

#include <string>

namespace {

LPARAM At(CPoint pt) { return MAKELPARAM(pt.x, pt.y); }

class TabbedContainerTest : public InstalledManagerTest {
protected:
    TabbedContainerTest() { manager->SetTheme(9); }

    // A container with these panes below the client, laid out by the frame.
    CKLVDockingPaneTabbedContainer* Dock(std::initializer_list<CKLVDockingPane*> panes) {
        CKLVDockingPaneTabbedContainer* pTabbed = tree.Tabbed(panes);
        pTabbed->m_szDocking = CSize(200, 150);
        manager->DockNode(pTabbed, klvDockBottom, nullptr);
        manager->UpdateHolders();
        site->RecalcLayout();
        return pTabbed;
    }
    void Relayout(CKLVDockingPaneTabbedContainer* pTabbed) {
        site->RecalcLayout();
        pTabbed->UpdateTabs();
        CRect rc;
        pTabbed->GetClientRect(&rc);
        manager->GetPaintManager()->AdjustClientRect(pTabbed, rc, TRUE);
    }
    CPoint ButtonCenter(CKLVDockingPaneTabbedContainer* pTabbed, UINT nID) {
        // The buttons take their places when the caption is drawn.
        CClientDC dc(pTabbed);
        CRect rc;
        pTabbed->GetClientRect(&rc);
        manager->GetPaintManager()->DrawTabbedContainer(&dc, pTabbed, rc);
        return pTabbed->FindCaptionButton(nID)->GetRect().CenterPoint();
    }
    // A press released where it began.
    void ClickAt(CWnd* pWnd, CPoint pt) {
        pWnd->PostMessage(WM_LBUTTONUP, 0, At(pt));
        pWnd->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
        classlib_test::PumpPending();
    }
    std::vector<std::pair<INT_PTR, UINT>> Actions() const { return site->PaneActions(); }
    static std::vector<UINT> Ids(CKLVDockingPaneTabbedContainer* pTabbed) {
        std::vector<UINT> ids;
        for (CKLVDockingNode* pNode : DockingTreeBuilder::Children(pTabbed))
            ids.push_back(static_cast<CKLVDockingPane*>(pNode)->GetID());
        return ids;
    }
};

}  // namespace

TEST_F(TabbedContainerTest, CloseButtonClosesTheSelectedPaneAndTheLastOneDestroysTheWindow) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    CKLVDockingPane* c = tree.Pane(3);
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a, b, c});
    pTabbed->SelectPane(b, FALSE, TRUE);
    const struct { UINT nClosed; UINT nSelectedAfter; } steps[] = {{2, 3}, {3, 1}, {1, 0}};
    for (const auto& step : steps) {
        site->m_notes.clear();
        Relayout(pTabbed);
        ClickAt(pTabbed, ButtonCenter(pTabbed, klvCaptionButtonClose));
        EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionClosing, step.nClosed},
                                                                    {klvActionClosed, step.nClosed}}));
        EXPECT_TRUE(manager->FindPane(step.nClosed)->IsClosed()) << step.nClosed;
        CKLVDockingPane* pSelected = pTabbed->GetSelected();
        EXPECT_EQ(pSelected ? pSelected->GetID() : 0u, step.nSelectedAfter) << step.nClosed;
        if (!step.nSelectedAfter) break;
    }
    EXPECT_EQ(pTabbed->GetPaneHwnd(), nullptr);
}

TEST_F(TabbedContainerTest, CancelledCloseKeepsThePane) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a});
    site->m_nCancelActions = klvActionClosing;
    ClickAt(pTabbed, ButtonCenter(pTabbed, klvCaptionButtonClose));
    EXPECT_EQ(a->GetContainer(), pTabbed);
    EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionClosing, 1}}));
}

TEST_F(TabbedContainerTest, CloseGroupSkipsPanesThatMayNotClose) {
    manager->m_bCloseGroupOnButtonClick = TRUE;
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2, CKLVDockingPane::optionNoClose);
    CKLVDockingPane* c = tree.Pane(3);
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a, b, c});
    pTabbed->SelectPane(a, FALSE, TRUE);
    Relayout(pTabbed);
    ClickAt(pTabbed, ButtonCenter(pTabbed, klvCaptionButtonClose));
    EXPECT_EQ(Ids(pTabbed), std::vector<UINT>{2});
    EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{
                             {klvActionClosing, 1}, {klvActionClosed, 1}, {klvActionClosing, 3}, {klvActionClosed, 3}}));
    // The pane left may not close: its container shows no Close button.
    Relayout(pTabbed);
    ButtonCenter(pTabbed, klvCaptionButtonClose);
    EXPECT_TRUE(pTabbed->FindCaptionButton(klvCaptionButtonClose)->GetRect().IsRectEmpty());
}

TEST_F(TabbedContainerTest, CaptionAndTabRowFollowOptionsAndPaneCount) {
    const int nCaption = manager->GetPaintManager()->GetCaptionHeight();
    const struct { const char* pszCase; DWORD dwOptions; int nPanes; BOOL bOneTab; BOOL bCaption; BOOL bTabs; } cases[] = {
        {"one pane", 0, 1, FALSE, TRUE, FALSE},
        {"option 8 hides the caption", CKLVDockingPane::optionNoCaption, 1, FALSE, FALSE, FALSE},
        {"two panes", 0, 2, FALSE, TRUE, TRUE},
        {"the theme asks for tabs with one pane", 0, 1, TRUE, TRUE, TRUE},
    };
    UINT nID = 1;
    for (const auto& c : cases) {
        manager->GetPaintManager()->m_bShowTabsForOnePane = c.bOneTab;
        std::vector<CKLVDockingPane*> panes;
        for (int i = 0; i < c.nPanes; i++) panes.push_back(tree.Pane(nID++, c.dwOptions));
        CKLVDockingPaneTabbedContainer* pTabbed = tree.Tabbed({panes[0]});
        for (size_t i = 1; i < panes.size(); i++) pTabbed->AttachPane(panes[i], FALSE);
        pTabbed->SelectPane(panes[0], FALSE, TRUE);
        pTabbed->UpdateTabs();
        EXPECT_EQ(pTabbed->IsCaptionVisible(), c.bCaption) << c.pszCase;
        EXPECT_EQ(pTabbed->IsTabsVisible(), c.bTabs) << c.pszCase;
        CRect rc(0, 0, 300, 200);
        manager->GetPaintManager()->AdjustClientRect(pTabbed, rc, TRUE);
        // The tab painter may keep a frame of its own around the pane area.
        if (c.bTabs) EXPECT_GE(rc.top, nCaption) << c.pszCase;
        else EXPECT_EQ(rc.top, c.bCaption ? nCaption : 0) << c.pszCase;
        EXPECT_EQ(rc.bottom < 200 - 20, c.bTabs) << c.pszCase;
        // Without a caption no button is ever hit.
        if (!c.bCaption) {
            EXPECT_EQ(pTabbed->HitTest(150, 5), CKLVDockingPaneTabbedContainer::htNothing) << c.pszCase;
        }
    }
}

TEST_F(TabbedContainerTest, DraggedTabSwapsWithTheTabUnderItAndTearsOutOffTheRow) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    CKLVDockingPane* c = tree.Pane(3);
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a, b, c});
    Relayout(pTabbed);
    CKLVDockingTabbedContainerTabs* pTabs = pTabbed->GetTabs();
    ASSERT_EQ(pTabs->GetItemCount(), 3);
    const CPoint ptFirst = pTabs->GetItem(0)->GetRect().CenterPoint();
    const CPoint ptLast = pTabs->GetItem(2)->GetRect().CenterPoint();
    ASSERT_GT(ptLast.x, ptFirst.x);

    pTabbed->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(ptFirst));
    EXPECT_EQ(pTabbed->GetTrackedPane(), a);
    EXPECT_EQ(pTabbed->GetSelected(), a);
    pTabbed->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(ptLast));
    EXPECT_EQ(Ids(pTabbed), (std::vector<UINT>{3, 2, 1}));
    EXPECT_EQ(pTabs->GetItem(2)->m_strCaption, a->GetTabCaption());

    // Off the row: action 16 for the tracked pane; a cancel keeps the tracking.
    site->m_nCancelActions = klvActionDragging;
    pTabbed->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(CPoint(ptFirst.x, 30)));
    EXPECT_EQ(pTabbed->GetTrackedPane(), a);
    site->m_nCancelActions = -1;
    // Torn out, the pane is dragged: well away from the docking area and dropped there.
    site->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, At(CPoint(700, 600)));
    site->PostMessage(WM_LBUTTONUP, 0, At(CPoint(700, 600)));
    pTabbed->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(CPoint(ptFirst.x, 30)));
    EXPECT_EQ(pTabbed->GetTrackedPane(), nullptr);
    // The pane floats in a frame of its own.
    EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionClicking, 1},
                                                               {klvActionDragging, 1},
                                                               {klvActionDragging, 1},
                                                               {klvActionFloating, 1},
                                                               {klvActionFloated, 1}}));
    EXPECT_TRUE(manager->IsFloatingSite(a->GetDockingSite()));
    EXPECT_EQ(a->GetRefCount(), manager->GetActivePane() == a ? 2 : 1);
}

TEST_F(TabbedContainerTest, OwnerThatClosesTheClickedPaneLeavesNothingTracked) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a, b});
    Relayout(pTabbed);
    const CPoint ptFirst = pTabbed->GetTabs()->GetItem(0)->GetRect().CenterPoint();
    site->m_onAction = [&](INT_PTR nAction) {
        if (nAction == klvActionClicking) pTabbed->RemovePane(a);
    };
    pTabbed->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(ptFirst));
    site->m_onAction = nullptr;
    EXPECT_EQ(pTabbed->GetTrackedPane(), nullptr);
    EXPECT_EQ(pTabbed->GetSelected(), b);
    EXPECT_EQ(a->GetRefCount(), 1);
}

TEST_F(TabbedContainerTest, HelpHitTestNamesThePaneUnderThePoint) {
    CKLVDockingPane* a = tree.Pane(703);
    CKLVDockingPane* b = tree.Pane(704);
    b->SetHelpID(55);
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a, b});
    pTabbed->SelectPane(a, FALSE, TRUE);
    Relayout(pTabbed);
    const struct { const char* pszCase; CPoint pt; LRESULT lExpected; } cases[] = {
        {"caption: the selected pane", CPoint(20, 5), 0x20000 + 703},
        {"tab of a pane with a help id", pTabbed->GetTabs()->GetItem(1)->GetRect().CenterPoint(), 0x20000 + 55},
        {"tab of the selected pane", pTabbed->GetTabs()->GetItem(0)->GetRect().CenterPoint(), 0x20000 + 703},
    };
    for (const auto& c : cases) EXPECT_EQ(pTabbed->SendMessage(WM_HELPHITTEST, 0, At(c.pt)), c.lExpected) << c.pszCase;
}

TEST_F(TabbedContainerTest, RightButtonSelectsTheTabAndTellsTheOwner) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a, b});
    pTabbed->SelectPane(a, FALSE, TRUE);
    Relayout(pTabbed);
    pTabbed->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, At(pTabbed->GetTabs()->GetItem(1)->GetRect().CenterPoint()));
    EXPECT_EQ(pTabbed->GetSelected(), b);
    EXPECT_EQ(site->Notes(klvDockingPaneRClick).size(), 1u);
}

TEST_F(TabbedContainerTest, CaptionButtonPressEndsOnReleaseEscapeQuitAndLostCapture) {
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({tree.Pane(1)});
    const CPoint ptButton = ButtonCenter(pTabbed, klvCaptionButtonClose);
    CKLVDockingPaneCaptionButton* pButton = pTabbed->FindCaptionButton(klvCaptionButtonClose);
    HWND hWnd = pTabbed->m_hWnd;
    // The frame releases the capture when the loop dispatches this, as another window taking
    // the mouse would.
    const UINT nStealCapture = WM_APP + 1;
    struct Case { const char* pszCase; std::function<void()> post; BOOL bExpected; WPARAM nQuitCode; };
    const Case cases[] = {
        {"released over the button", [&] { ::PostMessageA(hWnd, WM_LBUTTONUP, 0, At(ptButton)); }, TRUE, 0},
        {"moved off, then released",
         [&] {
             ::PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, At(CPoint(-5, -5)));
             ::PostMessageA(hWnd, WM_LBUTTONUP, 0, At(CPoint(-5, -5)));
         },
         FALSE, 0},
        {"Escape", [&] { ::PostMessageA(hWnd, WM_KEYDOWN, VK_ESCAPE, 0); }, FALSE, 0},
        {"quit request", [&] { ::PostQuitMessage(7); }, FALSE, 7},
        {"capture lost", [&] { ::PostMessageA(site->m_hWnd, nStealCapture, 0, 0); }, FALSE, 0},
    };
    site->m_onMessage = [&](UINT nMsg) {
        if (nMsg == nStealCapture) ::ReleaseCapture();
    };
    for (const Case& c : cases) {
        c.post();
        EXPECT_EQ(pButton->Click(pTabbed, ptButton), c.bExpected) << c.pszCase;
        EXPECT_FALSE(pButton->IsPressed()) << c.pszCase;
        EXPECT_NE(::GetCapture(), hWnd) << c.pszCase;
        MSG msg;
        const BOOL bQuit = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_EQ(bQuit != 0, c.nQuitCode != 0) << c.pszCase;
        if (bQuit) {
            EXPECT_EQ(msg.wParam, c.nQuitCode);
        }
        classlib_test::PumpPending();
    }
    site->m_onMessage = nullptr;
}

TEST_F(TabbedContainerTest, CaptionButtonsFollowTheMouseAndTheMenuButtonTellsTheOwner) {
    CKLVDockingPane* a = tree.Pane(1, CKLVDockingPane::optionMenuButton);
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a});
    const CPoint ptClose = ButtonCenter(pTabbed, klvCaptionButtonClose);
    CKLVDockingPaneCaptionButton* pClose = pTabbed->FindCaptionButton(klvCaptionButtonClose);
    const struct { const char* pszCase; int nEnabled; CPoint pt; BOOL bHot; } moves[] = {
        {"over the button", 3, ptClose, TRUE},
        {"off the button", 3, CPoint(5, 5), FALSE},
        {"over it, pane without flag 2", 1, ptClose, FALSE},
    };
    for (const auto& m : moves) {
        a->SetEnabled(m.nEnabled);
        pTabbed->SendMessage(WM_MOUSEMOVE, 0, At(m.pt));
        EXPECT_EQ(pClose->IsHot(), m.bHot) << m.pszCase;
    }
    a->SetEnabled(3);
    pTabbed->SendMessage(WM_MOUSEMOVE, 0, At(ptClose));
    pTabbed->SendMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(pClose->IsHot());

    const CPoint ptMenu = ButtonCenter(pTabbed, klvCaptionButtonMenu);
    pTabbed->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(ptMenu));
    const auto menus = site->Notes(klvDockingPaneMenu);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].nPaneID, 1u);
    EXPECT_FALSE(pTabbed->FindCaptionButton(klvCaptionButtonMenu)->IsPressed());
}

TEST_F(TabbedContainerTest, CaptionButtonsAndTabsShowTheirTipsUnderTheMouse) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    b->SetTitle("Second pane with a title too long for its tab");
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a, b});
    Relayout(pTabbed);
    const CPoint ptClose = ButtonCenter(pTabbed, klvCaptionButtonClose);
    EXPECT_EQ(ToolTipAfterMouseMove(pTabbed, ptClose), "Close");
    CKLVDockingTabbedContainerTabs* pTabs = pTabbed->GetTabs();
    ASSERT_EQ(pTabs->GetItemCount(), 2);
    const CPoint ptTab = pTabs->GetItem(1)->GetRect().CenterPoint();
    pTabs->GetPaintManager()->m_nToolTipMode = 1;   // every tab, truncated or not
    EXPECT_EQ(ToolTipAfterMouseMove(pTabbed, ptTab), "Second pane with a title too long for its tab");
    EXPECT_EQ(ToolTipAfterMouseMove(pTabbed, CPoint(-10, -10)), "");
}

TEST_F(TabbedContainerTest, TheContainerIsAnAccessibleTabListOfItsPanes) {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    a->SetTitle("Alpha");
    b->SetTitle("Beta");
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a, b});
    Relayout(pTabbed);
    IAccessible* pAccessible = nullptr;
    ASSERT_EQ(pTabbed->AccessibleObjectFromWindow(pTabbed->GetSafeHwnd(), static_cast<DWORD>(OBJID_CLIENT),
                                                  IID_IAccessible, reinterpret_cast<void**>(&pAccessible)),
              S_OK);
    VARIANT self = {}, role = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    ASSERT_EQ(pAccessible->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PAGETABLIST);
    LONG nCount = 0;
    EXPECT_EQ(pAccessible->get_accChildCount(&nCount), S_OK);
    EXPECT_EQ(nCount, 3);   // the selected pane's window, then one per tab

    // Children 2 and 3 are the panes, each placed on its own tab.
    CKLVDockingTabbedContainerTabs* pTabs = pTabbed->GetTabs();
    for (LONG nChild : {2, 3}) {
        VARIANT child = {};
        child.vt = VT_I4;
        child.lVal = nChild;
        IDispatch* pDispatch = nullptr;
        ASSERT_EQ(pAccessible->get_accChild(child, &pDispatch), S_OK) << nChild;
        IAccessible* pPane = nullptr;
        ASSERT_EQ(pDispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&pPane)), S_OK);
        BSTR name = nullptr;
        ASSERT_EQ(pPane->get_accDescription(self, &name), S_OK);
        EXPECT_EQ(std::wstring(name), nChild == 2 ? L"Alpha" : L"Beta");
        ::SysFreeString(name);
        CRect rcTab = pTabs->GetItem(static_cast<int>(nChild - 2))->GetRect();
        pTabbed->ClientToScreen(&rcTab);
        LONG x = 0, y = 0, cx = 0, cy = 0;
        ASSERT_EQ(pPane->accLocation(&x, &y, &cx, &cy, self), S_OK);
        EXPECT_EQ(CRect(x, y, x + cx, y + cy), rcTab) << nChild;
        // The point of the tab hits that pane.
        VARIANT hit = {};
        ASSERT_EQ(pAccessible->accHitTest(rcTab.CenterPoint().x, rcTab.CenterPoint().y, &hit), S_OK);
        ASSERT_EQ(hit.vt, VT_DISPATCH) << nChild;
        IAccessible* pHit = nullptr;
        ASSERT_EQ(hit.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&pHit)), S_OK);
        EXPECT_EQ(pHit, pPane) << nChild;
        pHit->Release();
        ::VariantClear(&hit);
        pPane->Release();
        pDispatch->Release();
    }
    // Outside the window nothing is hit.
    CRect rcWindow;
    pTabbed->GetWindowRect(&rcWindow);
    VARIANT outside = {};
    EXPECT_EQ(pAccessible->accHitTest(rcWindow.right + 5, rcWindow.bottom + 5, &outside), S_FALSE);
    pAccessible->Release();
    ::CoUninitialize();
}

TEST_F(TabbedContainerTest, AutoHideButtonReportsBeforeAndAfter) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({a});
    const CPoint ptPin = ButtonCenter(pTabbed, klvCaptionButtonAutoHide);
    ASSERT_FALSE(pTabbed->FindCaptionButton(klvCaptionButtonAutoHide)->GetRect().IsRectEmpty());
    site->m_nCancelActions = klvActionHiding;
    ClickAt(pTabbed, ptPin);
    EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionHiding, 1}}));
    site->m_notes.clear();
    site->m_nCancelActions = -1;
    ClickAt(pTabbed, ptPin);
    EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionHiding, 1}, {klvActionHidden, 1}}));
    ASSERT_TRUE(a->IsHidden());
    // The pin of the hidden group brings the pane back to its docked holder.
    auto* pGroup = static_cast<CKLVDockingPaneTabbedContainer*>(a->GetContainer());
    site->m_notes.clear();
    pGroup->OnCaptionButtonClick(pGroup->FindCaptionButton(klvCaptionButtonAutoHide));
    EXPECT_EQ(Actions(), (std::vector<std::pair<INT_PTR, UINT>>{{klvActionUnhiding, 1}, {klvActionUnhidden, 1}}));
    EXPECT_EQ(a->GetContainer(), pTabbed);
    classlib_test::PumpPending();
    // A pane that may not hide shows no pin.
    a->SetOptions(CKLVDockingPane::optionNoHide);
    ButtonCenter(pTabbed, klvCaptionButtonAutoHide);
    EXPECT_TRUE(pTabbed->FindCaptionButton(klvCaptionButtonAutoHide)->GetRect().IsRectEmpty());
}

TEST_F(TabbedContainerTest, MaximisedContainerTakesItsRowAndRestoreGivesItBack) {
    manager->m_bAllowMaximize = TRUE;
    CKLVDockingPane* a = manager->CreatePane(1, CRect(0, 0, 150, 120), klvDockBottom);
    CKLVDockingPane* b = manager->CreatePane(2, CRect(0, 0, 150, 120), klvDockRight, a);
    site->RecalcLayout();
    auto* pA = static_cast<CKLVDockingPaneTabbedContainer*>(a->GetContainer());
    auto* pB = static_cast<CKLVDockingPaneTabbedContainer*>(b->GetContainer());
    ASSERT_TRUE(pA->CanMaximise());
    const int nRow = pA->GetContainer()->GetPaneWindowRect().Width();
    ClickAt(pA, ButtonCenter(pA, klvCaptionButtonMaximize));
    EXPECT_TRUE(pA->IsMaximised());
    EXPECT_TRUE(pB->IsSiblingMaximised());
    EXPECT_EQ(pB->GetPaneWindowRect().Width(), 0);
    EXPECT_EQ(pA->GetPaneWindowRect().Width(), nRow - 4);
    // Maximised, the container offers Restore instead.
    ButtonCenter(pA, klvCaptionButtonRestore);
    EXPECT_TRUE(pA->FindCaptionButton(klvCaptionButtonMaximize)->GetRect().IsRectEmpty());
    ClickAt(pA, pA->FindCaptionButton(klvCaptionButtonRestore)->GetRect().CenterPoint());
    EXPECT_FALSE(pA->IsMaximised());
    EXPECT_GT(pB->GetPaneWindowRect().Width(), 0);
}

TEST_F(TabbedContainerTest, CaptionDoubleClickFloatsUnlessThePaneMayNot) {
    const struct { UINT nID; DWORD dwOptions; std::vector<std::pair<INT_PTR, UINT>> actions; BOOL bFloats; } cases[] = {
        {1, 0, {{klvActionFloating, 1}, {klvActionFloated, 1}}, TRUE},
        {2, CKLVDockingPane::optionNoFloat, {}, FALSE},
    };
    for (const auto& c : cases) {
        CKLVDockingPane* a = tree.Pane(c.nID);
        CKLVDockingPaneTabbedContainer* pTabbed = Dock({a});
        site->m_notes.clear();
        a->SetOptions(c.dwOptions);
        pTabbed->SendMessage(WM_LBUTTONDBLCLK, 0, At(CPoint(20, 5)));
        EXPECT_EQ(Actions(), c.actions) << c.dwOptions;
        EXPECT_EQ(a->GetContainer() == pTabbed, !c.bFloats) << c.dwOptions;
        EXPECT_EQ(manager->IsFloatingSite(a->GetDockingSite()), c.bFloats) << c.dwOptions;
    }
}

TEST(DockingActiveState, FocusInsideAContainerMakesItsPaneTheActiveOne) {
    // A visible site: focus needs a window that can show.
    auto* pSite = new CRecordingFrame;
    ASSERT_TRUE(pSite->Create(nullptr, "site", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), classlib_test::VisibleStage()));
    {
        CKLVDockingPaneManager manager;
        ASSERT_TRUE(manager.InstallDockingPanes(pSite));
        pSite->m_pManager = &manager;
        pSite->m_bAnswerLikeApp = TRUE;
        CKLVDockingPane* pPane = manager.CreatePane(703, CRect(0, 0, 150, 120), klvDockBottom);
        pSite->RecalcLayout();
        ASSERT_TRUE(pPane->IsAttached());
        auto* pTabbed = static_cast<CKLVDockingPaneTabbedContainer*>(pPane->GetContainer());
        auto actions = [&] {
            std::vector<INT_PTR> seen;
            for (const DockingNote& note : pSite->Notes(klvDockingPaneAction)) seen.push_back(note.nAction);
            pSite->m_notes.clear();
            return seen;
        };
        actions();
        ::SetFocus(pPane->GetChild());
        manager.CheckFocus();
        EXPECT_TRUE(pTabbed->IsActive());
        EXPECT_EQ(manager.GetActivePane(), pPane);
        EXPECT_EQ(actions(), std::vector<INT_PTR>{klvActionActivated});
        // The same focus again reports nothing.
        manager.CheckFocus();
        EXPECT_TRUE(actions().empty());
        ::SetFocus(pSite->m_hWnd);
        manager.CheckFocus();
        EXPECT_FALSE(pTabbed->IsActive());
        EXPECT_EQ(manager.GetActivePane(), nullptr);
        EXPECT_EQ(actions(), std::vector<INT_PTR>{klvActionDeactivated});
        pSite->m_pManager = nullptr;
    }
    pSite->DestroyWindow();
}

namespace {

// Stands in for the auto-hide sliding window, which the container knows by its class name.
class CKLVDockingPaneAutoHideWnd : public CWnd {
    DECLARE_DYNAMIC(CKLVDockingPaneAutoHideWnd)
};
IMPLEMENT_DYNAMIC(CKLVDockingPaneAutoHideWnd, CWnd)

}  // namespace

TEST_F(TabbedContainerTest, NoTabsInsideTheSlidingWindow) {
    CKLVDockingPaneTabbedContainer* pTabbed = Dock({tree.Pane(1), tree.Pane(2)});
    EXPECT_TRUE(pTabbed->IsTabsVisible());
    CKLVDockingPaneAutoHideWnd sliding;
    ASSERT_TRUE(sliding.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD, CRect(0, 0, 100, 100), site, 0));
    ::SetParent(pTabbed->m_hWnd, sliding.m_hWnd);
    EXPECT_FALSE(pTabbed->IsTabsVisible());
    ::SetParent(pTabbed->m_hWnd, site->m_hWnd);
    EXPECT_TRUE(pTabbed->IsTabsVisible());
}

TEST_F(TabbedContainerTest, CaptionRunsDownTheSideWhenTheSettingSaysSo) {
    CKLVDockingPane* pBottom = manager->CreatePane(1, CRect(0, 0, 150, 120), klvDockBottom);
    CKLVDockingPane* pLeft = manager->CreatePane(2, CRect(0, 0, 100, 120), klvDockLeft);
    site->RecalcLayout();
    auto* pWide = static_cast<CKLVDockingPaneTabbedContainer*>(pBottom->GetContainer());
    auto* pTall = static_cast<CKLVDockingPaneTabbedContainer*>(pLeft->GetContainer());
    ASSERT_GT(pWide->GetPaneWindowRect().Width(), pWide->GetPaneWindowRect().Height());
    ASSERT_LT(pTall->GetPaneWindowRect().Width(), pTall->GetPaneWindowRect().Height());
    const struct { int nSetting; BOOL bWide, bTall; } cases[] = {
        {0, FALSE, FALSE}, {1, TRUE, TRUE}, {2, TRUE, FALSE}, {3, TRUE, FALSE},
    };
    for (const auto& c : cases) {
        manager->m_nCaptionDirection = c.nSetting;
        EXPECT_EQ(pWide->IsCaptionVertical(), c.bWide) << c.nSetting;
        EXPECT_EQ(pTall->IsCaptionVertical(), c.bTall) << c.nSetting;
    }
    // A vertical caption takes the left edge: the pane area starts right of it, the band is
    // hit as the caption and drawn there.
    manager->m_nCaptionDirection = 1;
    const int nCaption = manager->GetPaintManager()->GetCaptionHeight();
    CRect rcArea(0, 0, 200, 100);
    manager->GetPaintManager()->AdjustClientRect(pWide, rcArea, TRUE);
    EXPECT_EQ(rcArea, CRect(nCaption, 0, 200, 100));
    site->RecalcLayout();
    EXPECT_EQ(pWide->HitTest(nCaption / 2, 60), CKLVDockingPaneTabbedContainer::htCaption);
    EXPECT_EQ(pWide->HitTest(nCaption + 5, 5), CKLVDockingPaneTabbedContainer::htNothing);
    tabs_test::Canvas canvas;
    manager->GetPaintManager()->DrawTabbedContainer(&canvas.m_dc, pWide, CRect(0, 0, 200, 100));
    const COLORREF clrInactive = static_cast<CKLVDockingPaneTheme9*>(manager->GetPaintManager())->m_clrInactiveCaption.m_clrFrom;
    EXPECT_EQ(canvas.At(nCaption / 2, 40), clrInactive);
    EXPECT_NE(canvas.At(nCaption + 5, 2), clrInactive);
    // The buttons sit at the far (bottom) end of the band.
    const CRect rcClose = pWide->FindCaptionButton(klvCaptionButtonClose)->GetRect();
    EXPECT_EQ(rcClose.bottom, 100 - 2);
    EXPECT_LT(rcClose.right, nCaption + 1);
}
