#include "toolkit/tabs/TabColorsVisualStyle.h"

#include "toolkit/common/ImageManager.h"
#include "toolkit/tabs/TabImageTransforms.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabManagerNavigateButton.h"

#include <cstdint>

namespace {

const int kPropFillColorHint = 3821;

// A top-down 32-bit DIB section, released with its owner; null bits when it could not be made.
class CDibSection {
public:
    CDibSection(HDC hDC, int cx, int cy) {
        BYTE* pBits = nullptr;
        m_bitmap.Attach(CKLVImageManager::Create32BitDIBSection(hDC, cx, -cy, &pBits));
        m_pBits = m_bitmap.GetSafeHandle() ? reinterpret_cast<uint32_t*>(pBits) : nullptr;
    }
    HBITMAP GetHandle() const { return static_cast<HBITMAP>(m_bitmap.GetSafeHandle()); }

    CBitmap m_bitmap;
    uint32_t* m_pBits = nullptr;
};

}  // namespace

int CKLVTabColorsVisualStyle::GetItemPart(int nIndex, int nCount, BOOL bSelected) {
    if (nIndex == 0) return partTopTabLeftEdge;
    if (nIndex == nCount - 1 && !bSelected) return partTopTabRightEdge;
    return partTopTab;
}

BOOL CKLVTabColorsVisualStyle::IsThemed() { return m_themeTab.GetThemeHandle() && m_themeTab.IsAppThemed(); }

void CKLVTabColorsVisualStyle::RefreshMetrics() {
    CKLVTabColorsStandard::RefreshMetrics();
    m_themeTab.CloseThemeData();
    m_themeTab.OpenThemeData(nullptr, L"TAB");
    if (IsThemed()) {
        clrEdgeHighlight.SetStandardValue(COLORREF(-1));
        clrEdgeLightShadow.SetStandardValue(COLORREF(-1));
        clrEdgeDarkShadow.SetStandardValue(COLORREF(-1));
        clrHotText = clrNormalText;
        COLORREF clr = 0;
        if (SUCCEEDED(m_themeTab.GetThemeColor(partPane, 0, kPropFillColorHint, &clr))) clrPaneFace.SetStandardValue(clr);
    }
    m_themeToolbar.CloseThemeData();
    m_themeToolbar.OpenThemeData(nullptr, L"TOOLBAR");
}

COLORREF CKLVTabColorsVisualStyle::FillClient(CDC* pDC, CRect rc, CKLVTabManager* pTabManager) {
    if (!IsThemed()) return CKLVTabColorsStandard::FillClient(pDC, rc, pTabManager);
    const int nPosition = GetPosition();
    if (nPosition == 2) rc.bottom += 1;
    if (nPosition == 3) rc.right += 1;
    m_themeTab.DrawThemeBackground(pDC->GetSafeHdc(), partPane, 0, &rc, nullptr);
    return 0;
}

void CKLVTabColorsVisualStyle::FillButton(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) {
    CKLVTabManager* pManager = pItem->GetTabManager();
    const BOOL bToolbar = m_themeToolbar.GetThemeHandle() && m_themeToolbar.IsAppThemed();
    if (!bToolbar || !pManager || pManager->GetSelectedItem() != pItem) {
        CKLVTabColorsStandard::FillButton(pDC, rc, pItem);
        return;
    }
    m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), partToolbarButton, pManager->GetHotItem() == pItem ? 6 : 5,
                                       &rc, nullptr);
}

void CKLVTabColorsVisualStyle::FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) {
    if (!m_themeToolbar.GetThemeHandle() || !m_themeToolbar.IsAppThemed()) {
        CKLVTabColorsStandard::FillNavigateButton(pDC, pButton, rc);
        return;
    }
    if (pButton->IsEnabled()) {
        const int nState = pButton->IsPressed() ? 3 : pButton->IsHot() ? 2 : 1;
        m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), partToolbarButton, nState, &rc, nullptr);
    }
    pDC->SetTextColor(GetColor(COLOR_BTNTEXT));
}

void CKLVTabColorsVisualStyle::ExcludeCorners(CDC* pDC, CRect rc, CKLVTabManager*) {
    if (!IsThemed()) return;
    CPoint pt = rc.TopLeft();
    const int nPosition = GetPosition();
    if (nPosition == 2) pt = CPoint(rc.left, rc.bottom - 2);
    if (nPosition == 3) pt = CPoint(rc.right - 2, rc.top);
    pDC->ExcludeClipRect(pt.x, pt.y, pt.x + 1, pt.y + 1);
}

COLORREF CKLVTabColorsVisualStyle::FillItem(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) {
    if (!IsThemed()) return CKLVTabColorsStandard::FillItem(pDC, rc, pItem);
    CKLVTabManager* pManager = pItem->GetTabManager();
    const BOOL bSelected = pManager && pManager->GetSelectedItem() == pItem;
    const int nPosition = GetPosition();
    if (bSelected && nPosition == 0) rc.bottom += 2;
    if (bSelected && nPosition == 1) rc.right += 1;
    const int nPart = GetItemPart(pItem->GetIndex(), pManager ? pManager->GetItemCount() : 1, bSelected);
    const int nState = bSelected ? 3 : pManager && pManager->GetHotItem() == pItem ? 2 : 1;
    switch (nPosition) {
    case 0: {
        const CRect rcTab(rc.left - 1, rc.top - 1, rc.right + 1, rc.bottom);
        m_themeTab.DrawThemeBackground(pDC->GetSafeHdc(), nPart, nState, &rcTab, nullptr);
        break;
    }
    case 1:
        DrawThemedItemRotated(pDC, CRect(rc.left - 1, rc.top - 1, rc.right, rc.bottom + 1), nPart, nState, TRUE,
                              &KLVTabImage::TransposeReverse);
        break;
    case 2:
        DrawThemedItemRotated(pDC, CRect(rc.left - 1, rc.top, rc.right + 1, rc.bottom + 2), nPart, nState, FALSE,
                              &KLVTabImage::FlipVertical);
        break;
    default:
        DrawThemedItemRotated(pDC, CRect(rc.left, rc.top - 1, rc.right + 2, rc.bottom + 1), nPart, nState, TRUE,
                              &KLVTabImage::Transpose);
        break;
    }
    return COLORREF(-1);
}

void CKLVTabColorsVisualStyle::DrawThemedItemRotated(CDC* pDC, CRect rc, int nPart, int nState, BOOL bExchange,
                                                     void (*pfnTransform)(int, int, const uint32_t*, uint32_t*)) {
    if (!pDC || rc.IsRectEmpty()) return;
    // The top tab is drawn at its own size; the transform turns it into the target's shape.
    const int cx = bExchange ? rc.Height() : rc.Width(), cy = bExchange ? rc.Width() : rc.Height();
    CDibSection source(pDC->GetSafeHdc(), cx, cy), dest(pDC->GetSafeHdc(), cx, cy);
    if (!source.m_pBits || !dest.m_pBits) return;
    HDC hMemDC = ::CreateCompatibleDC(pDC->GetSafeHdc());
    if (!hMemDC) return;
    HGDIOBJ hOld = ::SelectObject(hMemDC, source.GetHandle());
    const RECT rcAll = {0, 0, cx, cy};
    ::SetBkColor(hMemDC, GetColor(COLOR_3DFACE));
    ::ExtTextOutA(hMemDC, 0, 0, ETO_OPAQUE, &rcAll, nullptr, 0, nullptr);
    m_themeTab.DrawThemeBackground(hMemDC, nPart, nState, &rcAll, nullptr);
    ::GdiFlush();
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
    pfnTransform(cx, cy, source.m_pBits, dest.m_pBits);
    ::DrawStateA(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(dest.GetHandle()), 0, rc.left, rc.top,
                 rc.Width(), rc.Height(), DST_BITMAP);
}
