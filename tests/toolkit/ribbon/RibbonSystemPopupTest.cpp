// The system button's popup: its bottom buttons placed right to left in the bottom border, the
// mouse left to the system button under it, and the recent file list rebuilt as numbered list
// items after its caption.
#include "RibbonFrameTestSupport.h"
#include "support/FlatPaintManagerTheme.h"
#include "classlib/RecentFileList.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/ribbon/RibbonCaptionControls.h"
#include "toolkit/ribbon/RibbonSystemPopupBar.h"
#include "toolkit/ribbon/RibbonSystemPopupControls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

struct ReleaseBar {
    void operator()(CKLVCommandBar* p) const { p->InternalRelease(); }
};
template <class T>
using BarPtr = std::unique_ptr<T, ReleaseBar>;

CKLVControl* AddControl(CKLVCommandBar* pBar, CKLVControl* pControl, int nId, LPCTSTR lpszCaption) {
    pBar->GetControls()->Add(pControl, nId);
    pControl->SetCaption(lpszCaption);
    return pControl;
}

TEST(RibbonSystemPopup, BottomButtonsSitRightToLeftInTheBottomBorder) {
    CKLVFlatTestTheme::Register();
    CKLVPaintManager::SetTheme(0);
    BarPtr<CKLVRibbonSystemPopupBar> pBar(new CKLVRibbonSystemPopupBar);
    CRect rcBorders;
    pBar->GetBorders(rcBorders);
    EXPECT_EQ(rcBorders, CRect(6, 18, 6, 29));
    CKLVControl* pCommand = AddControl(pBar.get(), new CKLVControlButton, 100, "New");
    CKLVControl* pRight = AddControl(pBar.get(), new CKLVRibbonControlSystemPopupBarButton, 101, "Options");
    CKLVControl* pLeft = AddControl(pBar.get(), new CKLVRibbonControlSystemPopupBarButton, 102, "Exit");
    const CSize sz = pBar->CalcDynamicLayout(0, 0);
    ASSERT_GT(sz.cx, 0);
    EXPECT_EQ(pRight->GetRect().right, sz.cx - 6 + 1);
    EXPECT_EQ(pLeft->GetRect().right, pRight->GetRect().left - 6);
    for (CKLVControl* pButton : {pRight, pLeft}) {
        EXPECT_TRUE(pButton->IsVisible());
        EXPECT_GT(pButton->GetRect().Width(), 0);
        EXPECT_EQ(pButton->GetRect().top, sz.cy - 25);
        EXPECT_EQ(pButton->GetRect().bottom, sz.cy - 3);
    }
    // The buttons take no room among the other controls.
    EXPECT_LE(pCommand->GetRect().bottom, sz.cy - 29);
    EXPECT_EQ(pCommand->GetRect().top, 18);
    EXPECT_FALSE(pBar->IsGripperVisible());
    EXPECT_TRUE(pBar->GetSecondColumnRect().IsRectEmpty());

    // A control that starts a second column puts the column's background from its left edge on.
    CKLVControl* pColumn = AddControl(pBar.get(), new CKLVControlButton, 103, "Recent");
    pColumn->SetFlags(CKLVControl::flagWrapRow);
    const CSize szTwo = pBar->CalcDynamicLayout(0, 0);
    ASSERT_TRUE(pColumn->GetWrap());
    EXPECT_GT(pColumn->GetRect().left, pCommand->GetRect().left);
    EXPECT_EQ(pBar->GetSecondColumnRect(), CRect(pColumn->GetRect().left, 18, szTwo.cx - 6, szTwo.cy - 29));
}

// A system popup with a window (hidden) at a known place.
class CPlacedSystemPopup : public CKLVRibbonSystemPopupBar {
public:
    BOOL Place(CRect rc) {
        if (!CreatePopupWindow()) return FALSE;
        MoveWindow(rc, FALSE);
        return TRUE;
    }
};

TEST(RibbonSystemPopup, LeavesItsButtonTheMouseAndReachesOverIt) {
    ribbon_test::CRibbonFrameFixture fx;
    auto* pButton = static_cast<CKLVRibbonControlSystemButton*>(
        fx.m_pRibbon->GetControls()->Append(new CKLVRibbonControlSystemButton));
    fx.m_pRibbon->SetSystemButton(pButton);
    fx.Layout(600);
    CRect rcButton = pButton->GetRect();
    ASSERT_FALSE(rcButton.IsRectEmpty());
    fx.m_pRibbon->ClientToScreen(&rcButton);

    auto* pPopup = new CPlacedSystemPopup;
    pButton->SetCommandBar(pPopup);
    pPopup->InternalRelease();
    pPopup->m_pControlPopup = pButton;
    // The popup's window covers the lower half of the button and goes on below it.
    const int nMiddle = rcButton.top + rcButton.Height() / 2;
    ASSERT_TRUE(pPopup->Place(CRect(rcButton.left, nMiddle, rcButton.left + 200, nMiddle + 150)));
    const struct {
        const char* pszName;
        CPoint pt;
        int nHit;
    } cases[] = {
        {"over the button", CPoint(rcButton.left + 2, rcButton.bottom - 2), CKLVHookedPopupBar::hitOutside},
        {"beside the button", CPoint(rcButton.right + 5, rcButton.bottom - 2), CKLVHookedPopupBar::hitInside},
        {"below the button", CPoint(rcButton.left + 2, rcButton.bottom + 5), CKLVHookedPopupBar::hitInside},
        {"outside the popup", CPoint(rcButton.left + 300, rcButton.bottom + 5), CKLVHookedPopupBar::hitOutside},
    };
    for (const auto& c : cases) EXPECT_EQ(pPopup->HitTestPopup(c.pt), c.nHit) << c.pszName;

    // Opened from the button of a ribbon with a caption band and a tab row, the popup's excluded
    // rectangle ends 18 pixels above the button's bottom.
    CRect rcExclude = pButton->GetRect();
    pPopup->AdjustExcludeRect(rcExclude, FALSE);
    EXPECT_EQ(rcExclude.bottom, pButton->GetRect().bottom - 18);
    EXPECT_EQ(rcExclude.top, pButton->GetRect().top);
    pPopup->m_pControlPopup = nullptr;
    pPopup->DestroyWindow();
}

TEST(RibbonSystemPopup, APageOpensFlushWithTheContentAndAtLeastAsHighAsIt) {
    CKLVFlatTestTheme::Register();
    CKLVPaintManager::SetTheme(0);
    BarPtr<CPlacedSystemPopup> pSystem(new CPlacedSystemPopup);
    auto* pParent = new CKLVControlPopup;
    AddControl(pSystem.get(), pParent, 200, "Save As");
    BarPtr<CKLVRibbonSystemPopupBarPage> pPage(new CKLVRibbonSystemPopupBarPage);
    AddControl(pPage.get(), new CKLVControlButton, 201, "Page item");
    pPage->m_pControlPopup = pParent;
    ASSERT_EQ(pPage->GetSystemPopupBar(), pSystem.get());

    // Before the system popup has a window the page is an ordinary popup.
    const CSize szAlone = pPage->CalcDynamicLayout(0, 0);
    ASSERT_TRUE(pSystem->Place(CRect(100, 100, 500, 500)));
    const CSize sz = pPage->CalcDynamicLayout(0, 0);
    EXPECT_EQ(sz.cy, std::max<int>(szAlone.cy, 400 - 18 - 29 - 2));
    EXPECT_EQ(sz.cx, szAlone.cx);
    CRect rcExclude(300, 150, 480, 172);
    pPage->AdjustExcludeRect(rcExclude, FALSE);
    EXPECT_EQ(rcExclude, CRect(300, 100 + 18 + 1, 481, 172));

    pPage->m_pControlPopup = nullptr;
    pSystem->DestroyWindow();
}

class CTestRecentFiles : public CKLVRibbonControlSystemRecentFileList {
public:
    CRecentFileList* GetRecentFileList() override { return m_pList.get(); }
    std::unique_ptr<CRecentFileList> m_pList;
};

TEST(RibbonSystemPopup, RecentFilesBecomeNumberedListItemsAfterTheCaption) {
    BarPtr<CKLVRibbonSystemPopupBar> pBar(new CKLVRibbonSystemPopupBar);
    auto* pList = new CTestRecentFiles;
    AddControl(pBar.get(), pList, 9000, "Recent Documents");
    AddControl(pBar.get(), new CKLVControlButton, 100, "After");
    pList->m_pList = std::make_unique<CRecentFileList>(0, "Recent", "File%d", 12);
    const CString strLong = "C:\\" + CString('n', 256) + ".c";   // 262 characters
    for (int i = 0; i < 11; ++i) (*pList->m_pList)[i].Format("C:\\work\\doc%d.wsdl", i + 1);
    (*pList->m_pList)[1] = "C:\\a&b.wsdl";
    (*pList->m_pList)[2] = strLong.Left(260);

    for (int nPass = 0; nPass < 2; ++nPass) {   // a second rebuild replaces the first one's items
        pList->PrepareDynamicLayout(0);
        CKLVControls* pControls = pBar->GetControls();
        ASSERT_EQ(pControls->GetCount(), 2 + 11);
        const struct {
            int nIndex;
            LPCTSTR lpszCaption;
        } cases[] = {{0, "&1 C:\\work\\doc1.wsdl"}, {1, "&2 C:\\a&&b.wsdl"}, {9, "1&0 C:\\work\\doc10.wsdl"},
                     {10, "11 C:\\work\\doc11.wsdl"}};
        for (const auto& c : cases) {
            CKLVControl* pItem = pControls->GetAt(1 + c.nIndex);
            ASSERT_NE(dynamic_cast<CKLVRibbonControlSystemPopupBarListItem*>(pItem), nullptr);
            EXPECT_STREQ(pItem->GetCaption(), c.lpszCaption);
            EXPECT_EQ(pItem->GetId(), CKLVRibbonControlSystemRecentFileList::firstRecentFileId + c.nIndex);
            EXPECT_EQ(pItem->GetFlags(), 0x48u);
            EXPECT_STREQ(pItem->m_strTooltipText, (*pList->m_pList)[c.nIndex]);
        }
        // A 260-character name is kept whole.
        EXPECT_STREQ(pControls->GetAt(3)->GetCaption(), "&3 " + strLong.Left(260));
        EXPECT_STREQ(pControls->GetAt(12)->GetCaption(), "After");
    }
}

}  // namespace
