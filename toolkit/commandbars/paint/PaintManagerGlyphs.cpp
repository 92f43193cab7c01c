// The small figures every theme shares: check marks, radio dots, drop-down triangles, and the
// split of a caption over two lines.
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
