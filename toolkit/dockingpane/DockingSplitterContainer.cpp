#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPaneManager.h"

void CKLVDockingSplitterContainer::Init(CKLVDockingNode* pFirst, BOOL bHorizontal, CWnd* pSite) {
    m_bHorizontal = bHorizontal;
    m_pDockingSite = pSite;
    m_lstPanes.AddTail(pFirst);
    OnChildAttached(pFirst);
    m_szDocking = pFirst->m_szDocking;
}

void CKLVDockingSplitterContainer::InsertChild(CKLVDockingNode* pNode, CKLVDockingNode* pNeighbour, BOOL bAfter) {
    POSITION pos = pNeighbour ? m_lstPanes.Find(pNeighbour) : nullptr;
    if (bAfter)
        m_lstPanes.InsertAfter(pos ? pos : m_lstPanes.GetTailPosition(), pNode);
    else
        m_lstPanes.InsertBefore(pos ? pos : m_lstPanes.GetHeadPosition(), pNode);
    OnChildAttached(pNode);
}

void CKLVDockingSplitterContainer::ReplaceChild(CKLVDockingNode* pOld, CKLVDockingNode* pNew) {
    POSITION pos = m_lstPanes.Find(pOld);
    if (!pos) return;
    m_lstPanes.SetAt(pos, pNew);
    OnChildAttached(pNew);
}

void CKLVDockingSplitterContainer::OnChildAttached(CKLVDockingNode* pNode) {
    pNode->SetParentContainer(this);
    pNode->SetDockingSite(GetDockingSite());
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->RecalcLayout(this, TRUE);
    if (m_pParentContainer) m_pParentContainer->OnChildChanged(this);
    pNode->OnParentChanged(this);
}

void CKLVDockingSplitterContainer::TakeOnlyChild(CKLVDockingSplitterContainer* pChild) {
    POSITION pos = m_lstPanes.Find(pChild);
    if (!pos || pChild->GetCount() != 1) return;
    CKLVDockingNode* pGrandChild = pChild->m_lstPanes.RemoveHead();
    m_lstPanes.SetAt(pos, pGrandChild);
    pGrandChild->SetParentContainer(this);
    pChild->SetParentContainer(nullptr);
}

void CKLVDockingSplitterContainer::CopyFrom(CKLVDockingSplitterContainer* pSource, BOOL bKeepEmpty,
                                            CKLVDockingNodeMap* pMap) {
    m_bHorizontal = pSource->m_bHorizontal;
    if (CKLVDockingPaneManager* pManager = GetManager()) m_pDockingSite = pManager->GetSite();
    for (POSITION pos = pSource->GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = pSource->GetNext(pos);
        if (pChild->IsEmpty() && !bKeepEmpty) continue;
        CKLVDockingNode* pClone = pChild->Clone(m_pLayout, pMap);
        if (!pClone) continue;
        m_lstPanes.AddTail(pClone);
        OnChildAttached(pClone);
    }
    m_szDocking = pSource->m_szDocking;
    m_rcWindow = pSource->m_rcWindow;
}

CKLVDockingNode* CKLVDockingSplitterContainer::Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD) {
    CKLVDockingPaneManager* pManager = GetManager();
    auto* pClone = pManager ? static_cast<CKLVDockingSplitterContainer*>(pManager->CreateNode(m_nType, pLayout)) : nullptr;
    if (!pClone) return nullptr;
    pClone->CopyFrom(this, FALSE, pMap);
    if (pMap) pMap->SetAt(this, pClone);
    return pClone;
}

BOOL CKLVDockingSplitterContainer::IsChildBefore(const CKLVDockingNode* a, const CKLVDockingNode* b) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
        const CKLVDockingNode* pChild = GetNext(pos);
        if (pChild == b) return FALSE;
        if (pChild == a) return TRUE;
    }
    return FALSE;
}

CKLVDockingNode* CKLVDockingSplitterContainer::FindChildContaining(const CKLVDockingNode* pNode) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = GetNext(pos);
        if (pChild->ContainsPane(pNode)) return pChild;
    }
    return nullptr;
}

void CKLVDockingSplitterContainer::CollectChildren(int nType, CKLVDockingNodeList* pList) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = GetNext(pos);
        if (pChild->GetType() == nType && !pChild->IsEmpty()) pList->AddTail(pChild);
    }
}

void CKLVDockingSplitterContainer::OnChildChanged(CKLVDockingNode* pNode) {
    if (m_pParentContainer) m_pParentContainer->OnChildChanged(pNode);
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->RecalcLayout(this, TRUE);
}

void CKLVDockingSplitterContainer::OnParentChanged(CKLVDockingNode* pNode) {
    m_pDockingSite = pNode->GetDockingSite();
    for (POSITION pos = GetHeadPosition(); pos;) GetNext(pos)->OnParentChanged(pNode);
}

void CKLVDockingSplitterContainer::RemovePane(CKLVDockingNode* pNode) {
    POSITION pos = m_lstPanes.Find(pNode);
    if (!pos) return;
    m_lstPanes.RemoveAt(pos);
    pNode->SetParentContainer(nullptr);
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->RecalcLayout(this, TRUE);
    if (m_pParentContainer) m_pParentContainer->OnChildChanged(this);
    if (m_lstPanes.IsEmpty() && m_pParentContainer) m_pParentContainer->RemovePane(this);
}
