// The schemes of the lexer configuration: one text schema per configured schema file, and the
// configured entries, kept also for files that are missing so that they load when they appear.
#pragma once

#include "toolkit/common/CriticalSection.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextSchema.h"

#include <map>
#include <vector>

typedef CKLVSmartPtr<CKLVSyntaxEditLexTextSchema> CKLVTextSchemaPtr;

class CKLVSyntaxEditSchemeMap {
public:
    struct CEntry {
        CString strName;
        CString strFile;
        CString strComment;
    };

    CKLVSyntaxEditSchemeMap() = default;
    CKLVSyntaxEditSchemeMap(const CKLVSyntaxEditSchemeMap&) = delete;
    CKLVSyntaxEditSchemeMap& operator=(const CKLVSyntaxEditSchemeMap&) = delete;

    // Builds the entry's schema from its file through the schema file store.
    void LoadScheme(const CEntry& entry);
    void AddSchemeEntry(const CEntry& entry);
    // After the monitor saw a scheme file change: TRUE when the file is a configured one (its
    // schema then is reloaded, or removed when the file vanished, kind 2); rName its scheme.
    BOOL ReloadSchemeFile(LPCSTR lpszPath, int nKind, CString& rName);
    CKLVTextSchemaPtr FindSchemaForFile(LPCSTR lpszFileName);
    CKLVTextSchemaPtr Lookup(LPCSTR lpszName);
    // Counted references to every schema, in the map's order.
    std::vector<CKLVTextSchemaPtr> GetSchemas();
    const CStringArray& GetNames() const { return m_arNames; }
    // A copy of the configured entries, in the order they were added.
    std::vector<CEntry> GetEntries();
    void RemoveAll();

private:
    CKLVCriticalSection m_cs;
    std::map<CString, CKLVTextSchemaPtr> m_mapSchemes;
    std::vector<CEntry> m_arEntries;
    CStringArray m_arNames;
};
