// A program a test starts under Wine comes back with its status and what it wrote, is ended at its
// time limit with its command line and the limit named, and says why it could not start.

#ifdef _WIN32

#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "support/WindowsProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

using namespace std::chrono_literals;

namespace {

// Starts the program and, once it has written a first line, finishes it within limit: the limit
// then runs out after the line whatever the load, so that the line is there to come back.
testsupport::LimitedRun finishAfterFirstLine(const std::string& program, const std::string& commandLine,
                                             std::chrono::milliseconds limit)
{
    const testsupport::WindowsProcess process(program, commandLine, "output.txt", "errors.txt");
    EXPECT_TRUE(process.started()) << process.startError();
    while (testsupport::readBytes("output.txt").find('\n') == std::string::npos && !process.waitFor(20)) {
    }
    return testsupport::finishWithin(process, commandLine, limit);
}

TEST(LimitedRunTest, StatusOutputAndWhyARunEnded)
{
    const struct {
        std::string program;
        std::string arguments;
        std::chrono::milliseconds limit;
        bool afterFirstLine;
        int status;
        std::string failure;
        std::string output;
        std::string errors;
    } cases[] = {
        {"child.exe", "exit 0", 300s, false, 0, "", "out\r\n", "err\r\n"},
        {"child.exe", "exit 7", 300s, false, 7, "", "out\r\n", "err\r\n"},
        // Its limit passes before it would end: ended and named, and the line it wrote comes back.
        {"child.exe", "stay", 250ms, true, -1, "'child.exe stay' ran past its limit of 250 ms and was ended",
         "staying\r\n", ""},
        {"child.exe", "stay", 1ms, false, -1, "'child.exe stay' ran past its limit of 1 ms and was ended", "", ""},
        {"absent.exe", "exit 0", 300s, false, -1, "could not start absent.exe: error 2", "", ""},
        {"text.exe", "exit 0", 300s, false, -1, "could not start text.exe: error 193", "", ""},
    };
    testsupport::ScopedWorkingFolder folder;
    std::filesystem::copy_file(KELVANE_SUPPORT_CHILD, "child.exe");
    testsupport::writeBytes("text.exe", "not a program\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program + " " + c.arguments + " within " + std::to_string(c.limit.count()) + " ms");
        const std::string line = c.program + " " + c.arguments;
        const testsupport::LimitedRun run = c.afterFirstLine
            ? finishAfterFirstLine(c.program, line, c.limit)
            : testsupport::runWithin(c.program, line, "output.txt", "errors.txt", c.limit);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.failure, c.failure);
        EXPECT_EQ(run.overran, c.failure.find("ran past") != std::string::npos);
        if (c.limit > 1ms) // a program ended at 1 ms may or may not have written its line
            EXPECT_EQ(testsupport::readBytes("output.txt"), c.output);
        EXPECT_EQ(testsupport::readBytes("errors.txt"), c.errors);
    }
}

} // namespace

#endif
