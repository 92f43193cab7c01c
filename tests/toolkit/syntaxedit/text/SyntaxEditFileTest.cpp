// Loading and saving: encodings and line-end styles found and written back byte-exact, line
// ends across the reader's chunks, files cut short, and saves that fail.
#include "SyntaxEditTestSupport.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextFormat.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace std::string_literals;

namespace {

std::string Utf16(const std::string& ascii) {
    std::string bytes;
    for (char ch : ascii) bytes += std::string{ch, '\0'};
    return bytes;
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::string rows;
    int eStyle;
    BOOL bUnicode;
};

}  // namespace

TEST(SyntaxEditFile, LoadsRowsStyleAndEncodingAndSavesThemBackByteExact) {
    const std::string bom = "\xFF\xFE";
    const LoadCase cases[] = {
        {"crlf", "a\r\nb", "a|b", klvCRLF, FALSE},
        {"lf with last line end", "a\nb\n", "a|b|", klvLF, FALSE},
        {"lf-cr", "a\n\rb", "a|b", klvLFCR, FALSE},
        {"cr", "a\rb\r\rc", "a|b||c", klvCR, FALSE},
        {"crlf empty rows", "\r\n\r\nx\r\n", "||x|", klvCRLF, FALSE},
        {"no line end", "only", "only", klvCRLF, FALSE},
        {"empty file", "", "<empty>", klvCRLF, FALSE},
        {"odd length is never utf-16", "a\0b\0\r"s, "a\0b\0|"s, klvCR, FALSE},
        {"utf-16 with mark", bom + Utf16("ab\r\ncd\r\n"), "ab|cd|", klvCRLF, TRUE},
        {"utf-16 without mark", Utf16("ab\ncd"), "ab|cd", klvLF, TRUE},
        {"utf-16 mark only", bom, "<empty>", klvCRLF, TRUE},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        BufferPtr buffer = MakeBuffer(c.bytes);
        EXPECT_EQ(Rows(*buffer), c.rows);
        EXPECT_EQ(buffer->GetCRLFStyle(), c.eStyle);
        EXPECT_EQ(buffer->IsUnicodeFile(), c.bUnicode);
        EXPECT_EQ(StoredBytes(*buffer), c.bytes);
        EXPECT_FALSE(buffer->IsModified());
    }
}

TEST(SyntaxEditFile, LineEndsAcrossTheReadersChunksAndCutFiles) {
    // The line end straddles the 128-byte (ANSI) and 256-byte (UTF-16) chunks of the reader.
    for (int nLength : {126, 127, 128, 129, 255, 256}) {
        for (const char* pszEnd : {"\r\n", "\n\r", "\n", "\r"}) {
            SCOPED_TRACE(std::to_string(nLength) + " " + std::to_string(strlen(pszEnd)));
            std::string row(nLength, 'x');
            std::string bytes = row + pszEnd + "y" + pszEnd + row;
            BufferPtr buffer = MakeBuffer(bytes);
            EXPECT_EQ(Rows(*buffer), row + "|y|" + row);
            EXPECT_EQ(StoredBytes(*buffer), bytes);
            BufferPtr wide = MakeBuffer("\xFF\xFE" + Utf16(bytes));
            EXPECT_EQ(Rows(*wide), row + "|y|" + row);
        }
    }
    // A lone carriage return last, and UTF-16 cut inside a character: nothing read past the end.
    EXPECT_EQ(Rows(*MakeBuffer("ab\r")), "ab|");
    BufferPtr cut = MakeBuffer("\xFF\xFE" + Utf16("ab\r") + "c");
    EXPECT_EQ(Rows(*cut), "ab|");
    EXPECT_TRUE(cut->IsUnicodeFile());
}

TEST(SyntaxEditFile, SavesBesideTheFileAndLeavesItIntactWhenSavingFails) {
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    const CString strPath = CString(szTemp) + "kelvane-editor-save.c";
    const CString strSaving = CString(szTemp) + "~kw-kelvane-editor-save.c";
    { std::ofstream(strPath.GetString(), std::ios::binary) << "old\r\ntext"; }

    BufferPtr buffer(new CKLVSyntaxEditBufferManager);
    ASSERT_TRUE(buffer->LoadFile(strPath));
    EXPECT_EQ(buffer->GetFileName(), ".c");
    buffer->InsertText("new ", 1, 1);
    EXPECT_TRUE(buffer->IsModified());

    auto content = [&] {
        std::stringstream bytes;
        bytes << std::ifstream(strPath.GetString(), std::ios::binary).rdbuf();
        return bytes.str();
    };
    // The file beside the target cannot be written.
    ASSERT_TRUE(::CreateDirectoryA(strSaving, nullptr));
    EXPECT_FALSE(buffer->SaveFile(strPath));
    ::RemoveDirectoryA(strSaving);
    EXPECT_EQ(content(), "old\r\ntext");
    // The target cannot be replaced while another handle holds it without sharing.
    HANDLE hLock = ::CreateFileA(strPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hLock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(buffer->SaveFile(strPath));
    ::CloseHandle(hLock);
    EXPECT_EQ(content(), "old\r\ntext");
    EXPECT_TRUE(buffer->IsModified()) << "nothing was saved";
    EXPECT_EQ(::GetFileAttributesA(strSaving), INVALID_FILE_ATTRIBUTES) << "no file left beside it";
    EXPECT_FALSE(buffer->SaveFile(CString(szTemp) + "no-such-folder\\x.c"));

    EXPECT_TRUE(buffer->SaveFile(strPath));
    EXPECT_FALSE(buffer->IsModified());
    EXPECT_EQ(content(), "new old\r\ntext");
    ::DeleteFileA(strPath);
}
