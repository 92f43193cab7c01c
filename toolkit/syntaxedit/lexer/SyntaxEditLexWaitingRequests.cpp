#include "toolkit/syntaxedit/lexer/SyntaxEditLexWaitingRequests.h"

void CKLVSyntaxEditLexWaitingRequests::Enter() {
    CKLVCriticalSectionLock lock(&m_csCount);
    if (m_nWaiting++ == 0) m_evNone.ResetEvent();
}

void CKLVSyntaxEditLexWaitingRequests::Leave() {
    CKLVCriticalSectionLock lock(&m_csCount);
    if (--m_nWaiting == 0) m_evNone.SetEvent();
}

BOOL CKLVSyntaxEditLexWaitingRequests::WaitForNone(HANDLE hStop) const {
    const HANDLE handles[2] = {m_evNone.m_hObject, hStop};
    return ::WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0;
}
