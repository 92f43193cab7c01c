// The control's two popups: the tooltip that shows a collapsed block's text, and the
// auto-complete list with its keys, typed characters and the undo step of a completion.
#include "SyntaxEditCtrlInputTest.h"

TEST_F(EditCtrlTest, ToolTipKeepsItsTextAndHidesToShowAnother) {
    Open("a\r\n");
    CKLVSyntaxEditToolTipWnd& tip = m_ctrl.GetToolTip();
    ASSERT_TRUE(tip.GetSafeHwnd());
    EXPECT_EQ(tip.GetDisplayTime(), 5000u);
    tip.Activate("first");
    tip.Activate("first");
    EXPECT_TRUE(tip.IsWindowVisible()) << "the same text again keeps it shown";
    EXPECT_TRUE(::KillTimer(tip.GetSafeHwnd(), CKLVSyntaxEditToolTipWnd::kTimerHide)) << "its hiding time started again";
    tip.Activate("first");
    tip.SendMessage(WM_TIMER, CKLVSyntaxEditToolTipWnd::kTimerHide);
    EXPECT_FALSE(tip.IsWindowVisible()) << "the time ran out";
    tip.Activate("first");
    tip.Activate("second");
    EXPECT_FALSE(tip.IsWindowVisible()) << "another text hides the tip";
    tip.Activate("second");
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetText(), "second");
    // A text too wide for the screen wraps at word breaks: the tip grows down, not past it.
    CRect rcOne;
    tip.GetWindowRect(&rcOne);
    std::string strLong;
    for (int i = 0; i < 400; ++i) strLong += "word ";
    tip.Hide();
    tip.Activate(strLong.c_str());
    CRect rcLong;
    tip.GetWindowRect(&rcLong);
    EXPECT_GT(rcLong.Height(), 2 * rcOne.Height());
    EXPECT_LE(rcLong.right, ::GetSystemMetrics(SM_CXSCREEN));
    m_ctrl.SendMessage(WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_FALSE(tip.IsWindowVisible()) << "a key hides it";
}

namespace {

class AutoCompleteTest : public InputTest {
protected:
    void OpenWithWords(const std::string& text, std::vector<std::string> words) {
        FakeLinkParser::s_words = std::move(words);
        OpenWithSchema(text, &m_schema);
        m_ctrl.SetFocus();
    }
    void TearDown() override {
        FakeLinkParser::s_words.clear();
        InputTest::TearDown();
    }
    // A key as the message loop delivers it: the control's PreTranslateMessage first, then,
    // unless it took the key, the window and the character the key makes.
    void Pump(UINT nKey, UINT nChar = 0, std::vector<int> mods = {}) {
        ScopedKeys held(mods);
        MSG msg = {m_ctrl.GetSafeHwnd(), WM_KEYDOWN, nKey, 1, 0, {0, 0}};
        if (m_ctrl.PreTranslateMessage(&msg)) return;
        m_ctrl.SendMessage(WM_KEYDOWN, nKey, 1);
        if (nChar) m_ctrl.SendMessage(WM_CHAR, nChar, 1);
    }
    CKLVSyntaxEditAutoCompleteWnd& List() { return m_ctrl.GetAutoComplete(); }
};

}  // namespace

TEST_F(AutoCompleteTest, PrefixSelectsTheFirstWordInByteOrder) {
    OpenWithWords("pri", {"printf", "print_all", "puts", ""});
    m_ctrl.SetCurPos(1, 4);
    Pump(VK_SPACE, 0, {VK_CONTROL});
    ASSERT_TRUE(List().IsOpen());
    ASSERT_EQ(List().GetShownCount(), 2);
    EXPECT_EQ(List().GetShownText(0), "print_all");
    EXPECT_EQ(List().GetShownText(1), "printf");
    EXPECT_EQ(List().GetShownText(List().GetSelectedIndex()), "print_all");
    Pump(VK_DOWN);
    EXPECT_EQ(List().GetSelectedIndex(), 1);
    EXPECT_EQ(m_ctrl.GetCurRow(), 1) << "the list took the key";
    Pump(VK_UP, 0);
    Pump(VK_RETURN);
    EXPECT_FALSE(List().IsOpen());
    EXPECT_EQ(Text(), "print_all");
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "pri") << "the completion is one step";
}

TEST_F(AutoCompleteTest, TypingTheLastLetterOfAWordCompletesIt) {
    OpenWithWords("print", {"printf", "print_all", "puts"});
    m_ctrl.SetCurPos(1, 6);
    Pump(VK_SPACE, 0, {VK_CONTROL});
    ASSERT_TRUE(List().IsOpen());
    Pump('F', 'f');
    EXPECT_FALSE(List().IsOpen());
    EXPECT_EQ(Text(), "printf");
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "print") << "one undoable edit";
}

TEST_F(AutoCompleteTest, AnUnderscoreGoesOnTheWordAndAnotherCharacterEndsIt) {
    OpenWithWords("print", {"printf", "print_all", "puts"});
    m_ctrl.SetCurPos(1, 6);
    Pump(VK_SPACE, 0, {VK_CONTROL});
    Pump(VK_OEM_MINUS, '_', {VK_SHIFT});
    ASSERT_TRUE(List().IsOpen());
    EXPECT_EQ(List().GetTypedText(), "print_");
    Pump(VK_RETURN);
    EXPECT_EQ(Text(), "print_all");
    m_ctrl.SetCurPos(1, 10);
    Pump(VK_SPACE, 0, {VK_CONTROL});
    ASSERT_TRUE(List().IsOpen());
    Pump('9', '(', {VK_SHIFT});
    EXPECT_FALSE(List().IsOpen());
    EXPECT_EQ(Text(), "print_all(");
}

TEST_F(AutoCompleteTest, BackspaceOverTheTypedTextCloses) {
    OpenWithWords("p", {"printf", "print_all", "puts"});
    m_ctrl.SetCurPos(1, 2);
    Pump(VK_SPACE, 0, {VK_CONTROL});
    ASSERT_TRUE(List().IsOpen());
    Pump('R', 'r');
    EXPECT_EQ(List().GetTypedText(), "pr");
    EXPECT_EQ(List().GetShownText(List().GetSelectedIndex()), "print_all");
    Pump(VK_BACK);
    EXPECT_TRUE(List().IsOpen());
    EXPECT_EQ(Text(), "p");
    Pump(VK_BACK);
    EXPECT_FALSE(List().IsOpen());
    EXPECT_EQ(Text(), "");
}

TEST_F(AutoCompleteTest, TheWordsAreAskedForOnceUntilTheConfigurationChanges) {
    OpenWithWords("p", {"printf", "puts"});
    m_ctrl.SetCurPos(1, 2);
    const int nCalls = FakeLinkParser::s_nWordListCalls;
    for (int i = 0; i < 3; ++i) {
        Pump(VK_SPACE, 0, {VK_CONTROL});
        ASSERT_TRUE(List().IsOpen());
        EXPECT_EQ(List().GetShownCount(), 2);
        Pump(VK_ESCAPE);
    }
    EXPECT_EQ(FakeLinkParser::s_nWordListCalls, nCalls + 1);
    FakeLinkParser::s_words = {"printf", "puts", "pow"};
    m_ctrl.GetBuffer()->GetConnection()->Notify(klvEditSchemaReloaded, 0, 0, KLV_NOTIFY_DIRECT_ON_SAME);
    Pump(VK_SPACE, 0, {VK_CONTROL});
    ASSERT_TRUE(List().IsOpen());
    EXPECT_EQ(List().GetShownCount(), 3) << "a reloaded schema's words";
    EXPECT_EQ(FakeLinkParser::s_nWordListCalls, nCalls + 2);
    Pump(VK_ESCAPE);
    // No words yet (a schema still loading): the next opening asks again.
    FakeLinkParser::s_words.clear();
    m_ctrl.GetBuffer()->GetConnection()->Notify(klvEditConfigLoaded, 0, 0, KLV_NOTIFY_DIRECT_ON_SAME);
    Pump(VK_SPACE, 0, {VK_CONTROL});
    EXPECT_FALSE(List().IsOpen());
    FakeLinkParser::s_words = {"puts"};
    Pump(VK_SPACE, 0, {VK_CONTROL});
    ASSERT_TRUE(List().IsOpen());
    EXPECT_EQ(List().GetShownText(0), "puts");
}

TEST_F(AutoCompleteTest, RefreshingTheColoursParsesWhereTheFileClassSaysAndRefillsTheWords) {
    OpenWithWords("p", {"printf"});
    m_ctrl.SetCurPos(1, 2);
    for (BOOL bInThread : {TRUE, FALSE}) {
        FakeLinkParser::s_options.bFirstParseInSeparateThread = bInThread;
        const int nThreadParses = FakeLinkParser::s_nThreadParses;
        const int nParses = m_schema.m_nParses;
        FakeLinkParser::s_words = bInThread ? std::vector<std::string>{"printf", "puts"}
                                            : std::vector<std::string>{"printf", "puts", "pow"};
        m_ctrl.RefreshSyntaxColors();
        EXPECT_EQ(FakeLinkParser::s_nThreadParses - nThreadParses, bInThread ? 1 : 0) << bInThread;
        EXPECT_EQ(m_schema.m_nParses - nParses, bInThread ? 0 : 1) << bInThread;
        // The words were taken at once: no list is asked for when it opens.
        const int nCalls = FakeLinkParser::s_nWordListCalls;
        Pump(VK_SPACE, 0, {VK_CONTROL});
        ASSERT_TRUE(List().IsOpen());
        EXPECT_EQ(List().GetShownCount(), bInThread ? 2 : 3) << bInThread;
        EXPECT_EQ(FakeLinkParser::s_nWordListCalls, nCalls);
        Pump(VK_ESCAPE);
    }
    FakeLinkParser::s_options = CKLVSyntaxEditParseOptions();
}

TEST_F(AutoCompleteTest, TwentyWordsScrollAndThreeFit) {
    std::vector<std::string> words;
    for (int i = 10; i < 30; ++i) words.push_back("w" + std::to_string(i));
    OpenWithWords("", words);
    Pump(VK_SPACE, 0, {VK_CONTROL});
    ASSERT_TRUE(List().IsOpen());
    const int nItemHeight = List().GetItemHeight();
    ASSERT_GT(nItemHeight, 0);
    EXPECT_EQ(List().GetVisibleCount(), 160 / nItemHeight);
    EXPECT_EQ(List().GetVisibleCount(), 8) << "items " << nItemHeight << " pixels high";
    EXPECT_TRUE(List().GetStyle() & WS_VSCROLL);
    Pump(VK_UP, 0);
    EXPECT_EQ(List().GetSelectedIndex(), 0) << "Up stops at the first word";
    Pump(VK_END);
    EXPECT_EQ(List().GetSelectedIndex(), 19);
    EXPECT_EQ(List().GetTopIndex(), 20 - List().GetVisibleCount());
    // A held key: its repeat count moves that many words, clamped at either end.
    const struct {
        UINT nKey;
        int nRepeat, nExpected;
    } held[] = {{VK_UP, 3, 16}, {VK_UP, 30, 0}, {VK_DOWN, 5, 5}, {VK_DOWN, 40, 19}, {VK_UP, 14, 5}};
    for (const auto& h : held) {
        MSG msg = {m_ctrl.GetSafeHwnd(), WM_KEYDOWN, h.nKey, static_cast<LPARAM>(h.nRepeat), 0, {0, 0}};
        EXPECT_TRUE(m_ctrl.PreTranslateMessage(&msg));
        EXPECT_EQ(List().GetSelectedIndex(), h.nExpected) << h.nRepeat;
    }
    EXPECT_EQ(List().GetTopIndex(), 5) << "scrolled up to the selection";
    Pump(VK_ESCAPE);
    EXPECT_FALSE(List().IsOpen());
    Pump(VK_SPACE, 0, {VK_CONTROL});
    ASSERT_TRUE(List().IsOpen());
    MSG msg = {m_ctrl.GetSafeHwnd(), WM_SYSKEYDOWN, VK_MENU, 1, 0, {0, 0}};
    m_ctrl.PreTranslateMessage(&msg);
    EXPECT_FALSE(List().IsOpen()) << "Alt closes the list";
    m_ctrl.DestroyWindow();
    OpenWithWords("", {"a1", "a2", "a3"});
    Pump(VK_SPACE, 0, {VK_CONTROL});
    ASSERT_TRUE(List().IsOpen());
    EXPECT_EQ(List().GetVisibleCount(), 3);
    EXPECT_FALSE(List().GetStyle() & WS_VSCROLL);
}
