// A re-entrant lock that a thread may take again and that can be waited for with a time-out,
// without a kernel call when it is free: the schema's chain is locked for every block linked.
#pragma once

#include "classlib/ClassLib.h"

class CKLVSyntaxEditLexTimedLock : public CCriticalSection {
public:
    BOOL Lock(DWORD dwTimeout = INFINITE) override {
        if (dwTimeout == INFINITE) return CCriticalSection::Lock(INFINITE);
        const DWORD dwStart = ::GetTickCount();
        while (!::TryEnterCriticalSection(&m_sect)) {
            if (::GetTickCount() - dwStart >= dwTimeout) return FALSE;
            ::Sleep(1);
        }
        return TRUE;
    }
};
