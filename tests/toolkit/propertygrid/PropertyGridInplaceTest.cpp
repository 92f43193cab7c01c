// The in-place edit, drop-down list and buttons of a real grid, driven by sent and posted
// messages.
#include "PropertyGridTestHost.h"
#include "toolkit/common/MultiMonitor.h"

namespace {

using propertygrid_test::GridFixture;

class Inplace : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        m_pItem = AddCategoryWith("Cat", {"Colour"})->GetChilds()->GetAt(0);
    }
    CKLVPropertyGridInplaceEdit& Edit() { return m_grid.GetInplaceEdit(); }
    CString EditText() {
        CString str;
        Edit().GetWindowText(str);
        return str;
    }
    void AddColours() {
        for (LPCTSTR lpsz : {"Red", "Green", "Gray"}) m_pItem->GetConstraints()->AddConstraint(lpsz);
    }
    CKLVPropertyGridItem* m_pItem = nullptr;
};

TEST_F(Inplace, EscapeRestoresTheTextTheEditWasCreatedWith) {
    m_pItem->Select();
    Edit().SetWindowText("typed");
    Edit().SendMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(EditText(), "value");
    EXPECT_TRUE(Edit().IsCancelled());
}

TEST_F(Inplace, ConstraintsFollowTypedLettersArrowsAndDoubleClicks) {
    AddColours();
    m_pItem->m_bConstraintEdit = TRUE;
    m_pItem->SetValue("Green");
    m_pItem->Select();
    struct Step {
        UINT message;
        WPARAM wParam;
        const char* text;
    };
    const Step steps[] = {
        {WM_CHAR, 'g', "Gray"},     {WM_CHAR, 'G', "Green"},   {WM_CHAR, 'x', "Green"},
        {WM_KEYDOWN, VK_UP, "Red"}, {WM_KEYDOWN, VK_UP, "Red"}, {WM_KEYDOWN, VK_DOWN, "Green"},
        {WM_CHAR, 'g', "Gray"},     {WM_LBUTTONDBLCLK, 0, "Red"},
    };
    for (const Step& step : steps) {
        Edit().SendMessage(step.message, step.wParam);
        EXPECT_EQ(EditText(), step.text) << step.message << " " << step.wParam;
    }
    EXPECT_EQ(m_pItem->GetConstraints()->GetCurrent(), 0);
}

TEST_F(Inplace, ChangesAreReportedOnlyAfterCreateAndKeptStylesKeepTheWindow) {
    m_pItem->Select();
    EXPECT_EQ(m_parent.Count(KLV_PGN_EDIT_CHANGED), 0);
    Edit().SetWindowText("abc");
    EXPECT_EQ(m_parent.Count(KLV_PGN_EDIT_CHANGED), 1);

    const HWND hFirst = Edit().GetSafeHwnd();
    m_pItem->m_dwEditStyle = ES_RIGHT;
    m_pItem->OnSelect();
    EXPECT_EQ(Edit().GetSafeHwnd(), hFirst);
    m_pItem->SetPasswordMask(0);
    m_pItem->OnSelect();
    EXPECT_NE(Edit().GetSafeHwnd(), hFirst);
    EXPECT_EQ(Edit().SendMessage(EM_GETPASSWORDCHAR), '*');   // never clear text
}

TEST_F(Inplace, TheListIsAsHighAsItsRowsAndHangsFromTheRowsRightEdge) {
    AddColours();
    m_pItem->SetValue("Green");
    m_pItem->Select();
    const CRect rcRow = m_pItem->GetItemRect();
    m_grid.GetInplaceList().Create(m_pItem, rcRow);
    CKLVPropertyGridInplaceList& list = m_grid.GetInplaceList();
    ASSERT_TRUE(list.GetSafeHwnd());
    CRect rcList, rcScreenRow = rcRow;
    list.GetWindowRect(&rcList);
    View().ClientToScreen(&rcScreenRow);
    EXPECT_EQ(rcList.Height(), 3 * list.GetItemHeight(0) + 2);
    EXPECT_LE(rcList.Width(), rcRow.Width() - 14);
    EXPECT_EQ(rcList.right, rcScreenRow.right);
    EXPECT_EQ(rcList.top, rcScreenRow.bottom);
    EXPECT_EQ(list.GetCurSel(), 1);

    list.SetCurSel(2);
    list.SendMessage(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(m_pItem->GetValue(), "Gray");
    list.DestroyItem();
}

TEST_F(Inplace, AListPassingTheBottomOpensAboveOnlyFromTheLowerHalf) {
    for (int i = 0; i < 60; ++i) m_pItem->GetConstraints()->AddConstraint("entry");
    m_pItem->m_nDropDownItemCount = 60;
    m_pItem->Select();
    const CRect rcWork = KLVMultiMonitor()->GetWorkRect(CPoint(10, 10));
    for (BOOL bLower : {FALSE, TRUE}) {
        const int y = bLower ? rcWork.bottom - 300 : rcWork.top + 10;
        m_parent.MoveWindow(rcWork.left + 10, y, 400, 320);
        const CRect rcRow = m_pItem->GetItemRect();
        CRect rcScreenRow = rcRow;
        View().ClientToScreen(&rcScreenRow);
        m_grid.GetInplaceList().Create(m_pItem, rcRow);
        CRect rcList;
        m_grid.GetInplaceList().GetWindowRect(&rcList);
        if (bLower) EXPECT_EQ(rcList.bottom, rcScreenRow.top - 1);
        else EXPECT_EQ(rcList.top, rcScreenRow.bottom);
        m_grid.GetInplaceList().DestroyItem();
    }
}

TEST_F(Inplace, APressRunsTheButtonOnlyWhenReleasedOverIt) {
    m_pItem->SetFlags(KLVPGItemHasEdit | KLVPGItemHasExpandButton | KLVPGItemHasComboButton);
    m_pItem->Select();
    CKLVPropertyGridInplaceButtons* pButtons = m_pItem->GetInplaceButtons();
    ASSERT_EQ(pButtons->GetCount(), 2);
    m_pItem->GetValueRect();   // places the buttons
    CKLVPropertyGridInplaceButton* pEllipsis = pButtons->GetAt(0);
    const CRect rcDrop = pButtons->GetAt(1)->GetRect();
    EXPECT_EQ(pButtons->GetAt(1)->GetID(), UINT(KLV_IDC_PG_COMBOBUTTON));
    EXPECT_EQ(rcDrop.right, m_pItem->GetItemRect().right);
    EXPECT_EQ(pEllipsis->GetRect().right, rcDrop.left);

    const LPARAM inside = MAKELPARAM(pEllipsis->GetRect().CenterPoint().x, pEllipsis->GetRect().CenterPoint().y);
    const LPARAM outside = MAKELPARAM(2, 2);
    struct Case {
        std::vector<LPARAM> moves;
        int nClicks;
    };
    for (const Case& c : {Case{{outside}, 0}, Case{{outside, inside}, 1}}) {
        const int nBefore = m_parent.Count(KLV_PGN_INPLACEBUTTONDOWN);
        View().m_pHotButton = pEllipsis;
        for (LPARAM pt : c.moves) View().PostMessage(WM_MOUSEMOVE, 0, pt);
        View().PostMessage(WM_LBUTTONUP, 0, c.moves.back());
        pEllipsis->OnLButtonDown(MK_LBUTTON, CPoint(inside));
        EXPECT_EQ(m_parent.Count(KLV_PGN_INPLACEBUTTONDOWN) - nBefore, c.nClicks);
        EXPECT_FALSE(pEllipsis->IsPressed());
    }

    ::PostQuitMessage(7);
    pEllipsis->OnLButtonDown(MK_LBUTTON, CPoint(inside));
    EXPECT_NE(::GetCapture(), View().GetSafeHwnd());
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);

    View().m_pHotButton = pEllipsis;   // dropping the buttons leaves the view no dangling pointer
    m_pItem->SetFlags(KLVPGItemHasEdit);
    EXPECT_EQ(View().m_pHotButton, nullptr);
}

TEST(PropertyGridInplace, TheSharedEditAndListLoseTheirWindowsAtExit) {
    CKLVPropertyGridItem item("Loose", "x");
    CKLVPropertyGridInplaceEdit& edit = item.GetInplaceEdit();
    EXPECT_EQ(&edit, &KLVPropertyGridFallbackEdit());
    EXPECT_EQ(&item.GetInplaceList(), &KLVPropertyGridFallbackList());
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(edit.CreateEdit(WS_CHILD, CRect(0, 0, 40, 20), &parent, 0));
    const HWND hEdit = edit.GetSafeHwnd();
    KLVPropertyGridReleaseFallbackWindows();
    EXPECT_EQ(edit.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(hEdit));
    KLVPropertyGridReleaseFallbackWindows();   // twice touches nothing
    parent.DestroyWindow();
}

}  // namespace
