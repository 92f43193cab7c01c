#include "toolkit/common/SplitterTracker.h"

#include "classlib/Wnd.h"

#include <algorithm>

HBRUSH KLVHalftoneBrush() {
    static const WORD kPattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    static HBRUSH s_hBrush = [] {
        HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, kPattern);
        HBRUSH hBrush = ::CreatePatternBrush(hBitmap);
        ::DeleteObject(hBitmap);
        return hBrush;
    }();
    return s_hBrush;
}

void CKLVSplitterTracker::DrawFeedback(const CRect& rect) {
    if (m_nFeedbackStyle == 0) {
        HGDIOBJ hOldBrush = ::SelectObject(m_hDC, KLVHalftoneBrush());
        ::PatBlt(m_hDC, rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
        ::SelectObject(m_hDC, hOldBrush);
    } else {
        ::InvertRect(m_hDC, &rect);
    }
}

BOOL CKLVSplitterTracker::Track(CWnd* pTrackWnd, int nLeft, int nTop, int nRight, int nBottom, RECT* pTracker,
                                POINT ptStart, BOOL bHorz) {
    CRect rcTracker(pTracker);
    const CRect rcAvail(nLeft, nTop, nRight, nBottom);
    const CPoint point(ptStart);
    HWND hWnd = AfxGetSafeHwnd(pTrackWnd);
    ::SetCapture(hWnd);
    HWND hDesktop = ::GetDesktopWindow();
    BOOL bLocked = ::LockWindowUpdate(hDesktop);
    m_hDC = ::GetDCEx(hDesktop, nullptr, bLocked ? DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE : DCX_WINDOW | DCX_CACHE);
    const CSize grab = bHorz ? CSize(rcTracker.left - point.x, 0) : CSize(0, rcTracker.top - point.y);
    DrawFeedback(rcTracker);
    if (!m_rcBoundRect.IsRectEmpty()) DrawFeedback(m_rcBoundRect);

    BOOL bAccept = FALSE;
    MSG msg;
    while (::GetCapture() == hWnd) {
        BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot <= 0) {
            // The loop of the thread must see the quit request too.
            if (bGot == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            POINT pt = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            ::ClientToScreen(msg.hwnd, &pt);
            pt.x = std::clamp(pt.x + grab.cx, rcAvail.left, std::max(rcAvail.left, rcAvail.right));
            pt.y = std::clamp(pt.y + grab.cy, rcAvail.top, std::max(rcAvail.top, rcAvail.bottom));
            LONG nNow = bHorz ? rcTracker.left : rcTracker.top, nNew = bHorz ? pt.x : pt.y;
            if (nNew != nNow) {
                DrawFeedback(rcTracker);
                rcTracker.OffsetRect(bHorz ? nNew - nNow : 0, bHorz ? 0 : nNew - nNow);
                DrawFeedback(rcTracker);
            }
        } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            break;
        } else if (msg.message == WM_LBUTTONUP) {
            bAccept = TRUE;
            break;
        } else {
            ::DispatchMessageA(&msg);
        }
    }

    if (!m_rcBoundRect.IsRectEmpty()) DrawFeedback(m_rcBoundRect);
    DrawFeedback(rcTracker);
    if (::GetCapture() == hWnd) ::ReleaseCapture();
    if (bLocked) ::LockWindowUpdate(nullptr);
    ::ReleaseDC(hDesktop, m_hDC);
    m_hDC = nullptr;
    *pTracker = rcTracker;
    return bAccept;
}
