// The edit control: its window placed on the bar, the hint, focus and keys.
#include "toolkit/commandbars/ControlEdit.h"

#include "toolkit/commandbars/CommandBar.h"
#include "toolkit/commandbars/CommandBarsLink.h"
#include "toolkit/commandbars/CommandBars.h"
#include "toolkit/commandbars/ControlAction.h"
#include "toolkit/commandbars/PaintManager.h"
#include "toolkit/commandbars/RichEditLibrary.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlEdit, CKLVControl)

CKLVControlEdit::CKLVControlEdit() {
    m_nType = typeEdit;
    m_nWidth = 100;
}

CKLVControlEdit::~CKLVControlEdit() {
    SetHookLock(FALSE);
    DestroyEditWindow();
    delete m_pEdit;
}

void CKLVControlEdit::DestroyEditWindow() {
    if (!m_pEdit) return;
    if (m_pEdit->GetSafeHwnd()) m_pEdit->DestroyWindow();
}

void CKLVControlEdit::SetHookLock(BOOL bHold) {
    if (m_bHoldsHookLock == bHold) return;
    m_bHoldsHookLock = bHold;
    KLVMouseHook()->m_nLock += bHold ? 1 : -1;
}

void CKLVControlEdit::SetEnabled(int bEnabled) {
    if (m_bEnabled != bEnabled) m_bEnabled = bEnabled;
    if (m_pEdit && m_pEdit->GetSafeHwnd()) {
        m_pEdit->EnableWindow(GetEnabled() != 0);
        ApplyColors();
    }
    RedrawParent(FALSE);
}

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

void CKLVControlEdit::SetHideFlags(DWORD dwFlags) {
    if (m_dwHideFlags == dwFlags) return;
    m_dwHideFlags = dwFlags;
    ShowOrHideWindow();
    DelayLayoutParent();
}

void CKLVControlEdit::PrepareDynamicLayout(int nMode) {
    SetHideFlag(hideDocking, (nMode & 0x10) != 0);
}

void CKLVControlEdit::OnKeyboardActivate() {
    if (CKLVCommandBars* pCommandBars = GetCommandBars()) pCommandBars->HideKeyboardTips();
    SetFocused(TRUE);
}

void CKLVControlEdit::SetParent(CKLVCommandBar* pParent) {
    m_pParent = pParent;
    if (!pParent) {
        SetFocused(FALSE);
        DestroyEditWindow();
    }
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
        m_dwShellAutoCompleteFlags = pEdit->m_dwShellAutoCompleteFlags;
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
        m_dwShellAutoCompleteFlags = static_cast<DWORD>(nFlags);
    }
    if (nSchema > 16) {
        long nStyle = static_cast<long>(m_dwEditStyle);
        PX_Long(pPX, "EditStyle", nStyle, 0);
        m_dwEditStyle = static_cast<DWORD>(nStyle);
    }
    if (nSchema > 18) PX_Bool(pPX, "ShowSpinButtons", m_bShowSpinButtons, FALSE);
}

void CKLVControlEdit::OnRemoved() {
    if (m_pEdit && m_pEdit->GetSafeHwnd()) m_pEdit->ShowWindow(SW_HIDE);
    CKLVControl::OnRemoved();
}

void CKLVControlEdit::CloseBarPopup() {
    if (KLVMouseHook()->m_nLock > 0) return;
    CKLVControl::CloseBarPopup();
}

BOOL CKLVControlEdit::SetSelected(int bSelected) {
    const BOOL bChanged = CKLVControl::SetSelected(bSelected);
    if (!bSelected) SetFocused(FALSE);
    if (m_pEdit && m_pEdit->GetSafeHwnd()) ApplyColors();
    return bChanged;
}

// ---------------------------------------------------------------------------------------------
// The window on the bar.

void CKLVControlEdit::SetRect(CRect rc) {
    if (!m_pEdit) {
        m_pEdit = CreateEditCtrl();
        m_pEdit->m_pControl = this;
    }
    CWnd* pBar = m_pParent;
    if (m_pEdit->GetSafeHwnd() &&
        (m_bRecreatePending || (m_pEdit->GetStyle() & 0x00400000) || ::GetParent(m_pEdit->GetSafeHwnd()) != pBar->GetSafeHwnd())) {
        m_bRecreatePending = FALSE;
        m_pEdit->DestroyWindow();
    }
    if (m_rcControl == rc && m_pEdit->GetSafeHwnd() && !m_bRefreshPending) return;
    m_rcControl = rc;
    if (!pBar || !pBar->GetSafeHwnd()) return;
    if (!m_pEdit->GetSafeHwnd()) {
        if (!m_pEdit->CreateEdit(m_dwEditStyle | WS_CHILD | ES_AUTOHSCROLL, pBar)) return;
        if (!GetEnabled()) m_pEdit->EnableWindow(FALSE);
    }
    PlaceWindow();
}

void CKLVControlEdit::PlaceWindow() {
    if (CKLVPaintManager* pPaintManager = GetPaintManager())
        m_pEdit->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pPaintManager->m_fontRegular.GetSafeHandle()), FALSE);
    ApplyColors();
    if (!m_bFocused) SetEditText(GetEditText());
    m_pEdit->SetReadOnly(m_bReadOnly);
    const CRect& rc = m_rcControl;
    m_pEdit->MoveWindow(rc.left + m_nLabelWidth + 4, rc.top + 3, rc.Width() - m_nLabelWidth - 4 - (m_bShowSpinButtons ? 20 : 3),
                        rc.Height() - 6, TRUE);
    ShowOrHideWindow();
    m_bRefreshPending = FALSE;
}

void CKLVControlEdit::ShowOrHideWindow() {
    if (!m_pEdit || !m_pEdit->GetSafeHwnd()) return;
    const BOOL bShow = m_pParent && IsVisible() && m_pParent->IsVisible();
    m_pEdit->SetWindowPos(nullptr, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CKLVControlEdit::GetEditCtrlColors(CHARFORMAT2A& cf) {
    cf.cbSize = CKLVRichEditLibrary::Get().IsVersion2() ? sizeof(CHARFORMAT2A) : sizeof(CHARFORMATA);
    cf.dwMask = CFM_COLOR | CFM_BACKCOLOR;
    cf.dwEffects = 0;
    const BOOL bGrey = !GetEnabled() || IsHintShown();
    cf.crTextColor = GetColorManager()->GetColor(bGrey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    CKLVPaintManager* pPaintManager = GetPaintManager();
    cf.crBackColor = pPaintManager ? pPaintManager->GetControlEditBackColor(this) : ::GetSysColor(COLOR_WINDOW);
}

void CKLVControlEdit::ApplyColors() {
    if (!m_pEdit || !m_pEdit->GetSafeHwnd()) return;
    m_pEdit->SetMargins(0, 0);
    CHARFORMAT2A cf = {};
    GetEditCtrlColors(cf);
    m_pEdit->SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    m_pEdit->SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(cf.crBackColor));
}

// ---------------------------------------------------------------------------------------------
// Text and hint.

BOOL CKLVControlEdit::IsHintShown() const {
    const CString strHint = GetEditHint();
    if (strHint.IsEmpty()) return FALSE;
    if (m_bTextStale && m_pEdit && m_pEdit->GetSafeHwnd()) {
        m_pEdit->GetWindowText(m_strText);
        m_bTextStale = FALSE;
    }
    return m_strText == strHint;
}

CString CKLVControlEdit::GetEditText() const {
    return IsHintShown() ? CString() : m_strText;
}

void CKLVControlEdit::SetEditText(const CString& strText) {
    const CString strShown = strText.IsEmpty() && !m_bFocused ? GetEditHint() : strText;
    if (m_pEdit && m_pEdit->GetSafeHwnd()) {
        CString strCurrent;
        m_pEdit->GetWindowText(strCurrent);
        if (strCurrent != strShown) m_pEdit->SetWindowText(strShown);
    }
    m_strText = strShown;
    m_bTextStale = FALSE;
    ApplyColors();
}

CString CKLVControlEdit::GetEditHint() const {
    if (!m_strEditHint.IsEmpty()) return m_strEditHint;
    return m_pAction ? m_pAction->m_strEditHint : CString();
}

void CKLVControlEdit::SetEditHint(const CString& strHint) {
    const CString strText = GetEditText();
    m_strEditHint = strHint;
    SetEditText(strText);
}

void CKLVControlEdit::OnFieldChanged() {
    m_bTextStale = TRUE;
    if (m_pEdit && ::GetFocus() == m_pEdit->GetSafeHwnd()) OnEditChanged();
    ApplyColors();
}

void CKLVControlEdit::OnFieldDestroyed() {
    if (!m_pEdit) return;
    if (m_bTextStale) m_pEdit->GetWindowText(m_strText);
    m_bTextStale = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Focus.

void CKLVControlEdit::SetFocused(BOOL bFocused) {
    bFocused = bFocused != FALSE;
    if (m_bFocused == bFocused) return;
    const HWND hwndEdit = m_pEdit ? m_pEdit->GetSafeHwnd() : nullptr;
    if (bFocused && !hwndEdit) return;
    m_bFocused = bFocused;
    if (bFocused) {
        if (::GetFocus() != hwndEdit) ::SetFocus(hwndEdit);
        if (m_pParent) {
            m_pParent->SetTrackingMode(1, FALSE);
            m_pParent->SetSelected(m_nIndex);
        }
        SetHookLock(TRUE);
        NotifySite(EN_SETFOCUS);
    } else {
        if (hwndEdit && ::GetFocus() == hwndEdit && m_pParent && m_pParent->m_hwndCaret)
            ::SetFocus(m_pParent->m_hwndCaret);
        SetHookLock(FALSE);
        NotifySite(EN_KILLFOCUS);
    }
    RedrawParent(FALSE);
}

void CKLVControlEdit::OnSetFocus(HWND hwndOld) {
    m_strTextOnFocus = GetEditText();
    if (IsHintShown() && m_pEdit) m_pEdit->SetWindowText("");
    m_strText.Empty();
    m_bTextStale = TRUE;
    if (m_pParent) {
        if (!m_pParent->m_hwndCaret) {
            CWnd* pSite = m_pParent->GetSite();
            m_pParent->m_hwndCaret = hwndOld ? hwndOld : pSite ? pSite->GetSafeHwnd() : nullptr;
        }
        m_pParent->SetSelected(-1);
    }
    SetFocused(TRUE);
    ApplyColors();
}

void CKLVControlEdit::OnKillFocus() {
    SetFocused(FALSE);
    if (GetEditText().IsEmpty()) SetEditText(CString());
}

// ---------------------------------------------------------------------------------------------
// Keys and clicks.

BOOL CKLVControlEdit::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    if (!m_bFocused || !m_pEdit || !m_pEdit->GetSafeHwnd()) return CKLVEdit::keyNotHandled;
    if (m_pEdit->m_bComposing) return CKLVEdit::keyToEdit;
    switch (nChar) {
    case VK_TAB:
    case VK_RETURN: return CKLVEdit::keyNotHandled;
    case VK_ESCAPE: {
        const BOOL bPopup = m_pParent && m_pParent->GetType() == CKLVCommandBar::barTypePopup;
        SetEditText(m_strTextOnFocus);
        SetFocused(FALSE);
        return bPopup ? CKLVEdit::keyHandled : CKLVEdit::keyNotHandled;
    }
    default: break;
    }
    if (::GetKeyState(VK_MENU) < 0 && ::GetKeyState(VK_CONTROL) >= 0) {
        CKLVCommandBars* pCommandBars = GetCommandBars();
        BOOL bAmbiguous = FALSE;
        if (pCommandBars && m_pParent && pCommandBars->FindAccelControl(m_pParent, nChar, bAmbiguous)) return CKLVEdit::keyHandled;
    }
    if (m_bShowSpinButtons && (nChar == VK_UP || nChar == VK_DOWN)) {
        OnSpin(1, nChar == VK_UP ? +1 : -1);
        if (::GetFocus() == m_pEdit->GetSafeHwnd()) m_pEdit->SetSel(0, -1);
        return CKLVEdit::keyHandled;
    }
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
