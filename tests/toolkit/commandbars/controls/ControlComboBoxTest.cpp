// The combo box on a tool bar of a hidden frame: the list's height, Escape, completion from the
// list, the notifications of a mouse choice and of Escape, the wheel, and the saved items.
#include "MenuFrameTestSupport.h"
#include "support/PaintCanvas.h"
#include "toolkit/commandbars/controls/ControlComboBox.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/KeyboardHook.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/common/PropExchangeArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

class ControlComboBox : public ::testing::Test {
protected:
    ControlComboBox() {
        m_pCombo = m_frame.AddOnNewBar("Find", new CKLVControlComboBox, 600);
        m_pBar = m_frame.m_pLastBar;
        m_pCombo->SetDropDownListStyle(TRUE);
        m_pCombo->m_nThumbWidth = 15;
        m_pCombo->SetRect(CRect(0, 0, 150, 22));
    }
    ~ControlComboBox() override { m_pBar->SetPopuped(-1); }
    HWND Field() const { return m_pCombo->GetEditCtrl()->GetSafeHwnd(); }
    HWND List() const { return m_pCombo->GetList()->GetSafeHwnd(); }
    void Fill(std::initializer_list<const char*> items) const {
        for (const char* pszItem : items) m_pCombo->AddString(pszItem);
    }
    void Type(char ch) const { ::SendMessageA(Field(), WM_CHAR, static_cast<WPARAM>(ch), 1); }
    // A key as the bar's hook hands it over, then to the field when the control leaves it.
    void Key(UINT nKey, char ch = 0) const {
        if (m_pCombo->OnHookKeyDown(nKey, 0) == CKLVEdit::keyToEdit && ch) Type(ch);
    }
    void Open() const { m_pCombo->OnClick(FALSE, m_pCombo->GetRect().CenterPoint()); }
    std::vector<UINT>& Notifications() const { return m_frame.m_pFrame->m_notifications; }
    // Where a code first came, -1 when it never did.
    int Position(UINT nCode) const {
        const auto& codes = Notifications();
        auto found = std::find(codes.begin(), codes.end(), nCode);
        return found == codes.end() ? -1 : static_cast<int>(found - codes.begin());
    }

    CMenuFrameFixture m_frame;
    CKLVCommandBar* m_pBar = nullptr;
    CKLVControlComboBox* m_pCombo = nullptr;
};

TEST_F(ControlComboBox, TheListOpensAtMostTheDropDownCountOfRowsHighAndAnEmptyOneRowHigh) {
    struct Case {
        int nItems, nDropDownCount, nRows;
    };
    for (const Case& c : {Case{30, 12, 12}, Case{0, 12, 1}, Case{3, 12, 3}, Case{30, 4, 4}}) {
        ::SendMessageA(List(), LB_RESETCONTENT, 0, 0);
        for (int i = 0; i < c.nItems; ++i) m_pCombo->AddString(CString("item ") + std::to_string(i).c_str());
        m_pCombo->m_nDropDownItemCount = c.nDropDownCount;
        Open();
        ASSERT_TRUE(m_pCombo->GetPopuped()) << c.nItems;
        EXPECT_TRUE(::IsWindowVisible(List()));
        CRect rc;
        ::GetWindowRect(List(), &rc);
        const int nItemHeight = static_cast<int>(::SendMessageA(List(), LB_GETITEMHEIGHT, 0, 0));
        EXPECT_EQ(rc.Height(), c.nRows * nItemHeight + 4) << c.nItems << " items, " << c.nDropDownCount;
        EXPECT_EQ(rc.Width(), 150);
        m_pBar->SetPopuped(-1);
        EXPECT_FALSE(m_pCombo->GetPopuped());
        EXPECT_FALSE(::IsWindowVisible(List())) << "hidden, not destroyed";
        EXPECT_EQ(m_pCombo->GetList()->GetCount(), c.nItems);
    }
}

TEST_F(ControlComboBox, EscapeInTheOpenListRestoresTextAndSelectionAndCancels) {
    Fill({"alpha", "beta", "gamma"});
    m_pCombo->SetCurSel(1);
    EXPECT_STREQ(m_pCombo->GetEditText(), "beta");
    ::SetFocus(Field());
    ASSERT_TRUE(m_pCombo->IsFocused());
    const int nLock = KLVMouseHook()->m_nLock;
    Key(VK_F4);
    ASSERT_TRUE(m_pCombo->GetPopuped());
    EXPECT_EQ(m_pCombo->GetList()->GetCurSel(), 1) << "the open list shows the field's item";
    Key(VK_DOWN);
    EXPECT_EQ(m_pCombo->GetCurSel(), 2);
    EXPECT_STREQ(m_pCombo->GetEditText(), "gamma");
    Notifications().clear();
    // The open list's hook is asked first; a focused combo box answers Escape itself.
    m_pCombo->GetList()->OnHookKeyDown(VK_ESCAPE, 0);
    EXPECT_FALSE(m_pCombo->GetPopuped());
    EXPECT_EQ(m_pCombo->GetCurSel(), 1);
    EXPECT_STREQ(m_pCombo->GetEditText(), "beta");
    EXPECT_FALSE(m_pCombo->IsFocused());
    EXPECT_GE(Position(CBN_SELENDCANCEL), 0);
    EXPECT_EQ(Position(CBN_SELENDOK), -1);
    EXPECT_EQ(KLVMouseHook()->m_nLock, nLock - 1) << "the field's and the list's locks are given back";
}

TEST_F(ControlComboBox, TypingCompletesFromTheListUntilBackspace) {
    Fill({"xyz", "abc"});
    m_pCombo->m_bAutoComplete = TRUE;
    ::SetFocus(Field());
    ASSERT_TRUE(m_pCombo->IsFocused());
    Key('A', 'a');
    Key('B', 'b');
    EXPECT_STREQ(m_pCombo->GetEditText(), "abc");
    int nStart = 0, nEnd = 0;
    m_pCombo->GetEditCtrl()->GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 2);
    EXPECT_EQ(nEnd, 3);
    EXPECT_EQ(m_pCombo->GetCurSel(), 1) << "the list follows the completed text";
    EXPECT_GE(Position(CBN_EDITCHANGE), 0);
    // Backspace takes the completed part away and the next change does not complete again.
    Key(VK_BACK);
    EXPECT_STREQ(m_pCombo->GetEditText(), "ab");
    EXPECT_EQ(m_pCombo->GetCurSel(), -1);
    // Without completion typing is only typing.
    m_pCombo->SetEditText("");
    m_pCombo->m_bAutoComplete = FALSE;
    Key('A', 'a');
    EXPECT_STREQ(m_pCombo->GetEditText(), "a");
}

TEST_F(ControlComboBox, AMouseChoiceSendsSelChangeThenSelEndOkAndTheCommand) {
    Fill({"one", "two", "three"});
    Open();
    ASSERT_TRUE(m_pCombo->GetPopuped());
    Notifications().clear();
    CRect rcItem;
    ::SendMessageA(List(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rcItem));
    const CPoint pt = rcItem.CenterPoint();
    ::SendMessageA(List(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(m_pCombo->GetList()->GetCurSel(), 2) << "the item under the pointer is the current one";
    ::SendMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::SendMessageA(List(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    const int nChange = Position(CBN_SELCHANGE), nOk = Position(CBN_SELENDOK);
    ASSERT_GE(nChange, 0);
    EXPECT_GT(nOk, nChange);
    EXPECT_EQ(Position(CBN_SELENDCANCEL), -1);
    EXPECT_FALSE(m_pCombo->GetPopuped());
    EXPECT_STREQ(m_pCombo->GetEditText(), "three");
    EXPECT_EQ(m_frame.m_pFrame->m_commands, (std::vector<UINT>{600}));

    // Closed by Escape without a choice: cancelled, and the selection of the opening stays.
    Open();
    Notifications().clear();
    m_pCombo->GetList()->OnHookKeyDown(VK_ESCAPE, 0);
    EXPECT_FALSE(m_pCombo->GetPopuped());
    EXPECT_GE(Position(CBN_SELENDCANCEL), 0);
    EXPECT_EQ(Position(CBN_SELENDOK), -1);
    EXPECT_EQ(m_pCombo->GetCurSel(), 2);
}

TEST_F(ControlComboBox, TheWheelStepsAFocusedClosedComboBox) {
    Fill({"one", "two", "three"});
    m_pCombo->SetCurSel(0);
    const WPARAM down = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), up = MAKEWPARAM(0, WHEEL_DELTA);
    EXPECT_FALSE(m_pCombo->OnHookMouseWheel(-WHEEL_DELTA)) << "not focused";
    ::SetFocus(Field());
    ASSERT_TRUE(m_pCombo->IsFocused());
    // Through the bar's hook, as the frame hands the wheel over.
    KLVKeyboardHook()->ProcessKeyboardHooks(WM_MOUSEWHEEL, down, 0);
    EXPECT_EQ(m_pCombo->GetCurSel(), 1);
    EXPECT_STREQ(m_pCombo->GetEditText(), "two");
    KLVKeyboardHook()->ProcessKeyboardHooks(WM_MOUSEWHEEL, down, 0);
    KLVKeyboardHook()->ProcessKeyboardHooks(WM_MOUSEWHEEL, up, 0);
    EXPECT_EQ(m_pCombo->GetCurSel(), 1);
    // Open, the wheel belongs to the list.
    Key(VK_F4);
    EXPECT_FALSE(m_pCombo->OnHookMouseWheel(-WHEEL_DELTA));
}

TEST_F(ControlComboBox, RemovedWithItsListOpenTheComboBoxGivesTheHookCountBack) {
    Fill({"one", "two"});
    const int nLock = KLVMouseHook()->m_nLock;
    Open();
    ASSERT_TRUE(m_pCombo->GetPopuped());
    EXPECT_GT(KLVMouseHook()->m_nLock, nLock);
    const CKLVHookedPopupBar* pList = m_pCombo->GetList();
    m_pBar->GetControls()->Remove(m_pCombo);
    EXPECT_EQ(KLVMouseHook()->m_nLock, nLock);
    const auto& tracked = KLVMouseHook()->GetTrackedPopups();
    EXPECT_EQ(std::find(tracked.begin(), tracked.end(), pList), tracked.end()) << "the list no longer tracks";
}

TEST_F(ControlComboBox, WithoutAFieldTheListAloneChoosesAndLosingTheFocusCancels) {
    m_pCombo->SetDropDownListStyle(FALSE);
    EXPECT_EQ(m_pCombo->GetEditCtrl(), nullptr);
    Fill({"one", "two"});
    m_pCombo->SetCurSel(0);
    m_pCombo->SetFocused(TRUE);
    ASSERT_TRUE(m_pCombo->IsFocused());
    m_pCombo->OnHookKeyDown(VK_DOWN, 0);
    EXPECT_EQ(m_pCombo->GetCurSel(), 1);
    EXPECT_STREQ(m_pCombo->GetText(), "two");
    Notifications().clear();
    m_pCombo->SetFocused(FALSE);
    EXPECT_EQ(m_pCombo->GetCurSel(), 0) << "no choice was made";
    EXPECT_GE(Position(CBN_SELENDCANCEL), 0);
    EXPECT_GT(Position(CBN_SELENDCANCEL), Position(CBN_KILLFOCUS));
}

TEST_F(ControlComboBox, ANewButtonWidthFromMeasuringMovesTheFieldAtTheNextPlacing) {
    m_pCombo->m_nThumbWidth = 0;
    m_pCombo->OnEditHook();
    const CRect rc = m_pCombo->GetRect();
    m_pCombo->SetRect(rc);
    auto fieldRight = [this] {
        CRect rcField;
        ::GetWindowRect(Field(), &rcField);
        m_pBar->ScreenToClient(&rcField);
        return rcField.right;
    };
    EXPECT_EQ(fieldRight(), rc.right - 3);
    CClientDC dc(m_pBar);
    m_pCombo->GetSize(&dc);
    ASSERT_GE(m_pCombo->m_nThumbWidth, 15);
    m_pCombo->SetRect(rc);
    EXPECT_EQ(fieldRight(), rc.right - m_pCombo->m_nThumbWidth - 3) << "the same rectangle places the field again";
}

// The field a combo box without an edit window draws itself.
class ComboBoxField : public testsupport::PaintCanvas {
protected:
    ComboBoxField() : PaintCanvas(120, 24) {
        m_pCombo = m_frame.AddOnNewBar("Find", new CKLVControlComboBox, 600);
        m_pCombo->AddString("Lorem");
        m_pCombo->SetEditHint("Pick");
    }
    CMenuFrameFixture m_frame;
    CKLVControlComboBox* m_pCombo = nullptr;
};

TEST_F(ComboBoxField, ShowsTheChosenItemHighlightedWhenFocusedElseItsHintGrey) {
    CKLVColorManager* pColors = GetColorManager();
    struct Case {
        const char* pszName;
        BOOL bFocused, bEnabled;
        int nSelected;
        COLORREF clrFill, clrText;
        BOOL bText;
    };
    const Case cases[] = {
        {"focused", TRUE, TRUE, 0, pColors->GetColor(COLOR_HIGHLIGHT), pColors->GetColor(COLOR_HIGHLIGHTTEXT), TRUE},
        {"idle", FALSE, TRUE, 0, kWhite, pColors->GetColor(COLOR_WINDOWTEXT), TRUE},
        {"disabled", FALSE, FALSE, 0, kWhite, pColors->GetColor(COLOR_GRAYTEXT), TRUE},
        {"hint", FALSE, TRUE, -1, kWhite, pColors->GetColor(COLOR_GRAYTEXT), TRUE},
        {"focused without a choice", TRUE, TRUE, -1, pColors->GetColor(COLOR_HIGHLIGHT), pColors->GetColor(COLOR_GRAYTEXT),
         FALSE},
    };
    for (const Case& c : cases) {
        m_dc.FillSolidRect(0, 0, m_cx, m_cy, kWhite);
        m_pCombo->SetFocused(FALSE);
        m_pCombo->SetCurSel(c.nSelected);
        m_pCombo->SetEnabled(c.bEnabled);
        m_pCombo->SetFocused(c.bFocused);
        m_pCombo->DrawEditText(&m_dc, CRect(0, 0, m_cx, m_cy));
        EXPECT_EQ(m_dc.GetPixel(1, 2), c.clrFill) << c.pszName;
        EXPECT_EQ(CountPixels(CRect(2, 3, m_cx - 2, m_cy - 2), c.clrText) > 0, c.bText) << c.pszName;
    }
}

// ---------------------------------------------------------------------------------------------
// Saved keys and items.

std::string StoreWith(const std::function<void(CKLVPropExchange*)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CKLVPropExchangeArchive px(ar);
        write(&px);
    }
    const size_t length = static_cast<size_t>(file.GetLength());
    BYTE* data = file.Detach();
    std::string bytes(reinterpret_cast<char*>(data), length);
    std::free(data);
    return bytes;
}

void LoadWith(std::string bytes, const std::function<void(CKLVPropExchange*)>& read) {
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CKLVPropExchangeArchive px(ar);
    read(&px);
}

std::vector<std::string> Items(CKLVControlComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.GetList()->GetCount(); ++i) {
        CString strItem;
        combo.GetList()->GetText(i, strItem);
        items.emplace_back(strItem);
    }
    return items;
}

TEST(ControlComboBoxExchange, KeysAndItemsComeBackAndADamagedCountLoadsNothing) {
    CKLVControlComboBox* pStored = new CKLVControlComboBox;
    pStored->SetDropDownListStyle(TRUE);
    pStored->m_bAutoComplete = TRUE;
    pStored->m_nDropDownItemCount = 7;
    pStored->m_strEditHint = "Where";
    pStored->AddString("first");
    pStored->AddString("R&D");
    const std::string bytes = StoreWith([&](CKLVPropExchange* px) { pStored->DoPropExchange(px); });
    CKLVControlComboBox* pLoaded = new CKLVControlComboBox;
    LoadWith(bytes, [&](CKLVPropExchange* px) { pLoaded->DoPropExchange(px); });
    EXPECT_TRUE(pLoaded->GetDropDownListStyle());
    EXPECT_NE(pLoaded->GetEditCtrl(), nullptr) << "the field object follows DropDown";
    EXPECT_TRUE(pLoaded->m_bAutoComplete);
    EXPECT_EQ(pLoaded->m_nDropDownItemCount, 7);
    EXPECT_STREQ(pLoaded->m_strEditHint, "Where");
    EXPECT_EQ(Items(*pLoaded), (std::vector<std::string>{"first", "R&D"}));

    // The items section alone, with a count that does not match what follows.
    for (long nCount : {-1L, 0x8000L, 100000L}) {
        const std::string damaged = StoreWith([&](CKLVPropExchange* px) {
            PX_Long(px, "Count", nCount, 0);
            CString strItem = "stray";
            PX_String(px, "Item0", strItem, "");
        });
        LoadWith(damaged, [&](CKLVPropExchange* px) { pLoaded->GetList()->ExchangeItems(px); });
        EXPECT_EQ(Items(*pLoaded), (std::vector<std::string>{"first", "R&D"})) << nCount;
    }
    // A count beyond the data fails the read before any item comes in.
    const std::string shortData = StoreWith([&](CKLVPropExchange* px) {
        long nCount = 3;
        PX_Long(px, "Count", nCount, 0);
        CString strItem = "only";
        PX_String(px, "Item0", strItem, "");
    });
    BOOL bFailed = FALSE;
    try {
        LoadWith(shortData, [&](CKLVPropExchange* px) { pLoaded->GetList()->ExchangeItems(px); });
    } catch (CException* e) {
        bFailed = TRUE;
        e->Delete();
    }
    EXPECT_TRUE(bFailed);
    EXPECT_EQ(Items(*pLoaded), (std::vector<std::string>{"first", "R&D"}));
    pStored->InternalRelease();
    pLoaded->InternalRelease();
}

TEST(ControlComboBoxExchange, ACopyHasItsOwnListWithTheSameItems) {
    CKLVControlComboBox* pSource = new CKLVControlComboBox;
    pSource->AddString("a");
    pSource->AddString("b");
    pSource->SetCurSel(1);
    pSource->m_nComboStyle = CKLVControlComboBox::styleLabel;
    CKLVControl* pCopy = pSource->Clone();
    auto* pCombo = DYNAMIC_DOWNCAST(CKLVControlComboBox, pCopy);
    ASSERT_NE(pCombo, nullptr);
    EXPECT_NE(pCombo->GetList(), pSource->GetList());
    EXPECT_EQ(Items(*pCombo), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(pCombo->GetCurSel(), 1);
    EXPECT_EQ(pCombo->m_nComboStyle, CKLVControlComboBox::styleLabel);
    pCopy->InternalRelease();
    pSource->InternalRelease();
}

}  // namespace
