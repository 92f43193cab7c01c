// Popup bars on an injected work area, bound to command bars whose site records the popup
// messages, with animation off; the keyboard state with a key held for a scope.
#pragma once

#include "ControlTestSupport.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/popups/PopupBar.h"

#include <vector>

namespace commandbars_test {

class CWorkAreaPopup : public CKLVPopupBar {
public:
    void GetMonitorAreas(const CRect&, CPoint, CRect& rcWork, CRect& rcMonitor) const override {
        rcWork = m_rcWork;
        rcMonitor = m_rcMonitor.IsRectNull() ? m_rcWork : m_rcMonitor;
    }
    CRect m_rcWork = CRect(0, 0, 800, 600);
    CRect m_rcMonitor;
};

// Records the messages popups send their site.
class CPopupSite : public CTestSite {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CKLVPopupBar::msgPopupOpening || message == CKLVPopupBar::msgPopupClosed ||
            message == CKLVPopupBar::msgTornOff)
            m_popupMessages.push_back(message);
        if (message == WM_COMMAND) m_commands.push_back(LOWORD(wParam));
        return CTestSite::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> m_popupMessages;
    std::vector<UINT> m_commands;
};

// Command bars with the test theme, no animation and commands left enabled without handlers.
class CPopupCommandBars {
public:
    explicit CPopupCommandBars(CWnd* pSite) {
        CKLVFlatTestTheme::Register();
        m_pCommandBars->SetSite(pSite);
        CKLVCommandBarsOptions* pOptions = m_pCommandBars->GetOptions();
        pOptions->animateType = CKLVPopupBar::animateNone;
        pOptions->bDisableCommandsWithoutHandler = FALSE;
    }
    ~CPopupCommandBars() {
        KLVMouseHook()->CloseAllTrackedPopups();
        m_pCommandBars->InternalRelease();
    }
    CPopupCommandBars(const CPopupCommandBars&) = delete;
    CPopupCommandBars& operator=(const CPopupCommandBars&) = delete;
    CKLVCommandBars* operator->() const { return m_pCommandBars; }
    CKLVCommandBars* Get() const { return m_pCommandBars; }

    // A popup bound to these command bars; the caller releases it.
    template <class TPopup = CWorkAreaPopup>
    TPopup* MakePopup(std::initializer_list<int> ids) const {
        auto* pPopup = new TPopup;
        pPopup->m_pCommandBars = m_pCommandBars;
        pPopup->m_pLink = m_pCommandBars;
        for (int nId : ids) {
            CKLVControl* pControl = pPopup->GetControls()->Add(CKLVControl::typeButton, nId);
            CString strCaption;
            strCaption.Format("Command %d", nId);
            pControl->SetCaption(strCaption);
        }
        return pPopup;
    }

private:
    CKLVCommandBars* m_pCommandBars = new CKLVCommandBars;
};

// Holds a key down in the thread's keyboard state for a scope.
class CHeldKey {
public:
    explicit CHeldKey(int nKey) {
        ::GetKeyboardState(m_saved);
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[nKey] = 0x80;
        ::SetKeyboardState(keys);
    }
    ~CHeldKey() { ::SetKeyboardState(m_saved); }
    CHeldKey(const CHeldKey&) = delete;
    CHeldKey& operator=(const CHeldKey&) = delete;

private:
    BYTE m_saved[256];
};

}  // namespace commandbars_test
