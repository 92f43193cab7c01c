// File New: the New Project dialog's checks in their order, then the project's files, the
// libraries' copies (whole, run after run), tabs and recent entry; Cancel changes nothing.
#include "AppTestHost.h"

#include "support/TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

using namespace apptest;

namespace {

class FileNewTest : public AppTest {
protected:
    // Runs File New on a dialog filled as a user does: OK pressed after each field, so that
    // every check speaks once.
    void RunNewProject(const std::string& wsdl, const char* lpszPlatform) {
        InNextDialog("New Project", [&](CWnd& dlg) {
            Click(dlg, IDOK);
            SetControlText(dlg, IDC_WSDL_FILE, wsdl.c_str());
            Click(dlg, IDOK);
            HWND hName = ::GetDlgItem(dlg.GetSafeHwnd(), IDC_NAME);
            ::SendMessageA(hName, WM_SETFOCUS, 0, 0);
            for (char ch : std::string("abc")) ::SendMessageA(hName, WM_CHAR, static_cast<WPARAM>(ch), 0);
            Click(dlg, IDOK);
            SelectEntry(dlg, IDC_TARGET_PLATFORM, lpszPlatform);
            SelectEntry(dlg, IDC_LIBRARY_TYPE, "static library");
            SetControlText(dlg, IDC_LOCATION, Folder().c_str());
            Click(dlg, IDOK);
        });
        Command(ID_FILE_NEW_PROJECT);
    }
    // Every file below the source folder is in the copy, with its size, and nothing else is.
    static void ExpectCopied(const std::string& from, const std::string& to) {
        const auto files = [](const std::string& root) {
            std::vector<std::pair<std::string, uintmax_t>> list;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
                if (entry.is_regular_file())
                    list.emplace_back(std::filesystem::relative(entry.path(), root).string(), entry.file_size());
            std::sort(list.begin(), list.end());
            return list;
        };
        ASSERT_TRUE(std::filesystem::is_directory(to)) << to;
        const auto source = files(from);
        EXPECT_FALSE(source.empty()) << from;
        EXPECT_EQ(files(to), source) << to;
    }
    std::string Wsdl() {
        const std::string wsdl = Folder() + "service.wsdl";
        testsupport::writeBytes(wsdl, "<definitions/>\r\n");
        return wsdl;
    }
};

TEST_F(FileNewTest, CreatesTheProjectFilesCopiesTabsAndRecentEntry) {
    const std::string wsdl = Wsdl();
    testsupport::writeBytes(Folder() + "abc_api.c", "left from before\r\n");
    std::filesystem::permissions(wsdl, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    RunNewProject(wsdl, "Unix(Linux)");

    const std::vector<std::string> expectedBoxes = {"please import a wsdl file!",
                                                    "invalid protocol name, please reenter again!",
                                                    "please select a location that the protocol project will be saved!"};
    EXPECT_EQ(Record().boxes, expectedBoxes);
    const CProjectRecord* pProject = Frame().GetProject();
    ASSERT_NE(pProject, nullptr);
    EXPECT_EQ(pProject->name, "abc");
    EXPECT_EQ(pProject->wsdlPath, wsdl);
    EXPECT_EQ(pProject->location, Folder());
    EXPECT_EQ(pProject->targetPlatform, CProjectRecord::Unix);
    EXPECT_EQ(pProject->libraryType, CProjectRecord::StaticLibrary);
    EXPECT_EQ(pProject->authType, CProjectRecord::AuthNone);
    for (const char* file : {"abc.zbq", "abc_api.h", "abc_api.c", "abc_api_demo.c"}) {
        ASSERT_TRUE(std::filesystem::exists(Folder() + file)) << file;
        EXPECT_EQ(std::filesystem::file_size(Folder() + file), 0u) << file;
    }
    EXPECT_EQ(testsupport::readBytes(wsdl), "<definitions/>\r\n");
    EXPECT_NE(std::filesystem::status(wsdl).permissions() & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
    EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"abc_api_demo.c", "abc_api.c", "abc_api.h", "service.wsdl"}));

    // The libraries are copied by the program itself, whole, before the command ends.
    const std::string app = Frame().applicationFolder();
    EXPECT_TRUE(Record().processes.empty());
    ExpectCopied(app + "lib", Folder() + "lib");
    if (std::filesystem::exists(app + "libxml2")) ExpectCopied(app + "libxml2", Folder() + "libxml2");
    EXPECT_EQ((*m_app.m_pRecentFileList)[0], (Folder() + "abc.zbq").c_str());
    EXPECT_EQ(Enabled(ID_GENERATE_MAKEFILE), 1);
}

TEST_F(FileNewTest, ACopyThatFailsIsReportedInTheOutputPane) {
    // A file where the lib folder goes: the folder cannot be made.
    testsupport::writeBytes(Folder() + "lib", "in the way\r\n");
    RunNewProject(Wsdl(), "Windows");
    ASSERT_NE(Frame().GetProject(), nullptr);
    EXPECT_EQ(Frame().GetProject()->targetPlatform, CProjectRecord::Windows);
    const std::string output = OutputText();
    EXPECT_EQ(output.find("Could not make the folder " + Folder() + "lib (error "), 0u) << output;
    EXPECT_EQ(testsupport::readBytes(Folder() + "lib"), "in the way\r\n");
}

// Each run of File New leaves a project folder with all of the libraries: the system's copy
// program, started and not waited for, left one without its lib folder in one run of six.
TEST_F(FileNewTest, TenRunsGiveTenCompleteProjectFolders) {
    const std::string wsdl = Wsdl();
    const std::string app = Frame().applicationFolder();
    for (int nRun = 0; nRun < 10; ++nRun) {
        const std::string location = Folder() + "run" + std::to_string(nRun) + "\\";
        std::filesystem::create_directory(location);
        InNextDialog("New Project", [&](CWnd& dlg) {
            SetControlText(dlg, IDC_WSDL_FILE, wsdl.c_str());
            SetControlText(dlg, IDC_NAME, "calc");
            SelectEntry(dlg, IDC_TARGET_PLATFORM, "Windows");
            SetControlText(dlg, IDC_LOCATION, location.c_str());
            Click(dlg, IDOK);
        });
        Command(ID_FILE_NEW_PROJECT);
        ASSERT_NE(Frame().GetProject(), nullptr);
        EXPECT_EQ(Frame().GetProject()->location, location);
        ExpectCopied(app + "lib", location + "lib");
        if (std::filesystem::exists(app + "libxml2")) ExpectCopied(app + "libxml2", location + "libxml2");
    }
    EXPECT_EQ(OutputText().find("Could not"), std::string::npos) << OutputText();
}

TEST_F(FileNewTest, ADocumentTheTemplateCannotOpenGetsNoTabAndTheRestOpen) {
    // A WSDL path that names a folder cannot be opened as a document.
    const std::string folderAsWsdl = Folder() + "not-a-file.wsdl";
    std::filesystem::create_directory(folderAsWsdl);
    RunNewProject(folderAsWsdl, "Windows");
    ASSERT_NE(Frame().GetProject(), nullptr);
    EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"abc_api_demo.c", "abc_api.c", "abc_api.h"}));
    EXPECT_EQ((*m_app.m_pRecentFileList)[0], (Folder() + "abc.zbq").c_str());
}

TEST_F(FileNewTest, CancelLeavesTheOpenProjectAndItsTabs) {
    UseProject(CProjectRecord::Windows, "kept");
    testsupport::writeBytes(Folder() + "kept_api.c", "x\r\n");
    ASSERT_TRUE(Frame().openDocument(Folder() + "kept_api.c"));
    InNextDialog("New Project", [](CWnd& dlg) { Click(dlg, IDCANCEL); });
    Command(ID_FILE_NEW_PROJECT);
    ASSERT_NE(Frame().GetProject(), nullptr);
    EXPECT_EQ(Frame().GetProject()->name, "kept");
    EXPECT_EQ(TabCaptions(), std::vector<std::string>{"kept_api.c"});
    EXPECT_TRUE(Record().processes.empty());
    EXPECT_FALSE(std::filesystem::exists(Folder() + "kept.zbq"));
}

}  // namespace
