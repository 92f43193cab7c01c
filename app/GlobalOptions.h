// The "Global Options" page of the Options dialog: the path of vcvars32.bat, chosen with the
// browse button only, which compiler builds, the path of the mingw-w64 gcc, and the XML catalog
// file that fetching consults first.
#pragma once

#include "app/FlatBorder.h"

class CMainFrame;

class CGlobalOptions : public CKLVFlatBorder<CFormView> {
    DECLARE_DYNCREATE(CGlobalOptions)
public:
    CGlobalOptions();

    CButton m_btnAuto;
    CEdit m_wndPath;
    CButton m_btnBrowse;
    CString m_strPath;
    CComboBox m_cboCompiler;   // entry 0 Visual C++, 1 mingw-w64 gcc
    CEdit m_wndGccPath;
    CButton m_btnGccBrowse;
    CEdit m_wndXmlCatalog;
    CButton m_btnXmlCatalogBrowse;

    void OnInitialUpdate() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CMainFrame* GetMainFrame() const;

    afx_msg void OnAuto();
    afx_msg void OnBrowse();
    afx_msg void OnBrowseGcc();
    afx_msg void OnBrowseXmlCatalog();
    DECLARE_MESSAGE_MAP()
};
