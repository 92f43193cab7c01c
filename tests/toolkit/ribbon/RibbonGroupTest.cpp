// The group's own layout: one step of reduction per accepted level, its width at each size, the
// controls it hides as a popup, and short columns spread down the content height.
#include "classlib/Dc.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroups.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const int kCaption = 17;

class RibbonGroupLayout : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr));
        m_pGroup = m_groups.Insert(new CKLVRibbonGroup);
    }
    void AddControls(int nCount, const CString& strCaption = CString()) {
        for (int i = 0; i < nCount; ++i) {
            m_controls.push_back(std::make_unique<CKLVControl>());
            m_controls.back()->SetCaption(strCaption);
            m_pGroup->AddControl(m_controls.back().get());
        }
    }
    int WidthAt(int nSize) {
        m_pGroup->OnBeforeLayout(&m_dc);
        for (int nLevel = 0; nLevel < nSize; ++nLevel) EXPECT_TRUE(m_pGroup->Reduce(nLevel));
        return m_pGroup->CalcWidth(&m_dc);
    }
    int Text(const char* psz) { return m_dc.GetTextExtent(CString(psz)).cx; }

    CDC m_dc;
    CKLVRibbonGroups m_groups;
    CKLVRibbonGroup* m_pGroup = nullptr;
    std::vector<std::unique_ptr<CKLVControl>> m_controls;
};

TEST_F(RibbonGroupLayout, ReducesOneStepOnlyFromTheLevelItIsAt) {
    struct Step {
        int nLevel;
        BOOL bAccepted;
        int nSizeAfter;
    };
    const std::vector<Step> steps = {
        {1, FALSE, 0}, {0, TRUE, 1}, {0, FALSE, 1}, {2, FALSE, 1}, {1, TRUE, 2},
        {2, TRUE, 3},  {3, FALSE, 3}, {2, FALSE, 3},
    };
    AddControls(2);
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "step " << i);
        EXPECT_EQ(steps[i].bAccepted, m_pGroup->Reduce(steps[i].nLevel));
        EXPECT_EQ(steps[i].nSizeAfter, m_pGroup->GetSize());
    }
    m_pGroup->OnBeforeLayout(&m_dc);
    EXPECT_EQ(CKLVRibbonGroup::sizeLarge, m_pGroup->GetSize());
}

TEST_F(RibbonGroupLayout, MeasuresEachSize) {
    struct Case {
        const char* name;
        int nControls;
        const char* pszControl;
        const char* pszGroup;
        int nSize;
        int nWidth;
    };
    const int nPaste = Text("Paste"), nClipboard = Text("A clipboard caption wider than the popup");
    const std::vector<Case> cases = {
        {"large columns are at least 42 wide", 4, "", "", 0, 4 * 42 + 3 * 2},
        {"large columns take the caption", 2, "Paste", "", 0, 2 * std::max(42, nPaste + 8) + 2},
        {"medium columns of three, icon beside caption", 4, "Paste", "", 1, 2 * (16 + 3 + nPaste + 8) + 2},
        {"small columns of three icons", 7, "Paste", "", 2, 3 * 22 + 2 * 2},
        {"a popup button is at least 42 wide", 5, "Paste", "", 3, 42},
        {"a popup button takes the group caption", 1, "", "A clipboard caption wider than the popup", 3,
         nClipboard + 8},
        {"the group caption widens the columns", 1, "", "A clipboard caption wider than the popup", 2,
         nClipboard + 8},
        {"an empty group is as wide as its caption", 0, "", "", 0, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_groups.RemoveAll();
        m_controls.clear();
        m_pGroup = m_groups.Insert(new CKLVRibbonGroup);
        m_pGroup->m_strCaption = c.pszGroup;
        AddControls(c.nControls, c.pszControl);
        EXPECT_EQ(c.nWidth, WidthAt(c.nSize));
    }
}

TEST_F(RibbonGroupLayout, HidesItsControlsAsAPopupAndShowsThemAgain) {
    AddControls(3, "Cut");
    m_controls[1]->SetVisible(FALSE);
    const int nWidth = WidthAt(CKLVRibbonGroup::sizePopup);
    m_pGroup->SetRect(CRect(10, 5, 10 + nWidth, 5 + 86));
    for (const auto& pControl : m_controls) EXPECT_TRUE(pControl->GetHideFlags() & CKLVControl::hideWrap);
    EXPECT_EQ(CRect(10, 5, 10 + nWidth + 5, 91), m_pGroup->GetRect());

    const int nLarge = WidthAt(CKLVRibbonGroup::sizeLarge);
    m_pGroup->SetRect(CRect(10, 5, 10 + nLarge, 5 + 86));
    EXPECT_FALSE(m_controls[0]->GetHideFlags() & CKLVControl::hideWrap);
    EXPECT_TRUE(m_pGroup->GetPlacement(1).bHidden);
    EXPECT_EQ(m_controls[0]->GetRect().right + 2, m_controls[2]->GetRect().left);
    EXPECT_EQ(CRect(12, 7, 12 + m_controls[0]->GetRect().Width(), 7 + 86 - kCaption - 3), m_controls[0]->GetRect());
    EXPECT_EQ(CRect(10, 5, 10 + nLarge, 5 + 86 - kCaption), m_pGroup->GetPlacement(0).rcGroup);
}

TEST_F(RibbonGroupLayout, SpreadsShortColumnsDownTheContentHeight) {
    struct Case {
        const char* name;
        int nControls;
        int nSpare;
        BOOL bColumnSpacing;
        BOOL bAlignTop;
        std::vector<int> drops;
    };
    const std::vector<Case> cases = {
        {"three small controls with 40 to spare", 3, 40, TRUE, FALSE, {10, 20, 30}},
        {"a second column of one", 4, 40, TRUE, FALSE, {10, 20, 30, 42}},
        {"a full column stays", 3, 0, TRUE, FALSE, {0, 0, 0}},
        {"column spacing off", 3, 40, FALSE, FALSE, {0, 0, 0}},
        {"kept to the top rows", 3, 40, TRUE, TRUE, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_groups.RemoveAll();
        m_controls.clear();
        // Content height = group height - caption - 3; the group height is the groups height - 7.
        const int nGroupHeight = 3 * 22 + c.nSpare + kCaption + 3;
        m_groups.SetMetrics(nGroupHeight + 7, kCaption);
        m_pGroup = m_groups.Insert(new CKLVRibbonGroup);
        m_pGroup->m_bColumnSpacing = c.bColumnSpacing;
        m_pGroup->m_bAlignTop = c.bAlignTop;
        AddControls(c.nControls);
        const int nWidth = WidthAt(CKLVRibbonGroup::sizeSmall);
        for (int nPass = 0; nPass < 2; ++nPass) m_pGroup->SetRect(CRect(10, 5, 10 + nWidth, 5 + nGroupHeight));
        for (int i = 0; i < c.nControls; ++i)
            EXPECT_EQ(5 + 2 + (i % 3) * 22 + c.drops[i], m_controls[i]->GetRect().top) << "control " << i;
    }
}

}  // namespace
