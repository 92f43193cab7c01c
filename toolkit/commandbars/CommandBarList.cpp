#include "toolkit/commandbars/CommandBarList.h"

#include "toolkit/commandbars/PopupBar.h"

void CKLVCommandBarList::Add(CKLVCommandBar* pBar) {
    if (!pBar || Contains(pBar)) return;
    pBar->InternalAddRef();
    m_arrBars.Add(pBar);
}

CKLVCommandBar* CKLVCommandBarList::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
    return static_cast<CKLVCommandBar*>(m_arrBars[nIndex]);
}

BOOL CKLVCommandBarList::Contains(const CKLVCommandBar* pBar) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetAt(i) == pBar) return TRUE;
    return FALSE;
}

CKLVCommandBar* CKLVCommandBarList::FindCommandBar(UINT nBarID) const {
    if (nBarID == 0) return nullptr;
    for (int i = 0; i < GetCount(); ++i)
        if (GetAt(i)->m_nBarID == nBarID) return GetAt(i);
    return nullptr;
}

void CKLVCommandBarList::RemoveAll() {
    CPtrArray bars;
    bars.Append(m_arrBars);
    m_arrBars.RemoveAll();
    for (INT_PTR i = 0; i < bars.GetSize(); ++i) static_cast<CKLVCommandBar*>(bars[i])->InternalRelease();
}

void CKLVContextMenus::Add(CKLVCommandBar* pBar) {
    CKLVCommandBarList::Add(pBar);
    if (auto* pPopupBar = DYNAMIC_DOWNCAST(CKLVPopupBar, pBar)) pPopupBar->m_bContextMenu = TRUE;
}
