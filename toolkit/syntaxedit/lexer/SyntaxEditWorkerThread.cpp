#include "toolkit/syntaxedit/lexer/SyntaxEditWorkerThread.h"

BOOL CKLVSyntaxEditWorkerThread::Start(std::function<DWORD()> fn, int nPriority) {
    if (m_hThread) return FALSE;
    m_fn = std::move(fn);
    m_hThread = ::CreateThread(nullptr, 0, &ThreadProc, this, CREATE_SUSPENDED, &m_dwThreadId);
    if (!m_hThread) return FALSE;
    ++m_nStarted;
    ::SetThreadPriority(m_hThread, nPriority);
    ::ResumeThread(m_hThread);
    return TRUE;
}

DWORD WINAPI CKLVSyntaxEditWorkerThread::ThreadProc(LPVOID pParam) {
    // Nothing may escape a thread: an exception here would end the process.
    try {
        return static_cast<CKLVSyntaxEditWorkerThread*>(pParam)->m_fn();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return static_cast<DWORD>(-1);
}

BOOL CKLVSyntaxEditWorkerThread::Join(DWORD dwTimeout, HANDLE hGiveUp) {
    if (!m_hThread) return TRUE;
    // A thread cannot wait for its own end; its owner joins it later.
    if (IsCurrentThread()) return FALSE;
    // The wait holds a handle of its own: one closed meanwhile by a nested join would be waited
    // on no more, or be the handle of the thread started after it.
    HANDLE hWait = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), m_hThread, ::GetCurrentProcess(), &hWait, SYNCHRONIZE, FALSE, 0))
        return FALSE;
    const unsigned nThread = m_nStarted;
    const HANDLE handles[2] = {hWait, hGiveUp};
    const DWORD dwResult = Wait(hGiveUp ? 2 : 1, handles, dwTimeout);
    ::CloseHandle(hWait);
    if (dwResult != WAIT_OBJECT_0) return FALSE;
    if (!m_hThread || m_nStarted != nThread) return TRUE;   // joined meanwhile, perhaps replaced
    ::CloseHandle(m_hThread);
    m_hThread = nullptr;
    m_dwThreadId = 0;
    m_fn = nullptr;
    return TRUE;
}

void CKLVSyntaxEditWorkerThread::Terminate() {
    if (!m_hThread || IsCurrentThread()) return;
    ::TerminateThread(m_hThread, 0);
    Join(INFINITE);
}

DWORD CKLVSyntaxEditWorkerThread::Wait(DWORD nCount, const HANDLE* pHandles, DWORD dwTimeout) {
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        DWORD dwLeft = INFINITE;
        if (dwTimeout != INFINITE) {
            const DWORD dwElapsed = ::GetTickCount() - dwStart;
            dwLeft = dwElapsed >= dwTimeout ? 0 : dwTimeout - dwElapsed;
        }
        const DWORD dwResult = ::MsgWaitForMultipleObjects(nCount, pHandles, FALSE, dwLeft, QS_SENDMESSAGE);
        if (dwResult != WAIT_OBJECT_0 + nCount) return dwResult;
        // Peeking runs the handlers of messages sent from other threads.
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
