#include "toolkit/dockingpane/DockingPaneAutoHidePanel.h"

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingLayoutRecords.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneAutoHideWnd.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabStyle.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CKLVDockingPaneAutoHidePanel, CWnd)

BEGIN_MESSAGE_MAP(CKLVDockingPaneAutoHidePanel, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

// The painter is shared by the rows of all four sides: each lays out and draws with its own
// position and puts the painter's back.
class CPainterPosition {
public:
    CPainterPosition(CKLVTabPainter* pPainter, int nPosition)
        : m_pPainter(pPainter), m_nOld(pPainter->GetPosition()) {
        if (m_nOld != nPosition) m_pPainter->SetPosition(nPosition);
    }
    ~CPainterPosition() {
        if (m_pPainter->GetPosition() != m_nOld) m_pPainter->SetPosition(m_nOld);
    }
    CPainterPosition(const CPainterPosition&) = delete;
    CPainterPosition& operator=(const CPainterPosition&) = delete;

private:
    CKLVTabPainter* m_pPainter;
    int m_nOld;
};

}  // namespace

// Opens the pane whose tab something is dragged over.
class CKLVDockingPaneAutoHidePanel::CDropTarget : public COleDropTarget {
public:
    explicit CDropTarget(CKLVDockingPaneAutoHidePanel* pPanel) : m_pPanel(pPanel) {}

    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint point) override {
        CKLVDockingPaneTheme* pTheme = m_pPanel->GetPaintManager();
        if (pTheme && pTheme->GetAutoHidePaintManager()->m_bSelectOnDragOver) m_pPanel->OpenOnHover(point);
        return DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState, CPoint point) override {
        return OnDragOver(pWnd, pData, dwKeyState, point);
    }

private:
    CKLVDockingPaneAutoHidePanel* m_pPanel;
};

// ---------------------------------------------------------------------------------------------

CKLVDockingPaneAutoHideRow::CKLVDockingPaneAutoHideRow(CKLVDockingPaneAutoHidePanel* pPanel) : m_pPanel(pPanel) {
    for (UINT nID : {CKLVTabManagerNavigateButton::idScrollBack, CKLVTabManagerNavigateButton::idScrollForward})
        if (CKLVTabManagerNavigateButton* pButton = FindNavigateButton(nID))
            pButton->m_nShowMode = CKLVTabManagerNavigateButton::showNever;
}

CKLVTabPainter* CKLVDockingPaneAutoHideRow::GetPaintManager() const {
    CKLVDockingPaneTheme* pTheme = m_pPanel->GetPaintManager();
    return pTheme ? pTheme->GetAutoHidePaintManager() : nullptr;
}

int CKLVDockingPaneAutoHideRow::GetPosition() const {
    switch (m_pPanel->GetPlacedSide()) {
    case klvDockLeft: return CKLVTabPainter::positionRight;
    case klvDockRight: return CKLVTabPainter::positionLeft;
    case klvDockTop: return CKLVTabPainter::positionBottom;
    default: return CKLVTabPainter::positionTop;
    }
}

void CKLVDockingPaneAutoHideRow::RedrawControl(const RECT* lpRect, BOOL) {
    if (m_pPanel->GetSafeHwnd()) ::InvalidateRect(m_pPanel->GetSafeHwnd(), lpRect, FALSE);
}

void CKLVDockingPaneAutoHideRow::Reposition() {
    if (m_pPanel->GetSafeHwnd()) m_pPanel->Invalidate(FALSE);
}

void CKLVDockingPaneAutoHideRow::Reposition(CDC* pDC, CRect rc) {
    CKLVTabPainter* pPainter = GetPaintManager();
    if (!pPainter) return;
    CPainterPosition position(pPainter, GetPosition());
    pPainter->RepositionTabControl(this, pDC, rc);
}

void CKLVDockingPaneAutoHideRow::Draw(CDC* pDC) {
    CKLVTabPainter* pPainter = GetPaintManager();
    if (!pPainter) return;
    CPainterPosition position(pPainter, GetPosition());
    pPainter->DrawTabControl(this, pDC, m_rcRow);
}

// ---------------------------------------------------------------------------------------------

CKLVDockingPaneAutoHidePanel::CKLVDockingPaneAutoHidePanel(CKLVDockingLayout* pLayout)
    : CKLVDockingContainer(typeAutoHidePanel, pLayout) {}

CKLVDockingPaneAutoHidePanel::~CKLVDockingPaneAutoHidePanel() {
    if (CKLVDockingPaneAutoHideWnd* pWnd = m_pActiveWnd) {
        m_pActiveWnd = nullptr;
        pWnd->Detach();
        pWnd->Close();
    }
    if (m_pLayout && m_pLayout->GetPanel(m_nSide) == this) m_pLayout->SetPanel(m_nSide, nullptr);
    m_pDropTarget.reset();
    if (m_hWnd) DestroyWindow();
    m_arrRows.clear();
}

BOOL CKLVDockingPaneAutoHidePanel::Create(CWnd* pParent) {
    if (!CreateEx(0, "KLVDockingPaneAutoHidePanel", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  CRect(0, 0, 0, 0), pParent, 0))
        return FALSE;
    // Each tab shows its pane's title through the hit test.
    EnableToolTips(TRUE);
    m_pDropTarget = std::make_unique<CDropTarget>(this);
    m_pDropTarget->Register(this);
    return TRUE;
}

int CKLVDockingPaneAutoHidePanel::GetPlacedSide() const {
    const CKLVDockingPaneManager* pManager = GetManager();
    return pManager ? pManager->MirrorDirection(m_nSide) : m_nSide;
}

int CKLVDockingPaneAutoHidePanel::GetThickness() {
    CKLVDockingPaneTheme* pTheme = GetPaintManager();
    CKLVTabStyle* pStyle = pTheme ? pTheme->GetAutoHidePaintManager()->GetAppearanceSet() : nullptr;
    if (!pStyle) return 0;
    CKLVDockingPaneAutoHideRow probe(this);
    const CRect rcMargins = pStyle->GetMargins();
    return pStyle->GetRowHeight(&probe) + rcMargins.top + rcMargins.bottom;
}

void CKLVDockingPaneAutoHidePanel::Layout(CWnd* pParent, CRect& rect, BOOL bMove) {
    if (IsEmpty()) {
        if (m_hWnd) DestroyWindow();
        return;
    }
    if (!m_hWnd && (!m_pLayout || m_pLayout->IsDetached() || !Create(pParent))) return;
    if (bMove && rect != m_rcLast) {
        CloseActiveWindow(FALSE);
        m_rcLast = rect;
    }
    const int nThickness = GetThickness();
    CRect rcStrip = rect;
    switch (GetPlacedSide()) {
    case klvDockLeft: rcStrip.right = rect.left += nThickness; break;
    case klvDockRight: rcStrip.left = rect.right -= nThickness; break;
    case klvDockTop: rcStrip.bottom = rect.top += nThickness; break;
    default: rcStrip.top = rect.bottom -= nThickness; break;
    }
    {
        CClientDC dc(this);
        RepositionRows(&dc, CRect(CPoint(0, 0), rcStrip.Size()));
    }
    if (!bMove) return;
    MoveWindow(&rcStrip, TRUE);
    Invalidate(FALSE);
}

void CKLVDockingPaneAutoHidePanel::RepositionRows(CDC* pDC, CRect rc) {
    m_arrRows.clear();
    const BOOL bHorizontal = IsHorizontal();
    int nStart = bHorizontal ? rc.left : rc.top;
    if (!bHorizontal && m_pLayout) {
        CKLVDockingPaneAutoHidePanel* pTop = m_pLayout->GetPanel(klvDockTop);
        if (pTop && !pTop->IsEmpty()) nStart += pTop->GetThickness();
    }
    CKLVDockingPaneTheme* pTheme = GetPaintManager();
    CKLVTabStyle* pStyle = pTheme ? pTheme->GetAutoHidePaintManager()->GetAppearanceSet() : nullptr;
    const CRect rcMargins = pStyle ? pStyle->GetMargins() : CRect();
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = GetNext(pos);
        if (pChild->IsEmpty() || pChild->GetType() != typeTabbedContainer) continue;
        auto* pGroup = static_cast<CKLVDockingPaneTabbedContainer*>(pChild);
        auto pRow = std::make_unique<CKLVDockingPaneAutoHideRow>(this);
        for (POSITION posPane = pGroup->GetHeadPosition(); posPane;) {
            auto* pPane = static_cast<CKLVDockingPane*>(pGroup->GetNext(posPane));
            CKLVTabManagerItem* pItem = pRow->AddPaneItem(pPane);
            if (pPane == pGroup->GetSelected()) pRow->SetSelectedItem(pItem);
        }
        CRect rcRow = rc;
        (bHorizontal ? rcRow.left : rcRow.top) = nStart;
        pRow->Reposition(pDC, rcRow);
        const int nLength = pRow->GetItemsLength() + rcMargins.left + rcMargins.right;
        (bHorizontal ? rcRow.right : rcRow.bottom) = nStart + nLength;
        pRow->m_rcRow = rcRow;
        nStart += nLength + nRowGap;
        m_arrRows.push_back(std::move(pRow));
    }
}

CKLVDockingPane* CKLVDockingPaneAutoHidePanel::HitTest(CPoint point) const {
    for (const auto& pRow : m_arrRows)
        if (CKLVTabManagerItem* pItem = pRow->HitTest(point)) return pRow->GetItemPane(pItem);
    return nullptr;
}

CKLVDockingPaneTabbedContainer* CKLVDockingPaneAutoHidePanel::FindGroupOf(const CKLVDockingNodeList& lstPanes) const {
    if (lstPanes.IsEmpty() || !m_pLayout) return nullptr;
    const CKLVDockingPaneInfo* pInfo = m_pLayout->FindPaneInfo(static_cast<CKLVDockingPane*>(lstPanes.GetHead()));
    if (!pInfo || !pInfo->pDockingHolder) return nullptr;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = GetNext(pos);
        if (pChild->GetType() != typeTabbedContainer) continue;
        auto* pGroup = static_cast<CKLVDockingPaneTabbedContainer*>(pChild);
        auto* pFirst = static_cast<CKLVDockingPane*>(pGroup->GetFirstPane());
        const CKLVDockingPaneInfo* pFirstInfo = pFirst ? m_pLayout->FindPaneInfo(pFirst) : nullptr;
        if (pFirstInfo && pFirstInfo->pDockingHolder == pInfo->pDockingHolder) return pGroup;
    }
    return nullptr;
}

void CKLVDockingPaneAutoHidePanel::AddContainer(CKLVDockingNode* pNode) {
    if (!pNode) return;
    m_lstPanes.AddTail(pNode);
    pNode->SetParentContainer(this);
    pNode->SetDockingSite(GetDockingSite());
    CKLVDockingPaneManager* pManager = GetManager();
    if (pManager) pManager->RecalcLayout(this, TRUE);
    pNode->OnParentChanged(this);
    if (HWND hWndGroup = pNode->GetType() == typeTabbedContainer ? pNode->GetPaneHwnd() : nullptr) {
        HWND hWndFocus = ::GetFocus();
        CWnd* pSite = GetDockingSite();
        if (hWndFocus && (hWndFocus == hWndGroup || ::IsChild(hWndGroup, hWndFocus)) && AfxGetSafeHwnd(pSite))
            pSite->SetFocus();
    }
    if (m_hWnd) Invalidate(FALSE);
}

void CKLVDockingPaneAutoHidePanel::RemovePane(CKLVDockingNode* pNode) {
    POSITION pos = m_lstPanes.Find(pNode);
    if (!pos) return;
    if (m_pActiveWnd && m_pActiveWnd->GetContainer() == pNode) {
        CKLVDockingPaneAutoHideWnd* pWnd = m_pActiveWnd;
        m_pActiveWnd = nullptr;
        pWnd->Close();
    }
    m_lstPanes.RemoveAt(pos);
    if (m_hWnd) Invalidate(FALSE);
    if (CKLVDockingPaneManager* pManager = GetManager()) pManager->RecalcLayout(this, TRUE);
    // A group's window must not go down with the panel's.
    HWND hWndGroup = pNode->GetPaneHwnd();
    CWnd* pSite = GetDockingSite();
    if (m_hWnd && hWndGroup && ::GetParent(hWndGroup) == m_hWnd && AfxGetSafeHwnd(pSite))
        ::SetParent(hWndGroup, pSite->m_hWnd);
    if (m_lstPanes.IsEmpty() && m_hWnd) DestroyWindow();
    pNode->SetParentContainer(nullptr);
}

void CKLVDockingPaneAutoHidePanel::OnChildChanged(CKLVDockingNode*) {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!m_pActiveWnd) return;
    if (CKLVDockingPaneAutoHideWnd::s_bAutoClose) {
        CloseActiveWindow(pManager && pManager->IsAttachingPane());
        return;
    }
    if (pManager) pManager->RecalcLayout(this, TRUE);
    m_pActiveWnd->RecalcLayout();
}

void CKLVDockingPaneAutoHidePanel::UpdateCaption() {
    if (!m_hWnd) return;
    CRect rcClient;
    GetClientRect(&rcClient);
    {
        CClientDC dc(this);
        RepositionRows(&dc, rcClient);
    }
    Invalidate(FALSE);
}

BOOL CKLVDockingPaneAutoHidePanel::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVDockingNode::DoPropExchange(pPX);
    long nSide = m_nSide;
    PX_Long(pPX, "Direction", nSide);
    const long nCount = KLVExchangeChildCount(pPX, this);
    if (pPX->IsLoading()) {
        if (nSide < klvDockLeft || nSide > klvDockBottom) return FALSE;
        m_nSide = static_cast<int>(nSide);
    }
    if (!KLVExchangeChildren(pPX, this, nCount, CKLVDockingLayoutRecords::Kind(typeTabbedContainer),
                             [this](CKLVDockingNode* pGroup) { AddContainer(pGroup); }))
        return FALSE;
    if (pPX->IsLoading() && m_pLayout) m_pLayout->SetPanel(m_nSide, this);
    return TRUE;
}

CKLVDockingNode* CKLVDockingPaneAutoHidePanel::Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD) {
    CKLVDockingPaneManager* pManager = GetManager();
    CKLVDockingNode* pNew = pManager ? pManager->CreateNode(typeAutoHidePanel, pLayout) : nullptr;
    if (!pNew || pNew->GetType() != typeAutoHidePanel) return nullptr;
    auto* pClone = static_cast<CKLVDockingPaneAutoHidePanel*>(pNew);
    pClone->m_nSide = m_nSide;
    pClone->m_pDockingSite = m_pDockingSite;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CKLVDockingNode* pChild = GetNext(pos);
        if (pChild->IsEmpty()) continue;
        if (CKLVDockingNode* pChildClone = pChild->Clone(pLayout, pMap)) pClone->AddContainer(pChildClone);
    }
    if (pMap) pMap->SetAt(this, pClone);
    return pClone;
}

CKLVDockingPane* CKLVDockingPaneAutoHidePanel::GetShownPane() const {
    return m_pActiveWnd ? m_pActiveWnd->GetShownPane() : nullptr;
}

void CKLVDockingPaneAutoHidePanel::OnWindowGone(CKLVDockingPaneAutoHideWnd* pWnd) {
    if (m_pActiveWnd == pWnd) m_pActiveWnd = nullptr;
}

void CKLVDockingPaneAutoHidePanel::ShowPane(CKLVDockingPane* pPane, BOOL bSetFocus) {
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pPane || !pManager || !m_hWnd || pPane->GetContainer() == nullptr ||
        pPane->GetContainer()->GetType() != typeTabbedContainer || pPane->GetContainer()->GetContainer() != this)
        return;
    CKLVHeldReference selfRef(this);
    CKLVHeldReference paneRef(pPane);
    CloseAllWindows();
    if (pManager->NotifyAction(klvActionRollingUp, pPane)) return;
    auto* pGroup = static_cast<CKLVDockingPaneTabbedContainer*>(pPane->GetContainer());
    // The owner may have moved the pane while it was told.
    if (!pGroup || pGroup->GetContainer() != this) return;
    pGroup->SelectPane(pPane, FALSE, TRUE);
    auto* pWnd = new CKLVDockingPaneAutoHideWnd(this, pGroup);
    if (!pWnd->Open()) return;
    if (bSetFocus) pGroup->SelectPane(pPane, TRUE, TRUE);
    Invalidate(FALSE);
    pManager->RecalcLayout(this, TRUE);
    m_pActiveWnd = pWnd;
}

void CKLVDockingPaneAutoHidePanel::CloseActiveWindow(BOOL bDelayed) {
    if (!CKLVDockingPaneAutoHideWnd::s_bAutoClose || !m_pActiveWnd) return;
    CKLVDockingPaneAutoHideWnd* pWnd = m_pActiveWnd;
    CKLVHeldReference wndRef(pWnd);
    if (CKLVDockingPane* pPane = pWnd->GetShownPane()) {
        CKLVDockingPaneManager* pManager = GetManager();
        if (pManager && pManager->NotifyAction(klvActionSlidingOut, pPane)) return;
        if (pManager) pManager->NotifyAction(klvActionSlidingIn, pPane);
    }
    if (bDelayed) {
        pWnd->ReleaseContainer();
        if (pWnd->GetSafeHwnd()) pWnd->SetTimer(CKLVDockingPaneAutoHideWnd::timerClose,
                                                CKLVDockingPaneAutoHideWnd::nCloseDelay, nullptr);
    } else {
        pWnd->Close();
    }
    if (m_pActiveWnd == pWnd) m_pActiveWnd = nullptr;
}

void CKLVDockingPaneAutoHidePanel::CloseAllWindows() {
    if (!m_pLayout) return;
    for (int nSide = 0; nSide < 4; nSide++)
        if (CKLVDockingPaneAutoHidePanel* pPanel = m_pLayout->GetPanel(nSide)) pPanel->CloseActiveWindow(FALSE);
}

// ---------------------------------------------------------------------------------------------

BOOL CKLVDockingPaneAutoHidePanel::OnEraseBkgnd(CDC*) { return TRUE; }

void CKLVDockingPaneAutoHidePanel::FillBackground(CDC* pDC, const CRect& rcClient) {
    CKLVDockingPaneTheme* pTheme = GetPaintManager();
    CKLVTabColors* pColors = pTheme ? pTheme->GetAutoHidePaintManager()->GetColorSet() : nullptr;
    if (!pColors) {
        pDC->FillSolidRect(rcClient, ::GetSysColor(COLOR_3DFACE));
        return;
    }
    const COLORREF clrFrom = pColors->clrAutoHideFace.m_clrFrom;
    const COLORREF clrTo = pColors->clrAutoHideFace.m_clrTo;
    if (clrFrom == clrTo) {
        pDC->FillSolidRect(rcClient, clrFrom);
        return;
    }
    // The gradient spans at least half a screen, so that neighbouring panels match.
    CRect rcGradient = rcClient;
    rcGradient.right = rcGradient.left + std::max(rcClient.Width(), ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
    if (GetPlacedSide() == klvDockRight) {
        CRect rcParent;
        if (CWnd* pParent = GetParent()) pParent->GetClientRect(&rcParent);
        rcGradient.right = rcClient.right;
        rcGradient.left = rcClient.right - std::max(rcParent.Width(), rcClient.Width());
    }
    GetDrawHelpers()->GradientFillClipped(pDC, &rcGradient, clrFrom, clrTo, TRUE, &rcClient);
}

void CKLVDockingPaneAutoHidePanel::OnPaint() {
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty()) return;
    CKLMemDC memDC(&dc, rcClient);
    FillBackground(&memDC, rcClient);
    CRect rcClip;
    dc.GetClipBox(&rcClip);
    for (const auto& pRow : m_arrRows) {
        CRect rcTest;
        if (rcTest.IntersectRect(pRow->m_rcRow, rcClip)) pRow->Draw(&memDC);
    }
}

void CKLVDockingPaneAutoHidePanel::OnMouseMove(UINT nFlags, CPoint point) {
    for (const auto& pRow : m_arrRows)
        if (pRow->GetPaintManager()) pRow->PerformMouseMove(m_hWnd, point);
    if (HitTest(point)) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_HOVER | TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&tme);
    }
    CWnd::OnMouseMove(nFlags, point);
}

void CKLVDockingPaneAutoHidePanel::OnMouseLeave() { OnMouseMove(0, CPoint(-1, -1)); }

void CKLVDockingPaneAutoHidePanel::OpenOnHover(CPoint point) {
    CKLVDockingPane* pPane = HitTest(point);
    if (pPane && pPane != GetShownPane()) ShowPane(pPane, FALSE);
}

LRESULT CKLVDockingPaneAutoHidePanel::OnMouseHover(WPARAM, LPARAM lParam) {
    CWnd* pSite = GetDockingSite();
    if (AfxGetSafeHwnd(pSite) && CKLVDrawHelpers::IsTopParentActive(pSite->m_hWnd))
        OpenOnHover(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    return 0;
}

void CKLVDockingPaneAutoHidePanel::OnLButtonDown(UINT, CPoint point) {
    CKLVDockingPane* pPane = HitTest(point);
    if (!pPane) return;
    if (pPane == GetShownPane()) pPane->SetFocus();
    else ShowPane(pPane, TRUE);
}

void CKLVDockingPaneAutoHidePanel::OnRButtonDown(UINT, CPoint point) {
    CKLVDockingPane* pPane = HitTest(point);
    CKLVDockingPaneManager* pManager = GetManager();
    if (!pPane || !pManager) return;
    pManager->NotifyOwner(klvDockingPaneRClick, reinterpret_cast<LPARAM>(static_cast<CKLVDockingNode*>(pPane)));
}

INT_PTR CKLVDockingPaneAutoHidePanel::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    for (const auto& pRow : m_arrRows) {
        if (!pRow->m_rcRow.PtInRect(point) || !pRow->GetPaintManager()) continue;
        return pRow->PerformToolHitTest(m_hWnd, point, pTI);
    }
    return -1;
}
