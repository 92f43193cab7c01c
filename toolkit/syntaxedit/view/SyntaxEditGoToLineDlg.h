// The syntax editor's modeless Go To Line dialog: a line number, clamped to the text's rows,
// moves the owning edit control's caret there.
#pragma once

#include "classlib/ClassLib.h"

class CKLVSyntaxEditCtrl;

class CKLVSyntaxEditGoToLineDlg : public CDialog {
public:
    CKLVSyntaxEditGoToLineDlg() noexcept = default;

    // Shows the dialog for the control, or brings the open one forward; the edit's text is
    // selected either way. FALSE when the window cannot be made.
    BOOL ShowDialog(CKLVSyntaxEditCtrl* pCtrl, BOOL bSelectText = FALSE, BOOL bCloseAfterGo = TRUE);
    // To the line number, clamped to 1 and the last line (the edit shows the clamped value).
    void OnGoTo();

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    int m_nLineNumber = 0;
    int m_nLastLine = 0;
    BOOL m_bCloseAfterGo = TRUE;
    BOOL m_bSelectText = FALSE;
    CPoint m_ptPosition{-1, -1};
    CKLVSyntaxEditCtrl* m_pEditCtrl = nullptr;
    CString m_strLabel;
    CEdit m_edit;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;
    void PostNcDestroy() override;
    void SelectEditText();

    afx_msg void OnLineNumberChange();
    DECLARE_MESSAGE_MAP()
};
