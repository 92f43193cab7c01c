#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"

#include "classlib/FrameWnd.h"
#include "classlib/ImageList.h"
#include "classlib/Menu.h"
#include "classlib/WinApp.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/LoadedModule.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/dockingpane/DockingClientNode.h"
#include "toolkit/dockingpane/DockingDragContext.h"
#include "toolkit/dockingpane/DockingPaneAutoHidePanel.h"
#include "toolkit/dockingpane/DockingPaneKeyboardHook.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include <ole2.h>

BEGIN_MESSAGE_MAP(CKLVDockingPaneManager, CWnd)
    ON_MESSAGE(WM_GETOBJECT, OnGetObject)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
    ON_MESSAGE(WM_SYSCOMMAND, OnSysCommandMessage)
    ON_WM_DESTROY()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

CKLVDockingPaneManager::CKLVDockingPaneManager() {
    m_pTheme = CKLVDockingPaneTheme::CreateTheme(0);
    m_pTheme->m_nTheme = 0;
    m_pTheme->RefreshMetrics();
    RedrawPanes();
    m_pImageManager = new CKLVImageManager;
    m_pDragContext = std::make_unique<CKLVDockingDragContext>(this);
    if (HMODULE hUser32 = ::GetModuleHandleA("USER32"))
        m_pfnSetLayeredWindowAttributes =
            KLVProcCast<PFNSETLAYEREDWINDOWATTRIBUTES>(::GetProcAddress(hUser32, "SetLayeredWindowAttributes"));
    RegisterWindowClasses();
    m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
}

CKLVDockingPaneManager::~CKLVDockingPaneManager() {
    // The context may hold a node of the layout.
    m_pDragContext.reset();
    // A manager whose window never saw WM_DESTROY still leaves the keyboard hook.
    if (m_nKeyboardNavigateMask) CKLVDockingPaneKeyboardHook::GetInstance()->SetupKeyboardHook(this, FALSE);
    if (m_pLayout) m_pLayout->InternalRelease();
    m_pLayout = nullptr;
    ReleaseActivePane();
    m_pTheme->InternalRelease();
    m_pImageManager->InternalRelease();
    if (m_bOleInitialized) ::OleUninitialize();
}

void CKLVDockingPaneManager::RegisterWindowClasses() {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    const std::pair<LPCSTR, UINT> classes[] = {
        {"KLVDockingPaneSplitter", 0}, {"KLVDockingPaneTabbedContainer", CS_DBLCLKS},
        {"KLVDockingPaneManager", 0}, {"KLVDockingPaneAutoHidePanel", 0}, {"KLVDockingPaneMiniWnd", CS_DBLCLKS}};
    for (const auto& cls : classes) CKLVDrawHelpers::RegisterWndClass(hInstance, cls.first, cls.second);
}

CKLVDockingLayout* CKLVDockingPaneManager::CreateLayout() { return new CKLVDockingLayout(this); }

CKLVDockingNode* CKLVDockingPaneManager::CreateNode(int nType, CKLVDockingLayout* pLayout) {
    switch (nType) {
    case CKLVDockingNode::typePane: return new CKLVDockingPane(pLayout);
    case CKLVDockingNode::typeTabbedContainer: return new CKLVDockingPaneTabbedContainer(pLayout);
    case CKLVDockingNode::typeSplitterContainer: return new CKLVDockingSplitterContainer(pLayout);
    case CKLVDockingNode::typeMiniWnd: return new CKLVDockingPaneMiniWnd(pLayout);
    case CKLVDockingNode::typeClient: return new CKLVDockingClientNode(pLayout);
    case CKLVDockingNode::typeAutoHidePanel: return new CKLVDockingPaneAutoHidePanel(pLayout);
    default: return nullptr;
    }
}

BOOL CKLVDockingPaneManager::InstallDockingPanes(CWnd* pSite, BOOL bClipChildren) {
    if (!::IsWindow(AfxGetSafeHwnd(pSite)) || m_pSite) return FALSE;
    const DWORD dwClip = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (bClipChildren && (pSite->GetStyle() & dwClip) != dwClip) pSite->ModifyStyle(0, dwClip);
    if (!CreateEx(0, "KLVDockingPaneManager", "", WS_CHILD, CRect(0, 0, 0, 0), pSite, 0)) return FALSE;
    m_pSite = pSite;
    m_pLayout = CreateLayout();
    if (m_pLayout) m_pLayout->SetDetached(FALSE);

    if (HMENU hSysMenu = ::GetSystemMenu(pSite->m_hWnd, FALSE)) {
        char szText[256] = "";
        ::GetMenuStringA(hSysMenu, SC_MOVE, szText, sizeof(szText), MF_BYCOMMAND);
        m_strMove = szText[0] ? szText : "&Move";
    }
    return TRUE;
}

LRESULT CKLVDockingPaneManager::NotifyOwner(UINT nCode, LPARAM lParam) {
    HWND hWndTarget = m_hWndOwner ? m_hWndOwner : AfxGetSafeHwnd(m_pSite);
    if (!hWndTarget) return 0;
    return ::SendMessageA(hWndTarget, KLV_WM_DOCKINGPANENOTIFY, nCode, lParam);
}

BOOL CKLVDockingPaneManager::NotifyAction(int nAction, CKLVDockingPane* pPane, LPARAM lValue1, LPARAM lValue2) {
    CKLVHeldReference reference(pPane);
    CKLVDockingPaneActionRecord record = {};
    record.nAction = nAction;
    record.bCancel = pPane && !(pPane->GetEnabled() & CKLVDockingPane::enabledNoPresetCancel);
    record.pPane = pPane;
    record.lValue1 = lValue1;
    record.lValue2 = lValue2;
    NotifyOwner(klvDockingPaneAction, reinterpret_cast<LPARAM>(&record));
    return record.bCancel != 0;
}

void CKLVDockingPaneManager::ReleaseActivePane() {
    if (m_pActivePane) m_pActivePane->InternalRelease();
    m_pActivePane = nullptr;
}

void CKLVDockingPaneManager::SetActivePane(BOOL bSet, CKLVDockingPane* pPane) {
    if (bSet && pPane != m_pActivePane) {
        if (m_pActivePane) {
            NotifyAction(klvActionDeactivated, m_pActivePane);
            ReleaseActivePane();
        }
        m_pActivePane = pPane;
        if (pPane) {
            pPane->InternalAddRef();
            NotifyAction(klvActionActivated, pPane);
        }
    } else if (!bSet && pPane && pPane == m_pActivePane) {
        m_pActivePane = nullptr;
        NotifyAction(klvActionDeactivated, pPane);
        pPane->InternalRelease();
    }
}

void CKLVDockingPaneManager::SetTheme(int nTheme) {
    m_pTheme->InternalRelease();
    m_pTheme = CKLVDockingPaneTheme::CreateTheme(nTheme);
    m_pTheme->m_nTheme = nTheme;
    m_pTheme->RefreshMetrics();
    RedrawPanes();
    if (nTheme == 9) m_nStickerStyle = 1;
}

BOOL CKLVDockingPaneManager::SetIcons(UINT nIDBitmap, const int* pPaneIDs, int nCount, COLORREF clrMask) {
    CImageList images;   // destroyed on every way out
    if (nCount <= 0 || !images.Create(16, 16, ILC_COLOR24 | ILC_MASK, nCount, 1)) return FALSE;
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(nIDBitmap)) return FALSE;
    images.Add(&bitmap, clrMask);
    if (images.GetImageCount() != nCount) return FALSE;
    for (int i = 0; i < nCount; i++) {
        if (pPaneIDs[i] <= 0) continue;
        HICON hIcon = images.ExtractIcon(i);
        SetPaneIcon(static_cast<UINT>(pPaneIDs[i]), hIcon);
        ::DestroyIcon(hIcon);
    }
    return TRUE;
}

void CKLVDockingPaneManager::SetPaneIcon(UINT nPaneID, HICON hIcon) {
    m_pImageManager->SetIcon(CKLVImageManagerIconHandle(hIcon), nPaneID);
}

CKLVImageManagerIcon* CKLVDockingPaneManager::GetPaneIcon(UINT nPaneID, int nWidth) const {
    return m_pImageManager->GetImage(nPaneID, nWidth);
}

void CKLVDockingPaneManager::ClosePane(CKLVDockingPane* pPane) {
    if (!pPane) return;
    CKLVHeldReference reference(pPane);
    if (NotifyOwner(klvDockingPaneClosing, reinterpret_cast<LPARAM>(pPane)) == -1) return;
    if (CKLVDockingNode* pContainer = pPane->GetContainer()) pContainer->RemovePane(pPane);
}

void CKLVDockingPaneManager::HidePane(CKLVDockingNode* pNode) {
    if (!pNode || !m_pLayout) return;
    const BOOL bPane = pNode->GetType() == CKLVDockingNode::typePane;
    if (m_bHideGroupOnButtonClick && bPane && pNode->GetContainer()) pNode = pNode->GetContainer();
    CKLVDockingNode* pGroup = pNode->GetType() == CKLVDockingNode::typePane ? pNode->GetContainer() : pNode;
    CKLVDockingNode* pParent = pGroup ? pGroup->GetContainer() : nullptr;
    if (pParent && pParent->GetType() == CKLVDockingNode::typeAutoHidePanel) {
        // Hidden already: it only slides back.
        static_cast<CKLVDockingPaneAutoHidePanel*>(pParent)->CloseActiveWindow(FALSE);
        return;
    }
    m_pLayout->HideNode(pNode);
    RecalcLayout(nullptr, TRUE);
}

void CKLVDockingPaneManager::MakeContainerVisible(CKLVDockingNode* pContainer, CKLVDockingPane* pPane,
                                                  BOOL bSetFocus) {
    CKLVDockingNode* pParent = pContainer ? pContainer->GetContainer() : nullptr;
    if (pParent && pParent->GetType() == CKLVDockingNode::typeAutoHidePanel) {
        auto* pPanel = static_cast<CKLVDockingPaneAutoHidePanel*>(pParent);
        if (!pPane) pPane = static_cast<CKLVDockingPaneTabbedContainer*>(pContainer)->GetSelected();
        if (pPane && pPanel->GetShownPane() != pPane) pPanel->ShowPane(pPane, bSetFocus);
        return;
    }
    CWnd* pSite = pContainer ? pContainer->GetDockingSite() : nullptr;
    if (IsFloatingSite(pSite)) static_cast<CKLVDockingPaneMiniWnd*>(pSite)->Expand();
}

void CKLVDockingPaneManager::ShowPane(CKLVDockingPane* pPane, BOOL bSetFocus) {
    if (!pPane || !m_pLayout) return;
    if (!pPane->GetContainer()) {
        const CKLVDockingPaneInfo* pInfo = m_pLayout->FindPaneInfo(pPane);
        if (pInfo && pInfo->pLastHolder) pInfo->pLastHolder->AttachPane(pPane, TRUE);
    }
    CKLVDockingNode* pContainer = pPane->GetContainer();
    if (pContainer && pContainer->GetType() == CKLVDockingNode::typeTabbedContainer) {
        static_cast<CKLVDockingPaneTabbedContainer*>(pContainer)->SelectPane(pPane, bSetFocus, TRUE);
        MakeContainerVisible(pContainer, pPane, bSetFocus);
    }
    if (m_bLayoutComputed) pPane->ShowPaneWindow(TRUE);
    if (bSetFocus) pPane->SetFocus();
}

CKLVDockingPane* CKLVDockingPaneManager::FindPane(UINT nID) const {
    if (!m_pLayout) return nullptr;
    CKLVDockingPaneInfoList& lstPanes = m_pLayout->GetPaneList();
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
        CKLVDockingPane* pPane = lstPanes.GetNext(pos).pPane;
        if (pPane->GetID() == nID) return pPane;
    }
    return nullptr;
}

void CKLVDockingPaneManager::RecalcLayout(CKLVDockingNode* pNode, BOOL bDelay) {
    CWnd* pSite = pNode ? pNode->GetDockingSite() : m_pSite;
    if (!::IsWindow(AfxGetSafeHwnd(pSite))) return;
    if (pSite->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        auto* pFrame = static_cast<CFrameWnd*>(pSite);
        if (!bDelay) {
            pFrame->RecalcLayout();
            return;
        }
        pFrame->m_nIdleFlags |= CFrameWnd::idleLayout;
        pFrame->PostMessage(WM_IDLEUPDATECMDUI);
        return;
    }
    CRect rc;
    pSite->GetClientRect(&rc);
    const LPARAM lSize = MAKELPARAM(rc.Width(), rc.Height());
    if (!bDelay) {
        pSite->SendMessage(WM_SIZE, SIZE_RESTORED, lSize);
        return;
    }
    MSG msg;
    if (!::PeekMessageA(&msg, pSite->m_hWnd, WM_SIZE, WM_SIZE, PM_NOREMOVE))
        pSite->PostMessage(WM_SIZE, SIZE_RESTORED, lSize);
}

void CKLVDockingPaneManager::RedrawPanes() {
    if (!m_pLayout) return;
    CKLVDockingPaneInfoList& lstPanes = m_pLayout->GetPaneList();
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
        CKLVDockingPane* pPane = lstPanes.GetNext(pos).pPane;
        RecalcLayout(pPane, TRUE);
        // A floating frame's border and caption follow the theme too.
        if (IsFloatingSite(pPane->GetDockingSite())) static_cast<CKLVDockingPaneMiniWnd*>(pPane->GetDockingSite())->UpdateFrameStyle();
        CKLVDockingNode* pContainer = pPane->GetContainer();
        if (pContainer && pContainer->GetPaneHwnd()) ::InvalidateRect(pContainer->GetPaneHwnd(), nullptr, FALSE);
    }
}

int CKLVDockingPaneManager::GetNodeSide(const CKLVDockingNode* pNode) const {
    return m_pLayout ? m_pLayout->GetNodeSide(pNode) : -1;
}

BOOL CKLVDockingPaneManager::IsLayoutRTL() const {
    return AfxGetSafeHwnd(m_pSite) && (m_pSite->GetExStyle() & WS_EX_LAYOUTRTL);
}

int CKLVDockingPaneManager::MirrorDirection(int nDirection) const {
    if (!IsLayoutRTL()) return nDirection;
    if (nDirection == klvDockLeft) return klvDockRight;
    if (nDirection == klvDockRight) return klvDockLeft;
    return nDirection;
}

CKLVDockingNodeList* CKLVDockingPaneManager::GetNodeList() const {
    return m_pLayout ? &m_pLayout->GetNodeList() : nullptr;
}

CKLVDockingClientNode* CKLVDockingPaneManager::GetClientNode() const {
    return m_pLayout ? m_pLayout->GetClientNode() : nullptr;
}

CKLVDockingSplitterContainer* CKLVDockingPaneManager::GetTopContainer() const {
    return m_pLayout ? m_pLayout->GetTopContainer() : nullptr;
}

BOOL CKLVDockingPaneManager::IsFloatingSite(const CWnd* pSite) const {
    HWND hWnd = AfxGetSafeHwnd(pSite);
    if (!hWnd) return FALSE;
    char szClass[32] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    return lstrcmpA(szClass, "KLVDockingPaneMiniWnd") == 0;
}

void CKLVDockingPaneManager::CheckFocus() {
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus == m_hwndLastFocus || !m_pLayout) return;
    m_hwndLastFocus = hWndFocus;
    // Copied first: a container told about the focus may change the node list.
    CKLVDockingNodeList lstNodes;
    lstNodes.AddTail(&m_pLayout->GetNodeList());
    for (POSITION pos = lstNodes.GetHeadPosition(); pos;) {
        CKLVDockingNode* pNode = lstNodes.GetNext(pos);
        if (pNode->GetType() == CKLVDockingNode::typeTabbedContainer || pNode->GetType() == CKLVDockingNode::typeMiniWnd)
            pNode->UpdateActiveState();
    }
}

LRESULT CKLVDockingPaneManager::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* pParams = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!m_pLayout || !m_pLayout->GetTopContainer() || !pParams) return 0;
    m_pLayout->OnSizeParent(m_pSite, pParams->rect, pParams);
    UpdateHolders();
    m_bLayoutComputed = TRUE;
    return 0;
}

LRESULT CKLVDockingPaneManager::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    CheckFocus();
    return 0;
}

LRESULT CKLVDockingPaneManager::OnInitialUpdate(WPARAM, LPARAM) {
    if (m_pSite && m_pSite->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        auto* pFrame = static_cast<CFrameWnd*>(m_pSite);
        if (pFrame->m_nIdleFlags & CFrameWnd::idleLayout) pFrame->RecalcLayout();
    }
    CheckFocus();
    // Floating frames are windows of their own: the site's update does not reach their views.
    if (CKLVDockingNodeList* pNodes = GetNodeList()) {
        for (POSITION pos = pNodes->GetHeadPosition(); pos;) {
            CKLVDockingNode* pNode = pNodes->GetNext(pos);
            if (pNode->GetType() != CKLVDockingNode::typeMiniWnd) continue;
            auto* pFrame = static_cast<CKLVDockingPaneMiniWnd*>(pNode);
            if (!pFrame->GetSafeHwnd()) continue;
            if (pFrame->m_nIdleFlags & CFrameWnd::idleLayout) pFrame->RecalcLayout();
            CWnd::SendMessageToDescendants(pFrame->GetSafeHwnd(), WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        }
    }
    m_bInitialUpdate = TRUE;
    return 0;
}

LRESULT CKLVDockingPaneManager::OnSysCommandMessage(WPARAM wParam, LPARAM lParam) {
    const UINT nCommand = static_cast<UINT>(wParam & 0xFFF0);
    if (nCommand == SC_NEXTWINDOW || nCommand == SC_PREVWINDOW)
        return ActivateAdjacentPane(m_pActivePane, nCommand == SC_NEXTWINDOW);
    if (nCommand == SC_KEYMENU && lParam == '-' && m_pActivePane && !m_pActivePane->IsClosed() &&
        !m_pActivePane->IsHidden()) {
        ShowSystemMenu(m_pActivePane);
        return 0;
    }
    return Default();
}

void CKLVDockingPaneManager::OnDestroy() {
    if (m_nKeyboardNavigateMask) {
        m_nKeyboardNavigateMask = 0;
        CKLVDockingPaneKeyboardHook::GetInstance()->SetupKeyboardHook(this, FALSE);
    }
    CWnd::OnDestroy();
}

void CKLVDockingPaneManager::EnableKeyboardNavigate(int nMask) {
    CKLVDockingPaneKeyboardHook::GetInstance()->SetupKeyboardHook(this, nMask != 0);
    m_nKeyboardNavigateMask = nMask;
}

UINT CKLVDockingPaneManager::TrackSystemMenu(CMenu* pMenu, CPoint pt) {
    return static_cast<UINT>(::TrackPopupMenu(pMenu->GetSafeHmenu(), TPM_RETURNCMD, pt.x, pt.y, 0,
                                              AfxGetSafeHwnd(m_pSite), nullptr));
}

void CKLVDockingPaneManager::ShowSystemMenu(CKLVDockingPane* pPane) {
    CKLVDockingNode* pContainer = pPane ? pPane->GetContainer() : nullptr;
    if (!pContainer || pContainer->GetType() != CKLVDockingNode::typeTabbedContainer) return;
    auto* pTabbed = static_cast<CKLVDockingPaneTabbedContainer*>(pContainer);
    CWnd* pDockingSite = pContainer->GetDockingSite();
    CKLVDockingNode* pDragged = pContainer;
    CPoint pt(0, 0);
    if (IsFloatingSite(pDockingSite)) {
        // A floating pane's menu opens at its frame's client origin and moves the whole frame.
        pDockingSite->ClientToScreen(&pt);
        pDragged = static_cast<CKLVDockingPaneMiniWnd*>(pDockingSite)->GetTopContainer();
    } else if (pTabbed->m_hWnd) {
        CRect rcClient;
        pTabbed->GetClientRect(&rcClient);
        pt = m_pTheme->GetCaptionBand(pTabbed, rcClient).TopLeft();
        pTabbed->ClientToScreen(&pt);
    }
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    menu.InsertMenu(0, MF_BYPOSITION | MF_STRING, SC_MOVE, m_strMove);
    CKLVHeldReference paneRef(pPane);
    if (TrackSystemMenu(&menu, pt) == SC_MOVE && pDragged) m_pDragContext->Drag(pDragged, -1, -1);
}

void CKLVDockingPaneManager::OnSysColorChange() {
    m_pTheme->RefreshMetrics();
    RedrawPanes();
}

void CKLVDockingPaneManager::OnSettingChange(UINT, LPCTSTR) {
    m_pTheme->RefreshMetrics();
    RedrawPanes();
}
