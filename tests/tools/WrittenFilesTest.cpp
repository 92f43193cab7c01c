// The fingerprint kvgen keeps of each file it wrote: the same bytes fed in
// any pieces give one hash, and the edits a user makes give another.
#include "tools/kvgen/WrittenFiles.h"

#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::uint64_t hashOf(const std::string& bytes, CFileHash::Kind kind, const std::vector<std::size_t>& pieces = {})
{
    CFileHash hash(kind);
    std::size_t at = 0;
    for (std::size_t piece : pieces) {
        hash.add(bytes.data() + at, piece);
        at += piece;
    }
    hash.add(bytes.data() + at, bytes.size() - at);
    return hash.value();
}

TEST(FileHash, PiecesOfAnySizeHashAsTheWhole)
{
    const std::string text = "int calc_add(int a, int b);\r\n/* twenty-nine more bytes */\r\n";
    const std::vector<std::vector<std::size_t>> splits = {
        {1}, {3, 5}, {7}, {8}, {9}, {8, 8, 8}, {1, 1, 1, 1, 1, 1, 1, 1, 1}, {15, 2}, {text.size()}, {0, 0, 4}};
    for (CFileHash::Kind kind : {CFileHash::Bytes, CFileHash::Words}) {
        const std::uint64_t whole = hashOf(text, kind);
        for (const auto& split : splits)
            EXPECT_EQ(hashOf(text, kind, split), whole) << "kind " << kind << ", first piece " << split[0];
    }
}

TEST(FileHash, EditsChangeTheHash)
{
    const std::string text = "typedef struct calc_Add { int a; int b; } calc_Add;\r\n";
    std::string swapped = text;
    std::swap(swapped[0], swapped[8]); // two words trade a byte
    const std::string edits[] = {
        text + '\0',                      // a zero byte added at the end
        text.substr(0, text.size() - 1), // the last byte gone
        "x" + text,                       // every word shifted
        swapped,
        std::string(text).replace(40, 1, "c"),
        std::string(),
    };
    for (const std::string& edit : edits)
        EXPECT_NE(hashOf(edit, CFileHash::Words), hashOf(text, CFileHash::Words)) << edit;
    EXPECT_NE(hashOf(std::string(8, '\0'), CFileHash::Words), hashOf(std::string(16, '\0'), CFileHash::Words));
}

// Records of earlier versions hold FNV-1a over bytes, which must still match.
TEST(FileHash, BytesIsFnv1a)
{
    EXPECT_EQ(hashOf("", CFileHash::Bytes), 0xcbf29ce484222325ull);
    EXPECT_EQ(hashOf("a", CFileHash::Bytes), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(hashOf("foobar", CFileHash::Bytes), 0x85944171f73967e8ull);
}

// Records hold these values: FNV-1a over little-endian eight-byte words,
// the last word padded with zeros, then the length.
TEST(FileHash, WordsHashesAsRecordsHoldIt)
{
    const std::pair<std::string, std::uint64_t> known[] = {
        {"", 0x08328807b4eb6fedull},
        {"a", 0x089be307b544f397ull},
        {"12345678", 0x77e3ee6c43644df4ull},
        {"int x;\r\n/* more */\r\n", 0xfe110afa8d8eaacfull},
    };
    for (const auto& text : known)
        EXPECT_EQ(hashOf(text.first, CFileHash::Words), text.second) << text.first;
}

// A record of the current version keeps the entries an earlier one hashed
// by bytes (a file a run kept), each with its kind, beside the new ones.
TEST(WrittenFiles, KeepsEachEntrysKindThroughASave)
{
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes(CWrittenFiles::FileName, "00000000000000ab calc_api.c\n00000000000000cd sub/calc_api.h\n");
    CWrittenFiles record;
    record.load(".");
    record.set("calc_api.c", 0x12);
    ASSERT_TRUE(record.save("."));
    CWrittenFiles read;
    read.load(".");
    const struct {
        const char* file;
        std::uint64_t hash;
        CFileHash::Kind kind;
    } expected[] = {{"calc_api.c", 0x12, CFileHash::Words}, {"sub/calc_api.h", 0xcd, CFileHash::Bytes}};
    for (const auto& e : expected) {
        CWrittenFiles::Entry entry;
        ASSERT_TRUE(read.find(e.file, entry)) << e.file;
        EXPECT_EQ(entry.hash, e.hash) << e.file;
        EXPECT_EQ(entry.kind, e.kind) << e.file;
    }
}

} // namespace
