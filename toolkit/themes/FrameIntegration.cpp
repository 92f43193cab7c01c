// The frame integration's operations: caption ownership and height, window region, status bar
// in the frame and the frame recalculation.
#include "toolkit/themes/FrameIntegration.h"

#include "classlib/FrameWnd.h"
#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/themes/PaintManagerTheme5.h"
#include "toolkit/common/FlagScope.h"
#include "toolkit/common/WinDwmWrapper.h"
#include "toolkit/common/WindowSubclasser.h"

namespace {

const int kCompositionBorder = 4;

}  // namespace

CKLVFrameIntegration::CKLVFrameIntegration(CWnd* pFrame, CKLVCommandBars* pCommandBars, CKLVCommandBar* pRibbonBar)
    : m_pFrame(pFrame), m_pRibbonBar(pRibbonBar), m_pCommandBars(pCommandBars),
      m_hWndFrame(pFrame ? pFrame->GetSafeHwnd() : nullptr) {
    if (!HasFrame()) return;
    m_bActive = ::GetActiveWindow() == m_pFrame->m_hWnd;
    ReadFrameBorder();
    KLVWindowSubclasser()->HookWindow(m_pFrame->m_hWnd, this);
}

CKLVFrameIntegration::~CKLVFrameIntegration() {
    // By handle: the frame object may be gone with its window.
    KLVWindowSubclasser()->UnhookWindow(m_hWndFrame, this);
}

CKLVPaintManagerTheme5* CKLVFrameIntegration::GetFramePaintManager() const {
    CKLVPaintManager* pPaintManager = m_pPaintManager                ? m_pPaintManager
                                      : m_pCommandBars ? m_pCommandBars->GetPaintManager()
                                                       : CKLVPaintManager::GetGlobalPaintManager();
    return dynamic_cast<CKLVPaintManagerTheme5*>(pPaintManager);
}

BOOL CKLVFrameIntegration::IsMaximizedMDIChild() const {
    if (!HasFrame()) return FALSE;
    return (m_pFrame->GetStyle() & WS_MAXIMIZE) && (m_pFrame->GetExStyle() & WS_EX_MDICHILD);
}

BOOL CKLVFrameIntegration::IsCaptionStandard() const {
    // A maximised MDI child's caption belongs to its main frame.
    if (IsMaximizedMDIChild()) return FALSE;
    if (!HasFrame()) return TRUE;
    const DWORD dwStyle = m_pFrame->GetStyle();
    if ((dwStyle & WS_CHILD) && (dwStyle & WS_MINIMIZE)) return TRUE;
    const auto* pOwner = dynamic_cast<const CKLVFrameCaptionOwner*>(m_pRibbonBar);
    if (!pOwner || !pOwner->IsCaptionOwnerVisible()) return TRUE;
    return m_pRibbonBar->GetPosition() != CKLVCommandBar::barTop;
}

int CKLVFrameIntegration::GetCaptionHeight() const {
    if (!IsCaptionStandard()) {
        const auto* pOwner = dynamic_cast<const CKLVFrameCaptionOwner*>(m_pRibbonBar);
        return pOwner ? pOwner->GetCaptionBandHeight() : 0;
    }
    const CKLVPaintManagerTheme5* pTheme = GetFramePaintManager();
    return (pTheme ? pTheme->m_nCaptionHeight : ::GetSystemMetrics(SM_CYCAPTION)) + m_nFrameBorder;
}

void CKLVFrameIntegration::ReadFrameBorder() {
    CRect rc(0, 0, 0, 0);
    ::AdjustWindowRectEx(&rc, m_pFrame->GetStyle(), FALSE, m_pFrame->GetExStyle());
    m_nFrameBorder = -rc.left;
}

void CKLVFrameIntegration::UpdateWindowRegion(int cx, int cy, BOOL bForce) {
    if (m_bBusy || !HasFrame()) return;
    if (!bForce && m_szLast == CSize(cx, cy)) return;
    CKLVFlagScope busy(m_bBusy);
    ReadFrameBorder();
    if (!m_bCompositionActive) {
        HRGN hRgn = nullptr;
        if (IsMaximizedMDIChild()) {
            hRgn = nullptr;
        } else if (m_pFrame->IsZoomed()) {
            hRgn = ::CreateRectRgn(m_nFrameBorder, m_nFrameBorder, cx - m_nFrameBorder, cy - m_nFrameBorder);
        } else if (CKLVPaintManagerTheme5* pTheme = GetFramePaintManager()) {
            hRgn = pTheme->CalcFrameRegion(this, cx, cy);
        }
        // The window owns the region once it is set.
        m_pFrame->SetWindowRgn(hRgn, TRUE);
    } else {
        if (!m_pFrame->IsZoomed()) m_nFrameBorder = kCompositionBorder;
        CKLVWinDwmWrapper::DwmExtendFrameIntoClientArea(m_pFrame->m_hWnd, 0, IsCaptionStandard() ? 0 : GetCaptionHeight(),
                                                       0, 0);
    }
    m_szLast = CSize(cx, cy);
}

void CKLVFrameIntegration::RefreshFrameRegion() {
    if (!HasFrame()) return;
    CRect rc;
    m_pFrame->GetWindowRect(&rc);
    UpdateWindowRegion(rc.Width(), rc.Height(), TRUE);
}

BOOL CKLVFrameIntegration::GetStatusBarHeight(int& nHeight) const {
    nHeight = 0;
    const CKLVPaintManagerTheme5* pTheme = GetFramePaintManager();
    if (!pTheme || !pTheme->m_bStatusBarFrame || !HasFrame()) return FALSE;
    HWND hStatus = ::GetDlgItem(m_pFrame->m_hWnd, idStatusBar);
    // Its own visibility: a hidden frame still lays its status bar out.
    const BOOL bVisible = hStatus && (::GetWindowLongPtrA(hStatus, GWL_STYLE) & WS_VISIBLE);
    if (!bVisible || !::SendMessageA(hStatus, msgStatusBarInFrame, 0, 0)) return FALSE;
    CRect rc;
    ::GetWindowRect(hStatus, &rc);
    nHeight = rc.Height();
    return TRUE;
}

void CKLVFrameIntegration::PostRecalcFrame() {
    if (!HasFrame()) return;
    m_bPendingRecalc = TRUE;
    m_pFrame->PostMessage(WM_IDLEUPDATECMDUI);
}

void CKLVFrameIntegration::RecalcFrame() {
    if (!HasFrame()) return;
    m_szLast = CSize(0, 0);
    m_bPendingRecalc = FALSE;
    m_pFrame->SetWindowPos(nullptr, 0, 0, 0, 0, recalcFrameFlags);
    if (auto* pFrameWnd = dynamic_cast<CFrameWnd*>(m_pFrame)) {
        pFrameWnd->RecalcLayout(FALSE);
    } else {
        CRect rc;
        m_pFrame->GetClientRect(&rc);
        m_pFrame->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
    }
    if (m_pRibbonBar && m_pRibbonBar->GetSafeHwnd()) m_pRibbonBar->Invalidate(FALSE);
}
