// A generated file compared with the project's file as it is written: the
// project's file is left alone only when it holds exactly the text, and
// otherwise the staged file holds the text whole, whatever the pieces it
// came in and wherever the first difference lies.
#include "tools/kvgen/StagedFileSink.h"

#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::size_t Block = CHashedReader::BlockSize;

// Bytes that differ from block to block, so that a misplaced block shows.
std::string textOf(std::size_t size)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('a' + (i * 7 + i / Block) % 26);
    return text;
}

std::string withByte(std::string text, std::size_t at, char c)
{
    text[at] = c;
    return text;
}

std::uint64_t wordsHash(const std::string& text)
{
    CFileHash hash(CFileHash::Words);
    hash.add(text.data(), text.size());
    return hash.value();
}

void writeInPieces(std::ostream& stream, const std::string& text, std::size_t piece)
{
    for (std::size_t at = 0; at < text.size(); at += piece)
        stream.write(text.data() + at, static_cast<std::streamsize>(std::min(piece, text.size() - at)));
}

TEST(StagedFileSink, StagesTheTextUnlessTheProjectHoldsItAlready)
{
    const std::string big = textOf(2 * Block + 5);
    struct Case {
        const char* name;
        std::optional<std::string> present; // none: the project has no such file
        std::string text;
        std::size_t piece;
        CStagedFileSink::Outcome outcome;
    };
    const Case cases[] = {
        {"an empty text and no file", std::nullopt, "", 1, CStagedFileSink::Written},
        {"an empty text and an empty file", std::string(), "", 1, CStagedFileSink::Same},
        {"an empty text and a file with a byte", std::string("x"), "", 1, CStagedFileSink::Written},
        {"a new file", std::nullopt, big, 1000, CStagedFileSink::Written},
        {"exactly one block, the same", textOf(Block), textOf(Block), Block, CStagedFileSink::Same},
        {"the same in small pieces", big, big, 1000, CStagedFileSink::Same},
        {"the same in one piece of several blocks", big, big, big.size(), CStagedFileSink::Same},
        {"the first byte differs", withByte(big, 0, '#'), big, 1000, CStagedFileSink::Written},
        {"the last byte differs", withByte(big, big.size() - 1, '#'), big, 1000, CStagedFileSink::Written},
        {"the last byte of a block differs", withByte(big, Block - 1, '#'), big, 999, CStagedFileSink::Written},
        {"the first byte of a block differs", withByte(big, Block, '#'), big, big.size(), CStagedFileSink::Written},
        {"the project's file is longer", big + "x", big, 4096, CStagedFileSink::Written},
        {"the project's file is shorter", big.substr(0, big.size() - 1), big, 4096, CStagedFileSink::Written},
        {"the project's file is shorter by a block", big.substr(0, Block), big, 4096, CStagedFileSink::Written},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScopedWorkingFolder folder;
        if (c.present)
            testsupport::writeBytes("present.c", *c.present);
        CStagedFileSink sink("staged.c", "present.c");
        writeInPieces(sink.stream(), c.text, c.piece);
        EXPECT_EQ(sink.finish(), c.outcome);
        EXPECT_EQ(sink.hash(), wordsHash(c.text));
        if (c.outcome == CStagedFileSink::Same) {
            EXPECT_FALSE(fs::exists("staged.c"));
        } else {
            EXPECT_TRUE(testsupport::readBytes("staged.c") == c.text);
        }
        if (c.present) {
            EXPECT_TRUE(testsupport::readBytes("present.c") == *c.present);
        }
    }
}

// A project "file" that is a folder, or no file to compare with at all,
// has the text written straight away.
TEST(StagedFileSink, WithoutAFileToCompareWithTheTextIsWritten)
{
    testsupport::ScopedWorkingFolder folder;
    fs::create_directory("folder.c");
    for (const fs::path& present : {fs::path("folder.c"), fs::path()}) {
        CStagedFileSink sink("staged.c", present);
        sink.stream() << "int x;\r\n";
        EXPECT_EQ(sink.finish(), CStagedFileSink::Written);
        EXPECT_EQ(testsupport::readBytes("staged.c"), "int x;\r\n");
    }
}

// Bytes compared early and saved over by the user before the text differed
// are not taken into the staged file: the text has to come again.
TEST(StagedFileSink, AProjectFileSavedWhileComparedAsksForTheTextAgain)
{
    testsupport::ScopedWorkingFolder folder;
    const std::string text = textOf(3 * Block);
    testsupport::writeBytes("present.c", withByte(text, text.size() - 1, '#'));
    CStagedFileSink sink("staged.c", "present.c");
    sink.stream().write(text.data(), static_cast<std::streamsize>(Block));
    testsupport::writeBytes("present.c", withByte(withByte(text, 0, '!'), text.size() - 1, '#'));
    sink.stream().write(text.data() + Block, static_cast<std::streamsize>(text.size() - Block));
    EXPECT_EQ(sink.finish(), CStagedFileSink::PresentChanged);
}

TEST(StagedFileSink, AStagedFileThatCannotBeMadeFails)
{
    testsupport::ScopedWorkingFolder folder;
    CStagedFileSink sink("no-such-folder/staged.c", "present.c");
    sink.stream() << "int x;\r\n";
    EXPECT_EQ(sink.finish(), CStagedFileSink::Failed);
}

} // namespace

namespace {

// A staged file that cannot be written says why, as the system said it,
// whether it could not be made or a write to it failed.
TEST(StagedFileSinkFailure, TheSystemsCauseIsKept)
{
    testsupport::ScopedWorkingFolder folder;
    struct Case {
        const char* staged;
        std::string cause;
    };
    std::vector<Case> cases = {{"missing-folder/file.c", "No such file or directory"}};
    if (fs::exists("/dev/full"))
        cases.push_back({"/dev/full", "No space left on device"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.staged);
        CStagedFileSink sink(c.staged, fs::path());
        sink.stream() << textOf(3 * Block);
        EXPECT_EQ(sink.finish(), CStagedFileSink::Failed);
        EXPECT_EQ(sink.failure(), c.cause);
    }
    CStagedFileSink written("written.c", fs::path());
    written.stream() << "text";
    EXPECT_EQ(written.finish(), CStagedFileSink::Written);
    EXPECT_EQ(written.failure(), "");
}

} // namespace
