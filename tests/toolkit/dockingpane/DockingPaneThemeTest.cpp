// The pane themes: metrics and colours under each forced XP scheme, and the pixels of caption
// backgrounds, button glyphs and splitter bars.
#include "DockingInstalledHost.h"

#include "toolkit/common/NonClientMetrics.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneSplitter.h"
#include "toolkit/dockingpane/DockingPaneTheme2.h"
#include "toolkit/dockingpane/DockingPaneTheme4.h"
#include "toolkit/dockingpane/DockingPaneThemes.h"
#include "toolkit/tabs/TabTestHost.h"
#include "DockingThemeTestSupport.h"

#include <memory>

namespace {

using namespace dockingpane_test;

int SpaceHeight(CFont* pFont) {
    CClientDC dc(nullptr);
    CFont* pOld = dc.SelectObject(pFont);
    const int nHeight = dc.GetTextExtent(" ", 1).cy;
    dc.SelectObject(pOld);
    return nHeight;
}

BOOL Between(COLORREF clr, COLORREF clrA, COLORREF clrB) {
    for (int nShift : {0, 8, 16}) {
        const int c = (clr >> nShift) & 0xFF, a = (clrA >> nShift) & 0xFF, b = (clrB >> nShift) & 0xFF;
        if (c < std::min(a, b) || c > std::max(a, b)) return FALSE;
    }
    return TRUE;
}

int Distance(COLORREF a, COLORREF b) {
    int n = 0;
    for (int nShift : {0, 8, 16}) n += std::abs(static_cast<int>((a >> nShift) & 0xFF) - static_cast<int>((b >> nShift) & 0xFF));
    return n;
}

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kMagenta = RGB(255, 0, 255);

}  // namespace

TEST(DockingPaneThemeMetrics, CaptionAndTabRowUnderEveryScheme) {
    for (int nScheme = 0; nScheme <= 3; nScheme++) {
        ForcedScheme scheme(nScheme);
        for (int nTheme = 0; nTheme <= 10; nTheme++) {
            ThemePtr pTheme = MakeTheme(nTheme);
            EXPECT_GE(pTheme->GetTabRowHeight(), 24) << nTheme << "/" << nScheme;
            EXPECT_EQ(pTheme->GetCaptionHeight(),
                      pTheme->m_nCaptionTextMargin + std::max(13, SpaceHeight(pTheme->GetCaptionFont())))
                << nTheme << "/" << nScheme;
        }
    }
}

TEST(DockingPaneThemeMetrics, VerticalCaptionFontIsNeverSmallerThanElevenPixels) {
    const struct { LONG nHeight; LONG nVertical; } cases[] = {{-8, -11}, {-1, -11}, {-10, -11}, {-11, -11}, {-14, -14}, {0, 0}, {12, 12}};
    ThemePtr pTheme = MakeTheme(0);
    for (const auto& c : cases) {
        CKLVNonClientMetrics ncm;
        LOGFONTA lf = ncm.lfSmCaptionFont;
        lf.lfHeight = c.nHeight;
        pTheme->SetCaptionFont(lf, TRUE);
        LOGFONTA lfVertical = {};
        pTheme->GetCaptionFont(TRUE)->GetLogFont(&lfVertical);
        EXPECT_EQ(lfVertical.lfHeight, c.nVertical) << c.nHeight;
        EXPECT_EQ(lfVertical.lfEscapement, 2700) << c.nHeight;
        LOGFONTA lfHorizontal = {};
        pTheme->GetCaptionFont()->GetLogFont(&lfHorizontal);
        EXPECT_EQ(lfHorizontal.lfHeight, c.nHeight);
    }
}

TEST(DockingPaneThemeMetrics, Theme9ColoursPerScheme) {
    ForcedScheme none(0);
    const COLORREF clrActive = GetColorManager()->GetColor(COLOR_ACTIVECAPTION);
    const COLORREF clrShadow = GetColorManager()->GetColor(COLOR_BTNSHADOW);
    const struct { int nScheme; COLORREF clrActiveFrom, clrActiveTo, clrInactive, clrBorder; BOOL bBlackText; } cases[] = {
        {0, clrActive, clrActive, GetColorManager()->GetColor(COLOR_INACTIVECAPTION), clrShadow, FALSE},
        {1, 0xED803B, 0xC56A31, 0xBAC7CC, clrShadow, TRUE},
        {2, 0x92C3B6, 0x75A091, 0xBAC7CC, clrShadow, TRUE},
        {3, 0xDDD4D3, 0xBFA5A6, 0xF5F0F0, 0x9C9B91, TRUE},
    };
    for (const auto& c : cases) {
        ForcedScheme scheme(c.nScheme);
        ThemePtr pTheme = MakeTheme(9);
        auto* p9 = dynamic_cast<CKLVDockingPaneTheme9*>(pTheme.get());
        ASSERT_NE(p9, nullptr);
        EXPECT_EQ(COLORREF(p9->m_clrActiveCaption.m_clrFrom), c.clrActiveFrom) << c.nScheme;
        EXPECT_EQ(COLORREF(p9->m_clrActiveCaption.m_clrTo), c.clrActiveTo) << c.nScheme;
        EXPECT_EQ(COLORREF(p9->m_clrInactiveCaption.m_clrFrom), c.clrInactive) << c.nScheme;
        EXPECT_EQ(COLORREF(p9->m_clrInactiveCaption.m_clrTo), c.clrInactive) << c.nScheme;
        EXPECT_EQ(p9->m_clrCaptionBorder, c.clrBorder) << c.nScheme;
        EXPECT_EQ(COLORREF(p9->m_clrInactiveCaptionText) == 0, c.bBlackText) << c.nScheme;
        EXPECT_EQ(p9->m_nSplitterStyle, CKLVDockingPaneTheme::splitterGradientHorz);
        EXPECT_EQ(p9->m_rcCaptionMargin, CRect(0, 0, 0, 0));
    }
}

TEST_F(DetachedLayoutTest, Theme9CaptionIsOpenTowardTheContent) {
    ForcedScheme scheme(1);
    ThemePtr pTheme = MakeTheme(9);
    CKLVDockingPaneTabbedContainer* pOwner = tree.Tabbed({tree.Pane(1)});
    const COLORREF clrBorder = static_cast<CKLVDockingPaneTheme9*>(pTheme.get())->m_clrCaptionBorder;
    const struct { BOOL bVertical; CPoint ptOpen; std::vector<CPoint> border; } cases[] = {
        {FALSE, {30, 17}, {{30, 0}, {0, 9}, {59, 9}}},
        {TRUE, {59, 9}, {{30, 0}, {0, 9}, {30, 17}}},
    };
    for (const auto& c : cases) {
        tabs_test::Canvas canvas;
        const CRect rcBand(0, 0, 60, 18);
        // Inactive: a solid fill, so every inner pixel has the one colour.
        pTheme->DrawCaptionBackground(&canvas.m_dc, pOwner, rcBand, FALSE, c.bVertical);
        EXPECT_EQ(canvas.At(30, 9), COLORREF(0xBAC7CC)) << c.bVertical;
        EXPECT_EQ(canvas.At(c.ptOpen), COLORREF(0xBAC7CC)) << c.bVertical;
        for (CPoint pt : c.border) EXPECT_EQ(canvas.At(pt), clrBorder) << c.bVertical << " " << pt.x << "," << pt.y;
        EXPECT_EQ(canvas.At(60, 9), kMagenta);
        // Active: the gradient runs along the caption from its first colour to its second.
        pTheme->DrawCaptionBackground(&canvas.m_dc, pOwner, rcBand, TRUE, c.bVertical);
        const CPoint ptStart = c.bVertical ? CPoint(30, 1) : CPoint(1, 9);
        const CPoint ptEnd = c.bVertical ? CPoint(30, 16) : CPoint(58, 9);
        EXPECT_LT(Distance(canvas.At(ptStart), 0xED803B), Distance(canvas.At(ptStart), 0xC56A31)) << c.bVertical;
        EXPECT_LT(Distance(canvas.At(ptEnd), 0xC56A31), Distance(canvas.At(ptEnd), 0xED803B)) << c.bVertical;
    }
}

TEST_F(DetachedLayoutTest, Theme1ActiveCaptionIsSolidAndInactiveAnOutlineWithoutCorners) {
    ForcedScheme scheme(0);
    ThemePtr pTheme = MakeTheme(1);
    CKLVDockingPaneTabbedContainer* pOwner = tree.Tabbed({tree.Pane(1)});
    const COLORREF clrActive = pTheme->GetColor(COLOR_ACTIVECAPTION);
    const COLORREF clrOutline = pTheme->GetColor(52);
    const CRect rcBand(10, 10, 50, 28);
    tabs_test::Canvas active;
    EXPECT_EQ(pTheme->DrawCaptionBackground(&active.m_dc, pOwner, rcBand, TRUE, FALSE), pTheme->GetColor(COLOR_CAPTIONTEXT));
    EXPECT_EQ(active.Count(rcBand, clrActive), rcBand.Width() * rcBand.Height());
    tabs_test::Canvas inactive;
    EXPECT_EQ(pTheme->DrawCaptionBackground(&inactive.m_dc, pOwner, rcBand, FALSE, FALSE), pTheme->GetColor(COLOR_BTNTEXT));
    const struct { CPoint pt; COLORREF clr; } pixels[] = {
        {{10, 10}, kMagenta}, {{49, 10}, kMagenta}, {{10, 27}, kMagenta}, {{49, 27}, kMagenta},
        {{11, 10}, clrOutline}, {{10, 11}, clrOutline}, {{48, 27}, clrOutline}, {{49, 26}, clrOutline},
        {{30, 19}, kMagenta},
    };
    for (const auto& p : pixels) EXPECT_EQ(inactive.At(p.pt), p.clr) << p.pt.x << "," << p.pt.y;
    EXPECT_EQ(inactive.Count(rcBand, clrOutline), 2 * (rcBand.Width() - 2) + 2 * (rcBand.Height() - 2));
}

TEST_F(DetachedLayoutTest, CaptionButtonGlyphs) {
    ThemePtr pTheme = MakeTheme(0);
    CKLVDockingPaneTabbedContainer* pOwner = tree.Tabbed({tree.Pane(1)});
    const CPoint c(20, 20);
    struct Case { const char* pszCase; UINT nID; DWORD dwState; std::vector<CPoint> black; std::vector<CPoint> clear; };
    const Case cases[] = {
        {"close", klvCaptionButtonClose, 0, {{16, 16}, {17, 16}, {20, 20}, {22, 22}, {23, 22}, {16, 22}, {22, 16}, {20, 18}},
         {{23, 23}, {20, 16}, {15, 15}}},
        {"menu", klvCaptionButtonMenu, 0, {{20, 20}, {18, 19}, {20, 22}}, {{20, 25}, {14, 19}, {20, 17}}},
        {"pin, pinned", klvCaptionButtonAutoHide, 3, {{20, 24}, {16, 21}}, {{15, 21}}},
        {"pin, loose", klvCaptionButtonAutoHide, 1, {{15, 21}, {18, 17}}, {{20, 24}}},
        {"maximize", klvCaptionButtonMaximize, 0, {{15, 15}, {23, 15}, {15, 16}, {15, 23}, {23, 23}}, {{19, 19}}},
    };
    for (const Case& k : cases) {
        tabs_test::Canvas canvas(RGB(255, 255, 255));
        CKLVDockingPaneCaptionButton button(k.nID, pOwner, nullptr);
        button.SetState(k.dwState);
        pTheme->DrawCaptionButtonGlyph(&canvas.m_dc, &button, c, kBlack);
        for (CPoint pt : k.black) EXPECT_EQ(canvas.At(pt), kBlack) << k.pszCase << " " << pt.x << "," << pt.y;
        for (CPoint pt : k.clear) EXPECT_EQ(canvas.At(pt), RGB(255, 255, 255)) << k.pszCase << " " << pt.x << "," << pt.y;
    }
}

TEST_F(InstalledManagerTest, SplitterBarsFollowTheSplitterStyle) {
    ForcedScheme scheme(1);
    site->MoveWindow(0, 0, 400, 300, FALSE);
    CRect rcSite;
    site->GetClientRect(&rcSite);
    CKLVDockingPaneSplitter left, right;
    ASSERT_TRUE(left.Create(manager.get(), FALSE));
    ASSERT_TRUE(right.Create(manager.get(), FALSE));
    left.MoveWindow(0, 0, 4, 100, FALSE);
    right.MoveWindow(rcSite.right - 4, 0, 4, 100, FALSE);

    // Style 0: the face colour only.
    manager->SetTheme(0);
    tabs_test::Canvas plain;
    manager->GetPaintManager()->DrawSplitter(&plain.m_dc, &left);
    EXPECT_EQ(plain.Count(CRect(0, 0, 4, 100), manager->GetPaintManager()->GetColor(COLOR_BTNFACE)), 400);
    EXPECT_EQ(plain.At(4, 50), kMagenta);

    // Style 4 (theme 6): a left-to-right gradient measured over the whole site.
    manager->SetTheme(6);
    const CKLVGradientColorValue& grc = manager->GetPaintManager()->m_clrSplitterGradient;
    const COLORREF clrFrom = grc.m_clrFrom, clrTo = grc.m_clrTo;
    ASSERT_EQ(clrFrom, COLORREF(0xD7E5E5));
    tabs_test::Canvas atLeft, atRight;
    manager->GetPaintManager()->DrawSplitter(&atLeft.m_dc, &left);
    manager->GetPaintManager()->DrawSplitter(&atRight.m_dc, &right);
    EXPECT_TRUE(Between(atLeft.At(1, 50), clrFrom, clrTo));
    EXPECT_TRUE(Between(atRight.At(1, 50), clrFrom, clrTo));
    EXPECT_LT(Distance(atLeft.At(1, 50), clrFrom), 4);
    EXPECT_LT(Distance(atRight.At(1, 50), clrTo), 4);
}

TEST_F(InstalledManagerTest, ThemeIdsBuildTheirClasses) {
    const struct { int nId; const char* pszClass; } cases[] = {
        {0, "0"}, {11, "0"}, {-1, "0"}, {1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}, {5, "5"},
        {6, "6"}, {7, "7"}, {8, "8"}, {9, "9"}, {10, "10"},
    };
    for (const auto& c : cases) {
        manager->m_nStickerStyle = 0;
        manager->SetTheme(c.nId);
        CKLVDockingPaneTheme* pTheme = manager->GetPaintManager();
        EXPECT_EQ(pTheme->m_nTheme, c.nId);
        // Most derived first.
        const char* pszClass = dynamic_cast<CKLVDockingPaneTheme10*>(pTheme)  ? "10"
                               : dynamic_cast<CKLVDockingPaneTheme7*>(pTheme) ? "7"
                               : dynamic_cast<CKLVDockingPaneTheme2*>(pTheme) ? "2"
                               : dynamic_cast<CKLVDockingPaneTheme3*>(pTheme) ? "3"
                               : dynamic_cast<CKLVDockingPaneTheme5*>(pTheme) ? "5"
                               : dynamic_cast<CKLVDockingPaneTheme9*>(pTheme) ? "9"
                               : dynamic_cast<CKLVDockingPaneTheme6*>(pTheme) ? "6"
                               : dynamic_cast<CKLVDockingPaneTheme1*>(pTheme) ? "1"
                               : dynamic_cast<CKLVDockingPaneTheme8*>(pTheme) ? "8"
                               : dynamic_cast<CKLVDockingPaneTheme4*>(pTheme) ? "4"
                                                                              : "0";
        EXPECT_STREQ(pszClass, c.pszClass) << c.nId;
        EXPECT_EQ(manager->m_nStickerStyle, c.nId == 9 ? 1 : 0) << c.nId;
    }
}

TEST(DockingPaneThemeMetrics, Theme6ColoursPerScheme) {
    const struct { int nScheme; COLORREF clrSplitterFrom, clrInactiveFrom, clrActiveFrom; BOOL bBlackText; } cases[] = {
        {1, 0xD7E5E5, 0xC6D7D8, COLORREF(-1), TRUE},
        {2, 0xD7E5E5, 0xC6D7D8, COLORREF(-1), TRUE},
        {3, 0xE5D7D7, 0xEBE0E0, 0xBA9EA0, TRUE},
        {0, COLORREF(-1), COLORREF(-1), COLORREF(-1), FALSE},
    };
    for (const auto& c : cases) {
        ForcedScheme scheme(c.nScheme);
        ThemePtr pTheme = MakeTheme(6);
        auto* p6 = dynamic_cast<CKLVDockingPaneTheme6*>(pTheme.get());
        ASSERT_NE(p6, nullptr);
        // -1: the system-derived value of theme 1's refresh stays.
        const COLORREF clrSplitter = c.clrSplitterFrom != COLORREF(-1)
                                         ? c.clrSplitterFrom
                                         : p6->GetColor(COLOR_BTNFACE);
        const COLORREF clrInactive = c.clrInactiveFrom != COLORREF(-1) ? c.clrInactiveFrom
                                                                      : p6->GetColor(COLOR_INACTIVECAPTION);
        const COLORREF clrActive = c.clrActiveFrom != COLORREF(-1) ? c.clrActiveFrom : p6->GetColor(COLOR_ACTIVECAPTION);
        EXPECT_EQ(COLORREF(p6->m_clrSplitterGradient.m_clrFrom), clrSplitter) << c.nScheme;
        EXPECT_EQ(COLORREF(p6->m_clrInactiveCaption.m_clrFrom), clrInactive) << c.nScheme;
        EXPECT_EQ(COLORREF(p6->m_clrActiveCaption.m_clrFrom), clrActive) << c.nScheme;
        EXPECT_EQ(COLORREF(p6->m_clrInactiveCaptionText),
                  c.bBlackText ? COLORREF(0) : p6->GetColor(COLOR_INACTIVECAPTIONTEXT)) << c.nScheme;
        EXPECT_TRUE(p6->m_bGradientCaptions);
    }
}
