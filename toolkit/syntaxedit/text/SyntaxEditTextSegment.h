// The attributes of text runs: the editor's eight colours, a font that may be unset, a run of
// one row with both, and a block that can be shown collapsed.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/common/ColorValue.h"
#include "toolkit/syntaxedit/text/SyntaxEditPosition.h"

#include <cstring>

// The same eight colours, in the same order, as the paint manager's settings.
struct CKLVSyntaxEditTextColors {
    CKLVColorValue crText;
    CKLVColorValue crBack;
    CKLVColorValue crSelText;
    CKLVColorValue crSelBack;
    CKLVColorValue crInactiveSelText;
    CKLVColorValue crInactiveSelBack;
    CKLVColorValue crLineNumberText;
    CKLVColorValue crLineNumberBack;
};

// A LOGFONT by value. Unset: the numbers and weight 255, the byte fields 0xFF, no face name.
struct CKLVLogFont : public LOGFONTA {
    CKLVLogFont() { SetUnset(); }
    CKLVLogFont(const LOGFONTA& lf) : LOGFONTA(lf) {}

    void SetUnset() {
        lfHeight = lfWidth = lfEscapement = lfOrientation = lfWeight = 255;
        lfItalic = lfUnderline = lfStrikeOut = lfCharSet = lfOutPrecision = lfClipPrecision = lfQuality =
            lfPitchAndFamily = 0xFF;
        memset(lfFaceName, 0, sizeof lfFaceName);
    }
};

// A run of text within one row and its attributes.
struct CKLVSyntaxEditTextSegment {
    int nFirstCol = 0;
    int nLastCol = 0;
    CKLVSyntaxEditTextColors clrColors;
    CKLVLogFont lf;
};

// A block that can be shown collapsed, with the text shown in its place.
class CKLVSyntaxEditCollapsedBlock {
public:
    CKLVSyntaxEditCollapsedBlock() = default;
    CKLVSyntaxEditCollapsedBlock(const CKLVSyntaxEditCollapsedBlock&) = default;
    CKLVSyntaxEditCollapsedBlock& operator=(const CKLVSyntaxEditCollapsedBlock&) = default;
    virtual ~CKLVSyntaxEditCollapsedBlock() = default;

    CKLVSyntaxEditPosition lcStart;
    CKLVSyntaxEditPosition lcEnd;
    CString strCollapsedText;
};
