#include "toolkit/commandbars/manager/CustomizeDrop.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/common/ResourceManager.h"

#include <algorithm>

namespace {

HCURSOR LoadDragCursor(UINT nId, LPCTSTR lpszFallback) {
    HCURSOR hCursor = KLVResourceManager()->LoadCursor(nId);
    return hCursor ? hCursor : ::LoadCursorA(nullptr, lpszFallback);
}

// The bars repaint while the drag runs; a window that leaves its region invalid is not asked again
// in this round. FALSE when a quit request came instead (a filtered peek may hand it out too); it
// is posted again for the loop that started the drag.
BOOL DispatchPendingPaints() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        ::DispatchMessageA(&msg);
        if (msg.hwnd) ::ValidateRect(msg.hwnd, nullptr);
    }
    return TRUE;
}

// The next message of the thread; FALSE on a quit request, which is posted again.
BOOL GetDragMessage(MSG& msg) {
    if (::GetMessageA(&msg, nullptr, 0, 0)) return TRUE;
    ::PostQuitMessage(static_cast<int>(msg.wParam));
    return FALSE;
}

CPoint ScreenToClientOf(CWnd* pWnd, CPoint pt) {
    pWnd->ScreenToClient(&pt);
    return pt;
}

}  // namespace

CKLVCustomizeDrop::CKLVCustomizeDrop(CKLVCommandBars* pCommandBars)
    : m_pCommandBars(pCommandBars), m_hcurNoDrop(LoadDragCursor(cursorNoDrop, IDC_NO)),
      m_hcurMove(LoadDragCursor(cursorMove, IDC_ARROW)), m_hcurCopy(LoadDragCursor(cursorCopy, IDC_ARROW)) {}

void CKLVCustomizeDrop::Register(CKLVCommandBar* pBar) { m_targets.push_back(pBar); }

void CKLVCustomizeDrop::Unregister(CKLVCommandBar* pBar) {
    m_targets.erase(std::remove(m_targets.begin(), m_targets.end(), pBar), m_targets.end());
    if (m_pTarget == pBar) m_pTarget = nullptr;
}

BOOL CKLVCustomizeDrop::IsCustomizeWindowOpen() const {
    return m_pCustomizeWnd && m_pCustomizeWnd->GetSafeHwnd() && ::IsWindow(m_pCustomizeWnd->GetSafeHwnd());
}

HCURSOR CKLVCustomizeDrop::GetCursor(UINT nCursor) const {
    switch (nCursor) {
    case cursorCopy: return m_hcurCopy;
    case cursorMove: return m_hcurMove;
    default: return m_hcurNoDrop;
    }
}

void CKLVCustomizeDrop::UpdateCursor() {
    if (!m_pTarget)
        ::SetCursor(m_hcurNoDrop);
    else
        ::SetCursor(m_bMove && !m_bCopyOnly ? m_hcurMove : m_hcurCopy);
}

DWORD CKLVCustomizeDrop::DoDragDrop(CKLVControl* pControl, BOOL bCopyOnly) {
    CWnd* pCaptureWnd = IsCustomizeWindowOpen() ? m_pCustomizeWnd : m_pCommandBars->GetSite();
    m_hwndCapture = pCaptureWnd ? pCaptureWnd->GetSafeHwnd() : nullptr;
    if (!m_hwndCapture || !pControl) return DROPEFFECT_NONE;
    ::SetCapture(m_hwndCapture);
    m_pControl = pControl;
    m_bMove = FALSE;
    m_pTarget = nullptr;
    m_bCopyOnly = bCopyOnly;
    ::GetCursorPos(&m_ptStart);

    DWORD dwEffect = DROPEFFECT_NONE;
    MSG msg = {};
    for (;;) {
        if (::GetCapture() != m_hwndCapture || !DispatchPendingPaints() || !GetDragMessage(msg)) break;
        if (::GetCapture() != m_hwndCapture) break;
        const Step step = OnDragMessage(msg);
        if (step == Step::Cancel) break;
        if (step == Step::Drop) {
            CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            ::ClientToScreen(msg.hwnd, &pt);
            DropOnTarget(pt, dwEffect);
            break;
        }
    }
    LeaveTarget();
    ::ReleaseCapture();
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    m_pControl = nullptr;
    m_hwndCapture = nullptr;
    return dwEffect;
}

CKLVCustomizeDrop::Step CKLVCustomizeDrop::OnDragMessage(const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) return Step::Cancel;
        if (msg.wParam == VK_CONTROL && m_bMove) SetMove(FALSE);
        return Step::Continue;
    case WM_KEYUP:
        if (msg.wParam == VK_CONTROL && !m_bMove) SetMove(TRUE);
        return Step::Continue;
    case WM_MOUSEMOVE: {
        CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
        ::ClientToScreen(msg.hwnd, &pt);
        OnMouseMove(msg.wParam, pt);
        return (msg.wParam & MK_LBUTTON) ? Step::Continue : Step::Drop;
    }
    case WM_LBUTTONUP: return Step::Drop;
    case WM_RBUTTONDOWN: return Step::Cancel;
    default:
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        return Step::Continue;
    }
}

void CKLVCustomizeDrop::SetMove(BOOL bMove) {
    m_bMove = bMove;
    UpdateCursor();
}

void CKLVCustomizeDrop::OnMouseMove(WPARAM wParam, CPoint ptScreen) {
    m_bMove = !(wParam & MK_CONTROL);
    UpdateTarget(ptScreen);
    UpdateCursor();
}

CKLVCommandBar* CKLVCustomizeDrop::FindBarAt(CPoint ptScreen) const {
    for (auto it = m_targets.rbegin(); it != m_targets.rend(); ++it) {
        CKLVCommandBar* pBar = *it;
        if (!pBar->GetSafeHwnd() || !pBar->IsVisible()) continue;
        CRect rc;
        pBar->GetWindowRect(&rc);
        if (rc.PtInRect(ptScreen)) return pBar;
    }
    return nullptr;
}

void CKLVCustomizeDrop::UpdateTarget(CPoint ptScreen) {
    CKLVCommandBar* pBar = FindBarAt(ptScreen);
    if (pBar && pBar == m_pTarget) {
        pBar->OnCustomizeDragOver(m_pControl, ScreenToClientOf(pBar, ptScreen));
        return;
    }
    LeaveTarget();
    if (pBar && pBar->OnCustomizeDragEnter(m_pControl, ScreenToClientOf(pBar, ptScreen)) != DROPEFFECT_NONE)
        m_pTarget = pBar;
}

void CKLVCustomizeDrop::LeaveTarget() {
    CKLVCommandBar* pTarget = m_pTarget;
    m_pTarget = nullptr;
    if (pTarget) pTarget->OnCustomizeDragLeave();
}

void CKLVCustomizeDrop::DropOnTarget(CPoint ptScreen, DWORD& dwEffect) {
    CKLVCommandBar* pTarget = m_pTarget;
    m_pTarget = nullptr;
    if (!pTarget) return;
    dwEffect = m_bMove ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    pTarget->m_ptDragStart = ScreenToClientOf(pTarget, m_ptStart);
    pTarget->OnCustomizeDrop(m_pControl, dwEffect, ScreenToClientOf(pTarget, ptScreen));
}
