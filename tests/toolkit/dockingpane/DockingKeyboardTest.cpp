// Keyboard navigation: the hook's registration by site, its keys called directly with the Alt
// bit and the thread's key state set (no key is pressed), and the pane system menu's Move.
#include "DockingInstalledHost.h"

#include "classlib/Menu.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/dockingpane/DockingPaneKeyboardHook.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

namespace {

const LPARAM kAltBit = 1 << 29;
const LPARAM kReleased = static_cast<LPARAM>(0x80000000);

void SetKeys(std::initializer_list<int> down) { SetHeldKeys(down); }

// The WM_SYSCOMMAND waiting for the window, taken off the queue; 0 for none.
std::pair<WPARAM, LPARAM> TakeSysCommand(HWND hWnd) {
    MSG msg;
    if (!::PeekMessageA(&msg, hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) return {0, 0};
    return {msg.wParam, msg.lParam};
}

class KeyboardHookTest : public OutputPaneTest {
protected:
    ~KeyboardHookTest() override { SetKeys({}); }
    CKLVDockingPaneKeyboardHook* hook = CKLVDockingPaneKeyboardHook::GetInstance();
};

}  // namespace

TEST_F(KeyboardHookTest, ManagersComeAndGoWithTheHook) {
    ASSERT_FALSE(hook->IsInstalled());
    manager->EnableKeyboardNavigate(15);
    EXPECT_TRUE(hook->IsInstalled());
    EXPECT_EQ(hook->GetManagerCount(), 1);
    manager->EnableKeyboardNavigate(15);   // once per site
    EXPECT_EQ(hook->GetManagerCount(), 1);

    // A second manager that goes without its window's WM_DESTROY still leaves the hook.
    {
        auto second = std::make_unique<CKLVDockingPaneManager>();
        ASSERT_TRUE(second->InstallDockingPanes(owner));
        second->EnableKeyboardNavigate(2);
        EXPECT_EQ(hook->GetManagerCount(), 2);
    }
    EXPECT_EQ(hook->GetManagerCount(), 1);
    EXPECT_TRUE(hook->IsInstalled());

    // WM_DESTROY clears the flags; the last manager takes the hook with it.
    manager->DestroyWindow();
    EXPECT_EQ(manager->m_nKeyboardNavigateMask, 0);
    EXPECT_EQ(hook->GetManagerCount(), 0);
    EXPECT_FALSE(hook->IsInstalled());
}

TEST_F(KeyboardHookTest, AltF6CyclesAndAltMinusOpensThePaneMenuWhenTheFlagsAskForIt) {
    site->SetFocus();
    if (::GetFocus() != site->m_hWnd) GTEST_SKIP() << "the hidden frame cannot take the focus here";
    manager->SetActivePane(TRUE, pOutput);
    struct Case {
        const char* pszCase;
        int nMask;
        std::initializer_list<int> keys;
        UINT nKey;
        LPARAM lKeyData;
        BOOL bEaten;
        HWND hTarget;
        WPARAM nCommand;
        LPARAM lParam;
    };
    const HWND hSite = site->m_hWnd, hManager = manager->m_hWnd;
    const Case cases[] = {
        {"Alt+F6", 15, {}, VK_F6, kAltBit, TRUE, hSite, SC_NEXTWINDOW, 0},
        {"Shift+Alt+F6", 15, {VK_SHIFT}, VK_F6, kAltBit, TRUE, hSite, SC_PREVWINDOW, 0},
        {"Alt+F6 without flag 2", 13, {}, VK_F6, kAltBit, FALSE, hSite, 0, 0},
        {"Ctrl+Alt+F6", 15, {VK_CONTROL}, VK_F6, kAltBit, FALSE, hSite, 0, 0},
        {"F6 without Alt", 15, {}, VK_F6, 0, FALSE, hSite, 0, 0},
        {"Alt+F6 released", 15, {}, VK_F6, kAltBit | kReleased, FALSE, hSite, 0, 0},
        {"Alt+minus", 15, {}, VK_OEM_MINUS, kAltBit, TRUE, hManager, SC_KEYMENU, '-'},
        {"Alt+numeric minus", 1, {}, VK_SUBTRACT, kAltBit, TRUE, hManager, SC_KEYMENU, '-'},
        {"Alt+minus without flag 1", 14, {}, VK_OEM_MINUS, kAltBit, FALSE, hManager, 0, 0},
        {"Shift+Alt+minus", 15, {VK_SHIFT}, VK_OEM_MINUS, kAltBit, FALSE, hManager, 0, 0},
    };
    for (const Case& c : cases) {
        manager->EnableKeyboardNavigate(c.nMask);
        SetKeys(c.keys);
        const LRESULT lResult = CKLVDockingPaneKeyboardHook::KeyboardProc(HC_ACTION, c.nKey, c.lKeyData | 1);
        EXPECT_EQ(lResult != 0, c.bEaten) << c.pszCase;
        EXPECT_EQ(TakeSysCommand(c.hTarget), std::make_pair(c.nCommand, c.lParam)) << c.pszCase;
    }
    // A hidden active pane: the key is eaten and nothing opens.
    manager->EnableKeyboardNavigate(15);
    SetKeys({});
    pOutput->Hide();
    EXPECT_NE(CKLVDockingPaneKeyboardHook::KeyboardProc(HC_ACTION, VK_OEM_MINUS, kAltBit | 1), 0);
    EXPECT_EQ(TakeSysCommand(hManager).first, 0u);
    // A disabled site answers for no key.
    site->EnableWindow(FALSE);
    EXPECT_EQ(hook->FindFocusedManager(), nullptr);
    site->EnableWindow(TRUE);
    manager->EnableKeyboardNavigate(0);
}

// ---------------------------------------------------------------------------------------------

namespace {

class CMenuRecordingManager : public CKLVDockingPaneManager {
public:
    std::vector<std::pair<CString, UINT>> m_items;   // text and id of every item shown
    CPoint m_pt;
    UINT m_nAnswer = 0;

protected:
    UINT TrackSystemMenu(CMenu* pMenu, CPoint pt) override {
        m_items.clear();
        for (int i = 0; i < ::GetMenuItemCount(pMenu->GetSafeHmenu()); i++) {
            char szText[64] = "";
            ::GetMenuStringA(pMenu->GetSafeHmenu(), i, szText, sizeof(szText), MF_BYPOSITION);
            m_items.emplace_back(szText, ::GetMenuItemID(pMenu->GetSafeHmenu(), i));
        }
        m_pt = pt;
        return m_nAnswer;
    }
};

class SystemMenuTest : public ::testing::Test {
protected:
    SystemMenuTest() {
        site->m_bAnswerLikeApp = TRUE;
        EXPECT_TRUE(manager->InstallDockingPanes(site));
        site->m_pManager = manager.get();
        pPane = manager->CreatePane(703, CRect(0, 0, 150, 120), klvDockBottom);
        site->RecalcLayout();
        manager->SetActivePane(TRUE, pPane);
        site->m_notes.clear();
    }
    ~SystemMenuTest() override {
        manager.reset();
        site->m_pManager = nullptr;
        site->DestroyWindow();
    }
    void KeyMenu() { manager->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, '-'); }

    CRecordingFrame* site = NewHiddenFrame();
    std::unique_ptr<CMenuRecordingManager> manager = std::make_unique<CMenuRecordingManager>();
    CKLVDockingPane* pPane = nullptr;
};

}  // namespace

TEST_F(SystemMenuTest, AltMinusShowsMoveAtTheCaptionAndMoveDragsWithTheKeyboard) {
    auto* pHolder = static_cast<CKLVDockingPaneTabbedContainer*>(pPane->GetContainer());
    const CRect rcHolder = pHolder->GetScreenRect();
    KeyMenu();
    ASSERT_EQ(manager->m_items.size(), 1u);
    EXPECT_EQ(manager->m_items[0].second, static_cast<UINT>(SC_MOVE));
    EXPECT_FALSE(manager->m_items[0].first.IsEmpty());
    // At the caption band's corner.
    CRect rcClient;
    pHolder->GetClientRect(&rcClient);
    CPoint ptCaption = manager->GetPaintManager()->GetCaptionBand(pHolder, rcClient).TopLeft();
    pHolder->ClientToScreen(&ptCaption);
    EXPECT_EQ(manager->m_pt, ptCaption);
    EXPECT_FALSE(manager->IsFloatingSite(pPane->GetDockingSite()));

    // Move: the keyboard drag takes the arrows and Enter posted before it.
    manager->m_nAnswer = SC_MOVE;
    site->PostMessage(WM_KEYDOWN, VK_LEFT, 0);
    site->PostMessage(WM_KEYDOWN, VK_UP, 0);
    site->PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    KeyMenu();
    classlib_test::PumpPending();
    ASSERT_TRUE(manager->IsFloatingSite(pPane->GetDockingSite()));
    auto* pFrame = static_cast<CKLVDockingPaneMiniWnd*>(pPane->GetDockingSite());
    CRect rcFrame;
    pFrame->GetWindowRect(&rcFrame);
    EXPECT_EQ(rcFrame, rcHolder + CSize(-10, -10));

    // Floating, the menu opens at the frame's client origin and Move takes the whole frame.
    CPoint ptOrigin(0, 0);
    pFrame->ClientToScreen(&ptOrigin);
    manager->m_nAnswer = SC_MOVE;
    site->PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    site->PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    KeyMenu();
    classlib_test::PumpPending();
    EXPECT_EQ(manager->m_pt, ptOrigin);
    EXPECT_EQ(pPane->GetDockingSite(), pFrame);
    CRect rcMoved;
    pFrame->GetWindowRect(&rcMoved);
    EXPECT_EQ(rcMoved, rcFrame + CSize(0, 10));
}

TEST_F(SystemMenuTest, NoMenuWithoutAnActivePaneOrForAHiddenOne) {
    manager->SetActivePane(FALSE, pPane);
    KeyMenu();
    EXPECT_TRUE(manager->m_items.empty());
    manager->SetActivePane(TRUE, pPane);
    pPane->Hide();
    KeyMenu();
    EXPECT_TRUE(manager->m_items.empty());
}
