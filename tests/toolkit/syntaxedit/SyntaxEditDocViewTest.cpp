// The syntax editor's document and view in a small MDI program: hints on open and save, the
// file's time stamp, the modified mark in the title, and the panes of a splitter kept in step.
#include "SyntaxEditMdiHost.h"
#include "SyntaxEditCtrlTestSupport.h"

#include <algorithm>
#include <fstream>

namespace {

CString TempPath(const char* name) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    return CString(folder) + name;
}

void WriteFile(const CString& path, const std::string& bytes) {
    std::ofstream(path.GetString(), std::ios::binary) << bytes;
}

// The file goes between loading and reading its time stamp.
class CVanishingFileDoc : public CKLVSyntaxEditDoc {
public:
    BOOL ReadFileTime(LPCTSTR lpszPath) override {
        ::DeleteFileA(lpszPath);
        return CKLVSyntaxEditDoc::ReadFileTime(lpszPath);
    }
};

TEST(SyntaxEditDoc, OpeningAFileSendsOneReloadHintAndKeepsItsTimeStamp) {
    SyntaxMdiHost host;
    const CString path = TempPath("kelvane-syntaxdoc-open.c");
    WriteFile(path, "int a;\r\nint b;");
    auto* pDoc = static_cast<CKLVSyntaxEditDoc*>(host.pPlain->OpenDocumentFile(path));
    ASSERT_NE(pDoc, nullptr);
    CRecordingSyntaxView* pView = SyntaxMdiHost::Views(pDoc).front();
    EXPECT_EQ(std::count(pView->m_hints.begin(), pView->m_hints.end(), KLV_SYNTAXEDIT_HINT_RELOAD), 1);
    EXPECT_FALSE(pDoc->IsNewDocument());
    WIN32_FIND_DATAA found{};
    HANDLE hFind = ::FindFirstFileA(path, &found);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
    ::FindClose(hFind);
    EXPECT_EQ(::CompareFileTime(&pDoc->GetFileFindData().ftLastWriteTime, &found.ftLastWriteTime), 0);
    EXPECT_EQ(pView->GetEditCtrl()->GetRowCount(), 2);
    EXPECT_EQ(pDoc->GetBufferManager(), pView->GetEditCtrl()->GetBuffer()) << "the document adopts the control's buffer";
    pDoc->OnCloseDocument();
    ::DeleteFileA(path);
}

TEST(SyntaxEditDoc, OpenFailsWhenTheFileIsGoneAfterLoadingAndAFailedSaveSendsNoHint) {
    SyntaxMdiHost host;
    const CString path = TempPath("kelvane-syntaxdoc-gone.c");
    WriteFile(path, "x");
    {
        BufferPtr buffer = MakeBuffer("");
        CVanishingFileDoc doc;
        doc.m_bAutoDelete = FALSE;
        doc.SetBufferManager(buffer.get());
        EXPECT_FALSE(doc.OnOpenDocument(path));
        EXPECT_EQ(Rows(*buffer), "x") << "the text itself was read";
        doc.SetBufferManager(nullptr);
    }
    EXPECT_EQ(::GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);

    auto* pDoc = static_cast<CKLVSyntaxEditDoc*>(host.pPlain->OpenDocumentFile(nullptr));
    ASSERT_NE(pDoc, nullptr);
    CRecordingSyntaxView* pView = SyntaxMdiHost::Views(pDoc).front();
    pView->m_hints.clear();
    EXPECT_FALSE(pDoc->OnSaveDocument(TempPath("no-such-folder-kelvane\\x.c")));
    EXPECT_EQ(std::count(pView->m_hints.begin(), pView->m_hints.end(), KLV_SYNTAXEDIT_HINT_RELOAD), 0);
    EXPECT_EQ(host.app.m_boxes.size(), 1u) << "the failure is reported";
    const CString saved = TempPath("kelvane-syntaxdoc-saved.c");
    EXPECT_TRUE(pDoc->OnSaveDocument(saved));
    EXPECT_EQ(std::count(pView->m_hints.begin(), pView->m_hints.end(), KLV_SYNTAXEDIT_HINT_RELOAD), 1);
    ::DeleteFileA(saved);
}

// A save writes a temporary file beside the document and moves it over: the text keeps the name
// (and so the colouring) of the file it is saved as, never the temporary one's.
TEST(SyntaxEditDoc, ASaveNamesTheTextAfterTheDocumentNotTheTemporaryFile) {
    SyntaxMdiHost host;
    const CString opened = TempPath("kelvane-syntaxdoc-named.c");
    const struct {
        const char* lpszSavedAs;
        const char* lpszName;
    } cases[] = {{"kelvane-syntaxdoc-named.c", ".c"}, {"kelvane-syntaxdoc-named.xml", ".xml"}};
    for (const auto& c : cases) {
        WriteFile(opened, "int a;");
        auto* pDoc = static_cast<CKLVSyntaxEditDoc*>(host.pPlain->OpenDocumentFile(opened));
        ASSERT_NE(pDoc, nullptr);
        EXPECT_EQ(pDoc->GetBufferManager()->GetFileName(), ".c");
        const CString saved = TempPath(c.lpszSavedAs);
        ASSERT_TRUE(pDoc->OnSaveDocument(saved));
        EXPECT_EQ(pDoc->GetBufferManager()->GetFileName(), c.lpszName) << c.lpszSavedAs;
        pDoc->OnCloseDocument();
        ::DeleteFileA(saved);
    }
    ::DeleteFileA(opened);

    // The buffer alone: storing into any file leaves its name as loaded.
    BufferPtr buffer = MakeBuffer("x");
    buffer->SetFileName(".h");
    const CString temporary = TempPath("kelvane-syntaxdoc-store.tmp");
    {
        CFile file(temporary, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        buffer->Serialize(ar);
    }
    EXPECT_EQ(buffer->GetFileName(), ".h");
    ::DeleteFileA(temporary);
}

TEST(SyntaxEditDoc, SetBufferManagerKeepsTheSameManagerAlive) {
    CKLVSyntaxEditDoc doc;
    doc.m_bAutoDelete = FALSE;
    auto* pBuffer = new CKLVSyntaxEditBufferManager;   // one reference: the test's
    doc.SetBufferManager(pBuffer);
    doc.SetBufferManager(pBuffer);
    EXPECT_EQ(doc.GetBufferManager(), pBuffer);
    pBuffer->InternalRelease();
    EXPECT_EQ(doc.GetBufferManager()->GetRowCount(), 0) << "the document's reference still holds it";
    doc.SetBufferManager(nullptr);
}

TEST(SyntaxEditView, TypingMarksTheTitleOnceAndUndoingToTheSavedStateUnmarksIt) {
    SyntaxMdiHost host;
    CDocument* pDoc = host.pPlain->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    CKLVSyntaxEditCtrl* pCtrl = SyntaxMdiHost::Views(pDoc).front()->GetEditCtrl();
    const CString strTitle = pDoc->GetTitle();
    for (char ch : std::string("abc")) pCtrl->SendMessage(WM_CHAR, static_cast<WPARAM>(ch), 1);
    EXPECT_STREQ(pDoc->GetTitle(), strTitle + " *");
    EXPECT_TRUE(pDoc->IsModified());
    pCtrl->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    pCtrl->SendMessage(WM_CHAR, 'd', 1);
    EXPECT_STREQ(pDoc->GetTitle(), strTitle + " *") << "one mark, however many edits";
    while (pCtrl->CanUndo()) pCtrl->Undo();
    EXPECT_STREQ(pDoc->GetTitle(), strTitle);
    EXPECT_FALSE(pDoc->IsModified());
}

// Text put in by the program and a save change the state without the control's own report.
TEST(SyntaxEditView, InsertedTextMarksTheTitleAndASaveUnmarksIt) {
    SyntaxMdiHost host;
    CDocument* pDoc = host.pPlain->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    CKLVSyntaxEditCtrl* pCtrl = SyntaxMdiHost::Views(pDoc).front()->GetEditCtrl();
    const CString strTitle = pDoc->GetTitle();
    pCtrl->InsertText("int a;\r\nint b;", 1, 1);
    EXPECT_STREQ(pDoc->GetTitle(), strTitle + " *");
    EXPECT_TRUE(pDoc->IsModified());
    pCtrl->InsertText("x", 2, 1);
    EXPECT_STREQ(pDoc->GetTitle(), strTitle + " *") << "one mark, however many inserts";
    const CString saved = TempPath("kelvane-syntaxdoc-marked.c");
    ASSERT_TRUE(pDoc->OnSaveDocument(saved));
    EXPECT_STREQ(pDoc->GetTitle(), strTitle);
    EXPECT_FALSE(pDoc->IsModified());
    pCtrl->SelectAll();
    pCtrl->DeleteSelection();
    EXPECT_STREQ(pDoc->GetTitle(), strTitle + " *") << "a deletion after the save marks it again";
    ::DeleteFileA(saved);
}

TEST(SyntaxEditView, PanesOfASplitterScrollTogetherInTheirSharedDirection) {
    SyntaxMdiHost host;
    CDocument* pDoc = host.pSplit->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    std::string text = std::string(300, 'w') + "\r\n" + NumberedText(100);
    SyntaxMdiHost::SetText(pDoc, text);
    const std::vector<CRecordingSyntaxView*> views = SyntaxMdiHost::Views(pDoc);
    ASSERT_EQ(views.size(), 4u);
    auto pane = [&](int r, int c) {
        for (CRecordingSyntaxView* pView : views) {
            int nRow = -1, nCol = -1;
            pView->GetSharedSplitter(&nRow, &nCol);
            if (nRow == r && nCol == c) return pView->GetEditCtrl();
        }
        return static_cast<CKLVSyntaxEditCtrl*>(nullptr);
    };
    CKLVSyntaxEditCtrl* pSource = pane(0, 0);
    ASSERT_TRUE(pSource && pane(0, 1) && pane(1, 0) && pane(1, 1));
    // The wheel scrolls the rows: the pane beside follows, the one below keeps its rows.
    pSource->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    ASSERT_GT(pSource->GetTopRow(), 1);
    EXPECT_EQ(pane(0, 1)->GetTopRow(), pSource->GetTopRow());
    EXPECT_EQ(pane(1, 0)->GetTopRow(), 1);
    EXPECT_EQ(pane(1, 1)->GetTopRow(), 1);
    // The caret to the end of the long first row scrolls the columns: the pane below follows.
    pSource->SetCurPos(1, 1);
    pSource->SendMessage(WM_KEYDOWN, VK_END, 1);
    ASSERT_GT(pSource->GetHScrollPos(), 0);
    // The pane below shows the source's caret column (its own caret stays where it was).
    EXPECT_NEAR(pane(1, 0)->GetHScrollPos(), pSource->GetHScrollPos(), 4);
    EXPECT_EQ(pane(0, 1)->GetHScrollPos(), 0);
}

TEST(SyntaxEditView, ASecondViewStartsAtTheFirstViewsTopRowAndCaret) {
    SyntaxMdiHost host;
    CDocument* pDoc = host.pPlain->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    SyntaxMdiHost::SetText(pDoc, NumberedText(80));
    CKLVSyntaxEditCtrl* pFirst = SyntaxMdiHost::Views(pDoc).front()->GetEditCtrl();
    pFirst->SetCurPos(30, 3);
    pFirst->SetTopRow(25);
    CFrameWnd* pFrame = host.pPlain->CreateNewFrame(pDoc, nullptr);
    ASSERT_NE(pFrame, nullptr);
    host.pPlain->InitialUpdateFrame(pFrame, pDoc);
    const std::vector<CRecordingSyntaxView*> views = SyntaxMdiHost::Views(pDoc);
    ASSERT_EQ(views.size(), 2u);
    CKLVSyntaxEditCtrl* pSecond = views.back()->GetEditCtrl();
    EXPECT_EQ(pSecond->GetTopRow(), 25);
    EXPECT_EQ(pSecond->GetCurRow(), 30);
    EXPECT_EQ(pSecond->GetCurCol(), 3);
    EXPECT_EQ(pSecond->GetBuffer(), pFirst->GetBuffer());
}

// A parser that keeps the priority it is given.
class CPriorityParser : public FakeLinkParser {
public:
    int GetThreadPriority() const override { return m_nPriority; }
    void SetThreadPriority(int nPriority) override { m_nPriority = nPriority; }
    int m_nPriority = THREAD_PRIORITY_NORMAL;
};

TEST(SyntaxEditView, ActivationSetsTheParsersPriority) {
    SyntaxMdiHost host;
    const KLV_SYNTAXEDIT_LEXER_FACTORY factory = {[] { return static_cast<IKLVSyntaxEditLexParser*>(new CPriorityParser); },
                                                  nullptr};
    KLVSetSyntaxEditLexerFactory(&factory);
    CDocument* pDoc = host.pPlain->OpenDocumentFile(nullptr);
    KLVSetSyntaxEditLexerFactory(nullptr);
    ASSERT_NE(pDoc, nullptr);
    CRecordingSyntaxView* pView = SyntaxMdiHost::Views(pDoc).front();
    auto* pParser = static_cast<CPriorityParser*>(pView->GetEditCtrl()->GetBuffer()->GetLexParser());
    ASSERT_NE(pParser, nullptr);
    pView->OnActivateView(TRUE, pView, nullptr);
    EXPECT_EQ(pParser->GetThreadPriority(), THREAD_PRIORITY_LOWEST);
    EXPECT_TRUE(pView->GetEditCtrl()->IsActive());
    pView->OnActivateView(FALSE, nullptr, pView);
    EXPECT_EQ(pParser->GetThreadPriority(), THREAD_PRIORITY_IDLE);
    EXPECT_FALSE(pView->GetEditCtrl()->IsActive());
}

TEST(SyntaxEditView, EditCommandsAreEnabledByTheControlsState) {
    SyntaxMdiHost host;
    CDocument* pDoc = host.pPlain->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    CRecordingSyntaxView* pView = SyntaxMdiHost::Views(pDoc).front();
    CKLVSyntaxEditCtrl* pCtrl = pView->GetEditCtrl();
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
    const UINT ids[] = {ID_EDIT_UNDO, ID_EDIT_REDO,       ID_EDIT_CUT,  ID_EDIT_COPY,    ID_EDIT_CLEAR,
                        ID_EDIT_PASTE, ID_EDIT_SELECT_ALL, ID_EDIT_FIND, ID_EDIT_REPLACE, ID_EDIT_REPEAT};
    auto states = [&] {
        std::string s;
        for (UINT nID : ids) s += static_cast<char>('0' + IsCommandEnabled(pView, nID));
        return s;
    };
    EXPECT_EQ(states(), "0000001110");
    pCtrl->SendMessage(WM_CHAR, 'a', 1);
    pCtrl->SendMessage(WM_CHAR, 'b', 1);
    EXPECT_EQ(states(), "1000001110");
    pView->SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL);
    EXPECT_EQ(states(), "1011101110");
    pView->SendMessage(WM_COMMAND, ID_EDIT_COPY);
    EXPECT_EQ(states(), "1011111110") << "text on the clipboard";
    pView->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(states(), "0100011110");
    EXPECT_EQ(Rows(*pCtrl->GetBuffer()), "");
}

TEST(SyntaxEditView, DisplayHintsSwitchEveryViewsControlWithoutSavingTheSetting) {
    SyntaxMdiHost host;
    CDocument* pDoc = host.pSplit->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    const struct {
        LPARAM lHint;
        BOOL (CKLVSyntaxEditCtrl::*pGet)() const;
        const char* key;
    } hints[] = {{KLV_SYNTAXEDIT_HINT_LINENUMBERS, &CKLVSyntaxEditCtrl::GetLineNumbers, "LineNumbers"},
                 {KLV_SYNTAXEDIT_HINT_SELMARGIN, &CKLVSyntaxEditCtrl::GetSelMargin, "SelMargin"},
                 {KLV_SYNTAXEDIT_HINT_AUTOINDENT, &CKLVSyntaxEditCtrl::GetAutoIndent, "AutoIndent"},
                 {KLV_SYNTAXEDIT_HINT_SYNTAXCOLOR, &CKLVSyntaxEditCtrl::GetSyntaxColor, "SyntaxColor"}};
    for (const auto& hint : hints) {
        for (BOOL bValue : {FALSE, TRUE}) {
            pDoc->UpdateAllViews(nullptr, hint.lHint, reinterpret_cast<CObject*>(&bValue));
            for (CRecordingSyntaxView* pView : SyntaxMdiHost::Views(pDoc))
                EXPECT_EQ((pView->GetEditCtrl()->*hint.pGet)(), bValue) << hint.key;
        }
        EXPECT_EQ(host.app.GetProfileInt("Settings", hint.key, -1), static_cast<UINT>(-1)) << hint.key;
    }
}

}  // namespace

// A view in a frame keeps the scroll bars with its control; in any other window (a tab container)
// the control uses the view's, and the view's scroll messages move the control.
TEST(SyntaxEditView, OutsideAFrameTheViewsScrollBarsMoveTheControl) {
    SyntaxMdiHost host;
    CDocument* pDoc = host.pPlain->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_FALSE(SyntaxMdiHost::Views(pDoc).front()->GetEditCtrl()->GetUseParentScrollBars());

    CWnd holder;
    ASSERT_TRUE(holder.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300),
                                host.pMain, 0));
    auto* pView = new CRecordingSyntaxView;   // frees itself with its window
    ASSERT_TRUE(pView->Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, CRect(0, 0, 300, 200),
                              &holder, AFX_IDW_PANE_FIRST, nullptr));
    CKLVSyntaxEditCtrl* pCtrl = pView->GetEditCtrl();
    EXPECT_TRUE(pCtrl->GetUseParentScrollBars());
    pCtrl->SetWindowText((std::string(300, 'w') + "\r\n" + NumberedText(100)).c_str());
    pCtrl->UpdateScrollBars();
    const struct {
        UINT nMessage;
        UINT nCode;
        int nTopRow;
        BOOL bScrolledRight;
    } steps[] = {
        {WM_VSCROLL, SB_LINEDOWN, 2, FALSE},  {WM_VSCROLL, SB_LINEUP, 1, FALSE},
        {WM_VSCROLL, SB_PAGEDOWN, -1, FALSE}, {WM_VSCROLL, SB_PAGEUP, 1, FALSE},
        {WM_HSCROLL, SB_LINERIGHT, 1, TRUE},  {WM_HSCROLL, SB_LEFT, 1, FALSE},
    };
    for (const auto& s : steps) {
        pView->SendMessage(s.nMessage, MAKEWPARAM(s.nCode, 0), 0);
        if (s.nTopRow > 0) EXPECT_EQ(pCtrl->GetTopRow(), s.nTopRow) << s.nMessage << "/" << s.nCode;
        else EXPECT_GT(pCtrl->GetTopRow(), 2) << s.nMessage << "/" << s.nCode;   // a page
        EXPECT_EQ(pCtrl->GetHScrollPos() > 0, s.bScrolledRight != FALSE) << s.nMessage << "/" << s.nCode;
    }
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    ASSERT_TRUE(pView->GetScrollInfo(SB_VERT, &si));
    EXPECT_EQ(si.nPos, pCtrl->GetTopRow()) << "the view's own bar shows the control's place";
    pView->DestroyWindow();
}
