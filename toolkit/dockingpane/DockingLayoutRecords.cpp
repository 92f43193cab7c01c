#include "toolkit/dockingpane/DockingLayoutRecords.h"

#include "toolkit/common/PropExchange.h"

CKLVDockingLayoutRecords::CKLVDockingLayoutRecords() { m_mapNodes.InitHashTable(17); }

CKLVDockingNode* CKLVDockingLayoutRecords::Find(long nNumber, UINT nKinds) const {
    CKLVDockingNode* pNode = nullptr;
    if (nNumber == 0 || !m_mapNodes.Lookup(nNumber, pNode) || !pNode) return nullptr;
    return (Kind(pNode->GetType()) & nKinds) ? pNode : nullptr;
}

CKLVDockingNode* CKLVDockingLayoutRecords::FindChild(long nNumber, UINT nKinds, const CKLVDockingNode* pParent) const {
    CKLVDockingNode* pNode = Find(nNumber, nKinds);
    if (!pNode || pNode->GetContainer()) return nullptr;
    for (const CKLVDockingNode* pAbove = pParent; pAbove; pAbove = pAbove->GetContainer())
        if (pAbove == pNode) return nullptr;
    return pNode;
}

CKLVDockingLayoutRecords* CKLVDockingLayoutRecords::Of(const CKLVPropExchange* pPX) {
    return pPX->IsLoading() ? static_cast<CKLVDockingLayoutRecords*>(pPX->m_pContext) : nullptr;
}

CString KLVRecordKey(long nNumber) {
    CString strKey;
    strKey.Format("Pane-%ld", nNumber);
    return strKey;
}

long KLVExchangeChildCount(CKLVPropExchange* pPX, const CKLVDockingContainer* pContainer) {
    long nCount = pPX->IsLoading() ? 0 : static_cast<long>(pContainer->GetCount());
    PX_Long(pPX, "Panes", nCount);
    const CKLVDockingLayoutRecords* pRecords = CKLVDockingLayoutRecords::Of(pPX);
    return !pRecords || pRecords->IsCountValid(nCount) ? nCount : -1;
}

BOOL KLVExchangeChildren(CKLVPropExchange* pPX, CKLVDockingContainer* pContainer, long nCount, UINT nKinds,
                         const std::function<void(CKLVDockingNode*)>& fnAttach) {
    if (pPX->IsStoring()) {
        POSITION pos = pContainer->GetHeadPosition();
        for (long i = 1; pos; ++i) {
            long nNumber = CKLVDockingLayoutRecords::NumberOf(pContainer->GetNext(pos));
            PX_Long(pPX, KLVRecordKey(i), nNumber, 0);
        }
        return TRUE;
    }
    const CKLVDockingLayoutRecords* pRecords = CKLVDockingLayoutRecords::Of(pPX);
    if (!pRecords || nCount < 0) return FALSE;
    for (long i = 1; i <= nCount; ++i) {
        long nNumber = 0;
        PX_Long(pPX, KLVRecordKey(i), nNumber, 0);
        CKLVDockingNode* pChild = pRecords->FindChild(nNumber, nKinds, pContainer);
        if (!pChild) return FALSE;
        fnAttach(pChild);
    }
    return TRUE;
}
