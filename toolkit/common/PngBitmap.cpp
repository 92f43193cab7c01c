#include "toolkit/common/PngBitmap.h"

#include "classlib/MemFile.h"

#include <png.h>

#include <climits>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace {

const size_t nSignatureBytes = 8;
const DWORD nMinResourceBytes = 10;

// Everything the decoder allocates, kept outside the frame that calls setjmp so that a
// longjmp from libpng finds it intact.
struct CDecodeState {
    CFile* pFile = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    BYTE* pPixels = nullptr;
    png_bytep* ppRows = nullptr;

    ~CDecodeState() {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        std::free(ppRows);
        std::free(pPixels);
    }
};

// Errors leave libpng by longjmp only: no C++ exception may unwind through its frames.
void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void ReadFromFile(png_structp png, png_bytep pData, png_size_t nLength) {
    auto* pState = static_cast<CDecodeState*>(png_get_io_ptr(png));
    UINT nRead = 0;
    try {
        nRead = nLength <= UINT_MAX ? pState->pFile->Read(pData, static_cast<UINT>(nLength)) : 0;
    } catch (CException* e) {
        e->Delete();
    }
    if (nRead != nLength) png_error(png, "short read");
}

void SetTransformations(png_structp png, png_infop info, CKLVPngBitmap::CBackground* pBackground) {
    png_uint_32 nWidth, nHeight;
    int nBitDepth, nColorType;
    png_get_IHDR(png, info, &nWidth, &nHeight, &nBitDepth, &nColorType, nullptr, nullptr, nullptr);
    if (nBitDepth == 16) png_set_strip_16(png);
    if (nColorType == PNG_COLOR_TYPE_PALETTE || nBitDepth < 8 || png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_expand(png);
    if (nColorType == PNG_COLOR_TYPE_GRAY || nColorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);

    png_color_16p pFileBackground = nullptr;
    if (png_get_bKGD(png, info, &pFileBackground)) {
        png_set_background(png, pFileBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
        pBackground->red = static_cast<BYTE>(pFileBackground->red);
        pBackground->green = static_cast<BYTE>(pFileBackground->green);
        pBackground->blue = static_cast<BYTE>(pFileBackground->blue);
    }
    double dFileGamma;
    if (png_get_gAMA(png, info, &dFileGamma)) png_set_gamma(png, 2.2, dFileGamma);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// Steps that libpng may leave by longjmp; only pState is touched on the way.
bool DecodeInto(CDecodeState* pState, int* pnWidth, int* pnHeight, int* pnChannels,
                CKLVPngBitmap::CBackground* pBackground) {
    if (setjmp(png_jmpbuf(pState->png))) return false;
    png_set_read_fn(pState->png, pState, ReadFromFile);
    png_set_sig_bytes(pState->png, static_cast<int>(nSignatureBytes));
    png_read_info(pState->png, pState->info);
    SetTransformations(pState->png, pState->info, pBackground);

    const png_uint_32 nWidth = png_get_image_width(pState->png, pState->info);
    const png_uint_32 nHeight = png_get_image_height(pState->png, pState->info);
    const size_t nRowBytes = png_get_rowbytes(pState->png, pState->info);
    const int nChannels = png_get_channels(pState->png, pState->info);
    // The bitmap made from it must stay within what a DIB section can address.
    if (nWidth == 0 || nHeight == 0 || nRowBytes < size_t(nWidth) * nChannels || nWidth > INT_MAX / 4 ||
        nHeight > INT_MAX / 4 / nWidth || nRowBytes > INT_MAX / nHeight)
        return false;
    pState->pPixels = static_cast<BYTE*>(std::malloc(nRowBytes * nHeight));
    pState->ppRows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * nHeight));
    if (!pState->pPixels || !pState->ppRows) return false;
    for (png_uint_32 y = 0; y < nHeight; ++y) pState->ppRows[y] = pState->pPixels + y * nRowBytes;
    png_read_image(pState->png, pState->ppRows);
    png_read_end(pState->png, nullptr);
    *pnWidth = static_cast<int>(nWidth);
    *pnHeight = static_cast<int>(nHeight);
    *pnChannels = nChannels;
    return true;
}

}  // namespace

BOOL CKLVPngBitmap::DecodePng(CFile* pFile, BYTE** ppPixels, int* pnWidth, int* pnHeight, int* pnChannels,
                              CBackground* pBackground) {
    *ppPixels = nullptr;
    BYTE signature[nSignatureBytes];
    try {
        if (pFile->Read(signature, sizeof signature) != sizeof signature) return FALSE;
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    if (png_sig_cmp(signature, 0, sizeof signature) != 0) return FALSE;

    CDecodeState state;
    state.pFile = pFile;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, nullptr);
    if (!state.png) return FALSE;
    state.info = png_create_info_struct(state.png);
    if (!state.info) return FALSE;
    CBackground background;
    if (!DecodeInto(&state, pnWidth, pnHeight, pnChannels, &background)) return FALSE;
    if (pBackground) *pBackground = background;
    *ppPixels = state.pPixels;
    state.pPixels = nullptr;
    return TRUE;
}

HBITMAP CKLVPngBitmap::CreateBitmap32FromPixels(const BYTE* pPixels, int nWidth, int nHeight, int nChannels) {
    if (!pPixels || nWidth <= 0 || nHeight <= 0 || (nChannels != 3 && nChannels != 4)) return nullptr;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pvBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    if (!hBitmap) return nullptr;
    auto* pTarget = static_cast<BYTE*>(pvBits);
    const size_t nPixels = static_cast<size_t>(nWidth) * nHeight;
    for (size_t i = 0; i < nPixels; ++i, pTarget += 4, pPixels += nChannels) {
        pTarget[0] = pPixels[2];
        pTarget[1] = pPixels[1];
        pTarget[2] = pPixels[0];
        pTarget[3] = nChannels == 4 ? pPixels[3] : 0;
    }
    return hBitmap;
}

BOOL CKLVPngBitmap::LoadPngFromFile(CFile* pFile) {
    BYTE* pPixels = nullptr;
    int nWidth = 0, nHeight = 0, nChannels = 0;
    if (!DecodePng(pFile, &pPixels, &nWidth, &nHeight, &nChannels, nullptr)) return FALSE;
    HBITMAP hBitmap = CreateBitmap32FromPixels(pPixels, nWidth, nHeight, nChannels);
    std::free(pPixels);
    if (!hBitmap) return FALSE;
    m_bAlpha = nChannels == 4;
    return Attach(hBitmap);
}

BOOL CKLVPngBitmap::LoadPngFromResource(HMODULE hModule, HRSRC hResource) {
    m_bAlpha = FALSE;
    DeleteObject();
    if (!hResource) return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
    const void* pvData = hGlobal ? ::LockResource(hGlobal) : nullptr;
    const DWORD nSize = ::SizeofResource(hModule, hResource);
    if (!pvData || nSize < nMinResourceBytes) return FALSE;
    // The memory file only reads: the resource bytes are never written.
    CMemFile file(static_cast<BYTE*>(const_cast<void*>(pvData)), nSize, 0);
    return LoadPngFromFile(&file);
}
