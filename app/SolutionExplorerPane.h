// The solution explorer: the window of docking pane 701, a tree whose one item is the root of
// the solution, with the record of each tree item attached as its item data.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/commandbars/ToolBar.h"

#include <memory>
#include <vector>

struct CEditTarget;
struct CFieldRecord;
struct CPacketRecord;
struct CProtocolRecord;

// What a tree item stands for: the solution's root, or a protocol, one of its records, or one of
// the two items that only group records (the header's fields, the packets).
struct CSolutionTreeItem {
    enum {
        kindProtocol = 0,
        kindHeaderGroup = 1,
        kindHeaderField = 2,
        kindPacketGroup = 3,
        kindPacket = 4,
        kindPacketField = 5,
        kindRoot = 10
    };
    int nKind = 0;
    void* pRecord = nullptr;
    int nValue1 = 0;
    int nValue2 = 0;
    CString strLabel;
};

// The image of an item of the protocol editor by its kind; -1 for other kinds.
int SolutionTreeImage(int nKind);

class COfficeTreeCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(COfficeTreeCtrl)
public:
    // The record of the last selected item other than the root; none until one is selected.
    void* m_pCurrentRecord = nullptr;
    HTREEITEM m_hSelectedItem = nullptr;

    CSolutionTreeItem* GetTreeItem(HTREEITEM hItem) const {
        return hItem ? reinterpret_cast<CSolutionTreeItem*>(GetItemData(hItem)) : nullptr;
    }
    // The item as the protocol editor sees it: its kind, its text and its parent's text.
    CEditTarget GetEditTarget(HTREEITEM hItem) const;

protected:
    afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnKillFocus(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};

class CSolutionExplorerPane : public CWnd {
public:
    CSolutionExplorerPane() = default;
    ~CSolutionExplorerPane() override;

    // ---- The protocol editor's items, whose data the pane owns.
    // The protocol under the root with its "Header" and "Packets" groups and their records; the
    // protocol's item.
    HTREEITEM AddProtocolItems(CProtocolRecord& protocol);
    HTREEITEM AddPacketItem(HTREEITEM hPackets, CProtocolRecord& protocol, const CPacketRecord& packet);
    HTREEITEM AddFieldItem(HTREEITEM hList, CProtocolRecord& protocol, const CFieldRecord& field, int nKind);
    // Removes the item and those below it with their data; the selection moves to its parent first.
    void RemoveItem(HTREEITEM hItem);
    // Every item below the root goes; the root is selected.
    void RemoveProtocolItems();

    COfficeTreeCtrl m_wndTree;
    CImageList m_ilTree;
    CKLVToolBar m_wndToolBar;
    HTREEITEM m_hRootItem = nullptr;

    enum { idTree = 255 };

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);

    HTREEITEM InsertItem(LPCTSTR lpszText, int nKind, CProtocolRecord& protocol, HTREEITEM hParent);
    void TakeItemData(HTREEITEM hItem, std::vector<std::unique_ptr<CSolutionTreeItem>>& taken);
    std::vector<std::unique_ptr<CSolutionTreeItem>> m_itemData;

    BOOL LoadTreeImages();

    std::unique_ptr<CSolutionTreeItem> m_pRootData;

    DECLARE_MESSAGE_MAP()
};
