// What the New Project and Project Properties dialogs share: the authentication radios, the
// target platform and library type lists, and the codes they give.
#pragma once

#include "classlib/ClassLib.h"

class CProjectSettingsDialog : public CDialog {
    DECLARE_DYNAMIC(CProjectSettingsDialog)
public:
    // nDigestCode: the authentication code of the Digest radio, which the two dialogs give apart.
    CProjectSettingsDialog(UINT nIDTemplate, CWnd* pParent, int nDigestCode);

    int m_nAuthType = 0;
    int m_nLibraryType = 0;
    int m_nTargetPlatform = 0;

    CButton m_btnNone;
    CButton m_btnBasic;
    CButton m_btnDigest;
    CComboBox m_wndTargetPlatform;
    CComboBox m_wndLibraryType;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnAuthNone();
    afx_msg void OnAuthBasic();
    afx_msg void OnAuthDigest();
    afx_msg void OnTargetPlatformChange();
    afx_msg void OnLibraryTypeChange();

    const int m_nDigestCode;

    DECLARE_MESSAGE_MAP()
};

// The texts of the two lists: platform 0 and 1, library type 0 and 1.
extern const char* const g_lpszWindows;
extern const char* const g_lpszUnix;
extern const char* const g_lpszDllLibrary;
extern const char* const g_lpszStaticLibrary;
