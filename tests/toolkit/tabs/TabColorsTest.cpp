// The tab colour sets: what each set's refresh stores under the forced XP schemes, the
// checkerboard and row-position gradients, when the header lets the row's parent paint, the
// resource-image set with and without its module, the visual-style set's part choice and the
// pixel transforms that turn a top tab.
#include "TabSkinModule.h"
#include "TabTestHost.h"
#include "ToolkitTestSupport.h"
#include "toolkit/common/ResourceImages.h"
#include "toolkit/tabs/TabColorsResource.h"
#include "toolkit/tabs/TabColorsStandard.h"
#include "toolkit/tabs/TabColorsVisualStyle.h"
#include "toolkit/tabs/TabImageTransforms.h"
#include "toolkit/tabs/TabManagerNavigateButton.h"

#include <memory>
#include <vector>

namespace {

using tabs_test::Canvas;
using tabs_test::SkinModule;
using tabs_test::TestTabRow;
using toolkit_test::ForcedScheme;

COLORREF Color(int n) { return GetColorManager()->GetColor(n); }

struct Members {
    COLORREF frame, headerFrom, headerTo, normal, selected, hot, pressed;
    BOOL bLuna;
};

Members Read(const CKLVTabColorsResource& s) {
    return {s.clrFrameBorder, s.clrHeaderFace.m_clrFrom, s.clrHeaderFace.m_clrTo, s.clrNormalFace,
            s.clrSelectedFace, s.clrHotFace, s.clrPressedFace, s.m_bLunaColors};
}

void ExpectMembers(const Members& m, const Members& e, const std::string& what) {
    EXPECT_EQ(m.frame, e.frame) << what;
    EXPECT_EQ(m.headerFrom, e.headerFrom) << what;
    EXPECT_EQ(m.headerTo, e.headerTo) << what;
    EXPECT_EQ(m.normal, e.normal) << what;
    EXPECT_EQ(m.selected, e.selected) << what;
    EXPECT_EQ(m.hot, e.hot) << what;
    EXPECT_EQ(m.pressed, e.pressed) << what;
    EXPECT_EQ(m.bLuna, e.bLuna) << what;
}

TEST(TabColorSets, TheSchemeSetsFollowTheForcedScheme) {
    const Members kScheme[4] = {
        {COLOR_3DSHADOW, COLOR_3DFACE, 0, COLOR_3DFACE, 36, 36, 33, FALSE},   // header end filled in below
        {0x9C613B, 0xFADAC4, 0xFEFDFC, 0xF6C0A2, 0x73C2FF, 0xC9F0FF, 0x4B8EFE, TRUE},
        {0x588060, 0xE4F1F2, 0xFEFEFC, 0xAADED0, 0x73C2FF, 0xC7F0FF, 0x4B8EFE, TRUE},
        {0x947C7C, 0xF7F3F3, 0xFEFEFC, 0xE6D9D9, 0x73C2FF, 0xC2EEFF, 0x4B8EFE, TRUE},
    };
    for (int nScheme = 0; nScheme <= 3; ++nScheme) {
        ForcedScheme scheme(nScheme);
        Members expected = kScheme[nScheme];
        if (nScheme == 0) expected.headerTo = BlendColors(Color(COLOR_3DFACE), Color(COLOR_WINDOW), 205);
        for (int nSet : {4, 16}) {
            CKLVTabPainter painter;
            auto* pSet = static_cast<CKLVTabColorsResource*>(painter.SetColor(nSet));
            ExpectMembers(Read(*pSet), expected, "set " + std::to_string(nSet) + " scheme " + std::to_string(nScheme));
        }
    }
}

TEST(TabColorSets, SetSixteenWithoutSchemeColoursHasItsOwnGreysAndGradientItems) {
    const struct {
        int nScheme;
        COLORREF header, normal;
        BOOL bGradient;
    } cases[] = {{0, COLOR_3DFACE, COLOR_3DFACE, FALSE}, {1, 0xD5E2E4, COLOR_3DFACE, TRUE},
                 {2, 0xD5E2E4, COLOR_3DFACE, TRUE}, {3, 0xEEEEEE, 0xF8F5F5, TRUE}};
    GetColorManager()->m_bLunaColorsDisabled = TRUE;
    for (const auto& c : cases) {
        ForcedScheme scheme(c.nScheme);
        CKLVTabPainter painter;
        auto* pSet = static_cast<CKLVTabColorsSet16*>(painter.SetColor(16));
        EXPECT_EQ(COLORREF(pSet->clrHeaderFace.m_clrFrom), c.header) << c.nScheme;
        EXPECT_EQ(COLORREF(pSet->clrHeaderFace.m_clrTo), c.header) << c.nScheme;
        EXPECT_EQ(COLORREF(pSet->clrNormalFace), c.normal) << c.nScheme;
        EXPECT_EQ(pSet->m_bGradientItems, c.bGradient) << c.nScheme;
        EXPECT_EQ(COLORREF(pSet->clrFrameBorder), COLORREF(57)) << c.nScheme;
        EXPECT_EQ(COLORREF(pSet->clrSelectedFace), COLORREF(COLOR_WINDOW)) << c.nScheme;
        EXPECT_FALSE(pSet->m_bLunaColors) << c.nScheme;
    }
    GetColorManager()->m_bLunaColorsDisabled = FALSE;
}

TEST(TabColorSets, SetSixteenWithSchemeColoursFillsItemsSolidAndGivesPressedItemsNoColour) {
    ForcedScheme scheme(1);
    for (int nSet : {4, 16}) {
        TestTabRow row;
        row.m_pPainter->SetColor(nSet);
        row.AddFixedTabs(3, 60);
        row.SetCurSel(0);
        row.m_pPressed = row.Item(1);
        CKLVTabColors* pSet = row.m_pPainter->GetColorSet();
        Canvas canvas;
        const COLORREF clr = pSet->FillItem(&canvas.m_dc, CRect(0, 0, 40, 20), row.Item(1));
        const BOOL bSolid = canvas.At(20, 0) == canvas.At(20, 19);
        EXPECT_EQ(bSolid, nSet == 16) << nSet;
        EXPECT_EQ(clr, nSet == 4 ? COLORREF(0x4B8EFE) : COLORREF(0xF6C0A2)) << nSet;
        row.m_pPressed = nullptr;
    }
}

TEST(TabColorSets, StandardAndSetTwoByAppearance) {
    const struct {
        int nSet, nAppearance;
        COLORREF header, selected, normal, frame, buttonSelected;
    } cases[] = {
        {1, 0, COLOR_3DFACE, COLOR_3DFACE, COLOR_3DFACE, COLOR_3DSHADOW, CKLVTabColors::clrDither},
        {1, 7, COLOR_3DFACE, COLOR_3DFACE, COLOR_WINDOW, COLOR_BTNTEXT, CKLVTabColors::clrDither},
        {2, 0, 48, COLOR_3DFACE, COLOR_3DFACE, COLOR_3DSHADOW, COLOR_WINDOW},
        {2, 7, COLOR_3DFACE, COLOR_WINDOW, COLOR_3DFACE, COLOR_3DSHADOW, COLOR_WINDOW},
        {2, 4, COLOR_3DFACE, COLOR_3DFACE, COLOR_3DFACE, COLOR_3DSHADOW, COLOR_WINDOW},
    };
    for (const auto& c : cases) {
        CKLVTabPainter painter;
        painter.SetAppearance(c.nAppearance);
        CKLVTabColors* pSet = painter.SetColor(c.nSet);
        const std::string what = std::to_string(c.nSet) + "/" + std::to_string(c.nAppearance);
        EXPECT_EQ(COLORREF(pSet->clrHeaderFace.m_clrFrom), c.header) << what;
        EXPECT_EQ(COLORREF(pSet->clrSelectedFace), c.selected) << what;
        EXPECT_EQ(COLORREF(pSet->clrNormalFace), c.normal) << what;
        EXPECT_EQ(COLORREF(pSet->clrFrameBorder), c.frame) << what;
        EXPECT_EQ(COLORREF(pSet->clrButtonSelected.m_clrFrom), c.buttonSelected) << what;
    }
}

TEST(TabColorSets, TheDitherMarkerFillsACheckerboardOfFaceAndHighlight) {
    CKLVTabPainter painter;
    Canvas canvas;
    painter.GetColorSet()->GradientFillByPosition(&canvas.m_dc, CRect(0, 0, 16, 16), CKLVTabColors::clrDither, 0, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const COLORREF clr = canvas.At(x, y);
            EXPECT_TRUE(clr == Color(COLOR_3DFACE) || clr == Color(COLOR_3DHIGHLIGHT)) << x << "," << y;
            if (x < 15) {
                EXPECT_NE(clr, canvas.At(x + 1, y)) << x << "," << y;
            }
            if (y < 15) {
                EXPECT_NE(clr, canvas.At(x, y + 1)) << x << "," << y;
            }
        }
}

TEST(TabColorSets, GradientsRunFromTheRowsOuterEdgeUnlessInverted) {
    const COLORREF kFrom = RGB(255, 0, 0), kTo = RGB(0, 0, 255);
    const struct {
        int nPosition;
        CPoint ptFrom;   // the pixel nearest the from colour, the opposite corner the to colour
    } cases[] = {{0, {10, 0}}, {1, {0, 10}}, {2, {10, 19}}, {3, {19, 10}}};
    for (BOOL bInvert : {FALSE, TRUE}) {
        for (const auto& c : cases) {
            CKLVTabPainter painter;
            painter.m_bInvertGradient = bInvert;
            Canvas canvas;
            painter.GetColorSet()->GradientFillByPosition(&canvas.m_dc, CRect(0, 0, 20, 20), kFrom, kTo, c.nPosition);
            const CPoint ptOpposite(19 - c.ptFrom.x, 19 - c.ptFrom.y);
            const COLORREF clrNear = canvas.At(bInvert ? ptOpposite : c.ptFrom);
            const COLORREF clrFar = canvas.At(bInvert ? c.ptFrom : ptOpposite);
            EXPECT_GT(GetRValue(clrNear), 200) << c.nPosition << "/" << bInvert;
            EXPECT_GT(GetBValue(clrFar), 200) << c.nPosition << "/" << bInvert;
        }
    }
}

// A row whose parent paints the background and counts the requests.
class ParentPaintedRow : public TestTabRow {
public:
    BOOL DrawParentBackground(CDC*, const CRect&) override {
        ++m_nAsked;
        return TRUE;
    }
    int m_nAsked = 0;
};

TEST(TabColorSets, TheHeaderLetsTheParentPaintOnlyWhenBothEndsAreTheFace) {
    const struct {
        COLORREF clrFrom, clrTo;
        BOOL bCustomFrom;
        BOOL bDeferred;
    } cases[] = {
        {COLOR_3DFACE, COLOR_3DFACE, FALSE, TRUE},
        {COLOR_3DFACE, COLOR_WINDOW, FALSE, FALSE},
        {COLOR_WINDOW, COLOR_3DFACE, FALSE, FALSE},
        {COLOR_3DFACE, COLOR_3DFACE, TRUE, FALSE},   // a custom part of another colour wins
    };
    for (const auto& c : cases) {
        ParentPaintedRow row;
        CKLVTabColors* pSet = row.m_pPainter->GetColorSet();
        pSet->clrHeaderFace.SetStandardValue(c.clrFrom, c.clrTo);
        if (c.bCustomFrom) pSet->clrHeaderFace.m_clrFrom.SetCustomValue(RGB(1, 2, 3));
        Canvas canvas(RGB(255, 0, 255));
        pSet->FillHeader(&canvas.m_dc, CRect(0, 0, 20, 20), &row);
        EXPECT_EQ(row.m_nAsked, c.bDeferred ? 1 : 0) << c.clrFrom << "/" << c.clrTo;
        EXPECT_EQ(canvas.At(5, 5) == RGB(255, 0, 255), c.bDeferred) << c.clrFrom << "/" << c.clrTo;
    }
}

TEST(TabColorSets, SetThirtyTwoReadsTheModulesColoursAndKeepsWhatItLacks) {
    ForcedScheme scheme(3);
    {
        CKLVTabPainter painter;
        auto* pSet = static_cast<CKLVTabColorsResource*>(painter.SetColor(32));
        // No module: the blue column whatever the scheme.
        EXPECT_EQ(COLORREF(pSet->clrFrameBorder), COLORREF(0x9C613B));
        EXPECT_EQ(COLORREF(pSet->clrFlatBorder), COLORREF(0x9C613B));
        EXPECT_EQ(COLORREF(pSet->clrHotFace), COLORREF(0xC9F0FF));
        EXPECT_EQ(COLORREF(pSet->clrPressedFace), COLORREF(33));
        EXPECT_EQ(COLORREF(pSet->clrHotText), COLORREF(COLOR_BTNTEXT));
        EXPECT_TRUE(pSet->m_bLunaColors);
    }
    SkinModule skin;
    ASSERT_TRUE(KLVResourceImages()->IsValid());
    CKLVTabPainter painter;
    auto* pSet = static_cast<CKLVTabColorsResource*>(painter.SetColor(32));
    const struct {
        const CKLVColorValue* pMember;
        COLORREF clr;
    } members[] = {
        {&pSet->clrFrameBorder, RGB(10, 20, 30)},     {&pSet->clrFlatBorder, RGB(10, 20, 30)},
        {&pSet->clrEdgeDarkShadow, 0x927476},         {&pSet->clrFlatDarkShadow, 0x927476},   // kept: not in the module
        {&pSet->clrEdgeLightShadow, RGB(40, 50, 60)}, {&pSet->clrFlatLightShadow, RGB(40, 50, 60)},
        {&pSet->clrFlatHighlight, 0xFFFFFF},          {&pSet->clrNormalFace, RGB(70, 80, 90)},
        {&pSet->clrSelectedFace, RGB(100, 110, 120)}, {&pSet->clrHotFace, RGB(130, 140, 150)},
        {&pSet->clrResourceBorder, RGB(160, 170, 180)}, {&pSet->clrHotText, RGB(1, 2, 3)},
        {&pSet->clrNormalText, RGB(1, 2, 3)},         {&pSet->clrSelectedText, RGB(4, 5, 6)},
        {&pSet->clrHeaderFace.m_clrFrom, RGB(200, 210, 220)}, {&pSet->clrHeaderFace.m_clrTo, RGB(200, 210, 220)},
        {&pSet->clrAutoHideFace.m_clrTo, RGB(200, 210, 220)},
    };
    for (size_t i = 0; i < std::size(members); ++i) EXPECT_EQ(COLORREF(*members[i].pMember), members[i].clr) << i;
    EXPECT_TRUE(pSet->m_bLunaColors);
}

// A navigation button that draws nothing itself.
class CTestButton : public CKLVTabManagerNavigateButton {
public:
    explicit CTestButton(CKLVTabManager* pManager) : CKLVTabManagerNavigateButton(pManager, idClose, showAlways) {}
    void Draw(CDC*, CRect) override {}
};

TEST(TabColorSets, SetThirtyTwoDrawsHotAndPressedNavigationButtonsFromTheModule) {
    SkinModule skin;
    TestTabRow row;
    CKLVTabColors* pSet = row.m_pPainter->SetColor(32);
    CTestButton button(&row);
    const struct {
        BOOL bHot, bPressed, bEnabled;
        COLORREF clrCentre, clrText;
    } cases[] = {
        {TRUE, FALSE, TRUE, RGB(30, 60, 90), RGB(0, 0, 0)},
        {FALSE, TRUE, TRUE, RGB(80, 60, 90), RGB(0, 0, 0)},
        {FALSE, FALSE, TRUE, RGB(255, 0, 255), RGB(1, 2, 3)},
        {TRUE, TRUE, FALSE, RGB(255, 0, 255), RGB(1, 2, 3)},
    };
    for (const auto& c : cases) {
        row.m_pHighlightedNavigateButton = c.bHot ? &button : nullptr;
        button.m_bPressed = c.bPressed;
        button.m_bEnabled = c.bEnabled;
        Canvas canvas;
        CRect rc(10, 10, 50, 50);
        pSet->FillNavigateButton(&canvas.m_dc, &button, rc);
        EXPECT_EQ(canvas.At(30, 30), c.clrCentre) << c.bHot << c.bPressed << c.bEnabled;
        EXPECT_EQ(canvas.m_dc.GetTextColor(), c.clrText) << c.bHot << c.bPressed << c.bEnabled;
    }
    row.m_pHighlightedNavigateButton = nullptr;
}

TEST(TabColorSets, TheVisualStyleSetsPartChoiceForTabs) {
    const struct {
        int nIndex, nCount;
        BOOL bSelected;
        int nPart;
    } cases[] = {{0, 3, FALSE, 6}, {0, 3, TRUE, 6}, {0, 1, FALSE, 6}, {0, 1, TRUE, 6}, {1, 3, FALSE, 5},
                 {1, 3, TRUE, 5},  {2, 3, FALSE, 7}, {2, 3, TRUE, 5}};
    for (const auto& c : cases)
        EXPECT_EQ(CKLVTabColorsVisualStyle::GetItemPart(c.nIndex, c.nCount, c.bSelected), c.nPart)
            << c.nIndex << "/" << c.nCount << "/" << c.bSelected;
}

TEST(TabImageTransforms, TurnAThreeByTwoImage) {
    // 3 wide, 2 high:  1 2 3
    //                  4 5 6
    const uint32_t source[6] = {1, 2, 3, 4, 5, 6};
    const struct {
        void (*pfn)(int, int, const uint32_t*, uint32_t*);
        std::vector<uint32_t> expected;
    } cases[] = {
        {&KLVTabImage::FlipVertical, {4, 5, 6, 1, 2, 3}},
        {&KLVTabImage::Transpose, {1, 4, 2, 5, 3, 6}},          // 2 wide, 3 high
        {&KLVTabImage::TransposeReverse, {6, 3, 5, 2, 4, 1}},   // the same turned half round
    };
    for (const auto& c : cases) {
        std::vector<uint32_t> dest(6, 0);
        c.pfn(3, 2, source, dest.data());
        EXPECT_EQ(dest, c.expected);
    }
}

}  // namespace
