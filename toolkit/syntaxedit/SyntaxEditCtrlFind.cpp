// The edit control's text search: a text found in a row (exactly or ignoring case, optionally
// as a whole word), the search over the rows from the selection or the caret, and replacing the
// selected text.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <algorithm>
#include <cstring>

LPCSTR g_lpszKLVSyntaxEditWordSeparators = "() \t<>{}:;,.=%\"'!@#$^&*-\\|[]/?";

namespace {

BOOL IsSeparator(char ch) {
    return ch && std::strchr(g_lpszKLVSyntaxEditWordSeparators, ch) != nullptr;
}

// The nLength characters at the 1-based position stand as a word of their own.
BOOL IsWholeWordAt(const CString& strRow, int nPos, int nLength) {
    const int nEnd = nPos + nLength;   // 1-based position after the match
    return (nPos == 1 || IsSeparator(strRow[nPos - 2])) && (nEnd > strRow.GetLength() || IsSeparator(strRow[nEnd - 1]));
}

}  // namespace

BOOL CKLVSyntaxEditCtrl::FindInRow(int nRow, const CString& strRow, LPCSTR lpszText, int nStartPos,
                                   BOOL bWholeWord, BOOL bMatchCase, BOOL bDown, BOOL bScroll) {
    const int n = lpszText ? lstrlenA(lpszText) : 0, nLength = strRow.GetLength();
    if (n == 0 || n > nLength) return FALSE;
    CString strHaystack = strRow, strNeedle = lpszText;
    if (!bMatchCase) {
        strHaystack.MakeLower();
        strNeedle.MakeLower();
    }
    const int nLastStart = nLength - n + 1;
    const int nFirst = bDown ? std::max(nStartPos, 1) : std::min(nStartPos - n, nLastStart);
    const int nStep = bDown ? 1 : -1;
    for (int p = nFirst; p >= 1 && p <= nLastStart; p += nStep) {
        if (std::memcmp(static_cast<LPCSTR>(strHaystack) + p - 1, static_cast<LPCSTR>(strNeedle), n) != 0) continue;
        if (bWholeWord && !IsWholeWordAt(strRow, p, n)) continue;
        const int nStartCol = CharPosToColumn(strRow, p), nEndCol = CharPosToColumn(strRow, p + n);
        SetSelection(nRow, nStartCol, nRow, nEndCol, FALSE);
        if (!bDown) {
            // Searching up, the caret stays before the match, where the next search starts.
            m_nDispCol = m_nPrefCol = nStartCol;
            m_nCurCharPos = p;
        }
        m_nDirtyRow = -1;
        if (bScroll)
            EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
        else if (m_hWnd)
            SetCaretScreenPos(FALSE);
        return TRUE;
    }
    return FALSE;
}

BOOL CKLVSyntaxEditCtrl::Find(LPCSTR lpszText, BOOL bWholeWord, BOOL bMatchCase, BOOL bDown, BOOL bScroll) {
    if (!m_pBuffer || !lpszText || !*lpszText) return FALSE;
    int nRow = m_nCurRow, nPos = m_nCurCharPos;
    CString strRow;
    if (m_bSelection) {
        NormalizeSelection();
        const CPoint pt = bDown ? m_ptSelEnd : m_ptSelStart;
        nRow = pt.y;
        m_pBuffer->GetLineText(nRow, strRow);
        nPos = ColumnToCharPos(strRow, pt.x);
    } else {
        m_pBuffer->GetLineText(nRow, strRow);
    }
    if (FindInRow(nRow, strRow, lpszText, nPos, bWholeWord, bMatchCase, bDown, bScroll)) return TRUE;
    const int nTop = m_nTopRow, nVisible = GetVisibleRowCount();
    const int nLastShown = GetDocRow(nTop, std::max(nVisible, 1));
    const int nRows = GetRowCount();
    for (int r = bDown ? nRow + 1 : nRow - 1; r >= 1 && r <= nRows; r += bDown ? 1 : -1) {
        m_pBuffer->GetLineText(r, strRow);
        if (!FindInRow(r, strRow, lpszText, bDown ? 1 : strRow.GetLength() + 1, bWholeWord, bMatchCase, bDown, FALSE))
            continue;
        if (bScroll) {
            // A match off the rows shown comes in with some rows of context around it.
            if (r > nLastShown)
                PageDown(std::max(nVisible * 2 / 3, 1), FALSE);
            else if (r < nTop)
                PageUp(std::max(nVisible / 3, 1), FALSE);
            EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CKLVSyntaxEditCtrl::ReplaceSelection(LPCSTR lpszText, BOOL bRedraw) {
    if (!m_pBuffer || !m_bSelection || !CanEdit()) return FALSE;
    NormalizeSelection();
    m_nCurRow = m_ptSelStart.y;
    m_nDispCol = m_nPrefCol = m_ptSelStart.x;
    m_nCurCharPos = ColumnToCharPos(GetRowText(m_nCurRow), m_nDispCol);
    // The replacement goes in beside the text, whatever the typing mode.
    const BOOL bOverwrite = m_pBuffer->GetOverwriteFlag();
    m_pBuffer->SetOverwriteFlag(FALSE);
    InsertText(lpszText, m_nCurRow, m_nCurCharPos, TRUE, bRedraw);
    m_pBuffer->SetOverwriteFlag(bOverwrite);
    return TRUE;
}
