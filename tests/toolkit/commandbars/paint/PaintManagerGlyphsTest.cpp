// The shared figures drawn into a 32-bit DIB section, and the two-line caption split.
#include "PaintManagerTestSupport.h"
#include "toolkit/common/DrawHelpers.h"

#include <algorithm>
#include <set>
#include <vector>

using commandbars_test::Dib;
using commandbars_test::kBack;
using commandbars_test::kInk;
using commandbars_test::Strokes;

namespace {

using Glyphs = commandbars_test::PaintManagerTest;

TEST_F(Glyphs, CheckMarkOnNormalAndMirroredDCs) {
    const CRect rc(10, 10, 20, 20);   // centre (15, 15)
    {
        Dib dib;
        m_pPaintManager->DrawCheckMark(&dib.m_dc, rc, kInk);
        EXPECT_EQ(dib.Painted(), Strokes({{{11, 14}, {13, 16}, {18, 11}}, {{11, 15}, {13, 17}, {18, 12}}}));
        EXPECT_EQ(dib.At(18, 11), kBack) << "the end point stays unpainted";
        EXPECT_EQ(dib.At(11, 14), kInk);
    }
    {
        Dib dib;
        CKLVPaintManager::DrawCheckMarkLines(&dib.m_dc, rc, kInk, TRUE);
        EXPECT_EQ(dib.Painted(), Strokes({{{11, 12}, {15, 16}, {18, 13}}, {{11, 13}, {15, 17}, {18, 14}}}));
    }
    {
        Dib dib;
        m_pPaintManager->m_bThickCheckMark = TRUE;
        m_pPaintManager->DrawCheckMark(&dib.m_dc, rc, kInk);
        EXPECT_EQ(dib.Painted(), Strokes({{{11, 14}, {13, 16}, {18, 11}}, {{11, 15}, {13, 17}, {18, 12}},
                                          {{11, 16}, {13, 18}, {18, 13}}}));
    }
}

TEST_F(Glyphs, CheckMarkFollowsTheDCLayout) {
    Dib mirrored, expected;
    for (Dib* pDib : {&mirrored, &expected}) CKLVDrawHelpers::SetLayout(pDib->m_dc.GetSafeHdc(), LAYOUT_RTL);
    m_pPaintManager->DrawCheckMark(&mirrored.m_dc, CRect(10, 10, 20, 20), kInk);
    CKLVPaintManager::DrawCheckMarkLines(&expected.m_dc, CRect(10, 10, 20, 20), kInk, TRUE);
    for (Dib* pDib : {&mirrored, &expected}) CKLVDrawHelpers::SetLayout(pDib->m_dc.GetSafeHdc(), 0);
    EXPECT_FALSE(expected.Painted().empty());
    EXPECT_EQ(mirrored.Painted(), expected.Painted());
}

TEST_F(Glyphs, AntialiasedCircleFillsInsideAndBlendsTheRim) {
    Dib dib;
    // Box 7 wide: centre (3, 3), radius 2.75.
    CKLVPaintManager::DrawAntialiasedCircle(&dib.m_dc, 0, 0, 7, 7, RGB(0, 0, 0), RGB(255, 0, 0));
    const struct { int x, y; COLORREF clr; } cases[] = {
        {3, 3, RGB(255, 0, 0)},   // inside
        {3, 1, RGB(191, 0, 0)},   // d = 2: fill mixed toward the rim by 0.75
        {3, 0, RGB(63, 63, 63)},  // d = 3: the white background mixed by 0.25
        {0, 0, kBack},            // d > r + 1: untouched
    };
    for (const auto& c : cases) EXPECT_EQ(dib.At(c.x, c.y), c.clr) << c.x << "," << c.y;
    EXPECT_EQ(dib.At(6, 3), dib.At(0, 3)) << "symmetric about the centre";
}

TEST_F(Glyphs, RadioDotSitsInTheSixPixelBoxAroundTheCentre) {
    Dib dib;
    m_pPaintManager->DrawRadioDot(&dib.m_dc, CRect(10, 10, 20, 20), RGB(0, 0, 255));
    for (const auto& pt : dib.Painted()) {
        EXPECT_GE(pt.first, 12);
        EXPECT_LT(pt.first, 18);
        EXPECT_GE(pt.second, 12);
        EXPECT_LT(pt.second, 18);
    }
    EXPECT_EQ(dib.At(14, 14), RGB(0, 0, 255));
    EXPECT_EQ(dib.At(15, 15), RGB(0, 0, 255));
}

TEST_F(Glyphs, ComboExpandMarkIsADownTriangle) {
    const struct { CRect rc; int x, y, h; } cases[] = {
        {CRect(0, 0, 20, 20), 10, 7, 6},   // h = 20/2 - 4
        {CRect(0, 0, 8, 20), 4, 9, 2},     // h floored at 2
    };
    for (const auto& c : cases) {
        Dib dib;
        m_pPaintManager->DrawComboExpandMark(&dib.m_dc, c.rc, kInk);
        const auto painted = dib.Painted();
        ASSERT_FALSE(painted.empty());
        CRect rcBounds(painted.begin()->first, painted.begin()->second, 0, 0);
        for (const auto& pt : painted) rcBounds |= CRect(pt.first, pt.second, pt.first + 1, pt.second + 1);
        EXPECT_EQ(rcBounds, CRect(c.x - c.h, c.y, c.x + c.h + 1, c.y + c.h + 1)) << c.rc.Width();
        EXPECT_EQ(dib.At(c.x, c.y + c.h), kInk) << "the apex points down";
        EXPECT_EQ(dib.At(c.x - c.h, c.y + 1), kBack);
    }
}

TEST(SplitString, SplitsAtTheSpaceNearestTheMiddle) {
    const struct { const char* psz; const char* pszFirst; const char* pszSecond; } cases[] = {
        {"Save", "Save", ""},
        {"Save As", "Save", "As"},
        {"ab cd ef", "ab cd", "ef"},       // right of the middle first at the same distance
        {"abc de fg", "abc", "de fg"},     // left of the middle first one step further out
        {"abcdefg h", "abcdefg", "h"},
        {"A B", "A B", ""},                // too short to split
        {" abc", " abc", ""},              // a leading space never splits
        {"", "", ""},
    };
    for (const auto& c : cases) {
        CString strFirst = "x", strSecond = "x";
        CKLVPaintManager::SplitString(c.psz, strFirst, strSecond);
        EXPECT_STREQ(strFirst, c.pszFirst) << c.psz;
        EXPECT_STREQ(strSecond, c.pszSecond) << c.psz;
    }
}

}  // namespace

namespace {

// Each caption and arrow figure is drawn in its pixels, within its box, and unlike every other; the
// close figure is the cross of two strokes, symmetric about its middle; an arrow points its way.
TEST(CaptionGlyphs, EachFigureIsItsOwnAndStaysInItsBox) {
    const CRect rc(8, 8, 24, 24);   // centre (16, 16)
    std::vector<std::set<std::pair<int, int>>> drawn;
    for (int nGlyph = CKLVPaintManager::glyphClose; nGlyph <= CKLVPaintManager::glyphArrowRight; ++nGlyph) {
        Dib dib;
        CKLVPaintManager::DrawCaptionGlyph(&dib.m_dc, rc, static_cast<CKLVPaintManager::CaptionGlyph>(nGlyph), kInk);
        const auto painted = dib.Painted();
        EXPECT_GE(painted.size(), 8u) << nGlyph;
        for (const auto& point : painted)
            EXPECT_TRUE(rc.PtInRect(CPoint(point.first, point.second))) << nGlyph << " at " << point.first;
        for (const auto& other : drawn) EXPECT_NE(painted, other) << nGlyph;
        drawn.push_back(painted);
    }
    const auto& close = drawn[CKLVPaintManager::glyphClose];
    for (const auto& point : close) EXPECT_TRUE(close.count({31 - point.first, point.second})) << point.first;
    EXPECT_TRUE(close.count({12, 12}) && close.count({19, 12}) && close.count({15, 15}) && close.count({12, 19}));
    // Up is widest at the bottom, left at the right.
    auto widthAt = [](const std::set<std::pair<int, int>>& points, bool bRow, int n) {
        return std::count_if(points.begin(), points.end(), [&](const auto& p) { return (bRow ? p.second : p.first) == n; });
    };
    EXPECT_LT(widthAt(drawn[CKLVPaintManager::glyphArrowUp], true, 14), widthAt(drawn[CKLVPaintManager::glyphArrowUp], true, 17));
    EXPECT_LT(widthAt(drawn[CKLVPaintManager::glyphArrowLeft], false, 14), widthAt(drawn[CKLVPaintManager::glyphArrowLeft], false, 17));
}

}  // namespace
