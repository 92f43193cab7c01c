// A command of the build machine gives its exit status, and one that could not run to its end says
// why: the shell that could not be started and the error, the signal that ended it, the wait that
// gave up.

#include "support/HostCommand.h"
#include "support/ScopedWorkingFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace std::chrono_literals;

namespace {

TEST(HostCommandTest, StatusOrWhyThereIsNone)
{
    const struct {
        std::string command;
        std::string shell;
        std::chrono::milliseconds limit;
        int status;
        std::string failure; // its start, when it goes on with the error's own words
    } cases[] = {
        {"exit 0", "/bin/sh", 300s, 0, ""},
        {"exit 3", "/bin/sh", 300s, 3, ""},
        {"exit 0", "/no/such/shell", 300s, -1, "could not start /no/such/shell for 'exit 0': error "},
#ifdef _WIN32
        {"sleep 5", "/bin/sh", 200ms, -1, "'sleep 5' gave no exit status within 200 ms"},
        // Its shell's status: Wine gives no handle to wait on it.
        {"kill -9 $$", "/bin/sh", 300s, 137, ""},
#else
        {"kill -9 $$", "/bin/sh", 300s, -1, "'kill -9 $$' was ended by signal 9"},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shell + " " + c.command);
        testsupport::ScopedWorkingFolder folder;
        const testsupport::HostCommandRun run = testsupport::runHostCommand(c.command, c.shell, c.limit);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.failure.substr(0, c.failure.size()), c.failure);
        EXPECT_EQ(run.failure.empty(), c.failure.empty()) << run.failure;
    }
}

} // namespace
