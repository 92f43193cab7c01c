#include "toolkit/tabs/TabColorsStandard.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/tabs/TabManagerNavigateButton.h"
#include "toolkit/tabs/TabPainter.h"

namespace {

const COLORREF kUnset = COLORREF(-1);

int AppearanceOf(const CKLVTabPainter* pPainter) { return pPainter ? pPainter->GetAppearance() : 0; }

}  // namespace

void CKLVTabColorsStandard::RefreshMetrics() {
    CKLVTabColors::RefreshMetrics();
    clrButtonSelected.SetStandardSolid(clrDither);
    clrButtonBorder.SetStandardValue(COLOR_3DSHADOW, COLOR_3DHIGHLIGHT);
    const COLORREF kGroup[6] = {COLOR_BTNTEXT, COLOR_BTNTEXT, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_3DSHADOW, COLOR_3DSHADOW};
    for (int i = 0; i < 6; ++i) {
        clrGroupA[i].SetStandardValue(kGroup[i]);
        clrGroupB[i] = clrGroupA[i];
        if (i >= 3) clrGroupB[i].SetStandardValue(kUnset);
    }
    if (AppearanceOf(m_pPaintManager) == 7) {
        clrSelectedFace.SetStandardValue(COLOR_3DFACE);
        clrNormalFace.SetStandardValue(COLOR_WINDOW);
        clrFrameBorder.SetStandardValue(COLOR_BTNTEXT);
    }
}

BOOL CKLVTabColorsSet2::IsStandardAppearance() const {
    const int nAppearance = AppearanceOf(m_pPaintManager);
    return nAppearance == 7 || nAppearance == 4;
}

void CKLVTabColorsSet2::RefreshMetrics() {
    CKLVTabColors::RefreshMetrics();
    if (!IsStandardAppearance()) clrHeaderFace.SetStandardSolid(48);
    if (AppearanceOf(m_pPaintManager) == 5) {
        clrNormalText.SetStandardValue(49);
        clrInactiveText.SetStandardValue(49);
    }
    if (CKLVColorManager::IsLowResolution(nullptr))
        clrAutoHideFace.SetStandardSolid(COLOR_3DFACE);
    else
        clrAutoHideFace.SetStandardSolid(clrHeaderFace.m_clrTo);
}

void CKLVTabColorsSet2::FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) {
    if (IsStandardAppearance()) {
        CKLVTabColors::FillNavigateButton(pDC, pButton, rc);
        return;
    }
    if (pButton->IsEnabled()) {
        const COLORREF clrDark = GetColor(COLOR_BTNTEXT), clrLight = GetColor(COLOR_3DFACE);
        if (pButton->IsPressed()) {
            pDC->Draw3dRect(&rc, clrDark, clrLight);
            rc.OffsetRect(1, 1);   // the glyph moves with the pressed face
        } else if (pButton->IsHot()) {
            pDC->Draw3dRect(&rc, clrLight, clrDark);
        }
    }
    pDC->SetTextColor(GetColor(49));
}
