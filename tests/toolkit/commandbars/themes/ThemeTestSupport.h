// A theme made by number for each test, with every colour number given a colour of its own so
// that a pixel tells which number painted it, and a 32-bit canvas to paint into.
#pragma once

#include "ControlTestSupport.h"
#include "toolkit/common/ColorManager.h"

#include <gtest/gtest.h>

#include <memory>

namespace themes_test {

using commandbars_test::Dib;
using commandbars_test::kBack;
using commandbars_test::Release;

using ThemePtr = std::unique_ptr<CKLVPaintManager, Release>;

// Colour number n as the tests see it: never white, never equal to another number's.
inline COLORREF Numbered(int n) { return RGB(n * 3 + 1, 40 + n, 200 - n); }

inline ThemePtr MakeTheme(int nTheme, BOOL bNumberedColors = TRUE) {
    ThemePtr pTheme(CKLVPaintManager::CreateThemeObject(nTheme));
    pTheme->RefreshMetrics();
    if (bNumberedColors)
        for (int i = 0; i < CKLVPaintManager::nColorCount; ++i) pTheme->SetCustomColor(i, Numbered(i));
    return pTheme;
}

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

// What a frame-and-fill routine left in a rectangle: its four edges and its inside.
struct Painted {
    COLORREF left, top, right, bottom, inside;
};

inline Painted ReadFrame(const Dib& dib, CRect rc) {
    const CPoint c = rc.CenterPoint();
    return {dib.At(rc.left, c.y), dib.At(c.x, rc.top), dib.At(rc.right - 1, c.y), dib.At(c.x, rc.bottom - 1),
            dib.At(c.x, c.y)};
}

}  // namespace themes_test
