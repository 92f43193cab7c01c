// AFX_THREAD_STATE: what the library keeps per thread: the message being pumped and the message
// being handled, the window being created, the thread's windows and temporary wrappers, its
// tool tip, and its CWinThread object.
#pragma once

#include "classlib/HandleMap.h"

#include <commctrl.h>

#include <memory>
#include <unordered_map>

class CToolTipCtrl;
class CWinThread;
class CWnd;

struct AFX_THREAD_STATE {
    AFX_THREAD_STATE();
    ~AFX_THREAD_STATE();
    AFX_THREAD_STATE(const AFX_THREAD_STATE&) = delete;
    AFX_THREAD_STATE& operator=(const AFX_THREAD_STATE&) = delete;

    MSG m_msgCur = {};        // the last message the thread's pump took from the queue
    MSG m_lastSentMsg = {};   // the message the window procedure is handling now

    // Window creation: the CBT hook attaches the next created window to m_pWndInit.
    CWnd* m_pWndInit = nullptr;
    HHOOK m_hHookCbtFilter = nullptr;
    int m_nCreateDepth = 0;

    // The windows the library owns or watches on this thread, and the temporary wrappers.
    std::unordered_map<HWND, CWnd*> m_permanentWindows;
    CTempHandleMap m_temporaries;

    // The thread's tool tip and the tool it shows (see CWnd::FilterToolTipMessage).
    std::unique_ptr<CToolTipCtrl> m_pToolTip;
    CWnd* m_pLastHit = nullptr;
    INT_PTR m_nLastHit = -1;
    TTTOOLINFOA m_lastInfo = {};

    CWinThread* m_pCurrentWinThread = nullptr;
};

// The calling thread's state, made on first use and freed when the thread ends.
AFX_THREAD_STATE* AfxGetThreadState();
