// The toolkit's one source of colours: 63 indexed colours (0 to 29 the system colours, 30 to 62
// the toolkit's own; anything above 62 is a literal colour), the XP-scheme colours and ten
// gradients, rebuilt from the system on every refresh.
#pragma once

#include "classlib/CmdTarget.h"
#include "toolkit/common/ColorValue.h"

// The integer mix of two colours: p per cent of c1 when p < 100, else p per mille.
COLORREF BlendColors(COLORREF clrFirst, COLORREF clrSecond, int nPart);

class CKLVColorManager : public CCmdTarget {
public:
    enum { nColorCount = 63, nGradientCount = 10 };
    enum Theme { themeNone = 0, themeBlue = 1, themeOlive = 2, themeSilver = 3, themeSystem = 4 };

    CKLVColorManager();

    COLORREF GetColor(UINT nIndex) const;
    // For 30 to 62 the XP-scheme colour wins when the current scheme has one.
    COLORREF GetLunaColor(UINT nIndex) const;
    // 1 to 8 bits per pixel on the DC (the desktop for null).
    static BOOL IsLowResolution(HDC hDC = nullptr);
    int IsLunaColorsDisabled() const { return m_bLunaColorsDisabled; }
    int GetSystemTheme() const { return m_nSystemTheme; }
    int GetCurrentTheme() const;

    void RefreshColors();
    int GetCurrentSystemTheme() const;
    void RefreshLunaColors();
    void RefreshGradientColors();

    // Contrast in a weighted colour space. Far: a and b lie more than the threshold apart
    // (relative to a's brightness when bRelative). Ensure: b moved along its line from black or
    // white until it lies exactly the threshold from a. Limit: b moved straight toward a until
    // it lies exactly the threshold from it.
    static BOOL IsContrastSufficient(COLORREF clrA, COLORREF clrB, BOOL bRelative, float fThreshold);
    static COLORREF EnsureContrast(COLORREF clrA, COLORREF clrB, float fThreshold);
    static COLORREF LimitContrast(COLORREF clrA, COLORREF clrB, float fThreshold);

    // The XP scheme a theme's file and colour names describe (0 when none).
    static int ThemeFromNames(LPCWSTR pszThemeFile, LPCWSTR pszColorName, BOOL bAllowRoyale);

    CKLVGradientColorValue m_grcGradient[nGradientCount];
    BOOL m_bAllowRoyale = FALSE;
    BOOL m_bLunaColorsDisabled = FALSE;
    COLORREF m_arrStandardColor[nColorCount];
    COLORREF m_arrCustomColor[nColorCount];
    COLORREF m_arrLunaColor[nColorCount];
    // Called instead of GetSysColor when set.
    COLORREF (*m_pfnGetSysColor)(int nIndex) = nullptr;
    int m_nTheme = themeSystem;   // 0 to 3 force a scheme; 4 and 5 follow the system
    int m_nSystemTheme = themeNone;

private:
    int GetLunaTheme() const;
    void SetStandard(UINT nIndex, COLORREF clr) { m_arrStandardColor[nIndex] = clr; }
    void RefreshSystemColors();
    void RefreshBaseColors();
    void RefreshBlendColors();
    void RefreshContrastColors();
    void RefreshComputedColors();
    void RefreshBorderColor();
};

// The process-wide manager, built (and refreshed) on first use.
CKLVColorManager* GetColorManager();
void RefreshColors();
