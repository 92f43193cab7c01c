#include "toolkit/syntaxedit/lexer/SyntaxEditTheme.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditIniFile.h"

#include <algorithm>
#include <cstdio>

namespace {

const char kMainSection[] = "main";
const char kParentKey[] = "parentschema";

}  // namespace

CString CKLVSyntaxEditThemeSection::GetValue(LPCSTR lpszKey, BOOL bInherit) const {
    auto it = m_mapValues.find(lpszKey);
    if (it != m_mapValues.end()) return it->second;
    if (!bInherit || m_strName.CompareNoCase(kMainSection) == 0) return CString();
    std::vector<CKLVThemePtr> lineage = m_pOwner->GetLineage();
    for (size_t i = 1; i < lineage.size(); ++i) {
        const CKLVSyntaxEditThemeSection* pSection = lineage[i]->GetSection(m_strName, FALSE);
        if (!pSection) continue;
        auto itParent = pSection->m_mapValues.find(lpszKey);
        if (itParent != pSection->m_mapValues.end()) return itParent->second;
    }
    return CString();
}

int CKLVSyntaxEditThemeSection::GetHexValue(LPCSTR lpszKey, BOOL bInherit) const {
    unsigned int nValue = 0;
    return std::sscanf(GetValue(lpszKey, bInherit), "%x", &nValue) == 1 ? static_cast<int>(nValue) : 0;
}

void CKLVSyntaxEditTheme::Load(LPCSTR lpszPath) {
    m_mapSections.clear();
    m_strFile = lpszPath;
    CStringArray arNames;
    CKLVSyntaxEditIniFile::ReadSectionNames(lpszPath, arNames);
    for (INT_PTR i = 0; i < arNames.GetSize(); ++i) {
        auto pSection = std::make_unique<CKLVSyntaxEditThemeSection>(arNames[i], this);
        std::vector<CKLVSyntaxEditIniFile::CLine> arLines;
        CKLVSyntaxEditIniFile::ReadSection(lpszPath, arNames[i], arLines);
        for (const auto& line : arLines) pSection->SetValue(line.strKey, line.strValue);
        m_mapSections[arNames[i]] = std::move(pSection);
    }
}

const CKLVSyntaxEditThemeSection* CKLVSyntaxEditTheme::GetSection(LPCSTR lpszClass, BOOL bInherit) const {
    auto it = m_mapSections.find(lpszClass);
    if (it != m_mapSections.end()) return it->second.get();
    if (!bInherit) return nullptr;
    // The returned section belongs to a theme the map holds; the lineage only keeps it alive
    // while it is searched.
    for (const CKLVThemePtr& pTheme : GetLineage())
        if (const CKLVSyntaxEditThemeSection* pSection = pTheme->GetSection(lpszClass, FALSE)) return pSection;
    return nullptr;
}

CKLVThemePtr CKLVSyntaxEditTheme::GetParentTheme() const {
    const CKLVSyntaxEditThemeSection* pMain = GetSection(kMainSection, FALSE);
    if (!pMain || !m_pOwner) return CKLVThemePtr();
    CKLVThemePtr pParent = m_pOwner->Lookup(pMain->GetValue(kParentKey, FALSE));
    if (pParent.Get() == this) return CKLVThemePtr();
    return pParent;
}

std::vector<CKLVThemePtr> CKLVSyntaxEditTheme::GetLineage() const {
    std::vector<CKLVThemePtr> lineage;
    CKLVThemePtr pTheme;
    pTheme.AssignRaw(const_cast<CKLVSyntaxEditTheme*>(this));
    while (pTheme) {
        if (std::find(lineage.begin(), lineage.end(), pTheme) != lineage.end()) break;
        lineage.push_back(pTheme);
        pTheme = pTheme->GetParentTheme();
    }
    return lineage;
}

void CKLVSyntaxEditTheme::CollectValues(LPCSTR lpszClass, CKLVThemeValues& values) const {
    const std::vector<CKLVThemePtr> lineage = GetLineage();
    for (auto it = lineage.rbegin(); it != lineage.rend(); ++it)
        if (const CKLVSyntaxEditThemeSection* pSection = (*it)->GetSection(lpszClass, FALSE))
            for (const auto& value : pSection->GetValues()) values[value.first] = value.second;
}

CKLVThemePtr CKLVSyntaxEditThemeMap::AddTheme(LPCSTR lpszName, LPCSTR lpszFile) {
    CKLVThemePtr pTheme = KLVMakeCounted<CKLVSyntaxEditTheme>(this);
    pTheme->Load(lpszFile);
    CKLVCriticalSectionLock lock(&m_cs);
    RemoveName(lpszName);
    m_mapThemes[lpszName] = pTheme;
    m_arNames.Add(lpszName);
    m_mapPendingFiles[lpszFile] = lpszName;
    return pTheme;
}

void CKLVSyntaxEditThemeMap::AddPendingFile(LPCSTR lpszFile, LPCSTR lpszName) {
    CKLVCriticalSectionLock lock(&m_cs);
    m_mapPendingFiles[lpszFile] = lpszName;
}

void CKLVSyntaxEditThemeMap::RemoveName(LPCSTR lpszName) {
    for (INT_PTR i = 0; i < m_arNames.GetSize(); ++i)
        if (m_arNames[i].CompareNoCase(lpszName) == 0) {
            m_arNames.RemoveAt(i);
            break;
        }
}

CString CKLVSyntaxEditThemeMap::ReloadThemeFile(LPCSTR lpszPath, int nKind) {
    CString strName;
    {
        CKLVCriticalSectionLock lock(&m_cs);
        for (const auto& entry : m_mapThemes)
            if (entry.second->GetFile().CompareNoCase(lpszPath) == 0) {
                strName = entry.first;
                break;
            }
        if (strName.IsEmpty()) {
            auto it = m_mapPendingFiles.find(lpszPath);
            if (nKind != 1 || it == m_mapPendingFiles.end()) return CString();
            strName = it->second;
        } else if (nKind == 2) {
            m_mapThemes.erase(strName);
            RemoveName(strName);
            return strName;
        }
    }
    // A reload makes a new theme: readers may still hold the old one.
    AddTheme(strName, lpszPath);
    return strName;
}

CKLVThemePtr CKLVSyntaxEditThemeMap::Lookup(LPCSTR lpszName) const {
    CKLVCriticalSectionLock lock(&m_cs);
    auto it = m_mapThemes.find(lpszName);
    return it == m_mapThemes.end() ? CKLVThemePtr() : it->second;
}

void CKLVSyntaxEditThemeMap::RemoveAll() {
    CKLVCriticalSectionLock lock(&m_cs);
    m_mapThemes.clear();
    m_arNames.RemoveAll();
    m_mapPendingFiles.clear();
}
