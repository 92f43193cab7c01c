#include "toolkit/syntaxedit/options/SyntaxEditTipListBox.h"

IMPLEMENT_DYNAMIC(CKLVSyntaxEditTipListBox, CListBox)

void CKLVSyntaxEditTipListBox::PreSubclassWindow() {
    CListBox::PreSubclassWindow();
    m_tip.Attach(m_hWnd, this);
}

LRESULT CKLVSyntaxEditTipListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) m_tip.DetachList();
    LRESULT lResult = 0;
    if (m_tip.GetList() == m_hWnd) m_tip.OnHookMessage(m_hWnd, message, wParam, lParam, lResult);
    return CListBox::WindowProc(message, wParam, lParam);
}

IMPLEMENT_DYNAMIC(CKLVSyntaxEditTipComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CKLVSyntaxEditTipComboBox, CComboBox)
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

HBRUSH CKLVSyntaxEditTipComboBox::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    // The drop-down list asks for its colours when it is first shown.
    if (nCtlColor == CTLCOLOR_LISTBOX && !m_tip.GetList() && pWnd && pWnd->m_hWnd != m_hWnd) m_tip.Hook(pWnd->m_hWnd, this);
    return CComboBox::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CKLVSyntaxEditTipComboBox::OnDestroy() {
    m_tip.DetachList();
    CComboBox::OnDestroy();
}
