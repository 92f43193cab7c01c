// The MDI tab client's window messages: the MDI messages (each followed by a refresh of the
// tabs), painting, the non-client frame of the groups and the mouse over the group rows.
#include "toolkit/tabs/TabClientWnd.h"

#include "classlib/CmdUI.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"

BEGIN_MESSAGE_MAP(CKLVTabClientWnd, CWnd)
    ON_COMMAND_RANGE(CKLVTabClientWnd::idMovePrevGroup, CKLVTabClientWnd::idNewVertGroup, OnGroupCommand)
    ON_UPDATE_COMMAND_UI_RANGE(CKLVTabClientWnd::idMovePrevGroup, CKLVTabClientWnd::idNewVertGroup,
                               OnUpdateGroupCommand)
END_MESSAGE_MAP()

BOOL CKLVTabClientWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (CKLVTooltipHost::IsMouseMessage(message)) m_pToolTipContext->FilterToolTipMessage(this, message, wParam, lParam);
    if (message == m_nMsgQuerySkinState && m_bEnableGroups) {
        *pResult = 1;
        return TRUE;
    }
    switch (message) {
    case WM_MDICREATE:
    case WM_MDIACTIVATE:
    case WM_MDINEXT:
    case WM_MDIDESTROY:
    case WM_SIZE:
    case WM_IDLEUPDATECMDUI: *pResult = OnMDIMessage(message, wParam, lParam); return TRUE;
    case WM_PAINT:
    case WM_ERASEBKGND:
        if (!m_bEnableGroups && !m_bUserWindowProc) return CWnd::OnWndMsg(message, wParam, lParam, pResult);
        if (message == WM_PAINT) OnClientPaint();
        *pResult = TRUE;
        return TRUE;
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
    case WM_NCACTIVATE: *pResult = OnClientNcMessage(message, wParam, lParam); return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!m_bEnableGroups) break;
        OnClientLButtonDown(CPoint(lParam));
        *pResult = 0;
        return TRUE;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        if (m_bEnableGroups) {
            const CPoint pt = message == WM_MOUSELEAVE ? CPoint(-1, -1) : CPoint(lParam);
            for (INT_PTR i = 0; i < m_arrWorkspace.GetSize(); ++i) m_arrWorkspace[i]->PerformMouseMove(m_hWnd, pt);
        }
        break;
    case WM_SETCURSOR:
        if (m_bEnableGroups && LOWORD(lParam) == HTCLIENT) {
            CPoint pt;
            ::GetCursorPos(&pt);
            ScreenToClient(&pt);
            if (SplitterFromPoint(pt) >= 0) {
                ::SetCursor(m_bHorizSplitting ? m_hCursorVert : m_hCursorHoriz);
                *pResult = TRUE;
                return TRUE;
            }
        }
        break;
    case WM_SYSCOLORCHANGE:
        *pResult = Default();
        m_pPaintManager->RefreshMetrics();
        Refresh(TRUE);
        return TRUE;
    default: break;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

LRESULT CKLVTabClientWnd::OnMDIMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    switch (message) {
    case WM_MDICREATE:
        lResult = Default();
        if (m_bEnableGroups && lResult) OnMDICreated(reinterpret_cast<HWND>(lResult));
        break;
    case WM_MDIACTIVATE:
        if (!m_bEnableGroups && !m_bIgnoreFlickersOnActivate) {
            SetRedraw(FALSE);
            lResult = Default();
            SetRedraw(TRUE);
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        } else {
            lResult = Default();
        }
        break;
    case WM_MDIDESTROY:
        if (!m_bAutoMDIActivate) OnMDIDestroy(reinterpret_cast<HWND>(wParam));
        lResult = Default();
        break;
    case WM_SIZE:
        lResult = Default();
        m_bForceToRecalc = TRUE;
        break;
    case WM_IDLEUPDATECMDUI:
        if (m_bLockReposition) m_bLockReposition = m_bLockUpdate = FALSE;
        break;
    default: lResult = Default(); break;
    }
    (void)lParam;
    UpdateContents();
    return lResult;
}

// The group layout places the new child: it loses its frame and starts empty.
void CKLVTabClientWnd::OnMDICreated(HWND hWndChild) {
    CWnd::ModifyStyle(hWndChild, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, 0);
    CWnd::ModifyStyleEx(hWndChild, WS_EX_CLIENTEDGE, 0, 0);
    ::SetWindowPos(hWndChild, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The neighbouring tab's window comes to the top before MDI picks one.
void CKLVTabClientWnd::OnMDIDestroy(HWND hWndChild) {
    CKLVTabManagerItem* pItem = FindItem(hWndChild);
    if (!pItem) return;
    CKLVTabManager* pWorkspace = pItem->GetTabManager();
    CKLVTabManagerItem* pNext = pWorkspace->GetItem(pItem->GetIndex() + 1);
    if (!pNext) pNext = pWorkspace->GetItem(pItem->GetIndex() - 1);
    if (pNext) ::BringWindowToTop(pNext->GetHandle());
}

void CKLVTabClientWnd::OnClientLButtonDown(CPoint point) {
    LockUntilIdle();
    const int nSplitter = SplitterFromPoint(point);
    if (nSplitter >= 0) {
        TrackSplitter(nSplitter, point);
        return;
    }
    CKLVTabWorkspace* pWorkspace = WorkspaceFromPoint(point);
    if (!pWorkspace) return;
    if (pWorkspace != m_pActiveWorkspace && pWorkspace->GetSelectedItem())
        pWorkspace->SelectItem(pWorkspace->GetSelectedItem());
    pWorkspace->PerformClick(m_hWnd, point);
}

BOOL CKLVTabClientWnd::PreTranslateMessage(MSG* pMsg) {
    const UINT message = pMsg->message;
    const BOOL bButton = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                         message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
    if (m_bEnableGroups && bButton && pMsg->hwnd == m_hWnd && m_pFrame &&
        m_pFrame->SendMessage(msgTabClick, message, pMsg->lParam))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------------------------
// Group commands.

BOOL CKLVTabClientWnd::IsGroupCommandEnabled(UINT nID) const {
    CKLVTabManagerItem* pItem = m_bEnableGroups ? GetActiveTab() : nullptr;
    CKLVTabWorkspace* pWorkspace = FindWorkspace(pItem);
    if (!pWorkspace) return FALSE;
    const INT_PTR nCount = m_arrWorkspace.GetSize();
    switch (nID) {
    case idMovePrevGroup: return m_arrWorkspace[0] != pWorkspace;
    case idMoveNextGroup: return m_arrWorkspace[nCount - 1] != pWorkspace;
    case idNewHorzGroup: return (nCount == 1 || m_bHorizSplitting) && pWorkspace->GetItemCount() > 1;
    case idNewVertGroup: return (nCount == 1 || !m_bHorizSplitting) && pWorkspace->GetItemCount() > 1;
    default: return FALSE;
    }
}

void CKLVTabClientWnd::OnUpdateGroupCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(IsGroupCommandEnabled(pCmdUI->m_nID)); }

void CKLVTabClientWnd::OnGroupCommand(UINT nID) {
    if (!IsGroupCommandEnabled(nID)) return;
    CKLVTabManagerItem* pItem = GetActiveTab();
    CKLVTabWorkspace* pWorkspace = FindWorkspace(pItem);
    INT_PTR nIndex = 0;
    while (m_arrWorkspace[nIndex] != pWorkspace) ++nIndex;
    switch (nID) {
    case idMovePrevGroup: MoveItemToGroup(pItem, m_arrWorkspace[nIndex - 1], dropHeader); break;
    case idMoveNextGroup: MoveItemToGroup(pItem, m_arrWorkspace[nIndex + 1], dropHeader); break;
    case idNewHorzGroup: MoveItemToGroup(pItem, pWorkspace, dropNewStacked); break;
    default: MoveItemToGroup(pItem, pWorkspace, dropNewSideBySide); break;
    }
}
