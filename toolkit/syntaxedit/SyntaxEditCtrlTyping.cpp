// The edit control's typed characters: the text they become (tabs, auto-indent, virtual space),
// the undo steps typing makes, indenting and unindenting selected rows, deleting rows, column
// insertion and the auto-complete list.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <algorithm>
#include <cstring>

namespace {

// Characters that end a typing undo step and make one of their own.
BOOL IsUndoGroupBreaker(UINT nChar) {
    return nChar < 256 && nChar != 0 && strchr(" []{}();.,\t\r\n\"", static_cast<int>(nChar)) != nullptr;
}

BOOL IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

}  // namespace

void CKLVSyntaxEditCtrl::OnChar(UINT nChar, UINT, UINT) {
    if (IsMouseOperation()) {
        RefreshCursor();
        return;
    }
    NotifyValue(KLVSEN_MOUSEDOWN, 0);
    const BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
    const BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0, bAlt = ::GetKeyState(VK_MENU) < 0;
    if (nChar == '\t' && (bShift ? UnindentSelection() : IndentSelection())) {
        OfferToAutoComplete(nChar);
        return;
    }
    if (nChar == 8 || nChar == 27) {
        if (nChar == 27) {
            ClearSelection();
            NotifyValue(KLVSEN_LAYOUT, 7);
        }
        return;
    }
    // Ctrl with Alt is AltGr, which types characters of its own.
    if (bCtrl && !bAlt) {
        if (nChar == 12) DeleteRows();
        return;
    }
    if (!m_pBuffer || !CanEdit()) return;
    TypeChar(nChar);
    OfferToAutoComplete(nChar);
}

void CKLVSyntaxEditCtrl::TypeChar(UINT nChar) {
    CKLVSyntaxEditUndoManager* pUndo = m_pBuffer->GetUndoManager();
    const BOOL bOverwrite = m_pBuffer->GetOverwriteFlag(), bEnter = nChar == '\r';
    BOOL bDeleted = FALSE;
    if (m_bSelection && !(bOverwrite && bEnter)) {
        m_pBuffer->SetOverwriteFlag(FALSE);
        bDeleted = DeleteSelection(FALSE);
        m_pBuffer->SetOverwriteFlag(bOverwrite);
        if (!bDeleted) return;
    }
    CString strText = bEnter ? m_pBuffer->GetLineEndText() : CString(static_cast<char>(nChar), 1);
    if (bEnter) m_pBuffer->GetLineMarksManager()->DeleteMark(m_nCurRow, "Collapsed");
    int nVirtualCol = 0;
    const BOOL bFormatted = PrepareTypedText(nChar, strText, nVirtualCol);
    if (strText.GetLength() == 1 && !bEnter && !bDeleted) m_nDirtyRow = m_nCurRow;
    pUndo->SetGroupInsertMode(!bOverwrite && !IsUndoGroupBreaker(nChar));
    const int nRow = m_nCurRow;
    InsertText(strText, m_nCurRow, m_nCurCharPos, FALSE, FALSE);
    if (bDeleted || bFormatted) {
        pUndo->ChainLastCommand();
        pUndo->SetLastCommandText(KLV_IDS_SYNTAXEDIT_TYPING);
    }
    m_pBuffer->SetOverwriteFlag(bOverwrite);
    if (nVirtualCol > 1) {
        // The new row is indented only on the screen until something is typed on it.
        int nCol = nVirtualCol, nPos = 0;
        CalcVirtualSpace(m_nCurRow, TRUE, nCol, nPos, nullptr, TRUE);
        m_nVirtualCol = nVirtualCol;
    }
    NotifyValue(KLVSEN_LAYOUT, bEnter ? 5 : 4);
    EnsureVisible(m_nCurRow, m_nDispCol, m_nCurRow != nRow, TRUE);
    UpdateScrollBars();
    // The typed row itself; more rows changed have been invalidated with their notice.
    InvalidateRows(nRow, nRow);
    if (m_hWnd) UpdateWindow();
    if (m_pBuffer->IsModified()) NotifyValue(KLVSEN_MODIFIED, 1);
}

BOOL CKLVSyntaxEditCtrl::PrepareTypedText(UINT nChar, CString& strText, int& nVirtualCol) {
    const CString strRow = GetRowText(m_nCurRow);
    const int t = std::max(GetTabSize(), 1);
    m_nDispCol = CharPosToColumn(strRow, m_nCurCharPos);
    BOOL bFormatted = FALSE;
    if (m_bAutoIndent && m_nVirtualCol > GetRowEndColumn(strRow)) {
        CString strFill;
        int nCol = m_nVirtualCol, nPos = 0;
        CalcVirtualSpace(m_nCurRow, FALSE, nCol, nPos, &strFill, FALSE);
        strText = strFill + strText;
        m_nCurCharPos = strRow.GetLength() + 1;
        m_nDispCol = nCol;
    }
    m_nVirtualCol = 0;
    if (nChar == '\t' && m_bTabWithSpace) {
        strText = CString(' ', t - (m_nDispCol - 1) % t);
    } else if (nChar == '\t' && m_nCurCharPos > 1 && strRow[m_nCurCharPos - 2] == ' ') {
        // The spaces before the caret become tabs.
        int nRunStart = m_nCurCharPos - 1;
        while (nRunStart > 1 && strRow[nRunStart - 2] == ' ') --nRunStart;
        const int a = CharPosToColumn(strRow, nRunStart), b = m_nDispCol;
        if (DeleteRange(m_nCurRow, nRunStart, m_nCurRow, m_nCurCharPos, 0)) {
            m_pBuffer->GetUndoManager()->SetLastCommandText(KLV_IDS_SYNTAXEDIT_FORMAT);
            strText = CString('\t', (b - 1) / t - (a - 1) / t) + strText;
            bFormatted = TRUE;
        }
    } else if (nChar == '\r' && m_bAutoIndent) {
        const int nWidth = GetIndentWidth(m_nCurRow, m_nCurCharPos);
        if (m_nCurCharPos > strRow.GetLength()) {
            nVirtualCol = nWidth + 1;
        } else if (nWidth > 0) {
            const int nTabs = m_bTabWithSpace ? 0 : nWidth / t;
            strText += CString('\t', nTabs) + CString(' ', nWidth - nTabs * t);
        }
    }
    return bFormatted;
}

int CKLVSyntaxEditCtrl::GetIndentWidth(int nRow, int nCharPos) {
    const int t = std::max(GetTabSize(), 1);
    int nBlanks = 0;
    auto indentOf = [t, &nBlanks](const CString& strRow) {
        int nWidth = 0;
        for (nBlanks = 0; nBlanks < strRow.GetLength() && IsBlank(strRow[nBlanks]); ++nBlanks)
            nWidth += strRow[nBlanks] == '\t' ? t - nWidth % t : 1;
        return nWidth;
    };
    const CString strRow = GetRowText(nRow);
    const int nOwn = indentOf(strRow);
    if (nBlanks < std::min(nCharPos - 1, strRow.GetLength())) return nOwn;
    // Only blanks before the caret: the nearest row above with text sets the indentation.
    for (int r = nRow - 1; r >= 1; --r) {
        const CString strAbove = GetRowText(r);
        const int nWidth = indentOf(strAbove);
        if (nBlanks < strAbove.GetLength()) return nWidth;
    }
    return nOwn;
}

// The rows of a selection over several rows, the last one only when the selection reaches
// into it.
BOOL CKLVSyntaxEditCtrl::GetSelectedRows(int& nFirst, int& nLast) const {
    if (!m_bSelection || m_ptSelStart.y == m_ptSelEnd.y) return FALSE;
    const CPoint ptStart = GetOrderedSelection(TRUE), ptEnd = GetOrderedSelection(FALSE);
    nFirst = ptStart.y;
    nLast = ptEnd.x > 1 ? ptEnd.y : ptEnd.y - 1;
    return nLast >= nFirst;
}

BOOL CKLVSyntaxEditCtrl::IndentSelection() {
    int nFirst = 0, nLast = 0;
    if (!GetSelectedRows(nFirst, nLast)) {
        if (!m_pBuffer || !m_pBuffer->GetOverwriteFlag()) return FALSE;
        // Overwriting, Tab only moves to the next tab stop the row reaches.
        const int t = std::max(GetTabSize(), 1), nStop = ((m_nDispCol - 1) / t + 1) * t + 1;
        if (nStop <= GetRowEndColumn(GetRowText(m_nCurRow))) SetCurPos(m_nCurRow, nStop, FALSE, TRUE);
        return TRUE;
    }
    if (!CanEdit()) return TRUE;
    const CString strIndent = m_bTabWithSpace ? CString(' ', std::max(GetTabSize(), 1)) : CString('\t', 1);
    CKLVSyntaxEditUndoManager* pUndo = m_pBuffer->GetUndoManager();
    pUndo->SetGroupInsertMode(FALSE);
    pUndo->SetGroupInsertMode(TRUE);
    for (int nRow = nFirst; nRow <= nLast; ++nRow) {
        BreakParse();
        m_pBuffer->InsertText(strIndent, nRow, 1);
    }
    pUndo->SetGroupInsertMode(FALSE);
    pUndo->SetLastCommandText(KLV_IDS_SYNTAXEDIT_INDENT);
    EndRowsChange(nFirst, nLast);
    return TRUE;
}

BOOL CKLVSyntaxEditCtrl::UnindentSelection() {
    if (!m_pBuffer || !CanEdit()) return TRUE;
    const int t = std::max(GetTabSize(), 1);
    int nFirst = 0, nLast = 0;
    if (!GetSelectedRows(nFirst, nLast)) {
        ClearSelection();
        const int c = m_nDispCol;
        SetCurPos(m_nCurRow, std::max(((c - 1) / t - ((c - 1) % t == 0 ? 1 : 0)) * t + 1, 1), FALSE, TRUE);
        return TRUE;
    }
    const BOOL bEndsPastStart = GetOrderedSelection(FALSE).x > 1;
    CKLVSyntaxEditUndoManager* pUndo = m_pBuffer->GetUndoManager();
    pUndo->SetGroupInsertMode(FALSE);
    pUndo->SetGroupInsertMode(TRUE);
    BOOL bChanged = FALSE;
    for (int nRow = nFirst; nRow <= nLast; ++nRow) {
        BreakParse();
        CString strRow;
        m_pBuffer->GetLineText(nRow, strRow);
        // One tab, or else up to a tab's worth of spaces.
        int n = strRow.GetLength() > 0 && strRow[0] == '\t' ? 1 : 0;
        if (n == 0)
            while (n < t && n < strRow.GetLength() && strRow[n] == ' ') ++n;
        if (n > 0 && m_pBuffer->DeleteText(nRow, 1, nRow, n + 1)) bChanged = TRUE;
    }
    pUndo->SetGroupInsertMode(FALSE);
    if (bChanged) pUndo->SetLastCommandText(KLV_IDS_SYNTAXEDIT_UNINDENT);
    // The selection becomes whole rows.
    m_ptSelStart = CPoint(1, nFirst);
    if (bEndsPastStart) {
        if (nLast < GetRowCount())
            m_ptSelEnd = CPoint(1, nLast + 1);
        else
            m_ptSelEnd = CPoint(GetRowEndColumn(GetRowText(nLast)), nLast);
    }
    EndRowsChange(nFirst, nLast);
    if (bChanged) NotifyValue(KLVSEN_MODIFIED, 1);
    NotifyValue(KLVSEN_LAYOUT, 7);
    return TRUE;
}

void CKLVSyntaxEditCtrl::EndRowsChange(int nFirst, int nLast) {
    m_nCurRow = std::clamp(static_cast<int>(m_ptSelEnd.y), 1, std::max(GetRowCount(), 1));
    m_nDispCol = m_nPrefCol = m_ptSelEnd.x;
    m_nCurCharPos = NormalizeColumn(m_nCurRow, m_nDispCol);
    RedrawRanges(nFirst, 1, nLast, 1, 1);
    NotifyTextChanged(nFirst, nLast, 4);
    m_nDirtyRow = -1;
    EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
}

void CKLVSyntaxEditCtrl::DeleteRows() {
    if (!m_pBuffer) return;
    int nFirst = m_nCurRow, nLast = m_nCurRow;
    if (!GetSelectedRows(nFirst, nLast) && m_bSelection) nFirst = nLast = GetOrderedSelection(TRUE).y;
    const int nRows = GetRowCount();
    if (nLast < nRows) {
        DeleteRange(nFirst, 1, nLast + 1, 1, 1);
    } else {
        // The last row keeps its place: only its text goes, and the break before it.
        CString strLast;
        m_pBuffer->GetLineText(nRows, strLast);
        if (nFirst == nRows && strLast.IsEmpty()) return;
        DeleteRange(nFirst, 1, nRows, strLast.GetLength() + 1, 1);
    }
    m_bSelection = FALSE;
}

int CKLVSyntaxEditCtrl::InsertColumnText(LPCSTR lpszText, int nRow, int nCharPos, BOOL bDeleteSelection, BOOL bRedraw) {
    if (!m_pBuffer || !CanEdit()) return 0;
    SetCurRow(nRow);
    m_nCurCharPos = nCharPos;
    if (bDeleteSelection) DeleteSelection(FALSE);
    if (!lpszText || !*lpszText) return 1;
    const int nStartRow = m_nCurRow, nRowsBefore = GetRowCount();
    {
        CKLVSyntaxEditLexRequestBatch requests(m_pBuffer->GetLexParser());
        BreakParse();
        InsertAtCaret(lpszText, TRUE, bDeleteSelection);
        m_nDirtyRow = -1;
        NoteInsertion(nStartRow, 1);
    }
    ReportInsertion(nStartRow, GetRowCount() > nRowsBefore ? 5 : 4, bRedraw);
    return 1;
}

void CKLVSyntaxEditCtrl::FillAutoCompleteList() {
    // The words change only with the schema: the list is built once for it. An empty list is
    // asked for again, as a schema still loading has no words yet.
    IKLVSyntaxEditTextSchema* pSchema = GetTextSchema();
    if (m_bWordListBuilt && pSchema == m_pWordListSchema) return;
    std::vector<CKLVSyntaxEditAutoCompleteItem> arItems;
    CStringArray arWords;
    if (m_pBuffer && m_pBuffer->GetLexParser()) m_pBuffer->GetLexParser()->GetWordLists(arWords);
    const CString strDelimiters = CKLVSyntaxEditAutoCompleteWnd::GetDelimiters();
    for (int i = 0; i < arWords.GetSize(); ++i)
        if (!arWords[i].IsEmpty() && strDelimiters.Find(arWords[i]) < 0) arItems.push_back({0, arWords[i]});
    m_bWordListBuilt = !arItems.empty();
    m_pWordListSchema = pSchema;
    m_wndAutoComplete.SetList(std::move(arItems));
}

void CKLVSyntaxEditCtrl::OpenAutoComplete() {
    const CString& strRow = GetRowText(m_nCurRow);
    int nStart = std::min(m_nCurCharPos - 1, strRow.GetLength());
    const int nEnd = nStart;
    while (nStart > 0 && !strchr(CKLVSyntaxEditAutoCompleteWnd::GetDelimiters(), strRow[nStart - 1])) --nStart;
    const CString strPrefix = strRow.Mid(nStart, nEnd - nStart);
    FillAutoCompleteList();
    m_wndAutoComplete.Show(GetCaretScreenPoint(1), strPrefix);
}

CPoint CKLVSyntaxEditCtrl::GetCaretScreenPoint(int nRowsBelow) {
    const int nCol = m_nVirtualCol >= 1 ? m_nVirtualCol : m_nDispCol;
    CPoint pt((nCol - GetHScrollPos() - 1) * GetCharWidth() + m_nTextLeftOffset,
              (GetScreenRow(m_nTopRow, m_nCurRow) - 1 + nRowsBelow) * GetRowHeight());
    if (m_hWnd) ClientToScreen(&pt);
    return pt;
}

void CKLVSyntaxEditCtrl::HideAutoComplete() {
    if (m_wndAutoComplete.IsOpen()) m_wndAutoComplete.Hide();
}

void CKLVSyntaxEditCtrl::OfferToAutoComplete(UINT nChar) {
    if (m_wndAutoComplete.IsOpen()) {
        m_wndAutoComplete.OnTypedChar(nChar);
        return;
    }
    if (m_wndAutoComplete.IsOpenTag(static_cast<TCHAR>(nChar))) {
        FillAutoCompleteList();
        m_wndAutoComplete.Show(GetCaretScreenPoint(1), "");
    }
}

void CKLVSyntaxEditCtrl::ReplaceRowText(int nStartPos, int nEndPos, LPCSTR lpszText) {
    if (!m_pBuffer) return;
    const int nRow = m_nCurRow;
    // A word typed out to the end is already in place: no step that changes nothing.
    if (GetRowText(nRow).Mid(nStartPos - 1, nEndPos - nStartPos) == lpszText) return;
    const BOOL bDeleted = nEndPos > nStartPos && DeleteRange(nRow, nStartPos, nRow, nEndPos, 0);
    if (nEndPos > nStartPos && !bDeleted) return;
    InsertText(lpszText, nRow, nStartPos, FALSE, TRUE);
    if (bDeleted) m_pBuffer->GetUndoManager()->ChainLastCommand();
    m_nDirtyRow = -1;
    if (m_hWnd) Invalidate(FALSE);
}
