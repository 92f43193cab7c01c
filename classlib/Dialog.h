// CDialog: a dialog box from a resource template or a template in memory, run modal (DoModal)
// or modeless (Create, CreateIndirect). Its messages pass the message map first and the dialog
// manager after; OnInitDialog and OnOK move the controls' values in and out through
// DoDataExchange (UpdateData), and OnOK keeps the dialog open when a value is refused.
#pragma once

#include "classlib/Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() noexcept = default;
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override = default;

    // A modal dialog from a template in memory (it must outlive DoModal).
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
    // IDOK, IDCANCEL or what EndDialog was given; -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    // Modeless dialogs.
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();   // UpdateData(FALSE); TRUE: the first control gets the focus
    virtual void OnOK();           // UpdateData(TRUE), then EndDialog(IDOK)
    virtual void OnCancel();       // EndDialog(IDCANCEL)

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
    void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
    BOOL PreTranslateMessage(MSG* pMsg) override;   // dialog keys of a modeless dialog

    LPCTSTR m_lpszTemplateName = nullptr;
    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;
    UINT m_nIDHelp = 0;

protected:
    // Makes the dialog window; the hook attaches it to this object before its first message.
    BOOL CreateFromTemplate(LPCDLGTEMPLATE lpTemplate, CWnd* pParentWnd);

    afx_msg void OnOKCommand() { OnOK(); }
    afx_msg void OnCancelCommand() { OnCancel(); }
    DECLARE_MESSAGE_MAP()

protected:
    BOOL m_bModal = FALSE;
};

// The dialog procedure of library dialogs: WM_INITDIALOG calls OnInitDialog.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// The dialog template of a resource name or id; null when the program has none.
LPCDLGTEMPLATE AfxLoadDialogTemplate(LPCTSTR lpszTemplateName);
// The window style a template asks for (either template form).
DWORD AfxGetDialogTemplateStyle(LPCDLGTEMPLATE lpTemplate);
// Makes pWnd's window from a template, modeless, attached to pWnd before its first message; FALSE
// when pWnd has a window already or the system made none.
BOOL AfxCreateDialogWindow(CWnd* pWnd, LPCDLGTEMPLATE lpTemplate, CWnd* pParentWnd);
