// The flat and gradient themes' tabs on the bottom, left and right of the row, selected and not,
// and what they draw for the scroll and close buttons: the glyphs by state and the buttons
// window's background.
#include "TabCtrlThemeTestHost.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/tabs/TabCtrl.h"
#include "toolkit/tabs/TabCtrlButtons.h"

#include <string>
#include <vector>

namespace tabs_test {
namespace {

// A pixel named from the tab's rectangle (l, t, r, b): an offset from one edge on each axis.
struct Mark {
    char xEdge;   // 'l', 'r' or 'm' (the middle)
    int dx;
    char yEdge;   // 't', 'b' or 'm'
    int dy;
    int nColor;   // a colour number, or one of the kinds below
};
// The theme's back colour, the canvas, anything but the outline, the outline.
const int kFace = -1, kUntouched = -2, kNotBorder = -3, kBorder = -4;

CPoint At(const CRect& rc, const Mark& m) {
    const int x = m.xEdge == 'l' ? rc.left : m.xEdge == 'r' ? rc.right : rc.CenterPoint().x;
    const int y = m.yEdge == 't' ? rc.top : m.yEdge == 'b' ? rc.bottom : rc.CenterPoint().y;
    return CPoint(x + m.dx, y + m.dy);
}

struct OutlineCase {
    DWORD dwStyle;
    BOOL bSelected;
    std::vector<Mark> marks;
};

void CheckOutlines(int nTheme, const std::vector<OutlineCase>& cases) {
    std::unique_ptr<CKLTabBaseTheme> pTheme = MakeTheme(nTheme);
    for (const OutlineCase& c : cases) {
        CRect rc;
        const auto pCanvas = DrawSecondTab(pTheme.get(), c.dwStyle, c.bSelected, &rc);
        const Canvas& canvas = *pCanvas;
        ASSERT_FALSE(rc.IsRectEmpty());
        for (const Mark& m : c.marks) {
            const CPoint pt = At(rc, m);
            const COLORREF clr = m.nColor == kFace        ? pTheme->GetBackColor()
                                 : m.nColor == kUntouched ? kBack
                                                          : GetColorManager()->GetColor(m.nColor);
            EXPECT_EQ(canvas.At(pt), clr) << "theme " << nTheme << " style " << std::hex << c.dwStyle << std::dec
                                          << (c.bSelected ? " selected" : "") << " at " << pt.x << "," << pt.y
                                          << " (" << m.xEdge << m.dx << "," << m.yEdge << m.dy << ")";
        }
    }
}

const DWORD kLeft = TCS_VERTICAL, kRight = TCS_VERTICAL | TCS_RIGHT;

TEST(TabCtrlThemeOutlines, FlatSelectedTabsAreRaisedTowardTheRowAndOpenTowardThePages) {
    CheckOutlines(1, {
        // Bottom: light left line, frame-coloured bottom and right lines; the face reaches the pages.
        {TCS_BOTTOM, TRUE, {{'l', 2, 'm', 0, 20}, {'m', 0, 'b', 0, 6}, {'r', 1, 'm', 0, 6}, {'m', 0, 't', 0, kFace},
                            {'l', 1, 'm', 0, kUntouched}}},
        // Left: light top and left lines, a frame-coloured bottom line; no line on the right.
        {kLeft, TRUE, {{'m', 0, 't', 3, 20}, {'l', -1, 'm', 0, 20}, {'m', 0, 'b', 1, 6}, {'r', 0, 'm', 0, kFace},
                       {'m', 0, 't', 2, kUntouched}}},
        // Right: a light top line, frame-coloured right and bottom lines; no line on the left.
        {kRight, TRUE, {{'m', 0, 't', 3, 20}, {'r', -1, 'm', 0, 6}, {'m', 0, 'b', 1, 6}, {'l', -1, 'm', 0, kFace},
                        {'r', 0, 'm', 0, kUntouched}}},
    });
}

TEST(TabCtrlThemeOutlines, FlatTabsNotSelectedGetOnlyASeparator) {
    CheckOutlines(1, {
        {TCS_BOTTOM, FALSE, {{'r', 1, 't', 2, 16}, {'r', 1, 'b', -2, 16}, {'r', 1, 'b', -1, kUntouched},
                             {'m', 0, 'm', 0, kUntouched}, {'m', 0, 'b', 0, kUntouched}}},
        {kLeft, FALSE, {{'l', 2, 'b', 3, 16}, {'r', -3, 'b', 3, 16}, {'r', -2, 'b', 3, kUntouched},
                        {'m', 0, 'm', 0, kUntouched}, {'l', -1, 'm', 0, kUntouched}}},
        {kRight, FALSE, {{'m', 0, 'b', 3, 16}, {'m', 0, 't', 3, kUntouched}, {'r', -1, 'm', 0, kUntouched}}},
    });
}

TEST(TabCtrlThemeOutlines, GradientTabsHaveCutCornersAndNoLineTowardThePages) {
    const COLORREF kBorderColor = RGB(1, 2, 3);
    std::vector<OutlineCase> cases;
    for (BOOL bSelected : {FALSE, TRUE}) {
        // Bottom: both sides, the bottom line, a pixel inside each cut corner; the corner itself untouched.
        cases.push_back({TCS_BOTTOM, bSelected, {{'l', 0, 'm', 0, kBorder}, {'r', 0, 'm', 0, kBorder},
                                                 {'m', 0, 'b', 1, kBorder}, {'l', 1, 'b', 0, kBorder},
                                                 {'r', -1, 'b', 0, kBorder}, {'l', 0, 'b', 1, kUntouched},
                                                 {'m', 0, 't', 0, kNotBorder}}});
        cases.push_back({kLeft, bSelected, {{'m', 0, 't', 0, kBorder}, {'l', 0, 'm', 0, kBorder},
                                            {'m', 0, 'b', 0, kBorder}, {'l', 1, 't', 1, kBorder},
                                            {'l', 1, 'b', -1, kBorder}, {'l', 0, 't', 0, kUntouched},
                                            {'r', 0, 'm', 0, kNotBorder}}});
        cases.push_back({kRight, bSelected, {{'m', 0, 't', 0, kBorder}, {'r', 0, 'm', 0, kBorder},
                                             {'m', 0, 'b', 0, kBorder}, {'r', -1, 't', 1, kBorder},
                                             {'r', -1, 'b', -1, kBorder}, {'r', 0, 't', 0, kUntouched},
                                             {'l', 0, 'm', 0, kNotBorder}}});
    }
    std::unique_ptr<CKLTabBaseTheme> pBase = MakeTheme(2);
    auto* pTheme = static_cast<CKLTabGradientTheme*>(pBase.get());
    pTheme->m_clrBorder.SetCustomValue(kBorderColor);
    for (const OutlineCase& c : cases) {
        CRect rc;
        const auto pCanvas = DrawSecondTab(pTheme, c.dwStyle, c.bSelected, &rc);
        const Canvas& canvas = *pCanvas;
        for (const Mark& m : c.marks) {
            const CPoint pt = At(rc, m);
            const std::string what = "style " + std::to_string(c.dwStyle) + (c.bSelected ? " selected" : "") +
                                     " at " + std::to_string(pt.x) + "," + std::to_string(pt.y);
            if (m.nColor == kBorder) {
                EXPECT_EQ(canvas.At(pt), kBorderColor) << what;
            }
            if (m.nColor == kUntouched) {
                EXPECT_EQ(canvas.At(pt), kBack) << what;
            }
            // The side toward the pages carries the face, never the outline.
            if (m.nColor == kNotBorder) {
                EXPECT_NE(canvas.At(pt), kBorderColor) << what;
            }
        }
    }
}

TEST(TabCtrlThemeOutlines, AGradientSelectedTabDrawsItsFaceAcrossTheClientOnItsPageSide) {
    const COLORREF kFaceColor = RGB(9, 9, 200);
    const struct {
        DWORD dwStyle;
        char edge;   // which side of the tab the line runs along
    } cases[] = {{TCS_BOTTOM, 't'}, {kLeft, 'r'}, {kRight, 'l'}};
    std::unique_ptr<CKLTabBaseTheme> pBase = MakeTheme(2);
    auto* pTheme = static_cast<CKLTabGradientTheme*>(pBase.get());
    pTheme->m_clrSelectedFace.SetCustomValue(kFaceColor);
    for (const auto& c : cases) {
        CRect rc;
        const auto pCanvas = DrawSecondTab(pTheme, c.dwStyle, TRUE, &rc);
        const Canvas& canvas = *pCanvas;
        // Far from the tab, at both ends of the client.
        const CPoint ends[2] = {
            c.edge == 't' ? CPoint(1, rc.top - 2) : CPoint(c.edge == 'r' ? rc.right + 1 : rc.left - 2, 1),
            c.edge == 't' ? CPoint(298, rc.top - 2) : CPoint(c.edge == 'r' ? rc.right + 1 : rc.left - 2, 198)};
        for (const CPoint& pt : ends) EXPECT_EQ(canvas.At(pt), kFaceColor) << c.dwStyle << " at " << pt.x << "," << pt.y;
    }
}

TEST(TabCtrlThemeOutlines, FlatAndGradientThemesFrameThePageAreaTheDefaultDoesNot) {
    CKLVColorManager* pColors = GetColorManager();
    const struct {
        int nTheme;
        BOOL bFramed;
        COLORREF clrFrame;
    } cases[] = {{0, FALSE, 0}, {1, TRUE, pColors->GetColor(52)}, {2, TRUE, pColors->GetLunaColor(39)}};
    for (const auto& c : cases) {
        CWnd parent;
        parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, CRect(0, 0, 320, 240), nullptr, 0);
        CKLTabCtrl tab;
        tab.Create(WS_CHILD | WS_VISIBLE | TCS_BOTTOM, CRect(0, 0, 300, 200), &parent, 1);
        tab.InsertItem(0, "One");
        tab.InsertItem(1, "Two");
        CRect rcPages;
        tab.GetChildRect(rcPages);
        ASSERT_FALSE(rcPages.IsRectEmpty());
        rcPages.InflateRect(1, 1);
        std::unique_ptr<CKLTabBaseTheme> pTheme = MakeTheme(c.nTheme);
        Canvas canvas(kBack);
        pTheme->Paint(&canvas.m_dc, &tab);
        const CPoint edges[] = {{rcPages.left, rcPages.CenterPoint().y}, {rcPages.CenterPoint().x, rcPages.top},
                                {rcPages.right - 1, rcPages.CenterPoint().y},
                                {rcPages.CenterPoint().x, rcPages.bottom - 1}};
        for (const CPoint& pt : edges)
            EXPECT_EQ(canvas.At(pt) == c.clrFrame, c.bFramed) << c.nTheme << " at " << pt.x << "," << pt.y;
        // Nothing selected, nothing framed.
        tab.SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(-1));
        Canvas unselected(kBack);
        pTheme->Paint(&unselected.m_dc, &tab);
        EXPECT_NE(unselected.At(edges[0]), c.clrFrame) << c.nTheme;
        tab.DestroyWindow();
        parent.DestroyWindow();
    }
}

// ---------------------------------------------------------------------------------------------
// The buttons.

TEST(TabCtrlThemeButtons, GlyphsAreFilledWhenEnabledOutlinedWhenDisabledAndFramedByState) {
    using B = CKLTabCtrlButton;
    const COLORREF kGlyph = RGB(0, 0, 200), kBlack = RGB(0, 0, 0), kLight = ::GetSysColor(COLOR_3DLIGHT);
    const struct Case {
        const char* pszName;
        DWORD dwState;
        std::vector<std::pair<CPoint, COLORREF>> pixels;   // from the button's top-left corner
    } cases[] = {
        {"close", B::kindClose, {{{3, 3}, kGlyph}, {{4, 3}, kGlyph}, {{3, 9}, kGlyph}, {{0, 0}, kBack}}},
        {"left", B::kindLeft, {{{9, 6}, kGlyph}, {{7, 6}, kGlyph}, {{9, 2}, kGlyph}, {{11, 6}, kBack}}},
        {"right", B::kindRight, {{{4, 6}, kGlyph}, {{6, 6}, kGlyph}, {{8, 6}, kGlyph}, {{3, 6}, kBack}}},
        {"disabled left", B::kindLeft | B::stateDisabled,
         {{{9, 6}, kGlyph}, {{7, 6}, kBack}, {{5, 6}, kGlyph}, {{0, 0}, kBack}}},
        {"hot close", B::kindClose | B::stateHot,
         {{{0, 7}, kLight}, {{7, 0}, kLight}, {{13, 7}, kBlack}, {{7, 14}, kBlack}, {{3, 3}, kGlyph}}},
        {"pressed right", B::kindRight | B::statePressed,
         {{{0, 7}, kBlack}, {{7, 0}, kBlack}, {{13, 7}, kLight}, {{7, 14}, kLight}, {{5, 7}, kGlyph}, {{4, 3}, kBack}}},
        {"hot and disabled", B::kindRight | B::stateHot | B::stateDisabled, {{{0, 7}, kBack}, {{13, 7}, kBack}}},
    };
    for (int nTheme : {1, 2}) {
        std::unique_ptr<CKLTabBaseTheme> pTheme = MakeTheme(nTheme);
        for (const Case& c : cases) {
            B button(c.dwState);
            button.m_rcButton = CRect(10, 20, 24, 35);
            Canvas canvas(kBack);
            pTheme->DrawButton(&canvas.m_dc, &button, kGlyph);
            for (const auto& [pt, clr] : c.pixels)
                EXPECT_EQ(canvas.At(10 + pt.x, 20 + pt.y), clr)
                    << "theme " << nTheme << ", " << c.pszName << " at " << pt.x << "," << pt.y;
        }
    }
}

TEST(TabCtrlThemeButtons, TheDefaultThemeDrawsNoButtons) {
    std::unique_ptr<CKLTabBaseTheme> pTheme = MakeTheme(0);
    CKLTabCtrlButton button(CKLTabCtrlButton::kindClose);
    button.m_rcButton = CRect(0, 0, 14, 15);
    Canvas canvas(kBack);
    pTheme->DrawButton(&canvas.m_dc, &button, RGB(0, 0, 200));
    EXPECT_EQ(canvas.Count(CRect(0, 0, 20, 20), kBack), 400);
}

// A child window of the tab control standing for the buttons window.
class ButtonsBackground : public ::testing::Test {
protected:
    void Place(HiddenTabs& tabs) {
        m_buttons.CreateEx(0, AfxRegisterWndClass(0), "buttons", WS_CHILD, CRect(0, 0, 30, 15), &tabs.m_tab, 7);
    }
    CWnd m_buttons;
};

TEST_F(ButtonsBackground, TheFlatThemeFillsAndLinesTheSideAwayFromThePages) {
    const struct {
        DWORD dwStyle;
        int yLine, nLine, yOther;
    } cases[] = {{0, 14, COLOR_3DHIGHLIGHT, 0}, {TCS_BOTTOM, 0, COLOR_BTNTEXT, 14}};
    std::unique_ptr<CKLTabBaseTheme> pTheme = MakeTheme(1);
    CKLVColorManager* pColors = GetColorManager();
    for (const auto& c : cases) {
        HiddenTabs tabs(c.dwStyle);
        Place(tabs);
        Canvas canvas(kBack);
        EXPECT_EQ(pTheme->FillButtonsBackground(&canvas.m_dc, &m_buttons), pColors->GetColor(49)) << c.dwStyle;
        EXPECT_EQ(canvas.At(15, 7), pColors->GetColor(48)) << c.dwStyle;
        EXPECT_EQ(canvas.At(15, c.yLine), pColors->GetColor(c.nLine)) << c.dwStyle;
        EXPECT_EQ(canvas.At(15, c.yOther), pColors->GetColor(48)) << c.dwStyle;
        EXPECT_EQ(canvas.At(30, 7), kBack) << c.dwStyle << ": only the window's client";
        m_buttons.DestroyWindow();
    }
}

TEST_F(ButtonsBackground, TheGradientThemeRunsTheHeaderGradientTheWayTheRowDoes) {
    const COLORREF kFrom = RGB(250, 0, 10), kTo = RGB(0, 10, 250);
    const struct {
        DWORD dwStyle;
        CPoint ptFrom, ptTo;   // where each end colour lies
    } cases[] = {{0, {15, 0}, {15, 14}}, {TCS_BOTTOM, {15, 14}, {15, 0}}, {kLeft, {0, 7}, {29, 7}}};
    std::unique_ptr<CKLTabBaseTheme> pBase = MakeTheme(2);
    auto* pTheme = static_cast<CKLTabGradientTheme*>(pBase.get());
    pTheme->m_grcHeader.SetStandardValue(kFrom, kTo);
    for (const auto& c : cases) {
        HiddenTabs tabs(c.dwStyle);
        Place(tabs);
        Canvas canvas(kBack);
        EXPECT_EQ(pTheme->FillButtonsBackground(&canvas.m_dc, &m_buttons), 0u) << c.dwStyle;
        const COLORREF clrFrom = canvas.At(c.ptFrom), clrTo = canvas.At(c.ptTo);
        EXPECT_GT(GetRValue(clrFrom), 200) << c.dwStyle;
        EXPECT_LT(GetBValue(clrFrom), 50) << c.dwStyle;
        EXPECT_GT(GetBValue(clrTo), 200) << c.dwStyle;
        EXPECT_LT(GetRValue(clrTo), 50) << c.dwStyle;
        m_buttons.DestroyWindow();
    }
}

}  // namespace
}  // namespace tabs_test
