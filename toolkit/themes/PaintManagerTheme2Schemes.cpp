// Theme 2's colours: defaults blended from the colour table, the three schemes, and the shaded
// ball of the popup expand button drawn from an intensity table in the extra gradient's colours.
#include "toolkit/themes/PaintManagerTheme2.h"

#include "classlib/WinApp.h"
#include "classlib/Wnd.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"

#include <iterator>

namespace {

struct GradientRow {
    COLORREF clrFrom, clrTo;
    float fFactor;
};

struct Scheme {
    GradientRow dockBar, barBody;
    COLORREF clrBarBorder, clrFloatingCaption;
    GradientRow popuped, expandButton, expandedGutter, extra;
    COLORREF clrStatusPane;
    GradientRow disabledIcon;
    COLORREF clrTearOff, clrShadow;
    // Colours 12, 30, 31, 32 (also 37 and 50), 33, 36, 38, 39, 40, 41, 43, 47, 51, 52, 53, 56.
    COLORREF clrs[16];
};

const int kSchemeIndexes[16] = {12, 30, 31, 32, 33, 36, 38, 39, 40, 41, 43, 47, 51, 52, 53, 56};

const Scheme kSchemes[3] = {
    {{0xf5be9e, 0xfadac4, 0.5f}, {0xfeecdd, 0xe2a981, 0.75f}, 0x9c613b, 0xc9662a, {0xffefe3, 0xe7b593, 0.5f},
     {0xf1a675, 0x913500, 0.75f}, {0xf6ddcb, 0xdca179, 0.5f}, {0xfeefe3, 0xe2a981, 0.5f}, 0xd3d3d3,
     {0xf2ece9, 0xac7a61, 0.5f}, 0xf0c7a9, 0x361e16,
     {0xae9990, 0xf9dbc4, 0xc2eeff, 0x800000, 0x3e80fe, 0x6fc0ff, 0x764127, 0xcb8c6a, 0xd0966d, 0xf6f6f6, 0x962d00,
      0x000000, 0xfce7d8, 0xf5be9e, 0xfce1cb, 0xf7d3bd}},
    {{0xa7d9d9, 0xe4f1f2, 0.5f}, {0xdef7f4, 0x91c6b7, 0.3f}, 0x588060, 0x5e8674, {0xd5f0ec, 0x9fcec2, 0.5f},
     {0x8cc2b0, 0x6b7760, 0.3f}, {0xd1e6e6, 0x78b4a4, 0.3f}, {0xd5f0ec, 0x93c6b8, 0.5f}, 0xd3d3d3,
     {0xf0f4f3, 0x719083, 0.5f}, 0x9fd4c5, 0x19221f,
     {0x7ba097, 0xadded1, 0xc2eeff, 0x385d3f, 0x3e80fe, 0x6fc0ff, 0x335e51, 0x588060, 0x7aae9f, 0xeef4f4, 0x5e8d75,
      0x000000, 0xbfe7e2, 0x8ac0ab, 0xb6e3d8, 0xbde3de}},
    {{0xe5d7d7, 0xf7f3f3, 0.5f}, {0xfff9f9, 0xb79b9c, 0.75f}, 0x947c7c, 0x99797a, {0xf1e7e9, 0xcdb9ba, 0.5f},
     {0xc8b2b3, 0x927476, 0.75f}, {0xe2d7d7, 0xa28385, 0.5f}, {0xf1e8e8, 0xc5aeb0, 0.5f}, 0xdaeaec,
     {0xf9f5f7, 0x99797a, 0.5f}, 0xd3c0c0, 0x292024,
     {0xb39a9b, 0xe4dadb, 0xc2eeff, 0x6f4b4b, 0x3e80fe, 0x6fc0ff, 0x755454, 0x8f6d6e, 0xbea7a8, 0xfffafd, 0x947c7c,
      0x000000, 0xeadfdf, 0xc3b0b1, 0xe7d3d6, 0xe7d7d6}},
};

void Set(CKLVGradientColorValue& grc, const GradientRow& row) { grc.SetStandardValue(row.clrFrom, row.clrTo, row.fFactor); }

// Intensities of the ball, 0xff transparent; high values take the gradient's start colour.
const BYTE kGlyph[16][16] = {
    {0xff, 0xff, 0xff, 0xff, 0xea, 0xea, 0xea, 0xc6, 0xc6, 0xc6, 0xc6, 0xfc, 0xff, 0xff, 0xff, 0xff},
    {0xff, 0xff, 0xff, 0xea, 0xfc, 0xfc, 0xea, 0xea, 0xc6, 0xb4, 0x90, 0x90, 0xc6, 0xff, 0xff, 0xff},
    {0xff, 0xff, 0xea, 0xfc, 0xfc, 0xfc, 0xea, 0xea, 0xc6, 0xb4, 0x90, 0x7e, 0x6c, 0xb4, 0xff, 0xff},
    {0xff, 0xea, 0xfc, 0xfc, 0xfc, 0xfc, 0xea, 0xea, 0xc6, 0xb4, 0x90, 0x7e, 0x6c, 0x6c, 0xc6, 0xff},
    {0xfc, 0xea, 0xfc, 0xfc, 0xfc, 0xfc, 0xea, 0xc6, 0xc6, 0xb4, 0x90, 0x7e, 0x6c, 0x5a, 0x5a, 0xfc},
    {0xea, 0xea, 0xea, 0xea, 0xea, 0xea, 0xea, 0xc6, 0xb4, 0xb4, 0x90, 0x7e, 0x6c, 0x5a, 0x48, 0xb4},
    {0xc6, 0xea, 0xea, 0xea, 0xea, 0xea, 0xc6, 0xc6, 0xb4, 0x90, 0x7e, 0x6c, 0x5a, 0x5a, 0x48, 0x6c},
    {0xb4, 0xc6, 0xc6, 0xc6, 0xc6, 0xc6, 0xb4, 0xb4, 0x90, 0x7e, 0x7e, 0x6c, 0x5a, 0x48, 0x48, 0x48},
    {0xb4, 0xb4, 0xb4, 0xb4, 0xb4, 0xb4, 0x90, 0x90, 0x7e, 0x7e, 0x6c, 0x5a, 0x5a, 0x48, 0x36, 0x36},
    {0xb4, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x7e, 0x7e, 0x6c, 0x6c, 0x5a, 0x48, 0x36, 0x24, 0x5a},
    {0xc6, 0x7e, 0x7e, 0x7e, 0x7e, 0x7e, 0x7e, 0x7e, 0x6c, 0x5a, 0x48, 0x36, 0x36, 0x24, 0x24, 0x7e},
    {0xfc, 0x7e, 0x6c, 0x6c, 0x6c, 0x6c, 0x6c, 0x48, 0x48, 0x36, 0x36, 0x24, 0x24, 0x12, 0x12, 0xea},
    {0xff, 0xc6, 0x5a, 0x5a, 0x5a, 0x48, 0x48, 0x36, 0x36, 0x24, 0x24, 0x12, 0x12, 0x00, 0x6c, 0xff},
    {0xff, 0xff, 0x90, 0x36, 0x36, 0x36, 0x24, 0x24, 0x12, 0x12, 0x12, 0x00, 0x00, 0x36, 0xff, 0xff},
    {0xff, 0xff, 0xff, 0x7e, 0x24, 0x24, 0x12, 0x12, 0x12, 0x00, 0x00, 0x00, 0x48, 0xff, 0xff, 0xff},
    {0xff, 0xff, 0xff, 0xff, 0xea, 0x5a, 0x24, 0x12, 0x00, 0x00, 0x36, 0xb4, 0xff, 0xff, 0xff, 0xff},
};

const COLORREF kGlyphMask = RGB(0, 255, 0);

BYTE Shade(BYTE from, BYTE to, int v) { return static_cast<BYTE>(to - (to - from) * v / 255); }

}  // namespace

CKLVPaintManagerTheme2::CKLVPaintManagerTheme2() {
    m_grcChecked.SetStandardValue(0x8cd5ff, 0x55adff);
    m_grcPressed.SetStandardValue(0x4b8efe, 0x8bcfff);
    m_grcHot.SetStandardValue(0xc8f2ff, 0x97d4ff);
    m_iconsInfo.bUseFadedIcons = FALSE;
    m_iconsInfo.bIconsWithShadow = FALSE;
}

CKLVPaintManagerTheme2::~CKLVPaintManagerTheme2() {
    if (m_hGlyphImages) ImageList_Destroy(m_hGlyphImages);
}

BOOL CKLVPaintManagerTheme2::IsLowResolution() const { return CKLVColorManager::IsLowResolution(nullptr); }

void CKLVPaintManagerTheme2::RefreshMetrics() {
    CKLVPaintManagerTheme1::RefreshMetrics();
    if (m_bUseStatusVisualStyle) {
        CWnd* pMainWnd = AfxGetMainWnd();
        m_themeStatusBar.CloseThemeData();
        m_themeStatusBar.OpenThemeData(pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr, L"STATUS");
    }
    auto blend = [this](int a, int b, int p) { return BlendColors(GetThemeColor(a), GetThemeColor(b), p); };
    const COLORREF clrFace = GetThemeColor(COLOR_BTNFACE);
    m_grcExpandedGutter.SetStandardValue(blend(COLOR_WINDOW, 42, 550), GetThemeColor(42));
    m_grcBarBody.SetStandardValue(blend(COLOR_BTNFACE, COLOR_WINDOW, 205), clrFace);
    m_grcDockBar.SetStandardValue(clrFace, blend(COLOR_BTNFACE, COLOR_WINDOW, 205));
    m_clrTearOff.SetStandardValue(GetThemeColor(30));
    m_clrBarBorder.SetStandardValue(GetThemeColor(30));
    m_clrFloatingCaption.SetStandardValue(GetThemeColor(COLOR_BTNSHADOW));
    m_grcPopuped.SetStandardValue(GetThemeColor(41), blend(COLOR_WINDOW, COLOR_BTNFACE, 550));
    m_grcExpandButton.SetStandardValue(blend(51, COLOR_BTNSHADOW, 51), GetThemeColor(COLOR_BTNSHADOW));
    m_bSchemeColors = FALSE;
    m_grcExtra.SetStandardValue(GetThemeColor(41), blend(COLOR_WINDOW, COLOR_BTNFACE, 550));
    m_clrStatusPane.SetStandardValue(blend(COLOR_BTNFACE, COLOR_WINDOW, 70));
    if (IsLowResolution()) {
        for (CKLVGradientColorValue* p : {&m_grcBarBody, &m_grcDockBar, &m_grcPopuped, &m_grcExpandButton})
            p->SetStandardSolid(clrFace);
    }
    const int nScheme = GetColorManagerTheme();
    if (nScheme >= 1 && nScheme <= 3) ApplyScheme(nScheme);
    if (m_bSchemeColors) {
        const int nIndexes[] = {35, 58, 60, 61};
        const COLORREF clrs[] = {0x8d8d8d, 0x8d8d8d, 0x8d8d8d, COLORREF(m_clrFloatingCaption)};
        SetStandardColors(static_cast<int>(std::size(nIndexes)), nIndexes, clrs);
    }
    RebuildGlyph();
}

void CKLVPaintManagerTheme2::ApplyScheme(int nScheme) {
    const Scheme& s = kSchemes[nScheme - 1];
    Set(m_grcDockBar, s.dockBar);
    Set(m_grcBarBody, s.barBody);
    m_clrBarBorder.SetStandardValue(s.clrBarBorder);
    m_clrFloatingCaption.SetStandardValue(s.clrFloatingCaption);
    Set(m_grcPopuped, s.popuped);
    Set(m_grcExpandButton, s.expandButton);
    Set(m_grcExpandedGutter, s.expandedGutter);
    Set(m_grcExtra, s.extra);
    m_clrStatusPane.SetStandardValue(s.clrStatusPane);
    Set(m_grcDisabledIcon, s.disabledIcon);
    m_clrTearOff.SetStandardValue(s.clrTearOff);
    m_clrShadow = s.clrShadow;
    SetStandardColors(16, kSchemeIndexes, s.clrs);
    const int nFrames[] = {37, 50};
    const COLORREF clrFrames[] = {s.clrs[3], s.clrs[3]};
    SetStandardColors(2, nFrames, clrFrames);
    m_bSchemeColors = TRUE;
}

void CKLVPaintManagerTheme2::RebuildGlyph() {
    if (m_hGlyphImages) ImageList_Destroy(m_hGlyphImages);
    m_hGlyphImages = nullptr;
    const COLORREF clrFrom = m_grcExtra.m_clrFrom, clrTo = m_grcExtra.m_clrTo;
    CDC dcScreen;
    dcScreen.Attach(::GetDC(nullptr));
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dcScreen, 16, 16);
    {
        CKLVCompatibleDC dc(&dcScreen, &bitmap);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int v = kGlyph[y][x];
                dc.SetPixel(x, y, v == 0xff ? kGlyphMask
                                            : RGB(Shade(GetRValue(clrFrom), GetRValue(clrTo), v),
                                                  Shade(GetGValue(clrFrom), GetGValue(clrTo), v),
                                                  Shade(GetBValue(clrFrom), GetBValue(clrTo), v)));
            }
    }
    ::ReleaseDC(nullptr, dcScreen.Detach());
    m_hGlyphImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (m_hGlyphImages) ImageList_AddMasked(m_hGlyphImages, static_cast<HBITMAP>(bitmap.GetSafeHandle()), kGlyphMask);
}
