#include "toolkit/common/DesktopSource.h"

#include "toolkit/common/WinThemeWrapper.h"

#include <vssym32.h>

namespace {

CKLVDesktopSource* g_pCurrentSource = nullptr;

CKLVDesktopSource* SystemSource() {
    static CKLVDesktopSource s_source;
    return &s_source;
}

}  // namespace

int CKLVDesktopSource::GetBitsPerPixel(HDC hDC) {
    if (hDC) return ::GetDeviceCaps(hDC, BITSPIXEL);
    HWND hDesktop = ::GetDesktopWindow();
    HDC hDesktopDC = ::GetDC(hDesktop);
    if (!hDesktopDC) return 0;
    int nBits = ::GetDeviceCaps(hDesktopDC, BITSPIXEL);
    ::ReleaseDC(hDesktop, hDesktopDC);
    return nBits;
}

BOOL CKLVDesktopSource::IsThemeActive() { return CKLVWinThemeWrapper::IsThemeActive(); }

HRESULT CKLVDesktopSource::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                               int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars) {
    return CKLVWinThemeWrapper::GetCurrentThemeName(pszThemeFileName, cchMaxNameChars, pszColorBuff,
                                                    cchMaxColorChars, pszSizeBuff, cchMaxSizeChars);
}

BOOL CKLVDesktopSource::GetThemeBorderColor(COLORREF* pColor) {
    CKLVWinThemeWrapper theme;
    theme.OpenThemeData(nullptr, L"TREEVIEW");
    return theme.IsAppThemed() && SUCCEEDED(theme.GetThemeColor(0, 0, TMT_BORDERCOLOR, pColor));
}

CKLVDesktopSource* KLVGetDesktopSource() { return g_pCurrentSource ? g_pCurrentSource : SystemSource(); }

CKLVDesktopSource* KLVSetDesktopSource(CKLVDesktopSource* pSource) {
    CKLVDesktopSource* pOld = KLVGetDesktopSource();
    g_pCurrentSource = pSource;
    return pOld;
}
