#include "toolkit/syntaxedit/lexer/SyntaxEditFileMonitor.h"

namespace {

// Half a second in 100 ns units: a time stamp that moves less is the same one.
const ULONGLONG kTimeTolerance = 5000000;

ULONGLONG ToUInt64(const FILETIME& ft) {
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

BOOL IsRelative(const CString& strPath) {
    return strPath.IsEmpty() || !(strPath[0] == '\\' || strPath[0] == '/' || (strPath.GetLength() > 1 && strPath[1] == ':'));
}

}  // namespace

BOOL CKLVSyntaxEditFileMonitor::ReadFileInfo(LPCSTR lpszPath, BY_HANDLE_FILE_INFORMATION& info) {
    ZeroMemory(&info, sizeof info);
    CKLVCriticalSectionLock lock(&m_csFiles);
    // Never in the way of whoever edits or deletes the file.
    HANDLE hFile = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return FALSE;
    const BOOL bRead = ::GetFileInformationByHandle(hFile, &info);
    ::CloseHandle(hFile);
    if (!bRead) ZeroMemory(&info, sizeof info);
    return bRead;
}

BOOL CKLVSyntaxEditFileMonitor::IsChanged(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    const ULONGLONG t1 = ToUInt64(a.ftLastWriteTime), t2 = ToUInt64(b.ftLastWriteTime);
    // A file replaced by another (a rewrite through a new file) is a change even when size and
    // time stamp happen to match.
    return (t1 > t2 ? t1 - t2 : t2 - t1) > kTimeTolerance || a.nFileSizeHigh != b.nFileSizeHigh ||
           a.nFileSizeLow != b.nFileSizeLow || a.nFileIndexHigh != b.nFileIndexHigh ||
           a.nFileIndexLow != b.nFileIndexLow || a.dwVolumeSerialNumber != b.dwVolumeSerialNumber;
}

BOOL CKLVSyntaxEditFileMonitor::AddFile(CString& rPath, DWORD dwFlags) {
    CEntry entry{rPath, {}, FALSE, dwFlags};
    entry.bExists = ReadFileInfo(rPath, entry.info);
    if (!entry.bExists && !m_strBaseFolder.IsEmpty()) {
        const CString strCombined = m_strBaseFolder + rPath;
        entry.bExists = ReadFileInfo(strCombined, entry.info);
        // A missing relative file is watched, and later reported, under the path it will
        // have, so that the owner recognises it when it appears.
        if (entry.bExists || IsRelative(rPath)) rPath = strCombined;
    }
    if (entry.bExists) {
        char szFull[MAX_PATH];
        const DWORD n = ::GetFullPathNameA(rPath, MAX_PATH, szFull, nullptr);
        if (n > 0 && n < MAX_PATH) rPath = szFull;
    }
    entry.strPath = rPath;
    m_arEntries.push_back(entry);
    return entry.bExists;
}

void CKLVSyntaxEditFileMonitor::StartConfigMonitor() {
    if (m_thread.IsStarted()) return;
    m_hStop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_hStop) return;
    if (!m_thread.Start([this] { return Run(); }, THREAD_PRIORITY_LOWEST)) {
        ::CloseHandle(m_hStop);
        m_hStop = nullptr;
    }
}

void CKLVSyntaxEditFileMonitor::StopConfigMonitor() {
    if (m_thread.IsStarted()) {
        ::SetEvent(m_hStop);
        // The thread gives up whatever it waits for once the stop event is set, so this ends.
        m_thread.Join(INFINITE);
    }
    if (m_hStop) ::CloseHandle(m_hStop);
    m_hStop = nullptr;
    m_arEntries.clear();
}

DWORD CKLVSyntaxEditFileMonitor::Run() {
    for (;;) {
        const DWORD dwResult = ::WaitForSingleObject(m_hStop, m_dwPollInterval);
        if (dwResult == WAIT_TIMEOUT)
            CheckFiles();
        else
            return 0;   // stopped, or the wait itself failed: never spin on a broken handle
    }
}

void CKLVSyntaxEditFileMonitor::CheckFiles() {
    for (size_t i = 0; i < m_arEntries.size() && !IsStopping(); ++i) {
        CEntry& entry = m_arEntries[i];
        BY_HANDLE_FILE_INFORMATION info;
        if (ReadFileInfo(entry.strPath, info)) {
            if (!entry.bExists || IsChanged(info, entry.info)) {
                const int nKind = entry.bExists ? klvConfigFileChanged : klvConfigFileAppeared;
                entry.info = info;
                entry.bExists = TRUE;
                const CString strPath = entry.strPath;
                m_pOwner->OnConfigFileChanged(strPath, entry.dwFlags, nKind, m_hStop);
            }
            continue;
        }
        if (entry.bExists) {
            entry.bExists = FALSE;
            ZeroMemory(&entry.info, sizeof entry.info);
            const CString strPath = entry.strPath;
            m_pOwner->OnConfigFileChanged(strPath, entry.dwFlags, klvConfigFileRemoved, m_hStop);
        }
        if (!m_strBaseFolder.IsEmpty() && ReadFileInfo(m_strBaseFolder + entry.strPath, info)) {
            entry.strPath = m_strBaseFolder + entry.strPath;
            --i;   // examined again in this pass, where it appears
        }
    }
}
