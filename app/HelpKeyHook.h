// F1 pressed in a dialog, whose own message loop the frame's shortcuts never see: the hook hands
// the window that has the focus to the handler, which opens the dialog's page.
#pragma once

#include <windows.h>

#include <functional>

class CHelpKeyHook {
public:
    using Handler = std::function<void(HWND hWndFocus)>;
    // Hooks the calling thread's dialog loops until the object goes.
    explicit CHelpKeyHook(Handler handler);
    ~CHelpKeyHook();
    CHelpKeyHook(const CHelpKeyHook&) = delete;
    CHelpKeyHook& operator=(const CHelpKeyHook&) = delete;

private:
    static LRESULT CALLBACK FilterProc(int nCode, WPARAM wParam, LPARAM lParam);

    Handler m_handler;
    HHOOK m_hHook = nullptr;
    CHelpKeyHook* m_pOuter = nullptr;   // the hook made before this one on the thread
};
