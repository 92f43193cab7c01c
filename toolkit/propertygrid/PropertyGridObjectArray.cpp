#include "toolkit/propertygrid/PropertyGridObjectArray.h"

void CKLVPropertyGridInplaceControl::OnShow(CKLVPropertyGridItem*, CRect rcValue) {
    if (GetSafeHwnd())
        SetWindowPos(nullptr, rcValue.left, rcValue.top, rcValue.Width(), rcValue.Height(), SWP_NOZORDER | SWP_SHOWWINDOW);
}

void CKLVPropertyGridObjectArray::RemoveAll() {
    std::vector<CKLVPropertyGridInplaceControl*> arrControls;
    arrControls.swap(m_arrControls);
    for (CKLVPropertyGridInplaceControl* pControl : arrControls) pControl->InternalRelease();
}
