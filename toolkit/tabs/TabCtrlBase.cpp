// The tab control's pages: adding, finding, showing, moving and deleting them, the frame's active
// view kept in step, and the keyboard and commands that reach them.
#include "toolkit/tabs/TabCtrlBase.h"

#include "classlib/DocTemplate.h"
#include "classlib/Document.h"
#include "classlib/Exceptions.h"
#include "classlib/FrameWnd.h"
#include "classlib/Menu.h"
#include "classlib/MiniFrameWnd.h"
#include "classlib/View.h"
#include "toolkit/tabs/TabCtrlButtons.h"
#include "toolkit/tabs/TabCtrlThemes.h"

namespace {

const UINT kInitialUpdate = 0x0364;   // WM_INITIALUPDATE

BOOL IsWindowGone(const CWnd* pWnd) { return !pWnd || !::IsWindow(pWnd->GetSafeHwnd()); }

}  // namespace

CKLTabCtrlBase::CKLTabCtrlBase() { SetFactory(CreateStyleFactory()); }

CKLTabCtrlBase::~CKLTabCtrlBase() = default;

CRuntimeClass* CKLTabCtrlBase::CreateStyleFactory() {
    return RUNTIME_CLASS(CKLTabBaseThemeFactory);
}

CKLTabCtrlStyle* CKLTabCtrlBase::GetTabStyle() { return dynamic_cast<CKLTabCtrlStyle*>(GetTheme()); }

void CKLTabCtrlBase::OnThemeChanged() {
    CKLTabCtrlStyle* pStyle = GetTabStyle();
    if (!pStyle) return;
    for (const auto& pRecord : m_lstItems)
        if (!IsWindowGone(pRecord->pWnd)) pStyle->PreparePage(*pRecord);
    if (m_pTabCtrl && m_pTabCtrl->GetSafeHwnd()) m_pTabCtrl->Invalidate();
}

void CKLTabCtrlBase::Attach(CTabCtrl* pTabCtrl) { m_pTabCtrl = pTabCtrl; }

void CKLTabCtrlBase::PreSubclassWindow() {
    if (m_bPreSubclassInit) Init();
}

void CKLTabCtrlBase::Init() {
    if (!m_pTabCtrl || !m_pTabCtrl->GetSafeHwnd()) return;
    if (!m_pButtons) {
        m_pButtons = std::make_unique<CKLTabCtrlButtons>();
        m_pButtons->Attach(this);
    }
    if (m_bInitialUpdate) m_pTabCtrl->SendMessageToDescendants(kInitialUpdate, 0, 0, TRUE, TRUE);
    UpdateFont();
    m_pParentWnd = m_pTabCtrl->GetParent();
    m_pParentFrame = m_pTabCtrl->GetParentFrame();
    if (m_pParentFrame && m_pParentFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        m_pParentFrame = m_pParentFrame->GetParentFrame();
    RepositionViews();
    if (m_bAutoCondense) Condense();
    m_pTabCtrl->ModifyStyle(0, WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
}

// ---------------------------------------------------------------------------------------------
// The page rectangle and the page moves.

void CKLTabCtrlBase::GetChildRect(CRect& rcChild) const {
    rcChild.SetRectEmpty();
    const int nSel = m_pTabCtrl->GetCurSel();
    if (nSel == -1) return;
    m_pTabCtrl->GetClientRect(&rcChild);
    rcChild.DeflateRect(4, 4);
    CRect rcTab;
    m_pTabCtrl->GetItemRect(nSel, &rcTab);
    rcTab.InflateRect(1, 1);
    const int nRows = m_pTabCtrl->GetRowCount();
    const DWORD dwStyle = m_pTabCtrl->GetStyle();
    if (dwStyle & TCS_VERTICAL) {
        if (dwStyle & TCS_RIGHT) rcChild.right -= rcTab.Width() * nRows;
        else rcChild.left += rcTab.Width() * nRows;
    } else if (dwStyle & TCS_BOTTOM) {
        rcChild.bottom -= rcTab.Height() * nRows;
    } else {
        rcChild.top += rcTab.Height() * nRows;
    }
}

HDWP CKLTabCtrlBase::DeferViewPos(HDWP hDWP, CWnd* pView, const CRect& rcChild) {
    CRect rcWindow;
    pView->GetWindowRect(&rcWindow);
    m_pTabCtrl->ScreenToClient(&rcWindow);
    if (rcWindow == rcChild) return hDWP;
    UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    if (rcWindow.TopLeft() == rcChild.TopLeft()) nFlags |= SWP_NOMOVE;
    if (rcWindow.Size() == rcChild.Size()) nFlags |= SWP_NOSIZE;
    else nFlags |= SWP_NOCOPYBITS;
    return ::DeferWindowPos(hDWP, pView->GetSafeHwnd(), nullptr, rcChild.left, rcChild.top, rcChild.Width(),
                            rcChild.Height(), nFlags);
}

void CKLTabCtrlBase::RepositionViews() {
    if (!m_pTabCtrl || !m_pTabCtrl->GetSafeHwnd()) return;
    CRect rcChild;
    GetChildRect(rcChild);
    HDWP hDWP = ::BeginDeferWindowPos(static_cast<int>(m_lstItems.size()));
    for (const auto& pRecord : m_lstItems)
        if (hDWP && !IsWindowGone(pRecord->pWnd)) hDWP = DeferViewPos(hDWP, pRecord->pWnd, rcChild);
    if (hDWP) ::EndDeferWindowPos(hDWP);
}

void CKLTabCtrlBase::MoveToChildRect(CWnd* pView) {
    CRect rcChild;
    GetChildRect(rcChild);
    if (HDWP hDWP = ::BeginDeferWindowPos(1)) {
        hDWP = DeferViewPos(hDWP, pView, rcChild);
        if (hDWP) ::EndDeferWindowPos(hDWP);
    }
}

// ---------------------------------------------------------------------------------------------
// Adding and finding pages.

CWnd* CKLTabCtrlBase::CreateView(CRuntimeClass* pViewClass, CDocument* pDocument, CCreateContext* pContext) {
    CCreateContext context;
    if (!pContext) {
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentDoc = pDocument;
        context.m_pNewDocTemplate = pDocument ? pDocument->GetDocTemplate() : nullptr;
        pContext = &context;
    }
    CObject* pObject = pViewClass ? pViewClass->CreateObject() : nullptr;
    auto* pWnd = DYNAMIC_DOWNCAST(CWnd, pObject);
    if (!pWnd) {
        delete pObject;
        AfxThrowResourceException();
    }
    DWORD dwStyle = WS_CHILD | WS_VISIBLE;
    CKLTabCtrlStyle* pStyle = GetTabStyle();
    if (!pStyle || !pStyle->IsDrawingPageFrame()) dwStyle |= WS_BORDER;
    const UINT nID = AFX_IDW_PANE_FIRST + static_cast<UINT>(m_pTabCtrl->GetItemCount());
    if (!pWnd->Create(nullptr, nullptr, dwStyle, CRect(0, 0, 0, 0), m_pTabCtrl, nID, pContext)) {
        // A view deletes itself when its window fails; any other window is ours to delete.
        if (!pWnd->IsKindOf(RUNTIME_CLASS(CView))) delete pWnd;
        return nullptr;
    }
    if (m_bInitialUpdate) pWnd->SendMessage(kInitialUpdate);
    return pWnd;
}

BOOL CKLTabCtrlBase::AddView(LPCTSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext,
                             int nIndex, int nImage) {
    CWnd* pWnd = CreateView(pViewClass, pDoc, pContext);
    return pWnd ? AddControl(lpszLabel, pWnd, nIndex, nImage) : FALSE;
}

BOOL CKLTabCtrlBase::AddControl(LPCTSTR lpszLabel, CWnd* pWnd, int nIndex, int nImage) {
    if (!pWnd || !m_pTabCtrl) return FALSE;
    pWnd->SetParent(m_pTabCtrl);
    auto pRecord = std::make_unique<CKLTabCtrlItem>();
    const int nCount = m_pTabCtrl->GetItemCount();
    pRecord->nIndex = nCount;
    pRecord->pWnd = pWnd;
    pRecord->strLabel = pRecord->strToolTip = pRecord->strShownLabel = lpszLabel;
    pRecord->dwSavedStyle = pWnd->GetStyle();
    pRecord->dwSavedExStyle = pWnd->GetExStyle();
    if (nIndex < 0 || nIndex > static_cast<int>(m_lstItems.size())) nIndex = static_cast<int>(m_lstItems.size());
    if (nImage == -1) nImage = nCount;
    if (CKLTabCtrlStyle* pStyle = GetTabStyle()) pStyle->PreparePage(*pRecord);
    m_lstItems.insert(m_lstItems.begin() + nIndex, std::move(pRecord));
    for (int i = 0; i < static_cast<int>(m_lstItems.size()); ++i) m_lstItems[i]->nIndex = i;

    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    CString strLabel(lpszLabel);
    item.pszText = const_cast<LPSTR>(static_cast<LPCTSTR>(strLabel));
    item.iImage = nImage;
    m_pTabCtrl->SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item));
    AddToolTip(nIndex, lpszLabel);
    ResetToolTips();
    SetActiveView(nIndex);
    if (m_bAutoCondense) Condense();
    return TRUE;
}

CKLTabCtrlItem* CKLTabCtrlBase::FindRecord(int nTab) const {
    for (const auto& pRecord : m_lstItems)
        if (pRecord->nIndex == nTab) return pRecord.get();
    return nullptr;
}

int CKLTabCtrlBase::FindIndex(CWnd* pView) const {
    for (const auto& pRecord : m_lstItems)
        if (pView && pRecord->pWnd == pView) return pRecord->nIndex;
    return -1;
}

int CKLTabCtrlBase::FindIndex(CRuntimeClass* pViewClass) const {
    for (const auto& pRecord : m_lstItems)
        if (!IsWindowGone(pRecord->pWnd) && pRecord->pWnd->IsKindOf(pViewClass)) return pRecord->nIndex;
    return -1;
}

CWnd* CKLTabCtrlBase::GetView(int nView) const {
    if (!m_pTabCtrl || nView < 0 || nView >= m_pTabCtrl->GetItemCount()) return nullptr;
    CKLTabCtrlItem* pRecord = FindRecord(nView);
    return pRecord && !IsWindowGone(pRecord->pWnd) ? pRecord->pWnd : nullptr;
}

CWnd* CKLTabCtrlBase::GetView(CRuntimeClass* pViewClass) const { return GetView(FindIndex(pViewClass)); }

CWnd* CKLTabCtrlBase::GetActiveView() const { return m_pTabCtrl ? GetView(m_pTabCtrl->GetCurSel()) : nullptr; }

BOOL CKLTabCtrlBase::IsView(CWnd* pView) const { return FindIndex(pView) >= 0; }

CString CKLTabCtrlBase::GetViewLabel(int nView) const {
    CKLTabCtrlItem* pRecord = FindRecord(nView);
    return pRecord ? pRecord->strLabel : CString();
}

CString CKLTabCtrlBase::GetViewLabel(CRuntimeClass* pViewClass) const { return GetViewLabel(FindIndex(pViewClass)); }

int CKLTabCtrlBase::HitTest(CPoint pt) const {
    if (pt == CPoint(0, 0)) {
        ::GetCursorPos(&pt);
        m_pTabCtrl->ScreenToClient(&pt);
    }
    TCHITTESTINFO info = {pt, 0};
    return m_pTabCtrl->HitTest(&info);
}

// ---------------------------------------------------------------------------------------------
// Showing pages, the frame's active view.

void CKLTabCtrlBase::ReleaseActiveView(CWnd* pView) {
    if (!m_pParentFrame || !pView || m_pParentFrame->GetActiveView() != pView) return;
    CView* pLast = IsWindowGone(m_pLastActiveView) ? nullptr : DYNAMIC_DOWNCAST(CView, m_pLastActiveView);
    m_pParentFrame->SetActiveView(pLast);
}

void CKLTabCtrlBase::ActivateView(CWnd* pView) {
    for (const auto& pRecord : m_lstItems) {
        if (IsWindowGone(pRecord->pWnd)) continue;
        pRecord->pWnd->ShowWindow(SW_HIDE);
        pRecord->pWnd->EnableWindow(FALSE);
    }
    if (IsWindowGone(pView)) return;
    if (m_pParentFrame) {
        CView* pActive = m_pParentFrame->GetActiveView();
        auto* pNewView = DYNAMIC_DOWNCAST(CView, pView);
        if (pActive && pActive != pView && IsView(pActive) && pNewView) m_pParentFrame->SetActiveView(pNewView);
    }
    pView->ShowWindow(SW_SHOW);
    pView->EnableWindow(TRUE);
    pView->SetFocus();
    MoveToChildRect(pView);
}

void CKLTabCtrlBase::SetActiveView(int nActiveTab) {
    m_pTabCtrl->SetCurSel(nActiveTab);
    ActivateView(GetView(nActiveTab));
}

void CKLTabCtrlBase::SetActiveView(CWnd* pView) { SetActiveView(FindIndex(pView)); }

void CKLTabCtrlBase::SetActiveView(CRuntimeClass* pViewClass) { SetActiveView(FindIndex(pViewClass)); }

void CKLTabCtrlBase::OnSelChanging() {
    m_nPreviousSel = m_pTabCtrl->GetCurSel();
    CWnd* pOwner = m_pTabCtrl->GetOwner();
    if (pOwner)
        pOwner->SendMessage(msgSelChanging, static_cast<WPARAM>(m_pTabCtrl->GetDlgCtrlID()),
                            reinterpret_cast<LPARAM>(m_pTabCtrl));
}

void CKLTabCtrlBase::OnSelChange() {
    if (CWnd* pPrevious = GetView(m_nPreviousSel)) {
        ReleaseActiveView(pPrevious);
        pPrevious->ShowWindow(SW_HIDE);
        pPrevious->EnableWindow(FALSE);
    }
    CWnd* pView = GetActiveView();
    auto* pNewView = DYNAMIC_DOWNCAST(CView, pView);
    if (pNewView && m_pParentFrame && pNewView->GetParentFrame() == m_pParentFrame) {
        CView* pActive = m_pParentFrame->GetActiveView();
        if (pActive && !IsView(pActive)) m_pLastActiveView = pActive;
        m_pParentFrame->SetActiveView(pNewView);
    }
    ActivateView(pView);
}

// ---------------------------------------------------------------------------------------------
// Deleting pages.

void CKLTabCtrlBase::RemoveListItem(int nIndex, BOOL bDestroyWnd) {
    for (auto it = m_lstItems.begin(); it != m_lstItems.end(); ++it) {
        if ((*it)->nIndex != nIndex) continue;
        CWnd* pWnd = (*it)->pWnd;
        m_lstItems.erase(it);
        if (!IsWindowGone(pWnd)) {
            if (bDestroyWnd) pWnd->DestroyWindow();
            else pWnd->ShowWindow(SW_HIDE);
        }
        break;
    }
    for (auto& pRecord : m_lstItems)
        if (pRecord->nIndex > nIndex) --pRecord->nIndex;
}

void CKLTabCtrlBase::DeleteView(int nView, BOOL bDestroyWnd) {
    if (nView < 0 || nView >= m_pTabCtrl->GetItemCount()) return;
    ReleaseActiveView(GetView(nView));
    RemoveListItem(nView, bDestroyWnd);
    m_pTabCtrl->DeleteItem(nView);
    const int nCount = m_pTabCtrl->GetItemCount();
    if (nCount > 0) {
        // The first tab's successor, the new last, or the tab before a middle one.
        const int nSelect = nView == 0 ? 0 : nView >= nCount ? nCount - 1 : nView - 1;
        SetActiveView(nSelect);
    }
    ResetToolTips();
    RepositionViews();
    if (m_bAutoCondense) Condense();
}

void CKLTabCtrlBase::DeleteView(CWnd* pView, BOOL bDestroyWnd) { DeleteView(FindIndex(pView), bDestroyWnd); }

void CKLTabCtrlBase::DeleteView(CRuntimeClass* pViewClass, BOOL bDestroyWnd) {
    DeleteView(FindIndex(pViewClass), bDestroyWnd);
}

void CKLTabCtrlBase::DeleteAllViews(BOOL bDestroyWnd) {
    while (!m_lstItems.empty()) {
        CWnd* pWnd = m_lstItems.back()->pWnd;
        ReleaseActiveView(pWnd);
        RemoveListItem(m_lstItems.back()->nIndex, bDestroyWnd);
    }
    if (m_pTabCtrl && m_pTabCtrl->GetSafeHwnd()) m_pTabCtrl->DeleteAllItems();
    m_pLastActiveView = nullptr;
    m_nPreviousSel = -1;
}

// ---------------------------------------------------------------------------------------------
// Keyboard, commands, context menu, moves.

BOOL CKLTabCtrlBase::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN || !m_pTabCtrl) return FALSE;
    const BOOL bSwitch = (pMsg->wParam == VK_TAB && ::GetKeyState(VK_CONTROL) < 0) || pMsg->wParam == VK_F6;
    const int nCount = m_pTabCtrl->GetItemCount();
    if (!bSwitch || nCount == 0) return FALSE;
    const int nStep = ::GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    const int nNext = (m_pTabCtrl->GetCurSel() + nStep + nCount) % nCount;
    OnSelChanging();
    m_pTabCtrl->SetCurSel(nNext);
    OnSelChange();
    m_pTabCtrl->SetFocus();
    return TRUE;
}

BOOL CKLTabCtrlBase::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    CWnd* pView = GetActiveView();
    return pView && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CKLTabCtrlBase::SetMenu(UINT nMenuID, int nSubMenu) {
    m_nMenuID = nMenuID;
    m_nMenuIndex = nSubMenu;
}

void CKLTabCtrlBase::OnRButtonDown(CPoint point) {
    if (!m_nMenuID) return;
    CMenu menu;
    if (!menu.LoadMenu(m_nMenuID)) return;
    CMenu* pPopup = menu.GetSubMenu(m_nMenuIndex);
    if (!pPopup) return;
    m_pTabCtrl->ClientToScreen(&point);
    CWnd* pTarget = m_pTabCtrl->GetParentFrame();
    pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, pTarget ? pTarget : m_pTabCtrl->GetParent());
}

void CKLTabCtrlBase::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    if (lpwndpos->flags & SWP_HIDEWINDOW) {
        for (const auto& pRecord : m_lstItems) ReleaseActiveView(pRecord->pWnd);
    } else {
        RepositionViews();
    }
}

BOOL CKLTabCtrlBase::ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    if (!m_pTabCtrl->ModifyStyle(dwRemove, dwAdd, nFlags)) return FALSE;
    UpdateFont();
    return TRUE;
}
