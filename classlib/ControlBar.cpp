#include "classlib/ControlBar.h"

#include "classlib/FrameWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize size;
    size.cx = bStretch && bHorz ? 32767 : 0;
    size.cy = bStretch && !bHorz ? 32767 : 0;
    CRect rect;
    CalcInsideRect(rect, bHorz);   // the borders of an empty bar
    size.cx += -rect.Width();
    size.cy += -rect.Height();
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode) {
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    const DWORD dwStyle = m_dwStyle;
    if (dwStyle & CBRS_BORDER_LEFT) rect.left += 2;
    if (dwStyle & CBRS_BORDER_TOP) rect.top += 2;
    if (dwStyle & CBRS_BORDER_RIGHT) rect.right -= 2;
    if (dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= 2;
    // The bar's own margins lie along its length.
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
    const COLORREF clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_dwStyle & CBRS_BORDER_TOP) pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, clrShadow);
    if (m_dwStyle & CBRS_BORDER_BOTTOM) pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, clrShadow);
    if (m_dwStyle & CBRS_BORDER_LEFT) pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), clrHilite);
    if (m_dwStyle & CBRS_BORDER_RIGHT) pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), clrShadow);
    CalcInsideRect(rect, IsHorzDocked());
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
    const DWORD dwOldStyle = m_dwStyle;
    m_dwStyle = dwStyle;
    if (dwOldStyle != dwStyle) OnBarStyleChange(dwOldStyle, dwStyle);
}

CFrameWnd* CControlBar::GetDockingFrame() const {
    if (m_pDockSite) return m_pDockSite;
    return GetParentFrame();
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    const DWORD dwAlign = m_dwStyle & CBRS_ALIGN_ANY;
    if (!(GetStyle() & WS_VISIBLE) || dwAlign == 0 || IsFloating()) return 0;
    CRect rect(lpLayout->rect);
    const BOOL bHorz = (dwAlign & CBRS_ORIENT_HORZ) != 0;
    CSize size = CalcDynamicLayout(bHorz ? rect.Width() : rect.Height(),
                                   (lpLayout->bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK));
    size.cx = std::min<LONG>(size.cx, rect.Width());
    size.cy = std::min<LONG>(size.cy, rect.Height());
    if (dwAlign & CBRS_ALIGN_TOP) {
        rect.bottom = rect.top + size.cy;
        lpLayout->rect.top += size.cy;
    } else if (dwAlign & CBRS_ALIGN_BOTTOM) {
        rect.top = rect.bottom - size.cy;
        lpLayout->rect.bottom -= size.cy;
    } else if (dwAlign & CBRS_ALIGN_LEFT) {
        rect.right = rect.left + size.cx;
        lpLayout->rect.left += size.cx;
    } else {
        rect.left = rect.right - size.cx;
        lpLayout->rect.right -= size.cx;
    }
    if (bHorz) lpLayout->sizeTotal.cy += size.cy;
    else lpLayout->sizeTotal.cx += size.cx;
    if (lpLayout->hDWP) AfxRepositionWindow(lpLayout, m_hWnd, &rect);
    return 0;
}

void CControlBar::DelayShow(BOOL bShow) {
    m_nStateFlags &= ~(stateDelayHide | stateDelayShow);
    const BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible) m_nStateFlags |= stateDelayShow;
    else if (!bShow && bVisible) m_nStateFlags |= stateDelayHide;
}

void CControlBar::ApplyDelayedShow() {
    const UINT nDelayed = GetDelayedState();
    if (!nDelayed) return;
    m_nStateFlags &= ~nDelayed;
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 ((nDelayed & stateDelayHide) ? SWP_HIDEWINDOW : SWP_SHOWWINDOW) | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                     SWP_NOACTIVATE);
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    ApplyDelayedShow();
    if (!(GetStyle() & WS_VISIBLE)) return 0;
    CFrameWnd* pTarget = GetDockingFrame();
    if (pTarget) OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    return 0;
}

void CControlBar::PostNcDestroy() {
    if (m_bAutoDelete) delete this;
}
