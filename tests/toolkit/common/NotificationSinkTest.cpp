// Notifications nested, re-entered and sent from several threads at once; the hidden window's
// registered message; what start-up registers before main.
#include "ToolkitTestSupport.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/common/NotificationSinkMTWnd.h"
#include "toolkit/common/StartupRegistrations.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

class CLogSink : public CKLVNotificationSink {
public:
    CLogSink(std::string* pLog, char chName) : m_pLog(pLog), m_chName(chName) {}
    void OnEvent(DWORD dwCode, WPARAM, LPARAM, DWORD) override {
        *m_pLog += m_chName + std::to_string(dwCode);
        if (m_onEvent) m_onEvent();
    }
    std::string* m_pLog;
    char m_chName;
    std::function<void()> m_onEvent;
};

TEST(NotificationSink, NestedSendsFinishBeforeTheOuterSendGoesOn) {
    CKLVNotificationConnection connection;
    std::string log;
    CLogSink a(&log, 'a'), b(&log, 'b'), c(&log, 'c');
    a.Advise(&connection, 1);
    a.Advise(&connection, 1);   // advised twice: called twice
    b.Advise(&connection, 1);
    c.Advise(&connection, 1);
    b.Advise(&connection, 2);
    bool bNested = false;
    a.m_onEvent = [&] {
        if (bNested) return;
        bNested = true;
        connection.Notify(2, 0, 0);
    };
    b.m_onEvent = [&] { c.UnadviseAll(); };   // c is skipped in the sends under way
    EXPECT_TRUE(connection.Notify(1, 0, 0));
    EXPECT_EQ(log, "a1b2a1b1");
    EXPECT_FALSE(connection.Notify(3, 0, 0));
    a.UnadviseAll();
    b.UnadviseAll();
    EXPECT_EQ(connection.GetRefCount(), 1);
}

// Counts what reaches it from any thread.
class CCountingSink : public CKLVNotificationSink {
public:
    void OnEvent(DWORD, WPARAM wParam, LPARAM, DWORD) override { m_nTotal += static_cast<long>(wParam); }
    std::atomic<long> m_nTotal{0};
};

TEST(NotificationSink, ConcurrentSendsAndAdvisesDeliverExactlyOnce) {
    auto* pConnection = new CKLVNotificationConnectionMT;
    CCountingSink steady;
    steady.Advise(pConnection, 5);
    const int nSenders = 4, nSends = 2000;
    std::atomic<bool> bStop{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < nSenders; ++i)
        threads.emplace_back([&] {
            for (int n = 0; n < nSends; ++n) pConnection->Notify(5, 1, 0);
        });
    // Meanwhile other sinks come and go on the same connection (on a code nobody sends: a sink
    // that goes away must not be in a send of another thread).
    std::thread churn([&] {
        while (!bStop) {
            CCountingSink passing;
            passing.Advise(pConnection, 6);
            passing.Advise(pConnection, 7);
        }
    });
    for (std::thread& thread : threads) thread.join();
    bStop = true;
    churn.join();
    EXPECT_EQ(steady.m_nTotal, nSenders * nSends);
    EXPECT_EQ(pConnection->GetRefCount(), 2);
    steady.UnadviseAll();
    pConnection->InternalRelease();
}

// The hidden window of a multi-threaded sink answers the registered message.
class CTestSinkWnd : public CKLVNotificationSinkMTWnd {
protected:
    LRESULT OnInterThreadEvent(WPARAM wParam, LPARAM lParam) override { return wParam * 10 + lParam; }
};

TEST(NotificationSink, TheMessageWindowRoutesTheRegisteredMessage) {
    CTestSinkWnd wnd;
    ASSERT_TRUE(wnd.CreateWnd());
    char szText[64];
    wnd.GetWindowText(szText, sizeof(szText));
    EXPECT_STREQ(szText, "KLVNotificationSinkMT_MsgWnd");
    EXPECT_EQ(wnd.GetStyle() & WS_POPUP, DWORD(WS_POPUP));
    // Sent from another thread, as the sinks do.
    LRESULT lResult = 0;
    std::atomic<bool> bDone{false};
    std::thread sender([&] {
        lResult = ::SendMessageA(wnd.GetSafeHwnd(), KLV_WM_NOTIFICATIONSINKMT_ONEVENT, 4, 2);
        bDone = true;
    });
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return bDone.load(); }));
    sender.join();
    EXPECT_EQ(lResult, 42);
    wnd.DestroyWindow();
}

}  // namespace

// Outside the unnamed namespace, where the serial macro's extraction operator is no unused local.
class CRegisteredAtStartUp : public CObject {
    DECLARE_SERIAL(CRegisteredAtStartUp)
};
KLV_IMPLEMENT_SERIAL(CRegisteredAtStartUp, CObject)

namespace {

TEST(StartupRegistrations, AreInPlaceBeforeMainRuns) {
    EXPECT_NE(KLV_WM_NOTIFICATIONSINKMT_ONEVENT, 0u);
    EXPECT_EQ(KLV_WM_NOTIFICATIONSINKMT_ONEVENT, ::RegisterWindowMessageA("KLVNotificationSinkMTOnEvent"));
    char szName[64];
    ASSERT_GT(::GetClipboardFormatNameA(KLV_CF_ALPHABITMAPIMAGE, szName, sizeof(szName)), 0);
    EXPECT_STREQ(szName, "Alpha Bitmap Image");
    EXPECT_NE(KLV_CF_TOOLBARIMAGE, 0u);
    CRuntimeClass* pClass = CRuntimeClass::FromName("CRegisteredAtStartUp");
    ASSERT_EQ(pClass, RUNTIME_CLASS(CRegisteredAtStartUp));
    EXPECT_EQ(pClass->m_wSchema, UINT(VERSIONABLE_SCHEMA | 23));
    std::unique_ptr<CObject> pObject(pClass->CreateObject());
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CRegisteredAtStartUp)));
}

}  // namespace
