#include "toolkit/commandbars/Controls.h"

#include "toolkit/commandbars/Control.h"

CKLVControl* CKLVControls::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
    return static_cast<CKLVControl*>(m_arrControls[nIndex]);
}

CKLVControl* CKLVControls::Add(CKLVControl* pControl) {
    pControl->m_pParent = m_pParent;
    pControl->m_pControls = this;
    pControl->m_nIndex = GetCount();
    m_arrControls.Add(pControl);
    return pControl;
}

void CKLVControls::RemoveAll() {
    for (int i = 0; i < GetCount(); ++i) GetAt(i)->InternalRelease();
    m_arrControls.RemoveAll();
}
