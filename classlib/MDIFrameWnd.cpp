#include "classlib/MDIFrameWnd.h"

#include "classlib/Document.h"
#include "classlib/View.h"
#include "classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_DESTROY()
    ON_COMMAND_EX_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
    ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------------------------
// The main frame.

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
    if (!hMenuBar) return nullptr;
    const int nCount = ::GetMenuItemCount(hMenuBar);
    for (int i = 0; i < nCount; ++i) {
        HMENU hPopup = ::GetSubMenu(hMenuBar, i);
        for (int j = 0; hPopup && j < ::GetMenuItemCount(hPopup); ++j) {
            const UINT nID = ::GetMenuItemID(hPopup, j);
            if (nID >= ID_WINDOW_NEW && nID <= ID_WINDOW_SPLIT) return hPopup;
        }
    }
    return nCount >= 2 ? ::GetSubMenu(hMenuBar, nCount - 2) : nullptr;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*) {
    return CreateClient(lpcs, CMenu::FromHandle(GetWindowMenuPopup(::GetMenu(m_hWnd))));
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu) {
    CLIENTCREATESTRUCT ccs = {AfxGetSafeHmenu(pWindowMenu), AFX_IDM_FIRST_MDICHILD};
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                       WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL |
                                           WS_HSCROLL | MDIS_ALLCHILDSTYLES,
                                       0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                       AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != nullptr;
}

void CMDIFrameWnd::OnDestroy() {
    // The client's WM_DESTROY, which comes next, frees its list of children and the frame title
    // it keeps, and does not clear them: a later WM_MDIGETACTIVE answers from freed memory and a
    // title set through DefFrameProc frees the title again. The views and documents that go
    // with the children afterwards update titles, so from here on the frame has no client.
    m_hWndMDIClient = nullptr;
    CFrameWnd::OnDestroy();
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    BOOL bMaximized = FALSE;
    HWND hWnd = m_hWndMDIClient ? reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                                         reinterpret_cast<LPARAM>(&bMaximized)))
                                : nullptr;
    if (pbMaximized) *pbMaximized = bMaximized;
    return DYNAMIC_DOWNCAST(CMDIChildWnd, CWnd::FromHandlePermanent(hWnd));
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(AfxGetSafeHwnd(pWndActivate)), 0);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? static_cast<CFrameWnd*>(pActive) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument() {
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? pActive->GetActiveDocument() : CFrameWnd::GetActiveDocument();
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    CMDIChildWnd* pActiveChild = MDIGetActive();
    if (pActiveChild && pActiveChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (CFrameWnd::PreTranslateMessage(pMsg)) return TRUE;
    return (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && m_hWndMDIClient &&
           ::TranslateMDISysAccel(m_hWndMDIClient, pMsg);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE)) return;
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActiveChild = MDIGetActive(&bMaximized);
    CDocument* pDoc = pActiveChild ? pActiveChild->GetActiveDocument() : nullptr;
    // A maximised child's title is shown by the system beside the frame's.
    UpdateFrameTitleForDocument(bAddToTitle && pDoc && !bMaximized ? static_cast<LPCTSTR>(pDoc->GetTitle()) : nullptr);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID) {
    switch (nID) {
    case ID_WINDOW_ARRANGE: ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); break;
    case ID_WINDOW_CASCADE: MDICascade(); break;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); break;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); break;
    default: return FALSE;
    }
    return TRUE;
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }

// ---------------------------------------------------------------------------------------------
// Child frames.

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
    if (!pParentWnd) pParentWnd = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    if (!pParentWnd || !pParentWnd->m_hWndMDIClient) return FALSE;
    m_strTitle = lpszWindowName;
    CREATESTRUCTA cs = {};
    cs.style = static_cast<LONG>(dwStyle | WS_CHILD);
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.right - rect.left;
    cs.cy = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.bottom - rect.top;
    cs.hwndParent = pParentWnd->m_hWndMDIClient;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = pContext;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    // The client makes the window; the context travels in the record's lParam.
    MDICREATESTRUCTA mcs = {cs.lpszClass, cs.lpszName, cs.hInstance, cs.x, cs.y, cs.cx, cs.cy,
                            static_cast<DWORD>(cs.style) & ~(WS_MAXIMIZE | WS_VISIBLE), reinterpret_cast<LPARAM>(pContext)};
    AfxHookWindowCreate(this);
    HWND hWnd = reinterpret_cast<HWND>(
        ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    if (!AfxUnhookWindowCreate()) {
        PostNcDestroy();
        return FALSE;
    }
    if (!hWnd) return FALSE;
    if (cs.style & WS_VISIBLE) {
        ::ShowWindow(hWnd, (cs.style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        MDIActivate();
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    LPCTSTR lpszClass = PrepareLoadFrame(nIDResource);
    LPCTSTR lpszResource = MAKEINTRESOURCEA(nIDResource);
    CString strTitle = m_strTitle;
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, DYNAMIC_DOWNCAST(CMDIFrameWnd, pParentWnd), pContext))
        return FALSE;
    LoadAccelTable(lpszResource);
    return TRUE;
}

CCreateContext* CMDIChildWnd::ContextOf(LPCREATESTRUCT lpcs) {
    auto* lpmcs = static_cast<LPMDICREATESTRUCTA>(lpcs->lpCreateParams);
    return lpmcs ? reinterpret_cast<CCreateContext*>(lpmcs->lParam) : nullptr;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    HWND hWndClient = ::GetParent(m_hWnd);
    if (!hWndClient) return CFrameWnd::DestroyWindow();
    // WM_NCDESTROY may delete this object: nothing of it is touched afterwards.
    ::SendMessageA(hWndClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    HWND hWndClient = ::GetParent(m_hWnd);
    return DYNAMIC_DOWNCAST(CMDIFrameWnd, CWnd::FromHandlePermanent(::GetParent(hWndClient)));
}

void CMDIChildWnd::MDIActivate() {
    if (HWND hWndClient = ::GetParent(m_hWnd))
        ::SendMessageA(hWndClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) nCmdShow = IsWindowVisible() ? SW_SHOW : SW_SHOWNORMAL;
    ShowWindow(nCmdShow);
    MDIActivate();
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (!pFrame || !pFrame->m_hWndMDIClient) return;   // the whole frame is going
    pFrame->OnUpdateFrameTitle(bAddToTitle);
    if (!(GetStyle() & FWS_ADDTOTITLE)) return;
    CDocument* pDoc = GetActiveDocument();
    CString strText = bAddToTitle && pDoc ? pDoc->GetTitle() : m_strTitle;
    if (bAddToTitle && pDoc && m_nWindow > 0) strText.AppendFormat(":%d", m_nWindow);
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strText) SetWindowText(strText);
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd*, CWnd*) {
    Default();
    CView* pView = GetActiveView();
    if (pView) pView->OnActivateView(bActivate, pView, pView);
    if (CMDIFrameWnd* pFrame = GetMDIFrame()) pFrame->OnUpdateFrameTitle(TRUE);
}
