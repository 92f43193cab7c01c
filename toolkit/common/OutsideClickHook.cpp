// The outside-click hook: one registered window per process, the hook on the thread that
// registered it.
#include "toolkit/common/DrawHelpers.h"

#include "classlib/Wnd.h"

namespace {

HHOOK g_hOutsideClickHook = nullptr;
HWND g_hOutsideClickWnd = nullptr;

bool IsButtonDown(WPARAM nMessage) {
    switch (nMessage) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: return true;
    default: return false;
    }
}

LRESULT CALLBACK OutsideClickProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && g_hOutsideClickWnd && IsButtonDown(wParam)) {
        const auto* pInfo = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        RECT rect;
        ::GetWindowRect(g_hOutsideClickWnd, &rect);
        if (!::PtInRect(&rect, pInfo->pt)) {
            HWND hOwner = ::GetWindow(g_hOutsideClickWnd, GW_OWNER);
            ::SetFocus(hOwner ? hOwner : ::GetParent(g_hOutsideClickWnd));
            return 1;
        }
    }
    return ::CallNextHookEx(g_hOutsideClickHook, nCode, wParam, lParam);
}

}  // namespace

void SetOutsideClickHook(CWnd* pWnd) {
    HWND hWnd = AfxGetSafeHwnd(pWnd);
    if (hWnd) {
        if (!g_hOutsideClickHook)
            g_hOutsideClickHook = ::SetWindowsHookExA(WH_MOUSE, OutsideClickProc, nullptr, ::GetCurrentThreadId());
        g_hOutsideClickWnd = hWnd;
        return;
    }
    if (g_hOutsideClickHook) ::UnhookWindowsHookEx(g_hOutsideClickHook);
    g_hOutsideClickHook = nullptr;
    g_hOutsideClickWnd = nullptr;
}

BOOL IsOutsideClickHookActive() { return g_hOutsideClickWnd != nullptr; }
