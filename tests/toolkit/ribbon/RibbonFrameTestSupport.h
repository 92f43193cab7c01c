// A hidden MDI frame with command bars in theme 6 whose menu bar is a ribbon, and a site that
// records the ribbon's notifications and may cancel a tab change.
#pragma once

#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/frame/MDIFrameWnd.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonControls.h"
#include "toolkit/ribbon/RibbonTab.h"

#include <set>
#include <vector>

namespace ribbon_test {

class CRibbonFrame : public CKLVMDIFrameWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        // System commands are recorded instead of carried out (a close would end the frame).
        if (message == WM_SYSCOMMAND) {
            m_sysCommands.push_back(static_cast<UINT>(wParam));
            return 0;
        }
        // Watched messages (a system menu would track modally) are recorded and answered 0.
        if (m_watched.count(message)) {
            m_recorded.push_back({message, wParam, lParam});
            return 0;
        }
        if (message == CKLVControl::msgControlNotify) {
            const auto* pNM = reinterpret_cast<NMHDR*>(lParam);
            const int nCode = static_cast<int>(pNM->code);
            if (nCode == CKLVRibbonControlTab::codeTabChanging || nCode == CKLVRibbonControlTab::codeTabChanged) {
                const auto* pTabNM = reinterpret_cast<const NMKLVRIBBONTAB*>(pNM);
                m_notifications.push_back({nCode, pTabNM->pTab, m_pRibbon ? m_pRibbon->GetSelectedTab() : nullptr});
                return nCode == CKLVRibbonControlTab::codeTabChanging && m_bCancelChanging;
            }
        }
        return CKLVMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
    struct Notification {
        int nCode;
        CKLVRibbonTab* pTab;
        CKLVRibbonTab* pSelectedThen;
    };
    std::vector<Notification> m_notifications;
    std::vector<UINT> m_sysCommands;
    struct Recorded {
        UINT nMessage;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::set<UINT> m_watched;
    std::vector<Recorded> m_recorded;
    BOOL m_bCancelChanging = FALSE;
    CKLVRibbonBar* m_pRibbon = nullptr;
};

class CRibbonFrameFixture {
public:
    CRibbonFrameFixture() {
        CKLVCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CKLVRibbonBar);
        m_pFrame->InitCommandBars();
        m_pFrame->LoadFrame(128, WS_OVERLAPPEDWINDOW);
        m_pFrame->MoveWindow(0, 0, 600, 400);
        m_hFrame = m_pFrame->GetSafeHwnd();
        m_pCommandBars = m_pFrame->GetCommandBars();
        // The theme measures as it does once it is in force: fonts, control and tab heights.
        CKLVPaintManager* pTheme = CKLVPaintManager::CreateThemeObject(6);
        pTheme->RefreshMetrics();
        m_pCommandBars->SetPaintManager(pTheme);
        m_pCommandBars->EnableDocking();
        m_pCommandBars->GetOptions()->animateType = CKLVPopupBar::animateNone;
        m_pRibbon = static_cast<CKLVRibbonBar*>(m_pCommandBars->SetMenu("Ribbon", 0));
        m_pFrame->m_pRibbon = m_pRibbon;
    }
    ~CRibbonFrameFixture() {
        KLVMouseHook()->CloseAllTrackedPopups();
        CKLVCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CKLVMenuBar);
        if (::IsWindow(m_hFrame)) m_pFrame->DestroyWindow();
    }
    CRibbonFrameFixture(const CRibbonFrameFixture&) = delete;
    CRibbonFrameFixture& operator=(const CRibbonFrameFixture&) = delete;

    // Buttons with the ids from the first on, captioned when a caption is given, put on the
    // quick access tool bar.
    std::vector<CKLVControl*> AddQuickAccessButtons(int nCount, int nFirstId, LPCTSTR lpszCaption = nullptr) const {
        std::vector<CKLVControl*> buttons;
        for (int i = 0; i < nCount; ++i) {
            auto* pButton = new CKLVControlButton;
            pButton->m_nId = nFirstId + i;
            if (lpszCaption) pButton->SetCaption(lpszCaption);
            buttons.push_back(m_pRibbon->GetQuickAccessControls()->Append(pButton));
        }
        return buttons;
    }

    // Lays the ribbon out at the width and answers its height.
    int Layout(int nWidth) const {
        return m_pRibbon->CalcDynamicLayout(nWidth, CKLVControls::modeHorz | CKLVControls::modeCommit).cy;
    }

    CRibbonFrame* m_pFrame = new CRibbonFrame;
    HWND m_hFrame = nullptr;
    CKLVCommandBars* m_pCommandBars = nullptr;
    CKLVRibbonBar* m_pRibbon = nullptr;
};

// The frame's ribbon with the tabs Home, Insert and View, none selected yet.
struct CRibbonThreeTabsFixture : CRibbonFrameFixture {
    CRibbonThreeTabsFixture() {
        for (LPCTSTR lpszCaption : {"Home", "Insert", "View"}) tabs.push_back(m_pRibbon->AddTab(lpszCaption));
        pTabs = m_pRibbon->GetControlTab();
    }
    std::vector<CKLVRibbonTab*> tabs;
    CKLVRibbonControlTab* pTabs = nullptr;
};

}  // namespace ribbon_test
