// The style a dialog tab control draws with, as its theme factory makes it (TabCtrlThemes.h). The
// plain style leaves the painting and the page frame to the system control.
#pragma once

#include "toolkit/tabs/ThemeManager.h"

class CDC;
class CWnd;
class CKLTabCtrlBase;

class CKLTabCtrlStyle : public CKLThemeManagerStyle {
public:
    // TRUE: the style frames the page area, pages get no WS_BORDER.
    virtual BOOL IsDrawingPageFrame() const { return FALSE; }
    // A page window about to be shown in the control.
    virtual void PreparePage(CWnd* /*pPage*/) {}
    // FALSE leaves the painting to the system control.
    virtual BOOL Paint(CDC* /*pDC*/, CKLTabCtrlBase* /*pTabCtrlBase*/) { return FALSE; }
};
