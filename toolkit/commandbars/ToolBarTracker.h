// Moves a tool bar with the mouse between its dock bars and floating, resizes a floating one by
// its borders, and toggles it between docked and floating on a double click.
#pragma once

#include "classlib/Geometry.h"

class CKLVToolBar;

class CKLVToolBarTracker {
public:
    enum { modeNone = 0, modeMove = 1 };

    explicit CKLVToolBarTracker(CKLVToolBar* pBar) : m_pBar(pBar) {}
    virtual ~CKLVToolBarTracker() = default;
    CKLVToolBarTracker(const CKLVToolBarTracker&) = delete;
    CKLVToolBarTracker& operator=(const CKLVToolBarTracker&) = delete;

    // Drags the bar from the screen point until the button is released.
    virtual void StartMove(CPoint pt);
    // Resizes the floating bar (or a dialog bar, also docked) by the border of the hit-test code
    // (HTLEFT to HTBOTTOMRIGHT).
    virtual void StartResize(int nHitTest, CPoint pt);
    // Floats a docked bar (when the options allow it) or docks a floating one where it last was.
    virtual void ToggleDocking();
    // Runs the drag until Escape, the button release, WM_QUIT (posted again) or the capture's
    // loss; nothing when another window holds the capture.
    virtual void TrackLoop();

    CKLVToolBar* m_pBar;
    int m_nMode = modeNone;
    CPoint m_ptLast;
    int m_nLastDockPosition = 0;
    CRect m_rcLastDocked;
    CPoint m_ptLastFloating;
    CRect m_rcDrag;
    CRect m_rcTrack;

protected:
    void OnMoveStep(CPoint pt);
    void OnResizeStep(CPoint pt);
    // A bar with a size of its own (the dialog bar): the dragged border's edges follow the mouse
    // and the bar decides whether it takes the size.
    void ResizeFreely(CPoint pt);
    // Floats the bar at the tracking rectangle, centred on the point when the bar was docked.
    void FloatAt(CPoint pt, BOOL bCentre);
    // The rectangle moved back so that it keeps the margin inside the work area of its monitor.
    static CRect KeepInsideWorkArea(CRect rc, int nMargin);
};
