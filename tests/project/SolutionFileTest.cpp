#include "project/ConfigReader.h"
#include "project/ProjectFiles.h"
#include "project/WritableFile.h"
#include "project/SolutionFile.h"

#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"

#include <Poco/File.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

const std::string kSep(1, kPathSeparator);

CProjectRecord record(const std::string& name, int library, int auth, int platform, const std::string& wsdl,
                      const std::string& location = "")
{
    CProjectRecord r;
    r.name = name, r.libraryType = library, r.authType = auth, r.targetPlatform = platform;
    r.wsdlPath = wsdl, r.location = location;
    return r;
}

std::string fields(const CProjectRecord& r)
{
    return r.name + "|" + std::to_string(r.libraryType) + "|" + std::to_string(r.authType) + "|"
           + std::to_string(r.targetPlatform) + "|" + r.wsdlPath + "|" + r.location;
}

class SolutionFileTest : public ::testing::Test {
protected:
    testsupport::ScopedWorkingFolder folder_;
};

TEST_F(SolutionFileTest, ExactBytesOfSampleProjects)
{
    const struct {
        CProjectRecord record;
        std::string line;
    } cases[] = {
        {record("demo", 0, 1, 0, "C:\\work\\demo.wsdl", "C:\\work\\demo"),
         "name=\"demo\" library_type=\"0\" auth_type=\"1\" target_platform=\"0\" wsdl_path=\"C:\\work\\demo.wsdl\""},
        {record("Calc_2", 1, 3, 1, "a&b<c\"d>e\xE9\t\r\n", "C:\\work\\"),
         "name=\"Calc_2\" library_type=\"1\" auth_type=\"3\" target_platform=\"1\" "
         "wsdl_path=\"a&amp;b&lt;c&quot;d>e\xE9&#9;&#13;&#10;\""},
    };
    for (const auto& c : cases) {
        std::string text;
        ASSERT_TRUE(formatSolution(c.record, text));
        EXPECT_EQ(text, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<solution>\r\n<project " + c.line
                            + " >\r\n</project>\r\n</solution>");
    }
    EXPECT_EQ(solutionFilePath(cases[0].record), "C:\\work\\demo" + kSep + "demo.zbq");
    EXPECT_EQ(solutionFilePath(cases[1].record), "C:\\work\\Calc_2.zbq");
    EXPECT_EQ(folderOfPath("C:\\work/demo\\demo.zbq") + "|" + folderOfPath("demo.zbq"), "C:\\work/demo\\|");
}

// What a record holds reads back byte-equal and writes the same bytes again.
TEST_F(SolutionFileTest, WriteReadWriteIsByteIdentical)
{
    const std::string paths[] = {"a&b.wsdl", "<t>&amp;.wsdl", "say \"hi\" 'x'", "caf\xE9\xC0\xFF\x80", " \t\r\n", "",
                                 std::string(5000, 'p')};
    for (const std::string& path : paths) {
        const CProjectRecord written = record("demo", 1, 2, 1, path, "." + kSep);
        ASSERT_EQ(saveSolution(written), 0);
        const std::string first = testsupport::readBytes("demo.zbq");
        CProjectRecord read;
        ASSERT_EQ(loadSolution(solutionFilePath(written), read), 0) << path;
        EXPECT_EQ(fields(read), fields(written));
        ASSERT_EQ(saveSolution(read), 0);
        EXPECT_EQ(testsupport::readBytes("demo.zbq"), first);
    }
}

TEST_F(SolutionFileTest, InvalidFilesLeaveTheRecordAlone)
{
    const char* const attrs[] = {"name=\"demo\"", "library_type=\"0\"", "auth_type=\"1\"", "target_platform=\"0\"",
                                 "wsdl_path=\"w\""};
    auto withValue = [&](std::size_t index, const std::string& value) {
        std::string text = "<solution><project";
        for (std::size_t i = 0; i < 5; ++i)
            text += " " + (i != index ? std::string(attrs[i]) : value);
        return text + "/></solution>";
    };
    const struct {
        std::string bytes;
        int rc;
    } cases[] = {
        {"", XCFG_REJECTED},
        {"<solutions><project " + std::string(attrs[0]) + "/></solutions>", EINVAL},
        {"<solution><x>" + withValue(9, "") + "</x></solution>", XCFG_NOT_FOUND},
        {withValue(1, "library_type=\"-1\""), EINVAL},
        {withValue(1, "library_type=\"\""), XCFG_NOT_FOUND},
        {withValue(2, "auth_type=\"2147483648\""), E2BIG},
        {"<solution>" + withValue(9, "") + "<project name=\"x\"/></solution>", XCFG_NOT_FOUND},
        {"<!DOCTYPE s [<!ENTITY n \"d\">]>" + withValue(0, "name=\"&n;\""), XCFG_REJECTED},
        {withValue(0, "name=\"de\"mo\""), XCFG_REJECTED},
        {withValue(0, "name=\"..\\evil\""), EINVAL},
        {withValue(0, "name=\"a/b\""), EINVAL},
        {withValue(0, "name=\"2d\""), EINVAL},
        {withValue(0, "name=\"CON\""), EINVAL},
        {withValue(0, "name=\"lpt1\""), EINVAL},
        {withValue(0, "name=\"caf&#233;\""), EINVAL},
        {withValue(0, "name=\"\""), EINVAL},
    };
    auto expectRefused = [](const std::string& path, int rc, const std::string& what) {
        CProjectRecord read = record("keep", 7, 7, 7, "keep", "keep");
        EXPECT_EQ(loadSolution(path, read), rc) << what;
        EXPECT_EQ(fields(read), "keep|7|7|7|keep|keep") << what;
    };
    expectRefused("missing.zbq", ENOENT, "missing");
    for (std::size_t i = 0; i < 5; ++i) {
        testsupport::writeBytes("bad.zbq", withValue(i, "x=\"1\""));
        expectRefused("bad.zbq", XCFG_NOT_FOUND, attrs[i]);
    }
    for (const auto& c : cases) {
        testsupport::writeBytes("bad.zbq", c.bytes);
        expectRefused("bad.zbq", c.rc, c.bytes);
    }
}

TEST_F(SolutionFileTest, AnyLayoutReadsAndTheLastProjectWins)
{
    std::filesystem::create_directory("sub");
    testsupport::writeBytes("sub/p.zbq",
                            "<?xml version='1.0'?>\n<solution v='2'>\n <project wsdl_path='1' target_platform='0' "
                            "auth_type='0' library_type='0' name='one'/>\n <other/><project x='y' name='two' "
                            "library_type='1' auth_type='2' target_platform='1' wsdl_path='2'><c/></project>\n</solution>");
    CProjectRecord read;
    ASSERT_EQ(loadSolution("sub" + kSep + "p.zbq", read), 0);
    EXPECT_EQ(fields(read), "two|1|2|1|2|sub" + kSep);
}

TEST_F(SolutionFileTest, SaveRefusalsAndFailures)
{
    for (const std::string name : {"a&b", "..\\evil", "../evil", "con", "int"})
        EXPECT_EQ(saveSolution(record(name, 0, 0, 0, "w")), EINVAL) << name;
    EXPECT_EQ(saveSolution(record("demo", 0, 0, 0, "w\x01")), EINVAL);
    EXPECT_EQ(saveSolution(record("demo", 0, 0, 0, "w", "missing" + kSep)), ENOENT);
    EXPECT_EQ(testsupport::namesContaining(""), std::set<std::string>());
}

TEST_F(SolutionFileTest, MakeFileWritable)
{
    testsupport::writeBytes("ro.wsdl", "<x/>");
    Poco::File("ro.wsdl").setWriteable(false);
    ASSERT_FALSE(Poco::File("ro.wsdl").canWrite());
    EXPECT_TRUE(makeFileWritable("ro.wsdl"));
    EXPECT_TRUE(Poco::File("ro.wsdl").canWrite());
    EXPECT_TRUE(makeFileWritable("ro.wsdl"));
    std::filesystem::create_directory("dir.wsdl");
    for (const char* path : {"", "missing.wsdl", "dir.wsdl"})
        EXPECT_FALSE(makeFileWritable(path)) << path;
}

}  // namespace
