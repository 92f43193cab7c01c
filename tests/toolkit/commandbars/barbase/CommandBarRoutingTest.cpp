// The bar window's routing that involves the command bars: context-help hit tests in a frame's
// help mode, tooltips (the shared tooltip host, the tool hit test), the right button, and the
// customize drag that starts on a control.
#include "ControlTestSupport.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/commandbars/tooltips/ToolTipContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using commandbars_test::CTestBar;
using commandbars_test::CTestSite;

namespace {

// A button that records what the bar routes to it.
class CRecordingButton : public CKLVControlButton {
public:
    BOOL OnRButtonDown(CPoint pt) override {
        m_calls.push_back("rdown");
        m_pt = pt;
        return m_bTakeRButton;
    }
    void OnRButtonUp(CPoint pt) override {
        m_calls.push_back("rup");
        m_pt = pt;
    }
    void OnMouseRelease(CPoint pt) override {
        m_calls.push_back("release");
        m_pt = pt;
    }
    void OnClick(BOOL bKeyboard, CPoint pt) override {
        if (IsCustomizeMode()) {
            CKLVControlButton::OnClick(bKeyboard, pt);
            return;
        }
        m_calls.push_back("click");
        m_pt = pt;
    }
    BOOL IsCustomizeResizeAllowed() const override { return m_bResizable; }
    BOOL OnCustomizeResize(CPoint) override {
        m_calls.push_back("resize");
        return TRUE;
    }

    std::vector<std::string> m_calls;
    CPoint m_pt;
    BOOL m_bTakeRButton = FALSE;
    BOOL m_bResizable = FALSE;
};

// Counts the messages it filters and the references bars hold on it; fills tool records.
class CTestToolTipContext : public CKLVToolTipContext {
public:
    void FilterToolTipMessage(CWnd*, UINT message, WPARAM, LPARAM) override { m_filtered.push_back(message); }
    void FillInToolInfoEx(TOOLINFO* pTI, HWND hWnd, const CRect& rcTool, INT_PTR nHit, const CString& strText,
                          const CString& strTitle, const CString& strDescription, CKLVImageManager*) override {
        pTI->hwnd = hWnd;
        pTI->uId = static_cast<UINT_PTR>(nHit);
        pTI->rect = rcTool;
        m_strText = strText;
        m_strTitle = strTitle;
        m_strDescription = strDescription;
    }

    std::vector<UINT> m_filtered;
    CString m_strText, m_strTitle, m_strDescription;
};

// The command bars as far as these bars ask for them.
class CTestLink : public CKLVCommandBarsLink {
public:
    BOOL IsCustomizeMode() const override { return m_bCustomize; }
    CKLVToolTipContext* GetToolTipContext() const override { return m_pContext; }
    BOOL IsToolBarScreenTips() const override { return m_bScreenTips; }
    BOOL IsToolBarAccelTips() const override { return m_bAccelTips; }
    BOOL IsPopupBarTips() const override { return m_bPopupTips; }
    CKLVAccelManager* GetAccelManager() const override { return m_pAccelManager; }
    void RegisterCustomizeTarget(CKLVCommandBar* pBar) override { m_targets.push_back(pBar); }
    void UnregisterCustomizeTarget(CKLVCommandBar* pBar) override {
        m_targets.erase(std::remove(m_targets.begin(), m_targets.end(), pBar), m_targets.end());
    }
    CKLVControl* GetDragControl() const override { return m_pDragControl; }
    void SetDragControl(CKLVControl* pControl) override { m_pDragControl = pControl; }
    DWORD DoCustomizeDragDrop(CKLVControl* pControl, BOOL bCopyOnly) override {
        m_dragged.push_back(pControl->GetId());
        EXPECT_FALSE(bCopyOnly);
        return m_dwDropEffect;
    }
    void ShowCustomizeContextMenu(CKLVCommandBar*, CKLVControl* pControl, POINT ptScreen) override {
        m_pMenuControl = pControl;
        m_ptMenu = ptScreen;
    }

    BOOL m_bCustomize = FALSE;
    CKLVToolTipContext* m_pContext = nullptr;
    BOOL m_bScreenTips = TRUE, m_bAccelTips = FALSE, m_bPopupTips = FALSE;
    CKLVAccelManager* m_pAccelManager = nullptr;
    std::vector<CKLVCommandBar*> m_targets;
    CKLVControl* m_pDragControl = nullptr;
    std::vector<int> m_dragged;
    DWORD m_dwDropEffect = DROPEFFECT_NONE;
    CKLVControl* m_pMenuControl = nullptr;
    CPoint m_ptMenu;
};

// A hidden bar of a given type and position whose command bars are the link, or none.
class CLinkedBar : public CKLVCommandBar {
public:
    CLinkedBar(CWnd* pOwner, CKLVCommandBarsLink* pLink, int nType = barTypeNormal, int nPosition = barTop) {
        m_pOwner = pOwner;
        m_pLink = pLink;
        m_barType = nType;
        m_barPosition = nPosition;
        CreateEx(0, AfxRegisterWndClass(0), "bar", WS_POPUP, CRect(50, 60, 250, 100), nullptr, 0);
    }
    ~CLinkedBar() override { DestroyWindow(); }
    void OnRecalcLayout() override { ++m_nLayouts; }
    int m_nLayouts = 0;
};

CRecordingButton* AddRecording(CKLVCommandBar& bar, int nId, CRect rc, int nType = CKLVControl::typeButton) {
    auto* pControl = new CRecordingButton;
    pControl->m_nId = nId;
    pControl->m_nType = nType;
    pControl->m_rcControl = rc;
    bar.GetControls()->Append(pControl);
    return pControl;
}

LPARAM ScreenPoint(CWnd& wnd, CPoint pt) {
    wnd.ClientToScreen(&pt);
    return MAKELPARAM(pt.x, pt.y);
}

// A hidden frame whose help mode the bars read.
class CHelpFrame {
public:
    CHelpFrame() : m_pFrame(new CFrameWnd) { m_pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW); }
    ~CHelpFrame() { m_pFrame->DestroyWindow(); }
    CFrameWnd* m_pFrame;
};

class CommandBarRouting : public ::testing::Test {
protected:
    void SetUp() override { CKLVFlatTestTheme::Register(); }
    CTestSite m_site;
    CTestLink m_link;
};

}  // namespace

TEST_F(CommandBarRouting, ContextHelpHitTestsAnswerForCommandsAndSubmenus) {
    CHelpFrame frame;
    CLinkedBar bar(frame.m_pFrame, nullptr);
    AddRecording(bar, 10, CRect(0, 0, 20, 20));
    AddRecording(bar, 0, CRect(20, 0, 40, 20), CKLVControl::typePopup);
    AddRecording(bar, 11, CRect(40, 0, 60, 20), CKLVControl::typeButtonPopup);
    AddRecording(bar, 0, CRect(60, 0, 80, 20), CKLVControl::typeSplitButtonPopup);
    AddRecording(bar, 0, CRect(80, 0, 100, 20));
    const struct {
        const char* what;
        CPoint pt;
        LRESULT inHelpMode, outside;
    } cases[] = {
        {"command", CPoint(5, 5), HTCLIENT, HTCLIENT},
        {"submenu without command", CPoint(25, 5), HTMENU, HTCLIENT},
        {"button popup with command", CPoint(45, 5), HTCLIENT, HTCLIENT},
        {"split popup without command", CPoint(65, 5), HTMENU, HTCLIENT},
        {"button without command", CPoint(85, 5), HTCLIENT, HTCLIENT},
        {"empty bar space", CPoint(150, 5), HTCLIENT, HTCLIENT},
        {"beside the window", CPoint(-10, 5), HTCLIENT, HTNOWHERE},
    };
    for (BOOL bHelpMode : {TRUE, FALSE}) {
        frame.m_pFrame->m_bHelpMode = bHelpMode;
        for (const auto& c : cases)
            EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, ScreenPoint(bar, c.pt)), bHelpMode ? c.inHelpMode : c.outside)
                << c.what << " help mode " << bHelpMode;
    }
}

TEST_F(CommandBarRouting, ANonClientClickInHelpModeIsAClickAtTheClientPoint) {
    CHelpFrame frame;
    CLinkedBar bar(frame.m_pFrame, nullptr);
    CRecordingButton* pButton = AddRecording(bar, 10, CRect(10, 0, 30, 20));
    bar.SendMessage(WM_NCLBUTTONDOWN, HTCLIENT, ScreenPoint(bar, CPoint(12, 7)));
    EXPECT_TRUE(pButton->m_calls.empty());
    frame.m_pFrame->m_bHelpMode = TRUE;
    bar.SendMessage(WM_NCLBUTTONDOWN, HTCLIENT, ScreenPoint(bar, CPoint(12, 7)));
    EXPECT_EQ(pButton->m_calls, std::vector<std::string>{"click"});
    EXPECT_EQ(pButton->m_pt, CPoint(12, 7));
}

TEST_F(CommandBarRouting, CreationRegistersWithTheCommandBarsAndDestructionLetsGo) {
    CTestToolTipContext* pContext = new CTestToolTipContext;
    m_link.m_pContext = pContext;
    {
        CLinkedBar bar(&m_site, &m_link);
        CLinkedBar listBar(&m_site, &m_link, CKLVCommandBar::barTypeNormal, CKLVCommandBar::barListBox);
        EXPECT_EQ(m_link.m_targets, std::vector<CKLVCommandBar*>{&bar});   // position 6 takes no drops
        EXPECT_EQ(bar.GetToolTipContext(), pContext);
        EXPECT_EQ(pContext->GetRefCount(), 3);
        // Every message passes the tooltip host first, the bar's own handling after.
        pContext->m_filtered.clear();
        bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(pContext->m_filtered, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONUP}));
        // A second host replaces the first reference.
        CTestToolTipContext* pOther = new CTestToolTipContext;
        bar.SetToolTipContext(pOther);
        EXPECT_EQ(pContext->GetRefCount(), 2);
        EXPECT_EQ(pOther->GetRefCount(), 2);
        pOther->InternalRelease();
        bar.DestroyWindow();
        EXPECT_TRUE(m_link.m_targets.empty());
    }
    EXPECT_EQ(pContext->GetRefCount(), 1);
    pContext->InternalRelease();

    // Without command bars a tool bar uses the class library's tooltips, a popup bar none.
    CLinkedBar toolBar(&m_site, nullptr);
    CLinkedBar popupBar(&m_site, nullptr, CKLVCommandBar::barTypePopup, CKLVCommandBar::barPopup);
    EXPECT_TRUE(toolBar.EnableToolTips(FALSE));
    EXPECT_FALSE(popupBar.EnableToolTips(FALSE));
}

TEST_F(CommandBarRouting, ToolHitTestNamesTheControlWithItsTipAndShortcut) {
    CKLVAccelManager accelManager;
    ACCEL accel = {FVIRTKEY | FCONTROL, 'S', 21};
    accelManager.SetAccelTable(::CreateAcceleratorTableA(&accel, 1));
    const CString strCtrlS = accelManager.FormatShortcut(&accel);
    m_link.m_pAccelManager = &accelManager;
    struct Case {
        const char* what;
        int nType;
        BOOL bScreenTips, bAccelTips, bPopupTips, bPopupTipFlag, bPopupOpen;
        int nId;
        const char* pszShortcut;
        INT_PTR nHit;
        CString strText;
    };
    const Case cases[] = {
        {"tool bar button", CKLVCommandBar::barTypeNormal, TRUE, FALSE, FALSE, FALSE, FALSE, 20, "Ctrl+O", 20, "Tip"},
        {"own shortcut", CKLVCommandBar::barTypeNormal, TRUE, TRUE, FALSE, FALSE, FALSE, 20, "Ctrl+O", 20, "Tip (Ctrl+O)"},
        {"shortcut of the table", CKLVCommandBar::barTypeNormal, TRUE, TRUE, FALSE, FALSE, FALSE, 21, "", 21,
         "Tip (" + strCtrlS + ")"},
        {"no shortcut anywhere", CKLVCommandBar::barTypeNormal, TRUE, TRUE, FALSE, FALSE, FALSE, 22, "", 22, "Tip"},
        {"screen tips off", CKLVCommandBar::barTypeNormal, FALSE, FALSE, FALSE, FALSE, FALSE, 20, "", -1, ""},
        {"popup open", CKLVCommandBar::barTypeNormal, TRUE, FALSE, FALSE, FALSE, TRUE, 20, "", -1, ""},
        {"command 0", CKLVCommandBar::barTypeNormal, TRUE, FALSE, FALSE, FALSE, FALSE, 0, "", -1, "Tip"},
        {"popup bar", CKLVCommandBar::barTypePopup, TRUE, FALSE, FALSE, FALSE, FALSE, 20, "", -1, ""},
        {"popup bar, tips allowed", CKLVCommandBar::barTypePopup, TRUE, FALSE, TRUE, FALSE, FALSE, 20, "", 20, "Tip"},
        {"popup bar, control asks", CKLVCommandBar::barTypePopup, TRUE, FALSE, FALSE, TRUE, FALSE, 20, "", 20, "Tip"},
        {"popup bar, open popup", CKLVCommandBar::barTypePopup, TRUE, FALSE, TRUE, FALSE, TRUE, 20, "", 20, "Tip"},
    };
    for (const Case& c : cases) {
        m_link.m_bScreenTips = c.bScreenTips;
        m_link.m_bAccelTips = c.bAccelTips;
        m_link.m_bPopupTips = c.bPopupTips;
        CLinkedBar bar(&m_site, &m_link, c.nType, CKLVCommandBar::barTop);
        CKLVControl* pControl = AddRecording(bar, c.nId, CRect(10, 2, 30, 22));
        pControl->m_strTooltipText = "Tip";
        pControl->m_strShortcutText = c.pszShortcut;
        if (c.bPopupTipFlag) pControl->SetFlags(CKLVControl::flagPopupTooltip);
        if (c.bPopupOpen) bar.m_nPopuped = 0;
        TOOLINFO ti = {};
        ti.cbSize = sizeof(ti);
        EXPECT_EQ(bar.OnToolHitTest(CPoint(15, 10), &ti), c.nHit) << c.what;
        EXPECT_EQ(bar.OnToolHitTest(CPoint(50, 10), nullptr), -1) << c.what;
        if (c.nHit != -1) {
            EXPECT_EQ(ti.hwnd, bar.GetSafeHwnd()) << c.what;
            EXPECT_EQ(CRect(ti.rect), CRect(10, 2, 30, 22)) << c.what;
        }
        EXPECT_EQ(CString(ti.lpszText ? ti.lpszText : ""), c.strText) << c.what;
        std::free(ti.lpszText);
        bar.m_nPopuped = -1;
    }
}

TEST_F(CommandBarRouting, TheTooltipHostFillsTheRecordWithTipTitleAndDescription) {
    CTestToolTipContext* pContext = new CTestToolTipContext;
    m_link.m_pContext = pContext;
    {
        CLinkedBar bar(&m_site, &m_link);
        CKLVControl* pControl = AddRecording(bar, 30, CRect(0, 0, 20, 20));
        pControl->m_strTooltipText = "Print";
        pControl->m_strDescriptionText = "Prints the document";
        TOOLINFO ti = {};
        EXPECT_EQ(bar.OnToolHitTest(CPoint(5, 5), &ti), 30);
        EXPECT_EQ(ti.uId, 30u);
        EXPECT_EQ(ti.lpszText, nullptr);
        EXPECT_STREQ(pContext->m_strText, "Print");
        EXPECT_STREQ(pContext->m_strTitle, "Print");
        EXPECT_STREQ(pContext->m_strDescription, "Prints the document");
        // A control without a tip names no tool.
        pControl->m_strTooltipText.Empty();
        EXPECT_EQ(bar.OnToolHitTest(CPoint(5, 5), &ti), -1);
    }
    pContext->InternalRelease();
}

TEST_F(CommandBarRouting, RightButtonReleaseReachesTheControlUnlessTheSiteTakesIt) {
    struct Case {
        const char* what;
        BOOL bSiteTakes, bRightAsLeft, bCustomize;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"the control's own handler", FALSE, FALSE, FALSE, {"rup"}},
        {"tracked with the right button", FALSE, TRUE, FALSE, {"release"}},
        {"the site answers 1", TRUE, FALSE, FALSE, {}},
        {"customize mode", FALSE, FALSE, TRUE, {}},
    };
    for (const Case& c : cases) {
        m_link.m_bCustomize = c.bCustomize;
        CTestBar<> bar(&m_site);
        bar.m_pLink = &m_link;
        bar.m_bRightButtonAsLeft = c.bRightAsLeft;
        CRecordingButton* pButton = AddRecording(bar, 40, CRect(0, 0, 20, 20));
        // A site that may take the release (0x2859).
        struct CAnswering : CTestSite {
            BOOL m_bTake = FALSE;
            int m_nAsked = 0;
            LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
                if (message == CKLVCommandBar::msgRButtonUp) {
                    ++m_nAsked;
                    return m_bTake;
                }
                return CTestSite::WindowProc(message, wParam, lParam);
            }
        } site;
        site.m_bTake = c.bSiteTakes;
        bar.m_pOwner = &site;
        bar.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(7, 8));
        EXPECT_EQ(pButton->m_calls, c.calls) << c.what;
        if (!pButton->m_calls.empty()) {
            EXPECT_EQ(pButton->m_pt, CPoint(7, 8)) << c.what;
        }
        EXPECT_EQ(site.m_nAsked, c.bCustomize ? 0 : 1) << c.what;
        bar.m_pOwner = &m_site;
    }
}

TEST_F(CommandBarRouting, RightButtonDownInCustomizeModeSelectsTheControlAndOpensTheMenu) {
    struct Case {
        const char* what;
        BOOL bCustomize, bTakes, bCustomizable;
        DWORD dwFlags;
        BOOL bMenu;
    };
    const Case cases[] = {
        {"customize mode", TRUE, FALSE, TRUE, 0, TRUE},
        {"the control takes it", TRUE, TRUE, TRUE, 0, FALSE},
        {"not customizable bar", TRUE, FALSE, FALSE, 0, FALSE},
        {"control cannot move", TRUE, FALSE, TRUE, CKLVControl::flagNoMovable, FALSE},
        {"outside customize mode", FALSE, FALSE, TRUE, 0, FALSE},
    };
    for (const Case& c : cases) {
        m_link = CTestLink();
        m_link.m_bCustomize = c.bCustomize;
        CLinkedBar bar(&m_site, &m_link);
        bar.m_bCustomizable = c.bCustomizable;
        CRecordingButton* pButton = AddRecording(bar, 50, CRect(10, 0, 30, 20));
        pButton->m_bTakeRButton = c.bTakes;
        pButton->SetFlags(c.dwFlags);
        bar.m_nSelected = 0;
        bar.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(15, 5));
        EXPECT_EQ(pButton->m_calls, std::vector<std::string>{"rdown"}) << c.what;
        EXPECT_EQ(m_link.m_pMenuControl, c.bMenu ? pButton : nullptr) << c.what;
        EXPECT_EQ(m_link.m_pDragControl, c.bMenu ? pButton : nullptr) << c.what;
        if (c.bMenu) {
            EXPECT_EQ(m_link.m_ptMenu, CPoint(65, 65)) << c.what;
            EXPECT_EQ(bar.m_nSelected, -1) << c.what;
        }
    }
}

TEST_F(CommandBarRouting, ACustomizeDragThatMovesTheControlAwayRemovesIt) {
    struct Case {
        const char* what;
        int nClicked;                 // 0, 1 or 2 of the three buttons
        DWORD dwEffect;
        std::vector<int> idsAfter;
        std::vector<BOOL> groupsAfter;
    };
    // Buttons 1 (group), 2 (group), 3 (no group).
    const Case cases[] = {
        {"moved: the group mark passes on", 1, DROPEFFECT_MOVE, {1, 3}, {TRUE, TRUE}},
        {"dropped nowhere: the first's successor loses its mark", 0, DROPEFFECT_NONE, {2, 3}, {FALSE, FALSE}},
        {"copied: nothing leaves", 1, DROPEFFECT_COPY, {1, 2, 3}, {TRUE, TRUE, FALSE}},
        {"last one moved", 2, DROPEFFECT_MOVE, {1, 2}, {TRUE, TRUE}},
    };
    for (const Case& c : cases) {
        m_link = CTestLink();
        m_link.m_bCustomize = TRUE;
        m_link.m_dwDropEffect = c.dwEffect;
        CLinkedBar bar(&m_site, &m_link);
        CRecordingButton* buttons[] = {AddRecording(bar, 1, CRect(0, 0, 20, 20)),
                                       AddRecording(bar, 2, CRect(20, 0, 40, 20)),
                                       AddRecording(bar, 3, CRect(40, 0, 60, 20))};
        buttons[0]->SetBeginGroup(TRUE);
        buttons[1]->SetBeginGroup(TRUE);
        const int nClickedId = buttons[c.nClicked]->GetId();
        bar.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(20 * c.nClicked + 5, 6));
        EXPECT_EQ(m_link.m_dragged, std::vector<int>{nClickedId}) << c.what;
        EXPECT_EQ(bar.m_ptDragStart, CPoint(20 * c.nClicked + 5, 6)) << c.what;
        std::vector<int> ids;
        std::vector<BOOL> groups;
        for (int i = 0; i < bar.GetControlCount(); ++i) {
            ids.push_back(bar.GetControl(i)->GetId());
            groups.push_back(bar.GetControl(i)->GetBeginGroup());
        }
        EXPECT_EQ(ids, c.idsAfter) << c.what;
        EXPECT_EQ(groups, c.groupsAfter) << c.what;
        EXPECT_EQ(bar.m_nLayouts, c.dwEffect == DROPEFFECT_COPY ? 0 : 1) << c.what;
    }
}

TEST_F(CommandBarRouting, TheCustomizedControlResizesInsteadOfDraggingWhenItCan) {
    m_link.m_bCustomize = TRUE;
    m_link.m_dwDropEffect = DROPEFFECT_COPY;
    CLinkedBar bar(&m_site, &m_link);
    CRecordingButton* pButton = AddRecording(bar, 7, CRect(0, 0, 20, 20));
    pButton->m_bResizable = TRUE;
    // The first press makes it the customized control and drags it; the next resizes it.
    pButton->OnCustomizeMouseDown(CPoint(19, 5));
    EXPECT_EQ(m_link.m_pDragControl, pButton);
    EXPECT_EQ(m_link.m_dragged, std::vector<int>{7});
    EXPECT_TRUE(pButton->m_calls.empty());
    pButton->OnCustomizeMouseDown(CPoint(19, 5));
    EXPECT_EQ(pButton->m_calls, std::vector<std::string>{"resize"});
    EXPECT_EQ(m_link.m_dragged, std::vector<int>{7});
    // A control that cannot be resized is dragged again.
    pButton->m_bResizable = FALSE;
    pButton->OnCustomizeMouseDown(CPoint(19, 5));
    EXPECT_EQ(m_link.m_dragged, (std::vector<int>{7, 7}));
    EXPECT_EQ(bar.GetControlCount(), 1);
}
