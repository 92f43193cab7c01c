#include "classlib/MiniFrameWnd.h"

#include "classlib/WindowMessages.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_WM_NCACTIVATE()
    ON_WM_NCHITTEST()
    ON_WM_SYSCOMMAND()
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT nID) {
    const DWORD dwMfs = MFS_SYNCACTIVE | MFS_4THICKFRAME | MFS_THICKFRAME | MFS_MOVEFRAME | MFS_BLOCKSYSMENU;
    m_dwMiniFrameStyle = dwStyle & dwMfs;
    dwStyle &= ~dwMfs;
    if (m_dwMiniFrameStyle & (MFS_THICKFRAME | MFS_4THICKFRAME)) dwStyle |= WS_THICKFRAME;
    m_strTitle = lpWindowName;
    const CRect rc(rect);
    // A child mini frame keeps its id; a popup one is owned by the parent.
    HMENU hMenuOrID = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
    return CWnd::CreateEx(dwExStyle | WS_EX_TOOLWINDOW, lpClassName, lpWindowName, dwStyle, rc.left, rc.top, rc.Width(),
                          rc.Height(), AfxGetSafeHwnd(pParentWnd), hMenuOrID, nullptr);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return TRUE;
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive) {
    // A synchronised caption stays active while this frame or its owner is the active window.
    if (!bActive && (m_dwMiniFrameStyle & MFS_SYNCACTIVE)) {
        HWND hWndActive = ::GetActiveWindow();
        HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
        bActive = hWndActive && (hWndActive == m_hWnd || hWndActive == hWndOwner);
    }
    NotifyFloatingWindows(bActive);
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM) {
    if ((m_dwMiniFrameStyle & MFS_SYNCACTIVE) && (wParam & (FS_ACTIVATE | FS_DEACTIVATE)))
        SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0);
    return TRUE;
}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point) {
    const LRESULT nHit = CFrameWnd::OnNcHitTest(point);
    return nHit == HTSYSMENU && (m_dwMiniFrameStyle & MFS_BLOCKSYSMENU) ? HTCAPTION : nHit;
}

void CMiniFrameWnd::OnSysCommand(UINT nID, LPARAM lParam) {
    const UINT nCommand = nID & 0xFFF0;
    if ((m_dwMiniFrameStyle & MFS_BLOCKSYSMENU) && (nCommand == SC_MOUSEMENU || nCommand == SC_KEYMENU)) return;
    CFrameWnd::OnSysCommand(nID, lParam);
}
