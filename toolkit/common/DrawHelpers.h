// Drawing services every toolkit window uses while painting: two-colour gradients (the system's
// when it can, else drawn line by line), small shapes, right-to-left layout helpers, mnemonic
// stripping and font choice.
#pragma once

#include "classlib/Dc.h"
#include "classlib/String.h"

class CWnd;
class CKLVGradientColorValue;

class CKLVDrawHelpers {
public:
    CKLVDrawHelpers();
    virtual ~CKLVDrawHelpers();
    CKLVDrawHelpers(const CKLVDrawHelpers&) = delete;
    CKLVDrawHelpers& operator=(const CKLVDrawHelpers&) = delete;

    // From clrFirst at the left (or top) to clrSecond at the right (or bottom).
    void GradientFill(CDC* pDC, const RECT* lpRect, COLORREF clrFirst, COLORREF clrSecond, BOOL bHorz);
    // The part of that gradient inside lpClip.
    void GradientFillClipped(CDC* pDC, const RECT* lpRect, COLORREF clrFirst, COLORREF clrSecond, BOOL bHorz,
                             const RECT* lpClip);
    // A factor other than 0.5 splits the rectangle in the middle, where the colour is the factor's
    // mix of the two ends.
    void GradientFillValue(CDC* pDC, const RECT* lpRect, const CKLVGradientColorValue& grc, BOOL bHorz,
                           const RECT* lpClip = nullptr);

    // Per channel clrFirst * f + clrSecond * (1 - f), truncated into 0 to 255.
    static COLORREF BlendColorsF(COLORREF clrFirst, COLORREF clrSecond, float fFactor);
    static BOOL IsLowResolution(HDC hDC = nullptr);
    static void ExcludeCorners(CDC* pDC, int nLeft, int nTop, int nRight, int nBottom);
    static void Triangle(CDC* pDC, int x0, int y0, int x1, int y1, int x2, int y2);
    static void SolidTriangle(CDC* pDC, int x0, int y0, int x1, int y1, int x2, int y2, COLORREF clr);
    // Pairs of points (a pixel, an offset): the pixel becomes the mean of itself and the pixel at
    // the offset. Only whole pairs are read.
    static void BlurPoints(CDC* pDC, const POINT* pPoints, int nCount);

    static DWORD GetLayout(HDC hDC);
    static DWORD SetLayout(HDC hDC, DWORD dwLayout);
    static BOOL IsContextRTL(CDC* pDC);
    static void SetContextRTL(CDC* pDC, DWORD dwLayout);
    // Left and right arrow keys swap in a right-to-left window.
    static void KeyToLayout(CWnd* pWnd, UINT* pnVirtKey);
    static void ScreenToWindow(CWnd* pWnd, POINT* pPoint);
    static BOOL IsTopParentActive(HWND hWnd);
    static BOOL RegisterWndClass(HINSTANCE hInstance, LPCTSTR lpszClassName, UINT nStyle, HICON hIcon = nullptr,
                                 HBRUSH hbrBackground = nullptr);

    // '&' marks the next character as mnemonic and goes; '&&' stands for one '&'.
    static void StripMnemonics(LPTSTR lpszText);
    static void StripMnemonicsString(CString& strText);
    static BOOL FontExists(LPCTSTR lpszFaceName);
    static CString GetDefaultFontName(BOOL bPreferTahoma = FALSE);

    HMODULE m_hMsImg32 = nullptr;
    BOOL(WINAPI* m_pfnGradientFill)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG) = nullptr;

private:
    void DrawOwnGradient(CDC* pDC, const RECT& rect, COLORREF clrFirst, COLORREF clrSecond, BOOL bHorz);
};

// The process-wide helper, built on first use.
CKLVDrawHelpers* GetDrawHelpers();

// A thread mouse hook that swallows a click outside one registered window and moves the focus
// to that window's owner (or parent). Null removes the hook.
void SetOutsideClickHook(CWnd* pWnd);
BOOL IsOutsideClickHookActive();
