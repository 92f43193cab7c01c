// Threads started through AfxBeginThread: workers run their function at the priority asked and
// know their own CWinThread; threads with a message loop run InitInstance, pump until WM_QUIT and
// give its code; auto-deleting objects go when their thread ends; classes that are no thread start
// nothing.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

struct WorkerSeen {
    CWinThread* pSelf = nullptr;
    int nPriority = 0;
};

UINT RecordingWorker(LPVOID pParam) {
    auto* pSeen = static_cast<WorkerSeen*>(pParam);
    pSeen->pSelf = AfxGetThread();
    pSeen->nPriority = ::GetThreadPriority(::GetCurrentThread());
    return 40 + static_cast<UINT>(pSeen->nPriority + 2);
}

TEST(ThreadStart, WorkersRunTheirFunctionAtThePriorityAsked) {
    for (int nPriority : {THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_ABOVE_NORMAL}) {
        WorkerSeen seen;
        CWinThread* pThread = AfxBeginThread(RecordingWorker, &seen, nPriority, 0, CREATE_SUSPENDED);
        ASSERT_NE(pThread, nullptr);
        pThread->m_bAutoDelete = FALSE;   // the handle is waited on below
        EXPECT_NE(pThread->m_nThreadID, 0u);
        EXPECT_EQ(pThread->ResumeThread(), 1u) << "it waited, suspended";
        ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 10000), WAIT_OBJECT_0);
        DWORD nExitCode = 0;
        EXPECT_TRUE(::GetExitCodeThread(*pThread, &nExitCode));
        EXPECT_EQ(seen.pSelf, pThread) << "the worker knows its own object";
        EXPECT_EQ(seen.nPriority, nPriority);
        EXPECT_EQ(nExitCode, 40u + static_cast<UINT>(nPriority + 2));
        delete pThread;
    }
    EXPECT_EQ(AfxBeginThread(static_cast<AFX_THREADPROC>(nullptr), nullptr), nullptr);
}

HANDLE g_hQueueReady = nullptr;
HANDLE g_hDeleted = nullptr;
std::atomic<int> g_nIdleCalls{0};

}  // namespace

// A thread with a message loop; it fails to start when asked.
class CLoopThread : public CWinThread {
    DECLARE_DYNCREATE(CLoopThread)
public:
    static BOOL s_bFailInit;
    ~CLoopThread() override { ::SetEvent(g_hDeleted); }
    BOOL InitInstance() override {
        if (s_bFailInit) ::SetEvent(g_hQueueReady);
        return !s_bFailInit;
    }
    int ExitInstance() override { return CWinThread::ExitInstance() + 1000; }
    // The loop has looked at its queue, which exists from then on.
    BOOL OnIdle(LONG lCount) override {
        if (++g_nIdleCalls == 1) ::SetEvent(g_hQueueReady);
        return CWinThread::OnIdle(lCount);
    }
};
IMPLEMENT_DYNCREATE(CLoopThread, CWinThread)
BOOL CLoopThread::s_bFailInit = FALSE;

// Neither a thread nor creatable by name.
class CNotAThread : public CCmdTarget {
    DECLARE_DYNCREATE(CNotAThread)
};
IMPLEMENT_DYNCREATE(CNotAThread, CCmdTarget)

namespace {

TEST(ThreadStart, LoopThreadsPumpUntilQuitAndDeleteThemselves) {
    g_hQueueReady = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    g_hDeleted = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    struct Row {
        BOOL bFailInit;
        WPARAM nQuitCode;
        DWORD nExitCode;
    };
    // A loop that ran gives the WM_QUIT code through ExitInstance; one that never started gives
    // ExitInstance's result without a message.
    const Row rows[] = {{FALSE, 7, 1007}, {TRUE, 0, 1000}};
    for (const Row& row : rows) {
        ::ResetEvent(g_hDeleted);
        g_nIdleCalls = 0;
        CLoopThread::s_bFailInit = row.bFailInit;
        CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CLoopThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(pThread, nullptr);
        EXPECT_TRUE(pThread->IsKindOf(RUNTIME_CLASS(CLoopThread)));
        HANDLE hThread = nullptr;   // the object's own handle goes with it
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), pThread->m_hThread, ::GetCurrentProcess(), &hThread, 0, FALSE,
                                      DUPLICATE_SAME_ACCESS));
        const DWORD nThreadID = pThread->m_nThreadID;
        pThread->ResumeThread();
        ASSERT_EQ(::WaitForSingleObject(g_hQueueReady, 10000), WAIT_OBJECT_0);
        if (!row.bFailInit) {
            EXPECT_TRUE(::PostThreadMessageA(nThreadID, WM_QUIT, row.nQuitCode, 0));
        }
        ASSERT_EQ(::WaitForSingleObject(hThread, 10000), WAIT_OBJECT_0);
        DWORD nExitCode = 0;
        EXPECT_TRUE(::GetExitCodeThread(hThread, &nExitCode));
        EXPECT_EQ(nExitCode, row.nExitCode) << row.bFailInit;
        EXPECT_EQ(::WaitForSingleObject(g_hDeleted, 0), WAIT_OBJECT_0) << "the object went with its thread";
        ::CloseHandle(hThread);
    }
    ::CloseHandle(g_hQueueReady);
    ::CloseHandle(g_hDeleted);
}

TEST(ThreadStart, ClassesThatAreNoThreadStartNothing) {
    EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CNotAThread)), nullptr);
    EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CWinThread)), nullptr) << "not creatable by name";
    EXPECT_EQ(AfxBeginThread(static_cast<CRuntimeClass*>(nullptr)), nullptr);
}

}  // namespace
