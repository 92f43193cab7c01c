// The protocol records' bounded text copy: a text fits with its NUL or leaves the field alone.
#include "app/ProtocolRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ProtocolRecords, ACopyIntoAFixedFieldIsBoundedByItsSize) {
    struct Case {
        size_t nLength;
        bool bFits;
    };
    // The field sizes of the records: names and tags 256, max length 50, max count 30.
    for (const Case& c : {Case{0, true}, Case{29, true}, Case{30, false}, Case{300, false}}) {
        CFieldRecord field;
        ASSERT_TRUE(CopyRecordText(field.szMaxCount, "12"));
        const std::string text(c.nLength, '7');
        EXPECT_EQ(CopyRecordText(field.szMaxCount, text.c_str()), c.bFits) << c.nLength;
        EXPECT_STREQ(field.szMaxCount, c.bFits ? text.c_str() : "12") << "a refused text leaves the old value";
    }
    CFieldRecord field;
    EXPECT_TRUE(CopyRecordText(field.szMaxLength, std::string(49, 'a').c_str()));
    EXPECT_FALSE(CopyRecordText(field.szMaxLength, std::string(50, 'a').c_str()));
    CPacketRecord packet;
    EXPECT_TRUE(CopyRecordText(packet.szName, std::string(255, 'n').c_str()));
    EXPECT_FALSE(CopyRecordText(packet.szType, std::string(256, 'f').c_str()));
    EXPECT_STREQ(packet.szType, "");
    EXPECT_TRUE(CopyRecordText(packet.szType, nullptr)) << "no text is the empty text";
}

}  // namespace
