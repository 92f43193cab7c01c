// The splitter drag loop on queued input, and the outside-click hook on real mouse input.
#include "ToolkitTestSupport.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/SplitterTracker.h"

namespace {

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

// A window at a known place on the screen; moves are posted in its client coordinates.
class Splitter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_wnd.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "splitter", WS_POPUP,
                                   CRect(100, 100, 300, 200), nullptr, 0));
    }
    void TearDown() override { m_wnd.DestroyWindow(); }
    void Post(UINT nMessage, WPARAM wParam, LPARAM lParam) { ::PostMessageA(m_wnd.GetSafeHwnd(), nMessage, wParam, lParam); }
    BOOL Track(CRect& rcTracker, BOOL bHorz) {
        CKLVSplitterTracker tracker(1);
        return tracker.Track(&m_wnd, 120, 110, 260, 180, &rcTracker, CPoint(150, 150), bHorz);
    }

    CWnd m_wnd;
};

TEST_F(Splitter, ButtonUpAcceptsTheClampedPosition) {
    CRect rcTracker(148, 100, 152, 200);
    Post(WM_MOUSEMOVE, 0, Point(80, 50));    // screen 180: left 178
    Post(WM_MOUSEMOVE, 0, Point(190, 50));   // screen 290: clamped to 260
    Post(WM_LBUTTONUP, 0, Point(190, 50));
    EXPECT_TRUE(Track(rcTracker, TRUE));
    EXPECT_EQ(rcTracker, CRect(260, 100, 264, 200));

    CRect rcVertical(100, 148, 300, 152);
    Post(WM_MOUSEMOVE, 0, Point(10, 0));     // screen y 100: clamped to 110 - 2 + 2
    Post(WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(Track(rcVertical, FALSE));
    EXPECT_EQ(rcVertical.top, 110);
}

TEST_F(Splitter, EscapeLostCaptureAndQuitCancel) {
    CRect rcTracker(148, 100, 152, 200);
    Post(WM_MOUSEMOVE, 0, Point(80, 50));
    Post(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(Track(rcTracker, TRUE));
    EXPECT_EQ(rcTracker.left, 178);   // the position reached is kept

    Post(WM_CANCELMODE, 0, 0);        // the default handling gives the capture up
    EXPECT_FALSE(Track(rcTracker, TRUE));
    EXPECT_EQ(::GetCapture(), nullptr);

    ::PostQuitMessage(7);
    EXPECT_FALSE(Track(rcTracker, TRUE));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

void ClickAt(int x, int y) {
    ::SetCursorPos(x, y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

TEST(OutsideClickHook, SwallowsClicksOutsideTheRegisteredWindowOnly) {
    // Children of the visible stage, which sits at the screen's origin.
    CWnd* pStage = classlib_test::VisibleStage();
    toolkit_test::CMessageCounter popup{WM_LBUTTONDOWN, WM_RBUTTONDOWN}, other{WM_LBUTTONDOWN, WM_RBUTTONDOWN};
    ASSERT_TRUE(popup.CreateEx(0, AfxRegisterWndClass(0), "popup", WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 120), pStage, 1));
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_CHILD | WS_VISIBLE, CRect(200, 20, 300, 120), pStage, 2));
    SetOutsideClickHook(&popup);
    EXPECT_TRUE(IsOutsideClickHookActive());
    ClickAt(70, 70);
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return popup.m_nCount == 1; }));
    ClickAt(250, 70);
    ClickAt(70, 70);   // a click inside after the swallowed one proves the first was handled
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return popup.m_nCount == 2; }));
    EXPECT_EQ(other.m_nCount, 0);

    SetOutsideClickHook(nullptr);
    EXPECT_FALSE(IsOutsideClickHookActive());
    ClickAt(250, 70);
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return other.m_nCount == 1; }));
    popup.DestroyWindow();
    other.DestroyWindow();
}

}  // namespace
