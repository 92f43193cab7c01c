// A Unix project laid out as File New lays it, its lib folder copied whole from the program's
// folder (lib/bin/win32 holding the Windows build of the support library), builds with a bare
// make after Generate Code and Generate Makefile, and its demo gets its answers.
#ifndef _WIN32

#include "FakeProjectHost.h"
#include "project/ProjectCommands.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "wsdl/WsdlParseTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const fs::path Runtime = KELVANE_SOURCE_DIR "/runtime";

// The program's folder as its build leaves it: the support library's headers and sources, a
// build for Windows in lib/bin/win32, the empty folder for Linux, and the make rules.
void stageProgramFolder(const fs::path& app)
{
    fs::create_directories(app / "lib" / "src");
    fs::create_directories(app / "lib" / "bin" / "redhat");
    fs::create_directories(app / "lib" / "bin" / "win32");
    fs::create_directories(app / "make");
    fs::copy(Runtime / "lib" / "include", app / "lib" / "include", fs::copy_options::recursive);
    // the program's folder holds the library's sources side by side, the server's and WS-Security's among them
    for (const fs::path& folder : {Runtime / "lib", Runtime / "lib" / "server", Runtime / "lib" / "security"})
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".c")
                fs::copy_file(entry.path(), app / "lib" / "src" / entry.path().filename());
    testsupport::writeBytes((app / "lib" / "bin" / "win32" / "tessaroMTD.lib").string(), "a Windows build");
    fs::copy_file(Runtime / "make" / "Make.rules", app / "make" / "Make.rules");
}

TEST(UnixProjectMakeTest, AProjectOfFileNewBuildsWithBareMakeAndItsDemoGetsItsAnswers)
{
    testsupport::ScopedWorkingFolder folder;
    const fs::path app = folder.path() / "program";
    const fs::path project = folder.path() / "calc";
    stageProgramFolder(app);
    fs::create_directories(project);
    // File New's copy of the program's lib folder, as xcopy /E makes it.
    fs::copy(app / "lib", project / "lib", fs::copy_options::recursive);
    testsupport::writeBytes((project / "calc.wsdl").string(), wsdltest::calculator());

    gentest::FakeProjectHost host;
    host.appFolder = app.string() + "/";
    CProjectCommands commands(host);
    commands.setSchemaFolder(KELVANE_SOURCE_DIR "/runtime/soap-schemas/");
    auto record = std::make_unique<CProjectRecord>();
    record->name = "calc";
    record->location = project.string();
    record->wsdlPath = (project / "calc.wsdl").string();
    record->targetPlatform = CProjectRecord::Unix;
    commands.setProject(std::move(record));
    ASSERT_TRUE(commands.generateFiles()) << host.output;
    ASSERT_TRUE(commands.generateMakefileFiles()) << host.output;

    const std::string make = "make -C '" + project.string() + "' > '" + (folder.path() / "make.txt").string() + "' 2>&1";
    ASSERT_EQ(std::system(make.c_str()), 0) << testsupport::readBytes((folder.path() / "make.txt").string());
    EXPECT_TRUE(fs::exists(project / "lib" / "bin" / "redhat" / "libtessaro.a"));
    const std::string run = "cd '" + project.string() + "' && timeout 120 ./calc_demo 0 > demo.txt 2>&1";
    const std::string output = [&] {
        const int status = std::system(run.c_str());
        return std::to_string(status) + ": " + testsupport::readBytes((project / "demo.txt").string());
    }();
    EXPECT_EQ(output.compare(0, 3, "0: "), 0) << output;
    EXPECT_NE(output.find("calls got their answer"), std::string::npos) << output;
}

}  // namespace

#endif
