#include "toolkit/tabs/TabWorkspace.h"

#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/tabs/TabClientWnd.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyle.h"

CKLVTabWorkspace::~CKLVTabWorkspace() { DeleteAllItems(); }

CWnd* CKLVTabWorkspace::GetHostWindow() const { return m_pClient; }

void CKLVTabWorkspace::Reposition() {
    if (!m_pClient) return;
    if (m_pClient->m_bDelayLock) m_pClient->m_bForceToRecalc = TRUE;
    else m_pClient->RecalcFrameLayout();
}

int CKLVTabWorkspace::GetItemImage(const CKLVTabManagerItem* pItem) const {
    // Window-manager handles carry their value in the low 32 bits.
    return static_cast<int>(reinterpret_cast<INT_PTR>(m_pClient->GetItemIcon(pItem)));
}

COLORREF CKLVTabWorkspace::GetItemColor(const CKLVTabManagerItem* pItem) const {
    COLORREF clr = m_pClient->GetItemColor(pItem);
    if (clr == COLORREF(-1)) clr = pItem->m_clrItem;
    return CKLVTabPainter::GetPresetItemColor(clr);
}

CString CKLVTabWorkspace::GetItemTooltip(const CKLVTabManagerItem* pItem) const {
    return m_pClient->GetItemTooltip(pItem);
}

CKLVTabPainter* CKLVTabWorkspace::GetPaintManager() const { return m_pClient->GetPaintManager(); }

void CKLVTabWorkspace::RedrawControl(const RECT* lpRect, BOOL) {
    if (!m_pClient || m_pClient->m_bDelayLock) return;
    CWnd* pHost = GetHostWindow();
    if (pHost && pHost->GetSafeHwnd()) pHost->InvalidateRect(lpRect, FALSE);
}

BOOL CKLVTabWorkspace::IsAllowReorder() const { return m_pClient->m_bAllowReorder; }

void CKLVTabWorkspace::SetAllowReorder(BOOL bAllowReorder) { m_pClient->m_bAllowReorder = bAllowReorder; }

BOOL CKLVTabWorkspace::IsDrawStaticFrame() const {
    return GetPaintManager()->m_bStaticFrame && !m_pClient->IsGroupsEnabled();
}

BOOL CKLVTabWorkspace::DrawIcon(CDC* pDC, CPoint pt, CKLVTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) {
    if (!GetPaintManager()->m_bShowIcons) return FALSE;
    if (bDraw && pDC)
        ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, m_pClient->GetItemIcon(pItem), szIcon.cx, szIcon.cy, 0, nullptr,
                     DI_NORMAL);
    return TRUE;
}

void CKLVTabWorkspace::SelectItem(CKLVTabManagerItem* pItem) {
    if (!pItem) return;
    const HWND hWndChild = pItem->GetHandle();
    m_pClient->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWndChild));
    const HWND hWndFocus = ::GetFocus();
    if (hWndFocus == hWndChild || ::IsChild(hWndChild, hWndFocus)) return;
    // A window whose owner frame belongs to the child (a floating tool of its view) keeps it.
    for (HWND hWndOwner = ::GetWindow(hWndFocus, GW_OWNER); hWndOwner; hWndOwner = ::GetWindow(hWndOwner, GW_OWNER))
        if (hWndOwner == hWndChild || ::IsChild(hWndChild, hWndOwner)) return;
    ::SetFocus(hWndChild);
}

BOOL CKLVTabWorkspace::OnBeforeItemClick(CKLVTabManagerItem* pItem) { return m_pClient->OnBeforeItemClick(pItem); }

void CKLVTabWorkspace::ReorderItem(HWND, CPoint pt, CKLVTabManagerItem* pItem) {
    m_pClient->TrackGroupDrag(this, pt, pItem);
}

void CKLVTabWorkspace::OnNavigateButtonClick(CKLVTabManagerNavigateButton* pButton) {
    if (pButton->m_nID != CKLVTabManagerNavigateButton::idClose) return;
    CKLVTabManagerItem* pItem = pButton->m_pItem ? pButton->m_pItem : GetSelectedItem();
    if (!pItem) return;
    m_pClient->PostMessage(WM_IDLEUPDATECMDUI);
    ::SendMessageA(pItem->GetHandle(), WM_CLOSE, 0, 0);
}

BOOL CKLVTabWorkspace::IsMouseLocked() const { return !KLVMouseHook()->GetTrackedPopups().empty(); }

// ---------------------------------------------------------------------------------------------
// The workspace window (no groups).

BEGIN_MESSAGE_MAP(CKLVTabWorkspaceWnd, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CKLVTabWorkspaceWnd::~CKLVTabWorkspaceWnd() {
    DeleteAllItems();
    if (m_hWnd) DestroyWindow();
}

BOOL CKLVTabWorkspaceWnd::PreTranslateMessage(MSG* pMsg) {
    const UINT message = pMsg->message;
    const BOOL bButton = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                         message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
    if (bButton && pMsg->hwnd == m_hWnd && m_pClient && m_pClient->GetFrame() &&
        m_pClient->GetFrame()->SendMessage(CKLVTabClientWnd::msgTabClick, message, pMsg->lParam))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CKLVTabWorkspaceWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (m_pClient && CKLVTooltipHost::IsMouseMessage(message))
        m_pClient->m_pToolTipContext->FilterToolTipMessage(this, message, wParam, lParam);
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

INT_PTR CKLVTabWorkspaceWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    if (!m_pClient || !m_pClient->m_bShowWorkspace || IsMouseLocked()) return -1;
    return const_cast<CKLVTabWorkspaceWnd*>(this)->PerformToolHitTest(m_hWnd, point, pTI);
}

void CKLVTabWorkspaceWnd::OnLButtonDown(UINT, CPoint point) {
    if (m_pClient) m_pClient->LockUntilIdle();
    PerformClick(m_hWnd, point);
}

void CKLVTabWorkspaceWnd::OnLButtonDblClk(UINT nFlags, CPoint point) { OnLButtonDown(nFlags, point); }

void CKLVTabWorkspaceWnd::OnMouseMove(UINT, CPoint point) { PerformMouseMove(m_hWnd, point); }

void CKLVTabWorkspaceWnd::OnMouseLeave() { PerformMouseMove(m_hWnd, CPoint(-1, -1)); }

void CKLVTabWorkspaceWnd::OnPaint() {
    CPaintDC dc(this);
    CKLVBufferDC buffer(dc);
    GetPaintManager()->DrawTabControl(this, &buffer, GetControlRect());
}

BOOL CKLVTabWorkspaceWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CKLVTabWorkspaceWnd::OnRButtonDown(UINT, CPoint) {}

// ---------------------------------------------------------------------------------------------
// The list button.

CKLVTabWorkspaceListButton::CKLVTabWorkspaceListButton(CKLVTabWorkspace* pWorkspace)
    : CKLVTabManagerNavigateButton(pWorkspace, idTabList, showNever) {
    m_strToolTip.LoadString(CKLVTabClientWnd::idActiveFiles);
}

void CKLVTabWorkspaceListButton::Reposition(CRect& rcRow) {
    const CRect rcMargins = m_pManager->GetPaintManager()->GetAppearanceSet()->GetMargins();
    const BOOL bHorizontal = IsHorizontalRow();
    const int nRow = bHorizontal ? rcRow.Width() : rcRow.Height();
    const int nOwn = bHorizontal ? GetSize().cx : GetSize().cy;
    m_bMore = nRow - rcMargins.left - rcMargins.right - nOwn < m_pManager->GetItemsLength();
    CKLVTabManagerNavigateButton::Reposition(rcRow);
}

void CKLVTabWorkspaceListButton::Draw(CDC* pDC, CRect rc) {
    const CPoint c = rc.CenterPoint();
    const POINT wedge[] = {{c.x - 4, c.y}, {c.x - 1, c.y + 3}, {c.x, c.y + 3}, {c.x + 3, c.y}};
    pDC->Polygon(wedge, 4);
    if (m_bMore) pDC->Rectangle(c.x - 4, c.y - 4, c.x + 4, c.y - 2);
}

void CKLVTabWorkspaceListButton::PerformClick(HWND, CPoint) {
    auto* pWorkspace = static_cast<CKLVTabWorkspace*>(m_pManager);
    if (pWorkspace->m_pClient) pWorkspace->m_pClient->ShowTabList(pWorkspace, this);
}
