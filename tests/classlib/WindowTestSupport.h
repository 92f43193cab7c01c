// Helpers for tests that drive real windows: bounded message pumping and a plain top-level window
// class. Nothing here waits without a bound.
#pragma once

#include "classlib/ClassLib.h"

#include <functional>

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

}  // namespace classlib_test
