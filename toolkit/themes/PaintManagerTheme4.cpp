#include "toolkit/themes/PaintManagerTheme4.h"

#include "toolkit/common/ColorManager.h"

#include <iterator>

namespace {

struct GradientRow {
    COLORREF clrFrom, clrTo;
    float fFactor;
};

struct Theme4Scheme {
    GradientRow barBody, expandButton, dockBar, expandedGutter, extra;
    COLORREF clrBarBorder;
    GradientRow disabledIcon;
};

// Schemes 1 to 3; an extra gradient with factor 0 copies the bar body.
const Theme4Scheme kSchemes[3] = {
    {{0xf5f9fa, 0xa8c0c0, 0.75f}, {0xeaedee, 0x7e9898, 0.75f}, {0xd7e5e5, 0xe7f1f4, 0.5f},
     {0xbac7cc, 0xbac7cc, 0.5f}, {0, 0, 0.0f}, 0x7ca3a3, {0xf9f5f7, 0x99797a, 0.5f}},
    {{0xf5f9fa, 0xa8c0c0, 0.75f}, {0xeaedee, 0x9eacb0, 0.75f}, {0xd7e5e5, 0xe7f1f4, 0.5f},
     {0xbac7cc, 0xbac7cc, 0.5f}, {0, 0, 0.0f}, 0x7ca3a3, {0xd8e9ec, 0x99a8ac, 0.5f}},
    {{0xfaf4f3, 0xb59799, 0.75f}, {0xc8b2b3, 0x927476, 0.75f}, {0xe5d7d7, 0xf7f3f3, 0.5f},
     {0xe2d7d7, 0xa28385, 0.5f}, {0xf1e8e8, 0xc5aeb0, 0.5f}, 0x947c7c, {0xf9f5f7, 0x99797a, 0.5f}},
};

void Set(CKLVGradientColorValue& grc, const GradientRow& row) { grc.SetStandardValue(row.clrFrom, row.clrTo, row.fFactor); }

}  // namespace

CKLVPaintManagerTheme4::CKLVPaintManagerTheme4() {
    m_nColorTheme = 0;
    m_bFlatSeparators = TRUE;
}

void CKLVPaintManagerTheme4::RefreshMetrics() {
    CKLVPaintManagerTheme2::RefreshMetrics();
    if (IsLowResolution())
        m_grcExpandButton.SetStandardSolid(GetThemeColor(COLOR_BTNFACE));
    else
        m_grcExpandButton.SetStandardValue(BlendColors(GetThemeColor(COLOR_WINDOW), GetThemeColor(COLOR_BTNFACE), 550),
                                           GetThemeColor(COLOR_BTNSHADOW));
    const int nScheme = GetColorManager()->GetCurrentTheme();
    if (nScheme >= 1 && nScheme <= 3) {
        const Theme4Scheme& s = kSchemes[nScheme - 1];
        Set(m_grcBarBody, s.barBody);
        Set(m_grcExpandButton, s.expandButton);
        Set(m_grcDockBar, s.dockBar);
        Set(m_grcExpandedGutter, s.expandedGutter);
        if (s.extra.fFactor == 0.0f)
            m_grcExtra.SetStandardValueFrom(m_grcBarBody);
        else
            Set(m_grcExtra, s.extra);
        m_clrBarBorder.SetStandardValue(s.clrBarBorder);
        Set(m_grcDisabledIcon, s.disabledIcon);
    }
    if (nScheme == 2) {
        const int nIndexes[] = {31, 36, 33, 47};
        const COLORREF clrs[] = {0x8dc6b6, 0x8dc6b6, 0x70a093, 0xffffff};
        SetStandardColors(static_cast<int>(std::size(nIndexes)), nIndexes, clrs);
    } else if (nScheme == 3) {
        const int nIndexes[] = {35, 60, 38, 39, 30, 61, 31, 32, 37, 50, 33, 36, 47};
        const COLORREF clrs[] = {0x8d8d8d, 0x8d8d8d, 0x755454, 0x8f6d6e, 0xe4dadb, 0x99797a, 0xc2eeff,
                                 0x6f4b4b, 0x6f4b4b, 0x6f4b4b, 0x3e80fe, 0x6fc0ff, 0x000000};
        SetStandardColors(static_cast<int>(std::size(nIndexes)), nIndexes, clrs);
        m_clrTearOff.SetStandardValue(0xd3c0c0);
        m_clrFloatingCaption.SetStandardValue(0x99797a);
    }
    RebuildGlyph();
}
