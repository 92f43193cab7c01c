// The keys the key tips of a bar show: a tip without a key of its own takes its label's
// mnemonic, and tips that would show the same key get distinct ones, so that typing always
// leads to exactly one tip.
#pragma once

#include "classlib/String.h"

#include <vector>

class CKLVKeyboardTipCaptions {
public:
    struct Entry {
        CString strCaption;   // the key shown; empty: taken from the label
        CString strLabel;     // the control's caption with its "&" mnemonic
        BOOL bRemoved = FALSE;   // set when neither gives a key: the tip goes
    };

    // Fills and disambiguates the captions in place. Tips sharing a key (compared without case)
    // keep it in front of one more character of their own label, after the mnemonic, that the
    // group has not used yet ("&" and blanks never count), or of their position in the group.
    static void Assign(std::vector<Entry>& entries);

private:
    static void FillFromLabels(std::vector<Entry>& entries);
    static void MakeDistinct(std::vector<Entry>& entries, size_t nFirst);
    // Where the label's text after its mnemonic starts.
    static int RestOfLabel(const CString& strLabel);
};
