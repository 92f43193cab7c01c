// Appearances 0 and 1: three-dimensional tabs lit from the top left.
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyleAppearances.h"

using Painter = CKLVTabPainter;

CRect CKLVTabStyleAppearance0::GetClientMargin() {
    CRect rc = m_pPaintManager->m_rcClientMargin;
    if (GetColorSet()->IsThemed() && !m_pPaintManager->m_bStaticFrame) {
        rc.right += 2;
        if (GetPosition() == Painter::positionTop || GetPosition() == Painter::positionLeft) rc.bottom += 2;
    }
    return rc;
}

CRect CKLVTabStyleAppearance0::FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    CKLVTabColors* pColors = GetColorSet();
    const COLORREF clrLight = CKLVTabColors::GetColor(pColors->clrEdgeHighlight);
    const COLORREF clrShadow = CKLVTabColors::GetColor(pColors->clrEdgeLightShadow);
    const COLORREF clrDark = CKLVTabColors::GetColor(pColors->clrEdgeDarkShadow);
    const CRect rcHeader = FillHeaderWithFrame(pTabManager, pDC, rc, clrLight, clrDark, FALSE);
    const CRect rcClient = GetClientRect(rc, pTabManager);
    if (m_pPaintManager->m_nClientFrame == 0) {
        Painter::DrawHorzLine(pDC, rcClient.left + 1, rcClient.bottom - 2, rcClient.Width() - 2, clrShadow);
        Painter::DrawVertLine(pDC, rcClient.right - 2, rcClient.top + 1, rcClient.Height() - 2, clrShadow);
    } else if (m_pPaintManager->m_nClientFrame == 1) {
        if (GetPosition() == Painter::positionBottom)
            Painter::DrawHorzLine(pDC, rcClient.left, rcClient.bottom - 2, rcClient.Width(), clrShadow);
        else if (GetPosition() == Painter::positionRight)
            Painter::DrawVertLine(pDC, rcClient.right - 2, rcClient.top, rcClient.Height(), clrShadow);
    }
    return rcHeader;
}

void CKLVTabStyleAppearance0::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) { DrawTab(pDC, pItem); }

void CKLVTabStyleAppearance0::DrawTab(CDC* pDC, CKLVTabManagerItem* pItem) {
    CKLVTabColors* pColors = GetColorSet();
    const COLORREF clrLight = CKLVTabColors::GetColor(pColors->clrEdgeHighlight);
    const COLORREF clrShadow = CKLVTabColors::GetColor(pColors->clrEdgeLightShadow);
    const COLORREF clrDark = CKLVTabColors::GetColor(pColors->clrEdgeDarkShadow);
    const BOOL bSelected = pItem->IsSelected();
    const BOOL bJoin = bSelected && pItem->m_nItemRow <= 0;
    const int nPosition = GetPosition();
    CRect rc = pItem->GetRect();
    if (bSelected) {
        if (nPosition == Painter::positionTop) rc.InflateRect(2, 2, 2, 0);
        else if (nPosition == Painter::positionLeft) rc.InflateRect(2, 2, 0, 2);
        else rc.InflateRect(2, 2);
    }
    const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    const COLORREF clrFill = pColors->FillItem(pDC, CRect(l + 1, t + 1, r - 1, b - 1), pItem);
    auto pixel = [&](int x, int y, COLORREF clr) {
        if (clr != COLORREF(-1)) pDC->SetPixel(x, y, clr);
    };
    switch (nPosition) {
    case Painter::positionLeft:
        Painter::DrawHorzLine(pDC, l + 2, t, r - l - 2, clrLight);
        pixel(l + 1, t + 1, clrLight);
        Painter::DrawVertLine(pDC, l, t + 2, b - t - 4, clrLight);
        pixel(l + 1, b - 2, clrDark);
        Painter::DrawHorzLine(pDC, l + 2, b - 1, r - l - 3, clrDark);
        Painter::DrawHorzLine(pDC, l + 2, b - 2, r - l - 3, clrShadow);
        if (bJoin) Painter::DrawVertLine(pDC, r - 1, t + 1, b - t - 3, clrFill);
        break;
    case Painter::positionBottom:
        Painter::DrawVertLine(pDC, l, t, b - t - 2, clrLight);
        pixel(l + 1, b - 2, clrLight);
        Painter::DrawHorzLine(pDC, l + 2, b - 1, r - l - 4, clrDark);
        pixel(r - 2, b - 2, clrDark);
        Painter::DrawVertLine(pDC, r - 1, t, b - t - 2, clrDark);
        Painter::DrawHorzLine(pDC, l + 2, b - 2, r - l - 4, clrShadow);
        Painter::DrawVertLine(pDC, r - 2, t, b - t - 2, clrShadow);
        if (bJoin) Painter::DrawHorzLine(pDC, l + 1, t, r - l - 3, clrFill);
        break;
    case Painter::positionRight:
        Painter::DrawHorzLine(pDC, l, t, r - l - 2, clrLight);
        pixel(r - 2, t + 1, clrLight);
        Painter::DrawVertLine(pDC, r - 1, t + 2, b - t - 4, clrDark);
        pixel(r - 2, b - 2, clrDark);
        Painter::DrawHorzLine(pDC, l, b - 1, r - l - 2, clrDark);
        Painter::DrawVertLine(pDC, r - 2, t + 2, b - t - 4, clrShadow);
        Painter::DrawHorzLine(pDC, l, b - 2, r - l - 3, clrShadow);
        if (bJoin) Painter::DrawVertLine(pDC, l, t + 1, b - t - 3, clrFill);
        break;
    default:
        Painter::DrawVertLine(pDC, l, t + 2, b - t - 2, clrLight);
        pixel(l + 1, t + 1, clrLight);
        Painter::DrawHorzLine(pDC, l + 2, t, r - l - 4, clrLight);
        pixel(r - 2, t + 1, clrDark);
        Painter::DrawVertLine(pDC, r - 1, t + 2, b - t - 3, clrDark);
        Painter::DrawVertLine(pDC, r - 2, t + 2, b - t - 3, clrShadow);
        if (bJoin) Painter::DrawHorzLine(pDC, l + 1, b - 1, r - l - 3, clrFill);
        break;
    }
    DrawContent(pDC, pItem, rc);
}

void CKLVTabStyleAppearance1::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    if (pItem->IsSelected() || pItem->IsHot()) DrawTab(pDC, pItem);
    else DrawContent(pDC, pItem, pItem->GetRect());
}
