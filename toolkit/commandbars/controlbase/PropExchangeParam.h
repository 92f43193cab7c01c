// What one save or load of command-bar state hands every exchange inside it (through the
// exchange's context): which bars to write and the command bars being saved or loaded.
#pragma once

#include "classlib/ClassLib.h"

class CKLVCommandBars;
class CKLVCommandBarsLink;

struct CKLVPropExchangeParam {
    BOOL bSerializeOnlyCustomized = FALSE;   // built-in bars the user left alone are skipped
    BOOL bSaveOriginalControls = TRUE;       // the built-in control sets are written too
    CKLVCommandBars* pCommandBars = nullptr;
    // The same command bars as bars and controls see them: a loading control finds its action here.
    CKLVCommandBarsLink* pLink = nullptr;
};
