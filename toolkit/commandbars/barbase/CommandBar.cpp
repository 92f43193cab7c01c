#include "toolkit/commandbars/barbase/CommandBar.h"

#include "classlib/FrameWnd.h"
#include "classlib/Menu.h"
#include "classlib/ToolBar.h"
#include "toolkit/commandbars/barbase/CommandBarAnimation.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/commandbars/tooltips/ToolTipContext.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/KeyboardHook.h"
#include "toolkit/common/StartupRegistrations.h"

#include <algorithm>
#include <iterator>
#include <vector>

KLV_IMPLEMENT_SERIAL(CKLVCommandBar, CWnd)

namespace {

CKLVControlHost* HostOfBar(CKLVCommandBar* pBar) { return pBar; }

const struct BarRegistration {
    BarRegistration() { CKLVControlHost::RegisterBars(&HostOfBar); }
} s_barRegistration;

}  // namespace

CKLVCommandBar::CKLVCommandBar()
    : m_pControls(new CKLVControls(this)), m_pAnimation(std::make_unique<CKLVCommandBarAnimation>(this)) {}

CKLVCommandBar::~CKLVCommandBar() {
    if (m_bTracking) SetTrackingMode(0);
    KLVMouseHook()->RemoveTrackedPopup(this);
    if (KLVMouseHook()->m_pHotBar == this) KLVMouseHook()->m_pHotBar = nullptr;
    m_pControls->RemoveAll();
    m_pControls->SetParent(nullptr);
    m_pControls->InternalRelease();
    ReleaseOwnedManagers();
    SetToolTipContext(nullptr);
    m_pAnimation->RemoveAll();
}

void CKLVCommandBar::ReleaseOwnedManagers() {
    if (m_pPaintManager) m_pPaintManager->InternalRelease();
    m_pPaintManager = nullptr;
    if (m_pImageManager) m_pImageManager->InternalRelease();
    m_pImageManager = nullptr;
}

void CKLVCommandBar::OnFinalRelease() {
    if (GetSafeHwnd()) DestroyWindow();
    CWnd::OnFinalRelease();
}

int CKLVCommandBar::GetControlCount() const { return m_pControls->GetCount(); }

CKLVControl* CKLVCommandBar::GetControl(int nIndex) const { return m_pControls->GetAt(nIndex); }

CKLVControlFace* CKLVCommandBar::GetControlFace(int nIndex) const { return GetControl(nIndex); }

CRect CKLVCommandBar::GetFaceClientRect() const {
    CRect rc;
    if (GetSafeHwnd()) GetClientRect(&rc);
    return rc;
}

void CKLVCommandBar::SetControls(CKLVControls* pControls) {
    m_pControls->SetParent(nullptr);
    m_pControls->InternalRelease();
    m_pControls = pControls;
    m_pControls->SetParent(this);
}

CKLVCommandBar* CKLVCommandBar::GetRootParent() {
    CKLVCommandBar* pRoot = this;
    // A cyclic chain of bars ends where it comes back.
    for (int nGuard = 0; nGuard < 64; ++nGuard) {
        CKLVCommandBar* pParent = pRoot->GetParentCommandBar();
        if (!pParent || pParent == this) break;
        pRoot = pParent;
    }
    return pRoot;
}

CKLVCommandBars* CKLVCommandBar::GetCommandBars() const {
    if (m_pCommandBars) return m_pCommandBars;
    CKLVCommandBar* pParent = GetParentCommandBar();
    return pParent && pParent != this ? pParent->GetCommandBars() : nullptr;
}

CKLVCommandBarsLink* CKLVCommandBar::GetCommandBarsLink() const {
    if (m_pLink) return m_pLink;
    CKLVCommandBar* pParent = GetParentCommandBar();
    return pParent && pParent != this ? pParent->GetCommandBarsLink() : nullptr;
}

CKLVCommandBarsLink* CKLVCommandBar::GetOwnerLink() const {
    return GetCommandBars() ? GetCommandBarsLink() : nullptr;
}

BOOL CKLVCommandBar::IsCustomizeMode() const {
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    return pLink && pLink->IsCustomizeMode();
}

CKLVControl* CKLVCommandBar::GetCustomizeSelected() const {
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    return pLink ? pLink->GetDragControl() : nullptr;
}

BOOL CKLVCommandBar::IsKeyboardCuesVisible() const {
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    return pLink ? pLink->IsKeyboardCuesVisible() : m_bKeyboardCuesVisible;
}

CWnd* CKLVCommandBar::GetSite() const {
    if (m_pSiteOverride) return m_pSiteOverride;
    if (CKLVCommandBarsLink* pLink = GetCommandBarsLink())
        if (CWnd* pSite = pLink->GetSite()) return pSite;
    CKLVCommandBar* pRoot = const_cast<CKLVCommandBar*>(this)->GetRootParent();
    if (pRoot != this) return pRoot->GetSite();
    if (m_pOwner) return m_pOwner;
    if (!GetSafeHwnd()) return nullptr;
    if (CWnd* pFrame = GetParentFrame()) return pFrame;
    return GetParent();
}

CWnd* CKLVCommandBar::GetOwnerSite() const {
    if (m_pOwner) return m_pOwner;
    if (GetSafeHwnd())
        if (HWND hOwner = ::GetWindow(GetSafeHwnd(), GW_OWNER)) return CWnd::FromHandle(hOwner);
    CKLVCommandBar* pParent = GetParentCommandBar();
    if (pParent && pParent != this) return pParent->GetOwnerSite();
    return GetSite();
}

CFrameWnd* CKLVCommandBar::GetFrameSite() const { return DYNAMIC_DOWNCAST(CFrameWnd, GetSite()); }

CKLVPaintManager* CKLVCommandBar::GetPaintManager() const {
    if (m_pPaintManager) return m_pPaintManager;
    if (CKLVCommandBarsLink* pLink = GetCommandBarsLink())
        if (CKLVPaintManager* pPaintManager = pLink->GetPaintManager()) return pPaintManager;
    CKLVCommandBar* pRoot = const_cast<CKLVCommandBar*>(this)->GetRootParent();
    if (pRoot != this && pRoot->m_pPaintManager) return pRoot->m_pPaintManager;
    if (!CKLVPaintManager::GetGlobalPaintManager()) CKLVPaintManager::SetTheme(0);
    return CKLVPaintManager::GetGlobalPaintManager();
}

void CKLVCommandBar::SetPaintManager(CKLVPaintManager* pPaintManager) {
    if (m_pPaintManager && m_pPaintManager != pPaintManager) m_pPaintManager->InternalRelease();
    m_pPaintManager = pPaintManager;
}

CKLVImageManager* CKLVCommandBar::GetImageManager() const {
    if (m_pImageManager) return m_pImageManager;
    if (CKLVCommandBarsLink* pLink = GetCommandBarsLink())
        if (CKLVImageManager* pImageManager = pLink->GetImageManager()) return pImageManager;
    CKLVCommandBar* pRoot = const_cast<CKLVCommandBar*>(this)->GetRootParent();
    if (pRoot != this && pRoot->m_pImageManager) return pRoot->m_pImageManager;
    return KLVImageManager();
}

void CKLVCommandBar::SetImageManager(CKLVImageManager* pImageManager) {
    if (m_pImageManager && m_pImageManager != pImageManager) m_pImageManager->InternalRelease();
    m_pImageManager = pImageManager;
}

void CKLVCommandBar::ShowGripper(BOOL bShow) {
    m_dwStyle = bShow ? (m_dwStyle | styleGripper) : (m_dwStyle & ~styleGripper);
}

BOOL CKLVCommandBar::IsLayoutRTL() const {
    return GetSafeHwnd() &&
           (::GetWindowLongPtrA(GetSafeHwnd(), GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0;
}

BOOL CKLVCommandBar::IsVerticalBar() const {
    return m_barPosition == barLeft || m_barPosition == barRight || m_barType == barTypePopup;
}

CKLVCommandBarsOptions* CKLVCommandBar::GetOptions() const {
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    return pLink ? pLink->GetOptions() : nullptr;
}

namespace {

BOOL IsSizeSet(const CSize& sz) { return sz.cx > 0 && sz.cy > 0; }

}  // namespace

CSize CKLVCommandBar::GetIconSize() const {
    if (IsSizeSet(m_szIcons)) return m_szIcons;
    if (!GetCommandBarsLink()) return CSize(16, 16);
    CKLVCommandBarsOptions* pOptions = GetOptions();
    if (!pOptions) return GetPaintManager()->GetAutoIconSize(FALSE);
    if (m_barType == barTypePopup)
        return IsSizeSet(pOptions->szPopupIcons) ? pOptions->szPopupIcons : GetPaintManager()->GetAutoIconSize(FALSE);
    // Large icons only where no button size fixes the buttons.
    if (pOptions->bLargeIcons && !IsSizeSet(m_szButtons))
        return IsSizeSet(pOptions->szLargeIcons) ? pOptions->szLargeIcons : GetPaintManager()->GetAutoIconSize(TRUE);
    return IsSizeSet(pOptions->szIcons) ? pOptions->szIcons : GetPaintManager()->GetAutoIconSize(FALSE);
}

CSize CKLVCommandBar::GetLargeIconSize(BOOL bAutoSize) const {
    CKLVCommandBarsOptions* pOptions = GetOptions();
    if (!pOptions) return IsSizeSet(m_szIcons) ? CSize(m_szIcons.cx * 2, m_szIcons.cy * 2) : CSize(32, 32);
    const CSize szBase = IsSizeSet(m_szIcons) ? m_szIcons : IsSizeSet(pOptions->szIcons) ? pOptions->szIcons : CSize(16, 16);
    // Buttons of a fixed size keep their icons at the base size.
    if (IsSizeSet(m_szButtons)) return szBase;
    if (IsSizeSet(pOptions->szLargeIcons)) return pOptions->szLargeIcons;
    if (bAutoSize) return GetPaintManager()->GetAutoIconSize(TRUE);
    return CSize(szBase.cx * 2, szBase.cy * 2);
}

BOOL CKLVCommandBar::IsTextBelowIcons() const {
    if (m_nShowTextBelowIcons != 2) return m_nShowTextBelowIcons == 1;
    CKLVCommandBarsOptions* pOptions = GetOptions();
    return pOptions && pOptions->bShowTextBelowIcons;
}

CSize CKLVCommandBar::GetButtonSize() const {
    if (m_szButtons.cx > 0) return m_szButtons;
    const CSize szIcon = GetIconSize();
    return CSize(szIcon.cx + 6, szIcon.cy + 6);
}

void CKLVCommandBar::EnableAnimation(BOOL bEnable) {
    m_pAnimation->m_bAnimation = bEnable;
    Redraw(nullptr, TRUE);
}

BOOL CKLVCommandBar::IsAnimationEnabled() const { return m_pAnimation->m_bAnimation; }

void CKLVCommandBar::EnableDoubleBuffer(BOOL bEnable) { m_pAnimation->m_bDoubleBuffer = bEnable; }

void CKLVCommandBar::DelayLayout() {
    m_nSelected = -1;
    m_nPopuped = -1;
    m_nIdleFlags |= delayLayout;
}

void CKLVCommandBar::Redraw(LPCRECT lpRect, BOOL bAnimate) {
    if (m_nLockRedraw > 0) {
        m_nIdleFlags |= delayRedraw;
        return;
    }
    if (!lpRect) m_nIdleFlags &= ~delayRedraw;
    if (GetSafeHwnd() && ::IsWindowVisible(GetSafeHwnd())) m_pAnimation->Redraw(lpRect, bAnimate);
}

void CKLVCommandBar::HideToolTips() {
    CWnd::CancelToolTips();
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if (CKLVToolTipContext* pContext = pLink ? pLink->GetToolTipContext() : m_pToolTipContext) pContext->CancelToolTips();
}

void CKLVCommandBar::UpdateShortcuts() {
    CKLVCommandBarsOptions* pOptions = GetOptions();
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    CKLVAccelManager* pAccelManager = pLink ? pLink->GetAccelManager() : nullptr;
    if (!pOptions || !pOptions->bAutoUpdateShortcuts || !pAccelManager || !pAccelManager->HasTable()) return;
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (pControl->GetParent() != this || pControl->GetId() <= 0) continue;
        pAccelManager->FindShortcut(static_cast<UINT>(pControl->GetId()), pControl->m_strShortcutTextAuto);
    }
}

void CKLVCommandBar::RedrawWithParents() {
    Redraw();
    for (CKLVCommandBar* pParent = GetParentCommandBar(); pParent && pParent != this;
         pParent = pParent->GetParentCommandBar())
        pParent->Redraw();
}

BOOL CKLVCommandBar::LoadMenu(CMenu* pMenu, BOOL bRemoveAll) {
    if (!pMenu || !::IsMenu(pMenu->GetSafeHmenu())) return FALSE;
    if (bRemoveAll) m_pControls->RemoveAll();
    if (!m_pControls->LoadMenu(pMenu)) return FALSE;
    if (CFrameWnd* pFrame = GetFrameSite()) pFrame->m_nIdleFlags |= CFrameWnd::idleNotify | CFrameWnd::idleLayout;
    return TRUE;
}

BOOL CKLVCommandBar::LoadToolBar(UINT nIDResource, BOOL bLoadIcons) {
    const CToolBarData* pData = CToolBar::FindToolBarData(MAKEINTRESOURCEA(nIDResource));
    if (!pData) return FALSE;
    const std::vector<UINT> items(pData->GetItems(), pData->GetItems() + pData->wItemCount);
    m_pControls->LoadButtons(items.data(), static_cast<int>(items.size()));
    std::vector<UINT> commands;
    std::copy_if(items.begin(), items.end(), std::back_inserter(commands), [](UINT nId) { return nId != 0; });
    const CSize szIcon(pData->wWidth, pData->wHeight);
    if (szIcon.cx != 16) m_szIcons = szIcon;
    if (!bLoadIcons) return TRUE;
    return GetImageManager()->SetIcons(nIDResource, commands.data(), static_cast<int>(commands.size()), szIcon);
}

void CKLVCommandBar::Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive) {
    m_barType = pCommandBar->m_barType;
    m_barPosition = pCommandBar->m_barPosition;
    m_nBarID = pCommandBar->m_nBarID;
    m_nFlags = pCommandBar->m_nFlags;
    m_dwStyle = pCommandBar->m_dwStyle;
    m_strTitle = pCommandBar->m_strTitle;
    m_bCustomizable = pCommandBar->m_bCustomizable;
    m_nMRUWidth = pCommandBar->m_nMRUWidth;
    m_szIcons = pCommandBar->m_szIcons;
    m_szButtons = pCommandBar->m_szButtons;
    m_pCommandBars = pCommandBar->m_pCommandBars;
    m_pLink = pCommandBar->m_pLink;
    m_nDefaultButtonStyle = pCommandBar->m_nDefaultButtonStyle;
    SetControls(pCommandBar->m_pControls->Duplicate(bRecursive));
}

CKLVCommandBar* CKLVCommandBar::Clone(BOOL bRecursive) {
    auto* pBar = static_cast<CKLVCommandBar*>(GetRuntimeClass()->CreateObject());
    pBar->Copy(this, bRecursive);
    return pBar;
}

BOOL CKLVCommandBar::IsPointInBar(CPoint ptScreen) const {
    if (!GetSafeHwnd()) return FALSE;
    CRect rcWindow;
    ::GetWindowRect(GetSafeHwnd(), &rcWindow);
    if (!rcWindow.PtInRect(ptScreen)) return FALSE;
    if (m_barPosition != barPopup) return TRUE;
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    const int nRegion = ::GetWindowRgn(GetSafeHwnd(), hRgn);
    const BOOL bInside = nRegion == ERROR || ::PtInRegion(hRgn, ptScreen.x - rcWindow.left, ptScreen.y - rcWindow.top);
    ::DeleteObject(hRgn);
    return bInside;
}

int CKLVCommandBar::HitTestPopup(POINT ptScreen) {
    // A bar may answer that the mouse hook passes over it there.
    const int nHit = IsPointInBar(ptScreen);
    return nHit == hitSkip ? hitSkip : nHit ? hitInside : hitOutside;
}

void CKLVCommandBar::OnRemoved() {
    if (m_bTracking) SetTrackingMode(0);
    KLVMouseHook()->RemoveTrackedPopup(this);
    if (KLVMouseHook()->m_pHotBar == this) KLVMouseHook()->m_pHotBar = nullptr;
    m_pControls->RemoveAll();
    if (GetSafeHwnd()) DestroyWindow();
}

void CKLVCommandBar::GetBorders(CRect& rcBorders) { rcBorders = GetPaintManager()->GetCommandBarBorders(this); }

void CKLVCommandBar::FillCommandBarEntry(CDC* pDC) { GetPaintManager()->FillCommandBar(pDC, this); }

BOOL CKLVCommandBar::IsMouseLocked() const {
    if (m_bIgnoreMouseLock) return FALSE;
    for (CKLVHookedPopupBar* pBar : KLVMouseHook()->GetTrackedPopups())
        if (pBar->m_nPopupLock > 0) return TRUE;
    return FALSE;
}

int CKLVCommandBar::CHookSink::OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT&) {
    if (!m_pBar->m_bTracking) return hookContinue;
    if (nMessage == WM_KEYDOWN) return m_pBar->OnHookKeyDown(static_cast<UINT>(wParam), lParam) == hookKeyHandled ? hookHandled : hookStop;
    if (nMessage == WM_MOUSEWHEEL) {
        // A focused control may take the wheel; it stays with the bar either way.
        CKLVControl* pSelected = m_pBar->GetControl(m_pBar->m_nSelected);
        if (pSelected && pSelected->IsFocused()) pSelected->OnHookMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return hookHandled;
    }
    return hookContinue;
}
