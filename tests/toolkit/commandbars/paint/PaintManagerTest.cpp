// The paint manager base: the theme registry, the colour table, the fonts and the sizes derived
// from the text height.
#include "ToolkitTestSupport.h"
#include "support/FlatPaintManagerTheme.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/common/NonClientMetrics.h"
#include "toolkit/common/ColorManager.h"

#include <memory>

namespace {

class OtherTestTheme : public CKLVFlatTestTheme {
public:
    static CKLVPaintManager* Create() { return new OtherTestTheme; }
};

struct Release {
    void operator()(CKLVPaintManager* p) const { p->InternalRelease(); }
};
using PaintManagerPtr = std::unique_ptr<CKLVPaintManager, Release>;

// A refreshed flat theme under the classic system colours.
class PaintManager : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        GetColorManager()->m_pfnGetSysColor = toolkit_test::ClassicSysColor;
        m_pPaintManager.reset(CKLVPaintManager::CreateThemeObject(0));
        m_pPaintManager->RefreshMetrics();
    }
    void TearDown() override {
        GetColorManager()->m_pfnGetSysColor = nullptr;
        RefreshColors();
    }
    void UseFont(LONG nHeight, const char* pszFace = "Arial") {
        LOGFONTA lf = {};
        lf.lfHeight = nHeight;
        lf.lfWeight = FW_NORMAL;
        lstrcpyA(lf.lfFaceName, pszFace);
        m_pPaintManager->SetCommandBarsFontIndirect(&lf, FALSE);
    }
    static int SpaceHeight(CFont& font) {
        CClientDC dc(nullptr);
        HGDIOBJ hOld = dc.SelectObject(font.GetSafeHandle());
        const int cy = dc.GetTextExtent(" ", 1).cy;
        dc.SelectObject(hOld);
        return cy;
    }
    static LOGFONTA LogFontOf(const CFont& font) {
        LOGFONTA lf = {};
        font.GetLogFont(&lf);
        return lf;
    }

    PaintManagerPtr m_pPaintManager;
};

TEST(PaintManagerThemes, UnregisteredIdsGetThemeZeroButKeepTheirId) {
    CKLVFlatTestTheme::Register();
    CKLVPaintManager::RegisterTheme(3, &OtherTestTheme::Create);
    for (int nTheme : {9, 0, -1}) {
        CKLVPaintManager::SetTheme(nTheme);
        CKLVPaintManager* pCurrent = CKLVPaintManager::GetGlobalPaintManager();
        ASSERT_NE(pCurrent, nullptr);
        EXPECT_EQ(pCurrent->m_nTheme, nTheme);
        EXPECT_EQ(dynamic_cast<OtherTestTheme*>(pCurrent), nullptr) << nTheme;
        EXPECT_GT(pCurrent->m_nTextHeight, 6) << "SetTheme refreshes the new theme";
    }
    CKLVPaintManager::SetTheme(3);
    EXPECT_NE(dynamic_cast<OtherTestTheme*>(CKLVPaintManager::GetGlobalPaintManager()), nullptr);
    CKLVPaintManager::RegisterTheme(3, nullptr);
}

TEST(PaintManagerThemes, WithNoThemeRegisteredTheCurrentOneStays) {
    CKLVFlatTestTheme::Register();
    CKLVPaintManager::SetTheme(0);
    CKLVPaintManager* pCurrent = CKLVPaintManager::GetGlobalPaintManager();
    pCurrent->InternalAddRef();
    CKLVPaintManager::RegisterTheme(0, nullptr);

    EXPECT_EQ(CKLVPaintManager::CreateThemeObject(5), nullptr);
    CKLVPaintManager::SetTheme(5);
    EXPECT_EQ(CKLVPaintManager::GetGlobalPaintManager(), pCurrent);
    EXPECT_EQ(pCurrent->GetRefCount(), 2) << "the current paint manager was released for nothing";

    pCurrent->InternalRelease();
    CKLVFlatTestTheme::Register();
}

TEST_F(PaintManager, ColorsResolveCustomOverStandardAndPassLiteralsThrough) {
    CKLVPaintManager& pm = *m_pPaintManager;
    for (int i = 0; i < CKLVPaintManager::nColorCount; ++i)
        ASSERT_EQ(pm.GetThemeColor(i), GetColorManager()->GetColor(i)) << i;
    EXPECT_EQ(pm.GetThemeColor(63), COLORREF(63));
    EXPECT_EQ(pm.GetThemeColor(RGB(1, 2, 3) + 0x100), COLORREF(RGB(1, 2, 3) + 0x100));

    pm.SetCustomColor(COLOR_BTNFACE, RGB(1, 2, 3));
    EXPECT_EQ(pm.GetThemeColor(COLOR_BTNFACE), RGB(1, 2, 3));
    const int indexes[] = {COLOR_BTNFACE, COLOR_BTNTEXT};
    const COLORREF colors[] = {RGB(9, 9, 9), RGB(7, 7, 7)};
    pm.SetStandardColors(2, indexes, colors);
    EXPECT_EQ(pm.GetThemeColor(COLOR_BTNFACE), RGB(1, 2, 3)) << "the custom part wins";
    EXPECT_EQ(pm.GetThemeColor(COLOR_BTNTEXT), RGB(7, 7, 7));
}

TEST_F(PaintManager, RefreshSetsTheDerivedColoursAndColorManagerTheme) {
    CKLVPaintManager& pm = *m_pPaintManager;
    pm.m_clrShadow = RGB(5, 5, 5);
    pm.RefreshMetrics();
    EXPECT_EQ(pm.m_clrShadow, COLORREF(0));
    EXPECT_EQ(pm.m_clrStatusText, toolkit_test::ClassicSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(COLORREF(pm.m_clrFloatingCaption), toolkit_test::ClassicSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(COLORREF(pm.m_clrFloatingCaptionText), toolkit_test::ClassicSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(COLORREF(pm.m_clrFaceShadowGradient.m_clrTo), toolkit_test::ClassicSysColor(COLOR_BTNSHADOW));

    CKLVColorManager* pColors = GetColorManager();
    pColors->m_bLunaColorsDisabled = TRUE;
    EXPECT_EQ(pm.GetColorManagerTheme(), 0);
    pColors->m_bLunaColorsDisabled = FALSE;
    EXPECT_EQ(pm.GetColorManagerTheme(), pColors->GetCurrentTheme());
    pm.m_nColorTheme = 4;
    EXPECT_EQ(pm.GetColorManagerTheme(), pColors->GetSystemTheme());
    pm.m_nColorTheme = 2;
    EXPECT_EQ(pm.GetColorManagerTheme(), 2);
}

TEST(PaintManagerFonts, MenuFontHeightsBelowElevenGrow) {
    const struct { LONG nMenu, nExpected; } cases[] = {{-8, -11}, {-1, -11}, {-11, -11}, {-14, -14}, {0, 0}, {12, 12}};
    for (const auto& c : cases) {
        LOGFONTA lfMenu = {};
        lfMenu.lfHeight = c.nMenu;
        lfMenu.lfWeight = 600;
        lfMenu.lfItalic = lfMenu.lfUnderline = 1;
        lfMenu.lfCharSet = 204;
        lstrcpyA(lfMenu.lfFaceName, "Arial");
        const LOGFONTA lf = CKLVPaintManager::StandardLogFont(lfMenu);
        EXPECT_EQ(lf.lfHeight, c.nExpected) << c.nMenu;
        EXPECT_EQ(lf.lfWeight + lf.lfItalic + lf.lfCharSet, 600 + 1 + 204);
        EXPECT_EQ(lf.lfUnderline, 0) << "only weight, italic, charset and face are taken";
        EXPECT_STREQ(lf.lfFaceName, "Arial");
    }
}

TEST_F(PaintManager, TextHeightIsTheMeasuredSpacePlusSix) {
    for (LONG nHeight : {-11, -24, -40}) {
        UseFont(nHeight);
        EXPECT_EQ(m_pPaintManager->m_nTextHeight, SpaceHeight(m_pPaintManager->m_fontRegular) + 6) << nHeight;
    }
    EXPECT_GT(m_pPaintManager->GetTextHeight(), 22);
    UseFont(-6);
    EXPECT_EQ(m_pPaintManager->GetTextHeight(), 22);
}

TEST_F(PaintManager, FontVariantsAndTheirBars) {
    UseFont(-13);
    CKLVPaintManager& pm = *m_pPaintManager;
    EXPECT_EQ(LogFontOf(pm.m_fontRegular).lfWeight, FW_NORMAL);
    EXPECT_EQ(LogFontOf(pm.m_fontRegularBold).lfWeight, FW_BOLD);
    const LOGFONTA lfVert = LogFontOf(pm.m_fontVert);
    EXPECT_EQ(lfVert.lfEscapement, 2700);
    EXPECT_EQ(lfVert.lfOrientation, 900);
    EXPECT_EQ(lfVert.lfWeight, FW_NORMAL);
    EXPECT_EQ(LogFontOf(pm.m_fontVertBold).lfWeight, FW_BOLD);
    EXPECT_FALSE(pm.m_bUseStandardFont);

    CKLVCommandBar bar;
    const struct { int nPosition; CFont* pRegular; CFont* pBold; } cases[] = {
        {CKLVCommandBar::barTop, &pm.m_fontRegular, &pm.m_fontRegularBold},
        {CKLVCommandBar::barLeft, &pm.m_fontVert, &pm.m_fontVertBold},
        {CKLVCommandBar::barRight, &pm.m_fontVert, &pm.m_fontVertBold},
        {CKLVCommandBar::barPopup, &pm.m_fontRegular, &pm.m_fontRegularBold},
    };
    for (const auto& c : cases) {
        bar.m_barPosition = c.nPosition;
        EXPECT_EQ(pm.GetCommandBarFont(&bar, FALSE), c.pRegular) << c.nPosition;
        EXPECT_EQ(pm.GetCommandBarFont(&bar, TRUE), c.pBold) << c.nPosition;
    }
}

TEST_F(PaintManager, ApplicationFontsSurviveARefreshUnlessTheyHaveNoHandle) {
    CKLVPaintManager& pm = *m_pPaintManager;
    LOGFONTA lf = {};
    lf.lfHeight = -31;
    lstrcpyA(lf.lfFaceName, "Arial");
    pm.m_fontToolTip.DeleteObject();
    pm.m_fontToolTip.CreateFontIndirect(&lf);
    pm.m_fontToolTip.SetStandardFont(FALSE);
    pm.m_fontIcon.DeleteObject();
    pm.m_fontIcon.SetStandardFont(FALSE);
    pm.m_fontSmCaption.DeleteObject();
    pm.m_fontSmCaption.CreateFontIndirect(&lf);

    pm.RefreshFonts();
    EXPECT_EQ(LogFontOf(pm.m_fontToolTip).lfHeight, -31);
    EXPECT_NE(pm.m_fontIcon.GetSafeHandle(), nullptr);
    EXPECT_NE(LogFontOf(pm.m_fontSmCaption).lfHeight, -31) << "a standard font follows the system";
    EXPECT_EQ(LogFontOf(pm.m_fontIconBold).lfWeight, FW_BOLD);
}

TEST_F(PaintManager, StandardFontFollowsTheMenuFont) {
    CKLVPaintManager& pm = *m_pPaintManager;
    UseFont(-30);
    pm.m_bUseStandardFont = TRUE;
    pm.RefreshFonts();
    const CKLVNonClientMetrics ncm;
    EXPECT_EQ(LogFontOf(pm.m_fontRegular).lfHeight, CKLVPaintManager::StandardLogFont(ncm.lfMenuFont).lfHeight);
    EXPECT_TRUE(pm.m_bUseStandardFont);
}

TEST_F(PaintManager, AutoIconSizeFollowsTheTextHeight) {
    CKLVPaintManager& pm = *m_pPaintManager;
    pm.m_nTextHeight = 40;
    EXPECT_EQ(pm.GetAutoIconSize(FALSE), CSize(16, 16)) << "without automatic sizing";
    EXPECT_EQ(pm.GetAutoIconSize(TRUE), CSize(32, 32));
    pm.m_bAutoResizeIcons = TRUE;
    const struct { int nTextHeight; int nSmall, nLarge; } cases[] = {{19, 16, 32}, {40, 32, 72}, {0, 16, 32}};
    for (const auto& c : cases) {
        pm.m_nTextHeight = c.nTextHeight;
        EXPECT_EQ(pm.GetAutoIconSize(FALSE), CSize(c.nSmall, c.nSmall)) << c.nTextHeight;
        EXPECT_EQ(pm.GetAutoIconSize(TRUE), CSize(c.nLarge, c.nLarge)) << c.nTextHeight;
    }
}

TEST_F(PaintManager, SplitDropDownWidth) {
    CKLVPaintManager& pm = *m_pPaintManager;
    const struct { int nTextHeight, nControlHeight, nExpected; } cases[] = {
        {19, 0, 27}, {19, 24, 21}, {30, 0, 49}, {30, 24, 43}};
    for (const auto& c : cases) {
        pm.m_nTextHeight = c.nTextHeight;
        pm.m_nControlHeight = c.nControlHeight;
        EXPECT_EQ(pm.GetSplitDropDownWidth(), c.nExpected) << c.nTextHeight << "/" << c.nControlHeight;
    }
}

TEST_F(PaintManager, FlatnessAndVerticalPositionsByBar) {
    CKLVPaintManager& pm = *m_pPaintManager;
    pm.m_bFlatMenuBar = TRUE;
    CKLVCommandBar bar;
    EXPECT_FALSE(pm.IsFlatToolBar(&bar));
    bar.m_barType = CKLVCommandBar::barTypeMenuBar;
    EXPECT_TRUE(pm.IsFlatToolBar(&bar));

    for (int nPosition = 0; nPosition <= 7; ++nPosition) {
        EXPECT_EQ(CKLVPaintManager::IsVerticalDockPosition(nPosition), nPosition == 2 || nPosition == 3);
        EXPECT_EQ(CKLVPaintManager::IsVerticalPosition(nPosition), nPosition == 2 || nPosition == 3 || nPosition == 5);
    }
}

}  // namespace
