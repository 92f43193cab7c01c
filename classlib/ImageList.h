// CImageList: a common-controls image list. The object destroys the list it creates or attaches;
// FromHandle wraps a list it does not own in a temporary object.
#pragma once

#include "classlib/GdiObject.h"
#include "classlib/HandleOwnership.h"
#include "classlib/Object.h"

#include <commctrl.h>

class CDC;

class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() noexcept = default;
    ~CImageList() override { DeleteImageList(); }

    HIMAGELIST m_hImageList = nullptr;

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }   // a pointer that may be null: AfxGetSafeHandle

    static CImageList* FromHandle(HIMAGELIST hImageList);
    static void DeleteTempMap();

    // Takes ownership; a list held before is destroyed first.
    BOOL Attach(HIMAGELIST hImageList) { return AfxAttachHandle(m_hImageList, hImageList, ImageList_Destroy); }
    HIMAGELIST Detach() { return AfxDetachHandle(m_hImageList); }
    BOOL DeleteImageList() { return AfxFreeHandle(m_hImageList, ImageList_Destroy); }

    // nFlags: ILC_COLOR* with ILC_MASK for a list with masks.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
        return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
    }
    // From a bitmap resource of the current resource handle, cut into images cx wide.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const {
        return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
    }
    CSize GetIconSize() const;   // the size of one image
    // The index of the first image added, or -1.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask) {
        return ImageList_Add(m_hImageList, *pbmImage, static_cast<HBITMAP>(AfxGetSafeHandle(pbmMask)));
    }
    int Add(CBitmap* pbmImage, COLORREF crMask) { return ImageList_AddMasked(m_hImageList, *pbmImage, crMask); }
    int Add(HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }
    int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
        return ImageList_Replace(m_hImageList, nImage, *pbmImage, static_cast<HBITMAP>(AfxGetSafeHandle(pbmMask)));
    }
    BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
    BOOL SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }
    // A new icon the caller destroys (DestroyIcon).
    HICON ExtractIcon(int nImage) { return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
};

// The image list of pImageList; null for no object.
inline HIMAGELIST AfxGetSafeHandle(const CImageList* pImageList) {
    return AfxSafeHandle(pImageList, &CImageList::m_hImageList);
}
