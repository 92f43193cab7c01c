#include "toolkit/propertygrid/PropertyGridInplaceEdit.h"

#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplaceButton.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

namespace {

// Style bits that an existing window takes without being created again.
const DWORD kKeptStyles = WS_CHILD | WS_VISIBLE | ES_READONLY | ES_CENTER | ES_RIGHT;

BOOL IsKeyDown(int nVirtKey) { return (::GetKeyState(nVirtKey) & 0x8000) != 0; }

// A mask character of 0 would turn the password style off and show the text in clear.
char PasswordChar(char chPrompt) { return chPrompt ? chPrompt : '*'; }

}  // namespace

CKLVPropertyGridInplaceEdit::~CKLVPropertyGridInplaceEdit() {
    if (GetSafeHwnd()) DestroyWindow();
}

void CKLVPropertyGridInplaceEdit::SetValue(LPCTSTR lpszValue) { m_strValue = lpszValue; }

void CKLVPropertyGridInplaceEdit::HideWindow() {
    if (GetSafeHwnd()) ShowWindow(SW_HIDE);
}

BOOL CKLVPropertyGridInplaceEdit::CreateEdit(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CEdit::Create(dwStyle, rect, pParentWnd, nID);
}

void CKLVPropertyGridInplaceEdit::Create(CKLVPropertyGridItem* pItem, CRect rect) {
    CKLVPropertyGridView* pView = pItem->GetGridView();
    if (!AfxGetSafeHwnd(pView)) return;
    m_pGrid = pView;
    m_pItem = pItem;
    m_bEditMode = m_bCreated = m_bCancel = FALSE;
    const DWORD dwStyle = pItem->GetEditStyle();
    if (GetSafeHwnd() && ((GetStyle() ^ dwStyle) & ~kKeptStyles)) m_bDelayCreate = TRUE;
    if (m_bDelayCreate && GetSafeHwnd()) DestroyWindow();
    if (!GetSafeHwnd() && !CreateEdit(dwStyle, rect, pView, 0)) return;
    m_bDelayCreate = FALSE;
    if (pItem->m_bPassword) SendMessage(EM_SETPASSWORDCHAR, static_cast<BYTE>(PasswordChar(pItem->m_chPrompt)));
    CKLVPropertyGridItemMetrics* pMetrics = pItem->GetMetrics(TRUE, FALSE);
    SendMessage(EM_LIMITTEXT, pMetrics ? static_cast<WPARAM>(pMetrics->m_nMaxLength) : 0);
    if (CKLVPropertyGridPaintManager* pPaintManager = pView->GetPaintManager())
        SetFont(pPaintManager->GetItemFont(pItem, TRUE), TRUE);
    SetWindowText(m_strValue);
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(3, 3));
    SetUseMask(pItem->m_bUseMask);
    if (pItem->m_bUseMask) {
        SetEditMask(pItem->m_strMask, pItem->m_strLiteral, m_strValue);
        SetPromptChar(pItem->m_chPrompt);
    }
    m_bEditMode = TRUE;
}

void CKLVPropertyGridInplaceEdit::SetPromptChar(char chPrompt, BOOL bRedraw) {
    if (chPrompt == m_chPrompt) return;
    if (!bRedraw || !GetSafeHwnd()) {
        m_chPrompt = chPrompt;
        return;
    }
    int nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    PadWorkingText();
    CorrectPosition(nStart);
    CorrectPosition(nEnd);
    if (nEnd < nStart) nEnd = nStart;
    m_strDefault.Replace(m_chPrompt, chPrompt);
    m_strWindowText.Replace(m_chPrompt, chPrompt);
    SetWindowText(m_strWindowText);
    SetSel(nStart, nEnd);
    m_chPrompt = chPrompt;
}

void CKLVPropertyGridInplaceEdit::DestroyItem() {
    m_pItem = nullptr;
    m_pGrid = nullptr;
    m_strValue.Empty();
    m_brBack.DeleteObject();
    m_clrBack = COLORREF(-1);
    HideWindow();
}

BOOL CKLVPropertyGridInplaceEdit::SelectConstraint(int nStep, BOOL bCycle) {
    if (!m_pItem || !GetSafeHwnd()) return FALSE;
    CKLVPropertyGridItemConstraints* pConstraints = m_pItem->GetConstraints();
    const int nCount = pConstraints->GetCount();
    CString strText;
    GetWindowText(strText);
    const int nCurrent = pConstraints->FindConstraint(strText);
    if (nCount == 0 || nCurrent < 0) return FALSE;
    int nIndex = nCurrent + nStep;
    if (nIndex >= nCount) nIndex = bCycle ? 0 : nCount - 1;
    if (nIndex < 0) nIndex = bCycle ? nCount - 1 : 0;
    SetWindowText(pConstraints->GetAt(nIndex));
    pConstraints->SetCurrent(nIndex);
    return TRUE;
}

void CKLVPropertyGridInplaceEdit::SelectAllAndScroll() {
    SetSel(0, -1);
    SendMessage(EM_SCROLLCARET);
}

void CKLVPropertyGridInplaceEdit::FocusView() {
    if (AfxGetSafeHwnd(m_pGrid)) m_pGrid->SetFocus();
}

BOOL CKLVPropertyGridInplaceEdit::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && CWnd::PreTranslateMessage(pMsg)) return TRUE;
    return CKLMaskEditT::PreTranslateMessage(pMsg);
}

// TRUE when the key was handled here.
BOOL CKLVPropertyGridInplaceEdit::OnEditKeyDown(UINT nChar, BOOL bSystem) {
    if (!m_pItem) return !bSystem;
    if (bSystem) {
        if (nChar == VK_DOWN || nChar == VK_UP)
            if (CKLVPropertyGridInplaceButton* pButton = m_pItem->GetInplaceButtons()->Find(KLV_IDC_PG_COMBOBUTTON))
                m_pItem->OnInplaceButtonDown(pButton);
        return FALSE;
    }
    switch (nChar) {
    case VK_TAB:
        if (m_pGrid && m_pGrid->m_pGrid) m_pGrid->m_pGrid->Navigate(1, !IsKeyDown(VK_SHIFT), m_pItem);
        return TRUE;
    case VK_ESCAPE:
        m_bCancel = TRUE;
        SetWindowText(m_strValue);
        return TRUE;
    case VK_RETURN: return TRUE;
    case VK_F4:
        if (CKLVPropertyGridInplaceButton* pButton = m_pItem->GetInplaceButtons()->Find(KLV_IDC_PG_COMBOBUTTON))
            m_pItem->OnInplaceButtonDown(pButton);
        return TRUE;
    case VK_DOWN:
    case VK_UP:
        if (!m_pItem->GetReadOnly() && SelectConstraint(nChar == VK_DOWN ? 1 : -1, FALSE)) {
            SelectAllAndScroll();
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

BOOL CKLVPropertyGridInplaceEdit::SelectByFirstChar(UINT nChar) {
    CKLVPropertyGridItemConstraints* pConstraints = m_pItem->GetConstraints();
    const int nCount = pConstraints->GetCount();
    CString strText;
    GetWindowText(strText);
    int nStart = pConstraints->FindConstraint(strText);
    if (nStart < 0) nStart = nCount - 1;
    const int nTyped = ::tolower(static_cast<unsigned char>(nChar));
    for (int nIndex = (nStart + 1) % nCount; nIndex != nStart; nIndex = (nIndex + 1) % nCount) {
        const CString strConstraint = pConstraints->GetAt(nIndex);
        if (strConstraint.IsEmpty() || ::tolower(static_cast<unsigned char>(strConstraint[0])) != nTyped) continue;
        SetWindowText(strConstraint);
        pConstraints->SetCurrent(nIndex);
        SelectAllAndScroll();
        return TRUE;
    }
    return FALSE;
}

// TRUE when the character was handled (or dropped) here.
BOOL CKLVPropertyGridInplaceEdit::OnEditChar(UINT nChar) {
    if (nChar == VK_TAB) return TRUE;
    if (nChar == VK_RETURN) {
        if (GetStyle() & ES_WANTRETURN) return FALSE;
        FocusView();
        return TRUE;
    }
    if (nChar == VK_ESCAPE) {
        FocusView();
        return TRUE;
    }
    if (m_pItem && !m_pItem->GetReadOnly() && m_pItem->m_bConstraintEdit && m_pItem->GetConstraints()->GetCount() > 0) {
        SelectByFirstChar(nChar);
        return TRUE;
    }
    return FALSE;
}

HBRUSH CKLVPropertyGridInplaceEdit::OnCtlColor(HDC hDC) {
    CKLVPropertyGridPaintManager* pPaintManager = m_pGrid ? m_pGrid->GetPaintManager() : nullptr;
    if (!m_pItem || !pPaintManager) return nullptr;
    ::SetTextColor(hDC, pPaintManager->GetItemTextColor(m_pItem, TRUE));
    const COLORREF clrBack = pPaintManager->GetItemBackColor(m_pItem, TRUE);
    if (clrBack != m_clrBack || !m_brBack.GetSafeHandle()) {
        m_brBack.DeleteObject();
        m_brBack.CreateSolidBrush(clrBack);
        m_clrBack = clrBack;
    }
    ::SetBkColor(hDC, clrBack);
    return static_cast<HBRUSH>(m_brBack.GetSafeHandle());
}

BOOL CKLVPropertyGridInplaceEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        HBRUSH hBrush = OnCtlColor(reinterpret_cast<HDC>(wParam));
        if (!hBrush) return CKLMaskEditT::OnChildNotify(message, wParam, lParam, pResult);
        if (pResult) *pResult = reinterpret_cast<LRESULT>(hBrush);
        return TRUE;
    }
    if (message != WM_COMMAND) return CKLMaskEditT::OnChildNotify(message, wParam, lParam, pResult);
    switch (HIWORD(wParam)) {
    case EN_SETFOCUS:
        if (m_pGrid) m_pGrid->Invalidate(FALSE);
        if (m_pItem && !m_pItem->OnRequestEdit()) FocusView();
        m_bCreated = TRUE;
        return TRUE;
    case EN_KILLFOCUS:
        if (m_pItem) m_pItem->OnValidateEdit();
        if (AfxGetSafeHwnd(m_pGrid)) m_pGrid->Invalidate(FALSE);
        return TRUE;
    case EN_CHANGE:
        if (m_bEditMode && m_pItem && m_pItem->GetGrid())
            m_pItem->GetGrid()->SendNotifyMessage(KLV_PGN_EDIT_CHANGED, reinterpret_cast<LPARAM>(this));
        return TRUE;
    default: return CKLMaskEditT::OnChildNotify(message, wParam, lParam, pResult);
    }
}

LRESULT CKLVPropertyGridInplaceEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (OnEditKeyDown(static_cast<UINT>(wParam), message == WM_SYSKEYDOWN)) return 0;
        if (message == WM_KEYDOWN) {
            OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        }
        break;
    case WM_CHAR:
        if (OnEditChar(static_cast<UINT>(wParam))) return 0;
        if (TypePromptAsBlank(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam))) return 0;
        OnChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_LBUTTONUP: {
        const LRESULT nResult = CKLMaskEditT::WindowProc(message, wParam, lParam);
        MoveCaretBehindText();
        return nResult;
    }
    case WM_LBUTTONDBLCLK:
        if (m_pItem && !m_pItem->GetReadOnly() && SelectConstraint(1, TRUE)) {
            FocusView();
            return 0;
        }
        break;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_STYLECHANGED:
        if (wParam == static_cast<WPARAM>(GWL_EXSTYLE)) {
            const auto* pStyles = reinterpret_cast<const STYLESTRUCT*>(lParam);
            if ((pStyles->styleOld ^ pStyles->styleNew) & WS_EX_LAYOUTRTL) {
                HideWindow();
                m_bDelayCreate = TRUE;
            }
        }
        break;
    default: break;
    }
    return CKLMaskEditT::WindowProc(message, wParam, lParam);
}
