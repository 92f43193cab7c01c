// A windowless scroll bar as the galleries' painter reads it: where its parts lie, which one is
// hot or pressed, and its style. The scroll helper answers it, so that painting a scroll bar needs
// none of the tracking behind it.
#pragma once

#include "classlib/Geometry.h"

// Where the parts of the bar lie, along it (y for a vertical bar, x for a horizontal one).
struct KLVScrollBarGeometry {
    CRect rcBar;
    int pxFirstArrowEnd = 0;
    int pxSecondArrowStart = 0;
    int pxThumbStart = 0;
    int pxThumbEnd = 0;
    int pxBarEnd = 0;   // where a part beyond the bar starts (65); 0 without one
    int nMin = 0;
    int nMax = 0;
    int nPage = 0;
    int nPos = 0;
};

class CKLVScrollBarFace {
public:
    enum Part { partNone = 0, partFirstArrow = 60, partSecondArrow = 61, partPageBefore = 62, partPageAfter = 63,
                partThumb = 64, partBeyond = 65 };

    virtual BOOL IsScrollBarEnabled() const = 0;
    // The explicit style, else the theme's: 0 gives 2, 5 and 6 give 5, any other 3.
    virtual int GetScrollBarStyle() const = 0;

    int m_nHotPart = partNone;
    int m_nPressedPart = partNone;
    KLVScrollBarGeometry m_geometry;
    BOOL m_bVertical = TRUE;

protected:
    ~CKLVScrollBarFace() = default;
};
