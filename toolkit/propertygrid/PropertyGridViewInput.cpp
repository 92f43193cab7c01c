// The view's messages: painting through a buffer, the divider drag, clicks handed to the items,
// keys, scrolling that carries the in-place windows along, and the overflow tooltip.
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/MultiMonitor.h"
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <algorithm>
#include <vector>

namespace {

BOOL IsKeyDown(int nVirtKey) { return (::GetKeyState(nVirtKey) & 0x8000) != 0; }

}  // namespace

LRESULT CKLVPropertyGridView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HideToolTipIfLeft(message);
    LRESULT lResult = 0;
    if (OnViewMessage(message, wParam, lParam, lResult)) return lResult;
    return CListBox::WindowProc(message, wParam, lParam);
}

BOOL CKLVPropertyGridView::OnViewMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    const CPoint point(lParam);
    switch (message) {
    case WM_ERASEBKGND: lResult = TRUE; return TRUE;
    case WM_NCCALCSIZE:
        lResult = CListBox::WindowProc(message, wParam, lParam);
        if (CKLVPropertyGridPaintManager* pPaintManager = GetPaintManager()) {
            CRect& rc = *reinterpret_cast<CRect*>(&reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]);
            pPaintManager->DrawBorder(nullptr, rc, TRUE);
            // A window narrower than its border keeps an empty client, never an inverted one.
            rc.right = std::max(rc.right, rc.left);
            rc.bottom = std::max(rc.bottom, rc.top);
        }
        return TRUE;
    case WM_NCPAINT:
        lResult = CListBox::WindowProc(message, wParam, lParam);
        OnNcPaintView();
        return TRUE;
    case WM_PAINT: OnPaintView(); return TRUE;
    case WM_GETDLGCODE: lResult = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS; return TRUE;
    case WM_LBUTTONDOWN: {
        BOOL bHandled = FALSE;
        OnLButtonDownView(static_cast<UINT>(wParam), point, lResult, bHandled);
        return bHandled;
    }
    case WM_MOUSEMOVE:
        if (m_bTracking) {
            SetDividerPos(point.x);
            if (m_pSelected) m_pSelected->OnSelect();
            Invalidate(FALSE);
            return TRUE;
        }
        UpdateHotButton(point);
        UpdateToolTip(point);
        return FALSE;
    case WM_LBUTTONUP:
        if (m_bTracking) {
            m_bTracking = FALSE;
            ::ReleaseCapture();
        }
        if (CKLVPropertyGridItem* pItem = ItemFromPoint(point)) pItem->OnLButtonUp(static_cast<UINT>(wParam), point);
        return FALSE;
    case WM_CAPTURECHANGED: m_bTracking = FALSE; return FALSE;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
        lResult = CListBox::WindowProc(message, wParam, lParam);
        CKLVPropertyGridItem* pItem = ItemFromPoint(point);
        if (!pItem) return TRUE;
        if (message == WM_LBUTTONDBLCLK) pItem->OnLButtonDblClk(static_cast<UINT>(wParam), point);
        else pItem->OnRButtonDown(static_cast<UINT>(wParam), point);
        if (ItemFromPoint(point) == pItem && m_pGrid)
            m_pGrid->SendNotifyMessage(message == WM_LBUTTONDBLCLK ? KLV_PGN_DBLCLICK : KLV_PGN_RCLICK,
                                       reinterpret_cast<LPARAM>(pItem));
        return TRUE;
    }
    case WM_SETCURSOR: {
        CPoint ptCursor;
        ::GetCursorPos(&ptCursor);
        ScreenToClient(&ptCursor);
        if (LOWORD(lParam) == HTCLIENT && IsOnDivider(ptCursor) && m_hCursor) {
            ::SetCursor(m_hCursor);
            lResult = TRUE;
            return TRUE;
        }
        return FALSE;
    }
    case WM_KEYDOWN:
        if (OnKeyDownView(static_cast<UINT>(wParam))) return TRUE;
        lResult = CListBox::WindowProc(message, wParam, lParam);
        OnSelectionChanged();
        return TRUE;
    case WM_SYSKEYDOWN:
        if ((wParam == VK_DOWN || wParam == VK_UP) && m_pSelected)
            if (CKLVPropertyGridInplaceButton* pButton = m_pSelected->GetInplaceButtons()->Find(KLV_IDC_PG_COMBOBUTTON))
                m_pSelected->OnInplaceButtonDown(pButton);
        return FALSE;
    case WM_CHAR: return OnCharView(static_cast<UINT>(wParam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS: m_pFocusedButton = nullptr; return FALSE;
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: ScrollKeepingChildren(message, wParam, lParam); return TRUE;
    case WM_SIZE:
        lResult = CListBox::WindowProc(message, wParam, lParam);
        OnSelectionChanged();
        Invalidate(FALSE);
        return TRUE;
    case WM_MOUSELEAVE:
        m_pHotButton = nullptr;
        Invalidate(FALSE);
        return FALSE;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) != OBJID_CLIENT) return FALSE;
        lResult = LresultFromObject(__uuidof(IAccessible), wParam, GetAccessibleInterface());
        return TRUE;
    default: return FALSE;
    }
}

BOOL CKLVPropertyGridView::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
        OnSelectionChanged();
        return TRUE;
    }
    return CListBox::OnChildNotify(message, wParam, lParam, pResult);
}

void CKLVPropertyGridView::OnPaintView() {
    CPaintDC paintDC(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CKLVBufferDC dc(paintDC.GetSafeHdc(), rcClient);
    if (CKLVPropertyGridPaintManager* pPaintManager = GetPaintManager()) pPaintManager->FillPropertyGridView(&dc);
    CListBox::WindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
}

void CKLVPropertyGridView::OnLButtonDownView(UINT nFlags, CPoint point, LRESULT&, BOOL& bHandled) {
    if (IsOnDivider(point)) {
        SetFocus();
        SetCapture();
        if (m_pSelected) m_pSelected->OnValidateEdit();
        m_bTracking = TRUE;
        bHandled = TRUE;
        return;
    }
    CKLVPropertyGridItem* pItem = ItemFromPoint(point);
    if (!pItem) return;
    SetFocus();
    if (::GetFocus() != GetSafeHwnd()) {
        bHandled = TRUE;
        return;
    }
    if (ItemFromPoint(point) == pItem && pItem->OnLButtonDown(nFlags, point)) bHandled = TRUE;
}

BOOL CKLVPropertyGridView::OnKeyDownView(UINT nChar) {
    CKLVPropertyGridItem* pSelected = m_pSelected;
    // The focused button takes the key whatever it does with it.
    if (m_pFocusedButton && pSelected && m_pFocusedButton->GetItem() == pSelected) {
        m_pFocusedButton->OnKeyDown(nChar);
        return TRUE;
    }
    if (IsKeyDown(VK_CONTROL) && (nChar == VK_RIGHT || nChar == VK_LEFT)) {
        SetDividerPos(GetDividerPos() + (nChar == VK_RIGHT ? 3 : -3));
        if (pSelected) pSelected->OnSelect();
        Invalidate(FALSE);
        return TRUE;
    }
    if (pSelected) {
        if (nChar == VK_RIGHT && !pSelected->IsExpanded() && pSelected->HasChilds()) {
            pSelected->Expand();
            return TRUE;
        }
        if (nChar == VK_LEFT && pSelected->IsExpanded()) {
            pSelected->Collapse();
            return TRUE;
        }
        if (nChar == VK_RETURN) {
            ToggleExpand(pSelected->m_nIndex);
            return TRUE;
        }
        if (nChar == VK_F4) {
            if (CKLVPropertyGridInplaceButton* pButton = pSelected->GetInplaceButtons()->Find(KLV_IDC_PG_COMBOBUTTON))
                pSelected->OnInplaceButtonDown(pButton);
            return TRUE;
        }
        if (pSelected->OnKeyDown(nChar)) return TRUE;
    }
    return FALSE;
}

BOOL CKLVPropertyGridView::OnCharView(UINT nChar) {
    if (m_bTracking || ::GetFocus() != GetSafeHwnd()) return FALSE;
    CKLVPropertyGridItem* pSelected = m_pSelected;
    if (nChar == VK_TAB) {
        const BOOL bBack = IsKeyDown(VK_SHIFT);
        if (m_pGrid) {
            if (m_pFocusedButton) m_pGrid->Navigate(bBack ? 4 : 1, !bBack, pSelected);
            else m_pGrid->Navigate(0, !bBack, pSelected);
        }
        return TRUE;
    }
    if (m_pFocusedButton || !pSelected) return FALSE;
    if ((nChar == '+' || nChar == '-') && pSelected->HasChilds()) {
        if (nChar == '+') pSelected->Expand();
        else pSelected->Collapse();
        return TRUE;
    }
    if (nChar == VK_RETURN && pSelected->HasChilds()) return TRUE;
    return pSelected->OnChar(nChar);
}

void CKLVPropertyGridView::OnNcPaintView() {
    CKLVPropertyGridPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager) return;
    CWindowDC dc(this);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    pPaintManager->DrawBorder(&dc, rc, FALSE);
}

void CKLVPropertyGridView::UpdateHotButton(CPoint point) {
    CKLVPropertyGridInplaceButton* pHot = nullptr;
    if (CKLVPropertyGridItem* pItem = ItemFromPoint(point)) pHot = pItem->GetInplaceButtons()->HitTest(point);
    if (pHot == m_pHotButton) return;
    m_pHotButton = pHot;
    Invalidate(FALSE);
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, GetSafeHwnd(), 0};
    ::TrackMouseEvent(&tme);
}

void CKLVPropertyGridView::ScrollKeepingChildren(UINT message, WPARAM wParam, LPARAM lParam) {
    struct Child {
        HWND hWnd;
        CRect rc;
    };
    std::vector<Child> arrChildren;
    for (HWND hChild = ::GetWindow(GetSafeHwnd(), GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtrA(hChild, GWL_STYLE) & WS_VISIBLE)) continue;   // shown, even in a hidden grid
        CRect rc;
        ::GetWindowRect(hChild, &rc);
        ScreenToClient(&rc);
        arrChildren.push_back({hChild, rc});
    }
    const int nTopBefore = GetTopIndex();
    SendMessage(WM_SETREDRAW, FALSE);
    CListBox::WindowProc(message, wParam, lParam);
    SendMessage(WM_SETREDRAW, TRUE);
    // How far row 0 moved: the heights of the rows that went out of (or came into) view.
    const int nTopAfter = GetTopIndex();
    int nDelta = 0;
    for (int i = std::min(nTopBefore, nTopAfter); i < std::max(nTopBefore, nTopAfter); ++i) nDelta += GetItemHeight(i);
    if (nTopAfter > nTopBefore) nDelta = -nDelta;
    for (const Child& child : arrChildren)
        ::SetWindowPos(child.hWnd, nullptr, child.rc.left, child.rc.top + nDelta, 0, 0,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}
