#include "app/LoggedProcess.h"

#include "app/HiddenProcess.h"
#include "app/SystemErrorText.h"

#include <fstream>
#include <sstream>

BOOL CLoggedProcess::Start(const std::string& strCommandLine, const std::string& strFolder, const std::string& strLog,
                           std::string& strFailure) {
    Stop();
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    CHandle output(::CreateFileA(strLog.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output.Get()) {
        strFailure = "The output file " + strLog + " could not be made (" + SystemErrorText(::GetLastError()) + ").";
        return FALSE;
    }
    PROCESS_INFORMATION process{};
    if (!StartHiddenProcess(strCommandLine, strFolder, output.Get(), process)) {
        strFailure = strCommandLine + " could not be started (" + SystemErrorText(::GetLastError()) + ").";
        return FALSE;
    }
    ::CloseHandle(process.hThread);
    m_process.Reset(process.hProcess);
    m_strLog = strLog;
    return TRUE;
}

void CLoggedProcess::Stop() {
    if (!m_process.Get()) return;
    if (::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(m_process.Get(), 1);
    // The program holds its port and its output file until it is gone.
    ::WaitForSingleObject(m_process.Get(), 10000);
    m_process.Reset();
}

BOOL CLoggedProcess::HasEnded(DWORD& nExitCode) const {
    if (!m_process.Get() || ::WaitForSingleObject(m_process.Get(), 0) != WAIT_OBJECT_0) return FALSE;
    return ::GetExitCodeProcess(m_process.Get(), &nExitCode);
}

int CLoggedProcess::Wait(DWORD nMilliseconds) const {
    DWORD nExitCode = 0;
    if (!m_process.Get() || ::WaitForSingleObject(m_process.Get(), nMilliseconds) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(m_process.Get(), &nExitCode))
        return -1;
    return static_cast<int>(nExitCode);
}

std::string CLoggedProcess::Output() const {
    std::ifstream in(m_strLog, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
