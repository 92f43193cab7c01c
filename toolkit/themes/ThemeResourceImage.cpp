#include "toolkit/themes/ThemeResourceImage.h"

#include "toolkit/common/ResourceImages.h"

namespace {

const COLORREF kKeyColor = RGB(255, 0, 255);

}  // namespace

CKLVResourceImage* KLVSkinImage(LPCTSTR lpszImage) { return KLVResourceImages()->GetImage(lpszImage); }

BOOL KLVDrawSkinPart(CDC* pDC, const KLVSkinPart& part, CRect rcDest, CRect rcMargins, KLVSkinDrawMode nMode) {
    CKLVResourceImage* pImage = KLVSkinImage(part.lpszImage);
    if (!pImage || rcDest.IsRectEmpty()) return pImage != nullptr;
    const CRect rcSrc = pImage->GetPartRect(part.nPart, part.nCount);
    if (rcSrc.IsRectEmpty()) return TRUE;
    if (nMode == skinOverGlass)
        pImage->DrawImage(pDC, rcDest, rcSrc, rcMargins, kKeyColor, CKLVResourceImage::drawAlphaKey);
    else if (nMode == skinKeyed)
        pImage->DrawImage(pDC, rcDest, rcSrc, rcMargins, kKeyColor);
    else
        pImage->DrawImage(pDC, rcDest, rcSrc, rcMargins);
    return TRUE;
}

int KLVSkinCellCount(LPCTSTR lpszImage, int cyCell) {
    CKLVResourceImage* pImage = KLVSkinImage(lpszImage);
    const int nCount = pImage && cyCell > 0 ? pImage->GetHeight() / cyCell : 1;
    return nCount > 0 ? nCount : 1;
}

CSize KLVSkinPartSize(const KLVSkinPart& part) {
    CKLVResourceImage* pImage = KLVSkinImage(part.lpszImage);
    return pImage ? pImage->GetPartRect(part.nPart, part.nCount).Size() : CSize(0, 0);
}

BOOL KLVDrawSkinPartAt(CDC* pDC, const KLVSkinPart& part, CPoint pt, KLVSkinDrawMode nMode) {
    return KLVDrawSkinPart(pDC, part, CRect(pt, KLVSkinPartSize(part)), CRect(0, 0, 0, 0), nMode);
}

BOOL KLVDrawSkinPartCentred(CDC* pDC, const KLVSkinPart& part, CRect rc, KLVSkinDrawMode nMode) {
    const CSize sz = KLVSkinPartSize(part);
    const CPoint pt(rc.left + (rc.Width() - sz.cx) / 2, rc.top + (rc.Height() - sz.cy) / 2);
    return KLVDrawSkinPartAt(pDC, part, pt, nMode);
}
