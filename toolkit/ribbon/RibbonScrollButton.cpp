#include "toolkit/ribbon/RibbonScrollButton.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/ribbon/RibbonGroupScroller.h"

IMPLEMENT_DYNCREATE(CKLVRibbonScrollButton, CKLVControlButton)

CKLVRibbonScrollButton::CKLVRibbonScrollButton(BOOL bRight) : m_bRight(bRight) { m_dwFlags = scrollFlags; }

void CKLVRibbonScrollButton::Draw(CDC* pDC) {
    if (auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager()))
        pTheme->DrawRibbonScrollButton(pDC, this, !m_bRight);
    else
        CKLVControlButton::Draw(pDC);
}

CKLVRibbonGroupScroller* CKLVRibbonScrollButton::FindScroller() const { return CKLVRibbonGroupScroller::Of(m_pParent); }

void CKLVRibbonScrollButton::OnClick(BOOL bKeyboard, CPoint) {
    CKLVRibbonGroupScroller* pScroller = FindScroller();
    if (!pScroller) return;
    pScroller->Scroll(m_bRight);
    if (!bKeyboard) RunAutoRepeat(pScroller);
}

void CKLVRibbonScrollButton::RunAutoRepeat(CKLVRibbonGroupScroller* pScroller) {
    CKLVCommandBar* pBar = m_pParent;
    if (!pBar || !pBar->GetSafeHwnd()) return;
    const HWND hWnd = pBar->GetSafeHwnd();
    const UINT nDoubleClick = ::GetDoubleClickTime();
    ::SetCapture(hWnd);
    UINT_PTR nTimer = ::SetTimer(hWnd, timerScroll, nDoubleClick * 4 / 5, nullptr);
    BOOL bFirstTick = TRUE;
    MSG msg;
    while (IsVisible() && GetCapturedMessage(hWnd, msg)) {
        if (msg.message == WM_LBUTTONUP) break;
        if (msg.message == WM_TIMER && msg.wParam == timerScroll) {
            pScroller->Scroll(m_bRight);
            if (bFirstTick) nTimer = ::SetTimer(hWnd, timerScroll, nDoubleClick / 10, nullptr);
            bFirstTick = FALSE;
            continue;
        }
        ::DispatchMessageA(&msg);
    }
    if (::GetCapture() == hWnd) ::ReleaseCapture();
    if (nTimer) ::KillTimer(hWnd, timerScroll);
    RedrawParent(FALSE);
}
