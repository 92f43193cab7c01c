// The command bars manager: adding and removing bars, walking to the next visible bar, hidden
// commands and popups, the site's answer to the customize command, keyboard cues, and what the
// bars read of the options through it; the MDI frame that hands them its accelerators.
#include "ControlTestSupport.h"
#include "toolkit/commandbars/manager/ContextMenus.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/frame/MDIFrameWnd.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/common/KeyboardHook.h"
#include "toolkit/common/MouseHook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace commandbars_test {

// A bar whose window the position makes, unless told to fail.
class CManagedTestBar : public CKLVCommandBar {
    DECLARE_DYNCREATE(CManagedTestBar)
public:
    BOOL SetPosition(int nPosition) override {
        if (s_bFail) return FALSE;
        m_barPosition = nPosition;
        return GetSafeHwnd() || CreateEx(0, AfxRegisterWndClass(0), "bar", WS_POPUP, CRect(0, 0, 50, 20), nullptr, 0);
    }
    void SetVisible(BOOL bVisible) override { m_bVisible = bVisible; }
    BOOL IsVisible() const override { return m_bVisible; }
    void OnRecalcLayout() override { ++m_nLayouts; }
    int m_nLayouts = 0;
    static BOOL s_bFail;
};

// Counts the theme changes it is told of.
class CThemeCountingControl : public CKLVControlButton {
public:
    void OnThemeChanged() override { ++m_nThemeChanges; }
    int m_nThemeChanges = 0;
};
BOOL CManagedTestBar::s_bFail = FALSE;
IMPLEMENT_DYNCREATE(CManagedTestBar, CKLVCommandBar)

// A site that has a handler for the customize command and counts its runs.
class CCustomizeSite : public CTestSite {
public:
    afx_msg void OnCustomize() { ++m_nRuns; }
    int m_nRuns = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCustomizeSite, CTestSite)
    ON_COMMAND(CKLVCommandBars::idCustomizeCommand, OnCustomize)
END_MESSAGE_MAP()

namespace {

class CommandBars : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        CManagedTestBar::s_bFail = FALSE;
    }
    CKLVCommandBar* AddBar(BOOL bVisible = TRUE, UINT nBarID = 0) {
        CKLVCommandBar* pBar = m_commandBars.Add("bar", CKLVCommandBar::barTop, RUNTIME_CLASS(CManagedTestBar));
        pBar->m_bVisible = bVisible;
        pBar->m_nBarID = nBarID;
        return pBar;
    }
    CKLVCommandBars m_commandBars;
};

}  // namespace

TEST_F(CommandBars, AddMakesTheWindowOrNothingAndRemoveLetsTheBarGo) {
    CKLVCommandBar* pFirst = AddBar(TRUE, 5);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_TRUE(::IsWindow(pFirst->GetSafeHwnd()));
    EXPECT_EQ(pFirst->GetCommandBars(), &m_commandBars);
    EXPECT_EQ(pFirst->GetCommandBarsLink(), &m_commandBars);
    EXPECT_STREQ(pFirst->GetTitle(), "bar");

    CManagedTestBar::s_bFail = TRUE;
    EXPECT_EQ(m_commandBars.Add("broken", CKLVCommandBar::barTop, RUNTIME_CLASS(CManagedTestBar)), nullptr);
    EXPECT_EQ(m_commandBars.Add("not a bar", CKLVCommandBar::barTop, RUNTIME_CLASS(CKLVControl)), nullptr);
    // No dock bars yet: a tool bar of the default class has nowhere to go.
    EXPECT_EQ(m_commandBars.Add("default", CKLVCommandBar::barTop), nullptr);
    EXPECT_EQ(m_commandBars.GetCount(), 1);
    CManagedTestBar::s_bFail = FALSE;

    CKLVCommandBar* pSecond = AddBar(TRUE, 6);
    EXPECT_EQ(m_commandBars.FindCommandBar(6), pSecond);
    EXPECT_EQ(m_commandBars.FindCommandBar(0), nullptr);
    EXPECT_EQ(m_commandBars.FindIndex(pSecond), 1);
    EXPECT_EQ(m_commandBars.GetAt(2), nullptr);
    const HWND hFirst = pFirst->GetSafeHwnd();
    m_commandBars.Remove(pFirst);
    EXPECT_FALSE(::IsWindow(hFirst));
    EXPECT_EQ(m_commandBars.GetCount(), 1);
    m_commandBars.Remove(pFirst);   // not held any more: nothing happens
    EXPECT_EQ(m_commandBars.GetCount(), 1);

    const HWND hSecond = pSecond->GetSafeHwnd();
    {
        CKLVCommandBars* pOther = new CKLVCommandBars;
        CKLVCommandBar* pBar = pOther->Add("other", CKLVCommandBar::barTop, RUNTIME_CLASS(CManagedTestBar));
        const HWND hOther = pBar->GetSafeHwnd();
        pOther->InternalRelease();
        EXPECT_FALSE(::IsWindow(hOther));
    }
    m_commandBars.RemoveAll();
    EXPECT_FALSE(::IsWindow(hSecond));
    EXPECT_EQ(m_commandBars.GetCount(), 0);
}

TEST_F(CommandBars, ASettingsChangeRefreshesEveryControlAndReLaysTheVisibleBars) {
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW));
    m_commandBars.SetSite(pFrame);
    std::vector<CThemeCountingControl*> controls;
    for (BOOL bVisible : {TRUE, FALSE}) {
        CKLVCommandBar* pBar = AddBar(bVisible);
        for (int i = 0; i < 2; ++i) {
            controls.push_back(new CThemeCountingControl);
            pBar->GetControls()->Add(controls.back(), 100 + i);
        }
    }
    pFrame->m_nIdleFlags = CFrameWnd::idleLayout;

    m_commandBars.UpdateCommandBars();
    for (CThemeCountingControl* pControl : controls) EXPECT_EQ(pControl->m_nThemeChanges, 1);
    EXPECT_EQ(static_cast<CManagedTestBar*>(m_commandBars.GetAt(0))->m_nLayouts, 1);
    EXPECT_EQ(static_cast<CManagedTestBar*>(m_commandBars.GetAt(1))->m_nLayouts, 0);
    // The lock is gone: the frame was re-laid at once (its pending layout is done).
    EXPECT_EQ(pFrame->m_nIdleFlags & CFrameWnd::idleLayout, 0u);
    m_commandBars.RemoveAll();
    m_commandBars.SetSite(nullptr);
    pFrame->DestroyWindow();
}

TEST_F(CommandBars, TheNextControlGoesOnInTheNextVisibleBarsOnlyWithCuesAcrossBars) {
    // first: 10, 11 (disabled); a hidden bar: 20; last: 30.
    CKLVCommandBar* pFirst = AddBar();
    CKLVCommandBar* pHidden = AddBar(FALSE);
    CKLVCommandBar* pLast = AddBar();
    CKLVControls* pFirstControls = pFirst->GetControls();
    pFirstControls->Add(CKLVControl::typeButton, 10);
    pFirstControls->Add(CKLVControl::typeButton, 11)->SetEnabled(FALSE);
    pHidden->GetControls()->Add(CKLVControl::typeButton, 20);
    pLast->GetControls()->Add(CKLVControl::typeButton, 30);
    auto next = [this](CKLVCommandBar* pBar, int nIndex) {
        CKLVControl* pControl = m_commandBars.GetNextControl(pBar->GetControls(), nIndex);
        return pControl ? pControl->GetId() : -1;
    };
    m_commandBars.GetOptions()->keyboardCuesUse = 0;
    EXPECT_EQ(next(pFirst, -1), 10);
    EXPECT_EQ(next(pFirst, 0), 10) << "the disabled one is passed over and the set starts again";
    EXPECT_EQ(next(pLast, 0), 30);
    m_commandBars.GetOptions()->keyboardCuesUse = 1;
    EXPECT_EQ(next(pFirst, 0), 30) << "the hidden bar is passed over";
    EXPECT_EQ(next(pLast, 0), 10) << "from the last bar to the first";
    pFirst->m_bVisible = FALSE;
    EXPECT_EQ(next(pLast, 0), -1) << "back at its own bar: none";
    EXPECT_EQ(m_commandBars.GetKeyboardHook(), KLVKeyboardHook());
    EXPECT_EQ(CKLVCommandBars::GetMouseHook(), KLVMouseHook());
}

TEST_F(CommandBars, TheNextVisibleBarWrapsOnceAndComesBackToTheStart) {
    struct Case {
        std::vector<BOOL> visible;
        int nIndex, nStep, nNext;
    };
    const Case cases[] = {
        {{TRUE, FALSE, TRUE, FALSE}, 0, 1, 2},
        {{TRUE, FALSE, TRUE, FALSE}, 2, 1, 0},     // wraps from the end
        {{TRUE, FALSE, TRUE, FALSE}, 3, 1, 0},
        {{TRUE, FALSE, TRUE, FALSE}, 0, -1, 2},    // wraps from the start
        {{FALSE, TRUE, FALSE}, 1, 1, 1},           // no other bar is visible
        {{FALSE, TRUE, FALSE}, 1, -1, 1},
        {{TRUE, FALSE, TRUE}, -1, 1, 0},
        {{FALSE, FALSE, TRUE}, -1, -1, 2},         // backward from -1 starts at the last bar
        {{FALSE, FALSE, FALSE}, -1, 1, -1},        // forward from -1 does not wrap
        {{FALSE, FALSE, FALSE}, -1, -1, -1},
        {{FALSE, FALSE, FALSE}, 0, 1, 0},
        {{}, 0, 1, -1},
    };
    for (const Case& c : cases) {
        m_commandBars.RemoveAll();
        for (BOOL bVisible : c.visible) AddBar(bVisible);
        EXPECT_EQ(m_commandBars.GetNextVisibleBar(c.nIndex, c.nStep), c.nNext)
            << c.visible.size() << " bars, from " << c.nIndex << " by " << c.nStep;
    }
}

TEST_F(CommandBars, PopupsOfHiddenCommandsHideWhenAskedAndCyclesEnd) {
    CKLVCommandBarsOptions* pOptions = m_commandBars.GetOptions();
    pOptions->m_mapHiddenCommands.SetAt(10, TRUE);
    pOptions->m_mapHiddenCommands.SetAt(11, TRUE);
    EXPECT_TRUE(m_commandBars.IsCommandHidden(10));
    m_commandBars.SetCommandUsed(11);
    EXPECT_FALSE(m_commandBars.IsCommandHidden(11));
    EXPECT_TRUE(pOptions->bDirty);
    m_commandBars.SetCommandUsed(12);   // not hidden: not entered
    BOOL bValue;
    EXPECT_FALSE(pOptions->m_mapUsedCommands.Lookup(12, bValue));

    // Popup bars: one of hidden commands, one with a used command, an empty one, and two that
    // open each other.
    auto popupOf = [](std::vector<int> ids) {
        auto* pPopup = new CKLVControlPopup;
        auto* pBar = new CKLVPopupBar;
        for (int nId : ids) pBar->GetControls()->Add(CKLVControl::typeButton, nId);
        pPopup->SetCommandBar(pBar);
        pBar->InternalRelease();
        return pPopup;
    };
    CKLVControlPopup* pHidden = popupOf({10, 10});
    CKLVControlPopup* pUsed = popupOf({10, 11});
    CKLVControlPopup* pEmpty = popupOf({});
    CKLVControlPopup* pCycleA = popupOf({10});
    CKLVControlPopup* pCycleB = popupOf({10});
    pCycleA->GetCommandBar()->GetControls()->Append(pCycleB);
    pCycleB->GetCommandBar()->GetControls()->Add(CKLVControl::typeButton, 10);
    auto* pBack = static_cast<CKLVControlPopup*>(pCycleB->GetCommandBar()->GetControls()->Add(CKLVControl::typePopup, 0));
    pBack->SetCommandBar(pCycleA->GetCommandBar());
    const struct {
        const char* what;
        CKLVControlPopup* pPopup;
        BOOL bAutoHide, bHidden;
    } cases[] = {
        {"all hidden", pHidden, TRUE, TRUE},
        {"all hidden, option off", pHidden, FALSE, FALSE},
        {"one used", pUsed, TRUE, FALSE},
        {"empty", pEmpty, TRUE, FALSE},
        {"cycle", pCycleA, TRUE, FALSE},
    };
    for (const auto& c : cases) {
        pOptions->bAutoHideUnusedPopups = c.bAutoHide;
        EXPECT_EQ(m_commandBars.IsControlHidden(c.pPopup), c.bHidden) << c.what;
    }
    pBack->SetCommandBar(nullptr);
    for (CKLVControlPopup* pPopup : {pHidden, pUsed, pEmpty, pCycleA}) pPopup->InternalRelease();
}

TEST_F(CommandBars, TheSiteIsAskedForTheCustomizeCommandWithoutRunningIt) {
    CCustomizeSite answering;
    CTestSite silent;
    m_commandBars.SetSite(&answering);
    EXPECT_TRUE(m_commandBars.IsCustomizeAvail());
    EXPECT_EQ(answering.m_nRuns, 0);
    EXPECT_EQ(m_commandBars.GetSite(), &answering);
    m_commandBars.SetSite(&silent);
    EXPECT_FALSE(m_commandBars.IsCustomizeAvail());
    EXPECT_FALSE(m_commandBars.IsLayoutRTL());
}

TEST_F(CommandBars, KeyboardCuesShowOnDemandWhenTheSystemHidesThem) {
    BOOL bSaved = TRUE;
    ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &bSaved, 0);
    ::SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(FALSE)), 0);
    CKLVCommandBar* pBar = AddBar();
    m_commandBars.GetOptions()->SetKeyboardCuesShow(CKLVCommandBarsOptions::cuesShowAsSystem);
    EXPECT_FALSE(pBar->IsKeyboardCuesVisible());
    m_commandBars.ShowKeyboardCues(TRUE);   // Alt pressed
    EXPECT_TRUE(pBar->IsKeyboardCuesVisible());
    m_commandBars.OnTrackingModeChanged(pBar, 0);   // released with no popup open
    EXPECT_FALSE(pBar->IsKeyboardCuesVisible());
    m_commandBars.SetCustomizeMode(TRUE);
    EXPECT_TRUE(pBar->IsKeyboardCuesVisible());
    m_commandBars.SetCustomizeMode(FALSE);
    EXPECT_FALSE(pBar->IsKeyboardCuesVisible());

    m_commandBars.GetOptions()->SetKeyboardCuesShow(CKLVCommandBarsOptions::cuesShowNever);
    m_commandBars.ShowKeyboardCues(TRUE);   // not on demand: the setting holds
    EXPECT_FALSE(pBar->IsKeyboardCuesVisible());
    m_commandBars.GetOptions()->SetKeyboardCuesShow(CKLVCommandBarsOptions::cuesShowAlways);
    m_commandBars.ShowKeyboardCues(FALSE);
    EXPECT_TRUE(pBar->IsKeyboardCuesVisible());
    ::SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(bSaved)), 0);
}

TEST_F(CommandBars, BarsReadTheOptionsAndTheDragControlThroughTheManager) {
    CKLVCommandBar* pBar = AddBar();
    CKLVCommandBarsOptions* pOptions = m_commandBars.GetOptions();
    pOptions->bToolBarScreenTips = FALSE;
    pOptions->bToolBarAccelTips = TRUE;
    pOptions->bShowPopupBarToolTips = TRUE;
    pOptions->bShowFullAfterDelay = FALSE;
    CKLVCommandBarsLink* pLink = pBar->GetCommandBarsLink();
    EXPECT_FALSE(pLink->IsToolBarScreenTips());
    EXPECT_TRUE(pLink->IsToolBarAccelTips());
    EXPECT_TRUE(pLink->IsPopupBarTips());
    EXPECT_FALSE(pLink->IsShowFullAfterDelay());
    EXPECT_EQ(pLink->GetAccelManager(), m_commandBars.GetAccelManager());

    CKLVControl* pControl = pBar->GetControls()->Add(CKLVControl::typeButton, 3);
    const long nRefs = pControl->GetRefCount();
    m_commandBars.SetDragControl(pControl);
    EXPECT_EQ(pBar->GetCustomizeSelected(), pControl);
    EXPECT_EQ(pControl->GetRefCount(), nRefs + 1);
    m_commandBars.SetCustomizeMode(TRUE);   // clears the drag control
    EXPECT_EQ(pControl->GetRefCount(), nRefs);
    EXPECT_EQ(pBar->GetCustomizeSelected(), nullptr);
    EXPECT_TRUE(pBar->IsCustomizeMode());
}

TEST_F(CommandBars, ContextMenusAreMarkedAndHeldOnce) {
    CKLVContextMenus* pMenus = m_commandBars.GetContextMenus();
    auto* pPopupBar = new CKLVPopupBar;
    pPopupBar->m_nBarID = 0x1000001;
    pMenus->Add(pPopupBar);
    pMenus->Add(pPopupBar);
    EXPECT_EQ(pMenus->GetCount(), 1);
    EXPECT_TRUE(pPopupBar->m_bContextMenu);
    EXPECT_EQ(pMenus->FindCommandBar(0x1000001), pPopupBar);
    EXPECT_EQ(pPopupBar->GetRefCount(), 2);
    pPopupBar->InternalRelease();
}

}  // namespace commandbars_test

namespace commandbars_test {

// A frame built as the application builds its main frame, counting the save command.
class CCountingFrame : public CKLVMDIFrameWnd {
public:
    afx_msg void OnSave() { ++s_nSaves; }
    static int s_nSaves;
    DECLARE_MESSAGE_MAP()
};
int CCountingFrame::s_nSaves = 0;
BEGIN_MESSAGE_MAP(CCountingFrame, CKLVMDIFrameWnd)
    ON_COMMAND(57603, OnSave)
END_MESSAGE_MAP()

TEST(MDIFrame, TheCommandBarsTakeOverTheFramesAcceleratorTable) {
    auto* pFrame = new CCountingFrame;
    EXPECT_FALSE(pFrame->InitCommandBars(RUNTIME_CLASS(CKLVControl)));
    ASSERT_TRUE(pFrame->InitCommandBars());
    CKLVCommandBars* pCommandBars = pFrame->GetCommandBars();
    EXPECT_EQ(pCommandBars->GetSite(), pFrame);
    ASSERT_TRUE(pFrame->LoadFrame(128, WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(pFrame->m_hAccelTable, nullptr);
    CKLVAccelManager* pAccelManager = pCommandBars->GetAccelManager();
    EXPECT_TRUE(pAccelManager->m_bReplacesFrameTable);
    for (HACCEL hTable : {pAccelManager->GetAccelTable(), pAccelManager->GetDefaultAccelTable()}) {
        ASSERT_NE(hTable, nullptr);
        ACCEL entries[4] = {};
        ASSERT_EQ(::CopyAcceleratorTableA(hTable, entries, 4), 2);
        EXPECT_EQ(entries[0].cmd, 57603);
        EXPECT_EQ(entries[0].key, 'S');
    }
    EXPECT_NE(pAccelManager->GetAccelTable(), pAccelManager->GetDefaultAccelTable());

    // Ctrl+S through the frame's translation runs the save command once.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    BYTE withCtrl[256];
    std::copy(std::begin(keys), std::end(keys), std::begin(withCtrl));
    withCtrl[VK_CONTROL] = 0x80;
    ::SetKeyboardState(withCtrl);
    CCountingFrame::s_nSaves = 0;
    MSG msg = {pFrame->GetSafeHwnd(), WM_KEYDOWN, 'S', 0x1F0001, 0, {0, 0}};
    EXPECT_TRUE(pFrame->PreTranslateMessage(&msg));
    ::SetKeyboardState(keys);
    EXPECT_EQ(CCountingFrame::s_nSaves, 1);
    msg.wParam = 'Q';
    EXPECT_FALSE(pFrame->PreTranslateMessage(&msg));
    pFrame->DestroyWindow();
}

}  // namespace commandbars_test

namespace commandbars_test {

TEST(CommandBarsLayout, APendingIdleLayoutOfTheFrameRunsAtOnceAndOnlyThen) {
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW));
    CKLVCommandBars commandBars;
    commandBars.SetSite(pFrame);
    pFrame->m_nIdleFlags = CFrameWnd::idleLayout | CFrameWnd::idleTitle;
    commandBars.UpdateFrameLayout();
    EXPECT_EQ(pFrame->m_nIdleFlags, UINT(CFrameWnd::idleTitle));
    // A delayed re-layout only marks the frame; the lock withholds even that.
    commandBars.RecalcFrameLayout(TRUE);
    EXPECT_EQ(pFrame->m_nIdleFlags, UINT(CFrameWnd::idleTitle | CFrameWnd::idleLayout));
    pFrame->m_nIdleFlags = 0;
    commandBars.LockLayout();
    commandBars.RecalcFrameLayout(TRUE);
    commandBars.UnlockLayout();
    EXPECT_EQ(pFrame->m_nIdleFlags, 0u);
    commandBars.SetSite(nullptr);
    pFrame->DestroyWindow();
}

}  // namespace commandbars_test
