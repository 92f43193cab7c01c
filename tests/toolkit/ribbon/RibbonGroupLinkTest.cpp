// A group and the controls it lists may be freed in either order: neither keeps a pointer to the
// one that went first, and a control lies in one group at a time.
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/ribbon/RibbonGroup.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(RibbonGroupLink, WhicheverGoesFirstTheOtherForgetsIt) {
    // The group freed first: its controls no longer name it.
    auto pFirst = std::make_unique<CKLVControl>();
    auto pSecond = std::make_unique<CKLVControl>();
    {
        CKLVRibbonGroup group;
        group.AddControl(pFirst.get());
        group.AddControl(pSecond.get());
        EXPECT_EQ(&group, CKLVRibbonGroup::Of(pFirst.get()));
    }
    EXPECT_EQ(nullptr, CKLVRibbonGroup::Of(pFirst.get()));
    EXPECT_EQ(nullptr, CKLVRibbonGroup::Of(pSecond.get()));

    // A control freed first: the group lists only the others, with their placements.
    CKLVRibbonGroup group;
    auto pGone = std::make_unique<CKLVControl>();
    group.AddControl(pFirst.get());
    group.AddControl(pGone.get());
    group.AddControl(pSecond.get());
    pGone.reset();
    ASSERT_EQ(2, group.GetControlCount());
    EXPECT_EQ(pFirst.get(), group.GetControlAt(0));
    EXPECT_EQ(pSecond.get(), group.GetControlAt(1));
    group.OnBeforeLayout(nullptr);
    group.CalcWidth(nullptr);
    EXPECT_FALSE(group.GetPlacement(1).bHidden);

    // A control detached as it leaves the ribbon's collection names the group no more.
    group.DetachControl(pFirst.get());
    EXPECT_EQ(nullptr, CKLVRibbonGroup::Of(pFirst.get()));
    ASSERT_EQ(1, group.GetControlCount());
    EXPECT_EQ(pSecond.get(), group.GetControlAt(0));
}

TEST(RibbonGroupLink, AControlAddedToAnotherGroupLeavesTheFirst) {
    auto pControl = std::make_unique<CKLVControl>();
    CKLVRibbonGroup first;
    {
        CKLVRibbonGroup second;
        first.AddControl(pControl.get());
        second.AddControl(pControl.get());
        EXPECT_EQ(0, first.GetControlCount());
        EXPECT_EQ(1, second.GetControlCount());
        EXPECT_EQ(&second, CKLVRibbonGroup::Of(pControl.get()));
    }
    // Freeing the group it moved to unlinks it; the first group never touches it again.
    EXPECT_EQ(nullptr, CKLVRibbonGroup::Of(pControl.get()));
    first.AddControl(pControl.get());
    pControl.reset();
    EXPECT_EQ(0, first.GetControlCount());
}

}  // namespace
