// Appearance 8: every tab a full-width bar; the bars up to the selected one stack from the top,
// the rest from the bottom, and the client area lies between them.
#include "toolkit/common/ColorManager.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyleAppearances.h"

#include <algorithm>

namespace {

const int kGripOffset = 7;   // the grip sits this far from the bar's right edge

}  // namespace

CRect CKLVTabStyleAppearance8::GetHeaderRect(CRect, CKLVTabManager*) { return CRect(); }

CRect CKLVTabStyleAppearance8::GetClientRect(CRect rc, CKLVTabManager* pTabManager) {
    const int nHeight = GetRowHeight(pTabManager), nCount = pTabManager->GetItemCount();
    const int nSelected = pTabManager->GetCurSel();
    const BOOL bFramed = m_pPaintManager->m_nClientFrame != 2;
    CRect rcClient = rc;
    rcClient.top = rc.top + (nSelected + 1) * nHeight + 1;
    rcClient.bottom = std::max(rc.bottom - (nCount - nSelected - 1) * nHeight, rcClient.top + nHeight);
    if (nCount > 0 && nSelected == nCount - 1 && bFramed) rcClient.bottom -= 1;
    if (bFramed) rcClient.DeflateRect(1, 0);
    return rcClient;
}

void CKLVTabStyleAppearance8::AdjustClientRect(CKLVTabManager* pTabManager, CRect& rc) {
    CKLVTabPainter::DeflateRectEx(rc, m_pPaintManager->m_rcControlMargin, GetPosition());
    rc = GetClientRect(rc, pTabManager);
    CKLVTabPainter::DeflateRectEx(rc, GetClientMargin(), GetPosition());
}

void CKLVTabStyleAppearance8::RepositionTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    CKLVTabPainter::DeflateRectEx(rc, m_pPaintManager->m_rcControlMargin, GetPosition());
    const int nHeight = GetRowHeight(pTabManager), nCount = pTabManager->GetItemCount();
    const int nSelected = pTabManager->GetCurSel();
    const int nLeft = rc.left + (m_pPaintManager->m_nClientFrame != 2 ? 1 : 0);
    int y = rc.top;
    for (int i = 0; i < nCount; ++i) {
        CKLVTabManagerItem* pItem = pTabManager->GetItem(i);
        pItem->m_nLength = pItem->m_nContentLength = GetItemLength(pDC, pItem);
        if (i == nSelected + 1 && nSelected >= 0)
            y = std::min(std::max(static_cast<int>(rc.bottom) - (nCount - nSelected - 1) * nHeight, y + nHeight),
                         static_cast<int>(rc.bottom) - 1);
        pItem->SetRect(CRect(nLeft, y, rc.right, y + nHeight));
        y += nHeight;
    }
}

void CKLVTabStyleAppearance8::DrawTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    CKLVTabColors* pColors = GetColorSet();
    pDC->FillSolidRect(&rc, CKLVTabColors::GetColor(pColors->clrButtonFace));
    CKLVTabPainter::DeflateRectEx(rc, m_pPaintManager->m_rcControlMargin, GetPosition());
    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(&rc);
    const COLORREF clrFrame = CKLVTabColors::GetColor(pColors->clrFrameBorder);
    if (m_pPaintManager->m_nClientFrame != 2) pDC->Draw3dRect(&rc, clrFrame, clrFrame);
    else if (pTabManager->GetItemCount() > 0) CKLVTabPainter::DrawHorzLine(pDC, rc.left, rc.top, rc.Width(), clrFrame);
    pDC->SetBkMode(TRANSPARENT);
    for (int i = pTabManager->GetItemCount() - 1; i >= 0; --i)
        if (pTabManager->GetItem(i)->IsVisible()) DrawItem(pDC, pTabManager->GetItem(i));
    pDC->RestoreDC(nSaved);
}

void CKLVTabStyleAppearance8::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    CKLVTabColors* pColors = GetColorSet();
    CRect rc = pItem->GetRect();
    pColors->FillItem(pDC, rc, pItem);
    pDC->Draw3dRect(&rc, CKLVTabColors::GetColor(pColors->clrButtonHighlight),
                    CKLVTabColors::GetColor(pColors->clrFrameBorder));
    const COLORREF clrGrip = GetColorManager()->GetColor(38);
    for (int y = rc.top + 4; y < rc.bottom - 3; y += 2) pDC->FillSolidRect(rc.right - kGripOffset, y, 3, 1, clrGrip);
    rc.right -= kGripOffset;
    DrawContent(pDC, pItem, rc);
}
