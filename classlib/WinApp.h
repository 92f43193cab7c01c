// CWinApp: the application, one per program, and the module's handles: the instance, the
// resource module strings, menus and bitmaps are loaded from, and the message box of the
// application.
#pragma once

#include "classlib/Collection.h"
#include "classlib/RecentFileList.h"
#include "classlib/String.h"
#include "classlib/WinThread.h"

#include <memory>
#include <vector>

class CCommandLineInfo;
class CDocTemplate;
class CDocument;

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
    int m_nNumPreviewPages = 0;   // pages a print preview shows side by side; 0: its own choice

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    // Saves the recent-file list, ends OLE when AfxOleInit started it, then the thread's exit.
    int ExitInstance() override;
    // The message box of AfxMessageBox: owned by the main window, captioned with the
    // application's name.
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }

    // ---- The profile: HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>, once
    // SetRegistryKey has named the key (the profile name is the application's name). Without
    // a key the values read as their defaults and writes fail.
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    // A null entry removes the whole section; a null value removes the entry.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // *ppData comes from new[]; the caller deletes it with delete[].
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
    // The keys, opened for reading and writing (made when missing); the caller closes them.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCTSTR lpszSection);

    // ---- The recent-file list (section "Recent File List", entries "File1"...), commands
    // ID_FILE_MRU_FILE1 on. LoadStdProfileSettings makes and reads it.
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);

    // ---- Documents: the templates the shell commands use, owned by the application.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& rPosition) const;
    // A document already open with this path is shown again; else the first template opens it.
    // Null when no template can.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual BOOL SaveAllModified();   // FALSE when the user cancels
    void CloseAllDocuments(BOOL bEndSession);

    // ---- Start-up: the program's command line into rCmdInfo, then what it asks for.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // ---- The wait cursor: 1 shows it (counted), -1 takes one back, 0 shows it again.
    virtual void DoWaitCursor(int nCode);
    int m_nWaitCursorCount = 0;

    // The library's commands.
    afx_msg void OnAppExit();
    afx_msg void OnFileNew();
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    BOOL m_bOleStarted = FALSE;   // AfxOleInit started OLE

    DECLARE_MESSAGE_MAP()

private:
    CString m_strAppName;
    CString m_strRegistryKey;
    HCURSOR m_hcurWaitCursorRestore = nullptr;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
};

// Shows the wait cursor for its lifetime.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore();
};

// What the program's command line asks for (ParseCommandLine fills it).
class CCommandLineInfo : public CObject {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };
    ~CCommandLineInfo() override = default;
    // Each argument; bFlag when it began with '/' or '-' (then without it).
    virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    int m_nShellCommand = FileNew;
    CString m_strFileName;
};

// Starts OLE for the calling thread (ended again by the application's ExitInstance).
BOOL AfxOleInit();
// Lets dialogs host OLE controls. The library's dialogs host none, so there is nothing to set up;
// a program may call it as part of its start.
inline void AfxEnableControlContainer() {}

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
