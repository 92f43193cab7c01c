// The grid window: creation, notifications to the parent, the help splitter, themes and Tab
// navigation; the view: divider limits, sort modes, collapsing, the overflow tooltip and
// scrolling with in-place windows.
#include "PropertyGridTestHost.h"

using propertygrid_test::GridFixture;

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
void Post(CWnd& wnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    ::PostMessageA(wnd.GetSafeHwnd(), nMessage, wParam, lParam);
}

TEST_F(GridFixture, CreateShowsTheGridAndNotesGoToTheParent) {
    EXPECT_TRUE(m_grid.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(m_grid.GetStyle() & WS_TABSTOP);
    CRect rcView;
    View().GetWindowRect(&rcView);
    EXPECT_EQ(rcView.Height(), 260 - 58 - 3);   // the help pane and its splitter below

    AddCategoryWith("Cat", {"One", "Two"});
    CKLVPropertyGridItem* pTwo = View().GetCategories()->FindItemByCaption("Two");
    pTwo->Select();
    EXPECT_EQ(m_grid.GetSelectedItem(), pTwo);
    ASSERT_GE(m_parent.Count(KLV_PGN_SELECTION_CHANGED), 1);
    EXPECT_EQ(m_parent.m_arrNotes.back(), std::make_pair(WPARAM(KLV_PGN_SELECTION_CHANGED), reinterpret_cast<LPARAM>(pTwo)));
    EXPECT_EQ(m_parent.Count(KLV_PGN_ITEMEXPANDCHANGED), 1);
}

TEST_F(GridFixture, TheHelpSplitterStopsAtItsLimitsAndEscapeKeepsTheHeight) {
    const int nBand = 260 - 58 - 3 + 1;   // inside the 3-pixel band
    ASSERT_EQ(m_grid.HitTest(CPoint(10, nBand)), 1);
    Post(m_grid, WM_MOUSEMOVE, 0, At(10, 5));   // above the limit: stops at 45
    Post(m_grid, WM_LBUTTONUP, 0, At(10, 5));
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(10, nBand));
    EXPECT_EQ(m_grid.GetHelpHeight(), 260 - 45 - 2);

    Post(m_grid, WM_MOUSEMOVE, 0, At(10, 150));
    Post(m_grid, WM_LBUTTONUP, 0, At(10, 150));
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 260 - m_grid.GetHelpHeight() - 2));
    EXPECT_EQ(m_grid.GetHelpHeight(), 260 - 150 - 2);

    Post(m_grid, WM_MOUSEMOVE, 0, At(10, 250));   // below the limit: 20 from the bottom
    Post(m_grid, WM_KEYDOWN, VK_ESCAPE, 0);
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 260 - m_grid.GetHelpHeight() - 2));
    EXPECT_EQ(m_grid.GetHelpHeight(), 108);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(m_grid.GetStyle() & WS_CLIPCHILDREN);
}

TEST_F(GridFixture, ASplitterWithNoRoomIsNotDraggedAndQuitEndsTheDrag) {
    m_grid.m_nHelpHeight = 10;
    m_grid.MoveWindow(0, 0, 300, 60);
    Post(m_grid, WM_MOUSEMOVE, 0, At(10, 50));
    Post(m_grid, WM_LBUTTONUP, 0, At(10, 50));
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 60 - 10 - 2));
    EXPECT_EQ(m_grid.GetHelpHeight(), 10);
    classlib_test::PumpPending();

    m_grid.MoveWindow(0, 0, 300, 260);
    ::PostQuitMessage(5);
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 260 - 10 - 2));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(m_grid.GetHelpHeight(), 10);
}

TEST_F(GridFixture, ThemesKeepFontsAndColoursAndUnknownNumbersAreOnlyStored) {
    CKLVPropertyGridPaintManager* pFirst = m_grid.GetPaintManager();
    CKLVPropertyGridItemMetrics* pMetrics = pFirst->GetMetrics();
    const HGDIOBJ hFont = pMetrics->m_fntNormal.GetSafeHandle();
    pMetrics->m_clrBack.SetCustomValue(RGB(1, 2, 3));
    m_grid.SetTheme(6);
    EXPECT_NE(m_grid.GetPaintManager(), pFirst);
    EXPECT_EQ(m_grid.GetPaintManager()->GetMetrics(), pMetrics);
    EXPECT_EQ(pMetrics->m_fntNormal.GetSafeHandle(), hFont);
    EXPECT_EQ(m_grid.GetPaintManager()->GetBackColor(), RGB(1, 2, 3));

    CKLVPropertyGridPaintManager* pSixth = m_grid.GetPaintManager();
    m_grid.SetTheme(9);
    EXPECT_EQ(m_grid.GetTheme(), 9);
    EXPECT_EQ(m_grid.GetPaintManager(), pSixth);
}

TEST_F(GridFixture, TabLeavesForTheNextControlOrWrapsInsideTheGrid) {
    m_parent.ShowWindow(SW_SHOWNOACTIVATE);
    m_parent.SetForegroundWindow();
    AddCategoryWith("Cat", {"One"});
    CKLVPropertyGridItem* pOne = View().GetCategories()->FindItemByCaption("One");
    pOne->Select();
    CEdit next;
    ASSERT_TRUE(next.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(310, 0, 390, 20), &m_parent, 90));
    pOne->SetFocusToInplaceControl();
    m_grid.Navigate(1, TRUE, pOne);   // from the edit: no buttons, no controls: out of the grid
    EXPECT_EQ(::GetFocus(), next.GetSafeHwnd());

    next.DestroyWindow();
    m_grid.Navigate(1, TRUE, pOne);   // nothing outside: the turn comes back to the view
    EXPECT_EQ(::GetFocus(), View().GetSafeHwnd());
    m_grid.Navigate(0, TRUE, pOne);   // and on to the edit
    EXPECT_EQ(::GetFocus(), m_grid.GetInplaceEdit().GetSafeHwnd());

    // Alone in its window, with no item: nothing takes the focus, one turn and done.
    CWnd lonely;
    ASSERT_TRUE(lonely.CreateEx(0, AfxRegisterWndClass(0), "lonely", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    CKLVPropertyGrid empty;
    ASSERT_TRUE(empty.Create(CRect(0, 0, 100, 100), &lonely, 79));
    empty.Navigate(0, TRUE, nullptr);
    empty.Navigate(0, FALSE, nullptr);
    EXPECT_EQ(::GetFocus(), m_grid.GetInplaceEdit().GetSafeHwnd());
    empty.DestroyWindow();
    lonely.DestroyWindow();
    m_parent.ShowWindow(SW_HIDE);
}

TEST_F(GridFixture, TheDividerStaysBetweenTenAndEightyFivePerCent) {
    CRect rc;
    View().GetClientRect(&rc);
    View().SetDividerPos(0);
    EXPECT_EQ(View().GetDividerPos(), static_cast<int>(rc.Width() * 0.1));
    View().SetDividerPos(rc.Width());
    EXPECT_EQ(View().GetDividerPos(), static_cast<int>(rc.Width() * 0.85));
    View().MoveWindow(0, 0, 0, 100);
    View().SetDividerPos(40);
    EXPECT_DOUBLE_EQ(View().m_dDivider, 0.5);
}

TEST_F(GridFixture, AddingACategoryToAnAlphabeticalViewSwitchesItBack) {
    AddCategoryWith("First", {"Zeta", "Alpha"});
    AddCategoryWith("Second", {"Beta"});
    View().SetPropertySort(KLVGridSortAlphabetical);
    ASSERT_EQ(View().GetCount(), 3);
    EXPECT_EQ(View().GetItem(0)->GetCaption(), CString("Alpha"));
    EXPECT_EQ(View().GetItem(2)->GetCaption(), CString("Zeta"));
    EXPECT_EQ(m_parent.Count(KLV_PGN_SORTORDER_CHANGED), 1);
    View().SetPropertySort(KLVGridSortNoSort);
    EXPECT_EQ(View().GetItem(0)->GetCaption(), CString("Zeta"));

    m_grid.AddCategory("Third");
    EXPECT_EQ(View().GetPropertySort(), KLVGridSortCategorized);
    EXPECT_EQ(m_parent.Count(KLV_PGN_SORTORDER_CHANGED), 3);
    EXPECT_EQ(m_parent.m_arrNotes.back(), std::make_pair(WPARAM(KLV_PGN_SORTORDER_CHANGED), LPARAM(77)));
    ASSERT_EQ(View().GetCount(), 6);
    EXPECT_EQ(View().GetItem(5)->GetCaption(), CString("Third"));
}

TEST_F(GridFixture, CollapsingRemovesExactlyTheDescendantsAndRenumbers) {
    CKLVPropertyGridItem* pFirst = AddCategoryWith("First", {"A", "B"});
    CKLVPropertyGridItem* pB = pFirst->GetChilds()->GetAt(1);
    pB->AddChildItem(new CKLVPropertyGridItem("B1"));
    pB->Expand();
    AddCategoryWith("Second", {"C"});
    ASSERT_EQ(View().GetCount(), 6);   // First A B B1 Second C
    CKLVPropertyGridItem* pC = View().GetCategories()->FindItemByCaption("C");
    EXPECT_EQ(pC->GetIndex(), 5);

    pFirst->Collapse();
    EXPECT_EQ(View().GetCount(), 3);
    EXPECT_EQ(pC->GetIndex(), 2);
    EXPECT_EQ(View().GetItem(1)->GetCaption(), CString("Second"));
    EXPECT_FALSE(pB->IsVisible());
    EXPECT_EQ(pB->GetChilds()->GetAt(0)->GetIndex(), -1);

    pFirst->Expand();   // B stayed expanded: its child comes back too
    EXPECT_EQ(View().GetCount(), 6);
    EXPECT_EQ(pB->GetChilds()->GetAt(0)->GetIndex(), 3);
}

// Expanding above other rows puts the children in order below their parent, and leaves the
// view shown or hidden as it was (redraw is held off during the insertion).
TEST_F(GridFixture, ExpandingAboveOtherRowsKeepsOrderAndVisibility) {
    CKLVPropertyGridItem* pFirst = AddCategoryWith("First", {"A", "B", "C"});
    AddCategoryWith("Second", {"D"});
    for (const BOOL bShown : {FALSE, TRUE}) {
        pFirst->Collapse();
        View().ShowWindow(bShown ? SW_SHOWNA : SW_HIDE);
        pFirst->Expand();
        EXPECT_EQ((View().GetStyle() & WS_VISIBLE) != 0, bShown != FALSE);
        const char* const expected[] = {"First", "A", "B", "C", "Second", "D"};
        ASSERT_EQ(View().GetCount(), 6) << bShown;
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(View().GetItem(i)->GetCaption(), CString(expected[i])) << bShown << " row " << i;
            EXPECT_EQ(View().GetItem(i)->GetIndex(), i) << bShown;
        }
    }
}

// A grid of its own with two categories: First with nChildren rows a0, a1, ... (heights 20 to 22),
// the last with an expanded child "inner", collapsed; then Second with 200 rows b0 ... b199
// (height 30), expanded or not.
struct CTwoCategories {
    CKLVPropertyGrid grid;
    CKLVPropertyGridItem* pFirst = nullptr;
    CKLVPropertyGridItem* pSecond = nullptr;
    int nChildren = 0;

    bool Create(CWnd* pParent, int nChildrenOfFirst, BOOL bVariable, bool bSecondExpanded) {
        nChildren = nChildrenOfFirst;
        grid.m_bVariableItemsHeight = bVariable;
        if (!grid.Create(CRect(0, 0, 300, 260), pParent, 78)) return false;
        pFirst = grid.AddCategory("First");
        for (int i = 0; i < nChildren; ++i) {
            CString strCaption;
            strCaption.Format("a%d", i);
            pFirst->AddChildItem(new CKLVPropertyGridItem(strCaption, "value"))->m_nHeight = 20 + i % 3;
        }
        CKLVPropertyGridItem* pLast = pFirst->GetChilds()->GetAt(nChildren - 1);
        pLast->AddChildItem(new CKLVPropertyGridItem("inner", "value"));
        pLast->Expand();   // not shown yet: First is collapsed
        pSecond = grid.AddCategory("Second");
        for (int i = 0; i < 200; ++i) {
            CString strCaption;
            strCaption.Format("b%d", i);
            pSecond->AddChildItem(new CKLVPropertyGridItem(strCaption, "value"))->m_nHeight = 30;
        }
        if (bSecondExpanded) pSecond->Expand();
        return true;
    }
    // The rows of First's children shown or not: captions, row numbers and heights.
    void ExpectRows(bool bFirstExpanded) {
        CKLVPropertyGridView& view = grid.GetGridView();
        const bool bVariable = view.IsVariableHeight() != FALSE;
        const int nFirstRows = bFirstExpanded ? nChildren + 1 : 0;
        const int nSecondRows = pSecond->IsExpanded() ? 200 : 0;
        ASSERT_EQ(view.GetCount(), 2 + nFirstRows + nSecondRows);
        for (int i = 0; i < view.GetCount(); ++i) {
            CString strExpected;
            int nHeight = view.GetDefaultItemHeight();
            if (i == 0) {
                strExpected = "First";
            } else if (i < nFirstRows) {
                strExpected.Format("a%d", i - 1);
                if (bVariable) nHeight = 20 + (i - 1) % 3;
            } else if (i == nFirstRows) {
                strExpected = "inner";
            } else if (i == nFirstRows + 1) {
                strExpected = "Second";
            } else {
                strExpected.Format("b%d", i - nFirstRows - 2);
                if (bVariable) nHeight = 30;
            }
            ASSERT_EQ(view.GetItem(i)->GetCaption(), strExpected) << "row " << i;
            ASSERT_EQ(view.GetItem(i)->GetIndex(), i);
            ASSERT_EQ(view.GetItemHeight(i), nHeight) << "row " << i;
        }
    }
    // Selects First (-2), nothing (-1), the child a1 of First (-3) or that row under Second.
    CKLVPropertyGridItem* Select(int nSelected) {
        CKLVPropertyGridItem* pSelected = nSelected == -2   ? pFirst
                                          : nSelected == -3 ? pFirst->GetChilds()->GetAt(1)
                                          : nSelected >= 0  ? pSecond->GetChilds()->GetAt(nSelected)
                                                            : nullptr;
        if (pSelected) pSelected->Select();
        return pSelected;
    }
};

// An expansion above many rows, small (inserted in place) or large (appended and moved up as a
// block), in fixed and variable heights: the same rows, row numbers, heights, selection and top
// row, and an expanded child brings its own rows along.
TEST_F(GridFixture, ExpansionAboveManyRowsKeepsRowsHeightsSelectionAndTop) {
    const struct {
        int nChildren;
        BOOL bVariable;
        int nSelectedBelow;   // row under Second selected before, -1 for none, -2 for First
        int nTop;
    } cases[] = {
        {3, FALSE, -1, 0},  {3, FALSE, 150, 40}, {600, FALSE, -1, 0}, {600, FALSE, 5, 0},
        {600, FALSE, 150, 40}, {600, FALSE, -2, 40}, {600, TRUE, 150, 40}, {3, TRUE, 150, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nChildren << " children, variable " << c.bVariable << ", selected "
                                        << c.nSelectedBelow << ", top " << c.nTop);
        CTwoCategories two;
        ASSERT_TRUE(two.Create(&m_parent, c.nChildren, c.bVariable, true));
        CKLVPropertyGridView& view = two.grid.GetGridView();
        ASSERT_EQ(view.GetCount(), 202);
        CKLVPropertyGridItem* pSelected = two.Select(c.nSelectedBelow);
        view.SetTopIndex(c.nTop);
        const int nTop = view.GetTopIndex();

        two.pFirst->Expand();
        two.ExpectRows(true);
        EXPECT_EQ(view.GetSelectedItem(), pSelected);
        if (pSelected) {
            EXPECT_EQ(view.GetCurSel(), pSelected->GetIndex());
        }
        EXPECT_EQ(view.GetTopIndex(), nTop);
        two.grid.DestroyWindow();
    }
}

// A collapse above other rows, small (deleted in place) or large (the rows below moved up over
// it as a block), in fixed and variable heights, with many rows below or one: the same rows,
// row numbers and heights; the rows gone are hidden; a selected row below stays selected, one
// that went is no longer; the top row keeps its number.
TEST_F(GridFixture, CollapseAboveOtherRowsKeepsRowsHeightsSelectionAndTop) {
    const struct {
        int nChildren;
        BOOL bVariable;
        int nSelected;   // see CTwoCategories::Select
        int nTop;
        bool bSecondExpanded;
    } cases[] = {
        {3, FALSE, -1, 0, true},    {3, FALSE, 150, 40, true},  {600, FALSE, -1, 0, true},
        {600, FALSE, 5, 0, true},   {600, FALSE, 150, 40, true}, {600, FALSE, -2, 40, true},
        {600, FALSE, -3, 0, true},  {600, TRUE, 150, 40, true},  {600, TRUE, -3, 40, true},
        {3, TRUE, 150, 40, true},   {3, FALSE, -3, 0, true},     {600, FALSE, -3, 0, false},
        {600, TRUE, -2, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nChildren << " children, variable " << c.bVariable << ", selected "
                                        << c.nSelected << ", top " << c.nTop << ", second expanded "
                                        << c.bSecondExpanded);
        CTwoCategories two;
        ASSERT_TRUE(two.Create(&m_parent, c.nChildren, c.bVariable, c.bSecondExpanded));
        CKLVPropertyGridView& view = two.grid.GetGridView();
        two.pFirst->Expand();
        CKLVPropertyGridItem* pSelected = two.Select(c.nSelected);
        view.SetTopIndex(c.nTop);
        const int nTop = view.GetTopIndex();

        two.pFirst->Collapse();
        two.ExpectRows(false);
        for (int i = 0; i < c.nChildren; ++i) {
            const CKLVPropertyGridItem* pChild = two.pFirst->GetChilds()->GetAt(i);
            ASSERT_FALSE(pChild->IsVisible()) << i;
            ASSERT_EQ(pChild->GetIndex(), -1) << i;
        }
        EXPECT_EQ(two.pFirst->GetChilds()->GetAt(c.nChildren - 1)->GetChilds()->GetAt(0)->GetIndex(), -1);
        CKLVPropertyGridItem* pStillSelected = c.nSelected == -3 ? nullptr : pSelected;
        EXPECT_EQ(view.GetSelectedItem(), pStillSelected);
        EXPECT_EQ(view.GetCurSel(), pStillSelected ? pStillSelected->GetIndex() : LB_ERR);
        EXPECT_EQ(view.GetTopIndex(), nTop);
        two.grid.DestroyWindow();
    }
}

TEST_F(GridFixture, OnlyCaptionsTooWideForTheirColumnGetATooltip) {
    CKLVPropertyGridItem* pCategory = AddCategoryWith("Cat", {});
    CClientDC dc(&View());
    CFont* pOld = dc.SelectObject(&m_grid.GetPaintManager()->GetMetrics()->m_fntNormal);
    const CString strCaption = "A caption of a certain width";
    const int nText = dc.GetTextExtent(strCaption).cx;
    dc.SelectObject(pOld);
    CKLVPropertyGridItem* pItem = pCategory->AddChildItem(new CKLVPropertyGridItem(strCaption));
    const int nIndent = pItem->GetIndent() * CKLVPropertyGridItem::nIndentWidth;
    CRect rcRow = pItem->GetItemRect();
    struct Case {
        int nExtra;
        BOOL bShown;
    };
    for (const Case& c : {Case{3, FALSE}, Case{1, TRUE}}) {
        View().m_bVariableSplitterPos = FALSE;
        View().SetDividerPos(nIndent + nText + c.nExtra);
        View().m_strTipText.Empty();
        View().GetToolTip().Activate(FALSE, CString(), CRect(), nullptr);
        // A tooltip goes as soon as the cursor is seen outside its text.
        CPoint pt(nIndent + 2, rcRow.CenterPoint().y), ptScreen = pt;
        View().ClientToScreen(&ptScreen);
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        View().UpdateToolTip(pt);
        EXPECT_EQ(View().m_strTipText == strCaption, c.bShown) << c.nExtra;
    }
}

TEST_F(GridFixture, TheInPlaceEditFollowsItsRowWhenTheWheelScrolls) {
    CKLVPropertyGridItem* pCategory = m_grid.AddCategory("Cat");
    for (int i = 0; i < 40; ++i) {
        CString strCaption;
        strCaption.Format("Item %d", i);
        pCategory->AddChildItem(new CKLVPropertyGridItem(strCaption, "v"));
    }
    pCategory->Expand();
    CKLVPropertyGridItem* pItem = pCategory->GetChilds()->GetAt(10);
    pItem->Select();
    CKLVPropertyGridInplaceEdit& edit = m_grid.GetInplaceEdit();
    ASSERT_TRUE(edit.GetSafeHwnd());
    auto editTopToRow = [&] {
        CRect rcEdit;
        edit.GetWindowRect(&rcEdit);
        View().ScreenToClient(&rcEdit);
        return rcEdit.top - pItem->GetItemRect().top;
    };
    const int nBefore = editTopToRow();
    View().SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_GT(View().GetTopIndex(), 0);
    EXPECT_EQ(editTopToRow(), nBefore);
}

}  // namespace

namespace {

// Reads a BSTR answer into ANSI text and frees it.
CString TakeText(BSTR bstr) {
    CString str;
    if (bstr) {
        const int n = ::WideCharToMultiByte(CP_ACP, 0, bstr, -1, nullptr, 0, nullptr, nullptr);
        ::WideCharToMultiByte(CP_ACP, 0, bstr, -1, str.GetBuffer(n), n, nullptr, nullptr);
        str.ReleaseBuffer();
        ::SysFreeString(bstr);
    }
    return str;
}

TEST_F(GridFixture, AccessibilityClientsSeeATableOfRows) {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    AddCategoryWith("Cat", {"Secret\nThe key"});
    CKLVPropertyGridItem* pSecret = View().GetCategories()->FindItemByCaption("Secret");
    pSecret->SetValue("abc");
    pSecret->SetPasswordMask();
    IAccessible* pTable = View().GetAccessibleInterface();
    pTable->AddRef();
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR bstr = nullptr;
    pTable->get_accName(self, &bstr);
    EXPECT_EQ(TakeText(bstr), CString("Properties Window"));
    LONG nChildren = 0;
    pTable->get_accChildCount(&nChildren);
    EXPECT_EQ(nChildren, 2);

    VARIANT second = self;
    second.lVal = 2;   // rows count from 1
    IDispatch* pDispatch = nullptr;
    ASSERT_EQ(pTable->get_accChild(second, &pDispatch), S_OK);
    IAccessible* pRow = nullptr;
    ASSERT_EQ(pDispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&pRow)), S_OK);
    pRow->get_accName(self, &bstr);
    EXPECT_EQ(TakeText(bstr), CString("Secret"));
    pRow->get_accValue(self, &bstr);
    EXPECT_EQ(TakeText(bstr), CString("***"));
    pRow->get_accDescription(self, &bstr);
    EXPECT_EQ(TakeText(bstr), CString("The key"));
    VARIANT role;
    pRow->get_accRole(self, &role);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_ROW);
    EXPECT_EQ(pRow->get_accName(second, &bstr), E_INVALIDARG);   // a row has no children
    pRow->Release();
    pDispatch->Release();
    second.lVal = -3;
    IDispatch* pNone = nullptr;
    EXPECT_EQ(pTable->get_accChild(second, &pNone), E_INVALIDARG);
    pTable->Release();
    // Clients that come through the window get the same object.
    const LRESULT lResult = View().SendMessage(WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    ASSERT_GT(lResult, 0);
    using PFNOBJECTFROMLRESULT = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);
    HMODULE hOleacc = ::LoadLibraryA("oleacc.dll");
    auto pfnObjectFromLresult =
        reinterpret_cast<PFNOBJECTFROMLRESULT>(reinterpret_cast<void*>(::GetProcAddress(hOleacc, "ObjectFromLresult")));
    ASSERT_NE(pfnObjectFromLresult, nullptr);
    IAccessible* pClient = nullptr;
    ASSERT_EQ(pfnObjectFromLresult(lResult, __uuidof(IAccessible), 0, reinterpret_cast<void**>(&pClient)), S_OK);
    pClient->get_accName(self, &bstr);
    EXPECT_EQ(TakeText(bstr), CString("Properties Window"));
    pClient->Release();
    ::FreeLibrary(hOleacc);
    ::CoUninitialize();
}

}  // namespace
