// The derived images of an icon: faded, shadow and the generated disabled image.
#include "toolkit/common/ImageManager.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/GdiHandles.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

// Changes one pixel, given as blue, green, red, alpha; bAlphaSource tells an alpha bitmap's
// pixel from a classic icon's opaque pixel (whose alpha byte means nothing).
using CPixelEffect = std::function<void(BYTE* pBgra, bool bAlphaSource)>;

struct CFreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// Fills target with a copy of the alpha source, changed in one read and one write of its pixels.
void ApplyToAlpha(const CKLVImageManagerIconHandle& source, CKLVImageManagerIconHandle& target,
                  const CPixelEffect& effect) {
    target.CopyHandle(source);
    BITMAPINFO* pInfo = nullptr;
    BYTE* pBits = nullptr;
    UINT nSize = 0;
    if (!CKLVImageManager::GetAlphaBitmapBits(target.GetBitmap(), &pInfo, &pBits, &nSize)) {
        target.Clear();
        return;
    }
    std::unique_ptr<BITMAPINFO, CFreeDeleter> info(pInfo);
    std::unique_ptr<BYTE, CFreeDeleter> bits(pBits);
    for (UINT i = 0; i < nSize; i += 4) effect(pBits + i, true);
    HDC hScreen = ::GetDC(nullptr);
    ::SetDIBits(hScreen, target.GetBitmap(), 0, pInfo->bmiHeader.biHeight, pBits, pInfo, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hScreen);
}

// A new icon from the classic source whose opaque pixels (mask 0) went through the effect.
void ApplyToIcon(const CKLVImageManagerIconHandle& source, CKLVImageManagerIconHandle& target,
                 const CPixelEffect& effect) {
    CKLVIconBitmaps bitmaps(source.GetIcon());
    BITMAP bm = {};
    if (!bitmaps.m_bValid || !bitmaps.m_color || !::GetObject(bitmaps.m_color.get(), sizeof bm, &bm)) return;
    {
        CKLVBitmapDC colorDC(nullptr, bitmaps.m_color.get()), maskDC(nullptr, bitmaps.m_mask.get());
        if (!colorDC || !maskDC) return;
        for (int x = 0; x < bm.bmWidth; ++x) {
            for (int y = 0; y < bm.bmHeight; ++y) {
                if (::GetPixel(maskDC.Get(), x, y) != RGB(0, 0, 0)) continue;
                const COLORREF clr = ::GetPixel(colorDC.Get(), x, y);
                BYTE bgra[4] = {GetBValue(clr), GetGValue(clr), GetRValue(clr), 255};
                effect(bgra, false);
                ::SetPixel(colorDC.Get(), x, y, RGB(bgra[2], bgra[1], bgra[0]));
            }
        }
    }
    ICONINFO info = {TRUE, 0, 0, bitmaps.m_mask.get(), bitmaps.m_color.get()};
    target = CKLVImageManagerIconHandle(::CreateIconIndirect(&info), TRUE);
}

void ApplyEffect(const CKLVImageManagerIconHandle& source, CKLVImageManagerIconHandle& target,
                 const CPixelEffect& effect) {
    target.Clear();
    if (source.IsAlpha())
        ApplyToAlpha(source, target, effect);
    else if (source.GetIcon())
        ApplyToIcon(source, target, effect);
}

BYTE Truncate(double dValue) { return static_cast<BYTE>(dValue); }

}  // namespace

void CKLVImageManagerIcon::CreateFadedIcon() {
    if (!m_hNormal.IsAlpha() && CKLVDrawHelpers::IsLowResolution()) {
        m_hFaded.CopyHandle(m_hNormal);
        return;
    }
    ApplyEffect(m_hNormal, m_hFaded, [](BYTE* pBgra, bool bAlphaSource) {
        if (bAlphaSource) {
            for (int c = 0; c < 3; ++c) pBgra[c] = Truncate(pBgra[c] * 0.7 + 76.5);
            return;
        }
        const COLORREF clr = CKLVImageManager::LightenColor(RGB(pBgra[2], pBgra[1], pBgra[0]), 0.3);
        pBgra[0] = GetBValue(clr);
        pBgra[1] = GetGValue(clr);
        pBgra[2] = GetRValue(clr);
    });
}

void CKLVImageManagerIcon::CreateShadowIcon() {
    const COLORREF clrBase = GetColorManager()->GetColor(31);
    const BYTE shadow[3] = {Truncate(GetBValue(clrBase) * 0.75), Truncate(GetGValue(clrBase) * 0.75),
                            Truncate(GetRValue(clrBase) * 0.75)};
    ApplyEffect(m_hHot.IsEmpty() ? m_hNormal : m_hHot, m_hShadow, [&shadow](BYTE* pBgra, bool) {
        for (int c = 0; c < 3; ++c) pBgra[c] = shadow[c];
    });
}

void CKLVImageManagerIcon::CreateDisabledIcon(COLORREF clrLight, COLORREF clrDark) {
    if (!m_hDisabledAuto.IsEmpty()) return;
    const bool bTinted = clrLight != COLORREF(-1) && clrDark != COLORREF(-1);
    const BYTE light[3] = {GetBValue(clrLight), GetGValue(clrLight), GetRValue(clrLight)};
    const BYTE dark[3] = {GetBValue(clrDark), GetGValue(clrDark), GetRValue(clrDark)};
    ApplyEffect(m_hNormal, m_hDisabledAuto, [&](BYTE* pBgra, bool bAlphaSource) {
        const double dLuminance = (pBgra[1] * 0.587 + pBgra[0] * 0.114 + pBgra[2] * 0.299) * 0.00392156862745098;
        if (bTinted) {
            for (int c = 0; c < 3; ++c) pBgra[c] = Truncate(dark[c] * (1 - dLuminance) + light[c] * dLuminance);
            return;
        }
        const BYTE nGrey = Truncate(std::pow(dLuminance, m_dDisabledBrightnessFactor) * 255);
        pBgra[0] = pBgra[1] = pBgra[2] = nGrey;
        if (bAlphaSource) pBgra[3] = Truncate(pBgra[3] / m_dDisabledAlphaFactor);
    });
}
