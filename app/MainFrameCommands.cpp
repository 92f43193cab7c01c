// The main frame's command handlers and update rules; the project commands run through the
// project commands object with this frame as its host.
#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "app/GlobalOptions.h"
#include "app/HelpTopics.h"
#include "app/HelpViewer.h"
#include "app/QuorlinView.h"
#include "app/ShellOpen.h"
#include "app/ErrorBox.h"
#include "app/Options.h"
#include "app/ProjectProperties.h"
#include "app/res/Resource.h"
#include "project/SolutionFile.h"

namespace {

const char* PlatformName(int nPlatform) {
    return nPlatform == CProjectRecord::Unix ? "Unix(Linux)" : "Windows";
}

}  // namespace

void CMainFrame::OpenSolution(LPCTSTR lpszPath) {
    ChangeProject([&] { m_commands.openSolution(lpszPath); });
}

BOOL CMainFrame::SaveSolution(const CProjectRecord& project) {
    return saveSolution(project) == 0;
}

void CMainFrame::OnFileOpen() {
    ChangeProject([this] { m_commands.onFileOpen(false); });
}

void CMainFrame::OnFileOpenExample() {
    ChangeProject([this] { m_commands.onFileOpen(true); });
}

void CMainFrame::OnFileSave() {
    m_commands.onFileSave();
    SaveProjectProtocols();
}

void CMainFrame::OnFileClose() {
    ChangeProject([this] { m_commands.onFileClose(); });
}

// While a build runs, the Build commands wait: they would change or run what it builds.
void CMainFrame::OnGenerateMakefile() {
    if (!IsBuildRunning()) m_commands.onGenerateMakefile();
}

void CMainFrame::OnGenerateCode() {
    if (!IsBuildRunning()) m_commands.onGenerateCode();
}

void CMainFrame::UseChosenCompiler() {
    m_commands.setCompiler(m_nCompilerKind == compilerMingwGcc ? CProjectCommands::Compiler::MingwGcc
                                                               : CProjectCommands::Compiler::VisualCpp);
    m_commands.setCompilerPath(static_cast<LPCSTR>(m_strCompilerPath));
    m_commands.setGccPath(static_cast<LPCSTR>(m_strGccPath));
}

void CMainFrame::OnCompile() {
    if (IsBuildRunning()) return;
    UseChosenCompiler();
    m_commands.onCompile();
}

void CMainFrame::OnCompileDemo() {
    if (IsBuildRunning()) return;
    UseChosenCompiler();
    m_commands.onCompileDemo();
}

void CMainFrame::OnNoAction() {}

void CMainFrame::OnProjectProperties() {
    const CProjectRecord* pProject = GetProject();
    if (!pProject) return;
    CProjectProperties dlg(this, *pProject);
    if (dlg.DoModal() != IDOK) return;
    auto pChanged = std::make_unique<CProjectRecord>(*pProject);
    const bool bPlatformChanged = pChanged->targetPlatform != dlg.m_nTargetPlatform;
    pChanged->libraryType = dlg.m_nLibraryType;
    pChanged->authType = dlg.m_nAuthType;
    pChanged->targetPlatform = dlg.m_nTargetPlatform;
    m_commands.setProject(std::move(pChanged));
    if (bPlatformChanged) OfferToGenerateAgain();
}

// The generated code and the Makefile's link rule belong to one platform: with the other one
// they do not build until they are generated again.
void CMainFrame::OfferToGenerateAgain() {
    const bool bUnix = GetProject()->targetPlatform == CProjectRecord::Unix;
    const std::string strPlatform = PlatformName(GetProject()->targetPlatform);
    const std::string strAsk = "The target platform is now " + strPlatform + ". The generated code" +
                               (bUnix ? " and the Makefile" : "") +
                               " must be generated again for it before a build.\r\n\r\nGenerate "
                               "them now?";
    if (AppMessageBox(this, strAsk.c_str(), "Target platform changed", MB_YESNO | MB_ICONQUESTION) == IDYES) {
        if (m_commands.onGenerateCode() && bUnix) m_commands.onGenerateMakefile();
        return;
    }
    appendOutput("The target platform is now " + strPlatform + ": run Generate Code" +
                 (bUnix ? " and Generate Makefile" : "") + " again before building.\r\n");
}

void CMainFrame::OnOption() {
    COptions dlg(this);
    dlg.DoModal();
}

void CMainFrame::OnRunDemo() {
    if (!IsBuildRunning()) m_commands.onRunDemo();
}

void CMainFrame::OnHelpTopics() {
    ShowHelpPage(HelpPageForWindow(m_hWndHelpKey ? m_hWndHelpKey : ::GetFocus()));
}

void CMainFrame::ShowHelpPage(const std::string& strPage) {
    const std::string folder = applicationFolder();
    if (HelpViewerDrawsPages() && s_pfnHtmlHelp(m_hWnd, (folder + "help.chm::/" + strPage).c_str())) return;
    std::string strFailure;
    if (m_helpWindow.ShowPage(m_hWnd, folder + "help\\", strPage, strFailure)) return;
    AppMessageBox(this, ("Help cannot be shown: " + strFailure).c_str(), "Kelvane Help", MB_ICONERROR);
}

// The nearest window around the focus that has a page of its own; a dialog's owner is not around it.
std::string CMainFrame::HelpPageForWindow(HWND hWnd) {
    for (HWND hWndAt = hWnd; hWndAt && hWndAt != m_hWnd; hWndAt = ::GetAncestor(hWndAt, GA_PARENT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWndAt);
        if (!pWnd) continue;
        if (const auto* pDialog = dynamic_cast<const CDialog*>(pWnd)) return HelpPageForDialog(pDialog->m_nIDHelp);
        if (dynamic_cast<const CGlobalOptions*>(pWnd)) return HelpPageForDialog(IDD_GLOBAL_OPTIONS);
        if (pWnd == &m_wndSolutionExplorer) return HelpPageForPlace(HelpPlace::solutionExplorer);
        if (pWnd == &m_wndProperties) return HelpPageForPlace(HelpPlace::properties);
        if (pWnd == &m_wndOutput) return HelpPageForPlace(HelpPlace::output);
        if (dynamic_cast<const CquorlinView*>(pWnd)) return HelpPageForPlace(HelpPlace::editor);
    }
    return HelpPageForPlace(HelpPlace::frame);
}

void CMainFrame::OnWebPage() {
    const std::string strFailure = s_pfnShellOpen(m_hWnd, g_lpszWebPage);
    if (!strFailure.empty()) SayWebPageNotOpened(strFailure);
}

// The program that took the address ended with a failure code after the command returned.
LRESULT CMainFrame::OnShellOpenFailed(WPARAM, LPARAM lParam) {
    SayWebPageNotOpened(CShellOpen::TakeFailure(lParam));
    return 0;
}

void CMainFrame::SayWebPageNotOpened(const std::string& strCause) {
    const std::string strText = std::string("The web page ") + g_lpszWebPage + " cannot be opened: " + strCause + ".";
    AppMessageBox(this, strText.c_str(), "Kelvane", MB_ICONERROR);
}

void CMainFrame::OnAbout() {
    CAboutDlg dlg(this);
    dlg.DoModal();
}

BOOL CMainFrame::UpdateRulesReady() const {
    return m_paneManager.GetSafeHwnd() != nullptr;
}

void CMainFrame::OnUpdateAlways(CCmdUI* pCmdUI) {
    if (UpdateRulesReady()) pCmdUI->Enable(TRUE);
}

void CMainFrame::OnUpdateProjectOpen(CCmdUI* pCmdUI) {
    if (UpdateRulesReady()) pCmdUI->Enable(GetProject() != nullptr);
}

void CMainFrame::OnUpdateBuildCommand(CCmdUI* pCmdUI) {
    if (UpdateRulesReady()) pCmdUI->Enable(GetProject() != nullptr && !IsBuildRunning());
}

void CMainFrame::OnUpdateUnixProject(CCmdUI* pCmdUI) {
    if (UpdateRulesReady())
        pCmdUI->Enable(GetProject() && GetProject()->targetPlatform == CProjectRecord::Unix && !IsBuildRunning());
}

void CMainFrame::OnUpdateWindowsProject(CCmdUI* pCmdUI) {
    if (UpdateRulesReady())
        pCmdUI->Enable(GetProject() && GetProject()->targetPlatform == CProjectRecord::Windows && !IsBuildRunning());
}

// The protocol commands follow the kind of the tree's selected item.
void CMainFrame::OnUpdateTreeCommand(CCmdUI* pCmdUI) {
    COfficeTreeCtrl& tree = m_wndSolutionExplorer.m_wndTree;
    if (!UpdateRulesReady() || !m_wndSolutionExplorer.GetSafeHwnd() || !tree.GetSafeHwnd()) return;
    if (!tree.m_pCurrentRecord) {
        pCmdUI->Enable(FALSE);
        return;
    }
    const HTREEITEM hSelected = tree.GetSelectedItem();
    if (!hSelected) return;
    const CSolutionTreeItem* pItem = tree.GetTreeItem(hSelected);
    const UINT nID = pCmdUI->m_nID;
    if (!pItem) {
        if (nID == ID_ADD_PACKET || nID == ID_REMOVE_PACKET) pCmdUI->Enable(FALSE);
        return;
    }
    const int nKind = pItem->nKind;
    BOOL bEnable = FALSE;
    switch (nID) {
    case ID_ADD_PACKET: bEnable = nKind == CSolutionTreeItem::kindPacketGroup; break;
    case ID_REMOVE_PACKET: bEnable = nKind == CSolutionTreeItem::kindPacket; break;
    case ID_ADD_FIELD:
        bEnable = nKind == CSolutionTreeItem::kindHeaderGroup || nKind == CSolutionTreeItem::kindPacket;
        break;
    default: bEnable = nKind == CSolutionTreeItem::kindHeaderField || nKind == CSolutionTreeItem::kindPacketField; break;
    }
    pCmdUI->Enable(bEnable);
}
