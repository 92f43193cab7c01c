// The Ctrl+Tab and Alt+F7 window selector: a borderless popup centred on the frame that lists the
// enabled docking panes ("Active Tool Windows") in one column and the MDI child windows ("Active
// Files") in columns of up to 15, with the caption, file type and path of the selected entry.
// Tab, Shift+Tab, the arrows and the mouse move the selection; releasing Ctrl, any other key or a
// click on an entry closes it and activates the selection.
#pragma once

#include "classlib/MiniFrameWnd.h"

#include <memory>
#include <vector>

class CKLVDockingPane;
class CKLVDockingPaneManager;

class CKLVWindowSelectItem {
public:
    enum { typePane = 0, typeWindow = 1, typeFrame = 2 };

    CRect rc;
    CKLVDockingPane* pPane = nullptr;   // type 0
    HWND hWnd = nullptr;                // types 1 and 2
    int nIndex = 0;
    int nColumn = 0;
    int nRow = 0;
    int nType = typePane;
};

class CKLVDockingPaneWindowSelect : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CKLVDockingPaneWindowSelect)
public:
    static const int kItemWidth = 163;
    static const int kColumnStep = 175;
    static const int kRowsPerColumn = 15;

    CKLVDockingPaneWindowSelect();
    ~CKLVDockingPaneWindowSelect() override;

    // Creates, runs and closes the selector, activating what was chosen; FALSE when it could not
    // be shown.
    BOOL Show();

    virtual CString GetItemCaption(const CKLVWindowSelectItem* pItem);
    virtual CString GetItemDescription(const CKLVWindowSelectItem* pItem);
    virtual CString GetItemPath(const CKLVWindowSelectItem* pItem);
    // Lays the items out and places the window; FALSE when it cannot.
    virtual BOOL Reposition();

    // The items of the panes and windows, their columns and the first selection.
    void BuildItems();
    CSize GetWindowSize() const;
    int GetItemHeight() const { return m_nItemHeight; }
    const std::vector<std::unique_ptr<CKLVWindowSelectItem>>& GetItems() const { return m_arItems; }
    int GetColumnCount() const { return static_cast<int>(m_arColumns.size()); }
    CKLVWindowSelectItem* GetSelectedItem() const { return m_pSelected; }
    int GetSelectedIndex() const { return m_pSelected ? m_pSelected->nIndex : -1; }
    CKLVWindowSelectItem* HitTest(CPoint pt) const;
    void Draw(CDC* pDC);
    // A key the selector acts on (Tab, Shift+Tab, the arrows), or that accepts the selection.
    void HandleKey(UINT nChar, UINT nFlags);

    CKLVDockingPaneManager* m_pManager = nullptr;
    BOOL m_bSelectPanes = FALSE;

protected:
    CKLVWindowSelectItem* AddItem(int nType, int nColumn, int nRow, int nLeft);
    void AddPanes();
    void AddWindows();
    void CloseColumn(int nFirst);
    void StepPaneSelection();
    void Select(CKLVWindowSelectItem* pItem);
    void Activate();
    void MoveByTab(BOOL bBack);
    void MoveAcrossColumns(int nStep);
    CKLVWindowSelectItem* ItemAt(int nIndex) const;
    void DrawItem(CDC* pDC, const CKLVWindowSelectItem& item);
    HICON GetWindowIcon(HWND hWnd) const;
    CDocument* GetItemDocument(const CKLVWindowSelectItem* pItem) const;
    // The object outlives its window: whoever made it deletes it.
    void PostNcDestroy() override {}

    afx_msg void OnPaint();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()

    std::vector<std::unique_ptr<CKLVWindowSelectItem>> m_arItems;
    std::vector<std::pair<int, int>> m_arColumns;   // first and last item of each column
    CKLVWindowSelectItem* m_pSelected = nullptr;
    HCURSOR m_hCursorHand = nullptr;
    HCURSOR m_hCursorArrow = nullptr;
    int m_nFirstWindow = 0;
    int m_nPaneCount = 0;
    CString m_strPanesHeader;
    CString m_strWindowsHeader;
    CFont m_fontNormal;
    CFont m_fontBold;
    int m_nItemHeight = 0;
};
