// The frame integration on a hidden frame: who owns the caption and how high it is, the window
// region, the status bar in the frame, the frame recalculation (now and at the next idle
// message), the frame's own caption buttons and its non-client hit test.
#include "ThemeSkin.h"
#include "ThemeTestSupport.h"
#include "classlib/FrameWnd.h"
#include "classlib/WindowMessages.h"
#include "toolkit/themes/FrameIntegration.h"
#include "toolkit/themes/PaintManagerTheme5.h"
#include "toolkit/common/WindowSubclasser.h"

namespace themes_test {
namespace {

using Theme5Ptr = std::unique_ptr<CKLVPaintManagerTheme5, Release>;

class COwnerBar : public CKLVCommandBar, public CKLVFrameCaptionOwner {
public:
    COwnerBar() { m_barPosition = barTop; }
    BOOL IsCaptionOwnerVisible() const override { return m_bShown; }
    int GetCaptionBandHeight() const override { return 50; }
    void MoveTo(int nPosition) { m_barPosition = nPosition; }
    BOOL m_bShown = TRUE;
};

// Keeps the flags of the first frame change (SetWindowPos with the frame-changed flag).
class CFrameChanges : public CKLVHookSink {
public:
    int OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM& lParam, LRESULT&) override {
        if (nMessage == WM_WINDOWPOSCHANGING) {
            const auto* pPos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if ((pPos->flags & SWP_FRAMECHANGED) && !m_nFlags) m_nFlags = pPos->flags;
        }
        return hookContinue;
    }
    UINT m_nFlags = 0;   // of the first frame change
};

// Answers the status bar's "do you belong to the frame" question as told.
class CStatusAnswer : public CKLVHookSink {
public:
    int OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT& lResult) override {
        if (nMessage != CKLVFrameIntegration::msgStatusBarInFrame) return hookContinue;
        lResult = m_lAnswer;
        return hookHandled;
    }
    LRESULT m_lAnswer = 1;
};

// Counts its layouts: the frame recalculation lays the frame out once.
class CCountingFrame : public CFrameWnd {
public:
    void RecalcLayout(BOOL bNotify) override {
        ++m_nLayouts;
        CFrameWnd::RecalcLayout(bNotify);
    }
    int m_nLayouts = 0;
};

class FrameIntegration : public ::testing::Test {
protected:
    void SetUp() override {
        m_pTheme = MakeThemeOf<CKLVPaintManagerTheme5>(5);
        m_pFrame = new CCountingFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
        KLVWindowSubclasser()->HookWindow(m_pFrame->m_hWnd, &m_changes);
        m_pIntegration = std::make_unique<CKLVFrameIntegration>(m_pFrame, nullptr, &m_bar);
        m_pIntegration->m_pPaintManager = m_pTheme.get();
    }
    void TearDown() override {
        m_pIntegration.reset();
        KLVWindowSubclasser()->UnhookWindow(m_pFrame->m_hWnd, &m_changes);
        m_pFrame->DestroyWindow();
    }

    Theme5Ptr m_pTheme;
    CCountingFrame* m_pFrame = nullptr;   // deletes itself with its window
    COwnerBar m_bar;
    CFrameChanges m_changes;
    std::unique_ptr<CKLVFrameIntegration> m_pIntegration;
};

TEST_F(FrameIntegration, TheBarOwnsTheCaptionOnlyWhileShownAtTheTop) {
    const int nStandard = m_pTheme->m_nCaptionHeight + m_pIntegration->GetBorderSize();
    const struct {
        BOOL bShown;
        int nPosition;
        DWORD dwStyle;
        BOOL bStandard;
        int nHeight;
    } cases[] = {
        {TRUE, CKLVCommandBar::barTop, 0, FALSE, 50},
        {FALSE, CKLVCommandBar::barTop, 0, TRUE, nStandard},
        {TRUE, CKLVCommandBar::barBottom, 0, TRUE, nStandard},
        {TRUE, CKLVCommandBar::barTop, WS_CHILD | WS_MINIMIZE, TRUE, nStandard},
    };
    for (const auto& c : cases) {
        m_bar.m_bShown = c.bShown;
        m_bar.MoveTo(c.nPosition);
        const DWORD dwOld = m_pFrame->GetStyle();
        ::SetWindowLongPtrA(m_pFrame->m_hWnd, GWL_STYLE, dwOld | c.dwStyle);
        EXPECT_EQ(m_pIntegration->IsCaptionStandard(), c.bStandard) << c.bShown << c.nPosition;
        EXPECT_EQ(m_pIntegration->GetCaptionHeight(), c.nHeight) << c.bShown << c.nPosition;
        ::SetWindowLongPtrA(m_pFrame->m_hWnd, GWL_STYLE, dwOld);
    }
    CKLVFrameIntegration plain(m_pFrame, nullptr);
    plain.m_pPaintManager = m_pTheme.get();
    EXPECT_TRUE(plain.IsCaptionStandard());
}

TEST_F(FrameIntegration, AMaximisedMDIChildHasNoRegionAndLeavesTheCaptionToTheMainFrame) {
    m_bar.m_bShown = FALSE;
    m_pIntegration->RefreshFrameRegion();
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(::GetWindowRgn(m_pFrame->m_hWnd, hRgn), ERROR);   // the theme's region
    EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));
    ::SetWindowLongPtrA(m_pFrame->m_hWnd, GWL_EXSTYLE, m_pFrame->GetExStyle() | WS_EX_MDICHILD);
    ::SetWindowLongPtrA(m_pFrame->m_hWnd, GWL_STYLE, m_pFrame->GetStyle() | WS_MAXIMIZE);
    ASSERT_TRUE(m_pIntegration->IsMaximizedMDIChild());
    EXPECT_FALSE(m_pIntegration->IsCaptionStandard());
    m_pIntegration->RefreshFrameRegion();
    EXPECT_EQ(::GetWindowRgn(m_pFrame->m_hWnd, hRgn), ERROR);
    ::DeleteObject(hRgn);
}

TEST_F(FrameIntegration, AMaximisedFrameIsCutToItsClientSideOfTheBorder) {
    m_bar.m_bShown = FALSE;
    ::SetWindowLongPtrA(m_pFrame->m_hWnd, GWL_STYLE, m_pFrame->GetStyle() | WS_MAXIMIZE);
    m_pIntegration->UpdateWindowRegion(300, 200, TRUE);
    const int b = m_pIntegration->GetBorderSize();
    ASSERT_GT(b, 0);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(m_pFrame->m_hWnd, hRgn), ERROR);
    CRect rcBox;
    ::GetRgnBox(hRgn, &rcBox);
    EXPECT_EQ(rcBox, CRect(b, b, 300 - b, 200 - b));
    ::DeleteObject(hRgn);
    // The same size again is not worked on unless forced.
    ::SetWindowRgn(m_pFrame->m_hWnd, nullptr, FALSE);
    m_pIntegration->UpdateWindowRegion(300, 200, FALSE);
    EXPECT_EQ(::GetWindowRgn(m_pFrame->m_hWnd, hRgn), ERROR);
}

TEST_F(FrameIntegration, WithCompositionTheFrameGetsGlassInsteadOfARegion) {
    m_pIntegration->m_bCompositionActive = TRUE;
    ::SetWindowRgn(m_pFrame->m_hWnd, nullptr, FALSE);
    m_pIntegration->UpdateWindowRegion(300, 200, TRUE);
    EXPECT_EQ(m_pIntegration->GetBorderSize(), 4);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(m_pFrame->m_hWnd, hRgn), ERROR);
    ::DeleteObject(hRgn);
}

TEST_F(FrameIntegration, TheStatusBarBelongsToTheFrameOnlyWhenItSaysSo) {
    HWND hStatus = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 150, 300, 22, m_pFrame->m_hWnd,
                                     reinterpret_cast<HMENU>(CKLVFrameIntegration::idStatusBar), nullptr, nullptr);
    ASSERT_NE(hStatus, nullptr);
    CStatusAnswer answer;
    KLVWindowSubclasser()->HookWindow(hStatus, &answer);
    const struct {
        BOOL bThemeFlag, bVisible;
        LRESULT lAnswer;
        BOOL bInFrame;
    } cases[] = {{TRUE, TRUE, 1, TRUE}, {TRUE, TRUE, 0, FALSE}, {TRUE, FALSE, 1, FALSE}, {FALSE, TRUE, 1, FALSE}};
    for (const auto& c : cases) {
        m_pTheme->m_bStatusBarFrame = c.bThemeFlag;
        ::ShowWindow(hStatus, c.bVisible ? SW_SHOWNA : SW_HIDE);
        answer.m_lAnswer = c.lAnswer;
        int nHeight = -1;
        EXPECT_EQ(m_pIntegration->GetStatusBarHeight(nHeight), c.bInFrame) << c.bThemeFlag << c.bVisible << c.lAnswer;
        EXPECT_EQ(nHeight, c.bInFrame ? 22 : 0);
    }
    KLVWindowSubclasser()->UnhookWindow(hStatus, &answer);
    ::DestroyWindow(hStatus);
}

TEST_F(FrameIntegration, RecalcFrameChangesTheFrameNowAndPostRecalcFrameOnceAtTheNextIdleMessage) {
    // The first change may resize the client area (the theme's caption), which lays out again.
    m_pIntegration->RecalcFrame();
    m_pFrame->m_nLayouts = 0;
    m_changes.m_nFlags = 0;
    m_pIntegration->RecalcFrame();
    EXPECT_EQ(m_pFrame->m_nLayouts, 1);
    EXPECT_EQ(m_changes.m_nFlags & 0x3F, 0x37u);

    m_pIntegration->PostRecalcFrame();
    EXPECT_TRUE(m_pIntegration->m_bPendingRecalc);
    EXPECT_EQ(m_pFrame->m_nLayouts, 1);   // nothing before the idle message
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, m_pFrame->m_hWnd, WM_IDLEUPDATECMDUI, WM_IDLEUPDATECMDUI, PM_REMOVE));
    ::DispatchMessageA(&msg);
    EXPECT_EQ(m_pFrame->m_nLayouts, 2);
    EXPECT_FALSE(m_pIntegration->m_bPendingRecalc);
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_EQ(m_pFrame->m_nLayouts, 2);
}

TEST_F(FrameIntegration, TheFramesOwnCaptionButtonsFollowItsStyleAndAreHitTested) {
    m_bar.m_bShown = FALSE;
    const struct {
        DWORD dwRemove;
        BOOL bMaximised;
        std::vector<UINT> ids;   // right to left
    } cases[] = {
        {0, FALSE, {SC_CLOSE, SC_MAXIMIZE, SC_MINIMIZE}},
        {0, TRUE, {SC_CLOSE, SC_RESTORE, SC_MINIMIZE}},
        {WS_MINIMIZEBOX | WS_MAXIMIZEBOX, FALSE, {SC_CLOSE}},
        {WS_SYSMENU, FALSE, {}},
    };
    const DWORD dwStyle = m_pFrame->GetStyle();
    for (const auto& c : cases) {
        DWORD dw = dwStyle & ~c.dwRemove;
        if (c.bMaximised) dw |= WS_MAXIMIZE;
        ::SetWindowLongPtrA(m_pFrame->m_hWnd, GWL_STYLE, dw);
        m_pIntegration->LayoutCaptionButtons();
        const auto& buttons = m_pIntegration->GetCaptionButtons();
        ASSERT_EQ(buttons.size(), c.ids.size());
        for (size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i].nId, c.ids[i]);
            EXPECT_EQ(buttons[i].rc.Width(), buttons[i].rc.Height());
            if (i > 0) {
                EXPECT_EQ(buttons[i].rc.right, buttons[i - 1].rc.left);
            }
        }
        if (!buttons.empty()) {
            EXPECT_EQ(buttons[0].rc.right, 300 - m_pIntegration->GetBorderSize());
        }
    }
    ::SetWindowLongPtrA(m_pFrame->m_hWnd, GWL_STYLE, dwStyle);
    m_pIntegration->LayoutCaptionButtons();
    CRect rcWindow;
    m_pFrame->GetWindowRect(&rcWindow);
    const auto& buttons = m_pIntegration->GetCaptionButtons();
    ASSERT_EQ(buttons.size(), 3u);
    const int b = m_pIntegration->GetBorderSize();
    const struct {
        CPoint pt;
        LRESULT nHit;
    } hits[] = {
        {buttons[0].rc.CenterPoint(), HTCLOSE}, {buttons[1].rc.CenterPoint(), HTMAXBUTTON},
        {buttons[2].rc.CenterPoint(), HTMINBUTTON}, {CPoint(100, b + 2), HTCAPTION}, {CPoint(0, 100), HTLEFT},
        {CPoint(150, 199), HTBOTTOM}, {CPoint(299, 0), HTTOPRIGHT}, {CPoint(10, b + 3), HTSYSMENU},
    };
    for (const auto& h : hits) {
        const LRESULT nHit = m_pFrame->SendMessage(WM_NCHITTEST, 0,
                                                   MAKELPARAM(rcWindow.left + h.pt.x, rcWindow.top + h.pt.y));
        EXPECT_EQ(nHit, h.nHit) << h.pt.x << "," << h.pt.y;
    }
}

TEST_F(FrameIntegration, ANewTitleOrIconOnAShownFrameBringsTheThemedCaptionBack) {
    MSG msg;
    const auto queuedPaints = [&] {
        int n = 0;
        while (::PeekMessageA(&msg, m_pFrame->m_hWnd, WM_NCPAINT, WM_NCPAINT, PM_REMOVE)) ++n;
        return n;
    };
    m_pFrame->SetWindowText("hidden");
    EXPECT_EQ(queuedPaints(), 0);
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    queuedPaints();
    m_pFrame->SetWindowText("shown");
    EXPECT_EQ(queuedPaints(), 1);
    m_pFrame->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(::LoadIcon(nullptr, IDI_WARNING)));
    EXPECT_EQ(queuedPaints(), 1);
    m_pFrame->ShowWindow(SW_HIDE);
}

}  // namespace
}  // namespace themes_test
