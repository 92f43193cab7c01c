// The store of command images: per command id a set of icons of different widths, filled from
// icons, bitmaps, resources and image lists, drawn through run-time bound alpha and transparent
// blits, and saved through property exchange.
#pragma once

#include "classlib/ImageList.h"
#include "classlib/Map.h"
#include "toolkit/common/ImageManagerIcon.h"
#include "toolkit/common/LoadedModule.h"

class CKLVImageManager;
class CKLVPropExchange;

// The icons of one command, keyed by width (17 buckets: saved icons follow the map's order).
class CKLVImageManagerIconSet : public CCmdTarget {
public:
    CKLVImageManagerIconSet(UINT nID, CKLVImageManager* pImageManager);
    ~CKLVImageManagerIconSet() override { RemoveAll(); }

    // Width 0: the narrowest; 1: the widest; else that width, or with bNearest the nearest one
    // (the first met in the map's order on a tie).
    CKLVImageManagerIcon* GetIcon(int nWidth, BOOL bNearest = TRUE) const;
    void SetIcon(const CKLVImageManagerIconHandle& hIcon, int nWidth);
    void SetDisabledIcon(const CKLVImageManagerIconHandle& hIcon, int nWidth);
    void SetHotIcon(const CKLVImageManagerIconHandle& hIcon, int nWidth);
    void SetCheckedIcon(const CKLVImageManagerIconHandle& hIcon, int nWidth);
    void SetPressedIcon(const CKLVImageManagerIconHandle& hIcon, int nWidth);
    void RemoveAll();
    void Refresh();
    UINT GetID() const { return m_nID; }

    CMap<UINT, UINT, CKLVImageManagerIcon*, CKLVImageManagerIcon*> m_mapIcons;

private:
    CKLVImageManagerIcon* GetOrCreate(int nWidth);

    UINT m_nID;
    CKLVImageManager* m_pImageManager;
};

class CKLVImageManager : public CCmdTarget {
public:
    enum State { stateNormal = 0, stateDisabled = 1, stateHot = 2, stateChecked = 3, statePressed = 4 };
    using PFNALPHABLEND = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    using PFNTRANSPARENTBLT = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

    CKLVImageManager();
    ~CKLVImageManager() override { RemoveAll(); }

    // Stores a copy of the image; the handle is consumed when it owns its images.
    BOOL SetIcon(CKLVImageManagerIconHandle hIcon, UINT nID, CSize szIcon = CSize(0, 0), int nState = stateNormal);
    BOOL SetIcons(CImageList* pImageList, const UINT* pCommands, int nCount, CSize szIcon, int nState = stateNormal);
    BOOL SetIcons(CBitmap* pBitmap, const UINT* pCommands, int nCount, CSize szIcon, int nState = stateNormal,
                  BOOL bAlpha = FALSE);
    BOOL SetIcons(UINT nIDBitmap, const UINT* pCommands, int nCount, CSize szIcon, int nState = stateNormal);

    CKLVImageManagerIcon* GetImage(UINT nCommand, int nWidth = 16) const;
    BOOL HasIconOfWidth(UINT nCommand, int nWidth) const;
    void RefreshAll();
    void RemoveAll();

    void DoPropExchangeIcons(UINT nCommand, CKLVPropExchange* pPX);
    void DoPropExchange(CKLVPropExchange* pPX);
    void Serialize(CArchive& ar) override;

    // Blits through the global manager's msimg32 entry points, with fallbacks of their own.
    static BOOL AlphaBlend(HDC hdcDest, const RECT& rcDest, HDC hdcSrc, const RECT& rcSrc);
    static BOOL AlphaBlendEmulation(HDC hdcDest, const RECT& rcDest, HDC hdcSrc, const RECT& rcSrc);
    static BOOL BlendBitmaps(HBITMAP hbmSrc, BOOL bMirrorSrc, HBITMAP hbmDest, BOOL bMirrorDest, HBITMAP hbmResult);
    static BOOL TransparentBlt(HDC hdcDest, const RECT& rcDest, HDC hdcSrc, const RECT& rcSrc, COLORREF clrTransparent);
    static BOOL TransparentBltEmulation(HDC hdcDest, const RECT& rcDest, HDC hdcSrc, const RECT& rcSrc,
                                        COLORREF clrTransparent);
    // A source size of 0 by 0 means the destination size.
    static void DrawAlphaBitmap(CDC* pDC, HBITMAP hBitmap, int x, int y, int cx, int cy, int nSrcX = 0,
                                int nSrcY = 0, int nSrcCx = 0, int nSrcCy = 0);
    static void DrawIconComposited(CDC* pDC, int x, int y, int cx, int cy, HICON hIcon);

    // Bitmap utilities.
    static HBITMAP Create32BitDIBSection(HDC hDC, int nWidth, int nHeight, BYTE** ppBits = nullptr);
    // The header (with room for three masks) and width × height × 4 pixel bytes of a 32-bit
    // bitmap; the caller frees both with free().
    static BOOL GetAlphaBitmapBits(HBITMAP hBitmap, BITMAPINFO** ppInfo, BYTE** ppBits, UINT* pnSize);
    static HBITMAP CopyAlphaBitmap(HBITMAP hBitmap);
    static HBITMAP PremultiplyBitmap(HBITMAP hBitmap);
    static HBITMAP FlipBitmap(HBITMAP hBitmap);
    static BOOL SplitBitmap(HBITMAP hBitmap, int nCount, HBITMAP* pBitmaps);
    static BOOL IsBitmapCompatible(const BITMAP& bmFirst, const BITMAP& bmSecond);
    static COLORREF GetBitmapPixel(CBitmap* pBitmap, CPoint pt);
    static CSize GetIconSize(HICON hIcon);
    static HICON ScaleIcon(HICON hIcon, int nWidth, int nHeight, int nNewWidth);
    static BOOL IsPngResource(HMODULE hModule, LPCTSTR lpszName);
    static HBITMAP Load32BitBitmapResource(HMODULE hModule, LPCTSTR lpszName);
    static HBITMAP LoadBitmapResource(HMODULE hModule, LPCTSTR lpszName, BOOL* pbAlpha);
    static HBITMAP LoadBitmapResource(LPCTSTR lpszName, BOOL* pbAlpha);
    static COLORREF LightenColor(COLORREF clr, double dFactor);

    CMap<UINT, UINT, CKLVImageManagerIconSet*, CKLVImageManagerIconSet*> m_mapImages;
    PFNALPHABLEND m_pfnAlphaBlend = nullptr;
    PFNTRANSPARENTBLT m_pfnTransparentBlt = nullptr;

private:
    BOOL SetAlphaStrips(CBitmap* pBitmap, const UINT* pCommands, int nCount, CSize szIcon, int nState);

    CKLVLoadedModule m_modMsImg32;
};

// The process-wide manager, made on first use.
CKLVImageManager* KLVImageManager();
