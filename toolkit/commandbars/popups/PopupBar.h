// The bar that shows a menu: a top-most tool window opened for a control, at a point or outside
// an exclude rectangle, kept inside its monitor's work area (scrolling when too tall), short until
// expanded, animated when it opens, with a shadow and an optional tear-off gripper. The popup tool
// bar is the same window laid out in rows of icons; the expand button is the short menu's last item.
#pragma once

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"

class CKLVControlPopup;

class CKLVPopupBar : public CKLVCommandBar {
    DECLARE_SERIAL(CKLVPopupBar)
public:
    enum : UINT {
        idExpandButton = 9150, timerScrollDown = 5001, timerScrollUp = 5002, timerGripper = 5003,
        timerExpand = 5004, msgPopupOpening = 0x285B, msgPopupClosed = 0x285D, msgTornOff = 0x2867
    };
    // Direction bits: open to the left; the parent lies in a horizontal bar (open below it).
    enum { directionLeft = 1, directionBelow = 2 };
    enum AnimationKind { animateSystem = 0, animateRandom = 1, animateUnfold = 2, animateSlide = 3, animateFade = 4,
                         animateNone = 5 };
    enum { scrollArrowHeight = 16, scrollInterval = 80, expandDelay = 900, bottomReserve = 5 };
    // What TrackPopupMenu sets: alignment 2 left, 3 right.
    enum { alignLeft = 2, alignRight = 3 };

    // One scroll arrow: its rectangle and the timer it runs while the pointer rests on it.
    struct CScrollArrow {
        CRect rc;
        UINT_PTR nTimer = 0;
        CKLVPopupBar* pPopup = nullptr;
        UINT nTimerId = 0;
    };

    CKLVPopupBar();
    ~CKLVPopupBar() override;

    // A popup bar of the run-time class bound to the command bars and their link; the caller owns
    // a reference. Callers that hold the command bars themselves pass them once: the template
    // turns them into their link where their class is seen, which it is not here.
    static CKLVPopupBar* CreatePopupBar(CKLVCommandBars* pCommandBars, CKLVCommandBarsLink* pLink);
    template <class TCommandBars>
    static CKLVPopupBar* CreatePopupBar(TCommandBars* pCommandBars) {
        return CreatePopupBar(pCommandBars, pCommandBars);
    }

    // Opens the bar for the control (null: at the stored point); TRUE when it is open.
    virtual BOOL Popup(CKLVControlPopup* pControlPopup, BOOL bSelectFirst);
    BOOL Popup(int x, int y, LPCRECT lpExclude);
    // Shows the controls hidden for not being used.
    void ExpandBar() override;
    // The thread's messages until the bar stops tracking; WM_QUIT ends it and is posted again.
    void PumpMessageLoop();
    // Index (or, by id, the command id) of the first visible enabled own control; -1 when none.
    int GetFirstControl(BOOL bById = FALSE) const;
    CKLVControlPopup* GetControlPopup() const { return m_pControlPopup; }
    // The control base's view of a popup bar: the control that opened it, opening it for a
    // control (the control shares its shadow), and a double click on that control.
    CKLVControlPopup* GetOpeningControl() const override { return m_pControlPopup; }
    BOOL OpenFor(CKLVControlPopup* pControl, BOOL bSelectFirst) override;
    void RunDefaultItem() override;
    // The first visible default item, else null.
    CKLVControl* GetDefaultItem() const;
    // The animation kind this opening uses (5 shows the window directly).
    int GetAnimationKind() const;
    BOOL IsExpanded() const { return m_bExpanded; }
    BOOL HasHiddenItems() const { return m_bHasHiddenItems; }
    BOOL IsScrolling() const { return m_bScrolling; }
    int GetFirstVisible() const { return m_nFirstVisible; }
    int GetEndVisible() const { return m_nEndVisible; }
    const CScrollArrow& GetScrollDown() const { return m_scrollDown; }
    const CScrollArrow& GetScrollUp() const { return m_scrollUp; }
    CKLVCommandBar* GetTearOffBar() const { return m_pTearOffBar; }

    // What the bar overrides of the command bar, in its slot order.
    BOOL DestroyWindow() override;
    void DelayRedraw() override { Redraw(); }
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE) override;
    BOOL IsVisible() const override;
    void OnRecalcLayout() override;
    CKLVCommandBar* GetParentCommandBar() const override;
    BOOL IsPopupBar() const override { return TRUE; }
    void DoPropExchange(CKLVPropExchange* pPX) override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    void GetBorders(CRect& rcBorders) override;
    int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void DelayLayout() override;
    void Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    BOOL ProcessSpecialKey(int nKey) override;

    // Added operations.
    // The window rectangle for a popup of the size, placed by the point, exclude rectangle and
    // direction; turns scrolling on when the popup must scroll.
    virtual CRect CalcPopupRect(CSize sz);
    virtual void UpdateFromParentControl();
    virtual void AdjustExcludeRect(CRect& rc, BOOL bVertical);
    // The work area and the whole area of the monitor that holds the rectangle (or point).
    virtual void GetMonitorAreas(const CRect& rcExclude, CPoint pt, CRect& rcWork, CRect& rcMonitor) const;

    CKLVControlPopup* m_pControlPopup = nullptr;
    CPoint m_ptPopup = CPoint(0, 0);
    CRect m_rcExclude;
    DWORD m_dwPopupFlags = 0;
    BOOL m_bHasHiddenItems = FALSE;
    BOOL m_bExpanded = FALSE;
    BOOL m_bExpandedByUser = FALSE;
    BOOL m_bTearOffPopup = FALSE;
    CRect m_rcTearOffGripper;
    BOOL m_bTearOffSelected = FALSE;
    UINT_PTR m_nTearOffTimer = 0;
    BOOL m_bTearOffTracking = FALSE;
    CSize m_szTearOffBar = CSize(0, 0);
    CKLVCommandBar* m_pTearOffBar = nullptr;
    CString m_strTearOffCaption;
    UINT m_nTearOffID = 0;
    int m_nTearOffWidth = 0;
    BOOL m_bShowShadow = TRUE;
    CRect m_rcBorders = CRect(2, 4, 2, 4);
    // Set while the command bars keep the bar among their context menus.
    BOOL m_bContextMenu = FALSE;
    BOOL m_bScrolling = FALSE;
    int m_nFirstVisible = 0;
    int m_nEndVisible = 0;
    CScrollArrow m_scrollDown;
    CScrollArrow m_scrollUp;
    // Set by TrackPopupMenu for its run.
    int m_nAlignment = alignLeft;
    BOOL m_bNoNotify = FALSE;
    BOOL m_bRecursive = FALSE;
    // Set while the bar lays itself out, and while its window is being destroyed.
    BOOL m_bInLayout = FALSE;
    BOOL m_bDestroying = FALSE;

protected:
    BOOL CreatePopupWindow();
    void UpdateExpandingState();
    void UpdateLocation(CSize sz);
    // Places the controls from the first visible index down (or from the end index up).
    void CalcScrollingLayout(BOOL bDownward);
    // The borders with the tear-off gripper, and the expand item prepared; its height.
    int PrepareLayout(CDC* pDC, CRect& rcBorders);
    CKLVControl* FindExpandButton() const;
    void ShowPopupWindow();
    BOOL IsAnimated(int nKind) const;
    // Draws the popup into a picture and lets the paint manager change the window into it, from
    // the screen under the window with the start picture (when given) at its top-left.
    void PlayAnimation(int nKind, CDC* pStartDC, CSize szStart);
    void StopScrollTimer(CScrollArrow& arrow);
    void StopScrollTimers();
    void OnScrollTimer(CScrollArrow& arrow, BOOL bDownward);
    void OnGripperTimer();
    void OnExpandTimer();
    void TrackScrollArrow(CScrollArrow& arrow, CPoint point);
    void TearOff();
    BOOL IsOwnControl(CKLVControl* pControl) const { return pControl->GetParent() == this; }

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};

class CKLVPopupToolBar : public CKLVPopupBar {
    DECLARE_SERIAL(CKLVPopupToolBar)
public:
    CKLVPopupToolBar();
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void GetBorders(CRect& rcBorders) override { rcBorders = m_rcToolBarBorders; }
    void Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;

    CRect m_rcToolBarBorders = CRect(2, 2, 2, 2);
};

// The item at the bottom of a short menu that shows the hidden commands.
class CKLVControlExpandButton : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlExpandButton)
public:
    enum { expandFlags = 0x5A };
    CKLVControlExpandButton();
    void OnExecute() override;
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
};
