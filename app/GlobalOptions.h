// The "Global Options" page of the Options dialog: the path of vcvars32.bat, chosen with the
// browse button only.
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

    void OnInitialUpdate() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CMainFrame* GetMainFrame() const;

    afx_msg void OnAuto();
    afx_msg void OnBrowse();
    DECLARE_MESSAGE_MAP()
};
