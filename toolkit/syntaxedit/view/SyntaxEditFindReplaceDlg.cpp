#include "toolkit/syntaxedit/view/SyntaxEditFindReplaceDlg.h"

#include "toolkit/common/ResourceManager.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

#include <algorithm>

namespace {

const char kSection[] = "Settings";

enum {
    IDC_REPLACE_TEXT = 100,
    IDC_FIND_TEXT = 101,
    IDC_SEARCH_DOWN = 102,
    IDC_SEARCH_UP = 103,
    IDC_MATCH_CASE = 104,
    IDC_WHOLE_WORD = 105,
    IDC_FIND_NEXT = 106,
    IDC_REPLACE = 107,
    IDC_REPLACE_ALL = 108
};

CString ToolkitString(UINT nID) {
    CString str;
    KLVResourceManager()->LoadString(&str, nID);
    return str;
}

}  // namespace

BEGIN_MESSAGE_MAP(CKLVSyntaxEditFindReplaceDlg, CDialog)
    ON_CONTROL(CBN_EDITCHANGE, IDC_FIND_TEXT, OnFindTextChange)
    ON_CONTROL(CBN_EDITCHANGE, IDC_REPLACE_TEXT, OnFindTextChange)
    ON_CBN_SELCHANGE(IDC_FIND_TEXT, OnFindSelChange)
    ON_CBN_SELCHANGE(IDC_REPLACE_TEXT, OnReplaceSelChange)
    ON_BN_CLICKED(IDC_FIND_NEXT, FindNext)
    ON_BN_CLICKED(IDC_REPLACE, Replace)
    ON_BN_CLICKED(IDC_REPLACE_ALL, ReplaceAll)
    ON_BN_CLICKED(IDC_WHOLE_WORD, OnMatchWholeWord)
    ON_BN_CLICKED(IDC_MATCH_CASE, OnMatchCase)
    ON_BN_CLICKED(IDC_SEARCH_UP, OnDirectionUp)
    ON_BN_CLICKED(IDC_SEARCH_DOWN, OnDirectionDown)
END_MESSAGE_MAP()

CKLVSyntaxEditCtrl* CKLVSyntaxEditFindReplaceDlg::GetEditCtrl() const {
    return m_pOwner ? m_pOwner->GetEditCtrl() : nullptr;
}

BOOL CKLVSyntaxEditFindReplaceDlg::ShowDialog(CKLVSyntaxEditView* pOwner, BOOL bReplace) {
    m_pOwner = pOwner;
    if (!pOwner || !pOwner->GetSafeHwnd()) return FALSE;
    if (m_hWnd && bReplace != m_bReplaceMode) CloseDialog();   // the other form is asked for
    m_bReplaceMode = bReplace;
    if (!m_hWnd) {
        LPCDLGTEMPLATE lpTemplate =
            KLVResourceManager()->LoadDialogTemplate(bReplace ? KLV_IDD_SYNTAXEDIT_FINDREPLACE : KLV_IDD_SYNTAXEDIT_FIND);
        if (!lpTemplate || !CreateIndirect(lpTemplate, pOwner)) return FALSE;
        LoadSettings();
        UpdateData(FALSE);
        UpdateButtons();
        ::CheckRadioButton(m_hWnd, IDC_SEARCH_DOWN, IDC_SEARCH_UP, m_nSearchDirection == 0 ? IDC_SEARCH_UP : IDC_SEARCH_DOWN);
        SetWindowPos(nullptr, m_ptPosition.x, m_ptPosition.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(SW_SHOW);
    } else {
        UpdateData(FALSE);
        UpdateButtons();
        ShowWindow(SW_RESTORE);
        BringWindowToTop();
        SetForegroundWindow();
    }
    m_cmbFind.SetFocus();
    m_cmbFind.SetEditSel(0, -1);
    return TRUE;
}

void CKLVSyntaxEditFindReplaceDlg::CloseDialog() {
    OnCancel();
}

void CKLVSyntaxEditFindReplaceDlg::OnCancel() {
    SaveSettings();
    if (m_hWnd) DestroyWindow();
}

void CKLVSyntaxEditFindReplaceDlg::PostNcDestroy() {
    // The object belongs to its view and outlives the window.
}

void CKLVSyntaxEditFindReplaceDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_FIND_TEXT, m_strFindText);
    DDX_Check(pDX, IDC_MATCH_CASE, m_bMatchCase);
    DDX_Check(pDX, IDC_WHOLE_WORD, m_bMatchWholeWord);
    DDX_Control(pDX, IDC_FIND_TEXT, m_cmbFind);
    DDX_Control(pDX, IDC_FIND_NEXT, m_btnFindNext);
    DDX_Control(pDX, IDC_SEARCH_UP, m_btnSearchUp);
    DDX_Control(pDX, IDC_SEARCH_DOWN, m_btnSearchDown);
    if (!m_bReplaceMode) return;
    DDX_Text(pDX, IDC_REPLACE_TEXT, m_strReplaceText);
    DDX_Control(pDX, IDC_REPLACE, m_btnReplace);
    DDX_Control(pDX, IDC_REPLACE_ALL, m_btnReplaceAll);
    DDX_Control(pDX, IDC_REPLACE_TEXT, m_cmbReplace);
}

void CKLVSyntaxEditFindReplaceDlg::LoadHistory(CWinApp* pApp, CComboBox& combo, LPCSTR lpszCountKey,
                                               LPCSTR lpszEntryKey) {
    if (!combo.m_hWnd) return;
    const int nCount = std::min(static_cast<int>(pApp->GetProfileInt(kSection, lpszCountKey, 0)), int(kMaxHistory));
    for (int i = 0; i < nCount; ++i) {
        CString strKey;
        strKey.Format(lpszEntryKey, i);
        const CString strEntry = pApp->GetProfileString(kSection, strKey);
        if (strEntry.IsEmpty()) break;   // a list cut short ends here
        AddToHistory(combo, strEntry);
    }
}

void CKLVSyntaxEditFindReplaceDlg::SaveHistory(CWinApp* pApp, CComboBox& combo, LPCSTR lpszCountKey,
                                               LPCSTR lpszEntryKey) {
    if (!combo.m_hWnd) return;
    // The latest entries are the last ones.
    const int nCount = combo.GetCount(), nFirst = std::max(nCount - int(kMaxHistory), 0);
    pApp->WriteProfileInt(kSection, lpszCountKey, nCount - nFirst);
    for (int i = nFirst; i < nCount; ++i) {
        CString strKey, strEntry;
        strKey.Format(lpszEntryKey, i - nFirst);
        combo.GetLBText(i, strEntry);
        pApp->WriteProfileString(kSection, strKey, strEntry);
    }
}

void CKLVSyntaxEditFindReplaceDlg::LoadSettings() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return;
    m_bMatchWholeWord = pApp->GetProfileInt(kSection, "MatchWholeWord", m_bMatchWholeWord);
    m_bMatchCase = pApp->GetProfileInt(kSection, "MatchCase", m_bMatchCase);
    m_nSearchDirection = pApp->GetProfileInt(kSection, "SearchDirection", m_nSearchDirection) ? 1 : 0;
    LoadHistory(pApp, m_cmbFind, "FindHistoryCount", "FindHistory_%d");
    LoadHistory(pApp, m_cmbReplace, "ReplaceHistoryCount", "ReplaceHistory_%d");
    if (m_hWnd && m_ptPosition == CPoint(-1, -1) && m_pOwner && m_pOwner->GetSafeHwnd()) {
        CRect rcOwner, rcDialog;
        m_pOwner->GetWindowRect(&rcOwner);
        GetWindowRect(&rcDialog);
        m_ptPosition = CPoint(rcOwner.left + (rcOwner.Width() - rcDialog.Width()) / 2,
                              rcOwner.top + (rcOwner.Height() - rcDialog.Height()) / 2);
    }
}

void CKLVSyntaxEditFindReplaceDlg::SaveSettings() {
    CWinApp* pApp = AfxGetApp();
    if (pApp) {
        pApp->WriteProfileInt(kSection, "MatchWholeWord", m_bMatchWholeWord);
        pApp->WriteProfileInt(kSection, "MatchCase", m_bMatchCase);
        pApp->WriteProfileInt(kSection, "SearchDirection", m_nSearchDirection);
        SaveHistory(pApp, m_cmbFind, "FindHistoryCount", "FindHistory_%d");
        SaveHistory(pApp, m_cmbReplace, "ReplaceHistoryCount", "ReplaceHistory_%d");
    }
    if (m_hWnd) {
        CRect rc;
        GetWindowRect(&rc);
        m_ptPosition = rc.TopLeft();
    }
}

void CKLVSyntaxEditFindReplaceDlg::AddToHistory(CComboBox& combo, const CString& strText) {
    if (!combo.m_hWnd || strText.IsEmpty()) return;
    // The combo box's own search ignores case: the entries are compared here.
    for (int i = 0; i < combo.GetCount(); ++i) {
        CString strEntry;
        combo.GetLBText(i, strEntry);
        if (strEntry == strText) return;
    }
    combo.AddString(strText);
}

void CKLVSyntaxEditFindReplaceDlg::UpdateButtons() {
    if (m_btnFindNext.m_hWnd) m_btnFindNext.EnableWindow(!m_strFindText.IsEmpty());
    if (!m_bReplaceMode) return;
    if (m_btnReplace.m_hWnd) m_btnReplace.EnableWindow(!m_strReplaceText.IsEmpty());
    if (m_btnReplaceAll.m_hWnd) m_btnReplaceAll.EnableWindow(!m_strReplaceText.IsEmpty());
}

void CKLVSyntaxEditFindReplaceDlg::FindAgain() {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    if (!pCtrl) return;
    if (!pCtrl->Find(m_strFindText, m_bMatchWholeWord, m_bMatchCase, m_nSearchDirection == 1, TRUE)) {
        AfxMessageBox(ToolkitString(KLV_IDS_SYNTAXEDIT_FINISHED), MB_ICONINFORMATION);
    } else if (pCtrl->m_hWnd) {
        pCtrl->SetDirtyRow(-1);
        pCtrl->Invalidate(FALSE);
    }
}

void CKLVSyntaxEditFindReplaceDlg::FindNext() {
    if (!GetEditCtrl()) return;
    FindAgain();
    AddToHistory(m_cmbFind, m_strFindText);
}

void CKLVSyntaxEditFindReplaceDlg::Replace() {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    if (!pCtrl) return;
    CString strSelected;
    pCtrl->GetSelectedText(strSelected);
    const BOOL bSame = m_bMatchCase ? strSelected == m_strFindText : strSelected.CompareNoCase(m_strFindText) == 0;
    if (pCtrl->IsSelectionExist() && bSame) pCtrl->ReplaceSelection(m_strReplaceText, TRUE);
    FindAgain();
    AddToHistory(m_cmbReplace, m_strReplaceText);
}

void CKLVSyntaxEditFindReplaceDlg::ReplaceAll() {
    if (!m_pOwner) return;
    const int nCount = m_pOwner->ReplaceAll(m_strFindText, m_strReplaceText, m_bMatchWholeWord, m_bMatchCase);
    m_pOwner->Refresh();
    CString strMessage;
    strMessage.Format(ToolkitString(KLV_IDS_SYNTAXEDIT_REPLACED), nCount);
    AfxMessageBox(strMessage, MB_ICONINFORMATION);
    AddToHistory(m_cmbReplace, m_strReplaceText);
}

BOOL CKLVSyntaxEditFindReplaceDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        UpdateData(TRUE);
        // Only the Replace form replaces: text left from an earlier Replace form does not
        // turn Enter in the Find form into a replacement.
        if (m_bReplaceMode && !m_strReplaceText.IsEmpty())
            Replace();
        else if (!m_strFindText.IsEmpty())
            FindNext();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CKLVSyntaxEditFindReplaceDlg::OnFindTextChange() {
    UpdateData(TRUE);
    UpdateButtons();
}

void CKLVSyntaxEditFindReplaceDlg::OnFindSelChange() {
    const int nSel = m_cmbFind.GetCurSel();
    if (nSel >= 0) m_cmbFind.GetLBText(nSel, m_strFindText);
    UpdateButtons();
}

void CKLVSyntaxEditFindReplaceDlg::OnReplaceSelChange() {
    const int nSel = m_cmbReplace.GetCurSel();
    if (nSel >= 0) m_cmbReplace.GetLBText(nSel, m_strReplaceText);
    UpdateButtons();
}

void CKLVSyntaxEditFindReplaceDlg::OnMatchWholeWord() {
    m_bMatchWholeWord = !m_bMatchWholeWord;
}

void CKLVSyntaxEditFindReplaceDlg::OnMatchCase() {
    m_bMatchCase = !m_bMatchCase;
}

void CKLVSyntaxEditFindReplaceDlg::OnDirectionUp() {
    m_nSearchDirection = 0;
}

void CKLVSyntaxEditFindReplaceDlg::OnDirectionDown() {
    m_nSearchDirection = 1;
}
