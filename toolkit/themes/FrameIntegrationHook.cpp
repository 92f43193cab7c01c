// The frame side of the frame integration: the frame's messages that recalculate it, keep its
// region, and paint and hit-test its non-client area through the theme's frame operations.
#include "toolkit/themes/FrameIntegration.h"

#include "classlib/Dc.h"
#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/themes/PaintManagerTheme5.h"

#include <windowsx.h>

namespace {

const int kCaptionButtonBottomGap = 3;
const int kIconLeft = 7;

LRESULT HitCodeOfButton(UINT nId) {
    switch (nId) {
    case SC_CLOSE: return HTCLOSE;
    case SC_MINIMIZE: return HTMINBUTTON;
    default: return HTMAXBUTTON;
    }
}

BOOL IsCloseDisabled(HWND hWnd) {
    HMENU hMenu = ::GetSystemMenu(hWnd, FALSE);
    if (!hMenu) return FALSE;
    const UINT nState = ::GetMenuState(hMenu, SC_CLOSE, MF_BYCOMMAND);
    return nState != UINT(-1) && (nState & (MF_DISABLED | MF_GRAYED));
}

}  // namespace

std::vector<KLVFrameCaptionCommand> CKLVFrameIntegration::GetCaptionCommands() const {
    std::vector<KLVFrameCaptionCommand> commands;
    if (!HasFrame()) return commands;
    const DWORD dwStyle = m_pFrame->GetStyle(), dwExStyle = m_pFrame->GetExStyle();
    if (!(dwStyle & WS_SYSMENU) || ((dwStyle & WS_CHILD) && (dwStyle & WS_MAXIMIZE))) return commands;
    commands.push_back({SC_CLOSE, !IsCloseDisabled(m_pFrame->m_hWnd)});
    if ((dwExStyle & WS_EX_TOOLWINDOW) || !(dwStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) return commands;
    commands.push_back({m_pFrame->IsZoomed() ? UINT(SC_RESTORE) : UINT(SC_MAXIMIZE), (dwStyle & WS_MAXIMIZEBOX) != 0});
    commands.push_back({SC_MINIMIZE, (dwStyle & WS_MINIMIZEBOX) != 0});
    return commands;
}

void CKLVFrameIntegration::LayoutCaptionButtons() {
    m_arrCaptionButtons.clear();
    if (!HasFrame()) return;
    CRect rcWindow;
    m_pFrame->GetWindowRect(&rcWindow);
    const int nTop = m_nFrameBorder, nBottom = GetCaptionHeight() - kCaptionButtonBottomGap;
    const int nSide = nBottom - nTop;
    if (nSide <= 0) return;
    int nRight = rcWindow.Width() - m_nFrameBorder;
    for (const KLVFrameCaptionCommand& command : GetCaptionCommands()) {
        m_arrCaptionButtons.push_back(
            {command.nId, CRect(nRight - nSide, nTop, nRight, nBottom), command.bEnabled, FALSE, FALSE});
        nRight -= nSide;
    }
}

void CKLVFrameIntegration::PaintFrame() {
    CKLVPaintManagerTheme5* pTheme = GetFramePaintManager();
    if (!pTheme || !HasFrame()) return;
    CWindowDC dc(m_pFrame);
    pTheme->DrawFrame(&dc, this);
}

int CKLVFrameIntegration::CaptionButtonAt(CPoint ptWindow) const {
    for (size_t i = 0; i < m_arrCaptionButtons.size(); ++i)
        if (m_arrCaptionButtons[i].rc.PtInRect(ptWindow)) return static_cast<int>(i);
    return -1;
}

LRESULT CKLVFrameIntegration::HitTest(CPoint ptScreen) const {
    CRect rcWindow;
    m_pFrame->GetWindowRect(&rcWindow);
    const CPoint pt(ptScreen.x - rcWindow.left, ptScreen.y - rcWindow.top);
    const int w = rcWindow.Width(), h = rcWindow.Height(), b = m_nFrameBorder;
    if (!CRect(0, 0, w, h).PtInRect(pt)) return HTNOWHERE;
    const int nButton = CaptionButtonAt(pt);
    if (nButton >= 0 && IsCaptionStandard()) return HitCodeOfButton(m_arrCaptionButtons[nButton].nId);
    if ((m_pFrame->GetStyle() & WS_THICKFRAME) && !m_pFrame->IsZoomed()) {
        const BOOL bLeft = pt.x < b, bRight = pt.x >= w - b, bTop = pt.y < b, bBottom = pt.y >= h - b;
        if (bTop) return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT : HTTOP;
        if (bBottom) return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT : HTBOTTOM;
        if (bLeft) return HTLEFT;
        if (bRight) return HTRIGHT;
    }
    if (IsCaptionStandard() && pt.y < GetCaptionHeight())
        return pt.x < kIconLeft + ::GetSystemMetrics(SM_CXSMICON) ? HTSYSMENU : HTCAPTION;
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    m_pFrame->ClientToScreen(&rcClient);
    return rcClient.PtInRect(ptScreen) ? HTCLIENT : HTBORDER;
}

BOOL CKLVFrameIntegration::OnNcButton(UINT nMessage, WPARAM wParam, LPARAM lParam) {
    CRect rcWindow;
    m_pFrame->GetWindowRect(&rcWindow);
    const CPoint pt(GET_X_LPARAM(lParam) - rcWindow.left, GET_Y_LPARAM(lParam) - rcWindow.top);
    const int nButton = wParam == HTCLOSE || wParam == HTMINBUTTON || wParam == HTMAXBUTTON ? CaptionButtonAt(pt) : -1;
    BOOL bChanged = FALSE, bHandled = FALSE;
    for (size_t i = 0; i < m_arrCaptionButtons.size(); ++i) {
        KLVFrameCaptionButton& button = m_arrCaptionButtons[i];
        const BOOL bUnder = static_cast<int>(i) == nButton;
        const BOOL bSelected = bUnder && button.bEnabled;
        const BOOL bPressed = nMessage == WM_NCLBUTTONDOWN ? bSelected : button.bPressed && bUnder;
        bChanged |= bSelected != button.bSelected || bPressed != button.bPressed;
        if (nMessage == WM_NCLBUTTONUP && bUnder && button.bPressed) m_pFrame->PostMessage(WM_SYSCOMMAND, button.nId);
        bHandled |= bUnder && nMessage != WM_NCMOUSEMOVE;
        button.bSelected = bSelected;
        button.bPressed = nMessage == WM_NCLBUTTONUP ? FALSE : bPressed;
    }
    if (bChanged || nMessage == WM_NCLBUTTONUP) PaintFrame();
    return bHandled;
}

int CKLVFrameIntegration::OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) {
    if (nMessage == WM_IDLEUPDATECMDUI) {
        if (m_bPendingRecalc) RecalcFrame();
        return hookContinue;
    }
    if (!GetFramePaintManager() || !HasFrame() || m_pFrame->IsIconic()) return hookContinue;
    switch (nMessage) {
    case WM_SIZE: {
        CRect rc;
        m_pFrame->GetWindowRect(&rc);
        UpdateWindowRegion(rc.Width(), rc.Height(), FALSE);
        LayoutCaptionButtons();
        return hookContinue;
    }
    case WM_NCCALCSIZE: {
        if (!wParam) return hookContinue;
        auto* pParams = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        CRect& rc = *reinterpret_cast<CRect*>(&pParams->rgrc[0]);
        ReadFrameBorder();
        rc.DeflateRect(m_nFrameBorder, IsCaptionStandard() ? GetCaptionHeight() : 0, m_nFrameBorder, m_nFrameBorder);
        lResult = 0;
        return hookHandled;
    }
    case WM_NCPAINT:
        LayoutCaptionButtons();
        PaintFrame();
        lResult = 0;
        return hookHandled;
    case WM_NCACTIVATE: {
        const BOOL bWasActive = m_bActive;
        m_bActive = wParam != 0;
        if (m_bActive != bWasActive)
            if (auto* pOwner = dynamic_cast<CKLVFrameCaptionOwner*>(m_pRibbonBar)) pOwner->OnFrameActiveChanged();
        PaintFrame();
        // The bar that draws the caption shows the new state too.
        if (!IsCaptionStandard() && m_pRibbonBar && m_pRibbonBar->GetSafeHwnd()) m_pRibbonBar->Invalidate(FALSE);
        lResult = TRUE;
        return hookHandled;
    }
    case WM_SETTEXT:
    case WM_SETICON:
        // The system draws its own caption for these; the themed one is drawn again after it.
        if (m_pFrame->IsWindowVisible()) m_pFrame->PostMessage(WM_NCPAINT, 1);
        return hookContinue;
    case WM_NCHITTEST:
        lResult = HitTest(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return hookHandled;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
        if (!OnNcButton(nMessage, wParam, lParam)) return hookContinue;
        lResult = 0;
        return hookHandled;
    default:
        return hookContinue;
    }
}
