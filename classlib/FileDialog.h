// CFileDialog: the common Open and Save As dialogs. The filter is written "Name|*.ext|...||".
#pragma once

#include "classlib/Wnd.h"

#include <commdlg.h>
#include <vector>

class CFileDialog : public CCmdTarget {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);
    ~CFileDialog() override = default;

    // IDOK with a file chosen, IDCANCEL otherwise.
    virtual INT_PTR DoModal();

    CString GetPathName() const { return m_szFileName; }
    CString GetFileName() const;    // without the folder
    CString GetFileExt() const;     // without the dot
    CString GetFileTitle() const;   // without folder and extension

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    std::vector<char> m_filter;     // '\0'-separated, as the dialog wants it
    CString m_strDefExt;
    char m_szFileName[MAX_PATH];
    char m_szFileTitle[MAX_PATH];
};
