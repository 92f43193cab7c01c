// Resizing the sliding window by its inner border: through the splitter tracker, or live with the
// window following the mouse.
#include "toolkit/common/FlagScope.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/SplitterTracker.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneAutoHideWnd.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"

#include <algorithm>

CRect CKLVDockingPaneAutoHideWnd::ToScreen(CRect rc) const {
    CWnd* pSite = GetSite();
    if (AfxGetSafeHwnd(pSite)) ::MapWindowPoints(pSite->m_hWnd, nullptr, reinterpret_cast<LPPOINT>(&rc), 2);
    rc.NormalizeRect();
    return rc;
}

BOOL CKLVDockingPaneAutoHideWnd::GetSplitterLimits(CRect& rcLimit, CRect& rcStrip) const {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager || !m_pContainer || !m_pContainer->GetLayout()) return FALSE;
    const CRect rcArea = m_pContainer->GetLayout()->GetRootArea();
    const int nGap = pManager->m_nSplitterGap + nBorder;
    MINMAXINFO mmi;
    GetMinMaxInfo(&mmi, m_nPlacedSide == klvDockRight || m_nPlacedSide == klvDockBottom);
    CRect rcWindow = m_rcFull;
    if (m_hWnd) {
        GetWindowRect(&rcWindow);
        if (CWnd* pSite = GetSite()) ::MapWindowPoints(nullptr, pSite->m_hWnd, reinterpret_cast<LPPOINT>(&rcWindow), 2);
        rcWindow.NormalizeRect();
    }
    rcLimit = rcArea;
    rcStrip = rcWindow;
    switch (m_nPlacedSide) {
    case klvDockLeft:
        rcLimit.left += std::max(static_cast<int>(mmi.ptMinTrackSize.x), nGap);
        rcLimit.right -= nGap;
        rcLimit.right = std::min(rcLimit.right, rcArea.left + mmi.ptMaxTrackSize.x);
        rcStrip.left = rcStrip.right - nBorder;
        break;
    case klvDockRight:
        rcLimit.left += nGap;
        rcLimit.right -= std::max(static_cast<int>(mmi.ptMinTrackSize.x), nGap);
        rcLimit.left = std::max(rcLimit.left, rcArea.right - mmi.ptMaxTrackSize.x);
        rcStrip.right = rcStrip.left + nBorder;
        break;
    case klvDockTop:
        rcLimit.top += std::max(static_cast<int>(mmi.ptMinTrackSize.y), nGap);
        rcLimit.bottom -= nGap;
        rcLimit.bottom = std::min(rcLimit.bottom, rcArea.top + mmi.ptMaxTrackSize.y);
        rcStrip.top = rcStrip.bottom - nBorder;
        break;
    default:
        rcLimit.top += nGap;
        rcLimit.bottom -= std::max(static_cast<int>(mmi.ptMinTrackSize.y), nGap);
        rcLimit.top = std::max(rcLimit.top, rcArea.bottom - mmi.ptMaxTrackSize.y);
        rcStrip.bottom = rcStrip.top + nBorder;
        break;
    }
    // The strip moves along one axis only: the other is not a limit.
    const BOOL bRoom = m_bHorizontal ? rcLimit.bottom > rcLimit.top : rcLimit.right > rcLimit.left;
    return bRoom;
}

void CKLVDockingPaneAutoHideWnd::ResizeTo(const CRect& rcStrip) {
    if (!m_pContainer || !m_pContainer->GetLayout()) return;
    const CRect rcArea = m_pContainer->GetLayout()->GetRootArea();
    CRect rc = rcStrip;
    switch (m_nPlacedSide) {
    case klvDockLeft: rc.left = rcArea.left; break;
    case klvDockRight: rc.right = rcArea.right; break;
    case klvDockTop: rc.top = rcArea.top; break;
    default: rc.bottom = rcArea.bottom; break;
    }
    if (CKLVDockingPane* pPane = GetShownPane()) (m_bHorizontal ? pPane->m_szDocking.cy : pPane->m_szDocking.cx) =
                                                     m_bHorizontal ? rc.Height() : rc.Width();
    m_rcFull = rc;
    m_nCurrentStep = m_nStepCount - 1;
    if (!m_hWnd) return;
    MoveWindow(&rc, TRUE);
    Invalidate(FALSE);
}

void CKLVDockingPaneAutoHideWnd::OnLButtonDown(UINT, CPoint) {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager || pManager->m_bLockSplitters || !m_pContainer) return;
    CRect rcLimit, rcStrip;
    if (!GetSplitterLimits(rcLimit, rcStrip)) return;
    // Whatever the loops dispatch may close the window meanwhile.
    CKLVHeldReference self(this);
    CKLVFlagScope resizing(m_bResizing);
    if (pManager->m_bSplitterTracker) TrackBorder(rcLimit, rcStrip);
    else ResizeLive(rcLimit, rcStrip);
}

void CKLVDockingPaneAutoHideWnd::TrackBorder(CRect rcLimit, CRect rcStrip) {
    const CRect rcLimitScreen = ToScreen(rcLimit);
    CRect rcTracker = ToScreen(rcStrip);
    CPoint ptStart;
    ::GetCursorPos(&ptStart);
    CKLVSplitterTracker tracker;
    if (!tracker.Track(this, rcLimitScreen.left, rcLimitScreen.top, rcLimitScreen.right, rcLimitScreen.bottom,
                       &rcTracker, ptStart, !m_bHorizontal))
        return;
    if (!m_hWnd) return;
    if (CWnd* pSite = GetSite()) ::MapWindowPoints(nullptr, pSite->m_hWnd, reinterpret_cast<LPPOINT>(&rcTracker), 2);
    rcTracker.NormalizeRect();
    ResizeTo(rcTracker);
}

void CKLVDockingPaneAutoHideWnd::ResizeLive(const CRect& rcLimit, CRect rcStrip) {
    CWnd* pSite = GetSite();
    if (!AfxGetSafeHwnd(pSite)) return;
    HWND hWnd = m_hWnd;
    ::SetCapture(hWnd);
    MSG msg;
    while (m_hWnd == hWnd && ::GetCapture() == hWnd) {
        const BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot <= 0) {
            // The thread's own loop must still see the quit request.
            if (bGot == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) break;
        if (msg.message != WM_MOUSEMOVE) {
            ::DispatchMessageA(&msg);
            continue;
        }
        CPoint pt;
        ::GetCursorPos(&pt);
        pSite->ScreenToClient(&pt);
        if (m_bHorizontal) {
            const int y = std::clamp(static_cast<int>(pt.y), static_cast<int>(rcLimit.top),
                                     std::max(static_cast<int>(rcLimit.top), static_cast<int>(rcLimit.bottom)));
            rcStrip.OffsetRect(0, y - rcStrip.top);
        } else {
            const int x = std::clamp(static_cast<int>(pt.x), static_cast<int>(rcLimit.left),
                                     std::max(static_cast<int>(rcLimit.left), static_cast<int>(rcLimit.right)));
            rcStrip.OffsetRect(x - rcStrip.left, 0);
        }
        ResizeTo(rcStrip);
    }
    if (m_hWnd == hWnd && ::GetCapture() == hWnd) ::ReleaseCapture();
}
