#include "app/Options.h"

#include "app/AppConfig.h"
#include "app/ErrorBox.h"
#include "app/GlobalOptions.h"
#include "app/MainFrame.h"
#include "app/res/Resource.h"
#include "toolkit/tabs/ThemeManager.h"

IMPLEMENT_DYNAMIC(COptions, CDialog)

COptions::COptions(CWnd* pParent) : CDialog(IDD_OPTIONS, pParent) {}

void COptions::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OPTIONS_TAB, m_wndTab);
    if (m_wndTab.GetItemCount() == 0) CreatePages();
    m_pMainFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    m_pGlobalOptions = dynamic_cast<CGlobalOptions*>(m_wndTab.GetView(0));
}

void COptions::CreatePages() {
    m_wndTab.SendInitialUpdate(TRUE);
    m_wndTab.SendMessage(TCM_SETPADDING, 0, MAKELPARAM(6, 3));
    m_wndTab.SetAutoCondense(TRUE);
    m_wndTab.ModifyStyle(0, WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    if (!m_wndTab.AddView("Global Options", RUNTIME_CLASS(CGlobalOptions))) return;
    KLThemeManager()->SetTheme(2);
}

// A catalog that cannot be read is named and the dialog stays, with nothing kept.
void COptions::OnOK() {
    if (m_pMainFrame && m_pGlobalOptions) {
        CString strCatalog, strFailure;
        m_pGlobalOptions->m_wndXmlCatalog.GetWindowText(strCatalog);
        if (!m_pMainFrame->UseXmlCatalog(strCatalog, strFailure)) {
            AppMessageBox(this, "catalog " + strFailure, "Options", MB_ICONERROR);
            m_pGlobalOptions->m_wndXmlCatalog.SetFocus();
            return;
        }
        WriteConfigValue("xml_catalog", strCatalog);
        m_pMainFrame->m_nAutoFlag = m_pGlobalOptions->m_btnAuto.GetCheck() == BST_CHECKED ? 0 : 1;
        m_pGlobalOptions->m_wndPath.GetWindowText(m_pMainFrame->m_strCompilerPath);
        CString strFlag;
        strFlag.Format("%d", m_pMainFrame->m_nAutoFlag);
        WriteConfigValue("auto_flag", strFlag);
        WriteConfigValue("compiler_path", m_pMainFrame->m_strCompilerPath);
        m_pMainFrame->m_nCompilerKind = m_pGlobalOptions->m_cboCompiler.GetCurSel() == 1 ? CMainFrame::compilerMingwGcc
                                                                                         : CMainFrame::compilerVisualCpp;
        m_pGlobalOptions->m_wndGccPath.GetWindowText(m_pMainFrame->m_strGccPath);
        WriteConfigValue("compiler_kind", m_pMainFrame->m_nCompilerKind == CMainFrame::compilerMingwGcc ? "1" : "0");
        WriteConfigValue("gcc_path", m_pMainFrame->m_strGccPath);
    }
    CDialog::OnOK();
}
