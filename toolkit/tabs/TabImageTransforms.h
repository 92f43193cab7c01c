// Turning a 32-bit image drawn as a top tab into the tab of another row position. Every transform
// takes the source's width cx and height cy (pixels, rows in memory order) and writes a destination
// of cx * cy pixels:
// - FlipVertical: cx by cy, destination row i = source row cy - 1 - i;
// - Transpose: cy wide and cx high, destination (x = r, y = c) = source (x = c, y = r);
// - TransposeReverse: Transpose turned half round, destination[cx * cy - 1 - k] = Transpose's [k].
// The images are bottom-up DIBs (memory row 0 is the bottom line), so FlipVertical turns a top tab
// into a bottom tab, Transpose into a right tab and TransposeReverse into a left tab: the top
// tab's outer side ends on the outer side of the row.
#pragma once

#include "classlib/Dc.h"
#include "toolkit/common/WinThemeWrapper.h"

#include <cstdint>

namespace KLVTabImage {

using Transform = void (*)(int cx, int cy, const uint32_t* pSource, uint32_t* pDest);

void FlipVertical(int cx, int cy, const uint32_t* pSource, uint32_t* pDest);
void Transpose(int cx, int cy, const uint32_t* pSource, uint32_t* pDest);
void TransposeReverse(int cx, int cy, const uint32_t* pSource, uint32_t* pDest);

// Draws the style's part as a top tab on a background of clrBack, at rc's size (its sides
// exchanged with bExchange), turns it with the transform and puts it into rc. Nothing is drawn
// when the images cannot be made.
void DrawTurnedThemePart(CDC* pDC, CKLVWinThemeWrapper& theme, COLORREF clrBack, CRect rc, int nPart, int nState,
                         BOOL bExchange, Transform pfnTransform);

}  // namespace KLVTabImage
