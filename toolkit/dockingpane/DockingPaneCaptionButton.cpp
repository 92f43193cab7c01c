#include "toolkit/dockingpane/DockingPaneCaptionButton.h"

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"

CKLVDockingPane* CKLVDockingPaneCaptionButton::GetOwnerPane() const {
    if (!m_pOwnerNode) return nullptr;
    if (m_pOwnerNode->GetType() == CKLVDockingNode::typeTabbedContainer)
        return static_cast<CKLVDockingPaneTabbedContainer*>(m_pOwnerNode)->GetSelected();
    if (m_pOwnerNode->GetType() == CKLVDockingNode::typeMiniWnd) {
        CKLVDockingNodeList lstPanes;
        m_pOwnerNode->FindPane(CKLVDockingNode::typePane, &lstPanes);
        if (lstPanes.GetCount() == 1) return static_cast<CKLVDockingPane*>(lstPanes.GetHead());
    }
    return nullptr;
}

BOOL CKLVDockingPaneCaptionButton::IsEnabled() const {
    const CKLVDockingPane* pPane = GetOwnerPane();
    return !pPane || (pPane->GetEnabled() & CKLVDockingPane::enabledNoPresetCancel) != 0;
}

void CKLVDockingPaneCaptionButton::Redraw() const {
    HWND hWnd = AfxGetSafeHwnd(m_pOwnerWnd);
    if (!hWnd) return;
    // A floating frame's buttons sit on its non-client caption.
    const BOOL bFrame = m_pOwnerNode && m_pOwnerNode->GetType() == CKLVDockingNode::typeMiniWnd;
    ::RedrawWindow(hWnd, nullptr, nullptr, bFrame ? RDW_FRAME | RDW_INVALIDATE : RDW_INVALIDATE);
}

BOOL CKLVDockingPaneCaptionButton::CheckForMouseOver(CPoint point) {
    const BOOL bOver = m_rcButton.PtInRect(point) && IsEnabled();
    if (bOver == m_bHot) return FALSE;
    m_bHot = bOver;
    if (bOver && AfxGetSafeHwnd(m_pOwnerWnd)) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_pOwnerWnd->m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
    Redraw();
    return TRUE;
}

BOOL CKLVDockingPaneCaptionButton::Click(CWnd* pWnd, CPoint point, BOOL bClient) {
    HWND hWnd = AfxGetSafeHwnd(pWnd);
    if (!hWnd) return FALSE;
    ::SetCapture(hWnd);
    BOOL bResult = FALSE;
    auto follow = [&](CPoint pt) {
        const BOOL bPressed = m_rcButton.PtInRect(pt);
        if (bPressed == m_bPressed) return;
        m_bPressed = bPressed;
        Redraw();
    };
    follow(point);
    MSG msg;
    while (::GetCapture() == hWnd) {
        const BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot <= 0) {
            // The thread's own loop must see the quit request as well.
            if (bGot == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP) {
            bResult = m_bPressed;
            break;
        }
        if (msg.message == WM_RBUTTONUP || msg.message == WM_CANCELMODE ||
            (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message == WM_NCMOUSEMOVE) continue;
        if (msg.message == WM_MOUSEMOVE) {
            CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            ::ClientToScreen(msg.hwnd, &pt);
            if (bClient) ::ScreenToClient(hWnd, &pt);
            else CKLVDrawHelpers::ScreenToWindow(CWnd::FromHandle(hWnd), &pt);
            point = pt;
            follow(point);
            continue;
        }
        ::DispatchMessageA(&msg);
    }
    if (::GetCapture() == hWnd) ::ReleaseCapture();
    m_bPressed = FALSE;
    CheckForMouseOver(point);
    Redraw();
    return bResult;
}
