#include "toolkit/propertygrid/PropertyGridThemes.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridView.h"

namespace {

COLORREF Color(UINT nIndex) { return GetColorManager()->GetColor(nIndex); }

}  // namespace

CKLVPropertyGridSchemeBorderTheme::CKLVPropertyGridSchemeBorderTheme(CKLVPropertyGrid* pGrid)
    : CKLVPropertyGridPaintManager(pGrid) {
    m_nVisualStyle = styleThemed;
}

void CKLVPropertyGridSchemeBorderTheme::RefreshMetrics() {
    CKLVPropertyGridPaintManager::RefreshMetrics();
    switch (GetColorManager()->GetCurrentTheme()) {
    case CKLVColorManager::themeBlue:
    case CKLVColorManager::themeSilver: m_clrShadow = RGB(127, 157, 185); break;
    case CKLVColorManager::themeOlive: m_clrShadow = RGB(164, 185, 127); break;
    default: break;
    }
}

CKLVPropertyGridSchemeFaceTheme::CKLVPropertyGridSchemeFaceTheme(CKLVPropertyGrid* pGrid)
    : CKLVPropertyGridPaintManager(pGrid) {
    m_nVisualStyle = styleThemed;
}

void CKLVPropertyGridSchemeFaceTheme::RefreshMetrics() {
    m_bSchemeApplied = 0;
    CKLVPropertyGridPaintManager::RefreshMetrics();
    CKLVColorManager* pColors = GetColorManager();
    if (pColors->IsLunaColorsDisabled()) return;
    struct Scheme {
        COLORREF clrFace, clrBorder, clrLine;
    };
    static const Scheme kSchemes[] = {
        {RGB(221, 236, 254), RGB(123, 164, 224), RGB(169, 199, 240)},
        {RGB(243, 242, 231), RGB(188, 187, 177), RGB(197, 212, 159)},
        {RGB(238, 238, 244), RGB(161, 160, 187), RGB(192, 192, 211)},
    };
    const int nTheme = pColors->GetCurrentTheme();
    if (nTheme < CKLVColorManager::themeBlue || nTheme > CKLVColorManager::themeSilver) return;
    const Scheme& scheme = kSchemes[nTheme - CKLVColorManager::themeBlue];
    m_clrFace = scheme.clrFace;
    m_pMetrics->m_clrHelpBack.SetStandardValue(scheme.clrFace);
    m_clrShadow = scheme.clrBorder;
    m_pMetrics->m_clrLine.SetStandardValue(scheme.clrLine);
    m_pMetrics->m_clrCategoryFore.SetStandardValue(0);
    m_bSchemeApplied = 1;
}

void CKLVPropertyGridFramedRowTheme::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {
    auto* pItem = reinterpret_cast<CKLVPropertyGridItem*>(lpDrawItemStruct->itemData);
    CKLVPropertyGridView* pView = pItem ? pItem->GetGridView() : nullptr;
    if (!pView) return;
    Row row{pItem, pView, lpDrawItemStruct->rcItem, CRect(), 0, (lpDrawItemStruct->itemState & ODS_SELECTED) != 0,
            (lpDrawItemStruct->itemState & ODS_FOCUS) != 0, m_pMetrics->m_clrLine};
    row.nDivider = row.rcRow.left + pView->GetDividerPos();
    row.rcCaption.SetRect(row.rcRow.left, row.rcRow.top, row.nDivider, row.rcRow.bottom);
    const CRect rcValue(row.nDivider, row.rcRow.top, row.rcRow.right, row.rcRow.bottom - 1);

    CKLVBufferDC dc(lpDrawItemStruct->hDC, row.rcRow);
    CKLVFontDC font(&dc, GetItemFont(pItem, TRUE));
    dc.FillSolidRect(&row.rcRow, GetItemBackColor(pItem, FALSE));
    dc.SetBkMode(TRANSPARENT);
    if (!pItem->IsCategory()) DrawItemValue(&dc, pItem, rcValue);
    font.SetFont(GetItemFont(pItem, FALSE));
    dc.SetTextColor(GetItemTextColor(pItem, FALSE));
    DrawRow(&dc, row);
    if (!pItem->IsCategory() && (row.bSelected || m_pGrid->m_bShowInplaceButtonsAlways)) DrawInplaceButtons(&dc, pItem, rcValue);
    if (!pItem->HasVisibleChilds()) return;
    CKLVPropertyGridSavedDC saved(&dc);
    dc.IntersectClipRect(&row.rcCaption);
    DrawExpandButton(&dc, pItem, row.rcRow);
}

void CKLVPropertyGridGroupedTheme::RefreshMetrics() {
    CKLVPropertyGridPaintManager::RefreshMetrics();
    m_pMetrics->m_clrLine.SetStandardValue(Color(COLOR_3DFACE));
}

void CKLVPropertyGridGroupedTheme::DrawRow(CDC* pDC, const Row& row) {
    CKLVPropertyGridItem* pItem = row.pItem;
    const CRect& rc = row.rcRow;
    const COLORREF clrEdge = Color(COLOR_3DSHADOW);
    if (pItem->IsCategory()) {
        pDC->FillSolidRect(&rc, row.clrLine);
        const int nLeft = rc.left + (pItem->GetIndent() + 1) * nIndent;
        if (row.bFocusState) {
            pDC->FillSolidRect(nLeft, rc.top, rc.right - nLeft, rc.Height(), Color(COLOR_HIGHLIGHT));
            pDC->SetTextColor(Color(COLOR_HIGHLIGHTTEXT));
        }
        CRect rcText(nLeft + 3, rc.top, rc.right, rc.bottom - 1);
        pDC->DrawText(pItem->GetCaption(), &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        const int xLine = rc.left + (pItem->GetIndent() + (pItem->IsExpanded() ? 1 : 0)) * nIndent - 1;
        pDC->FillSolidRect(xLine, rc.bottom - 1, rc.right - xLine, 1, clrEdge);
    } else {
        if (row.bSelected) {
            COLORREF clrFill = row.clrLine;
            if (IsViewFocused(row.pView, pItem, TRUE)) {
                clrFill = Color(COLOR_HIGHLIGHT);
                pDC->SetTextColor(Color(COLOR_HIGHLIGHTTEXT));
            }
            pDC->FillSolidRect(&row.rcCaption, clrFill);
        }
        KLVPropertyGridLine(pDC, 0, rc.bottom - 1, rc.right, rc.bottom - 1, row.clrLine);
        KLVPropertyGridLine(pDC, row.nDivider, rc.top, row.nDivider, rc.bottom, row.clrLine);
        DrawItemCaption(pDC, pItem, row.rcCaption);
    }
    FillCategoryStrips(pDC, pItem, rc, row.clrLine, clrEdge);
    CloseBoxes(pDC, row);
}

// The bottom lines that close each group like a box.
void CKLVPropertyGridGroupedTheme::CloseBoxes(CDC* pDC, const Row& row) {
    const CRect& rc = row.rcRow;
    const COLORREF clrEdge = Color(COLOR_3DSHADOW);
    auto bottomLine = [&](int x) { pDC->FillSolidRect(rc.left + x, rc.bottom - 1, rc.right - rc.left - x, 1, clrEdge); };
    CKLVPropertyGridItem* pNext = row.pView->GetItem(row.pItem->GetIndex() + 1);
    if (!pNext) bottomLine(0);
    else if (pNext->IsCategory() && pNext->IsExpanded()) bottomLine(pNext->GetIndent() * nIndent);
    for (CKLVPropertyGridItem* pChild = row.pItem; CKLVPropertyGridItem* pParent = pChild->GetParentItem();
         pChild = pParent) {
        CKLVPropertyGridItems* pSiblings = pParent->GetChilds();
        if (!pParent->IsCategory() || !pParent->IsExpanded() || pSiblings->GetAt(pSiblings->GetCount() - 1) != pChild)
            break;
        bottomLine(pParent->GetIndent() * nIndent);
    }
}

void CKLVPropertyGridListTheme::DrawRow(CDC* pDC, const Row& row) {
    const CRect& rc = row.rcRow;
    if (row.bSelected) {
        COLORREF clrFill = row.clrLine;
        if (IsViewFocused(row.pView, row.pItem, TRUE)) {
            clrFill = Color(COLOR_HIGHLIGHT);
            pDC->SetTextColor(Color(COLOR_HIGHLIGHTTEXT));
        }
        pDC->FillSolidRect(rc.left + nIndent, rc.top, row.nDivider - rc.left - nIndent, rc.Height(), clrFill);
    }
    DrawItemCaption(pDC, row.pItem, row.rcCaption);
    pDC->FillSolidRect(rc.left + nIndent - 1, rc.top, 1, rc.Height(), row.clrLine);
    KLVPropertyGridLine(pDC, rc.left + nIndent, rc.bottom - 1, rc.right, rc.bottom - 1, row.clrLine);
    KLVPropertyGridLine(pDC, row.nDivider, rc.top, row.nDivider, rc.bottom - 1, row.clrLine);
    if (row.pItem->GetIndex() + 1 == row.pView->GetCount()) pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, row.clrLine);
}

void CKLVPropertyGridSheetTheme::RefreshMetrics() {
    CKLVPropertyGridPaintManager::RefreshMetrics();
    m_pMetrics->m_clrBack.SetStandardValue(Color(COLOR_3DFACE));
    m_pMetrics->m_clrFore.SetStandardValue(RGB(0, 0, 128));
}

void CKLVPropertyGridSheetTheme::DrawRow(CDC* pDC, const Row& row) {
    const CRect& rc = row.rcRow;
    DrawItemCaption(pDC, row.pItem, row.rcCaption);
    const COLORREF clrShadow = Color(COLOR_3DSHADOW), clrLight = Color(COLOR_3DHIGHLIGHT);
    pDC->Draw3dRect(row.nDivider - 1, rc.top, 1, rc.Height() - 1, clrShadow, clrShadow);
    pDC->Draw3dRect(row.nDivider, rc.top, 1, rc.Height() - 1, clrLight, clrLight);
    if (row.bSelected) {
        pDC->Draw3dRect(&rc, m_pMetrics->m_clrFore, clrLight);
        return;
    }
    for (int x = 0; x < rc.right; x += 2) pDC->SetPixel(x, rc.bottom - 1, clrShadow);
}

CKLVPropertyGridFlatGlyphTheme::CKLVPropertyGridFlatGlyphTheme(CKLVPropertyGrid* pGrid)
    : CKLVPropertyGridPaintManager(pGrid) {
    m_nVisualStyle = styleThemed;
}

void CKLVPropertyGridFlatGlyphTheme::RefreshMetrics() {
    CKLVPropertyGridPaintManager::RefreshMetrics();
    m_pMetrics->m_clrLine.SetStandardValue(Color(COLOR_3DFACE));
    m_pMetrics->m_clrCategoryFore.SetStandardValue(Color(COLOR_BTNTEXT));
    m_clrShadow = Color(57);
}

void CKLVPropertyGridFlatGlyphTheme::DrawExpandButton(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcRow) {
    const CRect rcGlyph = GetGlyphRect(pItem, rcRow);
    const int x = rcGlyph.left, y = rcGlyph.top;
    const COLORREF clrFrame = Color(COLOR_3DSHADOW), clrWhite = RGB(255, 255, 255);
    pDC->FillSolidRect(x + 1, y + 1, 7, 7, Color(COLOR_3DFACE));
    pDC->FillSolidRect(x + 1, y, 7, 1, clrFrame);
    pDC->FillSolidRect(x + 1, y + 8, 7, 1, clrFrame);
    pDC->FillSolidRect(x, y + 1, 1, 7, clrFrame);
    pDC->FillSolidRect(x + 8, y + 1, 1, 7, clrFrame);
    pDC->FillSolidRect(x + 1, y + 1, 7, 3, clrWhite);
    pDC->FillSolidRect(x + 1, y + 4, 5, 2, clrWhite);
    pDC->FillSolidRect(x + 2, y + 4, 5, 1, 0);
    if (!pItem->IsExpanded()) pDC->FillSolidRect(x + 4, y + 2, 1, 5, 0);
}

void CKLVPropertyGridFlatGlyphTheme::DrawCategoryCaptionBackground(CDC* pDC, CRect rc) {
    CKLVPropertyGridPaintManager::DrawCategoryCaptionBackground(pDC, rc);
    const CRect rcLine(rc.left, rc.bottom - 2, rc.right, rc.bottom - 1);
    GetDrawHelpers()->GradientFill(pDC, &rcLine, m_pMetrics->m_clrLine, Color(COLOR_3DHIGHLIGHT), TRUE);
}

CKLVPropertyGridToolkitColorTheme::CKLVPropertyGridToolkitColorTheme(CKLVPropertyGrid* pGrid)
    : CKLVPropertyGridPaintManager(pGrid) {
    m_nVisualStyle = styleToolkit;
}

void CKLVPropertyGridToolkitColorTheme::RefreshMetrics() {
    CKLVPropertyGridPaintManager::RefreshMetrics();
    m_pMetrics->m_clrCategoryFore.SetStandardValue(Color(COLOR_BTNTEXT));
    m_pMetrics->m_clrLine.SetStandardValue(Color(30));
}
