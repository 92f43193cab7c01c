// The lexer configuration every editor of the process shares: the themes and schemes a main
// INI file lists, the file monitor that watches them, and the reloads after a change, each
// announced on a connection (10 a scheme reloaded, 11 a theme reloaded, 12 a full load ended).
//
// Threads: the user interface thread loads and closes; the monitor thread reports changes; a
// reload thread runs full reloads. One lock guards the maps; notifications are published only
// after it is released, and every wait for the lock or for a thread lets messages sent to the
// waiting thread through, so a thread that holds the lock never waits for one that waits for it.
#pragma once

#include "toolkit/syntaxedit/text/SyntaxEditLexLink.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditFileMonitor.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditSchemeMap.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditTheme.h"

#include <atomic>
#include <vector>

class CKLVSyntaxEditConfigManager : public CCmdTarget,
                                    public IKLVSyntaxEditConfigManager,
                                    public IKLVSyntaxEditFileMonitorOwner {
public:
    CKLVSyntaxEditConfigManager();
    ~CKLVSyntaxEditConfigManager() override;

    // IKLVSyntaxEditConfigManager
    CKLVTextSchemaRef FindSchemaForFile(LPCSTR lpszFileName) override;
    CString GetConfigFile() override;
    // Loads the configuration at once; TRUE once it is loaded.
    BOOL SetConfigFile(LPCSTR lpszPath) override;
    // Stops the monitor and any reload, and forgets every theme and scheme.
    void Close() override;
    CKLVNotificationConnection* GetConnection() override { return m_pConnection; }
    // The last holder's release deletes the manager.
    void Release() override { InternalRelease(); }

    // A full load; one asked to cancel (hCancel signalled) stops at its next entry.
    virtual void ReloadConfig(HANDLE hCancel = nullptr);
    // A full load on a thread of its own; one that still runs is cancelled and joined first.
    // A caller whose hGiveUp is signalled meanwhile starts none.
    virtual void ReloadConfigAsync(int nPriority, HANDLE hGiveUp = nullptr);
    void OnConfigFileChanged(LPCSTR lpszPath, DWORD dwFlags, int nKind, HANDLE hGiveUp) override;
    // Makes the theme current and applies it to every scheme and to pExtra.
    virtual void SetTheme(LPCSTR lpszName, CKLVSyntaxEditLexTextSchema* pExtra);

    CKLVSyntaxEditThemeMap& GetThemes() { return m_themes; }
    CKLVSyntaxEditSchemeMap& GetSchemes() { return m_schemes; }
    CKLVSyntaxEditFileMonitor& GetFileMonitor() { return m_monitor; }
    // The configured schemes, in the order of the main INI.
    std::vector<CKLVSyntaxEditSchemeMap::CEntry> GetSchemeEntries();
    // The schema file store's cached blocks copied, and edited copies written back, under the
    // lock under which the reload and monitor threads load files through the same store.
    void CopyLexClassInfosTo(CKLVSyntaxEditLexClassInfoMap& target);
    // A written array is no longer modified. FALSE when a modified array could not be written
    // (it stays modified); pFailed then receives the paths of those files.
    BOOL WriteLexClassFiles(CKLVSyntaxEditLexClassInfoMap& edited, CStringArray* pFailed = nullptr);

private:
    // One announcement, holding what it names alive until every subscriber has seen it.
    struct CNote {
        DWORD dwCode;
        CString strName;
        CKLVTextSchemaPtr pSchema;
        CKLVThemePtr pTheme;
    };
    // Holds a mutex unless hGiveUp is signalled first.
    class CLock {
    public:
        CLock(CMutex& mutex, HANDLE hGiveUp);
        ~CLock();
        BOOL IsLocked() const { return m_bLocked; }

    private:
        HANDLE m_hMutex;
        BOOL m_bLocked = FALSE;
    };

    BOOL LoadUnlocked(HANDLE hCancel, std::vector<CNote>& arNotes);
    void LoadThemes(HANDLE hCancel, BOOL& bCancelled);
    void LoadSchemes(HANDLE hCancel, BOOL& bCancelled);
    void SetThemeUnlocked(LPCSTR lpszName, CKLVSyntaxEditLexTextSchema* pExtra);
    void Publish(std::vector<CNote>& arNotes);
    BOOL StopReloadThread(HANDLE hGiveUp);
    static BOOL IsSignalled(HANDLE h) { return h && ::WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }

    CString m_strConfigFile;
    CKLVSyntaxEditFileMonitor m_monitor{this};
    CKLVSyntaxEditThemeMap m_themes;
    CKLVSyntaxEditSchemeMap m_schemes;
    CString m_strCurrentTheme = "Default";
    CKLVNotificationConnectionMT* m_pConnection;
    CMutex m_lock;
    // The reload thread and its cancel event are started and joined under this one.
    CMutex m_lockReload;
    CKLVSyntaxEditWorkerThread m_reloadThread;
    HANDLE m_hCancelReload = nullptr;
    std::atomic<bool> m_bClosing{false};
};
