// GDI objects: CGdiObject and its pens, brushes, fonts, bitmaps and regions. An object owns the
// handle it creates or attaches and deletes it when it is destroyed; Detach gives the handle up.
// FromHandle wraps a handle the caller does not own in a temporary object (see HandleMap.h).
#pragma once

#include "classlib/Geometry.h"
#include "classlib/HandleOwnership.h"
#include "classlib/Object.h"

class CDC;

class CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject() noexcept = default;
    ~CGdiObject() override { DeleteObject(); }

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }   // a pointer that may be null: AfxGetSafeHandle

    static CGdiObject* FromHandle(HGDIOBJ hObject);
    static void DeleteTempMap();

    // Takes ownership of hObject; a handle held before is deleted first. FALSE for null.
    BOOL Attach(HGDIOBJ hObject) { return AfxAttachHandle(m_hObject, hObject, ::DeleteObject); }
    HGDIOBJ Detach() { return AfxDetachHandle(m_hObject); }
    BOOL DeleteObject() { return AfxFreeHandle(m_hObject, ::DeleteObject); }   // FALSE when nothing is held

    int GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectA(m_hObject, nCount, lpObject); }
    UINT GetObjectType() const { return m_hObject ? ::GetObjectType(m_hObject) : 0; }
    BOOL CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }
    BOOL UnrealizeObject() { return ::UnrealizeObject(m_hObject); }
};

// The handle of pObject; null for no object.
inline HGDIOBJ AfxGetSafeHandle(const CGdiObject* pObject) {
    return AfxSafeHandle(pObject, &CGdiObject::m_hObject);
}

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() noexcept = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor);   // throws CResourceException on failure

    static CPen* FromHandle(HPEN hPen);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }

    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
        return Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
    BOOL CreatePenIndirect(const LOGPEN* lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }
    int GetLogPen(LOGPEN* pLogPen) const { return GetObject(sizeof(LOGPEN), pLogPen); }
};

class CBitmap;

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() noexcept = default;
    explicit CBrush(COLORREF crColor);                    // these throw CResourceException on failure
    CBrush(int nIndex, COLORREF crColor);                 // hatched
    explicit CBrush(CBitmap* pBitmap);                    // pattern

    static CBrush* FromHandle(HBRUSH hBrush);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

    BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor) { return Attach(::CreateHatchBrush(nIndex, crColor)); }
    BOOL CreatePatternBrush(CBitmap* pBitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush) { return Attach(::CreateBrushIndirect(lpLogBrush)); }
    BOOL CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }
    int GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    static CFont* FromHandle(HFONT hFont);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }

    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont) { return Attach(::CreateFontIndirectA(lpLogFont)); }
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                    BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
        return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                    bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                                    nQuality, nPitchAndFamily, lpszFacename));
    }
    // nPointSize in tenths of a point, converted to logical units of pDC (the screen for null).
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    // The same with lfHeight in tenths of a point.
    BOOL CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC = nullptr);
    int GetLogFont(LOGFONTA* pLogFont) const { return GetObject(sizeof(LOGFONTA), pLogFont); }
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* FromHandle(HBITMAP hBitmap);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

    // From the current resource handle (AfxGetResourceHandle).
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadOEMBitmap(UINT nIDBitmap) { return Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(nIDBitmap))); }
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
        return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
    }
    BOOL CreateBitmapIndirect(LPBITMAP lpBitmap) { return Attach(::CreateBitmapIndirect(lpBitmap)); }
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
    CSize GetBitmapSize() const;   // 0 by 0 without a bitmap
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    static CRgn* FromHandle(HRGN hRgn);
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    BOOL CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateEllipticRgn(x1, y1, x2, y2)); }
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
        return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
    }
    BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) {
        return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
    }

    // The region must exist already (CreateRectRgn(0, 0, 0, 0) makes an empty one).
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
        return ::CombineRgn(*this, *pRgn1, *pRgn2, nCombineMode);
    }
    int CopyRgn(const CRgn* pRgnSrc) { return ::CombineRgn(*this, *pRgnSrc, nullptr, RGN_COPY); }
    void SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn(*this, x1, y1, x2, y2); }
    void SetRectRgn(LPCRECT lpRect) { SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    int OffsetRgn(int x, int y) { return ::OffsetRgn(*this, x, y); }
    int GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox(*this, lpRect); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
    BOOL PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
    BOOL RectInRegion(LPCRECT lpRect) const { return ::RectInRegion(*this, lpRect); }
    BOOL EqualRgn(const CRgn* pRgn) const { return ::EqualRgn(*this, *pRgn); }
};
