#include "classlib/Sync.h"

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)
IMPLEMENT_DYNAMIC(CEvent, CSyncObject)

CSyncObject::~CSyncObject() {
    if (m_hObject) CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD dwTimeout) {
    const DWORD dwResult = WaitForSingleObject(m_hObject, dwTimeout);
    return dwResult == WAIT_OBJECT_0 || dwResult == WAIT_ABANDONED;
}

CCriticalSection::CCriticalSection() { InitializeCriticalSection(&m_sect); }

CCriticalSection::~CCriticalSection() { DeleteCriticalSection(&m_sect); }

BOOL CCriticalSection::Lock(DWORD) {
    EnterCriticalSection(&m_sect);
    return TRUE;
}

BOOL CCriticalSection::Unlock() {
    LeaveCriticalSection(&m_sect);
    return TRUE;
}

CMutex::CMutex(BOOL bInitiallyOwn, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute) {
    m_hObject = CreateMutexA(lpsaAttribute, bInitiallyOwn, lpszName);
    if (!m_hObject) AfxThrowResourceException();
}

BOOL CMutex::Unlock() { return ReleaseMutex(m_hObject); }

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute) {
    m_hObject = CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
    if (!m_hObject) AfxThrowResourceException();
}

BOOL CEvent::SetEvent() { return ::SetEvent(m_hObject); }
BOOL CEvent::ResetEvent() { return ::ResetEvent(m_hObject); }
BOOL CEvent::PulseEvent() { return ::PulseEvent(m_hObject); }

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock) : m_pObject(pObject) {
    if (!pObject) AfxThrowInvalidArgException();
    if (bInitialLock) Lock();
}

BOOL CSingleLock::Lock(DWORD dwTimeOut) {
    if (!m_bAcquired) m_bAcquired = m_pObject->Lock(dwTimeOut);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock() {
    if (m_bAcquired) m_bAcquired = !m_pObject->Unlock();
    return !m_bAcquired;
}
