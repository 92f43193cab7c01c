// The sliding window of an auto-hide panel: a child of the site that shows one hidden group,
// slides out of the panel's edge step by step, slides back a while after the mouse has left
// and can be resized by its inner border. Its lifetime follows its references: the window's own
// one goes when the window is destroyed.
#pragma once

#include "classlib/MiniFrameWnd.h"

class CKLVDockingPane;
class CKLVDockingPaneAutoHidePanel;
class CKLVDockingPaneManager;
class CKLVDockingPaneTabbedContainer;

class CKLVDockingPaneAutoHideWnd : public CMiniFrameWnd {
    DECLARE_DYNAMIC(CKLVDockingPaneAutoHideWnd)
public:
    enum { timerCheck = 1, timerSlideOut = 2, timerSlideBack = 3, timerClose = 4 };
    enum { nBorder = 4, nCountdownTicks = 6, nCheckInterval = 100, nCloseDelay = 50 };
    // The open window slides back by itself and its panel closes it.
    static BOOL s_bAutoClose;

    CKLVDockingPaneAutoHideWnd(CKLVDockingPaneAutoHidePanel* pPanel, CKLVDockingPaneTabbedContainer* pContainer);
    ~CKLVDockingPaneAutoHideWnd() override;

    // Creates the window, takes the group's window in and starts sliding out. FALSE without a
    // window: the object is gone then.
    BOOL Open();
    // The track sizes of the shown pane with the caption, and with bBorder the border on the
    // sliding axis.
    void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo, BOOL bBorder) const;
    // Shows the current step: that share of the full extent, against the panel's edge.
    void ApplyStep();
    // Hands the group back and posts the window its close.
    void Close();
    // Hands the group's window back to the site and forgets the group.
    void ReleaseContainer();
    // Forgets the group and the panel (the panel is going).
    void Detach();
    // The range the dragged border may move in and the border strip, site client co-ordinates;
    // FALSE without room.
    BOOL GetSplitterLimits(CRect& rcLimit, CRect& rcStrip) const;
    // The window from the border strip out to the docked area's edge; the pane keeps the size.
    void ResizeTo(const CRect& rcStrip);

    CKLVDockingPaneTabbedContainer* GetContainer() const { return m_pContainer; }
    CKLVDockingPane* GetShownPane() const;
    int GetCurrentStep() const { return m_nCurrentStep; }
    int GetStepCount() const { return m_nStepCount; }
    BOOL IsClosing() const { return m_bClosing; }
    BOOL IsResizing() const { return m_bResizing; }
    CRect GetFullRect() const { return m_rcFull; }
    // The side the window slides from, mirrored in a right-to-left site.
    int GetPlacedSide() const { return m_nPlacedSide; }

    void RecalcLayout(BOOL bNotify = TRUE) override;

protected:
    void PostNcDestroy() override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnClose();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    CKLVDockingPaneManager* GetManager() const;
    CWnd* GetSite() const;
    BOOL IsTrackedByPanel() const;
    BOOL IsContainerFocused() const;
    void OnCheckTick();
    void OnSlideOutTick();
    void OnSlideBackTick();
    void StartSlidingBack();
    void ReverseSlidingBack();
    void TrackBorder(CRect rcLimit, CRect rcStrip);
    void ResizeLive(const CRect& rcLimit, CRect rcStrip);
    CRect ToScreen(CRect rc) const;

    CKLVDockingPaneTabbedContainer* m_pContainer;
    CKLVDockingPaneAutoHidePanel* m_pPanel;
    int m_nSide = 0;
    int m_nPlacedSide = 0;
    BOOL m_bHorizontal = FALSE;
    int m_nCurrentStep = 0;
    int m_nStepCount = 1;
    BOOL m_bClosing = FALSE;
    CRect m_rcFull;
    int m_nCountdown = nCountdownTicks;
    BOOL m_bResizing = FALSE;
    HCURSOR m_hCursor = nullptr;
};
