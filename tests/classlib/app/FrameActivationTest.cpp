// Frames and the windows around them: a plain child's strip on WM_SIZEPARENT, the delayed
// layout, and the caption and system menu of mini frames.
#include "classlib/ClassLib.h"
#include "classlib/MiniFrameWnd.h"

#include "classlib/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A plain child that takes a strip of 30 pixels at the top of what its frame lays out.
class CStripWnd : public CWnd {
public:
    int m_nLayouts = 0;
    std::vector<bool> m_deferred;

protected:
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        m_deferred.push_back(pLayout->hDWP != nullptr);
        if (pLayout->hDWP) {
            ++m_nLayouts;
            CRect rc(pLayout->rect);
            rc.bottom = rc.top + 30;
            AfxRepositionWindow(pLayout, m_hWnd, &rc);
        }
        pLayout->rect.top += 30;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStripWnd, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

// Records what reaches the default handling: the caption state and system commands.
class CRecordingMiniFrame : public CMiniFrameWnd {
public:
    std::vector<std::pair<UINT, WPARAM>> m_defaults;

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCACTIVATE || message == WM_SYSCOMMAND) {
            m_defaults.emplace_back(message, wParam);
            return TRUE;
        }
        if (message == WM_NCHITTEST) return HTSYSMENU;
        return CMiniFrameWnd::DefWindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST(Frames, PlainChildTakesItsStripAndDelayedLayoutRunsOnce) {
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    CStripWnd strip;
    CWnd view;
    ASSERT_TRUE(strip.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 0, 0), pFrame, 0));
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 0, 0), pFrame, AFX_IDW_PANE_FIRST));
    strip.m_nLayouts = 0;
    strip.m_deferred.clear();

    pFrame->DelayRecalcLayout();
    pFrame->PostMessage(WM_IDLEUPDATECMDUI);
    pFrame->PostMessage(WM_IDLEUPDATECMDUI);
    classlib_test::PumpPending();
    EXPECT_EQ(strip.m_nLayouts, 1);

    CRect rcClient, rcView, rcQuery;
    pFrame->GetClientRect(&rcClient);
    view.GetWindowRect(&rcView);
    pFrame->ScreenToClient(&rcView);
    EXPECT_EQ(rcView, CRect(0, 30, rcClient.right, rcClient.bottom));
    pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rcQuery);
    EXPECT_EQ(rcQuery, rcView);
    EXPECT_EQ(strip.m_deferred, (std::vector<bool>{true, false}));
    strip.DestroyWindow();
    view.DestroyWindow();
    pFrame->DestroyWindow();
}

TEST(Frames, MiniFrameCaptionFollowsItsOwnerAndBlocksItsSystemMenu) {
    const struct { DWORD dwStyle; std::vector<std::pair<UINT, WPARAM>> defaults; LRESULT nHit; } cases[] = {
        {MFS_SYNCACTIVE, {{WM_NCACTIVATE, TRUE}, {WM_NCACTIVATE, FALSE}, {WM_SYSCOMMAND, SC_KEYMENU}}, HTSYSMENU},
        {MFS_BLOCKSYSMENU, {}, HTCAPTION},
    };
    for (const auto& c : cases) {
        auto* pOwner = new CFrameWnd;
        ASSERT_TRUE(pOwner->Create(nullptr, "owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
        auto* pMini = new CRecordingMiniFrame;
        ASSERT_TRUE(pMini->Create(nullptr, "mini", WS_POPUP | WS_CAPTION | WS_SYSMENU | c.dwStyle,
                                  CRect(10, 10, 110, 110), pOwner));
        pMini->m_defaults.clear();
        pOwner->SendMessage(WM_NCACTIVATE, TRUE);
        pOwner->SendMessage(WM_NCACTIVATE, FALSE);
        pMini->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, ' ');
        EXPECT_EQ(pMini->m_defaults, c.defaults) << c.dwStyle;
        EXPECT_EQ(pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(12, 12)), c.nHit) << c.dwStyle;
        pMini->DestroyWindow();
        pOwner->DestroyWindow();
    }
}
