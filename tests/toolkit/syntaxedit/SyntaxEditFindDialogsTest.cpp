// Find and replace and Go To Line on a syntax view in a small MDI program: the search's
// direction, whole words and case, no wrap-around, Replace All as one undo step, the dialog's
// buttons and histories, and the Go To dialog's clamping. Dialogs are driven by messages.
#include "SyntaxEditMdiHost.h"
#include "toolkit/syntaxedit/text/SyntaxEditTestSupport.h"
#include "toolkit/syntaxedit/view/SyntaxEditGoToLineDlg.h"

namespace {

class FindTest : public ::testing::Test {
protected:
    void Open(const std::string& text) {
        m_pDoc = m_host.pPlain->OpenDocumentFile(nullptr);
        ASSERT_NE(m_pDoc, nullptr);
        SyntaxMdiHost::SetText(m_pDoc, text);
        m_pView = SyntaxMdiHost::Views(m_pDoc).front();
        m_pCtrl = m_pView->GetEditCtrl();
    }
    std::string Text() { return Rows(*m_pCtrl->GetBuffer()); }
    // The selection as "row:start-end" in display columns, or "none".
    std::string Selection() {
        CPoint ptStart, ptEnd;
        if (!m_pCtrl->GetSelection(ptStart, ptEnd)) return "none";
        return std::to_string(ptStart.y) + ":" + std::to_string(ptStart.x) + "-" + std::to_string(ptEnd.x);
    }
    CKLVSyntaxEditFindReplaceDlg& Dialog() { return m_pView->GetFindReplaceDlg(); }
    void Command(CWnd& dlg, int nID, int nCode = BN_CLICKED) {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode), reinterpret_cast<LPARAM>(::GetDlgItem(dlg.m_hWnd, nID)));
    }
    // Types into a combo box of the dialog as the user would.
    void TypeInto(int nID, const char* text) {
        ::SetWindowTextA(::GetDlgItem(Dialog().m_hWnd, nID), text);
        Command(Dialog(), nID, CBN_EDITCHANGE);
    }
    BOOL IsEnabled(CWnd& dlg, int nID) { return ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, nID)); }

    SyntaxMdiHost m_host;
    CDocument* m_pDoc = nullptr;
    CRecordingSyntaxView* m_pView = nullptr;
    CKLVSyntaxEditCtrl* m_pCtrl = nullptr;
};

TEST_F(FindTest, DownAndUpWithoutWrappingRound) {
    Open("alpha beta\r\ngamma beta\r\nbeta");
    struct Case {
        int nRow, nCol;
        BOOL bDown;
        std::string expected;   // the selection after the search
    } cases[] = {
        {1, 1, TRUE, "1:7-11"}, {1, 8, TRUE, "2:7-11"}, {2, 11, TRUE, "3:1-5"},
        {3, 5, FALSE, "3:1-5"}, {3, 1, FALSE, "2:7-11"}, {2, 6, FALSE, "1:7-11"},
    };
    for (const Case& c : cases) {
        m_pCtrl->SetCurPos(c.nRow, c.nCol);
        EXPECT_TRUE(m_pCtrl->Find("beta", FALSE, FALSE, c.bDown)) << c.nRow << ":" << c.nCol;
        EXPECT_EQ(Selection(), c.expected) << c.nRow << ":" << c.nCol;
        EXPECT_EQ(m_pCtrl->GetCurCol(), c.bDown ? std::stoi(c.expected.substr(c.expected.find('-') + 1)) : std::stoi(c.expected.substr(2)));
    }
    // From a selection, up starts at its start: the match before it, not the selection again.
    m_pCtrl->SetSelection(2, 7, 2, 11);
    EXPECT_TRUE(m_pCtrl->Find("beta", FALSE, FALSE, FALSE));
    EXPECT_EQ(Selection(), "1:7-11");
    // Nothing below: the message, and the selection and text as they were.
    m_pCtrl->SetCurPos(3, 5);
    Dialog().ShowDialog(m_pView, FALSE);
    TypeInto(101, "alpha");
    Command(Dialog(), 106);
    EXPECT_EQ(m_host.app.m_boxes, std::vector<std::string>{"Finished searching!"});
    EXPECT_EQ(Selection(), "none");
    EXPECT_EQ(m_pCtrl->GetCurRow(), 3);
    EXPECT_EQ(Text(), "alpha beta|gamma beta|beta");
    Dialog().CloseDialog();
}

TEST_F(FindTest, WholeWordAndMatchCase) {
    Open("alphabet bet Bet");
    const struct {
        const char* text;
        BOOL bWholeWord, bMatchCase;
        std::string expected;
    } cases[] = {
        {"bet", FALSE, FALSE, "1:6-9"}, {"bet", TRUE, FALSE, "1:10-13"}, {"Bet", TRUE, TRUE, "1:14-17"},
        {"BET", FALSE, TRUE, "none"},   {"BET", FALSE, FALSE, "1:6-9"},  {"alpha", TRUE, FALSE, "none"},
    };
    for (const auto& c : cases) {
        m_pCtrl->SetCurPos(1, 1);
        EXPECT_EQ(m_pCtrl->Find(c.text, c.bWholeWord, c.bMatchCase, TRUE), c.expected != "none") << c.text;
        EXPECT_EQ(Selection(), c.expected) << c.text << " " << c.bWholeWord << c.bMatchCase;
    }
}

TEST_F(FindTest, ReplaceAllReplacesEachOriginalOnceAsOneUndoStep) {
    Open("ab x ab\r\nabab\r\nnone");
    m_pCtrl->SetCurPos(3, 2);
    Dialog().ShowDialog(m_pView, TRUE);
    TypeInto(101, "ab");
    EXPECT_FALSE(IsEnabled(Dialog(), 107));
    EXPECT_FALSE(IsEnabled(Dialog(), 108));
    EXPECT_TRUE(IsEnabled(Dialog(), 106));
    TypeInto(100, "abc");
    EXPECT_TRUE(IsEnabled(Dialog(), 107));
    EXPECT_TRUE(IsEnabled(Dialog(), 108));
    Command(Dialog(), 108);
    EXPECT_EQ(Text(), "abc x abc|abcabc|none");
    EXPECT_EQ(m_host.app.m_boxes, std::vector<std::string>{"4 match found and replaced!"});
    EXPECT_EQ(m_pCtrl->GetCurRow(), 3) << "the caret is put back";
    CKLVSyntaxEditCommand* pStep = m_pCtrl->GetBuffer()->GetUndoManager()->GetLastCommand();
    ASSERT_NE(pStep, nullptr);
    EXPECT_STREQ(pStep->GetCommandText(), "Replace all");
    m_pCtrl->Undo();
    EXPECT_EQ(Text(), "ab x ab|abab|none");
    EXPECT_FALSE(m_pCtrl->CanUndo());
    EXPECT_EQ(m_pView->ReplaceAll("", "x", FALSE, FALSE), 0);
    Dialog().CloseDialog();
    // A text the control may not change: nothing is replaced, nothing counted.
    CRecordingSyntaxView::s_bCanChange = FALSE;
    EXPECT_EQ(m_pView->ReplaceAll("ab", "abc", FALSE, FALSE), 0);
    EXPECT_EQ(Text(), "ab x ab|abab|none");
}

TEST_F(FindTest, ReplaceReplacesTheMatchingSelectionThenFindsTheNext) {
    Open("one two one");
    Dialog().ShowDialog(m_pView, TRUE);
    TypeInto(101, "one");
    TypeInto(100, "1");
    m_pCtrl->SetCurPos(1, 1);
    Command(Dialog(), 107);   // nothing selected: only finds
    EXPECT_EQ(Text(), "one two one");
    EXPECT_EQ(Selection(), "1:1-4");
    Command(Dialog(), 107);
    EXPECT_EQ(Text(), "1 two one");
    EXPECT_EQ(Selection(), "1:7-10");
    Dialog().CloseDialog();
}

TEST_F(FindTest, EnterInTheFindFormFindsEvenWithAReplaceTextLeftOver) {
    Open("one one");
    Dialog().ShowDialog(m_pView, TRUE);
    TypeInto(101, "one");
    TypeInto(100, "two");
    Dialog().CloseDialog();
    m_pCtrl->SetCurPos(1, 1);
    // The Find form asked for while the Replace form is open replaces it.
    Dialog().ShowDialog(m_pView, TRUE);
    Dialog().ShowDialog(m_pView, FALSE);
    EXPECT_EQ(::GetDlgItem(Dialog().m_hWnd, 100), nullptr);
    EXPECT_FALSE(Dialog().m_bReplaceMode);
    MSG msg{Dialog().m_hWnd, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_TRUE(Dialog().PreTranslateMessage(&msg));
    EXPECT_EQ(Text(), "one one") << "the Find form never replaces";
    EXPECT_EQ(Selection(), "1:1-4");
    Dialog().CloseDialog();
}

TEST_F(FindTest, HistoriesRoundTripThroughTheProfileWithoutDuplicates) {
    Open("a b");
    Dialog().ShowDialog(m_pView, TRUE);
    for (const char* text : {"a", "b", "a", "A"}) {
        TypeInto(101, text);
        Command(Dialog(), 106);
    }
    TypeInto(100, "x");
    Command(Dialog(), 107);
    Command(Dialog(), 107);
    Dialog().CloseDialog();
    CWinApp& app = m_host.app;
    EXPECT_EQ(app.GetProfileInt("Settings", "FindHistoryCount", -1), 3u);
    EXPECT_STREQ(app.GetProfileString("Settings", "FindHistory_2"), "A");
    EXPECT_EQ(app.GetProfileInt("Settings", "ReplaceHistoryCount", -1), 1u);
    // Read back: a list of 60 gives 50; a missing key ends the list.
    app.WriteProfileInt("Settings", "FindHistoryCount", 60);
    for (int i = 0; i < 60; ++i)
        app.WriteProfileString("Settings", ("FindHistory_" + std::to_string(i)).c_str(), ("t" + std::to_string(i)).c_str());
    app.WriteProfileInt("Settings", "ReplaceHistoryCount", 4);
    app.WriteProfileString("Settings", "ReplaceHistory_0", "r0");
    app.WriteProfileString("Settings", "ReplaceHistory_1", "r0");
    app.WriteProfileString("Settings", "ReplaceHistory_2", nullptr);
    app.WriteProfileString("Settings", "ReplaceHistory_3", "r3");
    CKLVSyntaxEditFindReplaceDlg& dlg = Dialog();
    ASSERT_TRUE(dlg.ShowDialog(m_pView, TRUE));
    EXPECT_EQ(dlg.m_cmbFind.GetCount(), int(CKLVSyntaxEditFindReplaceDlg::kMaxHistory));
    EXPECT_EQ(dlg.m_cmbReplace.GetCount(), 1);
    dlg.CloseDialog();
    EXPECT_EQ(app.GetProfileInt("Settings", "FindHistoryCount", -1), 50u);
}

TEST_F(FindTest, FindNextCommandIsEnabledOnlyWithASearchText) {
    Open("abc");
    EXPECT_EQ(IsCommandEnabled(m_pView, ID_EDIT_REPEAT), 0);
    Dialog().m_strFindText = "b";
    EXPECT_EQ(IsCommandEnabled(m_pView, ID_EDIT_REPEAT), 1);
    m_pView->SendMessage(WM_COMMAND, ID_EDIT_REPEAT);
    EXPECT_EQ(Selection(), "1:2-3");
}

TEST_F(FindTest, GoToLineClampsAndRemembersItsPlace) {
    Open(NumberedText(41));
    CKLVSyntaxEditGoToLineDlg dlg;
    ASSERT_TRUE(dlg.ShowDialog(m_pCtrl, FALSE, FALSE));
    char label[64] = {};
    ::GetDlgItemTextA(dlg.m_hWnd, 100, label, sizeof label);
    EXPECT_STREQ(label, "&Line number (1 - 41):");
    const struct {
        const char* typed;
        int nRow;
        const char* shown;
    } cases[] = {{"0", 1, "1"}, {"99", 41, "41"}, {"17", 17, "17"}, {"", 1, "1"}};
    for (const auto& c : cases) {
        ::SetDlgItemTextA(dlg.m_hWnd, 101, c.typed);
        Command(dlg, 102);
        EXPECT_EQ(m_pCtrl->GetCurRow(), c.nRow) << c.typed;
        char shown[16] = {};
        ::GetDlgItemTextA(dlg.m_hWnd, 101, shown, sizeof shown);
        EXPECT_STREQ(shown, c.shown) << c.typed;
    }
    EXPECT_TRUE(m_host.app.m_boxes.empty()) << "an empty edit is no error";
    const HWND hFirst = dlg.m_hWnd;
    ASSERT_TRUE(dlg.ShowDialog(m_pCtrl, FALSE, FALSE));
    EXPECT_EQ(dlg.m_hWnd, hFirst) << "showing again only brings it forward";
    dlg.SetWindowPos(nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // Enter goes; with close-after-go the dialog closes and keeps its place.
    ASSERT_TRUE(dlg.ShowDialog(m_pCtrl, FALSE, TRUE));
    ::SetDlgItemTextA(dlg.m_hWnd, 101, "5");
    MSG msg{dlg.m_hWnd, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_TRUE(dlg.PreTranslateMessage(&msg));
    EXPECT_EQ(m_pCtrl->GetCurRow(), 5);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_ptPosition, CPoint(40, 50));
    ASSERT_TRUE(dlg.ShowDialog(m_pCtrl));
    CRect rc;
    dlg.GetWindowRect(&rc);
    EXPECT_EQ(rc.TopLeft(), CPoint(40, 50));
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

}  // namespace
