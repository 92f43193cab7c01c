#include "classlib/SplitterWnd.h"

#include "classlib/View.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
    if (nRows < 1 || nCols < 1 || nRows > 16 || nCols > 16) return FALSE;
    m_rows.assign(static_cast<size_t>(nRows), RowColInfo());
    m_cols.assign(static_cast<size_t>(nCols), RowColInfo());
    CRect rect;
    if (pParentWnd) pParentWnd->GetClientRect(&rect);
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CWnd::Create(lpszClass, nullptr, dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext) {
    if (row < 0 || row >= GetRowCount() || col < 0 || col >= GetColumnCount() || GetPane(row, col)) return FALSE;
    m_cols[static_cast<size_t>(col)].nIdealSize = sizeInit.cx;
    m_rows[static_cast<size_t>(row)].nIdealSize = sizeInit.cy;
    CCreateContext context;
    if (pContext) context = *pContext;
    context.m_pNewViewClass = pViewClass;
    CObject* pObject = pViewClass->CreateObject();
    CWnd* pWnd = DYNAMIC_DOWNCAST(CWnd, pObject);
    if (!pWnd) {
        delete pObject;
        return FALSE;
    }
    const BOOL bSelfDeleting = pWnd->IsKindOf(RUNTIME_CLASS(CView));
    if (!pWnd->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, sizeInit.cx, sizeInit.cy), this,
                      static_cast<UINT>(IdFromRowCol(row, col)), &context)) {
        if (!bSelfDeleting) delete pWnd;
        return FALSE;
    }
    RecalcLayout();
    return TRUE;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
    HWND hWnd = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
    return hWnd ? CWnd::FromHandle(hWnd) : nullptr;
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const {
    if (!pWnd || !pWnd->m_hWnd || ::GetParent(pWnd->m_hWnd) != m_hWnd) return FALSE;
    const int nID = pWnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
    const int row = nID / 16;
    const int col = nID % 16;
    if (nID < 0 || row >= GetRowCount() || col >= GetColumnCount()) return FALSE;
    if (pRow) *pRow = row;
    if (pCol) *pCol = col;
    return TRUE;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
    m_rows.at(static_cast<size_t>(row)).nIdealSize = cyIdeal;
    m_rows.at(static_cast<size_t>(row)).nMinSize = cyMin;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
    cyCur = m_rows.at(static_cast<size_t>(row)).nCurSize;
    cyMin = m_rows.at(static_cast<size_t>(row)).nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
    m_cols.at(static_cast<size_t>(col)).nIdealSize = cxIdeal;
    m_cols.at(static_cast<size_t>(col)).nMinSize = cxMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
    cxCur = m_cols.at(static_cast<size_t>(col)).nCurSize;
    cxMin = m_cols.at(static_cast<size_t>(col)).nMinSize;
}

void CSplitterWnd::LayoutSizes(std::vector<RowColInfo>& infos, int nTotal, int nBar) {
    int nLeft = nTotal - nBar * static_cast<int>(infos.size() - 1);
    for (size_t i = 0; i < infos.size(); ++i) {
        const bool bLast = i + 1 == infos.size();
        infos[i].nCurSize = std::max(0, bLast ? nLeft : std::min(infos[i].nIdealSize, nLeft));
        nLeft -= infos[i].nCurSize;
    }
}

void CSplitterWnd::RecalcLayout() {
    if (!m_hWnd || m_rows.empty()) return;
    CRect rectClient;
    GetClientRect(&rectClient);
    LayoutSizes(m_cols, rectClient.Width(), m_cxSplitter);
    LayoutSizes(m_rows, rectClient.Height(), m_cySplitter);
    HDWP hDWP = ::BeginDeferWindowPos(GetRowCount() * GetColumnCount());
    int y = 0;
    for (int row = 0; row < GetRowCount(); ++row) {
        int x = 0;
        const int cy = m_rows[static_cast<size_t>(row)].nCurSize;
        for (int col = 0; col < GetColumnCount(); ++col) {
            const int cx = m_cols[static_cast<size_t>(col)].nCurSize;
            if (CWnd* pPane = GetPane(row, col))
                hDWP = ::DeferWindowPos(hDWP, pPane->m_hWnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
            x += cx + m_cxSplitter;
        }
        y += cy + m_cySplitter;
    }
    ::EndDeferWindowPos(hDWP);
    Invalidate(TRUE);
}

CRect CSplitterWnd::BarRect(int nBar) const {
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rect(rectClient);
    const std::vector<RowColInfo>& infos = nBar > 0 ? m_cols : m_rows;
    const int nIndex = (nBar > 0 ? nBar : -nBar) - 1;
    const int nBarSize = nBar > 0 ? m_cxSplitter : m_cySplitter;
    int nPos = 0;
    for (int i = 0; i <= nIndex; ++i) nPos += infos[static_cast<size_t>(i)].nCurSize + (i < nIndex ? nBarSize : 0);
    if (nBar > 0) {
        rect.left = nPos;
        rect.right = nPos + nBarSize;
    } else {
        rect.top = nPos;
        rect.bottom = nPos + nBarSize;
    }
    return rect;
}

int CSplitterWnd::HitTestBar(CPoint point) const {
    for (int col = 1; col < GetColumnCount(); ++col) {
        if (BarRect(col).PtInRect(point)) return col;
    }
    for (int row = 1; row < GetRowCount(); ++row) {
        if (BarRect(-row).PtInRect(point)) return -row;
    }
    return 0;
}

void CSplitterWnd::OnSize(UINT nType, int, int) {
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CSplitterWnd::OnPaint() {
    CPaintDC dc(this);
    const COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
    for (int col = 1; col < GetColumnCount(); ++col) dc.FillSolidRect(BarRect(col), clrFace);
    for (int row = 1; row < GetRowCount(); ++row) dc.FillSolidRect(BarRect(-row), clrFace);
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint point) {
    m_nTracking = HitTestBar(point);
    if (!m_nTracking) return;
    const CRect rectBar = BarRect(m_nTracking);
    m_nTrackOffset = m_nTracking > 0 ? point.x - rectBar.left : point.y - rectBar.top;
    SetCapture();
}

void CSplitterWnd::OnMouseMove(UINT, CPoint point) {
    if (!m_nTracking) return;
    // The bar follows the mouse: the pane before it takes the new size, within the minimum
    // sizes of both panes beside it.
    std::vector<RowColInfo>& infos = m_nTracking > 0 ? m_cols : m_rows;
    const size_t nBefore = static_cast<size_t>((m_nTracking > 0 ? m_nTracking : -m_nTracking) - 1);
    const int nBarStart = (m_nTracking > 0 ? point.x : point.y) - m_nTrackOffset;
    const int nPaneStart = (m_nTracking > 0 ? BarRect(m_nTracking).left : BarRect(m_nTracking).top) -
                           infos[nBefore].nCurSize;
    const int nRoom = infos[nBefore].nCurSize + infos[nBefore + 1].nCurSize;
    int nSize = nBarStart - nPaneStart;
    nSize = std::min(nSize, nRoom - infos[nBefore + 1].nMinSize);
    nSize = std::max(nSize, infos[nBefore].nMinSize);
    if (nSize == infos[nBefore].nCurSize) return;
    infos[nBefore].nIdealSize = nSize;
    if (nBefore + 2 < infos.size()) infos[nBefore + 1].nIdealSize = nRoom - nSize;
    RecalcLayout();
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) {
    if (m_nTracking) ::ReleaseCapture();
    m_nTracking = 0;
}

void CSplitterWnd::OnCaptureChanged(CWnd*) { m_nTracking = 0; }

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (pWnd == this && nHitTest == HTCLIENT) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        const int nBar = HitTestBar(point);
        if (nBar) {
            ::SetCursor(::LoadCursorA(nullptr, nBar > 0 ? IDC_SIZEWE : IDC_SIZENS));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
    CFrameWnd* pFrame = GetParentFrame();
    CWnd* pView = pFrame ? pFrame->GetActiveView() : nullptr;
    if (!IsChildPane(pView, pRow, pCol)) return nullptr;
    return pView;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd) {
    CWnd* pPane = pWnd ? pWnd : GetPane(row, col);
    if (!pPane) return;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pPane->IsKindOf(RUNTIME_CLASS(CView))) pFrame->SetActiveView(static_cast<CView*>(pPane));
    else pPane->SetFocus();
}
