// CWinThread: a thread with a message loop. Run pumps messages: each queued message goes through
// PreTranslateMessage (the target window and its parents, then the main window) before it is
// dispatched, and whenever the queue runs empty OnIdle does the idle work (the user interface's
// update requests, then freeing the temporary wrapper objects).
#pragma once

#include "classlib/CmdTarget.h"

class CException;
class CWnd;

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() noexcept = default;
    ~CWinThread() override;

    CWnd* m_pMainWnd = nullptr;   // destroying it ends the loop
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

private:
    POINT m_ptCursorLast = {-1, -1};
    UINT m_nMsgLast = 0;
};

// The CWinThread of the calling thread (the application on its main thread), or null.
CWinThread* AfxGetThread();
// One message through the calling thread's loop (a default loop without a CWinThread).
BOOL AfxPumpMessage();
// What ProcessWndProcException does by default.
LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg);
