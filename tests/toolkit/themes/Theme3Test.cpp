// The visual-style theme: its button state choice, its classic look on a system without visual
// styles, and what it asks of a visual style (ours) for popup items and floating captions.
#include "FakeVisualStyle.h"
#include "ThemeTestSupport.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/themes/PaintManagerTheme3.h"

#include <functional>
#include <vector>

namespace themes_test {
namespace {

using tabs_test::FakeVisualStyle;

// Our visual style answering for every class theme 3 opens; a call's class is its place here.
const std::initializer_list<LPCWSTR> kStyledClasses = {L"TAB", L"TOOLBAR", L"REBAR", L"WINDOW", L"COMBOBOX", L"SPIN"};

TEST(Theme3, ToolBarButtonStatesFollowTheControl) {
    const struct {
        int nSelected, nPressed, nEnabled, nChecked;
        BOOL bPopuped;
        int nState;
    } cases[] = {
        {0, 0, 1, 0, FALSE, 1}, {1, 0, 1, 0, FALSE, 2},   // normal, hot
        {1, 0, 1, 1, FALSE, 6}, {0, 0, 1, 1, FALSE, 5},   // hot and checked, checked
        {0, 0, 0, 1, FALSE, 3}, {1, 0, 0, 0, FALSE, 4},   // disabled and checked, disabled
        {0, 0, 1, 2, FALSE, 1}, {1, 0, 1, 2, FALSE, 2},   // checked 2 counts as unchecked
        {0, 0, 0, 2, FALSE, 3},                           // ...but not on a disabled control
        {0, 0, 1, 0, TRUE, 3},  {1, 1, 1, 0, FALSE, 3},   // popped up, selected and pressed
        {0, 2, 1, 0, FALSE, 3}, {0, 3, 1, 1, FALSE, 3},   // pressed down
        {0, 1, 1, 0, FALSE, 1}, {1, 1, 1, 1, FALSE, 3},   // pressed 1 unselected, checked and pressed
    };
    for (const auto& c : cases)
        EXPECT_EQ(KLVToolBarButtonState(c.nSelected, c.nPressed, c.nEnabled, c.nChecked, c.bPopuped), c.nState)
            << c.nSelected << c.nPressed << c.nEnabled << c.nChecked << c.bPopuped;
}

// A system whose visual-styles library cannot be loaded.
class Theme3WithoutVisualStyles : public ::testing::Test {
protected:
    void SetUp() override { m_pSaved = KLVReplaceWinThemeApiTable(&m_missing); }
    void TearDown() override { KLVReplaceWinThemeApiTable(m_pSaved); }

    CKLVWinThemeApiTable m_missing{"klv-no-visual-styles.dll"};
    CKLVWinThemeApiTable* m_pSaved = nullptr;
};

using Scene = std::function<void(CKLVPaintManager&, CDC*)>;

// Every bar position and control kind, in the states that tell the looks apart.
std::vector<std::pair<std::string, Scene>> Scenes(commandbars_test::CTestSite& site) {
    std::vector<std::pair<std::string, Scene>> scenes;
    const int positions[] = {CKLVCommandBar::barTop, CKLVCommandBar::barLeft, CKLVCommandBar::barFloating,
                             CKLVCommandBar::barPopup};
    for (int nPosition : positions)
        scenes.push_back({"bar at " + std::to_string(nPosition), [&site, nPosition](CKLVPaintManager& pm, CDC* pDC) {
                              commandbars_test::CTestBar<> bar(&site, nPosition == CKLVCommandBar::barPopup
                                                                          ? CKLVCommandBar::barTypePopup
                                                                          : CKLVCommandBar::barTypeNormal);
                              bar.m_barPosition = nPosition;
                              bar.m_strTitle = "Bar";
                              pm.FillCommandBar(pDC, &bar);
                              pm.DrawCommandBarCaption(pDC, &bar, TRUE);
                              CKLVControl* pControl = bar.GetControls()->Add(CKLVControl::typeButton, 1);
                              pControl->m_rcControl = CRect(20, 8, 40, 30);
                              pControl->m_rcRow = CRect(4, 4, 190, 34);
                              pm.DrawSeparator(pDC, &bar, pControl, TRUE);
                          }});
    const int types[] = {CKLVControl::typeButton, CKLVControl::typePopup, CKLVControl::typeSplitButtonPopup,
                         CKLVControl::typeEdit, CKLVControl::typeComboBox};
    const int barTypes[] = {CKLVCommandBar::barTypeMenuBar, CKLVCommandBar::barTypeNormal, CKLVCommandBar::barTypePopup};
    for (int nType : types)
        for (int nBarType : barTypes)
            for (int nState = 0; nState < 6; ++nState)
                scenes.push_back({"control " + std::to_string(nType) + " on " + std::to_string(nBarType) + " state " +
                                      std::to_string(nState),
                                  [nType, nBarType, nState](CKLVPaintManager& pm, CDC* pDC) {
                                      CKLVCommandBar bar;
                                      bar.m_barType = nBarType;
                                      bar.m_barPosition = nBarType == CKLVCommandBar::barTypePopup
                                                              ? CKLVCommandBar::barPopup
                                                              : CKLVCommandBar::barTop;
                                      CKLVControl* pControl = bar.GetControls()->Add(nType, 0);
                                      pControl->m_strCaption = "Item";
                                      pControl->m_rcControl = CRect(2, 2, 120, 24);
                                      pControl->m_nSelected = nState & 1;
                                      pControl->m_bChecked = nState == 2 || nState == 3;
                                      pControl->m_bEnabled = nState != 4;
                                      if (auto* pPopup = dynamic_cast<CKLVControlPopup*>(pControl))
                                          pPopup->m_bPopuped = nState == 5;
                                      pm.DrawControl(pDC, pControl, TRUE);
                                      pm.DrawSplitButtonFrame(pDC, pControl, CRect(2, 30, 60, 52));
                                  }});
    return scenes;
}

TEST_F(Theme3WithoutVisualStyles, DrawsEveryBarAndControlExactlyAsTheDefaultThemeWithItsDefaults) {
    ThemePtr pClassic = MakeTheme(0), pStyled = MakeTheme(3);
    ASSERT_EQ(pStyled->GetThemeId(), 3);
    auto* pTheme3 = static_cast<CKLVPaintManagerTheme3*>(pStyled.get());
    EXPECT_FALSE(pTheme3->IsThemed());
    // The constructor's own defaults, given to theme 0 so that only the drawing is compared.
    EXPECT_TRUE(pTheme3->GetIconsInfo()->bUseFadedIcons);
    EXPECT_EQ(pTheme3->m_nPopupTextColor, COLOR_MENUTEXT);
    EXPECT_TRUE(pTheme3->m_bUseStatusVisualStyle && pTheme3->m_bUseButtonVisualStyle);
    auto* pTheme0 = static_cast<CKLVPaintManagerTheme0*>(pClassic.get());
    pTheme0->GetIconsInfo()->bUseFadedIcons = TRUE;
    pTheme0->m_nPopupTextColor = COLOR_MENUTEXT;
    pTheme0->m_bUseStatusVisualStyle = pTheme0->m_bUseButtonVisualStyle = TRUE;

    commandbars_test::CTestSite site;
    for (const auto& scene : Scenes(site)) {
        Dib classic(200, 60), styled(200, 60);
        scene.second(*pClassic, &classic.m_dc);
        scene.second(*pStyled, &styled.m_dc);
        int nDiffering = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x) nDiffering += classic.At(x, y) != styled.At(x, y);
        EXPECT_EQ(nDiffering, 0) << scene.first;
        EXPECT_FALSE(classic.Painted().empty()) << scene.first;
    }
}

// The platform's flat-menu setting, turned off for one test and put back.
class FlatMenusOff {
public:
    FlatMenusOff() {
        ::SystemParametersInfoA(SPI_GETFLATMENU, 0, &m_bSaved, 0);
        ::SystemParametersInfoA(SPI_SETFLATMENU, 0, nullptr, 0);
    }
    ~FlatMenusOff() { ::SystemParametersInfoA(SPI_SETFLATMENU, 0, reinterpret_cast<PVOID>(INT_PTR(m_bSaved)), 0); }

private:
    BOOL m_bSaved = FALSE;
};

TEST(Theme3Styled, WithoutFlatMenusAHotPopupItemIsFramedInTheHighlightAndFilledWithMenuHighlight) {
    FakeVisualStyle style(kStyledClasses);
    FlatMenusOff flat;
    ThemePtr pTheme = MakeTheme(3, FALSE);
    auto* pTheme3 = static_cast<CKLVPaintManagerTheme3*>(pTheme.get());
    ASSERT_TRUE(pTheme3->IsThemed());
    EXPECT_FALSE(pTheme3->m_bFlatMenus);
    EXPECT_EQ(pTheme->GetThemeColor(COLOR_MENUHILIGHT), pTheme->GetThemeColor(COLOR_HIGHLIGHT));

    for (int i = 0; i < CKLVPaintManager::nColorCount; ++i) pTheme->SetCustomColor(i, Numbered(i));
    Dib dib(30, 30);
    pTheme->DrawRectangle(&dib.m_dc, CRect(2, 2, 26, 26), TRUE, FALSE, TRUE, FALSE, FALSE,
                          CKLVCommandBar::barTypePopup, CKLVCommandBar::barPopup);
    const Painted p = ReadFrame(dib, CRect(2, 2, 26, 26));
    EXPECT_EQ(p.left, Numbered(COLOR_HIGHLIGHT));
    EXPECT_EQ(p.bottom, Numbered(COLOR_HIGHLIGHT));
    EXPECT_EQ(p.inside, Numbered(COLOR_MENUHILIGHT));
    EXPECT_TRUE(FakeVisualStyle::Calls().empty());

    // Off the popup, the button is the tool-bar style's part 1 in the control's state.
    pTheme->DrawRectangle(&dib.m_dc, CRect(2, 2, 26, 26), TRUE, FALSE, TRUE, TRUE, FALSE,
                          CKLVCommandBar::barTypeNormal, CKLVCommandBar::barTop);
    ASSERT_EQ(FakeVisualStyle::Calls().size(), 1u);
    EXPECT_EQ(FakeVisualStyle::Calls()[0].nClass, 1);
    EXPECT_EQ(FakeVisualStyle::Calls()[0].nPart, 1);
    EXPECT_EQ(FakeVisualStyle::Calls()[0].nState, 6);
}

TEST(Theme3Styled, GrippersAndCaptionsMeasureByPosition) {
    FakeVisualStyle style(kStyledClasses);
    ThemePtr pTheme = MakeTheme(3);
    commandbars_test::CTestSite site;
    const struct {
        int nPosition;
        int nClass, nPart;   // what draws it; -1 nothing
        CSize sz;            // -1 for "at least 18 high, as wide as the bar"
    } cases[] = {
        {CKLVCommandBar::barTop, 2, 1, CSize(8, 0)},
        {CKLVCommandBar::barBottom, 2, 1, CSize(8, 0)},
        {CKLVCommandBar::barRight, 2, 2, CSize(0, 8)},
        {CKLVCommandBar::barFloating, 3, 2, CSize(-1, -1)},
        {CKLVCommandBar::barPopup, -1, 0, CSize(0, 0)},
    };
    for (const auto& c : cases) {
        commandbars_test::CTestBar<> bar(&site);
        bar.m_barPosition = c.nPosition;
        Dib dib(200, 40);
        FakeVisualStyle::Calls().clear();
        const CSize sz = pTheme->DrawCommandBarCaption(&dib.m_dc, &bar, TRUE);
        if (c.sz.cx == -1) {
            EXPECT_EQ(sz.cx, 200);
            EXPECT_GE(sz.cy, 18);
        } else {
            EXPECT_EQ(sz, c.sz) << c.nPosition;
        }
        if (c.nClass < 0) {
            EXPECT_TRUE(FakeVisualStyle::Calls().empty()) << c.nPosition;
            continue;
        }
        ASSERT_EQ(FakeVisualStyle::Calls().size(), 1u) << c.nPosition;
        EXPECT_EQ(FakeVisualStyle::Calls()[0].nClass, c.nClass) << c.nPosition;
        EXPECT_EQ(FakeVisualStyle::Calls()[0].nPart, c.nPart) << c.nPosition;
    }
}

TEST(Theme3Styled, SplitSpinAndComboPartsTakeTheirStates) {
    FakeVisualStyle style(kStyledClasses);
    ThemePtr pTheme = MakeTheme(3);
    CKLVCommandBar bar;
    bar.m_barPosition = CKLVCommandBar::barTop;
    CKLVControlPopup control;
    control.m_nType = CKLVControl::typeSplitButtonPopup;
    control.SetParent(&bar);
    const struct {
        int nSelected, nPressed, nEnabled;
        BOOL bChecked, bPopuped;
        int nButton, nDrop;
    } cases[] = {
        {0, 0, 1, FALSE, FALSE, 1, 1}, {1, 0, 1, FALSE, FALSE, 2, 2}, {1, 1, 1, FALSE, FALSE, 3, 3},
        {0, 0, 1, TRUE, FALSE, 5, 5},  {0, 0, 1, FALSE, TRUE, 2, 3},  {0, 0, 0, FALSE, FALSE, 4, 4},
        {1, 0, 3, FALSE, FALSE, 2, 4},
    };
    for (const auto& c : cases) {
        control.m_nSelected = c.nSelected;
        control.m_nPressed = c.nPressed;
        control.m_bEnabled = c.nEnabled;
        control.m_bChecked = c.bChecked;
        control.m_bPopuped = c.bPopuped;
        FakeVisualStyle::Calls().clear();
        Dib dib(60, 30);
        pTheme->DrawSplitButtonFrame(&dib.m_dc, &control, CRect(0, 0, 40, 22));
        ASSERT_EQ(FakeVisualStyle::Calls().size(), 2u);
        EXPECT_EQ(FakeVisualStyle::Calls()[0].nPart, 3);
        EXPECT_EQ(FakeVisualStyle::Calls()[0].rc, CRect(0, 0, 28, 22));
        EXPECT_EQ(FakeVisualStyle::Calls()[0].nState, c.nButton) << c.nSelected << c.nPressed << c.nEnabled;
        EXPECT_EQ(FakeVisualStyle::Calls()[1].nPart, 4);
        EXPECT_EQ(FakeVisualStyle::Calls()[1].nState, c.nDrop) << c.nSelected << c.nPressed << c.nEnabled;
    }
    control.SetParent(nullptr);

    auto* pTheme3 = static_cast<CKLVPaintManagerTheme3*>(pTheme.get());
    const struct {
        BOOL bEnabled, bSelected, bDropped;
        int nState;
    } combos[] = {{TRUE, FALSE, FALSE, 1}, {TRUE, TRUE, FALSE, 2}, {TRUE, TRUE, TRUE, 3}, {FALSE, TRUE, TRUE, 4}};
    for (const auto& c : combos) {
        FakeVisualStyle::Calls().clear();
        Dib dib(60, 30);
        pTheme3->DrawComboButton(&dib.m_dc, CRect(30, 2, 44, 20), c.bEnabled, c.bSelected, c.bDropped);
        ASSERT_EQ(FakeVisualStyle::Calls().size(), 1u);
        EXPECT_EQ(FakeVisualStyle::Calls()[0].nClass, 4);
        EXPECT_EQ(FakeVisualStyle::Calls()[0].nState, c.nState);
        EXPECT_EQ(FakeVisualStyle::Calls()[0].rc, CRect(28, 3, 43, 19));
    }
}

// A dock bar is any window with its position: the top one shows the rebar's background, the
// others the default theme's face.
TEST(Theme3Styled, OnlyTheTopDockBarShowsTheRebarBackground) {
    FakeVisualStyle style(kStyledClasses);
    ThemePtr pTheme = MakeTheme(3);
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr));
    const struct {
        int nPosition;
        BOOL bRebar;
    } cases[] = {
        {CKLVCommandBar::barTop, TRUE},
        {CKLVCommandBar::barBottom, FALSE},
        {CKLVCommandBar::barLeft, FALSE},
        {CKLVCommandBar::barRight, FALSE},
    };
    for (const auto& c : cases) {
        Dib dib(40, 20);
        FakeVisualStyle::Calls().clear();
        pTheme->FillDockBar(&dib.m_dc, &window, c.nPosition);
        if (!c.bRebar) {
            EXPECT_TRUE(FakeVisualStyle::Calls().empty()) << c.nPosition;
            EXPECT_EQ(dib.At(20, 10), Numbered(COLOR_BTNFACE)) << c.nPosition;
            continue;
        }
        ASSERT_EQ(FakeVisualStyle::Calls().size(), 1u) << c.nPosition;
        EXPECT_EQ(FakeVisualStyle::Calls()[0].nClass, 2);
        EXPECT_EQ(FakeVisualStyle::Calls()[0].nPart, 0);
        EXPECT_EQ(FakeVisualStyle::Calls()[0].rc, CRect(0, 0, 40, 20));
    }
    window.DestroyWindow();
}

}  // namespace
}  // namespace themes_test
