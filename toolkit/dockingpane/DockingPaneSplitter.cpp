#include "toolkit/dockingpane/DockingPaneSplitter.h"

#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/SplitterTracker.h"
#include "toolkit/common/res/KLVToolkitRes.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CKLVDockingPaneSplitter, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

CRect NormalizedScreenRect(const CKLVDockingNode* pNode) {
    CRect rc = pNode->GetScreenRect();
    rc.NormalizeRect();
    return rc;
}

}  // namespace

CKLVDockingPaneSplitter::~CKLVDockingPaneSplitter() {
    if (m_hWnd) DestroyWindow();
}

BOOL CKLVDockingPaneSplitter::CreateBar(CWnd* pParent) {
    if (!AfxGetSafeHwnd(pParent)) return FALSE;
    return CreateEx(0, "KLVDockingPaneSplitter", "Splitter", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                    CRect(0, 0, 0, 0), pParent, 0);
}

BOOL CKLVDockingPaneSplitter::Create(CKLVDockingSplitterContainer* pContainer, CKLVDockingNode* pBefore,
                                     CKLVDockingNode* pAfter) {
    m_pContainer = pContainer;
    m_pBefore = pBefore;
    m_pAfter = pAfter;
    m_pManager = pContainer->GetManager();
    m_bHorizontal = !pContainer->IsHorizontal();
    m_hCursor = KLVResourceManager()->LoadCursor(pContainer->IsHorizontal() ? KLV_IDC_HSPLITBAR : KLV_IDC_VSPLITBAR);
    return CreateBar(pContainer->GetDockingSite());
}

BOOL CKLVDockingPaneSplitter::Create(CKLVDockingPaneManager* pManager, BOOL bHorizontal) {
    m_pManager = pManager;
    m_bHorizontal = bHorizontal;
    return CreateBar(pManager->GetSite());
}

int CKLVDockingPaneSplitter::GetThickness() const {
    const CKLVDockingPaneTheme* pTheme = m_pManager ? m_pManager->GetPaintManager() : nullptr;
    return pTheme ? pTheme->GetSplitterSize() : 0;
}

BOOL CKLVDockingPaneSplitter::GetTrackLimits(CRect& rcBounds, CRect& rcUnion) const {
    if (!m_pManager || !m_pBefore || !m_pAfter) return FALSE;
    rcUnion.UnionRect(NormalizedScreenRect(m_pBefore), NormalizedScreenRect(m_pAfter));
    rcBounds = rcUnion;
    MINMAXINFO mmiBefore, mmiAfter;
    m_pBefore->GetMinMaxInfo(&mmiBefore);
    m_pAfter->GetMinMaxInfo(&mmiAfter);
    const int nThickness = GetThickness();
    const LONG nMinPane = m_pManager->m_nSplitterGap;
    // Along the container's axis: x for a horizontal container, y for a vertical one.
    const BOOL bAlongX = !m_bHorizontal;
    auto along = [bAlongX](const POINT& pt) { return bAlongX ? pt.x : pt.y; };
    const LONG nUnionStart = bAlongX ? rcUnion.left : rcUnion.top;
    const LONG nUnionEnd = bAlongX ? rcUnion.right : rcUnion.bottom;
    const LONG nExtent = nUnionEnd - nUnionStart;
    LONG& nLow = bAlongX ? rcBounds.left : rcBounds.top;
    LONG& nHigh = bAlongX ? rcBounds.right : rcBounds.bottom;
    nLow = nUnionStart + std::max(along(mmiBefore.ptMinTrackSize), nMinPane);
    nHigh = nUnionEnd - std::max(along(mmiAfter.ptMinTrackSize) + nThickness, nMinPane);
    if (nExtent > along(mmiBefore.ptMaxTrackSize)) nHigh = std::min(nHigh, nUnionStart + along(mmiBefore.ptMaxTrackSize));
    if (nExtent > along(mmiAfter.ptMaxTrackSize))
        nLow = std::max(nLow, nUnionEnd - along(mmiAfter.ptMaxTrackSize) - nThickness);
    return nLow < nHigh;
}

void CKLVDockingPaneSplitter::ApplyTrackRect(const CRect& rcBar, const CRect& rcUnion) {
    if (!m_pBefore || !m_pAfter) return;
    const int nThickness = GetThickness();
    const BOOL bAlongX = !m_bHorizontal;
    const LONG nExtent = bAlongX ? rcUnion.Width() : rcUnion.Height();
    // A union without extent gives no ratio; the sizes stay.
    if (nExtent == 0) return;
    LONG& nBefore = bAlongX ? m_pBefore->m_szDocking.cx : m_pBefore->m_szDocking.cy;
    LONG& nAfter = bAlongX ? m_pAfter->m_szDocking.cx : m_pAfter->m_szDocking.cy;
    const double dTotal = static_cast<double>(nBefore) + nAfter + nThickness;
    const double dRatio = static_cast<double>(bAlongX ? rcBar.left - rcUnion.left : rcBar.top - rcUnion.top) / nExtent;
    const LONG nShare = static_cast<LONG>(dRatio * dTotal);
    const LONG nTotal = static_cast<LONG>(dTotal);
    // In a right-to-left site the first child stands at the right: its share is measured from there.
    nBefore = bAlongX && m_hWnd && (GetExStyle() & WS_EX_LAYOUTRTL) ? nTotal - nShare - nThickness : nShare;
    nAfter = nTotal - nBefore - nThickness;
}

BOOL CKLVDockingPaneSplitter::CanDrag() const {
    return m_pContainer && m_pManager && !m_pManager->m_bLockSplitters;
}

void CKLVDockingPaneSplitter::OnPaint() {
    CPaintDC dc(this);
    if (CKLVDockingPaneTheme* pTheme = m_pManager ? m_pManager->GetPaintManager() : nullptr) pTheme->DrawSplitter(&dc, this);
}

BOOL CKLVDockingPaneSplitter::OnEraseBkgnd(CDC*) { return TRUE; }

BOOL CKLVDockingPaneSplitter::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    CRect rcBounds, rcUnion;
    if (CanDrag() && GetTrackLimits(rcBounds, rcUnion)) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CKLVDockingPaneSplitter::OnLButtonDown(UINT, CPoint point) {
    CRect rcBounds, rcUnion;
    if (!CanDrag() || !GetTrackLimits(rcBounds, rcUnion)) return;
    CRect rcBar;
    GetWindowRect(&rcBar);
    m_pContainer->StoreChildSizes();
    ClientToScreen(&point);
    if (m_pManager->m_bSplitterTracker) TrackOutline(rcBounds, rcUnion, rcBar, point);
    else TrackLive(rcBounds, rcUnion, rcBar, point);
}

void CKLVDockingPaneSplitter::TrackOutline(const CRect& rcBounds, const CRect& rcUnion, CRect rcBar, CPoint ptScreen) {
    CKLVSplitterTracker tracker(0);
    if (!tracker.Track(this, rcBounds.left, rcBounds.top, rcBounds.right, rcBounds.bottom, &rcBar, ptScreen,
                       !m_bHorizontal))
        return;
    ApplyTrackRect(rcBar, rcUnion);
    m_pManager->RecalcLayout(m_pContainer, TRUE);
}

void CKLVDockingPaneSplitter::TrackLive(const CRect& rcBounds, const CRect& rcUnion, CRect rcBar, CPoint ptScreen) {
    const BOOL bAlongX = !m_bHorizontal;
    const CSize szOffset = bAlongX ? CSize(rcBar.left - ptScreen.x, 0) : CSize(0, rcBar.top - ptScreen.y);
    HWND hWnd = m_hWnd;
    SetCapture();
    MSG msg;
    while (::GetCapture() == hWnd) {
        // A quit request is looked for first: taking the paint messages may drop it.
        if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
        const BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot <= 0) {
            // The thread's own loop must see the quit request as well.
            if (bGot == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            ::ClientToScreen(msg.hwnd, &pt);
            pt += szOffset;
            // The upper bound first, then the lower: the lower wins when they cross.
            pt.x = std::max(std::min(pt.x, rcBounds.right), rcBounds.left);
            pt.y = std::max(std::min(pt.y, rcBounds.bottom), rcBounds.top);
            const LONG nMove = bAlongX ? pt.x - rcBar.left : pt.y - rcBar.top;
            if (nMove == 0) continue;
            rcBar.OffsetRect(bAlongX ? nMove : 0, bAlongX ? 0 : nMove);
            ApplyTrackRect(rcBar, rcUnion);
            m_pManager->RecalcLayout(m_pContainer, FALSE);
        } else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_LBUTTONUP) {
            break;
        } else {
            ::DispatchMessageA(&msg);
            // A bar deleted by what the message did leaves the loop without touching itself.
            if (!::IsWindow(hWnd)) return;
        }
    }
    if (::GetCapture() == hWnd) ::ReleaseCapture();
}
