// The ribbon's mouse: its caption band moves and sizes the frame as the frame's own caption would,
// a double click on the selected tab minimises or restores the ribbon, the right button opens the
// ribbon's context menu, groups light up under the mouse, and the frame's wheel switches tabs.
#include "toolkit/ribbon/RibbonBar.h"

#include "classlib/CmdUI.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/themes/FrameIntegration.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/common/WinDwmWrapper.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonControls.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupControlPopup.h"
#include "toolkit/ribbon/RibbonTab.h"

#include <windowsx.h>

BEGIN_MESSAGE_MAP(CKLVRibbonBar, CKLVMenuBar)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_SETCURSOR()
    ON_WM_NCHITTEST()
    ON_WM_SHOWWINDOW()
    ON_WM_SYSCOLORCHANGE()
    ON_COMMAND_RANGE(CKLVRibbonBar::idShowQuickAccessBelow, CKLVRibbonBar::idShowQuickAccessAbove, OnQuickAccessPosition)
    ON_UPDATE_COMMAND_UI_RANGE(CKLVRibbonBar::idRemoveFromQuickAccess, CKLVRibbonBar::idQuickAccessCommandsLabel,
                               OnUpdateContextCommand)
    ON_MESSAGE(CKLVControl::msgControlNotify, OnControlNotify)
END_MESSAGE_MAP()

namespace {

// The frame's system menu greys the command (the frame cannot do it now).
BOOL IsSystemCommandGreyed(CWnd* pFrame, UINT nCommand) {
    HMENU hMenu = ::GetSystemMenu(pFrame->GetSafeHwnd(), FALSE);
    if (!hMenu) return FALSE;
    const UINT nState = ::GetMenuState(hMenu, nCommand, MF_BYCOMMAND);
    return nState != static_cast<UINT>(-1) && (nState & (MF_GRAYED | MF_DISABLED)) != 0;
}

BOOL IsSizingCode(int nHitTest) { return nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT; }

// The caption buttons the frame draws and handles itself.
BOOL IsFrameButtonCode(LRESULT nHitTest) {
    return nHitTest == HTMINBUTTON || nHitTest == HTMAXBUTTON || nHitTest == HTCLOSE || nHitTest == HTHELP;
}

// What a right click on a frame's caption sends to open its system menu at a screen point.
const UINT kPopupSystemMenu = 0x313;

// SC_MOVE and SC_SIZE take the way the loop starts in their low bits, as the frame's own caption
// and borders send them.
const UINT kByCaption = 2;

}  // namespace

int CKLVRibbonBar::HitTestCaption(CPoint point) const {
    if (!GetFrameIntegration() || IsCustomizeMode() || !m_rcCaption.PtInRect(point)) return 0;
    if (m_pControls->HitTest(point) || m_contextHeaders.HitTest(point)) return 0;
    CWnd* pFrame = GetSite();
    if (!pFrame || !pFrame->GetSafeHwnd()) return 0;
    const BOOL bSizable = (pFrame->GetStyle() & WS_THICKFRAME) && !pFrame->IsZoomed();
    return bSizable && point.y < m_rcCaption.top + captionSizingBand ? HTTOP : HTCAPTION;
}

void CKLVRibbonBar::OnCaptionButtonDown(int nHitTest) {
    if (nHitTest != HTCAPTION && !IsSizingCode(nHitTest)) return;
    if (CKLVCommandBars* pCommandBars = GetCommandBars()) pCommandBars->ClosePopups();
    if (GetSafeHwnd()) UpdateWindow();
    CWnd* pFrame = GetSite();
    if (!pFrame || !pFrame->GetSafeHwnd() || pFrame->IsZoomed()) return;
    if (nHitTest == HTCAPTION) {
        pFrame->SendMessage(WM_SYSCOMMAND, SC_MOVE + kByCaption);
        return;
    }
    if (IsSystemCommandGreyed(pFrame, SC_SIZE)) return;
    pFrame->SendMessage(WM_SYSCOMMAND, SC_SIZE + static_cast<UINT>(nHitTest - (HTLEFT - 1)));
}

void CKLVRibbonBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (CKLVRibbonTabContextHeader* pHeader = m_contextHeaders.HitTest(point)) {
        m_pControlTab->SetSelectedItem(pHeader->pFirstTab);
        return;
    }
    const int nHitTest = HitTestCaption(point);
    if (nHitTest != 0) {
        OnCaptionButtonDown(nHitTest);
        return;
    }
    if (m_rcTabRow.PtInRect(point))
        if (CKLVCommandBars* pCommandBars = GetCommandBars()) pCommandBars->ClosePopups();
    CKLVMenuBar::OnLButtonDown(nFlags, point);
}

void CKLVRibbonBar::OnCaptionDoubleClick() {
    CWnd* pFrame = GetSite();
    if (!pFrame || !pFrame->GetSafeHwnd()) return;
    if (pFrame->IsZoomed() || pFrame->IsIconic())
        pFrame->SendMessage(WM_SYSCOMMAND, SC_RESTORE + kByCaption);
    else if ((pFrame->GetStyle() & WS_MAXIMIZEBOX) && !IsSystemCommandGreyed(pFrame, SC_MAXIMIZE))
        pFrame->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE + kByCaption);
}

void CKLVRibbonBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (HitTestCaption(point) != 0 || m_contextHeaders.HitTest(point)) {
        OnCaptionDoubleClick();
        return;
    }
    CKLVRibbonTab* pSelected = GetSelectedTab();
    const BOOL bOnSelectedTab = m_pControls->HitTest(point) == m_pControlTab && pSelected &&
                                m_pControlTab->HitTest(point) == pSelected;
    if (!bOnSelectedTab) {
        CKLVMenuBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    if (!m_bMinimizeOnDoubleClick) return;
    if (m_bMinimized) {
        SetMinimized(FALSE);
        return;
    }
    m_pControlTab->SetSelectedItem(nullptr);
    SetMinimized(TRUE);
}

CKLVControl* CKLVRibbonBar::GetContextMenuControl(CPoint point) {
    if (CKLVControl* pControl = m_pControls->HitTest(point)) return pControl;
    CKLVRibbonTab* pTab = GetSelectedTab();
    if (!pTab || m_bMinimized) return nullptr;
    CKLVRibbonGroup* pGroup = pTab->GetGroups()->HitTest(point);
    if (!pGroup || point.y < pGroup->GetRect().bottom - GetGroupCaptionHeight()) return nullptr;
    return pGroup->EnsureControlPopup();
}

void CKLVRibbonBar::ShowContextMenu(CKLVControl* pControl, CPoint ptScreen) {
    CKLVCommandBar* pMenu = CreateContextMenu(pControl);
    if (!pMenu) return;
    if (auto* pPopup = DYNAMIC_DOWNCAST(CKLVPopupBar, pMenu))
        CKLVCommandBars::TrackPopupMenu(pPopup, TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y);
    pMenu->InternalRelease();
}

void CKLVRibbonBar::OnRButtonDown(UINT nFlags, CPoint point) {
    if (IsCustomizeMode()) {
        CKLVMenuBar::OnRButtonDown(nFlags, point);
        return;
    }
    // The release on the caption band opens the frame's system menu.
    if (HitTestCaption(point) != 0) return;
    SetTrackingMode(0);
    CKLVControl* pUnder = m_pControls->HitTest(point);
    if (pUnder && pUnder->OnRButtonDown(point)) return;
    CKLVControl* pControl = GetContextMenuControl(point);
    if (!pControl) {
        CKLVMenuBar::OnRButtonDown(nFlags, point);
        return;
    }
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    ShowContextMenu(pControl, ptScreen);
}

void CKLVRibbonBar::OnRButtonUp(UINT nFlags, CPoint point) {
    if (HitTestCaption(point) == 0) {
        CKLVMenuBar::OnRButtonUp(nFlags, point);
        return;
    }
    CWnd* pFrame = GetSite();
    if (!pFrame || !pFrame->GetSafeHwnd()) return;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    pFrame->SendMessage(kPopupSystemMenu, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
}

BOOL CKLVRibbonBar::IsHighlightAllowed() const {
    if (!GetSafeHwnd() || !CKLVDrawHelpers::IsTopParentActive(GetSafeHwnd())) return FALSE;
    if (KLVMouseHook()->IsTrackingOtherPopup(const_cast<CKLVRibbonBar*>(this))) return FALSE;
    return m_nPopuped == -1 && !m_pControlTab->GetPopupBar();
}

void CKLVRibbonBar::SetHighlightedGroup(CKLVRibbonGroup* pGroup) {
    if (m_pHighlightedGroup == pGroup) return;
    if (m_pHighlightedGroup) {
        const CRect rcOld = m_pHighlightedGroup->GetRect();
        Redraw(&rcOld);
    }
    m_pHighlightedGroup = pGroup;
    if (!pGroup) return;
    const CRect rcNew = pGroup->GetRect();
    Redraw(&rcNew);
    KLVMouseHook()->TrackMouseLeave(GetSafeHwnd());
}

void CKLVRibbonBar::ForgetGroup(const CKLVRibbonGroup* pGroup) {
    if (m_pHighlightedGroup == pGroup) m_pHighlightedGroup = nullptr;
}

void CKLVRibbonBar::OnMouseMove(UINT nFlags, CPoint point) {
    if (IsHighlightAllowed()) {
        auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager());
        CKLVRibbonTab* pTab = GetSelectedTab();
        if (pTheme && pTheme->m_bHighlightGroups)
            SetHighlightedGroup(pTab && !m_bMinimized ? pTab->GetGroups()->HitTest(point) : nullptr);
        m_pControlTab->PerformMouseMove(GetSafeHwnd(), point);
    } else {
        SetHighlightedGroup(nullptr);
    }
    CKLVMenuBar::OnMouseMove(nFlags, point);
}

void CKLVRibbonBar::OnMouseLeave() {
    m_pControlTab->PerformMouseMove(GetSafeHwnd(), CPoint(-1, -1));
    SetHighlightedGroup(nullptr);
    CKLVMenuBar::OnMouseLeave();
}

BOOL CKLVRibbonBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    int nCode = static_cast<int>(nHitTest);
    if (nHitTest == HTCLIENT) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        nCode = HitTestCaption(point);
    }
    CWnd* pFrame = GetSite();
    if (!IsSizingCode(nCode) || !pFrame || !pFrame->GetSafeHwnd())
        return CKLVMenuBar::OnSetCursor(pWnd, nHitTest, message);
    // The frame shows its own sizing cursor for the edge.
    pFrame->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(pFrame->GetSafeHwnd()), MAKELPARAM(nCode, message));
    return TRUE;
}

LRESULT CKLVRibbonBar::OnNcHitTest(CPoint point) {
    CKLVFrameIntegration* pIntegration = GetFrameIntegration();
    if (pIntegration && pIntegration->m_bCompositionActive && pIntegration->HasFrame()) {
        LRESULT lResult = HTNOWHERE;
        if (CKLVWinDwmWrapper::DwmDefWindowProc(pIntegration->m_hWndFrame, WM_NCHITTEST, 0,
                                                MAKELPARAM(point.x, point.y), &lResult) &&
            IsFrameButtonCode(lResult))
            return HTTRANSPARENT;
    }
    return CKLVMenuBar::OnNcHitTest(point);
}

void CKLVRibbonBar::OnShowWindow(BOOL bShow, UINT nStatus) {
    CKLVMenuBar::OnShowWindow(bShow, nStatus);
    if (!GetFrameIntegration() || m_bRibbonVisible == bShow) return;
    m_bRibbonVisible = bShow;
    OnRibbonVisibilityChanged();
}

void CKLVRibbonBar::OnSysColorChange() {
    CKLVMenuBar::OnSysColorChange();
    GetPaintManager()->RefreshMetrics();
    m_pControlTab->Reposition();
}

int CKLVRibbonBar::OnFrameMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    if (hWnd != m_hwndHookedFrame) return CKLVMenuBar::OnFrameMessage(hWnd, nMessage, wParam, lParam, lResult);
    const BOOL bShown = GetSafeHwnd() && (GetStyle() & WS_VISIBLE);
    if (nMessage == WM_MOUSEWHEEL && bShown && KLVMouseHook()->GetTrackedPopups().empty()) {
        SelectNextTab(GET_WHEEL_DELTA_WPARAM(wParam) <= 0);
        lResult = 0;
        return CKLVHookSink::hookHandled;
    }
    // The context-menu key: the menu of the control the keyboard is on, at its top-left corner.
    if (nMessage == WM_CONTEXTMENU && GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1 && m_bTracking) {
        if (CKLVControl* pControl = GetControl(m_nSelected)) {
            CPoint ptScreen = pControl->GetRect().TopLeft();
            ClientToScreen(&ptScreen);
            ShowContextMenu(pControl, ptScreen);
            lResult = 0;
            return CKLVHookSink::hookHandled;
        }
    }
    return CKLVMenuBar::OnFrameMessage(hWnd, nMessage, wParam, lParam, lResult);
}

INT_PTR CKLVRibbonBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    if (m_pControlTab->IsVisible() && m_pControlTab->GetRect().PtInRect(point)) {
        const INT_PTR nTab = m_pControlTab->PerformToolHitTest(GetSafeHwnd(), point, pTI);
        if (nTab != -1) return nTab;
    }
    const INT_PTR nHit = CKLVMenuBar::OnToolHitTest(point, pTI);
    if (nHit == -1 || !pTI) return nHit;
    CKLVControl* pControl = m_pControls->HitTest(point);
    if (pControl && FindGroupOf(pControl)) pTI->rect = m_rcGroupArea;
    return nHit;
}
