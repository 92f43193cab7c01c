#include "toolkit/commandbars/PopupBar.h"

#include "toolkit/commandbars/ControlPopup.h"
#include "toolkit/commandbars/Controls.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVPopupBar, CKLVCommandBar)

CKLVPopupBar::CKLVPopupBar() {
    m_barType = barTypePopup;
    m_barPosition = barPopup;
}

BOOL CKLVPopupBar::Popup(CKLVControlPopup* pControlPopup, BOOL bSelectFirst) {
    m_pControlPopup = pControlPopup;
    m_bTracking = TRUE;
    if (bSelectFirst) SetSelected(GetControls()->GetNext(-1, +1));
    return TRUE;
}

CKLVCommandBar* CKLVPopupBar::GetParentCommandBar() const {
    return m_pControlPopup ? m_pControlPopup->GetParent() : nullptr;
}

CKLVControl* CKLVPopupBar::GetDefaultItem() const {
    for (int i = 0; i < GetControls()->GetCount(); ++i) {
        CKLVControl* pControl = GetControls()->GetAt(i);
        if (pControl->IsVisible() && pControl->IsItemDefault()) return pControl;
    }
    return nullptr;
}
