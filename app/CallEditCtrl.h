// The call window's XML editors. In a dialog they keep Enter, Tab and the arrows for the text
// (the dialog would take them for its buttons and focus); the answer's editor may be read-only.
#pragma once

#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

class CCallEditCtrl : public CKLVSyntaxEditCtrl {
public:
    void SetReadOnly(BOOL bReadOnly) { m_bReadOnly = bReadOnly; }
    BOOL CanEdit() override { return !m_bReadOnly && CKLVSyntaxEditCtrl::CanEdit(); }

protected:
    afx_msg UINT OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB; }
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bReadOnly = FALSE;
};
