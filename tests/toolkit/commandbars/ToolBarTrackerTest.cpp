// Dragging tool bars: the drag loop ends on the button release, Escape or a quit (which the
// outer loop still sees), a float keeps 10 pixels on the work area, a docked bar floats off only
// when it may float, a bar without flags does not move; hiding a temporary bar removes it; the
// application's frame with its standard tool bar, and no handle left behind when it goes.
#include "ControlTestSupport.h"
#include "classlib/FrameWnd.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/dockbars/DockBar.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/ToolBarTracker.h"
#include "toolkit/commandbars/frame/MDIFrameWnd.h"

#include <gtest/gtest.h>

namespace commandbars_test {
namespace {

CRect WindowRect(CWnd* pWnd) {
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return rc;
}

CRect WorkArea() {
    CRect rc;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

class ToolBarDrags : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        TakeMarlett();   // floating bars paint their close buttons with it
        m_site.MoveWindow(100, 100, 400, 300);
        m_commandBars.SetSite(&m_site);
        m_commandBars.EnableDocking();
    }
    void TearDown() override {
        m_commandBars.RemoveAll();
        classlib_test::PumpPending();
    }
    CKLVToolBar* AddBar(int nPosition, UINT nFlags = 63) {
        auto* pBar = static_cast<CKLVToolBar*>(m_commandBars.Add("bar", nPosition));
        pBar->m_nFlags = nFlags;
        for (int i = 0; i < 3; ++i) pBar->GetControls()->Add(new CFixedControl, 100 + i);
        pBar->OnRecalcLayout();
        return pBar;
    }
    // Queues a mouse move to the screen point, as the bar would receive it now.
    static void PostMoveTo(CKLVToolBar* pBar, CPoint ptScreen) {
        pBar->ScreenToClient(&ptScreen);
        pBar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptScreen.x, ptScreen.y));
    }

    CTestSite m_site;
    CKLVCommandBars m_commandBars;
};

}  // namespace

TEST_F(ToolBarDrags, TheDragLoopEndsOnReleaseEscapeAndQuit) {
    CKLVToolBar* pBar = AddBar(CKLVCommandBar::barFloating);
    ASSERT_NE(pBar, nullptr);
    ASSERT_TRUE(pBar->IsFloating());
    enum End { release, escape, quit };
    for (End end : {release, escape, quit}) {
        pBar->SetWindowPos(nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const CPoint ptStart = WindowRect(pBar).TopLeft() + CPoint(5, 5);
        PostMoveTo(pBar, ptStart + CPoint(40, 30));
        if (end == release) pBar->PostMessage(WM_LBUTTONUP);
        if (end == escape) pBar->PostMessage(WM_KEYDOWN, VK_ESCAPE);
        if (end == quit) ::PostQuitMessage(7);
        pBar->GetTracker()->StartMove(ptStart);
        // A quit ends the drag at once, before the move queued ahead of it.
        const CPoint ptEnd = end == quit ? CPoint(300, 300) : CPoint(340, 330);
        EXPECT_EQ(WindowRect(pBar).TopLeft(), ptEnd) << end;
        EXPECT_EQ(pBar->GetTracker()->m_ptLastFloating, ptEnd) << end;
        EXPECT_EQ(::GetCapture(), nullptr) << end;
        MSG msg;
        const BOOL bQuitLeft = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_EQ(bQuitLeft, end == quit) << end;
        if (bQuitLeft) {
            EXPECT_EQ(msg.wParam, 7u);
        }
        classlib_test::PumpPending();
    }
    // Nothing while another window holds the capture.
    m_site.SetCapture();
    pBar->PostMessage(WM_LBUTTONUP);
    pBar->GetTracker()->StartMove(WindowRect(pBar).TopLeft());
    EXPECT_EQ(::GetCapture(), m_site.GetSafeHwnd());
    ::ReleaseCapture();
}

TEST_F(ToolBarDrags, AFloatKeepsTenPixelsOnTheWorkArea) {
    CKLVToolBar* pBar = AddBar(CKLVCommandBar::barFloating);
    const CRect rcWork = WorkArea();
    const struct {
        const char* what;
        CPoint ptTarget;
    } cases[] = {{"far right, below", rcWork.BottomRight() + CPoint(600, 600)},
                 {"far left, above", rcWork.TopLeft() + CPoint(-600, -600)}};
    for (const auto& c : cases) {
        pBar->SetWindowPos(nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const CPoint ptStart = WindowRect(pBar).TopLeft() + CPoint(5, 5);
        PostMoveTo(pBar, c.ptTarget);
        pBar->PostMessage(WM_LBUTTONUP);
        pBar->GetTracker()->StartMove(ptStart);
        CRect rcVisible;
        EXPECT_TRUE(rcVisible.IntersectRect(WindowRect(pBar), rcWork)) << c.what;
        EXPECT_EQ(rcVisible.Width(), 10) << c.what;
        EXPECT_EQ(rcVisible.Height(), 10) << c.what;
    }
}

TEST_F(ToolBarDrags, ADockedBarFloatsOffOnlyWhenItMayFloat) {
    const struct {
        UINT nFlags;
        BOOL bFloats;
    } cases[] = {{63, TRUE}, {15, FALSE}};
    for (const auto& c : cases) {
        CKLVToolBar* pBar = AddBar(CKLVCommandBar::barTop, c.nFlags);
        ASSERT_TRUE(pBar->IsDocked());
        const CPoint ptStart = WindowRect(pBar).TopLeft() + CPoint(2, 2);
        PostMoveTo(pBar, ptStart + CPoint(150, 150));
        pBar->PostMessage(WM_LBUTTONUP);
        pBar->GetTracker()->StartMove(ptStart);
        EXPECT_EQ(pBar->IsFloating(), c.bFloats) << c.nFlags;
        EXPECT_EQ(pBar->m_pDockBar == nullptr, c.bFloats) << c.nFlags;
        if (c.bFloats) {
            // The cursor stays inside the float.
            EXPECT_TRUE(WindowRect(pBar).PtInRect(ptStart + CPoint(150, 150)));
            EXPECT_EQ(pBar->GetTracker()->m_nLastDockPosition, 0);
        }
        m_commandBars.RemoveAll();
    }
}

TEST_F(ToolBarDrags, ABarWithoutFlagsDoesNotMove) {
    const struct {
        UINT nFlags;
        BOOL bDrags;
    } cases[] = {{0, FALSE}, {63, TRUE}};
    for (const auto& c : cases) {
        CKLVToolBar* pBar = AddBar(CKLVCommandBar::barFloating, c.nFlags);
        // A drag would take the queued release; without one it stays queued.
        pBar->PostMessage(WM_LBUTTONUP);
        CRect rcClient;
        pBar->GetClientRect(&rcClient);
        pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcClient.right - 1, rcClient.bottom - 1));
        MSG msg;
        EXPECT_EQ(::PeekMessageA(&msg, pBar->GetSafeHwnd(), WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE), !c.bDrags)
            << c.nFlags;
        m_commandBars.RemoveAll();
    }
}

TEST_F(ToolBarDrags, HidingATemporaryBarRemovesIt) {
    CKLVToolBar* pKept = AddBar(CKLVCommandBar::barTop);
    CKLVToolBar* pTemporary = AddBar(CKLVCommandBar::barTop);
    pTemporary->SetTemporary(TRUE);
    pKept->SetVisible(FALSE);
    pTemporary->SetVisible(FALSE);
    EXPECT_EQ(m_commandBars.GetCount(), 1);
    EXPECT_EQ(m_commandBars.GetAt(0), pKept);
    EXPECT_FALSE(pKept->IsVisible());
    EXPECT_TRUE(m_commandBars.GetOptions()->bDirty);
}

namespace {

// The application's main frame: command bars, a menu-less frame with the standard tool bar.
class CStandardFrame : public CKLVMDIFrameWnd {
public:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
        if (CKLVMDIFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars()) return -1;
        m_pStandard = m_pCommandBars->Add("Standard", CKLVCommandBar::barTop);
        if (!m_pStandard || !m_pStandard->LoadToolBar(128)) return -1;
        m_pFloating = m_pCommandBars->Add("Floating", CKLVCommandBar::barFloating);
        return m_pFloating ? 0 : -1;
    }
    CKLVCommandBar* m_pStandard = nullptr;
    CKLVCommandBar* m_pFloating = nullptr;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CStandardFrame, CKLVMDIFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

}  // namespace

TEST(ToolBarFrame, TheStandardBarDocksOnTopWithTheIconsOfItsBitmapAndLeavesNoHandles) {
    CKLVFlatTestTheme::Register();
    TakeMarlett();
    auto cycle = [](BOOL bCheck) {
        auto* pFrame = new CStandardFrame;
        ASSERT_TRUE(pFrame->LoadFrame(128, WS_OVERLAPPEDWINDOW));
        pFrame->MoveWindow(0, 0, 500, 300);
        pFrame->RecalcLayout();
        CKLVCommandBars* pCommandBars = pFrame->GetCommandBars();
        CKLVCommandBar* pBar = pFrame->m_pStandard;
        if (bCheck) {
            EXPECT_EQ(pBar->GetIconSize(), CSize(17, 16));
            EXPECT_EQ(pBar->GetControlCount(), 4);   // three buttons and the options button
            CKLVDockBar* pTop = pCommandBars->GetDockBar(CKLVCommandBar::barTop);
            EXPECT_EQ(pTop->FindBar(pBar), 1);
            EXPECT_EQ(pBar->GetParent(), pTop);
            CRect rcTop, rcBar;
            pTop->GetWindowRect(&rcTop);
            pBar->GetWindowRect(&rcBar);
            EXPECT_EQ(rcTop.Height(), rcBar.Height());
            EXPECT_GE(rcBar.Width(), 3 * 17);
            EXPECT_TRUE(pFrame->m_pFloating->GetStyle() & WS_POPUP);
            EXPECT_EQ(::GetWindow(pFrame->m_pFloating->GetSafeHwnd(), GW_OWNER), pFrame->GetSafeHwnd());
        }
        pFrame->DestroyWindow();
    };
    cycle(TRUE);
    const classlib_test::HandleCounts before = classlib_test::CountHandles();
    cycle(FALSE);
    EXPECT_EQ(classlib_test::CountHandles(), before);
}

}  // namespace commandbars_test
