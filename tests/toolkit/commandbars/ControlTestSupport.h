// Hidden bars and a site window that records what the controls send, and buttons of a fixed size
// for the layout tests.
#pragma once

#include "paint/PaintManagerTestSupport.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/popups/PopupBar.h"

#include <vector>

namespace commandbars_test {

class CFixedControl : public CKLVControlButton {
public:
    explicit CFixedControl(CSize sz = CSize(20, 20)) : m_sz(sz) {}
    CSize GetSize(CDC*) override { return m_sz; }
    CSize m_sz;
};

// Records the control messages; answers 0x2862 when told to, and may supply a control or a bar.
class CTestSite : public CWnd {
public:
    CTestSite() { CreateEx(0, AfxRegisterWndClass(0), "site", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0); }
    ~CTestSite() override { DestroyWindow(); }
    int Count(UINT message) const {
        int n = 0;
        for (UINT m : m_messages) n += m == message;
        return n;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_COMMAND:
        case CKLVControl::msgControlNotify:
        case CKLVControls::msgCreateCommandBar:
        case CKLVControls::msgControlCreated: m_messages.push_back(message); break;
        case CKLVControls::msgCreateControl: {
            m_messages.push_back(message);
            auto* pCreate = reinterpret_cast<KLVCREATECONTROLSTRUCT*>(lParam);
            if (!m_pSupplied || pCreate->nId != m_nSupplyFor) break;
            pCreate->pControl = m_pSupplied;
            m_pSupplied = nullptr;
            return TRUE;
        }
        default: break;
        }
        if (message == CKLVControl::msgControlNotify) return m_bAnswerNotify;
        return CWnd::WindowProc(message, wParam, lParam);
    }

    std::vector<UINT> m_messages;
    BOOL m_bAnswerNotify = FALSE;
    CKLVControl* m_pSupplied = nullptr;
    int m_nSupplyFor = 0;
};

// A hidden bar window whose site is the test site.
template <class TBar = CKLVCommandBar>
class CTestBar : public TBar {
public:
    CTestBar(CTestSite* pSite, int nType = CKLVCommandBar::barTypeNormal) {
        this->m_pOwner = pSite;
        this->m_barType = nType;
        this->CreateEx(0, AfxRegisterWndClass(0), "bar", WS_POPUP, CRect(0, 0, 200, 40), nullptr, 0);
    }
    ~CTestBar() override { this->DestroyWindow(); }
};

}  // namespace commandbars_test
