// The status bar on a hidden frame: the application's indicators, the partition of the native
// control, texts sent only when they change, command updates, the window text, and the themed
// paint in a memory DC.
#include "paint/PaintManagerTestSupport.h"
#include "classlib/ClassLib.h"
#include "classlib/WindowTestSupport.h"
#include "classlib/CommandIds.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/statusbar/StatusBar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const UINT ID_TEST_POSITION = 0xE7F0;   // "Line 12, Col 40" in the test resources
const UINT ID_MISSING_STRING = 0xE7F1;
const UINT IDC_PANE_CHILD = 0xE7F2;
const UINT kAppIndicators[] = {0, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

// Counts what the bar sends its native control.
class CRecordingStatusBar : public CKLVStatusBar {
public:
    struct SetText {
        WPARAM wParam;
        bool bNull;
        std::string strText;
    };
    std::vector<SetText> m_sent;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == SB_SETTEXTA) {
            const auto* psz = reinterpret_cast<LPCSTR>(lParam);
            m_sent.push_back({wParam, psz == nullptr, psz ? psz : ""});
        }
        return CKLVStatusBar::WindowProc(message, wParam, lParam);
    }
};

// The frame answers the update requests of three indicators.
class CIndicatorFrame : public CFrameWnd {
public:
    afx_msg void OnUpdateCaps(CCmdUI* pCmdUI) { pCmdUI->SetText("caps"); }
    afx_msg void OnUpdateNum(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateScrl(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnUpdateChild(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bChildEnabled); }
    BOOL m_bChildEnabled = FALSE;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIndicatorFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateCaps)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateNum)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateScrl)
    ON_UPDATE_COMMAND_UI(IDC_PANE_CHILD, OnUpdateChild)
END_MESSAGE_MAP()

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        CKLVPaintManager::SetTheme(0);
        m_pFrame = new CIndicatorFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 640, 300)));
        ASSERT_TRUE(m_bar.Create(m_pFrame));
    }
    void TearDown() override {
        if (m_bar.m_hWnd) m_bar.DestroyWindow();
        m_pFrame->DestroyWindow();
    }
    // The right edges of the native control's parts.
    std::vector<int> Parts() {
        int edges[16] = {};
        const int nParts = static_cast<int>(m_bar.SendMessage(SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
        return std::vector<int>(edges, edges + nParts);
    }
    int TextWidth(LPCTSTR psz) {
        CClientDC dc(nullptr);
        CFont* pOld = dc.SelectObject(&m_bar.m_fontStatus);
        const int cx = dc.GetTextExtent(psz).cx;
        dc.SelectObject(pOld);
        return cx;
    }
    CIndicatorFrame* m_pFrame = nullptr;   // deletes itself with its window
    CRecordingStatusBar m_bar;
};

TEST_F(StatusBarTest, TheApplicationsFourIndicators) {
    EXPECT_EQ(m_bar.GetDlgCtrlID(), AFX_IDW_STATUS_BAR);
    // A bottom bar with a top border leaves its border to the control.
    EXPECT_EQ(m_bar.GetBarStyle(), DWORD(CBRS_ALIGN_BOTTOM));
    EXPECT_TRUE(m_bar.GetStyle() & SBARS_SIZEGRIP) << "the frame has a sizing border";
    ASSERT_TRUE(m_bar.SetIndicators(kAppIndicators, 4));

    ASSERT_EQ(m_bar.GetPaneCount(), 4);
    EXPECT_EQ(Parts().size(), 4u);
    struct Expected {
        UINT nID;
        const char* pszText;
        UINT nStyle;
    } const expected[] = {{0, "", CKLVStatusBarPane::styleStretch | CKLVStatusBarPane::styleNoBorders},
                          {ID_INDICATOR_CAPS, "CAP", 0},
                          {ID_INDICATOR_NUM, "NUM", 0},
                          {ID_INDICATOR_SCRL, "SCRL", 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        CKLVStatusBarPane* pPane = m_bar.GetPane(i);
        EXPECT_EQ(pPane->m_nID, expected[i].nID);
        EXPECT_STREQ(pPane->m_strText, expected[i].pszText);
        EXPECT_EQ(pPane->m_nStyle, expected[i].nStyle);
        EXPECT_EQ(m_bar.CommandToIndex(expected[i].nID), i);
        const int cxExpected = i == 0 ? ::GetSystemMetrics(SM_CXSCREEN) / 4 : TextWidth(expected[i].pszText) + 4;
        EXPECT_EQ(pPane->m_cxText, cxExpected);
        // Every text reached the control.
        char szText[32] = {};
        m_bar.SendMessage(SB_GETTEXTA, i, reinterpret_cast<LPARAM>(szText));
        EXPECT_STREQ(szText, expected[i].pszText);
    }
    EXPECT_EQ(m_bar.CommandToIndex(ID_APP_EXIT), -1);
}

TEST_F(StatusBarTest, ALaterSeparatorIsPlainAndAMissingStringStopsTheBuild) {
    const UINT ids[] = {ID_INDICATOR_CAPS, 0, ID_MISSING_STRING, ID_INDICATOR_NUM};
    EXPECT_FALSE(m_bar.SetIndicators(ids, 4));
    ASSERT_EQ(m_bar.GetPaneCount(), 2) << "the panes built before the missing string stay";
    EXPECT_EQ(m_bar.GetPane(1)->m_nStyle, 0u);
    EXPECT_EQ(m_bar.GetPane(1)->m_cxText, ::GetSystemMetrics(SM_CXSCREEN) / 4);

    const UINT idsPosition[] = {ID_TEST_POSITION};
    EXPECT_TRUE(m_bar.SetIndicators(idsPosition, 1));
    EXPECT_STREQ(m_bar.GetPaneText(0), "Line 12, Col 40");
}

TEST_F(StatusBarTest, TheStretchPaneTakesTheRestAndTheGripKeepsItsRoom) {
    ASSERT_TRUE(m_bar.SetIndicators(kAppIndicators, 4));
    m_pFrame->RecalcLayout();
    CRect rcClient;
    m_bar.GetClientRect(&rcClient);
    ASSERT_GT(rcClient.Width(), 600);

    int borders[3] = {};
    m_bar.SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const std::vector<int> parts = Parts();
    ASSERT_EQ(parts.size(), 4u);
    // The fixed panes keep their content width plus 6; the first stretches up to the grip's room.
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(parts[i] - parts[i - 1] - borders[2], m_bar.GetPane(i)->m_cxText + 6) << i;
    CRect rcWindow;
    m_bar.GetWindowRect(&rcWindow);
    const int cxGripRoom = 2 * ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXVSCROLL) + borders[0];
    EXPECT_EQ(parts[3], borders[0] + rcWindow.Width() - cxGripRoom);
    EXPECT_GT(parts[0], ::GetSystemMetrics(SM_CXSCREEN) / 4) << "the stretch pane grew";

    // A last pane that does not stretch ends with its content; one that stretches before the grip.
    CRect rcLast;
    m_bar.GetItemRect(3, &rcLast);
    EXPECT_EQ(rcLast.right, rcLast.left + m_bar.GetPane(3)->m_cxText + 3 * ::GetSystemMetrics(SM_CXEDGE));
    m_bar.SetPaneStyle(3, CKLVStatusBarPane::styleStretch);
    m_bar.GetItemRect(3, &rcLast);
    EXPECT_EQ(rcLast.right, rcClient.right - ::GetSystemMetrics(SM_CXSMICON) - ::GetSystemMetrics(SM_CXEDGE));

    CRect rcBad(1, 2, 3, 4);
    m_bar.GetItemRect(4, &rcBad);
    EXPECT_TRUE(rcBad.IsRectEmpty());
    EXPECT_FALSE(m_bar.SetPaneText(-1, "x"));
}

TEST_F(StatusBarTest, TextsGoToTheControlOnlyWhenTheyChangeAndDisabledPanesGetNull) {
    ASSERT_TRUE(m_bar.SetIndicators(kAppIndicators, 4));
    m_bar.m_sent.clear();
    EXPECT_TRUE(m_bar.SetPaneText(1, "Busy"));
    EXPECT_TRUE(m_bar.SetPaneText(1, "Busy"));
    ASSERT_EQ(m_bar.m_sent.size(), 1u) << "the same text twice is sent once";
    EXPECT_EQ(m_bar.m_sent[0].wParam, 1u);
    EXPECT_EQ(m_bar.m_sent[0].strText, "Busy");

    // Without update the text waits for the next pass over the panes.
    EXPECT_TRUE(m_bar.SetPaneText(2, "Later", FALSE));
    EXPECT_EQ(m_bar.m_sent.size(), 1u);
    m_bar.UpdateAllPanes(FALSE, TRUE);
    ASSERT_EQ(m_bar.m_sent.size(), 2u);
    EXPECT_EQ(m_bar.m_sent[1].strText, "Later");

    m_bar.m_sent.clear();
    m_bar.SetPaneStyle(1, CKLVStatusBarPane::styleDisabled | SBT_POPOUT);
    ASSERT_EQ(m_bar.m_sent.size(), 1u);
    EXPECT_TRUE(m_bar.m_sent[0].bNull);
    EXPECT_EQ(m_bar.m_sent[0].wParam, WPARAM(SBT_POPOUT | 1));
    EXPECT_STREQ(m_bar.GetPaneText(1), "Busy") << "the pane keeps its own text";
    m_bar.SetPaneStyle(1, CKLVStatusBarPane::styleDisabled | SBT_POPOUT);
    EXPECT_EQ(m_bar.m_sent.size(), 1u) << "no change, nothing sent";
}

TEST_F(StatusBarTest, TheFramesIdleUpdateReachesThePanes) {
    const UINT ids[] = {0, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL, AFX_IDS_IDLEMESSAGE};
    ASSERT_TRUE(m_bar.SetIndicators(ids, 5));
    m_bar.SetPaneStyle(4, CKLVStatusBarPane::styleDisabled);
    m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);

    EXPECT_STREQ(m_bar.GetPaneText(1), "caps");
    EXPECT_TRUE(m_bar.GetPaneStyle(2) & CKLVStatusBarPane::styleDisabled);
    EXPECT_TRUE(m_bar.GetPaneStyle(3) & CKLVStatusBarPane::stylePopOut);
    EXPECT_FALSE(m_bar.GetPaneStyle(3) & CKLVStatusBarPane::styleDisabled);
    // A pane nobody answers keeps its state, even with disable-if-no-handler.
    EXPECT_EQ(m_bar.GetPaneStyle(4), UINT(CKLVStatusBarPane::styleDisabled));
}

TEST_F(StatusBarTest, ADelayedHideOrShowWaitsForTheIdleUpdate) {
    ASSERT_TRUE(m_bar.SetIndicators(kAppIndicators, 4));
    auto Visible = [&] { return (m_bar.GetStyle() & WS_VISIBLE) != 0; };
    auto Idle = [&] { m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE); };
    m_bar.DelayShow(TRUE);   // shown already
    EXPECT_EQ(m_bar.GetDelayedState(), 0u);
    m_bar.DelayShow(FALSE);
    EXPECT_EQ(m_bar.GetDelayedState(), UINT(CKLVStatusBar::stateDelayHide));
    EXPECT_TRUE(Visible());
    Idle();
    EXPECT_FALSE(Visible());
    EXPECT_EQ(m_bar.GetDelayedState(), 0u);
    EXPECT_STREQ(m_bar.GetPaneText(1), "CAP") << "the panes of a hidden bar are not updated";

    m_bar.DelayShow(TRUE);
    m_bar.DelayShow(FALSE);   // hidden already: the show is called off
    EXPECT_EQ(m_bar.GetDelayedState(), 0u);
    Idle();
    EXPECT_FALSE(Visible());
    m_bar.DelayShow(TRUE);
    EXPECT_EQ(m_bar.GetDelayedState(), UINT(CKLVStatusBar::stateDelayShow));
    EXPECT_FALSE(Visible());
    Idle();
    EXPECT_TRUE(Visible());
    EXPECT_STREQ(m_bar.GetPaneText(1), "caps") << "shown, the bar is updated in the same pass";
}

TEST_F(StatusBarTest, TheFrameThemesQuestionIsAnsweredByThePaintManager) {
    CKLVPaintManager* pPaintManager = m_bar.GetPaintManager();
    ASSERT_NE(pPaintManager, nullptr);
    const BOOL bSaved = pPaintManager->m_bStatusBarFrame;
    struct Case {
        BOOL bThemed, bFlag;
        LRESULT lExpected;
    } const cases[] = {{TRUE, TRUE, 1}, {TRUE, FALSE, 0}, {FALSE, TRUE, 0}};
    for (const Case& c : cases) {
        m_bar.EnableThemes(c.bThemed);
        pPaintManager->m_bStatusBarFrame = c.bFlag;
        EXPECT_EQ(m_bar.SendMessage(CKLVStatusBar::msgStatusBarFrame), c.lExpected) << c.bThemed << c.bFlag;
    }
    pPaintManager->m_bStatusBarFrame = bSaved;
    m_bar.EnableThemes(TRUE);
}

TEST_F(StatusBarTest, AChildControlSitsInItsPaneAndIsUpdatedWithThePanes) {
    ASSERT_TRUE(m_bar.SetIndicators(kAppIndicators, 4));
    m_pFrame->RecalcLayout();
    CStatic child;
    ASSERT_TRUE(child.Create("x", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &m_bar, IDC_PANE_CHILD));
    m_bar.GetPane(2)->m_hwndChild = child.m_hWnd;
    m_bar.PositionControls();
    CRect rcPane, rcChild;
    m_bar.GetItemRect(2, &rcPane);
    child.GetWindowRect(&rcChild);
    m_bar.ScreenToClient(&rcChild);
    rcPane.DeflateRect(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(rcChild, rcPane);

    for (BOOL bEnabled : {FALSE, TRUE}) {
        m_pFrame->m_bChildEnabled = bEnabled;
        m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        EXPECT_EQ(child.IsWindowEnabled(), bEnabled);
    }
    m_bar.GetPane(2)->m_hwndChild = nullptr;   // the test's control, not the pane's
}

TEST_F(StatusBarTest, WindowTextIsTheFirstSeparatorsText) {
    ASSERT_TRUE(m_bar.SetIndicators(kAppIndicators, 4));
    EXPECT_EQ(m_bar.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Ready")), TRUE);
    EXPECT_STREQ(m_bar.GetPaneText(0), "Ready");
    EXPECT_EQ(m_bar.SendMessage(WM_GETTEXTLENGTH), 5);

    struct Case {
        int cchBuffer;
        LRESULT lExpected;
        const char* pszExpected;
    } const cases[] = {{64, 5, "Ready"}, {6, 5, "Ready"}, {3, 2, "Re"}, {1, 0, ""}};
    for (const Case& c : cases) {
        char szBuffer[64];
        std::memset(szBuffer, 'x', sizeof szBuffer);
        EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, c.cchBuffer, reinterpret_cast<LPARAM>(szBuffer)), c.lExpected)
            << c.cchBuffer;
        EXPECT_STREQ(szBuffer, c.pszExpected);
    }
    char cUntouched = 'x';
    EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(&cUntouched)), 0);
    EXPECT_EQ(cUntouched, 'x');

    const UINT ids[] = {ID_INDICATOR_CAPS};
    ASSERT_TRUE(m_bar.SetIndicators(ids, 1));
    EXPECT_EQ(m_bar.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Ready")), FALSE);
    char szBuffer[8] = "xxxxxxx";
    EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, 8, reinterpret_cast<LPARAM>(szBuffer)), 0);
    EXPECT_STREQ(szBuffer, "");
    EXPECT_EQ(m_bar.SendMessage(WM_GETTEXTLENGTH), 0);
}

TEST_F(StatusBarTest, TheThemedPaintDrawsPaneBordersAndTheGripper) {
    ASSERT_TRUE(m_bar.SetIndicators(kAppIndicators, 4));
    m_pFrame->RecalcLayout();
    CRect rcClient;
    m_bar.GetClientRect(&rcClient);
    commandbars_test::Dib dib(rcClient.Width(), rcClient.Height());
    m_bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.m_dc.GetSafeHdc()), PRF_CLIENT);

    CKLVPaintManager* pPaintManager = m_bar.GetPaintManager();
    const COLORREF clrFace = pPaintManager->GetThemeColor(COLOR_BTNFACE);
    const COLORREF clrShadow = pPaintManager->GetThemeColor(COLOR_BTNSHADOW);
    const COLORREF clrHighlight = pPaintManager->GetThemeColor(COLOR_BTNHIGHLIGHT);
    for (int i = 1; i < 4; ++i) {
        SCOPED_TRACE(i);
        CRect rc;
        m_bar.GetItemRect(i, &rc);
        EXPECT_EQ(dib.At(rc.left, rc.top), clrShadow);
        EXPECT_EQ(dib.At(rc.right - 1, rc.bottom - 1), clrHighlight);
    }
    CRect rcFirst;
    m_bar.GetItemRect(0, &rcFirst);
    EXPECT_EQ(dib.At(rcFirst.left, rcFirst.top), clrFace) << "the first pane has no border";
    // The gripper's strokes in the bottom-right corner: dark, then light, one pixel apart.
    const int w = rcClient.Width(), h = rcClient.Height();
    EXPECT_EQ(dib.At(w - 3, h - 2), clrShadow);
    EXPECT_EQ(dib.At(w - 5, h - 2), clrHighlight);
    EXPECT_EQ(dib.At(w - 1, h - 1), clrFace);
}

TEST_F(StatusBarTest, APaneWithATooltipIsATool) {
    ASSERT_TRUE(m_bar.SetIndicators(kAppIndicators, 4));
    m_pFrame->RecalcLayout();
    m_bar.GetPane(2)->m_strToolTip = "Num Lock";
    CRect rcPane;
    m_bar.GetItemRect(2, &rcPane);
    TOOLINFOA ti = {};
    ti.cbSize = CKLVTooltipHost::nToolInfoSize;
    EXPECT_EQ(m_bar.OnToolHitTest(rcPane.CenterPoint(), &ti), INT_PTR(ID_INDICATOR_NUM));
    EXPECT_EQ(ti.hwnd, m_bar.m_hWnd);
    EXPECT_EQ(CRect(ti.rect), rcPane);
    ASSERT_TRUE(ti.lpszText);
    EXPECT_STREQ(ti.lpszText, "Num Lock");
    std::free(ti.lpszText);

    CRect rcCaps;
    m_bar.GetItemRect(1, &rcCaps);
    EXPECT_EQ(m_bar.OnToolHitTest(rcCaps.CenterPoint(), nullptr), -1) << "no tooltip, no tool";

    // The bar's mouse reaches the host, which registers the pane with its tooltip control.
    m_bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rcPane.CenterPoint().x, rcPane.CenterPoint().y));
    CWnd* pToolTip = m_bar.GetToolTipContext()->GetToolTip();
    ASSERT_TRUE(pToolTip);
    EXPECT_EQ(pToolTip->SendMessage(TTM_GETTOOLCOUNT), 1);
}

TEST(StatusBarLifetime, ABarLeavesNoGdiObjectsBehind) {
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 200)));
    auto GdiObjects = [] { return classlib_test::CountHandles().nGdi; };
    {
        // The first bar builds what the process keeps (paint manager fonts, cached brushes).
        CKLVStatusBar bar;
        ASSERT_TRUE(bar.Create(pFrame));
        ASSERT_TRUE(bar.SetIndicators(kAppIndicators, 4));
        bar.DestroyWindow();
    }
    const DWORD nBefore = GdiObjects();
    for (int i = 0; i < 5; ++i) {
        CKLVStatusBar bar;
        ASSERT_TRUE(bar.Create(pFrame));
        ASSERT_TRUE(bar.SetIndicators(kAppIndicators, 4));
        bar.DestroyWindow();
    }
    // The control's copy of the bar's font goes with the bar.
    EXPECT_EQ(GdiObjects(), nBefore);
    pFrame->DestroyWindow();
}

}  // namespace
