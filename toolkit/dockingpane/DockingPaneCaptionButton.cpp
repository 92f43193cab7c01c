#include "toolkit/dockingpane/DockingPaneCaptionButton.h"

#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"

CKLVDockingPane* CKLVDockingPaneCaptionButton::GetOwnerPane() const {
    if (!m_pOwnerNode) return nullptr;
    if (m_pOwnerNode->GetType() == CKLVDockingNode::typeTabbedContainer)
        return static_cast<CKLVDockingPaneTabbedContainer*>(m_pOwnerNode)->GetSelected();
    if (m_pOwnerNode->GetType() == CKLVDockingNode::typeMiniWnd) {
        CKLVDockingNodeList lstPanes;
        m_pOwnerNode->FindPane(CKLVDockingNode::typePane, &lstPanes);
        if (lstPanes.GetCount() == 1) return static_cast<CKLVDockingPane*>(lstPanes.GetHead());
    }
    return nullptr;
}

BOOL CKLVDockingPaneCaptionButton::IsEnabled() const {
    const CKLVDockingPane* pPane = GetOwnerPane();
    return !pPane || (pPane->GetEnabled() & CKLVDockingPane::enabledNoPresetCancel) != 0;
}
