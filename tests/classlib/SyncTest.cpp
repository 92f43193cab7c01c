// Synchronization objects: ownership, re-entry and the scope of a CSingleLock.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Tries to take the object from another thread without waiting.
bool OtherThreadCanLock(CSyncObject& object) {
    bool bLocked = false;
    std::thread([&] {
        bLocked = object.Lock(0) != FALSE;
        if (bLocked) object.Unlock();
    }).join();
    return bLocked;
}

TEST(Sync, MutexIsReentrantAndExcludesOtherThreads) {
    CMutex mutex;
    EXPECT_TRUE(OtherThreadCanLock(mutex));
    {
        CSingleLock outer(&mutex, TRUE);
        EXPECT_TRUE(outer.IsLocked());
        CSingleLock inner(&mutex, TRUE);  // the owning thread takes it again
        EXPECT_TRUE(inner.IsLocked());
        EXPECT_FALSE(OtherThreadCanLock(mutex));
        EXPECT_TRUE(inner.Unlock());
        EXPECT_FALSE(OtherThreadCanLock(mutex));  // still held once
    }
    EXPECT_TRUE(OtherThreadCanLock(mutex));  // the locks released it on leaving the scope
}

TEST(Sync, CriticalSectionGuardsAcrossThreads) {
    CCriticalSection section;
    long total = 0;
    auto add = [&] {
        for (int i = 0; i < 10000; ++i) {
            CSingleLock lock(&section, TRUE);
            ++total;
        }
    };
    std::thread first(add), second(add);
    first.join();
    second.join();
    EXPECT_EQ(total, 20000);
}

TEST(Sync, SingleLockWithoutInitialLockHoldsNothing) {
    CMutex mutex;
    CSingleLock lock(&mutex);
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_TRUE(lock.Unlock());  // nothing to release
    EXPECT_TRUE(lock.Lock());
    EXPECT_TRUE(lock.Lock());  // already held: no second acquisition
    EXPECT_TRUE(lock.Unlock());
    EXPECT_TRUE(OtherThreadCanLock(mutex));
}

}  // namespace
