// The screen chains that colour the rows on screen: each entry holds the chain that an on-screen
// parse made for a range of rows, so that painting parses a range once and edits drop only what
// they invalidate.
#pragma once

#include "toolkit/syntaxedit/text/SyntaxEditLexLink.h"

#include <functional>
#include <vector>

class CKLVSyntaxEditScreenSchemaCache {
public:
    // Parses rows into a new screen chain; none when that cannot be done now.
    typedef std::function<CKLVSchemaHandlePtr(int nFirstRow, int nLastRow)> ParseFn;

    struct Entry {
        int nFirstRow;
        int nLastRow;
        DWORD dwLastUse;
        CKLVSchemaHandlePtr pHead;
    };

    CKLVSyntaxEditScreenSchemaCache() = default;
    ~CKLVSyntaxEditScreenSchemaCache() { RemoveAll(); }
    CKLVSyntaxEditScreenSchemaCache(const CKLVSyntaxEditScreenSchemaCache&) = delete;
    CKLVSyntaxEditScreenSchemaCache& operator=(const CKLVSyntaxEditScreenSchemaCache&) = delete;

    // The chain of the entry holding nRow, refreshed in use.
    IKLVSyntaxEditSchemaHandle* Find(int nRow, DWORD dwNow);
    // Parses a new range for nRow (nWindow: the rows a screen shows plus one; arCollapsed: rows
    // where collapsed blocks start, which end a range) and keeps it. Null when the parse fails.
    IKLVSyntaxEditSchemaHandle* Add(int nRow, int nWindow, const std::vector<int>& arCollapsed, DWORD dwNow,
                                    const ParseFn& fnParse);
    // The range Add would parse for nRow.
    void CalcRange(int nRow, int nWindow, const std::vector<int>& arCollapsed, int& nFirst, int& nLast) const;
    // Drops the entries from nRow on (an entry holding nRow ends before it); -1 empties the cache.
    void DropFrom(int nRow);
    // At most once per min(L, 10 s): drops entries unused for L seconds (L 0 or -1: never).
    void Purge(int nLifeTimeSec, DWORD dwNow);
    void RemoveAll();
    const std::vector<Entry>& GetEntries() const { return m_arEntries; }

private:
    void RemoveAt(size_t nIndex);

    std::vector<Entry> m_arEntries;
    DWORD m_dwLastPurge = 0;
};
