// Popup bars: opening and closing with the site told, short menus and their expansion (by the
// expand item's delay, Ctrl+Down, Down past the last item), scrolling a menu taller than the
// work area, placement at a monitor's bottom edge, the animation kinds and the tear-off loop.
#include "PopupBarTestSupport.h"
#include "classlib/Menu.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/commandbars/ToolBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

class PopupBars : public ::testing::Test {
protected:
    void TearDown() override { ::SetCursor(nullptr); }
    // Hides the ids as commands not used yet and turns short menus on.
    void HideCommands(std::initializer_list<int> ids) {
        m_commandBars->GetOptions()->bAlwaysShowFullMenus = FALSE;
        for (int nId : ids) m_commandBars->GetOptions()->m_mapHiddenCommands.SetAt(static_cast<UINT>(nId), TRUE);
    }
    static std::vector<int> VisibleIds(CKLVCommandBar* pBar) {
        std::vector<int> ids;
        for (int i = 0; i < pBar->GetControlCount(); ++i)
            if (pBar->GetControl(i)->IsVisible()) ids.push_back(pBar->GetControl(i)->GetId());
        return ids;
    }
    // Runs the window's timer of the id at once, as its expiry would: FALSE when the window had
    // no such timer running. Nothing else is pumped, so neither the cursor nor the window's other
    // timers (hover, mouse leave) can interfere.
    static BOOL RunTimer(HWND hWnd, UINT_PTR nTimer) {
        if (!::KillTimer(hWnd, nTimer)) return FALSE;
        ::SendMessageA(hWnd, WM_TIMER, nTimer, 0);
        return TRUE;
    }

    CPopupSite m_site;
    CPopupCommandBars m_commandBars{&m_site};
};

// The test theme with a tear-off strip 8 pixels high.
class CGripperTheme : public CKLVFlatTestTheme {
public:
    CSize DrawPopupTearOffStrip(CDC*, CRect rc, BOOL, BOOL) override { return CSize(rc.Width(), 8); }
};

struct Release {
    void operator()(CKLVCommandBar* p) const { p->InternalRelease(); }
};
using PopupPtr = std::unique_ptr<CWorkAreaPopup, Release>;

TEST_F(PopupBars, OpeningAndClosingTellTheSiteAndDestroyTheWindow) {
    PopupPtr pPopup(m_commandBars.MakePopup({101, 102}));
    ASSERT_TRUE(pPopup->Popup(100, 120, nullptr));
    const HWND hPopup = pPopup->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(hPopup));
    EXPECT_TRUE(pPopup->IsVisible());
    EXPECT_EQ(pPopup->GetTrackingMode(), 1);
    char szClass[32] = {};
    ::GetClassNameA(hPopup, szClass, sizeof(szClass));
    EXPECT_STREQ(szClass, "KLVPopupBar");
    EXPECT_EQ(::GetClassLongPtrA(hPopup, GCL_STYLE), CS_DBLCLKS | CS_SAVEBITS);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrA(hPopup, GWL_STYLE)) & 0x86000100u, 0x86000100u);
    CRect rc;
    ::GetWindowRect(hPopup, &rc);
    EXPECT_EQ(rc.TopLeft(), CPoint(100, 120));
    EXPECT_EQ(m_site.m_popupMessages, std::vector<UINT>{CKLVPopupBar::msgPopupOpening});

    pPopup->SetTrackingMode(FALSE);
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_EQ(m_site.m_popupMessages,
              (std::vector<UINT>{CKLVPopupBar::msgPopupOpening, CKLVPopupBar::msgPopupClosed}));
    EXPECT_TRUE(KLVMouseHook()->GetTrackedPopups().empty());
    // A second cycle opens again.
    ASSERT_TRUE(pPopup->Popup(100, 120, nullptr));
    pPopup->SetTrackingMode(FALSE);
    EXPECT_FALSE(::IsWindow(pPopup->GetSafeHwnd()));
}

TEST_F(PopupBars, ASubmenuOpensBesideItsControlAndClosesWithIt) {
    PopupPtr pMenu(m_commandBars.MakePopup({101}));
    auto* pItem = static_cast<CKLVControlPopup*>(pMenu->GetControls()->Add(CKLVControl::typePopup, 0));
    pItem->SetCaption("More");
    CWorkAreaPopup* pSub = m_commandBars.MakePopup({201, 202});
    pItem->SetCommandBar(pSub);
    pSub->InternalRelease();
    ASSERT_TRUE(pMenu->Popup(50, 50, nullptr));
    ASSERT_TRUE(pMenu->SetPopuped(pItem->GetIndex(), TRUE));
    ASSERT_TRUE(pSub->IsVisible());
    EXPECT_EQ(pSub->GetParentCommandBar(), pMenu.get());
    CRect rcMenu, rcSub;
    pMenu->GetWindowRect(&rcMenu);
    pSub->GetWindowRect(&rcSub);
    EXPECT_GE(rcSub.left, rcMenu.right - 8);   // beside the item, not over it
    EXPECT_EQ(pSub->m_dwPopupFlags & CKLVPopupBar::directionBelow, 0u);

    pMenu->SetTrackingMode(FALSE);
    EXPECT_FALSE(::IsWindow(pSub->GetSafeHwnd()));
    EXPECT_EQ(pSub->GetControlPopup(), nullptr);
}

TEST_F(PopupBars, AShortMenuShowsUsedCommandsAndTheExpandItemUntilExpanded) {
    HideCommands({102, 103});
    PopupPtr pPopup(m_commandBars.MakePopup({101, 102, 103}));
    ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
    EXPECT_TRUE(pPopup->HasHiddenItems());
    EXPECT_EQ(VisibleIds(pPopup.get()), (std::vector<int>{101, CKLVPopupBar::idExpandButton}));
    CKLVControl* pExpand = pPopup->GetControls()->FindControl(CKLVPopupBar::idExpandButton);
    ASSERT_NE(pExpand, nullptr);
    EXPECT_EQ(pExpand->GetFlags() & CKLVControlExpandButton::expandFlags, 0x5Au);
    CRect rcClient;
    pPopup->GetClientRect(&rcClient);
    EXPECT_EQ(pExpand->GetRect().bottom, rcClient.bottom - 4);   // across the bottom, inside the borders

    // Resting the mouse on the expand item expands the menu after the delay.
    pPopup->SetSelected(pExpand->GetIndex(), FALSE);
    EXPECT_FALSE(pPopup->IsExpanded());
    ASSERT_TRUE(RunTimer(pPopup->GetSafeHwnd(), CKLVPopupBar::timerExpand));
    EXPECT_TRUE(pPopup->IsExpanded());
    EXPECT_EQ(VisibleIds(pPopup.get()), (std::vector<int>{101, 102, 103}));
    EXPECT_TRUE(KLVMouseHook()->m_bExpanded);
    pPopup->SetTrackingMode(FALSE);
    EXPECT_FALSE(KLVMouseHook()->m_bExpanded);   // the next tracking starts short again

    // A menu whose commands are all unused shows them all, without the expand item.
    PopupPtr pUnused(m_commandBars.MakePopup({102, 103}));
    ASSERT_TRUE(pUnused->Popup(100, 100, nullptr));
    EXPECT_FALSE(pUnused->HasHiddenItems());
    EXPECT_EQ(VisibleIds(pUnused.get()), (std::vector<int>{102, 103}));
    pUnused->SetTrackingMode(FALSE);

    // Full menus show everything.
    m_commandBars->GetOptions()->bAlwaysShowFullMenus = TRUE;
    ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
    EXPECT_EQ(VisibleIds(pPopup.get()), (std::vector<int>{101, 102, 103}));
    pPopup->SetTrackingMode(FALSE);
}

// A menu with one submenu item (id 300) that opens a short popup of the ids.
struct CMenuWithSubmenu {
    CMenuWithSubmenu(CPopupCommandBars& commandBars, std::initializer_list<int> subIds)
        : pMenu(commandBars.MakePopup({101})) {
        pItem = static_cast<CKLVControlPopup*>(pMenu->GetControls()->Add(CKLVControl::typePopup, 300));
        pItem->SetCaption("More");
        pSub = commandBars.MakePopup(subIds);
        pItem->SetCommandBar(pSub);
        pSub->InternalRelease();
    }
    PopupPtr pMenu;
    CKLVControlPopup* pItem;
    CWorkAreaPopup* pSub;
};

TEST_F(PopupBars, ChoosingAHiddenCommandKeepsItAndItsSubmenuInTheShortMenu) {
    HideCommands({201, 202, 300});
    CMenuWithSubmenu menu(m_commandBars, {201, 202, 203});
    ASSERT_TRUE(menu.pMenu->Popup(50, 50, nullptr));
    ASSERT_TRUE(menu.pMenu->SetPopuped(menu.pItem->GetIndex(), TRUE));
    EXPECT_EQ(VisibleIds(menu.pSub), (std::vector<int>{203, CKLVPopupBar::idExpandButton}));
    menu.pSub->ExpandBar();
    menu.pSub->GetControls()->FindControl(201)->OnExecute();
    EXPECT_EQ(m_site.m_commands, std::vector<UINT>{201});

    BOOL bUsed = FALSE;
    const auto& used = m_commandBars->GetOptions()->m_mapUsedCommands;
    EXPECT_TRUE(used.Lookup(201, bUsed));
    EXPECT_TRUE(used.Lookup(300, bUsed));   // the submenu it was chosen from
    EXPECT_FALSE(used.Lookup(202, bUsed));
    EXPECT_FALSE(used.Lookup(203, bUsed));   // never hidden: nothing to learn
    EXPECT_TRUE(m_commandBars->GetOptions()->bDirty);

    // The next short menu shows it.
    KLVMouseHook()->CloseAllTrackedPopups();
    ASSERT_TRUE(menu.pMenu->Popup(50, 50, nullptr));
    ASSERT_TRUE(menu.pMenu->SetPopuped(menu.pItem->GetIndex(), TRUE));
    EXPECT_EQ(VisibleIds(menu.pSub), (std::vector<int>{201, 203, CKLVPopupBar::idExpandButton}));
}

TEST_F(PopupBars, RestingOnASubmenuItemExpandsItsShortMenuAfterTheDelay) {
    HideCommands({202});
    // The pointer stays where it is (other test programs share it): the menu opens around it or
    // away from it, in a work area large enough that it is never moved.
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    struct Case {
        BOOL bShowFullAfterDelay;
        BOOL bCursorOver;
        BOOL bExpanded;
    } cases[] = {{TRUE, TRUE, TRUE}, {TRUE, FALSE, FALSE}, {FALSE, TRUE, FALSE}};
    for (const Case& c : cases) {
        m_commandBars->GetOptions()->bShowFullAfterDelay = c.bShowFullAfterDelay;
        CMenuWithSubmenu menu(m_commandBars, {201, 202});
        menu.pMenu->m_rcWork = CRect(-20000, -20000, 20000, 20000);
        ASSERT_TRUE(menu.pMenu->Popup(0, 0, nullptr));
        const CPoint ptItem = menu.pItem->GetRect().CenterPoint();
        menu.pMenu->SetTrackingMode(FALSE);
        const CPoint ptOpen = c.bCursorOver ? CPoint(ptCursor.x - ptItem.x, ptCursor.y - ptItem.y)
                                             : CPoint(ptCursor.x + 300, ptCursor.y + 300);
        ASSERT_TRUE(menu.pMenu->Popup(ptOpen.x, ptOpen.y, nullptr));
        ASSERT_EQ(menu.pItem->IsCursorOver(), c.bCursorOver);
        ASSERT_TRUE(menu.pMenu->SetPopuped(menu.pItem->GetIndex(), FALSE));
        ASSERT_FALSE(menu.pSub->IsExpanded());
        EXPECT_EQ(RunTimer(menu.pMenu->GetSafeHwnd(), CKLVCommandBar::timerShowFull), c.bShowFullAfterDelay);
        EXPECT_EQ(menu.pSub->IsExpanded(), c.bExpanded) << c.bShowFullAfterDelay << c.bCursorOver;
        EXPECT_EQ(VisibleIds(menu.pSub),
                  (std::vector<int>{201, c.bExpanded ? 202 : int(CKLVPopupBar::idExpandButton)}));
        KLVMouseHook()->CloseAllTrackedPopups();
    }
}

TEST_F(PopupBars, ADoubleClickOnASubmenuItemRunsItsDefaultElseShowsTheFullMenu) {
    HideCommands({202});
    for (BOOL bDefault : {FALSE, TRUE}) {
        m_site.m_commands.clear();
        CMenuWithSubmenu menu(m_commandBars, {201, 202});
        if (bDefault) menu.pSub->GetControls()->FindControl(201)->SetItemDefault(TRUE);
        ASSERT_TRUE(menu.pMenu->Popup(50, 50, nullptr));
        menu.pItem->OnDoubleClick(menu.pItem->GetRect().CenterPoint());
        EXPECT_EQ(m_site.m_commands, bDefault ? std::vector<UINT>{201} : std::vector<UINT>{}) << bDefault;
        if (!bDefault) {
            ASSERT_TRUE(menu.pSub->GetSafeHwnd());
            EXPECT_TRUE(menu.pSub->IsExpanded());
            EXPECT_EQ(VisibleIds(menu.pSub), (std::vector<int>{201, 202}));
        }
        KLVMouseHook()->CloseAllTrackedPopups();
    }
}

TEST_F(PopupBars, ControlsOfACommandWithAnActionAreBoundToIt) {
    CKLVControlAction* pAction = m_commandBars->GetActions()->Add(101);
    pAction->SetCaption("From the action");
    PopupPtr pPopup(m_commandBars.MakePopup({}));
    CKLVControl* pBound = pPopup->GetControls()->Add(CKLVControl::typeButton, 101);
    CKLVControl* pFree = pPopup->GetControls()->Add(CKLVControl::typeButton, 102);
    EXPECT_EQ(pBound->GetAction(), pAction);
    EXPECT_STREQ(pBound->GetCaption(), "From the action");
    EXPECT_EQ(pFree->GetAction(), nullptr);
    EXPECT_EQ(pFree->GetId(), 102);
    // A menu item of an action without a caption gives it the item's text.
    CKLVControlAction* pBare = m_commandBars->GetActions()->Add(103);
    pBare->SetCaption("");
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 103, "&Menu text");
    ASSERT_TRUE(pPopup->GetControls()->LoadMenu(&menu));
    CKLVControl* pItem = pPopup->GetControls()->FindControl(103);
    ASSERT_NE(pItem, nullptr);
    EXPECT_EQ(pItem->GetAction(), pBare);
    EXPECT_STREQ(pBare->GetCaption(), "&Menu text");
}

// The test theme that records each animation it is asked to play, with the window's first pixel
// as the animation starts, instead of playing it.
class CAnimationRecordingTheme : public CKLVFlatTestTheme {
public:
    struct CPlayed {
        int nType;
        CSize size;
        COLORREF clrStart;
    };
    void AnimatePopup(CDC* pDestDC, CDC*, CRect rc, int nType) override {
        m_played.push_back({nType, rc.Size(), pDestDC->GetPixel(1, 1)});
    }
    std::vector<CPlayed> m_played;
};

TEST_F(PopupBars, AnExpansionByTheUserGrowsOutOfTheShortMenu) {
    HideCommands({102, 103});
    for (long nKind : {long(CKLVPopupBar::animateFade), long(CKLVPopupBar::animateNone)}) {
        m_commandBars->GetOptions()->animateType = nKind;
        PopupPtr pPopup(m_commandBars.MakePopup({101, 102, 103}));
        auto* pTheme = new CAnimationRecordingTheme;
        pPopup->SetPaintManager(pTheme);
        ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
        CRect rcShort;
        pPopup->GetWindowRect(&rcShort);
        const BOOL bAnimated = nKind != CKLVPopupBar::animateNone;
        ASSERT_EQ(pTheme->m_played.size(), bAnimated ? 1u : 0u) << nKind;   // opening

        // A re-layout that nobody asked for by expanding only redraws.
        pPopup->OnRecalcLayout();
        EXPECT_EQ(pTheme->m_played.size(), bAnimated ? 1u : 0u) << nKind;

        CWindowDC dcWindow(pPopup.get());
        const COLORREF clrShort = dcWindow.GetPixel(1, 1);
        pPopup->ExpandBar();
        CRect rcFull;
        pPopup->GetWindowRect(&rcFull);
        EXPECT_GT(rcFull.Height(), rcShort.Height());
        if (!bAnimated) {
            EXPECT_TRUE(pTheme->m_played.empty());
        } else {
            ASSERT_EQ(pTheme->m_played.size(), 2u);
            EXPECT_EQ(pTheme->m_played[1].nType, CKLVPopupBar::animateFade);
            EXPECT_EQ(pTheme->m_played[1].size, rcFull.Size());
            EXPECT_EQ(pTheme->m_played[1].clrStart, clrShort) << "the expansion starts from the short menu's picture";
        }
        pPopup->SetTrackingMode(FALSE);
    }
}

// Every third pixel each way of a DC's rectangle at the origin.
std::vector<COLORREF> SamplePixels(CDC& dc, CSize sz) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < sz.cy; y += 3)
        for (int x = 0; x < sz.cx; x += 3) pixels.push_back(dc.GetPixel(x, y));
    return pixels;
}

// A bitmap of the size in a memory DC compatible with the window's.
struct CPicture {
    CPicture(CDC& dcWindow, CSize sz) {
        dc.CreateCompatibleDC(&dcWindow);
        bitmap.CreateCompatibleBitmap(&dcWindow, sz.cx, sz.cy);
        hOld = dc.SelectObject(static_cast<HGDIOBJ>(bitmap));
    }
    ~CPicture() { dc.SelectObject(hOld); }
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ hOld = nullptr;
};

// Plays a popup's animation as its opening and its expansion do.
struct CAnimationPlayer : CKLVPopupBar {
    static void Play(CKLVPopupBar* pPopup, int nKind, CDC* pStartDC, CSize szStart) {
        (pPopup->*(&CAnimationPlayer::PlayAnimation))(nKind, pStartDC, szStart);
    }
};

TEST_F(PopupBars, AnAnimationEndsOnTheMenusFinishedPicture) {
    const COLORREF kStart = RGB(255, 0, 255);
    for (int nKind : {CKLVPopupBar::animateFade, CKLVPopupBar::animateSlide, CKLVPopupBar::animateUnfold}) {
        PopupPtr pPopup(m_commandBars.MakePopup({101, 102, 103}));
        // The theme plays no frame: the window shows what the popup leaves once the animation
        // is over, the start picture when that is nothing.
        auto* pTheme = new CAnimationRecordingTheme;
        pTheme->RefreshMetrics();
        pPopup->SetPaintManager(pTheme);
        ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
        CRect rcWindow;
        pPopup->GetWindowRect(&rcWindow);
        const CSize sz = rcWindow.Size();
        CClientDC dcWindow(pPopup.get());
        CPicture finished(dcWindow, sz);
        pPopup->DrawCommandBar(&finished.dc, CRect(CPoint(0, 0), sz));
        const std::vector<COLORREF> menu = SamplePixels(finished.dc, sz);
        ASSERT_GT(std::set<COLORREF>(menu.begin(), menu.end()).size(), 1u) << "the menu has a picture";
        ASSERT_EQ(std::count(menu.begin(), menu.end(), kStart), 0) << "of other colours than the start";
        CPicture start(dcWindow, sz);
        start.dc.FillSolidRect(0, 0, sz.cx, sz.cy, kStart);
        CAnimationPlayer::Play(pPopup.get(), nKind, &start.dc, sz);
        EXPECT_EQ(SamplePixels(dcWindow, sz), menu) << nKind;
        pPopup->SetTrackingMode(FALSE);
    }
}

TEST_F(PopupBars, ShortcutTextsFollowTheAcceleratorTable) {
    PopupPtr pPopup(m_commandBars.MakePopup({101, 102, 103}));
    pPopup->GetControl(1)->SetCaption("Cut\tCtrl+X");   // the menu's text for a key the table lacks
    ACCEL entries[] = {{FCONTROL | FVIRTKEY, 'O', 101}, {FVIRTKEY, VK_F5, 101}, {FCONTROL | FVIRTKEY, 'S', 103}};
    CKLVAccelManager* pAccelManager = m_commandBars->GetAccelManager();
    CKLVCommandBarsOptions* pOptions = m_commandBars->GetOptions();
    const std::string strSave(pAccelManager->FormatShortcut(&entries[2]));   // the system names Ctrl
    struct Case {
        const char* what;
        BOOL bAuto, bTable;
        std::vector<std::string> texts;
    } const cases[] = {
        {"no table: the menu's texts stay", TRUE, FALSE, {"", "Ctrl+X", ""}},
        {"the option off", FALSE, TRUE, {"", "Ctrl+X", ""}},
        {"the table's best key, none for a command without one", TRUE, TRUE, {"F5", "", strSave}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pOptions->bAutoUpdateShortcuts = c.bAuto;
        pAccelManager->SetAccelTable(c.bTable ? ::CreateAcceleratorTableA(entries, 3) : nullptr);
        ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
        std::vector<std::string> texts;
        for (int i = 0; i < 3; ++i) texts.emplace_back(pPopup->GetControl(i)->GetShortcutText());
        EXPECT_EQ(texts, c.texts);
        pPopup->SetTrackingMode(FALSE);
    }
    pAccelManager->SetAccelTable(nullptr);
}

TEST_F(PopupBars, CtrlDownAndDownPastTheLastItemExpandAShortMenu) {
    HideCommands({103});
    for (int nWay = 0; nWay < 2; ++nWay) {
        PopupPtr pPopup(m_commandBars.MakePopup({101, 102, 103}));
        ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
        ASSERT_TRUE(pPopup->HasHiddenItems());
        pPopup->SetSelected(0, TRUE);
        if (nWay == 0) {
            CHeldKey ctrl(VK_CONTROL);
            EXPECT_EQ(pPopup->OnHookKeyDown(VK_DOWN, 0), CKLVCommandBar::hookKeyHandled);
        } else {
            pPopup->OnHookKeyDown(VK_DOWN, 0);
            EXPECT_EQ(pPopup->m_nSelected, 1);
            pPopup->OnHookKeyDown(VK_DOWN, 0);   // the expand item
            EXPECT_EQ(pPopup->GetControl(pPopup->m_nSelected)->GetId(), CKLVPopupBar::idExpandButton);
            EXPECT_FALSE(pPopup->IsExpanded());
            pPopup->OnHookKeyDown(VK_DOWN, 0);   // past the last item: no wrap to the top
        }
        EXPECT_TRUE(pPopup->IsExpanded()) << nWay;
        EXPECT_EQ(VisibleIds(pPopup.get()), (std::vector<int>{101, 102, 103})) << nWay;
        pPopup->SetTrackingMode(FALSE);
    }
    // An expanded menu wraps as usual.
    m_commandBars->GetOptions()->bAlwaysShowFullMenus = TRUE;
    PopupPtr pFull(m_commandBars.MakePopup({101, 102}));
    ASSERT_TRUE(pFull->Popup(100, 100, nullptr));
    pFull->SetSelected(1, TRUE);
    pFull->OnHookKeyDown(VK_DOWN, 0);
    EXPECT_EQ(pFull->m_nSelected, 0);
    pFull->SetTrackingMode(FALSE);
}

TEST_F(PopupBars, AMenuTallerThanTheWorkAreaScrollsOneControlATickAndStopsAtTheEnd) {
    std::initializer_list<int> ids = {101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116};
    PopupPtr pPopup(m_commandBars.MakePopup(ids));
    pPopup->m_rcWork = CRect(0, 0, 800, 200);
    ASSERT_TRUE(pPopup->Popup(100, 10, nullptr));
    ASSERT_TRUE(pPopup->IsScrolling());
    CRect rcWindow;
    pPopup->GetWindowRect(&rcWindow);
    EXPECT_LE(rcWindow.bottom, 200 - CKLVPopupBar::bottomReserve);
    EXPECT_EQ(pPopup->GetFirstVisible(), 0);
    EXPECT_TRUE(pPopup->GetScrollUp().rc.IsRectEmpty());
    const CRect rcDown = pPopup->GetScrollDown().rc;
    ASSERT_FALSE(rcDown.IsRectEmpty());
    EXPECT_EQ(rcDown.Height(), CKLVPopupBar::scrollArrowHeight);
    const int nShown = pPopup->GetEndVisible();
    ASSERT_GT(nShown, 1);
    ASSERT_LT(nShown, 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(pPopup->GetControl(i)->IsVisible(), i < nShown) << i;
    // The arrow is a small triangle in the button text colour, pointing down.
    CRect rcClient;
    pPopup->GetClientRect(&rcClient);
    {
        Dib picture(rcClient.Width(), rcClient.Height());
        pPopup->DrawCommandBar(&picture.m_dc, rcClient);
        const CPoint c = rcDown.CenterPoint();
        EXPECT_EQ(picture.At(c.x, c.y + 1), ::GetSysColor(COLOR_BTNTEXT));
        EXPECT_NE(picture.At(c.x, c.y - 2), ::GetSysColor(COLOR_BTNTEXT));
    }

    // The pointer on the arrow starts the timer; every tick brings in one more control.
    const CPoint ptArrow = rcDown.CenterPoint();
    pPopup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptArrow.x, ptArrow.y));
    EXPECT_NE(pPopup->GetScrollDown().nTimer, 0u);
    int nEnd = nShown;
    while (pPopup->GetEndVisible() < 16) {
        pPopup->SendMessage(WM_TIMER, CKLVPopupBar::timerScrollDown);
        ASSERT_EQ(pPopup->GetEndVisible(), nEnd + 1);
        nEnd = pPopup->GetEndVisible();
        EXPECT_FALSE(pPopup->GetControl(nEnd - 1)->GetHideFlags() & CKLVControl::hideExpand);
        EXPECT_TRUE(pPopup->GetControl(pPopup->GetFirstVisible() - 1)->GetHideFlags() & CKLVControl::hideExpand);
        EXPECT_FALSE(pPopup->GetScrollUp().rc.IsRectEmpty());
        if (nEnd < 16) {
            // The layout stopped the timer; the pointer still on the arrow starts it again.
            pPopup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptArrow.x, ptArrow.y + 1));
        }
    }
    EXPECT_TRUE(pPopup->GetScrollDown().rc.IsRectEmpty());
    EXPECT_EQ(pPopup->GetEndVisible(), 16);
    pPopup->SendMessage(WM_TIMER, CKLVPopupBar::timerScrollDown);   // at the end: nothing moves
    EXPECT_EQ(pPopup->GetEndVisible(), 16);
    EXPECT_EQ(pPopup->GetScrollDown().nTimer, 0u);

    // Selecting a control scrolled out of view brings it back.
    pPopup->SetSelected(0, TRUE);
    EXPECT_EQ(pPopup->GetFirstVisible(), 0);
    EXPECT_TRUE(pPopup->GetControl(0)->IsVisible());
    pPopup->SetTrackingMode(FALSE);
}

TEST_F(PopupBars, PlacementKeepsToTheWorkArea) {
    struct Case {
        const char* pszName;
        CRect rcExclude;
        DWORD dwFlags;
        CPoint pt;
        CRect rcWork;
        BOOL bAboveExclude;
    };
    const Case cases[] = {
        {"below a bar at the bottom edge", CRect(100, 570, 160, 590), CKLVPopupBar::directionBelow, CPoint(100, 590),
         CRect(0, 0, 800, 600), TRUE},
        {"below a bar with room", CRect(100, 20, 160, 40), CKLVPopupBar::directionBelow, CPoint(100, 40),
         CRect(0, 0, 800, 600), FALSE},
        {"second monitor's bottom edge", CRect(900, 1000, 960, 1020), CKLVPopupBar::directionBelow,
         CPoint(900, 1020), CRect(800, 0, 1600, 1024), TRUE},
    };
    for (const Case& c : cases) {
        PopupPtr pPopup(m_commandBars.MakePopup({101, 102, 103}));
        pPopup->m_rcWork = c.rcWork;
        pPopup->m_rcExclude = c.rcExclude;
        pPopup->m_ptPopup = c.pt;
        pPopup->m_dwPopupFlags = c.dwFlags;
        const CRect rc = pPopup->CalcPopupRect(CSize(120, 80));
        EXPECT_EQ(rc.Size(), CSize(120, 80)) << c.pszName;
        if (c.bAboveExclude)
            EXPECT_EQ(rc.bottom, c.rcExclude.top) << c.pszName;
        else
            EXPECT_EQ(rc.top, c.rcExclude.bottom) << c.pszName;
        EXPECT_TRUE(CRect().IntersectRect(rc, c.rcWork)) << c.pszName;
        EXPECT_FALSE(pPopup->IsScrolling()) << c.pszName;
    }
    // Near the right edge a popup opens to the left of its point.
    PopupPtr pPopup(m_commandBars.MakePopup({101}));
    pPopup->m_ptPopup = CPoint(780, 100);
    EXPECT_EQ(pPopup->CalcPopupRect(CSize(100, 50)).right, 800);
}

TEST_F(PopupBars, AnimationKindByTheOption) {
    PopupPtr pPopup(m_commandBars.MakePopup({101}));
    CKLVCommandBarsOptions* pOptions = m_commandBars->GetOptions();
    for (long nKind : {2L, 3L, 4L, 5L}) {
        pOptions->animateType = nKind;
        EXPECT_EQ(pPopup->GetAnimationKind(), nKind);
    }
    pOptions->animateType = CKLVPopupBar::animateRandom;
    std::set<int> kinds;
    for (int i = 0; i < 200; ++i) kinds.insert(pPopup->GetAnimationKind());
    EXPECT_EQ(kinds, (std::set<int>{2, 3, 4}));
    // Without command bars nothing animates.
    PopupPtr pLoose(new CWorkAreaPopup);
    EXPECT_EQ(pLoose->GetAnimationKind(), CKLVPopupBar::animateNone);
}

TEST_F(PopupBars, ATearOffDragEndsOnQuitAndPostsItAgain) {
    PopupPtr pPopup(m_commandBars.MakePopup({101, 102}));
    pPopup->SetPaintManager(new CGripperTheme);
    pPopup->m_bTearOffPopup = TRUE;
    pPopup->m_strTearOffCaption = "Torn";
    pPopup->m_nTearOffID = 300;
    ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
    const CRect rcGripper = pPopup->m_rcTearOffGripper;
    ASSERT_FALSE(rcGripper.IsRectEmpty());
    ::PostQuitMessage(7);
    pPopup->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcGripper.CenterPoint().x, rcGripper.CenterPoint().y));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(KLVMouseHook()->m_nLock, 0);
    CKLVCommandBar* pBar = pPopup->GetTearOffBar();
    ASSERT_NE(pBar, nullptr);
    EXPECT_EQ(pBar->m_nBarID, 300u);
    EXPECT_FALSE(pBar->IsVisible());   // a drag that did not end with a drop hides the bar again
    ASSERT_NE(pBar->GetControls()->FindControl(101), nullptr);   // copies of the popup's commands
    EXPECT_TRUE(pBar->GetControls()->FindControl(102)->IsVisible(CKLVControl::hideGeneric));
    EXPECT_EQ(pBar->GetControls()->FindControl(CKLVPopupBar::idExpandButton), nullptr);
    EXPECT_EQ(std::count(m_site.m_popupMessages.begin(), m_site.m_popupMessages.end(), CKLVPopupBar::msgTornOff), 1);
    pPopup->SetTrackingMode(FALSE);
}


TEST_F(PopupBars, ATearOffFloatsTheToolBarOfItsIdOrMakesOneWithTheCommands) {
    CKLVCommandBar* pMine = m_commandBars->AddCustomToolBar("Mine", 310, TRUE);
    ASSERT_NE(pMine, nullptr);
    pMine->GetControls()->Add(CKLVControl::typeButton, 555);
    const struct {
        const char* name;
        UINT nTearOffID;
        CKLVCommandBar* pExpected;   // null: a new bar
    } rows[] = {{"no bar of the id", 320, nullptr}, {"a tool bar of the id", 310, pMine}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PopupPtr pPopup(m_commandBars.MakePopup({101}));
        pPopup->SetPaintManager(new CGripperTheme);
        pPopup->m_bTearOffPopup = TRUE;
        pPopup->m_strTearOffCaption = "Torn";
        pPopup->m_nTearOffID = row.nTearOffID;
        ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
        const CPoint ptGripper = pPopup->m_rcTearOffGripper.CenterPoint();
        ::PostQuitMessage(0);
        pPopup->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptGripper.x, ptGripper.y));
        MSG msg;
        ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        CKLVCommandBar* pBar = pPopup->GetTearOffBar();
        ASSERT_NE(pBar, nullptr);
        EXPECT_EQ(pBar->m_nBarID, row.nTearOffID);
        EXPECT_EQ(pBar->GetPosition(), CKLVCommandBar::barFloating);
        if (row.pExpected) {
            EXPECT_EQ(pBar, row.pExpected);
            EXPECT_EQ(pBar->GetControls()->FindControl(101), nullptr);   // its own commands, not the popup's
            EXPECT_NE(pBar->GetControls()->FindControl(555), nullptr);
        } else {
            EXPECT_NE(pBar, pMine);
            EXPECT_NE(pBar->GetControls()->FindControl(101), nullptr);
        }
        pPopup->SetTrackingMode(FALSE);
    }
}

}  // namespace
