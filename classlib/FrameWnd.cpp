#include "classlib/FrameWnd.h"

#include "classlib/ControlBar.h"
#include "classlib/Document.h"
#include "classlib/View.h"
#include "classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_NCACTIVATE()
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::~CFrameWnd() {
    if (m_hMenuDefault) ::DestroyMenu(m_hMenuDefault);
    if (m_hAccelTable) ::DestroyAcceleratorTable(m_hAccelTable);
}

// ---------------------------------------------------------------------------------------------
// Creation.

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
    HMENU hMenu = nullptr;
    if (lpszMenuName) {
        hMenu = ::LoadMenuA(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
        if (!hMenu) return FALSE;
    }
    m_strTitle = lpszWindowName;
    const CRect rc(rect);
    // CW_USEDEFAULT in the width leaves the size to the system.
    const int cx = rc.left == CW_USEDEFAULT ? CW_USEDEFAULT : rc.Width();
    const int cy = rc.left == CW_USEDEFAULT ? CW_USEDEFAULT : rc.Height();
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rc.left, rc.top, cx, cy,
                  AfxGetSafeHwnd(pParentWnd), hMenu, pContext)) {
        if (hMenu) ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

LPCTSTR CFrameWnd::PrepareLoadFrame(UINT nIDResource) {
    m_nIDHelp = nIDResource;
    CString strFullString;
    if (strFullString.LoadString(nIDResource)) {
        const int nBreak = strFullString.Find('\n');
        m_strTitle = nBreak < 0 ? strFullString : strFullString.Left(nBreak);
    }
    LPCTSTR lpszResource = MAKEINTRESOURCEA(nIDResource);
    HINSTANCE hIconInst = AfxFindResourceHandle(lpszResource, RT_GROUP_ICON);
    HICON hIcon = hIconInst ? ::LoadIconA(hIconInst, lpszResource) : nullptr;
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                               hIcon);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    LPCTSTR lpszClass = PrepareLoadFrame(nIDResource);
    LPCTSTR lpszResource = MAKEINTRESOURCEA(nIDResource);
    HINSTANCE hMenuInst = AfxFindResourceHandle(lpszResource, RT_MENU);
    CString strTitle = m_strTitle;
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, hMenuInst ? lpszResource : nullptr, 0,
                pContext))
        return FALSE;
    m_hMenuDefault = ::GetMenu(m_hWnd);
    LoadAccelTable(lpszResource);
    if (!pContext) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR lpszResourceName) {
    if (m_hAccelTable) return FALSE;
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR);
    m_hAccelTable = hInst ? ::LoadAcceleratorsA(hInst, lpszResourceName) : nullptr;
    return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;   // "document - application"
    return TRUE;
}

CCreateContext* CFrameWnd::ContextOf(LPCREATESTRUCT lpcs) {
    return static_cast<CCreateContext*>(lpcs->lpCreateParams);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1) return -1;
    if (!OnCreateClient(lpcs, ContextOf(lpcs))) return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass) return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    CWnd* pView = DYNAMIC_DOWNCAST(CWnd, pObject);
    if (!pView) {
        delete pObject;
        return nullptr;
    }
    // A view that fails deletes itself (PostNcDestroy); a plain window is ours to delete.
    const BOOL bSelfDeleting = pView->IsKindOf(RUNTIME_CLASS(CView));
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext)) {
        if (!bSelfDeleting) delete pView;
        return nullptr;
    }
    return pView;
}

void CFrameWnd::PostNcDestroy() { delete this; }

// ---------------------------------------------------------------------------------------------
// Views and documents.

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld) return;
    m_pViewActive = nullptr;   // no notification reaches a half-changed frame
    if (bNotify && pViewOld) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    m_pViewActive = pViewNew;
    if (bNotify && pViewNew) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument() { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    if (!m_pViewActive) {
        // The first pane; inside a splitter that is the splitter's first pane.
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pWnd && !pWnd->IsKindOf(RUNTIME_CLASS(CView))) pWnd = pWnd->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CView))) SetActiveView(static_cast<CView*>(pWnd), FALSE);
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (bMakeVisible) ActivateFrame();
    if (pDoc) pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) nCmdShow = IsWindowVisible() ? (IsIconic() ? SW_RESTORE : SW_SHOW) : SW_SHOW;
    ShowWindow(nCmdShow);
    if (IsWindowVisible()) BringWindowToTop();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE)) return;
    CDocument* pDoc = GetActiveDocument();
    UpdateFrameTitleForDocument(bAddToTitle && pDoc ? static_cast<LPCTSTR>(pDoc->GetTitle()) : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName) {
    CString strText;
    if (lpszDocName && *lpszDocName) {
        CString strDoc = lpszDocName;
        if (m_nWindow > 0) strDoc.AppendFormat(":%d", m_nWindow);
        if (m_strTitle.IsEmpty()) strText = strDoc;
        else if (GetStyle() & FWS_PREFIXTITLE) strText = strDoc + " - " + m_strTitle;
        else strText = m_strTitle + " - " + strDoc;
    } else {
        strText = m_strTitle;
    }
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strText) SetWindowText(strText);
}

// ---------------------------------------------------------------------------------------------
// Layout.

void CFrameWnd::RecalcLayout(BOOL bNotify) {
    if (m_bInRecalcLayout) return;
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    (void)bNotify;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) { m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0); }

void CFrameWnd::NotifyFloatingWindows(BOOL bActive) {
    struct Notice {
        HWND hWndOwner;
        WPARAM wStatus;
    } notice = {m_hWnd, static_cast<WPARAM>(bActive ? FS_ACTIVATE : FS_DEACTIVATE)};
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hWnd, LPARAM lParam) -> BOOL {
        const auto* pNotice = reinterpret_cast<const Notice*>(lParam);
        if (::GetWindow(hWnd, GW_OWNER) == pNotice->hWndOwner) ::SendMessageA(hWnd, WM_FLOATSTATUS, pNotice->wStatus, 0);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&notice));
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive) {
    NotifyFloatingWindows(bActive);
    return static_cast<BOOL>(Default());
}

void CFrameWnd::OnSize(UINT nType, int, int) {
    // No default: for an MDI frame it would give the MDI client the whole client area.
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    if (m_nIdleFlags & idleLayout) RecalcLayout((m_nIdleFlags & idleNotify) != 0);
    if (m_nIdleFlags & idleTitle) {
        m_nIdleFlags &= ~idleTitle;
        OnUpdateFrameTitle(TRUE);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Commands and messages.

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable &&
        ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu) return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) continue;   // separator, popup
        // Commands of the system (0xF000 on) are left alone.
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    if (m_pViewActive && m_pViewActive->m_hWnd) m_pViewActive->SetFocus();
    else CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnClose() {
    CDocument* pDocument = GetActiveDocument();
    if (pDocument && !pDocument->CanCloseFrame(this)) return;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        if (!pDocument && !pApp->SaveAllModified()) return;
        pApp->CloseAllDocuments(FALSE);
        if (!pApp->m_pMainWnd) return;   // closing the documents took the frame with them
    }
    // The last frame of a document closes the document, which destroys the frame.
    if (pDocument && pDocument->m_bAutoDelete) {
        BOOL bOtherFrame = FALSE;
        for (POSITION pos = pDocument->GetFirstViewPosition(); pos && !bOtherFrame;) {
            CView* pView = pDocument->GetNextView(pos);
            bOtherFrame = pView->GetParentFrame() != this;
        }
        if (!bOtherFrame) {
            pDocument->OnCloseDocument();
            return;
        }
        pDocument->PreCloseFrame(this);
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    m_pViewActive = nullptr;
    CWnd::OnDestroy();
}

// ---------------------------------------------------------------------------------------------
// CWnd members that look for frames.

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(hWndChild) == nID) {
            CWnd* pWnd = bOnlyPerm ? FromHandlePermanent(hWndChild) : FromHandle(hWndChild);
            if (pWnd) return pWnd;
        }
    }
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        CWnd* pChild = FromHandle(hWndChild);
        if (CWnd* pFound = pChild->GetDescendantWindow(nID, bOnlyPerm)) return pFound;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(pWnd);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    CFrameWnd* pFrame = IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? const_cast<CFrameWnd*>(static_cast<const CFrameWnd*>(this))
                                                            : GetParentFrame();
    while (pFrame) {
        CFrameWnd* pParent = pFrame->GetParentFrame();
        if (!pParent) break;
        pFrame = pParent;
    }
    return pFrame;
}

void CFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
    if (bPreview) {
        pState->hMenu = ::GetMenu(m_hWnd);
        ::SetMenu(m_hWnd, nullptr);
        pState->hAccelTable = m_hAccelTable;
        m_hAccelTable = nullptr;
        pState->hiddenBars.clear();
        for (HWND hWnd = ::GetTopWindow(m_hWnd); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
            // The bar's own flag: the frame itself may be hidden.
            const BOOL bVisible = (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
            if (bVisible && DYNAMIC_DOWNCAST(CControlBar, FromHandlePermanent(hWnd))) {
                pState->hiddenBars.push_back(hWnd);
                ::ShowWindow(hWnd, SW_HIDE);
            }
        }
    } else {
        ::SetMenu(m_hWnd, pState->hMenu);
        m_hAccelTable = pState->hAccelTable;
        for (HWND hWnd : pState->hiddenBars) {
            if (::IsWindow(hWnd)) ::ShowWindow(hWnd, SW_SHOWNA);
        }
        pState->hiddenBars.clear();
    }
    RecalcLayout();
}
