// The combo box: its list, the notifications of choosing, the field's typing and completion,
// keys, the wheel and the saved keys.
#include "toolkit/commandbars/controls/ControlComboBox.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/FlagScope.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"

#include <shlwapi.h>

KLV_IMPLEMENT_SERIAL(CKLVControlComboBox, CKLVControlPopup)
IMPLEMENT_DYNAMIC(CKLVControlComboBoxEditCtrl, CKLVControlEditCtrl)

CKLVControlComboBox::CKLVControlComboBox() {
    m_nType = typeComboBox;
    m_nWidth = 100;
    auto* pList = new CKLVControlComboBoxList;
    pList->CreateListBox();
    SetCommandBar(pList);
    pList->InternalRelease();
}

CKLVControlComboBox::~CKLVControlComboBox() {
    if (CKLVControlComboBoxList* pList = GetList()) pList->DestroyWindow();
}

BOOL CKLVControlComboBox::IsCaptionVisible() const {
    if (IsOnPopupBar()) return TRUE;
    if (GetCaption().IsEmpty()) return FALSE;
    const int nStyle = GetStyle();
    if (nStyle == styleCaption || nStyle == styleIconAndCaption || nStyle == styleCaptionBelow) return TRUE;
    return m_nComboStyle == styleLabel;
}

BOOL CKLVControlComboBox::IsEqual(CKLVControl* pOther) {
    return CKLVControlPopup::IsEqual(pOther) && pOther->IsKindOf(RUNTIME_CLASS(CKLVControlComboBox));
}

void CKLVControlComboBox::SetParent(CKLVCommandBar* pParent) {
    CKLVControlEditField<CKLVControlPopup>::SetParent(pParent);
    CKLVCommandBar* pList = m_pCommandBar;
    if (!pParent || !pList) return;
    CWnd* pSite = pParent->GetSite();
    if (pList->GetSafeHwnd() && pSite && pSite->GetSafeHwnd())
        ::SetWindowLongPtrA(pList->GetSafeHwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(pSite->GetSafeHwnd()));
}

void CKLVControlComboBox::SetDropDownListStyle(BOOL bDropDown) {
    m_bDropDown = bDropDown;
    if (!bDropDown) {
        DestroyEditWindow();
        delete m_pEdit;
        m_pEdit = nullptr;
    } else if (!m_pEdit) {
        m_pEdit = CreateEditCtrl();
        m_pEdit->m_pControl = this;
    }
    m_bRefreshPending = TRUE;
    DelayLayoutParent();
}

int CKLVControlComboBox::AddString(const CString& strText) {
    CKLVControlComboBoxList* pList = GetList();
    return pList ? pList->AddString(strText) : LB_ERR;
}

// ---------------------------------------------------------------------------------------------
// The list and its selection.

int CKLVControlComboBox::GetCurSel() const {
    CKLVControlComboBoxPopupBar* pPopup = GetComboPopup();
    return pPopup && pPopup->GetSafeHwnd() ? pPopup->GetCurSel() : m_nCurSel;
}

void CKLVControlComboBox::SetCurSel(int nIndex) {
    if (GetCurSel() == nIndex) return;
    m_nCurSel = nIndex;
    if (CKLVControlComboBoxPopupBar* pPopup = GetComboPopup()) pPopup->SetCurSel(nIndex);
    OnSelChanged();
}

CString CKLVControlComboBox::GetListText() const {
    CKLVControlComboBoxPopupBar* pPopup = GetComboPopup();
    CString strText;
    const int nSelected = pPopup ? pPopup->GetCurSel() : -1;
    if (nSelected >= 0) pPopup->GetText(nSelected, strText);
    return strText;
}

CString CKLVControlComboBox::GetText() const { return m_bDropDown ? GetEditText() : GetListText(); }

void CKLVControlComboBox::OnSelChanged() {
    {
        CKLVFlagScope lock(m_bChangeLock);
        SetEditText(GetListText());
    }
    RedrawParent(FALSE);
    NotifySite(CBN_SELCHANGE);
}

void CKLVControlComboBox::SyncListWithText() {
    CKLVControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (m_bChangeLock || !m_pEdit || !m_pEdit->GetSafeHwnd() || !pPopup) return;
    const CString strText = GetEditText();
    const int nExact = pPopup->FindStringExact(0, strText);
    if (nExact >= 0) {
        pPopup->SetCurSel(nExact);
        return;
    }
    pPopup->SetTopIndex(pPopup->FindString(0, strText));
    pPopup->SetCurSel(-1);
}

void CKLVControlComboBox::CloseList() {
    if (m_bPopuped && m_pParent) m_pParent->SetPopuped(-1);
}

BOOL CKLVControlComboBox::OnSetPopup(BOOL bPopup) {
    if (bPopup) {
        m_bCommitted = FALSE;
        m_nSavedSelection = GetCurSel();
        if (m_pAutoComplete && m_pAutoComplete->GetDropDown()) ::ShowWindow(m_pAutoComplete->GetDropDown(), SW_HIDE);
        if (m_pEdit && m_pEdit->GetSafeHwnd() && ::GetFocus() != m_pEdit->GetSafeHwnd()) m_pEdit->SetFocus();
    } else if (!m_bCommitted && m_bPopuped) {
        const BOOL bHasEdit = m_pEdit && m_pEdit->GetSafeHwnd();
        if (!m_bFocused && !bHasEdit) SetCurSel(m_nSavedSelection);
        if (m_bFocused || bHasEdit) NotifySite(CBN_SELENDCANCEL);
    }
    return CKLVControlPopup::OnSetPopup(bPopup);
}

void CKLVControlComboBox::OnExecute() {
    const BOOL bHasEdit = m_pEdit && m_pEdit->GetSafeHwnd();
    if (GetCurSel() >= 0 && (m_bPopuped || (!bHasEdit && m_bFocused))) NotifySite(CBN_SELENDOK);
    m_bCommitted = TRUE;
    m_nSavedSelection = GetCurSel();
    CKLVControlPopup::OnExecute();
}

// ---------------------------------------------------------------------------------------------
// Focus and typing.

void CKLVControlComboBox::NotifyFocus(BOOL bFocused) {
    if (bFocused) {
        m_nSavedSelection = GetCurSel();
        m_bCommitted = FALSE;
        NotifySite(CBN_SETFOCUS);
        return;
    }
    NotifySite(CBN_KILLFOCUS);
    if (!m_bCommitted && !m_bPopuped && !m_bDropDown) {
        SetCurSel(m_nSavedSelection);
        NotifySite(CBN_SELENDCANCEL);
    }
}

void CKLVControlComboBox::OnKillFocus() {
    CKLVControlEditField<CKLVControlPopup>::OnKillFocus();
    if (m_bPopuped && m_pCommandBar) m_pCommandBar->SetTrackingMode(FALSE);
}

void CKLVControlComboBox::OnFieldRightButton() {
    CloseList();
    SetFocused(TRUE);
}

void CKLVControlComboBox::OnAutoSuggestShown() { CloseList(); }

void CKLVControlComboBox::OnEditChanged() {
    if (m_bChangeLock) return;
    CKLVControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (m_bAutoComplete && !m_bCompleted && m_pEdit && m_pEdit->GetSafeHwnd() && pPopup) {
        const CString strText = GetEditText();
        int nStart = 0, nEnd = 0;
        m_pEdit->GetSel(nStart, nEnd);
        if (!strText.IsEmpty() && nStart == nEnd && nEnd == strText.GetLength()) {
            const int nFound = pPopup->FindString(0, strText);
            if (nFound >= 0) {
                CString strItem;
                pPopup->GetText(nFound, strItem);
                {
                    CKLVFlagScope lock(m_bChangeLock);
                    SetEditText(strItem);
                }
                m_pEdit->SetSel(strText.GetLength(), strItem.GetLength());
                m_pEdit->SendMessage(EM_SCROLLCARET);
                m_bCompleted = TRUE;
            }
        }
    }
    SyncListWithText();
    NotifySite(CBN_EDITCHANGE);
}

// ---------------------------------------------------------------------------------------------
// Clicks, keys and the wheel.

void CKLVControlComboBox::OnClick(BOOL bKeyboard, CPoint pt) {
    if (m_pEdit && m_pEdit->m_bComposing) return;
    if (IsCustomizeMode() && m_pParent) {
        m_pParent->SetSelected(-1);
        OnCustomizeMouseDown(pt);
        return;
    }
    if (bKeyboard && GetEnabled()) {
        if (m_bFocused)
            OnExecute();
        else
            SetFocused(TRUE);
        return;
    }
    if (m_bPopuped && m_bFocused) {
        CloseList();
        return;
    }
    CKLVControlPopup::OnClick(bKeyboard, pt);
}

BOOL CKLVControlComboBox::OnHookMouseWheel(short zDelta) {
    CKLVControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (!m_bFocused || m_bPopuped || m_pAutoComplete || !pPopup) return FALSE;
    pPopup->ProcessHookKeyDown(this, zDelta < 0 ? VK_DOWN : VK_UP, 0);
    return TRUE;
}

BOOL CKLVControlComboBox::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    if (!m_bFocused) return CKLVEdit::keyNotHandled;
    m_bCompleted = nChar == VK_DELETE || nChar == VK_BACK;
    const BOOL bHasEdit = m_pEdit && m_pEdit->GetSafeHwnd();
    if (bHasEdit && m_pEdit->m_bComposing) return CKLVEdit::keyToEdit;
    const BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
    switch (nChar) {
    case VK_TAB:
        return m_pAutoComplete && (m_pAutoComplete->GetFlags() & SHACF_USETAB) ? CKLVEdit::keyToEdit : CKLVEdit::keyNotHandled;
    case VK_RETURN: return CKLVEdit::keyNotHandled;
    case VK_ESCAPE:
        CloseList();
        SetCurSel(m_nSavedSelection);
        return RestoreOnEscape();
    default: break;
    }
    if (bHasEdit && IsBarMnemonic(nChar)) return CKLVEdit::keyHandled;
    if ((nChar == VK_F4 && !bAlt) || ((nChar == VK_UP || nChar == VK_DOWN) && bAlt)) {
        CKLVControlPopup::OnClick(FALSE, CPoint(0, 0));
        return CKLVEdit::keyHandled;
    }
    if (PassKeyToAutoSuggest(nChar)) return CKLVEdit::keyHandled;
    const BOOL bListKey = nChar == VK_UP || nChar == VK_DOWN || nChar == VK_PRIOR || nChar == VK_NEXT;
    if (!bHasEdit || (bListKey && !bAlt)) {
        if (CKLVControlComboBoxPopupBar* pPopup = GetComboPopup()) {
            pPopup->ProcessHookKeyDown(this, nChar, lParam);
            return CKLVEdit::keyHandled;
        }
    }
    return bHasEdit ? m_pEdit->PassKeyToEdit(nChar, lParam) : CKLVEdit::keyToEdit;
}

// ---------------------------------------------------------------------------------------------
// Drawing the field the control shows itself.

int CKLVControlComboBox::AddIconWidth(int nWidth) const {
    if (m_nEditIconId <= 0) return nWidth;
    CKLVImageManagerIcon* pIcon = GetImageManager()->GetImage(static_cast<UINT>(m_nEditIconId), 0);
    return pIcon ? nWidth + pIcon->GetWidth() + 2 : nWidth;
}

void CKLVControlComboBox::DrawEditText(CDC* pDC, CRect rc) {
    const BOOL bEnabled = GetEnabled() != 0;
    CKLVColorManager* pColors = GetColorManager();
    if (bEnabled && m_bFocused)
        pDC->FillSolidRect(CRect(rc.left - 1, rc.top + 1, rc.right - 1, rc.bottom - 1), pColors->GetColor(COLOR_HIGHLIGHT));
    if (m_nEditIconId > 0) {
        if (CKLVImageManagerIcon* pIcon = GetImageManager()->GetImage(static_cast<UINT>(m_nEditIconId), 0)) {
            const CSize sz(pIcon->GetWidth(), pIcon->GetHeight());
            pIcon->DrawHandle(pDC, CPoint(rc.left, rc.top + (rc.Height() - sz.cy) / 2),
                              bEnabled ? pIcon->GetStateIcon(0) : pIcon->GetDisabledIcon(), sz);
            rc.left += sz.cx + 2;
        }
    }
    CString strText = GetListText();
    COLORREF clrText = !bEnabled ? pColors->GetColor(COLOR_GRAYTEXT)
                       : m_bFocused ? pColors->GetColor(COLOR_HIGHLIGHTTEXT)
                                    : pColors->GetColor(COLOR_WINDOWTEXT);
    if (strText.IsEmpty() && bEnabled && !m_bFocused) {
        strText = GetEditHint();
        clrText = pColors->GetColor(COLOR_GRAYTEXT);
    }
    pDC->SetTextColor(clrText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, &rc, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
}

// ---------------------------------------------------------------------------------------------
// Copies and saved keys.

void CKLVControlComboBox::Copy(CKLVControl* pControl, BOOL bRecursive) {
    if (auto* pSource = DYNAMIC_DOWNCAST(CKLVControlComboBox, pControl)) {
        SetDropDownListStyle(pSource->m_bDropDown);
        m_nComboStyle = pSource->m_nComboStyle;
        m_strEditHint = pSource->m_strEditHint;
        m_bAutoComplete = pSource->m_bAutoComplete;
        m_nEditIconId = pSource->m_nEditIconId;
        m_nDropDownItemCount = pSource->m_nDropDownItemCount;
        m_dwEditStyle = pSource->m_dwEditStyle;
        SetShellAutoCompleteFlags(pSource->m_dwShellAutoCompleteFlags);
        if (CKLVControlComboBoxList* pList = GetList()) pList->Copy(pSource->GetList());
        SetCurSel(pSource->GetCurSel());
        SetEditText(pSource->GetEditText());
    }
    // The list stays this control's own: the popup control would share the source's.
    CKLVControlButton::Copy(pControl, bRecursive);
}

void CKLVControlComboBox::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVControlPopup::DoPropExchange(pPX);
    PX_Bool(pPX, "DropDown", m_bDropDown, TRUE);
    PX_Long(pPX, "Width", m_nWidth, 100);
    PX_Long(pPX, "ComboStyle", m_nComboStyle, 0);
    const UINT nSchema = pPX->GetSchema();
    long nAutoCompleteFlags = static_cast<long>(m_dwShellAutoCompleteFlags);
    if (nSchema > 8) {
        PX_String(pPX, "EditHint", m_strEditHint, "");
        PX_Long(pPX, "ShellAutoCompleteFlags", nAutoCompleteFlags, 0);
        PX_Bool(pPX, "AutoComplete", m_bAutoComplete, FALSE);
        PX_Long(pPX, "EditIconId", m_nEditIconId, 0);
        PX_Long(pPX, "DropDownItemCount", m_nDropDownItemCount, 12);
    }
    if (nSchema > 16) {
        long nStyle = static_cast<long>(m_dwEditStyle);
        PX_Long(pPX, "EditStyle", nStyle, 0);
        m_dwEditStyle = static_cast<DWORD>(nStyle);
    }
    if (CKLVControlComboBoxList* pList = GetList()) pList->ExchangeItems(pPX);
    if (!pPX->IsLoading()) return;
    SetDropDownListStyle(m_bDropDown);
    SetShellAutoCompleteFlags(static_cast<DWORD>(nAutoCompleteFlags));
}
