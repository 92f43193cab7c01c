#include "toolkit/syntaxedit/view/SyntaxEditGoToLineDlg.h"

#include "toolkit/common/ResourceManager.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <cstdlib>

namespace {

enum { IDC_LABEL = 100, IDC_LINE = 101, IDC_GOTO = 102 };

}  // namespace

BEGIN_MESSAGE_MAP(CKLVSyntaxEditGoToLineDlg, CDialog)
    ON_EN_CHANGE(IDC_LINE, OnLineNumberChange)
    ON_BN_CLICKED(IDC_GOTO, OnGoTo)
END_MESSAGE_MAP()

BOOL CKLVSyntaxEditGoToLineDlg::ShowDialog(CKLVSyntaxEditCtrl* pCtrl, BOOL bSelectText, BOOL bCloseAfterGo) {
    m_pEditCtrl = pCtrl;
    m_bSelectText = bSelectText;
    m_bCloseAfterGo = bCloseAfterGo;
    if (!m_hWnd) {
        LPCDLGTEMPLATE lpTemplate = KLVResourceManager()->LoadDialogTemplate(KLV_IDD_SYNTAXEDIT_GOTOLINE);
        if (!lpTemplate || !CreateIndirect(lpTemplate, pCtrl && pCtrl->m_hWnd ? pCtrl : nullptr)) return FALSE;
        UpdateData(FALSE);
        if (m_ptPosition == CPoint(-1, -1) && pCtrl && pCtrl->m_hWnd) {
            CRect rcCtrl, rcDialog;
            pCtrl->GetWindowRect(&rcCtrl);
            GetWindowRect(&rcDialog);
            m_ptPosition = CPoint(rcCtrl.left + (rcCtrl.Width() - rcDialog.Width()) / 2,
                                  rcCtrl.top + (rcCtrl.Height() - rcDialog.Height()) / 2);
        }
        SetWindowPos(nullptr, m_ptPosition.x, m_ptPosition.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(SW_SHOW);
    } else {
        ShowWindow(SW_RESTORE);
        BringWindowToTop();
        SetForegroundWindow();
    }
    SelectEditText();
    return TRUE;
}

void CKLVSyntaxEditGoToLineDlg::SelectEditText() {
    if (!m_edit.m_hWnd) return;
    m_edit.SetFocus();
    m_edit.SendMessage(EM_SETSEL, 0, -1);
    m_edit.SendMessage(EM_SCROLLCARET);
}

BOOL CKLVSyntaxEditGoToLineDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_nLastLine = m_pEditCtrl ? m_pEditCtrl->GetRowCount() : 0;
    m_nLineNumber = m_pEditCtrl ? m_pEditCtrl->GetCurRow() : 0;
    CString strFormat;
    KLVResourceManager()->LoadString(&strFormat, KLV_IDS_SYNTAXEDIT_GOTOLINE_LABEL);
    m_strLabel.Format(strFormat, m_nLastLine);
    UpdateData(FALSE);
    return TRUE;
}

void CKLVSyntaxEditGoToLineDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_LABEL, m_strLabel);
    DDX_Control(pDX, IDC_LINE, m_edit);
    if (!pDX->m_bSaveAndValidate) DDX_Text(pDX, IDC_LINE, m_nLineNumber);
}

void CKLVSyntaxEditGoToLineDlg::OnLineNumberChange() {
    // Read as typed: an empty or partial edit is not an error, it counts as 0 (row 1).
    CString strText;
    m_edit.GetWindowText(strText);
    m_nLineNumber = std::atoi(strText);
}

void CKLVSyntaxEditGoToLineDlg::OnGoTo() {
    const int nLine = m_nLineNumber > m_nLastLine ? m_nLastLine : m_nLineNumber < 1 ? 1 : m_nLineNumber;
    if (nLine != m_nLineNumber) {
        m_nLineNumber = nLine;
        UpdateData(FALSE);
    }
    if (m_pEditCtrl && m_pEditCtrl->GetBuffer() && m_nLastLine >= 1) m_pEditCtrl->SelectRow(nLine, m_bSelectText);
    if (m_bCloseAfterGo)
        OnCancel();
    else if (!m_bSelectText && m_pEditCtrl && m_pEditCtrl->m_hWnd)
        m_pEditCtrl->SetFocus();
    else
        SelectEditText();
}

BOOL CKLVSyntaxEditGoToLineDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        OnGoTo();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CKLVSyntaxEditGoToLineDlg::OnCancel() {
    if (!m_hWnd) return;
    CRect rc;
    GetWindowRect(&rc);
    m_ptPosition = rc.TopLeft();
    DestroyWindow();
}

void CKLVSyntaxEditGoToLineDlg::PostNcDestroy() {
    // The object belongs to its view and outlives the window.
}
