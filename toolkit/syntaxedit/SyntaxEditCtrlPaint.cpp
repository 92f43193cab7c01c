// The edit control's window: creation on a buffer, double-buffered painting with its timing
// ring, printing one page, focus and activation, and the row mapping painting walks.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextIterator.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CKLVSyntaxEditCtrl, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEWHEEL()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_SHOWWINDOW()
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_HSCROLL, OnHScroll)
    ON_MESSAGE(WM_VSCROLL, OnVScroll)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_RBUTTONDOWN()
    ON_WM_CONTEXTMENU()
    ON_WM_CAPTURECHANGED()
    ON_WM_CANCELMODE()
    ON_COMMAND(KLV_ID_SYNTAXEDIT_DROPMOVE, OnDropMove)
    ON_COMMAND(KLV_ID_SYNTAXEDIT_DROPCOPY, OnDropCopy)
END_MESSAGE_MAP()

BOOL CKLVSyntaxEditCtrl::Create(CWnd* pParent, BOOL bHorzScroll, BOOL bVertScroll,
                                CKLVSyntaxEditBufferManager* pBuffer, CCreateContext* pContext) {
    if (pBuffer)
        pBuffer->InternalAddRef();
    else
        pBuffer = new CKLVSyntaxEditBufferManager;
    if (m_pBuffer) m_pBuffer->InternalRelease();
    m_pBuffer = pBuffer;
    if (m_pBuffer->GetConfigFile().IsEmpty()) SetConfigFile(m_strConfigFile);
    m_bVertScrollBar = bVertScroll;
    m_bHorzScrollBar = bHorzScroll;
    m_pParentWnd = pParent;
    // A control without a parent is a window of its own; it refuses every edit.
    const DWORD dwStyle = (pParent ? WS_CHILD : WS_POPUP) | WS_VISIBLE | (bVertScroll ? WS_VSCROLL : 0) |
                          (bHorzScroll ? WS_HSCROLL : 0);
    if (!CreateEx(WS_EX_ACCEPTFILES, "TarvoshSyntaxEditor", nullptr, dwStyle, CRect(0, 0, 0, 0), pParent, 0, pContext))
        return FALSE;
    SetFont(nullptr);
    m_bCaretOwner = TRUE;
    m_wndAutoComplete.Create(this);
    SubscribeEvents();
    return TRUE;
}

int CKLVSyntaxEditCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    // Without its tooltip the control only shows no tips.
    m_wndToolTip.Create(this);
    return 0;
}

BOOL CKLVSyntaxEditCtrl::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CKLVSyntaxEditCtrl::RecalcLayout() {
    RecalcMargins();
    UpdateScrollBars();
    if (m_hWnd) Invalidate(FALSE);
}

void CKLVSyntaxEditCtrl::SetActive(BOOL bActive) {
    m_bActive = bActive;
    if (m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

BOOL CKLVSyntaxEditCtrl::PreTranslateMessage(MSG* pMsg) {
    if (m_wndAutoComplete.IsOpen() && pMsg->message >= WM_KEYDOWN && pMsg->message <= WM_SYSKEYUP &&
        pMsg->message != WM_CHAR) {
        // The open list takes the keys; Enter and the moving keys are its alone. Typed
        // characters reach the text first and the list after them.
        m_wndAutoComplete.SendMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
        if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || (pMsg->wParam >= 32 && pMsg->wParam <= 47)))
            return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void CKLVSyntaxEditCtrl::OnPaint() {
    CPaintDC dc(this);
    m_bParseRepaintPending = FALSE;
    // The performance counter: the tick count's steps are longer than many paints.
    LARGE_INTEGER liFrequency, liStart, liEnd;
    ::QueryPerformanceFrequency(&liFrequency);
    ::QueryPerformanceCounter(&liStart);
    Draw(&dc);
    ::QueryPerformanceCounter(&liEnd);
    const double dDurationMs =
        static_cast<double>(liEnd.QuadPart - liStart.QuadPart) * 1000.0 / static_cast<double>(liFrequency.QuadPart);
    if (m_arPaintTimes.size() < kPaintRingSize)
        m_arPaintTimes.push_back(dDurationMs);
    else
        m_arPaintTimes[static_cast<size_t>(m_nPaintIndex)] = dDurationMs;
    m_nPaintIndex = (m_nPaintIndex + 1) % kPaintRingSize;
}

void CKLVSyntaxEditCtrl::Draw(CDC* pDC) {
    if (IsPrintingDC(pDC)) {
        PrintPage(pDC);
        return;
    }
    CRect rc;
    GetClientRect(&rc);
    if (rc.IsRectEmpty() || GetRowHeight() <= 0) return;
    ReadHorzScrollInfo();
    m_nCollapsedCount = 0;
    m_arCollapsedRows.RemoveAll();
    const int nTextWidth = std::max(rc.Width() - m_nTextLeftOffset, 1);
    if (!m_backImages.Prepare(pDC, CSize(m_nTextLeftOffset, rc.Height()), CSize(nTextWidth, rc.Height()))) return;
    int nFirst = 0, nEnd = 0;
    GetPaintRows(pDC, rc, nFirst, nEnd);
    const int h = GetRowHeight();
    const CRect rcBand(rc.left, nFirst * h, rc.right, std::min(nEnd * h, static_cast<int>(rc.bottom)));
    DrawBand(rcBand, nFirst, nEnd);
    pDC->BitBlt(m_nTextLeftOffset, rcBand.top, nTextWidth, rcBand.Height(), &m_backImages.Text(), 0, rcBand.top, SRCCOPY);
    pDC->BitBlt(0, rcBand.top, m_nTextLeftOffset, rcBand.Height(), &m_backImages.Gutter(), 0, rcBand.top, SRCCOPY);
    m_nDirtyRow = 0;
}

void CKLVSyntaxEditCtrl::GetPaintRows(CDC* pDC, const CRect& rcClient, int& nFirst, int& nEnd) const {
    // The rows the DC's clip box touches, and one more below as every paint draws.
    CRect rcClip;
    if (pDC->GetClipBox(&rcClip) == NULLREGION || rcClip.IsRectEmpty()) rcClip = rcClient;
    nFirst = std::max(static_cast<int>(rcClip.top), 0) / GetRowHeight();
    nEnd = std::min(rcClip.bottom, rcClient.bottom) / GetRowHeight() + 1;
}

void CKLVSyntaxEditCtrl::DrawBand(const CRect& rcBand, int nFirst, int nEnd) {
    CDC& dcGutter = m_backImages.Gutter();
    CDC& dcText = m_backImages.Text();
    // Each paint starts from the images' own DC state, whatever the last one (or a parent
    // drawing line marks) left selected in them.
    const int nSavedGutter = dcGutter.SaveDC(), nSavedText = dcText.SaveDC();
    CKLVSyntaxEditPaintManager* pPaint = GetPaintManager();
    dcGutter.FillSolidRect(&rcBand, pPaint->GetColors().crBack);
    dcText.FillSolidRect(&rcBand, pPaint->GetColors().crBack);
    DrawRows(&dcText, &dcGutter, FALSE, nEnd, 0, nFirst);
    pPaint->DrawCollapsedTextBoxes(this, &dcText);
    dcGutter.RestoreDC(nSavedGutter);
    dcText.RestoreDC(nSavedText);
}

void CKLVSyntaxEditCtrl::DrawRows(CDC* pDC, CDC* pGutterDC, BOOL bPrinting, int nRows, int, int nFirstDrawn) {
    CKLVSyntaxEditPaintManager* pPaint = GetPaintManager();
    IKLVSyntaxEditTextSchema* pSchema = GetTextSchema();
    if (m_nAnchorTopRow != m_nTopRow) {
        m_pAnchorBlock.reset();
        m_nAnchorTopRow = m_nTopRow;
    }
    int nHidden = 0, nHideUntil = 0;
    for (int i = 0; i < nRows;) {
        const int nRow = m_nTopRow + i + nHidden;
        if (nRow <= nHideUntil) {
            ++nHidden;
            continue;
        }
        DWORD dwNode = 0;
        CKLVSyntaxEditCollapsedData* pCollapsed = GetCollapsedData(nRow);
        // A row above the rows to draw is only walked: a collapsed block there still hides rows.
        const BOOL bDrawn = i >= nFirstDrawn;
        if (pSchema && nRow <= GetRowCount() && (bDrawn || pCollapsed)) {
            std::vector<CKLVSyntaxEditCollapsedBlock> arRegions;
            pSchema->GetFoldRegions(nRow, arRegions, m_pAnchorBlock, i == 0);
            // The schema knows the block's place after edits: the first block of the row is
            // the collapsed one.
            auto itFirst = std::find_if(arRegions.begin(), arRegions.end(), [nRow](const CKLVSyntaxEditCollapsedBlock& b) {
                return b.lcStart.nLine == nRow;
            });
            if (pCollapsed && itFirst != arRegions.end()) pCollapsed->block = *itFirst;
            dwNode = CalcNodeFlags(nRow, arRegions, TRUE);
        }
        if (pCollapsed) {
            m_arCollapsedRows.Add(static_cast<UINT>(nRow));
            m_nCollapsedCount = static_cast<int>(m_arCollapsedRows.GetSize());
            nHideUntil = nRow + GetHiddenCount(nRow, pCollapsed);
        }
        if (!bDrawn) {
            ++i;
            continue;
        }
        COLORREF clrText = 0, clrBack = RGB(255, 255, 255);
        if (!bPrinting) {
            GetRowColor(nRow, clrText);
            GetRowBkColor(nRow, clrBack);
            pPaint->DrawLineMarks(this, pGutterDC, nRow, i);
        }
        const int nXOffset = pPaint->DrawLineNumber(this, bPrinting ? pDC : pGutterDC, nRow, i, bPrinting);
        if (!bPrinting) pPaint->DrawCollapsedNode(this, pGutterDC, i, dwNode);
        DrawRow(m_nTopRow + nHidden, nRow, pDC, nXOffset);
        if (!bPrinting) {
            SetRowColor(nRow, clrText);
            SetRowBkColor(nRow, clrBack);
        }
        ++i;
    }
}

void CKLVSyntaxEditCtrl::InvalidateRows(int nRow1, int nRow2) {
    if (!m_hWnd || nRow2 < m_nTopRow || nRow1 > nRow2 || GetRowHeight() <= 0) return;
    CRect rc;
    GetClientRect(&rc);
    const int nTop = nRow1 <= m_nTopRow ? 0 : (GetScreenRow(m_nTopRow, nRow1) - 1) * GetRowHeight();
    if (nTop >= rc.bottom) return;
    rc.top = nTop;
    // A hidden row is drawn on its block's first row. From the last row on, the blank below too.
    if (nRow2 < GetRowCount()) rc.bottom = std::min(GetScreenRow(m_nTopRow, nRow2) * GetRowHeight(), static_cast<int>(rc.bottom));
    InvalidateRect(&rc, FALSE);
}

int CKLVSyntaxEditCtrl::GetPrintRowsPerPage(int nPrintableHeight) const {
    return GetRowHeight() > 0 ? nPrintableHeight / GetRowHeight() - 1 : 0;
}

int CKLVSyntaxEditCtrl::GetPageFirstRow(int nPage, int nRowsPerPage) const {
    return std::max(GetDocRow(1, (nPage - 1) * nRowsPerPage + 1), 1);
}

void CKLVSyntaxEditCtrl::PrintPage(CDC* pDC) {
    // The page is drawn with the printer's metrics; the screen gets its own back afterwards.
    const TEXTMETRIC tmScreen = m_tm;
    const BOOL bSelMargin = m_bSelMargin;
    const int nTopRow = m_nTopRow;
    const SCROLLINFO siHorz = m_siHorz;
    CKLVSyntaxEditPaintManager* pPaint = GetPaintManager();
    CFont* pOldFont = pDC->SelectObject(pPaint->GetTextFont());
    pDC->GetTextMetrics(&m_tm);
    m_tm.tmHeight += 1;
    m_bSelMargin = FALSE;
    RecalcMargins();
    m_siHorz.nPos = 0;
    CRect rcPage;
    pDC->GetClipBox(&rcPage);
    const int nRowsPerPage =
        GetPrintRowsPerPage(rcPage.Height() - m_rcPrintMargins.top - m_rcPrintMargins.bottom);
    m_nTopRow = GetPageFirstRow(std::max(m_nPrintPage, 1), std::max(nRowsPerPage, 1));
    CRect rcFill(rcPage.left + m_rcPrintMargins.left, rcPage.top + m_rcPrintMargins.top,
                 rcPage.right - m_rcPrintMargins.right, rcPage.bottom - m_rcPrintMargins.bottom);
    const CKLVColorValue& clrBack = pPaint->GetColors().crBack;
    pDC->FillSolidRect(&rcFill, clrBack.GetCustomColor() != COLORREF(-1) ? clrBack.GetCustomColor()
                                                                         : clrBack.GetStandardColor());
    DrawRows(pDC, nullptr, TRUE, std::max(nRowsPerPage, 1), 0);
    pPaint->DrawCollapsedTextBoxes(this, pDC);
    pDC->SelectObject(pOldFont);
    m_tm = tmScreen;
    m_bSelMargin = bSelMargin;
    m_nTopRow = nTopRow;
    m_siHorz = siHorz;
    RecalcMargins();
    m_nDirtyRow = -1;
    SetCaretScreenPos(FALSE);
    if (m_hWnd) Invalidate(TRUE);
}

void CKLVSyntaxEditCtrl::RefreshSyntaxColors() {
    m_screenCache.RemoveAll();
    if (m_pBuffer && m_bSyntaxColor && m_pBuffer->GetLexParser()) {
        IKLVSyntaxEditLexParser* pParser = m_pBuffer->GetLexParser();
        // A large file would hold the window up: the file class may send the parse to the
        // parser's own thread.
        if (pParser->GetOptions(m_pBuffer->GetFileName()).bFirstParseInSeparateThread) {
            const CKLVSyntaxEditPosition posStart(1, 0);
            pParser->StartParseInThread(m_pBuffer, &posStart, nullptr, 0, FALSE);
        } else if (IKLVSyntaxEditTextSchema* pSchema = GetTextSchema()) {
            CKLVSyntaxEditTextIterator iter(m_pBuffer);
            pSchema->Parse(&iter);
        }
        // The schema may hold other words now.
        m_bWordListBuilt = FALSE;
        FillAutoCompleteList();
    }
    m_nDirtyRow = -1;
    if (m_hWnd) Invalidate(TRUE);
}

void CKLVSyntaxEditCtrl::SetCollapsedBlockRect(CDC* pDC, CKLVSyntaxEditCollapsedData* pData, int y, int x) {
    if (!pData) return;
    const int cw = GetCharWidth();
    CRect& rc = pData->rcPlaceholder;
    rc.left = (x - GetHScrollPos()) * cw + (IsPrintingDC(pDC) ? m_rcPrintMargins.left : 0);
    rc.top = y;
    rc.right = rc.left + cw * pData->block.strCollapsedText.GetLength() + 3;
    rc.bottom = y + GetRowHeight();
}

void CKLVSyntaxEditCtrl::OnSetFocus(CWnd* pOldWnd) {
    CWnd::OnSetFocus(pOldWnd);
    if (m_bCaretCreated) ::DestroyCaret();
    m_bCaretCreated = FALSE;
    m_bFocus = TRUE;
    Invalidate(FALSE);
    SetCaretScreenPos(FALSE);
    NotifyRows(KLVSEN_CARETMOVED, m_nCurRow, m_nDispCol);
    UpdateWindow();
}

void CKLVSyntaxEditCtrl::OnKillFocus(CWnd* pNewWnd) {
    CWnd::OnKillFocus(pNewWnd);
    if (m_bCaretCreated) ::DestroyCaret();
    m_bCaretCreated = FALSE;
    HideAutoComplete();
    m_bFocus = FALSE;
}

void CKLVSyntaxEditCtrl::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (m_bDragging)
        RefreshCursor();
    else if (::GetKeyState(VK_SHIFT) >= 0)
        m_bShiftExtension = FALSE;
    CWnd::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CKLVSyntaxEditCtrl::OnShowWindow(BOOL bShow, UINT nStatus) {
    CWnd::OnShowWindow(bShow, nStatus);
    if (!bShow) m_nDirtyRow = -1;
}

void CKLVSyntaxEditCtrl::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE) m_nDirtyRow = -1;
    SetActive(nState != WA_INACTIVE);
}

LRESULT CKLVSyntaxEditCtrl::OnGetFont(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(GetPaintManager()->GetTextFont()->m_hObject);
}

LRESULT CKLVSyntaxEditCtrl::OnSetText(WPARAM, LPARAM lParam) {
    if (!m_pBuffer) return FALSE;
    const int nRows = GetRowCount();
    if (nRows > 0) m_pBuffer->DeleteText(1, 1, nRows + 1, 1, FALSE);
    m_pBuffer->InsertText(reinterpret_cast<LPCSTR>(lParam), 1, 1, nullptr, FALSE);
    m_screenCache.RemoveAll();
    UpdateScrollBars();
    return TRUE;
}
