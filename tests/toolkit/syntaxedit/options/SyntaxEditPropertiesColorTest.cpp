// In a process of its own: the reload is heard across threads through a hidden window, which
// earlier drag-and-drop tests in the same process were seen to leave deaf.
// The Syntax Color page over a copy of our lexer configuration, on the view of a C file that the
// real lexer colours: what it lists, what Apply writes into the schema files (and nothing before
// Apply), the reload that recolours the open control, opening a schema file, and the list tips
// with the rule that a click which changed no selection does nothing.
#include "SyntaxEditMdiHost.h"
#include "lexer/LexTestSupport.h"
#include "support/DeferredAction.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditConfigManager.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexerFactory.h"
#include "toolkit/syntaxedit/options/SyntaxEditPropertiesDlg.h"

#include <fstream>
#include <sstream>

namespace {

const COLORREF kRed = RGB(255, 0, 0);

std::string ReadAll(const CString& path) {
    std::ifstream in(path.GetString(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string SourceConfig(const char* name) { return ReadAll(CString(KELVANE_SOURCE_DIR "/runtime/config/") + name); }

// The lines of one "lexClass:" block, from its name line to the next block.
std::string BlockOf(const std::string& text, const char* name) {
    const size_t nStart = text.find(std::string("name = ") + name);
    if (nStart == std::string::npos) return "";
    return text.substr(nStart, text.find("lexClass:", nStart) - nStart);
}

std::vector<std::string> ListItems(CListBox& list) { return ItemTexts(list.m_hWnd, false); }

// Registered before the program's buffers exist, so that they share a real configuration.
struct LexerRegistration {
    LexerRegistration() { KLVRegisterSyntaxEditLexer(); }
    ~LexerRegistration() { KLVSetSyntaxEditLexerFactory(nullptr); }
};

class ColorPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories((m_folder.Folder() + "lexer").GetString());
        for (const char* name : {"lexer\\C.lex", "lexer\\XML.lex", "lexer\\Default.theme"}) {
            std::string source = name;
            source.replace(5, 1, "/");
            WriteText(m_folder.Path(name), SourceConfig(source.c_str()));
        }
        // A third scheme without a comment, its class without a display name.
        WriteText(m_folder.Path("SyntaxEdit.ini"), SourceConfig("SyntaxEdit.ini") + "T = t.lex\r\n");
        WriteText(m_folder.Path("t.lex"), "lexClass:\r\n\tname = t_plain\r\n\tparent:file = <*.t>\r\n//:lexClass\r\n");
        WriteText(m_folder.Path("demo.c"), "int x;\r\n");
        m_strOriginalC = ReadAll(m_folder.Path("lexer\\C.lex"));

        m_pDoc = m_host.pPlain->OpenDocumentFile(m_folder.Path("demo.c"));
        ASSERT_NE(m_pDoc, nullptr);
        m_pView = SyntaxMdiHost::Views(m_pDoc).front();
        m_pCtrl = m_pView->GetEditCtrl();
        m_pManager = dynamic_cast<CKLVSyntaxEditConfigManager*>(m_pCtrl->GetBuffer()->GetLexConfigManager());
        ASSERT_NE(m_pManager, nullptr);
        m_pManager->GetFileMonitor().SetPollInterval(10);
        ASSERT_TRUE(m_pCtrl->GetBuffer()->SetConfigFile(m_folder.Path("SyntaxEdit.ini")));
        m_pSheet = std::make_unique<CKLVSyntaxEditPropertiesDlg>(m_pView);
        ASSERT_TRUE(m_pSheet->Create(m_pView));
        ASSERT_TRUE(m_pSheet->SetActivePage(2));
    }
    void TearDown() override {
        if (m_pSheet && m_pSheet->m_hWnd) m_pSheet->DestroyWindow();
    }
    CKLVSyntaxEditPropertiesPageColor& Page() { return m_pSheet->m_pageColor; }
    void Select(CListBox& list, int nID, int nIndex) {
        list.SetCurSel(nIndex);
        Page().SendMessage(WM_COMMAND, MAKEWPARAM(nID, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list.m_hWnd));
    }
    void SelectClass(const char* text) {
        const int nIndex = Page().m_lstClasses.FindStringExact(-1, text);
        ASSERT_GE(nIndex, 0) << text;
        Select(Page().m_lstClasses, 203, nIndex);
    }
    void ChooseColor(CKLVSyntaxEditColorComboBox& combo, int nID, int nIndex) {
        combo.SetCurSel(nIndex);
        Page().SendMessage(WM_COMMAND, MAKEWPARAM(nID, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo.m_hWnd));
    }
    void Check(int nID, BOOL bCheck) {
        Page().CheckDlgButton(nID, bCheck ? BST_CHECKED : BST_UNCHECKED);
        Page().SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(Page().GetDlgItem(nID)->m_hWnd));
    }
    void Apply() {
        m_pSheet->PressButton(PSBTN_APPLYNOW);
        classlib_test::PumpPending();
    }
    // Red pixels of the control as it paints itself now.
    int RedPixels() {
        CRect rc;
        m_pCtrl->GetClientRect(&rc);
        MemoryCanvas canvas(rc.Width(), rc.Height());
        m_pCtrl->Draw(&canvas.dc);
        return CountColor(canvas.dc, CRect(0, 0, rc.Width(), std::min(rc.Height(), 60)), kRed);
    }

    LexerRegistration m_lexer;
    TempFolder m_folder;
    SyntaxMdiHost m_host;
    std::string m_strOriginalC;
    CDocument* m_pDoc = nullptr;
    CKLVSyntaxEditView* m_pView = nullptr;
    CKLVSyntaxEditCtrl* m_pCtrl = nullptr;
    CKLVSyntaxEditConfigManager* m_pManager = nullptr;
    std::unique_ptr<CKLVSyntaxEditPropertiesDlg> m_pSheet;
};

TEST_F(ColorPageTest, ListsSchemesByCommentAndClassesByUnquotedDisplayName) {
    CKLVSyntaxEditPropertiesPageColor& page = Page();
    EXPECT_EQ(ListItems(page.m_lstFileTypes),
              (std::vector<std::string>{"C sources and headers", "WSDL, XML Schema, XML and protocol files", "T"}));
    const std::vector<std::string> classes = ListItems(page.m_lstClasses);
    ASSERT_GE(classes.size(), 3u);
    EXPECT_EQ(classes[0], "C source");
    EXPECT_EQ(classes[1], "Comment");
    EXPECT_EQ(page.m_lstClasses.GetCurSel(), 0);
    for (const std::string& item : classes) EXPECT_EQ(item.find('\''), std::string::npos) << item;

    SelectClass("Keyword");
    EXPECT_EQ(page.m_cmbText.GetSelectedColor(), RGB(0, 0, 255)) << "0x0000FF read as RRGGBB";
    EXPECT_EQ(page.m_clrBack, ::GetSysColor(COLOR_WINDOW)) << "no colour of its own";
    EXPECT_EQ(page.m_cmbBack.GetCurSel(), 0) << "the automatic item";
    EXPECT_TRUE(page.GetDlgItem(204)->IsWindowEnabled());

    Select(page.m_lstFileTypes, 201, 2);
    EXPECT_EQ(ListItems(page.m_lstClasses), std::vector<std::string>{"t_plain"}) << "by its name";
}

TEST_F(ColorPageTest, ApplyRewritesOnlyTheChangedSchemaFile) {
    const std::string strXml = ReadAll(m_folder.Path("lexer\\XML.lex"));
    const std::string strT = ReadAll(m_folder.Path("t.lex"));
    SelectClass("Keyword");
    ChooseColor(Page().m_cmbText, 106, Page().m_cmbText.FindColor(kRed));
    Check(204, TRUE);
    SelectClass("Comment");
    ChooseColor(Page().m_cmbText, 106, 0);   // automatic
    EXPECT_EQ(ReadAll(m_folder.Path("lexer\\C.lex")), m_strOriginalC) << "nothing before Apply";
    Apply();

    const std::string strC = ReadAll(m_folder.Path("lexer\\C.lex"));
    EXPECT_EQ(ReadAll(m_folder.Path("lexer\\XML.lex")), strXml);
    EXPECT_EQ(ReadAll(m_folder.Path("t.lex")), strT);
    const std::string strKeyword = BlockOf(strC, "c_keyword");
    EXPECT_NE(strKeyword.find("\ttxt:colorFG = 0xFF0000\r\n"), std::string::npos) << strKeyword;
    EXPECT_NE(strKeyword.find("\ttxt:Bold = 1\r\n"), std::string::npos) << strKeyword;
    EXPECT_EQ(BlockOf(strC, "c_block_comment").find("colorFG"), std::string::npos) << "the automatic colour has no key";
    EXPECT_NE(BlockOf(strC, "c_line_comment").find("txt:colorFG = 0x008000"), std::string::npos);
    EXPECT_EQ(strC.compare(0, 200, m_strOriginalC, 0, 200), 0) << "the heading comment stays";
    for (size_t i = 0; i < strC.size(); ++i)
        if (strC[i] == '\n') {
            ASSERT_TRUE(i > 0 && strC[i - 1] == '\r') << "a line ends without CR at " << i;
        }
}

TEST_F(ColorPageTest, ApplyThatCannotWriteSaysSoAndKeepsTheChangesForTheNextApply) {
    SelectClass("Keyword");
    ChooseColor(Page().m_cmbText, 106, Page().m_cmbText.FindColor(kRed));
    {
        // Held open the way a reader holds it, for longer than the writer waits.
        CFile held;
        ASSERT_TRUE(held.Open(m_folder.Path("lexer\\C.lex"), CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary));
        Apply();
    }
    EXPECT_EQ(ReadAll(m_folder.Path("lexer\\C.lex")), m_strOriginalC);
    ASSERT_EQ(m_host.app.m_boxes.size(), 1u);
    EXPECT_EQ(m_host.app.m_boxes[0],
              "The schema file C.lex could not be written. Your changes are kept: close any program that holds the "
              "file open and apply again.");
    EXPECT_TRUE(Page().m_bModified);

    Apply();
    EXPECT_NE(BlockOf(ReadAll(m_folder.Path("lexer\\C.lex")), "c_keyword").find("0xFF0000"), std::string::npos)
        << "the kept change written";
    EXPECT_EQ(m_host.app.m_boxes.size(), 1u) << "no second message";
    EXPECT_FALSE(Page().m_bModified);
}

TEST_F(ColorPageTest, CancelWritesNothing) {
    SelectClass("Keyword");
    ChooseColor(Page().m_cmbText, 106, Page().m_cmbText.FindColor(kRed));
    Check(205, TRUE);
    m_pSheet->PressButton(PSBTN_CANCEL);
    classlib_test::PumpPending();
    EXPECT_EQ(ReadAll(m_folder.Path("lexer\\C.lex")), m_strOriginalC);
}

TEST_F(ColorPageTest, TheReloadAfterApplyRecoloursTheOpenControl) {
    // The keyword "int" starts blue; once the file is rewritten it is red in the open control.
    ASSERT_TRUE(PumpUntil([&] { return m_pCtrl->GetTextSchema() != nullptr; }));
    EXPECT_EQ(RedPixels(), 0);
    SelectClass("Keyword");
    ChooseColor(Page().m_cmbText, 106, Page().m_cmbText.FindColor(kRed));
    Apply();
    ASSERT_NE(BlockOf(ReadAll(m_folder.Path("lexer\\C.lex")), "c_keyword").find("0xFF0000"), std::string::npos)
        << "written";
    EXPECT_TRUE(PumpUntil([&] { return RedPixels() > 0; })) << "painted";
}

TEST_F(ColorPageTest, OpenSchemaFileAsksThenOpensItInPlaceOfTheSheet) {
    m_host.app.m_nAnswer = IDNO;
    Page().SendMessage(WM_COMMAND, MAKEWPARAM(201, LBN_DBLCLK), reinterpret_cast<LPARAM>(Page().m_lstFileTypes.m_hWnd));
    ASSERT_EQ(m_host.app.m_boxes.size(), 1u);
    EXPECT_EQ(m_host.app.m_boxes[0], "Open the schema file C.lex in the editor? The options dialog closes.");
    EXPECT_TRUE(::IsWindow(m_pSheet->m_hWnd)) << "No keeps the sheet";

    m_host.app.m_nAnswer = IDYES;
    const CString strPath = m_pManager->GetSchemeEntries().front().strFile;
    Page().SendMessage(WM_COMMAND, MAKEWPARAM(201, LBN_DBLCLK), reinterpret_cast<LPARAM>(Page().m_lstFileTypes.m_hWnd));
    classlib_test::PumpPending();
    BOOL bOpen = FALSE;
    for (CDocTemplate* pTemplate : {static_cast<CDocTemplate*>(m_host.pPlain), static_cast<CDocTemplate*>(m_host.pSplit)}) {
        POSITION pos = pTemplate->GetFirstDocPosition();
        while (pos) bOpen |= pTemplate->GetNextDoc(pos)->GetPathName().CompareNoCase(strPath) == 0;
    }
    EXPECT_TRUE(bOpen) << strPath;
}

TEST_F(ColorPageTest, ContextMenuOverAFileTypeSelectsItAndOffersItsSchemaFile) {
    CKLVSyntaxEditTipListBox& list = Page().m_lstFileTypes;
    CRect rc;
    list.GetItemRect(1, &rc);
    CPoint pt = rc.CenterPoint();
    list.ClientToScreen(&pt);
    m_host.app.m_nAnswer = IDNO;
    // Inside the menu's loop: the first (only) entry chosen with the keys.
    testsupport::CDeferred deferred;
    deferred.Post([&] {
        Page().PostMessage(WM_KEYDOWN, VK_DOWN, 1);
        Page().PostMessage(WM_KEYDOWN, VK_RETURN, 1);
    });
    Page().SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(ListItems(Page().m_lstClasses).front(), "XML document") << "loaded";
    ASSERT_EQ(m_host.app.m_boxes.size(), 1u);
    EXPECT_EQ(m_host.app.m_boxes[0], "Open the schema file XML.lex in the editor? The options dialog closes.");
}

TEST_F(ColorPageTest, ClickThatChangesNoSelectionDoesNothing) {
    CKLVSyntaxEditTipListBox& list = Page().m_lstClasses;
    const int nKeyword = list.FindStringExact(-1, "Keyword");
    const int nLineComment = list.FindStringExact(-1, "Line comment");
    ASSERT_EQ(list.FindStringExact(-1, "String"), nLineComment + 1);
    auto clickItem = [&](int nItem) {
        CRect rc;
        list.GetItemRect(nItem, &rc);
        classlib_test::ClickAt(list, rc.CenterPoint());
        classlib_test::PumpPending();
    };
    // The list shows the Keyword item selected while the page still shows the first class.
    list.SetCurSel(nKeyword);
    clickItem(nKeyword);
    EXPECT_NE(Page().m_clrText, RGB(0, 0, 255)) << "the click changed nothing";
    clickItem(nLineComment);
    EXPECT_EQ(Page().m_clrText, RGB(0, 0x80, 0)) << "the line comment's green";
    // Keys move the selection whatever the last click saw.
    clickItem(nLineComment);
    list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    classlib_test::PumpPending();
    EXPECT_EQ(list.GetCurSel(), nLineComment + 1);
    EXPECT_EQ(Page().m_clrText, RGB(0xA3, 0x15, 0x15)) << "the string's red";
}

TEST_F(ColorPageTest, TipOverAnItemWhoseTextDoesNotFitHidesAfterFiveSeconds) {
    CKLVSyntaxEditTipListBox& list = Page().m_lstFileTypes;
    CKLVSyntaxEditListBoxTipWnd& tip = list.GetTip();
    CRect rcItem;
    list.GetItemRect(1, &rcItem);   // "WSDL, XML Schema, XML and protocol files"
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rcItem.left + 4, rcItem.CenterPoint().y));
    ASSERT_TRUE(tip.m_hWnd);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetShownItem(), 1);
    CRect rcScreen = rcItem;
    list.ClientToScreen(&rcScreen);
    CRect rcTip;
    tip.GetWindowRect(&rcTip);
    EXPECT_EQ(rcTip.left, rcScreen.left);
    EXPECT_GT(rcTip.right, rcScreen.right) << "as wide as the text";
    EXPECT_EQ(rcTip.top, rcScreen.top - 2);
    EXPECT_EQ(rcTip.bottom, rcScreen.bottom + 2);
    char szClass[64] = {};
    ::GetClassNameA(tip.m_hWnd, szClass, sizeof szClass);
    EXPECT_STREQ(szClass, "TarvoshSEListBoxTipWnd");

    tip.SendMessage(WM_TIMER, CKLVSyntaxEditListBoxTipWnd::kHideTimer);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetShownItem(), -1);

    // The pointer itself is nowhere near: the tracking step finds it off the item.
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rcItem.left + 4, rcItem.CenterPoint().y));
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    if (!rcScreen.PtInRect(ptCursor)) {
        tip.SendMessage(WM_TIMER, CKLVSyntaxEditListBoxTipWnd::kTrackTimer);
        EXPECT_FALSE(tip.IsWindowVisible()) << "the pointer left the item";
    }
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rcItem.left + 4, rcItem.CenterPoint().y));
    EXPECT_TRUE(tip.IsWindowVisible());
    list.SendMessage(WM_KEYDOWN, VK_HOME, 0);
    EXPECT_FALSE(tip.IsWindowVisible()) << "a key hides it";
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rcItem.left + 4, 2000));
    EXPECT_FALSE(tip.IsWindowVisible()) << "no item under the pointer";
}

}  // namespace
