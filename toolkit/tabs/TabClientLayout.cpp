// The MDI tab client's layout and drawing: the tab band beside the MDI area without groups, the
// groups with their splitters, the client's frame and background.
#include "toolkit/tabs/TabClientWnd.h"

#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabStyle.h"

namespace {

const int kGroupBorder = 2;

int AlongAxis(const CRect& rc, BOOL bStacked) { return bStacked ? rc.Height() : rc.Width(); }

}  // namespace

void CKLVTabClientWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
    if (!m_arrWorkspace.IsEmpty() && m_bShowWorkspace && !m_pTabWorkspace) {
        CRect rc(lpClientRect);
        if (m_bEnableGroups) LayoutGroups(rc);
        else LayoutSingleRow(rc);
        *lpClientRect = rc;
    }
    CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

// The workspace window takes the tab band of rc; rc keeps the MDI area.
void CKLVTabClientWnd::LayoutSingleRow(CRect& rc) {
    CWnd* pHost = m_arrWorkspace[0]->GetHostWindow();
    if (!pHost || pHost == this || !pHost->GetSafeHwnd() || !(pHost->GetStyle() & WS_VISIBLE)) return;
    CKLVTabWorkspace* pWorkspace = m_arrWorkspace[0];
    CClientDC dc(pHost);
    const CRect rcAll(0, 0, rc.Width(), rc.Height());
    m_pPaintManager->RepositionTabControl(pWorkspace, &dc, rcAll);
    const CRect rcArea = pWorkspace->GetClientRect();

    CRect rcBand = rcAll;
    switch (m_pPaintManager->GetPosition()) {
    case CKLVTabPainter::positionBottom: rcBand.top = rcArea.bottom; break;
    case CKLVTabPainter::positionLeft: rcBand.right = rcArea.left; break;
    case CKLVTabPainter::positionRight: rcBand.left = rcArea.right; break;
    default: rcBand.bottom = rcArea.top; break;
    }
    // The row is laid out again in the band window's own coordinates.
    CRect rcLocal = rcAll;
    rcLocal.OffsetRect(-rcBand.left, -rcBand.top);
    m_pPaintManager->RepositionTabControl(pWorkspace, &dc, rcLocal);

    CRect rcWindow = rcBand;
    rcWindow.OffsetRect(rc.left, rc.top);
    pHost->SetWindowPos(nullptr, rcWindow.left, rcWindow.top, rcWindow.Width(), rcWindow.Height(),
                        SWP_NOZORDER | SWP_NOACTIVATE);
    pHost->Invalidate(FALSE);
    pHost->ShowWindow(SW_SHOWNA);

    CRect rcLeft = rcArea;
    rcLeft.OffsetRect(rc.left, rc.top);
    if (rcLeft.right < rcLeft.left) rcLeft.right = rcLeft.left;
    if (rcLeft.bottom < rcLeft.top) rcLeft.bottom = rcLeft.top;
    rc = rcLeft;
}

// The groups share the client's area along the group axis by their shares, with a splitter
// after every group but the last.
void CKLVTabClientWnd::LayoutGroups(CRect rc) {
    CRect rcGroups(0, 0, rc.Width() - 2 * kGroupBorder, rc.Height() - 2 * kGroupBorder);
    const int nCount = static_cast<int>(m_arrWorkspace.GetSize());
    const BOOL bStacked = m_bHorizSplitting;
    const int nFree = AlongAxis(rcGroups, bStacked) - m_nSplitterSize * (nCount - 1);
    double dTotal = 0;
    for (int i = 0; i < nCount; ++i) dTotal += m_arrWorkspace[i]->m_dHeight;
    if (static_cast<int>(dTotal) == 0) dTotal = 1.0;

    CClientDC dc(this);
    double dCumulative = 0;
    int nStart = bStacked ? rcGroups.top : rcGroups.left;
    for (int i = 0; i < nCount; ++i) {
        CKLVTabWorkspace* pWorkspace = m_arrWorkspace[i];
        CRect rcBand = rcGroups;
        pWorkspace->m_rcSplitter.SetRectEmpty();
        int nEnd = bStacked ? rcGroups.bottom : rcGroups.right;
        if (i < nCount - 1) {
            dCumulative += pWorkspace->m_dHeight;
            nEnd = static_cast<int>(dCumulative * nFree / dTotal) + m_nSplitterSize * i;
            CRect rcSplitter = rcGroups;
            if (bStacked) rcSplitter.SetRect(rcGroups.left, nEnd, rcGroups.right, nEnd + m_nSplitterSize);
            else rcSplitter.SetRect(nEnd, rcGroups.top, nEnd + m_nSplitterSize, rcGroups.bottom);
            pWorkspace->m_rcSplitter = rcSplitter;
        }
        if (bStacked) rcBand.SetRect(rcGroups.left, nStart, rcGroups.right, nEnd);
        else rcBand.SetRect(nStart, rcGroups.top, nEnd, rcGroups.bottom);
        nStart = nEnd + m_nSplitterSize;

        m_pPaintManager->RepositionTabControl(pWorkspace, &dc, rcBand);
        const CRect rcArea = pWorkspace->GetClientRect();
        for (int j = 0; j < pWorkspace->GetItemCount(); ++j) {
            const HWND hWndChild = pWorkspace->GetItem(j)->GetHandle();
            if (::IsWindow(hWndChild))
                ::MoveWindow(hWndChild, rcArea.left, rcArea.top, rcArea.Width(), rcArea.Height(), TRUE);
        }
    }
    Invalidate(FALSE);
}

void CKLVTabClientWnd::SharesFromRects() {
    for (INT_PTR i = 0; i < m_arrWorkspace.GetSize(); ++i)
        m_arrWorkspace[i]->m_dHeight = AlongAxis(m_arrWorkspace[i]->GetControlRect(), m_bHorizSplitting);
}

CKLVTabWorkspace* CKLVTabClientWnd::WorkspaceFromPoint(CPoint pt) const {
    for (INT_PTR i = 0; i < m_arrWorkspace.GetSize(); ++i)
        if (m_arrWorkspace[i]->GetControlRect().PtInRect(pt)) return m_arrWorkspace[i];
    return nullptr;
}

int CKLVTabClientWnd::SplitterFromPoint(CPoint pt) const {
    for (INT_PTR i = 0; i + 1 < m_arrWorkspace.GetSize(); ++i)
        if (m_arrWorkspace[i]->m_rcSplitter.PtInRect(pt)) return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Drawing.

void CKLVTabClientWnd::FillBackground(CDC* pDC, CRect rc) {
    CKLVCommandBarsLink* pCommandBars = GetCommandBarsLink();
    if (!pCommandBars || !pCommandBars->GetPaintManager()) {
        pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_APPWORKSPACE));
    } else if (!m_bUserWindowProc) {
        CWnd::DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(pDC->GetSafeHdc()), 0);
    } else {
        pDC->FillSolidRect(&rc, pCommandBars->GetPaintManager()->GetThemeColor(COLOR_APPWORKSPACE));
    }
}

void CKLVTabClientWnd::DrawClient(CDC* pDC) {
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!m_bEnableGroups || m_arrWorkspace.IsEmpty()) {
        FillBackground(pDC, rcClient);
        return;
    }
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    for (INT_PTR i = m_arrWorkspace.GetSize() - 1; i >= 0; --i) {
        CKLVTabWorkspace* pWorkspace = m_arrWorkspace[i];
        CRect rcShared;
        if (rcShared.IntersectRect(rcClip, pWorkspace->GetControlRect()))
            m_pPaintManager->DrawTabControl(pWorkspace, pDC, pWorkspace->GetControlRect());
        if (!pWorkspace->m_rcSplitter.IsRectEmpty()) {
            CRect rcSplitter = pWorkspace->m_rcSplitter;
            DrawWorkspacePart(pDC, &rcSplitter, m_bHorizSplitting ? 3 : 2);
        }
    }
}

void CKLVTabClientWnd::DrawWorkspacePart(CDC* pDC, CRect* pRect, int nPart) {
    CKLVTabColors* pColors = m_pPaintManager->GetColorSet();
    switch (nPart) {
    case 0: {
        const COLORREF clrFrame = CKLVTabColors::GetColor(pColors->clrFrameBorder);
        const COLORREF clrFace = CKLVTabColors::GetColor(pColors->clrButtonFace);
        pDC->Draw3dRect(pRect, clrFrame, clrFrame);
        CRect rcInner = *pRect;
        rcInner.DeflateRect(1, 1);
        pDC->Draw3dRect(&rcInner, clrFace, clrFace);
        break;
    }
    case 1: pRect->DeflateRect(kGroupBorder, kGroupBorder); break;
    default: pDC->FillSolidRect(pRect, CKLVTabColors::GetColor(pColors->clrButtonFace)); break;
    }
}

void CKLVTabClientWnd::OnClientPaint() {
    CPaintDC dc(this);
    CKLVBufferDC buffer(dc);
    DrawClient(&buffer);
}

LRESULT CKLVTabClientWnd::OnClientNcMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_bEnableGroups) return Default();
    if (message == WM_NCCALCSIZE) {
        auto* pRect = reinterpret_cast<RECT*>(lParam);   // the first rectangle either way
        CRect rc(pRect);
        DrawWorkspacePart(nullptr, &rc, 1);
        *pRect = rc;
        return 0;
    }
    if (message == WM_NCPAINT || message == WM_NCACTIVATE) {
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
        if (HDC hDC = ::GetWindowDC(m_hWnd)) {
            CDC* pDC = CDC::FromHandle(hDC);
            DrawWorkspacePart(pDC, &rcWindow, 0);
            ::ReleaseDC(m_hWnd, hDC);
        }
        (void)wParam;
        return message == WM_NCACTIVATE ? TRUE : 0;
    }
    return Default();
}

INT_PTR CKLVTabClientWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    if (!m_bShowWorkspace) return -1;
    CKLVTabWorkspace* pWorkspace = WorkspaceFromPoint(point);
    return pWorkspace ? pWorkspace->PerformToolHitTest(m_hWnd, point, pTI) : -1;
}
