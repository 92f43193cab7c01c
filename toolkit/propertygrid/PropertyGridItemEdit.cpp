// What an item does with its in-place windows, the mouse and the keyboard, and how an edited
// value comes back through the owner's notifications.
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

CRect CKLVPropertyGridItem::GetValueRect() {
    CRect rc = GetItemRect();
    if (!m_pGrid) return rc;
    rc.left = m_pGrid->GetDividerPos() + 1;
    rc.top += 1;
    rc.bottom -= 1;
    if (IsInplaceButtonsVisible()) {
        for (int i = m_pInplaceButtons->GetCount() - 1; i >= 0; --i) {
            CKLVPropertyGridInplaceButton* pButton = m_pInplaceButtons->GetAt(i);
            pButton->m_rcButton.SetRect(rc.right - pButton->GetWidth(), rc.top, rc.right, rc.bottom);
            rc.right -= pButton->GetWidth();
        }
    }
    if (CKLVPropertyGridPaintManager* pPaintManager = m_pGrid->GetPaintManager()) pPaintManager->ShiftForValueImage(this, rc);
    for (int i = m_pInplaceControls->GetCount() - 1; i >= 0; --i) m_pInplaceControls->GetAt(i)->OnAdjustValueRect(this, rc);
    return rc;
}

void CKLVPropertyGridItem::SetValue(CString strValue) {
    m_strValue = strValue;
    if (m_pBindString) *m_pBindString = strValue;
    OnValueChangedInplaceEdit(strValue);
    for (int i = m_pInplaceControls ? m_pInplaceControls->GetCount() - 1 : -1; i >= 0; --i)
        m_pInplaceControls->GetAt(i)->OnValueChanged(strValue);
    if (AfxGetSafeHwnd(m_pGrid)) m_pGrid->Invalidate(FALSE);
}

void CKLVPropertyGridItem::OnValueChanged(CString strValue) {
    SetValue(strValue);
    if (AfxGetSafeHwnd(m_pGrid)) m_pGrid->Invalidate(FALSE);
    Notify(KLV_PGN_ITEMVALUE_CHANGED, reinterpret_cast<LPARAM>(this));
}

CKLVPropertyGridInplaceEdit& CKLVPropertyGridItem::GetInplaceEdit() {
    if (CKLVPropertyGrid* pGrid = GetGrid()) return pGrid->GetInplaceEdit();
    return KLVPropertyGridFallbackEdit();
}

CKLVPropertyGridInplaceList& CKLVPropertyGridItem::GetInplaceList() {
    if (CKLVPropertyGrid* pGrid = GetGrid()) return pGrid->GetInplaceList();
    return KLVPropertyGridFallbackList();
}

void CKLVPropertyGridItem::OnValueChangedInplaceEdit(const CString& strValue) {
    CKLVPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (edit.GetItem() != this || !edit.GetSafeHwnd()) return;
    edit.SetValue(strValue);
    edit.SetWindowText(strValue);
}

void CKLVPropertyGridItem::OnBeforeInsert() {
    if (m_pBindString && m_pBindString->Compare(m_strValue) != 0) m_strValue = *m_pBindString;
}

void CKLVPropertyGridItem::SetFocusToInplaceControl() {
    CKLVPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (edit.GetItem() != this || !edit.GetSafeHwnd() || !edit.IsWindowVisible()) return;
    edit.SetFocus();
    edit.SetSel(0, -1);
    edit.SendMessage(EM_SCROLLCARET);
}

BOOL CKLVPropertyGridItem::IsInplaceButtonsVisible() const {
    if (!m_pGrid) return FALSE;
    const CKLVPropertyGrid* pGrid = m_pGrid->m_pGrid;
    const BOOL bAll = pGrid && pGrid->m_bShowInplaceButtonsAlways;
    return (IsSelected() || bAll) && !GetReadOnly() && m_pInplaceButtons && m_pInplaceButtons->GetCount() > 0;
}

BOOL CKLVPropertyGridItem::OnRequestEdit() { return NotifyEdit(KLV_PGN_REQUESTEDIT, nullptr); }
BOOL CKLVPropertyGridItem::OnAfterEdit(CString& strValue) { return NotifyEdit(KLV_PGN_AFTEREDIT, &strValue); }
void CKLVPropertyGridItem::OnCancelEdit() { NotifyEdit(KLV_PGN_CANCELEDIT, nullptr); }

void CKLVPropertyGridItem::OnValidateEdit() {
    CKLVPropertyGridInplaceEdit& edit = GetInplaceEdit();
    edit.HideWindow();
    if (edit.GetItem() != this) return;
    CString strText;
    if (edit.GetSafeHwnd()) edit.GetWindowText(strText);
    const BOOL bModified = strText != edit.GetStoredValue();
    edit.m_pItem = nullptr;
    if (edit.IsCancelled()) {
        OnCancelEdit();
        return;
    }
    if (bModified && OnAfterEdit(strText) && strText.Compare(m_strValue) != 0 && !edit.IsCancelled())
        OnValueChanged(strText);
}

void CKLVPropertyGridItem::OnSelect() {
    const CRect rcValue = GetValueRect();
    for (int i = m_pInplaceControls->GetCount() - 1; i >= 0; --i) m_pInplaceControls->GetAt(i)->OnShow(this, rcValue);
    CKLVPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (!(m_nFlags & KLVPGItemHasEdit)) {
        if (edit.GetItem() == this) edit.HideWindow();
        return;
    }
    // A password is edited as itself (the edit masks it); its masked form would be taken back.
    edit.SetValue(m_bPassword ? m_strValue : GetViewValue());
    edit.Create(this, rcValue);
    if (edit.GetSafeHwnd()) edit.SendMessage(EM_SETREADONLY, GetReadOnly() || m_bConstraintEdit);
}

void CKLVPropertyGridItem::OnDeselect() {
    if (m_pGrid) m_pGrid->SetFocusedButton(nullptr);
    OnValidateEdit();
    for (int i = m_pInplaceControls->GetCount() - 1; i >= 0; --i) m_pInplaceControls->GetAt(i)->OnHide();
}

BOOL CKLVPropertyGridItem::OnChar(UINT nChar) {
    if ((m_nFlags & KLVPGItemHasEdit) && nChar != VK_ESCAPE) {
        OnSelect();
        CKLVPropertyGridInplaceEdit& edit = GetInplaceEdit();
        if (edit.GetItem() == this && edit.GetSafeHwnd() && edit.IsWindowVisible()) {
            edit.SetFocus();
            edit.SetSel(0, -1);
            if (nChar != VK_TAB) edit.SendMessage(WM_CHAR, nChar);
        }
        return TRUE;
    }
    if (nChar == VK_TAB && m_pInplaceButtons->GetCount() > 0 && GetGrid()) GetGrid()->Navigate(1, TRUE, this);
    return FALSE;
}

// The value after the current one among the allowed values, past the last back to the first.
void CKLVPropertyGridItem::StepConstraint() {
    if (m_pConstraints->GetCount() == 0 || !OnRequestEdit()) return;
    int nIndex = m_pConstraints->FindConstraint(m_strValue) + 1;
    if (nIndex >= m_pConstraints->GetCount()) nIndex = 0;
    CString strValue = m_pConstraints->GetAt(nIndex);
    if (!OnAfterEdit(strValue)) return;
    m_pConstraints->m_nCurrent = nIndex;
    OnValueChanged(strValue);
}

void CKLVPropertyGridItem::OnLButtonDblClk(UINT, CPoint point) {
    if (IsInplaceButtonsVisible() && m_pInplaceButtons->HitTest(point)) {
        OnSelect();
        return;
    }
    if (HasChilds()) {
        if (m_bExpanded) Collapse();
        else Expand();
        return;
    }
    OnSelect();
    if (!(m_nFlags & KLVPGItemHasEdit)) {
        if (!GetReadOnly()) StepConstraint();
        return;
    }
    CKLVPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (edit.GetItem() != this || !edit.GetSafeHwnd() || !edit.IsWindowVisible()) return;
    edit.SetFocus();
    if (!GetReadOnly() && edit.SelectConstraint(1, TRUE)) OnValidateEdit();
    else edit.SetSel(0, -1);
}

BOOL CKLVPropertyGridItem::OnLButtonDown(UINT, CPoint point) {
    const BOOL bWasSelected = IsSelected();
    if (m_nIndex >= 0) Select();
    if (IsInplaceButtonsVisible()) {
        if (CKLVPropertyGridInplaceButton* pButton = m_pInplaceButtons->HitTest(point)) {
            const BOOL bAll = GetGrid() && GetGrid()->m_bShowInplaceButtonsAlways;
            if (bWasSelected || bAll) pButton->OnLButtonDown(0, point);
            return TRUE;
        }
    }
    const int x0 = (m_bCategory ? m_nIndent : m_nIndent - 1) * nIndentWidth;
    if (point.x >= x0 && point.x <= x0 + nIndentWidth) {
        if (m_bExpanded) Collapse();
        else Expand();
        return TRUE;
    }
    if ((m_nFlags & KLVPGItemHasEdit) && GetValueRect().PtInRect(point)) {
        // The just-shown edit takes the click that selected the row.
        ::mouse_event(::GetSystemMetrics(SM_SWAPBUTTON) ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    }
    return TRUE;
}

void CKLVPropertyGridItem::OnInplaceButtonDown(CKLVPropertyGridInplaceButton* pButton) {
    if (GetReadOnly()) return;
    if (Notify(KLV_PGN_INPLACEBUTTONDOWN, reinterpret_cast<LPARAM>(pButton)) == 1) return;
    if (pButton->GetID() != KLV_IDC_PG_COMBOBUTTON || m_pConstraints->GetCount() == 0 || !OnRequestEdit()) return;
    GetInplaceList().Create(this, GetItemRect());
    if (AfxGetSafeHwnd(m_pGrid)) m_pGrid->Invalidate(FALSE);
}
