// The floating frame drawn by the pane theme, and its collapse mode: rolled up to the caption a
// while after the mouse left, rolled out again when the mouse comes back over it.
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

#include <algorithm>

namespace {

const int kFrameBorder = 3;
const int kCollapseTicks = 6;        // of timer 1 before the first roll-up
const int kAfterExpandTicks = 8;     // after a roll-out
const UINT kCheckInterval = 100;

}  // namespace

BOOL CKLVDockingPaneMiniWnd::IsThemedFrame() const {
    CKLVDockingPaneManager* pManager = GetManager();
    return pManager && pManager->m_bThemedFloatingFrames;
}

int CKLVDockingPaneMiniWnd::GetThemeCaptionHeight() const {
    CKLVDockingPaneTheme* pTheme = GetPaintManager();
    return pTheme ? pTheme->GetCaptionHeight() : 0;
}

void CKLVDockingPaneMiniWnd::StopAnimation() {
    if (!m_bAnimating) return;
    m_bAnimating = FALSE;
    KillTimer(timerAnimate);
    NotifyPanes(klvActionSlidingIn);
}

int CKLVDockingPaneMiniWnd::GetAnimationStepCount() {
    return s_nAnimationInterval > 0 ? std::max(1, s_nAnimationDuration / s_nAnimationInterval) : 1;
}

UINT CKLVDockingPaneMiniWnd::GetAnimationTimerInterval() {
    return static_cast<UINT>(std::max(1, s_nAnimationInterval));
}

void CKLVDockingPaneMiniWnd::EnableCollapseMode() {
    m_roll.nStepCount = GetAnimationStepCount();
    m_roll.nCurrentStep = m_roll.nStepCount;
    GetWindowRect(&m_rcWindow);
    m_roll.nFullHeight = m_rcWindow.Height();
    m_bCollapseMode = TRUE;
    StopAnimation();
    m_bExpanded = TRUE;
    m_roll.nCountdown = kCollapseTicks;
    SetTimer(timerCollapse, kCheckInterval, nullptr);
}

void CKLVDockingPaneMiniWnd::ToggleCollapseMode() {
    if (!m_hWnd) return;
    const BOOL bWasOn = m_bCollapseMode;
    // Rolling up needs the caption the theme draws.
    if (!bWasOn && !IsThemedFrame()) return;
    if (NotifyPanes(bWasOn ? klvActionUnhiding : klvActionHiding)) return;
    if (bWasOn) {
        if (m_roll.nCurrentStep != m_roll.nStepCount) {
            CRect rc;
            GetWindowRect(&rc);
            SetWindowPos(nullptr, 0, 0, rc.Width(), m_roll.nFullHeight, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
            m_roll.nCurrentStep = m_roll.nStepCount;
        }
        m_bCollapseMode = m_bExpanded = m_bAnimating = FALSE;
        KillTimer(timerCollapse);
        KillTimer(timerAnimate);
    } else {
        EnableCollapseMode();
    }
    SendMessage(WM_NCPAINT);
    NotifyPanes(bWasOn ? klvActionUnhidden : klvActionHidden);
}

void CKLVDockingPaneMiniWnd::ApplyCollapseStep(BOOL bBringToTop) {
    if (!m_hWnd) return;
    const int nHeight = std::max(m_roll.nCurrentStep * m_roll.nFullHeight / std::max(1, m_roll.nStepCount), GetThemeCaptionHeight() + 8);
    CRect rc;
    GetWindowRect(&rc);
    UINT nFlags = SWP_NOACTIVATE | SWP_NOMOVE;
    if (!bBringToTop) nFlags |= SWP_NOZORDER;
    SetWindowPos(bBringToTop ? &CWnd::wndTop : nullptr, 0, 0, rc.Width(), nHeight, nFlags);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

void CKLVDockingPaneMiniWnd::Expand() {
    if (!m_bCollapseMode || m_roll.nCurrentStep > 0) return;
    StopAnimation();
    if (NotifyPanes(klvActionRollingUp)) return;
    m_roll.nCurrentStep = m_roll.nStepCount;
    m_bExpanded = TRUE;
    ApplyCollapseStep(TRUE);
    m_roll.nCountdown = kAfterExpandTicks;
    SetTimer(timerCollapse, kCheckInterval, nullptr);
    NotifyPanes(klvActionRollingOut);
}

void CKLVDockingPaneMiniWnd::UpdateFrameStyle() {
    if (!m_hWnd) return;
    const BOOL bThemed = IsThemedFrame();
    if (bThemed) ModifyStyle(WS_BORDER | WS_THICKFRAME, 0);
    else ModifyStyle(0, WS_BORDER | WS_THICKFRAME);
    if (!bThemed && m_bCollapseMode) ToggleCollapseMode();
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (m_bCollapseMode && bThemed) ApplyCollapseStep(FALSE);
}

void CKLVDockingPaneMiniWnd::OnTimer(UINT_PTR nIDEvent) {
    switch (nIDEvent) {
    case timerCollapse: OnCollapseTick(); break;
    case timerAnimate: OnAnimationTick(); break;
    case timerHover: OnHoverTick(); break;
    default: CMiniFrameWnd::OnTimer(nIDEvent);
    }
}

void CKLVDockingPaneMiniWnd::OnCollapseTick() {
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus))) return;
    if (m_bAnimating || ::GetCapture()) return;
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    if (rcWindow.PtInRect(ptCursor)) return;
    if (--m_roll.nCountdown > 0) return;
    if (NotifyPanes(klvActionSlidingOut)) {
        m_roll.nCountdown = kCollapseTicks;
        return;
    }
    if (m_roll.nCurrentStep == m_roll.nStepCount) m_roll.nFullHeight = rcWindow.Height();
    m_bAnimating = TRUE;
    SetTimer(timerAnimate, GetAnimationTimerInterval(), nullptr);
    KillTimer(timerCollapse);
}

void CKLVDockingPaneMiniWnd::OnAnimationTick() {
    if (!m_bAnimating) return;
    if (--m_roll.nCurrentStep < 0) {
        m_bAnimating = m_bExpanded = FALSE;
        KillTimer(timerAnimate);
        NotifyPanes(klvActionSlidingIn);
        return;
    }
    ApplyCollapseStep(FALSE);
}

void CKLVDockingPaneMiniWnd::OnHoverTick() {
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    CRect rcCaption;
    GetWindowRect(&rcCaption);
    rcCaption.bottom = rcCaption.top + GetThemeCaptionHeight() + 4;
    if (rcCaption.PtInRect(ptCursor)) return;
    for (const auto& pButton : GetCaptionButtons()) pButton->SetHot(FALSE);
    KillTimer(timerHover);
    SendMessage(WM_NCPAINT);
}

void CKLVDockingPaneMiniWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
    if (!IsThemedFrame()) {
        CMiniFrameWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
        return;
    }
    RECT& rc = lpncsp->rgrc[0];
    ::InflateRect(&rc, -kFrameBorder, -kFrameBorder);
    rc.top += GetThemeCaptionHeight() + 2;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
}

LRESULT CKLVDockingPaneMiniWnd::OnNcHitTest(CPoint point) {
    if (!IsThemedFrame()) return CMiniFrameWnd::OnNcHitTest(point);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rcInner(rcWindow);
    rcInner.DeflateRect(kFrameBorder, kFrameBorder);
    if (rcWindow.PtInRect(point) && !rcInner.PtInRect(point)) {
        const BOOL bLeft = point.x < rcInner.left, bRight = point.x >= rcInner.right;
        const BOOL bTop = point.y < rcInner.top, bBottom = point.y >= rcInner.bottom;
        if (bTop) return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT : HTTOP;
        if (bBottom) return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT : HTBOTTOM;
        return bLeft ? HTLEFT : HTRIGHT;
    }
    const LRESULT nHit = CMiniFrameWnd::OnNcHitTest(point);
    if (nHit != HTNOWHERE) return nHit;
    return point.y - rcWindow.top < GetThemeCaptionHeight() + 4 ? HTCAPTION : HTNOWHERE;
}

void CKLVDockingPaneMiniWnd::OnNcPaint() {
    CKLVDockingPaneTheme* pTheme = GetPaintManager();
    if (!IsThemedFrame() || !pTheme) {
        Default();
        return;
    }
    CWindowDC dc(this);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    pTheme->DrawFloatingFrame(&dc, this, CRect(0, 0, rcWindow.Width(), rcWindow.Height()));
}

BOOL CKLVDockingPaneMiniWnd::OnNcActivate(BOOL bActive) {
    if (IsThemedFrame()) return TRUE;
    return CMiniFrameWnd::OnNcActivate(bActive);
}

void CKLVDockingPaneMiniWnd::OnNcMouseMove(UINT nHitTest, CPoint point) {
    if (IsThemedFrame()) {
        CPoint ptWindow = point;
        CKLVDrawHelpers::ScreenToWindow(this, &ptWindow);
        BOOL bAnyHot = FALSE;
        if (CheckCaptionButtons(ptWindow)) SendMessage(WM_NCPAINT);
        for (const auto& pButton : GetCaptionButtons()) bAnyHot |= pButton->IsHot();
        if (bAnyHot) SetTimer(timerHover, kCheckInterval, nullptr);
    }
    Expand();
    CMiniFrameWnd::OnNcMouseMove(nHitTest, point);
}
