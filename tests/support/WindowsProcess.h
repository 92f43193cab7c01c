#pragma once

// A Windows program a test starts itself, its standard output and error
// into files, waited for on its own handle. Going through the command
// interpreter instead would add a second process start, and its failure
// would come back as the interpreter's status 9009, a message that says
// the file is unknown and no cause. A run has a time limit: a program that
// hangs is ended and named instead of holding the test until its own limit.

#ifdef _WIN32

#include "support/TimeLimit.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace testsupport {

// CreateProcessA, started a second time when the first start failed with
// ERROR_INTERNAL_ERROR: under load Wine now and then loses a new process
// before it has started (about one start in 2,000), and that process ran
// none of the program, so starting it again repeats nothing.
inline BOOL createProcess(const char* file, char* line, BOOL inheritHandles, STARTUPINFOA& startup,
                          PROCESS_INFORMATION& process)
{
    for (int attempt = 0;; ++attempt) {
        if (CreateProcessA(file, line, nullptr, nullptr, inheritHandles, 0, nullptr, nullptr, &startup, &process))
            return TRUE;
        if (attempt == 1 || GetLastError() != ERROR_INTERNAL_ERROR)
            return FALSE;
    }
}

class WindowsProcess {
public:
    // Starts program (a file of the working folder) with the command line
    // given, its first word the program's name; standard input is the
    // test's. outputFile and errorFile are created anew and may be one file.
    WindowsProcess(const std::string& program, const std::string& commandLine, const std::string& outputFile,
                   const std::string& errorFile)
    {
        SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        const HANDLE output = createFile(outputFile, inherit);
        const HANDLE errors = errorFile == outputFile ? output : createFile(errorFile, inherit);
        if (output == INVALID_HANDLE_VALUE || errors == INVALID_HANDLE_VALUE) {
            error_ = GetLastError();
        } else {
            STARTUPINFOA startup = {};
            startup.cb = sizeof(startup);
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
            startup.hStdOutput = output;
            startup.hStdError = errors;
            // The file named in full: a bare name would be looked for beside the test binary first.
            const std::string file = std::filesystem::absolute(program).string();
            std::string line = commandLine;
            if (!createProcess(file.c_str(), &line[0], TRUE, startup, process_))
                error_ = GetLastError();
        }
        closeFile(output);
        if (errors != output)
            closeFile(errors);
    }

    ~WindowsProcess()
    {
        if (!started())
            return;
        end();
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    WindowsProcess(const WindowsProcess&) = delete;
    WindowsProcess& operator=(const WindowsProcess&) = delete;

    bool started() const { return process_.hProcess != nullptr; }

    // Why the start failed: the system's error number.
    DWORD startError() const { return error_; }

    // Whether the program ended within milliseconds.
    bool waitFor(DWORD milliseconds) const { return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0; }

    // The exit status of a program that has ended.
    int exitStatus() const
    {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<int>(code);
    }

    // Ends the program if it still runs, and waits until it has.
    void end() const
    {
        if (!waitFor(0)) {
            TerminateProcess(process_.hProcess, 0);
            waitFor(INFINITE);
        }
    }

private:
    static HANDLE createFile(const std::string& name, SECURITY_ATTRIBUTES& inherit)
    {
        return CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    }

    static void closeFile(HANDLE file)
    {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }

    PROCESS_INFORMATION process_ = {};
    DWORD error_ = 0;
};

// What a run within a time limit came to: the program's exit status, or -1
// and why there is none.
struct LimitedRun {
    int status = -1;
    bool overran = false; // ended at the limit
    std::string failure;
};

// Waits for a started program at most limit. A program still running then
// is ended, and the failure names its command line and the limit; what it
// wrote until then stays in its files.
inline LimitedRun finishWithin(const WindowsProcess& process, const std::string& commandLine,
                               std::chrono::milliseconds limit)
{
    LimitedRun run;
    if (process.waitFor(static_cast<DWORD>(limit.count()))) {
        run.status = process.exitStatus();
    } else {
        process.end();
        run.overran = true;
        run.failure = overranLimit(commandLine, limit);
    }
    return run;
}

// Runs program as WindowsProcess does and finishes it within limit.
inline LimitedRun runWithin(const std::string& program, const std::string& commandLine, const std::string& outputFile,
                            const std::string& errorFile, std::chrono::milliseconds limit)
{
    const WindowsProcess process(program, commandLine, outputFile, errorFile);
    if (process.started())
        return finishWithin(process, commandLine, limit);
    LimitedRun run;
    run.failure = "could not start " + program + ": error " + std::to_string(process.startError());
    return run;
}

} // namespace testsupport

#endif
