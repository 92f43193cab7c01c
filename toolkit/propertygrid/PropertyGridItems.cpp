#include "toolkit/propertygrid/PropertyGridItems.h"

#include "classlib/Exceptions.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <mbstring.h>

#include <algorithm>

CKLVPropertyGridItem* CKLVPropertyGridItems::GetAt(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrItems[nIndex] : nullptr;
}

void CKLVPropertyGridItems::InsertAt(int nIndex, CKLVPropertyGridItem* pItem) {
    if (nIndex < 0 || nIndex > GetCount()) nIndex = GetCount();
    m_arrItems.insert(m_arrItems.begin() + nIndex, pItem);
}

CKLVPropertyGridItem* CKLVPropertyGridItems::FindItem(UINT nID) const {
    for (CKLVPropertyGridItem* pItem : m_arrItems) {
        if (pItem->m_nID == nID) return pItem;
        if (CKLVPropertyGridItem* pFound = pItem->GetChilds()->FindItem(nID)) return pFound;
    }
    return nullptr;
}

int CKLVPropertyGridItems::CompareCaptions(LPCTSTR lpszFirst, LPCTSTR lpszSecond) {
    return _mbscmp(reinterpret_cast<const unsigned char*>(lpszFirst), reinterpret_cast<const unsigned char*>(lpszSecond));
}

CKLVPropertyGridItem* CKLVPropertyGridItems::FindItemByCaption(LPCTSTR lpszCaption) const {
    for (CKLVPropertyGridItem* pItem : m_arrItems) {
        if (CompareCaptions(pItem->m_strCaption, lpszCaption) == 0) return pItem;
        if (CKLVPropertyGridItem* pFound = pItem->GetChilds()->FindItemByCaption(lpszCaption)) return pFound;
    }
    return nullptr;
}

void CKLVPropertyGridItems::Clear() {
    if (m_arrItems.empty()) return;
    CKLVPropertyGridView* pView = m_arrItems.front()->m_pGrid;
    if (pView) pView->BeginUpdate();
    std::vector<CKLVPropertyGridItem*> arrItems;
    arrItems.swap(m_arrItems);
    for (CKLVPropertyGridItem* pItem : arrItems) {
        pItem->Clear();
        pItem->InternalRelease();
    }
    if (pView) pView->EndUpdate();
}

void CKLVPropertyGridItems::Sort() {
    std::sort(m_arrItems.begin(), m_arrItems.end(), [](const CKLVPropertyGridItem* a, const CKLVPropertyGridItem* b) {
        return CompareCaptions(a->m_strCaption, b->m_strCaption) < 0;
    });
}

void CKLVPropertyGridItems::Append(const CKLVPropertyGridItems* pItems) {
    m_arrItems.insert(m_arrItems.end(), pItems->m_arrItems.begin(), pItems->m_arrItems.end());
}

CKLVImageManagerIcon* CKLVPropertyGridItemConstraint::GetImage() const {
    if (!m_pItem || m_nImage < 0 || !m_pItem->GetGridView()) return nullptr;
    CKLVImageManager* pImages = m_pItem->GetGridView()->GetImageManager();
    return pImages ? pImages->GetImage(static_cast<UINT>(m_nImage), 0) : nullptr;
}

CKLVPropertyGridItemConstraints::~CKLVPropertyGridItemConstraints() {
    for (CKLVPropertyGridItemConstraint* pConstraint : m_arrConstraints) pConstraint->InternalRelease();
}

void CKLVPropertyGridItemConstraints::Changed() {
    if (m_pItem) m_pItem->OnConstraintsChanged();
}

CKLVPropertyGridItemConstraint* CKLVPropertyGridItemConstraints::AddConstraint(LPCTSTR lpszConstraint, DWORD_PTR dwData,
                                                                              int nImage) {
    auto* pConstraint = new CKLVPropertyGridItemConstraint;
    pConstraint->m_strConstraint = lpszConstraint;
    pConstraint->m_dwData = dwData;
    pConstraint->m_nImage = nImage;
    pConstraint->m_nIndex = GetCount();
    pConstraint->m_pItem = m_pItem;
    m_arrConstraints.push_back(pConstraint);
    Changed();
    return pConstraint;
}

CString CKLVPropertyGridItemConstraints::GetAt(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrConstraints[nIndex]->m_strConstraint : CString();
}

CKLVPropertyGridItemConstraint* CKLVPropertyGridItemConstraints::GetConstraintAt(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrConstraints[nIndex] : nullptr;
}

int CKLVPropertyGridItemConstraints::FindConstraint(LPCTSTR lpszConstraint) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_arrConstraints[i]->m_strConstraint.CompareNoCase(lpszConstraint) == 0) return i;
    return -1;
}

void CKLVPropertyGridItemConstraints::RemoveAt(int nIndex) {
    if (nIndex < 0 || nIndex >= GetCount()) AfxThrowInvalidArgException();
    m_arrConstraints[nIndex]->InternalRelease();
    m_arrConstraints.erase(m_arrConstraints.begin() + nIndex);
    for (int i = nIndex; i < GetCount(); ++i) m_arrConstraints[i]->m_nIndex = i;
    Changed();
}

void CKLVPropertyGridItemConstraints::RemoveAll() {
    for (CKLVPropertyGridItemConstraint* pConstraint : m_arrConstraints) pConstraint->InternalRelease();
    m_arrConstraints.clear();
    Changed();
}

void CKLVPropertyGridItemConstraints::Sort() {
    std::sort(m_arrConstraints.begin(), m_arrConstraints.end(),
              [](const CKLVPropertyGridItemConstraint* a, const CKLVPropertyGridItemConstraint* b) {
                  return a->m_strConstraint.Compare(b->m_strConstraint) < 0;
              });
    for (int i = 0; i < GetCount(); ++i) m_arrConstraints[i]->m_nIndex = i;
}
