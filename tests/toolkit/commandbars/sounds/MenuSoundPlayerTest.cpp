// The menu sounds' worker: started by the first request, ended with the command bars.
#include "toolkit/commandbars/CommandBars.h"
#include "toolkit/commandbars/sounds/MenuSoundPlayer.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuSounds, AnUnknownRequestStartsTheWorkerAndStays) {
    CKLVMenuSoundPlayer player;
    player.Play(3);
    EXPECT_NE(player.m_hThread, nullptr);
    ::Sleep(30);
    EXPECT_EQ(player.m_nSound, 3);
    player.Stop();
    EXPECT_EQ(player.m_hThread, nullptr);
    player.Stop();
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
