#include "toolkit/dockingpane/DockingPane.h"

#include "toolkit/common/PropExchange.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingLayoutRecords.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"

namespace {

BOOL IsInside(HWND hWndOuter, HWND hWnd) { return hWnd && (hWnd == hWndOuter || ::IsChild(hWndOuter, hWnd)); }

// The tab colour, help id and tag came with this schema.
const UINT nSchemaWithTabColor = 10;

// A holder's number; loading gives back the tabbed container it names (none for 0). FALSE when a
// loaded number names anything else.
BOOL ExchangeHolder(CKLVPropExchange* pPX, LPCTSTR pszKey, CKLVDockingPaneTabbedContainer*& pHolder) {
    long nNumber = CKLVDockingLayoutRecords::NumberOf(pHolder);
    PX_Long(pPX, pszKey, nNumber, 0);
    if (pPX->IsStoring()) return TRUE;
    const CKLVDockingLayoutRecords* pRecords = CKLVDockingLayoutRecords::Of(pPX);
    CKLVDockingNode* pNode =
        pRecords ? pRecords->Find(nNumber, CKLVDockingLayoutRecords::Kind(CKLVDockingNode::typeTabbedContainer)) : nullptr;
    pHolder = static_cast<CKLVDockingPaneTabbedContainer*>(pNode);
    return nNumber == 0 || pNode;
}

template <class T>
void ExchangeInt(CKLVPropExchange* pPX, LPCTSTR pszKey, T& value, long nDefault) {
    long nValue = static_cast<long>(value);
    PX_Long(pPX, pszKey, nValue, nDefault);
    value = static_cast<T>(nValue);
}

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

BOOL CKLVDockingPane::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVDockingNode::DoPropExchange(pPX);
    PX_String(pPX, "Title", m_strTitle);
    ExchangeInt(pPX, "ID", m_nID, 0);
    PX_Long(pPX, "IconID", m_nIconID, -1);
    ExchangeInt(pPX, "Options", m_dwOptions, 0);

    CKLVDockingPaneInfo info;
    if (const CKLVDockingPaneInfo* pSaved = pPX->IsStoring() && m_pLayout ? m_pLayout->FindPaneInfo(this) : nullptr)
        info = *pSaved;
    BOOL bHolders = ExchangeHolder(pPX, "DockingHolder", info.pDockingHolder);
    bHolders = ExchangeHolder(pPX, "FloatingHolder", info.pFloatingHolder) && bHolders;
    bHolders = ExchangeHolder(pPX, "LastHolder", info.pLastHolder) && bHolders;

    PX_Long(pPX, "MinTrackX", m_ptMinTrackSize.x, 0);
    PX_Long(pPX, "MinTrackY", m_ptMinTrackSize.y, 0);
    PX_Long(pPX, "MaxTrackX", m_ptMaxTrackSize.x, nMaxTrackSize);
    PX_Long(pPX, "MaxTrackY", m_ptMaxTrackSize.y, nMaxTrackSize);
    if (pPX->GetSchema() >= nSchemaWithTabColor) {
        ExchangeInt(pPX, "TabColor", m_clrTab, -1);
        PX_Long(pPX, "HelpId", m_nHelpID, 0);
        int nTag = m_nTag;
        PX_Long(pPX, "Tag", nTag, 0);
        if (pPX->IsLoading()) m_nTag = nTag;
    }
    if (pPX->IsStoring()) return static_cast<int>(m_nID) > 0;
    if (!bHolders || !m_pLayout) return FALSE;
    info.pPane = this;
    m_pLayout->GetPaneList().AddTail(info);
    return static_cast<int>(m_nID) > 0;
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
