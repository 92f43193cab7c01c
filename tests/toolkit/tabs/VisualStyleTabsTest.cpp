// Tabs drawn through the visual style, with the tests' own style standing in for the system's:
// the visual-style colour set's tabs on the four row positions and the pixel it cuts from the
// header's clip, the tab-control themes' themed tabs for the four orientations, and the clip a
// caller had before a selected tab was drawn.
#include "FakeVisualStyle.h"
#include "TabCtrlThemeTestHost.h"
#include "toolkit/tabs/TabColorsVisualStyle.h"
#include "toolkit/tabs/TabCtrl.h"

#include <string>
#include <vector>

namespace tabs_test {
namespace {

using Style = FakeVisualStyle;

// Where a drawn tab shows what: its outer line (middle point), its face (centre), the corner the
// style leaves alone, and the point just beyond the outer line.
struct Expect {
    CPoint ptEdge, ptCorner, ptBeyond;
};

Expect Sides(const CRect& rc, char outer) {
    const CPoint c = rc.CenterPoint();
    switch (outer) {
    case 'b': return {CPoint(c.x, rc.bottom - 1), CPoint(rc.left, rc.bottom - 1), CPoint(c.x, rc.bottom)};
    case 'l': return {CPoint(rc.left, c.y), CPoint(rc.left, rc.top), CPoint(rc.left - 1, c.y)};
    case 'r': return {CPoint(rc.right - 1, c.y), CPoint(rc.right - 1, rc.bottom - 1), CPoint(rc.right, c.y)};
    default: return {CPoint(c.x, rc.top), CPoint(rc.left, rc.top), CPoint(c.x, rc.top - 1)};
    }
}

std::string Where(const CPoint& pt) { return " at " + std::to_string(pt.x) + "," + std::to_string(pt.y); }

TEST(VisualStyleColorSet, TabsAreTheStylesTopTabTurnedToTheRowPosition) {
    const CRect rcHorz(40, 40, 100, 60), rcVert(40, 40, 60, 100);
    const struct {
        int nPosition;
        BOOL bSelected;
        CRect rcDrawn;   // what the style's image covers
        char outer;
    } cases[] = {
        {0, FALSE, CRect(39, 39, 101, 60), 't'}, {0, TRUE, CRect(39, 39, 101, 62), 't'},
        {2, FALSE, CRect(39, 40, 101, 62), 'b'}, {2, TRUE, CRect(39, 40, 101, 62), 'b'},
        {1, FALSE, CRect(39, 39, 60, 101), 'l'}, {1, TRUE, CRect(39, 39, 61, 101), 'l'},
        {3, FALSE, CRect(40, 39, 62, 101), 'r'}, {3, TRUE, CRect(40, 39, 62, 101), 'r'},
    };
    Style style;
    for (const auto& c : cases) {
        const std::string what = "position " + std::to_string(c.nPosition) + (c.bSelected ? " selected" : "");
        TestTabRow row;
        row.m_pPainter->SetColor(8);
        row.m_pPainter->SetPosition(c.nPosition);
        row.AddFixedTabs(3, 60);
        row.SetCurSel(c.bSelected ? 1 : 0);
        CKLVTabColors* pSet = row.m_pPainter->GetColorSet();
        ASSERT_TRUE(pSet->IsThemed()) << what;
        Canvas canvas;
        Style::TargetDC() = canvas.m_dc.GetSafeHdc();
        Style::Calls().clear();
        EXPECT_EQ(pSet->FillItem(&canvas.m_dc, c.nPosition % 2 ? rcVert : rcHorz, row.Item(1)), COLORREF(-1)) << what;
        const int nState = c.bSelected ? 3 : 1;
        ASSERT_EQ(Style::Calls().size(), 1u) << what;
        EXPECT_EQ(Style::Calls()[0].nPart, 5) << what;
        EXPECT_EQ(Style::Calls()[0].nState, nState) << what;
        // Only the top row is drawn straight in; the others go through an image.
        EXPECT_EQ(Style::Calls()[0].bIntoScreenDC, c.nPosition == 0) << what;
        const Expect e = Sides(c.rcDrawn, c.outer);
        EXPECT_EQ(canvas.At(c.rcDrawn.CenterPoint()), Style::Face(5, nState)) << what;
        EXPECT_EQ(canvas.At(e.ptEdge), Style::Edge(5, nState)) << what << Where(e.ptEdge);
        // The image starts on colour 15; drawn straight in, the canvas shows.
        const COLORREF clrCorner = c.nPosition == 0 ? kBack : GetColorManager()->GetColor(COLOR_3DFACE);
        EXPECT_EQ(canvas.At(e.ptCorner), clrCorner) << what << Where(e.ptCorner);
        EXPECT_EQ(canvas.At(e.ptBeyond), kBack) << what << Where(e.ptBeyond);
    }
}

TEST(VisualStyleColorSet, TheFirstAndLastTabsTakeTheirEdgePartsAndThePaneItsHint) {
    Style style;
    TestTabRow row;
    row.m_pPainter->SetColor(8);
    row.AddFixedTabs(3, 60);
    row.SetCurSel(1);
    CKLVTabColors* pSet = row.m_pPainter->GetColorSet();
    EXPECT_EQ(COLORREF(pSet->clrPaneFace), Style::kPaneHint);
    Canvas canvas;
    Style::Calls().clear();
    for (int i = 0; i < 3; ++i) pSet->FillItem(&canvas.m_dc, CRect(10 + 70 * i, 10, 70 + 70 * i, 30), row.Item(i));
    ASSERT_EQ(Style::Calls().size(), 3u);
    EXPECT_EQ(Style::Calls()[0].nPart, 6);
    EXPECT_EQ(Style::Calls()[1].nPart, 5);
    EXPECT_EQ(Style::Calls()[2].nPart, 7);
}

TEST(VisualStyleColorSet, OnePixelWhereTheRowMeetsTheClientLeavesTheClip) {
    const CRect rcHeader(20, 30, 200, 60);
    const struct {
        int nPosition;
        CPoint ptExcluded;
    } cases[] = {{0, CPoint(20, 59)}, {1, CPoint(199, 30)}, {2, CPoint(20, 29)}, {3, CPoint(19, 30)}};
    Style style;
    for (const auto& c : cases) {
        TestTabRow row;
        row.m_pPainter->SetColor(8);
        row.m_pPainter->SetPosition(c.nPosition);
        const CRect rcStrip = row.m_pPainter->GetAppearanceSet()->GetClientEdge(rcHeader);
        EXPECT_EQ(c.nPosition % 2 ? rcStrip.Width() : rcStrip.Height(), 1) << c.nPosition;
        Canvas canvas;
        row.m_pPainter->GetColorSet()->ExcludeCorners(&canvas.m_dc, rcStrip, &row);
        canvas.m_dc.FillSolidRect(0, 0, 320, 240, RGB(0, 0, 255));
        canvas.m_dc.SelectClipRgn(nullptr);
        EXPECT_EQ(canvas.At(c.ptExcluded), kBack) << c.nPosition;
        EXPECT_EQ(canvas.Count(CRect(0, 0, 320, 240), kBack), 1) << c.nPosition;
    }
}

// The visual-style set noting the strip the row gives it to cut from.
class StripNotingSet : public CKLVTabColorsVisualStyle {
public:
    void ExcludeCorners(CDC* pDC, CRect rc, CKLVTabManager* pTabManager) override {
        m_arrStrips.push_back(rc);
        CKLVTabColorsVisualStyle::ExcludeCorners(pDC, rc, pTabManager);
    }
    std::vector<CRect> m_arrStrips;
};

TEST(VisualStyleColorSet, TheRowCutsAtTheHeadersLineTowardTheClient) {
    Style style;
    for (int nPosition = 0; nPosition < 4; ++nPosition) {
        TestTabRow row;
        auto* pSet = new StripNotingSet;
        row.m_pPainter->SetColorSet(pSet);
        row.m_pPainter->SetPosition(nPosition);
        row.AddFixedTabs(3, 60);
        Canvas canvas;
        row.m_pPainter->DrawTabControl(&row, &canvas.m_dc, row.m_rcRow);
        const CRect& h = row.m_rcHeaderRect;
        const CRect kLines[4] = {CRect(h.left, h.bottom - 1, h.right, h.bottom), CRect(h.right - 1, h.top, h.right, h.bottom),
                                 CRect(h.left, h.top, h.right, h.top + 1), CRect(h.left, h.top, h.left + 1, h.bottom)};
        ASSERT_EQ(pSet->m_arrStrips.size(), 1u) << nPosition;
        EXPECT_EQ(pSet->m_arrStrips[0], kLines[nPosition]) << nPosition;
    }
}

// The tab-control themes with the style in use: the second tab of a hidden control, alone.
std::unique_ptr<CKLTabBaseTheme> ThemedTheme(int nTheme) {
    CKLTabBaseThemeFactory factory;
    std::unique_ptr<CKLTabBaseTheme> pTheme(static_cast<CKLTabBaseTheme*>(factory.CreateTheme(nTheme)));
    pTheme->RefreshMetrics();
    return pTheme;
}

const DWORD kLeft = TCS_VERTICAL, kRight = TCS_VERTICAL | TCS_RIGHT;

TEST(TabCtrlThemedTabs, TheStylesTabTurnedForEachOrientationWithASelectedTabsOuterCornersCut) {
    const struct {
        DWORD dwStyle;
        char outer;
        CRect rcGrow;   // a selected tab's growth on each side
    } cases[] = {{0, 't', CRect(2, 2, 2, 0)},
                 {TCS_BOTTOM, 'b', CRect(2, 0, 2, 2)},
                 {kLeft, 'l', CRect(2, 2, 0, 2)},
                 {kRight, 'r', CRect(0, 2, 2, 2)}};
    Style style;
    std::unique_ptr<CKLTabBaseTheme> pTheme = ThemedTheme(0);
    for (const auto& c : cases) {
        for (BOOL bSelected : {FALSE, TRUE}) {
            const std::string what = "style " + std::to_string(c.dwStyle) + (bSelected ? " selected" : "");
            HiddenTabs tabs(c.dwStyle | TCS_MULTILINE);
            CRect rc = tabs.ItemRect(1);
            ASSERT_FALSE(rc.IsRectEmpty()) << what;
            Canvas canvas;
            Style::Calls().clear();
            pTheme->DrawTab(&canvas.m_dc, &tabs.m_tab, rc, bSelected);
            ASSERT_EQ(Style::Calls().size(), 1u) << what;
            EXPECT_EQ(Style::Calls()[0].nPart, 1) << what;
            const int nState = bSelected ? 3 : 1;
            if (bSelected) rc.InflateRect(c.rcGrow.left, c.rcGrow.top, c.rcGrow.right, c.rcGrow.bottom);
            const Expect e = Sides(rc, c.outer);
            EXPECT_EQ(canvas.At(rc.CenterPoint()), Style::Face(1, nState)) << what;
            EXPECT_EQ(canvas.At(e.ptEdge), Style::Edge(1, nState)) << what << Where(e.ptEdge);
            if (e.ptBeyond.x >= 0 && e.ptBeyond.y >= 0) {
                EXPECT_EQ(canvas.At(e.ptBeyond), kBack) << what << Where(e.ptBeyond);
            }
            if (!bSelected) {
                const COLORREF clrCorner = c.outer == 't' ? kBack : pTheme->GetBackColor();
                EXPECT_EQ(canvas.At(e.ptCorner), clrCorner) << what << Where(e.ptCorner);
                continue;
            }
            // Both outer corners keep what was under them.
            const BOOL bHorizontal = c.outer == 't' || c.outer == 'b';
            const int y = c.outer == 'b' ? rc.bottom - 1 : rc.top, x = c.outer == 'r' ? rc.right - 1 : rc.left;
            const CPoint corners[2] = {CPoint(x, y), bHorizontal ? CPoint(rc.right - 1, y) : CPoint(x, rc.bottom - 1)};
            for (const CPoint& pt : corners) EXPECT_EQ(canvas.At(pt), kBack) << what << Where(pt);
        }
    }
}

TEST(TabCtrlThemedTabs, ASelectedTabGivesTheCallerItsClipBack) {
    Style style;
    std::unique_ptr<CKLTabBaseTheme> pTheme = ThemedTheme(0);
    for (DWORD dwStyle : {DWORD(0), DWORD(TCS_BOTTOM), kLeft, kRight}) {
        HiddenTabs tabs(dwStyle | TCS_MULTILINE);
        Canvas canvas;
        canvas.m_dc.ExcludeClipRect(300, 220, 310, 230);
        pTheme->DrawTab(&canvas.m_dc, &tabs.m_tab, tabs.ItemRect(1), TRUE);
        canvas.m_dc.FillSolidRect(0, 0, 320, 240, RGB(0, 0, 255));
        canvas.m_dc.SelectClipRgn(nullptr);
        EXPECT_EQ(canvas.Count(CRect(0, 0, 320, 240), kBack), 100) << dwStyle;
    }
}

TEST(TabCtrlThemedTabs, ThemeZeroPaintsBottomTabsOverTheStylesPaneWithTheSelectedTabLast) {
    Style style;
    std::unique_ptr<CKLTabBaseTheme> pTheme = ThemedTheme(0);
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, CRect(0, 0, 320, 240), nullptr, 0);
    CKLTabCtrl tab;
    tab.Create(WS_CHILD | WS_VISIBLE | TCS_BOTTOM, CRect(0, 0, 300, 200), &parent, 1);
    for (const char* psz : {"One", "Two", "Three"}) tab.InsertItem(tab.GetItemCount(), psz);
    tab.SendMessage(TCM_SETCURSEL, 1);
    Canvas canvas;
    Style::Calls().clear();
    EXPECT_TRUE(pTheme->Paint(&canvas.m_dc, &tab));
    ASSERT_EQ(Style::Calls().size(), 5u);
    EXPECT_EQ(Style::Calls()[0].nPart, 9);
    EXPECT_EQ(Style::Calls()[0].rc, CRect(0, 0, 300, 200));
    const int kStates[4] = {1, 3, 1, 3};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Style::Calls()[i + 1].nState, kStates[i]) << i;
    // The selected tab, drawn last and grown, covers its neighbours' facing edges.
    CRect rcFirst;
    tab.SendMessage(TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rcFirst));
    EXPECT_EQ(canvas.At(rcFirst.right - 1, rcFirst.CenterPoint().y), Style::Face(1, 3));
    parent.DestroyWindow();
}

}  // namespace
}  // namespace tabs_test
