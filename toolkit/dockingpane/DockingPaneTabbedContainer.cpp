#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"

#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

IMPLEMENT_DYNAMIC(CKLVDockingPaneTabbedContainer, CWnd)

CKLVDockingPaneTabbedContainer::CKLVDockingPaneTabbedContainer(CKLVDockingLayout* pLayout)
    : CKLVDockingContainer(typeTabbedContainer, pLayout) {
    for (UINT nID : {klvCaptionButtonClose, klvCaptionButtonMaximize, klvCaptionButtonRestore,
                     klvCaptionButtonAutoHide, klvCaptionButtonMenu})
        AddCaptionButton(nID, this);
}

CKLVDockingPaneTabbedContainer::~CKLVDockingPaneTabbedContainer() = default;

void CKLVDockingPaneTabbedContainer::Init(CKLVDockingPane* pPane, CWnd* pSite) {
    m_pDockingSite = pSite;
    m_szDocking = pPane->m_szDocking;
    m_rcWindow = pPane->GetPaneWindowRect();
    AttachPane(pPane, TRUE);
    SelectPane(pPane, TRUE, TRUE);
}

void CKLVDockingPaneTabbedContainer::CreateContainerWindow() {
    CWnd* pSite = GetDockingSite();
    if (!AfxGetSafeHwnd(pSite)) return;
    CreateEx(0, "KLVDockingPaneTabbedContainer", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
             CRect(0, 0, 0, 0), pSite, 0);
}

void CKLVDockingPaneTabbedContainer::RequestLayout() {
    m_bEnsureSelectedTab = TRUE;
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->RecalcLayout(this, TRUE);
}

void CKLVDockingPaneTabbedContainer::AttachPane(CKLVDockingPane* pPane, BOOL bSelect) {
    if (!m_pLayout) return;
    if (!m_hWnd && !m_pLayout->IsDetached()) CreateContainerWindow();
    m_lstPanes.AddTail(pPane);
    pPane->SetParentContainer(this);
    pPane->SetDockingSite(GetDockingSite());
    RequestLayout();
    SelectPane(pPane, bSelect, TRUE);
    if (m_pParentContainer) m_pParentContainer->OnChildChanged(this);
}

void CKLVDockingPaneTabbedContainer::SelectPane(CKLVDockingPane* pPane, BOOL bActivate, BOOL bRelayout) {
    if (pPane != m_pSelectedPane) {
        m_pSelectedPane = pPane;
        if (bRelayout) {
            RequestLayout();
            if (m_pParentContainer) m_pParentContainer->OnChildChanged(this);
        } else {
            UpdateCaption();
        }
    }
    if (!bActivate) return;
    CKLVDockingPaneManager* pManager = GetManager();
    if (m_bActive && pManager) pManager->SetActivePane(TRUE, m_pSelectedPane);
    if (m_pSelectedPane) m_pSelectedPane->SetFocus();
}

void CKLVDockingPaneTabbedContainer::RemovePane(CKLVDockingNode* pNode) {
    POSITION pos = m_lstPanes.Find(pNode);
    if (!pos) return;
    m_lstPanes.RemoveAt(pos);
    pNode->SetParentContainer(nullptr);
    if (m_pParentContainer) m_pParentContainer->OnChildChanged(this);
    if (m_lstPanes.IsEmpty()) {
        CKLVDockingPaneManager* pManager = GetManager();
        if (m_bActive && pManager) pManager->SetActivePane(FALSE, m_pSelectedPane);
        m_bActive = FALSE;
        if (m_hWnd) DestroyWindow();
    }
    RequestLayout();
    if (pNode == m_pSelectedPane) {
        // Cleared first so that the last pane (or none) counts as a new selection.
        m_pSelectedPane = nullptr;
        SelectPane(static_cast<CKLVDockingPane*>(GetLastPane()), TRUE, TRUE);
    }
}

void CKLVDockingPaneTabbedContainer::CopyFrom(CKLVDockingPaneTabbedContainer* pSource, CKLVDockingNodeMap* pMap,
                                              DWORD dwIgnoredOptions) {
    m_bActive = FALSE;
    if (CKLVDockingPaneManager* pManager = GetManager()) m_pDockingSite = pManager->GetSite();
    m_pTrackingPane = nullptr;
    m_pSelectedPane = nullptr;
    m_rcWindow = pSource->m_rcWindow;
    m_szDocking = pSource->m_szDocking;
    m_bCaptionVisible = TRUE;
    m_nLockReposition = 0;

    CKLVDockingNodeList lstPanes;
    lstPanes.AddTail(&pSource->m_lstPanes);
    CKLVDockingPane* pSelect = nullptr;
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
        auto* pPane = static_cast<CKLVDockingPane*>(lstPanes.GetNext(pos));
        if (pMap) {
            auto* pClone = static_cast<CKLVDockingPane*>(pPane->Clone(m_pLayout, pMap));
            if (!pClone) continue;
            AttachPane(pClone, FALSE);
            if (pPane == pSource->m_pSelectedPane) pSelect = pClone;
        } else {
            if (pPane->GetOptions() & dwIgnoredOptions) continue;
            const BOOL bWasSelected = pPane == pSource->m_pSelectedPane;
            pSource->RemovePane(pPane);
            AttachPane(pPane, FALSE);
            if (bWasSelected || !pSelect) pSelect = pPane;
        }
    }
    if (pSelect) SelectPane(pSelect, FALSE, TRUE);
}

CKLVDockingNode* CKLVDockingPaneTabbedContainer::Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap,
                                                       DWORD dwIgnoredOptions) {
    CKLVDockingPaneManager* pManager = GetManager();
    auto* pClone =
        pManager ? static_cast<CKLVDockingPaneTabbedContainer*>(pManager->CreateNode(m_nType, pLayout)) : nullptr;
    if (!pClone) return nullptr;
    pClone->CopyFrom(this, pMap, dwIgnoredOptions);
    if (pMap) pMap->SetAt(this, pClone);
    return pClone;
}

CString CKLVDockingPaneTabbedContainer::GetCaptionText() const {
    return m_pSelectedPane ? m_pSelectedPane->GetTitle() : CString();
}

BOOL CKLVDockingPaneTabbedContainer::IsCaptionVisible() const {
    const CKLVDockingPaneTheme* pTheme = GetPaintManager();
    return m_bCaptionVisible && m_pSelectedPane && !(m_pSelectedPane->GetOptions() & CKLVDockingPane::optionNoCaption) &&
           pTheme && pTheme->m_bShowCaption;
}

BOOL CKLVDockingPaneTabbedContainer::IsHidden() const {
    return m_pParentContainer && m_pParentContainer->GetType() == typeAutoHidePanel;
}

void CKLVDockingPaneTabbedContainer::SetParentContainer(CKLVDockingNode* pContainer) {
    m_pParentContainer = pContainer;
    if (!pContainer) return;
    HWND hWndParent = pContainer->GetPaneHwnd();
    if (m_hWnd && hWndParent && ::GetParent(m_hWnd) != hWndParent) ::SetParent(m_hWnd, hWndParent);
    for (POSITION pos = GetHeadPosition(); pos;) GetNext(pos)->SetDockingSite(pContainer->GetDockingSite());
}

void CKLVDockingPaneTabbedContainer::UpdateCaption() {
    if (!m_hWnd || !m_pParentContainer || m_nLockReposition) return;
    Invalidate(FALSE);
    m_pParentContainer->UpdateCaption();
}

void CKLVDockingPaneTabbedContainer::OnParentChanged(CKLVDockingNode* pNode) {
    m_pDockingSite = pNode->GetDockingSite();
    m_bCaptionVisible = TRUE;
    if (pNode->GetType() == typeAutoHidePanel && m_hWnd) ShowWindow(SW_HIDE);
}
