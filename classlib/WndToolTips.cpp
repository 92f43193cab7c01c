// CWnd: the library's own tool tips. One tool-tip control per thread shows the tool that the
// window with tool tips enabled reports under the mouse (OnToolHitTest); the tool is replaced
// whenever the mouse moves to another one.
#include "classlib/ThreadState.h"
#include "classlib/ToolTipCtrl.h"

#include <cstdlib>
#include <memory>

namespace {

bool IsToolTipMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

// The thread's tool tip, owned by the top-level window of pOwner's window (made again when that
// changes or the control is gone).
CToolTipCtrl* ThreadToolTip(AFX_THREAD_STATE* pState, CWnd* pOwner) {
    CToolTipCtrl* pToolTip = pState->m_pToolTip.get();
    HWND hWndOwner = AfxGetSafeHwnd(pOwner->GetTopLevelParent());
    if (pToolTip && pToolTip->m_hWnd && ::GetWindow(pToolTip->m_hWnd, GW_OWNER) == hWndOwner) return pToolTip;
    if (pToolTip && pToolTip->m_hWnd) pToolTip->DestroyWindow();
    pState->m_pToolTip = std::make_unique<CToolTipCtrl>();
    pState->m_pLastHit = nullptr;
    pState->m_nLastHit = -1;
    if (!pState->m_pToolTip->Create(CWnd::FromHandle(hWndOwner), TTS_ALWAYSTIP)) return nullptr;
    pState->m_pToolTip->Activate(TRUE);
    return pState->m_pToolTip.get();
}

void RemoveLastTool(AFX_THREAD_STATE* pState) {
    if (pState->m_nLastHit != -1 && pState->m_pToolTip && pState->m_pToolTip->m_hWnd)
        pState->m_pToolTip->SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&pState->m_lastInfo));
    pState->m_pLastHit = nullptr;
    pState->m_nLastHit = -1;
}

}  // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable) {
    BOOL bPrevious = m_bToolTips;
    m_bToolTips = bEnable;
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (!bEnable && pState->m_pLastHit == this) RemoveLastTool(pState);
    return bPrevious;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    // The visible child control under the point is the tool; its text comes by TTN_NEEDTEXT.
    HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!hWndChild || hWndChild == m_hWnd) return -1;
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = reinterpret_cast<UINT_PTR>(hWndChild);
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACK;
    }
    return ::GetDlgCtrlID(hWndChild);
}

void CWnd::FilterToolTipMessage(MSG* pMsg) {
    if (!IsToolTipMouseMessage(pMsg->message) || !m_hWnd) return;
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    CToolTipCtrl* pToolTip = ThreadToolTip(pState, this);
    if (!pToolTip) return;

    CPoint point = pMsg->pt;
    ScreenToClient(&point);
    TOOLINFO ti = {};
    ti.cbSize = AFX_TOOLINFO_SIZE;
    INT_PTR nHit = OnToolHitTest(point, &ti);

    if (nHit != pState->m_nLastHit || pState->m_pLastHit != this) {
        RemoveLastTool(pState);
        if (nHit != -1) {
            if (!ti.hwnd) ti.hwnd = m_hWnd;
            pToolTip->SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
            pState->m_pLastHit = this;
            pState->m_nLastHit = nHit;
            pState->m_lastInfo = ti;
            pState->m_lastInfo.lpszText = nullptr;
        }
    }
    // The control has copied the text; text the hit test allocated is ours to free.
    if (ti.lpszText != LPSTR_TEXTCALLBACK) std::free(ti.lpszText);
    if (nHit == -1) return;

    // The control matches a relayed message to its tool by window: a tool of a window other
    // than the one under the mouse gets the message in its own coordinates.
    MSG msg = *pMsg;
    if (!(pState->m_lastInfo.uFlags & TTF_IDISHWND) && msg.hwnd != pState->m_lastInfo.hwnd) {
        CPoint ptTool = pMsg->pt;
        ::ScreenToClient(pState->m_lastInfo.hwnd, &ptTool);
        msg.hwnd = pState->m_lastInfo.hwnd;
        msg.lParam = MAKELPARAM(ptTool.x, ptTool.y);
    }
    pToolTip->RelayEvent(&msg);
}

void CWnd::CancelToolTips() {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pToolTip && pState->m_pToolTip->m_hWnd) pState->m_pToolTip->Pop();
}
