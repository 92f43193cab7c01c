// The theme numbers SetTheme builds, and each theme's metrics as a tool bar's layout uses them.
#include "ThemeTestSupport.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/ToolBar.h"

namespace themes_test {
namespace {

TEST(ThemeNumbers, EachNumberBuildsItsThemeAndOthersFallBackToTheDefault) {
    const struct {
        int nAsked, nThemeId;
    } cases[] = {{0, 0}, {9, 0}, {-1, 0}, {3, 3}, {5, 5}, {6, 6}, {7, 0}, {1, 1}, {2, 2}, {4, 4}};
    for (const auto& c : cases) {
        ThemePtr pTheme(CKLVPaintManager::CreateThemeObject(c.nAsked));
        ASSERT_NE(pTheme, nullptr) << c.nAsked;
        EXPECT_EQ(pTheme->GetThemeId(), c.nThemeId) << c.nAsked;
        EXPECT_EQ(pTheme->m_nTheme, c.nAsked) << c.nAsked;
    }
    CKLVPaintManager::SetTheme(9);
    ASSERT_NE(CKLVPaintManager::GetGlobalPaintManager(), nullptr);
    EXPECT_EQ(CKLVPaintManager::GetGlobalPaintManager()->GetThemeId(), 0);
}

// Borders and grippers per theme and bar, and a docked tool bar laid out inside them.
TEST(ThemeLayout, BordersGrippersAndSeparatorsPerTheme) {
    const struct {
        int nTheme, nPosition;
        CRect rcBorders;   // what the theme reports
        CSize szGripper, szSeparator;
    } cases[] = {
        {0, CKLVCommandBar::barTop, CRect(2, 2, 2, 2), CSize(6, 0), CSize(6, 6)},
        {0, CKLVCommandBar::barLeft, CRect(2, 2, 2, 2), CSize(0, 8), CSize(6, 6)},
        {1, CKLVCommandBar::barTop, CRect(2, 2, 2, 2), CSize(6, 0), CSize(6, 6)},
        {1, CKLVCommandBar::barLeft, CRect(2, 2, 2, 2), CSize(0, 8), CSize(6, 6)},
        {2, CKLVCommandBar::barTop, CRect(4, 2, 2, 2), CSize(6, 0), CSize(6, 6)},
        {2, CKLVCommandBar::barLeft, CRect(2, 2, 2, 2), CSize(0, 9), CSize(6, 6)},
        {4, CKLVCommandBar::barTop, CRect(4, 2, 2, 2), CSize(6, 0), CSize(6, 6)},
        {4, CKLVCommandBar::barBottom, CRect(4, 2, 2, 2), CSize(6, 0), CSize(6, 6)},
        {4, CKLVCommandBar::barRight, CRect(2, 2, 2, 2), CSize(0, 9), CSize(6, 6)},
    };
    for (const auto& c : cases) {
        CKLVPaintManager::SetTheme(c.nTheme);
        CKLVPaintManager* pTheme = CKLVPaintManager::GetGlobalPaintManager();
        CKLVCommandBars commandBars;
        CKLVToolBar bar;
        bar.m_pCommandBars = &commandBars;
        bar.m_pLink = &commandBars;
        bar.m_barPosition = c.nPosition;
        for (int i = 0; i < 3; ++i) bar.GetControls()->Add(new commandbars_test::CFixedControl, 100 + i);
        Dib dib;
        EXPECT_EQ(pTheme->GetCommandBarBorders(&bar), c.rcBorders) << c.nTheme << "/" << c.nPosition;
        EXPECT_EQ(pTheme->DrawCommandBarCaption(&dib.m_dc, &bar, FALSE), c.szGripper) << c.nTheme << "/" << c.nPosition;
        EXPECT_EQ(pTheme->DrawSeparator(&dib.m_dc, &bar, nullptr, FALSE), c.szSeparator) << c.nTheme;

        const BOOL bVertical = CKLVPaintManager::IsVerticalDockPosition(c.nPosition);
        const DWORD dwMode = (bVertical ? CKLVControls::modeVertDock : CKLVControls::modeHorzDock | CKLVControls::modeHorz) |
                             CKLVControls::modeCommit;
        bar.CalcDockingLayout(200, dwMode);
        const CRect rcFirst = bar.GetControl(0)->GetRect();
        if (bVertical)
            EXPECT_EQ(rcFirst.top, c.rcBorders.top + c.szGripper.cy) << c.nTheme << "/" << c.nPosition;
        else
            EXPECT_EQ(rcFirst.left, c.rcBorders.left + c.szGripper.cx) << c.nTheme << "/" << c.nPosition;
    }
}

TEST(ThemeLayout, PopupBarsMeasureTheirOwnBordersSeparatorsAndStrip) {
    const struct {
        int nTheme;
        CRect rcBorders;
        CSize szSeparator, szTearOff;
    } cases[] = {
        {0, CRect(3, 3, 3, 3), CSize(8, 8), CSize(0, 8)},
        {1, CRect(2, 2, 2, 2), CSize(3, 3), CSize(0, 9)},
        {2, CRect(2, 2, 2, 2), CSize(3, 3), CSize(0, 9)},
        {4, CRect(2, 2, 2, 2), CSize(3, 3), CSize(0, 9)},
    };
    for (const auto& c : cases) {
        ThemePtr pTheme = MakeTheme(c.nTheme);
        CKLVCommandBar bar;
        bar.m_barType = CKLVCommandBar::barTypePopup;
        bar.m_barPosition = CKLVCommandBar::barPopup;
        Dib dib;
        EXPECT_EQ(pTheme->GetCommandBarBorders(&bar), c.rcBorders) << c.nTheme;
        EXPECT_EQ(pTheme->DrawSeparator(&dib.m_dc, &bar, nullptr, FALSE), c.szSeparator) << c.nTheme;
        EXPECT_EQ(pTheme->DrawPopupTearOffStrip(&dib.m_dc, CRect(), FALSE, FALSE), c.szTearOff) << c.nTheme;
    }
}

}  // namespace
}  // namespace themes_test
