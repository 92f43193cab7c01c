#include "toolkit/common/MouseHook.h"

#include "toolkit/common/DrawHelpers.h"

#include <algorithm>
#include <memory>

namespace {

thread_local std::unique_ptr<CKLVMouseHook> t_pMouseHook;

// The last point any mouse hook saw; repeated moves to it are dropped while popups are open.
POINT g_ptLastMouse = {0, 0};

bool IsMove(UINT nMessage) { return nMessage == WM_MOUSEMOVE || nMessage == WM_NCMOUSEMOVE; }

}  // namespace

CKLVMouseHook* KLVMouseHook() {
    if (!t_pMouseHook) t_pMouseHook = std::make_unique<CKLVMouseHook>();
    return t_pMouseHook.get();
}

CKLVMouseHook::CKLVMouseHook() {
    m_hHookMouse = ::SetWindowsHookExA(WH_MOUSE, MouseProc, nullptr, ::GetCurrentThreadId());
}

CKLVMouseHook::~CKLVMouseHook() {
    if (m_hHookMouse) ::UnhookWindowsHookEx(m_hHookMouse);
}

void CKLVMouseHook::AddTrackedPopup(CKLVHookedPopupBar* pBar) {
    if (m_arrTracked.empty() && m_pHotBar && m_pHotBar != pBar) m_pHotBar->ClearSelectedControl();
    if (std::find(m_arrTracked.begin(), m_arrTracked.end(), pBar) == m_arrTracked.end()) m_arrTracked.push_back(pBar);
}

void CKLVMouseHook::RemoveTrackedPopup(CKLVHookedPopupBar* pBar) {
    auto it = std::find(m_arrTracked.begin(), m_arrTracked.end(), pBar);
    if (it != m_arrTracked.end()) {
        m_arrTracked.erase(it);
        if (m_arrTracked.empty()) {
            m_bTrackPopupMenu = FALSE;
            m_bExpanded = FALSE;
            // The windows under the cursor get a fresh mouse move.
            POINT pt;
            if (::GetCursorPos(&pt)) ::SetCursorPos(pt.x, pt.y);
        }
    }
    m_bIgnoreButtonUp = FALSE;
}

void CKLVMouseHook::CloseAllTrackedPopups() {
    while (!m_arrTracked.empty()) {
        const size_t nBefore = m_arrTracked.size();
        m_arrTracked[0]->EndPopupTracking();
        // A bar that failed to leave the stack must not keep this loop going.
        if (m_arrTracked.size() == nBefore) m_arrTracked.erase(m_arrTracked.begin());
    }
}

void CKLVMouseHook::CloseUnlockedPopups() {
    if (m_arrTracked.empty() || !IsLocked(m_arrTracked[0])) return;
    for (size_t i = 0; i < m_arrTracked.size(); ++i)
        if (!IsLocked(m_arrTracked[i])) m_arrTracked[i]->EndPopupTracking();
}

void CKLVMouseHook::LockTrackedPopups(BOOL bLock) {
    for (CKLVHookedPopupBar* pBar : m_arrTracked) pBar->m_nPopupLock += bLock ? 1 : -1;
}

BOOL CKLVMouseHook::IsTrackingOtherPopup(CKLVHookedPopupBar* pBar) const {
    if (m_arrTracked.empty()) return FALSE;
    if (!pBar || IsLocked(pBar)) return TRUE;
    return std::find(m_arrTracked.begin(), m_arrTracked.end(), pBar) == m_arrTracked.end();
}

void CKLVMouseHook::RemoveMouseClient(HWND hWnd) {
    auto it = std::find(m_arrClients.begin(), m_arrClients.end(), hWnd);
    if (it != m_arrClients.end()) m_arrClients.erase(it);
}

void CKLVMouseHook::TrackMouseLeave(HWND hWnd) {
    if (hWnd == m_hWndMouseLeave) return;
    if (m_hWndMouseLeave && ::IsWindow(m_hWndMouseLeave)) ::SendMessageA(m_hWndMouseLeave, WM_MOUSELEAVE, 0, 0);
    m_hWndMouseLeave = hWnd;
    if (hWnd) ::SetTimer(hWnd, nMouseLeaveTimer, 50, MouseLeaveTimerProc);
}

void CALLBACK CKLVMouseHook::MouseLeaveTimerProc(HWND hWnd, UINT, UINT_PTR nIDEvent, DWORD) {
    CKLVMouseHook* pHook = KLVMouseHook();
    if (!::IsWindow(hWnd)) {
        ::KillTimer(hWnd, nIDEvent);
        pHook->m_hWndMouseLeave = nullptr;
        return;
    }
    RECT rect;
    POINT pt;
    ::GetWindowRect(hWnd, &rect);
    ::GetCursorPos(&pt);
    const bool bActive = !::GetParent(hWnd) || (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_POPUP) ||
                         CKLVDrawHelpers::IsTopParentActive(hWnd);
    if (::PtInRect(&rect, pt) && bActive) return;
    ::KillTimer(hWnd, nIDEvent);
    if (pHook->m_hWndMouseLeave == hWnd) pHook->m_hWndMouseLeave = nullptr;
    ::PostMessageA(hWnd, WM_MOUSELEAVE, 0, 0);
}

BOOL CKLVMouseHook::OnHookMouse(UINT nMessage, POINT pt) {
    if (nMessage == WM_LBUTTONDOWN || nMessage == WM_RBUTTONDOWN) m_bIgnoreButtonUp = FALSE;
    if ((nMessage == WM_LBUTTONUP || nMessage == WM_NCLBUTTONUP) && m_bIgnoreButtonUp) {
        m_bIgnoreButtonUp = FALSE;
        return TRUE;
    }
    if (!m_arrTracked.empty() && IsMove(nMessage) && pt.x == g_ptLastMouse.x && pt.y == g_ptLastMouse.y) return TRUE;
    g_ptLastMouse = pt;
    if (!m_arrTracked.empty()) HitTestPopups(nMessage, pt);
    return FALSE;
}

LRESULT CALLBACK CKLVMouseHook::MouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
    CKLVMouseHook* pHook = KLVMouseHook();
    if (nCode == HC_ACTION &&
        pHook->OnHookMouse(static_cast<UINT>(wParam), reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->pt))
        return 1;
    return ::CallNextHookEx(pHook->m_hHookMouse, nCode, wParam, lParam);
}

void CKLVMouseHook::HitTestPopups(UINT nMessage, POINT pt) {
    HWND hWndUnder = ::WindowFromPoint(pt);
    for (size_t i = m_arrTracked.size(); i-- > 0;) {
        CKLVHookedPopupBar* pBar = m_arrTracked[i];
        HWND hWndBar = pBar ? pBar->GetPopupHwnd() : nullptr;
        if (!hWndBar) continue;
        int nHit = pBar->HitTestPopup(pt);
        if (nHit == CKLVHookedPopupBar::hitSkip) continue;
        if (nHit != CKLVHookedPopupBar::hitInside && !::IsChild(hWndBar, hWndUnder)) continue;
        // A click into a locked popup closes the unlocked ones.
        if (IsLocked(pBar) && !IsMove(nMessage) && !m_bIgnoreButtonUp) {
            CloseUnlockedPopups();
            g_ptLastMouse = POINT{0, 0};
        }
        return;
    }
    if (IsOverClient(pt)) return;
    for (size_t i = 0; i < m_arrTracked.size(); ++i) ApplyOutsideRule(m_arrTracked[i], nMessage, pt);
}

BOOL CKLVMouseHook::IsOverClient(POINT pt) const {
    for (HWND hWnd : m_arrClients) {
        RECT rect;
        if (::IsWindow(hWnd) && ::IsWindowVisible(hWnd) && ::GetWindowRect(hWnd, &rect) && ::PtInRect(&rect, pt))
            return TRUE;
    }
    return FALSE;
}

void CKLVMouseHook::ApplyOutsideRule(CKLVHookedPopupBar* pBar, UINT nMessage, POINT pt) {
    HWND hWndBar = pBar ? pBar->GetPopupHwnd() : nullptr;
    if (!hWndBar) return;
    switch (nMessage) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (!IsLocked(pBar)) {
            POINT ptClient = pt;
            ::ScreenToClient(hWndBar, &ptClient);
            pBar->OnPopupMouseMove(0, CPoint(ptClient));
        }
        break;
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        CloseAllTrackedPopups();
        break;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP:
        if (m_nSuspend <= 0) CloseAllTrackedPopups();
        break;
    default:
        break;
    }
}
