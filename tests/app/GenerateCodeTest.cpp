// Generate Code run by its menu id on a corpus document: the output pane's texts, the three
// source tabs replaced and marked modified, and Save writing them as kvgen writes its files.
#include "AppTestHost.h"

#include "support/TestFiles.h"

#include <algorithm>
#include <filesystem>

using namespace apptest;

namespace {

class GenerateCodeTest : public AppTest {
protected:
    GenerateCodeTest() {
        std::filesystem::copy_file(std::string(KELVANE_CORPUS_DIR) + "/wsdl/savon/blz_service.wsdl",
                                   Folder() + "blz_service.wsdl");
        CProjectRecord& project = UseProject(CProjectRecord::Windows, "blz");
        project.wsdlPath = Folder() + "blz_service.wsdl";
        for (const char* suffix : {"_api_demo.c", "_api.c", "_api.h"}) {
            testsupport::writeBytes(Folder() + "blz" + suffix, "");
            EXPECT_TRUE(Frame().openDocument(Folder() + "blz" + suffix));
        }
        EXPECT_TRUE(Frame().openDocument(project.wsdlPath));
    }
};

TEST_F(GenerateCodeTest, ReplacesTheSourceTabsAndSaveWritesWhatKvgenWrites) {
    Command(ID_GENERATE_CODE);
    IdleUpdate();
    const std::string output = OutputText();
    EXPECT_EQ(output.rfind("Start Generating...\r\n", 0), 0u) << output;
    EXPECT_GE(output.size(), std::string("Successfully Generated!\r\n").size());
    EXPECT_EQ(output.substr(output.size() - 25), "Successfully Generated!\r\n") << output;
    EXPECT_EQ(TabCaptions(),
              (std::vector<std::string>{"blz_api_demo.c *", "blz_api.c *", "blz_api.h *", "blz_service.wsdl"}));

    Command(ID_FILE_SAVE_PROJECT);
    IdleUpdate();
    EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"blz_api_demo.c", "blz_api.c", "blz_api.h", "blz_service.wsdl"}));

    // The same project generated as kvgen does, into a folder of its own.
    const std::string kvgenFolder = GenerateAsKvgen();
    for (const char* suffix : {"_api_demo.c", "_api.c", "_api.h"}) {
        const std::string saved = testsupport::readBytes(Folder() + "blz" + suffix);
        EXPECT_FALSE(saved.empty()) << suffix;
        const std::string written = testsupport::readBytes(kvgenFolder + "blz" + suffix);
        const auto differ = std::mismatch(saved.begin(), saved.end(), written.begin(), written.end());
        EXPECT_TRUE(saved == written) << suffix << ": " << saved.size() << " bytes against " << written.size()
                                      << ", first difference at " << (differ.first - saved.begin()) << ": "
                                      << ::testing::PrintToString(saved.substr(differ.first - saved.begin() - std::min<size_t>(differ.first - saved.begin(), 20), 40)) << " | "
                                      << ::testing::PrintToString(written.substr(differ.second - written.begin() - std::min<size_t>(differ.second - written.begin(), 20), 40));
    }
}

TEST_F(GenerateCodeTest, CompileAndGenerateMakefileStartTheirToolsThroughTheFrame) {
    Frame().m_nCompilerKind = CMainFrame::compilerVisualCpp;
    Frame().m_strCompilerPath.Empty();
    // Without the compiler's script the command stops with its message.
    Command(ID_COMPILE);
    EXPECT_EQ(Record().boxes, std::vector<std::string>{"vc++ file vcvars32.bat must be located before compile! "});
    EXPECT_FALSE(Frame().IsBuildRunning());
    Frame().m_strCompilerPath = "C:\\vc\\bin\\vcvars32.bat";
    Command(ID_COMPILE_DEMO);
    // The window goes on while the line runs; the Build commands wait for it.
    EXPECT_TRUE(Frame().IsBuildRunning());
    for (UINT nID : {ID_GENERATE_CODE, ID_COMPILE, ID_COMPILE_DEMO, ID_RUN_DEMO}) EXPECT_EQ(Enabled(nID), 0) << nID;
    Command(ID_COMPILE);
    ASSERT_TRUE(PumpUntilDoneOrHung([&] { return !Frame().IsBuildRunning(); }));
    for (UINT nID : {ID_GENERATE_CODE, ID_COMPILE, ID_COMPILE_DEMO, ID_RUN_DEMO}) EXPECT_EQ(Enabled(nID), 1) << nID;
    const std::string output = OutputText();
    EXPECT_EQ(output.rfind("Compiling " + Folder() + "blz_demo.exe\r\n> \"C:\\vc\\bin\\vcvars32.bat\" & cl.exe ", 0), 0u)
        << output;
    EXPECT_NE(output.find("blz_api_demo.c"), std::string::npos) << output;
    // Neither the script nor the compiler is there: the line fails, and says so last.
    EXPECT_EQ(output.find("Successfully Compiled"), std::string::npos) << output;
    EXPECT_NE(output.rfind("\r\nCompiling failed: cmd.exe exited with code "), std::string::npos) << output;
    EXPECT_TRUE(Record().processes.empty());

    // Generate Makefile, for a Unix project only, writes it and copies Make.rules beside it.
    const_cast<CProjectRecord*>(Frame().GetProject())->targetPlatform = CProjectRecord::Unix;
    Command(ID_GENERATE_MAKEFILE);
    EXPECT_TRUE(std::filesystem::exists(Folder() + "Makefile"));
    ASSERT_EQ(Record().processes.size(), 1u);
    EXPECT_EQ(Record().processes[0].first.rfind("xcopy /Y ", 0), 0u) << Record().processes[0].first;
}

TEST_F(GenerateCodeTest, ADocumentThatDoesNotParseEndsWithoutSuccess) {
    // The WSDL document broken in its tab: Generate Code saves it first.
    Frame().replaceTabText(3, "<definitions");
    Command(ID_GENERATE_CODE);
    const std::string output = OutputText();
    EXPECT_EQ(output.rfind("Start Generating...\r\n", 0), 0u) << output;
    EXPECT_EQ(output.find("Successfully Generated!"), std::string::npos) << output;
    for (const std::string& caption : TabCaptions()) EXPECT_EQ(caption.find('*'), std::string::npos) << caption;
}

using RecentFileTest = AppTest;

TEST_F(RecentFileTest, OnlySolutionFilesEnterTheList) {
    struct PathCase {
        const char* lpszPath;
        bool bAdded;
    };
    for (const PathCase& pathCase : {PathCase{"C:\\p\\calc.zbq", true}, PathCase{"C:\\p\\calc_api.h", false},
                                     PathCase{"C:\\p\\calc.wsdl", false}, PathCase{"C:\\p\\CALC.ZBQ", false}}) {
        m_app.AddToRecentFileList(pathCase.lpszPath);
        EXPECT_EQ((*m_app.m_pRecentFileList)[0] == pathCase.lpszPath, pathCase.bAdded) << pathCase.lpszPath;
    }
}

TEST_F(RecentFileTest, ADeletedEntryIsDroppedSilentlyAndAnExistingOneOpens) {
    const std::string gone = Folder() + "gone.zbq";
    m_app.AddToRecentFileList(gone.c_str());
    Command(ID_FILE_MRU_FILE1);
    EXPECT_TRUE((*m_app.m_pRecentFileList)[0].IsEmpty());
    EXPECT_TRUE(Record().boxes.empty());
    EXPECT_EQ(Frame().GetProject(), nullptr);

    // An existing solution whose documents are there opens as the project.
    UseProject(CProjectRecord::Unix, "kept");
    for (const char* suffix : {"_api_demo.c", "_api.c", "_api.h", ".wsdl"}) testsupport::writeBytes(Folder() + "kept" + suffix, "");
    ASSERT_TRUE(Frame().SaveSolution(*Frame().GetProject()));
    Frame().GetProjectCommands().setProject(nullptr);
    m_app.AddToRecentFileList((Folder() + "kept.zbq").c_str());
    Command(ID_FILE_MRU_FILE1);
    ASSERT_NE(Frame().GetProject(), nullptr);
    EXPECT_EQ(Frame().GetProject()->name, "kept");
    EXPECT_EQ(TabCaptions().size(), 4u);
}

TEST_F(RecentFileTest, ACommandLineSolutionOpensAndAnyOtherFileIsIgnored) {
    UseProject(CProjectRecord::Windows, "started");
    for (const char* suffix : {"_api_demo.c", "_api.c", "_api.h", ".wsdl"})
        testsupport::writeBytes(Folder() + "started" + suffix, "");
    ASSERT_TRUE(Frame().SaveSolution(*Frame().GetProject()));
    Frame().GetProjectCommands().setProject(nullptr);

    CCommandLineInfo other;
    other.m_nShellCommand = CCommandLineInfo::FileOpen;
    other.m_strFileName = (Folder() + "started_api.c").c_str();
    m_app.OpenCommandLineFile(other);
    EXPECT_EQ(other.m_nShellCommand, CCommandLineInfo::FileNothing);
    EXPECT_EQ(Frame().GetProject(), nullptr);
    EXPECT_TRUE(m_app.ProcessShellCommand(other));

    CCommandLineInfo solution;
    solution.m_nShellCommand = CCommandLineInfo::FileOpen;
    solution.m_strFileName = (Folder() + "started.zbq").c_str();
    m_app.OpenCommandLineFile(solution);
    EXPECT_EQ(solution.m_nShellCommand, CCommandLineInfo::FileNothing);
    ASSERT_NE(Frame().GetProject(), nullptr);
    EXPECT_EQ(Frame().GetProject()->name, "started");
    EXPECT_EQ(TabCaptions().size(), 4u);
}

}  // namespace
