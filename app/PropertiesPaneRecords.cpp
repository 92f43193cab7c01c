// The properties pane and the protocol records: the grid a selected tree item shows with the
// record's values, and the edits the grids report, checked and stored into the record.
#include "app/PropertiesPane.h"

#include "app/ErrorBox.h"
#include "app/FieldGridRules.h"
#include "app/MainFrame.h"
#include "app/ProtocolChecks.h"
#include "app/res/Resource.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridItems.h"
#include "toolkit/propertygrid/PropertyGridView.h"

namespace {

CKLVPropertyGridItem* FindItem(CKLVPropertyGrid& grid, UINT nID) {
    return grid.GetGridView().GetCategories()->FindItem(nID);
}

void ShowValue(CKLVPropertyGridItem* pItem, const CString& strValue) {
    if (pItem) pItem->SetValue(strValue);
}

void SetReadOnly(CKLVPropertyGridItem* pItem) {
    if (pItem) pItem->SetReadOnly(TRUE);
}

void OfferNames(CKLVPropertyGridItem* pItem, const std::vector<CString>& names) {
    if (!pItem) return;
    CKLVPropertyGridItemConstraints* pConstraints = pItem->GetConstraints();
    pConstraints->RemoveAll();
    for (const CString& strName : names) pConstraints->AddConstraint(strName);
}

void OfferCharPointer(CKLVPropertyGridItem* pDataType, CFieldGridPlan::CharPointer charPointer) {
    if (!pDataType || charPointer == CFieldGridPlan::charPointerKeep) return;
    CKLVPropertyGridItemConstraints* pConstraints = pDataType->GetConstraints();
    const int nIndex = pConstraints->FindConstraint("char *");
    if (charPointer == CFieldGridPlan::charPointerOffer && nIndex < 0) pConstraints->AddConstraint("char *");
    if (charPointer == CFieldGridPlan::charPointerWithdraw && nIndex >= 0) pConstraints->RemoveAt(nIndex);
}

}  // namespace

void CPropertiesPane::ShowGrid(CKLVPropertyGrid& grid) {
    for (CKLVPropertyGrid* pGrid : {&m_wndProjectGrid, &m_wndPacketGrid, &m_wndFieldGrid, &m_wndBlankGrid})
        if (pGrid->GetSafeHwnd()) pGrid->ShowWindow(pGrid == &grid ? SW_SHOW : SW_HIDE);
}

void CPropertiesPane::ShowTreeItem(const CEditTarget& target, CProtocolRecord* pProtocol) {
    switch (target.nKind) {
    case CSolutionTreeItem::kindRoot:
        // The root of a solution with a protocol leaves the grid as it is.
        if (!pProtocol) ShowGrid(m_wndBlankGrid);
        break;
    case CSolutionTreeItem::kindHeaderGroup:
    case CSolutionTreeItem::kindPacketGroup: ShowGrid(m_wndBlankGrid); break;
    case CSolutionTreeItem::kindProtocol:
        ShowGrid(m_wndProjectGrid);
        if (pProtocol) FillProjectGrid(*pProtocol);
        break;
    case CSolutionTreeItem::kindPacket:
        ShowGrid(m_wndPacketGrid);
        if (CPacketRecord* pPacket = pProtocol ? FindPacket(*pProtocol, target.strText) : nullptr) FillPacketGrid(*pPacket);
        break;
    case CSolutionTreeItem::kindHeaderField:
    case CSolutionTreeItem::kindPacketField:
        ShowGrid(m_wndFieldGrid);
        if (pProtocol) {
            const CFieldPlace place = FindField(*pProtocol, target);
            if (place.pField) ApplyFieldPlan(SelectField(*place.pField, *place.pList));
        }
        break;
    default: break;
    }
}

void CPropertiesPane::FillProjectGrid(const CProtocolRecord& protocol) {
    CKLVPropertyGridItem* pName = m_wndProjectGrid.FindItemByCaption("Name");
    SetReadOnly(pName);
    ShowValue(pName, protocol.szName);
    ShowValue(FindItem(m_wndProjectGrid, IDS_PROTOCOL_BASED), protocol.nBasedProtocol == 0 ? "TCP" : "UDP");
    ShowValue(FindItem(m_wndProjectGrid, IDS_PROTOCOL_PLATFORM), protocol.nTargetPlatform == 0 ? "Windows" : "Unix(Linux)");
    ShowValue(FindItem(m_wndProjectGrid, IDS_PROTOCOL_LIBRARY), protocol.nLibraryType == 0 ? "dll library" : "static library");
    CKLVPropertyGridItem* pLocation = FindItem(m_wndProjectGrid, IDS_PROTOCOL_LOCATION);
    ShowValue(pLocation, protocol.strLocation);
    SetReadOnly(pLocation);
}

// The type's "0x" comes from the item's mask.
void CPropertiesPane::FillPacketGrid(const CPacketRecord& packet) {
    ShowValue(m_wndPacketGrid.FindItemByCaption("Name"), packet.szName);
    ShowValue(m_wndPacketGrid.FindItemByCaption("Type"), CodeDigits(packet.szType));
}

void CPropertiesPane::ApplyFieldPlan(const CFieldGridPlan& plan) {
    for (int nItem = 0; nItem < fgiCount; ++nItem) {
        CKLVPropertyGridItem* pItem = m_wndFieldGrid.FindItemByCaption(FieldGridCaption(nItem));
        if (!pItem) continue;
        const CFieldGridPlan::Item& item = plan.items[nItem];
        if (item.bShow) pItem->SetValue(item.strValue);
        if (item.nReadOnly != CFieldGridPlan::keep) pItem->SetReadOnly(item.nReadOnly == CFieldGridPlan::readOnly);
    }
    OfferCharPointer(m_wndFieldGrid.FindItemByCaption(FieldGridCaption(fgiDataType)), plan.charPointer);
    if (!plan.bRelatedNames) return;
    OfferNames(m_wndFieldGrid.FindItemByCaption(FieldGridCaption(fgiRelatedCount)), plan.relatedNames);
    OfferNames(m_wndFieldGrid.FindItemByCaption(FieldGridCaption(fgiRelatedLength)), plan.relatedNames);
}

void CPropertiesPane::RefreshFieldGrid(CFieldRecord& field) {
    CKLVPropertyGridItem* pDataType = m_wndFieldGrid.GetGridView().GetCategories()->FindItemByCaption("Data Type");
    ApplyFieldPlan(RefreshField(field, pDataType ? pDataType->GetValue() : CString(field.szDataType)));
}

// Code 3: an item holds a new value. A refused value is reported and the item shows the stored
// one again; a new name also becomes the tree item's text.
LRESULT CPropertiesPane::OnPropertyValueChanged(WPARAM nCode, LPARAM lParam) {
    if (nCode == KLV_PGN_VERB_CLICK) return 1;
    auto* pItem = reinterpret_cast<CKLVPropertyGridItem*>(lParam);
    auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (nCode != KLV_PGN_ITEMVALUE_CHANGED || !pItem || !pFrame) return 0;
    COfficeTreeCtrl& tree = pFrame->m_wndSolutionExplorer.m_wndTree;
    const HTREEITEM hItem = tree.GetSafeHwnd() ? tree.m_hSelectedItem : nullptr;
    const CSolutionTreeItem* pData = tree.GetTreeItem(hItem);
    if (!pData || !pData->pRecord) return 0;
    const CPropertyEdit edit = ApplyPropertyEdit(*static_cast<CProtocolRecord*>(pData->pRecord),
                                                 tree.GetEditTarget(hItem), pItem->GetID(), pItem->GetValue());
    if (edit.outcome == CPropertyEdit::refused) {
        ShowErrorBox(this, edit.strMessage);
        pItem->SetValue(edit.strShowAgain);
    }
    if (edit.bRename) tree.SetItemText(hItem, edit.strNewName);
    if (edit.pRefresh) RefreshFieldGrid(*edit.pRefresh);
    return 0;
}
