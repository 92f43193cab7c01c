#include "toolkit/commandbars/Control.h"

#include "toolkit/commandbars/CommandBar.h"
#include "toolkit/commandbars/ControlAction.h"
#include "toolkit/common/ImageManager.h"

BOOL CKLVControlAction::GetEnabled() const {
    return m_bEnabled;
}

CString CKLVControl::GetCaption() const {
    if (!m_strCustomCaption.IsEmpty()) return m_strCustomCaption;
    if (!m_strCaption.IsEmpty()) return m_strCaption;
    return m_pAction ? m_pAction->GetCaption() : CString();
}

CString CKLVControl::GetShortcutText() const {
    if (!m_strShortcutText.IsEmpty()) return m_strShortcutText;
    if (m_pAction && !m_pAction->GetShortcutText().IsEmpty()) return m_pAction->GetShortcutText();
    return m_strShortcutTextAuto;
}

int CKLVControl::GetStyle() const {
    if (m_nCustomStyle != -1) return m_nCustomStyle;
    if (m_nStyle != styleAutomatic) return m_nStyle;
    if (m_nClassStyle != styleAutomatic) return m_nClassStyle;
    return m_pParent ? m_pParent->GetDefaultButtonStyle() : styleAutomatic;
}

int CKLVControl::GetImageId() const {
    if (m_nCustomIconId > 0) return m_nCustomIconId;
    if (m_nIconId > 0) return m_nIconId;
    if (m_pAction) return m_pAction->GetIconId() > 0 ? m_pAction->GetIconId() : m_pAction->GetId();
    return m_nId;
}

int CKLVControl::GetEnabled() const {
    if (m_bEnabled != -1) return m_bEnabled;
    return m_pAction ? m_pAction->GetEnabled() : TRUE;
}

int CKLVControl::GetChecked() const {
    if (m_bChecked != -1) return m_bChecked;
    return m_pAction ? m_pAction->GetChecked() : -1;
}

CKLVImageManagerIcon* CKLVControl::GetImage(int nWidth) const {
    const int nImageId = GetImageId();
    return nImageId > 0 ? KLVImageManager()->GetImage(static_cast<UINT>(nImageId), nWidth) : nullptr;
}

BOOL CKLVControl::IsCaptionVisible() const {
    if (m_pParent && m_pParent->GetType() == CKLVCommandBar::barTypePopup) return TRUE;
    if (GetCaption().IsEmpty()) return FALSE;
    switch (GetStyle()) {
    case styleCaption:
    case styleIconAndCaption:
    case styleCaptionBelow: return TRUE;
    case styleIcon: return FALSE;
    default: break;
    }
    switch (m_nType) {
    case typeButton:
    case typeButtonPopup:
    case typeSplitButtonPopup:
        return GetImage(m_pParent ? m_pParent->GetIconSize().cx : 16) == nullptr;
    case typePopup:
    case typeLabel:
    case typeCheckBox:
    case typeRadioButton: return TRUE;
    default: return FALSE;
    }
}
