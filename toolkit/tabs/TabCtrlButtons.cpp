#include "toolkit/tabs/TabCtrlButtons.h"

#include "classlib/Dc.h"
#include "classlib/TabCtrl.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/tabs/TabCtrlBase.h"
#include "toolkit/tabs/TabCtrlThemes.h"

#include <commctrl.h>

namespace {

// Set while the window puts itself back after a move, so that the move it makes does not.
bool s_bRepositioning = false;

CPoint PointFrom(LPARAM lParam) { return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); }

}  // namespace

BOOL CKLTabCtrlButton::CheckHot(CPoint pt) {
    const BOOL bHot = !Has(stateDisabled) && m_rcButton.PtInRect(pt);
    if (bHot == Has(stateHot)) return FALSE;
    Set(stateHot, bHot);
    return TRUE;
}

CKLTabCtrlButtons::CKLTabCtrlButtons() {
    for (CKLTabCtrlButton* p : {&m_btnClose, &m_btnLeft, &m_btnRight}) p->m_pOwner = this;
}

CKLTabCtrlButtons::~CKLTabCtrlButtons() { Release(); }

void CKLTabCtrlButtons::Attach(CKLTabCtrlBase* pTabCtrlBase) {
    m_pTabCtrlBase = pTabCtrlBase;
    m_pTabCtrl = pTabCtrlBase ? pTabCtrlBase->GetTabCtrl() : nullptr;
    for (CKLTabCtrlButton* p : {&m_btnClose, &m_btnLeft, &m_btnRight}) p->m_pTabCtrl = m_pTabCtrl;
}

void CKLTabCtrlButtons::Create(HWND hScrollControl) {
    if (hScrollControl) {
        if (hScrollControl == m_hSubclassed) return;
        Release();
        if (SubclassWindow(hScrollControl)) m_hSubclassed = hScrollControl;
        return;
    }
    if (GetSafeHwnd() || !m_pTabCtrl || !m_pTabCtrl->GetSafeHwnd()) return;
    const CString strClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
    if (CreateEx(0, strClass, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), m_pTabCtrl, 0)) m_hOwn = GetSafeHwnd();
}

void CKLTabCtrlButtons::Release() {
    HWND hWnd = GetSafeHwnd();
    if (!hWnd) return;
    if (hWnd == m_hOwn)
        DestroyWindow();
    else
        UnsubclassWindow();
    m_hOwn = m_hSubclassed = nullptr;
}

void CKLTabCtrlButtons::Show(BOOL bShow) {
    if (m_bVisible != bShow) {
        m_bVisible = bShow;
        if (!bShow && GetSafeHwnd()) ShowWindow(SW_HIDE);
    }
    if (m_bVisible && GetSafeHwnd()) Reposition();
}

int CKLTabCtrlButtons::GetItemCount() const {
    return m_pTabCtrl && m_pTabCtrl->GetSafeHwnd() ? static_cast<int>(m_pTabCtrl->SendMessage(TCM_GETITEMCOUNT)) : 0;
}

CRect CKLTabCtrlButtons::GetRowRect() const {
    CRect rc(0, 0, 0, 0);
    if (!m_pTabCtrl || !m_pTabCtrl->GetSafeHwnd()) return rc;
    // The row as a whole; controls that do not answer for it give their first tab's.
    if (!m_pTabCtrl->SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&rc))) {
        rc.SetRectEmpty();
        if (!m_pTabCtrl->SendMessage(TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc))) rc.SetRectEmpty();
    }
    return rc;
}

CRect CKLTabCtrlButtons::GetButtonsRect() const {
    CRect rcClient(0, 0, 0, 0);
    if (m_pTabCtrl && m_pTabCtrl->GetSafeHwnd()) m_pTabCtrl->GetClientRect(&rcClient);
    const CRect rcRow = GetRowRect();
    CRect rc;
    rc.left = rcClient.right - ((m_dwShownButtons & showScroll) ? 2 * buttonWidth : 0) -
              ((m_dwShownButtons & showClose) ? buttonWidth : 0) - 10;
    rc.right = rcClient.right;
    rc.top = rcRow.top - (m_pTabCtrl && (m_pTabCtrl->GetStyle() & TCS_BOTTOM) ? 2 : 0);
    rc.bottom = rcRow.bottom + 1;
    return rc;
}

void CKLTabCtrlButtons::Reposition() {
    if (GetSafeHwnd() && m_bVisible) {
        const CRect rc = GetButtonsRect();
        const BOOL bTabs = GetItemCount() > 0;
        s_bRepositioning = true;
        SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | (bTabs ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        s_bRepositioning = false;
        LayoutButtons();
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        UpdateHot(pt);
    }
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void CKLTabCtrlButtons::LayoutButtons() {
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nTop = (GetRowRect().Height() - 13) / 2, nBottom = nTop + buttonHeight;
    int x = rcClient.right - rightMargin;
    m_btnClose.m_rcButton.SetRectEmpty();
    if (m_dwShownButtons & showClose) {
        m_btnClose.m_rcButton.SetRect(x - buttonWidth, nTop, x, nBottom);
        x -= buttonWidth;
    }
    m_btnLeft.m_rcButton.SetRectEmpty();
    m_btnRight.m_rcButton.SetRectEmpty();
    const int nCount = GetItemCount();
    if (!(m_dwShownButtons & showScroll) || nCount < 1) return;
    CRect rcTabs;
    m_pTabCtrl->GetClientRect(&rcTabs);
    CRect rcFirst(0, 0, 0, 0), rcLast(0, 0, 0, 0);
    m_pTabCtrl->SendMessage(TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rcFirst));
    m_pTabCtrl->SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(nCount - 1), reinterpret_cast<LPARAM>(&rcLast));
    const int nRoom = rcTabs.right - 2 * buttonWidth - ((m_dwShownButtons & showClose) ? buttonWidth : 0) -
                      rcTabs.left - 10;
    m_btnRight.m_rcButton.SetRect(x - buttonWidth, nTop, x, nBottom);
    m_btnRight.Set(CKLTabCtrlButton::stateDisabled, rcLast.right <= nRoom);
    m_btnLeft.m_rcButton.SetRect(x - 2 * buttonWidth, nTop, x - buttonWidth, nBottom);
    // A first tab scrolled off the row starts left of it, or (some controls) has no rectangle.
    m_btnLeft.Set(CKLTabCtrlButton::stateDisabled, !rcFirst.IsRectEmpty() && rcFirst.left >= 0);
}

void CKLTabCtrlButtons::OnPaint() {
    CPaintDC dcPaint(this);
    CKLVBufferDC dc(dcPaint);
    auto* pTheme = m_pTabCtrlBase ? dynamic_cast<CKLTabBaseTheme*>(m_pTabCtrlBase->GetTabStyle()) : nullptr;
    if (!m_bVisible || GetItemCount() < 1 || !pTheme) {
        if (m_hSubclassed) DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        return;
    }
    const COLORREF clrGlyph = pTheme->FillButtonsBackground(&dc, this);
    LayoutButtons();
    for (CKLTabCtrlButton* p : {&m_btnClose, &m_btnRight, &m_btnLeft})
        if (!p->m_rcButton.IsRectEmpty()) pTheme->DrawButton(&dc, p, clrGlyph);
}

void CKLTabCtrlButtons::UpdateHot(CPoint pt) {
    for (CKLTabCtrlButton* p : {&m_btnClose, &m_btnLeft, &m_btnRight}) {
        const BOOL bWasHot = p->Has(CKLTabCtrlButton::stateHot);
        if (!p->CheckHot(pt)) continue;
        if (!bWasHot) {
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, GetSafeHwnd(), 0};
            ::TrackMouseEvent(&tme);
        }
        InvalidateRect(&p->m_rcButton, FALSE);
    }
}

void CKLTabCtrlButtons::SetPressed(CKLTabCtrlButton& button, BOOL bPressed) {
    if (button.Has(CKLTabCtrlButton::statePressed) == bPressed) return;
    button.Set(CKLTabCtrlButton::statePressed, bPressed);
    InvalidateRect(&button.m_rcButton, FALSE);
}

void CKLTabCtrlButtons::ScrollOneTab(const CKLTabCtrlButton& button) {
    const CRect rcRow = GetRowRect();
    TCHITTESTINFO hit = {{5, rcRow.CenterPoint().y}, 0};
    const int nFirst = static_cast<int>(m_pTabCtrl->SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (button.Has(CKLTabCtrlButton::kindLeft) && nFirst >= 1)
        m_pTabCtrl->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, nFirst - 1), 0);
    else if (button.Has(CKLTabCtrlButton::kindRight) && GetItemCount() >= 1)
        m_pTabCtrl->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, nFirst + 1), 0);
    m_pTabCtrl->Invalidate(FALSE);
    Invalidate(FALSE);
}

BOOL CKLTabCtrlButtons::Track(CKLTabCtrlButton& button, CPoint pt, BOOL bRepeat) {
    if (::GetCapture() || button.Has(CKLTabCtrlButton::stateDisabled)) return FALSE;
    SetCapture();
    if (bRepeat) SetTimer(timerRepeat, repeatDelay, nullptr);
    BOOL bClicked = FALSE, bDone = FALSE;
    CPoint ptLast = pt;
    while (!bDone) {
        if (bRepeat && !button.Has(CKLTabCtrlButton::stateDisabled)) ScrollOneTab(button);
        SetPressed(button, button.m_rcButton.PtInRect(ptLast));
        m_pTabCtrl->UpdateWindow();
        UpdateWindow();
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));   // the loop ends; the quit is the caller's
            break;
        }
        if (::GetCapture() != GetSafeHwnd()) {
            ::DispatchMessage(&msg);
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE: ptLast = PointFrom(msg.lParam); break;
        case WM_CANCELMODE:
        case WM_RBUTTONDOWN: bDone = TRUE; break;
        case WM_KEYDOWN: bDone = msg.wParam == VK_ESCAPE; break;
        case WM_KEYUP:
        case WM_CHAR: break;
        case WM_LBUTTONUP:
            ptLast = PointFrom(msg.lParam);
            bClicked = button.m_rcButton.PtInRect(ptLast);
            bDone = TRUE;
            break;
        default: ::DispatchMessage(&msg); break;
        }
    }
    if (::GetCapture() == GetSafeHwnd()) ::ReleaseCapture();
    if (bRepeat) KillTimer(timerRepeat);
    SetPressed(button, FALSE);
    UpdateHot(ptLast);
    InvalidateRect(&button.m_rcButton, FALSE);
    return bClicked;
}

LRESULT CKLTabCtrlButtons::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_MOUSEMOVE:
        if (m_bVisible) UpdateHot(PointFrom(lParam));
        break;
    case WM_MOUSELEAVE: UpdateHot(CPoint(-1, -1)); return 0;
    case WM_LBUTTONDOWN: {
        if (!m_bVisible) break;
        const CPoint pt = PointFrom(lParam);
        if (m_btnClose.m_rcButton.PtInRect(pt)) {
            if (Track(m_btnClose, pt, FALSE)) m_pTabCtrl->SendMessage(WM_COMMAND, commandClose, 0);
        } else if (m_btnLeft.m_rcButton.PtInRect(pt)) {
            Track(m_btnLeft, pt, TRUE);
        } else if (m_btnRight.m_rcButton.PtInRect(pt)) {
            Track(m_btnRight, pt, TRUE);
        }
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        if (m_bVisible && !s_bRepositioning && GetItemCount() > 0) {
            const CRect rc = GetButtonsRect();
            s_bRepositioning = true;
            SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            s_bRepositioning = false;
        }
        return lResult;
    }
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
