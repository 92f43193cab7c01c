// Helpers for tests that drive real windows: bounded message pumping and a plain top-level window
// class. Nothing here waits without a bound.
#pragma once

#include "classlib/ClassLib.h"

#include <functional>
#include <ostream>

namespace classlib_test {

// Dispatches the messages already queued (at most maxMessages); the number dispatched.
inline int PumpPending(int maxMessages = 1000) {
    MSG msg;
    int nCount = 0;
    while (nCount < maxMessages && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        ++nCount;
    }
    return nCount;
}

// Pumps until done() holds, waiting for messages in slices of 10 ms, at most maxSlices slices.
inline bool PumpUntil(const std::function<bool()>& done, int maxSlices = 500) {
    for (int i = 0; i < maxSlices && !done(); ++i) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpPending();
    }
    return done();
}

// A left click at a client point of wnd, as the mouse sends it.
inline void ClickAt(CWnd& wnd, CPoint pt) {
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

// A rectangle for windows made in tests.
inline RECT TestRect(int width = 200, int height = 120) { return RECT{10, 10, 10 + width, 10 + height}; }

// Creates pWnd as a top-level window of the library's default class.
inline BOOL CreateTopLevel(CWnd& wnd, LPCTSTR lpszName = "test", DWORD dwStyle = WS_OVERLAPPEDWINDOW) {
    return wnd.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW)), lpszName, dwStyle,
                        TestRect(), nullptr, 0);
}

// A visible top-level window for tests that need visible windows (painting): they make children
// in it. It lives until the process ends, because unmapping a top-level window under the test
// display waits for a window manager that is not there.
inline CWnd* VisibleStage() {
    static HWND s_hWndStage = ::CreateWindowExA(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "stage", WS_POPUP | WS_VISIBLE,
                                                0, 0, 400, 300, nullptr, nullptr, AfxGetInstanceHandle(), nullptr);
    return CWnd::FromHandle(s_hWndStage);
}

// Mouse input at a screen point as the hardware gives it, so that the system hit-tests, captures
// and tells double clicks apart itself. dwButtons: the buttons' MOUSEEVENTF_ flags, or 0 for a
// move alone.
inline void MouseInput(CPoint ptScreen, DWORD dwButtons = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(ptScreen.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = static_cast<LONG>(ptScreen.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = dwButtons | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
}

// Pumps until the thread's queue holds no input any more; FALSE when it still does at the bound.
inline bool PumpInput() {
    const bool bDone = PumpUntil([] { return HIWORD(::GetQueueStatus(QS_INPUT)) == 0; });
    PumpPending();
    return bDone;
}

// What a test may leak: the thread's windows (counted through the window tree) and the
// process's GDI and USER objects as the system reports them.
struct HandleCounts {
    int nWindows = 0;
    DWORD nGdi = 0;
    DWORD nUser = 0;
    bool operator==(const HandleCounts& o) const { return nWindows == o.nWindows && nGdi == o.nGdi && nUser == o.nUser; }
};

inline HandleCounts CountHandles() {
    PumpPending();
    CWnd::DeleteTempMap();
    HandleCounts counts;
    int nWindows = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hWnd, LPARAM lParam) {
        ++*reinterpret_cast<int*>(lParam);
        int nChildren = 0;
        ::EnumChildWindows(hWnd, [](HWND, LPARAM l) { ++*reinterpret_cast<int*>(l); return TRUE; },
                           reinterpret_cast<LPARAM>(&nChildren));
        *reinterpret_cast<int*>(lParam) += nChildren;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&nWindows));
    counts.nWindows = nWindows;
    counts.nGdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    counts.nUser = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    // Without those counts (Wine has none) the handle tables are walked: a handle given by its
    // index alone names whatever object sits there.
    if (counts.nGdi == 0 && counts.nUser == 0) {
        for (UINT i = 0x20; i < 0x10000; ++i) {
            HANDLE h = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(i));
            counts.nGdi += ::GetObjectType(h) != 0;
            counts.nUser += ::IsMenu(static_cast<HMENU>(h)) != FALSE;
        }
    }
    return counts;
}

inline std::ostream& operator<<(std::ostream& os, const HandleCounts& c) {
    return os << c.nWindows << " windows, " << c.nGdi << " GDI, " << c.nUser << " USER";
}

// Whether a command is enabled, as its update handler says (-1: no handler answered).
inline int IsCommandEnabled(CCmdTarget* pTarget, UINT nID) {
    struct Probe : CCmdUI {
        int nEnabled = -1;
        void Enable(BOOL bOn) override { nEnabled = bOn ? 1 : 0; }
    } probe;
    probe.m_nID = nID;
    pTarget->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &probe, nullptr);
    return probe.nEnabled;
}

}  // namespace classlib_test
