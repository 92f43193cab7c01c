// Theme 6's caption band of a ribbon that owns its frame's caption, on a hidden frame with the
// tests' skin: which rectangles lie in the band, and the glass paths taken only while the frame
// is composited, with what is drawn over glass left opaque.
#include "RibbonFrameTestSupport.h"
#include "ThemeSkin.h"
#include "ThemeTestSupport.h"
#include "toolkit/themes/FrameIntegration.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/themes/ThemeResourceImage.h"

namespace themes_test {
namespace {

using T6 = CKLVPaintManagerTheme6;

// The alpha byte GDI left in a pixel of the canvas.
BYTE AlphaAt(const Dib& dib, int x, int y) {
    ::GdiFlush();
    DIBSECTION ds = {};
    ::GetObjectA(static_cast<HGDIOBJ>(const_cast<CBitmap&>(dib.m_bitmap)), sizeof(ds), &ds);
    const auto* pBits = static_cast<const BYTE*>(ds.dsBm.bmBits);
    return pBits[(static_cast<size_t>(y) * dib.m_cx + x) * 4 + 3];
}

class RibbonCaptionTheme : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_skin.m_bLoaded);
        m_pTheme = dynamic_cast<T6*>(m_fx.m_pCommandBars->GetPaintManager());
        ASSERT_NE(m_pTheme, nullptr);
        m_pTheme->RefreshMetrics();
        m_pRibbon = m_fx.m_pRibbon;
        m_fx.Layout(600);
        m_pFrame = T6::GetRibbonFrame(m_pRibbon);
        ASSERT_NE(m_pFrame, nullptr) << "the ribbon owns its frame's caption";
    }

    ThemeSkin m_skin;
    ribbon_test::CRibbonFrameFixture m_fx;
    T6* m_pTheme = nullptr;
    CKLVRibbonBar* m_pRibbon = nullptr;
    CKLVFrameIntegration* m_pFrame = nullptr;
};

TEST_F(RibbonCaptionTheme, ARectangleIsInTheCaptionBandOnlyWhileTheRibbonOwnsTheCaption) {
    const CRect rcCaption = m_pRibbon->m_rcCaption;
    const struct {
        CRect rc;
        BOOL bIn;
    } cases[] = {
        {CRect(10, 2, 30, 12), TRUE},
        {CRect(10, rcCaption.bottom - 1, 30, rcCaption.bottom + 10), TRUE},
        {CRect(10, rcCaption.bottom, 30, rcCaption.bottom + 10), FALSE},
        {m_pRibbon->m_rcTabRow, FALSE},
        {CRect(0, 0, 0, 0), FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(T6::IsInRibbonCaption(m_pRibbon, c.rc), c.bIn) << c.rc.top << "-" << c.rc.bottom;
    EXPECT_FALSE(T6::IsInRibbonCaption(nullptr, CRect(10, 2, 30, 12)));
    // A ribbon below its minimum size gives the caption back to the frame.
    m_fx.Layout(200);
    EXPECT_EQ(T6::GetRibbonFrame(m_pRibbon), nullptr);
    EXPECT_FALSE(T6::IsInRibbonCaption(m_pRibbon, CRect(10, 2, 30, 12)));
}

TEST_F(RibbonCaptionTheme, GlassIsDrawnOnlyWithCompositionAndWhatLiesOnItIsOpaque) {
    m_fx.AddQuickAccessButtons(2, 500);
    m_fx.Layout(600);
    const CRect rcCaption = m_pRibbon->m_rcCaption;
    const CRect rcQuickAccess = m_pRibbon->m_rcQuickAccess;
    ASSERT_GT(rcQuickAccess.Width(), 0);
    const CPoint ptArea(rcQuickAccess.left - 15 + 2, m_pFrame->GetBorderSize() + m_pRibbon->GetQuickAccessHeight() / 2);
    const int nPart = m_pFrame->IsActive() ? 0 : 1;
    for (BOOL bGlass : {FALSE, TRUE}) {
        m_pFrame->m_bCompositionActive = bGlass;
        Dib dib(600, rcCaption.bottom);
        m_pTheme->DrawRibbonFrameCaption(&dib.m_dc, m_pRibbon);
        EXPECT_EQ(dib.At(1, 2), bGlass ? RGB(0, 0, 0) : ThemeSkin::PartColor(imgFrameTopLeft, nPart))
            << "glass " << bGlass;
        EXPECT_EQ(dib.At(ptArea.x, ptArea.y), ThemeSkin::PartColor(bGlass ? imgQuickAccessAreaGlass : imgQuickAccessArea, 0))
            << "glass " << bGlass;
        if (bGlass) {
            EXPECT_EQ(AlphaAt(dib, ptArea.x, ptArea.y), 255) << "the quick access area is opaque over glass";
        }
        EXPECT_EQ(T6::SkinModeAt(m_pRibbon, CRect(ptArea, CSize(2, 2))), bGlass ? skinOverGlass : skinKeyed);
    }
    m_pFrame->m_bCompositionActive = FALSE;
}

TEST_F(RibbonCaptionTheme, ContextHeadersOverGlassAreOpaqueAndWithoutItPlain) {
    CKLVRibbonTabContextHeaders headers;
    CKLVRibbonTabContextHeader header;
    header.nColor = 3;
    header.rcHeader.SetRect(100, 4, 160, 24);
    headers.Add(header);
    for (BOOL bGlass : {FALSE, TRUE}) {
        m_pFrame->m_bCompositionActive = bGlass;
        Dib dib(200, 30);
        m_pTheme->DrawRibbonContextHeaders(&dib.m_dc, m_pRibbon, &headers);
        EXPECT_EQ(dib.At(101 + 1, 14), ThemeSkin::PartColor(imgContextHeaderGreen, 0)) << bGlass;
        if (bGlass) {
            EXPECT_EQ(AlphaAt(dib, 102, 14), 255);
        }
    }
    m_pFrame->m_bCompositionActive = FALSE;
}

}  // namespace
}  // namespace themes_test
