// The layout of a tab's groups with scripted groups: which group is reduced at which level and
// when reducing stops, the scroll offset and buttons, where the groups are placed, and a group
// that claims to reduce without changing.
#include "classlib/Dc.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupScroller.h"
#include "toolkit/ribbon/RibbonGroups.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A group whose width at each level is scripted; it logs every step it accepts.
class CScriptedGroup : public CKLVRibbonGroup {
public:
    CScriptedGroup(std::vector<int> widths, std::string* pLog, BOOL bAlwaysClaims = FALSE)
        : m_widths(std::move(widths)), m_pLog(pLog), m_bAlwaysClaims(bAlwaysClaims) {}
    void OnBeforeLayout(CDC*) override { m_nLevel = 0; }
    int CalcWidth(CDC*) override { return m_widths[m_nLevel]; }
    BOOL Reduce(int nLevel) override {
        ++m_nReduceCalls;
        if (!m_bAlwaysClaims && (nLevel != m_nLevel || m_nLevel + 1 >= static_cast<int>(m_widths.size())))
            return FALSE;
        if (!m_bAlwaysClaims) ++m_nLevel;
        *m_pLog += std::to_string(m_nIndex) + ":" + std::to_string(nLevel) + " ";
        return TRUE;
    }
    void SetRect(CRect rc) override { m_rcPlaced = rc; }
    void OnAfterLayout() override { ++m_nAfterLayout; }

    std::vector<int> m_widths;
    std::string* m_pLog;
    BOOL m_bAlwaysClaims;
    int m_nLevel = 0;
    int m_nReduceCalls = 0;
    int m_nAfterLayout = 0;
    CRect m_rcPlaced;
};

const std::vector<int> kFourLevels = {100, 80, 60, 42};

class RibbonGroupsLayout : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr)); }
    CScriptedGroup* Add(std::vector<int> widths = kFourLevels, BOOL bVisible = TRUE, BOOL bAlwaysClaims = FALSE) {
        auto* pGroup = new CScriptedGroup(std::move(widths), &m_log, bAlwaysClaims);
        pGroup->m_bVisible = bVisible;
        m_groups.Insert(pGroup);
        return pGroup;
    }
    CScriptedGroup* At(int i) const { return static_cast<CScriptedGroup*>(m_groups.GetAt(i)); }

    CDC m_dc;
    CKLVRibbonGroups m_groups;
    CKLVRibbonGroupScroller m_scroller;
    std::string m_log;
};

TEST_F(RibbonGroupsLayout, ReducesFromTheLastGroupAndStartsAgainAtLevelZero) {
    struct Case {
        const char* name;
        int nRoom;
        std::vector<BOOL> visible;
        std::string steps;
    };
    // Three groups of 100 with 7 between them take 314 at their widest.
    const std::vector<Case> cases = {
        {"a total equal to the room is not reduced", 314, {1, 1, 1}, ""},
        {"one pixel short reduces the last group only", 313, {1, 1, 1}, "2:0 "},
        {"still too wide: level 0 again, one group further forward", 280, {1, 1, 1}, "2:0 1:0 "},
        {"equal to the room after a step goes on", 294, {1, 1, 1}, "2:0 1:0 "},
        {"level 1 only when no group takes level 0", 230, {1, 1, 1}, "2:0 1:0 0:0 2:1 1:1 "},
        {"everything at its smallest", 100, {1, 1, 1}, "2:0 1:0 0:0 2:1 1:1 0:1 2:2 1:2 0:2 "},
        {"hidden groups are skipped", 150, {1, 0, 1}, "2:0 0:0 2:1 "},
        {"a hidden last group adds no spacing", 207, {1, 1, 0}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_groups.RemoveAll();
        m_log.clear();
        for (BOOL bVisible : c.visible) Add(kFourLevels, bVisible);
        m_groups.Reposition(&m_dc, c.nRoom, CRect(0, 0, 0, 0));
        EXPECT_EQ(c.steps, m_log);
    }
}

TEST_F(RibbonGroupsLayout, KeepsTheOffsetWithinTheScrollRange) {
    struct Case {
        int nRoom;
        int nOffsetBefore;
        int nOffset;
        BOOL bLeft;
        BOOL bRight;
    };
    // At their smallest the three groups take 3 * 42 + 14 = 140.
    const std::vector<Case> cases = {
        {100, 0, 0, FALSE, TRUE},   {100, 25, 25, TRUE, TRUE},  {100, 40, 40, TRUE, FALSE},
        {100, 500, 40, TRUE, FALSE}, {100, -10, 0, FALSE, TRUE}, {400, 30, 0, FALSE, FALSE},
    };
    m_groups.SetScroller(&m_scroller);
    for (int i = 0; i < 3; ++i) Add();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "room " << c.nRoom << ", offset " << c.nOffsetBefore);
        m_scroller.SetOffset(c.nOffsetBefore);
        m_groups.Reposition(&m_dc, c.nRoom + 10, CRect(4, 3, 6, 3));
        EXPECT_EQ(c.nOffset, m_scroller.GetOffset());
        EXPECT_EQ(c.nOffset, m_groups.GetScrollOffset());
        EXPECT_EQ(c.bLeft, m_scroller.IsLeftVisible());
        EXPECT_EQ(c.bRight, m_scroller.IsRightVisible());
        EXPECT_EQ(4 - c.nOffset, At(0)->m_rcPlaced.left);
    }
}

TEST_F(RibbonGroupsLayout, PlacesVisibleGroupsSideBySideBelowTheTopMargin) {
    m_groups.SetMetrics(100, 17);
    Add({50});
    CScriptedGroup* pHidden = Add({70}, FALSE);
    Add({60});
    m_groups.Reposition(&m_dc, 500, CRect(4, 3, 6, 3));
    EXPECT_EQ(CRect(4, 3, 54, 96), At(0)->m_rcPlaced);
    EXPECT_EQ(CRect(61, 3, 121, 96), At(2)->m_rcPlaced);
    EXPECT_TRUE(pHidden->m_rcPlaced.IsRectNull());
    EXPECT_EQ(1, At(0)->m_nAfterLayout);
    EXPECT_EQ(0, pHidden->m_nAfterLayout);
    At(2)->m_nId = 7;
    EXPECT_EQ(At(2), m_groups.FindGroup(7));
    EXPECT_EQ(nullptr, m_groups.FindGroup(8));
}

TEST_F(RibbonGroupsLayout, WithoutGroupsHidesBothScrollButtons) {
    m_groups.SetScroller(&m_scroller);
    m_scroller.ShowButtons(TRUE, TRUE);
    m_groups.Reposition(&m_dc, 100, CRect(4, 3, 6, 3));
    EXPECT_FALSE(m_scroller.IsLeftVisible());
    EXPECT_FALSE(m_scroller.IsRightVisible());
}

TEST_F(RibbonGroupsLayout, AGroupThatAlwaysClaimsToReduceEndsTheLayout) {
    CScriptedGroup* pFirst = Add({300}, TRUE, TRUE);
    CScriptedGroup* pLast = Add({300}, TRUE, TRUE);
    m_groups.Reposition(&m_dc, 100, CRect(0, 0, 0, 0));
    EXPECT_EQ(2 * CKLVRibbonGroup::sizeCount, pFirst->m_nReduceCalls + pLast->m_nReduceCalls);
    EXPECT_EQ(1, pLast->m_nAfterLayout);
}

TEST(RibbonGroupScroller, StepsFortyPixelsAndNeverBeforeTheStart) {
    CKLVRibbonGroupScroller scroller;
    scroller.Step(TRUE);
    EXPECT_EQ(40, scroller.GetOffset());
    scroller.SetOffset(25);
    scroller.Step(FALSE);
    EXPECT_EQ(0, scroller.GetOffset());
}

}  // namespace
