// Theme 5's construction, caption font and heights, and the colour table read from the skin.
#include "toolkit/themes/PaintManagerTheme5.h"

#include "toolkit/common/NonClientMetrics.h"
#include "toolkit/themes/ControlGalleryResourcePaintManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/OSVersionInfo.h"
#include "toolkit/common/ResourceImages.h"

#include <algorithm>

namespace {

const BYTE kClearTypeNaturalQuality = 6;
const COLORREF kUnset = COLORREF(-1);

}  // namespace

KLVCaptionHeights KLVCaptionHeightsFor(int nSystemCaption) {
    return {std::max(nSystemCaption, 17), std::max(nSystemCaption + 1, 18)};
}

CKLVPaintManagerTheme5::CKLVPaintManagerTheme5() : m_pResourceImages(KLVResourceImages()) {
    m_nShadowOptions = 1;
    m_nColorTheme = 0;
    m_bUseStatusVisualStyle = TRUE;
    m_bNarrowCaptionMargin = TRUE;
    m_bStatusBarFrame = FALSE;
    m_fontCaption.SetStandardFont(TRUE);
    m_pGalleryPaintManager = std::make_unique<CKLVControlGalleryResourcePaintManager>(this);
}

CKLVPaintManagerTheme5::~CKLVPaintManagerTheme5() { m_fontCaption.DeleteObject(); }

BOOL CKLVPaintManagerTheme5::ReadColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF& clr) const {
    const COLORREF clrFound = m_pResourceImages->LookupColor(lpszSection, lpszKey);
    if (clrFound == kUnset) return FALSE;
    clr = clrFound;
    return TRUE;
}

void CKLVPaintManagerTheme5::ReadColor(LPCTSTR lpszSection, LPCTSTR lpszKey, CKLVColorValue& clr) const {
    COLORREF clrFound = kUnset;
    if (ReadColor(lpszSection, lpszKey, clrFound)) clr.SetStandardValue(clrFound);
}

void CKLVPaintManagerTheme5::ReadColorNumber(LPCTSTR lpszSection, LPCTSTR lpszKey, int nIndex) {
    ReadColor(lpszSection, lpszKey, m_arrColors[nIndex]);
}

void CKLVPaintManagerTheme5::ReadGradient(LPCTSTR lpszSection, LPCTSTR lpszDark, LPCTSTR lpszLight,
                                          CKLVGradientColorValue& grc, float fFactor) const {
    COLORREF clrDark = grc.m_clrFrom.GetStandardColor(), clrLight = grc.m_clrTo.GetStandardColor();
    const BOOL bDark = ReadColor(lpszSection, lpszDark, clrDark);
    const BOOL bLight = ReadColor(lpszSection, lpszLight, clrLight);
    if (bDark || bLight) grc.SetStandardValue(clrDark, clrLight, fFactor);
}

void CKLVPaintManagerTheme5::RefreshCaptionFont() {
    if (!m_fontCaption.IsStandardFont() && m_fontCaption.GetSafeHandle()) return;
    CKLVNonClientMetrics ncm;
    LOGFONTA lf = ncm.lfCaptionFont;
    lf.lfWeight = FW_NORMAL;
    if (m_bClearTypeFonts && GetOSVersionInfo()->IsWinXPOrGreater()) lf.lfQuality = kClearTypeNaturalQuality;
    if (m_bUsePreferredFace && CKLVDrawHelpers::FontExists(m_strPreferredFace))
        lstrcpynA(lf.lfFaceName, m_strPreferredFace, LF_FACESIZE);
    if (lf.lfHeight < 0 && lf.lfHeight > -11) lf.lfHeight = -11;
    m_fontCaption.DeleteObject();
    m_fontCaption.CreateFontIndirect(&lf);
}

void CKLVPaintManagerTheme5::SetOwnColorDefaults() {
    m_clrMenuBarText = GetThemeColor(COLOR_BTNTEXT);
    m_clrStatusBarShadow = GetThemeColor(COLOR_BTNSHADOW);
    m_grcStatusBarTop.SetStandardSolid(GetThemeColor(COLOR_BTNFACE));
    m_grcStatusBarBottom.SetStandardSolid(GetThemeColor(COLOR_BTNFACE));
    m_clrWorkspaceTop = m_clrWorkspaceMiddle = m_clrWorkspaceBottom = GetThemeColor(COLOR_APPWORKSPACE);
    for (int i = 0; i < 4; ++i) {
        m_clrBorderActive[i] = GetThemeColor(COLOR_ACTIVEBORDER);
        m_clrBorderInactive[i] = GetThemeColor(COLOR_INACTIVEBORDER);
    }
    m_clrCaptionTextActive = m_clrCaptionTextActiveTitle = GetThemeColor(COLOR_CAPTIONTEXT);
    m_clrCaptionTextInactive = GetThemeColor(COLOR_INACTIVECAPTIONTEXT);
}

void CKLVPaintManagerTheme5::RefreshMetrics() {
    CKLVPaintManagerTheme2::RefreshMetrics();
    RefreshCaptionFont();
    const KLVCaptionHeights heights = KLVCaptionHeightsFor(::GetSystemMetrics(SM_CYCAPTION));
    m_nCaptionHeight = heights.nCaption;
    m_nRibbonCaptionHeight = heights.nRibbonCaption;
    SetOwnColorDefaults();
    ReadColorTable();
    ReadHighlightsAndFrame();
    RebuildGlyph();
}

// The table's order matters where fixed values lie between the keys.
void CKLVPaintManagerTheme5::ReadColorTable() {
    ReadColor("StatusBar", "StatusBarText", m_clrStatusText);
    ReadColor("StatusBar", "StatusBarShadow", m_clrStatusBarShadow);
    ReadGradient("StatusBar", "StatusBarFaceTopDark", "StatusBarFaceTopLight", m_grcStatusBarTop, 0.5f);
    ReadGradient("StatusBar", "StatusBarFaceBottomDark", "StatusBarFaceBottomLight", m_grcStatusBarBottom, 0.5f);
    COLORREF clrDockBar = kUnset;
    if (ReadColor("Toolbar", "DockBarFace", clrDockBar)) m_grcDockBar.SetStandardSolid(clrDockBar);
    ReadGradient("Toolbar", "ToolbarFaceDark", "ToolbarFaceLight", m_grcBarBody, 0.75f);
    ReadColor("Toolbar", "ToolbarFaceShadow", m_clrBarBorder);
    ReadGradient("Toolbar", "ControlToolbarExpandDark", "ControlToolbarExpandLight", m_grcExpandButton, 0.75f);
    ReadGradient("Toolbar", "ControlHighlightPopupedDark", "ControlHighlightPopupedLight", m_grcPopuped, 0.5f);
    m_grcExtra.SetStandardValue(m_grcPopuped.m_clrFrom.GetStandardColor(), m_grcPopuped.m_clrTo.GetStandardColor(),
                                m_grcPopuped.m_fGradientFactor);
    ReadGradient("Toolbar", "MenuPopupExpandedGripperDark", "MenuPopupExpandedGripperLight", m_grcExpandedGutter, 0.5f);
    m_bSchemeColors = FALSE;
    ReadColor("Toolbar", "MenuPopupTearOffGripper", m_clrTearOff);
    ReadColor("Toolbar", "MenuBarText", m_clrMenuBarText);
    m_arrColors[41].SetStandardValue(0xF6F6F6);
    ReadColorNumber("Toolbar", "MenuPopupBorder", 43);
    ReadColorNumber("Toolbar", "ToolbarGripper", 38);
    for (int n : {44, 45, 46}) m_arrColors[n].SetStandardValue(0);
    for (int n : {35, 58, 60}) m_arrColors[n].SetStandardValue(0x8D8D8D);
    ReadColorNumber("Window", "WindowFrame", 54);
    ReadColor("Toolbar", "FloatingBarGripper", m_clrFloatingCaption);
    ReadColor("Toolbar", "FloatingBarGripperText", m_clrFloatingCaptionText);
    ReadColorNumber("Toolbar", "FloatingBarBorder", 61);
    ReadColorNumber("Workspace", "AppWorkspace", COLOR_APPWORKSPACE);
    ReadColorNumber("Window", "ButtonFace", 51);
    m_arrColors[52].SetStandardValue(m_clrBarBorder);
    ReadColorNumber("Toolbar", "ToolbarFace", 30);
    ReadColorNumber("Toolbar", "ToolbarSeparator", 39);
    ReadColorNumber("Toolbar", "ControlDisabledIcon", 40);
    ReadColor("Workspace", "WorkspaceClientTop", m_clrWorkspaceTop);
    ReadColor("Workspace", "WorkspaceClientMiddle", m_clrWorkspaceMiddle);
    ReadColor("Workspace", "WorkspaceClientBottom", m_clrWorkspaceBottom);
}

void CKLVPaintManagerTheme5::ReadHighlightsAndFrame() {
    ReadColorNumber("Window", "HighlightSelected", 31);
    ReadColorNumber("Window", "HighlightSelectedBorder", 32);
    ReadColorNumber("Window", "HighlightPressed", 33);
    ReadColorNumber("Window", "HighlightPressedBorder", 50);
    ReadColorNumber("Window", "HighlightChecked", 36);
    ReadColorNumber("Window", "HighlightCheckedBorder", 37);
    m_arrColors[47].SetStandardValue(0);
    m_bSchemeColors = TRUE;
    ReadGradient("Window", "HighlightSelectedDark", "HighlightSelectedLight", m_grcHot, 0.5f);
    ReadGradient("Window", "HighlightCheckedDark", "HighlightCheckedLight", m_grcChecked, 0.5f);
    ReadGradient("Window", "HighlightPressedDark", "HighlightPressedLight", m_grcPressed, 0.5f);
    for (int i = 0; i < 4; ++i) {
        CString strActive, strInactive;
        strActive.Format("BorderActive%d", i);
        strInactive.Format("BorderInactive%d", i);
        ReadColor("Window", strActive, m_clrBorderActive[i]);
        ReadColor("Window", strInactive, m_clrBorderInactive[i]);
    }
    ReadColor("Window", "CaptionTextActiveTitle", m_clrCaptionTextActiveTitle);
    ReadColor("Window", "CaptionTextInActive", m_clrCaptionTextInactive);
    ReadColor("Window", "CaptionTextActive", m_clrCaptionTextActive);
    ReadColorNumber("Toolbar", "ControlLabel", 56);
    ReadColorNumber("Toolbar", "ControlEditBorder", 53);
    ReadGradient("Toolbar", "ControlDisabledIconDark", "ControlDisabledIconLight", m_grcDisabledIcon, 0.5f);
}
