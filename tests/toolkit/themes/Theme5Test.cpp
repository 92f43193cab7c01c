// The resource-image theme with the tests' skin: the colour table key by key, a table that lacks
// keys, caption heights, menu-bar text, the status bar, the workspace and the gallery painter.
#include "ThemeSkin.h"
#include "ThemeTestSupport.h"
#include "classlib/FrameWnd.h"
#include "toolkit/commandbars/controls/ControlGallery.h"
#include "toolkit/commandbars/controls/ScrollHelper.h"
#include "toolkit/statusbar/StatusBar.h"
#include "toolkit/themes/ControlGalleryResourcePaintManager.h"
#include "toolkit/themes/PaintManagerTheme5.h"

#include <functional>
#include <set>

namespace themes_test {
namespace {

using Theme5Ptr = std::unique_ptr<CKLVPaintManagerTheme5, Release>;

Theme5Ptr MakeTheme5() { return MakeThemeOf<CKLVPaintManagerTheme5>(5); }

using Field = std::function<COLORREF(CKLVPaintManagerTheme5&)>;

Field Number(int n) {
    return [n](CKLVPaintManagerTheme5& t) { return t.GetThemeColor(n); };
}

struct KeyCase {
    LPCTSTR lpszSection, lpszKey;
    Field field;
};

const std::vector<KeyCase>& ColorTable() {
    using T = CKLVPaintManagerTheme5;
    static const std::vector<KeyCase> cases = {
        {"StatusBar", "StatusBarText", [](T& t) { return t.m_clrStatusText; }},
        {"StatusBar", "StatusBarShadow", [](T& t) { return t.m_clrStatusBarShadow; }},
        {"StatusBar", "StatusBarFaceTopDark", [](T& t) { return COLORREF(t.m_grcStatusBarTop.m_clrFrom); }},
        {"StatusBar", "StatusBarFaceTopLight", [](T& t) { return COLORREF(t.m_grcStatusBarTop.m_clrTo); }},
        {"StatusBar", "StatusBarFaceBottomDark", [](T& t) { return COLORREF(t.m_grcStatusBarBottom.m_clrFrom); }},
        {"StatusBar", "StatusBarFaceBottomLight", [](T& t) { return COLORREF(t.m_grcStatusBarBottom.m_clrTo); }},
        {"Toolbar", "DockBarFace", [](T& t) { return COLORREF(t.m_grcDockBar.m_clrTo); }},
        {"Toolbar", "ToolbarFaceDark", [](T& t) { return COLORREF(t.m_grcBarBody.m_clrFrom); }},
        {"Toolbar", "ToolbarFaceLight", [](T& t) { return COLORREF(t.m_grcBarBody.m_clrTo); }},
        {"Toolbar", "ToolbarFaceShadow", [](T& t) { return COLORREF(t.m_clrBarBorder); }},
        {"Toolbar", "ToolbarFaceShadow", Number(52)},
        {"Toolbar", "ControlToolbarExpandDark", [](T& t) { return COLORREF(t.m_grcExpandButton.m_clrFrom); }},
        {"Toolbar", "ControlToolbarExpandLight", [](T& t) { return COLORREF(t.m_grcExpandButton.m_clrTo); }},
        {"Toolbar", "ControlHighlightPopupedDark", [](T& t) { return COLORREF(t.m_grcPopuped.m_clrFrom); }},
        {"Toolbar", "ControlHighlightPopupedLight", [](T& t) { return COLORREF(t.m_grcPopuped.m_clrTo); }},
        {"Toolbar", "ControlHighlightPopupedDark", [](T& t) { return COLORREF(t.m_grcExtra.m_clrFrom); }},
        {"Toolbar", "ControlHighlightPopupedLight", [](T& t) { return COLORREF(t.m_grcExtra.m_clrTo); }},
        {"Toolbar", "MenuPopupExpandedGripperDark", [](T& t) { return COLORREF(t.m_grcExpandedGutter.m_clrFrom); }},
        {"Toolbar", "MenuPopupExpandedGripperLight", [](T& t) { return COLORREF(t.m_grcExpandedGutter.m_clrTo); }},
        {"Toolbar", "MenuPopupTearOffGripper", [](T& t) { return COLORREF(t.m_clrTearOff); }},
        {"Toolbar", "MenuBarText", [](T& t) { return t.m_clrMenuBarText; }},
        {"Toolbar", "MenuPopupBorder", Number(43)},
        {"Toolbar", "ToolbarGripper", Number(38)},
        {"Window", "WindowFrame", Number(54)},
        {"Toolbar", "FloatingBarGripper", [](T& t) { return COLORREF(t.m_clrFloatingCaption); }},
        {"Toolbar", "FloatingBarGripperText", [](T& t) { return COLORREF(t.m_clrFloatingCaptionText); }},
        {"Toolbar", "FloatingBarBorder", Number(61)},
        {"Workspace", "AppWorkspace", Number(12)},
        {"Window", "ButtonFace", Number(51)},
        {"Toolbar", "ToolbarFace", Number(30)},
        {"Toolbar", "ToolbarSeparator", Number(39)},
        {"Toolbar", "ControlDisabledIcon", Number(40)},
        {"Workspace", "WorkspaceClientTop", [](T& t) { return t.m_clrWorkspaceTop; }},
        {"Workspace", "WorkspaceClientMiddle", [](T& t) { return t.m_clrWorkspaceMiddle; }},
        {"Workspace", "WorkspaceClientBottom", [](T& t) { return t.m_clrWorkspaceBottom; }},
        {"Window", "HighlightSelected", Number(31)},
        {"Window", "HighlightSelectedBorder", Number(32)},
        {"Window", "HighlightPressed", Number(33)},
        {"Window", "HighlightPressedBorder", Number(50)},
        {"Window", "HighlightChecked", Number(36)},
        {"Window", "HighlightCheckedBorder", Number(37)},
        {"Window", "HighlightSelectedDark", [](T& t) { return COLORREF(t.m_grcHot.m_clrFrom); }},
        {"Window", "HighlightSelectedLight", [](T& t) { return COLORREF(t.m_grcHot.m_clrTo); }},
        {"Window", "HighlightCheckedDark", [](T& t) { return COLORREF(t.m_grcChecked.m_clrFrom); }},
        {"Window", "HighlightCheckedLight", [](T& t) { return COLORREF(t.m_grcChecked.m_clrTo); }},
        {"Window", "HighlightPressedDark", [](T& t) { return COLORREF(t.m_grcPressed.m_clrFrom); }},
        {"Window", "HighlightPressedLight", [](T& t) { return COLORREF(t.m_grcPressed.m_clrTo); }},
        {"Window", "BorderActive0", [](T& t) { return t.m_clrBorderActive[0]; }},
        {"Window", "BorderActive3", [](T& t) { return t.m_clrBorderActive[3]; }},
        {"Window", "BorderInactive1", [](T& t) { return t.m_clrBorderInactive[1]; }},
        {"Window", "BorderInactive2", [](T& t) { return t.m_clrBorderInactive[2]; }},
        {"Window", "CaptionTextActiveTitle", [](T& t) { return t.m_clrCaptionTextActiveTitle; }},
        {"Window", "CaptionTextInActive", [](T& t) { return t.m_clrCaptionTextInactive; }},
        {"Window", "CaptionTextActive", [](T& t) { return t.m_clrCaptionTextActive; }},
        {"Toolbar", "ControlLabel", Number(56)},
        {"Toolbar", "ControlEditBorder", Number(53)},
        {"Toolbar", "ControlDisabledIconDark", [](T& t) { return COLORREF(t.m_grcDisabledIcon.m_clrFrom); }},
        {"Toolbar", "ControlDisabledIconLight", [](T& t) { return COLORREF(t.m_grcDisabledIcon.m_clrTo); }},
    };
    return cases;
}

TEST(Theme5, EveryKeyOfTheColourTableLandsInItsField) {
    ThemeSkin skin;
    ASSERT_TRUE(skin.m_bLoaded);
    Theme5Ptr pTheme = MakeTheme5();
    ASSERT_EQ(pTheme->GetThemeId(), 5);
    for (const KeyCase& c : ColorTable()) {
        const COLORREF clr = ThemeSkin::Key(c.lpszSection, c.lpszKey);
        ASSERT_NE(clr, COLORREF(-1)) << c.lpszKey;
        EXPECT_EQ(c.field(*pTheme), clr) << c.lpszSection << "/" << c.lpszKey;
    }
    // The fixed values between the keys.
    const struct {
        int nIndex;
        COLORREF clr;
    } fixed[] = {{41, 0xF6F6F6}, {44, 0}, {45, 0}, {46, 0}, {35, 0x8D8D8D}, {58, 0x8D8D8D}, {60, 0x8D8D8D}, {47, 0}};
    for (const auto& f : fixed) EXPECT_EQ(pTheme->GetThemeColor(f.nIndex), f.clr) << f.nIndex;
    EXPECT_TRUE(pTheme->m_bSchemeColors);
    EXPECT_EQ(pTheme->m_grcBarBody.m_fGradientFactor, 0.75f);
    EXPECT_EQ(pTheme->m_grcHot.m_fGradientFactor, 0.5f);

    auto* pGallery = dynamic_cast<CKLVControlGalleryResourcePaintManager*>(pTheme->m_pGalleryPaintManager.get());
    ASSERT_NE(pGallery, nullptr);
    EXPECT_EQ(pGallery->m_clrSelectedFace, ThemeSkin::Key("Toolbar", "ControlGallerySelected"));
    EXPECT_EQ(pGallery->m_clrNormalFace, ThemeSkin::Key("Toolbar", "ControlGalleryNormal"));
    EXPECT_EQ(pGallery->m_clrBorder, ThemeSkin::Key("Toolbar", "ControlGalleryBorder"));
}

TEST(Theme5, KeysTheSkinLacksKeepTheValuesTheRefreshBeforeThemSet) {
    Theme5Ptr pPlain = MakeTheme5();   // no skin at all: every key is missing
    ThemeSkin skin("PARTIAL_INI");
    ASSERT_TRUE(skin.m_bLoaded);
    Theme5Ptr pTheme = MakeTheme5();
    const std::set<std::string> missing = {"MenuBarText", "ToolbarFace", "ToolbarFaceLight", "StatusBarShadow"};
    for (const KeyCase& c : ColorTable()) {
        const COLORREF clr = c.field(*pTheme);
        EXPECT_NE(clr, COLORREF(-1)) << c.lpszKey;
        const COLORREF clrExpected =
            missing.count(c.lpszKey) ? c.field(*pPlain) : ThemeSkin::Key(c.lpszSection, c.lpszKey);
        EXPECT_EQ(clr, clrExpected) << c.lpszKey;
    }
    // The present half of a gradient is still read.
    EXPECT_EQ(COLORREF(pTheme->m_grcBarBody.m_clrFrom), ThemeSkin::Key("Toolbar", "ToolbarFaceDark"));
}

TEST(Theme5, CaptionHeightsHaveTheirFloors) {
    const struct {
        int nSystem, nCaption, nRibbon;
    } cases[] = {{0, 17, 18}, {12, 17, 18}, {16, 17, 18}, {17, 17, 18}, {18, 18, 19}, {30, 30, 31}};
    for (const auto& c : cases) {
        const KLVCaptionHeights h = KLVCaptionHeightsFor(c.nSystem);
        EXPECT_EQ(h.nCaption, c.nCaption) << c.nSystem;
        EXPECT_EQ(h.nRibbonCaption, c.nRibbon) << c.nSystem;
    }
}

TEST(Theme5, OnlyIdleEnabledMenuBarItemsTakeTheMenuBarTextColour) {
    ThemeSkin skin;
    Theme5Ptr pTheme = MakeTheme5();
    const COLORREF clrMenuBar = ThemeSkin::Key("Toolbar", "MenuBarText");
    const struct {
        int nSelected, nPressed, nEnabled, nChecked, bPopuped, nBarType;
        BOOL bMenuBarText;
    } cases[] = {
        {0, 0, 1, 0, 0, CKLVCommandBar::barTypeMenuBar, TRUE},  {1, 0, 1, 0, 0, CKLVCommandBar::barTypeMenuBar, FALSE},
        {0, 1, 1, 0, 0, CKLVCommandBar::barTypeMenuBar, FALSE}, {0, 0, 0, 0, 0, CKLVCommandBar::barTypeMenuBar, FALSE},
        {0, 0, 1, 1, 0, CKLVCommandBar::barTypeMenuBar, FALSE}, {0, 0, 1, 0, 1, CKLVCommandBar::barTypeMenuBar, FALSE},
        {0, 0, 1, 0, 0, CKLVCommandBar::barTypeNormal, FALSE},
    };
    for (const auto& c : cases) {
        const COLORREF clr = pTheme->GetRectangleTextColor(c.nSelected, c.nPressed, c.nEnabled, c.nChecked, c.bPopuped,
                                                           c.nBarType, CKLVCommandBar::barTop);
        EXPECT_EQ(clr == clrMenuBar, c.bMenuBarText) << c.nSelected << c.nPressed << c.nEnabled << c.nChecked;
    }
}

class Theme5StatusBar : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
        ASSERT_TRUE(m_bar.Create(m_pFrame));
        m_bar.MoveWindow(0, 0, 200, 22, FALSE);
    }
    void TearDown() override {
        if (m_bar.m_hWnd) m_bar.DestroyWindow();
        m_pFrame->DestroyWindow();
    }
    CFrameWnd* m_pFrame = nullptr;   // deletes itself with its window
    CKLVStatusBar m_bar;
};

TEST_F(Theme5StatusBar, BandsPaneEdgesAndSizeGripDots) {
    ThemeSkin skin;
    ThemePtr pBase = MakeTheme(5);
    auto* pTheme = static_cast<CKLVPaintManagerTheme5*>(pBase.get());
    pTheme->m_grcStatusBarTop.SetStandardSolid(RGB(10, 20, 30));
    pTheme->m_grcStatusBarBottom.SetStandardSolid(RGB(40, 50, 60));
    CRect rc;
    m_bar.GetClientRect(&rc);
    ASSERT_GE(rc.Height(), 12);
    Dib dib(rc.Width(), rc.Height());
    pTheme->FillStatusBar(&dib.m_dc, &m_bar);
    EXPECT_EQ(dib.At(50, 0), ThemeSkin::Key("StatusBar", "StatusBarShadow"));
    EXPECT_EQ(dib.At(50, 1), RGB(10, 20, 30));
    EXPECT_EQ(dib.At(50, 8), RGB(10, 20, 30));
    EXPECT_EQ(dib.At(50, 9), RGB(40, 50, 60));
    EXPECT_EQ(dib.At(50, rc.Height() - 1), RGB(40, 50, 60));

    Dib pane(60, 30);
    pTheme->DrawStatusBarPaneBorder(&pane.m_dc, CRect(10, 2, 40, 22), FALSE);
    EXPECT_EQ(pane.At(39, 2), Numbered(39));
    EXPECT_EQ(pane.At(40, 19), RGB(255, 255, 255));
    EXPECT_EQ(pane.At(39, 20), kBack);   // two pixels short of the bottom
    EXPECT_EQ(pane.At(38, 10), kBack);
    Dib gripperPane(60, 30);
    pTheme->DrawStatusBarPaneBorder(&gripperPane.m_dc, CRect(10, 2, 40, 22), TRUE);
    EXPECT_TRUE(gripperPane.Painted().empty());

    Dib grip(30, 30);
    pTheme->DrawStatusBarGripper(&grip.m_dc, CRect(0, 0, 30, 30));
    // Dots at x 27, 23, 19 on the lowest row, 27 and 23 above, 27 on top.
    const struct {
        int x, y;
        BOOL bDot;
    } dots[] = {{27, 27, TRUE}, {23, 27, TRUE}, {19, 27, TRUE}, {27, 23, TRUE}, {23, 23, TRUE},
                {19, 23, FALSE}, {27, 19, TRUE}, {23, 19, FALSE}, {27, 15, FALSE}};
    for (const auto& d : dots) {
        EXPECT_EQ(grip.At(d.x, d.y) == Numbered(39), d.bDot) << d.x << "," << d.y;
        if (d.bDot) {
            EXPECT_EQ(grip.At(d.x + 2, d.y + 2), RGB(255, 255, 255)) << d.x << "," << d.y;
        }
    }
}

TEST(Theme5, TheWorkspaceIsTheTopImageStretchedByItsLastColumnAboveTwoGradients) {
    ThemeSkin skin;
    Theme5Ptr pTheme = MakeTheme5();
    pTheme->m_clrWorkspaceTop = RGB(0, 0, 0);
    pTheme->m_clrWorkspaceMiddle = RGB(0, 0, 240);
    pTheme->m_clrWorkspaceBottom = RGB(240, 0, 240);
    Dib dib(120, 102);
    pTheme->FillWorkspace(&dib.m_dc, CRect(0, 0, 120, 102));
    EXPECT_EQ(dib.At(5, 5), ThemeSkin::PartColor(imgWorkspace, 0));
    EXPECT_EQ(dib.At(0, 5), ThemeSkin::kRim);
    EXPECT_EQ(dib.At(100, 5), ThemeSkin::kRim);   // the last column stretched across
    EXPECT_EQ(dib.At(100, 12), RGB(0, 0, 0));     // the first gradient starts below the image
    EXPECT_LE(GetBValue(dib.At(100, 71)), 240);
    EXPECT_GE(GetBValue(dib.At(100, 71)), 220);   // the middle colour two thirds down
    EXPECT_GE(GetRValue(dib.At(100, 101)), 200);  // the bottom colour at the bottom
    // Nothing outside the rectangle.
    Dib clipped(120, 102);
    pTheme->FillWorkspace(&clipped.m_dc, CRect(10, 10, 60, 60));
    EXPECT_EQ(clipped.At(70, 20), kBack);
    EXPECT_EQ(clipped.At(20, 70), kBack);
}

TEST(GalleryResourcePainter, ScrollButtonPartsAndGlyphCellsByState) {
    using P = CKLVControlGalleryResourcePaintManager;
    const int up = CKLVScrollHelper::partFirstArrow, down = CKLVScrollHelper::partSecondArrow;
    const int popup = CKLVScrollHelper::partBeyond, none = CKLVScrollHelper::partNone;
    const struct {
        int nButton;
        BOOL bEnabled, bCanScroll;
        int nHot, nPressed, nPart;
    } cases[] = {
        {up, TRUE, TRUE, none, none, 0},  {up, TRUE, TRUE, up, none, 2},     {up, TRUE, TRUE, up, up, 3},
        {up, TRUE, TRUE, down, none, 1},  {up, TRUE, TRUE, none, popup, 1},  {up, TRUE, FALSE, up, up, 4},
        {up, FALSE, TRUE, up, none, 4},   {down, TRUE, TRUE, none, down, 3}, {popup, TRUE, FALSE, popup, none, 2},
        {popup, FALSE, TRUE, none, none, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(P::ScrollButtonPart(c.nButton, c.bEnabled, c.bCanScroll, c.nHot, c.nPressed), c.nPart)
            << c.nButton << " " << c.nHot << " " << c.nPressed;
    const struct {
        int nDirection;
        BOOL bActive, bEnabled;
        int nCell;
    } glyphs[] = {{0, FALSE, TRUE, 1}, {1, FALSE, TRUE, 5}, {2, FALSE, TRUE, 9}, {3, FALSE, TRUE, 13},
                  {0, TRUE, TRUE, 2},  {3, TRUE, TRUE, 14}, {1, FALSE, FALSE, 8}, {2, TRUE, FALSE, 12}};
    for (const auto& g : glyphs) EXPECT_EQ(P::ArrowGlyphCell(g.nDirection, g.bActive, g.bEnabled), g.nCell);
}

TEST(GalleryResourcePainter, TheDropDownColumnIsHitAndDrawnWithTheSameButtonHeights) {
    ThemeSkin skin;
    CKLVPaintManager::SetTheme(5);
    CKLVControlGalleryPaintManager* pPainter = CKLVPaintManager::GetGlobalPaintManager()->m_pGalleryPaintManager.get();
    CKLVCommandBar dropDown;
    CKLVControlGallery gallery;
    gallery.m_pCommandBar = &dropDown;
    gallery.m_rcControl = CRect(0, 0, 100, 60);
    SCROLLINFO si = {};
    gallery.CalcScrollBarInfo(gallery.GetScrollBarRect(), &gallery.m_geometry, si);
    EXPECT_EQ(gallery.m_geometry.rcBar, CRect(85, 0, 100, 60));
    EXPECT_EQ(gallery.m_geometry.pxFirstArrowEnd, 21);
    EXPECT_EQ(gallery.m_geometry.pxBarEnd, 40);
    Dib dib(100, 60);
    pPainter->DrawPopupScrollBar(&dib.m_dc, &gallery);
    // Nothing to scroll: up and down are disabled (part 4), the popup button idle (part 0).
    const struct {
        int y;
        COLORREF clr;
    } rows[] = {{2, ThemeSkin::PartColor(imgGalleryUp, 4)},    {19, ThemeSkin::PartColor(imgGalleryUp, 4)},
                {20, ThemeSkin::kRim},                          {22, ThemeSkin::PartColor(imgGalleryDown, 4)},
                {38, ThemeSkin::PartColor(imgGalleryDown, 4)}, {41, ThemeSkin::PartColor(imgGalleryPopup, 0)},
                {58, ThemeSkin::PartColor(imgGalleryPopup, 0)}};
    for (const auto& r : rows) EXPECT_EQ(dib.At(92, r.y), r.clr) << r.y;
    EXPECT_EQ(dib.At(80, 30), kBack);   // the column is 15 pixels wide
    gallery.m_pCommandBar = nullptr;
    CKLVPaintManager::SetTheme(0);
}

// A vertical scroll bar of style 5 or 6 with a thumb, hot and pressed parts as told.
class CTestScrollBar : public CKLVScrollHelper {
public:
    CTestScrollBar(CKLVControlGalleryPaintManager* pPainter, int nStyle) : m_pPainter(pPainter) {
        m_nScrollBarStyle = nStyle;
        m_geometry.rcBar = CRect(0, 0, 17, 100);
        m_geometry.pxFirstArrowEnd = 17;
        m_geometry.pxSecondArrowStart = 83;
        m_geometry.pxThumbStart = 40;
        m_geometry.pxThumbEnd = 60;
    }
    CKLVControlGalleryPaintManager* GetScrollBarPaintManager() const override { return m_pPainter; }
    CRect GetScrollBarRect() override { return m_geometry.rcBar; }
    void GetScrollInfo(SCROLLINFO*) override {}
    void DoScroll(int, int) override {}
    void RedrawScrollBar() override {}
    CWnd* GetParentWindow() const override { return nullptr; }
    BOOL IsScrollBarEnabled() const override { return m_bEnabled; }

    CKLVControlGalleryPaintManager* m_pPainter;
    BOOL m_bEnabled = TRUE;
};

TEST(GalleryResourcePainter, LightAndDarkScrollBarsDrawTrackArrowsAndThumbByState) {
    ThemeSkin skin;
    Theme5Ptr pTheme = MakeTheme5();
    CKLVControlGalleryPaintManager* pPainter = pTheme->m_pGalleryPaintManager.get();
    const int none = CKLVScrollHelper::partNone;
    const struct {
        int nStyle, nHot, nPressed;
        COLORREF clrTrack, clrFirstArrow, clrPageBefore, clrThumb;
    } cases[] = {
        {5, none, none, ThemeSkin::PartColor(imgTrackVertLight, 0), ThemeSkin::PartColor(imgTrackVertLight, 0),
         ThemeSkin::PartColor(imgTrackVertLight, 0), ThemeSkin::PartColor(imgThumbVert, 0)},
        {6, none, none, ThemeSkin::PartColor(imgTrackVertDark, 0), ThemeSkin::PartColor(imgTrackVertDark, 0),
         ThemeSkin::PartColor(imgTrackVertDark, 0), ThemeSkin::PartColor(imgThumbVert, 0)},
        {5, CKLVScrollHelper::partFirstArrow, none, ThemeSkin::PartColor(imgTrackVertLight, 0),
         ThemeSkin::PartColor(imgArrowsVertLight, 2), ThemeSkin::PartColor(imgTrackVertLight, 0),
         ThemeSkin::PartColor(imgThumbVert, 0)},
        {5, CKLVScrollHelper::partThumb, CKLVScrollHelper::partFirstArrow, ThemeSkin::PartColor(imgTrackVertLight, 0),
         ThemeSkin::PartColor(imgArrowsVertLight, 3), ThemeSkin::PartColor(imgTrackVertLight, 0),
         ThemeSkin::PartColor(imgThumbVert, 1)},
        {5, none, CKLVScrollHelper::partPageBefore, ThemeSkin::PartColor(imgTrackVertLight, 0),
         ThemeSkin::PartColor(imgArrowsVertLight, 1), ThemeSkin::PartColor(imgTrackVertLight, 1),
         ThemeSkin::PartColor(imgThumbVert, 0)},
        {5, none, CKLVScrollHelper::partThumb, ThemeSkin::PartColor(imgTrackVertLight, 0),
         ThemeSkin::PartColor(imgArrowsVertLight, 1), ThemeSkin::PartColor(imgTrackVertLight, 0),
         ThemeSkin::PartColor(imgThumbVert, 2)},
    };
    for (const auto& c : cases) {
        CTestScrollBar bar(pPainter, c.nStyle);
        bar.m_nHotPart = c.nHot;
        bar.m_nPressedPart = c.nPressed;
        Dib dib(17, 100);
        pPainter->DrawScrollBar(&dib.m_dc, &bar);
        const std::string what = std::to_string(c.nStyle) + " " + std::to_string(c.nHot) + " " + std::to_string(c.nPressed);
        EXPECT_EQ(dib.At(8, 70), c.clrTrack) << what;
        EXPECT_EQ(dib.At(3, 8), c.clrFirstArrow) << what;   // beside the 9-pixel glyph
        EXPECT_EQ(dib.At(8, 30), c.clrPageBefore) << what;
        EXPECT_EQ(dib.At(2, 45), c.clrThumb) << what;
        const int nThumbState = c.nPressed == CKLVScrollHelper::partThumb ? 2 : c.nHot == CKLVScrollHelper::partThumb;
        EXPECT_EQ(dib.At(8, 50), ThemeSkin::PartColor(imgThumbVert + 2, nThumbState)) << what;   // the gripper
        EXPECT_EQ(dib.At(8, 8), ThemeSkin::PartColor(imgGlyphs, c.nHot == none && c.nPressed == none ? 0 : 1)) << what;
    }
    // Other styles are the default painter's.
    CTestScrollBar classic(pPainter, 3);
    Dib dib(17, 100);
    pPainter->DrawScrollBar(&dib.m_dc, &classic);
    EXPECT_NE(dib.At(8, 70), ThemeSkin::PartColor(imgTrackVertLight, 0));
}

}  // namespace
}  // namespace themes_test
