// Help always opens: in the HTML Help viewer where it draws pages, otherwise in the program's own
// help window (a prefix without a browser or an HTML engine shows it too); F1 opens the page of
// the dialog, pane or editor it is pressed in; a page that cannot be shown is said.
#include "AppTestHost.h"

#include "app/HelpTopics.h"
#include "app/HelpViewer.h"
#include "app/QuorlinView.h"

#include "support/TestFiles.h"

#include <richedit.h>
#include <richole.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace apptest;

namespace {

class HelpWindowTest : public AppTest {
protected:
    ~HelpWindowTest() override { CMainFrame::s_pfnHtmlHelp = m_pfnRecorded; }
    // The viewer refuses, as it does where no HTML engine draws pages.
    void WithoutViewer() {
        CMainFrame::s_pfnHtmlHelp = [](HWND, LPCSTR lpszPath) -> BOOL {
            Record().htmlHelps.emplace_back(lpszPath);
            return FALSE;
        };
    }
    bool WindowShows(const std::string& strPage) {
        CHelpWindow& window = Frame().GetHelpWindow();
        return window.GetSafeHwnd() && ::IsWindowVisible(window.GetSafeHwnd()) && window.GetPage() == strPage;
    }
    CMainFrame::PFNHTMLHELP m_pfnRecorded = CMainFrame::s_pfnHtmlHelp;
};

std::string PageTitle(const std::string& strPage) {
    const std::filesystem::path page =
        std::filesystem::path(KELVANE_EXE_PATH).parent_path() / "help" / strPage;
    std::ifstream in(page, std::ios::binary);
    const std::string strHtml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t nTitle = strHtml.find("<title>");
    if (nTitle == std::string::npos) return std::string();
    return strHtml.substr(nTitle + 7, strHtml.find("</title>") - nTitle - 7);
}

// The system's own viewer and HTML engine, in this prefix: help shows, whatever is installed.
TEST_F(HelpWindowTest, TheRealViewerOrTheHelpWindowShowsTheGuide) {
    CMainFrame::s_pfnHtmlHelp = OpenHtmlHelp;
    Command(ID_HELP_TOPICS);
    classlib_test::PumpPending();
    const bool bViewer = ::FindWindowA("HH Parent", nullptr) != nullptr;
    EXPECT_TRUE(bViewer || WindowShows("index.html"));
    EXPECT_TRUE(Record().shellOpens.empty());
    EXPECT_TRUE(Record().boxes.empty());
    if (HWND hViewer = ::FindWindowA("HH Parent", nullptr)) ::DestroyWindow(hViewer);
}

TEST_F(HelpWindowTest, AViewerThatFailsLeavesTheHelpWindowShowingThePageWithItsTitleAndTopics) {
    WithoutViewer();
    Frame().ShowHelpPage("dialog-new-project.html");
    if (HelpViewerDrawsPages()) {
        EXPECT_EQ(Record().htmlHelps.size(), 1u);
    }
    ASSERT_TRUE(WindowShows("dialog-new-project.html"));
    const std::string strTitle = PageTitle("dialog-new-project.html");
    ASSERT_FALSE(strTitle.empty());
    const std::string strShown = Frame().GetHelpWindow().GetShownText();
    // The link back to the start page, then the page's heading.
    EXPECT_EQ(strShown.find("Kelvane User Guide\r" + strTitle + "\r"), 0u) << strShown.substr(0, 200);
    char szCaption[256] = "";
    ::GetWindowTextA(Frame().GetHelpWindow().GetSafeHwnd(), szCaption, sizeof(szCaption));
    EXPECT_EQ(std::string(szCaption), "Kelvane Help - " + strTitle);
    EXPECT_TRUE(Record().boxes.empty());
}

// The first link of every page leads back to the start page, whose links lead to each page.
TEST_F(HelpWindowTest, LinksLeadFromPageToPage) {
    WithoutViewer();
    Frame().ShowHelpPage("keys.html");
    CHelpWindow& window = Frame().GetHelpWindow();
    ASSERT_FALSE(window.GetLinks().empty());
    EXPECT_EQ(window.GetLinks()[0], "index.html");
    ASSERT_TRUE(window.FollowLink(0));
    EXPECT_TRUE(WindowShows("index.html"));
    const std::vector<std::string> links = window.GetLinks();
    const auto itKeys = std::find(links.begin(), links.end(), "keys.html");
    ASSERT_NE(itKeys, links.end());
    ASSERT_TRUE(window.FollowLink(static_cast<size_t>(itKeys - links.begin())));
    EXPECT_TRUE(WindowShows("keys.html"));
    EXPECT_FALSE(window.FollowLink(links.size() + 5));
}

// A page's pictures are shown as pictures, one embedded object each, no wider than the view;
// their descriptions no longer stand in their place.
TEST_F(HelpWindowTest, APagesPicturesAreShownAsPictures) {
    WithoutViewer();
    Frame().ShowHelpPage("first-project.html");
    ASSERT_TRUE(WindowShows("first-project.html"));
    const std::string strShown = Frame().GetHelpWindow().GetShownText();
    EXPECT_EQ(strShown.find("[Picture"), std::string::npos) << strShown.substr(strShown.find("[Picture"), 300);
    const HWND hText = ::GetDlgItem(Frame().GetHelpWindow().GetSafeHwnd(), 2);
    IRichEditOle* pOle = nullptr;
    ASSERT_TRUE(::SendMessageW(hText, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&pOle)) && pOle);
    EXPECT_EQ(pOle->GetObjectCount(), 3);
    pOle->Release();
    EXPECT_TRUE(Record().boxes.empty());
}

TEST_F(HelpWindowTest, APageThatCannotBeShownIsSaidWithItsFileAndCause) {
    WithoutViewer();
    Frame().ShowHelpPage("index.html");
    Frame().ShowHelpPage("no-such-page.html");
    ASSERT_EQ(Record().boxes.size(), 1u);
    const std::string& strBox = Record().boxes[0];
    EXPECT_NE(strBox.find(Frame().applicationFolder() + "help\\no-such-page.html"), std::string::npos) << strBox;
    EXPECT_NE(strBox.find("cannot be read: "), std::string::npos) << strBox;
    EXPECT_GT(strBox.size(), strBox.find("cannot be read: ") + 16) << strBox;
    // What was shown stays.
    EXPECT_TRUE(WindowShows("index.html"));
}

TEST_F(HelpWindowTest, F1OpensThePageOfThePaneOrEditorWithTheFocus) {
    WithoutViewer();
    testsupport::writeBytes(Folder() + "calc_api.c", "int a;\r\n");
    ASSERT_TRUE(Frame().openDocument(Folder() + "calc_api.c"));
    Frame().GetPaneWindow(IDP_SOLUTION_EXPLORER);
    Frame().GetPaneWindow(IDP_PROPERTIES);
    Frame().GetPaneWindow(IDP_OUTPUT);
    struct Case {
        CWnd* pFocus;
        HelpPlace place;
    };
    const Case cases[] = {
        {&Tree(), HelpPlace::solutionExplorer},
        {&Frame().m_wndProperties, HelpPlace::properties},
        {&Frame().m_wndOutput, HelpPlace::output},
        {Frame().GetTabView(0), HelpPlace::editor},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.pFocus, nullptr);
        ASSERT_TRUE(c.pFocus->GetSafeHwnd());
        const std::string strPage = HelpPageForPlace(c.place);
        EXPECT_EQ(Frame().HelpPageForWindow(c.pFocus->GetSafeHwnd()), strPage);
        Frame().SetActiveWindow();
        c.pFocus->SetFocus();
        PressKey(VK_F1, false, false, false, c.pFocus->GetSafeHwnd());
        EXPECT_TRUE(WindowShows(strPage)) << strPage << " shows " << Frame().GetHelpWindow().GetPage();
    }
    EXPECT_EQ(Frame().HelpPageForWindow(Frame().GetSafeHwnd()), g_lpszHelpStartPage);
    EXPECT_TRUE(Record().boxes.empty());
}

TEST_F(HelpWindowTest, F1InADialogOpensTheDialogsPage) {
    WithoutViewer();
    UseProject(CProjectRecord::Windows);
    struct Case {
        UINT nCommand;
        const char* lpszCaption;
        UINT nTemplate;
    };
    const Case cases[] = {
        {ID_FILE_NEW_PROJECT, "New Project", IDD_NEW_PROJECT},
        {ID_PROJECT_PROPERTIES, "Project Properties", IDD_PROJECT_PROPERTIES},
        {ID_OPTION, "Options", IDD_OPTIONS},
        {ID_ABOUT, "About", IDD_ABOUTBOX},
    };
    for (const Case& c : cases) {
        const std::string strPage = HelpPageForDialog(c.nTemplate);
        ASSERT_FALSE(PageTitle(strPage).empty()) << strPage;
        bool bRan = false;
        InNextDialog(c.lpszCaption, [&](CWnd& dlg) {
            bRan = true;
            // The key comes through the dialog's own loop, then the dialog is closed.
            HWND hFocus = ::GetFocus();
            ::PostMessageA(hFocus && ::IsChild(dlg.GetSafeHwnd(), hFocus) ? hFocus : dlg.GetSafeHwnd(), WM_KEYDOWN,
                           VK_F1, 1);
            dlg.PostMessage(WM_COMMAND, IDCANCEL);
        });
        Command(c.nCommand);
        EXPECT_TRUE(bRan) << c.lpszCaption;
        EXPECT_TRUE(WindowShows(strPage)) << c.lpszCaption << " shows " << Frame().GetHelpWindow().GetPage();
    }
    EXPECT_TRUE(Record().boxes.empty());
}

}  // namespace
