// The default theme: 3-D frames by state, the checkerboard of a checked idle button, the popup
// highlight, the 12-pixel split part and the embossed disabled icon.
#include "ThemeTestSupport.h"
#include "toolkit/common/ImageManager.h"

#include <set>

namespace themes_test {
namespace {

TEST(Theme0, FramesAndTextColoursByState) {
    // Raised (20, 16), sunken (16, 20); -2 inside marks the checkerboard, read apart below.
    CheckStates(0, {
        {0, 0, 1, 0, 0, 1, 0, kNone, kNone, kNone, kNone, kNone, 18},
        {1, 0, 1, 0, 0, 1, 0, 20, 20, 16, 16, kNone, 18},
        {0, 1, 1, 0, 0, 1, 0, 20, 20, 16, 16, kNone, 18},
        {1, 1, 1, 0, 0, 1, 0, 16, 16, 20, 20, kNone, 18},
        {0, 2, 1, 0, 0, 1, 0, 16, 16, 20, 20, kNone, 18},
        {0, 0, 1, 0, 1, 1, 0, 16, 16, 20, 20, kNone, 18},
        {0, 0, 1, 1, 0, 1, 0, 16, 16, 20, 20, -2, 18},
        {1, 0, 1, 1, 0, 1, 0, 16, 16, 20, 20, kNone, 18},
        {0, 0, 1, 2, 0, 1, 0, 16, 16, 20, 20, -2, 18},
        {0, 0, 0, 1, 0, 1, 0, 16, 16, 20, 20, kNone, 17},
        {2, 0, 0, 0, 0, 1, 0, 16, 16, 20, 20, kNone, 17},
        {1, 0, 0, 0, 0, 1, 0, kNone, kNone, kNone, kNone, kNone, 17},
        {1, 0, 1, 0, 0, 2, 5, 13, 13, 13, 13, 13, 14},
        {0, 0, 1, 0, 0, 2, 5, kNone, kNone, kNone, kNone, kNone, 18},
        {1, 0, 0, 0, 0, 2, 5, 13, 13, 13, 13, 13, 17},
        {0, 0, 1, 0, 0, 1, 5, kNone, kNone, kNone, kNone, kNone, 18},
    });
}

TEST(Theme0, ACheckedIdleButtonIsACheckerboardOfFaceAndHighlightThatHoverClears) {
    ThemePtr pTheme = MakeTheme(0);
    for (int nSelected = 0; nSelected <= 1; ++nSelected) {
        Dib dib(20, 20);
        pTheme->DrawRectangle(&dib.m_dc, CRect(2, 2, 16, 16), nSelected, FALSE, TRUE, TRUE, FALSE, 1, 0);
        std::set<COLORREF> inside;
        for (int y = 3; y < 15; ++y)
            for (int x = 3; x < 15; ++x) {
                inside.insert(dib.At(x, y));
                if (!nSelected && x < 14 && y < 14) {
                    EXPECT_NE(dib.At(x, y), dib.At(x + 1, y)) << x << "," << y;
                    EXPECT_NE(dib.At(x, y), dib.At(x, y + 1)) << x << "," << y;
                }
            }
        if (nSelected)
            EXPECT_EQ(inside, (std::set<COLORREF>{kBack}));
        else
            EXPECT_EQ(inside, (std::set<COLORREF>{Numbered(15), Numbered(20)}));
    }
}

TEST(Theme0, TheSplitPartIsTwelvePixelsWide) {
    ThemePtr pTheme = MakeTheme(0);
    CKLVCommandBar bar;
    bar.m_barPosition = CKLVCommandBar::barTop;
    CKLVControl control;
    control.m_nType = CKLVControl::typeSplitButtonPopup;
    control.m_nSelected = 1;
    control.SetParent(&bar);
    Dib dib(50, 30);
    const CRect rc(0, 0, 40, 22);
    control.m_rcControl = rc;
    pTheme->DrawSplitButtonFrame(&dib.m_dc, &control, rc);
    EXPECT_EQ(dib.At(27, 3), Numbered(16));   // the command part's right edge
    EXPECT_EQ(dib.At(28, 3), Numbered(20));   // the split part's left edge
    EXPECT_EQ(dib.At(39, 3), Numbered(16));
    EXPECT_EQ(pTheme->GetSplitButtonCommandRect(&control).right, 28);
    control.SetParent(nullptr);
}

TEST(Theme0, AHotPopupItemIsFilledWithTheSelectionColour) {
    ThemePtr pTheme = MakeTheme(0);
    CKLVCommandBar bar;
    bar.m_barType = CKLVCommandBar::barTypePopup;
    bar.m_barPosition = CKLVCommandBar::barPopup;
    CKLVControl* pControl = bar.GetControls()->Add(CKLVControl::typeButton, 0);
    pControl->m_strCaption = "Item";
    pControl->m_nSelected = 1;
    pControl->m_rcControl = CRect(0, 0, 120, 22);
    Dib dib(130, 30);
    pTheme->DrawControl(&dib.m_dc, pControl, TRUE);
    EXPECT_EQ(dib.At(118, 2), Numbered(13));
    EXPECT_EQ(dib.At(1, 20), Numbered(13));
}

TEST(Theme0, FloatingAndDockedBarsGetTheirFrames) {
    ThemePtr pTheme = MakeTheme(0);
    commandbars_test::CTestSite site;
    const struct {
        int nPosition;
        int outerLeft, outerRight, innerLeft;
    } cases[] = {
        {CKLVCommandBar::barFloating, 15, 21, 20},
        {CKLVCommandBar::barTop, 20, 16, 15},
    };
    for (const auto& c : cases) {
        commandbars_test::CTestBar<> bar(&site);
        bar.m_barPosition = c.nPosition;
        Dib dib(200, 40);
        pTheme->FillCommandBar(&dib.m_dc, &bar);
        EXPECT_EQ(dib.At(0, 20), Numbered(c.outerLeft)) << c.nPosition;
        EXPECT_EQ(dib.At(199, 20), Numbered(c.outerRight)) << c.nPosition;
        EXPECT_EQ(dib.At(1, 20), Numbered(c.innerLeft)) << c.nPosition;
    }
}

}  // namespace
}  // namespace themes_test
