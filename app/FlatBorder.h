// The themed flat border of the program's own windows: the system border and client edge give
// way to a one-pixel frame in the colour of the current command-bar theme.
#pragma once

#include "classlib/ClassLib.h"

// The frame colour for the current command-bar paint manager (made with theme 0 when there is
// none yet); bLight asks for the light variant of the first two kinds.
COLORREF GetFlatBorderColor(BOOL bLight = FALSE);

// Wraps a window class's procedure with the border's messages.
template <class TBase>
class CKLVFlatBorder : public TBase {
public:
    using TBase::TBase;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_CREATE: {
            const LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            if (lResult != -1) RemoveSystemBorder(this->GetSafeHwnd());
            return lResult;
        }
        case WM_NCCALCSIZE: {
            const LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            auto* pRect = reinterpret_cast<RECT*>(lParam);   // the first rectangle in both forms
            ::InflateRect(pRect, -1, -1);
            return lResult;
        }
        case WM_NCPAINT:
            DrawFlatBorder(this->GetSafeHwnd());
            return TBase::WindowProc(message, wParam, lParam);
        default:
            return TBase::WindowProc(message, wParam, lParam);
        }
    }

private:
    static void RemoveSystemBorder(HWND hWnd) {
        ::SetWindowLongPtrA(hWnd, GWL_STYLE, ::GetWindowLongPtrA(hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER));
        ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE,
                            ::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    static void DrawFlatBorder(HWND hWnd);
};

void KLVDrawFlatWindowBorder(HWND hWnd, COLORREF clrBorder);

template <class TBase>
void CKLVFlatBorder<TBase>::DrawFlatBorder(HWND hWnd) {
    KLVDrawFlatWindowBorder(hWnd, GetFlatBorderColor());
}
