// The history of requests sent: byte-exact round trips, and damaged files
// that cost their own record only and say where they broke.
#include "project/call/CallHistory.h"

#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

CallRecord record(const std::string& operation, const std::string& envelope)
{
    return {"2026-12-10T11:30:00Z", "CalcPort", operation, "http://127.0.0.1:8080/calc", envelope, 200, "Answered"};
}

void expectSame(const CallRecord& read, const CallRecord& written)
{
    EXPECT_EQ(read.when, written.when);
    EXPECT_EQ(read.port, written.port);
    EXPECT_EQ(read.operation, written.operation);
    EXPECT_EQ(read.endpoint, written.endpoint);
    EXPECT_EQ(read.envelope, written.envelope);
    EXPECT_EQ(read.status, written.status);
    EXPECT_EQ(read.outcome, written.outcome);
}

TEST(CallHistoryTest, EveryByteOfARecordReadsBackAsWritten)
{
    const CallRecord records[] = {
        record("Add", "<Envelope/>"),
        record("", ""),
        {"a\r\nb", "100% port", "op\tname", "http://h/p?q=%41", std::string("<e>\0\r\n\x7f\xff</e>\n\n", 15), 0,
         "Refused"},
        record("Ümlaut", "line one\r\nenvelope 5\r\nlast"),
    };
    for (const CallRecord& written : records) {
        SCOPED_TRACE(written.operation);
        CallRecord read;
        CallHistoryProblem problem;
        ASSERT_TRUE(CallHistory::readRecord(CallHistory::recordText(written), read, problem)) << problem.message;
        expectSame(read, written);
    }
}

TEST(CallHistoryTest, ADamagedRecordSaysWhereItBroke)
{
    const std::string good = CallHistory::recordText(record("Add", "<a>\n</a>"));
    const struct {
        const char* name;
        std::string text;
        int line;
        int column;
        const char* message;
    } cases[] = {
        {"another file", "<?xml version=\"1.0\"?>", 1, 1, "not a call record"},
        {"empty", "", 1, 1, "not a call record"},
        {"bad escape", "call 1\nwhen 10%G0\n", 2, 8, "two hexadecimal digits"},
        {"cut escape", "call 1\nport P%4", 2, 7, "two hexadecimal digits"},
        {"status", "call 1\nstatus 2x0\nenvelope 0\n\n", 2, 8, "status"},
        {"no value", "call 1\nendpoint\n", 2, 1, "a name, a space and a value"},
        {"envelope size", "call 1\nenvelope -3\n", 2, 10, "size"},
        {"envelope cut short", "call 1\nwhen x\nenvelope 50\n<a/>\n", 4, 1, "50 bytes announced, 5 found"},
        {"text after the envelope", "call 1\nenvelope 3\n<a>\nline\n<b/>", 4, 1, "after the envelope"},
        {"no envelope", "call 1\nwhen x\nport y\n", 4, 1, "without its envelope"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CallRecord read;
        CallHistoryProblem problem;
        ASSERT_FALSE(CallHistory::readRecord(c.text, read, problem));
        EXPECT_EQ(problem.line, c.line);
        EXPECT_EQ(problem.column, c.column);
        EXPECT_NE(problem.message.find(c.message), std::string::npos) << problem.message;
    }
    // Lines of a later version are passed over; CR LF line ends read.
    CallRecord read;
    CallHistoryProblem problem;
    EXPECT_TRUE(CallHistory::readRecord("call 1\r\nflavour new\r\nport P\r\nenvelope 2\r\nab", read, problem));
    EXPECT_EQ(read.port, "P");
    EXPECT_EQ(read.envelope, "ab");
}

TEST(CallHistoryTest, AppendedRecordsLoadInOrderAndADamagedFileCostsOnlyItself)
{
    testsupport::ScopedWorkingFolder folder;
    CallHistory history(folder.path().string());
    std::vector<CallHistoryProblem> problems;
    EXPECT_TRUE(history.load(problems).empty());
    EXPECT_TRUE(problems.empty());

    std::string why;
    for (const char* operation : {"Add", "Subtract", "Multiply"})
        ASSERT_TRUE(history.append(record(operation, std::string("<") + operation + "/>"), why)) << why;
    const std::string damaged = (std::filesystem::path(history.folder()) / "000002.call").string();
    testsupport::writeBytes(damaged, "call 1\nstatus many\n");
    testsupport::writeBytes((std::filesystem::path(history.folder()) / "notes.txt").string(), "not a record");

    const std::vector<CallRecord> records = history.load(problems);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].operation, "Add");
    EXPECT_EQ(records[1].operation, "Multiply");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].text().substr(0, damaged.size() + 5), damaged + ":2:8:");

    // A record appended after a gap takes the next number, never an old one's.
    ASSERT_TRUE(history.append(record("Divide", "<d/>"), why));
    problems.clear();
    EXPECT_EQ(history.load(problems).back().operation, "Divide");
}

TEST(CallHistoryTest, SavingReplacesTheWholeHistory)
{
    testsupport::ScopedWorkingFolder folder;
    CallHistory history(folder.path().string());
    std::string why;
    for (const char* operation : {"Add", "Subtract", "Multiply"})
        ASSERT_TRUE(history.append(record(operation, "<e/>"), why));
    ASSERT_TRUE(history.save({record("Divide", "<d/>"), record("Add", "<a/>")}, why)) << why;
    std::vector<CallHistoryProblem> problems;
    const std::vector<CallRecord> records = history.load(problems);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].operation, "Divide");
    EXPECT_EQ(records[1].operation, "Add");
    EXPECT_TRUE(problems.empty());
    ASSERT_TRUE(history.save({}, why));
    EXPECT_TRUE(history.load(problems).empty());
}

}  // namespace
