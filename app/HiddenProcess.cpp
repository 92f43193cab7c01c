#include "app/HiddenProcess.h"

#include "app/ScopedHandle.h"

#include <vector>

BOOL StartHiddenProcess(const std::string& strCommandLine, const std::string& strFolder, HANDLE hOutput,
                        PROCESS_INFORMATION& process) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    CHandle input(::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input.Get();
    startup.hStdOutput = startup.hStdError = hOutput;
    std::vector<char> line(strCommandLine.begin(), strCommandLine.end());
    line.push_back('\0');
    process = PROCESS_INFORMATION{};
    return ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                            strFolder.empty() ? nullptr : strFolder.c_str(), &startup, &process);
}
