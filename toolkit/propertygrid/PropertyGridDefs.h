// Numbers shared by the property grid's parts and its owner: the one notification message and
// its codes, item flags, sort modes, the owner-draw style and the edit record.
#pragma once

#include "classlib/String.h"

class CKLVPropertyGridItem;

#define KLVWM_PROPERTYGRID_NOTIFY 0x2ADF

enum {
    KLV_PGN_SORTORDER_CHANGED = 1,
    KLV_PGN_SELECTION_CHANGED = 2,
    KLV_PGN_ITEMVALUE_CHANGED = 3,
    KLV_PGN_EDIT_CHANGED = 4,
    KLV_PGN_INPLACEBUTTONDOWN = 5,
    KLV_PGN_DRAWITEM = 6,
    KLV_PGN_ITEMEXPANDCHANGED = 7,
    KLV_PGN_DBLCLICK = 8,
    KLV_PGN_RCLICK = 9,
    KLV_PGN_VERB_CLICK = 10,
    KLV_PGN_REQUESTEDIT = 11,
    KLV_PGN_AFTEREDIT = 12,
    KLV_PGN_CANCELEDIT = 13,
};

enum KLVPropertyGridItemFlags {
    KLVPGItemHasEdit = 1,
    KLVPGItemHasExpandButton = 2,
    KLVPGItemHasComboButton = 4,
};

enum KLVPropertyGridSortOrder {
    KLVGridSortCategorized = 0,
    KLVGridSortAlphabetical = 1,
    KLVGridSortNoSort = 2,
};

enum { KLV_IDC_PG_EXPANDBUTTON = 100, KLV_IDC_PG_COMBOBUTTON = 101 };

#define KLVPGS_OWNERDRAW 0x10

// The record of notifications 11 to 13: the owner may set the cancel flag or change the text.
struct KLV_PROPERTYGRID_NOTIFYEDIT {
    BOOL bCancel = FALSE;
    CString strValue;
    CKLVPropertyGridItem* pItem = nullptr;
};
