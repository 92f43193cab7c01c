#include "toolkit/common/ImageManager.h"

#include "toolkit/common/GdiHandles.h"

#include <climits>
#include <cstdlib>
#include <vector>

namespace {

const UINT nIconSetBuckets = 17;
const UINT nManagerBuckets = 127;

// The index of the image each command takes: when there are exactly as many images as
// commands every command takes one, else commands of 0 are separators and take none. -1: none.
std::vector<int> AssignImages(const UINT* pCommands, int nCount, int nImages) {
    std::vector<int> images(static_cast<size_t>(nCount), -1);
    for (int i = 0, nNext = 0; i < nCount && nNext < nImages; ++i) {
        if (nImages != nCount && pCommands && pCommands[i] == 0) continue;
        images[i] = nNext++;
    }
    return images;
}

// Calls fn with every value of a map, in the map's order.
template <class MAP, class FN>
void ForEachValue(const MAP& map, FN fn) {
    POSITION pos = map.GetStartPosition();
    while (pos) {
        typename MAP::BASE_KEY key;
        typename MAP::BASE_VALUE value;
        map.GetNextAssoc(pos, key, value);
        fn(value);
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Icon set

CKLVImageManagerIconSet::CKLVImageManagerIconSet(UINT nID, CKLVImageManager* pImageManager)
    : m_nID(nID), m_pImageManager(pImageManager) {
    m_mapIcons.InitHashTable(nIconSetBuckets, FALSE);
}

CKLVImageManagerIcon* CKLVImageManagerIconSet::GetIcon(int nWidth, BOOL bNearest) const {
    CKLVImageManagerIcon* pIcon = nullptr;
    if (nWidth > 1 && (m_mapIcons.Lookup(static_cast<UINT>(nWidth), pIcon) || !bNearest)) return pIcon;
    // Width 0 asks for the narrowest, 1 for the widest; otherwise the nearest, the first met
    // in the map's order winning a tie.
    long nBest = LONG_MAX;
    POSITION pos = m_mapIcons.GetStartPosition();
    while (pos) {
        UINT nKey;
        CKLVImageManagerIcon* pCandidate;
        m_mapIcons.GetNextAssoc(pos, nKey, pCandidate);
        const long nKeyWidth = static_cast<long>(nKey);
        const long nScore = nWidth == 0 ? nKeyWidth : nWidth == 1 ? -nKeyWidth : std::labs(nKeyWidth - nWidth);
        if (nScore < nBest) {
            nBest = nScore;
            pIcon = pCandidate;
        }
    }
    return pIcon;
}

CKLVImageManagerIcon* CKLVImageManagerIconSet::GetOrCreate(int nWidth) {
    CKLVImageManagerIcon* pIcon = nullptr;
    if (!m_mapIcons.Lookup(static_cast<UINT>(nWidth), pIcon)) {
        pIcon = new CKLVImageManagerIcon(this, m_nID, nWidth);
        m_mapIcons.SetAt(static_cast<UINT>(nWidth), pIcon);
    }
    return pIcon;
}

void CKLVImageManagerIconSet::SetIcon(const CKLVImageManagerIconHandle& hIcon, int nWidth) {
    GetOrCreate(nWidth)->SetIcon(hIcon);
}

void CKLVImageManagerIconSet::SetDisabledIcon(const CKLVImageManagerIconHandle& hIcon, int nWidth) {
    GetOrCreate(nWidth)->SetDisabledIcon(hIcon);
}

void CKLVImageManagerIconSet::SetHotIcon(const CKLVImageManagerIconHandle& hIcon, int nWidth) {
    GetOrCreate(nWidth)->SetHotIcon(hIcon);
}

void CKLVImageManagerIconSet::SetCheckedIcon(const CKLVImageManagerIconHandle& hIcon, int nWidth) {
    GetOrCreate(nWidth)->SetCheckedIcon(hIcon);
}

void CKLVImageManagerIconSet::SetPressedIcon(const CKLVImageManagerIconHandle& hIcon, int nWidth) {
    GetOrCreate(nWidth)->SetPressedIcon(hIcon);
}

void CKLVImageManagerIconSet::RemoveAll() {
    ForEachValue(m_mapIcons, [](CKLVImageManagerIcon* pIcon) { delete pIcon; });
    m_mapIcons.RemoveAll();
}

void CKLVImageManagerIconSet::Refresh() {
    ForEachValue(m_mapIcons, [](CKLVImageManagerIcon* pIcon) { pIcon->Refresh(); });
}

// ---------------------------------------------------------------------------------------------
// Manager

CKLVImageManager::CKLVImageManager() : m_modMsImg32("msimg32.dll") {
    m_mapImages.InitHashTable(nManagerBuckets, FALSE);
    m_pfnAlphaBlend = m_modMsImg32.GetProc<PFNALPHABLEND>("AlphaBlend");
    m_pfnTransparentBlt = m_modMsImg32.GetProc<PFNTRANSPARENTBLT>("TransparentBlt");
}

CKLVImageManager* KLVImageManager() {
    static CKLVImageManager s_manager;
    return &s_manager;
}

BOOL CKLVImageManager::SetIcon(CKLVImageManagerIconHandle hIcon, UINT nID, CSize szIcon, int nState) {
    if (hIcon.IsEmpty()) return FALSE;
    if (szIcon == CSize(0, 0)) szIcon = hIcon.GetExtent();
    if (szIcon == CSize(0, 0)) return FALSE;
    CKLVImageManagerIconSet* pIconSet = nullptr;
    if (!m_mapImages.Lookup(nID, pIconSet)) {
        if (nState != stateNormal) return FALSE;
        pIconSet = new CKLVImageManagerIconSet(nID, this);
        m_mapImages.SetAt(nID, pIconSet);
    }
    switch (nState) {
    case stateNormal: pIconSet->SetIcon(hIcon, szIcon.cx); break;
    case stateDisabled: pIconSet->SetDisabledIcon(hIcon, szIcon.cx); break;
    case stateHot: pIconSet->SetHotIcon(hIcon, szIcon.cx); break;
    case stateChecked: pIconSet->SetCheckedIcon(hIcon, szIcon.cx); break;
    case statePressed: pIconSet->SetPressedIcon(hIcon, szIcon.cx); break;
    default: break;
    }
    return TRUE;
}

BOOL CKLVImageManager::SetIcons(CImageList* pImageList, const UINT* pCommands, int nCount, CSize szIcon, int nState) {
    if (!AfxGetSafeHandle(pImageList)) return FALSE;
    const int nImages = pImageList->GetImageCount();
    if (nCount == 0 && !pCommands) nCount = nImages;
    if (szIcon == CSize(0, 0) && nCount > 0) szIcon = pImageList->GetIconSize();
    const std::vector<int> images = AssignImages(pCommands, nCount, nImages);
    for (int i = 0; i < nCount; ++i) {
        if (images[i] < 0) continue;
        HICON hIcon = pImageList->ExtractIcon(images[i]);
        if (!hIcon) return FALSE;
        SetIcon(CKLVImageManagerIconHandle(hIcon, TRUE), pCommands ? pCommands[i] : static_cast<UINT>(i), szIcon,
                nState);
    }
    return TRUE;
}

BOOL CKLVImageManager::SetIcons(CBitmap* pBitmap, const UINT* pCommands, int nCount, CSize szIcon, int nState,
                                BOOL bAlpha) {
    const CSize szBitmap = pBitmap ? pBitmap->GetBitmapSize() : CSize(0, 0);
    if (szIcon == CSize(0, 0) && nCount > 0) szIcon = CSize(szBitmap.cx / nCount, szBitmap.cy);
    if (nCount == 0 && szIcon.cx > 0) nCount = szBitmap.cx / szIcon.cx;
    if (szIcon.cx <= 0) return FALSE;
    if (bAlpha) return SetAlphaStrips(pBitmap, pCommands, nCount, szIcon, nState);

    CImageList list;
    if (!list.Create(szIcon.cx, szIcon.cy, ILC_COLOR24 | ILC_MASK, 0, 1)) return FALSE;
    list.Add(pBitmap, GetBitmapPixel(pBitmap, CPoint(0, 0)));
    return SetIcons(&list, pCommands, nCount, szIcon, nState);
}

BOOL CKLVImageManager::SetAlphaStrips(CBitmap* pBitmap, const UINT* pCommands, int nCount, CSize szIcon, int nState) {
    const CSize szBitmap = pBitmap->GetBitmapSize();
    if (szBitmap.cx % szIcon.cx != 0) return FALSE;
    const int nStrips = szBitmap.cx / szIcon.cx;
    std::vector<HBITMAP> strips(static_cast<size_t>(nStrips));
    if (!SplitBitmap(static_cast<HBITMAP>(AfxGetSafeHandle(pBitmap)), nStrips, strips.data())) return FALSE;
    const std::vector<int> images = AssignImages(pCommands, nCount, nStrips);
    for (int i = 0; i < nCount; ++i) {
        if (images[i] >= 0)
            SetIcon(CKLVImageManagerIconHandle(strips[images[i]]), pCommands ? pCommands[i] : static_cast<UINT>(i),
                    szIcon, nState);
    }
    for (HBITMAP hStrip : strips) ::DeleteObject(hStrip);
    return TRUE;
}

BOOL CKLVImageManager::SetIcons(UINT nIDBitmap, const UINT* pCommands, int nCount, CSize szIcon, int nState) {
    BOOL bAlpha = FALSE;
    CBitmap bitmap;
    if (!bitmap.Attach(LoadBitmapResource(MAKEINTRESOURCEA(nIDBitmap), &bAlpha))) return FALSE;
    return SetIcons(&bitmap, pCommands, nCount, szIcon, nState, bAlpha);
}

CKLVImageManagerIcon* CKLVImageManager::GetImage(UINT nCommand, int nWidth) const {
    CKLVImageManagerIconSet* pIconSet = nullptr;
    return m_mapImages.Lookup(nCommand, pIconSet) ? pIconSet->GetIcon(nWidth, TRUE) : nullptr;
}

BOOL CKLVImageManager::HasIconOfWidth(UINT nCommand, int nWidth) const {
    CKLVImageManagerIconSet* pIconSet = nullptr;
    return m_mapImages.Lookup(nCommand, pIconSet) && pIconSet->GetIcon(nWidth, FALSE) != nullptr;
}

void CKLVImageManager::RefreshAll() {
    ForEachValue(m_mapImages, [](CKLVImageManagerIconSet* pIconSet) { pIconSet->Refresh(); });
}

void CKLVImageManager::RemoveAll() {
    ForEachValue(m_mapImages, [](CKLVImageManagerIconSet* pIconSet) { delete pIconSet; });
    m_mapImages.RemoveAll();
}
