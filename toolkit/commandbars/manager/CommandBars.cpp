#include "toolkit/commandbars/manager/CommandBars.h"

#include "classlib/DocTemplate.h"
#include "classlib/Document.h"
#include "classlib/FrameWnd.h"
#include "classlib/MDIFrameWnd.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"
#include "toolkit/commandbars/controlbase/CommandBarList.h"
#include "toolkit/commandbars/manager/ContextMenus.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/manager/CustomizeDrop.h"
#include "toolkit/commandbars/dockbars/DockBar.h"
#include "toolkit/commandbars/MenuBar.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/dockbars/ReBar.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/ToolBarTracker.h"
#include "toolkit/commandbars/interfaces/TabClientLink.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/commandbars/sounds/MenuSoundPlayer.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/common/ResourceManager.h"

IMPLEMENT_DYNCREATE(CKLVCommandBars, CCmdTarget)

CRuntimeClass* CKLVCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CKLVMenuBar);
CRuntimeClass* CKLVCommandBars::m_pToolBarClass = RUNTIME_CLASS(CKLVToolBar);
CRuntimeClass* CKLVCommandBars::m_pDockBarClass = RUNTIME_CLASS(CKLVDockBar);

CKLVCommandBars::CKLVCommandBars()
    : m_pOptions(new CKLVCommandBarsOptions), m_pContextMenus(new CKLVContextMenus(this)),
      m_pToolTipContext(new CKLVTooltipHost), m_pAccelManager(new CKLVAccelManager(this)),
      m_pActions(new CKLVControlActions(this)), m_pCustomizeDrop(std::make_unique<CKLVCustomizeDrop>(this)) {
    m_pOptions->m_pCommandBars = this;
    m_pToolTipContext->SetStyle(2);
}

CKLVCommandBars::~CKLVCommandBars() {
    HideKeyboardTips();
    SetDragControl(nullptr);
    m_pContextMenus->RemoveAll();
    m_pContextMenus->InternalRelease();
    RemoveAll();
    for (CKLVDockBar*& pDock : m_pDocks) {
        if (pDock && pDock->GetSafeHwnd()) pDock->DestroyWindow();
        delete pDock;
        pDock = nullptr;
    }
    m_pCustomizeDrop.reset();
    if (m_pPaintManager) m_pPaintManager->InternalRelease();
    if (m_pImageManager) m_pImageManager->InternalRelease();
    m_pToolTipContext->InternalRelease();
    m_pAccelManager->InternalRelease();
    m_pOptions->InternalRelease();
    // The bars that asked for sounds are gone: the worker would poll on for nothing.
    KLVMenuSoundPlayer()->Stop();
    m_pActions->RemoveAll();
    m_pActions->InternalRelease();
}

CKLVCommandBar* CKLVCommandBars::GetMenuBar() const {
    CKLVCommandBar* pBar = FindCommandBar(1);
    return pBar && pBar->GetType() == CKLVCommandBar::barTypeMenuBar &&
                   (!m_pMenuBarClass || pBar->IsKindOf(m_pMenuBarClass))
               ? pBar
               : nullptr;
}

BOOL CKLVCommandBars::IsCommandHidden(UINT nId) const {
    BOOL bValue;
    return m_pOptions->m_mapHiddenCommands.Lookup(nId, bValue) && !m_pOptions->m_mapUsedCommands.Lookup(nId, bValue);
}

BOOL CKLVCommandBars::IsControlHidden(CKLVControl* pControl) const {
    CPtrArray arrWalked;
    return IsControlHidden(pControl, arrWalked);
}

BOOL CKLVCommandBars::IsControlHidden(CKLVControl* pControl, CPtrArray& arrWalked) const {
    if (IsCommandHidden(static_cast<UINT>(pControl->GetId()))) return TRUE;
    const int nType = pControl->GetType();
    if (!m_pOptions->bAutoHideUnusedPopups ||
        (nType != CKLVControl::typePopup && nType != CKLVControl::typeButtonPopup &&
         nType != CKLVControl::typeSplitButtonPopup))
        return FALSE;
    CKLVCommandBar* pBar = pControl->GetCommandBar();
    if (!pBar || pBar->GetControlCount() == 0) return FALSE;
    // A popup met again on the way down is one of its own ancestors: it does not hide them.
    for (INT_PTR i = 0; i < arrWalked.GetSize(); ++i)
        if (arrWalked[i] == pBar) return FALSE;
    arrWalked.Add(pBar);
    BOOL bHidden = TRUE;
    for (int i = 0; bHidden && i < pBar->GetControlCount(); ++i) bHidden = IsControlHidden(pBar->GetControl(i), arrWalked);
    arrWalked.RemoveAt(arrWalked.GetSize() - 1);
    return bHidden;
}

void CKLVCommandBars::EnableDocking() {
    static const struct {
        UINT nID;
        DWORD dwStyle;
    } docks[] = {{0xE81B, CKLVDockBar::styleTop}, {0xE81E, CKLVDockBar::styleBottom},
                 {0xE81C, CKLVDockBar::styleLeft}, {0xE81D, CKLVDockBar::styleRight}};
    for (int i = 0; i < 4; ++i) {
        if (m_pDocks[i]) continue;
        auto* pDock = static_cast<CKLVDockBar*>(m_pDockBarClass->CreateObject());
        if (!pDock) AfxThrowResourceException();
        pDock->m_pCommandBars = this;
        if (!pDock->Create(m_pSite, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | docks[i].dwStyle,
                           docks[i].nID)) {
            delete pDock;
            AfxThrowResourceException();
        }
        m_pDocks[i] = pDock;
    }
}

CKLVDockBar* CKLVCommandBars::GetDockBar(int nPosition) const {
    return nPosition >= 0 && nPosition < 4 ? m_pDocks[nPosition] : nullptr;
}

int CKLVCommandBars::GetDockBarPosition(CKLVDockBar* pDockBar) const {
    return pDockBar ? pDockBar->GetPosition() : -1;
}

CRect CKLVCommandBars::DockBarToScreen(CKLVDockBar* pDockBar, CRect rc) const {
    if (pDockBar) pDockBar->ClientToScreen(&rc);
    return rc;
}

CKLVDockBar* CKLVCommandBars::CanDock(CPoint ptScreen, CKLVDockBar* pDockBar) const {
    const CKLVDockBar* candidates[] = {pDockBar, m_pDocks[0], m_pDocks[1], m_pDocks[2], m_pDocks[3]};
    for (const CKLVDockBar* pCandidate : candidates) {
        if (!pCandidate || !pCandidate->GetSafeHwnd()) continue;
        CRect rc;
        pCandidate->GetWindowRect(&rc);
        rc.InflateRect(20, 20);
        if (rc.PtInRect(ptScreen)) return const_cast<CKLVDockBar*>(pCandidate);
    }
    return nullptr;
}

BOOL CKLVCommandBars::DockCommandBar(CKLVToolBar* pBar, LPCRECT lpRect, CKLVDockBar* pDockBar) {
    if (!pDockBar || !pBar->CreateToolBarWindow(m_pSite, FALSE)) return FALSE;
    pDockBar->DockCommandBar(pBar, lpRect);
    pBar->m_barPosition = pDockBar->GetPosition();
    if (CKLVToolBarTracker* pTracker = pBar->GetTracker()) pTracker->m_nLastDockPosition = pBar->m_barPosition;
    return TRUE;
}

BOOL CKLVCommandBars::DockCommandBar(CKLVToolBar* pBar, int nPosition) {
    return DockCommandBar(pBar, nullptr, GetDockBar(nPosition));
}

BOOL CKLVCommandBars::FloatCommandBar(CKLVCommandBar* pCommandBar) {
    auto* pBar = DYNAMIC_DOWNCAST(CKLVToolBar, pCommandBar);
    if (!pBar || !pBar->CreateToolBarWindow(m_pSite, TRUE)) return FALSE;
    if (pBar->m_pDockBar) pBar->m_pDockBar->RemoveCommandBar(pBar, -1);
    pBar->m_barPosition = CKLVCommandBar::barFloating;
    pBar->OnRecalcLayout();
    return TRUE;
}

void CKLVCommandBars::UpdateFrameLayout() {
    auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pSite);
    if (!pFrame || !pFrame->GetSafeHwnd() || !(pFrame->m_nIdleFlags & CFrameWnd::idleLayout)) return;
    pFrame->RecalcLayout(FALSE);
    pFrame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
}

void CKLVCommandBars::SetSite(CWnd* pSite) {
    m_pSite = pSite;
    m_bSiteAnswer = FALSE;
    m_dwLayoutRTL = 0;
    if (!pSite || !pSite->GetSafeHwnd()) return;
    // With a handler record the command routing only reports whether a handler exists.
    AFX_CMDHANDLERINFO info = {};
    m_bSiteAnswer = pSite->OnCmdMsg(idCustomizeCommand, 0, nullptr, &info);
    m_dwLayoutRTL = pSite->GetExStyle() & WS_EX_LAYOUTRTL;
}

CKLVCommandBar* CKLVCommandBars::Add(LPCTSTR lpszTitle, int nPosition, CRuntimeClass* pBarClass) {
    CKLVCommandBar* pBar = CreateBar(pBarClass ? pBarClass : m_pToolBarClass, lpszTitle);
    if (!pBar) return nullptr;
    if (!pBar->SetPosition(nPosition)) {
        DiscardBar(pBar);
        return nullptr;
    }
    m_arrBars.Add(pBar);
    return pBar;
}

CKLVCommandBar* CKLVCommandBars::CreateBar(CRuntimeClass* pClass, LPCTSTR lpszTitle) {
    if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(CKLVCommandBar))) return nullptr;
    auto* pBar = static_cast<CKLVCommandBar*>(pClass->CreateObject());
    if (!pBar) return nullptr;
    pBar->m_pCommandBars = this;
    pBar->m_pLink = this;
    pBar->SetTitle(lpszTitle);
    return pBar;
}

void CKLVCommandBars::DiscardBar(CKLVCommandBar* pBar) {
    if (pBar->m_pDockBar) pBar->m_pDockBar->RemoveCommandBar(pBar);
    pBar->InternalRelease();
}

CKLVCommandBar* CKLVCommandBars::SetMenu(LPCTSTR lpszTitle, UINT nMenuID) {
    CKLVCommandBar* pBar = CreateBar(m_pMenuBarClass, lpszTitle);
    if (!pBar) return nullptr;
    pBar->Redraw();
    pBar->m_nBarID = 1;
    if (!pBar->SetPosition(CKLVCommandBar::barTop)) {
        DiscardBar(pBar);
        return nullptr;
    }
    // A menu bar loads its own menu; any other bar class gets the menu's controls.
    auto* pMenuBar = DYNAMIC_DOWNCAST(CKLVMenuBar, pBar);
    CMenu menu;
    const BOOL bLoaded = pMenuBar ? pMenuBar->LoadMenuBar(nMenuID)
                                  : nMenuID == 0 || (KLVResourceManager()->LoadMenu(&menu, nMenuID) && pBar->LoadMenu(&menu));
    if (!bLoaded) {
        DiscardBar(pBar);
        return nullptr;
    }
    if (nMenuID != 0) {
        pBar->GetControls()->CreateOriginalControls();
        m_nMenuID = nMenuID;
    }
    m_arrBars.Add(pBar);
    return pBar;
}

CKLVToolBar* CKLVCommandBars::AddCustomToolBar(LPCTSTR lpszTitle, UINT nBarID, BOOL bFloating) {
    if (!m_pToolBarClass || !m_pToolBarClass->IsDerivedFrom(RUNTIME_CLASS(CKLVToolBar))) return nullptr;
    auto* pBar = static_cast<CKLVToolBar*>(CreateBar(m_pToolBarClass, lpszTitle));
    if (!pBar) return nullptr;
    KLVCREATEBARSTRUCT cs = {pBar, nullptr, FALSE, TRUE, bFloating, lpszTitle, nBarID};
    if (m_pSite && m_pSite->GetSafeHwnd())
        m_pSite->SendMessage(CKLVControls::msgCreateCommandBar, 0, reinterpret_cast<LPARAM>(&cs));
    if (!pBar->SetPosition(bFloating ? CKLVCommandBar::barFloating : CKLVCommandBar::barTop)) {
        DiscardBar(pBar);
        return nullptr;
    }
    m_arrBars.Add(pBar);
    pBar->m_nBarID = nBarID;
    pBar->m_bBuiltIn = FALSE;
    pBar->m_bTearOffBar = bFloating;
    if (!bFloating) RecalcFrameLayout();
    AddRebarBand(pBar);
    return pBar;
}

CKLVReBar* CKLVCommandBars::GetReBar() const {
    if (!m_pSite || !m_pSite->GetSafeHwnd()) return nullptr;
    return DYNAMIC_DOWNCAST(CKLVReBar, CWnd::FromHandlePermanent(::GetDlgItem(m_pSite->GetSafeHwnd(), AFX_IDW_REBAR)));
}

void CKLVCommandBars::AddRebarBand(CKLVToolBar* pBar) {
    if (CKLVReBar* pReBar = GetReBar()) pReBar->AddToolBar(pBar, CKLVReBar::bandStyleToolBar);
}

void CKLVCommandBars::RemoveRebarBand(CKLVToolBar* pBar) {
    if (CKLVReBar* pReBar = GetReBar()) pReBar->DeleteToolBar(pBar);
}

void CKLVCommandBars::RemoveBar(CKLVCommandBar* pBar) {
    if (pBar->GetSafeHwnd()) pBar->ShowWindow(SW_HIDE);
    pBar->m_bVisible = FALSE;
    if (auto* pToolBar = DYNAMIC_DOWNCAST(CKLVToolBar, pBar)) RemoveRebarBand(pToolBar);
    pBar->OnRemoved();
    pBar->InternalRelease();
}

void CKLVCommandBars::Remove(CKLVCommandBar* pBar) {
    const int nIndex = FindIndex(pBar);
    if (nIndex < 0) return;
    m_arrBars.RemoveAt(nIndex);
    if (pBar->m_pDockBar) pBar->m_pDockBar->RemoveCommandBar(pBar);
    RecalcFrameLayout();
    RemoveBar(pBar);
}

void CKLVCommandBars::RemoveAll() {
    LockLayout();
    while (GetCount() > 0) {
        CKLVCommandBar* pBar = GetAt(GetCount() - 1);
        m_arrBars.RemoveAt(GetCount() - 1);
        if (pBar->m_pDockBar) pBar->m_pDockBar->RemoveCommandBar(pBar);
        RemoveBar(pBar);
    }
    UnlockLayout();
    RecalcFrameLayout(TRUE);
}

CKLVCommandBar* CKLVCommandBars::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
    return static_cast<CKLVCommandBar*>(m_arrBars[nIndex]);
}

CKLVCommandBar* CKLVCommandBars::FindCommandBar(UINT nBarID) const {
    if (nBarID == 0) return nullptr;
    for (int i = 0; i < GetCount(); ++i)
        if (GetAt(i)->m_nBarID == nBarID) return GetAt(i);
    return nullptr;
}

int CKLVCommandBars::FindIndex(const CKLVCommandBar* pBar) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetAt(i) == pBar) return i;
    return -1;
}

int CKLVCommandBars::GetNextVisibleBar(int nIndex, int nStep) const {
    const int nCount = GetCount();
    if (nCount == 0 || (nStep != 1 && nStep != -1)) return -1;
    const BOOL bCanWrap = !(nIndex == -1 && nStep > 0);
    int i = nIndex == -1 && nStep < 0 ? nCount : nIndex;
    BOOL bWrapped = FALSE;
    for (;;) {
        i += nStep;
        if (i < 0 || i >= nCount) {
            if (!bCanWrap || bWrapped) return -1;
            bWrapped = TRUE;
            i = nStep > 0 ? 0 : nCount - 1;
        }
        if (i == nIndex) return nIndex;
        if (GetAt(i)->IsVisible()) return i;
    }
}

void CKLVCommandBars::ToggleVisible(int nIndex) {
    CKLVCommandBar* pBar = GetAt(nIndex);
    if (!pBar) return;
    pBar->SetVisible(!pBar->IsVisible());
    m_pOptions->bDirty = TRUE;
}

void CKLVCommandBars::SetCommandUsed(UINT nId) {
    if (!IsCommandHidden(nId)) return;
    m_pOptions->m_mapUsedCommands.SetAt(nId, TRUE);
    m_pOptions->bDirty = TRUE;
}

void CKLVCommandBars::SetCustomizeMode(BOOL bMode) {
    m_pOptions->bDirty = TRUE;
    m_bCustomizeMode = bMode;
    m_bCustomizeTarget = bMode;
    SetDragControl(nullptr);
    if (m_bKeyboardCuesOnDemand) ShowKeyboardCues(bMode);
}

void CKLVCommandBars::SetDragControl(CKLVControl* pControl) {
    if (pControl != m_pDragControl) {
        CKLVControl* pOld = m_pDragControl;
        m_pDragControl = pControl;
        if (pControl) pControl->InternalAddRef();
        if (pOld) {
            pOld->RedrawParent(FALSE);
            pOld->InternalRelease();
        }
        if (pControl) pControl->RedrawParent(FALSE);
    }
    if (m_pSite && m_pSite->GetSafeHwnd()) m_pSite->SendMessage(msgDragControlChanged);
}

void CKLVCommandBars::RegisterCustomizeTarget(CKLVCommandBar* pBar) { m_pCustomizeDrop->Register(pBar); }

void CKLVCommandBars::UnregisterCustomizeTarget(CKLVCommandBar* pBar) {
    if (m_pCustomizeDrop) m_pCustomizeDrop->Unregister(pBar);
}

DWORD CKLVCommandBars::DoCustomizeDragDrop(CKLVControl* pControl, BOOL bCopyOnly) {
    return m_pCustomizeDrop->DoDragDrop(pControl, bCopyOnly);
}

void CKLVCommandBars::ShowKeyboardCues(BOOL bShow) {
    if (m_bCustomizeMode) bShow = TRUE;
    if (!m_bKeyboardCuesOnDemand || bShow == m_bKeyboardCuesVisible) return;
    m_bKeyboardCuesVisible = bShow;
    RedrawCommandBars();
}

void CKLVCommandBars::SetKeyboardCuesState(BOOL bVisible, BOOL bOnDemand) {
    m_bKeyboardCuesVisible = bVisible;
    m_bKeyboardCuesOnDemand = bOnDemand;
    RedrawCommandBars();
}

void CKLVCommandBars::RedrawCommandBars() {
    for (int i = 0; i < GetCount(); ++i) {
        CKLVCommandBar* pBar = GetAt(i);
        if (pBar->GetSafeHwnd() && pBar->IsVisible()) pBar->Redraw(nullptr, TRUE);
    }
}

void CKLVCommandBars::UpdateCommandBars() {
    LockLayout();
    for (int i = 0; i < GetCount(); ++i) {
        CKLVCommandBar* pBar = GetAt(i);
        CKLVControls* pControls = pBar->GetControls();
        for (int j = 0; j < pControls->GetCount(); ++j) pControls->GetAt(j)->OnThemeChanged();
        if (pBar->IsVisible()) pBar->OnRecalcLayout();
    }
    if (CKLVTabClientLink* pTabClient = CKLVTabClientLink::FromSite(m_pSite)) pTabClient->Refresh(TRUE);
    if (m_pSite && m_pSite->GetSafeHwnd())
        if (HWND hStatusBar = ::GetDlgItem(m_pSite->GetSafeHwnd(), AFX_IDW_STATUS_BAR)) ::InvalidateRect(hStatusBar, nullptr, TRUE);
    UnlockLayout();
    RecalcFrameLayout();
    if (m_pSite && m_pSite->GetSafeHwnd()) m_pSite->SendMessage(WM_NCPAINT, 1);
}

void CKLVCommandBars::OnSetPreviewMode(BOOL bPreview) {
    m_pAccelManager->DisableAccelerators(bPreview);
    for (int i = 0; i < GetCount(); ++i)
        if (auto* pToolBar = DYNAMIC_DOWNCAST(CKLVToolBar, GetAt(i))) pToolBar->OnSetPreviewMode(bPreview);
}

void CKLVCommandBars::RecalcFrameLayout(BOOL bDelay) {
    if (m_nLockLayout > 0 || !m_pSite || !m_pSite->GetSafeHwnd()) return;
    if (auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pSite)) {
        if (bDelay)
            pFrame->m_nIdleFlags |= CFrameWnd::idleLayout;
        else
            pFrame->RecalcLayout(FALSE);
        return;
    }
    CRect rcClient;
    m_pSite->GetClientRect(&rcClient);
    m_pSite->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rcClient.Width(), rcClient.Height()));
}

CKLVControlAction* CKLVCommandBars::FindAction(int nId) const { return m_pActions->GetAction(nId); }

UINT CKLVCommandBars::GetActiveDocTemplateId() const {
    auto* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pSite);
    if (!pFrame || !pFrame->GetSafeHwnd()) return 0;
    CMDIChildWnd* pChild = pFrame->MDIGetActive();
    if (!pChild) return m_nMenuID;
    if (CDocument* pDocument = pChild->GetActiveDocument()) {
        CDocTemplate* pTemplate = pDocument->GetDocTemplate();
        return pTemplate ? pTemplate->m_nIDResource : 0;
    }
    return pChild->m_nIDHelp;
}

void CKLVCommandBars::SetPaintManager(CKLVPaintManager* pPaintManager) {
    if (m_pPaintManager && m_pPaintManager != pPaintManager) m_pPaintManager->InternalRelease();
    m_pPaintManager = pPaintManager;
}

void CKLVCommandBars::SetImageManager(CKLVImageManager* pImageManager) {
    if (m_pImageManager && m_pImageManager != pImageManager) m_pImageManager->InternalRelease();
    m_pImageManager = pImageManager;
}

BOOL CKLVCommandBars::IsLayoutRTL() const {
    if (m_dwLayoutRTL) return TRUE;
    return m_pSite && m_pSite->GetSafeHwnd() && (m_pSite->GetExStyle() & WS_EX_LAYOUTRTL);
}

void CKLVCommandBars::OnTrackingModeChanged(CKLVCommandBar*, int nMode) {
    const auto& tracked = KLVMouseHook()->GetTrackedPopups();
    if (nMode == 0 && m_bKeyboardCuesOnDemand && tracked.empty()) ShowKeyboardCues(FALSE);
    const BOOL bKeyboardTips = m_nKeyboardNavigationLevel >= 1 && m_pOptions->bShowKeyboardTips;
    // Keyboard navigation ends with the last tracked bar: menus the mouse opens later show no tips.
    if (nMode == 0 && tracked.empty()) m_nKeyboardNavigationLevel = 0;
    if (!bKeyboardTips) return;
    HideKeyboardTips();
    // The popup now on top shows its own tips once the change is through.
    auto* pTop = tracked.empty() ? nullptr : dynamic_cast<CKLVCommandBar*>(tracked.back());
    if (pTop && pTop->IsPopupBar() && pTop->GetSafeHwnd())
        pTop->PostMessage(WM_TIMER, CKLVCommandBar::timerKeyboardTips);
}

namespace {

// The visible tool bars of the bar's dock row, else the bar alone.
std::vector<CKLVToolBar*> DockRowOf(CKLVToolBar* pBar) {
    std::vector<CKLVToolBar*> bars;
    if (CKLVDockBar* pDock = pBar->m_pDockBar) {
        const int nEntry = pDock->FindBar(pBar);
        CPtrArray arrBars;
        if (nEntry >= 0) pDock->GetVisibleRowBars(nEntry, arrBars);
        for (INT_PTR i = 0; i < arrBars.GetSize(); ++i)
            if (auto* pToolBar = DYNAMIC_DOWNCAST(CKLVToolBar, static_cast<CObject*>(arrBars[i]))) bars.push_back(pToolBar);
    }
    if (bars.empty()) bars.push_back(pBar);
    return bars;
}

}  // namespace

void CKLVCommandBars::AddHiddenControls(CKLVToolBar* pBar, CKLVCommandBar* pPopup) {
    if (!pBar->m_pDockBar) return;
    for (CKLVToolBar* pRowBar : DockRowOf(pBar))
        for (int i = 0; i < pRowBar->GetControlCount(); ++i) {
            CKLVControl* pControl = pRowBar->GetControl(i);
            if (!(pControl->GetHideFlags() & CKLVControl::hideWrap)) continue;
            CKLVControl* pCopy = pPopup->GetControls()->AddClone(pControl, -1, TRUE);
            pCopy->SetHideFlag(CKLVControl::hideWrap, FALSE);
        }
    pPopup->DelayLayout();
}

void CKLVCommandBars::AddExpandCustomizeControls(CKLVToolBar* pBar, CKLVCommandBar* pPopup) {
    BOOL bBeginGroup = pPopup->GetControlCount() > 0;
    for (CKLVToolBar* pRowBar : DockRowOf(pBar)) {
        CKLVControl* pItem = pPopup->GetControls()->Add(CKLVControl::typePopup, 0);
        if (!pItem) continue;
        pItem->SetCaption(pRowBar->GetTitle());
        pItem->SetBeginGroup(bBeginGroup);
        bBeginGroup = FALSE;
        if (CKLVCommandBar* pList = pItem->GetCommandBar()) pRowBar->FillAddRemoveButtons(pList);
    }
    if (m_bSiteAnswer)
        if (CKLVControl* pCustomize = pPopup->GetControls()->Add(CKLVControl::typeButton, static_cast<int>(idCustomizeCommand)))
            pCustomize->SetBeginGroup(TRUE);
}

void CKLVCommandBars::ClosePopups() { KLVMouseHook()->CloseAllTrackedPopups(); }

CKLVPaintManager* CKLVCommandBars::GetPaintManager() const {
    if (m_pPaintManager) return m_pPaintManager;
    if (!CKLVPaintManager::GetGlobalPaintManager()) CKLVPaintManager::SetTheme(0);
    return CKLVPaintManager::GetGlobalPaintManager();
}

CKLVImageManager* CKLVCommandBars::GetImageManager() const {
    return m_pImageManager ? m_pImageManager : KLVImageManager();
}

BOOL CKLVCommandBars::IsShowFullAfterDelay() const { return m_pOptions->bShowFullAfterDelay; }

BOOL CKLVCommandBars::IsAltDragCustomization() const { return m_pOptions->bAltDragCustomization; }

BOOL CKLVCommandBars::IsStatusBarTextShown() const { return m_pOptions->bStatusBarText; }

BOOL CKLVCommandBars::IsDisableCommandsWithoutHandler() const { return m_pOptions->bDisableCommandsWithoutHandler; }

BOOL CKLVCommandBars::IsToolBarScreenTips() const { return m_pOptions->bToolBarScreenTips; }

BOOL CKLVCommandBars::IsToolBarAccelTips() const { return m_pOptions->bToolBarAccelTips; }

CKLVToolTipContext* CKLVCommandBars::GetToolTipContext() const { return m_pToolTipContext; }

BOOL CKLVCommandBars::IsPopupBarTips() const { return m_pOptions->bShowPopupBarToolTips; }
