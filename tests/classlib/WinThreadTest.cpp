// The message loop of CWinThread/CWinApp: idle work, pre-translation along the window tree, the
// end of the loop, and what a handler's exception becomes.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Ends a loop that would otherwise never end (a broken test), with exit code 99.
class QuitGuard {
public:
    QuitGuard() : m_nTimer(::SetTimer(nullptr, 0, 5000, &QuitGuard::OnTimer)) {}
    ~QuitGuard() { ::KillTimer(nullptr, m_nTimer); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(99); }
    UINT_PTR m_nTimer;
};

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("KelvaneTest") {}
    std::vector<LONG> m_idleCalls;
    std::vector<size_t> m_temporariesAfterIdle;
    std::vector<std::string> m_boxes;
    int m_nPhases = 0;

    BOOL OnIdle(LONG lCount) override {
        m_idleCalls.push_back(lCount);
        BOOL bMore = CWinApp::OnIdle(lCount);
        if (!bMore) {
            m_temporariesAfterIdle.push_back(AfxGetThreadState()->m_temporaries.GetCount());
            // The first idle phase posts work, the second ends the loop.
            if (++m_nPhases == 1) m_pMainWnd->PostMessage(WM_APP);
            else ::PostQuitMessage(7);
        }
        return bMore;
    }
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) override {
        m_boxes.push_back(std::string(lpszPrompt) + " / " + std::to_string(nType));
        return IDCANCEL;
    }
};

// Counts the idle update requests it gets and the work posted to it.
class CIdleWnd : public CWnd {
public:
    int m_nIdleUpdates = 0;
    int m_nWork = 0;

protected:
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM) {
        ++m_nIdleUpdates;
        return 0;
    }
    LRESULT OnWork(WPARAM, LPARAM) {
        ++m_nWork;
        // A temporary made while handling a message lives until the next idle time.
        CWnd::FromHandle(::GetDesktopWindow());
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleWnd, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_APP, OnWork)
END_MESSAGE_MAP()

TEST(MessageLoop, RunIdlesWhenTheQueueRunsEmptyAndEndsOnQuit) {
    classlib_test::PumpPending();
    CTestApp app;
    CIdleWnd main;
    CIdleWnd child;
    ASSERT_TRUE(main.Create(nullptr, "main", WS_VISIBLE, CRect(0, 0, 100, 100), classlib_test::VisibleStage(), 1));
    ASSERT_TRUE(child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 50, 50), &main, 2));
    app.m_pMainWnd = &main;
    QuitGuard guard;

    EXPECT_EQ(app.Run(), 7);
    EXPECT_EQ(app.m_idleCalls, (std::vector<LONG>{0, 1, 0, 1}));
    EXPECT_EQ(main.m_nWork, 1);
    EXPECT_EQ(main.m_nIdleUpdates, 2);
    EXPECT_EQ(child.m_nIdleUpdates, 2) << "descendants are asked too";
    EXPECT_EQ(app.m_temporariesAfterIdle, (std::vector<size_t>{0, 0}));
    EXPECT_EQ(CWinThread::GetCurrentMessage()->message, static_cast<UINT>(WM_QUIT));
    app.m_pMainWnd = nullptr;
}

TEST(MessageLoop, DestroyingTheMainWindowEndsTheLoop) {
    classlib_test::PumpPending();
    CTestApp app;
    CWnd main;
    ASSERT_TRUE(classlib_test::CreateTopLevel(main));
    app.m_pMainWnd = &main;
    EXPECT_EQ(AfxGetMainWnd(), &main);
    QuitGuard guard;
    main.DestroyWindow();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.Run(), 0);
}

// Eats the keys it is told to and records what it saw.
class CKeyWnd : public CWnd {
public:
    explicit CKeyWnd(std::string name, std::vector<std::string>* pLog, std::vector<WPARAM> eaten)
        : m_name(std::move(name)), m_pLog(pLog), m_eaten(std::move(eaten)) {}
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message != WM_KEYDOWN) return FALSE;
        m_pLog->push_back(m_name + ":pre " + std::to_string(pMsg->wParam));
        for (WPARAM key : m_eaten)
            if (pMsg->wParam == key) return TRUE;
        return FALSE;
    }

protected:
    void OnKeyDown(UINT nChar, UINT, UINT) { m_pLog->push_back(m_name + ":key " + std::to_string(nChar)); }
    DECLARE_MESSAGE_MAP()

private:
    std::string m_name;
    std::vector<std::string>* m_pLog;
    std::vector<WPARAM> m_eaten;
};

BEGIN_MESSAGE_MAP(CKeyWnd, CWnd)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

TEST(MessageLoop, PreTranslationWalksFromTheTargetToTheMainWindow) {
    classlib_test::PumpPending();
    std::vector<std::string> log;
    CTestApp app;
    CKeyWnd main("main", &log, {VK_F6, VK_F8});
    CKeyWnd child("child", &log, {VK_F5});
    CKeyWnd other("other", &log, {});
    ASSERT_TRUE(classlib_test::CreateTopLevel(main));
    ASSERT_TRUE(child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 50, 50), &main, 3));
    ASSERT_TRUE(classlib_test::CreateTopLevel(other));
    app.m_pMainWnd = &main;

    struct Case {
        CWnd* pTarget;
        WPARAM key;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {&child, VK_F5, {"child:pre 116"}},                                   // eaten by the target
        {&child, VK_F6, {"child:pre 117", "main:pre 117"}},                   // eaten by its parent
        {&child, VK_F7, {"child:pre 118", "main:pre 118", "child:key 118"}},  // dispatched
        {&other, VK_F8, {"other:pre 119", "main:pre 119"}},                   // another top-level window
        {&other, VK_F9, {"other:pre 120", "main:pre 120", "other:key 120"}},
    };
    for (const Case& c : cases) {
        log.clear();
        c.pTarget->PostMessage(WM_KEYDOWN, c.key, 1);
        EXPECT_TRUE(app.PumpMessage());
        EXPECT_EQ(log, c.log) << c.key;
        EXPECT_EQ(CWinThread::GetCurrentMessage()->wParam, c.key);
    }
    app.m_pMainWnd = nullptr;
}

// Starts as a program does: a main window, then the loop until it ends.
class CStartingApp : public CWinApp {
public:
    BOOL m_bStart = TRUE;
    int m_nInitApplication = 0;
    CWnd m_main;
    BOOL InitApplication() override {
        ++m_nInitApplication;
        return CWinApp::InitApplication();
    }
    BOOL InitInstance() override {
        if (!classlib_test::CreateTopLevel(m_main)) return FALSE;
        m_pMainWnd = &m_main;
        if (!m_bStart) return FALSE;
        ::PostQuitMessage(3);
        return TRUE;
    }
};

TEST(Application, StartUpRunsTheLoopOrCleansUp) {
    classlib_test::PumpPending();
    HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
    char szCommandLine[] = "/open file.zbq";
    {
        CStartingApp app;
        QuitGuard guard;
        EXPECT_EQ(AfxWinMain(hInstance, nullptr, szCommandLine, SW_SHOWMINIMIZED), 3);
        EXPECT_EQ(app.m_nInitApplication, 1);
        EXPECT_EQ(app.m_hInstance, hInstance);
        EXPECT_STREQ(app.m_lpCmdLine, "/open file.zbq");
        EXPECT_EQ(app.m_nCmdShow, SW_SHOWMINIMIZED);
        EXPECT_TRUE(::IsWindow(app.m_main.m_hWnd));
    }
    {
        CStartingApp app;
        app.m_bStart = FALSE;
        AfxWinMain(hInstance, nullptr, szCommandLine, SW_SHOW);
        EXPECT_EQ(app.m_main.m_hWnd, nullptr) << "a failed start destroys the main window";
        EXPECT_EQ(app.m_pMainWnd, nullptr);
    }
    classlib_test::PumpPending();   // the quit message of the destroyed main window
    EXPECT_EQ(AfxWinMain(hInstance, nullptr, szCommandLine, SW_SHOW), -1) << "no application";
}

TEST(Application, MessageBoxesGoThroughTheApplication) {
    CTestApp app;
    EXPECT_EQ(AfxMessageBox("Are you sure?", MB_OKCANCEL | MB_ICONWARNING), IDCANCEL);
    EXPECT_EQ(app.m_boxes, std::vector<std::string>{"Are you sure? / " + std::to_string(MB_OKCANCEL | MB_ICONWARNING)});
}

// Throws from its handlers what the test gives it.
class CThrowingWnd : public CWnd {
public:
    std::function<void()> m_throw;
    BOOL m_bThrowOnCreate = FALSE;

protected:
    int OnCreate(LPCREATESTRUCT lpcs) {
        if (m_bThrowOnCreate) m_throw();
        return CWnd::OnCreate(lpcs);
    }
    LRESULT OnFail(WPARAM, LPARAM) {
        m_throw();
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_APP, OnFail)
END_MESSAGE_MAP()

// No exception may unwind through the system's window code: the library's own and any other are
// reported to the user and fail only the message.
TEST(Application, HandlerExceptionsAreReportedAndStopThere) {
    struct Case {
        const char* name;
        std::function<void()> thrower;
        std::string message;
    };
    const Case cases[] = {
        {"library", [] { AfxThrowResourceException(); }, "A required resource was unavailable."},
        {"library with a file",
         [] { AfxThrowFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "missing.txt"); },
         "missing.txt"},
        {"standard", [] { throw std::runtime_error("internal detail"); }, "An unexpected error occurred."},
        {"out of memory", [] { throw std::bad_alloc(); }, "Out of memory."},
        {"not a class", [] { throw 42; }, "An unexpected error occurred."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestApp app;
        CThrowingWnd failing;
        failing.m_throw = c.thrower;
        failing.m_bThrowOnCreate = TRUE;
        EXPECT_FALSE(classlib_test::CreateTopLevel(failing)) << "an exception in WM_CREATE fails the creation";
        EXPECT_EQ(failing.m_hWnd, nullptr);

        CThrowingWnd wnd;
        wnd.m_throw = c.thrower;
        ASSERT_TRUE(classlib_test::CreateTopLevel(wnd));
        EXPECT_EQ(wnd.SendMessage(WM_APP), 0);
        EXPECT_TRUE(::IsWindow(wnd.m_hWnd)) << "the window goes on working";
        ASSERT_EQ(app.m_boxes.size(), 2u);
        for (const std::string& box : app.m_boxes) {
            EXPECT_NE(box.find(c.message), std::string::npos) << box;
            EXPECT_NE(box.find(" / " + std::to_string(MB_ICONEXCLAMATION)), std::string::npos) << box;
        }
    }
}

}  // namespace
