// The store: loading files into blocks, the cache by path, and the one instance.
#include "toolkit/syntaxedit/lexer/SyntaxEditSchemaFileStore.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"

namespace {

// The whole file as text; FALSE for a missing path or a folder.
BOOL ReadFileText(LPCSTR lpszPath, CString& strText) {
    CFile file;
    if (!lpszPath || !*lpszPath || !file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
        return FALSE;
    try {
        const UINT nLength = static_cast<UINT>(file.GetLength());
        LPSTR p = strText.GetBufferSetLength(static_cast<int>(nLength));
        const UINT nRead = file.Read(p, nLength);
        strText.ReleaseBuffer(static_cast<int>(nRead));
        // A NUL in the file ends the text there, as it ends every string made from it.
        strText.ReleaseBuffer(-1);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

}  // namespace

CKLVSyntaxEditSchemaFileStore& GetSchemaFileStore() {
    static CKLVSyntaxEditSchemaFileStore s_store;
    return s_store;
}

void CKLVSyntaxEditSchemaFileStore::LoadSchemaText(LPCSTR lpszText) {
    CKLVCriticalSectionLock lock(&m_cs);
    SetText(lpszText);
    ParseSchemaText(m_arCurrent);
}

void CKLVSyntaxEditSchemaFileStore::LoadSchemaFile(LPCSTR lpszPath, BOOL bCache) {
    CString strText;
    if (!ReadFileText(lpszPath, strText)) return;
    CKLVCriticalSectionLock lock(&m_cs);
    SetText(strText);
    ParseSchemaText(m_arCurrent);
    if (bCache) m_mapCache[lpszPath] = std::make_unique<CKLVSyntaxEditLexClassInfoArray>(m_arCurrent);
}

void CKLVSyntaxEditSchemaFileStore::CopyLexClassInfosTo(CKLVSyntaxEditLexClassInfoMap& target) {
    CKLVCriticalSectionLock lock(&m_cs);
    target.clear();
    for (const auto& entry : m_mapCache)
        target[entry.first] = std::make_unique<CKLVSyntaxEditLexClassInfoArray>(*entry.second);
}

const CKLVSyntaxEditLexClassInfoArray* CKLVSyntaxEditSchemaFileStore::GetCached(LPCSTR lpszPath) {
    CKLVCriticalSectionLock lock(&m_cs);
    auto it = m_mapCache.find(lpszPath);
    return it == m_mapCache.end() ? nullptr : it->second.get();
}

void CKLVSyntaxEditSchemaFileStore::ReadLines(LPCSTR lpszPath, CStringArray& arLines) {
    arLines.RemoveAll();
    CString strText;
    if (!ReadFileText(lpszPath, strText)) return;
    arLines.Add(CString());
    int nStart = 0;
    while (nStart < strText.GetLength()) {
        int nEnd = strText.Find('\n', nStart);
        if (nEnd < 0) nEnd = strText.GetLength();
        CString strLine = strText.Mid(nStart, nEnd - nStart);
        if (!strLine.IsEmpty() && strLine[strLine.GetLength() - 1] == '\r') strLine.Delete(strLine.GetLength() - 1);
        arLines.Add(strLine);
        nStart = nEnd + 1;
    }
}
