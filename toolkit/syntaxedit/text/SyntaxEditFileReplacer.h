// Moving a finished new file over the one it replaces. A file that anyone holds open cannot be
// replaced, whatever that handle shares; readers that look for a moment (a file monitor, a
// virus scanner, another editor loading it) are waited out with a few attempts, each wait
// longer than the last, before the move fails.
#pragma once

#include "classlib/Object.h"

class CKLVSyntaxEditFileReplacer {
public:
    enum { kAttempts = 5, kFirstWait = 10 };

    CKLVSyntaxEditFileReplacer() = default;
    virtual ~CKLVSyntaxEditFileReplacer() = default;

    // Moves lpszNew over lpszTarget (a missing target is created). FALSE when every attempt
    // failed, with the system's error of the last one; lpszNew is then left where it is.
    BOOL MoveOver(LPCSTR lpszNew, LPCSTR lpszTarget);

protected:
    // Before attempt nAttempt (1 for the first retry): kFirstWait ms, doubled each time.
    virtual void WaitBeforeRetry(int nAttempt);

private:
    // The errors of a target that someone holds open.
    static BOOL IsHeld(DWORD dwError);
};
