// Tree and tab controls driven through their windows: items built from a table come back as
// given, however long their text; selection changes reach the control's own message map first.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace classlib_test;

enum : UINT { IDC_TREE = 255, IDC_TABS = 256 };

std::vector<std::string> g_events;

// Notes its selection changes with the new item's text and data, as a solution tree does.
class CNotingTree : public CTreeCtrl {
protected:
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult) {
        const auto* pView = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
        g_events.push_back("tree:" + std::string(GetItemText(pView->itemNew.hItem)) + "/" +
                           std::to_string(pView->itemNew.lParam));
        *pResult = 0;
    }
    void OnKillFocus(NMHDR*, LRESULT* pResult) { *pResult = 1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotingTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_SELCHANGED, OnSelChanged)
    ON_NOTIFY_REFLECT(NM_KILLFOCUS, OnKillFocus)
END_MESSAGE_MAP()

// Refuses to leave tab 1 while m_bHold is set; notes both notifications.
class CNotingTabs : public CTabCtrl {
public:
    BOOL m_bHold = FALSE;

protected:
    void OnSelChanging(NMHDR*, LRESULT* pResult) {
        g_events.push_back("tabs:changing from " + std::to_string(GetCurSel()));
        *pResult = m_bHold && GetCurSel() == 1;
    }
    void OnSelChange(NMHDR*, LRESULT* pResult) {
        g_events.push_back("tabs:change to " + std::to_string(GetCurSel()));
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotingTabs, CTabCtrl)
    ON_NOTIFY_REFLECT(TCN_SELCHANGING, OnSelChanging)
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

// The parent hears what the controls leave to it.
class CControlParent : public CWnd {
protected:
    void OnTreeSelChanged(NMHDR*, LRESULT*) { g_events.push_back("parent:tree"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CControlParent, CWnd)
    ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, OnTreeSelChanged)
END_MESSAGE_MAP()

const std::string g_strLong(700, 'x');

TEST(TreeCtrl, ItemsWalkSelectAndDelete) {
    g_events.clear();
    CControlParent parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    CNotingTree tree;
    ASSERT_TRUE(tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, CRect(0, 0, 180, 100), &parent, IDC_TREE));
    EXPECT_TRUE(tree.GetStyle() & WS_CHILD) << "a tree is always a child";
    EXPECT_EQ(tree.GetDlgCtrlID(), static_cast<int>(IDC_TREE));

    // Each row: text, parent row (-1: top level), data, image.
    struct Row {
        std::string text;
        int nParent;
        DWORD_PTR dwData;
        int nImage;
    };
    const std::vector<Row> rows = {
        {"root", -1, 10, 0}, {"first", 0, 1, 2}, {"second", 0, 2, 3}, {g_strLong, 1, 3, 4}, {"", 1, 4, 5}, {"other", -1, 5, 1},
    };
    std::vector<HTREEITEM> items;
    for (const Row& row : rows) {
        HTREEITEM hParent = row.nParent < 0 ? TVI_ROOT : items[row.nParent];
        items.push_back(tree.InsertItem(row.text.c_str(), row.nImage, row.nImage + 10, hParent));
        ASSERT_NE(items.back(), nullptr) << row.text;
        EXPECT_TRUE(tree.SetItemData(items.back(), row.dwData));
    }
    EXPECT_EQ(tree.GetCount(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(std::string(tree.GetItemText(items[i])), rows[i].text) << i;
        EXPECT_EQ(tree.GetItemData(items[i]), rows[i].dwData) << i;
        int nImage = -1, nSelected = -1;
        EXPECT_TRUE(tree.GetItemImage(items[i], nImage, nSelected));
        EXPECT_EQ(nImage, rows[i].nImage);
        EXPECT_EQ(nSelected, rows[i].nImage + 10);
        EXPECT_EQ(tree.GetParentItem(items[i]), rows[i].nParent < 0 ? nullptr : items[rows[i].nParent]) << i;
    }
    // Children in insertion order, siblings both ways.
    EXPECT_EQ(tree.GetRootItem(), items[0]);
    EXPECT_EQ(tree.GetChildItem(items[0]), items[1]);
    EXPECT_EQ(tree.GetNextSiblingItem(items[1]), items[2]);
    EXPECT_EQ(tree.GetPrevSiblingItem(items[2]), items[1]);
    EXPECT_EQ(tree.GetNextSiblingItem(items[2]), nullptr);
    EXPECT_TRUE(tree.ItemHasChildren(items[1]));
    EXPECT_FALSE(tree.ItemHasChildren(items[2]));
    EXPECT_EQ(std::string(tree.GetItemText(nullptr)), "") << "no item, no text";
    EXPECT_EQ(tree.GetItemData(nullptr), 0u);

    // Selecting reaches the control first and then the parent; the caret item follows.
    EXPECT_TRUE(tree.SelectItem(items[2]));
    EXPECT_EQ(tree.GetSelectedItem(), items[2]);
    EXPECT_TRUE(tree.SetItemText(items[2], "renamed"));
    EXPECT_TRUE(tree.SelectItem(items[5]));
    EXPECT_EQ(g_events, (std::vector<std::string>{"tree:second/2", "tree:other/5"}))
        << "the plain reflection entry consumes the notification";

    // A visible item has a rectangle, and hitting its middle finds it.
    tree.Expand(items[0], TVE_EXPAND);
    CRect rect;
    ASSERT_TRUE(tree.GetItemRect(items[2], &rect, TRUE));
    UINT nFlags = 0;
    EXPECT_EQ(tree.HitTest(rect.CenterPoint(), &nFlags), items[2]);
    EXPECT_TRUE(nFlags & TVHT_ONITEMLABEL);

    // Deleting a parent takes its children.
    EXPECT_TRUE(tree.DeleteItem(items[1]));
    EXPECT_EQ(tree.GetCount(), rows.size() - 3);
    EXPECT_EQ(tree.GetChildItem(items[0]), items[2]);
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetCount(), 0u);
    EXPECT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(tree.m_hWnd, nullptr);
}

TEST(TreeCtrl, ImageListsAndToolTipsAreLentNotOwned) {
    CControlParent parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_VISIBLE, CRect(0, 0, 100, 100), &parent, IDC_TREE));
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1));
    EXPECT_EQ(tree.SetImageList(&images), nullptr);
    ASSERT_NE(tree.GetImageList(), nullptr);
    EXPECT_EQ(tree.GetImageList()->m_hImageList, images.m_hImageList);
    EXPECT_EQ(tree.SetImageList(nullptr)->m_hImageList, images.m_hImageList);

    CToolTipCtrl* pTip = tree.GetToolTips();
    ASSERT_NE(pTip, nullptr) << "a tree makes its own tool tip";
    const HWND hWndTip = pTip->m_hWnd;
    EXPECT_EQ(tree.SetToolTips(nullptr)->m_hWnd, hWndTip);
    EXPECT_EQ(tree.GetToolTips(), nullptr);
    EXPECT_TRUE(parent.DestroyWindow());
    CWnd::DeleteTempMap();
    EXPECT_EQ(images.GetImageCount(), 0) << "the list outlives the tree";
    ::DestroyWindow(hWndTip);
}

TEST(TabCtrl, TabsHoldTheirTextAndDataAndClicksSelect) {
    g_events.clear();
    CControlParent parent;
    ASSERT_TRUE(CreateTopLevel(parent, "tabs", WS_POPUP));
    parent.MoveWindow(0, 0, 400, 200);
    CNotingTabs tabs;
    ASSERT_TRUE(tabs.Create(WS_VISIBLE | TCS_SINGLELINE, CRect(0, 0, 380, 150), &parent, IDC_TABS));
    EXPECT_TRUE(tabs.GetStyle() & WS_CHILD);

    const std::vector<std::string> texts = {"one", "two", "", g_strLong.substr(0, 300)};
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(tabs.InsertItem(static_cast<int>(i), texts[i].c_str()), static_cast<LONG>(i));
        EXPECT_TRUE(tabs.SetItemData(static_cast<int>(i), static_cast<LPARAM>(100 + i)));
    }
    EXPECT_EQ(tabs.InsertItem(1, "inserted"), 1);
    EXPECT_TRUE(tabs.DeleteItem(1));
    ASSERT_EQ(tabs.GetItemCount(), static_cast<int>(texts.size()));
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(std::string(tabs.GetItemText(static_cast<int>(i))), texts[i]) << i;
        EXPECT_EQ(tabs.GetItemData(static_cast<int>(i)), static_cast<LPARAM>(100 + i)) << i;
    }
    EXPECT_EQ(std::string(tabs.GetItemText(99)), "");
    EXPECT_EQ(tabs.GetItemData(99), 0);

    // SetCurSel answers the tab before and notifies nobody.
    EXPECT_EQ(tabs.SetCurSel(1), 0);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_TRUE(g_events.empty());

    // The display area inside the window and the window around it are inverse.
    CRect rectWindow(0, 0, 380, 150), rectArea = rectWindow;
    tabs.AdjustRect(FALSE, &rectArea);
    EXPECT_LT(rectArea.Height(), rectWindow.Height());
    CRect rectBack = rectArea;
    tabs.AdjustRect(TRUE, &rectBack);
    EXPECT_EQ(rectBack, rectWindow);

    // Real clicks on tabs: the held tab refuses to let go, then gives way.
    struct Click {
        int nTab;
        BOOL bHold;
        int nSelected;
        std::vector<std::string> events;
    };
    const Click clicks[] = {
        {0, TRUE, 1, {"tabs:changing from 1"}},
        {0, FALSE, 0, {"tabs:changing from 1", "tabs:change to 0"}},
        {2, FALSE, 2, {"tabs:changing from 0", "tabs:change to 2"}},
    };
    for (const Click& click : clicks) {
        g_events.clear();
        tabs.m_bHold = click.bHold;
        CRect rectTab;
        ASSERT_TRUE(tabs.GetItemRect(click.nTab, &rectTab));
        TCHITTESTINFO hit = {rectTab.CenterPoint(), 0};
        EXPECT_EQ(tabs.HitTest(&hit), click.nTab);
        ClickAt(tabs, rectTab.CenterPoint());
        EXPECT_EQ(tabs.GetCurSel(), click.nSelected) << click.nTab;
        EXPECT_EQ(g_events, click.events) << click.nTab;
    }
    EXPECT_TRUE(tabs.DeleteAllItems());
    EXPECT_EQ(tabs.GetItemCount(), 0);
    EXPECT_TRUE(parent.DestroyWindow());
}

TEST(TreeTabCtrl, MakingAndDestroyingLeavesNoHandles) {
    auto cycle = [] {
        CControlParent parent;
        CreateTopLevel(parent);
        CTreeCtrl tree;
        tree.Create(WS_VISIBLE, CRect(0, 0, 100, 100), &parent, IDC_TREE);
        for (int i = 0; i < 20; ++i) tree.InsertItem("item", tree.GetRootItem());
        CTabCtrl tabs;
        tabs.Create(WS_VISIBLE, CRect(0, 0, 100, 100), &parent, IDC_TABS);
        for (int i = 0; i < 5; ++i) tabs.InsertItem(i, "tab");
        tree.GetToolTips();
        tabs.GetImageList();
        parent.DestroyWindow();
    };
    cycle();
    const HandleCounts before = CountHandles();
    cycle();
    EXPECT_EQ(CountHandles(), before);
}

}  // namespace
