// Monitor and work-area rectangles, with the multiple-monitor API when the system has all of it
// and the primary screen otherwise.
#pragma once

#include "classlib/Geometry.h"
#include "toolkit/common/LoadedModule.h"

class CWnd;

class CKLVMultiMonitor {
public:
    CKLVMultiMonitor();
    virtual ~CKLVMultiMonitor() = default;

    // A monitor's work area; the primary work area without a monitor or the API.
    CRect GetWorkRect(HMONITOR hMonitor);
    CRect GetWorkRect(POINT pt);
    CRect GetWorkRect(LPCRECT lpRect);
    CRect GetWorkRect(CWnd* pWnd);
    CRect GetWorkRect();   // of the monitor under the cursor
    // A monitor's whole rectangle; the primary screen without a monitor or the API.
    CRect GetMonitorRect(HMONITOR hMonitor);
    CRect GetMonitorRect(POINT pt);
    CRect GetMonitorRect(LPCRECT lpRect);

    // The rectangle moved so that at least nMinVisible pixels of it stay inside the work area of
    // its monitor along each axis.
    CRect KeepInWorkArea(CRect rc, int nMinVisible);

    BOOL HasMonitorApi() const { return m_pfnGetMonitorInfo != nullptr; }

private:
    HMONITOR FromPoint(POINT pt) const;
    HMONITOR FromRect(LPCRECT lpRect) const;
    BOOL GetMonitorInfo(HMONITOR hMonitor, MONITORINFO* pInfo) const;

    int(WINAPI* m_pfnGetSystemMetrics)(int) = nullptr;
    HMONITOR(WINAPI* m_pfnMonitorFromWindow)(HWND, DWORD) = nullptr;
    HMONITOR(WINAPI* m_pfnMonitorFromRect)(LPCRECT, DWORD) = nullptr;
    HMONITOR(WINAPI* m_pfnMonitorFromPoint)(POINT, DWORD) = nullptr;
    BOOL(WINAPI* m_pfnGetMonitorInfo)(HMONITOR, LPMONITORINFO) = nullptr;
    CKLVLoadedModule m_user32;
};

// The process-wide service, built on first use.
CKLVMultiMonitor* KLVMultiMonitor();
