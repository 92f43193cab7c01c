#include "classlib/FileDialog.h"

#include "classlib/WinApp.h"

IMPLEMENT_DYNAMIC(CFileDialog, CCmdTarget)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt), m_szFileName(), m_szFileTitle() {
    if (lpszFileName) lstrcpynA(m_szFileName, lpszFileName, sizeof m_szFileName);
    if (lpszFilter) {
        for (const char* p = lpszFilter; *p; ++p) m_filter.push_back(*p == '|' ? '\0' : *p);
        m_filter.push_back('\0');
        m_filter.push_back('\0');
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = AfxGetSafeHwnd(pParentWnd);
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.data();
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_strDefExt);
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal() {
    if (!m_ofn.hwndOwner) {
        CWnd* pMain = AfxGetMainWnd();
        m_ofn.hwndOwner = AfxGetSafeHwnd(pMain);
    }
    const BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return bResult ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const {
    CString strPath = m_szFileName;
    const int nSlash = strPath.ReverseFind('\\');
    return nSlash < 0 ? strPath : strPath.Mid(nSlash + 1);
}

CString CFileDialog::GetFileExt() const {
    CString strName = GetFileName();
    const int nDot = strName.ReverseFind('.');
    return nDot < 0 ? CString() : strName.Mid(nDot + 1);
}

CString CFileDialog::GetFileTitle() const {
    CString strName = GetFileName();
    const int nDot = strName.ReverseFind('.');
    return nDot < 0 ? strName : strName.Left(nDot);
}
