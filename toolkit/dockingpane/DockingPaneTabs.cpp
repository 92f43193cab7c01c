#include "toolkit/dockingpane/DockingPaneTabs.h"

#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/tabs/TabPainter.h"

BOOL CKLVDockingPaneTabs::DrawIcon(CDC* pDC, CPoint pt, CKLVTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) {
    CKLVTabPainter* pPainter = GetPaintManager();
    if (!pPainter || !pPainter->m_bShowIcons) return FALSE;
    CKLVDockingPane* pPane = GetItemPane(pItem);
    CKLVImageManagerIcon* pIcon = pPane ? pPane->GetIcon(szIcon.cx) : nullptr;
    if (!pIcon) return FALSE;
    if (bDraw && pDC) pItem->DrawImage(pDC, CRect(pt, szIcon), pIcon);
    return TRUE;
}

CKLVTabManagerItem* CKLVDockingPaneTabs::AddPaneItem(CKLVDockingPane* pPane) {
    CKLVTabManagerItem* pItem = InsertItem(GetItemCount());
    pItem->m_strCaption = pPane->GetTabCaption();
    pItem->m_clrItem = pPane->GetTabColor();
    pItem->m_strToolTip = pPane->GetTitle();
    pItem->m_bEnabled = (pPane->GetEnabled() & CKLVDockingPane::enabledActive) != 0;
    pItem->m_dwData = reinterpret_cast<DWORD_PTR>(pPane);
    return pItem;
}

CKLVDockingPane* CKLVDockingPaneTabs::GetItemPane(const CKLVTabManagerItem* pItem) const {
    return pItem ? reinterpret_cast<CKLVDockingPane*>(pItem->m_dwData) : nullptr;
}
