// The shared text field: its window placed on the bar, the hint, focus, the hook lock and the
// shell's completion.
#include "toolkit/commandbars/controls/ControlEditField.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/textfield/ShellAutoComplete.h"
#include "toolkit/commandbars/tooltips/RichEditLibrary.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/MouseHook.h"

template <class TBase>
CKLVControlEditField<TBase>::~CKLVControlEditField() {
    SetHookLock(FALSE);
    m_pAutoComplete.reset();
    DestroyEditWindow();
    delete m_pEdit;
}

template <class TBase>
void CKLVControlEditField<TBase>::DestroyEditWindow() {
    if (m_pEdit && m_pEdit->GetSafeHwnd()) m_pEdit->DestroyWindow();
}

template <class TBase>
void CKLVControlEditField<TBase>::SetHookLock(BOOL bHold) {
    if (m_bHoldsHookLock == bHold) return;
    m_bHoldsHookLock = bHold;
    KLVMouseHook()->m_nLock += bHold ? 1 : -1;
}

template <class TBase>
BOOL CKLVControlEditField<TBase>::IsOnPopupBar() const {
    return this->m_pParent && this->m_pParent->GetType() == CKLVCommandBar::barTypePopup;
}

template <class TBase>
void CKLVControlEditField<TBase>::SetEnabled(int bEnabled) {
    this->m_bEnabled = bEnabled;
    if (m_pEdit && m_pEdit->GetSafeHwnd()) {
        m_pEdit->EnableWindow(this->GetEnabled() != 0);
        ApplyColors();
    }
    this->RedrawParent(FALSE);
}

template <class TBase>
void CKLVControlEditField<TBase>::SetHideFlags(DWORD dwFlags) {
    if (this->m_dwHideFlags == dwFlags) return;
    this->m_dwHideFlags = dwFlags;
    ShowOrHideWindow();
    this->DelayLayoutParent();
}

template <class TBase>
void CKLVControlEditField<TBase>::PrepareDynamicLayout(int nMode) {
    this->SetHideFlag(CKLVControl::hideDocking, (nMode & 0x10) != 0);
}

template <class TBase>
void CKLVControlEditField<TBase>::OnKeyboardActivate() {
    if (CKLVCommandBarsLink* pCommandBars = this->GetOwnerLink()) pCommandBars->HideKeyboardTips();
    SetFocused(TRUE);
}

template <class TBase>
void CKLVControlEditField<TBase>::SetParent(CKLVCommandBar* pParent) {
    this->m_pParent = pParent;
    if (!pParent) {
        SetFocused(FALSE);
        DestroyEditWindow();
    }
}

template <class TBase>
void CKLVControlEditField<TBase>::OnRemoved() {
    if (m_pEdit && m_pEdit->GetSafeHwnd()) m_pEdit->ShowWindow(SW_HIDE);
    TBase::OnRemoved();
}

template <class TBase>
void CKLVControlEditField<TBase>::CloseBarPopup() {
    if (KLVMouseHook()->m_nLock > 0) return;
    TBase::CloseBarPopup();
}

template <class TBase>
BOOL CKLVControlEditField<TBase>::SetSelected(int bSelected) {
    const BOOL bChanged = TBase::SetSelected(bSelected);
    if (!bSelected) SetFocused(FALSE);
    if (m_pEdit && m_pEdit->GetSafeHwnd()) ApplyColors();
    return bChanged;
}

// ---------------------------------------------------------------------------------------------
// The window on the bar.

template <class TBase>
void CKLVControlEditField<TBase>::SetRect(CRect rc) {
    if (!HasEditField()) {
        this->m_rcControl = rc;
        return;
    }
    if (!m_pEdit) {
        m_pEdit = CreateEditCtrl();
        m_pEdit->m_pControl = this;
    }
    CWnd* pBar = this->m_pParent;
    if (m_pEdit->GetSafeHwnd() && (m_bRecreatePending || (m_pEdit->GetStyle() & 0x00400000) || !pBar ||
                                   ::GetParent(m_pEdit->GetSafeHwnd()) != pBar->GetSafeHwnd())) {
        m_bRecreatePending = FALSE;
        m_pEdit->DestroyWindow();
    }
    if (this->m_rcControl == rc && m_pEdit->GetSafeHwnd() && !m_bRefreshPending) return;
    this->m_rcControl = rc;
    if (!pBar || !pBar->GetSafeHwnd()) return;
    if (!m_pEdit->GetSafeHwnd()) {
        if (!m_pEdit->CreateEdit(m_dwEditStyle | WS_CHILD | ES_AUTOHSCROLL, pBar)) return;
        if (!this->GetEnabled()) m_pEdit->EnableWindow(FALSE);
        if (m_dwShellAutoCompleteFlags) BindAutoComplete();
    }
    PlaceWindow();
}

template <class TBase>
void CKLVControlEditField<TBase>::PlaceWindow() {
    if (CKLVPaintManager* pPaintManager = this->GetPaintManager())
        m_pEdit->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pPaintManager->m_fontRegular.GetSafeHandle()), FALSE);
    ApplyColors();
    if (!m_bFocused) SetEditText(GetEditText());
    m_pEdit->SetReadOnly(IsReadOnlyField());
    const CRect& rc = this->m_rcControl;
    const int nLeft = rc.left + this->m_nLabelWidth + 4;
    m_pEdit->MoveWindow(nLeft, rc.top + 3, rc.right - GetFieldRightInset() - nLeft, rc.Height() - 6, TRUE);
    ShowOrHideWindow();
    m_bRefreshPending = FALSE;
}

template <class TBase>
void CKLVControlEditField<TBase>::ShowOrHideWindow() {
    if (!m_pEdit || !m_pEdit->GetSafeHwnd()) return;
    const BOOL bShow = this->m_pParent && this->IsVisible() && this->m_pParent->IsVisible();
    m_pEdit->SetWindowPos(nullptr, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

template <class TBase>
void CKLVControlEditField<TBase>::GetEditCtrlColors(CHARFORMAT2A& cf) {
    cf.cbSize = CKLVRichEditLibrary::Get().IsVersion2() ? sizeof(CHARFORMAT2A) : sizeof(CHARFORMATA);
    cf.dwMask = CFM_COLOR | CFM_BACKCOLOR;
    cf.dwEffects = 0;
    const BOOL bGrey = !this->GetEnabled() || IsHintShown();
    cf.crTextColor = GetColorManager()->GetColor(bGrey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    CKLVPaintManager* pPaintManager = this->GetPaintManager();
    cf.crBackColor = pPaintManager ? pPaintManager->GetControlEditBackColor(this) : ::GetSysColor(COLOR_WINDOW);
}

template <class TBase>
void CKLVControlEditField<TBase>::ApplyColors() {
    if (!m_pEdit || !m_pEdit->GetSafeHwnd()) return;
    m_pEdit->SetMargins(0, 0);
    CHARFORMAT2A cf = {};
    GetEditCtrlColors(cf);
    m_pEdit->SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    m_pEdit->SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(cf.crBackColor));
}

// ---------------------------------------------------------------------------------------------
// Text and hint.

template <class TBase>
void CKLVControlEditField<TBase>::ReadWindowText() const {
    if (!m_bTextStale || !m_pEdit || !m_pEdit->GetSafeHwnd()) return;
    m_pEdit->GetWindowText(m_strText);
    m_bTextStale = FALSE;
}

template <class TBase>
BOOL CKLVControlEditField<TBase>::IsHintShown() const {
    const CString strHint = GetEditHint();
    if (strHint.IsEmpty()) return FALSE;
    ReadWindowText();
    return m_strText == strHint;
}

template <class TBase>
CString CKLVControlEditField<TBase>::GetEditText() const {
    // Read whether or not a hint is set: typing leaves only the stale mark behind.
    ReadWindowText();
    return IsHintShown() ? CString() : m_strText;
}

template <class TBase>
void CKLVControlEditField<TBase>::SetEditText(const CString& strText) {
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

template <class TBase>
CString CKLVControlEditField<TBase>::GetEditHint() const {
    if (!m_strEditHint.IsEmpty()) return m_strEditHint;
    return this->m_pAction ? this->m_pAction->m_strEditHint : CString();
}

template <class TBase>
void CKLVControlEditField<TBase>::SetEditHint(const CString& strHint) {
    const CString strText = GetEditText();
    m_strEditHint = strHint;
    SetEditText(strText);
}

template <class TBase>
void CKLVControlEditField<TBase>::OnFieldChanged() {
    m_bTextStale = TRUE;
    if (m_pEdit && ::GetFocus() == m_pEdit->GetSafeHwnd()) OnEditChanged();
    ApplyColors();
}

template <class TBase>
void CKLVControlEditField<TBase>::OnFieldDestroyed() {
    if (m_pAutoComplete) m_pAutoComplete->Enable(FALSE);
    if (!m_pEdit) return;
    if (m_bTextStale) m_pEdit->GetWindowText(m_strText);
    m_bTextStale = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Focus.

template <class TBase>
void CKLVControlEditField<TBase>::SetFocused(BOOL bFocused) {
    bFocused = bFocused != FALSE;
    if (m_bFocused == bFocused) return;
    const HWND hwndEdit = m_pEdit ? m_pEdit->GetSafeHwnd() : nullptr;
    if (bFocused && !hwndEdit && HasEditField()) return;
    m_bFocused = bFocused;
    CKLVCommandBar* pBar = this->m_pParent;
    if (bFocused) {
        if (hwndEdit && ::GetFocus() != hwndEdit) ::SetFocus(hwndEdit);
        if (pBar) {
            pBar->SetTrackingMode(1, FALSE);
            pBar->SetSelected(this->m_nIndex);
        }
        SetHookLock(TRUE);
    } else {
        if (hwndEdit && ::GetFocus() == hwndEdit && pBar && pBar->m_hwndCaret) ::SetFocus(pBar->m_hwndCaret);
        SetHookLock(FALSE);
    }
    NotifyFocus(bFocused);
    this->RedrawParent(FALSE);
}

template <class TBase>
void CKLVControlEditField<TBase>::OnSetFocus(HWND hwndOld) {
    m_strTextOnFocus = GetEditText();
    if (IsHintShown() && m_pEdit) m_pEdit->SetWindowText("");
    m_strText.Empty();
    m_bTextStale = TRUE;
    if (CKLVCommandBar* pBar = this->m_pParent) {
        if (!pBar->m_hwndCaret) {
            CWnd* pSite = pBar->GetSite();
            pBar->m_hwndCaret = hwndOld ? hwndOld : pSite ? pSite->GetSafeHwnd() : nullptr;
        }
        pBar->SetSelected(-1);
    }
    SetFocused(TRUE);
    if (m_pAutoComplete) m_pAutoComplete->Enable(TRUE);
    ApplyColors();
}

template <class TBase>
void CKLVControlEditField<TBase>::OnKillFocus() {
    SetFocused(FALSE);
    if (GetEditText().IsEmpty()) SetEditText(CString());
    if (m_pAutoComplete) m_pAutoComplete->Enable(FALSE);
}

// ---------------------------------------------------------------------------------------------
// Keys and the shell's completion.

template <class TBase>
int CKLVControlEditField<TBase>::RestoreOnEscape() {
    const BOOL bPopup = IsOnPopupBar();
    SetEditText(m_strTextOnFocus);
    SetFocused(FALSE);
    return bPopup ? CKLVEdit::keyHandled : CKLVEdit::keyNotHandled;
}

template <class TBase>
BOOL CKLVControlEditField<TBase>::IsBarMnemonic(UINT nChar) const {
    if (::GetKeyState(VK_MENU) >= 0 || ::GetKeyState(VK_CONTROL) < 0) return FALSE;
    CKLVCommandBarsLink* pCommandBars = this->GetOwnerLink();
    BOOL bAmbiguous = FALSE;
    return pCommandBars && this->m_pParent && pCommandBars->FindAccelControl(this->m_pParent, nChar, bAmbiguous);
}

template <class TBase>
BOOL CKLVControlEditField<TBase>::PassKeyToAutoSuggest(UINT nChar) const {
    const HWND hwndList = m_pAutoComplete ? m_pAutoComplete->GetDropDown() : nullptr;
    if (!hwndList || !::IsWindowVisible(hwndList) || ::GetKeyState(VK_MENU) < 0) return FALSE;
    if (nChar != VK_UP && nChar != VK_DOWN && nChar != VK_PRIOR && nChar != VK_NEXT) return FALSE;
    // The list's own child takes the keys where it has one.
    HWND hwndTarget = ::GetWindow(hwndList, GW_CHILD);
    if (hwndTarget) hwndTarget = ::GetWindow(hwndTarget, GW_HWNDLAST);
    if (!hwndTarget) hwndTarget = hwndList;
    MSG msg = {hwndTarget, WM_KEYDOWN, nChar, 0, 0, {0, 0}};
    ::IsDialogMessageA(hwndTarget, &msg);
    return TRUE;
}

template <class TBase>
void CKLVControlEditField<TBase>::SetShellAutoCompleteFlags(DWORD dwFlags) {
    m_dwShellAutoCompleteFlags = dwFlags;
    m_pAutoComplete.reset();
    if (m_pEdit && m_pEdit->GetSafeHwnd() && dwFlags) BindAutoComplete();
}

template <class TBase>
void CKLVControlEditField<TBase>::BindAutoComplete() {
    m_pAutoComplete = CKLVShellAutoComplete::Bind(m_pEdit->GetSafeHwnd(), m_dwShellAutoCompleteFlags);
    if (m_pAutoComplete && m_bFocused) m_pAutoComplete->Enable(TRUE);
}

template class CKLVControlEditField<CKLVControl>;
template class CKLVControlEditField<CKLVControlPopup>;
