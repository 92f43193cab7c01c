// Save, Close and Generate Code against the files their tabs show: a tab whose text stands in its
// file is not written again, and a file another program changed since its tab loaded it is
// written only after the user answered (Yes reloads it, No keeps the tab's text, Cancel stops).
#include "AppTestHost.h"

#include "app/QuorlinView.h"
#include "support/TestFiles.h"

#include <filesystem>

using namespace apptest;

namespace {

namespace fs = std::filesystem;

class FileSafetyTest : public AppTest {
protected:
    // A file written as another program writes it, with a time stamp of its own.
    void WriteElsewhere(const std::string& path, const std::string& text, int nDaysAgo) {
        testsupport::writeBytes(path, text);
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * nDaysAgo));
    }
    std::vector<std::string> QuestionsAsked() const {
        std::vector<std::string> asked;
        for (const std::string& box : Record().boxes)
            if (box.find("changed on disk") != std::string::npos) asked.push_back(box);
        return asked;
    }
};

TEST_F(FileSafetyTest, SaveAndCloseLeaveAFileAloneWhenTheTabHoldsItsText) {
    UseProject(CProjectRecord::Windows);
    // An untouched tab is not written even where the editor would write its line ends otherwise.
    const std::string untouched = Folder() + "calc_api.c";
    const std::string retyped = Folder() + "calc_api.h";
    WriteElsewhere(untouched, "int a;\r\nint b;\n", 30);
    WriteElsewhere(retyped, "int c;\r\n", 30);
    const fs::file_time_type loaded = fs::last_write_time(untouched);
    ASSERT_TRUE(Frame().openDocument(untouched));
    ASSERT_TRUE(Frame().openDocument(retyped));
    // Text typed and typed back is the file's text again.
    Frame().replaceTabText(1, "int c;\r\n");
    EXPECT_TRUE(Frame().tabModified(1));
    Command(ID_FILE_SAVE_PROJECT);
    EXPECT_FALSE(Frame().tabModified(1));
    IdleUpdate();
    EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"calc_api.c", "calc_api.h"}));
    Command(ID_FILE_CLOSE_PROJECT);
    EXPECT_TRUE(TabCaptions().empty());
    for (const std::string& path : {untouched, retyped}) EXPECT_EQ(fs::last_write_time(path), loaded) << path;
    EXPECT_EQ(testsupport::readBytes(untouched), "int a;\r\nint b;\n");
    EXPECT_TRUE(QuestionsAsked().empty());
}

TEST_F(FileSafetyTest, AFileChangedOnDiskIsWrittenOnlyAfterTheAnswer) {
    UseProject(CProjectRecord::Windows);
    const std::string source = Folder() + "calc_api.c";
    WriteElsewhere(source, "old\r\n", 30);
    ASSERT_TRUE(Frame().openDocument(source));
    Frame().replaceTabText(0, "mine\r\n");
    WriteElsewhere(source, "theirs\r\n", 2);

    // Cancel: nothing is written, the command stops and the project stays open with its tab.
    Record().nBoxAnswer = IDCANCEL;
    Command(ID_FILE_SAVE_PROJECT);
    Command(ID_FILE_CLOSE_PROJECT);
    EXPECT_EQ(testsupport::readBytes(source), "theirs\r\n");
    ASSERT_EQ(QuestionsAsked().size(), 2u);
    EXPECT_EQ(QuestionsAsked()[0].rfind(source, 0), 0u) << QuestionsAsked()[0];
    EXPECT_NE(Frame().GetProject(), nullptr);
    EXPECT_EQ(Frame().tabCount(), 1);
    EXPECT_TRUE(Frame().tabModified(0));

    // No: the tab's text goes over the file.
    Record().nBoxAnswer = IDNO;
    Command(ID_FILE_SAVE_PROJECT);
    EXPECT_EQ(testsupport::readBytes(source), "mine\r\n");
    EXPECT_EQ(QuestionsAsked().size(), 3u);
    EXPECT_FALSE(Frame().tabModified(0));
}

TEST_F(FileSafetyTest, ReloadLoadsTheNewTextAndGenerateCodeReadsIt) {
    CProjectRecord& project = UseProject(CProjectRecord::Windows, "blz");
    project.wsdlPath = Folder() + "blz_service.wsdl";
    const std::string original = testsupport::readBytes(std::string(KELVANE_CORPUS_DIR) + "/wsdl/savon/blz_service.wsdl");
    WriteElsewhere(project.wsdlPath, original, 30);
    for (const char* suffix : {"_api_demo.c", "_api.c", "_api.h"}) {
        testsupport::writeBytes(Folder() + "blz" + suffix, "");
        ASSERT_TRUE(Frame().openDocument(Folder() + "blz" + suffix));
    }
    ASSERT_TRUE(Frame().openDocument(project.wsdlPath));
    std::string changed = original;
    for (std::string::size_type at; (at = changed.find("getBank")) != std::string::npos;)
        changed.replace(at, 7, "getBranch");
    WriteElsewhere(project.wsdlPath, changed, 2);

    Record().nBoxAnswer = IDYES;
    Command(ID_GENERATE_CODE);
    EXPECT_EQ(QuestionsAsked().size(), 1u);
    EXPECT_EQ(testsupport::readBytes(project.wsdlPath), changed);
    EXPECT_EQ(Frame().tabFileText(3), changed);
    EXPECT_EQ(Frame().tabCaption(3), "blz_service.wsdl");
    const std::string header = Frame().tabFileText(2);
    EXPECT_NE(header.find("getBranch"), std::string::npos);
    EXPECT_EQ(header.find("getBank"), std::string::npos);
}

}  // namespace

namespace {

// A file another program changed is noticed as soon as its tab comes to the front, and asked about
// once per change: Yes loads it, No keeps the tab's text (the next save asks again). Before, only
// a save noticed it.
TEST_F(FileSafetyTest, ATabBroughtToTheFrontAsksAboutItsFileChangedOnDisk) {
    UseProject(CProjectRecord::Windows);
    const std::string source = Folder() + "calc_api.c", header = Folder() + "calc_api.h";
    WriteElsewhere(source, "int a;\r\n", 30);
    WriteElsewhere(header, "int h;\r\n", 30);
    ASSERT_TRUE(Frame().openDocument(source));
    ASSERT_TRUE(Frame().openDocument(header));
    const auto bringToFront = [&](const std::string& path) {
        const int nTab = Frame().FindTab(path.substr(path.find_last_of('\\') + 1));
        ASSERT_GE(nTab, 0) << path;
        Frame().MDIActivate(Frame().GetTabView(nTab)->GetParentFrame());
        classlib_test::PumpPending();
    };
    struct Step {
        const char* lpszChangeTo;   // the source's new text on disk; null: unchanged
        int nAnswer;
        size_t nAsked;              // questions asked so far
        const char* lpszTabText;    // the source tab's text after
    };
    const Step steps[] = {
        {nullptr, IDYES, 0, "int a;\r\n"},
        {"int a2;\r\n", IDYES, 1, "int a2;\r\n"},
        {nullptr, IDYES, 1, "int a2;\r\n"},          // the same change is not asked about again
        {"int a3; /* x */\r\n", IDNO, 2, "int a2;\r\n"},
        {nullptr, IDYES, 2, "int a2;\r\n"},          // kept: not asked again for that change
    };
    int nDaysAgo = 20;
    for (const Step& step : steps) {
        if (step.lpszChangeTo) WriteElsewhere(source, step.lpszChangeTo, nDaysAgo--);
        Record().nBoxAnswer = step.nAnswer;
        bringToFront(header);
        bringToFront(source);
        EXPECT_EQ(QuestionsAsked().size(), step.nAsked) << (step.lpszChangeTo ? step.lpszChangeTo : "-");
        const int nTab = Frame().FindTab("calc_api.c");
        EXPECT_EQ(Frame().tabFileText(nTab), step.lpszTabText);
    }
    ASSERT_FALSE(QuestionsAsked().empty());
    EXPECT_EQ(QuestionsAsked()[0].find(source + "\r\n\r\nThis file was changed on disk"), 0u);
    // The header, unchanged on disk, was never asked about.
    for (const std::string& asked : QuestionsAsked()) EXPECT_EQ(asked.find(header), std::string::npos);
}

}  // namespace
