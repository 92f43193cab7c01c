// A windowless scroll bar: its parts laid out along a rectangle of its owner's window, hit
// testing, and the modal tracking of a press (arrows and track repeat on timer 23345, the thumb
// follows the mouse and snaps back when the mouse goes far to the side). The galleries' painter
// draws it from its face.
#pragma once

#include "classlib/Geometry.h"
#include "toolkit/commandbars/paint/ScrollBarFace.h"

#include <windows.h>

class CWnd;
class CKLVControlGalleryPaintManager;

class CKLVScrollHelper : public CKLVScrollBarFace {
public:
    enum { timerRepeat = 23345 };

    virtual ~CKLVScrollHelper() = default;

    virtual CKLVControlGalleryPaintManager* GetScrollBarPaintManager() const = 0;
    virtual CRect GetScrollBarRect() = 0;
    virtual void GetScrollInfo(SCROLLINFO* pInfo) = 0;
    virtual void DoScroll(int nCode, int nPos) = 0;
    virtual void RedrawScrollBar() = 0;
    virtual CWnd* GetParentWindow() const = 0;
    // The parts along the bar: two arrows, the track between them and the thumb in it.
    virtual void CalcScrollBarInfo(CRect rcBar, KLVScrollBarGeometry* pGeometry, const SCROLLINFO& si);

    // Recomputes the geometry from the owner's rectangle and scroll information.
    void UpdateScrollBar();
    // The part under the point, 0 outside the bar.
    int HitTest(CPoint pt) const;
    int GetScrollBarStyle() const override;
    // Tracks a left press on the bar until the button is released, the capture lost or the
    // thread told to quit (posted again). Shift in the track jumps the thumb to the point.
    void PerformTrackInit(HWND hWnd, CPoint pt, BOOL bShift);

    int m_nScrollBarStyle = 0;

protected:
    // Starts (or restarts) the repeat timer; a test may watch the delays.
    virtual void SetRepeatTimer(HWND hWnd, UINT nElapse) { ::SetTimer(hWnd, timerRepeat, nElapse, nullptr); }
    // The position of a thumb whose start lies at the pixel.
    int PositionFromThumb(int pxThumbStart) const;

private:
    void TrackThumb(HWND hWnd, CPoint pt);
    void TrackRepeat(HWND hWnd, int nPart);
    int Along(CPoint pt) const { return m_bVertical ? pt.y : pt.x; }
    int Across(CPoint pt) const { return m_bVertical ? pt.x : pt.y; }
};
