#include "toolkit/commandbars/controlbase/CommandBarList.h"

#include "toolkit/commandbars/controlbase/ControlHost.h"

void CKLVCommandBarList::Add(CKLVCommandBar* pBar) {
    if (!pBar || Contains(pBar)) return;
    CKLVControlHost::Of(pBar)->AsWnd()->InternalAddRef();
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
        if (CKLVControlHost::Of(GetAt(i))->GetBarID() == nBarID) return GetAt(i);
    return nullptr;
}

void CKLVCommandBarList::RemoveAll() {
    CPtrArray bars;
    bars.Append(m_arrBars);
    m_arrBars.RemoveAll();
    for (INT_PTR i = 0; i < bars.GetSize(); ++i)
        CKLVControlHost::Of(static_cast<CKLVCommandBar*>(bars[i]))->AsWnd()->InternalRelease();
}
