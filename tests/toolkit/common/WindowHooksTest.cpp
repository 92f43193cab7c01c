// Window subclassing chains, the keyboard hook's clients and the mouse hook's popup rules.
#include "ToolkitTestSupport.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/common/KeyboardHook.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/common/WindowSubclasser.h"

#include <functional>
#include <string>

namespace {

const UINT WM_TEST = WM_APP + 7;

// A sink that logs its name and answers what its function says.
class CTestSink : public CKLVHookSink {
public:
    CTestSink(std::string* pLog, char chName, std::function<int(WPARAM&, LRESULT&)> answer = nullptr)
        : m_pLog(pLog), m_chName(chName), m_answer(std::move(answer)) {}
    ~CTestSink() override { *m_pLog += '~'; }
    int OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM&, LRESULT& lResult) override {
        if (nMessage != WM_TEST && nMessage != WM_KEYDOWN && nMessage != WM_NCDESTROY) return hookContinue;
        *m_pLog += m_chName;
        m_nLastSent = AfxGetThreadState()->m_lastSentMsg.message;
        return m_answer ? m_answer(wParam, lResult) : hookContinue;
    }
    std::string* m_pLog;
    char m_chName;
    std::function<int(WPARAM&, LRESULT&)> m_answer;
    UINT m_nLastSent = 0;
};

// A window whose own procedure logs 'W' and the wParam it was given.
class CLoggingWnd : public CWnd {
public:
    std::string m_log;
    WPARAM m_wParamSeen = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TEST || message == WM_NCDESTROY) {
            m_log += message == WM_TEST ? 'W' : 'D';
            m_wParamSeen = wParam;
            if (message == WM_TEST) return 5;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class Subclasser : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_wnd.CreateEx(0, AfxRegisterWndClass(0), "hooked", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_pfnOwn = ::GetWindowLongPtrA(m_wnd.GetSafeHwnd(), GWLP_WNDPROC);
    }
    void TearDown() override {
        if (m_wnd.GetSafeHwnd()) m_wnd.DestroyWindow();
    }
    LRESULT Send(WPARAM wParam = 1) { return m_wnd.SendMessage(WM_TEST, wParam, 0); }

    CLoggingWnd m_wnd;
    LONG_PTR m_pfnOwn = 0;
    std::string m_log;
};

TEST_F(Subclasser, SinksAreAskedNewestFirstUntilOneAnswers) {
    CTestSink older(&m_log, 'a', [](WPARAM&, LRESULT& r) { r = 42; return CKLVHookSink::hookHandled; });
    CTestSink newer(&m_log, 'b');
    KLVWindowSubclasser()->HookWindow(m_wnd.GetSafeHwnd(), &older);
    KLVWindowSubclasser()->HookWindow(m_wnd.GetSafeHwnd(), &newer);
    KLVWindowSubclasser()->HookWindow(m_wnd.GetSafeHwnd(), &newer);   // once is enough
    EXPECT_EQ(Send(), 42);
    EXPECT_EQ(m_log, "ba");
    EXPECT_EQ(m_wnd.m_log, "");
    EXPECT_EQ(newer.m_nLastSent, WM_TEST);

    // Stopping lets the window's own procedure run with what the sinks changed.
    newer.m_answer = [](WPARAM& w, LRESULT&) { w = 7; return CKLVHookSink::hookStop; };
    m_log.clear();
    EXPECT_EQ(Send(), 5);
    EXPECT_EQ(m_log, "b");
    EXPECT_EQ(m_wnd.m_wParamSeen, 7u);

    KLVWindowSubclasser()->UnhookWindow(m_wnd.GetSafeHwnd(), &newer);
    KLVWindowSubclasser()->RemoveSink(&older);
    EXPECT_FALSE(KLVWindowSubclasser()->IsHooked(m_wnd.GetSafeHwnd()));
    EXPECT_EQ(::GetWindowLongPtrA(m_wnd.GetSafeHwnd(), GWLP_WNDPROC), m_pfnOwn);
}

TEST_F(Subclasser, SinksMayLeaveWhileTheyAreAsked) {
    HWND hWnd = m_wnd.GetSafeHwnd();
    CTestSink oldest(&m_log, 'a');
    CTestSink middle(&m_log, 'b', [&](WPARAM&, LRESULT&) {
        KLVWindowSubclasser()->UnhookWindow(hWnd, &middle);
        return CKLVHookSink::hookContinue;
    });
    CTestSink newest(&m_log, 'c');
    for (CTestSink* pSink : {&oldest, &middle, &newest}) KLVWindowSubclasser()->HookWindow(hWnd, pSink);
    EXPECT_EQ(Send(), 5);
    EXPECT_EQ(m_log, "cba");
    // A sink that unhooks everything ends the walk; the window's own procedure still runs.
    newest.m_answer = [&](WPARAM&, LRESULT&) {
        KLVWindowSubclasser()->RemoveSink(&oldest);
        KLVWindowSubclasser()->RemoveSink(&newest);
        return CKLVHookSink::hookContinue;
    };
    m_log.clear();
    EXPECT_EQ(Send(), 5);
    EXPECT_EQ(m_log, "c");
    EXPECT_FALSE(KLVWindowSubclasser()->IsHooked(hWnd));
}

TEST_F(Subclasser, DestructionRestoresTheProcedureBeforeTheLastMessage) {
    HWND hWnd = m_wnd.GetSafeHwnd();
    auto* pOwned = new CTestSink(&m_log, 'o');
    pOwned->m_bAutoDestroy = TRUE;
    CTestSink kept(&m_log, 'k');
    KLVWindowSubclasser()->HookWindow(hWnd, &kept);
    KLVWindowSubclasser()->HookWindow(hWnd, pOwned);
    m_wnd.DestroyWindow();
    EXPECT_EQ(m_log, "~");          // the owned sink went, no sink saw the message
    EXPECT_EQ(m_wnd.m_log, "D");    // the window's own procedure did
    EXPECT_FALSE(KLVWindowSubclasser()->IsHooked(hWnd));
    m_log.clear();
}

TEST(KeyboardHook, ClientsEatKeysUnlessOneLetsThemThrough) {
    std::string log;
    CTestSink older(&log, 'a'), newer(&log, 'b');
    CKLVKeyboardHook* pHook = KLVKeyboardHook();
    EXPECT_TRUE(pHook->ProcessKeyboardHooks(WM_KEYDOWN, 'X', 0));   // no client
    pHook->InstallKeyboardHook(&older);
    pHook->InstallKeyboardHook(&newer);
    pHook->InstallKeyboardHook(&newer);
    EXPECT_TRUE(pHook->IsInstalled());
    EXPECT_TRUE(pHook->OnHookKey('X', 0));
    EXPECT_EQ(log, "ba");
    EXPECT_FALSE(pHook->OnHookKey('X', LPARAM(1) << 31));   // key-ups pass
    newer.m_answer = [](WPARAM&, LRESULT&) { return CKLVHookSink::hookStop; };
    EXPECT_FALSE(pHook->OnHookKey('X', 0));
    newer.m_answer = [](WPARAM&, LRESULT&) { return CKLVHookSink::hookHandled; };
    EXPECT_TRUE(pHook->OnHookKey('X', 0));
    EXPECT_EQ(log, "babb");

    // Real keys reach the focused window only when a client lets them through.
    CWnd* pStage = classlib_test::VisibleStage();
    CLoggingWnd target;
    ASSERT_TRUE(target.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, CRect(0, 200, 100, 220), pStage, 9));
    target.SetFocus();
    auto pressX = [] {
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wVk = inputs[1].ki.wVk = 'X';
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, inputs, sizeof(INPUT));
    };
    pressX();
    classlib_test::PumpUntil([] { return false; }, 5);
    EXPECT_EQ(target.GetWindowTextLength(), 0);
    newer.m_answer = [](WPARAM&, LRESULT&) { return CKLVHookSink::hookStop; };
    pressX();
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return target.GetWindowTextLength() == 1; }));

    pHook->RemoveKeyboardHook(&newer);
    pHook->RemoveKeyboardHook(&older);
    EXPECT_FALSE(pHook->IsInstalled());
    target.DestroyWindow();
}

// A popup bar of the tests: a hidden window and a fixed hit-test answer.
class CTestPopupBar : public CKLVHookedPopupBar {
public:
    CTestPopupBar() {
        m_hWnd = ::CreateWindowExA(0, AfxRegisterWndClass(0), "bar", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   AfxGetInstanceHandle(), nullptr);
    }
    ~CTestPopupBar() override { ::DestroyWindow(m_hWnd); }
    HWND GetPopupHwnd() const override { return m_hWnd; }
    int HitTestPopup(POINT) override { return m_nHit; }
    void EndPopupTracking() override {
        ++m_nEnded;
        KLVMouseHook()->RemoveTrackedPopup(this);
    }
    void ClearSelectedControl() override { ++m_nCleared; }
    void OnPopupMouseMove(UINT, CPoint) override { ++m_nMoves; }
    HWND m_hWnd;
    int m_nHit = hitOutside, m_nEnded = 0, m_nCleared = 0, m_nMoves = 0;
};

TEST(MouseHook, PopupsCloseOnClicksOutsideThemAndTheirClients) {
    CKLVMouseHook* pHook = KLVMouseHook();
    CTestPopupBar first, second, hot;
    pHook->m_pHotBar = &hot;
    pHook->AddTrackedPopup(&first);
    pHook->AddTrackedPopup(&second);
    pHook->AddTrackedPopup(&first);
    EXPECT_EQ(pHook->GetTrackedPopups().size(), 2u);
    EXPECT_EQ(hot.m_nCleared, 1);
    EXPECT_TRUE(pHook->IsTrackingOtherPopup(&hot));
    EXPECT_FALSE(pHook->IsTrackingOtherPopup(&second));

    // A click on a visible client window counts as inside the popups.
    CWnd client;
    ASSERT_TRUE(client.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(300, 250, 340, 290),
                                classlib_test::VisibleStage(), 3));
    pHook->AddMouseClient(client.GetSafeHwnd());
    pHook->OnHookMouse(WM_LBUTTONDOWN, POINT{310, 260});
    EXPECT_EQ(pHook->GetTrackedPopups().size(), 2u);
    pHook->RemoveMouseClient(client.GetSafeHwnd());
    const POINT outside = {3000, 3000};
    EXPECT_FALSE(pHook->OnHookMouse(WM_MOUSEMOVE, outside));
    EXPECT_TRUE(pHook->OnHookMouse(WM_MOUSEMOVE, outside));   // the same point again
    EXPECT_EQ(first.m_nMoves, 1);
    // The button-up of the click that opened a popup is eaten once.
    pHook->m_bIgnoreButtonUp = TRUE;
    EXPECT_TRUE(pHook->OnHookMouse(WM_LBUTTONUP, outside));
    // While a combo box is active a button-up outside closes nothing; a button-down does.
    pHook->m_nSuspend = 1;
    EXPECT_FALSE(pHook->OnHookMouse(WM_LBUTTONUP, outside));
    EXPECT_EQ(pHook->GetTrackedPopups().size(), 2u);
    pHook->m_nSuspend = 0;
    second.m_nHit = CKLVHookedPopupBar::hitInside;
    pHook->OnHookMouse(WM_LBUTTONDOWN, outside);   // a hit: stays open
    EXPECT_EQ(pHook->GetTrackedPopups().size(), 2u);
    second.m_nHit = CKLVHookedPopupBar::hitOutside;
    pHook->OnHookMouse(WM_RBUTTONDOWN, outside);
    EXPECT_TRUE(pHook->GetTrackedPopups().empty());
    EXPECT_EQ(first.m_nEnded, 1);
    pHook->m_pHotBar = nullptr;
}

TEST(MouseHook, AClickIntoALockedPopupClosesTheUnlockedOnes) {
    CKLVMouseHook* pHook = KLVMouseHook();
    CTestPopupBar base, child;
    pHook->AddTrackedPopup(&base);
    pHook->LockTrackedPopups(TRUE);
    pHook->AddTrackedPopup(&child);
    EXPECT_TRUE(pHook->IsTrackingOtherPopup(&base));
    base.m_nHit = CKLVHookedPopupBar::hitInside;
    pHook->OnHookMouse(WM_LBUTTONDOWN, POINT{5, 5});
    EXPECT_EQ(child.m_nEnded, 1);
    ASSERT_EQ(pHook->GetTrackedPopups().size(), 1u);
    // Alt, pressed once, closes everything and is eaten; its repeats pass.
    std::string log;
    CTestSink client(&log, 'k');
    KLVKeyboardHook()->InstallKeyboardHook(&client);
    const LPARAM alt = LPARAM(1) << 29;
    EXPECT_FALSE(KLVKeyboardHook()->OnHookKey(VK_MENU, alt | (LPARAM(1) << 30)));
    EXPECT_TRUE(KLVKeyboardHook()->OnHookKey(VK_MENU, alt));
    EXPECT_TRUE(pHook->GetTrackedPopups().empty());
    EXPECT_EQ(log, "");
    KLVKeyboardHook()->RemoveKeyboardHook(&client);
}

TEST(MouseHook, MouseLeaveIsSentAtOnceToTheOldWindowAndPostedToTheNewOne) {
    CWnd* pStage = classlib_test::VisibleStage();
    toolkit_test::CMessageCounter first{WM_MOUSELEAVE}, second{WM_MOUSELEAVE};
    ASSERT_TRUE(first.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 250, 40, 290), pStage, 1));
    ASSERT_TRUE(second.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(50, 250, 90, 290), pStage, 2));
    CKLVMouseHook* pHook = KLVMouseHook();
    ::SetCursorPos(70, 270);
    pHook->TrackMouseLeave(first.GetSafeHwnd());
    pHook->TrackMouseLeave(second.GetSafeHwnd());
    EXPECT_EQ(first.m_nCount, 1);
    EXPECT_EQ(second.m_nCount, 0);
    ::SetCursorPos(300, 100);
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return second.m_nCount == 1; }));
    EXPECT_EQ(pHook->m_hWndMouseLeave, nullptr);
    first.DestroyWindow();
    second.DestroyWindow();
}

}  // namespace
