#include "toolkit/syntaxedit/text/SyntaxEditFileReplacer.h"

BOOL CKLVSyntaxEditFileReplacer::MoveOver(LPCSTR lpszNew, LPCSTR lpszTarget) {
    for (int nAttempt = 0;; ++nAttempt) {
        if (::MoveFileExA(lpszNew, lpszTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return TRUE;
        const DWORD dwError = ::GetLastError();
        if (!IsHeld(dwError) || nAttempt + 1 >= kAttempts) {
            ::SetLastError(dwError);
            return FALSE;
        }
        WaitBeforeRetry(nAttempt + 1);
    }
}

void CKLVSyntaxEditFileReplacer::WaitBeforeRetry(int nAttempt) {
    ::Sleep(static_cast<DWORD>(kFirstWait) << (nAttempt - 1));
}

BOOL CKLVSyntaxEditFileReplacer::IsHeld(DWORD dwError) {
    return dwError == ERROR_ACCESS_DENIED || dwError == ERROR_SHARING_VIOLATION || dwError == ERROR_LOCK_VIOLATION;
}
