// The themed tab control's scroll and close buttons over a hidden single-line control: hidden
// without tabs, which scroll button is enabled, the held button's scrolling once per message,
// releases outside, disabled buttons, and the press loop's ends (quit, lost capture).
#include "TabTestHost.h"
#include "classlib/TabCtrl.h"
#include "toolkit/tabs/TabCtrl.h"
#include "toolkit/tabs/TabCtrlButtons.h"
#include "toolkit/tabs/TabCtrlThemes.h"

#include <commctrl.h>

namespace {

// A tab control that counts the scroll requests and close commands it gets.
class CCountingTabCtrl : public CKLTabCtrl {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_HSCROLL) ++m_nScrolls;
        if (message == WM_COMMAND && LOWORD(wParam) == CKLTabCtrlButtons::commandClose) ++m_nCloses;
        return CKLTabCtrl::WindowProc(message, wParam, lParam);
    }
    int m_nScrolls = 0;
    int m_nCloses = 0;
};

// A window that gives up the mouse capture when it gets its message.
class CCaptureThief : public CWnd {
public:
    CCaptureThief() { CreateEx(0, AfxRegisterWndClass(0), "thief", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0); }
    ~CCaptureThief() override { DestroyWindow(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) ::ReleaseCapture();
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class TabButtons : public ::testing::Test {
protected:
    void SetUp() override {
        m_parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, CRect(0, 0, 400, 200), nullptr, 0);
        m_tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 120), &m_parent, 1);
        CKLTabBaseThemeFactory factory;
        m_pTheme = static_cast<CKLTabBaseTheme*>(factory.CreateTheme(1));
        m_pTheme->RefreshMetrics();
        m_tab.SetTheme(m_pTheme);
        ASSERT_NE(m_tab.GetButtons(), nullptr);
    }
    void TearDown() override {
        m_tab.DestroyWindow();
        m_parent.DestroyWindow();
    }
    void AddTabs(int nCount) {
        for (int i = 0; i < nCount; ++i) m_tab.InsertItem(m_tab.GetItemCount(), "A rather long caption");
    }
    CKLTabCtrlButtons* Buttons() {
        m_pTheme->UpdateButtons(&m_tab);
        m_tab.GetButtons()->Reposition();
        return m_tab.GetButtons();
    }
    static void Drain() {
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessage(&msg);
    }

    CWnd m_parent;
    CCountingTabCtrl m_tab;
    CKLTabBaseTheme* m_pTheme = nullptr;   // the control owns it
};

TEST_F(TabButtons, TheWindowHidesWithoutTabsAndShowsWithThem) {
    CKLTabCtrlButtons* pButtons = Buttons();
    ASSERT_TRUE(pButtons->IsShown());
    ASSERT_NE(pButtons->GetSafeHwnd(), nullptr);
    EXPECT_FALSE(pButtons->GetStyle() & WS_VISIBLE);
    AddTabs(1);
    pButtons->Reposition();
    EXPECT_TRUE(pButtons->GetStyle() & WS_VISIBLE);
}

TEST_F(TabButtons, ScrollLeftIsDisabledWhileTheFirstTabIsInView) {
    AddTabs(8);
    CKLTabCtrlButtons* pButtons = Buttons();
    EXPECT_TRUE(pButtons->m_btnLeft.Has(CKLTabCtrlButton::stateDisabled));
    EXPECT_FALSE(pButtons->m_btnRight.Has(CKLTabCtrlButton::stateDisabled));
    m_tab.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
    pButtons->Reposition();
    EXPECT_FALSE(pButtons->m_btnLeft.Has(CKLTabCtrlButton::stateDisabled));
}

TEST_F(TabButtons, AHeldScrollButtonScrollsAtOnceAndThenOncePerMessage) {
    AddTabs(8);
    CKLTabCtrlButtons* pButtons = Buttons();
    const CPoint pt = pButtons->m_btnRight.m_rcButton.CenterPoint();
    for (int nMessages : {0, 2, 5}) {
        Drain();
        m_tab.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
        m_tab.m_nScrolls = 0;
        for (int i = 0; i < nMessages; ++i) pButtons->PostMessage(WM_NULL);
        pButtons->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        EXPECT_TRUE(pButtons->Track(pButtons->m_btnRight, pt, TRUE));
        EXPECT_EQ(m_tab.m_nScrolls, nMessages + 1) << nMessages;
        EXPECT_FALSE(pButtons->m_btnRight.Has(CKLTabCtrlButton::statePressed));
        EXPECT_EQ(::GetCapture(), nullptr);
    }
}

TEST_F(TabButtons, TheCloseButtonSendsItsCommandOnlyForAReleaseOverIt) {
    AddTabs(8);
    CKLTabCtrlButtons* pButtons = m_tab.GetButtons();
    pButtons->m_dwShownButtons |= CKLTabCtrlButtons::showClose;
    Buttons();
    const CRect rc = pButtons->m_btnClose.m_rcButton;
    ASSERT_FALSE(rc.IsRectEmpty());
    const struct {
        CPoint ptUp;
        int nCloses;
    } cases[] = {{CPoint(rc.right + 20, rc.top), 0}, {rc.CenterPoint(), 1}};
    for (const auto& c : cases) {
        Drain();
        m_tab.m_nCloses = 0;
        pButtons->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.ptUp.x, c.ptUp.y));
        pButtons->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y));
        EXPECT_EQ(m_tab.m_nCloses, c.nCloses) << c.ptUp.x;
    }
}

TEST_F(TabButtons, ADisabledButtonNeverTurnsHotNorStartsAPress) {
    AddTabs(8);
    CKLTabCtrlButtons* pButtons = Buttons();
    ASSERT_TRUE(pButtons->m_btnLeft.Has(CKLTabCtrlButton::stateDisabled));
    const CPoint pt = pButtons->m_btnLeft.m_rcButton.CenterPoint();
    pButtons->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(pButtons->m_btnLeft.Has(CKLTabCtrlButton::stateHot));
    EXPECT_FALSE(pButtons->Track(pButtons->m_btnLeft, pt, TRUE));
    EXPECT_EQ(::GetCapture(), nullptr);
    const CPoint ptRight = pButtons->m_btnRight.m_rcButton.CenterPoint();
    pButtons->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptRight.x, ptRight.y));
    EXPECT_TRUE(pButtons->m_btnRight.Has(CKLTabCtrlButton::stateHot));
}

TEST_F(TabButtons, ThePressLoopEndsOnQuitAndOnLostCapture) {
    AddTabs(8);
    CKLTabCtrlButtons* pButtons = Buttons();
    const CPoint pt = pButtons->m_btnRight.m_rcButton.CenterPoint();
    Drain();
    ::PostQuitMessage(7);
    EXPECT_FALSE(pButtons->Track(pButtons->m_btnRight, pt, TRUE));
    MSG msg;
    ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));   // handed back to the caller
    EXPECT_EQ(msg.wParam, 7u);

    CCaptureThief thief;
    thief.PostMessage(WM_APP);
    EXPECT_FALSE(pButtons->Track(pButtons->m_btnRight, pt, TRUE));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(pButtons->m_btnRight.Has(CKLTabCtrlButton::statePressed));
}

TEST_F(TabButtons, ReleaseGivesBackASubclassedScrollControlAndDestroysOnlyItsOwnWindow) {
    CKLTabCtrlButtons* pButtons = m_tab.GetButtons();
    pButtons->Release();
    CWnd scroll;
    ASSERT_TRUE(scroll.CreateEx(0, AfxRegisterWndClass(0), "scroll", WS_CHILD, CRect(0, 0, 10, 10), &m_tab, 1));
    const HWND hScroll = scroll.Detach();
    pButtons->Create(hScroll);
    EXPECT_EQ(pButtons->GetSafeHwnd(), hScroll);
    pButtons->Release();
    EXPECT_TRUE(::IsWindow(hScroll));
    EXPECT_EQ(pButtons->GetSafeHwnd(), nullptr);

    pButtons->Create(nullptr);
    const HWND hOwn = pButtons->GetSafeHwnd();
    ASSERT_NE(hOwn, nullptr);
    EXPECT_NE(hOwn, hScroll);
    pButtons->Release();
    EXPECT_FALSE(::IsWindow(hOwn));
    ::DestroyWindow(hScroll);
}

}  // namespace
