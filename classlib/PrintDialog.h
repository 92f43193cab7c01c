// CPrintDialog: the common Print dialog, or the printer of the system's default settings without
// asking (GetDefaults). The object frees the printer settings and the printer DC the dialog gave.
#pragma once

#include "classlib/Wnd.h"

#include <commdlg.h>

class CPrintDialog : public CCmdTarget {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                          PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    ~CPrintDialog() override;
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // IDOK with a printer chosen (and its DC in m_pd.hDC), IDCANCEL otherwise.
    virtual INT_PTR DoModal();
    // The default printer without the dialog, with its DC; FALSE when there is none.
    BOOL GetDefaults();
    HDC GetPrinterDC() const { return m_pd.hDC; }
    // A DC for the printer the settings name (the dialog's own DC is freed first); null for none.
    HDC CreatePrinterDC();

    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }   // pages from .. to
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

    PRINTDLGA m_pd;

private:
    BOOL Run(DWORD dwExtraFlags);
    void FreeDC();
};
