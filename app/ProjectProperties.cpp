#include "app/ProjectProperties.h"

#include "app/ErrorBox.h"
#include "app/res/Resource.h"

IMPLEMENT_DYNAMIC(CProjectProperties, CProjectSettingsDialog)

CProjectProperties::CProjectProperties(CWnd* pParent, const CProjectRecord& project)
    : CProjectSettingsDialog(IDD_PROJECT_PROPERTIES, pParent, authDigest), m_project(project) {}

void CProjectProperties::DoDataExchange(CDataExchange* pDX) {
    CProjectSettingsDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NAME, m_wndName);
    DDX_Control(pDX, IDC_LOCATION, m_wndLocation);
    DDX_Control(pDX, IDC_WSDL_FILE, m_wndWsdlPath);
}

namespace {

// The current choice first and selected, the other after it.
int FillChoice(CComboBox& combo, BOOL bSecond, LPCSTR lpszFirst, LPCSTR lpszSecond) {
    combo.SetCurSel(combo.AddString(bSecond ? lpszSecond : lpszFirst));
    combo.AddString(bSecond ? lpszFirst : lpszSecond);
    return bSecond ? 1 : 0;
}

}  // namespace

BOOL CProjectProperties::OnInitDialog() {
    CProjectSettingsDialog::OnInitDialog();
    switch (m_project.authType) {
    case authNone: m_btnNone.SetCheck(BST_CHECKED); m_nAuthType = authNone; break;
    case authBasic: m_btnBasic.SetCheck(BST_CHECKED); m_nAuthType = authBasic; break;
    default: m_btnDigest.SetCheck(BST_CHECKED); m_nAuthType = authDigest; break;
    }
    m_nTargetPlatform = FillChoice(m_wndTargetPlatform, m_project.targetPlatform == CProjectRecord::Unix,
                                   g_lpszWindows, g_lpszUnix);
    m_nLibraryType = FillChoice(m_wndLibraryType, m_project.libraryType == CProjectRecord::StaticLibrary,
                                g_lpszDllLibrary, g_lpszStaticLibrary);
    m_wndName.SetWindowText(m_project.name.c_str());
    m_wndLocation.SetWindowText(m_project.location.c_str());
    m_wndWsdlPath.SetWindowText(m_project.wsdlPath.c_str());
    return TRUE;
}

void CProjectProperties::OnOK() {
    m_wndName.GetWindowText(m_strName);
    if (m_strName.IsEmpty()) {
        ShowErrorBox(this, "please input a protocol name!");
        return;
    }
    CProjectSettingsDialog::OnOK();
}
