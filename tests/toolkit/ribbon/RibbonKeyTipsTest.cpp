// The ribbon's key tips on a hidden frame: numbers for the quick access controls (none after the
// eighteenth), letters for the tabs, the rows of the groups' tips, and the keyboard's way in:
// Alt alone, Alt with a tab's letter, and a tab's tip leading to its groups.
#include "RibbonFrameTestSupport.h"
#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/ribbon/RibbonControls.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupControlPopup.h"
#include "toolkit/ribbon/RibbonKeyTips.h"
#include "toolkit/ribbon/RibbonTabPopupToolBar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ribbon_test {
namespace {

using Align = CKLVCommandBarKeyboardTip::Align;

CKLVControl* AddButton(CKLVRibbonBar* pRibbon, CKLVRibbonGroup* pGroup, int nId, LPCTSTR lpszCaption) {
    CKLVControl* pButton = pRibbon->GetControls()->Append(new CKLVControlButton);
    pButton->m_nId = nId;
    pButton->SetCaption(lpszCaption);
    pGroup->AddControl(pButton);
    return pButton;
}

// The tip labelling the object; null when it has none.
CKLVCommandBarKeyboardTip* TipOf(CKLVCommandBars* pCommandBars, const CObject* pLabelled) {
    for (int i = 0; i < pCommandBars->GetKeyboardTipCount(); ++i)
        if (pCommandBars->GetKeyboardTip(i)->m_pLabelled == pLabelled) return pCommandBars->GetKeyboardTip(i);
    return nullptr;
}

void DispatchPostedTimers() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) ::DispatchMessageA(&msg);
}

// A ribbon with the tabs "&Home" and "&Insert", a group on each, and key tips switched on.
class RibbonKeyTips : public ::testing::Test {
protected:
    void SetUp() override {
        m_pRibbon = m_fx.m_pRibbon;
        m_pCommandBars = m_fx.m_pCommandBars;
        m_pCommandBars->GetOptions()->bShowKeyboardTips = TRUE;
        m_pHome = m_pRibbon->AddTab("&Home");
        m_pInsert = m_pRibbon->AddTab("&Insert");
        CKLVRibbonGroup* pClipboard = m_pHome->GetGroups()->Insert(new CKLVRibbonGroup);
        m_pPaste = AddButton(m_pRibbon, pClipboard, 301, "&Paste");
        CKLVRibbonGroup* pTables = m_pInsert->GetGroups()->Insert(new CKLVRibbonGroup);
        m_pTable = AddButton(m_pRibbon, pTables, 401, "&Table");
        AddButton(m_pRibbon, pTables, 402, "");   // nothing to show
        m_pRibbon->GetControlTab()->SetSelectedItem(m_pHome);
        m_fx.Layout(600);
    }
    void TearDown() override {
        m_pCommandBars->HideKeyboardTips();
        m_pRibbon->SetTrackingMode(0);
    }

    CRibbonFrameFixture m_fx;
    CKLVRibbonBar* m_pRibbon = nullptr;
    CKLVCommandBars* m_pCommandBars = nullptr;
    CKLVRibbonTab* m_pHome = nullptr;
    CKLVRibbonTab* m_pInsert = nullptr;
    CKLVControl* m_pPaste = nullptr;
    CKLVControl* m_pTable = nullptr;
};

TEST(RibbonKeyTipKeys, QuickAccessControlsAreNumberedUpToTheEighteenth) {
    const struct {
        int nPosition;
        const char* pszKey;
    } cases[] = {{0, ""}, {1, "1"}, {9, "9"}, {10, "01"}, {17, "08"}, {18, "09"}, {19, ""}, {40, ""}};
    for (const auto& c : cases) EXPECT_STREQ(CKLVRibbonKeyTips::QuickAccessKey(c.nPosition), c.pszKey) << c.nPosition;
}

TEST(RibbonKeyTipKeys, GroupTipsStandOnThreeRowsOrAtALargeControlsBottom) {
    const CRect rcArea(100, 30, 190, 90);   // 60 high: thirds end at 50 and 70
    const struct {
        const char* pszName;
        CRect rcControl;
        BOOL bLarge, bGallery;
        CPoint pt;
        DWORD dwAlign;
    } cases[] = {
        {"large: bottom centre", {110, 32, 150, 88}, TRUE, FALSE, {130, 88}, Align::alignCenterHorz | Align::alignCenterVert},
        {"middle in the top third", {110, 32, 170, 48}, FALSE, FALSE, {110, 40}, Align::alignCenterVert},
        {"middle on the first third", {110, 42, 170, 58}, FALSE, FALSE, {110, 60}, Align::alignCenterVert},
        {"middle on the second third", {110, 62, 170, 78}, FALSE, FALSE, {110, 60}, Align::alignCenterVert},
        {"middle in the bottom third", {110, 66, 170, 88}, FALSE, FALSE, {110, 80}, Align::alignCenterVert},
        {"a gallery goes by its top", {120, 32, 180, 88}, FALSE, TRUE, {120, 40}, Align::alignCenterVert},
        {"a lower gallery", {120, 55, 180, 88}, FALSE, TRUE, {120, 60}, Align::alignCenterVert},
    };
    for (const auto& c : cases) {
        const CKLVRibbonKeyTips::Anchor anchor = CKLVRibbonKeyTips::PlaceInGroup(c.rcControl, rcArea, c.bLarge, c.bGallery);
        EXPECT_EQ(anchor.pt, c.pt) << c.pszName;
        EXPECT_EQ(anchor.dwAlign, c.dwAlign) << c.pszName;
    }
}

TEST_F(RibbonKeyTips, NineteenQuickAccessControlsGetOneToNineThenZeroOneToZeroNine) {
    const std::vector<CKLVControl*> quickAccess = m_fx.AddQuickAccessButtons(19, 1000);
    m_fx.Layout(2000);
    m_pCommandBars->m_nKeyboardNavigationLevel = CKLVRibbonKeyTips::levelTop;
    m_pRibbon->CreateKeyboardTips();
    for (size_t i = 0; i < quickAccess.size(); ++i) {
        ASSERT_TRUE(quickAccess[i]->IsVisible()) << i;
        CKLVCommandBarKeyboardTip* pTip = TipOf(m_pCommandBars, quickAccess[i]);
        if (i == 18) {
            EXPECT_EQ(pTip, nullptr) << "the nineteenth has none";
            continue;
        }
        ASSERT_NE(pTip, nullptr) << i;
        EXPECT_EQ(std::string(pTip->m_strCaption), std::string(i < 9 ? "" : "0") + std::to_string(i < 9 ? i + 1 : i - 8));
        const CRect rc = quickAccess[i]->GetRect();
        EXPECT_EQ(pTip->m_pt, CPoint(rc.left + rc.Width() / 2, rc.bottom - 11)) << i;
        EXPECT_EQ(pTip->m_dwAlign, DWORD(Align::alignCenterHorz));
    }
    // Both tabs have their letters, centred 9 pixels above their bottoms; no group control shows.
    for (CKLVRibbonTab* pTab : {m_pHome, m_pInsert}) {
        CKLVCommandBarKeyboardTip* pTip = TipOf(m_pCommandBars, pTab);
        ASSERT_NE(pTip, nullptr);
        EXPECT_TRUE(pTip->m_strCaption.IsEmpty()) << "the key comes from the \"&\" letter";
        const CRect rc = pTab->GetRect();
        EXPECT_EQ(pTip->m_pt, CPoint(rc.left + rc.Width() / 2, rc.bottom - 9));
    }
    EXPECT_EQ(TipOf(m_pCommandBars, m_pPaste), nullptr);
    EXPECT_EQ(m_pCommandBars->GetKeyboardTipCount(), 18 + 2);
}

TEST_F(RibbonKeyTips, TabsWithoutALetterOrHiddenOrDisabledGetNoTip) {
    CKLVRibbonTab* pPlain = m_pRibbon->AddTab("View");
    CKLVRibbonTab* pHidden = m_pRibbon->AddTab("&Review");
    CKLVRibbonTab* pDisabled = m_pRibbon->AddTab("&Archive");
    pHidden->SetVisible(FALSE);
    pDisabled->SetEnabled(FALSE);
    m_fx.Layout(600);
    m_pCommandBars->m_nKeyboardNavigationLevel = CKLVRibbonKeyTips::levelTop;
    m_pRibbon->CreateKeyboardTips();
    for (CKLVRibbonTab* pTab : {pPlain, pHidden, pDisabled}) EXPECT_EQ(TipOf(m_pCommandBars, pTab), nullptr);
    EXPECT_NE(TipOf(m_pCommandBars, m_pInsert), nullptr);
}

TEST_F(RibbonKeyTips, ATabsTipSelectsItAndShowsItsGroupsTips) {
    m_pCommandBars->m_nKeyboardNavigationLevel = CKLVRibbonKeyTips::levelTop;
    CKLVCommandBarKeyboardTip tip(m_pCommandBars, m_pInsert, "&Insert", 0, 0, 0, TRUE);
    m_pRibbon->OnKeyboardTip(&tip);
    EXPECT_EQ(m_pRibbon->GetSelectedTab(), m_pInsert);
    EXPECT_TRUE(m_pRibbon->GetTrackingMode());
    EXPECT_EQ(m_pRibbon->GetControl(m_pRibbon->m_nSelected), m_pRibbon->GetControlTab());
    EXPECT_TRUE(m_pRibbon->GetControlTab()->IsFocused());
    EXPECT_EQ(m_pCommandBars->m_nKeyboardNavigationLevel, CKLVRibbonKeyTips::levelGroups);
    ASSERT_TRUE(m_pCommandBars->IsKeyboardTipsShown(m_pRibbon));
    // The group's captioned control, large at the widest size: at its bottom centre.
    ASSERT_EQ(m_pCommandBars->GetKeyboardTipCount(), 1);
    CKLVCommandBarKeyboardTip* pTableTip = m_pCommandBars->GetKeyboardTip(0);
    EXPECT_EQ(pTableTip->m_pLabelled, m_pTable);
    EXPECT_STREQ(pTableTip->m_strCaption, "T");
    const CRect rc = m_pTable->GetRect();
    EXPECT_EQ(pTableTip->m_pt, CPoint(rc.left + rc.Width() / 2, rc.bottom));
    EXPECT_EQ(TipOf(m_pCommandBars, m_pPaste), nullptr) << "the other tab's controls show none";
}

TEST_F(RibbonKeyTips, AnotherTabHidesTheGroupsTipsButNotTheTopOnes) {
    for (int nLevel : {int(CKLVRibbonKeyTips::levelGroups), int(CKLVRibbonKeyTips::levelTop)}) {
        m_pRibbon->GetControlTab()->SetSelectedItem(m_pHome);
        m_pCommandBars->ShowKeyboardTips(m_pRibbon, nLevel);
        ASSERT_TRUE(m_pCommandBars->IsKeyboardTipsShown(m_pRibbon)) << nLevel;
        m_pRibbon->GetControlTab()->SetSelectedItem(m_pInsert);
        EXPECT_EQ(m_pRibbon->GetSelectedTab(), m_pInsert) << nLevel;
        EXPECT_EQ(m_pCommandBars->IsKeyboardTipsShown(m_pRibbon) != FALSE, nLevel == CKLVRibbonKeyTips::levelTop)
            << nLevel;
        EXPECT_EQ(TipOf(m_pCommandBars, m_pPaste), nullptr) << "no tip is left on the old tab's controls";
        m_pCommandBars->HideKeyboardTips();
    }
}

TEST_F(RibbonKeyTips, AMinimisedRibbonOpensTheTabWhosePopupShowsTheGroupsTips) {
    m_pRibbon->SetMinimized(TRUE);
    m_pCommandBars->m_nKeyboardNavigationLevel = CKLVRibbonKeyTips::levelTop;
    m_pRibbon->SelectTabFromKeyboard(m_pInsert, CKLVRibbonKeyTips::levelGroups);
    EXPECT_EQ(m_pRibbon->GetSelectedTab(), m_pInsert);
    EXPECT_EQ(m_pCommandBars->m_nKeyboardNavigationLevel, CKLVRibbonKeyTips::levelTop);
    EXPECT_FALSE(m_pCommandBars->IsKeyboardTipsShown(m_pRibbon));
    // The tab's popup is tracked above the tab row, so the keys reach it first.
    const auto& tracked = KLVMouseHook()->GetTrackedPopups();
    ASSERT_EQ(tracked.size(), 2u);
    EXPECT_EQ(tracked.back(), dynamic_cast<CKLVHookedPopupBar*>(m_pRibbon->GetControlTab()->GetPopupBar()));
    EXPECT_EQ(tracked.front(), static_cast<CKLVHookedPopupBar*>(m_pRibbon));
    // The popup shows the tips of its copy of the tab's groups.
    DispatchPostedTimers();
    auto* pPopup = static_cast<CKLVRibbonTabPopupToolBar*>(m_pRibbon->GetControlTab()->GetPopupBar());
    ASSERT_TRUE(m_pCommandBars->IsKeyboardTipsShown(pPopup));
    CKLVControl* pTableCopy = pPopup->GetTab()->GetGroups()->GetAt(0)->GetControlAt(0);
    ASSERT_EQ(m_pCommandBars->GetKeyboardTipCount(), 1);
    EXPECT_EQ(m_pCommandBars->GetKeyboardTip(0)->m_pLabelled, pTableCopy);
    EXPECT_STREQ(m_pCommandBars->GetKeyboardTip(0)->m_strCaption, "T");
    m_pCommandBars->ClosePopups();
}

TEST_F(RibbonKeyTips, ACollapsedGroupsButtonHasATipThatOpensThePopupWithTheGroupsTips) {
    // Thirty-six buttons need twelve columns even at their smallest: on a narrow frame the only
    // group of the tab collapses to its button.
    CKLVRibbonTab* pCharts = m_pRibbon->AddTab("&Charts");
    CKLVRibbonGroup* pGroup = pCharts->GetGroups()->Insert(new CKLVRibbonGroup);
    pGroup->m_strCaption = "Charts";
    for (int i = 0; i < 36; ++i) AddButton(m_pRibbon, pGroup, 500 + i, "Line");
    m_fx.m_pFrame->MoveWindow(0, 0, 290, 400);
    m_pCommandBars->m_nKeyboardNavigationLevel = CKLVRibbonKeyTips::levelTop;
    CKLVCommandBarKeyboardTip tabTip(m_pCommandBars, pCharts, "&Charts", 0, 0, 0, TRUE);
    m_pRibbon->OnKeyboardTip(&tabTip);
    ASSERT_EQ(pGroup->GetSize(), CKLVRibbonGroup::sizePopup);
    CKLVRibbonGroupControlPopup* pButton = pGroup->GetControlPopup();
    ASSERT_NE(pButton, nullptr);
    ASSERT_TRUE(pButton->IsVisible());

    // Only the button has a tip, keyed by the group's caption, at its bottom centre.
    ASSERT_TRUE(m_pCommandBars->IsKeyboardTipsShown(m_pRibbon));
    ASSERT_EQ(m_pCommandBars->GetKeyboardTipCount(), 1);
    CKLVCommandBarKeyboardTip* pButtonTip = TipOf(m_pCommandBars, pButton);
    ASSERT_NE(pButtonTip, nullptr);
    EXPECT_STREQ(pButtonTip->m_strCaption, "C");
    const CRect rcButton = pButton->GetRect();
    EXPECT_EQ(pButtonTip->m_pt, CPoint(rcButton.left + rcButton.Width() / 2, rcButton.bottom));

    // Its key opens the group's popup, which then shows the tips of its copy's controls.
    m_pCommandBars->OnKeyboardTipKey(m_pRibbon, 'C');
    auto* pPopup = dynamic_cast<CKLVRibbonGroupPopupToolBar*>(pButton->GetCommandBar());
    ASSERT_NE(pPopup, nullptr) << "the key opened no popup";
    EXPECT_TRUE(pButton->GetPopuped());
    ASSERT_FALSE(KLVMouseHook()->GetTrackedPopups().empty());
    EXPECT_EQ(KLVMouseHook()->GetTrackedPopups().back(), static_cast<CKLVHookedPopupBar*>(pPopup));
    DispatchPostedTimers();
    ASSERT_TRUE(m_pCommandBars->IsKeyboardTipsShown(pPopup));
    CKLVRibbonGroup* pCopy = pPopup->GetGroup();
    ASSERT_EQ(pCopy->GetSize(), CKLVRibbonGroup::sizeLarge);
    for (int i = 0; i < m_pCommandBars->GetKeyboardTipCount(); ++i)
        EXPECT_TRUE(pCopy->HasControl(dynamic_cast<CKLVControl*>(m_pCommandBars->GetKeyboardTip(i)->m_pLabelled))) << i;
    CKLVControl* pFirst = pCopy->GetControlAt(0);
    CKLVCommandBarKeyboardTip* pFirstTip = TipOf(m_pCommandBars, pFirst);
    ASSERT_NE(pFirstTip, nullptr);
    const CRect rcFirst = pFirst->GetRect();
    EXPECT_EQ(pFirstTip->m_pt, CPoint(rcFirst.left + rcFirst.Width() / 2, rcFirst.bottom)) << "large, as on the ribbon";
    m_pCommandBars->ClosePopups();
}

TEST_F(RibbonKeyTips, AltWithATabsLetterSelectsItAndShowsTheTopTips) {
    EXPECT_FALSE(m_pCommandBars->OnAltKey('Q')) << "no tab has that letter";
    ASSERT_TRUE(m_pCommandBars->OnAltKey('I'));
    EXPECT_EQ(m_pRibbon->GetSelectedTab(), m_pInsert);
    EXPECT_TRUE(m_pRibbon->GetTrackingMode());
    EXPECT_TRUE(m_pRibbon->GetControlTab()->IsFocused());
    EXPECT_EQ(m_pCommandBars->m_nKeyboardNavigationLevel, CKLVRibbonKeyTips::levelTop);
    ASSERT_TRUE(m_pCommandBars->IsKeyboardTipsShown(m_pRibbon));
    CKLVCommandBarKeyboardTip* pHomeTip = TipOf(m_pCommandBars, m_pHome);
    ASSERT_NE(pHomeTip, nullptr);
    EXPECT_STREQ(pHomeTip->m_strCaption, "H");
}

TEST_F(RibbonKeyTips, AltAloneGivesTheTabRowTheKeyboardAndShowsTheTopTips) {
    m_fx.m_pFrame->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_TRUE(m_pRibbon->GetTrackingMode());
    EXPECT_EQ(m_pRibbon->GetSelectedTab(), m_pHome) << "the selection stays";
    EXPECT_TRUE(m_pRibbon->GetControlTab()->IsFocused());
    EXPECT_EQ(m_pCommandBars->m_nKeyboardNavigationLevel, CKLVRibbonKeyTips::levelTop);
    DispatchPostedTimers();
    ASSERT_TRUE(m_pCommandBars->IsKeyboardTipsShown(m_pRibbon));
    EXPECT_NE(TipOf(m_pCommandBars, m_pInsert), nullptr);
    EXPECT_EQ(TipOf(m_pCommandBars, m_pTable), nullptr);

    // Typing a tab's letter goes down to that tab's groups.
    m_pRibbon->OnHookKeyDown('I', 0);
    EXPECT_EQ(m_pRibbon->GetSelectedTab(), m_pInsert);
    EXPECT_EQ(m_pCommandBars->m_nKeyboardNavigationLevel, CKLVRibbonKeyTips::levelGroups);
    EXPECT_NE(TipOf(m_pCommandBars, m_pTable), nullptr);

    // Leaving the keyboard unfocuses the tab row.
    m_pRibbon->SetTrackingMode(0);
    EXPECT_FALSE(m_pRibbon->GetControlTab()->m_bFocused);
}

TEST_F(RibbonKeyTips, EscapeClimbsFromTheGroupsTipsToTheTopTipsThenEndsTracking) {
    m_fx.m_pFrame->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    DispatchPostedTimers();
    m_pRibbon->OnHookKeyDown('I', 0);
    ASSERT_EQ(m_pCommandBars->m_nKeyboardNavigationLevel, CKLVRibbonKeyTips::levelGroups);
    ASSERT_NE(TipOf(m_pCommandBars, m_pTable), nullptr);

    m_pRibbon->OnHookKeyDown(VK_ESCAPE, 0);
    EXPECT_TRUE(m_pRibbon->GetTrackingMode()) << "the first Escape only climbs a level";
    EXPECT_EQ(m_pCommandBars->m_nKeyboardNavigationLevel, CKLVRibbonKeyTips::levelTop);
    ASSERT_TRUE(m_pCommandBars->IsKeyboardTipsShown(m_pRibbon));
    EXPECT_EQ(TipOf(m_pCommandBars, m_pTable), nullptr);
    EXPECT_NE(TipOf(m_pCommandBars, m_pHome), nullptr);
    EXPECT_EQ(m_pRibbon->GetSelectedTab(), m_pInsert) << "the tab chosen stays selected";

    m_pRibbon->OnHookKeyDown(VK_ESCAPE, 0);
    EXPECT_FALSE(m_pRibbon->GetTrackingMode());
    EXPECT_FALSE(m_pCommandBars->IsKeyboardTipsShown(m_pRibbon));
    EXPECT_EQ(m_pCommandBars->m_nKeyboardNavigationLevel, 0);
}

}  // namespace
}  // namespace ribbon_test
