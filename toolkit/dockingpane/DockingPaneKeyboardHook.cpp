#include "toolkit/dockingpane/DockingPaneKeyboardHook.h"

#include "classlib/WinApp.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneWindowSelect.h"

#include <memory>
#include <vector>

namespace {

BOOL IsKeyDown(int nKey) { return (::GetKeyState(nKey) & 0x8000) != 0; }

}  // namespace

CKLVDockingPaneKeyboardHook* CKLVDockingPaneKeyboardHook::GetInstance() {
    static std::unique_ptr<CKLVDockingPaneKeyboardHook> s_pHook(new CKLVDockingPaneKeyboardHook);
    return s_pHook.get();
}

CKLVDockingPaneKeyboardHook::CKLVDockingPaneKeyboardHook() : m_mapManagers(10) { m_mapManagers.InitHashTable(17); }

void CKLVDockingPaneKeyboardHook::SetupKeyboardHook(CKLVDockingPaneManager* pManager, BOOL bEnable) {
    if (!pManager) return;
    if (!bEnable) {
        RemoveManager(pManager);
        return;
    }
    const HWND hSite = AfxGetSafeHwnd(pManager->GetSite());
    CKLVDockingPaneManager* pKnown = nullptr;
    if (!hSite || m_mapManagers.Lookup(hSite, pKnown)) return;
    if (!m_hHook) m_hHook = ::SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, AfxGetInstanceHandle(), ::GetCurrentThreadId());
    m_mapManagers.SetAt(hSite, pManager);
}

void CKLVDockingPaneKeyboardHook::RemoveManager(CKLVDockingPaneManager* pManager) {
    // By the manager, not by its site: the site window may be gone already.
    std::vector<HWND> sites;
    for (POSITION pos = m_mapManagers.GetStartPosition(); pos;) {
        HWND hSite = nullptr;
        CKLVDockingPaneManager* pMapped = nullptr;
        m_mapManagers.GetNextAssoc(pos, hSite, pMapped);
        if (pMapped == pManager) sites.push_back(hSite);
    }
    for (HWND hSite : sites) m_mapManagers.RemoveKey(hSite);
    if (m_mapManagers.IsEmpty() && m_hHook) {
        ::UnhookWindowsHookEx(m_hHook);
        m_hHook = nullptr;
    }
}

CKLVDockingPaneManager* CKLVDockingPaneKeyboardHook::FindFocusedManager() const {
    for (HWND hWnd = ::GetFocus(); hWnd; hWnd = ::GetParent(hWnd)) {
        CKLVDockingPaneManager* pManager = nullptr;
        if (m_mapManagers.Lookup(hWnd, pManager))
            return ::IsWindowEnabled(AfxGetSafeHwnd(pManager->GetSite())) ? pManager : nullptr;
        if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) continue;
        // A top-level window ends the search; a floating frame answers for its manager.
        if (!(::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) return nullptr;
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (!pWnd || !pWnd->IsKindOf(RUNTIME_CLASS(CKLVDockingPaneMiniWnd))) return nullptr;
        return static_cast<CKLVDockingPaneMiniWnd*>(pWnd)->GetManager();
    }
    return nullptr;
}

LRESULT CALLBACK CKLVDockingPaneKeyboardHook::KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam) {
    CKLVDockingPaneKeyboardHook* pHook = GetInstance();
    // Key-down transitions only.
    if (nCode == HC_ACTION && !(lParam & 0x80000000)) {
        if (const LRESULT lEaten = pHook->OnKeyDown(static_cast<UINT>(wParam), lParam)) return lEaten;
    }
    return ::CallNextHookEx(pHook->m_hHook, nCode, wParam, lParam);
}

LRESULT CKLVDockingPaneKeyboardHook::OnKeyDown(UINT nKey, LPARAM lKeyData) {
    const BOOL bAlt = (lKeyData & (1 << 29)) != 0;
    const BOOL bCtrl = IsKeyDown(VK_CONTROL);
    const BOOL bShift = IsKeyDown(VK_SHIFT);
    if (nKey == VK_TAB && bCtrl && !bAlt) return ShowSelector(navigateSelector, FALSE);
    if (nKey == VK_F7 && bAlt && !bCtrl) return ShowSelector(navigateSelectPanes, TRUE);
    if (!bAlt || bCtrl) return 0;
    if (nKey == VK_F6) {
        CKLVDockingPaneManager* pManager = FindFocusedManager();
        if (!pManager || !(pManager->m_nKeyboardNavigateMask & navigateWindows)) return 0;
        pManager->GetSite()->PostMessage(WM_SYSCOMMAND, bShift ? SC_PREVWINDOW : SC_NEXTWINDOW, 0);
        return 1;
    }
    if ((nKey == VK_OEM_MINUS || nKey == VK_SUBTRACT) && !bShift) {
        CKLVDockingPaneManager* pManager = FindFocusedManager();
        if (!pManager || !(pManager->m_nKeyboardNavigateMask & navigatePaneMenu)) return 0;
        CKLVDockingPane* pPane = pManager->GetActivePane();
        if (!pPane) return 0;
        // A closed or hidden pane has no menu to open; the key is only eaten.
        if (!pPane->IsClosed() && !pPane->IsHidden()) pManager->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, '-');
        return 1;
    }
    return 0;
}

LRESULT CKLVDockingPaneKeyboardHook::ShowSelector(int nFlag, BOOL bSelectPanes) {
    if (m_pShownSelector) {
        m_pShownSelector->HandleKey(VK_TAB, 0);
        return 1;
    }
    CKLVDockingPaneManager* pManager = FindFocusedManager();
    if (!pManager || !(pManager->m_nKeyboardNavigateMask & nFlag)) return 0;
    CRuntimeClass* pClass = pManager->m_pWindowSelectClass ? pManager->m_pWindowSelectClass
                                                           : RUNTIME_CLASS(CKLVDockingPaneWindowSelect);
    std::unique_ptr<CObject> pObject(pClass->CreateObject());
    auto* pSelector = dynamic_cast<CKLVDockingPaneWindowSelect*>(pObject.get());
    if (!pSelector) return 0;
    pSelector->m_pManager = pManager;
    pSelector->m_bSelectPanes = bSelectPanes;
    m_pShownSelector = pSelector;
    const BOOL bShown = pSelector->Show();
    m_pShownSelector = nullptr;
    return bShown ? 1 : 0;
}
