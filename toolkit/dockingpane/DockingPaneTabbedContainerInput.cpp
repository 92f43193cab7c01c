// The tabbed container's window: painting, the mouse on caption, buttons and tabs, help.
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingDragContext.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

BEGIN_MESSAGE_MAP(CKLVDockingPaneTabbedContainer, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSELEAVE()
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
    ON_WM_SETCURSOR()
    ON_MESSAGE(WM_GETOBJECT, OnGetObject)
END_MESSAGE_MAP()

void CKLVDockingPaneTabbedContainer::OnPaint() {
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CKLVDockingPaneTheme* pTheme = GetPaintManager();
    if (!pTheme || rcClient.IsRectEmpty()) return;
    CKLMemDC memDC(&dc, rcClient);
    pTheme->DrawTabbedContainer(&memDC, this, rcClient);
}

BOOL CKLVDockingPaneTabbedContainer::OnEraseBkgnd(CDC*) { return TRUE; }

CKLVDockingPaneCaptionButton* CKLVDockingPaneTabbedContainer::HitTestCaptionButton(CPoint point) const {
    if (!IsCaptionVisible()) return nullptr;
    for (const auto& pButton : m_arrCaptionButtons) {
        if (pButton->GetRect().PtInRect(point) &&
            const_cast<CKLVDockingPaneTabbedContainer*>(this)->IsCaptionButtonVisible(pButton.get()))
            return pButton.get();
    }
    return nullptr;
}

void CKLVDockingPaneTabbedContainer::PressMenuButton(CKLVDockingPaneCaptionButton* pButton) {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager || !m_pSelectedPane) return;
    CKLVHeldReference selfRef(this);
    CKLVHeldReference paneRef(m_pSelectedPane);
    pButton->SetPressed(TRUE);
    Invalidate(FALSE);
    CRect rcButton = pButton->GetRect();
    ClientToScreen(&rcButton);
    CKLVDockingPaneMenuRecord record = {m_pSelectedPane, {rcButton.left, rcButton.bottom}, rcButton};
    pManager->NotifyOwner(klvDockingPaneMenu, reinterpret_cast<LPARAM>(&record));
    pButton->SetPressed(FALSE);
    if (m_hWnd) Invalidate(FALSE);
}

void CKLVDockingPaneTabbedContainer::OnLButtonDown(UINT, CPoint point) {
    if (CKLVDockingPaneCaptionButton* pButton = HitTestCaptionButton(point)) {
        CKLVHeldReference selfRef(this);
        TakeFocus();
        if (pButton->GetID() == klvCaptionButtonMenu) {
            PressMenuButton(pButton);
            return;
        }
        if (pButton->Click(this, point) && m_pSelectedPane) OnCaptionButtonClick(pButton);
        return;
    }
    if (IsTabsVisible() && m_tabs.GetPaintManager() && m_tabs.PerformClick(m_hWnd, point, TRUE)) return;
    const int nHit = HitTest(point.x, point.y);
    if (nHit == htCaption && !IsHidden()) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        OnCaptionLButtonDown(ptScreen);
    } else if (nHit == htCaption || nHit == htNothing) {
        TakeFocus();
    } else {
        OnTabLButtonDown(nHit, point);
    }
}

void CKLVDockingPaneTabbedContainer::OnTabLButtonDown(int nTab, CPoint point) {
    CKLVDockingPane* pPane = GetPaneAt(nTab);
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pPane || !pManager) return;
    CKLVHeldReference selfRef(this);
    CKLVHeldReference paneRef(pPane);
    const BOOL bCancelled = pManager->NotifyAction(klvActionClicking, pPane);
    // The owner may have taken the pane away or closed the container meanwhile.
    if (!m_hWnd || pPane->GetContainer() != this) return;
    if (!bCancelled) {
        m_arrTabRects.clear();
        for (int i = 0; i < m_tabs.GetItemCount(); i++) m_arrTabRects.push_back(m_tabs.GetItem(i)->GetRect());
        m_pTrackingPane = pPane;
        m_pTrackingPane->InternalAddRef();
    }
    SelectPane(pPane, TRUE, FALSE);
    if (!m_hWnd) return;
    if (m_tabs.GetPaintManager()) m_tabs.PerformMouseMove(m_hWnd, point);
    if (m_pTrackingPane) SetCapture();
    Invalidate(FALSE);
}

void CKLVDockingPaneTabbedContainer::OnCaptionLButtonDown(CPoint ptScreen) {
    TakeFocus();
    if (!(::GetKeyState(VK_LBUTTON) & 0x8000) || !m_pSelectedPane) return;
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager) return;
    CKLVHeldReference selfRef(this);
    CKLVHeldReference paneRef(m_pSelectedPane);
    if (pManager->NotifyAction(klvActionClicking, m_pSelectedPane)) return;
    pManager->GetDragContext()->Drag(this, ptScreen.x, ptScreen.y);
}

void CKLVDockingPaneTabbedContainer::EndTabTracking() {
    CKLVDockingPane* pPane = m_pTrackingPane;
    m_pTrackingPane = nullptr;
    if (m_hWnd && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (pPane) pPane->InternalRelease();
}

void CKLVDockingPaneTabbedContainer::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_tabs.GetPaintManager() && IsTabsVisible()) m_tabs.PerformMouseMove(m_hWnd, point);
    if (!m_pTrackingPane) {
        CheckCaptionButtons(point);
        CWnd::OnMouseMove(nFlags, point);
        return;
    }
    OnTrackedMouseMove(point);
}

void CKLVDockingPaneTabbedContainer::OnTrackedMouseMove(CPoint point) {
    for (size_t i = 0; i < m_arrTabRects.size(); i++) {
        if (!m_arrTabRects[i].PtInRect(point)) continue;
        CKLVDockingPane* pOther = GetPaneAt(static_cast<int>(i));
        if (!pOther || pOther == m_pTrackingPane) return;
        POSITION posTracked = m_lstPanes.Find(m_pTrackingPane);
        POSITION posOther = m_lstPanes.Find(pOther);
        if (!posTracked || !posOther) return;
        m_lstPanes.SetAt(posTracked, pOther);
        m_lstPanes.SetAt(posOther, m_pTrackingPane);
        UpdateCaption();
        return;
    }
    if (HitTest(point.x, point.y) >= 0) return;
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager) return;
    CKLVHeldReference selfRef(this);
    CKLVHeldReference paneRef(m_pTrackingPane);
    CKLVDockingPane* pTracked = m_pTrackingPane;
    const BOOL bCancelled = pManager->NotifyAction(klvActionDragging, pTracked);
    if (bCancelled || m_pTrackingPane != pTracked) return;
    EndTabTracking();
    // Torn out of the row, the selected pane is dragged from here.
    CKLVDockingPane* pPane = m_pSelectedPane;
    if (!pPane) return;
    CKLVHeldReference selectedRef(pPane);
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    pManager->GetDragContext()->Drag(pPane, ptScreen.x, ptScreen.y);
}

void CKLVDockingPaneTabbedContainer::OnLButtonUp(UINT nFlags, CPoint point) {
    EndTabTracking();
    CWnd::OnLButtonUp(nFlags, point);
}

void CKLVDockingPaneTabbedContainer::OnCaptureChanged(CWnd* pWnd) {
    if (CKLVDockingPane* pPane = m_pTrackingPane) {
        m_pTrackingPane = nullptr;
        pPane->InternalRelease();
    }
    CWnd::OnCaptureChanged(pWnd);
}

void CKLVDockingPaneTabbedContainer::OnMouseLeave() { OnMouseMove(0, CPoint(-1, -1)); }

void CKLVDockingPaneTabbedContainer::OnLButtonDblClk(UINT, CPoint point) {
    if (HitTestCaptionButton(point)) return;
    if (IsTabsVisible() && m_tabs.GetPaintManager() && m_tabs.HitTestNavigateButton(point, FALSE)) return;
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager) return;
    const int nHit = HitTest(point.x, point.y);
    if (nHit == htCaption) {
        if (IsHidden() && m_pSelectedPane && (m_pSelectedPane->GetOptions() & CKLVDockingPane::optionNoHide)) return;
        pManager->ToggleDocking(this);
    } else if (nHit >= 0) {
        if (CKLVDockingPane* pPane = GetPaneAt(nHit)) pManager->ToggleDocking(pPane);
    }
}

void CKLVDockingPaneTabbedContainer::OnRButtonDown(UINT, CPoint point) {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager) return;
    CKLVHeldReference selfRef(this);
    const int nHit = HitTest(point.x, point.y);
    if (nHit >= 0) {
        if (CKLVDockingPane* pPane = GetPaneAt(nHit)) {
            SelectPane(pPane, TRUE, TRUE);
            pManager->RecalcLayout(this, FALSE);
        }
    }
    TakeFocus();
    pManager->NotifyOwner(klvDockingPaneRClick, reinterpret_cast<LPARAM>(static_cast<CKLVDockingNode*>(this)));
}

LRESULT CKLVDockingPaneTabbedContainer::OnHelpHitTest(WPARAM, LPARAM lParam) {
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    const int nHit = HitTest(point.x, point.y);
    CKLVDockingPane* pPane = nHit >= 0 ? GetPaneAt(nHit) : nullptr;
    if (!pPane) pPane = m_pSelectedPane;
    if (!pPane) return 0;
    return 0x20000 + (pPane->GetHelpID() ? static_cast<LRESULT>(pPane->GetHelpID()) : static_cast<LRESULT>(pPane->GetID()));
}

INT_PTR CKLVDockingPaneTabbedContainer::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    const INT_PTR nHit = CWnd::OnToolHitTest(point, pTI);
    if (nHit != -1) return nHit;
    if (CKLVDockingPaneCaptionButton* pButton = HitTestCaptionButton(point)) {
        CString strTip;
        strTip.LoadString(pButton->GetID());
        if (pTI) {
            pTI->hwnd = m_hWnd;
            pTI->uId = pButton->GetID();
            pTI->rect = pButton->GetRect();
            pTI->lpszText = _strdup(strTip);
        }
        return static_cast<INT_PTR>(pButton->GetID());
    }
    if (!IsTabsVisible() || !m_tabs.GetPaintManager()) return -1;
    return const_cast<CKLVDockingTabbedContainerTabs&>(m_tabs).PerformToolHitTest(m_hWnd, point, pTI);
}

BOOL CKLVDockingPaneTabbedContainer::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    const CKLVDockingPaneManager* pManager = GetManager();
    CKLVDockingPaneTheme* pTheme = GetPaintManager();
    if (pManager && pTheme && pManager->m_bShowSizeCursorWhileDragging) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (pTheme->GetCaptionGripperRect(this).PtInRect(pt)) {
            ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

// ---------------------------------------------------------------------------------------------

BOOL CKLVDockingPaneTabbedContainer::StoreSizeForHiding() {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager) return FALSE;
    const int nSide = pManager->GetNodeSide(this);
    const BOOL bWidth = nSide == klvDockLeft || nSide == klvDockRight;
    auto store = [&](CKLVDockingNode* pNode) {
        if (bWidth) pNode->m_szDocking.cx = m_rcWindow.Width();
        else pNode->m_szDocking.cy = m_rcWindow.Height();
    };
    store(this);
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pPane = GetNext(pos);
        if (!pPane->IsEmpty()) store(pPane);
    }
    return TRUE;
}

void CKLVDockingPaneTabbedContainer::ClosePanes() {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager) return;
    CKLVHeldReference selfRef(this);
    CKLVDockingNodeList lstPanes;
    if (pManager->m_bCloseGroupOnButtonClick) {
        for (POSITION pos = GetHeadPosition(); pos;) {
            CKLVDockingNode* pPane = GetNext(pos);
            if (!(static_cast<CKLVDockingPane*>(pPane)->GetOptions() & CKLVDockingPane::optionNoClose))
                lstPanes.AddTail(pPane);
        }
    } else if (m_pSelectedPane) {
        lstPanes.AddTail(m_pSelectedPane);
    }
    std::vector<std::unique_ptr<CKLVHeldReference>> refs;
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;)
        refs.push_back(std::make_unique<CKLVHeldReference>(static_cast<CKLVDockingPane*>(lstPanes.GetNext(pos))));
    for (POSITION pos = lstPanes.GetHeadPosition(); pos;) {
        auto* pPane = static_cast<CKLVDockingPane*>(lstPanes.GetNext(pos));
        // A pane the owner moved elsewhere while being told is no longer this container's.
        if (pPane->GetContainer() != this) continue;
        if (pManager->NotifyAction(klvActionClosing, pPane)) continue;
        if (pPane->GetContainer() != this) continue;
        pPane->Close();
        pManager->NotifyAction(klvActionClosed, pPane);
    }
}

void CKLVDockingPaneTabbedContainer::OnCaptionButtonClick(CKLVDockingPaneCaptionButton* pButton) {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pManager || !m_pSelectedPane) return;
    switch (pButton->GetID()) {
    case klvCaptionButtonAutoHide: {
        if (IsHidden()) {
            if (pManager->m_bHideGroupOnButtonClick) pManager->ToggleDocking(this);
            else pManager->ToggleDocking(m_pSelectedPane);
            return;
        }
        CKLVHeldReference selfRef(this);
        CKLVHeldReference paneRef(m_pSelectedPane);
        CKLVDockingPane* pPane = m_pSelectedPane;
        if (pManager->NotifyAction(klvActionHiding, pPane)) return;
        if (CWnd* pSite = GetDockingSite(); AfxGetSafeHwnd(pSite)) pSite->SetFocus();
        StoreSizeForHiding();
        pPane->Hide();
        pManager->NotifyAction(klvActionHidden, pPane);
        return;
    }
    case klvCaptionButtonClose: ClosePanes(); return;
    case klvCaptionButtonMaximize: Maximise(); return;
    case klvCaptionButtonRestore: Restore(); return;
    default: return;
    }
}
