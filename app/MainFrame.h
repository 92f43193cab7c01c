// The program's MDI main window: menu bar, tool bar, status bar, docking panes with the output
// pane, the tabbed MDI client with the code editors, and the one open project, whose commands it
// runs through the project commands as their host.
#pragma once

#include "app/BuildRunner.h"
#include "app/HelpKeyHook.h"
#include "app/HelpWindow.h"
#include "app/SourceLocation.h"
#include "app/OutputEdit.h"
#include "app/ProtocolFile.h"
#include "app/PropertiesPane.h"
#include "app/ProtocolRecords.h"
#include "app/SolutionExplorerPane.h"
#include "project/ProjectCommands.h"
#include "project/ProjectHost.h"
#include "toolkit/commandbars/frame/MDIFrameWnd.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/statusbar/StatusBar.h"
#include "toolkit/tabs/TabClientWnd.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CquorlinDoc;
class CquorlinView;
class CServiceCallWindow;
class CallService;
class CDocument;
struct CProjectRecord;

class CMainFrame : public CKLVMDIFrameWnd, public CProjectHost {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // Saves the solution and every modified tab without asking, then goes.
    BOOL DestroyWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

    // ---- The project commands under their frame names.
    void OpenSolution(LPCTSTR lpszPath);
    BOOL SaveSolution(const CProjectRecord& project);
    const CProjectRecord* GetProject() const { return m_commands.project(); }
    CProjectCommands& GetProjectCommands() { return m_commands; }

    // "config\config.ini" into the Auto flag, the compiler path and the XML catalog, which
    // fetching then uses.
    void LoadConfig();
    // Makes fetching consult the catalog file strCatalog (none when empty), then those of
    // XML_CATALOG_FILES, then the built-in schemas' catalog, and keeps strCatalog. Warnings about
    // the latter go to the output pane. A strCatalog that cannot be read changes nothing: false,
    // with the file and the cause in strFailure.
    BOOL UseXmlCatalog(const CString& strCatalog, CString& strFailure);

    // The window of a docking pane, made on first use; null for a pane this frame does not fill.
    CWnd* GetPaneWindow(UINT nPaneID);

    // The project's protocols, which the solution tree's items refer to; they outlive the tree.
    CProtocolList m_protocols;
    CKLVTabClientWnd m_MTIClientWnd;
    CPropertiesPane m_wndProperties;
    CSolutionExplorerPane m_wndSolutionExplorer;
    int m_nAutoFlag = 0;
    CString m_strCompilerPath;
    // Which compiler Compile and Compile Demo run, and where the mingw-w64 gcc is.
    enum { compilerVisualCpp = 0, compilerMingwGcc = 1 };
    int m_nCompilerKind = compilerVisualCpp;
    CString m_strGccPath;
    CString m_strXmlCatalog;   // the catalog file of the Options; empty: none
    CImageList m_ilSolutionTree;
    std::vector<CPacketRecord> m_arPackets;   // emptied at creation; nothing fills it
    CKLVStatusBar m_wndStatusBar;
    CKLVDockingPaneManager m_paneManager;
    CStatic m_wndOptions;
    COutputEdit m_wndOutput;

    // How processes start, the shell opens addresses and help opens: replaced by the tests to record them.
    using PFNSTARTPROCESS = BOOL (*)(LPCSTR lpszCommandLine, UINT nShowCmd);
    // Empty when the address was handed on; else why not (see ShellOpen.h).
    using PFNSHELLOPEN = std::string (*)(HWND hWnd, LPCSTR lpszTarget);
    static PFNSTARTPROCESS s_pfnStartProcess;
    static PFNSHELLOPEN s_pfnShellOpen;
    // The HTML Help viewer on a help file; FALSE when it did not open.
    using PFNHTMLHELP = BOOL (*)(HWND hWnd, LPCSTR lpszChmPath);
    static PFNHTMLHELP s_pfnHtmlHelp;

    // Opens the guide's page: in the HTML Help viewer where it draws pages, else in the program's
    // own help window; when neither can show it, a box says why.
    void ShowHelpPage(const std::string& strPage);
    // The page F1 opens for the window (a dialog, a pane, an editor, or anything inside one).
    std::string HelpPageForWindow(HWND hWnd);
    CHelpWindow& GetHelpWindow() { return m_helpWindow; }

    // Goes to the place the Output pane's line names (see MainFrameErrors.cpp); FALSE for a line
    // that names none.
    BOOL GoToOutputLine(int nLine);
    // Opens the file's tab, or brings it to the front, with the cursor at the place; FALSE, the
    // user told why, when the file cannot be opened.
    BOOL GoToSourceLocation(const CSourceLocation& location);

    // ---- CProjectHost: the tabs, the output pane, boxes, dialogs and processes for the project
    // commands.
    int tabCount() const override;
    std::string tabCaption(int index) const override;
    bool tabVisible(int index) const override;
    void replaceTabText(int index, const std::string& text) override;
    bool saveTab(int index, const std::string& path) override;
    bool tabModified(int index) const override;
    std::string tabFileText(int index) const override;
    bool tabFileChangedOnDisk(int index, const std::string& path) const override;
    void markTabSaved(int index, const std::string& path) override;
    bool reloadTab(int index, const std::string& path) override;
    ChangedFileAnswer askChangedFile(const std::string& path) override;
    void closeTab(int index) override;
    bool openDocument(const std::string& path) override;
    void refreshTabs() override;
    void addRecentFile(const std::string& path) override;
    void setOutput(const std::string& text) override;
    void appendOutput(const std::string& text) override;
    void showError(const std::string& text, const std::string& caption) override;
    std::string askSolutionPath(const std::string& folder) override;
    bool startProcess(const std::string& commandLine) override;
    bool runBuild(CBuildJob job) override;
    std::string applicationFolder() const override;

    // Opens the file in an editor tab through the document template and has the document save
    // itself to the same path at once; a file the template cannot open gets no tab.
    void OpenProjectDocument(const CString& strPath);

    // Whether the docking pane is open and not slid away into its side.
    BOOL IsPaneShown(UINT nPaneID) const;
    // The pane shown (created on first use) or closed, as the View menu does.
    void ShowOrClosePane(UINT nPaneID);
    // From the start of a build's programs until the output pane says how it ended.
    BOOL IsBuildRunning() const { return m_buildRunner.IsRunning(); }

    // The code view of a tab; null when its window holds none.
    CquorlinView* GetTabView(int index) const;
    CquorlinDoc* GetTabDocument(int index) const;
    // The first tab showing the file name (modified mark aside, letter case counted); -1 if none.
    int FindTab(const std::string& fileName) const;
    // The protocol record of the solution tree's selected item; null without either.
    const CProtocolRecord* GetSelectedProtocol() const;
    // The "Call the Service" window; null before it was first opened.
    CServiceCallWindow* GetServiceCallWindow() const { return m_pServiceCall.get(); }
    // Closes the window, stopping its call and its mock service, and drops the project's service
    // as the window read it, as closing the project does.
    void CloseServiceCall();
    // The open project's service as the call window uses it, read on first use and again only when
    // the WSDL document changed on disk since (the reader's messages appended to the Output pane
    // under a heading of their own); null without a project or when the document was rejected.
    CallService* ReadCallService();
    const CallService* GetCallService() const { return m_pCallService.get(); }

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

    BOOL CreateCommandBars();
    BOOL CreateTreeImages();
    void CreateDockingPanes();
    void AttachTabClient();
    // File New's steps after the dialog.
    void CreateProjectFiles(const CProjectRecord& project);
    void CopyLibraries(const CProjectRecord& project);
    // After the target platform changed: generates the code again when the user agrees.
    void OfferToGenerateAgain();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // During a build, asks whether to stop it first; No keeps the window and the build.
    afx_msg void OnClose();
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCreateCommandBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    void ShowStatusMessage(const CString& strText);
    void KeepFloatingPaneOnScreen(CKLVDockingPane& pane);
    afx_msg LRESULT OnBuildOutput(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBuildFinished(WPARAM wParam, LPARAM lParam);
    // A tab came to the front: a file changed on disk since the tab loaded it is asked about once
    // per change (Yes loads it, No keeps the tab's text).
    afx_msg LRESULT OnTabActivated(WPARAM wParam, LPARAM lParam);

    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnFileOpenExample();
    afx_msg void OnFileSave();
    afx_msg void OnFileClose();
    afx_msg void OnProjectProperties();
    afx_msg void OnPacketDiagram();
    afx_msg void OnCallService();
    afx_msg void OnGenerateMakefile();
    afx_msg void OnGenerateCode();
    afx_msg void OnCompile();
    afx_msg void OnCompileDemo();
    afx_msg void OnRunDemo();
    afx_msg void OnOption();
    afx_msg void OnHelpTopics();
    afx_msg void OnNextError();
    afx_msg void OnPrevError();
    afx_msg void OnWebPage();
    afx_msg LRESULT OnShellOpenFailed(WPARAM wParam, LPARAM lParam);
    void SayWebPageNotOpened(const std::string& strCause);
    afx_msg void OnAbout();
    afx_msg void OnNoAction();
    // Customising the bars: offered by the tool bars' options popup, ended again by it or Escape.
    afx_msg void OnCustomize();
    afx_msg void OnUpdateCustomize(CCmdUI* pCmdUI);
    BOOL EndCustomizeOnEscape(const MSG* pMsg);
    afx_msg void OnViewSolutionExplorer();
    afx_msg void OnViewProperties();
    afx_msg void OnUpdateViewSolutionExplorer(CCmdUI* pCmdUI);
    afx_msg void OnUpdateViewProperties(CCmdUI* pCmdUI);
    afx_msg void OnAddProtocol();
    afx_msg void OnRemoveProtocol();
    afx_msg void OnAddPacket();
    afx_msg void OnRemovePacket();
    afx_msg void OnAddField();
    afx_msg void OnRemoveField();
    afx_msg void OnUpdateRemoveProtocol(CCmdUI* pCmdUI);

    afx_msg void OnUpdateAlways(CCmdUI* pCmdUI);
    afx_msg void OnUpdateProjectOpen(CCmdUI* pCmdUI);
    afx_msg void OnUpdateBuildCommand(CCmdUI* pCmdUI);
    afx_msg void OnUpdateUnixProject(CCmdUI* pCmdUI);
    afx_msg void OnUpdateWindowsProject(CCmdUI* pCmdUI);
    afx_msg void OnUpdateTreeCommand(CCmdUI* pCmdUI);

    // Whether the update rules run yet: they leave the items alone until the panes exist.
    BOOL UpdateRulesReady() const;

    // Runs a command that may close the project or open another: the protocols of the project
    // open before are saved with it, and those of the project open after come back.
    void ChangeProject(const std::function<void()>& command);
    void SaveProjectProtocols();
    void LoadProjectProtocols();
    void ClearProtocols();
    // The solution tree's selected item and its data; null without either.
    HTREEITEM GetSelectedTreeItem(CSolutionTreeItem*& pItem) const;

    // Set while the View menu closes a pane, which the frame otherwise only hides.
    BOOL m_bClosingFromView = FALSE;
    // Hands the Options' compiler to the commands.
    void UseChosenCompiler();

    CProjectCommands m_commands;
    CBuildRunner m_buildRunner;
    CHelpWindow m_helpWindow;
    int m_nErrorLine = -1;
    HWND m_hWndHelpKey = nullptr;
    std::map<std::string, std::string> m_changesAskedAbout;   // a file's path: its change on disk already asked about   // while F1 is translated: the window it was pressed in   // the Output pane's line last gone to; -1 since its text was set
    std::unique_ptr<CHelpKeyHook> m_pHelpKeyHook;
    std::unique_ptr<CServiceCallWindow> m_pServiceCall;
    std::unique_ptr<CallService> m_pCallService;
    std::function<void(const CBuildOutcome&)> m_buildFinished;

    DECLARE_MESSAGE_MAP()
};

// The default project location: the program's folder followed by "example".
extern CString g_strDefaultProjectLocation;

