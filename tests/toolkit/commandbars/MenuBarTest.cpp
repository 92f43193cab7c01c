// The menu bar on a hidden MDI frame: the frame's menu taken over, the maximised child's system
// menu and buttons after the posted refresh (by the child's styles and the bar's flags), one set
// of controls per document template, WM_MDISETMENU in customize mode, and the menu key.
#include "MenuFrameTestSupport.h"
#include "toolkit/commandbars/MenuBarControls.h"
#include "toolkit/common/ImageManager.h"

#include <gtest/gtest.h>

using namespace commandbars_test;

IMPLEMENT_DYNCREATE(CTestMenuBarHook, CKLVMenuBar)

namespace {

constexpr int kFile = -1, kSysMenu = CKLVMenuBar::idMdiSysMenu, kMin = CKLVMenuBar::idMdiMinimize,
              kRestore = CKLVMenuBar::idMdiRestore, kClose = CKLVMenuBar::idMdiClose;

class MenuBar : public ::testing::Test {
protected:
    CMenuFrameFixture m_frame;
};

TEST_F(MenuBar, TakesTheFramesMenuAndLoadsItsOwn) {
    ASSERT_NE(m_frame.m_pMenuBar, nullptr);
    EXPECT_EQ(m_frame.m_pMenuBar->GetType(), CKLVCommandBar::barTypeMenuBar);
    EXPECT_EQ(m_frame.m_pMenuBar->m_nBarID, 1u);
    EXPECT_EQ(m_frame.m_pMenuBar->m_nMenuId, 129u);
    EXPECT_EQ(m_frame.m_pMenuBar->GetCurrentTemplateId(), 129u);
    EXPECT_EQ(m_frame.Ids(), (std::vector<int>{kFile, kFile}));
    EXPECT_EQ(::GetMenu(m_frame.m_hFrame), nullptr);
    EXPECT_EQ(m_frame.m_pMenuBar->m_pMDIFrame, m_frame.m_pFrame);
    EXPECT_FALSE(m_frame.m_pMenuBar->m_bShowOptionsButton);
    // The icons of the system commands come from bitmap 9102.
    CKLVImageManager* pImages = m_frame.m_pMenuBar->GetImageManager();
    for (UINT nCommand : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}) EXPECT_NE(pImages->GetImage(nCommand, 16), nullptr);
    EXPECT_EQ(m_frame.m_pCommandBars->GetMenuBar(), m_frame.m_pMenuBar);
}

TEST_F(MenuBar, AMaximisedChildAddsItsControlsAfterTheRefresh) {
    struct Case {
        const char* pszName;
        UINT nAddFlags;
        DWORD dwStyle;
        std::vector<int> ids;
    };
    const DWORD dwAll = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
    const Case cases[] = {
        {"flags 95 alone: no system menu", 0, dwAll, {kFile, kFile, kMin, kRestore, kClose}},
        {"0x2000 shows the system menu", CKLVMenuBar::flagShowSysMenu, dwAll, {kSysMenu, kFile, kFile, kMin, kRestore, kClose}},
        {"no minimise box", CKLVMenuBar::flagShowSysMenu, dwAll & ~WS_MINIMIZEBOX, {kSysMenu, kFile, kFile, kRestore, kClose}},
        {"0x100 0x200", CKLVMenuBar::flagNoMinimize | CKLVMenuBar::flagNoRestore, dwAll, {kFile, kFile, kClose}},
        {"0x1000 even for a maximised child", CKLVMenuBar::flagNoClose, dwAll, {kFile, kFile, kMin, kRestore}},
    };
    for (const Case& c : cases) {
        m_frame.m_pMenuBar->m_nFlags = CKLVMenuBar::defaultFlags | c.nAddFlags;
        CMDIChildWnd* pChild = m_frame.AddChild(0, c.dwStyle);
        m_frame.RunPostedTimers();
        EXPECT_EQ(m_frame.Ids(), (std::vector<int>{kFile, kFile})) << c.pszName;   // not maximised yet
        m_frame.m_pFrame->MDIMaximize(pChild);
        EXPECT_EQ(m_frame.Ids(), (std::vector<int>{kFile, kFile})) << c.pszName;   // waits for the timer
        m_frame.RunPostedTimers();
        EXPECT_EQ(m_frame.Ids(), c.ids) << c.pszName;
        if (c.nAddFlags & CKLVMenuBar::flagShowSysMenu) {
            auto* pSysMenu = DYNAMIC_DOWNCAST(CKLVControlMDISysMenuPopup, m_frame.m_pMenuBar->GetControl(0));
            ASSERT_NE(pSysMenu, nullptr);
            EXPECT_NE(pSysMenu->GetIcon(), nullptr);
            CKLVCommandBar* pPopup = pSysMenu->GetCommandBar();
            ASSERT_NE(pPopup, nullptr);
            CKLVControl* pClose = pPopup->GetControls()->FindControl(SC_CLOSE);
            ASSERT_NE(pClose, nullptr);
            EXPECT_EQ(CKLVControlMDISysMenuPopup::PromptIdOf(SC_CLOSE), 0xEF06u);
            EXPECT_STREQ(pClose->GetDescription(), "Close the active window and ask to save the documents");
        }
        m_frame.m_pFrame->MDIRestore(pChild);
        m_frame.RunPostedTimers();
        EXPECT_EQ(m_frame.Ids(), (std::vector<int>{kFile, kFile})) << c.pszName;
        pChild->DestroyWindow();
        m_frame.RunPostedTimers();
    }
}

TEST_F(MenuBar, TheCloseButtonClosesTheActiveChild) {
    CMDIChildWnd* pChild = m_frame.AddChild(0);
    m_frame.RunPostedTimers();
    m_frame.m_pFrame->MDIMaximize(pChild);
    m_frame.RunPostedTimers();
    CKLVControl* pClose = m_frame.m_pMenuBar->GetControls()->FindControl(kClose);
    ASSERT_NE(pClose, nullptr);
    EXPECT_STREQ(pClose->GetCaption(), "r");
    EXPECT_STREQ(pClose->GetTooltip(), "Close Window");
    const HWND hChild = pChild->GetSafeHwnd();
    pClose->OnExecute();
    MSG msg;
    while (::PeekMessageA(&msg, hChild, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    EXPECT_FALSE(::IsWindow(hChild));
}

TEST_F(MenuBar, AnotherMaximisedChildRebuildsTheSystemMenuInPlace) {
    m_frame.m_pMenuBar->m_nFlags = CKLVMenuBar::defaultFlags | CKLVMenuBar::flagShowSysMenu;
    CMDIChildWnd* pFirst = m_frame.AddChild(0);
    CMDIChildWnd* pSecond = m_frame.AddChild(0);
    m_frame.m_pFrame->MDIMaximize(pSecond);
    m_frame.RunPostedTimers();
    auto* pSysMenu = DYNAMIC_DOWNCAST(CKLVControlMDISysMenuPopup, m_frame.m_pMenuBar->GetControl(0));
    ASSERT_NE(pSysMenu, nullptr);
    const HWND hSecond = pSecond->GetSafeHwnd(), hFirst = pFirst->GetSafeHwnd();
    EXPECT_TRUE(pSysMenu->IsBuiltFrom(hSecond, ::GetSystemMenu(hSecond, FALSE)));
    const std::vector<int> ids = m_frame.Ids();

    m_frame.m_pFrame->MDIActivate(pFirst);   // the first child comes up maximised in its turn
    m_frame.RunPostedTimers();
    EXPECT_EQ(m_frame.m_pMenuBar->GetControl(0), pSysMenu);
    EXPECT_TRUE(pSysMenu->IsBuiltFrom(hFirst, ::GetSystemMenu(hFirst, FALSE)));
    EXPECT_EQ(m_frame.Ids(), ids);
}

TEST_F(MenuBar, TwoTemplatesKeepTheirOwnControls) {
    CMenu menuA, menuB;
    ASSERT_TRUE(menuA.LoadMenu(MAKEINTRESOURCEA(129)));
    ASSERT_TRUE(menuB.LoadMenu(MAKEINTRESOURCEA(129)));
    ::DeleteMenu(menuB.GetSafeHmenu(), 1, MF_BYPOSITION);   // template B shows one popup
    const HWND hClient = m_frame.m_pFrame->m_hWndMDIClient;
    CKLVControls* pOwn = m_frame.m_pMenuBar->GetControls();

    CMDIChildWnd* pA = m_frame.AddChild(201);
    EXPECT_EQ(::SendMessageA(hClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menuA.GetSafeHmenu()), 0), 0);
    EXPECT_EQ(m_frame.m_pMenuBar->GetCurrentTemplateId(), 201u);
    CKLVControls* pControlsA = m_frame.m_pMenuBar->GetControls();
    EXPECT_NE(pControlsA, pOwn);
    pControlsA->Add(CKLVControl::typeButton, 777);   // a customisation of template A
    EXPECT_EQ(::GetMenu(m_frame.m_hFrame), nullptr);

    CMDIChildWnd* pB = m_frame.AddChild(202);
    ::SendMessageA(hClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menuB.GetSafeHmenu()), 0);
    EXPECT_EQ(m_frame.m_pMenuBar->GetCurrentTemplateId(), 202u);
    EXPECT_EQ(m_frame.Ids(), (std::vector<int>{kFile}));

    // Another document of template A keeps A's controls.
    CMDIChildWnd* pA2 = m_frame.AddChild(201);
    ::SendMessageA(hClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menuA.GetSafeHmenu()), 0);
    EXPECT_EQ(m_frame.m_pMenuBar->GetControls(), pControlsA);
    EXPECT_NE(m_frame.m_pMenuBar->GetControls()->FindControl(777), nullptr);

    // Back to the bar's own menu: its own controls, and its record leaves the map.
    m_frame.m_pMenuBar->SwitchMenu(129, nullptr);
    EXPECT_EQ(m_frame.m_pMenuBar->GetControls(), pOwn);
    EXPECT_EQ(m_frame.m_pMenuBar->GetTemplateMenus()->Find(129), nullptr);
    EXPECT_NE(m_frame.m_pMenuBar->GetTemplateMenus()->Find(201), nullptr);
    EXPECT_NE(m_frame.m_pMenuBar->GetTemplateMenus()->Find(202), nullptr);
    for (CMDIChildWnd* pChild : {pA, pB, pA2}) pChild->DestroyWindow();
}

TEST_F(MenuBar, ControlsFollowTheActiveDocumentsTemplateAtIdleTime) {
    CKLVCommandBar* pBar = m_frame.m_pCommandBars->Add("Standard", CKLVCommandBar::barTop);
    ASSERT_NE(pBar, nullptr);
    pBar->ShowWindow(SW_SHOWNA);
    CKLVControl* pAssigned = pBar->GetControls()->Add(CKLVControl::typeButton, 501);
    CKLVControl* pExcluded = pBar->GetControls()->Add(CKLVControl::typeButton, 502);
    CKLVControl* pEvery = pBar->GetControls()->Add(CKLVControl::typeButton, 503);
    pAssigned->m_mapDocTemplatesAssigned.SetAt(201, TRUE);
    pExcluded->m_mapDocTemplatesExcluded.SetAt(201, TRUE);
    auto expectShown = [&](BOOL bAssigned, BOOL bExcluded, const char* pszCase) {
        pBar->OnIdleUpdate();
        EXPECT_EQ(pAssigned->IsVisible() != FALSE, bAssigned) << pszCase;
        EXPECT_EQ(pExcluded->IsVisible() != FALSE, bExcluded) << pszCase;
        EXPECT_TRUE(pEvery->IsVisible()) << pszCase;
        EXPECT_FALSE(pBar->m_nIdleFlags & CKLVCommandBar::delayLayout) << pszCase << ": laid out again at once";
    };
    expectShown(FALSE, TRUE, "no document: the frame's own menu");
    CMDIChildWnd* pFirst = m_frame.AddChild(201);
    CMDIChildWnd* pSecond = m_frame.AddChild(202);
    m_frame.m_pFrame->MDIActivate(pFirst);
    expectShown(TRUE, FALSE, "template 201");
    m_frame.m_pFrame->MDIActivate(pSecond);
    expectShown(FALSE, TRUE, "template 202");
    m_frame.m_pFrame->MDIActivate(pFirst);
    expectShown(TRUE, FALSE, "back to 201");
    for (CMDIChildWnd* pChild : {pFirst, pSecond}) pChild->DestroyWindow();
}

TEST_F(MenuBar, CustomizeModeIgnoresMdiSetMenuButConsumesIt) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(MAKEINTRESOURCEA(129)));
    CMDIChildWnd* pChild = m_frame.AddChild(301);
    CKLVControls* pOwn = m_frame.m_pMenuBar->GetControls();
    m_frame.m_pCommandBars->SetCustomizeMode(TRUE);
    ::SetMenu(m_frame.m_hFrame, menu.GetSafeHmenu());
    EXPECT_EQ(::SendMessageA(m_frame.m_pFrame->m_hWndMDIClient, WM_MDISETMENU,
                             reinterpret_cast<WPARAM>(menu.GetSafeHmenu()), 0),
              0);
    EXPECT_EQ(m_frame.m_pMenuBar->GetControls(), pOwn);
    EXPECT_EQ(m_frame.m_pMenuBar->GetCurrentTemplateId(), 129u);
    EXPECT_EQ(::GetMenu(m_frame.m_hFrame), nullptr);   // the frame still gets no menu
    m_frame.m_pCommandBars->SetCustomizeMode(FALSE);
    pChild->DestroyWindow();
}

TEST_F(MenuBar, AltAloneEntersTrackingShiftAltDoesNot) {
    CTestMenuBarHook* pBar = m_frame.m_pMenuBar;
    LRESULT lResult = -1;
    {
        CHeldKey shift(VK_SHIFT);
        EXPECT_EQ(pBar->OnFrameMessage(m_frame.m_hFrame, WM_SYSCOMMAND, SC_KEYMENU, 0, lResult),
                  CKLVHookSink::hookContinue);
        EXPECT_EQ(pBar->GetTrackingMode(), 0);
    }
    // A key with a character is the frame's (lParam is the character).
    EXPECT_EQ(pBar->OnFrameMessage(m_frame.m_hFrame, WM_SYSCOMMAND, SC_KEYMENU, 'f', lResult), CKLVHookSink::hookContinue);
    EXPECT_EQ(pBar->OnFrameMessage(m_frame.m_hFrame, WM_SYSCOMMAND, SC_KEYMENU, 0, lResult), CKLVHookSink::hookHandled);
    EXPECT_EQ(lResult, 0);
    EXPECT_EQ(pBar->GetTrackingMode(), 1);
    EXPECT_EQ(pBar->m_nSelected, 0);
    EXPECT_EQ(m_frame.m_pCommandBars->m_nKeyboardNavigationLevel, 1);
    m_frame.m_pCommandBars->ClosePopups();
    EXPECT_EQ(pBar->GetTrackingMode(), 0);
    // While a tear-off drag holds the mouse hook the menu key is the frame's.
    ++KLVMouseHook()->m_nLock;
    EXPECT_EQ(pBar->OnFrameMessage(m_frame.m_hFrame, WM_SYSCOMMAND, SC_KEYMENU, 0, lResult), CKLVHookSink::hookContinue);
    --KLVMouseHook()->m_nLock;
}

}  // namespace
