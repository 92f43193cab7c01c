// The manager installed in a hidden frame, reporting to a recording owner.
#include "DockingInstalledHost.h"
#include "DockingTestResources.h"

#include "classlib/FrameWnd.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

#include <ole2.h>

#include <thread>

TEST_F(InstalledManagerTest, CodesGoToTheOwnerElseTheSite) {
    CKLVDockingPane* pPane = tree.Pane(703);
    CKLVDockingPaneMenuRecord menu = {pPane, {1, 2}, {0, 0, 14, 14}};
    manager->NotifyOwner(klvDockingPaneMenu, reinterpret_cast<LPARAM>(&menu));
    ASSERT_EQ(site->m_notes.size(), 1u);
    EXPECT_EQ(site->m_notes[0].nPaneID, 703u);

    manager->SetOwner(owner);
    manager->NotifyOwner(klvDockingPaneShowWindow, reinterpret_cast<LPARAM>(pPane));
    EXPECT_EQ(site->m_notes.size(), 1u);
    ASSERT_EQ(owner->m_notes.size(), 1u);
    EXPECT_EQ(owner->m_notes[0].nPaneID, 703u);
    EXPECT_TRUE(site->GetStyle() & WS_CLIPCHILDREN);
}

TEST_F(InstalledManagerTest, ActionRecordCarriesPaneValuesAndPresetCancel) {
    CKLVDockingPane* pPane = tree.Pane(701);
    CKLVDockingPaneTabbedContainer* pHolder = tree.Tabbed({pPane});
    const struct { int nEnabled; INT_PTR bPreset; } cases[] = {{3, 0}, {2, 0}, {1, 1}, {0, 1}};
    for (const auto& c : cases) {
        site->m_notes.clear();
        pPane->SetEnabled(c.nEnabled);
        const BOOL bCancel = manager->NotifyAction(klvActionFloating, pPane, reinterpret_cast<LPARAM>(pHolder));
        ASSERT_EQ(site->m_notes.size(), 1u);
        const DockingNote& note = site->m_notes[0];
        EXPECT_EQ(note.nCode, WPARAM(klvDockingPaneAction));
        EXPECT_EQ(note.nPaneID, 701u);
        EXPECT_EQ(note.nAction, klvActionFloating);
        EXPECT_EQ(note.bCancelSeen, c.bPreset) << c.nEnabled;
        EXPECT_EQ(note.lValue1, reinterpret_cast<LPARAM>(pHolder));
        EXPECT_EQ(bCancel, c.bPreset != 0);
    }
}

TEST_F(InstalledManagerTest, ActivePaneChangesReportOnce) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    const struct { BOOL bSet; CKLVDockingPane* pPane; std::vector<std::pair<INT_PTR, UINT>> reports; } steps[] = {
        {TRUE, a, {{klvActionActivated, 1}}},
        {TRUE, a, {}},
        {TRUE, b, {{klvActionDeactivated, 1}, {klvActionActivated, 2}}},
        {FALSE, a, {}},
        {FALSE, b, {{klvActionDeactivated, 2}}},
    };
    for (const auto& step : steps) {
        site->m_notes.clear();
        manager->SetActivePane(step.bSet, step.pPane);
        std::vector<std::pair<INT_PTR, UINT>> reports;
        for (const DockingNote& note : site->m_notes) reports.emplace_back(note.nAction, note.nPaneID);
        EXPECT_EQ(reports, step.reports) << step.bSet << " " << step.pPane->GetID();
    }
    EXPECT_EQ(a->GetRefCount(), 1);
    EXPECT_EQ(b->GetRefCount(), 1);
}

TEST_F(InstalledManagerTest, CloseAnsweredMinusOneKeepsThePane) {
    CKLVDockingPane* pPane = tree.Pane(703);
    CKLVDockingPaneTabbedContainer* pTabbed = tree.Tabbed({pPane});
    EXPECT_NE(pTabbed->GetPaneHwnd(), nullptr);
    site->m_lCloseAnswer = -1;
    pPane->Close();
    EXPECT_EQ(pPane->GetContainer(), pTabbed);
    site->m_lCloseAnswer = 0;
    pPane->Close();
    EXPECT_TRUE(pPane->IsClosed());
    EXPECT_EQ(pTabbed->GetPaneHwnd(), nullptr);
    EXPECT_EQ(site->m_notes.back().nCode, WPARAM(klvDockingPaneClosing));
}

TEST_F(InstalledManagerTest, SetIconsNeedsExactlyCountImagesAndLeaksNothing) {
    const int ids[] = {4000, 4001};
    const auto before = classlib_test::CountHandles();
    EXPECT_FALSE(manager->SetIcons(IDB_TEST_ICONS3, ids, 2, RGB(0, 255, 0)));
    EXPECT_EQ(manager->GetPaneIcon(4000, 16), nullptr);
    EXPECT_EQ(classlib_test::CountHandles(), before);

    EXPECT_TRUE(manager->SetIcons(IDB_TEST_ICONS2, ids, 2, RGB(0, 255, 0)));
    for (UINT nID : {4000u, 4001u}) {
        CKLVImageManagerIcon* pIcon = manager->GetPaneIcon(nID, 16);
        ASSERT_NE(pIcon, nullptr);
        EXPECT_EQ(pIcon->GetWidth(), 16);
    }
    // Only the two stored icons remain: the image list and the extracted icons are gone.
    const auto after = classlib_test::CountHandles();
    manager->SetIcons(IDB_TEST_ICONS2, ids, 2, RGB(0, 255, 0));
    EXPECT_EQ(classlib_test::CountHandles(), after);
}

TEST_F(InstalledManagerTest, NodesAndPanesAreReleasedWhenTheManagerGoes) {
    CKLVDockingPane* a = tree.Pane(1);
    CKLVDockingPane* b = tree.Pane(2);
    CKLVDockingPaneTabbedContainer* t = tree.Tabbed({a, b});
    tree.Top({}, {tree.Splitter(FALSE, {t})});
    manager->SetActivePane(TRUE, a);
    std::vector<CKLVDockingNode*> nodes = DockingTreeBuilder::Nodes(manager->GetLayout()->GetNodeList());
    ASSERT_EQ(nodes.size(), 6u);
    std::vector<CCmdTarget*> targets;
    for (CKLVDockingNode* pNode : nodes) targets.push_back(dynamic_cast<CCmdTarget*>(pNode));
    for (CCmdTarget* pTarget : targets) pTarget->InternalAddRef();

    manager.reset();
    for (CCmdTarget* pTarget : targets) {
        EXPECT_EQ(pTarget->GetRefCount(), 1);
        pTarget->InternalRelease();
    }
}

TEST(DockingPaneManagerOle, UninitialisesOnlyWhatItInitialised) {
    // In a multithreaded apartment OleInitialize fails; the manager must leave COM as it was.
    HRESULT hrAfter = E_FAIL;
    std::thread worker([&hrAfter] {
        ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        { CKLVDockingPaneManager manager; }
        hrAfter = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(hrAfter)) ::CoUninitialize();
        ::CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(hrAfter, S_FALSE);
}

TEST_F(InstalledManagerTest, SystemNoticesRefreshTheThemeAndLateWindowsGetTheirInitialUpdate) {
    for (UINT nMsg : {UINT(WM_SETTINGCHANGE), UINT(WM_SYSCOLORCHANGE)}) {
        manager->GetPaintManager()->m_nTabRowHeight = 0;
        manager->SendMessage(nMsg, 0, 0);
        EXPECT_GE(manager->GetPaintManager()->GetTabRowHeight(), 24) << nMsg;
    }

    CKLVDockingPane* pPane = tree.Pane(703);
    tree.Tabbed({pPane});
    CWnd host;
    CInitialUpdateCounter child;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD, CRect(0, 0, 50, 50), site, 0));
    ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD, CRect(0, 0, 10, 10), &host, 0));
    // Before the manager's own initial update an attached window gets nothing; after it, at once.
    pPane->Attach(&host);
    EXPECT_EQ(child.m_nCount, 0);
    manager->SendMessage(WM_INITIALUPDATE, 0, 0);
    EXPECT_TRUE(manager->IsInitialUpdateDone());
    pPane->Attach(&host);
    EXPECT_EQ(child.m_nCount, 1);
    pPane->Attach(nullptr);
}
