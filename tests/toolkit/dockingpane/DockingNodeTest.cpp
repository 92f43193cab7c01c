// The node model on detached layouts: panes, containers, the client node and the layout's
// tidy pass and side rule. No window is made.
#include "DockingTestHost.h"
#include "DockingTestResources.h"

#include "toolkit/common/ImageManager.h"

namespace {

// A window that answers the tab colour query with its user data.
LRESULT CALLBACK TabColorProbeProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == KLV_WM_DOCKINGPANE_TABCOLOR) return ::GetWindowLongPtrA(hWnd, GWLP_USERDATA);
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

HWND CreateTabColorProbe(LRESULT lAnswer) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TabColorProbeProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "KlvTabColorProbe";
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, lAnswer);
    return hWnd;
}

}  // namespace

TEST_F(DetachedLayoutTest, TitleSplitsIntoTitleAndTabCaption) {
    const struct { const char* pszTitle; const char* pszExpectedTitle; const char* pszExpectedTab; } cases[] = {
        {"Solution Explorer\nExplorer", "Solution Explorer", "Explorer"},
        {"Output", "Output", "Output"},
        {"\nTab", "", "Tab"},
        {"A\nB\nC", "A", "B\nC"},
    };
    CKLVDockingPane* pPane = tree.Pane(1);
    for (const auto& c : cases) {
        pPane->SetTitle(c.pszTitle);
        EXPECT_STREQ(pPane->GetTitle(), c.pszExpectedTitle) << c.pszTitle;
        EXPECT_STREQ(pPane->GetTabCaption(), c.pszExpectedTab) << c.pszTitle;
    }
    // The string resource of the id becomes the title; an id without one keeps it.
    pPane->SetID(IDS_TEST_PANE);
    EXPECT_STREQ(pPane->GetTabCaption(), "Explorer");
    pPane->SetID(4711);
    EXPECT_STREQ(pPane->GetTitle(), "Solution Explorer");
}

TEST_F(DetachedLayoutTest, TabColorComesFromSettingWindowOrId) {
    const struct { COLORREF clrSet; LRESULT lAnswer; int nID; COLORREF clrExpected; } cases[] = {
        {COLORREF(-1), 0, 11, 0x1000000 + 3},
        {COLORREF(-1), 0, -3, 0x1000000 - 3},
        {COLORREF(-1), 0, 16, 0x1000000},
        {COLORREF(-1), 0x123456, 11, 0x123456},
        {0x00FF00, 0x123456, 11, 0x00FF00},
    };
    CKLVDockingPane* pPane = tree.Pane(0);
    for (const auto& c : cases) {
        HWND hWnd = CreateTabColorProbe(c.lAnswer);
        pPane->SetID(static_cast<UINT>(c.nID));
        pPane->SetTabColor(c.clrSet);
        pPane->Attach(CWnd::FromHandle(hWnd));
        EXPECT_EQ(pPane->GetTabColor(), c.clrExpected) << c.nID << " " << c.lAnswer;
        pPane->Attach(nullptr);
        ::DestroyWindow(hWnd);
    }
}

TEST_F(DetachedLayoutTest, IconIdMinusOneLooksUpThePaneId) {
    HICON hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
    manager.SetPaneIcon(11, hIcon);
    CKLVDockingPane* pPane = tree.Pane(11);
    ASSERT_NE(pPane->GetIcon(16), nullptr);
    EXPECT_EQ(pPane->GetIcon(16)->GetID(), 11u);
    pPane->SetIconID(12);
    EXPECT_EQ(pPane->GetIcon(16), nullptr);
    pPane->SetID(5);
    pPane->SetIconID(11);
    EXPECT_NE(pPane->GetIcon(16), nullptr);
}

TEST_F(DetachedLayoutTest, CopyTakesAllButWindowTabColourAndHelpId) {
    CKLVDockingPane* pSource = tree.Pane(42, CKLVDockingPane::optionNoFloat);
    pSource->SetTitle("Long\nShort");
    pSource->SetIconID(7);
    pSource->SetEnabled(1);
    pSource->SetTabColor(0x0000FF);
    pSource->SetHelpID(99);
    pSource->m_nTag = 5;
    pSource->m_ptMinTrackSize = CPoint(10, 20);
    pSource->m_szDocking = CSize(150, 120);
    CKLVDockingPane* pCopy = tree.Pane(0);
    pCopy->Copy(pSource);
    EXPECT_EQ(pCopy->GetID(), 42u);
    EXPECT_STREQ(pCopy->GetFullTitle(), "Long\nShort");
    EXPECT_EQ(pCopy->GetIconID(), 7);
    EXPECT_EQ(pCopy->GetEnabled(), 1);
    EXPECT_EQ(pCopy->GetOptions(), DWORD(CKLVDockingPane::optionNoFloat));
    EXPECT_EQ(pCopy->m_nTag, 5);
    EXPECT_EQ(pCopy->m_ptMinTrackSize, CPoint(10, 20));
    EXPECT_EQ(pCopy->m_szDocking, CSize(150, 120));
    EXPECT_EQ(pCopy->GetTabColor(), COLORREF(0x1000000 + 42 % 8));
    EXPECT_EQ(pCopy->GetHelpID(), 0);
}

TEST_F(DetachedLayoutTest, FindPaneWalksNestedContainersInTreeOrder) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    CKLVDockingPane* c = tree.Pane(3);
    CKLVDockingPaneTabbedContainer* t1 = tree.Tabbed({a, b});
    CKLVDockingPaneTabbedContainer* t2 = tree.Tabbed({c});
    CKLVDockingPaneTabbedContainer* empty = tree.Tabbed({});
    CKLVDockingSplitterContainer* inner = tree.Splitter(FALSE, {empty, t2});
    tree.Top({t1}, {inner});

    CKLVDockingNodeList panes, tabbed;
    layout->GetTopContainer()->FindPane(CKLVDockingNode::typePane, &panes);
    layout->GetTopContainer()->FindPane(CKLVDockingNode::typeTabbedContainer, &tabbed);
    EXPECT_EQ(DockingTreeBuilder::Nodes(panes), (std::vector<CKLVDockingNode*>{a, b, c}));
    EXPECT_EQ(DockingTreeBuilder::Nodes(tabbed), (std::vector<CKLVDockingNode*>{t1, t2}));
    EXPECT_TRUE(empty->IsEmpty());
    EXPECT_FALSE(inner->IsEmpty());
    EXPECT_TRUE(layout->GetTopContainer()->ContainsPane(c));
    EXPECT_FALSE(t1->ContainsPane(c));
    // No window in a detached layout.
    EXPECT_EQ(t1->GetPaneHwnd(), nullptr);
}

TEST_F(DetachedLayoutTest, ClientNodeAsksForItsMinimumUnlessItMayHide) {
    MINMAXINFO mmi;
    CKLVDockingClientNode* pClient = layout->GetClientNode();
    pClient->GetMinMaxInfo(&mmi);
    EXPECT_EQ(CPoint(mmi.ptMinTrackSize), CPoint(60, 60));
    EXPECT_EQ(CPoint(mmi.ptMaxTrackSize), CPoint(32000, 32000));
    EXPECT_FALSE(pClient->IsEmpty());
    manager.m_bHideClient = TRUE;
    pClient->GetMinMaxInfo(&mmi);
    EXPECT_EQ(CPoint(mmi.ptMinTrackSize), CPoint(0, 0));
    EXPECT_TRUE(pClient->IsEmpty());
}

TEST_F(DetachedLayoutTest, RemovingTheSelectedPaneSelectsTheLastOne) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    CKLVDockingPane* c = tree.Pane(3);
    CKLVDockingPaneTabbedContainer* t = tree.Tabbed({a, b, c});
    t->SelectPane(a);
    EXPECT_TRUE(a->IsSelected());
    t->RemovePane(a);
    EXPECT_EQ(t->GetSelected(), c);
    EXPECT_TRUE(a->IsClosed());
    t->RemovePane(b);
    EXPECT_EQ(t->GetSelected(), c);
    t->RemovePane(c);
    EXPECT_EQ(t->GetSelected(), nullptr);
    EXPECT_TRUE(t->IsEmpty());
}

TEST_F(DetachedLayoutTest, CloneCopiesPanesWithAMapAndMovesThemWithout) {
    CKLVDockingPane* a = tree.Pane(1, CKLVDockingPane::optionNoHide);
    CKLVDockingPane* b = tree.Pane(2);
    CKLVDockingPaneTabbedContainer* t = tree.Tabbed({a, b});
    t->SelectPane(a);

    CKLVDockingNodeMap map;
    auto* pCopy = static_cast<CKLVDockingPaneTabbedContainer*>(t->Clone(layout, &map));
    auto copies = DockingTreeBuilder::Children(pCopy);
    ASSERT_EQ(copies.size(), 2u);
    CKLVDockingNode* pMapped = nullptr;
    EXPECT_TRUE(map.Lookup(a, pMapped) && pMapped == copies[0]);
    EXPECT_TRUE(map.Lookup(t, pMapped) && pMapped == pCopy);
    EXPECT_EQ(static_cast<CKLVDockingPane*>(copies[1])->GetID(), 2u);
    EXPECT_EQ(pCopy->GetSelected(), copies[0]);
    EXPECT_EQ(DockingTreeBuilder::Children(t).size(), 2u);

    // Without a map the panes move; those with an excluded option stay behind.
    auto* pMoved = static_cast<CKLVDockingPaneTabbedContainer*>(t->Clone(layout, nullptr, CKLVDockingPane::optionNoHide));
    EXPECT_EQ(DockingTreeBuilder::Children(pMoved), (std::vector<CKLVDockingNode*>{b}));
    EXPECT_EQ(DockingTreeBuilder::Children(t), (std::vector<CKLVDockingNode*>{a}));
    EXPECT_EQ(pMoved->GetSelected(), b);
    EXPECT_EQ(b->GetContainer(), pMoved);

    // A splitter copies its non-empty children through their own clones.
    CKLVDockingSplitterContainer* s = tree.Splitter(TRUE, {t, tree.Tabbed({})});
    auto* pSplitterCopy = static_cast<CKLVDockingSplitterContainer*>(s->Clone(layout, &map));
    ASSERT_EQ(pSplitterCopy->GetCount(), 1);
    EXPECT_TRUE(pSplitterCopy->IsHorizontal());
    EXPECT_TRUE(map.Lookup(t, pMapped) && pMapped == pSplitterCopy->GetFirstPane());
}

TEST_F(DetachedLayoutTest, TidyDropsWhatLostItsPurposeAndThenHoldsStill) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPaneTabbedContainer* kept = tree.Tabbed({a});
    CKLVDockingPaneTabbedContainer* orphan = tree.Tabbed({});
    CKLVDockingSplitterContainer* chain = tree.Splitter(FALSE, {kept});
    CKLVDockingSplitterContainer* outer = tree.Splitter(TRUE, {chain});
    CKLVDockingSplitterContainer* emptyInner = tree.Splitter(TRUE, {orphan});
    emptyInner->RemovePane(orphan);
    tree.Top({outer, emptyInner}, {});

    layout->Tidy();
    const auto nodes = DockingTreeBuilder::Nodes(layout->GetNodeList());
    for (const CKLVDockingNode* pGone : {static_cast<CKLVDockingNode*>(orphan), static_cast<CKLVDockingNode*>(chain),
                                         static_cast<CKLVDockingNode*>(emptyInner)})
        EXPECT_EQ(std::count(nodes.begin(), nodes.end(), pGone), 0);
    EXPECT_EQ(kept->GetContainer(), outer);
    EXPECT_EQ(DockingTreeBuilder::Children(outer), (std::vector<CKLVDockingNode*>{kept}));
    EXPECT_EQ(DockingTreeBuilder::Children(layout->GetTopContainer()),
              (std::vector<CKLVDockingNode*>{outer, layout->GetClientNode()}));

    layout->Tidy();
    EXPECT_EQ(DockingTreeBuilder::Nodes(layout->GetNodeList()), nodes);
}

TEST_F(DetachedLayoutTest, NodeSideFollowsTheClientsBranch) {
    CKLVDockingPaneTabbedContainer* left = tree.Tabbed({tree.Pane(1)});
    CKLVDockingPaneTabbedContainer* right = tree.Tabbed({tree.Pane(2)});
    tree.Top({left}, {right});
    // A vertical container around the horizontal top one.
    CKLVDockingPaneTabbedContainer* top = tree.Tabbed({tree.Pane(3)});
    CKLVDockingPaneTabbedContainer* bottom = tree.Tabbed({tree.Pane(4)});
    CKLVDockingSplitterContainer* oldTop = layout->GetTopContainer();
    CKLVDockingSplitterContainer* vertical = tree.Splitter(FALSE, {top, oldTop, bottom});
    layout->SetTopContainer(vertical);
    CKLVDockingPane* nested = static_cast<CKLVDockingPane*>(left->GetFirstPane());

    const struct { CKLVDockingNode* pNode; int nSide; } cases[] = {
        {left, 0}, {nested, 0}, {right, 1}, {top, 2}, {bottom, 3},
        {layout->GetClientNode(), -1}, {vertical, -1}, {tree.Pane(5), -1},
    };
    for (const auto& c : cases) EXPECT_EQ(layout->GetNodeSide(c.pNode), c.nSide) << c.pNode->GetType();
}

TEST_F(DetachedLayoutTest, TabsFollowThePanesOfTheirContainer) {
    CKLVDockingPane* a = tree.Pane(11);
    CKLVDockingPane* b = tree.Pane(12);
    CKLVDockingPane* c = tree.Pane(13);
    a->SetTitle("Alpha title\nAlpha");
    b->SetTitle("Beta");
    c->SetTitle("Gamma title\nGamma");
    c->SetEnabled(CKLVDockingPane::enabledNoPresetCancel);
    b->SetTabColor(0x00FF00);
    CKLVDockingPaneTabbedContainer* pTabbed = tree.Tabbed({a, b, c});
    pTabbed->SelectPane(b, FALSE, FALSE);
    pTabbed->UpdateTabs();

    const struct { const char* pszCaption; const char* pszToolTip; COLORREF clr; BOOL bEnabled; BOOL bSelected; } expected[] = {
        {"Alpha", "Alpha title", 0x1000000 + 3, TRUE, FALSE},
        {"Beta", "Beta", 0x00FF00, TRUE, TRUE},
        {"Gamma", "Gamma title", 0x1000000 + 5, FALSE, FALSE},
    };
    CKLVDockingTabbedContainerTabs* pTabs = pTabbed->GetTabs();
    ASSERT_EQ(pTabs->GetItemCount(), 3);
    for (int i = 0; i < 3; i++) {
        CKLVTabManagerItem* pItem = pTabs->GetItem(i);
        EXPECT_STREQ(pItem->m_strCaption, expected[i].pszCaption) << i;
        EXPECT_STREQ(pItem->m_strToolTip, expected[i].pszToolTip) << i;
        EXPECT_EQ(pItem->m_clrItem, expected[i].clr) << i;
        EXPECT_EQ(pItem->m_bEnabled, expected[i].bEnabled) << i;
        EXPECT_EQ(pItem->IsSelected(), expected[i].bSelected) << i;
        const CKLVDockingPane* panes[] = {a, b, c};
        EXPECT_EQ(pTabbed->GetPaneAt(i), panes[i]) << i;
        EXPECT_EQ(pTabbed->FindItem(pTabbed->GetPaneAt(i)), pItem) << i;
    }
    // Removing a pane rebuilds the row at once.
    pTabbed->RemovePane(a);
    ASSERT_EQ(pTabs->GetItemCount(), 2);
    EXPECT_STREQ(pTabs->GetItem(0)->m_strCaption, "Beta");
    EXPECT_EQ(pTabbed->GetPaneAt(2), nullptr);
}
