#include "toolkit/syntaxedit/SyntaxEditScreenSchemaCache.h"

#include <algorithm>

IKLVSyntaxEditSchemaHandle* CKLVSyntaxEditScreenSchemaCache::Find(int nRow, DWORD dwNow) {
    for (Entry& entry : m_arEntries) {
        if (entry.nFirstRow <= nRow && nRow <= entry.nLastRow) {
            entry.dwLastUse = dwNow;
            return entry.pHead.get();
        }
    }
    return nullptr;
}

void CKLVSyntaxEditScreenSchemaCache::CalcRange(int nRow, int nWindow, const std::vector<int>& arCollapsed,
                                                int& nFirst, int& nLast) const {
    int nLower = 1;
    nLast = nRow + nWindow;
    for (const Entry& entry : m_arEntries) {
        if (entry.nFirstRow > nRow && entry.nFirstRow <= nLast) nLast = entry.nFirstRow - 1;
        if (entry.nLastRow + 1 > nLower && entry.nLastRow + 1 < nRow) nLower = entry.nLastRow + 1;
    }
    for (int nCollapsed : arCollapsed)
        if (nCollapsed >= nRow && nCollapsed < nLast) nLast = nCollapsed;
    nFirst = nRow;
    // Too little room ahead: the range grows backwards instead, up to the entry before.
    if (nLast - nRow < nWindow / 2) nFirst = std::max(nRow - nWindow, nLower);
}

IKLVSyntaxEditSchemaHandle* CKLVSyntaxEditScreenSchemaCache::Add(int nRow, int nWindow,
                                                                 const std::vector<int>& arCollapsed, DWORD dwNow,
                                                                 const ParseFn& fnParse) {
    int nFirst = 0, nLast = 0;
    CalcRange(nRow, nWindow, arCollapsed, nFirst, nLast);
    CKLVSchemaHandlePtr pHead = fnParse(nFirst, nLast);
    if (!pHead) return nullptr;
    m_arEntries.push_back(Entry{nFirst, nLast, dwNow, std::move(pHead)});
    return m_arEntries.back().pHead.get();
}

void CKLVSyntaxEditScreenSchemaCache::RemoveAt(size_t nIndex) {
    // The chain is closed after the entry is gone.
    CKLVSchemaHandlePtr pHead = std::move(m_arEntries[nIndex].pHead);
    m_arEntries.erase(m_arEntries.begin() + static_cast<std::ptrdiff_t>(nIndex));
}

void CKLVSyntaxEditScreenSchemaCache::DropFrom(int nRow) {
    if (nRow == -1) {
        RemoveAll();
        return;
    }
    for (size_t i = m_arEntries.size(); i-- > 0;) {
        Entry& entry = m_arEntries[i];
        if (entry.nFirstRow >= nRow) {
            RemoveAt(i);
        } else if (entry.nLastRow >= nRow) {
            entry.nLastRow = nRow - 1;
            if (entry.nLastRow < entry.nFirstRow) RemoveAt(i);
        }
    }
}

void CKLVSyntaxEditScreenSchemaCache::Purge(int nLifeTimeSec, DWORD dwNow) {
    if (nLifeTimeSec <= 0) return;   // kept for good
    const DWORD dwLife = static_cast<DWORD>(nLifeTimeSec) * 1000;
    if (dwNow - m_dwLastPurge < std::min<DWORD>(dwLife, 10000)) return;
    m_dwLastPurge = dwNow;
    for (size_t i = m_arEntries.size(); i-- > 0;)
        if (dwNow - m_arEntries[i].dwLastUse >= dwLife) RemoveAt(i);
}

void CKLVSyntaxEditScreenSchemaCache::RemoveAll() {
    while (!m_arEntries.empty()) RemoveAt(m_arEntries.size() - 1);
}
