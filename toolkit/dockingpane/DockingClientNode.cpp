#include "toolkit/dockingpane/DockingClientNode.h"

#include "toolkit/dockingpane/DockingPaneManager.h"

void CKLVDockingClientNode::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const {
    CKLVDockingNode::GetMinMaxInfo(pMinMaxInfo);
    const CKLVDockingPaneManager* pManager = GetManager();
    if (pManager && !pManager->m_bHideClient) pMinMaxInfo->ptMinTrackSize = CPoint(pManager->m_szClientMin);
}

BOOL CKLVDockingClientNode::IsEmpty() const {
    const CKLVDockingPaneManager* pManager = GetManager();
    return pManager && pManager->m_bHideClient;
}
