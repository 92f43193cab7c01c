#include "toolkit/commandbars/ToolBar.h"

#include "classlib/FrameWnd.h"
#include "classlib/WinApp.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/ToolBarControls.h"
#include "toolkit/commandbars/ToolBarTracker.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/StartupRegistrations.h"

#include <algorithm>
#include <vector>

KLV_IMPLEMENT_SERIAL(CKLVToolBar, CKLVCommandBar)

namespace {

const char kToolBarClass[] = "KLVToolBar";
// The bar bits of a style word; the rest is the window's style.
const DWORD kBarStyleMask = 0x40FFFF;
const DWORD kFloatingStyle = 0x86000100;
const DWORD kDockedStyle = 0x46000100;
const DWORD kOwnedPopupBit = 0x100;
// List items skip buttons hidden for these reasons.
const DWORD kNotListedHideFlags = CKLVControl::hideGeneric | 64 | 128;

BOOL IsSameButton(const CKLVControl* pA, const CKLVControl* pB) {
    return pA->GetId() == pB->GetId() && pA->GetType() == pB->GetType();
}

}  // namespace

CKLVToolBar::CKLVToolBar() : m_pTracker(std::make_unique<CKLVToolBarTracker>(this)) {
    m_nFlags = 63;
    m_bCloseable = TRUE;
    CKLVDrawHelpers::RegisterWndClass(AfxGetInstanceHandle(), kToolBarClass, CS_DBLCLKS);
}

CKLVToolBar::~CKLVToolBar() = default;

BOOL CKLVToolBar::CreateToolBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID) {
    m_dwStyle = dwStyle & kBarStyleMask;
    const DWORD dwWindowStyle = (dwStyle & ~kBarStyleMask) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!CreateEx(0, kToolBarClass, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
    m_barPosition = barTop;
    m_pTracker.reset();
    m_nFlags &= ~static_cast<UINT>(flagMoveMask);
    if (!GetCommandBarsLink() && (dwStyle & CBRS_TOOLTIPS)) EnableToolTips(TRUE);
    return TRUE;
}

BOOL CKLVToolBar::CreateToolBarWindow(CWnd* pParentWnd, BOOL bFloating) {
    const HWND hParent = AfxGetSafeHwnd(pParentWnd);
    if (!GetSafeHwnd()) {
        CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
        const DWORD dwExStyle = pCommandBars && pCommandBars->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
        const CPoint ptOrigin = m_pTracker ? m_pTracker->m_ptLastFloating : CPoint(0, 0);
        if (!CreateEx(dwExStyle, kToolBarClass, m_strTitle, bFloating ? kFloatingStyle : kDockedStyle,
                      CRect(ptOrigin, CSize(100, 100)), pParentWnd, 0))
            return FALSE;
    } else if (bFloating) {
        if (GetStyle() & WS_CHILD) {
            ::SetParent(m_hWnd, nullptr);
            ModifyStyle(WS_CHILD, WS_POPUP | kOwnedPopupBit);
        }
        ::SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hParent));
    } else if (GetStyle() & WS_POPUP) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, 0);
        ModifyStyle(WS_POPUP, WS_CHILD);
        ::SetParent(m_hWnd, hParent);
    }
    if (m_bVisible) ShowWindow(SW_SHOWNA);
    OnCreatedHook();
    return TRUE;
}

BOOL CKLVToolBar::SetPosition(int nPosition) {
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    if (!pCommandBars) return FALSE;
    if (nPosition >= barTop && nPosition <= barRight) return pCommandBars->DockCommandBar(this, nPosition);
    if (nPosition == barFloating) return pCommandBars->FloatCommandBar(this);
    return FALSE;
}

void CKLVToolBar::RelayoutFrame() {
    if (CKLVCommandBarsLink* pCommandBars = GetOwnerLink()) {
        pCommandBars->RecalcFrameLayout();
        return;
    }
    CWnd* pSite = GetSite();
    if (!pSite || !pSite->GetSafeHwnd()) return;
    CRect rcClient;
    pSite->GetClientRect(&rcClient);
    pSite->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rcClient.Width(), rcClient.Height()));
}

void CKLVToolBar::SetVisible(BOOL bVisible) {
    bVisible = bVisible != FALSE;
    if (m_bVisible == bVisible) return;
    m_bVisible = bVisible;
    if (!bVisible && m_bTracking) SetTrackingMode(0);
    if (GetSafeHwnd()) ShowWindow(bVisible ? SW_SHOWNA : SW_HIDE);
    if (!bVisible && IsDocked())
        RelayoutFrame();
    else if (bVisible)
        OnRecalcLayout();
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(msgVisibleChanged, reinterpret_cast<WPARAM>(this), bVisible);
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    if (!pCommandBars) return;
    pCommandBars->GetOptions()->bDirty = TRUE;
    // A temporary bar exists only while it shows; this may be its last reference.
    if (!bVisible && m_bTemporary) pCommandBars->Remove(this);
}

BOOL CKLVToolBar::LoadToolBar(UINT nIDResource, BOOL bLoadIcons) {
    m_nBarID = nIDResource;
    const BOOL bLoaded = CKLVCommandBar::LoadToolBar(nIDResource, bLoadIcons);
    if (bLoaded) m_pControls->CreateOriginalControls();
    return bLoaded;
}

void CKLVToolBar::ResetToolBar(BOOL bAsk) {
    if (!m_bResettable || !IsCustomizable() || m_nBarID == 0) return;
    if (bAsk && !ConfirmReset()) return;
    if (CKLVControls* pOriginal = m_pControls->GetOriginalControls()) {
        m_pControls->RemoveAll();
        for (int i = 0; i < pOriginal->GetCount(); ++i)
            if (!pOriginal->GetAt(i)->IsTemporary()) m_pControls->AddClone(pOriginal->GetAt(i));
    } else {
        LoadToolBar(m_nBarID, FALSE);
    }
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd()) pSite->SendMessage(msgToolBarReset, 0, reinterpret_cast<LPARAM>(this));
    OnIdleUpdate(TRUE, FALSE);
    OnRecalcLayout();
}

BOOL CKLVToolBar::ConfirmReset() const {
    CString strFormat, strPrompt;
    KLVResourceManager()->LoadString(&strFormat, idsResetQuestion);
    strPrompt.Format(strFormat, static_cast<LPCTSTR>(m_strTitle));
    return AfxMessageBox(strPrompt, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

BOOL CKLVToolBar::IsResetAvailable() {
    if (!IsCustomizable()) return FALSE;
    return m_pControls->IsChanged();
}

void CKLVToolBar::RestoreDefaultOrder() {
    CKLVControl* pSelected = GetControl(m_nSelected);
    CKLVControl* pPopuped = GetControl(m_nPopuped);
    for (int i = GetControlCount() - 1; i >= 0; --i) {
        CKLVControl* pControl = GetControl(i);
        if (!(pControl->GetHideFlags() & CKLVControl::hideCustomize)) continue;
        if (pControl == pSelected) pSelected = nullptr;
        if (pControl == pPopuped) pPopuped = nullptr;
        m_pControls->Remove(pControl);
    }
    if (CKLVControls* pOriginal = m_pControls->GetOriginalControls()) {
        for (int k = 0; k < pOriginal->GetCount(); ++k) {
            CKLVControl* pDefault = pOriginal->GetAt(k);
            BOOL bPresent = FALSE;
            for (int i = 0; !bPresent && i < GetControlCount(); ++i) bPresent = IsSameButton(GetControl(i), pDefault);
            if (bPresent) continue;
            CKLVControl* pCopy = m_pControls->AddClone(pDefault, k);
            pCopy->SetHideFlag(CKLVControl::hideCustomize, TRUE);
        }
    }
    m_nSelected = pSelected ? pSelected->GetIndex() : -1;
    m_nPopuped = pPopuped ? pPopuped->GetIndex() : -1;
}

void CKLVToolBar::FillAddRemoveButtons(CKLVCommandBar* pTarget) {
    RestoreDefaultOrder();
    CKLVControls* pOriginal = m_pControls->GetOriginalControls();
    CKLVControls* pSource = pOriginal ? pOriginal : m_pControls;
    std::vector<CKLVControl*> listed;
    for (int k = 0; k < pSource->GetCount(); ++k) {
        CKLVControl* pControl = pSource->GetAt(k);
        const UINT nId = static_cast<UINT>(pControl->GetId());
        if (nId == idToolBarOptions || nId == idCloseButton || (pControl->GetHideFlags() & kNotListedHideFlags) ||
            (pControl->GetAction() && !pControl->GetAction()->IsVisible()) ||
            (pControl->GetFlags() & CKLVControl::flagNoMovable))
            continue;
        // The list toggles the bar's own button, matched to the loaded one.
        CKLVControl* pOnBar = pControl;
        if (pOriginal) {
            pOnBar = nullptr;
            for (int i = 0; !pOnBar && i < GetControlCount(); ++i) {
                CKLVControl* pCandidate = GetControl(i);
                if (IsSameButton(pCandidate, pControl) &&
                    std::find(listed.begin(), listed.end(), pCandidate) == listed.end())
                    pOnBar = pCandidate;
            }
            if (!pOnBar) continue;
        }
        listed.push_back(pOnBar);
        auto* pItem = new CKLVControlToolBarAddRemoveItem(pOnBar);
        pItem->SetCaption(pControl->GetCaption());
        const int nType = pControl->GetType();
        if (nType == CKLVControl::typeButton || nType == CKLVControl::typePopup ||
            nType == CKLVControl::typeButtonPopup || nType == CKLVControl::typeSplitButtonPopup)
            pItem->m_nIconId = pControl->GetImageId();
        pItem->m_strShortcutText = pControl->GetShortcutText();
        pItem->m_bChecked = !(pOnBar->GetHideFlags() & CKLVControl::hideCustomize);
        pTarget->GetControls()->Append(pItem);
    }
    if (!pOriginal || m_bTemporary || !m_bResettable) return;
    auto* pReset = new CKLVControlToolBarResetItem(this);
    pReset->m_nId = idResetToolBar;
    CString strPrompt;
    KLVResourceManager()->LoadString(&strPrompt, idResetToolBar);
    pReset->SetCaption(strPrompt.Mid(strPrompt.ReverseFind('\n') + 1));
    pReset->SetBeginGroup(TRUE);
    pTarget->GetControls()->Append(pReset);
}

void CKLVToolBar::OnSetPreviewMode(BOOL bPreview) {
    if (bPreview && !m_bPreview) {
        m_bPreviewVisible = m_bVisible;
        m_bPreview = TRUE;
        if (m_bVisible) SetVisible(FALSE);
        return;
    }
    if (bPreview || !m_bPreview) return;
    m_bPreview = FALSE;
    if (m_bPreviewVisible) SetVisible(TRUE);
    if (m_barType == barTypeMenuBar)
        if (CFrameWnd* pFrame = GetFrameSite()) pFrame->RecalcLayout();
}

int CKLVToolBar::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    if (m_pTracker || nChar != VK_TAB) return CKLVCommandBar::OnHookKeyDown(nChar, lParam);
    const BOOL bPrevious = ::GetKeyState(VK_SHIFT) < 0;
    if (CWnd* pParent = GetParent())
        if (HWND hNext = ::GetNextDlgTabItem(pParent->GetSafeHwnd(), m_hWnd, bPrevious)) ::SetFocus(hNext);
    SetTrackingMode(0);
    return hookKeyHandled;
}

void CKLVToolBar::Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive) {
    CKLVCommandBar::Copy(pCommandBar, bRecursive);
    auto* pToolBar = DYNAMIC_DOWNCAST(CKLVToolBar, pCommandBar);
    if (!pToolBar) return;
    m_bResettable = pToolBar->m_bResettable;
    m_bTemporary = pToolBar->m_bTemporary;
    m_bShowOptionsButton = pToolBar->m_bShowOptionsButton;
    m_bCloseable = pToolBar->m_bCloseable;
    m_bContextMenuPresent = pToolBar->m_bContextMenuPresent;
    m_bCustomizeDialogPresent = pToolBar->m_bCustomizeDialogPresent;
}

// The tool-bar family's keys of the saved state, after the bar's.
void CKLVToolBar::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVCommandBar::DoPropExchange(pPX);
    const UINT nSchema = pPX->GetSchema();
    PX_Bool(pPX, "BuiltIn", m_bBuiltIn, TRUE);
    PX_Bool(pPX, "TearOff", m_bTearOffBar, FALSE);
    if (nSchema > 6) PX_Bool(pPX, "Closeable", m_bCloseable, TRUE);
    if (nSchema > 7) PX_Bool(pPX, "ContextMenuPresent", m_bContextMenuPresent, TRUE);
    if (nSchema > 16) PX_Bool(pPX, "CustomizeDialogPresent", m_bCustomizeDialogPresent, TRUE);
    // Menu bars saved before they could be closed stay open.
    if (pPX->IsLoading() && nSchema <= 16 && m_barType == barTypeMenuBar) m_bCloseable = FALSE;
    OnStateExchangeHook();
}
