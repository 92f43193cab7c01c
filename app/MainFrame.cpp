#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/ErrorBox.h"
#include "app/HelpViewer.h"
#include "app/ServiceCallWindow.h"
#include "app/ShellOpen.h"
#include "app/res/Resource.h"
#include "classlib/WindowMessages.h"
#include "project/call/CallService.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/commandbars/textfield/Edit.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <iterator>

CString g_strDefaultProjectLocation;

namespace {

BOOL WinExecProcess(LPCSTR lpszCommandLine, UINT nShowCmd) {
    return ::WinExec(lpszCommandLine, nShowCmd) > 31;
}

std::string ShellOpen(HWND hWnd, LPCSTR lpszTarget) {
    return CShellOpen::Open(hWnd, lpszTarget);
}

// The menus name a shortcut's modifier keys as the program's own texts and tips write them
// ("Ctrl+N"), whatever the keyboard driver calls them (Wine's says "Control").
void NameModifierKeys(CKLVAccelManager* pAccelManager) {
    pAccelManager->m_mapKeyNames[VK_CONTROL] = "Ctrl";
    pAccelManager->m_mapKeyNames[VK_SHIFT] = "Shift";
    pAccelManager->m_mapKeyNames[VK_MENU] = "Alt";
}

// The offset that moves [nLow, nHigh) into [nWorkLow, nWorkHigh), its low edge winning where it
// does not fit.
int OffsetInto(int nLow, int nHigh, int nWorkLow, int nWorkHigh) {
    int nOffset = nHigh > nWorkHigh ? nWorkHigh - nHigh : 0;
    if (nLow + nOffset < nWorkLow) nOffset = nWorkLow - nLow;
    return nOffset;
}

// The message pane (0), then the keyboard-state indicators.
const UINT s_indicators[] = {0, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

}  // namespace

CMainFrame::PFNSTARTPROCESS CMainFrame::s_pfnStartProcess = WinExecProcess;
CMainFrame::PFNSHELLOPEN CMainFrame::s_pfnShellOpen = ShellOpen;
CMainFrame::PFNHTMLHELP CMainFrame::s_pfnHtmlHelp = OpenHtmlHelp;

IMPLEMENT_DYNCREATE(CMainFrame, CKLVMDIFrameWnd)

CMainFrame::CMainFrame() : m_commands(*this) {}

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    return CMDIFrameWnd::PreCreateWindow(cs) ? TRUE : FALSE;
}

BOOL CMainFrame::DestroyWindow() {
    CloseServiceCall();
    OnFileSave();
    m_buildRunner.Stop(m_hWnd);
    m_buildFinished = nullptr;
    return CKLVMDIFrameWnd::DestroyWindow();
}

void CMainFrame::OnClose() {
    if (IsBuildRunning()) {
        const int nAnswer = AppMessageBox(this,
                                          "A build is running. Stop it, with the programs it started, and exit?\r\n\r\n"
                                          "No lets the build go on.",
                                          "Kelvane", MB_YESNO | MB_ICONQUESTION);
        if (nAnswer != IDYES) return;
        // Stopped here, before the documents close: its end is no more reported.
        m_buildRunner.Stop(m_hWnd);
        m_buildFinished = nullptr;
    }
    CKLVMDIFrameWnd::OnClose();
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nID >= ID_TAB_GROUP_FIRST && nID <= ID_TAB_GROUP_LAST && m_MTIClientWnd.GetSafeHwnd() &&
        m_MTIClientWnd.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// Keys typed into a command-bar edit stay there, except those that end or leave it.
BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYDOWN && pMsg->message <= WM_SYSDEADCHAR && pMsg->wParam != VK_RETURN &&
        pMsg->wParam != VK_TAB && pMsg->wParam != VK_ESCAPE) {
        CWnd* pFocus = CWnd::FromHandlePermanent(::GetFocus());
        if (pFocus && pFocus->IsKindOf(RUNTIME_CLASS(CKLVEdit))) return FALSE;
    }
    if (EndCustomizeOnEscape(pMsg)) return TRUE;
    // F1's command opens the page of the window the key was pressed in, which the command itself
    // no more knows.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1) m_hWndHelpKey = pMsg->hwnd;
    const BOOL bTranslated = CMDIFrameWnd::PreTranslateMessage(pMsg) ||
                             (GetCommandBars() && GetCommandBars()->PreTranslateFrameMessage(pMsg));
    m_hWndHelpKey = nullptr;
    return bTranslated;
}

BOOL CMainFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return CKLVMDIFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void CMainFrame::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
    CKLVMDIFrameWnd::OnSetPreviewMode(bPreview, pState);
}

BOOL CMainFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    return CKLVMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
}

BEGIN_MESSAGE_MAP(CMainFrame, CKLVMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_ENABLE()
    ON_MESSAGE(KLV_WM_DOCKINGPANENOTIFY, OnDockingPaneNotify)
    ON_MESSAGE(CKLVControls::msgCreateCommandBar, OnCreateCommandBar)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
    ON_MESSAGE(CBuildRunner::WM_BUILD_OUTPUT, OnBuildOutput)
    ON_MESSAGE(CBuildRunner::WM_BUILD_FINISHED, OnBuildFinished)
    ON_COMMAND(ID_FILE_NEW_PROJECT, OnFileNew)
    ON_UPDATE_COMMAND_UI(ID_FILE_NEW_PROJECT, OnUpdateAlways)
    ON_COMMAND(ID_FILE_OPEN_PROJECT, OnFileOpen)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN_PROJECT, OnUpdateAlways)
    ON_COMMAND(ID_FILE_OPEN_EXAMPLE, OnFileOpenExample)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN_EXAMPLE, OnUpdateAlways)
    ON_COMMAND(ID_FILE_SAVE_PROJECT, OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_PROJECT, OnUpdateProjectOpen)
    ON_COMMAND(ID_FILE_SAVE_PROJECT_2, OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_PROJECT_2, OnUpdateProjectOpen)
    ON_COMMAND(ID_FILE_CLOSE_PROJECT, OnFileClose)
    ON_UPDATE_COMMAND_UI(ID_FILE_CLOSE_PROJECT, OnUpdateProjectOpen)
    ON_COMMAND(ID_FILE_CLOSE_PROJECT_2, OnFileClose)
    ON_UPDATE_COMMAND_UI(ID_FILE_CLOSE_PROJECT_2, OnUpdateProjectOpen)
    ON_COMMAND(ID_PROJECT_PROPERTIES, OnProjectProperties)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_PROPERTIES, OnUpdateProjectOpen)
    ON_COMMAND(ID_PACKET_DIAGRAM, OnPacketDiagram)
    ON_UPDATE_COMMAND_UI(ID_PACKET_DIAGRAM, OnUpdateProjectOpen)
    ON_COMMAND(ID_CALL_SERVICE, OnCallService)
    ON_UPDATE_COMMAND_UI(ID_CALL_SERVICE, OnUpdateProjectOpen)
    ON_COMMAND(ID_GENERATE_MAKEFILE, OnGenerateMakefile)
    ON_UPDATE_COMMAND_UI(ID_GENERATE_MAKEFILE, OnUpdateUnixProject)
    ON_COMMAND(ID_GENERATE_CODE, OnGenerateCode)
    ON_UPDATE_COMMAND_UI(ID_GENERATE_CODE, OnUpdateBuildCommand)
    ON_COMMAND(ID_COMPILE, OnCompile)
    ON_UPDATE_COMMAND_UI(ID_COMPILE, OnUpdateWindowsProject)
    ON_COMMAND(ID_COMPILE_DEMO, OnCompileDemo)
    ON_UPDATE_COMMAND_UI(ID_COMPILE_DEMO, OnUpdateWindowsProject)
    ON_COMMAND(ID_RUN_DEMO, OnRunDemo)
    ON_UPDATE_COMMAND_UI(ID_RUN_DEMO, OnUpdateWindowsProject)
    ON_COMMAND(ID_OPTION, OnOption)
    ON_UPDATE_COMMAND_UI(ID_OPTION, OnUpdateAlways)
    ON_COMMAND(ID_HELP_TOPICS, OnHelpTopics)
    ON_MESSAGE(CChildFrame::WM_TAB_ACTIVATED, OnTabActivated)
    ON_MESSAGE(CShellOpen::WM_SHELL_OPEN_FAILED, OnShellOpenFailed)
    ON_COMMAND(ID_NEXT_ERROR, OnNextError)
    ON_UPDATE_COMMAND_UI(ID_NEXT_ERROR, OnUpdateAlways)
    ON_COMMAND(ID_PREV_ERROR, OnPrevError)
    ON_UPDATE_COMMAND_UI(ID_PREV_ERROR, OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(ID_HELP_TOPICS, OnUpdateAlways)
    ON_COMMAND(ID_WEB_PAGE, OnWebPage)
    ON_UPDATE_COMMAND_UI(ID_WEB_PAGE, OnUpdateAlways)
    ON_COMMAND(ID_ABOUT, OnAbout)
    ON_UPDATE_COMMAND_UI(ID_ABOUT, OnUpdateAlways)
    ON_COMMAND(ID_ADD_PACKET, OnAddPacket)
    ON_UPDATE_COMMAND_UI(ID_ADD_PACKET, OnUpdateTreeCommand)
    ON_COMMAND(ID_REMOVE_PACKET, OnRemovePacket)
    ON_UPDATE_COMMAND_UI(ID_REMOVE_PACKET, OnUpdateTreeCommand)
    ON_COMMAND(ID_ADD_FIELD, OnAddField)
    ON_UPDATE_COMMAND_UI(ID_ADD_FIELD, OnUpdateTreeCommand)
    ON_COMMAND(ID_REMOVE_FIELD, OnRemoveField)
    ON_UPDATE_COMMAND_UI(ID_REMOVE_FIELD, OnUpdateTreeCommand)
    ON_COMMAND(ID_ADD_PROTOCOL, OnAddProtocol)
    ON_UPDATE_COMMAND_UI(ID_ADD_PROTOCOL, OnUpdateProjectOpen)
    ON_COMMAND(ID_REMOVE_PROTOCOL, OnRemoveProtocol)
    ON_UPDATE_COMMAND_UI(ID_REMOVE_PROTOCOL, OnUpdateRemoveProtocol)
    ON_COMMAND(ID_VIEW_SOLUTION_EXPLORER, OnViewSolutionExplorer)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SOLUTION_EXPLORER, OnUpdateViewSolutionExplorer)
    ON_COMMAND(ID_VIEW_PROPERTIES, OnViewProperties)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PROPERTIES, OnUpdateViewProperties)
    ON_COMMAND(ID_PROJECT_COMMAND, OnNoAction)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_COMMAND, OnUpdateProjectOpen)
    ON_COMMAND(CKLVCommandBars::idCustomizeCommand, OnCustomize)
    ON_UPDATE_COMMAND_UI(CKLVCommandBars::idCustomizeCommand, OnUpdateCustomize)
END_MESSAGE_MAP()

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CKLVMDIFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(s_indicators, static_cast<int>(std::size(s_indicators))))
        return -1;
    if (!CreateCommandBars()) return -1;
    m_paneManager.InstallDockingPanes(this, TRUE);
    m_paneManager.SetTheme(9);
    if (!CreateTreeImages()) return -1;
    CreateDockingPanes();
    AttachTabClient();
    LoadConfig();
    m_pHelpKeyHook = std::make_unique<CHelpKeyHook>([this](HWND hWndFocus) { ShowHelpPage(HelpPageForWindow(hWndFocus)); });
    g_strDefaultProjectLocation = CString(applicationFolder().c_str()) + "example";
    m_arPackets.clear();
    m_commands.setProject(nullptr);
    SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    return 0;
}

BOOL CMainFrame::CreateCommandBars() {
    if (!InitCommandBars()) return FALSE;
    CKLVCommandBars* pCommandBars = GetCommandBars();
    NameModifierKeys(pCommandBars->GetAccelManager());
    CKLVCommandBar* pMenuBar = pCommandBars->SetMenu("Menu Bar", IDR_MAINFRAME);
    if (!pMenuBar) return FALSE;
    // The menu bar carries the active child's system menu.
    pMenuBar->SetFlags(0x2000, 0);
    CKLVCommandBar* pToolBar = pCommandBars->Add("Standard", CKLVCommandBar::barTop);
    if (!pToolBar || !pToolBar->LoadToolBar(IDR_MAINFRAME)) return FALSE;
    CKLVPaintManager::SetTheme(4);
    pCommandBars->GetOptions()->bAlwaysShowFullMenus = FALSE;
    return TRUE;
}

// The tree's images: a warning for each one that does not load, and start-up goes on.
BOOL CMainFrame::CreateTreeImages() {
    if (!m_ilSolutionTree.Create(16, 16, ILC_COLOR32 | ILC_MASK, 7, 2)) return FALSE;
    for (UINT nID : {IDB_TREE_ROOT, IDB_TREE_HEADER, IDB_TREE_PROTOCOL, IDB_TREE_FIELD, IDB_TREE_PACKET, IDB_TREE_DIAGRAM}) {
        CBitmap bitmap;
        if (!bitmap.LoadBitmap(nID)) AppMessageBox(this, "load bmp error", nullptr, MB_OK);
        if (m_ilSolutionTree.Add(&bitmap, RGB(255, 255, 255)) < 0) AppMessageBox(this, "load bmp error", nullptr, MB_OK);
    }
    return TRUE;
}

void CMainFrame::CreateDockingPanes() {
    // About fifteen lines of a build's output show at once.
    m_paneManager.CreatePane(IDP_OUTPUT, CRect(0, 0, 150, 220), klvDockBottom, nullptr);
    m_paneManager.EnableKeyboardNavigate(15);
    const int paneIcons[] = {IDP_OPTIONS_FIRST, IDP_OPTIONS_SECOND};
    m_paneManager.SetIcons(IDB_PANE_ICONS, paneIcons, 2, RGB(0, 255, 0));
    m_paneManager.m_bAlphaDockingContext = TRUE;
    m_paneManager.m_bShowDockingContextStickers = TRUE;
    m_paneManager.m_bShowContentsWhileDragging = TRUE;
    // A floating pane's frame, caption and caption buttons are the pane theme's, drawn in pixels:
    // the system's caption buttons come from a symbol font, whose letters show where it is missing.
    m_paneManager.m_bThemedFloatingFrames = TRUE;
    // Tabbed containers and floating frames show the "Menu" button.
    m_paneManager.m_dwDefaultPaneOptions = 16;
}

// A modal dialog disables the frame: a tip shown for its bars, tabs or status bar (the mouse
// resting there while a key opened the dialog) would stay over the dialog.
void CMainFrame::OnEnable(BOOL bEnable) {
    CKLVMDIFrameWnd::OnEnable(bEnable);
    if (bEnable) return;
    if (CKLVCommandBars* pBars = GetCommandBars()) {
        if (CKLVToolTipContext* pContext = pBars->GetToolTipContext()) pContext->CancelToolTips();
    }
    if (m_MTIClientWnd.m_pToolTipContext) m_MTIClientWnd.m_pToolTipContext->CancelToolTips();
    if (CKLVTooltipHost* pContext = m_wndStatusBar.GetToolTipContext()) pContext->CancelToolTips();
}

void CMainFrame::AttachTabClient() {
    m_MTIClientWnd.Attach(this, TRUE);
    m_MTIClientWnd.EnableToolTips(1);
    // The tabs' tips are drawn by the toolkit's own tip window, as the tool bars' are: the
    // system's tip window under Wine sizes an untitled tip as if it had a title, a tall box with
    // the text at its foot.
    m_MTIClientWnd.m_pToolTipContext->SetStyle(2);
    if (CKLVTabPainter* pPainter = m_MTIClientWnd.GetPaintManager()) pPainter->m_bDrawFocusRect = FALSE;
    m_MTIClientWnd.m_bThemedBackColor = TRUE;
    m_MTIClientWnd.SetFlags(11);
}

CWnd* CMainFrame::GetPaneWindow(UINT nPaneID) {
    const CRect rcEmpty(0, 0, 0, 0);
    switch (nPaneID) {
    case IDP_SOLUTION_EXPLORER:
        if (!m_wndSolutionExplorer.GetSafeHwnd()) {
            m_wndSolutionExplorer.Create("STATIC", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                         rcEmpty, this, 0);
            if (m_wndSolutionExplorer.m_wndTree.GetSafeHwnd()) {
                m_wndSolutionExplorer.m_wndTree.SetImageList(&m_ilSolutionTree, TVSIL_NORMAL);
                for (const auto& pProtocol : m_protocols) m_wndSolutionExplorer.AddProtocolItems(*pProtocol);
            }
        }
        return &m_wndSolutionExplorer;
    case IDP_PROPERTIES:
        if (!m_wndProperties.GetSafeHwnd())
            m_wndProperties.Create("STATIC", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rcEmpty,
                                   this, 0);
        return &m_wndProperties;
    case IDP_OUTPUT:
        if (!m_wndOutput.GetSafeHwnd()) {
            // Without ES_AUTOVSCROLL the edit refuses text past its visible lines: a compiler's
            // output would be cut off.
            m_wndOutput.Create(WS_CHILD | WS_VISIBLE | WS_HSCROLL | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, rcEmpty,
                               this, 0);
            m_wndOutput.m_onLineActivated = [this](int nLine) { GoToOutputLine(nLine); };
        }
        return &m_wndOutput;
    case IDP_OPTIONS_FIRST:
    case IDP_OPTIONS_SECOND:
        if (!m_wndOptions.GetSafeHwnd())
            m_wndOptions.Create("\n\nOptions", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SS_CENTER, rcEmpty, this, 0);
        return &m_wndOptions;
    default:
        return nullptr;
    }
}

LRESULT CMainFrame::OnDockingPaneNotify(WPARAM wParam, LPARAM lParam) {
    auto* pPane = reinterpret_cast<CKLVDockingPane*>(lParam);
    if (wParam == klvDockingPaneShowWindow) {
        if (!pPane->IsAttached()) {
            if (CWnd* pWnd = GetPaneWindow(pPane->GetID())) pPane->Attach(pWnd);
        }
        return 1;
    }
    if (wParam == klvDockingPaneAction) {
        const auto* pAction = reinterpret_cast<const CKLVDockingPaneActionRecord*>(lParam);
        if (pAction && pAction->nAction == klvActionFloated && pAction->pPane) KeepFloatingPaneOnScreen(*pAction->pPane);
        return 0;
    }
    if (wParam == klvDockingPaneClosing) {
        if (m_bClosingFromView) return 0;
        // Panes of this frame are hidden, never closed, except through the View menu.
        pPane->Hide();
        return -1;
    }
    return 0;
}

// A pane floated by a drag or from its dock lies wholly in the work area of its monitor, caption
// and borders included, wherever it fits there.
void CMainFrame::KeepFloatingPaneOnScreen(CKLVDockingPane& pane) {
    CWnd* pSite = pane.GetDockingSite();
    if (!pSite || !m_paneManager.IsFloatingSite(pSite)) return;
    CRect rcFrame;
    pSite->GetWindowRect(&rcFrame);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoA(::MonitorFromRect(&rcFrame, MONITOR_DEFAULTTONEAREST), &info)) return;
    const CRect rcWork(info.rcWork);
    const CSize offset(OffsetInto(rcFrame.left, rcFrame.right, rcWork.left, rcWork.right),
                       OffsetInto(rcFrame.top, rcFrame.bottom, rcWork.top, rcWork.bottom));
    if (offset != CSize(0, 0))
        pSite->SetWindowPos(nullptr, rcFrame.left + offset.cx, rcFrame.top + offset.cy, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMainFrame::OnCreateCommandBar(WPARAM, LPARAM lParam) {
    auto* pCreate = reinterpret_cast<KLVCREATEBARSTRUCT*>(lParam);
    if (!pCreate || !pCreate->bPopup) return FALSE;
    pCreate->pCommandBar = CKLVPopupBar::CreatePopupBar(GetCommandBars());
    return TRUE;
}
