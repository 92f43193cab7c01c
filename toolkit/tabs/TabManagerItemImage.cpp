// A tab's icon, drawn straight or turned for a vertical row.
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/ImageManagerIcon.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"

#include <memory>

namespace {

struct BitmapDeleter {
    void operator()(HBITMAP__* hBitmap) const { ::DeleteObject(hBitmap); }
};
using BitmapOwner = std::unique_ptr<HBITMAP__, BitmapDeleter>;

// Square bottom-up images only: the pixel seen at (x, y) goes to (y, x).
void Transpose(const DWORD* pSource, DWORD* pDest, int n) {
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) pDest[(n - 1 - x) * n + y] = pSource[(n - 1 - y) * n + x];
}

CKLVImageManagerIconHandle& StateIcon(CKLVImageManagerIcon* pImage, const CKLVTabManagerItem* pItem) {
    if (!pItem->IsEnabled()) return pImage->GetDisabledIcon();
    if (pItem->IsHot()) return pImage->GetHotIcon();
    if (pItem->IsSelected()) return pImage->GetCheckedIcon();
    return pImage->GetIcon();
}

}  // namespace

void CKLVTabManagerItem::DrawImage(CDC* pDC, CRect rc, CKLVImageManagerIcon* pImage) {
    if (!pImage) return;
    CKLVTabPainter* pPaintManager = m_pTabManager ? m_pTabManager->GetPaintManager() : nullptr;
    const int nPosition = pPaintManager ? pPaintManager->GetPosition() : 0;
    if (rc.Width() == rc.Height() && pPaintManager && pPaintManager->m_bRotateImageOnVerticalDraw &&
        (nPosition == CKLVTabPainter::positionLeft || nPosition == CKLVTabPainter::positionRight) &&
        DrawImageTransposed(pDC, rc, pImage))
        return;
    pImage->DrawHandle(pDC, rc.TopLeft(), StateIcon(pImage, this), rc.Size());
}

BOOL CKLVTabManagerItem::DrawImageTransposed(CDC* pDC, const CRect& rc, CKLVImageManagerIcon* pImage) {
    const int n = rc.Width();
    BYTE* pFirstBits = nullptr;
    BYTE* pSecondBits = nullptr;
    BitmapOwner first(CKLVImageManager::Create32BitDIBSection(AfxGetSafeHdc(pDC), n, n, &pFirstBits));
    BitmapOwner second(CKLVImageManager::Create32BitDIBSection(AfxGetSafeHdc(pDC), n, n, &pSecondBits));
    if (!first || !second || !pFirstBits || !pSecondBits) return FALSE;
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(pDC)) return FALSE;
    HGDIOBJ hOld = dcMem.SelectObject(first.get());
    dcMem.BitBlt(0, 0, n, n, pDC, rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    Transpose(reinterpret_cast<DWORD*>(pFirstBits), reinterpret_cast<DWORD*>(pSecondBits), n);
    dcMem.SelectObject(second.get());
    pImage->DrawHandle(&dcMem, CPoint(0, 0), StateIcon(pImage, this), CSize(n, n));
    ::GdiFlush();
    Transpose(reinterpret_cast<DWORD*>(pSecondBits), reinterpret_cast<DWORD*>(pFirstBits), n);
    dcMem.SelectObject(hOld);
    pDC->DrawState(rc.TopLeft(), CSize(n, n), first.get(), DST_BITMAP);
    return TRUE;
}
