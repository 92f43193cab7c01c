#include "app/HelpKeyHook.h"

#include <utility>

namespace {
thread_local CHelpKeyHook* t_pHook = nullptr;
}  // namespace

CHelpKeyHook::CHelpKeyHook(Handler handler) : m_handler(std::move(handler)), m_pOuter(t_pHook) {
    m_hHook = ::SetWindowsHookExA(WH_MSGFILTER, FilterProc, nullptr, ::GetCurrentThreadId());
    t_pHook = this;
}

CHelpKeyHook::~CHelpKeyHook() {
    if (m_hHook) ::UnhookWindowsHookEx(m_hHook);
    t_pHook = m_pOuter;
}

LRESULT CALLBACK CHelpKeyHook::FilterProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* pMsg = reinterpret_cast<const MSG*>(lParam);
    if (nCode == MSGF_DIALOGBOX && t_pHook && pMsg && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1) {
        // Held as a copy: the handler may run a loop in which the hook goes.
        const Handler handler = t_pHook->m_handler;
        handler(pMsg->hwnd);
        return 1;
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
