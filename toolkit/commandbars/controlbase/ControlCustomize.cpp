// Customisation on a control: the drag over it, and the width drag at its left or right edge
// with an inverted frame on the desktop.
#include "toolkit/commandbars/controlbase/Control.h"

#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/ResourceManager.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A two-pixel inverted frame on the locked desktop; drawing it twice erases it.
class CDesktopFrame {
public:
    CDesktopFrame() {
        ::LockWindowUpdate(::GetDesktopWindow());
        m_hDC = ::GetDCEx(::GetDesktopWindow(), nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    }
    ~CDesktopFrame() {
        if (m_bShown) Invert(m_rc);
        if (m_hDC) ::ReleaseDC(::GetDesktopWindow(), m_hDC);
        ::LockWindowUpdate(nullptr);
    }
    CDesktopFrame(const CDesktopFrame&) = delete;
    CDesktopFrame& operator=(const CDesktopFrame&) = delete;

    void Show(const CRect& rc) {
        if (m_bShown) Invert(m_rc);
        m_rc = rc;
        m_bShown = TRUE;
        Invert(m_rc);
    }

private:
    void Invert(const CRect& rc) {
        if (!m_hDC) return;
        CRect rcInner = rc;
        rcInner.DeflateRect(2, 2);
        HRGN hOuter = ::CreateRectRgnIndirect(&rc);
        HRGN hInner = ::CreateRectRgnIndirect(&rcInner);
        ::CombineRgn(hOuter, hOuter, hInner, RGN_DIFF);
        ::InvertRgn(m_hDC, hOuter);
        ::DeleteObject(hInner);
        ::DeleteObject(hOuter);
    }

    HDC m_hDC = nullptr;
    CRect m_rc;
    BOOL m_bShown = FALSE;
};

HCURSOR ResizeCursor() {
    HCURSOR hCursor = KLVResourceManager()->LoadCursor(CKLVControl::cursorResize);
    return hCursor ? hCursor : ::LoadCursorA(nullptr, IDC_SIZEWE);
}

}  // namespace

void CKLVControl::OnCustomizeMouseDown(CPoint pt) {
    CKLVCommandBar* const pParent = m_pParent;
    CKLVControlHost* pBar = ParentHost();
    CKLVCommandBarsLink* pLink = pBar ? pBar->GetCommandBarsLink() : nullptr;
    if (!pLink) return;
    if (pLink->GetDragControl() == this && IsCustomizeResizeAllowed() && OnCustomizeResize(pt)) return;
    pLink->SetDragControl(this);
    pBar->SetDragStart(pt);
    // The drop may rebuild the bar this control sits in: keep the control alive until done.
    InternalAddRef();
    const DWORD dwEffect = pLink->DoCustomizeDragDrop(this, FALSE);
    CKLVControls* pControls = m_pControls;
    if ((dwEffect == DROPEFFECT_NONE || dwEffect == DROPEFFECT_MOVE) && pControls && m_pParent == pParent) {
        pBar->SetPopuped(-1);
        pBar->SetSelected(-1);
        if (CKLVControl* pNext = pControls->GetAt(m_nIndex + 1))
            pNext->SetBeginGroup(m_nIndex == 0 ? FALSE : (pNext->GetBeginGroup() || m_bBeginGroup));
        pControls->Remove(this);
        pBar->OnRecalcLayout();
    }
    InternalRelease();
}

void CKLVControl::OnCustomizeDragOver(CKLVControl*, CPoint) {
    if (!m_pParent) return;
    ParentHost()->SetPopuped(-1);
    ParentHost()->SetSelected(-1);
}

BOOL CKLVControl::IsOnCustomizeResizeEdge(CPoint pt) const {
    return std::abs(pt.x - m_rcControl.left) <= 2 || std::abs(pt.x - m_rcControl.right) <= 2;
}

BOOL CKLVControl::ShowCustomizeResizeCursor(CPoint pt) const {
    if (!IsCustomizeResizeAllowed() || !IsOnCustomizeResizeEdge(pt)) return FALSE;
    ::SetCursor(ResizeCursor());
    return TRUE;
}

BOOL CKLVControl::OnCustomizeResize(CPoint pt) {
    const BOOL bLeft = std::abs(pt.x - m_rcControl.left) <= 2;
    if (!m_pParent || !GetParentHwnd() || !IsOnCustomizeResizeEdge(pt)) return FALSE;
    const HWND hWnd = GetParentHwnd();
    ParentHost()->Redraw();
    ::SetCapture(hWnd);
    ::SetCursor(ResizeCursor());

    CRect rcScreen = m_rcControl;
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rcScreen), 2);
    const int nMinWidth = GetMinWidth();
    BOOL bCommit = FALSE;
    {
        CDesktopFrame frame;
        frame.Show(rcScreen);
        MSG msg;
        while (GetCapturedMessage(hWnd, msg)) {
            if (msg.message == WM_LBUTTONUP) {
                bCommit = TRUE;
                break;
            }
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
            if (msg.message == WM_MOUSEMOVE) {
                CPoint ptMove(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
                ::ClientToScreen(msg.hwnd, &ptMove);
                if (bLeft)
                    rcScreen.left = std::min<LONG>(ptMove.x, rcScreen.right - nMinWidth);
                else
                    rcScreen.right = std::max<LONG>(ptMove.x, rcScreen.left + nMinWidth);
                frame.Show(rcScreen);
                continue;
            }
            ::DispatchMessageA(&msg);
        }
    }
    if (::GetCapture() == hWnd) ::ReleaseCapture();
    if (bCommit && rcScreen.Width() != m_rcControl.Width()) {
        const BOOL bPopup = ParentHost()->GetType() == CKLVControlHost::barTypePopup;
        SetWidth(rcScreen.Width() - (bPopup ? GetPaintManager()->m_nPopupBarTextMargin : 0));
        DelayLayoutParent();
    }
    ParentHost()->Redraw();
    return TRUE;
}
