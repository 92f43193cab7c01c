#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"

#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingLayoutRecords.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CKLVDockingPaneTabbedContainer, CWnd)

// Selects the tab under a drag of anything over the window.
class CKLVDockingPaneTabbedContainer::CDropTarget : public COleDropTarget {
public:
    explicit CDropTarget(CKLVDockingPaneTabbedContainer* pContainer) : m_pContainer(pContainer) {}

    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint point) override {
        CKLVTabPainter* pPainter = m_pContainer->m_tabs.GetPaintManager();
        if (!pPainter || !pPainter->m_bSelectOnDragOver) return DROPEFFECT_NONE;
        const int nTab = m_pContainer->HitTest(point.x, point.y);
        CKLVDockingPane* pPane = nTab >= 0 ? m_pContainer->GetPaneAt(nTab) : nullptr;
        if (pPane && pPane != m_pContainer->m_pSelectedPane) m_pContainer->SelectPane(pPane, FALSE, FALSE);
        return DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState, CPoint point) override {
        return OnDragOver(pWnd, pData, dwKeyState, point);
    }

private:
    CKLVDockingPaneTabbedContainer* m_pContainer;
};

CKLVDockingPaneTabbedContainer::CKLVDockingPaneTabbedContainer(CKLVDockingLayout* pLayout)
    : CKLVDockingContainer(typeTabbedContainer, pLayout) {
    for (UINT nID : {klvCaptionButtonClose, klvCaptionButtonMaximize, klvCaptionButtonRestore,
                     klvCaptionButtonAutoHide, klvCaptionButtonMenu})
        AddCaptionButton(nID, this);
}

CKLVDockingPaneTabbedContainer::~CKLVDockingPaneTabbedContainer() {
    m_tabs.DeleteAllItems();
    m_pDropTarget.reset();
    if (m_hWnd) DestroyWindow();
}

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
    if (!CreateEx(0, "KLVDockingPaneTabbedContainer", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  CRect(0, 0, 0, 0), pSite, 0))
        return;
    // The caption buttons and the tabs name themselves through the hit test.
    EnableToolTips(TRUE);
    m_pDropTarget = std::make_unique<CDropTarget>(this);
    m_pDropTarget->Register(this);
}

void CKLVDockingPaneTabbedContainer::CreateLiveWindow() {
    // An empty holder takes its window with its first pane, as a new one does.
    if (m_hWnd || IsEmpty() || !m_pLayout || m_pLayout->IsDetached()) return;
    CreateContainerWindow();
    if (m_hWnd && m_pParentContainer && m_pParentContainer->GetType() == typeAutoHidePanel) ShowWindow(SW_HIDE);
    RequestLayout();
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
        if (CKLVTabManagerItem* pItem = FindItem(pPane); pItem && m_tabs.GetPaintManager()) m_tabs.EnsureVisible(pItem);
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
    UpdateTabs();
    pNode->SetParentContainer(nullptr);
    if (m_pParentContainer) m_pParentContainer->OnChildChanged(this);
    if (m_lstPanes.IsEmpty()) {
        CKLVDockingPaneManager* pManager = GetManager();
        if (m_bActive && pManager) pManager->SetActivePane(FALSE, m_pSelectedPane);
        m_bActive = FALSE;
        m_pDropTarget.reset();
        if (m_hWnd) DestroyWindow();
    }
    RequestLayout();
    if (pNode == m_pSelectedPane) {
        // Cleared first so that the last pane (or none) counts as a new selection.
        m_pSelectedPane = nullptr;
        SelectPane(static_cast<CKLVDockingPane*>(GetLastPane()), TRUE, TRUE);
    }
    if (pNode == m_pTrackingPane) EndTabTracking();
}

void CKLVDockingPaneTabbedContainer::UpdateTabs() {
    if (m_nLockReposition) return;
    ++m_nLockReposition;
    m_tabs.DeleteAllItems();
    for (POSITION pos = GetHeadPosition(); pos;) {
        auto* pPane = static_cast<CKLVDockingPane*>(GetNext(pos));
        CKLVTabManagerItem* pItem = m_tabs.AddPaneItem(pPane);
        if (pPane == m_pSelectedPane) m_tabs.SetSelectedItem(pItem);
    }
    --m_nLockReposition;
    if (m_hWnd) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (CheckCaptionButtons(pt)) Invalidate(FALSE);
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

BOOL CKLVDockingPaneTabbedContainer::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVDockingNode::DoPropExchange(pPX);
    const long nCount = KLVExchangeChildCount(pPX, this);
    long nSelected = CKLVDockingLayoutRecords::NumberOf(m_pSelectedPane);
    PX_Long(pPX, "Selected", nSelected, 0);
    if (!KLVExchangeChildren(pPX, this, nCount, CKLVDockingLayoutRecords::Kind(typePane),
                             [this](CKLVDockingNode* pPane) { AttachPane(static_cast<CKLVDockingPane*>(pPane), FALSE); }))
        return FALSE;
    if (pPX->IsLoading()) {
        // A number that names none of these panes keeps the selection the attaching made.
        const CKLVDockingLayoutRecords* pRecords = CKLVDockingLayoutRecords::Of(pPX);
        CKLVDockingNode* pSelected = pRecords->Find(nSelected, CKLVDockingLayoutRecords::Kind(typePane));
        if (pSelected && HasChild(pSelected)) SelectPane(static_cast<CKLVDockingPane*>(pSelected), TRUE, TRUE);
    }
    return TRUE;
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

void CKLVDockingPaneTabbedContainer::ShowCaption(BOOL bShow) {
    if (m_bCaptionVisible == bShow) return;
    m_bCaptionVisible = bShow;
    RequestLayout();
}

BOOL CKLVDockingPaneTabbedContainer::IsTabsVisible() const {
    // Inside the auto-hide sliding window the panel's own tabs stand for the panes.
    const CWnd* pParent = m_hWnd ? CWnd::FromHandlePermanent(::GetParent(m_hWnd)) : nullptr;
    if (pParent && lstrcmpA(pParent->GetRuntimeClass()->m_lpszClassName, "CKLVDockingPaneAutoHideWnd") == 0)
        return FALSE;
    if (GetCount() > 1) return TRUE;
    const CKLVDockingPaneTheme* pTheme = GetPaintManager();
    return pTheme && pTheme->m_bShowTabsForOnePane;
}

BOOL CKLVDockingPaneTabbedContainer::IsCaptionVertical() const {
    const CKLVDockingPaneManager* pManager = GetManager();
    const int nSetting = pManager ? pManager->m_nCaptionDirection : 0;
    switch (nSetting) {
    case 0: return FALSE;
    case 2: {
        const int nSide = pManager->GetNodeSide(this);
        return nSide == klvDockTop || nSide == klvDockBottom;
    }
    case 3: return m_rcWindow.Width() > m_rcWindow.Height();
    default: return TRUE;
    }
}

BOOL CKLVDockingPaneTabbedContainer::IsHidden() const {
    return m_pParentContainer && m_pParentContainer->GetType() == typeAutoHidePanel;
}

CKLVDockingPane* CKLVDockingPaneTabbedContainer::GetPaneAt(int nTab) const {
    CKLVTabManagerItem* pItem = m_tabs.GetItem(nTab);
    return pItem ? m_tabs.GetItemPane(pItem) : nullptr;
}

CKLVTabManagerItem* CKLVDockingPaneTabbedContainer::FindItem(const CKLVDockingPane* pPane) const {
    for (int i = 0; i < m_tabs.GetItemCount(); i++)
        if (m_tabs.GetItemPane(m_tabs.GetItem(i)) == pPane) return m_tabs.GetItem(i);
    return nullptr;
}

CRect CKLVDockingPaneTabbedContainer::GetPaneArea(CRect rc) const {
    if (CKLVDockingPaneTheme* pTheme = GetPaintManager())
        pTheme->AdjustClientRect(const_cast<CKLVDockingPaneTabbedContainer*>(this), rc, TRUE);
    return rc;
}

int CKLVDockingPaneTabbedContainer::HitTest(int x, int y) const {
    if (!m_hWnd) return htNothing;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (IsCaptionVisible() && rcClient.PtInRect(CPoint(x, y))) {
        CRect rcBelowCaption = rcClient;
        if (CKLVDockingPaneTheme* pTheme = GetPaintManager())
            pTheme->AdjustCaptionRect(const_cast<CKLVDockingPaneTabbedContainer*>(this), rcBelowCaption);
        if (!rcBelowCaption.PtInRect(CPoint(x, y))) return htCaption;
    }
    if (!IsTabsVisible()) return htNothing;
    CKLVTabManagerItem* pItem = m_tabs.HitTest(CPoint(x, y));
    return pItem ? pItem->GetIndex() : htNothing;
}

void CKLVDockingPaneTabbedContainer::LayoutPanes(const CRect& rcPaneArea) {
    for (POSITION pos = GetHeadPosition(); pos;) {
        auto* pPane = static_cast<CKLVDockingPane*>(GetNext(pos));
        pPane->ShowPaneWindow(pPane == m_pSelectedPane);
        pPane->OnSizeParent(GetDockingSite(), rcPaneArea, nullptr);
    }
}

void CKLVDockingPaneTabbedContainer::OnSizeParent(CWnd* pSite, CRect rect, AFX_SIZEPARENTPARAMS* pParams) {
    SetDockingSite(pSite);
    m_rcWindow = rect;
    if (IsMeasuringPass(pParams)) return;
    if (m_hWnd) {
        CRect rcOld;
        GetWindowRect(&rcOld);
        if (CWnd* pParent = GetParent()) pParent->ScreenToClient(&rcOld);
        if (rcOld != rect || m_bEnsureSelectedTab) {
            SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
            Invalidate(FALSE);
        }
        m_bEnsureSelectedTab = FALSE;
    }
    UpdateTabs();
    if (CKLVDockingPaneCaptionButton* pPin = FindCaptionButton(klvCaptionButtonAutoHide)) {
        const CKLVDockingPaneManager* pManager = GetManager();
        pPin->SetState(IsHidden() ? 3 : pManager && pManager->IsFloatingSite(GetDockingSite()) ? 0 : 1);
    }
    LayoutPanes(GetPaneArea(rect));
}

void CKLVDockingPaneTabbedContainer::UpdateCaption() {
    if (!m_hWnd || !m_pParentContainer || m_nLockReposition) return;
    UpdateTabs();
    LayoutPanes(GetPaneArea(m_rcWindow));
    Invalidate(FALSE);
    m_pParentContainer->UpdateCaption();
}

void CKLVDockingPaneTabbedContainer::UpdateActiveState() {
    if (!m_hWnd || IsEmpty()) return;
    HWND hWndFocus = ::GetFocus();
    HWND hWndOwner = hWndFocus ? ::GetWindow(hWndFocus, GW_OWNER) : nullptr;
    const BOOL bActive = hWndFocus && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus) ||
                                       (hWndOwner && (hWndOwner == m_hWnd || ::IsChild(m_hWnd, hWndOwner))));
    CKLVDockingPaneManager* pManager = GetManager();
    if (bActive != m_bActive) {
        m_bActive = bActive;
        m_tabs.SetActive(bActive);
        if (pManager) pManager->SetActivePane(bActive, m_pSelectedPane);
        Invalidate(FALSE);
    } else if (bActive && pManager && pManager->GetActivePane() != m_pSelectedPane) {
        pManager->SetActivePane(TRUE, m_pSelectedPane);
    }
}

void CKLVDockingPaneTabbedContainer::SetParentContainer(CKLVDockingNode* pContainer) {
    m_pParentContainer = pContainer;
    if (!pContainer) return;
    HWND hWndParent = pContainer->GetPaneHwnd();
    if (m_hWnd && hWndParent && ::GetParent(m_hWnd) != hWndParent) ::SetParent(m_hWnd, hWndParent);
    for (POSITION pos = GetHeadPosition(); pos;) GetNext(pos)->SetDockingSite(pContainer->GetDockingSite());
}

void CKLVDockingPaneTabbedContainer::OnParentChanged(CKLVDockingNode* pNode) {
    m_pDockingSite = pNode->GetDockingSite();
    m_bCaptionVisible = TRUE;
    if (!m_hWnd) return;
    if (pNode->GetType() == typeAutoHidePanel) ShowWindow(SW_HIDE);
    // A container moved into a floating frame (or back) takes its window along.
    else if (HWND hWndSite = AfxGetSafeHwnd(m_pDockingSite); hWndSite && ::GetParent(m_hWnd) != hWndSite)
        ::SetParent(m_hWnd, hWndSite);
}

BOOL CKLVDockingPaneTabbedContainer::IsCaptionButtonVisible(CKLVDockingPaneCaptionButton* pButton) {
    const DWORD dwOptions = m_pSelectedPane ? m_pSelectedPane->GetOptions() : 0;
    switch (pButton->GetID()) {
    case klvCaptionButtonClose: return m_pSelectedPane && !(dwOptions & CKLVDockingPane::optionNoClose);
    case klvCaptionButtonAutoHide:
        return m_pSelectedPane && !(dwOptions & CKLVDockingPane::optionNoHide) && (pButton->GetState() & 1);
    case klvCaptionButtonMenu: return m_pSelectedPane && (dwOptions & CKLVDockingPane::optionMenuButton);
    case klvCaptionButtonMaximize: return CanMaximise() && !m_bMaximized;
    case klvCaptionButtonRestore: return CanMaximise() && m_bMaximized;
    default: return TRUE;
    }
}

BOOL CKLVDockingPaneTabbedContainer::CanMaximise() const {
    const CKLVDockingPaneManager* pManager = GetManager();
    if (!m_pParentContainer || m_pParentContainer->GetType() != typeSplitterContainer || !pManager ||
        !pManager->m_bAllowMaximize)
        return FALSE;
    CKLVDockingNodeList lstTabbed;
    static_cast<CKLVDockingSplitterContainer*>(m_pParentContainer)->CollectChildren(typeTabbedContainer, &lstTabbed);
    return lstTabbed.GetCount() > 1;
}

void CKLVDockingPaneTabbedContainer::Maximise() {
    if (!m_pParentContainer || m_pParentContainer->GetType() != typeSplitterContainer) return;
    CKLVDockingNodeList lstTabbed;
    static_cast<CKLVDockingSplitterContainer*>(m_pParentContainer)->CollectChildren(typeTabbedContainer, &lstTabbed);
    for (POSITION pos = lstTabbed.GetHeadPosition(); pos;) {
        auto* pTabbed = static_cast<CKLVDockingPaneTabbedContainer*>(lstTabbed.GetNext(pos));
        pTabbed->m_bMaximized = pTabbed == this;
    }
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->RecalcLayout(this, FALSE);
}

void CKLVDockingPaneTabbedContainer::Restore() {
    m_bMaximized = FALSE;
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->RecalcLayout(this, FALSE);
}

BOOL CKLVDockingPaneTabbedContainer::IsSiblingMaximised() const {
    const CKLVDockingPaneManager* pManager = GetManager();
    if (m_bMaximized || !m_pParentContainer || m_pParentContainer->GetType() != typeSplitterContainer || !pManager ||
        !pManager->m_bAllowMaximize)
        return FALSE;
    CKLVDockingNodeList lstTabbed;
    static_cast<CKLVDockingSplitterContainer*>(m_pParentContainer)->CollectChildren(typeTabbedContainer, &lstTabbed);
    for (POSITION pos = lstTabbed.GetHeadPosition(); pos;)
        if (static_cast<CKLVDockingPaneTabbedContainer*>(lstTabbed.GetNext(pos))->m_bMaximized) return TRUE;
    return FALSE;
}

void CKLVDockingPaneTabbedContainer::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const {
    CKLVDockingNode::GetMinMaxInfo(pMinMaxInfo);
    if (IsEmpty()) return;
    if (IsSiblingMaximised()) {
        const BOOL bHorizontal = static_cast<CKLVDockingSplitterContainer*>(m_pParentContainer)->IsHorizontal();
        (bHorizontal ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y) = 0;
    } else {
        for (POSITION pos = GetHeadPosition(); pos;) {
            MINMAXINFO mmi;
            GetNext(pos)->GetMinMaxInfo(&mmi);
            pMinMaxInfo->ptMinTrackSize.x = std::max(pMinMaxInfo->ptMinTrackSize.x, mmi.ptMinTrackSize.x);
            pMinMaxInfo->ptMinTrackSize.y = std::max(pMinMaxInfo->ptMinTrackSize.y, mmi.ptMinTrackSize.y);
            pMinMaxInfo->ptMaxTrackSize.x = std::min(pMinMaxInfo->ptMaxTrackSize.x, mmi.ptMaxTrackSize.x);
            pMinMaxInfo->ptMaxTrackSize.y = std::min(pMinMaxInfo->ptMaxTrackSize.y, mmi.ptMaxTrackSize.y);
        }
    }
    AddFrameToMinMaxInfo(pMinMaxInfo);
}

void CKLVDockingPaneTabbedContainer::AddFrameToMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const {
    // The caption and the tab row come on top of what the panes ask for.
    const CRect rcFull(0, 0, 1000, 1000);
    const CRect rcArea = GetPaneArea(rcFull);
    const CSize szFrame(rcFull.Width() - rcArea.Width(), rcFull.Height() - rcArea.Height());
    pMinMaxInfo->ptMinTrackSize.x += szFrame.cx;
    pMinMaxInfo->ptMinTrackSize.y += szFrame.cy;
    pMinMaxInfo->ptMaxTrackSize.x += szFrame.cx;
    pMinMaxInfo->ptMaxTrackSize.y += szFrame.cy;
}

BOOL CKLVDockingPaneTabbedContainer::PtInCaptionOrTabs(CRect& rcWindow, int x, int y) const {
    const CKLVDockingPaneTheme* pTheme = GetPaintManager();
    if (!pTheme) return FALSE;
    CRect rcCaption = rcWindow;
    if (IsCaptionVisible()) {
        if (IsCaptionVertical()) rcCaption.right = rcCaption.left + pTheme->GetCaptionHeight() + 3;
        else rcCaption.bottom = rcCaption.top + pTheme->GetCaptionHeight() + 3;
    } else if (m_pParentContainer && m_pParentContainer->GetPaneHwnd()) {
        ::GetWindowRect(m_pParentContainer->GetPaneHwnd(), &rcCaption);
    }
    if (rcCaption.PtInRect(CPoint(x, y))) return TRUE;
    if (!IsTabsVisible()) return FALSE;
    CRect rcTabs = rcWindow;
    rcTabs.top = rcTabs.bottom - pTheme->GetTabRowHeight();
    rcWindow.bottom -= pTheme->GetTabRowHeight();
    return rcTabs.PtInRect(CPoint(x, y));
}

void CKLVDockingPaneTabbedContainer::TakeFocus() {
    if (m_pSelectedPane && m_pSelectedPane->GetChild()) m_pSelectedPane->SetFocus();
    else if (m_hWnd) CWnd::SetFocus();
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->CheckFocus();
}

// ---------------------------------------------------------------------------------------------

CKLVTabPainter* CKLVDockingTabbedContainerTabs::GetPaintManager() const {
    CKLVDockingPaneTheme* pTheme = m_pContainer->GetPaintManager();
    return pTheme ? pTheme->GetPanelPaintManager() : nullptr;
}

void CKLVDockingTabbedContainerTabs::Reposition() {
    if (m_pContainer->GetSafeHwnd()) m_pContainer->Invalidate(FALSE);
    else if (CKLVDockingPaneManager* pManager = m_pContainer->GetManager()) pManager->RedrawPanes();
}

void CKLVDockingTabbedContainerTabs::RedrawControl(const RECT* lpRect, BOOL) {
    if (m_pContainer->GetSafeHwnd()) ::InvalidateRect(m_pContainer->GetSafeHwnd(), lpRect, FALSE);
}
