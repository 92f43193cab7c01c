// What an edit in the properties pane does to the protocol records: which value a record takes,
// which it refuses and with what message, and what the tree item and the field grid do after it.
// Plain functions over the records; the pane only shows their outcome.
#pragma once

#include "app/ProtocolRecords.h"

// The texts the grids show for the records' numbers, in the numbers' order.
extern const LPCTSTR kUnitTexts[3];
extern const LPCTSTR kFieldTypeTexts[5];
extern const LPCTSTR kAttributeTexts[2];
extern const LPCTSTR kVariantTexts[3];
// The data types a field may have; the first eight are integers.
extern const LPCTSTR kDataTypes[10];

// The tree item an edit is made through: its kind (CSolutionTreeItem's), its text and its parent
// item's text.
struct CEditTarget {
    int nKind = 0;
    CString strText;
    CString strParentText;
};

// A packet field (kind 5) or a header field (kind 2) with the list it was found in.
struct CFieldPlace {
    std::vector<CFieldRecord>* pList = nullptr;
    CFieldRecord* pField = nullptr;
};

// What became of one edited grid value.
struct CPropertyEdit {
    enum Outcome { none, stored, refused };
    Outcome outcome = none;
    CString strMessage;                 // the refusal, for the "ERROR!" box
    CString strShowAgain;               // what the item shows after a refusal
    BOOL bRename = FALSE;               // the tree item takes strNewName as its text
    CString strNewName;
    CFieldRecord* pRefresh = nullptr;   // the field whose grid items follow the edit
};

// The protocol's first packet of that name; null when there is none.
CPacketRecord* FindPacket(CProtocolRecord& protocol, LPCTSTR lpszName);
// The field a tree item of kind 2 or 5 stands for; empty for other kinds or when none matches.
CFieldPlace FindField(CProtocolRecord& protocol, const CEditTarget& target);

// The digits of a type code or tag after its "0x"; empty when there are none.
CString CodeDigits(LPCTSTR lpszCode);
// Two codes are one when their texts are equal or their hexadecimal numbers are.
bool SameCode(LPCTSTR lpszFirst, LPCTSTR lpszSecond);
// The decimal number a text starts with; 0 when it starts with none or the number is too large.
int LeadingNumber(LPCTSTR lpszText);
// The integer type that holds a bit count from 1 to 31; null for any other count.
LPCTSTR BitCountDataType(int nBits);

// Checks the value of the grid item nID and stores it into the record the target stands for.
CPropertyEdit ApplyPropertyEdit(CProtocolRecord& protocol, const CEditTarget& target, UINT nID, const CString& strValue);
