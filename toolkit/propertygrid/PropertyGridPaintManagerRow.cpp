// One row of the view: caption and value columns, category rows, the expand glyph and the
// in-place buttons.
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <algorithm>

namespace {

const UINT kCaptionMeasure = DT_CALCRECT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

CKLVPropertyGridItem* NextRowItem(CKLVPropertyGridItem* pItem) {
    return pItem->GetGridView()->GetItem(pItem->GetIndex() + 1);
}

}  // namespace

void CKLVPropertyGridPaintManager::FillCategoryStrips(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcRow,
                                                      COLORREF clr, COLORREF clrEdge) {
    for (CKLVPropertyGridItem* pParent = pItem->GetParentItem(); pParent; pParent = pParent->GetParentItem()) {
        if (!pParent->IsCategory()) continue;
        const int x = rcRow.left + pParent->GetIndent() * nIndent;
        pDC->FillSolidRect(x, rcRow.top, nIndent, rcRow.Height(), clr);
        if (clrEdge != COLORREF(-1)) pDC->FillSolidRect(x + nIndent - 1, rcRow.top, 1, rcRow.Height() + 2, clrEdge);
    }
}

void CKLVPropertyGridPaintManager::DrawExpandButtonClipped(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcRow,
                                                           CRect rcCaption) {
    if (!pItem->HasVisibleChilds()) return;
    CKLVPropertyGridSavedDC saved(pDC);
    if (!pItem->IsCategory()) pDC->IntersectClipRect(&rcCaption);
    DrawExpandButton(pDC, pItem, rcRow);
}

void CKLVPropertyGridPaintManager::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {
    auto* pItem = reinterpret_cast<CKLVPropertyGridItem*>(lpDrawItemStruct->itemData);
    CKLVPropertyGridView* pView = pItem ? pItem->GetGridView() : nullptr;
    if (!pView) return;
    const CRect rcRow = lpDrawItemStruct->rcItem;
    CKLVBufferDC dc(lpDrawItemStruct->hDC, rcRow);
    CKLVFontDC font(&dc, GetItemFont(pItem, TRUE));
    dc.FillSolidRect(&rcRow, GetItemBackColor(pItem, FALSE));
    dc.SetBkMode(TRANSPARENT);
    const COLORREF clrLine = m_pMetrics->m_clrLine;
    const int nDivider = rcRow.left + pView->GetDividerPos();
    const CRect rcCaption(rcRow.left, rcRow.top, nDivider, rcRow.bottom);
    const CRect rcValue(nDivider, rcRow.top, rcRow.right, rcRow.bottom - 1);
    const BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;

    if (pItem->IsCategory()) {
        DrawCategoryCaptionBackground(&dc, rcRow);
        font.SetFont(GetItemFont(pItem, FALSE));
        dc.SetTextColor(GetItemTextColor(pItem, FALSE));
        CRect rcText(0, 0, 0, 0);
        dc.DrawText(pItem->GetCaption(), &rcText, kCaptionMeasure);
        const int nLeft = rcRow.left + pItem->GetIndent() * nIndent + 13;
        CRect rcBox(nLeft, rcRow.top + 1, nLeft + rcText.Width() + 4, rcRow.bottom - 2);
        dc.DrawText(pItem->GetCaption(), &rcBox, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
        if (lpDrawItemStruct->itemState & ODS_FOCUS) {
            dc.SetTextColor(0);
            dc.DrawFocusRect(&rcBox);
        }
    } else {
        DrawItemValue(&dc, pItem, rcValue);
        COLORREF clrText = GetItemTextColor(pItem, FALSE);
        font.SetFont(GetItemFont(pItem, FALSE));
        if (bSelected) {
            COLORREF clrFill = clrLine;
            if (IsViewFocused(pView, pItem, FALSE)) {
                clrText = GetColorManager()->GetColor(COLOR_HIGHLIGHTTEXT);
                clrFill = GetColorManager()->GetColor(COLOR_HIGHLIGHT);
            }
            dc.FillSolidRect(&rcCaption, clrFill);
        }
        dc.SetTextColor(clrText);
        FillCategoryStrips(&dc, pItem, rcRow, clrLine, COLORREF(-1));
        KLVPropertyGridLine(&dc, 0, rcRow.bottom - 1, rcRow.right, rcRow.bottom - 1, clrLine);
        KLVPropertyGridLine(&dc, nDivider, rcRow.top, nDivider, rcRow.bottom, clrLine);
        DrawItemCaption(&dc, pItem, rcCaption);
        if (bSelected || m_pGrid->m_bShowInplaceButtonsAlways) DrawInplaceButtons(&dc, pItem, rcValue);
    }
    CKLVPropertyGridItem* pNext = NextRowItem(pItem);
    if (pNext && pNext->IsCategory() && pNext->IsExpanded()) {
        const int x = rcRow.left + pNext->GetIndent() * nIndent;
        dc.FillSolidRect(x, rcRow.bottom - 1, rcRow.Width(), 1, m_clrFace);
    }
    DrawExpandButtonClipped(&dc, pItem, rcRow, rcCaption);
}

void CKLVPropertyGridPaintManager::DrawItemValue(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcValue) {
    pDC->SetTextColor(GetItemTextColor(pItem, TRUE));
    pDC->FillSolidRect(&rcValue, GetItemBackColor(pItem, TRUE));
    rcValue.left += 4;
    if (pItem->OnDrawItemValue(*pDC, rcValue)) return;
    CKLVPropertyGridItemMetrics* pMetrics = pItem->GetMetrics(TRUE, FALSE);
    if (pMetrics) DrawImageAndShift(pDC, pMetrics->m_nImage, rcValue.left - 2, rcValue);
    rcValue.DeflateRect(0, 1);
    UINT nFormat = pMetrics ? pMetrics->m_uDrawTextFormat : UINT(DT_SINGLELINE | DT_VCENTER);
    if (pItem->m_nLinesCount > 1) nFormat = (nFormat & ~UINT(DT_SINGLELINE)) | DT_WORDBREAK;
    pDC->DrawText(pItem->GetViewValue(), &rcValue, nFormat | DT_NOPREFIX);
}

void CKLVPropertyGridPaintManager::DrawItemCaption(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcCaption) {
    rcCaption.left += (pItem->GetIndent() + (pItem->IsCategory() ? 1 : 0)) * nIndent + 3;
    rcCaption.right -= 1;
    rcCaption.bottom -= 1;
    CKLVPropertyGridItemMetrics* pMetrics = pItem->GetMetrics(FALSE, FALSE);
    if (pMetrics) DrawImageAndShift(pDC, pMetrics->m_nImage, rcCaption.left, rcCaption);
    const UINT nFormat = pMetrics ? pMetrics->m_uDrawTextFormat : UINT(DT_SINGLELINE | DT_VCENTER);
    pDC->DrawText(pItem->GetCaption(), &rcCaption, nFormat | DT_NOPREFIX);
}

CRect CKLVPropertyGridPaintManager::GetGlyphRect(CKLVPropertyGridItem* pItem, CRect rcRow) {
    const int nShift = pItem->IsCategory() ? pItem->GetIndent() : pItem->GetIndent() - 1;
    const int x = rcRow.left + 2 + (nShift > 0 ? nShift * nIndent : 0);
    const int y = rcRow.top + rcRow.Height() / 2 - 4;
    return CRect(x, y, x + 9, y + 9);
}

void CKLVPropertyGridPaintManager::DrawExpandButton(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcRow) {
    CRect rcGlyph = GetGlyphRect(pItem, rcRow);
    const int x = rcGlyph.left, y = rcGlyph.top;
    if (m_nVisualStyle == styleThemed && CKLVWinThemeWrapper::IsThemeActive() && m_themeTree.GetThemeHandle() &&
        SUCCEEDED(m_themeTree.DrawThemeBackground(pDC->GetSafeHdc(), 2, pItem->IsExpanded() ? 2 : 1, &rcGlyph, nullptr)))
        return;
    const COLORREF clrFore = m_pMetrics->m_clrFore;
    if (!pItem->IsCategory()) pDC->FillSolidRect(&rcGlyph, m_pMetrics->m_clrBack);
    pDC->Draw3dRect(&rcGlyph, clrFore, clrFore);
    KLVPropertyGridLine(pDC, x + 2, y + 4, x + 7, y + 4, clrFore);
    if (!pItem->IsExpanded()) KLVPropertyGridLine(pDC, x + 4, y + 2, x + 4, y + 7, clrFore);
}

void CKLVPropertyGridPaintManager::DrawCategoryCaptionBackground(CDC* pDC, CRect rc) {
    pDC->FillSolidRect(&rc, m_pMetrics->m_clrLine);
}

void CKLVPropertyGridPaintManager::DrawInplaceButtons(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcValue) {
    if (!pItem->IsInplaceButtonsVisible()) return;
    CKLVPropertyGridInplaceButtons* pButtons = pItem->GetInplaceButtons();
    int nRight = rcValue.right;
    for (int i = pButtons->GetCount() - 1; i >= 0; --i) {
        CKLVPropertyGridInplaceButton* pButton = pButtons->GetAt(i);
        const int nWidth = pButton->GetWidth();
        pButton->Draw(pDC, CRect(nRight - nWidth, rcValue.top, nRight, rcValue.bottom));
        nRight -= nWidth;
    }
}
