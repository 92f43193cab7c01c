// The owner-drawn list box inside the property grid: it keeps the categories, flattens the item
// tree into rows by sort mode and expanded state, owns the divider between the columns and hands
// selection, mouse and keyboard events to the items.
#pragma once

#include "classlib/Controls.h"
#include "toolkit/common/Accessible.h"
#include "toolkit/propertygrid/PropertyGridItem.h"

class CKLVPropertyGrid;
class CKLVPropertyGridPaintManager;
class CKLVImageManager;

// Shows a caption or value that does not fit its column.
class CKLVPropertyGridToolTip : public CWnd {
public:
    void Create(CWnd* pParentView);
    void Activate(BOOL bActive, const CString& strText, CRect rcText, CFont* pFont);

    CFont m_fnt;
    CWnd* m_pParentView = nullptr;
    CString m_strText;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CKLVPropertyGridView : public CListBox, public CKLVAccessible {
public:
    CKLVPropertyGridView();
    ~CKLVPropertyGridView() override;

    CKLVPropertyGridItem* InsertCategory(int nIndex, LPCTSTR lpszCaption, CKLVPropertyGridItem* pCategory = nullptr);
    CKLVPropertyGridItem* AddCategory(LPCTSTR lpszCaption, CKLVPropertyGridItem* pCategory = nullptr) {
        return InsertCategory(-1, lpszCaption, pCategory);
    }
    void SetPropertySort(int nSort, BOOL bForce = FALSE, BOOL bRedraw = TRUE);
    int GetPropertySort() const { return m_nSort; }
    CKLVPropertyGridItem* GetSelectedItem() const;
    CKLVPropertyGridItem* GetItem(int nRow) const;
    CKLVPropertyGridItem* ItemFromPoint(CPoint point) const;
    int GetDividerPos() const;
    void SetDividerPos(int x);
    BOOL IsOnDivider(CPoint point) const;
    void ResetContent();
    int InsertItem(CKLVPropertyGridItem* pItem, int nRow);
    // Gives the rows from nFrom on their row numbers.
    void RenumberRows(int nFrom = 0);
    // Inserts the rows of an expanded item's children below its row.
    void InsertChildRows(CKLVPropertyGridItem* pItem);
    void RemoveDescendantRows(CKLVPropertyGridItem* pItem);
    void ToggleExpand(int nRow);
    void SetFocusedButton(CKLVPropertyGridInplaceButton* pButton) { m_pFocusedButton = pButton; }
    void BeginUpdate();
    void EndUpdate();
    BOOL IsLocked() const { return m_nLockUpdate > 0; }
    // The selection change: the old item deselects, the new one selects.
    void OnSelectionChanged();
    // Keeps the selection and the top row while every row is inserted again.
    void RebuildRows();
    CKLVPropertyGridPaintManager* GetPaintManager() const;
    CKLVImageManager* GetImageManager() const;
    CKLVPropertyGridItems* GetCategories() const { return m_pCategories; }
    int GetDefaultItemHeight() const { return m_nItemHeight; }
    BOOL IsVariableHeight() const { return (GetStyle() & LBS_OWNERDRAWVARIABLE) != 0; }
    CKLVPropertyGridToolTip& GetToolTip() { return m_wndTip; }
    // The overflow tooltip for the point, shown or hidden.
    void UpdateToolTip(CPoint point);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

    KLV_DECLARE_ACCESSIBLE_TARGET()
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;

    CKLVPropertyGrid* m_pGrid = nullptr;
    BOOL m_bTracking = FALSE;
    CRect m_rcToolTip;
    double m_dDivider = 0.5;
    BOOL m_bVariableSplitterPos = TRUE;
    HCURSOR m_hCursor = nullptr;
    CString m_strTipText;
    int m_nSort = KLVGridSortCategorized;
    CKLVPropertyGridItem* m_pSelected = nullptr;
    CKLVPropertyGridItems* m_pCategories;
    CKLVPropertyGridToolTip m_wndTip;
    int m_nLockUpdate = 0;
    int m_nItemHeight = 0;
    BOOL m_bTrackSplitter = TRUE;
    CKLVPropertyGridInplaceButton* m_pFocusedButton = nullptr;
    CKLVPropertyGridInplaceButton* m_pHotButton = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    // From this many rows up an expansion or a collapse above other rows moves the rows below
    // as a block: one row's move costs about what a list box's insertion or deletion spends
    // moving 750 rows.
    static constexpr int kRowsMovedAsBlock = 512;
    // Moves the rows [nStart, nEnd) up to nFirst, the rows [nFirst, nStart) below them.
    void MoveRowsUp(int nFirst, int nStart, int nEnd);
    // Deletes the rows [nFirst, nEnd).
    void DeleteRows(int nFirst, int nEnd);
    // The row's data, height (kept only where heights vary) and the row number of its item.
    void PlaceRow(int nRow, DWORD_PTR dwData, int nHeight, bool bVariable);
    // The row data, height and row number of nFrom given to row nTo.
    void CopyRow(int nFrom, int nTo, bool bVariable);
    void SetRowIndex(CKLVPropertyGridItem* pItem, int nRow);
    void InsertRowsFor(const CKLVPropertyGridItems* pItems, int nSort);
    BOOL OnViewMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    void OnPaintView();
    void OnNcPaintView();
    void UpdateHotButton(CPoint point);
    void OnLButtonDownView(UINT nFlags, CPoint point, LRESULT& lResult, BOOL& bHandled);
    BOOL OnKeyDownView(UINT nChar);
    BOOL OnCharView(UINT nChar);
    void ScrollKeepingChildren(UINT message, WPARAM wParam, LPARAM lParam);
    void HideToolTipIfLeft(UINT message);
    BOOL m_bInToolTipCheck = FALSE;
};
