// The buffer's text: reading rows and ranges, display columns, inserting and deleting.
#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextFormat.h"

#include <algorithm>
#include <cstdlib>

namespace {

const CString g_strNoRow;

}  // namespace

const CString& CKLVSyntaxEditBufferManager::RowText(int nRow) const {
    return m_arRows.IsRow(nRow) ? m_arRows.GetAt(nRow) : g_strNoRow;
}

BOOL CKLVSyntaxEditBufferManager::GetLineText(int nRow, CString& strText, BOOL bAddCRLF, int eCRLFStyle) const {
    strText = RowText(nRow);
    if (bAddCRLF)
        strText += CKLVSyntaxEditTextFormat::GetLineEndText(CKLVSyntaxEditTextFormat::IsStyle(eCRLFStyle) ? eCRLFStyle
                                                                                                       : m_eCRLFStyle);
    return m_arRows.IsRow(nRow);
}

CString CKLVSyntaxEditBufferManager::GetLineEndText() const {
    return CKLVSyntaxEditTextFormat::GetLineEndText(m_eCRLFStyle);
}

BOOL CKLVSyntaxEditBufferManager::IsLineEndAt(LPCSTR pText, BOOL bEndsHere) const {
    if (!pText) return FALSE;
    LPCSTR pszLineEnd = CKLVSyntaxEditTextFormat::GetLineEndText(m_eCRLFStyle);
    const int nLen = lstrlenA(pszLineEnd);
    if (bEndsHere) pText -= nLen - 1;
    return strncmp(pText, pszLineEnd, nLen) == 0;
}

int CKLVSyntaxEditBufferManager::GetMaxLineLength(int nRowFrom, int nRowTo) const {
    const int nLastRow = m_arRows.GetRowCount();
    if (nLastRow == 0) return 0;
    nRowFrom = std::clamp(nRowFrom, 1, nLastRow);
    if (nRowTo < 0 || nRowTo > nLastRow) nRowTo = nLastRow;
    int nMax = 0;
    for (int nRow = nRowFrom; nRow <= nRowTo; ++nRow) nMax = std::max(nMax, m_arRows.GetAt(nRow).GetLength());
    return nMax;
}

int CKLVSyntaxEditBufferManager::CalcDisplayColumn(int nRow, int nCharPos) {
    const CString& strRow = RowText(nRow);
    nCharPos = std::clamp(nCharPos, 0, strRow.GetLength());
    int nCol = 1;
    for (int i = 0; i < nCharPos; ++i)
        nCol = strRow[i] == '\t' ? nCol + m_nTabSize - (nCol - 1) % m_nTabSize : nCol + 1;
    return nCol;
}

int CKLVSyntaxEditBufferManager::CalcCharPos(int nRow, int nDispCol) {
    const CString& strRow = RowText(nRow);
    int nPos = 0;   // 0-based display position of character i
    int i = 0;
    for (; i < strRow.GetLength() && nPos + 1 < nDispCol; ++i)
        nPos = strRow[i] == '\t' ? (nPos / m_nTabSize + 1) * m_nTabSize : nPos + 1;
    return i;
}

UINT CKLVSyntaxEditBufferManager::CalcAveDataSize(int nRowFrom, int nRowTo) {
    return static_cast<UINT>((std::abs(nRowTo - nRowFrom) * m_nAverageRowSize / 1024 + 1) * 1024);
}

BOOL CKLVSyntaxEditBufferManager::InsertText(LPCSTR lpszText, int nRow, int nCol, CKLVSyntaxEditPosition* pEnd,
                                             BOOL bAddUndo) {
    CTextLock textLock(this);
    nRow = std::max(nRow, 1);
    nCol = std::max(nCol, 1);
    BOOL bEndsWithLineEnd = FALSE;
    std::vector<CString> arLines =
        CKLVSyntaxEditTextFormat::SplitLines(lpszText, lpszText ? strlen(lpszText) : 0, &bEndsWithLineEnd);
    CKLVSyntaxEditPosition posEnd(nRow, nCol);
    if (arLines.empty()) {
        if (pEnd) *pEnd = posEnd;
        return TRUE;
    }
    m_arRows.EnsureRow(nRow);
    CString& strRow = m_arRows.ElementAt(nRow);
    CString strTail, strOverwritten, strPadding;
    if (nCol - 1 < strRow.GetLength()) {
        strTail = strRow.Mid(nCol - 1);
        strRow = strRow.Left(nCol - 1);
        if (m_bOverwrite) {
            const int nCovered = std::min(arLines.front().GetLength(), strTail.GetLength());
            strOverwritten = strTail.Left(nCovered);
            strTail = strTail.Mid(nCovered);
        }
    } else {
        strPadding = CString(' ', nCol - 1 - strRow.GetLength());
    }
    // Padding is part of what was inserted, so that undo takes it out again.
    const int nStartCol = strRow.GetLength() + 1;
    strRow += strPadding + arLines.front();

    std::vector<CString> arNewRows(std::make_move_iterator(arLines.begin() + 1), std::make_move_iterator(arLines.end()));
    if (bEndsWithLineEnd) {
        arNewRows.push_back(strTail);
        posEnd = CKLVSyntaxEditPosition(nRow + static_cast<int>(arNewRows.size()), 1);
    } else {
        CString& strLast = arNewRows.empty() ? strRow : arNewRows.back();
        posEnd = CKLVSyntaxEditPosition(nRow + static_cast<int>(arNewRows.size()), strLast.GetLength() + 1);
        strLast += strTail;
    }
    m_arRows.InsertRows(nRow + 1, arNewRows);
    if (pEnd) *pEnd = posEnd;

    if (bAddUndo) {
        CKLVSyntaxEditPosition posStart(nRow, nStartCol);
        CString strInserted = strPadding + lpszText;
        if (m_bOverwrite && !strOverwritten.IsEmpty()) {
            m_undoManager.SetGroupInsertMode(FALSE);
            m_undoManager.AddCommand(std::make_unique<CKLVSyntaxEditReplaceStringCommand>(
                this, strInserted, strOverwritten, posStart, posEnd));
        } else {
            m_undoManager.AddCommand(
                std::make_unique<CKLVSyntaxEditInsertStringCommand>(this, strInserted, posStart, posEnd));
        }
    }
    return TRUE;
}

BOOL CKLVSyntaxEditBufferManager::InsertTextBlock(LPCSTR lpszText, int nRow, int nCol, CKLVSyntaxEditPosition* pEnd,
                                                  BOOL bAddUndo) {
    nRow = std::max(nRow, 1);
    std::vector<CString> arLines = CKLVSyntaxEditTextFormat::SplitLines(lpszText, lpszText ? strlen(lpszText) : 0);
    const int nDispCol = CalcDisplayColumn(nRow, nCol - 1);
    if (bAddUndo) m_undoManager.SetGroupInsertMode(TRUE);
    CKLVSyntaxEditPosition posEnd(nRow, nCol);
    for (size_t i = 0; i < arLines.size(); ++i) {
        const int nLineRow = nRow + static_cast<int>(i);
        // Rows the block reaches past the end are made by line ends, so that undo takes them out.
        const int nLastRow = m_arRows.GetRowCount();
        if (nLineRow > nLastRow && nLastRow > 0)
            InsertText(GetLineEndText(), nLastRow, RowText(nLastRow).GetLength() + 1, nullptr, bAddUndo);
        const int nCharPos = CalcCharPos(nLineRow, nDispCol);
        const int nRowWidth = CalcDisplayColumn(nLineRow, nCharPos);
        InsertText(arLines[i], nLineRow, nCharPos + 1 + std::max(0, nDispCol - nRowWidth), &posEnd, bAddUndo);
    }
    if (bAddUndo) m_undoManager.SetGroupInsertMode(FALSE);
    if (pEnd) *pEnd = posEnd;
    return TRUE;
}

BOOL CKLVSyntaxEditBufferManager::DeleteText(int nRowFrom, int nColFrom, int nRowTo, int nColTo, BOOL bAddUndo,
                                             BOOL bDispCol) {
    CTextLock textLock(this);
    if (CKLVSyntaxEditPosition(nRowTo, nColTo) < CKLVSyntaxEditPosition(nRowFrom, nColFrom)) {
        std::swap(nRowFrom, nRowTo);
        std::swap(nColFrom, nColTo);
    }
    if (!m_arRows.IsRow(nRowFrom)) return FALSE;
    // 0-based character offsets, clamped to the rows; a range past the last row ends there.
    int nFrom = bDispCol ? CalcCharPos(nRowFrom, nColFrom) : nColFrom - 1;
    int nTo = bDispCol ? CalcCharPos(nRowTo, nColTo) : nColTo - 1;
    if (!m_arRows.IsRow(nRowTo)) {
        nRowTo = m_arRows.GetRowCount();
        nTo = RowText(nRowTo).GetLength();
    }
    nFrom = std::clamp(nFrom, 0, RowText(nRowFrom).GetLength());
    nTo = std::clamp(nTo, 0, RowText(nRowTo).GetLength());
    if (nRowFrom == nRowTo && nTo < nFrom) std::swap(nFrom, nTo);
    if (nRowFrom == nRowTo && nFrom == nTo) return FALSE;

    if (bAddUndo) {
        CString strDeleted = GetRangeText(nRowFrom, nFrom, nRowTo, nTo);
        m_undoManager.AddCommand(std::make_unique<CKLVSyntaxEditDeleteStringCommand>(
            this, strDeleted, CKLVSyntaxEditPosition(nRowFrom, nFrom + 1), CKLVSyntaxEditPosition(nRowTo, nTo + 1)));
    }
    CString& strFirst = m_arRows.ElementAt(nRowFrom);
    if (nRowFrom == nRowTo) {
        strFirst.Delete(nFrom, nTo - nFrom);
        return TRUE;
    }
    strFirst = strFirst.Left(nFrom) + m_arRows.GetAt(nRowTo).Mid(nTo);
    m_arRows.RemoveRows(nRowFrom + 1, nRowTo - nRowFrom);
    return TRUE;
}

CString CKLVSyntaxEditBufferManager::GetRangeText(int nRowFrom, int nFrom, int nRowTo, int nTo, int eCRLFStyle) const {
    if (nRowFrom == nRowTo) return RowText(nRowFrom).Mid(nFrom, nTo - nFrom);
    LPCSTR pszLineEnd = CKLVSyntaxEditTextFormat::GetLineEndText(
        CKLVSyntaxEditTextFormat::IsStyle(eCRLFStyle) ? eCRLFStyle : m_eCRLFStyle);
    CString strText = RowText(nRowFrom).Mid(nFrom);
    for (int nRow = nRowFrom + 1; nRow < nRowTo; ++nRow) strText += pszLineEnd + RowText(nRow);
    strText += pszLineEnd + RowText(nRowTo).Left(nTo);
    return strText;
}

BOOL CKLVSyntaxEditBufferManager::GetBuffer(int nRowFrom, int nColFrom, int nRowTo, int nColTo, CMemFile& file,
                                            BOOL bColumnMode, int eCRLFStyle) {
    if (CKLVSyntaxEditPosition(nRowTo, nColTo) < CKLVSyntaxEditPosition(nRowFrom, nColFrom)) {
        std::swap(nRowFrom, nRowTo);
        std::swap(nColFrom, nColTo);
    }
    CString strText;
    if (bColumnMode) {
        LPCSTR pszLineEnd = CKLVSyntaxEditTextFormat::GetLineEndText(
            CKLVSyntaxEditTextFormat::IsStyle(eCRLFStyle) ? eCRLFStyle : m_eCRLFStyle);
        const int nLeft = std::min(nColFrom, nColTo), nRight = std::max(nColFrom, nColTo);
        for (int nRow = nRowFrom; nRow <= nRowTo; ++nRow) {
            const int nFrom = CalcCharPos(nRow, nLeft), nTo = CalcCharPos(nRow, nRight);
            CString strSlice = RowText(nRow).Mid(nFrom, nTo - nFrom);
            if (strSlice.GetLength() < nRight - nLeft) strSlice += CString(' ', nRight - nLeft - strSlice.GetLength());
            strText += strSlice + pszLineEnd;
        }
    } else {
        strText = GetRangeText(nRowFrom, CalcCharPos(nRowFrom, nColFrom), nRowTo, CalcCharPos(nRowTo, nColTo),
                               eCRLFStyle);
    }
    file.Write(strText.GetString(), static_cast<UINT>(strText.GetLength()));
    return TRUE;
}

BOOL CKLVSyntaxEditBufferManager::ChangeCase(int nRow, int nDispFrom, int nDispTo, BOOL bUpper, BOOL bAddUndo) {
    CTextLock textLock(this);
    if (!m_arRows.IsRow(nRow)) return FALSE;
    const int nFrom = CalcCharPos(nRow, nDispFrom), nTo = CalcCharPos(nRow, nDispTo);
    if (nTo <= nFrom) return FALSE;
    CString& strRow = m_arRows.ElementAt(nRow);
    CString strOld = strRow.Mid(nFrom, nTo - nFrom);
    CString strNew = strOld;
    LPSTR pszNew = strNew.GetBuffer();
    bUpper ? ::CharUpperBuffA(pszNew, nTo - nFrom) : ::CharLowerBuffA(pszNew, nTo - nFrom);
    strNew.ReleaseBuffer(nTo - nFrom);
    strRow = strRow.Left(nFrom) + strNew + strRow.Mid(nTo);
    if (bAddUndo)
        m_undoManager.AddCommand(std::make_unique<CKLVSyntaxEditReplaceStringCommand>(
            this, strNew, strOld, CKLVSyntaxEditPosition(nRow, nFrom + 1), CKLVSyntaxEditPosition(nRow, nTo + 1)));
    return TRUE;
}
