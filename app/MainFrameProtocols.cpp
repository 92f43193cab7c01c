// The protocol editor reached from the frame: the View menu's panes, the solution tree's add and
// remove commands, and the protocols kept with the project beside its solution file.
#include "app/MainFrame.h"

#include "app/res/Resource.h"
#include "toolkit/dockingpane/DockingPane.h"

#include <algorithm>

namespace {

// "<base>1", "<base>2" ...: the first that taken refuses.
template <class Taken>
CString FirstFreeName(LPCTSTR lpszBase, Taken&& taken) {
    for (int n = 1;; ++n) {
        CString strName;
        strName.Format("%s%d", lpszBase, n);
        if (!taken(strName)) return strName;
    }
}

template <class Record>
bool HasName(const std::vector<Record>& records, const CString& strName) {
    return std::any_of(records.begin(), records.end(), [&](const Record& r) { return strName == r.szName; });
}

template <class Record>
void EraseNamed(std::vector<Record>& records, const CString& strName) {
    records.erase(std::remove_if(records.begin(), records.end(), [&](const Record& r) { return strName == r.szName; }),
                  records.end());
}

CPacketRecord* FindPacket(CProtocolRecord& protocol, const CString& strName) {
    for (CPacketRecord& packet : protocol.packets)
        if (strName == packet.szName) return &packet;
    return nullptr;
}

// A field of a fixed size, ready to be edited.
CFieldRecord NewField(const CString& strName) {
    CFieldRecord field;
    CopyRecordText(field.szName, strName);
    CopyRecordText(field.szDataType, "unsigned int");
    CopyRecordText(field.szMaxLength, "4");
    return field;
}

// Fields that named the removed one as their count or length name none.
void ForgetFieldName(std::vector<CFieldRecord>& fields, const CString& strName) {
    for (CFieldRecord& field : fields) {
        if (strName == field.szRelatedCount) field.szRelatedCount[0] = '\0';
        if (strName == field.szRelatedLength) field.szRelatedLength[0] = '\0';
    }
}

struct PanePlace {
    UINT nID;
    int nDirection;
    CRect rect;
};
const PanePlace s_panePlaces[] = {{IDP_SOLUTION_EXPLORER, klvDockLeft, CRect(0, 0, 220, 300)},
                                  {IDP_PROPERTIES, klvDockRight, CRect(0, 0, 260, 300)}};

}  // namespace

// ---- The View menu.

BOOL CMainFrame::IsPaneShown(UINT nPaneID) const {
    const CKLVDockingPane* pPane = m_paneManager.FindPane(nPaneID);
    return pPane && !pPane->IsClosed() && !pPane->IsHidden();
}

void CMainFrame::ShowOrClosePane(UINT nPaneID) {
    CKLVDockingPane* pPane = m_paneManager.FindPane(nPaneID);
    if (pPane && IsPaneShown(nPaneID)) {
        m_bClosingFromView = TRUE;
        m_paneManager.ClosePane(pPane);
        m_bClosingFromView = FALSE;
        return;
    }
    if (!pPane) {
        for (const PanePlace& place : s_panePlaces)
            if (place.nID == nPaneID) pPane = m_paneManager.CreatePane(nPaneID, place.rect, place.nDirection);
        if (!pPane) return;
    }
    m_paneManager.ShowPane(pPane);
    // The window comes now, not at the next layout: the commands reach it at once.
    if (!pPane->IsAttached())
        if (CWnd* pWnd = GetPaneWindow(nPaneID)) pPane->Attach(pWnd);
    RecalcLayout();
}

void CMainFrame::OnViewSolutionExplorer() {
    ShowOrClosePane(IDP_SOLUTION_EXPLORER);
}

void CMainFrame::OnViewProperties() {
    ShowOrClosePane(IDP_PROPERTIES);
}

void CMainFrame::OnUpdateViewSolutionExplorer(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(IsPaneShown(IDP_SOLUTION_EXPLORER));
}

void CMainFrame::OnUpdateViewProperties(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(IsPaneShown(IDP_PROPERTIES));
}

// ---- The solution tree's commands.

HTREEITEM CMainFrame::GetSelectedTreeItem(CSolutionTreeItem*& pItem) const {
    pItem = nullptr;
    const COfficeTreeCtrl& tree = m_wndSolutionExplorer.m_wndTree;
    if (!tree.GetSafeHwnd()) return nullptr;
    const HTREEITEM hItem = tree.GetSelectedItem();
    pItem = tree.GetTreeItem(hItem);
    return pItem ? hItem : nullptr;
}

void CMainFrame::OnUpdateRemoveProtocol(CCmdUI* pCmdUI) {
    CSolutionTreeItem* pItem = nullptr;
    GetSelectedTreeItem(pItem);
    pCmdUI->Enable(pItem && pItem->nKind == CSolutionTreeItem::kindProtocol && pItem->pRecord);
}

void CMainFrame::OnAddProtocol() {
    const CProjectRecord* pProject = GetProject();
    if (!pProject) return;
    if (!IsPaneShown(IDP_SOLUTION_EXPLORER)) ShowOrClosePane(IDP_SOLUTION_EXPLORER);
    if (!m_wndSolutionExplorer.m_wndTree.GetSafeHwnd()) return;
    auto pProtocol = std::make_unique<CProtocolRecord>();
    const CString strName = FirstFreeName("protocol", [this](const CString& strName) {
        return std::any_of(m_protocols.begin(), m_protocols.end(), [&](const auto& p) { return strName == p->szName; });
    });
    CopyRecordText(pProtocol->szName, strName);
    pProtocol->nTargetPlatform = pProject->targetPlatform;
    pProtocol->strLocation = pProject->location.c_str();
    m_protocols.push_back(std::move(pProtocol));
    const HTREEITEM hItem = m_wndSolutionExplorer.AddProtocolItems(*m_protocols.back());
    m_wndSolutionExplorer.m_wndTree.SelectItem(hItem);
}

void CMainFrame::OnRemoveProtocol() {
    CSolutionTreeItem* pItem = nullptr;
    const HTREEITEM hItem = GetSelectedTreeItem(pItem);
    if (!pItem || pItem->nKind != CSolutionTreeItem::kindProtocol) return;
    const void* pRecord = pItem->pRecord;
    COfficeTreeCtrl& tree = m_wndSolutionExplorer.m_wndTree;
    m_wndSolutionExplorer.RemoveItem(hItem);
    if (tree.m_pCurrentRecord == pRecord) tree.m_pCurrentRecord = nullptr;
    m_protocols.erase(std::remove_if(m_protocols.begin(), m_protocols.end(),
                                     [pRecord](const auto& p) { return p.get() == pRecord; }),
                      m_protocols.end());
}

void CMainFrame::OnAddPacket() {
    CSolutionTreeItem* pItem = nullptr;
    const HTREEITEM hPackets = GetSelectedTreeItem(pItem);
    if (!pItem || pItem->nKind != CSolutionTreeItem::kindPacketGroup || !pItem->pRecord) return;
    CProtocolRecord& protocol = *static_cast<CProtocolRecord*>(pItem->pRecord);
    CPacketRecord packet;
    CopyRecordText(packet.szName, FirstFreeName("packet", [&](const CString& s) { return HasName(protocol.packets, s); }));
    // The type code: the first "0x<n>" no packet has.
    const CString strType = FirstFreeName("0x", [&](const CString& s) {
        return std::any_of(protocol.packets.begin(), protocol.packets.end(),
                           [&](const CPacketRecord& p) { return s.CompareNoCase(p.szType) == 0; });
    });
    CopyRecordText(packet.szType, strType);
    protocol.packets.push_back(packet);
    const HTREEITEM hPacket = m_wndSolutionExplorer.AddPacketItem(hPackets, protocol, protocol.packets.back());
    m_wndSolutionExplorer.m_wndTree.SelectItem(hPacket);
}

void CMainFrame::OnRemovePacket() {
    CSolutionTreeItem* pItem = nullptr;
    const HTREEITEM hItem = GetSelectedTreeItem(pItem);
    if (!pItem || pItem->nKind != CSolutionTreeItem::kindPacket || !pItem->pRecord) return;
    CProtocolRecord& protocol = *static_cast<CProtocolRecord*>(pItem->pRecord);
    const CString strName = m_wndSolutionExplorer.m_wndTree.GetItemText(hItem);
    m_wndSolutionExplorer.RemoveItem(hItem);
    EraseNamed(protocol.packets, strName);
}

void CMainFrame::OnAddField() {
    CSolutionTreeItem* pItem = nullptr;
    const HTREEITEM hList = GetSelectedTreeItem(pItem);
    if (!pItem || !pItem->pRecord) return;
    CProtocolRecord& protocol = *static_cast<CProtocolRecord*>(pItem->pRecord);
    std::vector<CFieldRecord>* pFields = nullptr;
    int nKind = CSolutionTreeItem::kindHeaderField;
    if (pItem->nKind == CSolutionTreeItem::kindHeaderGroup) {
        pFields = &protocol.headerFields;
    } else if (pItem->nKind == CSolutionTreeItem::kindPacket) {
        CPacketRecord* pPacket = FindPacket(protocol, m_wndSolutionExplorer.m_wndTree.GetItemText(hList));
        pFields = pPacket ? &pPacket->fields : nullptr;
        nKind = CSolutionTreeItem::kindPacketField;
    }
    if (!pFields) return;
    pFields->push_back(NewField(FirstFreeName("field", [&](const CString& s) { return HasName(*pFields, s); })));
    const HTREEITEM hField = m_wndSolutionExplorer.AddFieldItem(hList, protocol, pFields->back(), nKind);
    m_wndSolutionExplorer.m_wndTree.SelectItem(hField);
}

void CMainFrame::OnRemoveField() {
    CSolutionTreeItem* pItem = nullptr;
    const HTREEITEM hItem = GetSelectedTreeItem(pItem);
    if (!pItem || !pItem->pRecord) return;
    CProtocolRecord& protocol = *static_cast<CProtocolRecord*>(pItem->pRecord);
    COfficeTreeCtrl& tree = m_wndSolutionExplorer.m_wndTree;
    std::vector<CFieldRecord>* pFields = nullptr;
    if (pItem->nKind == CSolutionTreeItem::kindHeaderField) {
        pFields = &protocol.headerFields;
    } else if (pItem->nKind == CSolutionTreeItem::kindPacketField) {
        CPacketRecord* pPacket = FindPacket(protocol, tree.GetItemText(tree.GetParentItem(hItem)));
        pFields = pPacket ? &pPacket->fields : nullptr;
    }
    if (!pFields) return;
    const CString strName = tree.GetItemText(hItem);
    m_wndSolutionExplorer.RemoveItem(hItem);
    EraseNamed(*pFields, strName);
    ForgetFieldName(*pFields, strName);
}

// ---- Kept with the project.

void CMainFrame::SaveProjectProtocols() {
    const CProjectRecord* pProject = GetProject();
    if (!pProject) return;
    const std::string path = ProtocolFilePath(*pProject);
    // A project that never had a protocol gets no file.
    if (m_protocols.empty() && ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    if (!SaveProtocols(path, m_protocols)) showError("The protocols could not be written to " + path + ".", "Save");
}

void CMainFrame::LoadProjectProtocols() {
    const CProjectRecord* pProject = GetProject();
    if (!pProject) return;
    const std::string path = ProtocolFilePath(*pProject);
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    const int nResult = LoadProtocols(path, pProject->location.c_str(), m_protocols);
    if (nResult != 0) {
        showError("The protocols in " + path + " could not be read (error " + std::to_string(nResult) + ").", "Open");
        return;
    }
    if (m_wndSolutionExplorer.m_wndTree.GetSafeHwnd())
        for (const auto& pProtocol : m_protocols) m_wndSolutionExplorer.AddProtocolItems(*pProtocol);
}

void CMainFrame::ClearProtocols() {
    m_wndSolutionExplorer.RemoveProtocolItems();
    m_protocols.clear();
}

void CMainFrame::ChangeProject(const std::function<void()>& command) {
    const CProjectRecord* pBefore = GetProject();
    const std::string before = pBefore ? ProtocolFilePath(*pBefore) : std::string();
    SaveProjectProtocols();
    command();
    const CProjectRecord* pAfter = GetProject();
    if (pAfter == pBefore && (pAfter ? ProtocolFilePath(*pAfter) : std::string()) == before) return;
    // The call window belongs to the project it was opened on.
    CloseServiceCall();
    ClearProtocols();
    LoadProjectProtocols();
}
