// The dialog bar on a hidden frame: its sizes docked and floating around the child, the free
// edges it answers and the resizes it takes (never below the minimum), its caption controls, the
// caption strip the mouse hook counts as the bar, and the active caption.
#include "MenuFrameTestSupport.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/commandbars/DialogBar.h"
#include "toolkit/commandbars/DialogBarControls.h"
#include "toolkit/commandbars/ToolBarTracker.h"

#include <gtest/gtest.h>

using namespace commandbars_test;

namespace {

const int kCaption = 22, kGripper = 8;

// The flat theme with a caption line of its own height.
class CCaptionTheme : public CKLVFlatTestTheme {
public:
    CSize DrawDialogBarGripper(CDC*, CKLVCommandBarFace*, BOOL) override { return CSize(kGripper, kCaption); }
};

CRect WindowRect(CWnd* pWnd) {
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return rc;
}

class DialogBar : public ::testing::Test {
protected:
    DialogBar() {
        TakeMarlett();
        m_pBar = static_cast<CKLVDialogBar*>(
            m_frame.m_pCommandBars->Add("Dialog", CKLVCommandBar::barTop, RUNTIME_CLASS(CKLVDialogBar)));
        auto* pTheme = new CCaptionTheme;
        pTheme->RefreshMetrics();
        m_pBar->SetPaintManager(pTheme);
        m_child.CreateEx(0, AfxRegisterWndClass(0), "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_pBar, 0);
        m_pBar->SetChild(m_child.GetSafeHwnd());
        Dock(CKLVCommandBar::barTop);
    }
    ~DialogBar() override {
        if (m_child.GetSafeHwnd()) m_child.DestroyWindow();
    }
    void Dock(int nPosition) {
        m_pBar->SetPosition(nPosition);
        if (nPosition == CKLVCommandBar::barFloating)
            m_pBar->OnRecalcLayout();
        else
            m_frame.m_pCommandBars->RecalcFrameLayout();
    }
    CRect ChildRect() {
        CRect rc = WindowRect(&m_child);
        m_pBar->ScreenToClient(&rc);
        return rc;
    }
    LRESULT HitTest(CPoint ptScreen) {
        return m_pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
    }

    CMenuFrameFixture m_frame;
    CKLVDialogBar* m_pBar = nullptr;
    CWnd m_child;
};

TEST_F(DialogBar, ItsSizeIsTheChildAreaWithBordersAndCaption) {
    const int nVertical = 6 + kCaption;
    const struct {
        const char* what;
        int nPosition;
        BOOL bStretched, bCaption;
        CSize szWindow;   // cx 0: the dock's width
    } cases[] = {
        {"docked (200 by 200)", CKLVCommandBar::barTop, FALSE, TRUE, CSize(206, 200 + nVertical)},
        {"floating (100 by 80)", CKLVCommandBar::barFloating, FALSE, TRUE, CSize(106, 80 + nVertical)},
        {"docked left", CKLVCommandBar::barLeft, FALSE, TRUE, CSize(206, 200 + nVertical)},
        {"stretched", CKLVCommandBar::barTop, TRUE, TRUE, CSize(0, 200 + nVertical)},
        {"no caption", CKLVCommandBar::barTop, FALSE, FALSE, CSize(206, 206)},
    };
    for (const auto& c : cases) {
        m_pBar->m_szFloating = CSize(100, 80);
        m_pBar->m_bCaption = c.bCaption;
        m_pBar->m_nFlags = c.bStretched ? 63 | CKLVToolBar::flagStretched : 63;
        Dock(c.nPosition);
        CSize szExpected = c.szWindow;
        if (!szExpected.cx) szExpected.cx = WindowRect(m_pBar->GetParent()).Width();
        EXPECT_EQ(WindowRect(m_pBar).Size(), szExpected) << c.what;
        // The child fills the client area inside the borders, below the caption.
        const int nTop = 3 + (c.bCaption ? kCaption : 0);
        EXPECT_EQ(ChildRect(), CRect(3, nTop, szExpected.cx - 3, szExpected.cy - 3)) << c.what;
    }
}

TEST_F(DialogBar, OnlyTheFreeEdgesAnswerResizeCodes) {
    enum Spot { top, bottom, left, right, topLeft, bottomRight };
    auto pointAt = [this](Spot spot) {
        const CRect rc = WindowRect(m_pBar);
        const int x = spot == left || spot == topLeft ? rc.left + 1 : spot == top || spot == bottom ? rc.CenterPoint().x
                                                                                                    : rc.right - 2;
        const int y = spot == top || spot == topLeft ? rc.top + 1 : spot == left || spot == right ? rc.CenterPoint().y
                                                                                                  : rc.bottom - 2;
        return CPoint(x, y);
    };
    const UINT kStretched = 63 | CKLVToolBar::flagStretched;
    const struct {
        int nPosition;
        UINT nFlags;
        Spot spot;
        LRESULT nExpected;
    } cases[] = {
        {CKLVCommandBar::barTop, 63, bottom, HTBOTTOM},      {CKLVCommandBar::barTop, 63, right, HTRIGHT},
        {CKLVCommandBar::barTop, 63, top, HTCLIENT},         {CKLVCommandBar::barTop, 63, left, HTCLIENT},
        {CKLVCommandBar::barBottom, 63, top, HTTOP},         {CKLVCommandBar::barBottom, 63, bottom, HTCLIENT},
        {CKLVCommandBar::barRight, 63, left, HTLEFT},        {CKLVCommandBar::barRight, 63, right, HTCLIENT},
        {CKLVCommandBar::barLeft, kStretched, bottom, HTCLIENT}, {CKLVCommandBar::barLeft, kStretched, right, HTRIGHT},
        {CKLVCommandBar::barTop, kStretched, right, HTCLIENT},   {CKLVCommandBar::barTop, kStretched, bottom, HTBOTTOM},
        {CKLVCommandBar::barFloating, 63, topLeft, HTTOPLEFT},  {CKLVCommandBar::barFloating, 63, bottomRight, HTBOTTOMRIGHT},
        {CKLVCommandBar::barFloating, 63, left, HTLEFT},
    };
    for (const auto& c : cases) {
        m_pBar->m_nFlags = c.nFlags;
        Dock(c.nPosition);
        EXPECT_EQ(HitTest(pointAt(c.spot)), c.nExpected) << c.nPosition << " flags " << c.nFlags << " spot " << c.spot;
    }
    m_pBar->m_bResizable = FALSE;
    EXPECT_EQ(HitTest(pointAt(topLeft)), HTCLIENT);
}

TEST_F(DialogBar, AResizeBelowTheMinimumIsIgnored) {
    const int nVertical = 6 + kCaption;
    const CSize szStart(200, 200);
    const struct {
        const char* what;
        int nPosition, nHitTest;
        CSize szAsked;   // the window
        CSize szDocked, szFloating;
    } cases[] = {
        {"floating, too narrow", CKLVCommandBar::barFloating, HTRIGHT, CSize(49 + 6, 60 + nVertical), szStart, szStart},
        {"floating, at the minimum", CKLVCommandBar::barFloating, HTBOTTOMRIGHT, CSize(56, 50 + nVertical), szStart,
         CSize(50, 50)},
        {"docked, too low", CKLVCommandBar::barTop, HTBOTTOM, CSize(206, 49 + nVertical), szStart, szStart},
        {"docked, the width only", CKLVCommandBar::barTop, HTRIGHT, CSize(126, 300), CSize(120, 200), szStart},
    };
    for (const auto& c : cases) {
        m_pBar->m_szDocked = m_pBar->m_szFloating = szStart;
        Dock(c.nPosition);
        const CPoint pt = WindowRect(m_pBar).TopLeft();
        m_pBar->OnResize(pt.x, pt.y, pt.x + c.szAsked.cx, pt.y + c.szAsked.cy, c.nHitTest);
        EXPECT_EQ(m_pBar->m_szDocked, c.szDocked) << c.what;
        EXPECT_EQ(m_pBar->m_szFloating, c.szFloating) << c.what;
        const CSize szChild = m_pBar->IsFloating() ? c.szFloating : c.szDocked;
        EXPECT_EQ(WindowRect(m_pBar), CRect(pt, szChild + CSize(6, nVertical))) << c.what;
    }
}

TEST_F(DialogBar, TheTrackerMovesOnlyTheDraggedEdges) {
    const struct {
        int nPosition, nHitTest;
        CPoint delta;
        CRect rcChange;   // added to the window rectangle's edges
    } cases[] = {{CKLVCommandBar::barTop, HTBOTTOM, CPoint(30, 40), CRect(0, 0, 0, 40)},
                 {CKLVCommandBar::barFloating, HTTOPLEFT, CPoint(-20, 10), CRect(-20, 10, 0, 0)}};
    for (const auto& c : cases) {
        Dock(c.nPosition);
        if (m_pBar->IsFloating()) m_pBar->SetWindowPos(nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const CRect rc = WindowRect(m_pBar);
        CPoint ptEnd = rc.CenterPoint() + c.delta;
        m_pBar->ScreenToClient(&ptEnd);
        m_pBar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptEnd.x, ptEnd.y));
        m_pBar->PostMessage(WM_LBUTTONUP);
        m_pBar->GetTracker()->StartResize(c.nHitTest, rc.CenterPoint());
        m_frame.m_pCommandBars->RecalcFrameLayout();
        const CRect rcExpected(rc.left + c.rcChange.left, rc.top + c.rcChange.top, rc.right, rc.bottom + c.rcChange.bottom);
        EXPECT_EQ(WindowRect(m_pBar), rcExpected) << c.nHitTest;
        EXPECT_EQ(ChildRect().Size(), rcExpected.Size() - CSize(6, 6 + kCaption)) << c.nHitTest;
    }
}

TEST_F(DialogBar, TheCaptionControlsFollowTheFlagsAndTheTexts) {
    const struct {
        BOOL bCloseable;
        const char* caption;
        BOOL bItem;
        const char* expected;
        BOOL bArrow;
    } cases[] = {{TRUE, "", FALSE, "Dialog", FALSE}, {FALSE, "Options", TRUE, "Options", TRUE}};
    const int nCentre = 3 + kCaption / 2;
    for (const auto& c : cases) {
        m_pBar->m_bCloseable = c.bCloseable;
        m_pBar->m_strCaption = c.caption;
        if (c.bItem) m_pBar->GetCaptionPopupBar()->GetControls()->Add(CKLVControl::typeButton, 500);
        Dock(CKLVCommandBar::barTop);
        // The close button always exists, at the caption's right end; the popup runs from the
        // gripper up to it.
        CKLVControl* pClose = m_pBar->GetControls()->FindControl(CKLVToolBar::idCloseButton);
        auto* pPopup =
            static_cast<CKLVDialogBarCaptionPopup*>(m_pBar->GetControls()->FindControl(CKLVDialogBar::idCaptionPopup));
        ASSERT_TRUE(pClose && pPopup);
        EXPECT_EQ(pClose->IsVisible(), c.bCloseable);
        EXPECT_EQ(pClose->GetRect(), CRect(187, nCentre - 8, 203, nCentre + 8));
        EXPECT_EQ(pPopup->GetRect().left, 3 + kGripper);
        EXPECT_EQ(pPopup->GetRect().right, c.bCloseable ? 187 : 203);
        EXPECT_EQ(pPopup->GetCommandBar(), m_pBar->GetCaptionPopupBar());
        EXPECT_EQ(pPopup->GetCaption(), CString(c.expected));
        EXPECT_EQ(pPopup->m_bShowArrow, c.bArrow);
    }
    m_pBar->GetControls()->FindControl(CKLVToolBar::idCloseButton)->OnExecute();
    EXPECT_FALSE(m_pBar->IsVisible());
}

TEST_F(DialogBar, OnlyTheCaptionStripCountsAsTheBarForTheMouseHook) {
    const CRect rc = WindowRect(m_pBar);
    const struct {
        CPoint pt;
        int nExpected;
    } cases[] = {{CPoint(rc.left + 10, rc.top + kCaption - 1), CKLVHookedPopupBar::hitInside},
                 {CPoint(rc.left + 10, rc.top + kCaption), CKLVHookedPopupBar::hitSkip},
                 {CPoint(rc.right + 5, rc.top + 1), CKLVHookedPopupBar::hitSkip}};
    for (const auto& c : cases) {
        EXPECT_EQ(m_pBar->IsPointInBar(c.pt), c.nExpected) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(m_pBar->HitTestPopup(c.pt), c.nExpected) << c.pt.x << "," << c.pt.y;
    }
}

TEST_F(DialogBar, TheCaptionIsActiveWhileTheFocusIsInTheBarOrAWindowItsChildOwns) {
    m_frame.m_pFrame->ShowWindow(SW_SHOW);
    classlib_test::PumpPending();
    CWnd owned, outside;
    owned.CreateEx(0, AfxRegisterWndClass(0), "owned", WS_POPUP | WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 0);
    // Made with the child as its parent it would be owned by the frame: the owner is set after.
    ::SetWindowLongPtrA(owned.GetSafeHwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(m_child.GetSafeHwnd()));
    outside.CreateEx(0, AfxRegisterWndClass(0), "outside", WS_CHILD | WS_VISIBLE, CRect(0, 300, 10, 310), m_frame.m_pFrame, 0);
    const struct {
        CWnd* pFocus;
        BOOL bActive;
    } cases[] = {{&m_child, TRUE}, {&outside, FALSE}, {&owned, TRUE}, {m_pBar, TRUE}, {&outside, FALSE}};
    for (const auto& c : cases) {
        c.pFocus->SetFocus();
        ASSERT_EQ(::GetFocus(), c.pFocus->GetSafeHwnd());
        m_pBar->OnIdleUpdate(TRUE, FALSE);
        EXPECT_EQ(m_pBar->IsActive(), c.bActive) << c.pFocus->GetSafeHwnd();
    }
    owned.DestroyWindow();
    outside.DestroyWindow();
}

}  // namespace
