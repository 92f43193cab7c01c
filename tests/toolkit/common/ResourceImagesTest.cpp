// Resource images over a skin module of our own: the INI rules and colour look-ups, images by
// name, part rectangles, and the nine-part and keyed draws checked pixel by pixel.
#include "classlib/ClassLib.h"
#include "support/PaintCanvas.h"
#include "toolkit/common/ResourceImages.h"

#include <gtest/gtest.h>

namespace {

// The frame image is 6 by 6: a 3 by 3 grid of 2-pixel cells, each its own colour.
COLORREF Cell(int nRow, int nCol) { return RGB(10 + 100 * nCol, 10 + 100 * nRow, 77); }

class ResourceImages : public testsupport::PaintCanvas {
protected:
    void SetUp() override {
        PaintCanvas::SetUp();
        ASSERT_TRUE(m_images.SetResourceModule(::LoadLibraryA(KLV_TEST_SKIN_DLL), nullptr, TRUE));
    }
    void Clear() { m_dc.FillSolidRect(0, 0, 16, 16, kWhite); }

    CKLVResourceImages m_images;
};

}  // namespace

TEST_F(ResourceImages, IniValuesAndColours) {
    const struct {
        const char *section, *key, *value;
        COLORREF color;
    } cases[] = {
        {"TabManager", "FrameBorder", "10 20 30", RGB(10, 20, 30)},
        {"TABMANAGER", "FrameColor", "0X10 010 300", RGB(16, 8, 44)},  // C integers, low bytes
        {"Other", "onlyhere", "1 2 3", RGB(1, 2, 3)},
        {"TabManager", "OnlyHere", "", COLORREF(-1)},  // under another section
        {"Last", "LastKey", "", COLORREF(-1)},         // no carriage return after it
        {"Nowhere", "Key", "", COLORREF(-1)},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(m_images.GetIniValue(c.section, c.key), c.value) << c.section << "/" << c.key;
        EXPECT_EQ(m_images.LookupColor(c.section, c.key), c.color) << c.section << "/" << c.key;
    }

    // The program's own module has no skin.
    CKLVResourceImages own;
    EXPECT_FALSE(own.IsValid());
    EXPECT_EQ(own.LookupColor("TabManager", "FrameBorder"), COLORREF(-1));
    EXPECT_EQ(own.GetImage("Frame.Normal"), nullptr);
}

TEST_F(ResourceImages, ImagesByNameAndParts) {
    CKLVResourceImage* pFrame = m_images.GetImage("Frame.Normal");  // through the Images section
    ASSERT_NE(pFrame, nullptr);
    EXPECT_EQ(m_images.GetImage("Frame.Normal"), pFrame);
    EXPECT_NE(m_images.GetImage("keyed.bmp"), nullptr);
    EXPECT_EQ(m_images.GetImage("missing.bmp"), nullptr);
    EXPECT_EQ(pFrame->GetPartRect(1, 3), CRect(0, 2, 6, 4));
    EXPECT_TRUE(pFrame->GetPartRect(0, 0).IsRectEmpty());
}

TEST_F(ResourceImages, NinePartDrawing) {
    CKLVResourceImage* pFrame = m_images.GetImage("Frame.Normal");
    ASSERT_NE(pFrame, nullptr);
    const CRect rcSrc(0, 0, 6, 6), rcMargins(2, 2, 2, 2);
    pFrame->DrawImage(&m_dc, CRect(0, 0, 12, 12), rcSrc, rcMargins);
    ExpectPixels({{0, 0, Cell(0, 0)}, {1, 1, Cell(0, 0)}, {6, 0, Cell(0, 1)}, {11, 0, Cell(0, 2)},
                  {0, 6, Cell(1, 0)}, {6, 6, Cell(1, 1)}, {11, 6, Cell(1, 2)}, {11, 11, Cell(2, 2)}});

    // Three pixels for margins of 2 and 2: one for the left cell, two for the right.
    Clear();
    pFrame->DrawImage(&m_dc, CRect(0, 0, 3, 6), rcSrc, rcMargins);
    ExpectPixels({{0, 0, Cell(0, 0)}, {1, 4, Cell(2, 2)}, {2, 4, Cell(2, 2)}});

    // Margins wider than the image draw nothing.
    Clear();
    pFrame->DrawImage(&m_dc, CRect(0, 0, 12, 12), rcSrc, CRect(4, 0, 4, 0));
    EXPECT_EQ(m_dc.GetPixel(6, 6), kWhite);
}

TEST_F(ResourceImages, KeyedAndAlphaImages) {
    CKLVResourceImage* pKeyed = m_images.GetImage("keyed.bmp");
    ASSERT_NE(pKeyed, nullptr);
    const COLORREF clrMagenta = RGB(255, 0, 255);
    for (DWORD dwFlags : {0ul, static_cast<DWORD>(CKLVResourceImage::drawAlphaKey)}) {
        Clear();
        pKeyed->DrawImage(&m_dc, CRect(0, 0, 2, 1), CRect(0, 0, 2, 1), CRect(0, 0, 0, 0), clrMagenta, dwFlags);
        ExpectPixels({{0, 0, kWhite}, {1, 0, RGB(255, 0, 0)}});
    }

    // A PNG with half-transparent blue blends over white.
    CKLVResourceImage* pPng = m_images.GetImage("tiny.png");
    ASSERT_NE(pPng, nullptr);
    ASSERT_TRUE(pPng->IsAlpha());
    Clear();
    pPng->DrawImage(&m_dc, CRect(0, 0, 2, 1), CRect(0, 0, 2, 1));
    ExpectPixels({{0, 0, RGB(255, 0, 0)}, {1, 0, RGB(127, 127, 255)}});
}
