// A re-entrant lock that a thread may take again and that can be waited for with a time-out,
// without a kernel call when it is free: the schema's chain is locked for every block linked.
// A wait with a time-out is the window thread's (painting, an edit) and goes first: while one
// is under way, other threads do not take the lock anew (the parser would take it back at
// once for its next block), and the waiter wakes as the holder lets go instead of polling.
#pragma once

#include "classlib/ClassLib.h"

#include <atomic>

class CKLVSyntaxEditLexTimedLock : public CCriticalSection {
public:
    BOOL Lock(DWORD dwTimeout = INFINITE) override;
    BOOL Unlock() override;
    // Whether a wait with a time-out is under way.
    BOOL HasWaiterFirst() const { return m_nWaitersFirst.load(std::memory_order_acquire) > 0; }

private:
    BOOL IsHeldHere() const { return m_dwOwner.load(std::memory_order_relaxed) == ::GetCurrentThreadId(); }
    void TakeOwnership();
    BOOL LockWithin(DWORD dwTimeout);
    void CountWaiterFirst(int nDelta);

    // The holder and how often it took the lock; another thread reads the holder only to see
    // that it is not itself.
    std::atomic<DWORD> m_dwOwner{0};
    int m_nDepth = 0;
    std::atomic<int> m_nWaitersFirst{0};
    CCriticalSection m_csWaitersFirst;   // orders the count with the event below
    CEvent m_evNoWaiterFirst{TRUE, TRUE};
    CEvent m_evLetGo{FALSE, FALSE};      // the lock was let go while a waiter went first
};
