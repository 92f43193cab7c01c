// Drawing the bar through WM_PRINT (separators, the XOR insert mark) and the fade animation
// read back from the window.
#include "ControlTestSupport.h"
#include "toolkit/commandbars/barbase/CommandBarAnimation.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using commandbars_test::CTestBar;
using commandbars_test::CTestSite;
using commandbars_test::Dib;

namespace {

class CCustomizeLink : public CKLVCommandBarsLink {
public:
    BOOL IsCustomizeMode() const override { return TRUE; }
};

// Counts the separators the bar asks for.
class CSeparatorTheme : public CKLVFlatTestTheme {
public:
    static CKLVPaintManager* Create() { return new CSeparatorTheme; }
    CSize DrawSeparator(CDC*, CKLVCommandBarFace*, CKLVControlFace* pControl, BOOL) override {
        s_separators.push_back(dynamic_cast<CKLVControl*>(pControl)->GetId());
        return CSize(6, 6);
    }
    static std::vector<int> s_separators;
};
std::vector<int> CSeparatorTheme::s_separators;

}  // namespace

TEST(CommandBarDrawing, SeparatorsBeforeGroupsButNotFirstOrHidden) {
    CKLVPaintManager::RegisterTheme(0, &CSeparatorTheme::Create);
    CKLVPaintManager::SetTheme(0);
    CTestSite site;
    CTestBar<> bar(&site);
    const struct {
        int nId;
        BOOL bBeginGroup, bVisible;
    } controls[] = {{1, TRUE, TRUE}, {2, FALSE, TRUE}, {3, TRUE, FALSE}, {4, TRUE, TRUE}, {5, TRUE, TRUE}};
    for (const auto& c : controls) {
        CKLVControl* pControl = bar.GetControls()->Add(CKLVControl::typeButton, c.nId);
        pControl->SetBeginGroup(c.bBeginGroup);
        pControl->SetVisible(c.bVisible);
    }
    CSeparatorTheme::s_separators.clear();
    Dib dib(200, 40);
    bar.SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(dib.m_dc.GetSafeHdc()), PRF_CLIENT);
    EXPECT_EQ(CSeparatorTheme::s_separators, (std::vector<int>{4, 5}));
    CKLVFlatTestTheme::Register();
    CKLVPaintManager::SetTheme(0);
}

TEST(CommandBarDrawing, InsertMarkIsAnXorIBeamInBothOrientations) {
    CKLVFlatTestTheme::Register();
    CTestSite site;
    CTestBar<> bar(&site);
    CCustomizeLink link;
    const struct {
        BOOL bVertical;
        CRect rc;
        std::pair<int, int> inBeam, besideBeam;
    } cases[] = {
        {FALSE, CRect(10, 4, 16, 30), {12, 15}, {14, 15}},
        {TRUE, CRect(10, 4, 40, 10), {20, 6}, {20, 8}},
    };
    for (const auto& c : cases) {
        Dib plain(200, 40), marked(200, 40);
        bar.m_pLink = nullptr;
        bar.SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(plain.m_dc.GetSafeHdc()), PRF_CLIENT);
        bar.m_pLink = &link;
        bar.m_rcMarker = c.rc;
        bar.m_bVerticalMarker = c.bVertical;
        bar.SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(marked.m_dc.GetSafeHdc()), PRF_CLIENT);
        const auto changed = plain.DifferingFrom(marked);
        // Two lines at each end (full, then shortened by one at both ends) and a beam two wide.
        const int nAcross = c.bVertical ? c.rc.Height() : c.rc.Width();
        const int nAlong = c.bVertical ? c.rc.Width() : c.rc.Height();
        EXPECT_EQ(changed.size(), static_cast<size_t>(2 * (nAcross + nAcross - 2) + 2 * (nAlong - 4)));
        EXPECT_TRUE(changed.count(c.inBeam));
        EXPECT_FALSE(changed.count(c.besideBeam));
        for (const auto& pt : changed) EXPECT_TRUE(c.rc.PtInRect(CPoint(pt.first, pt.second)));
    }
    bar.m_pLink = nullptr;
}

namespace {

// A bar painted in one colour, so that a fade from white to black shows its alpha in each pixel.
class CSolidBar : public CKLVCommandBar {
public:
    void DrawCommandBar(CDC* pDC, CRect) override {
        CRect rc;
        GetClientRect(&rc);
        pDC->FillSolidRect(rc, m_clr);
    }
    COLORREF m_clr = RGB(255, 255, 255);
};

BYTE WindowRed(CWnd& wnd, CPoint pt) {
    CClientDC dc(&wnd);
    return GetRValue(dc.GetPixel(pt.x, pt.y));
}

}  // namespace

TEST(CommandBarAnimation, FadeFramesAndTheirCache) {
    CTestSite site;
    CTestBar<CSolidBar> bar(&site);
    bar.SetWindowPos(&CWnd::wndTopMost, 0, 0, 60, 20, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    bar.EnableAnimation(TRUE);
    bar.UpdateWindow();
    CKLVCommandBarAnimation* pAnimation = bar.GetAnimation();
    ASSERT_TRUE(pAnimation->HasCache());
    const CRect rc(10, 5, 30, 15);

    bar.Redraw(&rc, TRUE);  // nothing changed: no fade, no timer
    EXPECT_TRUE(pAnimation->GetItems().empty());
    EXPECT_FALSE(pAnimation->IsTimerRunning());

    bar.m_clr = RGB(0, 0, 0);
    bar.Redraw(&rc, TRUE);
    ASSERT_EQ(pAnimation->GetItems().size(), 1u);
    EXPECT_TRUE(pAnimation->IsTimerRunning());
    // White under alphas 42, 85, 127, 170, 212, then the cache's black.
    const int expected[] = {255 * (255 - 42) / 256, 255 * (255 - 85) / 256, 255 * (255 - 127) / 256,
                            255 * (255 - 170) / 256, 255 * (255 - 212) / 256, 0};
    for (int nStep = 0; nStep < 6; ++nStep) {
        if (nStep > 0) pAnimation->OnAnimationTimer();
        EXPECT_EQ(WindowRed(bar, rc.CenterPoint()), expected[nStep]) << "frame " << nStep + 1;
        EXPECT_EQ(WindowRed(bar, CPoint(2, 2)), 255) << "outside the fade";
    }
    EXPECT_TRUE(pAnimation->GetItems().empty());
    EXPECT_FALSE(pAnimation->IsTimerRunning());

    // A second fade over the same rectangle replaces the first.
    bar.m_clr = RGB(255, 255, 255);
    bar.Redraw(&rc, TRUE);
    bar.m_clr = RGB(128, 128, 128);
    bar.Redraw(&rc, TRUE);
    EXPECT_EQ(pAnimation->GetItems().size(), 1u);

    bar.SetWindowPos(nullptr, 0, 0, 80, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    bar.UpdateWindow();
    EXPECT_EQ(pAnimation->m_bmpCache.GetBitmapSize(), CSize(80, 20));
    EXPECT_TRUE(pAnimation->GetItems().empty());
}
