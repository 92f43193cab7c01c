// CFile on disk and CMemFile in memory: reading, writing, seeking, attach and detach.
#include "classlib/ClassLib.h"

#include "ThrownException.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Contents(CFile& file) {
    std::string text(static_cast<size_t>(file.GetLength()), '\0');
    file.SeekToBegin();
    if (!text.empty()) {
        EXPECT_EQ(file.Read(&text[0], static_cast<UINT>(text.size())), text.size());
    }
    return text;
}

CString TempPath(LPCSTR name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return CString(folder) + name;
}

TEST(File, WritesReadsAndSeeksOnDisk) {
    const CString path = TempPath("kelvane-classlib-file.bin");
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite);
        file.Write("hello world", 11);
        EXPECT_EQ(file.GetLength(), 11u);
        EXPECT_EQ(file.Seek(-5, CFile::end), 6u);
        char word[6] = {};
        EXPECT_EQ(file.Read(word, 10), 5u);  // fewer at the end, no error
        EXPECT_STREQ(word, "world");
        file.SetLength(5);
        EXPECT_EQ(Contents(file), "hello");
        EXPECT_EQ(file.GetFileName(), "kelvane-classlib-file.bin");
        file.Close();
        EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    }
    CFile reopened;
    ASSERT_TRUE(reopened.Open(path, CFile::modeRead | CFile::shareDenyNone));
    EXPECT_EQ(Contents(reopened), "hello");
    reopened.Close();
    DeleteFileA(path);
}

TEST(File, OpenReportsTheCause) {
    CFileException error;
    CFile file;
    EXPECT_FALSE(file.Open(TempPath("kelvane-no-such-folder\\x.bin"), CFile::modeRead, &error));
    EXPECT_TRUE(error.m_cause == CFileException::badPath || error.m_cause == CFileException::fileNotFound);
    EXPECT_FALSE(file.Open(TempPath("kelvane-classlib-missing.bin"), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_strFileName, TempPath("kelvane-classlib-missing.bin"));
    const auto cause = ThrownCause<CFileException>(
        [] { CFile missing(TempPath("kelvane-classlib-missing.bin"), CFile::modeRead); });
    EXPECT_EQ(cause, CFileException::fileNotFound);
}

TEST(MemFile, GrowsInStepsAndDetachesItsBytes) {
    CMemFile file(16);
    file.Write("0123456789", 10);
    file.Write("abcdefghij", 10);
    EXPECT_EQ(file.GetLength(), 20u);
    EXPECT_EQ(file.GetPosition(), 20u);
    EXPECT_EQ(Contents(file), "0123456789abcdefghij");
    const ULONGLONG length = file.GetLength();
    BYTE* bytes = file.Detach();
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), static_cast<size_t>(length)), "0123456789abcdefghij");
    std::free(bytes);  // a detached buffer is the caller's, freed with free()
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("x", 1);  // the file starts afresh
    EXPECT_EQ(Contents(file), "x");
}

TEST(MemFile, AttachedFixedBufferIsTheContent) {
    BYTE buffer[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    CMemFile file(buffer, sizeof buffer);
    EXPECT_EQ(file.GetLength(), 8u);
    char head[4] = {};
    EXPECT_EQ(file.Read(head, 3), 3u);
    EXPECT_STREQ(head, "abc");
    file.Seek(0, CFile::begin);
    file.Write("XY", 2);  // overwrites in place
    EXPECT_EQ(buffer[0], 'X');
    file.Seek(7, CFile::begin);
    EXPECT_TRUE(Throws<CMemoryException>([&] { file.Write("12", 2); }));  // no room to grow
    EXPECT_EQ(file.Detach(), buffer);
    file.Close();
    EXPECT_EQ(buffer[7], 'h');  // never freed nor overwritten by the file
}

TEST(MemFile, SeekingAndSizing) {
    CMemFile file;
    file.Write("abc", 3);
    file.Seek(2, CFile::end);
    file.Write("z", 1);  // the gap reads as zeros
    EXPECT_EQ(Contents(file), std::string("abc\0\0z", 6));
    EXPECT_EQ(file.Seek(-1, CFile::current), 5u);
    const auto cause = ThrownCause<CFileException>([&] { file.Seek(-7, CFile::current); });
    EXPECT_EQ(cause, CFileException::badSeek);
    EXPECT_EQ(file.GetPosition(), 5u);
    file.SetLength(2);
    EXPECT_EQ(file.GetPosition(), 2u);
    EXPECT_EQ(Contents(file), "ab");
    file.SetLength(4);
    EXPECT_EQ(Contents(file), std::string("ab\0\0", 4));
    file.Seek(10, CFile::begin);
    char c;
    EXPECT_EQ(file.Read(&c, 1), 0u);
}

}  // namespace
