// The drag's preview: inverted frames on the locked desktop, translucent windows, or the
// content itself moving with the mouse.
#include "toolkit/dockingpane/DockingDragContext.h"

#include "toolkit/common/SplitterTracker.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneAlphaWnd.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneSticker.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"
#include "toolkit/common/HeldReference.h"

#include <algorithm>

namespace {

const int kTabIndent = 5;
const int kMaxTabWidth = 50;
const int kMaxTabHeight = 20;
const int kTabOverlap = 4;

// The tab a "dock as tab" preview shows under (or above) the container's outline.
CSize TabSize(const CRect& rc) {
    return CSize(std::min(kMaxTabWidth, rc.Width() - kTabIndent), std::min(rc.Height() / 2, kMaxTabHeight));
}

HRGN FrameRegion(const CRect& rc, int nWidth) {
    HRGN hRgn = ::CreateRectRgnIndirect(&rc);
    CRect rcInner = rc;
    rcInner.DeflateRect(nWidth, nWidth);
    if (!rcInner.IsRectEmpty()) {
        CKLVGdiObjectOwner inner(::CreateRectRgnIndirect(&rcInner));
        ::CombineRgn(hRgn, hRgn, static_cast<HRGN>(inner.get()), RGN_DIFF);
    }
    return hRgn;
}

// A frame of the rectangle, or for a tab the outline of a body with a tab below it that opens
// into the body.
HRGN PreviewRegion(const CRect& rc, BOOL bTab, int nWidth) {
    if (rc.IsRectEmpty()) return ::CreateRectRgn(0, 0, 0, 0);
    if (!bTab) return FrameRegion(rc, nWidth);
    const CSize szTab = TabSize(rc);
    CRect rcBody = rc;
    rcBody.bottom -= szTab.cy;
    const CRect rcTab(rc.left + kTabIndent, rcBody.bottom - kTabOverlap, rc.left + kTabIndent + szTab.cx, rc.bottom);
    HRGN hRgn = FrameRegion(rcBody, nWidth);
    CKLVGdiObjectOwner tab(FrameRegion(rcTab, nWidth));
    ::CombineRgn(hRgn, hRgn, static_cast<HRGN>(tab.get()), RGN_OR);
    CRect rcShared;
    if (rcShared.IntersectRect(&rcBody, &rcTab)) {
        rcShared.DeflateRect(nWidth, 0);
        if (!rcShared.IsRectEmpty()) {
            CKLVGdiObjectOwner shared(::CreateRectRgnIndirect(&rcShared));
            ::CombineRgn(hRgn, hRgn, static_cast<HRGN>(shared.get()), RGN_DIFF);
        }
    }
    return hRgn;
}

}  // namespace

CWnd* CKLVDockingDragContext::GetPreviewWindow() const { return m_pPreview.get(); }

CWnd* CKLVDockingDragContext::GetTabPreviewWindow() const { return m_pTabPreview.get(); }

void CKLVDockingDragContext::InitLoop() {
    m_rcStickerTarget.SetRectEmpty();
    m_pStickerTarget = nullptr;
    m_rcLastDrawn.SetRectEmpty();
    m_bLastTab = FALSE;
    if (m_bAlpha) return;
    DispatchPendingPaints();
    LockDesktop();
}

void CKLVDockingDragContext::CancelLoop() {
    CWnd* pSite = m_pManager->GetSite();
    if (AfxGetSafeHwnd(pSite) && ::GetCapture() == pSite->m_hWnd) ::ReleaseCapture();
    // Whatever the way out, nothing of the loop stays behind: no lock, no DC, no windows.
    if (m_hDesktopDC) Draw(TRUE);
    UnlockDesktop();
    m_bSuspended = FALSE;
    DestroyAlphaWindows();
    RemoveStickers();
    ClearRegionCache();
}

void CKLVDockingDragContext::LockDesktop() {
    if (m_hDesktopDC) return;
    const HWND hDesktop = ::GetDesktopWindow();
    m_bDesktopLocked = ::LockWindowUpdate(hDesktop);
    m_hDesktopDC = ::GetDCEx(hDesktop, nullptr,
                             DCX_WINDOW | DCX_CACHE | (m_bDesktopLocked ? DCX_LOCKWINDOWUPDATE : 0));
}

void CKLVDockingDragContext::UnlockDesktop() {
    if (m_hDesktopDC) ::ReleaseDC(::GetDesktopWindow(), m_hDesktopDC);
    m_hDesktopDC = nullptr;
    if (m_bDesktopLocked) ::LockWindowUpdate(nullptr);
    m_bDesktopLocked = FALSE;
}

std::unique_ptr<CKLVDockingPaneAlphaWnd> CKLVDockingDragContext::CreateAlphaWindow() {
    auto pWnd = std::make_unique<CKLVDockingPaneAlphaWnd>();
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    if (!pWnd->CreateEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, lpszClass, "", WS_POPUP, CRect(0, 0, 0, 0),
                        m_pManager->GetSite(), 0))
        return nullptr;
    if (auto pfnSetAlpha = m_pManager->GetLayeredWindowAttributes()) pfnSetAlpha(pWnd->m_hWnd, 0, 100, LWA_ALPHA);
    return pWnd;
}

void CKLVDockingDragContext::DestroyAlphaWindows() {
    m_pPreview.reset();
    m_pTabPreview.reset();
}

void CKLVDockingDragContext::Draw(BOOL bRemove) {
    if (!bRemove && m_pManager->m_bShowContentsWhileDragging && !m_pTarget && m_bMayFloat && !m_bDockAsTab &&
        !m_rcFloat.IsRectEmpty()) {
        MoveLive();
        return;
    }
    if (m_bSuspended && !m_bAlpha) LockDesktop();
    m_bSuspended = FALSE;
    CRect rc;
    if (!bRemove) rc = m_pTarget ? m_rcDock : m_bMayFloat ? m_rcFloat : CRect();
    if (m_bAlpha) DrawAlpha(rc, m_bDockAsTab);
    else DrawInverted(rc, m_bDockAsTab && !bRemove);
}

void CKLVDockingDragContext::DrawInverted(const CRect& rc, BOOL bTab) {
    if (m_hDesktopDC) {
        CKLVGdiObjectOwner rgnOld(PreviewRegion(m_rcLastDrawn, m_bLastTab, nFrameWidth));
        CKLVGdiObjectOwner rgnNew(PreviewRegion(rc, bTab, nFrameWidth));
        CKLVGdiObjectOwner rgnChange(::CreateRectRgn(0, 0, 0, 0));
        // The old outline is erased and the new one drawn in one pass.
        ::CombineRgn(static_cast<HRGN>(rgnChange.get()), static_cast<HRGN>(rgnOld.get()),
                     static_cast<HRGN>(rgnNew.get()), RGN_XOR);
        ::SelectClipRgn(m_hDesktopDC, static_cast<HRGN>(rgnChange.get()));
        CRect rcBox;
        ::GetClipBox(m_hDesktopDC, &rcBox);
        HGDIOBJ hOldBrush = ::SelectObject(m_hDesktopDC, KLVHalftoneBrush());
        ::PatBlt(m_hDesktopDC, rcBox.left, rcBox.top, rcBox.Width(), rcBox.Height(), PATINVERT);
        ::SelectObject(m_hDesktopDC, hOldBrush);
        ::SelectClipRgn(m_hDesktopDC, nullptr);
    }
    m_rcLastDrawn = rc;
    m_bLastTab = bTab;
}

void CKLVDockingDragContext::PlaceAlphaWindow(std::unique_ptr<CKLVDockingPaneAlphaWnd>& pWnd, const CRect& rc) {
    CRect rcOld;
    if (pWnd) pWnd->GetWindowRect(&rcOld);
    if (!pWnd || rcOld.Size() != rc.Size()) pWnd = CreateAlphaWindow();
    if (pWnd)
        pWnd->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CKLVDockingDragContext::DrawAlpha(const CRect& rc, BOOL bTab) {
    if (rc.IsRectEmpty()) {
        DestroyAlphaWindows();
        return;
    }
    if (!bTab) {
        m_pTabPreview.reset();
        PlaceAlphaWindow(m_pPreview, rc);
        return;
    }
    const CSize szTab = TabSize(rc);
    CRect rcMain = rc;
    CRect rcTab;
    CKLVDockingPaneTheme* pTheme = m_pManager->GetPaintManager();
    const BOOL bTabbedTarget = m_pTarget && m_pTarget->GetType() == CKLVDockingNode::typeTabbedContainer;
    if (bTabbedTarget && pTheme->GetPanelPaintManager()->GetPosition() == 0) {
        // The container's tabs run along its top, under its caption.
        auto* pTabbed = static_cast<CKLVDockingPaneTabbedContainer*>(m_pTarget);
        const int y = rc.top + (pTabbed->IsCaptionVisible() ? 3 + pTheme->GetCaptionHeight() : 0);
        rcTab = CRect(CPoint(rc.left + kTabIndent, y), szTab);
        rcMain.top = rcTab.bottom;
    } else {
        rcTab = CRect(CPoint(rc.left + kTabIndent, rc.bottom - szTab.cy), szTab);
        rcMain.bottom = rcTab.top;
    }
    PlaceAlphaWindow(m_pTabPreview, rcTab);
    PlaceAlphaWindow(m_pPreview, rcMain);
}

void CKLVDockingDragContext::MoveLive() {
    DestroyAlphaWindows();
    if (!m_bAlpha && !m_bSuspended) {
        DrawInverted(CRect(), FALSE);
        UnlockDesktop();
        m_bSuspended = TRUE;
    }
    if (CWnd* pFrame = GetDraggedFrame()) {
        if (m_rcFloat != m_rcLive) pFrame->MoveWindow(m_rcFloat);
        m_rcLive = m_rcFloat;
        return;
    }
    // Anything else is floated at once and dragged on as its new frame's content.
    CRect rc = m_rcFloat;
    if (rc.top < 0) rc.OffsetRect(0, -rc.top);
    std::vector<std::unique_ptr<CKLVHeldReference>> refs;
    const std::vector<CKLVDockingPane*> panes = CollectPanes();
    for (CKLVDockingPane* pPane : panes) refs.push_back(std::make_unique<CKLVHeldReference>(pPane));
    CKLVDockingNode* pNew = m_pManager->FloatPane(m_pNode, rc);
    if (!pNew || pNew->GetType() != CKLVDockingNode::typeMiniWnd) return;
    auto* pFrame = static_cast<CKLVDockingPaneMiniWnd*>(pNew);
    m_pManager->RecalcLayout();
    pFrame->RecalcLayout();
    HoldNode(pFrame->GetTopContainer());
    if (CKLVDockingLayout* pLayout = m_pManager->GetLayout()) pLayout->Tidy();
    m_rcLive = m_rcFloat;
    for (CKLVDockingPane* pPane : panes) m_pManager->NotifyAction(klvActionFloated, pPane);
}
