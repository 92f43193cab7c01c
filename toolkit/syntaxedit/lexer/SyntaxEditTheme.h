// Colour themes of the lexer: a theme is an INI file whose sections, named after lex classes,
// hold text attributes; its section "main" may name a parent theme ("parentschema") from which
// missing values are inherited. A loaded theme does not change any more (a reload makes a new
// one), so a counted reference can be read on any thread.
#pragma once

#include "toolkit/common/CriticalSection.h"
#include "toolkit/syntaxedit/lexer/KLVSmartPtr.h"

#include <map>
#include <memory>
#include <vector>

class CKLVSyntaxEditTheme;
class CKLVSyntaxEditThemeMap;
typedef CKLVSmartPtr<CKLVSyntaxEditTheme> CKLVThemePtr;
typedef std::map<CString, CString> CKLVThemeValues;

class CKLVSyntaxEditThemeSection {
public:
    CKLVSyntaxEditThemeSection(LPCSTR lpszName, CKLVSyntaxEditTheme* pOwner) : m_strName(lpszName), m_pOwner(pOwner) {}

    const CString& GetName() const { return m_strName; }
    CKLVSyntaxEditTheme* GetOwner() const { return m_pOwner; }
    const CKLVThemeValues& GetValues() const { return m_mapValues; }
    void SetValue(LPCSTR lpszKey, LPCSTR lpszValue) { m_mapValues[lpszKey] = lpszValue; }
    // The own value, or (inherit, not in "main") the value the parent themes give the class.
    CString GetValue(LPCSTR lpszKey, BOOL bInherit) const;
    // The value read as hexadecimal; 0 when nothing is read.
    int GetHexValue(LPCSTR lpszKey, BOOL bInherit) const;

private:
    CString m_strName;
    CKLVThemeValues m_mapValues;
    CKLVSyntaxEditTheme* m_pOwner;
};

class CKLVSyntaxEditTheme : public CCmdTarget {
public:
    explicit CKLVSyntaxEditTheme(CKLVSyntaxEditThemeMap* pOwner) : m_pOwner(pOwner) {}
    ~CKLVSyntaxEditTheme() override = default;

    virtual void Load(LPCSTR lpszPath);
    const CString& GetFile() const { return m_strFile; }
    // The own section, or (inherit) the nearest parent theme's.
    const CKLVSyntaxEditThemeSection* GetSection(LPCSTR lpszClass, BOOL bInherit) const;
    // The theme that "parentschema" of section "main" names; none for a theme that names itself.
    CKLVThemePtr GetParentTheme() const;
    // Every value the class gets, inherited ones first and overridden by nearer themes.
    void CollectValues(LPCSTR lpszClass, CKLVThemeValues& values) const;
    // This theme and its ancestors, nearest first; a chain that loops ends at the repetition.
    std::vector<CKLVThemePtr> GetLineage() const;

private:

    CString m_strFile;
    std::map<CString, std::unique_ptr<CKLVSyntaxEditThemeSection>> m_mapSections;
    CKLVSyntaxEditThemeMap* m_pOwner;
};

class CKLVSyntaxEditThemeMap {
public:
    CKLVSyntaxEditThemeMap() = default;
    CKLVSyntaxEditThemeMap(const CKLVSyntaxEditThemeMap&) = delete;
    CKLVSyntaxEditThemeMap& operator=(const CKLVSyntaxEditThemeMap&) = delete;

    // Loads the file as the theme of that name, replacing one of the same name.
    CKLVThemePtr AddTheme(LPCSTR lpszName, LPCSTR lpszFile);
    // A theme file that does not exist yet: it becomes the theme when it appears.
    void AddPendingFile(LPCSTR lpszFile, LPCSTR lpszName);
    // After the monitor saw the file change (kind 0), appear (1) or vanish (2): the name of
    // the theme reloaded, added or removed; empty when the file is no theme's.
    CString ReloadThemeFile(LPCSTR lpszPath, int nKind);
    CKLVThemePtr Lookup(LPCSTR lpszName) const;
    void RemoveAll();
    CStringArray& GetNames() { return m_arNames; }

private:
    void RemoveName(LPCSTR lpszName);

    // Readers on other threads look parents up while the configuration thread changes the map.
    mutable CKLVCriticalSection m_cs;
    std::map<CString, CKLVThemePtr> m_mapThemes;
    CStringArray m_arNames;
    std::map<CString, CString> m_mapPendingFiles;
};
