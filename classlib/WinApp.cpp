#include "classlib/WinApp.h"

#include "classlib/CommandIds.h"
#include "classlib/DocTemplate.h"
#include "classlib/ThreadState.h"
#include "classlib/Wnd.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, OnOpenRecentFile)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FIRST, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

namespace {

// The module's state; plain values, ready before any constructor runs.
CWinApp* g_pApp = nullptr;
HINSTANCE g_hInstance = nullptr;
HINSTANCE g_hResource = nullptr;

CString DefaultAppName() {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    char szName[MAX_PATH] = {};
    if (::LoadStringA(hInstance, AFX_IDS_APP_TITLE, szName, sizeof szName) > 0) return szName;
    ::GetModuleFileNameA(hInstance, szName, sizeof szName);
    CString strName = szName;
    int nSlash = strName.ReverseFind('\\');
    if (nSlash >= 0) strName = strName.Mid(nSlash + 1);
    int nDot = strName.ReverseFind('.');
    if (nDot > 0) strName = strName.Left(nDot);
    return strName;
}

// The window that owns message boxes: the main window's active popup, else the active window.
HWND MessageBoxOwner() {
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWndOwner = pMainWnd ? ::GetLastActivePopup(AfxGetSafeHwnd(pMainWnd->GetTopLevelParent())) : nullptr;
    return hWndOwner ? hWndOwner : ::GetActiveWindow();
}

}  // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_strAppName(lpszAppName ? CString(lpszAppName) : DefaultAppName()) {
    m_pszAppName = m_strAppName;
    g_pApp = this;
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_pCurrentWinThread = this;
    m_nThreadID = ::GetCurrentThreadId();
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    if (m_bOleStarted) {
        ::OleUninitialize();
        m_bOleStarted = FALSE;
    }
    return CWinThread::ExitInstance();
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    for (int i = 1; i < __argc; ++i) {
        LPCTSTR pszParam = __argv[i];
        const BOOL bFlag = pszParam[0] == '-' || pszParam[0] == '/';
        rCmdInfo.ParseParam(bFlag ? pszParam + 1 : pszParam, bFlag, i == __argc - 1);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default:
        return TRUE;
    }
}

void CWinApp::DoWaitCursor(int nCode) {
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount < 0) m_nWaitCursorCount = 0;
    if (m_nWaitCursorCount > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = hcurPrev;
    } else if (nCode != 0) {
        ::SetCursor(m_hcurWaitCursorRestore ? m_hcurWaitCursorRestore : ::LoadCursorA(nullptr, IDC_ARROW));
    }
}

namespace {

void AppWaitCursor(int nCode) {
    if (CWinApp* pApp = AfxGetApp()) pApp->DoWaitCursor(nCode);
}

}  // namespace

void CCmdTarget::BeginWaitCursor() { AppWaitCursor(1); }

void CCmdTarget::EndWaitCursor() { AppWaitCursor(-1); }

void CCmdTarget::RestoreWaitCursor() { AppWaitCursor(0); }

CWaitCursor::CWaitCursor() { AppWaitCursor(1); }

CWaitCursor::~CWaitCursor() { AppWaitCursor(-1); }

void CWaitCursor::Restore() { AppWaitCursor(0); }

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL) {
    if (bFlag) {
        if (lstrcmpiA(pszParam, "Embedding") == 0) m_bRunEmbedded = TRUE;
        else if (lstrcmpiA(pszParam, "Automation") == 0) m_bRunAutomated = TRUE;
        if (m_bRunEmbedded || m_bRunAutomated) m_bShowSplash = FALSE;
        if (lstrcmpiA(pszParam, "p") == 0) m_nShellCommand = FilePrint;
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
    }
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) {
    return ::MessageBoxA(MessageBoxOwner(), lpszPrompt, m_pszAppName, nType);
}

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const {
    return ::LoadCursorA(AfxGetResourceHandle(), lpszResourceName);
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const {
    return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() {
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() { return g_hInstance ? g_hInstance : ::GetModuleHandleA(nullptr); }

HINSTANCE AfxGetResourceHandle() { return g_hResource ? g_hResource : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_hResource = hInstResource; }

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
    for (HINSTANCE hInstance : {AfxGetResourceHandle(), AfxGetInstanceHandle()}) {
        if (::FindResourceA(hInstance, lpszName, lpszType)) return hInstance;
    }
    return nullptr;
}

HINSTANCE AfxFindStringResourceHandle(UINT nID) {
    // Strings live in blocks of 16; block n + 1 holds the ids 16n to 16n + 15.
    return AfxFindResourceHandle(MAKEINTRESOURCEA(nID / 16 + 1), RT_STRING);
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
    if (CWinApp* pApp = AfxGetApp()) return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    CString strCaption = DefaultAppName();
    return ::MessageBoxA(MessageBoxOwner(), lpszText, strCaption, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    return AfxMessageBox(strPrompt, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow) {
    g_hInstance = hInstance;
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->m_hInstance = hInstance;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;
    }
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) || !pApp->InitApplication()) return -1;
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd) pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}
