#include "app/HelpViewer.h"

namespace {

BOOL RunsUnderWine() {
    HMODULE hNtDll = ::GetModuleHandleA("ntdll.dll");
    return hNtDll && ::GetProcAddress(hNtDll, "wine_get_version") != nullptr;
}

BOOL FolderExists(const CString& strPath) {
    const DWORD dwAttributes = ::GetFileAttributesA(strPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

BOOL HelpViewerDrawsPages() {
    if (!RunsUnderWine()) return TRUE;
    char szSystem[MAX_PATH] = "";
    ::GetSystemDirectoryA(szSystem, MAX_PATH);
    // The prefix's own install, then the distribution's shared folders.
    for (const CString& strFolder : {CString(szSystem) + "\\gecko", CString("Z:\\usr\\share\\wine\\gecko"),
                                     CString("Z:\\opt\\wine\\gecko")})
        if (FolderExists(strFolder)) return TRUE;
    return FALSE;
}

BOOL OpenHtmlHelp(HWND hWndOwner, LPCSTR lpszChmPath) {
    using PFNHTMLHELPA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    // The viewer stays loaded for the windows it opens.
    static HMODULE s_hHelpControl = ::LoadLibraryA("hhctrl.ocx");
    if (!s_hHelpControl) return FALSE;
    auto pfnHtmlHelp = reinterpret_cast<PFNHTMLHELPA>(::GetProcAddress(s_hHelpControl, "HtmlHelpA"));
    const UINT kDisplayTopic = 0;
    return pfnHtmlHelp && pfnHtmlHelp(hWndOwner, lpszChmPath, kDisplayTopic, 0) != nullptr;
}
