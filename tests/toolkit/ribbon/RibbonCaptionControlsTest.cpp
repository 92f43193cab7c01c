// The caption band's controls: the system button closes the frame on a double click, a caption
// button names its command from the frame's system menu and posts it, and a command list item
// puts its command on the quick access tool bar and takes it off again.
#include "RibbonFrameTestSupport.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/ribbon/RibbonCaptionControls.h"
#include "toolkit/ribbon/RibbonControls.h"

#include <gtest/gtest.h>

#include <string>

namespace ribbon_test {
namespace {

void PumpPosted(HWND hWnd) {
    MSG msg;
    while (::PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

TEST(RibbonCaptionControls, ADoubleClickOnTheSystemButtonAsksTheFrameToClose) {
    CRibbonFrameFixture fx;
    auto* pButton = static_cast<CKLVRibbonControlSystemButton*>(
        fx.m_pRibbon->GetControls()->Append(new CKLVRibbonControlSystemButton));
    fx.m_pRibbon->SetSystemButton(pButton);
    EXPECT_TRUE(pButton->OnDoubleClick(CPoint(1, 1)));
    ASSERT_EQ(fx.m_pFrame->m_sysCommands.size(), 1u);
    EXPECT_EQ(fx.m_pFrame->m_sysCommands[0], 0xF063u);
    // Leaving the collection, it is no longer the ribbon's system button.
    fx.m_pRibbon->GetControls()->Remove(pButton);
    EXPECT_EQ(fx.m_pRibbon->GetSystemButton(), nullptr);
}

TEST(RibbonCaptionControls, ACaptionButtonTakesItsTipFromTheSystemMenuAndPostsItsCommand) {
    CRibbonFrameFixture fx;
    HMENU hSystem = ::GetSystemMenu(fx.m_hFrame, FALSE);
    ASSERT_NE(hSystem, nullptr);
    // Longer than any fixed buffer a tip could have been copied into.
    const std::string longText(600, 'x');
    const struct {
        UINT nCommand;
        std::string strMenuText, strTip;
    } cases[] = {
        {SC_CLOSE, "&Close\tAlt+F4", "&Close"},
        {SC_MINIMIZE, "Mi&nimize", "Mi&nimize"},
        {SC_MAXIMIZE, longText + "\tCtrl+M", longText},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(::ModifyMenuA(hSystem, c.nCommand, MF_BYCOMMAND | MF_STRING, c.nCommand, c.strMenuText.c_str()));
        auto* pButton = static_cast<CKLVRibbonControlCaptionButton*>(
            fx.m_pRibbon->GetControls()->Append(new CKLVRibbonControlCaptionButton(c.nCommand)));
        EXPECT_EQ(std::string(pButton->GetTooltip()), c.strTip) << c.nCommand;
        fx.m_pFrame->m_sysCommands.clear();
        pButton->OnExecute();
        PumpPosted(fx.m_hFrame);
        EXPECT_EQ(fx.m_pFrame->m_sysCommands, std::vector<UINT>{c.nCommand});
    }
    auto* pMissing = new CKLVRibbonControlCaptionButton(SC_RESTORE + 5);
    fx.m_pRibbon->GetControls()->Append(pMissing);
    EXPECT_TRUE(pMissing->GetTooltip().IsEmpty());
}

TEST(RibbonCaptionControls, ACommandListItemTogglesItsCommandOnTheQuickAccessToolBar) {
    CRibbonFrameFixture fx;
    CKLVRibbonQuickAccessControls* pQuickAccess = fx.m_pRibbon->GetQuickAccessControls();
    auto* pCommand = new CKLVControlButton;
    pCommand->m_nId = 57603;
    pCommand->SetCaption("&Save");
    pCommand->SetHideFlag(CKLVControl::hideCustomize, TRUE);
    CKLVRibbonControlQuickAccessCommand item(pQuickAccess, pCommand);
    pCommand->InternalRelease();
    EXPECT_EQ(std::string(item.GetCaption()), "&Save");
    EXPECT_FALSE(item.IsOnToolBar());

    item.OnExecute();
    ASSERT_EQ(pQuickAccess->GetCount(), 1);
    CKLVControl* pAdded = pQuickAccess->GetAt(0);
    EXPECT_NE(pAdded, pCommand) << "a copy goes onto the tool bar";
    EXPECT_FALSE(pAdded->GetHideFlags() & CKLVControl::hideCustomize);
    EXPECT_TRUE(item.IsOnToolBar());
    EXPECT_EQ(item.GetChecked(), TRUE);
    EXPECT_EQ(fx.m_pRibbon->GetControl(0), pAdded);

    item.OnExecute();
    EXPECT_EQ(pQuickAccess->GetCount(), 0);
    EXPECT_FALSE(item.IsOnToolBar());
    EXPECT_NE(fx.m_pRibbon->GetControl(0)->GetId(), 57603);
}

}  // namespace
}  // namespace ribbon_test
