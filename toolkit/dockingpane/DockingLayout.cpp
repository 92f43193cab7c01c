#include "toolkit/dockingpane/DockingLayout.h"

#include "toolkit/dockingpane/DockingClientNode.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneAutoHidePanel.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneSplitter.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"

CKLVDockingLayout::CKLVDockingLayout(CKLVDockingPaneManager* pManager) : m_pManager(pManager) {
    m_pClient = static_cast<CKLVDockingClientNode*>(pManager->CreateNode(CKLVDockingNode::typeClient, this));
    m_pTopContainer =
        static_cast<CKLVDockingSplitterContainer*>(pManager->CreateNode(CKLVDockingNode::typeSplitterContainer, this));
    if (m_pTopContainer && m_pClient) m_pTopContainer->Init(m_pClient, TRUE, pManager->GetSite());
}

CKLVDockingLayout::~CKLVDockingLayout() { Clear(); }

void CKLVDockingLayout::Clear() {
    // Take the list first: each node unlinks itself as it goes.
    CKLVDockingNodeList lstNodes;
    lstNodes.AddTail(&m_lstNodes);
    m_lstNodes.RemoveAll();
    m_lstPanes.RemoveAll();
    m_pTopContainer = nullptr;
    m_pClient = nullptr;
    for (auto& pPanel : m_pPanels) pPanel = nullptr;
    for (auto& pBar : m_pMarginBars) pBar.reset();
    for (POSITION pos = lstNodes.GetHeadPosition(); pos;) {
        CKLVDockingNode* pNode = lstNodes.GetNext(pos);
        // A container that something still holds must not stay on the site as a stale window.
        if (pNode->GetType() == CKLVDockingNode::typeTabbedContainer && pNode->GetPaneHwnd())
            static_cast<CKLVDockingPaneTabbedContainer*>(pNode)->DestroyWindow();
        pNode->ForgetLayout();
        pNode->Release();
    }
}

void CKLVDockingLayout::OnNodeDestroyed(CKLVDockingNode* pNode) {
    if (POSITION pos = m_lstNodes.Find(pNode)) m_lstNodes.RemoveAt(pos);
}

CKLVDockingPaneInfo* CKLVDockingLayout::FindPaneInfo(const CKLVDockingPane* pPane) {
    for (POSITION pos = m_lstPanes.GetHeadPosition(); pos;) {
        CKLVDockingPaneInfo& info = m_lstPanes.GetNext(pos);
        if (info.pPane == pPane) return &info;
    }
    return nullptr;
}

void CKLVDockingLayout::AddPane(CKLVDockingPane* pPane) {
    CKLVDockingPaneInfo info;
    info.pPane = pPane;
    m_lstPanes.AddTail(info);
}

void CKLVDockingLayout::Tidy() {
    CKLVDockingNodeList lstReferenced;
    for (POSITION pos = m_lstPanes.GetHeadPosition(); pos;) {
        const CKLVDockingPaneInfo& info = m_lstPanes.GetNext(pos);
        lstReferenced.AddTail(info.pDockingHolder);
        lstReferenced.AddTail(info.pFloatingHolder);
        lstReferenced.AddTail(info.pPane->GetContainer());
    }
    while (TidyPass(lstReferenced)) {
    }
}

void CKLVDockingLayout::Discard(CKLVDockingNode* pNode) {
    OnNodeDestroyed(pNode);
    pNode->ForgetLayout();
    pNode->Release();
}

// One pass; TRUE when it changed something (the pass ends there).
BOOL CKLVDockingLayout::TidyPass(const CKLVDockingNodeList& lstReferenced) {
    for (POSITION pos = m_lstNodes.GetHeadPosition(); pos;) {
        CKLVDockingNode* pNode = m_lstNodes.GetNext(pos);
        // The top container roots the tree; it is never discarded.
        if (pNode == m_pTopContainer) continue;
        CKLVDockingNode* pParent = pNode->GetContainer();
        if (pNode->GetType() == CKLVDockingNode::typeTabbedContainer) {
            if (lstReferenced.Find(pNode)) continue;
            if (pParent) pParent->RemovePane(pNode);
            Discard(pNode);
            return TRUE;
        }
        if (pNode->GetType() == CKLVDockingNode::typeMiniWnd) {
            if (static_cast<CKLVDockingPaneMiniWnd*>(pNode)->GetTopContainer()) continue;
            Discard(pNode);
            return TRUE;
        }
        if (pNode->GetType() != CKLVDockingNode::typeSplitterContainer) continue;
        auto* pSplitter = static_cast<CKLVDockingSplitterContainer*>(pNode);
        if (pSplitter->GetCount() == 0) {
            if (pParent) pParent->RemovePane(pNode);
            Discard(pNode);
            return TRUE;
        }
        if (pSplitter->GetCount() == 1 && pParent && pParent->GetType() == CKLVDockingNode::typeSplitterContainer &&
            static_cast<CKLVDockingSplitterContainer*>(pParent)->GetCount() == 1) {
            static_cast<CKLVDockingSplitterContainer*>(pParent)->TakeOnlyChild(pSplitter);
            Discard(pNode);
            return TRUE;
        }
    }
    return FALSE;
}

int CKLVDockingLayout::GetNodeSide(const CKLVDockingNode* pNode) const {
    if (!pNode) return -1;
    if (pNode->GetType() == CKLVDockingNode::typeMiniWnd) return nSideFloating;
    const CKLVDockingNode* pChild = pNode;
    const CKLVDockingSplitterContainer* pSplitter = nullptr;
    for (;;) {
        CKLVDockingNode* pParent = pChild->GetContainer();
        if (!pParent || pChild == m_pClient) return -1;
        if (pParent->GetType() == CKLVDockingNode::typeAutoHidePanel)
            return static_cast<const CKLVDockingPaneAutoHidePanel*>(pParent)->GetSide();
        if (pParent->GetType() == CKLVDockingNode::typeMiniWnd) return nSideFloating;
        if (pParent->GetType() == CKLVDockingNode::typeSplitterContainer && pParent->ContainsPane(m_pClient)) {
            pSplitter = static_cast<const CKLVDockingSplitterContainer*>(pParent);
            break;
        }
        pChild = pParent;
    }
    const CKLVDockingNode* pClientBranch = pSplitter->FindChildContaining(m_pClient);
    const BOOL bBefore = pSplitter->IsChildBefore(pChild, pClientBranch);
    if (pSplitter->IsHorizontal()) return bBefore ? klvDockLeft : klvDockRight;
    return bBefore ? klvDockTop : klvDockBottom;
}

CKLVDockingPaneAutoHidePanel* CKLVDockingLayout::GetSidePanel(const CKLVDockingNode* pNode) {
    int nSide = GetNodeSide(pNode);
    if (nSide < 0 || nSide > 3) nSide = 0;
    if (!m_pPanels[nSide]) {
        CKLVDockingNode* pNew = m_pManager->CreateNode(CKLVDockingNode::typeAutoHidePanel, this);
        if (!pNew || pNew->GetType() != CKLVDockingNode::typeAutoHidePanel) return nullptr;
        m_pPanels[nSide] = static_cast<CKLVDockingPaneAutoHidePanel*>(pNew);
        m_pPanels[nSide]->SetSide(nSide);
    }
    return m_pPanels[nSide];
}

void CKLVDockingLayout::SetPanel(int nSide, CKLVDockingPaneAutoHidePanel* pPanel) {
    if (nSide >= 0 && nSide < 4) m_pPanels[nSide] = pPanel;
}

void CKLVDockingLayout::HideNode(CKLVDockingNode* pNode) {
    CKLVDockingPaneAutoHidePanel* pPanel = GetSidePanel(pNode);
    if (!pNode || !pPanel) return;
    CKLVDockingNodeList lstPanes;
    pNode->FindPane(CKLVDockingNode::typePane, &lstPanes);
    if (CKLVDockingPaneTabbedContainer* pGroup = pPanel->FindGroupOf(lstPanes)) {
        for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
            auto* pPane = static_cast<CKLVDockingPane*>(lstPanes.GetNext(pos));
            if (pPane->GetOptions() & CKLVDockingPane::optionNoHide) continue;
            if (CKLVDockingNode* pContainer = pPane->GetContainer()) pContainer->RemovePane(pPane);
            pGroup->AttachPane(pPane, TRUE);
        }
        return;
    }
    if (pNode->GetType() == CKLVDockingNode::typePane) {
        auto* pPane = static_cast<CKLVDockingPane*>(pNode);
        if (CKLVDockingNode* pContainer = pPane->GetContainer()) pContainer->RemovePane(pPane);
        auto* pTabbed = static_cast<CKLVDockingPaneTabbedContainer*>(
            m_pManager->CreateNode(CKLVDockingNode::typeTabbedContainer, this));
        if (!pTabbed) return;
        pTabbed->Init(pPane, m_pManager->GetSite());
        pNode = pTabbed;
    } else if (pNode->GetType() == CKLVDockingNode::typeTabbedContainer) {
        pNode = pNode->Clone(this, nullptr, CKLVDockingPane::optionNoHide);
        if (!pNode) return;
    }
    pPanel->AddContainer(pNode);
}

void CKLVDockingLayout::OnSizeParent(CWnd* pSite, CRect rect, AFX_SIZEPARENTPARAMS* pParams) {
    for (CKLVDockingPaneAutoHidePanel* pPanel : m_pPanels)
        if (pPanel) pPanel->Layout(pSite, rect, !IsMeasuringPass(pParams));
    if (!IsMeasuringPass(pParams)) m_rcRootArea = rect;
    const int m = m_pManager->m_nSideMargin;
    if (!IsMeasuringPass(pParams)) {
        if (m == 0) {
            for (auto& pBar : m_pMarginBars) pBar.reset();
        } else {
            const CRect rcBars[4] = {CRect(rect.left, rect.top, rect.left + m, rect.bottom),
                                     CRect(rect.right - m, rect.top, rect.right, rect.bottom),
                                     CRect(rect.left + m, rect.top, rect.right - m, rect.top + m),
                                     CRect(rect.left + m, rect.bottom - m, rect.right - m, rect.bottom)};
            for (int nSide = 0; nSide < 4; nSide++) {
                auto& pBar = m_pMarginBars[nSide];
                if (!pBar) {
                    pBar = std::make_unique<CKLVDockingPaneSplitter>();
                    pBar->Create(m_pManager, nSide >= 2);
                }
                if (!pBar->GetSafeHwnd()) continue;
                const CRect& rc = rcBars[nSide];
                pBar->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
                pBar->Invalidate(FALSE);
            }
        }
    }
    rect.DeflateRect(m, m);
    if (m_pClient) m_pClient->OnSizeParent(pSite, rect, pParams);
    if (m_pTopContainer) m_pTopContainer->OnSizeParent(pSite, rect, pParams);
}
