// The frame of one editor tab.
#pragma once

#include "classlib/ClassLib.h"

class CChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CChildFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Keys are left to the main frame, whose command bars translate every shortcut there: a
    // child that translated its own copy of the table would keep the frame's commands (New,
    // Open, Help) from them.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Posted to the main window when a tab comes to the front (lParam: the tab's frame window),
    // which then looks whether its file changed on disk.
    static const UINT WM_TAB_ACTIVATED = WM_APP + 0x320;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    DECLARE_MESSAGE_MAP()
};
