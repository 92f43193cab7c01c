// The message pump shared by the tab row's modal mouse loops (press, reorder drag, navigation
// button): it runs while the window holds the capture and ends on WM_QUIT, which it posts again
// so that the thread's own loop sees it.
#pragma once

#include "classlib/Geometry.h"

#include <windows.h>

class CKLVTabMouseLoop {
public:
    enum Event { eventMessage, eventCaptureLost, eventQuit };

    explicit CKLVTabMouseLoop(HWND hWnd) : m_hWnd(hWnd) { ::SetCapture(hWnd); }
    ~CKLVTabMouseLoop() {
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    }
    CKLVTabMouseLoop(const CKLVTabMouseLoop&) = delete;
    CKLVTabMouseLoop& operator=(const CKLVTabMouseLoop&) = delete;

    // Takes the next message; a message that arrives after the capture moved is dispatched.
    Event Next() {
        BOOL bGot = ::GetMessageA(&m_msg, nullptr, 0, 0);
        if (bGot <= 0) {
            if (bGot == 0) ::PostQuitMessage(static_cast<int>(m_msg.wParam));
            return eventQuit;
        }
        if (::GetCapture() != m_hWnd) {
            Dispatch();
            return eventCaptureLost;
        }
        return eventMessage;
    }
    // Waits up to nMilliseconds for input; TRUE when a message is queued.
    static BOOL WaitForMessage(DWORD nMilliseconds) {
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) return TRUE;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, nMilliseconds, QS_ALLINPUT);
        return ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    void Dispatch() {
        ::TranslateMessage(&m_msg);
        ::DispatchMessageA(&m_msg);
    }
    const MSG& GetMsg() const { return m_msg; }
    UINT GetMessageId() const { return m_msg.message; }
    // The press ends without action: right button, cancel mode, Escape.
    BOOL IsCancel() const {
        return m_msg.message == WM_RBUTTONDOWN || m_msg.message == WM_CANCELMODE ||
               (m_msg.message == WM_KEYDOWN && m_msg.wParam == VK_ESCAPE);
    }
    CPoint GetPoint() const { return CPoint(m_msg.lParam); }

private:
    HWND m_hWnd;
    MSG m_msg = {};
};
