// CCmdUI: an update request for one user-interface item (menu item, control, bar button). It is
// routed like a command (CN_UPDATE_COMMAND_UI); the handler that answers sets the item's state
// through Enable, SetCheck, SetRadio and SetText. Classes for other kinds of items derive and
// override those four; an override of Enable sets m_bEnableChanged as the base does.
#pragma once

#include "classlib/MessageMap.h"

class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI() noexcept = default;
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);   // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);

    // Called from a handler: the request goes on to the next target as if not handled.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Routes the request to pTarget. With bDisableIfNoHndler an item whose handler did not touch
    // its enabled state is enabled exactly when a command handler for its id exists.
    // TRUE when an update handler answered.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;            // position of the menu item
    CMenu* m_pMenu = nullptr;     // the menu of the item, or null
    CMenu* m_pSubMenu = nullptr;  // the item's own popup menu, or null
    CWnd* m_pOther = nullptr;     // the control of the item, or null
    UINT m_nIndexMax = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};

template <class C, class P>
BOOL AfxSig::cmdui::Call(C* p, P f, AFX_MSGCALL& m) {
    CCmdUI* pCmdUI = static_cast<CCmdUI*>(m.pExtra);
    pCmdUI->m_bContinueRouting = FALSE;
    (p->*f)(pCmdUI);
    return !pCmdUI->m_bContinueRouting;
}
