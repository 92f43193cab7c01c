#include "toolkit/commandbars/MenuBar.h"

#include "classlib/MDIFrameWnd.h"
#include "classlib/Menu.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/MenuBarControls.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/StartupRegistrations.h"
#include "toolkit/common/WindowSubclasser.h"

KLV_IMPLEMENT_SERIAL(CKLVMenuBar, CKLVToolBar)

BEGIN_MESSAGE_MAP(CKLVMenuBar, CKLVToolBar)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CKLVMenuBar::CKLVMenuBar() : m_pTemplateMenus(new CKLVMenuBarTemplateMenus(this)) {
    m_barType = barTypeMenuBar;
    m_nBarID = 1;
    m_nFlags = defaultFlags;
    m_bShowOptionsButton = FALSE;
    m_bCloseable = FALSE;
    m_pTemplateMenus->InitHashTable(17);
}

CKLVMenuBar::~CKLVMenuBar() {
    UnhookAll();
    delete m_pTemplateMenus;
    if (m_hFrameMenu) ::DestroyMenu(m_hFrameMenu);
}

BOOL CKLVMenuBar::LoadMenuBar(UINT nMenuId) {
    if (nMenuId != 0) {
        CMenu menu;
        if (!KLVResourceManager()->LoadMenu(&menu, nMenuId) || !LoadMenu(&menu, TRUE)) return FALSE;
        m_nMenuId = m_nCurrentTemplateId = nMenuId;
    }
    SetupHook();
    static const UINT kSysCommands[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
    GetImageManager()->SetIcons(idMdiBitmap, kSysCommands, 4, CSize(16, 16));
    if (CWnd* pSite = GetSite()) {
        if (pSite->GetSafeHwnd()) {
            HMENU hMenu = ::GetMenu(pSite->GetSafeHwnd());
            if (hMenu && hMenu != m_hFrameMenu) {
                if (m_hFrameMenu) ::DestroyMenu(m_hFrameMenu);
                m_hFrameMenu = hMenu;
            }
            ::SetMenu(pSite->GetSafeHwnd(), nullptr);
        }
    }
    return TRUE;
}

void CKLVMenuBar::SetupHook() {
    UnhookAll();
    CWnd* pSite = GetSite();
    if (!pSite || !pSite->GetSafeHwnd()) return;
    m_pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pSite);
    m_hwndHookedFrame = pSite->GetSafeHwnd();
    KLVWindowSubclasser()->HookWindow(m_hwndHookedFrame, &m_frameHook);
    if (m_pMDIFrame && m_pMDIFrame->m_hWndMDIClient) {
        m_hwndHookedClient = m_pMDIFrame->m_hWndMDIClient;
        KLVWindowSubclasser()->HookWindow(m_hwndHookedClient, &m_frameHook);
    }
}

void CKLVMenuBar::UnhookAll() {
    KLVWindowSubclasser()->RemoveSink(&m_frameHook);
    m_hwndHookedFrame = m_hwndHookedClient = m_hwndHookedChild = nullptr;
}

HWND CKLVMenuBar::GetActiveMdiChild(BOOL* pbMaximized) const {
    if (pbMaximized) *pbMaximized = FALSE;
    if (!m_pMDIFrame || !m_pMDIFrame->m_hWndMDIClient) return nullptr;
    BOOL bMaximized = FALSE;
    HWND hChild = reinterpret_cast<HWND>(
        ::SendMessageA(m_pMDIFrame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&bMaximized)));
    if (pbMaximized) *pbMaximized = hChild && bMaximized;
    return hChild;
}

void CKLVMenuBar::RefreshMdiChildHook() {
    HWND hChild = GetActiveMdiChild();
    if (hChild == m_hwndHookedChild) return;
    if (m_hwndHookedChild && ::IsWindow(m_hwndHookedChild)) KLVWindowSubclasser()->UnhookWindow(m_hwndHookedChild, &m_frameHook);
    m_hwndHookedChild = hChild;
    if (hChild) KLVWindowSubclasser()->HookWindow(hChild, &m_frameHook);
}

void CKLVMenuBar::UpdateMdiButtons() {
    BOOL bMaximized = FALSE;
    HWND hChild = GetActiveMdiChild(&bMaximized);
    const DWORD dwStyle = hChild ? static_cast<DWORD>(::GetWindowLongPtrA(hChild, GWL_STYLE)) : 0;
    HMENU hSysMenu = bMaximized ? ::GetSystemMenu(hChild, FALSE) : nullptr;
    BOOL bChanged = UpdateMdiControl(idMdiSysMenu, bMaximized && (m_nFlags & flagShowSysMenu) && hSysMenu, hChild, hSysMenu);
    bChanged |= UpdateMdiControl(idMdiMinimize, bMaximized && (dwStyle & WS_MINIMIZEBOX) && !(m_nFlags & flagNoMinimize),
                                 hChild, nullptr);
    bChanged |= UpdateMdiControl(idMdiRestore, bMaximized && (dwStyle & WS_MAXIMIZEBOX) && !(m_nFlags & flagNoRestore),
                                 hChild, nullptr);
    bChanged |= UpdateMdiControl(idMdiClose, bMaximized && !(m_nFlags & flagNoClose), hChild, nullptr);
    if (bChanged) RelayoutAfterChange();
}

BOOL CKLVMenuBar::UpdateMdiControl(UINT nId, BOOL bWanted, HWND hChild, HMENU hSysMenu) {
    CKLVControl* pControl = nullptr;
    for (int i = 0; !pControl && i < GetControlCount(); ++i) {
        CKLVControl* pCandidate = GetControl(i);
        if (static_cast<UINT>(pCandidate->GetId()) == nId &&
            (pCandidate->IsKindOf(RUNTIME_CLASS(CKLVControlMDIButton)) ||
             pCandidate->IsKindOf(RUNTIME_CLASS(CKLVControlMDISysMenuPopup))))
            pControl = pCandidate;
    }
    if (!bWanted) {
        if (!pControl) return FALSE;
        m_pControls->Remove(pControl);
        return TRUE;
    }
    if (nId == idMdiSysMenu) {
        // Another child or system menu rebuilds the popup in place: same size, only a redraw.
        auto* pSysMenu = static_cast<CKLVControlMDISysMenuPopup*>(pControl);
        if (pSysMenu && pSysMenu->IsBuiltFrom(hChild, hSysMenu)) return FALSE;
        const BOOL bAdded = !pSysMenu;
        if (bAdded) {
            pSysMenu = new CKLVControlMDISysMenuPopup;
            m_pControls->InsertAt(pSysMenu, 0);
        }
        pSysMenu->Build(hChild, hSysMenu);
        if (!bAdded) DelayRedraw();
        return bAdded;
    }
    if (pControl) return FALSE;
    m_pControls->Append(new CKLVControlMDIButton(nId));
    return TRUE;
}

void CKLVMenuBar::RelayoutAfterChange() {
    m_nSelected = m_nPopuped = -1;
    OnRecalcLayout();
    if (CKLVCommandBarsLink* pCommandBars = GetOwnerLink()) pCommandBars->RecalcFrameLayout(TRUE);
}

void CKLVMenuBar::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == timerMdiButtons) {
        RefreshMdiChildHook();
        if (IsVisible()) UpdateMdiButtons();
    }
    CKLVToolBar::OnTimer(nIDEvent);
}

int CKLVMenuBar::CFrameHookSink::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                               LRESULT& lResult) {
    return m_pBar->OnFrameMessage(hWnd, nMessage, wParam, lParam, lResult);
}

int CKLVMenuBar::OnFrameMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (nMessage) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0 && OnMenuKey()) {
            lResult = 0;
            return CKLVHookSink::hookHandled;
        }
        break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        if (hWnd == m_hwndHookedChild && GetSafeHwnd()) PostMessage(WM_TIMER, timerMdiButtons);
        break;
    case WM_MDICREATE:
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
        if (hWnd == m_hwndHookedClient && GetSafeHwnd()) PostMessage(WM_TIMER, timerMdiButtons);
        break;
    case WM_MDISETMENU: {
        if (hWnd != m_hwndHookedClient) break;
        BOOL bHandled = FALSE;
        lResult = OnMdiSetMenu(hWnd, nMessage, wParam, lParam, bHandled);
        if (bHandled) return CKLVHookSink::hookHandled;
        break;
    }
    default: break;
    }
    return CKLVHookSink::hookContinue;
}

BOOL CKLVMenuBar::IsMenuKeyAllowed() const {
    // The bar's own visibility: a frame that is not shown yet still has its menu key.
    return GetCommandBars() && GetSafeHwnd() && (GetStyle() & WS_VISIBLE) && KLVMouseHook()->m_nLock <= 0 &&
           ::GetKeyState(VK_SHIFT) >= 0 && !IsCustomizeMode();
}

BOOL CKLVMenuBar::OnMenuKey() {
    if (!IsMenuKeyAllowed()) return FALSE;
    GetOwnerLink()->SetTrackingBar(this, 0);
    return TRUE;
}

LRESULT CKLVMenuBar::OnMdiSetMenu(HWND, UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
    CWnd* pSite = GetSite();
    const HWND hFrame = pSite ? pSite->GetSafeHwnd() : nullptr;
    if (!IsVisible()) {
        // A hidden bar leaves the frame its menu, unless the frame has none now.
        bHandled = hFrame && !::GetMenu(hFrame);
        return 0;
    }
    bHandled = TRUE;
    if (!IsCustomizeMode() && !(m_nFlags & flagKeepFrameMenu))
        OnFrameMenuChange(wParam ? reinterpret_cast<HMENU>(wParam) : m_hFrameMenu);
    if (hFrame) ::SetMenu(hFrame, nullptr);
    if (!IsCustomizeMode()) {
        RefreshMdiChildHook();
        UpdateMdiButtons();
    }
    return 0;
}

void CKLVMenuBar::ResetToolBar(BOOL bAsk) {
    if (m_pControls->GetOriginalControls()) {
        CKLVToolBar::ResetToolBar(bAsk);
    } else if (m_nCurrentTemplateId != 0) {
        if (bAsk && !ConfirmReset()) return;
        CMenu menu;
        if (KLVResourceManager()->LoadMenu(&menu, m_nCurrentTemplateId)) LoadMenu(&menu, TRUE);
        CWnd* pSite = GetSite();
        if (pSite && pSite->GetSafeHwnd()) pSite->SendMessage(msgToolBarReset, 0, reinterpret_cast<LPARAM>(this));
    }
    RefreshMdiChildHook();
    if (IsVisible()) UpdateMdiButtons();
    OnIdleUpdate(TRUE, FALSE);
    OnRecalcLayout();
}

BOOL CKLVMenuBar::IsResetAvailable() {
    if (!IsCustomizable()) return FALSE;
    BOOL bChanged = FALSE;
    if (m_pTemplateMenus->GetCount() > 0) {
        if (m_nCurrentTemplateId != m_nMenuId) SwitchMenu(m_nMenuId, nullptr);
        m_bTemplateMenusCompared = TRUE;
        POSITION pos = m_pTemplateMenus->GetStartPosition();
        while (pos) {
            UINT nId = 0;
            CKLVMenuBarTemplateMenu* pMenu = nullptr;
            m_pTemplateMenus->GetNextAssoc(pos, nId, pMenu);
            pMenu->m_bChanged = pMenu->m_pControls->IsChanged();
            bChanged |= pMenu->m_bChanged;
        }
    }
    return bChanged || !m_pControls->GetOriginalControls() || m_pControls->IsChanged();
}

void CKLVMenuBar::Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive) {
    CKLVToolBar::Copy(pCommandBar, bRecursive);
    auto* pMenuBar = DYNAMIC_DOWNCAST(CKLVMenuBar, pCommandBar);
    if (!pMenuBar) return;
    m_nMenuId = pMenuBar->m_nMenuId;
    m_pTemplateMenus->RemoveAllMenus();
    POSITION pos = pMenuBar->m_pTemplateMenus->GetStartPosition();
    while (pos) {
        UINT nId = 0;
        CKLVMenuBarTemplateMenu* pMenu = nullptr;
        pMenuBar->m_pTemplateMenus->GetNextAssoc(pos, nId, pMenu);
        CKLVControls* pCopy = pMenu->m_pControls->Duplicate(bRecursive);
        auto* pRecord = new CKLVMenuBarTemplateMenu(nId, pCopy);
        pCopy->InternalRelease();
        m_pTemplateMenus->Add(pRecord);
    }
}
