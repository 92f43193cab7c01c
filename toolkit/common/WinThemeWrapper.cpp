#include "toolkit/common/WinThemeWrapper.h"

#include "toolkit/common/OSVersionInfo.h"

namespace {

const LPCSTR kSlotNames[] = {
    "DrawThemeBackground", "CloseThemeData",      "OpenThemeData",      "IsThemeActive",
    "IsAppThemed",         "GetThemeSysBool",     "GetThemeColor",      "GetCurrentThemeName",
    "BeginBufferedPaint",  "EndBufferedPaint",    "DrawThemeTextEx",
};

CKLVWinThemeApiTable*& ProcessTable() {
    static CKLVWinThemeApiTable s_table;
    static CKLVWinThemeApiTable* s_pTable = &s_table;
    return s_pTable;
}

}  // namespace

CKLVWinThemeApiTable::CKLVWinThemeApiTable(LPCSTR lpszModuleName)
    : m_rgpfn{}, m_lpszModuleName(lpszModuleName) {
    GetOSVersionInfo();
    m_dwComCtlVersion = GetComCtlVersion();
    m_hModule = ::LoadLibraryA(lpszModuleName);
}

FARPROC CKLVWinThemeApiTable::GetProc(Slot nSlot) {
    if (m_hModule && !m_rgpfn[nSlot]) m_rgpfn[nSlot] = ::GetProcAddress(m_hModule, kSlotNames[nSlot]);
    return m_rgpfn[nSlot];
}

void CKLVWinThemeApiTable::CheckModule() {
    HMODULE hLoaded = ::GetModuleHandleA(m_lpszModuleName);
    if (hLoaded == m_hModule) return;
    m_hModule = hLoaded;
    for (FARPROC& pfn : m_rgpfn) pfn = nullptr;
}

CKLVWinThemeApiTable* GetWinThemeApiTable() { return ProcessTable(); }

CKLVWinThemeApiTable* KLVReplaceWinThemeApiTable(CKLVWinThemeApiTable* pTable) {
    CKLVWinThemeApiTable* pOld = ProcessTable();
    ProcessTable() = pTable;
    return pOld;
}

HTHEME CKLVWinThemeWrapper::OpenThemeData(HWND hWnd, LPCWSTR pszClassList) {
    CKLVWinThemeApiTable* pTable = GetWinThemeApiTable();
    pTable->CheckModule();
    CloseThemeData();
    auto pfn = pTable->GetProc<decltype(&::OpenThemeData)>(CKLVWinThemeApiTable::slotOpenThemeData);
    if (pfn) m_hTheme = pfn(hWnd, pszClassList);
    return m_hTheme;
}

void CKLVWinThemeWrapper::CloseThemeData() {
    if (m_hTheme) {
        auto pfn = GetWinThemeApiTable()->GetProc<decltype(&::CloseThemeData)>(CKLVWinThemeApiTable::slotCloseThemeData);
        if (pfn) pfn(m_hTheme);
    }
    m_hTheme = nullptr;
}

HRESULT CKLVWinThemeWrapper::DrawThemeBackground(HDC hDC, int iPartId, int iStateId, const RECT* pRect,
                                                 const RECT* pClipRect) {
    auto pfn = GetWinThemeApiTable()->GetProc<decltype(&::DrawThemeBackground)>(
        CKLVWinThemeApiTable::slotDrawThemeBackground);
    return pfn ? pfn(m_hTheme, hDC, iPartId, iStateId, pRect, pClipRect) : E_FAIL;
}

HRESULT CKLVWinThemeWrapper::DrawThemeTextEx(HDC hDC, int iPartId, int iStateId, LPCWSTR pszText, int cchText,
                                             DWORD dwFlags, LPRECT pRect, const DTTOPTS* pOptions) {
    auto pfn = GetWinThemeApiTable()->GetProc<decltype(&::DrawThemeTextEx)>(CKLVWinThemeApiTable::slotDrawThemeTextEx);
    return pfn ? pfn(m_hTheme, hDC, iPartId, iStateId, pszText, cchText, dwFlags, pRect, pOptions) : E_FAIL;
}

HRESULT CKLVWinThemeWrapper::GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor) {
    auto pfn = GetWinThemeApiTable()->GetProc<decltype(&::GetThemeColor)>(CKLVWinThemeApiTable::slotGetThemeColor);
    return pfn ? pfn(m_hTheme, iPartId, iStateId, iPropId, pColor) : E_FAIL;
}

BOOL CKLVWinThemeWrapper::GetThemeSysBool(int iBoolId) {
    auto pfn = GetWinThemeApiTable()->GetProc<decltype(&::GetThemeSysBool)>(CKLVWinThemeApiTable::slotGetThemeSysBool);
    return pfn ? pfn(m_hTheme, iBoolId) : FALSE;
}

BOOL CKLVWinThemeWrapper::IsAppThemed() {
    if (!m_hTheme) return FALSE;
    auto pfn = GetWinThemeApiTable()->GetProc<decltype(&::IsAppThemed)>(CKLVWinThemeApiTable::slotIsAppThemed);
    return pfn ? pfn() : FALSE;
}

BOOL CKLVWinThemeWrapper::IsThemeActive() {
    CKLVWinThemeApiTable* pTable = GetWinThemeApiTable();
    pTable->CheckModule();
    auto pfn = pTable->GetProc<decltype(&::IsThemeActive)>(CKLVWinThemeApiTable::slotIsThemeActive);
    return pfn ? pfn() : FALSE;
}

HRESULT CKLVWinThemeWrapper::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                                 int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars) {
    CKLVWinThemeApiTable* pTable = GetWinThemeApiTable();
    pTable->CheckModule();
    auto pfn = pTable->GetProc<decltype(&::GetCurrentThemeName)>(CKLVWinThemeApiTable::slotGetCurrentThemeName);
    return pfn ? pfn(pszThemeFileName, cchMaxNameChars, pszColorBuff, cchMaxColorChars, pszSizeBuff, cchMaxSizeChars)
               : E_FAIL;
}

HPAINTBUFFER CKLVWinThemeWrapper::BeginBufferedPaint(HDC hdcTarget, const RECT* prcTarget, BP_BUFFERFORMAT dwFormat,
                                                     BP_PAINTPARAMS* pPaintParams, HDC* phdc) {
    auto pfn = GetWinThemeApiTable()->GetProc<decltype(&::BeginBufferedPaint)>(
        CKLVWinThemeApiTable::slotBeginBufferedPaint);
    return pfn ? pfn(hdcTarget, prcTarget, dwFormat, pPaintParams, phdc) : nullptr;
}

void CKLVWinThemeWrapper::EndBufferedPaint(HPAINTBUFFER hBufferedPaint, BOOL fUpdateTarget) {
    auto pfn = GetWinThemeApiTable()->GetProc<decltype(&::EndBufferedPaint)>(CKLVWinThemeApiTable::slotEndBufferedPaint);
    if (pfn) pfn(hBufferedPaint, fUpdateTarget);
}

BOOL CKLVWinThemeWrapper::IsComCtlThemed() {
    return IsThemeActive() && HIWORD(GetWinThemeApiTable()->m_dwComCtlVersion) >= 6;
}
