#include "toolkit/dockingpane/DockingPaneThemes.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/PaneThemeTabColors.h"
#include "toolkit/tabs/TabStyle.h"

namespace {

int CurrentScheme() { return GetColorManager()->GetCurrentTheme(); }

BOOL IsXPScheme(int nScheme) {
    return nScheme >= CKLVColorManager::themeBlue && nScheme <= CKLVColorManager::themeSilver;
}

}  // namespace

CKLVDockingPaneTheme1::CKLVDockingPaneTheme1() {
    m_nCaptionButtonStyle = buttonFlat;
    m_nCaptionTextMargin = 5;
    m_bBoldCaption = FALSE;
    m_tabPanel.SetAppearance(5);
    m_tabAutoHide.SetAppearance(6);
    m_tabAutoHide.SetColorSet(new CKLVPaneThemeTabColors);
}

void CKLVDockingPaneTheme1::DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    DrawSharedCaption(pDC, pPane, rc);
}

void CKLVDockingPaneTheme1::RefreshMetrics() {
    CKLVDockingPaneTheme::RefreshMetrics();
    m_clrActiveCaption.SetStandardValue(GetColor(COLOR_ACTIVECAPTION), GetColor(COLOR_GRADIENTACTIVECAPTION));
    m_clrInactiveCaption.SetStandardValue(GetColor(COLOR_INACTIVECAPTION), GetColor(COLOR_GRADIENTINACTIVECAPTION));
    m_clrInactiveCaptionText.SetStandardValue(GetColor(COLOR_BTNTEXT));
    m_clrActiveCaptionText.SetStandardValue(GetColor(COLOR_CAPTIONTEXT));
}

COLORREF CKLVDockingPaneTheme1::DrawCaptionBackground(CDC* pDC, CKLVDockingNode*, CRect rc, BOOL bActive, BOOL) {
    if (m_bGradientCaptions) {
        GetDrawHelpers()->GradientFillValue(pDC, &rc, bActive ? m_clrActiveCaption : m_clrInactiveCaption, TRUE);
    } else if (bActive) {
        pDC->FillSolidRect(&rc, m_clrActiveCaption.m_clrFrom);
    } else {
        // An outline without its corner pixels.
        const COLORREF clr = GetColor(52);
        pDC->FillSolidRect(rc.left + 1, rc.top, rc.Width() - 2, 1, clr);
        pDC->FillSolidRect(rc.left, rc.top + 1, 1, rc.Height() - 2, clr);
        pDC->FillSolidRect(rc.left + 1, rc.bottom - 1, rc.Width() - 2, 1, clr);
        pDC->FillSolidRect(rc.right - 1, rc.top + 1, 1, rc.Height() - 2, clr);
    }
    return GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_BTNTEXT);
}

void CKLVDockingPaneTheme1::DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption,
                                           const CString& strTitle, BOOL bActive, BOOL bVertical) {
    const COLORREF clrGlyph = DrawCaptionBackground(pDC, pOwner, rcCaption, bActive, bVertical);
    const COLORREF clrText = bActive ? COLORREF(m_clrActiveCaptionText) : COLORREF(m_clrInactiveCaptionText);
    if (bVertical) rcCaption.bottom -= 2;
    else rcCaption.right -= 2;
    DrawCaptionButtons(pDC, pOwner, rcCaption, clrGlyph, 14, 2, bVertical);
    DrawCaptionTitle(pDC, pOwner, rcCaption, strTitle, clrText, bVertical);
}

// ---------------------------------------------------------------------------------------------

CKLVDockingPaneTheme6::CKLVDockingPaneTheme6() {
    m_nCaptionButtonStyle = buttonFlat;
    m_nCaptionTextMargin = 5;
    m_bBoldCaption = FALSE;
    m_nSplitterStyle = splitterGradientHorz;
    m_rcCaptionMargin = CRect(0, 0, 0, 0);
    m_bGradientCaptions = TRUE;
    m_nColorScheme = 0;
    m_tabPanel.SetAppearance(2);
    m_tabPanel.SetColorSet(new CKLVPaneThemeTabColorsResource);
    m_tabAutoHide.SetAppearance(2);
    m_tabAutoHide.SetColorSet(new CKLVPaneThemeTabColorsResource);
    m_tabAutoHide.SetLayout(CKLVTabPainter::layoutNormal);
}

void CKLVDockingPaneTheme6::RefreshMetrics() {
    CKLVDockingPaneTheme1::RefreshMetrics();
    m_clrInactiveCaptionText.SetStandardValue(GetColor(COLOR_INACTIVECAPTIONTEXT));
    const int nScheme = CurrentScheme();
    if (nScheme == CKLVColorManager::themeBlue || nScheme == CKLVColorManager::themeOlive) {
        m_clrSplitterGradient.SetStandardValue(0xD7E5E5, 0xE7F1F4);
        m_clrInactiveCaption.SetStandardValue(0xC6D7D8, 0xE5EFEE);
    } else if (nScheme == CKLVColorManager::themeSilver) {
        m_clrSplitterGradient.SetStandardValue(0xE5D7D7, 0xF7F3F3);
        m_clrInactiveCaption.SetStandardValue(0xEBE0E0, 0xF6F2F2);
        m_clrActiveCaption.SetStandardValue(0xBA9EA0, 0xEBE1E0);
    }
    if (IsXPScheme(nScheme)) m_clrInactiveCaptionText.SetStandardValue(0);
}

// ---------------------------------------------------------------------------------------------

CKLVDockingPaneTheme9Base::CKLVDockingPaneTheme9Base() {
    for (CKLVTabPainter* pPainter : {&m_tabPanel, &m_tabAutoHide}) {
        pPainter->SetAppearance(9);
        pPainter->SetColorSet(new CKLVPaneThemeTabColorsResource);
    }
}

CKLVDockingPaneTheme9::CKLVDockingPaneTheme9() {
    for (CKLVTabPainter* pPainter : {&m_tabPanel, &m_tabAutoHide}) {
        // Appearance 2 with its margins; the painter falls back to its default look while it
        // has no appearance 2 of its own.
        pPainter->SetAppearance(2)->m_rcHeaderMargin = CRect(2, 2, 4, 0);
        pPainter->SetColorSet(new CKLVPaneThemeTabColorsResource9);
    }
}

void CKLVDockingPaneTheme9::RefreshMetrics() {
    CKLVDockingPaneTheme6::RefreshMetrics();
    m_clrInactiveCaption.SetStandardSolid(GetColor(COLOR_INACTIVECAPTION));
    m_clrActiveCaption.SetStandardSolid(GetColor(COLOR_ACTIVECAPTION));
    m_clrCaptionBorder = GetColor(COLOR_BTNSHADOW);
    switch (CurrentScheme()) {
    case CKLVColorManager::themeBlue:
        m_clrInactiveCaption.SetStandardSolid(0xBAC7CC);
        m_clrActiveCaption.SetStandardValue(0xED803B, 0xC56A31);
        break;
    case CKLVColorManager::themeOlive:
        m_clrInactiveCaption.SetStandardSolid(0xBAC7CC);
        m_clrActiveCaption.SetStandardValue(0x92C3B6, 0x75A091);
        break;
    case CKLVColorManager::themeSilver:
        m_clrInactiveCaption.SetStandardSolid(0xF5F0F0);
        m_clrActiveCaption.SetStandardValue(0xDDD4D3, 0xBFA5A6);
        m_clrCaptionBorder = 0x9C9B91;
        break;
    default: break;
    }
}

COLORREF CKLVDockingPaneTheme9::DrawCaptionBackground(CDC* pDC, CKLVDockingNode*, CRect rc, BOOL bActive,
                                                      BOOL bVertical) {
    GetDrawHelpers()->GradientFillValue(pDC, &rc, bActive ? m_clrActiveCaption : m_clrInactiveCaption, !bVertical);
    // Three sides; the side toward the pane content stays open.
    const COLORREF clr = m_clrCaptionBorder;
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, clr);
    pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), clr);
    if (bVertical) pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clr);
    else pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clr);
    return bActive ? COLORREF(m_clrActiveCaptionText) : COLORREF(m_clrInactiveCaptionText);
}
