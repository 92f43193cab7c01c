// The themed flat border on the output pane's edit, which shows both scroll bars: the frame runs
// all round the window's edge in the theme's colour, and the corner between the bars is one piece.
#include "app/FlatBorder.h"
#include "app/OutputEdit.h"
#include "classlib/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Misses {
    int nCount = 0;
    std::string strFirst;
    void Check(CDC& dc, int x, int y, COLORREF clr) {
        if (dc.GetPixel(x, y) == clr) return;
        if (nCount++ == 0) strFirst = std::to_string(x) + "," + std::to_string(y);
    }
};

TEST(FlatBorder, TheFrameRunsRoundTheEdgeAndTheCornerBetweenTheScrollBarsIsOnePiece) {
    COutputEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_HSCROLL | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                            CRect(10, 10, 250, 170), classlib_test::VisibleStage(), 0));
    edit.RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    CRect rcWindow, rcClient;
    edit.GetWindowRect(&rcWindow);
    edit.GetClientRect(&rcClient);
    edit.ClientToScreen(&rcClient);
    rcClient.OffsetRect(-rcWindow.TopLeft());
    const int w = rcWindow.Width(), h = rcWindow.Height();
    CWindowDC dc(&edit);

    Misses frame;
    const COLORREF clrBorder = GetFlatBorderColor();
    for (int x = 0; x < w; ++x) {
        frame.Check(dc, x, 0, clrBorder);
        frame.Check(dc, x, h - 1, clrBorder);
    }
    for (int y = 0; y < h; ++y) {
        frame.Check(dc, 0, y, clrBorder);
        frame.Check(dc, w - 1, y, clrBorder);
    }
    EXPECT_EQ(frame.nCount, 0) << "first off the border colour at " << frame.strFirst;

    // Right of the horizontal bar and below the vertical one, up to the frame.
    ASSERT_GT(w - 1 - rcClient.right, 8);
    ASSERT_GT(h - 1 - rcClient.bottom, 8);
    Misses corner;
    const COLORREF clrCorner = dc.GetPixel(rcClient.right + 4, rcClient.bottom + 4);
    for (int y = rcClient.bottom; y < h - 1; ++y)
        for (int x = rcClient.right; x < w - 1; ++x) corner.Check(dc, x, y, clrCorner);
    EXPECT_EQ(corner.nCount, 0) << "first off the corner's colour at " << corner.strFirst;
    edit.DestroyWindow();
}

}  // namespace
