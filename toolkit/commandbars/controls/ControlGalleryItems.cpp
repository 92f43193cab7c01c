#include "toolkit/commandbars/controls/ControlGalleryItems.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/controls/ControlGallery.h"
#include "toolkit/common/DCScopes.h"

#include <atomic>

void CKLVControlGalleryItem::Draw(CDC* pDC, CKLVControlGallery* pGallery, CRect rc, BOOL bEnabled, BOOL bSelected,
                                  BOOL bPressed) {
    CKLVPaintManager* pPaintManager = pGallery->GetPaintManager();
    if (!pPaintManager) return;
    if (bSelected) pPaintManager->DrawRectangle(pDC, rc, TRUE, bPressed, bEnabled, FALSE, FALSE, 0, 0);
    CKLVFontDC font(pDC, &pPaintManager->m_fontRegular,
                    pPaintManager->GetRectangleTextColor(bSelected, bPressed, bEnabled, FALSE, FALSE, 0, 0));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(m_strCaption, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

UINT64 CKLVControlGalleryItems::NextSerial() {
    static std::atomic<UINT64> nLast{0};
    return ++nLast;
}

CKLVControlGalleryItem* CKLVControlGalleryItems::GetItem(int nIndex) const {
    return nIndex >= 0 && nIndex < GetItemCount() ? m_arrItems[static_cast<size_t>(nIndex)] : nullptr;
}

CKLVControlGalleryItem* CKLVControlGalleryItems::AddItem(const CString& strCaption, int nId) {
    auto* pItem = new CKLVControlGalleryItem;
    pItem->m_strCaption = strCaption;
    pItem->m_nId = nId;
    pItem->m_szItem = m_szItem;
    return AddItem(pItem);
}

CKLVControlGalleryItem* CKLVControlGalleryItems::AddItem(CKLVControlGalleryItem* pItem) {
    pItem->m_pItems = this;
    m_arrItems.push_back(pItem);
    Renumber();
    ++m_nRevision;
    return pItem;
}

CKLVControlGalleryItem* CKLVControlGalleryItems::AddLabel(const CString& strCaption) {
    CKLVControlGalleryItem* pItem = AddItem(strCaption);
    pItem->m_bLabel = TRUE;
    pItem->m_szItem = CSize(0, 0);
    return pItem;
}

void CKLVControlGalleryItems::Remove(int nIndex) {
    CKLVControlGalleryItem* pItem = GetItem(nIndex);
    if (!pItem) return;
    m_arrItems.erase(m_arrItems.begin() + nIndex);
    pItem->InternalRelease();
    Renumber();
    ++m_nRevision;
}

void CKLVControlGalleryItems::RemoveAll() {
    for (CKLVControlGalleryItem* pItem : m_arrItems) pItem->InternalRelease();
    m_arrItems.clear();
    ++m_nRevision;
}

void CKLVControlGalleryItems::Renumber() {
    for (size_t i = 0; i < m_arrItems.size(); ++i) m_arrItems[i]->m_nIndex = static_cast<int>(i);
}
