#include "toolkit/tabs/TabColorsVisualStyle.h"

#include "toolkit/tabs/TabImageTransforms.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabManagerNavigateButton.h"

#include <cstdint>

namespace {

const int kPropFillColorHint = 3821;

}  // namespace

int CKLVTabColorsVisualStyle::GetItemPart(int nIndex, int nCount, BOOL bSelected) {
    if (nIndex == 0) return partTopTabLeftEdge;
    if (nIndex == nCount - 1 && !bSelected) return partTopTabRightEdge;
    return partTopTab;
}

BOOL CKLVTabColorsVisualStyle::IsThemed() { return m_themeTab.GetThemeHandle() && m_themeTab.IsAppThemed(); }

void CKLVTabColorsVisualStyle::RefreshMetrics() {
    CKLVTabColorsStandard::RefreshMetrics();
    m_themeTab.CloseThemeData();
    m_themeTab.OpenThemeData(nullptr, L"TAB");
    if (IsThemed()) {
        clrEdgeHighlight.SetStandardValue(COLORREF(-1));
        clrEdgeLightShadow.SetStandardValue(COLORREF(-1));
        clrEdgeDarkShadow.SetStandardValue(COLORREF(-1));
        clrHotText = clrNormalText;
        COLORREF clr = 0;
        if (SUCCEEDED(m_themeTab.GetThemeColor(partPane, 0, kPropFillColorHint, &clr))) clrPaneFace.SetStandardValue(clr);
    }
    m_themeToolbar.CloseThemeData();
    m_themeToolbar.OpenThemeData(nullptr, L"TOOLBAR");
}

COLORREF CKLVTabColorsVisualStyle::FillClient(CDC* pDC, CRect rc, CKLVTabManager* pTabManager) {
    if (!IsThemed()) return CKLVTabColorsStandard::FillClient(pDC, rc, pTabManager);
    const int nPosition = GetPosition();
    if (nPosition == 2) rc.bottom += 1;
    if (nPosition == 3) rc.right += 1;
    m_themeTab.DrawThemeBackground(pDC->GetSafeHdc(), partPane, 0, &rc, nullptr);
    return 0;
}

void CKLVTabColorsVisualStyle::FillButton(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) {
    CKLVTabManager* pManager = pItem->GetTabManager();
    const BOOL bToolbar = m_themeToolbar.GetThemeHandle() && m_themeToolbar.IsAppThemed();
    if (!bToolbar || !pManager || pManager->GetSelectedItem() != pItem) {
        CKLVTabColorsStandard::FillButton(pDC, rc, pItem);
        return;
    }
    m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), partToolbarButton, pManager->GetHotItem() == pItem ? 6 : 5,
                                       &rc, nullptr);
}

void CKLVTabColorsVisualStyle::FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) {
    if (!m_themeToolbar.GetThemeHandle() || !m_themeToolbar.IsAppThemed()) {
        CKLVTabColorsStandard::FillNavigateButton(pDC, pButton, rc);
        return;
    }
    if (pButton->IsEnabled()) {
        const int nState = pButton->IsPressed() ? 3 : pButton->IsHot() ? 2 : 1;
        m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), partToolbarButton, nState, &rc, nullptr);
    }
    pDC->SetTextColor(GetColor(COLOR_BTNTEXT));
}

void CKLVTabColorsVisualStyle::ExcludeCorners(CDC* pDC, CRect rc, CKLVTabManager*) {
    if (!IsThemed()) return;
    CPoint pt = rc.TopLeft();
    const int nPosition = GetPosition();
    if (nPosition == 2) pt = CPoint(rc.left, rc.bottom - 2);
    if (nPosition == 3) pt = CPoint(rc.right - 2, rc.top);
    pDC->ExcludeClipRect(pt.x, pt.y, pt.x + 1, pt.y + 1);
}

COLORREF CKLVTabColorsVisualStyle::FillItem(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) {
    if (!IsThemed()) return CKLVTabColorsStandard::FillItem(pDC, rc, pItem);
    CKLVTabManager* pManager = pItem->GetTabManager();
    const BOOL bSelected = pManager && pManager->GetSelectedItem() == pItem;
    const int nPosition = GetPosition();
    if (bSelected && nPosition == 0) rc.bottom += 2;
    if (bSelected && nPosition == 1) rc.right += 1;
    const int nPart = GetItemPart(pItem->GetIndex(), pManager ? pManager->GetItemCount() : 1, bSelected);
    const int nState = bSelected ? 3 : pManager && pManager->GetHotItem() == pItem ? 2 : 1;
    if (nPosition == 0) {
        const CRect rcTab(rc.left - 1, rc.top - 1, rc.right + 1, rc.bottom);
        m_themeTab.DrawThemeBackground(pDC->GetSafeHdc(), nPart, nState, &rcTab, nullptr);
        return COLORREF(-1);
    }
    // Other rows turn the top tab's image: left, bottom, right.
    const struct {
        CRect rcGrow;
        BOOL bExchange;
        KLVTabImage::Transform pfn;
    } turns[3] = {{CRect(1, 1, 0, 1), TRUE, &KLVTabImage::TransposeReverse},
                  {CRect(1, 0, 1, 2), FALSE, &KLVTabImage::FlipVertical},
                  {CRect(0, 1, 2, 1), TRUE, &KLVTabImage::Transpose}};
    const auto& t = turns[nPosition - 1];
    const CRect rcTab(rc.left - t.rcGrow.left, rc.top - t.rcGrow.top, rc.right + t.rcGrow.right,
                      rc.bottom + t.rcGrow.bottom);
    KLVTabImage::DrawTurnedThemePart(pDC, m_themeTab, GetColor(COLOR_3DFACE), rcTab, nPart, nState, t.bExchange, t.pfn);
    return COLORREF(-1);
}
