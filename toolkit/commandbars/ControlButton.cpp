#include "toolkit/commandbars/ControlButton.h"

#include "toolkit/commandbars/CommandBar.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlButton, CKLVControl)

void CKLVControlButton::OnClick(BOOL bKeyboard, CPoint pt) {
    if (!GetEnabled()) return;
    if (IsCustomizeMode() && m_pParent) {
        m_pParent->SetPopuped(-1);
        m_pParent->SetSelected(-1);
        OnCustomizeMouseDown(pt);
        return;
    }
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

void CKLVControlButton::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVControl::DoPropExchange(pPX);
    if (pPX->GetSchema() < 18) PX_Long(pPX, "Style", m_nStyle, styleAutomatic);
}
