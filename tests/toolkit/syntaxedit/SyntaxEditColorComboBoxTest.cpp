// The colour combo box and sample: the standard list, the custom and automatic items, the
// colour dialog (answered by a hook on this thread as it opens), the sort order, the keys
// while the list is open, and item and sample pixels painted into a memory DC.
#include "classlib/WindowTestSupport.h"
#include "support/PaintCanvas.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/syntaxedit/options/SyntaxEditColorComboBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kComboId = 300;

// A parent that records the notification codes its children send.
class CCodeRecorder : public CWnd {
public:
    std::vector<int> m_codes;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == kComboId) m_codes.push_back(HIWORD(wParam));
        return CWnd::OnCommand(wParam, lParam);
    }
};

// Answers the next colour dialog of this thread: types the colour into its red, green and blue
// fields and presses OK, or presses Cancel when the colour is -1.
class ColorDialogAnswer {
public:
    explicit ColorDialogAnswer(COLORREF clr) {
        s_clr = clr;
        m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~ColorDialogAnswer() { ::UnhookWindowsHookEx(m_hHook); }
    ColorDialogAnswer(const ColorDialogAnswer&) = delete;
    ColorDialogAnswer& operator=(const ColorDialogAnswer&) = delete;

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam) {
        const auto* pMsg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (nCode == HC_ACTION && pMsg->message == WM_INITDIALOG && ::GetDlgItem(pMsg->hwnd, 706)) {
            if (s_clr == COLORREF(-1)) {
                ::PostMessageA(pMsg->hwnd, WM_COMMAND, IDCANCEL, 0);
            } else {
                ::SetDlgItemInt(pMsg->hwnd, 706, GetRValue(s_clr), FALSE);
                ::SetDlgItemInt(pMsg->hwnd, 707, GetGValue(s_clr), FALSE);
                ::SetDlgItemInt(pMsg->hwnd, 708, GetBValue(s_clr), FALSE);
                ::PostMessageA(pMsg->hwnd, WM_COMMAND, IDOK, 0);
            }
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static inline COLORREF s_clr = 0;
    HHOOK m_hHook;
};

class ColorComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(classlib_test::CreateTopLevel(m_parent));
        ASSERT_TRUE(m_combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
                                       CBS_HASSTRINGS, CRect(5, 5, 200, 200), &m_parent, kComboId));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    std::string Text(int nIndex) {
        CString str;
        m_combo.GetLBText(nIndex, str);
        return static_cast<LPCTSTR>(str);
    }

    CWinApp m_app{"KelvaneColorComboTest"};
    CCodeRecorder m_parent;
    CKLVSyntaxEditColorComboBox m_combo;
};

TEST_F(ColorComboTest, FilledWithTheStandardColoursOnCreateAndOnSubclass) {
    ASSERT_EQ(m_combo.GetCount(), 16);
    EXPECT_EQ(m_combo.GetCurSel(), 0);
    const struct {
        int nIndex;
        const char* name;
        COLORREF clr;
    } expected[] = {{0, "Black", RGB(0, 0, 0)}, {1, "White", RGB(255, 255, 255)}, {8, "Gray-25%", RGB(192, 192, 192)},
                    {15, "Turquoise", RGB(0, 255, 255)}};
    for (const auto& e : expected) {
        EXPECT_EQ(Text(e.nIndex), e.name);
        EXPECT_EQ(m_combo.GetItemData(e.nIndex), e.clr) << e.name;
    }
    // A control of a dialog is filled when the class takes it over.
    const HWND hPlain = ::CreateWindowExA(0, "ComboBox", "", WS_CHILD | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                                          0, 0, 100, 100, m_parent.m_hWnd, reinterpret_cast<HMENU>(301), nullptr, nullptr);
    CKLVSyntaxEditColorComboBox subclassed;
    ASSERT_TRUE(subclassed.SubclassWindow(hPlain));
    EXPECT_EQ(subclassed.GetCount(), 16);
    EXPECT_EQ(subclassed.GetSelectedColor(), RGB(0, 0, 0));
    subclassed.DestroyWindow();
}

TEST_F(ColorComboTest, OneCustomItemTakesEachColourNotInTheList) {
    EXPECT_EQ(m_combo.SelectColor(RGB(255, 0, 0)), 10);
    EXPECT_EQ(m_combo.GetCount(), 16) << "a standard colour adds nothing";
    EXPECT_EQ(m_combo.SelectColor(RGB(1, 2, 3)), 16);
    EXPECT_EQ(Text(16), "Custom");
    EXPECT_EQ(m_combo.GetSelectedColor(), RGB(1, 2, 3));
    EXPECT_EQ(m_combo.SelectColor(RGB(4, 5, 6)), 16);
    EXPECT_EQ(m_combo.GetCount(), 17) << "the second colour changes the same item";
    EXPECT_EQ(m_combo.GetSelectedColor(), RGB(4, 5, 6));
    EXPECT_EQ(m_combo.FindColor(RGB(1, 2, 3)), -1);
    // Removing it answers the remaining count; removing it again finds nothing.
    EXPECT_EQ(m_combo.SetCustomColor(COLORREF(-1)), 16);
    EXPECT_EQ(m_combo.SetCustomColor(COLORREF(-1)), -1);
    EXPECT_EQ(m_combo.GetCustomColor(), COLORREF(-1));
}

TEST_F(ColorComboTest, TheColourDialogsChoice) {
    const struct {
        COLORREF clrAnswer;   // -1: cancelled
        int nResult;
        COLORREF clrSelected;
        int nCount;
    } steps[] = {
        {RGB(10, 20, 30), 16, RGB(10, 20, 30), 17},      // new: the custom item
        {RGB(40, 50, 60), 16, RGB(40, 50, 60), 17},      // another: the same item
        {COLORREF(-1), -1, RGB(40, 50, 60), 17},         // cancelled: nothing changes
        {RGB(0, 0, 255), 13, RGB(0, 0, 255), 16},        // a standard one: the custom item goes
    };
    for (const auto& step : steps) {
        ColorDialogAnswer answer(step.clrAnswer);
        EXPECT_EQ(m_combo.ChooseColor(), step.nResult) << step.clrAnswer;
        EXPECT_EQ(m_combo.GetSelectedColor(), step.clrSelected) << step.clrAnswer;
        EXPECT_EQ(m_combo.GetCount(), step.nCount) << step.clrAnswer;
    }
}

TEST_F(ColorComboTest, AutomaticItemFirstAndEmptyListAnswers) {
    EXPECT_EQ(m_combo.SetAutoColor(RGB(7, 7, 7)), 0);
    EXPECT_EQ(Text(0), "Automatic Color");
    EXPECT_EQ(m_combo.GetItemData(0), RGB(7, 7, 7));
    EXPECT_EQ(Text(1), "Black");
    EXPECT_EQ(m_combo.SetAutoColor(RGB(8, 8, 8)), 0);
    EXPECT_EQ(m_combo.GetCount(), 17);
    EXPECT_EQ(m_combo.FindColor(RGB(8, 8, 8)), 0);
    EXPECT_EQ(m_combo.SetAutoColor(COLORREF(-1)), 16);
    EXPECT_EQ(Text(0), "Black");
    EXPECT_EQ(m_combo.SetAutoColor(RGB(1, 1, 1), "Default"), 0);
    EXPECT_EQ(Text(0), "Default");

    m_combo.ResetContent();
    EXPECT_EQ(m_combo.FindColor(RGB(0, 0, 0)), -1);
    EXPECT_EQ(m_combo.GetSelectedColor(), COLORREF(-1));
}

TEST(ColorCombo, SortOrder) {
    const struct {
        COLORREF clr1, clr2;
        int nExpected;
    } cases[] = {
        {RGB(1, 2, 3), RGB(1, 2, 3), 0},
        {RGB(0, 0, 0), RGB(255, 255, 255), -1},   // darker first
        {RGB(200, 0, 0), RGB(0, 0, 100), 1},
        {RGB(0, 0, 10), RGB(10, 0, 0), -1},        // equal sums: more blue first
        {RGB(0, 10, 0), RGB(10, 0, 0), -1},        // equal blue: more green first
        {RGB(5, 5, 5), RGB(6, 4, 5), -1},
        {RGB(10, 0, 0), RGB(0, 10, 0), -1},        // no more green: more red first
        {RGB(6, 4, 5), RGB(5, 5, 5), -1},
        // With equal sums a distinct colour is always "first": the order of such pairs is the
        // order the list meets them in (no list of ours is sorted).
        {RGB(10, 0, 0), RGB(0, 0, 10), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CKLVSyntaxEditColorComboBox::CompareColors(c.clr1, c.clr2), c.nExpected)
            << std::hex << c.clr1 << " " << c.clr2;
}

TEST_F(ColorComboTest, KeysWhileTheListIsOpen) {
    m_combo.SetCurSel(2);
    MSG msg{m_combo.m_hWnd, WM_KEYDOWN, VK_DOWN, 0, 0, {0, 0}};
    EXPECT_TRUE(m_combo.PreTranslateMessage(&msg)) << "Down opens the closed list";
    EXPECT_TRUE(m_combo.GetDroppedState());
    EXPECT_EQ(m_combo.GetDroppedSelection(), 2);
    msg.wParam = VK_ESCAPE;
    EXPECT_TRUE(m_combo.PreTranslateMessage(&msg));
    EXPECT_FALSE(m_combo.GetDroppedState());
    EXPECT_EQ(m_combo.GetCurSel(), 2);
    EXPECT_NE(std::find(m_parent.m_codes.begin(), m_parent.m_codes.end(), CBN_SELENDCANCEL), m_parent.m_codes.end());

    m_parent.m_codes.clear();
    m_combo.ShowDropDown(TRUE);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetComboBoxInfo(m_combo.m_hWnd, &info));
    ::SendMessageA(info.hwndList, LB_SETCURSEL, 5, 0);
    msg.wParam = VK_RETURN;
    EXPECT_TRUE(m_combo.PreTranslateMessage(&msg));
    EXPECT_FALSE(m_combo.GetDroppedState());
    EXPECT_EQ(m_combo.GetCurSel(), 5) << "Enter takes the open list's selection";
    EXPECT_NE(std::find(m_parent.m_codes.begin(), m_parent.m_codes.end(), CBN_SELENDOK), m_parent.m_codes.end());
    msg.wParam = VK_RETURN;
    EXPECT_FALSE(m_combo.PreTranslateMessage(&msg)) << "Enter on the closed list goes the usual way";
    EXPECT_EQ(m_combo.GetDroppedSelection(), -1);
}

TEST_F(ColorComboTest, DataExchangeSelectsAndReadsTheColour) {
    CDataExchange load(&m_parent, FALSE);
    COLORREF clr = RGB(9, 9, 9);
    DDX_ColorCombo(&load, kComboId, clr);
    EXPECT_EQ(m_combo.GetCustomColor(), RGB(9, 9, 9));
    m_combo.SetCurSel(2);
    CDataExchange save(&m_parent, TRUE);
    DDX_ColorCombo(&save, kComboId, clr);
    EXPECT_EQ(clr, RGB(128, 0, 0));
}

class ColorPixelsTest : public testsupport::PaintCanvas {
protected:
    ColorPixelsTest() : PaintCanvas(120, 40) {}
};

TEST_F(ColorPixelsTest, ItemSwatchAndFrameEnabledAndDisabled) {
    CWinApp app("KelvaneColorPixelsTest");
    CCodeRecorder parent;
    ASSERT_TRUE(classlib_test::CreateTopLevel(parent));
    CKLVSyntaxEditColorComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, CRect(0, 0, 120, 200),
                             &parent, kComboId));
    const COLORREF clrFrameEnabled = GetColorManager()->GetColor(COLOR_WINDOWTEXT);
    const COLORREF clrFace = GetColorManager()->GetColor(COLOR_BTNFACE);
    const COLORREF clrGray = GetColorManager()->GetColor(COLOR_GRAYTEXT);
    const struct {
        UINT nState;
        COLORREF clrSwatch, clrFrame, clrFill;
    } cases[] = {
        {0, RGB(255, 0, 0), clrFrameEnabled, GetColorManager()->GetColor(COLOR_WINDOW)},
        {ODS_SELECTED, RGB(255, 0, 0), clrFrameEnabled, GetColorManager()->GetColor(COLOR_HIGHLIGHT)},
        {ODS_DISABLED, clrFace, clrGray, clrFace},
    };
    for (const auto& c : cases) {
        m_dc.FillSolidRect(0, 0, 120, 40, kWhite);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_COMBOBOX;
        dis.itemID = 10;   // "Red"
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = c.nState;
        dis.hwndItem = combo.m_hWnd;
        dis.hDC = m_dc.m_hDC;
        dis.rcItem = CRect(0, 0, 120, 20);
        dis.itemData = RGB(255, 0, 0);
        combo.DrawItem(&dis);
        // The 11-pixel swatch at (2, 2): frame at its edges, colour inside; the item around it.
        ExpectPixels({{2, 2, c.clrFrame}, {12, 12, c.clrFrame}, {7, 7, c.clrSwatch}, {3, 3, c.clrSwatch},
                      {1, 10, c.clrFill}, {14, 1, c.clrFill}, {119, 19, c.clrFill}, {60, 30, kWhite}});
    }
    parent.DestroyWindow();
}

TEST_F(ColorPixelsTest, SampleFrameBackgroundAndText) {
    CWinApp app("KelvaneColorSampleTest");
    CWnd parent;
    ASSERT_TRUE(classlib_test::CreateTopLevel(parent));
    CKLVSyntaxEditColorSample sample;
    ASSERT_TRUE(sample.Create("XxYy", WS_CHILD | SS_CENTER, CRect(0, 0, 120, 40), &parent, 119));
    sample.SetTextColor(RGB(255, 0, 0));
    sample.SetBackColor(RGB(0, 0, 255));
    const COLORREF clrBorder = ::GetSysColor(COLOR_3DDKSHADOW);
    sample.Draw(&m_dc);
    ExpectPixels({{0, 0, clrBorder}, {119, 39, clrBorder}, {1, 1, RGB(0, 0, 255)}, {5, 20, RGB(0, 0, 255)}});
    EXPECT_GT(CountPixels(CRect(30, 5, 90, 35), RGB(255, 0, 0)), 5) << "the text in its colour";
    sample.EnableWindow(FALSE);
    sample.Draw(&m_dc);
    ExpectPixels({{0, 0, ::GetSysColor(COLOR_GRAYTEXT)}, {5, 20, ::GetSysColor(COLOR_BTNFACE)}});
    EXPECT_EQ(CountPixels(CRect(30, 5, 90, 35), RGB(255, 0, 0)), 0);
    parent.DestroyWindow();
}

}  // namespace
