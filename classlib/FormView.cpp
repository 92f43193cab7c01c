#include "classlib/FormView.h"

#include "classlib/Dialog.h"

IMPLEMENT_DYNAMIC(CFormView, CView)

BEGIN_MESSAGE_MAP(CFormView, CView)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BOOL CFormView::Create(LPCTSTR, LPCTSTR, DWORD dwRequestedStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                       CCreateContext* pContext) {
    CREATESTRUCT cs = {};
    cs.style = dwRequestedStyle ? dwRequestedStyle : AFX_WS_DEFAULT_VIEW;
    if (!PreCreateWindow(cs)) return FALSE;
    // A popup template would make a window outside the frame that believes it is a view.
    LPCDLGTEMPLATE lpTemplate = AfxLoadDialogTemplate(m_lpszTemplateName);
    if (!lpTemplate || !(AfxGetDialogTemplateStyle(lpTemplate) & WS_CHILD)) return FALSE;
    m_pCreateContext = pContext;
    const BOOL bCreated = AfxCreateDialogWindow(this, lpTemplate, pParentWnd);
    m_pCreateContext = nullptr;
    if (!bCreated) return FALSE;
    // The border is the view's; the tab key enters the form from a dialog that holds it.
    ModifyStyle(WS_BORDER | WS_CAPTION, cs.style & (WS_BORDER | WS_CAPTION));
    ModifyStyleEx(WS_EX_CLIENTEDGE, (cs.dwExStyle & WS_EX_CLIENTEDGE) | WS_EX_CONTROLPARENT);
    SetDlgCtrlID(static_cast<int>(nID));
    SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (cs.style & WS_VISIBLE) ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCT lpcs) {
    // A dialog's creation parameter is the dialog manager's; the view wants its context.
    CREATESTRUCT cs = *lpcs;
    cs.lpCreateParams = m_pCreateContext;
    return CView::OnCreate(&cs);
}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CView::OnInitialUpdate();
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    if (!bActivate) NoteFocus();
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormView::OnSetFocus(CWnd*) {
    // Back to the control that had it, else to the first one that takes it.
    HWND hWndFocus = m_hWndFocus && ::IsChild(m_hWnd, m_hWndFocus) ? m_hWndFocus : nullptr;
    if (!hWndFocus) hWndFocus = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (hWndFocus) ::SetFocus(hWndFocus);
}

void CFormView::NoteFocus() {
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus && ::IsChild(m_hWnd, hWndFocus)) m_hWndFocus = hWndFocus;
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) {
    // A view activated elsewhere may take the focus before this one hears that it is no longer
    // active: the focus is noted whenever input for the form passes.
    if (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)) NoteFocus();
    if (CView::PreTranslateMessage(pMsg)) return TRUE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    // The frames' accelerators first: the dialog keys would take them.
    for (CFrameWnd* pFrame = GetParentFrame(); pFrame; pFrame = pFrame->GetParentFrame()) {
        if (pFrame->PreTranslateMessage(pMsg)) return TRUE;
    }
    const BOOL bHandled = ::IsDialogMessageA(m_hWnd, pMsg);
    NoteFocus();
    return bHandled;
}
