// A run's generated files staged beside the project: each decided on as it
// is written, the user's files kept, and what the project holds already
// left alone.
#include "tools/kvgen/ProjectStaging.h"

#include "generator/emit/RunSteps.h"
#include "tools/kvgen/HashedReader.h"

#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::uint64_t wordsHash(const std::string& text)
{
    CFileHash hash(CFileHash::Words);
    hash.add(text.data(), text.size());
    return hash.value();
}

// A text of a few blocks with a last line that tells one from another.
std::string sourceText(const std::string& last)
{
    std::string text;
    while (text.size() < 3 * CHashedReader::BlockSize)
        text += "int value" + std::to_string(text.size()) + ";\r\n";
    return text + last;
}

TEST(ProjectStaging, DecidesOnEachWrittenFileAsItIsWritten)
{
    const std::string text = sourceText("/* run */\r\n");
    const std::string older = sourceText("/* old */\r\n");
    const std::string lastByte = text.substr(0, text.size() - 1) + "#";
    struct Case {
        const char* name;
        std::optional<std::string> present; // none: the project has no such file
        std::optional<std::string> recorded; // what kvgen recorded writing there
        std::string kept;                    // why the file is kept, empty when it is not
    };
    const Case cases[] = {
        {"a new file", std::nullopt, std::nullopt, ""},
        {"the project holds the text, as recorded", text, text, ""},
        {"the project holds the text, never recorded", text, std::nullopt, ""},
        {"an earlier run's file, unchanged", older, older, ""},
        {"an earlier run's file, changed since", lastByte, older, ": changed since kvgen wrote it"},
        {"a file kvgen never wrote", older, std::nullopt, ": not written by kvgen"},
    };
    for (const Case& c : cases) {
      for (const CProjectStaging::Changed changed : {CProjectStaging::KeepChanged, CProjectStaging::ReplaceChanged}) {
        SCOPED_TRACE(std::string(c.name) + (changed == CProjectStaging::KeepChanged ? "" : ", forced"));
        testsupport::ScopedWorkingFolder folder;
        fs::create_directory("project");
        const fs::file_time_type earlier = fs::file_time_type::clock::now() - std::chrono::hours(1);
        if (c.present) {
            testsupport::writeBytes("project/calc_api.c", *c.present);
            fs::last_write_time("project/calc_api.c", earlier);
        }
        if (c.recorded) {
            CWrittenFiles record;
            record.set("calc_api.c", wordsHash(*c.recorded));
            ASSERT_TRUE(record.save("project"));
        }
        CProjectStaging staging("project");
        ASSERT_TRUE(staging.ready()) << staging.failure();
        ASSERT_TRUE(staging.write(staging.folder() + "calc_api.c", [&](std::ostream& out) { out << text; }));
        const std::vector<std::string> kept = staging.keptFiles();
        if (!c.kept.empty()) {
            EXPECT_EQ(kept, std::vector<std::string>{"project/calc_api.c" + c.kept});
        } else {
            EXPECT_TRUE(kept.empty());
        }
        ASSERT_TRUE(staging.commit(changed)) << staging.failure();
        CWrittenFiles record;
        record.load("project");
        CWrittenFiles::Entry entry;
        if (!c.kept.empty() && changed == CProjectStaging::KeepChanged) {
            // The user's bytes and the record as they were: the next run keeps the file too.
            EXPECT_TRUE(testsupport::readBytes("project/calc_api.c") == *c.present);
            EXPECT_TRUE(fs::last_write_time("project/calc_api.c") == earlier);
            EXPECT_TRUE(staging.committedFiles().empty());
            ASSERT_EQ(record.find("calc_api.c", entry), c.recorded.has_value());
            if (c.recorded) {
                EXPECT_EQ(entry.hash, wordsHash(*c.recorded));
            }
            continue;
        }
        EXPECT_TRUE(testsupport::readBytes("project/calc_api.c") == text);
        // A file that held the text already keeps its time, so make rebuilds nothing.
        EXPECT_EQ(fs::last_write_time("project/calc_api.c") == earlier, c.present == text);
        ASSERT_EQ(staging.committedFiles().size(), 1u);
        EXPECT_EQ(staging.committedFiles()[0].written, c.present != text);
        ASSERT_TRUE(record.find("calc_api.c", entry));
        EXPECT_EQ(entry.hash, wordsHash(text));
      }
    }
}

// Of the files of one run, those the user changed are kept and the others
// written.
TEST(ProjectStaging, KeepsTheChangedFilesAndWritesTheOthers)
{
    testsupport::ScopedWorkingFolder folder;
    fs::create_directory("project");
    const std::string older = sourceText("/* old */\r\n");
    CWrittenFiles earlier;
    for (const char* file : {"calc_api.c", "calc_api.h", "calc_api_demo.c"}) {
        testsupport::writeBytes(std::string("project/") + file, older);
        earlier.set(file, wordsHash(older));
    }
    ASSERT_TRUE(earlier.save("project"));
    testsupport::writeBytes("project/calc_api_demo.c", older + "/* mine */\n");
    CProjectStaging staging("project");
    ASSERT_TRUE(staging.ready()) << staging.failure();
    for (const char* file : {"calc_api.c", "calc_api.h", "calc_api_demo.c", "Makefile"})
        ASSERT_TRUE(staging.write(staging.folder() + file, [&](std::ostream& out) { out << sourceText(file); }));
    EXPECT_EQ(staging.keptFiles(), std::vector<std::string>{"project/calc_api_demo.c: changed since kvgen wrote it"});
    ASSERT_TRUE(staging.commit()) << staging.failure();
    EXPECT_TRUE(testsupport::readBytes("project/calc_api_demo.c") == older + "/* mine */\n");
    std::vector<std::string> committed;
    for (const CProjectStaging::CommittedFile& file : staging.committedFiles()) {
        EXPECT_TRUE(file.written) << file.path;
        committed.push_back(file.path);
    }
    EXPECT_EQ(committed, (std::vector<std::string>{"project/Makefile", "project/calc_api.c", "project/calc_api.h"}));
    for (const char* file : {"calc_api.c", "calc_api.h", "Makefile"})
        EXPECT_TRUE(testsupport::readBytes(std::string("project/") + file) == sourceText(file)) << file;
}

// The user saves the project's file while the run compares it: the text is
// written again whole instead of taking the saved bytes into it.
TEST(ProjectStaging, AFileSavedWhileComparedIsStagedFromTheTextItself)
{
    testsupport::ScopedWorkingFolder folder;
    const std::string text = sourceText("/* run */\r\n");
    fs::create_directory("project");
    testsupport::writeBytes("project/calc_api.c", text.substr(0, text.size() - 1) + "#");
    CProjectStaging staging("project");
    int rounds = 0;
    // Saved when the text is halfway through its second block.
    const std::size_t before = CHashedReader::BlockSize * 3 / 2;
    ASSERT_TRUE(staging.write(staging.folder() + "calc_api.c", [&](std::ostream& out) {
        ++rounds;
        out.write(text.data(), static_cast<std::streamsize>(before));
        testsupport::writeBytes("project/calc_api.c", "saved" + text.substr(5, text.size() - 6) + "#");
        out.write(text.data() + before, static_cast<std::streamsize>(text.size() - before));
    }));
    EXPECT_EQ(rounds, 2);
    // The saved file is the user's now: only a forced run replaces it.
    ASSERT_TRUE(staging.commit(CProjectStaging::ReplaceChanged)) << staging.failure();
    EXPECT_TRUE(testsupport::readBytes("project/calc_api.c") == text);
}

// The files of a run written at the same time, some new and some the
// project holds already: each is recorded and put in place as when written
// one after the other.
TEST(ProjectStaging, FilesWrittenAtTheSameTimeAreEachDecidedOn)
{
    testsupport::ScopedWorkingFolder folder;
    fs::create_directory("project");
    const struct {
        const char* file;
        bool present; // the project holds the text already
    } cases[] = {{"one.c", false}, {"two.c", true}, {"three.c", false}, {"four.c", true}, {"five.c", false}};
    for (const auto& c : cases) {
        if (c.present)
            testsupport::writeBytes(std::string("project/") + c.file, sourceText(c.file));
    }
    CProjectStaging staging("project");
    ASSERT_TRUE(staging.ready()) << staging.failure();
    std::vector<CRunStep> writes;
    for (const auto& c : cases) {
        writes.push_back([&staging, file = std::string(c.file)] {
            return staging.write(staging.folder() + file, [&](std::ostream& out) { out << sourceText(file); });
        });
    }
    ASSERT_EQ(runTogether(writes), writes.size());
    EXPECT_TRUE(staging.keptFiles().empty());
    ASSERT_TRUE(staging.commit()) << staging.failure();
    CWrittenFiles record;
    record.load("project");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_TRUE(testsupport::readBytes(std::string("project/") + c.file) == sourceText(c.file));
        CWrittenFiles::Entry entry;
        ASSERT_TRUE(record.find(c.file, entry));
        EXPECT_EQ(entry.hash, wordsHash(sourceText(c.file)));
    }
}

} // namespace
