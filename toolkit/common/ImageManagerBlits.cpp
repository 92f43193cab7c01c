// The alpha and transparent blits: msimg32's where the system has them and they work, else
// emulations of our own that give the same pixels.
#include "toolkit/common/ImageManager.h"

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/GdiHandles.h"
#include "toolkit/common/OSVersionInfo.h"

#include <algorithm>

namespace {

// Keeps a DC's background and text colours for the scope.
class CKeepDCColors {
public:
    CKeepDCColors(HDC hDC, COLORREF clrBk, COLORREF clrText)
        : m_hDC(hDC), m_clrBk(::SetBkColor(hDC, clrBk)), m_clrText(::SetTextColor(hDC, clrText)) {}
    ~CKeepDCColors() {
        ::SetBkColor(m_hDC, m_clrBk);
        ::SetTextColor(m_hDC, m_clrText);
    }
    CKeepDCColors(const CKeepDCColors&) = delete;
    CKeepDCColors& operator=(const CKeepDCColors&) = delete;

private:
    HDC m_hDC;
    COLORREF m_clrBk;
    COLORREF m_clrText;
};

BOOL GetDIBSectionBits(HBITMAP hBitmap, BITMAP& bm) {
    return ::GetObject(hBitmap, sizeof bm, &bm) && bm.bmBits && bm.bmBitsPixel == 32 && bm.bmPlanes == 1;
}

}  // namespace

BOOL CKLVImageManager::AlphaBlend(HDC hdcDest, const RECT& rcDest, HDC hdcSrc, const RECT& rcSrc) {
    const CKLVOSVersionInfo* pVersion = GetOSVersionInfo();
    if (CKLVDrawHelpers::GetLayout(hdcDest) != 0 && pVersion->IsWin9x())
        return AlphaBlendEmulation(hdcDest, rcDest, hdcSrc, rcSrc);
    PFNALPHABLEND pfnAlphaBlend = KLVImageManager()->m_pfnAlphaBlend;
    if (pfnAlphaBlend && (pVersion->IsWin2KOrGreater() || (rcSrc.left == 0 && rcSrc.top == 0))) {
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return pfnAlphaBlend(hdcDest, rcDest.left, rcDest.top, rcDest.right - rcDest.left, rcDest.bottom - rcDest.top,
                             hdcSrc, rcSrc.left, rcSrc.top, rcSrc.right - rcSrc.left, rcSrc.bottom - rcSrc.top, blend);
    }
    return AlphaBlendEmulation(hdcDest, rcDest, hdcSrc, rcSrc);
}

BOOL CKLVImageManager::AlphaBlendEmulation(HDC hdcDest, const RECT& rcDest, HDC hdcSrc, const RECT& rcSrc) {
    const BOOL bMirrorSrc = CKLVDrawHelpers::GetLayout(hdcSrc) != 0;
    const BOOL bMirrorDest = CKLVDrawHelpers::GetLayout(hdcDest) != 0;
    const int cx = rcDest.right - rcDest.left, cy = rcDest.bottom - rcDest.top;
    CKLVBitmapOwner source(Create32BitDIBSection(hdcSrc, cx, cy));
    CKLVBitmapOwner background(Create32BitDIBSection(hdcSrc, cx, cy));
    CKLVBitmapOwner result(Create32BitDIBSection(hdcSrc, cx, cy));
    if (!source || !background || !result) return FALSE;
    BOOL bCopied;
    {
        CKLVBitmapDC sourceDC(hdcSrc, source.get()), backgroundDC(hdcSrc, background.get());
        if (!sourceDC || !backgroundDC) return FALSE;
        for (HDC hDC : {sourceDC.Get(), backgroundDC.Get()}) {
            CKLVDrawHelpers::SetLayout(hDC, 0);
            ::SetStretchBltMode(hDC, HALFTONE);
        }
        bCopied = ::StretchBlt(sourceDC.Get(), 0, 0, cx, cy, hdcSrc, rcSrc.left, rcSrc.top, rcSrc.right - rcSrc.left,
                               rcSrc.bottom - rcSrc.top, SRCCOPY) &&
                  ::BitBlt(backgroundDC.Get(), 0, 0, cx, cy, hdcDest, rcDest.left, rcDest.top, SRCCOPY);
    }
    if (!bCopied || !BlendBitmaps(source.get(), bMirrorSrc, background.get(), bMirrorDest, result.get())) return FALSE;
    CKLVBitmapDC resultDC(hdcSrc, result.get());
    return resultDC && ::BitBlt(hdcDest, rcDest.left, rcDest.top, cx, cy, resultDC.Get(), 0, 0,
                                SRCCOPY | (bMirrorDest ? NOMIRRORBITMAP : 0));
}

BOOL CKLVImageManager::BlendBitmaps(HBITMAP hbmSrc, BOOL bMirrorSrc, HBITMAP hbmDest, BOOL bMirrorDest,
                                    HBITMAP hbmResult) {
    BITMAP bmSrc = {}, bmDest = {}, bmResult = {};
    if (!GetDIBSectionBits(hbmSrc, bmSrc) || !GetDIBSectionBits(hbmDest, bmDest) ||
        !GetDIBSectionBits(hbmResult, bmResult) || !IsBitmapCompatible(bmSrc, bmDest) ||
        !IsBitmapCompatible(bmSrc, bmResult))
        return FALSE;
    ::GdiFlush();
    const int nWidth = bmSrc.bmWidth;
    for (int y = 0; y < bmSrc.bmHeight; ++y) {
        const auto* pSrcRow = static_cast<const BYTE*>(bmSrc.bmBits) + y * bmSrc.bmWidthBytes;
        const auto* pDestRow = static_cast<const BYTE*>(bmDest.bmBits) + y * bmDest.bmWidthBytes;
        BYTE* pResultRow = static_cast<BYTE*>(bmResult.bmBits) + y * bmResult.bmWidthBytes;
        for (int x = 0; x < nWidth; ++x) {
            const BYTE* s = pSrcRow + 4 * (bMirrorSrc ? nWidth - 1 - x : x);
            const BYTE* d = pDestRow + 4 * (bMirrorDest ? nWidth - 1 - x : x);
            for (int c = 0; c < 3; ++c) pResultRow[4 * x + c] = static_cast<BYTE>(s[c] + d[c] * (255 - s[3]) / 255);
        }
    }
    return TRUE;
}

BOOL CKLVImageManager::TransparentBlt(HDC hdcDest, const RECT& rcDest, HDC hdcSrc, const RECT& rcSrc,
                                      COLORREF clrTransparent) {
    PFNTRANSPARENTBLT pfnTransparentBlt = KLVImageManager()->m_pfnTransparentBlt;
    if (!pfnTransparentBlt || !GetOSVersionInfo()->IsWin2KOrGreater())
        return TransparentBltEmulation(hdcDest, rcDest, hdcSrc, rcSrc, clrTransparent);
    return pfnTransparentBlt(hdcDest, rcDest.left, rcDest.top, rcDest.right - rcDest.left, rcDest.bottom - rcDest.top,
                             hdcSrc, rcSrc.left, rcSrc.top, rcSrc.right - rcSrc.left, rcSrc.bottom - rcSrc.top,
                             clrTransparent);
}

BOOL CKLVImageManager::TransparentBltEmulation(HDC hdcDest, const RECT& rcDest, HDC hdcSrc, const RECT& rcSrc,
                                               COLORREF clrTransparent) {
    if (!hdcDest || !hdcSrc) return FALSE;
    CKeepDCColors destColors(hdcDest, RGB(255, 255, 255), RGB(0, 0, 0));
    const int cx = rcDest.right - rcDest.left, cy = rcDest.bottom - rcDest.top;
    const int nSrcCx = rcSrc.right - rcSrc.left, nSrcCy = rcSrc.bottom - rcSrc.top;
    CKLVBitmapOwner image(::CreateCompatibleBitmap(hdcDest, nSrcCx, nSrcCy));
    CKLVBitmapOwner mask(::CreateBitmap(nSrcCx, nSrcCy, 1, 1, nullptr));
    if (!image || !mask) return FALSE;
    CKLVBitmapDC imageDC(hdcDest, image.get()), maskDC(hdcDest, mask.get());
    if (!imageDC || !maskDC) return FALSE;
    BOOL bResult = ::BitBlt(imageDC.Get(), 0, 0, nSrcCx, nSrcCy, hdcSrc, rcSrc.left, rcSrc.top, SRCCOPY);
    // The mask: 1 where the image has the transparent colour.
    ::SetBkColor(imageDC.Get(), clrTransparent);
    bResult = ::BitBlt(maskDC.Get(), 0, 0, nSrcCx, nSrcCy, imageDC.Get(), 0, 0, SRCCOPY) && bResult;
    if (clrTransparent != RGB(0, 0, 0)) {
        // Transparent pixels of the image become black, so that SRCPAINT leaves the target there.
        ::SetBkColor(imageDC.Get(), RGB(0, 0, 0));
        ::SetTextColor(imageDC.Get(), RGB(255, 255, 255));
        bResult = ::BitBlt(imageDC.Get(), 0, 0, nSrcCx, nSrcCy, maskDC.Get(), 0, 0, SRCAND) && bResult;
    }
    if (cx != nSrcCx || cy != nSrcCy) {
        bResult = ::StretchBlt(hdcDest, rcDest.left, rcDest.top, cx, cy, maskDC.Get(), 0, 0, nSrcCx, nSrcCy, SRCAND) &&
                  ::StretchBlt(hdcDest, rcDest.left, rcDest.top, cx, cy, imageDC.Get(), 0, 0, nSrcCx, nSrcCy, SRCPAINT) &&
                  bResult;
    } else {
        bResult = ::BitBlt(hdcDest, rcDest.left, rcDest.top, cx, cy, maskDC.Get(), 0, 0, SRCAND) &&
                  ::BitBlt(hdcDest, rcDest.left, rcDest.top, cx, cy, imageDC.Get(), 0, 0, SRCPAINT) && bResult;
    }
    return bResult;
}

void CKLVImageManager::DrawAlphaBitmap(CDC* pDC, HBITMAP hBitmap, int x, int y, int cx, int cy, int nSrcX, int nSrcY,
                                       int nSrcCx, int nSrcCy) {
    if (nSrcCx == 0 && nSrcCy == 0) {
        nSrcCx = cx;
        nSrcCy = cy;
    }
    CKLVBitmapDC sourceDC(AfxGetSafeHdc(pDC), hBitmap);
    if (!sourceDC) return;
    AlphaBlend(AfxGetSafeHdc(pDC), CRect(x, y, x + cx, y + cy), sourceDC.Get(),
               CRect(nSrcX, nSrcY, nSrcX + nSrcCx, nSrcY + nSrcCy));
}

void CKLVImageManager::DrawIconComposited(CDC* pDC, int x, int y, int cx, int cy, HICON hIcon) {
    const CRect rcDest(cx < 0 ? x + cx : x, y, cx < 0 ? x : x + cx, y + cy);
    BYTE* pBits = nullptr;
    CKLVBitmapOwner buffer(Create32BitDIBSection(AfxGetSafeHdc(pDC), rcDest.Width(), rcDest.Height(), &pBits));
    if (!buffer) return;
    CKLVBitmapDC bufferDC(AfxGetSafeHdc(pDC), buffer.get());
    if (!bufferDC) return;
    const size_t nPixels = static_cast<size_t>(rcDest.Width()) * rcDest.Height();
    auto* pPixels = reinterpret_cast<DWORD*>(pBits);
    const DWORD dwMagenta = 0x00FF00FF;
    std::fill(pPixels, pPixels + nPixels, dwMagenta);
    ::DrawIconEx(bufferDC.Get(), cx < 0 ? -cx : 0, 0, hIcon, cx, cy, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
    // What the icon left magenta is transparent; everything it drew is opaque.
    for (size_t i = 0; i < nPixels; ++i) pPixels[i] = pPixels[i] == dwMagenta ? 0 : (pPixels[i] | 0xFF000000);
    AlphaBlend(AfxGetSafeHdc(pDC), rcDest, bufferDC.Get(), CRect(0, 0, rcDest.Width(), rcDest.Height()));
}
