// The pane theme variants: the colours of the XP schemes and of the resource theme, the caption
// font of theme 7, and the pixels of their caption bands, grips, lines and frames.
#include "DockingTestHost.h"
#include "DockingThemeTestSupport.h"

#include "toolkit/common/ResourceImages.h"
#include "toolkit/common/WinThemeWrapper.h"
#include "toolkit/dockingpane/DockingPaneTheme2.h"
#include "toolkit/dockingpane/DockingPaneTheme4.h"
#include "toolkit/tabs/FakeVisualStyle.h"
#include "toolkit/tabs/TabTestHost.h"

using namespace dockingpane_test;

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

template <class T>
T* As(const ThemePtr& pTheme) {
    return dynamic_cast<T*>(pTheme.get());
}

// XP colours switched off in the colour manager while it lives.
class LunaColorsDisabled {
public:
    LunaColorsDisabled() { SetDisabled(TRUE); }
    ~LunaColorsDisabled() { SetDisabled(FALSE); }

private:
    static void SetDisabled(BOOL bDisabled) {
        GetColorManager()->m_bLunaColorsDisabled = bDisabled;
        RefreshColors();
    }
};

// The common tests' skin module as the resource theme while it lives.
class SkinModule {
public:
    SkinModule() { m_bLoaded = KLVResourceImages()->SetResourceModule(::LoadLibraryA(KLV_TEST_SKIN_DLL), nullptr, TRUE); }
    ~SkinModule() { KLVResourceImages()->SetResourceModule(nullptr); }
    BOOL m_bLoaded;
};

}  // namespace

TEST(DockingPaneThemeVariants, Theme2SchemesWriteTheirTableAndKeepTheSystemGrip) {
    ForcedScheme none(0);
    const COLORREF clrSystemGrip = GetColorManager()->GetColor(38);
    const struct {
        int nScheme;
        COLORREF clrBorder, clrGrip, clrSplitter, clrInactiveFrom;
    } cases[] = {
        {1, 0x800000, 0x764127, 0xFCE7D8, 0xFEECDD},
        {2, 0x385D3F, 0x335E51, 0xBFE7E2, 0xDEF7F4},
        {3, 0x6F4B4B, 0x755454, 0xEADFDF, 0xFFF9F9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nScheme);
        ThemePtr pTheme(CKLVDockingPaneTheme::CreateTheme(2));
        auto* p2 = As<CKLVDockingPaneTheme2>(pTheme);
        ASSERT_NE(p2, nullptr);
        p2->m_nColorScheme = c.nScheme;
        p2->RefreshMetrics();
        for (int nIndex : {32, 37, 50}) EXPECT_EQ(p2->GetColor(nIndex), c.clrBorder) << nIndex;
        ASSERT_NE(clrSystemGrip, c.clrGrip);
        EXPECT_EQ(p2->GetColor(38), c.clrGrip);
        EXPECT_EQ(COLORREF(p2->m_clrSplitterGripper), clrSystemGrip);
        EXPECT_EQ(COLORREF(p2->m_clrSplitter), c.clrSplitter);
        EXPECT_EQ(COLORREF(p2->m_clrInactiveCaption.m_clrFrom), c.clrInactiveFrom);
        EXPECT_EQ(COLORREF(p2->m_clrActiveCaption.m_clrFrom), COLORREF(0x8CD5FF));
        EXPECT_TRUE(p2->m_bUseResourceColors);
    }
}

TEST(DockingPaneThemeVariants, Theme2AppliesNoSchemeWhenTheFieldNamesNone) {
    ForcedScheme blue(1);
    const struct {
        const char* name;
        int nField;
        bool bLunaDisabled, bApplied;
    } cases[] = {
        {"automatic", 5, false, true},
        {"automatic without XP colours", 5, true, false},
        {"none", 0, false, false},
        {"out of range", 9, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<LunaColorsDisabled> pDisabled(c.bLunaDisabled ? new LunaColorsDisabled : nullptr);
        ThemePtr pTheme(CKLVDockingPaneTheme::CreateTheme(2));
        auto* p2 = As<CKLVDockingPaneTheme2>(pTheme);
        p2->m_nColorScheme = c.nField;
        p2->RefreshMetrics();
        EXPECT_EQ(p2->m_bUseResourceColors, c.bApplied ? TRUE : FALSE);
        if (c.bApplied) continue;
        // The active caption is solid toolkit colour 36.
        tabs_test::Canvas canvas;
        const CRect rcBand(0, 0, 60, 18);
        p2->DrawCaptionBackground(&canvas.m_dc, nullptr, rcBand, TRUE, FALSE);
        EXPECT_EQ(canvas.Count(rcBand, p2->GetColor(36)), rcBand.Width() * rcBand.Height());
    }
}

TEST(DockingPaneThemeVariants, Theme7MakesItsCaptionFontOnce) {
    ThemePtr pTheme = MakeTheme(7);
    for (int nRefresh = 1; nRefresh <= 3; ++nRefresh) {
        pTheme->RefreshMetrics();
        LOGFONTA lf = {};
        pTheme->GetCaptionFont()->GetLogFont(&lf);
        EXPECT_STREQ(lf.lfFaceName, "Arial") << nRefresh;
        EXPECT_EQ(lf.lfWeight, 700) << nRefresh;
        EXPECT_EQ(lf.lfHeight, 20) << nRefresh;
        EXPECT_FALSE(pTheme->m_bUseSystemCaptionFont);
    }
}

TEST(DockingPaneThemeVariants, Theme10ShowsTheBlueColoursWithoutAResourceTheme) {
    KLVResourceImages()->SetResourceModule(nullptr);
    for (int nScheme = 0; nScheme <= 3; ++nScheme) {
        SCOPED_TRACE(nScheme);
        ForcedScheme scheme(nScheme);
        ThemePtr pTheme = MakeTheme(10);
        auto* p10 = As<CKLVDockingPaneTheme10>(pTheme);
        ASSERT_NE(p10, nullptr);
        const struct { int nIndex; COLORREF clr; } entries[] = {
            {54, 0xCF9365}, {51, 0xFFDBBF}, {COLOR_3DHIGHLIGHT, 0xFFFFFF}, {32, 0x800000}, {43, 0x962D00}};
        for (const auto& e : entries) EXPECT_EQ(p10->GetColor(e.nIndex), e.clr) << e.nIndex;
        EXPECT_EQ(COLORREF(p10->m_clrSplitter), COLORREF(0xFCE7D8));
        EXPECT_EQ(COLORREF(p10->m_clrActiveCaption.m_clrFrom), COLORREF(0xA2E7FF));
        EXPECT_EQ(COLORREF(p10->m_clrInactiveCaption.m_clrTo), COLORREF(0xFFD2AF));
        EXPECT_EQ(COLORREF(p10->m_clrInactiveCaptionText), COLORREF(0x723708));
        EXPECT_EQ(COLORREF(p10->m_clrActiveCaptionText), COLORREF(0x723708));
        EXPECT_TRUE(p10->m_bUseResourceColors);
    }
}

TEST(DockingPaneThemeVariants, Theme10TakesTheResourceThemesKeys) {
    ForcedScheme none(0);
    SkinModule skin;
    ASSERT_TRUE(skin.m_bLoaded);
    ThemePtr pTheme = MakeTheme(10);
    auto* p10 = As<CKLVDockingPaneTheme10>(pTheme);
    const struct { const char* name; COLORREF clr, clrExpected; } cases[] = {
        {"WindowFrame", p10->GetColor(54), RGB(1, 2, 3)},
        {"ButtonFace", p10->GetColor(51), RGB(4, 5, 6)},
        {"EdgeHighLightColor", p10->GetColor(COLOR_3DHIGHLIGHT), RGB(7, 8, 9)},
        {"Splitter", p10->m_clrSplitter, RGB(10, 11, 12)},
        {"grip from WindowFrame", p10->m_clrSplitterGripper, RGB(1, 2, 3)},
        {"ToolbarGripper", p10->GetColor(38), RGB(34, 35, 36)},
        {"MenuPopupBorder", p10->GetColor(43), RGB(37, 38, 39)},
        {"SplitterLight", p10->m_clrSplitterGradient.m_clrFrom, RGB(13, 14, 15)},
        {"SplitterDark", p10->m_clrSplitterGradient.m_clrTo, RGB(16, 17, 18)},
        {"NormalCaptionLight", p10->m_clrInactiveCaption.m_clrFrom, RGB(19, 20, 21)},
        {"NormalCaptionDark", p10->m_clrInactiveCaption.m_clrTo, RGB(22, 23, 24)},
        {"NormalCaptionText", p10->m_clrInactiveCaptionText, RGB(25, 26, 27)},
        {"ActiveCaptionLight", p10->m_clrActiveCaption.m_clrFrom, RGB(28, 29, 30)},
        {"ActiveCaptionDark", p10->m_clrActiveCaption.m_clrTo, RGB(31, 32, 33)},
        // The module has no ActiveCaptionText: theme 2's refresh stands.
        {"ActiveCaptionText missing", p10->m_clrActiveCaptionText, p10->GetColor(COLOR_BTNTEXT)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.clr, c.clrExpected) << c.name;
    EXPECT_EQ(p10->m_clrInactiveCaption.m_fGradientFactor, 0.25f);
}

TEST(DockingPaneThemeVariants, Theme4GripBarsFollowTheTitle) {
    ThemePtr pTheme = MakeTheme(4);
    const COLORREF clrLight = pTheme->GetColor(COLOR_3DHIGHLIGHT), clrDark = pTheme->GetColor(COLOR_BTNSHADOW);
    int nTitleLength = 0;
    {
        tabs_test::Canvas scratch;
        nTitleLength = pTheme->DrawCaptionText(&scratch.m_dc, "Output", CRect(4, 1, 116, 18), FALSE, TRUE);
    }
    ASSERT_GT(nTitleLength, 0);
    // The band (0, 0, w, 18) is 17 deep once the top row is left out: bars at 6 and 10.
    const struct {
        const char* title;
        int nWidth, nFirstBar;   // -1: no bars
    } cases[] = {
        {"", 120, 4},
        {"Output", 120, 4 + nTitleLength + 4},
        {"Output", nTitleLength + 10, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.title) + " " + std::to_string(c.nWidth));
        tabs_test::Canvas canvas;
        pTheme->DrawCaptionBar(&canvas.m_dc, nullptr, CRect(0, 0, c.nWidth, 18), c.title, FALSE, FALSE);
        if (c.nFirstBar < 0) {
            EXPECT_EQ(canvas.Count(CRect(0, 0, c.nWidth, 18), clrLight), 0);
            continue;
        }
        const int nFar = c.nWidth - 4;
        for (int y : {6, 10}) {
            EXPECT_EQ(canvas.At(c.nFirstBar - 1, y), kMagenta) << y;
            EXPECT_EQ(canvas.At(c.nFirstBar, y), clrLight) << y;
            EXPECT_EQ(canvas.At(nFar - 1, y + 2), clrDark) << y;
            EXPECT_EQ(canvas.At(nFar, y), kMagenta) << y;
        }
    }
}

TEST_F(DetachedLayoutTest, Theme5LinesAndClientInset) {
    ForcedScheme none(0);
    ThemePtr pTheme = MakeTheme(5);
    CKLVDockingPane* pPane = tree.Pane(1);
    pPane->SetTitle("");
    CKLVDockingPaneTabbedContainer* pContainer = tree.Tabbed({pPane});
    const int h = pTheme->GetCaptionHeight();

    // Inactive, without a title: four lines in toolkit colour 38 from position 4.
    tabs_test::Canvas lines;
    pTheme->DrawCaption(&lines.m_dc, pContainer, CRect(0, 0, 200, 60));
    const int m = (3 + h + 3) / 2;
    for (int nOffset : {-3, -1, 1, 3}) {
        EXPECT_EQ(lines.At(4, m + nOffset), pTheme->GetColor(38)) << nOffset;
        EXPECT_EQ(lines.At(3, m + nOffset), kMagenta) << nOffset;
        EXPECT_EQ(lines.At(4, m + nOffset + 1), kMagenta) << nOffset;
    }

    // 3 pixels in, then 1 more for the frame around a client without tabs.
    pTheme->GetPanelPaintManager()->m_nClientFrame = 1;
    const struct {
        BOOL bCaption;
        CRect rcClient;
    } cases[] = {{FALSE, CRect(4, 4, 96, 76)}, {TRUE, CRect(4, h + 3 + 1, 96, 76)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bCaption);
        pContainer->ShowCaption(c.bCaption);
        CRect rc(0, 0, 100, 80);
        pTheme->AdjustCaptionRect(pContainer, rc);
        EXPECT_EQ(rc, c.rcClient);
        tabs_test::Canvas canvas;
        pTheme->DrawTabbedContainer(&canvas.m_dc, pContainer, CRect(0, 0, 100, 80));
        const COLORREF clrFrame = pTheme->GetPanelPaintManager()->GetColorSet()->clrFrameBorder;
        EXPECT_EQ(canvas.At(c.rcClient.left - 1, 70), clrFrame);
        EXPECT_EQ(canvas.At(c.rcClient.right, 70), clrFrame);
        EXPECT_EQ(canvas.At(50, c.rcClient.bottom), clrFrame);
        EXPECT_EQ(canvas.At(c.rcClient.left, 70), pTheme->GetColor(30));
        EXPECT_EQ(canvas.At(99, 79), pTheme->GetColor(51));
    }
}

TEST_F(DetachedLayoutTest, Theme3WithoutVisualStylesDrawsLikeThemes1And0) {
    CKLVWinThemeApiTable missing("klv-no-visual-styles.dll");
    CKLVWinThemeApiTable* pSaved = KLVReplaceWinThemeApiTable(&missing);
    {
        ThemePtr p3 = MakeTheme(3), p0 = MakeTheme(0);
        ASSERT_EQ(p3->m_themeWindow.GetThemeHandle(), nullptr);
        // A left-to-right gradient, active or not.
        auto* p1Family = As<CKLVDockingPaneTheme1>(p3);
        for (BOOL bActive : {TRUE, FALSE}) {
            tabs_test::Canvas canvas;
            const CRect rcBand(0, 0, 100, 18);
            p3->DrawCaptionBackground(&canvas.m_dc, nullptr, rcBand, bActive, FALSE);
            const CKLVGradientColorValue& grc = bActive ? p1Family->m_clrActiveCaption : p1Family->m_clrInactiveCaption;
            EXPECT_EQ(canvas.At(0, 9), COLORREF(grc.m_clrFrom)) << bActive;
            EXPECT_EQ(canvas.At(0, 2), canvas.At(0, 15)) << bActive;
        }
        // The frame rings are theme 0's.
        tabs_test::Canvas frame3, frame0;
        const CRect rcFrame(0, 0, 120, 90);
        p3->DrawFloatingFrame(&frame3.m_dc, nullptr, rcFrame);
        p0->DrawFloatingFrame(&frame0.m_dc, nullptr, rcFrame);
        for (int i = 0; i < 3; ++i)
            for (CPoint pt : {CPoint(i, 45), CPoint(60, i), CPoint(119 - i, 45), CPoint(60, 89 - i)})
                EXPECT_EQ(frame3.At(pt), frame0.At(pt)) << pt.x << "," << pt.y;
    }
    KLVReplaceWinThemeApiTable(pSaved);
}

TEST_F(DetachedLayoutTest, Theme2RoundedCaptionKeepsItsCornersInTheSplitterFace) {
    ForcedScheme blue(1);
    CKLVDockingPaneTabbedContainer* pContainer = tree.Tabbed({tree.Pane(1)});
    const struct {
        int nTheme;
        bool bRounded;
    } cases[] = {{2, true}, {7, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nTheme);
        ThemePtr pTheme = MakeTheme(c.nTheme);
        const int nBottom = pTheme->GetCaptionHeight() + 3;
        tabs_test::Canvas canvas;
        pTheme->DrawCaption(&canvas.m_dc, pContainer, CRect(0, 0, 200, 60));
        const COLORREF clrFace = pTheme->m_clrSplitter, clrBorder = pTheme->GetColor(54);
        if (c.bRounded) {
            for (CPoint pt : {CPoint(0, 5), CPoint(1, 0), CPoint(199, 0), CPoint(1, nBottom - 1), CPoint(199, nBottom - 1)})
                EXPECT_EQ(canvas.At(pt), clrFace) << pt.x << "," << pt.y;
            EXPECT_NE(canvas.At(2, 0), clrFace);
        } else {
            for (CPoint pt : {CPoint(0, 5), CPoint(100, 0), CPoint(199, 5)}) EXPECT_EQ(canvas.At(pt), clrBorder);
            EXPECT_NE(canvas.At(100, nBottom - 1), clrBorder) << "the side toward the content stays open";
        }
        // The corners left out of the clipping come back for later drawing.
        canvas.m_dc.FillSolidRect(1, 0, 1, 1, RGB(1, 2, 3));
        EXPECT_EQ(canvas.At(1, 0), RGB(1, 2, 3));
        EXPECT_EQ(canvas.At(0, nBottom), kMagenta);
    }
}

TEST_F(DetachedLayoutTest, Theme10CaptionEdges) {
    KLVResourceImages()->SetResourceModule(nullptr);
    ThemePtr pTheme = MakeTheme(10);
    CKLVDockingPaneTabbedContainer* pContainer = tree.Tabbed({tree.Pane(1)});
    tabs_test::Canvas canvas;
    pTheme->DrawCaption(&canvas.m_dc, pContainer, CRect(0, 0, 200, 60));
    const COLORREF clrBorder = pTheme->GetColor(54), clrLight = pTheme->GetColor(COLOR_3DHIGHLIGHT);
    ASSERT_NE(clrBorder, clrLight);
    const struct { CPoint pt; COLORREF clr; } pixels[] = {
        {{100, 0}, clrBorder}, {{1, 0}, clrBorder}, {{0, 1}, clrBorder}, {{0, 5}, clrBorder}, {{199, 1}, clrBorder},
        {{100, 1}, clrLight}, {{1, 5}, clrLight}, {{0, pTheme->GetCaptionHeight() + 3}, kMagenta},
    };
    for (const auto& p : pixels) EXPECT_EQ(canvas.At(p.pt), p.clr) << p.pt.x << "," << p.pt.y;
}

TEST(DockingPaneThemeVariants, FloatingFrameRings) {
    ForcedScheme blue(1);
    const CRect rcFrame(0, 0, 120, 90);
    {
        // Theme 2: three rings in toolkit colour 43, the innermost again in the inactive
        // caption's second colour except its corners.
        ThemePtr pTheme = MakeTheme(2);
        auto* p2 = As<CKLVDockingPaneTheme2>(pTheme);
        const COLORREF clrRing = p2->GetColor(43), clrInner = p2->m_clrInactiveCaption.m_clrTo;
        ASSERT_NE(clrRing, clrInner);
        tabs_test::Canvas canvas;
        p2->DrawFloatingFrame(&canvas.m_dc, nullptr, rcFrame);
        const struct { CPoint pt; COLORREF clr; } pixels[] = {
            {{0, 45}, clrRing}, {{1, 45}, clrRing}, {{2, 45}, clrInner}, {{3, 87}, clrInner},
            {{2, 2}, clrRing}, {{117, 2}, clrRing}, {{2, 87}, clrRing}, {{117, 87}, clrRing},
            {{60, 2}, COLORREF(p2->m_clrInactiveCaption.m_clrFrom)},
        };
        for (const auto& p : pixels) EXPECT_EQ(canvas.At(p.pt), p.clr) << "theme 2 " << p.pt.x << "," << p.pt.y;
    }
    {
        // Theme 5: its inactive colour outside, black, the 3-D ring, its colour again; four lines
        // from position 4 to 4 short of the band's end.
        ThemePtr pTheme = MakeTheme(5);
        const COLORREF clr = pTheme->GetColor(30);
        tabs_test::Canvas canvas;
        pTheme->DrawFloatingFrame(&canvas.m_dc, nullptr, rcFrame);
        const int m = (3 + 3 + pTheme->GetCaptionHeight() + 3) / 2;
        const struct { CPoint pt; COLORREF clr; } pixels[] = {
            {{0, 45}, clr}, {{119, 45}, RGB(0, 0, 0)}, {{1, 45}, pTheme->GetColor(COLOR_3DHIGHLIGHT)},
            {{118, 45}, pTheme->GetColor(COLOR_BTNSHADOW)}, {{2, 45}, clr}, {{3, m - 2}, clr},
            {{4, m - 3}, pTheme->GetColor(38)}, {{110, m + 3}, pTheme->GetColor(38)}, {{111, m + 3}, clr},
        };
        for (const auto& p : pixels) EXPECT_EQ(canvas.At(p.pt), p.clr) << "theme 5 " << p.pt.x << "," << p.pt.y;
    }
}

TEST_F(DetachedLayoutTest, Theme3And8DrawOnTheirVisualStyles) {
    using Style = tabs_test::FakeVisualStyle;
    CKLVDockingPaneTabbedContainer* pContainer = tree.Tabbed({tree.Pane(1)});
    {
        CKLVWinThemeApiTable missing("klv-no-visual-styles.dll");
        CKLVWinThemeApiTable* pSaved = KLVReplaceWinThemeApiTable(&missing);
        ThemePtr p8 = MakeTheme(8);
        EXPECT_EQ(p8->GetPanelPaintManager()->GetAppearance(), 5);
        EXPECT_EQ(p8->GetAutoHidePaintManager()->GetAppearance(), 6);
        p8.reset();
        KLVReplaceWinThemeApiTable(pSaved);
    }
    Style style({L"WINDOW", L"REBAR"});
    ThemePtr p8 = MakeTheme(8);
    for (CKLVTabPainter* pPainter : {p8->GetPanelPaintManager(), p8->GetAutoHidePaintManager()}) {
        EXPECT_EQ(pPainter->GetAppearance(), 0);
        EXPECT_EQ(pPainter->GetColor(), 8);
    }
    ThemePtr p3 = MakeTheme(3);
    ASSERT_NE(p3->m_themeWindow.GetThemeHandle(), nullptr);
    const int h = p3->GetCaptionHeight();
    tabs_test::Canvas canvas;
    Style::TargetDC() = canvas.m_dc.GetSafeHdc();
    Style::Calls().clear();
    p3->DrawCaption(&canvas.m_dc, pContainer, CRect(0, 0, 200, 60));
    p3->DrawFloatingFrame(&canvas.m_dc, nullptr, CRect(0, 0, 120, 90));
    // Small caption (2) inactive (2), then the frame's left, right and bottom (10 to 12) and its
    // caption through an off-screen buffer.
    const struct { int nPart; CRect rc; BOOL bDirect; } expected[] = {
        {2, CRect(0, 0, 200, h + 1), TRUE}, {10, CRect(0, 0, 3, 90), TRUE}, {11, CRect(117, 0, 120, 90), TRUE},
        {12, CRect(0, 87, 120, 90), TRUE}, {2, CRect(0, 0, 120, h + 5), FALSE},
    };
    ASSERT_EQ(Style::Calls().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(Style::Calls()[i].nPart, expected[i].nPart) << i;
        EXPECT_EQ(Style::Calls()[i].nState, 2) << i;
        EXPECT_EQ(Style::Calls()[i].rc, expected[i].rc) << i;
        EXPECT_EQ(Style::Calls()[i].bIntoScreenDC, expected[i].bDirect) << i;
    }
    Style::TargetDC() = nullptr;
}
