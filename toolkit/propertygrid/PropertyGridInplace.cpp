#include "toolkit/propertygrid/PropertyGridInplace.h"

#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <algorithm>

CKLVPropertyGridInplaceEdit::~CKLVPropertyGridInplaceEdit() {
    if (GetSafeHwnd()) DestroyWindow();
}

void CKLVPropertyGridInplaceEdit::SetValue(LPCTSTR lpszValue) {
    m_strValue = lpszValue;
    if (!GetSafeHwnd()) return;
    m_bSettingText = TRUE;
    SetWindowText(lpszValue);
    m_bSettingText = FALSE;
}

void CKLVPropertyGridInplaceEdit::Create(CKLVPropertyGridItem* pItem, CRect rect) {
    CKLVPropertyGridView* pView = pItem->GetGridView();
    if (!AfxGetSafeHwnd(pView)) return;
    const DWORD dwStyle = pItem->GetEditStyle();
    if (GetSafeHwnd() && (m_pItem != pItem || (GetStyle() & (ES_PASSWORD | ES_MULTILINE)) !=
                                                  (dwStyle & (ES_PASSWORD | ES_MULTILINE))))
        DestroyWindow();
    m_pItem = pItem;
    m_bModified = m_bCancel = FALSE;
    if (!GetSafeHwnd()) {
        if (!CEdit::Create(dwStyle, rect, pView, 0)) return;
        if (CKLVPropertyGridPaintManager* pPaintManager = pView->GetPaintManager())
            SetFont(&pPaintManager->GetMetrics()->m_fntNormal, FALSE);
        if (pItem->m_bPassword) SendMessage(EM_SETPASSWORDCHAR, static_cast<BYTE>(pItem->m_chPrompt));
    }
    SetValue(pItem->m_bPassword ? pItem->m_strValue : m_strValue);
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void CKLVPropertyGridInplaceEdit::HideWindow() {
    if (GetSafeHwnd()) ShowWindow(SW_HIDE);
}

void CKLVPropertyGridInplaceEdit::DestroyItem() {
    m_pItem = nullptr;
    HideWindow();
}

BOOL CKLVPropertyGridInplaceEdit::SelectConstraint(int nDirection, BOOL bCircle) {
    if (!m_pItem || !GetSafeHwnd()) return FALSE;
    CKLVPropertyGridItemConstraints* pConstraints = m_pItem->GetConstraints();
    const int nCount = pConstraints->GetCount();
    if (nCount == 0) return FALSE;
    CString strText;
    GetWindowText(strText);
    int nIndex = pConstraints->FindConstraint(strText) + nDirection;
    if (nIndex >= nCount) nIndex = bCircle ? 0 : nCount - 1;
    if (nIndex < 0) nIndex = bCircle ? nCount - 1 : 0;
    SetWindowText(pConstraints->GetAt(nIndex));
    m_bModified = TRUE;
    return TRUE;
}

LRESULT CKLVPropertyGridInplaceEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && m_pItem) {
            m_bCancel = TRUE;
            CKLVPropertyGridItem* pItem = m_pItem;
            SetValue(pItem->GetViewValue());
            pItem->OnValidateEdit();
            return 0;
        }
        if (wParam == VK_RETURN && m_pItem) {
            m_pItem->OnValidateEdit();
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
        if (m_pItem) m_pItem->OnValidateEdit();
        return lResult;
    }
    default: break;
    }
    LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
    if (message == WM_SETTEXT || message == WM_CHAR || message == WM_PASTE || message == WM_CUT || message == WM_CLEAR) {
        if (!m_bSettingText && m_pItem) {
            m_bModified = TRUE;
            if (CKLVPropertyGrid* pGrid = m_pItem->GetGrid())
                pGrid->SendNotifyMessage(KLV_PGN_EDIT_CHANGED, reinterpret_cast<LPARAM>(this));
        }
    }
    return lResult;
}

CKLVPropertyGridInplaceList::~CKLVPropertyGridInplaceList() {
    if (GetSafeHwnd()) DestroyWindow();
}

void CKLVPropertyGridInplaceList::Create(CKLVPropertyGridItem* pItem, CRect rect) {
    CKLVPropertyGridView* pView = pItem->GetGridView();
    if (!AfxGetSafeHwnd(pView)) return;
    m_pItem = pItem;
    CRect rcList = pItem->GetValueRect();
    rcList.top = rect.bottom;
    CKLVPropertyGridItemConstraints* pConstraints = pItem->GetConstraints();
    const int nRows = std::min(pConstraints->GetCount(), pItem->m_nDropDownItemCount);
    rcList.bottom = rcList.top + nRows * std::max(1, static_cast<int>(rect.Height())) + 2;
    pView->ClientToScreen(&rcList);
    if (!GetSafeHwnd())
        CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "LISTBOX", "", WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, rcList,
                 pView, 0);
    if (!GetSafeHwnd()) return;
    CListBox::ResetContent();
    for (int i = 0; i < pConstraints->GetCount(); ++i) AddString(pConstraints->GetAt(i));
    SetCurSel(pConstraints->FindConstraint(pItem->m_strValue));
    SetWindowPos(&CWnd::wndTopMost, rcList.left, rcList.top, rcList.Width(), rcList.Height(), SWP_SHOWWINDOW);
    SetFocus();
}

void CKLVPropertyGridInplaceList::Cancel() {
    CKLVPropertyGridItem* pItem = m_pItem;
    m_pItem = nullptr;
    if (GetSafeHwnd()) ShowWindow(SW_HIDE);
    if (pItem) pItem->OnCancelEdit();
}

void CKLVPropertyGridInplaceList::Apply() {
    CKLVPropertyGridItem* pItem = m_pItem;
    const int nSel = GetCurSel();
    m_pItem = nullptr;
    ShowWindow(SW_HIDE);
    if (!pItem || nSel < 0) return;
    CString strValue = pItem->GetConstraints()->GetAt(nSel);
    if (!pItem->OnAfterEdit(strValue)) return;
    pItem->GetConstraints()->m_nCurrent = nSel;
    pItem->OnValueChanged(strValue);
}

LRESULT CKLVPropertyGridInplaceList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        Cancel();
        return 0;
    }
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        Apply();
        return 0;
    }
    if (message == WM_KILLFOCUS && m_pItem) {
        LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        Cancel();
        return lResult;
    }
    LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
    if (message == WM_LBUTTONUP && m_pItem) Apply();
    return lResult;
}

int CKLVPropertyGridInplaceButton::GetWidth() const { return ::GetSystemMetrics(SM_CXHTHUMB); }

void CKLVPropertyGridInplaceButton::OnLButtonDown(UINT, CPoint) { m_pItem->OnInplaceButtonDown(this); }

BOOL CKLVPropertyGridInplaceButton::OnKeyDown(UINT nChar) {
    if (nChar != VK_SPACE && nChar != VK_RETURN) return FALSE;
    m_pItem->OnInplaceButtonDown(this);
    return TRUE;
}

CKLVPropertyGridInplaceButton* CKLVPropertyGridInplaceButtons::Find(UINT nID) const {
    for (CKLVPropertyGridInplaceButton* pButton : m_arrButtons)
        if (pButton->m_nID == nID) return pButton;
    return nullptr;
}

void CKLVPropertyGridInplaceButtons::Remove(UINT nID) {
    for (size_t i = 0; i < m_arrButtons.size(); ++i) {
        if (m_arrButtons[i]->m_nID != nID) continue;
        m_arrButtons[i]->InternalRelease();
        m_arrButtons.erase(m_arrButtons.begin() + static_cast<std::ptrdiff_t>(i));
        break;
    }
    for (size_t i = 0; i < m_arrButtons.size(); ++i) m_arrButtons[i]->m_nIndex = static_cast<int>(i);
}

void CKLVPropertyGridInplaceButtons::AddButton(UINT nID) {
    if (Find(nID)) return;
    auto* pButton = new CKLVPropertyGridInplaceButton(m_pItem, nID);
    pButton->m_nIndex = GetCount();
    m_arrButtons.push_back(pButton);
}

void CKLVPropertyGridInplaceButtons::RemoveAll() {
    for (CKLVPropertyGridInplaceButton* pButton : m_arrButtons) pButton->InternalRelease();
    m_arrButtons.clear();
}

CKLVPropertyGridInplaceButton* CKLVPropertyGridInplaceButtons::HitTest(CPoint point) const {
    if (!m_pItem->IsInplaceButtonsVisible()) return nullptr;
    m_pItem->GetValueRect();   // places the buttons
    for (CKLVPropertyGridInplaceButton* pButton : m_arrButtons)
        if (pButton->m_rcButton.PtInRect(point)) return pButton;
    return nullptr;
}

void CKLVPropertyGridInplaceControl::OnShow(CKLVPropertyGridItem*, CRect rcValue) {
    if (GetSafeHwnd())
        SetWindowPos(nullptr, rcValue.left, rcValue.top, rcValue.Width(), rcValue.Height(), SWP_NOZORDER | SWP_SHOWWINDOW);
}

void CKLVPropertyGridInplaceControls::RemoveAll() {
    for (CKLVPropertyGridInplaceControl* pControl : m_arrControls) {
        if (AfxGetSafeHwnd(pControl)) pControl->DestroyWindow();
        delete pControl;
    }
    m_arrControls.clear();
}
