// CRecentFileList: the most recently used files, newest first, kept in the application profile
// (one section, entries "File1", "File2", ...) and shown in a menu in place of the first
// recent-file command.
#pragma once

#include "classlib/String.h"

#include <vector>

class CCmdUI;

class CRecentFileList {
public:
    // nStart: the command id of the first entry; lpszEntryFormat: e.g. "File%d" (numbered from 1).
    CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                    int nMaxDispLen = 0);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return static_cast<int>(m_arrNames.size()); }   // the capacity
    CString& operator[](int nIndex) { return m_arrNames.at(static_cast<size_t>(nIndex)); }

    // Puts the path first; the same file (by its full path, any case) moves up instead of twice.
    virtual void Add(LPCTSTR lpszPathName);
    virtual void Remove(int nIndex);   // the entries after it move up
    virtual void ReadList();           // from the application profile
    virtual void WriteList();          // to the application profile; empty slots are removed
    // Replaces the menu's items from the first entry's id on with one item per file ("&1 path");
    // without files the first item stays, disabled.
    virtual void UpdateMenu(CCmdUI* pCmdUI);
    // The text shown for an entry; FALSE for an empty slot.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nMaxDisplayLength;

private:
    std::vector<CString> m_arrNames;   // the slots; empty strings are unused
};
