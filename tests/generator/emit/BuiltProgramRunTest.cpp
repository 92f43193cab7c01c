// A program the tests built runs with its arguments; what it wrote to standard output comes back
// byte for byte, what it wrote to standard error as the messages, and its exit code as its status on
// both builds. A program that cannot be started says so and why; one that outlives its limit is
// ended and named.

#include "GeneratorTestSupport.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace gentest;

namespace {

// Writes bytes a text stream would change (a line end, a control character, a nul), a line on
// standard error, and exits with its first argument.
const char* const Echo = R"(#include <stdio.h>
#include <stdlib.h>
int main(int argc, char **argv)
{
	fwrite("a\r\nb\n\x1a\0z", 1, 8, stdout);
	fprintf(stderr, "%d %s\n", argc, argv[argc - 1]);
	return atoi(argv[1]);
}
)";

TEST(BuiltProgramRunTest, OutputMessagesAndStatusComeBack)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("echo.c", Echo);
    ASSERT_EQ(buildProgram("echo.c", "echo", false, true), 0) << testsupport::readBytes("messages.txt");
    const struct {
        std::string arguments;
        int status;
        std::string messages;
    } cases[] = {
        {"0", 0, "2 0\n"},
        {"7 last", 7, "3 last\n"},
        {"0 two words", 0, "4 words\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const RunResult run = runBuiltProgram("echo", std::string(), c.arguments);
        EXPECT_EQ(run.status, c.status) << run.messages;
        EXPECT_EQ(run.output, std::string("a\r\nb\n\x1a\0z", 8));
        std::string messages = run.messages;
        messages.erase(std::remove(messages.begin(), messages.end(), '\r'), messages.end());
        EXPECT_EQ(messages, c.messages);
    }
}

// Waits far past any limit a test gives it.
const char* const Stay = R"(#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif
int main(void)
{
#ifdef _WIN32
	Sleep(600000);
#else
	sleep(600);
#endif
	return 0;
}
)";

// The test fails naming the program, its arguments and the limit, natively and under Wine alike.
TEST(BuiltProgramRunTest, AProgramPastItsLimitIsEndedAndNamed)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("stay.c", Stay);
    ASSERT_EQ(buildProgram("stay.c", "stay", false, true), 0) << testsupport::readBytes("messages.txt");
#ifdef _WIN32
    const std::string named = "'stay.exe one two' ran past its limit of 500 ms and was ended";
#else
    const std::string named = "'stay one two' ran past its limit of 500 ms and was ended";
#endif
    RunResult run;
    EXPECT_NONFATAL_FAILURE(run = runBuiltProgram("stay", std::string(), "one two", std::chrono::milliseconds(500)),
                            named);
    EXPECT_EQ(run.status, -1);
    EXPECT_EQ(run.messages, named);
    EXPECT_EQ(run.output, "");
}

#ifdef _WIN32
TEST(BuiltProgramRunTest, AProgramThatCannotStartSaysWhy)
{
    const struct {
        std::string name;
        std::string text; // of the file; none when empty
        std::string said;
    } cases[] = {
        {"absent", "", "could not start absent.exe: error 2"},
        {"text", "not a program\n", "could not start text.exe: error 193"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScopedWorkingFolder folder;
        if (!c.text.empty())
            testsupport::writeBytes(c.name + ".exe", c.text);
        const RunResult run = runBuiltProgram(c.name);
        EXPECT_EQ(run.status, -1);
        EXPECT_EQ(run.messages, c.said);
        EXPECT_EQ(run.output, "");
    }
}
#endif

} // namespace
