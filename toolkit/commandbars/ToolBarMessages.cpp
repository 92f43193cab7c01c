// The tool bar's message map: the move cursor over the gripper, drags and resizes, the floating
// bar following its frame's activation, and the stand-alone bar's place in its parent.
#include "toolkit/commandbars/ToolBar.h"

#include "classlib/MiniFrameWnd.h"
#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/ToolBarTracker.h"

BEGIN_MESSAGE_MAP(CKLVToolBar, CKLVCommandBar)
    ON_WM_SETCURSOR()
    ON_WM_RBUTTONDOWN()
    ON_WM_NCCREATE()
    ON_WM_NCACTIVATE()
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
    ON_WM_MOUSEACTIVATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

const DWORD kOwnedPopupBit = 0x100;

void BringToTop(HWND hWnd) {
    ::SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

BOOL CKLVToolBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (IsDocked() && m_pTracker && IsGripperVisible() && (m_nFlags & flagMoveMask)) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (GetGripperRect().PtInRect(pt)) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEALL));
            return TRUE;
        }
    }
    return CKLVCommandBar::OnSetCursor(pWnd, nHitTest, message);
}

void CKLVToolBar::OnRButtonDown(UINT nFlags, CPoint point) {
    CKLVControl* pControl = m_pControls->HitTest(point);
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    if ((pControl && pControl->OnRButtonDown(point)) || !pCommandBars) return;
    if (IsCustomizeMode()) {
        CKLVCommandBar::OnRButtonDown(nFlags, point);
        return;
    }
    SetTrackingMode(0);
    SetSelected(-1);
    Redraw();
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    pCommandBars->ContextMenu(this, ptScreen);
}

BOOL CKLVToolBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct) {
    if (!CKLVCommandBar::OnNcCreate(lpCreateStruct)) return FALSE;
    if (!(lpCreateStruct->style & kOwnedPopupBit)) return TRUE;
    // A floating bar starts in step with its frame's activation.
    CWnd* pTop = GetTopLevelParent();
    const HWND hForeground = ::GetForegroundWindow();
    BOOL bActive = pTop && pTop->GetSafeHwnd() == hForeground;
    if (!bActive && pTop) {
        const HWND hPopup = ::GetLastActivePopup(pTop->GetSafeHwnd());
        bActive = hPopup == hForeground && ::SendMessageA(hPopup, WM_FLOATSTATUS, FS_SYNCACTIVE, 0);
    }
    SendMessage(WM_FLOATSTATUS, bActive ? FS_ACTIVATE : FS_DEACTIVATE);
    return TRUE;
}

BOOL CKLVToolBar::OnNcActivate(BOOL bActive) {
    // The bar never shows itself active: its frame keeps the active caption.
    if (bActive) return FALSE;
    return CKLVCommandBar::OnNcActivate(bActive);
}

LRESULT CKLVToolBar::OnFloatStatus(WPARAM wParam, LPARAM) {
    if (wParam & FS_SYNCACTIVE) return (GetStyle() & kOwnedPopupBit) ? TRUE : FALSE;
    if (!IsFloating() || !m_bVisible) return 0;
    CKLVCommandBarsOptions* pOptions = GetOptions();
    if (!pOptions || pOptions->bSyncFloatingBars) {
        const HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
        const HWND hForeground = ::GetForegroundWindow();
        const BOOL bFrameActive = hOwner && (hForeground == hOwner || ::GetLastActivePopup(hOwner) == hForeground ||
                                             ::GetWindow(hForeground, GW_OWNER) == hOwner);
        if ((wParam & FS_DEACTIVATE) && !bFrameActive) ShowWindow(SW_HIDE);
        if ((wParam & FS_ACTIVATE) && !(GetStyle() & WS_VISIBLE) && bFrameActive && ::IsWindowVisible(hForeground) &&
            !::IsIconic(hForeground))
            ShowWindow(SW_SHOWNA);
    }
    const UINT nMove = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER;
    if (wParam & FS_SHOW) SetWindowPos(nullptr, 0, 0, 0, 0, nMove | SWP_SHOWWINDOW);
    if (wParam & FS_HIDE) SetWindowPos(nullptr, 0, 0, 0, 0, nMove | SWP_HIDEWINDOW);
    if (wParam & (FS_ENABLE | FS_DISABLE)) EnableWindow((wParam & FS_ENABLE) != 0);
    return 0;
}

int CKLVToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    CWnd* pFocus = CWnd::GetFocus();
    const BOOL bFocusInMiniFrame = pFocus && DYNAMIC_DOWNCAST(CMiniFrameWnd, pFocus->GetParentFrame());
    if (IsFloating() || bFocusInMiniFrame || IsCustomizeMode()) return MA_NOACTIVATE;
    return CKLVCommandBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void CKLVToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (IsFloating()) BringToTop(m_hWnd);
    if (m_pControls->HitTest(point)) {
        CKLVCommandBar::OnLButtonDown(nFlags, point);
        return;
    }
    if (CKLVCommandBarsLink* pCommandBars = GetOwnerLink()) pCommandBars->ClosePopups();
    if (!m_pTracker || !(m_nFlags & flagMoveMask)) return;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    m_pTracker->StartMove(ptScreen);
}

LRESULT CKLVToolBar::OnNcHitTest(CPoint point) {
    if (!IsFloating() || m_barType == barTypePopup) return CKLVCommandBar::OnNcHitTest(point);
    CRect rc;
    GetWindowRect(&rc);
    rc.DeflateRect(floatingBorder, floatingBorder);
    if (point.y < rc.top) return HTTOP;
    if (point.y >= rc.bottom) return HTBOTTOM;
    if (point.x < rc.left) return HTLEFT;
    if (point.x >= rc.right) return HTRIGHT;
    return CKLVCommandBar::OnNcHitTest(point);
}

void CKLVToolBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    if (!m_pTracker || nHitTest < HTLEFT || nHitTest > HTBOTTOMRIGHT) {
        CKLVCommandBar::OnNcLButtonDown(nHitTest, point);
        return;
    }
    ActivateTopParent();
    BringToTop(m_hWnd);
    if (CKLVCommandBarsLink* pCommandBars = GetOwnerLink()) pCommandBars->ClosePopups();
    m_pTracker->StartResize(static_cast<int>(nHitTest), point);
}

void CKLVToolBar::OnSetFocus(CWnd* pOldWnd) {
    if (!m_hwndCaret) m_hwndCaret = AfxGetSafeHwnd(pOldWnd);
    Default();
    if (!m_pTracker) SetTrackingMode(1, TRUE, TRUE);
}

void CKLVToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_pControls->HitTest(point)) {
        CKLVCommandBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    if (m_pTracker) m_pTracker->ToggleDocking();
}

void CKLVToolBar::OnClose() {}
