#include "classlib/WinThread.h"

#include "classlib/Exceptions.h"
#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"
#include "classlib/Wnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

// The system's caret-blink timer message.
#define WM_SYSTIMER 0x0118

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) noexcept
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pCurrentWinThread == this) pState->m_pCurrentWinThread = nullptr;
    if (m_hThread) ::CloseHandle(m_hThread);
}

BOOL CWinThread::InitInstance() { return TRUE; }

int CWinThread::ExitInstance() { return static_cast<int>(AfxGetThreadState()->m_msgCur.wParam); }

const MSG* CWinThread::GetCurrentMessage() { return &AfxGetThreadState()->m_msgCur; }

int CWinThread::Run() {
    MSG& msgCur = AfxGetThreadState()->m_msgCur;
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++)) bIdle = FALSE;
        }
        do {
            if (!PumpMessage()) return ExitInstance();
            if (IsIdleMessage(&msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

namespace {

// Takes one message (waiting for it) and dispatches it unless pre-translation handles it: that of
// pThread, or without one that of the target window and its parents. FALSE on WM_QUIT.
BOOL PumpOneMessage(CWinThread* pThread) {
    MSG& msgCur = AfxGetThreadState()->m_msgCur;
    BOOL bResult = ::GetMessageA(&msgCur, nullptr, 0, 0);
    if (bResult == 0 || bResult == -1) return FALSE;
    // WM_KICKIDLE only wakes a loop up for its idle work.
    if (msgCur.message == WM_KICKIDLE) return TRUE;
    BOOL bHandled = pThread ? pThread->PreTranslateMessage(&msgCur) : CWnd::WalkPreTranslateTree(nullptr, &msgCur);
    if (!bHandled) {
        ::TranslateMessage(&msgCur);
        ::DispatchMessageA(&msgCur);
    }
    return TRUE;
}

}  // namespace

BOOL CWinThread::PumpMessage() { return PumpOneMessage(this); }

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    CWnd* pMainWnd = GetMainWnd();
    if (CWnd::WalkPreTranslateTree(AfxGetSafeHwnd(pMainWnd), pMsg)) return TRUE;
    // A message for another top-level window of the thread (a floating tool window, a modeless
    // dialog) still passes the main window, for its accelerators.
    if (pMainWnd && pMainWnd->m_hWnd && pMsg->hwnd) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd->GetTopLevelParent() != pMainWnd) return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        return TRUE;
    }
    AfxGetThreadState()->m_temporaries.DeleteAll();
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (pMsg->message == m_nMsgLast && pMsg->pt.x == m_ptCursorLast.x && pMsg->pt.y == m_ptCursorLast.y)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != WM_SYSTIMER;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
    return AfxProcessWndProcException(e, pMsg);
}

LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg) {
    LRESULT lResult = 0;
    if (pMsg->message == WM_CREATE) lResult = -1;
    else if (pMsg->message == WM_PAINT) ::ValidateRect(pMsg->hwnd, nullptr);   // or it comes back at once
    if (e->IsKindOf(RUNTIME_CLASS(CUserException))) {   // the user has been told
        e->Delete();
        return lResult;
    }
    char szMessage[512];
    if (!e->GetErrorMessage(szMessage, sizeof szMessage))
        lstrcpynA(szMessage, "An unexpected error occurred.", sizeof szMessage);
    AfxMessageBox(szMessage, MB_ICONEXCLAMATION);
    e->Delete();
    return lResult;
}

CWinThread* AfxGetThread() { return AfxGetThreadState()->m_pCurrentWinThread; }

BOOL AfxPumpMessage() {
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->PumpMessage() : PumpOneMessage(nullptr);
}
