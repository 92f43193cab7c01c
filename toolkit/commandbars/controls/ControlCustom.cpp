#include "toolkit/commandbars/controls/ControlCustom.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controls/ControlLists.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"
#include "toolkit/common/WindowSubclasser.h"

#include <windowsx.h>

#include <algorithm>

KLV_IMPLEMENT_SERIAL(CKLVControlCustom, CKLVControlButton)

namespace {

constexpr int kVerticalDock = 0x10;   // LM_VERTDOCK
constexpr UINT kShowOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
// Stored margins and sizes come from outside the program: kept within what a window can take, so
// that a damaged store can neither size the window negatively nor overflow the control's size.
constexpr LONG kMaxExtent = 0x7FFF;

LONG ClampExtent(LONG n) { return std::clamp<LONG>(n, 0, kMaxExtent); }

}  // namespace

CKLVControlCustom::CKLVControlCustom() {
    m_nType = typeCustom;
    m_dwFlags = flagNoMovable;
}

CKLVControlCustom::~CKLVControlCustom() { KLVWindowSubclasser()->RemoveSink(this); }

void CKLVControlCustom::SetControl(HWND hWnd) {
    if (m_hwndControl) KLVWindowSubclasser()->UnhookWindow(m_hwndControl, this);
    m_hwndControl = hWnd;
    if (!hWnd) return;
    m_nControlId = ::GetDlgCtrlID(hWnd);
    KLVWindowSubclasser()->HookWindow(hWnd, this);
}

BOOL CKLVControlCustom::IsWindowShown() const {
    return m_hwndControl && ::IsWindow(m_hwndControl) && (::GetWindowLongA(m_hwndControl, GWL_STYLE) & WS_VISIBLE);
}

void CKLVControlCustom::UpdateVisibility() {
    if (!m_hwndControl || !::IsWindow(m_hwndControl)) return;
    const BOOL bBarShown = m_pParent && m_pParent->GetSafeHwnd() &&
                           (m_pParent->IsVisible() || ::IsWindowVisible(m_pParent->GetSafeHwnd()));
    const BOOL bShow = bBarShown && m_bShowWindow && IsVisible(0);
    ::SetWindowPos(m_hwndControl, nullptr, 0, 0, 0, 0, kShowOnly | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CKLVControlCustom::SetEnabled(int bEnabled) {
    m_bEnabled = bEnabled;
    if (m_hwndControl && ::IsWindow(m_hwndControl)) ::EnableWindow(m_hwndControl, GetEnabled() ? TRUE : FALSE);
    RedrawParent(TRUE);
}

void CKLVControlCustom::SetRect(CRect rc) {
    const HWND hwndBar = m_pParent ? m_pParent->GetSafeHwnd() : nullptr;
    const BOOL bHosted = m_hwndControl && ::IsWindow(m_hwndControl);
    if (rc == m_rcControl && bHosted && ::GetParent(m_hwndControl) == hwndBar) return;
    m_rcControl = rc;
    if (!bHosted) return;
    if (hwndBar && ::GetParent(m_hwndControl) != hwndBar) {
        const LONG nStyle = ::GetWindowLongA(m_hwndControl, GWL_STYLE);
        ::SetWindowLongA(m_hwndControl, GWL_STYLE, (nStyle & ~static_cast<LONG>(WS_POPUP)) | WS_CHILD);
        ::SetParent(m_hwndControl, hwndBar);
    }
    const LONG cx = std::max<LONG>(0, rc.Width() - m_rcBorders.left - m_rcBorders.right);
    const LONG cy = std::max<LONG>(0, rc.Height() - m_rcBorders.top - m_rcBorders.bottom);
    ::MoveWindow(m_hwndControl, rc.left + m_rcBorders.left, rc.top + m_rcBorders.top, cx, cy, TRUE);
    UpdateVisibility();
}

void CKLVControlCustom::SetHideFlags(DWORD dwFlags) {
    m_dwHideFlags = dwFlags;
    UpdateVisibility();
    DelayLayoutParent();
}

CSize CKLVControlCustom::GetSize(CDC* pDC) {
    if (!m_hwndControl || !m_bShowWindow) return CKLVControlButton::GetSize(pDC);
    return CSize(m_szControl.cx + m_rcBorders.left + m_rcBorders.right,
                 m_szControl.cy + m_rcBorders.top + m_rcBorders.bottom);
}

void CKLVControlCustom::Draw(CDC* pDC) {
    // A shown window paints itself.
    if (!IsWindowShown()) CKLVControlButton::Draw(pDC);
}

void CKLVControlCustom::PrepareDynamicLayout(int nMode) {
    const BOOL bVertical = (nMode & kVerticalDock) != 0;
    if (m_nVerticalOptions == verticalHide) {
        SetHideFlag(hideDocking, bVertical);
    } else if (m_nVerticalOptions == verticalButton) {
        m_bShowWindow = !bVertical;
        UpdateVisibility();
    }
}

void CKLVControlCustom::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVControlButton::DoPropExchange(pPX);
    PX_Rect(pPX, "Borders", m_rcBorders, CRect(0, 0, 0, 0));
    PX_Size(pPX, "ControlSize", m_szControl, CSize(0, 0));
    if (pPX->IsLoading()) {
        m_rcBorders.SetRect(ClampExtent(m_rcBorders.left), ClampExtent(m_rcBorders.top), ClampExtent(m_rcBorders.right),
                            ClampExtent(m_rcBorders.bottom));
        m_szControl = CSize(ClampExtent(m_szControl.cx), ClampExtent(m_szControl.cy));
    }
    PX_Long(pPX, "VerticalOptions", m_nVerticalOptions, 0);
    if (pPX->GetSchema() > 5) PX_Long(pPX, "ControlId", m_nControlId, 0);
    if (pPX->IsLoading() && m_nControlId != 0) {
        const int nId = m_nControlId;
        SetControl(FindControlById(nId));
        m_nControlId = nId;
    }
}

HWND CKLVControlCustom::FindControlById(int nId) const {
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    if (!pCommandBars) return nullptr;
    if (CWnd* pSite = pCommandBars->GetSite())
        if (HWND hWnd = pSite->GetSafeHwnd() ? ::GetDlgItem(pSite->GetSafeHwnd(), nId) : nullptr) return hWnd;
    for (int i = 0; i < pCommandBars->GetCount(); ++i) {
        CKLVCommandBar* pBar = pCommandBars->GetAt(i);
        if (HWND hWnd = pBar && pBar->GetSafeHwnd() ? ::GetDlgItem(pBar->GetSafeHwnd(), nId) : nullptr) return hWnd;
    }
    return nullptr;
}

void CKLVControlCustom::Copy(CKLVControl* pControl, BOOL bRecursive) {
    if (auto* pCustom = DYNAMIC_DOWNCAST(CKLVControlCustom, pControl)) {
        m_rcBorders = pCustom->m_rcBorders;
        m_szControl = pCustom->m_szControl;
        m_nVerticalOptions = pCustom->m_nVerticalOptions;
        // Hooked like any window the control is given, so that the copy relays its mouse too.
        SetControl(pCustom->m_hwndControl);
        m_nControlId = pCustom->m_nControlId;
    }
    CKLVControl::Copy(pControl, bRecursive);
}

void CKLVControlCustom::OnClick(BOOL bKeyboard, CPoint pt) {
    if (IsWindowShown() && !IsCustomizeMode()) return;
    CKLVControlButton::OnClick(bKeyboard, pt);
}

BOOL CKLVControlCustom::IsCustomizeDragOverAvail(CKLVCommandBar* pBar, CPoint, DWORD&) {
    return klv_control_lists::IsPopupBar(pBar);
}

void CKLVControlCustom::OnRemoved() {
    UpdateVisibility();
    CKLVControlButton::OnRemoved();
}

void CKLVControlCustom::OnActionChanged(int nProperty) {
    if (nProperty == 2) UpdateVisibility();
}

int CKLVControlCustom::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT&) {
    if (nMessage != WM_MOUSEMOVE || !m_pParent || !m_pParent->GetSafeHwnd()) return hookContinue;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::MapWindowPoints(hWnd, m_pParent->GetSafeHwnd(), &pt, 1);
    m_pParent->SendMessage(WM_MOUSEMOVE, wParam, MAKELPARAM(pt.x, pt.y));
    return hookContinue;
}
