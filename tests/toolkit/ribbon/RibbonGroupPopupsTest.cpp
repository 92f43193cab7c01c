// The popups that show a ribbon group elsewhere: the button a group collapses to and the popup it
// opens, the minimised ribbon's tab popup, and both bars bringing a control of a group into view.
// Each popup holds clones of the controls, so freeing a control, a group or the button while a
// popup is open leaves nothing behind that points at what went; a popup made afresh at each
// opening (the quick access tool bar's more-controls popup too) is freed at the next.
#include "RibbonFrameTestSupport.h"
#include "StateStores.h"
#include "classlib/Dc.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/ribbon/RibbonControls.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupControlPopup.h"
#include "toolkit/ribbon/RibbonGroupScroller.h"
#include "toolkit/ribbon/RibbonTabPopupToolBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace ribbon_test {
namespace {

constexpr int kControlsPerGroup = 3;

// One tab of ten groups of three captioned buttons; 300 pixels collapse the last groups.
struct GroupsFixture : CRibbonFrameFixture {
    explicit GroupsFixture(int nGroups = 10) {
        pTab = m_pRibbon->AddTab("Home");
        pTabs = m_pRibbon->GetControlTab();
        for (int g = 0; g < nGroups; ++g) {
            CKLVRibbonGroup* pGroup = pTab->GetGroups()->Insert(new CKLVRibbonGroup);
            pGroup->m_nId = 100 + g;
            pGroup->m_strCaption.Format("Group %d", g);
            for (int c = 0; c < kControlsPerGroup; ++c) {
                CKLVControl* pControl = m_pRibbon->GetControls()->Append(new CKLVControlButton);
                pControl->m_nId = 1000 + g * 10 + c;
                CString strCaption;
                strCaption.Format("Command %d", g * 10 + c);
                pControl->SetCaption(strCaption);
                pGroup->AddControl(pControl);
            }
        }
        pTabs->SetSelectedItem(pTab);
    }
    CKLVRibbonGroup* Group(int i) const { return pTab->GetGroups()->GetAt(i); }
    CKLVRibbonGroup* LastGroup() const { return Group(pTab->GetGroups()->GetCount() - 1); }
    // Collapses the last group and answers its button.
    CKLVRibbonGroupControlPopup* Collapse() const {
        Layout(300);
        return LastGroup()->GetControlPopup();
    }
    // Opens the button's popup and answers it.
    CKLVRibbonGroupPopupToolBar* Open(CKLVRibbonGroupControlPopup* pButton) const {
        if (!pButton->OnSetPopup(TRUE)) return nullptr;
        return dynamic_cast<CKLVRibbonGroupPopupToolBar*>(pButton->GetCommandBar());
    }

    CKLVRibbonTab* pTab = nullptr;
    CKLVRibbonControlTab* pTabs = nullptr;
};

TEST(RibbonGroupControlPopup, ACollapsedGroupIsAsWideAsTheThemeDrawsItsButton) {
    const struct {
        const char* pszName;
        const char* pszCaption;
    } cases[] = {
        {"a short caption", "Tables"},
        {"a caption far wider than the button", "A group caption far wider than its collapsed button"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        GroupsFixture fx;
        fx.LastGroup()->m_strCaption = c.pszCaption;
        CKLVRibbonGroupControlPopup* pButton = fx.Collapse();
        ASSERT_EQ(fx.LastGroup()->GetSize(), CKLVRibbonGroup::sizePopup);
        ASSERT_NE(pButton, nullptr);
        const int nTextHeight = fx.m_pRibbon->GetPaintManager()->m_nTextHeight;
        ASSERT_GT(nTextHeight, 0);
        const int nWidth = std::max(2 * nTextHeight - 3, 42);
        EXPECT_EQ(pButton->GetRect().Width(), nWidth);
        EXPECT_EQ(fx.LastGroup()->GetRect().Width(), nWidth + CKLVRibbonGroup::rectExtra);
    }
}

TEST(RibbonGroupControlPopup, StandsForACollapsedGroupOnlyWhileItIsCollapsed) {
    GroupsFixture fx;
    fx.Layout(4000);
    EXPECT_EQ(fx.LastGroup()->GetSize(), CKLVRibbonGroup::sizeLarge);

    CKLVRibbonGroupControlPopup* pButton = fx.Collapse();
    ASSERT_EQ(fx.LastGroup()->GetSize(), CKLVRibbonGroup::sizePopup);
    ASSERT_NE(pButton, nullptr);
    EXPECT_EQ(pButton->GetControls(), fx.m_pRibbon->GetControls());
    EXPECT_EQ(pButton->GetGroup(), fx.LastGroup());
    EXPECT_EQ(CKLVRibbonGroup::Of(pButton), fx.LastGroup());
    EXPECT_EQ(pButton->GetId(), fx.LastGroup()->m_nId);
    EXPECT_TRUE(pButton->IsVisible());
    EXPECT_GE(pButton->GetRect().Width(), CKLVRibbonGroup::popupMinWidth);
    EXPECT_EQ(pButton->GetRect().left, fx.LastGroup()->GetRect().left);
    EXPECT_EQ(fx.m_pRibbon->FindGroupOf(pButton), fx.LastGroup());
    for (int i = 0; i < fx.LastGroup()->GetControlCount(); ++i)
        EXPECT_FALSE(fx.LastGroup()->GetControlAt(i)->IsVisible()) << i;

    // Roomy again: the group's controls show and the button hides; it is made only once.
    const int nControls = fx.m_pRibbon->GetControlCount();
    fx.Layout(4000);
    EXPECT_FALSE(pButton->IsVisible());
    EXPECT_TRUE(fx.LastGroup()->GetControlAt(0)->IsVisible());
    fx.Collapse();
    EXPECT_EQ(fx.LastGroup()->GetControlPopup(), pButton);
    EXPECT_EQ(fx.m_pRibbon->GetControlCount(), nControls);

    // Another tab hides it with the group's controls; emptying the collection keeps it.
    CKLVRibbonTab* pOther = fx.m_pRibbon->AddTab("Insert");
    fx.pTabs->SetSelectedItem(pOther);
    EXPECT_TRUE(pButton->GetHideFlags() & CKLVRibbonBar::hideOtherTab);
    fx.pTabs->SetSelectedItem(fx.pTab);
    fx.m_pRibbon->GetControls()->RemoveAll();
    EXPECT_EQ(fx.LastGroup()->GetControlPopup(), pButton);
    EXPECT_EQ(pButton->GetControls(), fx.m_pRibbon->GetControls());
}

TEST(RibbonGroupControlPopup, OpensACopyOfTheGroupAtItsWidestWithControlsOfItsOwn) {
    GroupsFixture fx;
    CKLVRibbonGroupControlPopup* pButton = fx.Collapse();
    ASSERT_NE(pButton, nullptr);
    CKLVRibbonGroupPopupToolBar* pPopup = fx.Open(pButton);
    ASSERT_NE(pPopup, nullptr);
    ASSERT_NE(pPopup->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(pPopup->GetSafeHwnd()));
    EXPECT_TRUE(pButton->GetPopuped());

    CKLVRibbonGroup* pCopy = pPopup->GetGroup();
    ASSERT_NE(pCopy, nullptr);
    ASSERT_NE(pCopy, fx.LastGroup());
    EXPECT_EQ(pCopy->m_strCaption, fx.LastGroup()->m_strCaption);
    EXPECT_EQ(pCopy->GetSize(), CKLVRibbonGroup::sizeLarge);
    ASSERT_EQ(pCopy->GetControlCount(), kControlsPerGroup);
    EXPECT_EQ(pPopup->GetControlCount(), kControlsPerGroup);
    for (int i = 0; i < kControlsPerGroup; ++i) {
        CKLVControl* pClone = pCopy->GetControlAt(i);
        EXPECT_NE(pClone, fx.LastGroup()->GetControlAt(i)) << i;
        EXPECT_EQ(pClone->GetId(), fx.LastGroup()->GetControlAt(i)->GetId()) << i;
        EXPECT_EQ(pClone->GetControls(), pPopup->GetControls()) << i;
        EXPECT_EQ(CKLVRibbonGroup::Of(pClone), pCopy) << i;
        EXPECT_TRUE(pClone->IsVisible()) << i;
    }

    // As wide as the group at its widest plus the side borders, as high as a group.
    CRect rcPopup;
    ::GetWindowRect(pPopup->GetSafeHwnd(), &rcPopup);
    CClientDC dc(pPopup);
    pCopy->OnBeforeLayout(&dc);
    const int nWidest = pCopy->CalcWidth(&dc);
    EXPECT_EQ(rcPopup.Width(), nWidest + CKLVRibbonGroupPopupToolBar::borderLeft +
                                   CKLVRibbonGroupPopupToolBar::borderRight);
    EXPECT_EQ(rcPopup.Height(), fx.m_pRibbon->GetGroupsHeight() - CKLVRibbonGroups::groupSpacing);

    pButton->OnSetPopup(FALSE);
    EXPECT_FALSE(pPopup->GetTrackingMode());
    EXPECT_FALSE(pButton->GetPopuped());
}

// What goes while the group's popup is open: one of the group's controls, the group, the group's
// button on the quick access tool bar, or the group after the popup closed.
enum class Freed { control, group, quickAccessButton, closedThenGroup };

TEST(RibbonGroupControlPopup, FreeingWhatItShowsWhileOpenLeavesNothingDangling) {
    for (Freed freed : {Freed::control, Freed::group, Freed::quickAccessButton, Freed::closedThenGroup}) {
        GroupsFixture fx;
        CKLVRibbonGroupControlPopup* pButton = fx.Collapse();
        ASSERT_NE(pButton, nullptr);
        if (freed == Freed::quickAccessButton) {
            pButton = dynamic_cast<CKLVRibbonGroupControlPopup*>(fx.m_pRibbon->AddToQuickAccess(pButton));
            ASSERT_NE(pButton, nullptr);
            fx.Layout(300);
        }
        CKLVRibbonGroupPopupToolBar* pPopup = fx.Open(pButton);
        ASSERT_NE(pPopup, nullptr);
        pPopup->InternalAddRef();
        CKLVRibbonGroup* pGroup = fx.LastGroup();
        const int nGroups = fx.pTab->GetGroups()->GetCount();
        const int nBefore = fx.m_pRibbon->GetControlCount();
        int nButtons = 0;
        for (int g = 0; g < nGroups; ++g) nButtons += fx.Group(g)->GetControlPopup() ? 1 : 0;
        switch (freed) {
        case Freed::control:
            pGroup->RemoveControl(0);
            // The popup's copy lists only its own clones and lays out again.
            ASSERT_EQ(pPopup->GetGroup()->GetControlCount(), kControlsPerGroup);
            EXPECT_EQ(pPopup->GetGroup()->GetControlAt(0)->GetControls(), pPopup->GetControls());
            pPopup->OnRecalcLayout();
            EXPECT_TRUE(pPopup->GetTrackingMode());
            pButton->OnSetPopup(FALSE);
            break;
        case Freed::group:
            fx.pTab->RemoveAllGroups();
            break;
        case Freed::quickAccessButton:
            fx.m_pRibbon->GetQuickAccessControls()->Remove(pButton);
            EXPECT_EQ(fx.m_pRibbon->GetQuickAccessControls()->GetCount(), 0);
            break;
        case Freed::closedThenGroup:
            pButton->OnSetPopup(FALSE);
            fx.pTab->RemoveAllGroups();
            break;
        }
        EXPECT_FALSE(pPopup->GetTrackingMode()) << static_cast<int>(freed);
        EXPECT_EQ(pPopup->GetControlPopup(), nullptr) << static_cast<int>(freed);
        if (freed == Freed::group || freed == Freed::closedThenGroup) {
            EXPECT_EQ(fx.pTab->GetGroups()->GetCount(), 0);
            // The groups took their controls and buttons out of the ribbon: none stays behind
            // as a control of no group.
            EXPECT_EQ(fx.m_pRibbon->GetControlCount(), nBefore - nButtons - nGroups * kControlsPerGroup);
            for (int i = 0; i < fx.m_pRibbon->GetControlCount(); ++i)
                EXPECT_EQ(CKLVRibbonGroup::Of(fx.m_pRibbon->GetControl(i)), nullptr) << i;
        } else {
            EXPECT_EQ(fx.pTab->GetGroups()->GetCount(), nGroups);
            EXPECT_EQ(fx.m_pRibbon->GetControlCount(), nBefore - 1);
            EXPECT_NE(pGroup->GetControlPopup(), nullptr) << "the group keeps its own button";
        }
        pPopup->InternalRelease();
        fx.Layout(300);
    }
}

TEST(RibbonGroupControlPopup, OnTheQuickAccessToolBarFindsItsGroupByIdAndOnlyWhileItLasts) {
    GroupsFixture fx;
    CKLVRibbonGroupControlPopup* pButton = fx.Collapse();
    ASSERT_NE(pButton, nullptr);
    auto* pClone = dynamic_cast<CKLVRibbonGroupControlPopup*>(fx.m_pRibbon->AddToQuickAccess(pButton));
    ASSERT_NE(pClone, nullptr);
    EXPECT_EQ(fx.m_pRibbon->AddToQuickAccess(pButton), nullptr) << "the same group twice";
    EXPECT_EQ(pClone->GetGroup(), fx.LastGroup());
    EXPECT_EQ(CKLVRibbonGroup::Of(pClone), nullptr) << "the clone lies in no group";

    fx.Layout(300);
    CKLVRibbonGroupPopupToolBar* pPopup = fx.Open(pClone);
    ASSERT_NE(pPopup, nullptr);
    EXPECT_EQ(pPopup->GetGroup()->m_nId, fx.LastGroup()->m_nId);
    pClone->OnSetPopup(FALSE);

    // Once its group is gone, the clone opens an empty tool bar.
    fx.pTab->RemoveAllGroups();
    EXPECT_EQ(pClone->GetGroup(), nullptr);
    EXPECT_TRUE(pClone->OnSetPopup(TRUE));
    EXPECT_EQ(dynamic_cast<CKLVRibbonGroupPopupToolBar*>(pClone->GetCommandBar()), nullptr);
    pClone->OnSetPopup(FALSE);

    // A button of no id cannot find a group: the tool bar refuses it.
    CKLVRibbonGroupControlPopup unnamed;
    EXPECT_FALSE(fx.m_pRibbon->IsAllowQuickAccessControl(&unnamed));
}

TEST(RibbonGroupControlPopup, OnTheQuickAccessToolBarIsSavedAndLoadedAndFindsItsGroupAgain) {
    commandbars_test::CMapBackend store;
    {
        GroupsFixture fx;
        ASSERT_NE(fx.m_pRibbon->AddToQuickAccess(fx.Collapse()), nullptr);
        commandbars_test::CStoreExchange px(store, FALSE);
        fx.m_pRibbon->DoPropExchange(&px);
    }
    GroupsFixture fx;
    commandbars_test::CStoreExchange px(store, TRUE);
    fx.m_pRibbon->DoPropExchange(&px);
    ASSERT_EQ(fx.m_pRibbon->GetQuickAccessControls()->GetCount(), 1);
    auto* pLoaded = dynamic_cast<CKLVRibbonGroupControlPopup*>(fx.m_pRibbon->GetQuickAccessControls()->GetAt(0));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->GetGroup(), fx.LastGroup());
    EXPECT_NE(pLoaded, fx.LastGroup()->GetControlPopup());
}

TEST(RibbonQuickAccessMore, EachOpeningLetsThePopupOfTheOneBeforeGo) {
    CRibbonFrameFixture fx;
    for (int i = 0; i < 12; ++i) {
        auto* pButton = new CKLVControlButton;
        pButton->m_nId = 100 + i;
        pButton->SetCaption("Cmd");
        fx.m_pRibbon->GetQuickAccessControls()->Append(pButton);
    }
    // The first layout brings the added controls' state up to date, which lays the frame out.
    fx.Layout(1200);
    fx.Layout(300);
    CKLVControl* pMore = fx.m_pRibbon->GetMorePopup();
    ASSERT_FALSE(pMore->GetHideFlags() & CKLVControl::hideWrap);
    ASSERT_TRUE(pMore->OnSetPopup(TRUE));
    CKLVCommandBar* pFirst = pMore->GetCommandBar();
    ASSERT_NE(pFirst, nullptr);
    pMore->OnSetPopup(FALSE);
    EXPECT_EQ(pFirst->GetRefCount(), 1) << "held by the control alone";
    pFirst->InternalAddRef();
    ASSERT_TRUE(pMore->OnSetPopup(TRUE));
    EXPECT_NE(pMore->GetCommandBar(), pFirst);
    EXPECT_EQ(pFirst->GetRefCount(), 1) << "only the test's reference is left";
    pFirst->InternalRelease();
    pMore->OnSetPopup(FALSE);
}

TEST(RibbonTabPopupToolBar, ItsCopyHoldsClonesSoAControlFreedWhileOpenLeavesNoStaleEntry) {
    GroupsFixture fx(2);
    fx.m_pRibbon->SetMinimized(TRUE);
    fx.pTabs->SetSelectedItem(fx.pTab);
    auto* pPopup = dynamic_cast<CKLVRibbonTabPopupToolBar*>(fx.pTabs->GetPopupBar());
    ASSERT_NE(pPopup, nullptr);
    CKLVRibbonGroups* pCopies = pPopup->GetTab()->GetGroups();
    ASSERT_EQ(pCopies->GetCount(), 2);
    EXPECT_EQ(pPopup->GetControlCount(), 2 * kControlsPerGroup + 2) << "the clones and two scroll buttons";
    for (int g = 0; g < 2; ++g)
        for (int i = 0; i < kControlsPerGroup; ++i) {
            CKLVControl* pClone = pCopies->GetAt(g)->GetControlAt(i);
            EXPECT_NE(pClone, fx.Group(g)->GetControlAt(i));
            EXPECT_EQ(pClone->GetControls(), pPopup->GetControls());
            EXPECT_TRUE(pClone->IsVisible()) << g << " " << i;
        }

    // The original goes; the popup lays out and draws what it holds.
    fx.Group(0)->RemoveControl(1);
    EXPECT_EQ(fx.Group(0)->GetControlCount(), kControlsPerGroup - 1);
    ASSERT_EQ(pCopies->GetAt(0)->GetControlCount(), kControlsPerGroup);
    pPopup->CalcDynamicLayout(0, 0);
    CClientDC screen(nullptr);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 800, 200);
    const HGDIOBJ hOld = dc.SelectObject(static_cast<HGDIOBJ>(bitmap));
    pPopup->DrawCommandBar(&dc, CRect(0, 0, 800, 200));
    dc.SelectObject(hOld);

    // A clone freed on the popup leaves its group copy too.
    pPopup->GetControls()->Remove(pCopies->GetAt(1)->GetControlAt(0));
    EXPECT_EQ(pCopies->GetAt(1)->GetControlCount(), kControlsPerGroup - 1);
    fx.pTabs->OnSetPopup(FALSE);
    EXPECT_EQ(fx.pTabs->GetPopupBar(), nullptr);
}

TEST(RibbonTabPopupToolBar, ScrollsWithItsOwnButtonsAndBringsASelectedControlIntoView) {
    GroupsFixture fx(20);
    fx.m_pRibbon->SetMinimized(TRUE);
    fx.pTabs->SetSelectedItem(fx.pTab);
    auto* pPopup = dynamic_cast<CKLVRibbonTabPopupToolBar*>(fx.pTabs->GetPopupBar());
    ASSERT_NE(pPopup, nullptr);
    CKLVRibbonGroupScroller* pScroller = pPopup->GetScroller();
    ASSERT_NE(pScroller, fx.m_pRibbon->GetScroller());
    ASSERT_TRUE(pScroller->IsRightVisible());
    CKLVControl* pRight = pScroller->GetButton(TRUE);
    ASSERT_NE(pRight, nullptr);
    EXPECT_EQ(pRight->GetControls(), pPopup->GetControls());
    EXPECT_TRUE(pRight->IsVisible());
    EXPECT_FALSE(pScroller->GetButton(FALSE)->IsVisible());

    // A press scrolls one step and lays the popup out again.
    pRight->OnClick(TRUE);
    EXPECT_EQ(pScroller->GetOffset(), CKLVRibbonGroupScroller::scrollStep);
    EXPECT_TRUE(pScroller->GetButton(FALSE)->IsVisible());
    EXPECT_EQ(fx.m_pRibbon->GetScroller()->GetOffset(), 0) << "the ribbon's own scroll state stays";

    // The last group's button on the popup is brought in when selected.
    CKLVRibbonGroups* pCopies = pPopup->GetTab()->GetGroups();
    CKLVRibbonGroupControlPopup* pLast = pCopies->GetAt(pCopies->GetCount() - 1)->GetControlPopup();
    ASSERT_NE(pLast, nullptr);
    EXPECT_EQ(pLast->GetControls(), pPopup->GetControls());
    CRect rcPopup;
    pPopup->GetClientRect(&rcPopup);
    ASSERT_GT(pLast->GetRect().right, rcPopup.right);
    pPopup->OnControlSelected(TRUE, pLast);
    EXPECT_LE(pLast->GetRect().right, rcPopup.right);
    fx.pTabs->OnSetPopup(FALSE);
}

TEST(RibbonGroupScroller, BringsAControlOfAGroupIntoTheArea) {
    const struct {
        int nLeft, nRight;
        BOOL bLeftShown, bRightShown;
        int nOffset, nExpected;
    } cases[] = {
        {100, 140, TRUE, TRUE, 80, 80},    // inside: no move
        {5, 45, TRUE, TRUE, 80, 73},       // starts 12 pixels in
        {-30, 10, TRUE, TRUE, 20, 0},      // never before 0
        {5, 45, FALSE, TRUE, 80, 80},      // no left button: nothing to scroll back
        {370, 430, TRUE, TRUE, 80, 122},   // overhang 30 and 12
        {370, 430, TRUE, FALSE, 80, 80},   // no right button
        {-50, 430, TRUE, TRUE, 80, 18},    // wider than the area: its left edge wins
    };
    CKLVRibbonGroup group;
    for (const auto& c : cases) {
        CKLVRibbonGroupScroller scroller;
        scroller.SetBounds(CRect(0, 0, 400, 90));
        scroller.ShowButtons(c.bLeftShown, c.bRightShown);
        scroller.SetOffset(c.nOffset);
        CKLVControlButton control;
        control.SetRect(CRect(c.nLeft, 10, c.nRight, 30));
        group.AddControl(&control);
        EXPECT_EQ(scroller.ScrollIntoView(&control), c.nExpected != c.nOffset) << c.nLeft << ".." << c.nRight;
        EXPECT_EQ(scroller.GetOffset(), c.nExpected) << c.nLeft << ".." << c.nRight;
        group.DetachControl(&control);
        // A control in no group is not the scroller's.
        EXPECT_FALSE(scroller.ScrollIntoView(&control));
    }
}

TEST(RibbonGroupScroller, SelectingOrPoppingUpAControlOnTheRibbonScrollsItIntoView) {
    GroupsFixture fx(20);
    // The frame lays the ribbon out at its own width whenever the bar asks for it.
    fx.m_pFrame->RecalcLayout();
    CRect rcClient;
    fx.m_pRibbon->GetClientRect(&rcClient);
    const int nWidth = rcClient.Width();
    fx.Layout(nWidth);
    CKLVRibbonGroupScroller* pScroller = fx.m_pRibbon->GetScroller();
    ASSERT_TRUE(pScroller->IsRightVisible());
    ASSERT_EQ(pScroller->GetOffset(), 0);
    const CRect rcArea = fx.m_pRibbon->m_rcGroupArea;

    // The last group's button lies far right: popping it up brings it in.
    CKLVRibbonGroupControlPopup* pButton = fx.LastGroup()->GetControlPopup();
    ASSERT_NE(pButton, nullptr);
    ASSERT_GT(pButton->GetRect().right, rcArea.right);
    ASSERT_TRUE(pButton->OnSetPopup(TRUE));
    pButton->OnSetPopup(FALSE);
    fx.Layout(nWidth);
    EXPECT_GT(pScroller->GetOffset(), 0);
    EXPECT_LE(pButton->GetRect().right, rcArea.right);
    EXPECT_TRUE(pScroller->IsLeftVisible());

    // Selecting the first group's control scrolls back to the start.
    CKLVControl* pFirst = fx.Group(0)->GetControlPopup() ? static_cast<CKLVControl*>(fx.Group(0)->GetControlPopup())
                                                         : fx.Group(0)->GetControlAt(0);
    ASSERT_LT(pFirst->GetRect().left, rcArea.left + CKLVRibbonGroupScroller::visibleMargin);
    fx.m_pRibbon->OnControlSelected(TRUE, pFirst);
    fx.Layout(nWidth);
    EXPECT_GE(pFirst->GetRect().left, rcArea.left);
}

}  // namespace
}  // namespace ribbon_test
