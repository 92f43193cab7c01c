// CMenu: a menu handle. The object destroys the menu it creates, loads or attaches; Detach gives
// it up (for a menu handed to a window, which destroys it then). FromHandle wraps a menu it does
// not own (a window's menu, a sub-menu) in a temporary object.
#pragma once

#include "classlib/HandleOwnership.h"
#include "classlib/Object.h"
#include "classlib/String.h"

class CWnd;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() noexcept = default;
    ~CMenu() override { DestroyMenu(); }

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }   // a pointer that may be null: AfxGetSafeHmenu

    static CMenu* FromHandle(HMENU hMenu);
    static void DeleteTempMap();

    // Takes ownership; a menu held before is destroyed first.
    BOOL Attach(HMENU hMenu) { return AfxAttachHandle(m_hMenu, hMenu, ::DestroyMenu); }
    HMENU Detach() { return AfxDetachHandle(m_hMenu); }
    BOOL DestroyMenu() { return AfxFreeHandle(m_hMenu, ::DestroyMenu); }

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    // From the current resource handle (AfxGetResourceHandle).
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEA(nIDResource)); }

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr) {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr) {
        return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr) {
        return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
    BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }

    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
        return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
    }
    DWORD CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
        return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
    }
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }   // -1 when not a menu
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
        return ::GetMenuStringA(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
    }
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos = FALSE) const {
        return ::GetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
    }
    BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos = FALSE) {
        return ::SetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
    }
    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

    // With TPM_RETURNCMD the result is the chosen command (0 when none).
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm);
};

// The menu of pMenu; null for no object.
inline HMENU AfxGetSafeHmenu(const CMenu* pMenu) { return AfxSafeHandle(pMenu, &CMenu::m_hMenu); }
