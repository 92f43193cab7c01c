// CWnd: the modal message loop of windows that run modal without a dialog box.
#include "classlib/ThreadState.h"
#include "classlib/WinThread.h"
#include "classlib/Wnd.h"

BOOL CWnd::ContinueModal() { return m_bContinueModal; }

void CWnd::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (!m_bContinueModal) return;
    m_bContinueModal = FALSE;
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);   // wakes a loop that waits for a message
}

int CWnd::RunModalLoop(DWORD dwFlags) {
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    MSG& msgCur = AfxGetThreadState()->m_msgCur;
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    m_bContinueModal = TRUE;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent && lIdleCount == 0)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
            if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++)) bIdle = FALSE;
        }
        do {
            if (!AfxPumpMessage()) {
                m_bContinueModal = FALSE;
                ::PostQuitMessage(static_cast<int>(msgCur.wParam));
                return -1;
            }
            if (!ContinueModal()) {
                m_bContinueModal = FALSE;
                return m_nModalResult;
            }
            CWinThread* pThread = AfxGetThread();
            if (pThread ? pThread->IsIdleMessage(&msgCur) : msgCur.message != WM_PAINT) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}
