// The flat theme: its state tables, dotted grippers, the bars' fills, the popup gutter with one
// and two icon columns, and the combo box's arrow while its list is dropped.
#include "ThemeTestSupport.h"

namespace themes_test {
namespace {

TEST(Theme1, FramesFillsAndTextColoursByState) {
    CheckStates(1, {
        {0, 0, 1, 0, 0, 1, 0, kNone, kNone, kNone, kNone, kNone, 46},
        {1, 0, 1, 0, 0, 1, 0, 32, 32, 32, 32, 31, 45},
        {0, 1, 1, 0, 0, 1, 0, 32, 32, 32, 32, 31, 45},
        {1, 1, 1, 0, 0, 1, 0, 50, 50, 50, 50, 33, 47},
        {0, 2, 1, 0, 0, 1, 0, 50, 50, 50, 50, 33, 47},
        {0, 0, 1, 1, 0, 1, 0, 37, 37, 37, 37, 36, 45},
        {0, 0, 1, 2, 0, 1, 0, 37, 37, 37, 37, 51, 45},
        {1, 0, 1, 1, 0, 1, 0, 50, 50, 50, 50, 33, 47},
        {0, 0, 1, 0, 1, 1, 0, 43, 43, 43, 43, 30, 46},
        {0, 0, 0, 0, 0, 1, 0, kNone, kNone, kNone, kNone, kNone, 60},
        {1, 0, 0, 0, 0, 1, 0, kNone, kNone, kNone, kNone, kNone, 60},
        {2, 0, 0, 0, 0, 1, 0, 32, 32, 32, 32, 31, 60},
        {3, 0, 0, 1, 0, 1, 0, 32, 32, 32, 32, 33, 60},
        {2, 0, 0, 0, 0, 1, 5, 32, 32, 32, 32, 41, 60},
        {0, 0, 0, 1, 0, 1, 0, 58, 58, 58, 58, 36, 60},
        {0, 0, 0, 1, 0, 1, 5, 58, 58, 58, 58, kNone, 60},
        {0, 0, 1, 0, 0, 1, 5, kNone, kNone, kNone, kNone, kNone, 44},
        {1, 0, 1, 0, 0, 2, 5, 32, 32, 32, 32, 31, 45},
        {0, 0, 1, 0, 0, 2, 5, kNone, kNone, kNone, kNone, kNone, 44},
        {0, 0, 0, 0, 0, 2, 5, kNone, kNone, kNone, kNone, kNone, 35},
    });
    EXPECT_EQ(MakeTheme(1)->GetThemeId(), 1);
}

TEST(Theme1, GripperStrokesOfABarDockedAtTheTop) {
    ThemePtr pTheme = MakeTheme(1);
    commandbars_test::CTestSite site;
    commandbars_test::CTestBar<> bar(&site);
    bar.m_barPosition = CKLVCommandBar::barTop;
    bar.MoveWindow(0, 0, 100, 20, FALSE);
    Dib dib(100, 20);
    EXPECT_EQ(pTheme->DrawCommandBarCaption(&dib.m_dc, &bar, TRUE), CSize(6, 0));
    std::set<std::pair<int, int>> expected;
    for (int y : {5, 7, 9, 11, 13})
        for (int x = 3; x < 6; ++x) expected.insert({x, y});
    EXPECT_EQ(dib.Painted(), expected);

    bar.m_barPosition = CKLVCommandBar::barLeft;
    bar.MoveWindow(0, 0, 20, 100, FALSE);
    Dib dibLeft(20, 100);
    EXPECT_EQ(pTheme->DrawCommandBarCaption(&dibLeft.m_dc, &bar, TRUE), CSize(0, 8));
    EXPECT_EQ(dibLeft.At(5, 3), Numbered(38));
    EXPECT_EQ(dibLeft.At(6, 3), kBack);
    EXPECT_EQ(dibLeft.At(13, 5), Numbered(38));
    EXPECT_EQ(dibLeft.At(15, 5), kBack);
}

TEST(Theme1, TheMenuBarIsPlainAndToolBarsAreRoundedInAFaceFrame) {
    ThemePtr pTheme = MakeTheme(1);
    commandbars_test::CTestSite site;
    commandbars_test::CTestBar<> menuBar(&site, CKLVCommandBar::barTypeMenuBar);
    commandbars_test::CTestBar<> toolBar(&site);
    menuBar.m_barPosition = toolBar.m_barPosition = CKLVCommandBar::barTop;
    Dib dibMenu(200, 40), dibTool(200, 40);
    pTheme->FillCommandBar(&dibMenu.m_dc, &menuBar);
    pTheme->FillCommandBar(&dibTool.m_dc, &toolBar);
    for (const CPoint pt : {CPoint(0, 0), CPoint(1, 1), CPoint(100, 20), CPoint(199, 39)})
        EXPECT_EQ(dibMenu.At(pt.x, pt.y), Numbered(15)) << pt.x << "," << pt.y;
    const struct {
        CPoint pt;
        int n;
    } tool[] = {{{0, 20}, 15}, {{100, 0}, 15}, {{1, 1}, 15}, {{198, 38}, 15}, {{2, 1}, 30}, {{100, 20}, 30}};
    for (const auto& c : tool) EXPECT_EQ(dibTool.At(c.pt.x, c.pt.y), Numbered(c.n)) << c.pt.x << "," << c.pt.y;
}

TEST(Theme1, ThePopupGutterDoublesWithTwoIconColumns) {
    ThemePtr pTheme = MakeTheme(1);
    commandbars_test::CTestSite site;
    commandbars_test::CTestBar<> popup(&site, CKLVCommandBar::barTypePopup);
    popup.m_barPosition = CKLVCommandBar::barPopup;
    popup.MoveWindow(0, 0, 200, 60, FALSE);
    int nWidths[2] = {};
    for (int nColumns = 1; nColumns <= 2; ++nColumns) {
        popup.m_bDoubleGripper = nColumns == 2;
        Dib dib(200, 60);
        pTheme->DrawCommandBarCaption(&dib.m_dc, &popup, TRUE);
        // The gutter starts a pixel inside the border.
        int x = 0;
        while (x < 200 && dib.At(x + 1, 30) == Numbered(30)) ++x;
        nWidths[nColumns - 1] = x;
        EXPECT_EQ(x, pTheme->GetPopupBarGripperWidth(&popup)) << nColumns;
    }
    EXPECT_EQ(nWidths[1] - 1, 2 * (nWidths[0] - 1));
}

TEST(Theme1, CheckBoxBoxesByStateAndTheirMark) {
    ThemePtr pTheme = MakeTheme(1);
    const struct {
        BOOL bSelected, bPressed, bEnabled;
        int nFrame, nFill;
    } cases[] = {{FALSE, FALSE, TRUE, 52, 5}, {TRUE, FALSE, TRUE, 32, 31}, {FALSE, TRUE, TRUE, 32, 31},
                 {TRUE, TRUE, TRUE, 32, 33}, {FALSE, FALSE, FALSE, 35, kNone}};
    for (const auto& c : cases) {
        for (int nChecked = 0; nChecked <= 2; ++nChecked) {
            Dib dib(20, 20);
            const CRect rc(2, 2, 15, 15);
            EXPECT_EQ(pTheme->DrawCheckBoxMark(&dib.m_dc, rc, TRUE, c.bSelected, c.bPressed, nChecked, c.bEnabled),
                      CSize(13, 13));
            EXPECT_EQ(dib.At(2, 8), Expected(c.nFrame));
            EXPECT_EQ(dib.At(4, 4), Expected(c.nFill));
            // The mark's middle stroke passes below the centre.
            const int nMark = nChecked == 2 || !c.bEnabled ? 35 : 18;
            EXPECT_EQ(dib.At(7, 9), nChecked ? Numbered(nMark) : Expected(c.nFill)) << nChecked;
        }
    }
}

// A combo box whose list the test drops.
class CDroppingCombo : public CKLVControl {
public:
    CDroppingCombo() { m_nType = typeComboBox; }
    BOOL GetPopuped() const override { return m_bDropped; }
    BOOL m_bDropped = FALSE;
};

TEST(Theme1, TheDroppedComboArrowTakesThePressedTextColour) {
    ThemePtr pTheme = MakeTheme(1);
    CKLVCommandBar bar;
    bar.m_barPosition = CKLVCommandBar::barTop;
    auto* pCombo = static_cast<CDroppingCombo*>(bar.GetControls()->Append(new CDroppingCombo));
    pCombo->m_nSelected = 1;
    pCombo->m_nThumbWidth = 15;
    pCombo->m_rcControl = CRect(0, 0, 100, 22);
    const struct {
        BOOL bDropped;
        int nArrow, nButtonFrame, nButtonFill;
    } cases[] = {{FALSE, 45, 32, 31}, {TRUE, 47, 50, 33}};
    for (const auto& c : cases) {
        pCombo->m_bDropped = c.bDropped;
        Dib dib(110, 30);
        pTheme->DrawControlComboBox(&dib.m_dc, pCombo, TRUE);
        std::set<COLORREF> button;
        for (int y = 1; y < 21; ++y)
            for (int x = 86; x < 99; ++x) button.insert(dib.At(x, y));
        EXPECT_EQ(button, (std::set<COLORREF>{Numbered(c.nArrow), Numbered(c.nButtonFill)})) << c.bDropped;
        EXPECT_EQ(dib.At(85, 10), Numbered(c.nButtonFrame)) << c.bDropped;
    }
}

}  // namespace
}  // namespace themes_test
