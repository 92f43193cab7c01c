#include "toolkit/common/WinDwmWrapper.h"

#include "toolkit/common/LoadedModule.h"

#include <uxtheme.h>

CKLVWinDwmApiTable* GetWinDwmApiTable() {
    static CKLVWinDwmApiTable s_table = [] {
        CKLVWinDwmApiTable table;
        table.m_hModule = ::LoadLibraryA("dwmapi.dll");
        return table;
    }();
    return &s_table;
}

namespace {

template <class T>
T BindDwm(FARPROC CKLVWinDwmApiTable::*pSlot, LPCSTR lpszName) {
    CKLVWinDwmApiTable* pTable = GetWinDwmApiTable();
    if (pTable->m_hModule && !(pTable->*pSlot)) pTable->*pSlot = ::GetProcAddress(pTable->m_hModule, lpszName);
    return KLVProcCast<T>(pTable->*pSlot);
}

}  // namespace

BOOL CKLVWinDwmWrapper::DwmDefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) {
    auto pfn = BindDwm<BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM, LRESULT*)>(&CKLVWinDwmApiTable::m_pfnDwmDefWindowProc,
                                                                            "DwmDefWindowProc");
    return pfn ? pfn(hWnd, msg, wParam, lParam, plResult) : FALSE;
}

HRESULT CKLVWinDwmWrapper::DwmExtendFrameIntoClientArea(HWND hWnd, int nLeft, int nTop, int nRight, int nBottom) {
    auto pfn = BindDwm<HRESULT(WINAPI*)(HWND, const MARGINS*)>(&CKLVWinDwmApiTable::m_pfnDwmExtendFrameIntoClientArea,
                                                               "DwmExtendFrameIntoClientArea");
    const MARGINS margins = {nLeft, nRight, nTop, nBottom};
    return pfn ? pfn(hWnd, &margins) : E_FAIL;
}
