#include "app/WineHost.h"

#include <windows.h>

#include <vector>

bool IsRunningUnderWine() {
    HMODULE hNtdll = ::GetModuleHandleA("ntdll.dll");
    return hNtdll && ::GetProcAddress(hNtdll, "wine_get_version") != nullptr;
}

std::string UnixPathOf(const std::string& strWindowsPath) {
    using PFNUNIXNAME = char*(CDECL*)(LPCWSTR);
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    // Through void*: the export's true type is not FARPROC's.
    auto pfnUnixName = hKernel ? reinterpret_cast<PFNUNIXNAME>(reinterpret_cast<void*>(
                                     ::GetProcAddress(hKernel, "wine_get_unix_file_name")))
                               : nullptr;
    if (!pfnUnixName) return std::string();
    const int nWide = ::MultiByteToWideChar(CP_ACP, 0, strWindowsPath.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<size_t>(nWide > 0 ? nWide : 1));
    ::MultiByteToWideChar(CP_ACP, 0, strWindowsPath.c_str(), -1, wide.data(), nWide);
    char* pszUnix = pfnUnixName(wide.data());
    if (!pszUnix) return std::string();
    std::string strUnix = pszUnix;
    ::HeapFree(::GetProcessHeap(), 0, pszUnix);
    return strUnix;
}

bool IsWindowsProgram(const std::string& strPath) {
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    char szHead[2] = {};
    DWORD nRead = 0;
    const BOOL bRead = ::ReadFile(hFile, szHead, sizeof(szHead), &nRead, nullptr);
    ::CloseHandle(hFile);
    return bRead && nRead == 2 && szHead[0] == 'M' && szHead[1] == 'Z';
}
