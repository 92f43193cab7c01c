// The drop-down of a combo box that shows one gallery: the combo box's list questions are the
// gallery's items, keys go to the gallery, and a chosen item executes the combo box.
#pragma once

#include "toolkit/commandbars/controls/ControlComboBoxList.h"

class CKLVControlGallery;

class CKLVControlComboBoxGalleryPopupBar : public CKLVControlComboBoxPopupBar {
    DECLARE_SERIAL(CKLVControlComboBoxGalleryPopupBar)
public:
    int GetCurSel() const override;
    int FindString(int nStart, const CString& strText) const override;
    int FindStringExact(int nStart, const CString& strText) const override;
    void SetCurSel(int nIndex) override;
    void GetText(int nIndex, CString& strText) const override;
    BOOL ProcessHookKeyDown(CKLVControlComboBox* pComboBox, UINT nChar, LPARAM lParam) override;
    BOOL Popup(CKLVControlPopup* pControlPopup, BOOL bSelectFirst) override;
    // Opening tells the site CBN_DROPDOWN with the gallery in line with the text, closing CBN_CLOSEUP.
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;

    // The first gallery among the bar's controls.
    CKLVControlGallery* GetGallery() const;
    // The gallery's item was chosen: the combo box takes it and executes.
    void OnGalleryItemChosen();

protected:
    int OnReturnKey() override;
};
