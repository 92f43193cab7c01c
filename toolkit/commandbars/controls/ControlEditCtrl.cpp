// The field's window of the edit control and the combo box: focus, changes and the mouse
// reported to its control.
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controls/ControlEditField.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/tooltips/ToolTipContext.h"

#include <windowsx.h>

IMPLEMENT_DYNAMIC(CKLVControlEditCtrl, CKLVEdit)

LRESULT CKLVControlEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    CKLVEditFieldSink* pSink = m_pControl;
    CKLVControl* pControl = pSink ? pSink->GetFieldControl() : nullptr;
    CKLVCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    const BOOL bCustomize = pControl && pControl->IsCustomizeMode();
    const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    RelayToBarTips(pBar, message, wParam, lParam);
    switch (message) {
    case WM_SETFOCUS: {
        if (bCustomize) return 0;
        const LRESULT lResult = CKLVEdit::WindowProc(message, wParam, lParam);
        if (!pSink) return lResult;
        pSink->OnSetFocus(reinterpret_cast<HWND>(wParam));
        SendMessage(EM_SETSEL, 0, 0);
        SendMessage(EM_SCROLLCARET);
        PostMessage(EM_SETSEL, 0, -1);
        return lResult;
    }
    case WM_KILLFOCUS: {
        const LRESULT lResult = CKLVEdit::WindowProc(message, wParam, lParam);
        if (pSink) pSink->OnKillFocus();
        return lResult;
    }
    case WM_DESTROY:
        if (pSink) pSink->OnFieldDestroyed();
        break;
    case WM_LBUTTONDOWN:
        if (bCustomize && pBar) {
            CPoint ptBar = pt;
            MapWindowPoints(pBar, &ptBar, 1);
            pControl->OnCustomizeMouseDown(ptBar);
            return 0;
        }
        break;
    case WM_RBUTTONDOWN:
        if (bCustomize && pBar) {
            CPoint ptBar = pt;
            MapWindowPoints(pBar, &ptBar, 1);
            pBar->SendMessage(WM_RBUTTONDOWN, wParam, MAKELPARAM(ptBar.x, ptBar.y));
            return 0;
        }
        if (pSink) pSink->OnFieldRightButton();
        if (IsWindow(m_hWnd)) {
            CPoint ptScreen = pt;
            ClientToScreen(&ptScreen);
            if (ShowContextMenu(ptScreen)) return 0;
        }
        break;
    case WM_MOUSEMOVE: {
        const LRESULT lResult = CKLVEdit::WindowProc(message, wParam, lParam);
        if (pBar && pBar->GetSafeHwnd()) {
            CPoint ptBar = pt;
            MapWindowPoints(pBar, &ptBar, 1);
            pBar->SendMessage(WM_MOUSEMOVE, wParam, MAKELPARAM(ptBar.x, ptBar.y));
        }
        return lResult;
    }
    case WM_CONTEXTMENU: return 0;
    case msgIsCommandBarEdit: return TRUE;
    case msgAutoSuggestShown:
        if (pSink) pSink->OnAutoSuggestShown();
        return 0;
    default: break;
    }
    return CKLVEdit::WindowProc(message, wParam, lParam);
}

UINT CKLVControlEditCtrl::TrackContextMenu(CMenu* pMenu, CPoint ptScreen) {
    CKLVControl* pControl = m_pControl ? m_pControl->GetFieldControl() : nullptr;
    CKLVCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    CKLVCommandBarsLink* pCommandBars = pBar ? pBar->GetOwnerLink() : nullptr;
    if (!pCommandBars) return CKLVEdit::TrackContextMenu(pMenu, ptScreen);
    return pCommandBars->TrackPopupMenuEx(pMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, this);
}

void CKLVControlEditCtrl::RelayToBarTips(CKLVCommandBar* pBar, UINT message, WPARAM wParam, LPARAM lParam) {
    CKLVToolTipContext* pTips = pBar ? pBar->GetToolTipContext() : nullptr;
    // Moves reach the bar itself (its hot tracking follows the field), and its tips with them.
    if (!pTips || !pBar->GetSafeHwnd() || message == WM_MOUSEMOVE) return;
    // The bar's tips see the field's mouse where it lies on the bar.
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        CPoint ptBar(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        MapWindowPoints(pBar, &ptBar, 1);
        lParam = MAKELPARAM(ptBar.x, ptBar.y);
    }
    pTips->FilterToolTipMessage(pBar, message, wParam, lParam);
}

BOOL CKLVControlEditCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && m_pControl) {
        m_pControl->OnFieldChanged();
        if (pResult) *pResult = 0;
        return TRUE;
    }
    return CKLVEdit::OnChildNotify(message, wParam, lParam, pResult);
}

void CKLVControlEditCtrl::PostNcDestroy() {
    // The control owns this object; the window going does not delete it.
}
