// File New: the New Project dialog's checks in their order, then the project's files, copies,
// tabs and recent entry; Cancel changes nothing.
#include "AppTestHost.h"

#include "support/TestFiles.h"

#include <filesystem>

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

    const std::string app = Frame().applicationFolder();
    ASSERT_EQ(Record().processes.size(), 3u);
    EXPECT_EQ(Record().processes[0].first, "xcopy /E /Y /I \"" + app + "lib\"  \"" + Folder() + "lib\"");
    EXPECT_EQ(Record().processes[1].first, "xcopy /E /Y /I \"" + app + "libxml2\"  \"" + Folder() + "libxml2\"");
    EXPECT_EQ(Record().processes[2].first, "cmd /c copy /Y \"" + app + "libxml2\\bin\\*\"  \"" + Folder() + ".\"");
    for (const auto& process : Record().processes) EXPECT_EQ(process.second, static_cast<UINT>(SW_HIDE));
    EXPECT_EQ((*m_app.m_pRecentFileList)[0], (Folder() + "abc.zbq").c_str());
    EXPECT_EQ(Enabled(ID_GENERATE_MAKEFILE), 1);
}

TEST_F(FileNewTest, ACopyThatCannotStartIsReportedInTheOutputPane) {
    Record().bProcessesStart = FALSE;
    RunNewProject(Wsdl(), "Windows");
    ASSERT_NE(Frame().GetProject(), nullptr);
    EXPECT_EQ(Frame().GetProject()->targetPlatform, CProjectRecord::Windows);
    const std::string output = OutputText();
    EXPECT_NE(output.find("Could not start: xcopy /E /Y /I"), std::string::npos) << output;
    EXPECT_NE(output.find("Could not start: cmd /c copy"), std::string::npos) << output;
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
