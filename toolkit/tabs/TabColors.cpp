#include "toolkit/tabs/TabColors.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"

#include <utility>

namespace {

const COLORREF kUnset = COLORREF(-1);

void FillDither(CDC* pDC, const CRect& rc) {
    static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    CBitmap bmp;
    if (!bmp.CreateBitmap(8, 8, 1, 1, kPattern)) return;
    CBrush brush;
    if (!brush.CreatePatternBrush(&bmp)) return;
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const COLORREF clrOldBk = pDC->SetBkColor(GetColorManager()->GetColor(COLOR_3DFACE));
    const COLORREF clrOldText = pDC->SetTextColor(GetColorManager()->GetColor(COLOR_3DHIGHLIGHT));
    pDC->PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), PATCOPY);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkColor(clrOldBk);
    pDC->SelectObject(pOldBrush);
}

}  // namespace

COLORREF CKLVTabColors::GetColor(const CKLVColorValue& clr) { return GetColorManager()->GetColor(COLORREF(clr)); }

int CKLVTabColors::GetPosition() const { return m_pPaintManager ? m_pPaintManager->GetPosition() : 0; }

void CKLVTabColors::RefreshMetrics() {
    GetColorManager()->RefreshColors();
    clrHeaderFace.SetStandardSolid(COLOR_3DFACE);
    clrFrameBorder.SetStandardValue(COLOR_3DSHADOW);
    clrButtonFace.SetStandardValue(COLOR_3DFACE);
    clrPaneFace.SetStandardValue(COLOR_3DFACE);
    clrButtonHighlight.SetStandardValue(COLOR_3DHIGHLIGHT);
    clrSelectedFace.SetStandardValue(COLOR_3DFACE);
    clrHotFace.SetStandardValue(COLOR_3DFACE);
    clrPressedFace.SetStandardValue(COLOR_3DFACE);
    clrNormalFace.SetStandardValue(COLOR_3DFACE);
    clrNormalText.SetStandardValue(COLOR_BTNTEXT);
    clrInactiveText.SetStandardValue(COLOR_BTNTEXT);
    clrSelectedText.SetStandardValue(COLOR_BTNTEXT);
    clrHotText.SetStandardValue(RGB(0, 0, 128));
    clrDisabledText.SetStandardValue(COLOR_GRAYTEXT);
    clrButtonSelected.SetStandardSolid(COLOR_WINDOW);
    clrButtonBorder.SetStandardSolid(COLOR_HIGHLIGHT);
    clrEdgeHighlight.SetStandardValue(COLOR_3DHIGHLIGHT);
    clrEdgeLightShadow.SetStandardValue(COLOR_3DSHADOW);
    clrEdgeDarkShadow.SetStandardValue(COLOR_3DDKSHADOW);
    clrFlatDarkShadow.SetStandardValue(COLOR_3DSHADOW);
    clrFlatBorder.SetStandardValue(COLOR_3DSHADOW);
    clrFlatLightShadow.SetStandardValue(COLOR_3DFACE);
    clrFlatHighlight.SetStandardValue(COLOR_3DFACE);
    const COLORREF kGroup[6] = {COLOR_BTNTEXT, COLOR_3DSHADOW, COLOR_BTNTEXT, kUnset, kUnset, kUnset};
    for (int i = 0; i < 6; ++i) {
        clrGroupA[i].SetStandardValue(kGroup[i]);
        clrGroupB[i] = clrGroupA[i];
    }
    clrGroupB[3].SetStandardValue(COLOR_WINDOW);
    clrGroupB[4].SetStandardValue(COLOR_3DSHADOW);
    if (m_pPaintManager && m_pPaintManager->GetAppearance() == 7) clrSelectedFace.SetStandardValue(COLOR_WINDOW);
    clrAutoHideFace = clrHeaderFace;
}

void CKLVTabColors::GradientFillByPosition(CDC* pDC, CRect rc, COLORREF clrFrom, COLORREF clrTo, int nPosition) {
    if (clrFrom == clrDither) {
        FillDither(pDC, rc);
        return;
    }
    if (nPosition == 2 || nPosition == 3) std::swap(clrFrom, clrTo);
    if (m_pPaintManager && m_pPaintManager->m_bInvertGradient) std::swap(clrFrom, clrTo);
    GetDrawHelpers()->GradientFill(pDC, &rc, clrFrom, clrTo, nPosition == 1 || nPosition == 3);
}

void CKLVTabColors::SetItemTextColor(CDC* pDC, CKLVTabManagerItem* pItem) {
    CKLVTabManager* pManager = pItem->GetTabManager();
    const CKLVColorValue* pColor = &clrNormalText;
    if (!pItem->IsEnabled()) pColor = &clrDisabledText;
    else if (pManager && !pManager->IsActive()) pColor = &clrInactiveText;
    else if (pItem->IsSelected()) pColor = &clrSelectedText;
    else if (pItem->IsHot()) pColor = &clrHotText;
    pDC->SetTextColor(GetColor(*pColor));
}

void CKLVTabColors::FillHeader(CDC* pDC, CRect rc, CKLVTabManager* pTabManager) {
    const COLORREF clrFrom = GetColor(clrHeaderFace.m_clrFrom), clrTo = GetColor(clrHeaderFace.m_clrTo);
    if (COLORREF(clrHeaderFace.m_clrFrom) == COLOR_3DFACE && COLORREF(clrHeaderFace.m_clrTo) == COLOR_3DFACE &&
        pTabManager && pTabManager->DrawParentBackground(pDC, rc))
        return;
    GradientFillByPosition(pDC, rc, clrFrom, clrTo, pTabManager ? pTabManager->GetPosition() : GetPosition());
}

COLORREF CKLVTabColors::FillClient(CDC* pDC, CRect rc, CKLVTabManager* pTabManager) {
    CKLVTabManagerItem* pSelected = pTabManager ? pTabManager->GetSelectedItem() : nullptr;
    const COLORREF clr = pSelected ? GetItemColor(pSelected) : GetColor(clrSelectedFace);
    pDC->FillSolidRect(&rc, clr);
    return clr;
}

void CKLVTabColors::FillButton(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) {
    const int nPosition = GetPosition();
    if (pItem->IsSelected()) {
        if (m_pPaintManager && m_pPaintManager->m_bShowItemColors)
            pDC->FillSolidRect(&rc, GetItemColor(pItem));
        else
            GradientFillByPosition(pDC, rc, GetColor(clrButtonSelected.m_clrFrom), GetColor(clrButtonSelected.m_clrTo),
                                   nPosition);
        pDC->Draw3dRect(&rc, GetColor(clrButtonBorder.m_clrFrom), GetColor(clrButtonBorder.m_clrTo));
        return;
    }
    const COLORREF clrShadow = GetColorManager()->GetColor(COLOR_3DSHADOW);
    const COLORREF clrLight = GetColorManager()->GetColor(COLOR_3DHIGHLIGHT);
    if (nPosition == 1 || nPosition == 3) pDC->Draw3dRect(rc.left + 2, rc.bottom, rc.Width() - 4, 2, clrShadow, clrLight);
    else pDC->Draw3dRect(rc.right, rc.top + 2, 2, rc.Height() - 4, clrShadow, clrLight);
}

COLORREF CKLVTabColors::FillItem(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) {
    const COLORREF clr = GetItemColor(pItem);
    pDC->FillSolidRect(&rc, clr);
    return clr;
}

void CKLVTabColors::ExcludeCorners(CDC*, CRect, CKLVTabManager*) {}

void CKLVTabColors::FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) {
    CKLVColorManager* pColors = GetColorManager();
    if (pButton->m_bEnabled) {
        if (pButton->m_bPressed) {
            pDC->Draw3dRect(&rc, pColors->GetColor(COLOR_3DSHADOW), pColors->GetColor(COLOR_3DHIGHLIGHT));
            rc.OffsetRect(1, 1);   // the glyph moves with the pressed face
        } else if (pButton->IsHot()) {
            pDC->Draw3dRect(&rc, pColors->GetColor(COLOR_3DHIGHLIGHT), pColors->GetColor(COLOR_3DSHADOW));
        }
    }
    pDC->SetTextColor(pColors->GetColor(COLOR_BTNTEXT));
}

COLORREF CKLVTabColors::GetItemColor(CKLVTabManagerItem* pItem) {
    if (m_pPaintManager && m_pPaintManager->m_bShowItemColors) return pItem->GetColor();
    return GetColor(pItem->IsSelected() ? clrSelectedFace : clrNormalFace);
}
