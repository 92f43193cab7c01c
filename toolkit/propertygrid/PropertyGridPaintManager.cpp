#include "toolkit/propertygrid/PropertyGridPaintManager.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridView.h"

CKLVPropertyGridPaintManager::CKLVPropertyGridPaintManager(CKLVPropertyGrid* pGrid)
    : m_pGrid(pGrid), m_pMetrics(new CKLVPropertyGridItemMetrics) {}

CKLVPropertyGridPaintManager::~CKLVPropertyGridPaintManager() {
    if (m_pMetrics) m_pMetrics->InternalRelease();
}

CKLVPropertyGridPaintManager* CKLVPropertyGridPaintManager::CreateTheme(CKLVPropertyGrid* pGrid, int) {
    return new CKLVPropertyGridPaintManager(pGrid);
}

void CKLVPropertyGridPaintManager::SetMetrics(CKLVPropertyGridItemMetrics* pMetrics) {
    if (pMetrics == m_pMetrics) return;
    pMetrics->InternalAddRef();
    m_pMetrics->InternalRelease();
    m_pMetrics = pMetrics;
}

void CKLVPropertyGridPaintManager::RefreshMetrics() {
    CKLVColorManager* pColors = GetColorManager();
    m_pMetrics->m_clrBack.SetStandardValue(pColors->GetColor(COLOR_WINDOW));
    m_pMetrics->m_clrFore.SetStandardValue(pColors->GetColor(COLOR_WINDOWTEXT));
    m_clrLine = pColors->GetColor(COLOR_3DFACE);
    m_clrHelpBack = pColors->GetColor(COLOR_3DFACE);
    m_clrHelpFore = pColors->GetColor(COLOR_BTNTEXT);
}

COLORREF CKLVPropertyGridPaintManager::GetBackColor() const { return m_pMetrics->m_clrBack; }

void CKLVPropertyGridPaintManager::FillPropertyGrid(CDC* pDC) {
    CRect rc;
    m_pGrid->GetClientRect(&rc);
    pDC->FillSolidRect(&rc, m_clrHelpBack);
    if (!m_pGrid->IsHelpVisible()) return;
    CRect rcHelp(rc.left, rc.bottom - m_pGrid->GetHelpHeight(), rc.right, rc.bottom);
    pDC->Draw3dRect(&rcHelp, GetColorManager()->GetColor(COLOR_3DSHADOW), GetColorManager()->GetColor(COLOR_3DSHADOW));
    CKLVPropertyGridItem* pItem = m_pGrid->HasGridView() ? m_pGrid->GetSelectedItem() : nullptr;
    if (!pItem) return;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_clrHelpFore);
    CRect rcCaption(rcHelp.left + 6, rcHelp.top + 3, rcHelp.right - 6, rcHelp.bottom);
    CKLVFontDC font(pDC, &m_pMetrics->m_fntBold);
    pDC->DrawText(pItem->GetCaption(), &rcCaption, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    CRect rcDescription(rcCaption.left, rcCaption.top + 16, rcCaption.right, rcHelp.bottom - 3);
    font.SetFont(&m_pMetrics->m_fntNormal);
    pDC->DrawText(pItem->GetDescription(), &rcDescription, DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CKLVPropertyGridPaintManager::FillView(CDC* pDC, CRect rc) { pDC->FillSolidRect(&rc, GetBackColor()); }

void CKLVPropertyGridPaintManager::DrawBorder(CDC* pDC, CRect& rc, BOOL bAdjust) {
    const int nBorder = m_pGrid->m_nBorderStyle == 0 ? 0 : (m_pGrid->m_nBorderStyle == 1 ? 1 : 2);
    if (bAdjust) {
        rc.DeflateRect(nBorder, nBorder);
        return;
    }
    const COLORREF clrShadow = GetColorManager()->GetColor(COLOR_3DSHADOW);
    for (int i = 0; i < nBorder; ++i) {
        pDC->Draw3dRect(&rc, clrShadow, i == 0 ? GetColorManager()->GetColor(COLOR_3DHIGHLIGHT) : clrShadow);
        rc.DeflateRect(1, 1);
    }
}

void CKLVPropertyGridPaintManager::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {
    auto* pItem = reinterpret_cast<CKLVPropertyGridItem*>(lpDrawItemStruct->itemData);
    if (!pItem || !pItem->GetGridView()) return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CRect rc = lpDrawItemStruct->rcItem;
    const int nDivider = pItem->GetGridView()->GetDividerPos();
    const BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    CKLVColorManager* pColors = GetColorManager();
    pDC->SetBkMode(TRANSPARENT);
    if (pItem->IsCategory()) {
        pDC->FillSolidRect(&rc, m_clrLine);
        CRect rcText(rc.left + CKLVPropertyGridItem::nIndentWidth, rc.top, rc.right, rc.bottom);
        if (bSelected) pDC->FillSolidRect(&rcText, pColors->GetColor(COLOR_HIGHLIGHT));
        pDC->SetTextColor(pColors->GetColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
        CKLVFontDC font(pDC, &m_pMetrics->m_fntBold);
        pDC->DrawText(pItem->GetCaption(), &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        return;
    }
    pDC->FillSolidRect(&rc, GetBackColor());
    const int nIndent = pItem->GetIndent() * CKLVPropertyGridItem::nIndentWidth;
    pDC->FillSolidRect(rc.left, rc.top, nIndent, rc.Height(), m_clrLine);
    CRect rcCaption(rc.left + nIndent, rc.top, nDivider, rc.bottom - 1);
    if (bSelected) pDC->FillSolidRect(&rcCaption, pColors->GetColor(COLOR_HIGHLIGHT));
    pDC->SetTextColor(pColors->GetColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    CKLVFontDC font(pDC, &m_pMetrics->m_fntNormal);
    CRect rcText = rcCaption;
    rcText.left += 2;
    AdjustItemCaptionRect(pItem, rcText);
    pDC->DrawText(pItem->GetCaption(), &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    CRect rcValue(nDivider + 1, rc.top, rc.right, rc.bottom - 1);
    if (!pItem->OnDrawItemValue(*pDC, rcValue)) {
        pDC->SetTextColor(pColors->GetColor(pItem->GetReadOnly() ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        if (m_pGrid->m_bHighlightChangedItems && pItem->IsValueChanged()) font.SetFont(&m_pMetrics->m_fntBold);
        CRect rcValueText(rcValue.left + 3, rcValue.top, rcValue.right, rcValue.bottom);
        pDC->DrawText(pItem->GetViewValue(), &rcValueText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    pDC->FillSolidRect(rc.left + nIndent, rc.bottom - 1, rc.Width() - nIndent, 1, m_clrLine);
    pDC->FillSolidRect(nDivider, rc.top, 1, rc.Height(), m_clrLine);
}

void CKLVPropertyGridPaintManager::DrawInplaceListItem(CDC* pDC, CKLVPropertyGridItemConstraint* pConstraint, CRect rc,
                                                       BOOL bSelected) {
    CKLVColorManager* pColors = GetColorManager();
    pDC->FillSolidRect(&rc, pColors->GetColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    pDC->SetTextColor(pColors->GetColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    pDC->SetBkMode(TRANSPARENT);
    rc.left += 3;
    pDC->DrawText(pConstraint->m_strConstraint, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void CKLVPropertyGridPaintManager::MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) {
    auto* pItem = reinterpret_cast<CKLVPropertyGridItem*>(lpMeasureItemStruct->itemData);
    if (pItem && pItem->GetGridView() && pItem->GetGridView()->IsVariableHeight()) pItem->OnMeasureItem(lpMeasureItemStruct);
}
