// What the field grid shows for a field, on the records alone: the read-only matrix after an
// edit for text, integer and bit fields, the data type and length a refresh derives, and what
// selecting a field shows.
#include "app/FieldGridRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The items whose read-only state the rules set, in this order, one letter each: 'e' editable,
// 'r' read-only, '-' left as it was.
const int kMatrixItems[] = {fgiDataType, fgiMaxLength,  fgiMaxCount,      fgiRelatedCount,
                            fgiAttribute, fgiVariant,   fgiRelatedLength, fgiTag};

std::string Matrix(const CFieldGridPlan& plan) {
    std::string matrix;
    for (int nItem : kMatrixItems) {
        const int nReadOnly = plan.items[nItem].nReadOnly;
        matrix += nReadOnly == CFieldGridPlan::keep ? '-' : nReadOnly == CFieldGridPlan::readOnly ? 'r' : 'e';
    }
    return matrix;
}

std::string Shown(const CFieldGridPlan& plan, int nItem) {
    return plan.items[nItem].bShow ? std::string(plan.items[nItem].strValue) : std::string("(kept)");
}

CFieldRecord Field(const char* lpszName, int nUnit, const char* lpszDataType, const char* lpszMaxLength = "",
                   int nAttribute = 0, int nVariant = 0) {
    CFieldRecord field;
    CopyRecordText(field.szName, lpszName);
    CopyRecordText(field.szDataType, lpszDataType);
    CopyRecordText(field.szMaxLength, lpszMaxLength);
    field.nUnit = nUnit;
    field.nAttribute = nAttribute;
    field.nVariant = nVariant;
    return field;
}

const int kByte = CFieldRecord::unitByte, kBit = CFieldRecord::unitBit, kTLV = CFieldRecord::unitTLV;

TEST(FieldGridRules, ARefreshSetsTheReadOnlyMatrixAndDerivesTypeAndLength) {
    struct Case {
        const char* lpszName;
        CFieldRecord field;
        const char* lpszShownDataType;
        const char* lpszMatrix;
        const char* lpszDataTypeShown;    // "(kept)" when the item keeps its value
        const char* lpszMaxLengthShown;
        const char* lpszDataType;         // the field's afterwards
        const char* lpszMaxLength;
        CFieldGridPlan::CharPointer charPointer;
    } cases[] = {
        {"char []", Field("f", kByte, "unsigned int", "64"), "char []", "eerrerrr", "(kept)", "64", "char []", "64",
         CFieldGridPlan::charPointerOffer},
        {"char * of variant length", Field("f", kByte, "char *", "8", 1, 1), "char *", "eeeeeeer", "(kept)", "8",
         "char *", "8", CFieldGridPlan::charPointerOffer},
        {"char * ended by a zero", Field("f", kByte, "char *", "8", 1, 0), "char *", "eeeeeerr", "(kept)", "8",
         "char *", "8", CFieldGridPlan::charPointerOffer},
        {"variant without variant length", Field("f", kByte, "char []", "8", 0, 2), "char []", "eerrerrr", "(kept)",
         "8", "char []", "8", CFieldGridPlan::charPointerOffer},
        {"TLV turns char * into an integer", Field("f", kTLV, "char *", "8"), "char *", "errrrrre", "unsigned int", "4",
         "unsigned int", "4", CFieldGridPlan::charPointerWithdraw},
        {"TLV text", Field("f", kTLV, "char []", "8", 1, 1), "char []", "eerrrrre", "(kept)", "8", "char []", "8",
         CFieldGridPlan::charPointerWithdraw},
        {"integer", Field("f", kByte, "char []", "64"), "signed short int", "errrrrrr", "(kept)", "2",
         "signed short int", "2", CFieldGridPlan::charPointerOffer},
        {"int64", Field("f", kByte, "", ""), "unsigned int64", "errrrrrr", "(kept)", "8", "unsigned int64", "8",
         CFieldGridPlan::charPointerOffer},
        {"unknown type", Field("f", kByte, "char []", "7"), "float", "e------r", "(kept)", "(kept)", "float", "7",
         CFieldGridPlan::charPointerOffer},
        {"17 bits", Field("f", kBit, "char *", "17"), "char *", "rerrrrrr", "unsigned int", "(kept)", "unsigned int",
         "17", CFieldGridPlan::charPointerOffer},
        {"8 bits", Field("f", kBit, "unsigned int", "8"), "unsigned int", "rerrrrrr", "unsigned char", "(kept)",
         "unsigned char", "8", CFieldGridPlan::charPointerOffer},
        {"16 bits", Field("f", kBit, "unsigned int", "16"), "unsigned int", "rerrrrrr", "unsigned short int", "(kept)",
         "unsigned short int", "16", CFieldGridPlan::charPointerOffer},
        {"40 bits become 0", Field("f", kBit, "unsigned int", "40"), "unsigned int", "rerrrrrr", "unsigned char", "0",
         "unsigned char", "0", CFieldGridPlan::charPointerOffer},
        {"no bit count", Field("f", kBit, "unsigned int", ""), "unsigned int", "rerrrrrr", "unsigned char", "0",
         "unsigned char", "0", CFieldGridPlan::charPointerOffer},
    };
    for (Case& c : cases) {
        const CFieldGridPlan plan = RefreshField(c.field, c.lpszShownDataType);
        EXPECT_EQ(Matrix(plan), c.lpszMatrix) << c.lpszName;
        EXPECT_EQ(Shown(plan, fgiDataType), c.lpszDataTypeShown) << c.lpszName;
        EXPECT_EQ(Shown(plan, fgiMaxLength), c.lpszMaxLengthShown) << c.lpszName;
        EXPECT_STREQ(c.field.szDataType, c.lpszDataType) << c.lpszName;
        EXPECT_STREQ(c.field.szMaxLength, c.lpszMaxLength) << c.lpszName;
        EXPECT_EQ(plan.charPointer, c.charPointer) << c.lpszName;
        EXPECT_FALSE(plan.bRelatedNames) << c.lpszName;
    }
}

TEST(FieldGridRules, ShowingAFieldFillsEveryItemAndOffersTheOtherNonTextFields) {
    struct Case {
        const char* lpszName;
        CFieldRecord field;
        const char* lpszMatrix;
        const char* lpszUnit;
        const char* lpszAttribute;
        const char* lpszVariant;
        CFieldGridPlan::CharPointer charPointer;
    } cases[] = {
        {"char [] by bytes", Field("f", kByte, "char []", "9", 1, 2), "eerreee-", "byte", "variant length",
         "select a related field,additional binary 0 at end", CFieldGridPlan::charPointerOffer},
        {"char * by bytes, ended by a zero", Field("f", kByte, "char *", "9", 1, 0), "eeeeeer-", "byte",
         "variant length", "separated by binary 0", CFieldGridPlan::charPointerOffer},
        {"char * by bits", Field("f", kBit, "char *", "9"), "reeerrr-", "bit", "fix length", "separated by binary 0",
         CFieldGridPlan::charPointerOffer},
        {"integer by TLV", Field("f", kTLV, "unsigned int", "4", 0, 1), "errrrrr-", "TLV", "fix length",
         "select a related field", CFieldGridPlan::charPointerWithdraw},
    };
    for (const Case& c : cases) {
        const std::vector<CFieldRecord> list = {Field("a", kByte, "unsigned int"), Field("b", kByte, "char []"), c.field,
                                                Field("c", kByte, "char *"), Field("d", kBit, "signed char")};
        const CFieldGridPlan plan = ShowField(list[2], list);
        EXPECT_EQ(Matrix(plan), c.lpszMatrix) << c.lpszName;
        EXPECT_EQ(Shown(plan, fgiName), "f") << c.lpszName;
        EXPECT_EQ(Shown(plan, fgiUnit), c.lpszUnit) << c.lpszName;
        EXPECT_EQ(Shown(plan, fgiAttribute), c.lpszAttribute) << c.lpszName;
        EXPECT_EQ(Shown(plan, fgiVariant), c.lpszVariant) << c.lpszName;
        EXPECT_EQ(plan.charPointer, c.charPointer) << c.lpszName;
        ASSERT_TRUE(plan.bRelatedNames);
        ASSERT_EQ(plan.relatedNames.size(), 2u) << c.lpszName;
        EXPECT_STREQ(plan.relatedNames[0], "a");
        EXPECT_STREQ(plan.relatedNames[1], "d");
    }
}

TEST(FieldGridRules, SelectingAFieldMakesItsUnitBitAndShowsItsOwnTag) {
    CFieldRecord field = Field("size", kByte, "char []", "12");
    CopyRecordText(field.szTag, "0x2F");
    field.nType = 3;
    const std::vector<CFieldRecord> list = {field};
    const CFieldGridPlan plan = SelectField(field, list);
    EXPECT_EQ(field.nUnit, kBit);
    EXPECT_EQ(Shown(plan, fgiUnit), "bit");
    EXPECT_EQ(Matrix(plan), "rerrrrr-") << "a char [] field shows Max Count and Related Count read-only";
    EXPECT_EQ(Shown(plan, fgiTag), "2F");
    EXPECT_EQ(Shown(plan, fgiType), "total length");
    EXPECT_EQ(Shown(plan, fgiMaxLength), "12");
    EXPECT_TRUE(plan.relatedNames.empty()) << "the field itself is never offered";

    field.nType = 9;
    EXPECT_EQ(Shown(ShowField(field, list), fgiType), "(kept)");
}

}  // namespace
