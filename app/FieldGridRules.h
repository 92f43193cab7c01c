// What the field grid shows for a field: the values, which items take edits, the "char *" entry
// of the data types and the names offered as related fields. Plain functions over the records;
// the properties pane applies the plan to its grid items.
#pragma once

#include "app/ProtocolRecords.h"

// The field grid's items the rules touch, each found by its caption.
enum EFieldGridItem {
    fgiName, fgiUnit, fgiDataType, fgiMaxLength, fgiMaxCount, fgiRelatedCount,
    fgiAttribute, fgiVariant, fgiRelatedLength, fgiType, fgiTag, fgiCount
};
LPCTSTR FieldGridCaption(int nItem);

struct CFieldGridPlan {
    enum ReadOnly { keep = -1, editable = 0, readOnly = 1 };
    enum CharPointer { charPointerKeep, charPointerOffer, charPointerWithdraw };
    struct Item {
        BOOL bShow = FALSE;   // the item shows strValue
        CString strValue;
        int nReadOnly = keep;
    };

    Item items[fgiCount];
    CharPointer charPointer = charPointerKeep;
    BOOL bRelatedNames = FALSE;   // "Related Count" and "Related Length" offer relatedNames
    std::vector<CString> relatedNames;

    void Show(int nItem, const CString& strValue) {
        items[nItem].bShow = TRUE;
        items[nItem].strValue = strValue;
    }
    void SetReadOnly(int nItem, bool bReadOnly) { items[nItem].nReadOnly = bReadOnly ? readOnly : editable; }
};

// "char []" and "char *": the data types whose length the user enters.
bool IsTextDataType(LPCTSTR lpszDataType);
// The byte size of an integer data type ("1", "2", "4", "8"); null for the text types and others.
LPCTSTR IntegerDataTypeSize(LPCTSTR lpszDataType);

// A field's tree item selected: the field's unit becomes bit, then the grid shows the field.
CFieldGridPlan SelectField(CFieldRecord& field, const std::vector<CFieldRecord>& list);
// The grid showing the field of the list as it stands.
CFieldGridPlan ShowField(const CFieldRecord& field, const std::vector<CFieldRecord>& list);
// The grid following an edit of the field, "Data Type" showing strShownDataType; the field takes
// the data type and max length that follow from its unit.
CFieldGridPlan RefreshField(CFieldRecord& field, const CString& strShownDataType);
