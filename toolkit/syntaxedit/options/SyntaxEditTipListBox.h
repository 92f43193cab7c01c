// A list box and a combo box that show a tip over the item under the pointer (the list box from
// the moment it is attached to its window, the combo box once its drop-down list asks for its
// colours), and tell their selection handlers whether the last click changed the selection.
#pragma once

#include "toolkit/syntaxedit/options/SyntaxEditListBoxTipWnd.h"

class CKLVSyntaxEditTipListBox : public CListBox {
    DECLARE_DYNAMIC(CKLVSyntaxEditTipListBox)
public:
    CKLVSyntaxEditListBoxTipWnd& GetTip() { return m_tip; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CKLVSyntaxEditListBoxTipWnd m_tip;
};

class CKLVSyntaxEditTipComboBox : public CComboBox {
    DECLARE_DYNAMIC(CKLVSyntaxEditTipComboBox)
public:
    CKLVSyntaxEditListBoxTipWnd& GetTip() { return m_tip; }

protected:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CKLVSyntaxEditListBoxTipWnd m_tip;
};
