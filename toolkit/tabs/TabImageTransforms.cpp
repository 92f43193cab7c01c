#include "toolkit/tabs/TabImageTransforms.h"

#include "toolkit/common/ImageManager.h"

#include <cstring>

namespace {

// A bottom-up 32-bit DIB section, released with its owner; null bits when it could not be made.
class CDibSection {
public:
    CDibSection(HDC hDC, int cx, int cy) {
        BYTE* pBits = nullptr;
        m_bitmap.Attach(CKLVImageManager::Create32BitDIBSection(hDC, cx, cy, &pBits));
        m_pBits = m_bitmap.GetSafeHandle() ? reinterpret_cast<uint32_t*>(pBits) : nullptr;
    }
    HBITMAP GetHandle() const { return static_cast<HBITMAP>(m_bitmap.GetSafeHandle()); }

    CBitmap m_bitmap;
    uint32_t* m_pBits = nullptr;
};

}  // namespace

namespace KLVTabImage {

void FlipVertical(int cx, int cy, const uint32_t* pSource, uint32_t* pDest) {
    for (int i = 0; i < cy; ++i)
        std::memcpy(pDest + static_cast<size_t>(i) * cx, pSource + static_cast<size_t>(cy - 1 - i) * cx,
                    sizeof(uint32_t) * cx);
}

void Transpose(int cx, int cy, const uint32_t* pSource, uint32_t* pDest) {
    for (int r = 0; r < cy; ++r)
        for (int c = 0; c < cx; ++c) pDest[static_cast<size_t>(c) * cy + r] = pSource[static_cast<size_t>(r) * cx + c];
}

void TransposeReverse(int cx, int cy, const uint32_t* pSource, uint32_t* pDest) {
    const size_t nLast = static_cast<size_t>(cx) * cy - 1;
    for (int r = 0; r < cy; ++r)
        for (int c = 0; c < cx; ++c)
            pDest[nLast - (static_cast<size_t>(c) * cy + r)] = pSource[static_cast<size_t>(r) * cx + c];
}

void DrawTurnedThemePart(CDC* pDC, CKLVWinThemeWrapper& theme, COLORREF clrBack, CRect rc, int nPart, int nState,
                         BOOL bExchange, Transform pfnTransform) {
    if (!pDC || rc.IsRectEmpty()) return;
    const int cx = bExchange ? rc.Height() : rc.Width(), cy = bExchange ? rc.Width() : rc.Height();
    CDibSection source(pDC->GetSafeHdc(), cx, cy), dest(pDC->GetSafeHdc(), rc.Width(), rc.Height());
    if (!source.m_pBits || !dest.m_pBits) return;
    HDC hMemDC = ::CreateCompatibleDC(pDC->GetSafeHdc());
    if (!hMemDC) return;
    HGDIOBJ hOld = ::SelectObject(hMemDC, source.GetHandle());
    const RECT rcAll = {0, 0, cx, cy};
    ::SetBkColor(hMemDC, clrBack);
    ::ExtTextOutA(hMemDC, 0, 0, ETO_OPAQUE, &rcAll, nullptr, 0, nullptr);
    theme.DrawThemeBackground(hMemDC, nPart, nState, &rcAll, nullptr);
    ::GdiFlush();
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
    pfnTransform(cx, cy, source.m_pBits, dest.m_pBits);
    ::DrawStateA(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(dest.GetHandle()), 0, rc.left, rc.top,
                 rc.Width(), rc.Height(), DST_BITMAP);
}

}  // namespace KLVTabImage
