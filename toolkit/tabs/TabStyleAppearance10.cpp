// Appearance 10: tabs and the client area drawn from the resource theme's images.
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/ResourceImages.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyleAppearances.h"

#include <memory>

namespace {

const int kTabParts = 6;
const CRect kTabMargins(5, 5, 5, 5);
const CRect kGroupMargins(8, 8, 8, 8);
const COLORREF kKeyColor = RGB(255, 0, 255);

struct BitmapDeleter {
    void operator()(HBITMAP__* hBitmap) const { ::DeleteObject(hBitmap); }
};
using BitmapOwner = std::unique_ptr<HBITMAP__, BitmapDeleter>;

// A bottom-up 32-bit DIB section; Pixel() finds (x, y) counted from the top.
HBITMAP CreateDIB(HDC hDC, int nWidth, int nHeight, DWORD** ppBits) {
    BYTE* pBits = nullptr;
    HBITMAP hBitmap = CKLVImageManager::Create32BitDIBSection(hDC, nWidth, nHeight, &pBits);
    *ppBits = reinterpret_cast<DWORD*>(pBits);
    return hBitmap;
}

DWORD& Pixel(DWORD* pBits, int nWidth, int nHeight, int x, int y) { return pBits[(nHeight - 1 - y) * nWidth + x]; }

CKLVResourceImages* ValidImages() {
    CKLVResourceImages* pImages = KLVResourceImages();
    return pImages && pImages->IsValid() ? pImages : nullptr;
}

}  // namespace

CRect CKLVTabStyleAppearance10::FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    CKLVResourceImages* pImages = ValidImages();
    if (!pImages) return rc;
    CKLVTabColors* pColors = GetColorSet();
    const CRect rcHeader = GetHeaderRect(rc, pTabManager);
    pDC->FillSolidRect(&rcHeader, CKLVTabColors::GetColor(pColors->clrHeaderFace.m_clrFrom));
    const CRect rcClient = GetClientRect(rc, pTabManager);
    if (m_pPaintManager->m_nClientFrame == 0) {
        if (CKLVResourceImage* pGroups = pImages->GetImage("RIBBONGROUPS"))
            pGroups->DrawImage(pDC, rcClient, pGroups->GetPartRect(0, 1), kGroupMargins);
    } else if (m_pPaintManager->m_nClientFrame == 1) {
        const COLORREF clrShadow = CKLVTabColors::GetColor(pColors->clrEdgeLightShadow);
        CKLVTabPainter::DrawEdgeLine(pDC, rcClient, GetPosition(), clrShadow, clrShadow);
    }
    return rcHeader;
}

void CKLVTabStyleAppearance10::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    if (ValidImages() && (pItem->IsSelected() || pItem->IsHot())) {
        const CKLVTabManager* pManager = pItem->GetTabManager();
        int nPart = 0;
        if (pItem->IsSelected() && pManager->IsFocused()) nPart = 5;
        else if (pItem->IsSelected() && pItem->IsHot()) nPart = 4;
        else if (pItem->IsSelected()) nPart = 3;
        else if (pItem->IsPressed()) nPart = 2;
        else nPart = 1;
        if (GetPosition() == CKLVTabPainter::positionTop) {
            if (CKLVResourceImage* pTab = ValidImages()->GetImage("RIBBONTAB"))
                pTab->DrawImage(pDC, pItem->GetRect(), pTab->GetPartRect(nPart, kTabParts), kTabMargins, kKeyColor);
        } else {
            DrawTurnedPart(pDC, pItem, nPart);
        }
    }
    DrawContent(pDC, pItem, pItem->GetRect());
}

void CKLVTabStyleAppearance10::DrawTurnedPart(CDC* pDC, CKLVTabManagerItem* pItem, int nPart) {
    CKLVResourceImage* pTab = ValidImages()->GetImage("RIBBONTAB");
    if (!pTab) return;
    const CRect rc = pItem->GetRect();
    const int nPosition = GetPosition();
    const BOOL bSideways = nPosition == CKLVTabPainter::positionLeft || nPosition == CKLVTabPainter::positionRight;
    const int cx = bSideways ? rc.Height() : rc.Width(), cy = bSideways ? rc.Width() : rc.Height();
    if (cx <= 0 || cy <= 0) return;
    DWORD* pTop = nullptr;
    DWORD* pTurned = nullptr;
    BitmapOwner top(CreateDIB(AfxGetSafeHdc(pDC), cx, cy, &pTop));
    BitmapOwner turned(CreateDIB(AfxGetSafeHdc(pDC), rc.Width(), rc.Height(), &pTurned));
    CDC dcMem;
    if (!top || !turned || !pTop || !pTurned || !dcMem.CreateCompatibleDC(pDC)) return;
    HGDIOBJ hOld = dcMem.SelectObject(top.get());
    dcMem.FillSolidRect(0, 0, cx, cy, CKLVTabColors::GetColor(GetColorSet()->clrHeaderFace.m_clrFrom));
    pTab->DrawImage(&dcMem, CRect(0, 0, cx, cy), pTab->GetPartRect(nPart, kTabParts), kTabMargins, kKeyColor);
    dcMem.SelectObject(hOld);
    ::GdiFlush();
    // The image's top (the row's outer side) goes to the left, bottom or right edge.
    const int nWidth = rc.Width(), nHeight = rc.Height();
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            int dx = x, dy = y;
            if (nPosition == CKLVTabPainter::positionLeft) dx = y, dy = x;
            else if (nPosition == CKLVTabPainter::positionRight) dx = nWidth - 1 - y, dy = x;
            else dy = nHeight - 1 - y;
            Pixel(pTurned, nWidth, nHeight, dx, dy) = Pixel(pTop, cx, cy, x, y);
        }
    pDC->DrawState(rc.TopLeft(), rc.Size(), turned.get(), DST_BITMAP);
}
