// Theme 6's drawing of a ribbon on a hidden frame with the tests' skin: group areas and groups by
// context and highlight, collapsed groups, the small buttons by state, the system button's image
// by size, context tabs and headers, the bar's closing lines, and the ribbon's own painting.
#include "RibbonFrameTestSupport.h"
#include "ThemeSkin.h"
#include "ThemeTestSupport.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/themes/TabStyleRibbon.h"
#include "toolkit/ribbon/RibbonCaptionControls.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupControlPopup.h"
#include "toolkit/ribbon/RibbonScrollButton.h"
#include "toolkit/ribbon/RibbonSystemPopupBar.h"
#include "toolkit/ribbon/RibbonSystemPopupControls.h"
#include "toolkit/tabs/TabPainter.h"

namespace themes_test {
namespace {

using T6 = CKLVPaintManagerTheme6;

// The ribbon fixture drawn with the tests' skin.
class RibbonTheme : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_skin.m_bLoaded);
        m_pTheme = dynamic_cast<T6*>(m_fx.m_pCommandBars->GetPaintManager());
        ASSERT_NE(m_pTheme, nullptr);
        m_pTheme->RefreshMetrics();   // the skin's colours, and the heights the ribbon is measured with
        m_pRibbon = m_fx.m_pRibbon;
    }
    CKLVRibbonGroup* AddGroup(CKLVRibbonTab* pTab, LPCTSTR lpszCaption) {
        auto* pGroup = pTab->GetGroups()->Insert(new CKLVRibbonGroup);
        pGroup->m_strCaption = lpszCaption;
        return pGroup;
    }
    // A control of the ribbon's collection.
    template <class TControl>
    TControl* AddControl(TControl* pControl, CRect rc) {
        m_pRibbon->GetControls()->Add(pControl, 0);
        pControl->SetRect(rc);
        return pControl;
    }

    ThemeSkin m_skin;
    ribbon_test::CRibbonFrameFixture m_fx;
    T6* m_pTheme = nullptr;
    CKLVRibbonBar* m_pRibbon = nullptr;
};

struct ReleaseBar {
    void operator()(CKLVCommandBar* p) const { p->InternalRelease(); }
};

// A button that counts how often it is painted.
class CCountingButton : public CKLVControlButton {
public:
    void Draw(CDC* pDC) override {
        ++m_nDraws;
        CKLVControlButton::Draw(pDC);
    }
    int m_nDraws = 0;
};

// Inside the part's rim, left of the middle, where no caption or icon reaches.
COLORREF LeftInside(const Dib& dib, CRect rc) { return dib.At(rc.left + 2, rc.CenterPoint().y); }

TEST_F(RibbonTheme, GroupAreasTakeTheirTabsContextAndColourZeroOrEightTheEmptyName) {
    const struct {
        int nColor, nImage;
    } cases[] = {{0, imgGroupArea}, {1, imgContextGroupAreaBlue}, {8, imgContextGroupAreaUncoloured}};
    CKLVRibbonTab* pTab = m_pRibbon->AddTab("Home");
    for (const auto& c : cases) {
        pTab->m_nContextColor = c.nColor;
        Dib dib(60, 40);
        m_pTheme->FillRibbonGroupsArea(&dib.m_dc, pTab, CRect(0, 0, 60, 40));
        EXPECT_EQ(dib.At(30, 20), ThemeSkin::PartColor(c.nImage, 0)) << c.nColor;
    }
    EXPECT_STREQ(KLVContextColorName(8), "");
    EXPECT_STREQ(KLVContextColorName(0), "");
    EXPECT_STREQ(KLVContextColorName(7), "ORANGE");
}

TEST_F(RibbonTheme, GroupsDrawBodyAndCaptionBandByContextAndHighlightAndNothingWhenHidden) {
    const struct {
        int nColor;
        BOOL bHighlighted, bVisible;
        int nBody, nCaption, nPart;
    } cases[] = {
        {0, FALSE, TRUE, imgGroupBody, imgGroupCaption, 0},
        {0, TRUE, TRUE, imgGroupBody, imgGroupCaption, 1},
        {3, FALSE, TRUE, imgContextGroupBody, imgContextGroupCaption, 0},
        {3, TRUE, TRUE, imgContextGroupBody, imgContextGroupCaption, 1},
        {0, FALSE, FALSE, -1, -1, 0},
    };
    CKLVRibbonTab* pTab = m_pRibbon->AddTab("Home");
    m_pRibbon->GetControlTab()->SetCurSel(0);
    CKLVRibbonGroup* pGroup = AddGroup(pTab, "");
    pGroup->SetRect(CRect(0, 0, 75, 90));
    const CRect rc = pGroup->GetRect();
    const int nBand = m_pTheme->m_nGroupCaptionHeight;
    for (const auto& c : cases) {
        pTab->m_nContextColor = c.nColor;
        pGroup->m_bVisible = c.bVisible;
        m_pRibbon->m_pHighlightedGroup = c.bHighlighted ? pGroup : nullptr;
        Dib dib(100, 100);
        m_pTheme->DrawRibbonGroup(&dib.m_dc, pGroup);
        const COLORREF clrBody = dib.At(rc.left + 2, (rc.bottom - nBand) / 2);
        const COLORREF clrBand = dib.At(rc.left + 2, rc.bottom - nBand / 2);
        EXPECT_EQ(clrBody, c.nBody < 0 ? kBack : ThemeSkin::PartColor(c.nBody, c.nPart)) << c.nColor << c.bHighlighted;
        EXPECT_EQ(clrBand, c.nCaption < 0 ? kBack : ThemeSkin::PartColor(c.nCaption, c.nPart)) << c.nColor;
    }
    m_pRibbon->m_pHighlightedGroup = nullptr;
}

TEST_F(RibbonTheme, ACollapsedGroupIsAtLeast42WideAndTakesItsTabsColourAndState) {
    const struct {
        int nTextHeight, nColor;
        BOOL bPopuped, bSelected;
        int nWidth, nImage, nPart;
    } cases[] = {
        {10, 0, FALSE, FALSE, 42, imgCollapsedGroup, 0}, {22, 0, FALSE, TRUE, 42, imgCollapsedGroup, 1},
        {23, 0, TRUE, TRUE, 43, imgCollapsedGroup, 2},   {30, 3, FALSE, FALSE, 57, imgCollapsedGroupGreen, 0},
        {30, 3, TRUE, FALSE, 57, imgCollapsedGroupGreen, 2},
    };
    CKLVRibbonTab* pTab = m_pRibbon->AddTab("Home");
    CKLVRibbonGroup* pGroup = AddGroup(pTab, "Clipboard");
    auto* pButton = new CKLVControlPopup;
    m_pRibbon->GetControls()->Add(pButton, 0);
    pButton->m_pRibbonRoster = pGroup;
    for (const auto& c : cases) {
        m_pTheme->m_nTextHeight = c.nTextHeight;
        pTab->m_nContextColor = c.nColor;
        pButton->m_bPopuped = c.bPopuped;
        pButton->m_nSelected = c.bSelected;
        Dib dib(100, 100);
        const CSize sz = m_pTheme->DrawRibbonGroupPopupButton(&dib.m_dc, pButton, FALSE);
        EXPECT_EQ(sz, CSize(c.nWidth, 3 * m_pTheme->m_nControlHeight)) << c.nTextHeight;
        EXPECT_EQ(dib.Painted().size(), 0u) << "measuring draws nothing";
        pButton->SetRect(CRect(CPoint(0, 0), sz));
        m_pTheme->DrawRibbonGroupPopupButton(&dib.m_dc, pButton, TRUE);
        EXPECT_EQ(LeftInside(dib, pButton->GetRect()), ThemeSkin::PartColor(c.nImage, c.nPart)) << c.nTextHeight;
    }
    pButton->m_pRibbonRoster = nullptr;
    m_pTheme->RefreshFonts();

    // A group's button away from its group (put on the quick access tool bar) has the quick
    // access face under the ordinary button drawing, which adds no face of its own when idle.
    auto* pClone = AddControl(new CKLVRibbonGroupControlPopup, CRect(0, 0, 40, 22));
    Dib dib(60, 30);
    pClone->Draw(&dib.m_dc);
    EXPECT_EQ(dib.At(2, 11), ThemeSkin::PartColor(imgGroupOnQuickAccess, 0));
}

TEST_F(RibbonTheme, SmallButtonsTakeTheirPartByState) {
    auto* pCustomize = AddControl(new CKLVControlPopup, CRect(0, 0, 13, 22));
    auto* pScroll = AddControl(new CKLVRibbonScrollButton(FALSE), CRect(0, 0, 12, 40));
    auto* pOption = AddControl(new CKLVControlButton, CRect(0, 0, 15, 14));
    const struct {
        BOOL bPopuped;
        int nSelected, nPressed;
        int nPopupPart, nPressPart;
    } cases[] = {
        {FALSE, 0, 0, 0, 0}, {FALSE, 1, 0, 1, 1}, {TRUE, 1, 0, 2, 1}, {FALSE, 0, 1, 0, 2}, {FALSE, 1, 1, 1, 2},
    };
    for (const auto& c : cases) {
        for (CKLVControl* pControl : {static_cast<CKLVControl*>(pCustomize), static_cast<CKLVControl*>(pScroll),
                                      static_cast<CKLVControl*>(pOption)}) {
            pControl->m_nSelected = c.nSelected;
            pControl->m_nPressed = c.nPressed;
        }
        pCustomize->m_bPopuped = c.bPopuped;
        const std::string what = std::to_string(c.bPopuped) + std::to_string(c.nSelected) + std::to_string(c.nPressed);
        Dib customize(20, 30), more(20, 30), scroll(20, 50), option(20, 20);
        m_pTheme->DrawQuickAccessCustomizeButton(&customize.m_dc, pCustomize);
        m_pTheme->DrawQuickAccessMoreButton(&more.m_dc, pCustomize);
        m_pTheme->DrawRibbonScrollButton(&scroll.m_dc, pScroll, TRUE);
        EXPECT_EQ(m_pTheme->DrawRibbonOptionButton(&option.m_dc, pOption, TRUE), CSize(15, 14));
        EXPECT_EQ(customize.At(2, 11), ThemeSkin::PartColor(imgQuickAccessCustomize, c.nPopupPart)) << what;
        EXPECT_EQ(more.At(2, 11), ThemeSkin::PartColor(imgQuickAccessMore, c.nPopupPart)) << what;
        EXPECT_EQ(scroll.At(2, 8), ThemeSkin::PartColor(imgScrollLeft, c.nPressPart)) << what;
        EXPECT_EQ(scroll.At(6, 20), ThemeSkin::PartColor(imgScrollLeftArrow, c.nPressPart)) << what << " arrow";
        EXPECT_EQ(option.At(7, 7), ThemeSkin::PartColor(imgOptionButton, c.nPressPart)) << what;
    }
}

TEST_F(RibbonTheme, TheSystemButtonUsesTheLargeImageOnlyAbove54By54) {
    const struct {
        CRect rc;
        BOOL bPopuped, bSelected;
        int nImage, nPart;
    } cases[] = {
        {CRect(0, 0, 54, 54), FALSE, FALSE, imgSystemButton, 0},
        {CRect(0, 0, 55, 55), FALSE, FALSE, imgSystemButtonLarge, 0},
        {CRect(0, 0, 55, 54), FALSE, TRUE, imgSystemButton, 1},
        {CRect(0, 0, 54, 80), TRUE, TRUE, imgSystemButton, 2},
        {CRect(0, -1, 56, 55), TRUE, FALSE, imgSystemButtonLarge, 2},
    };
    auto* pButton = AddControl(new CKLVRibbonControlSystemButton, CRect(0, 0, 40, 40));
    m_pRibbon->SetSystemButton(pButton);
    m_fx.Layout(600);
    ASSERT_TRUE(m_pRibbon->HasCaptionBand());
    for (const auto& c : cases) {
        pButton->m_bPopuped = c.bPopuped;
        pButton->m_nSelected = c.bSelected;
        Dib dib(100, 100);
        m_pTheme->DrawRibbonSystemButton(&dib.m_dc, pButton, c.rc);
        // A rectangle reaching above the top is moved down first; the image is centred, unscaled.
        CRect rc = c.rc;
        rc.OffsetRect(0, std::max(0L, -rc.top));
        EXPECT_EQ(dib.At(rc.CenterPoint().x - 18, rc.CenterPoint().y), ThemeSkin::PartColor(c.nImage, c.nPart))
            << c.rc.Width() << "x" << c.rc.Height();
        EXPECT_EQ(T6::SystemButtonImage(c.rc.Size()) == CString("FRAMESYSTEMBUTTON52"), c.nImage == imgSystemButtonLarge);
    }
    // Without the tab row it is an ordinary control: no skin image.
    m_pRibbon->m_bTabRowShown = FALSE;
    Dib dib(100, 100);
    m_pTheme->DrawRibbonSystemButton(&dib.m_dc, pButton, CRect(0, 0, 40, 40));
    EXPECT_NE(dib.At(2, 20), ThemeSkin::PartColor(imgSystemButton, 0));
    m_pRibbon->m_bTabRowShown = TRUE;
    m_pRibbon->SetSystemButton(nullptr);
}

TEST_F(RibbonTheme, TheTabRowPaintsWithTheThemesRibbonTabPainter) {
    CKLVRibbonControlTab* pRow = m_pRibbon->GetControlTab();
    ASSERT_EQ(pRow->GetPaintManager(), m_pTheme->m_pRibbonTabPainter.get());
    EXPECT_NE(dynamic_cast<CKLVTabStyleRibbon*>(pRow->GetPaintManager()->GetAppearanceSet()), nullptr);
    m_fx.m_pCommandBars->SetPaintManager(CKLVPaintManager::CreateThemeObject(0));
    EXPECT_NE(pRow->GetPaintManager(), nullptr);
    EXPECT_EQ(dynamic_cast<CKLVTabStyleRibbon*>(pRow->GetPaintManager()->GetAppearanceSet()), nullptr);
}

TEST_F(RibbonTheme, ContextTabsTakeTheirContextsImageAndCloseTheRunAtItsEnds) {
    const struct {
        BOOL bHot, bSelected, bFocused;
        int nPart;
    } parts[] = {
        {TRUE, FALSE, FALSE, 3}, {TRUE, TRUE, FALSE, 4}, {TRUE, FALSE, TRUE, 4},
        {FALSE, TRUE, TRUE, 1},  {FALSE, FALSE, TRUE, -1},
    };
    for (const auto& p : parts) EXPECT_EQ(T6::ContextTabPart(p.bHot, p.bSelected, p.bFocused), p.nPart);

    m_pRibbon->AddTab("Home");
    CKLVRibbonTab* pFirst = m_pRibbon->AddTab("Design");
    CKLVRibbonTab* pLast = m_pRibbon->AddTab("Layout");
    for (CKLVRibbonTab* pTab : {pFirst, pLast}) {
        pTab->m_nContextColor = 1;
        pTab->m_strContextCaption = "Table";
    }
    m_fx.Layout(600);
    EXPECT_TRUE(pFirst->IsContextStart() && !pFirst->IsContextEnd());
    EXPECT_TRUE(!pLast->IsContextStart() && pLast->IsContextEnd());
    for (CKLVRibbonTab* pTab : {m_pRibbon->GetControlTab()->GetTab(0), pFirst}) {
        m_pRibbon->GetControlTab()->SetCurSel(pTab->GetIndex());
        const CRect rc = pTab->GetRect();
        ASSERT_GT(rc.Width(), 4);
        Dib dib(600, 80);
        m_pTheme->DrawRibbonTab(&dib.m_dc, pTab);
        const int nImage = pTab == pFirst ? imgContextTabBlue : imgRibbonTab;
        EXPECT_EQ(LeftInside(dib, rc), ThemeSkin::PartColor(nImage, 1)) << pTab->GetCaption();
        EXPECT_EQ(dib.At(rc.left - 1, rc.top + 2) == ThemeSkin::kRim, pTab == pFirst) << "edge before the run";
        EXPECT_EQ(dib.At(rc.left - 1, rc.bottom - 1), kBack) << "the edge is one pixel short of the tab";
    }
    m_pRibbon->GetControlTab()->SetCurSel(pLast->GetIndex());
    Dib dib(600, 80);
    m_pTheme->DrawRibbonTab(&dib.m_dc, pLast);
    EXPECT_EQ(dib.At(pLast->GetRect().right, pLast->GetRect().top + 2), ThemeSkin::kRim) << "edge after the run";
}

TEST_F(RibbonTheme, ContextHeadersStopAtTheFirstMissingImage) {
    CKLVRibbonTabContextHeaders headers;
    const int nColors[] = {3, 4, 1};   // green and blue are in the skin, red is not
    for (int i = 0; i < 3; ++i) {
        CKLVRibbonTabContextHeader header;
        header.nColor = nColors[i];
        header.rcHeader.SetRect(i * 60, 0, i * 60 + 50, 24);
        headers.Add(header);
    }
    Dib dib(200, 30);
    m_pTheme->DrawRibbonContextHeaders(&dib.m_dc, m_pRibbon, &headers);
    EXPECT_EQ(dib.At(3, 12), ThemeSkin::PartColor(imgContextHeaderGreen, 0));
    EXPECT_EQ(dib.At(63, 12), kBack);
    EXPECT_EQ(dib.At(123, 12), kBack) << "the blue header after the missing one";
}

TEST_F(RibbonTheme, TheBarClosesItsBottomWithoutGroupAreaAndFramesTheQuickAccessBelow) {
    const struct {
        BOOL bMinimized, bQuickAccessBelow, bLines, bFrame;
    } cases[] = {
        {FALSE, FALSE, FALSE, FALSE}, {TRUE, FALSE, TRUE, FALSE}, {TRUE, TRUE, FALSE, TRUE}, {FALSE, TRUE, FALSE, TRUE},
    };
    m_pRibbon->AddTab("Home");
    m_pRibbon->GetControlTab()->SetCurSel(0);
    for (const auto& c : cases) {
        m_pRibbon->SetMinimized(c.bMinimized);
        m_pRibbon->SetQuickAccessBelow(c.bQuickAccessBelow);
        const int nHeight = m_fx.Layout(600);
        m_pRibbon->MoveWindow(0, 0, 600, nHeight);
        Dib dib(600, nHeight);
        m_pTheme->FillRibbonBar(&dib.m_dc, m_pRibbon);
        const std::string what = std::to_string(c.bMinimized) + std::to_string(c.bQuickAccessBelow);
        EXPECT_EQ(dib.At(300, nHeight - 2) == m_pTheme->m_clrMinimizedEdgeShadow, c.bLines) << what;
        EXPECT_EQ(dib.At(300, nHeight - 1) == m_pTheme->m_clrMinimizedEdgeHighlight, c.bLines) << what;
        const CRect rcQuickAccess = m_pRibbon->m_rcQuickAccess;
        if (c.bFrame) {
            EXPECT_EQ(LeftInside(dib, rcQuickAccess), ThemeSkin::PartColor(imgQuickAccessBelowFrame, 0)) << what;
        }
        EXPECT_EQ(dib.At(300, m_pRibbon->m_rcTabRow.CenterPoint().y), m_pTheme->m_clrRibbonFace) << what;
    }
}

TEST_F(RibbonTheme, TheRibbonPaintsTheSelectedTabsGroupsAndTheirControls) {
    CKLVRibbonTab* pTab = m_pRibbon->AddTab("Home");
    CKLVRibbonGroup* pGroup = AddGroup(pTab, "Clipboard");
    auto* pButton = new CCountingButton;
    m_pRibbon->GetControls()->Add(pButton, 100);
    pButton->SetCaption("Paste");
    pGroup->AddControl(pButton);
    m_pRibbon->GetControlTab()->SetCurSel(0);
    const int nHeight = m_fx.Layout(600);
    m_pRibbon->MoveWindow(0, 0, 600, nHeight);
    const CRect rcGroup = pGroup->GetRect();
    ASSERT_FALSE(rcGroup.IsRectEmpty());
    Dib dib(600, nHeight);
    m_pRibbon->DrawCommandBar(&dib.m_dc, CRect(0, 0, 600, nHeight));
    EXPECT_EQ(dib.At(rcGroup.left + 1, rcGroup.bottom - 3), ThemeSkin::PartColor(imgGroupCaption, 0));
    EXPECT_EQ(pButton->m_nDraws, 1) << "the group's control is painted";
    EXPECT_EQ(dib.At(m_pRibbon->m_rcGroupArea.right - 3, m_pRibbon->m_rcGroupArea.CenterPoint().y),
              ThemeSkin::PartColor(imgGroupArea, 0));
    // A clip box that misses the group leaves its control alone.
    m_pRibbon->DrawCommandBar(&dib.m_dc, CRect(0, 0, 600, m_pRibbon->m_rcTabRow.bottom));
    EXPECT_EQ(pButton->m_nDraws, 1);
}

TEST_F(RibbonTheme, SystemPopupBottomButtonsStandOnTheSkinsFaceWithTheirOwnIconSize) {
    using Button = CKLVRibbonControlSystemPopupBarButton;
    const struct {
        int nStyle, nSelected, nPressed;
        int nPart, nIcon;
    } cases[] = {
        {CKLVControl::styleAutomatic, 0, 0, 0, 16},
        {CKLVControl::styleCaptionBelow, 1, 0, 1, 22},
        {CKLVControl::styleIconAndCaption, 1, 1, 2, 16},
    };
    std::unique_ptr<CKLVRibbonSystemPopupBar, ReleaseBar> pPopup(new CKLVRibbonSystemPopupBar);
    pPopup->m_pCommandBars = m_fx.m_pCommandBars;
    auto* pButton = new Button;
    pPopup->GetControls()->Add(pButton, 101);
    for (const auto& c : cases) {
        pButton->SetStyle(c.nStyle);
        pButton->m_nSelected = c.nSelected;
        pButton->m_nPressed = c.nPressed;
        EXPECT_EQ(pButton->GetIconSize(), CSize(c.nIcon, c.nIcon));
        Dib dib(80, 30);
        const CSize sz = pButton->GetSize(&dib.m_dc);
        EXPECT_EQ(sz.cx, Button::iconLeft + c.nIcon + Button::textRight) << "no caption: icon and padding";
        pButton->SetRect(CRect(0, 0, 60, 22));
        pButton->Draw(&dib.m_dc);
        EXPECT_EQ(LeftInside(dib, pButton->GetRect()), ThemeSkin::PartColor(imgSystemMenuBottomButton, c.nPart))
            << c.nSelected << c.nPressed;
    }
}

}  // namespace
}  // namespace themes_test
