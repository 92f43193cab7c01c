// Keys, tips and prompts: every key a menu item shows reaches the frame as that item's command
// from an editor tab's focus and from the output pane's, through the message loop's own
// pre-translation; every tool bar button has a tool tip and a status-bar prompt; the status bar
// shows its idle text and a command's prompt while the command is selected.
#include "AppTestHost.h"

#include "app/QuorlinView.h"
#include "support/TestFiles.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <map>
#include <set>

using namespace apptest;

namespace {

struct Key {
    UINT nVirtKey = 0;
    bool bCtrl = false, bShift = false, bAlt = false;
};

// "Ctrl+Shift+U", "F2", "Shift+F2", "Del" as the menus write them.
bool ParseKey(std::string text, Key& key) {
    const std::pair<const char*, bool Key::*> modifiers[] = {{"Ctrl+", &Key::bCtrl}, {"Shift+", &Key::bShift}, {"Alt+", &Key::bAlt}};
    for (bool bFound = true; bFound;) {
        bFound = false;
        for (const auto& [lpszPrefix, pMember] : modifiers)
            if (text.rfind(lpszPrefix, 0) == 0) {
                key.*pMember = true;
                text.erase(0, std::strlen(lpszPrefix));
                bFound = true;
            }
    }
    if (text.size() == 1) key.nVirtKey = static_cast<UINT>(text[0]);
    else if (text == "Del") key.nVirtKey = VK_DELETE;
    else if (text.size() >= 2 && text[0] == 'F') key.nVirtKey = VK_F1 + std::stoi(text.substr(1)) - 1;
    return key.nVirtKey != 0;
}

// Every menu item with a key after its tab, by command id, through the submenus.
void CollectMenuKeys(HMENU hMenu, std::map<UINT, std::string>& keys) {
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
            CollectMenuKeys(hSub, keys);
            continue;
        }
        char szText[128] = "";
        ::GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof(szText), MF_BYPOSITION);
        const char* pTab = std::strchr(szText, '\t');
        if (pTab) keys[::GetMenuItemID(hMenu, i)] = pTab + 1;
    }
}

// The key each menu shows beside its commands, as its popup lays them out, by command id,
// through the submenus.
void CollectShownKeys(CKLVCommandBar* pBar, std::map<UINT, std::string>& keys) {
    pBar->UpdateShortcuts();
    for (int i = 0; i < pBar->GetControlCount(); ++i) {
        CKLVControl* pControl = pBar->GetControl(i);
        if (CKLVCommandBar* pSub = pControl->GetCommandBar()) {
            CollectShownKeys(pSub, keys);
            continue;
        }
        const CString strKey = pControl->GetShortcutText();
        if (!strKey.IsEmpty()) keys[static_cast<UINT>(pControl->GetId())] = std::string(strKey);
    }
}

// The frame's window procedure replaced for a while: commands are recorded and go no further
// (New and Open would start their dialogs).
class CommandRecorder {
public:
    explicit CommandRecorder(CWnd& frame) : m_hWnd(frame.GetSafeHwnd()) {
        s_pActive = this;
        m_pfnOld = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CommandRecorder::Proc)));
    }
    ~CommandRecorder() {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOld));
        s_pActive = nullptr;
    }
    std::vector<UINT> commands;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && lParam == 0) {
            s_pActive->commands.push_back(LOWORD(wParam));
            return 0;
        }
        return ::CallWindowProcA(s_pActive->m_pfnOld, hWnd, message, wParam, lParam);
    }
    static CommandRecorder* s_pActive;
    HWND m_hWnd;
    WNDPROC m_pfnOld = nullptr;
};
CommandRecorder* CommandRecorder::s_pActive = nullptr;

class KeysAndTipsTest : public AppTest {
protected:
    KeysAndTipsTest() {
        testsupport::writeBytes(Folder() + "calc_api.c", "int a;\r\nint b;\r\n");
        EXPECT_TRUE(Frame().openDocument(Folder() + "calc_api.c"));
        m_pView = Frame().GetTabView(0);
    }
    void PressKey(const Key& key) { AppTest::PressKey(key.nVirtKey, key.bCtrl, key.bShift, key.bAlt); }
    CquorlinView* m_pView = nullptr;
};

TEST_F(KeysAndTipsTest, EveryKeyAMenuShowsRunsItsCommandFromAnEditorTabAndAPane) {
    ASSERT_NE(m_pView, nullptr);
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    std::map<UINT, std::string> keys;
    CollectMenuKeys(hMenu, keys);
    ::DestroyMenu(hMenu);
    // The keys of an editor of this kind are among them.
    for (UINT nID : {ID_EDIT_FIND, ID_EDIT_REPLACE, ID_GOTO_LINE, ID_EDIT_SELECT_ALL, ID_EDIT_REPEAT})
        EXPECT_EQ(keys.count(nID), 1u) << nID;
    ASSERT_GE(keys.size(), 18u);
    CWnd* focusWindows[] = {m_pView->GetEditCtrl(), &Frame().m_wndOutput};
    for (CWnd* pFocus : focusWindows) {
        for (const auto& [nID, text] : keys) {
            Key key;
            ASSERT_TRUE(ParseKey(text, key)) << text;
            // Delete is the editor's own key: the frame's table leaves it to the focused window.
            if (key.nVirtKey == VK_DELETE) continue;
            pFocus->SetFocus();
            ASSERT_EQ(::GetFocus(), pFocus->GetSafeHwnd());
            CommandRecorder recorder(Frame());
            PressKey(key);
            EXPECT_EQ(recorder.commands, std::vector<UINT>{nID}) << text << " from " << pFocus->GetRuntimeClass()->m_lpszClassName;
        }
    }
}

TEST_F(KeysAndTipsTest, MenusShowEachKeyAsTheMenuTextsAndTheToolBarTipsWriteIt) {
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    std::map<UINT, std::string> written;
    CollectMenuKeys(hMenu, written);
    ::DestroyMenu(hMenu);
    // Delete is the editor's own key: the frame's table has none that its menu item could show.
    written.erase(ID_EDIT_CLEAR);
    std::map<UINT, std::string> shown;
    CKLVCommandBar* pMenuBar = Frame().GetCommandBars()->GetMenuBar();
    ASSERT_NE(pMenuBar, nullptr);
    for (int i = 0; i < pMenuBar->GetControlCount(); ++i) {
        if (CKLVCommandBar* pPopup = pMenuBar->GetControl(i)->GetCommandBar()) CollectShownKeys(pPopup, shown);
    }
    EXPECT_EQ(shown, written);
    // "prompt\ntip (key)": a tip that names a key names it as the menu shows it.
    int nTips = 0;
    for (const auto& [nID, key] : shown) {
        CString strText;
        ASSERT_TRUE(strText.LoadString(nID)) << nID;
        const CString strTip = strText.Mid(strText.Find('\n') + 1);
        const int nOpen = strTip.Find(" (");
        if (nOpen < 0) continue;
        EXPECT_EQ(std::string(strTip.Mid(nOpen)), " (" + key + ")") << nID;
        ++nTips;
    }
    EXPECT_GE(nTips, 6);
}

TEST_F(KeysAndTipsTest, CtrlAFromTheEditorSelectsItsText) {
    ASSERT_NE(m_pView, nullptr);
    CKLVSyntaxEditCtrl* pCtrl = m_pView->GetEditCtrl();
    pCtrl->SetFocus();
    EXPECT_FALSE(pCtrl->IsSelectionExist());
    Key key;
    ASSERT_TRUE(ParseKey("Ctrl+A", key));
    PressKey(key);
    EXPECT_TRUE(pCtrl->IsSelectionExist());
}

TEST_F(KeysAndTipsTest, EveryToolBarButtonHasATipAndAPromptThatTheStatusBarShows) {
    CKLVCommandBars* pBars = Frame().GetCommandBars();
    CKLVCommandBar* pToolBar = nullptr;
    for (int i = 0; i < pBars->GetCount(); ++i)
        if (pBars->GetAt(i) != pBars->GetMenuBar()) pToolBar = pBars->GetAt(i);
    ASSERT_NE(pToolBar, nullptr);
    // Idle, the status bar says so.
    EXPECT_EQ(Frame().m_wndStatusBar.GetPaneText(0), "Ready");
    const std::set<int> buttons = {ID_FILE_NEW_PROJECT, ID_FILE_OPEN_PROJECT, ID_FILE_SAVE_PROJECT, ID_FILE_SAVE_PROJECT_2,
                                   ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_UNDO, ID_EDIT_REDO,
                                   ID_TOGGLE_BOOKMARK, ID_NEXT_BOOKMARK, ID_PREV_BOOKMARK, ID_GENERATE_CODE,
                                   ID_COMPILE, ID_HELP_TOPICS};
    int nButtons = 0;
    for (int i = 0; i < pToolBar->GetControls()->GetCount(); ++i) {
        CKLVControl* pControl = pToolBar->GetControls()->GetAt(i);
        // The bar's own options button aside.
        if (!buttons.count(pControl->GetId())) continue;
        const CString strTip = pControl->GetTooltip();
        const CString strPrompt = pControl->GetDescription();
        EXPECT_FALSE(strTip.IsEmpty()) << pControl->GetId();
        EXPECT_GT(strPrompt.GetLength(), strTip.GetLength()) << pControl->GetId();
        // The tip names the button, the prompt says what it does: two texts.
        EXPECT_NE(strTip, strPrompt) << pControl->GetId();
        // Hovered, the prompt shows; left, the idle text again.
        pToolBar->SetSelected(i);
        EXPECT_EQ(Frame().m_wndStatusBar.GetPaneText(0), strPrompt) << pControl->GetId();
        pToolBar->SetSelected(-1);
        EXPECT_EQ(Frame().m_wndStatusBar.GetPaneText(0), "Ready");
        ++nButtons;
    }
    EXPECT_EQ(nButtons, 15);
}

TEST_F(KeysAndTipsTest, EveryMenuCommandHasAPrompt) {
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    std::vector<UINT> ids;
    std::function<void(HMENU)> collect = [&](HMENU hSub) {
        for (int i = 0; i < ::GetMenuItemCount(hSub); ++i) {
            if (HMENU hNext = ::GetSubMenu(hSub, i)) collect(hNext);
            else if (::GetMenuItemID(hSub, i) != 0) ids.push_back(::GetMenuItemID(hSub, i));
        }
    };
    collect(hMenu);
    ::DestroyMenu(hMenu);
    for (UINT nID : ids) {
        CString strText;
        EXPECT_TRUE(strText.LoadString(nID)) << nID;
        // "prompt\ntip": both parts there.
        const int nBreak = strText.Find('\n');
        EXPECT_GT(nBreak, 0) << nID;
        EXPECT_LT(nBreak, strText.GetLength() - 1) << nID;
    }
}

}  // namespace
