// The sticker images of both styles drawn from the toolkit's bitmaps: window regions and the part
// under a point, read back from memory DCs.
#include "toolkit/dockingpane/DockingPaneSticker.h"

#include "toolkit/common/GdiHandles.h"

#include <gtest/gtest.h>

namespace {

const int kCross = klvStickerLeft | klvStickerRight | klvStickerTop | klvStickerBottom | klvStickerBackdrop;

struct StickerPoint {
    const char* pszWhere;
    CPoint pt;
    int nPart;   // what the hit test answers; 0 also means outside the region
};

}  // namespace

TEST(StickerImages, RegionsAndHitTestsFollowThePartsDrawn) {
    const struct { int nStyle; int nMask; std::vector<StickerPoint> points; } cases[] = {
        {1, kCross | klvStickerCentre,
         {{"top arrow", {44, 15}, klvStickerTop}, {"left arrow", {15, 44}, klvStickerLeft},
          {"bottom arrow", {44, 74}, klvStickerBottom}, {"right arrow", {74, 44}, klvStickerRight},
          {"centre", {44, 44}, klvStickerCentre}, {"backdrop's corner beside the centre", {29, 29}, klvStickerCentre},
          {"top left corner", {3, 3}, 0}, {"bottom right corner", {86, 86}, 0}, {"outside", {120, 44}, 0}}},
        // The client's cross: no centre, so the middle belongs to no part (the backdrop still
        // shapes the window).
        {1, kCross, {{"centre", {44, 44}, 0}, {"left arrow", {15, 44}, klvStickerLeft}}},
        {0, kCross | klvStickerCentre,
         {{"top arrow", {46, 15}, klvStickerTop}, {"left arrow", {15, 46}, klvStickerLeft},
          {"bottom arrow", {46, 78}, klvStickerBottom}, {"right arrow", {78, 46}, klvStickerRight},
          {"centre", {46, 46}, klvStickerCentre}, {"top left corner", {3, 3}, 0}, {"bottom right corner", {90, 90}, 0}}},
        {1, klvStickerTop, {{"arrow", {14, 16}, klvStickerTop}, {"corner", {0, 0}, 0}}},
        {1, klvStickerRight, {{"arrow", {16, 14}, klvStickerRight}}},
        {0, klvStickerLeft, {{"arrow", {15, 21}, klvStickerLeft}, {"corner", {0, 0}, 0}}},
    };
    for (const auto& c : cases) {
        const CKLVDockingStickerImages images(c.nStyle, TRUE);
        CKLVGdiObjectOwner region(images.CreateRegion(c.nMask));
        ASSERT_NE(region.get(), nullptr) << c.nStyle << "/" << c.nMask;
        CRect rcBox;
        ::GetRgnBox(static_cast<HRGN>(region.get()), &rcBox);
        const CSize sz = CKLVDockingStickerImages::GetStickerSize(c.nStyle, c.nMask);
        EXPECT_TRUE(CRect(CPoint(0, 0), sz).PtInRect(rcBox.TopLeft())) << c.nStyle << "/" << c.nMask;
        for (const StickerPoint& p : c.points) {
            EXPECT_EQ(images.HitTest(c.nMask, p.pt), p.nPart) << c.nStyle << "/" << c.nMask << " " << p.pszWhere;
            // A part answers only where the window is.
            if (p.nPart) {
                EXPECT_TRUE(::PtInRegion(static_cast<HRGN>(region.get()), p.pt.x, p.pt.y))
                    << c.nStyle << "/" << c.nMask << " " << p.pszWhere;
            }
        }
        if (c.nMask & klvStickerBackdrop) {
            // Corners of the cross lie outside the window.
            EXPECT_FALSE(::PtInRegion(static_cast<HRGN>(region.get()), 1, 1)) << c.nStyle;
            EXPECT_FALSE(::PtInRegion(static_cast<HRGN>(region.get()), sz.cx - 2, sz.cy - 2)) << c.nStyle;
        }
    }
}

TEST(StickerImages, SizesAreTheCrossOrOneArrow) {
    const struct { int nStyle; int nMask; CSize sz; } cases[] = {
        {0, kCross, {93, 93}}, {1, kCross, {89, 89}}, {0, klvStickerTop, {43, 30}}, {0, klvStickerLeft, {30, 43}},
        {1, klvStickerBottom, {29, 32}}, {1, klvStickerRight, {32, 29}}, {1, 0, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CKLVDockingStickerImages::GetStickerSize(c.nStyle, c.nMask), c.sz) << c.nStyle << "/" << c.nMask;
}
