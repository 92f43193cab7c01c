// Runs an action when the message it posted itself arrives: the way into a modal loop (a popup's
// tracking, a drag) from a test that starts the loop.
#pragma once

#include "classlib/Wnd.h"

#include <functional>
#include <utility>

namespace testsupport {

class CDeferred : public CWnd {
public:
    CDeferred() { CreateEx(0, AfxRegisterWndClass(0), "deferred", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0); }
    ~CDeferred() override { DestroyWindow(); }
    void Post(std::function<void()> action) {
        m_action = std::move(action);
        PostMessage(WM_APP);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP && m_action) {
            auto action = std::move(m_action);
            action();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::function<void()> m_action;
};

}  // namespace testsupport
