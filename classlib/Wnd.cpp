// CWnd: handle maps, creation, subclassing and destruction, and the members that need more than
// one Win32 call.
#include "classlib/Wnd.h"

#include "classlib/Exceptions.h"
#include "classlib/Menu.h"
#include "classlib/Ole.h"
#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"
#include "classlib/WinThread.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::~CWnd() {
    if (this == &wndTop || this == &wndBottom || this == &wndTopMost || this == &wndNoTopMost) return;
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // Destroying here runs only this class's handlers: a derived window should be destroyed
        // before its object goes.
        DestroyWindow();
    }
    if (m_hWnd) Detach();
}

// ---------------------------------------------------------------------------------------------
// Handle maps.

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (CWnd* pWnd = FromHandlePermanent(hWnd)) return pWnd;
    return AfxGetThreadState()->m_temporaries.FromHandle<CWnd, &CWnd::m_hWnd>(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd) return nullptr;
    const auto& windows = AfxGetThreadState()->m_permanentWindows;
    auto it = windows.find(hWnd);
    return it == windows.end() ? nullptr : it->second;
}

void CWnd::DeleteTempMap() { AfxGetThreadState()->m_temporaries.DeleteAll(); }

BOOL CWnd::Attach(HWND hWndNew) {
    if (!hWndNew || m_hWnd || FromHandlePermanent(hWndNew)) return FALSE;
    AfxGetThreadState()->m_permanentWindows[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (!hWnd) return nullptr;
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    auto it = pState->m_permanentWindows.find(hWnd);
    if (it != pState->m_permanentWindows.end() && it->second == this) pState->m_permanentWindows.erase(it);
    if (pState->m_pLastHit == this) {
        pState->m_pLastHit = nullptr;
        pState->m_nLastHit = -1;
    }
    m_hWnd = nullptr;
    m_bSubclassed = FALSE;
    return hWnd;
}

// ---------------------------------------------------------------------------------------------
// Creation. A thread-local CBT hook attaches the window to its object as soon as the system
// makes it, so that WM_NCCREATE and WM_CREATE already reach the object's message map.

LRESULT CALLBACK AfxCbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    // The system's input-method windows, made on the side when a thread first shows a window,
    // are not the window being created.
    char szClass[16] = {};
    if (nCode == HCBT_CREATEWND && pState->m_pWndInit &&
        ::GetClassNameA(reinterpret_cast<HWND>(wParam), szClass, sizeof szClass) &&
        (lstrcmpiA(szClass, "IME") == 0 || lstrcmpiA(szClass, "MSCTFIME UI") == 0))
        return ::CallNextHookEx(pState->m_hHookCbtFilter, nCode, wParam, lParam);
    if (nCode == HCBT_CREATEWND && pState->m_pWndInit) {
        CWnd* pWndInit = pState->m_pWndInit;
        pState->m_pWndInit = nullptr;
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (pWndInit->Attach(hWnd)) {
            pWndInit->PreSubclassWindow();
            pWndInit->HookWindowProc();
        }
    }
    return ::CallNextHookEx(pState->m_hHookCbtFilter, nCode, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_nCreateDepth++ == 0)
        pState->m_hHookCbtFilter = ::SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
    pState->m_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (--pState->m_nCreateDepth == 0 && pState->m_hHookCbtFilter) {
        ::UnhookWindowsHookEx(pState->m_hHookCbtFilter);
        pState->m_hHookCbtFilter = nullptr;
    }
    BOOL bAttached = pState->m_pWndInit == nullptr;
    pState->m_pWndInit = nullptr;
    return bAttached;
}

void CWnd::HookWindowProc() {
    auto pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (pfnOld != &AfxWndProc) m_pfnSuper = pfnOld;
    m_bSubclassed = TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, AfxGetSafeHwnd(pParentWnd),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd) return FALSE;
    CREATESTRUCTA cs = {lpParam, AfxGetInstanceHandle(), nIDorHMenu, hWndParent, nHeight, nWidth, y, x,
                        static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                  cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    // A window the hook never saw failed before it existed; one that did went through
    // WM_NCDESTROY, which has called PostNcDestroy already.
    if (!AfxUnhookWindowCreate()) {
        PostNcDestroy();
        return FALSE;
    }
    return hWnd != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::DestroyWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd) return FALSE;
    // A window that runs through AfxWndProc is detached by its WM_NCDESTROY, and PostNcDestroy
    // may delete this object then: it must not be touched after the call.
    BOOL bSubclassed = m_bSubclassed;
    BOOL bResult = ::DestroyWindow(hWnd);
    if (!bSubclassed && m_hWnd == hWnd) Detach();
    return bResult;
}

void CWnd::FinishNcDestroy() {
    if (m_pfnSuper &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    // Destroying the main window of a thread ends its message loop.
    CWinThread* pThread = AfxGetThread();
    if (pThread && pThread->m_pMainWnd == this) {
        ::PostQuitMessage(0);
        pThread->m_pMainWnd = nullptr;
    }
    if (m_pDropTarget) m_pDropTarget->Revoke();
    Detach();
    PostNcDestroy();
}

// ---------------------------------------------------------------------------------------------
// Subclassing.

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    HookWindowProc();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hWndControl = ::GetDlgItem(AfxGetSafeHwnd(pParent), static_cast<int>(nID));
    return hWndControl && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd) return nullptr;
    if (m_bSubclassed)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC,
                            reinterpret_cast<LONG_PTR>(m_pfnSuper ? m_pfnSuper : &::DefWindowProcA));
    m_pfnSuper = nullptr;
    return Detach();
}

// ---------------------------------------------------------------------------------------------
// Window classes.

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    char szName[96];
    std::snprintf(szName, sizeof szName, "KlvWnd:%p:%x:%p:%p:%p", static_cast<void*>(hInstance), nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));

    // The names live as long as the process; a set keeps each one at a fixed address.
    static std::mutex s_mutex;
    static std::set<std::string> s_names;
    std::lock_guard<std::mutex> lock(s_mutex);
    auto inserted = s_names.insert(szName);
    LPCTSTR lpszName = inserted.first->c_str();

    WNDCLASSA wc = {};
    if (::GetClassInfoA(hInstance, lpszName, &wc)) return lpszName;
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInstance;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = lpszName;
    if (!::RegisterClassA(&wc)) AfxThrowResourceException();
    return lpszName;
}

// ---------------------------------------------------------------------------------------------
// Members beyond a single call.

BOOL CWnd::ModifyStyleOf(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, nStyleOffset));
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle) return FALSE;
    ::SetWindowLongPtrA(hWnd, nStyleOffset, static_cast<LONG_PTR>(dwNewStyle));
    if (nFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

void CWnd::GetWindowText(CString& rString) const {
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    LPSTR lpszBuffer = rString.GetBuffer(nLength);
    int nCopied = ::GetWindowTextA(m_hWnd, lpszBuffer, nLength + 1);
    rString.ReleaseBuffer(nCopied);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    HWND hWndItem = ::GetDlgItem(m_hWnd, nID);
    if (!hWndItem) {
        rString.Empty();
        return 0;
    }
    FromHandle(hWndItem)->GetWindowText(rString);
    return rString.GetLength();
}

CWnd* CWnd::GetTopLevelParent() const {
    HWND hWndTop = m_hWnd;
    while (hWndTop && (::GetWindowLongPtrA(hWndTop, GWL_STYLE) & WS_CHILD)) {
        HWND hWndParent = ::GetParent(hWndTop);
        if (!hWndParent) break;
        hWndTop = hWndParent;
    }
    return FromHandle(hWndTop);
}

CWnd* CWnd::GetParentOwner() const {
    if (!m_hWnd) return nullptr;
    if (::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_CHILD) return FromHandle(::GetParent(m_hWnd));
    return FromHandle(::GetWindow(m_hWnd, GW_OWNER));
}

CWnd* CWnd::GetTopLevelOwner() const {
    HWND hWndOwner = m_hWnd;
    for (HWND hWndNext = hWndOwner; hWndNext; hWndNext = ::GetWindow(hWndOwner, GW_OWNER)) {
        hWndOwner = hWndNext;
        // Climb out of the child windows first.
        while (::GetWindowLongPtrA(hWndOwner, GWL_STYLE) & WS_CHILD) {
            HWND hWndParent = ::GetParent(hWndOwner);
            if (!hWndParent) break;
            hWndOwner = hWndParent;
        }
    }
    return FromHandle(hWndOwner);
}

void CWnd::ActivateTopParent() {
    HWND hWndForeground = ::GetForegroundWindow();
    if (hWndForeground && (hWndForeground == m_hWnd || ::IsChild(hWndForeground, m_hWnd))) return;
    CWnd* pTopLevel = GetTopLevelParent();
    if (pTopLevel) pTopLevel->SetForegroundWindow();
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) const {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

int CWnd::GetScrollLimit(int nBar) const {
    SCROLLINFO info = {};
    if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE)) return 0;
    int nLimit = info.nMax;
    if (info.nPage > 1) nLimit -= static_cast<int>(info.nPage) - 1;
    return nLimit;
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, AfxGetSafeHmenu(pMenu)); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }
