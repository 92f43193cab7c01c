#include "app/MainFrame.h"

#include "app/AppConfig.h"
#include "app/CompilerSearch.h"

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
}
