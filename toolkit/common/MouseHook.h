// The mouse side of popup menus without a modal loop: the stack of tracked popup bars, the
// windows that count as inside them, and mouse-leave tracking, with one WH_MOUSE hook a thread.
#pragma once

#include "classlib/Geometry.h"

#include <vector>

// What the mouse hook needs of a popup bar; the command bars implement it.
class CKLVHookedPopupBar {
public:
    enum { hitOutside = 0, hitInside = 1, hitSkip = -2 };

    virtual ~CKLVHookedPopupBar() = default;
    virtual HWND GetPopupHwnd() const = 0;   // null while the bar has no window
    virtual int HitTestPopup(POINT ptScreen) = 0;
    // Closes the bar; it leaves the tracked stack with the popups above it.
    virtual void EndPopupTracking() = 0;
    virtual void ClearSelectedControl() = 0;
    virtual void OnPopupMouseMove(UINT nFlags, CPoint point) = 0;   // client coordinates

    int m_nPopupLock = 0;   // 1 or more: locked, stays open when a click lands in another popup
};

class CKLVMouseHook {
public:
    enum { nMouseLeaveTimer = 113341 };

    CKLVMouseHook();            // installs the thread's WH_MOUSE hook
    virtual ~CKLVMouseHook();
    CKLVMouseHook(const CKLVMouseHook&) = delete;
    CKLVMouseHook& operator=(const CKLVMouseHook&) = delete;

    void AddTrackedPopup(CKLVHookedPopupBar* pBar);
    void RemoveTrackedPopup(CKLVHookedPopupBar* pBar);
    void CloseAllTrackedPopups();
    void CloseUnlockedPopups();
    void LockTrackedPopups(BOOL bLock);
    BOOL IsTrackingOtherPopup(CKLVHookedPopupBar* pBar) const;
    void AddMouseClient(HWND hWnd) { m_arrClients.push_back(hWnd); }
    void RemoveMouseClient(HWND hWnd);
    // Posts WM_MOUSELEAVE to hWnd once the cursor has left it (or its top window went inactive).
    void TrackMouseLeave(HWND hWnd);

    // The hook's decision on a mouse message at a screen point: TRUE eats it.
    BOOL OnHookMouse(UINT nMessage, POINT pt);
    const std::vector<CKLVHookedPopupBar*>& GetTrackedPopups() const { return m_arrTracked; }

    int m_nSuspend = 0;                        // raised while a command-bar combo box is active
    CKLVHookedPopupBar* m_pHotBar = nullptr;   // the bar whose control is hot
    HWND m_hWndMouseLeave = nullptr;
    BOOL m_bClickInProgress = FALSE;
    BOOL m_bIgnoreButtonUp = FALSE;            // the button-up of the click in progress is eaten
    int m_nLock = 0;                           // raised while a popup is torn off: no menu key then
    BOOL m_bTrackPopupMenu = FALSE;            // the tracking was started by a tracked popup menu
    BOOL m_bExpanded = FALSE;                  // the menus of this tracking show their unused commands

private:
    static LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);
    static void CALLBACK MouseLeaveTimerProc(HWND hWnd, UINT, UINT_PTR nIDEvent, DWORD);
    BOOL IsLocked(const CKLVHookedPopupBar* pBar) const { return pBar->m_nPopupLock > 0; }
    void HitTestPopups(UINT nMessage, POINT pt);
    BOOL IsOverClient(POINT pt) const;
    void ApplyOutsideRule(CKLVHookedPopupBar* pBar, UINT nMessage, POINT pt);

    std::vector<CKLVHookedPopupBar*> m_arrTracked;   // the first popup opened at 0
    HHOOK m_hHookMouse = nullptr;
    std::vector<HWND> m_arrClients;
};

// The calling thread's mouse hook object, made (and its hook installed) on the thread's first use.
CKLVMouseHook* KLVMouseHook();
