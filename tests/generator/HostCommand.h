#pragma once

// Commands of the build machine, from the tests of both builds. Natively
// the shell runs them. In the Windows build the tests are Windows programs
// under Wine: Wine starts a Unix program (here /bin/sh with a script) but
// gives no handle to wait on, so the script writes its exit status to a
// file last and the test waits for that file.

#include "support/TestFiles.h"
#include "support/WindowsProcess.h"

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
    if (!testsupport::createProcess(nullptr, line, FALSE, startup, process))
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

} // namespace gentest
