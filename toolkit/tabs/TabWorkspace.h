// A tab workspace of the MDI tab client: one row of tabs, each standing for an MDI child. With
// tab groups the client window draws the workspaces itself; without them each lives in a small
// child window of the frame (CKLVTabWorkspaceWnd) that shows the row.
#pragma once

#include "classlib/Wnd.h"
#include "toolkit/tabs/TabManager.h"

class CKLVTabClientWnd;

class CKLVTabWorkspace : public CKLVTabManager {
public:
    CKLVTabWorkspace() = default;
    ~CKLVTabWorkspace() override;

    // The window the row is drawn in: its own (without groups) or the client's.
    virtual CWnd* GetHostWindow() const;

    void Reposition() override;
    int GetItemImage(const CKLVTabManagerItem* pItem) const override;
    COLORREF GetItemColor(const CKLVTabManagerItem* pItem) const override;
    CString GetItemTooltip(const CKLVTabManagerItem* pItem) const override;
    CKLVTabPainter* GetPaintManager() const override;
    void RedrawControl(const RECT* lpRect, BOOL bAnimate) override;
    BOOL IsAllowReorder() const override;
    void SetAllowReorder(BOOL bAllowReorder) override;
    BOOL IsDrawStaticFrame() const override;
    BOOL DrawIcon(CDC* pDC, CPoint pt, CKLVTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) override;
    void SelectItem(CKLVTabManagerItem* pItem) override;
    BOOL OnBeforeItemClick(CKLVTabManagerItem* pItem) override;
    void ReorderItem(HWND hWnd, CPoint pt, CKLVTabManagerItem* pItem) override;
    void OnNavigateButtonClick(CKLVTabManagerNavigateButton* pButton) override;
    BOOL IsMouseLocked() const override;


    CKLVTabClientWnd* m_pClient = nullptr;
    double m_dHeight = 100.0;   // share of the space along the group axis
    CRect m_rcSplitter;         // the splitter after this workspace; empty for the last
};

// The workspace of a client without tab groups: a child window of the frame over the tab band.
class CKLVTabWorkspaceWnd : public CWnd, public CKLVTabWorkspace {
public:
    CKLVTabWorkspaceWnd() = default;
    ~CKLVTabWorkspaceWnd() override;

    CWnd* GetHostWindow() const override { return const_cast<CKLVTabWorkspaceWnd*>(this); }
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Mouse messages reach the client's tooltip host first.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

// The row's list button: the tabs as a numbered popup list.
class CKLVTabWorkspaceListButton : public CKLVTabManagerNavigateButton {
public:
    explicit CKLVTabWorkspaceListButton(CKLVTabWorkspace* pWorkspace);

    void Reposition(CRect& rcRow) override;
    void Draw(CDC* pDC, CRect rc) override;
    void PerformClick(HWND hWnd, CPoint pt) override;

    BOOL m_bMore = FALSE;   // the row has more tabs than it can show
};
