#include "app/MainFrame.h"

#include "app/AppConfig.h"

// The Auto flag of the file is read but the frame always starts with it set.
void CMainFrame::LoadConfig() {
    ReadConfigValue("auto_flag", "0");
    m_nAutoFlag = 1;
    m_strCompilerPath = ReadConfigValue("compiler_path", "");
}
