#include "app/NewProject.h"

#include "app/ErrorBox.h"
#include "app/FolderPicker.h"
#include "app/res/Resource.h"



IMPLEMENT_DYNAMIC(CNewProject, CProjectSettingsDialog)

BEGIN_MESSAGE_MAP(CNewProject, CProjectSettingsDialog)
    ON_BN_CLICKED(IDC_IMPORT, OnImport)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowseLocation)
END_MESSAGE_MAP()

CNewProject::CNewProject(CWnd* pParent) : CProjectSettingsDialog(IDD_NEW_PROJECT, pParent, authDigest) {}

void CNewProject::DoDataExchange(CDataExchange* pDX) {
    CProjectSettingsDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WSDL_FILE, m_wndWsdlPath);
    DDX_Control(pDX, IDC_IMPORT, m_btnImport);
    DDX_Control(pDX, IDC_NAME, m_wndName);
    DDX_Control(pDX, IDC_LOCATION, m_wndLocation);
    DDX_Control(pDX, IDC_BROWSE, m_btnLocation);
    DDX_Control(pDX, IDOK, m_btnOK);
    m_pMainFrame = AfxGetMainWnd();
}

BOOL CNewProject::OnInitDialog() {
    CProjectSettingsDialog::OnInitDialog();
    m_wndName.SetEditMask("LAAAAAAAAAAAAAA", "_______________", nullptr);
    m_wndName.SetHintID(IDC_NAME_HINT);
    m_nAuthType = authNone;
    m_btnNone.SetCheck(BST_CHECKED);
    // The lists sort their entries: the selection follows the index each entry got.
    m_nTargetPlatform = 0;
    m_wndTargetPlatform.SetCurSel(m_wndTargetPlatform.AddString(g_lpszWindows));
    m_wndTargetPlatform.AddString(g_lpszUnix);
    m_nLibraryType = 0;
    m_wndLibraryType.SetCurSel(m_wndLibraryType.AddString(g_lpszDllLibrary));
    m_wndLibraryType.AddString(g_lpszStaticLibrary);
    return TRUE;
}

void CNewProject::OnImport() {
    CFileDialog dlg(TRUE, "wsdl", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "WSDL File(*.wsdl)|*.wsdl||", this);
    if (dlg.DoModal() == IDOK && !dlg.GetPathName().IsEmpty()) m_wndWsdlPath.SetWindowText(dlg.GetPathName());
}

namespace {

const char* const kProfileSection = "Settings";
const char* const kLastFolderEntry = "LastProjectFolder";

}  // namespace

CString CNewProject::GetPickerStartFolder() const {
    CString strFolder;
    if (m_wndLocation.GetSafeHwnd()) m_wndLocation.GetWindowText(strFolder);
    if (strFolder.IsEmpty()) strFolder = AfxGetApp()->GetProfileString(kProfileSection, kLastFolderEntry, "");
    return strFolder;
}

void CNewProject::UsePickedFolder(CString strPath) {
    if (strPath.IsEmpty() || strPath[strPath.GetLength() - 1] != '\\') strPath += '\\';
    m_wndLocation.SetWindowText(strPath);
    AfxGetApp()->WriteProfileString(kProfileSection, kLastFolderEntry, strPath);
}

void CNewProject::OnBrowseLocation() {
    std::string strFailure;
    const std::string strPicked = PickFolder(m_hWnd, static_cast<LPCSTR>(GetPickerStartFolder()),
                                             L"please select a location", nullptr, strFailure);
    if (!strPicked.empty()) UsePickedFolder(strPicked.c_str());
    else if (!strFailure.empty()) ShowErrorBox(this, strFailure.c_str());
}

void CNewProject::OnOK() {
    m_wndWsdlPath.GetWindowText(m_strWsdlPath);
    if (m_strWsdlPath.IsEmpty()) {
        ShowErrorBox(this, "please import a wsdl file!");
        return;
    }
    m_wndName.GetWindowText(m_strName);
    if (m_strName.IsEmpty()) {
        ShowErrorBox(this, "please input a protocol name!");
        return;
    }
    if (m_strName[0] == '_') {
        ShowErrorBox(this, "invalid protocol name, please reenter again!");
        return;
    }
    m_strName.TrimRight('_');
    m_wndLocation.GetWindowText(m_strLocation);
    if (m_strLocation.IsEmpty()) {
        ShowErrorBox(this, "please select a location that the protocol project will be saved!");
        return;
    }
    CProjectSettingsDialog::OnOK();
}
