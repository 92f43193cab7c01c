// The tab paint manager: item lengths by layout, icons and captions, the middle ellipsis,
// vertical fonts, preset colours and the numbering of appearances and colour sets.
#include "TabTestHost.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/tabs/TabStyleAppearances.h"

#include <typeinfo>
#include <utility>

using tabs_test::Canvas;
using tabs_test::TestTabRow;

namespace {

// Pixels that are neither the white background nor an icon: caption ink.
int CountInk(const Canvas& canvas, const CRect& rc) {
    return rc.Width() * rc.Height() - canvas.Count(rc, RGB(255, 255, 255)) - canvas.Count(rc, tabs_test::kIconColor);
}

class Painter : public ::testing::Test {
protected:
    tabs_test::ClassicColors m_colors;
};

TEST_F(Painter, FixedLayoutLengthsFollowTheMinimumAndMaximum) {
    struct Case {
        int nMin, nMax, nExpected;
    };
    for (const Case& c : {Case{0, 0, 70}, Case{80, 0, 80}, Case{0, 50, 50}}) {
        TestTabRow row;
        row.m_pPainter->SetLayout(CKLVTabPainter::layoutFixed);
        row.SetItemMetrics(CSize(70, 0), CSize(c.nMin, 0), CSize(c.nMax, 0));
        row.InsertItem(0)->m_strCaption = "A caption much longer than seventy pixels";
        row.InsertItem(1)->m_strCaption = "x";
        EXPECT_EQ(row.Item(0)->m_nLength, c.nExpected) << c.nMin << "/" << c.nMax;
        EXPECT_EQ(row.Item(1)->m_nLength, c.nExpected);
    }
}

TEST_F(Painter, MeasuredLengthsStayWithinTheLimitsInEveryLayout) {
    for (int nLayout : {0, 1, 2, 3, 5}) {
        TestTabRow row;
        row.m_pPainter->SetLayout(nLayout);
        row.SetItemMetrics(CSize(70, 0), CSize(40, 0), CSize(90, 0));
        row.InsertItem(0)->m_strCaption = "i";
        row.InsertItem(1)->m_strCaption = "A caption much longer than ninety pixels, surely";
        row.SetCurSel(1);
        for (int i = 0; i < 2; ++i) {
            EXPECT_GE(row.Item(i)->m_nContentLength, 40) << nLayout;
            EXPECT_LE(row.Item(i)->m_nContentLength, 90) << nLayout;
        }
    }
}

TEST_F(Painter, CompressedLayoutKeepsTheSelectedLength) {
    TestTabRow row;
    row.m_pPainter->SetLayout(CKLVTabPainter::layoutCompressed);
    row.InsertItem(0)->m_strCaption = "Short";
    row.InsertItem(1)->m_strCaption = "The widest caption of all";
    row.SetCurSel(0);
    const int nSelected = row.Item(0)->m_nLength;
    EXPECT_GT(nSelected, row.Item(1)->m_nLength);
    EXPECT_EQ(row.Item(1)->m_nLength, 8);   // no icons: only the icon room
    row.SetCurSel(1);
    EXPECT_EQ(row.Item(1)->m_nLength, nSelected);
}

TEST_F(Painter, AnIconThatDoesNotFitIsHiddenAndTheCaptionStillMoves) {
    Canvas canvas(RGB(255, 255, 255));
    TestTabRow row;
    row.m_bIcons = TRUE;
    row.m_pPainter->m_rcButtonText.SetRect(0, 0, 0, 0);
    CKLVTabManagerItem* pItem = row.InsertItem(0);
    pItem->m_strCaption = "WWW";
    const CRect rcItem(10, 10, 110, 40);
    pItem->m_nLength = pItem->m_nContentLength = rcItem.Width();

    row.m_szIcon = CSize(99, 16);   // narrower than the item: drawn, the caption follows it
    row.m_pPainter->DrawItemContent(&canvas.m_dc, pItem, rcItem, TRUE);
    EXPECT_EQ(row.m_nIconsDrawn, 1);
    EXPECT_EQ(canvas.At(9, 25), tabs_test::kIconColor);
    EXPECT_EQ(CountInk(canvas, CRect(10, 10, 110, 40)), 0);   // the caption has no room left

    canvas.m_dc.FillSolidRect(0, 0, 320, 240, RGB(255, 255, 255));
    row.m_szIcon = CSize(100, 16);   // as wide as the item: not drawn, but its room is still taken
    row.m_pPainter->DrawItemContent(&canvas.m_dc, pItem, rcItem, TRUE);
    EXPECT_EQ(row.m_nIconsDrawn, 1);
    EXPECT_EQ(canvas.Count(CRect(0, 0, 320, 240), RGB(255, 255, 255)), 320 * 240);

    row.m_szIcon = CSize(20, 16);
    row.m_pPainter->DrawItemContent(&canvas.m_dc, pItem, rcItem, TRUE);
    EXPECT_EQ(CountInk(canvas, CRect(0, 10, 31, 40)), 0);   // icon 9..29, then 2 pixels
    EXPECT_GT(CountInk(canvas, CRect(31, 10, 110, 40)), 0);
}

// The first and last columns of the rectangle that hold caption ink; -1, -1 without any.
std::pair<int, int> InkColumns(const Canvas& canvas, const CRect& rc) {
    std::pair<int, int> columns(-1, -1);
    for (int x = rc.left; x < rc.right; ++x) {
        for (int y = rc.top; y < rc.bottom; ++y) {
            const COLORREF clr = canvas.At(x, y);
            if (clr == RGB(255, 255, 255) || clr == tabs_test::kIconColor) continue;
            if (columns.first < 0) columns.first = x;
            columns.second = x;
            break;
        }
    }
    return columns;
}

TEST_F(Painter, ACaptionInTheRoomItMeasuresShowsAllItsInk) {
    // Placed glyph by glyph, a caption's ink may end a pixel or two past the width it measures:
    // the tab gives it that width and its own margin beyond, so none of it may be cut away.
    LOGFONTA lf = {};
    lf.lfHeight = -11;
    lf.lfWeight = FW_NORMAL;
    lstrcpyA(lf.lfFaceName, "MS Shell Dlg");
    for (const char* pszCaption : {"calculator.wsdl", "calc_api_demo.c", "calc_api.h", "illicit.wsdl", "Wall", "ll"}) {
        TestTabRow row;
        row.m_pPainter->SetFontIndirect(&lf);
        CKLVTabManagerItem* pItem = row.InsertItem(0);
        pItem->m_strCaption = pszCaption;
        row.InsertItem(1)->m_strCaption = "other";
        row.SetCurSel(1);
        const CRect rcItem = pItem->GetRect();
        Canvas inTab(RGB(255, 255, 255));
        row.m_pPainter->DrawItemContent(&inTab.m_dc, pItem, rcItem, TRUE);
        const std::pair<int, int> shown = InkColumns(inTab, rcItem);

        Canvas free(RGB(255, 255, 255));
        CKLVFontDC font(&free.m_dc, row.m_pPainter->GetFont());
        free.m_dc.SetBkMode(TRANSPARENT);
        CRect rcFree(10, 0, 10, 40);
        free.m_dc.DrawText(pszCaption, -1, &rcFree, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        const std::pair<int, int> whole = InkColumns(free, CRect(0, 0, 320, 40));
        ASSERT_GE(whole.first, 0) << pszCaption;
        EXPECT_EQ(shown.second - shown.first, whole.second - whole.first) << pszCaption;
    }
}

TEST_F(Painter, MiddleEllipsisDrawsLikeTheSystemForPathsAndShortCaptions) {
    struct Case {
        const char* pszText;
        int nRoom;
        const char* pszExpected;   // drawn with the same format; null: with the path ellipsis
    };
    const Case cases[] = {
        {"C:\\projects\\kelvane\\service_api.h", 90, nullptr},
        {"Short", 200, "Short"},
        {"A long caption that cannot fit", 4, "..."},
    };
    for (const Case& c : cases) {
        Canvas drawn(RGB(255, 255, 255)), expected(RGB(255, 255, 255));
        const CRect rc(4, 4, 4 + c.nRoom, 24);
        CKLVTabPainter::DrawTextMiddleEllipsis(&drawn.m_dc, c.pszText, rc, DT_SINGLELINE | DT_NOPREFIX);
        CRect rcExpected = rc;
        if (c.pszExpected)
            expected.m_dc.DrawText(c.pszExpected, &rcExpected, DT_SINGLELINE | DT_NOPREFIX);
        else
            expected.m_dc.DrawText(c.pszText, &rcExpected, DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
        int nDifferent = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 320; ++x) nDifferent += drawn.At(x, y) != expected.At(x, y);
        EXPECT_EQ(nDifferent, 0) << c.pszText;
    }
}

TEST_F(Painter, MiddleEllipsisKeepsBothEndsWithinTheRoom) {
    Canvas canvas(RGB(255, 255, 255));
    const CString strText = "Beginning of a caption that is much too long for its tab";
    const CRect rc(0, 0, 120, 20);
    CKLVTabPainter::DrawTextMiddleEllipsis(&canvas.m_dc, strText, rc, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(CountInk(canvas, CRect(120, 0, 320, 20)), 0);
    EXPECT_GT(CountInk(canvas, CRect(0, 0, 10, 20)), 0);
    EXPECT_GT(CountInk(canvas, CRect(100, 0, 120, 20)), 0);
}

TEST_F(Painter, VerticalFontsAreNeverSmallerThanElevenPixels) {
    CKLVTabPainter* pPainter = new CKLVTabPainter;
    for (LONG nHeight : {-1L, -8L, -10L, -11L, -14L, 0L, 12L}) {
        LOGFONTA lf = {};
        lf.lfHeight = nHeight;
        lstrcpyA(lf.lfFaceName, "Arial");
        pPainter->SetFontIndirect(&lf);
        LOGFONTA vertical = {}, horizontal = {};
        pPainter->GetBoldFont(TRUE)->GetLogFont(&vertical);
        pPainter->GetFont(FALSE)->GetLogFont(&horizontal);
        EXPECT_EQ(vertical.lfHeight, nHeight < 0 && nHeight > -11 ? -11 : nHeight);
        EXPECT_EQ(vertical.lfEscapement, 2700);
        EXPECT_EQ(vertical.lfWeight, FW_BOLD);
        EXPECT_EQ(horizontal.lfHeight, nHeight);
        EXPECT_EQ(horizontal.lfWeight, FW_NORMAL);
    }
    pPainter->InternalRelease();
}

TEST_F(Painter, PresetColoursAndTheirCycle) {
    const COLORREF kPresets[] = {0xE4A88A, 0x75DBFF, 0x9FCDBD, 0x9F9EF0, 0xE1A6BA, 0xB4BF9A, 0x83B6F7, 0xC0ABD8};
    for (int n = 0; n < 8; ++n) EXPECT_EQ(CKLVTabPainter::GetPresetItemColor(0x1000000 + n), kPresets[n]);
    EXPECT_EQ(CKLVTabPainter::GetPresetItemColor(0x1000008), 0x1000008u);
    EXPECT_EQ(CKLVTabPainter::GetPresetItemColor(0x123456), 0x123456u);

    // Rows sharing a paint manager share the cycle: the ninth tab repeats the first colour.
    CKLVTabPainter* pShared = new CKLVTabPainter;
    {
        TestTabRow first(pShared), second(pShared);
        for (int i = 0; i < 5; ++i) first.InsertItem(-1);
        for (int i = 0; i < 4; ++i) second.InsertItem(-1);
        EXPECT_EQ(second.Item(3)->GetColor(), kPresets[0]);
        EXPECT_EQ(second.Item(0)->GetColor(), kPresets[5]);
    }
    pShared->InternalRelease();
}

TEST_F(Painter, AppearancesBringTheirColourNumbersAndUnknownNumbersFallBack) {
    TestTabRow row;
    CKLVTabPainter* pPainter = row.m_pPainter;
    const int kDefaultColor[] = {1, 1, 1, 4, 2, 2, 2, 2, 1, 4, 32, 1};
    for (int nAppearance = 0; nAppearance <= 11; ++nAppearance) {
        pPainter->SetAppearance(nAppearance);
        EXPECT_EQ(pPainter->GetColor(), kDefaultColor[nAppearance]) << nAppearance;
        EXPECT_EQ(pPainter->GetAppearance(), nAppearance);
        EXPECT_EQ(pPainter->GetAppearanceSet()->m_pPaintManager, pPainter);
    }
    EXPECT_EQ(typeid(*pPainter->GetAppearanceSet()), typeid(CKLVTabStyleAppearance0));
    for (int nColor : {0, 3, 64}) {
        pPainter->SetColor(nColor);
        EXPECT_EQ(pPainter->GetColor(), 1) << nColor;
        EXPECT_EQ(pPainter->GetColorSet()->m_pPaintManager, pPainter);
    }
}

TEST_F(Painter, ANewPaintManagerHoldsTheSetOfTheColourNumberItReports) {
    CKLVTabPainter fresh;
    CKLVTabPainter chosen;
    chosen.SetColor(fresh.GetColor());
    ASSERT_EQ(fresh.GetColor(), 1);
    EXPECT_EQ(typeid(*fresh.GetColorSet()), typeid(*chosen.GetColorSet()));
    EXPECT_EQ(fresh.GetColorSet()->m_pPaintManager, &fresh);
    // The navigation buttons' border is where the standard set departs from the plain base.
    CKLVTabColors base;
    base.RefreshMetrics();
    const auto border = [](const CKLVTabColors* pSet) {
        return std::make_pair(COLORREF(pSet->clrButtonBorder.m_clrFrom), COLORREF(pSet->clrButtonBorder.m_clrTo));
    };
    EXPECT_EQ(border(fresh.GetColorSet()), border(chosen.GetColorSet()));
    EXPECT_NE(border(fresh.GetColorSet()), border(&base));
}

TEST_F(Painter, SettersNotifyTheRowsAndRegisteredMakersBuildByNumber) {
    static int s_nMade = 0;
    struct CountedColors : CKLVTabColors {
        CountedColors() { ++s_nMade; }
    };
    CKLVTabPainter::RegisterColorSet(16, [] { return static_cast<CKLVTabColors*>(new CountedColors); });
    TestTabRow row;
    row.AddFixedTabs(2, 50);
    const CRect rcBefore = row.Item(0)->GetRect();
    row.m_pPainter->SetPosition(CKLVTabPainter::positionBottom);
    EXPECT_GT(row.Item(0)->GetRect().top, rcBefore.top);   // laid out again at the bottom
    row.m_pPainter->SetColor(16);
    EXPECT_EQ(s_nMade, 1);
    EXPECT_EQ(row.m_pPainter->GetColor(), 16);
    CKLVTabPainter::RegisterColorSet(16, nullptr);
}

}  // namespace
