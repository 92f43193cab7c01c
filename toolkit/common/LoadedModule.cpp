#include "toolkit/common/LoadedModule.h"

#include <shlwapi.h>

CKLVLoadedModule::CKLVLoadedModule(LPCSTR lpszModuleName) {
    if (!GetModuleHandle(lpszModuleName)) LoadLibrary(lpszModuleName);
}

BOOL CKLVLoadedModule::GetModuleHandle(LPCSTR lpszModuleName) {
    Release();
    return Hold(lpszModuleName, ::GetModuleHandleA(lpszModuleName), holdFound);
}

BOOL CKLVLoadedModule::LoadLibrary(LPCSTR lpszModuleName) {
    Release();
    return Hold(lpszModuleName, ::LoadLibraryA(lpszModuleName), holdLoaded);
}

BOOL CKLVLoadedModule::Hold(LPCSTR lpszModuleName, HMODULE hModule, HoldMode nMode) {
    if (!hModule) return FALSE;
    m_hModule = hModule;
    m_nHoldMode = nMode;
    m_strModuleName = lpszModuleName;
    return TRUE;
}

void CKLVLoadedModule::Release() {
    if (m_nHoldMode == holdLoaded) ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
    m_nHoldMode = holdNothing;
    m_strModuleName.Empty();
}

DWORD KLVGetDllVersion(LPCSTR lpszModuleName) {
    CKLVLoadedModule module(lpszModuleName);
    DWORD dwVersion = 0;
    auto pfnGetVersion = module.GetProc<DLLGETVERSIONPROC>("DllGetVersion");
    if (pfnGetVersion) {
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof(info);
        if (SUCCEEDED(pfnGetVersion(&info))) dwVersion = MAKELONG(info.dwMinorVersion, info.dwMajorVersion);
    }
    return dwVersion ? dwVersion : MAKELONG(0, 4);
}

DWORD GetComCtlVersion() {
    static const DWORD s_dwVersion = KLVGetDllVersion("COMCTL32.DLL");
    return s_dwVersion;
}
