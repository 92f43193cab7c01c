// The edit control's selection, caret placement, conversions between character positions and
// display columns, range deletion, case change, word movement and virtual space.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

BOOL IsWhiteSpace(char ch) {
    return ch == ' ' || ch == '\t';
}

BOOL IsDelimiter(char ch) {
    return ch && strchr("[]{}()<>.,;:=#-\"'\t/", ch) != nullptr;
}

}  // namespace

int CKLVSyntaxEditCtrl::CharPosToColumn(LPCSTR lpszText, int nPos) const {
    const int t = std::max(GetTabSize(), 1);
    int c = 0;
    for (int i = 0; lpszText && lpszText[i] && i < nPos - 1; ++i) c += lpszText[i] == '\t' ? t - c % t : 1;
    return c + 1;
}

int CKLVSyntaxEditCtrl::ColumnToCharPos(LPCSTR lpszText, int nCol) const {
    const int t = std::max(GetTabSize(), 1);
    const int nLength = lpszText ? static_cast<int>(strlen(lpszText)) : 0;
    int c = 0, nCount = 0;
    // The terminating NUL counts as one more one-cell character.
    for (int i = 0; i <= nLength; ++i) {
        const int nCells = (i < nLength && lpszText[i] == '\t') ? t - c % t : 1;
        if (c + nCells > nCol - 1) break;
        c += nCells;
        ++nCount;
    }
    return std::max(nCount + 1, 1) > nLength + 1 ? nLength + 1 : std::max(nCount + 1, 1);
}

int CKLVSyntaxEditCtrl::AlignColumn(LPCSTR lpszText, int nCol) const {
    const int t = std::max(GetTabSize(), 1);
    int c = 0;
    for (int i = 0; lpszText && lpszText[i] && c < nCol - 1; ++i) c += lpszText[i] == '\t' ? t - c % t : 1;
    return c + 1;
}

int CKLVSyntaxEditCtrl::GetRowEndColumn(LPCSTR lpszText) const {
    return CharPosToColumn(lpszText, lpszText ? static_cast<int>(strlen(lpszText)) + 1 : 1);
}

int CKLVSyntaxEditCtrl::NormalizeColumn(int nRow, int& nCol) {
    const CString& strText = GetRowText(nRow);
    nCol = AlignColumn(strText, nCol);
    return ColumnToCharPos(strText, nCol);
}

BOOL CKLVSyntaxEditCtrl::IsInSelection(int nRow, int nCol) const {
    if (!m_bSelection || nCol < 1) return FALSE;
    CPoint ptStart = m_ptSelStart, ptEnd = m_ptSelEnd;
    if (ptStart.y > ptEnd.y) std::swap(ptStart, ptEnd);
    if ((ptStart.y == ptEnd.y || m_bColumnSelection) && ptStart.x > ptEnd.x) std::swap(ptStart.x, ptEnd.x);
    if (nRow < ptStart.y || nRow > ptEnd.y) return FALSE;
    if (m_bColumnSelection || ptStart.y == ptEnd.y) return nCol >= ptStart.x && nCol < ptEnd.x;
    if (nRow == ptStart.y) return nCol >= ptStart.x;
    if (nRow == ptEnd.y) return nCol <= ptEnd.x;
    return TRUE;
}

void CKLVSyntaxEditCtrl::NormalizeSelection() {
    if (m_ptSelStart.y > m_ptSelEnd.y) std::swap(m_ptSelStart, m_ptSelEnd);
    if (m_ptSelStart.y == m_ptSelEnd.y && m_ptSelStart.x > m_ptSelEnd.x) std::swap(m_ptSelStart.x, m_ptSelEnd.x);
}

BOOL CKLVSyntaxEditCtrl::GetSelection(CPoint& ptStart, CPoint& ptEnd) {
    if (!m_bSelection) return FALSE;
    NormalizeSelection();
    ptStart = m_ptSelStart;
    ptEnd = m_ptSelEnd;
    return TRUE;
}

BOOL CKLVSyntaxEditCtrl::SetSelection(int nRow1, int nCol1, int nRow2, int nCol2, BOOL bRedraw) {
    const int nRows = GetRowCount();
    if (nRow1 < 1 || nRow1 > nRows || nRow2 < 1 || nRow2 > nRows) return FALSE;
    const int nPos1 = NormalizeColumn(nRow1, nCol1);
    const int nPos2 = NormalizeColumn(nRow2, nCol2);
    m_bSelection = TRUE;
    m_ptSelStart = CPoint(nCol1, nRow1);
    m_ptSelEnd = CPoint(nCol2, nRow2);
    if (nRow2 > nRow1) {
        m_nCurRow = nRow2, m_nDispCol = nCol2, m_nCurCharPos = nPos2;
    } else if (nRow1 == nRow2) {
        m_nCurRow = nRow1, m_nDispCol = std::max(nCol1, nCol2), m_nCurCharPos = std::max(nPos1, nPos2);
    } else {
        m_nCurRow = nRow1, m_nDispCol = nCol1, m_nCurCharPos = nPos1;
    }
    m_nPrefCol = m_nDispCol;
    if (bRedraw) {
        EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
        if (m_hWnd) UpdateWindow();
        NotifyValue(KLVSEN_LAYOUT, 1);
    }
    return TRUE;
}

void CKLVSyntaxEditCtrl::ClearSelection() {
    if (!m_bSelection) return;
    m_bSelection = FALSE;
    m_nDirtyRow = -1;
    if (m_hWnd) Invalidate(FALSE);
}

void CKLVSyntaxEditCtrl::SelectAll() {
    const int n = GetRowCount();
    if (n < 1) return;
    m_nCurRow = n;
    m_nCurCharPos = GetRowText(n).GetLength() + 1;
    m_nDispCol = m_nPrefCol = CharPosToColumn(GetRowText(n), m_nCurCharPos);
    m_bSelection = TRUE;
    m_ptSelStart = CPoint(1, 1);
    m_ptSelEnd = CPoint(m_nDispCol, n);
    m_nDirtyRow = -1;
    m_nVirtualCol = 0;
    EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
}

void CKLVSyntaxEditCtrl::SelectRow(int nRow, BOOL bSelect) {
    m_nCurCharPos = 1;
    m_nDispCol = m_nPrefCol = GetRowEndColumn(GetRowText(nRow));
    if (!bSelect) {
        m_nCurRow = nRow;
        SetCurPos(nRow, 1, FALSE, TRUE);
        return;
    }
    m_bRowSelectionMode = TRUE;
    m_bSelection = TRUE;
    m_ptSelStart = CPoint(1, nRow);
    m_ptSelEnd = CPoint(1, nRow + 1);
    m_nAnchorRow = nRow;
    m_nDirtyRow = -1;
    m_nCurRow = nRow;
    if (m_hWnd) Invalidate(FALSE);
    m_bArmed = TRUE;
    SetCaretScreenPos(TRUE);
    // Dragging on from here scrolls the rows.
    if (m_hWnd) SetTimer(kTimerAutoScroll, 100, nullptr);
}

DWORD CKLVSyntaxEditCtrl::HitTest(CPoint pt, int& nRow, int& nDispCol, int& nCharPos) {
    DWORD dwFlags = 0;
    const int cw = std::max(GetCharWidth(), 1), nRowHeight = std::max(GetRowHeight(), 1);
    const int dx = pt.x - m_nTextLeftOffset;
    if (dx < 0) {
        nDispCol = 0;
        dwFlags |= klvHitLeftOfText;
    } else {
        nDispCol = m_siHorz.nPos + 1 + dx / cw + (dx % cw > cw / 2 ? 1 : 0);
    }
    // Screen rows count from 1; a point above the window lies in the rows before the top.
    const int nScreenRow = (pt.y >= 0 ? pt.y / nRowHeight : (pt.y + 1) / nRowHeight - 1) + 1;
    const int nDocRow = GetDocRow(m_nTopRow, nScreenRow), nLastRow = std::max(GetRowCount(), 1);
    nRow = std::min(std::max(nDocRow, 1), nLastRow);
    if (nRow != nDocRow) dwFlags |= klvHitRowClamped;
    nCharPos = ColumnToCharPos(GetRowText(nRow), nDispCol);
    return dwFlags;
}

void CKLVSyntaxEditCtrl::HitTestSelection(CPoint pt) {
    m_bPressedInSelection = FALSE;
    if (m_bSelecting || !m_bSelection || m_bDragging) return;
    int nRow = 0, nCol = 0, nPos = 0;
    HitTest(pt, nRow, nCol, nPos);
    m_ptDrop = CPoint(nCol, nRow);
    if (!IsInSelection(nRow, nCol)) return;
    m_ptDrop = CPoint(-1, -1);
    m_bDropAllowed = FALSE;
    m_bPressedInSelection = TRUE;
}

void CKLVSyntaxEditCtrl::SetOverwrite(BOOL bOverwrite) {
    if (!m_pBuffer || !m_pBuffer->GetOverwriteFlag() == !bOverwrite) return;
    m_pBuffer->SetOverwriteFlag(bOverwrite);
    SetCaretScreenPos(FALSE);
}

BOOL CKLVSyntaxEditCtrl::GetSelectedText(CString& strText) {
    strText.Empty();
    if (!m_bSelection || !m_pBuffer) return FALSE;
    NormalizeSelection();
    CMemFile file(CalcGrowthStep(m_ptSelStart.y, m_ptSelEnd.y));
    m_pBuffer->GetBuffer(m_ptSelStart.y, m_ptSelStart.x, m_ptSelEnd.y, m_ptSelEnd.x, file, m_bColumnSelection);
    const int nLength = static_cast<int>(file.GetLength());
    file.SeekToBegin();
    file.Read(strText.GetBufferSetLength(nLength), static_cast<UINT>(nLength));
    strText.ReleaseBuffer(nLength);
    return TRUE;
}

BOOL CKLVSyntaxEditCtrl::DeleteSelection(BOOL bRedraw) {
    if (!m_bSelection) return TRUE;
    if (!DeleteRange(m_ptSelStart.y, m_ptSelStart.x, m_ptSelEnd.y, m_ptSelEnd.x,
                     8 | (m_bColumnSelection ? 4 : 0)))
        return FALSE;
    m_bSelection = FALSE;
    if (bRedraw) {
        m_nDirtyRow = -1;
        EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
    }
    return TRUE;
}

BOOL CKLVSyntaxEditCtrl::DeleteRange(int nRow1, int nCol1, int nRow2, int nCol2, int nFlags) {
    if (nRow1 > nRow2) {
        std::swap(nRow1, nRow2);
        std::swap(nCol1, nCol2);
    }
    if ((nRow1 == nRow2 || (nFlags & 4)) && nCol1 > nCol2) std::swap(nCol1, nCol2);
    if (!m_pBuffer || !CanEdit()) return FALSE;
    if (nFlags & 8) {
        nCol1 = ColumnToCharPos(GetRowText(nRow1), nCol1);
        nCol2 = ColumnToCharPos(GetRowText(nRow2), nCol2);
    }
    {
        CKLVSyntaxEditLexRequestBatch requests(m_pBuffer->GetLexParser());
        BreakParse();
        CKLVSyntaxEditUndoManager* pUndo = m_pBuffer->GetUndoManager();
        if ((nFlags & 4) && nRow1 != nRow2) {
            // Each row loses the same display columns; one undo step takes back the whole block.
            pUndo->SetGroupInsertMode(TRUE);
            const int nDisp1 = CharPosToColumn(GetRowText(nRow1), nCol1);
            const int nDisp2 = CharPosToColumn(GetRowText(nRow2), nCol2);
            for (int nRow = nRow1; nRow <= nRow2; ++nRow) {
                const CString& strText = GetRowText(nRow);
                m_pBuffer->DeleteText(nRow, ColumnToCharPos(strText, nDisp1), nRow, ColumnToCharPos(strText, nDisp2));
            }
            pUndo->SetGroupInsertMode(FALSE);
            pUndo->SetLastCommandText(9729);
        } else {
            pUndo->SetGroupInsertMode(FALSE);
            m_pBuffer->DeleteText(nRow1, nCol1, nRow2, nCol2);
        }
        m_nDirtyRow = (nRow1 == nRow2 && !(nFlags & 2)) ? nRow1 : -1;
        m_nCurRow = nRow1;
        m_nCurCharPos = nCol1;
        UpdateCaretColumns();
        RedrawRanges(nRow1, nCol1, nRow2, nCol2, 2);
    }
    NotifyTextChanged(nRow1, nRow2, 6);
    NotifyValue(KLVSEN_MODIFIED, 1);
    UpdateScrollBars();
    SetCaretScreenPos(TRUE);
    if (nFlags & 1) {
        EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
        if (m_hWnd) UpdateWindow();
    }
    return TRUE;
}

void CKLVSyntaxEditCtrl::ChangeSelectionCase(BOOL bUpper) {
    if (!m_bSelection || !m_pBuffer || !CanEdit()) return;
    NormalizeSelection();
    CKLVSyntaxEditUndoManager* pUndo = m_pBuffer->GetUndoManager();
    pUndo->SetGroupInsertMode(FALSE);
    m_bSelection = FALSE;
    pUndo->SetGroupInsertMode(TRUE);
    const int nFirst = m_ptSelStart.y, nLast = m_ptSelEnd.y;
    for (int nRow = nFirst; nRow <= nLast; ++nRow) {
        const int nFrom = (nRow == nFirst || m_bColumnSelection) ? m_ptSelStart.x : 0;
        const int nTo = (nRow == nLast || m_bColumnSelection) ? m_ptSelEnd.x : INT_MAX;
        m_pBuffer->ChangeCase(nRow, nFrom, nTo, bUpper);
    }
    pUndo->SetGroupInsertMode(FALSE);
    m_bSelection = TRUE;
    pUndo->SetLastCommandText(9728);
    m_nDirtyRow = nFirst;
    m_screenCache.DropFrom(nFirst);
    NotifyTextChanged(nFirst, nLast, 4);
    if (m_hWnd) Invalidate(FALSE);
}

void CKLVSyntaxEditCtrl::CreateCaretShape() {
    const int nWidth = IsWideCaretActive() ? GetCharWidth() : 2;
    ::CreateCaret(m_hWnd, nullptr, nWidth, GetRowHeight());
    m_bCaretCreated = TRUE;
}

void CKLVSyntaxEditCtrl::SetCaretAt(int x, int y) {
    if (!m_bFocus || !m_hWnd) return;
    CreateCaretShape();
    ::SetCaretPos(x, y);
    ::ShowCaret(m_hWnd);
}

void CKLVSyntaxEditCtrl::SetCaretScreenPos(BOOL bScrollIntoView) {
    if (bScrollIntoView) {
        EnsureVisible(m_nCurRow, m_nDispCol);
        return;
    }
    if (GetRowHeight() <= 0 || GetCharWidth() <= 0) return;
    const int x = std::max((m_nDispCol - m_siHorz.nPos - 1) * GetCharWidth(), 0) + m_nTextLeftOffset;
    const int y = std::max((GetScreenRow(m_nTopRow, m_nCurRow) - 1) * GetRowHeight(), 0);
    SetCaretAt(x, y);
}

void CKLVSyntaxEditCtrl::EnsureVisible(int nRow, int nCol, BOOL bInvalidate, BOOL bNotify) {
    if (m_nVirtualCol >= 1) nCol = m_nVirtualCol;
    if (m_bSelection && m_ptSelStart == m_ptSelEnd) m_bSelection = FALSE;
    if (!m_hWnd) {
        if (bNotify) NotifyRows(KLVSEN_CARETMOVED, m_nCurRow, m_nVirtualCol >= 1 ? m_nVirtualCol : m_nDispCol);
        return;
    }
    CRect rc;
    GetClientRect(&rc);
    const int nRowHeight = GetRowHeight(), cw = GetCharWidth();
    if (rc.IsRectEmpty() || nRowHeight <= 0 || cw <= 0) {
        if (bNotify) NotifyRows(KLVSEN_CARETMOVED, m_nCurRow, m_nVirtualCol >= 1 ? m_nVirtualCol : m_nDispCol);
        return;
    }
    const int nOldTop = m_nTopRow, nOldH = m_siHorz.nPos;
    const int nVisibleRows = rc.Height() / nRowHeight;
    const int nLastVisible = GetDocRow(m_nTopRow, std::max(nVisibleRows, 1));
    if (nRow > nLastVisible) m_nTopRow += nRow - nLastVisible;
    if (nRow < m_nTopRow) m_nTopRow = std::max(nRow, 1);
    int h = m_siHorz.nPos;
    const int nVisibleCols = (rc.Width() - m_nTextLeftOffset) / cw;
    int x = (nCol - h - 1) * cw;
    const int y = (GetScreenRow(m_nTopRow, nRow) - 1) * nRowHeight;
    if (nCol > h + nVisibleCols) {
        h += nCol - (h + nVisibleCols) + 20;
        x = (nCol - h - 1) * cw;
    } else if (nCol < h) {
        h = std::max(nCol - 10, 0);
        x = (nCol < 10 ? nCol - 1 : 9) * cw;
    }
    if (nCol >= 1 && h != nOldH) SetHorzScrollPos(h);
    if (m_nTopRow != nOldTop) {
        SCROLLINFO si{};
        si.fMask = SIF_POS;
        si.nPos = GetVisibleRowNumber(m_nTopRow);
        SetBarInfo(SB_VERT, si);
    }
    if (bNotify) NotifyRows(KLVSEN_CARETMOVED, m_nCurRow, m_nVirtualCol >= 1 ? m_nVirtualCol : m_nDispCol);
    if (m_siHorz.nPos != nOldH) m_nDirtyRow = -1;
    if (m_nTopRow != nOldTop || m_siHorz.nPos != nOldH || bInvalidate) Invalidate(FALSE);
    SetCaretAt(std::max(x, 0) + m_nTextLeftOffset, std::max(y, 0));
}

void CKLVSyntaxEditCtrl::WordMove(int nDirection) {
    CString strText = GetRowText(m_nCurRow);
    int p = m_nCurCharPos;
    if (nDirection == 1) {
        if (p <= 1) {
            if (m_nCurRow > 1) {
                --m_nCurRow;
                m_nCurCharPos = GetRowText(m_nCurRow).GetLength() + 1;
            }
            UpdateCaretColumns();
            return;
        }
        int i = std::min(p - 1, strText.GetLength());
        while (i > 0 && IsWhiteSpace(strText[i - 1])) --i;
        if (i > 0) {
            const BOOL bDelim = IsDelimiter(strText[i - 1]);
            while (i > 0 && !IsWhiteSpace(strText[i - 1]) && IsDelimiter(strText[i - 1]) == bDelim) --i;
        }
        if (i + 1 == p) m_nDirtyRow = -1;
        m_nCurCharPos = i + 1;
    } else {
        const int nLength = strText.GetLength();
        if (p > nLength) {
            if (m_nCurRow < GetRowCount()) {
                ++m_nCurRow;
                m_nCurCharPos = 1;
            }
            UpdateCaretColumns();
            return;
        }
        int i = p - 1;
        if (!IsWhiteSpace(strText[i])) {
            const BOOL bDelim = IsDelimiter(strText[i]);
            while (i < nLength && !IsWhiteSpace(strText[i]) && IsDelimiter(strText[i]) == bDelim) ++i;
        }
        while (i < nLength && IsWhiteSpace(strText[i])) ++i;
        m_nCurCharPos = i + 1;
    }
    UpdateCaretColumns();
}

void CKLVSyntaxEditCtrl::CalcVirtualSpace(int nRow, BOOL, int& nCol, int& nPos, CString* pStr, BOOL bCountOnly) {
    const CString& strText = GetRowText(nRow);
    const int t = std::max(GetTabSize(), 1);
    int c = GetRowEndColumn(strText);
    m_nVirtualTabs = m_nVirtualSpaces = 0;
    while (c < nCol) {
        const int nNextStop = ((c - 1) / t + 1) * t + 1;
        if (nNextStop <= nCol && !m_bTabWithSpace) {
            ++m_nVirtualTabs;
            if (!bCountOnly && pStr) *pStr += '\t';
            c = nNextStop;
        } else {
            ++m_nVirtualSpaces;
            if (!bCountOnly && pStr) *pStr += ' ';
            ++c;
        }
    }
    nPos = strText.GetLength() + 1 + m_nVirtualTabs + m_nVirtualSpaces;
    nCol = c;
}
