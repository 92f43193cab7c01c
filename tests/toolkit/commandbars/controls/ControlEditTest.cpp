// The edit control on a tool bar of a hidden frame: the hint and its colour, Escape, the keys the
// bar hands to the field, the spin steps (an injected clock, posted timer ticks), the hiding on
// vertical bars and the mouse-hook count given back.
#include "MenuFrameTestSupport.h"
#include "classlib/CommandIds.h"
#include "support/DeferredAction.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/controls/ControlEdit.h"
#include "toolkit/commandbars/tooltips/ToolTipContext.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/MouseHook.h"

#include <gtest/gtest.h>

#include <climits>
#include <deque>

using namespace commandbars_test;

namespace {

// Reads its spin clock from a script and records the steps it makes.
class CScriptedEdit : public CKLVControlEdit {
public:
    DWORD GetSpinClock() const override {
        if (m_clock.empty()) return m_dwLast;
        m_dwLast = m_clock.front();
        m_clock.pop_front();
        return m_dwLast;
    }
    void OnSpin(int nStep, int nDirection) override {
        m_steps.push_back(nStep * nDirection);
        CKLVControlEdit::OnSpin(nStep, nDirection);
    }
    mutable std::deque<DWORD> m_clock;
    mutable DWORD m_dwLast = 0;
    std::vector<int> m_steps;
};

class ControlEdit : public ::testing::Test {
protected:
    ControlEdit() {
        m_pEdit = m_frame.AddOnNewBar("Find", new CScriptedEdit, 500);
        m_pBar = m_frame.m_pLastBar;
        m_pEdit->m_bShowSpinButtons = TRUE;
        m_pEdit->SetEditHint("Search");
        m_pEdit->SetRect(CRect(0, 0, 120, 22));
    }
    HWND Field() const { return m_pEdit->GetEditCtrl()->GetSafeHwnd(); }
    CString FieldText() const {
        CString str;
        m_pEdit->GetEditCtrl()->GetWindowText(str);
        return str;
    }
    COLORREF FieldTextColor() const {
        CHARFORMAT2A cf = {};
        cf.cbSize = sizeof cf;
        ::SendMessageA(Field(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        return cf.crTextColor;
    }
    void Type(char ch) const { ::SendMessageA(Field(), WM_CHAR, static_cast<WPARAM>(ch), 1); }

    CMenuFrameFixture m_frame;
    CKLVCommandBar* m_pBar = nullptr;
    CScriptedEdit* m_pEdit = nullptr;
};

TEST_F(ControlEdit, AnEmptyFieldShowsItsHintGreyUntilTyping) {
    ASSERT_NE(Field(), nullptr);
    EXPECT_EQ(::GetParent(Field()), m_pBar->GetSafeHwnd());
    EXPECT_STREQ(FieldText(), "Search");
    EXPECT_STREQ(m_pEdit->GetEditText(), "");
    EXPECT_EQ(FieldTextColor(), GetColorManager()->GetColor(COLOR_GRAYTEXT));
    m_pEdit->SetFocused(TRUE);
    ASSERT_EQ(::GetFocus(), Field());
    EXPECT_STREQ(FieldText(), "");
    Type('a');
    EXPECT_STREQ(m_pEdit->GetEditText(), "a");
    EXPECT_EQ(FieldTextColor(), GetColorManager()->GetColor(COLOR_WINDOWTEXT));
    m_pEdit->SetEditText("");
    m_pEdit->SetFocused(FALSE);
    ::SetFocus(m_frame.m_hFrame);
    EXPECT_STREQ(FieldText(), "Search");
    EXPECT_STREQ(m_pEdit->GetEditText(), "");
}

TEST_F(ControlEdit, TypedTextIsReadAlsoWithoutAHint) {
    m_pEdit->SetEditHint("");
    m_pEdit->SetEditText("12");
    m_pEdit->SetFocused(TRUE);
    Type('3');   // at the caret, which focusing put first
    EXPECT_STREQ(m_pEdit->GetEditText(), "312");
    // The spin reads the typed number too: 312 + 5 up to a multiple of 5.
    m_pEdit->OnSpin(5, +1);
    EXPECT_STREQ(m_pEdit->GetEditText(), "320");
}

TEST_F(ControlEdit, TheFramesClipboardCommandsGoToTheFocusedField) {
    m_pEdit->SetEditText("abc");
    LRESULT lResult = 0;
    ::SetFocus(m_frame.m_hFrame);
    EXPECT_FALSE(m_frame.m_pCommandBars->OnFrameWndMsg(WM_COMMAND, ID_EDIT_CUT, 0, &lResult)) << "no field has the focus";
    ::SetFocus(Field());
    ::SendMessageA(Field(), EM_SETSEL, 0, -1);
    EXPECT_TRUE(m_frame.m_pCommandBars->OnFrameWndMsg(WM_COMMAND, ID_EDIT_CUT, 0, &lResult));
    EXPECT_EQ(lResult, 1);
    EXPECT_STREQ(m_pEdit->GetEditText(), "");
}

TEST_F(ControlEdit, TheRightButtonFocusesTheFieldAndOffersItsEditCommands) {
    const struct {
        const char* pszName;
        int nStart, nEnd;   // the selection made while the menu is open
        UINT nChosen;       // 0: the menu is closed
        const char* pszAfter;
    } cases[] = {{"cut", 1, 3, ID_EDIT_CUT, "a"}, {"copy", 0, 2, ID_EDIT_COPY, "abc"}, {"closed", 0, 3, 0, "abc"}};
    for (const auto& c : cases) {
        m_pEdit->SetEditText("abc");
        ::SetFocus(m_frame.m_hFrame);
        m_frame.m_pFrame->m_commands.clear();
        m_frame.m_pFrame->m_notifications.clear();
        std::vector<UINT> ids;
        std::vector<BOOL> enabledBefore, enabledAfter;
        testsupport::CDeferred deferred;
        deferred.Post([&] {
            const auto& tracked = KLVMouseHook()->GetTrackedPopups();
            ASSERT_FALSE(tracked.empty());
            auto* pPopup = dynamic_cast<CKLVPopupBar*>(tracked.back());
            ASSERT_NE(pPopup, nullptr);
            ::SendMessageA(Field(), EM_SETSEL, static_cast<WPARAM>(c.nStart), c.nEnd);
            for (int i = 0; i < pPopup->GetControlCount(); ++i) enabledBefore.push_back(pPopup->GetControl(i)->GetEnabled());
            // The next idle update asks the field.
            pPopup->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
            for (int i = 0; i < pPopup->GetControlCount(); ++i) {
                ids.push_back(pPopup->GetControl(i)->GetId());
                enabledAfter.push_back(pPopup->GetControl(i)->GetEnabled());
            }
            if (c.nChosen)
                pPopup->GetControls()->FindControl(static_cast<int>(c.nChosen))->OnExecute();
            else
                m_frame.m_pCommandBars->ClosePopups();
        });
        ::SendMessageA(Field(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 5));
        // The field took the focus before its menu came.
        ASSERT_FALSE(m_frame.m_pFrame->m_notifications.empty()) << c.pszName;
        EXPECT_EQ(m_frame.m_pFrame->m_notifications[0], UINT(EN_SETFOCUS)) << c.pszName;
        EXPECT_EQ(ids, (std::vector<UINT>{ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})) << c.pszName;
        // Focusing put the caret first: nothing to cut or copy until the selection came.
        ASSERT_EQ(enabledBefore.size(), 3u) << c.pszName;
        EXPECT_FALSE(enabledBefore[0]) << c.pszName;
        EXPECT_FALSE(enabledBefore[1]) << c.pszName;
        EXPECT_TRUE(enabledAfter[0]) << c.pszName;
        EXPECT_TRUE(enabledAfter[1]) << c.pszName;
        EXPECT_STREQ(m_pEdit->GetEditText(), c.pszAfter) << c.pszName;
        // The field ran the command itself; the frame heard nothing.
        EXPECT_TRUE(m_frame.m_pFrame->m_commands.empty()) << c.pszName;
        EXPECT_TRUE(KLVMouseHook()->GetTrackedPopups().empty()) << c.pszName;
    }
}

// Records what the bar's tips are shown.
class CRecordingTips : public CKLVToolTipContext {
public:
    struct Seen {
        HWND hOwner;
        UINT message;
        CPoint pt;
    };
    void FilterToolTipMessage(CWnd* pOwner, UINT message, WPARAM, LPARAM lParam) override {
        if (message == WM_KEYDOWN || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST))
            m_seen.push_back({pOwner->GetSafeHwnd(), message, CPoint(lParam)});
    }
    void FillInToolInfoEx(TOOLINFO*, HWND, const CRect&, INT_PTR, const CString&, const CString&, const CString&,
                          CKLVImageManager*) override {}
    std::vector<Seen> m_seen;
};

TEST_F(ControlEdit, TheFieldsMessagesReachTheBarsTipsWhereTheyLieOnTheBar) {
    auto* pTips = new CRecordingTips;
    m_pBar->SetToolTipContext(pTips);
    CRect rcField;
    ::GetWindowRect(Field(), &rcField);
    m_pBar->ScreenToClient(&rcField);
    ::SendMessageA(Field(), WM_KEYDOWN, VK_END, 0);
    ::SendMessageA(Field(), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    ::SendMessageA(Field(), WM_MOUSEMOVE, 0, MAKELPARAM(7, 8));
    ASSERT_EQ(pTips->m_seen.size(), 3u) << "each once";
    const HWND hBar = m_pBar->GetSafeHwnd();
    EXPECT_EQ(pTips->m_seen[0].hOwner, hBar);
    EXPECT_EQ(pTips->m_seen[0].message, UINT(WM_KEYDOWN));
    EXPECT_EQ(pTips->m_seen[1].message, UINT(WM_LBUTTONUP));
    EXPECT_EQ(pTips->m_seen[1].pt, rcField.TopLeft() + CPoint(5, 6));
    EXPECT_EQ(pTips->m_seen[2].message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(pTips->m_seen[2].pt, rcField.TopLeft() + CPoint(7, 8));
    m_pBar->SetToolTipContext(nullptr);
    pTips->InternalRelease();
}

TEST_F(ControlEdit, EscapeRestoresTheTextAndGivesTheFocusBack) {
    m_pEdit->SetEditText("before");
    ::SetFocus(m_frame.m_hFrame);
    ::SetFocus(Field());
    ASSERT_TRUE(m_pEdit->IsFocused());
    const int nLock = KLVMouseHook()->m_nLock;
    Type('x');
    EXPECT_STRNE(m_pEdit->GetEditText(), "before");
    EXPECT_EQ(m_pEdit->OnHookKeyDown(VK_ESCAPE, 0), 0);
    EXPECT_STREQ(m_pEdit->GetEditText(), "before");
    EXPECT_FALSE(m_pEdit->IsFocused());
    // Back to the frame, which hands it on to its client.
    const HWND hFocus = ::GetFocus();
    EXPECT_NE(hFocus, Field());
    EXPECT_TRUE(hFocus == m_frame.m_hFrame || (::IsChild(m_frame.m_hFrame, hFocus) && ::GetParent(hFocus) != m_pBar->GetSafeHwnd()));
    EXPECT_EQ(KLVMouseHook()->m_nLock, nLock - 1);
}

TEST_F(ControlEdit, TheKeyHookDeliversEditingKeysAndLeavesTheRest) {
    struct Case {
        UINT nKey;
        BOOL bCtrl;
        int nAnswer;
    };
    const Case cases[] = {{'C', TRUE, 1}, {'V', TRUE, 1}, {'X', TRUE, 1}, {'Z', TRUE, 1}, {VK_BACK, FALSE, 1},
                          {VK_DELETE, FALSE, 1}, {'A', FALSE, 2}, {'C', FALSE, 2}, {'7', FALSE, 2}, {VK_TAB, FALSE, 0},
                          {VK_RETURN, FALSE, 0}};
    EXPECT_EQ(m_pEdit->OnHookKeyDown(VK_BACK, 0), 0) << "not focused";
    m_pEdit->SetFocused(TRUE);
    for (const Case& c : cases) {
        if (c.bCtrl) {
            CHeldKey ctrl(VK_CONTROL);
            EXPECT_EQ(m_pEdit->OnHookKeyDown(c.nKey, 0), c.nAnswer) << c.nKey;
        } else {
            EXPECT_EQ(m_pEdit->OnHookKeyDown(c.nKey, 0), c.nAnswer) << c.nKey;
        }
    }
}

TEST_F(ControlEdit, ASpinStepLandsOnAMultipleAndNeverOverflows) {
    struct Case {
        const char* pszText;
        int nStep, nDirection, nValue;
    };
    const Case cases[] = {
        {"23", 5, +1, 30},       {"23", 5, -1, 15},         {"20", 5, +1, 25},
        {"23", 1, +1, 24},       {"", 1, +1, 1},            {"abc", 20, -1, -20},
        {"2147483647", 1, +1, INT_MAX}, {"99999999999999999999", 20, +1, 2147483640},
        {"-99999999999", 5, -1, -2147483645},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CKLVControlEdit::SteppedValue(c.pszText, c.nStep, c.nDirection), c.nValue) << c.pszText;
    m_pEdit->SetEditText("23");
    m_pEdit->OnSpin(5, +1);
    EXPECT_STREQ(m_pEdit->GetEditText(), "30");
}

TEST_F(ControlEdit, AHeldSpinButtonSpeedsUpWithTheTimeHeld) {
    struct Case {
        DWORD dwElapsed;
        int nStep;
    };
    for (const Case& c : {Case{0, 1}, Case{2047, 1}, Case{2048, 5}, Case{5119, 5}, Case{5120, 20}, Case{60000, 20}})
        EXPECT_EQ(CKLVControlEdit::SpinStepFor(c.dwElapsed), c.nStep) << c.dwElapsed;

    // Posted ticks come before any real timer message, so the script decides every step.
    m_pEdit->SetEditText("0");
    m_pEdit->m_clock = {1000, 1000, 3048, 6120};
    const HWND hBar = m_pBar->GetSafeHwnd();
    for (int i = 0; i < 3; ++i) ::PostMessageA(hBar, WM_TIMER, CKLVControlEdit::timerSpin, 0);
    ::PostMessageA(hBar, WM_LBUTTONUP, 0, 0);
    const CRect rcSpin = m_pEdit->GetSpinButtonsRect();
    m_pEdit->OnClick(FALSE, CPoint(rcSpin.left + 2, rcSpin.top + 2));
    EXPECT_EQ(m_pEdit->m_steps, (std::vector<int>{1, 1, 5, 20}));
    // 0 +1 +1, then 2 + 5 up to 10, then 10 + 20 up to 40.
    EXPECT_STREQ(m_pEdit->GetEditText(), "40");
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(m_pEdit->GetPressed(), 0);
}

TEST_F(ControlEdit, TheSpinLoopEndsOnQuitAndPostsItAgain) {
    m_pEdit->SetEditText("10");
    ::PostQuitMessage(3);
    const CRect rcSpin = m_pEdit->GetSpinButtonsRect();
    m_pEdit->OnClick(FALSE, CPoint(rcSpin.left + 2, rcSpin.bottom - 2));
    EXPECT_EQ(m_pEdit->m_steps, (std::vector<int>{-1}));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ControlEdit, InCustomizeModeItsEdgesShowTheResizeCursorUnderTheMouse) {
    const CRect rc = m_pEdit->GetRect();
    const int y = rc.CenterPoint().y;
    const HCURSOR hArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    const struct {
        BOOL bCustomize;
        CPoint pt;
        BOOL bResize;
    } cases[] = {{TRUE, CPoint(rc.left + 1, y), TRUE},   {TRUE, CPoint(rc.right - 1, y), TRUE},
                 {TRUE, CPoint(rc.left + 10, y), FALSE}, {FALSE, CPoint(rc.left + 1, y), FALSE}};
    for (const auto& c : cases) {
        ::SetCursor(hArrow);
        m_frame.m_pCommandBars->SetCustomizeMode(c.bCustomize);
        m_pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(c.pt.x, c.pt.y));
        EXPECT_EQ(::GetCursor() != hArrow, c.bResize) << c.bCustomize << " at " << c.pt.x - rc.left;
    }
    m_frame.m_pCommandBars->SetCustomizeMode(FALSE);
    ::SetCursor(hArrow);
}

TEST_F(ControlEdit, TheFieldHidesOnAVerticalBar) {
    m_pEdit->PrepareDynamicLayout(0x10);
    EXPECT_FALSE(m_pEdit->IsVisible());
    EXPECT_FALSE(::GetWindowLongA(Field(), GWL_STYLE) & WS_VISIBLE);
    m_pEdit->PrepareDynamicLayout(0x08);
    EXPECT_TRUE(m_pEdit->IsVisible());
}

TEST_F(ControlEdit, RemovingAFocusedFieldGivesTheHookCountBack) {
    const int nLock = KLVMouseHook()->m_nLock;
    m_pEdit->SetFocused(TRUE);
    EXPECT_EQ(KLVMouseHook()->m_nLock, nLock + 1);
    m_pBar->GetControls()->Remove(m_pEdit);
    EXPECT_EQ(KLVMouseHook()->m_nLock, nLock);
}

}  // namespace
