// Runs the programs of a build job on a thread of its own and tells a window with posted messages:
// each piece of their output as it comes (line ends made CR LF), then how the run ended. A Windows
// program runs with its output read from a pipe and its exit code from its process. Under Wine a
// Unix program (the machine's mingw-w64 compiler) runs through the shell, which writes its output
// and then its exit status into files that the thread follows: Wine's handle of a Unix process
// neither waits for it nor knows its exit code.
#pragma once

#include "project/BuildJob.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

class CBuildRunner {
public:
    // lParam: a std::string* of output, to be deleted by the window.
    static const UINT WM_BUILD_OUTPUT = WM_APP + 0x310;
    // lParam: the CBuildOutcome* of the run, to be deleted by the window, which then calls Finish.
    static const UINT WM_BUILD_FINISHED = WM_APP + 0x311;

    CBuildRunner();
    ~CBuildRunner();
    CBuildRunner(const CBuildRunner&) = delete;
    CBuildRunner& operator=(const CBuildRunner&) = delete;

    // From Start until Finish or Stop.
    bool IsRunning() const { return m_thread.joinable(); }
    // Starts the job's programs in its folder; false while a run goes on.
    bool Start(CBuildJob job, HWND hNotify);
    // Takes the thread back once the window received WM_BUILD_FINISHED.
    void Finish();
    // Ends the run's Windows programs and stops following a Unix one, waits for the thread, and
    // drops its messages that the window has not received.
    void Stop(HWND hNotify);

private:
    class COutputSink;
    void Run(const CBuildJob& job, HWND hNotify);
    CBuildOutcome RunStep(const CBuildStep& step, const std::string& strFolder, COutputSink& sink);
    CBuildOutcome RunWindowsProgram(const std::string& strCommandLine, const std::string& strProgram,
                                    const std::string& strFolder, COutputSink& sink);
    CBuildOutcome RunUnixProgram(const CBuildStep& step, const std::string& strFolder, COutputSink& sink);
    bool StopRequested(DWORD nWaitMs) const;

    std::thread m_thread;
    HANDLE m_hStop = nullptr;        // set by Stop
    HANDLE m_hProcesses = nullptr;   // a job object holding the run's Windows processes
};
