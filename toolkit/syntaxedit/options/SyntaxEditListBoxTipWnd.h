// The tip over a list item: shown where the pointer rests on an item, as wide as the item's text
// needs, hidden after five seconds, when the pointer leaves the item, or on a key or wheel turn.
// It watches its list's messages before the list sees them, and records the list's selection at
// each left-button press and release, so that a click that changed nothing can be told apart.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/common/HookSink.h"

class CKLVSyntaxEditListBoxTipWnd : public CWnd, public CKLVHookSink {
public:
    enum { kHideTimer = 1001, kTrackTimer = 1002 };
    static const UINT kHideDelay = 5000;
    static const UINT kTrackInterval = 100;

    CKLVSyntaxEditListBoxTipWnd() = default;
    ~CKLVSyntaxEditListBoxTipWnd() override;

    // Serves a list whose messages its owner passes to OnHookMessage before the list sees them.
    // An owner-drawn list's items are drawn into the tip by pDrawer, the list box or combo box
    // that draws them.
    void Attach(HWND hWndList, CWnd* pDrawer);
    // Serves a list no object of ours wraps (a combo box's drop-down list), watching its
    // messages through the window subclasser.
    void Hook(HWND hWndList, CWnd* pDrawer);
    void DetachList();
    HWND GetList() const { return m_hWndList; }

    // The tip for the item, the pointer at ptCursor (client point of the list); an invalid
    // item, or one without a rectangle, hides it.
    void ShowTip(int nItem, CPoint ptCursor);
    void HideTip();
    int GetShownItem() const { return m_nItem; }
    CRect GetTipRect() const { return m_rcTip; }

    // Whether the last left click's press and release saw different selections (and so whether
    // a selection handler has something to do).
    BOOL IsSelectionChanged() const { return m_nSelAtPress != m_nSelAtRelease; }
    void ResetSelectionRecords();

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    // The tip's contents as the window paints them.
    void Draw(CDC* pDC);

protected:
    BOOL CreateTip();
    CRect ItemTipRect(int nItem) const;
    int ItemAt(CPoint pt) const;
    void DrawOwnerItem(CDC* pDC, const CRect& rc);
    void StopTimers();

    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

    HWND m_hWndList = nullptr;
    CWnd* m_pDrawer = nullptr;
    BOOL m_bHooked = FALSE;
    int m_nItem = -1;
    CPoint m_ptLast{-1, -1};
    CRect m_rcTip;
    short m_nSelAtPress = -1;
    short m_nSelAtRelease = -2;
};
