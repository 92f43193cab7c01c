// The menu sounds' worker: started by the first request, ended with the command bars.
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/sounds/MenuSoundPlayer.h"

#include <gtest/gtest.h>

namespace {

// Waits until the worker has looked at the request word since the caller wrote it: the pass under
// way when the count was read may have looked before, the one after it began later. The bound only
// keeps a stuck worker from hanging the test.
bool WorkerLookedAgain(const CKLVMenuSoundPlayer& player) {
    const LONG nSeen = player.m_nPasses;
    for (int i = 0; i < 10000 && player.m_nPasses - nSeen < 2; ++i) ::Sleep(1);
    return player.m_nPasses - nSeen >= 2;
}

TEST(MenuSounds, AnUnknownRequestStartsTheWorkerAndStays) {
    const struct {
        LONG nRequest;
        LONG nLeft;  // the request word once the worker has looked at it
    } rows[] = {
        {3, 3},  // unknown: not taken, not played
        {-1, -1},
        {CKLVMenuSoundPlayer::SoundMenuCommand, CKLVMenuSoundPlayer::SoundNone},
        {CKLVMenuSoundPlayer::SoundMenuPopup, CKLVMenuSoundPlayer::SoundNone},
        {CKLVMenuSoundPlayer::SoundNone, CKLVMenuSoundPlayer::SoundNone},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.nRequest);
        CKLVMenuSoundPlayer player;
        player.Play(row.nRequest);
        EXPECT_NE(player.m_hThread, nullptr);
        ASSERT_TRUE(WorkerLookedAgain(player));
        EXPECT_EQ(player.m_nSound, row.nLeft);
        player.Stop();
        EXPECT_EQ(player.m_hThread, nullptr);
        player.Stop();
    }
}

TEST(MenuSounds, TheWorkerEndsWithTheCommandBars) {
    auto* pCommandBars = new CKLVCommandBars;
    KLVMenuSoundPlayer()->Play(CKLVMenuSoundPlayer::SoundNone);   // starts the worker, plays nothing
    ASSERT_NE(KLVMenuSoundPlayer()->m_hThread, nullptr);
    HANDLE hWorker = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), KLVMenuSoundPlayer()->m_hThread, ::GetCurrentProcess(),
                                  &hWorker, SYNCHRONIZE, FALSE, 0));
    pCommandBars->InternalRelease();
    EXPECT_EQ(KLVMenuSoundPlayer()->m_hThread, nullptr);
    EXPECT_EQ(::WaitForSingleObject(hWorker, 10000), WAIT_OBJECT_0);
    ::CloseHandle(hWorker);
    // The next request starts a new one.
    KLVMenuSoundPlayer()->Play(CKLVMenuSoundPlayer::SoundNone);
    EXPECT_NE(KLVMenuSoundPlayer()->m_hThread, nullptr);
    KLVMenuSoundPlayer()->Stop();
}

}  // namespace
