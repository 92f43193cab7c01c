// The paint manager's base measures through nothing but the faces: stand-in bars and controls
// that are no command bar or control get the measures a real bar would, and measuring leaves its
// results on the face without the placing a control reacts to. Galleries, their scroll bars and
// dock bars are drawn from stand-ins too: a gallery face on no real control, a scroll bar face
// with no tracking behind it, a plain window for a dock bar.
#include "PaintManagerTestSupport.h"
#include "support/FlatPaintManagerTheme.h"
#include "toolkit/commandbars/paint/ControlGalleryPaintManager.h"
#include "toolkit/commandbars/paint/GalleryFace.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/paint/CommandBarFace.h"
#include "toolkit/commandbars/paint/ControlFace.h"
#include "toolkit/commandbars/paint/ScrollBarFace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using commandbars_test::Dib;
using commandbars_test::kBack;

namespace {

class CStandInBar : public CKLVCommandBarFace {
public:
    CStandInBar(int nType, int nPosition) : m_nType(nType), m_nPosition(nPosition) {}
    int GetType() const override { return m_nType; }
    int GetPosition() const override { return m_nPosition; }
    CSize GetIconSize() const override { return m_szIcon; }
    CSize GetButtonSize() const override { return CSize(23, 22); }
    CSize GetLargeIconSize(BOOL) const override { return CSize(32, 32); }
    BOOL IsTextBelowIcons() const override { return FALSE; }
    BOOL IsDoubleGripper() const override { return m_bDoubleGripper; }
    BOOL IsKeyboardCuesVisible() const override { return TRUE; }
    const CString& GetTitle() const override { return m_strTitle; }
    CRect GetFaceClientRect() const override { return CRect(0, 0, 200, 100); }
    int GetControlCount() const override { return static_cast<int>(m_controls.size()); }
    CKLVControlFace* GetControlFace(int nIndex) const override { return m_controls[nIndex]; }

    int m_nType, m_nPosition;
    CSize m_szIcon = CSize(16, 16);
    BOOL m_bDoubleGripper = FALSE;
    CString m_strTitle;
    std::vector<CKLVControlFace*> m_controls;
};

class CStandInControl : public CKLVControlFace {
public:
    CStandInControl(int nType, CKLVCommandBarFace* pBar) : m_nType(nType), m_pBar(pBar) {}
    CKLVCommandBarFace* GetBarFace() const override { return m_pBar; }
    int GetType() const override { return m_nType; }
    int GetStyle() const override { return m_nStyle; }
    CRect GetRect() const override { return m_rc; }
    int GetSelected() const override { return 0; }
    int GetPressed() const override { return 0; }
    int GetEnabled() const override { return 1; }
    int GetChecked() const override { return 0; }
    BOOL GetPopuped() const override { return FALSE; }
    int GetWidth() const override { return m_nWidth; }
    int GetHeight() const override { return 0; }
    BOOL IsItemDefault() const override { return FALSE; }
    BOOL IsCaptionVisible() const override { return FALSE; }
    CString GetCaption() const override { return CString(); }
    CString GetShortcutText() const override { return CString(); }
    CKLVImageManagerIcon* GetImage(int) const override { return nullptr; }
    DWORD GetHideFlags() const override { return m_dwHideFlags; }
    BOOL IsHiddenCommand() const override { return m_bHiddenCommand; }
    void SetMeasuredRect(CRect rc) override {
        m_rc = rc;
        ++m_nMeasuredPlacings;
    }
    void OnEditHook() override { ++m_nEditHooks; }

    int m_nType;
    CKLVCommandBarFace* m_pBar;
    int m_nStyle = styleAutomatic;
    int m_nWidth = 0;
    CRect m_rc = CRect(10, 10, 60, 32);
    int m_nMeasuredPlacings = 0;
    int m_nEditHooks = 0;
    DWORD m_dwHideFlags = 0;
    BOOL m_bHiddenCommand = FALSE;
};

class CStandInScrollBar : public CKLVScrollBarFace {
public:
    BOOL IsScrollBarEnabled() const override { return m_bEnabled; }
    int GetScrollBarStyle() const override { return 2; }

    BOOL m_bEnabled = TRUE;
};

class CStandInGallery : public CKLVGalleryFace {
public:
    explicit CStandInGallery(CKLVControlFace* pControl) : m_pControl(pControl) {}
    CKLVControlFace* GetFaceControl() override { return m_pControl; }
    const CKLVScrollBarFace* GetFaceScrollBar() const override { return &m_scrollBar; }
    BOOL IsShowingBorders() const override { return m_bBorders; }
    BOOL IsFollowedByControl() const override { return m_bFollowed; }
    BOOL IsScrollButtonEnabled(int nPart) const override { return nPart != m_nDisabledPart; }

    CKLVControlFace* m_pControl;
    CStandInScrollBar m_scrollBar;
    BOOL m_bBorders = FALSE;
    BOOL m_bFollowed = FALSE;
    int m_nDisabledPart = CKLVScrollBarFace::partNone;
};

class PaintFaces : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        m_pPaintManager.reset(CKLVPaintManager::CreateThemeObject(0));
        m_pPaintManager->RefreshMetrics();
        m_dc.CreateCompatibleDC(nullptr);
    }
    struct Release {
        void operator()(CKLVPaintManager* p) const { p->InternalRelease(); }
    };
    std::unique_ptr<CKLVPaintManager, Release> m_pPaintManager;
    CDC m_dc;
};

TEST_F(PaintFaces, PopupGutterFollowsTheBarFaceKindAndColumns) {
    const struct {
        int nType;
        BOOL bDoubleGripper;
        CSize szIcon;
        int nColumns;  // icon columns of the gutter; 0: no gutter
    } rows[] = {
        {CKLVCommandBarFace::barTypePopup, FALSE, CSize(16, 16), 1},
        {CKLVCommandBarFace::barTypePopup, TRUE, CSize(16, 16), 2},
        {CKLVCommandBarFace::barTypePopup, FALSE, CSize(32, 32), 1},
        {CKLVCommandBarFace::barTypeNormal, TRUE, CSize(16, 16), 0},
        {CKLVCommandBarFace::barTypeMenuBar, FALSE, CSize(16, 16), 0},
    };
    for (const auto& row : rows) {
        CStandInBar bar(row.nType, CKLVCommandBarFace::barPopup);
        bar.m_bDoubleGripper = row.bDoubleGripper;
        bar.m_szIcon = row.szIcon;
        const int nCell = m_pPaintManager->GetIconAreaSize(&bar).cx;
        EXPECT_EQ(nCell, std::max<int>(m_pPaintManager->m_nTextHeight + 4, row.szIcon.cx + 4));
        EXPECT_EQ(m_pPaintManager->GetPopupBarGripperWidth(&bar), row.nColumns ? nCell * row.nColumns + 1 : 0)
            << row.nType << " " << row.bDoubleGripper;
    }
    EXPECT_EQ(m_pPaintManager->GetPopupBarGripperWidth(nullptr), 0);
}

TEST_F(PaintFaces, ToolBarExpandButtonIsPlacedByMeasuringAlongTheBar) {
    const struct {
        int nPosition;
        CRect rcExpected;
    } rows[] = {
        {CKLVCommandBarFace::barTop, CRect(187, 2, 198, 24)},
        {CKLVCommandBarFace::barBottom, CRect(187, 2, 198, 24)},
        {CKLVCommandBarFace::barLeft, CRect(2, 13, 198, 24)},
        {CKLVCommandBarFace::barRight, CRect(2, 13, 198, 24)},
    };
    for (const auto& row : rows) {
        CStandInBar bar(CKLVCommandBarFace::barTypeNormal, row.nPosition);
        CStandInControl control(CKLVControlFace::typeButton, &bar);
        CSize szBar(200, 26);
        EXPECT_EQ(m_pPaintManager->DrawSpecialControl(&m_dc, 0, &control, &bar, FALSE, &szBar), CSize(0, 0));
        EXPECT_EQ(control.m_rc, row.rcExpected) << row.nPosition;
        EXPECT_EQ(control.m_nMeasuredPlacings, 1);
    }
}

TEST_F(PaintFaces, ComboMeasuringLeavesItsButtonWidthAndTellsOnlyOfAChange) {
    CStandInBar bar(CKLVCommandBarFace::barTypeNormal, CKLVCommandBarFace::barTop);
    const struct {
        int nType;
        int nControlHeight;
        int nHooksAfterTwo;  // edit hooks after measuring twice
    } rows[] = {
        {CKLVControlFace::typeComboBox, 0, 1},
        {CKLVControlFace::typeComboBox, 28, 1},
        {CKLVControlFace::typeEdit, 0, 0},
    };
    for (const auto& row : rows) {
        m_pPaintManager->m_nControlHeight = row.nControlHeight;
        CStandInControl control(row.nType, &bar);
        control.m_nWidth = 120;
        const CSize sz = m_pPaintManager->DrawControl(&m_dc, &control, FALSE);
        m_pPaintManager->DrawControl(&m_dc, &control, FALSE);
        EXPECT_EQ(sz.cx, 120) << row.nType;
        EXPECT_EQ(control.m_nEditHooks, row.nHooksAfterTwo) << row.nType;
        if (row.nType == CKLVControlFace::typeComboBox)
            EXPECT_EQ(control.m_nThumbWidth, std::max(::MulDiv(sz.cy, 9, 14) + 1, 15)) << row.nControlHeight;
        else
            EXPECT_EQ(control.m_nThumbWidth, 0);
        EXPECT_EQ(control.m_nMeasuredPlacings, 0);
    }
}

TEST_F(PaintFaces, ExpandingAnimationSkipsHiddenControlsAndGrowsHiddenCommands) {
    // Three rows of ten pixels: shown, hidden by its flags, a hidden command. The hidden control
    // takes no room, so the hidden command's band lands right below the shown one.
    const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    Dib source(40, 30), dest(40, 30);
    CStandInBar bar(CKLVCommandBarFace::barTypePopup, CKLVCommandBarFace::barPopup);
    std::vector<std::unique_ptr<CStandInControl>> controls;
    for (int i = 0; i < 3; ++i) {
        source.m_dc.FillSolidRect(0, 10 * i, 40, 10, colours[i]);
        controls.push_back(std::make_unique<CStandInControl>(CKLVControlFace::typeButton, &bar));
        controls.back()->m_rc = CRect(0, 10 * i, 40, 10 * i + 10);
        bar.m_controls.push_back(controls.back().get());
    }
    controls[1]->m_dwHideFlags = 1;
    controls[2]->m_bHiddenCommand = TRUE;
    m_pPaintManager->m_nAnimationSteps = 2;
    m_pPaintManager->m_nAnimationTime = 0;
    m_pPaintManager->AnimateExpanding(&bar, &dest.m_dc, &source.m_dc, TRUE);
    EXPECT_EQ(dest.At(20, 5), colours[0]);
    EXPECT_EQ(dest.At(20, 15), colours[2]);
    EXPECT_EQ(dest.At(20, 25), kBack);
}

// Colours no two of which agree, so that each pixel tells which one painted it.
const COLORREF kGalleryFill = RGB(0, 90, 0), kGalleryLine = RGB(90, 0, 0), kGalleryBorder = RGB(0, 0, 90);
const COLORREF kColumnFill = RGB(1, 2, 3), kHotFace = RGB(200, 200, 10), kGlyph = RGB(10, 10, 10),
               kGreyGlyph = RGB(150, 150, 150);

int CountOf(const Dib& dib, CRect rc, COLORREF clr) {
    int nCount = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) nCount += dib.At(x, y) == clr;
    return nCount;
}

TEST_F(PaintFaces, GalleryIsFilledFromItsFacesAndLinedOnlyInAPopupBeforeAControl) {
    m_pPaintManager->SetCustomColor(41, kGalleryFill);
    m_pPaintManager->SetCustomColor(39, kGalleryLine);
    m_pPaintManager->SetCustomColor(52, kGalleryBorder);
    const int kNoBar = -1;
    const struct {
        int nBarType;
        BOOL bFollowed, bBorders;
        COLORREF clrLine, clrEdge;  // at the row two above the bottom, and on the left edge
    } rows[] = {
        {CKLVCommandBarFace::barTypePopup, TRUE, FALSE, kGalleryLine, kGalleryFill},
        {CKLVCommandBarFace::barTypePopup, FALSE, FALSE, kGalleryFill, kGalleryFill},
        {CKLVCommandBarFace::barTypeNormal, TRUE, FALSE, kGalleryFill, kGalleryFill},
        {kNoBar, TRUE, FALSE, kGalleryFill, kGalleryFill},
        {CKLVCommandBarFace::barTypePopup, TRUE, TRUE, kGalleryFill, kGalleryBorder},
    };
    for (const auto& row : rows) {
        CStandInBar bar(row.nBarType, CKLVCommandBarFace::barPopup);
        CStandInControl control(CKLVControlFace::typeGallery, row.nBarType == kNoBar ? nullptr : &bar);
        CStandInGallery gallery(&control);
        gallery.m_bFollowed = row.bFollowed;
        gallery.m_bBorders = row.bBorders;
        Dib dib(60, 40);
        m_pPaintManager->m_pGalleryPaintManager->FillControl(&dib.m_dc, &gallery, CRect(0, 0, 60, 40));
        const std::string what = std::to_string(row.nBarType) + " " + std::to_string(row.bFollowed) +
                                 std::to_string(row.bBorders);
        EXPECT_EQ(dib.At(30, 20), kGalleryFill) << what;
        EXPECT_EQ(dib.At(30, 38), row.clrLine) << what;
        EXPECT_EQ(dib.At(0, 20), row.clrEdge) << what;
    }
}

TEST_F(PaintFaces, ClassicGalleryScrollBarIsDrawnFromItsFaceAlone) {
    CKLVControlGalleryPaintManager* pPainter = m_pPaintManager->m_pGalleryPaintManager.get();
    pPainter->m_themeScrollBar.CloseThemeData();
    const COLORREF clrTrack = ::GetSysColor(COLOR_SCROLLBAR);
    const COLORREF clrInverted = RGB(255 - GetRValue(clrTrack), 255 - GetGValue(clrTrack), 255 - GetBValue(clrTrack));
    const struct {
        BOOL bVertical, bEnabled;
        int nPressed;
        BOOL bThumb;
        COLORREF clrPageBefore;
    } rows[] = {
        {TRUE, TRUE, CKLVScrollBarFace::partNone, TRUE, clrTrack},
        {TRUE, TRUE, CKLVScrollBarFace::partPageBefore, TRUE, clrInverted},
        {TRUE, FALSE, CKLVScrollBarFace::partNone, FALSE, clrTrack},
        {FALSE, TRUE, CKLVScrollBarFace::partNone, TRUE, clrTrack},
        {FALSE, TRUE, CKLVScrollBarFace::partPageBefore, TRUE, clrInverted},
    };
    for (const auto& row : rows) {
        // Arrows over 0-17 and 83-100 along the bar, the thumb over 40-60.
        CStandInScrollBar scrollBar;
        scrollBar.m_bVertical = row.bVertical;
        scrollBar.m_bEnabled = row.bEnabled;
        scrollBar.m_nPressedPart = row.nPressed;
        KLVScrollBarGeometry& g = scrollBar.m_geometry;
        g.rcBar = row.bVertical ? CRect(0, 0, 17, 100) : CRect(0, 0, 100, 17);
        g.pxFirstArrowEnd = 17;
        g.pxSecondArrowStart = 83;
        g.pxThumbStart = 40;
        g.pxThumbEnd = 60;
        Dib dib(100, 100);
        pPainter->DrawScrollBar(&dib.m_dc, &scrollBar);
        auto along = [&](int px, int pxAcross) { return row.bVertical ? CPoint(pxAcross, px) : CPoint(px, pxAcross); };
        const CPoint ptPage = along(30, 8);
        const std::string what = std::to_string(row.bVertical) + std::to_string(row.bEnabled) + " " +
                                 std::to_string(row.nPressed);
        EXPECT_EQ(dib.At(ptPage.x, ptPage.y), row.clrPageBefore) << what;
        const CRect rcThumb = row.bVertical ? CRect(0, 40, 17, 60) : CRect(40, 0, 60, 17);
        EXPECT_EQ(CountOf(dib, rcThumb, clrTrack) < rcThumb.Width() * rcThumb.Height(), row.bThumb) << what;
    }
}

TEST_F(PaintFaces, GalleryPopupColumnShowsItsHotButtonAndGreysButtonsThatCannotScroll) {
    m_pPaintManager->SetCustomColor(30, kColumnFill);
    m_pPaintManager->SetCustomColor(COLOR_BTNFACE, kHotFace);
    m_pPaintManager->SetCustomColor(COLOR_BTNTEXT, kGlyph);
    m_pPaintManager->SetCustomColor(COLOR_GRAYTEXT, kGreyGlyph);
    const CRect rcButtons[] = {CRect(0, 0, 16, 20), CRect(0, 20, 16, 40), CRect(0, 40, 16, 60)};
    const int parts[] = {CKLVScrollBarFace::partFirstArrow, CKLVScrollBarFace::partSecondArrow,
                         CKLVScrollBarFace::partBeyond};
    const struct {
        BOOL bOnBar;
        int nHot, nDisabled;
    } rows[] = {
        {TRUE, CKLVScrollBarFace::partNone, CKLVScrollBarFace::partNone},
        {TRUE, CKLVScrollBarFace::partFirstArrow, CKLVScrollBarFace::partSecondArrow},
        {FALSE, CKLVScrollBarFace::partBeyond, CKLVScrollBarFace::partFirstArrow},
        {FALSE, CKLVScrollBarFace::partSecondArrow, CKLVScrollBarFace::partBeyond},
    };
    for (const auto& row : rows) {
        CStandInBar bar(CKLVCommandBarFace::barTypePopup, CKLVCommandBarFace::barPopup);
        CStandInControl control(CKLVControlFace::typeGallery, row.bOnBar ? &bar : nullptr);
        CStandInGallery gallery(&control);
        gallery.m_nDisabledPart = row.nDisabled;
        CStandInScrollBar& scrollBar = gallery.m_scrollBar;
        scrollBar.m_nHotPart = row.nHot;
        scrollBar.m_geometry.rcBar = CRect(0, 0, 16, 60);
        scrollBar.m_geometry.pxFirstArrowEnd = 20;
        scrollBar.m_geometry.pxSecondArrowStart = 20;
        scrollBar.m_geometry.pxBarEnd = 40;
        Dib dib(16, 60);
        m_pPaintManager->m_pGalleryPaintManager->DrawPopupScrollBar(&dib.m_dc, &gallery);
        for (int i = 0; i < 3; ++i) {
            const CRect& rc = rcButtons[i];
            const std::string what = std::to_string(row.bOnBar) + " " + std::to_string(row.nHot) + " button " +
                                     std::to_string(i);
            EXPECT_EQ(dib.At(rc.left + 3, rc.top + 3), parts[i] == row.nHot ? kHotFace : kColumnFill) << what;
            const BOOL bEnabled = parts[i] != row.nDisabled;
            EXPECT_GT(CountOf(dib, rc, bEnabled ? kGlyph : kGreyGlyph), 0) << what;
            EXPECT_EQ(CountOf(dib, rc, bEnabled ? kGreyGlyph : kGlyph), 0) << what;
        }
    }
}

TEST_F(PaintFaces, DockBarFillCoversTheClientAreaOfAnyWindowAtEveryPosition) {
    m_pPaintManager->SetCustomColor(COLOR_BTNFACE, kHotFace);
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 30, 20, nullptr, nullptr));
    const int positions[] = {CKLVCommandBarFace::barTop, CKLVCommandBarFace::barBottom, CKLVCommandBarFace::barLeft,
                             CKLVCommandBarFace::barRight};
    for (int nPosition : positions) {
        Dib dib(40, 40);
        m_pPaintManager->FillDockBar(&dib.m_dc, &window, nPosition);
        EXPECT_EQ(CountOf(dib, CRect(0, 0, 30, 20), kHotFace), 30 * 20) << nPosition;
        EXPECT_EQ(dib.Painted().size(), 30u * 20u) << nPosition;
    }
    window.DestroyWindow();
}

}  // namespace
