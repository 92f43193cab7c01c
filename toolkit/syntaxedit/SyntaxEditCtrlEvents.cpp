// The edit control's link to the lexer: parser and configuration events with the repaint
// throttle, the screen schemas that colour the rows, row drawing and tab expansion.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextIterator.h"

#include <algorithm>
#include <numeric>

IKLVSyntaxEditTextSchema* CKLVSyntaxEditCtrl::GetTextSchema() const {
    if (!m_pBuffer || !m_pBuffer->GetLexParser()) return nullptr;
    return m_pBuffer->GetLexParser()->GetTextSchema();
}

double CKLVSyntaxEditCtrl::GetAveragePaintTime() const {
    if (m_arPaintTimes.empty()) return 333;
    const double dSum = std::accumulate(m_arPaintTimes.begin(), m_arPaintTimes.end(), 0.0);
    return dSum / static_cast<double>(m_arPaintTimes.size());
}

DWORD CKLVSyntaxEditCtrl::GetParseRedrawInterval() const {
    return static_cast<DWORD>(std::max(GetAveragePaintTime() * 3, 1000.0));
}

void CKLVSyntaxEditCtrl::OnParserEvent(KLV_NOTIFYCODE dwCode, WPARAM pParam1, LPARAM pParam2) {
    KLVSE_NMPARSEREVENT nm{};
    nm.dwCode = dwCode;
    nm.pParam1 = pParam1;
    nm.pParam2 = pParam2;
    SendNotify(KLVSEN_PARSEREVENT, &nm.hdr, GetDlgCtrlIDSafe());
    const DWORD dwInterval = GetParseRedrawInterval(), dwNow = ::GetTickCount();
    if (dwCode == 1) {
        m_dwLastParseRedraw = dwNow;
        return;
    }
    if (dwCode == 2) {
        const BOOL bDue = dwNow - m_dwLastParseRedraw >= dwInterval;
        if (bDue) m_dwLastParseRedraw = dwNow;
        IKLVSyntaxEditTextSchema* pSchema = GetTextSchema();
        CKLVSyntaxEditPosition posStart, posEnd;
        if (!pSchema || !pSchema->GetNotifiedBlockRange(pParam1, posStart, posEnd)) return;
        const int nFirst = posStart.nLine;
        const int nLast = posEnd.IsValid() ? posEnd.nLine : INT_MAX;
        const BOOL bInView = nFirst <= GetDocRow(m_nTopRow, GetVisibleRowCount() + 4) && nLast >= m_nTopRow;
        m_screenCache.DropFrom(std::max(nFirst, 1));
        if (!bInView || !m_hWnd) return;
        NoteParsedRows(std::max(nFirst, 1), nLast);
        KillTimer(kTimerParseRedraw);
        if (bDue)
            RepaintForParse(TRUE);
        else
            SetTimer(kTimerParseRedraw, dwInterval * 5, nullptr);
        return;
    }
    if (dwCode == 3 && m_hWnd) {
        KillTimer(kTimerParseRedraw);
        RepaintForParse(FALSE);
    }
}

void CKLVSyntaxEditCtrl::NoteParsedRows(int nFirst, int nLast) {
    m_nParsedFirst = m_nParsedFirst > 0 ? std::min(m_nParsedFirst, nFirst) : nFirst;
    m_nParsedLast = std::max(m_nParsedLast, nLast);
}

void CKLVSyntaxEditCtrl::RepaintForParse(BOOL bDueBlock) {
    // Painted once the window thread has nothing else queued, so a key pressed meanwhile is
    // taken first. A due block that finds the last due block's repaint still waiting paints at
    // once: the queue has not emptied for a whole interval, and the colours would lag on.
    const BOOL bOverdue = bDueBlock && m_bParseRepaintPending;
    m_nDirtyRow = -1;
    // Blocks repaint the rows they cover (the rows after them wait for their own blocks or the
    // end of the pass); the end of a pass and the postponed redraw repaint every row.
    if (bDueBlock && m_nParsedFirst > 0)
        InvalidateRows(m_nParsedFirst, m_nParsedLast);
    else
        Invalidate(FALSE);
    m_nParsedFirst = m_nParsedLast = 0;
    if (bDueBlock) m_bParseRepaintPending = TRUE;
    if (bOverdue) UpdateWindow();
}

void CKLVSyntaxEditCtrl::OnConfigEvent(KLV_NOTIFYCODE, WPARAM, LPARAM) {
    m_screenCache.RemoveAll();
    m_bWordListBuilt = FALSE;
    m_nDirtyRow = -1;
    if (m_hWnd) Invalidate(TRUE);
}

CKLVNotificationConnection* CKLVSyntaxEditCtrl::GetParserConnection() const {
    IKLVSyntaxEditLexParser* pParser = m_pBuffer ? m_pBuffer->GetLexParser() : nullptr;
    return pParser ? pParser->GetConnection() : nullptr;
}

void CKLVSyntaxEditCtrl::SubscribeEvents() {
    m_sink.UnadviseAll();
    m_bWordListBuilt = FALSE;
    if (!m_pBuffer) return;
    if (CKLVNotificationConnection* pConnection = GetParserConnection())
        for (KLV_NOTIFYCODE dwCode = 1; dwCode <= 3; ++dwCode)
            m_sink.Advise(pConnection, dwCode, &CKLVSyntaxEditCtrl::OnParserEvent);
    if (CKLVNotificationConnection* pConnection = m_pBuffer->GetConnection())
        for (KLV_NOTIFYCODE dwCode = klvEditSchemaReloaded; dwCode <= klvEditConfigLoaded; ++dwCode)
            m_sink.Advise(pConnection, dwCode, &CKLVSyntaxEditCtrl::OnConfigEvent);
}

IKLVSyntaxEditSchemaHandle* CKLVSyntaxEditCtrl::GetScreenSchemaBlocks(int nRow) {
    if (!m_pBuffer || !m_pBuffer->GetLexParser()) return nullptr;
    const DWORD dwNow = ::GetTickCount();
    // How long an unused chain is kept is the file class's setting.
    const int nLifeTimeSec =
        m_pBuffer->GetLexParser()->GetOptions(m_pBuffer->GetFileName()).nOnScreenSchCacheLifeTime_sec;
    m_screenCache.Purge(nLifeTimeSec, dwNow);
    if (IKLVSyntaxEditSchemaHandle* pHead = m_screenCache.Find(nRow, dwNow)) return pHead;
    IKLVSyntaxEditTextSchema* pSchema = GetTextSchema();
    if (!pSchema) return nullptr;
    int nWindow = 1;
    if (GetRowHeight() > 0 && m_hWnd) {
        CRect rc;
        GetClientRect(&rc);
        nWindow = rc.Height() / GetRowHeight() + 1;
    }
    std::vector<int> arCollapsed;
    for (int i = 0; i < m_arCollapsedRows.GetSize(); ++i) arCollapsed.push_back(static_cast<int>(m_arCollapsedRows[i]));
    CKLVSyntaxEditBufferManager* pBuffer = m_pBuffer;
    return m_screenCache.Add(nRow, nWindow, arCollapsed, dwNow,
                             [pSchema, pBuffer](int nFirst, int nLast) {
                                 CKLVSyntaxEditTextIterator iter(pBuffer);
                                 return pSchema->ParseScreenLines(&iter, nFirst, nLast);
                             });
}

void CKLVSyntaxEditCtrl::RedrawRanges(int nRow1, int nPos1, int nRow2, int nPos2, int eEditKind) {
    m_screenCache.DropFrom(nRow1);
    if (!m_bSyntaxColor || !m_pBuffer || !m_pBuffer->GetLexParser()) return;
    m_pBuffer->GetLexParser()->OnTextChanged(CKLVSyntaxEditPosition(nRow1, std::max(nPos1 - 1, 0)),
                                             CKLVSyntaxEditPosition(nRow2, std::max(nPos2 - 1, 0)), eEditKind,
                                             m_pBuffer);
}

BOOL CKLVSyntaxEditCtrl::DrawRow(int nFirstRow, int nRow, CDC* pDC, int nXOffset) {
    if (nRow < 1) return FALSE;
    const BOOL bPrinting = IsPrintingDC(pDC);
    const CString strText = GetRowText(nRow);
    int y = (nRow - nFirstRow) * GetRowHeight();
    if (bPrinting) y += m_rcPrintMargins.top;
    GetPaintManager()->DrawRowText(this, pDC, strText, y, nRow, bPrinting ? nXOffset : 0);
    return TRUE;
}

int CKLVSyntaxEditCtrl::ExpandTabs(CDC* pDC, LPCSTR lpszText, int nTextLen, int nStartCol, CString& strOut) {
    const int t = std::max(GetTabSize(), 1);
    int c = nStartCol;
    for (int i = 0; i < nTextLen; ++i) c += lpszText[i] == '\t' ? t - c % t : 1;
    const int nWidth = c - nStartCol;
    if (nWidth == 0) return 0;
    const BOOL bMarks = m_bShowWhiteSpace && !IsPrintingDC(pDC);
    c = nStartCol;
    const int nOldLength = strOut.GetLength();
    LPSTR pszOut = strOut.GetBuffer(nOldLength + nWidth) + nOldLength;
    int nOut = 0;
    for (int i = 0; i < nTextLen; ++i) {
        const char ch = lpszText[i];
        if (ch == '\t') {
            const int nCells = t - c % t;
            for (int k = 0; k < nCells; ++k) pszOut[nOut++] = (k == 0 && bMarks) ? '\xBB' : ' ';
            c += nCells;
        } else {
            pszOut[nOut++] = (ch == ' ' && bMarks) ? '\xB7' : ch;
            ++c;
        }
    }
    strOut.ReleaseBuffer(nOldLength + nOut);
    return nWidth;
}
