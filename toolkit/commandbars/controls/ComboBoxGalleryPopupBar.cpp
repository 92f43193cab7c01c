#include "toolkit/commandbars/controls/ComboBoxGalleryPopupBar.h"

#include "toolkit/commandbars/controls/ControlComboBox.h"
#include "toolkit/commandbars/controls/ControlGallery.h"
#include "toolkit/commandbars/controls/ControlGalleryItems.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlComboBoxGalleryPopupBar, CKLVControlComboBoxPopupBar)

CKLVControlGallery* CKLVControlComboBoxGalleryPopupBar::GetGallery() const {
    for (int i = 0; i < GetControlCount(); ++i)
        if (auto* pGallery = DYNAMIC_DOWNCAST(CKLVControlGallery, GetControl(i))) return pGallery;
    return nullptr;
}

int CKLVControlComboBoxGalleryPopupBar::GetCurSel() const {
    CKLVControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->GetSelectedItem() : -1;
}

int CKLVControlComboBoxGalleryPopupBar::FindString(int nStart, const CString& strText) const {
    CKLVControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->FindItem(nStart, strText) : -1;
}

int CKLVControlComboBoxGalleryPopupBar::FindStringExact(int nStart, const CString& strText) const {
    CKLVControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->FindItemExact(nStart, strText) : -1;
}

void CKLVControlComboBoxGalleryPopupBar::SetCurSel(int nIndex) {
    if (CKLVControlGallery* pGallery = GetGallery()) pGallery->SetSelectedItem(nIndex);
}

void CKLVControlComboBoxGalleryPopupBar::GetText(int nIndex, CString& strText) const {
    CKLVControlGallery* pGallery = GetGallery();
    strText = pGallery ? pGallery->GetItemCaption(nIndex) : CString();
}

BOOL CKLVControlComboBoxGalleryPopupBar::ProcessHookKeyDown(CKLVControlComboBox*, UINT nChar, LPARAM lParam) {
    CKLVControlGallery* pGallery = GetGallery();
    return pGallery && pGallery->OnHookKeyDown(nChar, lParam);
}

int CKLVControlComboBoxGalleryPopupBar::OnReturnKey() {
    CKLVControlGallery* pGallery = GetGallery();
    if (!pGallery || GetControl(m_nSelected) != pGallery) return hookKeyPass;
    OnGalleryItemChosen();
    return hookKeyHandled;
}

void CKLVControlComboBoxGalleryPopupBar::OnGalleryItemChosen() {
    CKLVControlComboBox* pComboBox = m_pControlComboBox;
    if (!pComboBox) return;
    CKLVHeldReference hold(pComboBox);
    pComboBox->OnSelChanged();
    pComboBox->OnExecute();
}

BOOL CKLVControlComboBoxGalleryPopupBar::Popup(CKLVControlPopup* pControlPopup, BOOL bSelectFirst) {
    m_pControlComboBox = DYNAMIC_DOWNCAST(CKLVControlComboBox, pControlPopup);
    if (CKLVPopupBar::Popup(pControlPopup, bSelectFirst)) return TRUE;
    m_pControlComboBox = nullptr;
    return FALSE;
}

BOOL CKLVControlComboBoxGalleryPopupBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard) {
    CKLVHeldReference hold(this);
    CKLVControlComboBox* pComboBox = m_pControlComboBox;
    if (!CKLVPopupBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard)) return FALSE;
    if (bMode) {
        if (pComboBox) {
            pComboBox->SyncListWithText();
            pComboBox->NotifySite(CBN_DROPDOWN);
        }
        SetSelected(0);
        return TRUE;
    }
    if (pComboBox) pComboBox->NotifySite(CBN_CLOSEUP);
    m_pControlComboBox = nullptr;
    return TRUE;
}
