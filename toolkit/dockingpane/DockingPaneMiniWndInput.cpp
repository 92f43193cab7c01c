// The floating frame's mouse on its caption: caption buttons, the caption menu, the buttons' tool
// tips, dragging and sizing.
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingDragContext.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingLayoutRecords.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include <cstring>

CKLVDockingPaneCaptionButton* CKLVDockingPaneMiniWnd::HitTestCaptionButton(CPoint ptWindow) {
    for (const auto& pButton : GetCaptionButtons())
        if (pButton->GetRect().PtInRect(ptWindow) && IsCaptionButtonVisible(pButton.get())) return pButton.get();
    return nullptr;
}

CRect CKLVDockingPaneMiniWnd::WindowToScreen(CRect rc) const {
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    if (GetExStyle() & WS_EX_LAYOUTRTL) {
        const int nLeft = rcWindow.right - rc.right;
        rc.SetRect(nLeft, rc.top, nLeft + rc.Width(), rc.bottom);
        rc.OffsetRect(0, rcWindow.top);
        return rc;
    }
    rc.OffsetRect(rcWindow.TopLeft());
    return rc;
}

BOOL CKLVDockingPaneMiniWnd::OnCaptionButtonDown(CKLVDockingPaneCaptionButton* pButton) {
    if (!pButton || pButton->GetID() != klvCaptionButtonMenu) return FALSE;
    CKLVDockingPane* pPane = GetSelectedPane();
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pPane || !pManager) return TRUE;
    CKLVHeldReference self(this);
    CKLVHeldReference paneRef(pPane);
    m_bActive = TRUE;
    pButton->SetPressed(TRUE);
    SendMessage(WM_NCPAINT);
    const CRect rcButton = WindowToScreen(pButton->GetRect());
    CKLVDockingPaneMenuRecord record = {pPane, {rcButton.left, rcButton.bottom}, rcButton};
    pManager->NotifyOwner(klvDockingPaneMenu, reinterpret_cast<LPARAM>(&record));
    pButton->SetPressed(FALSE);
    if (m_hWnd) SendMessage(WM_NCPAINT);
    return TRUE;
}

void CKLVDockingPaneMiniWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    if (IsThemedFrame()) {
        CPoint ptWindow = point;
        CKLVDrawHelpers::ScreenToWindow(this, &ptWindow);
        if (CKLVDockingPaneCaptionButton* pButton = HitTestCaptionButton(ptWindow)) {
            if (!pButton->IsEnabled()) return;
            // A click may close the last pane and let a tidy pass release the frame.
            CKLVHeldReference self(this);
            if (OnCaptionButtonDown(pButton)) return;
            if (pButton->Click(this, ptWindow, FALSE) && m_hWnd) OnCaptionButtonClick(pButton);
            return;
        }
    }
    if (nHitTest != HTCAPTION) {
        Default();
        return;
    }
    CWnd* pTop = GetTopLevelParent();
    HWND hWndForeground = ::GetForegroundWindow();
    if (pTop && hWndForeground != m_hWnd && !::IsChild(m_hWnd, hWndForeground)) pTop->SetForegroundWindow();
    BringWindowToTop();
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager || !m_pTopContainer) return;
    // The drag may dock the content and let the frame go.
    CKLVHeldReference self(this);
    pManager->GetDragContext()->Drag(m_pTopContainer, point.x, point.y);
}

LRESULT CKLVDockingPaneMiniWnd::OnSizingMessage(WPARAM wParam, LPARAM lParam) {
    const LRESULT lResult = Default();
    if (CKLVDockingPaneManager* pManager = GetManager())
        pManager->GetDragContext()->OnSizing(this, static_cast<UINT>(wParam), reinterpret_cast<LPRECT>(lParam));
    return lResult;
}

CKLVDockingPane* CKLVDockingPaneMiniWnd::GetMenuPane() const {
    CKLVDockingNodeList lstContainers;
    CollectTabbedContainers(&lstContainers);
    if (lstContainers.GetCount() == 1)
        return static_cast<CKLVDockingPaneTabbedContainer*>(lstContainers.GetHead())->GetSelected();
    for (POSITION pos = lstContainers.GetHeadPosition(); pos;) {
        auto* pTabbed = static_cast<CKLVDockingPaneTabbedContainer*>(lstContainers.GetNext(pos));
        if (pTabbed->IsActive()) return pTabbed->GetSelected();
    }
    return nullptr;
}

void CKLVDockingPaneMiniWnd::OnNcRButtonDown(UINT nHitTest, CPoint point) {
    CKLVDockingPaneManager* pManager = GetManager();
    CKLVDockingPane* pPane = nHitTest == HTCAPTION ? GetMenuPane() : nullptr;
    if (!pPane || !pManager) {
        Default();
        return;
    }
    CKLVHeldReference self(this);
    CKLVHeldReference paneRef(pPane);
    pPane->SetFocus();
    CKLVDockingPaneMenuRecord record = {pPane, {point.x, point.y}, {0, 0, 0, 0}};
    if (pManager->NotifyOwner(klvDockingPaneMenu, reinterpret_cast<LPARAM>(&record)) != 0) return;
    if (m_hWnd) Default();
}

INT_PTR CKLVDockingPaneMiniWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    if (!m_hWnd) return -1;
    CPoint ptWindow = point;
    ClientToScreen(&ptWindow);
    CKLVDrawHelpers::ScreenToWindow(const_cast<CKLVDockingPaneMiniWnd*>(this), &ptWindow);
    CKLVDockingPaneCaptionButton* pButton = const_cast<CKLVDockingPaneMiniWnd*>(this)->HitTestCaptionButton(ptWindow);
    if (!pButton) return -1;
    CString strTip;
    if (!strTip.LoadString(pButton->GetID()) || strTip.IsEmpty()) return -1;
    if (pTI) {
        CRect rcTool = WindowToScreen(pButton->GetRect());
        ScreenToClient(&rcTool);
        pTI->hwnd = m_hWnd;
        pTI->uId = pButton->GetID();
        pTI->rect = rcTool;
        pTI->lpszText = _strdup(strTip);
    }
    return static_cast<INT_PTR>(pButton->GetID());
}

// ---------------------------------------------------------------------------------------------

void CKLVDockingPaneMiniWnd::Copy(CKLVDockingPaneMiniWnd* pSource, CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap) {
    if (!pSource || !pLayout) return;
    CKLVDockingNode* pTop = pSource->m_pTopContainer ? pSource->m_pTopContainer->Clone(pLayout, pMap) : nullptr;
    if (pTop && pTop->GetType() == typeSplitterContainer) {
        m_pTopContainer = static_cast<CKLVDockingSplitterContainer*>(pTop);
        m_pTopContainer->SetParentContainer(this);
    }
    m_rcWindow = pSource->m_rcWindow;
    m_bCollapseMode = pSource->m_bCollapseMode;
    m_roll.nFullHeight = pSource->m_roll.nFullHeight;
    if (m_bCollapseMode) {
        // Copied rolled up: the next mouse over the caption rolls it out.
        m_rcWindow.bottom = m_rcWindow.top + GetThemeCaptionHeight() + 8;
        m_roll.nStepCount = pSource->m_roll.nStepCount;
        m_roll.nCurrentStep = -1;
        m_bExpanded = FALSE;
    }
    CreateLiveWindow();
}

void CKLVDockingPaneMiniWnd::CreateLiveWindow() {
    CKLVDockingPaneManager* pManager = GetManager();
    if (m_hWnd || !pManager || !m_pLayout || m_pLayout != pManager->GetLayout() || m_pLayout->IsDetached()) return;
    Create(m_rcWindow);
    if (m_pTopContainer) {
        m_pTopContainer->SetDockingSite(this);
        m_pTopContainer->OnParentChanged(m_pTopContainer);
    }
    OnChildChanged(nullptr);
}

BOOL CKLVDockingPaneMiniWnd::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVDockingNode::DoPropExchange(pPX);
    if (m_hWnd && pPX->IsStoring()) GetWindowRect(&m_rcWindow);
    PX_Long(pPX, "WindowRectTopPos", m_rcWindow.top);
    PX_Long(pPX, "WindowRectBottomPos", m_rcWindow.bottom);
    PX_Long(pPX, "WindowRectLeftPos", m_rcWindow.left);
    PX_Long(pPX, "WindowRectRightPos", m_rcWindow.right);
    PX_Bool(pPX, "Collapsed", m_bCollapseMode, FALSE);
    PX_Long(pPX, "ExpandedHeight", m_roll.nFullHeight, 0);
    long nTop = CKLVDockingLayoutRecords::NumberOf(m_pTopContainer);
    PX_Long(pPX, "TopContaner", nTop);
    if (pPX->IsStoring()) return TRUE;
    const CKLVDockingLayoutRecords* pRecords = CKLVDockingLayoutRecords::Of(pPX);
    CKLVDockingNode* pTop =
        pRecords ? pRecords->FindChild(nTop, CKLVDockingLayoutRecords::Kind(typeSplitterContainer), this) : nullptr;
    if (!pTop) return FALSE;
    m_pTopContainer = static_cast<CKLVDockingSplitterContainer*>(pTop);
    m_pTopContainer->SetParentContainer(this);
    return TRUE;
}

CKLVDockingNode* CKLVDockingPaneMiniWnd::Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD) {
    CKLVDockingPaneManager* pManager = GetManager();
    CKLVDockingNode* pNew = pManager ? pManager->CreateNode(typeMiniWnd, pLayout) : nullptr;
    if (!pNew || pNew->GetType() != typeMiniWnd) return nullptr;
    auto* pClone = static_cast<CKLVDockingPaneMiniWnd*>(pNew);
    pClone->Copy(this, pLayout, pMap);
    if (pMap) pMap->SetAt(this, pClone);
    return pClone;
}
