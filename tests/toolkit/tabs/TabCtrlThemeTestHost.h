// What the tab-control theme tests share: a hidden system tab control of three tabs and a theme
// made by the factory for a number, drawing without the visual style.
#pragma once

#include "TabTestHost.h"
#include "classlib/TabCtrl.h"
#include "toolkit/tabs/TabCtrlThemes.h"

#include <commctrl.h>

#include <memory>

namespace tabs_test {

inline const COLORREF kBack = RGB(255, 0, 255);   // the canvas where nothing was drawn

// A hidden parent and a system tab control of three tabs in it, the second selected.
class HiddenTabs {
public:
    explicit HiddenTabs(DWORD dwStyle, int nSelected = 1) {
        m_parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, CRect(0, 0, 320, 240), nullptr, 0);
        m_tab.Create(WS_CHILD | WS_VISIBLE | dwStyle, CRect(0, 0, 300, 200), &m_parent, 1);
        for (const char* psz : {"One", "Two", "Three"}) m_tab.InsertItem(m_tab.GetItemCount(), psz);
        m_tab.SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(nSelected));
    }
    ~HiddenTabs() { m_parent.DestroyWindow(); }
    HiddenTabs(const HiddenTabs&) = delete;
    HiddenTabs& operator=(const HiddenTabs&) = delete;
    CRect ItemRect(int nIndex) {
        CRect rc;
        m_tab.SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rc));
        return rc;
    }

    CWnd m_parent;
    CTabCtrl m_tab;
};

inline std::unique_ptr<CKLTabBaseTheme> MakeTheme(int nTheme) {
    CKLTabBaseThemeFactory factory;
    std::unique_ptr<CKLTabBaseTheme> pTheme(static_cast<CKLTabBaseTheme*>(factory.CreateTheme(nTheme)));
    pTheme->RefreshMetrics();
    pTheme->m_bUseVisualStyles = FALSE;
    return pTheme;
}

// The second tab of a hidden control of the style (several rows allowed) drawn alone by the
// theme; its rectangle goes to *prc.
inline std::unique_ptr<Canvas> DrawSecondTab(CKLTabBaseTheme* pTheme, DWORD dwStyle, BOOL bSelected, CRect* prc) {
    HiddenTabs tabs(dwStyle | TCS_MULTILINE);
    *prc = tabs.ItemRect(1);
    auto pCanvas = std::make_unique<Canvas>(kBack);
    pTheme->DrawTab(&pCanvas->m_dc, &tabs.m_tab, *prc, bSelected);
    return pCanvas;
}

}  // namespace tabs_test
