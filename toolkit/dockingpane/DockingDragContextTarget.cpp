// One step of a drag: where the content would float, which container or side it would dock at,
// and the docking stickers that offer the sides.
#include "toolkit/dockingpane/DockingDragContext.h"

#include "toolkit/common/MultiMonitor.h"
#include "toolkit/dockingpane/DockingClientNode.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneSticker.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include <cstdlib>

namespace {

const double kDockThreshold = 20.0;
const double kAnywhere = 32000.0;

// Sticker parts 1, 2, 4, 8 stand for sides 0, 1, 2, 3.
int SideOfPart(int nPart) {
    switch (nPart) {
    case klvStickerLeft: return klvDockLeft;
    case klvStickerRight: return klvDockRight;
    case klvStickerTop: return klvDockTop;
    case klvStickerBottom: return klvDockBottom;
    default: return -1;
    }
}

}  // namespace

void CKLVDockingDragContext::Move(int x, int y) {
    const CPoint pt(x, y);
    CRect rc = m_rcMoving;
    rc.OffsetRect(pt - m_ptLast);
    m_rcMoving = rc;
    CKLVMultiMonitor* pMonitors = KLVMultiMonitor();
    const CRect rcWork = pMonitors->GetWorkRect(&m_rcFloat);
    CRect rcMeet;
    // The floating rectangle never leaves the monitors.
    if (rcMeet.IntersectRect(&rc, &rcWork)) m_rcFloat = rc;
    m_rcFloat = pMonitors->KeepInWorkArea(m_rcFloat, nMinVisible);
    if (m_pManager->m_bSnapFloatingFrames && !m_rcFloat.IsRectEmpty()) SnapToFrames(m_rcFloat);

    m_pTarget = nullptr;
    m_nSide = -1;
    m_bDockAsTab = FALSE;
    m_rcStickerTarget.SetRectEmpty();
    m_pStickerTarget = nullptr;
    if (!(::GetKeyState(VK_CONTROL) & 0x8000) && m_bMayDock) FindDockTarget(x, y);
    m_ptLast = pt;
    if (m_bStickers) {
        UpdateStickers();
        HitTestStickers(pt);
    }
    Draw(FALSE);
}

BOOL CKLVDockingDragContext::IsInDraggedNode(const CKLVDockingNode* pNode) const {
    return m_pNode && m_pNode->ContainsPane(pNode);
}

BOOL CKLVDockingDragContext::IsAbove(const CKLVDockingNode* a, const CKLVDockingNode* b) {
    const HWND hA = a ? AfxGetSafeHwnd(a->GetDockingSite()) : nullptr;
    const HWND hB = b ? AfxGetSafeHwnd(b->GetDockingSite()) : nullptr;
    if (!hA || !hB || hA == hB) return FALSE;
    for (HWND hWnd = ::GetWindow(hA, GW_HWNDNEXT); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        if (hWnd == hB) return TRUE;
    return FALSE;
}

CKLVDockingNode* CKLVDockingDragContext::GetDockableContainer(CKLVDockingPane* pPane) const {
    CKLVDockingNode* pContainer = pPane->GetContainer();
    if (!pContainer || pContainer->GetType() != CKLVDockingNode::typeTabbedContainer) return nullptr;
    CKLVDockingNode* pParent = pContainer->GetContainer();
    if (!pParent || pParent->GetType() != CKLVDockingNode::typeSplitterContainer) return nullptr;
    const HWND hWnd = pContainer->GetPaneHwnd();
    if (!hWnd || !::IsWindowVisible(hWnd) || IsInDraggedNode(pContainer)) return nullptr;
    return pContainer;
}

CKLVDockingNode* CKLVDockingDragContext::FindFloatingCandidate(CPoint pt) const {
    CKLVDockingNode* pBest = nullptr;
    CKLVDockingPaneInfoList& lstPanes = m_pManager->GetLayout()->GetPaneList();
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
        CKLVDockingPane* pPane = lstPanes.GetNext(pos).pPane;
        if (pPane->IsHidden()) continue;
        CKLVDockingNode* pContainer = GetDockableContainer(pPane);
        if (!pContainer || !m_pManager->IsFloatingSite(pContainer->GetDockingSite())) continue;
        if (!pContainer->GetScreenRect().PtInRect(pt)) continue;
        if (!pBest || IsAbove(pContainer, pBest)) pBest = pContainer;
    }
    return pBest;
}

void CKLVDockingDragContext::FindDockTarget(int x, int y) {
    CKLVDockingLayout* pLayout = m_pManager->GetLayout();
    if (!pLayout) return;
    const CPoint pt(x, y);
    CKLVDockingNode* pCandidate = FindFloatingCandidate(pt);
    CKLVDockingPaneInfoList& lstPanes = pLayout->GetPaneList();
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
        CKLVDockingPane* pPane = lstPanes.GetNext(pos).pPane;
        if (pPane->GetOptions() & CKLVDockingPane::optionNoDock) continue;
        CKLVDockingNode* pContainer = GetDockableContainer(pPane);
        if (!pContainer || (pCandidate && pContainer != pCandidate)) continue;
        const CRect rcContainer = pContainer->GetScreenRect();
        CRect rc = rcContainer;
        if (static_cast<CKLVDockingPaneTabbedContainer*>(pContainer)->PtInCaptionOrTabs(rc, x, y) &&
            CanDockTab(pContainer)) {
            m_rcDock = rcContainer;
            m_pTarget = pContainer;
            m_bDockAsTab = TRUE;
            return;
        }
        if (m_bStickers) {
            // The cross goes over the topmost container under the point.
            if (rcContainer.PtInRect(pt) && !(m_pStickerTarget && IsAbove(m_pStickerTarget, pContainer))) {
                m_rcStickerTarget = rcContainer;
                m_pStickerTarget = pContainer;
            }
        } else if (CanDockAt(rc, pt, pContainer, TRUE)) {
            return;
        }
    }
    if (pCandidate) return;   // over a floating frame the content floats
    CKLVDockingClientNode* pClient = pLayout->GetClientNode();
    const CRect rcClient = pClient ? pClient->GetScreenRect() : CRect();
    const CRect rcRoot = GetRootRect();
    if (m_bStickers) {
        if (m_pStickerTarget) return;
        if (pClient && rcClient.PtInRect(pt)) {
            m_rcStickerTarget = rcClient;
            m_pStickerTarget = pClient;
        } else if (rcRoot.PtInRect(pt)) {
            m_rcStickerTarget = rcRoot;
        }
        return;
    }
    if (pClient && CanDockAt(rcClient, pt, pClient, TRUE)) return;
    CanDockAt(rcRoot, pt, pLayout->GetTopContainer(), FALSE);
}

CRect CKLVDockingDragContext::GetRootRect() const {
    CKLVDockingLayout* pLayout = m_pManager->GetLayout();
    CRect rc = pLayout ? pLayout->GetRootArea() : CRect();
    if (CWnd* pSite = m_pManager->GetSite(); AfxGetSafeHwnd(pSite)) pSite->ClientToScreen(&rc);
    return rc;
}

BOOL CKLVDockingDragContext::CanDockAt(CRect rc, CPoint pt, CKLVDockingNode* pNode, BOOL bInside) {
    if (!pNode) return FALSE;
    double dThreshold = kDockThreshold;
    double dRatio = 1.0;
    if (bInside && !m_bMayFloat) {
        // Content that may not float docks at the nearest edge anywhere inside.
        dThreshold = kAnywhere;
        if (rc.Width() > 1 && rc.Height() > 1) dRatio = static_cast<double>(rc.Height()) / rc.Width();
    }
    if (rc.Width() <= 0 || rc.Height() <= 0) return FALSE;
    CRect rcReach = rc;
    if (!bInside) rcReach.InflateRect(static_cast<int>(kDockThreshold), static_cast<int>(kDockThreshold));
    if (!rcReach.PtInRect(pt)) return FALSE;

    double dBest = dThreshold;
    int nSide = -1;
    auto consider = [&](double dDistance, BOOL bOnItsSide, int nEdgeSide) {
        if (bOnItsSide && dDistance < dBest) {
            dBest = dDistance;
            nSide = nEdgeSide;
        }
    };
    consider(std::abs(pt.y - rc.top), bInside || pt.y < rc.top, klvDockTop);
    consider(std::abs(rc.bottom - pt.y), bInside || pt.y >= rc.bottom, klvDockBottom);
    consider(std::abs(pt.x - rc.left) * dRatio, bInside || pt.x < rc.left, klvDockLeft);
    consider(std::abs(rc.right - pt.x) * dRatio, bInside || pt.x >= rc.right, klvDockRight);
    if (nSide < 0 || !CanDockSide(pNode, nSide)) return FALSE;
    m_pManager->CalcDockingRect(m_rcDock, m_pNode, nSide, pNode);
    m_pTarget = pNode;
    m_nSide = nSide;
    return TRUE;
}

BOOL CKLVDockingDragContext::CanDockSide(CKLVDockingNode* pTarget, int nSide) {
    return !NotifyPanes(klvActionDocking, reinterpret_cast<LPARAM>(pTarget), nSide, TRUE);
}

BOOL CKLVDockingDragContext::CanDockTab(CKLVDockingNode* pTarget) {
    return !NotifyPanes(klvActionAttaching, reinterpret_cast<LPARAM>(pTarget), 0, TRUE);
}

// ---------------------------------------------------------------------------------------------

void CKLVDockingDragContext::UpdateStickers() {
    if (m_rcStickerTarget.IsRectEmpty()) {
        RemoveStickers();
        return;
    }
    if (m_pStickerTarget == m_pStickerNodeShown && !m_arrStickers.empty()) return;
    RemoveStickers();
    const int nStyle = GetStickerStyle();
    if (m_pStickerTarget) {
        const CSize szCross = CKLVDockingStickerImages::GetStickerSize(nStyle, klvStickerBackdrop);
        const CPoint ptCentre = m_rcStickerTarget.CenterPoint();
        const CRect rcCross(CPoint(ptCentre.x - szCross.cx / 2, ptCentre.y - szCross.cy / 2), szCross);
        int nMask = klvStickerBackdrop;
        const struct { int nSide; int nPart; } sides[] = {{klvDockLeft, klvStickerLeft}, {klvDockRight, klvStickerRight},
                                                         {klvDockBottom, klvStickerBottom}, {klvDockTop, klvStickerTop}};
        for (const auto& side : sides)
            if (CanDockSide(m_pStickerTarget, side.nSide)) nMask |= side.nPart;
        // The client area takes no tabs.
        if (m_pStickerTarget != m_pManager->GetClientNode() && CanDockTab(m_pStickerTarget)) nMask |= klvStickerCentre;
        AddSticker(rcCross, nMask);
    }
    CKLVDockingNode* pRoot = m_pManager->GetTopContainer();
    const CRect rcRoot = GetRootRect();
    const CSize szTop = CKLVDockingStickerImages::GetStickerSize(nStyle, klvStickerTop);
    const CSize szLeft = CKLVDockingStickerImages::GetStickerSize(nStyle, klvStickerLeft);
    const CPoint ptCentre = rcRoot.CenterPoint();
    const int xMiddle = ptCentre.x - szTop.cx / 2, yMiddle = ptCentre.y - szLeft.cy / 2;
    const struct { int nSide; int nPart; CPoint pt; CSize sz; } edges[] = {
        {klvDockTop, klvStickerTop, CPoint(xMiddle, rcRoot.top + nStickerInset), szTop},
        {klvDockLeft, klvStickerLeft, CPoint(rcRoot.left + nStickerInset, yMiddle), szLeft},
        {klvDockBottom, klvStickerBottom, CPoint(xMiddle, rcRoot.bottom - nStickerInset - szTop.cy), szTop},
        {klvDockRight, klvStickerRight, CPoint(rcRoot.right - nStickerInset - szLeft.cx, yMiddle), szLeft},
    };
    for (const auto& edge : edges)
        if (pRoot && CanDockSide(pRoot, edge.nSide)) AddSticker(CRect(edge.pt, edge.sz), edge.nPart);
    m_pStickerNodeShown = m_pStickerTarget;
}

CKLVDockingPaneSticker* CKLVDockingDragContext::AddSticker(CRect rc, int nMask) {
    if (nMask == 0 || nMask == klvStickerBackdrop) return nullptr;
    auto pSticker = std::make_unique<CKLVDockingPaneSticker>(this, nMask);
    if (!pSticker->Create(m_pManager->GetSite(), rc, GetStickerRegion(nMask))) return nullptr;
    m_arrStickers.push_back(std::move(pSticker));
    return m_arrStickers.back().get();
}

void CKLVDockingDragContext::RemoveStickers() {
    m_arrStickers.clear();
    m_pStickerNodeShown = nullptr;
}

HRGN CKLVDockingDragContext::GetStickerRegion(int nMask) {
    auto it = m_mapRegions.find(nMask);
    if (it == m_mapRegions.end()) {
        HRGN hRgn = CKLVDockingStickerImages(GetStickerStyle(), FALSE).CreateRegion(nMask);
        it = m_mapRegions.emplace(nMask, CKLVGdiObjectOwner(hRgn)).first;
    }
    return static_cast<HRGN>(it->second.get());
}

void CKLVDockingDragContext::ClearRegionCache() { m_mapRegions.clear(); }

void CKLVDockingDragContext::HitTestStickers(CPoint pt) {
    CKLVDockingPaneSticker* pHit = nullptr;
    int nHit = 0;
    for (const auto& pSticker : m_arrStickers) {
        nHit = pSticker->HitTest(pt);
        if (!nHit) continue;
        pHit = pSticker.get();
        const BOOL bCross = (pSticker->GetMask() & klvStickerBackdrop) != 0;
        CKLVDockingNode* pTarget = bCross ? m_pStickerTarget : m_pManager->GetTopContainer();
        if (const int nSide = SideOfPart(nHit); nSide >= 0) {
            m_pTarget = nullptr;
            if (pTarget && CanDockSide(pTarget, nSide)) {
                m_pManager->CalcDockingRect(m_rcDock, m_pNode, nSide, pTarget);
                m_pTarget = pTarget;
                m_nSide = nSide;
            } else {
                nHit = 0;
            }
        } else if (nHit == klvStickerCentre) {
            m_bDockAsTab = pTarget && CanDockTab(pTarget);
            m_pTarget = m_bDockAsTab ? pTarget : nullptr;
            if (m_bDockAsTab) m_rcDock = m_rcStickerTarget;
            else nHit = 0;
        }
        break;
    }
    for (const auto& pSticker : m_arrStickers) pSticker->SetHighlighted(pSticker.get() == pHit ? nHit : 0);
}
