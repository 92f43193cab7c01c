#include "toolkit/tabs/TabColorsResource.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ResourceImages.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabManagerNavigateButton.h"
#include "toolkit/tabs/TabPainter.h"

namespace {

const COLORREF kUnset = COLORREF(-1);

struct SchemeColumn {
    COLORREF clrFrameBorder, clrDarkShadow, clrLightShadow, clrButtonBorder;
    COLORREF clrHeaderFrom, clrHeaderTo, clrAutoHideFrom, clrAutoHideTo;
    COLORREF clrNormalFace, clrHotFace;
};

const SchemeColumn kSchemes[3] = {
    {0x9C613B, 0x9A3500, 0xF1A675, 0x800000, 0xFADAC4, 0xFEFDFC, 0xF5BE9E, 0xFADAC4, 0xF6C0A2, 0xC9F0FF},
    {0x588060, 0x6B7760, 0x8CC2B0, 0x385D3F, 0xE4F1F2, 0xFEFEFC, 0xA7D9D9, 0xE4F1F2, 0xAADED0, 0xC7F0FF},
    {0x947C7C, 0x927476, 0xCEB9BA, 0x6F4B4B, 0xF7F3F3, 0xFEFEFC, 0xE5D7D7, 0xF7F3F3, 0xE6D9D9, 0xC2EEFF},
};

BOOL AreSchemeColorsDisabled(const CKLVTabPainter* pPainter) {
    return pPainter ? pPainter->IsLunaColorsDisabled() : GetColorManager()->IsLunaColorsDisabled();
}

int AppearanceOf(const CKLVTabPainter* pPainter) { return pPainter ? pPainter->GetAppearance() : 0; }

}  // namespace

void CKLVTabColorsResource::ApplySchemeColors(int nScheme) {
    const SchemeColumn& s = kSchemes[nScheme - 1];
    clrFrameBorder.SetStandardValue(s.clrFrameBorder);
    clrFlatBorder.SetStandardValue(s.clrFrameBorder);
    clrEdgeDarkShadow.SetStandardValue(s.clrDarkShadow);
    clrFlatDarkShadow.SetStandardValue(s.clrDarkShadow);
    clrEdgeLightShadow.SetStandardValue(s.clrLightShadow);
    clrFlatLightShadow.SetStandardValue(s.clrLightShadow);
    clrFlatHighlight.SetStandardValue(0xFFFFFF);
    clrButtonSelected.SetStandardSolid(0x6FC0FF);
    clrButtonBorder.SetStandardSolid(s.clrButtonBorder);
    clrResourceBorder.SetStandardValue(s.clrButtonBorder);
    clrHeaderFace.SetStandardValue(s.clrHeaderFrom, s.clrHeaderTo);
    clrAutoHideFace.SetStandardValue(s.clrAutoHideFrom, s.clrAutoHideTo);
    clrNormalFace.SetStandardValue(s.clrNormalFace);
    clrSelectedFace.SetStandardValue(0x73C2FF);
    clrHotFace.SetStandardValue(s.clrHotFace);
}

void CKLVTabColorsResource::RefreshMetrics() {
    CKLVTabColors::RefreshMetrics();
    clrHeaderFace.SetStandardValue(COLOR_3DFACE, BlendColors(GetColor(COLOR_3DFACE), GetColor(COLOR_WINDOW), 205));
    clrButtonSelected.SetStandardSolid(36);
    clrButtonBorder.SetStandardSolid(37);
    clrHotFace.SetStandardValue(36);
    clrPressedFace.SetStandardValue(33);
    clrHotText.SetStandardValue(COLOR_BTNTEXT);
    clrAutoHideFace = clrHeaderFace;
    m_bLunaColors = FALSE;
    const int nScheme = GetColorManager()->GetCurrentTheme();
    if (!AreSchemeColorsDisabled(m_pPaintManager) && nScheme >= 1 && nScheme <= 3) {
        ApplySchemeColors(nScheme);
        m_bLunaColors = TRUE;
    } else {
        clrSelectedFace.SetStandardValue(36);
    }
    if (m_bLunaColors) clrPressedFace.SetStandardValue(0x4B8EFE);
    for (int i = 0; i < 6; ++i) {
        clrGroupA[i].SetStandardValue(i < 3 ? COLORREF(clrFrameBorder) : kUnset);
        clrGroupB[i] = clrGroupA[i];
    }
    if (AppearanceOf(m_pPaintManager) == 4) {
        clrHeaderFace.SetStandardSolid(COLOR_3DFACE);
        clrAutoHideFace.SetStandardSolid(COLOR_3DFACE);
    }
}

COLORREF CKLVTabColorsResource::GetStateColor(CKLVTabManagerItem* pItem, BOOL bPressedColor) {
    CKLVTabManager* pManager = pItem->GetTabManager();
    if (bPressedColor && pManager && pManager->GetPressedItem() == pItem) return GetColor(clrPressedFace);
    if (pManager && pManager->GetHotItem() == pItem) return GetColor(clrHotFace);
    return GetItemColor(pItem);
}

void CKLVTabColorsResource::FillStateGradient(CDC* pDC, CRect rc, COLORREF clr) {
    GradientFillByPosition(pDC, rc, BlendColors(clr, 0xFFFFFF, 300), clr, GetPosition());
}

COLORREF CKLVTabColorsResource::FillItem(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) {
    const COLORREF clr = GetStateColor(pItem, TRUE);
    FillStateGradient(pDC, rc, clr);
    return clr;
}

void CKLVTabColorsResource::FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) {
    COLORREF clrGlyph = GetColor(COLOR_BTNTEXT);
    const BOOL bHot = pButton->IsHot(), bPressed = pButton->IsPressed();
    if (pButton->IsEnabled() && (bHot || bPressed)) {
        const BOOL bBoth = bHot && bPressed;
        if (m_bLunaColors) {
            GetDrawHelpers()->GradientFill(pDC, &rc, bBoth ? 0x4B8EFE : 0xC8F2FF, bBoth ? 0x8BCFFF : 0x97D4FF, FALSE);
            pDC->Draw3dRect(&rc, GetColor(clrResourceBorder), GetColor(clrResourceBorder));
        } else {
            pDC->FillSolidRect(&rc, GetColor(bBoth ? 33 : 31));
            pDC->Draw3dRect(&rc, GetColor(bBoth ? 50 : 32), GetColor(bBoth ? 50 : 32));
            clrGlyph = GetColor(bBoth ? 47 : 45);
        }
    }
    pDC->SetTextColor(clrGlyph);
}

void CKLVTabColorsSet16::RefreshMetrics() {
    CKLVTabColors::RefreshMetrics();
    clrSelectedFace.SetStandardValue(COLOR_WINDOW);
    clrSelectedText.SetStandardValue(COLOR_WINDOWTEXT);
    m_bLunaColors = FALSE;
    m_bGradientItems = FALSE;
    clrHotFace.SetStandardValue(36);
    clrPressedFace.SetStandardValue(33);
    clrHotText.SetStandardValue(COLOR_BTNTEXT);
    if (!AreSchemeColorsDisabled(m_pPaintManager)) {
        CKLVTabColorsResource::RefreshMetrics();
        return;
    }
    const int nScheme = GetColorManager()->GetCurrentTheme();
    if (nScheme == 1 || nScheme == 2) {
        clrHeaderFace.SetStandardSolid(0xD5E2E4);
    } else if (nScheme == 3) {
        clrNormalFace.SetStandardValue(0xF8F5F5);
        clrHeaderFace.SetStandardSolid(0xEEEEEE);
    }
    m_bGradientItems = nScheme >= 1 && nScheme <= 3;
    clrFlatBorder.SetStandardValue(57);
    clrFrameBorder.SetStandardValue(57);
}

COLORREF CKLVTabColorsSet16::FillItem(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) {
    const COLORREF clr = GetStateColor(pItem, FALSE);
    if (m_bGradientItems)
        FillStateGradient(pDC, rc, clr);
    else
        pDC->FillSolidRect(&rc, clr);
    return clr;
}

void CKLVTabColorsResourceImages::LookupInto(CKLVColorValue& clr, LPCTSTR lpszSection, LPCTSTR lpszKey) {
    const COLORREF clrFound = KLVResourceImages()->LookupColor(lpszSection, lpszKey);
    if (clrFound != kUnset) clr.SetStandardValue(clrFound);
}

void CKLVTabColorsResourceImages::RefreshMetrics() {
    CKLVTabColorsResource::RefreshMetrics();
    m_bLunaColors = TRUE;
    if (!KLVResourceImages()->IsValid()) {
        clrPressedFace.SetStandardValue(33);
        clrHotText.SetStandardValue(COLOR_BTNTEXT);
        ApplySchemeColors(1);
        return;
    }
    LookupInto(clrFrameBorder, "TabManager", "FrameBorder");
    clrFlatBorder.SetStandardValue(clrFrameBorder);
    LookupInto(clrEdgeDarkShadow, "TabManager", "DarkShadow");
    clrFlatDarkShadow.SetStandardValue(clrEdgeDarkShadow);
    LookupInto(clrEdgeLightShadow, "TabManager", "LightShadow");
    clrFlatLightShadow.SetStandardValue(clrEdgeLightShadow);
    clrFlatHighlight.SetStandardValue(0xFFFFFF);
    const COLORREF clrFace = KLVResourceImages()->LookupColor("Ribbon", "RibbonFace");
    if (clrFace != kUnset) clrHeaderFace.SetStandardSolid(clrFace);
    clrAutoHideFace = clrHeaderFace;
    LookupInto(clrNormalFace, "Window", "ButtonFace");
    LookupInto(clrSelectedFace, "Window", "HighlightChecked");
    LookupInto(clrHotFace, "Window", "HighlightSelected");
    LookupInto(clrResourceBorder, "Window", "WindowFrame");
    LookupInto(clrHotText, "Ribbon", "TabNormalText");
    LookupInto(clrNormalText, "Ribbon", "TabNormalText");
    LookupInto(clrSelectedText, "Ribbon", "TabSelectedText");
}

void CKLVTabColorsResourceImages::FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) {
    if (!KLVResourceImages()->IsValid()) {
        CKLVTabColors::FillNavigateButton(pDC, pButton, rc);
        return;
    }
    pDC->SetTextColor(GetColor(clrNormalText));
    if (!pButton->IsEnabled() || !(pButton->IsPressed() || pButton->IsHot())) return;
    CKLVResourceImage* pImage = KLVResourceImages()->GetImage("TOOLBARBUTTONS22");
    if (!pImage) return;
    pImage->DrawImage(pDC, rc, pImage->GetPartRect(pButton->IsPressed() ? 1 : 0, 4), CRect(8, 8, 8, 8), kUnset);
    pDC->SetTextColor(RGB(0, 0, 0));
}
