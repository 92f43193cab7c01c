// An MDI frame built as the application builds its main frame, with command bars, a menu bar of
// menu 129 and MDI children standing for documents of a template; hidden unless a test shows it.
#pragma once

#include "PopupBarTestSupport.h"
#include "classlib/MDIFrameWnd.h"
#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/MenuBar.h"
#include "toolkit/commandbars/frame/MDIFrameWnd.h"

#include <vector>

namespace commandbars_test {

// The menu bar with its frame hook open to the tests.
class CTestMenuBarHook : public CKLVMenuBar {
    DECLARE_DYNCREATE(CTestMenuBarHook)
public:
    using CKLVMenuBar::OnFrameMessage;
};

// Records the commands it receives.
class CMenuFrame : public CKLVMDIFrameWnd {
public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (nCode == CN_COMMAND && !pHandlerInfo && nID >= 100 && nID < 0xE800) {
            m_commands.push_back(nID);
            return TRUE;
        }
        // The frame offers help (F1 is answered by WM_COMMANDHELP).
        if (nCode == CN_COMMAND && pHandlerInfo && nID == CKLVCommandBars::idHelpCommand) return TRUE;
        return CKLVMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    // Counts the context menus offered over the bars; may empty them. Records the codes the
    // controls notify.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CKLVControl::msgControlNotify) m_notifications.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
        if (message == WM_COMMANDHELP) {
            m_helpRequests.push_back(lParam);
            return TRUE;
        }
        if (message == CKLVCommandBars::msgToolBarContextMenu) {
            ++m_nContextMenus;
            if (m_bEmptyContextMenu) reinterpret_cast<CKLVCommandBar*>(lParam)->GetControls()->RemoveAll();
            return 0;
        }
        return CKLVMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> m_commands;
    std::vector<UINT> m_notifications;
    std::vector<LPARAM> m_helpRequests;
    int m_nContextMenus = 0;
    BOOL m_bEmptyContextMenu = FALSE;
};

class CMenuFrameFixture {
public:
    // The command bars of the class (the toolkit's for null).
    explicit CMenuFrameFixture(CRuntimeClass* pCommandBarsClass = nullptr) {
        CKLVFlatTestTheme::Register();
        CKLVCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CTestMenuBarHook);
        m_pFrame->InitCommandBars(pCommandBarsClass);
        m_pFrame->LoadFrame(128, WS_OVERLAPPEDWINDOW);
        m_pFrame->MoveWindow(0, 0, 600, 400);
        m_hFrame = m_pFrame->GetSafeHwnd();
        m_pCommandBars = m_pFrame->GetCommandBars();
        m_pCommandBars->EnableDocking();
        CKLVCommandBarsOptions* pOptions = m_pCommandBars->GetOptions();
        pOptions->animateType = CKLVPopupBar::animateNone;
        pOptions->bDisableCommandsWithoutHandler = FALSE;
        m_pMenuBar = static_cast<CTestMenuBarHook*>(m_pCommandBars->SetMenu("Menu Bar", 129));
    }
    ~CMenuFrameFixture() {
        KLVMouseHook()->CloseAllTrackedPopups();
        CKLVCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CKLVMenuBar);
        if (::IsWindow(m_hFrame)) m_pFrame->DestroyWindow();
    }
    CMenuFrameFixture(const CMenuFrameFixture&) = delete;
    CMenuFrameFixture& operator=(const CMenuFrameFixture&) = delete;

    // A child standing for a document of the template with the id.
    CMDIChildWnd* AddChild(UINT nTemplateId, DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW) {
        auto* pChild = new CMDIChildWnd;
        pChild->m_nIDHelp = nTemplateId;
        pChild->Create(nullptr, "document", dwStyle, CFrameWnd::rectDefault, m_pFrame);
        return pChild;
    }
    // Runs the refreshes the menu bar posted itself.
    void RunPostedTimers() const {
        MSG msg;
        while (::PeekMessageA(&msg, m_pMenuBar->GetSafeHwnd(), WM_TIMER, WM_TIMER, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (int i = 0; i < m_pMenuBar->GetControlCount(); ++i) ids.push_back(m_pMenuBar->GetControl(i)->GetId());
        return ids;
    }

    // A new tool bar at the top holding the control (the bar owns it) with the id.
    template <class TControl>
    TControl* AddOnNewBar(LPCTSTR lpszTitle, TControl* pControl, int nId) {
        m_pLastBar = m_pCommandBars->Add(lpszTitle, CKLVCommandBar::barTop);
        m_pLastBar->GetControls()->Add(pControl, nId);
        return pControl;
    }

    CMenuFrame* m_pFrame = new CMenuFrame;
    CKLVCommandBar* m_pLastBar = nullptr;
    HWND m_hFrame = nullptr;
    CKLVCommandBars* m_pCommandBars = nullptr;
    CTestMenuBarHook* m_pMenuBar = nullptr;
};

}  // namespace commandbars_test
