// Drawing checks for the paint-manager tests: a white 32-bit DIB section in a memory DC, the
// pixels reference strokes cover, and a flat theme made for each test.
#pragma once

#include "ToolkitTestSupport.h"
#include "support/FlatPaintManagerTheme.h"
#include "toolkit/common/DrawHelpers.h"

#include <memory>
#include <set>
#include <utility>

namespace commandbars_test {

inline const COLORREF kBack = RGB(255, 255, 255);
inline const COLORREF kInk = RGB(0, 0, 0);
// No pixel: what two DIBs drawn alike differ in.
inline const std::set<std::pair<int, int>> kNoPixels;

// A white 32-bit DIB section selected into a memory DC.
class Dib {
public:
    Dib(int cx = 40, int cy = 40) : m_cx(cx), m_cy(cy) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_bitmap.Attach(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
        m_dc.CreateCompatibleDC(nullptr);
        m_hOld = m_dc.SelectObject(static_cast<HGDIOBJ>(m_bitmap));
        m_dc.FillSolidRect(0, 0, cx, cy, kBack);
    }
    ~Dib() { m_dc.SelectObject(m_hOld); }
    COLORREF At(int x, int y) const { return m_dc.GetPixel(x, y); }
    std::set<std::pair<int, int>> Painted() const {
        std::set<std::pair<int, int>> points;
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                if (At(x, y) != kBack) points.insert({x, y});
        return points;
    }
    // The pixels where the other DIB (at least as large) differs from this one.
    std::set<std::pair<int, int>> DifferingFrom(const Dib& other) const {
        std::set<std::pair<int, int>> points;
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                if (At(x, y) != other.At(x, y)) points.insert({x, y});
        return points;
    }

    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOld;
    int m_cx, m_cy;
};

// The Wine prefix may not load the packaged Wine fonts; this process then takes Marlett itself,
// before anything draws with it (a face asked for while missing stays mapped to another).
inline void TakeMarlett() {
    if (!CKLVDrawHelpers::FontExists("Marlett"))
        ::AddFontResourceExA("Z:\\usr\\share\\wine\\fonts\\marlett.ttf", FR_PRIVATE, nullptr);
}

struct Release {
    void operator()(CKLVPaintManager* p) const { p->InternalRelease(); }
};

class PaintManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        m_pPaintManager.reset(CKLVPaintManager::CreateThemeObject(0));
    }
    std::unique_ptr<CKLVPaintManager, Release> m_pPaintManager;
};

// The pixels of polylines through the points, each end point left out.
inline std::set<std::pair<int, int>> Strokes(std::initializer_list<std::initializer_list<POINT>> lines) {
    Dib dib;
    CPen pen(PS_SOLID, 1, kInk);
    CPen* pOld = dib.m_dc.SelectObject(&pen);
    for (const auto& line : lines) dib.m_dc.Polyline(line.begin(), static_cast<int>(line.size()));
    dib.m_dc.SelectObject(pOld);
    return dib.Painted();
}
}  // namespace commandbars_test
