// Tool bars: the docked layout with and without the options button's room, the floating close
// button, the add-or-remove list, reset with its question, temporary bars, stand-alone bars at
// the top of their parent, and the drag loop (moving, keeping floats on the work area, ending).
#include "AnsweringApp.h"
#include "ControlTestSupport.h"
#include "classlib/ControlBar.h"
#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"
#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/dockbars/DockBar.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/ToolBarControls.h"
#include "toolkit/commandbars/ToolBarTracker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace commandbars_test {
namespace {

const DWORD kDocked = CKLVControls::modeHorzDock | CKLVControls::modeHorz;
const DWORD kCommit = CKLVControls::modeCommit;
const DWORD kFloating = CKLVControls::modeMRULength | CKLVControls::modeHorz | CKLVControls::modeCommit;

class ToolBars : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        m_bar.m_pCommandBars = &m_commandBars;
        m_bar.m_pLink = &m_commandBars;
        m_bar.m_barPosition = CKLVCommandBar::barTop;
    }
    void AddButtons(CKLVToolBar& bar, int nCount) {
        for (int i = 0; i < nCount; ++i) bar.GetControls()->Add(new CFixedControl, 100 + i);
    }
    CKLVControl* Special(CKLVToolBar& bar, UINT nId) { return bar.GetControls()->FindControl(static_cast<int>(nId)); }
    BOOL Shown(CKLVToolBar& bar, UINT nId) {
        CKLVControl* pControl = Special(bar, nId);
        return pControl && pControl->IsVisible();
    }

    CKLVCommandBars m_commandBars;
    CKLVToolBar m_bar;
};

}  // namespace

TEST_F(ToolBars, TheDockedLayoutLeavesRoomForTheOptionsButtonWhenItShows) {
    // Three 20 x 20 buttons inside borders of 2: one row is 64 by 24.
    const struct {
        const char* what;
        BOOL bAlways;
        int nLength;
        DWORD dwMode;
        CSize sz;
        BOOL bButton;
        BOOL bChevrons;
    } cases[] = {
        {"always, committed", TRUE, 200, kDocked | kCommit, CSize(75, 24), TRUE, FALSE},
        {"always, measured", TRUE, 200, kDocked, CSize(75, 24), TRUE, FALSE},
        {"on demand, all fit", FALSE, 200, kDocked | kCommit, CSize(64, 24), FALSE, FALSE},
        {"on demand, some hidden", FALSE, 50, kDocked | kCommit | CKLVControls::modeHideWrap, CSize(35, 24), TRUE, TRUE},
        {"on demand, measured in two rows", FALSE, 50, kDocked, CSize(44, 44 + 11), FALSE, FALSE},
        {"on demand, measured in one row", FALSE, 200, kDocked, CSize(64, 24), FALSE, FALSE},
    };
    AddButtons(m_bar, 3);
    for (const auto& c : cases) {
        m_commandBars.GetOptions()->bShowExpandButtonAlways = c.bAlways;
        m_bar.m_nIdleFlags = CKLVCommandBar::delayLayout;
        EXPECT_EQ(m_bar.CalcDockingLayout(c.nLength, c.dwMode), c.sz) << c.what;
        EXPECT_EQ(Shown(m_bar, CKLVToolBar::idToolBarOptions), c.bButton) << c.what;
        EXPECT_FALSE(Shown(m_bar, CKLVToolBar::idCloseButton)) << c.what;
        // A pending layout is done once committed.
        EXPECT_EQ(m_bar.m_nIdleFlags, (c.dwMode & kCommit) ? 0u : UINT(CKLVCommandBar::delayLayout)) << c.what;
        auto* pOptions = static_cast<CKLVControlToolBarOptions*>(Special(m_bar, CKLVToolBar::idToolBarOptions));
        if (c.bButton && (c.dwMode & kCommit)) {
            // The paint manager puts the button in the room at the end of the bar.
            EXPECT_EQ(pOptions->GetRect(), CRect(c.sz.cx - 13, 2, c.sz.cx - 2, c.sz.cy - 2)) << c.what;
            EXPECT_EQ(pOptions->m_bHiddenControls, c.bChevrons) << c.what;
        }
    }
    m_bar.m_bShowOptionsButton = FALSE;
    EXPECT_EQ(m_bar.CalcDockingLayout(200, kDocked | kCommit), CSize(64, 24));
    EXPECT_FALSE(Shown(m_bar, CKLVToolBar::idToolBarOptions));
}

TEST_F(ToolBars, AFloatingBarHasItsCloseButtonInTheCaptionCorner) {
    AddButtons(m_bar, 3);
    m_bar.m_barPosition = CKLVCommandBar::barFloating;
    CRect rcBorders;
    m_bar.GetBorders(rcBorders);
    EXPECT_EQ(rcBorders, CRect(3, 3, 3, 3));
    const struct {
        BOOL bCloseable, bAlways;
    } cases[] = {{TRUE, TRUE}, {TRUE, FALSE}, {FALSE, TRUE}};
    for (const auto& c : cases) {
        m_bar.m_bCloseable = c.bCloseable;
        m_commandBars.GetOptions()->bShowExpandButtonAlways = c.bAlways;
        const CSize sz = m_bar.CalcDynamicLayout(-1, kFloating);
        // The first button lies below the caption.
        const int nCaption = m_bar.GetControl(0)->GetRect().top - 3;
        EXPECT_GE(nCaption, 15);
        EXPECT_EQ(sz.cx, 3 + 60 + 3) << c.bCloseable;
        EXPECT_EQ(Shown(m_bar, CKLVToolBar::idCloseButton), c.bCloseable);
        const int nRight = sz.cx - 3 - (c.bCloseable ? nCaption : 0);
        if (c.bCloseable) {
            EXPECT_EQ(Special(m_bar, CKLVToolBar::idCloseButton)->GetRect(), CRect(sz.cx - 3 - nCaption, 3, sz.cx - 3, 3 + nCaption));
        }
        EXPECT_EQ(Shown(m_bar, CKLVToolBar::idToolBarOptions), c.bAlways);
        if (c.bAlways) {
            EXPECT_EQ(Special(m_bar, CKLVToolBar::idToolBarOptions)->GetRect(), CRect(nRight - nCaption, 3, nRight, 3 + nCaption));
        }
    }
}

TEST_F(ToolBars, TheAddOrRemoveListShowsAndHidesTheLoadedButtons) {
    m_bar.SetTitle("Standard");
    ASSERT_TRUE(m_bar.LoadToolBar(128, FALSE));
    ASSERT_EQ(m_bar.GetControlCount(), 3);
    // The user moved the last button to the front and hid it, and hid nothing else.
    CKLVControl* pMoved = m_bar.GetControl(2);
    pMoved->InternalAddRef();   // taken back by the insertion
    m_bar.GetControls()->Remove(pMoved);
    m_bar.GetControls()->InsertAt(pMoved, 0);
    pMoved->SetHideFlag(CKLVControl::hideCustomize, TRUE);

    CKLVPopupBar list;
    m_bar.FillAddRemoveButtons(&list);
    // The hidden button went back to its loaded place; one line per button, then reset.
    const int ids[] = {57600, 57601, 57603};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(m_bar.GetControl(i)->GetId(), ids[i]) << i;
    ASSERT_EQ(list.GetControlCount(), 4);
    const BOOL checked[] = {TRUE, TRUE, FALSE};
    for (int i = 0; i < 3; ++i) {
        auto* pItem = static_cast<CKLVControlToolBarAddRemoveItem*>(list.GetControl(i));
        EXPECT_EQ(pItem->GetTarget(), m_bar.GetControl(i)) << i;
        EXPECT_EQ(pItem->GetChecked(), checked[i]) << i;
        EXPECT_EQ(pItem->GetImageId(), ids[i]) << i;
    }
    CKLVControl* pReset = list.GetControl(3);
    EXPECT_EQ(pReset->GetId(), int(CKLVToolBar::idResetToolBar));
    EXPECT_TRUE(pReset->GetBeginGroup());
    EXPECT_STREQ(pReset->GetCaption(), "&Reset Toolbar");

    // Each line toggles hide flag 16 of its button and its own check.
    list.GetControl(0)->OnExecute();
    list.GetControl(2)->OnExecute();
    EXPECT_TRUE(m_bar.GetControl(0)->GetHideFlags() & CKLVControl::hideCustomize);
    EXPECT_FALSE(m_bar.GetControl(2)->GetHideFlags() & CKLVControl::hideCustomize);
    EXPECT_FALSE(list.GetControl(0)->GetChecked());
    EXPECT_TRUE(list.GetControl(2)->GetChecked());
    EXPECT_TRUE(m_bar.IsResetAvailable());

    // A temporary bar offers no reset.
    CKLVPopupBar temporaryList;
    m_bar.SetTemporary(TRUE);
    m_bar.FillAddRemoveButtons(&temporaryList);
    EXPECT_EQ(temporaryList.GetControlCount(), 3);
    m_bar.SetTemporary(FALSE);
}

TEST_F(ToolBars, ResetAsksFirstAndCancelChangesNothing) {
    m_bar.SetTitle("Standard");
    ASSERT_TRUE(m_bar.LoadToolBar(128, FALSE));
    m_bar.GetControls()->Remove(m_bar.GetControl(1));
    EXPECT_TRUE(m_bar.IsResetAvailable());
    {
        CAnsweringApp app(IDCANCEL);
        m_bar.ResetToolBar(TRUE);
        ASSERT_EQ(app.m_prompts.size(), 1u);
        EXPECT_EQ(app.m_prompts[0], "Are you sure you want to reset the changes made to the 'Standard' toolbar?");
        EXPECT_EQ(app.m_nType, UINT(MB_OKCANCEL | MB_ICONWARNING));
    }
    EXPECT_EQ(m_bar.GetControlCount(), 2);
    {
        CAnsweringApp app(IDOK);
        m_bar.ResetToolBar(TRUE);
    }
    ASSERT_EQ(m_bar.GetControlCount(), 3);
    EXPECT_EQ(m_bar.GetControl(1)->GetId(), 57601);
    EXPECT_TRUE(m_bar.GetControl(1)->GetBeginGroup());
    EXPECT_FALSE(m_bar.IsResetAvailable());
    // Without asking, and not at all for a bar that may not be reset.
    m_bar.GetControls()->Remove(m_bar.GetControl(0));
    m_bar.m_bResettable = FALSE;
    m_bar.ResetToolBar(FALSE);
    EXPECT_EQ(m_bar.GetControlCount(), 2);
    m_bar.m_bResettable = TRUE;
    m_bar.ResetToolBar(FALSE);
    EXPECT_EQ(m_bar.GetControlCount(), 3);
}

// Records every create request (id, index, type, caption) and the controls it is told of;
// turns one id into a split popup.
class CTypingSite : public CTestSite {
public:
    struct CRequest {
        int nId, nIndex, nType;
        std::string strCaption;
        bool operator==(const CRequest& other) const {
            return nId == other.nId && nIndex == other.nIndex && nType == other.nType && strCaption == other.strCaption;
        }
    };
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        auto* pCreate = reinterpret_cast<KLVCREATECONTROLSTRUCT*>(lParam);
        if (message == CKLVControls::msgCreateControl) {
            m_requests.push_back({pCreate->nId, pCreate->nIndex, pCreate->controlType, pCreate->lpszCaption});
            if (pCreate->nId == m_nPopupFor) pCreate->controlType = CKLVControl::typeSplitButtonPopup;
        }
        if (message == CKLVControls::msgControlCreated) m_told.push_back(pCreate->pControl);
        return CTestSite::WindowProc(message, wParam, lParam);
    }
    std::vector<CRequest> m_requests;
    std::vector<CKLVControl*> m_told;
    int m_nPopupFor = 0;
};

TEST_F(ToolBars, LoadedButtonsAreMadeThroughTheSite) {
    CTypingSite site;
    site.m_nPopupFor = 57601;
    auto* pSupplied = new CFixedControl;
    site.m_pSupplied = pSupplied;
    site.m_nSupplyFor = 57603;
    m_bar.m_pSiteOverride = &site;
    ASSERT_TRUE(m_bar.LoadToolBar(128, FALSE));
    m_bar.m_pSiteOverride = nullptr;

    // Each id asked as a button with no caption at its place in the resource (the 0 counts).
    const std::vector<CTypingSite::CRequest> requests = {
        {57600, 0, CKLVControl::typeButton, ""}, {57601, 2, CKLVControl::typeButton, ""},
        {57603, 3, CKLVControl::typeButton, ""}};
    EXPECT_EQ(site.m_requests, requests);
    const UINT ask = CKLVControls::msgCreateControl, told = CKLVControls::msgControlCreated;
    EXPECT_EQ(site.m_messages, (std::vector<UINT>{ask, told, ask, told, ask, told}));
    ASSERT_EQ(m_bar.GetControlCount(), 3);
    EXPECT_EQ(site.m_told, (std::vector<CKLVControl*>{m_bar.GetControl(0), m_bar.GetControl(1), m_bar.GetControl(2)}));
    EXPECT_EQ(m_bar.GetControl(0)->GetType(), CKLVControl::typeButton);
    EXPECT_EQ(m_bar.GetControl(1)->GetType(), CKLVControl::typeSplitButtonPopup);
    EXPECT_EQ(m_bar.GetControl(1)->GetId(), 57601);
    EXPECT_TRUE(m_bar.GetControl(1)->GetBeginGroup());
    EXPECT_EQ(m_bar.GetControl(2), pSupplied);
    EXPECT_EQ(pSupplied->GetId(), 57603);
    EXPECT_FALSE(pSupplied->GetBeginGroup());
    // What the site made is the set a reset goes back to.
    EXPECT_FALSE(m_bar.IsResetAvailable());
}

TEST_F(ToolBars, IconSizesFollowTheBarTheOptionsAndTheButtonSize) {
    CKLVCommandBarsOptions* pOptions = m_commandBars.GetOptions();
    const CSize none(0, 0), auto16 = m_bar.GetPaintManager()->GetAutoIconSize(FALSE),
                auto32 = m_bar.GetPaintManager()->GetAutoIconSize(TRUE);
    const struct {
        CSize szBar, szButtons, szIcons, szLargeIcons;
        BOOL bLargeIcons;
        CSize szExpected, szLargeExpected, szLargeAutoExpected;
    } cases[] = {
        // The bar's own size wins; large buttons are twice it.
        {{24, 24}, none, {20, 20}, none, TRUE, {24, 24}, {48, 48}, auto32},
        {none, none, none, none, FALSE, auto16, {32, 32}, auto32},
        {none, none, {20, 20}, none, FALSE, {20, 20}, {40, 40}, auto32},
        // "LargeIcons" takes "LargeIconsSize", else the automatic large size.
        {none, none, {20, 20}, none, TRUE, auto32, {40, 40}, auto32},
        {none, none, {20, 20}, {40, 36}, TRUE, {40, 36}, {40, 36}, {40, 36}},
        // A button size keeps the icons at their base size.
        {none, {30, 30}, {20, 20}, {40, 36}, TRUE, {20, 20}, {20, 20}, {20, 20}},
        {{18, 18}, {30, 30}, none, none, FALSE, {18, 18}, {18, 18}, {18, 18}},
    };
    for (const auto& c : cases) {
        m_bar.m_szIcons = c.szBar;
        m_bar.m_szButtons = c.szButtons;
        pOptions->szIcons = c.szIcons;
        pOptions->szLargeIcons = c.szLargeIcons;
        pOptions->bLargeIcons = c.bLargeIcons;
        const std::string where = std::to_string(c.szBar.cx) + "/" + std::to_string(c.szButtons.cx) + "/" +
                                  std::to_string(c.szIcons.cx) + "/" + std::to_string(c.szLargeIcons.cx) +
                                  (c.bLargeIcons ? " large" : "");
        EXPECT_EQ(m_bar.GetIconSize(), c.szExpected) << where;
        EXPECT_EQ(m_bar.GetLargeIconSize(FALSE), c.szLargeExpected) << where;
        EXPECT_EQ(m_bar.GetLargeIconSize(TRUE), c.szLargeAutoExpected) << where;
    }

    // Popup bars read their own size and never the large one.
    CKLVPopupBar popup;
    popup.m_pLink = &m_commandBars;
    pOptions->bLargeIcons = TRUE;
    pOptions->szPopupIcons = CSize(0, 0);
    EXPECT_EQ(popup.GetIconSize(), auto16);
    pOptions->szPopupIcons = CSize(12, 12);
    EXPECT_EQ(popup.GetIconSize(), CSize(12, 12));

    // Without command bars: 16 by 16, large twice the bar's or 32 by 32.
    CKLVToolBar alone;
    EXPECT_EQ(alone.GetIconSize(), CSize(16, 16));
    EXPECT_EQ(alone.GetLargeIconSize(TRUE), CSize(32, 32));
    alone.m_szIcons = CSize(20, 18);
    EXPECT_EQ(alone.GetLargeIconSize(FALSE), CSize(40, 36));
}

TEST_F(ToolBars, TextBelowIconsTwoFollowsTheOption) {
    CKLVToolBar alone;
    const struct {
        CKLVToolBar* pBar;
        int nSetting;
        BOOL bOption, bExpected;
    } cases[] = {
        {&m_bar, 2, TRUE, TRUE}, {&m_bar, 2, FALSE, FALSE}, {&m_bar, 1, FALSE, TRUE},
        {&m_bar, 0, TRUE, FALSE}, {&alone, 2, TRUE, FALSE}, {&alone, 1, FALSE, TRUE},
    };
    for (const auto& c : cases) {
        c.pBar->m_nShowTextBelowIcons = c.nSetting;
        m_commandBars.GetOptions()->bShowTextBelowIcons = c.bOption;
        EXPECT_EQ(c.pBar->IsTextBelowIcons(), c.bExpected) << c.nSetting << " " << c.bOption << " " << (c.pBar == &alone);
    }
}

TEST_F(ToolBars, AStandAloneBarTakesTheTopOfItsParent) {
    CTestSite parent;
    parent.MoveWindow(0, 0, 300, 200);
    CKLVToolBar bar;
    ASSERT_TRUE(bar.CreateToolBar(WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS, &parent, 0xE81F));
    EXPECT_EQ(bar.GetTracker(), nullptr);
    EXPECT_EQ(bar.m_nFlags & CKLVToolBar::flagMoveMask, 0u);
    EXPECT_EQ(bar.GetPosition(), CKLVCommandBar::barTop);
    EXPECT_EQ(bar.GetDlgCtrlID(), 0xE81F);
    char szClass[32] = {};
    ::GetClassNameA(bar.GetSafeHwnd(), szClass, sizeof(szClass));
    EXPECT_STREQ(szClass, "KLVToolBar");
    EXPECT_TRUE(bar.GetStyle() & WS_CLIPSIBLINGS);
    AddButtons(bar, 3);

    AFX_SIZEPARENTPARAMS layout = {};
    layout.rect = CRect(0, 0, 300, 200);
    layout.hDWP = ::BeginDeferWindowPos(1);
    bar.SendMessage(WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    ::EndDeferWindowPos(layout.hDWP);
    // Three buttons with the options button's room, on top.
    EXPECT_EQ(CRect(layout.rect), CRect(0, 24, 300, 200));
    EXPECT_EQ(layout.sizeTotal.cx, 75);
    EXPECT_EQ(layout.sizeTotal.cy, 24);
    CRect rc;
    bar.GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 75, 24));
    // A stand-alone bar cannot float.
    EXPECT_FALSE(bar.SetPosition(CKLVCommandBar::barFloating));
}

}  // namespace commandbars_test
