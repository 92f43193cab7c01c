// The user guide: help.chm is a real compiled help file holding every page written, beside the
// program and the pages themselves; Help Topics opens it in the viewer or the page in the browser.
#include "AppTestHost.h"

#include "app/HelpViewer.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"

#include <filesystem>

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
    for (const auto& entry : std::filesystem::directory_iterator(exeFolder / "help")) {
        const std::string name = entry.path().filename().string();
        // Each page installed beside the program is in the file's directory.
        EXPECT_NE(chm.find("/" + name), std::string::npos) << name;
        ++nPages;
    }
    EXPECT_GE(nPages, 6);
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
    EXPECT_GE(nPages, 7);
    EXPECT_EQ(start.find("@"), std::string::npos);
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

TEST_F(HelpFileTest, HelpTopicsOpensTheGuideInTheViewerOrTheInstalledPageInTheBrowser) {
    Command(ID_HELP_TOPICS);
    const std::string folder = Frame().applicationFolder();
    if (HelpViewerDrawsPages()) {
        EXPECT_EQ(Record().htmlHelps, std::vector<std::string>{folder + "help.chm"});
        EXPECT_TRUE(Record().shellOpens.empty());
    } else {
        EXPECT_TRUE(Record().htmlHelps.empty());
        ASSERT_EQ(Record().shellOpens, std::vector<std::string>{folder + "help\\index.html"});
        EXPECT_TRUE(std::filesystem::exists(folder + "help\\index.html"));
    }
    EXPECT_TRUE(std::filesystem::exists(folder + "help.chm"));
}

}  // namespace
