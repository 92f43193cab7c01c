// Controls: texts from the control and its action, executing through the site, the tracked
// press with auto-repeat, buttons and popups on menus and tool bars.
#include "ControlTestSupport.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"

using commandbars_test::CTestBar;
using commandbars_test::CTestSite;

namespace {

struct Release {
    void operator()(CCmdTarget* p) const { p->InternalRelease(); }
};
template <class T>
using Ref = std::unique_ptr<T, Release>;

TEST(ControlTexts, CaptionShortcutAndPromptRules) {
    Ref<CKLVControlButton> pButton(new CKLVControlButton);
    Ref<CKLVControlAction> pAction(new CKLVControlAction(7));
    pButton->m_strCaption = "Own";
    pButton->SetAction(pAction.get());
    pAction->SetCaption("&Open\tCtrl+O");
    EXPECT_EQ(pButton->GetCaption(), "&Open");
    pButton->m_strCustomCaption = "Mine";
    EXPECT_EQ(pButton->GetCaption(), "Mine");

    Ref<CKLVControlButton> pPlain(new CKLVControlButton);
    pPlain->SetCaption("Save\tCtrl+S");
    EXPECT_EQ(pPlain->GetCaption(), "Save");
    EXPECT_EQ(pPlain->GetShortcutText(), "Ctrl+S");
    pPlain->SetCaption("Save All");
    EXPECT_EQ(pPlain->GetShortcutText(), "Ctrl+S");

    pPlain->m_strCaption.Empty();
    pPlain->SetPrompt("Saves the file\nSave\nSa&ve");
    EXPECT_EQ(pPlain->GetDescription(), "Saves the file");
    EXPECT_EQ(pPlain->GetTooltip(), "Save");
    EXPECT_EQ(pPlain->GetCaption(), "Sa&ve");
    Ref<CKLVControlButton> pOne(new CKLVControlButton);
    pOne->SetPrompt("Both");
    EXPECT_EQ(pOne->GetDescription(), "Both");
    EXPECT_EQ(pOne->GetTooltip(), "Both");
    EXPECT_EQ(pOne->GetCaption(), "Both");
}

TEST(ControlTexts, CaptionVisibilityByStyleTypeAndBar) {
    CKLVCommandBar bar;
    const struct {
        int nType, nStyle;
        const char* pszCaption;
        int nBarType;
        BOOL bVisible;
    } cases[] = {
        {CKLVControl::typeButton, CKLVControl::styleAutomatic, "Go", CKLVCommandBar::barTypeNormal, TRUE},
        {CKLVControl::typeButton, CKLVControl::styleIcon, "Go", CKLVCommandBar::barTypeNormal, FALSE},
        {CKLVControl::typeButton, CKLVControl::styleIcon, "Go", CKLVCommandBar::barTypePopup, TRUE},
        {CKLVControl::typeButton, CKLVControl::styleCaption, "", CKLVCommandBar::barTypeNormal, FALSE},
        {CKLVControl::typeEdit, CKLVControl::styleAutomatic, "Go", CKLVCommandBar::barTypeNormal, FALSE},
        {CKLVControl::typeLabel, CKLVControl::styleAutomatic, "Go", CKLVCommandBar::barTypeNormal, TRUE},
    };
    for (const auto& c : cases) {
        CKLVControl* pControl = bar.GetControls()->Append(new CKLVControl);
        pControl->m_nType = c.nType;
        pControl->m_nStyle = c.nStyle;
        pControl->m_strCaption = c.pszCaption;
        bar.m_barType = c.nBarType;
        EXPECT_EQ(pControl->IsCaptionVisible(), c.bVisible) << c.nType << "/" << c.nStyle << "/" << c.nBarType;
    }
}

class Executing : public ::testing::Test {
protected:
    CKLVControl* AddButton(CKLVCommandBar& bar, int nId) {
        CKLVControl* pButton = bar.GetControls()->Append(new CKLVControlButton);
        pButton->m_nId = nId;
        pButton->m_rcControl = CRect(0, 0, 20, 20);
        return pButton;
    }
    static void Post(CKLVCommandBar& bar, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        ::PostMessageA(bar.GetSafeHwnd(), message, wParam, lParam);
    }
    CTestSite m_site;
};

TEST_F(Executing, ASiteAnsweringTheNotificationStopsTheCommand) {
    CTestBar<> bar(&m_site);
    CKLVControl* pButton = AddButton(bar, 100);
    pButton->OnExecute();
    EXPECT_EQ(m_site.m_messages, (std::vector<UINT>{CKLVControl::msgControlNotify, WM_COMMAND}));
    EXPECT_EQ(pButton->GetPressed(), 0);
    m_site.m_messages.clear();
    m_site.m_bAnswerNotify = TRUE;
    pButton->OnExecute();
    EXPECT_EQ(m_site.m_messages, (std::vector<UINT>{CKLVControl::msgControlNotify}));
}

TEST_F(Executing, HeldButtonRepeatsOncePerTickAfterTheFirstCommand) {
    CTestBar<> bar(&m_site);
    CKLVControl* pButton = AddButton(bar, 101);
    pButton->m_nExecuteOnPressInterval = 100;
    // Ten ticks of a held second, then the release.
    for (int i = 0; i < 10; ++i) Post(bar, WM_TIMER, CKLVControl::timerAutoRepeat);
    Post(bar, WM_LBUTTONUP);
    EXPECT_TRUE(pButton->OnLButtonDownTracking());
    EXPECT_EQ(m_site.Count(WM_COMMAND), 11);
    EXPECT_EQ(pButton->GetPressed(), 2);
}

TEST_F(Executing, ToolBarButtonsRunOnReleaseInsideMenuButtonsOnRelease) {
    CTestBar<> bar(&m_site);
    CKLVControl* pButton = AddButton(bar, 102);
    Post(bar, WM_MOUSEMOVE, 0, MAKELPARAM(50, 30));
    Post(bar, WM_LBUTTONUP);
    pButton->OnClick(FALSE, CPoint(5, 5));
    EXPECT_EQ(m_site.Count(WM_COMMAND), 0);
    Post(bar, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    Post(bar, WM_LBUTTONUP);
    pButton->OnClick(FALSE, CPoint(5, 5));
    EXPECT_EQ(m_site.Count(WM_COMMAND), 1);

    CTestBar<> menu(&m_site, CKLVCommandBar::barTypePopup);
    CKLVControl* pItem = AddButton(menu, 103);
    pItem->OnClick(FALSE, CPoint(5, 5));
    EXPECT_EQ(m_site.Count(WM_COMMAND), 1);
    pItem->OnMouseRelease(CPoint(5, 5));
    EXPECT_EQ(m_site.Count(WM_COMMAND), 2);
}

TEST_F(Executing, PressLoopEndsOnQuitAndLeavesItForTheOuterLoop) {
    CTestBar<> bar(&m_site);
    CKLVControl* pButton = AddButton(bar, 104);
    ::PostQuitMessage(3);
    EXPECT_FALSE(pButton->OnLButtonDownTracking());
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(Executing, SplitButtonsWithOnePartDisabled) {
    CTestBar<> bar(&m_site);
    CKLVControlPopup* pSplit = static_cast<CKLVControlPopup*>(bar.GetControls()->Add(CKLVControl::typeSplitButtonPopup, 105));
    ASSERT_NE(pSplit, nullptr);
    pSplit->m_rcControl = CRect(0, 0, 40, 22);
    pSplit->m_bEnabled = CKLVControlPopup::enabledDropDownDisabled;
    EXPECT_FALSE(bar.SetPopuped(0));
    pSplit->OnClick(FALSE, CPoint(38, 5));
    EXPECT_FALSE(pSplit->GetPopuped());

    pSplit->m_bEnabled = CKLVControlPopup::enabledButtonDisabled;
    Post(bar, WM_LBUTTONUP);
    pSplit->OnClick(FALSE, CPoint(5, 5));
    EXPECT_EQ(pSplit->GetPressed(), 0);
    EXPECT_EQ(m_site.Count(WM_COMMAND), 0);
    pSplit->OnClick(TRUE);
    EXPECT_TRUE(pSplit->GetPopuped());
    MSG msg;
    while (::PeekMessageA(&msg, bar.GetSafeHwnd(), 0, 0, PM_REMOVE)) {}
}

TEST_F(Executing, TheWidthDragFollowsTheMouseAndEscapeCancels) {
    CTestBar<> bar(&m_site);
    CKLVControl* pControl = AddButton(bar, 106);
    pControl->m_rcControl = CRect(10, 0, 60, 20);
    EXPECT_FALSE(pControl->OnCustomizeResize(CPoint(30, 5)));
    Post(bar, WM_MOUSEMOVE, 0, MAKELPARAM(90, 5));
    Post(bar, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(pControl->OnCustomizeResize(CPoint(59, 5)));
    EXPECT_EQ(pControl->GetWidth(), 0);
    Post(bar, WM_MOUSEMOVE, 0, MAKELPARAM(90, 5));
    Post(bar, WM_LBUTTONUP);
    EXPECT_TRUE(pControl->OnCustomizeResize(CPoint(59, 5)));
    EXPECT_EQ(pControl->GetWidth(), 80);
    EXPECT_TRUE(bar.m_nIdleFlags & CKLVCommandBar::delayLayout);
}

class CCountedBar : public CKLVPopupBar {
public:
    explicit CCountedBar(int* pnAlive) : m_pnAlive(pnAlive) { ++*m_pnAlive; }
    ~CCountedBar() override { --*m_pnAlive; }
    int* m_pnAlive;
};

TEST(Popups, ACopySharesTheBarUntilBothAreGone) {
    int nAlive = 0;
    auto* pOriginal = new CKLVControlPopup;
    auto* pBar = new CCountedBar(&nAlive);
    pOriginal->SetCommandBar(pBar);
    pBar->InternalRelease();
    auto* pCopy = static_cast<CKLVControlPopup*>(pOriginal->Clone(FALSE));
    EXPECT_EQ(pCopy->GetCommandBar(), pBar);
    pOriginal->InternalRelease();
    EXPECT_EQ(nAlive, 1);
    pCopy->InternalRelease();
    EXPECT_EQ(nAlive, 0);
}

TEST(Popups, CyclicBarsEndTheAncestorWalkAndTheComparison) {
    Ref<CKLVControlPopup> pOuter(new CKLVControlPopup), pOther(new CKLVControlPopup);
    auto* pBar = new CKLVPopupBar;
    pOuter->SetCommandBar(pBar);
    pBar->InternalRelease();
    // The bar holds a popup that opens the bar itself.
    auto* pInner = static_cast<CKLVControlPopup*>(pBar->GetControls()->Append(new CKLVControlPopup));
    pInner->SetCommandBar(pBar);
    EXPECT_FALSE(pOuter->IsAncestorOf(pOther.get()));
    EXPECT_TRUE(pOuter->IsAncestorOf(pInner));
    Ref<CKLVControlPopup> pClone(static_cast<CKLVControlPopup*>(pOuter->Clone(FALSE)));
    EXPECT_TRUE(pOuter->IsEqual(pClone.get()));
    pInner->SetCommandBar(nullptr);
}

TEST(ControlAccessibility, NameRoleAndStateByBar) {
    CKLVCommandBar toolBar, menu;
    menu.m_barType = CKLVCommandBar::barTypePopup;
    CKLVControl* pButton = toolBar.GetControls()->Append(new CKLVControlButton);
    pButton->SetCaption("&Save\tCtrl+S");
    pButton->m_bEnabled = FALSE;
    CKLVControl* pPopup = toolBar.GetControls()->Add(CKLVControl::typePopup, 0);
    CKLVControl* pItem = menu.GetControls()->Append(new CKLVControlButton);
    VARIANT self = {};
    BSTR bstrName = nullptr;
    ASSERT_EQ(pButton->GetAccessibleName(self, &bstrName), S_OK);
    EXPECT_STREQ(bstrName, L"Save\tCtrl+S");
    ::SysFreeString(bstrName);
    const struct {
        CKLVControl* pControl;
        LONG nRole;
    } roles[] = {{pButton, ROLE_SYSTEM_PUSHBUTTON}, {pPopup, ROLE_SYSTEM_BUTTONMENU}, {pItem, ROLE_SYSTEM_MENUITEM}};
    for (const auto& r : roles) {
        VARIANT role = {};
        r.pControl->GetAccessibleRole(self, &role);
        EXPECT_EQ(role.lVal, r.nRole);
    }
    VARIANT state = {};
    pButton->GetAccessibleState(self, &state);
    EXPECT_EQ(state.lVal, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE);
    pPopup->GetAccessibleState(self, &state);
    EXPECT_EQ(state.lVal, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_HASPOPUP);
    VARIANT child = {};
    child.vt = VT_I4;
    child.lVal = 2;
    EXPECT_EQ(pButton->GetAccessibleRole(child, &state), E_INVALIDARG);
}

}  // namespace
