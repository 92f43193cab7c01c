#pragma once

// Commands of the build machine and programs run for a bounded time, from
// the tests of both builds. Natively the shell runs them. In the Windows
// build the tests are Windows programs under Wine: Wine starts a Unix
// program (here /bin/sh with a script) but gives no handle to wait on, so
// the script writes its exit status to a file last and the test waits for
// that file; a Windows program under test is started, left running for its
// time and then ended.

#include "support/TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace gentest {

// Runs command in the shell of the build machine, in the current folder; its
// exit status comes back (-1 when it could not be started or did not end).
inline int runHostCommand(const std::string& command)
{
#ifdef _WIN32
    const char* const status = "host-status.txt";
    std::filesystem::remove(status);
    testsupport::writeBytes("host-command.sh", command + "\necho $? > host-status.part && mv host-status.part " +
                                                   status + "\n");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    char line[] = "/bin/sh host-command.sh";
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // A compile and link take seconds; ten minutes means it is stuck.
    for (int waited = 0; !std::filesystem::exists(status); waited += 50) {
        if (waited > 600000)
            return -1;
        Sleep(50);
    }
    return std::atoi(testsupport::readBytes(status).c_str());
#else
    const int result = std::system(command.c_str());
    return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
#endif
}

#ifdef _WIN32
// Runs the Windows program, its standard output and error into the file
// named, until that file holds marker or the program ends, at most
// maxSeconds; then ends it. Waiting for what the caller looks for rather
// than for a fixed time keeps a loaded machine from cutting a run short.
inline bool runWindowsProgramUntil(const std::string& program, const std::string& outputFile, const std::string& marker,
                                   unsigned maxSeconds)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE output = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    std::string line = program;
    const bool started =
        CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process) != 0;
    CloseHandle(output);
    if (!started)
        return false;
    const DWORD step = 50;
    for (DWORD waited = 0; waited < maxSeconds * 1000; waited += step) {
        if (WaitForSingleObject(process.hProcess, step) == WAIT_OBJECT_0 ||
            testsupport::readBytes(outputFile).find(marker) != std::string::npos)
            break;
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
#endif

} // namespace gentest
