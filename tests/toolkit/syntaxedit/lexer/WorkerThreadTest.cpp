// The worker thread's join: messages sent to the joining thread are handled while it waits, and a
// handler may join the same thread and start the next one (a parser told its schema twice).
#include "toolkit/syntaxedit/lexer/SyntaxEditWorkerThread.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

// A hidden window of this thread that runs the handler for WM_APP sent to it.
class CSentHandler {
public:
    explicit CSentHandler(std::function<void()> handler) : m_handler(std::move(handler)) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &CSentHandler::WndProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "KelvaneWorkerJoinTest";
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CSentHandler() { ::DestroyWindow(m_hWnd); }
    HWND m_hWnd;

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* pThis = reinterpret_cast<CSentHandler*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (message == WM_APP && pThis) {
            pThis->m_handler();
            return 0;
        }
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
    std::function<void()> m_handler;
};

}  // namespace

// While the first join waits, a message handler ends the thread, joins it and starts another. The
// first join has seen its thread end: it says so and leaves the new thread, and its handle, alone
// (it used to wait on the handle it had read before, by then closed or given to the new thread).
TEST(LexWorkerThread, AJoinWhoseThreadIsJoinedAndReplacedMeanwhileEndsAndKeepsTheNewThread) {
    CKLVSyntaxEditWorkerThread worker;
    CEvent endFirst(FALSE, TRUE), endSecond(FALSE, TRUE);
    ASSERT_TRUE(worker.Start([&] { return ::WaitForSingleObject(endFirst.m_hObject, INFINITE); }));
    BOOL bInnerJoined = FALSE, bRestarted = FALSE;
    CSentHandler handler([&] {
        endFirst.SetEvent();
        bInnerJoined = worker.Join(INFINITE);
        bRestarted = worker.Start([&] { return ::WaitForSingleObject(endSecond.m_hObject, INFINITE); });
    });
    std::thread sender([&] { ::SendMessageA(handler.m_hWnd, WM_APP, 0, 0); });

    // The bound only keeps a broken join from hanging the test.
    EXPECT_TRUE(worker.Join(30000)) << "the thread it waited for has ended";
    sender.join();
    EXPECT_TRUE(bInnerJoined);
    ASSERT_TRUE(bRestarted);
    EXPECT_TRUE(worker.IsStarted()) << "the new thread is still held";
    endSecond.SetEvent();
    EXPECT_TRUE(worker.Join(INFINITE));
    EXPECT_FALSE(worker.IsStarted());
}
