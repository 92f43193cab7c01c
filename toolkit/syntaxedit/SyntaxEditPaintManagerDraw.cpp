// The paint manager's drawing: line numbers, mark cells, fold nodes, collapsed-block boxes and
// the coloured text segments of a row with the selection laid over them.
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include "toolkit/common/DCScopes.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextIterator.h"

#include <algorithm>
#include <cstdio>

struct CKLVSyntaxEditPaintManager::CRowColors {
    BOOL bHasBack = FALSE;
    COLORREF clrBack = 0;
    BOOL bHasText = FALSE;
    COLORREF clrText = 0;
};

namespace {

struct CSelectionInRow {
    BOOL bSelected = FALSE;
    int nStart = 0;   // 0-based character offsets [nStart, nEnd)
    int nEnd = 0;
};

// A halftone of two colours for the mark cells.
void FillHalftone(CDC* pDC, const CRect& rc, COLORREF clr1, COLORREF clr2) {
    static const WORD kPattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, kPattern);
    HBRUSH hBrush = hBitmap ? ::CreatePatternBrush(hBitmap) : nullptr;
    if (hBrush) {
        const COLORREF clrOldText = pDC->SetTextColor(clr1);
        const COLORREF clrOldBack = pDC->SetBkColor(clr2);
        ::FillRect(pDC->m_hDC, &rc, hBrush);
        pDC->SetTextColor(clrOldText);
        pDC->SetBkColor(clrOldBack);
        ::DeleteObject(hBrush);
    } else {
        pDC->FillSolidRect(&rc, clr1);
    }
    if (hBitmap) ::DeleteObject(hBitmap);
}

void Line(CDC* pDC, int x1, int y1, int x2, int y2) {
    ::MoveToEx(pDC->m_hDC, x1, y1, nullptr);
    ::LineTo(pDC->m_hDC, x2, y2);
}

}  // namespace

int CKLVSyntaxEditPaintManager::DrawLineNumber(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, int nRow, int nScreenRow,
                                               BOOL bPrinting) {
    if (!pCtrl->m_bLineNumbers) return 0;
    const int nRowHeight = pCtrl->GetRowHeight();
    const int nDigits = CountDigits(pCtrl->GetRowCount());
    CRect rc;
    if (bPrinting) {
        rc.left = pCtrl->m_rcPrintMargins.left;
        rc.right = rc.left + (nDigits + 1) * pCtrl->GetCharWidth();
        rc.top = pCtrl->m_rcPrintMargins.top + nScreenRow * nRowHeight;
    } else {
        rc.left = pCtrl->m_bSelMargin ? pCtrl->m_nSelMarginWidth : 0;
        rc.right = rc.left + pCtrl->m_nLineNumberWidth;
        rc.top = nScreenRow * nRowHeight;
    }
    rc.bottom = rc.top + nRowHeight;
    pDC->FillSolidRect(&rc, m_clrColors.crLineNumberBack);
    if (nRow >= 1 && nRow <= pCtrl->GetRowCount()) {
        char szNumber[16];
        snprintf(szNumber, sizeof szNumber, "%d", nRow);
        CKLVFontDC fontDC(pDC, &m_fontLineNumber, m_clrColors.crLineNumberText);
        pDC->SetBkColor(m_clrColors.crLineNumberBack);
        CRect rcText = rc;
        rcText.right -= 2;
        pDC->DrawText(szNumber, -1, &rcText, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    for (int y = rc.top; y < rc.bottom; y += 2) pDC->SetPixel(rc.right - 1, y, m_clrColors.crLineNumberText);
    return bPrinting ? nDigits + 2 : 0;
}

void CKLVSyntaxEditPaintManager::DrawLineMarks(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, int nRow, int nScreenRow) {
    const int nRowHeight = pCtrl->GetRowHeight();
    const CRect rc(0, nScreenRow * nRowHeight, pCtrl->m_bSelMargin ? pCtrl->m_nSelMarginWidth : -1,
                   nScreenRow * nRowHeight + nRowHeight);
    if (pCtrl->m_bSelMargin) {
        FillHalftone(pDC, rc, ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_BTNFACE));
        CKLVPenDC penDC(pDC, &m_penShadow);
        Line(pDC, rc.right - 1, rc.top, rc.right - 1, rc.bottom);
    }
    KLVSE_NMDRAWMARKS nm{};
    nm.hDC = pDC->m_hDC;
    nm.rcMarks = rc;
    nm.nRow = nRow;
    if (pCtrl->SendNotify(KLVSEN_DRAWMARKS, &nm.hdr, 0)) return;
    const BOOL bBookmark = pCtrl->HasRowMark(nRow, "Bookmark");
    const BOOL bBreakpoint = pCtrl->HasRowMark(nRow, "Breakpoint");
    if (bBreakpoint) {
        pCtrl->SetRowBkColor(nRow, RGB(128, 0, 0));
        pCtrl->SetRowColor(nRow, RGB(255, 255, 255));
    }
    if (!pCtrl->m_bSelMargin || m_ilLineMarks.GetImageCount() == 0) return;
    const int nSaved = pDC->SaveDC();
    ::IntersectClipRect(pDC->m_hDC, rc.left, rc.top, rc.right, rc.bottom);
    if (bBookmark) m_ilLineMarks.Draw(pDC, nRow == pCtrl->GetCurRow() ? 1 : 0, rc.TopLeft(), ILD_TRANSPARENT);
    if (bBreakpoint) m_ilLineMarks.Draw(pDC, 2, rc.TopLeft(), ILD_TRANSPARENT);
    pDC->RestoreDC(nSaved);
}

void CKLVSyntaxEditPaintManager::DrawCollapsedNode(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, int nScreenRow,
                                                  DWORD dwFlags) {
    if (!pCtrl->m_bShowNodes) return;
    const int nRowHeight = pCtrl->GetRowHeight(), nSize = pCtrl->m_nNodeSize;
    CRect rcNode, rcMargin;
    pCtrl->GetNodeRect(nScreenRow, rcNode, &rcMargin);
    const int y0 = rcMargin.top;
    pDC->FillSolidRect(rcMargin.left, y0, nSize, nRowHeight, m_clrColors.crBack);
    CKLVPenDC penDC(pDC, &m_penShadow);
    const int cx = rcNode.CenterPoint().x, cy = y0 + nRowHeight / 2;
    if (dwFlags & klvNodeInside) Line(pDC, cx, y0, cx, cy);
    if (dwFlags & klvNodeGoesOn) Line(pDC, cx, y0 + nRowHeight, cx, cy);
    if (dwFlags & klvNodeBlockEnd) Line(pDC, cx, cy, cx + nSize / 2, cy);
    if (!(dwFlags & (klvNodeCollapsed | klvNodeExpanded))) return;
    CKLVBrushDC brushDC(pDC->m_hDC, m_clrColors.crBack);
    ::Rectangle(pDC->m_hDC, rcNode.left, rcNode.top, rcNode.right, rcNode.bottom);
    Line(pDC, cx - 2, cy, cx + 3, cy);
    if (dwFlags & klvNodeCollapsed) Line(pDC, cx, cy - 2, cx, cy + 3);
}

void CKLVSyntaxEditPaintManager::DrawCollapsedTextBoxes(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC) {
    const COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    for (int i = 0; i < pCtrl->m_nCollapsedCount && i < pCtrl->m_arCollapsedRows.GetSize(); ++i) {
        const CKLVSyntaxEditCollapsedData* pData = pCtrl->GetCollapsedData(static_cast<int>(pCtrl->m_arCollapsedRows[i]));
        if (!pData) continue;
        const CRect& rc = pData->rcPlaceholder;
        CRect rcBox(rc.left + 1, rc.top, rc.right - 1, rc.bottom);
        pDC->FillSolidRect(&rcBox, m_clrColors.crBack);
        CKLVFontDC fontDC(pDC, &m_fontText, clrShadow);
        pDC->SetBkColor(m_clrColors.crBack);
        pDC->DrawText(pData->block.strCollapsedText, &rcBox, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        CKLVBrushDC brushDC(pDC->m_hDC, clrShadow);
        const CRect rcFrame(rc.left, rc.top, rc.right, rc.bottom + 1);
        ::FrameRect(pDC->m_hDC, &rcFrame, static_cast<HBRUSH>(::GetCurrentObject(pDC->m_hDC, OBJ_BRUSH)));
    }
}

void CKLVSyntaxEditPaintManager::SplitSegment(const CKLVSyntaxEditTextSegment& seg, int s, int e,
                                              CKLVSyntaxEditTextSegment parts[3], BOOL bProduced[3]) {
    const int a = seg.nFirstCol, b = seg.nLastCol;
    int nBounds[3][2] = {{a, b}, {0, 0}, {0, 0}};
    bProduced[0] = bProduced[1] = bProduced[2] = FALSE;
    if (a < s) {
        bProduced[0] = TRUE;
        if (b > s) {
            nBounds[0][1] = s;
            bProduced[1] = TRUE;
            nBounds[1][0] = s;
            nBounds[1][1] = std::min(b, e);
            if (b > e) {
                bProduced[2] = TRUE;
                nBounds[2][0] = e;
                nBounds[2][1] = b;
            }
        }
    } else if (a < e) {
        bProduced[1] = TRUE;
        nBounds[1][0] = a;
        nBounds[1][1] = std::min(b, e);
        if (b > e) {
            bProduced[2] = TRUE;
            nBounds[2][0] = e;
            nBounds[2][1] = b;
        }
    } else {
        bProduced[0] = TRUE;
    }
    for (int i = 0; i < 3; ++i) {
        parts[i] = seg;
        parts[i].nFirstCol = nBounds[i][0];
        parts[i].nLastCol = nBounds[i][1];
    }
}

void CKLVSyntaxEditPaintManager::UpdateSegmentFont(CKLVSyntaxEditCtrl* pCtrl, const CKLVSyntaxEditTextSegment& part) {
    LOGFONT lf{};
    m_fontText.GetLogFont(&lf);
    if (pCtrl->m_bSyntaxColor) {
        if (part.lf.lfWeight != 255) lf.lfWeight = part.lf.lfWeight;
        if (part.lf.lfItalic != 255) lf.lfItalic = part.lf.lfItalic;
        if (part.lf.lfUnderline != 255) lf.lfUnderline = part.lf.lfUnderline;
    }
    LOGFONT lfCurrent{};
    if (m_fontSegment.m_hObject && m_fontSegment.GetLogFont(&lfCurrent) && memcmp(&lf, &lfCurrent, sizeof lf) == 0)
        return;
    CFont font;
    if (!font.CreateFontIndirect(&lf)) return;
    m_fontSegment.DeleteObject();
    m_fontSegment.Attach(font.Detach());
}

int CKLVSyntaxEditPaintManager::DrawTextSegment(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, const CString& strText,
                                                int nTextLen, const CKLVSyntaxEditTextSegment& part, int y,
                                                int nXOffset, int x) {
    const BOOL bPrinting = pDC->IsPrinting();
    const int nFirst = std::clamp(part.nFirstCol, 0, nTextLen);
    const int nLast = std::clamp(part.nLastCol, nFirst, nTextLen);
    CString strExpanded;
    const int nCells = pCtrl->ExpandTabs(pDC, strText.GetString() + nFirst, nLast - nFirst, x - nXOffset, strExpanded);
    const int cw = std::max(pCtrl->GetCharWidth(), 1), nRowHeight = pCtrl->GetRowHeight();
    int nLeft = (x - pCtrl->GetHScrollPos()) * cw + (bPrinting ? pCtrl->m_rcPrintMargins.left : 0);
    UpdateSegmentFont(pCtrl, part);
    CKLVFontDC fontDC(pDC, &m_fontSegment);
    CRect rcClient;
    pCtrl->GetClientRect(&rcClient);
    const int nLength = strExpanded.GetLength();
    int nCount = bPrinting ? 5000 : std::max(rcClient.Width() / cw + 1, 10);
    nCount = std::min(nCount, nLength);
    // The row is one pixel higher than the font, and opaque text covers only the font's height.
    pDC->FillSolidRect(nLeft, y + nRowHeight - 1, cw * nLength, 1, pDC->GetBkColor());
    int nSkip = 0;
    if (nLeft < 0) {
        nSkip = -nLeft / cw;
        nCount = std::min(nCount, nLength - nSkip);
        nLeft = 0;
    }
    // Every character takes one cell, whatever the font's own advances, so text stays in step
    // with the columns the caret, the selection and scrolling count in.
    if (nCount > 0) {
        m_arCellWidths.assign(static_cast<size_t>(nCount), cw);
        pDC->ExtTextOut(nLeft, y, 0, nullptr, strExpanded.GetString() + nSkip, static_cast<UINT>(nCount),
                        m_arCellWidths.data());
    }
    return nCells;
}

void CKLVSyntaxEditPaintManager::ResolveColors(CKLVSyntaxEditCtrl* pCtrl, const CKLVSyntaxEditTextSegment& seg,
                                               const CRowColors& row, COLORREF clr[4]) {
    const BOOL bSyntax = pCtrl->m_bSyntaxColor;
    const CKLVSyntaxEditTextColors& src = bSyntax ? seg.clrColors : m_clrColors;
    clr[0] = src.crText;
    clr[1] = src.crBack;
    clr[2] = src.crSelText;
    clr[3] = src.crSelBack;
    if (row.bHasBack) clr[1] = row.clrBack;
    if (row.bHasText) clr[0] = row.clrText;
    if (!bSyntax) return;
    if (clr[1] == m_clrColors.crBack.GetStandardColor()) clr[1] = m_clrColors.crBack;
    if (clr[0] == m_clrColors.crText.GetStandardColor()) clr[0] = m_clrColors.crText;
    if (pCtrl->IsActive()) return;
    if (clr[3] == m_clrColors.crSelBack.GetStandardColor()) clr[3] = m_clrColors.crInactiveSelBack;
    if (clr[2] == m_clrColors.crSelText.GetStandardColor()) clr[2] = m_clrColors.crInactiveSelText;
}

COLORREF CKLVSyntaxEditPaintManager::SelectionBack(CKLVSyntaxEditCtrl* pCtrl) const {
    const COLORREF clr = m_clrColors.crSelBack;
    if (!pCtrl->IsActive() && clr == m_clrColors.crSelBack.GetStandardColor()) return m_clrColors.crInactiveSelBack;
    return clr;
}

namespace {

CSelectionInRow SelectionInRow(CKLVSyntaxEditCtrl* pCtrl, const CString& strText, int nRow, BOOL bPrinting) {
    CSelectionInRow sel;
    if (bPrinting || !pCtrl->IsSelectionExist()) return sel;
    CPoint ptStart = pCtrl->m_ptSelStart, ptEnd = pCtrl->m_ptSelEnd;
    if (ptStart.y > ptEnd.y || (ptStart.y == ptEnd.y && ptStart.x > ptEnd.x)) std::swap(ptStart, ptEnd);
    if (nRow < ptStart.y || nRow > ptEnd.y) return sel;
    if (pCtrl->IsColumnSelection()) {
        sel.nStart = pCtrl->ColumnToCharPos(strText, std::min(ptStart.x, ptEnd.x)) - 1;
        sel.nEnd = pCtrl->ColumnToCharPos(strText, std::max(ptStart.x, ptEnd.x)) - 1;
    } else {
        sel.nStart = nRow == ptStart.y ? pCtrl->ColumnToCharPos(strText, ptStart.x) - 1 : 0;
        sel.nEnd = nRow == ptEnd.y ? pCtrl->ColumnToCharPos(strText, ptEnd.x) - 1 : strText.GetLength();
    }
    sel.bSelected = sel.nStart != sel.nEnd;
    return sel;
}

}  // namespace

void CKLVSyntaxEditPaintManager::FillSelectionTails(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, const CString& strText,
                                                    int y, int nRow, int nXOffset) {
    if (pDC->IsPrinting() || !pCtrl->IsSelectionExist()) return;
    CPoint ptStart = pCtrl->m_ptSelStart, ptEnd = pCtrl->m_ptSelEnd;
    if (ptStart.y > ptEnd.y || (ptStart.y == ptEnd.y && ptStart.x > ptEnd.x)) std::swap(ptStart, ptEnd);
    if (nRow < ptStart.y || nRow > ptEnd.y) return;
    const int cw = pCtrl->GetCharWidth(), h = pCtrl->GetHScrollPos(), nRowHeight = pCtrl->GetRowHeight();
    const COLORREF clr = SelectionBack(pCtrl);
    if (!pCtrl->IsColumnSelection()) {
        if (nRow == ptEnd.y) return;
        const int nLeft = (pCtrl->CharPosToColumn(strText, strText.GetLength() + 1) - h + nXOffset - 1) * cw;
        pDC->FillSolidRect(nLeft, y, cw, nRowHeight, clr);
        return;
    }
    const int c1 = std::min(ptStart.x, ptEnd.x), c2 = std::max(ptStart.x, ptEnd.x);
    const int e = pCtrl->ColumnToCharPos(strText, c2) - 1;
    const int d = pCtrl->CharPosToColumn(strText, e + 1);
    if (d >= c2) return;
    const int nFrom = std::max(d, c1);
    pDC->FillSolidRect((nFrom - h - 1) * cw, y, (c2 - nFrom) * cw, nRowHeight, clr);
}

void CKLVSyntaxEditPaintManager::DrawRowText(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, const CString& strText, int y,
                                             int nRow, int nXOffset) {
    const BOOL bPrinting = pDC->IsPrinting();
    const int nRowHeight = pCtrl->GetRowHeight(), cw = std::max(pCtrl->GetCharWidth(), 1);
    const int h = pCtrl->GetHScrollPos(), nTextLen = strText.GetLength();
    CRect rcClient;
    pCtrl->GetClientRect(&rcClient);
    CRowColors row;
    row.bHasBack = pCtrl->GetRowBkColor(nRow, row.clrBack);
    row.bHasText = pCtrl->GetRowColor(nRow, row.clrText);
    const COLORREF clrRowBack = row.bHasBack ? row.clrBack : static_cast<COLORREF>(m_clrColors.crBack);
    if (!bPrinting) pDC->FillSolidRect(0, y, rcClient.Width(), nRowHeight, clrRowBack);
    pDC->SetBkMode(OPAQUE);
    pDC->SetTextColor(m_clrColors.crText);

    std::vector<CKLVSyntaxEditTextSegment> arSegments;
    IKLVSyntaxEditTextSchema* pSchema = pCtrl->GetTextSchema();
    CKLVSyntaxEditBufferManager* pBuffer = pCtrl->GetBuffer();
    if (pSchema && pBuffer) {
        if (IKLVSyntaxEditSchemaHandle* pScreen = pCtrl->GetScreenSchemaBlocks(nRow)) {
            const int nVisible = bPrinting ? 5000 : rcClient.Width() / cw;
            CKLVSyntaxEditTextIterator iter(pBuffer);
            pSchema->GetLineAttributes(&iter, nRow, pBuffer->CalcCharPos(nRow, std::max(h, 1)),
                                       pBuffer->CalcCharPos(nRow, h + nVisible) + 5, m_clrColors, arSegments,
                                       pScreen);
        }
    }
    if (arSegments.empty()) {
        CKLVSyntaxEditTextSegment seg;
        seg.nLastCol = nTextLen;
        seg.clrColors = m_clrColors;
        arSegments.push_back(seg);
    }
    const CSelectionInRow sel = SelectionInRow(pCtrl, strText, nRow, bPrinting);
    CKLVSyntaxEditCollapsedData* pCollapsed = pCtrl->GetCollapsedData(nRow);

    int x = nXOffset;
    BOOL bPlaced = FALSE;
    for (const CKLVSyntaxEditTextSegment& seg : arSegments) {
        if (pCollapsed && seg.nFirstCol >= pCollapsed->block.lcStart.nCol) {
            pCtrl->SetCollapsedBlockRect(pDC, pCollapsed, y, x);
            bPlaced = TRUE;
            break;
        }
        if (nTextLen == 0) continue;
        COLORREF clr[4];
        ResolveColors(pCtrl, seg, row, clr);
        CKLVSyntaxEditTextSegment parts[3];
        BOOL bProduced[3] = {TRUE, FALSE, FALSE};
        if (sel.bSelected)
            SplitSegment(seg, sel.nStart, sel.nEnd, parts, bProduced);
        else
            parts[0] = seg;
        for (int i = 0; i < 3; ++i) {
            if (!bProduced[i]) continue;
            pDC->SetTextColor(i == 1 ? clr[2] : clr[0]);
            pDC->SetBkColor(i == 1 ? clr[3] : clr[1]);
            x += DrawTextSegment(pCtrl, pDC, strText, nTextLen, parts[i], y, nXOffset, x);
        }
    }
    if (pCollapsed && !bPlaced) pCtrl->SetCollapsedBlockRect(pDC, pCollapsed, y, x);
    FillSelectionTails(pCtrl, pDC, strText, y, nRow, nXOffset);
    pDC->SetTextColor(m_clrColors.crText);
}
