// The base of every object that watches the messages of a window it does not own, or the keys
// of its thread, through the window subclasser or the keyboard hook.
#pragma once

#include "classlib/Object.h"

class CKLVHookSink {
public:
    // What OnHookMessage answers.
    enum { hookContinue = 0, hookHandled = 1, hookStop = 2 };

    CKLVHookSink() noexcept = default;
    virtual ~CKLVHookSink() = default;
    CKLVHookSink(const CKLVHookSink&) = delete;
    CKLVHookSink& operator=(const CKLVHookSink&) = delete;

    // hookHandled: the message is done and lResult is its result; hookStop: no older sink is
    // asked, the window's own procedure runs; hookContinue: the next older sink is asked. A
    // window sink may change wParam and lParam for the sinks and procedure after it.
    virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) = 0;

    // Set: the chain that holds the sink deletes it when it leaves the chain (one chain only).
    BOOL m_bAutoDestroy = FALSE;
};
