// CWinApp: the application, one per program, and the module's handles: the instance, the
// resource module strings, menus and bitmaps are loaded from, and the message box of the
// application.
#pragma once

#include "classlib/String.h"
#include "classlib/WinThread.h"

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Without a name the application is named by its string resource AFX_IDS_APP_TITLE, else by
    // its program file's name without extension.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCTSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    // The message box of AfxMessageBox: owned by the main window, captioned with the
    // application's name.
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }

private:
    CString m_strAppName;
};

CWinApp* AfxGetApp();
// The main window of the calling thread's CWinThread (the application's on the main thread).
CWnd* AfxGetMainWnd();

HINSTANCE AfxGetInstanceHandle();   // the program's module unless AfxWinInit was given another
HINSTANCE AfxGetResourceHandle();   // the instance unless AfxSetResourceHandle chose another
void AfxSetResourceHandle(HINSTANCE hInstResource);
// The module that holds the resource: the resource handle, else the instance; null when neither.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
HINSTANCE AfxFindStringResourceHandle(UINT nID);

int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// Start-up of the program: the handles and command line into the application, then
// InitApplication, InitInstance and Run. The program's WinMain returns what this returns.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
