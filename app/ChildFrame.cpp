#include "app/ChildFrame.h"

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWnd)
    ON_WM_CREATE()
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
