// The ribbon's mouse on a hidden frame: its caption band moves and sizes the frame (the system
// commands are recorded, no move or size loop starts), double clicks minimise and restore, the
// frame's wheel switches tabs, and the context menu's content and commands.
#include "RibbonFrameTestSupport.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/ribbon/RibbonControls.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupControlPopup.h"
#include "toolkit/ribbon/RibbonQuickAccessPopups.h"

#include <gtest/gtest.h>

#include <vector>

namespace ribbon_test {
namespace {

struct InputFixture : CRibbonThreeTabsFixture {
    InputFixture() {
        pTabs->SetSelectedItem(tabs[0]);
        Layout(600);
    }
    LRESULT Send(UINT nMessage, CPoint pt) const {
        return m_pRibbon->SendMessage(nMessage, nMessage == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    void Click(CPoint pt, BOOL bDouble) const {
        Send(WM_LBUTTONDOWN, pt);
        Send(WM_LBUTTONUP, pt);
        if (!bDouble) return;
        Send(WM_LBUTTONDBLCLK, pt);
        Send(WM_LBUTTONUP, pt);
    }
    // A point of the caption band that no control covers.
    CPoint CaptionPoint(int y) const { return CPoint(m_pRibbon->m_rcCaption.CenterPoint().x, y); }
    CPoint TabPoint(int nTab) const { return tabs[nTab]->GetRect().CenterPoint(); }
    void SetFrameStyle(DWORD dwAdd, DWORD dwRemove) const {
        const LONG_PTR lStyle = ::GetWindowLongPtrA(m_hFrame, GWL_STYLE);
        ::SetWindowLongPtrA(m_hFrame, GWL_STYLE, (lStyle | dwAdd) & ~static_cast<LONG_PTR>(dwRemove));
    }
    // A button of a group on the first tab.
    CKLVControl* AddGroupButton(int nId) {
        CKLVRibbonGroups* pGroups = tabs[0]->GetGroups();
        CKLVRibbonGroup* pGroup = pGroups->GetCount() ? pGroups->GetAt(0) : pGroups->Insert(new CKLVRibbonGroup);
        auto* pButton = new CKLVControlButton;
        pButton->m_nId = nId;
        pButton->SetCaption("Paste");
        m_pRibbon->GetControls()->Append(pButton);
        pGroup->AddControl(pButton);
        return pButton;
    }
};

// The ids of the visible items of a menu, in order.
std::vector<int> VisibleIds(CKLVCommandBar* pMenu) {
    std::vector<int> ids;
    for (int i = 0; i < pMenu->GetControlCount(); ++i)
        if (pMenu->GetControl(i)->IsVisible()) ids.push_back(pMenu->GetControl(i)->GetId());
    return ids;
}

CKLVControl* FindItem(CKLVCommandBar* pMenu, UINT nId) { return pMenu->GetControls()->FindControl(static_cast<int>(nId)); }

TEST(RibbonBarInput, TheCaptionBandMovesAndSizesTheFrameLikeItsCaption) {
    const int kTop = 1, kMiddle = -1;   // -1: just above the caption band's bottom
    const struct {
        int y;
        BOOL bMaximized, bSizeGreyed, bThickFrame;
        int nHitTest;
        std::vector<UINT> sysCommands;
    } cases[] = {
        {kTop, FALSE, FALSE, TRUE, HTTOP, {SC_SIZE + 3}},
        {kMiddle, FALSE, FALSE, TRUE, HTCAPTION, {SC_MOVE + 2}},
        {kTop, FALSE, FALSE, FALSE, HTCAPTION, {SC_MOVE + 2}},
        {kTop, FALSE, TRUE, TRUE, HTTOP, {}},
        {kMiddle, FALSE, TRUE, TRUE, HTCAPTION, {SC_MOVE + 2}},
        {kTop, TRUE, FALSE, TRUE, HTCAPTION, {}},
        {kMiddle, TRUE, FALSE, TRUE, HTCAPTION, {}},
    };
    for (const auto& c : cases) {
        InputFixture fx;
        ASSERT_NE(fx.m_pRibbon->GetFrameIntegration(), nullptr);
        fx.SetFrameStyle(c.bMaximized ? WS_MAXIMIZE : 0, c.bThickFrame ? 0 : WS_THICKFRAME);
        if (c.bSizeGreyed) ::EnableMenuItem(::GetSystemMenu(fx.m_hFrame, FALSE), SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
        const CPoint pt = fx.CaptionPoint(c.y == kMiddle ? fx.m_pRibbon->m_rcCaption.bottom - 2 : c.y);
        EXPECT_EQ(fx.m_pRibbon->HitTestCaption(pt), c.nHitTest) << c.y << c.bMaximized << c.bThickFrame;
        fx.Send(WM_LBUTTONDOWN, pt);
        EXPECT_EQ(fx.m_pFrame->m_sysCommands, c.sysCommands) << c.y << c.bMaximized << c.bSizeGreyed << c.bThickFrame;
    }
}

TEST(RibbonBarInput, AnEdgePressSizesFromThatEdge) {
    const struct {
        int nHitTest;
        UINT nExpected;
    } cases[] = {
        {HTLEFT, SC_SIZE + 1}, {HTRIGHT, SC_SIZE + 2}, {HTTOP, SC_SIZE + 3}, {HTBOTTOMRIGHT, SC_SIZE + 8},
        {HTCAPTION, SC_MOVE + 2},
    };
    InputFixture fx;
    for (const auto& c : cases) {
        fx.m_pFrame->m_sysCommands.clear();
        fx.m_pRibbon->OnCaptionButtonDown(c.nHitTest);
        EXPECT_EQ(fx.m_pFrame->m_sysCommands, std::vector<UINT>{c.nExpected}) << c.nHitTest;
    }
    // Codes that are neither the caption nor an edge do nothing.
    fx.m_pFrame->m_sysCommands.clear();
    for (int nHitTest : {HTCLIENT, HTNOWHERE, HTCLOSE}) fx.m_pRibbon->OnCaptionButtonDown(nHitTest);
    EXPECT_TRUE(fx.m_pFrame->m_sysCommands.empty());
}

TEST(RibbonBarInput, DoubleClickingTheSelectedTabTwiceMinimisesThenRestores) {
    for (BOOL bOption : {TRUE, FALSE}) {
        InputFixture fx;
        fx.m_pRibbon->m_bMinimizeOnDoubleClick = bOption;
        fx.Click(fx.TabPoint(1), FALSE);
        ASSERT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[1]) << "a press selects the tab";
        fx.Click(fx.TabPoint(1), TRUE);
        EXPECT_EQ(fx.m_pRibbon->IsMinimized(), bOption);
        fx.Layout(600);
        fx.Click(fx.TabPoint(1), TRUE);
        EXPECT_FALSE(fx.m_pRibbon->IsMinimized()) << bOption;
        EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[1]) << bOption;
        EXPECT_TRUE(fx.m_pFrame->m_sysCommands.empty());
    }
}

TEST(RibbonBarInput, TheFramesWheelSwitchesTabsWithDeltaZeroCountingAsForward) {
    const struct {
        short nDelta;
        int nExpected;
    } cases[] = {{0, 2}, {-WHEEL_DELTA, 2}, {WHEEL_DELTA, 0}, {-1, 2}};
    for (const auto& c : cases) {
        InputFixture fx;
        fx.m_pRibbon->ShowWindow(SW_SHOWNA);
        fx.pTabs->SetSelectedItem(fx.tabs[1]);
        ::SendMessageA(fx.m_hFrame, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.nDelta)), 0);
        EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[c.nExpected]) << c.nDelta;
    }
}

TEST(RibbonBarInput, TheWheelOverTheRibbonSwitchesTabsBeforeTheFrameSeesIt) {
    // The pointer is shared with other test programs and stays where it is: the frame moves so
    // that the ribbon lies under it, or away from it.
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    const struct {
        short nDelta;
        BOOL bOver;
        int nExpected;
    } cases[] = {{-WHEEL_DELTA, TRUE, 2}, {0, TRUE, 2}, {WHEEL_DELTA, TRUE, 0}, {-WHEEL_DELTA, FALSE, 1}};
    for (const auto& c : cases) {
        InputFixture fx;
        fx.m_pRibbon->ShowWindow(SW_SHOWNA);
        fx.pTabs->SetSelectedItem(fx.tabs[1]);
        CRect rcFrame, rcRibbon;
        fx.m_pFrame->GetWindowRect(&rcFrame);
        fx.m_pRibbon->GetWindowRect(&rcRibbon);
        const CPoint ptTarget(ptCursor.x, c.bOver ? ptCursor.y : ptCursor.y + rcFrame.Height() + rcRibbon.Height());
        const CPoint ptFrame(ptTarget.x - (rcRibbon.CenterPoint().x - rcFrame.left),
                             ptTarget.y - (rcRibbon.CenterPoint().y - rcFrame.top));
        fx.m_pFrame->SetWindowPos(nullptr, ptFrame.x, ptFrame.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        MSG msg = {};
        msg.hwnd = fx.m_hFrame;
        msg.message = WM_MOUSEWHEEL;
        msg.wParam = MAKEWPARAM(0, static_cast<WORD>(c.nDelta));
        EXPECT_EQ(fx.m_pCommandBars->PreTranslateFrameMessage(&msg), c.bOver) << c.nDelta << c.bOver;
        EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[c.nExpected]) << c.nDelta << c.bOver;
    }
}

TEST(RibbonBarInput, AGroupThatGoesIsNoLongerTheHotOne) {
    const struct {
        const char* pszName;
        void (*remove)(CKLVRibbonTab* pTab);
    } cases[] = {
        {"its tab is removed", [](CKLVRibbonTab* pTab) { pTab->Remove(); }},
        {"its tab's groups are removed", [](CKLVRibbonTab* pTab) { pTab->GetGroups()->RemoveAll(); }},
    };
    for (const auto& c : cases) {
        InputFixture fx;
        fx.AddGroupButton(100);
        fx.Layout(600);
        // As the mouse leaves it hot (an active frame is needed for the mouse to do it).
        fx.m_pRibbon->m_pHighlightedGroup = fx.tabs[0]->GetGroups()->GetAt(0);
        c.remove(fx.tabs[0]);
        EXPECT_EQ(fx.m_pRibbon->GetHighlightedGroup(), nullptr) << c.pszName;
        fx.m_pRibbon->SendMessage(WM_MOUSELEAVE);
    }
}

TEST(RibbonBarInput, TheContextMenuOffersWhatFitsTheControl) {
    enum Target { groupButton, quickAccessButton, customizeButton };
    const int kLabel = CKLVRibbonBar::idQuickAccessCommandsLabel;
    const int kToolbars = static_cast<int>(CKLVCommandBars::idToolBarsList);
    const struct {
        Target target;
        BOOL bBelow, bCustomizable;
        std::vector<int> ids;   // 0: a command list item
    } cases[] = {
        {groupButton, FALSE, TRUE, {9606, 9607, 9608, 9612}},
        {groupButton, TRUE, TRUE, {9606, 9607, 9610, 9612}},
        {groupButton, FALSE, FALSE, {9607, 9608, 9612}},
        {quickAccessButton, FALSE, TRUE, {9605, 9607, 9608, 9612}},
        {customizeButton, FALSE, TRUE, {kLabel, 0, 9607, 9608, 9612}},
        {customizeButton, TRUE, FALSE, {9607, 9610, 9612}},
    };
    for (const auto& c : cases) {
        InputFixture fx;
        CKLVRibbonBar* pRibbon = fx.m_pRibbon;
        CKLVControl* pGrouped = fx.AddGroupButton(57603);
        // The tool bar's default set: one command.
        pRibbon->GetQuickAccessControls()->Append(new CKLVControlButton)->m_nId = 57604;
        pRibbon->GetQuickAccessControls()->CreateOriginalControls();
        pRibbon->SetQuickAccessBelow(c.bBelow);
        pRibbon->m_bQuickAccessCustomizable = c.bCustomizable;
        CKLVControl* pTarget = c.target == groupButton        ? pGrouped
                               : c.target == customizeButton ? pRibbon->GetCustomizePopup()
                                                             : pRibbon->GetQuickAccessControls()->GetAt(0);
        fx.m_pFrame->m_watched = {CKLVCommandBars::msgToolBarContextMenu};
        const long nRefs = pTarget->GetRefCount();
        CKLVCommandBar* pMenu = pRibbon->CreateContextMenu(pTarget);
        ASSERT_NE(pMenu, nullptr);
        // The customize button keeps its menu: the menu must not keep the button in turn.
        EXPECT_EQ(pTarget->GetRefCount(), nRefs + (c.target == customizeButton ? 0 : 1));
        EXPECT_EQ(fx.m_pFrame->m_recorded.size(), 1u) << "the frame may change the menu first";
        EXPECT_EQ(VisibleIds(pMenu), c.ids) << c.target << c.bBelow << c.bCustomizable;
        EXPECT_NE(FindItem(pMenu, kToolbars), nullptr) << "the tool bar list";
        EXPECT_EQ(FindItem(pMenu, CKLVRibbonBar::idQuickAccessCommandList), nullptr);
        const CString strMore = FindItem(pMenu, CKLVRibbonBar::idCustomizeCommands)->GetCaption();
        EXPECT_EQ(strMore == "Customize", !c.bCustomizable) << static_cast<LPCTSTR>(strMore);
        pMenu->InternalRelease();
    }
}

TEST(RibbonBarInput, ContextCommandsChangeTheQuickAccessToolBarAndTheMinimisedState) {
    InputFixture fx;
    CKLVRibbonBar* pRibbon = fx.m_pRibbon;
    CKLVRibbonQuickAccessControls* pQuickAccess = pRibbon->GetQuickAccessControls();
    CKLVControl* pGrouped = fx.AddGroupButton(57603);
    auto run = [&](CKLVControl* pTarget, UINT nId) {
        CKLVCommandBar* pMenu = pRibbon->CreateContextMenu(pTarget);
        ASSERT_NE(pMenu, nullptr);
        CKLVControl* pItem = FindItem(pMenu, nId);
        ASSERT_NE(pItem, nullptr) << nId;
        ASSERT_TRUE(pItem->IsVisible()) << nId;
        pItem->OnExecute();
        pMenu->InternalRelease();
    };
    run(pGrouped, CKLVRibbonBar::idAddToQuickAccess);
    ASSERT_EQ(pQuickAccess->GetCount(), 1);
    CKLVControl* pAdded = pQuickAccess->GetAt(0);
    EXPECT_NE(pAdded, pGrouped) << "the tool bar holds a clone";
    EXPECT_EQ(pAdded->GetId(), 57603);
    EXPECT_EQ(pRibbon->GetControl(0), pAdded);

    // The command is on the tool bar now: its menu offers remove, not add.
    CKLVCommandBar* pMenu = pRibbon->CreateContextMenu(pGrouped);
    EXPECT_FALSE(FindItem(pMenu, CKLVRibbonBar::idAddToQuickAccess)->IsVisible());
    pMenu->InternalRelease();
    run(pAdded, CKLVRibbonBar::idRemoveFromQuickAccess);
    EXPECT_EQ(pQuickAccess->GetCount(), 0);
    EXPECT_EQ(pRibbon->FindGroupOf(pGrouped), fx.tabs[0]->GetGroups()->GetAt(0)) << "the original stays";

    run(pGrouped, CKLVRibbonBar::idMinimizeRibbon);
    EXPECT_TRUE(pRibbon->IsMinimized());
    pMenu = pRibbon->CreateContextMenu(pGrouped);
    EXPECT_TRUE(FindItem(pMenu, CKLVRibbonBar::idMinimizeRibbon)->GetChecked());
    pMenu->InternalRelease();
    run(pGrouped, CKLVRibbonBar::idMinimizeRibbon);
    EXPECT_FALSE(pRibbon->IsMinimized());

    run(pGrouped, CKLVRibbonBar::idShowQuickAccessBelow);
    EXPECT_TRUE(pRibbon->IsQuickAccessBelow());
    run(pGrouped, CKLVRibbonBar::idShowQuickAccessAbove);
    EXPECT_FALSE(pRibbon->IsQuickAccessBelow());

    // "Customize" goes to the frame, as a command when it does not answer the notification.
    fx.m_pFrame->m_watched = {WM_COMMAND};
    run(pGrouped, CKLVRibbonBar::idCustomizeCommands);
    ASSERT_EQ(fx.m_pFrame->m_recorded.size(), 1u);
    EXPECT_EQ(LOWORD(fx.m_pFrame->m_recorded[0].wParam), CKLVRibbonBar::idCustomizeCommands);
}

TEST(RibbonBarInput, ARightPressOnAGroupsCaptionIsForTheGroupsButton) {
    InputFixture fx;
    CKLVControl* pButton = fx.AddGroupButton(57603);
    CKLVRibbonGroup* pGroup = fx.tabs[0]->GetGroups()->GetAt(0);
    pGroup->m_nId = 7;
    fx.Layout(600);
    const CRect rc = pGroup->GetRect();
    EXPECT_EQ(fx.m_pRibbon->GetContextMenuControl(pButton->GetRect().CenterPoint()), pButton);
    EXPECT_EQ(fx.m_pRibbon->GetContextMenuControl(CPoint(rc.right - 2, rc.top + 1)), nullptr) << "above the caption";
    // The group is not collapsed: its button exists for the menu but stays hidden.
    CKLVControl* pGroupButton = fx.m_pRibbon->GetContextMenuControl(CPoint(rc.left + 1, rc.bottom - 2));
    ASSERT_NE(pGroupButton, nullptr);
    EXPECT_EQ(pGroupButton, static_cast<CKLVControl*>(pGroup->GetControlPopup()));
    EXPECT_FALSE(pGroupButton->IsVisible());
    CKLVCommandBar* pMenu = fx.m_pRibbon->CreateContextMenu(pGroupButton);
    FindItem(pMenu, CKLVRibbonBar::idAddToQuickAccess)->OnExecute();
    pMenu->InternalRelease();
    ASSERT_EQ(fx.m_pRibbon->GetQuickAccessControls()->GetCount(), 1);
    EXPECT_EQ(fx.m_pRibbon->GetQuickAccessControls()->GetAt(0)->GetId(), 7);
}

TEST(RibbonBarInput, TheCustomizeButtonsCopyInTheMorePopupOpensTheQuickAccessMenu) {
    InputFixture fx;
    for (int i = 0; i < 12; ++i) fx.m_pRibbon->GetQuickAccessControls()->Append(new CKLVControlButton)->SetCaption("Cmd");
    // The controls' own layout request must not undo this narrow layout at the window's width.
    fx.Layout(300);
    auto* pMore = static_cast<CKLVControlPopup*>(fx.m_pRibbon->GetMorePopup());
    ASSERT_TRUE(pMore->IsVisible());
    ASSERT_TRUE(pMore->OnSetPopup(TRUE));
    CKLVCommandBar* pMorePopup = pMore->GetCommandBar();
    auto* pCopy = dynamic_cast<CKLVRibbonBarControlQuickAccessPopup*>(pMorePopup->GetControl(pMorePopup->GetControlCount() - 1));
    ASSERT_NE(pCopy, nullptr);
    EXPECT_EQ(pCopy->GetRibbonBar(), fx.m_pRibbon);
    const long nRefs = pCopy->GetRefCount();
    CKLVCommandBar* pMenu = fx.m_pRibbon->CreateContextMenu(pCopy);
    ASSERT_NE(pMenu, nullptr);
    EXPECT_NE(FindItem(pMenu, CKLVRibbonBar::idQuickAccessCommandsLabel), nullptr) << "the customize button's menu";
    EXPECT_EQ(pCopy->GetRefCount(), nRefs);
    pMenu->InternalRelease();
}

TEST(RibbonBarInput, AHiddenQuickAccessToolBarLeavesTheBarsOrdinaryMenu) {
    InputFixture fx;
    fx.m_pRibbon->m_bQuickAccessVisible = FALSE;
    fx.m_pFrame->m_watched = {CKLVCommandBars::msgToolBarContextMenu};
    // The ribbon is the only bar and lists no tool bars: nothing is left to show.
    EXPECT_EQ(fx.m_pRibbon->CreateContextMenu(fx.AddGroupButton(57603)), nullptr);
    ASSERT_EQ(fx.m_pFrame->m_recorded.size(), 1u);
    EXPECT_EQ(fx.m_pFrame->m_recorded[0].wParam, reinterpret_cast<WPARAM>(fx.m_pRibbon));
}

}  // namespace
}  // namespace ribbon_test
