// The layout of a dock bar's rows: each row keeps its bars at their last docked places, pushed
// apart where they overlap; a row that is too long shrinks the bars that may hide controls and
// then moves its last bar to a new line; the dock bar takes its strip of the frame.
#include "toolkit/commandbars/dockbars/DockBar.h"

#include "classlib/ControlBar.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/ToolBarTracker.h"

#include <algorithm>

namespace {

const DWORD kHideWrap = CKLVControls::modeHideWrap;
// The bar styles' alignment bits.
const DWORD alignTop = 0x2000;
const DWORD alignLeft = 0x1000;

// Rectangles are worked on with the row running along x: a vertical dock bar's are swapped.
CRect Swapped(const CRect& rc) { return CRect(rc.top, rc.left, rc.bottom, rc.right); }

int Along(const CSize& sz, BOOL bHorz) { return bHorz ? sz.cx : sz.cy; }
int Across(const CSize& sz, BOOL bHorz) { return bHorz ? sz.cy : sz.cx; }

}  // namespace

DWORD CKLVDockBar::GetBarLayoutMode(const CKLVCommandBar* pBar) const {
    DWORD dwMode = IsHorizontal() ? CKLVControls::modeHorzDock | CKLVControls::modeHorz : CKLVControls::modeVertDock;
    if (pBar->m_nFlags & CKLVToolBar::flagStretched) dwMode |= CKLVControls::modeStretch;
    // Customising entered other than by the switch lets every control show.
    const BOOL bWithheld = m_pCommandBars && m_pCommandBars->IsCustomizeModeEnteredDirectly();
    if ((pBar->m_nFlags & CKLVToolBar::flagHideWrap) && !bWithheld) dwMode |= kHideWrap;
    return dwMode;
}

void CKLVDockBar::GetVisibleRowBars(int nPosition, CPtrArray& arrBars) const {
    int nStart = std::min(nPosition, GetEntryCount() - 1);
    while (nStart > 0 && GetEntry(nStart)) --nStart;
    std::vector<std::pair<CRect, CKLVCommandBar*>> row;
    for (int i = nStart + 1; i < GetEntryCount() && GetEntry(i); ++i) {
        CKLVCommandBar* pBar = GetEntry(i);
        if (!pBar->IsVisible() || !pBar->GetSafeHwnd()) continue;
        CRect rc;
        pBar->GetWindowRect(&rc);
        row.emplace_back((m_dwStyle & styleVertical) ? Swapped(rc) : rc, pBar);
    }
    std::stable_sort(row.begin(), row.end(), [](const auto& a, const auto& b) { return a.first.left < b.first.left; });
    for (const auto& entry : row) arrBars.Add(entry.second);
}

CSize CKLVDockBar::CalcFixedLayout(int nLength, DWORD dwMode, AFX_SIZEPARENTPARAMS* lpLayout) {
    const BOOL bHorz = (dwMode & CKLVControls::modeHorz) != 0;
    CSize size(0, 0);
    if (dwMode & CKLVControls::modeStretch) size = bHorz ? CSize(32767, 0) : CSize(0, 32767);
    // The bars are this window's children: they move in a deferred positioning of their own.
    AFX_SIZEPARENTPARAMS layout = {};
    if (lpLayout && lpLayout->hDWP) layout.hDWP = ::BeginDeferWindowPos(GetEntryCount());
    int x = 0, y = 0;
    std::vector<CKLVToolBar*> row;
    for (int i = 1; i < GetEntryCount(); ++i) {
        if (CKLVCommandBar* pBar = GetEntry(i)) {
            auto* pToolBar = DYNAMIC_DOWNCAST(CKLVToolBar, pBar);
            if (pToolBar && pToolBar->IsVisible() && pToolBar->GetSafeHwnd()) row.push_back(pToolBar);
            continue;
        }
        if (row.empty()) continue;
        const int nThickness = CalcRowsLayout(row, x, y, nLength, &layout);
        if (IsHorizontal()) {
            y += nThickness;
            size.cy = std::max<int>(size.cy, y);
        } else {
            x += nThickness;
            size.cx = std::max<int>(size.cx, x);
        }
        row.clear();
    }
    if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
    return size;
}

int CKLVDockBar::CalcRowsLayout(std::vector<CKLVToolBar*> row, int x, int y, int nLength,
                                AFX_SIZEPARENTPARAMS* lpLayout) {
    int nTotal = 0;
    std::vector<CKLVToolBar*> overflow;
    for (;;) {
        int nFailing = -1;
        const int nThickness = CalcRowLayout(row, x, y, nLength, lpLayout, nFailing);
        if (nThickness < 0) {
            overflow.push_back(row[static_cast<size_t>(nFailing)]);
            row.erase(row.begin() + nFailing);
            continue;
        }
        nTotal += nThickness;
        (IsHorizontal() ? y : x) += nThickness;
        if (overflow.empty()) return nTotal;
        row.swap(overflow);
        overflow.clear();
    }
}

std::vector<KLVDockBarInfo> CKLVDockBar::PlaceRowItems(const std::vector<CKLVToolBar*>& row, int nAcross,
                                                       int nLength) const {
    const BOOL bHorz = IsHorizontal();
    std::vector<KLVDockBarInfo> items;
    for (size_t i = 0; i < row.size(); ++i) {
        CKLVToolBar* pBar = row[i];
        const CSize sz = pBar->CalcDockingLayout(nLength, GetBarLayoutMode(pBar), 0);
        CKLVToolBarTracker* pTracker = pBar->GetTracker();
        const int nAlong = pTracker ? (bHorz ? pTracker->m_rcLastDocked.left : pTracker->m_rcLastDocked.top) : 0;
        const CRect rc(nAlong, nAcross, nAlong + Along(sz, bHorz), nAcross + Across(sz, bHorz));
        items.push_back({pBar, rc, rc, static_cast<int>(i), 0, 0});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const KLVDockBarInfo& a, const KLVDockBarInfo& b) { return a.rcBar.left < b.rcBar.left; });
    return items;
}

void CKLVDockBar::PushApart(std::vector<KLVDockBarInfo>& items, int nLength) {
    // The bar earlier in the row list keeps its place; the later one yields.
    LONG nPreviousRight = 0;
    BOOL bPreviousMoved = TRUE;
    for (size_t k = 0; k < items.size(); ++k) {
        CRect& rc = items[k].rcBar;
        BOOL bMoved = FALSE;
        if (rc.left < nPreviousRight && (bPreviousMoved || items[k - 1].nIndex < items[k].nIndex)) {
            rc.OffsetRect(nPreviousRight - rc.left, 0);
            bMoved = TRUE;
        }
        bPreviousMoved = bMoved;
        nPreviousRight = rc.right;
    }
    LONG nLimit = nLength;
    BOOL bNextMoved = TRUE;
    for (size_t k = items.size(); k-- > 0;) {
        CRect& rc = items[k].rcBar;
        BOOL bMoved = FALSE;
        if (rc.right > nLimit && (bNextMoved || items[k + 1].nIndex < items[k].nIndex)) {
            rc.OffsetRect(nLimit - rc.right, 0);
            bMoved = TRUE;
        }
        bNextMoved = bMoved;
        nLimit = rc.left;
    }
    nPreviousRight = 0;
    for (KLVDockBarInfo& item : items) {
        if (item.rcBar.left < nPreviousRight) item.rcBar.OffsetRect(nPreviousRight - item.rcBar.left, 0);
        nPreviousRight = item.rcBar.right;
    }
}

BOOL CKLVDockBar::ShrinkRow(std::vector<KLVDockBarInfo>& items, int nLength) const {
    const BOOL bHorz = IsHorizontal();
    int nOffset = 0;
    for (KLVDockBarInfo& item : items) {
        const DWORD dwMode = GetBarLayoutMode(item.pBar);
        item.nMinLength = (dwMode & kHideWrap)
                              ? Along(static_cast<CKLVToolBar*>(item.pBar)->CalcDockingLayout(1, dwMode, 0), bHorz)
                              : item.rcBar.Width();
        item.nMinOffset = nOffset;
        nOffset += item.nMinLength;
    }
    LONG nLimit = nLength;
    for (size_t k = items.size(); k-- > 0;) {
        KLVDockBarInfo& item = items[k];
        LONG nLeft = std::min(item.rcRequested.left, item.rcBar.left);
        nLeft = std::max<LONG>(nLeft, nLimit - item.rcBar.Width());
        nLeft = std::max<LONG>(nLeft, item.nMinOffset);
        if (nLimit - nLeft < item.nMinLength) nLeft = nLimit - item.nMinLength;
        if (nLeft < item.nMinOffset && items.size() > 1) return FALSE;
        nLeft = std::max<LONG>(nLeft, 0);
        item.rcBar.left = nLeft;
        item.rcBar.right = nLimit;
        nLimit = nLeft;
    }
    return TRUE;
}

int CKLVDockBar::CalcRowLayout(const std::vector<CKLVToolBar*>& row, int x, int y, int nLength,
                               AFX_SIZEPARENTPARAMS* lpLayout, int& nFailing) {
    const BOOL bHorz = IsHorizontal();
    std::vector<KLVDockBarInfo> items = PlaceRowItems(row, bHorz ? y : x, nLength);
    PushApart(items, nLength);
    if (items.back().rcBar.right > nLength && !ShrinkRow(items, nLength)) {
        nFailing = items.back().nIndex;
        return -1;
    }
    int nThickness = 0;
    for (const KLVDockBarInfo& item : items) {
        const CSize sz = static_cast<CKLVToolBar*>(item.pBar)->CalcDockingLayout(item.rcBar.Width(),
                                                                                 GetBarLayoutMode(item.pBar), 0);
        nThickness = std::max(nThickness, Across(sz, bHorz));
    }
    if (lpLayout->hDWP) CommitRow(items, nLength, nThickness, lpLayout);
    return nThickness;
}

void CKLVDockBar::CommitRow(const std::vector<KLVDockBarInfo>& items, int nLength, int nThickness,
                            AFX_SIZEPARENTPARAMS* lpLayout) {
    const BOOL bHorz = IsHorizontal();
    LONG nPreviousRight = 0;
    for (size_t k = 0; k < items.size(); ++k) {
        auto* pBar = static_cast<CKLVToolBar*>(items[k].pBar);
        CRect rc = items[k].rcBar;
        DWORD dwMode = GetBarLayoutMode(pBar) | CKLVControls::modeCommit;
        if (pBar->m_nFlags & CKLVToolBar::flagStretchShared) {
            // Shares the row: it reaches to the next bar.
            rc.left = k == 0 ? 0 : std::min(rc.left, nPreviousRight);
            rc.right = k + 1 < items.size() ? items[k + 1].rcBar.left : nLength;
            dwMode |= CKLVControls::modeStretch;
        }
        nPreviousRight = items[k].rcBar.right;
        const CSize sz = pBar->CalcDockingLayout(rc.Width(), dwMode, nThickness);
        CRect rcWindow(rc.TopLeft(), bHorz ? sz : CSize(sz.cy, sz.cx));
        if (!bHorz) rcWindow = Swapped(rcWindow);
        if (CKLVToolBarTracker* pTracker = pBar->GetTracker()) pTracker->m_nLastDockPosition = GetPosition();
        CRect rcCurrent;
        pBar->GetWindowRect(&rcCurrent);
        ScreenToClient(&rcCurrent);
        if (rcWindow == rcCurrent) continue;
        AfxRepositionWindow(lpLayout, pBar->GetSafeHwnd(), &rcWindow);
        pBar->Redraw(nullptr, TRUE);
    }
}

LRESULT CKLVDockBar::OnSizeParent(WPARAM, LPARAM lParam) {
    if (!(GetStyle() & WS_VISIBLE)) return 0;
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    const CSize szAvailable(pLayout->rect.right - pLayout->rect.left, pLayout->rect.bottom - pLayout->rect.top);
    DWORD dwMode = pLayout->bStretch ? CKLVControls::modeStretch : 0;
    if ((m_dwStyle & 0x04) && (m_dwStyle & 0x01))
        dwMode |= CKLVControls::modeMRULength | CKLVControls::modeHorz;
    else if (m_dwStyle & styleHorizontal)
        dwMode |= CKLVControls::modeHorzDock | CKLVControls::modeHorz;
    else
        dwMode |= CKLVControls::modeVertDock;
    CSize size = CalcFixedLayout((dwMode & CKLVControls::modeHorz) ? szAvailable.cx : szAvailable.cy, dwMode, pLayout);
    size.cx = std::min<int>(size.cx, szAvailable.cx);
    size.cy = std::min<int>(size.cy, szAvailable.cy);
    CPoint ptOrigin(pLayout->rect.left, pLayout->rect.top);
    if (IsHorizontal()) {
        pLayout->sizeTotal.cy += size.cy;
        pLayout->sizeTotal.cx = std::max<int>(pLayout->sizeTotal.cx, size.cx);
        if (m_dwStyle & alignTop) {
            pLayout->rect.top += size.cy;
        } else {
            ptOrigin.y = pLayout->rect.bottom - size.cy;
            pLayout->rect.bottom -= size.cy;
        }
    } else {
        pLayout->sizeTotal.cx += size.cx;
        pLayout->sizeTotal.cy = std::max<int>(pLayout->sizeTotal.cy, size.cy);
        if (m_dwStyle & alignLeft) {
            pLayout->rect.left += size.cx;
        } else {
            ptOrigin.x = pLayout->rect.right - size.cx;
            pLayout->rect.right -= size.cx;
        }
    }
    const CRect rc(ptOrigin, size);
    if (pLayout->hDWP) AfxRepositionWindow(pLayout, m_hWnd, &rc);
    Invalidate(FALSE);
    return 0;
}

void CKLVDockBar::OnRButtonDown(UINT, CPoint point) {
    ClientToScreen(&point);
    if (m_pCommandBars) m_pCommandBars->ContextMenu(nullptr, point);
}

LRESULT CKLVDockBar::OnNcHitTest(CPoint point) {
    // Over a ribbon in the top dock bar the frame's caption beneath reacts.
    if ((m_dwStyle & styleTop) == styleTop && IsRibbonHere()) return HTTRANSPARENT;
    return CWnd::OnNcHitTest(point);
}
