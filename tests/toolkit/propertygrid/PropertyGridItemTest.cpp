// Items and their constraints: outside a grid, captions with descriptions, password text,
// searches, row heights, and stepping through allowed values by double click.
#include "PropertyGridTestHost.h"

#include <mbctype.h>

using propertygrid_test::GridFixture;

namespace {

// Releases an item made outside any grid.
struct ItemOwner {
    CKLVPropertyGridItem* p;
    ~ItemOwner() { p->InternalRelease(); }
};

TEST(PropertyGridItem, OutsideAGridChildrenAreNotAddedAndCaptionsSplitAtTheLineBreak) {
    ItemOwner parent{new CKLVPropertyGridItem("Name\nThe name of the service", "svc")};
    EXPECT_EQ(parent.p->GetCaption(), CString("Name"));
    EXPECT_EQ(parent.p->GetDescription(), CString("The name of the service"));
    ItemOwner child{new CKLVPropertyGridItem("Child")};
    EXPECT_EQ(parent.p->AddChildItem(child.p), child.p);
    EXPECT_EQ(parent.p->GetChilds()->GetCount(), 0);
    EXPECT_EQ(child.p->GetParentItem(), nullptr);

    parent.p->SetCaption("Plain");
    EXPECT_EQ(parent.p->GetCaption(), CString("Plain"));
    EXPECT_EQ(parent.p->GetDescription(), CString("The name of the service"));   // kept

    CString strBound = "stale";
    ItemOwner bound{new CKLVPropertyGridItem("Bound", "fresh", &strBound)};
    EXPECT_EQ(strBound, CString("fresh"));
    bound.p->SetValue("changed");
    EXPECT_EQ(strBound, CString("changed"));
}

TEST(PropertyGridItem, PasswordItemsShowOnePromptCharacterPerLetter) {
    ItemOwner item{new CKLVPropertyGridItem("Password", "abc")};
    item.p->SetPasswordMask();
    EXPECT_EQ(item.p->GetViewValue(), CString("***"));
    item.p->SetMask("", "", '#');
    EXPECT_EQ(item.p->GetViewValue(), CString("###"));
    EXPECT_EQ(item.p->GetValue(), CString("abc"));
    EXPECT_TRUE(item.p->GetEditStyle() & ES_PASSWORD);
}

TEST(PropertyGridItem, ConstraintsIgnoreCaseAndCaptionsDoNot) {
    ItemOwner item{new CKLVPropertyGridItem("Mode", "Fast")};
    CKLVPropertyGridItemConstraints* pConstraints = item.p->GetConstraints();
    pConstraints->AddConstraint("Slow");
    pConstraints->AddConstraint("Fast", 7);
    EXPECT_EQ(pConstraints->FindConstraint("fast"), 1);
    EXPECT_EQ(pConstraints->FindConstraint("Medium"), -1);
    EXPECT_EQ(pConstraints->GetAt(5), CString());
    pConstraints->RemoveAt(0);
    EXPECT_EQ(pConstraints->GetConstraintAt(0)->m_nIndex, 0);
    EXPECT_THROW(pConstraints->RemoveAt(3), CException*);
}

TEST_F(GridFixture, FindByCaptionIsCaseSensitiveAndComparesDoubleByteCharactersWhole) {
    const int nOldCodePage = _getmbcp();
    _setmbcp(932);
    // The second byte of this double-byte character is '\\'; a search for the plain character
    // must not match half of it.
    AddCategoryWith("Cat", {"Name", "\x83\x5C" "A"});
    CKLVPropertyGridItems* pCategories = View().GetCategories();
    EXPECT_NE(pCategories->FindItemByCaption("Name"), nullptr);
    EXPECT_EQ(pCategories->FindItemByCaption("name"), nullptr);
    EXPECT_NE(pCategories->FindItemByCaption("\x83\x5C" "A"), nullptr);
    // A single-byte character above 0x80 sorts before a double-byte one, whole characters
    // compared; byte by byte it would sort after.
    EXPECT_LT(CKLVPropertyGridItems::CompareCaptions("\xB1", "\x83\x40"), 0);
    _setmbcp(nOldCodePage);
}

TEST(PropertyGridItem, RowHeightsFromFixedHeightOrLineCount) {
    struct Case {
        int nHeight, nLines;
        UINT nProposed, nExpected;
    };
    for (const Case& c : {Case{30, 3, 18, 30}, Case{-1, 3, 18, 46}, Case{-1, 1, 18, 18}, Case{-1, 2, 20, 36}}) {
        ItemOwner item{new CKLVPropertyGridItem("Text")};
        item.p->m_nHeight = c.nHeight;
        item.p->m_nLinesCount = c.nLines;
        MEASUREITEMSTRUCT mis = {};
        mis.itemHeight = c.nProposed;
        item.p->OnMeasureItem(&mis);
        EXPECT_EQ(mis.itemHeight, c.nExpected) << c.nHeight << " " << c.nLines;
    }
}

TEST_F(GridFixture, DoubleClickOnAConstraintOnlyItemStepsAndWrapsToTheFirst) {
    CKLVPropertyGridItem* pCategory = AddCategoryWith("Cat", {});
    CKLVPropertyGridItem* pItem = pCategory->AddChildItem(new CKLVPropertyGridItem("Level", "High"));
    pItem->SetFlags(0);
    for (LPCTSTR lpsz : {"Low", "Medium", "High"}) pItem->GetConstraints()->AddConstraint(lpsz);
    pItem->OnLButtonDblClk(0, CPoint(250, 0));
    EXPECT_EQ(pItem->GetValue(), CString("Low"));
    EXPECT_EQ(m_parent.Count(KLV_PGN_REQUESTEDIT), 1);
    EXPECT_EQ(m_parent.Count(KLV_PGN_AFTEREDIT), 1);
    EXPECT_EQ(m_parent.Count(KLV_PGN_ITEMVALUE_CHANGED), 1);

    // An owner that cancels keeps the value.
    m_parent.m_fnAnswer = [](WPARAM nCode, LPARAM lParam) -> LRESULT {
        if (nCode == KLV_PGN_AFTEREDIT) reinterpret_cast<KLV_PROPERTYGRID_NOTIFYEDIT*>(lParam)->bCancel = TRUE;
        return 0;
    };
    pItem->OnLButtonDblClk(0, CPoint(250, 0));
    EXPECT_EQ(pItem->GetValue(), CString("Low"));
}

TEST_F(GridFixture, VariableHeightsComeFromTheItemsAndFixedOnesFromTheView) {
    CKLVPropertyGridItem* pCategory = m_grid.AddCategory("Cat");
    CKLVPropertyGridItem* pTall = pCategory->AddChildItem(new CKLVPropertyGridItem("Tall"));
    pTall->m_nHeight = 30;
    pCategory->Expand();
    EXPECT_EQ(View().GetItemHeight(pTall->GetIndex()), View().GetDefaultItemHeight());

    CKLVPropertyGrid variable;
    variable.m_bVariableItemsHeight = TRUE;
    ASSERT_TRUE(variable.Create(CRect(0, 0, 200, 200), &m_parent, 78));
    CKLVPropertyGridItem* pVariableCategory = variable.AddCategory("Cat");
    CKLVPropertyGridItem* pItem = pVariableCategory->AddChildItem(new CKLVPropertyGridItem("Tall"));
    pItem->m_nHeight = 30;
    CKLVPropertyGridItem* pLines = pVariableCategory->AddChildItem(new CKLVPropertyGridItem("Lines"));
    pLines->m_nLinesCount = 3;
    pVariableCategory->Expand();
    const int nDefault = variable.GetGridView().GetDefaultItemHeight();
    EXPECT_EQ(variable.GetGridView().GetItemHeight(pItem->GetIndex()), 30);
    EXPECT_EQ(variable.GetGridView().GetItemHeight(pLines->GetIndex()), (nDefault - 4) * 3 + 4);
    variable.DestroyWindow();
}

}  // namespace
