// Tab through the parts of the grid: rows, the view, the in-place edit, the item's control and
// buttons, and out to the dialog's other controls; a full turn without a taker stops.
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridView.h"

namespace {

// Parts in tab order: -2 and 6 lie outside the grid, 5 is unused.
int NextPart(int nPart, BOOL bForward) {
    if (bForward) {
        if (nPart >= 6 || nPart < -1) return -1;
        return nPart == 4 ? 6 : nPart + 1;
    }
    if (nPart <= -2 || nPart > 4) return 4;
    return nPart - 1;
}

}  // namespace

CWnd* CKLVPropertyGrid::GetNextTabWindow(BOOL bPrevious) {
    HWND hParent = ::GetParent(GetSafeHwnd());
    if (!hParent) return nullptr;
    if ((::GetWindowLongPtrA(hParent, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
        (::GetWindowLongPtrA(hParent, GWL_STYLE) & WS_CHILD) && ::GetParent(hParent))
        hParent = ::GetParent(hParent);
    HWND hNext = ::GetNextDlgTabItem(hParent, GetSafeHwnd(), bPrevious);
    if (!hNext || hNext == GetSafeHwnd() || ::IsChild(GetSafeHwnd(), hNext)) return nullptr;
    return CWnd::FromHandle(hNext);
}

void CKLVPropertyGrid::FocusRow(int nRow) {
    CKLVPropertyGridView& view = GetGridView();
    view.SetFocus();
    view.SetCurSel(nRow);
    view.OnSelectionChanged();
}

BOOL CKLVPropertyGrid::TryNavigatePart(int nPart, BOOL bForward, CKLVPropertyGridItem*& pItem) {
    CKLVPropertyGridView& view = GetGridView();
    switch (nPart) {
    case -1:
        if (!m_bTabItems) return FALSE;
        if (!bForward) {
            if (!pItem || pItem->m_nIndex <= 0) return FALSE;
            FocusRow(pItem->m_nIndex - 1);
        } else {
            if (view.GetCount() == 0) return FALSE;
            FocusRow(0);
        }
        return TRUE;
    case 0:
        view.SetFocus();
        view.SetFocusedButton(nullptr);
        return TRUE;
    case 1:
        if (!pItem || !(pItem->m_nFlags & KLVPGItemHasEdit)) return FALSE;
        pItem->OnSelect();
        pItem->SetFocusToInplaceControl();
        return TRUE;
    case 2: {
        if (!pItem || pItem->GetInplaceControls()->GetCount() == 0) return FALSE;
        CWnd* pControl = pItem->GetInplaceControls()->GetAt(0);
        if (!AfxGetSafeHwnd(pControl) || !(pControl->GetStyle() & WS_TABSTOP)) return FALSE;
        pControl->SetFocus();
        return TRUE;
    }
    case 3: {
        if (!pItem || !pItem->IsInplaceButtonsVisible()) return FALSE;
        CKLVPropertyGridInplaceButtons* pButtons = pItem->GetInplaceButtons();
        CKLVPropertyGridInplaceButton* pFocused = view.m_pFocusedButton;
        int nNext;
        if (!pFocused || pFocused->GetItem() != pItem) nNext = bForward ? 0 : pButtons->GetCount() - 1;
        else nNext = pFocused->GetIndex() + (bForward ? 1 : -1);
        if (nNext < 0 || nNext >= pButtons->GetCount()) return FALSE;
        view.SetFocus();
        view.SetFocusedButton(pButtons->GetAt(nNext));
        view.Invalidate(FALSE);
        return TRUE;
    }
    case 4: {
        if (!m_bTabItems) return FALSE;
        const int nRow = bForward ? (pItem ? pItem->m_nIndex + 1 : 0) : view.GetCount() - 1;
        if (nRow < 0 || nRow >= view.GetCount()) return FALSE;
        FocusRow(nRow);
        return TRUE;
    }
    case 6:
    case -2:
        if (CWnd* pNext = GetNextTabWindow(nPart == -2)) {
            pNext->SetFocus();
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

void CKLVPropertyGrid::Navigate(int nPart, BOOL bForward, CKLVPropertyGridItem* pItem) {
    if (!pItem && m_pView) pItem = m_pView->GetSelectedItem();
    const int nStart = nPart;
    // Every part is tried at most once: coming back to the start ends the turn.
    for (int nStep = 0; nStep < 9; ++nStep) {
        nPart = NextPart(nPart, bForward);
        if (nPart == nStart) return;
        if (TryNavigatePart(nPart, bForward, pItem)) return;
    }
}

void CKLVPropertyGrid::OnSetFocusGrid(HWND hWndOld) {
    const BOOL bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    CWnd* pNext = GetNextTabWindow(FALSE);
    CWnd* pPrevious = GetNextTabWindow(TRUE);
    if (hWndOld && AfxGetSafeHwnd(pNext) == hWndOld && bShift) Navigate(6, FALSE, nullptr);
    else if (hWndOld && AfxGetSafeHwnd(pPrevious) == hWndOld && !bShift) Navigate(-2, TRUE, nullptr);
    else GetGridView().SetFocus();
}
