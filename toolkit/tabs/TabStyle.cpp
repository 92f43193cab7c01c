#include "toolkit/tabs/TabStyle.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"

#include <algorithm>
#include <vector>

CKLVTabColors* CKLVTabStyle::GetColorSet() const { return m_pPaintManager->GetColorSet(); }
int CKLVTabStyle::GetPosition() const { return m_pPaintManager ? m_pPaintManager->GetPosition() : 0; }

void CKLVTabStyle::RefreshMetrics() {
    CClientDC dc(nullptr);
    CKLVFontDC font(&dc, m_pPaintManager->GetFont());
    m_nTextHeight = std::max(18, static_cast<int>(dc.GetTextExtent(" ", 1).cy) + 3);
}

int CKLVTabStyle::GetHeaderSize(CKLVTabManager* pTabManager) {
    const CRect rcMargins = GetMargins();
    const int nRows = std::max(1, pTabManager->GetRows()->GetRowCount());
    int nRowPart = GetRowHeight(pTabManager) * nRows + m_nRowMargin * (nRows - 1);
    if (pTabManager->GetLayout() == CKLVTabPainter::layoutRotated)
        for (int i = 0; i < pTabManager->GetItemCount(); ++i) nRowPart = std::max(nRowPart, pTabManager->GetItem(i)->m_nLength);
    return rcMargins.top + rcMargins.bottom + nRowPart;
}

CRect CKLVTabStyle::GetHeaderRect(CRect rc, CKLVTabManager* pTabManager) {
    const int nSize = GetHeaderSize(pTabManager);
    switch (GetPosition()) {
    case CKLVTabPainter::positionLeft: rc.right = rc.left + nSize; break;
    case CKLVTabPainter::positionBottom: rc.top = rc.bottom - nSize; break;
    case CKLVTabPainter::positionRight: rc.left = rc.right - nSize; break;
    default: rc.bottom = rc.top + nSize; break;
    }
    return rc;
}

CRect CKLVTabStyle::GetClientRect(CRect rc, CKLVTabManager* pTabManager) {
    const CRect rcHeader = GetHeaderRect(rc, pTabManager);
    switch (GetPosition()) {
    case CKLVTabPainter::positionLeft: rc.left = rcHeader.right - 1; break;
    case CKLVTabPainter::positionBottom: rc.bottom = rcHeader.top + 1; break;
    case CKLVTabPainter::positionRight: rc.right = rcHeader.left + 1; break;
    default: rc.top = rcHeader.bottom - 1; break;
    }
    return rc;
}

CRect CKLVTabStyle::GetClientEdge(CRect rcHeader) {
    switch (GetPosition()) {
    case CKLVTabPainter::positionLeft: rcHeader.left = rcHeader.right - 1; break;
    case CKLVTabPainter::positionBottom: rcHeader.bottom = rcHeader.top + 1; break;
    case CKLVTabPainter::positionRight: rcHeader.right = rcHeader.left + 1; break;
    default: rcHeader.top = rcHeader.bottom - 1; break;
    }
    return rcHeader;
}

CRect CKLVTabStyle::GetClientMargin() { return m_pPaintManager->m_rcClientMargin; }

int CKLVTabStyle::GetItemLength(CDC* pDC, CKLVTabManagerItem* pItem) {
    return m_pPaintManager->DrawItemContent(pDC, pItem, CRect(), FALSE);
}

int CKLVTabStyle::GetRowHeight(CKLVTabManager* pTabManager) {
    const CRect& rcInset = m_pPaintManager->m_rcButtonMargin;
    const int nInset = rcInset.top + rcInset.bottom;
    int nHeight = m_nTextHeight + nInset;
    CSize szNormal(0, 0);
    if (pTabManager->GetItemMetrics(&szNormal, nullptr, nullptr)) nHeight = std::max(nHeight, static_cast<int>(szNormal.cy));
    if (m_pPaintManager->m_bShowIcons) {
        CSize szIcon = m_pPaintManager->m_szIcon;
        pTabManager->DrawIcon(nullptr, CPoint(), nullptr, FALSE, szIcon);
        nHeight = std::max(nHeight, static_cast<int>(std::max(szIcon.cx, szIcon.cy)) + nInset + 4);
    }
    return nHeight;
}

CRect CKLVTabStyle::GetItemDrawRect(CKLVTabManagerItem* pItem) {
    CRect rc = pItem->GetRect();
    rc.InflateRect(2, 2);
    return rc;
}

void CKLVTabStyle::DrawTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    m_pPaintManager->DrawTabRow(pTabManager, pDC, rc);
}

CRect CKLVTabStyle::FillHeader(CKLVTabManager*, CDC*, CRect rc) { return rc; }

void CKLVTabStyle::RepositionTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    m_pPaintManager->LayoutTabRow(pTabManager, pDC, rc);
}

void CKLVTabStyle::AdjustClientRect(CKLVTabManager* pTabManager, CRect& rc) {
    const int nPosition = GetPosition();
    CKLVTabPainter::DeflateRectEx(rc, m_pPaintManager->m_rcControlMargin, nPosition);
    rc = GetClientRect(rc, pTabManager);
    CKLVTabPainter::DeflateRectEx(rc, GetClientMargin(), nPosition);
    if (m_pPaintManager->m_nClientFrame == 0) rc.DeflateRect(2, 2);
    else if (m_pPaintManager->m_nClientFrame == 1) CKLVTabPainter::DeflateRectEx(rc, 0, 2, 0, 0, nPosition);
}

void CKLVTabStyle::DrawItem(CDC*, CKLVTabManagerItem*) {}

void CKLVTabStyle::DrawClientFrame(CDC* pDC, CRect rc, int nFrameMode) {
    CKLVTabColors* pColors = GetColorSet();
    const COLORREF clrFrame = CKLVTabColors::GetColor(pColors->clrFrameBorder);
    if (m_pPaintManager->m_bStaticFrame) {
        const COLORREF clrFace = CKLVTabColors::GetColor(pColors->clrButtonFace);
        switch (nFrameMode) {
        case 0: {
            const COLORREF clrSystemFace = GetColorManager()->GetColor(COLOR_BTNFACE);
            pDC->Draw3dRect(rc.left + 1, rc.top, rc.Width() - 2, rc.Height() - 1, clrSystemFace, clrSystemFace);
            pDC->Draw3dRect(&rc, clrFrame, clrFrame);
            break;
        }
        case 1: rc.top -= 1; break;
        case 2:
            pDC->FillSolidRect(&rc, clrFace);
            CKLVTabPainter::DrawVertLine(pDC, rc.right - 1, rc.top, rc.Height(), clrFrame);
            break;
        case 3:
            pDC->FillSolidRect(&rc, clrFace);
            CKLVTabPainter::DrawHorzLine(pDC, rc.left, rc.bottom - 1, rc.Width(), clrFrame);
            break;
        default: break;
        }
        return;
    }
    if (nFrameMode == 1) rc.InflateRect(2, 2);
    else if (nFrameMode == 2 || nFrameMode == 3)
        pDC->FillSolidRect(&rc, CKLVTabColors::GetColor(pColors->clrHeaderFace.m_clrFrom));
}

CRect CKLVTabStyle::FillHeaderWithFrame(CKLVTabManager* pTabManager, CDC* pDC, CRect rc, COLORREF clrTopLeft,
                                        COLORREF clrBottomRight, BOOL bFillClientOnBand) {
    CKLVTabColors* pColors = GetColorSet();
    const CRect rcHeader = GetHeaderRect(rc, pTabManager);
    pColors->FillHeader(pDC, rcHeader, pTabManager);
    const CRect rcClient = GetClientRect(rc, pTabManager);
    switch (m_pPaintManager->m_nClientFrame) {
    case 0:
        pColors->FillClient(pDC, rcClient, pTabManager);
        pDC->Draw3dRect(&rcClient, clrTopLeft, clrBottomRight);
        break;
    case 1:
        if (bFillClientOnBand) pColors->FillClient(pDC, rcClient, pTabManager);
        CKLVTabPainter::DrawEdgeLine(pDC, rcClient, GetPosition(), clrTopLeft, clrBottomRight);
        break;
    default: break;
    }
    return rcHeader;
}

void CKLVTabStyle::DrawContent(CDC* pDC, CKLVTabManagerItem* pItem, const CRect& rc) {
    m_pPaintManager->DrawItemContent(pDC, pItem, rc, TRUE);
}

CKLVTabFigure::CKLVTabFigure(const CRect& rcItem, int nPosition) : m_rcItem(rcItem), m_nPosition(nPosition) {
    const BOOL bVertical = nPosition == CKLVTabPainter::positionLeft || nPosition == CKLVTabPainter::positionRight;
    m_rcLocal = bVertical ? CRect(rcItem.top, rcItem.left, rcItem.bottom, rcItem.right) : rcItem;
}

CPoint CKLVTabFigure::ToDevice(int x, int y) const {
    switch (m_nPosition) {
    case CKLVTabPainter::positionLeft: return CPoint(y, x);
    case CKLVTabPainter::positionBottom: return CPoint(x, m_rcItem.top + m_rcItem.bottom - 1 - y);
    case CKLVTabPainter::positionRight: return CPoint(m_rcItem.left + m_rcItem.right - 1 - y, x);
    default: return CPoint(x, y);
    }
}

CRect CKLVTabFigure::ToDevice(const CRect& rcLocal) const {
    const CPoint pt1 = ToDevice(rcLocal.left, rcLocal.top), pt2 = ToDevice(rcLocal.right - 1, rcLocal.bottom - 1);
    return CRect(std::min(pt1.x, pt2.x), std::min(pt1.y, pt2.y), std::max(pt1.x, pt2.x) + 1, std::max(pt1.y, pt2.y) + 1);
}

void CKLVTabFigure::Polyline(CDC* pDC, COLORREF clr, std::initializer_list<CPoint> pts) const {
    if (clr == COLORREF(-1) || pts.size() < 2) return;
    CKLVPenDC pen(AfxGetSafeHdc(pDC), clr);
    BOOL bFirst = TRUE;
    for (const CPoint& pt : pts) {
        const CPoint ptDevice = ToDevice(pt.x, pt.y);
        if (bFirst) pDC->MoveTo(ptDevice);
        else pDC->LineTo(ptDevice);
        bFirst = FALSE;
    }
}

COLORREF CKLVTabFigure::FillPolygon(CDC* pDC, CKLVTabManagerItem* pItem, std::initializer_list<CPoint> pts) const {
    std::vector<POINT> arrPoints;
    for (const CPoint& pt : pts) arrPoints.push_back(ToDevice(pt.x, pt.y));
    return CKLVTabPainter::FillItemPolygon(pDC, pItem, arrPoints.data(), static_cast<int>(arrPoints.size()), m_nPosition,
                                           TRUE);
}

void CKLVTabFigure::HorzLine(CDC* pDC, int x, int y, int nLength, COLORREF clr) const {
    if (clr == COLORREF(-1) || nLength <= 0) return;
    const CRect rc = ToDevice(CRect(x, y, x + nLength, y + 1));
    pDC->FillSolidRect(&rc, clr);
}
