// A holder of a module bound at run time: either one that was already loaded (never freed by
// the holder) or one the holder loaded itself (freed when released).
#pragma once

#include "classlib/String.h"

// An entry point looked up by name, as the function type the caller knows it by.
template <class T>
T KLVProcCast(FARPROC pfn) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(pfn));
}

class CKLVLoadedModule {
public:
    enum HoldMode { holdNothing = 0, holdFound = 1, holdLoaded = 2 };

    CKLVLoadedModule() noexcept = default;
    // The module as already loaded, else loaded now.
    explicit CKLVLoadedModule(LPCSTR lpszModuleName);
    virtual ~CKLVLoadedModule() { Release(); }
    CKLVLoadedModule(const CKLVLoadedModule&) = delete;
    CKLVLoadedModule& operator=(const CKLVLoadedModule&) = delete;

    // Both release what is held first; FALSE when the module cannot be had.
    BOOL GetModuleHandle(LPCSTR lpszModuleName);
    BOOL LoadLibrary(LPCSTR lpszModuleName);
    void Release();

    operator HMODULE() const { return m_hModule; }
    HMODULE GetHandle() const { return m_hModule; }
    HoldMode GetHoldMode() const { return m_nHoldMode; }
    const CString& GetModuleName() const { return m_strModuleName; }
    FARPROC GetProcAddress(LPCSTR lpszProcName) const {
        return m_hModule ? ::GetProcAddress(m_hModule, lpszProcName) : nullptr;
    }
    template <class T>
    T GetProc(LPCSTR lpszProcName) const {
        return KLVProcCast<T>(GetProcAddress(lpszProcName));
    }

private:
    BOOL Hold(LPCSTR lpszModuleName, HMODULE hModule, HoldMode nMode);

    CString m_strModuleName;
    HMODULE m_hModule = nullptr;
    HoldMode m_nHoldMode = holdNothing;
};

// The version of a module's DllGetVersion as major << 16 | minor; 0x40000 (4.0) when the
// module or its export is missing or the call fails.
DWORD KLVGetDllVersion(LPCSTR lpszModuleName);
// The common-controls version, read once.
DWORD GetComCtlVersion();
