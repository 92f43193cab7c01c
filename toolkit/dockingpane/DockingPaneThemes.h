// The theme 1 family of pane themes: gradient or solid-and-outline caption bands with their own
// caption colours (theme 1), the flat look coloured by the XP colour scheme (theme 6), the
// application's theme 9 with its caption border, the visual-style captions of theme 3 and the
// whole-container drawing of theme 5. The theme 2 family has a header of its own.
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

// Theme 3: explorer-bar buttons; captions and floating frames from the "WINDOW" visual style
// when it is open, theme 1's gradient captions and theme 0's frames otherwise.
class CKLVDockingPaneTheme3 : public CKLVDockingPaneTheme1 {
public:
    CKLVDockingPaneTheme3();
    void DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) override;
    void DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption, const CString& strTitle, BOOL bActive,
                        BOOL bVertical) override;
    void DrawFloatingFrame(CDC* pDC, CWnd* pFrame, CRect rc) override;

private:
    BOOL IsStyled() const { return m_themeWindow.GetThemeHandle() != nullptr; }
};

// Theme 5: containers drawn whole, inset by 3 pixels in their active or inactive colour, with
// captions of four lines after the title; its refresh is the base refresh only.
class CKLVDockingPaneTheme5 : public CKLVDockingPaneTheme1 {
public:
    CKLVDockingPaneTheme5();
    void DrawTabbedContainer(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) override;
    void AdjustCaptionRect(const CKLVDockingPaneTabbedContainer* pPane, CRect& rc) override;
    void DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) override;
    void DrawFloatingFrame(CDC* pDC, CWnd* pFrame, CRect rc) override;
    void RefreshMetrics() override { CKLVDockingPaneTheme::RefreshMetrics(); }

private:
    // The four lines across the band's middle, from nStart to nEnd along it.
    void DrawCaptionLines(CDC* pDC, const CRect& rcBand, int nStart, int nEnd, BOOL bActive, BOOL bVertical);
    BOOL HasClientFrame() const;
};
