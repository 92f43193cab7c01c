// Appearance 2: rounded tabs.
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyleAppearances.h"

namespace {

// Each corner's outline pixels, as (pixel, offset into the tab) pairs from the top-left corner;
// the other corners mirror them.
const POINT kCornerBlur[5][2] = {{{0, 2}, {1, 0}}, {{1, 1}, {1, 1}}, {{2, 0}, {0, 1}}, {{0, 3}, {1, 0}},
                                 {{3, 0}, {0, 1}}};

void BlurCorners(CDC* pDC, const CRect& rc) {
    POINT points[4 * 5 * 2];
    int n = 0;
    const struct {
        int x, y, sx, sy;
    } corners[4] = {{rc.left, rc.top, 1, 1},
                    {rc.right - 1, rc.top, -1, 1},
                    {rc.left, rc.bottom - 1, 1, -1},
                    {rc.right - 1, rc.bottom - 1, -1, -1}};
    for (const auto& c : corners)
        for (const auto& pair : kCornerBlur) {
            points[n++] = {c.x + c.sx * pair[0].x, c.y + c.sy * pair[0].y};
            points[n++] = {c.sx * pair[1].x, c.sy * pair[1].y};
        }
    CKLVDrawHelpers::BlurPoints(pDC, points, n);
}

}  // namespace

void CKLVTabStyleAppearance2::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    CKLVTabColors* pColors = GetColorSet();
    const COLORREF clrFrame = CKLVTabColors::GetColor(pColors->clrFrameBorder);
    CRect rc = pItem->GetRect();
    if (pItem->IsSelected()) {
        CKLVTabPainter::InflateRectEx(rc, 0, 0, 0, 2, GetPosition());
        pColors->FillItem(pDC, rc, pItem);
        if (clrFrame != COLORREF(-1)) {
            CKLVPenDC pen(pDC->GetSafeHdc(), clrFrame);
            HGDIOBJ hOldBrush = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(HOLLOW_BRUSH));
            ::RoundRect(pDC->GetSafeHdc(), rc.left, rc.top, rc.right, rc.bottom, 6, 6);
            ::SelectObject(pDC->GetSafeHdc(), hOldBrush);
        }
        if (m_bBlurCorners) BlurCorners(pDC, rc);
    } else if (clrFrame != COLORREF(-1)) {
        CKLVTabManager* pManager = pItem->GetTabManager();
        const BOOL bLast = pManager && pItem->GetIndex() == pManager->GetItemCount() - 1;
        if (!bLast) {
            if (IsHorizontal())
                CKLVTabPainter::DrawVertLine(pDC, rc.right - 1, rc.top + 3, rc.Height() - 6, clrFrame);
            else
                CKLVTabPainter::DrawHorzLine(pDC, rc.left + 3, rc.bottom - 1, rc.Width() - 6, clrFrame);
        }
    }
    DrawContent(pDC, pItem, pItem->GetRect());
}
