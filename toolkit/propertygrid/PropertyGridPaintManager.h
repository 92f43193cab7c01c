// Drawing of the property grid: the grid window with its help pane, the view's background and
// border, rows, drop-down entries, and the fonts and colours they share (handed from one paint
// manager to the next when the theme changes). Every theme uses these plain bodies until the
// themed drawing replaces them.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Dc.h"
#include "classlib/GdiObject.h"
#include "toolkit/common/ColorValue.h"

class CKLVPropertyGrid;
class CKLVPropertyGridItem;
class CKLVPropertyGridItemConstraint;

// The colours and font of one item (or the grid's defaults).
class CKLVPropertyGridItemMetrics : public CCmdTarget {
public:
    CFont m_fntNormal;
    CFont m_fntBold;
    CKLVColorValue m_clrBack;
    CKLVColorValue m_clrFore;
};

class CKLVPropertyGridPaintManager : public CCmdTarget {
public:
    explicit CKLVPropertyGridPaintManager(CKLVPropertyGrid* pGrid);
    ~CKLVPropertyGridPaintManager() override;

    // The paint manager of a theme number 0 to 7.
    static CKLVPropertyGridPaintManager* CreateTheme(CKLVPropertyGrid* pGrid, int nTheme);

    virtual void FillPropertyGrid(CDC* pDC);
    virtual void FillView(CDC* pDC, CRect rc);
    // Draws the border of the grid's style, or (bAdjust) shrinks the rectangle by it.
    virtual void DrawBorder(CDC* pDC, CRect& rc, BOOL bAdjust);
    virtual void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct);
    virtual void DrawInplaceListItem(CDC* pDC, CKLVPropertyGridItemConstraint* pConstraint, CRect rc, BOOL bSelected);
    virtual void AdjustItemValueRect(CKLVPropertyGridItem* /*pItem*/, CRect& /*rcValue*/) {}
    virtual void AdjustItemCaptionRect(CKLVPropertyGridItem* /*pItem*/, CRect& /*rcCaption*/) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct);
    virtual void RefreshMetrics();

    // The background of the view: the custom colour when set.
    COLORREF GetBackColor() const;
    CKLVPropertyGridItemMetrics* GetMetrics() const { return m_pMetrics; }
    // Takes over another paint manager's metrics; its own are released.
    void SetMetrics(CKLVPropertyGridItemMetrics* pMetrics);

    CKLVPropertyGrid* m_pGrid;
    CKLVPropertyGridItemMetrics* m_pMetrics;
    COLORREF m_clrLine = 0;
    COLORREF m_clrHelpBack = 0;
    COLORREF m_clrHelpFore = 0;
};
