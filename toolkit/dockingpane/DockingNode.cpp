#include "toolkit/dockingpane/DockingNode.h"

#include "toolkit/common/PropExchange.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneManager.h"

#include <algorithm>

CKLVDockingNode::CKLVDockingNode(int nType, CKLVDockingLayout* pLayout) : m_pLayout(pLayout), m_nType(nType) {
    if (!pLayout) return;
    if (CKLVDockingPaneManager* pManager = pLayout->GetManager()) m_pDockingSite = pManager->GetSite();
    pLayout->OnNodeCreated(this);
}

CKLVDockingNode::~CKLVDockingNode() {
    // A node released outside the layout's own passes must not stay behind in its node list.
    if (m_pLayout) m_pLayout->OnNodeDestroyed(this);
}

void CKLVDockingNode::RedrawPane() {
    if (HWND hWnd = GetPaneHwnd()) ::InvalidateRect(hWnd, nullptr, FALSE);
}

void CKLVDockingNode::FindPane(int nType, CKLVDockingNodeList* pList) {
    if (m_nType == nType) pList->AddTail(this);
}

void CKLVDockingNode::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const {
    *pMinMaxInfo = MINMAXINFO{};
    pMinMaxInfo->ptMaxTrackSize = CPoint(nMaxTrackSize, nMaxTrackSize);
}

void CKLVDockingNode::OnSizeParent(CWnd* /*pSite*/, CRect rect, AFX_SIZEPARENTPARAMS* pParams) {
    m_rcWindow = rect;
    if (pParams) pParams->rect = rect;
}

void CKLVDockingNode::UpdateCaption() {
    if (m_pParentContainer) m_pParentContainer->UpdateCaption();
}

BOOL CKLVDockingNode::DoPropExchange(CKLVPropExchange* pPX) {
    PX_Long(pPX, "DockingCX", m_szDocking.cx, 0);
    PX_Long(pPX, "DockingCY", m_szDocking.cy, 0);
    if (pPX->IsLoading()) {
        // Read from outside: the layout arithmetic adds these up and must not overflow.
        m_szDocking.cx = std::clamp<LONG>(m_szDocking.cx, 0, nMaxTrackSize);
        m_szDocking.cy = std::clamp<LONG>(m_szDocking.cy, 0, nMaxTrackSize);
    }
    return TRUE;
}

CKLVDockingNode* CKLVDockingNode::Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD) {
    CKLVDockingPaneManager* pManager = GetManager();
    CKLVDockingNode* pNode = pManager ? pManager->CreateNode(m_nType, pLayout) : nullptr;
    if (pNode && pMap) pMap->SetAt(this, pNode);
    return pNode;
}

CKLVDockingPaneManager* CKLVDockingNode::GetManager() const { return m_pLayout ? m_pLayout->GetManager() : nullptr; }

CKLVDockingPaneTheme* CKLVDockingNode::GetPaintManager() const {
    CKLVDockingPaneManager* pManager = GetManager();
    return pManager ? pManager->GetPaintManager() : nullptr;
}

CRect CKLVDockingNode::GetScreenRect() const {
    CRect rc = m_rcWindow;
    CWnd* pSite = GetDockingSite();
    if (AfxGetSafeHwnd(pSite)) pSite->ClientToScreen(&rc);
    return rc;
}

CKLVDockingPaneCaptionButton* CKLVDockingNode::FindCaptionButton(UINT nID) const {
    for (const auto& pButton : m_arrCaptionButtons)
        if (pButton->GetID() == nID) return pButton.get();
    return nullptr;
}

BOOL CKLVDockingNode::CheckCaptionButtons(CPoint point) {
    BOOL bChanged = FALSE;
    for (const auto& pButton : m_arrCaptionButtons)
        if (pButton->CheckForMouseOver(point)) bChanged = TRUE;
    return bChanged;
}

void CKLVDockingNode::AddCaptionButton(UINT nID, CWnd* pOwner) {
    m_arrCaptionButtons.push_back(std::make_unique<CKLVDockingPaneCaptionButton>(nID, this, pOwner));
}

// ---------------------------------------------------------------------------------------------

BOOL CKLVDockingContainer::ContainsPane(const CKLVDockingNode* pNode) const {
    if (pNode == this) return TRUE;
    for (POSITION pos = GetHeadPosition(); pos;) {
        const BOOL bResult = GetNext(pos)->ContainsPane(pNode);
        if (bResult) return bResult;
    }
    return FALSE;
}

void CKLVDockingContainer::FindPane(int nType, CKLVDockingNodeList* pList) {
    if (m_nType == nType && !IsEmpty()) pList->AddTail(this);
    for (POSITION pos = GetHeadPosition(); pos;) GetNext(pos)->FindPane(nType, pList);
}

BOOL CKLVDockingContainer::IsEmpty() const {
    for (POSITION pos = GetHeadPosition(); pos;)
        if (!GetNext(pos)->IsEmpty()) return FALSE;
    return TRUE;
}
