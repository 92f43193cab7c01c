// Synchronization objects: CCriticalSection, CMutex, CEvent, and CSingleLock to hold one.
#pragma once

#include "classlib/Exceptions.h"
#include "classlib/Object.h"

class CSyncObject : public CObject {
    DECLARE_DYNAMIC(CSyncObject)
public:
    ~CSyncObject() override;

    operator HANDLE() const noexcept { return m_hObject; }
    // TRUE when the object was acquired within dwTimeout milliseconds.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;

    HANDLE m_hObject = nullptr;

protected:
    CSyncObject() noexcept = default;
};

// Re-entrant within one thread; the time-out is not supported (Lock always waits).
class CCriticalSection : public CSyncObject {
    DECLARE_DYNAMIC(CCriticalSection)
public:
    CCriticalSection();
    ~CCriticalSection() override;

    operator CRITICAL_SECTION*() noexcept { return &m_sect; }
    BOOL Lock(DWORD dwTimeout = INFINITE) override;
    BOOL Unlock() override;

    CRITICAL_SECTION m_sect;
};

// The thread that holds the mutex may take it again. A mutex left by a thread that ended
// counts as acquired.
class CMutex : public CSyncObject {
    DECLARE_DYNAMIC(CMutex)
public:
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCSTR lpszName = nullptr, LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL Unlock() override;
};

class CEvent : public CSyncObject {
    DECLARE_DYNAMIC(CEvent)
public:
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);

    BOOL SetEvent();
    BOOL ResetEvent();
    BOOL PulseEvent();
    BOOL Unlock() override { return TRUE; }
};

// Holds one synchronization object for a scope; the destructor releases it.
class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const noexcept { return m_bAcquired; }

protected:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};
