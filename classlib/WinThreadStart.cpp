// Starting threads: the entry point every CWinThread runs, and AfxBeginThread.
#include "classlib/WinThread.h"

#include "classlib/ThreadState.h"

#include <memory>

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (m_hThread) return FALSE;   // one thread per object
    DWORD nThreadID = 0;
    // Suspended until the handle and id are stored: the thread may read them at once.
    HANDLE hThread = ::CreateThread(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                                    CREATE_SUSPENDED | (dwCreateFlags & STACK_SIZE_PARAM_IS_A_RESERVATION), &nThreadID);
    if (!hThread) return FALSE;
    m_hThread = hThread;
    m_nThreadID = nThreadID;
    if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(hThread);
    return TRUE;
}

DWORD WINAPI CWinThread::ThreadEntry(LPVOID pParam) {
    auto* pThread = static_cast<CWinThread*>(pParam);
    AfxGetThreadState()->m_pCurrentWinThread = pThread;
    DWORD nResult = 0;
    if (pThread->m_pfnThreadProc) nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
    else if (pThread->InitInstance()) nResult = static_cast<DWORD>(pThread->Run());
    else nResult = static_cast<DWORD>(pThread->ExitInstance());
    AfxGetThreadState()->m_pCurrentWinThread = nullptr;
    if (pThread->m_bAutoDelete) delete pThread;
    return nResult;
}

namespace {

// Starts pThread (owned until it runs) at nPriority; the thread, or null after deleting it.
CWinThread* BeginThread(std::unique_ptr<CWinThread> pThread, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                        LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) return nullptr;
    pThread->SetThreadPriority(nPriority);
    CWinThread* pStarted = pThread.release();   // from here on the thread owns itself
    if (!(dwCreateFlags & CREATE_SUSPENDED)) pStarted->ResumeThread();
    return pStarted;
}

}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (!pfnThreadProc) return nullptr;
    return BeginThread(std::make_unique<CWinThread>(pfnThreadProc, pParam), nPriority, nStackSize, dwCreateFlags,
                       lpSecurityAttrs);
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (!pThreadClass || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread))) return nullptr;
    std::unique_ptr<CObject> pObject(pThreadClass->CreateObject());
    if (!pObject) return nullptr;
    return BeginThread(std::unique_ptr<CWinThread>(static_cast<CWinThread*>(pObject.release())), nPriority, nStackSize,
                       dwCreateFlags, lpSecurityAttrs);
}
