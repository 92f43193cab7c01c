// The view's side of find and replace: the dialog shown with the text at the caret, Find Next
// from the caret, and Replace All as one undo step.
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <algorithm>

int CKLVSyntaxEditView::ReplaceAll(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bWholeWord, BOOL bMatchCase) {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    if (!lpszFind || !*lpszFind || !pCtrl->GetBuffer()) return 0;
    const int nTopRow = pCtrl->GetTopRow(), nRow = pCtrl->GetCurRow(), nCol = pCtrl->GetCurCol();
    CWaitCursor wait;
    pCtrl->SetCurPos(1, 1, FALSE, FALSE);
    CKLVSyntaxEditUndoManager* pUndo = pCtrl->GetBuffer()->GetUndoManager();
    pUndo->SetGroupInsertMode(FALSE);
    int nCount = 0;
    // Each search goes on after the text just put in, which is never searched again.
    while (pCtrl->GetCurRow() <= pCtrl->GetRowCount() && pCtrl->Find(lpszFind, bWholeWord, bMatchCase, TRUE, FALSE)) {
        if (!pCtrl->ReplaceSelection(lpszReplace, FALSE)) break;
        if (nCount > 0) pUndo->ChainLastCommand();
        ++nCount;
    }
    if (nCount > 0) pUndo->SetLastCommandText(KLV_IDS_SYNTAXEDIT_REPLACEALL);
    pCtrl->SetTopRow(std::min(nTopRow, std::max(pCtrl->GetRowCount(), 1)));
    pCtrl->SetCurPos(nRow, nCol, FALSE, FALSE);
    pCtrl->UpdateScrollBars();
    return nCount;
}

CString CKLVSyntaxEditView::GetInitialFindText() {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    CString strText;
    if (!pCtrl->IsSelectionExist() && pCtrl->m_hWnd) {
        CPoint pt;
        ::GetCaretPos(&pt);
        pCtrl->SelectWordAt(CPoint(pt.x, pt.y + 2));
    }
    pCtrl->GetSelectedText(strText);
    const int nLineEnd = strText.Find("\r\n");
    if (nLineEnd >= 0) strText = strText.Left(nLineEnd);
    strText.Replace("\t", "    ");
    return strText;
}

void CKLVSyntaxEditView::ShowFindDialog(BOOL bReplace) {
    const CString strText = GetInitialFindText();
    if (!strText.IsEmpty()) m_dlgFindReplace.m_strFindText = strText;
    m_dlgFindReplace.ShowDialog(this, bReplace);
}

void CKLVSyntaxEditView::OnEditFind() {
    ShowFindDialog(FALSE);
}

void CKLVSyntaxEditView::OnEditReplace() {
    ShowFindDialog(TRUE);
}

void CKLVSyntaxEditView::OnEditRepeat() {
    m_dlgFindReplace.m_pOwner = this;
    m_dlgFindReplace.FindAgain();
}

void CKLVSyntaxEditView::OnUpdateEditRepeat(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_dlgFindReplace.m_strFindText.IsEmpty());
}
