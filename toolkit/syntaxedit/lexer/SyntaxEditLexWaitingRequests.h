// Counts the requests waiting for the background parser's queue. The queue's lock is not handed
// over in the order it was asked for, so the worker could take it back from a waiting keystroke
// at the end of every pass; instead no pass starts while a request waits, and a running pass
// ends as for a break. Unlike the schema's break, which a finishing pass clears, the count falls
// only once the request holds the queue.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/common/CriticalSection.h"

#include <atomic>

class CKLVSyntaxEditLexWaitingRequests {
public:
    // Before the request waits for the queue.
    void Enter();
    // Once it holds the queue.
    void Leave();
    BOOL Any() const { return m_nWaiting.load() > 0; }
    // Returns when no request waits (TRUE) or hStop is signalled first (FALSE).
    BOOL WaitForNone(HANDLE hStop) const;

private:
    CKLVCriticalSection m_csCount;
    std::atomic<int> m_nWaiting{0};
    // Set while no request waits.
    CEvent m_evNone{TRUE, TRUE};
};
