#include "toolkit/commandbars/dockbars/DockBar.h"

#include "classlib/Dc.h"
#include "classlib/WinApp.h"
#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/ToolBarTracker.h"
#include "toolkit/common/DrawHelpers.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CKLVDockBar, CWnd)

BEGIN_MESSAGE_MAP(CKLVDockBar, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINT, OnPrint)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_WM_RBUTTONDOWN()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

namespace {

const char kDockBarClass[] = "KLVDockBar";
// The entry that ends a row.
void* const kRowEnd = nullptr;

// Where a docked tool bar remembers its place; other bars remember none.
CKLVToolBarTracker* TrackerOf(CKLVCommandBar* pBar) {
    auto* pToolBar = DYNAMIC_DOWNCAST(CKLVToolBar, pBar);
    return pToolBar ? pToolBar->GetTracker() : nullptr;
}

}  // namespace

CKLVDockBar::CKLVDockBar() {
    m_arrBars.Add(kRowEnd);
    CKLVDrawHelpers::RegisterWndClass(AfxGetInstanceHandle(), kDockBarClass, 0);
}

BOOL CKLVDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwStyle = dwStyle & styleMask;
    static const char* const names[] = {"klvBarTop", "klvBarBottom", "klvBarLeft", "klvBarRight"};
    return CWnd::Create(kDockBarClass, names[GetPosition()], dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CKLVDockBar::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CWnd::PreCreateWindow(cs)) return FALSE;
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

int CKLVDockBar::GetPosition() const {
    if (m_dwStyle & styleTop) return CKLVCommandBar::barTop;
    if (m_dwStyle & styleBottom) return CKLVCommandBar::barBottom;
    if (m_dwStyle & styleLeft) return CKLVCommandBar::barLeft;
    return CKLVCommandBar::barRight;
}

int CKLVDockBar::FindBar(const CKLVCommandBar* pBar, int nExclude) const {
    for (int i = 0; i < GetEntryCount(); ++i)
        if (i != nExclude && GetEntry(i) == pBar) return i;
    return -1;
}

int CKLVDockBar::Insert(CKLVCommandBar* pBar, CRect, CPoint ptMid) {
    const BOOL bHorizontal = IsHorizontal();
    const int c = bHorizontal ? ptMid.y : ptMid.x;
    const BOOL bRibbonHere = IsRibbonHere();
    int nRowEnd = 0, nPreviousRowEnd = 0, nLastSeparator = 0;
    for (int i = 0; i < GetEntryCount(); ++i) {
        CKLVCommandBar* pEntry = GetEntry(i);
        if (pEntry) {
            if (pEntry->IsVisible() && pEntry->GetSafeHwnd()) {
                CRect rc;
                pEntry->GetWindowRect(&rc);
                ScreenToClient(&rc);
                nRowEnd = std::max<int>(nRowEnd, bHorizontal ? rc.bottom : rc.right);
            }
            continue;
        }
        if (c < nRowEnd && (!bRibbonHere || nLastSeparator > 1)) {
            // Before this row: a new row when the point lies above it or on its upper edge.
            if (i == 0 || c == nPreviousRowEnd) m_arrBars.InsertAt(nLastSeparator + 1, kRowEnd);
            m_arrBars.InsertAt(nLastSeparator + 1, pBar);
            return nLastSeparator + 1;
        }
        nPreviousRowEnd = nRowEnd;
        nRowEnd = 0;
        nLastSeparator = i;
    }
    m_arrBars.InsertAt(nLastSeparator + 1, kRowEnd);
    m_arrBars.InsertAt(nLastSeparator + 1, pBar);
    return nLastSeparator + 1;
}

BOOL CKLVDockBar::IsRibbonHere() const {
    CKLVCommandBar* pMenuBar = m_pCommandBars ? m_pCommandBars->GetMenuBar() : nullptr;
    return pMenuBar && pMenuBar->IsRibbonBar() && FindBar(pMenuBar) != -1;
}

void CKLVDockBar::DockCommandBar(CKLVCommandBar* pBar, LPCRECT lpRect) {
    if (pBar->m_pDockBar == this && (!lpRect || (pBar->GetSafeHwnd() && [&] {
                                         CRect rcWindow;
                                         pBar->GetWindowRect(&rcWindow);
                                         return rcWindow == *lpRect;
                                     }())))
        return;
    int nPosition = -1;
    CKLVToolBarTracker* pTracker = TrackerOf(pBar);
    if (lpRect) {
        CRect rc(lpRect);
        ScreenToClient(&rc);
        nPosition = Insert(pBar, rc, CPoint(rc.left + (rc.right - rc.left) / 2, rc.top + (rc.bottom - rc.top) / 2));
        if (pTracker) pTracker->m_rcLastDocked = rc;
    } else {
        m_arrBars.Add(pBar);
        m_arrBars.Add(kRowEnd);
        if (pTracker) pTracker->m_rcLastDocked.SetRectEmpty();
    }
    if (pBar->GetSafeHwnd() && ::GetParent(pBar->GetSafeHwnd()) != GetSafeHwnd()) pBar->SetParent(this);
    if (pBar->m_pDockBar && pBar->m_pDockBar != this) pBar->m_pDockBar->RemoveCommandBar(pBar, -1);
    else if (pBar->m_pDockBar == this) RemoveCommandBar(pBar, nPosition);
    pBar->m_pDockBar = this;
    SeparateStretchedBars();
    RecalcFrameLayout();
}

int CKLVDockBar::RemoveCommandBar(CKLVCommandBar* pBar, int nExclude) {
    const int nPosition = FindBar(pBar, nExclude);
    // A bar that is not here changes nothing (there is no entry to take out).
    if (nPosition < 1) return 0;
    m_arrBars.RemoveAt(nPosition);
    if (nPosition < GetEntryCount() && !GetEntry(nPosition - 1) && !GetEntry(nPosition)) m_arrBars.RemoveAt(nPosition);
    if (pBar->m_pDockBar == this) pBar->m_pDockBar = nullptr;
    RecalcFrameLayout();
    return 0;
}

void CKLVDockBar::SeparateStretchedBars() {
    for (int i = 1; i < GetEntryCount(); ++i) {
        CKLVCommandBar* pBar = GetEntry(i);
        if (!pBar || !(pBar->m_nFlags & flagStretched)) continue;
        if (GetEntry(i - 1)) m_arrBars.InsertAt(i++, kRowEnd);
        if (i + 1 < GetEntryCount() && GetEntry(i + 1)) m_arrBars.InsertAt(i + 1, kRowEnd);
    }
}

void CKLVDockBar::RecalcFrameLayout() {
    if (m_pCommandBars) m_pCommandBars->RecalcFrameLayout(TRUE);
}

CKLVPaintManager* CKLVDockBar::GetPaintManager() const {
    if (m_pCommandBars) return m_pCommandBars->GetPaintManager();
    if (!CKLVPaintManager::GetGlobalPaintManager()) CKLVPaintManager::SetTheme(0);
    return CKLVPaintManager::GetGlobalPaintManager();
}

void CKLVDockBar::OnPaint() {
    CPaintDC dc(this);
    GetPaintManager()->FillDockBar(&dc, this, GetPosition());
}

BOOL CKLVDockBar::OnEraseBkgnd(CDC*) { return TRUE; }

LRESULT CKLVDockBar::OnPrint(WPARAM wParam, LPARAM lParam) {
    const HDC hDC = reinterpret_cast<HDC>(wParam);
    GetPaintManager()->FillDockBar(CDC::FromHandle(hDC), this, GetPosition());
    if (!(lParam & PRF_CHILDREN)) return TRUE;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        // Visible by its own style: the bar may be printed while its frame is hidden.
        if (!(::GetWindowLongPtrA(hChild, GWL_STYLE) & WS_VISIBLE)) continue;
        // The child draws at its own origin: move the DC's origin to where it lies in this bar.
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        ::ScreenToClient(hChild, reinterpret_cast<POINT*>(&rcWindow));
        POINT ptOld;
        ::SetViewportOrgEx(hDC, -rcWindow.left, -rcWindow.top, &ptOld);
        ::SendMessageA(hChild, WM_PRINT, wParam, lParam);
        ::SetViewportOrgEx(hDC, ptOld.x, ptOld.y, nullptr);
    }
    return TRUE;
}
