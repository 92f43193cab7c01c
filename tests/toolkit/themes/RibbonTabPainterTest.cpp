// The ribbon's tab row with theme 6 and the tests' skin: the paint manager the theme builds for
// it, its appearance's row height, the tab faces by state and the separators of squeezed tabs.
#include "TabTestHost.h"
#include "ThemeSkin.h"
#include "ThemeTestSupport.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/themes/TabStyleRibbon.h"
#include "toolkit/tabs/TabColorsResource.h"

#include <functional>

namespace themes_test {
namespace {

using Theme6Ptr = std::unique_ptr<CKLVPaintManagerTheme6, Release>;

struct PainterRelease {
    void operator()(CKLVTabPainter* p) const { p->InternalRelease(); }
};
using PainterPtr = std::unique_ptr<CKLVTabPainter, PainterRelease>;

CString Text(int n) {
    CString str;
    str.Format("%d", n);
    return str;
}
CString Text(const CRect& rc) {
    CString str;
    str.Format("%ld,%ld,%ld,%ld", rc.left, rc.top, rc.right, rc.bottom);
    return str;
}

TEST(RibbonTabPainter, TheFactoryInstallsTheRibbonAppearanceLayoutColourSetAndOptions) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeThemeOf<CKLVPaintManagerTheme6>(6);
    PainterPtr pPainter(pTheme->CreateRibbonTabPainter());
    auto* pStyle = dynamic_cast<CKLVTabStyleRibbon*>(pPainter->GetAppearanceSet());
    ASSERT_NE(pStyle, nullptr);
    EXPECT_EQ(pStyle->m_pTheme, pTheme.get());
    EXPECT_EQ(pStyle->GetMargins(), CRect(0, 1, 0, 0));
    EXPECT_EQ(pPainter->GetLayout(), CKLVTabPainter::layoutSizeToFit);
    EXPECT_NE(dynamic_cast<CKLVTabColorsRibbon*>(pPainter->GetColorSet()), nullptr);
    EXPECT_EQ(pPainter->GetColor(), 1);

    using P = CKLVTabPainter;
    const CKLVTabPainter defaults;
    const struct {
        const char* name;
        std::function<CString(const P&)> value;
        const char* ribbon;
    } options[] = {
        {"bold selected", [](const P& p) { return Text(p.m_bBoldSelected); }, "1"},
        {"no XP colours", [](const P& p) { return Text(p.m_bDisableLunaColors); }, "1"},
        {"button margin", [](const P& p) { return Text(p.m_rcButtonMargin); }, "0,2,0,2"},
        {"button text", [](const P& p) { return Text(p.m_rcButtonText); }, "4,0,4,0"},
        {"fill background", [](const P& p) { return Text(p.m_bFillBackground); }, "0"},
        {"end ellipsis", [](const P& p) { return Text(p.m_bDrawTextEndEllipsis); }, "0"},
        {"no prefix", [](const P& p) { return Text(p.m_bDrawTextNoPrefix); }, "0"},
        {"focus rectangle", [](const P& p) { return Text(p.m_bDrawFocusRect); }, "0"},
        {"extra length", [](const P& p) { return Text(p.m_nFixedItemExtra); }, "21"},
        {"ClearType", [](const P& p) { return Text(p.m_bClearTypeText); }, "1"},
        {"clip header", [](const P& p) { return Text(p.m_bClipHeader); }, "0"},
        {"tooltip mode", [](const P& p) { return Text(p.m_nToolTipMode); }, "2"},
    };
    for (const auto& o : options) {
        EXPECT_STREQ(o.value(*pPainter), o.ribbon) << o.name;
        if (CString(o.name) != "tooltip mode") {
            EXPECT_STRNE(o.value(defaults), o.ribbon) << o.name;
        }
    }
}

TEST(RibbonTabPainter, TheRowIsOnePixelHigherThanTheThemesTabHeightAndTheTabTextKeysLand) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeThemeOf<CKLVPaintManagerTheme6>(6);
    CKLVTabStyleRibbon style(pTheme.get());
    EXPECT_EQ(style.GetDefaultColor(), 1);
    for (int nHeight : {23, 30}) {
        pTheme->m_nRibbonTabHeight = nHeight;
        EXPECT_EQ(style.GetRowHeight(nullptr), nHeight + 1);
    }
    ASSERT_NE(pTheme->m_pRibbonTabPainter, nullptr);
    CKLVTabColors* pColors = pTheme->m_pRibbonTabPainter->GetColorSet();
    EXPECT_EQ(CKLVTabColors::GetColor(pColors->clrNormalText), ThemeSkin::Key("Ribbon", "TabNormalText"));
    EXPECT_EQ(CKLVTabColors::GetColor(pColors->clrHotText), ThemeSkin::Key("Ribbon", "TabNormalText"));
    EXPECT_EQ(CKLVTabColors::GetColor(pColors->clrSelectedText), ThemeSkin::Key("Ribbon", "TabSelectedText"));
}

class CFocusableRow : public tabs_test::TestTabRow {
public:
    using TestTabRow::TestTabRow;
    BOOL IsFocused() const override { return m_bFocused; }
    BOOL m_bFocused = FALSE;
};

TEST(RibbonTabPainter, TabFacesFollowHotSelectedPressedAndTheRowsFocus) {
    const int kNone = -1;
    const struct {
        BOOL bHot, bSelected, bPressed, bFocused;
        int nPart;
    } cases[] = {
        {TRUE, TRUE, FALSE, TRUE, 5},  {TRUE, TRUE, FALSE, FALSE, 4},  {TRUE, FALSE, FALSE, FALSE, 3},
        {TRUE, FALSE, FALSE, TRUE, 5}, {FALSE, FALSE, TRUE, FALSE, 2}, {FALSE, TRUE, FALSE, TRUE, 1},
        {FALSE, FALSE, FALSE, TRUE, kNone},
    };
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeThemeOf<CKLVPaintManagerTheme6>(6);
    PainterPtr pPainter(pTheme->CreateRibbonTabPainter());
    CFocusableRow row(pPainter.get(), CRect(0, 0, 400, 24));
    for (int i = 0; i < 3; ++i) row.InsertItem(i)->m_strCaption.Format("Tab %d", i);
    row.Reposition();
    CKLVTabManagerItem* pItem = row.Item(1);
    const CRect rc = pItem->GetRect();
    ASSERT_GT(rc.Width(), 10);
    for (const auto& c : cases) {
        EXPECT_EQ(CKLVPaintManagerTheme6::RibbonTabPart(c.bHot, c.bSelected, c.bPressed, c.bFocused), c.nPart);
        row.m_pHighlighted = c.bHot ? pItem : nullptr;
        row.m_pSelected = c.bSelected ? pItem : row.Item(0);
        row.m_pPressed = c.bPressed ? pItem : nullptr;
        row.m_bFocused = c.bFocused;
        Dib dib(400, 24);
        pPainter->GetAppearanceSet()->DrawItem(&dib.m_dc, pItem);
        const COLORREF clr = dib.At(rc.left + 2, rc.CenterPoint().y);
        EXPECT_EQ(clr, c.nPart == kNone ? kBack : ThemeSkin::PartColor(imgRibbonTab, c.nPart)) << c.nPart;
    }
    // A tab squeezed below its full length gets a separator just right of it.
    for (BOOL bSqueezed : {FALSE, TRUE}) {
        pItem->m_nLength = pItem->m_nContentLength + pPainter->m_nFixedItemExtra - (bSqueezed ? 1 : 0);
        Dib dib(400, 24);
        pTheme->DrawRibbonTab(&dib.m_dc, pItem);
        EXPECT_EQ(dib.At(rc.right, rc.CenterPoint().y) == ThemeSkin::kRim, bSqueezed);
    }
    row.m_pHighlighted = row.m_pSelected = row.m_pPressed = nullptr;
}

}  // namespace
}  // namespace themes_test
