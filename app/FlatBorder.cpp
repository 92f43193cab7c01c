#include "app/FlatBorder.h"

#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/common/ColorManager.h"

COLORREF GetFlatBorderColor(BOOL bLight) {
    if (!CKLVPaintManager::GetGlobalPaintManager()) CKLVPaintManager::SetTheme(0);
    CKLVPaintManager* pPaintManager = CKLVPaintManager::GetGlobalPaintManager();
    const int nKind = pPaintManager ? pPaintManager->GetThemeId() : 0;
    UINT nIndex = 52;
    switch (nKind) {
    case 0:
    case 1: nIndex = bLight ? 20 : 16; break;
    case 2: nIndex = 54; break;
    case 3: nIndex = 57; break;
    default: break;
    }
    return GetColorManager()->GetColor(nIndex);
}

namespace {

// The corner right of the horizontal scroll bar and below the vertical one, inside the frame, in
// window coordinates; empty unless both bars show.
RECT ScrollBarCorner(HWND hWnd, const RECT& rcWindow) {
    RECT rcCorner = {0, 0, 0, 0};
    const LONG_PTR nBoth = WS_HSCROLL | WS_VSCROLL;
    if ((::GetWindowLongPtrA(hWnd, GWL_STYLE) & nBoth) != nBoth) return rcCorner;
    RECT rcClient;
    ::GetClientRect(hWnd, &rcClient);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rcClient), 2);
    ::OffsetRect(&rcClient, -rcWindow.left, -rcWindow.top);
    ::SetRect(&rcCorner, rcClient.right, rcClient.bottom, rcWindow.right - rcWindow.left - 1,
              rcWindow.bottom - rcWindow.top - 1);
    return rcCorner;
}

}  // namespace

void KLVDrawFlatWindowBorder(HWND hWnd, COLORREF clrBorder) {
    HDC hDC = ::GetWindowDC(hWnd);
    if (!hDC) return;
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    const RECT rcCorner = ScrollBarCorner(hWnd, rc);
    if (!::IsRectEmpty(&rcCorner)) ::FillRect(hDC, &rcCorner, ::GetSysColorBrush(COLOR_BTNFACE));
    ::OffsetRect(&rc, -rc.left, -rc.top);
    HBRUSH hBrush = ::CreateSolidBrush(clrBorder);
    ::FrameRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::ReleaseDC(hWnd, hDC);
}
