// The mouse at the control, as messages: word selection with Ctrl, the selection margin and its
// answer from the parent, column selection with Alt, dragging the selection with its drop and
// copy, the auto-scroll timer, and a double click on a placeholder.
#include "SyntaxEditCtrlInputTest.h"

namespace {

class MouseTest : public InputTest {
protected:
    static inline int s_nParentContextMenus = 0;
    static LRESULT CALLBACK CountContextMenus(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
        if (nMsg == WM_CONTEXTMENU) ++s_nParentContextMenus;
        return NotifyRecorder::WndProc(hWnd, nMsg, wParam, lParam);
    }
    // The pixel in the middle of a cell (zero-based) of a screen row.
    CPoint Cell(int nCell, int nScreenRow) const {
        return CPoint(CellX(nCell) + m_ctrl.GetCharWidth() / 2, RowY(nScreenRow) + m_ctrl.GetRowHeight() / 2);
    }
    // Presses, moves and releases the left button with keys held.
    void Press(CPoint pt, std::initializer_list<int> keys = {}) {
        m_ctrl.SetFocus();
        ScopedKeys held(WithButton(keys));
        Mouse(WM_LBUTTONDOWN, pt.x, pt.y);
    }
    void MoveTo(CPoint pt, std::initializer_list<int> keys = {}) {
        ScopedKeys held(WithButton(keys));
        Mouse(WM_MOUSEMOVE, pt.x, pt.y);
    }
    void Release(CPoint pt, std::initializer_list<int> keys = {}) {
        ScopedKeys held(keys);
        Mouse(WM_LBUTTONUP, pt.x, pt.y);
    }
    void Tick(BOOL bButtonDown = TRUE) {
        ScopedKeys held(bButtonDown ? std::vector<int>{VK_LBUTTON} : std::vector<int>{});
        m_ctrl.SendMessage(WM_TIMER, 100);
    }
    CString Selected() {
        CString strText;
        m_ctrl.GetSelectedText(strText);
        return strText;
    }

private:
    static std::vector<int> WithButton(std::initializer_list<int> keys) {
        std::vector<int> withButton(keys);
        withButton.push_back(VK_LBUTTON);
        return withButton;
    }
};

}  // namespace

TEST_F(MouseTest, CtrlClickSelectsTheWordAndShiftClickExtends) {
    Open("int value=count;\r\nnext");
    Press(Cell(12, 0), {VK_CONTROL});
    Release(Cell(12, 0));
    EXPECT_EQ(Selected(), "count");
    EXPECT_FALSE(m_ctrl.IsMouseOperation());
    Press(Cell(9, 0));   // on the delimiter: that one character
    Release(Cell(9, 0));
    EXPECT_FALSE(m_ctrl.IsSelectionExist());
    m_ctrl.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(Cell(9, 0).x, Cell(9, 0).y));
    Release(Cell(9, 0));
    EXPECT_EQ(Selected(), "=");
    Press(Cell(2, 1));
    Release(Cell(2, 1));
    Press(Cell(4, 0), {VK_SHIFT});
    Release(Cell(4, 0));
    EXPECT_EQ(Selected(), "value=count;\r\nne");
}

TEST_F(MouseTest, MarginClickTogglesABreakpointUnlessTheParentTakesIt) {
    Open("a\r\nb\r\nc");
    const CPoint ptMargin(3, RowY(1) + 2);
    Press(ptMargin);
    Release(ptMargin);
    EXPECT_TRUE(m_ctrl.HasRowMark(2, "Breakpoint"));
    EXPECT_EQ(m_ctrl.GetCurRow(), 2);
    const auto& log = NotifyRecorder::Log();
    auto it = std::find_if(log.begin(), log.end(), [](const RecordedNotify& n) { return n.nCode == KLVSEN_MARGINCLICK; });
    ASSERT_NE(it, log.end());
    EXPECT_EQ(it->nValue1, 2);
    NotifyRecorder::s_lMarginClickAnswer = 1;
    Press(ptMargin);
    Release(ptMargin);
    EXPECT_TRUE(m_ctrl.HasRowMark(2, "Breakpoint")) << "the parent answered nonzero";
    NotifyRecorder::s_lMarginClickAnswer = 0;
    Press(ptMargin);
    Release(ptMargin);
    EXPECT_FALSE(m_ctrl.HasRowMark(2, "Breakpoint"));
    Press(CPoint(3, RowY(8)));   // below the text: no row under the press
    Release(CPoint(3, RowY(8)));
    EXPECT_FALSE(m_ctrl.HasRowMark(3, "Breakpoint"));
}

TEST_F(MouseTest, AltDragSelectsAColumnPastAShortRow) {
    Open("abcdefgh\r\nab\r\nabcdefgh");
    Press(Cell(2, 0), {VK_MENU});
    MoveTo(Cell(6, 1), {VK_MENU});
    EXPECT_TRUE(m_ctrl.IsColumnSelection());
    EXPECT_EQ(m_ctrl.GetCurRow(), 2);
    EXPECT_EQ(m_ctrl.GetCurCol(), 7) << "past the row's end at column 3";
    MoveTo(Cell(6, 2), {VK_MENU});
    Release(Cell(6, 2));
    EXPECT_EQ(Selected(), "cdef\r\n    \r\ncdef\r\n") << "the short row is filled with spaces";
}

TEST_F(MouseTest, DraggingTheSelectionDropsMovesOrCopies) {
    struct Case {
        const char* name;
        int nDropCell;
        std::initializer_list<int> keys;
        const char* expected;
        const char* step;
    };
    const Case cases[] = {
        {"released inside: nothing", 3, {}, "hello world", nullptr},
        {"moved to the end", 11, {}, " worldhello", "Move"},
        {"copied with Ctrl", 11, {VK_CONTROL}, "hello worldhello", "Copy"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_ctrl.DestroyWindow();
        Open("hello world");
        ASSERT_TRUE(m_ctrl.SetSelection(1, 1, 1, 6, FALSE));
        Press(Cell(1, 0));
        MoveTo(Cell(c.nDropCell, 0), c.keys);
        Release(Cell(c.nDropCell, 0), c.keys);
        EXPECT_EQ(Text(), c.expected);
        EXPECT_FALSE(m_ctrl.IsMouseOperation());
        if (!c.step) {
            EXPECT_FALSE(m_ctrl.IsSelectionExist());
            EXPECT_FALSE(m_ctrl.CanUndo());
            continue;
        }
        EXPECT_EQ(Selected(), "hello") << "the dropped text stays selected";
        EXPECT_EQ(LastStepName(), c.step);
        m_ctrl.Undo();
        EXPECT_EQ(Text(), "hello world") << "one step";
    }
}

TEST_F(MouseTest, HoldingTheButtonBelowTheTextScrollsThreeRowsATick) {
    std::string text;
    for (int i = 1; i <= 60; ++i) text += "row " + std::to_string(i) + "\r\n";
    Open(text);
    const int nVisible = m_ctrl.GetVisibleRowCount();
    Press(Cell(1, 1));
    const CPoint ptBelow(CellX(1), 200 + 5);
    MoveTo(ptBelow);
    int nRow = m_ctrl.GetCurRow();
    for (int i = 0; i < 4; ++i) {
        Tick();
        EXPECT_EQ(m_ctrl.GetCurRow(), nRow + 3);
        EXPECT_EQ(m_ctrl.GetDocRow(m_ctrl.GetTopRow(), nVisible), m_ctrl.GetCurRow()) << "the caret row is in view";
        nRow = m_ctrl.GetCurRow();
    }
    EXPECT_TRUE(m_ctrl.IsSelectionExist());
    Tick(FALSE);   // the button went up where the control did not see it
    EXPECT_FALSE(m_ctrl.IsMouseOperation() && m_ctrl.m_bSelecting);
    EXPECT_FALSE(::KillTimer(m_ctrl.GetSafeHwnd(), 100));
}

TEST_F(MouseTest, ClickOnANodeAndDoubleClickOnAPlaceholderToggleTheBlock) {
    m_schema.Add(2, 3, 4, 0);
    OpenWithSchema("a\r\nb {\r\n x\r\n}\r\ne\r\n", &m_schema);
    CRect rcNode;
    m_ctrl.GetNodeRect(1, rcNode);
    Press(rcNode.CenterPoint());
    Release(rcNode.CenterPoint());
    EXPECT_TRUE(m_ctrl.HasRowMark(2, "Collapsed"));
    Paint();
    CKLVSyntaxEditLineMarkValue value;
    ASSERT_TRUE(m_ctrl.HasRowMark(2, "Collapsed", &value));
    const CRect rcBox =
        static_cast<CKLVSyntaxEditCollapsedData*>(value.GetPtr())->rcPlaceholder + CPoint(m_ctrl.GetTextLeftOffset(), 0);
    m_ctrl.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(rcBox.CenterPoint().x, rcBox.CenterPoint().y));
    EXPECT_FALSE(m_ctrl.HasRowMark(2, "Collapsed"));
}

TEST_F(MouseTest, RightDragDropsThroughTheDragMenuCommandsAndTheContextMenuGoesToTheParent) {
    Open("hello world");
    ASSERT_TRUE(m_ctrl.SetSelection(1, 1, 1, 6, FALSE));
    m_ctrl.SetFocus();
    {
        ScopedKeys held({VK_RBUTTON});
        Mouse(WM_RBUTTONDOWN, Cell(1, 0).x, Cell(1, 0).y);
        Mouse(WM_MOUSEMOVE, Cell(11, 0).x, Cell(11, 0).y);
    }
    EXPECT_TRUE(m_ctrl.m_bRightDrag);
    EXPECT_TRUE(m_ctrl.m_bDropAllowed);
    m_ctrl.SendMessage(WM_COMMAND, KLV_ID_SYNTAXEDIT_DROPCOPY);
    EXPECT_EQ(Text(), "hello worldhello");
    EXPECT_FALSE(m_ctrl.m_bRightDrag);
    m_ctrl.SendMessage(WM_CANCELMODE);
    EXPECT_FALSE(m_ctrl.IsMouseOperation());

    // Outside a selection the right button moves the caret, and the menu is the parent's.
    m_ctrl.ClearSelection();
    Mouse(WM_RBUTTONDOWN, Cell(3, 0).x, Cell(3, 0).y);
    EXPECT_EQ(m_ctrl.GetCurCol(), 4);
    CPoint ptScreen = Cell(3, 0);
    m_ctrl.ClientToScreen(&ptScreen);
    s_nParentContextMenus = 0;
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(m_parent.GetSafeHwnd(), GWLP_WNDPROC,
                                                                   reinterpret_cast<LONG_PTR>(&CountContextMenus)));
    m_ctrl.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_ctrl.GetSafeHwnd()), MAKELPARAM(ptScreen.x, ptScreen.y));
    ::SetWindowLongPtrA(m_parent.GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOld));
    EXPECT_EQ(s_nParentContextMenus, 1);
    EXPECT_NE(::GetCapture(), m_ctrl.GetSafeHwnd());
}

TEST_F(MouseTest, PressingBesideTheTextSelectsWholeRows) {
    Open("one\r\ntwo\r\nthree\r\nfour");
    const int xGutter = m_ctrl.GetTextLeftOffset() - 2;   // beside the text, past the margin
    Press(CPoint(xGutter, RowY(1) + 2));
    EXPECT_EQ(Selected(), "two\r\n");
    MoveTo(CPoint(xGutter, RowY(2) + 2));
    Release(CPoint(xGutter, RowY(2) + 2));
    EXPECT_EQ(Selected(), "two\r\nthree\r\n");
    EXPECT_EQ(m_ctrl.GetCurRow(), 4) << "the caret goes below the rows";
    Press(CPoint(xGutter, RowY(2) + 2));
    MoveTo(CPoint(xGutter, RowY(0) + 2));
    Release(CPoint(xGutter, RowY(0) + 2));
    EXPECT_EQ(Selected(), "one\r\ntwo\r\nthree\r\n") << "upwards the pressed row stays in";
}
