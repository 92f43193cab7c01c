// The floating frame of the docking panes: a pop-up tool window owned by the site that holds a
// splitter container of tabbed containers torn off the docked layout. Its lifetime follows its
// references (node Release), not its window.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/MiniFrameWnd.h"
#include "toolkit/dockingpane/DockingNode.h"

class CKLVDockingPane;
class CKLVDockingPaneTabbedContainer;
class CKLVDockingSplitterContainer;

class CKLVDockingPaneMiniWnd : public CMiniFrameWnd, public CKLVDockingNode {
    DECLARE_DYNAMIC(CKLVDockingPaneMiniWnd)
public:
    enum { nMinVisible = 10, timerCollapse = 1, timerAnimate = 3, timerHover = 2345 };
    // Process-wide animation settings, shared with the auto-hide sliding window.
    static int s_nAnimationInterval;   // ms between steps
    static int s_nAnimationDuration;   // ms for a whole roll
    // The steps of a whole roll at these settings, at least one, and the timer period between them.
    static int GetAnimationStepCount();
    static UINT GetAnimationTimerInterval();
    static BOOL s_bShowAutoHideButton;

    explicit CKLVDockingPaneMiniWnd(CKLVDockingLayout* pLayout);
    ~CKLVDockingPaneMiniWnd() override;

    // Creates the window on rect, kept at least 10 pixels inside its monitor's work area.
    virtual BOOL Create(CRect rect);
    virtual void OnCaptionButtonClick(CKLVDockingPaneCaptionButton* pButton);
    // TRUE when the press is handled here (the Menu button asks the owner for its menu).
    virtual BOOL OnCaptionButtonDown(CKLVDockingPaneCaptionButton* pButton);
    virtual void UpdateTranslucency();
    // Takes over a copy of the source's content in pLayout (pMap given: the panes are copied,
    // else they move); in the live layout the frame gets its window.
    virtual void Copy(CKLVDockingPaneMiniWnd* pSource, CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap);

    // Floats pNode (a pane gets a tabbed container of its own) in a new window on rect.
    void Init(CKLVDockingNode* pNode, CRect rect);
    // A frame of the live layout made without its window (copied or loaded) takes it, on its
    // rectangle, with its containers' windows moved in.
    void CreateLiveWindow();
    // Reports the action for every pane in list order; TRUE at the first that cancels it.
    BOOL NotifyPanes(int nAction);
    // The selected pane of the single tabbed container; null with none or several.
    CKLVDockingPane* GetSelectedPane() const;
    // Closes every closable pane through the manager, as WM_CLOSE does.
    void ClosePanes();
    // Collapse mode (themed frames only): the frame rolls up to its caption when the mouse leaves.
    void ToggleCollapseMode();
    void EnableCollapseMode();
    // Rolls a rolled-up frame out at once; a roll-up in progress is not reversed.
    void Expand();
    void ApplyCollapseStep(BOOL bBringToTop);
    // The manager's layout pass: the frame's border follows the themed-frame setting.
    void UpdateFrameStyle();
    BOOL IsCollapseMode() const { return m_bCollapseMode; }
    BOOL IsAnimating() const { return m_bAnimating; }
    int GetCurrentStep() const { return m_roll.nCurrentStep; }
    CKLVDockingSplitterContainer* GetTopContainer() const { return m_pTopContainer; }
    BOOL IsCloseEnabled() const { return m_bCloseEnabled; }
    BOOL IsActive() const { return m_bActive; }

    void RecalcLayout(BOOL bNotify = TRUE) override;

    // Node operations.
    void RedrawPane() override;
    BOOL ContainsPane(const CKLVDockingNode* pNode) const override { return pNode == this; }
    void FindPane(int nType, CKLVDockingNodeList* pList) override;
    BOOL IsHidden() const override { return FALSE; }
    HWND GetPaneHwnd() const override { return m_hWnd; }
    void UpdateActiveState() override;
    void OnChildChanged(CKLVDockingNode* pNode) override;
    void UpdateCaption() override;
    void OnParentChanged(CKLVDockingNode* /*pNode*/) override {}
    void RemovePane(CKLVDockingNode* pNode) override;
    BOOL IsCaptionButtonVisible(CKLVDockingPaneCaptionButton* pButton) override;
    // The window rectangle, collapse mode and the top container by number ("TopContaner");
    // loading makes a splitter container the top container.
    BOOL DoPropExchange(CKLVPropExchange* pPX) override;
    CKLVDockingNode* Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD dwIgnoredOptions = 0) override;
    void Release() override { InternalRelease(); }
    // A visible caption button of the theme-drawn frame, its tip the string of its id.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    void PostNcDestroy() override {}   // the last reference deletes the frame

    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pMMI);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg LRESULT OnSizingMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BOOL IsThemedFrame() const;
    int GetThemeCaptionHeight() const;
    void StopAnimation();
    void OnCollapseTick();
    void OnAnimationTick();
    void OnHoverTick();
    void CollectTabbedContainers(CKLVDockingNodeList* pList) const;
    void UpdateCloseState(const CKLVDockingNodeList& lstContainers);
    // The visible caption button under a window-relative point.
    CKLVDockingPaneCaptionButton* HitTestCaptionButton(CPoint ptWindow);
    CRect WindowToScreen(CRect rc) const;
    // The pane the caption menu is for: the single group's selected pane, else the active group's.
    CKLVDockingPane* GetMenuPane() const;

    CKLVDockingSplitterContainer* m_pTopContainer = nullptr;
    BOOL m_bCloseEnabled = FALSE;
    BOOL m_bActive = FALSE;
    BOOL m_bCaptionUpdatePending = FALSE;
    BOOL m_bInRecalc = FALSE;

    // Collapse mode: rolled out while expanded; the steps run from the count down to -1.
    struct {
        int nFullHeight = 0;
        int nStepCount = 1;
        int nCurrentStep = 1;
        int nCountdown = 0;   // ticks of timer 1 before rolling up
    } m_roll;
    BOOL m_bCollapseMode = FALSE, m_bExpanded = FALSE, m_bAnimating = FALSE;
};
