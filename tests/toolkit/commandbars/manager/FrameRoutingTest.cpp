// The frame's messages through the command bars: Alt and its cues, mnemonics (shared, single,
// numeric pad), the context-menu key during a popup, WM_CLOSE while customising, and modal
// popup tracking with its results, its WM_QUIT and a real menu's command reaching the frame.
#include "MenuFrameTestSupport.h"
#include "support/DeferredAction.h"
#include "toolkit/commandbars/manager/CustomizeDrop.h"
#include "toolkit/common/KeyboardHook.h"

#include <gtest/gtest.h>

#include <functional>

using namespace commandbars_test;

namespace {

constexpr LPARAM kAltDown = 1 << 29;

using testsupport::CDeferred;

class FrameRouting : public ::testing::Test {
protected:
    // Replaces the menu bar's controls by buttons with the captions (ids from 1001).
    void SetCaptions(std::initializer_list<const char*> captions) {
        CKLVControls* pControls = m_frame.m_pMenuBar->GetControls();
        pControls->RemoveAll();
        int nId = 1001;
        for (const char* pszCaption : captions) pControls->Add(CKLVControl::typeButton, nId++)->SetCaption(pszCaption);
        m_frame.m_pMenuBar->OnRecalcLayout();
    }
    BOOL AltKey(UINT nKey) {
        MSG msg = {m_frame.m_hFrame, WM_SYSKEYDOWN, nKey, kAltDown | 1, 0, {0, 0}};
        return m_frame.m_pFrame->PreTranslateMessage(&msg);
    }

    CMenuFrameFixture m_frame;
};

// Alt and mnemonics need the frame to be the active window.
class FrameKeys : public FrameRouting {
protected:
    void SetUp() override {
        m_frame.m_pFrame->ShowWindow(SW_SHOW);
        ::SetForegroundWindow(m_frame.m_hFrame);
        ::SetActiveWindow(m_frame.m_hFrame);
    }
};

TEST_F(FrameKeys, AltAloneShowsTheCuesWithoutEatingTheKeyAndItsReleaseHidesThem) {
    ASSERT_TRUE(CKLVDrawHelpers::IsTopParentActive(m_frame.m_hFrame));
    CKLVCommandBars* pCommandBars = m_frame.m_pCommandBars;
    pCommandBars->SetKeyboardCuesState(FALSE, TRUE);
    EXPECT_FALSE(AltKey(VK_MENU));
    EXPECT_TRUE(pCommandBars->IsKeyboardCuesVisible());
    MSG up = {m_frame.m_hFrame, WM_SYSKEYUP, VK_MENU, kAltDown | 1, 0, {0, 0}};
    EXPECT_FALSE(m_frame.m_pFrame->PreTranslateMessage(&up));
    EXPECT_FALSE(pCommandBars->IsKeyboardCuesVisible());
    // Without the context bit (Alt not held) nothing shows.
    MSG plain = {m_frame.m_hFrame, WM_SYSKEYDOWN, VK_MENU, 1, 0, {0, 0}};
    m_frame.m_pFrame->PreTranslateMessage(&plain);
    EXPECT_FALSE(pCommandBars->IsKeyboardCuesVisible());
}

TEST_F(FrameKeys, ASharedMnemonicSelectsInTurnASingleOneExecutes) {
    SetCaptions({"&Alpha", "&Another", "&Beta", "Gamma"});
    CKLVCommandBar* pBar = m_frame.m_pMenuBar;
    EXPECT_TRUE(AltKey('A'));
    EXPECT_EQ(pBar->GetTrackingMode(), 1);
    EXPECT_EQ(pBar->m_nSelected, 0);
    EXPECT_TRUE(m_frame.m_pFrame->m_commands.empty());
    // The next press reaches the tracking bar through the thread's keyboard hook.
    EXPECT_TRUE(KLVKeyboardHook()->OnHookKey('A', kAltDown | 1));
    EXPECT_EQ(pBar->m_nSelected, 1);
    KLVKeyboardHook()->OnHookKey('A', kAltDown | 1);
    EXPECT_EQ(pBar->m_nSelected, 0);
    EXPECT_TRUE(m_frame.m_pFrame->m_commands.empty());
    m_frame.m_pCommandBars->ClosePopups();

    EXPECT_TRUE(AltKey('B'));
    EXPECT_EQ(m_frame.m_pFrame->m_commands, std::vector<UINT>{1003});
    m_frame.m_pCommandBars->ClosePopups();
    // A first letter counts on the menu bar; an unknown letter is the frame's.
    EXPECT_TRUE(AltKey('G'));
    EXPECT_EQ(m_frame.m_pFrame->m_commands, (std::vector<UINT>{1003, 1004}));
    m_frame.m_pCommandBars->ClosePopups();
    EXPECT_FALSE(AltKey('Q'));
    EXPECT_EQ(pBar->GetTrackingMode(), 0);
}

TEST_F(FrameKeys, AnItemChosenOnAMenuThatClosesSendsItsCommandToTheFrame) {
    ASSERT_TRUE(AltKey('F'));
    CKLVCommandBar* pPopup = m_frame.m_pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_EQ(pPopup->GetTrackingMode(), 1);
    pPopup->GetControls()->FindControl(57603)->OnExecute();
    EXPECT_EQ(pPopup->GetTrackingMode(), 0);
    EXPECT_EQ(m_frame.m_pFrame->m_commands, std::vector<UINT>{57603});
    EXPECT_EQ(pPopup->m_pSiteOverride, nullptr);
}

// Each key message goes through the frame's pre-translation and, when that leaves it, to the
// frame's own handling, as the application's message loop passes it on.
class FrameKeyPresses : public FrameKeys {
protected:
    void Press(UINT message, UINT nKey, LPARAM lParam) {
        MSG msg = {m_frame.m_hFrame, message, nKey, lParam, 0, {0, 0}};
        if (!m_frame.m_pFrame->PreTranslateMessage(&msg)) ::DispatchMessageA(&msg);
    }
    void AltWith(UINT nKey, UINT nReleaseMessage, BOOL bKeyUpFirst) {
        Press(WM_SYSKEYDOWN, VK_MENU, kAltDown | 1);
        Press(WM_SYSKEYDOWN, nKey, kAltDown | 1);
        if (bKeyUpFirst) Press(WM_SYSKEYUP, nKey, kAltDown | kKeyUp);
        Press(nReleaseMessage, VK_MENU, kKeyUp);
        if (!bKeyUpFirst) Press(WM_KEYUP, nKey, kKeyUp);
    }
    static constexpr LPARAM kKeyUp = 0xC0000001;
};

TEST_F(FrameKeyPresses, ReleasingAltAfterAMnemonicLeavesWhatTheMnemonicDid) {
    struct Case {
        UINT nReleaseMessage;
        BOOL bKeyUpFirst;
    };
    // Alt goes up before or after the letter, as the system words it either way.
    const Case cases[] = {{WM_KEYUP, FALSE}, {WM_SYSKEYUP, FALSE}, {WM_SYSKEYUP, TRUE}, {WM_KEYUP, TRUE}};
    CKLVCommandBar* pBar = m_frame.m_pMenuBar;
    for (const Case& c : cases) {
        AltWith('F', c.nReleaseMessage, c.bKeyUpFirst);
        CKLVCommandBar* pPopup = pBar->GetControl(0)->GetCommandBar();
        EXPECT_EQ(pPopup->GetTrackingMode(), 1) << c.nReleaseMessage << " " << c.bKeyUpFirst;
        EXPECT_EQ(pBar->m_nPopuped, 0) << c.nReleaseMessage << " " << c.bKeyUpFirst;
        m_frame.m_pCommandBars->ClosePopups();
    }
    SetCaptions({"&Alpha", "&Beta"});
    for (const Case& c : cases) {
        AltWith('B', c.nReleaseMessage, c.bKeyUpFirst);
        EXPECT_EQ(pBar->GetTrackingMode(), 0) << "the command ran; the bar is left " << c.nReleaseMessage;
        m_frame.m_pCommandBars->ClosePopups();
    }
    EXPECT_EQ(m_frame.m_pFrame->m_commands, std::vector<UINT>(4, 1002));
    // Alt alone still enters the menu bar when it goes up.
    Press(WM_SYSKEYDOWN, VK_MENU, kAltDown | 1);
    Press(WM_SYSKEYUP, VK_MENU, kKeyUp);
    EXPECT_NE(pBar->GetTrackingMode(), 0);
    EXPECT_EQ(pBar->m_nSelected, 0);
    m_frame.m_pCommandBars->ClosePopups();
}

TEST_F(FrameKeys, NumericPadDigitsNeedTheOption) {
    SetCaptions({"&alpha"});   // VK_NUMPAD1 shares its code with 'a'
    EXPECT_FALSE(AltKey(VK_NUMPAD1));
    EXPECT_TRUE(m_frame.m_pFrame->m_commands.empty());
    m_frame.m_pCommandBars->GetOptions()->bUseAltNumPadKeys = TRUE;
    // With the option the key goes on to the search, which needs a character for it; the
    // keyboard layout decides whether the numeric pad gives one.
    const BOOL bCharacter = ::MapVirtualKeyA(VK_NUMPAD1, 2) != 0;
    EXPECT_EQ(AltKey(VK_NUMPAD1), bCharacter);
    EXPECT_EQ(m_frame.m_pFrame->m_commands.size(), bCharacter ? 1u : 0u);
    m_frame.m_pCommandBars->ClosePopups();
    // Cues switched off by the option: no mnemonic at all.
    m_frame.m_pCommandBars->GetOptions()->keyboardCuesUse = 2;
    EXPECT_FALSE(AltKey('A'));
}

TEST_F(FrameRouting, F1AsksHelpForTheSelectedControl) {
    SetCaptions({"&Alpha", "&Beta"});
    CKLVCommandBar* pBar = m_frame.m_pMenuBar;
    pBar->GetControl(1)->m_nHelpId = 77;
    const struct {
        int nSelected;
        BOOL bHandled;
        LPARAM lHelp;
    } cases[] = {{1, TRUE, 0x10000 + 77}, {0, TRUE, 0x10000 + 1001}, {-1, FALSE, 0}};
    for (const auto& c : cases) {
        m_frame.m_pFrame->m_helpRequests.clear();
        pBar->SetSelected(c.nSelected);
        LRESULT lResult = 0;
        EXPECT_EQ(m_frame.m_pCommandBars->OnFrameWndMsg(WM_COMMAND, CKLVCommandBars::idHelpCommand, 0, &lResult), c.bHandled) << c.nSelected;
        EXPECT_EQ(m_frame.m_pFrame->m_helpRequests,
                  c.bHandled ? std::vector<LPARAM>{c.lHelp} : std::vector<LPARAM>{}) << c.nSelected;
    }
}

TEST_F(FrameRouting, TheContextMenuKeyDuringAPopupOpensNoSecondMenu) {
    CPopupCommandBars commandBars(m_frame.m_pFrame);
    auto* pPopup = commandBars.MakePopup({101});
    ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
    const size_t nTracked = KLVMouseHook()->GetTrackedPopups().size();
    MSG msg = {m_frame.m_hFrame, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_frame.m_hFrame), -1, 0, {0, 0}};
    EXPECT_TRUE(m_frame.m_pFrame->PreTranslateMessage(&msg));
    EXPECT_EQ(KLVMouseHook()->GetTrackedPopups().size(), nTracked);
    pPopup->SetTrackingMode(FALSE);
    pPopup->InternalRelease();
    // With no popup open the key is the frame's.
    EXPECT_FALSE(m_frame.m_pFrame->PreTranslateMessage(&msg));
}

TEST_F(FrameRouting, TheFrameDoesNotCloseWhileACustomizeWindowIsOpen) {
    CDeferred customize;
    m_frame.m_pCommandBars->GetCustomizeDrop()->m_pCustomizeWnd = &customize;
    m_frame.m_pFrame->SendMessage(WM_CLOSE);
    ASSERT_TRUE(::IsWindow(m_frame.m_hFrame));
    customize.DestroyWindow();
    m_frame.m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(m_frame.m_hFrame));
}

TEST_F(FrameRouting, TrackPopupMenuResults) {
    CDeferred deferred;
    struct Case {
        const char* pszName;
        UINT nFlags;
        BOOL bExecute;
        UINT nResult;
    };
    const Case cases[] = {
        {"cancelled, with TPM_RETURNCMD", TPM_RETURNCMD, FALSE, 0},
        {"command, with TPM_RETURNCMD", TPM_RETURNCMD, TRUE, 102},
        {"command, without", 0, TRUE, 1},
        {"cancelled, without", 0, FALSE, 1},
    };
    for (const Case& c : cases) {
        m_frame.m_pFrame->m_commands.clear();
        auto* pPopup = CKLVPopupBar::CreatePopupBar(m_frame.m_pCommandBars);
        for (int nId : {101, 102}) pPopup->GetControls()->Add(CKLVControl::typeButton, nId)->SetCaption("item");
        deferred.Post([&] {
            if (c.bExecute)
                pPopup->GetControl(1)->OnExecute();
            else
                m_frame.m_pCommandBars->ClosePopups();
        });
        EXPECT_EQ(CKLVCommandBars::TrackPopupMenu(pPopup, c.nFlags, 50, 60), c.nResult) << c.pszName;
        EXPECT_FALSE(::IsWindow(pPopup->GetSafeHwnd())) << c.pszName;
        // A command tracked for its id does not reach the frame.
        const BOOL bSent = c.bExecute && !(c.nFlags & TPM_RETURNCMD);
        EXPECT_EQ(m_frame.m_pFrame->m_commands.size(), bSent ? 1u : 0u) << c.pszName;
        pPopup->InternalRelease();
    }
    EXPECT_EQ(CKLVCommandBars::TrackPopupMenu(nullptr, 0, 0, 0), 0u);
}

TEST_F(FrameRouting, TheTrackingLoopEndsOnQuitAndPostsItAgain) {
    auto* pPopup = CKLVPopupBar::CreatePopupBar(m_frame.m_pCommandBars);
    pPopup->GetControls()->Add(CKLVControl::typeButton, 101)->SetCaption("item");
    ::PostQuitMessage(3);
    EXPECT_EQ(CKLVCommandBars::TrackPopupMenu(pPopup, TPM_RETURNCMD, 50, 60), 0u);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(::IsWindow(pPopup->GetSafeHwnd()));   // the menu closed with the loop
    EXPECT_TRUE(KLVMouseHook()->GetTrackedPopups().empty());
    EXPECT_EQ(pPopup->GetRefCount(), 1);
    pPopup->InternalRelease();
}

TEST_F(FrameRouting, TheContextMenuOverTheBarsAsksTheSiteAndItsPumpEndsOnQuit) {
    CKLVCommandBars* pCommandBars = m_frame.m_pCommandBars;
    ::PostQuitMessage(5);
    pCommandBars->ContextMenu(m_frame.m_pMenuBar, CPoint(40, 50));
    EXPECT_EQ(m_frame.m_pFrame->m_nContextMenus, 1);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_TRUE(KLVMouseHook()->GetTrackedPopups().empty());
    // A site that empties the menu gets none shown (nothing to pump: no quit needed).
    m_frame.m_pFrame->m_bEmptyContextMenu = TRUE;
    pCommandBars->ContextMenu(nullptr, CPoint(40, 50));
    EXPECT_EQ(m_frame.m_pFrame->m_nContextMenus, 2);
    // Customize mode offers none.
    pCommandBars->SetCustomizeMode(TRUE);
    pCommandBars->ContextMenu(nullptr, CPoint(40, 50));
    pCommandBars->SetCustomizeMode(FALSE);
    EXPECT_EQ(m_frame.m_pFrame->m_nContextMenus, 2);
}

TEST_F(FrameRouting, TrackPopupMenuExRoutesARealMenusCommandToTheFrame) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(MAKEINTRESOURCEA(129)));
    CMenu* pFile = CMenu::FromHandle(::GetSubMenu(menu.GetSafeHmenu(), 0));
    CDeferred deferred;
    deferred.Post([&] {
        const auto& tracked = KLVMouseHook()->GetTrackedPopups();
        ASSERT_FALSE(tracked.empty());
        auto* pPopup = dynamic_cast<CKLVPopupBar*>(tracked.back());
        ASSERT_NE(pPopup, nullptr);
        EXPECT_TRUE(pPopup->m_bRightButtonAsLeft);
        pPopup->GetControls()->FindControl(57603)->OnExecute();
    });
    EXPECT_EQ(m_frame.m_pCommandBars->TrackPopupMenuEx(pFile, TPM_RIGHTBUTTON, 80, 90), 1u);
    EXPECT_EQ(m_frame.m_pFrame->m_commands, std::vector<UINT>{57603});
    EXPECT_EQ(m_frame.m_pCommandBars->TrackPopupMenuEx(nullptr, 0, 0, 0), 0u);   // no menu
}

}  // namespace
