// The pane themes built straight on theme 0: flat buttons with two raised grip bars after the
// title (theme 4), and captions on the "REBAR" visual style so that they line up across a
// docking site (theme 8).
#pragma once

#include "toolkit/dockingpane/DockingPaneTheme.h"

class CKLVDockingPaneTheme4 : public CKLVDockingPaneTheme0 {
public:
    CKLVDockingPaneTheme4();
    void DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) override;
    void DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption, const CString& strTitle, BOOL bActive,
                        BOOL bVertical) override;
};

class CKLVDockingPaneTheme8 : public CKLVDockingPaneTheme0 {
public:
    CKLVDockingPaneTheme8();
    void DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) override;
    void RefreshMetrics() override;
    void DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption, const CString& strTitle, BOOL bActive,
                        BOOL bVertical) override;

    CKLVWinThemeWrapper m_themeRebar;

private:
    // The rectangle the rebar background is drawn over for a caption owner: the whole docking
    // site for a tabbed container, the window for a floating frame.
    static CRect GetRebarRect(CKLVDockingNode* pOwner);
};
