// The masked edit on a real edit window driven by messages: typing, deletion, paste, undo and
// caret rules, with the beeps counted instead of sounded.
#include "classlib/ClassLib.h"
#include "toolkit/common/MaskEdit.h"

#include "classlib/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class CTestMaskEdit : public CKLMaskEdit {
public:
    void OnInvalidPosition() override { ++m_nBeeps; }
    void OnInvalidChar(char, char) override { ++m_nBeeps; }
    int m_nBeeps = 0;
};

class MaskEdit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 0, 300, 24),
                                  classlib_test::VisibleStage(), 200));
    }
    void TearDown() override { m_edit.DestroyWindow(); }

    // The phone form: literals around two groups of three digits.
    void Phone(LPCTSTR lpszDefault = nullptr) { ASSERT_TRUE(m_edit.SetEditMask("(000) 000", "(___) ___", lpszDefault)); }
    void Type(LPCTSTR lpszText) {
        for (; *lpszText; ++lpszText) m_edit.SendMessage(WM_CHAR, static_cast<BYTE>(*lpszText), 1);
    }
    void Key(UINT nVirtKey) { m_edit.SendMessage(WM_KEYDOWN, nVirtKey, 1); }
    void Select(int nStart, int nEnd) { m_edit.SetSel(nStart, nEnd); }
    CString Text() const {
        CString str;
        m_edit.GetWindowText(str);
        return str;
    }
    int Caret() const {
        int nStart, nEnd;
        m_edit.GetSel(nStart, nEnd);
        return nStart;
    }
    void SetClipboard(LPCTSTR lpszText) {
        ASSERT_TRUE(::OpenClipboard(m_edit.GetSafeHwnd()));
        ::EmptyClipboard();
        HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(lpszText) + 1);
        std::strcpy(static_cast<char*>(::GlobalLock(hData)), lpszText);
        ::GlobalUnlock(hData);
        ::SetClipboardData(CF_TEXT, hData);
        ::CloseClipboard();
    }
    static CString GetClipboard() {
        CString str;
        if (::OpenClipboard(nullptr)) {
            if (HANDLE hData = ::GetClipboardData(CF_TEXT)) {
                str = static_cast<LPCSTR>(::GlobalLock(hData));
                ::GlobalUnlock(hData);
            }
            ::CloseClipboard();
        }
        return str;
    }

    CTestMaskEdit m_edit;
};

}  // namespace

TEST_F(MaskEdit, TypingFollowsTheMask) {
    ASSERT_TRUE(m_edit.SetEditMask("LAAAAAAAAAAAAAA", "_______________"));
    Type("1");
    EXPECT_EQ(m_edit.m_nBeeps, 1);
    EXPECT_STREQ(Text(), "_______________");
    Type("a1");
    EXPECT_STREQ(Text(), "a1_____________");
    EXPECT_FALSE(m_edit.SetEditMask("LA", "___"));
    EXPECT_STREQ(Text(), "a1_____________");

    // Characters that share their codes with virtual keys are typed like any other.
    ASSERT_TRUE(m_edit.SetEditMask("d&&&", "____"));
    Type(".#$(");
    EXPECT_STREQ(Text(), ".#$(");
    ASSERT_TRUE(m_edit.SetEditMask("<>", "__"));
    Type("Ab");
    EXPECT_STREQ(Text(), "aB");
}

TEST_F(MaskEdit, InsertionAndDeletionShiftInputCharactersAcrossLiterals) {
    Phone("123456");
    EXPECT_STREQ(Text(), "(123) 456");
    Select(1, 1);
    Type("9");
    EXPECT_STREQ(Text(), "(912) 345");
    EXPECT_EQ(Caret(), 2);

    Select(2, 7);  // "12) 3": the literals stay, the freed positions at the end get prompts
    Key(VK_DELETE);
    EXPECT_STREQ(Text(), "(945) ___");

    Select(3, 3);
    Key(VK_BACK);  // insert mode closes the gap
    EXPECT_STREQ(Text(), "(95_) ___");
    Key(VK_INSERT);
    ASSERT_TRUE(m_edit.IsOverType());
    Select(3, 3);
    Key(VK_BACK);  // overwrite mode puts the default character back
    EXPECT_STREQ(Text(), "(92_) ___");
}

TEST_F(MaskEdit, PasteTakesWhatTheMaskAllowsAndCopyGivesInputOnly) {
    Phone();
    SetClipboard("123456");
    m_edit.SendMessage(WM_PASTE);
    EXPECT_STREQ(Text(), "(123) 456");
    Select(0, -1);
    m_edit.SendMessage(WM_COPY);
    EXPECT_STREQ(GetClipboard(), "123456");

    Phone();
    SetClipboard("1a2");
    Select(1, 1);
    m_edit.SendMessage(WM_PASTE);
    EXPECT_STREQ(Text(), "(12_) ___");
    EXPECT_EQ(Caret(), 3);
}

TEST_F(MaskEdit, UndoRestoresTheTypingStepAndRedoes) {
    Phone();
    Select(1, 1);
    Type("12");
    EXPECT_STREQ(Text(), "(12_) ___");
    m_edit.SendMessage(WM_UNDO);
    EXPECT_STREQ(Text(), "(___) ___");
    m_edit.SendMessage(WM_UNDO);
    EXPECT_STREQ(Text(), "(12_) ___");
    EXPECT_TRUE(m_edit.IsModified());
}

TEST_F(MaskEdit, TheCaretStaysOnInputPositions) {
    Phone();
    Select(4, 4);
    Key(VK_HOME);
    EXPECT_EQ(Caret(), 1);
    Key(VK_END);
    EXPECT_EQ(Caret(), 9);
    ASSERT_TRUE(m_edit.SetEditMask("000 ", "___-"));
    Key(VK_END);
    EXPECT_EQ(Caret(), 3);  // just after the last input position, not on the trailing literal
    Select(0, 0);
    Type("1");
    Select(3, 3);
    Type("2");
    EXPECT_EQ(m_edit.m_nBeeps, 1);  // no input position at or after the caret
}
