// The system's menu sounds, played on a worker thread of their own so that the UI thread never
// waits for the sound device.
#pragma once

#include <windows.h>

class CKLVMenuSoundPlayer {
public:
    enum Sound { SoundNone = 0, SoundMenuCommand = 1, SoundMenuPopup = 2 };
    enum { nStopWaits = 10, nStopWaitMilliseconds = 100 };

    // Starts the worker when none runs; a request the worker has not taken yet is replaced.
    void Play(int nSound);
    void Start();
    // Asks the worker to end and waits for it a bounded time; a worker still inside a long sound
    // is left to finish on its own rather than killed.
    void Stop();

    volatile LONG m_nSound = SoundNone;
    BOOL m_bEnabled = TRUE;
    HANDLE m_hThread = nullptr;
    volatile LONG m_bTerminate = FALSE;
    // The worker's whole passes over the request word, so that a caller can tell it has looked at
    // a request made before the last two of them.
    volatile LONG m_nPasses = 0;

private:
    static DWORD WINAPI ThreadProc(LPVOID lpParameter);
};

// The process-wide player. It is never stopped from a static destructor: the command bars stop it.
CKLVMenuSoundPlayer* KLVMenuSoundPlayer();
