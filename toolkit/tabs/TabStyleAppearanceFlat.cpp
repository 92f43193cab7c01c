// Appearances 4, 5, 6 and 7: buttons, flat items with separators, flat framed boxes and
// trapezoids.
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyleAppearances.h"

using Painter = CKLVTabPainter;

namespace {

COLORREF Resolve(const CKLVColorValue& clr) { return CKLVTabColors::GetColor(clr); }

}  // namespace

CRect CKLVTabStyleAppearance4::FillHeader(CKLVTabManager* pTabManager, CDC*, CRect rc) {
    return GetHeaderRect(rc, pTabManager);
}

void CKLVTabStyleAppearance4::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    GetColorSet()->FillButton(pDC, pItem->GetRect(), pItem);
    DrawContent(pDC, pItem, pItem->GetRect());
}

CRect CKLVTabStyleAppearance5::FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    CKLVTabColors* pColors = GetColorSet();
    return FillHeaderWithFrame(pTabManager, pDC, rc, Resolve(pColors->clrButtonHighlight), Resolve(pColors->clrFrameBorder),
                               FALSE);
}

void CKLVTabStyleAppearance5::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    CKLVTabColors* pColors = GetColorSet();
    CRect rc = pItem->GetRect();
    if (pItem->IsSelected()) {
        Painter::InflateRectEx(rc, 0, 0, 0, 1, GetPosition());
        pColors->FillItem(pDC, rc, pItem);
        pDC->Draw3dRect(&rc, Resolve(pColors->clrButtonHighlight), Resolve(pColors->clrFrameBorder));
    } else if (IsHorizontal()) {
        Painter::DrawVertLine(pDC, rc.right - 1, rc.top + 2, rc.Height() - 4, Resolve(pColors->clrFrameBorder));
    } else {
        Painter::DrawHorzLine(pDC, rc.left + 2, rc.bottom - 1, rc.Width() - 4, Resolve(pColors->clrFrameBorder));
    }
    DrawContent(pDC, pItem, pItem->GetRect());
}

CRect CKLVTabStyleAppearance6::FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    const COLORREF clrFrame = Resolve(GetColorSet()->clrFrameBorder);
    return FillHeaderWithFrame(pTabManager, pDC, rc, clrFrame, clrFrame, TRUE);
}

void CKLVTabStyleAppearance6::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    CKLVTabColors* pColors = GetColorSet();
    CRect rc = pItem->GetRect();
    (IsHorizontal() ? rc.right : rc.bottom) += 1;
    pColors->FillItem(pDC, rc, pItem);
    if (pItem->IsSelected()) Painter::InflateRectEx(rc, 0, 0, 0, 1, GetPosition());
    const COLORREF clrFrame = Resolve(pColors->clrFrameBorder);
    if (clrFrame != COLORREF(-1)) pDC->Draw3dRect(&rc, clrFrame, clrFrame);
    DrawContent(pDC, pItem, pItem->GetRect());
}

CRect CKLVTabStyleAppearance7::GetMargins() {
    CRect rc = m_rcHeaderMargin;
    rc.left += m_nTextHeight / 2;
    rc.right += m_nTextHeight / 2;
    return rc;
}

CRect CKLVTabStyleAppearance7::GetItemDrawRect(CKLVTabManagerItem* pItem) {
    CRect rc = pItem->GetRect();
    const int nHalf = (IsHorizontal() ? rc.Height() : rc.Width()) / 2;
    if (IsHorizontal()) rc.InflateRect(nHalf, 0, nHalf, 0);
    else rc.InflateRect(0, nHalf, 0, nHalf);
    return rc;
}

void CKLVTabStyleAppearance7::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    CKLVTabColors* pColors = GetColorSet();
    const CKLVTabFigure fig(pItem->GetRect(), GetPosition());
    const CRect& rc = fig.GetLocalRect();
    const int t = rc.top, b = rc.bottom, hh = (b - 1 - t) / 2, l = rc.left - hh / 2, r = rc.right - hh / 2;
    const CKLVColorValue* pGroup = pItem->IsSelected() ? pColors->clrGroupB : pColors->clrGroupA;
    const COLORREF clrFill =
        fig.FillPolygon(pDC, pItem, {{l, b - 1}, {l + hh, b - 1 - 2 * hh}, {r, b - 1 - 2 * hh}, {r + hh, b - 1}});
    fig.Polyline(pDC, Resolve(pGroup[3]), {{l + 1, b - 2}, {l + hh + 1, t}});
    fig.Polyline(pDC, Resolve(pGroup[3]), {{l + hh, t + 1}, {r, t + 1}});
    fig.Polyline(pDC, Resolve(pGroup[4]), {{r - 1, t}, {r + hh - 1, b - 1}});
    fig.Polyline(pDC, Resolve(pGroup[0]), {{l, b - 2}, {l + hh, t}});
    fig.Polyline(pDC, Resolve(pGroup[0]), {{l + hh, t}, {r, t}});
    fig.Polyline(pDC, Resolve(pGroup[2]), {{r, t}, {r + hh, b - 1}});
    if (pItem->IsSelected()) fig.HorzLine(pDC, l, b - 1, r - l + hh, clrFill);
    DrawContent(pDC, pItem, pItem->GetRect());
}
