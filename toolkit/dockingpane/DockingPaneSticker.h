// A docking sticker: a small shaped window with arrows that a drag shows over the container
// under the cursor (the cross, with its backdrop) and along the docking area's edges. Its parts
// are drawn masked from the toolkit's sticker bitmaps; the window's region is the union of its
// non-black pixels.
#pragma once

#include "classlib/Wnd.h"

class CKLVDockingDragContext;

// Sticker parts, as bits of a sticker's mask.
enum KLVStickerPart {
    klvStickerLeft = 1, klvStickerRight = 2, klvStickerTop = 4, klvStickerBottom = 8, klvStickerCentre = 16,
    klvStickerBackdrop = 32,
};

// The sticker images of one style (0: bitmaps 9451 to 9454, 1: bitmap 9455).
class CKLVDockingStickerImages {
public:
    // Style 0 draws the arrows of the colour manager's scheme, bHitTest always the blue ones.
    CKLVDockingStickerImages(int nStyle, BOOL bHitTest);

    // The window size of a sticker with this mask: the cross, or one edge arrow.
    static CSize GetStickerSize(int nStyle, int nMask);
    // The parts of nMask in drawing order (backdrop, top, left, bottom, right, centre);
    // nHighlighted draws that part highlighted.
    void Draw(CDC* pDC, int nMask, int nHighlighted) const;
    // One part alone in its normal image, at its place in a sticker with nMask.
    void DrawPart(CDC* pDC, int nPart, int nMask, BOOL bHighlighted) const;
    // The union of the non-black pixels of the parts drawn over black.
    HRGN CreateRegion(int nMask) const;
    // The part under the point (client co-ordinates) of a sticker with nMask, or 0: each part
    // of the mask, alone and unhighlighted, in the order top, left, bottom, right, centre; the
    // centre answers for the whole backdrop.
    int HitTest(int nMask, CPoint pt) const;

    int GetStyle() const { return m_nStyle; }

private:
    int m_nStyle;
    UINT m_nArrowsID;
};

class CKLVDockingPaneSticker : public CWnd {
public:
    CKLVDockingPaneSticker(CKLVDockingDragContext* pContext, int nMask);

    // A tool pop-up of the site on rc, shaped by a copy of hRgn, shown without activation.
    BOOL Create(CWnd* pSite, const CRect& rc, HRGN hRgn);
    // The part under a screen point, or 0 outside the sticker.
    int HitTest(CPoint ptScreen) const;
    // Repaints when the highlighted part changes.
    void SetHighlighted(int nPart);
    int GetHighlighted() const { return m_nHighlighted; }
    int GetMask() const { return m_nMask; }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    int GetStyle() const;

    int m_nMask;
    int m_nHighlighted = 0;
    CKLVDockingDragContext* m_pContext;
};
