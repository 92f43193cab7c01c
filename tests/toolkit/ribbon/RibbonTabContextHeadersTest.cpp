// Fitting the context headers into the caption band: the 40-px minimum, pushing from both ends,
// and failure when they cannot all fit.
#include "toolkit/ribbon/RibbonTabContextHeaders.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Span = std::pair<int, int>;

TEST(RibbonTabContextHeaders, FitIntoTheBandWithTheMinimumWidth) {
    struct Case {
        const char* name;
        std::vector<Span> before;
        int nLeft, nRight;
        BOOL bFits;
        std::vector<Span> after;
    };
    const std::vector<Case> cases = {
        {"inside and wide enough: unchanged", {{100, 160}, {160, 250}}, 50, 400, TRUE, {{100, 160}, {160, 250}}},
        {"a narrow header widens to 40", {{100, 120}}, 50, 400, TRUE, {{100, 140}}},
        {"a narrow header in the middle widens and pushes the next", {{60, 120}, {120, 130}, {135, 200}}, 50,
         400, TRUE, {{60, 120}, {120, 160}, {160, 200}}},
        {"starting before the band: pushed right", {{10, 30}, {30, 90}}, 50, 400, TRUE, {{50, 90}, {90, 130}}},
        {"ending after the band: pushed left", {{300, 380}, {380, 450}}, 50, 400, TRUE, {{300, 360}, {360, 400}}},
        {"exactly the band", {{0, 20}, {500, 520}}, 50, 130, TRUE, {{50, 90}, {90, 130}}},
        {"one pixel short: none fits", {{0, 20}, {500, 520}}, 50, 129, FALSE, {}},
        {"a band narrower than one header", {{60, 70}}, 50, 80, FALSE, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKLVRibbonTabContextHeaders headers;
        for (const Span& span : c.before) {
            CKLVRibbonTabContextHeader header;
            header.rcHeader = CRect(span.first, 4, span.second, 30);
            headers.Add(header);
        }
        ASSERT_EQ(c.bFits, headers.Fit(c.nLeft, c.nRight));
        for (size_t i = 0; i < c.after.size(); ++i) {
            EXPECT_EQ(c.after[i].first, headers.GetAt(static_cast<int>(i))->rcHeader.left) << "header " << i;
            EXPECT_EQ(c.after[i].second, headers.GetAt(static_cast<int>(i))->rcHeader.right) << "header " << i;
        }
    }
}

TEST(RibbonTabContextHeaders, KeepOffTheTitleOrAreRemovedWhenNothingFits) {
    struct Case {
        const char* name;
        Span header;
        int nRight;
        Span titleBefore;
        BOOL bShown;
        Span headerAfter;
        Span titleAfter;
    };
    const std::vector<Case> cases = {
        {"apart: nothing moves", {100, 200}, 500, {300, 360}, TRUE, {100, 200}, {300, 360}},
        {"title centre on the right: just after", {100, 200}, 500, {180, 260}, TRUE, {100, 200}, {200, 280}},
        {"title centre on the left: just before", {300, 400}, 500, {250, 330}, TRUE, {300, 400}, {220, 300}},
        {"no room after: the title takes the right end", {400, 480}, 500, {450, 530}, TRUE, {380, 420}, {420, 500}},
        {"no room before: the title takes the left end", {20, 100}, 500, {10, 90}, TRUE, {80, 120}, {0, 80}},
        {"nor beside the title: removed", {0, 60}, 100, {10, 80}, FALSE, {}, {10, 80}},
        {"not even alone: removed", {0, 60}, 30, {200, 260}, FALSE, {}, {200, 260}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKLVRibbonTabContextHeaders headers;
        CKLVRibbonTabContextHeader header;
        header.rcHeader = CRect(c.header.first, 4, c.header.second, 30);
        headers.Add(header);
        CRect rcTitle(c.titleBefore.first, 4, c.titleBefore.second, 30);
        EXPECT_EQ(c.bShown, headers.Arrange(0, c.nRight, rcTitle));
        EXPECT_EQ(c.bShown ? 1 : 0, headers.GetCount());
        EXPECT_EQ(CRect(c.titleAfter.first, 4, c.titleAfter.second, 30), rcTitle);
        if (c.bShown) {
            EXPECT_EQ(CRect(c.headerAfter.first, 4, c.headerAfter.second, 30), headers.GetAt(0)->rcHeader);
        }
    }
}

TEST(RibbonTabContextHeaders, HitTestFindsTheFirstHeaderUnderThePoint) {
    CKLVRibbonTabContextHeaders headers;
    CKLVRibbonTabContextHeader header;
    header.rcHeader = CRect(10, 4, 60, 30);
    CKLVRibbonTabContextHeader* pFirst = headers.Add(header);
    header.rcHeader = CRect(60, 4, 120, 30);
    CKLVRibbonTabContextHeader* pSecond = headers.Add(header);
    EXPECT_EQ(pFirst, headers.HitTest(CPoint(59, 10)));
    EXPECT_EQ(pSecond, headers.HitTest(CPoint(60, 10)));
    EXPECT_EQ(nullptr, headers.HitTest(CPoint(60, 30)));
}

}  // namespace
