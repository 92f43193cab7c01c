#include "toolkit/commandbars/sounds/MenuSoundPlayer.h"

#include <mmsystem.h>

#include <type_traits>

static_assert(std::is_trivially_destructible<CKLVMenuSoundPlayer>::value,
              "the worker may still read the player while statics are destroyed");

CKLVMenuSoundPlayer* KLVMenuSoundPlayer() {
    static CKLVMenuSoundPlayer s_player;
    return &s_player;
}

void CKLVMenuSoundPlayer::Play(int nSound) {
    if (!m_bEnabled) return;
    if (!m_hThread) Start();
    ::InterlockedExchange(&m_nSound, nSound);
}

void CKLVMenuSoundPlayer::Start() {
    ::InterlockedExchange(&m_nSound, SoundNone);
    ::InterlockedExchange(&m_bTerminate, FALSE);
    DWORD dwThreadId = 0;
    m_hThread = ::CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &dwThreadId);
    if (!m_hThread) return;
    ::SetThreadPriority(m_hThread, THREAD_PRIORITY_BELOW_NORMAL);
    ::ResumeThread(m_hThread);
}

DWORD WINAPI CKLVMenuSoundPlayer::ThreadProc(LPVOID lpParameter) {
    auto* pPlayer = static_cast<CKLVMenuSoundPlayer*>(lpParameter);
    while (!pPlayer->m_bTerminate) {
        // Only a known sound is taken; the word is cleared before playing so that a request made
        // meanwhile survives.
        const LONG nSound = pPlayer->m_nSound;
        if ((nSound == SoundMenuCommand || nSound == SoundMenuPopup) &&
            ::InterlockedCompareExchange(&pPlayer->m_nSound, SoundNone, nSound) == nSound)
            ::PlaySoundA(nSound == SoundMenuCommand ? "MenuCommand" : "MenuPopup", nullptr,
                         SND_ALIAS | SND_NODEFAULT | SND_NOWAIT);
        ::InterlockedIncrement(&pPlayer->m_nPasses);
        ::Sleep(5);
    }
    ::PlaySoundA(nullptr, nullptr, SND_PURGE);
    return 0;
}

void CKLVMenuSoundPlayer::Stop() {
    if (!m_hThread) return;
    ::InterlockedExchange(&m_bTerminate, TRUE);
    ::PlaySoundA(nullptr, nullptr, SND_PURGE);
    for (int i = 0; i < nStopWaits; ++i)
        if (::WaitForSingleObject(m_hThread, nStopWaitMilliseconds) != WAIT_TIMEOUT) break;
    ::CloseHandle(m_hThread);
    m_hThread = nullptr;
}
