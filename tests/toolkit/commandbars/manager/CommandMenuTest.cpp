// The plain menus the widgets above the bars show: the items as given (captions, groups, own
// icons only), the item chosen returned, nothing when cancelled.
#include "MenuFrameTestSupport.h"
#include "support/DeferredAction.h"
#include "toolkit/commandbars/manager/CommandMenu.h"
#include "toolkit/common/ImageManager.h"

#include <gtest/gtest.h>

using namespace commandbars_test;
using testsupport::CDeferred;

TEST(CommandMenu, ShowsTheItemsAsGivenAndReturnsTheOneChosen) {
    CMenuFrameFixture frame;
    CDeferred deferred;
    const HICON hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    for (BOOL bChoose : {TRUE, FALSE}) {
        CKLVCommandMenu menu(/*bOwnImages=*/TRUE);
        menu.AddItem(1, "&1 first", hIcon);
        menu.AddItem(2, "&2 second");
        menu.AddCommand(101, /*bBeginGroup=*/TRUE);
        deferred.Post([&] {
            ASSERT_EQ(KLVMouseHook()->GetTrackedPopups().size(), 1u);
            auto* pPopup = dynamic_cast<CKLVCommandBar*>(KLVMouseHook()->GetTrackedPopups()[0]);
            ASSERT_NE(pPopup, nullptr);
            ASSERT_EQ(pPopup->GetControlCount(), 3);
            EXPECT_EQ(pPopup->GetControl(0)->GetCaption(), "&1 first");
            EXPECT_EQ(pPopup->GetControl(1)->GetCaption(), "&2 second");
            EXPECT_EQ(pPopup->GetControl(2)->GetId(), 101);
            EXPECT_EQ(pPopup->GetControl(1)->GetBeginGroup(), FALSE);
            EXPECT_EQ(pPopup->GetControl(2)->GetBeginGroup(), TRUE);
            // Own images: the first item's icon, none for ids that have none.
            ASSERT_NE(pPopup->GetImageManager(), frame.m_pCommandBars->GetImageManager());
            EXPECT_NE(pPopup->GetImageManager()->GetImage(1), nullptr);
            EXPECT_EQ(pPopup->GetImageManager()->GetImage(2), nullptr);
            if (bChoose)
                pPopup->GetControl(1)->OnExecute();
            else
                frame.m_pCommandBars->ClosePopups();
        });
        EXPECT_EQ(menu.Track(frame.m_pCommandBars, CPoint(50, 60), frame.m_pFrame), bChoose ? 2u : 0u);
        EXPECT_TRUE(KLVMouseHook()->GetTrackedPopups().empty());
        EXPECT_TRUE(frame.m_pFrame->m_commands.empty());   // returned, never sent
    }
}
