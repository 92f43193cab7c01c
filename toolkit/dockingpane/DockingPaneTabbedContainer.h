// The node that shows one or more panes in one place: a caption with the selected pane's title
// and caption buttons, a tab per pane, and the selected pane's window. It gets a window on its
// first pane in the live layout; in a detached layout it stays data only.
#pragma once

#include "classlib/Ole.h"
#include "classlib/Wnd.h"
#include "toolkit/common/Accessible.h"
#include "toolkit/dockingpane/DockingNode.h"
#include "toolkit/dockingpane/DockingPaneTabs.h"

#include <memory>
#include <vector>

class CKLVDockingPane;
class CKLVDockingPaneTabbedContainer;

// The container's row of tabs: one item per pane, drawn by the theme's panel tab painter.
class CKLVDockingTabbedContainerTabs : public CKLVDockingPaneTabs {
public:
    explicit CKLVDockingTabbedContainerTabs(CKLVDockingPaneTabbedContainer* pContainer) : m_pContainer(pContainer) {}

    CKLVTabPainter* GetPaintManager() const override;
    void Reposition() override;
    void RedrawControl(const RECT* lpRect, BOOL bAnimate) override;

private:
    CKLVDockingPaneTabbedContainer* m_pContainer;
};

class CKLVDockingPaneTabbedContainer : public CWnd, public CKLVDockingContainer, public CKLVAccessible {
    DECLARE_DYNAMIC(CKLVDockingPaneTabbedContainer)
public:
    enum { htCaption = -2, htNothing = -1 };

    explicit CKLVDockingPaneTabbedContainer(CKLVDockingLayout* pLayout);
    ~CKLVDockingPaneTabbedContainer() override;

    virtual void SelectPane(CKLVDockingPane* pPane, BOOL bActivate = TRUE, BOOL bRelayout = TRUE);
    virtual BOOL IsCaptionVertical() const;
    virtual BOOL IsTabsVisible() const;
    virtual void OnCaptionLButtonDown(CPoint ptScreen);
    // Whether (x, y) lies on the caption strip or the tab row of rcWindow; the tab row leaves
    // rcWindow's bottom moved up by its height.
    virtual BOOL PtInCaptionOrTabs(CRect& rcWindow, int x, int y) const;
    virtual void OnCaptionButtonClick(CKLVDockingPaneCaptionButton* pButton);
    virtual void CopyFrom(CKLVDockingPaneTabbedContainer* pSource, CKLVDockingNodeMap* pMap, DWORD dwIgnoredOptions);
    virtual void UpdateTabs();

    // The site becomes this container's, the pane is attached and selected.
    void Init(CKLVDockingPane* pPane, CWnd* pSite);
    // A container of the live layout made without its window (loaded) takes it; hidden while it
    // stands in an auto-hide panel.
    void CreateLiveWindow();
    void AttachPane(CKLVDockingPane* pPane, BOOL bSelect = TRUE);
    CKLVDockingPane* GetSelected() const { return m_pSelectedPane; }
    CString GetCaptionText() const;
    BOOL IsActive() const { return m_bActive; }
    BOOL IsCaptionVisible() const;
    void ShowCaption(BOOL bShow);
    // htCaption, a tab index or htNothing.
    int HitTest(int x, int y) const;
    CKLVDockingPane* GetPaneAt(int nTab) const;
    CKLVTabManagerItem* FindItem(const CKLVDockingPane* pPane) const;
    CKLVDockingTabbedContainerTabs* GetTabs() { return &m_tabs; }
    CKLVDockingPaneCaptionButton* GetCaptionButton(int nIndex) const { return m_arrCaptionButtons[nIndex].get(); }
    int GetCaptionButtonCount() const { return static_cast<int>(m_arrCaptionButtons.size()); }
    CKLVDockingPane* GetTrackedPane() const { return m_pTrackingPane; }
    BOOL CanMaximise() const;
    void Maximise();
    void Restore();
    BOOL IsMaximised() const { return m_bMaximized; }
    BOOL IsSiblingMaximised() const;
    // Takes the focus for the selected pane (else itself) and lets the manager check it.
    void TakeFocus();
    // Adds the caption and the tab row (when shown) to a pane's track sizes.
    void AddFrameToMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const;

    void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const override;
    BOOL IsHidden() const override;
    HWND GetPaneHwnd() const override { return m_hWnd; }
    void OnSizeParent(CWnd* pSite, CRect rect, AFX_SIZEPARENTPARAMS* pParams) override;
    void UpdateActiveState() override;
    void SetParentContainer(CKLVDockingNode* pContainer) override;
    void UpdateCaption() override;
    void OnParentChanged(CKLVDockingNode* pNode) override;
    // Its panes by number, in tab order, and the selected one; loading attaches the panes.
    BOOL DoPropExchange(CKLVPropExchange* pPX) override;
    CKLVDockingNode* Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD dwIgnoredOptions = 0) override;
    void RemovePane(CKLVDockingNode* pNode) override;
    BOOL IsCaptionButtonVisible(CKLVDockingPaneCaptionButton* pButton) override;
    void Release() override { InternalRelease(); }
    // A visible caption button (its tooltip is the string of its id), else the tab under the
    // point (the pane's title).
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    // Accessibility: a page tab list of the panes' tabs, after the selected pane's window.
    KLV_DECLARE_ACCESSIBLE_TARGET()
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    class CDropTarget;

    void RequestLayout();
    void CreateContainerWindow();
    // The pane area of rc: caption and tab row removed by the theme.
    CRect GetPaneArea(CRect rc) const;
    void LayoutPanes(const CRect& rcPaneArea);
    CKLVDockingPaneCaptionButton* HitTestCaptionButton(CPoint point) const;
    void OnTabLButtonDown(int nTab, CPoint point);
    void OnTrackedMouseMove(CPoint point);
    void EndTabTracking();
    void ClosePanes();
    void PressMenuButton(CKLVDockingPaneCaptionButton* pButton);
    BOOL StoreSizeForHiding();

    CKLVDockingTabbedContainerTabs m_tabs{this};
    BOOL m_bActive = FALSE;
    BOOL m_bCaptionVisible = TRUE;
    int m_nLockReposition = 0;
    BOOL m_bEnsureSelectedTab = FALSE;   // the next layout pass moves the window even in place
    CKLVDockingPane* m_pSelectedPane = nullptr;
    CKLVDockingPane* m_pTrackingPane = nullptr;
    std::vector<CRect> m_arrTabRects;   // where the tabs were when a tab drag began
    std::unique_ptr<CDropTarget> m_pDropTarget;
    BOOL m_bMaximized = FALSE;
};
