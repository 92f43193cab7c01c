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

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()
};
