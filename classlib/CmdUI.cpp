#include "classlib/CmdUI.h"

#include "classlib/Menu.h"
#include "classlib/Wnd.h"

void CCmdUI::Enable(BOOL bOn) {
    if (m_pMenu) {
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther && AfxGetSafeHwnd(m_pOther)) {
        // A control that loses its enabled state while it has the focus hands the focus on
        // first, or the keyboard would be left in a dead window.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            HWND hWndParent = ::GetParent(m_pOther->m_hWnd);
            if (hWndParent) ::SendMessageA(hWndParent, WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_pMenu) {
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther && AfxGetSafeHwnd(m_pOther)) {
        if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)
            m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
    }
}

void CCmdUI::SetRadio(BOOL bOn) {
    if (m_pMenu && bOn) {
        m_pMenu->CheckMenuRadioItem(m_nIndex, m_nIndex, m_nIndex, MF_BYPOSITION);
        return;
    }
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR lpszText) {
    if (m_pMenu) {
        // Keep the item's id and state; only its text changes.
        UINT nState = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) &
                      (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
    } else if (m_pOther && AfxGetSafeHwnd(m_pOther)) {
        m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    // Separators (0) and the reserved id 0xFFFF carry no command.
    if (!pTarget || m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return FALSE;
    m_bEnableChanged = FALSE;
    BOOL bHandled = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {nullptr, nullptr};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return bHandled;
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    CCmdUI state;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
        state.m_pOther = CWnd::FromHandle(hWndChild);
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}
