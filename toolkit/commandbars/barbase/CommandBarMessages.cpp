// The bar's message map: creation, painting, the mouse, timers, help hit tests, idle command
// updates and accessibility requests.
#include "toolkit/commandbars/barbase/CommandBar.h"

#include "classlib/CmdUI.h"
#include "classlib/Dc.h"
#include "classlib/FrameWnd.h"
#include "classlib/WindowMessages.h"

#include <windowsx.h>
#include "toolkit/commandbars/barbase/CommandBarAnimation.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/HeldReference.h"

BEGIN_MESSAGE_MAP(CKLVCommandBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINT, OnPrint)
    ON_MESSAGE(WM_PRINTCLIENT, OnPrint)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_TIMER()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
    ON_MESSAGE(WM_GETOBJECT, OnGetObject)
END_MESSAGE_MAP()

namespace {

constexpr LRESULT kHelpControl = 0x10000;
constexpr LRESULT kHelpDialog = 0x50000;
constexpr int kHideTemplate = 64;

// The command-state requests of one control at idle time.
class CControlCmdUI : public CCmdUI {
public:
    explicit CControlCmdUI(CKLVControl* pControl) : m_pControl(pControl) { m_nID = static_cast<UINT>(pControl->GetId()); }
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        m_pControl->SetEnabled(m_pControl->GetAction() ? (bOn ? -1 : FALSE) : bOn);
        if (!bOn && !m_bCheckChanged) m_pControl->m_bChecked = FALSE;
    }
    void SetCheck(int nCheck) override {
        m_bCheckChanged = TRUE;
        m_pControl->m_bChecked = nCheck;
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCTSTR lpszText) override { m_pControl->SetCaption(lpszText); }

private:
    CKLVControl* m_pControl;
    BOOL m_bCheckChanged = FALSE;
};

}  // namespace

int CKLVCommandBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if (!pLink) {
        if (m_barType != barTypePopup) EnableToolTips(TRUE);
        return 0;
    }
    if (m_barPosition != barListBox) pLink->RegisterCustomizeTarget(this);
    SetToolTipContext(pLink->GetToolTipContext());
    return 0;
}

void CKLVCommandBar::OnDestroy() {
    if (m_barPosition != barListBox)
        if (CKLVCommandBarsLink* pLink = GetCommandBarsLink()) pLink->UnregisterCustomizeTarget(this);
    if (m_bTracking) SetTrackingMode(0, TRUE, FALSE);
    m_pAnimation->OnDestroy();
    CWnd::OnDestroy();
}

void CKLVCommandBar::OnPaint() {
    CPaintDC dc(this);
    m_pAnimation->OnPaint(&dc, CRect(dc.m_ps.rcPaint));
}

LRESULT CKLVCommandBar::OnPrint(WPARAM wParam, LPARAM) {
    CRect rcClient;
    GetClientRect(&rcClient);
    DrawCommandBar(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), rcClient);
    return TRUE;
}

void CKLVCommandBar::OnMouseMove(UINT nFlags, CPoint point) {
    if (!GetSafeHwnd() || KLVMouseHook()->IsTrackingOtherPopup(this)) return;
    if (IsCustomizeMode())
        if (CKLVControl* pControl = m_pControls->HitTest(point)) pControl->ShowCustomizeResizeCursor(point);
    if (!m_bTracking && m_barType != barTypePopup && !CKLVDrawHelpers::IsTopParentActive(GetSafeHwnd())) return;
    if (IsMouseLocked()) return;
    if (m_nPopuped != -1 && !m_bPopupHotTracking) return;
    CKLVControl* pControl = m_pControls->HitTest(point);
    if (pControl) {
        KLVMouseHook()->TrackMouseLeave(GetSafeHwnd());
        pControl->OnMouseMove(point);
        SetSelected(pControl->GetIndex(), FALSE);
        return;
    }
    const BOOL bKeep = m_bTracking && (m_barType != barTypePopup || m_nPopuped != -1 || m_nKeyboardSelection);
    SetSelected(bKeep ? m_nSelected : -1, FALSE);
    (void)nFlags;
}

void CKLVCommandBar::OnMouseLeave() {
    if (IsMouseLocked() || m_nPopupLock > 0) return;
    if (m_bTracking && (m_nPopuped != -1 || m_barType != barTypePopup)) return;
    SetSelected(-1, FALSE);
}

void CKLVCommandBar::OnNcMouseMove(UINT nHitTest, CPoint point) {
    OnMouseLeave();
    CWnd::OnNcMouseMove(nHitTest, point);
}

void CKLVCommandBar::OnLButtonDown(UINT nFlags, CPoint point) {
    CKLVControl* pControl = m_pControls->HitTest(point);
    if (m_barPosition == barPopup && m_barType == barTypeNormal && m_nPopuped != -1) {
        CKLVControl* pPopuped = GetControl(m_nPopuped);
        if (pPopuped && pPopuped != pControl) {
            const BOOL bWasSelected = m_nPopuped == m_nSelected;
            SetPopuped(-1);
            if (bWasSelected) SetSelected(-1);
        }
    }
    if (!pControl) {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    if (IsCustomizeMode() && !pControl->IsCustomizeMovable()) return;
    if (!IsCustomizeMode() && ::GetKeyState(VK_MENU) < 0 && AltDragCustomize(pControl, point)) return;
    pControl->OnClick(FALSE, point);
}

BOOL CKLVCommandBar::AltDragCustomize(CKLVControl* pControl, CPoint point) {
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if (!pLink || !pLink->IsAltDragCustomization() || m_barType != barTypeNormal || m_barPosition == barPopup ||
        !IsCustomizable() || !pControl->IsCustomizeMovable())
        return FALSE;
    // The control may leave the bar, and the bar may go with the drop: both stay alive until here.
    CKLVHeldReference holdBar(this);
    CKLVHeldReference holdControl(pControl);
    pLink->SetCustomizeMode(TRUE);
    pLink->ClosePopups();
    SetSelected(-1);
    pControl->OnCustomizeMouseDown(point);
    pLink->SetCustomizeMode(FALSE);
    pLink->RecalcFrameLayout();
    pLink->ClosePopups();
    return TRUE;
}

void CKLVCommandBar::OnLButtonUp(UINT nFlags, CPoint point) {
    CKLVControl* pControl = m_pControls->HitTest(point);
    if (!pControl) {
        CWnd::OnLButtonUp(nFlags, point);
        return;
    }
    if (!IsCustomizeMode()) pControl->OnMouseRelease(point);
}

void CKLVCommandBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    CKLVControl* pControl = m_pControls->HitTest(point);
    if (!pControl) {
        CWnd::OnLButtonDblClk(nFlags, point);
        return;
    }
    if (!IsCustomizeMode()) pControl->OnDoubleClick(point);
}

void CKLVCommandBar::OnRButtonDown(UINT nFlags, CPoint point) {
    CKLVControl* pControl = m_pControls->HitTest(point);
    if (pControl && pControl->OnRButtonDown(point)) return;
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if (pControl && pLink && IsCustomizeMode() && IsCustomizable() && pControl->IsVisible() &&
        pControl->IsCustomizeMovable()) {
        SetPopuped(-1);
        SetSelected(-1);
        pLink->SetDragControl(pControl);
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        pLink->ShowCustomizeContextMenu(this, pControl, ptScreen);
        return;
    }
    CWnd::OnRButtonDown(nFlags, point);
}

void CKLVCommandBar::OnRButtonUp(UINT nFlags, CPoint point) {
    CKLVControl* pControl = m_pControls->HitTest(point);
    if (!pControl || IsCustomizeMode()) {
        CWnd::OnRButtonUp(nFlags, point);
        return;
    }
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd() &&
        pSite->SendMessage(msgRButtonUp, reinterpret_cast<WPARAM>(&point), reinterpret_cast<LPARAM>(pControl)) == 1)
        return;
    // A right-button release on a popup tracked with the right button executes like a left one.
    if (GetRootParent()->m_bRightButtonAsLeft)
        pControl->OnMouseRelease(point);
    else
        pControl->OnRButtonUp(point);
}

BOOL CKLVCommandBar::IsContextHelpMode() const {
    CFrameWnd* pFrame = GetFrameSite();
    return pFrame && pFrame->m_bHelpMode;
}

LRESULT CKLVCommandBar::OnNcHitTest(CPoint point) {
    if (!IsContextHelpMode()) return CWnd::OnNcHitTest(point);
    // In context-help mode the frame's help loop asks which part the user points at: a command
    // is client area, a submenu without a command the menu.
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    CKLVControl* pControl = m_pControls->HitTest(ptClient);
    if (pControl && pControl->GetId() <= 0) {
        const int nType = pControl->GetType();
        if (nType == CKLVControl::typePopup || nType == CKLVControl::typeButtonPopup ||
            nType == CKLVControl::typeSplitButtonPopup)
            return HTMENU;
    }
    return HTCLIENT;
}

void CKLVCommandBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    if (!IsContextHelpMode()) {
        CWnd::OnNcLButtonDown(nHitTest, point);
        return;
    }
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    OnLButtonDown(0, ptClient);
}

LRESULT CKLVCommandBar::OnHelpHitTest(WPARAM, LPARAM lParam) {
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    CKLVControl* pControl = m_pControls->HitTest(point);
    if (!pControl) {
        const int nDialogId = GetDlgCtrlID();
        return nDialogId ? kHelpDialog + nDialogId : 0;
    }
    if (pControl->m_nHelpId > 0) return kHelpControl + pControl->m_nHelpId;
    if (CKLVControlAction* pAction = pControl->GetAction())
        if (pAction->m_nHelpId > 0) return kHelpControl + pAction->m_nHelpId;
    return kHelpControl + pControl->GetId();
}

LRESULT CKLVCommandBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    OnIdleUpdate(static_cast<BOOL>(wParam), FALSE);
    return 0;
}

LRESULT CKLVCommandBar::OnInitialUpdate(WPARAM, LPARAM) {
    OnIdleUpdate(TRUE, FALSE);
    return 0;
}

void CKLVCommandBar::OnIdleUpdate(BOOL bDisableIfNoHandler, BOOL) {
    if (!GetSafeHwnd() || !(GetStyle() & WS_VISIBLE)) return;
    UpdateTemplateControls();
    if (!GetRootParent()->m_bNoCommandUpdates) UpdateControlCommands(bDisableIfNoHandler);
    if (m_nIdleFlags & delayRedraw) Redraw(nullptr, TRUE);
    if (m_nIdleFlags & delayLayout) {
        OnRecalcLayout();
        m_nIdleFlags &= ~delayLayout;
    }
}

void CKLVCommandBar::UpdateTemplateControls() {
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    const UINT nTemplate = pLink ? pLink->GetActiveDocTemplateId() : 0;
    if (nTemplate == 0) return;
    const int nKey = static_cast<int>(nTemplate);
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        BOOL bListed = FALSE;
        BOOL bHide = FALSE;
        if (!pControl->m_mapDocTemplatesAssigned.IsEmpty()) bHide = !pControl->m_mapDocTemplatesAssigned.Lookup(nKey, bListed);
        if (!bHide && !pControl->m_mapDocTemplatesExcluded.IsEmpty())
            bHide = pControl->m_mapDocTemplatesExcluded.Lookup(nKey, bListed);
        if (pControl->SetHideFlag(CKLVControl::hideTemplate, bHide)) m_nIdleFlags |= delayLayout;
    }
}

void CKLVCommandBar::UpdateControlCommands(BOOL bDisableIfNoHandler) {
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    const BOOL bDisable = bDisableIfNoHandler && (!pLink || pLink->IsDisableCommandsWithoutHandler());
    CWnd* pOwner = GetOwnerSite();
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (!pControl->IsVisible() || (pControl->GetFlags() & CKLVControl::flagListItem)) continue;
        pControl->OnEmptyHook();
        CControlCmdUI state(pControl);
        if (OnCmdMsg(0, static_cast<int>(codeIdleUpdate), &state, nullptr)) continue;
        if (OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr)) continue;
        if (IsCustomizeMode()) {
            if (pControl->m_bEnabled != -1) pControl->SetEnabled(pControl->GetAction() ? -1 : TRUE);
            continue;
        }
        if (pOwner) state.DoUpdate(pOwner, bDisable);
    }
}

LRESULT CKLVCommandBar::OnGetObject(WPARAM wParam, LPARAM lParam) {
    // The object id is a 32-bit value sign-extended into lParam.
    const LONG nObject = static_cast<LONG>(lParam);
    if (nObject >= 1 && nObject < 0xFFFFFF) {
        CKLVControl* pControl = GetControl(nObject - 1);
        if (!pControl) return static_cast<LRESULT>(E_FAIL);
        IAccessible* pAccessible = pControl->GetAccessibleInterface();
        return m_accessible.LresultFromObject(IID_IAccessible, wParam, pAccessible);
    }
    if (nObject == OBJID_CLIENT || nObject == OBJID_MENU)
        return m_accessible.LresultFromObject(IID_IAccessible, wParam, m_accessible.GetAccessibleInterface());
    return Default();
}
