// The main frame: its command table's update rules, the windows it lends the docking panes, and
// saving when it closes.
#include "AppTestHost.h"

#include "app/AboutDlg.h"
#include "app/HelpViewer.h"
#include "app/ShellOpen.h"
#include "project/SolutionFile.h"
#include "support/TestFiles.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <fstream>

using namespace apptest;

namespace {

using MainFrameTest = AppTest;

// Commands with an update rule and whether each is enabled with no project, with a Windows and
// with a Unix project.
struct RuleCase {
    UINT nID;
    int nNoProject, nWindows, nUnix;
};
const RuleCase s_rules[] = {
    {ID_FILE_NEW_PROJECT, 1, 1, 1},   {ID_FILE_OPEN_PROJECT, 1, 1, 1},  {ID_FILE_OPEN_EXAMPLE, 1, 1, 1},
    {ID_FILE_SAVE_PROJECT, 0, 1, 1},  {ID_FILE_SAVE_PROJECT_2, 0, 1, 1}, {ID_FILE_CLOSE_PROJECT, 0, 1, 1},
    {ID_FILE_CLOSE_PROJECT_2, 0, 1, 1}, {ID_PROJECT_PROPERTIES, 0, 1, 1}, {ID_PACKET_DIAGRAM, 0, 1, 1},
    {ID_GENERATE_MAKEFILE, 0, 0, 1},  {ID_GENERATE_CODE, 0, 1, 1},     {ID_COMPILE, 0, 1, 0},
    {ID_COMPILE_DEMO, 0, 1, 0},       {ID_RUN_DEMO, 0, 1, 0},          {ID_OPTION, 1, 1, 1},
    {ID_HELP_TOPICS, 1, 1, 1},        {ID_WEB_PAGE, 1, 1, 1},          {ID_ABOUT, 1, 1, 1},
    {ID_PROJECT_COMMAND, 0, 1, 1},    {ID_CALL_SERVICE, 0, 1, 1},
};

TEST_F(MainFrameTest, EnableRulesFollowTheProjectAndItsPlatform) {
    for (const RuleCase& rule : s_rules) EXPECT_EQ(Enabled(rule.nID), rule.nNoProject) << "no project: " << rule.nID;
    UseProject(CProjectRecord::Windows);
    for (const RuleCase& rule : s_rules) EXPECT_EQ(Enabled(rule.nID), rule.nWindows) << "Windows: " << rule.nID;
    UseProject(CProjectRecord::Unix);
    for (const RuleCase& rule : s_rules) EXPECT_EQ(Enabled(rule.nID), rule.nUnix) << "Unix: " << rule.nID;
    // The protocol commands are off while no protocol record is current in the tree.
    Frame().GetPaneWindow(IDP_SOLUTION_EXPLORER);
    for (UINT nID : {ID_ADD_PACKET, ID_REMOVE_PACKET, ID_ADD_FIELD, ID_REMOVE_FIELD})
        EXPECT_EQ(Enabled(nID), 0) << nID;
}

TEST_F(MainFrameTest, StartsWithNoProjectAndNoTabAndTheOutputPaneDocked) {
    EXPECT_EQ(Frame().GetProject(), nullptr);
    EXPECT_EQ(Frame().tabCount(), 0);
    CKLVDockingPane* pOutput = Frame().m_paneManager.FindPane(IDP_OUTPUT);
    ASSERT_NE(pOutput, nullptr);
    EXPECT_TRUE(pOutput->IsAttached());
    EXPECT_EQ(pOutput->GetChild(), Frame().m_wndOutput.GetSafeHwnd());
    // Read-only, with the flat border in place of the client edge.
    EXPECT_TRUE(Frame().m_wndOutput.GetStyle() & ES_READONLY);
    EXPECT_FALSE(Frame().m_wndOutput.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_EQ(g_strDefaultProjectLocation, Frame().applicationFolder().c_str() + CString("example"));
}

TEST_F(MainFrameTest, PanesGetTheirWindowsOnceAndUnknownPanesNone) {
    struct PaneCase {
        UINT nID;
        CWnd* pExpected;
    };
    const PaneCase cases[] = {{IDP_SOLUTION_EXPLORER, &Frame().m_wndSolutionExplorer},
                              {IDP_PROPERTIES, &Frame().m_wndProperties},
                              {IDP_OPTIONS_FIRST, &Frame().m_wndOptions},
                              {IDP_OPTIONS_SECOND, &Frame().m_wndOptions},
                              {999, nullptr}};
    for (const PaneCase& paneCase : cases) {
        CKLVDockingPane* pPane = Frame().m_paneManager.CreatePane(paneCase.nID, CRect(0, 0, 100, 100), klvDockLeft);
        ASSERT_NE(pPane, nullptr);
        for (int nRound = 0; nRound < 2; ++nRound) {
            EXPECT_EQ(Frame().SendMessage(KLV_WM_DOCKINGPANENOTIFY, klvDockingPaneShowWindow,
                                          reinterpret_cast<LPARAM>(pPane)),
                      1);
            EXPECT_EQ(pPane->GetChild(), AfxGetSafeHwnd(paneCase.pExpected)) << paneCase.nID;
        }
    }
    // The explorer's tree holds the root alone, with the frame's images.
    COfficeTreeCtrl& tree = Frame().m_wndSolutionExplorer.m_wndTree;
    EXPECT_EQ(tree.GetCount(), 1u);
    EXPECT_EQ(tree.GetTreeItem(tree.GetRootItem())->nKind, CSolutionTreeItem::kindRoot);
    EXPECT_EQ(tree.GetImageList(TVSIL_NORMAL)->GetSafeHandle(), Frame().m_ilSolutionTree.GetSafeHandle());
    // A second creation message adds no second root.
    Frame().m_wndSolutionExplorer.SendMessage(WM_CREATE, 0, 0);
    EXPECT_EQ(tree.GetCount(), 1u);
}

TEST_F(MainFrameTest, ClosingAPaneHidesItInstead) {
    CKLVDockingPane* pOutput = Frame().m_paneManager.FindPane(IDP_OUTPUT);
    ASSERT_NE(pOutput, nullptr);
    EXPECT_EQ(Frame().SendMessage(KLV_WM_DOCKINGPANENOTIFY, klvDockingPaneClosing, reinterpret_cast<LPARAM>(pOutput)),
              -1);
    EXPECT_EQ(Frame().m_paneManager.FindPane(IDP_OUTPUT), pOutput);
    EXPECT_TRUE(pOutput->IsHidden());
    EXPECT_EQ(Frame().SendMessage(KLV_WM_DOCKINGPANENOTIFY, 99, reinterpret_cast<LPARAM>(pOutput)), 0);
}

TEST_F(MainFrameTest, ClosingTheFrameSavesTheSolutionAndTheModifiedTabs) {
    const CProjectRecord& project = UseProject(CProjectRecord::Unix);
    const std::string source = Folder() + "calc_api.c";
    testsupport::writeBytes(source, "old\r\n");
    ASSERT_TRUE(Frame().openDocument(source));
    Frame().replaceTabText(0, "int main(void)\r\n{\r\n}\r\n");
    const std::string solution = solutionFilePath(project);
    CProjectRecord expected = project;
    Frame().SendMessage(WM_CLOSE);
    m_pFrame = nullptr;
    classlib_test::PumpPending();
    EXPECT_EQ(testsupport::readBytes(source), "int main(void)\r\n{\r\n}\r\n");
    CProjectRecord saved;
    ASSERT_EQ(loadSolution(solution, saved), 0);
    EXPECT_EQ(saved.name, expected.name);
    EXPECT_EQ(saved.targetPlatform, expected.targetPlatform);
}

// A floating pane draws its own frame and caption, with the theme's buttons: the system draws no
// caption for it, whose buttons are letters of a symbol font where that font is missing.
TEST_F(MainFrameTest, AFloatingPaneDrawsItsOwnCaptionAndButtons) {
    Frame().GetPaneWindow(IDP_OUTPUT);
    CKLVDockingPane* pPane = Frame().m_paneManager.FindPane(IDP_OUTPUT);
    ASSERT_NE(pPane, nullptr);
    auto* pFrame = dynamic_cast<CKLVDockingPaneMiniWnd*>(Frame().m_paneManager.FloatPane(pPane, CRect(100, 100, 400, 300)));
    ASSERT_NE(pFrame, nullptr);
    ASSERT_TRUE(pFrame->GetSafeHwnd());
    classlib_test::PumpPending();
    EXPECT_NE(pFrame->GetStyle() & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    CRect rcWindow, rcClient;
    pFrame->GetWindowRect(&rcWindow);
    pFrame->GetClientRect(&rcClient);
    pFrame->ClientToScreen(&rcClient);
    EXPECT_GE(rcClient.top - rcWindow.top, 12) << "the theme's caption stands above the pane";
    const CKLVDockingPaneCaptionButton* pClose = pFrame->FindCaptionButton(klvCaptionButtonClose);
    ASSERT_NE(pClose, nullptr);
    EXPECT_FALSE(pClose->GetRect().IsRectEmpty());
}

// Help > Web page says why when the address cannot be opened: at once when the system refuses it,
// and afterwards when the program it started for the address ends with a failure code.
TEST_F(MainFrameTest, AWebPageThatCannotBeOpenedSaysWhy) {
    Record().strShellOpenFailure = "the system cannot open it: error 1155";
    Command(ID_WEB_PAGE);
    ASSERT_EQ(Record().boxes.size(), 1u);
    EXPECT_EQ(Record().boxes[0], std::string("The web page ") + g_lpszWebPage +
                                     " cannot be opened: the system cannot open it: error 1155.");
    // A started program that fails: its code and name reach the frame once it ends.
    const std::string strScript = Folder() + "fails.cmd";
    testsupport::writeBytes(strScript, "@exit /b 3\r\n");
    EXPECT_EQ(CShellOpen::Open(Frame().GetSafeHwnd(), strScript), "");
    ASSERT_TRUE(PumpUntilDoneOrHung([] { return Record().boxes.size() == 2; }));
    EXPECT_NE(Record().boxes[1].find("cannot be opened: cmd.exe ended with code 3."), std::string::npos)
        << Record().boxes[1];
    EXPECT_NE(CShellOpen::Open(Frame().GetSafeHwnd(), Folder() + "missing.cmd").find("the system cannot open it: error"),
              std::string::npos);
}

TEST_F(MainFrameTest, HelpOpensTheGuideTheWebPageGoesThroughTheShellAndRunDemoWantsADemo) {
    Command(ID_HELP_TOPICS);
    Command(ID_WEB_PAGE);
    Command(ID_RUN_DEMO);   // no project: nothing starts
    // The guide opens in the HTML Help viewer where it can draw pages, else in the program's own
    // help window: never in the browser.
    ASSERT_EQ(Record().shellOpens.size(), 1u);
    if (HelpViewerDrawsPages())
        EXPECT_EQ(Record().htmlHelps, std::vector<std::string>{Frame().applicationFolder() + "help.chm::/index.html"});
    else
        EXPECT_EQ(Frame().GetHelpWindow().GetPage(), "index.html");
    EXPECT_NE(Record().shellOpens.back().find(".example"), std::string::npos);
    EXPECT_TRUE(Record().processes.empty());
    // With no demo built, Run Demo says so and starts nothing.
    UseProject(CProjectRecord::Windows);
    Command(ID_RUN_DEMO);
    EXPECT_TRUE(Record().processes.empty());
    EXPECT_FALSE(Frame().IsBuildRunning());
    EXPECT_EQ(OutputText(), "There is no demo to run: " + Folder() + "calc_demo.exe does not exist. Compile Demo builds it.");
}

TEST_F(MainFrameTest, APopupBarIsMadeOnlyWhenTheRequestAsksForOne) {
    KLVCREATEBARSTRUCT request{};
    EXPECT_EQ(Frame().SendMessage(CKLVControls::msgCreateCommandBar, 0, reinterpret_cast<LPARAM>(&request)), FALSE);
    EXPECT_EQ(request.pCommandBar, nullptr);
    request.bPopup = TRUE;
    EXPECT_EQ(Frame().SendMessage(CKLVControls::msgCreateCommandBar, 0, reinterpret_cast<LPARAM>(&request)), TRUE);
    auto* pPopup = dynamic_cast<CKLVPopupBar*>(request.pCommandBar);
    ASSERT_NE(pPopup, nullptr);
    EXPECT_EQ(pPopup->GetCommandBars(), Frame().GetCommandBars());
    pPopup->InternalRelease();
}

TEST_F(MainFrameTest, TabGroupCommandsReachTheTabClient) {
    // With no tab, the tab client disables every group command, and the frame asks it first.
    for (UINT nID = ID_TAB_GROUP_FIRST; nID <= ID_TAB_GROUP_LAST; ++nID) EXPECT_EQ(Enabled(nID), 0) << nID;
}

}  // namespace
