// Painting through CDC into a memory bitmap and reading the pixels back: fills and frames, pens,
// brushes and fonts selected and restored, clipping, origins, and the scoped DCs of a window.
#include "WindowTestSupport.h"
#include "support/PaintCanvas.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 160, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kYellow = RGB(255, 255, 0);

using Canvas = testsupport::PaintCanvas;

TEST_F(Canvas, SolidFillsLeaveTheBackgroundColourAlone) {
    m_dc.SetBkColor(kGreen);
    m_dc.FillSolidRect(2, 2, 10, 10, kRed);
    EXPECT_EQ(m_dc.GetBkColor(), kGreen);
    ExpectPixels({{2, 2, kRed}, {11, 11, kRed}, {12, 12, kWhite}, {1, 2, kWhite}});
    EXPECT_EQ(CountPixels(CRect(0, 0, 64, 64), kRed), 100);
}

TEST_F(Canvas, ThreeDimensionalFramesGiveTheCornersToTheBottomRight) {
    m_dc.Draw3dRect(CRect(20, 20, 30, 28), kBlue, kYellow);
    ExpectPixels({
        {20, 20, kBlue},   {28, 20, kBlue},   {29, 20, kYellow},   // top edge, top-right corner
        {20, 26, kBlue},   {20, 27, kYellow},                      // left edge, bottom-left corner
        {29, 27, kYellow}, {25, 27, kYellow}, {29, 23, kYellow},   // bottom and right edges
        {25, 23, kWhite},  {30, 23, kWhite},  {25, 28, kWhite},    // inside and outside untouched
    });
    EXPECT_EQ(CountPixels(CRect(20, 20, 30, 28), kBlue), 9 + 6);
    EXPECT_EQ(CountPixels(CRect(20, 20, 30, 28), kYellow), 10 + 7);
}

TEST_F(Canvas, SavedStatesComeBack) {
    HGDIOBJ hOriginalPen = ::GetCurrentObject(m_dc, OBJ_PEN);
    CPen pen(PS_SOLID, 3, kGreen);
    int nSaved = m_dc.SaveDC();
    m_dc.SelectObject(&pen);
    m_dc.SetTextColor(kRed);
    m_dc.SetViewportOrg(10, 10);
    m_dc.FillSolidRect(0, 0, 1, 1, kBlue);
    EXPECT_TRUE(m_dc.RestoreDC(nSaved));
    ExpectPixels({{10, 10, kBlue}, {0, 0, kWhite}});
    EXPECT_EQ(::GetCurrentObject(m_dc, OBJ_PEN), hOriginalPen);
    EXPECT_EQ(m_dc.GetViewportOrg(), CPoint(0, 0));
    EXPECT_NE(m_dc.GetTextColor(), kRed);
}

TEST_F(Canvas, RegionsClipDrawing) {
    CRgn left;
    CRgn right;
    CRgn both;
    ASSERT_TRUE(left.CreateRectRgn(5, 5, 15, 15));
    ASSERT_TRUE(right.CreateRectRgn(40, 5, 50, 15));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(both.CombineRgn(&left, &right, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(both.PtInRegion(45, 10));
    EXPECT_FALSE(both.PtInRegion(25, 10));

    m_dc.SelectClipRgn(&both);
    CRect rcClip;
    m_dc.GetClipBox(&rcClip);
    EXPECT_EQ(rcClip, CRect(5, 5, 50, 15));
    m_dc.FillSolidRect(0, 0, 64, 64, kGreen);
    ExpectPixels({{10, 10, kGreen}, {45, 10, kGreen}, {25, 10, kWhite}, {10, 20, kWhite}});
    EXPECT_EQ(CountPixels(CRect(0, 0, 64, 64), kGreen), 200);

    m_dc.SelectClipRgn(nullptr);
    m_dc.ExcludeClipRect(0, 0, 32, 64);
    m_dc.FillSolidRect(0, 30, 64, 1, kRed);
    ExpectPixels({{31, 30, kWhite}, {32, 30, kRed}});
}

TEST_F(Canvas, ImageListsDrawTheirImagesThroughTheMask) {
    const COLORREF kMagenta = RGB(255, 0, 255);
    CBitmap strip;   // two 8 by 8 images: a red square, then a blue one, on magenta
    ASSERT_TRUE(strip.CreateCompatibleBitmap(&m_dc, 16, 8));
    {
        CDC paint;
        ASSERT_TRUE(paint.CreateCompatibleDC(&m_dc));
        CBitmap* pOld = paint.SelectObject(&strip);
        paint.FillSolidRect(0, 0, 16, 8, kMagenta);
        paint.FillSolidRect(2, 2, 4, 4, kRed);
        paint.FillSolidRect(10, 2, 4, 4, kBlue);
        paint.SelectObject(pOld);
    }
    CImageList images;
    ASSERT_TRUE(images.Create(8, 8, ILC_COLOR24 | ILC_MASK, 0, 1));
    EXPECT_EQ(images.Add(&strip, kMagenta), 0);
    EXPECT_EQ(images.GetImageCount(), 2);

    EXPECT_TRUE(images.Draw(&m_dc, 1, CPoint(20, 20), ILD_TRANSPARENT));
    ExpectPixels({{23, 23, kBlue}, {20, 20, kWhite}, {27, 27, kWhite}});
    HICON hIcon = images.ExtractIcon(0);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_TRUE(m_dc.DrawState(CPoint(40, 40), CSize(8, 8), hIcon, DSS_NORMAL));
    ExpectPixels({{43, 43, kRed}, {40, 40, kWhite}});
    ::DestroyIcon(hIcon);
}

class CPaintingWnd : public CWnd {
public:
    int m_nPaints = 0;
    CRect m_rcPaint;
    COLORREF m_pixelAfterFill = CLR_INVALID;

protected:
    void OnPaint() {
        CPaintDC dc(this);
        ++m_nPaints;
        m_rcPaint = dc.m_ps.rcPaint;
        EXPECT_EQ(dc.GetWindow(), this);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintingWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(WindowDCs, PaintDCValidatesTheUpdateRegion) {
    CPaintingWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "paint", WS_VISIBLE, CRect(0, 0, 100, 80), classlib_test::VisibleStage(), 1));
    wnd.ValidateRect(nullptr);
    CRect rcInvalid(1, 2, 30, 40);
    wnd.InvalidateRect(&rcInvalid, FALSE);
    CRect rcUpdate;
    EXPECT_TRUE(wnd.GetUpdateRect(&rcUpdate));
    EXPECT_EQ(rcUpdate, rcInvalid);
    wnd.SendMessage(WM_PAINT);
    EXPECT_EQ(wnd.m_nPaints, 1);
    EXPECT_EQ(wnd.m_rcPaint, rcInvalid);
    EXPECT_FALSE(wnd.GetUpdateRect(&rcUpdate)) << "EndPaint ran when the DC went out of scope";
}

}  // namespace
