#include "toolkit/dockingpane/DockingPaneMiniWnd.h"

#include "classlib/WindowMessages.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/MultiMonitor.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CKLVDockingPaneMiniWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CKLVDockingPaneMiniWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_GETMINMAXINFO()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_TIMER()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_NCACTIVATE()
    ON_WM_NCMOUSEMOVE()
    ON_MESSAGE(WM_SIZING, OnSizingMessage)
END_MESSAGE_MAP()

int CKLVDockingPaneMiniWnd::s_nAnimationInterval = 16;
int CKLVDockingPaneMiniWnd::s_nAnimationDuration = 128;
BOOL CKLVDockingPaneMiniWnd::s_bShowAutoHideButton = TRUE;

namespace {

const UINT kHideStringID = 61457;

}  // namespace

CKLVDockingPaneMiniWnd::CKLVDockingPaneMiniWnd(CKLVDockingLayout* pLayout) : CKLVDockingNode(typeMiniWnd, pLayout) {
    for (UINT nID : {klvCaptionButtonClose, klvCaptionButtonAutoHide, klvCaptionButtonMenu}) AddCaptionButton(nID, this);
}

CKLVDockingPaneMiniWnd::~CKLVDockingPaneMiniWnd() {
    if (m_hWnd) DestroyWindow();
}

BOOL CKLVDockingPaneMiniWnd::Create(CRect rect) {
    CKLVDockingPaneManager* pManager = GetManager();
    CWnd* pSite = pManager ? pManager->GetSite() : nullptr;
    if (!AfxGetSafeHwnd(pSite)) return FALSE;
    CKLVMultiMonitor monitors;
    rect = monitors.KeepInWorkArea(rect, nMinVisible);

    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | MFS_BLOCKSYSMENU;
    if (pManager->m_nSyncActiveFloatingFrames > 0) dwStyle |= MFS_SYNCACTIVE;
    const DWORD dwExStyle = pManager->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
    if (!CMiniFrameWnd::CreateEx(dwExStyle, "KLVDockingPaneMiniWnd", "", dwStyle, rect, pSite, 0)) return FALSE;

    if (HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        for (UINT nCommand : {SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE}) ::DeleteMenu(hSysMenu, nCommand, MF_BYCOMMAND);
        CString strHide;
        if (strHide.LoadString(kHideStringID) && !strHide.IsEmpty()) {
            ::DeleteMenu(hSysMenu, SC_CLOSE, MF_BYCOMMAND);
            ::AppendMenuA(hSysMenu, MF_STRING, SC_CLOSE, strHide);
        }
    }
    m_bCloseEnabled = TRUE;
    EnableToolTips(TRUE);
    if (pManager->m_bThemedFloatingFrames) ModifyStyle(WS_BORDER | WS_THICKFRAME, 0, SWP_FRAMECHANGED);
    UpdateTranslucency();
    return TRUE;
}

void CKLVDockingPaneMiniWnd::Init(CKLVDockingNode* pNode, CRect rect) {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pNode || !pManager) return;
    Create(rect);
    if (pNode->GetType() == typePane) {
        auto* pTabbed =
            static_cast<CKLVDockingPaneTabbedContainer*>(pManager->CreateNode(typeTabbedContainer, m_pLayout));
        if (!pTabbed) return;
        pTabbed->Init(static_cast<CKLVDockingPane*>(pNode), this);
        pNode = pTabbed;
    }
    auto* pSplitter = static_cast<CKLVDockingSplitterContainer*>(pManager->CreateNode(typeSplitterContainer, m_pLayout));
    if (!pSplitter) return;
    pSplitter->Init(pNode, TRUE, this);
    pSplitter->SetParentContainer(this);
    m_pTopContainer = pSplitter;
    m_bCaptionUpdatePending = TRUE;
    if (m_hWnd) {
        PostMessage(WM_IDLEUPDATECMDUI);
        m_nIdleFlags |= idleLayout | idleNotify;
    }
    UpdateActiveState();
}

void CKLVDockingPaneMiniWnd::RecalcLayout(BOOL /*bNotify*/) {
    if (m_bInRecalc || !m_hWnd) return;
    m_bInRecalc = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    if (m_pTopContainer && !m_pTopContainer->IsEmpty()) {
        CRect rcClient;
        GetClientRect(&rcClient);
        AFX_SIZEPARENTPARAMS params = {};
        params.hDWP = ::BeginDeferWindowPos(8);
        params.rect = rcClient;
        m_pTopContainer->OnSizeParent(this, rcClient, &params);
        if (params.hDWP) ::EndDeferWindowPos(params.hDWP);
    } else {
        ShowWindow(SW_HIDE);
        if (m_bCollapseMode) ToggleCollapseMode();
    }
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->UpdateHolders();
    m_bInRecalc = FALSE;
}

void CKLVDockingPaneMiniWnd::RedrawPane() {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!m_hWnd || !pManager || !pManager->m_bThemedFloatingFrames) return;
    InvalidateRect(nullptr, FALSE);
    SendMessage(WM_NCPAINT);
}

void CKLVDockingPaneMiniWnd::FindPane(int nType, CKLVDockingNodeList* pList) {
    if (nType == typeMiniWnd) pList->AddTail(this);
    else if (m_pTopContainer) m_pTopContainer->FindPane(nType, pList);
}

void CKLVDockingPaneMiniWnd::CollectTabbedContainers(CKLVDockingNodeList* pList) const {
    if (m_pTopContainer) m_pTopContainer->FindPane(typeTabbedContainer, pList);
}

CKLVDockingPane* CKLVDockingPaneMiniWnd::GetSelectedPane() const {
    CKLVDockingNodeList lstContainers;
    CollectTabbedContainers(&lstContainers);
    if (lstContainers.GetCount() != 1) return nullptr;
    return static_cast<CKLVDockingPaneTabbedContainer*>(lstContainers.GetHead())->GetSelected();
}

void CKLVDockingPaneMiniWnd::UpdateActiveState() {
    if (!m_hWnd) return;
    HWND hWndFocus = ::GetFocus();
    BOOL bActive = hWndFocus && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus));
    if (!bActive && hWndFocus) {
        HWND hWndParent = ::GetWindow(hWndFocus, GW_OWNER);
        if (!hWndParent) hWndParent = ::GetParent(hWndFocus);
        HWND hWndTop = ::GetAncestor(hWndFocus, GA_ROOT);
        bActive = hWndParent && hWndTop && (hWndTop == m_hWnd || ::IsChild(m_hWnd, hWndTop));
    }
    if (bActive == m_bActive) return;
    m_bActive = bActive;
    if (CKLVDockingPaneManager* pManager = GetManager(); pManager && pManager->m_bThemedFloatingFrames)
        SendMessage(WM_NCPAINT);
    UpdateTranslucency();
}

void CKLVDockingPaneMiniWnd::UpdateTranslucency() {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!m_hWnd || !pManager) return;
    CKLVDockingPaneManager::PFNSETLAYEREDWINDOWATTRIBUTES pfnSetLayered = pManager->GetLayeredWindowAttributes();
    if (!pfnSetLayered) return;
    const int nAlpha = std::clamp(pManager->m_nFloatingFramesOpacity, 0, 255);
    if (nAlpha == 255) {
        ModifyStyleEx(WS_EX_LAYERED, 0);
        return;
    }
    ModifyStyleEx(0, WS_EX_LAYERED);
    pfnSetLayered(m_hWnd, 0, static_cast<BYTE>(m_bActive ? 255 : nAlpha), LWA_ALPHA);
}

void CKLVDockingPaneMiniWnd::OnChildChanged(CKLVDockingNode*) {
    UpdateCaption();
    UpdateActiveState();
}

void CKLVDockingPaneMiniWnd::UpdateCloseState(const CKLVDockingNodeList& lstContainers) {
    BOOL bCanClose = FALSE;
    for (POSITION pos = lstContainers.GetHeadPosition(); pos && !bCanClose;) {
        for (CKLVDockingPane* pPane : KLVPanesOf(lstContainers.GetNext(pos)))
            if (!(pPane->GetOptions() & CKLVDockingPane::optionNoClose)) bCanClose = TRUE;
    }
    // The menu is only touched when the state changes, or was off already.
    if (!(m_bCloseEnabled && bCanClose)) {
        if (HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE))
            ::EnableMenuItem(hSysMenu, SC_CLOSE, MF_BYCOMMAND | (bCanClose ? MF_ENABLED : MF_GRAYED));
    }
    m_bCloseEnabled = bCanClose;
}

void CKLVDockingPaneMiniWnd::UpdateCaption() {
    if (!m_hWnd) return;
    CKLVDockingNodeList lstContainers;
    CollectTabbedContainers(&lstContainers);
    const BOOL bSeveral = lstContainers.GetCount() > 1;
    for (POSITION pos = lstContainers.GetHeadPosition(); pos;)
        static_cast<CKLVDockingPaneTabbedContainer*>(lstContainers.GetNext(pos))->ShowCaption(bSeveral);
    CString strTitle;
    if (bSeveral) {
        if (CKLVDockingPaneManager* pManager = GetManager()) strTitle = pManager->m_strFloatingFrameCaption;
    } else if (CKLVDockingPane* pPane = GetSelectedPane()) {
        strTitle = pPane->GetTitle();
    }
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strTitle) SetWindowText(strTitle);
    if (!IsWindowVisible() && !lstContainers.IsEmpty()) ShowWindow(SW_SHOWNOACTIVATE);
    if (!lstContainers.IsEmpty()) {
        UpdateCloseState(lstContainers);
        CRect rc;
        GetWindowRect(&rc);
        MoveWindow(&rc, TRUE);
    }
    SendMessage(WM_NCPAINT);
}

void CKLVDockingPaneMiniWnd::RemovePane(CKLVDockingNode* pNode) {
    if (pNode != m_pTopContainer) return;
    m_pTopContainer = nullptr;
    pNode->SetParentContainer(nullptr);
    if (m_hWnd) ShowWindow(SW_HIDE);
    if (m_bCollapseMode) ToggleCollapseMode();
}

BOOL CKLVDockingPaneMiniWnd::IsCaptionButtonVisible(CKLVDockingPaneCaptionButton* pButton) {
    switch (pButton->GetID()) {
    case klvCaptionButtonClose: return m_bCloseEnabled;
    case klvCaptionButtonAutoHide:
        pButton->SetState(m_bCollapseMode ? 2 : 0);
        return s_bShowAutoHideButton;
    case klvCaptionButtonMenu: {
        CKLVDockingPane* pPane = GetSelectedPane();
        return pPane && (pPane->GetOptions() & CKLVDockingPane::optionMenuButton);
    }
    default: return TRUE;
    }
}

BOOL CKLVDockingPaneMiniWnd::NotifyPanes(int nAction) {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager) return FALSE;
    for (CKLVDockingPane* pPane : KLVPanesOf(m_pTopContainer))
        if (pManager->NotifyAction(nAction, pPane)) return TRUE;
    return FALSE;
}

void CKLVDockingPaneMiniWnd::ClosePanes() {
    // The last pane may leave and a tidy pass release this frame while the owner is told.
    CKLVHeldReference self(this);
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager) return;
    for (CKLVDockingPane* pPane : KLVPanesOf(m_pTopContainer)) {
        if (pPane->GetOptions() & CKLVDockingPane::optionNoClose) continue;
        CKLVHeldReference reference(pPane);
        if (pManager->NotifyAction(klvActionClosing, pPane)) continue;
        pManager->ClosePane(pPane);
        pManager->NotifyAction(klvActionClosed, pPane);
    }
}

void CKLVDockingPaneMiniWnd::OnCaptionButtonClick(CKLVDockingPaneCaptionButton* pButton) {
    if (!pButton) return;
    if (pButton->GetID() == klvCaptionButtonClose) ClosePanes();
    else if (pButton->GetID() == klvCaptionButtonAutoHide) ToggleCollapseMode();
}

void CKLVDockingPaneMiniWnd::OnClose() { ClosePanes(); }

void CKLVDockingPaneMiniWnd::OnDestroy() {
    // Kept for the saved layout and for the next float of the same content.
    GetWindowRect(&m_rcWindow);
    CMiniFrameWnd::OnDestroy();
}

void CKLVDockingPaneMiniWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
    CKLVDockingPaneManager* pManager = GetManager();
    if (nHitTest != HTCAPTION || !pManager || !m_pTopContainer) {
        Default();
        return;
    }
    CKLVHeldReference self(this);
    pManager->ToggleDocking(m_pTopContainer);
    (void)point;
}

void CKLVDockingPaneMiniWnd::OnGetMinMaxInfo(MINMAXINFO* pMMI) {
    CMiniFrameWnd::OnGetMinMaxInfo(pMMI);
    // Rolled up or rolling, the frame may be as small as its caption.
    if (!m_pTopContainer || (m_bCollapseMode && !m_bExpanded) || m_bAnimating) return;
    CRect rcWindow, rcClient;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    const CSize szFrame(rcWindow.Width() - rcClient.Width(), rcWindow.Height() - rcClient.Height());
    MINMAXINFO mmi;
    m_pTopContainer->GetMinMaxInfo(&mmi);
    pMMI->ptMinTrackSize.x = std::max(pMMI->ptMinTrackSize.x, mmi.ptMinTrackSize.x + szFrame.cx);
    pMMI->ptMinTrackSize.y = std::max(pMMI->ptMinTrackSize.y, mmi.ptMinTrackSize.y + szFrame.cy);
    pMMI->ptMaxTrackSize.x = std::min(pMMI->ptMaxTrackSize.x, mmi.ptMaxTrackSize.x + szFrame.cx);
    pMMI->ptMaxTrackSize.y = std::min(pMMI->ptMaxTrackSize.y, mmi.ptMaxTrackSize.y + szFrame.cy);
}

void CKLVDockingPaneMiniWnd::OnSetFocus(CWnd* pOldWnd) {
    CMiniFrameWnd::OnSetFocus(pOldWnd);
    CKLVDockingPaneManager* pManager = GetManager();
    if (!m_pTopContainer || !pManager || !m_pLayout->GetTopContainer() || !m_pLayout->GetClientNode()) return;
    if (CKLVDockingPane* pPane = GetSelectedPane()) pPane->SetFocus();
    pManager->CheckFocus();
}

LRESULT CKLVDockingPaneMiniWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
    if (m_bCaptionUpdatePending) {
        m_bCaptionUpdatePending = FALSE;
        UpdateCaption();
    }
    return CMiniFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
}
