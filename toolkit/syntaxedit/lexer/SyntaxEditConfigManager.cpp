#include "toolkit/syntaxedit/lexer/SyntaxEditConfigManager.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditIniFile.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditSchemaFileStore.h"

namespace {

const char kThemesSection[] = "themes";
const char kSchemesSection[] = "schemes";

}  // namespace

CKLVSyntaxEditConfigManager::CLock::CLock(CMutex& mutex, HANDLE hGiveUp) : m_hMutex(mutex.m_hObject) {
    const HANDLE handles[2] = {m_hMutex, hGiveUp};
    const DWORD dwResult = CKLVSyntaxEditWorkerThread::Wait(hGiveUp ? 2 : 1, handles, INFINITE);
    m_bLocked = dwResult == WAIT_OBJECT_0 || dwResult == WAIT_ABANDONED_0;
}

CKLVSyntaxEditConfigManager::CLock::~CLock() {
    if (m_bLocked) ::ReleaseMutex(m_hMutex);
}

CKLVSyntaxEditConfigManager::CKLVSyntaxEditConfigManager() : m_pConnection(new CKLVNotificationConnectionMT) {}

CKLVSyntaxEditConfigManager::~CKLVSyntaxEditConfigManager() {
    Close();
    m_pConnection->InternalRelease();
}

CKLVTextSchemaRef CKLVSyntaxEditConfigManager::FindSchemaForFile(LPCSTR lpszFileName) {
    CKLVTextSchemaPtr pSchema = m_schemes.FindSchemaForFile(lpszFileName);
    return CKLVTextSchemaRef(pSchema.Get());
}

CString CKLVSyntaxEditConfigManager::GetConfigFile() {
    CLock lock(m_lock, nullptr);
    return m_strConfigFile;
}

BOOL CKLVSyntaxEditConfigManager::SetConfigFile(LPCSTR lpszPath) {
    std::vector<CNote> arNotes;
    BOOL bLoaded;
    {
        CLock lock(m_lock, nullptr);
        m_strConfigFile = lpszPath;
        bLoaded = LoadUnlocked(nullptr, arNotes);
    }
    Publish(arNotes);
    return bLoaded;
}

void CKLVSyntaxEditConfigManager::ReloadConfig(HANDLE hCancel) {
    std::vector<CNote> arNotes;
    {
        CLock lock(m_lock, hCancel);
        if (!lock.IsLocked()) return;
        LoadUnlocked(hCancel, arNotes);
    }
    Publish(arNotes);
}

BOOL CKLVSyntaxEditConfigManager::LoadUnlocked(HANDLE hCancel, std::vector<CNote>& arNotes) {
    m_monitor.StopConfigMonitor();
    m_themes.RemoveAll();
    m_schemes.RemoveAll();
    CString strPath = m_strConfigFile;
    if (!m_monitor.AddFile(strPath, klvConfigFileMain)) {
        arNotes.push_back({klvEditConfigLoaded, CString(), {}, {}});
        if (!m_bClosing) m_monitor.StartConfigMonitor();
        return TRUE;
    }
    m_monitor.SetBaseFolder(CKLVSyntaxEditIniFile::GetFolder(m_strConfigFile));
    BOOL bCancelled = FALSE;
    LoadThemes(hCancel, bCancelled);
    if (!bCancelled) LoadSchemes(hCancel, bCancelled);
    if (bCancelled) return FALSE;
    SetThemeUnlocked(m_strCurrentTheme, nullptr);
    if (IsSignalled(hCancel)) return FALSE;
    arNotes.push_back({klvEditConfigLoaded, CString(), {}, {}});
    if (!m_bClosing) m_monitor.StartConfigMonitor();
    return TRUE;
}

void CKLVSyntaxEditConfigManager::LoadThemes(HANDLE hCancel, BOOL& bCancelled) {
    std::vector<CKLVSyntaxEditIniFile::CLine> arLines;
    CKLVSyntaxEditIniFile::ReadSection(m_strConfigFile, kThemesSection, arLines);
    for (CKLVSyntaxEditIniFile::CLine& line : arLines) {
        if ((bCancelled = IsSignalled(hCancel))) return;
        if (m_monitor.AddFile(line.strValue, klvConfigFileTheme))
            m_themes.AddTheme(line.strKey, line.strValue);
        else
            m_themes.AddPendingFile(line.strValue, line.strKey);
    }
}

void CKLVSyntaxEditConfigManager::LoadSchemes(HANDLE hCancel, BOOL& bCancelled) {
    std::vector<CKLVSyntaxEditIniFile::CLine> arLines;
    CKLVSyntaxEditIniFile::ReadSection(m_strConfigFile, kSchemesSection, arLines);
    for (CKLVSyntaxEditIniFile::CLine& line : arLines) {
        if ((bCancelled = IsSignalled(hCancel))) return;
        const BOOL bExists = m_monitor.AddFile(line.strValue, klvConfigFileScheme);
        const CKLVSyntaxEditSchemeMap::CEntry entry{line.strKey, line.strValue, line.strComment};
        if (bExists)
            m_schemes.LoadScheme(entry);
        else
            m_schemes.AddSchemeEntry(entry);
    }
}

void CKLVSyntaxEditConfigManager::ReloadConfigAsync(int nPriority, HANDLE hGiveUp) {
    CLock lock(m_lockReload, hGiveUp);
    // The earlier reload would only be undone by this one. A caller that must give up meanwhile
    // is the monitor, stopped by a reload that will watch and load everything anew.
    if (!lock.IsLocked() || m_bClosing || !StopReloadThread(hGiveUp)) return;
    m_hCancelReload = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_hCancelReload) return;
    const HANDLE hCancel = m_hCancelReload;
    if (!m_reloadThread.Start(
            [this, hCancel] {
                ReloadConfig(hCancel);
                return DWORD(0);
            },
            nPriority)) {
        ::CloseHandle(m_hCancelReload);
        m_hCancelReload = nullptr;
    }
}

BOOL CKLVSyntaxEditConfigManager::StopReloadThread(HANDLE hGiveUp) {
    if (m_hCancelReload) ::SetEvent(m_hCancelReload);
    // A cancelled reload gives up its wait for the lock, so the join ends. When the caller has
    // to give up instead, the reload is stopping the monitor and waits for this thread: it is
    // let go on as if it had never been asked to cancel.
    if (!m_reloadThread.Join(INFINITE, hGiveUp)) {
        ::ResetEvent(m_hCancelReload);
        return FALSE;
    }
    if (m_hCancelReload) ::CloseHandle(m_hCancelReload);
    m_hCancelReload = nullptr;
    return TRUE;
}

void CKLVSyntaxEditConfigManager::OnConfigFileChanged(LPCSTR lpszPath, DWORD dwFlags, int nKind, HANDLE hGiveUp) {
    std::vector<CNote> arNotes;
    BOOL bReloadAll = FALSE;
    {
        CLock lock(m_lock, hGiveUp);
        if (!lock.IsLocked()) return;
        if (!dwFlags || (dwFlags & klvConfigFileTheme)) {
            const CString strName = m_themes.ReloadThemeFile(lpszPath, nKind);
            if (!strName.IsEmpty()) {
                if (strName.CompareNoCase(m_strCurrentTheme) == 0) SetThemeUnlocked(m_strCurrentTheme, nullptr);
                arNotes.push_back({klvEditThemeReloaded, strName, {}, m_themes.Lookup(strName)});
            }
        }
        CString strName;
        if (arNotes.empty() && (!dwFlags || (dwFlags & klvConfigFileScheme)) &&
            m_schemes.ReloadSchemeFile(lpszPath, nKind, strName)) {
            CKLVTextSchemaPtr pSchema = m_schemes.Lookup(strName);
            if (pSchema) pSchema->SetTheme(reinterpret_cast<LPARAM>(m_themes.Lookup(m_strCurrentTheme).Get()));
            arNotes.push_back({klvEditSchemaReloaded, strName, pSchema, {}});
        }
        bReloadAll = arNotes.empty() && (!dwFlags || (dwFlags & klvConfigFileMain));
    }
    Publish(arNotes);
    if (bReloadAll) ReloadConfigAsync(THREAD_PRIORITY_NORMAL, hGiveUp);
}

void CKLVSyntaxEditConfigManager::SetTheme(LPCSTR lpszName, CKLVSyntaxEditLexTextSchema* pExtra) {
    CLock lock(m_lock, nullptr);
    SetThemeUnlocked(lpszName, pExtra);
}

void CKLVSyntaxEditConfigManager::SetThemeUnlocked(LPCSTR lpszName, CKLVSyntaxEditLexTextSchema* pExtra) {
    m_strCurrentTheme = lpszName;
    const CKLVThemePtr pTheme = m_themes.Lookup(lpszName);
    const LPARAM lTheme = reinterpret_cast<LPARAM>(pTheme.Get());
    for (const CKLVTextSchemaPtr& pSchema : m_schemes.GetSchemas()) pSchema->SetTheme(lTheme);
    if (pExtra) pExtra->SetTheme(lTheme);
}

void CKLVSyntaxEditConfigManager::Publish(std::vector<CNote>& arNotes) {
    for (const CNote& note : arNotes) {
        LPARAM lParam = 0;
        if (note.pSchema) lParam = reinterpret_cast<LPARAM>(static_cast<IKLVSyntaxEditTextSchema*>(note.pSchema.Get()));
        if (note.pTheme) lParam = reinterpret_cast<LPARAM>(note.pTheme.Get());
        const WPARAM wParam = note.strName.IsEmpty() ? 0 : reinterpret_cast<WPARAM>(note.strName.GetString());
        m_pConnection->Notify(note.dwCode, wParam, lParam, 0);
    }
    arNotes.clear();
}

void CKLVSyntaxEditConfigManager::Close() {
    m_bClosing = true;
    {
        CLock lock(m_lockReload, nullptr);
        StopReloadThread(nullptr);
    }
    {
        // The monitor's report in progress gives up its wait for this lock once it is stopped.
        CLock lock(m_lock, nullptr);
        m_monitor.StopConfigMonitor();
        m_themes.RemoveAll();
        m_schemes.RemoveAll();
    }
    m_bClosing = false;
}

std::vector<CKLVSyntaxEditSchemeMap::CEntry> CKLVSyntaxEditConfigManager::GetSchemeEntries() {
    CLock lock(m_lock, nullptr);
    return m_schemes.GetEntries();
}

void CKLVSyntaxEditConfigManager::CopyLexClassInfosTo(CKLVSyntaxEditLexClassInfoMap& target) {
    CLock lock(m_lock, nullptr);
    GetSchemaFileStore().CopyLexClassInfosTo(target);
}

BOOL CKLVSyntaxEditConfigManager::WriteLexClassFiles(CKLVSyntaxEditLexClassInfoMap& edited, CStringArray* pFailed) {
    CLock lock(m_lock, nullptr);
    // The monitor's thread looks into the files without the lock; its look would fail a replace.
    CKLVCriticalSectionLock holdMonitor(&m_monitor.GetFileLock());
    BOOL bAll = TRUE;
    for (auto& file : edited) {
        if (!file.second->m_bModified) continue;
        if (GetSchemaFileStore().WriteLexClassFile(file.first.c_str(), *file.second)) {
            file.second->m_bModified = FALSE;
            continue;
        }
        bAll = FALSE;
        if (pFailed) pFailed->Add(file.first.c_str());
    }
    return bAll;
}
