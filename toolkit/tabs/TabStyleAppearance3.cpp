// Appearances 3 and 9: slanted tabs that reach over their neighbours.
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyleAppearances.h"

#include <algorithm>

namespace {

// The item's extent across the row, which sets how far the slant reaches.
int ItemDepth(const CRect& rc, BOOL bHorizontal) { return bHorizontal ? rc.Height() : rc.Width(); }

}  // namespace

CRect CKLVTabStyleAppearance3::GetMargins() {
    CRect rc = m_rcHeaderMargin;
    rc.left += m_nTextHeight;
    return rc;
}

void CKLVTabStyleAppearance3::GetReach(CKLVTabManagerItem* pItem, int& nBefore, int& nAfter) {
    nBefore = ItemDepth(pItem->GetRect(), IsHorizontal());
    nAfter = 2;
}

// The slant rises one pixel along for each across, from 8 pixels short of the row's depth at its
// foot back to the item's start at its top: that much of the previous item's end lies beneath it.
int CKLVTabStyleAppearance3::GetSlantOverlap(CKLVTabManagerItem* pItem) {
    CKLVTabManager* pTabManager = pItem->GetTabManager();
    return pTabManager ? std::max(0, GetRowHeight(pTabManager) - 8) : 0;
}

int CKLVTabStyleAppearance3::GetItemLength(CDC* pDC, CKLVTabManagerItem* pItem) {
    return CKLVTabStyle::GetItemLength(pDC, pItem) + GetSlantOverlap(pItem);
}

CRect CKLVTabStyleAppearance3::GetItemDrawRect(CKLVTabManagerItem* pItem) {
    int nBefore = 0, nAfter = 0;
    GetReach(pItem, nBefore, nAfter);
    CRect rc = pItem->GetRect();
    if (IsHorizontal()) rc.InflateRect(nBefore, 0, nAfter, 0);
    else rc.InflateRect(0, nBefore, 0, nAfter);
    return rc;
}

CRect CKLVTabStyleAppearance3::FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    const COLORREF clr = CKLVTabColors::GetColor(GetColorSet()->clrFlatBorder);
    return FillHeaderWithFrame(pTabManager, pDC, rc, clr, clr, FALSE);
}

CKLVTabStyleAppearance3::FIGURECOLORS CKLVTabStyleAppearance3::GetFigureColors(CKLVTabManagerItem* pItem,
                                                                               BOOL bAllowHot) {
    CKLVTabColors* pColors = GetColorSet();
    if (bAllowHot && m_bHotTracking && pItem->IsHot() && !pItem->IsSelected()) {
        const COLORREF clrHot = CKLVTabColors::GetColor(pColors->clrHotFace);
        return {clrHot, clrHot, clrHot};
    }
    if (pItem->IsSelected()) return {CKLVTabColors::GetColor(pColors->clrFlatBorder), 0xFFFFFF, 0xFFFFFF};
    return {CKLVTabColors::GetColor(pColors->clrFlatDarkShadow), CKLVTabColors::GetColor(pColors->clrFlatLightShadow),
            CKLVTabColors::GetColor(pColors->clrFlatHighlight)};
}

void CKLVTabStyleAppearance3::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    const CKLVTabFigure fig(pItem->GetRect(), GetPosition());
    const CRect& rc = fig.GetLocalRect();
    const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom, h = b - t;
    const FIGURECOLORS clr = GetFigureColors(pItem, TRUE);
    const COLORREF clrFill = fig.FillPolygon(pDC, pItem, {{r - 1, b - 1}, {r - 1, t + 2}, {l + 4, t + 2}, {l + 8 - h, b - 2}});
    fig.Polyline(pDC, clr.clrOuter,
                 {{r, b - 2}, {r, t + 2}, {r - 2, t}, {l + 7, t}, {l + 2, t + 2}, {l + 6 - h, b - 2}, {l + 4 - h, b - 2}});
    fig.Polyline(pDC, clr.clrRight, {{r - 1, b - 2}, {r - 1, t + 2}, {r - 3, t}});
    fig.Polyline(pDC, clr.clrTop, {{r - 3, t + 1}, {l + 6, t + 1}, {l + 1, t + 4}, {l + 6 - h, b - 1}});
    if (pItem->IsSelected()) fig.HorzLine(pDC, l + 5 - h, b - 1, r - (l + 5 - h), clrFill);
    // The caption and buttons keep clear of the end the next item's slant may cover.
    CRect rcContent = pItem->GetRect();
    (IsHorizontal() ? rcContent.right : rcContent.bottom) -= GetSlantOverlap(pItem);
    DrawContent(pDC, pItem, rcContent);
}

CRect CKLVTabStyleAppearance9::GetMargins() {
    CRect rc = m_rcHeaderMargin;
    rc.left += m_nTextHeight / 2;
    return rc;
}

void CKLVTabStyleAppearance9::GetReach(CKLVTabManagerItem* pItem, int& nBefore, int& nAfter) {
    nBefore = nAfter = ItemDepth(pItem->GetRect(), IsHorizontal()) / 2;
}

void CKLVTabStyleAppearance9::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    const CKLVTabFigure fig(pItem->GetRect(), GetPosition());
    const CRect& rc = fig.GetLocalRect();
    const int l = rc.left, t = rc.top, r = rc.right, hh = (rc.bottom - t) / 2, e = t + 2 * hh;
    const FIGURECOLORS clr = GetFigureColors(pItem, FALSE);
    const std::initializer_list<CPoint> outline = {{r + hh - 4, t + 1}, {r - 1, e - 5}, {r - 5, e - 1}, {r - 7, e},
                                                   {l + 7, e},          {l + 5, e - 1}, {l + 2, e - 4}, {l + 4 - hh, t}};
    const COLORREF clrFill = fig.FillPolygon(pDC, pItem, outline);
    fig.Polyline(pDC, clr.clrOuter, outline);
    fig.Polyline(pDC, clr.clrRight, {{r + hh - 5, t + 1}, {r - 2, e - 5}, {r - 5, e - 2}, {r - 7, e - 1}});
    fig.Polyline(pDC, clr.clrTop, {{l + 7, e - 1}, {l + 5, e - 2}, {l + 3, e - 4}, {l + 5 - hh, t + 1}});
    if (pItem->IsSelected()) fig.HorzLine(pDC, l + 7, e, r - l - 14, clrFill);
    DrawContent(pDC, pItem, pItem->GetRect());
}
