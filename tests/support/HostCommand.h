#pragma once

// Commands of the build machine, from the tests of both builds. Natively
// the shell runs them. In the Windows build the tests are Windows programs
// under Wine: Wine starts a Unix program (here the shell with a script) but
// gives no handle to wait on, so the script writes its exit status to a
// file last and the test waits for that file.

#include "support/TestFiles.h"
#include "support/TimeLimit.h"
#include "support/WindowsProcess.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace testsupport {

// What a command came to: its exit status, or -1 and why there is none.
struct HostCommandRun {
    int status = -1;
    std::string failure;
};

// A compile and link take seconds; this long means the command is stuck.
constexpr std::chrono::milliseconds HostCommandLimit = std::chrono::minutes(10);

// Runs command with shell (a Unix path) in the current folder. Under Wine
// the wait for its status ends at limit; natively the shell is waited for.
inline HostCommandRun runHostCommand(const std::string& command, const std::string& shell = "/bin/sh",
                                     std::chrono::milliseconds limit = HostCommandLimit)
{
    HostCommandRun run;
#ifdef _WIN32
    const char* const status = "host-status.txt";
    std::filesystem::remove(status);
    // The command in a shell of its own, so that its exit or a signal to it still leaves the status.
    writeBytes("host-command.sh", command + "\n");
    writeBytes("host-run.sh", shell + " host-command.sh\necho $? > host-status.part && mv host-status.part " + status + "\n");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string line = shell + " host-run.sh";
    if (!createProcess(nullptr, &line[0], FALSE, startup, process)) {
        run.failure = "could not start " + shell + " for '" + command + "': error " + std::to_string(GetLastError());
        return run;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const auto start = std::chrono::steady_clock::now();
    while (!std::filesystem::exists(status)) {
        if (std::chrono::steady_clock::now() - start > limit) {
            run.failure = "'" + command + "' gave no exit status within " + limitText(limit);
            return run;
        }
        Sleep(20);
    }
    run.status = std::atoi(readBytes(status).c_str());
#else
    (void)limit;
    char* const arguments[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), const_cast<char*>(command.c_str()),
                               nullptr};
    pid_t child = 0;
    const int error = posix_spawn(&child, shell.c_str(), nullptr, nullptr, arguments, environ);
    if (error != 0) {
        run.failure = "could not start " + shell + " for '" + command + "': error " + std::to_string(error) + " (" +
            std::strerror(error) + ")";
        return run;
    }
    int result = 0;
    while (waitpid(child, &result, 0) < 0) {
        if (errno != EINTR) {
            run.failure = "lost " + shell + " for '" + command + "': error " + std::to_string(errno);
            return run;
        }
    }
    if (WIFEXITED(result))
        run.status = WEXITSTATUS(result);
    else
        run.failure = "'" + command + "' was ended by signal " + std::to_string(WTERMSIG(result));
#endif
    return run;
}

} // namespace testsupport
