// Drawing of the property grid: the grid window with its help and verb panes, the view's
// background and border, rows, drop-down entries and in-place button faces, and the fonts and
// colours they share. The default metrics record passes from one paint manager to the next when
// the theme changes, so fonts and custom colours survive it.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Dc.h"
#include "classlib/GdiObject.h"
#include "toolkit/common/ColorValue.h"
#include "toolkit/common/WinThemeWrapper.h"

class CKLVPropertyGrid;
class CKLVPropertyGridItem;
class CKLVPropertyGridItemConstraint;
class CKLVPropertyGridInplaceButton;
class CKLVPropertyGridPaintManager;
class CKLVPropertyGridView;

// The fonts, image, colours and text format of one item part, or the grid's defaults. An item's
// own colour wins when either of its parts is set.
class CKLVPropertyGridItemMetrics : public CCmdTarget {
public:
    explicit CKLVPropertyGridItemMetrics(CKLVPropertyGridPaintManager* pPaintManager = nullptr)
        : m_pPaintManager(pPaintManager) {}

    // Forgets every custom colour.
    virtual void ResetColors();

    CFont m_fntNormal;
    CFont m_fntBold;
    int m_nImage = -1;
    CKLVColorValue m_clrHelpBack;
    CKLVColorValue m_clrHelpFore;
    CKLVColorValue m_clrLine;
    CKLVColorValue m_clrFore;
    CKLVColorValue m_clrCategoryFore;
    CKLVColorValue m_clrBack;
    CKLVColorValue m_clrReadOnlyFore;
    CKLVColorValue m_clrVerbFace;
    UINT m_uDrawTextFormat = DT_SINGLELINE | DT_VCENTER;
    int m_nMaxLength = 0;   // of the in-place edit; 0 = no limit
    CKLVPropertyGridPaintManager* m_pPaintManager;
};

class CKLVPropertyGridPaintManager {
public:
    enum { nIndent = 14 };
    // How buttons and glyphs are drawn: classic, the system's visual styles, toolkit colours.
    enum { styleClassic = 0, styleThemed = 1, styleToolkit = 2 };

    explicit CKLVPropertyGridPaintManager(CKLVPropertyGrid* pGrid);
    virtual ~CKLVPropertyGridPaintManager();
    CKLVPropertyGridPaintManager(const CKLVPropertyGridPaintManager&) = delete;
    CKLVPropertyGridPaintManager& operator=(const CKLVPropertyGridPaintManager&) = delete;

    // The paint manager of a theme number 0 to 7; null for any other number.
    static CKLVPropertyGridPaintManager* CreateTheme(CKLVPropertyGrid* pGrid, int nTheme);

    virtual COLORREF GetItemTextColor(CKLVPropertyGridItem* pItem, BOOL bValuePart);
    virtual COLORREF GetItemBackColor(CKLVPropertyGridItem* pItem, BOOL bValuePart);
    virtual CFont* GetItemFont(CKLVPropertyGridItem* pItem, BOOL bValuePart);
    virtual void FillPropertyGrid(CDC* pDC);
    virtual void FillPropertyGridView(CDC* pDC);
    // Draws the view's border, or with bDeflate shrinks the rectangle by it; the border's width.
    virtual int DrawBorder(CDC* pDC, CRect& rc, BOOL bDeflate);
    virtual void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct);
    virtual void DrawInplaceListItem(CDC* pDC, CKLVPropertyGridItemConstraint* pConstraint, CRect rc, BOOL bSelected);
    virtual void ShiftForValueImage(CKLVPropertyGridItem* pItem, CRect& rc);
    virtual void ShiftForCaptionImage(CKLVPropertyGridItem* pItem, CRect& rc);
    virtual void MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct);
    virtual void DrawInplaceButton(CDC* pDC, CKLVPropertyGridInplaceButton* pButton);
    virtual void RefreshMetrics();
    virtual void DrawExpandButton(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcRow);
    virtual void DrawCategoryCaptionBackground(CDC* pDC, CRect rc);
    virtual void DrawItemValue(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcValue);
    virtual void DrawItemCaption(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcCaption);
    virtual void DrawInplaceButtons(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcValue);

    // Lays the verb links out in the verb pane and draws them; with bDraw FALSE only the layout
    // runs. The index of the verb under ptHit, -1 when none.
    int LayoutVerbs(CDC* pDC, CRect rcVerbs, BOOL bDraw, CPoint ptHit = CPoint(-1, -1));

    // The background of the view: the custom colour when set.
    COLORREF GetBackColor() const { return m_pMetrics->m_clrBack; }
    CKLVPropertyGridItemMetrics* GetMetrics() const { return m_pMetrics; }
    // Takes over another paint manager's default metrics; its own are released.
    void SetMetrics(CKLVPropertyGridItemMetrics* pMetrics);
    CKLVPropertyGrid* GetGrid() const { return m_pGrid; }

    int m_nVisualStyle = styleClassic;
    CKLVWinThemeWrapper m_themeTree;
    CKLVWinThemeWrapper m_themeButton;
    CKLVWinThemeWrapper m_themeCombo;
    CKLVPropertyGrid* m_pGrid;
    CFont m_fntVerbUnderline;
    CFont m_fntVerbNormal;
    CKLVPropertyGridItemMetrics* m_pMetrics;
    COLORREF m_clrFace = 0;
    COLORREF m_clrShadow = 0;   // the border of border style 2

protected:
    // The focus is in the view or one of its children (or, with bOwned, a window it owns).
    static BOOL IsViewFocused(CKLVPropertyGridView* pView, CKLVPropertyGridItem* pItem, BOOL bOwned);
    // The ancestors' category strips, each 14 pixels wide at its indent.
    void FillCategoryStrips(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcRow, COLORREF clr, COLORREF clrEdge);
    // The expand glyph under a clip to the caption rectangle for a non-category row.
    void DrawExpandButtonClipped(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcRow, CRect rcCaption);
    // Draws the image of an icon id at x, centred in rc, and moves rc's left edge past it.
    void DrawImageAndShift(CDC* pDC, int nImage, int x, CRect& rc);
    BOOL ThemedButtonsUsable() const;
    // The 9 by 9 box of an item's expand glyph in its row.
    static CRect GetGlyphRect(CKLVPropertyGridItem* pItem, CRect rcRow);
};

// A solid line of one colour from (x1, y1) to (x2, y2), end point excluded.
void KLVPropertyGridLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF clr);

// The DC's state (its clip above all) comes back on every path out of the scope.
class CKLVPropertyGridSavedDC {
public:
    explicit CKLVPropertyGridSavedDC(CDC* pDC) : m_pDC(pDC), m_nSaved(pDC->SaveDC()) {}
    ~CKLVPropertyGridSavedDC() { m_pDC->RestoreDC(m_nSaved); }
    CKLVPropertyGridSavedDC(const CKLVPropertyGridSavedDC&) = delete;
    CKLVPropertyGridSavedDC& operator=(const CKLVPropertyGridSavedDC&) = delete;

private:
    CDC* m_pDC;
    int m_nSaved;
};
