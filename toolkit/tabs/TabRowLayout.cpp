// Laying a row out: measuring, size to fit, several rows, scrolling into view.
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyle.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

int AlongRow(const CRect& rc, BOOL bHorizontal) { return bHorizontal ? rc.Width() : rc.Height(); }

}  // namespace

void CKLVTabPainter::AdjustClientRect(CKLVTabManager* pTabManager, CRect& rcClient) {
    if (m_bStaticFrame) DeflateRectEx(rcClient, 2, 1, 2, 2, m_nPosition);
    if (pTabManager->GetItemCount() > 0) m_pAppearanceSet->AdjustClientRect(pTabManager, rcClient);
}

void CKLVTabPainter::RepositionTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rcClient) {
    pTabManager->m_rcHeaderRect.SetRectEmpty();
    pTabManager->m_rcControl = pTabManager->m_rcClient = rcClient;
    pTabManager->GetRows()->SetRowCount(1);
    for (int i = 0; i < pTabManager->GetItemCount(); ++i) pTabManager->GetItem(i)->m_nItemRow = 0;
    m_pAppearanceSet->RepositionTabControl(pTabManager, pDC, rcClient);
    AdjustClientRect(pTabManager, pTabManager->m_rcClient);
}

void CKLVTabPainter::LayoutTabRow(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    if (m_bStaticFrame) DeflateRectEx(rc, 2, 1, 2, 2, m_nPosition);
    DeflateRectEx(rc, m_rcControlMargin, m_nPosition);
    if (m_nLayout == layoutMultiRow) {
        LayoutMultiRow(pTabManager, pDC, rc);
        return;
    }
    const int nCount = pTabManager->GetItemCount();
    for (int i = 0; i < nCount; ++i) {
        CKLVTabManagerItem* pItem = pTabManager->GetItem(i);
        const BOOL bVisible = pItem->IsVisible();
        pItem->m_nContentLength = bVisible ? m_pAppearanceSet->GetItemLength(pDC, pItem) : 0;
        pItem->m_nLength = pItem->m_nContentLength + (bVisible ? m_nFixedItemExtra : 0);
    }
    pTabManager->m_rcHeaderRect = m_pAppearanceSet->GetHeaderRect(rc, pTabManager);
    if (nCount == 0) {
        GetItemsRect(pTabManager, rc);
        return;
    }
    const CRect rcMargins = m_pAppearanceSet->GetMargins();
    const BOOL bHorizontal = pTabManager->IsHorizontalPosition();

    if (m_nLayout == layoutSizeToFit) {
        int nRoom = AlongRow(rc, bHorizontal) - rcMargins.left - rcMargins.right;
        for (int i = pTabManager->GetNavigateButtonCount() - 1; i >= 0; --i)
            pTabManager->GetNavigateButton(i)->AdjustRowLength(nRoom);
        FitItems(pTabManager, nRoom);
    }
    pTabManager->m_rcHeaderRect = GetItemsRect(pTabManager, rc);
    if (pTabManager->GetScrollOffset() < 0) {
        const int nRoom = AlongRow(pTabManager->m_rcHeaderRect, bHorizontal) - rcMargins.left - rcMargins.right;
        const int nItems = pTabManager->GetItemsLength();
        if (pTabManager->GetScrollOffset() + nItems < nRoom) {
            // The row never scrolls further than needed to show its end.
            pTabManager->m_nHeaderOffset = std::min(0, nRoom - nItems);
            pTabManager->m_rcHeaderRect = GetItemsRect(pTabManager, rc);
        }
    }
    PlaceRowItems(pTabManager, rc, bHorizontal ? pTabManager->m_rcHeaderRect.left : pTabManager->m_rcHeaderRect.top);
}

void CKLVTabPainter::PlaceRowItems(CKLVTabManager* pTabManager, const CRect& rc, int nHeaderStart) {
    const CRect rcMargins = m_pAppearanceSet->GetMargins();
    const int nHeight = m_pAppearanceSet->GetRowHeight(pTabManager);
    const BOOL bHorizontal = pTabManager->IsHorizontalPosition();
    const CRect& rcHeader = pTabManager->m_rcHeaderRect;
    int nRowStart;
    switch (m_nPosition) {
    case positionBottom: nRowStart = rc.bottom - rcMargins.top - nHeight; break;
    case positionRight: nRowStart = rc.right - rcMargins.top - nHeight; break;
    case positionLeft: nRowStart = rc.left + rcMargins.top; break;
    default: nRowStart = rc.top + rcMargins.top; break;
    }
    int x = nHeaderStart + pTabManager->GetScrollOffset() + rcMargins.left;
    for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
        CKLVTabManagerItem* pItem = pTabManager->GetItem(i);
        const int nLength = pItem->IsVisible() ? pItem->m_nLength : 0;
        int nAcross1 = nRowStart, nAcross2 = nRowStart + nHeight, nAlong2 = x + nLength;
        if (m_nLayout == layoutRotated) {
            // Every tab advances by the row height and stands on end, anchored on the client side.
            nAlong2 = x + nHeight;
            switch (m_nPosition) {
            case positionBottom: nAcross1 = rcHeader.top + rcMargins.bottom; nAcross2 = nAcross1 + nLength; break;
            case positionLeft: nAcross2 = rcHeader.right - rcMargins.bottom; nAcross1 = nAcross2 - nLength; break;
            case positionRight: nAcross1 = rcHeader.left + rcMargins.bottom; nAcross2 = nAcross1 + nLength; break;
            default: nAcross2 = rcHeader.bottom - rcMargins.bottom; nAcross1 = nAcross2 - nLength; break;
            }
            if (!pItem->IsVisible()) nAlong2 = x;
        }
        pItem->SetRect(bHorizontal ? CRect(x, nAcross1, nAlong2, nAcross2) : CRect(nAcross1, x, nAcross2, nAlong2));
        x = nAlong2;
    }
}

CRect CKLVTabPainter::GetItemsRect(CKLVTabManager* pTabManager, CRect rcClient) {
    CRect rc = m_pAppearanceSet->GetHeaderRect(rcClient, pTabManager);
    (pTabManager->IsHorizontalPosition() ? rc.right : rc.bottom) -= 1;
    for (int i = pTabManager->GetNavigateButtonCount() - 1; i >= 0; --i) pTabManager->GetNavigateButton(i)->Reposition(rc);
    return rc;
}

void CKLVTabPainter::FitItems(CKLVTabManager* pTabManager, int nRoom) {
    const int nTotal = pTabManager->GetItemsLength();
    const int nCount = pTabManager->GetItemCount();
    if (nRoom >= nTotal || nCount == 0) return;
    if (nCount == 1) {
        pTabManager->GetItem(0)->m_nLength = nRoom;
        return;
    }
    std::vector<CKLVTabManagerItem*> arrOrder;
    for (int i = 0; i < nCount; ++i) arrOrder.push_back(pTabManager->GetItem(i));
    std::sort(arrOrder.begin(), arrOrder.end(),
              [](const CKLVTabManagerItem* a, const CKLVTabManagerItem* b) { return a->m_nLength > b->m_nLength; });
    int nExcess = nTotal - nRoom;
    int nGroup = 1;
    for (;;) {
        while (nGroup < nCount && arrOrder[nGroup]->m_nLength == arrOrder[0]->m_nLength) ++nGroup;
        if (nGroup == nCount) {
            // Every tab is as long as the others: share the room (the remainder is lost).
            for (CKLVTabManagerItem* pItem : arrOrder) pItem->m_nLength = nRoom / nCount;
            return;
        }
        const int nLevel = arrOrder[nGroup]->m_nLength;
        const int nCost = (arrOrder[0]->m_nLength - nLevel) * nGroup;
        if (nCost >= nExcess) break;
        nExcess -= nCost;
        for (int i = 0; i < nGroup; ++i) arrOrder[i]->m_nLength = nLevel;
    }
    for (int i = 0; i < nGroup; ++i) arrOrder[i]->m_nLength -= nExcess / nGroup;
}

int CKLVTabPainter::CalcRows(CKLVTabManager* pTabManager, CDC* pDC, int nRoom) {
    int nRows = 1, nWidth = 0;
    for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
        CKLVTabManagerItem* pItem = pTabManager->GetItem(i);
        const int nLength = pItem->IsVisible() ? m_pAppearanceSet->GetItemLength(pDC, pItem) : 0;
        pItem->m_nLength = pItem->m_nContentLength = nLength;
        if (nWidth != 0 && nWidth + nLength > nRoom) {
            ++nRows;
            nWidth = 0;
        }
        nWidth += nLength;
    }
    pTabManager->GetRows()->SetRowCount(nRows);
    return nRows;
}

BOOL CKLVTabPainter::FillRows(CKLVTabManager* pTabManager, int nRoom, int nRow, int nRemaining) {
    CKLVTabRows* pRows = pTabManager->GetRows();
    const int nRowCount = pRows->GetRowCount();
    const int nTarget = m_bMultiRowJustified ? std::min(nRoom, nRemaining / (nRowCount - nRow)) : nRoom;
    const int nFirst = pRows->GetAt(nRow).nFirstItem;
    int nWidth = 0;
    for (int i = nFirst; i < pTabManager->GetItemCount(); ++i) {
        CKLVTabManagerItem* pItem = pTabManager->GetItem(i);
        const int nLength = pItem->m_nLength;
        if (nLength > 0 && nWidth + nLength > nTarget && i > nFirst) {
            if (nRow == nRowCount - 1) return FALSE;
            pRows->GetAt(nRow + 1).nFirstItem = i;
            pRows->GetAt(nRow).nLastItem = i - 1;
            if (FillRows(pTabManager, nRoom, nRow + 1, nRemaining - nWidth)) return TRUE;
            if (nWidth + nLength > nRoom) return FALSE;
        }
        pItem->m_nItemRow = nRow;
        pRows->GetAt(nRow).nLastItem = i;
        nWidth += nLength;
    }
    return TRUE;
}

void CKLVTabPainter::LayoutMultiRow(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    pTabManager->m_rcHeaderRect = GetItemsRect(pTabManager, rc);
    pTabManager->m_nHeaderOffset = 0;
    const int nCount = pTabManager->GetItemCount();
    if (nCount == 0) return;
    const CRect rcMargins = m_pAppearanceSet->GetMargins();
    const int nHeight = m_pAppearanceSet->GetRowHeight(pTabManager);
    const int nSpacing = m_pAppearanceSet->m_nRowMargin;
    const BOOL bHorizontal = pTabManager->IsHorizontalPosition();
    const int nRoom = AlongRow(pTabManager->m_rcHeaderRect, bHorizontal) - rcMargins.left - rcMargins.right;

    const int nRowCount = CalcRows(pTabManager, pDC, nRoom);
    CKLVTabRows* pRows = pTabManager->GetRows();
    if (nRowCount > 1) {
        pRows->GetAt(0) = CKLVTabRows::ROW{0, 0};
        FillRows(pTabManager, nRoom, 0, pTabManager->GetItemsLength());
        CKLVTabManagerItem* pSelected = pTabManager->GetSelectedItem();
        // Rows count outward from the client area: the selected tab's row comes next to it.
        if (!m_bKeepSelectedRow && pSelected && pSelected->m_nItemRow > 0) pRows->Swap(pSelected->m_nItemRow, 0);
    }
    const int nHeaderStart = bHorizontal ? pTabManager->m_rcHeaderRect.left : pTabManager->m_rcHeaderRect.top;
    for (int nRow = 0; nRow < nRowCount; ++nRow) {
        int nRowStart;
        switch (m_nPosition) {
        case positionBottom:
            nRowStart = rc.bottom - rcMargins.top - nRowCount * nHeight - (nRowCount - 1) * nSpacing + nRow * (nHeight + nSpacing);
            break;
        case positionRight:
            nRowStart = rc.right - rcMargins.top - nRowCount * nHeight - (nRowCount - 1) * nSpacing + nRow * (nHeight + nSpacing);
            break;
        case positionLeft: nRowStart = rc.left + rcMargins.top + (nRowCount - 1 - nRow) * (nHeight + nSpacing); break;
        default: nRowStart = rc.top + rcMargins.top + (nRowCount - 1 - nRow) * (nHeight + nSpacing); break;
        }
        const CKLVTabRows::ROW row = pRows->GetAt(nRow);
        int nRoomLeft = nRoom, nLengthLeft = 0;
        for (int i = row.nFirstItem; i <= row.nLastItem; ++i) nLengthLeft += pTabManager->GetItem(i)->m_nLength;
        const BOOL bStretch = m_bMultiRowJustified && nRowCount > 1;
        int x = nHeaderStart + rcMargins.left;
        for (int i = row.nFirstItem; i <= row.nLastItem; ++i) {
            CKLVTabManagerItem* pItem = pTabManager->GetItem(i);
            int nLength = pItem->m_nLength;
            if (bStretch) {
                const int nItemsLeft = row.nLastItem - i + 1;
                const int nNew = nLength + (nRoomLeft - nLengthLeft) / nItemsLeft;
                nRoomLeft -= nNew;
                nLengthLeft -= nLength;
                nLength = pItem->m_nLength = nNew;
            }
            pItem->m_nItemRow = nRow;
            pItem->SetRect(bHorizontal ? CRect(x, nRowStart, x + nLength, nRowStart + nHeight)
                                       : CRect(nRowStart, x, nRowStart + nHeight, x + nLength));
            x += nLength;
        }
    }
    pTabManager->m_rcHeaderRect = GetItemsRect(pTabManager, rc);
}

void CKLVTabPainter::EnsureVisible(CKLVTabManager* pTabManager, CKLVTabManagerItem* pItem) {
    const CRect rcItem = pItem->GetRect(), rcHeader = pTabManager->m_rcHeaderRect;
    if (rcItem.IsRectEmpty() || rcHeader.IsRectEmpty() || m_nLayout == layoutSizeToFit) return;
    const int nMarginLeft = m_pAppearanceSet->GetMargins().left;
    const int nOffset = pTabManager->GetScrollOffset();
    const BOOL bHorizontal = pTabManager->IsHorizontalPosition();
    const int nItemStart = bHorizontal ? rcItem.left : rcItem.top, nItemEnd = bHorizontal ? rcItem.right : rcItem.bottom;
    const int nHeaderStart = bHorizontal ? rcHeader.left : rcHeader.top;
    const int nHeaderEnd = bHorizontal ? rcHeader.right : rcHeader.bottom;
    if (nItemStart < nHeaderStart) pTabManager->SetScrollOffset(nOffset + nHeaderStart - nItemStart + nMarginLeft);
    else if (nItemEnd > nHeaderEnd) pTabManager->SetScrollOffset(nOffset - (nItemEnd - nHeaderEnd));
}
