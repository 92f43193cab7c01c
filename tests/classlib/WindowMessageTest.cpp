// A real window under Wine receiving its mapped messages: ON_WM_* decoding, ON_MESSAGE,
// ON_REGISTERED_MESSAGE, commands and ranges, timers, creation and destruction.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

enum : UINT { ID_ZOOM_FIRST = 300, ID_ZOOM_LAST = 309, ID_LOCKED = 320 };
const UINT WM_TEST_SUM = WM_APP + 1;
const UINT WM_TEST_NESTED = WM_APP + 2;

const UINT g_msgRegistered = ::RegisterWindowMessageA("KelvaneClasslibTestMessage");

std::string PointText(CPoint pt) { return std::to_string(pt.x) + "," + std::to_string(pt.y); }

class CMsgWnd : public CWnd {
public:
    std::vector<std::string> m_log;
    int m_nCreateResult = 0;
    int m_nPostNcDestroy = 0;
    LPVOID m_pCreateParams = nullptr;
    std::vector<UINT_PTR> m_timers;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override {
        cs.style |= WS_VSCROLL;
        return CWnd::PreCreateWindow(cs);
    }
    void PreSubclassWindow() override { m_log.push_back("presubclass"); }
    void PostNcDestroy() override { ++m_nPostNcDestroy; }

protected:
    BOOL OnNcCreate(LPCREATESTRUCT lpcs) {
        m_log.push_back("nccreate");
        return CWnd::OnNcCreate(lpcs);
    }
    int OnCreate(LPCREATESTRUCT lpcs) {
        m_log.push_back("create");
        m_pCreateParams = lpcs->lpCreateParams;
        if (CWnd::OnCreate(lpcs) == -1) return -1;
        return m_nCreateResult;
    }
    void OnNcDestroy() {
        m_log.push_back("ncdestroy");
        CWnd::OnNcDestroy();
    }
    void OnSize(UINT nType, int cx, int cy) {
        m_log.push_back("size " + std::to_string(nType) + " " + std::to_string(cx) + " " + std::to_string(cy));
    }
    void OnMove(int x, int y) { m_log.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
    void OnLButtonDown(UINT nFlags, CPoint pt) { m_log.push_back("lbuttondown " + std::to_string(nFlags) + " " + PointText(pt)); }
    void OnMouseMove(UINT nFlags, CPoint pt) { m_log.push_back("mousemove " + std::to_string(nFlags) + " " + PointText(pt)); }
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
        m_log.push_back("wheel " + std::to_string(nFlags) + " " + std::to_string(zDelta) + " " + PointText(pt));
        return TRUE;
    }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
        m_log.push_back("keydown " + std::to_string(nChar) + " " + std::to_string(nRepCnt) + " " + std::to_string(nFlags));
    }
    void OnContextMenu(CWnd* pWnd, CPoint pos) {
        m_log.push_back(std::string("contextmenu ") + (pWnd == this ? "self " : "other ") + PointText(pos));
    }
    LRESULT OnNcHitTest(CPoint pt) {
        m_log.push_back("nchittest " + PointText(pt));
        return CWnd::OnNcHitTest(pt);
    }
    void OnTimer(UINT_PTR nIDEvent) { m_timers.push_back(nIDEvent); }
    LRESULT OnSum(WPARAM wParam, LPARAM lParam) {
        m_log.push_back("sum");
        return static_cast<LRESULT>(wParam) + lParam;
    }
    LRESULT OnNested(WPARAM wParam, LPARAM) {
        // A message sent from a handler is current while it runs; then this one is again.
        SendMessage(WM_TEST_SUM, 1, 1);
        const MSG* pMsg = GetCurrentMessage();
        m_log.push_back(pMsg->message == WM_TEST_NESTED && pMsg->wParam == wParam ? "nested ok" : "nested lost");
        return 0;
    }
    LRESULT OnRegistered(WPARAM, LPARAM) {
        m_log.push_back("registered");
        return 42;
    }
    void OnZoom(UINT nID) { m_log.push_back("zoom " + std::to_string(nID)); }
    void OnLocked() { m_log.push_back("locked ran"); }
    void OnUpdateLocked(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMsgWnd, CWnd)
    ON_WM_NCCREATE()
    ON_WM_CREATE()
    ON_WM_NCDESTROY()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_CONTEXTMENU()
    ON_WM_NCHITTEST()
    ON_WM_TIMER()
    ON_MESSAGE(WM_TEST_SUM, OnSum)
    ON_MESSAGE(WM_TEST_NESTED, OnNested)
    ON_REGISTERED_MESSAGE(g_msgRegistered, OnRegistered)
    ON_COMMAND_RANGE(ID_ZOOM_FIRST, ID_ZOOM_LAST, OnZoom)
    ON_COMMAND(ID_LOCKED, OnLocked)
    ON_UPDATE_COMMAND_UI(ID_LOCKED, OnUpdateLocked)
END_MESSAGE_MAP()

// Creates the window and forgets what creation logged.
struct CreatedMsgWnd {
    CMsgWnd wnd;
    CreatedMsgWnd() {
        EXPECT_TRUE(classlib_test::CreateTopLevel(wnd, "messages"));
        wnd.m_log.clear();
    }
};

TEST(WindowMessages, MappedMessagesReachTheirHandlersWithDecodedArguments) {
    CreatedMsgWnd created;
    CMsgWnd& wnd = created.wnd;
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* log;   // null: the message runs no handler of the map
        LRESULT result;
    };
    const Case cases[] = {
        {WM_TEST_SUM, 3, 4, "sum", 7},
        {g_msgRegistered, 0, 0, "registered", 42},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6), "lbuttondown 1 5,6", 0},
        {WM_MOUSEMOVE, 0, MAKELPARAM(-3, -4), "mousemove 0 -3,-4", 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), MAKELPARAM(100, 200), "wheel 4 -120 100,200", 1},
        {WM_KEYDOWN, VK_F5, 0x003F0001, "keydown 116 1 63", 0},
        {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(40000, 200), "size 2 40000 200", 0},
        {WM_MOVE, 0, MAKELPARAM(-20, 30), "move -20,30", 0},
        {WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1), "contextmenu other -1,-1", 0},
        {WM_COMMAND, MAKEWPARAM(ID_ZOOM_FIRST + 1, 0), 0, "zoom 301", 1},
        {WM_COMMAND, MAKEWPARAM(ID_ZOOM_LAST, 1), 0, "zoom 309", 1},     // from an accelerator
        {WM_COMMAND, MAKEWPARAM(ID_LOCKED, 0), 0, nullptr, 1},           // disabled: not carried out
        {WM_COMMAND, MAKEWPARAM(ID_ZOOM_LAST + 1, 0), 0, nullptr, 0},
        {WM_NULL, 0, 0, nullptr, 0},
    };
    for (const Case& c : cases) {
        wnd.m_log.clear();
        EXPECT_EQ(wnd.SendMessage(c.message, c.wParam, c.lParam), c.result) << c.message;
        if (c.log) EXPECT_EQ(wnd.m_log, std::vector<std::string>{c.log}) << c.message;
        else EXPECT_TRUE(wnd.m_log.empty()) << c.message << ": " << (wnd.m_log.empty() ? "" : wnd.m_log[0]);
    }
}

TEST(WindowMessages, NestedMessagesRestoreTheCurrentMessage) {
    CreatedMsgWnd created;
    created.wnd.SendMessage(WM_TEST_NESTED, 9, 0);
    EXPECT_EQ(created.wnd.m_log, (std::vector<std::string>{"sum", "nested ok"}));
}

// A derived window: its entries come first, the base's still work.
class CMsgWndDerived : public CMsgWnd {
protected:
    void OnLButtonDown(UINT, CPoint) { m_log.push_back("derived lbuttondown"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMsgWndDerived, CMsgWnd)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TEST(WindowMessages, DerivedMapsComeBeforeTheirBase) {
    CMsgWndDerived wnd;
    ASSERT_TRUE(classlib_test::CreateTopLevel(wnd));
    wnd.m_log.clear();
    wnd.SendMessage(WM_LBUTTONDOWN, 0, 0);
    wnd.SendMessage(WM_TEST_SUM, 1, 2);
    EXPECT_EQ(wnd.m_log, (std::vector<std::string>{"derived lbuttondown", "sum"}));
}

TEST(WindowMessages, CreationAttachesBeforeTheFirstMessage) {
    CMsgWnd wnd;
    int nParam = 0;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "created", WS_OVERLAPPEDWINDOW, classlib_test::TestRect(),
                             nullptr, 0, &nParam));
    ASSERT_GE(wnd.m_log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(wnd.m_log.begin(), wnd.m_log.begin() + 3),
              (std::vector<std::string>{"presubclass", "nccreate", "create"}));
    EXPECT_EQ(wnd.m_pCreateParams, &nParam);
    EXPECT_TRUE(wnd.GetStyle() & WS_VSCROLL) << "PreCreateWindow changes the style";
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
}

TEST(WindowMessages, FailedCreationCleansUp) {
    CMsgWnd wnd;
    wnd.m_nCreateResult = -1;
    EXPECT_FALSE(classlib_test::CreateTopLevel(wnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.m_nPostNcDestroy, 1);
    EXPECT_EQ(wnd.m_log.back(), "ncdestroy");

    CMsgWnd noClass;
    EXPECT_FALSE(noClass.CreateEx(0, "KelvaneNoSuchClass", "x", WS_POPUP, classlib_test::TestRect(), nullptr, 0));
    EXPECT_EQ(noClass.m_hWnd, nullptr);
    EXPECT_EQ(noClass.m_nPostNcDestroy, 1);
}

TEST(WindowMessages, DestructionDetachesAfterTheLastMessage) {
    CMsgWnd wnd;
    ASSERT_TRUE(classlib_test::CreateTopLevel(wnd));
    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(wnd.m_log.back(), "ncdestroy");
    EXPECT_EQ(wnd.m_nPostNcDestroy, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_FALSE(wnd.DestroyWindow());

    HWND hWndScoped = nullptr;
    {
        CMsgWnd scoped;
        ASSERT_TRUE(classlib_test::CreateTopLevel(scoped));
        hWndScoped = scoped.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWndScoped)) << "the object destroys the window it still owns";
}

TEST(WindowMessages, GeometryAndRelatives) {
    CreatedMsgWnd created;
    CMsgWnd& parent = created.wnd;
    CStatic child;
    ASSERT_TRUE(child.Create("child", WS_VISIBLE, CRect(5, 6, 45, 26), &parent, 77));
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(child.GetOwner(), &parent);
    EXPECT_EQ(child.GetTopLevelParent(), &parent);
    EXPECT_EQ(parent.GetDlgItem(77), &child);
    EXPECT_EQ(child.GetDlgCtrlID(), 77);
    EXPECT_TRUE(parent.IsChild(&child));

    CRect rcChild;
    child.GetWindowRect(&rcChild);
    parent.ScreenToClient(&rcChild);
    EXPECT_EQ(rcChild, CRect(5, 6, 45, 26));
    child.MoveWindow(CRect(1, 2, 11, 12));
    child.GetClientRect(&rcChild);
    EXPECT_EQ(rcChild.Size(), CSize(10, 10));
    CPoint pt(0, 0);
    child.MapWindowPoints(&parent, &pt, 1);
    EXPECT_EQ(pt, CPoint(1, 2));

    CMsgWnd owner;
    ASSERT_TRUE(classlib_test::CreateTopLevel(owner));
    child.SetOwner(&owner);
    EXPECT_EQ(child.GetOwner(), &owner);
}

}  // namespace
