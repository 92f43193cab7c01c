// The manager's docking operations: creating and docking panes, toggling between docked and
// floating, holders, showing and activating panes.
#include "toolkit/dockingpane/DockingClientNode.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include <algorithm>
#include <vector>

namespace {

BOOL IsType(const CKLVDockingNode* pNode, int nType) { return pNode && pNode->GetType() == nType; }

CKLVDockingPaneTabbedContainer* AsTabbed(CKLVDockingNode* pNode) {
    return IsType(pNode, CKLVDockingNode::typeTabbedContainer) ? static_cast<CKLVDockingPaneTabbedContainer*>(pNode)
                                                               : nullptr;
}

CKLVDockingSplitterContainer* AsSplitter(CKLVDockingNode* pNode) {
    return IsType(pNode, CKLVDockingNode::typeSplitterContainer) ? static_cast<CKLVDockingSplitterContainer*>(pNode)
                                                                 : nullptr;
}

}  // namespace

CKLVDockingPane* CKLVDockingPaneManager::CreatePane(UINT nID, CRect rect, int nDirection,
                                                    CKLVDockingNode* pNeighbour) {
    if (!m_pLayout) return nullptr;
    auto* pPane = static_cast<CKLVDockingPane*>(CreateNode(CKLVDockingNode::typePane, m_pLayout));
    if (!pPane) return nullptr;
    pPane->SetID(nID);
    pPane->SetDockingRect(rect);
    m_pLayout->AddPane(pPane);
    DockNode(pPane, nDirection, pNeighbour);
    UpdateHolders();
    return pPane;
}

CKLVDockingSplitterContainer* CKLVDockingPaneManager::NewSplitter(CKLVDockingNode* pFirst, BOOL bHorizontal,
                                                                  CWnd* pSite) {
    CKLVDockingSplitterContainer* pSplitter = AsSplitter(CreateNode(CKLVDockingNode::typeSplitterContainer, m_pLayout));
    if (pSplitter) pSplitter->Init(pFirst, bHorizontal, pSite);
    return pSplitter;
}

void CKLVDockingPaneManager::DockNode(CKLVDockingNode* pNode, int nDirection, CKLVDockingNode* pNeighbour) {
    if (!m_pLayout || !pNode) return;
    CKLVDockingSplitterContainer* pTop = m_pLayout->GetTopContainer();
    if (!pNeighbour ||
        (IsType(pNeighbour, CKLVDockingNode::typePane) && (pNeighbour->IsHidden() || !pNeighbour->GetContainer())))
        pNeighbour = pTop;
    if (!pNeighbour) return;
    CWnd* pSite = pNeighbour->GetDockingSite();
    const BOOL bHorizontal = nDirection == klvDockLeft || nDirection == klvDockRight;
    const BOOL bAfter = nDirection == klvDockRight || nDirection == klvDockBottom;

    if (IsType(pNode, CKLVDockingNode::typePane)) {
        CKLVDockingPaneTabbedContainer* pTabbed = AsTabbed(CreateNode(CKLVDockingNode::typeTabbedContainer, m_pLayout));
        if (!pTabbed) return;
        pTabbed->Init(static_cast<CKLVDockingPane*>(pNode), pSite);
        pNode = pTabbed;
    }

    if (pNeighbour == pTop) {
        if (pTop->IsHorizontal() == bHorizontal) {
            pTop->InsertChild(pNode, nullptr, bAfter);
        } else {
            CKLVDockingSplitterContainer* pNewTop = NewSplitter(pTop, bHorizontal, pSite);
            if (!pNewTop) return;
            pNewTop->InsertChild(pNode, nullptr, bAfter);
            m_pLayout->SetTopContainer(pNewTop);
        }
    } else {
        CKLVDockingNode* pParent = pNeighbour->GetContainer();
        if (AsTabbed(pParent)) {
            pNeighbour = pParent;
            pParent = pParent->GetContainer();
        }
        CKLVDockingSplitterContainer* pSplitter = AsSplitter(pParent);
        if (!pSplitter) return;
        if (pSplitter->IsHorizontal() == bHorizontal) {
            pSplitter->InsertChild(pNode, pNeighbour, bAfter);
        } else {
            CKLVDockingSplitterContainer* pNew = NewSplitter(pNeighbour, bHorizontal, pSite);
            if (!pNew) return;
            pNew->InsertChild(pNode, pNeighbour, bAfter);
            pSplitter->ReplaceChild(pNeighbour, pNew);
        }
    }
    RecalcLayout(pNeighbour, TRUE);
}

void CKLVDockingPaneManager::DockPane(CKLVDockingNode* pNode, int nDirection, CKLVDockingNode* pNeighbour) {
    if (!m_pLayout || !pNode) return;
    if (CKLVDockingSplitterContainer* pSplitter = AsSplitter(pNode)) {
        CKLVDockingNodeList lstPanes;
        pSplitter->FindPane(CKLVDockingNode::typePane, &lstPanes);
        if (lstPanes.GetCount() == 1) pNode = lstPanes.GetHead();
    }
    if (IsType(pNode, CKLVDockingNode::typePane)) {
        if (CKLVDockingNode* pContainer = pNode->GetContainer()) pContainer->RemovePane(pNode);
    } else {
        pNode = pNode->Clone(m_pLayout, nullptr);
        if (!pNode) return;
    }
    DockNode(pNode, nDirection, pNeighbour);
    m_pLayout->Tidy();
    m_hwndLastFocus = nullptr;
}

CKLVDockingNode* CKLVDockingPaneManager::FloatPane(CKLVDockingNode* pNode, CRect rect) {
    if (!pNode || !m_pLayout) return nullptr;
    // Made before anything moves, so that a manager without floating frames loses no pane.
    CKLVDockingNode* pNew = CreateNode(CKLVDockingNode::typeMiniWnd, m_pLayout);
    if (!IsType(pNew, CKLVDockingNode::typeMiniWnd)) return nullptr;
    auto* pFrame = static_cast<CKLVDockingPaneMiniWnd*>(pNew);
    if (IsType(pNode, CKLVDockingNode::typePane)) {
        if (CKLVDockingNode* pContainer = pNode->GetContainer()) pContainer->RemovePane(pNode);
    } else {
        pNode = pNode->Clone(m_pLayout, nullptr);
    }
    if (pNode) pFrame->Init(pNode, rect);
    UpdateHolders();
    m_bAttachingPane = FALSE;
    return pFrame;
}

void CKLVDockingPaneManager::UpdateHolders() {
    if (!m_pLayout) return;
    CKLVDockingPaneInfoList& lstPanes = m_pLayout->GetPaneList();
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
        CKLVDockingPaneInfo& info = lstPanes.GetNext(pos);
        CKLVDockingPaneTabbedContainer* pContainer = AsTabbed(info.pPane->GetContainer());
        // A container not yet placed anywhere (a clone on its way into a new floating frame, whose
        // window sizes itself first) is neither docked nor floating: it would replace the docking
        // holder, and the pane could not go back to where it was docked.
        if (!pContainer || !pContainer->GetContainer()) continue;
        if (IsType(pContainer->GetContainer(), CKLVDockingNode::typeAutoHidePanel)) continue;
        info.pLastHolder = pContainer;
        if (IsFloatingSite(pContainer->GetDockingSite())) info.pFloatingHolder = pContainer;
        else info.pDockingHolder = pContainer;
    }
}

CKLVDockingPaneTabbedContainer* CKLVDockingPaneManager::GetHolder(CKLVDockingPane* pPane, BOOL bFloating) {
    const CKLVDockingPaneInfo* pInfo = m_pLayout ? m_pLayout->FindPaneInfo(pPane) : nullptr;
    if (!pInfo) return nullptr;
    return bFloating ? pInfo->pFloatingHolder : pInfo->pDockingHolder;
}

void CKLVDockingPaneManager::AttachToHolder(CKLVDockingNode* pNode, CKLVDockingNode* pHolder) {
    if (IsType(pHolder, CKLVDockingNode::typePane)) pHolder = pHolder->GetContainer();
    CKLVDockingPaneTabbedContainer* pTabbed = AsTabbed(pHolder);
    if (!pTabbed || !pNode) return;
    CKLVDockingNodeList lstPanes;
    if (IsType(pNode, CKLVDockingNode::typePane)) lstPanes.AddTail(pNode);
    else pNode->FindPane(CKLVDockingNode::typePane, &lstPanes);
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
        auto* pPane = static_cast<CKLVDockingPane*>(lstPanes.GetNext(pos));
        if (pPane->GetContainer() == pTabbed) continue;
        if (CKLVDockingNode* pContainer = pPane->GetContainer()) pContainer->RemovePane(pPane);
        pTabbed->AttachPane(pPane, TRUE);
    }
    m_hwndLastFocus = nullptr;
}

void CKLVDockingPaneManager::AttachPane(CKLVDockingNode* pNode, CKLVDockingNode* pHolder) {
    AttachToHolder(pNode, pHolder);
    UpdateHolders();
}

BOOL CKLVDockingPaneManager::TogglePaneDocking(CKLVDockingPane* pPane, CKLVDockingPaneTabbedContainer* pHolder) {
    if (!pPane) return FALSE;
    const BOOL bFloating = IsFloatingSite(pPane->GetDockingSite());
    const BOOL bHidden = pPane->IsHidden();
    const DWORD dwOptions = pPane->GetOptions();
    int nFirst = klvActionDocking;
    if (!bFloating && !bHidden) {
        if (dwOptions & CKLVDockingPane::optionNoFloat) return FALSE;
        nFirst = klvActionFloating;
    } else {
        if (bFloating && (dwOptions & CKLVDockingPane::optionNoDock)) return FALSE;
        if (bHidden) nFirst = klvActionUnhiding;
    }
    if (NotifyAction(nFirst, pPane, reinterpret_cast<LPARAM>(static_cast<CKLVDockingNode*>(pHolder)))) return FALSE;
    if (pHolder) {
        m_bAttachingPane = TRUE;
        AttachToHolder(pPane, pHolder);
        UpdateHolders();
        m_bAttachingPane = FALSE;
    } else {
        CKLVDockingNode* pContainer = pPane->GetContainer();
        if (!FloatPane(pPane, pContainer ? pContainer->GetScreenRect() : CRect())) return FALSE;
    }
    NotifyAction(nFirst + 1, pPane);
    return TRUE;
}

void CKLVDockingPaneManager::ToggleDocking(CKLVDockingNode* pNode) {
    if (!pNode || !m_pLayout) return;
    auto targetOf = [this](CKLVDockingPane* pPane) {
        const BOOL bDocked = !IsFloatingSite(pPane->GetDockingSite()) && !pPane->IsHidden();
        return GetHolder(pPane, bDocked);
    };
    if (IsType(pNode, CKLVDockingNode::typePane)) {
        auto* pPane = static_cast<CKLVDockingPane*>(pNode);
        TogglePaneDocking(pPane, targetOf(pPane));
    } else if (AsTabbed(pNode) || AsSplitter(pNode)) {
        CKLVDockingNodeList lstPanes;
        pNode->FindPane(CKLVDockingNode::typePane, &lstPanes);
        UINT nSelected = 0, nFocused = 0;
        for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
            auto* pPane = static_cast<CKLVDockingPane*>(lstPanes.GetNext(pos));
            if (!nSelected && pPane->IsSelected()) nSelected = pPane->GetID();
            if (!nFocused && pPane->IsFocused()) nFocused = pPane->GetID();
        }
        for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
            auto* pPane = static_cast<CKLVDockingPane*>(lstPanes.GetNext(pos));
            if (TogglePaneDocking(pPane, targetOf(pPane))) continue;
            if (pPane->GetID() == nSelected) nSelected = 0;
            if (pPane->GetID() == nFocused) nFocused = 0;
        }
        if (CKLVDockingPane* pShow = FindPane(nFocused ? nFocused : nSelected); pShow && (nFocused || nSelected))
            ShowPane(pShow, TRUE);
    }
    m_pLayout->Tidy();
    m_hwndLastFocus = nullptr;
}

void CKLVDockingPaneManager::BringPaneToTop(CKLVDockingNode* pNode) {
    if (IsType(pNode, CKLVDockingNode::typePane)) {
        ShowPane(static_cast<CKLVDockingPane*>(pNode), FALSE);
        pNode = pNode->GetContainer();
    }
    if (!pNode) return;
    if (AsTabbed(pNode)) MakeContainerVisible(pNode, nullptr, FALSE);
    CWnd* pSite = pNode->GetDockingSite();
    if (IsFloatingSite(pSite)) pSite->BringWindowToTop();
}

void CKLVDockingPaneManager::CalcDockingRect(CRect& rc, CKLVDockingNode* pNode, int nDirection,
                                             CKLVDockingNode* pNeighbour) {
    rc.SetRectEmpty();
    CKLVDockingSplitterContainer* pTop = GetTopContainer();
    if (!pNeighbour) pNeighbour = pTop;
    if (!pNeighbour) return;
    if (pNeighbour != pTop) {
        CKLVDockingNode* pParent = pNeighbour->GetContainer();
        if (AsTabbed(pParent)) {
            pNeighbour = pParent;
            pParent = pParent->GetContainer();
        }
        if (!pParent) return;
        CKLVDockingSplitterContainer* pSplitter = AsSplitter(pParent);
        const BOOL bHorizontal = nDirection == klvDockLeft || nDirection == klvDockRight;
        if (pSplitter && pSplitter->IsHorizontal() == bHorizontal) {
            rc = pSplitter->CalcDockingRect(pNode, nDirection, pNeighbour);
            return;
        }
    }
    rc = CalcDockingRectBeside(pNeighbour, pNode, nDirection);
}

BOOL CKLVDockingPaneManager::ActivateAdjacentPane(CKLVDockingPane* pCurrent, BOOL bForward) {
    if (!m_pLayout) return FALSE;
    std::vector<CKLVDockingPane*> panes;
    CKLVDockingPaneInfoList& lstPanes = m_pLayout->GetPaneList();
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;) panes.push_back(lstPanes.GetNext(pos).pPane);
    if (panes.empty()) return FALSE;
    if (!bForward) std::reverse(panes.begin(), panes.end());
    const auto itCurrent = std::find(panes.begin(), panes.end(), pCurrent);
    const size_t nStart = itCurrent == panes.end() ? panes.size() - 1 : static_cast<size_t>(itCurrent - panes.begin());
    for (size_t i = 1; i <= panes.size(); i++) {
        CKLVDockingPane* pPane = panes[(nStart + i) % panes.size()];
        if (pPane == pCurrent || !(pPane->GetEnabled() & CKLVDockingPane::enabledActive)) continue;
        ShowPane(pPane, TRUE);
        return TRUE;
    }
    return FALSE;
}
