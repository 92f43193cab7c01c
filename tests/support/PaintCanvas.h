// A 64 by 64 screen-compatible bitmap selected into a memory DC, white to start with, for the
// tests that paint through the class library and read the pixels back.
#pragma once

#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace testsupport {

class PaintCanvas : public ::testing::Test {
protected:
    void SetUp() override {
        CClientDC screen(nullptr);
        ASSERT_TRUE(m_dc.CreateCompatibleDC(&screen));
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&screen, 64, 64));
        m_hOldBitmap = m_dc.SelectObject(static_cast<HGDIOBJ>(m_bitmap));
        m_dc.FillSolidRect(0, 0, 64, 64, kWhite);
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
    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap = nullptr;
};

}  // namespace testsupport
