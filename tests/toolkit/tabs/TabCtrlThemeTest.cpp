// The dialogs' tab-control themes over a hidden system tab control: the factory's numbers, the
// default theme's outline of a tab for the four orientations, selected and not, who paints top
// tabs, the header's growth with the rows, a control with nothing selected, and the borders of the
// pages as the themes switch.
#include "TabCtrlThemeTestHost.h"
#include "classlib/TabCtrl.h"
#include "toolkit/common/AuxData.h"
#include "toolkit/tabs/TabCtrl.h"
#include "toolkit/tabs/TabCtrlThemes.h"

#include <commctrl.h>

#include <memory>
#include <typeinfo>

namespace {

using tabs_test::Canvas;
using tabs_test::DrawSecondTab;
using tabs_test::HiddenTabs;
using tabs_test::kBack;
using tabs_test::MakeTheme;

TEST(TabCtrlThemes, TheFactoryMakesFlatForOneGradientForTwoAndTheDefaultOtherwise) {
    const struct {
        int nTheme;
        const std::type_info& type;
    } cases[] = {{0, typeid(CKLTabBaseTheme)}, {1, typeid(CKLTabFlatTheme)}, {2, typeid(CKLTabGradientTheme)},
                 {3, typeid(CKLTabBaseTheme)}, {-1, typeid(CKLTabBaseTheme)}};
    CKLTabBaseThemeFactory factory;
    for (const auto& c : cases) {
        std::unique_ptr<CKLThemeManagerStyle> pTheme(factory.CreateTheme(c.nTheme));
        EXPECT_EQ(typeid(*pTheme), c.type) << c.nTheme;
        EXPECT_EQ(static_cast<CKLTabBaseTheme*>(pTheme.get())->m_nTheme, c.nTheme);
    }
}

// Pixels of the default theme's tab, named from the tab's rectangle (l, t, r, b): colour
// numbers, -1 the back colour (the face), -2 untouched.
struct OutlinePixel {
    int xFromLeft, xFromRight, yFromTop, yFromBottom;   // one of each pair is used, the other 99
    int nColor;
};

TEST(TabCtrlThemes, TheDefaultThemesTabOutlinesLeaveThePageSideOpen) {
    const int kNo = 99;
    const struct {
        DWORD dwStyle;
        BOOL bSelected;
        std::vector<OutlinePixel> pixels;
    } cases[] = {
        {0, FALSE, {{0, kNo, 2, kNo, 20}, {2, kNo, 0, kNo, 20}, {1, kNo, 1, kNo, 20}, {kNo, -1, 2, kNo, 21},
                    {kNo, -2, 2, kNo, 16}, {3, kNo, kNo, -1, -1}}},
        {0, TRUE, {{-2, kNo, kNo, 1, 20}, {-2, kNo, kNo, 2, -2}, {kNo, 1, kNo, -1, 21}, {kNo, 1, kNo, 0, -1},
                   {3, kNo, -2, kNo, 20}, {3, kNo, kNo, 0, -1}}},
        {TCS_BOTTOM, FALSE, {{2, kNo, kNo, -1, 21}, {2, kNo, kNo, -2, 16}, {kNo, -1, -1, kNo, 21}, {3, kNo, 0, kNo, -1}}},
        {TCS_BOTTOM, TRUE, {{-2, kNo, -2, kNo, 20}, {3, kNo, kNo, 1, 21}, {3, kNo, -2, kNo, -1}}},
        {TCS_VERTICAL, FALSE, {{2, kNo, 0, kNo, 20}, {0, kNo, 3, kNo, 20}, {2, kNo, kNo, -1, 21}, {kNo, -1, 3, kNo, -1}}},
        {TCS_VERTICAL, TRUE, {{-2, kNo, 3, kNo, 20}, {kNo, 0, 3, kNo, -1}, {kNo, 1, 3, kNo, -2}}},
        {TCS_VERTICAL | TCS_RIGHT, FALSE, {{kNo, -1, 3, kNo, 21}, {0, kNo, 0, kNo, 20}, {0, kNo, 3, kNo, -1}}},
        {TCS_VERTICAL | TCS_RIGHT, TRUE, {{kNo, 1, 3, kNo, 21}, {-2, kNo, 3, kNo, -1}, {-3, kNo, 3, kNo, -2}}},
    };
    std::unique_ptr<CKLTabBaseTheme> pTheme = MakeTheme(0);
    for (const auto& c : cases) {
        CRect rc;
        const auto pCanvas = DrawSecondTab(pTheme.get(), c.dwStyle, c.bSelected, &rc);
        const Canvas& canvas = *pCanvas;
        ASSERT_FALSE(rc.IsRectEmpty());
        for (const OutlinePixel& p : c.pixels) {
            const int x = p.xFromLeft != kNo ? rc.left + p.xFromLeft : rc.right + p.xFromRight;
            const int y = p.yFromTop != kNo ? rc.top + p.yFromTop : rc.bottom + p.yFromBottom;
            const COLORREF clr = p.nColor == -1   ? pTheme->GetBackColor()
                                 : p.nColor == -2 ? kBack
                                                  : GetColorManager()->GetColor(p.nColor);
            EXPECT_EQ(canvas.At(x, y), clr) << std::hex << c.dwStyle << std::dec << "/" << c.bSelected << " at " << x
                                            << "," << y << " (" << p.nColor << ")";
        }
    }
}

TEST(TabCtrlThemes, AGradientTabKeepsItsOutlineWhenSelectedAndDrawsItsFaceAcrossTheClient) {
    std::unique_ptr<CKLTabBaseTheme> pBase = MakeTheme(2);
    auto* pTheme = static_cast<CKLTabGradientTheme*>(pBase.get());
    const COLORREF kBorder = RGB(1, 2, 3), kFace = RGB(9, 9, 200);
    pTheme->m_clrBorder.SetCustomValue(kBorder);
    pTheme->m_clrSelectedFace.SetCustomValue(kFace);
    HiddenTabs tabs(0);
    const CRect rc = tabs.ItemRect(1);
    for (BOOL bSelected : {FALSE, TRUE}) {
        Canvas canvas(kBack);
        pTheme->DrawTab(&canvas.m_dc, &tabs.m_tab, rc, bSelected);
        const CPoint outline[] = {{rc.left, rc.top + 3}, {rc.left + 1, rc.top - 1}, {rc.left + 5, rc.top - 2},
                                  {rc.right, rc.top + 3}, {rc.right - 1, rc.top - 1}};
        for (const CPoint& pt : outline) EXPECT_EQ(canvas.At(pt), kBorder) << bSelected << " " << pt.x << "," << pt.y;
        EXPECT_EQ(canvas.At(rc.left + 5, rc.bottom - 1) != kBorder, TRUE) << bSelected;   // no line toward the pages
        EXPECT_EQ(canvas.At(290, rc.bottom + 1) == kFace, bSelected);
    }
}

TEST(TabCtrlThemes, TheFlatThemesSelectedTopTabIsRaisedAndTheOthersSeparated) {
    std::unique_ptr<CKLTabBaseTheme> pTheme = MakeTheme(1);
    HiddenTabs tabs(0);
    const CRect rc = tabs.ItemRect(1);
    const COLORREF clrLight = GetColorManager()->GetColor(COLOR_3DHIGHLIGHT);
    const COLORREF clrFrame = GetColorManager()->GetColor(COLOR_WINDOWFRAME);
    const COLORREF clrShadow = GetColorManager()->GetColor(COLOR_3DSHADOW);
    Canvas selected(kBack), idle(kBack);
    pTheme->DrawTab(&selected.m_dc, &tabs.m_tab, rc, TRUE);
    pTheme->DrawTab(&idle.m_dc, &tabs.m_tab, rc, FALSE);
    EXPECT_EQ(selected.At(rc.left + 2, rc.top + 4), clrLight);      // the left line
    EXPECT_EQ(selected.At(rc.left + 8, rc.top - 1), clrLight);      // the top line
    EXPECT_EQ(selected.At(rc.right + 2, rc.top + 4), clrFrame);     // the right line
    EXPECT_EQ(selected.At(rc.left + 8, rc.bottom), pTheme->GetBackColor());
    EXPECT_EQ(idle.At(rc.right + 2, rc.top + 4), clrShadow);        // the separator
    EXPECT_EQ(idle.At(rc.left + 8, rc.top + 4), kBack);             // nothing else
}

TEST(TabCtrlThemes, CaptionsThatDoNotFitEndInAnEllipsis) {
    std::unique_ptr<CKLTabBaseTheme> pTheme = MakeTheme(1);
    HiddenTabs tabs(0);
    const char* kCaption = "Wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww";
    tabs.m_tab.InsertItem(3, kCaption);
    const CRect rcNarrow(0, 0, 60, 20);
    Canvas drawn(kBack);
    pTheme->DrawTabText(&drawn.m_dc, &tabs.m_tab, rcNarrow, 3, FALSE);
    // The system's own drawing of the caption in the same font, cut with and without the ellipsis.
    auto reference = [&](UINT nEllipsis) {
        auto pCanvas = std::make_unique<Canvas>(kBack);
        CFont* pOld = pCanvas->m_dc.SelectObject(&KLVAuxData()->font);
        pCanvas->m_dc.SetBkMode(TRANSPARENT);
        pCanvas->m_dc.SetTextColor(GetColorManager()->GetColor(49));
        CRect rc = rcNarrow;
        pCanvas->m_dc.DrawText(kCaption, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | nEllipsis);
        pCanvas->m_dc.SelectObject(pOld);
        return pCanvas;
    };
    const auto pEllipsis = reference(DT_END_ELLIPSIS), pCut = reference(0);
    int nFromEllipsis = 0, nFromCut = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            nFromEllipsis += drawn.At(x, y) != pEllipsis->At(x, y);
            nFromCut += drawn.At(x, y) != pCut->At(x, y);
        }
    EXPECT_EQ(nFromEllipsis, 0);
    EXPECT_GT(nFromCut, 0);
}

TEST(TabCtrlThemes, TheDefaultThemeLeavesTopTabsToTheSystemAndTheOthersPaintThemselves) {
    const struct {
        int nTheme;
        DWORD dwStyle;
        BOOL bPainted;
    } cases[] = {{0, 0, FALSE}, {0, TCS_BOTTOM, FALSE}, {1, 0, TRUE}, {2, 0, TRUE}, {2, TCS_VERTICAL, TRUE}};
    // Bottom tabs of the default theme draw themselves only under an active "TAB" style.
    CKLVWinThemeWrapper style;
    const BOOL bStyled = style.OpenThemeData(nullptr, L"TAB") && style.IsAppThemed();
    for (const auto& c : cases) {
        const BOOL bPainted = c.bPainted || (c.nTheme == 0 && c.dwStyle == TCS_BOTTOM && bStyled);
        CWnd parent;
        parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, CRect(0, 0, 320, 240), nullptr, 0);
        CKLTabCtrl tab;
        tab.Create(WS_CHILD | WS_VISIBLE | c.dwStyle, CRect(0, 0, 300, 200), &parent, 1);
        tab.InsertItem(0, "One");
        std::unique_ptr<CKLTabBaseTheme> pTheme = MakeTheme(c.nTheme);
        Canvas canvas(kBack);
        EXPECT_EQ(pTheme->Paint(&canvas.m_dc, &tab), bPainted) << c.nTheme << "/" << c.dwStyle;
        EXPECT_EQ(canvas.At(150, 150), pTheme->GetBackColor()) << c.nTheme << "/" << c.dwStyle;
        tab.DestroyWindow();
        parent.DestroyWindow();
    }
}

TEST(TabCtrlThemes, TheTopHeaderGrowsWithTheRowsAndIsUncutWithoutASelection) {
    std::unique_ptr<CKLTabBaseTheme> pTheme = MakeTheme(1);
    HiddenTabs tabs(TCS_MULTILINE);
    const int nRows = static_cast<int>(tabs.m_tab.SendMessage(TCM_GETROWCOUNT));
    const CRect rcItem = tabs.ItemRect(1);
    EXPECT_EQ(pTheme->GetHeaderRect(&tabs.m_tab).bottom, rcItem.Height() * nRows + pTheme->m_nEdge);
    for (int i = 0; i < 6; ++i) tabs.m_tab.InsertItem(tabs.m_tab.GetItemCount(), "A longer caption");
    const int nMoreRows = static_cast<int>(tabs.m_tab.SendMessage(TCM_GETROWCOUNT));
    ASSERT_GT(nMoreRows, nRows);
    EXPECT_EQ(pTheme->GetHeaderRect(&tabs.m_tab).bottom, tabs.ItemRect(1).Height() * nMoreRows + pTheme->m_nEdge);

    tabs.m_tab.SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(-1));
    CRect rcClient;
    tabs.m_tab.GetClientRect(&rcClient);
    EXPECT_EQ(pTheme->GetHeaderRect(&tabs.m_tab), rcClient);
}

// The client width of a 100-pixel page shows which frame the window really has.
int FrameWidth(DWORD dwStyle, DWORD dwExStyle) {
    return (dwStyle & WS_BORDER ? 1 : 0) + (dwExStyle & WS_EX_CLIENTEDGE ? 2 : 0) +
           (dwExStyle & WS_EX_STATICEDGE ? 1 : 0);
}

TEST(TabCtrlThemes, TheDefaultThemeGivesPagesBackTheBordersTheyCameWith) {
    const DWORD kEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
    const struct {
        DWORD dwStyle, dwExStyle;
    } cases[] = {{WS_BORDER, 0}, {0, WS_EX_CLIENTEDGE}, {WS_BORDER, WS_EX_STATICEDGE}, {0, 0}};
    std::unique_ptr<CKLTabBaseTheme> pDefault = MakeTheme(0);
    for (const auto& c : cases) {
        for (int nFraming : {1, 2}) {
            const std::string what = std::to_string(c.dwStyle) + "/" + std::to_string(c.dwExStyle) + " after theme " +
                                     std::to_string(nFraming);
            std::unique_ptr<CKLTabBaseTheme> pFraming = MakeTheme(nFraming);
            CWnd parent, page;
            parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, CRect(0, 0, 320, 240), nullptr, 0);
            page.CreateEx(c.dwExStyle, AfxRegisterWndClass(0), "page", WS_CHILD | c.dwStyle, CRect(0, 0, 100, 80),
                          &parent, 2);
            CKLTabCtrlItem record;
            record.pWnd = &page;
            record.dwSavedStyle = page.GetStyle();
            record.dwSavedExStyle = page.GetExStyle();
            CRect rc;

            pFraming->PreparePage(record);
            page.GetClientRect(&rc);
            EXPECT_EQ(page.GetStyle() & WS_BORDER, 0u) << what;
            EXPECT_EQ(page.GetExStyle() & kEdges, 0u) << what;
            EXPECT_EQ(rc.Width(), 100) << what;

            pDefault->PreparePage(record);
            page.GetClientRect(&rc);
            EXPECT_EQ(page.GetStyle() & WS_BORDER, c.dwStyle) << what;
            EXPECT_EQ(page.GetExStyle() & kEdges, c.dwExStyle) << what;
            EXPECT_EQ(rc.Width(), 100 - 2 * FrameWidth(c.dwStyle, c.dwExStyle)) << what << ": the frame was redone";

            page.DestroyWindow();
            pDefault->PreparePage(record);   // a page whose window is gone is left alone
            parent.DestroyWindow();
        }
    }
}

}  // namespace
