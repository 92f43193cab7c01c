// The edit control's back images: kept with what they hold while their sizes and the screen's
// colour depth stay, made afresh when either changes.
#include "support/PaintCanvas.h"
#include "toolkit/syntaxedit/SyntaxEditBackImages.h"

namespace {

class BackImagesTest : public testsupport::PaintCanvas {};

TEST_F(BackImagesTest, KeptWhileTheyFitMadeAgainWhenNot) {
    CKLVSyntaxEditBackImages images;
    ASSERT_TRUE(images.Prepare(&m_dc, CSize(30, 40), CSize(50, 40)));
    images.Gutter().SetPixel(3, 4, RGB(1, 2, 3));
    images.Text().SetPixel(5, 6, RGB(4, 5, 6));
    struct Step {
        const char* what;
        CSize szGutter, szText;
        int nBuilds;
        bool bKeepsPixels;
    } const steps[] = {
        {"the same sizes", {30, 40}, {50, 40}, 1, true},
        {"the same again", {30, 40}, {50, 40}, 1, true},
        {"a wider gutter (more line number digits)", {38, 40}, {42, 40}, 2, false},
        {"a taller client", {38, 60}, {42, 60}, 3, false},
        {"a narrower text", {38, 60}, {20, 60}, 4, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        ASSERT_TRUE(images.Prepare(&m_dc, step.szGutter, step.szText));
        EXPECT_EQ(images.GetBuildCount(), step.nBuilds);
        if (step.bKeepsPixels) {
            EXPECT_EQ(images.Gutter().GetPixel(3, 4), RGB(1, 2, 3));
            EXPECT_EQ(images.Text().GetPixel(5, 6), RGB(4, 5, 6));
        }
        BITMAP bm{};
        ASSERT_TRUE(::GetObject(::GetCurrentObject(images.Text().m_hDC, OBJ_BITMAP), sizeof bm, &bm));
        EXPECT_EQ(CSize(bm.bmWidth, bm.bmHeight), step.szText);
        ASSERT_TRUE(::GetObject(::GetCurrentObject(images.Gutter().m_hDC, OBJ_BITMAP), sizeof bm, &bm));
        EXPECT_EQ(CSize(bm.bmWidth, bm.bmHeight), step.szGutter);
    }
}

// A DC whose bitmaps have another colour depth (a monochrome one here) gets images of its own,
// else a paint would be copied through a colour conversion each time.
TEST_F(BackImagesTest, AnotherColourDepthMakesThemAgain) {
    CKLVSyntaxEditBackImages images;
    ASSERT_TRUE(images.Prepare(&m_dc, CSize(8, 8), CSize(8, 8)));
    CDC dcMono;
    ASSERT_TRUE(dcMono.CreateCompatibleDC(&m_dc));
    CBitmap bmMono;
    ASSERT_TRUE(bmMono.CreateBitmap(8, 8, 1, 1, nullptr));
    HGDIOBJ hOld = ::SelectObject(dcMono.m_hDC, bmMono.m_hObject);
    ASSERT_TRUE(images.Prepare(&dcMono, CSize(8, 8), CSize(8, 8)));
    EXPECT_EQ(images.GetBuildCount(), 2);
    ASSERT_TRUE(images.Prepare(&dcMono, CSize(8, 8), CSize(8, 8)));
    EXPECT_EQ(images.GetBuildCount(), 2);
    ::SelectObject(dcMono.m_hDC, hOld);
}

}  // namespace
