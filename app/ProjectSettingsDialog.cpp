#include "app/ProjectSettingsDialog.h"

#include "app/res/Resource.h"

const char* const g_lpszWindows = "Windows";
const char* const g_lpszUnix = "Unix(Linux)";
const char* const g_lpszDllLibrary = "dll library";
const char* const g_lpszStaticLibrary = "static library";

namespace {

// The code of the list's selected text: 0 for lpszZeroText, else 1.
int SelectedCode(CComboBox& combo, LPCSTR lpszZeroText) {
    CString strText;
    const int nSel = combo.GetCurSel();
    if (nSel >= 0) combo.GetLBText(nSel, strText);
    return strText == lpszZeroText ? 0 : 1;
}

}  // namespace

IMPLEMENT_DYNAMIC(CProjectSettingsDialog, CDialog)

BEGIN_MESSAGE_MAP(CProjectSettingsDialog, CDialog)
    ON_BN_CLICKED(IDC_AUTH_NONE, OnAuthNone)
    ON_BN_CLICKED(IDC_AUTH_BASIC, OnAuthBasic)
    ON_BN_CLICKED(IDC_AUTH_DIGEST, OnAuthDigest)
    ON_CBN_SELCHANGE(IDC_TARGET_PLATFORM, OnTargetPlatformChange)
    ON_CBN_SELCHANGE(IDC_LIBRARY_TYPE, OnLibraryTypeChange)
END_MESSAGE_MAP()

CProjectSettingsDialog::CProjectSettingsDialog(UINT nIDTemplate, CWnd* pParent, int nDigestCode)
    : CDialog(nIDTemplate, pParent), m_nDigestCode(nDigestCode) {}

void CProjectSettingsDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_AUTH_NONE, m_btnNone);
    DDX_Control(pDX, IDC_AUTH_BASIC, m_btnBasic);
    DDX_Control(pDX, IDC_AUTH_DIGEST, m_btnDigest);
    DDX_Control(pDX, IDC_TARGET_PLATFORM, m_wndTargetPlatform);
    DDX_Control(pDX, IDC_LIBRARY_TYPE, m_wndLibraryType);
}

void CProjectSettingsDialog::OnAuthNone() {
    m_nAuthType = 0;
}

void CProjectSettingsDialog::OnAuthBasic() {
    m_nAuthType = 1;
}

void CProjectSettingsDialog::OnAuthDigest() {
    m_nAuthType = m_nDigestCode;
}

void CProjectSettingsDialog::OnTargetPlatformChange() {
    m_nTargetPlatform = SelectedCode(m_wndTargetPlatform, g_lpszWindows);
}

void CProjectSettingsDialog::OnLibraryTypeChange() {
    m_nLibraryType = SelectedCode(m_wndLibraryType, g_lpszDllLibrary);
}
