// Notifications reach the sinks advised for their code, in order, and a sink unadvised or
// destroyed during a send is not called.
#include "toolkit/common/NotificationConnection.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

class CRecordingSink : public CKLVNotificationSink {
public:
    CRecordingSink(std::string& log, char chName) : m_log(log), m_chName(chName) {}
    void OnEvent(DWORD dwCode, WPARAM wParam, LPARAM, DWORD) override {
        m_log += m_chName + std::to_string(dwCode) + std::to_string(wParam) + " ";
        if (m_onEvent) m_onEvent();
    }
    std::function<void()> m_onEvent;

private:
    std::string& m_log;
    char m_chName;
};

}  // namespace

TEST(NotificationConnection, DeliversByCodeInOrderAndSkipsUnadvisedSinks) {
    auto* pConnection = new CKLVNotificationConnection;
    std::string log;
    CRecordingSink a(log, 'a');
    auto b = std::make_unique<CRecordingSink>(log, 'b');
    EXPECT_NE(a.Advise(pConnection, 10), 0u);
    EXPECT_NE(b->Advise(pConnection, 10), 0u);
    EXPECT_NE(a.Advise(pConnection, 11), 0u);
    EXPECT_EQ(a.Advise(nullptr, 11), 0u);
    EXPECT_EQ(pConnection->GetRefCount(), 4);

    EXPECT_TRUE(pConnection->Notify(10, 1, 0, 0));
    EXPECT_TRUE(pConnection->Notify(11, 2, 0, 0));
    EXPECT_FALSE(pConnection->Notify(12, 3, 0, 0));
    EXPECT_EQ(log, "a101 b101 a112 ");

    // a destroys b during the send: b is not called.
    log.clear();
    a.m_onEvent = [&] { b.reset(); };
    EXPECT_TRUE(pConnection->Notify(10, 4, 0, 0));
    EXPECT_EQ(log, "a104 ");
    EXPECT_EQ(pConnection->GetRefCount(), 3);
    a.m_onEvent = nullptr;

    // The publisher's last reference goes during a send; the send finishes first.
    a.m_onEvent = [&] {
        pConnection->InternalRelease();
        a.UnadviseAll();
    };
    log.clear();
    EXPECT_TRUE(pConnection->Notify(11, 5, 0, 0));
    EXPECT_EQ(log, "a115 ");
}
