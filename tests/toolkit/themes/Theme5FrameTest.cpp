// Theme 5's themed frame with the tests' skin: caption button glyphs and faces, the window region,
// the border columns and bottom, the caption band, the two-run title and the frame's icons.
#include "ThemeSkin.h"
#include "ThemeTestSupport.h"
#include "classlib/FrameWnd.h"
#include "toolkit/themes/FrameIntegration.h"
#include "toolkit/themes/PaintManagerTheme5.h"
#include "toolkit/common/WindowSubclasser.h"

namespace themes_test {
namespace {

using Theme5Ptr = std::unique_ptr<CKLVPaintManagerTheme5, Release>;

// A hidden frame with the theme and a frame integration that draws with it.
class Theme5Frame : public ::testing::Test {
protected:
    void SetUp() override {
        m_pTheme = MakeThemeOf<CKLVPaintManagerTheme5>(5);
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150)));
        m_pIntegration = std::make_unique<CKLVFrameIntegration>(m_pFrame, nullptr);
        m_pIntegration->m_pPaintManager = m_pTheme.get();
    }
    void TearDown() override {
        m_pIntegration.reset();
        m_pFrame->DestroyWindow();
    }

    ThemeSkin m_skin;
    Theme5Ptr m_pTheme;
    CFrameWnd* m_pFrame = nullptr;   // deletes itself with its window
    std::unique_ptr<CKLVFrameIntegration> m_pIntegration;
};

TEST(Theme5FrameGlyphs, ImageNamesComeFromTheCommandAndTheButtonWidth) {
    const struct {
        UINT nId;
        int nWidth;
        LPCTSTR lpszImage;
    } cases[] = {
        {SC_CLOSE, 14, "FRAMECAPTIONCLOSE13"},       {SC_CLOSE, 15, "FRAMECAPTIONCLOSE17"},
        {SC_CLOSE, 26, "FRAMECAPTIONCLOSE17"},       {SC_CLOSE, 27, "FRAMECAPTIONCLOSE23"},
        {SC_MINIMIZE, 20, "FRAMECAPTIONMINIMIZE17"}, {SC_MAXIMIZE, 20, "FRAMECAPTIONMAXIMIZE17"},
        {SC_RESTORE, 20, "FRAMECAPTIONRESTORE17"},   {0x1234, 100, "FRAMECAPTIONRESTORE23"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(CKLVPaintManagerTheme5::FrameCaptionGlyphImage(c.nId, c.nWidth), c.lpszImage) << c.nWidth;
}

TEST(Theme5FrameGlyphs, ButtonsDrawTheGlyphOfTheirWidthAndStateOverTheirFace) {
    ThemeSkin skin;
    Theme5Ptr pTheme = MakeThemeOf<CKLVPaintManagerTheme5>(5);
    const int kNoFace = -1;
    const struct {
        int nWidth, nGlyph, nGlyphWidth;
        BOOL bSelected, bPressed, bActive;
        int nState, nFace;
    } cases[] = {
        {14, imgCaptionClose13, 13, FALSE, FALSE, TRUE, 0, kNoFace}, {15, imgCaptionClose17, 17, TRUE, FALSE, TRUE, 1, 0},
        {26, imgCaptionClose17, 17, FALSE, TRUE, TRUE, 1, 0},       {27, imgCaptionClose23, 23, TRUE, TRUE, TRUE, 2, 1},
        {40, imgCaptionClose23, 23, TRUE, TRUE, FALSE, 3, 1},
    };
    for (const auto& c : cases) {
        Dib dib(50, 50);
        const CRect rc(0, 0, c.nWidth, 30);
        pTheme->DrawFrameCaptionButton(&dib.m_dc, rc, SC_CLOSE, c.bSelected, c.bPressed, c.bActive);
        const CPoint centre(c.nWidth / 2, 15);
        EXPECT_EQ(dib.At(centre.x, centre.y), ThemeSkin::PartColor(c.nGlyph, c.nState)) << c.nWidth;
        // The glyph is unscaled: its rim lies half its width from the centre (it may stick out).
        const int nGlyphTop = (30 - c.nGlyphWidth) / 2;
        EXPECT_EQ(dib.At(centre.x, nGlyphTop), ThemeSkin::kRim) << c.nWidth;
        EXPECT_NE(dib.At(centre.x, nGlyphTop + 1), ThemeSkin::kRim) << c.nWidth;
        const COLORREF clrFace = c.nFace == kNoFace ? kBack : ThemeSkin::PartColor(imgFrameCaptionButton, c.nFace);
        EXPECT_EQ(dib.At(c.nWidth / 2, 1), clrFace) << c.nWidth;
    }
}

TEST_F(Theme5Frame, TheRegionCutsTheCornersAndRoundsTheBottomOnlyForAStatusBarInTheFrame) {
    // A status bar that belongs to the frame.
    HWND hStatus = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 100, 200, 20, m_pFrame->m_hWnd,
                                     reinterpret_cast<HMENU>(CKLVFrameIntegration::idStatusBar), nullptr, nullptr);
    ASSERT_NE(hStatus, nullptr);
    class CAnswer : public CKLVHookSink {
    public:
        int OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT& lResult) override {
            if (nMessage != CKLVFrameIntegration::msgStatusBarInFrame) return hookContinue;
            lResult = 1;
            return hookHandled;
        }
    } answer;
    KLVWindowSubclasser()->HookWindow(hStatus, &answer);
    const int w = 200, h = 150;
    const struct {
        BOOL bStatusBarFrame;
        int nBorder;
        BOOL bRound;
    } cases[] = {{TRUE, 4, TRUE}, {TRUE, 3, FALSE}, {FALSE, 6, FALSE}};
    for (const auto& c : cases) {
        m_pTheme->m_bStatusBarFrame = c.bStatusBarFrame;
        m_pIntegration->m_nFrameBorder = c.nBorder;
        HRGN hRgn = m_pTheme->CalcFrameRegion(m_pIntegration.get(), w, h);
        ASSERT_NE(hRgn, nullptr);
        const struct {
            int x, y;
            BOOL bIn;
        } top[] = {{3, 0, FALSE}, {4, 0, TRUE}, {1, 1, FALSE}, {2, 1, TRUE}, {0, 3, FALSE},
                   {1, 3, TRUE},  {0, 4, TRUE}, {w - 5, 0, TRUE}, {w - 4, 0, FALSE}, {w - 1, 4, TRUE}};
        for (const auto& p : top) EXPECT_EQ(::PtInRegion(hRgn, p.x, p.y) != 0, p.bIn) << p.x << "," << p.y;
        const struct {
            int x, y;
        } corners[] = {{0, h - 4}, {1, h - 2}, {3, h - 1}, {w - 1, h - 3}, {w - 4, h - 1}};
        for (const auto& p : corners) EXPECT_EQ(::PtInRegion(hRgn, p.x, p.y) != 0, !c.bRound) << p.x << "," << p.y;
        EXPECT_TRUE(::PtInRegion(hRgn, 4, h - 1));
        ::DeleteObject(hRgn);
    }
    m_pFrame->ModifyStyle(0, WS_MAXIMIZE);
    EXPECT_EQ(m_pTheme->CalcFrameRegion(m_pIntegration.get(), w, h), nullptr);
    KLVWindowSubclasser()->UnhookWindow(hStatus, &answer);
}

TEST_F(Theme5Frame, BorderColumnsTakeColoursByDepthAndTheBottomLineByState) {
    for (int i = 0; i < 4; ++i) {
        m_pTheme->m_clrBorderActive[i] = RGB(10 + i, 0, 0);
        m_pTheme->m_clrBorderInactive[i] = RGB(0, 10 + i, 0);
    }
    const struct {
        int nBorder;
        BOOL bActive;
        std::vector<int> columns;   // colour number of each border column, outside in
    } cases[] = {{2, TRUE, {0, 1}}, {6, TRUE, {0, 1, 2, 3, 3, 3}}, {6, FALSE, {0, 1, 2, 3, 3, 3}}};
    const int w = 200, h = 150;
    for (const auto& c : cases) {
        m_pIntegration->m_nFrameBorder = c.nBorder;
        m_pIntegration->m_bActive = c.bActive;
        const COLORREF* clr = c.bActive ? m_pTheme->m_clrBorderActive : m_pTheme->m_clrBorderInactive;
        Dib dib(w, h);
        m_pTheme->DrawFrame(&dib.m_dc, m_pIntegration.get());
        const int y = h / 2;
        for (int x = 0; x < static_cast<int>(c.columns.size()); ++x) {
            EXPECT_EQ(dib.At(x, y), clr[c.columns[x]]) << c.nBorder << " column " << x;
            EXPECT_EQ(dib.At(w - 1 - x, y), clr[c.columns[x]]) << c.nBorder << " column " << x;
        }
        EXPECT_EQ(dib.At(c.nBorder, y), kBack) << c.nBorder;
        EXPECT_EQ(dib.At(w - 1 - c.nBorder, y), kBack) << c.nBorder;
        EXPECT_EQ(dib.At(w / 2, h - 1), c.bActive ? clr[0] : m_pTheme->m_clrBorderInactive[0]) << c.nBorder;
        EXPECT_EQ(dib.At(w / 2, h - 2), clr[3]) << c.nBorder;
        EXPECT_EQ(dib.At(w / 2, h - c.nBorder - 1), kBack) << c.nBorder;
        // The standard caption: the centre image in the part of the frame's state.
        EXPECT_EQ(dib.At(w / 2, 10), ThemeSkin::PartColor(imgFrameTopCenter, c.bActive ? 0 : 1)) << c.nBorder;
    }
    // Maximised and active, the bottom line takes colour 3.
    m_pIntegration->m_bActive = TRUE;
    m_pFrame->ModifyStyle(0, WS_MAXIMIZE);
    Dib dib(w, h);
    m_pTheme->DrawFrame(&dib.m_dc, m_pIntegration.get());
    EXPECT_EQ(dib.At(w / 2, h - 1), m_pTheme->m_clrBorderActive[3]);
}

// A bar that takes the caption over while it is shown at the top.
class CCaptionOwnerBar : public CKLVCommandBar, public CKLVFrameCaptionOwner {
public:
    CCaptionOwnerBar() { m_barPosition = barTop; }
    BOOL IsCaptionOwnerVisible() const override { return m_bShown; }
    int GetCaptionBandHeight() const override { return 44; }
    BOOL m_bShown = TRUE;
};

TEST_F(Theme5Frame, ACaptionTheBarDrawsLeavesOnlyTheOuterStripsOfTheCaptionImages) {
    CCaptionOwnerBar bar;
    CKLVFrameIntegration integration(m_pFrame, nullptr, &bar);
    integration.m_pPaintManager = m_pTheme.get();
    integration.m_nFrameBorder = 4;
    integration.m_bActive = TRUE;
    ASSERT_FALSE(integration.IsCaptionStandard());
    ASSERT_EQ(integration.GetCaptionHeight(), 44);
    Dib dib(200, 150);
    m_pTheme->DrawFrame(&dib.m_dc, &integration);
    EXPECT_EQ(dib.At(2, 20), ThemeSkin::PartColor(imgFrameTopLeft, 0));
    EXPECT_EQ(dib.At(197, 20), ThemeSkin::PartColor(imgFrameTopRight, 0));
    EXPECT_EQ(dib.At(4, 20), kBack);
    EXPECT_EQ(dib.At(100, 20), kBack);
    EXPECT_EQ(dib.At(1, 43), ThemeSkin::kRim);   // the strip's bottom edge ends the band
    EXPECT_EQ(dib.At(1, 44), m_pTheme->m_clrBorderActive[1]);
}

TEST_F(Theme5Frame, APrefixedTitleIsDrawnAsTwoRunsTwoPixelsApart) {
    m_pTheme->m_clrCaptionTextActive = RGB(255, 0, 0);
    m_pTheme->m_clrCaptionTextActiveTitle = RGB(0, 0, 255);
    m_pFrame->SetTitle("Kelvane");
    const struct {
        DWORD dwPrefix;
        LPCTSTR lpszText;
        BOOL bTwoRuns;
    } cases[] = {{FWS_PREFIXTITLE, "Doc1 - Kelvane", TRUE},
                 {0, "Doc1 - Kelvane", FALSE},
                 {FWS_PREFIXTITLE, "Kelvane - Doc1", FALSE}};
    for (const auto& c : cases) {
        m_pFrame->ModifyStyle(FWS_PREFIXTITLE, c.dwPrefix);
        m_pFrame->SetWindowText(c.lpszText);
        Dib dib(300, 30);
        dib.m_dc.FillSolidRect(0, 0, 300, 30, RGB(255, 255, 255));
        const CRect rc(10, 0, 290, 30);
        m_pTheme->DrawFrameCaptionText(&dib.m_dc, rc, m_pFrame, TRUE, m_pIntegration.get());
        int nLastRed = -1, nFirstBlue = -1;
        for (int x = 0; x < 300; ++x)
            for (int y = 0; y < 30; ++y) {
                const COLORREF clr = dib.At(x, y);
                if (GetRValue(clr) < 128 && GetGValue(clr) < 128 && GetBValue(clr) > 200 && nFirstBlue < 0) nFirstBlue = x;
                if (GetBValue(clr) < 128 && GetGValue(clr) < 128 && GetRValue(clr) > 200) nLastRed = x;
            }
        ASSERT_GE(nLastRed, 0) << c.lpszText;
        if (!c.bTwoRuns) {
            EXPECT_EQ(nFirstBlue, -1) << c.lpszText;
            continue;
        }
        CFont* pOld = dib.m_dc.SelectObject(&m_pTheme->m_fontCaption);
        const int nStart = rc.left + dib.m_dc.GetTextExtent("Doc1 - ").cx + 2;
        dib.m_dc.SelectObject(pOld);
        EXPECT_LT(nLastRed, nStart);
        EXPECT_GE(nFirstBlue, nStart);
        EXPECT_LE(nFirstBlue, nStart + 2);   // a glyph's own bearing at most
    }
}

TEST_F(Theme5Frame, IconsComeFromTheWindowElseItsClassAndNeverForToolWindows) {
    HICON hSmall = ::LoadIcon(nullptr, IDI_INFORMATION), hBig = ::LoadIcon(nullptr, IDI_WARNING);
    EXPECT_NE(CKLVPaintManagerTheme5::GetFrameSmallIcon(m_pFrame), nullptr);   // at worst the system's
    m_pFrame->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
    m_pFrame->SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hBig));
    EXPECT_EQ(CKLVPaintManagerTheme5::GetFrameSmallIcon(m_pFrame), hSmall);
    EXPECT_EQ(CKLVPaintManagerTheme5::GetFrameLargeIcon(m_pFrame), hBig);
    m_pFrame->ModifyStyleEx(0, WS_EX_TOOLWINDOW);
    EXPECT_EQ(CKLVPaintManagerTheme5::GetFrameSmallIcon(m_pFrame), nullptr);
    m_pFrame->ModifyStyleEx(WS_EX_TOOLWINDOW, 0);
    m_pFrame->ModifyStyle(WS_SYSMENU, 0);
    EXPECT_EQ(CKLVPaintManagerTheme5::GetFrameSmallIcon(m_pFrame), nullptr);
    EXPECT_EQ(CKLVPaintManagerTheme5::GetFrameLargeIcon(m_pFrame), nullptr);
}

}  // namespace
}  // namespace themes_test
