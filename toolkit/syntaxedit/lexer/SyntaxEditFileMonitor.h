// Watches the configuration files (main INI, themes, schema files) from a low-priority thread
// that polls them, and reports each change, appearance and removal to its owner.
#pragma once

#include "toolkit/common/CriticalSection.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditWorkerThread.h"

#include <vector>

enum {
    klvConfigFileScheme = 1,
    klvConfigFileTheme = 2,
    klvConfigFileMain = 4
};
enum { klvConfigFileChanged = 0, klvConfigFileAppeared = 1, klvConfigFileRemoved = 2 };

class IKLVSyntaxEditFileMonitorOwner {
public:
    virtual ~IKLVSyntaxEditFileMonitorOwner() = default;
    // Runs on the monitor's thread; hGiveUp is signalled when the monitor is being stopped,
    // and a report that waits for something should then give up.
    virtual void OnConfigFileChanged(LPCSTR lpszPath, DWORD dwFlags, int nKind, HANDLE hGiveUp) = 0;
};

class CKLVSyntaxEditFileMonitor {
public:
    static const DWORD kDefaultPollInterval = 3000;

    explicit CKLVSyntaxEditFileMonitor(IKLVSyntaxEditFileMonitorOwner* pOwner) : m_pOwner(pOwner) {}
    ~CKLVSyntaxEditFileMonitor() { StopConfigMonitor(); }
    CKLVSyntaxEditFileMonitor(const CKLVSyntaxEditFileMonitor&) = delete;
    CKLVSyntaxEditFileMonitor& operator=(const CKLVSyntaxEditFileMonitor&) = delete;

    // Registers a file; a path that cannot be read as given is tried in the base folder, and
    // a file that exists gets its full path (rPath is updated). TRUE when it exists.
    BOOL AddFile(CString& rPath, DWORD dwFlags);
    void SetBaseFolder(LPCSTR lpszFolder) { m_strBaseFolder = lpszFolder; }
    void SetPollInterval(DWORD dwMs) { m_dwPollInterval = dwMs; }
    void StartConfigMonitor();
    // Stops the thread and forgets every file.
    void StopConfigMonitor();
    BOOL IsRunning() const { return m_thread.IsStarted(); }
    // One pass over the files.
    void CheckFiles();
    // Held while the monitor has a file open to look at it. An open file cannot be replaced:
    // whoever replaces a watched file holds this meanwhile.
    CKLVCriticalSection& GetFileLock() { return m_csFiles; }

private:
    struct CEntry {
        CString strPath;
        BY_HANDLE_FILE_INFORMATION info;
        BOOL bExists;
        DWORD dwFlags;
    };
    BOOL ReadFileInfo(LPCSTR lpszPath, BY_HANDLE_FILE_INFORMATION& info);
    static BOOL IsChanged(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b);
    BOOL IsStopping() const { return m_hStop && ::WaitForSingleObject(m_hStop, 0) == WAIT_OBJECT_0; }
    DWORD Run();

    IKLVSyntaxEditFileMonitorOwner* m_pOwner;
    CString m_strBaseFolder;
    std::vector<CEntry> m_arEntries;
    DWORD m_dwPollInterval = kDefaultPollInterval;
    HANDLE m_hStop = nullptr;
    CKLVSyntaxEditWorkerThread m_thread;
    CKLVCriticalSection m_csFiles;
};
