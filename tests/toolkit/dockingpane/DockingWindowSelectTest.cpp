// The Ctrl+Tab window selector on an MDI frame: its items, columns, size and first selection
// built from the panes and the children, the keys that move the selection, and the selector run
// through the keyboard hook with keys sent from inside its modal loop.
#include "DockingTestHost.h"

#include "classlib/MDIFrameWnd.h"
#include "classlib/WindowTestSupport.h"
#include "support/DeferredAction.h"
#include "toolkit/dockingpane/DockingPaneKeyboardHook.h"
#include "toolkit/dockingpane/DockingPaneWindowSelect.h"

#include <memory>
#include <string>

namespace {

void SetKeys(std::initializer_list<int> down) { SetHeldKeys(down); }

class SelectorTest : public ::testing::Test {
protected:
    SelectorTest() {
        EXPECT_TRUE(pMain->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        pMain->SetWindowPos(nullptr, 20, 20, 900, 700, SWP_NOZORDER | SWP_NOACTIVATE);
        pMain->ShowWindow(SW_SHOW);
        EXPECT_TRUE(manager->InstallDockingPanes(pMain));
    }
    ~SelectorTest() override {
        SetKeys({});
        manager->EnableKeyboardNavigate(0);
        manager.reset();
        pMain->DestroyWindow();
        classlib_test::PumpPending();
    }
    // Children made in order; the last made is the active one.
    void AddChildren(int nCount) {
        for (int i = 0; i < nCount; ++i) {
            auto* pChild = new CMDIChildWnd;
            const std::string title = "doc" + std::to_string(m_nChildren++);
            ASSERT_TRUE(pChild->Create(nullptr, title.c_str(), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                       CFrameWnd::rectDefault, pMain));
            pChild->MDIActivate();
        }
    }
    void AddPanes(int nCount) {
        // The layout exists once the manager is installed.
        DockingTreeBuilder tree{manager.get(), manager->GetLayout()};
        for (int i = 0; i < nCount; ++i) m_panes.push_back(tree.Pane(static_cast<UINT>(800 + i)));
    }
    std::unique_ptr<CKLVDockingPaneWindowSelect> Built(BOOL bSelectPanes = FALSE) {
        auto pSelector = std::make_unique<CKLVDockingPaneWindowSelect>();
        pSelector->m_pManager = manager.get();
        pSelector->m_bSelectPanes = bSelectPanes;
        pSelector->BuildItems();
        return pSelector;
    }
    HWND ActiveChild() const { return reinterpret_cast<HWND>(::SendMessageA(pMain->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0)); }

    CMDIFrameWnd* pMain = new CMDIFrameWnd;
    std::unique_ptr<CKLVDockingPaneManager> manager = std::make_unique<CKLVDockingPaneManager>();
    std::vector<CKLVDockingPane*> m_panes;
    int m_nChildren = 0;
};

}  // namespace

TEST_F(SelectorTest, ItemsColumnsSizeAndFirstSelection) {
    struct Case {
        const char* name;
        int nPanes;
        int nChildren;
        BOOL bSelectPanes;
        std::initializer_list<int> keys;
        int nActivePane;   // -1 none
        std::vector<int> columnSizes;
        int nWindowsLeft;
        int nWidth;
        int nSelected;
    } const cases[] = {
        {"16 children beside a pane", 1, 16, FALSE, {}, -1, {1, 15, 1}, 184, 3 * 175 + 4, 2},
        {"16 children alone", 0, 16, FALSE, {}, -1, {15, 1}, 9, 2 * 175 + 4, 1},
        {"the window after the active one", 0, 3, FALSE, {}, -1, {3}, 9, 2 * 175 + 4, 1},
        {"Shift: the last", 0, 3, FALSE, {VK_SHIFT}, -1, {3}, 9, 2 * 175 + 4, 2},
        {"one child stays selected", 0, 1, FALSE, {}, -1, {1}, 9, 2 * 175 + 4, 0},
        {"Alt+F7: the first pane", 3, 2, TRUE, {}, -1, {3, 2}, 184, 2 * 175 + 4, 0},
        {"Alt+F7: the pane after the active one", 3, 2, TRUE, {}, 2, {3, 2}, 184, 2 * 175 + 4, 0},
        {"Shift+Alt+F7: the pane before it", 3, 2, TRUE, {VK_SHIFT}, 0, {3, 2}, 184, 2 * 175 + 4, 2},
        {"Alt+F7 without panes picks a window", 0, 2, TRUE, {}, -1, {2}, 9, 2 * 175 + 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        while (m_nChildren < c.nChildren) AddChildren(1);
        while (static_cast<int>(m_panes.size()) < c.nPanes) AddPanes(1);
        // Each case sees exactly its panes and children: the others are hidden.
        for (size_t i = 0; i < m_panes.size(); ++i)
            m_panes[i]->SetEnabled(static_cast<int>(i) < c.nPanes ? CKLVDockingPane::enabledActive : 0);
        int nVisible = 0;
        for (HWND h = ::GetWindow(pMain->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            ::ShowWindow(h, nVisible++ < c.nChildren ? SW_SHOWNA : SW_HIDE);
        if (manager->GetActivePane()) manager->SetActivePane(FALSE, manager->GetActivePane());
        if (c.nActivePane >= 0) manager->SetActivePane(TRUE, m_panes[static_cast<size_t>(c.nActivePane)]);
        SetKeys(c.keys);
        auto pSelector = Built(c.bSelectPanes);
        std::vector<int> sizes;
        int nFirstWindowLeft = -1;
        for (const auto& pItem : pSelector->GetItems()) {
            if (static_cast<int>(sizes.size()) <= pItem->nColumn) sizes.push_back(0);
            ++sizes[static_cast<size_t>(pItem->nColumn)];
            if (pItem->nType == CKLVWindowSelectItem::typeWindow && nFirstWindowLeft < 0) nFirstWindowLeft = pItem->rc.left;
            EXPECT_EQ(pItem->rc.Width(), 163);
            EXPECT_EQ(pItem->rc.top, pSelector->GetItemHeight() + 13 + pItem->nRow * (pSelector->GetItemHeight() + 1));
        }
        EXPECT_EQ(sizes, c.columnSizes);
        EXPECT_EQ(pSelector->GetColumnCount(), static_cast<int>(c.columnSizes.size()));
        EXPECT_EQ(nFirstWindowLeft, c.nWindowsLeft);
        const int nRows = *std::max_element(c.columnSizes.begin(), c.columnSizes.end());
        EXPECT_EQ(pSelector->GetWindowSize(),
                  CSize(c.nWidth, (pSelector->GetItemHeight() + 1) * nRows + pSelector->GetItemHeight() + 123));
        EXPECT_EQ(pSelector->GetSelectedIndex(), c.nSelected);
    }
}

TEST_F(SelectorTest, HeadersStandWhereThePanesLeaveRoom) {
    AddChildren(2);
    const COLORREF clrHeader = 0x000012;
    for (int nPanes : {0, 1}) {
        AddPanes(nPanes);
        auto pSelector = Built();
        const CSize size = pSelector->GetWindowSize();
        ASSERT_TRUE(pSelector->CreateEx(WS_EX_TOOLWINDOW, nullptr, "", WS_POPUP, CRect(CPoint(0, 0), size), pMain));
        CClientDC screen(nullptr);
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, size.cx, size.cy);
        CBitmap* pOld = dc.SelectObject(&bitmap);
        pSelector->Draw(&dc);
        int nLeftmost = size.cx, nBesidePanes = 0;
        for (int y = 0; y < pSelector->GetItemHeight() + 12; ++y)
            for (int x = 0; x < size.cx; ++x)
                if (dc.GetPixel(x, y) == clrHeader) {
                    nLeftmost = std::min(nLeftmost, x);
                    nBesidePanes += x >= 185 && x < 192;
                }
        dc.SelectObject(pOld);
        EXPECT_GE(nLeftmost, 9) << nPanes;
        EXPECT_LT(nLeftmost, 16) << nPanes;
        EXPECT_EQ(nBesidePanes > 0, nPanes > 0) << "\"Active Files\" at 185 beside the panes, at 9 alone";
    }
}

TEST_F(SelectorTest, KeysMoveTheSelectionWithinSectionsAndColumns) {
    AddPanes(2);
    AddChildren(17);   // windows 2..16 in column 1, 17 and 18 in column 2
    struct Step {
        std::initializer_list<int> keys;
        UINT nKey;
        int nSelected;
    } const steps[] = {
        {{}, VK_TAB, 4},            // from the second window (3)
        {{}, VK_RIGHT, 18},         // the same row would be 17's third; column 2 has two rows
        {{}, VK_TAB, 2},            // the last item wraps to the first window
        {{VK_SHIFT}, VK_TAB, 18},   // and back
        {{}, VK_DOWN, 0},           // the last item wraps to item 0
        {{}, VK_TAB, 1},
        {{}, VK_TAB, 0},            // the last pane wraps to the first pane
        {{VK_SHIFT}, VK_TAB, 1},    // the first item to the last pane
        {{}, VK_LEFT, 18},          // column 0 row 1 to the last column, row 1
        {{}, VK_UP, 17},
        {{}, VK_SHIFT, 17},
    };
    auto pSelector = Built();
    ASSERT_EQ(pSelector->GetSelectedIndex(), 3);
    for (const Step& s : steps) {
        SetKeys(s.keys);
        pSelector->HandleKey(s.nKey, 0);
        EXPECT_EQ(pSelector->GetSelectedIndex(), s.nSelected) << "key " << s.nKey;
    }
}

TEST_F(SelectorTest, CtrlTabAndAltF7ThroughTheHook) {
    AddChildren(3);   // doc2 active, then doc1 and doc0 in window order
    AddPanes(2);
    const HWND hDoc1 = ::GetWindow(ActiveChild(), GW_HWNDNEXT);
    ::SetFocus(ActiveChild());
    if (!::IsChild(pMain->m_hWnd, ::GetFocus())) GTEST_SKIP() << "the frame cannot take the focus here";
    CKLVDockingPaneKeyboardHook* pHook = CKLVDockingPaneKeyboardHook::GetInstance();
    testsupport::CDeferred deferred;
    const LPARAM kAltBit = 1 << 29;
    auto cancel = [](CKLVDockingPaneWindowSelect* p) { p->SendMessage(WM_KILLFOCUS, 0, 0); };
    struct Case {
        const char* name;
        int nMask;
        UINT nKey;
        LPARAM lKeyData;
        std::initializer_list<int> keys;
        std::function<void(CKLVDockingPaneWindowSelect*)> inside;   // sent while it runs
        int nSeenSelected;   // -2: no selector
        int nSelectedAtEnd;
        bool bAccepted;   // the selection is activated
    } const cases[] = {
        {"Ctrl+Tab without flag 8 opens nothing", 7, VK_TAB, 1, {VK_CONTROL}, nullptr, -2, -2, false},
        {"Enter takes the window after the active one", 8, VK_TAB, 1, {VK_CONTROL},
         [&](CKLVDockingPaneWindowSelect* p) {
             EXPECT_EQ(p->GetSelectedItem()->hWnd, hDoc1);
             p->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
         },
         3, 3, true},
        {"a letter takes the selection too", 8, VK_TAB, 1, {VK_CONTROL},
         [](CKLVDockingPaneWindowSelect* p) {
             p->SendMessage(WM_KEYDOWN, VK_DOWN, 1);
             p->SendMessage(WM_KEYDOWN, 'A', 1);
         },
         3, 4, true},
        {"Escape accepts as well", 8, VK_TAB, 1, {VK_CONTROL},
         [](CKLVDockingPaneWindowSelect* p) {
             p->SendMessage(WM_KEYDOWN, VK_UP, 1);
             p->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
         },
         3, 2, true},
        {"a held Ctrl that repeats accepts nothing", 8, VK_TAB, 1, {VK_CONTROL},
         [](CKLVDockingPaneWindowSelect* p) {
             p->SendMessage(WM_KEYDOWN, VK_CONTROL, static_cast<LPARAM>(0x40000001));
             EXPECT_TRUE(p->ContinueModal());
             p->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
         },
         3, 3, true},
        {"releasing Ctrl accepts", 8, VK_TAB, 1, {VK_CONTROL},
         [](CKLVDockingPaneWindowSelect* p) {
             SetKeys({});
             p->SendMessage(WM_KEYUP, VK_CONTROL, static_cast<LPARAM>(0xC0000001));
         },
         3, 3, true},
        {"losing the focus cancels", 8, VK_TAB, 1, {VK_CONTROL}, cancel, 3, 3, false},
        {"a click on an entry takes it", 8, VK_TAB, 1, {VK_CONTROL},
         [](CKLVDockingPaneWindowSelect* p) {
             const CPoint pt = p->GetItems()[4]->rc.CenterPoint();
             p->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
             p->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
         },
         3, 4, true},
        {"a press outside cancels", 8, VK_TAB, 1, {VK_CONTROL},
         [](CKLVDockingPaneWindowSelect* p) {
             p->SendMessage(WM_KEYDOWN, VK_DOWN, 1);
             p->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, -5));
         },
         3, 4, false},
        {"Alt+F7 starts on the first pane; Alt+F7 again moves on", 4, VK_F7, kAltBit | 1, {},
         [&](CKLVDockingPaneWindowSelect* p) {
             EXPECT_NE(CKLVDockingPaneKeyboardHook::KeyboardProc(HC_ACTION, VK_F7, kAltBit | 1), 0);
             p->SendMessage(WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0000001));
             EXPECT_TRUE(p->ContinueModal()) << "Alt let go does not close it";
             cancel(p);
         },
         0, 1, false},
        {"Alt+F7 without flag 4 opens nothing", 11, VK_F7, kAltBit | 1, {}, nullptr, -2, -2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        manager->EnableKeyboardNavigate(c.nMask);
        const HWND hActiveBefore = ActiveChild();
        ::SetFocus(hActiveBefore);
        int nSeenSelected = -2, nSelectedAtEnd = -2;
        HWND hChosen = nullptr;
        BOOL bSiteDisabled = FALSE;
        deferred.Post([&] {
            CKLVDockingPaneWindowSelect* pShown = pHook->GetShownSelector();
            if (!pShown) return;
            nSeenSelected = pShown->GetSelectedIndex();
            bSiteDisabled = !pMain->IsWindowEnabled();
            c.inside(pShown);
            nSelectedAtEnd = pShown->GetSelectedIndex();
            hChosen = pShown->GetSelectedItem() ? pShown->GetSelectedItem()->hWnd : nullptr;
        });
        SetKeys(c.keys);
        const LRESULT lEaten = CKLVDockingPaneKeyboardHook::KeyboardProc(HC_ACTION, c.nKey, c.lKeyData);
        SetKeys({});
        classlib_test::PumpPending();
        const bool bShown = c.nSeenSelected != -2;
        EXPECT_EQ(lEaten != 0, bShown);
        EXPECT_EQ(nSeenSelected, c.nSeenSelected);
        EXPECT_EQ(nSelectedAtEnd, c.nSelectedAtEnd);
        EXPECT_EQ(bSiteDisabled, bShown ? TRUE : FALSE) << "the site is disabled while it runs";
        EXPECT_TRUE(pMain->IsWindowEnabled()) << "and enabled again";
        EXPECT_EQ(pHook->GetShownSelector(), nullptr);
        EXPECT_EQ(ActiveChild(), c.bAccepted ? hChosen : hActiveBefore);
        EXPECT_EQ(::GetFocus(), ActiveChild()) << "the focus is in the active child";
    }
}
