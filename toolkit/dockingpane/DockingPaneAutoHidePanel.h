// The auto-hide panel of one side of the site: a thin strip with a row of tabs per group of hidden
// panes (a tabbed container each). Resting on a tab, clicking it or dragging something over it
// slides the pane out of that edge in a sliding window.
#pragma once

#include "classlib/Ole.h"
#include "classlib/Wnd.h"
#include "toolkit/dockingpane/DockingNode.h"
#include "toolkit/dockingpane/DockingPaneTabs.h"

#include <memory>
#include <vector>

class CKLVDockingPane;
class CKLVDockingPaneAutoHidePanel;
class CKLVDockingPaneAutoHideWnd;
class CKLVDockingPaneTabbedContainer;

// One group's row of tabs; its tabs face the frame's interior.
class CKLVDockingPaneAutoHideRow : public CKLVDockingPaneTabs {
public:
    explicit CKLVDockingPaneAutoHideRow(CKLVDockingPaneAutoHidePanel* pPanel);

    CKLVTabPainter* GetPaintManager() const override;
    int GetPosition() const override;
    void RedrawControl(const RECT* lpRect, BOOL bAnimate) override;
    void Reposition() override;

    // The painter lays out and draws with this row's position meanwhile.
    void Reposition(CDC* pDC, CRect rc);
    void Draw(CDC* pDC);

    CRect m_rcRow;   // where the row was laid out, panel client co-ordinates

private:
    CKLVDockingPaneAutoHidePanel* m_pPanel;
};

class CKLVDockingPaneAutoHidePanel : public CWnd, public CKLVDockingContainer {
    DECLARE_DYNAMIC(CKLVDockingPaneAutoHidePanel)
public:
    enum { nRowGap = 8 };

    explicit CKLVDockingPaneAutoHidePanel(CKLVDockingLayout* pLayout);
    ~CKLVDockingPaneAutoHidePanel() override;

    // Takes the panel's strip off rect on its side (nothing while empty); bMove places the window.
    virtual void Layout(CWnd* pParent, CRect& rect, BOOL bMove);
    virtual void AddContainer(CKLVDockingNode* pNode);
    virtual BOOL Create(CWnd* pParent);

    // Slides the pane out in a new sliding window (any other open one closes first).
    void ShowPane(CKLVDockingPane* pPane, BOOL bSetFocus);
    // The open sliding window slides no more: closed now, or in 50 ms when delayed.
    void CloseActiveWindow(BOOL bDelayed);
    // Every panel of the layout closes its open window.
    void CloseAllWindows();
    void RepositionRows(CDC* pDC, CRect rc);
    // The pane whose tab lies under the client point; none outside every tab.
    CKLVDockingPane* HitTest(CPoint point) const;
    // The group whose first pane was docked in the same holder as the first of lstPanes.
    CKLVDockingPaneTabbedContainer* FindGroupOf(const CKLVDockingNodeList& lstPanes) const;

    int GetSide() const { return m_nSide; }
    void SetSide(int nSide) { m_nSide = nSide; }
    // The side the panel is placed on: left and right swap in a right-to-left site.
    int GetPlacedSide() const;
    BOOL IsHorizontal() const { return m_nSide >= 2; }
    // The strip's thickness: the auto-hide tab row height and its margins.
    int GetThickness();
    CKLVDockingPaneAutoHideWnd* GetActiveWindow() const { return m_pActiveWnd; }
    // The pane the open sliding window shows; none without one.
    CKLVDockingPane* GetShownPane() const;
    // A sliding window that goes away lets go of the panel.
    void OnWindowGone(CKLVDockingPaneAutoHideWnd* pWnd);
    int GetRowCount() const { return static_cast<int>(m_arrRows.size()); }
    CKLVDockingPaneAutoHideRow* GetRow(int nIndex) const { return m_arrRows[nIndex].get(); }

    // Node operations.
    BOOL IsHidden() const override { return FALSE; }
    HWND GetPaneHwnd() const override { return m_hWnd; }
    void OnChildChanged(CKLVDockingNode* pNode) override;
    void UpdateCaption() override;
    void OnParentChanged(CKLVDockingNode* /*pNode*/) override {}
    // Side and groups by number; loading adds the groups and makes this the layout's panel of
    // its side (a side outside 0-3 fails).
    BOOL DoPropExchange(CKLVPropExchange* pPX) override;
    CKLVDockingNode* Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD dwIgnoredOptions = 0) override;
    void RemovePane(CKLVDockingNode* pNode) override;
    void Release() override { InternalRelease(); }
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    class CDropTarget;

    void OpenOnHover(CPoint point);
    void FillBackground(CDC* pDC, const CRect& rcClient);

    CKLVDockingPaneAutoHideWnd* m_pActiveWnd = nullptr;
    int m_nSide = 0;
    std::vector<std::unique_ptr<CKLVDockingPaneAutoHideRow>> m_arrRows;
    std::unique_ptr<CDropTarget> m_pDropTarget;
    CRect m_rcLast;
};
