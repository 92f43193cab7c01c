// The program under a storm: typing in two tabs while the lexer configuration and a schema file are
// replaced every 200 ms (as another editor saves them) and the editor options' Color page applies.
// Nothing may hang (a watchdog ends a hung run and says which thread was doing what), crash or
// keep GDI and USER handles, and the last settings reach every tab. The colours the typing leaves
// are not compared with a fresh parse here: that is the large-file test's business.
#include "AppTestHost.h"
#include "HangWatchdog.h"

#include "app/QuorlinView.h"
#include "support/TestFiles.h"
#include "toolkit/syntaxedit/lexer/LexTestSupport.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditConfigManager.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexParser.h"
#include "toolkit/syntaxedit/options/SyntaxEditPropertiesDlg.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

using namespace apptest;

namespace {

const int kRewrites = 25;   // one every 200 ms: five seconds of them
// Turns of typing go on while the rewrites do, at least and at most these many; a loaded machine
// types fewer keys among the rewrites, never more than the bound.
const int kMinTurns = 30;
const int kMaxTurns = 400;
const int kApplies = 3;     // of the Color page among the rewrites; one more once they end
const DWORD kHangLimitMs = 10000;

std::string ConfigSource(const char* name) {
    return testsupport::readBytes(std::string(KELVANE_SOURCE_DIR "/runtime/config/") + name);
}

// The file's new contents written beside it, then moved over it, as careful editors save: a
// reader sees the old file or the new one. A reader holding the file open delays the move.
void Replace(const std::string& path, const std::string& contents) {
    const std::string temp = path + ".new";
    testsupport::writeBytes(temp, contents);
    for (int nTry = 0; nTry < 1000; ++nTry) {
        if (::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
        ::Sleep(2);
    }
    ADD_FAILURE() << "could not replace " << path;
}

// Rewrite i of the configuration: the XML scheme left out of every third one, and a comment longer
// at each (the file monitor tells a rewrite within half a second by its size).
std::string IniRewrite(const std::string& original, int i) {
    std::string ini = original;
    if (i % 3 == 1) {
        const size_t nXml = ini.find("XML = ");
        ini.erase(nXml, ini.find('\n', nXml) + 1 - nXml);
    }
    return ini + "; " + std::string(static_cast<size_t>(i + 1) * 100, '-') + "\r\n";
}

int XmlCommentRgb(int i) { return 0x001000 * (i + 1) + 0x40; }

// Rewrite i of the XML schema: its comment class in a colour of its own, the file longer each time.
std::string XmlSchemaRewrite(const std::string& original, int i) {
    std::string schema = original;
    const size_t nComment = schema.find("name = xml_comment");
    const size_t nColor = schema.find("txt:colorFG = ", nComment);
    char szColor[16];
    std::snprintf(szColor, sizeof szColor, "0x%06X", XmlCommentRgb(i));
    schema.replace(nColor + 14, 8, szColor);
    return "// " + std::string(static_cast<size_t>(i + 1) * 10, '-') + "\r\n" + schema;
}

std::string CSourceText() {
    std::string text;
    for (int k = 0; k < 150; ++k) {
        const std::string n = std::to_string(k);
        text += "/* block " + n + " */\r\nstatic int f" + n + "(int a)\r\n{\r\n    const char* s = \"text " + n +
                "\";\r\n    if (a > " + n + ") {\r\n        return a; // more\r\n    }\r\n    return 'x';\r\n}\r\n\r\n";
    }
    return text;
}

std::string WsdlText() {
    std::string text = "<?xml version=\"1.0\"?>\r\n<definitions name=\"stress\">\r\n";
    for (int k = 0; k < 150; ++k) {
        const std::string n = std::to_string(k);
        text += "  <message name=\"m" + n + "\">\r\n    <!-- part " + n +
                " -->\r\n    <part name=\"p\" type=\"xsd:string\"/>\r\n  </message>\r\n";
    }
    return text + "</definitions>\r\n";
}

// A class's text colour in the schema the tab parses with now; -1 without schema or class.
int ClassColor(CKLVSyntaxEditCtrl& ctrl, const char* lpszClass) {
    auto* pSchema = dynamic_cast<CKLVSyntaxEditLexTextSchema*>(ctrl.GetTextSchema());
    CKLVSyntaxEditLexClass* pClass = pSchema ? FindInstance(pSchema->GetClassTree().GetRoots(TRUE), lpszClass) : nullptr;
    return pClass ? pClass->GetAttributeInt("txt:colorFG", FALSE, -1) : -1;
}

class RaceStressTest : public AppTest {
protected:
    struct CTab {
        CquorlinView* pView = nullptr;
        CKLVSyntaxEditCtrl* pCtrl = nullptr;
        CKLVSyntaxEditLexParser* pParser = nullptr;
        std::string keys;   // what is typed into it, over and over
        size_t nNextKey = 0;
        const char* lpszTyping = "";
    };

    RaceStressTest() {
        std::filesystem::create_directories(Folder() + "config\\lexer");
        for (const char* name : {"lexer/C.lex", "lexer/XML.lex", "lexer/Default.theme", "SyntaxEdit.ini"})
            testsupport::writeBytes(ConfigPath(name), ConfigSource(name));
        testsupport::writeBytes(Folder() + "stress.c", CSourceText());
        testsupport::writeBytes(Folder() + "stress.wsdl", WsdlText());
    }
    std::string ConfigPath(const std::string& name) const {
        std::string path = Folder() + "config\\" + name;
        for (char& ch : path)
            if (ch == '/') ch = '\\';
        return path;
    }

    // Opens both tabs, then points the configuration every editor shares at the copy this test
    // rewrites (opening a tab points it at the program's own), watched every 50 ms.
    void OpenTabs() {
        const struct {
            const char* lpszFile;
            const char* lpszKeys;
            const char* lpszTyping;
        } tabs[] = {{"stress.c", "int a = 1; /* x \"y\" */ char* s = \"t\"; // z\r{\r}\r", "typing into the C tab"},
                    {"stress.wsdl", "<e a=\"1\"><!-- c --></e>\r<f>\r</f>\r", "typing into the WSDL tab"}};
        for (size_t i = 0; i < 2; ++i) {
            ASSERT_TRUE(Frame().openDocument(Folder() + tabs[i].lpszFile));
            CTab& tab = m_tabs[i];
            tab.pView = Frame().GetTabView(Frame().FindTab(tabs[i].lpszFile));
            ASSERT_NE(tab.pView, nullptr);
            tab.pCtrl = tab.pView->GetEditCtrl();
            tab.pParser = dynamic_cast<CKLVSyntaxEditLexParser*>(tab.pCtrl->GetBuffer()->GetLexParser());
            ASSERT_NE(tab.pParser, nullptr);
            tab.keys = tabs[i].lpszKeys;
            tab.lpszTyping = tabs[i].lpszTyping;
        }
        auto* pManager = dynamic_cast<CKLVSyntaxEditConfigManager*>(m_tabs[0].pCtrl->GetBuffer()->GetLexConfigManager());
        ASSERT_NE(pManager, nullptr);
        pManager->GetFileMonitor().SetPollInterval(50);
        ASSERT_TRUE(m_tabs[0].pCtrl->SetConfigFile(ConfigPath("SyntaxEdit.ini").c_str()));
    }

    void Step(const char* lpszWhat) {
        if (m_pWatchdog) m_pWatchdog->Step(m_nUi, lpszWhat);
    }

    // A turn of the user: a key into each tab, now and then somewhere else in it, then the
    // messages that came meanwhile.
    void TypeTurn() {
        const int nTurn = m_nTurn++;
        for (CTab& tab : m_tabs) {
            Step(tab.lpszTyping);
            if (nTurn % 20 == 0) tab.pCtrl->SetCurPos(1 + (nTurn * 37) % tab.pCtrl->GetRowCount(), 1);
            const char ch = tab.keys[tab.nNextKey++ % tab.keys.size()];
            tab.pCtrl->SendMessage(WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)), 1);
        }
        Step("dispatching the messages sent and posted to the user interface thread");
        classlib_test::PumpUntil([] { return false; }, 1);
    }

    // The editor options on the tab's view: a tab size on the first page, a keyword colour on the
    // Color page, Apply, then OK; typing goes on in both tabs while the options are open.
    void ApplyOptions(CTab& tab, int nTabSize, COLORREF clrKeyword) {
        Step("activating a tab");
        Frame().MDIActivate(tab.pView->GetParentFrame());
        InNextDialog("Edit Options", [this, nTabSize, clrKeyword](CWnd& dlg) {
            Step("filling the editor options");
            auto* pSheet = dynamic_cast<CKLVSyntaxEditPropertiesDlg*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()));
            ASSERT_NE(pSheet, nullptr);
            FillOptions(*pSheet, nTabSize, clrKeyword);
            Step("pressing OK in the editor options");
            pSheet->PressButton(HasFatalFailure() ? PSBTN_CANCEL : PSBTN_OK);
        });
        Step("in the editor options' modal loop");
        Command(ID_SYNTAX_OPTION);
    }
    void FillOptions(CKLVSyntaxEditPropertiesDlg& sheet, int nTabSize, COLORREF clrKeyword) {
        ASSERT_TRUE(sheet.SetActivePage(0));
        ::SetDlgItemTextA(sheet.m_pageEdit.GetSafeHwnd(), 108, std::to_string(nTabSize).c_str());
        Step("showing the Color page");
        ASSERT_TRUE(sheet.SetActivePage(2));
        CKLVSyntaxEditPropertiesPageColor& page = sheet.m_pageColor;
        Step("choosing the keyword colour on the Color page");
        ASSERT_EQ(page.m_lstFileTypes.GetCurSel(), 0);
        const int nClass = page.m_lstClasses.FindStringExact(-1, "Keyword");
        ASSERT_GE(nClass, 0);
        page.m_lstClasses.SetCurSel(nClass);
        page.SendMessage(WM_COMMAND, MAKEWPARAM(203, LBN_SELCHANGE), reinterpret_cast<LPARAM>(page.m_lstClasses.m_hWnd));
        const int nColor = page.m_cmbText.FindColor(clrKeyword);
        ASSERT_GE(nColor, 0);
        page.m_cmbText.SetCurSel(nColor);
        page.SendMessage(WM_COMMAND, MAKEWPARAM(106, CBN_SELCHANGE), reinterpret_cast<LPARAM>(page.m_cmbText.m_hWnd));
        for (int i = 0; i < 5; ++i) TypeTurn();
        Step("pressing Apply on the Color page");
        sheet.PressButton(PSBTN_APPLYNOW);
        for (int i = 0; i < 5; ++i) TypeTurn();
    }

    // Both parsers done, and the tabs parse with the keyword and comment colours given.
    bool Settled(int nKeywordColor, int nCommentColor) {
        Step("pumping until the last settings reach every tab");
        for (CTab& tab : m_tabs)
            if (!tab.pParser->IsIdle()) return false;
        return ClassColor(*m_tabs[0].pCtrl, "c_keyword") == nKeywordColor &&
               ClassColor(*m_tabs[1].pCtrl, "xml_comment") == nCommentColor;
    }

    // Counted with every window painted whole: what the system keeps for a window and what the
    // program caches for painting then exist, and no update is pending.
    classlib_test::HandleCounts HandlesOnceRepainted() {
        Step("repainting every window");
        Frame().RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return classlib_test::CountHandles();
    }

    CTab m_tabs[2];
    int m_nTurn = 0;
    CHangWatchdog* m_pWatchdog = nullptr;
    int m_nUi = 0;
};

TEST_F(RaceStressTest, TypingWhileTheConfigurationIsRewrittenAndTheColorPageAppliesEndsWithEveryTabSetAndNoHandleKept) {
    ASSERT_NO_FATAL_FAILURE(OpenTabs());
    const std::string ini = testsupport::readBytes(ConfigPath("SyntaxEdit.ini"));
    const std::string xmlSchema = testsupport::readBytes(ConfigPath("lexer\\XML.lex"));
    const COLORREF colors[kApplies + 2] = {RGB(0x80, 0x00, 0x80), RGB(0x00, 0x80, 0x80), RGB(0x80, 0x80, 0x00),
                                           RGB(0xFF, 0x00, 0x00), RGB(0x00, 0x80, 0x00)};

    // A first round makes what lives as long as the program (fonts, caches, the dialog's
    // resources), so that the handles counted after it are the ones the storm must give back.
    CHangWatchdog watchdog(kHangLimitMs);
    m_pWatchdog = &watchdog;
    // Whatever ends the test, later steps (a dialog's deferred action) tell no watchdog.
    const std::unique_ptr<void, std::function<void(void*)>> forget(this, [this](void*) { m_pWatchdog = nullptr; });
    m_nUi = watchdog.Join("user interface");
    watchdog.WatchMessages(m_nUi);
    for (int i = 0; i < 5; ++i) TypeTurn();
    ASSERT_NO_FATAL_FAILURE(ApplyOptions(m_tabs[0], 5, colors[0]));
    ASSERT_TRUE(PumpUntilDoneOrHung([&] {
        return Settled(static_cast<int>(colors[0]), static_cast<int>(CKLVSyntaxEditLexClass::RgbToColorRef(0x008000)));
    }, 60000)) << "the first round settles";
    const classlib_test::HandleCounts before = HandlesOnceRepainted();

    const int nWriter = watchdog.Join("rewriting");
    std::atomic<int> nRewritten{0};
    std::thread writer([&] {
        for (int i = 0; i < kRewrites; ++i) {
            watchdog.Step(nWriter, "waiting 200 ms before a rewrite");
            ::Sleep(200);
            watchdog.Step(nWriter, "replacing SyntaxEdit.ini");
            Replace(ConfigPath("SyntaxEdit.ini"), IniRewrite(ini, i));
            watchdog.Step(nWriter, "replacing XML.lex");
            Replace(ConfigPath("lexer\\XML.lex"), XmlSchemaRewrite(xmlSchema, i));
            ++nRewritten;
        }
        watchdog.Leave(nWriter);
    });
    // The Color page applies at even steps among the rewrites, from each tab in turn.
    int nApplied = 0;
    for (int nTurn = 0; nTurn < kMaxTurns && (nTurn < kMinTurns || nRewritten < kRewrites); ++nTurn) {
        if (nApplied < kApplies && nRewritten >= (nApplied + 1) * kRewrites / (kApplies + 1)) {
            ApplyOptions(m_tabs[static_cast<size_t>(nApplied % 2)], 6 + nApplied, colors[1 + nApplied]);
            ++nApplied;
        }
        TypeTurn();
    }
    PumpUntilDoneOrHung([&] {
        Step("pumping until the rewrites end");
        return nRewritten == kRewrites;
    });
    writer.join();
    ASSERT_EQ(nRewritten, kRewrites);

    // The last settings, then everything given time to reach the tabs.
    const COLORREF clrLast = colors[1 + kApplies];
    ApplyOptions(m_tabs[1], 9, clrLast);
    const int nLastComment = static_cast<int>(CKLVSyntaxEditLexClass::RgbToColorRef(XmlCommentRgb(kRewrites - 1)));
    const bool bSettled = PumpUntilDoneOrHung([&] { return Settled(static_cast<int>(clrLast), nLastComment); }, 60000);
    for (CTab& tab : m_tabs) {
        EXPECT_TRUE(tab.pParser->IsIdle()) << tab.lpszTyping;
        EXPECT_EQ(tab.pCtrl->GetTabSize(), 9) << tab.lpszTyping;
    }
    EXPECT_TRUE(bSettled);
    EXPECT_EQ(ClassColor(*m_tabs[0].pCtrl, "c_keyword"), static_cast<int>(clrLast)) << "the Color page's last colour";
    EXPECT_EQ(ClassColor(*m_tabs[1].pCtrl, "xml_comment"), nLastComment) << "the last rewrite of the schema file";
    EXPECT_GT(m_tabs[0].pCtrl->GetRowCount(), 1500) << "the typing reached the text";
    EXPECT_EQ(HandlesOnceRepainted(), before);
}

}  // namespace
