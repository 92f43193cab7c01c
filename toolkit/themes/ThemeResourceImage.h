// Drawing a part of a named skin image for the resource-image themes: every image is a vertical
// strip of equal parts, drawn with sizing margins, opaque or with magenta transparent. A missing
// image draws nothing and measures as empty.
#pragma once

#include "classlib/Dc.h"

class CKLVResourceImage;

struct KLVSkinPart {
    LPCTSTR lpszImage;
    int nPart;
    int nCount;
};

// How a part is drawn: opaque, with the magenta key transparent, or over glass (the key fully
// transparent, every other pixel fully opaque, so that the glass does not show through).
enum KLVSkinDrawMode { skinOpaque = 0, skinKeyed = 1, skinOverGlass = 2 };

// The image of that name from the process-wide resource images; null when the skin lacks it.
CKLVResourceImage* KLVSkinImage(LPCTSTR lpszImage);
// Stretches the part over rcDest; FALSE (nothing drawn) when the image is missing.
BOOL KLVDrawSkinPart(CDC* pDC, const KLVSkinPart& part, CRect rcDest, CRect rcMargins = CRect(0, 0, 0, 0),
                     KLVSkinDrawMode nMode = skinOpaque);
// How many cells of the height the image's strip holds (at least one; one when it is missing).
int KLVSkinCellCount(LPCTSTR lpszImage, int cyCell);
// The part's size in the image; empty when the image is missing.
CSize KLVSkinPartSize(const KLVSkinPart& part);
// The part unscaled, its top-left corner at pt.
BOOL KLVDrawSkinPartAt(CDC* pDC, const KLVSkinPart& part, CPoint pt, KLVSkinDrawMode nMode = skinKeyed);
// The part unscaled, centred in rc.
BOOL KLVDrawSkinPartCentred(CDC* pDC, const KLVSkinPart& part, CRect rc, KLVSkinDrawMode nMode = skinKeyed);
