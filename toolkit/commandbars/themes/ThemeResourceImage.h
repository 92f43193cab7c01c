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

// The image of that name from the process-wide resource images; null when the skin lacks it.
CKLVResourceImage* KLVSkinImage(LPCTSTR lpszImage);
// Stretches the part over rcDest; FALSE (nothing drawn) when the image is missing.
BOOL KLVDrawSkinPart(CDC* pDC, const KLVSkinPart& part, CRect rcDest, CRect rcMargins = CRect(0, 0, 0, 0),
                     BOOL bKeyed = FALSE);
// How many cells of the height the image's strip holds (at least one; one when it is missing).
int KLVSkinCellCount(LPCTSTR lpszImage, int cyCell);
// The part's size in the image; empty when the image is missing.
CSize KLVSkinPartSize(const KLVSkinPart& part);
// The part unscaled, its top-left corner at pt.
BOOL KLVDrawSkinPartAt(CDC* pDC, const KLVSkinPart& part, CPoint pt, BOOL bKeyed = TRUE);
