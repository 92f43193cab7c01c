#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include "toolkit/dockingpane/DockingClientNode.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingLayoutRecords.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneSplitter.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

#include <algorithm>

namespace {

int SplitterSize(const CKLVDockingPaneManager* pManager) {
    const CKLVDockingPaneTheme* pTheme = pManager ? pManager->GetPaintManager() : nullptr;
    return pTheme ? pTheme->GetSplitterSize() : 0;
}

LONG& AxisLength(CSize& sz, BOOL bHorizontal) { return bHorizontal ? sz.cx : sz.cy; }

// The share of a length out of total, in 64 bits so that large sizes cannot overflow.
int ShareOf(int nAvailable, int nLength, int nTotal) {
    if (nTotal == 0) return 0;
    return static_cast<int>(static_cast<long long>(nAvailable) * nLength / nTotal);
}

// The client node of the children's layout (the manager's live one for children without).
const CKLVDockingNode* ClientNodeOf(const CKLVDockingPaneManager* pManager, const CKLVDockingNodeList& lstNodes) {
    const CKLVDockingLayout* pLayout = lstNodes.IsEmpty() ? nullptr : lstNodes.GetHead()->GetLayout();
    if (!pLayout && pManager) pLayout = pManager->GetLayout();
    return pLayout ? static_cast<const CKLVDockingNode*>(pLayout->GetClientNode()) : nullptr;
}

}  // namespace

CKLVDockingSplitterContainer::~CKLVDockingSplitterContainer() { DeleteSplitters(); }

CKLVDockingPaneSplitter* CKLVDockingSplitterContainer::OnCreateSplitter() { return new CKLVDockingPaneSplitter; }

void CKLVDockingSplitterContainer::Init(CKLVDockingNode* pFirst, BOOL bHorizontal, CWnd* pSite) {
    m_bHorizontal = bHorizontal;
    m_pDockingSite = pSite;
    m_lstPanes.AddTail(pFirst);
    OnChildAttached(pFirst);
    m_szDocking = pFirst->m_szDocking;
}

BOOL CKLVDockingSplitterContainer::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVDockingNode::DoPropExchange(pPX);
    PX_Bool(pPX, "Horiz", m_bHorizontal, FALSE);
    const long nCount = KLVExchangeChildCount(pPX, this);
    const UINT nKinds = CKLVDockingLayoutRecords::Kind(typeTabbedContainer) |
                        CKLVDockingLayoutRecords::Kind(typeSplitterContainer) | CKLVDockingLayoutRecords::Kind(typeClient);
    return KLVExchangeChildren(pPX, this, nCount, nKinds,
                               [this](CKLVDockingNode* pChild) { InsertChild(pChild, nullptr, TRUE); });
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
    UpdateSplitters();
    if (m_pParentContainer) m_pParentContainer->OnChildChanged(this);
    pNode->OnParentChanged(this);
}

void CKLVDockingSplitterContainer::TakeOnlyChild(CKLVDockingSplitterContainer* pChild) {
    POSITION pos = m_lstPanes.Find(pChild);
    if (!pos || pChild->GetCount() != 1) return;
    CKLVDockingNode* pGrandChild = pChild->m_lstPanes.RemoveHead();
    pChild->UpdateSplitters();
    m_lstPanes.SetAt(pos, pGrandChild);
    pGrandChild->SetParentContainer(this);
    pChild->SetParentContainer(nullptr);
    UpdateSplitters();
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

void CKLVDockingSplitterContainer::GetVisibleChildren(CKLVDockingNodeList* pList) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = GetNext(pos);
        if (!pChild->IsEmpty()) pList->AddTail(pChild);
    }
}

void CKLVDockingSplitterContainer::StoreChildSizes() {
    AxisLength(m_szDocking, m_bHorizontal) = m_bHorizontal ? m_rcWindow.Width() : m_rcWindow.Height();
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = GetNext(pos);
        if (pChild->IsEmpty()) continue;
        const CRect rc = pChild->GetPaneWindowRect();
        AxisLength(pChild->m_szDocking, m_bHorizontal) = m_bHorizontal ? rc.Width() : rc.Height();
    }
}

void CKLVDockingSplitterContainer::OnChildChanged(CKLVDockingNode* pNode) {
    if (m_pParentContainer) m_pParentContainer->OnChildChanged(pNode);
    UpdateSplitters();
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->RecalcLayout(this, TRUE);
}

void CKLVDockingSplitterContainer::OnParentChanged(CKLVDockingNode* pNode) {
    m_pDockingSite = pNode->GetDockingSite();
    UpdateSplitters();
    for (POSITION pos = GetHeadPosition(); pos;) GetNext(pos)->OnParentChanged(pNode);
}

void CKLVDockingSplitterContainer::RemovePane(CKLVDockingNode* pNode) {
    POSITION pos = m_lstPanes.Find(pNode);
    if (!pos) return;
    m_lstPanes.RemoveAt(pos);
    UpdateSplitters();
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->RecalcLayout(this, TRUE);
    if (m_pParentContainer) m_pParentContainer->OnChildChanged(this);
    pNode->SetParentContainer(nullptr);
    if (m_lstPanes.IsEmpty() && m_pParentContainer) m_pParentContainer->RemovePane(this);
}

void CKLVDockingSplitterContainer::DeleteSplitters() {
    while (!m_arrSplitters.empty()) {
        delete m_arrSplitters.back();
        m_arrSplitters.pop_back();
    }
}

void CKLVDockingSplitterContainer::UpdateSplitters() {
    CKLVDockingPaneManager* pManager = GetManager();
    if (m_bInLayout || !pManager || !m_pLayout || m_pLayout != pManager->GetLayout() || m_pLayout->IsDetached())
        return;
    DeleteSplitters();
    if (GetCount() < 2) return;
    CKLVDockingNode* pPrevious = nullptr;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = GetNext(pos);
        if (pChild->IsEmpty()) continue;
        if (pPrevious) {
            CKLVDockingPaneSplitter* pSplitter = OnCreateSplitter();
            pSplitter->Create(this, pPrevious, pChild);
            m_arrSplitters.push_back(pSplitter);
        }
        pPrevious = pChild;
    }
}

void CKLVDockingSplitterContainer::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const {
    CKLVDockingNode::GetMinMaxInfo(pMinMaxInfo);
    int nVisible = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        const CKLVDockingNode* pChild = GetNext(pos);
        if (pChild->IsEmpty()) continue;
        MINMAXINFO mmi;
        pChild->GetMinMaxInfo(&mmi);
        if (nVisible++ == 0) {
            *pMinMaxInfo = mmi;
            continue;
        }
        LONG& nMinAlong = m_bHorizontal ? pMinMaxInfo->ptMinTrackSize.x : pMinMaxInfo->ptMinTrackSize.y;
        LONG& nMaxAlong = m_bHorizontal ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y;
        LONG& nMinAcross = m_bHorizontal ? pMinMaxInfo->ptMinTrackSize.y : pMinMaxInfo->ptMinTrackSize.x;
        LONG& nMaxAcross = m_bHorizontal ? pMinMaxInfo->ptMaxTrackSize.y : pMinMaxInfo->ptMaxTrackSize.x;
        nMinAlong += m_bHorizontal ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
        nMaxAlong += m_bHorizontal ? mmi.ptMaxTrackSize.x : mmi.ptMaxTrackSize.y;
        nMinAcross = std::max(nMinAcross, m_bHorizontal ? mmi.ptMinTrackSize.y : mmi.ptMinTrackSize.x);
        nMaxAcross = std::min(nMaxAcross, m_bHorizontal ? mmi.ptMaxTrackSize.y : mmi.ptMaxTrackSize.x);
    }
    if (nVisible < 1) return;
    const int nBars = (nVisible - 1) * SplitterSize(GetManager());
    (m_bHorizontal ? pMinMaxInfo->ptMinTrackSize.x : pMinMaxInfo->ptMinTrackSize.y) += nBars;
    (m_bHorizontal ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y) += nBars;
}

void CKLVDockingSplitterContainer::OnSizeParent(CWnd* pSite, CRect rect, AFX_SIZEPARENTPARAMS* pParams) {
    m_rcWindow = rect;
    m_pDockingSite = pSite;
    CKLVDockingPaneManager* pManager = GetManager();
    CKLVDockingNodeList lstVisible;
    BOOL bHoldsClient = FALSE;
    CKLVDockingNode* pClient = pManager ? static_cast<CKLVDockingNode*>(pManager->GetClientNode()) : nullptr;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = GetNext(pos);
        if (!pChild->IsEmpty()) lstVisible.AddTail(pChild);
        if (pManager && pManager->m_bHideClient && pClient && pChild->ContainsPane(pClient)) bHoldsClient = TRUE;
    }
    if (lstVisible.IsEmpty()) return;
    if (bHoldsClient) pClient->OnSizeParent(pSite, CRect(0, 0, 0, 0), pParams);
    if (lstVisible.GetCount() == 1) {
        lstVisible.GetHead()->OnSizeParent(pSite, rect, pParams);
        return;
    }
    if (m_bInLayout) return;
    m_bInLayout = TRUE;
    int nTotal = 0, nAvailable = 0;
    DistributeLengths(pManager, lstVisible, rect, m_bHorizontal, TRUE, nTotal, nAvailable);
    size_t nBar = 0;
    const BOOL bMoveBars = !IsMeasuringPass(pParams);
    PlaceChildren(lstVisible, rect, m_bHorizontal, SplitterSize(pManager), nTotal, nAvailable,
                  [&](CKLVDockingNode* pChild, const CRect& rcChild, const CRect& rcBar) {
                      pChild->OnSizeParent(pSite, rcChild, pParams);
                      if (!bMoveBars || rcBar.IsRectNull() || nBar >= m_arrSplitters.size()) return TRUE;
                      CKLVDockingPaneSplitter* pSplitter = m_arrSplitters[nBar++];
                      CRect rcPlace;
                      rcPlace.IntersectRect(rcBar, m_rcWindow);
                      pSplitter->SetWindowPos(&CWnd::wndBottom, rcPlace.left, rcPlace.top, rcPlace.Width(),
                                              rcPlace.Height(), 0);
                      pSplitter->Invalidate(FALSE);
                      return TRUE;
                  });
    m_bInLayout = FALSE;
}

CRect CKLVDockingSplitterContainer::CalcDockingRect(CKLVDockingNode* pNode, int nDirection,
                                                    CKLVDockingNode* pNeighbour) const {
    CKLVDockingPaneManager* pManager = GetManager();
    if (pManager) nDirection = pManager->MirrorDirection(nDirection);
    const BOOL bAfter = nDirection == 1 || nDirection == 3;
    CKLVDockingNodeList lstNodes;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = GetNext(pos);
        if (pChild == pNode || pChild->IsEmpty()) continue;
        if (pChild == pNeighbour && !bAfter) lstNodes.AddTail(pNode);
        lstNodes.AddTail(pChild);
        if (pChild == pNeighbour && bAfter) lstNodes.AddTail(pNode);
    }
    CRect rc = CalcNodeRect(pManager, m_bHorizontal, lstNodes, m_rcWindow, pNode);
    if (CWnd* pSite = GetDockingSite(); AfxGetSafeHwnd(pSite)) pSite->ClientToScreen(&rc);
    return rc;
}

// ---------------------------------------------------------------------------------------------

void DistributeLengths(CKLVDockingPaneManager* pManager, const CKLVDockingNodeList& lstNodes, CRect rect,
                       BOOL bHorizontal, BOOL bReset, int& nTotal, int& nAvailable) {
    nTotal = 0;
    nAvailable = 0;
    const CKLVDockingNode* pClient = ClientNodeOf(pManager, lstNodes);
    CKLVDockingNode* pFiller = nullptr;
    for (POSITION pos = lstNodes.GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = lstNodes.GetNext(pos);
        MINMAXINFO mmi;
        pChild->GetMinMaxInfo(&mmi);
        const int nMin = bHorizontal ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
        const int nMax = bHorizontal ? mmi.ptMaxTrackSize.x : mmi.ptMaxTrackSize.y;
        int nLength = std::min<int>(AxisLength(pChild->m_szDocking, bHorizontal), nMax);
        if (nMin > nLength) nLength = nMin;
        pChild->m_nLength = nLength;
        if (!pFiller && pClient && pChild->ContainsPane(pClient) &&
            !(pManager->m_bHideClient && (pChild->m_szDocking.cx || pChild->m_szDocking.cy))) {
            pFiller = pChild;
            pChild->m_nLength = 0;
            if (bReset) pChild->m_szDocking = CSize(0, 0);
        }
        nTotal += pChild->m_nLength;
    }
    const int nThickness = SplitterSize(pManager);
    nAvailable = (bHorizontal ? rect.Width() : rect.Height()) - static_cast<int>(lstNodes.GetCount() - 1) * nThickness;
    if (pFiller && nTotal < nAvailable) {
        pFiller->m_nLength = nAvailable - nTotal;
        if (bReset) AxisLength(pFiller->m_szDocking, bHorizontal) = pFiller->m_nLength;
        nTotal = nAvailable;
    }
    if (nAvailable <= 0) return;
    for (POSITION pos = lstNodes.GetHeadPosition(); pos && nTotal != 0;) {
        CKLVDockingNode* pChild = lstNodes.GetNext(pos);
        const int nLength = pChild->m_nLength;
        if (nLength < 0) continue;
        MINMAXINFO mmi;
        pChild->GetMinMaxInfo(&mmi);
        const int nMin = bHorizontal ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
        const int nMax = bHorizontal ? mmi.ptMaxTrackSize.x : mmi.ptMaxTrackSize.y;
        const int nShare = ShareOf(nAvailable, nLength, nTotal);
        if (nShare < nMin) pChild->m_nLength = -nMin;
        else if (nShare > nMax) pChild->m_nLength = -nMax;
        else continue;
        nAvailable += pChild->m_nLength;
        nTotal -= nLength;
        if (nAvailable < 0) {
            // Not even the minimums fit: this child gives up the overflow.
            pChild->m_nLength -= nAvailable;
            nAvailable = 0;
            return;
        }
        pos = lstNodes.GetHeadPosition();   // share the rest again from the first child
    }
}

void PlaceChildren(const CKLVDockingNodeList& lstNodes, CRect rect, BOOL bHorizontal, int nSplitterSize, int nTotal,
                   int nAvailable, const std::function<BOOL(CKLVDockingNode*, const CRect&, const CRect&)>& fnPlace) {
    int nStart = bHorizontal ? rect.left : rect.top;
    const int nEnd = bHorizontal ? rect.right : rect.bottom;
    for (POSITION pos = lstNodes.GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = lstNodes.GetNext(pos);
        const int nLength = pChild->m_nLength;
        int nShare = -nLength;
        if (nLength > 0) {
            nShare = ShareOf(nAvailable, nLength, nTotal);
            nTotal -= nLength;
            nAvailable = std::max(nAvailable - nShare, 0);
        }
        // The last child absorbs all rounding.
        const int nFar = pos ? nStart + nShare : nEnd;
        const CRect rcChild = bHorizontal ? CRect(nStart, rect.top, nFar, rect.bottom)
                                          : CRect(rect.left, nStart, rect.right, nFar);
        const CRect rcBar = !pos ? CRect(0, 0, 0, 0)
                            : bHorizontal ? CRect(nFar, rect.top, nFar + nSplitterSize, rect.bottom)
                                          : CRect(rect.left, nFar, rect.right, nFar + nSplitterSize);
        if (!fnPlace(pChild, rcChild, rcBar)) return;
        nStart = nFar + nSplitterSize;
    }
}

CRect CalcNodeRect(CKLVDockingPaneManager* pManager, BOOL bHorizontal, const CKLVDockingNodeList& lstNodes, CRect rect,
                   const CKLVDockingNode* pNode) {
    int nTotal = 0, nAvailable = 0;
    DistributeLengths(pManager, lstNodes, rect, bHorizontal, FALSE, nTotal, nAvailable);
    CRect rcResult(0, 0, 0, 0);
    PlaceChildren(lstNodes, rect, bHorizontal, SplitterSize(pManager), nTotal, nAvailable,
                  [&](CKLVDockingNode* pChild, const CRect& rcChild, const CRect&) {
                      if (pChild != pNode) return TRUE;
                      rcResult = rcChild;
                      return FALSE;
                  });
    return rcResult;
}

CRect CalcDockingRectBeside(CKLVDockingNode* pNeighbour, CKLVDockingNode* pNode, int nDirection) {
    CKLVDockingNodeList lstNodes;
    const BOOL bAfter = nDirection == 1 || nDirection == 3;
    lstNodes.AddTail(bAfter ? pNeighbour : pNode);
    lstNodes.AddTail(bAfter ? pNode : pNeighbour);
    return CalcNodeRect(pNeighbour->GetManager(), nDirection == 0 || nDirection == 1, lstNodes,
                        pNeighbour->GetScreenRect(), pNode);
}
