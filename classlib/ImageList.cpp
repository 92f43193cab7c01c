#include "classlib/ImageList.h"

#include "classlib/Dc.h"
#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

CImageList* CImageList::FromHandle(HIMAGELIST hImageList) {
    return AfxGetThreadState()->m_temporaries.FromHandle<CImageList, &CImageList::m_hImageList>(hImageList);
}

void CImageList::DeleteTempMap() { AfxGetThreadState()->m_temporaries.DeleteAll(); }

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    return Attach(ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask,
                                       IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

CSize CImageList::GetIconSize() const {
    int cx = 0;
    int cy = 0;
    if (!ImageList_GetIconSize(m_hImageList, &cx, &cy)) return CSize(0, 0);
    return CSize(cx, cy);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    return ImageList_Draw(m_hImageList, nImage, AfxGetSafeHdc(pDC), pt.x, pt.y, nStyle);
}
