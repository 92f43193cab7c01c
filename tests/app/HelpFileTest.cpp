// The user guide: help.chm is a real compiled help file holding every page written, beside the
// program and the pages themselves; Help Topics opens it in the viewer or the program's help window.
#include "AppTestHost.h"

#include "app/HelpTopics.h"
#include "app/HelpViewer.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <functional>
#include <regex>
#include <set>

using namespace apptest;

namespace {

using HelpFileTest = AppTest;

TEST_F(HelpFileTest, TheHelpFileIsACompiledHelpFileWithEveryPage) {
    const std::filesystem::path exeFolder = std::filesystem::path(KELVANE_EXE_PATH).parent_path();
    const std::string chm = testsupport::readBytes((exeFolder / "help.chm").string());
    // The header: signature, version 3, its own length.
    ASSERT_GE(chm.size(), 0x60u);
    EXPECT_EQ(chm.substr(0, 4), "ITSF");
    EXPECT_EQ(chm[4], 3);
    EXPECT_EQ(static_cast<unsigned char>(chm[8]), 0x60);
    int nPages = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(exeFolder / "help")) {
        if (!entry.is_regular_file()) continue;
        const std::string name = std::filesystem::relative(entry.path(), exeFolder / "help").generic_string();
        // Each page and picture installed beside the program is in the file's directory.
        EXPECT_NE(chm.find("/" + name), std::string::npos) << name;
        ++nPages;
    }
    EXPECT_GE(nPages, 60);
    // The contents list too, which the viewer shows beside the pages.
    EXPECT_NE(chm.find("/contents.hhc"), std::string::npos);
}

// Each installed page is whole: its title also heads it, it links back to the start page, and the
// start page lists it.
TEST_F(HelpFileTest, EveryPageIsWholeAndTheStartPageListsIt) {
    const std::filesystem::path folder = std::filesystem::path(KELVANE_EXE_PATH).parent_path() / "help";
    const std::string start = testsupport::readBytes((folder / "index.html").string());
    int nPages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".html") continue;
        const std::string page = testsupport::readBytes(entry.path().string());
        const size_t nTitle = page.find("<title>");
        ASSERT_NE(nTitle, std::string::npos) << name;
        const std::string title = page.substr(nTitle + 7, page.find("</title>") - nTitle - 7);
        EXPECT_FALSE(title.empty()) << name;
        EXPECT_NE(page.find("<h1>" + title + "</h1>"), std::string::npos) << name;
        EXPECT_NE(page.find("<a href=\"index.html\">"), std::string::npos) << name;
        const std::string end = "</body>\n</html>\n";
        EXPECT_EQ(page.rfind(end), page.size() - end.size()) << name;
        if (name != "index.html") {
            EXPECT_NE(start.find("<li><a href=\"" + name + "\">" + title + "</a></li>"), std::string::npos) << name;
        }
        ++nPages;
    }
    EXPECT_GE(nPages, 60);
    EXPECT_EQ(start.find("@GUIDE"), std::string::npos);
}

// A page per command of every menu, which speaks of that command; every page and picture a page
// links to is installed; F1's pages exist.
TEST_F(HelpFileTest, EveryMenuCommandHasItsPageAndNoLinkIsBroken) {
    const std::filesystem::path folder = std::filesystem::path(KELVANE_EXE_PATH).parent_path() / "help";
    const auto pageExists = [&](const std::string& page) { return std::filesystem::is_regular_file(folder / page); };
    int nCommands = 0;
    std::function<void(HMENU)> walk = [&](HMENU hMenu) {
        for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
            if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
                walk(hSub);
                continue;
            }
            const UINT nID = ::GetMenuItemID(hMenu, i);
            char szText[128] = "";
            ::GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof(szText), MF_BYPOSITION);
            if (nID == 0 || szText[0] == '\0') continue;   // a separator
            // The command's words as the menu shows them, without the access key and the shortcut.
            std::string strWords;
            for (const char* p = szText; *p && *p != '\t'; ++p)
                if (*p != '&') strWords += *p;
            while (!strWords.empty() && strWords.back() == '.') strWords.pop_back();
            ++nCommands;
            const std::string page = HelpPageForCommand(nID);
            ASSERT_FALSE(page.empty()) << strWords << " has no page";
            ASSERT_TRUE(pageExists(page)) << page;
            EXPECT_NE(testsupport::readBytes((folder / page).string()).find(strWords), std::string::npos)
                << page << " does not speak of " << strWords;
        }
    };
    for (UINT nMenu : {IDR_MAINFRAME, IDR_SOLUTION_TREE_MENU}) {
        HMENU hMenu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nMenu));
        ASSERT_NE(hMenu, nullptr);
        walk(hMenu);
        ::DestroyMenu(hMenu);
    }
    EXPECT_GE(nCommands, 45);
    for (UINT nDialog : {IDD_NEW_PROJECT, IDD_PROJECT_PROPERTIES, IDD_OPTIONS, IDD_GLOBAL_OPTIONS, IDD_ABOUTBOX})
        EXPECT_TRUE(pageExists(HelpPageForDialog(nDialog))) << nDialog;
    for (HelpPlace place : {HelpPlace::frame, HelpPlace::solutionExplorer, HelpPlace::properties, HelpPlace::output,
                            HelpPlace::editor})
        EXPECT_TRUE(pageExists(HelpPageForPlace(place))) << HelpPageForPlace(place);
    const std::regex link("(href|src)=\"([^\"#:]+)[\"#]");
    std::set<std::string> linked;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".html") continue;
        const std::string page = testsupport::readBytes(entry.path().string());
        for (std::sregex_iterator it(page.begin(), page.end(), link), end; it != end; ++it) {
            EXPECT_TRUE(pageExists((*it)[2].str())) << entry.path().filename().string() << " links to " << (*it)[2].str();
            linked.insert((*it)[2].str());
        }
    }
    // Every page can be reached from another.
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".html" && entry.path().filename() != "index.html") {
            EXPECT_EQ(linked.count(entry.path().filename().string()), 1u) << entry.path().filename().string();
        }
    }
}

// Only a folder that holds an engine makes the viewer draw pages: a prefix makes its "gecko"
// folder (with a plug-in folder) without one.
TEST(HelpViewer, AGeckoEngineIsFoundOnlyWhereOneIsInstalled) {
    testsupport::ScopedWorkingFolder folder;
    struct Case {
        std::vector<std::string> folders;
        bool bEngine;
    };
    const Case cases[] = {
        {{}, false},
        {{"plugin"}, false},
        {{"plugin", "2.47.3"}, false},
        {{"plugin", "2.47.3", "2.47.3/wine_gecko"}, true},
        {{"wine-gecko-2.47.4-x86_64"}, true},
        {{"Wine-Gecko-2.47.4-x86"}, true},
    };
    int nCase = 0;
    for (const Case& c : cases) {
        const std::filesystem::path gecko = folder.path() / ("gecko" + std::to_string(nCase++));
        std::filesystem::create_directories(gecko);
        for (const std::string& sub : c.folders) std::filesystem::create_directories(gecko / sub);
        EXPECT_EQ(HoldsGeckoEngine(gecko.string().c_str()) != FALSE, c.bEngine) << gecko.string();
    }
    EXPECT_FALSE(HoldsGeckoEngine((folder.path() / "missing").string().c_str()));
    // A file named as an engine is none.
    testsupport::writeBytes((folder.path() / "gecko0" / "wine-gecko-file").string(), "");
    EXPECT_FALSE(HoldsGeckoEngine((folder.path() / "gecko0").string().c_str()));
}

// Help never goes to the browser, which a prefix may lack: the viewer where it draws pages, else
// the program's own window.
TEST_F(HelpFileTest, HelpTopicsOpensTheGuideInTheViewerOrTheHelpWindow) {
    Command(ID_HELP_TOPICS);
    const std::string folder = Frame().applicationFolder();
    CHelpWindow& window = Frame().GetHelpWindow();
    if (HelpViewerDrawsPages()) {
        EXPECT_EQ(Record().htmlHelps, std::vector<std::string>{folder + "help.chm::/index.html"});
        EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    } else {
        EXPECT_TRUE(Record().htmlHelps.empty());
        ASSERT_TRUE(window.GetSafeHwnd());
        EXPECT_TRUE(::IsWindowVisible(window.GetSafeHwnd()));
        EXPECT_EQ(window.GetPage(), "index.html");
        EXPECT_TRUE(std::filesystem::exists(folder + "help\\index.html"));
    }
    EXPECT_TRUE(Record().shellOpens.empty());
    EXPECT_TRUE(Record().boxes.empty());
    EXPECT_TRUE(std::filesystem::exists(folder + "help.chm"));
}

}  // namespace
