#include "toolkit/dockingpane/DockingPaneTheme2.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ResourceImages.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/tabs/TabStyle.h"

#include <iterator>

namespace {

// The colour-table entries an XP scheme writes, and their values per scheme.
const int kSchemeEntries[] = {30, 31, 32, 33, 36, 37, 38, 39, 40, 41, 43, 47, 50};

struct SchemeColors {
    COLORREF clrInactiveFrom, clrInactiveTo;
    float fInactiveFactor;
    COLORREF clrSplitter;
    COLORREF arrEntries[std::size(kSchemeEntries)];
};

const SchemeColors kSchemes[] = {
    // blue
    {0xFEECDD, 0xE2A981, 0.75f, 0xFCE7D8,
     {0xF5BE9E, 0xC2EEFF, 0x800000, 0x3E80FE, 0x6FC0FF, 0x800000, 0x764127, 0xCB8C6A, 0xD0966D, 0xF6F6F6, 0x962D00,
      0x000000, 0x800000}},
    // olive
    {0xDEF7F4, 0x91C6B7, 0.3f, 0xBFE7E2,
     {0xA7D9D9, 0xC2EEFF, 0x385D3F, 0x3E80FE, 0x6FC0FF, 0x385D3F, 0x335E51, 0x588060, 0x7AAE9F, 0xEEF4F4, 0x5E8D75,
      0x000000, 0x385D3F}},
    // silver
    {0xFFF9F9, 0xB79B9C, 0.75f, 0xEADFDF,
     {0xE5D7D7, 0xC2EEFF, 0x6F4B4B, 0x3E80FE, 0x6FC0FF, 0x6F4B4B, 0x755454, 0x8F6D6E, 0xBEA7A8, 0xFFFAFD, 0x947C7C,
      0x000000, 0x6F4B4B}},
};

const int kGripperWidth = 10;

BOOL IsXPScheme(int nScheme) {
    return nScheme >= CKLVColorManager::themeBlue && nScheme <= CKLVColorManager::themeSilver;
}

void HorzLine(CDC* pDC, int x1, int x2, int y, COLORREF clr) { pDC->FillSolidRect(x1, y, x2 - x1, 1, clr); }
void VertLine(CDC* pDC, int x, int y1, int y2, COLORREF clr) { pDC->FillSolidRect(x, y1, 1, y2 - y1, clr); }

}  // namespace

CKLVDockingPaneTheme2::CKLVDockingPaneTheme2() {
    m_nCaptionButtonStyle = buttonHighlighted;
    m_nCaptionTextMargin = 7;
    m_bBoldCaption = TRUE;
    for (CKLVTabPainter* pPainter : {&m_tabPanel, &m_tabAutoHide}) {
        pPainter->SetAppearance(2);
        pPainter->SetColor(4);
    }
}

BOOL CKLVDockingPaneTheme2::IsCaptionActive(const CKLVDockingPaneTabbedContainer* pPane) const {
    return m_bHighlightActiveCaption && pPane->IsActive();
}

int CKLVDockingPaneTheme2::GetAppliedScheme() const {
    switch (m_nColorScheme) {
    case CKLVColorManager::themeBlue:
    case CKLVColorManager::themeOlive:
    case CKLVColorManager::themeSilver: return m_nColorScheme;
    case 4: return GetColorManager()->GetSystemTheme();
    case 5: return GetColorManager()->IsLunaColorsDisabled() ? 0 : GetColorManager()->GetCurrentTheme();
    default: return 0;
    }
}

void CKLVDockingPaneTheme2::WriteSchemeTable(int nScheme) {
    const SchemeColors& scheme = kSchemes[nScheme - 1];
    for (size_t i = 0; i < std::size(kSchemeEntries); ++i) m_arrColor[kSchemeEntries[i]] = scheme.arrEntries[i];
}

void CKLVDockingPaneTheme2::RefreshMetrics() {
    CKLVDockingPaneTheme1::RefreshMetrics();
    m_clrInactiveCaption.SetStandardValue(BlendColors(GetColor(COLOR_BTNFACE), GetColor(COLOR_WINDOW), 205),
                                          GetColor(COLOR_BTNFACE));
    m_clrInactiveCaptionText.SetStandardValue(GetColor(COLOR_BTNTEXT));
    m_clrActiveCaption.SetStandardSolid(GetColor(36));
    m_clrActiveCaptionText.SetStandardValue(GetColor(COLOR_BTNTEXT));
    m_bUseResourceColors = FALSE;
    if (CKLVColorManager::IsLowResolution()) {
        m_clrInactiveCaption.SetStandardSolid(GetColor(COLOR_BTNFACE));
        m_clrActiveCaption.SetStandardSolid(GetColor(COLOR_HIGHLIGHT));
        m_clrActiveCaptionText.SetStandardValue(GetColor(COLOR_HIGHLIGHTTEXT));
    }
    const int nScheme = GetAppliedScheme();
    if (!IsXPScheme(nScheme)) return;
    const SchemeColors& scheme = kSchemes[nScheme - 1];
    m_clrInactiveCaption.SetStandardValue(scheme.clrInactiveFrom, scheme.clrInactiveTo, scheme.fInactiveFactor);
    m_clrSplitter.SetStandardValue(scheme.clrSplitter);
    // The grip keeps the colour the system gave before the scheme's table replaces it.
    m_clrSplitterGripper.SetStandardValue(GetColor(38));
    WriteSchemeTable(nScheme);
    m_bUseResourceColors = TRUE;
    m_clrActiveCaption.SetStandardValue(0x8CD5FF, 0x4CA6FF, 0.5f);
    m_clrSplitterGradient.SetStandardValueFrom(GetColorManager()->m_grcGradient[1]);
}

CRect CKLVDockingPaneTheme2::GetCaptionGripperRect(const CKLVDockingPaneTabbedContainer*) {
    return CRect(0, 0, kGripperWidth, m_nCaptionHeight);
}

CRect CKLVDockingPaneTheme2::GetFamilyBand(const CKLVDockingPaneTabbedContainer* pPane, CRect rc) const {
    if (pPane->IsCaptionVertical()) rc.right = rc.left + m_nCaptionHeight + 3;
    else rc.bottom = rc.top + m_nCaptionHeight + 3;
    return rc;
}

void CKLVDockingPaneTheme2::DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    const BOOL bVertical = pPane->IsCaptionVertical();
    const CRect rcBand = GetFamilyBand(pPane, rc);
    CRect rcGradient = rcBand;
    // The corners stay out of everything drawn after them; the caller's clipping comes back.
    const int nSavedDC = pDC->SaveDC();
    if (m_bRoundedCaption) {
        pDC->FillSolidRect(&rcBand, m_clrSplitter);
        if (bVertical) rcGradient.top += 1;
        else rcGradient.left += 1;
        CKLVDrawHelpers::ExcludeCorners(pDC, rcGradient.left, rcGradient.top, rcGradient.right, rcGradient.bottom);
    }
    const BOOL bActive = IsCaptionActive(pPane);
    GetDrawHelpers()->GradientFillValue(pDC, &rcGradient, bActive ? m_clrActiveCaption : m_clrInactiveCaption, bVertical);
    if (!m_bRoundedCaption) {
        const COLORREF clrBorder = GetColor(54);
        VertLine(pDC, rcBand.left, rcBand.top, rcBand.bottom, clrBorder);
        HorzLine(pDC, rcBand.left, rcBand.right, rcBand.top, clrBorder);
        VertLine(pDC, rcBand.right - 1, rcBand.top, rcBand.bottom, clrBorder);
    }
    DrawCaptionBar(pDC, pPane, rcBand, pPane->GetCaptionText(), bActive, bVertical);
    pDC->RestoreDC(nSavedDC);
}

void CKLVDockingPaneTheme2::DrawGripperDots(CDC* pDC, CRect& rc, BOOL bVertical) {
    const COLORREF clrLight = GetColor(COLOR_WINDOW), clrDark = GetColor(38);
    if (!bVertical) {
        if (rc.right <= rc.left + 7) return;
        for (int y = 5; y < rc.Height() - 3; y += 4) {
            pDC->FillSolidRect(rc.left + 6, y + 1, 2, 2, clrLight);
            pDC->FillSolidRect(rc.left + 5, y, 2, 2, clrDark);
        }
        rc.left += 8;
    } else {
        if (rc.bottom <= rc.top + 7) return;
        for (int x = 4; x - 1 < rc.Width() - 5; x += 4) {
            pDC->FillSolidRect(x + 1, rc.top + 6, 2, 2, clrLight);
            pDC->FillSolidRect(x, rc.top + 5, 2, 2, clrDark);
        }
        rc.top += 8;
    }
}

void CKLVDockingPaneTheme2::DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rc, const CString& strTitle,
                                           BOOL bActive, BOOL bVertical) {
    const COLORREF clr = bActive ? COLORREF(m_clrActiveCaptionText) : COLORREF(m_clrInactiveCaptionText);
    if (bVertical) rc.bottom -= 4;
    else rc.right -= 4;
    DrawCaptionButtons(pDC, pOwner, rc, clr, 16, 0, bVertical);
    if (m_bCaptionGripper) DrawGripperDots(pDC, rc, bVertical);
    CRect rcText = ExcludeCaptionButtons(pOwner, rc, bVertical);
    if (bVertical) rcText.DeflateRect(1, 6, 0, 2);
    else rcText.DeflateRect(6, 1, 2, 0);
    DrawCaptionIcon(pDC, pOwner, rcText, bVertical);
    pDC->SetTextColor(IsOwnerPaneEnabled(pOwner) ? clr : GetColor(COLOR_GRAYTEXT));
    pDC->SetBkMode(TRANSPARENT);
    DrawCaptionText(pDC, strTitle, rcText, bVertical);
}

void CKLVDockingPaneTheme2::DrawFloatingFrame(CDC* pDC, CWnd* pFrame, CRect rc) {
    const COLORREF clrFrame = GetColor(43);
    for (int i = 0; i < 3; ++i) {
        if (i > 0) rc.DeflateRect(1, 1);
        pDC->Draw3dRect(&rc, clrFrame, clrFrame);
    }
    const int nSavedDC = pDC->SaveDC();
    CKLVDrawHelpers::ExcludeCorners(pDC, rc.left, rc.top, rc.right, rc.bottom);
    const COLORREF clrInner = m_clrInactiveCaption.m_clrTo;
    pDC->Draw3dRect(&rc, clrInner, clrInner);
    CString strTitle;
    BOOL bActive = FALSE;
    CKLVDockingNode* pOwner = GetFrameCaption(pFrame, strTitle, bActive);
    CRect rcBand(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight + 3);
    {
        CKLVBufferDC buffer(pDC->GetSafeHdc(), rcBand);
        buffer.SetBkMode(TRANSPARENT);
        GetDrawHelpers()->GradientFillValue(&buffer, &rcBand, bActive ? m_clrActiveCaption : m_clrInactiveCaption, FALSE);
        rcBand.DeflateRect(1, 0);
        DrawCaptionBar(&buffer, pOwner, rcBand, strTitle, bActive, FALSE);
    }
    pDC->RestoreDC(nSavedDC);
}

// ---------------------------------------------------------------------------------------------

CKLVDockingPaneTheme7::CKLVDockingPaneTheme7() {
    m_nCaptionTextMargin = 3;
    m_bCaptionGripper = FALSE;
    m_bRoundedCaption = FALSE;
}

void CKLVDockingPaneTheme7::RefreshMetrics() {
    CKLVDockingPaneTheme2::RefreshMetrics();
    if (m_bUseSystemCaptionFont) {
        // Made once: the font is no longer the system's, so later refreshes keep it.
        LOGFONTA lf = {};
        ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
        lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
        lf.lfWeight = FW_BOLD;
        lf.lfHeight = 20;
        SetCaptionFont(lf, FALSE);
    }
    if (m_bUseResourceColors) {
        m_clrInactiveCaption.SetStandardValueFrom(GetColorManager()->m_grcGradient[0]);
        m_clrInactiveCaptionText.SetStandardValue(0xFFFFFF);
    } else {
        m_clrInactiveCaption.SetStandardValue(BlendColors(GetColor(COLOR_BTNSHADOW), GetColor(COLOR_WINDOW), 205),
                                              GetColor(COLOR_BTNSHADOW));
    }
}

// ---------------------------------------------------------------------------------------------

CKLVDockingPaneTheme10::CKLVDockingPaneTheme10() {
    m_nSplitterStyle = splitterGradientVert;
    m_bRoundedCaption = FALSE;
    for (CKLVTabPainter* pPainter : {&m_tabPanel, &m_tabAutoHide}) {
        pPainter->SetAppearance(10);
        pPainter->m_rcButtonMargin = CRect(2, 1, 2, 1);
    }
}

void CKLVDockingPaneTheme10::DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    const BOOL bVertical = pPane->IsCaptionVertical();
    const CRect rcBand = GetFamilyBand(pPane, rc);
    const BOOL bActive = IsCaptionActive(pPane);
    GetDrawHelpers()->GradientFillValue(pDC, &rcBand, bActive ? m_clrActiveCaption : m_clrInactiveCaption, bVertical);
    const COLORREF clrBorder = GetColor(54), clrLight = GetColor(COLOR_3DHIGHLIGHT);
    HorzLine(pDC, rcBand.left, rcBand.right, rcBand.top, clrBorder);
    HorzLine(pDC, rcBand.left, rcBand.right, rcBand.top + 1, clrLight);
    VertLine(pDC, rcBand.left, rcBand.top, rcBand.bottom, clrBorder);
    VertLine(pDC, rcBand.left + 1, rcBand.top + 1, rcBand.bottom, clrLight);
    VertLine(pDC, rcBand.right - 1, rcBand.top, rcBand.bottom, clrBorder);
    DrawCaptionBar(pDC, pPane, rcBand, pPane->GetCaptionText(), bActive, bVertical);
}

void CKLVDockingPaneTheme10::RefreshMetrics() {
    CKLVDockingPaneTheme2::RefreshMetrics();
    if (KLVResourceImages()->IsValid()) TakeResourceColors();
    else TakeFixedColors();
}

void CKLVDockingPaneTheme10::TakeResourceColors() {
    const CKLVResourceImages* pImages = KLVResourceImages();
    // A key the module lacks leaves its target as the refresh before set it.
    auto take = [pImages](LPCTSTR lpszSection, LPCTSTR lpszKey, auto&& fnSet) {
        const COLORREF clr = pImages->LookupColor(lpszSection, lpszKey);
        if (clr != COLORREF(-1)) fnSet(clr);
    };
    auto takeEntry = [&](int nIndex, LPCTSTR lpszSection, LPCTSTR lpszKey) {
        take(lpszSection, lpszKey, [this, nIndex](COLORREF clr) { m_arrColor[nIndex] = clr; });
    };
    auto takeValue = [&](CKLVColorValue& value, LPCTSTR lpszSection, LPCTSTR lpszKey) {
        take(lpszSection, lpszKey, [&value](COLORREF clr) { value.SetStandardValue(clr); });
    };
    auto takeGradient = [&](CKLVGradientColorValue& grc, LPCTSTR lpszLight, LPCTSTR lpszDark, float fFactor) {
        COLORREF clrFrom = grc.m_clrFrom.GetStandardColor(), clrTo = grc.m_clrTo.GetStandardColor();
        take("DockingPane", lpszLight, [&clrFrom](COLORREF clr) { clrFrom = clr; });
        take("DockingPane", lpszDark, [&clrTo](COLORREF clr) { clrTo = clr; });
        grc.SetStandardValue(clrFrom, clrTo, fFactor);
    };
    takeEntry(54, "Window", "WindowFrame");
    takeEntry(51, "Window", "ButtonFace");
    takeEntry(COLOR_3DHIGHLIGHT, "Window", "EdgeHighLightColor");
    takeValue(m_clrSplitter, "DockingPane", "Splitter");
    m_clrSplitterGripper.SetStandardValue(GetColor(54));
    takeEntry(38, "Toolbar", "ToolbarGripper");
    takeEntry(43, "Toolbar", "MenuPopupBorder");
    takeGradient(m_clrSplitterGradient, "SplitterLight", "SplitterDark", 0.5f);
    takeGradient(m_clrInactiveCaption, "NormalCaptionLight", "NormalCaptionDark", 0.25f);
    takeValue(m_clrInactiveCaptionText, "DockingPane", "NormalCaptionText");
    takeGradient(m_clrActiveCaption, "ActiveCaptionLight", "ActiveCaptionDark", 0.25f);
    takeValue(m_clrActiveCaptionText, "DockingPane", "ActiveCaptionText");
    m_bUseResourceColors = TRUE;
}

void CKLVDockingPaneTheme10::TakeFixedColors() {
    m_clrInactiveCaption.SetStandardValue(0xFFEFE3, 0xFFD2AF, 0.25f);
    m_arrColor[54] = 0xCF9365;
    m_arrColor[51] = 0xFFDBBF;
    m_arrColor[COLOR_3DHIGHLIGHT] = 0xFFFFFF;
    m_clrSplitter.SetStandardValue(0xFCE7D8);
    m_clrSplitterGripper.SetStandardValue(GetColor(38));
    m_clrSplitterGradient.SetStandardValue(0xFEDABE, 0xCB8F64, 0.5f);
    WriteSchemeTable(CKLVColorManager::themeBlue);
    m_bUseResourceColors = TRUE;
    m_clrActiveCaption.SetStandardValue(0xA2E7FF, 0x4CA6FF, 0.5f);
    m_clrInactiveCaptionText.SetStandardValue(0x723708);
    m_clrActiveCaptionText.SetStandardValue(0x723708);
}
