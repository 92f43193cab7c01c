// The themes of the dialogs' tab controls: the default theme (3-D tabs, or the system's painting
// for top tabs), the flat theme and the gradient theme, made by CKLTabBaseThemeFactory for the
// theme manager's number (1 flat, 2 gradient, any other the default). Rotated visual-style tabs
// turn their image with the transforms of TabImageTransforms.h.
#pragma once

#include "classlib/Geometry.h"
#include "toolkit/common/ColorValue.h"
#include "toolkit/common/WinThemeWrapper.h"
#include "toolkit/tabs/TabCtrlStyle.h"

class CTabCtrl;
class CKLTabCtrlButton;

// One stroke of a tab outline, its ends given from the tab's own rectangle: x from its left (or
// right) edge, y from its top (or bottom) edge, the length from its width (or height).
struct KLTabOutlineMark {
    enum Kind { horizontal, vertical, pixel };
    enum Base { edgeNear = 0, edgeFar = 1 };
    int nColor;   // a colour-manager number; -1 the theme's border colour
    Kind kind;
    Base xBase;
    int dx;
    Base yBase;
    int dy;
    Base lengthBase;   // edgeNear: the width, edgeFar: the height
    int dLength;
};

class CKLTabBaseTheme : public CKLTabCtrlStyle {
public:
    enum Orientation { tabsTop = 0, tabsBottom = 0x02, tabsLeft = 0x80, tabsRight = 0x82 };

    void RefreshMetrics() override;
    BOOL Paint(CDC* pDC, CKLTabCtrlBase* pTabCtrlBase) override;
    // Gives the page back the border and edges it was added with (another theme may have taken them).
    void PreparePage(const CKLTabCtrlItem& page) override;

    virtual COLORREF GetBackColor() const;
    virtual void DrawBorders(CDC* pDC, CRect rc);
    virtual void FillHeader(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc);
    virtual void DrawTab(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, BOOL bSelected);
    // The visual style's top tab, turned for the other orientations.
    virtual void DrawThemedTab(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, BOOL bSelected);
    virtual void DrawItem(CDC* pDC, CTabCtrl* pTabCtrl, int nIndex);
    virtual void DrawTabIcon(CDC* pDC, CTabCtrl* pTabCtrl, CRect& rc, int nIndex);
    virtual void DrawTabText(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, int nIndex, BOOL bSelected);
    virtual CRect GetHeaderRect(CTabCtrl* pTabCtrl);
    virtual void DrawFrame(CDC* /*pDC*/, CRect /*rc*/) {}
    // One scroll or close button by its state bits, its glyph in the colour.
    virtual void DrawButton(CDC* /*pDC*/, CKLTabCtrlButton* /*pButton*/, COLORREF /*clr*/) {}
    // The buttons window's background; returns the glyph colour.
    virtual COLORREF FillButtonsBackground(CDC* /*pDC*/, CWnd* /*pButtons*/) { return 0; }
    // Shows the control's buttons window over its scroll control where this theme wants it.
    virtual void UpdateButtons(CKLTabCtrlBase* pTabCtrlBase);

    static int GetOrientation(const CWnd* pTabCtrl);
    static BOOL IsHorizontalTabs(int nOrientation) { return nOrientation == tabsTop || nOrientation == tabsBottom; }
    // The tab's strokes in order, unselected or selected, and where a selected tab is filled.
    static const KLTabOutlineMark* GetOutline(int nOrientation, BOOL bSelected, int* pnCount);
    static CRect GetSelectedFillRect(int nOrientation, CRect rc);

    int m_nTheme = 0;
    BOOL m_bSystemDrawn = FALSE;
    BOOL m_bUseVisualStyles = TRUE;
    int m_nEdge = 2;
    CKLVWinThemeWrapper m_themeTab;
    CKLVColorValue m_clrText;
    CKLVColorValue m_clrSelectedText;

protected:
    // Sets the page's WS_BORDER and client and static edges to the given bits and redoes its frame.
    static void SetPageBorders(CWnd* pPage, DWORD dwBorder, DWORD dwExEdges);
    // A theme that takes the pages' own borders away frames their area instead.
    void DrawPagesFrame(CDC* pDC, CKLTabCtrlBase* pTabCtrlBase);
    BOOL IsVisualStyleDrawn() const;
    // Draws the strokes; a colour that resolves to 0xFFFFFFFF is left out.
    void DrawMarks(CDC* pDC, CRect rc, const KLTabOutlineMark* pMarks, int nCount, COLORREF clrBorder) const;
    // The icon's top-left corner on a tab of the orientation.
    virtual CPoint GetIconOrigin(CRect rc, int nOrientation) const;
};

class CKLTabFlatTheme : public CKLTabBaseTheme {
public:
    void RefreshMetrics() override;
    BOOL IsDrawingPageFrame() const override { return TRUE; }
    // The theme frames the pages itself: they lose their border and edges.
    void PreparePage(const CKLTabCtrlItem& page) override;
    void DrawBorders(CDC*, CRect) override {}
    void FillHeader(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc) override;
    void DrawTab(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, BOOL bSelected) override;
    void DrawFrame(CDC* pDC, CRect rc) override;
    void DrawButton(CDC* pDC, CKLTabCtrlButton* pButton, COLORREF clr) override;
    COLORREF FillButtonsBackground(CDC* pDC, CWnd* pButtons) override;

protected:
    CPoint GetIconOrigin(CRect rc, int nOrientation) const override;
};

class CKLTabGradientTheme : public CKLTabFlatTheme {
public:
    void RefreshMetrics() override;
    COLORREF GetBackColor() const override;
    void FillHeader(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc) override;
    void DrawTab(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, BOOL bSelected) override;
    void DrawFrame(CDC* pDC, CRect rc) override;
    COLORREF FillButtonsBackground(CDC* pDC, CWnd* pButtons) override;
    // The face of the tab over a rectangle derived from its own; returns the face colour.
    virtual COLORREF FillTab(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, BOOL bSelected);

    CKLVGradientColorValue m_grcHeader;
    CKLVColorValue m_clrLightBorder;
    CKLVColorValue m_clrHighlight;
    CKLVColorValue m_clrBorder;
    CKLVColorValue m_clrSelectedFace;
    CKLVColorValue m_clrNormalFace;
};

class CKLTabBaseThemeFactory : public CKLThemeManagerStyleFactory {
    DECLARE_DYNCREATE(CKLTabBaseThemeFactory)
public:
    CKLThemeManagerStyle* CreateTheme(int nTheme) override;
};
