// The style a dialog tab control draws with, as its theme factory makes it (TabCtrlThemes.h). The
// plain style leaves the painting and the page frame to the system control. A control with
// WS_EX_TRANSPARENT gets its parent's pixels under it before it paints.
#pragma once

#include "classlib/GdiObject.h"
#include "toolkit/tabs/ThemeManager.h"

class CDC;
class CWnd;
class CKLTabCtrlBase;
struct CKLTabCtrlItem;

class CKLTabCtrlStyle : public CKLThemeManagerStyle {
public:
    // TRUE: the style frames the page area, pages get no WS_BORDER.
    virtual BOOL IsDrawingPageFrame() const { return FALSE; }
    // A page window about to be shown in the control; its record keeps the styles it came with.
    virtual void PreparePage(const CKLTabCtrlItem& /*page*/) {}
    // FALSE leaves the painting to the system control.
    virtual BOOL Paint(CDC* /*pDC*/, CKLTabCtrlBase* /*pTabCtrlBase*/) { return FALSE; }

    // Keeps the parent's background under the control, as the parent erases and paints it;
    // FALSE when the control has no parent.
    BOOL CaptureParentBackground(CWnd* pCtrl);
    // Copies the kept background into the DC for a control with WS_EX_TRANSPARENT after a capture.
    void DrawParentBackground(CDC* pDC, const CWnd* pCtrl);

private:
    CBitmap m_bmpParent;
    CSize m_szParent{0, 0};
};
