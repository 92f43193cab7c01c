#include "classlib/GdiObject.h"

#include "classlib/Dc.h"
#include "classlib/Exceptions.h"
#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"

#include <cstdlib>

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

namespace {

template <class T>
T* TemporaryGdiObject(HGDIOBJ hObject) {
    return AfxGetThreadState()->m_temporaries.FromHandle<T, &T::m_hObject>(hObject);
}

// Constructors that create their object report failure by exception, as they cannot return it.
void CheckCreated(BOOL bCreated) {
    if (!bCreated) AfxThrowResourceException();
}

}  // namespace

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return TemporaryGdiObject<CGdiObject>(hObject); }
CPen* CPen::FromHandle(HPEN hPen) { return TemporaryGdiObject<CPen>(hPen); }
CBrush* CBrush::FromHandle(HBRUSH hBrush) { return TemporaryGdiObject<CBrush>(hBrush); }
CFont* CFont::FromHandle(HFONT hFont) { return TemporaryGdiObject<CFont>(hFont); }
CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) { return TemporaryGdiObject<CBitmap>(hBitmap); }
CRgn* CRgn::FromHandle(HRGN hRgn) { return TemporaryGdiObject<CRgn>(hRgn); }

void CGdiObject::DeleteTempMap() { AfxGetThreadState()->m_temporaries.DeleteAll(); }

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) { CheckCreated(CreatePen(nPenStyle, nWidth, crColor)); }

CBrush::CBrush(COLORREF crColor) { CheckCreated(CreateSolidBrush(crColor)); }
CBrush::CBrush(int nIndex, COLORREF crColor) { CheckCreated(CreateHatchBrush(nIndex, crColor)); }
CBrush::CBrush(CBitmap* pBitmap) { CheckCreated(CreatePatternBrush(pBitmap)); }

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
    return Attach(::CreatePatternBrush(static_cast<HBITMAP>(AfxGetSafeHandle(pBitmap))));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    LOGFONTA logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = nPointSize;
    lstrcpynA(logFont.lfFaceName, lpszFaceName ? lpszFaceName : "", LF_FACESIZE);
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC) {
    HDC hDC = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
    // Tenths of a point to device pixels (72 points an inch), then to the DC's logical units;
    // the negative height asks for the character height, not the cell height.
    POINT pt = {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), lpLogFont->lfHeight, 720)};
    POINT ptOrigin = {0, 0};
    ::DPtoLP(hDC, &pt, 1);
    ::DPtoLP(hDC, &ptOrigin, 1);
    if (!pDC) ::ReleaseDC(nullptr, hDC);
    LOGFONTA logFont = *lpLogFont;
    logFont.lfHeight = -std::abs(pt.y - ptOrigin.y);
    return CreateFontIndirect(&logFont);
}

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(AfxGetSafeHdc(pDC), nWidth, nHeight));
}

CSize CBitmap::GetBitmapSize() const {
    BITMAP bm = {};
    if (!m_hObject || !GetBitmap(&bm)) return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}
