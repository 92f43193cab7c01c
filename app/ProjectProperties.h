// The Project Properties dialog: the open project's settings, of which the target platform and
// library type can be changed (the authentication choice is not shown).
#pragma once

#include "app/ProjectSettingsDialog.h"
#include "generator/model/ProjectRecord.h"

class CProjectProperties : public CProjectSettingsDialog {
    DECLARE_DYNAMIC(CProjectProperties)
public:
    CProjectProperties(CWnd* pParent, const CProjectRecord& project);

    // Authentication codes of this dialog: Digest is 2 here, and any code but 0 and 1 means it.
    enum { authNone = 0, authBasic = 1, authDigest = 2 };

    CString m_strName;
    const CProjectRecord& m_project;

    CEdit m_wndName;
    CEdit m_wndLocation;
    CEdit m_wndWsdlPath;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};
