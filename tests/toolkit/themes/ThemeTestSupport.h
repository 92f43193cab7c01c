// A theme made by number for each test, with every colour number given a colour of its own so
// that a pixel tells which number painted it, and a 32-bit canvas to paint into.
#pragma once

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace themes_test {

using commandbars_test::Dib;
using commandbars_test::kBack;
using commandbars_test::kNoPixels;
using commandbars_test::Release;
using toolkit_test::ForcedScheme;

using ThemePtr = std::unique_ptr<CKLVPaintManager, Release>;

// Colour number n as the tests see it: never white, never equal to another number's.
inline COLORREF Numbered(int n) { return RGB(n * 3 + 1, 40 + n, 200 - n); }

// A theme of a known class, its metrics refreshed and its own colours kept.
template <class TTheme>
std::unique_ptr<TTheme, Release> MakeThemeOf(int nTheme) {
    std::unique_ptr<TTheme, Release> pTheme(static_cast<TTheme*>(CKLVPaintManager::CreateThemeObject(nTheme)));
    pTheme->RefreshMetrics();
    return pTheme;
}

inline ThemePtr MakeTheme(int nTheme, BOOL bNumberedColors = TRUE) {
    ThemePtr pTheme(CKLVPaintManager::CreateThemeObject(nTheme));
    pTheme->RefreshMetrics();
    if (bNumberedColors)
        for (int i = 0; i < CKLVPaintManager::nColorCount; ++i) pTheme->SetCustomColor(i, Numbered(i));
    return pTheme;
}

// What a frame-and-fill routine left in a rectangle: its four edges and its inside.
struct Painted {
    COLORREF left, top, right, bottom, inside;
};

inline Painted ReadFrame(const Dib& dib, CRect rc) {
    const CPoint c = rc.CenterPoint();
    return {dib.At(rc.left, c.y), dib.At(c.x, rc.top), dib.At(rc.right - 1, c.y), dib.At(c.x, rc.bottom - 1),
            dib.At(c.x, c.y)};
}

// The frame, fill and text colour numbers DrawRectangle and GetRectangleTextColor give a state.
const int kNone = -1;

struct StateCase {
    int nSelected, nPressed, nEnabled, nChecked, bPopuped, nBarType, nPosition;
    int left, top, right, bottom, inside;   // colour numbers, kNone for untouched
    int nText;
};

inline COLORREF Expected(int n) { return n == kNone ? kBack : Numbered(n); }

inline void CheckStates(int nTheme, std::initializer_list<StateCase> cases) {
    ThemePtr pTheme = MakeTheme(nTheme);
    for (const auto& c : cases) {
        Dib dib(20, 20);
        const CRect rc(2, 2, 16, 16);
        pTheme->DrawRectangle(&dib.m_dc, rc, c.nSelected, c.nPressed, c.nEnabled, c.nChecked, c.bPopuped, c.nBarType,
                              c.nPosition);
        const Painted p = ReadFrame(dib, rc);
        const std::string what = "theme " + std::to_string(nTheme) + " state " + std::to_string(c.nSelected) + "," +
                                 std::to_string(c.nPressed) + "," + std::to_string(c.nEnabled) + "," +
                                 std::to_string(c.nChecked) + "," + std::to_string(c.bPopuped) + " bar " +
                                 std::to_string(c.nBarType) + "/" + std::to_string(c.nPosition);
        EXPECT_EQ(p.left, Expected(c.left)) << what;
        EXPECT_EQ(p.top, Expected(c.top)) << what;
        EXPECT_EQ(p.right, Expected(c.right)) << what;
        EXPECT_EQ(p.bottom, Expected(c.bottom)) << what;
        if (c.inside != -2) {
            EXPECT_EQ(p.inside, Expected(c.inside)) << what;
        }
        EXPECT_EQ(pTheme->GetRectangleTextColor(c.nSelected, c.nPressed, c.nEnabled, c.nChecked, c.bPopuped,
                                                c.nBarType, c.nPosition),
                  Numbered(c.nText))
            << what;
    }
}

}  // namespace themes_test
