// What the manager makes beyond plain bars: the menu bar from a menu resource (nothing kept when
// the menu is missing), custom tool bars the site may fill first, their rebar bands, print
// preview, and the re-layout after a settings change.
#include "ControlTestSupport.h"
#include "classlib/FrameWnd.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/dockbars/DockBar.h"
#include "toolkit/commandbars/MenuBar.h"
#include "toolkit/commandbars/dockbars/ReBar.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"

#include <gtest/gtest.h>

namespace commandbars_test {

// A menu bar as the menu-bar class makes one: a tool bar of the menu-bar type.
class CTestMenuBar : public CKLVToolBar {
    DECLARE_DYNCREATE(CTestMenuBar)
public:
    CTestMenuBar() { m_barType = barTypeMenuBar; }
};
IMPLEMENT_DYNCREATE(CTestMenuBar, CKLVToolBar)

namespace {

// A frame that fills custom tool bars when asked (message 0x2861) and counts the requests.
class CCustomSite : public CFrameWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != CKLVControls::msgCreateCommandBar) return CFrameWnd::WindowProc(message, wParam, lParam);
        const auto* pCreate = reinterpret_cast<KLVCREATEBARSTRUCT*>(lParam);
        ++m_nRequests;
        m_bLastFloating = pCreate->bFloating;
        if (pCreate->bCustomBar && pCreate->pCommandBar)
            pCreate->pCommandBar->GetControls()->Add(new CFixedControl, static_cast<int>(pCreate->nId) + 1);
        return TRUE;
    }
    int m_nRequests = 0;
    BOOL m_bLastFloating = FALSE;
};

class CommandBarsCustom : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        TakeMarlett();   // floating bars paint their close buttons with it
        m_pSite = new CCustomSite;
        ASSERT_TRUE(m_pSite->Create(nullptr, "site", WS_OVERLAPPEDWINDOW));
        m_pSite->MoveWindow(0, 0, 500, 300);
        m_pCommandBars = new CKLVCommandBars;
        m_pCommandBars->SetSite(m_pSite);
        m_pCommandBars->EnableDocking();
    }
    void TearDown() override {
        CKLVCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CKLVMenuBar);
        m_pCommandBars->InternalRelease();
        m_pSite->DestroyWindow();
    }
    CCustomSite* m_pSite = nullptr;
    CKLVCommandBars* m_pCommandBars = nullptr;
};

}  // namespace

// The tool bars' drag asks the command bars, not the dock bars, for a dock bar's edge and places.
TEST_F(CommandBarsCustom, ItsDockBarsGiveTheirEdgeAndMapTheirClientRectanglesToTheScreen) {
    CKLVCommandBarsLink* pLink = m_pCommandBars;
    const CRect rcClient(1, 2, 30, 40);
    for (int nPosition = CKLVCommandBar::barTop; nPosition <= CKLVCommandBar::barRight; ++nPosition) {
        CKLVDockBar* pDock = m_pCommandBars->GetDockBar(nPosition);
        ASSERT_NE(pDock, nullptr) << nPosition;
        EXPECT_EQ(pLink->GetDockBarPosition(pDock), nPosition);
        POINT ptOrigin = {0, 0};
        ::ClientToScreen(pDock->GetSafeHwnd(), &ptOrigin);
        CRect rcExpected = rcClient;
        rcExpected.OffsetRect(ptOrigin.x, ptOrigin.y);
        EXPECT_EQ(pLink->DockBarToScreen(pDock, rcClient), rcExpected) << nPosition;
    }
    EXPECT_EQ(pLink->GetDockBarPosition(nullptr), -1);
    EXPECT_EQ(pLink->DockBarToScreen(nullptr, rcClient), rcClient);
}

TEST_F(CommandBarsCustom, TheMenuBarHoldsTheMenuOrNothingIsKept) {
    CKLVCommandBars::m_pMenuBarClass = nullptr;
    EXPECT_EQ(m_pCommandBars->SetMenu("Menu Bar", 129), nullptr);   // no menu-bar class
    CKLVCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CTestMenuBar);
    CKLVDockBar* pTop = m_pCommandBars->GetDockBar(CKLVCommandBar::barTop);
    EXPECT_EQ(m_pCommandBars->SetMenu("Menu Bar", 999), nullptr);   // no such menu
    EXPECT_EQ(m_pCommandBars->GetCount(), 0);
    EXPECT_EQ(pTop->GetEntryCount(), 1);
    EXPECT_EQ(m_pCommandBars->m_nMenuID, 0u);

    CKLVCommandBar* pMenuBar = m_pCommandBars->SetMenu("Menu Bar", 129);
    ASSERT_NE(pMenuBar, nullptr);
    EXPECT_EQ(m_pCommandBars->GetMenuBar(), pMenuBar);
    EXPECT_EQ(pMenuBar->m_nBarID, 1u);
    EXPECT_STREQ(pMenuBar->GetTitle(), "Menu Bar");
    EXPECT_EQ(pTop->FindBar(pMenuBar), 1);
    ASSERT_EQ(pMenuBar->GetControlCount(), 2);
    EXPECT_EQ(pMenuBar->GetControl(0)->GetType(), CKLVControl::typePopup);
    ASSERT_NE(pMenuBar->GetControls()->GetOriginalControls(), nullptr);
    EXPECT_EQ(pMenuBar->GetControls()->GetOriginalControls()->GetCount(), 2);
    EXPECT_EQ(m_pCommandBars->m_nMenuID, 129u);
}

TEST_F(CommandBarsCustom, CustomToolBarsAreFilledByTheSiteAndGoIntoTheRebar) {
    CKLVToolBar* pDocked = m_pCommandBars->AddCustomToolBar("Mine", 500);
    ASSERT_NE(pDocked, nullptr);
    EXPECT_EQ(m_pSite->m_nRequests, 1);
    EXPECT_FALSE(m_pSite->m_bLastFloating);
    EXPECT_EQ(pDocked->m_nBarID, 500u);
    EXPECT_FALSE(pDocked->m_bBuiltIn);
    EXPECT_FALSE(pDocked->m_bTearOffBar);
    EXPECT_TRUE(pDocked->IsDocked());
    EXPECT_EQ(pDocked->GetControl(0)->GetId(), 501);
    CKLVToolBar* pFloating = m_pCommandBars->AddCustomToolBar("Torn", 600, TRUE);
    ASSERT_NE(pFloating, nullptr);
    EXPECT_TRUE(m_pSite->m_bLastFloating);
    EXPECT_TRUE(pFloating->IsFloating());
    EXPECT_TRUE(pFloating->m_bTearOffBar);

    // With a rebar, a custom bar leaves its dock bar for a band named by its bar id.
    CKLVReBar rebar;
    ASSERT_TRUE(rebar.Create(m_pSite));
    const struct {
        UINT nBarID;
        int nBand;
    } bars[] = {{700, 0}, {701, 1}};
    CKLVToolBar* pBanded[2] = {};
    for (int i = 0; i < 2; ++i) {
        pBanded[i] = m_pCommandBars->AddCustomToolBar("Banded", bars[i].nBarID);
        ASSERT_NE(pBanded[i], nullptr);
        EXPECT_EQ(rebar.FindBand(pBanded[i]), bars[i].nBand);
        EXPECT_EQ(pBanded[i]->m_pDockBar, nullptr);
        EXPECT_EQ(pBanded[i]->m_nFlags & CKLVToolBar::flagMoveMask, 0u);
        EXPECT_FALSE(pBanded[i]->IsGripperVisible());
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_ID | RBBIM_STYLE;
        ASSERT_TRUE(rebar.SendMessage(RB_GETBANDINFOA, static_cast<WPARAM>(bars[i].nBand), reinterpret_cast<LPARAM>(&band)));
        EXPECT_EQ(band.wID, bars[i].nBarID);
        EXPECT_EQ(band.fStyle & CKLVReBar::bandStyleToolBar, UINT(CKLVReBar::bandStyleToolBar));
    }
    EXPECT_EQ(rebar.FindBand(pDocked), -1);
    m_pCommandBars->Remove(pBanded[0]);
    EXPECT_EQ(rebar.GetBandCount(), 1);
    EXPECT_EQ(rebar.FindBand(pBanded[1]), 0);
    m_pCommandBars->RemoveAll();
    EXPECT_EQ(rebar.GetBandCount(), 0);
    rebar.DestroyWindow();
}

TEST_F(CommandBarsCustom, PrintPreviewHidesTheBarsAndHoldsTheKeysBack) {
    CKLVCommandBar* pShown = m_pCommandBars->Add("Shown", CKLVCommandBar::barTop);
    CKLVCommandBar* pHidden = m_pCommandBars->Add("Hidden", CKLVCommandBar::barTop);
    pHidden->SetVisible(FALSE);
    m_pCommandBars->OnSetPreviewMode(TRUE);
    EXPECT_FALSE(pShown->IsVisible());
    EXPECT_EQ(m_pCommandBars->GetAccelManager()->m_nDisableLevel, 1);
    m_pCommandBars->OnSetPreviewMode(FALSE);
    EXPECT_TRUE(pShown->IsVisible());
    EXPECT_FALSE(pHidden->IsVisible());
    EXPECT_EQ(m_pCommandBars->GetAccelManager()->m_nDisableLevel, 0);
}

TEST_F(CommandBarsCustom, ASettingsChangeLaysEveryBarOutAgain) {
    auto* pBar = static_cast<CKLVToolBar*>(m_pCommandBars->Add("Float", CKLVCommandBar::barFloating));
    ASSERT_NE(pBar, nullptr);
    pBar->GetControls()->Add(new CFixedControl, 100);
    pBar->OnRecalcLayout();
    CRect rcBefore;
    pBar->GetWindowRect(&rcBefore);
    pBar->GetControls()->Add(new CFixedControl(CSize(30, 20)), 101);
    m_pSite->m_nIdleFlags |= CFrameWnd::idleLayout;
    m_pCommandBars->UpdateCommandBars();
    CRect rcAfter;
    pBar->GetWindowRect(&rcAfter);
    EXPECT_EQ(rcAfter.TopLeft(), rcBefore.TopLeft());
    EXPECT_EQ(rcAfter.Width(), rcBefore.Width() + 30);
    // The frame was laid out at once.
    EXPECT_EQ(m_pSite->m_nIdleFlags & CFrameWnd::idleLayout, 0u);
    EXPECT_EQ(m_pCommandBars->m_nLockLayout, 0);
}

}  // namespace commandbars_test
