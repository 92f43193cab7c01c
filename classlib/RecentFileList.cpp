#include "classlib/RecentFileList.h"

#include "classlib/CmdUI.h"
#include "classlib/Menu.h"
#include "classlib/WinApp.h"

#include <cstdio>

namespace {

CString FullPath(LPCTSTR lpszPathName) {
    char szFull[MAX_PATH];
    DWORD nLength = ::GetFullPathNameA(lpszPathName, sizeof szFull, szFull, nullptr);
    return nLength > 0 && nLength < sizeof szFull ? CString(szFull) : CString(lpszPathName);
}

CString EntryName(const CString& strFormat, int nIndex) {
    char szEntry[64];
    std::snprintf(szEntry, sizeof szEntry, strFormat, nIndex + 1);
    return szEntry;
}

}  // namespace

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nStart(nStart),
      m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat),
      m_nMaxDisplayLength(nMaxDispLen),
      m_arrNames(static_cast<size_t>(nSize > 0 ? nSize : 0)) {}

void CRecentFileList::Add(LPCTSTR lpszPathName) {
    if (m_arrNames.empty() || !lpszPathName || !*lpszPathName) return;
    const CString strPath = FullPath(lpszPathName);
    size_t nFound = m_arrNames.size() - 1;   // not listed: the oldest falls out
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        if (m_arrNames[i].CompareNoCase(strPath) == 0) {
            nFound = i;
            break;
        }
    }
    for (size_t i = nFound; i > 0; --i) m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = strPath;
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= GetSize()) return;
    for (size_t i = static_cast<size_t>(nIndex); i + 1 < m_arrNames.size(); ++i) m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames.back().Empty();
}

void CRecentFileList::ReadList() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return;
    for (int i = 0; i < GetSize(); ++i)
        m_arrNames[static_cast<size_t>(i)] = pApp->GetProfileString(m_strSectionName, EntryName(m_strEntryFormat, i));
}

void CRecentFileList::WriteList() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return;
    pApp->WriteProfileString(m_strSectionName, nullptr, nullptr);   // entries of a longer list go
    for (int i = 0; i < GetSize(); ++i) {
        const CString& strName = m_arrNames[static_cast<size_t>(i)];
        if (!strName.IsEmpty()) pApp->WriteProfileString(m_strSectionName, EntryName(m_strEntryFormat, i), strName);
    }
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCTSTR, int, BOOL) const {
    if (nIndex < 0 || nIndex >= GetSize() || m_arrNames[static_cast<size_t>(nIndex)].IsEmpty()) return FALSE;
    strName = m_arrNames[static_cast<size_t>(nIndex)];
    if (m_nMaxDisplayLength > 3 && strName.GetLength() > m_nMaxDisplayLength)
        strName = "..." + strName.Right(m_nMaxDisplayLength - 3);
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
    CMenu* pMenu = pCmdUI->m_pMenu;
    if (!pMenu) return;
    if (GetSize() == 0 || m_arrNames[0].IsEmpty()) {
        pCmdUI->Enable(FALSE);
        return;
    }
    // Our items from the first id on go; then one per file in their place.
    for (UINT nID = m_nStart; nID < m_nStart + static_cast<UINT>(GetSize()); ++nID) pMenu->DeleteMenu(nID, MF_BYCOMMAND);
    int nShown = 0;
    for (int i = 0; i < GetSize(); ++i) {
        CString strName;
        if (!GetDisplayName(strName, i, nullptr, 0)) break;
        strName.Replace("&", "&&");   // an ampersand in a path is not a mnemonic
        CString strText;
        strText.Format("&%d %s", (i + 1) % 10, static_cast<LPCTSTR>(strName));
        pMenu->InsertMenu(pCmdUI->m_nIndex + static_cast<UINT>(i), MF_STRING | MF_BYPOSITION, m_nStart + static_cast<UINT>(i),
                          strText);
        ++nShown;
    }
    // The caller's walk goes on after our items.
    pCmdUI->m_nIndex += static_cast<UINT>(nShown - 1);
    pCmdUI->m_nIndexMax = static_cast<UINT>(pMenu->GetMenuItemCount());
    pCmdUI->m_bEnableChanged = TRUE;
}
