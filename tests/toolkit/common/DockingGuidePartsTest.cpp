// The docking guides' layout tables: every highlighted part is its normal part at the same place
// with the same size, and the arrows, centre and background of one guide share one centre.
#include "classlib/Geometry.h"
#include "toolkit/common/StartupRegistrations.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CSize SizeOf(const KLVDockingGuidePart& part) {
    return CSize(part.rcSource.right - part.rcSource.left, part.rcSource.bottom - part.rcSource.top);
}

TEST(DockingGuideParts, HighlightedPartsMatchTheirNormalParts) {
    const struct {
        const char* what;
        const KLVDockingGuidePart* pParts;
        int nNormal, nHighlighted;
    } pairs[] = {
        {"classic top", KLVDockingGuideClassicParts, 0, 4},    {"classic left", KLVDockingGuideClassicParts, 1, 5},
        {"classic bottom", KLVDockingGuideClassicParts, 2, 6}, {"classic right", KLVDockingGuideClassicParts, 3, 7},
        {"classic centre", KLVDockingGuideClassicParts, 8, 9}, {"cross top", KLVDockingGuideCrossParts, 0, 4},
        {"cross left", KLVDockingGuideCrossParts, 1, 5},       {"cross bottom", KLVDockingGuideCrossParts, 2, 6},
        {"cross right", KLVDockingGuideCrossParts, 3, 7},      {"cross background", KLVDockingGuideCrossParts, 10, 9},
        {"side top", KLVDockingGuideCrossParts, 11, 15},       {"side left", KLVDockingGuideCrossParts, 12, 16},
        {"side bottom", KLVDockingGuideCrossParts, 13, 17},    {"side right", KLVDockingGuideCrossParts, 14, 18},
    };
    for (const auto& p : pairs) {
        const KLVDockingGuidePart& normal = p.pParts[p.nNormal];
        const KLVDockingGuidePart& hot = p.pParts[p.nHighlighted];
        EXPECT_EQ(normal.x, hot.x) << p.what;
        EXPECT_EQ(normal.y, hot.y) << p.what;
        EXPECT_EQ(SizeOf(normal), SizeOf(hot)) << p.what;
        EXPECT_GT(SizeOf(normal).cx, 0) << p.what;
        EXPECT_GT(SizeOf(normal).cy, 0) << p.what;
        EXPECT_NE(normal.rcSource.top * 1000 + normal.rcSource.left, hot.rcSource.top * 1000 + hot.rcSource.left)
            << p.what;
    }
}

TEST(DockingGuideParts, ArrowsCentreAndBackgroundShareOneCentre) {
    const struct {
        const char* what;
        const KLVDockingGuidePart* pParts;
        std::vector<int> parts;
        int nCentre;  // where both centre lines of the guide lie
    } guides[] = {
        {"classic", KLVDockingGuideClassicParts, {0, 1, 2, 3, 8, 10}, 46},
        {"cross", KLVDockingGuideCrossParts, {0, 1, 2, 3, 8, 9}, 44},
    };
    for (const auto& g : guides) {
        for (int nPart : g.parts) {
            const KLVDockingGuidePart& part = g.pParts[nPart];
            const CSize sz = SizeOf(part);
            const BOOL bVerticalArrow = nPart == 0 || nPart == 2;
            const BOOL bHorizontalArrow = nPart == 1 || nPart == 3;
            if (!bHorizontalArrow) {
                EXPECT_EQ(part.x + sz.cx / 2, g.nCentre) << g.what << " part " << nPart;
            }
            if (!bVerticalArrow) {
                EXPECT_EQ(part.y + sz.cy / 2, g.nCentre) << g.what << " part " << nPart;
            }
        }
    }
}

}  // namespace
