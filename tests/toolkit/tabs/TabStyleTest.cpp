// Appearances drawn into memory DCs: the row height, header sizes, which tabs get a frame, the
// slanted tabs at every position, stacked bars, and colours that are not set.
#include "TabSkinModule.h"
#include "TabTestHost.h"
#include "toolkit/tabs/TabColorsStandard.h"
#include "toolkit/tabs/TabStyleAppearances.h"

#include <memory>
#include <typeinfo>

using tabs_test::Canvas;
using tabs_test::SkinModule;
using tabs_test::TestTabRow;

namespace {

const COLORREF kFace = RGB(212, 208, 200);
const COLORREF kShadow = RGB(128, 128, 128);
const COLORREF kHighlight = toolkit_test::ClassicSysColor(COLOR_3DHIGHLIGHT);

class Appearance : public ::testing::Test {
protected:
    void UseFont(CKLVTabPainter* pPainter, LONG nHeight) {
        LOGFONTA lf = {};
        lf.lfHeight = nHeight;
        lstrcpyA(lf.lfFaceName, "Arial");
        pPainter->SetFontIndirect(&lf);
        pPainter->GetAppearanceSet()->RefreshMetrics();
    }
    // Tabs of 60 pixels without captions, so that only the appearance's own strokes show.
    static void AddBlankTabs(TestTabRow& row, int nCount, int nSelected) {
        row.AddFixedTabs(nCount, 60);
        for (int i = 0; i < nCount; ++i) row.Item(i)->m_strCaption.Empty();
        row.SetCurSel(nSelected);
    }
    void Draw(TestTabRow& row, Canvas& canvas) {
        row.Reposition();
        row.m_pPainter->DrawTabControl(&row, &canvas.m_dc, row.m_rcRow);
    }

    tabs_test::ClassicColors m_colors;
};

TEST_F(Appearance, TextHeightIsAtLeastEighteen) {
    TestTabRow row;
    UseFont(row.m_pPainter, -7);
    EXPECT_EQ(row.m_pPainter->GetAppearanceSet()->GetTextHeight(), 18);

    UseFont(row.m_pPainter, -40);
    CClientDC dc(nullptr);
    HGDIOBJ hOld = dc.SelectObject(row.m_pPainter->GetFont()->GetSafeHandle());
    const int nSpace = dc.GetTextExtent(" ", 1).cy;
    dc.SelectObject(hOld);
    EXPECT_GT(nSpace + 3, 18);
    EXPECT_EQ(row.m_pPainter->GetAppearanceSet()->GetTextHeight(), nSpace + 3);
}

TEST_F(Appearance, HeaderSizeCountsRowsMarginsAndOverlap) {
    TestTabRow row;
    UseFont(row.m_pPainter, -11);
    CKLVTabStyle* pStyle = row.m_pPainter->GetAppearanceSet();
    ASSERT_EQ(pStyle->GetRowHeight(&row), 20);   // the 16-pixel icon and 4 around it
    row.GetRows()->SetRowCount(2);
    EXPECT_EQ(pStyle->GetHeaderRect(CRect(0, 0, 300, 200), &row), CRect(0, 0, 300, 41));
    row.m_pPainter->SetPosition(CKLVTabPainter::positionRight);
    row.GetRows()->SetRowCount(2);
    EXPECT_EQ(row.m_pPainter->GetAppearanceSet()->GetHeaderRect(CRect(0, 0, 300, 200), &row), CRect(259, 0, 300, 200));
}

TEST_F(Appearance, StackedBarsWithTheLastSelectedLeaveTheClientAreaAtTheBottom) {
    for (int nFrame : {0, 2}) {
        TestTabRow row;
        row.m_pPainter->SetAppearance(8);
        row.m_pPainter->m_nClientFrame = nFrame;
        row.AddFixedTabs(3, 50);
        row.SetCurSel(2);
        const int nHeight = row.m_pPainter->GetAppearanceSet()->GetRowHeight(&row);
        EXPECT_EQ(row.Item(2)->GetRect().bottom, 3 * nHeight);
        const CRect rcClient = row.GetClientRect();
        EXPECT_EQ(rcClient.top, 3 * nHeight + 1);
        EXPECT_EQ(rcClient.bottom, nFrame == 2 ? 200 : 199) << nFrame;

        row.SetCurSel(0);   // the bars after the selected one move to the bottom
        EXPECT_EQ(row.Item(2)->GetRect().bottom, 200);
        EXPECT_EQ(row.Item(1)->GetRect().top, 200 - 2 * nHeight);
    }
}

TEST_F(Appearance, AppearanceOneFramesOnlyTheSelectedAndTheHotTab) {
    Canvas canvas;
    TestTabRow row;
    row.m_pPainter->SetAppearance(1);
    row.AddFixedTabs(3, 60);
    for (int i = 0; i < 3; ++i) row.Item(i)->m_strCaption.Empty();
    row.SetCurSel(0);
    row.PerformMouseMove(nullptr, row.Item(1)->GetRect().CenterPoint());
    ASSERT_EQ(row.GetHotItem(), row.Item(1));
    Draw(row, canvas);
    // The light edge runs along each framed tab's top (the selected one grows by 2).
    const CRect rc0 = row.Item(0)->GetRect(), rc1 = row.Item(1)->GetRect(), rc2 = row.Item(2)->GetRect();
    EXPECT_EQ(canvas.At(rc0.CenterPoint().x, rc0.top - 2), kHighlight);
    EXPECT_EQ(canvas.At(rc1.CenterPoint().x, rc1.top), kHighlight);
    EXPECT_EQ(canvas.At(rc2.CenterPoint().x, rc2.top), kFace);
    EXPECT_EQ(canvas.At(rc2.right - 1, rc2.top + 5), kFace);
}

TEST_F(Appearance, AnUnsetColourDrawsNothing) {
    Canvas drawn, unset;
    TestTabRow row;
    row.AddFixedTabs(2, 60);
    for (int i = 0; i < 2; ++i) row.Item(i)->m_strCaption.Empty();
    Draw(row, drawn);
    row.m_pPainter->GetColorSet()->clrEdgeHighlight.SetStandardValue(COLORREF(-1));
    Draw(row, unset);
    const CRect rc = row.Item(1)->GetRect();
    EXPECT_EQ(drawn.At(rc.left, rc.top + 5), kHighlight);
    EXPECT_EQ(unset.At(rc.left, rc.top + 5), kFace);
    EXPECT_EQ(unset.Count(CRect(0, 0, 320, 240), kHighlight), 0);
}

TEST_F(Appearance, SlantedTabsAtEveryPositionFillTheSelectedTabAndOutlineItsOuterSide) {
    for (int nPosition = 0; nPosition < 4; ++nPosition) {
        Canvas canvas;
        TestTabRow row(nullptr, CRect(0, 0, 300, 220));
        row.m_pPainter->SetAppearance(3);
        row.m_pPainter->SetColor(1);   // solid items: the appearance's outline is what is checked
        row.m_pPainter->SetPosition(nPosition);
        row.m_pPainter->m_bShowItemColors = TRUE;
        row.AddFixedTabs(3, 60);
        for (int i = 0; i < 3; ++i) row.Item(i)->m_strCaption.Empty();
        row.SetCurSel(1);
        Draw(row, canvas);
        const CRect rc = row.Item(1)->GetRect();
        const CPoint ptCentre = rc.CenterPoint();
        EXPECT_EQ(canvas.At(ptCentre), row.Item(1)->GetColor()) << nPosition;
        CPoint ptOuter;
        switch (nPosition) {
        case 0: ptOuter = CPoint(ptCentre.x, rc.top); break;
        case 1: ptOuter = CPoint(rc.left, ptCentre.y); break;
        case 2: ptOuter = CPoint(ptCentre.x, rc.bottom - 1); break;
        default: ptOuter = CPoint(rc.right - 1, ptCentre.y); break;
        }
        EXPECT_EQ(canvas.At(ptOuter), kShadow) << nPosition;
        EXPECT_EQ(canvas.Count(rc, row.Item(0)->GetColor()), 0) << nPosition;   // the selected tab is on top
    }
}

// A selected slanted tab is drawn over the end of its left neighbour: no pixel of the neighbour's
// caption lies beneath it.
TEST_F(Appearance, ASelectedSlantedTabLeavesItsNeighboursCaptionWhole) {
    const auto drawRow = [&](Canvas& canvas, int nSelected, const char* lpszFirstCaption) {
        TestTabRow row(nullptr, CRect(0, 0, 300, 220));
        row.m_pPainter->SetAppearance(3);
        // Every tab as long with a caption as without; a long caption fills it to its end.
        row.m_pPainter->m_nMinTabWidth = row.m_pPainter->m_nMaxTabWidth = 80;
        for (int i = 0; i < 3; ++i) row.InsertItem(i)->m_strCaption = i == 0 ? lpszFirstCaption : "Document";
        row.SetCurSel(nSelected);
        Draw(row, canvas);
        return row.Item(0)->GetRect();
    };
    // Item 0 on top of item 1 (the third selected), with and without its caption; then under the
    // selected item 1.
    Canvas whole, blank, covered;
    const CRect rc = drawRow(whole, 2, "calculator_service_api.c");
    EXPECT_EQ(drawRow(blank, 2, ""), rc);
    drawRow(covered, 1, "calculator_service_api.c");
    int nCaption = 0, nLost = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (whole.At(x, y) == blank.At(x, y)) continue;
            ++nCaption;
            nLost += covered.At(x, y) != whole.At(x, y);
        }
    }
    EXPECT_GT(nCaption, 20);
    EXPECT_EQ(nLost, 0);
}

}  // namespace

#include "toolkit/common/ResourceImages.h"

namespace {

TEST_F(Appearance, AppearancesSixAndTwoBringColourSetsTwoAndOne) {
    TestTabRow row;
    const struct {
        int nAppearance, nColor;
        const std::type_info& set;
    } cases[] = {{6, 2, typeid(CKLVTabColorsSet2)}, {2, 1, typeid(CKLVTabColorsStandard)}};
    for (const auto& c : cases) {
        row.m_pPainter->SetAppearance(c.nAppearance);
        EXPECT_EQ(row.m_pPainter->GetColor(), c.nColor) << c.nAppearance;
        EXPECT_EQ(typeid(*row.m_pPainter->GetColorSet()), c.set) << c.nAppearance;
    }
}

TEST_F(Appearance, AppearanceSixsSelectedTabReachesOnePixelFurtherIntoTheClient) {
    for (int nPosition = 0; nPosition < 4; ++nPosition) {
        Canvas canvas;
        TestTabRow row;
        row.m_pPainter->SetAppearance(6);
        row.m_pPainter->SetPosition(nPosition);
        AddBlankTabs(row, 3, 1);
        Draw(row, canvas);
        const COLORREF clrFrame = CKLVTabColors::GetColor(row.m_pPainter->GetColorSet()->clrFrameBorder);
        // The pixel just inside each tab's client-side edge: the frame of an unselected tab, the
        // face of the selected one, whose frame lies a pixel further in.
        for (int i = 0; i < 3; ++i) {
            const CRect rc = row.Item(i)->GetRect();
            const CPoint c = rc.CenterPoint();
            CPoint ptEdge;
            switch (nPosition) {
            case 0: ptEdge = CPoint(c.x, rc.bottom - 1); break;
            case 1: ptEdge = CPoint(rc.right - 1, c.y); break;
            case 2: ptEdge = CPoint(c.x, rc.top); break;
            default: ptEdge = CPoint(rc.left, c.y); break;
            }
            EXPECT_EQ(canvas.At(ptEdge) == clrFrame, i != 1) << nPosition << "/" << i;
        }
    }
}

TEST_F(Appearance, AppearanceTwoRoundsTheSelectedTabAndSeparatesTheOthers) {
    Canvas canvas;
    TestTabRow row;
    row.m_pPainter->SetAppearance(2);
    AddBlankTabs(row, 3, 0);
    Draw(row, canvas);
    const COLORREF clrFrame = CKLVTabColors::GetColor(row.m_pPainter->GetColorSet()->clrFrameBorder);
    const CRect rc0 = row.Item(0)->GetRect(), rc1 = row.Item(1)->GetRect(), rc2 = row.Item(2)->GetRect();
    EXPECT_EQ(canvas.At(rc0.CenterPoint().x, rc0.top), clrFrame);   // the round outline's top
    EXPECT_NE(canvas.At(rc0.left, rc0.top), clrFrame);               // its corner is cut
    EXPECT_EQ(canvas.At(rc1.right - 1, rc1.CenterPoint().y), clrFrame);   // a separator after tab 1
    EXPECT_NE(canvas.At(rc2.right - 1, rc2.CenterPoint().y), clrFrame);   // none after the last
}

TEST_F(Appearance, ResourceImageTabsShowTheirStatePartAtEveryPosition) {
    const COLORREF kSelectedPart = RGB(120, 100, 200), kHotPart = RGB(40, 100, 200);
    for (BOOL bSkin : {FALSE, TRUE}) {
        std::unique_ptr<SkinModule> pSkin(bSkin ? new SkinModule : nullptr);
        ASSERT_TRUE(!bSkin || pSkin->m_hModule);
        ASSERT_EQ(KLVResourceImages()->IsValid(), bSkin);
        for (int nPosition = 0; nPosition < 4; ++nPosition) {
            Canvas canvas;
            TestTabRow row;
            row.m_pPainter->SetAppearance(10);
            row.m_pPainter->SetColor(1);   // the standard face where no skin part is drawn
            row.m_pPainter->SetPosition(nPosition);
            row.AddFixedTabs(3, 60);
            for (int i = 0; i < 3; ++i) row.Item(i)->m_strCaption.Empty();
            row.SetCurSel(0);
            row.PerformMouseMove(nullptr, row.Item(1)->GetRect().CenterPoint());
            Draw(row, canvas);
            EXPECT_EQ(canvas.At(row.Item(0)->GetRect().CenterPoint()), bSkin ? kSelectedPart : kFace) << nPosition;
            EXPECT_EQ(canvas.At(row.Item(1)->GetRect().CenterPoint()), bSkin ? kHotPart : kFace) << nPosition;
            EXPECT_EQ(canvas.At(row.Item(2)->GetRect().CenterPoint()), kFace) << nPosition;
        }
    }
}

}  // namespace
