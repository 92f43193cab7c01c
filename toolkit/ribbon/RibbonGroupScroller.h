// Horizontal scroll state of a group area: the offset the last layout applied, which of the two
// scroll buttons it showed, and the buttons themselves. The bar that holds it lays its groups
// out again after each step, which clamps the offset to the scrollable range.
#pragma once

#include "classlib/Geometry.h"

class CKLVCommandBar;
class CKLVControl;

class CKLVRibbonGroupScroller {
public:
    enum { scrollStep = 40, buttonWidth = 12, visibleMargin = 12 };

    // The scroller of a ribbon or of a tab popup; null for any other bar.
    static CKLVRibbonGroupScroller* Of(CKLVCommandBar* pBar);

    virtual ~CKLVRibbonGroupScroller() = default;
    // One step towards the left (never before 0) or the right, then the bar is laid out again.
    virtual void Scroll(BOOL bRight);
    // The rectangle the groups may use, as the last layout set it.
    virtual CRect GetBounds() const { return m_rcBounds; }

    int GetOffset() const { return m_nOffset; }
    void SetOffset(int nOffset) { m_nOffset = nOffset; }
    BOOL IsLeftVisible() const { return m_bLeftVisible; }
    BOOL IsRightVisible() const { return m_bRightVisible; }
    void ShowButtons(BOOL bLeft, BOOL bRight);
    void Step(BOOL bRight);
    // A control of a group that gets the selection or pops up is brought into the group area:
    // past the left edge (with the left button shown) the offset shrinks until the control
    // starts 12 pixels in; past the right edge (with the right button shown) it grows by the
    // overhang and 12. The bar is laid out again when the offset moved; TRUE then.
    BOOL ScrollIntoView(const CKLVControl* pControl);

    // The bar laid out after a scroll, and the two button controls it holds (both may be null).
    void Attach(CKLVCommandBar* pBar, CKLVControl* pLeft, CKLVControl* pRight);
    BOOL IsScrollButton(const CKLVControl* pControl) const;
    CKLVControl* GetButton(BOOL bRight) const { return bRight ? m_pRight : m_pLeft; }
    // The buttons cover the ends of the area; one that is not needed is hidden.
    void SetBounds(CRect rcBounds);

private:
    void PlaceButtons();

    int m_nOffset = 0;
    BOOL m_bLeftVisible = FALSE;
    BOOL m_bRightVisible = FALSE;
    CRect m_rcBounds;
    CKLVCommandBar* m_pBar = nullptr;
    CKLVControl* m_pLeft = nullptr;
    CKLVControl* m_pRight = nullptr;
};
