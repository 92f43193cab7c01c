#include "toolkit/dockingpane/DockingPaneTheme.h"

#include "toolkit/commandbars/NonClientMetrics.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"

namespace {

// The height of " " in a font, measured on the desktop.
int SpaceHeight(CFont* pFont) {
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, AfxGetSafeHandle(pFont));
    SIZE sz = {};
    ::GetTextExtentPoint32A(hDC, " ", 1, &sz);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(nullptr, hDC);
    return sz.cy;
}

}  // namespace

CKLVDockingPaneTheme::CKLVDockingPaneTheme() {
    m_tabPanel.SetLayout(CKLVTabPainter::layoutSizeToFit);
    m_tabPanel.SetPosition(CKLVTabPainter::positionBottom);
    m_tabAutoHide.SetLayout(CKLVTabPainter::layoutCompressed);
}

CKLVDockingPaneTheme::~CKLVDockingPaneTheme() = default;

COLORREF CKLVDockingPaneTheme::GetColor(int nIndex) const {
    return nIndex >= 0 && nIndex < nColorCount ? m_arrColor[nIndex] : static_cast<COLORREF>(nIndex);
}

void CKLVDockingPaneTheme::RefreshMetrics() {
    RefreshColors();
    for (int i = 0; i < nColorCount; i++) m_arrColor[i] = GetColorManager()->GetColor(i);

    m_clrSplitterGripper.SetStandardValue(::GetSysColor(COLOR_BTNSHADOW));
    m_clrSplitter.SetStandardValue(::GetSysColor(COLOR_BTNFACE));
    m_clrSplitterGradient.SetStandardValue(::GetSysColor(COLOR_BTNFACE),
                                           BlendColors(::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOW), 205));

    if (m_bUseSystemCaptionFont) {
        CKLVNonClientMetrics ncm;
        if (!m_bBoldCaption) ncm.lfSmCaptionFont.lfWeight = FW_NORMAL;
        SetCaptionFont(ncm.lfSmCaptionFont, TRUE);
    }

    m_tabPanel.RefreshMetrics();
    m_tabAutoHide.RefreshMetrics();
    m_nTabRowHeight = std::max(24, SpaceHeight(m_tabPanel.GetFont()) + 10);

    m_themeExplorer.OpenThemeData(nullptr, L"EXPLORERBAR");
    m_themeButton.OpenThemeData(nullptr, L"BUTTON");
    m_themeToolbar.OpenThemeData(nullptr, L"TOOLBAR");
    m_themeWindow.OpenThemeData(nullptr, L"WINDOW");
    m_bUseResourceColors = FALSE;
}

void CKLVDockingPaneTheme::SetCaptionFont(LOGFONTA lf, BOOL bUseSystemFont) {
    m_bUseSystemCaptionFont = bUseSystemFont;
    if (m_bUseTahoma && lf.lfCharSet <= 2 && bUseSystemFont && CKLVDrawHelpers::FontExists("Tahoma"))
        lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
    m_fntCaption.DeleteObject();
    m_fntCaption.CreateFontIndirect(&lf);

    lf.lfEscapement = 2700;
    lf.lfOrientation = 900;
    if (lf.lfHeight >= -10 && lf.lfHeight <= -1) lf.lfHeight = -11;
    lstrcpynA(lf.lfFaceName, CKLVDrawHelpers::GetDefaultFontName(), LF_FACESIZE);
    m_fntCaptionVertical.DeleteObject();
    m_fntCaptionVertical.CreateFontIndirect(&lf);

    m_nCaptionHeight = m_nCaptionTextMargin + std::max(13, SpaceHeight(&m_fntCaption));
}
