// How a splitter container shares its extent: the distribution, the placement of children and
// bars, the limits, and the rectangles a drag preview asks for. Headless, on detached layouts.
#include "DockingTestHost.h"

#include "toolkit/dockingpane/DockingPaneTheme.h"

#include <list>

namespace {

struct Child {
    int nLength;
    int nMin = 0;
    int nMax = CKLVDockingNode::nMaxTrackSize;
    bool bClient = false;
};

struct Span {
    int nStart, nEnd;
    bool operator==(const Span& o) const { return nStart == o.nStart && nEnd == o.nEnd; }
};

std::ostream& operator<<(std::ostream& os, const Span& s) { return os << "[" << s.nStart << "," << s.nEnd << ")"; }

class GeometryTest : public DetachedLayoutTest {
protected:
    // Children along a horizontal axis (the client node stands for a client child).
    CKLVDockingNodeList& Build(const std::vector<Child>& children) {
        CKLVDockingNodeList& list = m_lists.emplace_back();
        for (const Child& c : children) {
            CKLVDockingNode* pNode = layout->GetClientNode();
            if (!c.bClient) {
                CKLVDockingPane* pPane = tree.Pane(static_cast<UINT>(list.GetCount() + 1));
                pPane->m_ptMinTrackSize = CPoint(c.nMin, 0);
                pPane->m_ptMaxTrackSize = CPoint(c.nMax, CKLVDockingNode::nMaxTrackSize);
                pNode = pPane;
            }
            pNode->m_szDocking = CSize(c.nLength, 10);
            list.AddTail(pNode);
        }
        return list;
    }

    std::list<CKLVDockingNodeList> m_lists;
    // The children's and bars' spans along the axis after a layout pass over [0, nExtent).
    void Place(const CKLVDockingNodeList& list, int nExtent, std::vector<Span>& children, std::vector<Span>& bars) {
        int nTotal = 0, nAvailable = 0;
        const CRect rc(0, 0, nExtent, 50);
        DistributeLengths(&manager, list, rc, TRUE, TRUE, nTotal, nAvailable);
        PlaceChildren(list, rc, TRUE, manager.GetPaintManager()->GetSplitterSize(), nTotal, nAvailable,
                      [&](CKLVDockingNode*, const CRect& rcChild, const CRect& rcBar) {
                          children.push_back({rcChild.left, rcChild.right});
                          if (!rcBar.IsRectNull()) bars.push_back({rcBar.left, rcBar.right});
                          return TRUE;
                      });
    }
};

}  // namespace

TEST_F(GeometryTest, SharesFollowRequestsLimitsAndTheClient) {
    const int k2p29 = 1 << 29, k2p30 = 1 << 30;
    const struct {
        const char* pszCase;
        int nExtent;
        std::vector<Child> children;
        std::vector<Span> expectChildren;
        std::vector<Span> expectBars;
    } cases[] = {
        {"requested sizes fit exactly", 404, {{100}, {300}}, {{0, 100}, {104, 404}}, {{100, 104}}},
        {"the client takes the rest", 404, {{100}, {0, 0, 32000, true}}, {{0, 100}, {104, 404}}, {{100, 104}}},
        {"the client's own request is ignored", 404, {{0, 0, 32000, true}, {50}},
         {{0, 350}, {354, 404}}, {{350, 354}}},
        {"a child below its minimum is fixed, the rest shared again", 164, {{100}, {100, 80}, {100}},
         {{0, 38}, {42, 122}, {126, 164}}, {{38, 42}, {122, 126}}},
        {"a child above its maximum is fixed", 404, {{100, 0, 50}, {100}}, {{0, 50}, {54, 404}}, {{50, 54}}},
        {"minimums that do not fit still end at the edge", 100, {{50, 80}, {50, 80}},
         {{0, 80}, {84, 100}}, {{80, 84}}},
        {"the last child absorbs the rounding", 100, {{1}, {1}, {1}}, {{0, 30}, {34, 65}, {69, 100}},
         {{30, 34}, {65, 69}}},
        {"sizes near 2^30 do not overflow", k2p30, {{k2p29, 0, k2p30}, {k2p29, 0, k2p30}},
         {{0, k2p29 - 2}, {k2p29 + 2, k2p30}}, {{k2p29 - 2, k2p29 + 2}}},
    };
    for (const auto& c : cases) {
        std::vector<Span> children, bars;
        Place(Build(c.children), c.nExtent, children, bars);
        EXPECT_EQ(children, c.expectChildren) << c.pszCase;
        EXPECT_EQ(bars, c.expectBars) << c.pszCase;
    }
    // With the reset the client's request becomes what it got.
    EXPECT_EQ(layout->GetClientNode()->m_szDocking.cx, 350);
}

TEST_F(GeometryTest, HiddenClientGivesUpItsRestWhenItAsksForASize) {
    manager.m_bHideClient = TRUE;
    // A client that may hide and asks for a height is no filler: it gets what it asks for along
    // the axis (nothing), the panes share the rest.
    std::vector<Span> children, bars;
    Place(Build({{100}, {0, 0, 32000, true}, {100}}), 404, children, bars);
    EXPECT_EQ(children, (std::vector<Span>{{0, 198}, {202, 202}, {206, 404}}));
}

TEST_F(GeometryTest, MinMaxAddsAlongTheAxisAndTakesTheTightestAcross) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    CKLVDockingPane* hidden = tree.Pane(3);
    a->m_ptMinTrackSize = CPoint(10, 20);
    a->m_ptMaxTrackSize = CPoint(100, 200);
    b->m_ptMinTrackSize = CPoint(30, 5);
    b->m_ptMaxTrackSize = CPoint(300, 150);
    hidden->m_ptMinTrackSize = CPoint(1000, 1000);
    const struct { BOOL bHorizontal; CPoint ptMin, ptMax; } cases[] = {
        {TRUE, {10 + 30 + 4, 20}, {100 + 300 + 4, 150}},
        {FALSE, {30, 20 + 5 + 4}, {100, 200 + 150 + 4}},
    };
    for (const auto& c : cases) {
        // The panes stand in tabbed containers; an empty container counts for nothing.
        CKLVDockingPaneTabbedContainer* pEmpty = tree.Tabbed({hidden});
        pEmpty->RemovePane(hidden);
        CKLVDockingSplitterContainer* pSplitter = tree.Splitter(c.bHorizontal, {a, pEmpty, b});
        MINMAXINFO mmi;
        pSplitter->GetMinMaxInfo(&mmi);
        EXPECT_EQ(CPoint(mmi.ptMinTrackSize), c.ptMin) << c.bHorizontal;
        EXPECT_EQ(CPoint(mmi.ptMaxTrackSize), c.ptMax) << c.bHorizontal;
        pSplitter->RemovePane(a);
        pSplitter->RemovePane(b);
    }
}

TEST_F(GeometryTest, DetachedLayoutsMakeNoBarsNorWindows) {
    CKLVDockingSplitterContainer* pSplitter = tree.Splitter(TRUE, {tree.Tabbed({tree.Pane(1)}), tree.Tabbed({tree.Pane(2)})});
    EXPECT_EQ(pSplitter->GetSplitterCount(), 0);
    pSplitter->OnSizeParent(nullptr, CRect(0, 0, 404, 100), nullptr);
    for (CKLVDockingNode* pChild : DockingTreeBuilder::Children(pSplitter)) EXPECT_EQ(pChild->GetPaneHwnd(), nullptr);
    // The pass still places the children.
    EXPECT_EQ(DockingTreeBuilder::Children(pSplitter).back()->GetPaneWindowRect().right, 404);
}

TEST_F(GeometryTest, DockingPreviewRectangles) {
    CKLVDockingPane* pNeighbour = tree.Pane(1);
    pNeighbour->m_rcWindow = CRect(0, 0, 404, 100);
    pNeighbour->m_szDocking = CSize(300, 100);
    CKLVDockingPane* pNode = tree.Pane(2);
    pNode->m_szDocking = CSize(100, 40);
    const struct { int nDirection; CRect rcExpected; } cases[] = {
        {klvDockLeft, {0, 0, 100, 100}},
        {klvDockRight, {304, 0, 404, 100}},
        {klvDockTop, {0, 0, 404, 96 * 40 / 140}},
        {klvDockBottom, {0, 96 * 100 / 140 + 4, 404, 100}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CalcDockingRectBeside(pNeighbour, pNode, c.nDirection), c.rcExpected) << c.nDirection;
}
