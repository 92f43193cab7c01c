// The edit control's margins, scroll bars (its own or the parent view's), scrolling by rows,
// pages, columns and the wheel, and the mouse cursor over its areas.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <algorithm>

void CKLVSyntaxEditCtrl::RecalcMargins() {
    const int nOldOffset = m_nTextLeftOffset;
    int nOffset = m_bSelMargin ? m_nSelMarginWidth : 0;
    m_nLineNumberWidth = 0;
    if (m_bLineNumbers) {
        int nCharWidth = GetCharWidth();
        if (m_hWnd) {
            CClientDC dc(this);
            CFont* pOld = dc.SelectObject(GetPaintManager()->GetLineNumberFont());
            TEXTMETRIC tm{};
            if (dc.GetTextMetrics(&tm)) nCharWidth = tm.tmAveCharWidth;
            dc.SelectObject(pOld);
        }
        m_nLineNumberWidth = (CKLVSyntaxEditPaintManager::CountDigits(GetRowCount()) + 1) * nCharWidth + 2;
        nOffset += m_nLineNumberWidth;
    }
    if (m_bShowNodes) nOffset += m_nNodeSize;
    nOffset += 4;
    m_nTextLeftOffset = nOffset;
    if (nOffset == nOldOffset) return;
    m_nDirtyRow = -1;
    SetCaretScreenPos(TRUE);
    if (m_hWnd) Invalidate(TRUE);
}

BOOL CKLVSyntaxEditCtrl::IsRowVisible(int nRow) const {
    if (nRow < 1 || nRow > GetRowCount()) return FALSE;
    return nRow >= m_nTopRow && nRow <= m_nTopRow + GetVisibleRowCount();
}

CWnd* CKLVSyntaxEditCtrl::GetScrollBarOwner() {
    if (m_bUseParentScrollBars && m_pParentWnd && m_pParentWnd->IsKindOf(RUNTIME_CLASS(CView)) &&
        m_pParentWnd->GetSafeHwnd())
        return m_pParentWnd;
    return this;
}

BOOL CKLVSyntaxEditCtrl::HasHorzBar() {
    CWnd* pOwner = GetScrollBarOwner();
    return pOwner->GetSafeHwnd() && (pOwner->GetStyle() & WS_HSCROLL);
}

BOOL CKLVSyntaxEditCtrl::GetBarInfo(int nBar, SCROLLINFO& si, UINT nMask) {
    si = SCROLLINFO{};
    si.cbSize = sizeof si;
    si.fMask = nMask;
    CWnd* pOwner = GetScrollBarOwner();
    return pOwner->GetSafeHwnd() && ::GetScrollInfo(pOwner->GetSafeHwnd(), nBar, &si);
}

namespace {

// Whether the bar already holds every value that si sets.
bool BarHolds(HWND hWnd, int nBar, const SCROLLINFO& si) {
    SCROLLINFO held{};
    held.cbSize = sizeof held;
    held.fMask = SIF_ALL;
    if (!::GetScrollInfo(hWnd, nBar, &held)) return false;
    return (!(si.fMask & SIF_RANGE) || (held.nMin == si.nMin && held.nMax == si.nMax)) &&
           (!(si.fMask & SIF_PAGE) || held.nPage == si.nPage) && (!(si.fMask & SIF_POS) || held.nPos == si.nPos);
}

}  // namespace

void CKLVSyntaxEditCtrl::SetBarInfo(int nBar, SCROLLINFO& si, BOOL bRedraw) {
    si.cbSize = sizeof si;
    CWnd* pOwner = GetScrollBarOwner();
    const HWND hOwner = pOwner->GetSafeHwnd();
    // Setting a bar redraws it, which costs a keystroke several milliseconds under load: a
    // keystroke that leaves the rows count and the longest row alone sets nothing.
    if (hOwner && !BarHolds(hOwner, nBar, si)) ::SetScrollInfo(hOwner, nBar, &si, bRedraw);
}

void CKLVSyntaxEditCtrl::EnableBar(int nBar, BOOL bEnable) {
    CWnd* pOwner = GetScrollBarOwner();
    if (pOwner->GetSafeHwnd()) ::EnableScrollBar(pOwner->GetSafeHwnd(), nBar, bEnable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

void CKLVSyntaxEditCtrl::ReadHorzScrollInfo() {
    SCROLLINFO si;
    if (HasHorzBar() && GetBarInfo(SB_HORZ, si, SIF_ALL)) m_siHorz = si;
}

void CKLVSyntaxEditCtrl::SetHorzScrollPos(int nPos) {
    m_siHorz.nPos = std::max(nPos, 0);
    SCROLLINFO si{};
    si.fMask = SIF_POS;
    si.nPos = m_siHorz.nPos;
    SetBarInfo(SB_HORZ, si);
    // A bar whose range is smaller keeps its own position; painting reads ours.
    SCROLLINFO siRead;
    if (HasHorzBar() && GetBarInfo(SB_HORZ, siRead, SIF_POS)) m_siHorz.nPos = siRead.nPos;
}

void CKLVSyntaxEditCtrl::UpdateVScrollBar() {
    if (GetRowHeight() <= 0 || !m_hWnd) return;
    const int nVisible = GetVisibleRowCount(), nTotal = GetVisibleRowNumber(-1);
    SCROLLINFO si{};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 1;
    si.nMax = nTotal;
    si.nPage = static_cast<UINT>(nVisible);
    si.nPos = GetVisibleRowNumber(m_nTopRow);
    if (nTotal >= nVisible) SetBarInfo(SB_VERT, si);
    EnableBar(SB_VERT, nTotal >= nVisible);
}

void CKLVSyntaxEditCtrl::UpdateHScrollBar() {
    if (GetCharWidth() <= 0 || !m_hWnd || !m_pBuffer) return;
    CRect rc;
    GetClientRect(&rc);
    SCROLLINFO si{};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMax = m_pBuffer->GetMaxLineLength();
    si.nPage = static_cast<UINT>(std::max((rc.Width() - m_nTextLeftOffset) / GetCharWidth(), 0));
    si.nPos = m_siHorz.nPos;
    if (m_bHorzScrollBar) SetBarInfo(SB_HORZ, si);
}

void CKLVSyntaxEditCtrl::UpdateScrollBars() {
    if (GetRowHeight() <= 0 || !m_pBuffer) return;
    int nClientRows = 0, nPageH = 20, nPageV = 20;
    CRect rc;
    if (m_hWnd) {
        GetClientRect(&rc);
        nClientRows = rc.Height() / GetRowHeight();
        nPageH = GetCharWidth() > 0 ? rc.Width() / GetCharWidth() : 20;
        nPageV = nClientRows;
    }
    m_nFirstVisibleRow = GetDocRow(m_nTopRow, 1);
    m_nLastVisibleRow = GetDocRow(m_nTopRow, nClientRows);
    int nWidth = m_pBuffer->GetMaxLineLength(m_nFirstVisibleRow, m_nLastVisibleRow);
    const int nTotal = GetVisibleRowNumber(-1);
    if (m_hWnd) nWidth += nPageH / 2;
    if (m_hWnd) {
        SCROLLINFO si{};
        if (GetRowCount() >= 2) {
            si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
            si.nMax = nWidth;
            si.nPage = static_cast<UINT>(nPageH);
            si.nPos = m_siHorz.nPos;
            SetBarInfo(SB_HORZ, si);
            EnableBar(SB_HORZ, TRUE);
            SCROLLINFO siV;
            GetBarInfo(SB_VERT, siV, SIF_ALL);
            siV.nPage = static_cast<UINT>(nPageV);
            if (nTotal >= nClientRows) {
                siV.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
                siV.nMin = 1;
                siV.nMax = nTotal;
                siV.nPos = GetVisibleRowNumber(m_nTopRow);
                SetBarInfo(SB_VERT, siV);
            }
            EnableBar(SB_VERT, nTotal >= nClientRows);
        } else {
            si.fMask = SIF_PAGE | SIF_DISABLENOSCROLL;
            si.nPage = static_cast<UINT>(nPageV);
            SetBarInfo(SB_VERT, si);
            EnableBar(SB_VERT, TRUE);
            si.nPage = static_cast<UINT>(nPageH);
            SetBarInfo(SB_HORZ, si);
        }
    }
    RecalcMargins();
}

int CKLVSyntaxEditCtrl::ScrollUpRows(int nRows) {
    const int s = GetScreenRow(m_nTopRow, m_nCurRow);
    if (s - nRows >= 1) {
        m_nCurRow = GetDocRow(m_nTopRow, s - nRows);
        m_nDirtyRow = m_nCurRow;
        return s - nRows;
    }
    int k = m_nCurRow - GetDocRow(1, std::max(GetVisibleRowNumber(m_nCurRow) - nRows, 1));
    k = std::min(k, m_nTopRow - 1);
    m_nTopRow -= k;
    m_nCurRow -= k;
    m_nDirtyRow = -1;
    return GetScreenRow(m_nTopRow, m_nCurRow);
}

int CKLVSyntaxEditCtrl::ScrollDownRows(int nRows) {
    const int s = GetScreenRow(m_nTopRow, m_nCurRow);
    m_nCurRow = std::min(GetDocRow(m_nTopRow, s + nRows), std::max(GetRowCount(), 1));
    m_nDirtyRow = m_nCurRow;
    if (m_nCurRow > GetDocRow(m_nTopRow, GetVisibleRowCount())) {
        m_nTopRow = GetDocRow(m_nTopRow, nRows + 1);
        m_nDirtyRow = -1;
    }
    return GetScreenRow(m_nTopRow, m_nCurRow);
}

BOOL CKLVSyntaxEditCtrl::PageUp(int nRows, BOOL bKeepCaret) {
    if (m_nTopRow < 2) return FALSE;
    const int nOldTop = m_nTopRow, c = m_nCurRow;
    m_nCurRow = m_nTopRow;
    ScrollUpRows(nRows);
    const int nLast = GetDocRow(m_nTopRow, GetVisibleRowCount());
    m_nCurRow = bKeepCaret && c >= nLast ? nLast : c;
    if (m_nCurRow > nLast && m_bCaretCreated) ::HideCaret(m_hWnd);
    return m_nTopRow != nOldTop;
}

BOOL CKLVSyntaxEditCtrl::PageDown(int nRows, BOOL bKeepCaret) {
    if (m_nTopRow >= GetRowCount()) return FALSE;
    const int nOldTop = m_nTopRow, c = m_nCurRow;
    m_nCurRow = GetDocRow(m_nTopRow, std::max(GetVisibleRowCount(), 1));
    ScrollDownRows(nRows);
    const int nFirst = m_nTopRow;
    m_nCurRow = bKeepCaret && c <= nFirst ? nFirst : c;
    if (m_nCurRow < nFirst && m_bCaretCreated) ::HideCaret(m_hWnd);
    return m_nTopRow != nOldTop;
}

void CKLVSyntaxEditCtrl::ScrollBy(int nCols, int nRows) {
    if (nRows >= 1)
        PageDown(nRows, FALSE);
    else if (nRows < 0)
        PageUp(-nRows, FALSE);
    m_nDispCol += nCols;
    if (nCols) SetHorzScrollPos(m_siHorz.nPos + nCols);
    UpdateVScrollBar();
    UpdateHScrollBar();
    if (m_hWnd) Invalidate(FALSE);
    SetCaretScreenPos(FALSE);
    m_bScrolled = TRUE;
    const int nFlags = (nRows ? 1 : 0) | (nCols ? 2 : 0);
    if (nFlags) NotifyValue(KLVSEN_LAYOUT, nFlags);
}

void CKLVSyntaxEditCtrl::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (!GetPaintManager()->GetTextFont()->m_hObject) return;
    m_nDirtyRow = -1;
    UpdateVScrollBar();
    UpdateHScrollBar();
    UpdateWindow();
}

LRESULT CKLVSyntaxEditCtrl::OnHScroll(WPARAM wParam, LPARAM) {
    OnScrollAction(SB_HORZ, LOWORD(wParam));
    return 0;
}

LRESULT CKLVSyntaxEditCtrl::OnVScroll(WPARAM wParam, LPARAM) {
    OnScrollAction(SB_VERT, LOWORD(wParam));
    return 0;
}

void CKLVSyntaxEditCtrl::OnScrollAction(int nBar, UINT nSBCode) {
    SCROLLINFO si;
    GetBarInfo(nBar, si, SIF_ALL);
    const int nPage = static_cast<int>(si.nPage);
    if (nBar == SB_HORZ) {
        int p = m_siHorz.nPos;
        switch (nSBCode) {
        case SB_LINELEFT: p -= 1; break;
        case SB_LINERIGHT: p += 1; break;
        case SB_PAGELEFT: p -= nPage; break;
        case SB_PAGERIGHT: p += nPage; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            if (!GetBarInfo(SB_HORZ, si, SIF_TRACKPOS)) return;
            p = si.nTrackPos;
            break;
        case SB_LEFT: p = si.nMin; break;
        case SB_RIGHT: p = si.nMax; break;
        default: return;
        }
        SetHorzScrollPos(p);
        if (m_bFocus) SetCaretScreenPos(FALSE);
        m_nDirtyRow = -1;
        Invalidate(FALSE);
        UpdateWindow();
        return;
    }
    const int nOldTop = m_nTopRow;
    int nPos = si.nPos;
    switch (nSBCode) {
    case SB_LINEUP:
        if (PageUp(1, FALSE)) nPos -= 1;
        break;
    case SB_LINEDOWN:
        if (PageDown(1, FALSE)) nPos += 1;
        break;
    case SB_PAGEUP:
        PageUp(nPage, FALSE);
        nPos = std::max(nPos - nPage, 1);
        break;
    case SB_PAGEDOWN:
        PageDown(nPage, FALSE);
        nPos += nPage;
        break;
    case SB_THUMBTRACK: {
        SCROLLINFO siTrack;
        if (!GetBarInfo(SB_VERT, siTrack, SIF_TRACKPOS)) return;
        const int d = siTrack.nTrackPos - GetVisibleRowNumber(m_nTopRow);
        if (d >= 1) PageDown(d, FALSE);
        if (d < 0) PageUp(-d, FALSE);
        nPos = siTrack.nTrackPos;
        break;
    }
    case SB_TOP:
    case SB_BOTTOM:
        nPos = nSBCode == SB_TOP ? si.nMin : si.nMax;
        m_nCurRow = std::clamp(nPos, 1, std::max(GetRowCount(), 1));
        m_nCurCharPos = m_nDispCol = m_nPrefCol = 1;
        break;
    default: return;
    }
    SCROLLINFO siPos{};
    siPos.fMask = SIF_POS;
    siPos.nPos = nPos;
    SetBarInfo(SB_VERT, siPos);
    if (m_nCurRow >= m_nFirstVisibleRow && m_nCurRow <= m_nLastVisibleRow) SetCaretScreenPos(FALSE);
    if (m_nTopRow != nOldTop) {
        Invalidate(FALSE);
        UpdateWindow();
    }
}

BOOL CKLVSyntaxEditCtrl::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    HideAutoComplete();
    m_wndToolTip.Hide();
    ScrollBy(0, zDelta < 0 ? m_nWheelStep : -m_nWheelStep);
    return CWnd::OnMouseWheel(nFlags, zDelta, pt);
}

BOOL CKLVSyntaxEditCtrl::IsOverNode(CPoint pt) {
    if (!m_bShowNodes || GetRowHeight() <= 0 || pt.y < 0) return FALSE;
    CRect rcNode;
    GetNodeRect(pt.y / GetRowHeight(), rcNode);
    rcNode.InflateRect(0, 0, 1, 1);
    int nRow = 0, nCol = 0, nPos = 0;
    DWORD dwFlags = 0;
    return rcNode.PtInRect(pt) && !(HitTest(pt, nRow, nCol, nPos) & klvHitRowClamped) && GetNodeFlags(nRow, dwFlags) &&
           (dwFlags & (klvNodeCollapsed | klvNodeExpanded));
}

BOOL CKLVSyntaxEditCtrl::OnSetCursor(CWnd*, UINT, UINT) {
    CKLVSyntaxEditPaintManager* pPaint = GetPaintManager();
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    CRect rcClient;
    GetClientRect(&rcClient);
    const CRect rcText(m_nTextLeftOffset, rcClient.top, rcClient.right, rcClient.bottom);
    const int nSelMargin = m_bSelMargin ? m_nSelMarginWidth : 0;
    HCURSOR hCursor = pPaint->GetArrowCursor();
    if (m_bDragging) {
        if (!rcText.PtInRect(pt))
            hCursor = pPaint->GetNoDropCursor();
        else
            hCursor = (::GetKeyState(VK_CONTROL) < 0) ? pPaint->GetDragCopyCursor() : pPaint->GetDragMoveCursor();
    } else if (IsOverNode(pt)) {
        hCursor = pPaint->GetArrowCursor();
    } else if (rcText.PtInRect(pt)) {
        if (!m_bPressedInSelection && !m_bRightDrag) hCursor = pPaint->GetIBeamCursor();
    } else if (pt.x >= nSelMargin && pt.x < m_nTextLeftOffset && pt.y >= 0 && pt.y < rcClient.bottom) {
        hCursor = pPaint->GetMarginCursor();
    }
    if (hCursor) ::SetCursor(hCursor);
    return TRUE;
}
