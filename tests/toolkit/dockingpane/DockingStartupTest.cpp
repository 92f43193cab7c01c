// The application's start-up road: panes created and docked on the manager of a hidden frame
// whose owner answers like the application, then laid out by the frame.
#include "DockingInstalledHost.h"

#include "classlib/WindowTestSupport.h"
#include "toolkit/dockingpane/DockingPaneSplitter.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

namespace {

class StartupTest : public InstalledManagerTest {
protected:
    StartupTest() {
        site->m_bAnswerLikeApp = TRUE;
        manager->SetTheme(9);
    }

    CRect SiteClient() const {
        CRect rc;
        site->GetClientRect(&rc);
        return rc;
    }
    static CRect WindowIn(HWND hWnd, CWnd* pParent) {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        pParent->ScreenToClient(&rc);
        return rc;
    }
};

}  // namespace

TEST_F(StartupTest, FirstPaneGoesBelowTheClientInANewVerticalTop) {
    CKLVDockingSplitterContainer* pOldTop = manager->GetTopContainer();
    CKLVDockingPane* pPane = manager->CreatePane(703, CRect(0, 0, 150, 120), klvDockBottom);
    ASSERT_NE(pPane, nullptr);
    EXPECT_EQ(pPane->GetID(), 703u);
    EXPECT_EQ(pPane->m_szDocking, CSize(150, 120));

    CKLVDockingSplitterContainer* pTop = manager->GetTopContainer();
    ASSERT_NE(pTop, pOldTop);
    EXPECT_FALSE(pTop->IsHorizontal());
    const auto children = DockingTreeBuilder::Children(pTop);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0], static_cast<CKLVDockingNode*>(pOldTop));
    EXPECT_EQ(children[1], pPane->GetContainer());
    EXPECT_EQ(pPane->GetContainer()->GetType(), CKLVDockingNode::typeTabbedContainer);
    EXPECT_EQ(manager->GetNodeSide(pPane), klvDockBottom);

    const CKLVDockingPaneInfo* pInfo = manager->GetLayout()->FindPaneInfo(pPane);
    ASSERT_NE(pInfo, nullptr);
    EXPECT_EQ(static_cast<CKLVDockingNode*>(pInfo->pDockingHolder), pPane->GetContainer());
    EXPECT_EQ(static_cast<CKLVDockingNode*>(pInfo->pLastHolder), pPane->GetContainer());
    EXPECT_EQ(pInfo->pFloatingHolder, nullptr);
}

TEST_F(StartupTest, PanesGoWhereTheirDirectionSays) {
    // Each step docks one more pane with no neighbour: top-level order afterwards, 0 standing
    // for the client's branch.
    const struct { UINT nID; int nDirection; std::vector<UINT> order; BOOL bHorizontalTop; } steps[] = {
        {703, klvDockBottom, {0, 703}, FALSE},
        {702, klvDockTop, {702, 0, 703}, FALSE},
        {701, klvDockBottom, {702, 0, 703, 701}, FALSE},
        {704, klvDockLeft, {704, 0}, TRUE},
        {705, klvDockRight, {704, 0, 705}, TRUE},
    };
    for (const auto& step : steps) {
        manager->CreatePane(step.nID, CRect(0, 0, 100, 100), step.nDirection);
        CKLVDockingSplitterContainer* pTop = manager->GetTopContainer();
        EXPECT_EQ(pTop->IsHorizontal(), step.bHorizontalTop) << step.nID;
        std::vector<UINT> order;
        for (CKLVDockingNode* pChild : DockingTreeBuilder::Children(pTop)) {
            CKLVDockingNodeList panes;
            pChild->FindPane(CKLVDockingNode::typePane, &panes);
            order.push_back(pChild->ContainsPane(manager->GetClientNode()) ? 0
                                                                            : static_cast<CKLVDockingPane*>(panes.GetHead())->GetID());
        }
        EXPECT_EQ(order, step.order) << step.nID;
    }
}

TEST_F(StartupTest, NeighbourThatIsClosedOrInATabbedContainer) {
    CKLVDockingPane* a = manager->CreatePane(1, CRect(0, 0, 100, 100), klvDockBottom);
    // Beside a docked pane: its container takes its place, across the vertical top a new
    // horizontal splitter holds both.
    CKLVDockingPane* b = manager->CreatePane(2, CRect(0, 0, 100, 100), klvDockRight, a);
    CKLVDockingNode* pRow = a->GetContainer()->GetContainer();
    ASSERT_EQ(pRow, b->GetContainer()->GetContainer());
    ASSERT_EQ(pRow->GetType(), CKLVDockingNode::typeSplitterContainer);
    EXPECT_TRUE(static_cast<CKLVDockingSplitterContainer*>(pRow)->IsHorizontal());
    EXPECT_EQ(DockingTreeBuilder::Children(static_cast<CKLVDockingSplitterContainer*>(pRow)),
              (std::vector<CKLVDockingNode*>{a->GetContainer(), b->GetContainer()}));
    // Along the row, before b.
    CKLVDockingPane* c = manager->CreatePane(3, CRect(0, 0, 100, 100), klvDockLeft, b);
    EXPECT_EQ(DockingTreeBuilder::Children(static_cast<CKLVDockingSplitterContainer*>(pRow)),
              (std::vector<CKLVDockingNode*>{a->GetContainer(), c->GetContainer(), b->GetContainer()}));
    // A closed neighbour counts as none: the pane goes to the top container.
    site->m_bAnswerLikeApp = FALSE;
    c->Close();
    ASSERT_TRUE(c->IsClosed());
    CKLVDockingPane* d = manager->CreatePane(4, CRect(0, 0, 100, 100), klvDockTop, c);
    EXPECT_EQ(d->GetContainer()->GetContainer(), static_cast<CKLVDockingNode*>(manager->GetTopContainer()));
    EXPECT_EQ(DockingTreeBuilder::Children(manager->GetTopContainer()).front(), d->GetContainer());
}

TEST_F(StartupTest, WindowIsAskedForOnlyOnceTheFrameLaysOut) {
    CKLVDockingPane* pPane = manager->CreatePane(703, CRect(0, 0, 150, 120), klvDockBottom);
    EXPECT_TRUE(site->Notes(klvDockingPaneShowWindow).empty());
    site->RecalcLayout();
    const auto notes = site->Notes(klvDockingPaneShowWindow);
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.front().nPaneID, 703u);
    EXPECT_FALSE(notes.front().bWindowVisible);
    EXPECT_TRUE(manager->IsLayoutComputed());
    ASSERT_TRUE(pPane->IsAttached());
    EXPECT_TRUE(::GetWindowLongA(pPane->GetChild(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(::GetParent(pPane->GetChild()), pPane->GetContainer()->GetPaneHwnd());
}

TEST_F(StartupTest, RecalcLayoutPlacesContainerBarAndClient) {
    CKLVDockingPane* pPane = manager->CreatePane(703, CRect(0, 0, 150, 120), klvDockBottom);
    site->RecalcLayout();
    const CRect rcSite = SiteClient();
    const int nBar = manager->GetPaintManager()->GetSplitterSize();
    ASSERT_EQ(nBar, 4);

    CKLVDockingNode* pContainer = pPane->GetContainer();
    const CRect rcContainer(0, rcSite.bottom - 120, rcSite.right, rcSite.bottom);
    EXPECT_EQ(WindowIn(pContainer->GetPaneHwnd(), site), rcContainer);
    EXPECT_EQ(pContainer->GetPaneWindowRect(), rcContainer);

    CKLVDockingSplitterContainer* pTop = manager->GetTopContainer();
    ASSERT_EQ(pTop->GetSplitterCount(), 1);
    CKLVDockingPaneSplitter* pBar = pTop->GetSplitter(0);
    EXPECT_TRUE(pBar->IsHorizontal());
    EXPECT_EQ(WindowIn(pBar->m_hWnd, site), CRect(0, rcContainer.top - nBar, rcSite.right, rcContainer.top));

    const CRect rcClient(0, 0, rcSite.right, rcContainer.top - nBar);
    EXPECT_EQ(manager->GetClientNode()->GetPaneWindowRect(), rcClient);
    CRect rcLeftOver;
    site->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rcLeftOver);
    EXPECT_EQ(rcLeftOver, rcClient);

    // The pane's window fills what caption and tab row leave, in the container's co-ordinates.
    const int nCaption = manager->GetPaintManager()->GetCaptionHeight();
    EXPECT_EQ(WindowIn(pPane->GetChild(), CWnd::FromHandle(pContainer->GetPaneHwnd())),
              CRect(0, nCaption, rcSite.right, 120));
}

TEST_F(StartupTest, BarDragSharesTheSpaceAnew) {
    CKLVDockingPane* pPane = manager->CreatePane(703, CRect(0, 0, 150, 120), klvDockBottom);
    site->RecalcLayout();
    CKLVDockingPaneSplitter* pBar = manager->GetTopContainer()->GetSplitter(0);
    CRect rcBounds, rcUnion;
    ASSERT_TRUE(pBar->GetTrackLimits(rcBounds, rcUnion));
    // The client keeps its minimum of 60 above the bar; the pane keeps the smallest pane size.
    EXPECT_EQ(rcBounds.top, rcUnion.top + 60);
    manager->GetTopContainer()->StoreChildSizes();
    CRect rcBar;
    pBar->GetWindowRect(&rcBar);
    rcBar.OffsetRect(0, -30);
    pBar->ApplyTrackRect(rcBar, rcUnion);
    site->RecalcLayout();
    EXPECT_NEAR(pPane->GetContainer()->GetPaneWindowRect().Height(), 150, 1);
}

TEST_F(StartupTest, SideMarginBarsFrameTheDockingArea) {
    manager->CreatePane(703, CRect(0, 0, 150, 120), klvDockBottom);
    manager->m_nSideMargin = 5;
    // Measuring only shrinks the rectangle: no bar is made.
    CRect rcQuery;
    site->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rcQuery);
    const CRect rcSite = SiteClient();
    EXPECT_EQ(manager->GetLayout()->GetMarginBar(0), nullptr);
    EXPECT_EQ(rcQuery.left, 5);
    EXPECT_EQ(rcQuery.top, 5);

    site->RecalcLayout();
    const struct { int nSide; CRect rc; BOOL bHorizontal; } bars[] = {
        {0, {0, 0, 5, rcSite.bottom}, FALSE},
        {1, {rcSite.right - 5, 0, rcSite.right, rcSite.bottom}, FALSE},
        {2, {5, 0, rcSite.right - 5, 5}, TRUE},
        {3, {5, rcSite.bottom - 5, rcSite.right - 5, rcSite.bottom}, TRUE},
    };
    for (const auto& bar : bars) {
        CKLVDockingPaneSplitter* pBar = manager->GetLayout()->GetMarginBar(bar.nSide);
        ASSERT_NE(pBar, nullptr) << bar.nSide;
        EXPECT_EQ(WindowIn(pBar->m_hWnd, site), bar.rc) << bar.nSide;
        EXPECT_EQ(pBar->IsHorizontal(), bar.bHorizontal) << bar.nSide;
        // Margin bars paint but never drag.
        CRect rcBounds, rcUnion;
        EXPECT_FALSE(pBar->GetTrackLimits(rcBounds, rcUnion)) << bar.nSide;
    }
    EXPECT_EQ(manager->GetClientNode()->GetPaneWindowRect().left, 5);
    EXPECT_EQ(manager->GetTopContainer()->GetPaneWindowRect(), CRect(5, 5, rcSite.right - 5, rcSite.bottom - 5));

    manager->m_nSideMargin = 0;
    site->RecalcLayout();
    for (int nSide = 0; nSide < 4; nSide++) EXPECT_EQ(manager->GetLayout()->GetMarginBar(nSide), nullptr) << nSide;
}

TEST_F(StartupTest, ClosedPaneComesBackToItsLastHolder) {
    CKLVDockingPane* a = manager->CreatePane(1, CRect(0, 0, 150, 120), klvDockBottom);
    CKLVDockingPane* b = manager->CreatePane(2, CRect(0, 0, 150, 120), klvDockRight, a);
    site->RecalcLayout();
    CKLVDockingNode* pHolder = b->GetContainer();
    // The application's owner hides instead of closing: the pane goes to the panel of its strip.
    b->Close();
    EXPECT_TRUE(b->IsHidden());
    EXPECT_FALSE(b->IsClosed());
    EXPECT_EQ(manager->GetNodeSide(b), klvDockBottom);   // beside a, in the bottom strip
    EXPECT_EQ(manager->GetHolder(b, FALSE), pHolder);
    manager->ToggleDocking(b);
    EXPECT_EQ(b->GetContainer(), pHolder);
    site->m_bAnswerLikeApp = FALSE;
    b->Close();
    ASSERT_TRUE(b->IsClosed());
    EXPECT_EQ(pHolder->GetPaneHwnd(), nullptr);
    manager->ShowPane(b, FALSE);
    EXPECT_EQ(b->GetContainer(), pHolder);
    EXPECT_NE(pHolder->GetPaneHwnd(), nullptr);
    EXPECT_TRUE(b->IsSelected());
}

TEST_F(StartupTest, DockingPreviewBesideAPaneOrAlongItsColumn) {
    CKLVDockingPane* a = manager->CreatePane(703, CRect(0, 0, 150, 120), klvDockBottom);
    site->RecalcLayout();
    CKLVDockingPane* pNew = tree.Pane(704);
    pNew->m_szDocking = CSize(60, 50);
    const CRect rcSite = SiteClient();
    const CRect rcA = a->GetContainer()->GetPaneWindowRect();
    struct Case { const char* pszCase; int nDirection; CRect rcClient; };
    const Case cases[] = {
        // Across the column: a new row of two beside the pane's container.
        {"right of the pane", klvDockRight, {rcA.left + (rcA.Width() - 4) * 150 / 210 + 4, rcA.top, rcA.right, rcA.bottom}},
        // Along the column: the column shared anew with the new node after the pane.
        {"below the pane", klvDockBottom, {0, rcSite.bottom - 50, rcSite.right, rcSite.bottom}},
    };
    for (const Case& c : cases) {
        CRect rc;
        manager->CalcDockingRect(rc, pNew, c.nDirection, a);
        CRect rcExpected = c.rcClient;
        site->ClientToScreen(&rcExpected);
        EXPECT_EQ(rc, rcExpected) << c.pszCase;
    }
}

TEST_F(StartupTest, AdjacentPaneSkipsPanesThatCannotBeActivated) {
    CKLVDockingPane* a = manager->CreatePane(1, CRect(0, 0, 150, 120), klvDockBottom);
    CKLVDockingPane* b = manager->CreatePane(2, CRect(0, 0, 150, 120), klvDockBottom);
    CKLVDockingPane* c = manager->CreatePane(3, CRect(0, 0, 150, 120), klvDockBottom);
    manager->AttachPane(b, a->GetContainer());
    manager->AttachPane(c, a->GetContainer());
    b->SetEnabled(CKLVDockingPane::enabledNoPresetCancel);
    auto* pTabbed = static_cast<CKLVDockingPaneTabbedContainer*>(a->GetContainer());
    const struct { CKLVDockingPane* pFrom; BOOL bForward; CKLVDockingPane* pSelected; } steps[] = {
        {a, TRUE, c}, {c, TRUE, a}, {a, FALSE, c}, {c, FALSE, a}, {nullptr, TRUE, a},
    };
    for (const auto& s : steps) {
        EXPECT_TRUE(manager->ActivateAdjacentPane(s.pFrom, s.bForward));
        EXPECT_EQ(pTabbed->GetSelected(), s.pSelected) << (s.pFrom ? s.pFrom->GetID() : 0) << " " << s.bForward;
    }
    // The holders follow the panes into the container they share.
    EXPECT_EQ(static_cast<CKLVDockingNode*>(manager->GetHolder(c, FALSE)), pTabbed);

    // The window commands step from the active pane and say whether one took the focus.
    site->m_bAnswerLikeApp = TRUE;
    site->RecalcLayout();
    const struct { CKLVDockingPane* pActive; UINT nCommand; CKLVDockingPane* pSelected; } commands[] = {
        {a, SC_NEXTWINDOW, c}, {a, SC_PREVWINDOW, c}, {c, SC_NEXTWINDOW, a}};
    for (const auto& cmd : commands) {
        manager->SetActivePane(TRUE, cmd.pActive);
        EXPECT_EQ(manager->SendMessage(WM_SYSCOMMAND, cmd.nCommand), TRUE) << cmd.pActive->GetID();
        EXPECT_EQ(pTabbed->GetSelected(), cmd.pSelected) << cmd.pActive->GetID() << " " << cmd.nCommand;
        EXPECT_EQ(::GetFocus(), cmd.pSelected->GetChild()) << cmd.pActive->GetID() << " " << cmd.nCommand;
    }
    manager->SetActivePane(FALSE, manager->GetActivePane());
    for (CKLVDockingPane* pPane : {a, b, c}) EXPECT_EQ(pPane->GetRefCount(), 1) << pPane->GetID();
}

TEST_F(StartupTest, BarsOnlyBetweenVisibleNeighbours) {
    CKLVDockingSplitterContainer* pOldTop = manager->GetTopContainer();
    CKLVDockingPane* a = manager->CreatePane(1, CRect(0, 0, 150, 120), klvDockBottom);
    CKLVDockingPane* b = manager->CreatePane(2, CRect(0, 0, 150, 120), klvDockRight, a);
    CKLVDockingPane* c = manager->CreatePane(3, CRect(0, 0, 150, 120), klvDockRight, b);
    site->RecalcLayout();
    auto* pRow = static_cast<CKLVDockingSplitterContainer*>(a->GetContainer()->GetContainer());
    site->m_bAnswerLikeApp = FALSE;
    const struct { const char* pszCase; CKLVDockingPane* pClose; INT_PTR nRowBars; } steps[] = {
        {"three in a row", nullptr, 2},
        {"the middle one closed", b, 1},
        {"one left", c, 0},
    };
    for (const auto& s : steps) {
        if (s.pClose) s.pClose->Close();
        site->RecalcLayout();
        EXPECT_EQ(pRow->GetSplitterCount(), s.nRowBars) << s.pszCase;
    }
    // The client's own container holds one child: no bar.
    EXPECT_EQ(pOldTop->GetSplitterCount(), 0);
    EXPECT_EQ(manager->GetTopContainer()->GetSplitterCount(), 1);
}
