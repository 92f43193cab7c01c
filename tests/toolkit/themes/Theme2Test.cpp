// The gradient themes under forced colour schemes: button states as gradients in the scheme's
// colours and directions, wrapped bodies, low-colour displays, theme 4's flat states, glyph and
// separators.
#include "ThemeTestSupport.h"
#include "ToolkitTestSupport.h"
#include "toolkit/themes/PaintManagerTheme2.h"

#include <cstdlib>

namespace themes_test {
namespace {

BOOL Near(COLORREF a, COLORREF b, int nSteps) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= nSteps && std::abs(GetGValue(a) - GetGValue(b)) <= nSteps &&
           std::abs(GetBValue(a) - GetBValue(b)) <= nSteps;
}

CKLVPaintManagerTheme2* AsGradient(const ThemePtr& p) { return static_cast<CKLVPaintManagerTheme2*>(p.get()); }

// A state drawn over 40 by 40 pixels: the frame and the inside's two ends along both axes.
struct Gradient {
    COLORREF frame, topLeft, bottomLeft, topRight;
};

Gradient DrawState(CKLVPaintManager& pm, int nSelected, int nPressed, int nChecked, int nPosition) {
    Dib dib(44, 44);
    pm.DrawRectangle(&dib.m_dc, CRect(2, 2, 42, 42), nSelected, nPressed, TRUE, nChecked, FALSE,
                     CKLVCommandBar::barTypeNormal, nPosition);
    return {dib.At(2, 20), dib.At(3, 3), dib.At(3, 40), dib.At(40, 3)};
}

TEST(Theme2, SchemeOneDrawsHotAndPressedButtonsAsGradientsAlongTheBar) {
    ForcedScheme scheme(1);
    ThemePtr pTheme = MakeTheme(2, FALSE);
    ASSERT_TRUE(AsGradient(pTheme)->m_bSchemeColors);
    const struct {
        int nSelected, nPressed, nChecked, nPosition;
        COLORREF clrFrom, clrTo, clrFrame;
        BOOL bHorizontal;
    } cases[] = {
        {1, 0, 0, CKLVCommandBar::barTop, 0xc8f2ff, 0x97d4ff, 0x800000, FALSE},
        {1, 0, 0, CKLVCommandBar::barLeft, 0xc8f2ff, 0x97d4ff, 0x800000, TRUE},
        {1, 1, 0, CKLVCommandBar::barTop, 0x4b8efe, 0x8bcfff, 0x800000, FALSE},
        {1, 0, 1, CKLVCommandBar::barTop, 0x4b8efe, 0x8bcfff, 0x800000, FALSE},   // checked and hot: pressed
        {0, 0, 1, CKLVCommandBar::barTop, 0x8cd5ff, 0x55adff, 0x800000, FALSE},
    };
    for (const auto& c : cases) {
        const Gradient g = DrawState(*pTheme, c.nSelected, c.nPressed, c.nChecked, c.nPosition);
        const COLORREF clrEnd = c.bHorizontal ? g.topRight : g.bottomLeft;
        const COLORREF clrAcross = c.bHorizontal ? g.bottomLeft : g.topRight;
        const std::string what = std::to_string(c.nSelected) + std::to_string(c.nPressed) +
                                 std::to_string(c.nChecked) + " at " + std::to_string(c.nPosition);
        EXPECT_EQ(g.frame, c.clrFrame) << what;
        EXPECT_TRUE(Near(g.topLeft, c.clrFrom, 6)) << what << std::hex << " " << g.topLeft;
        EXPECT_TRUE(Near(clrEnd, c.clrTo, 6)) << what << std::hex << " " << clrEnd;
        EXPECT_EQ(clrAcross, g.topLeft) << what;
    }
}

TEST(Theme2, ATopDockedWrappedBarHasItsBodyGradientOverTheFirstRowOnly) {
    ForcedScheme scheme(1);
    ThemePtr pTheme = MakeTheme(2, FALSE);
    commandbars_test::CTestSite site;
    commandbars_test::CTestBar<> bar(&site);
    bar.m_barPosition = CKLVCommandBar::barTop;
    bar.MoveWindow(0, 0, 100, 50, FALSE);
    const CRect rows[] = {CRect(4, 2, 98, 24), CRect(4, 24, 98, 46)};
    for (const CRect& rcRow : rows) {
        CKLVControl* pControl = bar.GetControls()->Add(CKLVControl::typeButton, 0);
        pControl->m_rcRow = rcRow;
        pControl->m_rcControl = rcRow;
    }
    Dib dib(100, 50);
    pTheme->FillCommandBar(&dib.m_dc, &bar);
    const COLORREF clrEnd = AsGradient(pTheme)->m_grcBarBody.m_clrTo;
    EXPECT_EQ(clrEnd, COLORREF(0xe2a981));
    EXPECT_TRUE(Near(dib.At(50, 2), 0xfeecdd, 8)) << std::hex << dib.At(50, 2);
    for (int y = 26; y < 49; y += 5) EXPECT_EQ(dib.At(50, y), clrEnd) << y;
    EXPECT_EQ(dib.At(50, 49), COLORREF(0x9c613b));   // the border line
}

TEST(Theme2, EightBitDisplaysGetSolidBodiesDockBarsAndPopupedButtons) {
    toolkit_test::FakeDesktop desktop;
    desktop.m_nBits = 8;
    ForcedScheme scheme(0);
    ThemePtr pTheme = MakeTheme(2, FALSE);
    const COLORREF clrFace = pTheme->GetThemeColor(COLOR_BTNFACE);
    CKLVPaintManagerTheme2* p = AsGradient(pTheme);
    for (const CKLVGradientColorValue* grc : {&p->m_grcBarBody, &p->m_grcDockBar, &p->m_grcPopuped,
                                              &p->m_grcExpandButton}) {
        EXPECT_EQ(COLORREF(grc->m_clrFrom), clrFace);
        EXPECT_EQ(COLORREF(grc->m_clrTo), clrFace);
    }
}

TEST(Theme4, WithoutASchemeHotAndPressedButtonsAreFlat) {
    ForcedScheme scheme(0);
    ThemePtr pTheme = MakeTheme(4, FALSE);
    EXPECT_EQ(pTheme->GetThemeId(), 4);
    EXPECT_FALSE(AsGradient(pTheme)->m_bSchemeColors);
    const struct {
        int nSelected, nPressed, nFrame, nFill;
    } cases[] = {{1, 0, 32, 31}, {1, 1, 50, 33}, {0, 2, 50, 33}};
    for (const auto& c : cases) {
        const Gradient g = DrawState(*pTheme, c.nSelected, c.nPressed, 0, CKLVCommandBar::barTop);
        EXPECT_EQ(g.frame, pTheme->GetThemeColor(c.nFrame));
        EXPECT_EQ(g.topLeft, pTheme->GetThemeColor(c.nFill));
        EXPECT_EQ(g.bottomLeft, g.topLeft);
    }
}

TEST(Theme4, SchemeOneShadesTheExpandGlyphInTheBodyColours) {
    ForcedScheme scheme(1);
    ThemePtr pTheme = MakeTheme(4, FALSE);
    EXPECT_FALSE(AsGradient(pTheme)->m_bSchemeColors);
    Dib dib(16, 16);
    ASSERT_NE(AsGradient(pTheme)->GetGlyphImageList(), nullptr);
    ImageList_Draw(AsGradient(pTheme)->GetGlyphImageList(), 0, dib.m_dc.GetSafeHdc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(dib.At(13, 12), COLORREF(0xa8c0c0));   // intensity 0
    EXPECT_TRUE(Near(dib.At(4, 1), 0xf5f9fa, 3)) << std::hex << dib.At(4, 1);   // intensity 0xfc
    for (const CPoint pt : {CPoint(0, 0), CPoint(15, 0), CPoint(0, 15), CPoint(15, 15)})
        EXPECT_EQ(dib.At(pt.x, pt.y), kBack) << pt.x << "," << pt.y;
}

TEST(Theme4, SeparatorsInsideARowHaveNoHighlightWhileWrappedRowsKeepIt) {
    const struct {
        int nTheme;
        BOOL bWrap, bHighlight;
    } cases[] = {{2, FALSE, TRUE}, {4, FALSE, FALSE}, {4, TRUE, TRUE}, {2, TRUE, TRUE}};
    for (const auto& c : cases) {
        ThemePtr pTheme = MakeTheme(c.nTheme);
        CKLVCommandBar bar;
        bar.m_barPosition = CKLVCommandBar::barTop;
        CKLVControl* pControl = bar.GetControls()->Add(CKLVControl::typeButton, 0);
        pControl->m_bWrap = c.bWrap;
        pControl->m_rcRow = CRect(0, 30, 60, 52);
        pControl->m_rcControl = CRect(20, 30, 42, 52);
        Dib dib(70, 60);
        pTheme->DrawSeparator(&dib.m_dc, &bar, pControl, TRUE);
        // The line and its highlight: a vertical pair at x 16/17 inside a row, a horizontal pair
        // at y 26/27 above a wrapped row.
        const CPoint ptLine = c.bWrap ? CPoint(30, 26) : CPoint(16, 40);
        const CPoint ptLight = c.bWrap ? CPoint(30, 27) : CPoint(17, 40);
        EXPECT_EQ(dib.At(ptLine.x, ptLine.y), Numbered(39)) << c.nTheme << "/" << c.bWrap;
        EXPECT_EQ(dib.At(ptLight.x, ptLight.y), c.bHighlight ? Numbered(20) : kBack) << c.nTheme << "/" << c.bWrap;
    }
}

// A dock bar is any window: its fixed styles make it solid, else it takes the gradient across the
// screen's half from its left end.
TEST(Theme2, DockBarsOfFixedStylesAreSolidOthersAGradientFromTheLeft) {
    ForcedScheme scheme(1);
    ThemePtr pTheme = MakeTheme(2, FALSE);
    const CKLVGradientColorValue& grc = AsGradient(pTheme)->m_grcDockBar;
    ASSERT_NE(COLORREF(grc.m_clrFrom), COLORREF(grc.m_clrTo));
    const struct {
        DWORD dwStyle;
        BOOL bSolid;
    } cases[] = {{0, FALSE}, {0x0100, TRUE}, {0x4000, TRUE}, {0x0100 | 0x4000, TRUE}, {0x0200, FALSE}};
    for (const auto& c : cases) {
        CWnd window;
        ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_POPUP | c.dwStyle, 0, 0, 60, 20, nullptr, nullptr));
        Dib dib(60, 20);
        pTheme->FillDockBar(&dib.m_dc, &window, CKLVCommandBar::barTop);
        if (c.bSolid) {
            EXPECT_EQ(dib.At(0, 10), COLORREF(grc.m_clrTo)) << c.dwStyle;
            EXPECT_EQ(dib.At(59, 10), COLORREF(grc.m_clrTo)) << c.dwStyle;
        } else {
            EXPECT_TRUE(Near(dib.At(0, 10), grc.m_clrFrom, 2)) << c.dwStyle << std::hex << " " << dib.At(0, 10);
            EXPECT_NE(dib.At(0, 10), COLORREF(grc.m_clrTo)) << c.dwStyle;
        }
        window.DestroyWindow();
    }
}

}  // namespace
}  // namespace themes_test
