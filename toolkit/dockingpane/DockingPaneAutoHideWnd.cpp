#include "toolkit/dockingpane/DockingPaneAutoHideWnd.h"

#include "toolkit/common/AuxData.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneAutoHidePanel.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CKLVDockingPaneAutoHideWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CKLVDockingPaneAutoHideWnd, CMiniFrameWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_CLOSE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

BOOL CKLVDockingPaneAutoHideWnd::s_bAutoClose = TRUE;

CKLVDockingPaneAutoHideWnd::CKLVDockingPaneAutoHideWnd(CKLVDockingPaneAutoHidePanel* pPanel,
                                                       CKLVDockingPaneTabbedContainer* pContainer)
    : m_pContainer(pContainer), m_pPanel(pPanel) {
    m_nSide = pPanel->GetSide();
    m_nPlacedSide = pPanel->GetPlacedSide();
    m_bHorizontal = m_nSide == klvDockTop || m_nSide == klvDockBottom;
}

CKLVDockingPaneAutoHideWnd::~CKLVDockingPaneAutoHideWnd() {
    if (m_hWnd) DestroyWindow();
}

CKLVDockingPaneManager* CKLVDockingPaneAutoHideWnd::GetManager() const {
    if (m_pContainer) return m_pContainer->GetManager();
    return m_pPanel ? m_pPanel->GetManager() : nullptr;
}

CWnd* CKLVDockingPaneAutoHideWnd::GetSite() const {
    CKLVDockingPaneManager* pManager = GetManager();
    return pManager ? pManager->GetSite() : nullptr;
}

CKLVDockingPane* CKLVDockingPaneAutoHideWnd::GetShownPane() const {
    return m_pContainer ? m_pContainer->GetSelected() : nullptr;
}

void CKLVDockingPaneAutoHideWnd::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo, BOOL bBorder) const {
    *pMinMaxInfo = MINMAXINFO{};
    pMinMaxInfo->ptMaxTrackSize = CPoint(CKLVDockingNode::nMaxTrackSize, CKLVDockingNode::nMaxTrackSize);
    if (CKLVDockingPane* pPane = GetShownPane()) {
        pPane->GetMinMaxInfo(pMinMaxInfo);
        m_pContainer->AddFrameToMinMaxInfo(pMinMaxInfo);
    }
    if (!bBorder) return;
    LONG& nMin = m_bHorizontal ? pMinMaxInfo->ptMinTrackSize.y : pMinMaxInfo->ptMinTrackSize.x;
    LONG& nMax = m_bHorizontal ? pMinMaxInfo->ptMaxTrackSize.y : pMinMaxInfo->ptMaxTrackSize.x;
    nMin += nBorder;
    nMax += nBorder;
}

BOOL CKLVDockingPaneAutoHideWnd::Open() {
    CKLVDockingPaneManager* pManager = GetManager();
    CWnd* pSite = GetSite();
    if (!pManager || !AfxGetSafeHwnd(pSite) || !m_pContainer || !m_pContainer->GetLayout()) {
        InternalRelease();
        return FALSE;
    }
    const DWORD dwExStyle = pManager->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
    // A failed creation has run PostNcDestroy, which let the window's reference go.
    if (!CMiniFrameWnd::CreateEx(dwExStyle, nullptr, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                                 pSite, 0))
        return FALSE;
    // Without a tab row here: the panel's tabs stand for the group's panes.
    if (HWND hWndGroup = m_pContainer->GetSafeHwnd()) ::SetParent(hWndGroup, m_hWnd);

    MINMAXINFO mmi;
    GetMinMaxInfo(&mmi, TRUE);
    CKLVDockingPane* pPane = GetShownPane();
    const CSize szDocking = pPane ? pPane->m_szDocking : m_pContainer->m_szDocking;
    const int nExtent = m_bHorizontal ? std::clamp(static_cast<int>(szDocking.cy) + nBorder,
                                                   static_cast<int>(mmi.ptMinTrackSize.y), static_cast<int>(mmi.ptMaxTrackSize.y))
                                      : std::clamp(static_cast<int>(szDocking.cx) + nBorder,
                                                   static_cast<int>(mmi.ptMinTrackSize.x), static_cast<int>(mmi.ptMaxTrackSize.x));
    m_rcFull = m_pContainer->GetLayout()->GetRootArea();
    switch (m_nPlacedSide) {
    case klvDockLeft: m_rcFull.right = m_rcFull.left + nExtent; break;
    case klvDockRight: m_rcFull.left = m_rcFull.right - nExtent; break;
    case klvDockTop: m_rcFull.bottom = m_rcFull.top + nExtent; break;
    default: m_rcFull.top = m_rcFull.bottom - nExtent; break;
    }

    CRect rcLimit, rcStrip;
    const BOOL bMovable = !pManager->m_bLockSplitters && GetSplitterLimits(rcLimit, rcStrip);
    CKLVAuxData* pAux = KLVAuxData();
    m_hCursor = bMovable ? (m_bHorizontal ? pAux->hcurVSplitBar : pAux->hcurHSplitBar) : nullptr;
    if (!m_hCursor) m_hCursor = ::LoadCursor(nullptr, IDC_ARROW);

    m_nCurrentStep = 0;
    m_nStepCount = CKLVDockingPaneMiniWnd::GetAnimationStepCount();
    m_bClosing = FALSE;
    if (m_nStepCount > 1) SetTimer(timerSlideOut, CKLVDockingPaneMiniWnd::GetAnimationTimerInterval(), nullptr);
    ApplyStep();
    if (m_pContainer->GetSafeHwnd()) m_pContainer->ShowWindow(SW_SHOW);
    SetTimer(timerCheck, nCheckInterval, nullptr);
    m_nCountdown = nCountdownTicks;
    return TRUE;
}

void CKLVDockingPaneAutoHideWnd::ApplyStep() {
    if (!m_hWnd) return;
    CRect rc = m_rcFull;
    const int nExtent = m_bHorizontal ? m_rcFull.Height() : m_rcFull.Width();
    const int nPart = nExtent * (m_nCurrentStep + 1) / std::max(1, m_nStepCount);
    switch (m_nPlacedSide) {
    case klvDockLeft: rc.right = rc.left + nPart; break;
    case klvDockRight: rc.left = rc.right - nPart; break;
    case klvDockTop: rc.bottom = rc.top + nPart; break;
    default: rc.top = rc.bottom - nPart; break;
    }
    SetWindowPos(&CWnd::wndTop, rc.left, rc.top, rc.Width(), rc.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CKLVDockingPaneAutoHideWnd::RecalcLayout(BOOL) {
    if (!m_hWnd || !m_pContainer || !m_pContainer->GetSafeHwnd()) return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cx = rcClient.Width(), cy = rcClient.Height();
    const int nFullWidth = m_rcFull.Width(), nFullHeight = m_rcFull.Height();
    // The group keeps its full size; its far edge follows the window's moving edge.
    CRect rc;
    switch (m_nPlacedSide) {
    case klvDockLeft: rc.SetRect(cx - nFullWidth, 0, cx - nBorder, cy); break;
    case klvDockRight: rc.SetRect(nBorder, 0, nFullWidth, cy); break;
    case klvDockTop: rc.SetRect(0, cy - nFullHeight, cx, cy - nBorder); break;
    default: rc.SetRect(0, nBorder, cx, nFullHeight); break;
    }
    AFX_SIZEPARENTPARAMS params = {};
    params.hDWP = ::BeginDeferWindowPos(8);
    params.rect = rc;
    m_pContainer->OnSizeParent(this, rc, &params);
    if (params.hDWP) ::EndDeferWindowPos(params.hDWP);
}

BOOL CKLVDockingPaneAutoHideWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CKLVDockingPaneAutoHideWnd::OnPaint() {
    CPaintDC dc(this);
    CKLVDockingPaneManager* pManager = GetManager();
    CKLVDockingPaneTheme* pTheme = pManager ? pManager->GetPaintManager() : nullptr;
    CRect rc;
    GetClientRect(&rc);
    if (!pTheme || rc.IsRectEmpty()) return;
    dc.FillSolidRect(rc, pTheme->GetColor(51));
    switch (m_nPlacedSide) {
    case klvDockLeft:
        dc.FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), pTheme->GetColor(18));
        dc.FillSolidRect(rc.right - 2, rc.top, 1, rc.Height(), pTheme->GetColor(16));
        break;
    case klvDockTop:
        dc.FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, pTheme->GetColor(18));
        dc.FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, pTheme->GetColor(16));
        break;
    case klvDockRight: dc.FillSolidRect(rc.left + 1, rc.top, 1, rc.Height(), pTheme->GetColor(20)); break;
    default: dc.FillSolidRect(rc.left, rc.top + 1, rc.Width(), 1, pTheme->GetColor(20)); break;
    }
}

BOOL CKLVDockingPaneAutoHideWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (nHitTest == HTCLIENT && pWnd == this && m_hCursor) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CMiniFrameWnd::OnSetCursor(pWnd, nHitTest, message);
}

// ---------------------------------------------------------------------------------------------

BOOL CKLVDockingPaneAutoHideWnd::IsTrackedByPanel() const {
    return m_pContainer && m_pPanel && m_pPanel->GetActiveWindow() == this;
}

BOOL CKLVDockingPaneAutoHideWnd::IsContainerFocused() const {
    HWND hWndGroup = m_pContainer ? m_pContainer->GetSafeHwnd() : nullptr;
    HWND hWndFocus = ::GetFocus();
    return hWndGroup && hWndFocus && (hWndFocus == hWndGroup || ::IsChild(hWndGroup, hWndFocus));
}

void CKLVDockingPaneAutoHideWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == timerClose) {
        KillTimer(timerClose);
        Close();
        return;
    }
    if (!IsTrackedByPanel()) return;
    switch (nIDEvent) {
    case timerCheck: OnCheckTick(); break;
    case timerSlideOut: OnSlideOutTick(); break;
    case timerSlideBack: OnSlideBackTick(); break;
    default: CMiniFrameWnd::OnTimer(nIDEvent);
    }
}

void CKLVDockingPaneAutoHideWnd::OnSlideOutTick() {
    if (m_bClosing) return;
    if (++m_nCurrentStep >= m_nStepCount) {
        m_nCurrentStep = m_nStepCount - 1;
        KillTimer(timerSlideOut);
        if (CKLVDockingPaneManager* pManager = GetManager()) pManager->NotifyAction(klvActionRollingOut, GetShownPane());
        return;
    }
    ApplyStep();
}

void CKLVDockingPaneAutoHideWnd::OnSlideBackTick() {
    if (!m_bClosing) return;
    if (--m_nCurrentStep >= 0) {
        ApplyStep();
        return;
    }
    m_bClosing = FALSE;
    KillTimer(timerSlideBack);
    // The owner told about it may let everything go; the window closes all the same.
    CKLVHeldReference self(this);
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->NotifyAction(klvActionSlidingIn, GetShownPane());
    Close();
}

void CKLVDockingPaneAutoHideWnd::OnCheckTick() {
    if (m_bResizing) return;
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    CRect rcWindow, rcPanel;
    GetWindowRect(&rcWindow);
    if (m_pPanel->GetSafeHwnd()) m_pPanel->GetWindowRect(&rcPanel);
    if (IsContainerFocused() || rcWindow.PtInRect(ptCursor) || rcPanel.PtInRect(ptCursor)) {
        m_nCountdown = nCountdownTicks;
        if (m_bClosing) ReverseSlidingBack();
        return;
    }
    if (m_bClosing || --m_nCountdown > 0) return;
    m_nCountdown = nCountdownTicks;
    if (s_bAutoClose) StartSlidingBack();
}

void CKLVDockingPaneAutoHideWnd::StartSlidingBack() {
    CKLVHeldReference self(this);
    CKLVDockingPaneManager* pManager = GetManager();
    if (pManager && pManager->NotifyAction(klvActionSlidingOut, GetShownPane())) return;
    if (!m_hWnd || !IsTrackedByPanel()) return;
    m_bClosing = TRUE;
    KillTimer(timerSlideOut);
    SetTimer(timerSlideBack, CKLVDockingPaneMiniWnd::GetAnimationTimerInterval(), nullptr);
}

void CKLVDockingPaneAutoHideWnd::ReverseSlidingBack() {
    m_bClosing = FALSE;
    KillTimer(timerSlideBack);
    SetTimer(timerSlideOut, CKLVDockingPaneMiniWnd::GetAnimationTimerInterval(), nullptr);
}

void CKLVDockingPaneAutoHideWnd::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_bClosing && IsTrackedByPanel()) {
        OnCheckTick();
        return;
    }
    CMiniFrameWnd::OnMouseMove(nFlags, point);
}

// ---------------------------------------------------------------------------------------------

void CKLVDockingPaneAutoHideWnd::ReleaseContainer() {
    CKLVDockingPaneTabbedContainer* pContainer = m_pContainer;
    m_pContainer = nullptr;
    if (!pContainer) return;
    CWnd* pSite = GetSite();
    HWND hWndGroup = pContainer->GetSafeHwnd();
    if (hWndGroup && m_hWnd && ::GetParent(hWndGroup) == m_hWnd) {
        ::ShowWindow(hWndGroup, SW_HIDE);
        // Back under the panel while the group stays hidden there, else under the site.
        HWND hWndPanel = pContainer->GetContainer() == m_pPanel && m_pPanel ? m_pPanel->GetSafeHwnd() : nullptr;
        HWND hWndBack = hWndPanel ? hWndPanel : AfxGetSafeHwnd(pSite);
        if (hWndBack) ::SetParent(hWndGroup, hWndBack);
    }
    if (pSite) pContainer->SetDockingSite(pSite);
}

void CKLVDockingPaneAutoHideWnd::Detach() {
    ReleaseContainer();
    m_pPanel = nullptr;
}

void CKLVDockingPaneAutoHideWnd::Close() {
    if (!m_hWnd) return;
    ShowWindow(SW_HIDE);
    ReleaseContainer();
    if (m_pPanel) m_pPanel->OnWindowGone(this);
    KillTimer(timerCheck);
    KillTimer(timerSlideOut);
    KillTimer(timerSlideBack);
    PostMessage(WM_CLOSE);
}

void CKLVDockingPaneAutoHideWnd::OnClose() { DestroyWindow(); }

void CKLVDockingPaneAutoHideWnd::PostNcDestroy() {
    ReleaseContainer();
    if (m_pPanel) m_pPanel->OnWindowGone(this);
    m_pPanel = nullptr;
    InternalRelease();
}
