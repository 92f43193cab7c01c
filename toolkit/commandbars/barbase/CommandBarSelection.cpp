// The hot and the open control of a bar, the timers that follow them, and the status-bar text.
#include "toolkit/commandbars/barbase/CommandBar.h"

#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/barbase/CommandBarAnimation.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"

namespace {

constexpr UINT kHoverDelay = 300;
constexpr UINT kShowFullDelay = 5000;
constexpr WPARAM kIdleMessage = 0xE001;

int HelpIdOf(CKLVControl* pControl) {
    if (!pControl) return 0;
    if (pControl->m_nHelpId > 0) return pControl->m_nHelpId;
    if (pControl->GetAction() && pControl->GetAction()->m_nHelpId > 0) return pControl->GetAction()->m_nHelpId;
    return pControl->GetId();
}

}  // namespace

BOOL CKLVCommandBar::SetSelected(int nSelected, BOOL bKeyboard) {
    if (nSelected == m_nSelected) return FALSE;
    m_nKeyboardSelection = bKeyboard;
    if (!GetSafeHwnd()) return FALSE;
    if (CKLVControl* pOld = GetControl(m_nSelected)) {
        pOld->OnMouseMove(CPoint(-1, -1));
        pOld->SetSelected(FALSE);
    }
    m_nSelected = nSelected;
    if (nSelected == -1) {
        KillTimer(timerHover);
    } else if (CKLVControl* pNew = GetControl(nSelected)) {
        if (bKeyboard) OnKeyboardSelect(pNew);
        pNew->SetSelected(bKeyboard ? (bKeyboard >= selectedForward ? bKeyboard : selectedForward) : selectedByMouse);
    }
    if (m_bTracking && nSelected >= 0)
        m_accessible.NotifyWinEvent(EVENT_OBJECT_FOCUS, GetSafeHwnd(), OBJID_MENU, nSelected + 1);
    KLVMouseHook()->m_pHotBar = this;
    if (!bKeyboard && m_bPopupHotTracking && nSelected >= 0) SetTimer(timerHover, kHoverDelay, nullptr);
    return TRUE;
}

BOOL CKLVCommandBar::SetPopuped(int nPopuped, BOOL bKeyboard) {
    if (nPopuped == m_nPopuped) return FALSE;
    if (CKLVControl* pOld = GetControl(m_nPopuped)) {
        m_nPopuped = -1;
        pOld->OnSetPopup(FALSE);
    }
    m_nPopuped = -1;
    if (nPopuped == -1) return TRUE;
    CKLVControl* pNew = GetControl(nPopuped);
    if (!pNew || !pNew->GetEnabled()) return FALSE;
    m_nPopuped = nPopuped;
    SetTrackingMode(2, FALSE, bKeyboard);
    SetSelected(nPopuped, bKeyboard);
    // Selecting may already have opened (or closed) it through the control.
    if (m_nPopuped != nPopuped) return FALSE;
    if (!pNew->GetPopuped() && !pNew->OnSetPopup(TRUE)) {
        m_nPopuped = -1;
        return FALSE;
    }
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if (pLink && pLink->IsShowFullAfterDelay() && GetSafeHwnd()) SetTimer(timerShowFull, kShowFullDelay, nullptr);
    return TRUE;
}

void CKLVCommandBar::OnControlSelected(int bSelected, CKLVControl* pControl) {
    CKLVControl* pSelected = bSelected ? pControl : nullptr;
    if (CWnd* pSite = GetSite())
        if (pSite->GetSafeHwnd())
            pSite->SendMessage(msgSelectedChanged, reinterpret_cast<WPARAM>(pSelected), 0);
    if (CKLVCommandBarsLink* pLink = GetCommandBarsLink()) pLink->SetHelpId(HelpIdOf(pSelected));
    const int nDescribed = pSelected ? pSelected->GetIndex() : -1;
    if (nDescribed == m_nDescribed) return;
    m_nDescribed = nDescribed;
    SetStatusBarMessage(pSelected ? pSelected->GetDescription() : CString());
}

void CKLVCommandBar::SetStatusBarMessage(const CString& strMessage) {
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if (pLink && !pLink->IsStatusBarTextShown()) return;
    CWnd* pSite = GetSite();
    if (!pSite || !pSite->GetSafeHwnd()) return;
    if (strMessage.IsEmpty())
        pSite->SendMessage(WM_POPMESSAGESTRING, kIdleMessage, 0);
    else
        pSite->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strMessage)));
}

void CKLVCommandBar::OnHoverTimer() {
    KillTimer(timerHover);
    if (CKLVControl* pControl = GetControl(m_nSelected)) pControl->CloseBarPopup();
}

void CKLVCommandBar::OnShowFullTimer() {
    KillTimer(timerShowFull);
    auto* pPopup = DYNAMIC_DOWNCAST(CKLVControlPopup, GetControl(m_nPopuped));
    if (!pPopup || m_nPopuped != m_nSelected || !pPopup->IsCursorOver()) return;
    if (CKLVCommandBar* pBar = pPopup->GetCommandBar())
        if (pBar->GetSafeHwnd()) pBar->ExpandBar();
}

void CKLVCommandBar::OnTimer(UINT_PTR nIDEvent) {
    switch (nIDEvent) {
    case timerAnimation: m_pAnimation->OnAnimationTimer(); return;
    case timerKeyboardTips: {
        CKLVCommandBarsLink* pLink = GetCommandBarsLink();
        const auto& tracked = KLVMouseHook()->GetTrackedPopups();
        if (pLink && !tracked.empty() && tracked.back() == this && !pLink->IsKeyboardTipsShown(this))
            pLink->ShowKeyboardTips(this);
        return;
    }
    default: break;
    }
    if (m_nPopupLock > 0) return;
    if (nIDEvent == timerHover) OnHoverTimer();
    else if (nIDEvent == timerShowFull) OnShowFullTimer();
    else CWnd::OnTimer(nIDEvent);
}
