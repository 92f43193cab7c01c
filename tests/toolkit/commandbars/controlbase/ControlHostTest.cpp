// The control base reaches bars only through their host face: the bar a submenu gets (the one the
// site supplies, one of the popup bar class the site names, else a plain popup bar of the class the
// bars registered), and the bar a popup control opens, seen as itself through its host.
#include "classlib/Menu.h"
#include "toolkit/commandbars/controlbase/ControlHost.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/ToolBar.h"

#include <gtest/gtest.h>

namespace {

// Answers the question which bar a submenu gets as the row asks.
class CBarChoosingSite : public CWnd {
public:
    CBarChoosingSite() { CreateEx(0, AfxRegisterWndClass(0), "site", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0); }
    ~CBarChoosingSite() override { DestroyWindow(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != CKLVControls::msgCreateCommandBar) return CWnd::WindowProc(message, wParam, lParam);
        auto* pCreate = reinterpret_cast<KLVCREATEBARSTRUCT*>(lParam);
        pCreate->pCommandBar = m_pSupplied;
        pCreate->pBarClass = m_pNamedClass;
        return m_bAnswer;
    }
    BOOL m_bAnswer = FALSE;
    CKLVCommandBar* m_pSupplied = nullptr;
    CRuntimeClass* m_pNamedClass = nullptr;
};

// A hidden bar whose site is the given window.
class CSitedBar : public CKLVCommandBar {
public:
    explicit CSitedBar(CWnd* pSite) {
        m_pOwner = pSite;
        CreateEx(0, AfxRegisterWndClass(0), "bar", WS_POPUP, CRect(0, 0, 200, 40), nullptr, 0);
    }
    ~CSitedBar() override { DestroyWindow(); }
};

// The submenu's bar after the one-item menu is loaded into the controls.
CKLVCommandBar* LoadSubmenuBar(CKLVControls* pControls) {
    CMenu menu, sub;
    menu.CreatePopupMenu();
    sub.CreatePopupMenu();
    ::AppendMenuA(sub.GetSafeHmenu(), MF_STRING, 10, "&Open");
    ::AppendMenuA(menu.GetSafeHmenu(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "&File");
    if (!pControls->LoadMenu(&menu) || pControls->GetCount() != 1) return nullptr;
    return pControls->GetAt(0)->GetCommandBar();
}

TEST(ControlHost, ASubmenuGetsTheSitesBarItsNamedPopupClassOrAPlainPopupBar) {
    struct Case {
        const char* pszName;
        BOOL bSited;
        BOOL bAnswer;
        BOOL bSupply;
        CRuntimeClass* pNamedClass;
        CRuntimeClass* pExpectedClass;
    };
    const Case cases[] = {
        {"no bar, so no site to ask", FALSE, FALSE, FALSE, nullptr, RUNTIME_CLASS(CKLVPopupBar)},
        {"a site that does not answer", TRUE, FALSE, FALSE, nullptr, RUNTIME_CLASS(CKLVPopupBar)},
        {"a site's own bar", TRUE, TRUE, TRUE, nullptr, RUNTIME_CLASS(CKLVPopupToolBar)},
        {"a popup bar class the site names", TRUE, TRUE, FALSE, RUNTIME_CLASS(CKLVPopupToolBar),
         RUNTIME_CLASS(CKLVPopupToolBar)},
        {"a named class that is no popup bar", TRUE, TRUE, FALSE, RUNTIME_CLASS(CKLVToolBar),
         RUNTIME_CLASS(CKLVPopupBar)},
    };
    for (const Case& c : cases) {
        CBarChoosingSite site;
        site.m_bAnswer = c.bAnswer;
        site.m_pNamedClass = c.pNamedClass;
        CKLVPopupToolBar* pSupplied = c.bSupply ? new CKLVPopupToolBar : nullptr;
        site.m_pSupplied = pSupplied;
        CSitedBar bar(&site);
        CKLVControls unparented;
        CKLVControls* pControls = c.bSited ? bar.GetControls() : &unparented;

        CKLVCommandBar* pSubmenuBar = LoadSubmenuBar(pControls);
        ASSERT_NE(pSubmenuBar, nullptr) << c.pszName;
        EXPECT_EQ(pSubmenuBar->GetRuntimeClass(), c.pExpectedClass) << c.pszName;
        if (pSupplied) {
            EXPECT_EQ(pSubmenuBar, pSupplied) << c.pszName;
        }
        EXPECT_EQ(pSubmenuBar->GetTitle(), "&File") << c.pszName;
        ASSERT_EQ(pSubmenuBar->GetControlCount(), 1) << c.pszName;
        EXPECT_EQ(pSubmenuBar->GetControl(0)->GetId(), 10) << c.pszName;
        pControls->RemoveAll();
    }
}

TEST(ControlHost, EveryBarIsItselfThroughItsHost) {
    CKLVToolBar toolBar;
    CKLVPopupBar popupBar;
    CKLVControlPopup opener;
    popupBar.m_pControlPopup = &opener;
    EXPECT_EQ(CKLVControlHost::Of(nullptr), nullptr);
    for (CKLVCommandBar* pBar : {static_cast<CKLVCommandBar*>(&toolBar), static_cast<CKLVCommandBar*>(&popupBar)}) {
        CKLVControlHost* pHost = CKLVControlHost::Of(pBar);
        ASSERT_NE(pHost, nullptr);
        EXPECT_EQ(pHost->AsCommandBar(), pBar);
        EXPECT_EQ(pHost->AsWnd(), static_cast<CWnd*>(pBar));
        EXPECT_EQ(pHost->IsPopupBar(), pBar == &popupBar);
        EXPECT_EQ(pHost->GetOpeningControl(), pBar == &popupBar ? &opener : nullptr);
    }
    popupBar.m_pControlPopup = nullptr;
}

}  // namespace
