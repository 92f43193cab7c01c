#include "app/MockService.h"

#include "app/PathKind.h"
#include "project/CommandQuoting.h"

#include <cstdlib>

int MockServingPort(const std::string& strOutput) {
    static const char kListens[] = "demo: the server thread listens on 127.0.0.1:";
    const std::string::size_type nAt = strOutput.find(kListens);
    if (nAt == std::string::npos || strOutput.find("demo: serving every operation") == std::string::npos) return 0;
    const int nPort = std::atoi(strOutput.c_str() + nAt + sizeof(kListens) - 1);
    return nPort > 0 && nPort <= 65535 ? nPort : 0;
}

BOOL CMockService::Start(const std::string& strDemo, int nPort, const std::string& strLog, std::string& strFailure) {
    Stop();
    if (!IsExistingFile(strDemo)) {
        strFailure = "The demo " + strDemo + " is not built yet: run Build > Compile Demo first.";
        return FALSE;
    }
    const std::string::size_type nSlash = strDemo.find_last_of("\\/");
    const std::string strFolder = nSlash == std::string::npos ? std::string() : strDemo.substr(0, nSlash);
    return m_process.Start(windowsCommandLine({strDemo, "--serve", std::to_string(nPort)}), strFolder, strLog, strFailure);
}

int CMockService::ServingPort() const {
    return m_process.IsStarted() ? MockServingPort(m_process.Output()) : 0;
}
