#include "classlib/WinApp.h"

#include "classlib/ThreadState.h"
#include "classlib/Wnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

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
