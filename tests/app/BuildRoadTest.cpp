// The road past Generate Code through the frame's commands, with the window's messages pumped
// while the programs run: File New on a corpus document (which copies the program's libraries
// itself), Generate Code, Compile Demo with the machine's mingw-w64 compiler and Run Demo;
// then a broken source and a compiler that is not there.
#include "AppTestHost.h"

#include "app/CompilerSearch.h"

#include <filesystem>
#include <iostream>
#include <vector>

using namespace apptest;

namespace {

std::string LastLine(const std::string& text, int nFromEnd = 0) {
    std::string::size_type nEnd = text.size();
    for (int i = 0; i < nFromEnd && nEnd != std::string::npos && nEnd > 0; ++i) nEnd = text.rfind("\r\n", nEnd - 1);
    if (nEnd == std::string::npos) return std::string();
    const std::string::size_type nStart = nEnd == 0 ? std::string::npos : text.rfind("\r\n", nEnd - 1);
    return text.substr(nStart == std::string::npos ? 0 : nStart + 2, nEnd - (nStart == std::string::npos ? 0 : nStart + 2));
}

class BuildRoadTest : public AppTest {
protected:
    // File New in a folder of its own under the test's.
    std::string NewProject(const std::string& wsdl, const std::string& name) {
        const std::string location = Folder() + name + "\\";
        std::filesystem::create_directory(location);
        InNextDialog("New Project", [&](CWnd& dlg) {
            SetControlText(dlg, IDC_WSDL_FILE, wsdl.c_str());
            SetControlText(dlg, IDC_NAME, name.c_str());
            SelectEntry(dlg, IDC_TARGET_PLATFORM, "Windows");
            SetControlText(dlg, IDC_LOCATION, location.c_str());
            Click(dlg, IDOK);
        });
        Command(ID_FILE_NEW_PROJECT);
        return location;
    }
    bool BuildEnds() const {
        return PumpUntilDoneOrHung([&] { return !Frame().IsBuildRunning(); }, 600000);
    }
    int TabOf(const std::string& caption) const {
        const std::vector<std::string> captions = TabCaptions();
        for (size_t i = 0; i < captions.size(); ++i)
            if (captions[i].rfind(caption, 0) == 0) return static_cast<int>(i);
        return -1;
    }
    // File New, Generate Code, Compile Demo and Run Demo on the document; the project's folder.
    std::string BuildAndRunTheDemo(const std::string& wsdl, const std::string& name, const std::string& gcc) {
        const std::string location = NewProject(wsdl, name);
        EXPECT_NE(Frame().GetProject(), nullptr);
        EXPECT_TRUE(std::filesystem::exists(location + "lib\\bin\\win32\\tessaroMTD.lib"));
        Command(ID_GENERATE_CODE);
        EXPECT_EQ(LastLine(OutputText(), 1), "Successfully Generated!") << OutputText();

        const ULONGLONG nStart = ::GetTickCount64();
        Command(ID_COMPILE_DEMO);
        // The window goes on while the compiler runs; the Build commands wait for it.
        EXPECT_TRUE(Frame().IsBuildRunning());
        for (UINT nID : {ID_GENERATE_CODE, ID_COMPILE, ID_COMPILE_DEMO, ID_RUN_DEMO}) EXPECT_EQ(Enabled(nID), 0) << nID;
        EXPECT_TRUE(BuildEnds());
        std::cout << "Compile Demo of " << name << ": " << (::GetTickCount64() - nStart) << " ms" << std::endl;
        std::string output = OutputText();
        EXPECT_EQ(output.rfind("Compiling " + location + name + "_demo.exe\r\n> " + gcc + " ", 0), 0u) << output;
        EXPECT_EQ(LastLine(output), "Successfully Compiled") << output;
        EXPECT_TRUE(std::filesystem::exists(location + name + "_demo.exe"));

        Command(ID_RUN_DEMO);
        EXPECT_TRUE(BuildEnds());
        output = OutputText();
        EXPECT_EQ(LastLine(output), name + "_demo.exe exited with code 0") << output;
        EXPECT_NE(LastLine(output, 1).find("calls got their answer"), std::string::npos) << output;
        return location;
    }
};

TEST_F(BuildRoadTest, TheDemoOfANewProjectIsBuiltAndRunAndFailuresAreToldAsFailures) {
    const std::string gcc = FindDefaultGcc();
    ASSERT_FALSE(gcc.empty()) << "no mingw-w64 gcc on this machine";
    Frame().m_nCompilerKind = CMainFrame::compilerMingwGcc;
    Frame().m_strGccPath = gcc.c_str();
    BuildAndRunTheDemo(Frame().applicationFolder() + "example\\calculator.wsdl", "calculator", gcc);
    const std::string wsdl = Folder() + "blz_service.wsdl";
    std::filesystem::copy_file(std::string(KELVANE_CORPUS_DIR) + "/wsdl/savon/blz_service.wsdl", wsdl);
    const std::string location = BuildAndRunTheDemo(wsdl, "blz", gcc);

    // A source that does not compile: the compiler's own error, then the failure and its code.
    const int nSource = TabOf("blz_api.c");
    ASSERT_GE(nSource, 0);
    Frame().replaceTabText(nSource, "this is not C\r\n");
    Command(ID_COMPILE);
    ASSERT_TRUE(BuildEnds());
    std::string output = OutputText();
    EXPECT_NE(output.find("blz_api.c:1:"), std::string::npos) << output;
    EXPECT_NE(output.find("error"), std::string::npos) << output;
    const std::string gccName = gcc.substr(gcc.find_last_of('\\') + 1);
    EXPECT_EQ(LastLine(output), "Compiling failed: " + gccName + " exited with code 1") << output;
    EXPECT_FALSE(std::filesystem::exists(location + "blz.dll"));

    // A compiler that is not there is named; nothing starts.
    Frame().m_strGccPath = (Folder() + "no-gcc.exe").c_str();
    Command(ID_COMPILE);
    EXPECT_FALSE(Frame().IsBuildRunning());
    EXPECT_EQ(OutputText(), "Compiling failed: the compiler " + Folder() + "no-gcc.exe was not found.");
}

}  // namespace
