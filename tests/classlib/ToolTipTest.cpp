// The library's own tool tips: a window with tool tips enabled shows the thread's tool-tip control
// the tool under the mouse, and replaces it when the mouse moves to another one.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

enum : UINT { IDC_TOOL = 61 };

// Names a rectangle of its own as a tool with its own (allocated) text.
class CTipWnd : public CWnd {
public:
    CRect m_rcCustom{100, 10, 140, 30};
    int m_nHitTests = 0;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override {
        ++const_cast<CTipWnd*>(this)->m_nHitTests;
        if (!m_rcCustom.PtInRect(point)) return CWnd::OnToolHitTest(point, pTI);
        pTI->hwnd = m_hWnd;
        pTI->uId = 7;
        pTI->rect = m_rcCustom;
        pTI->lpszText = static_cast<LPSTR>(std::malloc(16));
        std::strcpy(pTI->lpszText, "custom tip");
        return 7;
    }
};

struct TipFamily {
    CTipWnd parent;
    CStatic child;
    TipFamily() {
        EXPECT_TRUE(classlib_test::CreateTopLevel(parent));
        EXPECT_TRUE(child.Create("tool", WS_VISIBLE, CRect(10, 10, 60, 30), &parent, IDC_TOOL));
        parent.EnableToolTips(TRUE);
    }
    // A mouse move over the client point, as the message loop would pre-translate it.
    void MoveTo(CPoint ptClient) {
        CPoint ptScreen = ptClient;
        parent.ClientToScreen(&ptScreen);
        MSG msg = {};
        msg.hwnd = ::ChildWindowFromPoint(parent.m_hWnd, ptClient);
        msg.message = WM_MOUSEMOVE;
        msg.pt = ptScreen;
        EXPECT_FALSE(CWnd::WalkPreTranslateTree(parent.m_hWnd, &msg)) << "tool tips never eat messages";
    }
    int ToolCount() const {
        AFX_THREAD_STATE* pState = AfxGetThreadState();
        return pState->m_pToolTip && pState->m_pToolTip->m_hWnd ? pState->m_pToolTip->GetToolCount() : 0;
    }
};

TEST(ToolTips, TheToolUnderTheMouseIsShownAndReplaced) {
    TipFamily family;
    AFX_THREAD_STATE* pState = AfxGetThreadState();

    family.MoveTo(CPoint(20, 20));   // over the child control
    EXPECT_EQ(family.ToolCount(), 1);
    EXPECT_EQ(pState->m_nLastHit, static_cast<INT_PTR>(IDC_TOOL));
    EXPECT_EQ(pState->m_pLastHit, &family.parent);
    EXPECT_EQ(::GetWindow(pState->m_pToolTip->m_hWnd, GW_OWNER), family.parent.m_hWnd);

    family.MoveTo(CPoint(120, 20));   // the custom tool
    EXPECT_EQ(family.ToolCount(), 1);
    EXPECT_EQ(pState->m_nLastHit, 7);
    CString strText;
    pState->m_pToolTip->GetText(strText, &family.parent, 7);
    EXPECT_STREQ(strText, "custom tip");

    family.MoveTo(CPoint(80, 60));   // nothing
    EXPECT_EQ(family.ToolCount(), 0);
    EXPECT_EQ(pState->m_nLastHit, -1);
}

TEST(ToolTips, DisabledWindowsAskNothing) {
    TipFamily family;
    family.MoveTo(CPoint(20, 20));
    EXPECT_EQ(family.ToolCount(), 1);
    EXPECT_TRUE(family.parent.EnableToolTips(FALSE));
    EXPECT_EQ(family.ToolCount(), 0) << "disabling removes the shown tool";
    int nHitTests = family.parent.m_nHitTests;
    family.MoveTo(CPoint(20, 20));
    EXPECT_EQ(family.parent.m_nHitTests, nHitTests);
    EXPECT_EQ(family.ToolCount(), 0);
}

TEST(ToolTips, ADestroyedWindowLeavesNoToolBehind) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    {
        TipFamily family;
        family.MoveTo(CPoint(20, 20));
        EXPECT_EQ(pState->m_pLastHit, &family.parent);
    }
    EXPECT_EQ(pState->m_pLastHit, nullptr);
    EXPECT_EQ(pState->m_nLastHit, -1);
}

}  // namespace
