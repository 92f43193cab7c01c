// The edit control's left button: placing the caret, selecting by characters, words, whole rows
// and columns, the fold nodes and the selection margin, dragging the selection, the auto-scroll
// timer while selecting, and the end of every mouse operation when the capture goes.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <algorithm>
#include <cstring>

namespace {

// Characters that end a word for double clicks and word drags.
BOOL IsWordDelimiter(char ch) {
    return ch && strchr("&%\"|\t[](){}:,;=+-/\\<>. ", ch) != nullptr;
}

BOOL IsKeyDown(int nVirtKey) {
    return ::GetKeyState(nVirtKey) < 0;
}

const int kAutoScrollRows = 3;
const UINT kAutoScrollInterval = 100;

}  // namespace

void CKLVSyntaxEditCtrl::SetOwnCapture() {
    if (m_hWnd && ::GetCapture() != m_hWnd) SetCapture();
}

void CKLVSyntaxEditCtrl::ReleaseOwnCapture() {
    if (!m_hWnd || ::GetCapture() != m_hWnd) return;
    m_bReleasingCapture = TRUE;
    ::ReleaseCapture();
    m_bReleasingCapture = FALSE;
}

void CKLVSyntaxEditCtrl::EndMouseOperation() {
    if (m_hWnd) KillTimer(kTimerAutoScroll);
    const BOOL bWasDragging = m_bDragging;
    m_bArmed = m_bSelecting = m_bDragging = m_bRightDrag = m_bDropAllowed = m_bPressedInSelection = FALSE;
    m_bWordMode = FALSE;
    // The caret leaves the drop position.
    if (bWasDragging) SetCaretScreenPos(FALSE);
}

void CKLVSyntaxEditCtrl::OnCaptureChanged(CWnd* pWnd) {
    // Losing the capture without a release (another window took it, a menu or dialog came up)
    // ends whatever the mouse was doing; otherwise its states would stay and lock out the keys.
    if (!m_bReleasingCapture) EndMouseOperation();
    CWnd::OnCaptureChanged(pWnd);
}

void CKLVSyntaxEditCtrl::OnCancelMode() {
    CWnd::OnCancelMode();
    ReleaseOwnCapture();
    EndMouseOperation();
}

void CKLVSyntaxEditCtrl::OnLButtonDown(UINT, CPoint pt) {
    m_ptLastMouse = pt;
    HideAutoComplete();
    HitTestSelection(pt);
    const BOOL bInSelection = m_bPressedInSelection;
    m_bDragging = m_bSelecting = m_bArmed = m_bRowSelectionMode = FALSE;
    m_nVirtualCol = 0;
    if (m_bSelection) {
        m_nDirtyRow = -1;
        Invalidate(FALSE);
    }
    NotifyValue(KLVSEN_MOUSEDOWN, 0);
    SetOwnCapture();
    m_bRightDrag = FALSE;
    if (bInSelection) {
        if (m_bParentDragDrop)
            NotifyValue(KLVSEN_STARTDRAG, 0);
        else
            m_bDragging = TRUE;
        return;
    }
    int nRow = 0, nCol = 0, nPos = 0;
    const DWORD dwHit = HitTest(pt, nRow, nCol, nPos);
    if (m_pBuffer && (nRow != m_nCurRow || nPos != m_nCurCharPos)) m_pBuffer->GetUndoManager()->SetGroupInsertMode(FALSE);
    if (PressOnGutter(pt, nRow, dwHit)) return;
    const BOOL bShift = IsKeyDown(VK_SHIFT), bAlt = IsKeyDown(VK_MENU);
    if (IsKeyDown(VK_CONTROL) && !bAlt) {
        m_bArmed = m_bWordMode = TRUE;
        m_ptWordSelect = pt;
        SelectWordAt(pt);
        return;
    }
    m_bArmed = TRUE;
    m_bWordMode = FALSE;
    if (!bShift && !bAlt)
        ClearSelection();
    else if (bShift && !m_bSelection)
        m_ptSelStart = CPoint(m_nDispCol, m_nCurRow);
    m_bColumnSelection = bAlt;
    const CString& strRow = GetRowText(nRow);
    m_nCurRow = nRow;
    m_nDispCol = m_nPrefCol = AlignColumn(strRow, std::clamp(nCol, 1, GetRowEndColumn(strRow)));
    m_nCurCharPos = ColumnToCharPos(strRow, m_nDispCol);
    if (!bShift) m_ptSelStart = m_ptSelEnd = CPoint(m_nDispCol, m_nCurRow);
    if (bShift || bAlt) {
        m_ptSelEnd = CPoint(m_nDispCol, m_nCurRow);
        m_bSelection = m_bSelecting = TRUE;
        m_bArmed = FALSE;
    } else if (dwHit & klvHitLeftOfText) {
        // A press in the gutter beside the text selects whole rows.
        m_bRowSelectionMode = TRUE;
        m_nAnchorRow = nRow;
        m_nDispCol = m_nPrefCol = m_nCurCharPos = 1;
        SetRowRangeSelection(nRow, nRow);
        m_nDirtyRow = -1;
        Invalidate(FALSE);
    }
    EnsureVisible(m_nCurRow, m_nDispCol, FALSE, TRUE);
    SetTimer(kTimerAutoScroll, kAutoScrollInterval, nullptr);
}

BOOL CKLVSyntaxEditCtrl::PressOnGutter(CPoint pt, int nRow, DWORD dwHit) {
    if (IsOverNode(pt)) {
        ClearSelection();
        ToggleCollapse(nRow);
        return TRUE;
    }
    if (!m_bSelMargin || pt.x >= m_nSelMarginWidth) return FALSE;
    ClearSelection();
    const int nScreenRow = pt.y / std::max(GetRowHeight(), 1) + 1;
    // The parent may take the click for itself; else it toggles the row's breakpoint.
    if (NotifyRows(KLVSEN_MARGINCLICK, nRow, nScreenRow) == 0 && !(dwHit & klvHitRowClamped)) {
        ToggleBreakpoint(nRow);
        SetCurPos(nRow, 1, FALSE, TRUE);
    }
    return TRUE;
}

void CKLVSyntaxEditCtrl::SetRowRangeSelection(int nAnchorRow, int nRow) {
    const int nRows = std::max(GetRowCount(), 1);
    const int nFirst = std::min(nAnchorRow, nRow), nLast = std::max(nAnchorRow, nRow);
    m_bSelection = TRUE;
    m_ptSelStart = CPoint(1, nFirst);
    m_ptSelEnd = nLast < nRows ? CPoint(1, nLast + 1) : CPoint(GetRowEndColumn(GetRowText(nLast)), nLast);
    if (nRow < nAnchorRow) std::swap(m_ptSelStart, m_ptSelEnd);
}

void CKLVSyntaxEditCtrl::MoveCaretToPoint(CPoint pt, BOOL bRawColumn) {
    int nRow = 0, nCol = 0, nPos = 0;
    HitTest(pt, nRow, nCol, nPos);
    const CString& strRow = GetRowText(nRow);
    m_nCurRow = nRow;
    nCol = std::max(nCol, 1);
    m_nDispCol = bRawColumn ? nCol : AlignColumn(strRow, std::min(nCol, GetRowEndColumn(strRow)));
    m_nPrefCol = m_nDispCol;
    m_nCurCharPos = ColumnToCharPos(strRow, m_nDispCol);
}

void CKLVSyntaxEditCtrl::OnMouseMove(UINT nFlags, CPoint pt) {
    m_ptLastMouse = pt;
    if (m_bArmed) {
        m_bArmed = FALSE;
        m_bSelecting = TRUE;
        if (!m_bWordMode) MoveCaretToPoint(pt, m_bColumnSelection);
    }
    if (m_bSelecting) {
        if (!IsKeyDown(VK_LBUTTON)) {
            m_bColumnSelection = m_bSelecting = m_bArmed = FALSE;
            CWnd::OnMouseMove(nFlags, pt);
            return;
        }
        ExtendSelectionTo(pt);
    } else if (m_bDragging) {
        TrackDrop(pt);
    }
    HitTestSelection(pt);
    ShowCollapsedTip(pt);
    CWnd::OnMouseMove(nFlags, pt);
}

void CKLVSyntaxEditCtrl::ExtendSelectionTo(CPoint pt) {
    if (m_bScrolled) {
        m_nDirtyRow = -1;
        m_bScrolled = FALSE;
    }
    if (m_bWordMode)
        SelectWordAt(pt);
    else
        MoveCaretToPoint(pt, m_bColumnSelection);
    m_ptSelEnd = CPoint(m_nDispCol, m_nCurRow);
    if (m_bRowSelectionMode) {
        if (pt.x < m_nTextLeftOffset && m_nDispCol == 1) {
            SetRowRangeSelection(m_nAnchorRow, m_nCurRow);
        } else {
            m_bRowSelectionMode = FALSE;
            m_nDirtyRow = -1;
        }
    }
    m_bSelection = TRUE;
    if (m_nDirtyRow != -1) m_nDirtyRow = m_bColumnSelection ? -1 : m_nCurRow;
    EnsureVisible(m_nCurRow, m_nDispCol, TRUE, FALSE);
    UpdateWindow();
    NotifyValue(KLVSEN_LAYOUT, 3);
}

void CKLVSyntaxEditCtrl::TrackDrop(CPoint pt) {
    CRect rcText;
    GetClientRect(&rcText);
    rcText.left = m_nTextLeftOffset;
    if (!rcText.PtInRect(pt)) {
        m_bDropAllowed = FALSE;
        ::SetCursor(::LoadCursor(nullptr, IDC_NO));
        return;
    }
    int nRow = 0, nCol = 0, nPos = 0;
    HitTest(pt, nRow, nCol, nPos);
    const CString& strRow = GetRowText(nRow);
    nCol = m_bColumnSelection ? std::max(nCol, 1) : AlignColumn(strRow, std::clamp(nCol, 1, GetRowEndColumn(strRow)));
    m_ptDrop = CPoint(nCol, nRow);
    m_bDropAllowed = !IsInSelection(nRow, nCol);
    // The caret shows where the text would land.
    const int x = (nCol - GetHScrollPos() - 1) * GetCharWidth() + m_nTextLeftOffset;
    SetCaretAt(std::max(x, m_nTextLeftOffset), (GetScreenRow(m_nTopRow, nRow) - 1) * GetRowHeight());
    RefreshCursor();
}

void CKLVSyntaxEditCtrl::OnLButtonUp(UINT nFlags, CPoint pt) {
    if (!m_hWnd || ::GetCapture() != m_hWnd) {
        CWnd::OnLButtonUp(nFlags, pt);
        return;
    }
    if (!m_bFocus) {
        // Without the focus the release only ends what the press began.
        ReleaseOwnCapture();
        EndMouseOperation();
        return;
    }
    ReleaseOwnCapture();
    KillTimer(kTimerAutoScroll);
    if (m_bRowSelectionMode && m_nDispCol == 1 && m_bSelection) {
        const CPoint ptStart = GetOrderedSelection(TRUE), ptEnd = GetOrderedSelection(FALSE);
        if (m_nCurRow >= ptStart.y && m_nCurRow < ptEnd.y && m_nCurRow < GetRowCount()) ++m_nCurRow;
        m_nCurCharPos = NormalizeColumn(m_nCurRow, m_nDispCol);
    }
    m_bSelecting = m_bArmed = FALSE;
    if (m_bDragging) {
        if (m_bDropAllowed)
            DropText(IsKeyDown(VK_CONTROL));
        else
            ClearSelection();
    }
    m_bDragging = m_bDropAllowed = m_bPressedInSelection = m_bWordMode = FALSE;
    m_nDirtyRow = -1;
    EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
    UpdateWindow();
}

void CKLVSyntaxEditCtrl::OnLButtonDblClk(UINT, CPoint pt) {
    KillTimer(kTimerAutoScroll);
    if (CKLVSyntaxEditCollapsedData* pData = HitTestCollapsedBlock(pt)) {
        ToggleCollapse(FindCollapsedRow(pData));
        m_ptLastHover = CPoint(-1, -1);
        ShowCollapsedTip(pt);
        return;
    }
    // Like a press, the double click holds the mouse until its release.
    SetOwnCapture();
    m_bArmed = m_bWordMode = TRUE;
    m_bRowSelectionMode = FALSE;
    m_ptWordSelect = pt;
    SelectWordAt(pt);
}

int CKLVSyntaxEditCtrl::FindCollapsedRow(const CKLVSyntaxEditCollapsedData* pData) const {
    for (int i = 0; i < m_arCollapsedRows.GetSize(); ++i) {
        const int nRow = static_cast<int>(m_arCollapsedRows[i]);
        if (GetCollapsedData(nRow) == pData) return nRow;
    }
    return pData->block.lcStart.nLine;
}

void CKLVSyntaxEditCtrl::SelectWordAt(CPoint pt) {
    int nRow = 0, nCol = 0, nPos = 0;
    // The character under the pointer, not the nearest boundary.
    HitTest(CPoint(pt.x - GetCharWidth() / 2, pt.y), nRow, nCol, nPos);
    if (nRow < 1 || nRow > GetRowCount()) return;
    const CString strRow = GetRowText(nRow);
    const int i = std::clamp(nPos - 1, 0, std::max(strRow.GetLength() - 1, 0));
    int a = i, b = i;
    if (strRow.IsEmpty()) {
        b = a = 0;
    } else if (IsWordDelimiter(strRow[i])) {
        b = i + 1;
    } else {
        while (a > 0 && !IsWordDelimiter(strRow[a - 1])) --a;
        while (b < strRow.GetLength() && !IsWordDelimiter(strRow[b])) ++b;
    }
    const CPoint ptWordStart(CharPosToColumn(strRow, a + 1), nRow), ptWordEnd(CharPosToColumn(strRow, b + 1), nRow);
    if (!m_bSelecting) {
        m_ptWordStart = m_ptSelStart = ptWordStart;
        m_ptWordEnd = m_ptSelEnd = ptWordEnd;
        if (m_hWnd) SetTimer(kTimerAutoScroll, kAutoScrollInterval, nullptr);
    } else {
        // The first word stays selected; the selection grows to the far side of this one.
        const BOOL bAfter = ptWordStart.y > m_ptWordStart.y || (ptWordStart.y == m_ptWordStart.y && ptWordStart.x >= m_ptWordStart.x);
        m_ptSelStart = bAfter ? m_ptWordStart : m_ptWordEnd;
        m_ptSelEnd = bAfter ? ptWordEnd : ptWordStart;
    }
    m_nCurRow = m_ptSelEnd.y;
    m_nDispCol = m_nPrefCol = m_ptSelEnd.x;
    m_nCurCharPos = NormalizeColumn(m_nCurRow, m_nDispCol);
    m_bSelection = TRUE;
    m_nDirtyRow = -1;
    EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
}

void CKLVSyntaxEditCtrl::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kTimerAutoScroll) {
        AutoScroll();
        return;
    }
    if (nIDEvent != kTimerParseRedraw) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kTimerParseRedraw);
    RepaintForParse(FALSE);
}

void CKLVSyntaxEditCtrl::AutoScroll() {
    if (!IsKeyDown(VK_LBUTTON)) {
        // The button is up: no selection goes on.
        m_bColumnSelection = m_bSelecting = m_bArmed = FALSE;
        KillTimer(kTimerAutoScroll);
        return;
    }
    CRect rc;
    GetClientRect(&rc);
    const CPoint pt = m_ptLastMouse;
    const int nVisible = std::max(GetVisibleRowCount(), 1);
    int nTarget = 0;
    if (pt.y < 0)
        nTarget = std::max(m_nTopRow - kAutoScrollRows, 1);
    else if (pt.y >= nVisible * GetRowHeight())
        nTarget = GetDocRow(m_nTopRow, nVisible) + kAutoScrollRows;
    else
        return;
    MoveCaretToPoint(pt, m_bColumnSelection);
    m_nCurRow = std::clamp(nTarget, 1, std::max(GetRowCount(), 1));
    if (m_bColumnSelection)
        m_nCurCharPos = ColumnToCharPos(GetRowText(m_nCurRow), m_nDispCol);
    else
        m_nCurCharPos = NormalizeColumn(m_nCurRow, m_nDispCol);
    m_ptSelEnd = CPoint(m_nDispCol, m_nCurRow);
    if (m_bRowSelectionMode && m_nDispCol == 1) SetRowRangeSelection(m_nAnchorRow, m_nCurRow);
    m_bSelection = TRUE;
    m_nDirtyRow = -1;
    EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
    UpdateWindow();
    NotifyValue(KLVSEN_LAYOUT, 3);
}
