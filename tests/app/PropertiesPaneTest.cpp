// The properties pane of docking pane 702: its four grids with their items, one grid shown,
// creation run twice, layout under the tool bar and without it, and the focus.
#include "AppTestHost.h"

#include "app/PropertiesPane.h"
#include "app/res/Resource.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridItems.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <string>
#include <vector>

using namespace apptest;

namespace {

using PropertiesPaneTest = AppTest;

struct ItemRow {
    UINT nID;
    const char* lpszCaption;
    const char* lpszValue;
    int nOptions;
    UINT nFlags;
};

const UINT kList = KLVPGItemHasEdit | KLVPGItemHasComboButton;
const UINT kPlain = KLVPGItemHasEdit;

CPropertiesPane& Pane(CMainFrame& frame) {
    return *static_cast<CPropertiesPane*>(frame.GetPaneWindow(IDP_PROPERTIES));
}

CKLVPropertyGridItem* Category(CKLVPropertyGrid& grid) {
    CKLVPropertyGridItems* pCategories = grid.GetGridView().GetCategories();
    return pCategories->GetCount() == 1 ? pCategories->GetAt(0) : nullptr;
}

void ExpectItems(CKLVPropertyGrid& grid, const char* lpszCategory, const std::vector<ItemRow>& rows) {
    CKLVPropertyGridItem* pCategory = Category(grid);
    ASSERT_NE(pCategory, nullptr) << lpszCategory;
    EXPECT_STREQ(pCategory->GetCaption(), lpszCategory);
    EXPECT_TRUE(pCategory->IsExpanded()) << lpszCategory;
    CKLVPropertyGridItems* pItems = pCategory->GetChilds();
    ASSERT_EQ(pItems->GetCount(), static_cast<int>(rows.size())) << lpszCategory;
    for (int i = 0; i < pItems->GetCount(); ++i) {
        CKLVPropertyGridItem* pItem = pItems->GetAt(i);
        const ItemRow& row = rows[i];
        EXPECT_EQ(pItem->GetID(), row.nID) << row.lpszCaption;
        EXPECT_STREQ(pItem->GetCaption(), row.lpszCaption) << row.nID;
        EXPECT_STREQ(pItem->GetValue(), row.lpszValue) << row.nID;
        EXPECT_EQ(pItem->GetConstraints()->GetCount(), row.nOptions) << row.nID;
        EXPECT_EQ(pItem->GetFlags() & kList, row.nFlags) << row.nID;
    }
}

TEST_F(PropertiesPaneTest, EachGridHoldsItsItemsInOrderUnderItsCategory) {
    CPropertiesPane& pane = Pane(Frame());
    ASSERT_TRUE(pane.GetSafeHwnd());
    ExpectItems(pane.m_wndProjectGrid, "Protocol Settings",
                {{704, "Name", "", 0, kPlain},
                 {705, "Based Protocol", "TCP", 2, kList},
                 {706, "Target Platform", "Windows", 2, kList},
                 {708, "Library Type", "dll library", 2, kList},
                 {707, "Location", "", 0, kPlain}});
    ExpectItems(pane.m_wndPacketGrid, "Packet Settings",
                {{710, "Name", "", 0, kPlain}, {711, "Type", "", 0, kPlain}});
    ExpectItems(pane.m_wndFieldGrid, "Field Settings",
                {{713, "Name", "", 0, kPlain},
                 {714, "Unit", "byte", 1, kList},
                 {715, "Data Type", "unsigned int", 10, kList},
                 {716, "Max Length", "", 0, kPlain},
                 {717, "Max Count", "", 0, kPlain},
                 {718, "Related Count", "", 0, kList},
                 {721, "Attribute", "fix length", 2, kList},
                 {722, "Variant", "separated by binary 0", 3, kList},
                 {723, "Related Length", "", 0, kList},
                 {719, "Type", "normal data", 5, kList},
                 {724, "Tag", "", 0, kPlain}});
    EXPECT_EQ(pane.m_wndFieldGrid.GetGridView().GetCategories()->FindItem(720), nullptr)
        << "Reinterpret Name has a caption but no item";
    CKLVPropertyGridItem* pUnit = Category(pane.m_wndFieldGrid)->GetChilds()->FindItem(714);
    ASSERT_NE(pUnit, nullptr);
    EXPECT_TRUE(pUnit->GetReadOnly()) << "the unit shows a list button but takes no edit";
    CKLVPropertyGridItemConstraints* pTypes = Category(pane.m_wndFieldGrid)->GetChilds()->FindItem(715)->GetConstraints();
    EXPECT_STREQ(pTypes->GetAt(0), "unsigned int");
    EXPECT_STREQ(pTypes->GetAt(8), "char []");
    EXPECT_STREQ(pTypes->GetAt(9), "char *");
}

TEST_F(PropertiesPaneTest, OnlyTheBlankGridIsShownAndASecondCreationAddsNothing) {
    CPropertiesPane& pane = Pane(Frame());
    const auto visible = [&pane] {
        std::string shown;
        for (CKLVPropertyGrid* pGrid :
             {&pane.m_wndProjectGrid, &pane.m_wndPacketGrid, &pane.m_wndFieldGrid, &pane.m_wndBlankGrid})
            shown += (pGrid->GetStyle() & WS_VISIBLE) ? '1' : '0';
        return shown;
    };
    EXPECT_EQ(visible(), "0001");
    ASSERT_NE(Category(pane.m_wndBlankGrid), nullptr);
    EXPECT_STREQ(Category(pane.m_wndBlankGrid)->GetCaption(), "");
    const HWND hToolBar = pane.m_wndToolBar.GetSafeHwnd();
    ASSERT_NE(hToolBar, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(hToolBar), AFX_IDW_TOOLBAR);
    for (int nID : {ID_PROPERTIES_BUTTON_1, ID_PROPERTIES_BUTTON_2, ID_PROPERTIES_BUTTON_3})
        EXPECT_NE(pane.m_wndToolBar.GetControls()->FindControl(nID), nullptr) << "tool bar 4001 button " << nID;

    CREATESTRUCTA cs{};
    EXPECT_EQ(pane.SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)), 0);
    EXPECT_EQ(pane.m_wndToolBar.GetSafeHwnd(), hToolBar);
    EXPECT_EQ(Category(pane.m_wndPacketGrid)->GetChilds()->GetCount(), 2);
    EXPECT_EQ(Category(pane.m_wndFieldGrid)->GetChilds()->GetCount(), 11);
    EXPECT_EQ(pane.m_wndBlankGrid.GetGridView().GetCategories()->GetCount(), 1);
}

TEST_F(PropertiesPaneTest, GridsFillThePaneBelowTheToolBarOrFromTheTopWithoutIt) {
    CPropertiesPane& pane = Pane(Frame());
    const auto expectLayout = [&pane](int nTop) {
        for (CKLVPropertyGrid* pGrid :
             {&pane.m_wndProjectGrid, &pane.m_wndPacketGrid, &pane.m_wndFieldGrid, &pane.m_wndBlankGrid}) {
            CRect rc;
            pGrid->GetWindowRect(&rc);
            pane.ScreenToClient(&rc);
            EXPECT_EQ(rc, CRect(0, nTop, 240, 300)) << "hidden grids are laid out too";
        }
    };
    pane.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 300));
    CRect rcBar;
    pane.m_wndToolBar.GetWindowRect(&rcBar);
    pane.ScreenToClient(&rcBar);
    EXPECT_EQ(rcBar.TopLeft(), CPoint(0, 0));
    EXPECT_EQ(rcBar.Width(), 240);
    EXPECT_GT(rcBar.Height(), 0);
    expectLayout(rcBar.Height());

    pane.m_wndToolBar.DestroyWindow();
    pane.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 300));
    expectLayout(0);
}

TEST_F(PropertiesPaneTest, TheFocusEndsOnTheBlankGrid) {
    CPropertiesPane& pane = Pane(Frame());
    pane.SendMessage(WM_SETFOCUS);
    const HWND hFocus = ::GetFocus();
    const HWND hBlank = pane.m_wndBlankGrid.GetSafeHwnd();
    EXPECT_TRUE(hFocus == hBlank || ::IsChild(hBlank, hFocus));
}

}  // namespace
