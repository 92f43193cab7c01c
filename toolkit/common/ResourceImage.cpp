// One skin image: loading, parts of a strip, and the nine-part draw with its keyed forms.
#include "toolkit/common/ResourceImages.h"

#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/GdiHandles.h"
#include "toolkit/common/ImageManager.h"

namespace {

// The destination margins along one axis, per the sizing rules: the source margins when the
// destination has room for them, else the destination shared in proportion.
void ScaleMargins(int nDest, int nSrc, int nFirst, int nSecond, bool bParity, LONG& nDestFirst, LONG& nDestSecond) {
    nDestFirst = nFirst;
    nDestSecond = nSecond;
    const int nSum = nFirst + nSecond;
    if (nSum <= 0 || (nDest > nSum && nSrc != nSum)) return;
    nDestFirst = bParity ? ::MulDiv(nDest, nFirst, nSum) : nDest * nFirst / nSum;
    nDestSecond = nDest - nDestFirst;
    if (bParity && nDestSecond > 0 && nDestSecond % 2 != nSecond % 2) ++nDestSecond;
}

// The three cuts of a span [nFrom, nTo) by its margins.
void Cuts(int nFrom, int nTo, int nFirst, int nSecond, int (&cuts)[4]) {
    cuts[0] = nFrom;
    cuts[1] = nFrom + nFirst;
    cuts[2] = nTo - nSecond;
    cuts[3] = nTo;
}

}  // namespace

CKLVResourceImage::~CKLVResourceImage() {
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
}

BOOL CKLVResourceImage::LoadBitmapResource(HMODULE hModule, LPCTSTR lpszResourceName) {
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
    m_bMirrored = FALSE;
    m_hBitmap = CKLVImageManager::LoadBitmapResource(hModule, lpszResourceName, &m_bAlpha);
    if (m_hBitmap && m_bAlpha) {
        // The alpha blend takes premultiplied colours; straight ones would come out too bright.
        HBITMAP hPremultiplied = CKLVImageManager::PremultiplyBitmap(m_hBitmap);
        ::DeleteObject(m_hBitmap);
        m_hBitmap = hPremultiplied;
    }
    return m_hBitmap != nullptr;
}

int CKLVResourceImage::GetWidth() const {
    BITMAP bm = {};
    return m_hBitmap && ::GetObject(m_hBitmap, sizeof bm, &bm) ? bm.bmWidth : 0;
}

int CKLVResourceImage::GetHeight() const {
    BITMAP bm = {};
    return m_hBitmap && ::GetObject(m_hBitmap, sizeof bm, &bm) ? bm.bmHeight : 0;
}

CRect CKLVResourceImage::GetPartRect(int nPart, int nCount) const {
    if (!m_hBitmap || nCount < 1) return CRect(0, 0, 0, 0);
    const int nHeight = GetHeight() / nCount;
    return CRect(0, nHeight * nPart, GetWidth(), nHeight * (nPart + 1));
}

BOOL CKLVResourceImage::DrawPart(CDC* pDC, const CRect& rcDest, CDC& dcSrc, const CRect& rcSrc) const {
    if (rcDest.IsRectEmpty() || rcSrc.IsRectEmpty()) return TRUE;
    if (m_bAlpha) return CKLVImageManager::AlphaBlend(AfxGetSafeHdc(pDC), rcDest, dcSrc.GetSafeHdc(), rcSrc);
    if (rcDest.Size() == rcSrc.Size())
        return pDC->BitBlt(rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), &dcSrc, rcSrc.left, rcSrc.top,
                           SRCCOPY);
    return pDC->StretchBlt(rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), &dcSrc, rcSrc.left, rcSrc.top,
                           rcSrc.Width(), rcSrc.Height(), SRCCOPY);
}

void CKLVResourceImage::DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcSizingMargins) {
    CRect rcMargins = rcSizingMargins;
    // Margins that do not fit the source leave nothing to draw.
    if (!m_hBitmap || !m_pLock || rcMargins.top + rcMargins.bottom > rcSrc.Height() ||
        rcMargins.left + rcMargins.right > rcSrc.Width())
        return;
    CKLVCriticalSectionLock lock(m_pLock);
    if (rcDest.Width() == rcSrc.Width()) rcMargins.left = rcMargins.right = 0;
    if (rcDest.Height() == rcSrc.Height()) rcMargins.top = rcMargins.bottom = 0;
    pDC->SetStretchBltMode(COLORONCOLOR);
    if (rcDest.IsRectEmpty()) return;

    const BOOL bRTL = CKLVDrawHelpers::IsContextRTL(pDC);
    if (m_bAlpha && m_bAutoMirror && bRTL != m_bMirrored) Mirror();
    CKLVCompatibleDC dcSrc(pDC, m_hBitmap);
    if (bRTL && !m_bAlpha && !m_bAutoMirror) CKLVDrawHelpers::SetLayout(dcSrc.GetSafeHdc(), 0);

    if (rcMargins.IsRectNull()) {
        DrawPart(pDC, rcDest, dcSrc, rcSrc);
        return;
    }
    CRect rcDestMargins;
    ScaleMargins(rcDest.Height(), rcSrc.Height(), rcMargins.top, rcMargins.bottom, true, rcDestMargins.top,
                 rcDestMargins.bottom);
    ScaleMargins(rcDest.Width(), rcSrc.Width(), rcMargins.left, rcMargins.right, false, rcDestMargins.left,
                 rcDestMargins.right);
    int xSrc[4], ySrc[4], xDest[4], yDest[4];
    Cuts(rcSrc.left, rcSrc.right, rcMargins.left, rcMargins.right, xSrc);
    Cuts(rcSrc.top, rcSrc.bottom, rcMargins.top, rcMargins.bottom, ySrc);
    Cuts(rcDest.left, rcDest.right, rcDestMargins.left, rcDestMargins.right, xDest);
    Cuts(rcDest.top, rcDest.bottom, rcDestMargins.top, rcDestMargins.bottom, yDest);
    // Corners first row by row: top-left, top, top-right, left, centre, right, then the bottom.
    for (int nRow = 0; nRow < 3; ++nRow) {
        for (int nCol = 0; nCol < 3; ++nCol)
            DrawPart(pDC, CRect(xDest[nCol], yDest[nRow], xDest[nCol + 1], yDest[nRow + 1]), dcSrc,
                     CRect(xSrc[nCol], ySrc[nRow], xSrc[nCol + 1], ySrc[nRow + 1]));
    }
}

void CKLVResourceImage::DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcSizingMargins,
                                  COLORREF clrTransparent) {
    if (clrTransparent == COLORREF(-1) || m_bAlpha) {
        DrawImage(pDC, rcDest, rcSrc, rcSizingMargins);
        return;
    }
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(pDC, rcDest.Width(), rcDest.Height())) return;
    CKLVCompatibleDC dc(pDC, &bitmap);
    const CRect rcBuffer(0, 0, rcDest.Width(), rcDest.Height());
    dc.FillSolidRect(rcBuffer, clrTransparent);
    DrawImage(&dc, rcBuffer, rcSrc, rcSizingMargins);
    CKLVImageManager::TransparentBlt(AfxGetSafeHdc(pDC), rcDest, dc.GetSafeHdc(), rcBuffer, clrTransparent);
}

void CKLVResourceImage::DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcSizingMargins,
                                  COLORREF clrTransparent, DWORD dwFlags) {
    if (!(dwFlags & drawAlphaKey))
        DrawImage(pDC, rcDest, rcSrc, rcSizingMargins, clrTransparent);
    else if (m_bAlpha)
        DrawImage(pDC, rcDest, rcSrc, rcSizingMargins);
    else
        DrawKeyedAlpha(pDC, rcDest, rcSrc, rcSizingMargins, clrTransparent);
}

void CKLVResourceImage::DrawKeyedAlpha(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcSizingMargins,
                                       COLORREF clrTransparent) {
    BYTE* pBits = nullptr;
    CKLVBitmapOwner buffer(
        CKLVImageManager::Create32BitDIBSection(AfxGetSafeHdc(pDC), rcDest.Width(), rcDest.Height(), &pBits));
    if (!buffer) return;
    CKLVCompatibleDC dc(pDC, buffer.get());
    const CRect rcBuffer(0, 0, rcDest.Width(), rcDest.Height());
    if (clrTransparent != COLORREF(-1)) dc.FillSolidRect(rcBuffer, clrTransparent);
    DrawImage(&dc, rcBuffer, rcSrc, rcSizingMargins);
    ::GdiFlush();
    // The key as the DIB stores it (blue in the low byte).
    const DWORD dwKey = RGB(GetBValue(clrTransparent), GetGValue(clrTransparent), GetRValue(clrTransparent));
    auto* pPixels = reinterpret_cast<DWORD*>(pBits);
    const size_t nPixels = static_cast<size_t>(rcBuffer.Width()) * rcBuffer.Height();
    for (size_t i = 0; i < nPixels; ++i) {
        const bool bKey = clrTransparent != COLORREF(-1) && (pPixels[i] & 0x00FFFFFF) == dwKey;
        pPixels[i] = bKey ? 0 : (pPixels[i] | 0xFF000000);
    }
    CKLVImageManager::AlphaBlend(AfxGetSafeHdc(pDC), rcDest, dc.GetSafeHdc(), rcBuffer);
}

void CKLVResourceImage::Mirror() {
    if (!m_bAlpha || !m_hBitmap) return;
    HBITMAP hMirror = CKLVImageManager::FlipBitmap(m_hBitmap);
    if (!hMirror) return;
    ::DeleteObject(m_hBitmap);
    m_hBitmap = hMirror;
    m_bMirrored = !m_bMirrored;
}
