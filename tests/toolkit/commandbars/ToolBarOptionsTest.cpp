// The options popup of a docked tool bar, filled as it opens: copies of the controls its dock
// row hides for lack of room, then a list per bar for showing and hiding buttons, then the
// customize command when the site handles it.
#include "PopupBarTestSupport.h"
#include "classlib/FrameWnd.h"
#include "toolkit/commandbars/dockbars/DockBar.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/ToolBarControls.h"

#include <gtest/gtest.h>

using namespace commandbars_test;

namespace {

// A frame that handles the customize command.
class CCustomizingFrame : public CFrameWnd {
public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (nID == CKLVCommandBars::idCustomizeCommand && m_bCustomize) return TRUE;
        return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    BOOL m_bCustomize = TRUE;
};

TEST(ToolBarOptions, ThePopupListsHiddenControlsTheBarsButtonsAndCustomize) {
    CKLVFlatTestTheme::Register();
    auto* pFrame = new CCustomizingFrame;
    ASSERT_TRUE(pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW));
    pFrame->MoveWindow(0, 0, 500, 300);
    auto* pCommandBars = new CKLVCommandBars;
    pCommandBars->SetSite(pFrame);
    pCommandBars->EnableDocking();
    pCommandBars->GetOptions()->animateType = CKLVPopupBar::animateNone;
    auto* pBar = static_cast<CKLVToolBar*>(pCommandBars->Add("Standard", CKLVCommandBar::barTop));
    ASSERT_NE(pBar, nullptr);
    for (int nId : {101, 102, 103}) pBar->GetControls()->Add(new CFixedControl, nId);
    pBar->GetControls()->CreateOriginalControls();
    pCommandBars->RecalcFrameLayout();
    auto* pOptions = DYNAMIC_DOWNCAST(CKLVControlToolBarOptions,
                                      pBar->GetControls()->FindControl(CKLVToolBar::idToolBarOptions));
    ASSERT_NE(pOptions, nullptr);
    pBar->GetControl(2)->SetHideFlag(CKLVControl::hideWrap, TRUE);   // no room for 103

    ASSERT_TRUE(pBar->SetPopuped(pOptions->GetIndex()));
    CKLVCommandBar* pPopup = pOptions->GetCommandBar();
    ASSERT_TRUE(pPopup->IsVisible());
    ASSERT_EQ(pPopup->GetControlCount(), 3);
    EXPECT_EQ(pPopup->GetControl(0)->GetId(), 103);
    EXPECT_TRUE(pPopup->GetControl(0)->IsVisible());
    CKLVControl* pList = pPopup->GetControl(1);
    EXPECT_EQ(pList->GetType(), CKLVControl::typePopup);
    EXPECT_STREQ(pList->GetCaption(), "Standard");
    EXPECT_TRUE(pList->GetBeginGroup());
    ASSERT_NE(pList->GetCommandBar(), nullptr);
    // One line per button, then "Reset Toolbar".
    EXPECT_EQ(pList->GetCommandBar()->GetControlCount(), 4);
    EXPECT_EQ(pPopup->GetControl(2)->GetId(), static_cast<int>(CKLVCommandBars::idCustomizeCommand));
    EXPECT_TRUE(pPopup->GetControl(2)->GetBeginGroup());

    // Opening again fills it afresh.
    pBar->SetPopuped(-1);
    pBar->GetControl(2)->SetHideFlag(CKLVControl::hideWrap, FALSE);
    pCommandBars->SetSite(pFrame);
    pFrame->m_bCustomize = FALSE;
    pCommandBars->SetSite(pFrame);
    ASSERT_TRUE(pBar->SetPopuped(pOptions->GetIndex()));
    ASSERT_EQ(pPopup->GetControlCount(), 1);
    EXPECT_FALSE(pPopup->GetControl(0)->GetBeginGroup());
    pCommandBars->ClosePopups();
    pCommandBars->InternalRelease();
    pFrame->DestroyWindow();
}

}  // namespace
