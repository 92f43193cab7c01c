// The ribbon's tab row: the site may cancel a tab change and hears of it after, hiding the
// selected tab moves the selection, a minimised ribbon pops the tab up, controls of other tabs'
// groups hide, and accessibility calls check their arguments.
#include "RibbonFrameTestSupport.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonTabPopupToolBar.h"

#include <gtest/gtest.h>

namespace ribbon_test {
namespace {

using TabsFixture = CRibbonThreeTabsFixture;

TEST(RibbonControlTab, TheSiteMayCancelAChangeAndHearsOfItAfter) {
    TabsFixture fx;
    fx.pTabs->SetSelectedItem(fx.tabs[0]);
    fx.m_pFrame->m_notifications.clear();

    fx.m_pFrame->m_bCancelChanging = TRUE;
    fx.pTabs->SetSelectedItem(fx.tabs[1]);
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[0]);
    ASSERT_EQ(fx.m_pFrame->m_notifications.size(), 1u);
    EXPECT_EQ(fx.m_pFrame->m_notifications[0].nCode, CKLVRibbonControlTab::codeTabChanging);
    EXPECT_EQ(fx.m_pFrame->m_notifications[0].pTab, fx.tabs[1]);

    fx.m_pFrame->m_bCancelChanging = FALSE;
    fx.m_pFrame->m_notifications.clear();
    fx.pTabs->SetSelectedItem(fx.tabs[1]);
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[1]);
    ASSERT_EQ(fx.m_pFrame->m_notifications.size(), 2u);
    EXPECT_EQ(fx.m_pFrame->m_notifications[0].nCode, CKLVRibbonControlTab::codeTabChanging);
    EXPECT_EQ(fx.m_pFrame->m_notifications[0].pSelectedThen, fx.tabs[0]);
    EXPECT_EQ(fx.m_pFrame->m_notifications[1].nCode, CKLVRibbonControlTab::codeTabChanged);
    EXPECT_EQ(fx.m_pFrame->m_notifications[1].pSelectedThen, fx.tabs[1]);

    // Selecting the selected tab again tells nobody.
    fx.m_pFrame->m_notifications.clear();
    fx.pTabs->SetSelectedItem(fx.tabs[1]);
    EXPECT_TRUE(fx.m_pFrame->m_notifications.empty());
}

TEST(RibbonControlTab, HidingTheSelectedTabSelectsTheFirstVisibleEnabledOne) {
    const struct {
        int nSelected, nHidden, nDisabled, nExpected;   // -1: none
    } cases[] = {
        {1, 1, -1, 0}, {0, 0, -1, 1}, {0, 0, 1, 2}, {2, 1, -1, 2}, {1, 1, 0, 2},
    };
    for (const auto& c : cases) {
        TabsFixture fx;
        fx.pTabs->SetSelectedItem(fx.tabs[c.nSelected]);
        if (c.nDisabled >= 0) fx.tabs[c.nDisabled]->SetEnabled(FALSE);
        fx.tabs[c.nHidden]->SetVisible(FALSE);
        EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[c.nExpected])
            << c.nSelected << " " << c.nHidden << " " << c.nDisabled;
    }
}

TEST(RibbonControlTab, SelectingHidesTheControlsOfOtherTabsGroups) {
    TabsFixture fx;
    CKLVControl* controls[2] = {};
    for (int i = 0; i < 2; ++i) {
        auto* pGroup = fx.tabs[i]->GetGroups()->Insert(new CKLVRibbonGroup);
        controls[i] = fx.m_pRibbon->GetControls()->Append(new CKLVControlButton);
        pGroup->AddControl(controls[i]);
    }
    fx.pTabs->SetSelectedItem(fx.tabs[1]);
    EXPECT_TRUE(controls[0]->GetHideFlags() & CKLVRibbonBar::hideOtherTab);
    EXPECT_FALSE(controls[1]->GetHideFlags() & CKLVRibbonBar::hideOtherTab);
    EXPECT_FALSE(fx.tabs[0]->GetGroups()->GetAt(0)->IsVisible());
    EXPECT_TRUE(fx.tabs[1]->GetGroups()->GetAt(0)->IsVisible());
    EXPECT_EQ(fx.m_pRibbon->FindGroupOf(controls[0]), fx.tabs[0]->GetGroups()->GetAt(0));

    // A control that leaves the ribbon leaves its group.
    fx.m_pRibbon->GetControls()->Remove(controls[0]);
    EXPECT_EQ(fx.tabs[0]->GetGroups()->GetAt(0)->GetControlCount(), 0);
    // A group that removes its control takes it out of the ribbon too, which frees it.
    CKLVRibbonGroup* pGroup = fx.tabs[1]->GetGroups()->GetAt(0);
    const int nCount = fx.m_pRibbon->GetControlCount();
    controls[1]->InternalAddRef();
    pGroup->RemoveControl(0);
    EXPECT_EQ(pGroup->GetControlCount(), 0);
    EXPECT_EQ(fx.m_pRibbon->GetControlCount(), nCount - 1);
    EXPECT_EQ(controls[1]->GetRefCount(), 1);
    EXPECT_EQ(CKLVRibbonGroup::Of(controls[1]), nullptr);
    controls[1]->InternalRelease();
}

TEST(RibbonControlTab, AMinimisedRibbonPopsTheTabUpAndClosingClearsTheSelection) {
    TabsFixture fx;
    fx.pTabs->SetSelectedItem(fx.tabs[0]);
    fx.m_pRibbon->SetMinimized(TRUE);
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), nullptr);
    EXPECT_FALSE(fx.pTabs->GetPopuped());

    fx.pTabs->SetSelectedItem(fx.tabs[2]);
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[2]);
    EXPECT_TRUE(fx.pTabs->GetPopuped());
    auto* pPopup = dynamic_cast<CKLVRibbonTabPopupToolBar*>(fx.pTabs->GetPopupBar());
    ASSERT_NE(pPopup, nullptr);
    ASSERT_NE(pPopup->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(pPopup->GetSafeHwnd()));
    ASSERT_NE(pPopup->GetTab(), fx.tabs[2]) << "the popup shows a copy of the tab";
    EXPECT_EQ(pPopup->GetTab()->m_nId, fx.tabs[2]->m_nId);
    CRect rcPopup, rcRibbon, rcTab = fx.tabs[2]->GetRect();
    ::GetWindowRect(pPopup->GetSafeHwnd(), &rcPopup);
    ::GetWindowRect(fx.m_pRibbon->GetSafeHwnd(), &rcRibbon);
    fx.m_pRibbon->ClientToScreen(&rcTab);
    EXPECT_EQ(rcPopup.top, rcTab.bottom);
    EXPECT_EQ(rcPopup.Width(), rcRibbon.Width());
    EXPECT_EQ(rcPopup.Height(), fx.m_pRibbon->GetGroupsHeight());

    // The popup ending its tracking (a click elsewhere) closes it the same way.
    pPopup->SetTrackingMode(0);
    EXPECT_FALSE(fx.pTabs->GetPopuped());
    EXPECT_EQ(fx.pTabs->GetPopupBar(), nullptr);
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), nullptr);
    fx.pTabs->SetSelectedItem(fx.tabs[2]);
    EXPECT_TRUE(fx.pTabs->GetPopuped());
    fx.pTabs->OnSetPopup(FALSE);
    EXPECT_FALSE(fx.pTabs->GetPopuped());
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), nullptr);
    // So the next click on the same tab opens it again.
    fx.pTabs->SetSelectedItem(fx.tabs[2]);
    EXPECT_TRUE(fx.pTabs->GetPopuped());

    // Not minimised, or with no tab, nothing pops up.
    fx.pTabs->OnSetPopup(FALSE);
    fx.m_pRibbon->SetMinimized(FALSE);
    EXPECT_FALSE(fx.pTabs->OnSetPopup(TRUE));
    EXPECT_FALSE(fx.pTabs->GetPopuped());
}

TEST(RibbonControlTab, SelectNextTabSkipsHiddenAndDisabledTabs) {
    TabsFixture fx;
    fx.tabs[1]->SetEnabled(FALSE);
    fx.m_pRibbon->SelectNextTab(TRUE);
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[0]);
    fx.m_pRibbon->SelectNextTab(TRUE);
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[2]);
    fx.m_pRibbon->SelectNextTab(TRUE);
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[2]);
    fx.m_pRibbon->SelectNextTab(FALSE);
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[0]);
}

VARIANT Child(long nChild) {
    VARIANT var;
    var.vt = VT_I4;
    var.lVal = nChild;
    return var;
}

TEST(RibbonControlTab, AccessibleCallsAnswerRolesAndRefuseBadArguments) {
    TabsFixture fx;
    fx.pTabs->SetSelectedItem(fx.tabs[1]);
    VARIANT var;
    ASSERT_EQ(fx.pTabs->GetAccessibleRole(Child(0), &var), S_OK);
    EXPECT_EQ(var.lVal, ROLE_SYSTEM_PAGETABLIST);
    ASSERT_EQ(fx.pTabs->GetAccessibleRole(Child(2), &var), S_OK);
    EXPECT_EQ(var.lVal, ROLE_SYSTEM_PAGETAB);
    ASSERT_EQ(fx.pTabs->GetAccessibleState(Child(2), &var), S_OK);
    EXPECT_TRUE(var.lVal & STATE_SYSTEM_SELECTED);
    ASSERT_EQ(fx.pTabs->GetAccessibleState(Child(1), &var), S_OK);
    EXPECT_FALSE(var.lVal & STATE_SYSTEM_SELECTED);
    EXPECT_TRUE(var.lVal & STATE_SYSTEM_SELECTABLE);
    LONG nCount = 0;
    ASSERT_EQ(fx.pTabs->GetAccessibleChildCount(&nCount), S_OK);
    EXPECT_EQ(nCount, 3);
    BSTR bstr = nullptr;
    ASSERT_EQ(fx.pTabs->GetAccessibleName(Child(3), &bstr), S_OK);
    EXPECT_STREQ(bstr, L"View");
    ::SysFreeString(bstr);
    EXPECT_EQ(fx.pTabs->AccessibleDoDefaultAction(Child(3)), S_OK);
    EXPECT_EQ(fx.m_pRibbon->GetSelectedTab(), fx.tabs[2]);

    LONG x = 0, y = 0, cx = 0, cy = 0;
    for (long nChild : {-1L, 4L, 100L}) {
        EXPECT_EQ(fx.pTabs->GetAccessibleRole(Child(nChild), &var), E_INVALIDARG) << nChild;
        EXPECT_EQ(fx.pTabs->GetAccessibleState(Child(nChild), &var), E_INVALIDARG) << nChild;
        EXPECT_EQ(fx.pTabs->GetAccessibleName(Child(nChild), &bstr), E_INVALIDARG) << nChild;
        EXPECT_EQ(fx.pTabs->GetAccessibleDefaultAction(Child(nChild), &bstr), E_INVALIDARG) << nChild;
        EXPECT_EQ(fx.pTabs->AccessibleLocation(&x, &y, &cx, &cy, Child(nChild)), E_INVALIDARG) << nChild;
        EXPECT_EQ(fx.pTabs->AccessibleDoDefaultAction(Child(nChild)), E_INVALIDARG) << nChild;
    }
    EXPECT_EQ(fx.pTabs->GetAccessibleRole(Child(1), nullptr), E_INVALIDARG);
    EXPECT_EQ(fx.pTabs->GetAccessibleState(Child(1), nullptr), E_INVALIDARG);
    EXPECT_EQ(fx.pTabs->GetAccessibleName(Child(1), nullptr), E_INVALIDARG);
    EXPECT_EQ(fx.pTabs->GetAccessibleChildCount(nullptr), E_INVALIDARG);
    EXPECT_EQ(fx.pTabs->AccessibleLocation(nullptr, &y, &cx, &cy, Child(1)), E_INVALIDARG);
    EXPECT_EQ(fx.pTabs->AccessibleHitTest(0, 0, nullptr), E_INVALIDARG);
}

}  // namespace
}  // namespace ribbon_test
