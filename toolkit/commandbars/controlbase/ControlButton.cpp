#include "toolkit/commandbars/controlbase/ControlButton.h"

#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlButton, CKLVControl)

void CKLVControlButton::OnClick(BOOL bKeyboard, CPoint pt) {
    if (!GetEnabled()) return;
    if (IsCustomizeMode() && m_pParent) {
        ParentHost()->SetPopuped(-1);
        ParentHost()->SetSelected(-1);
        OnCustomizeMouseDown(pt);
        return;
    }
    if (bKeyboard)
        OnExecute();
    else if (m_pParent && ParentHost()->GetType() != CKLVControlHost::barTypePopup)
        OnLButtonDownTracking();
}

void CKLVControlButton::OnMouseRelease(CPoint) {
    if (!GetEnabled() || !m_pParent) return;
    CKLVControlHost* pParent = ParentHost();
    if (pParent->GetType() == CKLVControlHost::barTypePopup || pParent->GetPosition() == CKLVControlHost::barPopup)
        OnExecute();
}

void CKLVControlButton::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVControl::DoPropExchange(pPX);
    if (pPX->GetSchema() < 18) PX_Long(pPX, "Style", m_nStyle, styleAutomatic);
}
