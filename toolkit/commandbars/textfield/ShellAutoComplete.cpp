#include "toolkit/commandbars/textfield/ShellAutoComplete.h"

#include "toolkit/common/KeyboardHook.h"
#include "toolkit/common/MouseHook.h"

namespace {

// The thread's one watcher and the binding it serves.
struct CWatcher {
    HHOOK hHook = nullptr;
    CKLVShellAutoComplete* pOwner = nullptr;
};

CWatcher& ThreadWatcher() {
    static thread_local CWatcher s_watcher;
    return s_watcher;
}

}  // namespace

HRESULT CKLVShellAutoComplete::CallShell(HWND hwndEdit, DWORD dwFlags) {
    using ShAutoComplete = HRESULT(WINAPI*)(HWND, DWORD);
    HMODULE hShell = ::LoadLibraryA("shlwapi.dll");
    if (!hShell) return failMissing;
    auto pfn = reinterpret_cast<ShAutoComplete>(reinterpret_cast<void*>(::GetProcAddress(hShell, "SHAutoComplete")));
    const HRESULT hr = pfn ? pfn(hwndEdit, dwFlags) : failMissing;
    ::FreeLibrary(hShell);
    return hr;
}

std::unique_ptr<CKLVShellAutoComplete> CKLVShellAutoComplete::Bind(HWND hwndEdit, DWORD dwFlags) {
    if (!hwndEdit || dwFlags == 0 || FAILED(CallShell(hwndEdit, dwFlags))) return nullptr;
    return std::make_unique<CKLVShellAutoComplete>(hwndEdit, dwFlags);
}

CKLVShellAutoComplete::~CKLVShellAutoComplete() { Enable(FALSE); }

void CKLVShellAutoComplete::Enable(BOOL bEnable) {
    bEnable = bEnable != FALSE;
    if (m_bEnabled == bEnable) return;
    m_bEnabled = bEnable;
    CWatcher& watcher = ThreadWatcher();
    if (bEnable) {
        KLVKeyboardHook()->InstallKeyboardHook(this);
        if (!watcher.hHook) {
            watcher.hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, nullptr, ::GetCurrentThreadId());
            if (watcher.hHook) watcher.pOwner = this;
        }
        return;
    }
    if (watcher.pOwner == this) {
        ::UnhookWindowsHookEx(watcher.hHook);
        watcher = CWatcher();
    }
    KLVKeyboardHook()->RemoveKeyboardHook(this);
    ForgetDropDown();
}

void CKLVShellAutoComplete::ForgetDropDown() {
    if (!m_hwndDropDown) return;
    KLVMouseHook()->RemoveMouseClient(m_hwndDropDown);
    m_hwndDropDown = nullptr;
}

BOOL CKLVShellAutoComplete::IsSuggestionList(HWND hWnd) {
    char szClass[64] = {};
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    if (lstrcmpiA(szClass, "Auto-Suggest Dropdown") == 0) return TRUE;
    return lstrcmpiA(szClass, "ListBox") == 0 && ::GetAncestor(hWnd, GA_PARENT) == ::GetDesktopWindow();
}

void CKLVShellAutoComplete::OnWindowPosChanging(HWND hWnd, const WINDOWPOS& pos) {
    if ((pos.flags & SWP_SHOWWINDOW) && hWnd != m_hwndDropDown && IsSuggestionList(hWnd)) {
        ForgetDropDown();
        m_hwndDropDown = hWnd;
        KLVMouseHook()->AddMouseClient(hWnd);
        ::PostMessageA(m_hwndEdit, msgSuggestShown, 0, 0);
    } else if ((pos.flags & SWP_HIDEWINDOW) && hWnd == m_hwndDropDown) {
        ForgetDropDown();
    }
}

LRESULT CALLBACK CKLVShellAutoComplete::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam) {
    CWatcher& watcher = ThreadWatcher();
    const auto* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == WM_WINDOWPOSCHANGING && watcher.pOwner)
        watcher.pOwner->OnWindowPosChanging(pMsg->hwnd, *reinterpret_cast<const WINDOWPOS*>(pMsg->lParam));
    return ::CallNextHookEx(watcher.hHook, nCode, wParam, lParam);
}

int CKLVShellAutoComplete::OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT&) {
    // The wheel belongs to the open suggestion list.
    return nMessage == WM_MOUSEWHEEL && m_hwndDropDown && ::IsWindowVisible(m_hwndDropDown) ? hookStop : hookContinue;
}
