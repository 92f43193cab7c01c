#include "toolkit/common/MultiMonitor.h"

#include "classlib/Wnd.h"

CKLVMultiMonitor::CKLVMultiMonitor() : m_user32("User32.dll") {
    // All of the API or none of it: a system with only part of it gets the fall-backs.
    bool bComplete = (m_pfnGetSystemMetrics = m_user32.GetProc<decltype(m_pfnGetSystemMetrics)>("GetSystemMetrics")) &&
                     (m_pfnMonitorFromWindow = m_user32.GetProc<decltype(m_pfnMonitorFromWindow)>("MonitorFromWindow")) &&
                     (m_pfnMonitorFromRect = m_user32.GetProc<decltype(m_pfnMonitorFromRect)>("MonitorFromRect")) &&
                     (m_pfnMonitorFromPoint = m_user32.GetProc<decltype(m_pfnMonitorFromPoint)>("MonitorFromPoint")) &&
                     (m_pfnGetMonitorInfo = m_user32.GetProc<decltype(m_pfnGetMonitorInfo)>("GetMonitorInfoA"));
    if (!bComplete) {
        m_pfnGetSystemMetrics = nullptr;
        m_pfnMonitorFromWindow = nullptr;
        m_pfnMonitorFromRect = nullptr;
        m_pfnMonitorFromPoint = nullptr;
        m_pfnGetMonitorInfo = nullptr;
    }
}

BOOL CKLVMultiMonitor::GetMonitorInfo(HMONITOR hMonitor, MONITORINFO* pInfo) const {
    if (!hMonitor || !m_pfnGetMonitorInfo) return FALSE;
    *pInfo = MONITORINFO{};
    pInfo->cbSize = sizeof(MONITORINFO);
    return m_pfnGetMonitorInfo(hMonitor, pInfo);
}

HMONITOR CKLVMultiMonitor::FromPoint(POINT pt) const {
    return m_pfnMonitorFromPoint ? m_pfnMonitorFromPoint(pt, MONITOR_DEFAULTTONULL) : nullptr;
}

HMONITOR CKLVMultiMonitor::FromRect(LPCRECT lpRect) const {
    return m_pfnMonitorFromRect ? m_pfnMonitorFromRect(lpRect, MONITOR_DEFAULTTONULL) : nullptr;
}

CRect CKLVMultiMonitor::GetWorkRect(HMONITOR hMonitor) {
    MONITORINFO info;
    if (GetMonitorInfo(hMonitor, &info)) return CRect(info.rcWork);
    CRect rect(0, 0, 0, 0);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
    return rect;
}

CRect CKLVMultiMonitor::GetMonitorRect(HMONITOR hMonitor) {
    MONITORINFO info;
    if (GetMonitorInfo(hMonitor, &info)) return CRect(info.rcMonitor);
    return CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

CRect CKLVMultiMonitor::GetWorkRect(POINT pt) { return GetWorkRect(FromPoint(pt)); }
CRect CKLVMultiMonitor::GetWorkRect(LPCRECT lpRect) { return GetWorkRect(FromRect(lpRect)); }
namespace {

// The shift along one axis that keeps at least nMin of [nLow, nHigh) within [nWorkLow, nWorkHigh).
int KeepInside(int nLow, int nHigh, int nWorkLow, int nWorkHigh, int nMin) {
    if (nWorkHigh - nLow < nMin) return nWorkHigh - nMin - nLow;
    if (nHigh - nWorkLow < nMin) return nWorkLow + nMin - nHigh;
    return 0;
}

}  // namespace

CRect CKLVMultiMonitor::KeepInWorkArea(CRect rc, int nMinVisible) {
    const CRect rcWork = GetWorkRect(static_cast<LPCRECT>(&rc));
    rc.OffsetRect(KeepInside(rc.left, rc.right, rcWork.left, rcWork.right, nMinVisible),
                  KeepInside(rc.top, rc.bottom, rcWork.top, rcWork.bottom, nMinVisible));
    return rc;
}

CRect CKLVMultiMonitor::GetMonitorRect(POINT pt) { return GetMonitorRect(FromPoint(pt)); }
CRect CKLVMultiMonitor::GetMonitorRect(LPCRECT lpRect) { return GetMonitorRect(FromRect(lpRect)); }

CRect CKLVMultiMonitor::GetWorkRect(CWnd* pWnd) {
    HWND hWnd = AfxGetSafeHwnd(pWnd);
    HMONITOR hMonitor = hWnd && m_pfnMonitorFromWindow ? m_pfnMonitorFromWindow(hWnd, MONITOR_DEFAULTTONULL) : nullptr;
    return GetWorkRect(hMonitor);
}

CRect CKLVMultiMonitor::GetWorkRect() {
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    return GetWorkRect(pt);
}

CKLVMultiMonitor* KLVMultiMonitor() {
    static CKLVMultiMonitor s_monitor;
    return &s_monitor;
}
