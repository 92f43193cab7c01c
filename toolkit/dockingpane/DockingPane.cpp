#include "toolkit/dockingpane/DockingPane.h"

#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"

namespace {

BOOL IsInside(HWND hWndOuter, HWND hWnd) { return hWnd && (hWnd == hWndOuter || ::IsChild(hWndOuter, hWnd)); }

}  // namespace

CKLVDockingPane::CKLVDockingPane(CKLVDockingLayout* pLayout) : CKLVDockingNode(typePane, pLayout) {}

CKLVDockingPane::~CKLVDockingPane() = default;

void CKLVDockingPane::SetFocus() {
    if (m_hwndChild && !IsInside(m_hwndChild, ::GetFocus())) ::SetFocus(m_hwndChild);
}

CString CKLVDockingPane::GetTitle() const {
    const int nBreak = m_strTitle.Find('\n');
    return nBreak < 0 ? m_strTitle : m_strTitle.Left(nBreak);
}

CString CKLVDockingPane::GetTabCaption() const {
    const int nBreak = m_strTitle.Find('\n');
    return nBreak < 0 ? m_strTitle : m_strTitle.Mid(nBreak + 1);
}

CKLVImageManagerIcon* CKLVDockingPane::GetIcon(int nWidth) const {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager) return nullptr;
    return pManager->GetPaneIcon(m_nIconID == -1 ? m_nID : static_cast<UINT>(m_nIconID), nWidth);
}

COLORREF CKLVDockingPane::GetTabColor() const {
    if (m_clrTab != COLORREF(-1)) return m_clrTab;
    if (m_hwndChild) {
        const LRESULT lResult = ::SendMessageA(m_hwndChild, KLV_WM_DOCKINGPANE_TABCOLOR, 0, 0);
        if (lResult != 0) return static_cast<COLORREF>(lResult);
    }
    // The remainder keeps the sign of the id: negative ids give values below the preset colours.
    return static_cast<COLORREF>(0x1000000 + static_cast<int>(m_nID) % 8);
}

void CKLVDockingPane::Copy(const CKLVDockingPane* pPane) {
    m_szDocking = pPane->m_szDocking;
    m_strTitle = pPane->m_strTitle;
    m_nIconID = pPane->m_nIconID;
    m_dwOptions = pPane->m_dwOptions;
    m_nTag = pPane->m_nTag;
    m_nID = pPane->m_nID;
    m_nEnabled = pPane->m_nEnabled;
    m_ptMinTrackSize = pPane->m_ptMinTrackSize;
    m_ptMaxTrackSize = pPane->m_ptMaxTrackSize;
    m_hwndChild = nullptr;
}

void CKLVDockingPane::SetID(UINT nID) {
    m_nID = nID;
    CString strTitle;
    if (strTitle.LoadString(nID)) m_strTitle = strTitle;
}

void CKLVDockingPane::SetDockingRect(const CRect& rc) {
    m_rcWindow = rc;
    m_szDocking = rc.Size();
}

DWORD CKLVDockingPane::GetOptions() const {
    const CKLVDockingPaneManager* pManager = GetManager();
    return m_dwOptions | (pManager ? pManager->m_dwDefaultPaneOptions : 0);
}

void CKLVDockingPane::Attach(CWnd* pWnd) {
    m_hwndChild = AfxGetSafeHwnd(pWnd);
    CKLVDockingPaneManager* pManager = GetManager();
    if (pManager) pManager->RedrawPanes();
    if (!m_hwndChild) return;
    if (m_pParentContainer && m_pParentContainer->GetPaneHwnd())
        ::SetParent(m_hwndChild, m_pParentContainer->GetPaneHwnd());
    if (pManager && pManager->IsInitialUpdateDone())
        CWnd::SendMessageToDescendants(m_hwndChild, WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
}

void CKLVDockingPane::Hide() {
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->HidePane(this);
}

void CKLVDockingPane::Close() {
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->ClosePane(this);
}

void CKLVDockingPane::Select() {
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->ShowPane(this, TRUE);
}

void CKLVDockingPane::ShowPaneWindow(BOOL bShow) {
    CKLVDockingPaneManager* pManager = GetManager();
    if (bShow && pManager) pManager->NotifyOwner(klvDockingPaneShowWindow, reinterpret_cast<LPARAM>(this));
    if (m_hwndChild) ::ShowWindow(m_hwndChild, bShow ? SW_SHOW : SW_HIDE);
}

BOOL CKLVDockingPane::IsFocused() const { return m_hwndChild && IsInside(m_hwndChild, ::GetFocus()); }

BOOL CKLVDockingPane::IsSelected() const {
    return m_pParentContainer && m_pParentContainer->GetType() == typeTabbedContainer &&
           static_cast<CKLVDockingPaneTabbedContainer*>(m_pParentContainer)->GetSelected() == this;
}

void CKLVDockingPane::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const {
    *pMinMaxInfo = MINMAXINFO{};
    pMinMaxInfo->ptMinTrackSize = m_ptMinTrackSize;
    pMinMaxInfo->ptMaxTrackSize = m_ptMaxTrackSize;
}

CWnd* CKLVDockingPane::GetDockingSite() const {
    return m_pParentContainer ? m_pParentContainer->GetDockingSite() : nullptr;
}

void CKLVDockingPane::SetParentContainer(CKLVDockingNode* pContainer) {
    m_pParentContainer = pContainer;
    if (!m_hwndChild) return;
    if (pContainer) {
        if (HWND hWndContainer = pContainer->GetPaneHwnd()) ::SetParent(m_hwndChild, hWndContainer);
        return;
    }
    ::ShowWindow(m_hwndChild, SW_HIDE);
    CKLVDockingPaneManager* pManager = GetManager();
    if (HWND hWndManager = AfxGetSafeHwnd(pManager)) ::SetParent(m_hwndChild, hWndManager);
    m_pDockingSite = nullptr;
}

BOOL CKLVDockingPane::IsFloating() const {
    const CKLVDockingPaneManager* pManager = GetManager();
    return m_pParentContainer && !IsHidden() && m_pParentContainer->GetPaneHwnd() && pManager &&
           pManager->IsFloatingSite(m_pParentContainer->GetDockingSite());
}

void CKLVDockingPane::OnSizeParent(CWnd* pSite, CRect rect, AFX_SIZEPARENTPARAMS* pParams) {
    m_pDockingSite = pSite;
    if (IsMeasuringPass(pParams)) return;
    m_rcWindow = rect;
    HWND hWndContainer = m_pParentContainer ? m_pParentContainer->GetPaneHwnd() : nullptr;
    if (AfxGetSafeHwnd(pSite) && hWndContainer)
        ::MapWindowPoints(pSite->m_hWnd, hWndContainer, reinterpret_cast<LPPOINT>(&rect), 2);
    if (!m_hwndChild) return;
    ::MoveWindow(m_hwndChild, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
    ::EnableWindow(m_hwndChild, (m_nEnabled & enabledActive) != 0);
}

CKLVDockingNode* CKLVDockingPane::Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD) {
    CKLVDockingPaneManager* pManager = GetManager();
    auto* pPane = pManager ? static_cast<CKLVDockingPane*>(pManager->CreateNode(typePane, pLayout)) : nullptr;
    if (!pPane) return nullptr;
    pPane->Copy(this);
    if (pMap) pMap->SetAt(this, pPane);
    return pPane;
}

std::vector<CKLVDockingPane*> KLVPanesOf(CKLVDockingNode* pNode) {
    std::vector<CKLVDockingPane*> panes;
    if (!pNode) return panes;
    CKLVDockingNodeList lstPanes;
    pNode->FindPane(CKLVDockingNode::typePane, &lstPanes);
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;)
        panes.push_back(static_cast<CKLVDockingPane*>(lstPanes.GetNext(pos)));
    return panes;
}
