// The edit control's bookmarks, breakpoints and collapsed blocks: moving between bookmarks,
// collapsing and expanding, the mapping between document and screen rows that hidden rows
// make, the fold nodes of the margin, and the placeholders with their tooltip.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <algorithm>
#include <map>

namespace {

const LPCSTR kCollapsed = "Collapsed";
const LPCSTR kBookmark = "Bookmark";

}  // namespace

CKLVSyntaxEditCollapsedData* CKLVSyntaxEditCtrl::GetCollapsedData(int nRow) const {
    CKLVSyntaxEditLineMarkValue value;
    if (!HasRowMark(nRow, kCollapsed, &value)) return nullptr;
    // The mark keeps the data alive; the value's copy only shares it.
    return static_cast<CKLVSyntaxEditCollapsedData*>(value.GetPtr());
}

int CKLVSyntaxEditCtrl::GetHiddenCount(int nMarkRow, const CKLVSyntaxEditCollapsedData* pData) const {
    if (!pData) return 0;
    // Marks move with edits; the block's own rows give only its height.
    const int nEnd = nMarkRow + pData->block.lcEnd.nLine - pData->block.lcStart.nLine;
    return std::max(std::min(nEnd, GetRowCount()) - nMarkRow, 0);
}

int CKLVSyntaxEditCtrl::NextHidingBlock(int nAfter, int nBefore, int& nHidden) const {
    nHidden = 0;
    if (!m_pBuffer) return 0;
    const CKLVSyntaxEditLineMarksManager* pMarks = m_pBuffer->GetLineMarksManager();
    int nLine = nAfter + 1;
    for (int i = pMarks->FindNextMark(nLine, kCollapsed); i >= 1; ++i) {
        const KLV_SYNTAXEDIT_LINE_MARK* pMark = pMarks->GetMarkAt(i, kCollapsed);
        if (!pMark || pMark->nLine >= nBefore) break;
        nHidden = GetHiddenCount(pMark->nLine, static_cast<CKLVSyntaxEditCollapsedData*>(pMark->value.GetPtr()));
        if (nHidden > 0) return pMark->nLine;
    }
    nHidden = 0;
    return 0;
}

int CKLVSyntaxEditCtrl::HiddenRowsBefore(int nAfter, int nDocRow, int* pHidingStart) const {
    if (pHidingStart) *pHidingStart = 0;
    int nTotal = 0, h = 0;
    // Blocks inside a collapsed one are passed over with it.
    for (int nMark = NextHidingBlock(nAfter, nDocRow, h); nMark >= 1; nMark = NextHidingBlock(nMark + h, nDocRow, h)) {
        if (nDocRow <= nMark + h) {
            // A hidden row stands where its block starts.
            if (pHidingStart) *pHidingStart = nMark;
            return nTotal + nDocRow - nMark;
        }
        nTotal += h;
    }
    return nTotal;
}

int CKLVSyntaxEditCtrl::GetDocRow(int nTopRow, int nScreenRow) const {
    int d = nTopRow + nScreenRow - 1, h = 0;
    for (int nMark = NextHidingBlock(nTopRow - 1, d, h); nMark >= 1; nMark = NextHidingBlock(nMark + h, d, h)) d += h;
    return d;
}

int CKLVSyntaxEditCtrl::GetScreenRow(int nTopRow, int nDocRow) const {
    return std::max(nDocRow - nTopRow + 1 - HiddenRowsBefore(nTopRow - 1, nDocRow), 1);
}

int CKLVSyntaxEditCtrl::GetVisibleRowNumber(int nDocRow) const {
    if (nDocRow == -1) nDocRow = GetRowCount();
    return nDocRow - HiddenRowsBefore(0, nDocRow);
}

BOOL CKLVSyntaxEditCtrl::GetCollapsedRowCount(int nRow, int& nCount) const {
    const CKLVSyntaxEditCollapsedData* pData = GetCollapsedData(nRow);
    nCount = pData ? pData->block.lcEnd.nLine - pData->block.lcStart.nLine : 0;
    return pData != nullptr;
}

BOOL CKLVSyntaxEditCtrl::HasBookmarks() const {
    return m_pBuffer && m_pBuffer->GetLineMarksManager()->GetCount(kBookmark) > 0;
}

void CKLVSyntaxEditCtrl::GoToBookmark(BOOL bNext) {
    if (!m_pBuffer) return;
    const CKLVSyntaxEditLineMarksManager* pMarks = m_pBuffer->GetLineMarksManager();
    const int s = GetScreenRow(m_nTopRow, m_nCurRow);
    int r = m_nCurRow;
    do {
        r += bNext ? 1 : -1;
        if (bNext)
            pMarks->FindNextMark(r, kBookmark);
        else
            pMarks->FindPrevMark(r, kBookmark);
    } while (r >= 1 && GetScreenRow(m_nTopRow, r) == s);
    if (r < 1) {
        // Round the end to the other side.
        const KLV_SYNTAXEDIT_LINE_MARK* pMark =
            pMarks->GetMarkAt(bNext ? 1 : pMarks->GetLastMark(kBookmark), kBookmark);
        r = pMark ? pMark->nLine : -1;
    }
    if (r < 1 || GetScreenRow(m_nTopRow, r) == s) return;
    SetCurPos(r, 1, FALSE, TRUE);
    m_nDirtyRow = r;
    if (m_hWnd) Invalidate(FALSE);
}

void CKLVSyntaxEditCtrl::SetCollapsed(int nRow, const CKLVSyntaxEditCollapsedBlock& block) {
    CKLVSyntaxEditLineMarkValue value;
    auto pData = std::make_unique<CKLVSyntaxEditCollapsedData>();
    pData->block = block;
    value.SetPtr(pData.release());
    m_pBuffer->GetLineMarksManager()->SetMark(nRow, kCollapsed, &value);
    m_arCollapsedRows.Add(static_cast<UINT>(nRow));
}

void CKLVSyntaxEditCtrl::CollapseAll() {
    IKLVSyntaxEditTextSchema* pSchema = GetTextSchema();
    if (!pSchema || !m_pBuffer) return;
    std::vector<CKLVSyntaxEditCollapsedBlock> arRegions;
    CKLVSchemaHandlePtr pAnchor;
    pSchema->GetFoldRegions(-1, arRegions, pAnchor, FALSE);
    // Of several blocks starting on one row, the last one counts.
    std::map<int, const CKLVSyntaxEditCollapsedBlock*> mapByRow;
    for (const CKLVSyntaxEditCollapsedBlock& block : arRegions) mapByRow[block.lcStart.nLine] = &block;
    for (const auto& [nRow, pBlock] : mapByRow)
        if (nRow >= 0 && nRow <= GetRowCount() - 1) SetCollapsed(nRow, *pBlock);
    // A caret left on a hidden row goes to the row that hides it.
    int nHidingStart = 0;
    HiddenRowsBefore(0, m_nCurRow, &nHidingStart);
    if (nHidingStart >= 1) m_nCurRow = nHidingStart;
    m_nDirtyRow = -1;
    m_nDispCol = m_nPrefCol = 1;
    m_nCurCharPos = 1;
    SetCaretScreenPos(TRUE);
    if (m_hWnd) UpdateWindow();
    UpdateScrollBars();
    NotifyValue(KLVSEN_LAYOUT, 7);
}

void CKLVSyntaxEditCtrl::ExpandAll() {
    if (!m_pBuffer) return;
    m_pBuffer->GetLineMarksManager()->RemoveAll(kCollapsed);
    m_nDirtyRow = -1;
    SetCaretScreenPos(TRUE);
    if (m_hWnd) UpdateWindow();
    UpdateScrollBars();
    NotifyValue(KLVSEN_LAYOUT, 7);
}

void CKLVSyntaxEditCtrl::ToggleCollapse(int nRow) {
    if (!m_pBuffer) return;
    int nDispCol = m_nDispCol;
    if (HasRowMark(nRow, kCollapsed)) {
        m_pBuffer->GetLineMarksManager()->DeleteMark(nRow, kCollapsed);
    } else if (IKLVSyntaxEditTextSchema* pSchema = GetTextSchema()) {
        std::vector<CKLVSyntaxEditCollapsedBlock> arRegions;
        CKLVSchemaHandlePtr pAnchor;
        pSchema->GetFoldRegions(nRow, arRegions, pAnchor, FALSE);
        for (const CKLVSyntaxEditCollapsedBlock& block : arRegions) {
            if (block.lcStart.nLine != nRow) continue;
            SetCollapsed(nRow, block);
            // The row now ends where the block starts; the caret stays on what is shown.
            nDispCol = std::min(nDispCol, GetRowEndColumn(GetRowText(nRow)));
        }
    }
    m_nDirtyRow = -1;
    m_nCurRow = std::clamp(nRow, 1, std::max(GetRowCount(), 1));
    m_nDispCol = nDispCol;
    m_nCurCharPos = NormalizeColumn(m_nCurRow, m_nDispCol);
    m_nPrefCol = m_nDispCol;
    SetCaretScreenPos(TRUE);
    if (m_hWnd) Invalidate(FALSE);
    UpdateScrollBars();
}

DWORD CKLVSyntaxEditCtrl::CalcNodeFlags(int nRow, const std::vector<CKLVSyntaxEditCollapsedBlock>& arRegions,
                                        BOOL bPainting) const {
    const BOOL bCollapsed = HasRowMark(nRow, kCollapsed);
    DWORD dwFlags = 0;
    BOOL bCollapsedTaken = FALSE;
    for (const CKLVSyntaxEditCollapsedBlock& block : arRegions) {
        if (block.lcStart.nLine == nRow) {
            if (bCollapsed && !(bPainting && bCollapsedTaken)) {
                dwFlags |= klvNodeCollapsed;
                bCollapsedTaken = TRUE;
            } else {
                dwFlags |= klvNodeExpanded;
            }
        }
        if (block.lcEnd.nLine == nRow) dwFlags |= klvNodeBlockEnd;
        if (block.lcStart.nLine < nRow) dwFlags |= klvNodeInside;
        if (bPainting && block.lcEnd.nLine > nRow && !(block.lcStart.nLine == nRow && bCollapsed))
            dwFlags |= klvNodeGoesOn;
    }
    return dwFlags;
}

BOOL CKLVSyntaxEditCtrl::GetNodeFlags(int nRow, DWORD& dwFlags) {
    dwFlags = 0;
    IKLVSyntaxEditTextSchema* pSchema = GetTextSchema();
    if (!pSchema) return FALSE;
    std::vector<CKLVSyntaxEditCollapsedBlock> arRegions;
    pSchema->GetFoldRegions(nRow, arRegions, m_pAnchorBlock, FALSE);
    dwFlags = CalcNodeFlags(nRow, arRegions, FALSE);
    return dwFlags != 0;
}

void CKLVSyntaxEditCtrl::GetNodeRect(int nScreenRow, CRect& rcNode, CRect* pMargin) const {
    const int x0 = (m_bSelMargin ? m_nSelMarginWidth : 0) + (m_bLineNumbers ? m_nLineNumberWidth : 0);
    const int nRowHeight = GetRowHeight(), y0 = nScreenRow * nRowHeight;
    const int nTop = y0 + (nRowHeight - m_nNodeSize) / 2;
    rcNode.SetRect(x0 + 1, nTop, x0 + m_nNodeSize, nTop + m_nNodeSize - 1);
    if (pMargin) pMargin->SetRect(x0, y0, m_nTextLeftOffset, y0 + nRowHeight);
}

CKLVSyntaxEditCollapsedData* CKLVSyntaxEditCtrl::HitTestCollapsedBlock(CPoint pt) {
    int nLastEnd = 0;
    for (int i = 0; i < m_nCollapsedCount && i < m_arCollapsedRows.GetSize(); ++i) {
        const int nRow = static_cast<int>(m_arCollapsedRows[i]);
        if (nRow <= nLastEnd) continue;
        CKLVSyntaxEditCollapsedData* pData = GetCollapsedData(nRow);
        if (!pData) continue;
        nLastEnd = nRow + GetHiddenCount(nRow, pData);
        CRect rc = pData->rcPlaceholder;
        rc.OffsetRect(m_nTextLeftOffset, 0);
        if (rc.PtInRect(pt)) return pData;
    }
    return nullptr;
}

CString CKLVSyntaxEditCtrl::GetCollapsedText(const CKLVSyntaxEditCollapsedData* pData, int nMaxRows) {
    CString strResult;
    if (!pData || !m_pBuffer) return strResult;
    const CKLVSyntaxEditCollapsedBlock& block = pData->block;
    const int nLast = std::min(block.lcEnd.nLine, block.lcStart.nLine + nMaxRows - 1);
    for (int nRow = block.lcStart.nLine; nRow <= nLast; ++nRow) {
        CString strRow;
        m_pBuffer->GetLineText(nRow, strRow);
        if (nRow == block.lcEnd.nLine) {
            const int nEndCol = std::clamp(block.lcEnd.nCol, 0, std::max(strRow.GetLength() - 1, 0));
            strRow = strRow.Left(nEndCol + 1);
        }
        if (nRow == block.lcStart.nLine)
            strRow = block.lcStart.nCol < strRow.GetLength() ? strRow.Mid(std::max(block.lcStart.nCol, 0)) : CString();
        if (nRow > block.lcStart.nLine) strResult += "\r\n";
        strResult += strRow;
    }
    return strResult;
}

void CKLVSyntaxEditCtrl::ShowCollapsedTip(CPoint pt) {
    if (pt == m_ptLastHover) return;
    const CKLVSyntaxEditCollapsedData* pData = HitTestCollapsedBlock(pt);
    if (!pData) {
        m_wndToolTip.Hide();
        return;
    }
    m_ptLastHover = pt;
    CRect rcTip(pt.x, pt.y, pt.x + 200, pt.y + 200);
    rcTip.OffsetRect(8, 2);
    if (m_hWnd) ClientToScreen(&rcTip);
    CString strText = GetCollapsedText(pData, 150);
    // The indentation of the second row comes off every row.
    const int nBreak = strText.Find('\n');
    if (nBreak >= 0) {
        int nEnd = nBreak + 1;
        while (nEnd < strText.GetLength() && strchr("\r\n \t", strText[nEnd])) ++nEnd;
        if (nEnd > nBreak + 1) strText.Replace(strText.Mid(nBreak, nEnd - nBreak), "\n");
    }
    m_wndToolTip.SetPosition(rcTip.TopLeft());
    m_wndToolTip.Activate(strText);
}

void CKLVSyntaxEditCtrl::DeleteChar(int nRow, int nPos, BOOL bBackspace) {
    if (!m_pBuffer) return;
    CString strRow;
    if (bBackspace) {
        if (nPos > 1) {
            DeleteRange(nRow, nPos - 1, nRow, nPos, 0);
            return;
        }
        if (nRow <= 1) return;
        // A collapsed block that ends on the row above opens before its row break goes.
        if (IKLVSyntaxEditTextSchema* pSchema = GetTextSchema()) {
            std::vector<CKLVSyntaxEditCollapsedBlock> arRegions;
            pSchema->GetFoldRegions(nRow - 1, arRegions, m_pAnchorBlock, FALSE);
            for (const CKLVSyntaxEditCollapsedBlock& block : arRegions)
                if (block.lcEnd.nLine == nRow - 1 && HasRowMark(block.lcStart.nLine, kCollapsed))
                    m_pBuffer->GetLineMarksManager()->DeleteMark(block.lcStart.nLine, kCollapsed);
        }
        m_pBuffer->GetLineText(nRow - 1, strRow);
        DeleteRange(nRow - 1, strRow.GetLength() + 1, nRow, 1, 0);
        return;
    }
    m_pBuffer->GetLineText(nRow, strRow);
    if (nPos <= strRow.GetLength())
        DeleteRange(nRow, nPos, nRow, nPos + 1, 0);
    else if (nRow < GetRowCount())
        DeleteRange(nRow, strRow.GetLength() + 1, nRow + 1, 1, 0);
}
