// The protocol editor's items in the solution tree: a protocol with its "Header" group of fields
// and its "Packets" group, each packet with its fields. Each item's data is the pane's.
#include "app/SolutionExplorerPane.h"

#include "app/ContextMenu.h"
#include "app/ProtocolRecords.h"
#include "app/res/Resource.h"

#include <algorithm>

namespace {

// The protocol's files lie in its folder, named after it.
CString FolderLabel(CString strFolder) {
    if (!strFolder.IsEmpty() && strFolder.Right(1) != "\\" && strFolder.Right(1) != "/") strFolder += "\\";
    return strFolder;
}

}  // namespace

HTREEITEM CSolutionExplorerPane::InsertItem(LPCTSTR lpszText, int nKind, CProtocolRecord& protocol, HTREEITEM hParent) {
    const int nImage = SolutionTreeImage(nKind);
    const HTREEITEM hItem = m_wndTree.InsertItem(lpszText, nImage, nImage, hParent, TVI_LAST);
    auto pData = std::make_unique<CSolutionTreeItem>();
    pData->nKind = nKind;
    pData->pRecord = &protocol;
    pData->strLabel = FolderLabel(protocol.strLocation);
    m_wndTree.SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pData.get()));
    m_itemData.push_back(std::move(pData));
    return hItem;
}

HTREEITEM CSolutionExplorerPane::AddProtocolItems(CProtocolRecord& protocol) {
    const HTREEITEM hProtocol = InsertItem(protocol.szName, CSolutionTreeItem::kindProtocol, protocol, m_hRootItem);
    const HTREEITEM hHeader = InsertItem("Header", CSolutionTreeItem::kindHeaderGroup, protocol, hProtocol);
    for (const CFieldRecord& field : protocol.headerFields)
        AddFieldItem(hHeader, protocol, field, CSolutionTreeItem::kindHeaderField);
    const HTREEITEM hPackets = InsertItem("Packets", CSolutionTreeItem::kindPacketGroup, protocol, hProtocol);
    for (const CPacketRecord& packet : protocol.packets) AddPacketItem(hPackets, protocol, packet);
    m_wndTree.Expand(m_hRootItem, TVE_EXPAND);
    m_wndTree.Expand(hProtocol, TVE_EXPAND);
    return hProtocol;
}

HTREEITEM CSolutionExplorerPane::AddPacketItem(HTREEITEM hPackets, CProtocolRecord& protocol, const CPacketRecord& packet) {
    const HTREEITEM hPacket = InsertItem(packet.szName, CSolutionTreeItem::kindPacket, protocol, hPackets);
    for (const CFieldRecord& field : packet.fields) AddFieldItem(hPacket, protocol, field, CSolutionTreeItem::kindPacketField);
    m_wndTree.Expand(hPackets, TVE_EXPAND);
    return hPacket;
}

HTREEITEM CSolutionExplorerPane::AddFieldItem(HTREEITEM hList, CProtocolRecord& protocol, const CFieldRecord& field,
                                              int nKind) {
    const HTREEITEM hField = InsertItem(field.szName, nKind, protocol, hList);
    m_wndTree.Expand(hList, TVE_EXPAND);
    return hField;
}

// Moves the data of the item and of those below it, where the pane made it, into taken.
void CSolutionExplorerPane::TakeItemData(HTREEITEM hItem, std::vector<std::unique_ptr<CSolutionTreeItem>>& taken) {
    for (HTREEITEM hChild = m_wndTree.GetChildItem(hItem); hChild; hChild = m_wndTree.GetNextSiblingItem(hChild))
        TakeItemData(hChild, taken);
    const CSolutionTreeItem* pData = m_wndTree.GetTreeItem(hItem);
    const auto it = std::find_if(m_itemData.begin(), m_itemData.end(),
                                 [pData](const std::unique_ptr<CSolutionTreeItem>& p) { return p.get() == pData; });
    if (it == m_itemData.end()) return;
    taken.push_back(std::move(*it));
    m_itemData.erase(it);
}

void CSolutionExplorerPane::RemoveItem(HTREEITEM hItem) {
    if (!hItem || hItem == m_hRootItem) return;
    // The selection leaves first, while every record the item refers to still stands.
    if (HTREEITEM hParent = m_wndTree.GetParentItem(hItem)) m_wndTree.SelectItem(hParent);
    // The data goes once the tree has let go of the items.
    std::vector<std::unique_ptr<CSolutionTreeItem>> taken;
    TakeItemData(hItem, taken);
    m_wndTree.DeleteItem(hItem);
}

void CSolutionExplorerPane::RemoveProtocolItems() {
    if (!m_wndTree.GetSafeHwnd()) return;
    m_wndTree.SelectItem(m_hRootItem);
    while (HTREEITEM hChild = m_wndTree.GetChildItem(m_hRootItem)) RemoveItem(hChild);
    m_wndTree.m_pCurrentRecord = nullptr;
}

void CSolutionExplorerPane::OnContextMenu(CWnd*, CPoint point) {
    if (!m_wndTree.GetSafeHwnd()) return;
    HTREEITEM hItem = nullptr;
    if (point.x == -1 && point.y == -1) {
        hItem = m_wndTree.GetSelectedItem();
        CRect rcItem;
        if (hItem && m_wndTree.GetItemRect(hItem, &rcItem, TRUE)) point = rcItem.CenterPoint();
        m_wndTree.ClientToScreen(&point);
    } else {
        CPoint ptTree = point;
        m_wndTree.ScreenToClient(&ptTree);
        hItem = m_wndTree.HitTest(ptTree);
    }
    // A right click acts on the item under it.
    if (hItem) m_wndTree.SelectItem(hItem);
    ShowFrameContextMenu(IDR_SOLUTION_TREE_MENU, 0, point);
}
