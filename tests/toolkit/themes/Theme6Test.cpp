// The resource-image theme with images for faces: metrics from the font size, button faces by
// height and state, theme 2's face where the skin has none, bars, marks, the status bar, the
// popup region and the context colour names.
#include "ThemeSkin.h"
#include "ThemeTestSupport.h"
#include "toolkit/themes/PaintManagerTheme6.h"

#include <functional>

namespace themes_test {
namespace {

using Theme6Ptr = std::unique_ptr<CKLVPaintManagerTheme6, Release>;

Theme6Ptr MakeTheme6() { return MakeThemeOf<CKLVPaintManagerTheme6>(6); }

TEST(Theme6, MetricsFollowTheFontSize) {
    Theme6Ptr pTheme = MakeTheme6();
    ASSERT_EQ(pTheme->GetThemeId(), 6);
    const struct {
        int nFontSize;   // 12 is below 13 and counts as 11
        int nText, nControl, nTab, nGroupCaption, nSplit;
    } cases[] = {
        {12, 22, 22, 23, 17, 12},
        {13, 25, 26, 28, 19, 12},
        {20, 36, 40, 42, 30, 18},
    };
    for (const auto& c : cases) {
        pTheme->m_nFontSize = c.nFontSize;
        pTheme->RefreshFonts();
        EXPECT_EQ(pTheme->m_nTextHeight, c.nText) << c.nFontSize;
        EXPECT_EQ(pTheme->m_nControlHeight, c.nControl) << c.nFontSize;
        EXPECT_EQ(pTheme->m_nRibbonTabHeight, c.nTab) << c.nFontSize;
        EXPECT_EQ(pTheme->m_nGroupCaptionHeight, c.nGroupCaption) << c.nFontSize;
        EXPECT_EQ(pTheme->m_nSplitButtonDropDownWidth, c.nSplit) << c.nFontSize;
        EXPECT_NE(pTheme->m_fontGroup.GetSafeHandle(), nullptr);
    }
}

TEST(Theme6, ButtonFacesComeFromTheImageForTheirHeightInThePartOfTheirState) {
    ThemeSkin skin;
    ASSERT_TRUE(skin.m_bLoaded);
    Theme6Ptr pTheme = MakeTheme6();
    const struct {
        int nHeight, nSelected, nPressed, nEnabled, nChecked, bPopuped;
        int nImage, nPart;   // nPart -1: nothing drawn
    } cases[] = {
        {32, 1, 0, 1, 0, 0, imgButtons22, 0}, {33, 1, 0, 1, 0, 0, imgButtons50, 0},
        {22, 1, 1, 1, 0, 0, imgButtons22, 1}, {22, 0, 2, 1, 0, 0, imgButtons22, 1},
        {22, 0, 0, 1, 1, 0, imgButtons22, 2}, {22, 1, 0, 1, 1, 0, imgButtons22, 3},
        {22, 0, 0, 1, 0, 1, imgButtons22, 2}, {22, 0, 0, 1, 0, 0, imgButtons22, -1},
        {22, 1, 0, 0, 0, 0, imgButtons22, -1}, {22, 2, 0, 0, 0, 0, imgButtons22, 0},
    };
    for (const auto& c : cases) {
        Dib dib(60, 60);
        const CRect rc(2, 2, 50, 2 + c.nHeight);
        pTheme->DrawRectangle(&dib.m_dc, rc, c.nSelected, c.nPressed, c.nEnabled, c.nChecked, c.bPopuped,
                              CKLVCommandBar::barTypeNormal, CKLVCommandBar::barTop);
        const std::string what = std::to_string(c.nHeight) + ": " + std::to_string(c.nSelected) +
                                 std::to_string(c.nPressed) + std::to_string(c.nEnabled) + std::to_string(c.nChecked) +
                                 std::to_string(c.bPopuped);
        EXPECT_EQ(dib.At(rc.CenterPoint().x, rc.CenterPoint().y),
                  c.nPart < 0 ? kBack : ThemeSkin::PartColor(c.nImage, c.nPart))
            << what;
        if (c.nPart >= 0) {
            EXPECT_EQ(dib.At(rc.left, rc.CenterPoint().y), ThemeSkin::kRim) << what;
        }
    }
}

TEST(Theme6, WithoutAFaceImageTheme2DrawsTheFace) {
    Theme6Ptr pTheme = MakeTheme6();   // no skin: no images
    for (int i = 0; i < CKLVPaintManager::nColorCount; ++i) pTheme->SetCustomColor(i, Numbered(i));
    const struct {
        int nSelected, nPressed, nChecked;
    } cases[] = {{1, 0, 0}, {1, 1, 0}, {0, 0, 1}};
    for (const auto& c : cases) {
        Dib faced(40, 40), base(40, 40);
        pTheme->DrawRectangle(&faced.m_dc, CRect(2, 2, 30, 24), c.nSelected, c.nPressed, TRUE, c.nChecked, FALSE,
                              CKLVCommandBar::barTypeNormal, CKLVCommandBar::barTop);
        pTheme->CKLVPaintManagerTheme5::DrawRectangle(&base.m_dc, CRect(2, 2, 30, 24), c.nSelected, c.nPressed, TRUE,
                                                      c.nChecked, FALSE, CKLVCommandBar::barTypeNormal,
                                                      CKLVCommandBar::barTop);
        EXPECT_FALSE(faced.Painted().empty());
        EXPECT_EQ(faced.DifferingFrom(base), kNoPixels);
    }
}

TEST(Theme6, BarsTakeTheirFrameImagesOrTheme2sBody) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    commandbars_test::CTestSite site;
    const struct {
        int nPosition, nType;
        COLORREF clrInside;   // kBack: theme 2's body, which is not an image colour
    } cases[] = {
        {CKLVCommandBar::barPopup, CKLVCommandBar::barTypePopup, ThemeSkin::PartColor(imgPopupFrame, 0)},
        {CKLVCommandBar::barTop, CKLVCommandBar::barTypeNormal, ThemeSkin::PartColor(imgFaceHorizontal, 0)},
        {CKLVCommandBar::barLeft, CKLVCommandBar::barTypeNormal, kBack},
    };
    for (const auto& c : cases) {
        commandbars_test::CTestBar<> bar(&site, c.nType);
        bar.m_barPosition = c.nPosition;
        Dib dib(200, 40);
        pTheme->FillCommandBar(&dib.m_dc, &bar);
        if (c.clrInside == kBack) {
            EXPECT_NE(dib.At(100, 20), ThemeSkin::PartColor(imgFaceHorizontal, 0)) << c.nPosition;
            EXPECT_NE(dib.At(100, 20), kBack) << c.nPosition;
        } else {
            EXPECT_EQ(dib.At(100, 20), c.clrInside) << c.nPosition;
            EXPECT_EQ(dib.At(0, 20), ThemeSkin::kRim) << c.nPosition;
        }
    }
}

TEST(Theme6, MarksStatusBarAndSelectedPopupItemsFromTheirImages) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    const struct {
        BOOL bSelected, bPressed, bEnabled;
        int nChecked, nPart;
    } marks[] = {{FALSE, FALSE, TRUE, 0, 0}, {TRUE, FALSE, TRUE, 1, 5}, {TRUE, TRUE, TRUE, 2, 10},
                 {FALSE, FALSE, FALSE, 1, 7}};
    for (const auto& m : marks) {
        Dib dib(20, 20);
        EXPECT_EQ(pTheme->DrawCheckBoxMark(&dib.m_dc, CRect(2, 2, 15, 15), TRUE, m.bSelected, m.bPressed, m.nChecked,
                                           m.bEnabled),
                  CSize(13, 13));
        EXPECT_EQ(dib.At(8, 8), ThemeSkin::PartColor(imgCheckBox, m.nPart)) << m.nPart;
    }

    Dib item(80, 30);
    pTheme->DrawRectangle(&item.m_dc, CRect(0, 0, 80, 22), TRUE, FALSE, TRUE, FALSE, FALSE,
                          CKLVCommandBar::barTypePopup, CKLVCommandBar::barPopup);
    EXPECT_EQ(item.At(40, 11), ThemeSkin::PartColor(imgMenuSelected22, 0));

    Dib grip(40, 40);
    pTheme->DrawStatusBarGripper(&grip.m_dc, CRect(0, 0, 40, 40));
    EXPECT_EQ(grip.At(34, 30), ThemeSkin::PartColor(imgStatusGripper, 0));   // 4 pixels above the bottom
    EXPECT_EQ(grip.At(28, 24), kBack);                                      // the keyed corner
    EXPECT_EQ(grip.At(34, 37), kBack);
    Dib pane(40, 40);
    pTheme->DrawStatusBarPaneBorder(&pane.m_dc, CRect(2, 2, 30, 30), FALSE);
    EXPECT_TRUE(pane.Painted().empty());
}

TEST(Theme6, RibbonKeysAndFixedColours) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    using T = CKLVPaintManagerTheme6;
    const struct {
        LPCTSTR lpszKey;
        std::function<COLORREF(T&)> field;
    } cases[] = {
        {"RibbonFace", [](T& t) { return t.m_clrRibbonFace; }},
        {"GroupCaptionText", [](T& t) { return t.m_clrGroupCaptionText; }},
        {"GroupClientText", [](T& t) { return t.GetThemeColor(46); }},
        {"RibbonText", [](T& t) { return t.m_clrRibbonText; }},
        {"ControlEditNormal", [](T& t) { return t.m_clrEditFace; }},
        {"MinimizedFrameEdgeHighLight", [](T& t) { return t.m_clrMinimizedEdgeHighlight; }},
        {"MinimizedFrameEdgeShadow", [](T& t) { return t.m_clrMinimizedEdgeShadow; }},
        {"MenuPopupText", [](T& t) { return t.GetThemeColor(44); }},
        {"ControlHighlightText", [](T& t) { return t.GetThemeColor(45); }},
    };
    for (const auto& c : cases) {
        ASSERT_NE(ThemeSkin::Key("Ribbon", c.lpszKey), COLORREF(-1)) << c.lpszKey;
        EXPECT_EQ(c.field(*pTheme), ThemeSkin::Key("Ribbon", c.lpszKey)) << c.lpszKey;
    }
    EXPECT_EQ(pTheme->GetThemeColor(35), COLORREF(0xA7A7A7));
    EXPECT_EQ(pTheme->GetThemeColor(43), COLORREF(0x868686));
    EXPECT_EQ(pTheme->GetThemeColor(41), COLORREF(0xFAFAFA));
    EXPECT_EQ(COLORREF(pTheme->m_grcExtra.m_clrFrom), COLORREF(0xEEEEE9));
    EXPECT_EQ(COLORREF(pTheme->m_grcExtra.m_clrTo), COLORREF(0xEEEEE9));
    // Theme 5's table is read first.
    EXPECT_EQ(pTheme->m_clrMenuBarText, ThemeSkin::Key("Toolbar", "MenuBarText"));
    EXPECT_TRUE(pTheme->m_bStatusBarFrame);
}

TEST(Theme6, EditFacesByStateAndBar) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    EXPECT_EQ(pTheme->m_clrEditFace, ThemeSkin::Key("Ribbon", "ControlEditNormal"));
    CKLVCommandBar toolBar, popupBar;
    popupBar.m_barType = CKLVCommandBar::barTypePopup;
    const struct {
        CKLVCommandBar* pBar;
        BOOL bEnabled;
        int nSelected;
        COLORREF clr;
    } cases[] = {
        {&toolBar, TRUE, 0, pTheme->m_clrEditFace},
        {&toolBar, TRUE, 1, pTheme->GetThemeColor(COLOR_WINDOW)},
        {&toolBar, FALSE, 1, pTheme->GetThemeColor(COLOR_BTNFACE)},
        {&popupBar, TRUE, 0, pTheme->GetThemeColor(41)},
    };
    for (const auto& c : cases) {
        CKLVControl* pControl = c.pBar->GetControls()->Add(CKLVControl::typeEdit, 0);
        pControl->m_bEnabled = c.bEnabled;
        pControl->m_nSelected = c.nSelected;
        EXPECT_EQ(pTheme->GetControlEditBackColor(pControl), c.clr) << c.bEnabled << c.nSelected;
    }
}

TEST(Theme6, TheToolBarExpandButtonIsItsImageByStateUnderTheme2sGlyph) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    commandbars_test::CTestSite site;
    const struct {
        int nPosition, nSelected;
        COLORREF clrFace;   // kBack: no image for this position, theme 2 draws the button
        int nGlyph;
    } cases[] = {
        {CKLVCommandBar::barTop, 0, ThemeSkin::PartColor(imgExpandHorizontal, 0), 46},
        {CKLVCommandBar::barTop, 1, ThemeSkin::PartColor(imgExpandHorizontal, 1), 45},
        {CKLVCommandBar::barLeft, 1, kBack, 45},
    };
    for (const auto& c : cases) {
        commandbars_test::CTestBar<> bar(&site);
        bar.m_barPosition = c.nPosition;
        CKLVControl* pControl = bar.GetControls()->Add(CKLVControl::typeButton, 0);
        pControl->m_rcControl = CRect(100, 1, 112, 23);
        pControl->m_nSelected = c.nSelected;
        Dib dib(120, 30);
        BOOL bHidden = FALSE;
        pTheme->DrawSpecialControl(&dib.m_dc, 0, pControl, &bar, TRUE, &bHidden);
        if (c.clrFace == kBack) {
            EXPECT_NE(dib.At(101, 3), ThemeSkin::PartColor(imgExpandHorizontal, 1));
            continue;
        }
        EXPECT_EQ(dib.At(101, 3), c.clrFace) << c.nSelected;
        EXPECT_EQ(dib.At(106, 13), pTheme->GetThemeColor(c.nGlyph)) << c.nSelected;
        EXPECT_EQ(dib.At(107, 14), pTheme->GetThemeColor(COLOR_BTNHIGHLIGHT)) << c.nSelected;
    }
}

TEST(Theme6, PopupRegionLacksItsFourCornerPixels) {
    HRGN hRegion = KLVCreatePopupBarRegion(10, 8);
    const struct {
        int x, y;
        BOOL bIn;
    } points[] = {{0, 0, FALSE}, {9, 0, FALSE}, {0, 7, FALSE}, {9, 7, FALSE}, {1, 0, TRUE}, {8, 0, TRUE},
                  {0, 1, TRUE},  {9, 6, TRUE},  {1, 7, TRUE},  {5, 4, TRUE},  {10, 4, FALSE}, {5, 8, FALSE}};
    for (const auto& p : points) EXPECT_EQ(::PtInRegion(hRegion, p.x, p.y) != 0, p.bIn) << p.x << "," << p.y;
    ::DeleteObject(hRegion);
}

TEST(Theme6, ContextColourNames) {
    const struct {
        int nColor;
        LPCTSTR lpszName;
    } cases[] = {{0, ""}, {1, "BLUE"}, {2, "YELLOW"}, {3, "GREEN"}, {4, "RED"}, {5, "PURPLE"}, {6, "CYAN"},
                 {7, "ORANGE"}, {8, ""}, {-1, ""}};
    for (const auto& c : cases) EXPECT_STREQ(KLVContextColorName(c.nColor), c.lpszName) << c.nColor;
}

}  // namespace
}  // namespace themes_test
