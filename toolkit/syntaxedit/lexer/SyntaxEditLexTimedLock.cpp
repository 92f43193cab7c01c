#include "toolkit/syntaxedit/lexer/SyntaxEditLexTimedLock.h"

BOOL CKLVSyntaxEditLexTimedLock::Lock(DWORD dwTimeout) {
    if (dwTimeout != INFINITE) return LockWithin(dwTimeout);
    // A thread that holds the lock takes it again at once: waiting there would wait for itself.
    if (!IsHeldHere()) {
        while (HasWaiterFirst()) ::WaitForSingleObject(m_evNoWaiterFirst.m_hObject, INFINITE);
    }
    ::EnterCriticalSection(&m_sect);
    TakeOwnership();
    return TRUE;
}

BOOL CKLVSyntaxEditLexTimedLock::LockWithin(DWORD dwTimeout) {
    // Held here, the lock is taken again at once.
    if (::TryEnterCriticalSection(&m_sect)) {
        TakeOwnership();
        return TRUE;
    }
    CountWaiterFirst(+1);
    const DWORD dwStart = ::GetTickCount();
    BOOL bLocked = FALSE;
    for (;;) {
        if (::TryEnterCriticalSection(&m_sect)) {
            bLocked = TRUE;
            break;
        }
        const DWORD dwWaited = ::GetTickCount() - dwStart;
        if (dwWaited >= dwTimeout) break;
        // Counted before the try: a holder that lets go after it sets the event for this wait.
        ::WaitForSingleObject(m_evLetGo.m_hObject, dwTimeout - dwWaited);
    }
    CountWaiterFirst(-1);
    if (bLocked) TakeOwnership();
    return bLocked;
}

void CKLVSyntaxEditLexTimedLock::TakeOwnership() {
    m_dwOwner.store(::GetCurrentThreadId(), std::memory_order_relaxed);
    ++m_nDepth;
}

BOOL CKLVSyntaxEditLexTimedLock::Unlock() {
    const bool bLetGo = --m_nDepth == 0;
    if (bLetGo) m_dwOwner.store(0, std::memory_order_relaxed);
    ::LeaveCriticalSection(&m_sect);
    if (bLetGo && HasWaiterFirst()) m_evLetGo.SetEvent();
    return TRUE;
}

void CKLVSyntaxEditLexTimedLock::CountWaiterFirst(int nDelta) {
    CSingleLock lock(&m_csWaitersFirst, TRUE);
    const int nBefore = m_nWaitersFirst.fetch_add(nDelta, std::memory_order_acq_rel);
    if (nBefore == 0 && nDelta > 0) m_evNoWaiterFirst.ResetEvent();
    if (nBefore + nDelta == 0) m_evNoWaiterFirst.SetEvent();
}
