#include "app/FieldGridRules.h"

#include "app/ProtocolChecks.h"

#include <initializer_list>

namespace {

const LPCTSTR kCaptions[fgiCount] = {"Name",      "Unit",    "Data Type",      "Max Length", "Max Count", "Related Count",
                                     "Attribute", "Variant", "Related Length", "Type",       "Tag"};
const LPCTSTR kCharPointer = "char *";

// The text the grid shows for one of a record's numbers; the last text stands for any larger one.
template <size_t N>
LPCTSTR ChoiceText(const LPCTSTR (&texts)[N], int nValue) {
    return texts[nValue >= 0 && static_cast<size_t>(nValue) < N ? nValue : N - 1];
}

// The fields a related count or length may name: the list's others that are not text.
std::vector<CString> RelatedNames(const CFieldRecord& field, const std::vector<CFieldRecord>& list) {
    std::vector<CString> names;
    for (const CFieldRecord& other : list)
        if (&other != &field && !IsTextDataType(other.szDataType)) names.emplace_back(other.szName);
    return names;
}

void SetReadOnly(CFieldGridPlan& plan, std::initializer_list<int> items, bool bReadOnly) {
    for (int nItem : items) plan.SetReadOnly(nItem, bReadOnly);
}

// Unit byte or TLV: the data type shown is the field's; what applies follows from it.
void RefreshByteOrTLV(CFieldGridPlan& plan, CFieldRecord& field, const CString& strDataType) {
    plan.SetReadOnly(fgiDataType, false);
    CopyRecordText(field.szDataType, strDataType);
    const std::initializer_list<int> textItems = {fgiMaxCount, fgiRelatedCount, fgiAttribute, fgiVariant, fgiRelatedLength};
    if (IsTextDataType(field.szDataType)) {
        const bool bPointer = CString(field.szDataType) == kCharPointer;
        plan.Show(fgiMaxLength, field.szMaxLength);
        plan.SetReadOnly(fgiMaxLength, false);
        SetReadOnly(plan, {fgiMaxCount, fgiRelatedCount}, !bPointer);
        plan.SetReadOnly(fgiAttribute, false);
        plan.SetReadOnly(fgiVariant, field.nAttribute != CFieldRecord::attrVariantLength);
        plan.SetReadOnly(fgiRelatedLength, field.nVariant == 0 || field.nAttribute == 0);
        if (field.nUnit == CFieldRecord::unitTLV) SetReadOnly(plan, textItems, true);
    } else if (LPCTSTR lpszSize = IntegerDataTypeSize(field.szDataType)) {
        CopyRecordText(field.szMaxLength, lpszSize);
        plan.Show(fgiMaxLength, lpszSize);
        SetReadOnly(plan, textItems, true);
        plan.SetReadOnly(fgiMaxLength, true);
    }
}

// Unit bit: the bit count decides the integer type; a count out of range becomes 0.
void RefreshBit(CFieldGridPlan& plan, CFieldRecord& field) {
    plan.SetReadOnly(fgiDataType, true);
    plan.SetReadOnly(fgiMaxLength, false);
    SetReadOnly(plan, {fgiMaxCount, fgiRelatedCount, fgiAttribute, fgiVariant, fgiRelatedLength}, true);
    LPCTSTR lpszDataType = BitCountDataType(LeadingNumber(field.szMaxLength));
    if (!lpszDataType) {
        lpszDataType = "unsigned char";
        CopyRecordText(field.szMaxLength, "0");
        plan.Show(fgiMaxLength, "0");
    }
    CopyRecordText(field.szDataType, lpszDataType);
    plan.Show(fgiDataType, lpszDataType);
}

}  // namespace

LPCTSTR FieldGridCaption(int nItem) {
    return nItem >= 0 && nItem < fgiCount ? kCaptions[nItem] : "";
}

bool IsTextDataType(LPCTSTR lpszDataType) {
    const CString strDataType = lpszDataType;
    return strDataType == "char []" || strDataType == kCharPointer;
}

LPCTSTR IntegerDataTypeSize(LPCTSTR lpszDataType) {
    // By the integer types' order among the data types.
    static const LPCTSTR kSizes[] = {"4", "4", "1", "1", "2", "2", "8", "8"};
    for (size_t i = 0; i < sizeof(kSizes) / sizeof(kSizes[0]); ++i)
        if (CString(lpszDataType) == kDataTypes[i]) return kSizes[i];
    return nullptr;
}

CFieldGridPlan SelectField(CFieldRecord& field, const std::vector<CFieldRecord>& list) {
    field.nUnit = CFieldRecord::unitBit;
    return ShowField(field, list);
}

CFieldGridPlan ShowField(const CFieldRecord& field, const std::vector<CFieldRecord>& list) {
    CFieldGridPlan plan;
    const bool bBit = field.nUnit == CFieldRecord::unitBit;
    const bool bText = IsTextDataType(field.szDataType);
    const bool bPointer = CString(field.szDataType) == kCharPointer;
    plan.Show(fgiName, field.szName);
    plan.Show(fgiUnit, ChoiceText(kUnitTexts, field.nUnit));
    plan.Show(fgiDataType, field.szDataType);
    plan.SetReadOnly(fgiDataType, bBit);
    plan.charPointer = field.nUnit == CFieldRecord::unitTLV ? CFieldGridPlan::charPointerWithdraw
                                                              : CFieldGridPlan::charPointerOffer;
    plan.Show(fgiMaxLength, field.szMaxLength);
    plan.SetReadOnly(fgiMaxLength, !bBit && !bText);
    plan.Show(fgiMaxCount, field.szMaxCount);
    plan.SetReadOnly(fgiMaxCount, !bPointer);
    plan.Show(fgiRelatedCount, field.szRelatedCount);
    plan.SetReadOnly(fgiRelatedCount, !bPointer);
    plan.bRelatedNames = TRUE;
    plan.relatedNames = RelatedNames(field, list);
    const bool bAttribute = field.nUnit == CFieldRecord::unitByte && bText;
    plan.Show(fgiAttribute, ChoiceText(kAttributeTexts, field.nAttribute));
    plan.SetReadOnly(fgiAttribute, !bAttribute);
    const bool bVariant = bAttribute && field.nAttribute == CFieldRecord::attrVariantLength;
    plan.Show(fgiVariant, ChoiceText(kVariantTexts, field.nVariant));
    plan.SetReadOnly(fgiVariant, !bVariant);
    plan.Show(fgiRelatedLength, field.szRelatedLength);
    plan.SetReadOnly(fgiRelatedLength, !(bVariant && field.nVariant != 0));
    if (field.nType >= 0 && field.nType < 5) plan.Show(fgiType, kFieldTypeTexts[field.nType]);
    // The tag is the shown field's own, never the one shown before.
    plan.Show(fgiTag, CodeDigits(field.szTag));
    return plan;
}

CFieldGridPlan RefreshField(CFieldRecord& field, const CString& strShownDataType) {
    CFieldGridPlan plan;
    CString strDataType = strShownDataType;
    if (field.nUnit == CFieldRecord::unitTLV) {
        plan.SetReadOnly(fgiTag, false);
        if (strDataType == kCharPointer) {
            strDataType = "unsigned int";
            plan.Show(fgiDataType, strDataType);
        }
        plan.charPointer = CFieldGridPlan::charPointerWithdraw;
    } else {
        plan.SetReadOnly(fgiTag, true);
        plan.charPointer = CFieldGridPlan::charPointerOffer;
    }
    if (field.nUnit == CFieldRecord::unitByte || field.nUnit == CFieldRecord::unitTLV)
        RefreshByteOrTLV(plan, field, strDataType);
    else if (field.nUnit == CFieldRecord::unitBit)
        RefreshBit(plan, field);
    return plan;
}
