// Popup shadows: solid strips without layered windows when the theme asks for them, the corner
// ramps of a narrow popup, the strip of a submenu joined to its parent's, the alpha ramps and
// their blending over what lies beneath, on the screen as well, a strip that is not kept, and
// strips that follow their owner's hiding and destruction.
#include "PopupBarTestSupport.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/commandbars/popups/PopupShadows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace commandbars_test;

namespace {

// The test theme with the shadow options and the show switch as the test sets them.
class CShadowTheme : public CKLVFlatTestTheme {
public:
    CShadowTheme(int nOptions, BOOL bShow) {
        m_nShadowOptions = nOptions;
        m_bShowShadow = bShow;
    }
};

// Layered strips off for the test (as on a system without them), restored afterwards.
class PopupShadows : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        m_bSavedAlpha = KLVPopupShadows()->m_bAlphaShadow;
        KLVPopupShadows()->m_bAlphaShadow = FALSE;
    }
    void TearDown() override { KLVPopupShadows()->m_bAlphaShadow = m_bSavedAlpha; }
    // A hidden popup window at the rectangle with a theme of its own.
    CTestBar<CKLVPopupBar>* MakeOwner(CRect rc, int nOptions, BOOL bShow = TRUE) {
        auto* pBar = new CTestBar<CKLVPopupBar>(&m_site, CKLVCommandBar::barTypePopup);
        pBar->SetPaintManager(new CShadowTheme(nOptions, bShow));
        pBar->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        m_owners.emplace_back(pBar);
        return pBar;
    }
    static std::vector<CKLVShadowWnd*> StripsOf(CKLVCommandBar* pOwner) {
        std::vector<CKLVShadowWnd*> strips;
        for (CKLVShadowWnd* pStrip : KLVPopupShadows()->GetShadows())
            if (pStrip->m_pOwner == pOwner) strips.push_back(pStrip);
        return strips;
    }
    static CRect WindowRect(CWnd* pWnd) {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }

    struct ReleaseBar {
        void operator()(CKLVCommandBar* p) const { p->InternalRelease(); }
    };
    CTestSite m_site;
    std::vector<std::unique_ptr<CKLVCommandBar, ReleaseBar>> m_owners;
    BOOL m_bSavedAlpha = FALSE;
};

TEST_F(PopupShadows, SolidStripsNeedBitZeroWithoutLayeredWindows) {
    CKLVCommandBar* pPlain = MakeOwner(CRect(100, 100, 200, 180), 0);
    KLVPopupShadows()->SetShadow(pPlain, CRect());
    EXPECT_TRUE(StripsOf(pPlain).empty());

    CKLVCommandBar* pForced = MakeOwner(CRect(100, 100, 200, 180), CKLVPopupShadows::optionAlways);
    KLVPopupShadows()->SetShadow(pForced, CRect());
    const std::vector<CKLVShadowWnd*> strips = StripsOf(pForced);
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_TRUE(strips[0]->m_bHorizontal);
    EXPECT_EQ(WindowRect(strips[0]), CRect(102, 180, 202, 182));
    EXPECT_EQ(WindowRect(strips[1]), CRect(200, 102, 202, 180));
    for (CKLVShadowWnd* pStrip : strips) {
        EXPECT_TRUE(pStrip->IsWindowVisible());
        EXPECT_FALSE(pStrip->GetExStyle() & WS_EX_LAYERED);
        EXPECT_TRUE(pStrip->GetExStyle() & WS_EX_TOPMOST);
        EXPECT_EQ(pStrip->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(150, 181)), HTTRANSPARENT);
    }
    KLVPopupShadows()->RemoveShadows(pForced);
    EXPECT_TRUE(StripsOf(pForced).empty());
}

TEST_F(PopupShadows, AStripThatIsNotShownIsNeverKept) {
    CKLVCommandBar* pOwner = MakeOwner(CRect(100, 100, 200, 180), CKLVPopupShadows::optionAlways, FALSE);
    const size_t nBefore = KLVPopupShadows()->GetShadows().size();
    KLVPopupShadows()->SetShadow(pOwner, CRect());
    EXPECT_EQ(KLVPopupShadows()->GetShadows().size(), nBefore);
}

TEST_F(PopupShadows, ASubmenuStripOnePixelInsideItsParentsIsExtended) {
    CKLVCommandBar* pParent = MakeOwner(CRect(100, 100, 200, 300), CKLVPopupShadows::optionAlways);
    KLVPopupShadows()->SetShadow(pParent, CRect());
    // The parent's right strip is (200, 102)-(202, 300); the submenu's bottom strip starts at 201.
    CKLVCommandBar* pSub = MakeOwner(CRect(199, 150, 260, 200), CKLVPopupShadows::optionAlways);
    KLVPopupShadows()->SetShadow(pSub, CRect());
    const std::vector<CKLVShadowWnd*> strips = StripsOf(pSub);
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_EQ(WindowRect(strips[0]).left, 201 - 2 * 2 - 1);
    KLVPopupShadows()->RemoveShadows(pSub);
    KLVPopupShadows()->RemoveShadows(pParent);
}

TEST_F(PopupShadows, StripsFollowTheirOwnersHidingAndDestruction) {
    CKLVCommandBar* pOwner = MakeOwner(CRect(100, 100, 200, 180), CKLVPopupShadows::optionAlways);
    KLVPopupShadows()->SetShadow(pOwner, CRect());
    std::vector<CKLVShadowWnd*> strips = StripsOf(pOwner);
    ASSERT_EQ(strips.size(), 2u);
    std::vector<HWND> windows = {strips[0]->GetSafeHwnd(), strips[1]->GetSafeHwnd()};
    pOwner->ShowWindow(SW_HIDE);
    for (HWND hStrip : windows) EXPECT_FALSE(::IsWindowVisible(hStrip));
    pOwner->ShowWindow(SW_SHOWNA);
    for (HWND hStrip : windows) EXPECT_TRUE(::IsWindowVisible(hStrip));
    ::DestroyWindow(pOwner->GetSafeHwnd());   // the window goes without the bar asking first
    for (HWND hStrip : windows) EXPECT_FALSE(::IsWindow(hStrip));
    EXPECT_TRUE(StripsOf(pOwner).empty());
}

TEST_F(PopupShadows, AControlsStripsNeedBothOptionBitsAndBelongToItsDropDown) {
    for (int nOptions : {int(CKLVPopupShadows::optionAlways), CKLVPopupShadows::optionAlways | CKLVPopupShadows::optionExclude}) {
        CKLVCommandBar* pBar = MakeOwner(CRect(100, 100, 300, 140), nOptions);
        auto* pControl = static_cast<CKLVControlPopup*>(pBar->GetControls()->Append(new CKLVControlPopup));
        pControl->m_rcControl = CRect(10, 10, 50, 30);
        auto* pDropDown = new CTestBar<CKLVPopupBar>(&m_site, CKLVCommandBar::barTypePopup);
        pControl->SetCommandBar(pDropDown);
        pDropDown->InternalRelease();
        KLVPopupShadows()->SetControlShadow(pControl);
        const std::vector<CKLVShadowWnd*> strips = StripsOf(pDropDown);
        if (nOptions == CKLVPopupShadows::optionAlways) {
            EXPECT_TRUE(strips.empty());
            continue;
        }
        ASSERT_EQ(strips.size(), 2u);
        EXPECT_EQ(WindowRect(strips[0]), CRect(112, 130, 152, 132));
        EXPECT_EQ(WindowRect(strips[1]), CRect(150, 112, 152, 130));
        KLVPopupShadows()->RemoveShadows(pDropDown);
    }
}

TEST_F(PopupShadows, AnOpenedDropDownCastsItsShadowOnItsControlUnlessTheControlDeclines) {
    for (BOOL bControlShadow : {TRUE, FALSE}) {
        auto* pBar = new CTestBar<CKLVCommandBar>(&m_site, CKLVCommandBar::barTypeNormal);
        m_owners.emplace_back(pBar);
        pBar->SetPaintManager(new CShadowTheme(CKLVPopupShadows::optionAlways | CKLVPopupShadows::optionExclude, TRUE));
        pBar->SetWindowPos(nullptr, 100, 100, 200, 40, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        auto* pControl = static_cast<CKLVControlPopup*>(pBar->GetControls()->Append(new CKLVControlPopup));
        pControl->m_nType = CKLVControl::typeButtonPopup;
        pControl->m_rcControl = CRect(10, 10, 50, 30);
        pControl->m_bShowShadow = bControlShadow;
        auto* pDropDown = new CTestBar<CKLVPopupBar>(&m_site, CKLVCommandBar::barTypePopup);
        pDropDown->SetPaintManager(new CShadowTheme(CKLVPopupShadows::optionAlways | CKLVPopupShadows::optionExclude, TRUE));
        pControl->SetCommandBar(pDropDown);
        pDropDown->InternalRelease();
        ASSERT_TRUE(pControl->OnSetPopup(TRUE)) << bControlShadow;
        std::vector<CRect> rects;
        for (CKLVShadowWnd* pStrip : StripsOf(pDropDown)) rects.push_back(WindowRect(pStrip));
        const BOOL bOnControl = std::find(rects.begin(), rects.end(), CRect(112, 130, 152, 132)) != rects.end();
        EXPECT_EQ(bOnControl, bControlShadow);
        pControl->OnSetPopup(FALSE);
        KLVPopupShadows()->RemoveShadows(pDropDown);
        KLVMouseHook()->CloseAllTrackedPopups();
    }
}

TEST_F(PopupShadows, AlphaRampsOfBothStrips) {
    const COLORREF clr = RGB(200, 100, 40);
    auto alpha = [](DWORD px) { return static_cast<int>(px >> 24); };
    auto red = [](DWORD px) { return static_cast<int>((px >> 16) & 0xFF); };
    struct Case {
        int nFlags, a;
    };
    for (const Case& c : {Case{0, 6}, Case{CKLVPopupShadows::optionAlways, 3}}) {
        const int b = 5 * c.a;
        std::vector<DWORD> h(20 * 4);
        CKLVShadowWnd::FillAlphaPicture(h.data(), CSize(20, 4), TRUE, c.nFlags, clr);
        // Row 0 is the bottom line; row 3 lies against the popup.
        EXPECT_EQ(alpha(h[0]), c.a * 1 * 1);
        EXPECT_EQ(alpha(h[3 * 20 + 3]), c.a * 4 * 4);
        EXPECT_EQ(alpha(h[3 * 20 + 19]), c.a * 1 * 4);
        EXPECT_EQ(alpha(h[2 * 20 + 10]), b * 3);
        EXPECT_EQ(red(h[2 * 20 + 10]), static_cast<int>(200 * 0.25 * 3));
        EXPECT_EQ(red(h[1 * 20 + 1]), static_cast<int>(200 * 0.05 * 2 * 2));

        std::vector<DWORD> v(4 * 10);
        CKLVShadowWnd::FillAlphaPicture(v.data(), CSize(4, 10), FALSE, c.nFlags, clr);
        // Bottom-up rows: the top row of the strip is the last one; column 0 lies against the popup.
        EXPECT_EQ(alpha(v[9 * 4 + 0]), c.a * 4 * 1);
        EXPECT_EQ(alpha(v[6 * 4 + 3]), c.a * 1 * 4);
        EXPECT_EQ(alpha(v[0 * 4 + 0]), b * 4);
        EXPECT_EQ(alpha(v[0 * 4 + 3]), b * 1);
    }
    // Eight pixels or fewer: only the corner ramps, nothing between them.
    std::vector<DWORD> narrow(8 * 4);
    CKLVShadowWnd::FillAlphaPicture(narrow.data(), CSize(8, 4), TRUE, 0, clr);
    for (int r = 0; r < 4; ++r)
        for (int x = 0; x < 8; ++x) {
            const int s = x < 4 ? x + 1 : 8 - x;
            EXPECT_EQ(alpha(narrow[r * 8 + x]), 6 * s * (r + 1)) << x << "," << r;
        }
}

TEST_F(PopupShadows, AnOpenPopupCastsItsShadowAndTakesItAlong) {
    CPopupSite site;
    CPopupCommandBars commandBars(&site);
    auto* pPopup = commandBars.MakePopup({101, 102});
    pPopup->SetPaintManager(new CShadowTheme(CKLVPopupShadows::optionAlways, TRUE));
    ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
    EXPECT_EQ(StripsOf(pPopup).size(), 2u);
    pPopup->SetTrackingMode(FALSE);
    EXPECT_TRUE(StripsOf(pPopup).empty());
    pPopup->InternalRelease();
}

TEST_F(PopupShadows, StripPixelsLieOverTheBackgroundAsTheSystemBlendsThem) {
    struct Case {
        DWORD strip, background, blended;
    };
    const Case cases[] = {
        {0x00000000, 0x00336699, 0xFF336699},   // nothing of the strip: the background shows
        {0xFF102030, 0x00FFFFFF, 0xFF102030},   // opaque: the strip alone
        {0x80000000, 0x00FFFFFF, 0xFF7F7F7F},   // half black over white
        {0x3C000000, 0x00808080, 0xFF626262},   // the ramp's inner line over grey
        {0x40181818, 0x00C0C0C0, 0xFFA8A8A8},   // a coloured shadow: its colour adds to the rest
        {0x40FFFFFF, 0x00FFFFFF, 0xFFFFFFFF},   // never past 255
    };
    for (const Case& c : cases) {
        DWORD px = c.strip;
        CKLVShadowWnd::BlendOverBackground(&px, &c.background, 1);
        EXPECT_EQ(px, c.blended) << std::hex << c.strip << " over " << c.background;
    }
}

// The screen's pixels of a rectangle, as the user sees them.
std::vector<COLORREF> ScreenPixels(const CRect& rc) {
    std::vector<COLORREF> pixels;
    CClientDC dcScreen(nullptr);
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) pixels.push_back(dcScreen.GetPixel(x, y) & 0xFFFFFF);
    return pixels;
}

// Black shadow (the theme's colour) with the alphas 15, 30, 45 and 60 from the outer line to the
// one against the popup at (950, 650, 1050, 730), blended over grey 128.
void ExpectRampsOnScreen(const char* when) {
    const int ramp[4] = {120, 113, 105, 98};
    const std::vector<COLORREF> below = ScreenPixels(CRect(1000, 730, 1001, 734));
    const std::vector<COLORREF> right = ScreenPixels(CRect(1050, 690, 1054, 691));
    for (int i = 0; i < 4; ++i) {
        const int v = ramp[3 - i];
        EXPECT_EQ(below[i], RGB(v, v, v)) << "line " << i << " below the popup " << when;
        EXPECT_EQ(right[i], RGB(v, v, v)) << "column " << i << " right of the popup " << when;
    }
}

TEST_F(PopupShadows, LayeredStripsShowTheirRampsOverTheScreenNotBlackBars) {
    if (!KLVPopupShadows()->m_pfnUpdateLayeredWindow) GTEST_SKIP() << "no layered windows";
    KLVPopupShadows()->m_bAlphaShadow = TRUE;
    // A grey window under the popup, far from where other tests put theirs.
    const COLORREF clrUnder = RGB(128, 128, 128);
    CBrush brush;
    brush.CreateSolidBrush(clrUnder);
    CWnd under;
    ASSERT_TRUE(under.CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                               AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(brush.GetSafeHandle())), "under",
                               WS_POPUP | WS_VISIBLE, CRect(900, 600, 1140, 800), nullptr, 0));
    under.UpdateWindow();
    classlib_test::PumpPending();
    CKLVCommandBar* pOwner = MakeOwner(CRect(950, 650, 1050, 730), CKLVPopupShadows::optionAlways);
    KLVPopupShadows()->SetShadow(pOwner, CRect());
    ASSERT_EQ(StripsOf(pOwner).size(), 2u);
    // The strips are drawn when shown, not once the thread looks at its messages.
    ExpectRampsOnScreen("before any message");
    classlib_test::PumpPending();
    ExpectRampsOnScreen("after the messages");
    KLVPopupShadows()->RemoveShadows(pOwner);
    under.DestroyWindow();
}

}  // namespace
