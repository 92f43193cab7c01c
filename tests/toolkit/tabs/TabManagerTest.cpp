// The tab manager: delete and selection rules, keys, hit tests, tooltips, and the modal press,
// reorder and navigation-button loops driven by posted messages on a hidden window.
#include "TabTestHost.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/ImageManagerIcon.h"

#include <cstdlib>

using tabs_test::TestTabRow;

namespace {

LPARAM At(CPoint pt) { return MAKELPARAM(pt.x, pt.y); }

class Manager : public ::testing::Test {
protected:
    tabs_test::ClassicColors m_colors;
};

TEST_F(Manager, DeletingTabsMovesTheSelectionToTheTabNowInItsPlace) {
    struct Case {
        int nCount, nSelected, nDelete, nExpected;
    };
    const Case cases[] = {{3, 1, 1, 1}, {3, 2, 2, 1}, {1, 0, 0, -1}, {3, 0, 2, 0}, {3, 2, 0, 1}};
    for (const Case& c : cases) {
        TestTabRow row;
        row.AddFixedTabs(c.nCount, 50);
        row.SetCurSel(c.nSelected);
        CKLVTabManagerItem* pNext = c.nDelete == c.nSelected ? row.Item(c.nDelete + 1) : row.Item(c.nSelected);
        EXPECT_TRUE(row.DeleteItem(c.nDelete));
        EXPECT_EQ(row.GetCurSel(), c.nExpected) << c.nCount << " " << c.nDelete;
        if (pNext && c.nExpected >= 0) {
            EXPECT_EQ(row.GetSelectedItem(), pNext);
        }
    }
    TestTabRow row;
    row.AddFixedTabs(2, 50);
    EXPECT_FALSE(row.DeleteItem(2));
    EXPECT_FALSE(row.DeleteItem(-1));
}

TEST_F(Manager, DeletingATabClearsItAsHotAndPressed) {
    TestTabRow row;
    row.AddFixedTabs(2, 50);
    row.m_pHighlighted = row.m_pPressed = row.Item(1);
    row.DeleteItem(1);
    EXPECT_EQ(row.GetHotItem(), nullptr);
    EXPECT_EQ(row.GetPressedItem(), nullptr);
}

TEST_F(Manager, ArrowKeysFollowTheRowsDirectionAndSkipUnreachableTabs) {
    CWnd rtl;
    ASSERT_TRUE(rtl.CreateEx(WS_EX_LAYOUTRTL | WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "rtl", WS_POPUP,
                             CRect(0, 0, 50, 50), nullptr, 0));
    struct Case {
        int nPosition;
        BOOL bRightToLeft;
        UINT nKey;
        int nFrom, nExpected;
        BOOL bHandled;
    };
    // Tab 1 is disabled and tab 3 hidden.
    const Case cases[] = {
        {0, FALSE, VK_RIGHT, 0, 2, TRUE}, {0, FALSE, VK_LEFT, 4, 2, TRUE},  {0, FALSE, VK_LEFT, 0, 0, TRUE},
        {0, TRUE, VK_LEFT, 0, 2, TRUE},   {0, TRUE, VK_RIGHT, 2, 0, TRUE},  {1, FALSE, VK_LEFT, 2, 2, TRUE},
        {1, FALSE, VK_DOWN, 2, 4, TRUE},  {0, FALSE, VK_DOWN, 2, 2, TRUE},  {0, FALSE, VK_END, 0, 4, TRUE},
        {0, FALSE, VK_HOME, 4, 0, TRUE},  {0, FALSE, VK_SPACE, 2, 2, FALSE},
    };
    for (const Case& c : cases) {
        TestTabRow row;
        row.m_pPainter->SetPosition(c.nPosition);
        row.AddFixedTabs(5, 40);
        row.Item(1)->SetEnabled(FALSE);
        row.Item(3)->SetVisible(FALSE);
        row.SetCurSel(c.nFrom);
        EXPECT_EQ(row.PerformKeyDown(c.bRightToLeft ? rtl.GetSafeHwnd() : nullptr, c.nKey), c.bHandled);
        EXPECT_EQ(row.GetCurSel(), c.nExpected) << c.nPosition << " " << c.nKey << " from " << c.nFrom;
    }
    TestTabRow empty;
    EXPECT_FALSE(empty.PerformKeyDown(nullptr, VK_RIGHT));
    rtl.DestroyWindow();
}

TEST_F(Manager, DisabledAndHiddenTabsAreNeverHit) {
    TestTabRow row;
    row.AddFixedTabs(3, 60);
    const CPoint pt1 = row.Item(1)->GetRect().CenterPoint();
    EXPECT_EQ(row.HitTest(pt1), row.Item(1));
    row.Item(1)->SetEnabled(FALSE);
    EXPECT_EQ(row.HitTest(pt1), nullptr);
    row.Item(1)->SetEnabled(TRUE);
    row.Item(1)->SetVisible(FALSE);
    EXPECT_NE(row.HitTest(pt1), row.Item(1));
    EXPECT_TRUE(row.Item(1)->GetRect().IsRectEmpty());
    EXPECT_EQ(row.HitTest(CPoint(5, 150)), nullptr);   // below the header band
}

TEST_F(Manager, TooltipsByModeShowOnlyCutCaptionsInModeTwo) {
    struct Case {
        int nMode, nWidth;
        BOOL bShown;
    };
    const Case cases[] = {{2, 90, TRUE}, {2, 600, FALSE}, {1, 600, TRUE}, {0, 90, FALSE}};
    for (const Case& c : cases) {
        TestTabRow row(nullptr, CRect(0, 0, c.nWidth, 100));
        row.m_pPainter->SetLayout(CKLVTabPainter::layoutSizeToFit);
        row.m_pPainter->m_nToolTipMode = c.nMode;
        for (int i = 0; i < 3; ++i) {
            CKLVTabManagerItem* pItem = row.InsertItem(i);
            pItem->m_strCaption = pItem->m_strToolTip = "A caption of some length";
        }
        TOOLINFO ti = {};
        const INT_PTR nHit = row.PerformToolHitTest(nullptr, row.Item(1)->GetRect().CenterPoint(), &ti);
        EXPECT_EQ(nHit, c.bShown ? 1 : -1) << c.nMode << " " << c.nWidth;
        if (c.bShown) {
            EXPECT_STREQ(ti.lpszText, "A caption of some length");
        }
        std::free(ti.lpszText);
    }
}

// A hidden window that deletes a tab when asked by a posted message.
class CLoopWnd : public CWnd {
public:
    enum { WM_DELETE_TAB = WM_APP + 1 };
    CKLVTabManager* m_pRow = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DELETE_TAB) {
            m_pRow->DeleteItem(static_cast<int>(wParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Counts scroll ticks and lets the mouse go after three of them, away from the button.
class TickingRow : public TestTabRow {
public:
    using TestTabRow::TestTabRow;
    void OnScroll(BOOL bForward) override {
        TestTabRow::OnScroll(bForward);
        if (++m_nTicks == 3) ::PostMessageA(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
    }
    HWND m_hWnd = nullptr;
    int m_nTicks = 0;
};

class Loops : public Manager {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_wnd.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "tabs", WS_POPUP, CRect(0, 0, 300, 200),
                                   nullptr, 0));
    }
    void TearDown() override {
        m_wnd.DestroyWindow();
        classlib_test::PumpPending();
    }
    void Post(UINT nMessage, WPARAM wParam, LPARAM lParam) { ::PostMessageA(m_wnd.GetSafeHwnd(), nMessage, wParam, lParam); }
    HWND Hwnd() { return m_wnd.GetSafeHwnd(); }

    CLoopWnd m_wnd;
};

TEST_F(Loops, AHeldScrollButtonKeepsTickingOutsideAndAReleaseOutsideDoesNotAct) {
    TickingRow row(nullptr, CRect(0, 0, 200, 100));
    row.m_hWnd = Hwnd();
    row.AddFixedTabs(5, 70);
    CKLVTabManagerNavigateButton* pForward = row.FindNavigateButton(CKLVTabManagerNavigateButton::idScrollForward);
    ASSERT_FALSE(pForward->GetRect().IsRectEmpty());
    Post(WM_MOUSEMOVE, 0, MAKELPARAM(500, 500));
    EXPECT_TRUE(row.PerformClick(Hwnd(), pForward->GetRect().CenterPoint()));
    EXPECT_EQ(row.m_nTicks, 3);
    EXPECT_EQ(row.GetScrollOffset(), -60);
    EXPECT_FALSE(pForward->IsPressed());
    EXPECT_EQ(::GetCapture(), nullptr);

    CKLVTabManagerNavigateButton* pClose = row.FindNavigateButton(CKLVTabManagerNavigateButton::idClose);
    pClose->m_nShowMode = CKLVTabManagerNavigateButton::showAlways;
    row.Reposition();
    const CPoint ptClose = pClose->GetRect().CenterPoint();
    Post(WM_MOUSEMOVE, 0, MAKELPARAM(500, 500));
    Post(WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
    row.PerformClick(Hwnd(), ptClose);
    EXPECT_TRUE(row.m_arrClicks.empty());
    Post(WM_LBUTTONUP, 0, At(ptClose));
    row.PerformClick(Hwnd(), ptClose);
    EXPECT_EQ(row.m_arrClicks, std::vector<UINT>{CKLVTabManagerNavigateButton::idClose});
}

TEST_F(Loops, APressSelectsOnReleaseInsideOnly) {
    TestTabRow row;
    row.SetAllowReorder(FALSE);
    row.AddFixedTabs(3, 60);
    const CPoint pt2 = row.Item(2)->GetRect().CenterPoint();
    Post(WM_MOUSEMOVE, 0, MAKELPARAM(500, 500));
    Post(WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
    EXPECT_TRUE(row.PerformClick(Hwnd(), pt2));
    EXPECT_EQ(row.GetCurSel(), -1);
    Post(WM_LBUTTONUP, 0, At(pt2));
    row.PerformClick(Hwnd(), pt2);
    EXPECT_EQ(row.GetCurSel(), 2);
    EXPECT_EQ(row.GetPressedItem(), nullptr);
}

TEST_F(Loops, ATabDeletedDuringItsPressIsNotSelectedAndLivesUntilTheLoopEnds) {
    static BOOL s_bDestroyed = FALSE;
    struct WatchedItem : CKLVTabManagerItem {
        ~WatchedItem() override { s_bDestroyed = TRUE; }
    };
    TestTabRow row;
    row.SetAllowReorder(FALSE);
    m_wnd.m_pRow = &row;
    row.AddFixedTabs(1, 60);
    row.InsertItem(0, new WatchedItem);
    const CPoint pt = row.Item(0)->GetRect().CenterPoint();
    Post(CLoopWnd::WM_DELETE_TAB, 0, 0);
    Post(WM_LBUTTONUP, 0, At(pt));
    row.PerformClick(Hwnd(), pt);
    EXPECT_TRUE(s_bDestroyed);
    EXPECT_EQ(row.GetItemCount(), 1);
    EXPECT_EQ(row.GetCurSel(), -1);
    EXPECT_EQ(row.GetPressedItem(), nullptr);
}

TEST_F(Loops, EscapeAfterAReorderDragKeepsTheExchanges) {
    TestTabRow row;
    row.AddFixedTabs(4, 60);
    CKLVTabManagerItem* pDragged = row.Item(0);
    Post(WM_MOUSEMOVE, 0, At(row.Item(2)->GetRect().CenterPoint()));
    Post(WM_KEYDOWN, VK_ESCAPE, 0);
    row.PerformClick(Hwnd(), pDragged->GetRect().CenterPoint());
    EXPECT_EQ(row.Item(2), pDragged);
    EXPECT_EQ(pDragged->GetIndex(), 2);
    EXPECT_EQ(row.Item(0)->GetIndex(), 0);
    EXPECT_EQ(row.GetSelectedItem(), pDragged);
}

TEST_F(Loops, EveryLoopEndsOnQuitAndPostsItAgain) {
    TestTabRow row;
    row.AddFixedTabs(5, 70);
    for (int nLoop = 0; nLoop < 3; ++nLoop) {
        row.SetAllowReorder(nLoop == 1);
        CPoint pt = row.Item(1)->GetRect().CenterPoint();
        if (nLoop == 2) {
            row.m_rcRow = CRect(0, 0, 200, 100);
            row.Reposition();
            pt = row.FindNavigateButton(CKLVTabManagerNavigateButton::idScrollForward)->GetRect().CenterPoint();
        }
        ::PostQuitMessage(40 + nLoop);
        EXPECT_TRUE(row.PerformClick(Hwnd(), pt)) << nLoop;
        MSG msg;
        ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << nLoop;
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(40 + nLoop));
        EXPECT_EQ(::GetCapture(), nullptr);
    }
    EXPECT_EQ(row.GetCurSel(), 1);   // only the reorder drag selects: no release came
}

}  // namespace

namespace {

// A 16 by 16 opaque red icon with one blue pixel in its top row, 3 from the left.
CKLVImageManagerIcon* MakeMarkedIcon(CKLVImageManager& manager) {
    BYTE* pBits = nullptr;
    HBITMAP hBitmap = CKLVImageManager::Create32BitDIBSection(nullptr, 16, 16, &pBits);
    DWORD* pPixels = reinterpret_cast<DWORD*>(pBits);
    for (int i = 0; i < 256; ++i) pPixels[i] = 0xFFFF0000;
    pPixels[15 * 16 + 3] = 0xFF0000FF;   // bottom-up rows
    manager.SetIcon(CKLVImageManagerIconHandle(hBitmap, TRUE), 1);
    return manager.GetImage(1, 16);
}

TEST_F(Manager, IconsOnVerticalRowsTurnOnlyWhenAsked) {
    CKLVImageManager* pImages = new CKLVImageManager;
    CKLVImageManagerIcon* pIcon = MakeMarkedIcon(*pImages);
    ASSERT_NE(pIcon, nullptr);
    struct Case {
        int nPosition;
        BOOL bRotate;
        CPoint ptMarker;
    };
    for (const Case& c : {Case{1, FALSE, {13, 10}}, Case{1, TRUE, {10, 13}}, Case{0, TRUE, {13, 10}}}) {
        tabs_test::Canvas canvas(RGB(255, 255, 255));
        TestTabRow row;
        row.m_pPainter->SetPosition(c.nPosition);
        row.m_pPainter->m_bRotateImageOnVerticalDraw = c.bRotate;
        row.InsertItem(0)->DrawImage(&canvas.m_dc, CRect(10, 10, 26, 26), pIcon);
        EXPECT_EQ(canvas.At(c.ptMarker), RGB(0, 0, 255)) << c.nPosition << c.bRotate;
        EXPECT_EQ(canvas.At(20, 20), RGB(255, 0, 0));
    }
    pImages->InternalRelease();
}

}  // namespace
