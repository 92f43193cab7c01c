#include "toolkit/commandbars/DialogBar.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/DialogBarControls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/common/StartupRegistrations.h"

#include <algorithm>

KLV_IMPLEMENT_SERIAL(CKLVDialogBar, CKLVToolBar)

BEGIN_MESSAGE_MAP(CKLVDialogBar, CKLVToolBar)
    ON_WM_NCHITTEST()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// The floating layout has no length of its own to keep to.
const int kFloatingLength = 32000;
// With the stretch bit, the length is the height when the bar lies along a vertical dock.
const DWORD kStretchAlongHeight = CKLVControls::modeVertDock;
// The hit test decides in this band inside the window's edge.
const int kResizeBand = 3;

}  // namespace

CKLVDialogBar::CKLVDialogBar() : m_pCaptionPopupBar(new CKLVPopupBar) { m_bCustomizable = FALSE; }

CKLVDialogBar::~CKLVDialogBar() { m_pCaptionPopupBar->InternalRelease(); }

CSize CKLVDialogBar::CalcDynamicLayout(int, DWORD dwMode) { return CalcLayout(kFloatingLength, dwMode, m_szFloating); }

CSize CKLVDialogBar::CalcDockingLayout(int nLength, DWORD dwMode, int) { return CalcLayout(nLength, dwMode, m_szDocked); }

CSize CKLVDialogBar::CalcLayout(int nLength, DWORD dwMode, CSize szChild) {
    CSize sz(szChild.cx + m_rcBorders.left + m_rcBorders.right, szChild.cy + m_rcBorders.top + m_rcBorders.bottom);
    if (!m_bCaption) {
        m_nCaptionHeight = 0;
        return sz;
    }
    CClientDC dc(GetSafeHwnd() ? this : nullptr);
    m_nCaptionHeight = GetPaintManager()->DrawDialogBarGripper(&dc, this, FALSE).cy;
    sz.cy += m_nCaptionHeight;
    if (dwMode & CKLVControls::modeStretch) {
        if (dwMode & kStretchAlongHeight)
            sz.cy = std::max<int>(sz.cy, nLength);
        else
            sz.cx = std::max<int>(sz.cx, nLength);
    }
    if (dwMode & CKLVControls::modeHorz)
        sz.cx = std::min<int>(sz.cx, nLength);
    else
        sz.cy = std::min<int>(sz.cy, nLength);
    LayoutCaptionControls(sz.cx);
    return sz;
}

CKLVControl* CKLVDialogBar::PrepareCloseButton() {
    CKLVControl* pClose = m_pControls->FindControl(static_cast<int>(idCloseButton));
    if (!pClose) pClose = m_pControls->Add(new CKLVDialogBarCloseButton, static_cast<int>(idCloseButton), CString(), -1, TRUE);
    return pClose;
}

CKLVDialogBarCaptionPopup* CKLVDialogBar::PrepareCaptionPopup() {
    auto* pPopup = DYNAMIC_DOWNCAST(CKLVDialogBarCaptionPopup, m_pControls->FindControl(static_cast<int>(idCaptionPopup)));
    if (pPopup) return pPopup;
    pPopup = static_cast<CKLVDialogBarCaptionPopup*>(
        m_pControls->Add(new CKLVDialogBarCaptionPopup, static_cast<int>(idCaptionPopup), CString(), -1, TRUE));
    pPopup->SetCommandBar(m_pCaptionPopupBar);
    return pPopup;
}

void CKLVDialogBar::LayoutCaptionControls(int nWidth) {
    // The controls share the caption's vertical centre.
    const int nCentre = m_rcBorders.top + m_nCaptionHeight / 2;
    const int nRight = nWidth - m_rcBorders.right;
    CKLVControl* pClose = PrepareCloseButton();
    pClose->SetEnabled(TRUE);
    pClose->SetHideFlag(CKLVControl::hideGeneric, !m_bCloseable);
    const int half = captionButtonSize / 2;
    pClose->SetRect(CRect(nRight - captionButtonSize, nCentre - half, nRight, nCentre + half));

    CKLVDialogBarCaptionPopup* pPopup = PrepareCaptionPopup();
    pPopup->m_bShowArrow = m_bCaptionPopup && m_pCaptionPopupBar->GetControlCount() > 0;
    // The popup starts after the gripper the paint manager draws at the caption's left end.
    CClientDC dc(GetSafeHwnd() ? this : nullptr);
    const int nLeft = m_rcBorders.left + GetPaintManager()->DrawDialogBarGripper(&dc, this, FALSE).cx;
    const int nPopupRight = m_bCloseable ? nRight - captionButtonSize : nRight;
    const int nHalfHeight = std::max<int>(captionButtonSize, m_nCaptionHeight - 2 * kResizeBand) / 2;
    pPopup->SetRect(CRect(nLeft, nCentre - nHalfHeight, std::max(nLeft, nPopupRight), nCentre + nHalfHeight));
    pPopup->SetCaption(GetCaptionTitle());
}

CString CKLVDialogBar::GetCaptionTitle() const {
    if (!m_strCaption.IsEmpty() || !GetSafeHwnd()) return m_strCaption;
    CString strText;
    GetWindowText(strText);
    return strText;
}

void CKLVDialogBar::PositionChild() {
    if (!m_hwndChild || !::IsWindow(m_hwndChild) || !GetSafeHwnd()) return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nTop = m_rcBorders.top + m_nCaptionHeight;
    ::SetWindowPos(m_hwndChild, nullptr, m_rcBorders.left, nTop,
                   rcClient.Width() - m_rcBorders.left - m_rcBorders.right, rcClient.Height() - nTop - m_rcBorders.bottom,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hwndChild, nullptr, FALSE);
}

void CKLVDialogBar::OnSize(UINT nType, int cx, int cy) {
    CKLVToolBar::OnSize(nType, cx, cy);
    PositionChild();
}

void CKLVDialogBar::OnResize(int nLeft, int nTop, int nRight, int nBottom, int nHitTest) {
    const CRect rc(nLeft, nTop, nRight, nBottom);
    const CSize szChild(rc.Width() - m_rcBorders.left - m_rcBorders.right,
                        rc.Height() - m_rcBorders.top - m_rcBorders.bottom - m_nCaptionHeight);
    if (szChild.cx < m_szMinimum.cx || szChild.cy < m_szMinimum.cy) return;
    if (IsFloating()) {
        m_szFloating = szChild;
        CalcDynamicLayout(kFloatingLength, CKLVControls::modeHorz | CKLVControls::modeCommit);
        SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        Redraw();
        return;
    }
    if (nHitTest == HTLEFT || nHitTest == HTRIGHT)
        m_szDocked.cx = szChild.cx;
    else
        m_szDocked.cy = szChild.cy;
    OnRecalcLayout();
}

UINT CKLVDialogBar::HitTestFloatingEdge(CPoint point, const CRect& rcInner) {
    const BOOL bLeft = point.x < rcInner.left, bRight = point.x >= rcInner.right;
    const BOOL bTop = point.y < rcInner.top, bBottom = point.y >= rcInner.bottom;
    if (bTop) return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT : HTTOP;
    if (bBottom) return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT : HTBOTTOM;
    if (bLeft) return HTLEFT;
    if (bRight) return HTRIGHT;
    return 0;
}

UINT CKLVDialogBar::HitTestDockedEdge(CPoint point, const CRect& rcInner) const {
    // Only the edge that faces away from the frame's side is free.
    const BOOL bStretched = (m_nFlags & flagStretched) != 0;
    const BOOL bVertical = m_barPosition == barLeft || m_barPosition == barRight;
    if (m_barPosition == barBottom) {
        if (point.y < rcInner.top) return HTTOP;
    } else if (!(bStretched && bVertical) && point.y >= rcInner.bottom) {
        return HTBOTTOM;
    }
    if (m_barPosition == barRight) {
        if (point.x < rcInner.left) return HTLEFT;
    } else if (!(bStretched && !bVertical) && point.x >= rcInner.right) {
        return HTRIGHT;
    }
    return 0;
}

LRESULT CKLVDialogBar::OnNcHitTest(CPoint point) {
    if (m_bResizable && (IsFloating() || IsDocked())) {
        CRect rcInner;
        GetWindowRect(&rcInner);
        rcInner.DeflateRect(kResizeBand, kResizeBand);
        const UINT nHit = IsFloating() ? HitTestFloatingEdge(point, rcInner) : HitTestDockedEdge(point, rcInner);
        if (nHit) return nHit;
    }
    return CKLVCommandBar::OnNcHitTest(point);
}

BOOL CKLVDialogBar::IsPointInBar(CPoint ptScreen) const {
    if (!GetSafeHwnd()) return CKLVHookedPopupBar::hitSkip;
    CRect rcCaption;
    ::GetWindowRect(GetSafeHwnd(), &rcCaption);
    rcCaption.bottom = rcCaption.top + m_nCaptionHeight;
    return rcCaption.PtInRect(ptScreen) ? CKLVHookedPopupBar::hitInside : CKLVHookedPopupBar::hitSkip;
}

BOOL CKLVDialogBar::IsFocusInBar() const {
    const HWND hBar = GetSafeHwnd();
    const HWND hFocus = ::GetFocus();
    if (!hBar || !hFocus) return FALSE;
    if (hFocus == hBar || ::IsChild(hBar, hFocus)) return TRUE;
    const HWND hOwner = ::GetWindow(hFocus, GW_OWNER);
    return hOwner && ::IsChild(hBar, hOwner);
}

void CKLVDialogBar::OnIdleUpdate(BOOL bDisableIfNoHandler, BOOL bIgnored) {
    const BOOL bActive = IsFocusInBar();
    if (bActive != m_bActive) {
        m_bActive = bActive;
        Redraw();
    }
    CKLVToolBar::OnIdleUpdate(bDisableIfNoHandler, bIgnored);
}

void CKLVDialogBar::Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive) {
    CKLVToolBar::Copy(pCommandBar, bRecursive);
    auto* pDialogBar = DYNAMIC_DOWNCAST(CKLVDialogBar, pCommandBar);
    if (!pDialogBar) return;
    m_rcBorders = pDialogBar->m_rcBorders;
    m_bResizable = pDialogBar->m_bResizable;
    m_szMinimum = pDialogBar->m_szMinimum;
    m_bCaption = pDialogBar->m_bCaption;
    m_bCaptionPopup = pDialogBar->m_bCaptionPopup;
    m_szDocked = pDialogBar->m_szDocked;
    m_szFloating = pDialogBar->m_szFloating;
    m_strCaption = pDialogBar->m_strCaption;
    // The caption controls are temporary and not copied; the layout makes them again around
    // this bar's own popup bar, which gets copies of the source's items.
    m_pCaptionPopupBar->SetControls(pDialogBar->m_pCaptionPopupBar->GetControls()->Duplicate(bRecursive));
}
