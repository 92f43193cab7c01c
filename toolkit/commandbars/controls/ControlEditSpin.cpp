// The edit control's spin buttons: hot tracking, the held press with its accelerating step, and
// the step itself.
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controls/ControlEdit.h"

#include <windowsx.h>

#include <climits>
#include <cstdlib>

CRect CKLVControlEdit::GetSpinButtonsRect() const {
    if (!m_bShowSpinButtons) return CRect(0, 0, 0, 0);
    return CRect(m_rcControl.right - spinButtonsWidth, m_rcControl.top + 1, m_rcControl.right - 1, m_rcControl.bottom - 1);
}

int CKLVControlEdit::SpinStepFor(DWORD dwElapsed) {
    const DWORD nUnits = dwElapsed / 1024;
    return nUnits >= 5 ? 20 : nUnits >= 2 ? 5 : 1;
}

int CKLVControlEdit::SteppedValue(const CString& strText, int nStep, int nDirection) {
    // Read wide and clamped, so that a huge number neither wraps nor makes the step overflow.
    long long nValue = std::strtoll(strText, nullptr, 10);
    if (nValue > INT_MAX) nValue = INT_MAX;
    if (nValue < INT_MIN) nValue = INT_MIN;
    nValue += static_cast<long long>(nStep) * nDirection;
    if (nStep > 0 && nDirection != 0)
        while (nValue % nStep != 0) nValue += nDirection;
    if (nValue > INT_MAX) nValue -= ((nValue - INT_MAX + nStep - 1) / nStep) * nStep;
    if (nValue < INT_MIN) nValue += ((INT_MIN - nValue + nStep - 1) / nStep) * nStep;
    return static_cast<int>(nValue);
}

void CKLVControlEdit::OnSpin(int nStep, int nDirection) {
    NMKLVSPIN spin = {};
    spin.base.pControl = this;
    spin.nDelta = nStep * nDirection;
    if (NotifySiteEx(nDirection > 0 ? notifySpinUp : notifySpinDown, &spin.base.hdr)) return;
    CString strValue;
    strValue.Format("%i", SteppedValue(GetEditText(), nStep, nDirection));
    SetEditText(strValue);
    NotifySite(notifyExecute);
}

void CKLVControlEdit::OnMouseMove(CPoint pt) {
    if (!GetEnabled() || !m_bShowSpinButtons || !m_nSelected) return;
    const CRect rcSpin = GetSpinButtonsRect();
    const int nSelected = !rcSpin.PtInRect(pt) ? 1 : pt.y < rcSpin.CenterPoint().y ? 3 : 4;
    if (nSelected == m_nSelected) return;
    m_nSelected = nSelected;
    RedrawParent(FALSE);
}

void CKLVControlEdit::TrackSpinButton(int nDirection) {
    CKLVCommandBar* pBar = m_pParent;
    if (!pBar || !pBar->GetSafeHwnd()) return;
    const HWND hwndBar = pBar->GetSafeHwnd();
    const int nState = nDirection > 0 ? 3 : 4;
    pBar->SetSelected(m_nIndex);
    m_nSelected = m_nPressed = nState;
    OnSpin(1, nDirection);
    ::SetCapture(hwndBar);
    ::SetTimer(hwndBar, timerSpin, spinFirstDelay, nullptr);
    DWORD dwClock = GetSpinClock();
    BOOL bFirstTick = TRUE;
    MSG msg;
    while (GetCapturedMessage(hwndBar, msg)) {
        if (msg.message == WM_LBUTTONUP) break;
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hwndBar) {
            const CRect rcSpin = GetSpinButtonsRect();
            const CRect rcHalf = nDirection > 0 ? CRect(rcSpin.left, rcSpin.top, rcSpin.right, rcSpin.CenterPoint().y)
                                                : CRect(rcSpin.left, rcSpin.CenterPoint().y, rcSpin.right, rcSpin.bottom);
            const int nPressed = rcHalf.PtInRect(CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam))) ? nState : 0;
            if (nPressed != m_nPressed) {
                m_nPressed = nPressed;
                dwClock = GetSpinClock();
                RedrawParent(FALSE);
            }
            continue;
        }
        if (msg.message == WM_TIMER && msg.hwnd == hwndBar && msg.wParam == timerSpin) {
            if (bFirstTick) ::SetTimer(hwndBar, timerSpin, spinRepeat, nullptr);
            bFirstTick = FALSE;
            if (m_nPressed) OnSpin(SpinStepFor(GetSpinClock() - dwClock), nDirection);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    ::KillTimer(hwndBar, timerSpin);
    m_nPressed = 0;
    if (::GetCapture() == hwndBar) ::ReleaseCapture();
    RedrawParent(FALSE);
    if (::IsWindow(hwndBar) && pBar->GetType() != CKLVCommandBar::barTypePopup) pBar->SetTrackingMode(FALSE);
}
