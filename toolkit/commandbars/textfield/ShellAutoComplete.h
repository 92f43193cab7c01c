// The shell's completion of a text field (file names, addresses) as the field's binding: bound
// once through the shell, and while the field has the focus it watches for the shell's suggestion
// list, so that clicks in the list keep the bar's popups open and the wheel reaches the list.
#pragma once

#include "toolkit/common/HookSink.h"

#include <windows.h>

#include <memory>

class CKLVShellAutoComplete : public CKLVHookSink {
public:
    static constexpr HRESULT failMissing = E_FAIL;
    // Posted to the field when the shell's suggestion list comes up over it.
    static constexpr UINT msgSuggestShown = 0x2872;

    // The binding of the window, null when the shell refuses it or offers no completion.
    static std::unique_ptr<CKLVShellAutoComplete> Bind(HWND hwndEdit, DWORD dwFlags);
    // SHAutoComplete found in the shell library at call time; E_FAIL when it is missing.
    static HRESULT CallShell(HWND hwndEdit, DWORD dwFlags);

    // The binding of a field the shell completes already.
    CKLVShellAutoComplete(HWND hwndEdit, DWORD dwFlags) : m_hwndEdit(hwndEdit), m_dwFlags(dwFlags) {}
    ~CKLVShellAutoComplete() override;

    // On while the field has the focus: a keyboard-hook client, and the watcher of the suggestion
    // list (one per thread) while no other binding holds it.
    void Enable(BOOL bEnable);
    BOOL IsEnabled() const { return m_bEnabled; }
    DWORD GetFlags() const { return m_dwFlags; }
    // The suggestion list while it is shown, else null.
    HWND GetDropDown() const { return m_hwndDropDown; }
    // A window being shown or hidden; the watcher calls it for every position change.
    void OnWindowPosChanging(HWND hWnd, const WINDOWPOS& pos);
    // Whether a window is the shell's suggestion list: its class, or (where the shell makes it a
    // plain list) a list box standing alone on the desktop.
    static BOOL IsSuggestionList(HWND hWnd);

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

private:
    void ForgetDropDown();
    static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);

    HWND m_hwndEdit;
    DWORD m_dwFlags;
    BOOL m_bEnabled = FALSE;
    HWND m_hwndDropDown = nullptr;
};
