#include "app/MainFrame.h"

#include "app/AppConfig.h"
#include "app/CompilerSearch.h"
#include "net/FetchCatalogs.h"
#include "net/XmlCatalog.h"

// The Auto flag of the file is read but the frame always starts with it set. With no compiler
// chosen yet, a mingw-w64 gcc found on the system is taken unless vcvars32.bat was located.
void CMainFrame::LoadConfig() {
    ReadConfigValue("auto_flag", "0");
    m_nAutoFlag = 1;
    m_strCompilerPath = ReadConfigValue("compiler_path", "");
    m_strGccPath = ReadConfigValue("gcc_path", "");
    if (m_strGccPath.IsEmpty()) m_strGccPath = FindDefaultGcc().c_str();
    const CString strKind = ReadConfigValue("compiler_kind", "");
    if (strKind.IsEmpty())
        m_nCompilerKind = m_strCompilerPath.IsEmpty() && !m_strGccPath.IsEmpty() ? compilerMingwGcc : compilerVisualCpp;
    else
        m_nCompilerKind = strKind == "1" ? compilerMingwGcc : compilerVisualCpp;
    // A catalog that can no longer be read is named; the others still serve.
    CString strFailure;
    if (!UseXmlCatalog(ReadConfigValue("xml_catalog", ""), strFailure)) {
        appendOutput("catalog " + std::string(static_cast<LPCSTR>(strFailure)) + "\r\n");
        UseXmlCatalog(CString(), strFailure);
    }
}

BOOL CMainFrame::UseXmlCatalog(const CString& strCatalog, CString& strFailure) {
    std::vector<std::string> userFiles;
    if (!strCatalog.IsEmpty()) userFiles.emplace_back(static_cast<LPCSTR>(strCatalog));
    std::vector<std::string> warnings;
    try {
        warnings = useStandardFetchCatalogs(userFiles, m_commands.schemaFolder());
    } catch (const XmlCatalog::LoadError& failure) {
        strFailure = failure.what();
        return FALSE;
    }
    m_strXmlCatalog = strCatalog;
    for (const std::string& warning : warnings) appendOutput("warning: catalog " + warning + "\r\n");
    return TRUE;
}
