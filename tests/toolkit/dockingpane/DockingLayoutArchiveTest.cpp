// Saving and loading docking layouts: round trips through an archive over a memory file and a
// keyed exchange, and damaged records that must fail without touching the layout loaded into.
#include "classlib/MemFile.h"
#include "toolkit/common/PropExchangeArchive.h"
#include "toolkit/dockingpane/DockingPaneAutoHidePanel.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "DockingInstalledHost.h"
#include "TextKeyedExchange.h"

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Store = std::map<std::string, std::string>;

// A manager that keeps one reference to every node it makes, so that a test can tell which of
// them their layouts let go.
class CCountingManager : public CKLVDockingPaneManager {
public:
    ~CCountingManager() override { ReleaseHeld(); }
    CKLVDockingNode* CreateNode(int nType, CKLVDockingLayout* pLayout) override {
        CKLVDockingNode* pNode = CKLVDockingPaneManager::CreateNode(nType, pLayout);
        if (auto* pTarget = dynamic_cast<CCmdTarget*>(pNode)) {
            pTarget->InternalAddRef();
            m_held.push_back(pTarget);
        }
        return pNode;
    }
    size_t GetMadeCount() const { return m_held.size(); }
    // How many of the nodes made since the first nFirst something besides this manager holds.
    size_t CountHeldElsewhereSince(size_t nFirst) const {
        size_t nHeld = 0;
        for (size_t i = nFirst; i < m_held.size(); ++i) {
            const DWORD nRefs = m_held[i]->InternalAddRef();
            m_held[i]->InternalRelease();
            if (nRefs > 2) ++nHeld;
        }
        return nHeld;
    }
    // Drops the held references; the number of nodes something else still holds.
    size_t ReleaseHeld() {
        size_t nAlive = 0;
        for (CCmdTarget* pTarget : m_held)
            if (pTarget->InternalRelease() != 0) ++nAlive;
        m_held.clear();
        return nAlive;
    }

private:
    std::vector<CCmdTarget*> m_held;
};

long Number(const CKLVDockingNode* pNode) { return pNode ? pNode->m_nIndex : 0; }

std::string Rect(const CRect& rc) {
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

std::string DescribePane(const CKLVDockingPane* pPane) {
    return std::to_string(pPane->GetID()) + "'" + std::string(pPane->GetFullTitle()) + "' icon" +
           std::to_string(pPane->GetIconID()) + " opt" + std::to_string(pPane->GetOptions()) + " track" +
           std::to_string(pPane->m_ptMinTrackSize.x) + "," + std::to_string(pPane->m_ptMinTrackSize.y) + "," +
           std::to_string(pPane->m_ptMaxTrackSize.x) + "," + std::to_string(pPane->m_ptMaxTrackSize.y) + " colour" +
           std::to_string(pPane->GetTabColor()) + " help" + std::to_string(pPane->GetHelpID()) + " tag" +
           std::to_string(pPane->m_nTag);
}

// The node and everything below it, with record numbers and docking sizes.
std::string Describe(const CKLVDockingNode* pNode) {
    if (!pNode) return "-";
    std::string text = std::string("PTSFCA").substr(static_cast<size_t>(pNode->GetType()), 1) + "#" +
                       std::to_string(Number(pNode)) + "(" + std::to_string(pNode->m_szDocking.cx) + "x" +
                       std::to_string(pNode->m_szDocking.cy) + ")";
    switch (pNode->GetType()) {
    case CKLVDockingNode::typePane: return text + DescribePane(static_cast<const CKLVDockingPane*>(pNode));
    case CKLVDockingNode::typeMiniWnd: {
        auto* pFrame = static_cast<const CKLVDockingPaneMiniWnd*>(pNode);
        return text + Rect(pFrame->GetPaneWindowRect()) + (pFrame->IsCollapseMode() ? " rolled " : " ") +
               Describe(pFrame->GetTopContainer());
    }
    case CKLVDockingNode::typeTabbedContainer:
        text += "sel#" + std::to_string(Number(static_cast<const CKLVDockingPaneTabbedContainer*>(pNode)->GetSelected()));
        break;
    case CKLVDockingNode::typeSplitterContainer:
        text += static_cast<const CKLVDockingSplitterContainer*>(pNode)->IsHorizontal() ? "h" : "v";
        break;
    case CKLVDockingNode::typeAutoHidePanel:
        text += "side" + std::to_string(static_cast<const CKLVDockingPaneAutoHidePanel*>(pNode)->GetSide());
        break;
    default: return text;
    }
    text += "[";
    for (CKLVDockingNode* pChild : DockingTreeBuilder::Children(static_cast<const CKLVDockingContainer*>(pNode)))
        text += Describe(pChild) + " ";
    return text + "]";
}

// The whole layout: its tree, client node, panels, floating frames, pane records and node count.
std::string DescribeLayout(CKLVDockingLayout* pLayout) {
    std::string text = "top " + Describe(pLayout->GetTopContainer()) + " client#" +
                       std::to_string(Number(pLayout->GetClientNode()));
    for (int nSide = 0; nSide < 4; ++nSide)
        if (pLayout->GetPanel(nSide)) text += " panel " + Describe(pLayout->GetPanel(nSide));
    for (CKLVDockingNode* pNode : DockingTreeBuilder::Nodes(pLayout->GetNodeList()))
        if (pNode->GetType() == CKLVDockingNode::typeMiniWnd) text += " " + Describe(pNode);
    for (POSITION pos = pLayout->GetPaneList().GetHeadPosition(); pos;) {
        const CKLVDockingPaneInfo& info = pLayout->GetPaneList().GetNext(pos);
        text += " {" + std::to_string(Number(info.pPane)) + " " + std::to_string(Number(info.pFloatingHolder)) + " " +
                std::to_string(Number(info.pDockingHolder)) + " " + std::to_string(Number(info.pLastHolder)) + "}";
    }
    return text + " nodes " + std::to_string(pLayout->GetNodeList().GetCount());
}

const UINT nSchemaBeforeTabColor = 9;
const UINT nSchemaNow = CKLVPropExchange::nCurrentSchema;

Store SaveKeyed(CKLVDockingLayout* pLayout, UINT nSchema = nSchemaNow) {
    Store store;
    CTextKeyedExchange px(store, FALSE);
    px.m_dwSchema = nSchema;
    pLayout->SaveLayout(&px);
    return store;
}

BOOL LoadKeyed(CKLVDockingLayout* pLayout, Store store, UINT nSchema = nSchemaNow) {
    CTextKeyedExchange px(store, TRUE);
    px.m_dwSchema = nSchema;
    return pLayout->LoadLayout(&px);
}

std::string SaveArchive(CKLVDockingLayout* pLayout, UINT nSchema = nSchemaNow) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CKLVPropExchangeArchive px(ar);
        px.m_dwSchema = nSchema;
        pLayout->SaveLayout(&px);
    }
    const size_t nLength = static_cast<size_t>(file.GetLength());
    BYTE* pData = file.Detach();
    std::string bytes(reinterpret_cast<char*>(pData), nLength);
    std::free(pData);
    return bytes;
}

BOOL LoadArchive(CKLVDockingLayout* pLayout, std::string bytes, UINT nSchema = nSchemaNow) {
    CMemFile file(reinterpret_cast<BYTE*>(&bytes[0]), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CKLVPropExchangeArchive px(ar);
    px.m_dwSchema = nSchema;
    return pLayout->LoadLayout(&px);
}

class DockingLayoutArchive : public ::testing::Test {
protected:
    ~DockingLayoutArchive() override {
        for (CKLVDockingLayout* pLayout : m_layouts) pLayout->InternalRelease();
        layout->InternalRelease();
    }

    // Another detached layout, released with the test.
    CKLVDockingLayout* NewLayout() {
        m_layouts.push_back(manager.CreateLayout());
        return m_layouts.back();
    }

    // The program's start: one pane in a tabbed container, in a column right of the client.
    void BuildStartup() {
        pStartPane = tree.Pane(701);
        pStartPane->SetTitle("Properties\nProps");
        pStartPane->m_szDocking = CSize(200, 120);
        pStartGroup = tree.Tabbed({pStartPane});
        Holders(pStartPane, nullptr, pStartGroup);
        pStartColumn = tree.Splitter(FALSE, {pStartGroup});
        tree.Top({}, {pStartColumn});
    }

    // The start with a group of two left of the client, a floating frame and a hidden group.
    void BuildRich() {
        BuildStartup();
        CKLVDockingPane* p702 = tree.Pane(702);
        p702->SetTitle("Output");
        p702->SetIconID(5);
        p702->SetOptions(CKLVDockingPane::optionMenuButton | CKLVDockingPane::optionNoFloat);
        p702->m_ptMinTrackSize = CPoint(10, 20);
        p702->m_ptMaxTrackSize = CPoint(300, 400);
        p702->SetTabColor(0x123456);
        p702->SetHelpID(77);
        p702->m_nTag = 9;
        CKLVDockingPane* p703 = tree.Pane(703);
        pPair = tree.Tabbed({p702, p703});
        pPair->SelectPane(p702, FALSE, TRUE);
        tree.Top({pPair}, {});

        CKLVDockingPane* p704 = tree.Pane(704);
        CKLVDockingPaneTabbedContainer* pFloating = tree.Tabbed({p704});
        auto* pFrame = static_cast<CKLVDockingPaneMiniWnd*>(manager.CreateNode(CKLVDockingNode::typeMiniWnd, layout));
        pFrame->Init(pFloating, CRect(40, 50, 340, 450));
        pFrame->m_rcWindow = CRect(40, 50, 340, 450);
        Holders(p702, pFloating, pPair);
        Holders(p704, pFloating, pStartGroup);

        CKLVDockingPane* p705 = tree.Pane(705);
        CKLVDockingPaneTabbedContainer* pHidden = tree.Tabbed({p705});
        auto* pPanel =
            static_cast<CKLVDockingPaneAutoHidePanel*>(manager.CreateNode(CKLVDockingNode::typeAutoHidePanel, layout));
        pPanel->SetSide(klvDockBottom);
        pPanel->AddContainer(pHidden);
        layout->SetPanel(klvDockBottom, pPanel);
        Holders(p705, nullptr, pHidden);
    }

    void Holders(CKLVDockingPane* pPane, CKLVDockingPaneTabbedContainer* pFloating,
                 CKLVDockingPaneTabbedContainer* pDocking) {
        CKLVDockingPaneInfo* pInfo = layout->FindPaneInfo(pPane);
        pInfo->pFloatingHolder = pFloating;
        pInfo->pDockingHolder = pDocking;
        pInfo->pLastHolder = pDocking;
    }

    CCountingManager manager;
    CKLVDockingLayout* layout = manager.CreateLayout();
    DockingTreeBuilder tree{&manager, layout};
    CKLVDockingPane* pStartPane = nullptr;
    CKLVDockingPaneTabbedContainer* pStartGroup = nullptr;
    CKLVDockingSplitterContainer* pStartColumn = nullptr;
    CKLVDockingPaneTabbedContainer* pPair = nullptr;

private:
    std::vector<CKLVDockingLayout*> m_layouts;
};

}  // namespace

TEST_F(DockingLayoutArchive, StartupLayoutLoadsBackWithTheSameNumbering) {
    BuildStartup();
    const std::string bytes = SaveArchive(layout);
    // Panes first, then the other nodes in the order they were made.
    EXPECT_EQ(pStartPane->m_nIndex, 1);
    EXPECT_EQ(layout->GetClientNode()->m_nIndex, 2);
    EXPECT_EQ(layout->GetTopContainer()->m_nIndex, 3);
    EXPECT_EQ(pStartGroup->m_nIndex, 4);
    EXPECT_EQ(pStartColumn->m_nIndex, 5);
    EXPECT_EQ(SaveArchive(layout), bytes) << "a second save wrote other numbers";

    CKLVDockingLayout* pLoaded = NewLayout();
    CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    pLoaded->Serialize(ar);
    EXPECT_EQ(DescribeLayout(pLoaded), DescribeLayout(layout));
    EXPECT_EQ(SaveArchive(pLoaded), bytes);
    for (CKLVDockingNode* pNode : DockingTreeBuilder::Nodes(pLoaded->GetNodeList())) EXPECT_EQ(pNode->GetLayout(), pLoaded);
}

TEST_F(DockingLayoutArchive, EveryKindOfNodeRoundTripsThroughBothExchanges) {
    BuildRich();
    const std::string expected = (SaveArchive(layout), DescribeLayout(layout));
    ASSERT_NE(expected.find("F#"), std::string::npos) << expected;
    ASSERT_NE(expected.find("panel A#"), std::string::npos);

    CKLVDockingLayout* pFromArchive = NewLayout();
    ASSERT_TRUE(LoadArchive(pFromArchive, SaveArchive(layout)));
    EXPECT_EQ(DescribeLayout(pFromArchive), expected);
    CKLVDockingLayout* pFromKeys = NewLayout();
    ASSERT_TRUE(LoadKeyed(pFromKeys, SaveKeyed(layout)));
    EXPECT_EQ(DescribeLayout(pFromKeys), expected);
    EXPECT_EQ(SaveKeyed(pFromKeys), SaveKeyed(layout));
}

TEST_F(DockingLayoutArchive, TabColourHelpIdAndTagBelongToSchemasAboveNine) {
    BuildRich();
    const std::string atNine = SaveArchive(layout, nSchemaBeforeTabColor);
    EXPECT_EQ(SaveArchive(layout).size() - atNine.size(), 5 * 3 * sizeof(LONG)) << "three keys for each of five panes";
    const Store keysAtNine = SaveKeyed(layout, nSchemaBeforeTabColor);
    EXPECT_EQ(keysAtNine.count("Pane-2\\TabColor") + keysAtNine.count("Pane-2\\HelpId") + keysAtNine.count("Pane-2\\Tag"),
              0u);
    Store missing = SaveKeyed(layout);
    ASSERT_EQ(missing.at("Pane-2\\TabColor"), std::to_string(0x123456));
    for (const char* key : {"Pane-2\\TabColor", "Pane-2\\HelpId", "Pane-2\\Tag"}) missing.erase(key);

    struct Case {
        const char* name;
        std::function<BOOL(CKLVDockingLayout*)> load;
        bool bKept;
    } cases[] = {
        {"archive at 9", [&](CKLVDockingLayout* p) { return LoadArchive(p, atNine, nSchemaBeforeTabColor); }, false},
        {"archive now", [&](CKLVDockingLayout* p) { return LoadArchive(p, SaveArchive(layout)); }, true},
        {"keys present, read at 9",
         [&](CKLVDockingLayout* p) { return LoadKeyed(p, SaveKeyed(layout), nSchemaBeforeTabColor); }, false},
        {"keys missing now", [&](CKLVDockingLayout* p) { return LoadKeyed(p, missing); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKLVDockingLayout* pLoaded = NewLayout();
        ASSERT_TRUE(c.load(pLoaded));
        const CKLVDockingPaneInfo& info = pLoaded->GetPaneList().GetAt(pLoaded->GetPaneList().FindIndex(1));
        ASSERT_EQ(info.pPane->GetID(), 702u);
        EXPECT_EQ(info.pPane->GetTabColor(), c.bKept ? 0x123456u : 0x1000000u + 702 % 8);
        EXPECT_EQ(info.pPane->GetHelpID(), c.bKept ? 77 : 0);
        EXPECT_EQ(info.pPane->m_nTag, c.bKept ? 9 : 0);
        EXPECT_EQ(info.pPane->GetIconID(), 5) << "the keys before them still load";
    }
}

TEST_F(DockingLayoutArchive, SelectionNamingNoPaneOfTheGroupKeepsTheLastAttached) {
    BuildRich();
    const Store saved = SaveKeyed(layout);
    const std::string group = "Pane-" + std::to_string(pPair->m_nIndex) + "\\";
    ASSERT_EQ(saved.at(group + "Selected"), "2");
    const struct {
        const char* selected;
        long nExpected;
    } cases[] = {{"0", 3}, {"99", 3}, {"1", 3} /* a pane of another group */, {"2", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        Store store = saved;
        store[group + "Selected"] = c.selected;
        CKLVDockingLayout* pLoaded = NewLayout();
        ASSERT_TRUE(LoadKeyed(pLoaded, store));
        CKLVDockingNode* pGroup = pLoaded->GetTopContainer()->GetFirstPane();
        ASSERT_EQ(pGroup->GetType(), CKLVDockingNode::typeTabbedContainer);
        EXPECT_EQ(Number(static_cast<CKLVDockingPaneTabbedContainer*>(pGroup)->GetSelected()), c.nExpected);
    }
}

TEST_F(DockingLayoutArchive, DamagedRecordsFailAndLeaveTheLayoutAsItWas) {
    // Records: pane 1, client 2, top 3 (client, column), group 4 (pane), column 5 (group).
    BuildStartup();
    const Store saved = SaveKeyed(layout);
    ASSERT_EQ(saved.at("Pane-5\\Pane-1"), "4");
    ASSERT_EQ(saved.at("Pane-3\\Pane-2"), "5");
    const struct {
        const char* name;
        std::map<std::string, std::string> changes;
        bool bNothingMade;
    } cases[] = {
        {"one record", {{"Summary\\Panes", "1"}}, true},
        {"no records", {{"Summary\\Panes", "-5"}}, true},
        {"records without end", {{"Summary\\Panes", "2147483647"}}, true},
        {"more records than written", {{"Summary\\Panes", "6"}}, false},
        {"unknown type", {{"Pane-2\\Type", "9"}}, false},
        {"pane id 0", {{"Pane-1\\ID", "0"}}, false},
        {"splitter lists itself", {{"Pane-5\\Pane-1", "5"}}, false},
        {"splitter lists its parent", {{"Pane-5\\Pane-1", "3"}}, false},
        {"splitter holds a pane", {{"Pane-5\\Pane-1", "1"}}, false},
        {"splitter child missing", {{"Pane-5\\Pane-1", "42"}}, false},
        {"child count beyond the records", {{"Pane-5\\Panes", "1000000"}}, false},
        {"pane twice in a group", {{"Pane-4\\Panes", "2"}, {"Pane-4\\Pane-2", "1"}}, false},
        {"pane in two groups",
         {{"Summary\\Panes", "6"}, {"Pane-6\\Type", "1"}, {"Pane-6\\Panes", "1"}, {"Pane-6\\Pane-1", "1"}},
         false},
        {"group holds a splitter", {{"Pane-4\\Pane-1", "5"}}, false},
        {"holder is a splitter", {{"Pane-1\\DockingHolder", "5"}}, false},
        {"holder names no record", {{"Pane-1\\LastHolder", "77"}}, false},
        {"top container names a pane", {{"Summary\\TopContainer", "1"}}, false},
        {"top container sits in another", {{"Summary\\TopContainer", "5"}}, false},
        {"client names a splitter", {{"Summary\\Client", "3"}}, false},
        {"panel on no side",
         {{"Summary\\Panes", "6"}, {"Pane-6\\Type", "5"}, {"Pane-6\\Direction", "7"}, {"Pane-6\\Panes", "0"}},
         false},
        {"frame without a splitter",
         {{"Summary\\Panes", "6"}, {"Pane-6\\Type", "3"}, {"Pane-6\\TopContaner", "4"}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CKLVDockingLayout* pTarget = NewLayout();
        DockingTreeBuilder target(&manager, pTarget);
        target.Top({target.Tabbed({target.Pane(900)})}, {});
        const std::string before = DescribeLayout(pTarget);
        Store store = saved;
        for (const auto& change : c.changes) store[change.first] = change.second;
        const size_t nMadeBefore = manager.GetMadeCount();

        EXPECT_FALSE(LoadKeyed(pTarget, store));
        EXPECT_EQ(DescribeLayout(pTarget), before);
        EXPECT_EQ(manager.CountHeldElsewhereSince(nMadeBefore), 0u) << "the failed load kept nodes it made";
        // The loading layout's own client node and top container are all there is.
        if (c.bNothingMade) {
            EXPECT_LE(manager.GetMadeCount() - nMadeBefore, 2u);
        }
    }
}

TEST_F(DockingLayoutArchive, TruncatedArchiveThrowsAndLeavesTheLayoutAsItWas) {
    BuildStartup();
    std::string bytes = SaveArchive(layout);
    bytes.resize(bytes.size() / 2);
    CKLVDockingLayout* pTarget = NewLayout();
    const std::string before = DescribeLayout(pTarget);
    const size_t nMadeBefore = manager.GetMadeCount();
    CMemFile file(reinterpret_cast<BYTE*>(&bytes[0]), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    bool bThrown = false;
    try {
        pTarget->Serialize(ar);
    } catch (CArchiveException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_EQ(DescribeLayout(pTarget), before);
    EXPECT_EQ(manager.CountHeldElsewhereSince(nMadeBefore), 0u);
}

TEST_F(DockingLayoutArchive, HugeDockingSizesLoadClampedAndLayOutInside) {
    BuildStartup();
    Store store = SaveKeyed(layout);
    for (const char* key : {"Pane-1\\DockingCX", "Pane-4\\DockingCX", "Pane-5\\DockingCX", "Pane-5\\DockingCY"})
        store[key] = "2147483647";
    store["Pane-4\\DockingCY"] = "-2147483647";
    CKLVDockingLayout* pLoaded = NewLayout();
    ASSERT_TRUE(LoadKeyed(pLoaded, store));
    for (CKLVDockingNode* pNode : DockingTreeBuilder::Nodes(pLoaded->GetNodeList())) {
        EXPECT_GE(pNode->m_szDocking.cx, 0);
        EXPECT_LE(pNode->m_szDocking.cx, CKLVDockingNode::nMaxTrackSize);
        EXPECT_GE(pNode->m_szDocking.cy, 0);
        EXPECT_LE(pNode->m_szDocking.cy, CKLVDockingNode::nMaxTrackSize);
    }
    const CRect rcSite(0, 0, 1000, 700);
    pLoaded->OnSizeParent(nullptr, rcSite, nullptr);
    for (CKLVDockingNode* pNode : DockingTreeBuilder::Nodes(pLoaded->GetNodeList())) {
        if (pNode->GetType() == CKLVDockingNode::typePane) continue;
        const CRect rc = pNode->GetPaneWindowRect();
        SCOPED_TRACE(Describe(pNode) + " at " + Rect(rc));
        EXPECT_GE(rc.Width(), 0);
        EXPECT_GE(rc.Height(), 0);
        EXPECT_TRUE(rc.left >= rcSite.left && rc.right <= rcSite.right && rc.top >= rcSite.top &&
                    rc.bottom <= rcSite.bottom);
    }
}

TEST_F(DockingLayoutArchive, PaneWithoutAPaneRecordIsStillSavedAmongThePanes) {
    BuildStartup();
    // A pane made straight by the factory has no pane record of the layout.
    auto* pLoose = static_cast<CKLVDockingPane*>(manager.CreateNode(CKLVDockingNode::typePane, layout));
    pLoose->SetID(702);
    pStartGroup->AttachPane(pLoose, FALSE);
    const Store saved = SaveKeyed(layout);
    EXPECT_EQ(saved.at("Summary\\Panes"), "6");
    EXPECT_EQ(pLoose->m_nIndex, 2) << "after the recorded panes, before the other nodes";
    CKLVDockingLayout* pLoaded = NewLayout();
    ASSERT_TRUE(LoadKeyed(pLoaded, saved));
    EXPECT_EQ(Describe(pLoaded->GetTopContainer()), Describe(layout->GetTopContainer()));
    EXPECT_EQ(pLoaded->GetPaneList().GetCount(), 2);
}

namespace {

class LiveLayoutLoad : public InstalledManagerTest {
protected:
    // The descendant windows of a window class.
    static int CountWindows(CWnd* pParent, const char* pszClass) {
        struct Search {
            const char* pszClass;
            int nCount;
        } search = {pszClass, 0};
        ::EnumChildWindows(
            pParent->GetSafeHwnd(),
            [](HWND hWnd, LPARAM lParam) {
                auto* pSearch = reinterpret_cast<Search*>(lParam);
                char szClass[64] = "";
                ::GetClassNameA(hWnd, szClass, sizeof(szClass));
                if (std::string(szClass) == pSearch->pszClass) ++pSearch->nCount;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.nCount;
    }
};

}  // namespace

TEST_F(LiveLayoutLoad, ALayoutLoadedIntoTheLiveManagerGetsItsWindows) {
    manager->CreatePane(701, CRect(0, 0, 200, 120), klvDockLeft);
    manager->CreatePane(702, CRect(0, 0, 200, 120), klvDockRight);
    CKLVDockingPane* pFloated = manager->CreatePane(703, CRect(0, 0, 200, 120), klvDockBottom);
    CKLVDockingPane* pHidden = manager->CreatePane(704, CRect(0, 0, 200, 120), klvDockBottom);
    manager->FloatPane(pFloated, CRect(100, 100, 300, 250));
    manager->HidePane(pHidden);
    site->RecalcLayout();
    const std::string bytes = SaveArchive(manager->GetLayout());
    const int nSplitters = CountWindows(site, "KLVDockingPaneSplitter");
    const int nContainers = CountWindows(site, "KLVDockingPaneTabbedContainer");
    ASSERT_EQ(nSplitters, 2);   // between each docked column and the client

    ASSERT_TRUE(LoadArchive(manager->GetLayout(), bytes));
    site->RecalcLayout();
    struct Expected {
        UINT nID;
        BOOL bFloating;
        BOOL bVisible;
    } panes[] = {{701, FALSE, TRUE}, {702, FALSE, TRUE}, {703, TRUE, TRUE}, {704, FALSE, FALSE}};
    for (const Expected& e : panes) {
        SCOPED_TRACE(e.nID);
        CKLVDockingPane* pPane = manager->FindPane(e.nID);
        ASSERT_NE(pPane, nullptr);
        ASSERT_NE(pPane->GetContainer(), nullptr);
        const HWND hContainer = pPane->GetContainer()->GetPaneHwnd();
        ASSERT_TRUE(::IsWindow(hContainer));
        EXPECT_EQ((::GetWindowLongPtrA(hContainer, GWL_STYLE) & WS_VISIBLE) != 0, e.bVisible != FALSE);
        EXPECT_EQ(manager->IsFloatingSite(pPane->GetDockingSite()), e.bFloating);
        EXPECT_EQ(::GetParent(hContainer), pPane->GetDockingSite()->GetSafeHwnd());
        if (e.bVisible) {
            EXPECT_FALSE(CRect(pPane->GetContainer()->GetPaneWindowRect()).IsRectEmpty());
        }
    }
    CWnd* pFrame = manager->FindPane(703)->GetDockingSite();
    EXPECT_TRUE(pFrame->GetStyle() & WS_VISIBLE);
    CRect rcFrame;
    pFrame->GetWindowRect(&rcFrame);
    EXPECT_EQ(rcFrame.TopLeft(), CPoint(100, 100));
    // The same windows as before, those of the layout replaced gone.
    EXPECT_EQ(CountWindows(site, "KLVDockingPaneSplitter"), nSplitters);
    EXPECT_EQ(CountWindows(site, "KLVDockingPaneTabbedContainer"), nContainers);
    EXPECT_TRUE(manager->GetLayout()->GetPanel(klvDockBottom)->GetSafeHwnd() != nullptr);
}
