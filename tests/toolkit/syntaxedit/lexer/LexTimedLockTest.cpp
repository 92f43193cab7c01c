// The chain's lock: taken again by its holder, a wait with a time-out that gives up leaves
// nothing behind, and a waiter with a time-out goes before a thread that takes the lock anew.
#include "LexTestSupport.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexTimedLock.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace {

// Runs on a thread of its own holding the lock until released; then does what it is given next on
// that thread (the parser takes the lock back at once for its next block).
class CHolder {
public:
    explicit CHolder(CKLVSyntaxEditLexTimedLock& lock, std::function<void()> next = nullptr)
        : m_thread([this, &lock, next] {
        lock.Lock();
        m_evHeld.SetEvent();
        ::WaitForSingleObject(m_evRelease.m_hObject, 120000);
        lock.Unlock();
        if (next) next();
    }) {
        ::WaitForSingleObject(m_evHeld.m_hObject, 60000);
    }
    ~CHolder() { Release(); }
    void Release() {
        m_evRelease.SetEvent();
        if (m_thread.joinable()) m_thread.join();
    }

private:
    CEvent m_evHeld{FALSE, TRUE};
    CEvent m_evRelease{FALSE, TRUE};
    std::thread m_thread;
};

BOOL TakenElsewhere(CKLVSyntaxEditLexTimedLock& lock) {
    BOOL bTaken = FALSE;
    std::thread([&] {
        bTaken = lock.Lock(0);
        if (bTaken) lock.Unlock();
    }).join();
    return bTaken;
}

TEST(LexTimedLock, TakenAgainByItsHolderAndGivenUpWithoutTrace) {
    enum Holder { kNone, kHere, kElsewhere };
    const struct {
        const char* name;
        Holder holder;
        DWORD dwTimeout;
        BOOL bExpected;
    } cases[] = {
        {"free, no wait", kNone, 0, TRUE},
        {"free, waited for", kNone, 20, TRUE},
        {"held here, no wait", kHere, 0, TRUE},
        {"held here, without time-out", kHere, INFINITE, TRUE},
        {"held elsewhere, no wait", kElsewhere, 0, FALSE},
        {"held elsewhere, waited for a while", kElsewhere, 20, FALSE},
    };
    for (const auto& c : cases) {
        CKLVSyntaxEditLexTimedLock lock;
        std::unique_ptr<CHolder> pElsewhere;
        if (c.holder == kHere) lock.Lock();
        if (c.holder == kElsewhere) pElsewhere = std::make_unique<CHolder>(lock);
        const BOOL bTaken = lock.Lock(c.dwTimeout);
        EXPECT_EQ(bTaken, c.bExpected) << c.name;
        EXPECT_FALSE(lock.HasWaiterFirst()) << c.name << ": a finished wait is no longer counted";
        if (bTaken) lock.Unlock();
        if (c.holder == kHere) {
            EXPECT_FALSE(TakenElsewhere(lock)) << c.name << ": still held once";
            lock.Unlock();
        }
        if (pElsewhere) pElsewhere->Release();
        EXPECT_TRUE(TakenElsewhere(lock)) << c.name << ": let go as often as taken";
    }
}

// While a wait with a time-out is under way, a thread that takes the lock without one waits for
// it: the holder that takes the lock back at once as it lets go (which, running, would otherwise
// win over the waiter still waking), and a thread that asks for it just before the holder lets go.
TEST(LexTimedLock, AWaiterWithATimeOutGoesFirst) {
    const struct {
        const char* name;
        bool bHolderTakesBack;
    } cases[] = {
        {"the holder takes it back", true},
        {"another thread takes it", false},
    };
    for (const auto& c : cases) {
        for (int nRound = 0; nRound < 20; ++nRound) {
            CKLVSyntaxEditLexTimedLock lock;
            std::string order;
            const std::function<void()> takeAnew = [&] {
                lock.Lock();
                order += 'p';
                lock.Unlock();
            };
            CHolder holder(lock, c.bHolderTakesBack ? takeAnew : nullptr);
            std::thread window([&] {
                ASSERT_TRUE(lock.Lock(120000));
                order += 'w';
                lock.Unlock();
            });
            ASSERT_TRUE(WaitUntil([&] { return lock.HasWaiterFirst() != FALSE; }));
            std::thread parser;
            if (!c.bHolderTakesBack) parser = std::thread(takeAnew);
            holder.Release();
            window.join();
            if (parser.joinable()) parser.join();
            EXPECT_EQ(order, "wp") << c.name << ", round " << nRound;
            EXPECT_FALSE(lock.HasWaiterFirst()) << c.name;
        }
    }
}

}  // namespace
