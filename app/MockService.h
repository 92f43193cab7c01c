// The project's demo started as a mock of the service ("NAME_demo.exe --serve PORT"): it answers
// every operation with sample values until it is stopped. The port it listens on is read from its
// output. Stopped when this object goes.
#pragma once

#include "app/LoggedProcess.h"

#include <string>

class CMockService {
public:
    // Starts the demo at strDemo on nPort (0: a free port it names) with its output in strLog.
    // FALSE with the cause in strFailure: the demo is not built yet, or it could not start.
    BOOL Start(const std::string& strDemo, int nPort, const std::string& strLog, std::string& strFailure);
    void Stop() { m_process.Stop(); }
    BOOL IsStarted() const { return m_process.IsStarted(); }
    BOOL HasEnded(DWORD& nExitCode) const { return m_process.HasEnded(nExitCode); }
    // The port the demo said it serves on; 0 until it said so.
    int ServingPort() const;
    const std::string& LogPath() const { return m_process.LogPath(); }
    DWORD ProcessId() const { return m_process.ProcessId(); }

private:
    CLoggedProcess m_process;
};

// The port named by the demo's "listens on 127.0.0.1:PORT" line once it also says it serves; 0
// before both lines are there.
int MockServingPort(const std::string& strOutput);
