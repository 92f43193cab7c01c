// Horizontal scroll state of a group area: the offset the last layout applied and which of the
// two scroll buttons it showed. The bar that holds it draws and presses the buttons, then lays
// its groups out again, which clamps the offset to the scrollable range.
#pragma once

#include "classlib/ClassLib.h"

class CKLVRibbonGroupScroller {
public:
    enum { scrollStep = 40 };

    int GetOffset() const { return m_nOffset; }
    void SetOffset(int nOffset) { m_nOffset = nOffset; }
    BOOL IsLeftVisible() const { return m_bLeftVisible; }
    BOOL IsRightVisible() const { return m_bRightVisible; }
    void ShowButtons(BOOL bLeft, BOOL bRight);
    // One step towards the left (never before 0) or the right.
    void Step(BOOL bRight);

private:
    int m_nOffset = 0;
    BOOL m_bLeftVisible = FALSE;
    BOOL m_bRightVisible = FALSE;
};
