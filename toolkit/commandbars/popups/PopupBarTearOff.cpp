// Tearing a popup off into a floating tool bar: the bar is found or made, filled with copies of
// the popup's commands, and follows the cursor until the button is released.
#include "toolkit/commandbars/popups/PopupBar.h"

#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/MouseHook.h"

namespace {

constexpr int kCursorGap = 10;
constexpr DWORD kTearOffLayout = CKLVControls::modeHorz | CKLVControls::modeMRULength | CKLVControls::modeCommit;

// What the drag loop ended with.
enum class DragEnd { dropped, cancelled, quit };

// Holds the references and the mouse-hook lock for the drag.
class CTearOffScope {
public:
    CTearOffScope(CKLVPopupBar* pPopup, CCmdTarget* pParent) : m_holdPopup(pPopup), m_holdParent(pParent), m_pPopup(pPopup) {
        ++KLVMouseHook()->m_nLock;
        m_pPopup->m_bTearOffTracking = TRUE;
    }
    ~CTearOffScope() {
        m_pPopup->m_bTearOffTracking = FALSE;
        --KLVMouseHook()->m_nLock;
    }
    CTearOffScope(const CTearOffScope&) = delete;
    CTearOffScope& operator=(const CTearOffScope&) = delete;

private:
    CKLVHeldReference m_holdPopup, m_holdParent;
    CKLVPopupBar* m_pPopup;
};

void MoveUnderCursor(CKLVCommandBar* pBar, CPoint ptCursor) {
    CRect rc;
    pBar->GetWindowRect(&rc);
    pBar->SetWindowPos(nullptr, ptCursor.x - rc.Width() / 2, ptCursor.y - kCursorGap, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DragEnd RunDrag(HWND hCapture, CKLVCommandBar* pBar) {
    ::SetCapture(hCapture);
    MSG msg;
    DragEnd end = DragEnd::cancelled;
    for (;;) {
        if (::GetCapture() != hCapture) break;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            // The quit request belongs to the loop that called us.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            end = DragEnd::quit;
            break;
        }
        if (msg.message == WM_LBUTTONUP) {
            end = DragEnd::dropped;
            break;
        }
        if (msg.message == WM_RBUTTONDOWN || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) break;
        if (msg.message == WM_MOUSEMOVE) {
            POINT pt;
            ::GetCursorPos(&pt);
            MoveUnderCursor(pBar, pt);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::GetCapture() == hCapture) ::ReleaseCapture();
    return end;
}

}  // namespace

void CKLVPopupBar::TearOff() {
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    if (!pCommandBars || !GetSafeHwnd()) return;
    CTearOffScope scope(this, m_pControlPopup);
    ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEALL));
    Redraw();

    CKLVCommandBar* pBar = pCommandBars->FindCommandBar(m_nTearOffID);
    if (pBar && !pBar->IsToolBar()) pBar = nullptr;
    if (pBar) {
        pCommandBars->FloatCommandBar(pBar);
        pBar->SetVisible(TRUE);
    } else {
        pBar = pCommandBars->AddCustomToolBar(m_strTearOffCaption, m_nTearOffID, TRUE);
        if (!pBar) return;
        pBar->SetMRUWidth(m_nTearOffWidth);
        for (int i = 0; i < GetControlCount(); ++i) {
            CKLVControl* pControl = GetControl(i);
            if (!IsOwnControl(pControl) || pControl->GetId() == idExpandButton) continue;
            CKLVControl* pCopy = pBar->GetControls()->AddClone(pControl, -1, TRUE);
            pCopy->SetHideFlag(CKLVControl::hideExpand | CKLVControl::hideMRU, FALSE);
        }
    }
    m_pTearOffBar = pBar;
    if (CWnd* pSite = GetSite())
        if (pSite->GetSafeHwnd())
            pSite->SendMessage(msgTornOff, reinterpret_cast<WPARAM>(pBar), reinterpret_cast<LPARAM>(this));
    const CSize sz = pBar->CalcDynamicLayout(-1, kTearOffLayout);
    m_szTearOffBar = sz;
    if (pBar->GetSafeHwnd()) {
        POINT pt;
        ::GetCursorPos(&pt);
        pBar->SetWindowPos(nullptr, pt.x - sz.cx / 2, pt.y - kCursorGap, sz.cx, sz.cy,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        pBar->Redraw();
    }
    const DragEnd end = pBar->GetSafeHwnd() ? RunDrag(GetSafeHwnd(), pBar) : DragEnd::cancelled;
    if (end != DragEnd::dropped) {
        pBar->SetVisible(FALSE);
        return;
    }
    pCommandBars->ClosePopups();
}
