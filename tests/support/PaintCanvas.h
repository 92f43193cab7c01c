// A screen-compatible bitmap (64 by 64 unless a test asks for another size) selected into a
// memory DC, white to start with, for the tests that paint through the class library and read
// the pixels back.
#pragma once

#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace testsupport {

class PaintCanvas : public ::testing::Test {
protected:
    explicit PaintCanvas(int cx = 64, int cy = 64) : m_cx(cx), m_cy(cy) {}
    void SetUp() override {
        CClientDC screen(nullptr);
        ASSERT_TRUE(m_dc.CreateCompatibleDC(&screen));
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&screen, m_cx, m_cy));
        m_hOldBitmap = m_dc.SelectObject(static_cast<HGDIOBJ>(m_bitmap));
        m_dc.FillSolidRect(0, 0, m_cx, m_cy, kWhite);
    }
    void TearDown() override { m_dc.SelectObject(m_hOldBitmap); }

    int CountPixels(const CRect& rect, COLORREF color) const {
        int nCount = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) nCount += m_dc.GetPixel(x, y) == color;
        return nCount;
    }

    struct Pixel {
        int x;
        int y;
        COLORREF color;
    };
    void ExpectPixels(std::initializer_list<Pixel> pixels) const {
        for (const Pixel& p : pixels)
            EXPECT_EQ(m_dc.GetPixel(p.x, p.y), p.color) << "at " << p.x << "," << p.y;
    }

    static constexpr COLORREF kWhite = RGB(255, 255, 255);
    int m_cx;
    int m_cy;
    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap = nullptr;
};

}  // namespace testsupport
