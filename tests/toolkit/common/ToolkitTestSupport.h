// Helpers for the toolkit tests: a desktop with a chosen depth and visual style, a fixed set of
// system colours, and the shared paint canvas.
#pragma once

#include "classlib/ClassLib.h"
#include "support/PaintCanvas.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DesktopSource.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <initializer_list>
#include <string>
#include <vector>

namespace toolkit_test {

// A desktop whose depth, style names and border colour the test sets.
class FakeDesktop : public CKLVDesktopSource {
public:
    FakeDesktop() { m_pPrevious = KLVSetDesktopSource(this); }
    ~FakeDesktop() override { KLVSetDesktopSource(m_pPrevious == this ? nullptr : m_pPrevious); }
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    // A themed desktop showing the named style file and colour scheme.
    void SetStyle(const wchar_t* pszFile, const wchar_t* pszColor) {
        m_bThemed = TRUE;
        m_file = pszFile;
        m_color = pszColor;
    }

    int GetBitsPerPixel(HDC) override { return m_nBits; }
    BOOL IsThemeActive() override { return m_bThemed; }
    HRESULT GetCurrentThemeName(LPWSTR pszFile, int cchFile, LPWSTR pszColor, int cchColor, LPWSTR pszSize,
                                int cchSize) override {
        if (m_hrNames != S_OK) return m_hrNames;
        wcsncpy(pszFile, m_file.c_str(), cchFile);
        wcsncpy(pszColor, m_color.c_str(), cchColor);
        wcsncpy(pszSize, L"NormalSize", cchSize);
        return S_OK;
    }
    BOOL GetThemeBorderColor(COLORREF* pColor) override {
        if (m_clrBorder == COLORREF(-1)) return FALSE;
        *pColor = m_clrBorder;
        return TRUE;
    }

    int m_nBits = 32;
    BOOL m_bThemed = FALSE;
    HRESULT m_hrNames = S_OK;
    COLORREF m_clrBorder = COLORREF(-1);

private:
    CKLVDesktopSource* m_pPrevious;
    std::wstring m_file;
    std::wstring m_color;
};

// The classic grey scheme, for the colour manager's system-colour hook.
inline COLORREF ClassicSysColor(int nIndex) {
    switch (nIndex) {
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT: case COLOR_MENUTEXT: case COLOR_BTNTEXT: return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT: return RGB(10, 36, 106);
    case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
    case COLOR_BTNFACE: return RGB(212, 208, 200);
    case COLOR_BTNSHADOW: return RGB(128, 128, 128);
    case COLOR_GRAYTEXT: return RGB(128, 128, 128);
    case COLOR_3DLIGHT: return RGB(201, 202, 203);
    default: return RGB(nIndex, nIndex * 2, nIndex * 3);
    }
}

using Canvas = testsupport::PaintCanvas;

// A window that counts the messages of the given kinds reaching it.
class CMessageCounter : public CWnd {
public:
    explicit CMessageCounter(std::initializer_list<UINT> messages) : m_messages(messages) {}
    int m_nCount = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        for (UINT counted : m_messages) m_nCount += counted == message;
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::vector<UINT> m_messages;
};

// Forces the colour manager's scheme for the test's lifetime.
class ForcedScheme {
public:
    explicit ForcedScheme(int nScheme) : m_nSaved(GetColorManager()->m_nTheme) {
        GetColorManager()->m_nTheme = nScheme;
        GetColorManager()->RefreshColors();
    }
    ~ForcedScheme() {
        GetColorManager()->m_nTheme = m_nSaved;
        GetColorManager()->RefreshColors();
    }
    ForcedScheme(const ForcedScheme&) = delete;
    ForcedScheme& operator=(const ForcedScheme&) = delete;

private:
    int m_nSaved;
};

}  // namespace toolkit_test
