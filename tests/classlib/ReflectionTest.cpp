// Notifications a parent receives about a child control are offered back to the child first:
// WM_COMMAND and WM_NOTIFY codes, control colours and owner drawing.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum : UINT { IDC_CHILD = 41 };

std::vector<std::string> g_events;

class CReflectParent : public CWnd {
protected:
    void OnChildClicked() { g_events.push_back("parent:clicked"); }
    void OnChildClick(NMHDR*, LRESULT* pResult) {
        g_events.push_back("parent:nmclick");
        *pResult = 9;
    }
    void OnChildRightClick(NMHDR*, LRESULT* pResult) {
        g_events.push_back("parent:nmrclick");
        *pResult = 3;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectParent, CWnd)
    ON_BN_CLICKED(IDC_CHILD, OnChildClicked)
    ON_NOTIFY(NM_CLICK, IDC_CHILD, OnChildClick)
    ON_NOTIFY(NM_RCLICK, IDC_CHILD, OnChildRightClick)
END_MESSAGE_MAP()

// Consumes its click.
class CConsumingButton : public CButton {
protected:
    void OnReflectedClick() { g_events.push_back("child:clicked"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CConsumingButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnReflectedClick)
END_MESSAGE_MAP()

// Sees its click and lets the parent have it too.
class CPassingButton : public CButton {
protected:
    BOOL OnReflectedClick() {
        g_events.push_back("child:clicked");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPassingButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedClick)
END_MESSAGE_MAP()

// Answers NM_CLICK itself; passes NM_DBLCLK on after seeing it.
class CNotifyingChild : public CStatic {
protected:
    void OnClick(NMHDR* pNMHDR, LRESULT* pResult) {
        g_events.push_back("child:nmclick " + std::to_string(pNMHDR->idFrom));
        *pResult = 5;
    }
    BOOL OnDoubleClick(NMHDR*, LRESULT*) {
        g_events.push_back("child:nmdblclk");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifyingChild, CStatic)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
    ON_NOTIFY_REFLECT_EX(NM_DBLCLK, OnDoubleClick)
END_MESSAGE_MAP()

struct Family {
    CReflectParent parent;
    Family() {
        g_events.clear();
        EXPECT_TRUE(classlib_test::CreateTopLevel(parent));
    }
};

template <class TButton>
std::vector<std::string> ClickThroughParent() {
    Family family;
    TButton button;
    EXPECT_TRUE(button.Create("child", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 60, 20), &family.parent, IDC_CHILD));
    family.parent.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CHILD, BN_CLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
    return g_events;
}

TEST(Reflection, ControlNotificationsReachTheChildFirst) {
    EXPECT_EQ(ClickThroughParent<CButton>(), std::vector<std::string>{"parent:clicked"});
    EXPECT_EQ(ClickThroughParent<CConsumingButton>(), std::vector<std::string>{"child:clicked"});
    EXPECT_EQ(ClickThroughParent<CPassingButton>(), (std::vector<std::string>{"child:clicked", "parent:clicked"}));
}

// A parent with a button that consumes its clicks.
struct ConsumingFamily : Family {
    CConsumingButton button;
    ConsumingFamily() {
        EXPECT_TRUE(button.Create("child", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 60, 20), &parent, IDC_CHILD));
    }
    BOOL Command(WORD wNotifyCode) {
        return parent.OnCommand(MAKEWPARAM(IDC_CHILD, wNotifyCode), reinterpret_cast<LPARAM>(button.m_hWnd));
    }
};

TEST(Reflection, ACommandHandedOnDirectlyReflectsItsOwnNotification) {
    // Outside any message (nothing is being handled), as a frame hands a command to a window.
    ConsumingFamily family;
    classlib_test::PumpPending();
    EXPECT_TRUE(family.Command(BN_CLICKED));
    EXPECT_EQ(g_events, std::vector<std::string>{"child:clicked"});
    g_events.clear();
    EXPECT_FALSE(family.Command(BN_DOUBLECLICKED));
    EXPECT_TRUE(g_events.empty());
}

TEST(Reflection, ARealClickTravelsTheSameWay) {
    ConsumingFamily family;
    family.button.SendMessage(BM_CLICK);
    EXPECT_EQ(g_events, std::vector<std::string>{"child:clicked"});
}

TEST(Reflection, ChildrenOutsideTheLibraryLeaveItToTheParent) {
    Family family;
    HWND hWndButton = ::CreateWindowExA(0, "BUTTON", "raw", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20,
                                        family.parent.m_hWnd, reinterpret_cast<HMENU>(IDC_CHILD), nullptr, nullptr);
    ASSERT_NE(hWndButton, nullptr);
    family.parent.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CHILD, BN_CLICKED), reinterpret_cast<LPARAM>(hWndButton));
    EXPECT_EQ(g_events, std::vector<std::string>{"parent:clicked"});
}

TEST(Reflection, NotificationsReachTheChildFirst) {
    struct Case {
        UINT code;
        LRESULT result;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {static_cast<UINT>(NM_CLICK), 5, {"child:nmclick 41"}},
        {static_cast<UINT>(NM_DBLCLK), 0, {"child:nmdblclk"}},                   // passed on; no parent entry
        {static_cast<UINT>(NM_RCLICK), 3, {"parent:nmrclick"}},                  // not reflected
    };
    for (const Case& c : cases) {
        Family family;
        CNotifyingChild child;
        ASSERT_TRUE(child.Create("n", WS_VISIBLE, CRect(0, 0, 30, 20), &family.parent, IDC_CHILD));
        NMHDR nmhdr = {child.m_hWnd, IDC_CHILD, c.code};
        EXPECT_EQ(family.parent.SendMessage(WM_NOTIFY, IDC_CHILD, reinterpret_cast<LPARAM>(&nmhdr)), c.result) << c.code;
        EXPECT_EQ(g_events, c.events) << c.code;
    }
}

// Colours itself; with no brush of its own leaves the colours to its parent.
class CColorStatic : public CStatic {
public:
    CBrush m_brush{RGB(1, 2, 3)};
    BOOL m_bOwnColors = TRUE;
    UINT m_nCtlColor = 99;

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
        m_nCtlColor = nCtlColor;
        if (!m_bOwnColors) return nullptr;
        pDC->SetTextColor(RGB(200, 0, 0));
        return m_brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColorStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// A parent that handles the colour messages itself and defers to the base.
class CColorParent : public CWnd {
public:
    std::vector<UINT> m_kinds;

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        m_kinds.push_back(nCtlColor);
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColorParent, CWnd)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

template <class TParent>
void CheckColorsReflected() {
    TParent parent;
    ASSERT_TRUE(classlib_test::CreateTopLevel(parent));
    CColorStatic child;
    ASSERT_TRUE(child.Create("c", WS_VISIBLE, CRect(0, 0, 30, 20), &parent, IDC_CHILD));
    CClientDC dc(&child);
    dc.SetTextColor(RGB(0, 0, 0));

    LRESULT lBrush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                        reinterpret_cast<LPARAM>(child.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(lBrush), static_cast<HBRUSH>(child.m_brush));
    EXPECT_EQ(dc.GetTextColor(), RGB(200, 0, 0));
    EXPECT_EQ(child.m_nCtlColor, static_cast<UINT>(CTLCOLOR_STATIC));

    parent.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(child.m_hWnd));
    EXPECT_EQ(child.m_nCtlColor, static_cast<UINT>(CTLCOLOR_EDIT));

    child.m_bOwnColors = FALSE;
    lBrush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                reinterpret_cast<LPARAM>(child.m_hWnd));
    EXPECT_NE(lBrush, 0) << "the parent's default colouring";
    EXPECT_NE(reinterpret_cast<HBRUSH>(lBrush), static_cast<HBRUSH>(child.m_brush));
}

TEST(Reflection, ControlColoursReachTheChild) {
    CheckColorsReflected<CWnd>();
    CheckColorsReflected<CColorParent>();
}

class COwnerDrawButton : public CButton {
public:
    int m_nDrawn = 0;
    UINT m_nLastAction = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override {
        ++m_nDrawn;
        m_nLastAction = lpDrawItemStruct->itemAction;
    }
};

TEST(Reflection, OwnerDrawingReachesTheControl) {
    CWnd parent;
    ASSERT_TRUE(classlib_test::CreateTopLevel(parent));
    COwnerDrawButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 40, 20), &parent, IDC_CHILD));

    // Straight from the parent's point of view.
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = IDC_CHILD;
    dis.itemAction = ODA_FOCUS;
    dis.hwndItem = button.m_hWnd;
    button.m_nDrawn = 0;
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, IDC_CHILD, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(button.m_nDrawn, 1);
    EXPECT_EQ(button.m_nLastAction, static_cast<UINT>(ODA_FOCUS));

    // And as the system asks when the button paints (printed into a memory DC: the windows stay
    // hidden).
    button.m_nDrawn = 0;
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    button.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.m_hDC), PRF_CLIENT);
    EXPECT_EQ(button.m_nDrawn, 1);
    EXPECT_EQ(button.m_nLastAction, static_cast<UINT>(ODA_DRAWENTIRE));
}

class CTallItemList : public CListBox {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override { lpMeasureItemStruct->itemHeight = 23; }
};

TEST(Reflection, ItemMeasuringReachesTheControlWhileItIsCreated) {
    CWnd parent;
    ASSERT_TRUE(classlib_test::CreateTopLevel(parent));
    CTallItemList list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, CRect(0, 0, 80, 100), &parent, IDC_CHILD));
    EXPECT_EQ(list.GetItemHeight(0), 23);
}

}  // namespace
