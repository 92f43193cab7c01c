#include "toolkit/common/ImageManager.h"

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/GdiHandles.h"

// ---------------------------------------------------------------------------------------------
// Handle

CKLVImageManagerIconHandle& CKLVImageManagerIconHandle::operator=(CKLVImageManagerIconHandle&& other) noexcept {
    if (this != &other) {
        Clear();
        std::swap(m_hIcon, other.m_hIcon);
        std::swap(m_hBitmap, other.m_hBitmap);
        std::swap(m_hCache, other.m_hCache);
        std::swap(m_bOwns, other.m_bOwns);
    }
    return *this;
}

CSize CKLVImageManagerIconHandle::GetExtent() const {
    if (m_hIcon) return CKLVImageManager::GetIconSize(m_hIcon);
    BITMAP bm = {};
    if (m_hBitmap && ::GetObject(m_hBitmap, sizeof bm, &bm)) return CSize(bm.bmWidth, bm.bmHeight);
    return CSize(0, 0);
}

HBITMAP CKLVImageManagerIconHandle::PreMultiply() {
    if (!m_hCache && m_hBitmap) m_hCache = CKLVImageManager::PremultiplyBitmap(m_hBitmap);
    return m_hCache;
}

void CKLVImageManagerIconHandle::CopyHandle(const CKLVImageManagerIconHandle& source) {
    Clear();
    m_bOwns = TRUE;
    if (source.m_hIcon) m_hIcon = ::CopyIcon(source.m_hIcon);
    if (source.m_hBitmap) m_hBitmap = CKLVImageManager::CopyAlphaBitmap(source.m_hBitmap);
}

void CKLVImageManagerIconHandle::Clear() {
    if (m_bOwns) {
        if (m_hIcon) ::DestroyIcon(m_hIcon);
        if (m_hBitmap) ::DeleteObject(m_hBitmap);
    }
    if (m_hCache) ::DeleteObject(m_hCache);
    m_hIcon = nullptr;
    m_hBitmap = nullptr;
    m_hCache = nullptr;
    m_bOwns = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Icon

double CKLVImageManagerIcon::m_dDisabledBrightnessFactor = 0.5;
double CKLVImageManagerIcon::m_dDisabledAlphaFactor = 1.0;

CKLVImageManagerIcon::CKLVImageManagerIcon(CKLVImageManagerIconSet* pIconSet, UINT nID, int nWidth)
    : m_nID(nID), m_nWidth(nWidth), m_pIconSet(pIconSet) {}

CKLVImageManagerIcon::~CKLVImageManagerIcon() = default;

CKLVImageManagerIconHandle& CKLVImageManagerIcon::GetHotIcon() { return m_hHot.IsEmpty() ? m_hNormal : m_hHot; }

CKLVImageManagerIconHandle& CKLVImageManagerIcon::GetCheckedIcon() {
    return m_hChecked.IsEmpty() ? GetHotIcon() : m_hChecked;
}

CKLVImageManagerIconHandle& CKLVImageManagerIcon::GetPressedIcon() {
    return m_hPressed.IsEmpty() ? GetHotIcon() : m_hPressed;
}

CKLVImageManagerIconHandle& CKLVImageManagerIcon::GetDisabledIcon(BOOL bCreate) {
    if (!m_hDisabled.IsEmpty()) return m_hDisabled;
    if (m_hDisabledAuto.IsEmpty() && bCreate) CreateDisabledIcon();
    return m_hDisabledAuto;
}

CKLVImageManagerIconHandle& CKLVImageManagerIcon::GetFadedIcon() {
    if (m_hFaded.IsEmpty()) CreateFadedIcon();
    return m_hFaded;
}

CKLVImageManagerIconHandle& CKLVImageManagerIcon::GetShadowIcon() {
    if (m_hShadow.IsEmpty()) CreateShadowIcon();
    return m_hShadow;
}

CKLVImageManagerIconHandle& CKLVImageManagerIcon::GetStateIcon(int nState) {
    switch (nState) {
    case CKLVImageManager::stateDisabled: return GetDisabledIcon(TRUE);
    case CKLVImageManager::stateHot: return GetHotIcon();
    case CKLVImageManager::stateChecked: return GetCheckedIcon();
    case CKLVImageManager::statePressed: return GetPressedIcon();
    default: return m_hNormal;
    }
}

void CKLVImageManagerIcon::ClearAll() {
    for (CKLVImageManagerIconHandle* pSlot :
         {&m_hNormal, &m_hFaded, &m_hShadow, &m_hHot, &m_hChecked, &m_hPressed, &m_hDisabled, &m_hDisabledAuto})
        pSlot->Clear();
}

void CKLVImageManagerIcon::SetIcon(const CKLVImageManagerIconHandle& hIcon) {
    ClearAll();
    m_hNormal.CopyHandle(hIcon);
    const CSize szExtent = m_hNormal.GetExtent();
    m_nWidth = szExtent.cx;
    m_nHeight = szExtent.cy;
    if (m_pIconSet) m_pIconSet->Refresh();
}

void CKLVImageManagerIcon::SetStateSlot(CKLVImageManagerIconHandle& slot, const CKLVImageManagerIconHandle& hIcon) {
    Refresh();
    slot.CopyHandle(hIcon);
}

void CKLVImageManagerIcon::Refresh() {
    m_hFaded.Clear();
    m_hShadow.Clear();
    m_hDisabledAuto.Clear();
}

CSize CKLVImageManagerIcon::DrawSize(CSize szIcon) const {
    if (szIcon.cx == 0) szIcon.cx = m_nWidth;
    if (szIcon.cy == 0) szIcon.cy = m_nWidth ? m_nHeight * szIcon.cx / m_nWidth : 0;
    return szIcon;
}

void CKLVImageManagerIcon::DrawHandle(CDC* pDC, CPoint pt, CKLVImageManagerIconHandle& hIcon, CSize szIcon) {
    szIcon = DrawSize(szIcon);
    if (hIcon.GetIcon()) {
        if (CKLVDrawHelpers::IsContextRTL(pDC)) {
            pt.x += szIcon.cx;
            szIcon.cx = -szIcon.cx;
        }
        if (m_bDrawComposited)
            CKLVImageManager::DrawIconComposited(pDC, pt.x, pt.y, szIcon.cx, szIcon.cy, hIcon.GetIcon());
        else
            ::DrawIconEx(AfxGetSafeHdc(pDC), pt.x, pt.y, hIcon.GetIcon(), szIcon.cx, szIcon.cy, 0, nullptr, DI_NORMAL);
        return;
    }
    HBITMAP hCache = hIcon.PreMultiply();
    if (!hCache) return;
    if (pt.y < 0 && szIcon.cy == m_nHeight) {
        // Only the rows that lie below the top edge.
        if (szIcon.cy + pt.y > 0)
            CKLVImageManager::DrawAlphaBitmap(pDC, hCache, pt.x, 0, szIcon.cx, szIcon.cy + pt.y, 0, -pt.y, m_nWidth,
                                              m_nHeight + pt.y);
        return;
    }
    CKLVImageManager::DrawAlphaBitmap(pDC, hCache, pt.x, pt.y, szIcon.cx, szIcon.cy, 0, 0, m_nWidth, m_nHeight);
}

void CKLVImageManagerIcon::DrawMono(CDC* pDC, CPoint pt, CKLVImageManagerIconHandle& hIcon, CSize szIcon,
                                    COLORREF clrBrush) {
    if (!hIcon.GetIcon()) return;
    szIcon = DrawSize(szIcon);
    CKLVBitmapOwner bitmap(::CreateCompatibleBitmap(AfxGetSafeHdc(pDC), szIcon.cx, szIcon.cy));
    if (!bitmap) return;
    {
        CKLVBitmapDC bitmapDC(AfxGetSafeHdc(pDC), bitmap.get());
        if (!bitmapDC) return;
        const RECT rcFill = {0, 0, szIcon.cx, szIcon.cy};
        ::FillRect(bitmapDC.Get(), &rcFill, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::DrawIconEx(bitmapDC.Get(), 0, 0, hIcon.GetIcon(), szIcon.cx, szIcon.cy, 0, nullptr, DI_NORMAL);
    }
    CKLVGdiObjectOwner brush(::CreateSolidBrush(clrBrush));
    ::DrawStateA(AfxGetSafeHdc(pDC), static_cast<HBRUSH>(brush.get()), nullptr,
                 reinterpret_cast<LPARAM>(bitmap.get()), 0, pt.x, pt.y, szIcon.cx, szIcon.cy, DST_BITMAP | DSS_MONO);
}
