// Status-bar strokes, marks and embossed text drawn into a 32-bit DIB section.
#include "PaintManagerTestSupport.h"

using commandbars_test::Dib;
using commandbars_test::kBack;
using commandbars_test::PaintManagerTest;
using commandbars_test::Strokes;

namespace {

const COLORREF kShadow = RGB(128, 128, 128);
const COLORREF kHighlight = RGB(255, 255, 254);

class StatusParts : public PaintManagerTest {
protected:
    void SetUp() override {
        PaintManagerTest::SetUp();
        m_pPaintManager->SetCustomColor(COLOR_BTNSHADOW, kShadow);
        m_pPaintManager->SetCustomColor(COLOR_BTNHIGHLIGHT, kHighlight);
    }
    // The pixels of one colour.
    static std::set<std::pair<int, int>> InColor(const Dib& dib, COLORREF clr) {
        std::set<std::pair<int, int>> points;
        for (const auto& pt : dib.Painted())
            if (dib.At(pt.first, pt.second) == clr) points.insert(pt);
        return points;
    }
};

TEST_F(StatusParts, GripperStrokesFromTheRectanglesCorner) {
    for (CPoint ptOrigin : {CPoint(0, 0), CPoint(7, 5)}) {
        Dib dib;
        m_pPaintManager->DrawStatusBarGripper(&dib.m_dc, CRect(ptOrigin, CSize(20, 16)));
        std::set<std::pair<int, int>> expectShadow, expectLight;
        for (int k = 0; k < 3; ++k) {
            const int x = ptOrigin.x, y = ptOrigin.y;
            for (const auto& pt : Strokes({{{x + 17 - 4 * k, y + 14}, {x + 19, y + 12 - 4 * k}},
                                           {{x + 16 - 4 * k, y + 14}, {x + 19, y + 11 - 4 * k}}}))
                expectShadow.insert(pt);
            for (const auto& pt : Strokes({{{x + 15 - 4 * k, y + 14}, {x + 19, y + 10 - 4 * k}}})) expectLight.insert(pt);
        }
        EXPECT_EQ(InColor(dib, kShadow), expectShadow) << ptOrigin.x;
        EXPECT_EQ(InColor(dib, kHighlight), expectLight) << ptOrigin.x;
    }
}

TEST_F(StatusParts, PaneBorderIsShadowAboveAndLightBelow) {
    Dib dib;
    m_pPaintManager->DrawStatusBarPaneBorder(&dib.m_dc, CRect(2, 2, 30, 20), FALSE);
    EXPECT_EQ(dib.At(2, 2), kShadow);
    EXPECT_EQ(dib.At(15, 2), kShadow);
    EXPECT_EQ(dib.At(2, 10), kShadow);
    EXPECT_EQ(dib.At(29, 10), kHighlight);
    EXPECT_EQ(dib.At(15, 19), kHighlight);
    EXPECT_EQ(dib.At(15, 10), kBack);
}

TEST_F(StatusParts, WorkspaceTakesColourTwelve) {
    Dib dib;
    m_pPaintManager->SetCustomColor(COLOR_APPWORKSPACE, RGB(1, 2, 3));
    m_pPaintManager->FillWorkspace(&dib.m_dc, CRect(0, 0, 4, 4));
    EXPECT_EQ(dib.At(3, 3), RGB(1, 2, 3));
    EXPECT_EQ(dib.At(4, 4), kBack);
}

TEST_F(StatusParts, MarksAreThirteenSquareDrawnOrNot) {
    Dib dib;
    const CRect rc(4, 4, 17, 17);
    for (BOOL bDraw : {FALSE, TRUE}) {
        EXPECT_EQ(m_pPaintManager->DrawCheckBoxMark(&dib.m_dc, rc, bDraw, FALSE, FALSE, 1, TRUE), CSize(13, 13));
        EXPECT_EQ(dib.Painted().empty(), !bDraw) << "measuring leaves the DC alone";
        EXPECT_EQ(m_pPaintManager->DrawRadioButtonMark(&dib.m_dc, rc, bDraw, FALSE, FALSE, 0, TRUE), CSize(13, 13));
    }
}

TEST_F(StatusParts, DisabledTextIsEmbossedUnlessPressed) {
    const struct { BOOL bPressed, bEnabled, bEmbossed; } cases[] = {
        {FALSE, FALSE, TRUE}, {TRUE, FALSE, FALSE}, {FALSE, TRUE, FALSE}};
    for (const auto& c : cases) {
        Dib dib;
        dib.m_dc.SetBkMode(TRANSPARENT);
        dib.m_dc.SetTextColor(RGB(0, 0, 0));
        dib.m_dc.SelectObject(static_cast<HGDIOBJ>(::GetStockObject(SYSTEM_FONT)));
        CRect rc(2, 2, 38, 38);
        m_pPaintManager->DrawControlText(&dib.m_dc, "W", rc, DT_LEFT, TRUE, c.bPressed, c.bEnabled);
        EXPECT_EQ(!InColor(dib, kHighlight).empty(), bool(c.bEmbossed)) << c.bPressed << c.bEnabled;
        EXPECT_FALSE(InColor(dib, RGB(0, 0, 0)).empty());
        EXPECT_EQ(dib.m_dc.GetTextColor(), RGB(0, 0, 0)) << "the DC's text colour is put back";
    }
    Dib dib;
    dib.m_dc.SelectObject(static_cast<HGDIOBJ>(::GetStockObject(SYSTEM_FONT)));
    CRect rc(0, 0, 0, 0);
    EXPECT_EQ(m_pPaintManager->DrawControlText(&dib.m_dc, "Wide", rc, DT_LEFT, FALSE, FALSE, TRUE).cx,
              dib.m_dc.GetTextExtent("Wide", 4).cx);
    EXPECT_TRUE(dib.Painted().empty());
}

}  // namespace
