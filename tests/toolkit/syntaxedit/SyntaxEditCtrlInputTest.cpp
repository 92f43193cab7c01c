// Keys and typed characters sent to the control as messages: caret movement, indentation,
// auto-indent and virtual space, row deletion, the undo steps typing makes, and the keys being
// held off while the mouse works.
#include "SyntaxEditCtrlInputTest.h"

namespace {

struct KeyCase {
    const char* name;
    const char* text;
    int nRow, nCol;           // the caret before (display column)
    BOOL bTabWithSpace;
    std::vector<Input> inputs;
    const char* expected;     // rows joined by '|'
    int nExpectRow, nExpectCol;
    int nExpectVirtualCol;
};

}  // namespace

TEST_F(InputTest, KeysMoveTheCaretAndEditAsTheTableSays) {
    const KeyCase cases[] = {
        {"Home to the text", "    x", 1, 1, FALSE, {KeyIn(VK_HOME)}, "    x", 1, 5, 0},
        {"Home again to the start", "    x", 1, 1, FALSE, {KeyIn(VK_HOME), KeyIn(VK_HOME)}, "    x", 1, 1, 0},
        {"Tab as spaces to the next stop", "ab", 1, 3, TRUE, {CharIn('\t')}, "ab  ", 1, 5, 0},
        {"Tab after spaces makes them tabs", "ab  ", 1, 5, FALSE, {CharIn('\t')}, "ab\t\t", 1, 9, 0},
        {"Shift+Tab back a stop, text kept", "abcdefghijk", 1, 9, FALSE, {CharIn('\t', {VK_SHIFT})}, "abcdefghijk", 1, 5, 0},
        {"Enter at the row end indents on screen only", "\t  x", 1, 8, FALSE, {CharIn('\r')}, "\t  x|", 2, 1, 7},
        {"typing there stores the indentation", "\t  x", 1, 8, FALSE, {CharIn('\r'), CharIn('y')}, "\t  x|\t  y", 2, 8, 0},
        {"Enter before text indents it with characters", "\t  ab", 1, 8, FALSE, {CharIn('\r')}, "\t  a|\t  b", 2, 7, 0},
        {"Backspace in virtual space leaves the text", "\tx", 1, 6, FALSE, {CharIn('\r'), KeyIn(VK_BACK)}, "\tx|", 2, 1, 0},
        {"Ctrl+L on the last row keeps it", "one\r\ntwo", 2, 1, FALSE, {CharIn(12, {VK_CONTROL})}, "one|", 2, 1, 0},
        {"Ctrl+L on a middle row", "a\r\nb\r\nc", 2, 1, FALSE, {CharIn(12, {VK_CONTROL})}, "a|c", 2, 1, 0},
        {"Left from the start goes up", "abc\r\nd", 2, 1, FALSE, {KeyIn(VK_LEFT)}, "abc|d", 1, 4, 0},
        {"Right past the end goes down", "ab\r\nc", 1, 3, FALSE, {KeyIn(VK_RIGHT)}, "ab|c", 2, 1, 0},
        {"Down on the last row goes to its end", "ab\r\ncd", 2, 1, FALSE, {KeyIn(VK_DOWN)}, "ab|cd", 2, 3, 0},
        {"Up keeps the preferred column", "abcdef\r\nx\r\nabcdef", 3, 5, FALSE, {KeyIn(VK_UP), KeyIn(VK_UP)}, "abcdef|x|abcdef", 1, 5, 0},
        {"Ctrl+End, Ctrl+Home", "ab\r\ncd", 1, 2, FALSE, {KeyIn(VK_END, {VK_CONTROL}), KeyIn(VK_HOME, {VK_CONTROL})}, "ab|cd", 1, 1, 0},
        {"Backspace joins rows", "ab\r\ncd", 2, 1, FALSE, {KeyIn(VK_BACK)}, "abcd", 1, 3, 0},
        {"Delete joins rows", "ab\r\ncd", 1, 3, FALSE, {KeyIn(VK_DELETE)}, "abcd", 1, 3, 0},
        {"Ctrl+Backspace takes the word", "foo bar", 1, 8, FALSE, {KeyIn(VK_BACK, {VK_CONTROL})}, "foo ", 1, 5, 0},
        {"Shift+Right selects, typing replaces", "abc", 1, 1, FALSE, {KeyIn(VK_RIGHT, {VK_SHIFT}), KeyIn(VK_RIGHT, {VK_SHIFT}), CharIn('X')}, "Xc", 1, 2, 0},
        {"Escape drops the selection", "abc", 1, 1, FALSE, {KeyIn(VK_RIGHT, {VK_SHIFT}), CharIn(27), CharIn('X')}, "aXbc", 1, 3, 0},
        {"Ctrl+Delete takes the selection and the next word as one", "ab cd ef", 1, 1, FALSE,
         {KeyIn(VK_RIGHT, {VK_SHIFT}), KeyIn(VK_DELETE, {VK_CONTROL})}, "cd ef", 1, 1, 0},
        {"Delete in virtual space joins at the caret", "\tx\r\ny", 1, 6, FALSE, {CharIn('\r'), KeyIn(VK_DELETE)},
         "\tx|\ty", 2, 5, 0},
        {"Page Down to the last row, Page Up to the first", "a\r\nb\r\nc", 1, 1, FALSE, {KeyIn(VK_NEXT)}, "a|b|c", 3, 1, 0},
        {"Page Up from the top rows", "a\r\nb\r\nc", 3, 1, FALSE, {KeyIn(VK_PRIOR)}, "a|b|c", 1, 1, 0},
        {"Insert switches to overwriting", "abc", 1, 1, FALSE, {KeyIn(VK_INSERT), CharIn('X')}, "Xbc", 1, 2, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_ctrl.DestroyWindow();
        Open(c.text);
        m_ctrl.SetTabWithSpace(c.bTabWithSpace, FALSE);
        m_ctrl.SetCurPos(c.nRow, c.nCol);
        for (const Input& input : c.inputs) Send(input);
        EXPECT_EQ(Text(), c.expected);
        EXPECT_EQ(m_ctrl.GetCurRow(), c.nExpectRow);
        EXPECT_EQ(m_ctrl.GetCurCol(), c.nExpectCol);
        EXPECT_EQ(m_ctrl.m_nVirtualCol, c.nExpectVirtualCol);
    }
}

TEST_F(InputTest, PageDownMovesByAScreenOfRows) {
    std::string text;
    for (int i = 1; i <= 100; ++i) text += "row " + std::to_string(i) + "\r\n";
    Open(text);
    const int nVisible = m_ctrl.GetVisibleRowCount();
    m_ctrl.SetCurPos(3, 1);
    Send(KeyIn(VK_NEXT));
    EXPECT_EQ(m_ctrl.GetCurRow(), 3 + nVisible);
    Send(KeyIn(VK_NEXT));
    EXPECT_EQ(m_ctrl.GetCurRow(), 3 + 2 * nVisible);
    EXPECT_LE(m_ctrl.GetTopRow(), m_ctrl.GetCurRow());
    EXPECT_GE(m_ctrl.GetDocRow(m_ctrl.GetTopRow(), nVisible), m_ctrl.GetCurRow()) << "the caret stays in view";
    Send(KeyIn(VK_PRIOR));
    EXPECT_EQ(m_ctrl.GetCurRow(), 3 + nVisible);
    const auto& log = NotifyRecorder::Log();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const RecordedNotify& n) { return n.nCode == KLVSEN_LAYOUT && n.nValue1 == 3; }));
}

TEST_F(InputTest, IndentAndUnindentSelectedRowsInOneStepEach) {
    Open("a\r\n\tb\r\n    c\r\nd");
    ASSERT_TRUE(m_ctrl.SetSelection(1, 1, 4, 1, FALSE));   // ends at column 1: row 4 stays out
    Send(CharIn('\t'));
    EXPECT_EQ(Text(), "\ta|\t\tb|\t    c|d");
    EXPECT_EQ(LastStepName(), "Indentation");
    Send(CharIn('\t', {VK_SHIFT}));
    Send(CharIn('\t', {VK_SHIFT}));
    EXPECT_EQ(Text(), "a|b|c|d");
    EXPECT_EQ(LastStepName(), "Decrease Indent");
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "a|\tb|    c|d");
    m_ctrl.Undo();
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "a|\tb|    c|d");
    EXPECT_FALSE(m_ctrl.CanUndo());
}

TEST_F(InputTest, TypingMakesUndoStepsAtBreakersAndOneOverASelection) {
    Open("");
    for (char ch : std::string("a b")) Send(CharIn(ch));
    EXPECT_EQ(Text(), "a b");
    for (const char* expected : {"a ", "a", ""}) {
        m_ctrl.Undo();
        EXPECT_EQ(Text(), expected);
    }
    m_ctrl.DestroyWindow();
    Open("hello world");
    ASSERT_TRUE(m_ctrl.SetSelection(1, 1, 1, 6, FALSE));
    Send(CharIn('J'));
    EXPECT_EQ(Text(), "J world");
    EXPECT_EQ(LastStepName(), "Typing");
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "hello world");
    // Overwriting is never grouped: each letter is a step.
    m_ctrl.SetCurPos(1, 1);
    m_ctrl.SetOverwrite(TRUE);
    Send(CharIn('x'));
    Send(CharIn('y'));
    EXPECT_EQ(Text(), "xyllo world");
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "xello world");
}

TEST_F(InputTest, BackspaceIntoACollapsedBlockOpensItFirst) {
    m_schema.Add(2, 3, 4, 0);
    OpenWithSchema("a\r\nb {\r\n x\r\n}\r\ne\r\n", &m_schema);
    m_ctrl.ToggleCollapse(2);
    ASSERT_TRUE(m_ctrl.HasRowMark(2, "Collapsed"));
    m_ctrl.SetCurPos(5, 1);
    Send(KeyIn(VK_BACK));
    EXPECT_FALSE(m_ctrl.HasRowMark(2, "Collapsed"));
    EXPECT_EQ(Text(), "a|b {| x|}e|");
    m_ctrl.ToggleCollapse(2);
    m_ctrl.SetCurPos(2, 4);
    Send(CharIn('\r'));
    EXPECT_FALSE(m_ctrl.HasRowMark(2, "Collapsed")) << "Enter on a collapsed row opens it";
}

TEST_F(InputTest, KeysWaitWhileTheMouseWorksAndLosingTheCaptureEndsIt) {
    Open("abc\r\ndef");
    {
        ScopedKeys keys({VK_LBUTTON});
        Mouse(WM_LBUTTONDOWN, CellX(1), RowY(0) + 1);
    }
    ASSERT_TRUE(m_ctrl.IsMouseOperation());
    Send(KeyIn(VK_DELETE));
    Send(CharIn('z'));
    EXPECT_EQ(Text(), "abc|def") << "keys change nothing while the button is held";
    // Another window takes the capture; the release never reaches the control.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    other.SetCapture();
    ::ReleaseCapture();
    EXPECT_FALSE(m_ctrl.IsMouseOperation());
    EXPECT_FALSE(::KillTimer(m_ctrl.GetSafeHwnd(), 100)) << "the auto-scroll timer stopped";
    Send(CharIn('z'));
    EXPECT_EQ(Text(), "azbc|def");
    other.DestroyWindow();
    {
        ScopedKeys keys({VK_LBUTTON});
        Mouse(WM_LBUTTONDOWN, CellX(1), RowY(0) + 1);
    }
    m_ctrl.SendMessage(WM_CANCELMODE);
    EXPECT_FALSE(m_ctrl.IsMouseOperation());
    EXPECT_NE(::GetCapture(), m_ctrl.GetSafeHwnd());
}
