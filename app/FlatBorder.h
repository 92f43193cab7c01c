// The themed flat border of the program's own windows: the system border and edges give way to
// a one-pixel frame in the colour of the current command-bar theme.
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
        case WM_NCPAINT: {
            // Over what the base paints: its size box between two scroll bars takes the corner.
            const LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            DrawFlatBorder(this->GetSafeHwnd());
            return lResult;
        }
        default:
            return TBase::WindowProc(message, wParam, lParam);
        }
    }

private:
    static void RemoveSystemBorder(HWND hWnd) {
        ::SetWindowLongPtrA(hWnd, GWL_STYLE, ::GetWindowLongPtrA(hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER));
        // A static edge would take the frame's place and leave a ring inside it that nothing paints.
        ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE,
                            ::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) &
                                ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    static void DrawFlatBorder(HWND hWnd);
};

// The frame round the window, and the corner between its two scroll bars filled inside it: the
// system's size box lies on the window's corner, out of line with the bars the frame moved in.
void KLVDrawFlatWindowBorder(HWND hWnd, COLORREF clrBorder);

template <class TBase>
void CKLVFlatBorder<TBase>::DrawFlatBorder(HWND hWnd) {
    KLVDrawFlatWindowBorder(hWnd, GetFlatBorderColor());
}
