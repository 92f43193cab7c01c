// Scope objects put back what they replaced; the buffer and memory DCs copy what was drawn
// into them to the target's rectangle and nothing else.
#include "ToolkitTestSupport.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/MemDC.h"

using toolkit_test::Canvas;

namespace {

const COLORREF kGreen = RGB(0, 160, 0);
const COLORREF kBlue = RGB(0, 0, 255);

TEST_F(Canvas, SelectorsRestoreWhatTheyReplaced) {
    const HGDIOBJ hFont = ::GetCurrentObject(m_dc, OBJ_FONT), hPen = ::GetCurrentObject(m_dc, OBJ_PEN),
                  hBrush = ::GetCurrentObject(m_dc, OBJ_BRUSH);
    const COLORREF clrText = m_dc.GetTextColor();
    CFont first, second;
    first.CreatePointFont(80, "Liberation Sans");
    second.CreatePointFont(120, "Liberation Sans");
    {
        CKLVFontDC fontDC(&m_dc, &first, kGreen);
        fontDC.SetFont(&second);   // only the font before the first is kept
        fontDC.SetColor(kBlue);
        EXPECT_EQ(::GetCurrentObject(m_dc, OBJ_FONT), second.m_hObject);
        CKLVPenDC penDC(m_dc.GetSafeHdc(), kBlue);
        CKLVBrushDC brushDC(m_dc.GetSafeHdc(), kGreen);
        m_dc.Rectangle(10, 10, 20, 20);
        ExpectPixels({{10, 10, kBlue}, {15, 15, kGreen}});
    }
    EXPECT_EQ(::GetCurrentObject(m_dc, OBJ_FONT), hFont);
    EXPECT_EQ(::GetCurrentObject(m_dc, OBJ_PEN), hPen);
    EXPECT_EQ(::GetCurrentObject(m_dc, OBJ_BRUSH), hBrush);
    EXPECT_EQ(m_dc.GetTextColor(), clrText);
    {
        CPen pen(PS_SOLID, 1, kGreen);
        CKLVObjectDC objectDC(&m_dc, &pen);
        EXPECT_EQ(::GetCurrentObject(m_dc, OBJ_PEN), pen.m_hObject);
    }
    EXPECT_EQ(::GetCurrentObject(m_dc, OBJ_PEN), hPen);
}

TEST_F(Canvas, TheBufferCopiesOnlyItsRectangle) {
    {
        CKLVBufferDC buffer(m_dc.GetSafeHdc(), CRect(10, 10, 20, 20));
        buffer.FillSolidRect(0, 0, 30, 30, kGreen);   // the target's coordinates
        EXPECT_EQ(m_dc.GetPixel(15, 15), kWhite);     // nothing before the end
    }
    EXPECT_EQ(CountPixels(CRect(10, 10, 20, 20), kGreen), 100);
    EXPECT_EQ(CountPixels(CRect(0, 0, 64, 64), kGreen), 100);
}

TEST_F(Canvas, TheMemoryDCPaintsAtItsCornerAndFillsWhenAsked) {
    {
        CKLMemDC memDC(&m_dc, CRect(8, 8, 24, 24), CKLVGradientColorValue(kBlue));
        ASSERT_TRUE(memDC.IsValid());
        EXPECT_TRUE(memDC.IsKindOf(RUNTIME_CLASS(CDC)));
        memDC.SetPixel(0, 0, kGreen);
    }
    EXPECT_EQ(m_dc.GetPixel(8, 8), kGreen);
    EXPECT_EQ(CountPixels(CRect(8, 8, 24, 24), kBlue), 16 * 16 - 1);
    EXPECT_EQ(m_dc.GetPixel(24, 24), kWhite);
    {
        // An empty rectangle covers the clip box; an unset fill leaves the buffer as made.
        CKLMemDC memDC(&m_dc, CRect(0, 0, 0, 0), CKLVGradientColorValue());
        EXPECT_EQ(memDC.GetRect(), CRect(0, 0, 64, 64));
        memDC.SetPixel(63, 63, kGreen);
    }
    EXPECT_EQ(m_dc.GetPixel(63, 63), kGreen);
    EXPECT_EQ(CountPixels(CRect(0, 0, 64, 64), kBlue), 0);
    CKLMemDC empty(nullptr);
    EXPECT_FALSE(empty.IsValid());
}

}  // namespace
