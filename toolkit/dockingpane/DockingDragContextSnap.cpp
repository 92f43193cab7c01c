// Snapping of floating frames: a moving frame to the work area's edges, the site and the other
// frames; a sized frame's edge to the site and the other frames.
#include "toolkit/dockingpane/DockingDragContext.h"

#include "toolkit/common/MultiMonitor.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"

#include <cstdlib>

namespace {

// Moves the rectangle by the distance between its edge and the partner's when it is below d.
void AlignEdge(CRect& rc, LONG nEdge, LONG nPartner, BOOL bHorizontal, int d) {
    if (std::abs(nEdge - nPartner) >= d) return;
    if (bHorizontal) rc.OffsetRect(nPartner - nEdge, 0);
    else rc.OffsetRect(0, nPartner - nEdge);
}

// Sets a sized edge to the partner's edge when they are less than d apart; TRUE when it did.
BOOL SnapEdge(LONG& nEdge, LONG nPartner, int d) {
    if (std::abs(nEdge - nPartner) >= d) return FALSE;
    nEdge = nPartner;
    return TRUE;
}

}  // namespace

std::vector<CWnd*> CKLVDockingDragContext::GetSnapPartners(const CWnd* pExcept) const {
    std::vector<CWnd*> partners;
    CWnd* pSite = m_pManager->GetSite();
    if (AfxGetSafeHwnd(pSite) && !pSite->IsIconic() && !pSite->IsZoomed()) partners.push_back(pSite);
    CKLVDockingNodeList* pNodes = m_pManager->GetNodeList();
    if (!pNodes) return partners;
    for (POSITION pos = pNodes->GetHeadPosition(); pos;) {
        CKLVDockingNode* pNode = pNodes->GetNext(pos);
        if (pNode->GetType() != CKLVDockingNode::typeMiniWnd) continue;
        auto* pFrame = static_cast<CKLVDockingPaneMiniWnd*>(pNode);
        if (pFrame != pExcept && pFrame->m_hWnd && pFrame->IsWindowVisible()) partners.push_back(pFrame);
    }
    return partners;
}

void CKLVDockingDragContext::SnapToFrames(CRect& rc) {
    const int d = m_pManager->m_nSnapDistance;
    const CRect rcWork = KLVMultiMonitor()->GetWorkRect(&rc);
    AlignEdge(rc, rc.top, rcWork.top, FALSE, d);
    AlignEdge(rc, rc.bottom, rcWork.bottom, FALSE, d);
    AlignEdge(rc, rc.right, rcWork.right, TRUE, d);
    AlignEdge(rc, rc.left, rcWork.left, TRUE, d);
    for (CWnd* pWnd : GetSnapPartners(GetDraggedFrame())) SnapToWindow(rc, pWnd);
}

void CKLVDockingDragContext::SnapToWindow(CRect& rc, CWnd* pWnd) const {
    const int d = m_pManager->m_nSnapDistance;
    CRect rcWnd;
    pWnd->GetWindowRect(&rcWnd);
    CRect rcReach = rcWnd;
    rcReach.InflateRect(d, d);
    CRect rcMeet;
    if (!rcMeet.IntersectRect(&rc, &rcReach)) return;
    // Outside edges first (the frame beside the window), then the edges lined up.
    AlignEdge(rc, rc.top, rcWnd.bottom, FALSE, d);
    AlignEdge(rc, rc.bottom, rcWnd.top, FALSE, d);
    AlignEdge(rc, rc.right, rcWnd.left, TRUE, d);
    AlignEdge(rc, rc.left, rcWnd.right, TRUE, d);
    AlignEdge(rc, rc.left, rcWnd.left, TRUE, d);
    AlignEdge(rc, rc.right, rcWnd.right, TRUE, d);
    AlignEdge(rc, rc.bottom, rcWnd.bottom, FALSE, d);
    AlignEdge(rc, rc.top, rcWnd.top, FALSE, d);
}

void CKLVDockingDragContext::OnSizing(CWnd* pFrame, UINT nEdge, LPRECT lpRect) {
    if (!m_pManager->m_bSnapFloatingFrames || !lpRect) return;
    CRect rc(lpRect);
    for (CWnd* pWnd : GetSnapPartners(pFrame)) SnapSizingToWindow(nEdge, rc, pWnd);
    *lpRect = rc;
}

void CKLVDockingDragContext::SnapSizingToWindow(UINT nEdge, CRect& rc, CWnd* pWnd) const {
    const int d = m_pManager->m_nSnapDistance;
    CRect rcWnd;
    pWnd->GetWindowRect(&rcWnd);
    if (nEdge == WMSZ_TOP || nEdge == WMSZ_TOPLEFT || nEdge == WMSZ_TOPRIGHT) SnapEdge(rc.top, rcWnd.bottom, d);
    if (nEdge == WMSZ_BOTTOM || nEdge == WMSZ_BOTTOMLEFT || nEdge == WMSZ_BOTTOMRIGHT) SnapEdge(rc.bottom, rcWnd.top, d);
    if (nEdge == WMSZ_LEFT || nEdge == WMSZ_TOPLEFT || nEdge == WMSZ_BOTTOMLEFT)
        SnapEdge(rc.left, rcWnd.left, d) || SnapEdge(rc.left, rcWnd.right, d);
    if (nEdge == WMSZ_RIGHT || nEdge == WMSZ_TOPRIGHT || nEdge == WMSZ_BOTTOMRIGHT)
        SnapEdge(rc.right, rcWnd.left, d) || SnapEdge(rc.right, rcWnd.right, d);
}
