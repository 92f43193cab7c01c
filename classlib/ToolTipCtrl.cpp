#include "classlib/ToolTipCtrl.h"

#include "classlib/Controls.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    return CreateEx(WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, AfxGetSafeHwnd(pParentWnd), nullptr);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
    ti = {};
    ti.cbSize = AFX_TOOLINFO_SIZE;
    ti.hwnd = AfxGetSafeHwnd(pWnd);
    if (nIDTool == 0) {
        // The window itself is the tool, reporting to its parent (to itself when it has none).
        HWND hWndParent = ::GetParent(AfxGetSafeHwnd(pWnd));
        if (hWndParent) ti.hwnd = hWndParent;
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(AfxGetSafeHwnd(pWnd));
    } else {
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool) ti.rect = *lpRectTool;
    else if (nIDTool != 0) pWnd->GetClientRect(&ti.rect);
    ti.uFlags |= TTF_SUBCLASS;
    ti.hinst = nullptr;
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    CString strText;
    strText.LoadString(nIDText);
    return AddTool(pWnd, strText, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFO* pToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
    FillInToolInfo(*pToolInfo, pWnd, nIDTool);
    return static_cast<BOOL>(SendMessage(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(pToolInfo)));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
    // The control copies at most 80 characters for TTM_GETTEXT (the size of its old buffer);
    // a larger buffer is harmless and guards against newer versions that copy more.
    const int nBufferSize = 1024;
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = str.GetBuffer(nBufferSize);
    ti.lpszText[0] = '\0';
    SendMessage(TTM_GETTEXTA, nBufferSize, reinterpret_cast<LPARAM>(&ti));
    str.ReleaseBuffer();
}

BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, TOOLINFO* pToolInfo) const {
    TTHITTESTINFOA hti = {};
    hti.hwnd = AfxGetSafeHwnd(pWnd);
    hti.pt = pt;
    hti.ti.cbSize = AFX_TOOLINFO_SIZE;
    BOOL bHit = static_cast<BOOL>(SendMessage(TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hti)));
    if (bHit && pToolInfo) *pToolInfo = hti.ti;
    return bHit;
}
