// The edit control: its label, keys, clicks and saved keys; the field itself is shared with the
// combo box.
#include "toolkit/commandbars/controls/ControlEdit.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlEdit, CKLVControl)

CKLVControlEdit::CKLVControlEdit() {
    m_nType = typeEdit;
    m_nWidth = 100;
}

CKLVControlEdit::~CKLVControlEdit() = default;

BOOL CKLVControlEdit::IsCaptionVisible() const {
    if (m_pParent && m_pParent->GetType() == CKLVCommandBar::barTypePopup) return TRUE;
    if (GetCaption().IsEmpty()) return FALSE;
    const int nStyle = GetStyle();
    if (nStyle == styleCaption || nStyle == styleIconAndCaption || nStyle == styleCaptionBelow) return TRUE;
    return m_bHasLabel;
}

BOOL CKLVControlEdit::IsEqual(CKLVControl* pOther) {
    return CKLVControl::IsEqual(pOther) && pOther->IsKindOf(RUNTIME_CLASS(CKLVControlEdit));
}

void CKLVControlEdit::Copy(CKLVControl* pControl, BOOL bRecursive) {
    if (auto* pEdit = DYNAMIC_DOWNCAST(CKLVControlEdit, pControl)) {
        m_dwEditStyle = pEdit->m_dwEditStyle;
        SetEditText(pEdit->GetEditText());
        m_bHasLabel = pEdit->m_bHasLabel;
        m_bReadOnly = pEdit->m_bReadOnly;
        if (m_pEdit && m_pEdit->GetSafeHwnd()) m_pEdit->SetReadOnly(m_bReadOnly);
        m_strEditHint = pEdit->m_strEditHint;
        m_bShowSpinButtons = pEdit->m_bShowSpinButtons;
        SetShellAutoCompleteFlags(pEdit->m_dwShellAutoCompleteFlags);
    }
    CKLVControl::Copy(pControl, bRecursive);
}

void CKLVControlEdit::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVControl::DoPropExchange(pPX);
    const UINT nSchema = pPX->GetSchema();
    if (nSchema > 5) {
        PX_Bool(pPX, "HasLabel", m_bHasLabel, FALSE);
        PX_Long(pPX, "Width", m_nWidth, 100);
    }
    if (nSchema > 7) PX_Bool(pPX, "ReadOnly", m_bReadOnly, FALSE);
    if (nSchema > 8) {
        PX_String(pPX, "EditHint", m_strEditHint, "");
        long nFlags = static_cast<long>(m_dwShellAutoCompleteFlags);
        PX_Long(pPX, "ShellAutoCompleteFlags", nFlags, 0);
        if (pPX->IsLoading()) SetShellAutoCompleteFlags(static_cast<DWORD>(nFlags));
    }
    if (nSchema > 16) {
        long nStyle = static_cast<long>(m_dwEditStyle);
        PX_Long(pPX, "EditStyle", nStyle, 0);
        m_dwEditStyle = static_cast<DWORD>(nStyle);
    }
    if (nSchema > 18) PX_Bool(pPX, "ShowSpinButtons", m_bShowSpinButtons, FALSE);
}

BOOL CKLVControlEdit::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    if (!m_bFocused || !m_pEdit || !m_pEdit->GetSafeHwnd()) return CKLVEdit::keyNotHandled;
    if (m_pEdit->m_bComposing) return CKLVEdit::keyToEdit;
    switch (nChar) {
    case VK_TAB:
    case VK_RETURN: return CKLVEdit::keyNotHandled;
    case VK_ESCAPE: return RestoreOnEscape();
    default: break;
    }
    if (IsBarMnemonic(nChar)) return CKLVEdit::keyHandled;
    if (m_bShowSpinButtons && (nChar == VK_UP || nChar == VK_DOWN)) {
        OnSpin(1, nChar == VK_UP ? +1 : -1);
        if (::GetFocus() == m_pEdit->GetSafeHwnd()) m_pEdit->SetSel(0, -1);
        return CKLVEdit::keyHandled;
    }
    if (PassKeyToAutoSuggest(nChar)) return CKLVEdit::keyHandled;
    return m_pEdit->PassKeyToEdit(nChar, lParam);
}

void CKLVControlEdit::OnClick(BOOL bKeyboard, CPoint pt) {
    if (IsCustomizeMode() && m_pParent) {
        m_pParent->SetSelected(-1);
        OnCustomizeMouseDown(pt);
        return;
    }
    if (bKeyboard) {
        if (m_bFocused) OnExecute();
        return;
    }
    const CRect rcSpin = GetSpinButtonsRect();
    if (rcSpin.PtInRect(pt)) {
        TrackSpinButton(pt.y < rcSpin.CenterPoint().y ? +1 : -1);
        return;
    }
    SetFocused(TRUE);
}
