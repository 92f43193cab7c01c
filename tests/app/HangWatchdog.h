// A real-time guard against a hang in a test that runs several threads at once. Each thread taking
// part says what it is doing before each step; a step that has not ended after the limit is a
// hang (a deadlock, a wait nothing will satisfy), since every step is short. The watchdog then
// writes what every thread was doing and ends the process: a hung test could not report
// otherwise, and the suite would wait for its own timeout with nothing said. It measures no speed.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace apptest {

class CHangWatchdog {
public:
    explicit CHangWatchdog(DWORD dwLimitMs) : m_dwLimitMs(dwLimitMs), m_hStop(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        m_thread = std::thread([this] { Watch(); });
    }
    ~CHangWatchdog() {
        if (m_hHook) ::UnhookWindowsHookEx(m_hHook);
        if (t_pWatching == this) t_pWatching = nullptr;
        ::SetEvent(m_hStop);
        m_thread.join();
        ::CloseHandle(m_hStop);
    }
    CHangWatchdog(const CHangWatchdog&) = delete;
    CHangWatchdog& operator=(const CHangWatchdog&) = delete;

    // A thread taking part, by name (a literal); its number, for Step and Leave. Called before the
    // threads start.
    int Join(const char* lpszName) {
        const int nWho = m_nJoined++;
        if (nWho >= static_cast<int>(m_parts.size())) std::abort();
        m_parts[static_cast<size_t>(nWho)].lpszName = lpszName;
        Step(nWho, "starting");
        return nWho;
    }
    // The thread starts a step: what it does, and so what it waits for if it never comes back.
    void Step(int nWho, const char* lpszWhat) {
        CPart& part = m_parts[static_cast<size_t>(nWho)];
        part.since = ::GetTickCount64();
        part.what = lpszWhat;
    }
    // The thread is done and no longer watched.
    void Leave(int nWho) { m_parts[static_cast<size_t>(nWho)].what = nullptr; }
    // Every message the calling thread takes from its queue is a step of the participant, inside
    // modal loops that other code runs too; a message that is never handled to the end is a hang.
    void WatchMessages(int nWho) {
        t_pWatching = this;
        t_nWatched = nWho;
        m_hHook = ::SetWindowsHookExA(WH_GETMESSAGE, &CHangWatchdog::OnGetMessage, nullptr, ::GetCurrentThreadId());
    }

private:
    struct CPart {
        const char* lpszName = "";
        std::atomic<const char*> what{nullptr};
        std::atomic<ULONGLONG> since{0};
    };

    static LRESULT CALLBACK OnGetMessage(int nCode, WPARAM wParam, LPARAM lParam) {
        if (nCode >= 0 && t_pWatching) t_pWatching->m_parts[static_cast<size_t>(t_nWatched)].since = ::GetTickCount64();
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    void Watch() {
        while (::WaitForSingleObject(m_hStop, 100) == WAIT_TIMEOUT) {
            const ULONGLONG now = ::GetTickCount64();
            for (int i = 0; i < m_nJoined; ++i) {
                const CPart& part = m_parts[static_cast<size_t>(i)];
                const char* lpszWhat = part.what;
                if (lpszWhat && now - part.since > m_dwLimitMs) Report(i, now);
            }
        }
    }
    [[noreturn]] void Report(int nHung, ULONGLONG now) {
        std::fprintf(stderr, "\nHANG: the %s thread has been %s for %llu ms\n", m_parts[static_cast<size_t>(nHung)].lpszName,
                     m_parts[static_cast<size_t>(nHung)].what.load(),
                     static_cast<unsigned long long>(now - m_parts[static_cast<size_t>(nHung)].since));
        for (int i = 0; i < m_nJoined; ++i) {
            const CPart& part = m_parts[static_cast<size_t>(i)];
            const char* lpszWhat = part.what;
            std::fprintf(stderr, "  %s thread: %s\n", part.lpszName, lpszWhat ? lpszWhat : "done");
        }
        std::fflush(stderr);
        std::fflush(stdout);
        ::TerminateProcess(::GetCurrentProcess(), 3);
        for (;;) ::Sleep(INFINITE);
    }

    const DWORD m_dwLimitMs;
    const HANDLE m_hStop;
    std::array<CPart, 4> m_parts;
    std::atomic<int> m_nJoined{0};
    std::thread m_thread;
    HHOOK m_hHook = nullptr;
    static inline thread_local CHangWatchdog* t_pWatching = nullptr;
    static inline thread_local int t_nWatched = 0;
};

}  // namespace apptest
