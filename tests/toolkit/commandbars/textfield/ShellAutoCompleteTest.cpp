// The shell's completion of a bar's field: binding through the shell where it offers completion,
// and the watcher that finds the suggestion list (a window of its own class, or a list box alone
// on the desktop) while the field has the focus.
#include "MenuFrameTestSupport.h"
#include "toolkit/commandbars/controls/ControlComboBox.h"
#include "toolkit/commandbars/controls/ControlEdit.h"
#include "toolkit/commandbars/textfield/ShellAutoComplete.h"
#include "toolkit/common/KeyboardHook.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

using namespace commandbars_test;

namespace {

// A stand-in for the shell's suggestion list: a hidden top-level window of the list's class.
class CSuggestionList {
public:
    explicit CSuggestionList(const char* pszClass) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "Auto-Suggest Dropdown";
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW, pszClass, "", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    }
    ~CSuggestionList() { ::DestroyWindow(m_hWnd); }
    CSuggestionList(const CSuggestionList&) = delete;
    CSuggestionList& operator=(const CSuggestionList&) = delete;
    HWND m_hWnd;
};

BOOL TakePosted(HWND hWnd, UINT nMessage) {
    MSG msg;
    return ::PeekMessageA(&msg, hWnd, nMessage, nMessage, PM_REMOVE);
}

class ShellAutoComplete : public ::testing::Test {
protected:
    ShellAutoComplete() {
        m_pEdit = m_frame.AddOnNewBar("Address", new CKLVControlEdit, 500);
        m_pBar = m_frame.m_pLastBar;
        m_pEdit->SetRect(CRect(0, 0, 120, 22));
    }
    HWND Field() const { return m_pEdit->GetEditCtrl()->GetSafeHwnd(); }

    CMenuFrameFixture m_frame;
    CKLVCommandBar* m_pBar = nullptr;
    CKLVControlEdit* m_pEdit = nullptr;
};

TEST_F(ShellAutoComplete, AFieldIsBoundWhereTheShellCompletesAndNotWithoutFlags) {
    EXPECT_EQ(CKLVShellAutoComplete::Bind(Field(), 0), nullptr);
    EXPECT_EQ(CKLVShellAutoComplete::Bind(nullptr, SHACF_FILESYSTEM), nullptr);
    m_pEdit->SetShellAutoCompleteFlags(SHACF_FILESYSTEM);
    auto* pOther = new CKLVControlEdit;
    m_pBar->GetControls()->Add(pOther, 501);
    pOther->SetRect(CRect(0, 30, 120, 52));
    const HWND hOther = pOther->GetEditCtrl()->GetSafeHwnd();
    EXPECT_EQ(m_pEdit->GetAutoComplete() != nullptr, SUCCEEDED(CKLVShellAutoComplete::CallShell(hOther, SHACF_FILESYSTEM)));
    // Turned off, the binding goes.
    m_pEdit->SetShellAutoCompleteFlags(0);
    EXPECT_EQ(m_pEdit->GetAutoComplete(), nullptr);
}

TEST_F(ShellAutoComplete, TheWatcherTakesTheSuggestionListOnlyWhileEnabled) {
    CKLVShellAutoComplete binding(Field(), SHACF_FILESYSTEM);
    CSuggestionList list("Auto-Suggest Dropdown");
    ::ShowWindow(list.m_hWnd, SW_SHOWNA);
    EXPECT_EQ(binding.GetDropDown(), nullptr) << "not enabled";
    ::ShowWindow(list.m_hWnd, SW_HIDE);

    binding.Enable(TRUE);
    ::ShowWindow(list.m_hWnd, SW_SHOWNA);
    EXPECT_EQ(binding.GetDropDown(), list.m_hWnd);
    EXPECT_TRUE(TakePosted(Field(), CKLVControlEditCtrl::msgAutoSuggestShown));
    // The wheel is the shown list's: no older keyboard client is asked, the message goes on.
    EXPECT_FALSE(KLVKeyboardHook()->ProcessKeyboardHooks(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0));
    ::ShowWindow(list.m_hWnd, SW_HIDE);
    EXPECT_EQ(binding.GetDropDown(), nullptr);

    binding.Enable(FALSE);
    ::ShowWindow(list.m_hWnd, SW_SHOWNA);
    EXPECT_EQ(binding.GetDropDown(), nullptr);
}

TEST(ShellAutoCompleteList, ASuggestionListIsFoundByItsClassOrAsALoneListBox) {
    CSuggestionList byClass("Auto-Suggest Dropdown");
    CSuggestionList loneList("ListBox");
    CSuggestionList other("Static");
    EXPECT_TRUE(CKLVShellAutoComplete::IsSuggestionList(byClass.m_hWnd));
    EXPECT_TRUE(CKLVShellAutoComplete::IsSuggestionList(loneList.m_hWnd));
    EXPECT_FALSE(CKLVShellAutoComplete::IsSuggestionList(other.m_hWnd));
    const HWND hChildList = ::CreateWindowExA(0, "ListBox", "", WS_CHILD, 0, 0, 10, 10, other.m_hWnd, nullptr,
                                              ::GetModuleHandleA(nullptr), nullptr);
    EXPECT_FALSE(CKLVShellAutoComplete::IsSuggestionList(hChildList)) << "a list inside a window is not one";
}

TEST_F(ShellAutoComplete, TheSuggestionListComingUpClosesAComboBoxsList) {
    auto* pCombo = new CKLVControlComboBox;
    m_pBar->GetControls()->Add(pCombo, 600);
    pCombo->SetDropDownListStyle(TRUE);
    pCombo->SetRect(CRect(130, 0, 250, 22));
    pCombo->AddString("one");
    pCombo->OnClick(FALSE, pCombo->GetRect().CenterPoint());
    ASSERT_TRUE(pCombo->GetPopuped());
    pCombo->GetEditCtrl()->SendMessage(CKLVControlEditCtrl::msgAutoSuggestShown);
    EXPECT_FALSE(pCombo->GetPopuped());
}

}  // namespace
