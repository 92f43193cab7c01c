// The hyperlink on a real static window: hover over the text's extent by alignment, cursor and
// colours, clicks with a stubbed shell call, the tooltip's address, and the error texts.
#include "classlib/ClassLib.h"
#include "toolkit/common/HyperLink.h"
#include "toolkit/common/ResourceManager.h"

#include "classlib/WindowTestSupport.h"

#include <gtest/gtest.h>

namespace {

CString g_strOpened;
INT_PTR g_nShellResult = 42;

HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR lpszVerb, LPCSTR lpszFile, LPCSTR, LPCSTR, INT) {
    g_strOpened = CString(lpszVerb) + " " + lpszFile;
    return reinterpret_cast<HINSTANCE>(g_nShellResult);
}

// A link whose cursor position the test sets, and whose errors are counted, not shown.
class CTestLink : public CKLHyperLink {
public:
    bool IsCursorOverLink() const override { return !IsTextControl() || IsPointOverLink(m_ptCursor); }
    void ReportError(int nError) override { m_nLastError = nError; }
    using CKLHyperLink::CtlColor;
    using CKLHyperLink::m_bOpenOnClick;
    using CKLHyperLink::m_toolTip;

    // The text colour the link asks its parent to draw with.
    COLORREF TextColor() {
        CClientDC dc(this);
        CtlColor(&dc, CTLCOLOR_STATIC);
        return dc.GetTextColor();
    }

    CPoint m_ptCursor;
    int m_nLastError = -1;
};

class HyperLink : public ::testing::Test {
protected:
    void SetUp() override {
        CKLHyperLink::s_pfnShellExecute = FakeShellExecute;
        g_strOpened.Empty();
        g_nShellResult = 42;
    }
    void TearDown() override {
        CKLHyperLink::s_pfnShellExecute = ::ShellExecuteA;
        m_parent.DestroyWindow();
    }

    // The parent reflects notifications and colour requests to the link.
    void Create(CTestLink& link, LPCTSTR lpszText, DWORD dwStyle) {
        if (!m_parent.GetSafeHwnd()) {
            ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_CHILD | WS_VISIBLE,
                                          CRect(0, 0, 400, 100), classlib_test::VisibleStage(), 1));
        }
        ASSERT_TRUE(link.Create(lpszText, WS_CHILD | WS_VISIBLE | dwStyle, CRect(10, 10, 310, 40), &m_parent, 100));
    }

    CWnd m_parent;
    // A point in the window's middle row, x pixels from its left edge.
    static CPoint At(const CWnd& wnd, int x) {
        CRect rc;
        wnd.GetWindowRect(&rc);
        return CPoint(rc.left + x, rc.CenterPoint().y);
    }
};

}  // namespace

TEST_F(HyperLink, HoverFollowsTheTextExtentByAlignment) {
    const struct {
        DWORD dwStyle;
        int xOver, xBeside;
    } cases[] = {{SS_LEFT, 2, 298}, {SS_CENTER, 150, 2}, {SS_RIGHT, 298, 2}};
    for (const auto& c : cases) {
        CTestLink link;
        Create(link, "Short", c.dwStyle);
        link.m_ptCursor = At(link, c.xBeside);
        link.SendMessage(WM_TIMER, 1);
        EXPECT_EQ(link.TextColor(), link.GetLinkColor()) << c.dwStyle;
        EXPECT_FALSE(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.GetSafeHwnd()), HTCLIENT));
        link.m_ptCursor = At(link, c.xOver);
        link.SendMessage(WM_TIMER, 1);
        EXPECT_EQ(link.TextColor(), link.GetHoverColor()) << c.dwStyle;
        EXPECT_TRUE(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.GetSafeHwnd()), HTCLIENT));
        EXPECT_EQ(::GetCursor(), link.GetLinkCursor());
    }
}

TEST_F(HyperLink, ClicksOpenTheCaptionAndMarkTheLinkVisited) {
    CTestLink link;
    Create(link, "http://example.invalid/", SS_LEFT);
    EXPECT_STREQ(link.GetURL(), "http://example.invalid/");
    EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
    link.m_ptCursor = At(link, 2);
    const WPARAM clicked = MAKEWPARAM(100, STN_CLICKED);
    link.GetParent()->SendMessage(WM_COMMAND, clicked, reinterpret_cast<LPARAM>(link.GetSafeHwnd()));
    EXPECT_STREQ(g_strOpened, "open http://example.invalid/");
    EXPECT_TRUE(link.GetVisited());
    EXPECT_EQ(link.TextColor(), link.GetVisitedColor());

    // A failed open reports the shell's result and leaves the link unvisited.
    link.SetVisited(false);
    g_nShellResult = 4;
    link.GetParent()->SendMessage(WM_COMMAND, clicked, reinterpret_cast<LPARAM>(link.GetSafeHwnd()));
    EXPECT_EQ(link.m_nLastError, 4);
    EXPECT_FALSE(link.GetVisited());

    // Without opening, a click still marks it visited.
    link.m_bOpenOnClick = false;
    g_strOpened.Empty();
    link.GetParent()->SendMessage(WM_COMMAND, clicked, reinterpret_cast<LPARAM>(link.GetSafeHwnd()));
    EXPECT_TRUE(link.GetVisited());
    EXPECT_TRUE(g_strOpened.IsEmpty());
}

TEST_F(HyperLink, TheTooltipShowsTheLatestAddress) {
    CTestLink empty;
    Create(empty, "", SS_LEFT);
    EXPECT_EQ(empty.m_toolTip.GetSafeHwnd(), nullptr);

    CTestLink link;
    Create(link, "caption", SS_LEFT);
    CString strTip;
    link.m_toolTip.GetText(strTip, &link);
    EXPECT_STREQ(strTip, "caption");
    link.SetURL("http://second.invalid/");
    link.m_toolTip.GetText(strTip, &link);
    EXPECT_STREQ(strTip, "http://second.invalid/");

    // With a back colour the link paints its own background.
    CClientDC dc(&link);
    EXPECT_FALSE(link.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC)) &&
                 link.CtlColor(&dc, CTLCOLOR_STATIC) == ::GetStockObject(HOLLOW_BRUSH));
    link.SetBackColor(RGB(0, 255, 0));
    EXPECT_TRUE(link.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC)));
    EXPECT_EQ(link.CtlColor(&dc, CTLCOLOR_STATIC), ::GetStockObject(HOLLOW_BRUSH));
}
