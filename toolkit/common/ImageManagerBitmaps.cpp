// Bitmap utilities of the image manager: 32-bit DIB sections, copies, premultiplying,
// mirroring, splitting, icon sizes and scaling, and bitmap and PNG resources.
#include "toolkit/common/ImageManager.h"

#include "classlib/WinApp.h"
#include "toolkit/common/GdiHandles.h"
#include "toolkit/common/PngBitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const size_t nInfoBytes = sizeof(BITMAPINFOHEADER) + 3 * sizeof(RGBQUAD);

struct CFreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// The pixels of a 32-bit bitmap with its header, read once.
struct CAlphaBits {
    explicit CAlphaBits(HBITMAP hBitmap) {
        BITMAPINFO* pInfo = nullptr;
        BYTE* pBits = nullptr;
        m_bValid = CKLVImageManager::GetAlphaBitmapBits(hBitmap, &pInfo, &pBits, &m_nSize);
        m_pInfo.reset(pInfo);
        m_pBits.reset(pBits);
    }
    int Width() const { return m_pInfo->bmiHeader.biWidth; }
    int Height() const { return m_pInfo->bmiHeader.biHeight; }
    // A new DIB section of this header, filled with the given pixels.
    HBITMAP MakeBitmap(const BYTE* pPixels) const {
        void* pvTarget = nullptr;
        HBITMAP hBitmap = ::CreateDIBSection(nullptr, m_pInfo.get(), DIB_RGB_COLORS, &pvTarget, nullptr, 0);
        if (hBitmap) std::memcpy(pvTarget, pPixels, m_nSize);
        return hBitmap;
    }

    BOOL m_bValid;
    UINT m_nSize = 0;
    std::unique_ptr<BITMAPINFO, CFreeDeleter> m_pInfo;
    std::unique_ptr<BYTE, CFreeDeleter> m_pBits;
};

const BITMAPINFOHEADER* FindBitmapHeader(HMODULE hModule, LPCTSTR lpszName, DWORD* pnSize) {
    HRSRC hResource = ::FindResourceA(hModule, lpszName, MAKEINTRESOURCEA(2));  // RT_BITMAP
    HGLOBAL hGlobal = hResource ? ::LoadResource(hModule, hResource) : nullptr;
    const void* pvData = hGlobal ? ::LockResource(hGlobal) : nullptr;
    *pnSize = pvData ? ::SizeofResource(hModule, hResource) : 0;
    return *pnSize >= sizeof(BITMAPINFOHEADER) ? static_cast<const BITMAPINFOHEADER*>(pvData) : nullptr;
}

}  // namespace

HBITMAP CKLVImageManager::Create32BitDIBSection(HDC hDC, int nWidth, int nHeight, BYTE** ppBits) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pvBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    if (ppBits) *ppBits = static_cast<BYTE*>(pvBits);
    return hBitmap;
}

BOOL CKLVImageManager::GetAlphaBitmapBits(HBITMAP hBitmap, BITMAPINFO** ppInfo, BYTE** ppBits, UINT* pnSize) {
    *ppInfo = nullptr;
    *ppBits = nullptr;
    BITMAP bm = {};
    if (!hBitmap || !::GetObject(hBitmap, sizeof bm, &bm) || bm.bmBitsPixel != 32 || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return FALSE;
    std::unique_ptr<BITMAPINFO, CFreeDeleter> pInfo(static_cast<BITMAPINFO*>(std::calloc(1, nInfoBytes)));
    const UINT nSize = static_cast<UINT>(bm.bmWidth) * static_cast<UINT>(bm.bmHeight) * 4;
    std::unique_ptr<BYTE, CFreeDeleter> pBits(static_cast<BYTE*>(std::malloc(nSize)));
    if (!pInfo || !pBits) return FALSE;
    BITMAPINFOHEADER& header = pInfo->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = bm.bmWidth;
    header.biHeight = bm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = nSize;
    HDC hScreen = ::GetDC(nullptr);
    const int nLines = ::GetDIBits(hScreen, hBitmap, 0, bm.bmHeight, pBits.get(), pInfo.get(), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hScreen);
    if (nLines != bm.bmHeight) return FALSE;
    *ppInfo = pInfo.release();
    *ppBits = pBits.release();
    *pnSize = nSize;
    return TRUE;
}

HBITMAP CKLVImageManager::CopyAlphaBitmap(HBITMAP hBitmap) {
    CAlphaBits bits(hBitmap);
    return bits.m_bValid ? bits.MakeBitmap(bits.m_pBits.get()) : nullptr;
}

HBITMAP CKLVImageManager::PremultiplyBitmap(HBITMAP hBitmap) {
    CAlphaBits bits(hBitmap);
    if (!bits.m_bValid) return nullptr;
    BYTE* pPixel = bits.m_pBits.get();
    for (UINT i = 0; i < bits.m_nSize; i += 4, pPixel += 4) {
        for (int nChannel = 0; nChannel < 3; ++nChannel)
            pPixel[nChannel] = static_cast<BYTE>(pPixel[nChannel] * pPixel[3] / 255);
    }
    return bits.MakeBitmap(bits.m_pBits.get());
}

HBITMAP CKLVImageManager::FlipBitmap(HBITMAP hBitmap) {
    CAlphaBits bits(hBitmap);
    if (!bits.m_bValid) return nullptr;
    auto* pPixels = reinterpret_cast<DWORD*>(bits.m_pBits.get());
    const int nWidth = bits.Width();
    for (int y = 0; y < bits.Height(); ++y) {
        DWORD* pRow = pPixels + static_cast<size_t>(y) * nWidth;
        std::reverse(pRow, pRow + nWidth);
    }
    return bits.MakeBitmap(bits.m_pBits.get());
}

BOOL CKLVImageManager::SplitBitmap(HBITMAP hBitmap, int nCount, HBITMAP* pBitmaps) {
    CAlphaBits bits(hBitmap);
    if (!bits.m_bValid || nCount <= 0 || bits.Width() % nCount != 0) return FALSE;
    const int nWidth = bits.Width() / nCount;
    BITMAPINFO* pInfo = bits.m_pInfo.get();
    pInfo->bmiHeader.biWidth = nWidth;
    pInfo->bmiHeader.biSizeImage /= nCount;
    for (int i = 0; i < nCount; ++i) {
        void* pvTarget = nullptr;
        pBitmaps[i] = ::CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, &pvTarget, nullptr, 0);
        if (!pBitmaps[i]) {
            for (int j = 0; j < i; ++j) ::DeleteObject(pBitmaps[j]);
            return FALSE;
        }
        const size_t nRowBytes = static_cast<size_t>(nWidth) * 4;
        for (int y = 0; y < bits.Height(); ++y) {
            const BYTE* pSource = bits.m_pBits.get() + (static_cast<size_t>(y) * nCount + i) * nRowBytes;
            std::memcpy(static_cast<BYTE*>(pvTarget) + y * nRowBytes, pSource, nRowBytes);
        }
    }
    return TRUE;
}

BOOL CKLVImageManager::IsBitmapCompatible(const BITMAP& bmFirst, const BITMAP& bmSecond) {
    return bmFirst.bmBitsPixel == bmSecond.bmBitsPixel && bmFirst.bmPlanes == bmSecond.bmPlanes &&
           bmFirst.bmWidth == bmSecond.bmWidth && bmFirst.bmHeight == bmSecond.bmHeight;
}

COLORREF CKLVImageManager::GetBitmapPixel(CBitmap* pBitmap, CPoint pt) {
    CKLVBitmapDC dc(nullptr, static_cast<HBITMAP>(AfxGetSafeHandle(pBitmap)));
    return dc ? ::GetPixel(dc.Get(), pt.x, pt.y) : CLR_INVALID;
}

CSize CKLVImageManager::GetIconSize(HICON hIcon) {
    CKLVIconBitmaps bitmaps(hIcon);
    BITMAP bm = {};
    if (!bitmaps.m_bValid || !::GetObject(bitmaps.m_mask.get(), sizeof bm, &bm)) return CSize(0, 0);
    // A monochrome icon's mask holds the mask and the image one above the other.
    return CSize(bm.bmWidth, bitmaps.m_color ? bm.bmHeight : bm.bmHeight / 2);
}

HICON CKLVImageManager::ScaleIcon(HICON hIcon, int nWidth, int nHeight, int nNewWidth) {
    if (nNewWidth == 0 || (nWidth == 0 && nHeight == 0)) return nullptr;
    if (nNewWidth == nWidth) return ::CopyIcon(hIcon);
    const int nNewHeight = ::MulDiv(nHeight, nNewWidth, nWidth);
    CImageList list;
    if (!list.Create(nNewWidth, nNewHeight, ILC_COLOR32 | ILC_MASK, 1, 1) || list.Add(hIcon) < 0) return nullptr;
    return list.ExtractIcon(0);
}

BOOL CKLVImageManager::IsPngResource(HMODULE hModule, LPCTSTR lpszName) {
    HRSRC hResource = ::FindResourceA(hModule, lpszName, "PNG");
    HGLOBAL hGlobal = hResource ? ::LoadResource(hModule, hResource) : nullptr;
    const auto* pData = hGlobal ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    return pData && ::SizeofResource(hModule, hResource) >= 4 && pData[0] == 0x89 && pData[1] == 'P' &&
           pData[2] == 'N' && pData[3] == 'G';
}

HBITMAP CKLVImageManager::Load32BitBitmapResource(HMODULE hModule, LPCTSTR lpszName) {
    DWORD nSize = 0;
    const BITMAPINFOHEADER* pHeader = FindBitmapHeader(hModule, lpszName, &nSize);
    if (!pHeader || pHeader->biBitCount != 32 || pHeader->biWidth <= 0 || pHeader->biHeight == 0 ||
        pHeader->biSize < sizeof(BITMAPINFOHEADER) || pHeader->biSize > nSize)
        return nullptr;
    // Pixels follow the whole header (a longer header is not taken for pixels), after the three
    // masks of a bit-field bitmap with the short header.
    ULONGLONG nOffset = pHeader->biSize;
    if (pHeader->biCompression == BI_BITFIELDS && pHeader->biSize == sizeof(BITMAPINFOHEADER)) nOffset += 12;
    const ULONGLONG nHeight = pHeader->biHeight < 0 ? 0ULL - pHeader->biHeight : ULONGLONG(pHeader->biHeight);
    const ULONGLONG nPixelBytes = ULONGLONG(pHeader->biWidth) * nHeight * 4;
    if (nPixelBytes > 0x7FFFFFFF || nOffset + nPixelBytes > nSize) return nullptr;

    BITMAPINFO bmi = {};
    bmi.bmiHeader = *pHeader;
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = static_cast<DWORD>(nPixelBytes);
    void* pvBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    if (hBitmap) std::memcpy(pvBits, reinterpret_cast<const BYTE*>(pHeader) + nOffset, static_cast<size_t>(nPixelBytes));
    return hBitmap;
}

HBITMAP CKLVImageManager::LoadBitmapResource(HMODULE hModule, LPCTSTR lpszName, BOOL* pbAlpha) {
    if (IsPngResource(hModule, lpszName)) {
        CKLVPngBitmap png;
        if (!png.LoadPngFromResource(hModule, ::FindResourceA(hModule, lpszName, "PNG"))) return nullptr;
        *pbAlpha = png.IsAlpha();
        return static_cast<HBITMAP>(png.Detach());
    }
    DWORD nSize = 0;
    const BITMAPINFOHEADER* pHeader = FindBitmapHeader(hModule, lpszName, &nSize);
    *pbAlpha = pHeader && pHeader->biBitCount == 32;
    if (*pbAlpha) return Load32BitBitmapResource(hModule, lpszName);
    return static_cast<HBITMAP>(::LoadImageA(hModule, lpszName, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

HBITMAP CKLVImageManager::LoadBitmapResource(LPCTSTR lpszName, BOOL* pbAlpha) {
    return LoadBitmapResource(AfxGetResourceHandle(), lpszName, pbAlpha);
}

COLORREF CKLVImageManager::LightenColor(COLORREF clr, double dFactor) {
    auto lighten = [dFactor](BYTE nChannel) { return static_cast<BYTE>(nChannel * (1 - dFactor) + 255 * dFactor); };
    return RGB(lighten(GetRValue(clr)), lighten(GetGValue(clr)), lighten(GetBValue(clr)));
}
