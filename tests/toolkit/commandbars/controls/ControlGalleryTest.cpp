// The gallery control: its grid with and without group labels, the keys that move its selection,
// the searches, the hover preview told to the site, and its windowless scroll bar held, dragged
// and drawn.
#include "MenuFrameTestSupport.h"
#include "support/DeferredAction.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/paint/ControlGalleryPaintManager.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/controls/ComboBoxGalleryPopupBar.h"
#include "toolkit/commandbars/controls/ControlComboBox.h"
#include "toolkit/commandbars/controls/ControlGallery.h"
#include "toolkit/commandbars/controls/ControlGalleryItems.h"
#include "toolkit/common/MouseHook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

// The items as a string: "i" an item of the default size, "L" a label.
CKLVControlGalleryItems* MakeItems(const std::string& strKinds, CSize szItem) {
    auto* pItems = new CKLVControlGalleryItems;
    pItems->SetItemSize(szItem);
    for (size_t i = 0; i < strKinds.size(); ++i) {
        CString strCaption;
        strCaption.Format("%c%d", strKinds[i], static_cast<int>(i));
        if (strKinds[i] == 'L')
            pItems->AddLabel(strCaption);
        else
            pItems->AddItem(strCaption);
    }
    return pItems;
}

// A screen-compatible bitmap in a memory DC, filled with one colour.
class CCanvas {
public:
    CCanvas(int cx, int cy, COLORREF clr) {
        CClientDC screen(nullptr);
        m_dc.CreateCompatibleDC(&screen);
        m_bitmap.CreateCompatibleBitmap(&screen, cx, cy);
        m_hOld = m_dc.SelectObject(static_cast<HGDIOBJ>(m_bitmap));
        m_dc.FillSolidRect(0, 0, cx, cy, clr);
    }
    ~CCanvas() { m_dc.SelectObject(m_hOld); }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOld;
};

// A gallery on no bar, its items set, laid out in the rectangle without a scroll bar.
class CHeadlessGallery {
public:
    CHeadlessGallery(const std::string& strKinds, CSize szItem, CRect rc, BOOL bShowLabels = TRUE) {
        m_pGallery->m_bShowScrollBar = FALSE;
        m_pGallery->m_bShowLabels = bShowLabels;
        CKLVControlGalleryItems* pItems = MakeItems(strKinds, szItem);
        m_pGallery->SetItems(pItems);
        pItems->InternalRelease();
        m_pGallery->SetRect(rc);
    }
    ~CHeadlessGallery() { m_pGallery->InternalRelease(); }
    CHeadlessGallery(const CHeadlessGallery&) = delete;
    CHeadlessGallery& operator=(const CHeadlessGallery&) = delete;
    CKLVControlGallery* operator->() const { return m_pGallery; }

    CKLVControlGallery* m_pGallery = new CKLVControlGallery;
};

TEST(ControlGallery, ItemsFillRowsAndLabelsTakeABandOfTheirOwn) {
    const CRect rcArea(0, 0, 130, 200);
    const struct {
        const char* pszName;
        std::string strKinds;
        BOOL bShowLabels;
        std::vector<CRect> rects;
        std::vector<BOOL> rowStarts;
        int nTotalHeight;
    } cases[] = {
        {"three to a row", "iiii", TRUE,
         {CRect(0, 0, 40, 20), CRect(40, 0, 80, 20), CRect(80, 0, 120, 20), CRect(0, 20, 40, 40)},
         {TRUE, FALSE, FALSE, TRUE}, 40},
        {"a label closes the row", "iiLi", TRUE,
         {CRect(0, 0, 40, 20), CRect(40, 0, 80, 20), CRect(0, 20, 130, 39), CRect(0, 40, 40, 60)},
         {TRUE, FALSE, TRUE, TRUE}, 60},
        {"a label first", "Lii", TRUE, {CRect(0, 0, 130, 19), CRect(0, 20, 40, 40), CRect(40, 20, 80, 40)},
         {TRUE, TRUE, FALSE}, 40},
        {"labels hidden take no room", "iiLi", FALSE,
         {CRect(0, 0, 40, 20), CRect(40, 0, 80, 20), CRect(0, 0, 0, 0), CRect(80, 0, 120, 20)},
         {TRUE, FALSE, FALSE, FALSE}, 20},
    };
    for (const auto& c : cases) {
        CHeadlessGallery gallery(c.strKinds, CSize(40, 20), rcArea, c.bShowLabels);
        ASSERT_EQ(gallery->m_arrLayout.size(), c.rects.size()) << c.pszName;
        for (size_t i = 0; i < c.rects.size(); ++i) {
            EXPECT_EQ(gallery->m_arrLayout[i].rc, c.rects[i]) << c.pszName << " item " << i;
            EXPECT_EQ(gallery->m_arrLayout[i].bBeginRow, c.rowStarts[i]) << c.pszName << " item " << i;
        }
        EXPECT_EQ(gallery->GetTotalHeight(), c.nTotalHeight) << c.pszName;
    }
    // A label is never hit nor selected by the keys.
    CHeadlessGallery gallery("iiLi", CSize(40, 20), rcArea);
    EXPECT_EQ(gallery->HitTestItem(CPoint(60, 25)), -1);
    EXPECT_EQ(gallery->HitTestItem(CPoint(10, 45)), 3);
    EXPECT_EQ(gallery->GetNextSelectable(1, 1), 3);
    EXPECT_EQ(gallery->GetNextSelectable(3, -1), 1);
}

// The layout points at the items: items that come or go after it are never reached through it.
TEST(ControlGallery, ItemsAddedOrRemovedAfterTheLayoutAreLaidOutAgain) {
    const struct {
        const char* pszName;
        std::function<void(CKLVControlGalleryItems*)> change;
        size_t nLaidOut;         // layout entries once a key came
        int nSelectedAfter;      // item 2 was selected; End then selects the last item, if any
        CPoint ptProbe;
        int nHitAfter;
    } cases[] = {
        {"all removed", [](CKLVControlGalleryItems* p) { p->RemoveAll(); }, 0, -1, CPoint(10, 10), -1},
        {"first removed", [](CKLVControlGalleryItems* p) { p->Remove(0); }, 2, 1, CPoint(50, 10), 1},
        {"one added", [](CKLVControlGalleryItems* p) { p->AddItem("x"); }, 4, 3, CPoint(10, 25), 3},
    };
    for (const auto& c : cases) {
        CHeadlessGallery gallery("iii", CSize(40, 20), CRect(0, 0, 130, 200));
        gallery->SetSelectedItem(2);
        c.change(gallery->GetItems());
        // Before anything lays the items out again, the old places hit nothing.
        EXPECT_EQ(gallery->HitTestItem(CPoint(10, 10)), -1) << c.pszName;
        EXPECT_TRUE(gallery->GetItemDrawRect(0).IsRectEmpty()) << c.pszName;
        EXPECT_TRUE(gallery->OnHookKeyDown(VK_END, 0)) << c.pszName;
        EXPECT_EQ(gallery->m_arrLayout.size(), c.nLaidOut) << c.pszName;
        EXPECT_EQ(gallery->GetSelectedItem(), c.nSelectedAfter) << c.pszName;
        EXPECT_EQ(gallery->HitTestItem(c.ptProbe), c.nHitAfter) << c.pszName;
    }
    // A selection past the items is dropped when they are laid out again.
    CHeadlessGallery gallery("iii", CSize(40, 20), CRect(0, 0, 130, 200));
    gallery->SetSelectedItem(2);
    gallery->GetItems()->Remove(2);
    gallery->SyncLayout();
    EXPECT_EQ(gallery->GetSelectedItem(), -1);
}

TEST(ControlGallery, ALayoutIsNotTakenForTheItemsOfANewListMadeAlike) {
    // Two galleries of one command show the items the action holds.
    auto* pAction = new CKLVControlAction(700);
    CHeadlessGallery gallery("", CSize(40, 20), CRect(0, 0, 130, 200));
    CHeadlessGallery other("", CSize(40, 20), CRect(0, 0, 130, 200));
    gallery->SetAction(pAction);
    other->SetAction(pAction);
    CKLVControlGalleryItems* pItems = MakeItems("iii", CSize(40, 20));
    gallery->SetItems(pItems);
    pItems->InternalRelease();
    const UINT64 nOldSerial = pItems->GetSerial();
    const UINT nOldRevision = pItems->GetRevision();
    // The other gallery fills the command again: the old list is freed and one made alike (often
    // at the same address) takes its place, behind the first gallery's back.
    other->SetItems(nullptr);
    pItems = MakeItems("iii", CSize(40, 20));
    EXPECT_EQ(pItems->GetRevision(), nOldRevision);
    EXPECT_NE(pItems->GetSerial(), nOldSerial);
    other->SetItems(pItems);
    pItems->InternalRelease();
    EXPECT_FALSE(gallery->IsLayoutCurrent());
    gallery->SyncLayout();
    ASSERT_EQ(gallery->m_arrLayout.size(), 3u);
    EXPECT_EQ(gallery->m_arrLayout[0].pItem, pItems->GetItem(0));
    gallery->SetAction(nullptr);
    other->SetAction(nullptr);
    pAction->InternalRelease();
}

TEST(ControlGallery, BordersKeepTheScrollBarsColumnAndTheMargins) {
    CHeadlessGallery gallery("i", CSize(40, 20), CRect(0, 0, 130, 100));
    gallery->m_bShowScrollBar = TRUE;
    gallery->m_bShowBorders = TRUE;
    gallery->m_rcMargin = CRect(2, 3, 4, 5);
    const int cxBar = ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(gallery->GetBorders(), CRect(3, 4, 5 + cxBar, 6));
    EXPECT_EQ(gallery->GetItemsRect(), CRect(3, 4, 125 - cxBar, 94));
}

TEST(ControlGallery, KeysMoveAlongRowsAndColumns) {
    // Rows of three: 0 1 2 / 3 4 5 / 6, then a label and 8 9 10 / 11.
    CHeadlessGallery gallery("iiiiiiiLiiii", CSize(40, 20), CRect(0, 0, 130, 400));
    const struct {
        int nFrom;
        UINT nKey;
        BOOL bShift;
        BOOL bHandled;
        int nTo;
    } cases[] = {
        {2, VK_RIGHT, FALSE, TRUE, 0},   {0, VK_RIGHT, FALSE, TRUE, 1},  {3, VK_LEFT, FALSE, TRUE, 5},
        {6, VK_RIGHT, FALSE, TRUE, 6},   {3, VK_DOWN, FALSE, TRUE, 6},   {4, VK_DOWN, FALSE, TRUE, 9},
        {10, VK_DOWN, FALSE, FALSE, 10}, {6, VK_UP, FALSE, TRUE, 3},     {8, VK_UP, FALSE, TRUE, 6},
        {-1, VK_DOWN, FALSE, TRUE, 0},   {-1, VK_UP, FALSE, TRUE, 11},   {5, VK_HOME, FALSE, TRUE, 0},
        {5, VK_END, FALSE, TRUE, 11},    {6, VK_TAB, FALSE, TRUE, 8},    {11, VK_TAB, FALSE, FALSE, 11},
        {8, VK_TAB, TRUE, TRUE, 6},      {0, VK_TAB, TRUE, FALSE, 0},    {4, 'A', FALSE, FALSE, 4},
    };
    for (const auto& c : cases) {
        gallery->SetSelectedItem(c.nFrom);
        BOOL bHandled = FALSE;
        if (c.bShift) {
            CHeldKey shift(VK_SHIFT);
            bHandled = gallery->OnHookKeyDown(c.nKey, 0);
        } else {
            bHandled = gallery->OnHookKeyDown(c.nKey, 0);
        }
        EXPECT_EQ(bHandled, c.bHandled) << c.nFrom << " key " << c.nKey;
        EXPECT_EQ(gallery->GetSelectedItem(), c.nTo) << c.nFrom << " key " << c.nKey;
    }
    // Items as wide as the area: one to a row, left and right keep the selection.
    CHeadlessGallery column("iii", CSize(100, 20), CRect(0, 0, 130, 100));
    column->SetSelectedItem(1);
    EXPECT_TRUE(column->OnHookKeyDown(VK_RIGHT, 0));
    EXPECT_EQ(column->GetSelectedItem(), 1);
}

// The search looks at the item after the start first and at the start itself last.
TEST(ControlGallery, SearchesWrapStopAtTheirStartAndEndOnNothing) {
    CHeadlessGallery gallery("iiii", CSize(40, 20), CRect(0, 0, 130, 100));
    const char* kCaptions[] = {"Apple", "banana", "Apricot", "cherry"};
    for (int i = 0; i < 4; ++i) gallery->GetItem(i)->m_strCaption = kCaptions[i];
    const struct {
        int nStart;
        const char* pszText;
        BOOL bExact;
        int nFound;
    } cases[] = {
        {-1, "ap", FALSE, 0}, {0, "AP", FALSE, 2},      {2, "ap", FALSE, 0},     {1, "ban", FALSE, 1},
        {3, "b", FALSE, 1},   {-1, "", FALSE, -1},      {0, "zzz", FALSE, -1},   {0, "APPLE", TRUE, 0},
        {3, "apple", TRUE, 0}, {-1, "Apric", TRUE, -1}, {-1, "CHERRY", TRUE, 3}, {7, "cherry", FALSE, 3},
    };
    for (const auto& c : cases) {
        const int nFound = c.bExact ? gallery->FindItemExact(c.nStart, c.pszText) : gallery->FindItem(c.nStart, c.pszText);
        EXPECT_EQ(nFound, c.nFound) << c.nStart << " " << c.pszText << (c.bExact ? " exact" : "");
    }
    // Nothing to find and nothing to select end at once.
    CHeadlessGallery empty("", CSize(40, 20), CRect(0, 0, 130, 100));
    EXPECT_EQ(empty->FindItem(-1, "a"), -1);
    EXPECT_EQ(empty->GetNextSelectable(-1, 1), -1);
    EXPECT_EQ(empty->GetNextSelectable(0, -1), -1);
    CHeadlessGallery labels("LLL", CSize(40, 20), CRect(0, 0, 130, 100));
    EXPECT_EQ(labels->GetNextSelectable(-1, 1), -1);
    EXPECT_EQ(labels->GetNextSelectable(1, 1), -1);
}

// Child id = index + 1; an id past the items names nothing.
TEST(ControlGallery, ItsItemsAreAccessibleChildrenByIndexPlusOne) {
    CHeadlessGallery gallery("iiLi", CSize(40, 20), CRect(0, 0, 130, 100));
    gallery->GetItem(1)->m_strCaption = "Salt && &Pepper";
    gallery->SetSelectedItem(1);
    LONG nCount = 0;
    EXPECT_EQ(gallery->GetAccessibleChildCount(&nCount), S_OK);
    EXPECT_EQ(nCount, 4);
    const struct {
        LONG nChild;
        HRESULT hr;
        const wchar_t* name;
        LONG nState;
    } cases[] = {
        {2, S_OK, L"Salt & Pepper", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSED},
        {1, S_OK, L"i0", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE},
        {4, S_OK, L"i3", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE},
        {5, E_INVALIDARG, nullptr, 0},
        {-3, E_INVALIDARG, nullptr, 0},
    };
    for (const auto& c : cases) {
        VARIANT child;
        child.vt = VT_I4;
        child.lVal = c.nChild;
        BSTR name = nullptr;
        EXPECT_EQ(gallery->GetAccessibleName(child, &name), c.hr) << c.nChild;
        VARIANT state;
        ::VariantInit(&state);
        EXPECT_EQ(gallery->GetAccessibleState(child, &state), c.hr) << c.nChild;
        if (c.hr == S_OK) {
            EXPECT_STREQ(name, c.name) << c.nChild;
            EXPECT_EQ(state.lVal, c.nState) << c.nChild;
        }
        ::SysFreeString(name);
    }
    VARIANT last;
    last.vt = VT_I4;
    last.lVal = 4;
    EXPECT_EQ(gallery->AccessibleSelect(SELFLAG_TAKESELECTION, last), S_OK);
    EXPECT_EQ(gallery->GetSelectedItem(), 3);
}

TEST(ControlGallery, TheSelectionScrollsIntoViewWithItsGroupsLabel) {
    // A 50-pixel area: rows of three 20 high at 0 and 20, a label at 40, rows at 60, 80 and 100.
    CHeadlessGallery gallery("iiiiiiLiiiiiiiii", CSize(40, 20), CRect(0, 0, 130, 50));
    const struct {
        int nSelect;
        int nScrollPos;
    } cases[] = {{3, 0}, {15, 70}, {7, 40}, {5, 20}, {0, 0}};
    for (const auto& c : cases) {
        gallery->SetSelectedItem(c.nSelect);
        EXPECT_EQ(gallery->GetScrollPos(), c.nScrollPos) << c.nSelect;
    }
    // Clamped at both ends.
    gallery->SetScrollPos(1000);
    EXPECT_EQ(gallery->GetScrollPos(), gallery->GetTotalHeight() - 50);
    gallery->SetScrollPos(-5);
    EXPECT_EQ(gallery->GetScrollPos(), 0);
}

// A gallery on a tool bar of a hidden frame.
class GalleryOnBar : public ::testing::Test {
protected:
    // Records the scrolls asked for and the repeat timer's delays, without starting a timer.
    class CRecordingGallery : public CKLVControlGallery {
    public:
        void DoScroll(int nCode, int nPos) override {
            m_scrolls.push_back({nCode, nPos});
            CKLVControlGallery::DoScroll(nCode, nPos);
        }
        std::vector<std::pair<int, int>> m_scrolls;
        std::vector<UINT> m_delays;

    protected:
        void SetRepeatTimer(HWND, UINT nElapse) override { m_delays.push_back(nElapse); }
    };

    GalleryOnBar() {
        m_pGallery = m_frame.AddOnNewBar("Gallery", new CRecordingGallery, 600);
        m_pBar = m_frame.m_pLastBar;
        CKLVControlGalleryItems* pItems = MakeItems(std::string(30, 'i'), CSize(40, 20));
        m_pGallery->SetItems(pItems);
        pItems->InternalRelease();
        m_pGallery->SetRect(CRect(0, 0, 100, 60));
        m_frame.m_pFrame->m_notifications.clear();
    }
    HWND Bar() const { return m_pBar->GetSafeHwnd(); }
    int Count(int nCode) const {
        int n = 0;
        for (const auto& scroll : m_pGallery->m_scrolls) n += scroll.first == nCode;
        return n;
    }

    CMenuFrameFixture m_frame;
    CKLVCommandBar* m_pBar = nullptr;
    CRecordingGallery* m_pGallery = nullptr;
};

TEST_F(GalleryOnBar, HoverOpensThePreviewOnTheTimerAndLeavingClosesIt) {
    const std::vector<UINT>& notified = m_frame.m_pFrame->m_notifications;
    m_pBar->SetSelected(m_pGallery->GetIndex());
    m_frame.m_pFrame->m_notifications.clear();
    const CRect rcFirst = m_pGallery->GetItemDrawRect(0), rcSecond = m_pGallery->GetItemDrawRect(1);
    m_pGallery->OnMouseMove(rcFirst.CenterPoint());
    EXPECT_EQ(m_pGallery->GetSelectedItem(), 0);
    EXPECT_TRUE(notified.empty()) << "the preview waits for the mouse to rest";
    m_pBar->SendMessage(WM_TIMER, CKLVCommandBar::timerHover);
    EXPECT_EQ(notified, (std::vector<UINT>{0x1010, 0x1013}));
    m_pGallery->OnMouseMove(rcSecond.CenterPoint());
    EXPECT_EQ(notified, (std::vector<UINT>{0x1010, 0x1013, 0x1013}));
    m_pGallery->OnMouseMove(rcSecond.CenterPoint());
    EXPECT_EQ(notified.size(), 3u) << "the same item again tells nothing";
    m_pGallery->OnMouseMove(CPoint(-1, -1));
    EXPECT_EQ(notified, (std::vector<UINT>{0x1010, 0x1013, 0x1013, 0x1013, 0x1011}));
    EXPECT_FALSE(m_pGallery->IsPreviewing());
    EXPECT_TRUE(m_pGallery->m_bHideSelection);
    // The keys' selection opens the preview at once and keeps it over no item.
    m_frame.m_pFrame->m_notifications.clear();
    m_pGallery->OnHookKeyDown(VK_DOWN, 0);
    EXPECT_EQ(notified, (std::vector<UINT>{0x1010, 0x1013}));
    m_pGallery->OnMouseMove(CPoint(m_pGallery->GetItemsRect().right - 1, 1));
    EXPECT_EQ(m_pGallery->GetSelectedItem(), 3);
}

TEST_F(GalleryOnBar, AHeldArrowScrollsAtOnceThenAfterADelayThenTenTimesAnInterval) {
    const UINT nDoubleClick = ::GetDoubleClickTime();
    const KLVScrollBarGeometry& g = m_pGallery->m_geometry;
    const CPoint ptDown(g.rcBar.CenterPoint().x, g.rcBar.bottom - 2);
    const CPoint ptAway(g.rcBar.CenterPoint().x, g.pxThumbEnd + 1);
    ASSERT_EQ(m_pGallery->HitTest(ptDown), CKLVScrollHelper::partSecondArrow);
    const struct {
        const char* pszName;
        std::vector<std::pair<UINT, CPoint>> messages;   // posted before the press
        int nLineDowns;
    } cases[] = {
        {"five ticks", {{WM_TIMER, {}}, {WM_TIMER, {}}, {WM_TIMER, {}}, {WM_TIMER, {}}, {WM_TIMER, {}}}, 6},
        {"away pauses", {{WM_TIMER, {}}, {WM_MOUSEMOVE, ptAway}, {WM_TIMER, {}}, {WM_TIMER, {}}, {WM_MOUSEMOVE, ptDown},
                         {WM_TIMER, {}}}, 3},
        {"released at once", {}, 1},
    };
    for (const auto& c : cases) {
        m_pGallery->SetScrollPos(0);
        m_pGallery->m_scrolls.clear();
        m_pGallery->m_delays.clear();
        for (const auto& m : c.messages)
            ::PostMessageA(Bar(), m.first, m.first == WM_TIMER ? WPARAM(CKLVScrollHelper::timerRepeat) : 0,
                           MAKELPARAM(m.second.x, m.second.y));
        ::PostMessageA(Bar(), WM_LBUTTONUP, 0, 0);
        const int nLock = KLVMouseHook()->m_nLock;
        m_pGallery->PerformTrackInit(Bar(), ptDown, FALSE);
        EXPECT_EQ(Count(SB_LINEDOWN), c.nLineDowns) << c.pszName;
        EXPECT_EQ(m_pGallery->m_scrolls.back().first, SB_ENDSCROLL) << c.pszName;
        std::vector<UINT> delays = {nDoubleClick * 4 / 5};
        if (!c.messages.empty()) delays.push_back(nDoubleClick / 10);
        EXPECT_EQ(m_pGallery->m_delays, delays) << c.pszName;
        EXPECT_EQ(m_pGallery->GetScrollPos(), 20 * c.nLineDowns) << c.pszName;
        EXPECT_EQ(KLVMouseHook()->m_nLock, nLock) << c.pszName;
        EXPECT_EQ(::GetCapture(), nullptr) << c.pszName;
    }
}

TEST_F(GalleryOnBar, TheTrackingLoopEndsOnQuitAndOnLosingTheCapture) {
    const CPoint ptDown(m_pGallery->m_geometry.rcBar.CenterPoint().x, m_pGallery->m_geometry.rcBar.bottom - 2);
    const int nLock = KLVMouseHook()->m_nLock;
    ::PostQuitMessage(4);
    m_pGallery->PerformTrackInit(Bar(), ptDown, FALSE);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 4u);
    EXPECT_EQ(KLVMouseHook()->m_nLock, nLock);
    testsupport::CDeferred deferred;
    deferred.Post([] { ::ReleaseCapture(); });
    m_pGallery->PerformTrackInit(Bar(), ptDown, FALSE);
    EXPECT_EQ(KLVMouseHook()->m_nLock, nLock);
    EXPECT_EQ(m_pGallery->m_nPressedPart, CKLVScrollHelper::partNone);
}

TEST_F(GalleryOnBar, AThumbDraggedFarToTheSideSnapsBackAndIsReleasedThere) {
    const KLVScrollBarGeometry& g = m_pGallery->m_geometry;
    const CPoint ptThumb(g.rcBar.CenterPoint().x, g.pxThumbStart + 1);
    ASSERT_EQ(m_pGallery->HitTest(ptThumb), CKLVScrollHelper::partThumb);
    const int nFar = g.rcBar.right + 9 * g.rcBar.Width();
    ::PostMessageA(Bar(), WM_MOUSEMOVE, 0, MAKELPARAM(ptThumb.x, ptThumb.y + 10));
    ::PostMessageA(Bar(), WM_MOUSEMOVE, 0, MAKELPARAM(nFar, ptThumb.y + 10));
    ::PostMessageA(Bar(), WM_LBUTTONUP, 0, MAKELPARAM(nFar, ptThumb.y + 10));
    m_pGallery->PerformTrackInit(Bar(), ptThumb, FALSE);
    const auto& s = m_pGallery->m_scrolls;
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].first, SB_THUMBTRACK);
    EXPECT_GT(s[0].second, 0) << "near the bar the thumb follows";
    EXPECT_EQ(s[1], std::make_pair(int(SB_THUMBTRACK), 0));
    EXPECT_EQ(s[2], std::make_pair(int(SB_THUMBPOSITION), 0));
    EXPECT_EQ(s[3].first, SB_ENDSCROLL);
    EXPECT_EQ(m_pGallery->GetScrollPos(), 0);
}

TEST_F(GalleryOnBar, DrawsItsBackgroundLabelsAndTheSelectedItemWithinItsArea) {
    CKLVControlGalleryItems* pItems = MakeItems("Liii", CSize(40, 20));
    m_pGallery->SetItems(pItems);
    pItems->InternalRelease();
    m_pGallery->SetSelectedItem(2);
    CKLVPaintManager* pPaintManager = m_pGallery->GetPaintManager();
    CCanvas canvas(120, 80, RGB(255, 0, 255));
    CDC& dc = canvas.m_dc;
    m_pGallery->Draw(&dc);
    const CRect rcLabel = m_pGallery->GetItemDrawRect(0);
    EXPECT_EQ(dc.GetPixel(rcLabel.left + 2, rcLabel.top + 2), pPaintManager->GetThemeColor(56));
    EXPECT_EQ(dc.GetPixel(rcLabel.left + 2, rcLabel.bottom - 1), pPaintManager->GetThemeColor(52));
    // Below the items the control's own background; nothing outside its rectangle.
    EXPECT_EQ(dc.GetPixel(5, 55), pPaintManager->GetThemeColor(41));
    EXPECT_EQ(dc.GetPixel(105, 30), RGB(255, 0, 255));
    // The selected item is drawn highlighted: its corner differs from an unselected one's.
    const CRect rcSelected = m_pGallery->GetItemDrawRect(2), rcOther = m_pGallery->GetItemDrawRect(1);
    EXPECT_NE(dc.GetPixel(rcSelected.left + 1, rcSelected.top + 1), dc.GetPixel(rcOther.left + 1, rcOther.top + 1));
}

TEST(ComboBoxGallery, TheDropDownIsTheGalleryAndAChosenItemExecutesTheComboBox) {
    CMenuFrameFixture frame;
    auto* pCombo = frame.AddOnNewBar("Styles", new CKLVControlComboBox, 600);
    CKLVCommandBar* pBar = frame.m_pLastBar;
    pCombo->SetDropDownListStyle(TRUE);
    pCombo->SetRect(CRect(0, 0, 150, 22));
    auto* pDropDown = new CKLVControlComboBoxGalleryPopupBar;
    pDropDown->m_pCommandBars = frame.m_pCommandBars;
    pDropDown->m_pLink = frame.m_pCommandBars;
    auto* pGallery = new CKLVControlGallery;
    pGallery->m_nWidth = 130;
    pGallery->m_nHeight = 100;
    pDropDown->GetControls()->Add(pGallery, 601);
    CKLVControlGalleryItems* pItems = MakeItems("iiiiii", CSize(40, 20));
    pGallery->SetItems(pItems);
    pItems->InternalRelease();
    pCombo->GetList()->DestroyWindow();
    pCombo->SetCommandBar(pDropDown);
    pDropDown->InternalRelease();
    pCombo->SetEditText("i2");
    std::vector<UINT>& notified = frame.m_pFrame->m_notifications;
    notified.clear();
    auto seen = [&](UINT nCode) { return std::find(notified.begin(), notified.end(), nCode) != notified.end(); };

    pCombo->OnClick(FALSE, pCombo->GetRect().CenterPoint());
    ASSERT_TRUE(pCombo->GetPopuped());
    EXPECT_TRUE(seen(CBN_DROPDOWN));
    EXPECT_EQ(pDropDown->GetCurSel(), 2) << "the gallery follows the combo box's text";
    EXPECT_EQ(pDropDown->GetControl(pDropDown->m_nSelected), pGallery);
    EXPECT_EQ(pDropDown->OnHookKeyDown(VK_TAB, 0), CKLVCommandBar::hookKeyPass);
    EXPECT_EQ(pDropDown->OnHookKeyDown(VK_RIGHT, 0), CKLVCommandBar::hookKeyHandled);
    EXPECT_EQ(pGallery->GetSelectedItem(), pGallery->GetNextInRow(2, 1));
    const CString strChosen = pGallery->GetItemCaption(pGallery->GetSelectedItem());
    notified.clear();
    EXPECT_EQ(pDropDown->OnHookKeyDown(VK_RETURN, 0), CKLVCommandBar::hookKeyHandled);
    EXPECT_STREQ(pCombo->GetEditText(), strChosen);
    EXPECT_TRUE(seen(CBN_SELCHANGE));
    EXPECT_TRUE(seen(CBN_SELENDOK));
    EXPECT_TRUE(seen(CBN_CLOSEUP));
    EXPECT_FALSE(pCombo->GetPopuped());
    EXPECT_EQ(frame.m_pFrame->m_commands, (std::vector<UINT>{600}));
    pBar->SetPopuped(-1);
}

TEST(GalleryPainter, MadeByThePaintManagerAndAnArrowNeedsSixPixels) {
    CMenuFrameFixture frame;
    CKLVPaintManager* pPaintManager = CKLVPaintManager::GetGlobalPaintManager();
    ASSERT_NE(pPaintManager, nullptr);
    CKLVControlGalleryPaintManager* pPainter = pPaintManager->m_pGalleryPaintManager.get();
    ASSERT_NE(pPainter, nullptr);
    EXPECT_EQ(pPainter->m_cxVScroll, ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(pPainter->m_cyScrollButton, 19);
    EXPECT_EQ(pPainter->m_cxPopupScrollColumn, 16);
    const struct {
        CRect rc;
        int nDirection;
        BOOL bGlyph;
    } cases[] = {{CRect(10, 10, 15, 30), 1, FALSE}, {CRect(10, 10, 30, 15), 1, FALSE}, {CRect(10, 10, 30, 30), 1, TRUE},
                 {CRect(10, 10, 30, 30), 3, TRUE},  {CRect(10, 10, 30, 30), 4, FALSE}, {CRect(10, 10, 30, 30), -1, FALSE},
                 {CRect(10, 10, 30, 30), 0x10000, FALSE}};
    for (const auto& c : cases) {
        CCanvas canvas(40, 40, RGB(255, 255, 255));
        CDC& dc = canvas.m_dc;
        CKLVControlGalleryPaintManager::DrawArrow(&dc, c.rc, c.nDirection, TRUE);
        int nBlack = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) nBlack += dc.GetPixel(x, y) == RGB(0, 0, 0);
        EXPECT_EQ(nBlack > 0, c.bGlyph) << c.rc.Width() << "x" << c.rc.Height() << " direction " << c.nDirection;
    }
}

TEST(ControlGallery, TheCollectionMakesAGalleryForTypeTen) {
    CMenuFrameFixture frame;
    CKLVCommandBar* pBar = frame.m_pCommandBars->Add("Bar", CKLVCommandBar::barTop);
    CKLVControl* pControl = pBar->GetControls()->Add(CKLVControl::typeGallery, 700);
    ASSERT_NE(pControl, nullptr);
    EXPECT_EQ(pControl->GetRuntimeClass(), RUNTIME_CLASS(CKLVControlGallery));
    // Its items live on the command's action: a second gallery of the command shows them too.
    auto* pGallery = static_cast<CKLVControlGallery*>(pControl);
    CKLVControlGalleryItems* pItems = MakeItems("iii", CSize(30, 30));
    pGallery->SetItems(pItems);
    pItems->InternalRelease();
    auto* pOther = static_cast<CKLVControlGallery*>(pBar->GetControls()->Add(CKLVControl::typeGallery, 700));
    if (pGallery->GetAction()) {
        EXPECT_EQ(pOther->GetItems(), pGallery->GetItems());
    }
    EXPECT_EQ(pGallery->GetItemCount(), 3);
}

}  // namespace
