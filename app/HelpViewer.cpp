#include "app/HelpViewer.h"

#include "app/PathKind.h"
#include "app/WineHost.h"
#include "toolkit/common/LoadedModule.h"

BOOL HoldsGeckoEngine(const CString& strFolder) {
    WIN32_FIND_DATAA data{};
    const HANDLE hFind = ::FindFirstFileA(strFolder + "\\*", &data);
    if (hFind == INVALID_HANDLE_VALUE) return FALSE;
    BOOL bFound = FALSE;
    do {
        const CString strName = data.cFileName;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || strName == "." || strName == "..") continue;
        bFound = strName.Left(10).CompareNoCase("wine-gecko") == 0 ||
                 IsExistingFolder(std::string(strFolder + "\\" + strName + "\\wine_gecko"));
    } while (!bFound && ::FindNextFileA(hFind, &data));
    ::FindClose(hFind);
    return bFound;
}

BOOL HelpViewerDrawsPages() {
    if (!IsRunningUnderWine()) return TRUE;
    // Wine's HTML engine may be turned off for this process (a DLL override); its module then
    // does not load.
    HMODULE hHtml = ::LoadLibraryA("mshtml.dll");
    if (!hHtml) return FALSE;
    ::FreeLibrary(hHtml);
    char szSystem[MAX_PATH] = "";
    ::GetSystemDirectoryA(szSystem, MAX_PATH);
    // The prefix's own install, then the distribution's shared folders. A prefix holds a "gecko"
    // folder (its plug-in folder) even without the engine.
    for (const CString& strFolder : {CString(szSystem) + "\\gecko", CString("Z:\\usr\\share\\wine\\gecko"),
                                     CString("Z:\\opt\\wine\\gecko")})
        if (HoldsGeckoEngine(strFolder)) return TRUE;
    return FALSE;
}

BOOL OpenHtmlHelp(HWND hWndOwner, LPCSTR lpszChmPath) {
    using PFNHTMLHELPA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    // The viewer stays loaded for the windows it opens.
    static HMODULE s_hHelpControl = ::LoadLibraryA("hhctrl.ocx");
    if (!s_hHelpControl) return FALSE;
    auto pfnHtmlHelp = KLVProcCast<PFNHTMLHELPA>(::GetProcAddress(s_hHelpControl, "HtmlHelpA"));
    const UINT kDisplayTopic = 0;
    return pfnHtmlHelp && pfnHtmlHelp(hWndOwner, lpszChmPath, kDisplayTopic, 0) != nullptr;
}
