// The drag-and-dock context: side choice, work-area clamp and snapping stepped directly, and
// whole drags driven by messages posted before the loop starts (the loop takes posted messages
// before any real input, so nothing else can come between them).
#include "DockingInstalledHost.h"

#include "classlib/WindowTestSupport.h"
#include "toolkit/common/MultiMonitor.h"
#include "toolkit/dockingpane/DockingDragContext.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneSticker.h"

#include <algorithm>
#include <functional>
#include <string>

namespace {

LPARAM At(CPoint pt) { return MAKELPARAM(pt.x, pt.y); }

// The thread's view of the Ctrl key, as the loop reads it, without pressing anything.
void SetCtrl(BOOL bDown) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = bDown ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

BOOL DesktopUnlocked() {
    if (!::LockWindowUpdate(::GetDesktopWindow())) return FALSE;
    ::LockWindowUpdate(nullptr);
    return TRUE;
}

class DragContextTest : public OutputPaneTest {
protected:
    DragContextTest() {
        site->RecalcLayout();
        site->m_notes.clear();
    }
    ~DragContextTest() override {
        context->CancelLoop();
        SetCtrl(FALSE);
    }

    // Where the holder's caption is pressed, screen co-ordinates.
    CPoint Start() const {
        const CRect rc = pDockedHolder->GetScreenRect();
        return CPoint(rc.left + 30, rc.top + 8);
    }
    CPoint Root(int dx, int dy) const { return context->GetRootRect().TopLeft() + CSize(dx, dy); }
    void Post(UINT nMsg, WPARAM wParam, CPoint ptScreen = CPoint(0, 0)) {
        site->ScreenToClient(&ptScreen);
        site->PostMessage(nMsg, wParam, At(ptScreen));
    }
    std::vector<INT_PTR> Codes() const {
        std::vector<INT_PTR> codes;
        for (const auto& action : site->PaneActions()) codes.push_back(action.first);
        return codes;
    }

    CKLVDockingDragContext* context = manager->GetDragContext();
};

}  // namespace

TEST_F(DragContextTest, SideChoiceTakesTheNearestEdgeWithinReachAndTheTopOnTies) {
    CKLVDockingNode* pNode = manager->GetClientNode();
    const CRect rc(100, 100, 300, 200);
    const struct { const char* pszCase; CPoint pt; BOOL bInside; BOOL bMayFloat; int nSide; } cases[] = {
        {"near the left edge", {110, 150}, TRUE, TRUE, klvDockLeft},
        {"near the top edge", {150, 105}, TRUE, TRUE, klvDockTop},
        {"near the bottom edge", {150, 195}, TRUE, TRUE, klvDockBottom},
        {"near the right edge", {290, 150}, TRUE, TRUE, klvDockRight},
        {"top and left equally near", {110, 110}, TRUE, TRUE, klvDockTop},
        {"bottom and left equally near", {115, 185}, TRUE, TRUE, klvDockBottom},
        {"nothing within 20", {150, 150}, TRUE, TRUE, -1},
        {"outside an inside test", {90, 150}, TRUE, TRUE, -1},
        {"19 outside the left edge", {81, 150}, FALSE, TRUE, klvDockLeft},
        {"21 outside the left edge", {79, 150}, FALSE, TRUE, -1},
        {"above the top edge", {150, 90}, FALSE, TRUE, klvDockTop},
        {"inside an outside test", {105, 150}, FALSE, TRUE, -1},
        // Content that may not float docks anywhere inside, by the edges' proportions.
        {"no floating: nearest in proportion", {150, 150}, TRUE, FALSE, klvDockLeft},
        {"no floating: the top half way", {200, 140}, TRUE, FALSE, klvDockTop},
        {"no floating: still not outside", {90, 150}, TRUE, FALSE, -1},
    };
    for (const auto& c : cases) {
        pOutput->SetOptions(c.bMayFloat ? 0 : CKLVDockingPane::optionNoFloat);
        context->BeginDrag(pDockedHolder, Start());
        ASSERT_EQ(context->CanFloat(), c.bMayFloat) << c.pszCase;
        const BOOL bDocks = context->CanDockAt(rc, c.pt, pNode, c.bInside);
        EXPECT_EQ(bDocks, c.nSide >= 0) << c.pszCase;
        EXPECT_EQ(context->GetTarget(), bDocks ? pNode : nullptr) << c.pszCase;
        if (bDocks) {
            EXPECT_EQ(context->GetSide(), c.nSide) << c.pszCase;
        }
    }
    EXPECT_FALSE(context->CanDockAt(CRect(100, 100, 100, 200), CPoint(100, 150), pNode, FALSE)) << "no width";
}

TEST_F(DragContextTest, OutsideTheDockingAreaTheLeftEdgeReachesTwentyPixels) {
    const CRect rcRoot = context->GetRootRect();
    ASSERT_FALSE(rcRoot.IsRectEmpty());
    const int y = rcRoot.CenterPoint().y;
    const struct { int dx; BOOL bDocks; } cases[] = {{19, TRUE}, {21, FALSE}, {1, TRUE}};
    for (const auto& c : cases) {
        context->BeginDrag(pDockedHolder, Start());
        context->Move(rcRoot.left - c.dx, y);
        EXPECT_EQ(context->GetTarget(), c.bDocks ? manager->GetTopContainer() : nullptr) << c.dx;
        if (!c.bDocks) continue;
        EXPECT_EQ(context->GetSide(), klvDockLeft) << c.dx;
        CRect rcExpected;
        manager->CalcDockingRect(rcExpected, pDockedHolder, klvDockLeft, manager->GetTopContainer());
        EXPECT_EQ(context->GetDockingRect(), rcExpected) << c.dx;
    }
    // Every side offered was asked of the owner first (action 4 with the target and side).
    const auto docking = site->Notes(klvDockingPaneAction);
    EXPECT_EQ(std::count_if(docking.begin(), docking.end(), [](const DockingNote& n) { return n.nAction == klvActionDocking; }), 2);
}

TEST_F(DragContextTest, FloatingRectangleKeepsTenPixelsOnScreenAndSnapsWithinFifteen) {
    const CRect rcWork = KLVMultiMonitor()->GetWorkRect(Start());
    context->BeginDrag(pDockedHolder, Start());
    const CRect rc0 = context->GetFloatingRect();
    // Three pixels left inside the work area's right edge: ten remain.
    CPoint pt = Start() + CSize(rcWork.right - 3 - rc0.left, 600 - rc0.top);
    context->Move(pt.x, pt.y);
    EXPECT_EQ(context->GetFloatingRect().left, rcWork.right - 10);
    EXPECT_EQ(context->GetFloatingRect().Size(), rc0.Size());
    // Wholly off the work area: the rectangle stays where it was.
    context->Move(pt.x + 3000, pt.y);
    EXPECT_EQ(context->GetFloatingRect().left, rcWork.right - 10);

    manager->m_bSnapFloatingFrames = TRUE;
    const struct { int nGap; LONG nRight; } cases[] = {{14, rcWork.right}, {16, rcWork.right - 16}, {0, rcWork.right}};
    for (const auto& c : cases) {
        context->BeginDrag(pDockedHolder, Start());
        pt = Start() + CSize(rcWork.right - c.nGap - rc0.right, 600 - rc0.top);
        context->Move(pt.x, pt.y);
        EXPECT_EQ(context->GetFloatingRect().right, c.nRight) << c.nGap;
        EXPECT_EQ(context->GetFloatingRect().Size(), rc0.Size()) << c.nGap;
    }

    // Beside a window: the near edge goes flush with the window's, when less than 15 apart.
    CRect rcSite;
    site->GetWindowRect(&rcSite);
    const struct { const char* pszCase; CRect rc; CRect rcExpected; } windows[] = {
        {"10 below", CRect(300, rcSite.bottom + 10, 500, rcSite.bottom + 60),
         CRect(300, rcSite.bottom, 500, rcSite.bottom + 50)},
        {"16 below", CRect(300, rcSite.bottom + 16, 500, rcSite.bottom + 66),
         CRect(300, rcSite.bottom + 16, 500, rcSite.bottom + 66)},
        {"below, left edges 5 apart", CRect(rcSite.left + 5, rcSite.bottom + 3, rcSite.left + 105, rcSite.bottom + 53),
         CRect(rcSite.left, rcSite.bottom, rcSite.left + 100, rcSite.bottom + 50)},
    };
    for (const auto& c : windows) {
        CRect rc = c.rc;
        context->SnapToWindow(rc, site);
        EXPECT_EQ(rc, c.rcExpected) << c.pszCase;
    }
    // A sized edge snaps alone; the other edges stay.
    CRect rcSized(rcSite.left + 6, rcSite.bottom + 40, rcSite.left + 200, rcSite.bottom + 200);
    context->SnapSizingToWindow(WMSZ_TOPLEFT, rcSized, site);
    EXPECT_EQ(rcSized, CRect(rcSite.left, rcSite.bottom + 40, rcSite.left + 200, rcSite.bottom + 200));
    rcSized.top = rcSite.bottom + 9;
    context->SnapSizingToWindow(WMSZ_TOP, rcSized, site);
    EXPECT_EQ(rcSized.top, rcSite.bottom);
}

TEST_F(DragContextTest, StickersStandOnTheTargetAndSixteenPixelsInsideTheArea) {
    const CRect rcClient = manager->GetClientNode()->GetScreenRect();
    const CRect rcRoot = context->GetRootRect();
    const CPoint ptClient = rcClient.CenterPoint();
    const struct { int nStyle; CSize szCross; CSize szTop; CSize szLeft; } styles[] = {
        {0, {93, 93}, {43, 30}, {30, 43}},
        {1, {89, 89}, {29, 32}, {32, 29}},
    };
    for (const auto& s : styles) {
        manager->m_nStickerStyle = s.nStyle;
        context->BeginDrag(pDockedHolder, Start());
        context->EnableStickers(TRUE, TRUE);
        ASSERT_TRUE(context->IsAlphaPreview());
        context->Move(ptClient.x, ptClient.y);
        EXPECT_EQ(context->GetStickerTargetNode(), manager->GetClientNode()) << s.nStyle;
        const auto& stickers = context->GetStickers();
        ASSERT_EQ(stickers.size(), 5u) << s.nStyle;
        auto rectOf = [](CWnd* pWnd) {
            CRect rc;
            pWnd->GetWindowRect(&rc);
            return rc;
        };
        const CPoint ptRoot = rcRoot.CenterPoint();
        const struct { int nMask; CRect rc; } expected[] = {
            // The client's cross offers no tab.
            {klvStickerLeft | klvStickerRight | klvStickerTop | klvStickerBottom | klvStickerBackdrop,
             CRect(CPoint(ptClient.x - s.szCross.cx / 2, ptClient.y - s.szCross.cy / 2), s.szCross)},
            {klvStickerTop, CRect(CPoint(ptRoot.x - s.szTop.cx / 2, rcRoot.top + 16), s.szTop)},
            {klvStickerLeft, CRect(CPoint(rcRoot.left + 16, ptRoot.y - s.szLeft.cy / 2), s.szLeft)},
            {klvStickerBottom, CRect(CPoint(ptRoot.x - s.szTop.cx / 2, rcRoot.bottom - 16 - s.szTop.cy), s.szTop)},
            {klvStickerRight, CRect(CPoint(rcRoot.right - 16 - s.szLeft.cx, ptRoot.y - s.szLeft.cy / 2), s.szLeft)},
        };
        for (size_t i = 0; i < stickers.size(); i++) {
            EXPECT_EQ(stickers[i]->GetMask(), expected[i].nMask) << s.nStyle << " sticker " << i;
            EXPECT_EQ(rectOf(stickers[i].get()), expected[i].rc) << s.nStyle << " sticker " << i;
        }
        // The same target keeps its stickers; the pointer over the left edge arrow docks left.
        CKLVDockingPaneSticker* pCross = stickers[0].get();
        const CPoint ptLeftArrow = expected[2].rc.CenterPoint();
        context->Move(ptLeftArrow.x, ptLeftArrow.y);
        ASSERT_EQ(context->GetStickers().size(), 5u) << s.nStyle;
        EXPECT_EQ(context->GetStickers()[0].get(), pCross) << s.nStyle;
        EXPECT_EQ(context->GetTarget(), manager->GetTopContainer()) << s.nStyle;
        EXPECT_EQ(context->GetSide(), klvDockLeft) << s.nStyle;
        EXPECT_EQ(context->GetStickers()[2]->GetHighlighted(), klvStickerLeft) << s.nStyle;
        EXPECT_NE(context->GetPreviewWindow(), nullptr) << s.nStyle;
        context->CancelLoop();
        EXPECT_TRUE(context->GetStickers().empty()) << s.nStyle;
        EXPECT_EQ(context->GetPreviewWindow(), nullptr) << s.nStyle;
    }
}

// ---------------------------------------------------------------------------------------------

namespace {

enum DragOutcome { outcomeUnchanged, outcomeDockedLeft, outcomeFloated };

struct DragCase {
    const char* pszCase;
    std::function<void(DragContextTest&)> post;
    BOOL bKeyboard;
    DragOutcome outcome;
    CSize szFloatOffset;   // where a keyboard drag floats the holder, from its place
    WPARAM nQuitCode;
};

class DragLoopTest : public DragContextTest, public ::testing::WithParamInterface<DragCase> {
public:
    using DragContextTest::Post;
    using DragContextTest::Root;
    using DragContextTest::Start;
    CPoint LeftOfArea() const { return CPoint(context->GetRootRect().left - 10, context->GetRootRect().CenterPoint().y); }
    CRecordingFrame* Site() const { return site; }
    CRecordingFrame* Owner() const { return owner; }
};

const UINT kReleaseCtrl = WM_APP + 5;

void Key(DragContextTest& t, UINT nKey) { static_cast<DragLoopTest&>(t).Post(WM_KEYDOWN, nKey); }

const DragCase kDragCases[] = {
    {"a 4-pixel move does nothing",
     [](DragContextTest& t) {
         auto& d = static_cast<DragLoopTest&>(t);
         d.Post(WM_MOUSEMOVE, MK_LBUTTON, d.Start() + CSize(4, -4));
         d.Post(WM_LBUTTONUP, 0, d.Start() + CSize(4, -4));
     },
     FALSE, outcomeUnchanged, {}, 0},
    {"dropped at the area's left edge",
     [](DragContextTest& t) {
         auto& d = static_cast<DragLoopTest&>(t);
         d.Post(WM_MOUSEMOVE, MK_LBUTTON, d.LeftOfArea());
         d.Post(WM_LBUTTONUP, 0, d.LeftOfArea());
     },
     FALSE, outcomeDockedLeft, {}, 0},
    {"Ctrl held keeps it floating",
     [](DragContextTest& t) {
         auto& d = static_cast<DragLoopTest&>(t);
         SetCtrl(TRUE);
         d.Post(WM_MOUSEMOVE, MK_LBUTTON, d.LeftOfArea());
         d.Post(WM_KEYDOWN, VK_CONTROL);
         d.Post(WM_LBUTTONUP, 0, d.LeftOfArea());
     },
     FALSE, outcomeFloated, {}, 0},
    {"Ctrl released docks again at once",
     [](DragContextTest& t) {
         auto& d = static_cast<DragLoopTest&>(t);
         SetCtrl(TRUE);
         d.Site()->m_onMessage = [](UINT nMsg) {
             if (nMsg == kReleaseCtrl) SetCtrl(FALSE);
         };
         d.Post(WM_MOUSEMOVE, MK_LBUTTON, d.LeftOfArea());
         d.Post(kReleaseCtrl, 0);
         d.Post(WM_KEYUP, VK_CONTROL);
         d.Post(WM_LBUTTONUP, 0, d.LeftOfArea());
     },
     FALSE, outcomeDockedLeft, {}, 0},
    {"Escape changes nothing",
     [](DragContextTest& t) {
         auto& d = static_cast<DragLoopTest&>(t);
         d.Post(WM_MOUSEMOVE, MK_LBUTTON, d.LeftOfArea());
         Key(t, VK_ESCAPE);
         d.Post(WM_LBUTTONUP, 0, d.LeftOfArea());
     },
     FALSE, outcomeUnchanged, {}, 0},
    {"a quit request ends the drag and stays",
     [](DragContextTest& t) {
         auto& d = static_cast<DragLoopTest&>(t);
         d.Post(WM_MOUSEMOVE, MK_LBUTTON, d.LeftOfArea());
         ::PostQuitMessage(5);
     },
     FALSE, outcomeUnchanged, {}, 5},
    {"the capture held elsewhere: no drag",
     [](DragContextTest& t) {
         auto& d = static_cast<DragLoopTest&>(t);
         ::SetCapture(d.Owner()->m_hWnd);
     },
     FALSE, outcomeUnchanged, {}, 0},
    {"keyboard: 10 pixels per arrow, Enter drops",
     [](DragContextTest& t) {
         for (UINT nKey : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN}) Key(t, nKey);
     },
     TRUE, outcomeFloated, {20, 10}, 0},
    {"keyboard: other keys are not taken",
     [](DragContextTest& t) {
         for (UINT nKey : {UINT(VK_LEFT), UINT('A'), UINT(VK_TAB), UINT(VK_RETURN)}) Key(t, nKey);
     },
     TRUE, outcomeFloated, {-10, 0}, 0},
    {"keyboard: Escape changes nothing",
     [](DragContextTest& t) {
         for (UINT nKey : {VK_RIGHT, VK_ESCAPE, VK_RETURN}) Key(t, nKey);
     },
     TRUE, outcomeUnchanged, {}, 0},
};

}  // namespace

TEST_P(DragLoopTest, EndsAsTheMessagesSayAndLeavesTheDesktopFree) {
    const DragCase& c = GetParam();
    const CRect rcHolder = pDockedHolder->GetScreenRect();
    c.post(*this);
    if (c.bKeyboard) context->Drag(pDockedHolder, -1, -1);
    else context->Drag(pDockedHolder, Start().x, Start().y);
    site->m_onMessage = nullptr;
    SetCtrl(FALSE);

    // Every way out lets go of the desktop, its DC, the capture and the preview.
    EXPECT_TRUE(DesktopUnlocked());
    EXPECT_FALSE(context->HasDesktopDC());
    const BOOL bCaptureElsewhere = ::GetCapture() == owner->m_hWnd;
    if (bCaptureElsewhere) ::ReleaseCapture();
    EXPECT_EQ(::GetCapture(), nullptr);
    MSG msg;
    const BOOL bQuit = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(bQuit != 0, c.nQuitCode != 0);
    if (bQuit) {
        EXPECT_EQ(msg.wParam, c.nQuitCode);
    }
    classlib_test::PumpPending();
    site->RecalcLayout();

    const std::vector<INT_PTR> codes = Codes();
    switch (c.outcome) {
    case outcomeUnchanged:
        EXPECT_EQ(pOutput->GetContainer(), pDockedHolder);
        EXPECT_EQ(manager->GetNodeSide(pDockedHolder), klvDockBottom);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), klvActionDocked), 0);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), klvActionFloated), 0);
        if (!codes.empty()) {
            EXPECT_EQ(codes.front(), klvActionFloating);
        }
        break;
    case outcomeDockedLeft:
        EXPECT_EQ(manager->GetNodeSide(pOutput->GetContainer()), klvDockLeft);
        EXPECT_FALSE(manager->IsFloatingSite(pOutput->GetDockingSite()));
        ASSERT_GE(codes.size(), 3u);
        EXPECT_EQ(codes.front(), klvActionFloating);
        EXPECT_EQ(codes.back(), klvActionDocked);
        for (size_t i = 1; i + 1 < codes.size(); i++) EXPECT_EQ(codes[i], klvActionDocking) << i;
        break;
    case outcomeFloated:
        ASSERT_TRUE(manager->IsFloatingSite(pOutput->GetDockingSite()));
        EXPECT_EQ(codes, (std::vector<INT_PTR>{klvActionFloating, klvActionFloated}));
        if (c.bKeyboard) {
            CRect rcFrame;
            pOutput->GetDockingSite()->GetWindowRect(&rcFrame);
            EXPECT_EQ(rcFrame, rcHolder + c.szFloatOffset);
        }
        break;
    }
    EXPECT_EQ(pOutput->GetRefCount(), manager->GetActivePane() == pOutput ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Drags, DragLoopTest, ::testing::ValuesIn(kDragCases),
                         [](const ::testing::TestParamInfo<DragCase>& info) {
                             return "Case" + std::to_string(info.index);
                         });

TEST_F(DragContextTest, ShowingContentsFloatsAtOnceAndMovesTheFrameWithTheMouse) {
    manager->m_bShowContentsWhileDragging = TRUE;
    const CRect rcHolder = pDockedHolder->GetScreenRect();
    const CPoint ptStart = Start(), ptFirst(800, 600), ptSecond(830, 640);
    Post(WM_MOUSEMOVE, MK_LBUTTON, ptFirst);
    Post(WM_MOUSEMOVE, MK_LBUTTON, ptSecond);
    Post(WM_LBUTTONUP, 0, ptSecond);
    // The holder goes when its pane floats.
    context->Drag(pDockedHolder, ptStart.x, ptStart.y);
    classlib_test::PumpPending();
    ASSERT_TRUE(manager->IsFloatingSite(pOutput->GetDockingSite()));
    CRect rcFrame;
    pOutput->GetDockingSite()->GetWindowRect(&rcFrame);
    EXPECT_EQ(rcFrame, rcHolder + (ptSecond - ptStart));
    // Floated by the first move, moved by the drop.
    EXPECT_EQ(Codes(), (std::vector<INT_PTR>{klvActionFloating, klvActionFloated, klvActionFloated}));
    EXPECT_TRUE(DesktopUnlocked());
    EXPECT_EQ(pOutput->GetRefCount(), manager->GetActivePane() == pOutput ? 2 : 1);
}

TEST_F(DragContextTest, DroppedOnAStickerArrowDocksThereAndTheWindowsGo) {
    manager->m_bAlphaDockingContext = manager->m_bShowDockingContextStickers = TRUE;
    manager->SetTheme(9);
    const CRect rcRoot = context->GetRootRect();
    // The left edge arrow, 16 pixels in from the area's left edge.
    const CPoint ptArrow(rcRoot.left + 16 + 16, rcRoot.CenterPoint().y);
    const CPoint ptClient = manager->GetClientNode()->GetScreenRect().CenterPoint();
    Post(WM_MOUSEMOVE, MK_LBUTTON, ptClient);
    Post(WM_MOUSEMOVE, MK_LBUTTON, ptArrow);
    Post(WM_LBUTTONUP, 0, ptArrow);
    context->Drag(pDockedHolder, Start().x, Start().y);
    classlib_test::PumpPending();
    site->RecalcLayout();
    EXPECT_EQ(manager->GetNodeSide(pOutput->GetContainer()), klvDockLeft);
    EXPECT_EQ(Codes().back(), klvActionDocked);
    EXPECT_TRUE(context->GetStickers().empty());
    EXPECT_EQ(context->GetPreviewWindow(), nullptr);
    EXPECT_EQ(context->GetTabPreviewWindow(), nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
}
