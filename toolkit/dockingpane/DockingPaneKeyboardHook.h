// The thread keyboard hook of the docking keyboard navigation: one for every manager that asked
// for it, found by its site window. In the frame that has the focus, Ctrl+Tab and Alt+F7 open the
// window selector, Alt+F6 cycles the windows and Alt+minus opens the active pane's system menu.
#pragma once

#include "classlib/Map.h"
#include "classlib/Wnd.h"

class CKLVDockingPaneManager;
class CKLVDockingPaneWindowSelect;

class CKLVDockingPaneKeyboardHook {
public:
    // The manager's navigation flags.
    enum { navigatePaneMenu = 1, navigateWindows = 2, navigateSelectPanes = 4, navigateSelector = 8 };

    // The process's hook object, made on first use.
    static CKLVDockingPaneKeyboardHook* GetInstance();

    // Registers the manager under its site window (installing the hook for the first) or
    // unregisters it (removing the hook with the last).
    void SetupKeyboardHook(CKLVDockingPaneManager* pManager, BOOL bEnable);
    // The manager of the focus window's frame (or of its floating frame); none when that site
    // is disabled.
    CKLVDockingPaneManager* FindFocusedManager() const;
    static LRESULT CALLBACK KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);

    BOOL IsInstalled() const { return m_hHook != nullptr; }
    // The selector shown now, or none.
    CKLVDockingPaneWindowSelect* GetShownSelector() const { return m_pShownSelector; }
    INT_PTR GetManagerCount() const { return m_mapManagers.GetCount(); }

private:
    CKLVDockingPaneKeyboardHook();
    // Non-zero: the key is eaten.
    LRESULT OnKeyDown(UINT nKey, LPARAM lKeyData);
    void RemoveManager(CKLVDockingPaneManager* pManager);
    // Shows the manager's selector when the focused frame's manager has the flag; one shown
    // already takes the key as a Tab. Non-zero: the key is eaten.
    LRESULT ShowSelector(int nFlag, BOOL bSelectPanes);

    HHOOK m_hHook = nullptr;
    CKLVDockingPaneWindowSelect* m_pShownSelector = nullptr;
    CMap<HWND, HWND, CKLVDockingPaneManager*, CKLVDockingPaneManager*> m_mapManagers;
};
