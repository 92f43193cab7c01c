#include "toolkit/common/DrawHelpers.h"

#include "classlib/Wnd.h"
#include "classlib/WinApp.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/LoadedModule.h"
#include "toolkit/common/OSVersionInfo.h"

#include <algorithm>
#include <cstring>

namespace {

int Channel(COLORREF clr, int nShift) { return static_cast<int>((clr >> nShift) & 0xFF); }

COLOR16 Vertex16(COLORREF clr, int nShift) { return static_cast<COLOR16>(Channel(clr, nShift) << 8); }

template <class T>
T Gdi32Proc(LPCSTR lpszName) {
    return KLVProcCast<T>(::GetProcAddress(::GetModuleHandleA("GDI32.DLL"), lpszName));
}

}  // namespace

CKLVDrawHelpers::CKLVDrawHelpers() {
    m_hMsImg32 = ::LoadLibraryA("msimg32.dll");
    if (m_hMsImg32) m_pfnGradientFill = KLVProcCast<decltype(m_pfnGradientFill)>(::GetProcAddress(m_hMsImg32, "GradientFill"));
}

CKLVDrawHelpers::~CKLVDrawHelpers() {
    if (m_hMsImg32) ::FreeLibrary(m_hMsImg32);
}

CKLVDrawHelpers* GetDrawHelpers() {
    static CKLVDrawHelpers s_helpers;
    return &s_helpers;
}

COLORREF CKLVDrawHelpers::BlendColorsF(COLORREF clrFirst, COLORREF clrSecond, float fFactor) {
    auto mix = [&](int nShift) {
        int n = static_cast<int>(Channel(clrFirst, nShift) * fFactor + Channel(clrSecond, nShift) * (1 - fFactor));
        return std::clamp(n, 0, 255);
    };
    return RGB(mix(0), mix(8), mix(16));
}

BOOL CKLVDrawHelpers::IsLowResolution(HDC hDC) { return CKLVColorManager::IsLowResolution(hDC); }

void CKLVDrawHelpers::GradientFill(CDC* pDC, const RECT* lpRect, COLORREF clrFirst, COLORREF clrSecond, BOOL bHorz) {
    if (!AfxGetSafeHdc(pDC) || !lpRect || ::IsRectEmpty(lpRect)) return;
    if (IsLowResolution(AfxGetSafeHdc(pDC)) || clrFirst == clrSecond) {
        pDC->FillSolidRect(lpRect, clrFirst);
        return;
    }
    // Mirrored DCs of the 9x family draw the system's gradient wrongly.
    if (m_pfnGradientFill && !(IsContextRTL(pDC) && GetOSVersionInfo()->IsWin9x())) {
        TRIVERTEX vertices[2] = {
            {lpRect->left, lpRect->top, Vertex16(clrFirst, 0), Vertex16(clrFirst, 8), Vertex16(clrFirst, 16), 0},
            {lpRect->right, lpRect->bottom, Vertex16(clrSecond, 0), Vertex16(clrSecond, 8), Vertex16(clrSecond, 16), 0},
        };
        GRADIENT_RECT gradientRect = {0, 1};
        m_pfnGradientFill(AfxGetSafeHdc(pDC), vertices, 2, &gradientRect, 1,
                          bHorz ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    DrawOwnGradient(pDC, *lpRect, clrFirst, clrSecond, bHorz);
}

// One solid line per pixel, only where the DC can draw.
void CKLVDrawHelpers::DrawOwnGradient(CDC* pDC, const RECT& rect, COLORREF clrFirst, COLORREF clrSecond, BOOL bHorz) {
    CRect area(rect), clip;
    if (pDC->GetClipBox(&clip) > NULLREGION && !clip.IsRectEmpty()) area.IntersectRect(&clip, &rect);
    const int nExtent = std::max(1, static_cast<int>(bHorz ? rect.right - rect.left : rect.bottom - rect.top));
    const int nFrom = bHorz ? area.left : area.top, nTo = bHorz ? area.right : area.bottom;
    const int nStart = bHorz ? rect.left : rect.top;
    for (int i = nFrom; i < nTo; ++i) {
        float f = 1.0f - static_cast<float>(i - nStart) / nExtent;
        COLORREF clr = BlendColorsF(clrFirst, clrSecond, f);
        if (bHorz)
            pDC->FillSolidRect(i, area.top, 1, area.Height(), clr);
        else
            pDC->FillSolidRect(area.left, i, area.Width(), 1, clr);
    }
}

void CKLVDrawHelpers::GradientFillClipped(CDC* pDC, const RECT* lpRect, COLORREF clrFirst, COLORREF clrSecond,
                                          BOOL bHorz, const RECT* lpClip) {
    if (!lpClip || !lpRect) {
        GradientFill(pDC, lpRect, clrFirst, clrSecond, bHorz);
        return;
    }
    // Work along x for horizontal gradients and along y otherwise.
    CRect rect(lpRect);
    LONG& nStart = bHorz ? rect.left : rect.top;
    LONG& nEnd = bHorz ? rect.right : rect.bottom;
    LONG& nAcrossStart = bHorz ? rect.top : rect.left;
    LONG& nAcrossEnd = bHorz ? rect.bottom : rect.right;
    const LONG nClipStart = bHorz ? lpClip->left : lpClip->top, nClipEnd = bHorz ? lpClip->right : lpClip->bottom;
    nAcrossStart = std::max(nAcrossStart, bHorz ? lpClip->top : lpClip->left);
    nAcrossEnd = std::min(nAcrossEnd, bHorz ? lpClip->bottom : lpClip->right);
    // A rectangle of no length has no colours to interpolate (and nothing to draw).
    const double dLength = static_cast<double>(nEnd) - nStart;
    if (dLength <= 0 || nStart > nClipEnd || nEnd < nClipStart) return;
    COLORREF clrFrom = clrFirst, clrTo = clrSecond;
    if (nStart < nClipStart) {
        clrFrom = BlendColorsF(clrFirst, clrSecond, static_cast<float>((nEnd - nClipStart) / dLength));
        nStart = nClipStart;
    }
    if (nEnd > nClipEnd) {
        clrTo = BlendColorsF(clrFirst, clrSecond, static_cast<float>((nEnd - nClipEnd) / dLength));
        nEnd = nClipEnd;
    }
    GradientFill(pDC, &rect, clrFrom, clrTo, bHorz);
}

void CKLVDrawHelpers::GradientFillValue(CDC* pDC, const RECT* lpRect, const CKLVGradientColorValue& grc, BOOL bHorz,
                                        const RECT* lpClip) {
    const COLORREF clrFrom = grc.m_clrFrom, clrTo = grc.m_clrTo;
    if (grc.m_fGradientFactor == 0.5f || !lpRect) {
        GradientFillClipped(pDC, lpRect, clrFrom, clrTo, bHorz, lpClip);
        return;
    }
    const COLORREF clrMiddle = BlendColorsF(clrFrom, clrTo, grc.m_fGradientFactor);
    CRect first(lpRect), second(lpRect);
    if (bHorz)
        first.right = second.left = lpRect->right - (lpRect->right - lpRect->left) / 2;
    else
        first.bottom = second.top = lpRect->bottom - (lpRect->bottom - lpRect->top) / 2;
    GradientFillClipped(pDC, &first, clrFrom, clrMiddle, bHorz, lpClip);
    GradientFillClipped(pDC, &second, clrMiddle, clrTo, bHorz, lpClip);
}

void CKLVDrawHelpers::ExcludeCorners(CDC* pDC, int nLeft, int nTop, int nRight, int nBottom) {
    pDC->ExcludeClipRect(nLeft, nTop, nLeft + 1, nTop + 1);
    pDC->ExcludeClipRect(nRight - 1, nTop, nRight, nTop + 1);
    pDC->ExcludeClipRect(nLeft, nBottom - 1, nLeft + 1, nBottom);
    pDC->ExcludeClipRect(nRight - 1, nBottom - 1, nRight, nBottom);
}

void CKLVDrawHelpers::Triangle(CDC* pDC, int x0, int y0, int x1, int y1, int x2, int y2) {
    const POINT points[3] = {{x0, y0}, {x1, y1}, {x2, y2}};
    pDC->Polygon(points, 3);
}

void CKLVDrawHelpers::SolidTriangle(CDC* pDC, int x0, int y0, int x1, int y1, int x2, int y2, COLORREF clr) {
    CPen pen(PS_SOLID, 1, clr);
    CBrush brush(clr);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    Triangle(pDC, x0, y0, x1, y1, x2, y2);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

void CKLVDrawHelpers::BlurPoints(CDC* pDC, const POINT* pPoints, int nCount) {
    for (int i = 0; i + 1 < nCount; i += 2) {
        const POINT& pt = pPoints[i];
        const POINT& offset = pPoints[i + 1];
        COLORREF clrOwn = pDC->GetPixel(pt), clrOther = pDC->GetPixel(pt.x + offset.x, pt.y + offset.y);
        pDC->SetPixel(pt, RGB((Channel(clrOwn, 0) + Channel(clrOther, 0)) / 2,
                              (Channel(clrOwn, 8) + Channel(clrOther, 8)) / 2,
                              (Channel(clrOwn, 16) + Channel(clrOther, 16)) / 2));
    }
}

DWORD CKLVDrawHelpers::GetLayout(HDC hDC) {
    auto pfn = Gdi32Proc<DWORD(WINAPI*)(HDC)>("GetLayout");
    return pfn ? pfn(hDC) : 0;
}

DWORD CKLVDrawHelpers::SetLayout(HDC hDC, DWORD dwLayout) {
    auto pfn = Gdi32Proc<DWORD(WINAPI*)(HDC, DWORD)>("SetLayout");
    return pfn ? pfn(hDC, dwLayout) : 0;
}

BOOL CKLVDrawHelpers::IsContextRTL(CDC* pDC) { return AfxGetSafeHdc(pDC) && GetLayout(AfxGetSafeHdc(pDC)) != 0; }

void CKLVDrawHelpers::SetContextRTL(CDC* pDC, DWORD dwLayout) {
    if (AfxGetSafeHdc(pDC)) SetLayout(AfxGetSafeHdc(pDC), dwLayout);
}

void CKLVDrawHelpers::KeyToLayout(CWnd* pWnd, UINT* pnVirtKey) {
    if (!AfxGetSafeHwnd(pWnd) || !(pWnd->GetExStyle() & WS_EX_LAYOUTRTL)) return;
    if (*pnVirtKey == VK_LEFT)
        *pnVirtKey = VK_RIGHT;
    else if (*pnVirtKey == VK_RIGHT)
        *pnVirtKey = VK_LEFT;
}

void CKLVDrawHelpers::ScreenToWindow(CWnd* pWnd, POINT* pPoint) {
    if (!AfxGetSafeHwnd(pWnd)) return;
    CRect rect;
    pWnd->GetWindowRect(&rect);
    pPoint->y -= rect.top;
    pPoint->x = pWnd->GetExStyle() & WS_EX_LAYOUTRTL ? rect.right - pPoint->x : pPoint->x - rect.left;
}

BOOL CKLVDrawHelpers::IsTopParentActive(HWND hWnd) {
    HWND hTop = hWnd;
    for (HWND hNext; hTop && (hNext = ::GetParent(hTop)) != nullptr;) hTop = hNext;
    return hTop && ::GetLastActivePopup(hTop) == ::GetForegroundWindow();
}

BOOL CKLVDrawHelpers::RegisterWndClass(HINSTANCE hInstance, LPCTSTR lpszClassName, UINT nStyle, HICON hIcon,
                                       HBRUSH hbrBackground) {
    WNDCLASSA wc = {};
    wc.style = nStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInstance ? hInstance : AfxGetInstanceHandle();
    wc.hIcon = hIcon;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = lpszClassName;
    return ::RegisterClassA(&wc) != 0;
}

void CKLVDrawHelpers::StripMnemonics(LPTSTR lpszText) {
    if (!lpszText || lpszText == reinterpret_cast<LPTSTR>(-1)) return;
    LPTSTR lpszOut = lpszText;
    for (LPCTSTR lpsz = lpszText; *lpsz; ++lpsz) {
        if (*lpsz == '&') {
            if (lpsz[1] != '&') continue;
            ++lpsz;
        }
        *lpszOut++ = *lpsz;
    }
    *lpszOut = '\0';
}

void CKLVDrawHelpers::StripMnemonicsString(CString& strText) {
    StripMnemonics(strText.GetBuffer());
    strText.ReleaseBuffer();
}

namespace {

struct FaceSearch {
    LPCSTR lpszFaceName;
    BOOL bFound;
};

int CALLBACK MatchFace(const LOGFONTA* pLogFont, const TEXTMETRICA*, DWORD, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<FaceSearch*>(lParam);
    pSearch->bFound = ::lstrcmpiA(pLogFont->lfFaceName, pSearch->lpszFaceName) == 0;
    return !pSearch->bFound;   // 0 ends the enumeration at the first match
}

}  // namespace

BOOL CKLVDrawHelpers::FontExists(LPCTSTR lpszFaceName) {
    HDC hDC = ::GetDC(nullptr);
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    FaceSearch search = {lpszFaceName, FALSE};
    if (hDC && lpszFaceName) ::EnumFontFamiliesExA(hDC, &lf, MatchFace, reinterpret_cast<LPARAM>(&search), 0);
    ::ReleaseDC(nullptr, hDC);
    return search.bFound;
}

CString CKLVDrawHelpers::GetDefaultFontName(BOOL bPreferTahoma) {
    LOGFONTA lf = {};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    if (lf.lfCharSet > SYMBOL_CHARSET && GetOSVersionInfo()->IsWin2KOrGreater() &&
        ::lstrcmpiA(lf.lfFaceName, "MS Shell Dlg") != 0)
        return lf.lfFaceName;
    if (!FontExists("Arial")) return lf.lfFaceName;
    return bPreferTahoma && FontExists("Tahoma") ? "Tahoma" : "Arial";
}
