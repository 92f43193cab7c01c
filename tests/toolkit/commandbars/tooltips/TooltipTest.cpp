// Tooltips: the host's filter keeps the owner's tool under the mouse registered, and the
// toolkit's tooltip window shows it after the initial delay, at once within the reshow delay,
// never for a tool just clicked, inside the work area; its measure and its scheme colours.
// The mouse is never moved: mouse messages carry their points, and a delay's timer is checked to
// be running and then stepped with WM_TIMER; nothing waits for time to pass.
#include "paint/PaintManagerTestSupport.h"
#include "classlib/ClassLib.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/tooltips/RichEditTextHost.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/commandbars/tooltips/TooltipWnd.h"
#include "toolkit/common/ColorManager.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using commandbars_test::Dib;

// One visible top-level window over the work area for the whole process: tools need a window
// under the point, and unmapping a top-level window waits for a window manager that is not there.
// It stays on top of the windows other test processes may show meanwhile.
CWnd* Stage() {
    static HWND s_hWnd = [] {
        RECT rcWork;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
        return ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, AfxRegisterWndClass(0), "stage",
                                 WS_POPUP | WS_VISIBLE,
                                 rcWork.left, rcWork.top, rcWork.right - rcWork.left, rcWork.bottom - rcWork.top,
                                 nullptr, nullptr, AfxGetInstanceHandle(), nullptr);
    }();
    return CWnd::FromHandle(s_hWnd);
}

// Within two gradient steps of the colour.
void ExpectNear(COLORREF clrActual, COLORREF clrExpected) {
    EXPECT_NEAR(GetRValue(clrActual), GetRValue(clrExpected), 16);
    EXPECT_NEAR(GetGValue(clrActual), GetGValue(clrExpected), 16);
    EXPECT_NEAR(GetBValue(clrActual), GetBValue(clrExpected), 16);
}

CRect WorkArea() {
    CRect rc;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

// Away from the corner where other test processes show their windows.
const CRect kOwnerRect(600, 400, 800, 430);

struct ToolSpec {
    CRect rc;
    UINT nId;
    CString strText;
};

// A child of the stage whose tools are rectangles with texts; its messages pass the host first,
// as a command bar's do.
class CTipOwner : public CWnd {
public:
    CTipOwner(CKLVTooltipHost* pHost, CRect rcWindow, std::vector<ToolSpec> tools)
        : m_pHost(pHost), m_tools(std::move(tools)) {
        EXPECT_TRUE(Create(AfxRegisterWndClass(0), "owner", WS_CHILD | WS_VISIBLE, rcWindow, Stage(), 1));
    }
    ~CTipOwner() override { DestroyWindow(); }
    // The tools ask for their tips at once, so that the host activates its window whichever
    // window is in the foreground.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override {
        for (const ToolSpec& tool : m_tools)
            if (tool.rc.PtInRect(point)) {
                m_pHost->FillInToolInfo(pTI, m_hWnd, tool.rc, tool.nId, tool.strText);
                pTI->uFlags |= CKLVTooltipHost::toolShowAtOnce;
                return tool.nId;
            }
        return -1;
    }
    // A mouse message at a client point, as the mouse would send it.
    void Mouse(UINT message, CPoint pt) { SendMessage(message, 0, MAKELPARAM(pt.x, pt.y)); }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        m_pHost->FilterToolTipMessage(this, message, wParam, lParam);
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }

    CKLVTooltipHost* m_pHost;
    std::vector<ToolSpec> m_tools;
};

// The tooltip window with a clock the test sets, and a log of its timer.
class CClockedTipWnd : public CKLVTooltipWnd {
public:
    using CKLVTooltipWnd::CKLVTooltipWnd;
    DWORD m_dwTick = 100000;
    std::vector<std::string> m_log;

protected:
    DWORD GetCurrentTick() const override { return m_dwTick; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == timerShow) m_log.push_back("timer");
        const LRESULT lResult = CKLVTooltipWnd::WindowProc(message, wParam, lParam);
        if (message == WM_TIMER && wParam == timerShow && IsWindowVisible()) m_log.push_back("shown");
        return lResult;
    }
};

class TooltipWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_tip.CreateTipWindow(WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, Stage()->m_hWnd);
        m_tip.SendMessage(TTM_ACTIVATE, TRUE);
        for (const ToolSpec& tool : m_owner.m_tools) AddTool(tool);
    }
    void AddTool(const ToolSpec& tool) {
        TOOLINFOA ti = {};
        ti.cbSize = CKLVTooltipHost::nToolInfoSize;
        ti.hwnd = m_owner.m_hWnd;
        ti.uId = tool.nId;
        ti.rect = tool.rc;
        ti.lpszText = const_cast<LPSTR>(static_cast<LPCTSTR>(tool.strText));
        m_tip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    // Relays a mouse message at a client point of the owner.
    void Relay(UINT message, CPoint ptClient) {
        MSG msg = {};
        msg.hwnd = m_owner.m_hWnd;
        msg.message = message;
        msg.lParam = MAKELPARAM(ptClient.x, ptClient.y);
        msg.pt = ptClient;
        m_owner.ClientToScreen(&msg.pt);
        m_tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    UINT_PTR Shown() const { return m_tip.IsWindowVisible() ? m_tip.GetCurrentTool().uId : 0; }
    // The initial delay's end, at once: FALSE when the tip had no show timer running.
    bool EndShowDelay() {
        if (!::KillTimer(m_tip.m_hWnd, CKLVTooltipWnd::timerShow)) return false;
        m_tip.SendMessage(WM_TIMER, CKLVTooltipWnd::timerShow);
        return true;
    }

    CKLVTooltipHost m_host;
    CTipOwner m_owner{&m_host, kOwnerRect,
                      {{CRect(0, 0, 20, 20), 11, "Open"}, {CRect(20, 0, 40, 20), 12, "Save"}}};
    CClockedTipWnd m_tip{&m_host};
};

TEST_F(TooltipWndTest, TheFirstTipWaitsTheNextShowsAtOnceAndAfterAPauseItWaitsAgain) {
    EXPECT_EQ(m_tip.GetInitialDelay(), 500);
    EXPECT_EQ(m_tip.GetReshowDelay(), 200);

    Relay(WM_MOUSEMOVE, CPoint(5, 5));
    EXPECT_EQ(Shown(), 0u) << "the first tip waits for timer 1";
    EXPECT_EQ(m_tip.GetPendingTool().uId, 11u);
    ASSERT_TRUE(EndShowDelay());
    ASSERT_EQ(Shown(), 11u);
    EXPECT_EQ(m_tip.m_log, (std::vector<std::string>{"timer", "shown"}));
    EXPECT_TRUE(CKLVTooltipWnd::IsMouseHookSet());

    m_tip.m_dwTick += 150;   // the next button within the reshow delay
    Relay(WM_MOUSEMOVE, CPoint(25, 5));
    EXPECT_EQ(Shown(), 12u) << "shown at once";
    EXPECT_TRUE(m_tip.GetPendingTool().IsEmpty());

    Relay(WM_MOUSEMOVE, CPoint(100, 5));   // off every tool
    EXPECT_EQ(Shown(), 0u);
    EXPECT_FALSE(CKLVTooltipWnd::IsMouseHookSet());
    m_tip.m_dwTick += 1000;   // a pause
    m_tip.m_log.clear();
    Relay(WM_MOUSEMOVE, CPoint(5, 5));
    EXPECT_EQ(Shown(), 0u) << "after a pause the tip waits again";
    ASSERT_TRUE(EndShowDelay());
    ASSERT_EQ(Shown(), 11u);
    EXPECT_EQ(m_tip.m_log, (std::vector<std::string>{"timer", "shown"}));
}

TEST_F(TooltipWndTest, AClickedButtonShowsNoTipUntilTheMouseLeavesIt) {
    Relay(WM_LBUTTONDOWN, CPoint(5, 5));
    EXPECT_EQ(m_tip.GetClickedTool().uId, 11u);
    Relay(WM_LBUTTONUP, CPoint(5, 5));
    Relay(WM_MOUSEMOVE, CPoint(6, 6));
    EXPECT_TRUE(m_tip.GetPendingTool().IsEmpty()) << "no tip for the clicked tool";
    EXPECT_EQ(Shown(), 0u);

    Relay(WM_MOUSEMOVE, CPoint(25, 5));   // the mouse left it
    EXPECT_TRUE(m_tip.GetClickedTool().IsEmpty());
    EXPECT_EQ(m_tip.GetPendingTool().uId, 12u);
    Relay(WM_MOUSEMOVE, CPoint(5, 5));
    EXPECT_EQ(m_tip.GetPendingTool().uId, 11u) << "back on it, it may show again";
}

TEST_F(TooltipWndTest, NearTheWorkAreasBottomTheTipShowsAboveTheCursor) {
    const CRect rcWork = WorkArea();
    struct Case {
        const char* what;
        int yScreen;
        bool bAbove;
    } const cases[] = {{"top", rcWork.top + 30, false}, {"bottom", rcWork.bottom - 6, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_owner.MoveWindow(kOwnerRect.left, c.yScreen - rcWork.top - 5, 200, 30);
        m_tip.m_dwTick += 1000;
        Relay(WM_MOUSEMOVE, CPoint(5, 5));
        ASSERT_TRUE(EndShowDelay());
        ASSERT_EQ(Shown(), 11u);
        CRect rcTip;
        m_tip.GetWindowRect(&rcTip);
        if (c.bAbove) {
            EXPECT_EQ(rcTip.bottom, c.yScreen - 3);
        } else {
            EXPECT_GT(rcTip.top, c.yScreen);
        }
        EXPECT_LE(rcTip.bottom, rcWork.bottom);
        EXPECT_GE(rcTip.left, rcWork.left);
        Relay(WM_MOUSEMOVE, CPoint(100, 5));
    }
}

TEST_F(TooltipWndTest, AToolWithASecondRectangleShowsItsTipThere) {
    KLVTOOLTIPBLOCK block;
    block.rcPlacement = CRect(50, 2, 90, 18);
    TOOLINFOA ti = {};
    ti.cbSize = CKLVTooltipHost::nToolInfoExSize;
    ti.hwnd = m_owner.m_hWnd;
    ti.uId = 13;
    ti.rect = CRect(50, 0, 90, 20);
    ti.lpszText = const_cast<LPSTR>("A label cut short");
    ti.lParam = reinterpret_cast<LPARAM>(&block);
    m_tip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));

    struct Case {
        const char* what;
        CPoint ptMouse;
        UINT_PTR uId;
        CPoint ptTipClient;   // where the tip's top-left lies in the owner; (-1, -1): below the cursor
    } const cases[] = {{"second rectangle", CPoint(60, 5), 13, CPoint(50, 2)},
                       {"at the cursor", CPoint(5, 5), 11, CPoint(-1, -1)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_tip.m_dwTick += 1000;
        Relay(WM_MOUSEMOVE, c.ptMouse);
        ASSERT_EQ(m_tip.GetPendingTool().uId, c.uId);
        m_tip.SendMessage(WM_TIMER, CKLVTooltipWnd::timerShow);
        ASSERT_EQ(Shown(), c.uId);
        CRect rcTip;
        m_tip.GetWindowRect(&rcTip);
        CPoint ptMouse = c.ptMouse;
        m_owner.ClientToScreen(&ptMouse);
        if (c.ptTipClient.x >= 0) {
            CPoint pt = c.ptTipClient;
            m_owner.ClientToScreen(&pt);
            EXPECT_EQ(rcTip.TopLeft(), pt);
        } else {
            EXPECT_EQ(rcTip.left, ptMouse.x);
            EXPECT_GT(rcTip.top, ptMouse.y);
        }
        Relay(WM_MOUSEMOVE, CPoint(150, 25));   // off every tool
    }
}

TEST_F(TooltipWndTest, AWindowDestroyedWhileItsTipShowsLeavesNoHook) {
    Relay(WM_MOUSEMOVE, CPoint(5, 5));
    ASSERT_TRUE(EndShowDelay());
    ASSERT_EQ(Shown(), 11u);
    ASSERT_TRUE(CKLVTooltipWnd::IsMouseHookSet());
    m_tip.DestroyWindow();
    EXPECT_FALSE(CKLVTooltipWnd::IsMouseHookSet());
    // Nothing is left to fire at the dead window either.
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

TEST(TooltipMeasure, TheOwnerDrawnTipIsItsTextPlusMarginsAndInsets) {
    CKLVTooltipHost host;
    CClientDC dc(nullptr);
    auto TextSize = [&](CFont* pFont, const CString& str, UINT nFormat, int cxMax) {
        CFont* pOld = dc.SelectObject(pFont);
        CRect rc(0, 0, cxMax, 0);
        dc.DrawText(str, rc, nFormat | DT_CALCRECT | DT_NOPREFIX);
        dc.SelectObject(pOld);
        return rc.Size();
    };
    struct Case {
        const char* what;
        CRect rcMargin;
        const char* pszTitle;
    } const cases[] = {{"plain", CRect(0, 0, 0, 0), ""}, {"margins", CRect(2, 3, 4, 5), ""},
                       {"title", CRect(0, 0, 0, 0), "Save"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.SetMargin(c.rcMargin);
        CKLVTooltipWnd tip(&host);
        ASSERT_TRUE(tip.CreateTipWindow(WS_POPUP, Stage()->m_hWnd));
        tip.SendMessage(TTM_SETTITLEA, 1, reinterpret_cast<LPARAM>(c.pszTitle));
        const CString strText = "Saves the active document under its name";
        const int cxMax = host.GetMaxTipWidth() - c.rcMargin.left - c.rcMargin.right - 6;
        CSize sizeExpected = TextSize(host.GetNormalFont(), strText, DT_WORDBREAK, cxMax);
        if (*c.pszTitle) {
            const CSize sizeTitle = TextSize(host.GetBoldFont(), c.pszTitle, DT_SINGLELINE, cxMax - 25);
            sizeExpected.cy += sizeTitle.cy + 20;
            sizeExpected.cx = std::max<LONG>(sizeExpected.cx + 25, sizeTitle.cx + 4);
        }
        sizeExpected.cx += c.rcMargin.left + c.rcMargin.right + 6;
        sizeExpected.cy += c.rcMargin.top + c.rcMargin.bottom + 6;
        EXPECT_EQ(tip.Measure(&dc, strText), sizeExpected);
        if (!*c.pszTitle) {
            EXPECT_EQ(tip.Measure(&dc, ""), CSize(0, 0)) << "nothing to show";
        }
    }
}

// The tip's content drawn where a test can read it.
class CDrawnTip : public CKLVTooltipWnd {
public:
    using CKLVTooltipWnd::CKLVTooltipWnd;
    using CKLVTooltipWnd::DrawContent;
};

TEST(TooltipMeasure, ATitleIconStandsBeforeTheTitle) {
    CKLVTooltipHost host;
    host.SetMargin(CRect(0, 0, 0, 0));
    CDrawnTip tip(&host);
    ASSERT_TRUE(tip.CreateTipWindow(WS_POPUP, Stage()->m_hWnd));
    CClientDC dc(nullptr);
    const char* pszTitle = "A title wider than the text";
    tip.SendMessage(TTM_SETTITLEA, TTI_NONE, reinterpret_cast<LPARAM>(pszTitle));
    const CSize sizePlain = tip.Measure(&dc, "x");
    Dib plain(200, 60);
    tip.DrawContent(&plain.m_dc, CRect(0, 0, 200, 60), "x");
    for (WPARAM nIcon : {WPARAM(TTI_INFO), WPARAM(TTI_WARNING), WPARAM(TTI_ERROR)}) {
        SCOPED_TRACE(nIcon);
        tip.SendMessage(TTM_SETTITLEA, nIcon, reinterpret_cast<LPARAM>(pszTitle));
        EXPECT_EQ(tip.Measure(&dc, "x"), CSize(sizePlain.cx + 17, sizePlain.cy));
        Dib withIcon(200, 60);
        tip.DrawContent(&withIcon.m_dc, CRect(0, 0, 200, 60), "x");
        // The icon's pixels where the title began, the title one icon further right.
        int nIconPixels = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) nIconPixels += withIcon.At(x, y) != plain.At(x, y);
        EXPECT_GT(nIconPixels, 16);
        int nFirstInk = -1;
        for (int x = 0; x < 200 && nFirstInk < 0; ++x)
            for (int y = 0; y < 16; ++y)
                if (plain.At(x, y) != plain.At(199, 59)) {
                    nFirstInk = x;
                    break;
                }
        ASSERT_GE(nFirstInk, 0);
        for (int y = 0; y < 16; ++y) EXPECT_EQ(withIcon.At(nFirstInk + 17, y), plain.At(nFirstInk, y)) << y;
    }
}

TEST(TooltipTheme, StyleFourFollowsTheForcedScheme) {
    CKLVColorManager* pColors = GetColorManager();
    const int nSaved = pColors->m_nTheme;
    CKLVTooltipHost host;
    host.SetTipBkColor(RGB(0, 0, 255));
    struct Case {
        int nTheme;
        COLORREF clrTop, clrBottom, clrFrame;
    } const cases[] = {{CKLVColorManager::themeBlue, 0x97D4FF, 0xC8F2FF, 0x800000},
                       {CKLVColorManager::themeOlive, 0x97D4FF, 0xC8F2FF, 0x385D3F},
                       {CKLVColorManager::themeSilver, 0x97D4FF, 0xC8F2FF, 0x6F4B4B},
                       {CKLVColorManager::themeNone, RGB(0, 0, 255), 0xFFFFFF, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nTheme);
        pColors->m_nTheme = c.nTheme;
        std::unique_ptr<CKLVTooltipWnd> pTip = CKLVTooltipWnd::CreateForStyle(4, &host);
        Dib dib(40, 40);
        pTip->DrawBackground(&dib.m_dc, CRect(0, 0, 40, 40));
        EXPECT_EQ(dib.At(0, 0), c.clrFrame);
        EXPECT_EQ(dib.At(39, 39), c.clrFrame);
        // Inside the frame the gradient runs from the first colour to the second.
        ExpectNear(dib.At(20, 1), c.clrTop);
        ExpectNear(dib.At(20, 38), c.clrBottom);
    }
    pColors->m_nTheme = nSaved;
}

TEST(TooltipRich, StyleThreeMeasuresWithTheRichTextHost) {
    CKLVTooltipHost host;
    std::unique_ptr<CKLVTooltipWnd> pTip = CKLVTooltipWnd::CreateForStyle(3, &host);
    ASSERT_TRUE(pTip->CreateTipWindow(WS_POPUP, Stage()->m_hWnd));
    CClientDC dc(nullptr);
    CKLVRichEditTextHost textHost;
    ASSERT_TRUE(textHost.HasTextServices());
    const char* pszText = "{\\rtf1 Saves the {\\b active} document}";
    textHost.SetText(pszText);
    const CSize sizeText = textHost.CalcSize(&dc, host.GetMaxTipWidth() - 6);
    ASSERT_GT(sizeText.cx, 0);
    EXPECT_EQ(pTip->Measure(&dc, pszText), sizeText + CSize(6, 6));
}

TEST(TooltipResource, StyleFiveUsesTheResourceThemesDefaults) {
    CKLVTooltipHost host;
    std::unique_ptr<CKLVTooltipWnd> pTip = CKLVTooltipWnd::CreateForStyle(5, &host);
    Dib dib(40, 40);
    pTip->DrawBackground(&dib.m_dc, CRect(0, 0, 40, 40));
    EXPECT_EQ(dib.At(0, 0), COLORREF(0x767676));
    ExpectNear(dib.At(20, 1), 0xFFFFFF);
    ExpectNear(dib.At(20, 38), 0xEFD9C9);
}

class TooltipHostTest : public ::testing::Test {
protected:
    void SetUp() override { m_host.SetStyle(2); }
    CKLVTooltipWnd* Tip() const { return dynamic_cast<CKLVTooltipWnd*>(m_host.GetToolTip()); }

    CKLVTooltipHost m_host;
};

TEST_F(TooltipHostTest, WithoutTheNoPrefixBitMnemonicsAreRemovedOnce) {
    m_host.SetTooltipWindowStyle(0);
    CTipOwner owner(&m_host, kOwnerRect,
                    {{CRect(0, 0, 20, 20), 21, "&File"}, {CRect(20, 0, 40, 20), 22, "Fish && Chips"}});
    struct Case {
        CPoint pt;
        const char* pszShown;
    } const cases[] = {{CPoint(5, 5), "File"}, {CPoint(25, 5), "Fish & Chips"}};
    for (const Case& c : cases) {
        owner.Mouse(WM_MOUSEMOVE, c.pt);
        ASSERT_TRUE(Tip());
        ASSERT_EQ(Tip()->GetToolCount(), 1);
        EXPECT_STREQ(Tip()->GetTool(0)->strText, c.pszShown);
    }
    // With the bit the ampersands stay.
    m_host.SetTooltipWindowStyle(CKLVTooltipHost::tipNoPrefix);
    owner.Mouse(WM_MOUSEMOVE, CPoint(5, 5));
    ASSERT_TRUE(Tip());
    EXPECT_STREQ(Tip()->GetTool(0)->strText, "&File");
}

TEST_F(TooltipHostTest, TheFilterKeepsOneToolAndAButtonPressDeactivates) {
    CTipOwner owner(&m_host, kOwnerRect,
                    {{CRect(0, 0, 20, 20), 21, "Open"}, {CRect(20, 0, 40, 20), 22, "Save"}});
    owner.Mouse(WM_MOUSEMOVE, CPoint(5, 5));
    ASSERT_TRUE(Tip());
    EXPECT_EQ(::GetWindow(Tip()->m_hWnd, GW_OWNER), Stage()->m_hWnd);
    EXPECT_EQ(Tip()->GetToolCount(), 1);
    EXPECT_FALSE(Tip()->GetTool(0)->uFlags & CKLVTooltipHost::toolShowAtOnce) << "cleared before the tool is added";
    EXPECT_TRUE(Tip()->IsActive());
    EXPECT_EQ(Tip()->GetPendingTool().uId, 21u);
    owner.Mouse(WM_MOUSEMOVE, CPoint(25, 5));
    ASSERT_EQ(Tip()->GetToolCount(), 1);
    EXPECT_EQ(Tip()->GetTool(0)->uId, 22u);
    owner.Mouse(WM_LBUTTONDOWN, CPoint(25, 5));
    EXPECT_FALSE(Tip()->IsActive());
    owner.Mouse(WM_MOUSEMOVE, CPoint(100, 5));
    EXPECT_EQ(Tip()->GetToolCount(), 0);
}

// An owner whose one tool asks for its tip over the tool itself, through the extended record.
class CPlacingOwner : public CTipOwner {
public:
    using CTipOwner::CTipOwner;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override {
        if (!CRect(0, 0, 40, 20).PtInRect(point)) return -1;
        m_pHost->FillInToolInfoEx(pTI, m_hWnd, CRect(0, 0, 40, 20), 31, "Label", "", "", nullptr);
        if (pTI->cbSize >= CKLVTooltipHost::nToolInfoExSize)
            reinterpret_cast<KLVTOOLTIPBLOCK*>(pTI->lParam)->rcPlacement = CRect(0, 0, 40, 20);
        return 31;
    }
};

TEST_F(TooltipHostTest, AnOwnersSecondRectangleReachesTheTipWindow) {
    m_host.ShowTitleAndDescription(TRUE);
    CPlacingOwner owner(&m_host, kOwnerRect, {});
    owner.Mouse(WM_MOUSEMOVE, CPoint(5, 5));
    ASSERT_TRUE(Tip());
    ASSERT_EQ(Tip()->GetToolCount(), 1);
    EXPECT_EQ(Tip()->GetTool(0)->rectPlacement, CRect(0, 0, 40, 20));
    // A plain record has no block: the tip shows at the cursor.
    m_host.ShowTitleAndDescription(FALSE);
    owner.Mouse(WM_MOUSEMOVE, CPoint(100, 5));
    owner.Mouse(WM_MOUSEMOVE, CPoint(5, 5));
    ASSERT_EQ(Tip()->GetToolCount(), 1);
    EXPECT_TRUE(Tip()->GetTool(0)->rectPlacement.IsRectEmpty());
}

TEST_F(TooltipHostTest, TheTextCopiesOfTheHitTestAreFreed) {
    const CString strLong(std::string(16000, 'x').c_str());
    CTipOwner owner(&m_host, kOwnerRect,
                    {{CRect(0, 0, 20, 20), 21, strLong}, {CRect(20, 0, 40, 20), 22, strLong}});
    auto PrivateBytes = [] {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        EXPECT_TRUE(::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters));
        return counters.PagefileUsage;
    };
    owner.Mouse(WM_MOUSEMOVE, CPoint(5, 5));
    const SIZE_T nBefore = PrivateBytes();
    for (int i = 0; i < 1000; ++i) owner.Mouse(WM_MOUSEMOVE, CPoint(i % 2 ? 5 : 25, 5));
    // 1,000 hit tests of 16 KB texts: kept copies would hold 16 MB.
    EXPECT_LT(PrivateBytes(), nBefore + 4 * 1024 * 1024);
}

TEST(TooltipCommandBars, TheCommandBarsShareAHostOfStyleTwo) {
    CKLVCommandBars* pCommandBars = new CKLVCommandBars;
    auto* pHost = dynamic_cast<CKLVTooltipHost*>(pCommandBars->GetToolTipContext());
    ASSERT_TRUE(pHost);
    EXPECT_EQ(pHost->GetStyle(), 2);
    pCommandBars->InternalRelease();
}

}  // namespace
