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
    std::vector<BYTE> rows;   // 24-bit blue-green-red, bottom row first, each row padded to 4 bytes
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
        FAILED(hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr,
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
    const UINT nStride = (nWidth * 3 + 3) & ~3u;
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

// The pixels drawn into an enhanced metafile, whose frame gives the picture's size: the form of
// picture every rich-edit version reads from RTF alike.
std::vector<BYTE> MetafileOf(const Pixels& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(pixels.nWidth);
    info.bmiHeader.biHeight = static_cast<LONG>(pixels.nHeight);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int nWidth = static_cast<int>(pixels.nWidth), nHeight = static_cast<int>(pixels.nHeight);
    const RECT rcFrame{0, 0, ::MulDiv(nWidth, 2540, 96), ::MulDiv(nHeight, 2540, 96)};
    HDC hdc = ::CreateEnhMetaFileA(nullptr, nullptr, &rcFrame, nullptr);
    if (!hdc) return {};
    ::StretchDIBits(hdc, 0, 0, nWidth, nHeight, 0, 0, nWidth, nHeight, pixels.rows.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    HENHMETAFILE hMetafile = ::CloseEnhMetaFile(hdc);
    if (!hMetafile) return {};
    std::vector<BYTE> bytes(::GetEnhMetaFileBits(hMetafile, 0, nullptr));
    ::GetEnhMetaFileBits(hMetafile, static_cast<UINT>(bytes.size()), bytes.data());
    ::DeleteEnhMetaFile(hMetafile);
    return bytes;
}

}  // namespace

std::string HelpPictureRtf(const std::string& strPath, int nMaxWidth, std::string& strFailure) {
    Pixels pixels;
    if (!Decode(strPath, nMaxWidth, pixels, strFailure)) return std::string();
    const std::vector<BYTE> metafile = MetafileOf(pixels);
    if (metafile.empty()) {
        strFailure = strPath + " cannot be shown: its picture cannot be drawn, " + SystemErrorText(::GetLastError());
        return std::string();
    }
    // The size in hundredths of a millimetre and no goal size: the view shows it pixel for pixel.
    char szHead[96];
    std::snprintf(szHead, sizeof(szHead), "{\\rtf1{\\pict\\emfblip\\picw%d\\pich%d\n",
                  ::MulDiv(static_cast<int>(pixels.nWidth), 2540, 96), ::MulDiv(static_cast<int>(pixels.nHeight), 2540, 96));
    std::string strRtf = szHead;
    strRtf.reserve(strRtf.size() + metafile.size() * 2 + metafile.size() / 32 + 8);
    AppendHex(strRtf, metafile.data(), metafile.size());
    strRtf += "}}";
    return strRtf;
}
