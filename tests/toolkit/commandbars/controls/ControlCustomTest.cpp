// The custom control on a tool bar of a hidden frame: its window hidden or replaced by a button
// on a vertical bar, moved only when its rectangle changes, enabled with the control, and its
// mouse moves reaching the bar; what a store holds for it loads within what a window takes.
#include "ArchiveExchangeRoundTrip.h"
#include "MenuFrameTestSupport.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/controls/ControlCustom.h"
#include "toolkit/common/WindowSubclasser.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

// Counts the moves it is given and the mouse moves that reach it.
class CHostedWnd : public CWnd {
public:
    int m_nMoves = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_WINDOWPOSCHANGED && !(reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOMOVE)) ++m_nMoves;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ControlCustom : public ::testing::Test {
protected:
    ControlCustom() {
        m_pBar = static_cast<CKLVToolBar*>(m_frame.m_pCommandBars->Add("Custom", CKLVCommandBar::barTop));
        m_pControl = static_cast<CKLVControlCustom*>(m_pBar->GetControls()->Add(CKLVControl::typeCustom, 700));
        m_wnd.CreateEx(0, AfxRegisterWndClass(0), "hosted", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 20), m_frame.m_pFrame, 0);
        ::SetWindowLongPtrA(m_wnd.GetSafeHwnd(), GWLP_ID, 1234);
        m_pControl->m_szControl = CSize(50, 20);
        m_pControl->SetControl(m_wnd.GetSafeHwnd());
    }
    ~ControlCustom() override { m_wnd.DestroyWindow(); }
    BOOL WindowShown() const { return (m_wnd.GetStyle() & WS_VISIBLE) != 0; }
    void Dock(int nPosition) {
        m_frame.m_pCommandBars->DockCommandBar(m_pBar, nPosition);
        m_frame.m_pCommandBars->RecalcFrameLayout();
    }

    CMenuFrameFixture m_frame;
    CKLVToolBar* m_pBar = nullptr;
    CKLVControlCustom* m_pControl = nullptr;
    CHostedWnd m_wnd;
};

TEST_F(ControlCustom, TheCollectionMakesItAndTheBarTakesItsWindow) {
    EXPECT_EQ(m_pControl->GetRuntimeClass(), RUNTIME_CLASS(CKLVControlCustom));
    EXPECT_EQ(m_pControl->m_nControlId, 1234);
    m_pControl->m_rcBorders = CRect(1, 2, 3, 4);
    m_pControl->SetRect(CRect(10, 2, 64, 28));
    EXPECT_EQ(::GetParent(m_wnd.GetSafeHwnd()), m_pBar->GetSafeHwnd());
    EXPECT_TRUE(m_wnd.GetStyle() & WS_CHILD);
    EXPECT_FALSE(m_wnd.GetStyle() & WS_POPUP);
    CRect rc;
    m_wnd.GetWindowRect(&rc);
    m_pBar->ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(11, 4, 61, 24));
    EXPECT_TRUE(WindowShown());
    CClientDC dc(nullptr);
    EXPECT_EQ(m_pControl->GetSize(&dc), CSize(54, 26));
    m_pControl->SetEnabled(FALSE);
    EXPECT_FALSE(m_wnd.IsWindowEnabled());
    m_pControl->SetEnabled(TRUE);
    EXPECT_TRUE(m_wnd.IsWindowEnabled());
}

TEST_F(ControlCustom, TheSameRectangleTwiceMovesTheWindowOnce) {
    m_pControl->SetRect(CRect(10, 2, 60, 22));
    const int nMoves = m_wnd.m_nMoves;
    m_pControl->SetRect(CRect(30, 2, 80, 22));
    m_pControl->SetRect(CRect(30, 2, 80, 22));
    EXPECT_EQ(m_wnd.m_nMoves, nMoves + 1);
}

TEST_F(ControlCustom, OnAVerticalBarTheWindowHidesOrGivesWayToAButton) {
    const struct {
        int nOptions;
        BOOL bControlVisible, bWindowShown;
    } cases[] = {{CKLVControlCustom::verticalHide, FALSE, FALSE},
                 {CKLVControlCustom::verticalKeepWindow, TRUE, TRUE},
                 {CKLVControlCustom::verticalButton, TRUE, FALSE}};
    for (const auto& c : cases) {
        m_pControl->m_nVerticalOptions = c.nOptions;
        Dock(CKLVCommandBar::barLeft);
        EXPECT_EQ(m_pControl->IsVisible(), c.bControlVisible) << c.nOptions;
        EXPECT_EQ(WindowShown(), c.bWindowShown) << c.nOptions;
        Dock(CKLVCommandBar::barTop);
        EXPECT_TRUE(m_pControl->IsVisible()) << c.nOptions;
        EXPECT_TRUE(WindowShown()) << c.nOptions;
    }
}

TEST_F(ControlCustom, TheButtonInTheWindowsPlaceExecutesTheCommand) {
    m_pControl->m_nVerticalOptions = CKLVControlCustom::verticalButton;
    const CPoint pt = m_pControl->GetRect().CenterPoint();
    // While the window shows, a click on the control is the window's business.
    m_pControl->OnClick(TRUE, pt);
    EXPECT_TRUE(m_frame.m_pFrame->m_commands.empty());
    Dock(CKLVCommandBar::barLeft);
    ASSERT_FALSE(WindowShown());
    m_pControl->OnClick(TRUE, m_pControl->GetRect().CenterPoint());
    EXPECT_EQ(m_frame.m_pFrame->m_commands, (std::vector<UINT>{700}));
}

TEST_F(ControlCustom, RemovedFromItsBarTheWindowHides) {
    m_pControl->SetRect(CRect(10, 2, 60, 22));
    ASSERT_TRUE(WindowShown());
    m_pControl->InternalAddRef();
    m_pBar->GetControls()->Remove(m_pControl);
    EXPECT_FALSE(WindowShown());
    m_pControl->InternalRelease();
}

TEST_F(ControlCustom, TheWindowsMouseMovesReachTheBarWhereTheyLieOnIt) {
    m_pControl->SetRect(CRect(10, 2, 60, 22));
    m_pBar->SetTrackingMode(TRUE, FALSE);
    ::SendMessageA(m_wnd.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(m_pBar->m_nSelected, m_pControl->GetIndex());
    m_pBar->SetTrackingMode(FALSE);
}

TEST_F(ControlCustom, StoredMarginsAndSizeLoadWithinWhatAWindowTakes) {
    // On the bar, where the loaded control finds the window again by its id.
    m_pControl->SetRect(CRect(10, 2, 60, 22));
    const struct {
        CRect rcStored;
        CSize szStored;
        CRect rcLoaded;
        CSize szLoaded;
    } cases[] = {
        {CRect(1, 2, 3, 4), CSize(50, 20), CRect(1, 2, 3, 4), CSize(50, 20)},
        {CRect(-5, -1, -7, -2), CSize(-50, -20), CRect(0, 0, 0, 0), CSize(0, 0)},
        {CRect(LONG_MAX, LONG_MIN, LONG_MAX, 0x8000), CSize(LONG_MAX, LONG_MIN), CRect(0x7FFF, 0, 0x7FFF, 0x7FFF),
         CSize(0x7FFF, 0)},
    };
    CClientDC dc(nullptr);
    for (const auto& c : cases) {
        m_pControl->m_rcBorders = c.rcStored;
        m_pControl->m_szControl = c.szStored;
        auto* pLoaded = static_cast<CKLVControlCustom*>(m_pBar->GetControls()->Add(CKLVControl::typeCustom, 701));
        RoundTrip(m_pControl, pLoaded, CKLVPropExchange::nCurrentSchema);
        EXPECT_EQ(pLoaded->m_rcBorders, c.rcLoaded) << c.szStored.cx;
        EXPECT_EQ(pLoaded->m_szControl, c.szLoaded) << c.szStored.cx;
        ASSERT_EQ(pLoaded->GetControl(), m_wnd.GetSafeHwnd());
        EXPECT_EQ(pLoaded->GetSize(&dc), CSize(c.szLoaded.cx + c.rcLoaded.left + c.rcLoaded.right,
                                               c.szLoaded.cy + c.rcLoaded.top + c.rcLoaded.bottom))
            << c.szStored.cx;
        m_pBar->GetControls()->Remove(pLoaded);
    }
}

TEST_F(ControlCustom, ACopyListensToTheWindowItTookOver) {
    auto* pCopy = static_cast<CKLVControlCustom*>(m_pBar->GetControls()->Add(CKLVControl::typeCustom, 701));
    pCopy->Copy(m_pControl);
    EXPECT_EQ(pCopy->GetControl(), m_wnd.GetSafeHwnd());
    EXPECT_EQ(pCopy->m_nControlId, 1234);
    CKLVHookedWindow* pHooked = KLVWindowSubclasser()->Lookup(m_wnd.GetSafeHwnd());
    ASSERT_NE(pHooked, nullptr);
    EXPECT_GE(pHooked->FindSink(pCopy), 0);
    // The original lets the window go; the copy still relays its mouse moves to the bar.
    m_pControl->SetControl(nullptr);
    m_pControl->SetRect(CRect(100, 2, 150, 22));
    pCopy->SetRect(CRect(10, 2, 60, 22));
    m_pBar->SetTrackingMode(TRUE, FALSE);
    ::SendMessageA(m_wnd.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(m_pBar->m_nSelected, pCopy->GetIndex());
    m_pBar->SetTrackingMode(FALSE);
}

}  // namespace
