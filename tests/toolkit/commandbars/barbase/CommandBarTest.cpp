// The bar window: selection and popups, idle command updates, help hit tests, keys of tracking
// mode on hidden bars (the hook client called directly), and the accessible bar.
#include "ControlTestSupport.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/CommandBarList.h"
#include "toolkit/commandbars/DialogBar.h"
#include "toolkit/commandbars/MenuBar.h"
#include "toolkit/commandbars/ToolBar.h"

#include "classlib/WindowMessages.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

using commandbars_test::CTestBar;
using commandbars_test::CTestSite;

namespace {

CKLVControl* AddButton(CKLVCommandBar& bar, int nId, const char* pszCaption = "", CRect rc = CRect()) {
    CKLVControl* pControl = bar.GetControls()->Add(CKLVControl::typeButton, nId);
    pControl->SetCaption(pszCaption);
    pControl->m_rcControl = rc;
    return pControl;
}

// A popup control with a windowed popup bar of its own.
CKLVControlPopup* AddPopup(CKLVCommandBar& bar, CTestSite* pSite, const char* pszCaption = "", CRect rc = CRect()) {
    auto* pPopup = static_cast<CKLVControlPopup*>(bar.GetControls()->Add(CKLVControl::typePopup, 0));
    pPopup->SetCaption(pszCaption);
    pPopup->m_rcControl = rc;
    auto* pBar = new CTestBar<CKLVPopupBar>(pSite, CKLVCommandBar::barTypePopup);
    pPopup->SetCommandBar(pBar);
    pBar->InternalRelease();
    return pPopup;
}

class CommandBar : public ::testing::Test {
protected:
    void SetUp() override { CKLVFlatTestTheme::Register(); }
    CTestSite m_site;
};

}  // namespace

TEST_F(CommandBar, SelectionAndPopups) {
    CTestBar<> bar(&m_site);
    AddButton(bar, 101);
    CKLVControlPopup* pOpen = AddPopup(bar, &m_site);
    CKLVControlPopup* pDisabled = AddPopup(bar, &m_site);
    CKLVControlPopup* pActionless = AddPopup(bar, &m_site);

    EXPECT_TRUE(bar.SetSelected(0));
    EXPECT_FALSE(bar.SetSelected(0));
    EXPECT_FALSE(bar.SetPopuped(-1));
    pDisabled->SetEnabled(FALSE);
    CKLVControlAction action(7);
    action.m_bEnabled = FALSE;
    pActionless->SetAction(&action);
    pActionless->SetEnabled(-1);
    for (int nIndex : {2, 3}) {
        EXPECT_FALSE(bar.SetPopuped(nIndex)) << nIndex;
        EXPECT_EQ(bar.m_nPopuped, -1);
    }
    ASSERT_TRUE(bar.SetPopuped(1));
    EXPECT_TRUE(pOpen->GetPopuped());
    EXPECT_EQ(bar.GetTrackingMode(), 2);
    EXPECT_TRUE(bar.SetPopuped(-1));
    EXPECT_FALSE(pOpen->GetPopuped());
    pActionless->SetAction(nullptr);
    bar.EndTracking();

    // On a popup bar a mouse selection opens nothing at once: the hover timer does.
    CTestBar<> menu(&m_site, CKLVCommandBar::barTypePopup);
    CKLVControlPopup* pSub = AddPopup(menu, &m_site);
    menu.SetSelected(0, FALSE);
    EXPECT_EQ(menu.m_nPopuped, -1);
    EXPECT_TRUE(::KillTimer(menu.GetSafeHwnd(), CKLVCommandBar::timerHover));
    menu.SendMessage(WM_TIMER, CKLVCommandBar::timerHover);
    EXPECT_TRUE(pSub->GetPopuped());
    menu.EndTracking();

    EXPECT_EQ(bar.GetPaintManager(), CKLVPaintManager::GetGlobalPaintManager());
    EXPECT_EQ(bar.GetPaintManager()->GetThemeId(), 0);
}

TEST_F(CommandBar, RedrawsUnderTheLockRunAtTheNextIdleUpdate) {
    CTestBar<> bar(&m_site);
    bar.LockRedraw();
    bar.Redraw();
    EXPECT_TRUE(bar.m_nIdleFlags & CKLVCommandBar::delayRedraw);
    bar.UnlockRedraw();
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);  // hidden: nothing runs
    EXPECT_TRUE(bar.m_nIdleFlags & CKLVCommandBar::delayRedraw);
    bar.ShowWindow(SW_SHOWNOACTIVATE);
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(bar.m_nIdleFlags & CKLVCommandBar::delayRedraw);
}

namespace {

// Records the order in which its own map is asked at idle time.
class CUpdatingBar : public CKLVCommandBar {
public:
    std::vector<UINT> m_asked;
    BOOL m_bTakeFirst = FALSE;
    void OnUpdateAny(CCmdUI* pCmdUI) {
        m_asked.push_back(0);
        if (!m_bTakeFirst) pCmdUI->ContinueRouting();
    }
    void OnUpdate300(CCmdUI* pCmdUI) {
        m_asked.push_back(300);
        pCmdUI->Enable(TRUE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpdatingBar, CKLVCommandBar)
    AFX_MSG_ENTRY(0xBD11, 0xFFFF, 0, 0, AfxSig::cmdui, &CUpdatingBar::OnUpdateAny)
    ON_UPDATE_COMMAND_UI(300, OnUpdate300)
END_MESSAGE_MAP()

}  // namespace

TEST_F(CommandBar, IdleUpdateAsksTheOwnMapFirstAndDisablesWithoutHandler) {
    CTestBar<CUpdatingBar> bar(&m_site);
    CKLVControl* pHandled = AddButton(bar, 300);
    CKLVControl* pOrphan = AddButton(bar, 301);
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(bar.m_asked.empty()) << "a hidden bar skips";
    EXPECT_TRUE(pOrphan->GetEnabled());

    bar.ShowWindow(SW_SHOWNOACTIVATE);
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(bar.m_asked, (std::vector<UINT>{0, 300, 0}));
    EXPECT_TRUE(pHandled->GetEnabled());
    EXPECT_FALSE(pOrphan->GetEnabled());

    bar.m_asked.clear();
    bar.m_bTakeFirst = TRUE;
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(bar.m_asked, (std::vector<UINT>{0, 0}));
}

TEST_F(CommandBar, HelpHitTest) {
    CTestBar<> bar(&m_site);
    CKLVControl* pControl = AddButton(bar, 400, "", CRect(0, 0, 20, 20));
    CKLVControl* pPlain = AddButton(bar, 401, "", CRect(20, 0, 40, 20));
    pControl->m_nHelpId = 7;
    const struct {
        CPoint pt;
        LRESULT expected;
    } cases[] = {{CPoint(5, 5), 0x10007}, {CPoint(25, 5), 0x10000 + 401}, {CPoint(100, 5), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(bar.SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(c.pt.x, c.pt.y)), c.expected) << c.pt.x;
    (void)pPlain;
}

namespace {

struct KeyCase {
    const char* name;
    int nType, nPosition;
    BOOL bRTL;
    UINT nKey;
    int nSelectedAfter, nPopupedAfter;
};

}  // namespace

TEST_F(CommandBar, DirectionKeysFollowOrientationAndLayout) {
    const KeyCase cases[] = {
        {"rtl left on a horizontal bar goes next", 1, CKLVCommandBar::barTop, TRUE, VK_LEFT, 1, -1},
        {"ltr left on a horizontal bar goes back", 1, CKLVCommandBar::barTop, FALSE, VK_LEFT, 2, -1},
        {"rtl left on a vertical bar expands", 1, CKLVCommandBar::barLeft, TRUE, VK_LEFT, 0, 0},
        {"up on a menu bar opens the popup", 0, CKLVCommandBar::barTop, FALSE, VK_UP, 0, 0},
        {"down on a vertical bar goes next", 1, CKLVCommandBar::barRight, FALSE, VK_DOWN, 1, -1},
    };
    for (const KeyCase& c : cases) {
        CTestBar<> bar(&m_site, c.nType);
        bar.m_barPosition = c.nPosition;
        if (c.bRTL) bar.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
        AddPopup(bar, &m_site, "&Alpha");
        AddButton(bar, 501, "&Beta");
        AddButton(bar, 502, "&Gamma");
        bar.SetTrackingMode(1, TRUE, TRUE);
        ASSERT_EQ(bar.m_nSelected, 0) << c.name;
        EXPECT_EQ(bar.OnHookKeyDown(c.nKey, 0), CKLVCommandBar::hookKeyHandled) << c.name;
        EXPECT_EQ(bar.m_nSelected, c.nSelectedAfter) << c.name;
        EXPECT_EQ(bar.m_nPopuped, c.nPopupedAfter) << c.name;
        bar.EndTracking();
    }
}

TEST_F(CommandBar, MnemonicsSelectAndExecuteOnlyWhenUnique) {
    CTestBar<> bar(&m_site, CKLVCommandBar::barTypePopup);
    AddButton(bar, 601, "&File");
    AddButton(bar, 602, "&Format");
    AddButton(bar, 603, "&Edit");
    AddButton(bar, 604, "Tools&");
    const struct {
        UINT nKey;
        int nSelected, nCommands;
    } cases[] = {{'F', 0, 0}, {'F', 1, 0}, {'E', -1, 1}, {'T', -1, 2}};  // -1: executed, tracking ended
    for (const auto& c : cases) {
        bar.SetTrackingMode(1, FALSE, TRUE);
        bar.OnHookKeyDown(c.nKey, 0);
        if (c.nSelected >= 0) {
            EXPECT_EQ(bar.m_nSelected, c.nSelected) << static_cast<char>(c.nKey);
        }
        EXPECT_EQ(m_site.Count(WM_COMMAND), c.nCommands) << static_cast<char>(c.nKey);
    }
    bar.EndTracking();
}

TEST_F(CommandBar, EscapeClosesOneLevel) {
    CTestBar<> menuBar(&m_site, CKLVCommandBar::barTypeMenuBar);
    menuBar.m_barPosition = CKLVCommandBar::barTop;
    CKLVControlPopup* pPopup = AddPopup(menuBar, &m_site, "&File");
    CKLVCommandBar* pPopupBar = pPopup->GetCommandBar();
    AddButton(*pPopupBar, 701, "&Open");
    menuBar.SetTrackingMode(1, TRUE, TRUE);
    ASSERT_TRUE(menuBar.SetPopuped(0, TRUE));
    ASSERT_TRUE(pPopupBar->GetTrackingMode());
    pPopupBar->OnHookKeyDown(VK_ESCAPE, 0);
    EXPECT_EQ(pPopupBar->GetTrackingMode(), 0);
    EXPECT_EQ(menuBar.GetTrackingMode(), 1);
    menuBar.OnHookKeyDown(VK_ESCAPE, 0);
    EXPECT_EQ(menuBar.GetTrackingMode(), 0);
}

namespace {

// Destroys the bar while handling the key notification, as a site may.
class CDestroyingSite : public CTestSite {
public:
    CKLVCommandBar* m_pVictim = nullptr;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CKLVCommandBar::msgTrackingKey && m_pVictim) {
            m_pVictim->DestroyWindow();
            m_pVictim->InternalRelease();
            m_pVictim = nullptr;
        }
        return CTestSite::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST_F(CommandBar, ABarDestroyedDuringTheKeyNotificationIsNotTouched) {
    CDestroyingSite site;
    auto* pBar = new CKLVCommandBar;
    pBar->m_pOwner = &site;
    pBar->CreateEx(0, AfxRegisterWndClass(0), "bar", WS_POPUP, CRect(0, 0, 100, 20), nullptr, 0);
    AddButton(*pBar, 801, "&Go");
    site.m_pVictim = pBar;
    EXPECT_EQ(pBar->OnHookKeyDown('G', 0), CKLVCommandBar::hookKeyHandled);
    EXPECT_EQ(site.Count(WM_COMMAND), 0);
}

TEST_F(CommandBar, AccessibleBarAndChildren) {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    const struct {
        int nType;
        LONG nRole;
    } bars[] = {{CKLVCommandBar::barTypeMenuBar, ROLE_SYSTEM_MENUBAR},
                {CKLVCommandBar::barTypePopup, ROLE_SYSTEM_MENUPOPUP},
                {CKLVCommandBar::barTypeNormal, ROLE_SYSTEM_TOOLBAR}};
    for (const auto& b : bars) {
        CTestBar<> bar(&m_site, b.nType);
        CKLVControl* pControl = AddButton(bar, 901, "&Open");
        pControl->m_strShortcutText = "Ctrl+O";
        IAccessible* pAccessible = nullptr;
        ASSERT_EQ(pControl->AccessibleObjectFromWindow(bar.GetSafeHwnd(), static_cast<DWORD>(OBJID_CLIENT),
                                                       IID_IAccessible, reinterpret_cast<void**>(&pAccessible)),
                  S_OK);
        VARIANT self = {}, child = {}, bad = {}, role = {};
        self.vt = child.vt = bad.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        child.lVal = 1;
        bad.lVal = -2;
        ASSERT_EQ(pAccessible->get_accRole(self, &role), S_OK);
        EXPECT_EQ(role.lVal, b.nRole);
        ASSERT_EQ(pAccessible->get_accRole(child, &role), S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_MENUITEM);
        BSTR name = nullptr;
        ASSERT_EQ(pAccessible->get_accName(child, &name), S_OK);
        EXPECT_EQ(std::wstring(name), L"Open\tCtrl+O");
        ::SysFreeString(name);
        EXPECT_EQ(pAccessible->get_accName(bad, &name), E_INVALIDARG);
        LONG nCount = 0;
        EXPECT_EQ(pAccessible->get_accChildCount(&nCount), S_OK);
        EXPECT_EQ(nCount, 1);
        pAccessible->Release();
    }
    ::CoUninitialize();
}

// Whether the accessible parent of the bar's window is the control's accessible object.
bool AccessibleParentIs(CWnd* pBar, CKLVControl* pControl) {
    IAccessible* pAccessible = nullptr;
    if (FAILED(pControl->AccessibleObjectFromWindow(pBar->GetSafeHwnd(), static_cast<DWORD>(OBJID_CLIENT),
                                                    IID_IAccessible, reinterpret_cast<void**>(&pAccessible)))) {
        return false;
    }
    IDispatch* pParent = nullptr;
    const HRESULT hr = pAccessible->get_accParent(&pParent);
    pAccessible->Release();
    if (FAILED(hr) || !pParent) return false;
    IUnknown *pParentUnknown = nullptr, *pControlUnknown = nullptr;
    pParent->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pParentUnknown));
    pControl->GetAccessibleInterface()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pControlUnknown));
    const bool bSame = pParentUnknown && pParentUnknown == pControlUnknown;
    for (IUnknown* pUnknown : {static_cast<IUnknown*>(pParent), pParentUnknown, pControlUnknown})
        if (pUnknown) pUnknown->Release();
    return bSame;
}

TEST_F(CommandBar, APopupBarOpenedByAControlHasItAsItsAccessibleParent) {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    CTestBar<> bar(&m_site);
    CKLVControlPopup* pPopup = AddPopup(bar, &m_site);
    CKLVCommandBar* pPopupBar = pPopup->GetCommandBar();
    const struct {
        const char* name;
        BOOL bOpen;
        CWnd* pBar;
        bool bParentIsControl;
    } rows[] = {{"popup bar not yet opened", FALSE, pPopupBar, false},
                {"popup bar opened by the control", TRUE, pPopupBar, true},
                {"the bar holding the control", TRUE, &bar, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.bOpen && bar.m_nPopuped != 0) {
            ASSERT_TRUE(bar.SetPopuped(0));
        }
        ASSERT_TRUE(pPopupBar->GetSafeHwnd());
        EXPECT_EQ(AccessibleParentIs(row.pBar, pPopup), row.bParentIsControl);
    }
    bar.SetPopuped(-1);
    ::CoUninitialize();
}

TEST_F(CommandBar, TheSavedStateWalkNumbersEveryBarButTheToolBarFamily) {
    constexpr UINT kNext = CKLVCommandBar::firstGeneratedBarID + 0x10;
    constexpr UINT kGenerated = CKLVCommandBar::firstGeneratedBarID + 5;
    const struct {
        const char* name;
        std::function<CKLVCommandBar*()> make;
        UINT nBarID, nExpected;
    } rows[] = {
        {"bare bar without an id", [] { return new CKLVCommandBar; }, 0, kNext},
        {"popup bar without an id", [] { return new CKLVPopupBar; }, 0, kNext},
        {"popup bar with a generated id", [] { return new CKLVPopupBar; }, kGenerated, kNext},
        {"popup bar with its own id", [] { return new CKLVPopupBar; }, 0x42, 0x42},
        {"popup tool bar without an id", [] { return new CKLVPopupToolBar; }, 0, kNext},
        {"tool bar without an id", [] { return new CKLVToolBar; }, 0, 0},
        {"tool bar with a generated id", [] { return new CKLVToolBar; }, kGenerated, kGenerated},
        {"menu bar without an id", [] { return new CKLVMenuBar; }, 0, 0},
        {"dialog bar with a generated id", [] { return new CKLVDialogBar; }, kGenerated, kGenerated},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CKLVCommandBar* pBar = row.make();
        pBar->m_nBarID = row.nBarID;
        CKLVCommandBarList list;
        DWORD nID = kNext;
        pBar->GenerateCommandBarList(nID, &list, nullptr);
        EXPECT_EQ(pBar->m_nBarID, row.nExpected);
        EXPECT_EQ(nID, row.nExpected == kNext ? kNext + 1 : kNext);
        EXPECT_TRUE(list.Contains(pBar));
        list.RemoveAll();
        pBar->InternalRelease();
    }
}
