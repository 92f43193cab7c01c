// Customisation drag and drop driven by posted messages: the bar under the pointer (the last
// registered where bars overlap) hears enter, over, leave and drop; Ctrl switches between move and
// copy at once; a copy-only drag shows the copy cursor; Escape, the right button, a lost capture
// and a quit request cancel, the quit surviving the loop.
#include "MenuFrameTestSupport.h"
#include "toolkit/commandbars/manager/CustomizeDrop.h"
#include "toolkit/commandbars/ToolBar.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

// A hidden bar at a screen rectangle that records what the drag tells it.
class CTargetBar : public CKLVCommandBar {
public:
    CTargetBar(CKLVCommandBars* pCommandBars, const CRect& rcScreen, BOOL bAccept = TRUE) : m_bAccept(bAccept) {
        m_pCommandBars = pCommandBars;
        m_pLink = pCommandBars;
        CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "target", WS_POPUP, rcScreen, nullptr, 0);
    }
    ~CTargetBar() override {
        if (GetSafeHwnd()) DestroyWindow();
    }
    BOOL IsVisible() const override { return TRUE; }
    DWORD OnCustomizeDragEnter(CKLVControl*, CPoint) override {
        m_events += "enter ";
        return m_bAccept ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
    }
    DWORD OnCustomizeDragOver(CKLVControl*, CPoint) override {
        m_events += "over ";
        return DROPEFFECT_MOVE;
    }
    void OnCustomizeDragLeave() override { m_events += "leave "; }
    void OnCustomizeDrop(CKLVControl*, DWORD&, CPoint point) override {
        m_events += "drop ";
        m_ptDrop = point;
    }

    BOOL m_bAccept;
    std::string m_events;
    CPoint m_ptDrop;
};

// Receives the probes posted between the drag's messages and runs them inside the loop.
class CProbe : public CWnd {
public:
    CProbe() { CreateEx(0, AfxRegisterWndClass(0), "probe", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0); }
    ~CProbe() override { DestroyWindow(); }
    void Post(std::function<void()> action) {
        m_actions.push_back(std::move(action));
        PostMessage(WM_APP, m_actions.size() - 1);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            m_actions.at(wParam)();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<std::function<void()>> m_actions;
};

class CustomizeDrop : public ::testing::Test {
protected:
    void SetUp() override {
        m_pDrop = m_frame.m_pCommandBars->GetCustomizeDrop();
        m_pControl = m_source.GetControls()->Add(CKLVControl::typeButton, 7);
    }
    // Posts a mouse message at the screen point to the window that holds the drag's capture.
    void PostMouse(UINT message, WPARAM wParam, CPoint ptScreen) {
        m_frame.m_pFrame->ScreenToClient(&ptScreen);
        m_frame.m_pFrame->PostMessage(message, wParam, MAKELPARAM(ptScreen.x, ptScreen.y));
    }
    void PostKey(UINT message, UINT nKey) { m_frame.m_pFrame->PostMessage(message, nKey, 1); }
    // The cursor shown now, as a name (the three are the toolkit's own, told apart).
    std::string Cursor() const {
        const HCURSOR hCursor = ::GetCursor();
        if (hCursor == m_pDrop->GetCursor(CKLVCustomizeDrop::cursorMove)) return "move";
        if (hCursor == m_pDrop->GetCursor(CKLVCustomizeDrop::cursorCopy)) return "copy";
        if (hCursor == m_pDrop->GetCursor(CKLVCustomizeDrop::cursorNoDrop)) return "none";
        return hCursor == ::LoadCursorA(nullptr, IDC_ARROW) ? "arrow" : "other";
    }
    void ProbeCursor() {
        m_probe.Post([this] { m_cursors += Cursor() + " "; });
    }

    CMenuFrameFixture m_frame;
    CTargetBar m_source{m_frame.m_pCommandBars, CRect(700, 0, 760, 20)};
    CKLVCustomizeDrop* m_pDrop = nullptr;
    CKLVControl* m_pControl = nullptr;
    CProbe m_probe;
    std::string m_cursors;
};

TEST_F(CustomizeDrop, CtrlAndTheSourceDecideCursorAndEffect) {
    enum Action { moveWithButton, moveWithButtonAndCtrl, ctrlDown, ctrlUp, probe, leftUp, moveWithoutButton };
    struct Case {
        const char* pszName;
        BOOL bCopyOnly;
        std::vector<Action> actions;
        const char* pszCursors;
        DWORD dwEffect;
        const char* pszEvents = "enter drop ";
    };
    const Case cases[] = {
        {"a move", FALSE, {moveWithButton, probe, leftUp}, "move ", DROPEFFECT_MOVE},
        {"Ctrl copies at once, its release moves again", FALSE,
         {moveWithButton, probe, ctrlDown, probe, ctrlUp, probe, leftUp}, "move copy move ", DROPEFFECT_MOVE},
        {"Ctrl held at the drop copies", FALSE, {moveWithButton, ctrlDown, probe, leftUp}, "copy ", DROPEFFECT_COPY},
        {"Ctrl in the mouse flags copies", FALSE, {moveWithButtonAndCtrl, probe, leftUp}, "copy ", DROPEFFECT_COPY},
        {"the button released during a move drops", FALSE, {moveWithButton, moveWithoutButton}, "", DROPEFFECT_MOVE,
         "enter over drop "},
        {"from the command list: the copy cursor, yet a move", TRUE, {moveWithButton, probe, leftUp}, "copy ",
         DROPEFFECT_MOVE},
        {"from the command list with Ctrl: a copy", TRUE, {moveWithButton, ctrlDown, probe, leftUp}, "copy ",
         DROPEFFECT_COPY},
    };
    CTargetBar target(m_frame.m_pCommandBars, CRect(100, 300, 300, 330));
    const CPoint ptOver(150, 310);
    for (const Case& c : cases) {
        target.m_events.clear();
        m_cursors.clear();
        for (Action action : c.actions) {
            switch (action) {
            case moveWithButton: PostMouse(WM_MOUSEMOVE, MK_LBUTTON, ptOver); break;
            case moveWithButtonAndCtrl: PostMouse(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, ptOver); break;
            case moveWithoutButton: PostMouse(WM_MOUSEMOVE, 0, ptOver); break;
            case ctrlDown: PostKey(WM_KEYDOWN, VK_CONTROL); break;
            case ctrlUp: PostKey(WM_KEYUP, VK_CONTROL); break;
            case probe: ProbeCursor(); break;
            case leftUp: PostMouse(WM_LBUTTONUP, 0, ptOver); break;
            }
        }
        EXPECT_EQ(m_frame.m_pCommandBars->DoCustomizeDragDrop(m_pControl, c.bCopyOnly), c.dwEffect) << c.pszName;
        EXPECT_EQ(m_cursors, c.pszCursors) << c.pszName;
        EXPECT_EQ(target.m_events, c.pszEvents) << c.pszName;
        EXPECT_EQ(target.m_ptDrop, CPoint(50, 10)) << c.pszName;
        EXPECT_EQ(::GetCapture(), nullptr) << c.pszName;
        EXPECT_EQ(m_pDrop->GetTarget(), nullptr) << c.pszName;
    }
}

TEST_F(CustomizeDrop, CancelledDragsDropNothingAndTheTargetSeesLeave) {
    struct Case {
        const char* pszName;
        std::function<void()> cancel;
        BOOL bQuitLeft;
    };
    const Case cases[] = {
        {"Escape", [this] { PostKey(WM_KEYDOWN, VK_ESCAPE); }, FALSE},
        {"the right button", [this] { PostMouse(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, CPoint(150, 310)); },
         FALSE},
        {"a lost capture", [this] { m_probe.Post([] { ::ReleaseCapture(); }); }, FALSE},
        // Asked for inside the loop; no release follows it, the quit would only come after one.
        {"a quit request", [this] { m_probe.Post([] { ::PostQuitMessage(3); }); }, TRUE},
    };
    CTargetBar target(m_frame.m_pCommandBars, CRect(100, 300, 300, 330));
    for (const Case& c : cases) {
        target.m_events.clear();
        PostMouse(WM_MOUSEMOVE, MK_LBUTTON, CPoint(150, 310));
        c.cancel();
        if (!c.bQuitLeft) PostMouse(WM_LBUTTONUP, 0, CPoint(150, 310));   // never reached
        EXPECT_EQ(m_frame.m_pCommandBars->DoCustomizeDragDrop(m_pControl, FALSE), DROPEFFECT_NONE) << c.pszName;
        EXPECT_EQ(target.m_events, "enter leave ") << c.pszName;
        EXPECT_EQ(::GetCapture(), nullptr) << c.pszName;
        MSG msg;
        BOOL bQuit = FALSE;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) bQuit |= msg.message == WM_QUIT && msg.wParam == 3;
        EXPECT_EQ(bQuit, c.bQuitLeft) << c.pszName;
    }
}

TEST_F(CustomizeDrop, ThePointerWalksFromBarToBarAndTheLastRegisteredWins) {
    CTargetBar first(m_frame.m_pCommandBars, CRect(100, 300, 300, 330));
    CTargetBar overlapping(m_frame.m_pCommandBars, CRect(250, 300, 400, 330));
    CTargetBar refusing(m_frame.m_pCommandBars, CRect(100, 340, 300, 370), FALSE);
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, CPoint(150, 310));   // the first alone
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, CPoint(160, 310));
    ProbeCursor();
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, CPoint(260, 310));   // both: the later one
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, CPoint(150, 350));   // a bar that refuses
    ProbeCursor();
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, CPoint(600, 600));   // no bar
    ProbeCursor();
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, CPoint(270, 320));
    PostMouse(WM_LBUTTONUP, 0, CPoint(270, 320));
    EXPECT_EQ(m_frame.m_pCommandBars->DoCustomizeDragDrop(m_pControl, FALSE), DROPEFFECT_MOVE);
    EXPECT_EQ(first.m_events, "enter over leave ");
    EXPECT_EQ(overlapping.m_events, "enter leave enter drop ");
    EXPECT_EQ(overlapping.m_ptDrop, CPoint(20, 20));
    EXPECT_EQ(refusing.m_events, "enter ");
    EXPECT_EQ(m_cursors, "move none none ");
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(CustomizeDrop, ABarDestroyedDuringTheDragIsForgotten) {
    auto* pTarget = new CTargetBar(m_frame.m_pCommandBars, CRect(100, 300, 300, 330));
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, CPoint(150, 310));
    m_probe.Post([&] { delete pTarget; });
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, CPoint(160, 310));
    PostMouse(WM_LBUTTONUP, 0, CPoint(160, 310));
    EXPECT_EQ(m_frame.m_pCommandBars->DoCustomizeDragDrop(m_pControl, FALSE), DROPEFFECT_NONE);
}

TEST_F(CustomizeDrop, WhileTheCustomizeWindowIsOpenTheDragCapturesInIt) {
    CProbe customize;
    m_pDrop->m_pCustomizeWnd = &customize;
    HWND hCapture = nullptr;
    m_probe.Post([&] { hCapture = ::GetCapture(); });
    customize.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(m_frame.m_pCommandBars->DoCustomizeDragDrop(m_pControl, FALSE), DROPEFFECT_NONE);
    EXPECT_EQ(hCapture, customize.GetSafeHwnd());
    m_pDrop->m_pCustomizeWnd = nullptr;
}

}  // namespace

TEST_F(CustomizeDrop, AltPressOnAToolBarButtonDragsItWhenTheOptionAllows) {
    CKLVCommandBar* pBar = m_frame.m_pCommandBars->Add("Custom", CKLVCommandBar::barTop);
    ASSERT_NE(pBar, nullptr);
    const struct {
        BOOL bOption;
        BOOL bAlt;
        BOOL bDragged;
    } cases[] = {{TRUE, TRUE, TRUE}, {FALSE, TRUE, FALSE}, {TRUE, FALSE, FALSE}};
    for (const auto& c : cases) {
        pBar->GetControls()->RemoveAll();
        CKLVControl* pButton = pBar->GetControls()->Add(CKLVControl::typeButton, 1001);
        pButton->SetCaption("Go");
        pBar->OnRecalcLayout();
        const CPoint pt = pButton->GetRect().CenterPoint();
        m_frame.m_pCommandBars->GetOptions()->bAltDragCustomization = c.bOption;
        m_frame.m_pFrame->m_commands.clear();
        BOOL bCustomizingInDrag = FALSE;
        CKLVControl* pDragged = nullptr;
        if (c.bDragged) {
            m_probe.Post([&] {
                bCustomizingInDrag = m_frame.m_pCommandBars->IsCustomizeMode();
                pDragged = m_frame.m_pCommandBars->GetDragControl();
            });
            PostKey(WM_KEYDOWN, VK_ESCAPE);   // dropped on no bar
        } else {
            pBar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));   // a plain click
        }
        {
            std::unique_ptr<CHeldKey> alt(c.bAlt ? new CHeldKey(VK_MENU) : nullptr);
            pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        }
        EXPECT_EQ(bCustomizingInDrag, c.bDragged) << c.bOption << c.bAlt;
        EXPECT_EQ(pDragged, c.bDragged ? pButton : nullptr) << c.bOption << c.bAlt;
        EXPECT_FALSE(m_frame.m_pCommandBars->IsCustomizeMode()) << c.bOption << c.bAlt;
        EXPECT_EQ(m_frame.m_pFrame->m_commands, c.bDragged ? std::vector<UINT>{} : std::vector<UINT>{1001})
            << c.bOption << c.bAlt;
        // Dragged onto no bar, a button leaves its own.
        EXPECT_EQ(pBar->GetControls()->FindControl(1001) == nullptr, c.bDragged != FALSE) << c.bOption << c.bAlt;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
}

namespace {

// Command bars whose customize menu answers the item the test chose, noting what it offered.
class CChoosingCommandBars : public CKLVCommandBars {
    DECLARE_DYNCREATE(CChoosingCommandBars)
public:
    UINT m_nChoice = 0;
    std::vector<std::string> m_offered;

protected:
    UINT TrackCustomizeMenu(HMENU hMenu, POINT) override {
        m_offered.clear();
        for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
            char szText[64] = "";
            ::GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof(szText), MF_BYPOSITION);
            const UINT nState = ::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
            m_offered.push_back(std::string(szText) + ((nState & MF_CHECKED) ? " checked" : "") +
                                ((nState & MF_GRAYED) ? " grayed" : ""));
        }
        return m_nChoice;
    }
};
IMPLEMENT_DYNCREATE(CChoosingCommandBars, CKLVCommandBars)

}  // namespace

TEST(CustomizeMenu, TheRightButtonInCustomizeModeDeletesOrGroupsTheControl) {
    CMenuFrameFixture frame(RUNTIME_CLASS(CChoosingCommandBars));
    auto* pCommandBars = static_cast<CChoosingCommandBars*>(frame.m_pCommandBars);
    CKLVCommandBar* pBar = pCommandBars->Add("Custom", CKLVCommandBar::barTop);
    ASSERT_NE(pBar, nullptr);
    frame.m_pFrame->m_bEmptyContextMenu = TRUE;   // the bars' own context menu opens nothing
    const struct {
        int nClicked;
        UINT nChoice;
        std::vector<std::string> offered;
        std::vector<int> ids;
        BOOL bSecondBeginsGroup;
    } cases[] = {
        {1, CKLVCommandBars::customizeMenuBeginGroup, {"&Delete", "&Begin a Group"}, {1001, 1002, 1003}, TRUE},
        {0, CKLVCommandBars::customizeMenuBeginGroup, {"&Delete", "&Begin a Group grayed"}, {1001, 1002, 1003}, FALSE},
        {1, CKLVCommandBars::customizeMenuDelete, {"&Delete", "&Begin a Group"}, {1001, 1003}, FALSE},
        {1, 0, {"&Delete", "&Begin a Group"}, {1001, 1002, 1003}, FALSE},
    };
    for (const auto& c : cases) {
        pBar->GetControls()->RemoveAll();
        for (int nId : {1001, 1002, 1003}) pBar->GetControls()->Add(CKLVControl::typeButton, nId)->SetCaption("B");
        pBar->OnRecalcLayout();
        pCommandBars->SetCustomizeMode(TRUE);
        pCommandBars->m_pOptions->bDirty = FALSE;
        pCommandBars->m_nChoice = c.nChoice;
        const CPoint pt = pBar->GetControl(c.nClicked)->GetRect().CenterPoint();
        pBar->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
        const BOOL bDirty = pCommandBars->m_pOptions->bDirty;
        pCommandBars->SetCustomizeMode(FALSE);
        EXPECT_EQ(pCommandBars->m_offered, c.offered) << c.nClicked << "/" << c.nChoice;
        std::vector<int> ids;
        for (int i = 0; i < pBar->GetControlCount(); ++i)
            if (pBar->GetControl(i)->GetId() != int(CKLVToolBar::idToolBarOptions)) ids.push_back(pBar->GetControl(i)->GetId());
        EXPECT_EQ(ids, c.ids) << c.nClicked << "/" << c.nChoice;
        EXPECT_EQ(pBar->GetControl(1)->GetBeginGroup() != FALSE, c.bSecondBeginsGroup) << c.nClicked << "/" << c.nChoice;
        EXPECT_EQ(bDirty != FALSE, c.nChoice != 0 && c.nClicked != 0)
            << c.nClicked << "/" << c.nChoice;
    }
    // Outside customize mode the right button opens no such menu.
    pCommandBars->m_offered.clear();
    const CPoint pt = pBar->GetControl(1)->GetRect().CenterPoint();
    pBar->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(pCommandBars->m_offered.empty());
}
