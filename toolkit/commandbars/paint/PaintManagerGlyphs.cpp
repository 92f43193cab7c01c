// The small figures every theme shares: check marks, radio dots, drop-down triangles, caption
// buttons and scroll arrows, and the split of a caption over two lines.
#include "toolkit/commandbars/paint/PaintManager.h"

#include "classlib/Dc.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"

#include <algorithm>
#include <cmath>

namespace {

BYTE BlendChannel(int nPresent, int nRim, double fFraction) {
    return static_cast<BYTE>((nPresent - nRim) * fFraction + nRim);
}

COLORREF BlendPixel(COLORREF clrPresent, COLORREF clrRim, double fFraction) {
    return RGB(BlendChannel(GetRValue(clrPresent), GetRValue(clrRim), fFraction),
               BlendChannel(GetGValue(clrPresent), GetGValue(clrRim), fFraction),
               BlendChannel(GetBValue(clrPresent), GetBValue(clrRim), fFraction));
}

}  // namespace

void CKLVPaintManager::DrawCheckMarkLines(CDC* pDC, CRect rc, COLORREF clr, BOOL bRTL) {
    const CPoint c = rc.CenterPoint();
    // Polyline leaves each end point unpainted, as the figures expect.
    const POINT normal[2][3] = {{{c.x - 4, c.y - 1}, {c.x - 2, c.y + 1}, {c.x + 3, c.y - 4}},
                                {{c.x - 4, c.y}, {c.x - 2, c.y + 2}, {c.x + 3, c.y - 3}}};
    const POINT mirrored[2][3] = {{{c.x - 4, c.y - 3}, {c.x, c.y + 1}, {c.x + 3, c.y - 2}},
                                  {{c.x - 4, c.y - 2}, {c.x, c.y + 2}, {c.x + 3, c.y - 1}}};
    const POINT(*lines)[3] = bRTL ? mirrored : normal;
    CKLVPenDC pen(AfxGetSafeHdc(pDC), clr);
    pDC->Polyline(lines[0], 3);
    pDC->Polyline(lines[1], 3);
}

void CKLVPaintManager::DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr) {
    const BOOL bRTL = CKLVDrawHelpers::IsContextRTL(pDC);
    DrawCheckMarkLines(pDC, rc, clr, bRTL);
    if (m_bThickCheckMark) DrawCheckMarkLines(pDC, rc + CPoint(0, 1), clr, bRTL);
}

void CKLVPaintManager::DrawAntialiasedCircle(CDC* pDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF clrRim,
                                             COLORREF clrFill) {
    const double cx = (nLeft + nRight - 1) / 2.0;
    const double cy = (nTop + nBottom - 1) / 2.0;
    const double r = (nRight - nLeft - 1) * 0.5 - 0.25;
    for (int y = nTop; y < nBottom; ++y) {
        for (int x = nLeft; x < nRight; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            if (d < r - 1) {
                pDC->SetPixel(x, y, clrFill);
            } else if (d <= r + 1) {
                const COLORREF clrPresent = d < r ? clrFill : pDC->GetPixel(x, y);
                pDC->SetPixel(x, y, BlendPixel(clrPresent, clrRim, std::fabs(d - r)));
            }
        }
    }
}

void CKLVPaintManager::DrawRadioDot(CDC* pDC, CRect rc, COLORREF clr) {
    const CPoint c = rc.CenterPoint();
    DrawAntialiasedCircle(pDC, c.x - 3, c.y - 3, c.x + 3, c.y + 3, clr, clr);
}

void CKLVPaintManager::DrawTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr) {
    CKLVDrawHelpers::SolidTriangle(pDC, pt0.x, pt0.y, pt1.x, pt1.y, pt2.x, pt2.y, clr);
}

void CKLVPaintManager::DrawComboExpandMark(CDC* pDC, CRect rc, COLORREF clr) {
    const int x = (rc.left + rc.right) / 2;
    const int h = std::max(rc.Width() / 2 - 4, 2);
    const int y = (rc.top + rc.bottom) / 2 - h / 2;
    DrawTriangle(pDC, CPoint(x - h, y), CPoint(x + h, y), CPoint(x, y + h), clr);
}

void CKLVPaintManager::SplitString(const CString& str, CString& strFirst, CString& strSecond) {
    strFirst = str;
    strSecond.Empty();
    const int nLength = str.GetLength();
    const int nHalf = nLength / 2;
    if (nLength <= 1 || str.Find(' ', 1) < 1 || nHalf - 1 < 1) return;
    for (int k = 0; k < nHalf - 1; ++k) {
        for (int nIndex : {nHalf - k, nHalf + 1 + k}) {
            if (str[nIndex] != ' ') continue;
            strFirst = str.Left(nIndex);
            strSecond = str.Mid(nIndex + 1);
            return;
        }
    }
}

namespace {

// A box outline whose top edge is two pixels thick, as a window's maximise figure has it.
void DrawWindowBox(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr) {
    pDC->FillSolidRect(x, y, cx, 2, clr);
    pDC->FillSolidRect(x, y + cy - 1, cx, 1, clr);
    pDC->FillSolidRect(x, y, 1, cy, clr);
    pDC->FillSolidRect(x + cx - 1, y, 1, cy, clr);
}

// A solid triangle pointing along (dx, dy), its tip one pixel, its base seven, centred on c.
void DrawArrowGlyph(CDC* pDC, CPoint c, int dx, int dy, COLORREF clr) {
    for (int i = 0; i < 4; ++i) {
        const int nAlong = 2 - i;   // from the tip back to the base
        if (dx == 0) pDC->FillSolidRect(c.x - i, c.y + nAlong * dy, 2 * i + 1, 1, clr);
        else pDC->FillSolidRect(c.x + nAlong * dx, c.y - i, 1, 2 * i + 1, clr);
    }
}

}  // namespace

void CKLVPaintManager::DrawCaptionGlyph(CDC* pDC, const CRect& rc, CaptionGlyph nGlyph, COLORREF clr) {
    const CPoint c = rc.CenterPoint();
    switch (nGlyph) {
    case glyphClose:
        // Two strokes two pixels wide crossing in the middle, corner to corner of 8 by 8 pixels.
        for (int i = 0; i < 8; ++i) {
            const int nWidth = i < 7 ? 2 : 1;
            pDC->FillSolidRect(c.x - 4 + i, c.y - 4 + i, nWidth, 1, clr);
            pDC->FillSolidRect(c.x + 4 - i - nWidth, c.y - 4 + i, nWidth, 1, clr);
        }
        break;
    case glyphMinimize: pDC->FillSolidRect(c.x - 4, c.y + 2, 6, 2, clr); break;
    case glyphMaximize: DrawWindowBox(pDC, c.x - 4, c.y - 4, 9, 8, clr); break;
    case glyphRestore:
        // The window behind shows its top, its right side and the corner the front one leaves.
        pDC->FillSolidRect(c.x - 2, c.y - 4, 7, 2, clr);
        pDC->FillSolidRect(c.x + 4, c.y - 4, 1, 6, clr);
        pDC->FillSolidRect(c.x - 2, c.y - 2, 1, 1, clr);
        pDC->FillSolidRect(c.x + 3, c.y + 1, 1, 1, clr);
        DrawWindowBox(pDC, c.x - 4, c.y - 1, 7, 6, clr);
        break;
    case glyphArrowUp: DrawArrowGlyph(pDC, c, 0, -1, clr); break;
    case glyphArrowDown: DrawArrowGlyph(pDC, c, 0, 1, clr); break;
    case glyphArrowLeft: DrawArrowGlyph(pDC, c, -1, 0, clr); break;
    case glyphArrowRight: DrawArrowGlyph(pDC, c, 1, 0, clr); break;
    }
}
