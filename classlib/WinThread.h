// CWinThread: a thread with a message loop. Run pumps messages: each queued message goes through
// PreTranslateMessage (the target window and its parents, then the main window) before it is
// dispatched, and whenever the queue runs empty OnIdle does the idle work (the user interface's
// update requests, then freeing the temporary wrapper objects).
#pragma once

#include "classlib/CmdTarget.h"

class CException;
class CWnd;

// The function a worker thread runs; its result is the thread's exit code.
typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() noexcept = default;
    // A worker thread that runs pfnThreadProc(pParam) instead of a message loop.
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) noexcept;
    ~CWinThread() override;   // closes the thread handle

    // Starts the thread (suspended with CREATE_SUSPENDED); FALSE when the system made none.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    operator HANDLE() const { return m_hThread; }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }

    CWnd* m_pMainWnd = nullptr;   // destroying it ends the loop
    // The object deletes itself when its thread ends: a caller that keeps using it (its handle,
    // to wait for the end) clears this before the thread runs (start it with CREATE_SUSPENDED).
    BOOL m_bAutoDelete = TRUE;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;

    virtual BOOL InitInstance();
    // Pumps until WM_QUIT, then returns ExitInstance().
    virtual int Run();
    // The WM_QUIT exit code.
    virtual int ExitInstance();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Takes one message (waiting for it) and dispatches it; FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    // lCount counts the calls since the queue last ran empty: 0 sends WM_IDLEUPDATECMDUI to the
    // main window and its descendants, 1 frees the temporary wrappers. TRUE asks for more calls.
    virtual BOOL OnIdle(LONG lCount);
    // FALSE for messages that arrive on their own without anything happening (paint, caret
    // blink, a mouse move to the same place), which must not restart the idle work.
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    // An exception a message handler let through: handled, reported to the user and deleted;
    // the result for the message (-1 for WM_CREATE, so creation fails).
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);

    // The last message the thread's loop took from the queue.
    static const MSG* GetCurrentMessage();

    AFX_THREADPROC m_pfnThreadProc = nullptr;   // null: a thread with a message loop
    LPVOID m_pThreadParams = nullptr;

private:
    static DWORD WINAPI ThreadEntry(LPVOID pThread);

    POINT m_ptCursorLast = {-1, -1};
    UINT m_nMsgLast = 0;
};

// Starts a worker thread running pfnThreadProc(pParam) at nPriority; null when it cannot run.
// Unless dwCreateFlags holds CREATE_SUSPENDED the thread runs at once and, auto-deleting, may have
// ended and deleted its object before the call returns.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Starts a thread of pThreadClass (a CWinThread that can be created by name): InitInstance, then
// its message loop (Run) when that succeeds, else ExitInstance. Null for any other class.
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// The CWinThread of the calling thread (the application on its main thread), or null.
CWinThread* AfxGetThread();
// One message through the calling thread's loop (a default loop without a CWinThread).
BOOL AfxPumpMessage();
// What ProcessWndProcException does by default.
LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg);
