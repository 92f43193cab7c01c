// Tab groups: moving a tab into another or a new group, the splitter drag, the group drag with
// its outline on the desktop, and the popups of the tab rows (tab list, workspace menu).
#include "toolkit/tabs/TabClientWnd.h"

#include "classlib/DocTemplate.h"
#include "toolkit/commandbars/manager/CommandMenu.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/SplitterTracker.h"
#include "toolkit/tabs/TabMouseLoop.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Paints what waits to be painted in the window's top-level window now, so that an outline drawn
// next is not painted over.
void FlushPaint(HWND hWnd) {
    ::RedrawWindow(::GetAncestor(hWnd, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The drop target's outline, drawn on the locked desktop while a tab is dragged out of its row.
// Whatever ends the drag, the outline is erased, the desktop unlocked and its DC released.
class CGroupDragOutline {
public:
    CGroupDragOutline() = default;
    ~CGroupDragOutline() { End(); }
    CGroupDragOutline(const CGroupDragOutline&) = delete;
    CGroupDragOutline& operator=(const CGroupDragOutline&) = delete;

    BOOL IsActive() const { return m_hDC != nullptr; }
    void Begin(HWND hWnd) {
        if (m_hDC) return;
        FlushPaint(hWnd);
        const HWND hDesktop = ::GetDesktopWindow();
        m_bLocked = ::LockWindowUpdate(hDesktop);
        m_hDC = ::GetDCEx(hDesktop, nullptr,
                          m_bLocked ? DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE : DCX_WINDOW | DCX_CACHE);
    }
    // Draws the new outline (screen coordinates) where it differs from the last one.
    void Move(const CRect& rc) {
        if (!m_hDC || rc == m_rcLast) return;
        if (!m_rcLast.IsRectEmpty()) Frame(m_rcLast);
        m_rcLast = rc;
        if (!m_rcLast.IsRectEmpty()) Frame(m_rcLast);
    }
    void End() {
        if (!m_hDC) return;
        Move(CRect());
        ::ReleaseDC(::GetDesktopWindow(), m_hDC);
        m_hDC = nullptr;
        if (m_bLocked) ::LockWindowUpdate(nullptr);
        m_bLocked = FALSE;
    }
    const CRect& GetLast() const { return m_rcLast; }

private:
    // An inverted frame of the system's frame thickness; drawing it twice erases it.
    void Frame(const CRect& rc) const {
        const int cx = std::min(::GetSystemMetrics(SM_CXFRAME), rc.Width() / 2);
        const int cy = std::min(::GetSystemMetrics(SM_CYFRAME), rc.Height() / 2);
        const HGDIOBJ hOld = ::SelectObject(m_hDC, ::GetStockObject(GRAY_BRUSH));
        ::PatBlt(m_hDC, rc.left, rc.top, rc.Width() - cx, cy, PATINVERT);
        ::PatBlt(m_hDC, rc.right - cx, rc.top, cx, rc.Height() - cy, PATINVERT);
        ::PatBlt(m_hDC, rc.left + cx, rc.bottom - cy, rc.Width() - cx, cy, PATINVERT);
        ::PatBlt(m_hDC, rc.left, rc.top + cy, cx, rc.Height() - cy, PATINVERT);
        ::SelectObject(m_hDC, hOld);
    }

    HDC m_hDC = nullptr;
    BOOL m_bLocked = FALSE;
    CRect m_rcLast;
};

// Moves a tab from its workspace to the end of another, keeping its colour.
void MoveTab(CKLVTabManagerItem* pItem, CKLVTabWorkspace* pTarget) {
    CKLVHeldReference ref(pItem);
    pItem->InternalAddRef();   // the reference the target takes over
    const COLORREF clrItem = pItem->m_clrItem;
    pItem->GetTabManager()->DeleteItem(pItem->GetIndex());
    pTarget->InsertItem(-1, pItem);
    pItem->m_clrItem = clrItem;
    pTarget->SetSelectedItem(pItem);
}

}  // namespace

void CKLVTabClientWnd::MoveItemToGroup(CKLVTabManagerItem* pItem, CKLVTabWorkspace* pTarget, int nDropState) {
    CKLVTabWorkspace* pOld = FindWorkspace(pItem);
    if (!pOld || !pTarget) return;
    m_bLockUpdate = TRUE;
    m_bDelayLock = TRUE;
    if (nDropState == dropHeader) {
        if (pTarget != pOld) MoveTab(pItem, pTarget);
    } else if (nDropState == dropNewStacked || nDropState == dropNewSideBySide) {
        SharesFromRects();
        INT_PTR nIndex = 0;
        while (m_arrWorkspace[nIndex] != pOld) ++nIndex;
        if (CKLVTabWorkspace* pNew = AddWorkspace(static_cast<int>(nIndex + 1))) {
            MoveTab(pItem, pNew);
            pNew->m_dHeight = (pOld->m_dHeight - m_nSplitterSize) * 0.5;
            pOld->m_dHeight = pOld->m_dHeight - pNew->m_dHeight - m_nSplitterSize;
            m_bHorizSplitting = nDropState == dropNewStacked;
        }
    }
    // The group left behind shows the tab of its topmost window.
    if (pOld->GetItemCount() > 1) {
        for (HWND hWnd = ::GetWindow(m_hWnd, GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
            CKLVTabManagerItem* pTop = FindItem(hWnd);
            if (pTop && pTop->GetTabManager() == pOld) {
                pOld->SetSelectedItem(pTop);
                break;
            }
        }
    }
    m_bLockUpdate = FALSE;
    m_bDelayLock = FALSE;
    m_bForceToRecalc = TRUE;
    UpdateContents();
}

// ---------------------------------------------------------------------------------------------
// Splitters.

std::pair<int, int> CKLVTabClientWnd::GetSplitterSpan(int nSplitter) const {
    const CRect rcFirst = m_arrWorkspace[nSplitter]->GetControlRect();
    const CRect rcSecond = m_arrWorkspace[nSplitter + 1]->GetControlRect();
    return m_bHorizSplitting ? std::make_pair(static_cast<int>(rcFirst.top), static_cast<int>(rcSecond.bottom))
                             : std::make_pair(static_cast<int>(rcFirst.left), static_cast<int>(rcSecond.right));
}

void CKLVTabClientWnd::TrackSplitter(int nSplitter, CPoint point) {
    SharesFromRects();
    CKLVTabWorkspace* pFirst = m_arrWorkspace[nSplitter];
    const BOOL bStacked = m_bHorizSplitting;
    const CRect rcFirst = pFirst->GetControlRect();
    const auto span = GetSplitterSpan(nSplitter);
    const int nMin = span.first;
    const int nMax = span.second - m_nSplitterSize;
    if (m_bOutlineSplitter) {
        CRect rcTracker = pFirst->m_rcSplitter;
        CRect rcBounds = bStacked ? CRect(rcFirst.left, nMin, rcFirst.right, nMax) : CRect(nMin, rcFirst.top, nMax, rcFirst.bottom);
        ClientToScreen(&rcTracker);
        ClientToScreen(&rcBounds);
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        CKLVSplitterTracker tracker;
        if (tracker.Track(this, rcBounds.left, rcBounds.top, rcBounds.right, rcBounds.bottom, &rcTracker, ptScreen,
                          !bStacked)) {
            ScreenToClient(&rcTracker);
            ApplySplitterPosition(nSplitter, bStacked ? rcTracker.top : rcTracker.left);
        }
        return;
    }
    CKLVTabMouseLoop loop(m_hWnd);
    const int nGrab = (bStacked ? pFirst->m_rcSplitter.top - point.y : pFirst->m_rcSplitter.left - point.x);
    for (;;) {
        FlushPaint(m_hWnd);
        if (loop.Next() != CKLVTabMouseLoop::eventMessage) break;
        const UINT nMessage = loop.GetMessageId();
        if (nMessage == WM_MOUSEMOVE) {
            const CPoint pt = loop.GetPoint();
            ApplySplitterPosition(nSplitter, std::clamp(static_cast<int>(bStacked ? pt.y : pt.x) + nGrab, nMin, std::max(nMin, nMax)));
        } else if (nMessage == WM_LBUTTONUP || (nMessage == WM_KEYDOWN && loop.GetMsg().wParam == VK_ESCAPE)) {
            break;
        } else {
            loop.Dispatch();
        }
    }
}

void CKLVTabClientWnd::ApplySplitterPosition(int nSplitter, int nPosition) {
    CKLVTabWorkspace* pFirst = m_arrWorkspace[nSplitter];
    CKLVTabWorkspace* pSecond = m_arrWorkspace[nSplitter + 1];
    const BOOL bStacked = m_bHorizSplitting;
    const auto span = GetSplitterSpan(nSplitter);
    const int nStart = span.first;
    const int nExtent = span.second - nStart;
    if (nExtent <= 0) return;
    const double dSum = pFirst->m_dHeight + pSecond->m_dHeight + m_nSplitterSize;
    double dFirst = static_cast<double>(nPosition - nStart) / nExtent * dSum;
    if (!bStacked && (GetExStyle() & WS_EX_LAYOUTRTL)) dFirst = dSum - dFirst - m_nSplitterSize;
    pFirst->m_dHeight = std::max(0.0, dFirst);
    pSecond->m_dHeight = std::max(0.0, dSum - pFirst->m_dHeight - m_nSplitterSize);
    RecalcFrameLayout();
}

// ---------------------------------------------------------------------------------------------
// The group drag.

int CKLVTabClientWnd::HitTestDropState(CKLVTabWorkspace* pSource, CPoint pt, CKLVTabWorkspace*& pTarget,
                                       CRect& rcTarget) const {
    pTarget = nullptr;
    CRect rcClient;
    GetClientRect(&rcClient);
    rcTarget = rcClient;
    if (!rcClient.PtInRect(pt)) {
        rcTarget.SetRectEmpty();
        return dropNone;
    }
    const INT_PTR nCount = m_arrWorkspace.GetSize();
    for (INT_PTR i = 0; i < nCount; ++i) {
        CKLVTabWorkspace* pWorkspace = m_arrWorkspace[i];
        const CRect rcControl = pWorkspace->GetControlRect();
        if (pWorkspace->GetHeaderRect().PtInRect(pt)) {
            pTarget = pWorkspace;
            rcTarget = rcControl;
            return dropHeader;
        }
        if (!rcControl.PtInRect(pt)) continue;
        // The only tab of a group cannot split its own group.
        if (pWorkspace == pSource && pWorkspace->GetItemCount() < 2) break;
        if ((nCount == 1 || m_bHorizSplitting) && pt.y > rcControl.bottom - nSplitDropZone) {
            pTarget = pWorkspace;
            rcTarget.SetRect(rcControl.left, rcControl.CenterPoint().y, rcControl.right, rcControl.bottom);
            return dropNewStacked;
        }
        if ((nCount == 1 || !m_bHorizSplitting) && pt.x > rcControl.right - nSplitDropZone) {
            pTarget = pWorkspace;
            rcTarget.SetRect(rcControl.CenterPoint().x, rcControl.top, rcControl.right, rcControl.bottom);
            return dropNewSideBySide;
        }
        break;
    }
    return dropClient;
}

void CKLVTabClientWnd::TrackGroupDrag(CKLVTabWorkspace* pWorkspace, CPoint pt, CKLVTabManagerItem* pItem) {
    if (m_arrWorkspace.GetSize() == 1 && pWorkspace->GetItemCount() == 1) {
        pWorkspace->SelectItem(pItem);
        return;
    }
    CKLVHeldReference ref(pItem);
    pWorkspace->m_pSelected = pItem;
    if (m_pActiveWorkspace != pWorkspace) {
        if (m_pActiveWorkspace) m_pActiveWorkspace->SetActive(FALSE);
        pWorkspace->SetActive(TRUE);
        m_pActiveWorkspace = pWorkspace;
    }
    if (m_pPaintManager->m_bHotTracking) pWorkspace->m_pHighlighted = pItem;
    pWorkspace->Reposition();

    CWnd* pHost = pWorkspace->GetHostWindow();
    std::vector<CRect> arrRects;
    for (int i = 0; i < pWorkspace->GetItemCount(); ++i) arrRects.push_back(pWorkspace->GetItem(i)->GetRect());
    int nState = dropNone;
    CKLVTabWorkspace* pTarget = nullptr;
    BOOL bDropped = FALSE;
    CPoint ptClient = pt;
    {
        CGroupDragOutline outline;
        CKLVTabMouseLoop loop(pHost->GetSafeHwnd());
        for (;;) {
            if (loop.Next() != CKLVTabMouseLoop::eventMessage) break;
            const UINT nMessage = loop.GetMessageId();
            if (nMessage == WM_MOUSEMOVE) {
                pt = loop.GetPoint();
                if (pItem->GetTabManager() != pWorkspace) continue;
                if (pWorkspace->GetHeaderRect().PtInRect(pt)) {
                    outline.End();
                    nState = dropNone;
                    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
                    const int nCurrent = pItem->GetIndex();
                    for (int i = 0; i < static_cast<int>(arrRects.size()) && i < pWorkspace->GetItemCount(); ++i) {
                        if (i == nCurrent || !arrRects[i].PtInRect(pt)) continue;
                        pWorkspace->m_arrItems[nCurrent] = pWorkspace->m_arrItems[i];
                        pWorkspace->m_arrItems[i] = pItem;
                        pWorkspace->OnItemsChanged();
                        break;
                    }
                } else if (m_bEnableGroups) {
                    outline.Begin(m_hWnd);
                    ptClient = pt;
                    ::MapWindowPoints(pHost->GetSafeHwnd(), m_hWnd, &ptClient, 1);
                    CRect rcTarget;
                    nState = HitTestDropState(pWorkspace, ptClient, pTarget, rcTarget);
                    ::SetCursor(nState != dropNone ? m_hCursorNew : m_hCursorDelete);
                    ClientToScreen(&rcTarget);
                    outline.Move(rcTarget);
                    m_rcGroup = rcTarget;
                    m_nFocusedAction = nState;
                    m_pFocusWorkspace = pTarget;
                }
            } else if (nMessage == WM_LBUTTONUP) {
                bDropped = TRUE;
                break;
            } else if (loop.IsCancel()) {
                break;
            } else {
                loop.Dispatch();
            }
        }
    }
    m_rcGroup.SetRectEmpty();
    m_nFocusedAction = dropNone;
    m_pFocusWorkspace = nullptr;
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    if (pItem->GetTabManager() != pWorkspace) return;
    pWorkspace->SelectItem(pItem);
    if (!bDropped || nState == dropNone) return;
    if (nState == dropClient) {
        CPoint ptScreen = ptClient;
        ClientToScreen(&ptScreen);
        ShowWorkspaceMenu(ptScreen);
    } else {
        MoveItemToGroup(pItem, pTarget, nState);
    }
}

// ---------------------------------------------------------------------------------------------
// Popups.

void CKLVTabClientWnd::ShowWorkspaceMenu(CPoint ptScreen) {
    CKLVCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars) return;
    CKLVCommandMenu menu;
    for (UINT nID : groupCommands) {
        if (IsGroupCommandEnabled(nID)) menu.AddCommand(nID);
    }
    menu.AddCommand(idCancelGroup, menu.GetCount() > 0);
    const UINT nCommand = menu.Track(pCommandBars, ptScreen, this);
    if (nCommand >= idMovePrevGroup && nCommand <= idNewVertGroup) OnGroupCommand(nCommand);
}

void CKLVTabClientWnd::ShowTabList(CKLVTabWorkspace* pWorkspace, CKLVTabManagerNavigateButton* pButton) {
    CKLVCommandBars* pCommandBars = GetCommandBars();
    CWnd* pHost = pWorkspace->GetHostWindow();
    if (!pCommandBars || !pHost) return;
    pButton->m_bPressed = TRUE;
    pWorkspace->RedrawControl(nullptr, FALSE);

    // The ids are the tabs' places, not commands: only the tabs' own icons.
    CKLVCommandMenu menu(/*bOwnImages=*/TRUE);
    for (int i = 0; i < pWorkspace->GetItemCount(); ++i) {
        CKLVTabManagerItem* pItem = pWorkspace->GetItem(i);
        CString strName = pItem->GetCaption();
        strName.Replace("&", "&&");
        CString strCaption;
        strCaption.Format("&%d %s", i + 1, static_cast<LPCTSTR>(strName));
        menu.AddItem(static_cast<UINT>(i + 1), strCaption, GetItemIcon(pItem));
    }
    CRect rcButton = pButton->GetRect();
    pHost->ClientToScreen(&rcButton);
    const UINT nCommand = menu.Track(pCommandBars, CPoint(rcButton.left, rcButton.bottom), this);

    pButton->m_bPressed = FALSE;
    pWorkspace->PerformMouseMove(pHost->GetSafeHwnd(), CPoint(-1, -1));
    pWorkspace->RedrawControl(nullptr, FALSE);
    CKLVTabManagerItem* pChosen = nCommand > 0 ? pWorkspace->GetItem(static_cast<int>(nCommand) - 1) : nullptr;
    if (pChosen && pChosen != pWorkspace->GetSelectedItem())
        SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pChosen->GetHandle()));
}
