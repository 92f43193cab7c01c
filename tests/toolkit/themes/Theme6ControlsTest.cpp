// The resource-image theme's controls: buttons joined into strips in a ribbon group, split
// buttons in and out of strips, edit and combo boxes with their spin and drop-down buttons, text
// colours on popups and directly on the ribbon, popup separators and the "more" popup's body.
#include "PopupBarTestSupport.h"
#include "ThemeSkin.h"
#include "ThemeTestSupport.h"
#include "toolkit/commandbars/controls/ControlComboBox.h"
#include "toolkit/commandbars/controls/ControlEdit.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/themes/PaintManagerTheme0.h"
#include "toolkit/themes/PaintManagerTheme6.h"

namespace themes_test {
namespace {

using Theme6Ptr = std::unique_ptr<CKLVPaintManagerTheme6, Release>;
using T6 = CKLVPaintManagerTheme6;

Theme6Ptr MakeTheme6() {
    Theme6Ptr pTheme = MakeThemeOf<CKLVPaintManagerTheme6>(6);
    for (int i = 0; i < CKLVPaintManager::nColorCount; ++i) pTheme->SetCustomColor(i, Numbered(i));
    return pTheme;
}

TEST(Theme6Strips, CellsByStateAndImagesByPlaceInTheRun) {
    const struct {
        int nSelected, nPressed, nEnabled, nChecked, bPopuped, nCell;
    } cells[] = {
        {0, 0, 1, 0, 0, 0}, {1, 0, 1, 0, 0, 1}, {0, 1, 1, 0, 0, 1}, {1, 1, 1, 0, 0, 2}, {0, 2, 1, 0, 0, 2},
        {0, 3, 1, 0, 0, 2}, {0, 0, 1, 0, 1, 3}, {0, 0, 1, 1, 0, 3}, {1, 0, 1, 1, 0, 4}, {1, 1, 1, 1, 0, 2},
        {0, 1, 1, 1, 0, 1}, {0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 1}, {3, 0, 0, 1, 1, 1},
    };
    for (const auto& c : cells)
        EXPECT_EQ(T6::StripCell(c.nSelected, c.nPressed, c.nEnabled, c.nChecked, c.bPopuped), c.nCell)
            << c.nSelected << c.nPressed << c.nEnabled << c.nChecked << c.bPopuped;
    EXPECT_STREQ(T6::StripImage(TRUE, TRUE), "TOOLBARBUTTONSSPECIALSINGLE");
    EXPECT_STREQ(T6::StripImage(TRUE, FALSE), "TOOLBARBUTTONSSPECIALLEFT");
    EXPECT_STREQ(T6::StripImage(FALSE, TRUE), "TOOLBARBUTTONSSPECIALRIGHT");
    EXPECT_STREQ(T6::StripImage(FALSE, FALSE), "TOOLBARBUTTONSSPECIALCENTER");
}

// Buttons of a joined group, each 22 pixels wide in a row; a run starts at the group's first
// visible control and at every control that begins a group.
struct StripRow {
    CKLVRibbonGroup group;
    CKLVCommandBar bar;
    std::vector<CKLVControl*> controls;

    StripRow(BOOL bJoined, std::initializer_list<int> kinds) {   // kinds: 0 joins, 1 begins, 2 hidden
        group.m_bControlsJoined = bJoined;
        bar.m_barType = CKLVCommandBar::barTypeRibbon;
        int x = 0;
        for (int nKind : kinds) {
            CKLVControl* pControl = bar.GetControls()->Add(CKLVControl::typeButton, 0);
            pControl->m_bBeginGroup = nKind == 1;
            if (nKind == 2) pControl->SetHideFlag(CKLVControl::hideWrap, TRUE);
            pControl->m_rcControl = CRect(x, 0, x + 22, 22);
            x += 24;
            group.AddControl(pControl);
            controls.push_back(pControl);
        }
    }
};

TEST(Theme6Strips, EachButtonOfAJoinedGroupTakesTheImageOfItsPlaceInTheCellOfItsState) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    StripRow row(TRUE, {0, 0, 0, 2, 1, 1, 0, 0, 2});
    row.controls[1]->m_nSelected = 1;
    row.controls[5]->m_bChecked = TRUE;
    const struct {
        int nImage, nCell;   // nImage -1: hidden, not drawn here
    } expected[] = {
        {imgSpecialLeft, 0},   {imgSpecialCenter, 1}, {imgSpecialRight, 0}, {-1, 0},  {imgSpecialSingle, 0},
        {imgSpecialLeft, 3},   {imgSpecialCenter, 0}, {imgSpecialRight, 0}, {-1, 0},
    };
    Dib dib(220, 22);
    for (CKLVControl* pControl : row.controls)
        if (pControl->IsVisible()) pTheme->DrawControlEntry(&dib.m_dc, pControl);
    for (size_t i = 0; i < row.controls.size(); ++i) {
        if (expected[i].nImage < 0) continue;
        const CRect rc = row.controls[i]->GetRect();
        EXPECT_EQ(dib.At(rc.left + 11, 11), ThemeSkin::PartColor(expected[i].nImage, expected[i].nCell)) << i;
        EXPECT_EQ(dib.At(rc.left, 11), ThemeSkin::kRim) << i;
        EXPECT_EQ(dib.At(rc.left, 0), kBack) << i;   // the keyed corner
    }
}

TEST(Theme6Strips, ButtonsOfAGroupThatIsNotJoinedGetTheOrdinaryFace) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    StripRow row(FALSE, {0, 0});
    row.controls[0]->m_nSelected = 1;
    Dib dib(60, 22);
    for (CKLVControl* pControl : row.controls) pTheme->DrawControlEntry(&dib.m_dc, pControl);
    EXPECT_EQ(dib.At(11, 11), ThemeSkin::PartColor(imgButtons22, 0));
    EXPECT_EQ(dib.At(35, 11), kBack);
}

TEST(Theme6Strips, SplitButtonPartsInAndOutOfStrips) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    StripRow row(TRUE, {0, 0, 0});
    CKLVCommandBar plainBar;
    CKLVControl* pPlain = plainBar.GetControls()->Add(CKLVControl::typeSplitButtonPopup, 0);
    auto split = [](CKLVControl* pControl, int nSelected, BOOL bPopuped) {
        auto* pPopup = dynamic_cast<CKLVControlPopup*>(pControl);
        pPopup->m_nSelected = nSelected;
        pPopup->m_bPopuped = bPopuped;
        pPopup->m_rcControl = CRect(0, 0, 60, 22);
    };
    // The last control of the row ends its run; the first of another group begins one.
    CKLVControl* pLast = row.bar.GetControls()->Add(CKLVControl::typeSplitButtonPopup, 0);
    row.group.AddControl(pLast);
    StripRow other(TRUE, {});
    CKLVControl* pFirst = other.bar.GetControls()->Add(CKLVControl::typeSplitButtonPopup, 0);
    other.group.AddControl(pFirst);
    other.group.AddControl(other.bar.GetControls()->Add(CKLVControl::typeButton, 0));
    const struct {
        CKLVControl* pControl;
        int nSelected;
        BOOL bPopuped;
        int nButtonImage, nButtonCell, nDropImage, nDropCell;
    } cases[] = {
        {pFirst, 1, FALSE, imgSpecialSplitLeft, 1, imgSpecialSplitDropDownCenter, 1},
        {pLast, 0, TRUE, imgSpecialSplitCenter, 1, imgSpecialSplitDropDownRight, 3},
        {pLast, 0, FALSE, imgSpecialSplitCenter, 0, imgSpecialSplitDropDownRight, 0},
        {pPlain, 1, FALSE, imgSplit22, 0, imgSplitDropDown22, 0},
        {pPlain, 0, TRUE, imgSplit22, 0, imgSplitDropDown22, 2},
    };
    for (const auto& c : cases) {
        split(c.pControl, c.nSelected, c.bPopuped);
        Dib dib(60, 22);
        pTheme->DrawSplitButtonFrame(&dib.m_dc, c.pControl, c.pControl->GetRect());
        const int xDrop = pTheme->GetSplitButtonCommandRect(c.pControl).right;
        const std::string what = std::to_string(c.nButtonImage) + "/" + std::to_string(c.nSelected);
        EXPECT_EQ(dib.At(20, 11), ThemeSkin::PartColor(c.nButtonImage, c.nButtonCell)) << what;
        EXPECT_EQ(dib.At(xDrop + 6, 5), ThemeSkin::PartColor(c.nDropImage, c.nDropCell)) << what;
        EXPECT_EQ(dib.At(xDrop, 11), ThemeSkin::kRim) << what;
    }
}

// An edit or combo box 100 x 22 at the bar's origin, in the state given.
template <class TControl>
TControl* AddBox(CKLVCommandBar* pBar, int nType, int nEnabled, int nSelected) {
    auto* pControl = dynamic_cast<TControl*>(pBar->GetControls()->Add(nType, 0));
    pControl->m_bEnabled = nEnabled;
    pControl->m_nSelected = nSelected;
    pControl->m_rcControl = CRect(0, 0, 100, 22);
    return pControl;
}

TEST(Theme6Edits, BoxFillFrameAndSpinCellsByState) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    CKLVCommandBar toolBar, popupBar;
    popupBar.m_barType = CKLVCommandBar::barTypePopup;
    const COLORREF clrFace = pTheme->m_clrEditFace;
    const struct {
        CKLVCommandBar* pBar;
        int nEnabled, nSelected, nPressed;
        COLORREF clrFill;
        int nFrame, nUp, nDown;
    } cases[] = {
        {&toolBar, 1, 0, 0, clrFace, 53, 0, 5},
        {&toolBar, 1, 1, 0, Numbered(COLOR_WINDOW), 53, 1, 6},
        {&toolBar, 1, 3, 0, Numbered(COLOR_WINDOW), 53, 2, 6},
        {&toolBar, 1, 3, 3, Numbered(COLOR_WINDOW), 53, 3, 6},
        {&toolBar, 1, 4, 0, Numbered(COLOR_WINDOW), 53, 1, 7},
        {&toolBar, 1, 4, 4, Numbered(COLOR_WINDOW), 53, 1, 8},
        {&toolBar, 0, 0, 0, Numbered(COLOR_BTNFACE), 53, 4, 9},
        {&toolBar, 0, 2, 0, Numbered(COLOR_BTNFACE), 32, 4, 9},
        {&popupBar, 1, 0, 0, kBack, 53, 0, 5},
    };
    for (const auto& c : cases) {
        auto* pEdit = AddBox<CKLVControlEdit>(c.pBar, CKLVControl::typeEdit, c.nEnabled, c.nSelected);
        pEdit->m_bShowSpinButtons = TRUE;
        pEdit->m_nPressed = c.nPressed;
        Dib dib(100, 22);
        pTheme->DrawControlEdit(&dib.m_dc, pEdit, TRUE);
        const std::string what = std::to_string(c.nEnabled) + std::to_string(c.nSelected) + std::to_string(c.nPressed);
        EXPECT_EQ(dib.At(40, 11), c.clrFill) << what;
        EXPECT_EQ(dib.At(pEdit->m_nLabelWidth, 11), Numbered(c.nFrame)) << what;
        EXPECT_EQ(dib.At(90, 6), ThemeSkin::PartColor(imgSpin, c.nUp)) << what;
        EXPECT_EQ(dib.At(90, 16), ThemeSkin::PartColor(imgSpin, c.nDown)) << what;
        EXPECT_EQ(dib.At(82, 1), dib.At(40, 11)) << what;   // the spin image's keyed corner
    }
}

TEST(Theme6Edits, ComboBoxFillAndDropDownButtonByState) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    CKLVCommandBar toolBar;
    const struct {
        int nEnabled, nSelected;
        BOOL bDropped;
        COLORREF clrFill;
        int nPart;
    } cases[] = {
        {1, 0, FALSE, pTheme->m_clrEditFace, 0},
        {1, 1, FALSE, Numbered(COLOR_WINDOW), 2},
        {1, 0, TRUE, Numbered(COLOR_WINDOW), 3},
        {0, 0, FALSE, Numbered(COLOR_BTNFACE), 4},
    };
    for (const auto& c : cases) {
        auto* pCombo = AddBox<CKLVControlComboBox>(&toolBar, CKLVControl::typeComboBox, c.nEnabled, c.nSelected);
        pCombo->m_bPopuped = c.bDropped;
        Dib dib(100, 22);
        pTheme->DrawControlComboBox(&dib.m_dc, pCombo, TRUE);
        const int xButton = 100 - pCombo->m_nThumbWidth;
        EXPECT_GT(pCombo->m_nThumbWidth, 8);
        EXPECT_EQ(dib.At(40, 11), c.clrFill) << c.nPart;
        EXPECT_EQ(dib.At(0, 11), Numbered(53)) << c.nPart;
        EXPECT_EQ(dib.At(xButton + 3, 4), ThemeSkin::PartColor(imgComboDropDown, c.nPart)) << c.nPart;
        EXPECT_EQ(dib.At(xButton, 11), ThemeSkin::kRim) << c.nPart;
        // The arrow glyph is centred in the button.
        const CPoint c0 = CRect(xButton, 0, 100, 22).CenterPoint();
        EXPECT_EQ(dib.At(c0.x, c0.y - 1), ThemeSkin::PartColor(imgDropDownGlyph, c.nEnabled ? c.nSelected : 3))
            << c.nPart;
    }
}

TEST(Theme6, ControlTextColoursOnPopupsEditsAndDirectlyOnTheRibbon) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    CKLVCommandBar popupBar, toolBar, ribbon;
    popupBar.m_barType = CKLVCommandBar::barTypePopup;
    ribbon.m_barType = CKLVCommandBar::barTypeRibbon;
    CKLVRibbonGroup group;
    const COLORREF clrRibbon = pTheme->m_clrRibbonText;
    ASSERT_NE(clrRibbon, Numbered(46));
    const struct {
        CKLVCommandBar* pBar;
        int nType, nEnabled, nSelected, nPressed, nStyle;
        BOOL bInGroup;
        COLORREF clr;
    } cases[] = {
        {&popupBar, CKLVControl::typeEdit, 1, 0, 0, 0, FALSE, Numbered(44)},
        {&popupBar, CKLVControl::typeEdit, 1, 1, 0, 0, FALSE, Numbered(45)},
        {&popupBar, CKLVControl::typeComboBox, 0, 1, 0, 0, FALSE, Numbered(35)},
        {&toolBar, CKLVControl::typeEdit, 1, 1, 0, 0, FALSE, Numbered(46)},
        {&toolBar, CKLVControl::typeComboBox, 0, 0, 0, 0, FALSE, Numbered(60)},
        {&ribbon, CKLVControl::typeButton, 1, 0, 0, 0, FALSE, clrRibbon},
        {&ribbon, CKLVControl::typeButton, 1, 1, 0, 0, FALSE, Numbered(46)},
        {&ribbon, CKLVControl::typeButton, 1, 0, 1, 0, FALSE, Numbered(46)},
        {&ribbon, CKLVControl::typeButton, 0, 0, 0, 0, FALSE, Numbered(60)},
        {&ribbon, CKLVControl::typeButton, 1, 0, 0, CKLVControl::styleCaptionBelow, FALSE, Numbered(46)},
        {&ribbon, CKLVControl::typeButton, 1, 0, 0, 0, TRUE, Numbered(46)},
        {&toolBar, CKLVControl::typeButton, 1, 0, 0, 0, FALSE, Numbered(46)},
    };
    for (const auto& c : cases) {
        CKLVControl* pControl = c.pBar->GetControls()->Add(c.nType, 0);
        pControl->m_bEnabled = c.nEnabled;
        pControl->m_nSelected = c.nSelected;
        pControl->m_nPressed = c.nPressed;
        pControl->m_nStyle = c.nStyle;
        if (c.bInGroup) group.AddControl(pControl);
        EXPECT_EQ(pTheme->GetControlTextColor(pControl), c.clr)
            << c.pBar->GetType() << "/" << c.nType << " " << c.nEnabled << c.nSelected << c.nPressed << c.nStyle
            << c.bInGroup;
    }
}

TEST(Theme6, PopupSeparatorsAreTwoLinesFromTheTextColumnOrOneColumnBetweenColumns) {
    Theme6Ptr pTheme = MakeTheme6();
    CKLVCommandBar popupBar, toolBar;
    popupBar.m_barType = CKLVCommandBar::barTypePopup;
    EXPECT_EQ(pTheme->DrawSeparator(nullptr, &popupBar, nullptr, FALSE), CSize(2, 2));
    EXPECT_EQ(pTheme->DrawSeparator(nullptr, &toolBar, nullptr, FALSE), CSize(6, 6));

    CKLVControl* pItem = popupBar.GetControls()->Add(CKLVControl::typeButton, 0);
    pItem->m_rcControl = CRect(2, 10, 150, 32);
    pItem->m_rcRow = pItem->m_rcControl;
    Dib dib(160, 40);
    pTheme->DrawSeparator(&dib.m_dc, &popupBar, pItem, TRUE);
    const int xLeft = 2 + pTheme->GetPopupBarGripperWidth(&popupBar) + pTheme->m_nPopupBarTextMargin - 1;
    EXPECT_EQ(dib.At(xLeft, 8), RGB(0xC5, 0xC5, 0xC5));
    EXPECT_EQ(dib.At(149, 8), RGB(0xC5, 0xC5, 0xC5));
    EXPECT_EQ(dib.At(xLeft, 9), RGB(0xF5, 0xF5, 0xF5));
    EXPECT_EQ(dib.At(xLeft - 1, 8), kBack);
    EXPECT_EQ(dib.At(150, 8), kBack);
    EXPECT_EQ(dib.At(xLeft, 10), kBack);

    pItem->m_bWrap = TRUE;
    Dib column(160, 40);
    pTheme->DrawSeparator(&column.m_dc, &popupBar, pItem, TRUE);
    EXPECT_EQ(column.At(0, 20), RGB(0xC5, 0xC5, 0xC5));
    EXPECT_EQ(column.At(1, 20), kBack);
    EXPECT_EQ(column.At(20, 8), kBack);
}

TEST(Theme6, TheMorePopupTakesItsOwnFrameImageOrThePopupBody) {
    commandbars_test::CTestSite site;
    commandbars_test::CTestBar<> bar(&site, CKLVCommandBar::barTypePopup);
    bar.m_barPosition = CKLVCommandBar::barPopup;
    {
        ThemeSkin skin;
        Theme6Ptr pTheme = MakeTheme6();
        Dib dib(200, 40);
        pTheme->FillMorePopupToolBar(&dib.m_dc, &bar);
        EXPECT_EQ(dib.At(100, 20), ThemeSkin::PartColor(imgMorePopupFrame, 0));
        EXPECT_EQ(dib.At(0, 20), ThemeSkin::kRim);
    }
    Theme6Ptr pTheme = MakeTheme6();   // no skin: theme 2's popup body
    Dib more(200, 40), body(200, 40);
    pTheme->FillMorePopupToolBar(&more.m_dc, &bar);
    pTheme->FillCommandBar(&body.m_dc, &bar);
    EXPECT_FALSE(more.Painted().empty());
    EXPECT_EQ(more.DifferingFrom(body), kNoPixels);
}

TEST(Theme6, AWindowOnTheRibbonIsFilledWithTheRibbonFace) {
    ThemeSkin skin;
    Theme6Ptr pTheme = MakeTheme6();
    commandbars_test::CTestSite site;
    commandbars_test::CTestBar<> window(&site);   // a 200 x 40 client area
    Dib dib(220, 50);
    pTheme->FillRibbonWindowClient(&dib.m_dc, &window);
    EXPECT_EQ(dib.At(0, 0), ThemeSkin::Key("Ribbon", "RibbonFace"));
    EXPECT_EQ(dib.At(199, 39), ThemeSkin::Key("Ribbon", "RibbonFace"));
    EXPECT_EQ(dib.At(200, 20), kBack);
    EXPECT_EQ(dib.At(100, 40), kBack);
}

TEST(Theme6, APopupBarIsShownWithItsCornersCutAndAToolBarKeepsItsShape) {
    commandbars_test::CPopupSite site;
    commandbars_test::CPopupCommandBars commandBars(&site);
    // The popup helper registers its test theme as number 0; the other theme tests need the real one.
    CKLVPaintManager::RegisterTheme(0, &CKLVPaintManagerTheme0::Create);
    CKLVPaintManager* pTheme = CKLVPaintManager::CreateThemeObject(6);
    pTheme->RefreshMetrics();
    commandBars->SetPaintManager(pTheme);
    struct ReleaseBar {
        void operator()(CKLVCommandBar* p) const { p->InternalRelease(); }
    };
    std::unique_ptr<commandbars_test::CWorkAreaPopup, ReleaseBar> pPopup(commandBars.MakePopup({101, 102}));
    ASSERT_TRUE(pPopup->Popup(100, 120, nullptr));
    CRect rc;
    pPopup->GetWindowRect(&rc);
    const int w = rc.Width(), h = rc.Height();
    HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(pPopup->GetSafeHwnd(), hRegion), ERROR);
    const struct {
        int x, y;
        BOOL bIn;
    } points[] = {{0, 0, FALSE}, {w - 1, 0, FALSE}, {0, h - 1, FALSE}, {w - 1, h - 1, FALSE},
                  {1, 0, TRUE},  {0, 1, TRUE},      {w - 1, h - 2, TRUE}, {w / 2, h / 2, TRUE}};
    for (const auto& p : points) EXPECT_EQ(::PtInRegion(hRegion, p.x, p.y) != 0, p.bIn) << p.x << "," << p.y;
    pPopup->SetTrackingMode(FALSE);

    commandbars_test::CTestBar<> toolBar(&site);
    pTheme->SetCommandBarRegion(&toolBar);
    EXPECT_EQ(::GetWindowRgn(toolBar.GetSafeHwnd(), hRegion), ERROR);
    ::DeleteObject(hRegion);
}

}  // namespace
}  // namespace themes_test
