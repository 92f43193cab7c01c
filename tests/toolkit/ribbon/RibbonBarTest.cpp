// The ribbon on a hidden frame: its height as the frame shrinks and grows, its saved state, the
// quick access tool bar (wrapping, duplicates, shared references) and the context headers.
#include "RibbonFrameTestSupport.h"
#include "StateStores.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/ribbon/RibbonControls.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace ribbon_test {
namespace {

using commandbars_test::CMapBackend;
using commandbars_test::CStoreExchange;

TEST(RibbonBar, IsHiddenBelowTheMinimumSizeAndShowsAgainWhenTheFrameGrows) {
    CRibbonFrameFixture fx;
    fx.m_pRibbon->AddTab("Home");
    const struct {
        int nWidth, nFrameHeight;
        BOOL bVisible;
    } cases[] = {
        {600, 400, TRUE}, {249, 400, FALSE}, {250, 400, TRUE}, {600, 249, FALSE}, {600, 250, TRUE}, {100, 100, FALSE},
        {600, 400, TRUE},
    };
    for (const auto& c : cases) {
        fx.m_pFrame->MoveWindow(0, 0, 600, c.nFrameHeight);
        const int nHeight = fx.Layout(c.nWidth);
        EXPECT_EQ(fx.m_pRibbon->IsRibbonVisible(), c.bVisible) << c.nWidth << "x" << c.nFrameHeight;
        if (c.bVisible)
            EXPECT_GT(nHeight, 0) << c.nWidth << "x" << c.nFrameHeight;
        else
            EXPECT_EQ(nHeight, 0) << c.nWidth << "x" << c.nFrameHeight;
    }
}

TEST(RibbonBar, HeightAddsCaptionBandTabRowGroupAreaAndQuickAccessBelow) {
    CRibbonFrameFixture fx;
    CKLVRibbonBar* pRibbon = fx.m_pRibbon;
    auto caption = [&] { return pRibbon->m_rcCaption.Height(); };
    const int nNoTab = fx.Layout(600);
    EXPECT_GT(caption(), 0);
    EXPECT_EQ(nNoTab, caption() + pRibbon->GetTabsHeight() + 2);
    pRibbon->AddTab("Home");
    pRibbon->GetControlTab()->SetCurSel(0);
    EXPECT_EQ(fx.Layout(600), caption() + pRibbon->GetTabsHeight() + pRibbon->GetGroupsHeight());
    EXPECT_EQ(pRibbon->m_rcGroupArea.Height(), pRibbon->GetGroupsHeight());
    pRibbon->m_nGroupHeight = 120;
    EXPECT_EQ(fx.Layout(600), caption() + pRibbon->GetTabsHeight() + 120);
    pRibbon->SetMinimized(TRUE);
    EXPECT_EQ(fx.Layout(600), caption() + pRibbon->GetTabsHeight() + 2);
    pRibbon->SetMinimized(FALSE);
    EXPECT_EQ(pRibbon->GetSelectedTab(), pRibbon->GetControlTab()->GetTab(0)) << "restoring selects the first tab";
    pRibbon->SetQuickAccessBelow(TRUE);
    EXPECT_EQ(fx.Layout(600), caption() + pRibbon->GetTabsHeight() + 120 + pRibbon->GetQuickAccessHeight() + 1);
    EXPECT_EQ(pRibbon->m_rcQuickAccess.top, pRibbon->m_rcGroupArea.bottom);
    EXPECT_EQ(pRibbon->m_rcQuickAccess.Height(), pRibbon->GetQuickAccessHeight());
}

TEST(RibbonBar, StateKeysRoundTripAndAnOldSchemaKeepsTheMinimizedState) {
    const struct {
        UINT nSchema;
        BOOL bSavedMinimized, bCurrentMinimized, bExpectedMinimized;
    } cases[] = {
        {23, TRUE, FALSE, TRUE}, {23, FALSE, TRUE, FALSE}, {19, TRUE, FALSE, TRUE}, {18, TRUE, FALSE, FALSE},
        {18, FALSE, TRUE, TRUE},
    };
    for (const auto& c : cases) {
        CRibbonFrameFixture fx;
        CKLVRibbonBar* pRibbon = fx.m_pRibbon;
        pRibbon->AddTab("Home");
        pRibbon->SetQuickAccessBelow(TRUE);
        pRibbon->SetMinimized(c.bSavedMinimized);
        auto* pButton = new CKLVControlButton;
        pButton->m_nId = 57603;
        pRibbon->GetQuickAccessControls()->Append(pButton);
        CMapBackend store;
        {
            CStoreExchange px(store, FALSE);
            px.m_dwSchema = c.nSchema;
            pRibbon->DoPropExchange(&px);
        }
        // Values equal to their defaults are left out of the store.
        EXPECT_EQ(store.m_values.count("Minimized"), c.nSchema > 18 && c.bSavedMinimized ? 1u : 0u) << c.nSchema;
        EXPECT_EQ(store.m_values.count("ShowQuickAccessBelow"), 1u);
        pRibbon->SetQuickAccessBelow(FALSE);
        pRibbon->SetMinimized(c.bCurrentMinimized);
        pRibbon->GetQuickAccessControls()->RemoveAll();
        {
            CStoreExchange px(store, TRUE);
            px.m_dwSchema = c.nSchema;
            pRibbon->DoPropExchange(&px);
        }
        EXPECT_TRUE(pRibbon->IsQuickAccessBelow()) << c.nSchema;
        EXPECT_EQ(pRibbon->IsMinimized(), c.bExpectedMinimized) << c.nSchema << c.bSavedMinimized;
        ASSERT_EQ(pRibbon->GetQuickAccessControls()->GetCount(), 1) << c.nSchema;
        CKLVControl* pLoaded = pRibbon->GetQuickAccessControls()->GetAt(0);
        EXPECT_EQ(pLoaded->GetId(), 57603);
        // The loaded control is also the ribbon's, first in its collection, and only there once.
        EXPECT_EQ(pRibbon->GetControl(0), pLoaded);
        int nHeld = 0;
        for (int i = 0; i < pRibbon->GetControlCount(); ++i) nHeld += pRibbon->GetControl(i)->GetId() == 57603;
        EXPECT_EQ(nHeld, 1);
        EXPECT_NE(pRibbon->GetControlTab()->GetIndex(), -1);
    }
}

TEST(RibbonBar, QuickAccessControlsThatPassTheLimitWrapIntoTheMorePopup) {
    CRibbonFrameFixture fx;
    CKLVRibbonBar* pRibbon = fx.m_pRibbon;
    for (int i = 0; i < 12; ++i) {
        auto* pButton = new CKLVControlButton;
        pButton->m_nId = 100 + i;
        pButton->SetCaption("Cmd");
        pRibbon->GetQuickAccessControls()->Append(pButton);
    }
    fx.Layout(1200);
    EXPECT_FALSE(pRibbon->GetCustomizePopup()->GetHideFlags() & CKLVControl::hideWrap);
    EXPECT_TRUE(pRibbon->GetMorePopup()->GetHideFlags() & CKLVControl::hideWrap);

    fx.Layout(300);
    CKLVRibbonQuickAccessControls* pQuickAccess = pRibbon->GetQuickAccessControls();
    int nWrapped = 0;
    BOOL bWrappedBefore = FALSE;
    for (int i = 0; i < pQuickAccess->GetCount(); ++i) {
        const BOOL bWrapped = (pQuickAccess->GetAt(i)->GetHideFlags() & CKLVControl::hideWrap) != 0;
        EXPECT_TRUE(!bWrappedBefore || bWrapped) << "only a tail wraps, control " << i;
        bWrappedBefore = bWrapped;
        nWrapped += bWrapped;
        if (!bWrapped) {
            EXPECT_LE(pQuickAccess->GetAt(i)->GetRect().right, 300 - 3 * pRibbon->m_rcCaption.Height());
        }
    }
    EXPECT_GT(nWrapped, 0);
    EXPECT_LT(nWrapped, 12);
    EXPECT_TRUE(pRibbon->GetCustomizePopup()->GetHideFlags() & CKLVControl::hideWrap);
    EXPECT_FALSE(pRibbon->GetMorePopup()->GetHideFlags() & CKLVControl::hideWrap);

    CKLVCommandBar* pMore = pRibbon->CreateQuickAccessMorePopup();
    ASSERT_EQ(pMore->GetControlCount(), nWrapped + 1);
    EXPECT_EQ(pMore->GetControl(0)->GetId(), 100 + 12 - nWrapped);
    EXPECT_EQ(pMore->GetControl(nWrapped)->GetId(), static_cast<int>(CKLVRibbonBar::idCustomizeQuickAccess));
    for (int i = 0; i <= nWrapped; ++i) EXPECT_FALSE(pMore->GetControl(i)->GetHideFlags() & CKLVControl::hideWrap);
    pMore->InternalRelease();
}

TEST(RibbonBar, AddingTheSameCommandTwiceIsRefusedAndReferencesBalanceAfterRemoval) {
    CRibbonFrameFixture fx;
    CKLVRibbonBar* pRibbon = fx.m_pRibbon;
    const int nOwnParts = pRibbon->GetControlCount();
    auto* pSource = new CKLVControlButton;
    pSource->m_nId = 57603;
    CKLVControl* pAdded = pRibbon->AddToQuickAccess(pSource);
    ASSERT_NE(pAdded, nullptr);
    EXPECT_EQ(pRibbon->AddToQuickAccess(pSource), nullptr);
    pAdded->SetHideFlag(CKLVControl::hideWrap, TRUE);
    EXPECT_EQ(pRibbon->AddToQuickAccess(pSource), nullptr) << "a wrapped control is still on the tool bar";
    pRibbon->m_bAllowQuickAccessDuplicates = TRUE;
    CKLVControl* pSecond = pRibbon->AddToQuickAccess(pSource);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(pRibbon->GetControlCount(), nOwnParts + 2);

    // One reference for each collection, plus the test's own.
    pAdded->InternalAddRef();
    pSecond->InternalAddRef();
    EXPECT_EQ(pAdded->GetRefCount(), 3);
    pRibbon->GetQuickAccessControls()->Remove(pAdded);
    EXPECT_EQ(pAdded->GetRefCount(), 1);
    pRibbon->GetControls()->Remove(pSecond);
    EXPECT_EQ(pSecond->GetRefCount(), 1);
    EXPECT_EQ(pRibbon->GetQuickAccessControls()->GetCount(), 0);
    EXPECT_EQ(pRibbon->GetControlCount(), nOwnParts);
    pAdded->InternalRelease();
    pSecond->InternalRelease();
    pSource->InternalRelease();

    // Emptying the ribbon's collection keeps its own parts and takes the quick access tool bar along.
    pRibbon->AddToQuickAccess(pSource = new CKLVControlButton);
    pRibbon->GetControls()->RemoveAll();
    EXPECT_EQ(pRibbon->GetQuickAccessControls()->GetCount(), 0);
    EXPECT_EQ(pRibbon->GetControlCount(), nOwnParts);
    pSource->InternalRelease();
}

TEST(RibbonBar, ContextHeadersSpanTheirTabRunsAndGoWhenTheyCannotAllFit) {
    CRibbonFrameFixture fx;
    CKLVRibbonBar* pRibbon = fx.m_pRibbon;
    // Wide enough that the context tabs start right of the quick access tool bar in the caption.
    pRibbon->AddTab("Home and Layout");
    CKLVRibbonTab* pFirst = pRibbon->AddTab("Format");
    CKLVRibbonTab* pSecond = pRibbon->AddTab("Design");
    CKLVRibbonTab* pOther = pRibbon->AddTab("C");
    for (CKLVRibbonTab* pTab : {pFirst, pSecond}) {
        pTab->m_nContextColor = 1;
        pTab->m_strContextCaption = "Tools";
    }
    pOther->m_nContextColor = 2;
    pOther->m_strContextCaption = "Other";
    fx.Layout(600);
    CKLVRibbonTabContextHeaders* pHeaders = pRibbon->GetContextHeaders();
    ASSERT_EQ(pHeaders->GetCount(), 2);
    EXPECT_EQ(pHeaders->GetAt(0)->pFirstTab, pFirst);
    EXPECT_EQ(pHeaders->GetAt(0)->pLastTab, pSecond);
    EXPECT_EQ(pHeaders->GetAt(1)->pFirstTab, pOther);
    EXPECT_EQ(pSecond->m_pContextHeader, pHeaders->GetAt(0));
    EXPECT_EQ(pHeaders->GetAt(0)->rcHeader.left, pFirst->GetRect().left);
    EXPECT_EQ(pHeaders->GetAt(0)->rcHeader.right, pSecond->GetRect().right);
    EXPECT_EQ(pHeaders->GetAt(0)->rcHeader.top, pRibbon->m_rcCaption.top + 4);
    for (int i = 0; i < pHeaders->GetCount(); ++i) EXPECT_GE(pHeaders->GetAt(i)->rcHeader.Width(), 40);

    // A tab between them that leaves the context splits the run.
    pRibbon->GetControlTab()->GetTab(0)->m_nContextColor = 0;
    pSecond->m_strContextCaption = "Else";
    fx.Layout(600);
    EXPECT_EQ(pHeaders->GetCount(), 3);

    // Seven headers of 40 pixels cannot fit into the 250 pixels of a narrow ribbon.
    for (int i = 0; i < 4; ++i) {
        CKLVRibbonTab* pTab = pRibbon->AddTab("X");
        pTab->m_nContextColor = 3 + i;
    }
    fx.Layout(250);
    EXPECT_EQ(pHeaders->GetCount(), 0);
    EXPECT_EQ(pFirst->m_pContextHeader, nullptr);
}

}  // namespace
}  // namespace ribbon_test
