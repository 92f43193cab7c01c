// The buffer's text operations: inserting and deleting that split and join rows, overwrite,
// blocks, ranges in display columns, case changes, tab columns and the tab size setting.
#include "SyntaxEditTestSupport.h"
#include "support/ScopedProfileKey.h"

#include <gtest/gtest.h>

namespace {

std::string Range(CKLVSyntaxEditBufferManager& buffer, int r1, int c1, int r2, int c2, BOOL bColumn = FALSE,
                  int eStyle = -1) {
    CMemFile file;
    EXPECT_TRUE(buffer.GetBuffer(r1, c1, r2, c2, file, bColumn, eStyle));
    std::string text(static_cast<size_t>(file.GetLength()), '\0');
    file.SeekToBegin();
    file.Read(text.data(), static_cast<UINT>(text.size()));
    return text;
}

}  // namespace

TEST(SyntaxEditBuffer, InsertSplitsAndJoinsRows) {
    struct Case {
        const char* rows;
        const char* text;
        int nRow, nCol;
        BOOL bOverwrite;
        const char* expected;
        CKLVSyntaxEditPosition end;
    } const cases[] = {
        {"abc", "x\ny", 1, 2, FALSE, "ax|ybc", {2, 2}},
        {"ab", "x", 1, 6, FALSE, "ab   x", {1, 7}},
        {"abcd", "XY", 1, 2, TRUE, "aXYd", {1, 4}},
        {"ab", "XYZ", 1, 2, TRUE, "aXYZ", {1, 5}},
        {"abc", "1\r\n2\n\r3\r4\n", 1, 2, FALSE, "a1|2|3|4|bc", {5, 1}},
        {"abc\ndef", "\n", 2, 1, FALSE, "abc||def", {3, 1}},
        {"abc\ndef", "", 1, 2, FALSE, "abc|def", {1, 2}},
        {"", "x\ny", 1, 1, FALSE, "x|y", {2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rows) + " + " + c.text);
        BufferPtr buffer = MakeBuffer(c.rows);
        buffer->SetOverwriteFlag(c.bOverwrite);
        CKLVSyntaxEditPosition end;
        EXPECT_TRUE(buffer->InsertText(c.text, c.nRow, c.nCol, &end));
        EXPECT_EQ(Rows(*buffer), c.expected);
        EXPECT_EQ(end, c.end);
    }
}

TEST(SyntaxEditBuffer, DeleteJoinsRowsAndClampsToTheText) {
    struct Case {
        const char* rows;
        int r1, c1, r2, c2;
        BOOL bDispCol;
        BOOL bResult;
        const char* expected;
        const char* deleted;
    } const cases[] = {
        {"abcd\nefgh", 1, 3, 2, 2, FALSE, TRUE, "abfgh", "cd\ne"},
        {"abcd\nefgh", 2, 2, 1, 3, FALSE, TRUE, "abfgh", "cd\ne"},
        {"abcd", 1, 4, 1, 2, FALSE, TRUE, "ad", "bc"},
        {"a\nb\nc\nd", 1, 2, 4, 1, FALSE, TRUE, "ad", "\nb\nc\n"},
        {"abc\ndef", 1, 2, 9, 9, FALSE, TRUE, "a", "bc\ndef"},
        {"\tx\nyz", 1, 3, 2, 2, TRUE, TRUE, "\tz", "x\ny"},
        {"abc", 3, 1, 3, 2, FALSE, FALSE, "abc", nullptr},
        {"abc", 1, 2, 1, 2, FALSE, FALSE, "abc", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        BufferPtr buffer = MakeBuffer(c.rows);
        EXPECT_EQ(buffer->DeleteText(c.r1, c.c1, c.r2, c.c2, TRUE, c.bDispCol), c.bResult);
        EXPECT_EQ(Rows(*buffer), c.expected);
        auto* pCommand = dynamic_cast<CKLVSyntaxEditDeleteStringCommand*>(buffer->GetUndoManager()->GetLastCommand());
        if (c.deleted) {
            ASSERT_NE(pCommand, nullptr);
            EXPECT_EQ(pCommand->GetText(), c.deleted);
        } else {
            EXPECT_EQ(pCommand, nullptr);
        }
    }
}

TEST(SyntaxEditBuffer, RangesInDisplayColumnsAndColumnMode) {
    BufferPtr buffer = MakeBuffer("abcd\r\n\tef\r\ngh");
    EXPECT_EQ(Range(*buffer, 1, 2, 3, 2), "bcd\r\n\tef\r\ng");
    EXPECT_EQ(Range(*buffer, 3, 2, 1, 2), "bcd\r\n\tef\r\ng") << "backwards";
    EXPECT_EQ(Range(*buffer, 1, 2, 2, 6, FALSE, klvLF), "bcd\n\te");
    EXPECT_EQ(Range(*buffer, 1, 2, 1, 4), "bc");
    EXPECT_EQ(Range(*buffer, 1, 2, 3, 4, TRUE), "bc\r\n  \r\nh \r\n");
    EXPECT_EQ(Range(*buffer, 2, 5, 2, 7, TRUE), "ef\r\n");
}

TEST(SyntaxEditBuffer, TabColumns) {
    BufferPtr buffer = MakeBuffer("\tx\nab\tc\n\t\ty");
    struct Case {
        int nTab, nRow, nCharPos, nDispCol;
    } const displayCases[] = {
        {4, 1, 0, 1}, {4, 1, 1, 5}, {4, 1, 2, 6}, {4, 1, 9, 6}, {4, 2, 2, 3}, {4, 2, 3, 5},
        {8, 2, 3, 9}, {4, 3, 2, 9}, {1, 3, 2, 3}, {4, 7, 3, 1},
    };
    for (const Case& c : displayCases) {
        buffer->SetTabSize(c.nTab);
        EXPECT_EQ(buffer->CalcDisplayColumn(c.nRow, c.nCharPos), c.nDispCol) << c.nTab << " " << c.nRow << " " << c.nCharPos;
    }
    const Case charCases[] = {
        {4, 1, 0, 1}, {4, 1, 1, 3}, {4, 1, 1, 5}, {4, 1, 2, 6}, {4, 1, 2, 60}, {4, 2, 2, 3}, {4, 2, 3, 4},
        {4, 2, 3, 5}, {4, 3, 2, 9}, {4, 3, 1, 5},
    };
    for (const Case& c : charCases) {
        buffer->SetTabSize(c.nTab);
        EXPECT_EQ(buffer->CalcCharPos(c.nRow, c.nDispCol), c.nCharPos) << c.nRow << " " << c.nDispCol;
    }
}

TEST(SyntaxEditBuffer, TabSizeFromTheProfileIsKeptInRange) {
    testsupport::ScopedProfileKey profileKey("KelvaneEditorTests");
    CWinApp app("KelvaneEditorTest");
    app.SetRegistryKey(profileKey.Name());
    for (auto [nStored, nExpected] : {std::pair{0, 1}, {-5, 1}, {8, 8}, {1000, 64}}) {
        app.WriteProfileInt("Settings", "TabSize", nStored);
        BufferPtr buffer(new CKLVSyntaxEditBufferManager);
        EXPECT_EQ(buffer->GetTabSize(), nExpected) << nStored;
    }
    BufferPtr buffer(new CKLVSyntaxEditBufferManager);
    EXPECT_TRUE(buffer->SetTabSize(3, TRUE));
    EXPECT_EQ(app.GetProfileInt("Settings", "TabSize", 0), 3u);
}
