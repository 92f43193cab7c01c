#include "app/FlatBorder.h"

#include "toolkit/commandbars/PaintManager.h"
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

void KLVDrawFlatWindowBorder(HWND hWnd, COLORREF clrBorder) {
    HDC hDC = ::GetWindowDC(hWnd);
    if (!hDC) return;
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::OffsetRect(&rc, -rc.left, -rc.top);
    HBRUSH hBrush = ::CreateSolidBrush(clrBorder);
    ::FrameRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::ReleaseDC(hWnd, hDC);
}
