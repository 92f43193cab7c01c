// A window's own modal loop: its result, WM_QUIT passing through it, showing on idle.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

namespace {

const UINT WM_TEST_END = WM_APP + 40;

class CModalWnd : public CWnd {
public:
    int m_nKicks = 0;

protected:
    afx_msg LRESULT OnTestEnd(WPARAM wParam, LPARAM) {
        EndModalLoop(static_cast<int>(wParam));
        return 0;
    }
    afx_msg LRESULT OnKickIdle(WPARAM, LPARAM lCount) {
        ++m_nKicks;
        if (lCount == 2) PostMessage(WM_TEST_END, 42);   // after three rounds of idle work
        return lCount < 2;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModalWnd, CWnd)
    ON_MESSAGE(WM_TEST_END, OnTestEnd)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

}  // namespace

TEST(ModalLoop, ReturnsTheEndResultAndPassesQuitOn) {
    const struct { DWORD dwFlags; bool bQuit; int nExpected; bool bVisible; bool bKicked; } cases[] = {
        {0, false, 42, false, true},
        {MLF_SHOWONIDLE, false, 42, true, true},
        {MLF_NOKICKIDLE, false, 42, false, false},
        {MLF_NOKICKIDLE, true, -1, false, false},
    };
    for (const auto& c : cases) {
        CModalWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "modal", WS_CHILD, CRect(0, 0, 40, 40),
                                 classlib_test::VisibleStage(), 1));
        if (c.bQuit) ::PostQuitMessage(7);
        else if (c.dwFlags & MLF_NOKICKIDLE) wnd.PostMessage(WM_TEST_END, 42);
        EXPECT_EQ(wnd.RunModalLoop(c.dwFlags), c.nExpected) << c.dwFlags;
        EXPECT_EQ(wnd.IsWindowVisible() != FALSE, c.bVisible);
        EXPECT_FALSE(wnd.ContinueModal());
        MSG msg;
        const BOOL bQuitLeft = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_EQ(bQuitLeft != FALSE, c.bQuit);
        EXPECT_EQ(bQuitLeft ? msg.wParam : 7u, 7u);
        EXPECT_EQ(wnd.m_nKicks >= 3, c.bKicked) << c.dwFlags;
        wnd.DestroyWindow();
    }
}
