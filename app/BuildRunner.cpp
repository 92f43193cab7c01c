#include "app/BuildRunner.h"

#include "app/HiddenProcess.h"
#include "app/PathKind.h"
#include "app/ScopedHandle.h"
#include "app/SystemErrorText.h"
#include "app/WineHost.h"
#include "project/CommandQuoting.h"

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// A Unix program that left neither output nor status this long after its shell was started has
// not started at all.
const DWORD s_nUnixStartLimitMs = 60000;
// A stopped Unix program whose status has not come this long after the stop was asked for has not
// been ended.
const DWORD s_nUnixStopLimitMs = 60000;
const DWORD s_nFollowIntervalMs = 50;

std::string FileNameOf(const std::string& strPath) {
    const std::string::size_type nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

// A folder of its own in the temporary folder for one Unix run's script, output and status;
// removed with them.
class CRunFolder {
public:
    CRunFolder() {
        static std::atomic<unsigned> s_nRuns{0};
        char szTemp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, szTemp);
        m_strPath = std::string(szTemp) + "kelvane-build-" + std::to_string(::GetCurrentProcessId()) + "-" +
                    std::to_string(++s_nRuns) + "\\";
        m_bMade = ::CreateDirectoryA(m_strPath.c_str(), nullptr) != FALSE;
    }
    ~CRunFolder() {
        for (const char* lpszFile : {"run.sh", "output.txt", "status.txt", "status.part", "stop"})
            ::DeleteFileA((m_strPath + lpszFile).c_str());
        ::RemoveDirectoryA(m_strPath.c_str());
    }
    bool Made() const { return m_bMade; }
    std::string File(const char* lpszName) const { return m_strPath + lpszName; }

private:
    std::string m_strPath;
    bool m_bMade = false;
};

bool WriteWholeFile(const std::string& strPath, const std::string& strText) {
    CHandle file(::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD nWritten = 0;
    return file.Get() && ::WriteFile(file.Get(), strText.data(), static_cast<DWORD>(strText.size()), &nWritten, nullptr) &&
           nWritten == strText.size();
}

// The bytes of the file from nOffset on; the file may still be written by another program.
std::string ReadFrom(const std::string& strPath, ULONGLONG nOffset) {
    CHandle file(::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.Get()) return std::string();
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(nOffset);
    if (!::SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN)) return std::string();
    std::string strText;
    char buffer[4096];
    DWORD nRead = 0;
    while (::ReadFile(file.Get(), buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0) strText.append(buffer, nRead);
    return strText;
}

std::string UnixShell() {
    for (const char* lpszShell : {"Z:\\bin\\sh", "Z:\\usr\\bin\\sh"})
        if (IsExistingFile(lpszShell)) return lpszShell;
    return std::string();
}

}  // namespace

// Posts the output to the window with CR LF line ends, and knows whether it stopped mid-line.
class CBuildRunner::COutputSink {
public:
    explicit COutputSink(HWND hNotify) : m_hNotify(hNotify) {}
    void Write(const char* pText, size_t nLength) {
        std::string strText;
        for (size_t i = 0; i < nLength; ++i) {
            if (pText[i] == '\n' && m_chLast != '\r') strText += '\r';
            strText += pText[i];
            m_chLast = pText[i];
        }
        if (!strText.empty()) Post(WM_BUILD_OUTPUT, new std::string(std::move(strText)));
    }
    void Write(const std::string& strText) { Write(strText.data(), strText.size()); }
    // The last line of output is ended, so that what follows it starts a line of its own.
    void EndLine() {
        if (m_chLast != '\n' && m_chLast != '\0') Write("\n", 1);
    }
    template <class T>
    void Post(UINT nMessage, T* pData) {
        if (!::PostMessageA(m_hNotify, nMessage, 0, reinterpret_cast<LPARAM>(pData))) delete pData;
    }

private:
    HWND m_hNotify;
    char m_chLast = '\0';
};

CBuildRunner::CBuildRunner()
    : m_hStop(::CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_hProcesses(::CreateJobObjectA(nullptr, nullptr)) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (m_hProcesses)
        ::SetInformationJobObject(m_hProcesses, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
}

CBuildRunner::~CBuildRunner() {
    Stop(nullptr);
    if (m_hProcesses) ::CloseHandle(m_hProcesses);
    if (m_hStop) ::CloseHandle(m_hStop);
}

bool CBuildRunner::Start(CBuildJob job, HWND hNotify) {
    if (IsRunning()) return false;
    ::ResetEvent(m_hStop);
    m_thread = std::thread([this, job = std::move(job), hNotify]() { Run(job, hNotify); });
    return true;
}

void CBuildRunner::Finish() {
    if (m_thread.joinable()) m_thread.join();
}

void CBuildRunner::Stop(HWND hNotify) {
    if (!m_thread.joinable()) return;
    ::SetEvent(m_hStop);
    if (m_hProcesses) ::TerminateJobObject(m_hProcesses, 1);
    m_thread.join();
    MSG msg;
    while (hNotify && ::PeekMessageA(&msg, hNotify, WM_BUILD_OUTPUT, WM_BUILD_FINISHED, PM_REMOVE)) {
        if (msg.message == WM_BUILD_OUTPUT) delete reinterpret_cast<std::string*>(msg.lParam);
        else delete reinterpret_cast<CBuildOutcome*>(msg.lParam);
    }
}

bool CBuildRunner::StopRequested(DWORD nWaitMs) const {
    return ::WaitForSingleObject(m_hStop, nWaitMs) == WAIT_OBJECT_0;
}

void CBuildRunner::Run(const CBuildJob& job, HWND hNotify) {
    COutputSink sink(hNotify);
    auto pOutcome = std::make_unique<CBuildOutcome>();
    if (!job.shellLine.empty()) {
        // The command shell takes the line between its first and last quote as it stands.
        *pOutcome = RunWindowsProgram("cmd.exe /c \"" + job.shellLine + "\"", "cmd.exe", job.folder, sink);
    }
    for (const CBuildStep& step : job.steps) {
        *pOutcome = RunStep(step, job.folder, sink);
        if (!pOutcome->started || pOutcome->exitCode != 0) break;
    }
    sink.EndLine();
    sink.Post(WM_BUILD_FINISHED, pOutcome.release());
}

CBuildOutcome CBuildRunner::RunStep(const CBuildStep& step, const std::string& strFolder, COutputSink& sink) {
    const std::string& strProgram = step.arguments.front();
    if (IsRunningUnderWine() && IsExistingFile(strProgram) && !IsWindowsProgram(strProgram))
        return RunUnixProgram(step, strFolder, sink);
    return RunWindowsProgram(windowsCommandLine(step.arguments), strProgram, strFolder, sink);
}

CBuildOutcome CBuildRunner::RunWindowsProgram(const std::string& strCommandLine, const std::string& strProgram,
                                              const std::string& strFolder, COutputSink& sink) {
    CBuildOutcome outcome;
    outcome.program = strProgram;
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    CHandle read, write;
    if (!::CreatePipe(read.Out(), write.Out(), &inherited, 0)) {
        outcome.failure = "no pipe for the output of " + FileNameOf(strProgram) + " (" + SystemErrorText(::GetLastError()) + ")";
        return outcome;
    }
    ::SetHandleInformation(read.Get(), HANDLE_FLAG_INHERIT, 0);
    PROCESS_INFORMATION process{};
    if (!StartHiddenProcess(strCommandLine, strFolder, write.Get(), process)) {
        outcome.failure = FileNameOf(strProgram) + " could not be started (" + SystemErrorText(::GetLastError()) + ")";
        return outcome;
    }
    CHandle hProcess(process.hProcess), hThread(process.hThread);
    outcome.started = true;
    if (m_hProcesses) ::AssignProcessToJobObject(m_hProcesses, hProcess.Get());
    if (StopRequested(0)) ::TerminateProcess(hProcess.Get(), 1);
    // Only the started program may hold the pipe's writing end now: its end ends the reading.
    ::CloseHandle(write.Get());
    *write.Out() = nullptr;
    char buffer[4096];
    DWORD nRead = 0;
    while (::ReadFile(read.Get(), buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0) sink.Write(buffer, nRead);
    ::WaitForSingleObject(hProcess.Get(), INFINITE);
    DWORD nExitCode = 0;
    ::GetExitCodeProcess(hProcess.Get(), &nExitCode);
    outcome.exitCode = static_cast<int>(nExitCode);
    return outcome;
}

CBuildOutcome CBuildRunner::RunUnixProgram(const CBuildStep& step, const std::string& strFolder, COutputSink& sink) {
    CBuildOutcome outcome;
    outcome.program = step.arguments.front();
    CRunFolder run;
    const std::string strShell = UnixShell();
    const std::string strOutput = run.File("output.txt"), strStatus = run.File("status.txt");
    const std::string strUnixFolder = UnixPathOf(strFolder), strUnixProgram = UnixPathOf(outcome.program);
    const std::string strUnixRun = UnixPathOf(run.File("")), strUnixScript = UnixPathOf(run.File("run.sh"));
    if (!run.Made() || strShell.empty() || strUnixFolder.empty() || strUnixProgram.empty() || strUnixRun.empty()) {
        outcome.failure = "Wine offers no Unix shell to run " + FileNameOf(outcome.program) + " in " + strFolder;
        return outcome;
    }
    std::string strCommand = shellArgument(strUnixProgram);
    for (size_t i = 1; i < step.arguments.size(); ++i) strCommand += " " + shellArgument(step.arguments[i]);
    // The status goes in whole, by a rename, once the output is complete; plain ASCII messages;
    // the system's tools found whatever the Windows side's PATH holds. The program runs in a
    // session of its own, which a "stop" file in the run's folder ends with every program it
    // started (a compiler's cc1, as and ld) before the status is written.
    const std::string strStop = shellArgument(strUnixRun + "stop");
    const std::string strScript =
        "LC_ALL=C\nPATH=/usr/local/bin:/usr/bin:/bin:$PATH\nexport LC_ALL PATH\nstatus=1\nif cd " +
        shellArgument(strUnixFolder) + "; then\n  setsid " + strCommand + " >" + shellArgument(strUnixRun + "output.txt") +
        " 2>&1 &\n  program=$!\n  while kill -0 $program 2>/dev/null; do\n    if [ -e " + strStop +
        " ]; then kill -TERM -$program 2>/dev/null || kill -TERM $program 2>/dev/null; fi\n    sleep 0.05\n"
        "  done\n  wait $program\n  status=$?\nfi\necho $status >" + shellArgument(strUnixRun + "status.part") +
        "\nmv " + shellArgument(strUnixRun + "status.part") + " " + shellArgument(strUnixRun + "status.txt") + "\n";
    if (!WriteWholeFile(run.File("run.sh"), strScript)) {
        outcome.failure = "the script for " + FileNameOf(outcome.program) + " could not be written";
        return outcome;
    }
    std::vector<char> line;
    const std::string strLine = windowsCommandLine({strShell, strUnixScript});
    line.assign(strLine.begin(), strLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                          &process)) {
        outcome.failure = FileNameOf(strShell) + " could not be started (" + SystemErrorText(::GetLastError()) + ")";
        return outcome;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    const ULONGLONG nStarted = ::GetTickCount64();
    ULONGLONG nShown = 0;
    bool bStopping = false;
    ULONGLONG nStopAt = 0;
    for (;;) {
        // The status is written after the output is complete: what is read after seeing it is all.
        const bool bEnded = IsExistingFile(strStatus);
        const std::string strMore = ReadFrom(strOutput, nShown);
        nShown += strMore.size();
        sink.Write(strMore);
        if (bEnded) break;
        if (!IsExistingFile(strOutput) && ::GetTickCount64() - nStarted > s_nUnixStartLimitMs) {
            outcome.failure = FileNameOf(outcome.program) + " did not start: " + strShell + " wrote nothing";
            return outcome;
        }
        if (!bStopping && StopRequested(s_nFollowIntervalMs)) {
            // The script ends the program and then writes the status, which is waited for: the
            // program is gone when the run is.
            bStopping = WriteWholeFile(run.File("stop"), "");
            if (!bStopping) {
                outcome.failure = "stopped while " + FileNameOf(outcome.program) + " ran, which could not be ended";
                return outcome;
            }
            nStopAt = ::GetTickCount64();
        } else if (bStopping) {
            if (::GetTickCount64() - nStopAt > s_nUnixStopLimitMs) {
                outcome.failure = "stopped while " + FileNameOf(outcome.program) + " ran, which did not end";
                return outcome;
            }
            ::Sleep(s_nFollowIntervalMs);
        }
    }
    if (bStopping) {
        outcome.failure = "stopped while " + FileNameOf(outcome.program) + " ran";
        return outcome;
    }
    outcome.started = true;
    outcome.exitCode = std::atoi(ReadFrom(strStatus, 0).c_str());
    return outcome;
}
