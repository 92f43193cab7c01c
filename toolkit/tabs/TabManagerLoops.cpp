// The tab manager's modal mouse loops: press tracking and the reorder drag.
#include "toolkit/tabs/TabManager.h"

#include "toolkit/common/HeldReference.h"
#include "toolkit/tabs/TabMouseLoop.h"
#include "toolkit/tabs/TabPainter.h"

#include <vector>

void CKLVTabManager::TrackClick(HWND hWnd, CPoint pt, CKLVTabManagerItem* pItem) {
    CKLVHeldReference ref(pItem);
    const BOOL bHotTracking = GetPaintManager()->m_bHotTracking;
    m_pPressed = pItem;
    if (bHotTracking) m_pHighlighted = pItem;
    Reposition();

    BOOL bInside = TRUE, bClick = FALSE;
    {
        CKLVTabMouseLoop loop(hWnd);
        for (;;) {
            if (loop.Next() != CKLVTabMouseLoop::eventMessage) break;
            if (loop.GetMessageId() == WM_MOUSEMOVE) {
                pt = loop.GetPoint();
                bInside = pItem->m_rcItem.PtInRect(pt);
                CKLVTabManagerItem* pHot = bInside ? pItem : nullptr;
                if (bHotTracking && m_pHighlighted != pHot && pItem->m_pTabManager == this) {
                    m_pHighlighted = pHot;
                    RedrawControl(&pItem->m_rcItem, TRUE);
                }
            } else if (loop.GetMessageId() == WM_LBUTTONUP) {
                bClick = TRUE;
                break;
            } else if (loop.IsCancel()) {
                break;
            } else {
                loop.Dispatch();
            }
        }
    }
    m_pPressed = nullptr;
    PerformMouseMove(hWnd, pt);
    RedrawControl(nullptr, FALSE);
    // A tab deleted while the mouse was held is not selected.
    if (bClick && bInside && pItem->m_pTabManager == this) SelectItem(pItem);
}

void CKLVTabManager::ReorderItem(HWND hWnd, CPoint pt, CKLVTabManagerItem* pItem) {
    CKLVHeldReference ref(pItem);
    CKLVTabManagerItem* pSelected = m_pSelected;
    CKLVHeldReference refSelected(pSelected);
    m_pSelected = pItem;
    if (GetPaintManager()->m_bHotTracking) m_pHighlighted = pItem;
    Reposition();

    std::vector<CRect> arrRects;
    for (int i = 0; i < GetItemCount(); ++i) arrRects.push_back(m_arrItems[i]->m_rcItem);
    {
        CKLVTabMouseLoop loop(hWnd);
        for (;;) {
            if (loop.Next() != CKLVTabMouseLoop::eventMessage) break;
            const UINT nMessage = loop.GetMessageId();
            if (nMessage == WM_MOUSEMOVE) {
                pt = loop.GetPoint();
                if (pItem->m_pTabManager != this) continue;
                const int nCurrent = pItem->m_nIndex;
                for (int i = 0; i < static_cast<int>(arrRects.size()) && i < GetItemCount(); ++i) {
                    if (i == nCurrent || !arrRects[i].PtInRect(pt)) continue;
                    m_arrItems[nCurrent] = m_arrItems[i];
                    m_arrItems[i] = pItem;
                    OnItemsChanged();
                    break;
                }
            } else if (nMessage == WM_LBUTTONUP || loop.IsCancel()) {
                break;
            } else {
                loop.Dispatch();
            }
        }
    }
    PerformMouseMove(hWnd, pt);
    // Exchanges made stay, even after Escape; the remembered selection comes back so that
    // selecting the dragged tab runs the host's action.
    m_pSelected = pSelected && pSelected->m_pTabManager == this ? pSelected : nullptr;
    if (pItem->m_pTabManager == this) SelectItem(pItem);
}
