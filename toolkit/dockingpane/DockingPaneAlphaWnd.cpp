#include "toolkit/dockingpane/DockingPaneAlphaWnd.h"

#include "classlib/Dc.h"

BEGIN_MESSAGE_MAP(CKLVDockingPaneAlphaWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CKLVDockingPaneAlphaWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.FillSolidRect(rcClient, ::GetSysColor(COLOR_HIGHLIGHT));
}

BOOL CKLVDockingPaneAlphaWnd::OnEraseBkgnd(CDC*) { return TRUE; }
