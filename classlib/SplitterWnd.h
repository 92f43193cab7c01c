// CSplitterWnd: a window whose client area holds a grid of panes (views), separated by bars the
// user drags to share the space. Pane (row, col) has the child id AFX_IDW_PANE_FIRST + row * 16
// + col; the first column and row get their ideal size, the last ones what is left.
#pragma once

#include "classlib/FrameWnd.h"

#include <vector>

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd() noexcept = default;
    ~CSplitterWnd() override = default;

    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // The pane's view, made for pContext's document; sizeInit is its ideal size.
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetColumnCount() const { return static_cast<int>(m_cols.size()); }
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    virtual void RecalcLayout();
    // The frame's active view when it is one of the panes.
    virtual CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
    virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);

    int m_cxSplitter = 6;   // the bars' thickness
    int m_cySplitter = 6;

protected:
    // One row or column: its ideal and minimum size and the size the layout gave it.
    struct RowColInfo {
        int nIdealSize = 0;
        int nMinSize = 10;
        int nCurSize = 0;
    };

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()

protected:
    // The bar under the point: the column bar (after column n) as n + 1, the row bar as -(n + 1);
    // 0 for none.
    int HitTestBar(CPoint point) const;
    // Sizes the layout gives: each but the last its ideal (bounded by what is there), the last
    // the rest.
    static void LayoutSizes(std::vector<RowColInfo>& infos, int nTotal, int nBar);
    CRect BarRect(int nBar) const;

    std::vector<RowColInfo> m_rows;
    std::vector<RowColInfo> m_cols;
    int m_nTracking = 0;     // the bar being dragged (see HitTestBar)
    int m_nTrackOffset = 0;  // where in the bar it was taken
};
