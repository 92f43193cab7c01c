// A modal drag of a splitter bar: the bar's outline follows the mouse (clamped to bounds) as an
// inverted rectangle on the screen until the button is released (accept) or Esc is pressed
// (cancel).
#pragma once

#include "classlib/Dc.h"

class CWnd;

// The process's 50 % grey pattern brush that inverted outlines are drawn with (never deleted).
HBRUSH KLVHalftoneBrush();

class CKLVSplitterTracker {
public:
    // Style 0 draws a halftone outline, any other an inverted rectangle.
    explicit CKLVSplitterTracker(int nFeedbackStyle = 0) : m_nFeedbackStyle(nFeedbackStyle) {}

    // *pTracker holds the final position in every case; TRUE when the drag was accepted. A lost
    // capture or a quit request ends the drag as cancelled (the quit request stays queued).
    BOOL Track(CWnd* pTrackWnd, int nLeft, int nTop, int nRight, int nBottom, RECT* pTracker, POINT ptStart,
               BOOL bHorz);

    CRect m_rcBoundRect;   // drawn once at the start and erased at the end, when not empty

private:
    void DrawFeedback(const CRect& rect);

    int m_nFeedbackStyle;
    HDC m_hDC = nullptr;
};
