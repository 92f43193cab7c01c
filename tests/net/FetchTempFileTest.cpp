// Temporary files of downloads: new names only, exact bytes, removal unless kept.
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "net/TempFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <stdexcept>

namespace {

using testsupport::readBytes;
using testsupport::writeBytes;

TempFile::NameSource namesInTurn(std::vector<std::string> names)
{
    auto next = std::make_shared<std::size_t>(0);
    return [names, next]() { return names[std::min(names.size() - 1, (*next)++)]; };
}

class FetchTempFileTest : public ::testing::Test {
protected:
    testsupport::ScopedWorkingFolder folder_;
};

TEST_F(FetchTempFileTest, RandomNamesAreEightLettersAndTheSuffix)
{
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i) {
        const std::string name = TempFile::randomName();
        EXPECT_TRUE(testsupport::isTemporaryName(name)) << name;
        names.insert(name);
    }
    EXPECT_GT(names.size(), 190u);
}

TEST_F(FetchTempFileTest, ATakenNameIsNeverOpenedAndAnotherIsDrawn)
{
    writeBytes("TakenAAA.kw-tmp", "user's file");
    {
        TempFile file(namesInTurn({"TakenAAA.kw-tmp", "FreshBBB.kw-tmp"}));
        EXPECT_EQ(file.name(), "FreshBBB.kw-tmp");
        EXPECT_TRUE(file.write("new", 3));
        EXPECT_TRUE(file.keep());
    }
    EXPECT_EQ(readBytes("TakenAAA.kw-tmp"), "user's file");
    EXPECT_EQ(readBytes("FreshBBB.kw-tmp"), "new");
}

TEST_F(FetchTempFileTest, CreationFailsWhenNoNewFileCanBeMade)
{
    writeBytes("TakenAAA.kw-tmp", "user's file");
    EXPECT_THROW(TempFile(namesInTurn({"TakenAAA.kw-tmp"})), std::runtime_error);
    EXPECT_THROW(TempFile(namesInTurn({"no-such-folder/NewNameX.kw-tmp"})), std::runtime_error);
    EXPECT_EQ(readBytes("TakenAAA.kw-tmp"), "user's file");
}

TEST_F(FetchTempFileTest, KeptFilesHoldTheBytesExactlyOthersAreRemoved)
{
    const std::string pieces[] = {std::string("a\0b", 3), "\r\n", "\n", "\x1a", std::string(1, '\0'), "\r"};
    std::string name;
    {
        TempFile file;
        name = file.name();
        for (const std::string& piece : pieces)
            EXPECT_TRUE(file.write(piece.data(), piece.size()));
        EXPECT_TRUE(file.keep());
    }
    EXPECT_EQ(readBytes(name), std::string("a\0b\r\n\n\x1a\0\r", 9));

    {
        TempFile dropped;
        name = dropped.name();
        EXPECT_TRUE(dropped.write("partial", 7));
    }
    EXPECT_FALSE(std::filesystem::exists(name));
}

}  // namespace
