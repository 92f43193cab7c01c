// The theme 1 family of pane themes: gradient or solid-and-outline caption bands with their own
// caption colours (theme 1), the flat look coloured by the XP colour scheme (theme 6), and the
// application's theme 9 with its caption border.
#pragma once

#include "toolkit/dockingpane/DockingPaneTheme.h"

class CKLVDockingPaneTheme1 : public CKLVDockingPaneTheme0 {
public:
    CKLVDockingPaneTheme1();

    void DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) override;
    void RefreshMetrics() override;
    void DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption, const CString& strTitle, BOOL bActive,
                        BOOL bVertical) override;
    COLORREF DrawCaptionBackground(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption, BOOL bActive,
                                   BOOL bVertical) override;

    BOOL m_bGradientCaptions = FALSE;
    CKLVGradientColorValue m_clrInactiveCaption;
    CKLVGradientColorValue m_clrActiveCaption;
    CKLVColorValue m_clrInactiveCaptionText;
    CKLVColorValue m_clrActiveCaptionText;
};

class CKLVDockingPaneTheme6 : public CKLVDockingPaneTheme1 {
public:
    CKLVDockingPaneTheme6();
    void RefreshMetrics() override;
};

// Theme 6 with both tab painters drawing appearance 9 in the pane themes' resource colours.
class CKLVDockingPaneTheme9Base : public CKLVDockingPaneTheme6 {
public:
    CKLVDockingPaneTheme9Base();
};

class CKLVDockingPaneTheme9 : public CKLVDockingPaneTheme9Base {
public:
    CKLVDockingPaneTheme9();
    void RefreshMetrics() override;
    COLORREF DrawCaptionBackground(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption, BOOL bActive,
                                   BOOL bVertical) override;

    COLORREF m_clrCaptionBorder = 0;
};
