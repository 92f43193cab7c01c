// A floating pane's caption under the real mouse: input goes through the system's queue as the
// hardware gives it, so hit tests, the drag loop's capture and the telling of double clicks are
// the system's own. A double click docks the pane back where it was docked, however it came to
// float; one click or a drag leaves it floating.
#include "DockingInstalledHost.h"

#include "classlib/WindowTestSupport.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"

#include <functional>

namespace {

using classlib_test::MouseInput;

class CaptionMouseTest : public OutputPaneTest {
protected:
    CaptionMouseTest() {
        // Above every other window and large: input is queued to the thread of the window under
        // the pointer when it is sent, before the drag loop captures the mouse, so every point a
        // gesture passes lies over this thread's windows.
        site->SetWindowPos(&CWnd::wndTopMost, 60, 60, 1000, 800, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        site->RecalcLayout();
        classlib_test::PumpPending();
        ptAway = manager->GetClientNode()->GetScreenRect().CenterPoint();
    }

    CPoint DockedCaption() const {
        const CRect rc = pDockedHolder->GetScreenRect();
        return CPoint(rc.left + 30, rc.top + 8);
    }
    CWnd* Frame() const {
        CWnd* pSite = pOutput->GetDockingSite();
        return manager->IsFloatingSite(pSite) ? pSite : nullptr;
    }
    static CRect WindowRect(CWnd* pWnd) {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }
    // The first point down the frame's left part that the frame calls its caption.
    static CPoint CaptionOf(CWnd* pFrame) {
        const CRect rc = WindowRect(pFrame);
        for (int y = rc.top; y < rc.top + 40; y++) {
            if (pFrame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.left + 30, y)) == HTCAPTION)
                return CPoint(rc.left + 30, y + 2);
        }
        return CPoint(-1, -1);
    }
    static void Click(CPoint pt) {
        MouseInput(pt, MOUSEEVENTF_LEFTDOWN);
        MouseInput(pt, MOUSEEVENTF_LEFTUP);
    }
    static void DoubleClick(CPoint pt) {
        Click(pt);
        Click(pt);
    }
    // Pressed at ptFrom, moved in steps, released at ptTo.
    static void DragTo(CPoint ptFrom, CPoint ptTo) {
        MouseInput(ptFrom, MOUSEEVENTF_LEFTDOWN);
        for (int i = 1; i <= 4; i++) MouseInput(ptFrom + CSize((ptTo.x - ptFrom.x) * i / 4, (ptTo.y - ptFrom.y) * i / 4));
        MouseInput(ptTo, MOUSEEVENTF_LEFTUP);
    }

    CPoint ptAway;   // amid the client area, far from any edge: no docking target there
};

struct FloatCase {
    const char* pszHow;
    std::function<void(CPoint ptDocked, CPoint ptAway)> floatIt;
};

TEST_F(CaptionMouseTest, DoubleClickOnTheCaptionDocksThePaneBackHoweverItFloated) {
    const FloatCase cases[] = {
        {"double click on its docked caption", [](CPoint pt, CPoint) { DoubleClick(pt); }},
        {"its docked caption dragged away", [](CPoint pt, CPoint ptTo) { DragTo(pt, ptTo); }},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(pOutput->GetContainer(), pDockedHolder) << c.pszHow;
        c.floatIt(DockedCaption(), ptAway);
        ASSERT_TRUE(classlib_test::PumpInput()) << c.pszHow;
        CWnd* pFrame = Frame();
        ASSERT_NE(pFrame, nullptr) << c.pszHow;
        ASSERT_TRUE(pFrame->IsWindowVisible()) << c.pszHow;
        const CPoint ptCaption = CaptionOf(pFrame);
        ASSERT_NE(ptCaption, CPoint(-1, -1)) << c.pszHow;

        DoubleClick(ptCaption);
        ASSERT_TRUE(classlib_test::PumpInput()) << c.pszHow;
        EXPECT_EQ(Frame(), nullptr) << c.pszHow;
        EXPECT_EQ(pOutput->GetContainer(), pDockedHolder) << c.pszHow;
        EXPECT_EQ(manager->GetNodeSide(pOutput->GetContainer()), klvDockBottom) << c.pszHow;
        EXPECT_FALSE(pFrame->IsWindowVisible()) << c.pszHow;
        EXPECT_EQ(::GetCapture(), nullptr) << c.pszHow;
    }
}

TEST_F(CaptionMouseTest, OneClickLeavesTheFrameAndADragMovesIt) {
    DragTo(DockedCaption(), ptAway);
    ASSERT_TRUE(classlib_test::PumpInput());
    CWnd* pFrame = Frame();
    ASSERT_NE(pFrame, nullptr);
    const CRect rcFloated = WindowRect(pFrame);
    const CPoint ptCaption = CaptionOf(pFrame);
    ASSERT_NE(ptCaption, CPoint(-1, -1));

    // Each gesture presses 20 pixels right of the last one's press, so that no two presses make a
    // double click.
    const CPoint ptFirst = ptCaption, ptSecond = ptCaption + CSize(20, 0), ptThird = ptCaption + CSize(40, 0);
    const struct { const char* pszGesture; std::function<void()> act; CSize szMoved; } gestures[] = {
        {"one click", [&] { Click(ptFirst); }, CSize(0, 0)},
        {"a move within the drag threshold", [&] { DragTo(ptSecond, ptSecond + CSize(3, -3)); }, CSize(0, 0)},
        {"a drag by (-60, -40)", [&] { DragTo(ptThird, ptThird + CSize(-60, -40)); }, CSize(-60, -40)},
    };
    for (const auto& g : gestures) {
        g.act();
        ASSERT_TRUE(classlib_test::PumpInput()) << g.pszGesture;
        EXPECT_EQ(Frame(), pFrame) << g.pszGesture;
        EXPECT_TRUE(pFrame->IsWindowVisible()) << g.pszGesture;
        EXPECT_EQ(WindowRect(pFrame), rcFloated + g.szMoved) << g.pszGesture;
        EXPECT_EQ(::GetCapture(), nullptr) << g.pszGesture;
    }
}

}  // namespace
