#include "toolkit/common/KeyboardHook.h"

#include "toolkit/common/MouseHook.h"

#include <algorithm>
#include <memory>

namespace {

thread_local std::unique_ptr<CKLVKeyboardHook> t_pKeyboardHook;

const LPARAM kKeyUp = LPARAM(1) << 31, kKeyRepeat = LPARAM(1) << 30, kAltDown = LPARAM(1) << 29;

}  // namespace

CKLVKeyboardHook* KLVKeyboardHook() {
    if (!t_pKeyboardHook) t_pKeyboardHook = std::make_unique<CKLVKeyboardHook>();
    return t_pKeyboardHook.get();
}

CKLVKeyboardHook::~CKLVKeyboardHook() {
    if (m_hHookKeyboard) ::UnhookWindowsHookEx(m_hHookKeyboard);
    if (m_hHookCallWndProc) ::UnhookWindowsHookEx(m_hHookCallWndProc);
}

void CKLVKeyboardHook::InstallKeyboardHook(CKLVHookSink* pClient) {
    if (!m_hHookKeyboard || !m_hHookCallWndProc) {
        HINSTANCE hModule = ::GetModuleHandleA(nullptr);
        if (!m_hHookKeyboard)
            m_hHookKeyboard = ::SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, hModule, ::GetCurrentThreadId());
        if (!m_hHookCallWndProc)
            m_hHookCallWndProc = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, hModule, ::GetCurrentThreadId());
    }
    if (std::find(m_lstClients.begin(), m_lstClients.end(), pClient) == m_lstClients.end())
        m_lstClients.push_back(pClient);
}

void CKLVKeyboardHook::RemoveKeyboardHook(CKLVHookSink* pClient) {
    auto it = std::find(m_lstClients.begin(), m_lstClients.end(), pClient);
    if (it != m_lstClients.end()) m_lstClients.erase(it);
    if (!m_lstClients.empty()) return;
    if (m_hHookCallWndProc) ::UnhookWindowsHookEx(m_hHookCallWndProc);
    if (m_hHookKeyboard) ::UnhookWindowsHookEx(m_hHookKeyboard);
    m_hHookCallWndProc = m_hHookKeyboard = nullptr;
}

BOOL CKLVKeyboardHook::ProcessKeyboardHooks(UINT nMessage, WPARAM wParam, LPARAM lParam) {
    // Newest first; a client may leave the list while it is asked.
    for (int i = static_cast<int>(m_lstClients.size()) - 1; i >= 0; --i) {
        if (i >= static_cast<int>(m_lstClients.size())) continue;
        LRESULT lResult = 0;
        int nAnswer = m_lstClients[i]->OnHookMessage(nullptr, nMessage, wParam, lParam, lResult);
        if (nAnswer != CKLVHookSink::hookContinue) return nAnswer != CKLVHookSink::hookStop;
    }
    return TRUE;
}

BOOL CKLVKeyboardHook::OnHookKey(WPARAM nVirtKey, LPARAM lKeyData) {
    if (m_lstClients.empty() || (lKeyData & kKeyUp)) return FALSE;
    if ((lKeyData & kAltDown) && nVirtKey == VK_MENU && KLVMouseHook()->m_nSuspend <= 0) {
        if (lKeyData & kKeyRepeat) return FALSE;
        KLVMouseHook()->CloseAllTrackedPopups();
        return TRUE;
    }
    return ProcessKeyboardHooks(WM_KEYDOWN, nVirtKey, lKeyData);
}

LRESULT CALLBACK CKLVKeyboardHook::KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam) {
    CKLVKeyboardHook* pHook = KLVKeyboardHook();
    if (nCode == HC_ACTION && pHook->OnHookKey(wParam, lParam)) return 1;
    return ::CallNextHookEx(pHook->m_hHookKeyboard, nCode, wParam, lParam);
}

LRESULT CALLBACK CKLVKeyboardHook::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    // The application losing activation closes its popups.
    if (nCode == HC_ACTION && pMsg->message == WM_ACTIVATEAPP && pMsg->wParam == 0)
        KLVMouseHook()->CloseAllTrackedPopups();
    return ::CallNextHookEx(KLVKeyboardHook()->m_hHookCallWndProc, nCode, wParam, lParam);
}
