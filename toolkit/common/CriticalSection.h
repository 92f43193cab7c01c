// The toolkit's lock for data shared with worker threads, and its scoped holder.
#pragma once

#include "classlib/Object.h"

class CKLVCriticalSection {
public:
    CKLVCriticalSection() { ::InitializeCriticalSection(&m_cs); }
    ~CKLVCriticalSection() { ::DeleteCriticalSection(&m_cs); }
    CKLVCriticalSection(const CKLVCriticalSection&) = delete;
    CKLVCriticalSection& operator=(const CKLVCriticalSection&) = delete;

    void EnterCritical() { ::EnterCriticalSection(&m_cs); }
    void LeaveCritical() { ::LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};

class CKLVCriticalSectionLock {
public:
    explicit CKLVCriticalSectionLock(CKLVCriticalSection* pCS) : m_pCS(pCS) { m_pCS->EnterCritical(); }
    ~CKLVCriticalSectionLock() { m_pCS->LeaveCritical(); }
    CKLVCriticalSectionLock(const CKLVCriticalSectionLock&) = delete;
    CKLVCriticalSectionLock& operator=(const CKLVCriticalSectionLock&) = delete;

private:
    CKLVCriticalSection* m_pCS;
};
