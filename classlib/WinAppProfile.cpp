// CWinApp: the application profile in the registry and the recent-file list kept there.
#include "classlib/WinApp.h"

#include "classlib/CommandIds.h"

#include <memory>

namespace {

// Closes a registry key it holds.
struct RegKey {
    HKEY hKey = nullptr;
    explicit RegKey(HKEY h) : hKey(h) {}
    ~RegKey() {
        if (hKey) ::RegCloseKey(hKey);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
};

HKEY CreateSubKey(HKEY hParent, LPCTSTR lpszName) {
    HKEY hKey = nullptr;
    DWORD dwDisposition = 0;
    if (!hParent || ::RegCreateKeyExA(hParent, lpszName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                      nullptr, &hKey, &dwDisposition) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

// The value's bytes; FALSE when it is missing or of another type.
BOOL QueryValue(HKEY hKey, LPCTSTR lpszEntry, DWORD dwType, std::unique_ptr<BYTE[]>& data, DWORD& nBytes) {
    DWORD dwActual = 0;
    nBytes = 0;
    if (!hKey || ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwActual, nullptr, &nBytes) != ERROR_SUCCESS ||
        dwActual != dwType)
        return FALSE;
    data = std::make_unique<BYTE[]>(nBytes + 1);   // room for a terminator the value may lack
    if (::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwActual, data.get(), &nBytes) != ERROR_SUCCESS) return FALSE;
    data[nBytes] = 0;
    return TRUE;
}

}  // namespace

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey;
    m_pszProfileName = m_pszAppName;
}

HKEY CWinApp::GetAppRegistryKey() {
    if (!m_pszRegistryKey || !m_pszProfileName) return nullptr;
    RegKey software(CreateSubKey(HKEY_CURRENT_USER, "Software"));
    RegKey company(CreateSubKey(software.hKey, m_pszRegistryKey));
    return CreateSubKey(company.hKey, m_pszProfileName);
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection) {
    RegKey app(GetAppRegistryKey());
    return CreateSubKey(app.hKey, lpszSection);
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    RegKey section(GetSectionKey(lpszSection));
    std::unique_ptr<BYTE[]> data;
    DWORD nBytes = 0;
    if (!QueryValue(section.hKey, lpszEntry, REG_DWORD, data, nBytes) || nBytes != sizeof(DWORD))
        return static_cast<UINT>(nDefault);
    DWORD dwValue = 0;
    memcpy(&dwValue, data.get(), sizeof dwValue);
    return dwValue;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    RegKey section(GetSectionKey(lpszSection));
    DWORD dwValue = static_cast<DWORD>(nValue);
    return section.hKey && ::RegSetValueExA(section.hKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                            sizeof dwValue) == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    RegKey section(GetSectionKey(lpszSection));
    std::unique_ptr<BYTE[]> data;
    DWORD nBytes = 0;
    if (!QueryValue(section.hKey, lpszEntry, REG_SZ, data, nBytes)) return CString(lpszDefault);
    return CString(reinterpret_cast<LPCSTR>(data.get()));
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    if (!lpszEntry) {
        RegKey app(GetAppRegistryKey());
        return app.hKey && ::RegDeleteKeyA(app.hKey, lpszSection) == ERROR_SUCCESS;
    }
    RegKey section(GetSectionKey(lpszSection));
    if (!section.hKey) return FALSE;
    if (!lpszValue) return ::RegDeleteValueA(section.hKey, lpszEntry) == ERROR_SUCCESS;
    return ::RegSetValueExA(section.hKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                            static_cast<DWORD>(lstrlenA(lpszValue) + 1)) == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
    *ppData = nullptr;
    *pBytes = 0;
    RegKey section(GetSectionKey(lpszSection));
    std::unique_ptr<BYTE[]> data;
    DWORD nBytes = 0;
    if (!QueryValue(section.hKey, lpszEntry, REG_BINARY, data, nBytes)) return FALSE;
    *ppData = new BYTE[nBytes ? nBytes : 1];
    memcpy(*ppData, data.get(), nBytes);
    *pBytes = nBytes;
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes) {
    RegKey section(GetSectionKey(lpszSection));
    return section.hKey && ::RegSetValueExA(section.hKey, lpszEntry, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    if (nMaxMRU == 0) return;
    if (nMaxMRU > ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1) nMaxMRU = ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1;
    m_pRecentFileList = std::make_unique<CRecentFileList>(ID_FILE_MRU_FIRST, "Recent File List", "File%d",
                                                          static_cast<int>(nMaxMRU));
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList) m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
    if (m_pRecentFileList) m_pRecentFileList->Add(lpszPathName);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
    if (!m_pRecentFileList) return FALSE;
    const int nIndex = static_cast<int>(nID - ID_FILE_MRU_FIRST);
    if (nIndex < 0 || nIndex >= m_pRecentFileList->GetSize() || (*m_pRecentFileList)[nIndex].IsEmpty()) return FALSE;
    // A file that cannot be opened any more leaves the list.
    if (!OpenDocumentFile((*m_pRecentFileList)[nIndex])) m_pRecentFileList->Remove(nIndex);
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    if (m_pRecentFileList) m_pRecentFileList->UpdateMenu(pCmdUI);
    else pCmdUI->Enable(FALSE);
}
