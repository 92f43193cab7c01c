// Theme 6's construction, fonts and metrics from the system menu font, the ribbon's colours, the
// popup bar region and key tips.
#include "toolkit/themes/PaintManagerTheme6.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"
#include "toolkit/common/NonClientMetrics.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/OSVersionInfo.h"
#include "toolkit/common/ResourceImages.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/themes/ThemeControlState.h"

#include <algorithm>
#include <cstdlib>

namespace {

const BYTE kClearTypeQuality = 5;
const BYTE kClearTypeNaturalQuality = 6;
const char kSegoe[] = "Segoe UI";

BOOL IsClearTypeSupported() { return GetOSVersionInfo()->IsWinXPOrGreater(); }

void Recreate(CKLVPaintManagerFont& font, const LOGFONTA& lf) {
    if (!font.IsStandardFont() && font.GetSafeHandle()) return;
    font.DeleteObject();
    font.CreateFontIndirect(&lf);
}

}  // namespace

LPCTSTR KLVContextColorName(int nColor) {
    static const LPCTSTR kNames[] = {"", "BLUE", "YELLOW", "GREEN", "RED", "PURPLE", "CYAN", "ORANGE"};
    return nColor >= 1 && nColor <= 7 ? kNames[nColor] : kNames[0];
}

CString KLVContextImageName(LPCTSTR lpszPattern, int nColor) {
    CString strName;
    strName.Format(lpszPattern, KLVContextColorName(nColor));
    return strName;
}

HRGN KLVCreatePopupBarRegion(int cx, int cy) {
    HRGN hRegion = ::CreateRectRgn(0, 1, cx, cy - 1);
    for (const RECT& rc : {RECT{1, 0, cx - 1, 1}, RECT{1, cy - 1, cx - 1, cy}}) {
        HRGN hRow = ::CreateRectRgnIndirect(&rc);
        ::CombineRgn(hRegion, hRegion, hRow, RGN_OR);
        ::DeleteObject(hRow);
    }
    return hRegion;
}

CKLVPaintManagerTheme6::CKLVPaintManagerTheme6() {
    m_bClearTypeFonts = TRUE;
    m_bStatusBarFrame = TRUE;
    m_fontGroup.SetStandardFont(TRUE);
    m_nSplitButtonDropDownWidth = 12;
    m_nSplitButtonPopupWidth = 26;
    m_strPreferredFace = kSegoe;
    m_bUsePreferredFace = TRUE;
    m_bLabelIconColumn = FALSE;
    m_pRibbonTabPainter.reset(CreateRibbonTabPainter());
    m_pRibbonTabPainter->RefreshMetrics();
}

CKLVPaintManagerTheme6::~CKLVPaintManagerTheme6() { m_fontGroup.DeleteObject(); }

void CKLVPaintManagerTheme6::RefreshFonts() {
    CKLVNonClientMetrics ncm;
    int s = std::abs(static_cast<int>(ncm.lfMenuFont.lfHeight));
    if (m_nFontSize > 11) s = m_nFontSize;
    if (s < 13) s = 11;

    LOGFONTA lf = {};
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ncm.lfMenuFont.lfCharSet;
    lf.lfHeight = s * 120 / 96;
    if (m_bClearTypeFonts && IsClearTypeSupported()) lf.lfQuality = kClearTypeQuality;
    const BOOL bSegoe = m_bUsePreferredFace && CKLVDrawHelpers::FontExists(kSegoe);
    lstrcpynA(lf.lfFaceName, bSegoe ? kSegoe : ncm.lfMenuFont.lfFaceName, LF_FACESIZE);

    if (m_bUseStandardFont) SetCommandBarsFontIndirect(&lf, TRUE);
    m_nTextHeight = std::max(s * 144 / 96 + 6, 22);
    m_nControlHeight = std::max(s * 195 / 96, 22);
    m_nRibbonTabHeight = m_nControlHeight < 23 ? 23 : m_nControlHeight + 2;
    m_nGroupCaptionHeight = std::max(s * 144 / 96, 17);
    m_nSplitButtonDropDownWidth = std::max(m_nTextHeight / 2, 12);
    Recreate(m_fontGroup, lf);
    RebuildOtherFonts(lf, bSegoe);
    RefreshRibbonTabPainter(lf);
}

void CKLVPaintManagerTheme6::RebuildOtherFonts(const LOGFONTA& lf, BOOL bSegoe) {
    CKLVNonClientMetrics ncm;
    LOGFONTA lfIcon = lf;
    lstrcpynA(lfIcon.lfFaceName, ncm.lfMenuFont.lfFaceName, LF_FACESIZE);
    Recreate(m_fontIcon, lfIcon);
    lfIcon.lfWeight = FW_BOLD;
    Recreate(m_fontIconBold, lfIcon);
    LOGFONTA lfSmCaption = ncm.lfSmCaptionFont;
    lfSmCaption.lfQuality = kClearTypeQuality;
    Recreate(m_fontSmCaption, lfSmCaption);
    LOGFONTA lfStatus = ncm.lfStatusFont;
    if (bSegoe) lstrcpynA(lfStatus.lfFaceName, lf.lfFaceName, LF_FACESIZE);
    if (m_bClearTypeFonts) lfStatus.lfQuality = kClearTypeNaturalQuality;
    Recreate(m_fontToolTip, lfStatus);
}

void CKLVPaintManagerTheme6::SetRibbonColorDefaults() {
    m_clrRibbonFace = GetThemeColor(COLOR_BTNFACE);
    m_clrRibbonText = m_clrGroupCaptionText = GetThemeColor(COLOR_BTNTEXT);
    m_clrEditFace = GetThemeColor(COLOR_WINDOW);
    m_clrMinimizedEdgeHighlight = GetThemeColor(COLOR_BTNHIGHLIGHT);
    m_clrMinimizedEdgeShadow = GetThemeColor(COLOR_BTNSHADOW);
}

void CKLVPaintManagerTheme6::RefreshMetrics() {
    CKLVPaintManagerTheme5::RefreshMetrics();
    SetRibbonColorDefaults();
    ReadRibbonColors();
    RebuildGlyph();
}

void CKLVPaintManagerTheme6::ReadRibbonColors() {
    ReadColor("Ribbon", "RibbonFace", m_clrRibbonFace);
    ReadRibbonTabColors();
    ReadColor("Ribbon", "GroupCaptionText", m_clrGroupCaptionText);
    ReadColorNumber("Ribbon", "GroupClientText", 46);
    ReadColor("Ribbon", "RibbonText", m_clrRibbonText);
    ReadColor("Ribbon", "ControlEditNormal", m_clrEditFace);
    ReadColor("Ribbon", "MinimizedFrameEdgeHighLight", m_clrMinimizedEdgeHighlight);
    ReadColor("Ribbon", "MinimizedFrameEdgeShadow", m_clrMinimizedEdgeShadow);
    ReadColorNumber("Ribbon", "MenuPopupText", 44);
    m_bSchemeColors = FALSE;
    m_arrColors[35].SetStandardValue(0xA7A7A7);
    ReadColorNumber("Ribbon", "ControlHighlightText", 45);
    m_arrColors[43].SetStandardValue(0x868686);
    m_arrColors[41].SetStandardValue(0xFAFAFA);
    m_grcExtra.SetStandardValue(0xEEEEE9, 0xEEEEE9, 0.5f);
}

void CKLVPaintManagerTheme6::SetCommandBarRegion(CKLVCommandBarFace* pBarFace) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    if (!pBar || pBar->GetPosition() != CKLVCommandBar::barPopup || !pBar->GetSafeHwnd()) return;
    CRect rc;
    pBar->GetWindowRect(&rc);
    pBar->SetWindowRgn(KLVCreatePopupBarRegion(rc.Width(), rc.Height()), FALSE);
}

void CKLVPaintManagerTheme6::DrawKeyboardTip(CDC* pDC, CKLVCommandBarKeyboardTip* pTip, BOOL bSetRegion) {
    CRect rc;
    pTip->GetClientRect(&rc);
    if (bSetRegion) {
        pTip->SetWindowRgn(KLVCreatePopupBarRegion(rc.Width(), rc.Height()), FALSE);
        return;
    }
    // A key the skin lacks keeps the plain tool tip's colour.
    const auto lookup = [this](LPCTSTR lpszKey, int nDefault) {
        const COLORREF clr = KLVResourceImages()->LookupColor("Window", lpszKey);
        return clr == COLORREF(-1) ? GetThemeColor(nDefault) : clr;
    };
    CKLVGradientColorValue grc;
    grc.SetStandardValue(lookup("TooltipLight", COLOR_INFOBK), lookup("TooltipDark", COLOR_INFOBK));
    FillGradient(pDC, rc, grc, FALSE);
    const COLORREF clrBorder = lookup("TooltipBorder", COLOR_BTNSHADOW);
    pDC->Draw3dRect(rc, clrBorder, clrBorder);
    CKLVFontDC font(pDC, &m_fontToolTip, GetThemeColor(pTip->m_bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(pTip->m_strCaption, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
