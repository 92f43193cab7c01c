// Closing the program while a build runs asks first: No keeps the window and the build, Yes ends
// the build's programs, every one the compiler started included, before the window goes. Before,
// the compiler went on and wrote its output after the window had gone.
#include "AppTestHost.h"

#include "app/WineHost.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <fstream>

using namespace apptest;

namespace {

class ExitDuringBuildTest : public AppTest {
protected:
    // A Unix "compiler" that starts a program of its own and waits for it, each writing its process
    // id into the project folder; the build follows it until it ends.
    void StartBuild() {
        const std::string unixFolder = UnixPathOf(Folder());
        ASSERT_FALSE(unixFolder.empty()) << "not under Wine";
        CBuildJob job;
        job.folder = Folder();
        job.steps.push_back({{"Z:\\bin\\sh", "-c",
                              "echo $$ >compiler.pid.part && mv compiler.pid.part compiler.pid; "
                              "sleep 300 & echo $! >child.pid.part && mv child.pid.part child.pid; wait"}});
        job.finished = [this](const CBuildOutcome&) { m_bFinished = true; };
        ASSERT_TRUE(Frame().runBuild(job));
        ASSERT_TRUE(PumpUntilDoneOrHung([&] {
            return std::filesystem::exists(Folder() + "compiler.pid") && std::filesystem::exists(Folder() + "child.pid");
        }));
    }
    static bool Running(const std::string& pidFile) {
        std::string pid = testsupport::readBytes(pidFile);
        while (!pid.empty() && (pid.back() == '\n' || pid.back() == '\r')) pid.pop_back();
        // A process that ended is gone from /proc once reaped, or stays there as a zombie ("Z").
        const std::string status = testsupport::readBytes("Z:\\proc\\" + pid + "\\stat");
        const size_t nState = status.rfind(") ");
        return !pid.empty() && nState != std::string::npos && status[nState + 2] != 'Z';
    }
    bool m_bFinished = false;
};

TEST_F(ExitDuringBuildTest, NoKeepsTheBuildAndYesEndsItsProgramsBeforeTheWindowGoes) {
    if (!IsRunningUnderWine()) GTEST_SKIP() << "the compiler runs as a Unix program under Wine only";
    StartBuild();
    ASSERT_TRUE(Frame().IsBuildRunning());
    EXPECT_TRUE(Running(Folder() + "compiler.pid"));
    EXPECT_TRUE(Running(Folder() + "child.pid"));

    Record().nBoxAnswer = IDNO;
    Frame().SendMessage(WM_CLOSE);
    ASSERT_EQ(Record().boxes.size(), 1u);
    EXPECT_EQ(Record().boxes[0].find("A build is running."), 0u) << Record().boxes[0];
    EXPECT_TRUE(::IsWindow(Frame().GetSafeHwnd()));
    EXPECT_TRUE(Frame().IsBuildRunning());
    EXPECT_TRUE(Running(Folder() + "child.pid"));

    Record().nBoxAnswer = IDYES;
    const HWND hFrame = Frame().GetSafeHwnd();
    Frame().SendMessage(WM_CLOSE);
    EXPECT_EQ(Record().boxes.size(), 2u);
    EXPECT_FALSE(::IsWindow(hFrame));
    // Gone by the time the window is: the compiler and what it started.
    EXPECT_FALSE(Running(Folder() + "compiler.pid"));
    EXPECT_FALSE(Running(Folder() + "child.pid"));
    EXPECT_FALSE(m_bFinished) << "a stopped build's end is not reported to a window that went";
}

TEST_F(ExitDuringBuildTest, WithoutABuildClosingAsksNothing) {
    Frame().SendMessage(WM_CLOSE);
    EXPECT_TRUE(Record().boxes.empty());
}

}  // namespace
