#include "app/ProtocolChecks.h"
#include "app/SolutionExplorerPane.h"

#include "app/res/Resource.h"

#include <cctype>
#include <climits>
#include <initializer_list>

const LPCTSTR kUnitTexts[3] = {"byte", "bit", "TLV"};
const LPCTSTR kFieldTypeTexts[5] = {"normal data", "header length", "body length", "total length", "packet type"};
const LPCTSTR kAttributeTexts[2] = {"fix length", "variant length"};
const LPCTSTR kVariantTexts[3] = {"separated by binary 0", "select a related field",
                                  "select a related field,additional binary 0 at end"};
const LPCTSTR kDataTypes[10] = {"unsigned int",       "signed int",   "signed char",    "unsigned char", "signed short int",
                                "unsigned short int", "signed int64", "unsigned int64", "char []",       "char *"};

namespace {

// The open positions of a masked item show it; trailing ones are no part of the value.
const char kPrompt = '_';

CString Trimmed(CString strValue) {
    strValue.TrimRight(kPrompt);
    return strValue;
}

CString Formatted(LPCTSTR lpszFormat, LPCTSTR lpszFirst, LPCTSTR lpszSecond = "") {
    CString strText;
    strText.Format(lpszFormat, lpszFirst, lpszSecond);
    return strText;
}

CPropertyEdit Refused(const CString& strMessage, const CString& strShowAgain) {
    CPropertyEdit edit;
    edit.outcome = CPropertyEdit::refused;
    edit.strMessage = strMessage;
    edit.strShowAgain = strShowAgain;
    return edit;
}

CPropertyEdit Stored() {
    CPropertyEdit edit;
    edit.outcome = CPropertyEdit::stored;
    return edit;
}

// A value that does not fit the record's field is refused like any other wrong value.
template <size_t N>
CPropertyEdit Store(char (&szField)[N], const CString& strValue) {
    if (CopyRecordText(szField, strValue)) return Stored();
    CString strMessage;
    strMessage.Format("value too long: at most %d characters!", static_cast<int>(N - 1));
    return Refused(strMessage, szField);
}

// The index of the value among the texts; nOther when it is none of them.
int ChoiceOf(const CString& strValue, std::initializer_list<LPCTSTR> texts, int nOther) {
    int nIndex = 0;
    for (LPCTSTR lpszText : texts) {
        if (strValue == lpszText) return nIndex;
        ++nIndex;
    }
    return nOther;
}

// The hexadecimal number a code's digits start with; false when there is none or it is too large.
bool CodeNumber(LPCTSTR lpszCode, unsigned long long& nNumber) {
    const CString strDigits = CodeDigits(lpszCode);
    nNumber = 0;
    int nDigits = 0;
    for (int i = 0; i < strDigits.GetLength() && std::isxdigit(static_cast<unsigned char>(strDigits[i])); ++i) {
        const int nDigit = std::isdigit(static_cast<unsigned char>(strDigits[i]))
                               ? strDigits[i] - '0'
                               : std::tolower(static_cast<unsigned char>(strDigits[i])) - 'a' + 10;
        if (nNumber > (ULLONG_MAX >> 4)) return false;
        nNumber = (nNumber << 4) | static_cast<unsigned long long>(nDigit);
        ++nDigits;
    }
    return nDigits > 0;
}

// A name from a masked item: none entered, one another record of the list has, or one too long
// for the record is refused; a name with only prompts added is no change.
template <class Record>
CPropertyEdit EditName(const std::vector<Record>& list, Record& record, const CString& strValue, LPCTSTR lpszNoun) {
    if (strValue.IsEmpty() || strValue[0] == kPrompt) return Refused(Formatted("invalid %s name!", lpszNoun), record.szName);
    const CString strName = Trimmed(strValue);
    if (strName == record.szName) return CPropertyEdit();
    for (const Record& other : list)
        if (strName == other.szName) return Refused(Formatted("%s %s already exist!", lpszNoun, strName), record.szName);
    CPropertyEdit edit = Store(record.szName, strName);
    if (edit.outcome == CPropertyEdit::stored) {
        edit.bRename = TRUE;
        edit.strNewName = strName;
    }
    return edit;
}

// A type code or tag from a masked item: "0x" without a digit, or a code equal to one of the
// others (the edited record's own among them when it takes part), is refused.
CPropertyEdit EditCode(char (&szCode)[256], const CString& strValue, const std::vector<LPCTSTR>& others,
                       LPCTSTR lpszInvalid, LPCTSTR lpszNoun) {
    if (strValue.GetLength() < 3 || strValue[2] == kPrompt) return Refused(lpszInvalid, CodeDigits(szCode));
    const CString strCode = Trimmed(strValue);
    if (strCode == szCode) return CPropertyEdit();
    for (LPCTSTR lpszOther : others)
        if (SameCode(strCode, lpszOther))
            return Refused(Formatted("%s %s already exist!", lpszNoun, strCode), CodeDigits(szCode));
    CPropertyEdit edit = Store(szCode, strCode);
    if (edit.outcome == CPropertyEdit::refused) edit.strShowAgain = CodeDigits(szCode);
    return edit;
}

CPropertyEdit EditProtocol(CProtocolRecord& protocol, UINT nID, const CString& strValue) {
    switch (nID) {
    case IDS_PROTOCOL_NAME: return Store(protocol.szName, strValue);
    case IDS_PROTOCOL_BASED: protocol.nBasedProtocol = ChoiceOf(strValue, {"TCP"}, 1); return Stored();
    case IDS_PROTOCOL_PLATFORM: protocol.nTargetPlatform = ChoiceOf(strValue, {"Windows"}, 1); return Stored();
    case IDS_PROTOCOL_LIBRARY: protocol.nLibraryType = ChoiceOf(strValue, {"dll library"}, 1); return Stored();
    default: return CPropertyEdit();
    }
}

CPropertyEdit EditPacket(CProtocolRecord& protocol, const CEditTarget& target, UINT nID, const CString& strValue) {
    CPacketRecord* pPacket = target.nKind == CSolutionTreeItem::kindPacket ? FindPacket(protocol, target.strText) : nullptr;
    if (!pPacket) return CPropertyEdit();
    if (nID == IDS_PACKET_NAME) return EditName(protocol.packets, *pPacket, strValue, "packet");
    std::vector<LPCTSTR> types;
    for (const CPacketRecord& packet : protocol.packets) types.push_back(packet.szType);
    return EditCode(pPacket->szType, strValue, types, "invalid packet type!", "packet type");
}

// A bit count outside 1 to 31 is refused; an accepted one also gives the field its integer type.
CPropertyEdit EditMaxLength(CFieldRecord& field, const CString& strValue) {
    if (field.nUnit != CFieldRecord::unitBit) return Store(field.szMaxLength, strValue);
    LPCTSTR lpszDataType = BitCountDataType(LeadingNumber(strValue));
    if (!lpszDataType) return Refused("invalid field max length!", field.szMaxLength);
    CPropertyEdit edit = Store(field.szMaxLength, strValue);
    if (edit.outcome == CPropertyEdit::stored) CopyRecordText(field.szDataType, lpszDataType);
    return edit;
}

CPropertyEdit EditFieldValue(const CFieldPlace& place, UINT nID, const CString& strValue) {
    CFieldRecord& field = *place.pField;
    switch (nID) {
    case IDS_FIELD_NAME: return EditName(*place.pList, field, strValue, "field");
    case IDS_FIELD_UNIT: field.nUnit = ChoiceOf(strValue, {"byte", "bit"}, CFieldRecord::unitTLV); return Stored();
    case IDS_FIELD_DATA_TYPE: return Store(field.szDataType, strValue);
    case IDS_FIELD_MAX_LENGTH: return EditMaxLength(field, strValue);
    case IDS_FIELD_MAX_COUNT: return Store(field.szMaxCount, strValue);
    case IDS_FIELD_RELATED_COUNT: return Store(field.szRelatedCount, strValue);
    case IDS_FIELD_TYPE:
        field.nType = ChoiceOf(strValue, {kFieldTypeTexts[0], kFieldTypeTexts[1], kFieldTypeTexts[2], kFieldTypeTexts[3],
                                          kFieldTypeTexts[4]},
                               field.nType);
        return Stored();
    case IDS_FIELD_REINTERPRET_NAME: return Store(field.szReinterpretName, strValue);
    case IDS_FIELD_ATTRIBUTE: field.nAttribute = ChoiceOf(strValue, {kAttributeTexts[0]}, 1); return Stored();
    case IDS_FIELD_VARIANT: field.nVariant = ChoiceOf(strValue, {kVariantTexts[0], kVariantTexts[1]}, 2); return Stored();
    case IDS_FIELD_RELATED_LENGTH: return Store(field.szRelatedLength, strValue);
    default: break;
    }
    std::vector<LPCTSTR> tags;
    for (const CFieldRecord& other : *place.pList)
        if (other.nUnit == CFieldRecord::unitTLV) tags.push_back(other.szTag);
    return EditCode(field.szTag, strValue, tags, "invalid tag value!", "tag value");
}

// Whether the field grid follows an edit of the item: for a header field only after the edits
// that change which items apply; never after a value too long to store.
bool FollowsEdit(int nKind, UINT nID, const CPropertyEdit& edit) {
    switch (nID) {
    case IDS_FIELD_NAME:
    case IDS_FIELD_REINTERPRET_NAME:
    case IDS_FIELD_TAG: return false;
    case IDS_FIELD_UNIT:
    case IDS_FIELD_DATA_TYPE:
    case IDS_FIELD_ATTRIBUTE: return edit.outcome != CPropertyEdit::refused;
    case IDS_FIELD_MAX_LENGTH: return nKind == CSolutionTreeItem::kindPacketField;   // a refused bit count too
    default: return nKind == CSolutionTreeItem::kindPacketField && edit.outcome != CPropertyEdit::refused;
    }
}

CPropertyEdit EditField(CProtocolRecord& protocol, const CEditTarget& target, UINT nID, const CString& strValue) {
    const CFieldPlace place = FindField(protocol, target);
    if (!place.pField) return CPropertyEdit();
    CPropertyEdit edit = EditFieldValue(place, nID, strValue);
    if (FollowsEdit(target.nKind, nID, edit)) edit.pRefresh = place.pField;
    return edit;
}

}  // namespace

CPacketRecord* FindPacket(CProtocolRecord& protocol, LPCTSTR lpszName) {
    for (CPacketRecord& packet : protocol.packets)
        if (CString(packet.szName) == lpszName) return &packet;
    return nullptr;
}

CFieldPlace FindField(CProtocolRecord& protocol, const CEditTarget& target) {
    CFieldPlace place;
    if (target.nKind == CSolutionTreeItem::kindHeaderField) {
        place.pList = &protocol.headerFields;
    } else if (target.nKind == CSolutionTreeItem::kindPacketField) {
        CPacketRecord* pPacket = FindPacket(protocol, target.strParentText);
        if (pPacket) place.pList = &pPacket->fields;
    }
    if (!place.pList) return place;
    for (CFieldRecord& field : *place.pList) {
        if (target.strText == field.szName) {
            place.pField = &field;
            return place;
        }
    }
    place.pList = nullptr;
    return place;
}

CString CodeDigits(LPCTSTR lpszCode) {
    const CString strCode = lpszCode ? lpszCode : "";
    return strCode.Left(2).CompareNoCase("0x") == 0 ? strCode.Mid(2) : strCode;
}

bool SameCode(LPCTSTR lpszFirst, LPCTSTR lpszSecond) {
    if (CString(lpszFirst) == lpszSecond) return true;
    unsigned long long nFirst = 0, nSecond = 0;
    return CodeNumber(lpszFirst, nFirst) && CodeNumber(lpszSecond, nSecond) && nFirst == nSecond;
}

int LeadingNumber(LPCTSTR lpszText) {
    const char* p = lpszText ? lpszText : "";
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    const bool bNegative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    long long nNumber = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        nNumber = nNumber * 10 + (*p - '0');
        if (nNumber > INT_MAX) return 0;
    }
    return static_cast<int>(bNegative ? -nNumber : nNumber);
}

LPCTSTR BitCountDataType(int nBits) {
    if (nBits >= 1 && nBits <= 8) return "unsigned char";
    if (nBits >= 9 && nBits <= 16) return "unsigned short int";
    if (nBits >= 17 && nBits <= 31) return "unsigned int";
    return nullptr;
}

CPropertyEdit ApplyPropertyEdit(CProtocolRecord& protocol, const CEditTarget& target, UINT nID, const CString& strValue) {
    if (nID >= IDS_PROTOCOL_NAME && nID <= IDS_PROTOCOL_LIBRARY) return EditProtocol(protocol, nID, strValue);
    if (nID == IDS_PACKET_NAME || nID == IDS_PACKET_TYPE) return EditPacket(protocol, target, nID, strValue);
    if (nID > IDS_FIELD_SETTINGS && nID <= IDS_FIELD_TAG) return EditField(protocol, target, nID, strValue);
    return CPropertyEdit();
}
