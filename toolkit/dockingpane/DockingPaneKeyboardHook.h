// The thread keyboard hook of the docking keyboard navigation: one for every manager that asked
// for it, found by its site window. Alt+F6 cycles the windows and Alt+minus opens the active
// pane's system menu in the frame that has the focus.
#pragma once

#include "classlib/Map.h"
#include "classlib/Wnd.h"

class CKLVDockingPaneManager;

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
    INT_PTR GetManagerCount() const { return m_mapManagers.GetCount(); }

private:
    CKLVDockingPaneKeyboardHook();
    // Non-zero: the key is eaten.
    LRESULT OnKeyDown(UINT nKey, LPARAM lKeyData);
    void RemoveManager(CKLVDockingPaneManager* pManager);

    HHOOK m_hHook = nullptr;
    CMap<HWND, HWND, CKLVDockingPaneManager*, CKLVDockingPaneManager*> m_mapManagers;
};
