#include "toolkit/commandbars/ControlButton.h"

#include "toolkit/commandbars/CommandBar.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlButton, CKLVControl)

void CKLVControlButton::OnClick(BOOL bKeyboard, CPoint) {
    if (!GetEnabled()) return;
    if (bKeyboard)
        OnExecute();
    else if (m_pParent && m_pParent->GetType() != CKLVCommandBar::barTypePopup)
        OnLButtonDownTracking();
}

void CKLVControlButton::OnMouseRelease(CPoint) {
    if (!GetEnabled() || !m_pParent) return;
    if (m_pParent->GetType() == CKLVCommandBar::barTypePopup || m_pParent->GetPosition() == CKLVCommandBar::barPopup)
        OnExecute();
}
