// What colours and drawing read about the desktop beyond the system colours: its depth, whether
// a visual style is active, the style's names and its border colour. Everything asks through
// the current source, so that a test can present a depth or a style the display at hand lacks.
#pragma once

#include "classlib/Object.h"

class CKLVDesktopSource {
public:
    virtual ~CKLVDesktopSource() = default;

    // Bits per pixel of the DC, or of the desktop window's DC for null; 0 when there is no DC.
    virtual int GetBitsPerPixel(HDC hDC);
    virtual BOOL IsThemeActive();
    virtual HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                        int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
    // The tree view's themed border colour; FALSE when the application is not themed or the
    // style has none.
    virtual BOOL GetThemeBorderColor(COLORREF* pColor);
};

CKLVDesktopSource* KLVGetDesktopSource();
// Makes pSource current (null: the system again) and returns the one it replaces.
CKLVDesktopSource* KLVSetDesktopSource(CKLVDesktopSource* pSource);
