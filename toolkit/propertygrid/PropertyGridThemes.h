// The paint managers that CKLVPropertyGrid::SetTheme builds for themes 1 to 7: a few colours of
// their own after the base refresh, and for themes 3 to 5 their own row drawing.
#pragma once

#include "toolkit/propertygrid/PropertyGridPaintManager.h"

// 1: visual-style buttons, a border coloured by the XP scheme.
class CKLVPropertyGridSchemeBorderTheme : public CKLVPropertyGridPaintManager {
public:
    explicit CKLVPropertyGridSchemeBorderTheme(CKLVPropertyGrid* pGrid);
    void RefreshMetrics() override;
};

// 2: face, border and line colours of the XP scheme.
class CKLVPropertyGridSchemeFaceTheme : public CKLVPropertyGridPaintManager {
public:
    explicit CKLVPropertyGridSchemeFaceTheme(CKLVPropertyGrid* pGrid);
    void RefreshMetrics() override;

    int m_bSchemeApplied = 0;   // one of the three XP schemes coloured the grid
};

// Themes 3 to 5 share the frame of a row: a buffer over the row, the value part and the in-place
// buttons of a non-category row, the expand glyph clipped to the caption; the rest is theirs.
class CKLVPropertyGridFramedRowTheme : public CKLVPropertyGridPaintManager {
public:
    using CKLVPropertyGridPaintManager::CKLVPropertyGridPaintManager;
    void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) override;

protected:
    struct Row {
        CKLVPropertyGridItem* pItem;
        CKLVPropertyGridView* pView;
        CRect rcRow;
        CRect rcCaption;
        int nDivider;
        BOOL bSelected;
        BOOL bFocusState;
        COLORREF clrLine;
    };
    // Everything of the row but its value part, in-place buttons and expand glyph.
    virtual void DrawRow(CDC* pDC, const Row& row) = 0;
};

// 3: categories as grouped boxes.
class CKLVPropertyGridGroupedTheme : public CKLVPropertyGridFramedRowTheme {
public:
    explicit CKLVPropertyGridGroupedTheme(CKLVPropertyGrid* pGrid) : CKLVPropertyGridFramedRowTheme(pGrid) {}
    void RefreshMetrics() override;

protected:
    void DrawRow(CDC* pDC, const Row& row) override;
    void CloseBoxes(CDC* pDC, const Row& row);
};

// 4: a plain list; categories look like items.
class CKLVPropertyGridListTheme : public CKLVPropertyGridGroupedTheme {
public:
    explicit CKLVPropertyGridListTheme(CKLVPropertyGrid* pGrid) : CKLVPropertyGridGroupedTheme(pGrid) {}

protected:
    void DrawRow(CDC* pDC, const Row& row) override;
};

// 5: a sheet with a two-colour divider and a framed selection.
class CKLVPropertyGridSheetTheme : public CKLVPropertyGridFramedRowTheme {
public:
    explicit CKLVPropertyGridSheetTheme(CKLVPropertyGrid* pGrid) : CKLVPropertyGridFramedRowTheme(pGrid) {}
    void RefreshMetrics() override;

protected:
    void DrawRow(CDC* pDC, const Row& row) override;
};

// 6: a flat expand glyph and a gradient line under categories.
class CKLVPropertyGridFlatGlyphTheme : public CKLVPropertyGridPaintManager {
public:
    explicit CKLVPropertyGridFlatGlyphTheme(CKLVPropertyGrid* pGrid);
    void RefreshMetrics() override;
    void DrawExpandButton(CDC* pDC, CKLVPropertyGridItem* pItem, CRect rcRow) override;
    void DrawCategoryCaptionBackground(CDC* pDC, CRect rc) override;
};

// 7: button faces in the toolkit's own colours.
class CKLVPropertyGridToolkitColorTheme : public CKLVPropertyGridPaintManager {
public:
    explicit CKLVPropertyGridToolkitColorTheme(CKLVPropertyGrid* pGrid);
    void RefreshMetrics() override;
};
