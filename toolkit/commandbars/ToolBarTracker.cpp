#include "toolkit/commandbars/ToolBarTracker.h"

#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/DialogBar.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/common/MultiMonitor.h"

#include <windowsx.h>

#include <algorithm>

namespace {

const DWORD kFloatingLayout = CKLVControls::modeMRULength | CKLVControls::modeHorz | CKLVControls::modeCommit;
const DWORD kWidthLayout = CKLVControls::modeHorz | CKLVControls::modeCommit;
const DWORD kHeightLayout = CKLVControls::modeLengthIsHeight | CKLVControls::modeHorz | CKLVControls::modeCommit;

CRect WindowRect(CWnd* pWnd) {
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return rc;
}

void MarkStateChanged(CKLVToolBar* pBar) {
    if (CKLVCommandBarsLink* pCommandBars = pBar->GetOwnerLink()) pCommandBars->GetOptions()->bDirty = TRUE;
}

}  // namespace

CRect CKLVToolBarTracker::KeepInsideWorkArea(CRect rc, int nMargin) {
    return KLVMultiMonitor()->KeepInWorkArea(rc, nMargin);
}

void CKLVToolBarTracker::StartMove(CPoint pt) {
    const BOOL bStartedDocked = m_pBar->IsDocked();
    const CRect rcDocked = m_rcLastDocked;
    const int nDockPosition = m_nLastDockPosition;
    CRect rc = WindowRect(m_pBar);
    // The rectangle moved just enough to hold the point.
    rc.OffsetRect(pt.x < rc.left ? pt.x - rc.left : pt.x >= rc.right ? pt.x - rc.right + 1 : 0,
                  pt.y < rc.top ? pt.y - rc.top : pt.y >= rc.bottom ? pt.y - rc.bottom + 1 : 0);
    m_rcDrag = m_rcTrack = rc;
    m_ptLast = pt;
    m_nMode = modeMove;
    ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEALL));
    TrackLoop();
    m_nMode = modeNone;
    if (!m_pBar->GetSafeHwnd() || !m_pBar->IsFloating()) return;
    m_ptLastFloating = WindowRect(m_pBar).TopLeft();
    // Docking again from this float goes back where the drag began.
    if (bStartedDocked) {
        m_rcLastDocked = rcDocked;
        m_nLastDockPosition = nDockPosition;
    }
}

void CKLVToolBarTracker::StartResize(int nHitTest, CPoint pt) {
    m_rcTrack = WindowRect(m_pBar);
    m_ptLast = pt;
    m_nMode = nHitTest;
    TrackLoop();
    m_nMode = modeNone;
    if (!m_pBar->GetSafeHwnd()) return;
    const CRect rc = WindowRect(m_pBar);
    m_pBar->SetMRUWidth(rc.Width());
    if (m_pBar->IsFloating()) m_ptLastFloating = rc.TopLeft();
}

void CKLVToolBarTracker::TrackLoop() {
    const HWND hWnd = m_pBar->GetSafeHwnd();
    if (!hWnd || (::GetCapture() && ::GetCapture() != hWnd)) return;
    ::SetCapture(hWnd);
    while (::GetCapture() == hWnd) {
        MSG msg;
        // Taking the paint messages also takes a quit, whatever the filter: it ends the drag
        // like one taken below.
        BOOL bQuit = FALSE;
        while (!bQuit && ::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            bQuit = msg.message == WM_QUIT;
            if (!bQuit) ::DispatchMessageA(&msg);
        }
        if (bQuit || !::GetMessageA(&msg, nullptr, 0, 0)) {
            // The outer loop must still see the quit.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP) break;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
        if (msg.message == WM_MOUSEMOVE) {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            if (pt != m_ptLast) {
                if (m_nMode == modeMove)
                    OnMoveStep(pt);
                else
                    OnResizeStep(pt);
            }
        } else {
            ::DispatchMessageA(&msg);
        }
        if (CKLVCommandBarsLink* pCommandBars = m_pBar->GetOwnerLink()) pCommandBars->UpdateFrameLayout();
    }
    if (::GetCapture() == hWnd) ::ReleaseCapture();
    MarkStateChanged(m_pBar);
}

void CKLVToolBarTracker::OnMoveStep(CPoint pt) {
    const CSize delta = pt - m_ptLast;
    m_ptLast = pt;
    m_rcDrag.OffsetRect(delta);
    m_rcTrack.OffsetRect(delta);
    CKLVCommandBarsLink* pCommandBars = m_pBar->GetOwnerLink();
    if (!pCommandBars) return;
    if (CKLVDockBar* pDock = pCommandBars->CanDock(pt, m_pBar->m_pDockBar)) {
        if (m_pBar->m_nFlags & (1u << pCommandBars->GetDockBarPosition(pDock))) {
            const BOOL bSameDock = pDock == m_pBar->m_pDockBar;
            pCommandBars->DockCommandBar(m_pBar, &m_rcDrag, pDock);
            if (!bSameDock) {
                pCommandBars->RecalcFrameLayout();
                m_rcDrag = WindowRect(m_pBar);
            }
            return;
        }
    }
    if (!(m_pBar->m_nFlags & CKLVToolBar::flagFloat)) return;
    if (!m_pBar->IsFloating()) FloatAt(pt, TRUE);
    m_rcTrack = KeepInsideWorkArea(m_rcTrack, CKLVToolBar::floatingMargin);
    m_pBar->SetWindowPos(nullptr, m_rcTrack.left, m_rcTrack.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CKLVToolBarTracker::FloatAt(CPoint pt, BOOL bCentre) {
    CKLVCommandBarsLink* pCommandBars = m_pBar->GetOwnerLink();
    if (!pCommandBars || !pCommandBars->FloatCommandBar(m_pBar)) return;
    const CSize sz = m_pBar->CalcDynamicLayout(-1, kFloatingLayout);
    CRect rc(m_rcTrack.TopLeft(), sz);
    if (bCentre && !rc.PtInRect(pt)) rc.OffsetRect(pt - rc.CenterPoint());
    m_rcTrack = rc;
    m_pBar->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CKLVToolBarTracker::OnResizeStep(CPoint pt) {
    if (m_pBar->IsDialogBar()) {
        ResizeFreely(pt);
        return;
    }
    m_ptLast = pt;
    CRect rc = m_rcTrack;
    const BOOL bWidth = m_nMode == HTLEFT || m_nMode == HTRIGHT;
    int nLength;
    if (bWidth)
        nLength = m_nMode == HTLEFT ? rc.right - pt.x : pt.x - rc.left;
    else
        nLength = m_nMode == HTTOP ? rc.bottom - pt.y : pt.y - rc.top;
    const CSize sz = m_pBar->CalcDynamicLayout(std::max(nLength, 0), bWidth ? kWidthLayout : kHeightLayout);
    if (sz == rc.Size()) return;
    if (m_nMode == HTLEFT)
        rc = CRect(rc.right - sz.cx, rc.top, rc.right, rc.top + sz.cy);
    else if (m_nMode == HTTOP)
        rc = CRect(rc.left, rc.bottom - sz.cy, rc.left + sz.cx, rc.bottom);
    else
        rc = CRect(rc.TopLeft(), sz);
    m_rcTrack = KeepInsideWorkArea(rc, CKLVToolBar::floatingMargin);
    m_pBar->SetWindowPos(nullptr, m_rcTrack.left, m_rcTrack.top, m_rcTrack.Width(), m_rcTrack.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    m_pBar->Redraw();
}

void CKLVToolBarTracker::ResizeFreely(CPoint pt) {
    const CSize delta = pt - m_ptLast;
    m_ptLast = pt;
    CRect rc = m_rcTrack;
    switch (m_nMode) {
    case HTLEFT: case HTTOPLEFT: case HTBOTTOMLEFT: rc.left += delta.cx; break;
    case HTRIGHT: case HTTOPRIGHT: case HTBOTTOMRIGHT: rc.right += delta.cx; break;
    default: break;
    }
    switch (m_nMode) {
    case HTTOP: case HTTOPLEFT: case HTTOPRIGHT: rc.top += delta.cy; break;
    case HTBOTTOM: case HTBOTTOMLEFT: case HTBOTTOMRIGHT: rc.bottom += delta.cy; break;
    default: break;
    }
    if (rc.Size() == m_rcTrack.Size()) return;
    // The rectangle follows the mouse even where the bar refuses the size, so that coming back
    // resumes where the mouse is.
    m_rcTrack = rc;
    CRect rcCommon;
    if (!rcCommon.IntersectRect(rc, KLVMultiMonitor()->GetWorkRect(&rc))) return;
    if (auto* pDialogBar = DYNAMIC_DOWNCAST(CKLVDialogBar, m_pBar))
        pDialogBar->OnResize(rc.left, rc.top, rc.right, rc.bottom, m_nMode);
}

void CKLVToolBarTracker::ToggleDocking() {
    CKLVCommandBarsLink* pCommandBars = m_pBar->GetOwnerLink();
    if (!pCommandBars) return;
    if (m_pBar->IsDocked()) {
        if (!(m_pBar->m_nFlags & CKLVToolBar::flagFloat) || !pCommandBars->GetOptions()->bDblClickFloat) return;
        // The first float opens where the bar was docked.
        const CPoint pt = m_ptLastFloating != CPoint(0, 0) ? m_ptLastFloating : WindowRect(m_pBar).TopLeft();
        m_rcTrack = CRect(pt, CSize(0, 0));
        FloatAt(pt, FALSE);
        m_ptLastFloating = pt;
    } else if (m_pBar->IsFloating() && (m_pBar->m_nFlags & CKLVToolBar::flagDockMask)) {
        CKLVDockBar* pDock = pCommandBars->GetDockBar(m_nLastDockPosition);
        if (!pDock) return;
        m_ptLastFloating = WindowRect(m_pBar).TopLeft();
        const CRect rc = pCommandBars->DockBarToScreen(pDock, m_rcLastDocked);
        pCommandBars->DockCommandBar(m_pBar, m_rcLastDocked.IsRectEmpty() ? nullptr : &rc, pDock);
        pCommandBars->RecalcFrameLayout();
    } else {
        return;
    }
    MarkStateChanged(m_pBar);
}
