// CWnd: the window procedure, message dispatch, command routing, reflection and pre-translation.
#include "classlib/Wnd.h"

#include "classlib/Exceptions.h"
#include "classlib/ThreadState.h"
#include "classlib/WinThread.h"

#include <new>

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

namespace {

LRESULT ReportHandlerException(CException* e, const MSG* pMsg) {
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->ProcessWndProcException(e, pMsg) : AfxProcessWndProcException(e, pMsg);
}

}  // namespace

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    // Messages nest (a handler may send more): the previous current message comes back after.
    MSG msgPrevious = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMsg;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    LRESULT lResult = 0;
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        // No exception may unwind through the system's window code.
        lResult = ReportHandlerException(e, &pState->m_lastSentMsg);
    } catch (const std::bad_alloc&) {
        // Exceptions of other kinds are reported the same way, through a stand-in that
        // Delete() leaves alone.
        CMemoryException memory(FALSE);
        lResult = ReportHandlerException(&memory, &pState->m_lastSentMsg);
    } catch (...) {
        CException unknown(FALSE);
        lResult = ReportHandlerException(&unknown, &pState->m_lastSentMsg);
    }
    if (nMsg == WM_NCDESTROY && pWnd->m_hWnd == hWnd) pWnd->FinishNcDestroy();

    pState->m_lastSentMsg = msgPrevious;
    return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() {
    MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
    DWORD dwPos = ::GetMessagePos();
    pMsg->time = static_cast<DWORD>(::GetMessageTime());
    pMsg->pt.x = static_cast<short>(LOWORD(dwPos));
    pMsg->pt.y = static_cast<short>(HIWORD(dwPos));
    return pMsg;
}

namespace {

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// Records whether an update handler enables an item, and nothing else.
class CEnableTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
    BOOL m_bEnabled = TRUE;
};

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = 0;
    BOOL bHandled = FALSE;
    if (message == WM_COMMAND) {
        bHandled = OnCommand(wParam, lParam);
        if (bHandled) lResult = 1;
    } else if (message == WM_NOTIFY) {
        bHandled = lParam != 0 && OnNotify(wParam, lParam, &lResult);
    } else {
        // One map entry (WM_CTLCOLOR) serves every control-colour message.
        UINT lookupMessage = IsCtlColor(message) ? WM_CTLCOLOR : message;
        bHandled = DispatchMessageMap(lookupMessage, message, wParam, lParam, &lResult) ||
                   ReflectToChild(m_hWnd, message, wParam, lParam, &lResult);
    }
    if (pResult) *pResult = lResult;
    return bHandled;
}

BOOL CWnd::DispatchMessageMap(UINT lookupMessage, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        const AFX_MSGMAP_ENTRY* pEntry = AfxFindMessageEntry(pMap->lpEntries, lookupMessage, 0, 0);
        if (!pEntry) continue;
        AFX_MSGCALL call = {message, wParam, lParam, 0, 0, nullptr, 0};
        BOOL bHandled = pEntry->pfnThunk(this, call);
        if (bHandled && pResult) *pResult = call.result;
        return bHandled;
    }
    return FALSE;
}

BOOL CWnd::IsCommandDisabled(UINT nID) {
    CEnableTestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
    return !state.m_bEnabled;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // A menu item or an accelerator.
        if (IsCommandDisabled(nID)) return TRUE;
        nCode = CN_COMMAND;
    } else {
        LRESULT lResult = 0;
        if (ReflectMessage(hWndCtrl, WM_COMMAND, wParam, lParam, &lResult)) return TRUE;
        if (nID == 0) return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectMessage(pNMHDR->hwndFrom, WM_NOTIFY, wParam, lParam, pResult)) return TRUE;
    AFX_NOTIFY notify = {pResult, pNMHDR};
    return OnCmdMsg(static_cast<UINT>(pNMHDR->idFrom), static_cast<int>(MAKELONG(pNMHDR->code, WM_NOTIFY)),
                    &notify, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Reflection.

BOOL CWnd::ReflectMessage(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    CWnd* pChild = FromHandlePermanent(hWndChild);
    return pChild && pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return ReflectMessage(hWndChild, msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case WM_COMMAND:
        if (!OnCmdMsg(0, static_cast<int>(MAKELONG(HIWORD(wParam), WM_COMMAND + WM_REFLECT_BASE)), nullptr, nullptr))
            return FALSE;
        if (pResult) *pResult = 1;
        return TRUE;
    case WM_NOTIFY: {
        NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        LRESULT lIgnored = 0;
        AFX_NOTIFY notify = {pResult ? pResult : &lIgnored, pNMHDR};
        return OnCmdMsg(0, static_cast<int>(MAKELONG(pNMHDR->code, WM_NOTIFY + WM_REFLECT_BASE)), &notify, nullptr);
    }
    default:
        return DispatchMessageMap((IsCtlColor(message) ? WM_CTLCOLOR : message) + WM_REFLECT_BASE, message,
                                  wParam, lParam, pResult);
    }
}

BOOL CWnd::ReflectToChild(HWND hWndParent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    HWND hWndChild = nullptr;
    switch (message) {
    case WM_DRAWITEM: {
        auto* pDraw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (pDraw->CtlType != ODT_MENU) hWndChild = pDraw->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* pMeasure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (pMeasure->CtlType != ODT_MENU) hWndChild = ::GetDlgItem(hWndParent, static_cast<int>(pMeasure->CtlID));
        break;
    }
    case WM_DELETEITEM:
        hWndChild = reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_COMPAREITEM:
        hWndChild = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
        hWndChild = reinterpret_cast<HWND>(lParam);
        break;
    default:
        if (IsCtlColor(message)) hWndChild = reinterpret_cast<HWND>(lParam);
        break;
    }
    if (!hWndChild || hWndChild == hWndParent) return FALSE;
    return ReflectMessage(hWndChild, message, wParam, lParam, pResult);
}

// ---------------------------------------------------------------------------------------------
// Pre-translation and broadcasting.

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_bToolTips) FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg)) return TRUE;
        if (hWnd == hWndStop) break;
    }
    return FALSE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
    for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (!bOnlyPerm) {
            ::SendMessageA(hWndChild, message, wParam, lParam);
        } else if (CWnd* pWnd = FromHandlePermanent(hWndChild)) {
            AfxCallWndProc(pWnd, hWndChild, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(hWndChild)) SendMessageToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}
