// The special buttons of the bars: the tool bar's expand button, a popup's button for hidden
// commands, and a floating caption's close and drop buttons; the expand arrow of controls.
#include "toolkit/commandbars/paint/PaintManager.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/paint/CommandBarFace.h"
#include "toolkit/commandbars/paint/ControlFace.h"
#include "toolkit/common/DCScopes.h"

namespace {

enum { kindToolBarExpand = 0, kindPopupExpand = 1, kindCaptionClose = 2, kindCaptionDrop = 3 };

struct Offset {
    int dx, dy;
};

// Three-point strokes given as offsets from an origin; bTurned exchanges the two directions.
void DrawStrokes(CDC* pDC, CPoint ptOrigin, const Offset (*strokes)[3], int nCount, BOOL bTurned) {
    for (int i = 0; i < nCount; ++i) {
        POINT pts[3];
        for (int k = 0; k < 3; ++k) {
            const Offset o = strokes[i][k];
            pts[k] = {ptOrigin.x + (bTurned ? o.dy : o.dx), ptOrigin.y + (bTurned ? o.dx : o.dy)};
        }
        pDC->Polyline(pts, 3);
    }
}

const Offset kToolBarChevrons[4][3] = {{{2, 4}, {4, 6}, {1, 9}},
                                       {{3, 4}, {5, 6}, {2, 9}},
                                       {{6, 4}, {8, 6}, {5, 9}},
                                       {{7, 4}, {9, 6}, {6, 9}}};
const Offset kPopupChevrons[4][3] = {{{-2, 2}, {0, 4}, {3, 1}},
                                     {{-2, 3}, {0, 5}, {3, 2}},
                                     {{-2, 6}, {0, 8}, {3, 5}},
                                     {{-2, 7}, {0, 9}, {3, 6}}};

}  // namespace

CSize CKLVPaintManager::DrawSpecialControl(CDC* pDC, int nKind, CKLVControlFace* pControl, CKLVCommandBarFace* pBar,
                                           BOOL bDraw, LPVOID lpParam) {
    const CRect rc = pControl->GetRect();
    const CPoint c = rc.CenterPoint();
    switch (nKind) {
    case kindToolBarExpand: {
        const BOOL bVertical = pBar && IsVerticalPosition(pBar->GetPosition());
        if (!bDraw) {
            const CSize szBar = lpParam ? *static_cast<CSize*>(lpParam) : CSize(0, 0);
            pControl->SetMeasuredRect(bVertical ? CRect(2, szBar.cy - 13, szBar.cx - 2, szBar.cy - 2)
                                                 : CRect(szBar.cx - 13, 2, szBar.cx - 2, szBar.cy - 2));
            return CSize(0, 0);
        }
        DrawControlEntry(pDC, pControl);
        const COLORREF clr = GetControlTextColor(pControl);
        if (bVertical)
            DrawTriangle(pDC, CPoint(rc.right - 7, c.y - 2), CPoint(rc.right - 7, c.y + 2), CPoint(rc.right - 5, c.y), clr);
        else
            DrawTriangle(pDC, CPoint(c.x - 2, rc.bottom - 7), CPoint(c.x + 2, rc.bottom - 7), CPoint(c.x, rc.bottom - 5),
                         clr);
        if (lpParam && *static_cast<BOOL*>(lpParam)) {
            CKLVPenDC pen(pDC->GetSafeHdc(), clr);
            DrawStrokes(pDC, rc.TopLeft(), kToolBarChevrons, 4, bVertical);
        }
        return CSize(0, 0);
    }
    case kindPopupExpand:
        if (bDraw) {
            DrawControlEntry(pDC, pControl);
            CKLVPenDC pen(pDC->GetSafeHdc(), RGB(0, 0, 0));
            DrawStrokes(pDC, CPoint(c.x, rc.top), kPopupChevrons, 4, FALSE);
        }
        return CSize(0, 12);
    case kindCaptionClose:
    case kindCaptionDrop: {
        if (!bDraw) return CSize(0, 0);
        const COLORREF clr = pControl->GetPressed() || pControl->GetPopuped() ? GetControlTextColor(pControl)
                                                                               : COLORREF(m_clrFloatingCaptionText);
        if (nKind == kindCaptionDrop) {
            DrawTriangle(pDC, CPoint(c.x - 3, c.y - 2), CPoint(c.x + 3, c.y - 2), CPoint(c.x, c.y + 1), clr);
            return CSize(0, 0);
        }
        DrawCaptionGlyph(pDC, rc, glyphClose, clr);
        return CSize(0, 0);
    }
    default: return CSize(0, 0);
    }
}

void CKLVPaintManager::DrawExpandArrow(CDC* pDC, CKLVControlFace*, CPoint pt, BOOL bSelected, BOOL bPopuped,
                                       BOOL bEnabled, BOOL bLeft) {
    const COLORREF clr = GetRectangleTextColor(bSelected, FALSE, bEnabled, FALSE, bPopuped,
                                               CKLVCommandBarFace::barTypeNormal, CKLVCommandBarFace::barTop);
    if (bLeft)
        DrawTriangle(pDC, CPoint(pt.x + 2, pt.y - 2), CPoint(pt.x + 2, pt.y + 2), pt, clr);
    else
        DrawTriangle(pDC, CPoint(pt.x - 2, pt.y - 1), CPoint(pt.x + 2, pt.y - 1), CPoint(pt.x, pt.y + 1), clr);
}
