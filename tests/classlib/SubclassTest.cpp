// Subclassing a control the library did not create: its messages pass the object's map first and
// its own procedure after; unsubclassing gives the original procedure back.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum : UINT { IDC_EDIT = 50 };

// Lets everything but digits through to the edit control.
class CNoDigitsEdit : public CEdit {
public:
    std::string m_seen;
    int m_nPreSubclass = 0;
    void PreSubclassWindow() override { ++m_nPreSubclass; }

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
        m_seen += static_cast<char>(nChar);
        if (nChar < '0' || nChar > '9') CEdit::OnChar(nChar, nRepCnt, nFlags);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNoDigitsEdit, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()

struct EditFamily {
    CWnd parent;
    HWND hWndEdit = nullptr;
    LONG_PTR pfnOriginal = 0;
    EditFamily() {
        EXPECT_TRUE(classlib_test::CreateTopLevel(parent));
        hWndEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 100, 20, parent.m_hWnd,
                                     reinterpret_cast<HMENU>(IDC_EDIT), nullptr, nullptr);
        pfnOriginal = ::GetWindowLongPtrA(hWndEdit, GWLP_WNDPROC);
    }
    void Type(const char* lpszText) {
        for (const char* p = lpszText; *p; ++p) ::SendMessageA(hWndEdit, WM_CHAR, static_cast<BYTE>(*p), 1);
    }
    CString Text() const {
        char szText[64] = {};
        ::GetWindowTextA(hWndEdit, szText, sizeof szText);
        return szText;
    }
};

TEST(Subclassing, MessagesPassTheMapBeforeTheControl) {
    EditFamily family;
    CNoDigitsEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_EDIT, &family.parent));
    EXPECT_EQ(edit.m_hWnd, family.hWndEdit);
    EXPECT_EQ(edit.m_nPreSubclass, 1);
    EXPECT_EQ(::GetWindowLongPtrA(family.hWndEdit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&AfxWndProc));
    EXPECT_EQ(CWnd::FromHandlePermanent(family.hWndEdit), &edit);

    family.Type("a1b2");
    EXPECT_EQ(edit.m_seen, "a1b2");
    EXPECT_STREQ(family.Text(), "ab");

    // Unmapped messages reach the control's own procedure.
    edit.SetWindowText("hello");
    edit.SetSel(1, 3);
    int nStart = 0;
    int nEnd = 0;
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 1);
    EXPECT_EQ(nEnd, 3);
    edit.ReplaceSel("EL");
    CString strText;
    edit.GetWindowText(strText);
    EXPECT_STREQ(strText, "hELlo");
}

TEST(Subclassing, UnsubclassingRestoresTheControl) {
    EditFamily family;
    CNoDigitsEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(family.hWndEdit));
    CNoDigitsEdit second;
    EXPECT_FALSE(second.SubclassWindow(family.hWndEdit)) << "a window has one object";

    EXPECT_EQ(edit.UnsubclassWindow(), family.hWndEdit);
    EXPECT_EQ(edit.m_hWnd, nullptr);
    EXPECT_EQ(::GetWindowLongPtrA(family.hWndEdit, GWLP_WNDPROC), family.pfnOriginal);
    EXPECT_EQ(CWnd::FromHandlePermanent(family.hWndEdit), nullptr);
    family.Type("x9");
    EXPECT_STREQ(family.Text(), "x9");
    EXPECT_EQ(edit.m_seen, "");

    // Another object may take it now.
    EXPECT_TRUE(second.SubclassWindow(family.hWndEdit));
    EXPECT_EQ(second.UnsubclassWindow(), family.hWndEdit);
}

TEST(Subclassing, ASubclassedControlDestroyedWithItsParentIsForgotten) {
    EditFamily family;
    CNoDigitsEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(family.hWndEdit));
    EXPECT_TRUE(family.parent.DestroyWindow());
    EXPECT_EQ(edit.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(family.hWndEdit), nullptr);
}

}  // namespace
