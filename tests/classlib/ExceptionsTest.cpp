// The exceptions: thrown as pointers, caught by base, freed by Delete, described in text.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Catches the throw as the common base, as handlers do.
CException* CaughtAsBase(const std::function<void()>& call) {
    try {
        call();
    } catch (CException* e) {
        return e;
    }
    return nullptr;
}

TEST(Exceptions, StaticExceptionsSurviveDelete) {
    // Throwing them must not allocate, so every throw hands out the same object.
    CException* first = CaughtAsBase([] { AfxThrowMemoryException(); });
    first->Delete();
    first->Delete();
    CException* second = CaughtAsBase([] { AfxThrowMemoryException(); });
    EXPECT_EQ(first, second);
    char text[64];
    EXPECT_TRUE(second->GetErrorMessage(text, sizeof text));
    EXPECT_STREQ(text, "Out of memory.");
}

TEST(Exceptions, MessagesAreCutToTheBuffer) {
    CArchiveException archive(CArchiveException::badClass);
    char text[8];
    EXPECT_TRUE(archive.GetErrorMessage(text, sizeof text));
    EXPECT_STREQ(text, "The arc");
    EXPECT_FALSE(archive.GetErrorMessage(nullptr, 10));
    CArchiveException unknown(99);
    char longer[64];
    EXPECT_TRUE(unknown.GetErrorMessage(longer, sizeof longer));
    EXPECT_STREQ(longer, "Unknown error.");
    CFileException file(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "C:\\x.txt");
    EXPECT_TRUE(file.GetErrorMessage(longer, sizeof longer));
    EXPECT_STREQ(longer, "The file could not be located. (C:\\x.txt)");
}

}  // namespace
