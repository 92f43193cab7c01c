// The control collection: tool-bar rows, hiding, fitting, right alignment and stretching with
// fixed-size controls, popup columns, menus made into controls, and the keyboard walk.
#include "ControlTestSupport.h"

#include "classlib/Menu.h"
#include "toolkit/commandbars/controls/ControlLists.h"
#include "toolkit/common/ImageManager.h"

using commandbars_test::CFixedControl;
using commandbars_test::CTestBar;
using commandbars_test::CTestSite;

namespace {

const CRect kBorders(2, 2, 2, 2);

class Layout : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        CKLVPaintManager::SetTheme(0);
        m_dc.CreateCompatibleDC(nullptr);
    }
    CKLVControl* Add(int cx, BOOL bBeginGroup = FALSE, DWORD dwFlags = 0, int cy = 20) {
        CKLVControl* pControl = m_bar.GetControls()->Append(new CFixedControl(CSize(cx, cy)));
        pControl->m_bBeginGroup = bBeginGroup;
        pControl->m_dwFlags = dwFlags;
        return pControl;
    }
    CSize Calc(int nLength, DWORD dwMode) {
        m_dwMode = dwMode;
        return m_bar.GetControls()->CalcDynamicSize(&m_dc, nLength, m_dwMode, kBorders);
    }

    CKLVCommandBar m_bar;
    CDC m_dc;
    DWORD m_dwMode = 0;
};

const DWORD kDocked = CKLVControls::modeHorzDock | CKLVControls::modeCommit;

TEST_F(Layout, AnEmptyBarIsItsBordersAndOneButton) {
    EXPECT_EQ(Calc(300, kDocked), CSize(27, 26));
    Add(20)->SetVisible(FALSE);
    EXPECT_EQ(Calc(300, kDocked), CSize(27, 26));
}

TEST_F(Layout, RowsBreakAtTheLastGroupThatBeganInTheRow) {
    CKLVControl* c[6] = {Add(20), Add(20), Add(20, TRUE), Add(20), Add(20, TRUE), Add(20)};
    EXPECT_EQ(Calc(124, kDocked), CSize(4 + 86, 4 + 20 + 6 + 20));
    EXPECT_TRUE(m_dwMode & CKLVControls::modeStretch);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c[i]->GetWrap(), i == 4) << i;
    EXPECT_EQ(c[4]->GetRect(), CRect(2, 28, 22, 48));
    EXPECT_EQ(c[5]->GetRect(), CRect(22, 28, 42, 48));
    EXPECT_EQ(c[3]->GetRowRect(), CRect(2, 2, 88, 22));

    // Hiding instead of wrapping keeps the hidden controls where they were.
    c[5]->m_rcControl = CRect(1, 1, 2, 2);
    Calc(124, kDocked | CKLVControls::modeHideWrap);
    EXPECT_TRUE(c[5]->GetHideFlags() & CKLVControl::hideWrap);
    EXPECT_FALSE(c[4]->GetHideFlags() & CKLVControl::hideWrap);
    EXPECT_EQ(c[5]->GetRect(), CRect(1, 1, 2, 2));
    EXPECT_EQ(c[4]->GetRect(), CRect(94, 2, 114, 22));
}

TEST_F(Layout, FloatingBarsTakeTheNarrowestWidthOfTheirRowCount) {
    for (int i = 0; i < 6; ++i) Add(20);
    EXPECT_EQ(Calc(104, CKLVControls::modeCommit), CSize(4 + 60, 4 + 40));
    EXPECT_EQ(Calc(4 + 40, CKLVControls::modeCommit | CKLVControls::modeLengthIsHeight), CSize(4 + 60, 4 + 40));
}

TEST_F(Layout, RightAlignedControlsEndTheRowAndStretchedOnesShareTheRest) {
    CKLVControl* pFirst = Add(21);
    CKLVControl* pWide1 = Add(20, FALSE, CKLVControl::flagControlStretched);
    CKLVControl* pWide2 = Add(20, FALSE, CKLVControl::flagControlStretched);
    CKLVControl* pRight = Add(20, FALSE, CKLVControl::flagRightAlign);
    EXPECT_EQ(Calc(204, kDocked | CKLVControls::modeStretch), CSize(204, 24));
    EXPECT_EQ(pFirst->GetRect(), CRect(2, 2, 23, 22));
    EXPECT_EQ(pRight->GetRect(), CRect(182, 2, 202, 22));
    // 119 pixels to share: the later control takes the remainder.
    EXPECT_EQ(pWide1->GetRect(), CRect(23, 2, 23 + 79, 22));
    EXPECT_EQ(pWide2->GetRect(), CRect(102, 2, 182, 22));
}

TEST_F(Layout, ControlsAreCentredInTheirRow) {
    Add(20, FALSE, 0, 30);
    CKLVControl* pLow = Add(20, FALSE, 0, 10);
    Calc(300, kDocked);
    EXPECT_EQ(pLow->GetRect(), CRect(22, 12, 42, 22));
}

// A large button's size by its style: large, icon and caption, icon only.
class CLargeButton : public CKLVControlButton {
public:
    explicit CLargeButton(int cyRow) : m_cyRow(cyRow) {}
    CSize GetSize(CDC*) override {
        switch (GetStyle()) {
        case styleCaptionBelow: return CSize(42, 3 * m_cyRow);
        case styleIconAndCaption: return CSize(60, m_cyRow);
        default: return CSize(24, m_cyRow);
        }
    }
    int m_cyRow;
};

TEST_F(Layout, LargeButtonsShrinkStepByStepUntilTheBarFits) {
    m_bar.m_nFlags |= CKLVCommandBar::flagLargeButtons;
    const int cyRow = (m_bar.GetPaintManager()->GetSplitDropDownWidth() + 32 + 7) / 3;
    for (int nId = 901; nId <= 903; ++nId) {
        HICON hIcon = ::CreateIcon(nullptr, 32, 32, 1, 1, std::vector<BYTE>(128, 0xFF).data(),
                                   std::vector<BYTE>(128, 0).data());
        KLVImageManager()->SetIcon(CKLVImageManagerIconHandle(hIcon, TRUE), nId, CSize(32, 32));
        m_bar.GetControls()->Append(new CLargeButton(cyRow))->m_nId = nId;
    }
    const struct {
        int nLength, nStyle;
    } steps[] = {{200, CKLVControl::styleCaptionBelow}, {100, CKLVControl::styleIconAndCaption},
                 {50, CKLVControl::styleIcon}};
    for (const auto& step : steps) {
        Calc(step.nLength, kDocked);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(m_bar.GetControls()->GetAt(i)->GetStyle(), step.nStyle) << step.nLength;
    }
}

TEST_F(Layout, PopupColumnsWidthLimitAndEmptySize) {
    m_bar.m_barType = CKLVCommandBar::barTypePopup;
    EXPECT_EQ(m_bar.GetControls()->CalcPopupSize(&m_dc, 0, kBorders), CSize(28, 26));
    CKLVControl* a = Add(50);
    CKLVControl* b = Add(40, TRUE);
    CKLVControl* c = Add(30, FALSE, CKLVControl::flagWrapRow);
    EXPECT_EQ(m_bar.GetControls()->CalcPopupSize(&m_dc, 0, kBorders), CSize(4 + 50 + 30, 4 + 46));
    EXPECT_EQ(a->GetRect(), CRect(2, 2, 52, 22));
    EXPECT_EQ(b->GetRect(), CRect(2, 28, 52, 48));
    EXPECT_TRUE(c->GetWrap());
    EXPECT_EQ(c->GetRect(), CRect(52, 2, 82, 22));
    EXPECT_EQ(c->GetRowRect(), CRect(52, 2, 82, 48));

    CRect rcWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    static_cast<CFixedControl*>(a)->m_sz.cx = 5000;
    m_bar.GetControls()->CalcPopupSize(&m_dc, 0, kBorders);
    EXPECT_EQ(a->GetRect().Width(), rcWork.right / 3);
}

TEST(Menus, ItemsBecomeControlsWithTheSiteAskedAndTold) {
    CTestSite site;
    CTestBar<> bar(&site);
    CMenu menu, sub;
    menu.CreatePopupMenu();
    sub.CreatePopupMenu();
    ::AppendMenuA(sub.GetSafeHmenu(), MF_STRING, 10, "&Open\tCtrl+O");
    ::AppendMenuA(menu.GetSafeHmenu(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "&File\t35001");
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, 0xFF00, "Skipped");
    ::AppendMenuA(menu.GetSafeHmenu(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, 57872, "<<OLE VERBS GO HERE>>");
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, 57872, "Verbs");
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, 77, "Given");
    auto* pSupplied = new CKLVControlButton;
    site.m_pSupplied = pSupplied;
    site.m_nSupplyFor = 77;
    const CString strLong(static_cast<char>('x'), 1500);
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, 78, strLong);

    ASSERT_TRUE(bar.GetControls()->LoadMenu(&menu));
    CKLVControls* pControls = bar.GetControls();
    ASSERT_EQ(pControls->GetCount(), 5);
    CKLVControl* pFile = pControls->GetAt(0);
    EXPECT_EQ(pFile->GetType(), CKLVControl::typePopup);
    EXPECT_EQ(pFile->GetId(), 35001);
    EXPECT_EQ(pFile->GetCaption(), "&File");
    CKLVControl* pOpen = pFile->GetCommandBar()->GetControls()->GetAt(0);
    ASSERT_NE(pOpen, nullptr);
    EXPECT_EQ(pOpen->GetCaption(), "&Open");
    EXPECT_EQ(pOpen->GetShortcutText(), "Ctrl+O");
    // The OLE verbs' placeholder is known by its caption.
    EXPECT_EQ(pControls->GetAt(1)->GetRuntimeClass(), RUNTIME_CLASS(CKLVControlOleItems));
    EXPECT_TRUE(pControls->GetAt(1)->GetBeginGroup());
    EXPECT_EQ(pControls->GetAt(2)->GetCaption(), "Verbs");
    EXPECT_EQ(pControls->GetAt(2)->GetRuntimeClass(), RUNTIME_CLASS(CKLVControlButton));
    EXPECT_EQ(pControls->GetAt(3), pSupplied);
    EXPECT_EQ(pControls->GetAt(4)->GetCaption(), strLong);
    const UINT ask = CKLVControls::msgCreateControl, told = CKLVControls::msgControlCreated;
    // Each made control is asked for and told of; the window ids past 0xFF00 are not asked for.
    EXPECT_EQ(site.m_messages, (std::vector<UINT>{ask, CKLVControls::msgCreateCommandBar, told, ask, told, ask, told,
                                                  ask, told, ask, told}));
}

TEST(Collection, KeyboardWalkAndUnknownTypes) {
    CKLVCommandBar bar;
    CKLVControls* pControls = bar.GetControls();
    for (int i = 0; i < 3; ++i) pControls->Append(new CKLVControlButton);
    pControls->GetAt(0)->SetVisible(FALSE);
    EXPECT_EQ(pControls->GetNext(-1, +1), 1);
    EXPECT_EQ(pControls->GetNext(-1, -1), 2);
    EXPECT_EQ(pControls->GetNext(2, +1), 1);
    EXPECT_EQ(pControls->GetNext(1, -1), 2);
    pControls->GetAt(2)->SetVisible(FALSE);
    EXPECT_EQ(pControls->GetNext(1, +1), 1);
    EXPECT_EQ(pControls->Add(99, 5), nullptr);
    EXPECT_EQ(pControls->GetCount(), 3);
    EXPECT_EQ(pControls->FindControl(-1), pControls->GetAt(0));
    EXPECT_EQ(pControls->HitTest(CPoint(0, 0)), nullptr);
}

}  // namespace
