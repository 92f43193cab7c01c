// A thread owned by one object. The owner tells it to end through a signal of its own, then
// joins it; the destructor joins a thread that is still there, so none outlives its owner.
// Every wait here lets messages sent to the waiting thread through, so a worker that sends to
// the user interface thread while that thread waits for it cannot deadlock.
#pragma once

#include "classlib/ClassLib.h"

#include <functional>

class CKLVSyntaxEditWorkerThread {
public:
    CKLVSyntaxEditWorkerThread() = default;
    ~CKLVSyntaxEditWorkerThread() { Join(INFINITE); }
    CKLVSyntaxEditWorkerThread(const CKLVSyntaxEditWorkerThread&) = delete;
    CKLVSyntaxEditWorkerThread& operator=(const CKLVSyntaxEditWorkerThread&) = delete;

    // Runs fn on a new thread; FALSE when a thread is still held or none could be started.
    BOOL Start(std::function<DWORD()> fn, int nPriority = THREAD_PRIORITY_NORMAL);
    // TRUE once the thread has ended (or there was none); its handle is then closed. FALSE
    // after the time-out, or when hGiveUp is signalled first. A message handled meanwhile may
    // join the same thread and start another: the join then ends and leaves the new one alone.
    BOOL Join(DWORD dwTimeout, HANDLE hGiveUp = nullptr);
    // The last resort for a thread that does not stop when told: ends it where it is.
    void Terminate();
    BOOL IsStarted() const { return m_hThread != nullptr; }
    BOOL IsCurrentThread() const { return m_hThread && ::GetCurrentThreadId() == m_dwThreadId; }
    HANDLE GetHandle() const { return m_hThread; }

    // Waits for any of the handles, dispatching messages sent to this thread meanwhile; the
    // result as WaitForMultipleObjects gives it.
    static DWORD Wait(DWORD nCount, const HANDLE* pHandles, DWORD dwTimeout);

private:
    static DWORD WINAPI ThreadProc(LPVOID pParam);

    HANDLE m_hThread = nullptr;
    DWORD m_dwThreadId = 0;
    // Counts the threads started, telling a thread from the next that got its handle's value.
    unsigned m_nStarted = 0;
    std::function<DWORD()> m_fn;
};
