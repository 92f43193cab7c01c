// Tool bars loaded from the program's resources and rebars holding them, inside real frames:
// buttons and images as the resources give them (damaged or missing resources leave the bar as it
// was), clicks that send commands, idle updates that set button states, and the frame's layout
// following the rebar's rows.
#include "classlib/WindowTestSupport.h"
#include "classlib/app/res/AppTestResources.h"
#include "support/PaintCanvas.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

std::vector<std::string> g_barLog;

// Handles the first tool, checks it, disables the second; the third has no handler at all.
class CBarFrame : public CFrameWnd {
public:
    CWnd m_view;
    BOOL CreateWithView() {
        return Create(nullptr, "bars", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)) &&
               m_view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST);
    }

protected:
    void PostNcDestroy() override {}   // lives on the stack
    void OnFirst() { g_barLog.push_back("first"); }
    void OnSecond() { g_barLog.push_back("second"); }
    void OnUpdateFirst(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    void OnUpdateSecond(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarFrame, CFrameWnd)
    ON_COMMAND(ID_TOOL_FIRST, OnFirst)
    ON_COMMAND(ID_TOOL_SECOND, OnSecond)
    ON_UPDATE_COMMAND_UI(ID_TOOL_FIRST, OnUpdateFirst)
    ON_UPDATE_COMMAND_UI(ID_TOOL_SECOND, OnUpdateSecond)
END_MESSAGE_MAP()

std::vector<UINT> ItemIDs(const CToolBar& bar) {
    std::vector<UINT> ids;
    for (int i = 0; i < bar.GetCount(); ++i) ids.push_back(bar.GetItemID(i));
    return ids;
}

using ToolBarImages = testsupport::PaintCanvas;

TEST_F(ToolBarImages, ButtonsAndImagesComeFromTheResourcesOrNotAtAll) {
    CBarFrame frame;
    ASSERT_TRUE(frame.CreateWithView());
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(&frame));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TOOLBAR));
    const std::vector<UINT> loaded = {ID_TOOL_FIRST, 0, ID_TOOL_SECOND, ID_TOOL_THIRD};
    EXPECT_EQ(ItemIDs(bar), loaded);
    EXPECT_EQ(bar.CommandToIndex(ID_TOOL_SECOND), 2);
    EXPECT_EQ(bar.CommandToIndex(12345), -1);
    EXPECT_EQ(bar.CommandToIndex(0), -1) << "a separator is no command";
    EXPECT_EQ(bar.GetItemID(4), 0u) << "past the end";
    EXPECT_EQ(bar.GetItemID(-1), 0u);
    CImageList* pImages = bar.GetImageList();
    EXPECT_EQ(pImages->GetImageCount(), 3);
    EXPECT_EQ(pImages->GetIconSize(), CSize(16, 15));

    // Image 1 is green inside a grey frame; the grey of the top-left pixel is transparent.
    EXPECT_TRUE(pImages->Draw(&m_dc, 1, CPoint(10, 10), ILD_TRANSPARENT));
    ExpectPixels({{18, 18, RGB(0, 255, 0)}, {10, 10, kWhite}, {10, 18, kWhite}});

    // A resource of another version, one without its bitmap, and none at all change nothing.
    const HIMAGELIST hImages = pImages->m_hImageList;
    for (UINT nID : {static_cast<UINT>(IDR_BAD_TOOLBAR), static_cast<UINT>(IDR_NO_BITMAP), 999u}) {
        EXPECT_FALSE(bar.LoadToolBar(nID)) << nID;
        EXPECT_EQ(ItemIDs(bar), loaded) << nID;
        EXPECT_EQ(bar.GetImageList()->m_hImageList, hImages) << nID;
    }
    frame.DestroyWindow();
}

TEST(ToolBar, ClicksSendCommandsAndIdleUpdatesSetTheButtons) {
    g_barLog.clear();
    CBarFrame frame;
    ASSERT_TRUE(frame.CreateWithView());
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(&frame) && bar.LoadToolBar(IDR_TOOLBAR));
    frame.RecalcLayout();
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);

    // Each button: enabled, checked, and what a click on it runs.
    const std::tuple<UINT, BOOL, BOOL, std::vector<std::string>> rows[] = {
        {ID_TOOL_FIRST, TRUE, TRUE, {"first"}},
        {ID_TOOL_SECOND, FALSE, FALSE, {}},   // its update handler disables it
        {ID_TOOL_THIRD, FALSE, FALSE, {}},    // no handler: disabled
    };
    for (const auto& [nID, bEnabled, bChecked, clicked] : rows) {
        EXPECT_EQ(bar.SendMessage(TB_ISBUTTONENABLED, nID) != 0, bEnabled != FALSE) << nID;
        EXPECT_EQ(bar.SendMessage(TB_ISBUTTONCHECKED, nID) != 0, bChecked != FALSE) << nID;
        g_barLog.clear();
        CRect rect;
        bar.GetItemRect(bar.CommandToIndex(nID), &rect);
        classlib_test::ClickAt(bar, rect.CenterPoint());
        EXPECT_EQ(g_barLog, clicked) << nID;
    }
    // Without "disable if no handler" an unhandled button keeps what it had.
    bar.SendMessage(TB_ENABLEBUTTON, ID_TOOL_THIRD, TRUE);
    bar.OnUpdateCmdUI(&frame, FALSE);
    EXPECT_NE(bar.SendMessage(TB_ISBUTTONENABLED, ID_TOOL_THIRD), 0);
    frame.DestroyWindow();
}

CRect ChildRect(CWnd& parent, CWnd& child) {
    CRect rect;
    child.GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    return rect;
}

TEST(ToolBar, FramesGiveBarsAndRebarRowsTheirStripsAndTheViewTheRest) {
    CBarFrame frame;
    ASSERT_TRUE(frame.CreateWithView());
    CRect client;
    frame.GetClientRect(&client);

    // A tool bar alone takes one button row across the top.
    CToolBar plain;
    ASSERT_TRUE(plain.CreateEx(&frame) && plain.LoadToolBar(IDR_TOOLBAR));
    frame.RecalcLayout();
    const int nRow = ChildRect(frame, plain).Height();
    EXPECT_EQ(ChildRect(frame, plain), CRect(0, 0, client.right, nRow));
    EXPECT_EQ(nRow, 22) << "16 by 15 images in buttons 7 larger";
    EXPECT_EQ(ChildRect(frame, frame.m_view).top, nRow);
    plain.DestroyWindow();

    // A rebar holds two tool bars; the second band starts a row of its own.
    CReBar rebar;
    ASSERT_TRUE(rebar.Create(&frame));
    CToolBar first, second;
    ASSERT_TRUE(first.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE820) &&
                first.LoadToolBar(IDR_TOOLBAR));
    EXPECT_TRUE(rebar.AddBar(&first));
    frame.RecalcLayout();
    const int nOneRow = ChildRect(frame, rebar).Height();
    EXPECT_GE(nOneRow, nRow);
    EXPECT_EQ(ChildRect(frame, frame.m_view).top, nOneRow);
    EXPECT_EQ(::GetParent(first.m_hWnd), rebar.m_hWnd) << "the band adopts its bar";

    // The new row changes the rebar's height, and the frame lays itself out again on its own.
    ASSERT_TRUE(second.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE821) &&
                second.LoadToolBar(IDR_TOOLBAR));
    EXPECT_TRUE(rebar.AddBar(&second, nullptr, nullptr, RBBS_BREAK | RBBS_GRIPPERALWAYS));
    EXPECT_EQ(rebar.GetBandCount(), 2);
    const int nTwoRows = ChildRect(frame, rebar).Height();
    EXPECT_GE(nTwoRows, 2 * nRow);
    EXPECT_EQ(ChildRect(frame, frame.m_view).top, nTwoRows);

    CToolBar never;
    EXPECT_FALSE(rebar.AddBar(&never)) << "a bar without a window";
    EXPECT_FALSE(rebar.AddBar(nullptr));
    EXPECT_EQ(rebar.GetBandCount(), 2);
    frame.DestroyWindow();
}

// Notes each change of its bar styles.
class CStyleNotingBar : public CControlBar {
public:
    std::vector<std::pair<DWORD, DWORD>> m_changes;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override { m_changes.emplace_back(dwOldStyle, dwNewStyle); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

TEST(ToolBar, BarsHearOfRealStyleChangesOnly) {
    CStyleNotingBar bar;
    bar.SetBarStyle(CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP);
    bar.SetBarStyle(CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP);   // the same again: nothing to hear
    bar.SetBarStyle(CBRS_ALIGN_TOP);
    const std::vector<std::pair<DWORD, DWORD>> expected = {
        {0, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP}, {CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, CBRS_ALIGN_TOP}};
    EXPECT_EQ(bar.m_changes, expected);
    EXPECT_EQ(bar.GetBarStyle(), static_cast<DWORD>(CBRS_ALIGN_TOP));
}

TEST(ToolBar, EveryControlBarShowsOrHidesAtTheIdleUpdateWhenAskedToWait) {
    CBarFrame frame;
    ASSERT_TRUE(frame.CreateWithView());
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(&frame) && bar.LoadToolBar(IDR_TOOLBAR));
    auto visible = [&bar] { return (bar.GetStyle() & WS_VISIBLE) != 0; };
    const struct {
        BOOL bShow;
        UINT nWaiting;
        BOOL bVisibleAfterIdle;
    } steps[] = {
        {TRUE, 0, TRUE},                                   // shown already
        {FALSE, CControlBar::stateDelayHide, FALSE},
        {FALSE, 0, FALSE},                                 // hidden already
        {TRUE, CControlBar::stateDelayShow, TRUE},
    };
    for (const auto& step : steps) {
        const BOOL bBefore = visible();
        bar.DelayShow(step.bShow);
        EXPECT_EQ(bar.GetDelayedState(), step.nWaiting) << step.bShow;
        EXPECT_EQ(visible(), bBefore) << "nothing happens before the idle update";
        bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        EXPECT_EQ(visible(), step.bVisibleAfterIdle) << step.bShow;
        EXPECT_EQ(bar.GetDelayedState(), 0u);
    }
    // A show called off by a hide before the idle update leaves the bar as it is.
    bar.DelayShow(FALSE);
    bar.DelayShow(TRUE);
    EXPECT_EQ(bar.GetDelayedState(), 0u);
    frame.DestroyWindow();
}

TEST(ToolBar, MakingAndDestroyingBarsLeavesNoHandles) {
    auto cycle = [] {
        CBarFrame frame;
        frame.CreateWithView();
        CReBar rebar;
        rebar.Create(&frame);
        CToolBar bars[2];
        for (CToolBar& bar : bars) {
            bar.CreateEx(&frame);
            bar.LoadToolBar(IDR_TOOLBAR);
            bar.LoadToolBar(IDR_TOOLBAR);   // the images of the first load are let go
            rebar.AddBar(&bar);
        }
        frame.RecalcLayout();
        bars[0].SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        frame.DestroyWindow();
    };
    cycle();
    const classlib_test::HandleCounts before = classlib_test::CountHandles();
    cycle();
    EXPECT_EQ(classlib_test::CountHandles(), before);
}

}  // namespace
