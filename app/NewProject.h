// The New Project dialog: the WSDL document, target platform, library type, name and folder of
// a new project; on OK its fields hold what File New puts into the project record.
#pragma once

#include "app/ProjectSettingsDialog.h"
#include "app/ProjectNameEdit.h"

class CNewProject : public CProjectSettingsDialog {
    DECLARE_DYNAMIC(CNewProject)
public:
    explicit CNewProject(CWnd* pParent = nullptr);

    // Authentication codes of this dialog: Digest is 3 here.
    enum { authNone = 0, authBasic = 1, authDigest = 3 };

    CString m_strWsdlPath;
    CString m_strName;
    CString m_strLocation;
    CWnd* m_pMainFrame = nullptr;

    CEdit m_wndWsdlPath;
    CButton m_btnImport;
    CProjectNameEdit m_wndName;
    CEdit m_wndLocation;
    CButton m_btnLocation;
    CButton m_btnOK;

    BOOL OnInitDialog() override;

    // Where the folder picker starts: the location chosen, else the folder picked last (kept in
    // the profile), else the picker's own start.
    CString GetPickerStartFolder() const;
    // The folder picked becomes the location and the picker's next start.
    void UsePickedFolder(CString strPath);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    afx_msg void OnImport();
    afx_msg void OnBrowseLocation();
    DECLARE_MESSAGE_MAP()
};
