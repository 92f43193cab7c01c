// COleVariant in archives: a string's byte form, and damaged or unsupported data refused with
// the archive exception. (Every value kind round-trips in the property-exchange tests.)
#include "classlib/ClassLib.h"
#include "classlib/OleVariant.h"

#include "ThrownException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Store(const COleVariant& var) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << var;
    }
    std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

COleVariant Load(std::string bytes) {
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    COleVariant var;
    ar >> var;
    return var;
}

}  // namespace

TEST(OleVariant, StringsStoreTheirByteLengthAndDamageIsRefused) {
    const std::string hi("\x08\x00\x04\x00\x00\x00H\x00i\x00", 10);
    EXPECT_EQ(Store(COleVariant("Hi")), hi);
    EXPECT_TRUE(Load(hi) == COleVariant("Hi"));

    const std::pair<std::string, int> damaged[] = {
        {std::string("\x08\x00\xFF\xFF\xFF\x7F" "ab", 8), CArchiveException::endOfFile},  // length beyond the data
        {std::string("\x09\x00", 2), CArchiveException::genericException},                // an object
    };
    for (const auto& [bytes, cause] : damaged)
        EXPECT_EQ(ThrownCause<CArchiveException>([&] { Load(bytes); }), cause);
    COleVariant unknown;
    unknown.vt = VT_UNKNOWN;
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { Store(unknown); }), CArchiveException::genericException);
    unknown.vt = VT_EMPTY;
}
