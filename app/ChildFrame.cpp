#include "app/ChildFrame.h"

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWnd)
    ON_WM_CREATE()
    ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

BOOL CChildFrame::PreCreateWindow(CREATESTRUCT& cs) {
    return CMDIChildWnd::PreCreateWindow(cs) ? TRUE : FALSE;
}

int CChildFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    return CMDIChildWnd::OnCreate(lpCreateStruct) == -1 ? -1 : 1;
}

BOOL CChildFrame::PreTranslateMessage(MSG* pMsg) {
    return CWnd::PreTranslateMessage(pMsg);
}

// Posted, not asked here: a box in the middle of the activation would come before the tab shows.
void CChildFrame::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    if (bActivate && AfxGetMainWnd())
        AfxGetMainWnd()->PostMessage(WM_TAB_ACTIVATED, 0, reinterpret_cast<LPARAM>(m_hWnd));
}
