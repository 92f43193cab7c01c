// The drag's set-up, its modal loop and the drop.
#include "toolkit/dockingpane/DockingDragContext.h"

#include "toolkit/common/MultiMonitor.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneAlphaWnd.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneSticker.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"
#include "toolkit/common/HeldReference.h"

#include <algorithm>
#include <cstdlib>

namespace {

CCmdTarget* AsTarget(CKLVDockingNode* pNode) { return dynamic_cast<CCmdTarget*>(pNode); }

}  // namespace

CKLVDockingDragContext::CKLVDockingDragContext(CKLVDockingPaneManager* pManager) : m_pManager(pManager) {}

CKLVDockingDragContext::~CKLVDockingDragContext() { UnlockDesktop(); }

int CKLVDockingDragContext::GetStickerStyle() const { return m_pManager->m_nStickerStyle; }

void CKLVDockingDragContext::EnableStickers(BOOL bAlpha, BOOL bStickers) {
    // Without layered windows the preview is drawn as inverted frames.
    m_bAlpha = bAlpha && m_pManager->GetLayeredWindowAttributes();
    m_bStickers = bStickers && m_bAlpha;
}

void CKLVDockingDragContext::HoldNode(CKLVDockingNode* pNode) {
    // The new reference first: the node may be the one held now.
    auto pReference = pNode ? std::make_unique<CKLVHeldReference>(AsTarget(pNode)) : nullptr;
    m_pNodeReference = std::move(pReference);
    m_pNode = pNode;
}

std::vector<CKLVDockingPane*> CKLVDockingDragContext::CollectPanes() const { return KLVPanesOf(m_pNode); }

BOOL CKLVDockingDragContext::NotifyPanes(int nAction, LPARAM lValue1, LPARAM lValue2, BOOL bStopAtCancel) const {
    BOOL bCancelled = FALSE;
    for (CKLVDockingPane* pPane : CollectPanes()) {
        if (!m_pManager->NotifyAction(nAction, pPane, lValue1, lValue2)) continue;
        bCancelled = TRUE;
        if (bStopAtCancel) break;
    }
    return bCancelled;
}

void CKLVDockingDragContext::Drag(CKLVDockingNode* pNode, int x, int y) {
    if (!pNode || !m_pManager->GetLayout()) return;
    CPoint pt(x, y);
    m_bKeyboard = x == -1 && y == -1;
    if (m_bKeyboard) {
        const CRect rc = pNode->GetScreenRect();
        pt = CPoint(rc.CenterPoint().x, rc.top + nKeyboardCursorDrop);
        ::SetCursorPos(pt.x, pt.y);
    }
    BeginDrag(pNode, pt);
    if (m_pManager->m_bShowSizeCursorWhileDragging) ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
    InitLoop();
    Track();
    HoldNode(nullptr);
}

void CKLVDockingDragContext::BeginDrag(CKLVDockingNode* pNode, CPoint pt) {
    HoldNode(pNode);
    CRect rc = pNode->GetScreenRect();
    // A floating frame's content moves the whole frame: its window rectangle, not the content's.
    if (CWnd* pFrame = GetDraggedFrame()) pFrame->GetWindowRect(&rc);
    if (pt.x < rc.left || pt.x > rc.right) rc.OffsetRect(pt.x - rc.left, 0);
    if (pt.y < rc.top || pt.y > rc.bottom) rc.OffsetRect(0, pt.y - rc.top);
    m_rcFloat = m_rcMoving = rc;
    m_ptLast = m_ptStart = pt;
    m_bMoved = FALSE;
    m_pTarget = nullptr;
    m_nSide = -1;
    m_bDockAsTab = FALSE;
    m_bMayFloat = m_bMayDock = TRUE;
    m_rcLastDrawn.SetRectEmpty();
    m_rcLive.SetRectEmpty();
    m_bLastTab = FALSE;
    m_bSuspended = FALSE;
    EnableStickers(m_pManager->m_bAlphaDockingContext, m_pManager->m_bShowDockingContextStickers);
    for (CKLVDockingPane* pPane : CollectPanes()) {
        const DWORD dwOptions = pPane->GetOptions();
        if (m_pManager->NotifyAction(klvActionFloating, pPane) || (dwOptions & CKLVDockingPane::optionNoFloat))
            m_bMayFloat = FALSE;
        if (dwOptions & CKLVDockingPane::optionNoDock) m_bMayDock = FALSE;
    }
}

void CKLVDockingDragContext::Track() {
    CWnd* pSite = m_pManager->GetSite();
    HWND hCapture = ::GetCapture();
    if (!AfxGetSafeHwnd(pSite) || (hCapture && hCapture != pSite->m_hWnd)) {
        // InitLoop may have locked the desktop already.
        CancelLoop();
        return;
    }
    const HWND hSite = pSite->m_hWnd;
    ::SetCapture(hSite);
    BOOL bDrop = FALSE;
    MSG msg;
    while (::GetCapture() == hSite) {
        // A quit request is looked for first: taking the paint messages may drop it.
        if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchPendingPaints();
        const BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot <= 0) {
            // The thread's own loop must see the quit request as well.
            if (bGot == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!OnTrackMessage(msg, bDrop)) break;
    }
    CancelLoop();
    if (bDrop && m_bMoved) Drop();
}

void CKLVDockingDragContext::DispatchPendingPaints() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        // A quit request may come out of the paint filter: it is put back for the loops to see.
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::DispatchMessageA(&msg);
    }
}

BOOL CKLVDockingDragContext::OnTrackMessage(const MSG& msg, BOOL& bDrop) {
    switch (msg.message) {
    case WM_LBUTTONUP:
        bDrop = TRUE;
        return FALSE;
    case WM_MOUSEMOVE: {
        CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
        ::ClientToScreen(msg.hwnd, &pt);
        if (!m_bMoved && std::abs(pt.x - m_ptStart.x) <= nDragThreshold &&
            std::abs(pt.y - m_ptStart.y) <= nDragThreshold)
            return TRUE;
        m_bMoved = TRUE;
        Move(pt.x, pt.y);
        return TRUE;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (msg.wParam == VK_ESCAPE) return FALSE;
        if (msg.wParam == VK_CONTROL) {
            // Ctrl held means "no docking": the decision is taken again at once.
            Move(m_ptLast.x, m_ptLast.y);
            return TRUE;
        }
        if (msg.message == WM_KEYDOWN && m_bKeyboard) {
            if (msg.wParam == VK_RETURN) {
                bDrop = TRUE;
                return FALSE;
            }
            if (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT || msg.wParam == VK_UP || msg.wParam == VK_DOWN)
                OnKeyboardStep(static_cast<UINT>(msg.wParam));
        }
        return TRUE;
    default:
        // Other keys are not passed on while dragging.
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) return TRUE;
        ::DispatchMessageA(&msg);
        return TRUE;
    }
}

void CKLVDockingDragContext::OnKeyboardStep(UINT nKey) {
    CPoint pt = m_ptLast;
    if (nKey == VK_LEFT) pt.x -= nKeyboardStep;
    if (nKey == VK_RIGHT) pt.x += nKeyboardStep;
    if (nKey == VK_UP) pt.y -= nKeyboardStep;
    if (nKey == VK_DOWN) pt.y += nKeyboardStep;
    const CRect rcWork = KLVMultiMonitor()->GetWorkRect(pt);
    pt.x = std::max(rcWork.left, std::min(pt.x, rcWork.right - 1));
    pt.y = std::max(rcWork.top, std::min(pt.y, rcWork.bottom - 1));
    ::SetCursorPos(pt.x, pt.y);
    // An arrow step is a move of its own: Enter then drops without waiting for the pointer.
    m_bMoved = TRUE;
    Move(pt.x, pt.y);
}

CWnd* CKLVDockingDragContext::GetDraggedFrame() const {
    if (!m_pNode || m_pNode->GetType() != CKLVDockingNode::typeSplitterContainer) return nullptr;
    CKLVDockingNode* pParent = m_pNode->GetContainer();
    if (!pParent || pParent->GetType() != CKLVDockingNode::typeMiniWnd) return nullptr;
    return static_cast<CKLVDockingPaneMiniWnd*>(pParent);
}

void CKLVDockingDragContext::Drop() {
    CKLVDockingNode* pTarget = m_pTarget;
    if (!m_pNode || (!pTarget && !m_bMayFloat)) return;
    // Every pane keeps a reference while it is docked, floated and reported on.
    std::vector<std::unique_ptr<CKLVHeldReference>> refs;
    const std::vector<CKLVDockingPane*> panes = CollectPanes();
    for (CKLVDockingPane* pPane : panes) refs.push_back(std::make_unique<CKLVHeldReference>(pPane));
    int nAction = klvActionFloated;
    const LPARAM lTarget = reinterpret_cast<LPARAM>(pTarget);
    LPARAM lSide = 0;
    if (pTarget && m_bDockAsTab) {
        m_pManager->AttachPane(m_pNode, pTarget);
        nAction = klvActionAttached;
    } else if (pTarget) {
        const int nSide = m_pManager->MirrorDirection(m_nSide);
        m_pManager->DockPane(m_pNode, nSide, pTarget);
        m_pManager->BringPaneToTop(pTarget);
        nAction = klvActionDocked;
        lSide = nSide;
    } else {
        DropFloating();
    }
    if (CKLVDockingLayout* pLayout = m_pManager->GetLayout()) pLayout->Tidy();
    for (CKLVDockingPane* pPane : panes) m_pManager->NotifyAction(nAction, pPane, lTarget, lSide);
}

void CKLVDockingDragContext::DropFloating() {
    CRect rc = m_rcFloat;
    const CRect rcWork = KLVMultiMonitor()->GetWorkRect(&rc);
    if (rc.top < rcWork.top) rc.OffsetRect(0, rcWork.top - rc.top);
    if (CWnd* pFrame = GetDraggedFrame()) pFrame->MoveWindow(rc);
    else m_pManager->FloatPane(m_pNode, rc);
}
