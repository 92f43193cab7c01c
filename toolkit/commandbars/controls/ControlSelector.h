// A grid of cells on a menu or tool bar that chooses a number of columns and rows with the
// pointer (as for a table's size): the cells left of and above the pointer light up, the grid grows
// while the button is held beyond its edge, and the release executes with the chosen size.
#pragma once

#include "toolkit/commandbars/controlbase/Control.h"

class CKLVControlSelector : public CKLVControl {
    DECLARE_SERIAL(CKLVControlSelector)
public:
    enum { notifySelectionChanged = 4102 };

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    // Unless the grid is being kept, every layout starts from no selection and the first grid.
    void PrepareDynamicLayout(int nMode) override;
    // "ItemsCount", "ItemsMax" and "ItemSize" beside the control's keys.
    void DoPropExchange(CKLVPropExchange* pPX) override;
    void Copy(CKLVControl* pControl, BOOL bRecursive = FALSE) override;
    void OnMouseRelease(CPoint pt) override;
    void OnMouseMove(CPoint pt) override;
    // Deselected with the left button held: the grid grows towards the pointer.
    BOOL SetSelected(int bSelected) override;

    void SetSelection(CSize szSelection, BOOL bForce = FALSE);
    CSize GetSelection() const { return m_szSelection; }
    CSize GetResult() const { return m_szResult; }
    CSize GetShownGrid() const { return m_szShown; }
    // The rectangle of a cell (column, row).
    CRect GetCellRect(int nColumn, int nRow) const;

    CSize m_szItemsCount = CSize(5, 4);
    CSize m_szItemsMax = CSize(12, 12);
    CSize m_szItemSize = CSize(28, 28);

protected:
    // What a cell shows, in its content colour; nothing here.
    virtual void DrawItem(CDC* /*pDC*/, CRect /*rcItem*/, COLORREF /*clrContent*/) {}
    // The pointer in the bar's client co-ordinates; tests put it where they need it.
    virtual CPoint GetCursorPoint() const;
    virtual BOOL IsLeftButtonHeld() const { return ::GetKeyState(VK_LBUTTON) < 0; }

private:
    void GrowTowards(CPoint pt);

    CSize m_szSelection = CSize(0, 0);
    CSize m_szResult = CSize(0, 0);
    CSize m_szShown = CSize(5, 4);
    BOOL m_bKeepGrid = FALSE;
};
