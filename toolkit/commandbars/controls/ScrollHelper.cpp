#include "toolkit/commandbars/controls/ScrollHelper.h"

#include "toolkit/commandbars/paint/ControlGalleryPaintManager.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/common/MouseHook.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Holds the mouse hook's lock while a press is tracked: popups stay open under the bar.
class CHookLock {
public:
    CHookLock() { ++KLVMouseHook()->m_nLock; }
    ~CHookLock() { --KLVMouseHook()->m_nLock; }
    CHookLock(const CHookLock&) = delete;
    CHookLock& operator=(const CHookLock&) = delete;
};

// The next message while the window holds the capture; FALSE when it lost it, or on WM_QUIT,
// which is posted again for the loop outside.
BOOL NextCapturedMessage(HWND hWnd, MSG& msg) {
    if (::GetCapture() != hWnd) return FALSE;
    if (::GetMessageA(&msg, nullptr, 0, 0)) return TRUE;
    ::PostQuitMessage(static_cast<int>(msg.wParam));
    return FALSE;
}

CPoint PointOf(const MSG& msg) { return CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)); }

}  // namespace

void CKLVScrollHelper::CalcScrollBarInfo(CRect rcBar, KLVScrollBarGeometry* pGeometry, const SCROLLINFO& si) {
    KLVScrollBarGeometry& g = *pGeometry;
    g = KLVScrollBarGeometry();
    g.rcBar = rcBar;
    g.nMin = si.nMin;
    g.nMax = si.nMax;
    g.nPage = static_cast<int>(si.nPage);
    g.nPos = si.nPos;
    const int nStart = m_bVertical ? rcBar.top : rcBar.left, nEnd = m_bVertical ? rcBar.bottom : rcBar.right;
    const int nLength = nEnd - nStart;
    CKLVControlGalleryPaintManager* pPainter = GetScrollBarPaintManager();
    const int nThemeArrow = pPainter ? (m_bVertical ? pPainter->m_cyVScroll : pPainter->m_cxHScroll)
                                     : ::GetSystemMetrics(m_bVertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    const int nArrow = std::min(nLength / 2, nThemeArrow);
    g.pxFirstArrowEnd = nStart + nArrow;
    g.pxSecondArrowStart = nEnd - nArrow;
    const int nTrackLength = g.pxSecondArrowStart - g.pxFirstArrowEnd;
    const int nRange = g.nMax - g.nMin + 1;
    if (nRange <= 0 || g.nPage >= nRange || nTrackLength <= 0) {
        g.pxThumbStart = g.pxFirstArrowEnd;
        g.pxThumbEnd = g.pxSecondArrowStart;
        return;
    }
    const int nThumb = std::min(nTrackLength, std::max(::MulDiv(nTrackLength, g.nPage, nRange), nArrow / 2));
    const int nPos = std::clamp(g.nPos, g.nMin, g.nMax - g.nPage + 1);
    g.pxThumbStart = g.pxFirstArrowEnd + ::MulDiv(nPos - g.nMin, nTrackLength - nThumb, nRange - g.nPage);
    g.pxThumbEnd = g.pxThumbStart + nThumb;
}

void CKLVScrollHelper::UpdateScrollBar() {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    GetScrollInfo(&si);
    CalcScrollBarInfo(GetScrollBarRect(), &m_geometry, si);
}

int CKLVScrollHelper::HitTest(CPoint pt) const {
    const KLVScrollBarGeometry& g = m_geometry;
    if (!g.rcBar.PtInRect(pt)) return partNone;
    const int px = Along(pt);
    if (px < g.pxFirstArrowEnd) return partFirstArrow;
    if (g.pxBarEnd > 0 && px >= g.pxBarEnd) return partBeyond;
    if (px >= g.pxSecondArrowStart) return partSecondArrow;
    if (px < g.pxThumbStart) return partPageBefore;
    if (px < g.pxThumbEnd) return partThumb;
    return partPageAfter;
}

int CKLVScrollHelper::GetScrollBarStyle() const {
    if (m_nScrollBarStyle != 0) return m_nScrollBarStyle;
    CKLVControlGalleryPaintManager* pPainter = GetScrollBarPaintManager();
    const int nTheme = pPainter && pPainter->m_pPaintManager ? pPainter->m_pPaintManager->m_nTheme : 0;
    return nTheme == 0 ? 2 : nTheme == 5 || nTheme == 6 ? 5 : 3;
}

int CKLVScrollHelper::PositionFromThumb(int pxThumbStart) const {
    const KLVScrollBarGeometry& g = m_geometry;
    const int nFree = (g.pxSecondArrowStart - g.pxFirstArrowEnd) - (g.pxThumbEnd - g.pxThumbStart);
    const int nRange = g.nMax - g.nMin + 1;
    if (nFree <= 0 || nRange <= g.nPage) return g.nMin;
    const int px = std::clamp(pxThumbStart - g.pxFirstArrowEnd, 0, nFree);
    return g.nMin + ::MulDiv(px, nRange - g.nPage, nFree);
}

void CKLVScrollHelper::PerformTrackInit(HWND hWnd, CPoint pt, BOOL bShift) {
    const int nPart = HitTest(pt);
    if (nPart == partNone || nPart == partBeyond || !IsScrollBarEnabled() || !::IsWindow(hWnd)) return;
    CHookLock lock;
    ::SetCapture(hWnd);
    m_nPressedPart = nPart;
    const BOOL bJump = bShift && (nPart == partPageBefore || nPart == partPageAfter);
    if (nPart == partThumb || bJump)
        TrackThumb(hWnd, pt);
    else
        TrackRepeat(hWnd, nPart);
    m_nPressedPart = partNone;
    if (::GetCapture() == hWnd) ::ReleaseCapture();
    RedrawScrollBar();
}

void CKLVScrollHelper::TrackRepeat(HWND hWnd, int nPart) {
    const int nCode = nPart - partFirstArrow;   // SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN
    const UINT nDoubleClick = ::GetDoubleClickTime();
    DoScroll(nCode, 0);
    RedrawScrollBar();
    SetRepeatTimer(hWnd, nDoubleClick * 4 / 5);
    BOOL bFirstTick = TRUE;
    BOOL bOver = TRUE;
    MSG msg;
    while (NextCapturedMessage(hWnd, msg)) {
        if (msg.message == WM_LBUTTONUP) break;
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hWnd) {
            // Leaving the pressed part pauses the repeat.
            bOver = HitTest(PointOf(msg)) == nPart;
            continue;
        }
        if (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == timerRepeat) {
            if (bFirstTick) SetRepeatTimer(hWnd, nDoubleClick / 10);
            bFirstTick = FALSE;
            if (bOver) {
                DoScroll(nCode, 0);
                RedrawScrollBar();
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    ::KillTimer(hWnd, timerRepeat);
    DoScroll(SB_ENDSCROLL, 0);
}

void CKLVScrollHelper::TrackThumb(HWND hWnd, CPoint pt) {
    const int nStartPos = m_geometry.nPos;
    const int nThumb = m_geometry.pxThumbEnd - m_geometry.pxThumbStart;
    int nOffset = Along(pt) - m_geometry.pxThumbStart;
    if (HitTest(pt) != partThumb) {
        // A Shift press in the track: the thumb's centre jumps to the point.
        nOffset = nThumb / 2;
        m_nPressedPart = partThumb;
        DoScroll(SB_THUMBTRACK, PositionFromThumb(Along(pt) - nOffset));
    }
    const CRect rcBar = m_geometry.rcBar;
    const int nWidth = m_bVertical ? rcBar.Width() : rcBar.Height();
    const int nArrow = ::GetSystemMetrics(m_bVertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    const int nBarStart = m_bVertical ? rcBar.top : rcBar.left, nBarEnd = m_bVertical ? rcBar.bottom : rcBar.right;
    const int nSideStart = m_bVertical ? rcBar.left : rcBar.top, nSideEnd = m_bVertical ? rcBar.right : rcBar.bottom;
    int nPos = m_geometry.nPos;
    MSG msg;
    while (NextCapturedMessage(hWnd, msg)) {
        if (msg.message == WM_LBUTTONUP) break;
        if (msg.message != WM_MOUSEMOVE || msg.hwnd != hWnd) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            continue;
        }
        const CPoint ptMove = PointOf(msg);
        const BOOL bFar = Across(ptMove) < nSideStart - 8 * nWidth || Across(ptMove) > nSideEnd + 8 * nWidth ||
                          Along(ptMove) < nBarStart - 2 * nArrow || Along(ptMove) > nBarEnd + 2 * nArrow;
        // Far away the thumb goes back to where it started.
        nPos = bFar ? nStartPos : PositionFromThumb(Along(ptMove) - nOffset);
        DoScroll(SB_THUMBTRACK, nPos);
        RedrawScrollBar();
    }
    DoScroll(SB_THUMBPOSITION, nPos);
    RedrawScrollBar();
    DoScroll(SB_ENDSCROLL, 0);
}
