// A program started without a window, its output and errors going to a file, which is read back
// while it runs. Ended when this object goes.
#pragma once

#include "app/ScopedHandle.h"

#include <string>

class CLoggedProcess {
public:
    CLoggedProcess() = default;
    ~CLoggedProcess() { Stop(); }
    CLoggedProcess(const CLoggedProcess&) = delete;
    CLoggedProcess& operator=(const CLoggedProcess&) = delete;

    // Starts the command line in strFolder with its output in strLog (made afresh); FALSE with
    // the cause, naming the file or program, in strFailure.
    BOOL Start(const std::string& strCommandLine, const std::string& strFolder, const std::string& strLog,
               std::string& strFailure);
    // Ends the program and waits for it to be gone; nothing when none runs.
    void Stop();
    BOOL IsStarted() const { return m_process.Get() != nullptr; }
    // Whether the started program has ended by itself (its exit code in nExitCode).
    BOOL HasEnded(DWORD& nExitCode) const;
    // Waits at most nMilliseconds for its end: its exit code, or -1 when it did not end.
    int Wait(DWORD nMilliseconds) const;
    std::string Output() const;
    const std::string& LogPath() const { return m_strLog; }
    // The system's id of the started program; 0 when none was started.
    DWORD ProcessId() const { return m_process.Get() ? ::GetProcessId(m_process.Get()) : 0; }

private:
    CHandle m_process;
    std::string m_strLog;
};
