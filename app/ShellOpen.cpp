#include "app/ShellOpen.h"

#include "app/SystemErrorText.h"

#include <memory>
#include <thread>

namespace {

std::string ProgramName(HANDLE hProcess) {
    char szPath[MAX_PATH] = "";
    DWORD nLength = MAX_PATH;
    if (!::QueryFullProcessImageNameA(hProcess, 0, szPath, &nLength)) return "the program started for it";
    const char* lpszName = szPath;
    for (const char* p = szPath; *p; ++p)
        if (*p == '\\' || *p == '/') lpszName = p + 1;
    return lpszName;
}

// Waits on its own thread, so that the window never does: a browser may run for hours.
void WatchProgram(HWND hWndNotify, HANDLE hProcess) {
    std::thread([hWndNotify, hProcess] {
        const std::string strProgram = ProgramName(hProcess);
        DWORD nCode = 0;
        if (::WaitForSingleObject(hProcess, INFINITE) == WAIT_OBJECT_0 && ::GetExitCodeProcess(hProcess, &nCode) &&
            nCode != 0) {
            auto pCause = std::make_unique<std::string>(
                strProgram + " ended with code " + std::to_string(nCode) +
                (nCode == 1 ? ": no web browser it knows is set up on this system" : ""));
            if (::PostMessageA(hWndNotify, CShellOpen::WM_SHELL_OPEN_FAILED, nCode,
                               reinterpret_cast<LPARAM>(pCause.get())))
                pCause.release();
        }
        ::CloseHandle(hProcess);
    }).detach();
}

}  // namespace

std::string CShellOpen::Open(HWND hWndNotify, const std::string& strTarget) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = hWndNotify;
    info.lpVerb = "open";
    info.lpFile = strTarget.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&info)) return "the system cannot open it: " + SystemErrorText(::GetLastError());
    // A program that was already running may take the address over: then there is nothing to watch.
    if (info.hProcess) WatchProgram(hWndNotify, info.hProcess);
    return std::string();
}

std::string CShellOpen::TakeFailure(LPARAM lParam) {
    std::unique_ptr<std::string> pCause(reinterpret_cast<std::string*>(lParam));
    return pCause ? *pCause : std::string();
}
