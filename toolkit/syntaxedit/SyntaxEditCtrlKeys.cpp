// The edit control's keys: caret movement with and without Shift, the editing keys, overwrite
// mode and the opening of the auto-complete list. Typed characters are SyntaxEditCtrlTyping.cpp.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <algorithm>

namespace {

BOOL IsKeyDown(int nVirtKey) {
    return ::GetKeyState(nVirtKey) < 0;
}

}  // namespace

BOOL CKLVSyntaxEditCtrl::IsMouseOperation() const {
    return m_bArmed || m_bSelecting || m_bDragging || m_bRightDrag;
}

void CKLVSyntaxEditCtrl::RefreshCursor() {
    if (m_hWnd) SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void CKLVSyntaxEditCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    m_wndToolTip.Hide();
    if (IsMouseOperation()) {
        // Only Ctrl matters while the mouse works: it switches a drag between move and copy.
        RefreshCursor();
        return;
    }
    const BOOL bCtrl = IsKeyDown(VK_CONTROL), bShift = IsKeyDown(VK_SHIFT), bAlt = IsKeyDown(VK_MENU);
    m_bShiftExtension = bShift;
    if (bShift && !m_bSelection) {
        m_bColumnSelection = bAlt;
        m_ptSelStart = CPoint(m_nDispCol, m_nCurRow);
    }
    switch (nChar) {
    case VK_BACK:
        OnBackspaceKey(bCtrl);
        return;
    case VK_DELETE:
        OnDeleteKey(bCtrl);
        return;
    case VK_INSERT:
        NotifyValue(KLVSEN_OVERWRITE, 0);
        if (m_pBuffer) SetOverwrite(!m_pBuffer->GetOverwriteFlag());
        return;
    case VK_SPACE:
        if (bCtrl) {
            OpenAutoComplete();
            return;
        }
        break;
    default:
        if (MoveCaretByKey(nChar, bCtrl, bShift)) {
            EndCaretKey(bShift);
            return;
        }
    }
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

BOOL CKLVSyntaxEditCtrl::MoveCaretByKey(UINT nChar, BOOL bCtrl, BOOL bShift) {
    if (!m_pBuffer) return FALSE;
    const CString strRow = GetRowText(m_nCurRow);
    const BOOL bVirtual = m_nVirtualCol >= 1;
    BOOL bByChar = TRUE;   // moved by character position, not by preferred column
    switch (nChar) {
    case VK_PRIOR:
    case VK_NEXT: {
        m_nVirtualCol = 0;
        const int n = std::max(GetVisibleRowCount(), 1), nOldRow = m_nCurRow;
        if (nChar == VK_PRIOR) {
            if (m_nTopRow - n < 1)
                m_nCurRow = 1;
            else
                ScrollUpRows(n);
        } else if (GetVisibleRowNumber(m_nTopRow) + n > GetVisibleRowNumber(-1)) {
            m_nCurRow = std::max(GetRowCount(), 1);
        } else {
            ScrollDownRows(n);
        }
        if (m_nCurRow != nOldRow) m_nDirtyRow = -1;
        bByChar = FALSE;
        break;
    }
    case VK_END:
        m_nVirtualCol = 0;
        if (bCtrl) {
            m_nCurRow = std::max(GetRowCount(), 1);
            m_nDirtyRow = -1;
        } else {
            m_nDirtyRow = m_nCurRow;
        }
        m_nCurCharPos = GetRowText(m_nCurRow).GetLength() + 1;
        break;
    case VK_HOME:
        m_nVirtualCol = 0;
        if (bCtrl) {
            m_nCurRow = m_nCurCharPos = 1;
            m_nDirtyRow = -1;
        } else {
            // Home goes to the first character after the indentation, and from there to the start.
            int nFirst = 0;
            while (nFirst < strRow.GetLength() && (strRow[nFirst] == ' ' || strRow[nFirst] == '\t')) ++nFirst;
            const int nPos = m_nCurCharPos == nFirst + 1 ? 1 : nFirst + 1;
            if (nPos != m_nCurCharPos) m_nDirtyRow = IsRowVisible(m_nCurRow) ? m_nCurRow : -1;
            m_nCurCharPos = nPos;
        }
        break;
    case VK_LEFT:
        if (bVirtual) {
            m_nVirtualCol = 0;
            m_nCurCharPos = 1;
        } else if (!bShift && m_bSelection) {
            return CollapseSelection(TRUE);
        } else if (bCtrl) {
            WordMove(1);
        } else if (m_nCurCharPos > 1) {
            --m_nCurCharPos;
        } else if (m_nCurRow > 1) {
            --m_nCurRow;
            m_nCurCharPos = GetRowText(m_nCurRow).GetLength() + 1;
        }
        break;
    case VK_RIGHT:
        m_nVirtualCol = 0;
        if (!bShift && m_bSelection) {
            return CollapseSelection(FALSE);
        } else if (bCtrl) {
            WordMove(0);
        } else if (m_nCurCharPos <= strRow.GetLength()) {
            ++m_nCurCharPos;
        } else if (m_nCurRow < GetRowCount()) {
            ++m_nCurRow;
            m_nCurCharPos = 1;
        }
        break;
    case VK_UP:
        m_nVirtualCol = 0;
        if (bCtrl)
            PageUp(1, TRUE);
        else if (m_nCurRow > 1)
            ScrollUpRows(1);
        bByChar = FALSE;
        break;
    case VK_DOWN:
        m_nVirtualCol = 0;
        if (bCtrl) {
            PageDown(1, TRUE);
        } else if (GetVisibleRowNumber(m_nCurRow) < GetVisibleRowNumber(-1)) {
            ScrollDownRows(1);
        } else {
            m_nCurCharPos = strRow.GetLength() + 1;
            break;
        }
        bByChar = FALSE;
        break;
    default:
        return FALSE;
    }
    if (bByChar) {
        m_nDispCol = CharPosToColumn(GetRowText(m_nCurRow), m_nCurCharPos);
        m_nPrefCol = m_nDispCol;
    } else {
        m_nDispCol = m_nPrefCol;
    }
    return TRUE;
}

CPoint CKLVSyntaxEditCtrl::GetOrderedSelection(BOOL bStart) const {
    CPoint ptStart = m_ptSelStart, ptEnd = m_ptSelEnd;
    if (ptStart.y > ptEnd.y || (ptStart.y == ptEnd.y && ptStart.x > ptEnd.x)) std::swap(ptStart, ptEnd);
    return bStart ? ptStart : ptEnd;
}

BOOL CKLVSyntaxEditCtrl::CollapseSelection(BOOL bToStart) {
    const CPoint pt = GetOrderedSelection(bToStart);
    m_bSelection = FALSE;
    m_nDirtyRow = -1;
    m_nCurRow = std::clamp(static_cast<int>(pt.y), 1, std::max(GetRowCount(), 1));
    m_nDispCol = m_nPrefCol = pt.x;
    return TRUE;
}

void CKLVSyntaxEditCtrl::EndCaretKey(BOOL bShift) {
    m_nCurCharPos = NormalizeColumn(m_nCurRow, m_nDispCol);
    m_ptSelEnd = CPoint(m_nDispCol, m_nCurRow);
    BOOL bRepaint = FALSE;
    if (bShift) {
        m_bSelection = m_ptSelEnd != m_ptSelStart;
        bRepaint = TRUE;
    } else if (m_bSelection) {
        m_bSelection = FALSE;
        m_nDirtyRow = -1;
        bRepaint = TRUE;
    }
    if (bRepaint) m_nDirtyRow = -1;
    EnsureVisible(m_nCurRow, m_nDispCol, bRepaint, TRUE);
    if (m_pBuffer) m_pBuffer->GetUndoManager()->SetGroupInsertMode(FALSE);
    if (m_hWnd) UpdateWindow();
    NotifyValue(KLVSEN_LAYOUT, bShift ? 7 : 3);
}

void CKLVSyntaxEditCtrl::OnBackspaceKey(BOOL bCtrl) {
    if (!m_pBuffer) return;
    if (m_nVirtualCol >= 1 && !m_bSelection) {
        ShrinkVirtualSpace();
        return;
    }
    if (bCtrl) {
        DeleteToWord(1);
        return;
    }
    if (m_bSelection)
        DeleteSelection(TRUE);
    else
        DeleteChar(m_nCurRow, m_nCurCharPos, TRUE);
}

void CKLVSyntaxEditCtrl::OnDeleteKey(BOOL bCtrl) {
    if (!m_pBuffer) return;
    if (bCtrl) {
        DeleteToWord(0);
        return;
    }
    if (m_bSelection) {
        DeleteSelection(TRUE);
        return;
    }
    if (m_bAutoIndent && m_nVirtualCol >= 1) {
        // The row first reaches the caret, so that Delete joins the next row there.
        CString strFill;
        int nCol = m_nVirtualCol, nPos = 0;
        CalcVirtualSpace(m_nCurRow, FALSE, nCol, nPos, &strFill, FALSE);
        m_nVirtualCol = 0;
        InsertText(strFill, m_nCurRow, GetRowText(m_nCurRow).GetLength() + 1, FALSE, TRUE);
    }
    DeleteChar(m_nCurRow, m_nCurCharPos, FALSE);
}

void CKLVSyntaxEditCtrl::DeleteToWord(int nDirection) {
    const BOOL bHadSelection = m_bSelection;
    if (bHadSelection && !DeleteSelection(TRUE)) return;
    const int nRow = m_nCurRow, nPos = m_nCurCharPos;
    WordMove(nDirection);
    if (m_nCurRow == nRow && m_nCurCharPos == nPos) return;
    if (DeleteRange(nRow, nPos, m_nCurRow, m_nCurCharPos, 0)) {
        if (bHadSelection) m_pBuffer->GetUndoManager()->ChainLastCommand();
    } else {
        m_nCurRow = nRow;
        m_nCurCharPos = nPos;
        UpdateCaretColumns();
    }
}

void CKLVSyntaxEditCtrl::ShrinkVirtualSpace() {
    if (m_nVirtualSpaces > 0)
        --m_nVirtualSpaces;
    else if (m_nVirtualTabs > 0)
        --m_nVirtualTabs;
    const CString& strRow = GetRowText(m_nCurRow);
    const int nEnd = GetRowEndColumn(strRow), t = std::max(GetTabSize(), 1);
    int c = nEnd;
    for (int i = 0; i < m_nVirtualTabs; ++i) c = ((c - 1) / t + 1) * t + 1;
    c += m_nVirtualSpaces;
    if (c <= nEnd) {
        m_nVirtualCol = 0;
        m_nCurCharPos = strRow.GetLength() + 1;
        m_nDispCol = m_nPrefCol = nEnd;
    } else {
        m_nVirtualCol = c;
    }
    EnsureVisible(m_nCurRow, m_nDispCol, FALSE, TRUE);
}
