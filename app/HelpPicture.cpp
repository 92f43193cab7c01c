#include "app/HelpPicture.h"

#include "app/SystemErrorText.h"
#include "app/WideText.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A COM interface pointer released when it goes.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (m_p) m_p->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T** Out() { return &m_p; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }

private:
    T* m_p = nullptr;
};

std::string Cause(const std::string& strPath, const char* lpszStep, HRESULT hr) {
    return strPath + " cannot be shown: " + lpszStep + " failed, " + SystemErrorText(static_cast<DWORD>(hr));
}

struct Pixels {
    UINT nWidth = 0, nHeight = 0;
    std::vector<BYTE> rows;   // 32-bit blue-green-red-unused, bottom row first
};

// The file decoded, scaled to nMaxWidth when wider, as the rows of a bottom-up DIB.
BOOL Decode(const std::string& strPath, int nMaxWidth, Pixels& pixels, std::string& strFailure) {
    ComRef<IWICImagingFactory> factory;
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.Out()));
    if (FAILED(hr)) return strFailure = Cause(strPath, "the imaging component", hr), FALSE;
    ComRef<IWICBitmapDecoder> decoder;
    hr = factory->CreateDecoderFromFilename(WideText(strPath, CP_ACP).c_str(), nullptr, GENERIC_READ,
                                            WICDecodeMetadataCacheOnDemand, decoder.Out());
    if (FAILED(hr)) return strFailure = Cause(strPath, "reading", hr), FALSE;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    if (FAILED(hr = decoder->GetFrame(0, frame.Out())) || FAILED(hr = factory->CreateFormatConverter(converter.Out())) ||
        FAILED(hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                          0.0, WICBitmapPaletteTypeCustom)))
        return strFailure = Cause(strPath, "decoding", hr), FALSE;
    UINT nWidth = 0, nHeight = 0;
    converter->GetSize(&nWidth, &nHeight);
    IWICBitmapSource* pSource = converter.Get();
    ComRef<IWICBitmapScaler> scaler;
    if (nMaxWidth > 0 && nWidth > static_cast<UINT>(nMaxWidth)) {
        const UINT nScaledHeight = static_cast<UINT>(::MulDiv(static_cast<int>(nHeight), nMaxWidth, static_cast<int>(nWidth)));
        if (FAILED(hr = factory->CreateBitmapScaler(scaler.Out())) ||
            FAILED(hr = scaler->Initialize(converter.Get(), static_cast<UINT>(nMaxWidth), nScaledHeight,
                                           WICBitmapInterpolationModeFant)))
            return strFailure = Cause(strPath, "scaling", hr), FALSE;
        pSource = scaler.Get();
        nWidth = static_cast<UINT>(nMaxWidth);
        nHeight = nScaledHeight;
    }
    const UINT nStride = nWidth * 4;
    std::vector<BYTE> topDown(static_cast<size_t>(nStride) * nHeight);
    if (FAILED(hr = pSource->CopyPixels(nullptr, nStride, static_cast<UINT>(topDown.size()), topDown.data())))
        return strFailure = Cause(strPath, "decoding", hr), FALSE;
    pixels.nWidth = nWidth;
    pixels.nHeight = nHeight;
    pixels.rows.resize(topDown.size());
    for (UINT y = 0; y < nHeight; ++y)
        std::copy_n(&topDown[static_cast<size_t>(y) * nStride], nStride,
                    &pixels.rows[static_cast<size_t>(nHeight - 1 - y) * nStride]);
    return TRUE;
}

void AppendHex(std::string& strOut, const BYTE* pBytes, size_t nCount) {
    static const char s_digits[] = "0123456789abcdef";
    for (size_t i = 0; i < nCount; ++i) {
        strOut += s_digits[pBytes[i] >> 4];
        strOut += s_digits[pBytes[i] & 15];
        if (i % 64 == 63) strOut += '\n';
    }
}

}  // namespace

std::string HelpPictureRtf(const std::string& strPath, int nMaxWidth, std::string& strFailure) {
    Pixels pixels;
    if (!Decode(strPath, nMaxWidth, pixels, strFailure)) return std::string();
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = static_cast<LONG>(pixels.nWidth);
    header.biHeight = static_cast<LONG>(pixels.nHeight);
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(pixels.rows.size());
    // No goal size: the view shows the bitmap pixel for pixel.
    char szHead[96];
    std::snprintf(szHead, sizeof(szHead), "{\\rtf1{\\pict\\dibitmap0\\picw%u\\pich%u\n", pixels.nWidth, pixels.nHeight);
    std::string strRtf = szHead;
    strRtf.reserve(strRtf.size() + (sizeof(header) + 4 + pixels.rows.size()) * 33 / 16 + 8);
    AppendHex(strRtf, reinterpret_cast<const BYTE*>(&header), sizeof(header));
    // Wine's rich edit looks for the pixels past a whole BITMAPINFO (the header and one colour):
    // one pixel of nothing stands there, which a reader that looks right after the header takes
    // as the first pixel, moving the picture by a pixel.
    const BYTE unused[4] = {0, 0, 0, 0};
    AppendHex(strRtf, unused, sizeof(unused));
    AppendHex(strRtf, pixels.rows.data(), pixels.rows.size());
    strRtf += "}}";
    return strRtf;
}
