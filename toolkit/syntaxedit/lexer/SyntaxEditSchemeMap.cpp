#include "toolkit/syntaxedit/lexer/SyntaxEditSchemeMap.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditSchemaFileStore.h"

void CKLVSyntaxEditSchemeMap::LoadScheme(const CEntry& entry) {
    CKLVCriticalSectionLock lock(&m_cs);
    CKLVSyntaxEditSchemaFileStore& store = GetSchemaFileStore();
    store.LoadSchemaFile(entry.strFile, TRUE);
    CKLVTextSchemaPtr pSchema = KLVMakeCounted<CKLVSyntaxEditLexTextSchema>(entry.strName);
    // The current blocks stay those of the last file read when this one is gone.
    if (const CKLVSyntaxEditLexClassInfoArray* pBlocks = store.GetCached(entry.strFile))
        pSchema->LoadClasses(*pBlocks);
    m_mapSchemes[entry.strName] = pSchema;
    AddSchemeEntry(entry);
}

void CKLVSyntaxEditSchemeMap::AddSchemeEntry(const CEntry& entry) {
    CKLVCriticalSectionLock lock(&m_cs);
    BOOL bKnown = FALSE;
    for (const CEntry& known : m_arEntries) bKnown |= known.strName == entry.strName;
    if (!bKnown) m_arEntries.push_back(entry);
    for (INT_PTR i = 0; i < m_arNames.GetSize(); ++i)
        if (m_arNames[i] == entry.strName) return;
    m_arNames.Add(entry.strName);
}

BOOL CKLVSyntaxEditSchemeMap::ReloadSchemeFile(LPCSTR lpszPath, int nKind, CString& rName) {
    CKLVCriticalSectionLock lock(&m_cs);
    for (const CEntry& entry : m_arEntries) {
        if (entry.strFile.CompareNoCase(lpszPath) != 0) continue;
        rName = entry.strName;
        m_mapSchemes.erase(entry.strName);
        if (nKind != 2) LoadScheme(CEntry(entry));
        return TRUE;
    }
    return FALSE;
}

std::vector<CKLVSyntaxEditSchemeMap::CEntry> CKLVSyntaxEditSchemeMap::GetEntries() {
    CKLVCriticalSectionLock lock(&m_cs);
    return m_arEntries;
}

CKLVTextSchemaPtr CKLVSyntaxEditSchemeMap::FindSchemaForFile(LPCSTR lpszFileName) {
    if (!lpszFileName || !*lpszFileName) return CKLVTextSchemaPtr();
    for (const CKLVTextSchemaPtr& pSchema : GetSchemas())
        if (pSchema->FindClassForFile(lpszFileName)) return pSchema;
    return CKLVTextSchemaPtr();
}

CKLVTextSchemaPtr CKLVSyntaxEditSchemeMap::Lookup(LPCSTR lpszName) {
    CKLVCriticalSectionLock lock(&m_cs);
    auto it = m_mapSchemes.find(lpszName);
    return it == m_mapSchemes.end() ? CKLVTextSchemaPtr() : it->second;
}

std::vector<CKLVTextSchemaPtr> CKLVSyntaxEditSchemeMap::GetSchemas() {
    CKLVCriticalSectionLock lock(&m_cs);
    std::vector<CKLVTextSchemaPtr> arSchemas;
    for (const auto& scheme : m_mapSchemes) arSchemas.push_back(scheme.second);
    return arSchemas;
}

void CKLVSyntaxEditSchemeMap::RemoveAll() {
    CKLVCriticalSectionLock lock(&m_cs);
    m_mapSchemes.clear();
    m_arEntries.clear();
    m_arNames.RemoveAll();
}
