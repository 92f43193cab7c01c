// One user's session in the program, from File New on our example document to closing the
// frame: generation, the editor's commands in the "_api.c" tab, the editor options, the project's
// properties and build commands, Close and the recent entry. Dialogs are filled from inside
// their modal loops; started processes are recorded; texts are read from the windows and disk.
#include "AppTestHost.h"

#include "app/QuorlinView.h"
#include "project/BuildCommandLines.h"
#include "support/TestFiles.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexParser.h"
#include "toolkit/syntaxedit/options/SyntaxEditPropertiesDlg.h"
#include "toolkit/syntaxedit/view/SyntaxEditFindReplaceDlg.h"

#include <filesystem>

using namespace apptest;

namespace {

class EndToEndTest : public AppTest {
protected:
    void NewProjectOnTheExample() {
        const std::string wsdl = Folder() + "calculator.wsdl";
        std::filesystem::copy_file(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl", wsdl);
        InNextDialog("New Project", [&](CWnd& dlg) {
            SetControlText(dlg, IDC_WSDL_FILE, wsdl.c_str());
            HWND hName = ::GetDlgItem(dlg.GetSafeHwnd(), IDC_NAME);
            ::SendMessageA(hName, WM_SETFOCUS, 0, 0);
            for (char ch : std::string("calc")) ::SendMessageA(hName, WM_CHAR, static_cast<WPARAM>(ch), 0);
            SelectEntry(dlg, IDC_TARGET_PLATFORM, "Windows");
            SelectEntry(dlg, IDC_LIBRARY_TYPE, "static library");
            SetControlText(dlg, IDC_LOCATION, Folder().c_str());
            Click(dlg, IDOK);
        });
        Command(ID_FILE_NEW_PROJECT);
    }
    void SetPlatform(const char* lpszPlatform) {
        InNextDialog("Project Properties", [lpszPlatform](CWnd& dlg) {
            SelectEntry(dlg, IDC_TARGET_PLATFORM, lpszPlatform);
            Click(dlg, IDOK);
        });
        Command(ID_PROJECT_PROPERTIES);
    }
    CquorlinView& View(const std::string& caption) {
        const int nTab = Frame().FindTab(caption);
        EXPECT_GE(nTab, 0) << caption;
        CquorlinView* pView = Frame().GetTabView(nTab);
        if (!pView) throw std::runtime_error("no view for " + caption);
        return *pView;
    }
    // Waits until the tab's background parser has finished and found blocks.
    static bool ParsedWithBlocks(CKLVSyntaxEditCtrl& ctrl) {
        auto* pParser = dynamic_cast<CKLVSyntaxEditLexParser*>(ctrl.GetBuffer()->GetLexParser());
        if (!pParser) return false;
        return PumpUntilDoneOrHung([&] {
            std::vector<CKLVSyntaxEditCollapsedBlock> regions;
            CKLVSchemaHandlePtr pAnchor;
            if (!pParser->IsIdle()) return false;
            if (IKLVSyntaxEditTextSchema* pSchema = ctrl.GetTextSchema()) pSchema->GetFoldRegions(-1, regions, pAnchor, FALSE);
            return !regions.empty();
        });
    }
    static void Type(CKLVSyntaxEditCtrl& ctrl, const std::string& text) {
        for (char ch : text) ctrl.SendMessage(WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)), 1);
    }
    static void DialogCommand(HWND hDlg, int nID) {
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nID)));
    }
    static void TypeIntoCombo(HWND hDlg, int nID, const char* lpszText) {
        ::SetDlgItemTextA(hDlg, nID, lpszText);
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nID)));
    }
};

TEST_F(EndToEndTest, ASessionFromFileNewToClosingTheFrame) {
    NewProjectOnTheExample();
    ASSERT_NE(Frame().GetProject(), nullptr);
    EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"calc_api_demo.c", "calc_api.c", "calc_api.h", "calculator.wsdl"}));

    // Generate Code fills the three source tabs, unsaved.
    Command(ID_GENERATE_CODE);
    IdleUpdate();
    const std::string output = OutputText();
    EXPECT_EQ(output.rfind("Start Generating...\r\n", 0), 0u) << output;
    EXPECT_NE(output.find("Successfully Generated!\r\n"), std::string::npos) << output;
    EXPECT_EQ(TabCaptions(),
              (std::vector<std::string>{"calc_api_demo.c *", "calc_api.c *", "calc_api.h *", "calculator.wsdl"}));

    // Save writes what the command-line generator writes for the same document.
    Command(ID_FILE_SAVE_PROJECT);
    IdleUpdate();
    EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"calc_api_demo.c", "calc_api.c", "calc_api.h", "calculator.wsdl"}));
    const std::string kvgenFolder = GenerateAsKvgen();
    for (const char* suffix : {"_api_demo.c", "_api.c", "_api.h"}) {
        const std::string saved = testsupport::readBytes(Folder() + "calc" + suffix);
        EXPECT_FALSE(saved.empty()) << suffix;
        EXPECT_TRUE(saved == testsupport::readBytes(kvgenFolder + "calc" + suffix)) << suffix;
    }

    // The editor's commands in the "_api.c" tab, reached through the frame as the menus send them.
    CquorlinView& view = View("calc_api.c");
    CKLVSyntaxEditCtrl& ctrl = *view.GetEditCtrl();
    Frame().MDIActivate(view.GetParentFrame());
    ASSERT_TRUE(ParsedWithBlocks(ctrl)) << "the tab is coloured and its blocks found";
    const int nRows = ctrl.GetRowCount();
    ASSERT_GT(nRows, 40);

    ctrl.SetFocus();
    ctrl.SetCurPos(1, 1);
    Type(ctrl, "/* typed */");
    EXPECT_EQ(std::string(ctrl.GetRowText(1)).rfind("/* typed */", 0), 0u) << std::string(ctrl.GetRowText(1));
    IdleUpdate();
    EXPECT_EQ(TabCaptions()[1], "calc_api.c *");

    Command(ID_EDIT_REPLACE);
    HWND hReplace = view.GetFindReplaceDlg().GetSafeHwnd();
    ASSERT_TRUE(hReplace);
    TypeIntoCombo(hReplace, 101, "/* typed */");
    TypeIntoCombo(hReplace, 100, "/* replaced */");
    DialogCommand(hReplace, 108);
    EXPECT_EQ(Record().boxes, std::vector<std::string>{"1 match found and replaced!"});
    EXPECT_EQ(std::string(ctrl.GetRowText(1)).rfind("/* replaced */", 0), 0u) << std::string(ctrl.GetRowText(1));
    view.GetFindReplaceDlg().CloseDialog();

    Command(ID_GOTO_LINE);
    HWND hGoTo = view.m_dlgGoToLine.GetSafeHwnd();
    ASSERT_TRUE(hGoTo);
    ::SetDlgItemTextA(hGoTo, 101, "20");
    DialogCommand(hGoTo, 102);
    EXPECT_EQ(ctrl.GetCurRow(), 20);
    EXPECT_EQ(view.m_dlgGoToLine.GetSafeHwnd(), nullptr) << "Go To closes after going";

    Command(ID_TOGGLE_BOOKMARK);
    ctrl.SetCurPos(1, 1);
    EXPECT_EQ(Enabled(ID_NEXT_BOOKMARK), 1);
    Command(ID_NEXT_BOOKMARK);
    EXPECT_EQ(ctrl.GetCurRow(), 20);

    Command(ID_COLLAPSE_ALL);
    EXPECT_LT(ctrl.GetVisibleRowNumber(-1), nRows) << "collapsed blocks hide their rows";
    Command(ID_EXPAND_ALL);
    EXPECT_EQ(ctrl.GetVisibleRowNumber(-1), nRows);

    // A changed editor option reaches every tab, not only the one it was set from.
    InNextDialog("Edit Options", [](CWnd& dlg) {
        auto* pSheet = dynamic_cast<CKLVSyntaxEditPropertiesDlg*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()));
        ASSERT_NE(pSheet, nullptr);
        ::SetDlgItemTextA(pSheet->GetActivePage()->GetSafeHwnd(), 108, "7");
        pSheet->PressButton(PSBTN_OK);
    });
    Command(ID_SYNTAX_OPTION);
    for (int i = 0; i < Frame().tabCount(); ++i) {
        ASSERT_NE(Frame().GetTabView(i), nullptr) << i;
        EXPECT_EQ(Frame().GetTabView(i)->GetEditCtrl()->GetTabSize(), 7) << TabCaptions()[static_cast<size_t>(i)];
    }

    // Unix: Generate Makefile writes the makefile; Windows again: the three build commands start.
    SetPlatform("Unix(Linux)");
    ASSERT_EQ(Frame().GetProject()->targetPlatform, CProjectRecord::Unix);
    EXPECT_EQ(Enabled(ID_GENERATE_MAKEFILE), 1);
    Command(ID_GENERATE_MAKEFILE);
    EXPECT_FALSE(testsupport::readBytes(Folder() + "Makefile").empty());
    SetPlatform("Windows");
    ASSERT_EQ(Frame().GetProject()->targetPlatform, CProjectRecord::Windows);
    for (UINT nID : {ID_COMPILE, ID_COMPILE_DEMO, ID_RUN_DEMO}) EXPECT_EQ(Enabled(nID), 1) << nID;
    Frame().m_nCompilerKind = CMainFrame::compilerVisualCpp;
    Frame().m_strCompilerPath = "C:\\vc\\bin\\vcvars32.bat";
    Record().processes.clear();
    const CProjectRecord& project = *Frame().GetProject();
    const auto buildEnds = [&] { return PumpUntilDoneOrHung([&] { return !Frame().IsBuildRunning(); }); };
    // Each line runs to its end, shown first; neither vcvars32.bat nor cl.exe is there, so each fails.
    Command(ID_COMPILE);
    ASSERT_TRUE(buildEnds());
    EXPECT_EQ(OutputText().rfind("Compiling " + libraryProducts(project).front() + "\r\n> " +
                                     libraryCompileLine(project, "C:\\vc\\bin\\vcvars32.bat") + "\r\n", 0),
              0u)
        << OutputText();
    EXPECT_NE(OutputText().find("Compiling failed: cmd.exe exited with code "), std::string::npos) << OutputText();
    Command(ID_COMPILE_DEMO);
    ASSERT_TRUE(buildEnds());
    EXPECT_NE(OutputText().find("> " + demoCompileLine(project, "C:\\vc\\bin\\vcvars32.bat") + "\r\n"), std::string::npos)
        << OutputText();
    EXPECT_NE(OutputText().find("Compiling failed: cmd.exe exited with code "), std::string::npos) << OutputText();
    Command(ID_RUN_DEMO);
    EXPECT_EQ(OutputText().rfind("There is no demo to run: ", 0), 0u) << OutputText();
    EXPECT_TRUE(Record().processes.empty());

    EXPECT_EQ(testsupport::readBytes(Folder() + "calc_api.c").rfind("/* replaced */", 0), 0u) << "Compile saved first";

    // Close saves a tab changed since and leaves none; the recent entry opens the project again.
    CKLVSyntaxEditCtrl& demo = *View("calc_api_demo.c").GetEditCtrl();
    demo.SetCurPos(1, 1);
    Type(demo, "/* closing */");
    Command(ID_FILE_CLOSE_PROJECT);
    IdleUpdate();
    EXPECT_EQ(Frame().tabCount(), 0);
    EXPECT_EQ(Frame().GetProject(), nullptr);
    EXPECT_EQ(testsupport::readBytes(Folder() + "calc_api_demo.c").rfind("/* closing */", 0), 0u);
    ASSERT_EQ((*m_app.m_pRecentFileList)[0], (Folder() + "calc.zbq").c_str());
    Command(ID_FILE_MRU_FILE1);
    ASSERT_NE(Frame().GetProject(), nullptr);
    EXPECT_EQ(Frame().GetProject()->name, "calc");
    EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"calc_api_demo.c", "calc_api.c", "calc_api.h", "calculator.wsdl"}));

    // Closing the frame saves a tab changed since.
    CKLVSyntaxEditCtrl& reopened = *View("calc_api.h").GetEditCtrl();
    reopened.SetCurPos(1, 1);
    Type(reopened, "/* last */");
    Frame().DestroyWindow();
    classlib_test::PumpPending();
    EXPECT_EQ(testsupport::readBytes(Folder() + "calc_api.h").rfind("/* last */", 0), 0u);
}

}  // namespace
