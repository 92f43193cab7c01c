// The multi-threaded sink runs its owner's handlers on the thread that made it: sent events
// wait for that thread, posted ones arrive in order, and on the sink's own thread the direct
// flag skips the window.
#include "toolkit/syntaxedit/text/SyntaxEditNotificationSinkMT.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct CReceiver {
    void OnNotify(KLV_NOTIFYCODE dwCode, WPARAM wParam, LPARAM) {
        events.push_back({dwCode, wParam, ::GetCurrentThreadId()});
    }
    struct Event {
        KLV_NOTIFYCODE dwCode;
        WPARAM wParam;
        DWORD dwThread;
    };
    std::vector<Event> events;
};

// Runs the work on another thread and pumps this thread's messages until it is done and
// nothing is left to deliver.
template <class F>
void RunWhilePumping(F work) {
    HANDLE hDone = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread worker([&] {
        work();
        ::SetEvent(hDone);
    });
    MSG msg;
    for (;;) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        const DWORD dwWait = ::MsgWaitForMultipleObjects(1, &hDone, FALSE, 60000, QS_ALLINPUT);
        if (dwWait != WAIT_OBJECT_0 + 1) break;   // done, or a broken test that must not hang
    }
    worker.join();
    ::CloseHandle(hDone);
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

}  // namespace

TEST(SyntaxEditNotificationSinkMT, EventsFromOtherThreadsRunOnTheSinksThread) {
    auto* pConnection = new CKLVNotificationConnectionMT;
    CReceiver receiver;
    {
        CKLVNotificationSinkMT<CReceiver> sink(&receiver);
        sink.Advise(pConnection, 10, &CReceiver::OnNotify);
        sink.Advise(pConnection, 11, &CReceiver::OnNotify);
        const DWORD dwMain = ::GetCurrentThreadId();

        pConnection->Notify(10, 1, 0, KLV_NOTIFY_POST | KLV_NOTIFY_DIRECT_ON_SAME);
        ASSERT_EQ(receiver.events.size(), 1u) << "on its own thread: at once";
        pConnection->Notify(10, 2, 0, KLV_NOTIFY_POST);
        EXPECT_EQ(receiver.events.size(), 1u) << "posted: waits for the message loop";

        RunWhilePumping([] {});
        ASSERT_EQ(receiver.events.size(), 2u);

        RunWhilePumping([&] {
            pConnection->Notify(10, 3, 0, 0);   // sent: returns once the sink's thread ran it
            EXPECT_EQ(receiver.events.size(), 3u);
            for (WPARAM i = 4; i <= 50; ++i)
                pConnection->Notify(i % 2 ? 11 : 10, i, 0, KLV_NOTIFY_POST | KLV_NOTIFY_RETRY_POST | KLV_NOTIFY_DIRECT_ON_SAME);
            pConnection->Notify(13, 51, 0, 0);   // nobody advised
        });
        ASSERT_EQ(receiver.events.size(), 50u);
        for (size_t i = 0; i < receiver.events.size(); ++i) {
            EXPECT_EQ(receiver.events[i].wParam, i + 1) << "in order";
            EXPECT_EQ(receiver.events[i].dwThread, dwMain);
        }
        EXPECT_EQ(sink.GetFailedPostCount(), 0);
    }
    EXPECT_EQ(pConnection->GetRefCount(), 1) << "the sink let go of the connection";
    pConnection->InternalRelease();
}
