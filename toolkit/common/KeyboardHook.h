// The keyboard side of popup menus without a modal loop: while any client is registered, every
// key-down of the thread is offered to the clients, newest first, before it reaches a window.
#pragma once

#include "toolkit/common/HookSink.h"

#include <vector>

class CKLVKeyboardHook {
public:
    CKLVKeyboardHook() = default;
    virtual ~CKLVKeyboardHook();   // unhooks and forgets the clients
    CKLVKeyboardHook(const CKLVKeyboardHook&) = delete;
    CKLVKeyboardHook& operator=(const CKLVKeyboardHook&) = delete;

    void InstallKeyboardHook(CKLVHookSink* pClient);
    void RemoveKeyboardHook(CKLVHookSink* pClient);
    // TRUE: the key is eaten. Keys are eaten unless a client answers hookStop.
    BOOL ProcessKeyboardHooks(UINT nMessage, WPARAM wParam, LPARAM lParam);
    // The keyboard hook's decision on a key (virtual key, key data): TRUE eats it.
    BOOL OnHookKey(WPARAM nVirtKey, LPARAM lKeyData);

    BOOL IsInstalled() const { return m_hHookKeyboard != nullptr; }

private:
    static LRESULT CALLBACK KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);

    HHOOK m_hHookKeyboard = nullptr;
    HHOOK m_hHookCallWndProc = nullptr;
    std::vector<CKLVHookSink*> m_lstClients;   // oldest first
};

// The calling thread's keyboard hook object, made on the thread's first use.
CKLVKeyboardHook* KLVKeyboardHook();
