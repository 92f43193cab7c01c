// The shared figures drawn into a 32-bit DIB section, and the two-line caption split.
#include "ToolkitTestSupport.h"
#include "support/FlatPaintManagerTheme.h"
#include "toolkit/common/DrawHelpers.h"

#include <set>
#include <utility>

namespace {

const COLORREF kBack = RGB(255, 255, 255);
const COLORREF kInk = RGB(0, 0, 0);

// A white 32-bit DIB section selected into a memory DC.
class Dib {
public:
    Dib(int cx = 40, int cy = 40) : m_cx(cx), m_cy(cy) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_bitmap.Attach(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
        m_dc.CreateCompatibleDC(nullptr);
        m_hOld = m_dc.SelectObject(static_cast<HGDIOBJ>(m_bitmap));
        m_dc.FillSolidRect(0, 0, cx, cy, kBack);
    }
    ~Dib() { m_dc.SelectObject(m_hOld); }
    COLORREF At(int x, int y) const { return m_dc.GetPixel(x, y); }
    std::set<std::pair<int, int>> Painted() const {
        std::set<std::pair<int, int>> points;
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                if (At(x, y) != kBack) points.insert({x, y});
        return points;
    }

    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOld;
    int m_cx, m_cy;
};

struct Release {
    void operator()(CKLVPaintManager* p) const { p->InternalRelease(); }
};

class Glyphs : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        m_pPaintManager.reset(CKLVPaintManager::CreateThemeObject(0));
    }
    std::unique_ptr<CKLVPaintManager, Release> m_pPaintManager;
};

// The pixels of polylines through the points, each end point left out.
std::set<std::pair<int, int>> Strokes(std::initializer_list<std::initializer_list<POINT>> lines) {
    Dib dib;
    CPen pen(PS_SOLID, 1, kInk);
    CPen* pOld = dib.m_dc.SelectObject(&pen);
    for (const auto& line : lines) dib.m_dc.Polyline(line.begin(), static_cast<int>(line.size()));
    dib.m_dc.SelectObject(pOld);
    return dib.Painted();
}

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
